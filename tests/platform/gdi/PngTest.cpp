#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <random>
#include <vector>

#include "AllocationWatch.h"
#include "gdi/Gdi.h"

namespace {

// An image in one of PNG's own layouts, encoded by libpng directly, so that the reader
// is tested on inputs the writer never makes.
struct RawImage {
  int width = 0, height = 0, colorType = PNG_COLOR_TYPE_RGB, bitDepth = 8;
  bool interlaced = false;
  std::vector<std::vector<uint8_t>> rows;
  std::vector<png_color> palette;
  std::vector<uint8_t> paletteAlpha;  // tRNS for palette images
  bool hasTransparentColor = false;
  png_color_16 transparentColor{};
};

void AppendBytes(png_structp png, png_bytep data, png_size_t n) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

bool EncodeInto(png_structp png, png_infop info, const RawImage& img, png_bytepp rows, std::vector<uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, AppendBytes, nullptr);
  png_set_IHDR(png, info, png_uint_32(img.width), png_uint_32(img.height), img.bitDepth, img.colorType,
               img.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!img.palette.empty()) png_set_PLTE(png, info, img.palette.data(), int(img.palette.size()));
  if (!img.paletteAlpha.empty())
    png_set_tRNS(png, info, img.paletteAlpha.data(), int(img.paletteAlpha.size()), nullptr);
  if (img.hasTransparentColor) png_set_tRNS(png, info, nullptr, 0, &img.transparentColor);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

RawImage Raw(int width, int height, int colorType, int bitDepth, std::vector<std::vector<uint8_t>> rows) {
  RawImage img;
  img.width = width;
  img.height = height;
  img.colorType = colorType;
  img.bitDepth = bitDepth;
  img.rows = std::move(rows);
  return img;
}

std::vector<uint8_t> Encode(RawImage img) {
  std::vector<png_bytep> rows;
  for (auto& r : img.rows) rows.push_back(r.data());
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const bool ok = EncodeInto(png, info, img, rows.data(), &out);
  png_destroy_write_struct(&png, &info);
  return ok ? out : std::vector<uint8_t>{};
}

std::vector<uint32_t> PixelsOf(const Surface& s) {
  std::vector<uint32_t> v;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x) v.push_back(s.At(x, y));
  return v;
}

// Sets a chunk's CRC again after its data was changed; chunk starts at its length field.
void FixCrc(std::vector<uint8_t>& png, size_t chunk) {
  const uint32_t len = uint32_t(png[chunk]) << 24 | uint32_t(png[chunk + 1]) << 16 | uint32_t(png[chunk + 2]) << 8 |
                       png[chunk + 3];
  const uLong crc = crc32(0, png.data() + chunk + 4, uInt(len + 4));
  for (int i = 0; i < 4; ++i) png[chunk + 8 + len + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
}

size_t FindChunk(const std::vector<uint8_t>& png, const char* type) {
  for (size_t p = 8; p + 8 <= png.size();) {
    if (std::memcmp(&png[p + 4], type, 4) == 0) return p;
    const uint32_t len = uint32_t(png[p]) << 24 | uint32_t(png[p + 1]) << 16 | uint32_t(png[p + 2]) << 8 | png[p + 3];
    p += 12 + len;
  }
  return 0;
}

void PutBigEndian(std::vector<uint8_t>& png, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) png[at + size_t(i)] = uint8_t(v >> (24 - 8 * i));
}

std::unique_ptr<Surface> SampleSurface(bool bottomUp) {
  auto p = std::make_unique<Surface>(7, 5, bottomUp);
  Surface& s = *p;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      s.At(x, y) = uint32_t((x * 37 + y * 11) & 0xFF) << 24 | uint32_t(x * 30) << 16 | uint32_t(y * 50) << 8 |
                   uint32_t((x * y * 9) & 0xFF);
  s.At(0, 0) = 0x00FF8040;  // colour under zero alpha survives: alpha is straight
  return p;
}

