#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/gdi/AllocationWatch.h"
#include "vcl/Graphics.h"

namespace {

uint32_t* Row(TBitmap& b, int y) { return static_cast<uint32_t*>(b.ScanLine(y)); }

// Fills a 32-bit bitmap with a pattern that tells every pixel apart.
void Pattern(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) Row(b, y)[x] = 0xFF000000u | uint32_t(y << 8) | uint32_t(x);
}

TBitmap* Opaque32(int w, int h) {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  return b;
}

TEST(Bitmap, ScanLinesAreRowsTopDownInOneBlock) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(5, 4);
  Pattern(b);
  for (int y = 0; y < 4; ++y) EXPECT_EQ(b.Canvas()->Pixels(2, y), TColor(RGB(0, BYTE(y), 2))) << y;
  EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(1)) - static_cast<uint8_t*>(b.ScanLine(0)), 5 * 4);
  EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(3)) - static_cast<uint8_t*>(b.ScanLine(0)), 3 * 5 * 4);
  for (int bad : {-1, 4}) {
    try {
      b.ScanLine(bad);
      ADD_FAILURE() << bad;
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_EQ(e.Message(), "Scan line index out of range");
    }
  }
  EXPECT_EQ(b.HandleType(), bmDIB);
  BITMAP info;
  ASSERT_NE(GetObject(b.Handle(), int(sizeof info), &info), 0);
  EXPECT_EQ(info.bmWidth, 5);
  EXPECT_EQ(info.bmBitsPixel, 32);
}

TEST(Bitmap, SetSizeKeepsTheTopLeftPart) {
  struct Case {
    TPixelFormat format;
    uint32_t fresh;  // what new pixels hold
  };
  for (const Case& c : {Case{pf32bit, 0x00000000u}, Case{pf24bit, 0xFFFFFFFFu}, Case{pfDevice, 0xFFFFFFFFu}}) {
    TBitmap b;
    b.SetPixelFormat(c.format);
    b.SetSize(4, 3);
    Pattern(b);
    b.SetSize(6, 5);
    EXPECT_EQ(Row(b, 2)[3], 0xFF000203u) << c.format;
    EXPECT_EQ(Row(b, 0)[5], c.fresh) << c.format;
    EXPECT_EQ(Row(b, 4)[0], c.fresh) << c.format;
    b.SetWidth(2);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(Row(b, 1)[1], 0xFF000101u) << c.format;
    b.SetHeight(0);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Width(), 2);
  }
}

TEST(Bitmap, HugeSizesAreRefusedAndLeaveThePicture) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(3, 3);
  Pattern(b);
  EXPECT_THROW(b.SetSize(100000, 100000), EOutOfResources);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(Row(b, 2)[2], 0xFF000202u);
  b.SetSize(-5, 2);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_TRUE(b.Empty());
}

TEST(Bitmap, AlphaFormatPremultipliesAndBack) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(4, 1);
  uint32_t* p = Row(b, 0);
  p[0] = 0x80FF4000u;
  p[1] = 0x00FFFFFFu;
  p[2] = 0xFF123456u;
  p[3] = 0x40FFFFFFu;
  b.SetAlphaFormat(afDefined);  // the same bytes, now meant as straight alpha
  EXPECT_EQ(p[0], 0x80FF4000u);
  b.SetAlphaFormat(afPremultiplied);
  EXPECT_EQ(p[0], 0x80802000u);  // MulDiv(255, 128, 255) = 128, MulDiv(64, 128, 255) = 32
  EXPECT_EQ(p[1], 0x00000000u);
  EXPECT_EQ(p[2], 0xFF123456u);
  EXPECT_EQ(p[3], 0x40404040u);
  b.SetAlphaFormat(afIgnored);
  EXPECT_EQ(p[0], 0x80FF4000u);  // MulDiv(32, 255, 128) = 64 (63.75)
  EXPECT_EQ(p[1], 0x00000000u);  // alpha 0 keeps no colour
  EXPECT_EQ(p[3], 0x40FFFFFFu);
}

