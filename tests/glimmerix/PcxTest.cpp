// The PCX reader: files built here byte by byte (run-length encoded and raw, the
// 256-colour palette at the end and the 16 system colours of version 3) decoded to known
// pixels, and truncated or lying files refused without touching the bitmap.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gx_bitmap.h"

namespace {

struct PcxHeader {
  uint8_t Manufacturer = 10;
  uint8_t Version = 5;
  uint8_t Encoding = 1;
  uint8_t BitsPerPixel = 8;
  uint16_t XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  uint8_t Planes = 1;
  uint16_t BytesPerLine = 0;
};

TBytes HeaderBytes(const PcxHeader& h) {
  TBytes b(128, 0);
  b[0] = h.Manufacturer;
  b[1] = h.Version;
  b[2] = h.Encoding;
  b[3] = h.BitsPerPixel;
  auto put16 = [&](size_t at, uint16_t v) {
    b[at] = uint8_t(v);
    b[at + 1] = uint8_t(v >> 8);
  };
  put16(4, h.XMin);
  put16(6, h.YMin);
  put16(8, h.XMax);
  put16(10, h.YMax);
  b[65] = h.Planes;
  put16(66, h.BytesPerLine);
  return b;
}

// Palette entry i: red i, green 255 - i, blue 7 * i mod 256.
TgxColor PaletteColor(int i) {
  return 0xFF000000u | TgxColor(i << 16) | TgxColor((255 - i) << 8) | TgxColor((7 * i) % 256);
}

TBytes PaletteBytes(uint8_t marker = 12) {
  TBytes b{marker};
  for (int i = 0; i < 256; ++i) {
    b.push_back(uint8_t(i));
    b.push_back(uint8_t(255 - i));
    b.push_back(uint8_t((7 * i) % 256));
  }
  return b;
}

TBytes Pcx(const PcxHeader& h, const TBytes& data, const TBytes& palette = PaletteBytes()) {
  TBytes b = HeaderBytes(h);
  b.insert(b.end(), data.begin(), data.end());
  b.insert(b.end(), palette.begin(), palette.end());
  return b;
}

void Load(TgxBitmap& b, const TBytes& bytes) {
  TBytesStream stream(bytes);
  b.LoadFromPcxStream(&stream);
}

void ExpectIndexes(const TgxBitmap& b, int w, int h, const std::vector<int>& indexes,
                   TgxColor (*color)(int) = PaletteColor) {
  ASSERT_EQ(b.Width(), w);
  ASSERT_EQ(b.Height(), h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) EXPECT_EQ(b.GetPixel(x, y), color(indexes[size_t(y * w + x)])) << x << "," << y;
}

TEST(Pcx, RunLengthEncodedWith256Colours) {
  // 3 x 2 in rows of 4 bytes (one padding byte each); index 200 is above 191, so even a
  // single one is written as a run.
  PcxHeader h;
  h.XMin = 10;
  h.XMax = 12;
  h.YMin = 5;
  h.YMax = 6;
  h.BytesPerLine = 4;
  const TBytes data{0xC3, 1, 0, /* row 2 */ 2, 0xC1, 200, 7, 0};
  TgxBitmap b;
  Load(b, Pcx(h, data));
  ExpectIndexes(b, 3, 2, {1, 1, 1, 2, 200, 7});
}

TEST(Pcx, RunsMayCrossRowsAndZeroRunsAreEmpty) {
  PcxHeader h;
  h.XMax = 1;
  h.YMax = 2;
  h.BytesPerLine = 2;
  const TBytes data{0xC0, 99, 0xC3, 9, 0xC0, 1, 4, 0xC1, 5, 0};
  TgxBitmap b;
  Load(b, Pcx(h, data));
  ExpectIndexes(b, 2, 3, {9, 9, 9, 4, 5, 0});
}

TEST(Pcx, RawDataAndExtraPlanes) {
  PcxHeader h;
  h.Encoding = 0;
  h.XMax = 1;
  h.YMax = 1;
  h.BytesPerLine = 2;
  h.Planes = 2;  // rows of 4 bytes, the first 2 are the picture's indexes
  const TBytes data{200, 201, 77, 77, 250, 0, 77, 77};
  TgxBitmap b;
  Load(b, Pcx(h, data));
  ExpectIndexes(b, 2, 2, {200, 201, 250, 0});
}

TgxColor SystemColor(int i) {
  static const TgxColor colors[16] = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                      0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                      0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return i < 16 ? colors[i] : 0xFF000000;
}

TEST(Pcx, Version3UsesTheSixteenSystemColours) {
  PcxHeader h;
  h.Version = 3;
  h.XMax = 3;
  h.YMax = 0;
  h.BytesPerLine = 4;
  // No palette at the end: the file ends with the data.
  TgxBitmap b;
  Load(b, Pcx(h, {9, 0xC1, 15, 7, 20}, {}));
  ExpectIndexes(b, 4, 1, {9, 15, 7, 20}, SystemColor);
}

TEST(Pcx, WhatIsNotAnEightBitPcxLeavesTheBitmapAlone) {
  PcxHeader fourBits;
  fourBits.BitsPerPixel = 4;
  fourBits.XMax = 1;
  fourBits.BytesPerLine = 2;
  const TBytes cases[] = {{}, {0, 1, 2}, Pcx(fourBits, {0, 0})};
  for (const TBytes& bytes : cases) {
    TgxBitmap b;
    b.SetSize(2, 2);
    b.Clear(0x12345678);
    EXPECT_NO_THROW(Load(b, bytes));
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.GetPixel(1, 1), 0x12345678u);
  }
}

