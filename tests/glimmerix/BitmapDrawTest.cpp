// Drawing a TgxBitmap: copy, alpha and colour key between bitmaps, clipping, the stretch
// column mapping, drawing onto itself, the routes through DCs and canvases (which must
// give what the in-memory draw gives), tiles, merging and filling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gx_bitmap.h"
#include "support/Canvas.h"

namespace {

// Blue = x, green = y, red = 0x80, opaque: a drawn pixel tells where it came from.
void FillWithCoordinates(TgxBitmap& b, TgxColor alpha = 0xFF) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, (alpha << 24) | 0x800000u | TgxColor(y << 8) | TgxColor(x));
}

int SourceX(TgxColor p) { return int(p & 0xFF); }
int SourceY(TgxColor p) { return int((p >> 8) & 0xFF); }

std::vector<TgxColor> PixelsOf(const TgxBitmap& b) {
  return std::vector<TgxColor>(b.Bits(), b.Bits() + size_t(b.Width()) * size_t(b.Height()));
}

TgxColor ReferenceBlend(TgxColor s, TgxColor d) {
  const int32_t a = int32_t(s >> 24);
  if (a == 0) return d;
  if (a == 255) return s;
  TgxColor out = 0;
  for (int k = 0; k < 4; ++k) {
    const int32_t sb = int32_t((s >> (8 * k)) & 0xFF), db = int32_t((d >> (8 * k)) & 0xFF);
    out |= TgxColor((db * 256 + (sb - db) * a) / 256) << (8 * k);
  }
  return out;
}

constexpr TgxColor kBackground = 0xFF203040;

TEST(GxBitmapDraw, UnscaledCopyIsClippedToTheTarget) {
  TgxBitmap src, dst;
  src.SetSize(4, 3);
  FillWithCoordinates(src);
  dst.SetSize(5, 5);
  dst.Clear(kBackground);
  src.Draw(&dst, -1, 3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      const int sx = x + 1, sy = y - 3;
      const bool covered = sx >= 0 && sx < 4 && sy >= 0 && sy < 3;
      EXPECT_EQ(dst.GetPixel(x, y), covered ? src.GetPixel(sx, sy) : kBackground) << x << "," << y;
    }
}

TEST(GxBitmapDraw, SourceRectanglesOutsideTheSourceOrEmptyDrawNothing) {
  TgxBitmap src, dst;
  src.SetSize(4, 3);
  FillWithCoordinates(src);
  dst.SetSize(6, 6);
  dst.Clear(kBackground);
  const TRect bad[] = {{-1, 0, 2, 2}, {0, 0, 5, 1}, {0, 1, 4, 4}, {2, 2, 2, 3}, {3, 1, 1, 2}};
  for (const TRect& r : bad) {
    src.Draw(&dst, 0, 0, r);
    src.Draw(&dst, TRect{0, 0, 6, 6}, r);
  }
  src.Draw(&dst, TRect{6, 0, 9, 3});   // entirely outside the target
  src.Draw(&dst, TRect{2, 2, 0, 4});   // turned round
  for (TgxColor p : PixelsOf(dst)) EXPECT_EQ(p, kBackground);
}

struct StretchCase {
  int SrcLeft, SrcW, DstW;
  std::vector<int> Columns;  // worked out by hand from the mapping rule
};

TEST(GxBitmapDraw, StretchingMapsColumnsAndRowsExactly) {
  const StretchCase cases[] = {
      {0, 5, 1, {2}},                          // one column: the middle one, (0 + 5 - 1) div 2
      {3, 4, 1, {4}},                          // (3 + 7 - 1) div 2
      {0, 5, 2, {0, 4}},                       // first and last
      {0, 5, 9, {0, 0, 1, 1, 2, 2, 3, 3, 4}},  // x * 4 div 8
      {1, 9, 4, {1, 3, 6, 9}},                 // 1 + x * 8 div 3
      {2, 3, 7, {2, 2, 2, 3, 3, 3, 4}},        // 2 + x * 2 div 6
      {0, 1, 3, {0, 0, 0}},
  };
  for (const StretchCase& c : cases) {
    TgxBitmap src, dst;
    src.SetSize(12, 12);
    FillWithCoordinates(src);
    const int dstW = c.DstW;
    dst.SetSize(dstW, dstW);
    // The same mapping for rows: the source rectangle is square.
    src.Draw(&dst, TRect{0, 0, dstW, dstW}, TRect{c.SrcLeft, c.SrcLeft, c.SrcLeft + c.SrcW, c.SrcLeft + c.SrcW});
    for (int y = 0; y < dstW; ++y)
      for (int x = 0; x < dstW; ++x) {
        EXPECT_EQ(SourceX(dst.GetPixel(x, y)), c.Columns[size_t(x)]) << c.SrcW << "->" << dstW << " x=" << x;
        EXPECT_EQ(SourceY(dst.GetPixel(x, y)), c.Columns[size_t(y)]) << c.SrcW << "->" << dstW << " y=" << y;
      }
  }
}

