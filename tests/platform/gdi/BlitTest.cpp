#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gdi/Gdi.h"
#include "support/Canvas.h"

namespace {

// A screen-compatible bitmap (its alpha byte means nothing) in a memory DC.
class CompatibleCanvas {
 public:
  CompatibleCanvas(int width, int height) {
    FDC = CreateCompatibleDC(nullptr);
    FBitmap = CreateCompatibleBitmap(nullptr, width, height);
    FOld = SelectObject(FDC, FBitmap);
  }
  ~CompatibleCanvas() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
    DeleteObject(FBitmap);
  }
  CompatibleCanvas(const CompatibleCanvas&) = delete;
  CompatibleCanvas& operator=(const CompatibleCanvas&) = delete;
  HDC DC() const { return FDC; }
  Surface& Pixels() const { return *FBitmap->Pixels; }

 private:
  HDC FDC = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
};

// Every pixel different: colour from the position, alpha 0xC0.
void FillNumbered(TestCanvas& c) {
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) c.Pixels().At(x, y) = 0xC0000000u | uint32_t(y << 8) | uint32_t(x);
}

std::vector<uint32_t> Snapshot(const TestCanvas& c) {
  std::vector<uint32_t> v;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) v.push_back(c.Pixel(x, y));
  return v;
}

BLENDFUNCTION Blend(BYTE constant, BYTE format) {
  BLENDFUNCTION b;
  b.SourceConstantAlpha = constant;
  b.AlphaFormat = format;
  return b;
}

// ---- AlphaBlend ----

TEST(AlphaBlend, MatchesTableOfBytes) {
  struct Case {
    uint32_t dst, src;
    BYTE constant, format;
    uint32_t expected;
  };
  const Case cases[] = {
      // constant alpha only: source alpha ignored, colour scaled, alpha = constant
      {0xFF0000FF, 0x00C86400, 128, 0, 0xFF64327F},
      {0x80800000, 0x33C86400, 77, 0, 0xA6951E00},
      // per-pixel alpha only
      {0xFFFFFFFF, 0x80402010, 255, AC_SRC_ALPHA, 0xFFBF9F8F},
      {0x80800000, 0x40004000, 255, AC_SRC_ALPHA, 0xA0604000},
      {0x00000000, 0x80402010, 255, AC_SRC_ALPHA, 0x80402010},
      {0x12345678, 0xFF102030, 255, AC_SRC_ALPHA, 0xFF102030},
      {0x12345678, 0x00000000, 255, AC_SRC_ALPHA, 0x12345678},
      // additive (not premultiplied) source: colour added, clamped at 255
      {0x80808080, 0x00200000, 255, AC_SRC_ALPHA, 0x80A08080},
      {0x80F08080, 0x00200000, 255, AC_SRC_ALPHA, 0x80FF8080},
      // both
      {0xFFFFFFFF, 0x80402010, 128, AC_SRC_ALPHA, 0xFFDFCFC7},
      {0x80808080, 0xC0A06020, 200, AC_SRC_ALPHA, 0xCBB17F4D},
  };
  // 11 pixels a row: whole groups of four and a remainder take different code paths.
  for (const Case& c : cases) {
    TestCanvas dst(11, 2, c.dst), src(11, 2, c.src);
    ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 11, 2, src.DC(), 0, 0, 11, 2, Blend(c.constant, c.format)));
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 11; ++x)
        ASSERT_EQ(dst.Pixel(x, y), c.expected)
            << std::hex << "dst " << c.dst << " src " << c.src << std::dec << " ca " << int(c.constant) << " at " << x;
  }
}

