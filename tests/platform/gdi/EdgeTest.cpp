#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>
#include <vector>

#include "support/Canvas.h"

namespace {

// A background no system colour uses, so untouched pixels stand out.
constexpr uint32_t kBack = 0xFF2050C0u;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF Sys(int index) { return GetSysColor(index); }

// The picture as letters: each pixel shows its colour's letter, '.' for the background
// and '?' for a colour not in the legend.
using Legend = std::vector<std::pair<char, COLORREF>>;
std::string Letters(const TestCanvas& c, const Legend& legend) {
  std::string out;
  for (int y = 0; y < c.Height(); ++y) {
    for (int x = 0; x < c.Width(); ++x) {
      char ch = c.Pixel(x, y) == kBack ? '.' : '?';
      for (const auto& [letter, color] : legend)
        if (ch == '?' && c.Color(x, y) == color) ch = letter;
      out += ch;
    }
    out += '\n';
  }
  return out;
}

Legend EdgeLegend() {
  return {{'L', Sys(COLOR_3DLIGHT)}, {'D', Sys(COLOR_3DDKSHADOW)}, {'H', Sys(COLOR_BTNHIGHLIGHT)},
          {'S', Sys(COLOR_BTNSHADOW)}, {'F', Sys(COLOR_BTNFACE)}};
}

// The box around the pixels of one colour inside an area (empty when there are none).
RECT Bounds(const TestCanvas& c, COLORREF color, RECT area) {
  RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (c.Color(x, y) == color) b = {std::min<LONG>(b.Left, x), std::min<LONG>(b.Top, y),
                                       std::max<LONG>(b.Right, x + 1), std::max<LONG>(b.Bottom, y + 1)};
  return b.Right < b.Left ? RECT{} : b;
}

int Count(const TestCanvas& c, COLORREF color, RECT area) {
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) n += c.Color(x, y) == color;
  return n;
}

// Tests that change the colour table put it back.
class SysColors : public ::testing::Test {
 protected:
  void TearDown() override { ResetSysColors(); }
  // Distinct colours, so a wrong entry cannot pass by sharing a value with the right one.
  static void UseDistinctColors() {
    for (int i = 0; i < SYS_COLOR_COUNT; ++i) SetSysColor(i, RGB(BYTE(10 + 7 * i), BYTE(200 - 5 * i), BYTE(3 * i)));
  }
};
class Edges : public SysColors {};
class FrameControls : public SysColors {};

// ---- system colours ----

TEST_F(SysColors, DefaultsAreTheWindows10Table) {
  const std::pair<int, COLORREF> table[] = {
      {COLOR_BTNFACE, RGB(0xF0, 0xF0, 0xF0)},       {COLOR_BTNSHADOW, RGB(0xA0, 0xA0, 0xA0)},
      {COLOR_3DDKSHADOW, RGB(0x69, 0x69, 0x69)},    {COLOR_BTNHIGHLIGHT, RGB(0xFF, 0xFF, 0xFF)},
      {COLOR_3DLIGHT, RGB(0xE3, 0xE3, 0xE3)},       {COLOR_WINDOW, RGB(0xFF, 0xFF, 0xFF)},
      {COLOR_WINDOWTEXT, RGB(0, 0, 0)},             {COLOR_HIGHLIGHT, RGB(0x00, 0x78, 0xD7)},
      {COLOR_HIGHLIGHTTEXT, RGB(0xFF, 0xFF, 0xFF)}, {COLOR_GRAYTEXT, RGB(0x6D, 0x6D, 0x6D)},
      {COLOR_BTNTEXT, RGB(0, 0, 0)},                {COLOR_ACTIVECAPTION, RGB(0x99, 0xB4, 0xD1)},
      {COLOR_INACTIVECAPTION, RGB(0xBF, 0xCD, 0xDB)}, {COLOR_CAPTIONTEXT, RGB(0, 0, 0)},
      {COLOR_INACTIVECAPTIONTEXT, RGB(0, 0, 0)},    {COLOR_MENU, RGB(0xF0, 0xF0, 0xF0)},
      {COLOR_MENUTEXT, RGB(0, 0, 0)},               {COLOR_MENUHILIGHT, RGB(0x00, 0x78, 0xD7)},
      {COLOR_MENUBAR, RGB(0xF0, 0xF0, 0xF0)},       {COLOR_INFOBK, RGB(0xFF, 0xFF, 0xE1)},
      {COLOR_INFOTEXT, RGB(0, 0, 0)},               {COLOR_HOTLIGHT, RGB(0x00, 0x66, 0xCC)},
      {COLOR_SCROLLBAR, RGB(0xC8, 0xC8, 0xC8)},     {COLOR_APPWORKSPACE, RGB(0xAB, 0xAB, 0xAB)},
      {COLOR_WINDOWFRAME, RGB(0x64, 0x64, 0x64)},   {COLOR_ACTIVEBORDER, RGB(0xB4, 0xB4, 0xB4)},
      {COLOR_INACTIVEBORDER, RGB(0xF4, 0xF7, 0xFC)}, {COLOR_BACKGROUND, RGB(0, 0, 0)},
      {COLOR_GRADIENTACTIVECAPTION, RGB(0xB9, 0xD1, 0xEA)},
      {COLOR_GRADIENTINACTIVECAPTION, RGB(0xD7, 0xE4, 0xF2)},
  };
  for (const auto& [index, color] : table) EXPECT_EQ(GetSysColor(index), color) << "index " << index;
  for (int bad : {-1, 25, SYS_COLOR_COUNT, INT_MAX, INT_MIN}) EXPECT_EQ(GetSysColor(bad), 0u) << bad;
}

