// TgxBitmap: size and its failures, the DC the platform paints into, pixel access, the
// alpha checks, conversion from and to the framework's pictures, flipping, reflections
// and colour changes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gx_bitmap.h"
#include "vcl/Graphics.h"

namespace {

// Every pixel tells where it is: blue = x, green = y, opaque.
void FillWithCoordinates(TgxBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, 0xFF000000u | TgxColor(y << 8) | TgxColor(x));
}

std::vector<TgxColor> PixelsOf(const TgxBitmap& b) {
  return std::vector<TgxColor>(b.Bits(), b.Bits() + size_t(b.Width()) * size_t(b.Height()));
}

struct SizeCase {
  int W, H, WantW, WantH;
};

TEST(GxBitmap, SetSizeTakesMagnitudesAndIgnoresZero) {
  const SizeCase cases[] = {{-5, 3, 5, 3}, {4, -2, 4, 2}, {0, 10, 0, 0}, {7, 0, 0, 0}, {1, 1, 1, 1}};
  for (const SizeCase& c : cases) {
    TgxBitmap b;
    b.SetSize(c.W, c.H);
    EXPECT_EQ(b.Width(), c.WantW) << c.W << "x" << c.H;
    EXPECT_EQ(b.Height(), c.WantH) << c.W << "x" << c.H;
    EXPECT_EQ(b.Empty(), c.WantW == 0);
    EXPECT_EQ(b.DC() != nullptr, c.WantW != 0);
  }
}

TEST(GxBitmap, ResizingKeepsPixelsOnlyAtTheSameSize) {
  TgxBitmap b;
  b.SetSize(3, 2);
  for (TgxColor p : PixelsOf(b)) EXPECT_EQ(p, 0u);
  b.Clear(0x80402010);
  b.SetSize(-3, 2);
  for (TgxColor p : PixelsOf(b)) EXPECT_EQ(p, 0x80402010u);
  b.SetSize(0, 5);
  EXPECT_EQ(b.Width(), 3);
  b.SetSize(2, 3);
  EXPECT_EQ(b.Width(), 2);
  for (TgxColor p : PixelsOf(b)) EXPECT_EQ(p, 0u);
}

TEST(GxBitmap, SizeBeyondMemoryRaisesAndLeavesAnEmptyUsableBitmap) {
  TgxBitmap b;
  b.SetSize(4, 4);
  b.SetName("kept");
  try {
    b.SetSize(100000, 100000);
    FAIL() << "no exception";
  } catch (const EgxBitmapError& e) {
    EXPECT_STREQ(e.what(), "Can't allocate the DIB handle");
  }
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.DC(), nullptr);
  EXPECT_EQ(b.Name(), "kept");
  b.SetSize(2, 2);
  b.SetPixel(1, 1, 7);
  EXPECT_EQ(b.GetPixel(1, 1), 7u);
}

TEST(GxBitmap, PixelAccessStaysInside) {
  TgxBitmap empty;
  EXPECT_EQ(empty.GetPixel(0, 0), 0u);
  empty.SetPixel(0, 0, 1);

  TgxBitmap b;
  b.SetSize(3, 2);
  b.Clear(0xFF112233);
  const std::vector<TgxColor> before = PixelsOf(b);
  const POINT outside[] = {{3, 0}, {0, 2}, {-1, 0}, {0, -1}, {3, 2}};
  for (POINT p : outside) {
    EXPECT_EQ(b.GetPixel(p.X, p.Y), 0u) << p.X << "," << p.Y;
    b.SetPixel(p.X, p.Y, 0xDEADBEEF);
  }
  EXPECT_EQ(PixelsOf(b), before);
  b.SetPixel(2, 1, 0xDEADBEEF);
  EXPECT_EQ(b.GetPixel(2, 1), 0xDEADBEEFu);
  EXPECT_EQ(*b.GetPixelPtr(2, 1), 0xDEADBEEFu);
  EXPECT_EQ(b.GetScanLine(1), b.Bits() + 3);
}