TEST(GxBitmapDraw, ClippedStretchingCountsFromTheDestinationRectangle) {
  TgxBitmap src, dst;
  src.SetSize(5, 1);
  FillWithCoordinates(src);
  dst.SetSize(4, 1);
  dst.Clear(kBackground);
  // Nine columns from x = -3: the visible ones are columns 3 .. 6 of the mapping.
  src.Draw(&dst, TRect{-3, 0, 6, 1}, TRect{0, 0, 5, 1});
  const int want[] = {1, 2, 2, 3};  // x * 4 div 8 for x = 3 .. 6
  for (int x = 0; x < 4; ++x) EXPECT_EQ(SourceX(dst.GetPixel(x, 0)), want[x]) << x;
}

TEST(GxBitmapDraw, DestinationsBeyondThe32BitRangeMapWithoutOverflow) {
  TgxBitmap src;
  src.SetSize(5, 5);
  FillWithCoordinates(src);
  const TRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  TgxBitmap dst;
  dst.SetSize(4, 3);
  src.Draw(&dst, huge);
  TestCanvas canvas(4, 3, kBackground);
  src.Draw(canvas.DC(), huge);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) {
      // (x + 2^31) * 4 div (2^32 - 2) is 2 for every visible pixel.
      EXPECT_EQ(SourceX(dst.GetPixel(x, y)), 2);
      EXPECT_EQ(SourceY(dst.GetPixel(x, y)), 2);
      EXPECT_EQ(canvas.Pixel(x, y), dst.GetPixel(x, y));
    }
  dst.Clear(kBackground);
  src.Draw(&dst, INT32_MAX - 1, INT32_MAX - 1);
  src.Draw(&dst, INT32_MIN, 0, TRect{0, 0, 5, 5});
  src.Draw(&dst, TRect{0, INT32_MIN, 540082432, 1008741427}, TRect{0, 0, 5, 5});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(SourceY(dst.GetPixel(x, 0)), 2);  // (0 + 2^31) * 4 div (dstH - 1)
}

TEST(GxBitmapDraw, AlphaModeBlendsAndKeyModeSkipsTheKey) {
  TgxBitmap src, dst;
  src.SetSize(4, 1);
  const TgxColor pixels[] = {0x00FFFFFF, 0x80FF0000, 0xFF00FF00, 0x207F007F};
  for (int x = 0; x < 4; ++x) src.SetPixel(x, 0, pixels[x]);
  dst.SetSize(4, 1);

  dst.Clear(kBackground);
  src.SetAlphaBlend(true);
  src.SetTransparent(true);  // alpha wins when both are set
  src.Draw(&dst, 0, 0);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.GetPixel(x, 0), ReferenceBlend(pixels[x], kBackground)) << x;

  dst.Clear(kBackground);
  src.SetAlphaBlend(false);
  src.Draw(&dst, 0, 0);
  EXPECT_EQ(PixelsOf(dst), (std::vector<TgxColor>{0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00, kBackground}));

  dst.Clear(kBackground);
  src.SetTransparent(false);
  src.Draw(&dst, 0, 0);
  EXPECT_EQ(PixelsOf(dst), std::vector<TgxColor>(pixels, pixels + 4));
}

