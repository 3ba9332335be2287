#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "qvDrawUtils/Bitmaps.h"

namespace {

// A pf32bit bitmap holding the given pixels row by row.
std::unique_ptr<TBitmap> Bitmap32(int w, int h, const std::vector<uint32_t>& pixels = {}) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  for (size_t i = 0; i < pixels.size(); ++i)
    static_cast<uint32_t*>(b->ScanLine(int(i) / w))[i % size_t(w)] = pixels[i];
  return b;
}

uint32_t At(TBitmap& b, int x, int y) { return static_cast<uint32_t*>(b.ScanLine(y))[x]; }
void Put(TBitmap& b, int x, int y, uint32_t p) { static_cast<uint32_t*>(b.ScanLine(y))[x] = p; }

std::vector<uint32_t> All(TBitmap& b) {
  std::vector<uint32_t> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(At(b, x, y));
  return out;
}

// A pixel that tells x and y apart, without a zero byte.
uint32_t Tell(int x, int y) {
  return 0x80000000u | uint32_t(x + 1) << 16 | uint32_t(y + 1) << 8 | uint32_t(x * 16 + y + 1);
}

std::unique_ptr<TBitmap> Told(int w, int h) {
  auto b = Bitmap32(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(*b, x, y, Tell(x, y));
  return b;
}

// ---- raw pixel routines ----

TEST(DrawUtilsBitmaps, AlphaRgbAndFillTouchOnlyWhatTheySay) {
  auto b = Bitmap32(3, 2, {0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00, 0x00000000, 0xFFFFFFFF});
  SetBitmapAlpha(b.get(), 0x7F);
  EXPECT_EQ(All(*b), (std::vector<uint32_t>{0x7F223344, 0x7F667788, 0x7FAABBCC, 0x7FEEFF00, 0x7F000000, 0x7FFFFFFF}));
  // TColor 0x123456 is red 0x56, green 0x34, blue 0x12.
  SetBitmapRGB(b.get(), 0x123456);
  EXPECT_EQ(All(*b), std::vector<uint32_t>(6, 0x7F563412));
  auto c = Bitmap32(2, 2, {0x01000000, 0x02000000, 0x03000000, 0xFF000000});
  SetBitmapRGB(c.get(), 0x00FF00);
  EXPECT_EQ(All(*c), (std::vector<uint32_t>{0x0100FF00, 0x0200FF00, 0x0300FF00, 0xFF00FF00}));

  for (uint32_t fill : {0x00000000u, 0xFFFFFFFFu, 0x80112233u}) {
    auto f = Bitmap32(5, 3, std::vector<uint32_t>(15, 0x12345678));
    FillBitmapPixels(f.get(), fill);
    EXPECT_EQ(All(*f), std::vector<uint32_t>(15, fill)) << std::hex << fill;
  }
}

TEST(DrawUtilsBitmaps, WritersMakeOtherFormatsThirtyTwoBit) {
  for (TPixelFormat format : {pf24bit, pfDevice}) {
    TBitmap b;
    b.SetPixelFormat(format);
    b.SetSize(2, 2);
    SetBitmapAlpha(&b, 0x40);
    EXPECT_EQ(b.PixelFormat(), pf32bit) << format;
    // The opaque white of a fresh picture keeps its colour under the new alpha.
    EXPECT_EQ(All(b), std::vector<uint32_t>(4, 0x40FFFFFF)) << format;
  }
  TBitmap f;
  f.SetPixelFormat(pf24bit);
  f.SetSize(2, 1);
  FillBitmapPixels(&f, 0x20102030);
  EXPECT_EQ(f.PixelFormat(), pf32bit);
  EXPECT_EQ(All(f), std::vector<uint32_t>(2, 0x20102030));
}

TEST(DrawUtilsBitmaps, NothingToDoIsNoError) {
  TBitmap empty;
  empty.SetPixelFormat(pf32bit);
  SetBitmapAlpha(nullptr, 1);
  SetBitmapAlpha(&empty, 1);
  SetBitmapRGB(&empty, 0);
  FillBitmapPixels(&empty, 7);
  EXPECT_FALSE(HasTransparentPixels(nullptr));
  EXPECT_FALSE(HasTransparentPixels(&empty));
  EXPECT_FALSE(HasTransparentPixelsInRect(&empty, Rect(0, 0, 10, 10)));
  EXPECT_TRUE(empty.Empty());
}

TEST(DrawUtilsBitmaps, HasTransparentPixelsFindsAnyAlphaBelowOpaque) {
  // Sizes around the block the search works in, with the one odd pixel at either end.
  for (int w : {1, 63, 64, 65, 200})
    for (bool last : {false, true}) {
      auto b = Bitmap32(w, 3, std::vector<uint32_t>(size_t(w) * 3, 0xFF000000));
      EXPECT_FALSE(HasTransparentPixels(b.get())) << w;
      Put(*b, last ? w - 1 : 0, last ? 2 : 0, 0xFEFFFFFF);
      EXPECT_TRUE(HasTransparentPixels(b.get())) << w << " " << last;
    }
  // Another format is opaque whatever its alpha bytes hold.
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 2);
  Put(b, 1, 1, 0x00FFFFFF);
  EXPECT_FALSE(HasTransparentPixels(&b));
  EXPECT_FALSE(HasTransparentPixelsInRect(&b, Rect(0, 0, 1, 1)));
}