TEST(Png, WriteThenReadKeepsEveryByte) {
  for (bool bottomUp : {false, true}) {
    const auto sample = SampleSurface(bottomUp);
    const Surface& s = *sample;
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(WritePng(s, &bytes, &error)) << error;
    PngInfo info;
    auto back = ReadPng(bytes.data(), bytes.size(), &info, &error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(PixelsOf(*back), PixelsOf(s)) << "bottom-up " << bottomUp;
    EXPECT_EQ(info.Width, 7);
    EXPECT_EQ(info.Height, 5);
    EXPECT_EQ(info.BitDepth, 8);
    EXPECT_EQ(info.ColorType, PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_TRUE(info.HasAlpha);
  }
}

TEST(Png, WriteRefusesEmptySurface) {
  Surface empty(0, 3);
  std::vector<uint8_t> bytes;
  std::string error;
  EXPECT_FALSE(WritePng(empty, &bytes, &error));
  EXPECT_FALSE(error.empty());
}

TEST(Png, DecodesOtherLayoutsToBgra) {
  struct Case {
    const char* what;
    RawImage img;
    std::vector<uint32_t> want;
    bool hasAlpha;
  };
  RawImage palette = Raw(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {{0x19}});  // indices 0, 1, 2, 1
  palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  palette.paletteAlpha = {255, 0x80};
  RawImage gray16Key = Raw(2, 1, PNG_COLOR_TYPE_GRAY, 16, {{0x12, 0x34, 0x56, 0x78}});
  gray16Key.hasTransparentColor = true;
  gray16Key.transparentColor.gray = 0x1234;
  RawImage rgbKey = Raw(2, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3, 4, 5, 6}});
  rgbKey.hasTransparentColor = true;
  rgbKey.transparentColor.red = 4;
  rgbKey.transparentColor.green = 5;
  rgbKey.transparentColor.blue = 6;

  const Case cases[] = {
      {"palette 2-bit with tRNS", palette, {0xFFFF0000, 0x8000FF00, 0xFF0000FF, 0x8000FF00}, true},
      {"gray 8", Raw(3, 1, PNG_COLOR_TYPE_GRAY, 8, {{0, 128, 255}}), {0xFF000000, 0xFF808080, 0xFFFFFFFF}, false},
      {"gray 1", Raw(8, 1, PNG_COLOR_TYPE_GRAY, 1, {{0xA0}}),
       {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, false},
      {"gray alpha", Raw(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{100, 50, 200, 255}}), {0x32646464, 0xFFC8C8C8}, true},
      {"rgb 16", Raw(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}}), {0xFF12ABFF}, false},
      {"rgba 16", Raw(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16, {{0x80, 0x00, 0x40, 0x00, 0x20, 0x00, 0x80, 0x80}}), {0x80804020}, true},
      {"gray 16 with key", gray16Key, {0x00121212, 0xFF565656}, true},
      {"rgb with key", rgbKey, {0xFF010203, 0x00040506}, true},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> bytes = Encode(c.img);
    ASSERT_FALSE(bytes.empty()) << c.what;
    PngInfo info;
    std::string error;
    auto s = ReadPng(bytes.data(), bytes.size(), &info, &error);
    ASSERT_TRUE(s) << c.what << ": " << error;
    EXPECT_EQ(s->Width(), c.img.width) << c.what;
    EXPECT_EQ(PixelsOf(*s), c.want) << c.what;
    EXPECT_EQ(info.BitDepth, c.img.bitDepth) << c.what;
    EXPECT_EQ(info.ColorType, c.img.colorType) << c.what;
    EXPECT_EQ(info.HasAlpha, c.hasAlpha) << c.what;
  }
}

TEST(Png, InterlacedDecodesLikePlain) {
  RawImage img = Raw(5, 5, PNG_COLOR_TYPE_RGB, 8, {});
  for (int y = 0; y < 5; ++y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < 5; ++x) row.insert(row.end(), {uint8_t(x * 40), uint8_t(y * 40), uint8_t(x * y)});
    img.rows.push_back(row);
  }
  RawImage adam7 = img;
  adam7.interlaced = true;
  const auto a = Encode(img), b = Encode(adam7);
  auto plain = ReadPng(a.data(), a.size(), nullptr, nullptr);
  auto interlaced = ReadPng(b.data(), b.size(), nullptr, nullptr);
  ASSERT_TRUE(plain && interlaced);
  EXPECT_EQ(PixelsOf(*interlaced), PixelsOf(*plain));
  EXPECT_EQ(interlaced->At(3, 2), 0xFF785006u);
}