TEST(GxBitmapDraw, DrawingOntoItselfReadsTheOriginalPixels) {
  TgxBitmap b, expected;
  b.SetSize(5, 4);
  FillWithCoordinates(b);
  expected.Assign(&b);
  TgxBitmap copy;
  copy.Assign(&b);
  copy.Draw(&expected, 1, 1, TRect{0, 0, 4, 3});
  b.Draw(&b, 1, 1, TRect{0, 0, 4, 3});
  EXPECT_EQ(PixelsOf(b), PixelsOf(expected));

  copy.Draw(&expected, TRect{0, 0, 5, 4}, TRect{1, 1, 3, 3});
  b.Assign(&copy);
  b.Draw(&b, TRect{0, 0, 5, 4}, TRect{1, 1, 3, 3});
  EXPECT_EQ(PixelsOf(b), PixelsOf(expected));
}

TEST(GxBitmapDraw, TheDCOfAnEffectBitmapIsDrawnInMemoryInItsDeviceCoordinates) {
  TgxBitmap src, viaDC, direct;
  src.SetSize(3, 2);
  FillWithCoordinates(src, 0x80);
  src.SetAlphaBlend(true);
  for (TgxBitmap* t : {&viaDC, &direct}) {
    t->SetSize(6, 5);
    t->Clear(kBackground);
  }
  // Logical (4, 3) is device (2, 2) with the window origin at (2, 1).
  SetWindowOrgEx(viaDC.DC(), 2, 1, nullptr);
  src.Draw(viaDC.DC(), TRect{4, 3, 10, 7});
  src.Draw(&direct, TRect{2, 2, 8, 6});
  EXPECT_EQ(PixelsOf(viaDC), PixelsOf(direct));

  // A canvas on the bitmap's DC goes the same way; its clip rectangle counts.
  SetWindowOrgEx(viaDC.DC(), 0, 0, nullptr);
  viaDC.Clear(kBackground);
  direct.Clear(kBackground);
  IntersectClipRect(viaDC.DC(), 0, 0, 3, 5);
  src.Draw(viaDC.Canvas(), 1, 1);
  src.Draw(&direct, 1, 1, TRect{0, 0, 2, 2});
  EXPECT_EQ(PixelsOf(viaDC), PixelsOf(direct));
}

// Drawing onto a DC that is not an effect bitmap's (here a plain DIB, as a window's
// surface would be) must give what drawing onto an effect bitmap gives.
struct RouteCase {
  const char* What;
  bool AlphaBlend, Transparent;
  TRect Dst, Src;
};

TEST(GxBitmapDraw, ForeignDCsGetWhatAnEffectBitmapGets) {
  const RouteCase cases[] = {
      {"copy", false, false, {1, 2, 5, 5}, {0, 0, 4, 3}},
      {"copy stretched", false, false, {-2, 1, 7, 9}, {1, 0, 5, 3}},
      {"alpha", true, false, {1, 2, 5, 5}, {0, 0, 4, 3}},
      {"alpha stretched", true, false, {0, 0, 9, 2}, {0, 0, 5, 3}},
      {"key", false, true, {1, 2, 5, 5}, {0, 0, 4, 3}},
      {"key stretched", false, true, {3, 1, 4, 9}, {0, 0, 5, 3}},
  };
  for (const RouteCase& c : cases) {
    SCOPED_TRACE(c.What);
    TgxBitmap src;
    src.SetSize(5, 3);
    FillWithCoordinates(src);
    src.SetPixel(1, 1, 0x437F007F);
    src.SetPixel(2, 0, 0x10FF00FF);
    src.SetPixel(3, 2, 0x00123456);
    src.SetAlphaBlend(c.AlphaBlend);
    src.SetTransparent(c.Transparent);
    TestCanvas canvas(8, 8, kBackground);
    TgxBitmap expected;
    expected.SetSize(8, 8);
    expected.Clear(kBackground);
    src.Draw(canvas.DC(), c.Dst, c.Src);
    src.Draw(&expected, c.Dst, c.Src);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.Pixel(x, y), expected.GetPixel(x, y)) << x << "," << y;
    SaveIfFailed(canvas, c.What);
  }
}