TEST(DrawUtilsBitmaps, HasTransparentPixelsInRectIncludesBothEndsAndReadsOnlyInside) {
  // 8 x 6, opaque but for (5, 3) and the bottom-right pixel (7, 5).
  auto b = Bitmap32(8, 6, std::vector<uint32_t>(48, 0xFFFFFFFF));
  Put(*b, 5, 3, 0x00000000);
  Put(*b, 7, 5, 0x80000000);
  struct Case {
    TRect R;
    bool Found;
  };
  const Case cases[] = {
      {Rect(5, 3, 5, 3), true},        // one pixel: both ends included
      {Rect(0, 0, 4, 5), false},       // x 0..4
      {Rect(0, 0, 7, 2), false},       // y 0..2
      {Rect(6, 3, 6, 4), false},
      {Rect(4, 2, 6, 4), true},
      {Rect(7, 5, 7, 5), true},        // the last pixel
      {Rect(6, 5, 100, 100), true},    // cut to the bitmap
      {Rect(0, 6, 8, 20), false},      // at the height: nothing inside
      {Rect(8, 0, 20, 6), false},      // at the width
      {Rect(8, 6, 8, 6), false},
      {Rect(100, 100, 200, 200), false},
      {Rect(-10, -10, -1, -1), false},
      {Rect(-10, -10, 5, 3), true},
      {Rect(6, 4, 4, 2), false},       // inverted: empty
      {Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX), true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HasTransparentPixelsInRect(b.get(), c.R), c.Found)
        << c.R.Left << "," << c.R.Top << "," << c.R.Right << "," << c.R.Bottom;
}

// ---- blending ----

// A pf32bit target filled with one pixel.
std::unique_ptr<TBitmap> Target(int w, int h, uint32_t fill) {
  return Bitmap32(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), fill));
}