TEST(AlphaBlend, StretchedPicksNearestSourcePixel) {
  // Source 3 x 1: a, b, c; destination 7 wide: offsets floor((2i + 1) * 3 / 14) = a a b b b c c.
  TestCanvas src(3, 1), dst(9, 2, 0xFF000000);
  const uint32_t px[3] = {0x80800000, 0xFF00FF00, 0x40000040};
  for (int x = 0; x < 3; ++x) src.Pixels().At(x, 0) = px[x];
  ASSERT_TRUE(AlphaBlend(dst.DC(), 1, 0, 7, 2, src.DC(), 0, 0, 3, 1, Blend(255, AC_SRC_ALPHA)));
  // Over opaque black: a -> 0xFF800000, b -> 0xFF00FF00, c -> 0xFF000040.
  const uint32_t want[9] = {0xFF000000, 0xFF800000, 0xFF800000, 0xFF00FF00, 0xFF00FF00,
                            0xFF00FF00, 0xFF000040, 0xFF000040, 0xFF000000};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(dst.Pixel(x, y), want[x]) << x << "," << y;

  // Shrinking 3 -> 1 takes the middle pixel, at half the constant alpha.
  TestCanvas one(1, 1, 0xFF000000);
  ASSERT_TRUE(AlphaBlend(one.DC(), 0, 0, 1, 1, src.DC(), 0, 0, 3, 1, Blend(128, AC_SRC_ALPHA)));
  EXPECT_EQ(one.Pixel(0, 0), 0xFF008000u);
}

TEST(AlphaBlend, WideSpansAgreeWithSinglePixels) {
  // Blending a long row at once and pixel by pixel (no groups of four) must agree.
  std::mt19937 rng(7);
  const int n = 203;
  TestCanvas src(n, 1), wide(n, 1), single(n, 1);
  for (int x = 0; x < n; ++x) {
    const uint32_t a = (x % 5 == 0) ? 255 : (x % 7 == 0) ? 0 : rng() & 0xFF;
    // premultiplied-looking colours, with a few additive ones
    auto ch = [&] { return (x % 11 == 0) ? rng() & 0xFF : a ? rng() % (a + 1) : 0; };
    src.Pixels().At(x, 0) = (a << 24) | (ch() << 16) | (ch() << 8) | ch();
    wide.Pixels().At(x, 0) = single.Pixels().At(x, 0) = rng();
  }
  for (BYTE constant : {BYTE(255), BYTE(1), BYTE(130)})
    for (BYTE format : {BYTE(0), AC_SRC_ALPHA}) {
      ASSERT_TRUE(AlphaBlend(wide.DC(), 0, 0, n, 1, src.DC(), 0, 0, n, 1, Blend(constant, format)));
      for (int x = 0; x < n; ++x)
        ASSERT_TRUE(AlphaBlend(single.DC(), x, 0, 1, 1, src.DC(), x, 0, 1, 1, Blend(constant, format)));
      for (int x = 0; x < n; ++x)
        ASSERT_EQ(wide.Pixel(x, 0), single.Pixel(x, 0)) << "x " << x << " ca " << int(constant) << " fmt "
                                                        << int(format);
    }
}

TEST(AlphaBlend, OpaqueSourceAlphaCountsAsFull) {
  CompatibleCanvas src(2, 1);
  src.Pixels().At(0, 0) = 0x00336699;  // alpha byte of a compatible bitmap is not alpha
  src.Pixels().At(1, 0) = 0x00336699;
  TestCanvas dst(2, 1, 0xFFFFFFFF);
  ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 2, 1, src.DC(), 0, 0, 2, 1, Blend(255, AC_SRC_ALPHA)));
  EXPECT_EQ(dst.Pixel(0, 0), 0xFF336699u);
}