TEST(GxBitmap, ThePlatformPaintsIntoTheBitmapThroughItsDC) {
  TgxBitmap b;
  b.SetSize(6, 4);
  TCanvas* canvas = b.Canvas();
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect({1, 1, 3, 2});
  EXPECT_EQ(b.GetPixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixel(2, 1), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixel(3, 1), 0u);
  EXPECT_EQ(b.GetPixel(1, 0), 0u);

  // The canvas follows the bitmap to its new DC.
  b.SetSize(2, 2);
  canvas->Brush()->SetColor(clBlue);
  canvas->FillRect({0, 0, 1, 1});
  EXPECT_EQ(b.GetPixel(0, 0), 0xFF0000FFu);
}

TEST(GxBitmap, TheDCListKnowsWhichBitmapOwnsADC) {
  auto b = std::make_unique<TgxBitmap>();
  EXPECT_EQ(TgxBitmap::FromDC(nullptr), nullptr);
  b->SetSize(2, 2);
  HDC first = b->DC();
  EXPECT_EQ(TgxBitmap::FromDC(first), b.get());
  b->SetSize(3, 3);
  EXPECT_EQ(TgxBitmap::FromDC(b->DC()), b.get());
  if (b->DC() != first) {
    EXPECT_EQ(TgxBitmap::FromDC(first), nullptr);
  }
  HDC last = b->DC();
  b.reset();
  EXPECT_EQ(TgxBitmap::FromDC(last), nullptr);
}

TEST(GxBitmap, SetAlphaWholeAndInARectangle) {
  TgxBitmap b;
  b.SetAlpha(9);  // nothing to do while empty
  b.SetSize(3, 2);
  b.Clear(0x10203040);
  b.SetAlpha(0x77, {2, 1, 2, 5});  // no width: nothing
  b.SetAlpha(0x77, {1, -3, 9, 1});
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{0x10203040, 0x77203040, 0x77203040, 0x10203040, 0x10203040,
                                                0x10203040}));
  b.SetAlpha(0xFF);
  for (TgxColor p : PixelsOf(b)) EXPECT_EQ(p, 0xFF203040u);
}

TEST(GxBitmap, CheckRGBALowersColoursToAlpha) {
  TgxBitmap b;
  b.SetSize(3, 1);
  b.SetPixel(0, 0, 0x80FF4090);
  b.SetPixel(1, 0, 0x00FFFFFF);
  b.SetPixel(2, 0, 0xFF123456);
  b.CheckRGBA();
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{0x80804080, 0x00000000, 0xFF123456}));
}

TEST(GxBitmap, CheckingAlphaBlendLooksForPartialAlpha) {
  struct Case {
    TgxColor A, B;
    bool Want;
  } cases[] = {{0xFF000000, 0x00FFFFFF, false}, {0xFF000000, 0xFE000000, true}, {0x01000000, 0x00000000, true}};
  for (const Case& c : cases) {
    TgxBitmap b;
    b.SetSize(2, 1);
    b.SetPixel(0, 0, c.A);
    b.SetPixel(1, 0, c.B);
    b.SetAlphaBlend(!c.Want);
    b.CheckingAlphaBlend({0, 0, 1, 1});  // the rectangle does not limit the scan
    EXPECT_EQ(b.AlphaBlend(), c.Want) << std::hex << c.A << " " << c.B;
  }
}

TEST(GxBitmap, CheckingTransparentTurnsNearColoursIntoTheKey) {
  TgxBitmap b;
  b.SetSize(4, 1);
  b.SetPixel(0, 0, 0xFFFA05FA);  // red 250, green 5, blue 250: every difference below 6
  b.SetPixel(1, 0, 0xFFF905FA);  // red 249: 6 away
  b.SetPixel(2, 0, 0x00FF00FF);
  b.SetPixel(3, 0, 0xFFFF00F9);
  b.CheckingTransparent(0xFF00FF);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{gxKeyColor, 0xFFF905FA, gxKeyColor, 0xFFFF00F9}));

  b.Clear(0xFF000000);
  b.CheckingTransparent(0xFF00FF, {0, 0, 1, 1});
  EXPECT_FALSE(b.Transparent());
}

// ---- conversion ----