TEST(Bitmap, PixelFormatChangesKeepColours) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 1);
  Row(b, 0)[0] = 0x20112233u;
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(Row(b, 0)[0], 0xFF112233u);  // opaque now
  EXPECT_EQ(b.HandleType(), bmDIB);
  b.SetPixelFormat(pf8bit);
  EXPECT_EQ(b.PixelFormat(), pf24bit);  // every opaque format is kept as 24-bit
  b.SetHandleType(bmDDB);
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(Row(b, 0)[0], 0xFF112233u);
}

// Draws src at (0, 0) onto an opaque 2 x 1 bitmap filled with `ground` and answers its
// pixels.
std::vector<uint32_t> DrawnOn(uint32_t ground, TBitmap& src, int opacity = -1) {
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(2, 1);
  Row(dst, 0)[0] = Row(dst, 0)[1] = ground;
  if (opacity < 0)
    dst.Canvas()->Draw(0, 0, &src);
  else
    dst.Canvas()->Draw(0, 0, &src, uint8_t(opacity));
  return {Row(dst, 0)[0], Row(dst, 0)[1]};
}

TEST(Bitmap, DrawingHonoursTheAlphaFormat) {
  struct Case {
    const char* what;
    TAlphaFormat format;
    uint32_t p0, p1;  // source pixels
    uint32_t d0, d1;  // expected on mid grey
    int opacity;
  };
  // Over grey 128: red 128 + 128 * 127 / 255 = 192, green and blue 64.
  const Case cases[] = {
      {"premultiplied", afPremultiplied, 0x80800000u, 0x00000000u, 0xFFC04040u, 0xFF808080u, -1},
      // The same red given straight: premultiplied on a copy first.
      {"defined", afDefined, 0x80FF0000u, 0x00000000u, 0xFFC04040u, 0xFF808080u, -1},
      // Alpha ignored: a plain copy of the colours.
      {"ignored", afIgnored, 0x80FF0000u, 0x0000FF00u, 0xFFFF0000u, 0xFF00FF00u, -1},
      // A constant opacity on an opaque picture.
      {"opacity", afIgnored, 0xFFFF0000u, 0xFF0000FFu, 0xFFC04040u, 0xFF4040C0u, 128},
      // Both: the pixel's alpha and the constant multiply.
      {"both", afPremultiplied, 0x80800000u, 0xFF0000FFu, 0xFFA06060u, 0xFF4040C0u, 128},
  };
  for (const Case& c : cases) {
    TBitmap src;
    src.SetPixelFormat(pf32bit);
    src.SetSize(2, 1);
    // The format first, so that the pixels are taken as they are.
    src.SetAlphaFormat(c.format);
    Row(src, 0)[0] = c.p0;
    Row(src, 0)[1] = c.p1;
    const std::vector<uint32_t> got = DrawnOn(0xFF808080u, src, c.opacity);
    EXPECT_EQ(got[0] | 0xFF000000u, c.d0) << c.what;
    EXPECT_EQ(got[1] | 0xFF000000u, c.d1) << c.what;
    EXPECT_EQ(Row(src, 0)[0], c.p0) << c.what << ": the source is left as it was";
  }
}

TEST(Bitmap, TransparentDrawingLeavesTheKeyColourOut) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 1);
  src.Canvas()->SetPixels(0, 0, clFuchsia);
  src.Canvas()->SetPixels(1, 0, clBlue);
  src.SetTransparent(true);
  src.SetTransparentColor(clFuchsia);
  EXPECT_EQ(src.TransparentMode(), tmFixed);
  std::vector<uint32_t> got = DrawnOn(0xFFFFFFFFu, src);
  EXPECT_EQ(got[0], 0xFFFFFFFFu);
  EXPECT_EQ(got[1], 0xFF0000FFu);

  // Automatic mode takes the bottom-left pixel.
  src.SetTransparentMode(tmAuto);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);
  src.Canvas()->SetPixels(0, 0, clRed);
  EXPECT_EQ(src.TransparentColor(), clRed);
}