TEST_F(SysColors, SetAndResetReachEarlierBrushes) {
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(face, nullptr);
  EXPECT_TRUE(face->System);
  EXPECT_EQ(face->Color, RGB(0xF0, 0xF0, 0xF0));

  SetSysColor(COLOR_BTNFACE, 0xAB123456);  // the top byte is not part of a colour
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0x123456u);
  LOGBRUSH lb;
  ASSERT_EQ(GetObject(face, sizeof lb, &lb), int(sizeof lb));
  EXPECT_EQ(lb.lbColor, 0x123456u);
  EXPECT_EQ(lb.lbStyle, BS_SOLID);
  // A brush first asked for after the change starts in the changed colour.
  SetSysColor(COLOR_INFOBK, RGB(1, 2, 3));
  EXPECT_EQ(GetSysColorBrush(COLOR_INFOBK)->Color, RGB(1, 2, 3));
  // Drawing picks up the table in force.
  TestCanvas c(4, 4, kBack);
  RECT r{0, 0, 4, 4};
  DrawEdge(c.DC(), &r, 0, BF_MIDDLE);
  EXPECT_EQ(c.Color(2, 2), 0x123456u);

  SetSysColor(-1, 0);  // ignored
  SetSysColor(SYS_COLOR_COUNT, 0);
  ResetSysColors();
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(face->Color, RGB(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(GetSysColorBrush(COLOR_INFOBK)->Color, RGB(0xFF, 0xFF, 0xE1));
}

TEST_F(SysColors, BrushesAreSharedAndSurviveDeleteObject) {
  HBRUSH b = GetSysColorBrush(COLOR_HIGHLIGHT);
  EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), b);
  EXPECT_NE(GetSysColorBrush(COLOR_WINDOW), b);
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BRUSH)) << "still alive after DeleteObject";
  // Selected, deleted and released again: still the same live brush.
  TestCanvas c(2, 2, kBack);
  HGDIOBJ old = SelectObject(c.DC(), b);
  EXPECT_TRUE(DeleteObject(b));
  SelectObject(c.DC(), old);
  EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BRUSH));
  EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), b);
  for (int bad : {-1, SYS_COLOR_COUNT, INT_MAX}) EXPECT_EQ(GetSysColorBrush(bad), nullptr) << bad;
}

// ---- DrawEdge ----

// The edges drawn on (1, 1)-(7, 6) of an 8 x 7 canvas.
TEST_F(Edges, EdgeKindsOnAllSides) {
  struct Case {
    UINT edge;
    const char* picture;
  };
  const Case cases[] = {
      {EDGE_RAISED, R"(
........
.LLLLLD.
.LHHHSD.
.LH..SD.
.LSSSSD.
.DDDDDD.
........
)"},
      {EDGE_SUNKEN, R"(
........
.SSSSSH.
.SDDDLH.
.SD..LH.
.SLLLLH.
.HHHHHH.
........
)"},
      {EDGE_ETCHED, R"(
........
.SSSSSH.
.SHHHSH.
.SH..SH.
.SSSSSH.
.HHHHHH.
........
)"},
      {EDGE_BUMP, R"(
........
.LLLLLD.
.LDDDLD.
.LD..LD.
.LLLLLD.
.DDDDDD.
........
)"},
  };
  for (const Case& k : cases) {
    TestCanvas c(8, 7, kBack);
    RECT r{1, 1, 7, 6};
    EXPECT_TRUE(DrawEdge(c.DC(), &r, k.edge, BF_RECT));
    EXPECT_EQ(Letters(c, EdgeLegend()), Picture(k.picture)) << "edge " << k.edge;
    EXPECT_EQ(r, (RECT{1, 1, 7, 6})) << "moved only with BF_ADJUST";
    EXPECT_EQ(c.Pixel(1, 1) >> 24, 0xFFu);
    SaveIfFailed(c, "edge" + std::to_string(k.edge));
  }
}

TEST_F(Edges, PartialSidesAndAdjustedRectangles) {
  struct Case {
    UINT edge, flags;
    const char* picture;
    RECT adjusted;
  };
  const Case cases[] = {
      {EDGE_RAISED, BF_TOP, R"(
........
.LLLLLL.
.HHHHHH.
........
........
........
........
)",
       {1, 3, 7, 6}},
      {EDGE_RAISED, BF_BOTTOMLEFT, R"(
........
.LH.....
.LH.....
.LH.....
.LSSSSS.
.DDDDDD.
........
)",
       {3, 1, 7, 4}},
      {EDGE_RAISED, BF_TOPRIGHT, R"(
........
.LLLLLD.
.HHHHSD.
.....SD.
.....SD.
.....SD.
........
)",
       {1, 3, 5, 6}},
      {BDR_RAISEDOUTER, BF_BOTTOMRIGHT, R"(
........
......D.
......D.
......D.
......D.
.DDDDDD.
........
)",
       {1, 1, 6, 5}},
      {BDR_SUNKENINNER, BF_RECT, R"(
........
.DDDDDL.
.D....L.
.D....L.
.D....L.
.LLLLLL.
........
)",
       {2, 2, 6, 5}},
      {EDGE_RAISED, BF_RECT, nullptr, {3, 3, 5, 4}},
      {EDGE_SUNKEN, BF_LEFT | BF_RIGHT, nullptr, {3, 1, 5, 6}},
      {0, BF_RECT, nullptr, {1, 1, 7, 6}},
  };
  for (const Case& k : cases) {
    TestCanvas c(8, 7, kBack);
    RECT r{1, 1, 7, 6};
    EXPECT_TRUE(DrawEdge(c.DC(), &r, k.edge, k.flags | BF_ADJUST));
    if (k.picture) {
      EXPECT_EQ(Letters(c, EdgeLegend()), Picture(k.picture)) << "edge " << k.edge << " flags " << k.flags;
    }
    EXPECT_EQ(r, k.adjusted) << "edge " << k.edge << " flags " << k.flags;
    SaveIfFailed(c, "flags" + std::to_string(k.flags));
  }
}