std::vector<uint8_t> SamplePng() {
  std::vector<uint8_t> bytes;
  WritePng(*SampleSurface(false), &bytes, nullptr);
  return bytes;
}

TEST(Png, TruncatedDataFailsWithMessage) {
  const std::vector<uint8_t> full = SamplePng();
  ASSERT_GT(full.size(), 60u);
  for (size_t n = 0; n < full.size(); ++n) {
    std::vector<uint8_t> cut(full.begin(), full.begin() + ptrdiff_t(n));
    std::string error;
    auto s = ReadPng(cut.data(), cut.size(), nullptr, &error);
    ASSERT_FALSE(s) << "length " << n;
    ASSERT_EQ(error.rfind("PNG: ", 0), 0u) << "length " << n << ": " << error;
    ASSERT_GT(error.size(), 5u);
  }
  std::string error;
  EXPECT_FALSE(ReadPng(nullptr, 100, nullptr, &error));
  EXPECT_FALSE(error.empty());
}

TEST(Png, CorruptedDataFailsWithMessage) {
  struct Case {
    const char* what;
    void (*corrupt)(std::vector<uint8_t>&);
    const char* message;  // part of the error, or null for any
  };
  const Case cases[] = {
      {"signature", [](std::vector<uint8_t>& p) { p[1] = 'X'; }, "not a PNG"},
      {"deflate block type", [](std::vector<uint8_t>& p) { p[FindChunk(p, "IDAT") + 10] ^= 0x55; }, nullptr},
      {"IDAT CRC",
       [](std::vector<uint8_t>& p) {
         const size_t c = FindChunk(p, "IDAT");
         p[c + 8 + (size_t(p[c + 2]) << 8 | p[c + 3])] ^= 1;  // first CRC byte (the chunk is short)
       },
       "CRC"},
      {"zlib stream with CRC fixed",
       [](std::vector<uint8_t>& p) {
         const size_t c = FindChunk(p, "IDAT");
         p[c + 8] = 0xFF;  // compression method byte
         FixCrc(p, c);
       },
       nullptr},
      {"zero width",
       [](std::vector<uint8_t>& p) {
         PutBigEndian(p, 16, 0);
         FixCrc(p, 8);
       },
       nullptr},
      {"huge size",
       [](std::vector<uint8_t>& p) {
         PutBigEndian(p, 16, 60000);
         PutBigEndian(p, 20, 60000);
         FixCrc(p, 8);
       },
       "too large"},
      {"colour type 5",
       [](std::vector<uint8_t>& p) {
         p[25] = 5;
         FixCrc(p, 8);
       },
       nullptr},
      {"IDAT removed",
       [](std::vector<uint8_t>& p) {
         const size_t c = FindChunk(p, "IDAT");
         std::memcpy(&p[c + 4], "zzzz", 4);
         FixCrc(p, c);
       },
       nullptr},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = SamplePng();
    c.corrupt(bytes);
    std::string error;
    EXPECT_FALSE(ReadPng(bytes.data(), bytes.size(), nullptr, &error)) << c.what;
    EXPECT_EQ(error.rfind("PNG: ", 0), 0u) << c.what << ": " << error;
    if (c.message) {
      EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
  }
}

// A PNG made of the given chunks, each with its length and CRC.
std::vector<uint8_t> PngOfChunks(const std::vector<std::pair<std::string, std::vector<uint8_t>>>& chunks) {
  std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const auto& [type, data] : chunks) {
    const size_t at = png.size();
    png.resize(at + 12 + data.size());
    PutBigEndian(png, at, uint32_t(data.size()));
    std::memcpy(&png[at + 4], type.data(), 4);
    if (!data.empty()) std::memcpy(&png[at + 8], data.data(), data.size());
    FixCrc(png, at);
  }
  return png;
}

std::vector<uint8_t> Header(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colorType) {
  std::vector<uint8_t> ihdr(13, 0);
  for (int i = 0; i < 4; ++i) {
    ihdr[size_t(i)] = uint8_t(width >> (24 - 8 * i));
    ihdr[size_t(4 + i)] = uint8_t(height >> (24 - 8 * i));
  }
  ihdr[8] = bitDepth;
  ihdr[9] = colorType;
  return ihdr;
}