TEST(DrawUtilsBitmaps, AlphaBlendRectCompositesPremultipliedPixelsSourceOver) {
  // On white every channel d = 255, so d * (255 - a) / 255 = 255 - a exactly.
  struct Case {
    uint32_t Source;
    uint8_t Alpha;
    uint32_t Result;
  };
  const Case cases[] = {
      // Half-transparent dark red: a 128, r 0x40; each channel gains 127.
      {0x80400000, 255, 0xFFBF7F7F},
      {0xFF123456, 255, 0xFF123456},  // opaque: replaces
      {0x00000000, 255, 0xFFFFFFFF},  // transparent: leaves
      // Opaque red at a constant alpha of 51 (a fifth): red 51 + 204, green and blue 204.
      {0xFFFF0000, 51, 0xFFFFCCCC},
      {0xFFFF0000, 0, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    auto src = Bitmap32(1, 1, {c.Source});
    auto dst = Target(3, 3, 0xFFFFFFFF);
    AlphaBlendRect(src.get(), dst->Canvas(), Rect(0, 0, 1, 1), c.Alpha, Rect(1, 1, 2, 2));
    EXPECT_EQ(At(*dst, 1, 1), c.Result) << std::hex << c.Source << " " << int(c.Alpha);
    EXPECT_EQ(At(*dst, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(At(*dst, 2, 2), 0xFFFFFFFFu);
  }
  // On transparent black the premultiplied source comes through unchanged.
  auto src = Bitmap32(1, 1, {0x80402010});
  auto dst = Target(1, 1, 0);
  AlphaBlendRect(src.get(), dst->Canvas(), Rect(0, 0, 1, 1), 255, Rect(0, 0, 1, 1));
  EXPECT_EQ(At(*dst, 0, 0), 0x80402010u);
}

TEST(DrawUtilsBitmaps, AlphaBlendRectTakesThePartAndStretchesIt) {
  auto src = Told(4, 4);
  SetBitmapAlpha(src.get(), 255);
  auto dst = Target(10, 10, 0xFF000000);
  // The 2 x 2 middle of the source onto a 4 x 4 square at (5, 5): each pixel doubled.
  AlphaBlendRect(src.get(), dst->Canvas(), Rect(1, 1, 3, 3), 255, Rect(5, 5, 9, 9));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 5 && x < 9 && y >= 5 && y < 9;
      const uint32_t expected = inside ? (Tell(1 + (x - 5) / 2, 1 + (y - 5) / 2) | 0xFF000000u) : 0xFF000000u;
      EXPECT_EQ(At(*dst, x, y), expected) << x << "," << y;
    }
}

TEST(DrawUtilsBitmaps, DrawBitmapAlphaPlacesTheWholeBitmap) {
  auto src = Told(3, 2);
  SetBitmapAlpha(src.get(), 255);
  auto dst = Target(6, 5, 0xFF000000);
  DrawBitmapAlpha(src.get(), dst->Canvas(), 2, 1, 255);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(At(*dst, x, y), inside ? (Tell(x - 2, y - 1) | 0xFF000000u) : 0xFF000000u) << x << "," << y;
    }
  // Partly off the canvas: what is inside still lands.
  auto edge = Target(2, 2, 0xFF000000);
  DrawBitmapAlpha(src.get(), edge->Canvas(), -2, -1, 255);
  EXPECT_EQ(At(*edge, 0, 0), Tell(2, 1) | 0xFF000000u);
  EXPECT_EQ(At(*edge, 1, 0), 0xFF000000u);
}

// ---- resampling ----

TEST(DrawUtilsBitmaps, SmoothStretchEnlargingOnePixelLowersEveryNonZeroByteByOne) {
  for (uint32_t pixel : {0xFF808080u, 0x00000000u, 0x01FF0100u}) {
    auto src = Bitmap32(1, 1, {pixel});
    auto dst = Bitmap32(4, 4);
    SmoothStretchBitmap(src.get(), dst.get());
    uint32_t expected = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t byte = (pixel >> shift) & 0xFF;
      expected |= (byte ? byte - 1 : 0) << shift;
    }
    EXPECT_EQ(All(*dst), std::vector<uint32_t>(16, expected)) << std::hex << pixel;
  }
}

TEST(DrawUtilsBitmaps, SmoothStretchTwoPixelsToFourByHand) {
  // Enlarging 2 -> 4: dx = 2^17 div (4 + 2 - 1) = 26214; x positions 0, 26214, 52428, 78642;
  // one row, so v = 0 and only w00 and w10 count: w10 = u * 65535 shr 16, w00 = 65535 - w10.
  //   x 0: u 0       w00 65535 w10 0       of pixels 0 and 1
  //   x 1: u 26214   w00 39322 w10 26213
  //   x 2: u 52428   w00 13108 w10 52427
  //   x 3: u 13106   w00 52430 w10 13105   of pixel 1 and itself (the last column repeats)
  // Pixel 0: a FF r C8 g 64 b 00; pixel 1: a FF r 00 g 32 b FF.
  //   x 1: r (39322*200) shr 16 = 7864400 shr 16 = 120 (0x78);
  //        g (39322*100 + 26213*50) shr 16 = 5242850 shr 16 = 79 (0x4F);
  //        b (26213*255) shr 16 = 101 (0x65); a 65535*255 shr 16 = 254.
  //   x 2: r 2621600 shr 16 = 40 (0x28); g (1310800 + 2621350) shr 16 = 59 (0x3B);
  //        b 13368885 shr 16 = 203 (0xCB).
  //   x 0 and x 3: the pixels themselves, every non-zero byte one lower.
  auto src = Bitmap32(2, 1, {0xFFC86400, 0xFF0032FF});
  auto dst = Bitmap32(4, 1);
  SmoothStretchBitmap(src.get(), dst.get());
  EXPECT_EQ(All(*dst), (std::vector<uint32_t>{0xFEC76300, 0xFE784F65, 0xFE283BCB, 0xFE0031FE}));
}