TEST(Bitmap, AssignCopiesPixelsAndSettings) {
  TBitmap a;
  a.SetPixelFormat(pf32bit);
  a.SetSize(3, 2);
  Pattern(a);
  a.SetAlphaFormat(afDefined);
  a.SetTransparent(true);
  TBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.AlphaFormat(), afDefined);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(Row(b, 1)[2], 0xFF000102u);
  Row(b, 1)[2] = 0;
  EXPECT_EQ(Row(a, 1)[2], 0xFF000102u);  // a copy, not shared
  b.Assign(nullptr);
  EXPECT_TRUE(b.Empty());
  TFont font;
  EXPECT_THROW(b.Assign(&font), EConvertError);
}

TEST(Bitmap, HandlesCanBeAdoptedAndGivenAway) {
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = 3;
  bi.bmiHeader.biHeight = -2;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  static_cast<uint32_t*>(bits)[4] = 0x80112233u;
  TBitmap b;
  b.SetHandle(h);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(b.Width(), 3);
  EXPECT_EQ(Row(b, 1)[1], 0x80112233u);
  b.Canvas()->SetPixels(0, 0, clRed);  // the canvas draws on the adopted pixels
  EXPECT_EQ(static_cast<uint32_t*>(bits)[0] & 0xFFFFFFu, 0xFF0000u);
  HBITMAP back = b.ReleaseHandle();
  EXPECT_EQ(back, h);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(DeleteObject(back), TRUE);  // deselected from the canvas, so deleted at once
  EXPECT_THROW(b.SetHandle(reinterpret_cast<HBITMAP>(&bi)), EInvalidGraphic);
}

TEST(Bitmap, BmpRoundTrips) {
  for (TPixelFormat format : {pf32bit, pf24bit}) {
    std::unique_ptr<TBitmap> a(Opaque32(3, 2));  // width 3: 24-bit rows need padding
    Pattern(*a);
    Row(*a, 0)[0] = 0x40102030u;
    a->SetPixelFormat(format);
    TMemoryStream stream;
    a->SaveToStream(&stream);
    const int stride = 12;  // 3 * 4, or 3 * 3 padded to 12
    EXPECT_EQ(stream.Size(), 54 + stride * 2) << format;
    stream.WriteBuffer("tail", 4);  // whatever follows is not read
    stream.SetPosition(0);
    TBitmap b;
    b.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), 54 + stride * 2);
    EXPECT_EQ(b.PixelFormat(), format);
    ASSERT_EQ(b.Width(), 3);
    ASSERT_EQ(b.Height(), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(Row(b, y)[x], Row(*a, y)[x]) << format << " " << x << "," << y;
    EXPECT_EQ(Row(b, 0)[0], format == pf32bit ? 0x40102030u : 0xFF102030u);
  }
}

// A little-endian BMP file put together by hand.
class BmpBuilder {
 public:
  BmpBuilder& U16(uint16_t v) {
    FBytes.push_back(uint8_t(v));
    FBytes.push_back(uint8_t(v >> 8));
    return *this;
  }
  BmpBuilder& U32(uint32_t v) {
    U16(uint16_t(v));
    return U16(uint16_t(v >> 16));
  }
  BmpBuilder& Bytes(std::initializer_list<uint8_t> b) {
    FBytes.insert(FBytes.end(), b);
    return *this;
  }
  // File and info headers for a palette picture.
  BmpBuilder& Headers(int32_t w, int32_t h, uint16_t bits, uint32_t colors, uint32_t dataSize) {
    const uint32_t off = 14 + 40 + colors * 4;
    Bytes({'B', 'M'}).U32(off + dataSize).U32(0).U32(off);
    return U32(40)
        .U32(uint32_t(w))
        .U32(uint32_t(h))
        .U16(1)
        .U16(bits)
        .U32(0)
        .U32(dataSize)
        .U32(0)
        .U32(0)
        .U32(colors)
        .U32(0);
  }
  TBytes Result() const { return FBytes; }

 private:
  TBytes FBytes;
};