struct BadPcx {
  const char* What;
  TBytes Bytes;
};

TEST(Pcx, LyingOrTruncatedFilesAreRefused) {
  PcxHeader ok;
  ok.XMax = 2;
  ok.YMax = 1;
  ok.BytesPerLine = 4;
  const TBytes data{0xC4, 3, 0xC4, 4};
  auto header = [&](auto change) {
    PcxHeader h = ok;
    change(h);
    return h;
  };
  TBytes truncatedHeader = HeaderBytes(ok);
  truncatedHeader.resize(60);
  const BadPcx cases[] = {
      {"header cut short", truncatedHeader},
      {"right edge before the left", Pcx(header([](PcxHeader& h) { h.XMin = 5; }), data)},
      {"bottom before the top", Pcx(header([](PcxHeader& h) { h.YMin = 2; }), data)},
      {"rows shorter than the width", Pcx(header([](PcxHeader& h) { h.BytesPerLine = 2; }), data)},
      {"no planes", Pcx(header([](PcxHeader& h) { h.Planes = 0; }), data)},
      {"palette marker missing", Pcx(ok, data, PaletteBytes(0))},
      {"file too short for a palette", Pcx(ok, data, {12, 1, 2, 3})},
      {"run count without its value", Pcx(ok, {0xC4, 3, 0xC4}, PaletteBytes())},
      {"fewer rows than the height", Pcx(ok, {0xC4, 3}, PaletteBytes())},
      {"raw data too short", Pcx(header([](PcxHeader& h) { h.Encoding = 0; }), {1, 2, 3, 4, 5, 6, 7})},
      {"huge size and little data", Pcx(header([](PcxHeader& h) {
                                          h.XMax = 65535;
                                          h.YMax = 65535;
                                          h.BytesPerLine = 65535;
                                        }),
                                        data)},
      {"version 3 data missing", Pcx(header([](PcxHeader& h) { h.Version = 3; }), {}, {})},
  };
  for (const BadPcx& c : cases) {
    TgxBitmap b;
    b.SetSize(2, 2);
    b.Clear(0x12345678);
    try {
      Load(b, c.Bytes);
      ADD_FAILURE() << c.What << ": no exception";
    } catch (const EgxStreamError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid PCX image: ", 0), 0u) << c.What << ": " << e.what();
    }
    EXPECT_EQ(b.Width(), 2) << c.What;
    EXPECT_EQ(b.GetPixel(1, 1), 0x12345678u) << c.What;
  }
  // The same header with its data is fine.
  TgxBitmap b;
  Load(b, Pcx(ok, data));
  ExpectIndexes(b, 3, 2, {3, 3, 3, 4, 4, 4});
}

}  // namespace