TEST(DrawUtilsBitmaps, SmoothStretchTwoByTwoToThreeByThreeByHand) {
  // dx = dy = 2^17 div 3 = 43690 (the width ratio 3 div 2 = 1 adds nothing); positions
  // 0, 43690, 87380: index 0, 0, 1 with fractions 0, 43690, 21844.
  // Pixels: (0,0) opaque black, (1,0) opaque white, (0,1) 0x80804000, (1,1) transparent.
  //   (1,1): u = v = 43690; w00 = 21845 - (43690*21845 shr 16 = 14563) = 7282, w10 14563,
  //          w01 = 43690 - (43690*43690 shr 16 = 29126) = 14564, w11 29126;
  //          a (7282+14563)*255 + 14564*128 = 7434667 shr 16 = 113 (0x71);
  //          r 14563*255 + 14564*128 = 5577757 shr 16 = 85 (0x55);
  //          g 14563*255 + 14564*64 = 4645661 shr 16 = 70 (0x46); b 14563*255 shr 16 = 56 (0x38).
  //   Row 2 and column 2 sit on the last source row and column, which repeat.
  auto src = Bitmap32(2, 2, {0xFF000000, 0xFFFFFFFF, 0x80804000, 0x00000000});
  auto dst = Bitmap32(3, 3);
  SmoothStretchBitmap(src.get(), dst.get());
  EXPECT_EQ(All(*dst), (std::vector<uint32_t>{0xFE000000, 0xFEA9A9A9, 0xFEFEFEFE,  //
                                              0xAA552A00, 0x71554638, 0x54545454,  //
                                              0x7F7F3F00, 0x2A2A1500, 0x00000000}));
}

TEST(DrawUtilsBitmaps, SmoothStretchShrinkingPicksEveryOtherPixel) {
  // 4 -> 2: dx = dy = 2^17, no fractions: pixels (0,0), (2,0), (0,2), (2,2), one lower.
  auto src = Told(4, 4);
  SetBitmapAlpha(src.get(), 0xFF);
  auto dst = Bitmap32(2, 2);
  SmoothStretchBitmap(src.get(), dst.get());
  auto lower = [](uint32_t p) { return p - 0x01010101u; };
  EXPECT_EQ(All(*dst), (std::vector<uint32_t>{lower(At(*src, 0, 0)), lower(At(*src, 2, 0)), lower(At(*src, 0, 2)),
                                              lower(At(*src, 2, 2))}));
}

TEST(DrawUtilsBitmaps, SmoothStretchOfTheSameSizeCopiesAndOfNothingDoesNothing) {
  auto src = Told(3, 2);
  auto dst = Bitmap32(3, 2);
  SmoothStretchBitmap(src.get(), dst.get());
  EXPECT_EQ(All(*dst), All(*src));

  auto untouched = Bitmap32(2, 2, {1, 2, 3, 4});
  TBitmap empty;
  empty.SetPixelFormat(pf32bit);
  TBitmap zeroWide;
  zeroWide.SetPixelFormat(pf32bit);
  zeroWide.SetSize(0, 5);
  SmoothStretchBitmap(&empty, untouched.get());
  SmoothStretchBitmap(&zeroWide, untouched.get());
  SmoothStretchBitmap(nullptr, untouched.get());
  EXPECT_EQ(All(*untouched), (std::vector<uint32_t>{1, 2, 3, 4}));
  SmoothStretchBitmap(untouched.get(), &empty);
  SmoothStretchBitmap(untouched.get(), &zeroWide);
  SmoothStretchBitmap(untouched.get(), nullptr);
  EXPECT_TRUE(empty.Empty());
}