TEST_F(Edges, StylesPickTheirColoursAndMiddle) {
  struct Case {
    UINT edge, flags;
    int outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight, middle;  // -1: untouched
  };
  const Case cases[] = {
      {EDGE_RAISED, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, -1},
      {EDGE_RAISED, BF_RECT | BF_MIDDLE, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,
       COLOR_BTNFACE},
      {EDGE_RAISED, BF_RECT | BF_SOFT, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW, -1},
      {EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_MIDDLE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW,
       COLOR_3DLIGHT, COLOR_BTNFACE},
      {EDGE_RAISED, BF_RECT | BF_FLAT | BF_MIDDLE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE,
       COLOR_WINDOW},
      {EDGE_SUNKEN, BF_RECT | BF_MONO | BF_MIDDLE, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW,
       COLOR_WINDOW},
      {EDGE_RAISED, BF_RECT | BF_MONO | BF_FLAT, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW,
       -1},
  };
  UseDistinctColors();
  for (const Case& k : cases) {
    TestCanvas c(8, 7, kBack);
    RECT r{1, 1, 7, 6};
    DrawEdge(c.DC(), &r, k.edge, k.flags);
    auto expect = [&](int x, int y, int index, const char* what) {
      const COLORREF want = index < 0 ? ColorRefFromPixel(kBack) : Sys(index);
      EXPECT_EQ(c.Color(x, y), want) << what << ", flags " << k.flags << " edge " << k.edge;
    };
    expect(1, 1, k.outerTopLeft, "outer top-left");
    expect(6, 5, k.outerBottomRight, "outer bottom-right");
    expect(2, 2, k.innerTopLeft, "inner top-left");
    expect(5, 4, k.innerBottomRight, "inner bottom-right");
    expect(3, 3, k.middle, "middle");
    expect(4, 3, k.middle, "middle");
    SaveIfFailed(c, "style" + std::to_string(k.flags));
  }
}