TEST(AlphaBlend, HonoursClipAndOrigins) {
  TestCanvas src(4, 4, 0xFF0000FF), dst(8, 8, 0xFFFFFFFF);
  SetWindowOrgEx(src.DC(), 10, 10, nullptr);
  SetViewportOrgEx(dst.DC(), 2, 2, nullptr);
  IntersectClipRect(dst.DC(), 0, 0, 3, 3);  // logical, so surface (2,2)-(5,5)
  ASSERT_TRUE(AlphaBlend(dst.DC(), 1, 1, 4, 4, src.DC(), 10, 10, 4, 4, Blend(255, AC_SRC_ALPHA)));
  EXPECT_EQ(dst.Mask(RGB(0, 0, 255)), Picture(R"(
........
........
........
...##...
...##...
........
........
........
)"));
  SaveIfFailed(dst, "dst");
}

TEST(AlphaBlend, SmoothShrinkAveragesWhenHalftone) {
  // 6 x 3 source of two 3 x 3 blocks, each made of three grey levels; shrunk to 2 x 1.
  TestCanvas src(6, 3), dst(2, 1, 0xFF000000);
  const uint32_t levels[2][3] = {{30, 60, 90}, {200, 220, 240}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      const uint32_t v = levels[x / 3][x % 3];
      src.Pixels().At(x, y) = 0xFF000000u | v << 16 | v << 8 | v;
    }
  SetStretchBltMode(dst.DC(), HALFTONE);
  ASSERT_TRUE(AlphaBlend(dst.DC(), 0, 0, 2, 1, src.DC(), 0, 0, 6, 3, Blend(255, AC_SRC_ALPHA)));
  EXPECT_NEAR(int(dst.Pixel(0, 0) & 0xFF), 60, 1);
  EXPECT_NEAR(int(dst.Pixel(1, 0) & 0xFF), 220, 1);
  EXPECT_EQ(dst.Pixel(0, 0) >> 24, 0xFFu);
}

TEST(AlphaBlend, RefusesBadParametersAndDrawsNothing) {
  TestCanvas src(4, 4, 0xFF0000FF), dst(8, 8, 0xFFFFFFFF);
  const BLENDFUNCTION ok = Blend(255, AC_SRC_ALPHA);
  BLENDFUNCTION badOp = ok;
  badOp.BlendOp = 1;
  struct Case {
    const char* what;
    int x, y, w, h, sx, sy, sw, sh;
    BLENDFUNCTION blend;
  };
  const Case cases[] = {
      {"negative width", 0, 0, -4, 4, 0, 0, 4, 4, ok},
      {"negative source height", 0, 0, 4, 4, 0, 0, 4, -4, ok},
      {"source past the right edge", 0, 0, 4, 4, 1, 0, 4, 4, ok},
      {"source above the top", 0, 0, 4, 4, 0, -1, 4, 4, ok},
      {"empty source", 0, 0, 4, 4, 0, 0, 0, 4, ok},
      {"blend op", 0, 0, 4, 4, 0, 0, 4, 4, badOp},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(AlphaBlend(dst.DC(), c.x, c.y, c.w, c.h, src.DC(), c.sx, c.sy, c.sw, c.sh, c.blend)) << c.what;
    EXPECT_EQ(dst.InkBounds(0xFFFFFFFF), RECT{}) << c.what;
  }
  // Overlapping rectangles on one surface are refused; disjoint ones blend.
  EXPECT_FALSE(AlphaBlend(dst.DC(), 2, 2, 4, 4, dst.DC(), 0, 0, 4, 4, ok));
  EXPECT_TRUE(AlphaBlend(dst.DC(), 4, 4, 4, 4, dst.DC(), 0, 0, 4, 4, ok));
}

// ---- BitBlt ----

TEST(BitBlt, RopTableOnChosenPixels) {
  const uint32_t S = 0x80C3A55Au, D = 0x40F00FCCu;
  const COLORREF brush = RGB(0x96, 0x3C, 0x69);
  const uint32_t P = PixelFromColorRef(brush) & 0xFFFFFF;
  enum AlphaFrom { kSrc, kOpaque, kDst };
  struct Case {
    DWORD rop;
    uint32_t color;
    AlphaFrom alpha;
  };
  const Case cases[] = {
      {SRCCOPY, S, kSrc},
      {SRCPAINT, S | D, kDst},
      {SRCAND, S & D, kDst},
      {SRCINVERT, S ^ D, kDst},
      {SRCERASE, S & ~D, kDst},
      {NOTSRCCOPY, ~S, kOpaque},
      {NOTSRCERASE, ~(S | D), kDst},
      {MERGECOPY, P & S, kOpaque},
      {MERGEPAINT, ~S | D, kDst},
      {PATCOPY, P, kOpaque},
      {PATPAINT, P | ~S | D, kDst},
      {PATINVERT, P ^ D, kDst},
      {DSTINVERT, ~D, kDst},
      {BLACKNESS, 0, kOpaque},
      {WHITENESS, ~0u, kOpaque},
      {0x00B8074A, ((D ^ P) & S) ^ P, kDst},  // PSDPxax
      {0x00E20746, ((P ^ D) & S) ^ D, kDst},  // DSPDxax
      {0x00AA0029, D, kDst},                  // destination unchanged
  };
  HBRUSH hb = CreateSolidBrush(brush);
  for (const Case& c : cases) {
    TestCanvas src(3, 1, S), dst(5, 1, D);
    HGDIOBJ old = SelectObject(dst.DC(), hb);
    ASSERT_TRUE(BitBlt(dst.DC(), 1, 0, 3, 1, src.DC(), 0, 0, c.rop));
    const uint32_t alpha = c.alpha == kSrc ? S >> 24 : c.alpha == kDst ? D >> 24 : 0xFF;
    const uint32_t want = (c.color & 0xFFFFFF) | alpha << 24;
    for (int x = 1; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, 0), want) << std::hex << "rop " << c.rop << " x " << x;
    EXPECT_EQ(dst.Pixel(0, 0), D);
    EXPECT_EQ(dst.Pixel(4, 0), D);
    SelectObject(dst.DC(), old);
  }
  DeleteObject(hb);
}