TEST(Bitmap, ReadsPalettePictures) {
  // 8 bits, 2 x 2, bottom-up: the first row in the file is the bottom one.
  BmpBuilder b8;
  b8.Headers(2, 2, 8, 2, 8).Bytes({0, 0, 255, 0, 255, 0, 0, 0});  // palette: red, blue
  b8.Bytes({1, 0, 0, 0, 0, 1, 0, 0});
  TBytesStream s8(b8.Result());
  TBitmap bmp;
  bmp.LoadFromStream(&s8);
  EXPECT_EQ(bmp.PixelFormat(), pf24bit);
  EXPECT_EQ(Row(bmp, 0)[0], 0xFFFF0000u);  // top row: red, blue
  EXPECT_EQ(Row(bmp, 0)[1], 0xFF0000FFu);
  EXPECT_EQ(Row(bmp, 1)[0], 0xFF0000FFu);

  // 1 bit, 3 x 1, top-down (negative height): bits 1, 0, 1.
  BmpBuilder b1;
  b1.Headers(3, -1, 1, 2, 4).Bytes({0, 0, 0, 0, 255, 255, 255, 0}).Bytes({0xA0, 0, 0, 0});
  TBytesStream s1(b1.Result());
  bmp.LoadFromStream(&s1);
  EXPECT_EQ(Row(bmp, 0)[0], 0xFFFFFFFFu);
  EXPECT_EQ(Row(bmp, 0)[1], 0xFF000000u);
  EXPECT_EQ(Row(bmp, 0)[2], 0xFFFFFFFFu);
}

TEST(Bitmap, BadFilesAreRefusedClearly) {
  BmpBuilder good;
  good.Headers(2, 2, 8, 2, 8).Bytes({0, 0, 255, 0, 255, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0});
  const TBytes valid = good.Result();
  std::vector<TBytes> bad;
  bad.push_back(TBytes{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // not a BMP
  bad.push_back(TBytes(valid.begin(), valid.begin() + 30));                         // header cut
  bad.push_back(TBytes(valid.begin(), valid.end() - 3));                            // pixels cut
  BmpBuilder huge;
  huge.Headers(1 << 20, 1 << 20, 32, 0, 16);
  bad.push_back(huge.Result());
  BmpBuilder depth;
  depth.Headers(2, 2, 7, 0, 16).Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  bad.push_back(depth.Result());
  for (size_t i = 0; i < bad.size(); ++i) {
    TBytesStream s(bad[i]);
    TBitmap bmp;
    try {
      bmp.LoadFromStream(&s);
      ADD_FAILURE() << "case " << i;
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), "Bitmap image is not valid") << "case " << i;
    }
    EXPECT_TRUE(bmp.Empty());
  }
  // Nothing left to read: an empty picture.
  TMemoryStream empty;
  TBitmap bmp(2, 2);
  bmp.LoadFromStream(&empty);
  EXPECT_TRUE(bmp.Empty());
}

// A header that asks for up to the largest picture the drawing layer takes, followed by a
// few bytes: refused before memory for the pixels is taken.
TEST(Bitmap, PictureLargerThanItsDataIsRefusedBeforeAllocating) {
  struct Case {
    int32_t Width, Height;
    uint16_t Bits;
    uint32_t Colors;
  };
  const Case cases[] = {{16384, 16384, 32, 0}, {16384, -16384, 24, 0}, {16384, 16384, 1, 2}};
  for (const Case& c : cases) {
    BmpBuilder b;
    b.Headers(c.Width, c.Height, c.Bits, c.Colors, 0);
    for (uint32_t i = 0; i < c.Colors; ++i) b.U32(0x00FFFFFFu * i);
    b.Bytes({1, 2, 3, 4, 5, 6, 7, 8});
    TBytesStream s(b.Result());
    TBitmap bmp;
    bool refused = false;
    const std::optional<size_t> largest = LargestAllocation([&] {
      try {
        bmp.LoadFromStream(&s);
      } catch (const EInvalidGraphic& e) {
        refused = e.Message() == "Bitmap image is not valid";
      }
    });
    EXPECT_TRUE(refused) << c.Bits << " bits";
    if (largest) {
      EXPECT_LT(*largest, size_t(1) << 20) << c.Bits << " bits";
    }
  }
}

}  // namespace
