#include <gtest/gtest.h>

#include "support/Canvas.h"

namespace {

constexpr COLORREF kInk = RGB(255, 0, 0);
constexpr uint32_t kWhite = 0xFFFFFFFFu;

// A canvas with a pen and brush of its own selected.
struct Sketch : TestCanvas {
  HPEN Pen = nullptr;
  HBRUSH Brush = nullptr;
  Sketch(int w, int h, HPEN pen = CreatePen(PS_SOLID, 1, kInk), HBRUSH brush = nullptr) : TestCanvas(w, h) {
    Pen = pen;
    Brush = brush;
    SelectObject(DC(), Pen);
    SelectObject(DC(), Brush ? static_cast<HGDIOBJ>(Brush) : GetStockObject(NULL_BRUSH));
  }
  ~Sketch() {
    SelectObject(DC(), GetStockObject(BLACK_PEN));
    SelectObject(DC(), GetStockObject(WHITE_BRUSH));
    DeleteObject(Pen);
    if (Brush) DeleteObject(Brush);
  }
};

TEST(Draw, FillAndFrameExcludeRightAndBottom) {
  TestCanvas c(8, 6);
  HBRUSH red = CreateSolidBrush(kInk);
  RECT r{1, 1, 4, 3};
  FillRect(c.DC(), &r, red);
  r = {4, 1, 8, 6};
  FrameRect(c.DC(), &r, red);
  EXPECT_EQ(c.Mask(kInk), Picture(R"(
........
.#######
.####..#
....#..#
....#..#
....####
)"));
  RECT reversed{3, 5, 1, 4};  // swapped corners fill the same pixels
  FillRect(c.DC(), &reversed, red);
  EXPECT_EQ(c.Color(1, 4), kInk);
  EXPECT_EQ(c.Pixel(1, 4) >> 24, 0xFFu) << "fills write opaque pixels";
  DeleteObject(red);
  SaveIfFailed(c, "fill");
}

TEST(Draw, LineToExcludesItsEndPoint) {
  struct Case {
    POINT from, to;
    const char* picture;
  };
  const Case cases[] = {
      {{0, 0}, {5, 0}, "#####.\n......\n......\n......\n"},
      {{5, 3}, {0, 3}, "......\n......\n......\n.#####\n"},
      {{0, 0}, {4, 4}, "#.....\n.#....\n..#...\n...#..\n"},
      {{1, 0}, {1, 3}, ".#....\n.#....\n.#....\n......\n"},
      {{0, 0}, {6, 2}, "##....\n..###.\n.....#\n......\n"},
      {{0, 3}, {6, 0}, "......\n....##\n..##..\n##....\n"},
  };
  for (const Case& k : cases) {
    Sketch s(6, 4);
    MoveToEx(s.DC(), k.from.X, k.from.Y, nullptr);
    LineTo(s.DC(), k.to.X, k.to.Y);
    EXPECT_EQ(s.Mask(kInk), k.picture) << "line " << k.from.X << "," << k.from.Y << " to " << k.to.X << "," << k.to.Y;
    POINT pos;
    GetCurrentPositionEx(s.DC(), &pos);
    EXPECT_EQ(pos, k.to);
  }
}

TEST(Draw, PolylineDoesNotDrawJoinsTwiceUnderXor) {
  Sketch s(5, 5);
  SetROP2(s.DC(), R2_XORPEN);
  s.Fill(0xFF000000u);  // black: XOR with red gives red exactly once
  const POINT pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}};
  Polyline(s.DC(), pts, 5);
  EXPECT_EQ(s.Mask(kInk), Picture(R"(
#####
#...#
#...#
#...#
#####
)"));
}

TEST(Draw, RectangleWithPenAndBrushAndWithoutPen) {
  Sketch s(8, 6, CreatePen(PS_SOLID, 1, kInk), CreateSolidBrush(RGB(0, 0, 255)));
  Rectangle(s.DC(), 0, 0, 5, 4);
  EXPECT_EQ(s.Mask(kInk), Picture(R"(
#####...
#...#...
#...#...
#####...
........
........
)"));
  EXPECT_EQ(s.Mask(RGB(0, 0, 255)), Picture(R"(
........
.###....
.###....
........
........
........
)"));
  s.Fill(kWhite);
  SelectObject(s.DC(), GetStockObject(NULL_PEN));
  Rectangle(s.DC(), 0, 0, 5, 4);
  EXPECT_EQ(s.InkBounds(kWhite), (RECT{0, 0, 4, 3})) << "no pen: one pixel smaller on right and bottom";
}

TEST(Draw, EllipseStaysInsideItsBoxAndIsSymmetric) {
  for (const RECT box : {RECT{0, 0, 9, 9}, RECT{1, 2, 15, 9}, RECT{0, 0, 2, 2}}) {
    Sketch s(16, 12);
    Ellipse(s.DC(), box.Left, box.Top, box.Right, box.Bottom);
    EXPECT_EQ(s.InkBounds(kWhite), box);
    for (int y = box.Top; y < box.Bottom; ++y)
      for (int x = box.Left; x < box.Right; ++x) {
        const int mx = box.Left + box.Right - 1 - x, my = box.Top + box.Bottom - 1 - y;
        EXPECT_EQ(s.Color(x, y), s.Color(mx, y)) << x << "," << y;
        EXPECT_EQ(s.Color(x, y), s.Color(x, my)) << x << "," << y;
      }
    const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
    if (box.Width() > 4) {
      EXPECT_EQ(s.Pixel(cx, cy), kWhite) << "hollow brush leaves the inside";
    }
    SaveIfFailed(s, "ellipse");
  }
}

TEST(Draw, ThinEllipseOutlineIsOnePixelThick) {
  Sketch s(21, 21);
  Ellipse(s.DC(), 0, 0, 21, 21);
  // Along the middle row and column the outline crosses exactly twice, one pixel each.
  int row = 0, col = 0;
  for (int i = 0; i < 21; ++i) {
    row += s.Color(i, 10) == kInk;
    col += s.Color(10, i) == kInk;
  }
  EXPECT_EQ(row, 2);
  EXPECT_EQ(col, 2);
}

TEST(Draw, DottedPenAndOpaqueGaps) {
  Sketch s(12, 2, CreatePen(PS_DOT, 1, kInk));
  SetBkMode(s.DC(), TRANSPARENT);
  MoveToEx(s.DC(), 0, 0, nullptr);
  LineTo(s.DC(), 12, 0);
  SetBkMode(s.DC(), OPAQUE);
  SetBkColor(s.DC(), RGB(0, 255, 0));
  MoveToEx(s.DC(), 0, 1, nullptr);
  LineTo(s.DC(), 12, 1);
  EXPECT_EQ(s.Mask(kInk), "###...###...\n###...###...\n");
  EXPECT_EQ(s.Mask(RGB(0, 255, 0)), "............\n...###...###\n");
}

TEST(Draw, WideGeometricPenHasFlatEnds) {
  LOGBRUSH lb{BS_SOLID, kInk, 0};
  Sketch s(12, 9, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &lb, 0, nullptr));
  MoveToEx(s.DC(), 2, 4, nullptr);
  LineTo(s.DC(), 9, 4);
  EXPECT_EQ(s.InkBounds(kWhite), (RECT{2, 3, 9, 6}));
  s.Fill(kWhite);
  HPEN round = CreatePen(PS_SOLID, 3, kInk);
  DeleteObject(SelectObject(s.DC(), round));
  s.Pen = round;
  MoveToEx(s.DC(), 2, 4, nullptr);
  LineTo(s.DC(), 9, 4);
  const RECT ink = s.InkBounds(kWhite);
  EXPECT_LT(ink.Left, 2) << "round ends reach past the end points";
  EXPECT_GT(ink.Right, 10);
}

TEST(Draw, FocusRectIsDottedAndTwiceRestores) {
  TestCanvas c(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) c.Pixels().At(x, y) = 0x80000000u | uint32_t(x * 30 + y * 7);
  Surface before(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) before.At(x, y) = c.Pixel(x, y);
  const RECT r{0, 0, 7, 5};
  DrawFocusRect(c.DC(), &r);
  int changed = 0;
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      if (c.Pixel(x, y) != before.At(x, y)) {
        ++changed;
        EXPECT_EQ((x + y) % 2, 0) << "dots on every other pixel";
        EXPECT_TRUE(x == 0 || y == 0 || x == 6 || y == 4) << "only the frame";
        EXPECT_EQ(c.Pixel(x, y) >> 24, 0x80u) << "alpha untouched";
      }
  EXPECT_EQ(changed, 10);
  DrawFocusRect(c.DC(), &r);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(c.Pixel(x, y), before.At(x, y));
}

TEST(Draw, PatBltOperations) {
  struct Case {
    DWORD rop;
    uint32_t expected;
  };
  const uint32_t dst = 0xFF336699u;
  const Case cases[] = {
      {PATCOPY, 0xFF0000FFu},                       // the red brush (COLORREF 0x0000FF)
      {PATINVERT, 0xFF336699u ^ 0x000000FFu},       // XOR with the brush, alpha kept
      {DSTINVERT, 0xFF000000u | (~dst & 0xFFFFFF)},  // NOT destination
      {BLACKNESS, 0xFF000000u},
      {WHITENESS, 0xFFFFFFFFu},
  };
  for (const Case& k : cases) {
    TestCanvas c(3, 3, dst);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.DC(), brush);
    EXPECT_TRUE(PatBlt(c.DC(), 1, 1, 1, 1, k.rop));
    EXPECT_EQ(c.Pixel(1, 1), k.expected) << std::hex << k.rop;
    EXPECT_EQ(c.Pixel(0, 0), dst);
    SelectObject(c.DC(), old);
    DeleteObject(brush);
  }
  TestCanvas c(2, 2);
  EXPECT_FALSE(PatBlt(c.DC(), 0, 0, 2, 2, SRCCOPY)) << "PatBlt has no source";
}

TEST(Draw, GradientEndsAtItsColours) {
  TestCanvas c(10, 4);
  TRIVERTEX v[2] = {{0, 0, 0x0000, 0x0000, 0xFF00, 0}, {10, 4, 0xFF00, 0x0000, 0x0000, 0}};
  GRADIENT_RECT g{0, 1};
  ASSERT_TRUE(GradientFill(c.DC(), v, 2, &g, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(c.Color(0, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.Color(9, 3), RGB(229, 0, 25)) << "the last column stops one step short";
  EXPECT_EQ(c.Pixel(5, 2) >> 24, 0xFFu);
  for (int x = 1; x < 10; ++x) EXPECT_GT(GetRValue(c.Color(x, 0)), GetRValue(c.Color(x - 1, 0)));
  ASSERT_TRUE(GradientFill(c.DC(), v, 2, &g, 1, GRADIENT_FILL_RECT_V));
  EXPECT_EQ(c.Color(7, 0), RGB(0, 0, 255));
  EXPECT_EQ(c.Color(0, 2), c.Color(9, 2)) << "vertical gradients are constant along a row";
  GRADIENT_RECT bad{0, 5};
  EXPECT_FALSE(GradientFill(c.DC(), v, 2, &bad, 1, GRADIENT_FILL_RECT_H));
}

TEST(Draw, PixelsRespectClipAndBadHandles) {
  TestCanvas c(4, 4);
  IntersectClipRect(c.DC(), 0, 0, 2, 2);
  EXPECT_EQ(SetPixel(c.DC(), 1, 1, kInk), kInk);
  EXPECT_EQ(GetPixel(c.DC(), 1, 1), kInk);
  EXPECT_EQ(SetPixel(c.DC(), 3, 3, kInk), CLR_INVALID);
  EXPECT_EQ(GetPixel(c.DC(), 3, 3), CLR_INVALID);
  EXPECT_EQ(c.Pixel(3, 3), kWhite);
  EXPECT_EQ(GetPixel(c.DC(), -1, 0), CLR_INVALID);
  RECT r{0, 0, 4, 4};
  EXPECT_FALSE(FillRect(c.DC(), &r, nullptr));
  EXPECT_FALSE(FillRect(nullptr, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_FALSE(LineTo(nullptr, 1, 1));
}

TEST(Draw, HatchBrushFollowsBrushOriginAndBackgroundMode) {
  TestCanvas c(8, 8);
  HBRUSH hatch = CreateHatchBrush(HS_CROSS, kInk);
  SetBkMode(c.DC(), TRANSPARENT);
  RECT r{0, 0, 8, 8};
  FillRect(c.DC(), &r, hatch);
  EXPECT_EQ(c.Mask(kInk), Picture(R"(
.......#
.......#
.......#
.......#
.......#
.......#
.......#
########
)"));
  EXPECT_EQ(c.Pixel(0, 0), kWhite);
  SetBkMode(c.DC(), OPAQUE);
  SetBkColor(c.DC(), RGB(0, 255, 0));
  FillRect(c.DC(), &r, hatch);
  EXPECT_EQ(c.Color(0, 0), RGB(0, 255, 0));
  DeleteObject(hatch);
}

TEST(Draw, RegionsFillAndFrame) {
  TestCanvas c(8, 6);
  HRGN rgn = CreateRectRgn(1, 1, 7, 5);
  HBRUSH red = CreateSolidBrush(kInk);
  FrameRgn(c.DC(), rgn, red, 2, 1);
  EXPECT_EQ(c.Mask(kInk), Picture(R"(
........
.######.
.##..##.
.##..##.
.######.
........
)"));
  SetViewportOrgEx(c.DC(), 1, 0, nullptr);
  c.Fill(kWhite);
  FillRgn(c.DC(), rgn, red);
  EXPECT_EQ(c.InkBounds(kWhite), (RECT{2, 1, 8, 5})) << "regions are drawn at logical coordinates";
  DeleteObject(rgn);
  DeleteObject(red);
}

}  // namespace