TEST(BitBlt, PatternOnlyOperationsNeedNoSource) {
  TestCanvas dst(4, 4, 0xFF000000);
  HBRUSH hb = CreateSolidBrush(RGB(1, 2, 3));
  HGDIOBJ old = SelectObject(dst.DC(), hb);
  EXPECT_TRUE(BitBlt(dst.DC(), 0, 0, 2, 2, nullptr, 0, 0, PATCOPY));
  EXPECT_EQ(dst.Pixel(1, 1), PixelFromColorRef(RGB(1, 2, 3)));
  EXPECT_EQ(dst.Pixel(2, 2), 0xFF000000u);
  // With a null brush the pattern paints nothing.
  SelectObject(dst.DC(), GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(BitBlt(dst.DC(), 2, 2, 2, 2, nullptr, 0, 0, PATCOPY));
  EXPECT_EQ(dst.Pixel(3, 3), 0xFF000000u);
  SelectObject(dst.DC(), old);
  DeleteObject(hb);
}

TEST(BitBlt, HatchedBrushIsAHatchWithoutSourceAndItsColourWithOne) {
  TestCanvas dst(8, 2, 0xFF000000), white(8, 2, 0xFFFFFFFF);
  HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dst.DC(), hatch);
  SetBkColor(dst.DC(), RGB(0, 0, 255));
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 0, 8, 1, nullptr, 0, 0, PATCOPY));
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 1, 8, 1, white.DC(), 0, 0, MERGECOPY));
  EXPECT_EQ(dst.Mask(RGB(255, 0, 0)), Picture(R"(
.......#
########
)"));
  EXPECT_EQ(dst.Color(0, 0), RGB(0, 0, 255));
  SelectObject(dst.DC(), old);
  DeleteObject(hatch);
}

TEST(BitBlt, OverlappingCopyOnOneSurfaceActsLikeMemmove) {
  struct Case {
    int x, y, sx, sy;
  };
  const Case cases[] = {{2, 1, 0, 0}, {0, 0, 2, 1}, {1, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 0, 3}};
  for (const Case& c : cases) {
    TestCanvas canvas(8, 8);
    FillNumbered(canvas);
    const std::vector<uint32_t> before = Snapshot(canvas);
    ASSERT_TRUE(BitBlt(canvas.DC(), c.x, c.y, 5, 5, canvas.DC(), c.sx, c.sy, SRCCOPY));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= c.x && x < c.x + 5 && y >= c.y && y < c.y + 5;
        const uint32_t want = inside ? before[size_t((y - c.y + c.sy) * 8 + (x - c.x + c.sx))] : before[size_t(y * 8 + x)];
        ASSERT_EQ(canvas.Pixel(x, y), want) << "case " << c.x << "," << c.y << " from " << c.sx << "," << c.sy
                                            << " at " << x << "," << y;
      }
  }
}