std::vector<uint8_t> Deflated(size_t zeros) {
  const std::vector<uint8_t> raw(zeros, 0);
  uLongf size = compressBound(uLong(raw.size()));
  std::vector<uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), uLong(raw.size()), 9);
  out.resize(size);
  return out;
}

// A file of a few dozen bytes whose header claims 65536 x 1024 pixels is refused before
// memory for its pixels is taken: no deflate stream that short holds so many rows.
TEST(Png, ImageLargerThanItsDataCanHoldIsRefusedBeforeAllocating) {
  struct Case {
    const char* What;
    uint32_t Width, Height;
    uint8_t BitDepth, ColorType;
  };
  const Case cases[] = {
      {"RGBA 65536 x 1024", 65536, 1024, 8, PNG_COLOR_TYPE_RGB_ALPHA},
      {"1-bit grey 65536 x 1024", 65536, 1024, 1, PNG_COLOR_TYPE_GRAY},
      {"1-bit grey 4096 x 4096", 4096, 4096, 1, PNG_COLOR_TYPE_GRAY},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = PngOfChunks({{"IHDR", Header(c.Width, c.Height, c.BitDepth, c.ColorType)},
                                                   {"IDAT", Deflated(1000)},
                                                   {"IEND", {}}});
    EXPECT_LT(file.size(), 80u) << c.What;
    std::string error;
    std::unique_ptr<Surface> image;
    const std::optional<size_t> largest =
        LargestAllocation([&] { image = ReadPng(file.data(), file.size(), nullptr, &error); });
    EXPECT_FALSE(image) << c.What;
    EXPECT_EQ(error, "PNG: the image data is too short for the image's size") << c.What;
    if (largest) {
      EXPECT_LT(*largest, size_t(1) << 20) << c.What;
    }
  }
}

// The bound is what deflate can do at best, so the most compressible images still read:
// all-zero rows packed near deflate's limit of 1032 : 1, plain and interlaced.
TEST(Png, MostCompressibleImagesStillRead) {
  for (bool interlaced : {false, true}) {
    RawImage img = Raw(4096, 512, PNG_COLOR_TYPE_GRAY, 1, {});
    img.rows.assign(512, std::vector<uint8_t>(512, 0));
    img.interlaced = interlaced;
    const std::vector<uint8_t> bytes = Encode(img);
    ASSERT_FALSE(bytes.empty());
    const size_t idat = FindChunk(bytes, "IDAT");
    ASSERT_NE(idat, 0u);
    const uint32_t idatLength = uint32_t(bytes[idat]) << 24 | uint32_t(bytes[idat + 1]) << 16 |
                                uint32_t(bytes[idat + 2]) << 8 | bytes[idat + 3];
    EXPECT_GT(512.0 * 513.0 / idatLength, 900.0) << "rows packed near the limit";
    std::string error;
    auto s = ReadPng(bytes.data(), bytes.size(), nullptr, &error);
    ASSERT_TRUE(s) << error;
    EXPECT_EQ(s->Width(), 4096);
    EXPECT_EQ(s->At(4095, 511), 0xFF000000u);
  }
}

TEST(Png, RandomDamageNeverCrashes) {
  const std::vector<uint8_t> good = SamplePng();
  std::mt19937 rng(11);
  for (int round = 0; round < 1500; ++round) {
    std::vector<uint8_t> bytes = good;
    for (int k = 0, n = 1 + int(rng() % 4); k < n; ++k) bytes[8 + rng() % (bytes.size() - 8)] = uint8_t(rng());
    // Half of the rounds keep the chunk CRCs right so the damage reaches the decoder.
    if (round % 2)
      for (size_t c = 8; c + 12 <= bytes.size();) {
        const uint32_t len = uint32_t(bytes[c]) << 24 | uint32_t(bytes[c + 1]) << 16 | uint32_t(bytes[c + 2]) << 8 |
                             bytes[c + 3];
        if (len > bytes.size() - c - 12) break;
        FixCrc(bytes, c);
        c += 12 + len;
      }
    std::string error;
    auto s = ReadPng(bytes.data(), bytes.size(), nullptr, &error);
    if (!s) {
      ASSERT_FALSE(error.empty());
    }
  }
}

}  // namespace