TEST(DrawUtilsBitmaps, SmoothStretchReadsOtherFormatsAsOpaqueAndWritesThirtyTwoBit) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 1);
  // Whatever the alpha bytes of a 24-bit picture hold, it is opaque.
  Put(src, 0, 0, 0x00102030);
  Put(src, 1, 0, 0x12405060);
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(2, 1);
  SmoothStretchBitmap(&src, &dst);
  EXPECT_EQ(dst.PixelFormat(), pf32bit);
  EXPECT_EQ(All(dst), (std::vector<uint32_t>{0xFF102030, 0xFF405060}));
  EXPECT_EQ(src.PixelFormat(), pf24bit);
  EXPECT_EQ(At(src, 0, 0), 0x00102030u);
}

TEST(DrawUtilsBitmaps, SmoothStretchOfWideBitmapsKeepsItsFixedPointInRange) {
  // 40000 pixels shifted by 16 bits pass the signed 32-bit range.
  constexpr int kWide = 40000;
  auto src = Bitmap32(kWide, 1);
  for (int x = 0; x < kWide; ++x) Put(*src, x, 0, 0xFF000000u | uint32_t(x % 251 + 1));
  // Halving: dx = 2^17 exactly, so destination x is source 2x, one lower.
  auto half = Bitmap32(kWide / 2, 1);
  SmoothStretchBitmap(src.get(), half.get());
  for (int x : {0, 1, 12345, kWide / 2 - 1}) EXPECT_EQ(At(*half, x, 0), At(*src, 2 * x, 0) - 0x01000001u) << x;
  // Enlarging by one pixel: the last destination pixel still reads the last source pixels.
  auto wider = Bitmap32(kWide + 1, 2);
  SmoothStretchBitmap(src.get(), wider.get());
  const uint64_t dx = (uint64_t(kWide) << 16) / (kWide + 1);  // the width ratio 1 adds nothing
  const uint64_t fx = dx * kWide;
  const uint32_t ix = uint32_t(fx >> 16), u = uint32_t(fx & 0xFFFF);
  ASSERT_EQ(ix, uint32_t(kWide - 2));
  const uint32_t b0 = At(*src, int(ix), 0) & 0xFF, b1 = At(*src, int(ix) + 1, 0) & 0xFF;
  const uint32_t w10 = (u * 65535u) >> 16, w00 = 65535u - w10;
  EXPECT_EQ(At(*wider, kWide, 0), 0xFE000000u | ((w00 * b0 + w10 * b1) >> 16));
  EXPECT_EQ(At(*wider, kWide, 1), At(*wider, kWide, 0));
}

// ---- drawing resampled ----