TEST(GxBitmapDraw, TilesRepeatFromTheTopLeftAndClip) {
  TgxBitmap src, dst;
  src.SetSize(6, 6);
  FillWithCoordinates(src);
  const TRect tile{2, 1, 5, 3};  // 3 x 2
  const TRect area{1, 1, 9, 6};
  dst.SetSize(10, 8);
  dst.Clear(kBackground);
  src.Tile(&dst, area, tile);
  auto want = [&](int x, int y, const TRect& clip) -> TgxColor {
    if (x < clip.Left || x >= clip.Right || y < clip.Top || y >= clip.Bottom) return kBackground;
    return src.GetPixel(tile.Left + (x - area.Left) % 3, tile.Top + (y - area.Top) % 2);
  };
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.GetPixel(x, y), want(x, y, area)) << x << "," << y;

  const TRect clip{4, 2, 20, 4};
  dst.Clear(kBackground);
  src.TileClip(&dst, area, clip, tile);
  const TRect both{4, 2, 9, 4};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(dst.GetPixel(x, y), want(x, y, both)) << "clip " << x << "," << y;

  dst.Clear(kBackground);
  src.Tile(&dst, area, TRect{2, 2, 2, 5});
  for (TgxColor p : PixelsOf(dst)) EXPECT_EQ(p, kBackground);

  // Far-reaching rectangles visit only the tiles that show.
  const TRect far{-1000000001, -999999999, 1000000000, 1000000000};
  dst.Clear(kBackground);
  src.Tile(&dst, far, tile);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(dst.GetPixel(x, y), src.GetPixel(tile.Left + int((int64_t(x) - far.Left) % 3),
                                                  tile.Top + int((int64_t(y) - far.Top) % 2)))
          << "far " << x << "," << y;

  // Onto a DC the tiles are the same.
  TestCanvas canvas(10, 8, kBackground);
  src.TileClip(canvas.DC(), area, clip, tile);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(canvas.Pixel(x, y), want(x, y, both)) << "DC " << x << "," << y;
}

TEST(GxBitmapDraw, MergeDrawFillsTransparentAndBlendsPartlyTransparentPixels) {
  TgxBitmap src, dst;
  src.SetSize(3, 2);
  FillWithCoordinates(src);
  src.SetPixel(2, 1, 0x40AABBCC);
  dst.SetSize(3, 3);
  const TgxColor before[9] = {0x00FFFFFF, 0x80FF0000, 0xFF00FF00,  //
                              0x01000000, 0xFE0000FF, 0x00000000,  //
                              0x80808080, 0x80808080, 0x80808080};
  for (int i = 0; i < 9; ++i) dst.SetPixel(i % 3, i / 3, before[i]);
  // Source column -1 is clipped away, which shifts the rest right by one.
  dst.MergeDraw(&src, -1, 0, TRect{-1, 0, 3, 2});
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const TgxColor d = before[y * 3 + x];
      const int sx = x, sy = y;  // source pixel (x, y) lands at (x - 1 + 1, y)
      if (sy >= 2) {
        EXPECT_EQ(dst.GetPixel(x, y), d) << x << "," << y;
        continue;
      }
      const TgxColor s = src.GetPixel(sx, sy);
      const TgxColor want = (d >> 24) == 0 ? s : (d >> 24) < 255 ? ReferenceBlend(d, s) : d;
      EXPECT_EQ(dst.GetPixel(x, y), want) << x << "," << y;
    }
}

TEST(GxBitmapDraw, FillRectSetsOrBlends) {
  TgxBitmap b;
  b.SetSize(3, 2);
  b.Clear(kBackground);
  b.FillRect({-1, 1, 2, 7}, 0x80FFFFFF);
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{kBackground, kBackground, kBackground, 0x80FFFFFF, 0x80FFFFFF,
                                                kBackground}));
  b.Clear(kBackground);
  b.SetAlphaBlend(true);
  b.FillRect({1, 0, 3, 1}, 0x80FFFFFF);
  const TgxColor blended = ReferenceBlend(0x80FFFFFF, kBackground);
  EXPECT_EQ(PixelsOf(b), (std::vector<TgxColor>{kBackground, blended, blended, kBackground, kBackground,
                                                kBackground}));
}

}  // namespace