TEST(BitBlt, AlphaFollowsTheSource) {
  TestCanvas dibSrc(2, 1, 0x80123456), dst(4, 1, 0x40ABCDEF);
  CompatibleCanvas opaqueSrc(2, 1);
  opaqueSrc.Pixels().Fill(0x00123456);  // its alpha byte means nothing
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 0, 2, 1, dibSrc.DC(), 0, 0, SRCCOPY));
  ASSERT_TRUE(BitBlt(dst.DC(), 2, 0, 2, 1, opaqueSrc.DC(), 0, 0, SRCCOPY));
  EXPECT_EQ(dst.Pixel(0, 0), 0x80123456u);
  EXPECT_EQ(dst.Pixel(2, 0), 0xFF123456u);
  // Logical operations keep the destination's alpha whatever the source.
  dst.Fill(0x40ABCDEF);
  ASSERT_TRUE(BitBlt(dst.DC(), 2, 0, 2, 1, dibSrc.DC(), 0, 0, SRCAND));
  EXPECT_EQ(dst.Pixel(3, 0), 0x40020446u);
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 0, 2, 1, opaqueSrc.DC(), 0, 0, SRCPAINT));
  EXPECT_EQ(dst.Pixel(0, 0), 0x40BBFDFFu);
}

TEST(BitBlt, OriginsShiftSourceAndDestination) {
  TestCanvas src(6, 6, 0xFFFFFFFF), dst(6, 6, 0xFFFFFFFF);
  src.Pixels().At(2, 3) = 0xFF000000;  // the one black pixel of the source
  src.Pixels().At(3, 3) = 0xFF000000;
  SetWindowOrgEx(src.DC(), 10, 10, nullptr);  // logical (12, 13) is surface (2, 3)
  SetViewportOrgEx(dst.DC(), 1, 0, nullptr);  // logical (0, 0) is surface (1, 0)
  ASSERT_TRUE(BitBlt(dst.DC(), 0, 0, 4, 2, src.DC(), 12, 13, SRCCOPY));
  EXPECT_EQ(dst.Mask(RGB(0, 0, 0)), Picture(R"(
.##...
......
......
......
......
......
)"));
  SaveIfFailed(dst, "dst");
}

TEST(BitBlt, ClipAndSourceEdgesLimitWhatIsWritten) {
  TestCanvas src(4, 4, 0xFF000000), dst(8, 6, 0xFFFFFFFF);
  // Clip: all but a hole at (3, 2)-(5, 3).
  ExcludeClipRect(dst.DC(), 3, 2, 5, 3);
  // The source rectangle starts at (-2, -1): only its part on the source surface counts.
  ASSERT_TRUE(BitBlt(dst.DC(), 1, 1, 6, 5, src.DC(), -2, -1, SRCCOPY));
  EXPECT_EQ(dst.Mask(RGB(0, 0, 0)), Picture(R"(
........
........
.....##.
...####.
...####.
...####.
)"));
  SaveIfFailed(dst, "dst");
}

TEST(BitBlt, RefusesBadHandles) {
  TestCanvas src(2, 2, 0xFF000000), dst(2, 2, 0xFFFFFFFF);
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  HDC noSurface = CreateSurfaceDC(nullptr, POINT{}, nullptr);
  EXPECT_FALSE(BitBlt(nullptr, 0, 0, 2, 2, src.DC(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(gone, 0, 0, 2, 2, src.DC(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(noSurface, 0, 0, 2, 2, src.DC(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst.DC(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst.DC(), 0, 0, 2, 2, gone, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst.DC(), 0, 0, 2, 2, noSurface, 0, 0, SRCCOPY));
  EXPECT_FALSE(StretchBlt(dst.DC(), 0, 0, 2, 2, gone, 0, 0, 1, 1, SRCCOPY));
  EXPECT_FALSE(StretchBlt(dst.DC(), 0, 0, 2, 2, src.DC(), 0, 0, 0, 1, SRCCOPY));
  EXPECT_FALSE(AlphaBlend(dst.DC(), 0, 0, 2, 2, gone, 0, 0, 2, 2, Blend(255, 0)));
  EXPECT_FALSE(AlphaBlend(noSurface, 0, 0, 2, 2, src.DC(), 0, 0, 2, 2, Blend(255, 0)));
  EXPECT_FALSE(TransparentBlt(gone, 0, 0, 2, 2, src.DC(), 0, 0, 2, 2, 0));
  EXPECT_FALSE(TransparentBlt(dst.DC(), 0, 0, -2, 2, src.DC(), 0, 0, 2, 2, 0));
  EXPECT_EQ(dst.InkBounds(0xFFFFFFFF), RECT{});
  // Huge extents are clipped, not overflowed.
  EXPECT_TRUE(BitBlt(dst.DC(), INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, src.DC(), INT32_MAX, 0, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dst.DC(), INT32_MAX, 0, INT32_MIN, 2, src.DC(), 0, 0, INT32_MAX, 2, SRCCOPY));
  EXPECT_TRUE(AlphaBlend(dst.DC(), INT32_MIN, 0, INT32_MAX, 2, src.DC(), 0, 0, 2, 2, Blend(255, 0)));
  DeleteDC(noSurface);
}

// ---- StretchBlt ----

// The source column each destination column shows, read back from colour-coded pixels.
std::vector<int> Columns(const TestCanvas& c, int y = 0) {
  std::vector<int> out;
  for (int x = 0; x < c.Width(); ++x) out.push_back(int(c.Pixel(x, y) & 0xFF));
  return out;
}

TEST(StretchBlt, NearestMappingAndMirroring) {
  struct Case {
    const char* what;
    int srcWidth, x, width, sx, sw;
    std::vector<int> want;  // source column per destination column, 255 = untouched
  };
  const Case cases[] = {
      {"2x enlarge", 3, 0, 6, 0, 3, {0, 0, 1, 1, 2, 2}},
      {"shrink by 3", 9, 0, 3, 0, 9, {1, 4, 7}},
      {"3 to 5", 3, 0, 5, 0, 3, {0, 0, 1, 2, 2}},
      {"mirror by destination", 3, 4, -5, 0, 3, {2, 2, 1, 0, 0}},
      {"mirror by source", 3, 0, 5, 2, -3, {2, 2, 1, 0, 0}},
      {"both negative: no mirror", 3, 4, -5, 2, -3, {0, 0, 1, 2, 2}},
      {"mirror 1:1", 4, 3, -4, 0, 4, {3, 2, 1, 0}},
      {"source partly off the surface", 3, 0, 5, 1, 3, {1, 1, 2, 255, 255}},
  };
  for (const Case& c : cases) {
    TestCanvas src(c.srcWidth, 1), dst(int(c.want.size()), 1, 0xFF0000FF);
    for (int x = 0; x < c.srcWidth; ++x) src.Pixels().At(x, 0) = 0xFF000000u | uint32_t(x);
    ASSERT_TRUE(StretchBlt(dst.DC(), c.x, 0, c.width, 1, src.DC(), c.sx, 0, c.sw, 1, SRCCOPY)) << c.what;
    EXPECT_EQ(Columns(dst), c.want) << c.what;
  }
}

TEST(StretchBlt, VerticalMirrorFlipsRows) {
  TestCanvas src(1, 4), plain(1, 7), flipped(1, 7);
  for (int y = 0; y < 4; ++y) src.Pixels().At(0, y) = 0xFF000000u | uint32_t(y);
  ASSERT_TRUE(StretchBlt(plain.DC(), 0, 0, 1, 7, src.DC(), 0, 0, 1, 4, SRCCOPY));
  ASSERT_TRUE(StretchBlt(flipped.DC(), 0, 6, 1, -7, src.DC(), 0, 0, 1, 4, SRCCOPY));
  for (int y = 0; y < 7; ++y) EXPECT_EQ(flipped.Pixel(0, y), plain.Pixel(0, 6 - y)) << y;
}

TEST(StretchBlt, RasterOperationsApplyAfterStretching) {
  TestCanvas src(2, 1), dst(4, 1, 0x7F0F0F0F);
  src.Pixels().At(0, 0) = 0xFF00FF00;
  src.Pixels().At(1, 0) = 0xFFF0F0F0;
  ASSERT_TRUE(StretchBlt(dst.DC(), 0, 0, 4, 1, src.DC(), 0, 0, 2, 1, SRCINVERT));
  const uint32_t want[4] = {0x7F0FF00F, 0x7F0FF00F, 0x7FFFFFFF, 0x7FFFFFFF};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Pixel(x, 0), want[x]) << x;
}

TEST(StretchBlt, HalftoneAveragesWhenShrinkingAndInterpolatesWhenEnlarging) {
  TestCanvas src(6, 3), small(2, 1), big(4, 1);
  const uint32_t levels[6] = {30, 60, 90, 200, 220, 240};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) src.Pixels().At(x, y) = 0xFF000000u | levels[x] << 8;
  SetStretchBltMode(small.DC(), HALFTONE);
  ASSERT_TRUE(StretchBlt(small.DC(), 0, 0, 2, 1, src.DC(), 0, 0, 6, 3, SRCCOPY));
  EXPECT_NEAR(int(small.Pixel(0, 0) >> 8 & 0xFF), 60, 1);
  EXPECT_NEAR(int(small.Pixel(1, 0) >> 8 & 0xFF), 220, 1);

  // 2 -> 4 samples at -0.25, 0.25, 0.75 and 1.25 source pixels; edges extend.
  TestCanvas two(2, 1);
  two.Pixels().At(0, 0) = 0xFF000000;
  two.Pixels().At(1, 0) = 0xFF0000C8;
  SetStretchBltMode(big.DC(), HALFTONE);
  ASSERT_TRUE(StretchBlt(big.DC(), 0, 0, 4, 1, two.DC(), 0, 0, 2, 1, SRCCOPY));
  const int want[4] = {0, 50, 150, 200};
  for (int x = 0; x < 4; ++x) EXPECT_NEAR(int(big.Pixel(x, 0) & 0xFF), want[x], 2) << x;
  EXPECT_EQ(big.Pixel(2, 0) >> 24, 0xFFu);

  // With COLORONCOLOR the same enlargement repeats pixels.
  SetStretchBltMode(big.DC(), COLORONCOLOR);
  ASSERT_TRUE(StretchBlt(big.DC(), 0, 0, 4, 1, two.DC(), 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(Columns(big), (std::vector<int>{0, 0, 200, 200}));
}

// ---- TransparentBlt ----

TEST(TransparentBlt, SkipsKeyColourAndWritesOpaque) {
  TestCanvas src(3, 2), dst(6, 2, 0xFF0000FF);
  const COLORREF key = RGB(255, 0, 255);
  // Row 0: key (with odd alpha), dark, key; row 1: dark, key, half-alpha green.
  const uint32_t px[2][3] = {{0x20FF00FF, 0x80101010, 0xFFFF00FF}, {0x00101010, 0xFFFF00FF, 0x8000FF00}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) src.Pixels().At(x, y) = px[y][x];
  ASSERT_TRUE(TransparentBlt(dst.DC(), 0, 0, 6, 2, src.DC(), 0, 0, 3, 2, key));
  const uint32_t want[2][6] = {{0xFF0000FF, 0xFF0000FF, 0xFF101010, 0xFF101010, 0xFF0000FF, 0xFF0000FF},
                               {0xFF101010, 0xFF101010, 0xFF0000FF, 0xFF0000FF, 0xFF00FF00, 0xFF00FF00}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.Pixel(x, y), want[y][x]) << x << "," << y;
}

}  // namespace