TEST(DrawUtilsBitmaps, DrawScaledAndSizedResampleUnlessTheSizeIsTheBitmaps) {
  // One grey pixel; resampled it is one lower in every byte, so alpha 254 over black
  // leaves 0x7F, where the pixel drawn as it is gives 0x80.
  auto src = Bitmap32(1, 1, {0xFF808080});
  struct Case {
    const char* What;
    std::function<void(TCanvas*)> Draw;
    TRect Area;
    uint32_t Inside;
  };
  const Case cases[] = {
      {"scale 1", [&](TCanvas* c) { DrawBitmapAlphaScaled(src.get(), c, 2, 3, 1.0, 255); }, Rect(2, 3, 3, 4),
       0xFF808080},
      {"scale 2", [&](TCanvas* c) { DrawBitmapAlphaScaled(src.get(), c, 2, 3, 2.0, 255); }, Rect(2, 3, 4, 5),
       0xFF7F7F7F},
      // 2.5 rounds to 2 (ties to even).
      {"scale 2.5", [&](TCanvas* c) { DrawBitmapAlphaScaled(src.get(), c, 2, 3, 2.5, 255); }, Rect(2, 3, 4, 5),
       0xFF7F7F7F},
      {"scale 3.5", [&](TCanvas* c) { DrawBitmapAlphaScaled(src.get(), c, 1, 1, 3.5, 255); }, Rect(1, 1, 5, 5),
       0xFF7F7F7F},
      {"scale 0.4", [&](TCanvas* c) { DrawBitmapAlphaScaled(src.get(), c, 2, 3, 0.4, 255); }, Rect(0, 0, 0, 0), 0},
      {"sized 1 x 1", [&](TCanvas* c) { DrawBitmapAlphaSized(src.get(), c, 2, 3, 1, 1, 255); }, Rect(2, 3, 3, 4),
       0xFF808080},
      {"sized 3 x 2", [&](TCanvas* c) { DrawBitmapAlphaSized(src.get(), c, 2, 3, 3, 2, 255); }, Rect(2, 3, 5, 5),
       0xFF7F7F7F},
      {"sized 0 x 4", [&](TCanvas* c) { DrawBitmapAlphaSized(src.get(), c, 2, 3, 0, 4, 255); }, Rect(0, 0, 0, 0), 0},
      {"sized 4 x -1", [&](TCanvas* c) { DrawBitmapAlphaSized(src.get(), c, 2, 3, 4, -1, 255); }, Rect(0, 0, 0, 0), 0},
  };
  for (const Case& c : cases) {
    auto dst = Target(8, 8, 0xFF000000);
    c.Draw(dst->Canvas());
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        EXPECT_EQ(At(*dst, x, y), c.Area.Contains(Point(x, y)) ? c.Inside : 0xFF000000u) << c.What << " " << x << "," << y;
  }
}

TEST(DrawUtilsBitmaps, StretchBitmapRectCopiesOpaquePixelsStretched) {
  auto src = Bitmap32(2, 1, {0xFFFF0000, 0xFF0000FF});
  auto dst = Target(6, 3, 0xFF000000);
  StretchBitmapRect(src.get(), dst->Canvas(), Rect(0, 0, 2, 1), Rect(1, 1, 5, 3));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      uint32_t expected = 0xFF000000u;
      if (y >= 1 && x >= 1 && x < 3) expected = 0xFFFF0000u;
      if (y >= 1 && x >= 3 && x < 5) expected = 0xFF0000FFu;
      EXPECT_EQ(At(*dst, x, y), expected) << x << "," << y;
    }
}

// ---- rotation ----

TEST(DrawUtilsBitmaps, RotateBitmap90TurnsAQuarterCounterClockwise) {
  // a b c        c f
  // d e f  ->    b e
  //              a d
  const uint32_t a = 0xA, b = 0xB, c = 0xC, d = 0xD, e = 0xE, f = 0xF;
  auto src = Bitmap32(3, 2, {a, b, c, d, e, f});
  TBitmap dst;  // pfDevice, unsized: made pf32bit and 2 x 3
  RotateBitmap90(src.get(), &dst);
  EXPECT_EQ(dst.PixelFormat(), pf32bit);
  ASSERT_EQ(dst.Width(), 2);
  ASSERT_EQ(dst.Height(), 3);
  EXPECT_EQ(All(dst), (std::vector<uint32_t>{c, f, b, e, a, d}));

  // The rule on a larger picture: destination (y, w - 1 - x) is source (x, y).
  auto big = Told(7, 4);
  TBitmap turned;
  RotateBitmap90(big.get(), &turned);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 7; ++x) ASSERT_EQ(At(turned, y, 6 - x), Tell(x, y)) << x << "," << y;

  // Into itself.
  RotateBitmap90(src.get(), src.get());
  ASSERT_EQ(src->Width(), 2);
  EXPECT_EQ(All(*src), (std::vector<uint32_t>{c, f, b, e, a, d}));
}

TEST(DrawUtilsBitmaps, RotateBitmap90OfAnotherFormatIsOpaque) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 1);
  Put(src, 0, 0, 0x00112233);
  Put(src, 1, 0, 0x00445566);
  TBitmap dst;
  RotateBitmap90(&src, &dst);
  EXPECT_EQ(All(dst), (std::vector<uint32_t>{0xFF445566, 0xFF112233}));
  RotateBitmap90(nullptr, &dst);
  RotateBitmap90(&src, nullptr);
}

}  // namespace