TEST(GxBitmap, AssignFromAnotherEffectBitmapCopiesEverything) {
  TgxBitmap a;
  a.SetSize(3, 2);
  FillWithCoordinates(a);
  a.SetName("source");
  a.SetAlphaBlend(true);
  a.SetTransparent(true);
  TgxBitmap b;
  b.Assign(&a);
  EXPECT_EQ(PixelsOf(b), PixelsOf(a));
  EXPECT_NE(b.Bits(), a.Bits());
  EXPECT_EQ(b.Name(), "source");
  EXPECT_TRUE(b.AlphaBlend());
  EXPECT_TRUE(b.Transparent());

  TgxBitmap empty;
  b.Assign(&empty);
  EXPECT_TRUE(b.Empty());
  a.Assign(&a);
  EXPECT_EQ(a.Width(), 3);
}

TEST(GxBitmap, AssignFromA32BitBitmapKeepsItsAlpha) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetSize(2, 2);
  const TgxColor pixels[4] = {0xFF102030, 0x80405060, 0x00000000, 0xFFFFFFFF};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) static_cast<uint32_t*>(bmp.ScanLine(y))[x] = pixels[y * 2 + x];
  TgxBitmap b;
  b.Assign(&bmp);
  ASSERT_EQ(b.Width(), 2);
  EXPECT_EQ(PixelsOf(b), std::vector<TgxColor>(pixels, pixels + 4));
  EXPECT_TRUE(b.AlphaBlend());
}

TEST(GxBitmap, AssignFromOtherPicturesIsOpaque) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(3, 2);
  bmp.Canvas()->Brush()->SetColor(RGB(10, 20, 30));
  bmp.Canvas()->FillRect({0, 0, 3, 2});
  bmp.Canvas()->Brush()->SetColor(RGB(200, 0, 100));
  bmp.Canvas()->FillRect({2, 1, 3, 2});

  TgxBitmap fromBitmap;
  fromBitmap.Assign(&bmp);
  TPngImage png;
  png.Assign(&bmp);
  TgxBitmap fromGraphic;
  fromGraphic.Assign(&png);
  TPicture picture;
  picture.SetGraphic(&png);
  TgxBitmap fromPicture;
  fromPicture.Assign(&picture);
  for (TgxBitmap* b : {&fromBitmap, &fromGraphic, &fromPicture}) {
    ASSERT_EQ(b->Width(), 3);
    ASSERT_EQ(b->Height(), 2);
    EXPECT_EQ(b->GetPixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(b->GetPixel(2, 1), 0xFFC80064u);
  }
  TFont font;
  EXPECT_THROW(fromBitmap.Assign(&font), EConvertError);
}

TEST(GxBitmap, DrawGraphicKeepsWhatTheGraphicLeavesUntouched) {
  TBitmap red;
  red.SetPixelFormat(pf24bit);
  red.SetSize(2, 2);
  red.Canvas()->Brush()->SetColor(clRed);
  red.Canvas()->FillRect({0, 0, 2, 2});
  TgxBitmap b;
  b.SetSize(4, 4);
  b.Clear(0x12345678);
  b.DrawGraphic(&red, {1, 1, 3, 3});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(b.GetPixel(x, y), (x >= 1 && x < 3 && y >= 1 && y < 3) ? 0xFFFF0000u : 0x12345678u) << x << "," << y;
}

TEST(GxBitmap, AssignToABitmapGivesA32BitCopy) {
  TgxBitmap b;
  b.SetSize(3, 2);
  FillWithCoordinates(b);
  b.SetPixel(1, 0, 0x40302010);
  TBitmap bmp;
  bmp.Assign(&b);
  ASSERT_EQ(bmp.PixelFormat(), pf32bit);
  ASSERT_EQ(bmp.Width(), 3);
  ASSERT_EQ(bmp.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(static_cast<uint32_t*>(bmp.ScanLine(y))[x], b.GetPixel(x, y));

  TPicture picture;
  picture.Assign(&b);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), 3);
}

// ---- flipping, reflections, colours ----

TEST(GxBitmap, FlipVertSwapsRows) {
  TgxBitmap b;
  b.SetSize(2, 3);
  FillWithCoordinates(b);
  b.FlipVert();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(b.GetPixel(x, y), 0xFF000000u | TgxColor((2 - y) << 8) | TgxColor(x));
}