TEST_F(Edges, DiagonalLinesAndTheSideTheyEnclose) {
  struct Case {
    UINT flags;
    const char* picture;
  };
  // A raised edge on (1, 1)-(7, 7) with BF_MIDDLE.
  const Case cases[] = {
      {BF_DIAGONAL_ENDTOPRIGHT, R"(
........
......L.
.....LH.
....LHF.
...LHFF.
..LHFFF.
.LHFFFF.
........
)"},
      {BF_DIAGONAL_ENDBOTTOMLEFT, R"(
........
.FFFFSD.
.FFFSD..
.FFSD...
.FSD....
.SD.....
.D......
........
)"},
      {BF_DIAGONAL_ENDBOTTOMRIGHT, R"(
........
.L......
.HL.....
.FHL....
.FFHL...
.FFFHL..
.FFFFHL.
........
)"},
      {BF_DIAGONAL_ENDTOPLEFT, R"(
........
.DSFFFF.
..DSFFF.
...DSFF.
....DSF.
.....DS.
......D.
........
)"},
  };
  for (const Case& k : cases) {
    TestCanvas c(8, 8, kBack);
    RECT r{1, 1, 7, 7};
    EXPECT_TRUE(DrawEdge(c.DC(), &r, EDGE_RAISED, k.flags | BF_MIDDLE));
    EXPECT_EQ(Letters(c, EdgeLegend()), Picture(k.picture)) << "flags " << k.flags;
    SaveIfFailed(c, "diagonal" + std::to_string(k.flags));
  }
  // A wide, shallow line stays one pixel thick on every column.
  TestCanvas c(12, 4, kBack);
  RECT r{0, 0, 12, 3};
  DrawEdge(c.DC(), &r, BDR_RAISEDOUTER, BF_DIAGONAL_ENDBOTTOMRIGHT);
  for (int x = 0; x < 12; ++x) EXPECT_EQ(Count(c, Sys(COLOR_3DLIGHT), {x, 0, x + 1, 4}), 1) << "column " << x;
  EXPECT_EQ(c.Mask(Sys(COLOR_3DLIGHT)), Picture(R"(
####........
....####....
........####
............
)"));
}

TEST_F(Edges, FollowsOriginsAndClip) {
  TestCanvas c(20, 20, kBack);
  SetViewportOrgEx(c.DC(), 5, 6, nullptr);
  IntersectClipRect(c.DC(), 0, 0, 4, 20);  // logical, through the viewport origin
  RECT r{0, 0, 8, 8};
  EXPECT_TRUE(DrawEdge(c.DC(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_EQ(c.Color(5, 6), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(c.Color(5, 13), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(c.Color(8, 9), Sys(COLOR_BTNFACE));
  EXPECT_EQ(c.InkBounds(kBack), (RECT{5, 6, 9, 14}));
  SaveIfFailed(c, "clip");
}

TEST_F(Edges, RefusesBadInputAndSurvivesExtremeRectangles) {
  TestCanvas c(10, 10, kBack);
  RECT r{0, 0, 5, 5};
  EXPECT_FALSE(DrawEdge(nullptr, &r, EDGE_RAISED, BF_RECT));
  EXPECT_FALSE(DrawEdge(c.DC(), nullptr, EDGE_RAISED, BF_RECT));
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  EXPECT_FALSE(DrawEdge(gone, &r, EDGE_RAISED, BF_RECT));
  EXPECT_EQ(c.InkBounds(kBack), RECT{});

  // Swapped corners draw nothing.
  RECT swapped{6, 6, 2, 2};
  EXPECT_TRUE(DrawEdge(c.DC(), &swapped, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_EQ(c.InkBounds(kBack), RECT{});

  // The whole plane: only the middle shows, and the adjusted edges do not wrap.
  RECT huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_TRUE(DrawEdge(c.DC(), &huge, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
  EXPECT_EQ(Count(c, Sys(COLOR_BTNFACE), {0, 0, 10, 10}), 100);
  EXPECT_EQ(huge, (RECT{INT_MIN + 2, INT_MIN + 2, INT_MAX - 2, INT_MAX - 2}));
  // A diagonal across a huge rectangle is only worked out where it can be seen.
  c.Fill(kBack);
  RECT far{-1000000000, -1000000000, 1000000000, 1000000000};
  EXPECT_TRUE(DrawEdge(c.DC(), &far, EDGE_SUNKEN, BF_DIAGONAL_ENDTOPLEFT | BF_MIDDLE));
  EXPECT_EQ(c.Color(3, 3), Sys(COLOR_BTNHIGHLIGHT)) << "the line runs through (0, 0)";
  EXPECT_EQ(c.Color(4, 3), Sys(COLOR_3DLIGHT)) << "inner line";
  EXPECT_EQ(c.Color(6, 3), Sys(COLOR_BTNFACE)) << "middle";
  EXPECT_EQ(c.Pixel(2, 3), kBack) << "the outside";
  // Extreme origins put everything out of reach.
  SetWindowOrgEx(c.DC(), INT_MIN + 1, 0, nullptr);
  c.Fill(kBack);
  r = {0, 0, 5, 5};
  EXPECT_TRUE(DrawEdge(c.DC(), &r, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_EQ(c.InkBounds(kBack), RECT{});
}

// ---- DrawFrameControl ----

TEST_F(FrameControls, PushButtonFaces) {
  struct Case {
    UINT state;
    int outerTopLeft, innerTopLeft, outerBottomRight, innerBottomRight, middle;
  };
  const Case cases[] = {
      {0, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE},
      {DFCS_PUSHED, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNFACE},
      {DFCS_CHECKED, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNFACE},
      {DFCS_FLAT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE},
      {DFCS_FLAT | DFCS_PUSHED, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE},
      {DFCS_MONO, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOWFRAME, COLOR_WINDOW, COLOR_WINDOW},
      {DFCS_TRANSPARENT, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW, -1},
  };
  UseDistinctColors();
  for (const Case& k : cases) {
    TestCanvas c(12, 10, kBack);
    RECT r{1, 1, 11, 9};
    EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | k.state));
    auto expect = [&](int x, int y, int index, const char* what) {
      EXPECT_EQ(c.Color(x, y), index < 0 ? ColorRefFromPixel(kBack) : Sys(index)) << what << ", state " << k.state;
    };
    expect(1, 1, k.outerTopLeft, "outer top-left");
    expect(2, 2, k.innerTopLeft, "inner top-left");
    expect(10, 8, k.outerBottomRight, "outer bottom-right");
    expect(9, 7, k.innerBottomRight, "inner bottom-right");
    expect(5, 5, k.middle, "middle");
    EXPECT_EQ(r, (RECT{1, 1, 11, 9}));
    SaveIfFailed(c, "push" + std::to_string(k.state));
  }
  TestCanvas c(12, 10, kBack);
  RECT r{1, 1, 11, 9};
  DrawFrameControl(c.DC(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(r, (RECT{3, 3, 9, 7}));
}

// A 13 x 13 check box at (1, 1): two-pixel sunken edge, interior from (3, 3), mark from (4, 4).
TEST_F(FrameControls, CheckBoxStates) {
  struct Case {
    UINT state;
    int interior, mark;  // mark -1: no mark
  };
  const Case cases[] = {
      {0, COLOR_WINDOW, -1},
      {DFCS_CHECKED, COLOR_WINDOW, COLOR_WINDOWTEXT},
      {DFCS_CHECKED | DFCS_INACTIVE, COLOR_BTNFACE, COLOR_GRAYTEXT},
      {DFCS_CHECKED | DFCS_PUSHED, COLOR_BTNFACE, COLOR_WINDOWTEXT},
      {DFCS_PUSHED, COLOR_BTNFACE, -1},
      {DFCS_BUTTON3STATE | DFCS_CHECKED, COLOR_WINDOW, COLOR_BTNSHADOW},
  };
  for (const Case& k : cases) {
    TestCanvas c(15, 15, kBack);
    RECT r{1, 1, 14, 14};
    EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | k.state));
    EXPECT_EQ(c.Color(1, 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(c.Color(2, 2), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.Color(13, 13), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.Color(12, 12), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(c.Color(3, 3), Sys(k.interior)) << "state " << k.state;
    const RECT inside{3, 3, 12, 12};
    if (k.mark < 0) {
      EXPECT_EQ(Count(c, Sys(k.interior), inside), 81) << "no mark, state " << k.state;
    } else {
      EXPECT_EQ(c.Mask(Sys(k.mark), {4, 4, 11, 11}), Picture(R"(
......#
.....##
#...###
##.###.
#####..
.###...
..#....
)")) << "state "
           << k.state;
      EXPECT_EQ(Bounds(c, Sys(k.mark), inside), (RECT{4, 4, 11, 11}));
    }
    SaveIfFailed(c, "check" + std::to_string(k.state));
  }
}

TEST_F(FrameControls, CheckMarkScalesWithTheBox) {
  int last = 0;
  for (int size : {9, 13, 16, 20, 31}) {
    TestCanvas c(size, size, kBack);
    RECT r{0, 0, size, size};
    DrawFrameControl(c.DC(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    const RECT mark = Bounds(c, kBlack, r);
    EXPECT_EQ(mark, (RECT{3, 3, size - 3, size - 3})) << "size " << size;
    const int ink = Count(c, kBlack, r);
    EXPECT_GT(ink, last) << "size " << size;
    last = ink;
  }
}

TEST_F(FrameControls, RadioButtonRingDotAndMasks) {
  for (UINT checked : {0u, DFCS_CHECKED}) {
    TestCanvas c(15, 15, kBack);
    RECT r{1, 1, 14, 14};
    EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | checked));
    EXPECT_EQ(c.Pixel(1, 1), kBack) << "round: the corners stay";
    EXPECT_EQ(c.Pixel(13, 13), kBack);
    EXPECT_EQ(c.Color(7, 1), Sys(COLOR_BTNSHADOW)) << "outer ring, top";
    EXPECT_EQ(c.Color(1, 7), Sys(COLOR_BTNSHADOW)) << "outer ring, left";
    EXPECT_EQ(c.Color(7, 13), Sys(COLOR_BTNHIGHLIGHT)) << "outer ring, bottom";
    EXPECT_EQ(c.Color(13, 7), Sys(COLOR_BTNHIGHLIGHT)) << "outer ring, right";
    EXPECT_EQ(c.Color(7, 2), Sys(COLOR_3DDKSHADOW)) << "inner ring, top";
    EXPECT_EQ(c.Color(7, 12), Sys(COLOR_3DLIGHT)) << "inner ring, bottom";
    const RECT dot = Bounds(c, Sys(COLOR_WINDOWTEXT), r);
    if (!checked) {
      EXPECT_EQ(dot, RECT{});
      EXPECT_EQ(c.Color(7, 7), Sys(COLOR_WINDOW));
    } else {
      ASSERT_FALSE(dot.IsEmpty());
      EXPECT_EQ(dot.Left - r.Left, r.Right - dot.Right) << "centred across";
      EXPECT_EQ(dot.Top - r.Top, r.Bottom - dot.Bottom) << "centred down";
      EXPECT_GE(dot.Width(), 3);
      EXPECT_LE(dot.Width(), 6);
      EXPECT_EQ(c.Color(7, 7), Sys(COLOR_WINDOWTEXT));
    }
    SaveIfFailed(c, "radio" + std::to_string(checked));
  }
  // The mask is black where the button is and white round it; the image is black round it.
  TestCanvas mask(13, 13, kBack), image(13, 13, kBack);
  RECT r{0, 0, 13, 13};
  DrawFrameControl(mask.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
  DrawFrameControl(image.DC(), &r, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED);
  EXPECT_EQ(Count(mask, kBlack, r) + Count(mask, kWhite, r), 13 * 13);
  for (POINT p : {POINT{0, 0}, POINT{12, 0}, POINT{0, 12}, POINT{12, 12}}) {
    EXPECT_EQ(mask.Color(p.X, p.Y), kWhite);
    EXPECT_EQ(image.Color(p.X, p.Y), kBlack);
  }
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x)
      if (mask.Color(x, y) == kWhite) {
        EXPECT_EQ(image.Color(x, y), kBlack) << x << "," << y;
      }
  EXPECT_EQ(mask.Color(6, 6), kBlack);
  EXPECT_EQ(mask.Color(6, 0), kBlack);
  EXPECT_EQ(image.Color(6, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(image.Color(6, 6), Sys(COLOR_WINDOWTEXT));
  EXPECT_EQ(image.Color(6, 3), Sys(COLOR_WINDOW));
  SaveIfFailed(mask, "mask");
  SaveIfFailed(image, "image");
}

// Ink run lengths of one colour, row by row (or column by column) across its bounds.
std::vector<int> Runs(const TestCanvas& c, COLORREF ink, const RECT& b, bool byRow) {
  std::vector<int> runs;
  const int n = byRow ? b.Height() : b.Width();
  for (int i = 0; i < n; ++i)
    runs.push_back(byRow ? Count(c, ink, {b.Left, b.Top + i, b.Right, b.Top + i + 1})
                         : Count(c, ink, {b.Left + i, b.Top, b.Left + i + 1, b.Bottom}));
  return runs;
}

TEST_F(FrameControls, ScrollArrowsPointTheirWay) {
  struct Case {
    UINT state;
    bool byRow;       // the arrow's runs go across rows (up, down) or columns
    bool apexFirst;   // the apex is the first row/column (up, left)
  };
  const Case cases[] = {
      {DFCS_SCROLLUP, true, true},
      {DFCS_SCROLLDOWN, true, false},
      {DFCS_SCROLLCOMBOBOX, true, false},
      {DFCS_SCROLLLEFT, false, true},
      {DFCS_SCROLLRIGHT, false, false},
  };
  const COLORREF ink = Sys(COLOR_BTNTEXT);
  for (const Case& k : cases)
    for (int size : {8, 13, 16, 17, 24, 40}) {
      TestCanvas c(size + 2, size + 2, kBack);
      RECT r{1, 1, size + 1, size + 1};
      EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_SCROLL, k.state));
      EXPECT_EQ(c.Color(1, 1), Sys(COLOR_3DLIGHT)) << "raised face";
      EXPECT_EQ(c.Color(size, size), Sys(COLOR_3DDKSHADOW));
      const RECT b = Bounds(c, ink, {3, 3, size - 1, size - 1});
      ASSERT_FALSE(b.IsEmpty()) << "state " << k.state << " size " << size;
      EXPECT_EQ(Count(c, ink, {0, 0, size + 2, size + 2}), Count(c, ink, b)) << "all ink inside the face";
      // Centred to the pixel (a leftover odd pixel on the right or bottom).
      EXPECT_LE(std::abs((b.Left + b.Right) - (r.Left + r.Right)), 1) << k.state << " size " << size;
      EXPECT_LE(std::abs((b.Top + b.Bottom) - (r.Top + r.Bottom)), 1) << k.state << " size " << size;
      std::vector<int> runs = Runs(c, ink, b, k.byRow);
      if (!k.apexFirst) std::reverse(runs.begin(), runs.end());
      EXPECT_EQ(runs.front(), 1) << "apex, state " << k.state << " size " << size;
      for (size_t i = 1; i < runs.size(); ++i) EXPECT_EQ(runs[i], runs[i - 1] + 2) << k.state << " size " << size;
      EXPECT_GE(int(runs.size()) * 4, size - 1) << "depth follows the size";
      SaveIfFailed(c, "arrow" + std::to_string(k.state) + "_" + std::to_string(size));
    }
}

TEST_F(FrameControls, ScrollArrowPushedAndInactive) {
  const COLORREF ink = Sys(COLOR_BTNTEXT);
  TestCanvas normal(18, 18, kBack), pushed(18, 18, kBack), inactive(18, 18, kBack);
  RECT r{1, 1, 17, 17};
  DrawFrameControl(normal.DC(), &r, DFC_SCROLL, DFCS_SCROLLRIGHT);
  DrawFrameControl(pushed.DC(), &r, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_PUSHED);
  DrawFrameControl(inactive.DC(), &r, DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE);
  const RECT all{0, 0, 18, 18}, inside{3, 3, 15, 15};
  RECT moved = Bounds(normal, ink, all);
  OffsetRect(&moved, 1, 1);
  EXPECT_EQ(Bounds(pushed, ink, all), moved) << "pushed arrow moves one pixel down and right";
  EXPECT_EQ(Count(pushed, ink, all), Count(normal, ink, all));
  // Pushed: the edge flattens to one shadow line round the face.
  EXPECT_EQ(pushed.Color(1, 1), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(pushed.Color(16, 16), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(pushed.Color(2, 2), Sys(COLOR_BTNFACE));
  // Inactive: a shadow arrow where the ink was, over a highlight copy one pixel further.
  EXPECT_EQ(Count(inactive, ink, all), 0);
  EXPECT_EQ(Bounds(inactive, Sys(COLOR_BTNSHADOW), inside), Bounds(normal, ink, all));
  EXPECT_EQ(Count(inactive, Sys(COLOR_BTNSHADOW), inside), Count(normal, ink, all));
  const RECT light = Bounds(inactive, Sys(COLOR_BTNHIGHLIGHT), inside);
  EXPECT_EQ(light.Right, moved.Right);
  EXPECT_EQ(light.Bottom, moved.Bottom);
  SaveIfFailed(pushed, "pushed");
  SaveIfFailed(inactive, "inactive");
}

TEST_F(FrameControls, SizeGripLinesRunDiagonally) {
  for (UINT right : {0u, DFCS_SCROLLSIZEGRIPRIGHT}) {
    TestCanvas c(16, 16, kBack);
    RECT r{0, 0, 16, 16};
    EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_SCROLL, right ? right : DFCS_SCROLLSIZEGRIP));
    const COLORREF shadow = Sys(COLOR_BTNSHADOW), light = Sys(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(Count(c, shadow, r) + Count(c, light, r) + Count(c, Sys(COLOR_BTNFACE), r), 256);
    EXPECT_GT(Count(c, shadow, r), 0);
    EXPECT_GT(Count(c, light, r), 0);
    EXPECT_EQ(c.Color(2, 2), Sys(COLOR_BTNFACE)) << "lines stay in the corner";
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        // Every line keeps one colour along the diagonal leading away from its corner.
        const int nx = right ? x - 1 : x + 1;
        if (nx < 0 || nx > 15 || y == 0) continue;
        EXPECT_EQ(c.Color(x, y), c.Color(nx, y - 1)) << x << "," << y << " grip " << right;
      }
    // Along the bottom row from the grip's corner: three groups of face, two shadow
    // lines and a highlight, then face.
    std::string fromCorner;
    for (int i = 0; i < 16; ++i) {
      const COLORREF px = c.Color(right ? i : 15 - i, 15);
      fromCorner += px == shadow ? 'S' : px == light ? 'H' : 'F';
    }
    EXPECT_EQ(fromCorner, "FSSHFSSHFSSHFFFF") << "grip " << right;
    SaveIfFailed(c, "grip" + std::to_string(right));
  }
}

std::string InkPicture(const TestCanvas& c, COLORREF ink) {
  return c.Mask(ink, Bounds(c, ink, {0, 0, c.Width(), c.Height()}));
}

std::string Mirrored(const std::string& picture, bool across) {
  std::vector<std::string> rows;
  size_t at = 0;
  while (at < picture.size()) {
    const size_t end = picture.find('\n', at);
    rows.push_back(picture.substr(at, end - at));
    at = end + 1;
  }
  if (across)
    for (auto& row : rows) std::reverse(row.begin(), row.end());
  else
    std::reverse(rows.begin(), rows.end());
  std::string out;
  for (auto& row : rows) out += row + "\n";
  return out;
}

TEST_F(FrameControls, CaptionGlyphs) {
  const COLORREF ink = Sys(COLOR_BTNTEXT);
  std::vector<std::string> seen;
  for (UINT kind : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
    TestCanvas c(18, 16, kBack);
    RECT r{1, 1, 17, 15};
    EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_CAPTION, kind));
    EXPECT_EQ(c.Color(1, 1), Sys(COLOR_3DLIGHT));
    const RECT b = Bounds(c, ink, {3, 3, 15, 13});
    ASSERT_FALSE(b.IsEmpty()) << kind;
    EXPECT_EQ(Count(c, ink, {0, 0, 18, 16}), Count(c, ink, b)) << kind;
    const std::string picture = InkPicture(c, ink);
    for (const std::string& other : seen) EXPECT_NE(picture, other) << "every glyph differs, " << kind;
    seen.push_back(picture);
    switch (kind) {
      case DFCS_CAPTIONCLOSE:
        EXPECT_EQ(picture, Mirrored(picture, true)) << picture;
        EXPECT_EQ(picture, Mirrored(picture, false)) << picture;
        EXPECT_EQ(b.Width(), b.Height());
        EXPECT_EQ(c.Color((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2), ink) << "strokes cross in the middle";
        break;
      case DFCS_CAPTIONMIN:
        EXPECT_GT(b.Width(), b.Height()) << "a bar";
        EXPECT_GT(b.Top, (r.Top + r.Bottom) / 2) << "low in the button";
        break;
      case DFCS_CAPTIONMAX:
        EXPECT_EQ(b.Width(), b.Height());
        EXPECT_EQ(Count(c, ink, {b.Left, b.Top, b.Right, b.Top + 2}), 2 * b.Width()) << "thick top";
        EXPECT_EQ(Count(c, ink, {b.Left + 1, b.Top + 2, b.Right - 1, b.Bottom - 1}), 0) << "hollow";
        EXPECT_EQ(Count(c, ink, {b.Left, b.Bottom - 1, b.Right, b.Bottom}), b.Width()) << "bottom line";
        break;
      case DFCS_CAPTIONRESTORE:
        EXPECT_EQ(c.Color(b.Right - 1, b.Top), ink) << "back box at the top right";
        EXPECT_EQ(c.Color(b.Left, b.Bottom - 1), ink) << "front box at the bottom left";
        EXPECT_NE(c.Color(b.Left, b.Top), ink);
        EXPECT_NE(c.Color(b.Right - 1, b.Bottom - 1), ink);
        break;
      default:
        EXPECT_NE(c.Color((b.Left + b.Right) / 2 - 1, b.Bottom - 1), c.Color((b.Left + b.Right) / 2 - 1, b.Bottom - 2))
            << "the dot stands apart from the hook";
        break;
    }
    SaveIfFailed(c, "caption" + std::to_string(kind));
  }
}

TEST_F(FrameControls, CaptionPushedAndInactive) {
  const COLORREF ink = Sys(COLOR_BTNTEXT);
  TestCanvas normal(18, 16, kBack), pushed(18, 16, kBack), inactive(18, 16, kBack);
  RECT r{1, 1, 17, 15};
  DrawFrameControl(normal.DC(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE);
  DrawFrameControl(pushed.DC(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED);
  DrawFrameControl(inactive.DC(), &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE);
  const RECT all{0, 0, 18, 16};
  RECT moved = Bounds(normal, ink, all);
  OffsetRect(&moved, 1, 1);
  EXPECT_EQ(Bounds(pushed, ink, all), moved);
  EXPECT_EQ(pushed.Color(1, 1), Sys(COLOR_3DDKSHADOW)) << "pushed in";
  EXPECT_EQ(pushed.Color(16, 14), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Count(inactive, ink, all), 0);
  EXPECT_EQ(Bounds(inactive, Sys(COLOR_BTNSHADOW), {3, 3, 15, 13}), Bounds(normal, ink, all));
  EXPECT_GT(Count(inactive, Sys(COLOR_BTNHIGHLIGHT), {3, 3, 15, 13}), 0);
}

TEST_F(FrameControls, MenuMarksAreBlackOnWhite) {
  struct Case {
    UINT state;
    int apex;  // 0: not an arrow, 1: points right, -1: points left
  };
  const Case cases[] = {{DFCS_MENUCHECK, 0}, {DFCS_MENUBULLET, 0}, {DFCS_MENUARROW, 1}, {DFCS_MENUARROWRIGHT, -1}};
  // Colours that would show if the marks used the table.
  for (int i = 0; i < SYS_COLOR_COUNT; ++i) SetSysColor(i, RGB(90, 100, BYTE(110 + i)));
  std::vector<std::string> seen;
  for (const Case& k : cases)
    for (int size : {13, 16}) {
      TestCanvas c(size + 4, size + 4, kBack);
      RECT r{2, 2, size + 2, size + 2};
      EXPECT_TRUE(DrawFrameControl(c.DC(), &r, DFC_MENU, k.state));
      const int black = Count(c, kBlack, r);
      EXPECT_GT(black, 2) << k.state;
      EXPECT_EQ(black + Count(c, kWhite, r), size * size) << "state " << k.state;
      EXPECT_EQ(c.InkBounds(kBack), r) << "nothing outside";
      const RECT b = Bounds(c, kBlack, r);
      EXPECT_LE(std::abs((b.Left + b.Right) - (r.Left + r.Right)), 1) << "centred, state " << k.state;
      EXPECT_LE(std::abs((b.Top + b.Bottom) - (r.Top + r.Bottom)), 1) << "centred, state " << k.state;
      if (k.apex != 0) {
        std::vector<int> runs = Runs(c, kBlack, b, false);
        if (k.apex < 0) std::reverse(runs.begin(), runs.end());
        EXPECT_GT(runs.front(), 1);
        EXPECT_EQ(runs.back(), 1) << "apex on the " << (k.apex > 0 ? "right" : "left");
      }
      if (size == 16) {
        const std::string picture = InkPicture(c, kBlack);
        for (const std::string& other : seen) EXPECT_NE(picture, other) << k.state;
        seen.push_back(picture);
      }
      SaveIfFailed(c, "menu" + std::to_string(k.state));
    }
}

TEST_F(FrameControls, RefusesBadInput) {
  TestCanvas c(20, 20, kBack);
  RECT r{0, 0, 16, 16};
  EXPECT_FALSE(DrawFrameControl(nullptr, &r, DFC_BUTTON, DFCS_BUTTONPUSH));
  EXPECT_FALSE(DrawFrameControl(c.DC(), nullptr, DFC_BUTTON, DFCS_BUTTONPUSH));
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  EXPECT_FALSE(DrawFrameControl(gone, &r, DFC_BUTTON, DFCS_BUTTONPUSH));
  EXPECT_FALSE(DrawFrameControl(c.DC(), &r, 0, 0));
  EXPECT_FALSE(DrawFrameControl(c.DC(), &r, 9, 0));
  EXPECT_FALSE(DrawFrameControl(c.DC(), &r, DFC_SCROLL, 4));
  EXPECT_FALSE(DrawFrameControl(c.DC(), &r, DFC_CAPTION, 7));
  EXPECT_FALSE(DrawFrameControl(c.DC(), &r, DFC_MENU, 3));
  RECT huge{0, 0, 100000, 16};
  EXPECT_FALSE(DrawFrameControl(c.DC(), &huge, DFC_SCROLL, DFCS_SCROLLUP));
  RECT far{INT_MIN, 0, INT_MIN + 16, 16};
  EXPECT_FALSE(DrawFrameControl(c.DC(), &far, DFC_CAPTION, DFCS_CAPTIONCLOSE));
  EXPECT_EQ(c.InkBounds(kBack), RECT{});
  // The largest control accepted, centred on the canvas: its dot covers all of it.
  RECT largest{-16000, -16000, 16767, 16767};
  EXPECT_TRUE(DrawFrameControl(c.DC(), &largest, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
  EXPECT_EQ(Count(c, Sys(COLOR_WINDOWTEXT), {0, 0, 20, 20}), 400);
  c.Fill(kBack);
  // Empty and tiny rectangles are drawn as far as they go.
  RECT empty{5, 5, 5, 9};
  EXPECT_TRUE(DrawFrameControl(c.DC(), &empty, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
  EXPECT_EQ(c.InkBounds(kBack), RECT{});
  for (UINT kind : {DFC_BUTTON, DFC_SCROLL, DFC_CAPTION, DFC_MENU})
    for (UINT state : {0u, 1u, 2u, 4u, DFCS_BUTTONPUSH | DFCS_PUSHED, DFCS_CHECKED, DFCS_INACTIVE})
      for (int size = 1; size <= 5; ++size) {
        RECT tiny{3, 3, 3 + size, 3 + size};
        DrawFrameControl(c.DC(), &tiny, kind, state);
        const RECT ink = c.InkBounds(kBack);
        if (ink.IsEmpty()) continue;
        EXPECT_GE(ink.Left, 3) << kind << "/" << state << " size " << size;
        EXPECT_GE(ink.Top, 3);
        EXPECT_LE(ink.Right, 3 + size);
        EXPECT_LE(ink.Bottom, 3 + size);
        c.Fill(kBack);
      }
}

}  // namespace