TEST(GxBitmap, ReflectionsFlipAndFadeTheAlpha) {
  // A column of four rows; after the flip the factor is 1, 0.5, 0, -0.5 from the top.
  struct Case {
    void (TgxBitmap::*Reflect)();
    TgxColor Alpha;
    TgxColor Want[4];
  } cases[] = {
      {&TgxBitmap::Reflection, 200, {66, 33, 0, 0}},
      {&TgxBitmap::Reflection2, 200, {50, 25, 0, 0}},
      {&TgxBitmap::Reflection3, 200, {100, 50, 0, 0}},
      // 0.5 x 5 = 2.5 rounds to 2 (ties to even), and 2 div 3 = 0.
      {&TgxBitmap::Reflection, 5, {1, 0, 0, 0}},
      {&TgxBitmap::Reflection3, 7, {3, 2, 0, 0}},
  };
  for (const Case& c : cases) {
    TgxBitmap b;
    b.SetSize(2, 4);
    for (int y = 0; y < 4; ++y) {
      b.SetPixel(0, y, (c.Alpha << 24) | TgxColor(y));
      b.SetPixel(1, y, 0x00ABCDEFu);  // alpha 0 stays 0
    }
    (b.*c.Reflect)();
    for (int y = 0; y < 4; ++y) {
      EXPECT_EQ(b.GetPixel(0, y), (c.Want[y] << 24) | TgxColor(3 - y)) << "alpha " << c.Alpha << " row " << y;
      EXPECT_EQ(b.GetPixel(1, y), 0x00ABCDEFu);
    }
  }
}

TEST(GxBitmap, BrightnessClampsAndSkipsTransparentPixels) {
  TgxBitmap b;
  b.SetSize(3, 1);
  b.SetPixel(0, 0, 0x80F01005);
  b.SetPixel(1, 0, 0x00102030);
  b.SetPixel(2, 0, 0xFF000000);
  b.ChangeBitmapBrightness(20);
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{0x80FF2419, 0x00102030, 0xFF141414}));
  b.ChangeBitmapBrightness(-30);
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{0x80E10600, 0x00102030, 0xFF000000}));
}

struct HslCase {
  const char* What;
  void (TgxBitmap::*Change)(int32_t);
  int32_t Value;
  TgxColor Before, After;
};

TEST(GxBitmap, HueAndSaturationChanges) {
  // Expected colours worked out by hand from the conversion rules.
  const HslCase cases[] = {
      {"red to hue 85 is green", &TgxBitmap::SetBitmapHue, 85, 0xFFFF0000, 0xFF00FF00},
      {"hue above 255 is 255 (red)", &TgxBitmap::SetBitmapHue, 300, 0xFF0000FF, 0xFFFF0000},
      {"grey has no hue to set", &TgxBitmap::SetBitmapHue, 40, 0x80808080, 0x80808080},
      {"hue 0 - 1 wraps to 254", &TgxBitmap::ChangeBitmapHue, -1, 0xFFFF0000, 0xFFFF0006},
      {"hue 170 + 100 wraps to 15", &TgxBitmap::ChangeBitmapHue, 100, 0x400000FF, 0x40FF5A00},
      {"saturation 255 - 128", &TgxBitmap::ChangeBitmapSat, -128, 0xFFFF0000, 0xFFBF4040},
      {"saturation 255 + 11 wraps to 11", &TgxBitmap::ChangeBitmapSat, 11, 0xFFFF0000, 0xFF857A7A},
      {"a delta of 0 changes nothing", &TgxBitmap::ChangeBitmapHue, 0, 0xFF123456, 0xFF123456},
      {"transparent pixels are skipped", &TgxBitmap::SetBitmapHue, 85, 0x00FF0000, 0x00FF0000},
  };
  for (const HslCase& c : cases) {
    TgxBitmap b;
    b.SetSize(1, 1);
    b.SetPixel(0, 0, c.Before);
    (b.*c.Change)(c.Value);
    EXPECT_EQ(b.GetPixel(0, 0), c.After) << c.What << std::hex << ": got " << b.GetPixel(0, 0);
  }
}

}  // namespace
