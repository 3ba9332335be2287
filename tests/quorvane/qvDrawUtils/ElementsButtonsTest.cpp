// Frames, separators and button faces: nested 3-D rings, the joints of segmented and split
// buttons, focus marks, and the combo and up buttons' special geometry.
#include <gtest/gtest.h>

#include "ElementsSupport.h"
#include "qvDrawUtils/Elements.h"

using namespace elements_test;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// The separator's shadow and highlight as the look gives them.
uint32_t SeparatorPixel(Look look, TColor color) {
  const TColor c = look == lkClassic ? ColorToRGB(color) : StyleServices()->GetSystemColor(color);
  return PixelFromColorRef(COLORREF(ColorToRGB(c)));
}

// Compares a face with separators against the same face without them: the separator's
// two columns over rows Top+2 .. Bottom-3 are the shadow and highlight blended at 125 over
// the face; every other pixel is the face's.
struct Joint {
  int X;  // the shadow column; the highlight is X + 1
};
void ExpectFaceWithJoints(const TestCanvas& actual, const TestCanvas& face, const TRect& band,
                          const std::vector<Joint>& joints, Look look, const std::string& what) {
  const uint32_t shadow = SeparatorPixel(look, clBtnShadow), highlight = SeparatorPixel(look, clBtnHighlight);
  int bad = 0;
  for (int y = 0; y < actual.Height(); ++y)
    for (int x = 0; x < actual.Width(); ++x) {
      uint32_t expected = face.Pixel(x, y);
      if (y >= band.Top && y < band.Bottom)
        for (const Joint& j : joints) {
          if (x == j.X) expected = BlendOpaque(shadow, face.Pixel(x, y), 125);
          if (x == j.X + 1) expected = BlendOpaque(highlight, face.Pixel(x, y), 125);
        }
      if (!Near(actual.Pixel(x, y), expected) && bad++ < 3)
        ADD_FAILURE() << what << " (" << LookName(look) << ") at " << x << "," << y << ": " << Hex(actual.Pixel(x, y))
                      << ", expected " << Hex(expected);
    }
  SaveIfFailed(actual, std::string("joints_") + LookName(look));
}

}  // namespace

TEST_F(ElementsTest, TwoFrame3DCallsDrawNestedRingsAndShrinkTheRectangle) {
  Painted p(10, 8, kWhite);
  TRect r{1, 1, 9, 7};
  DrawFrame3D(&p.Canvas, r, clRed, clBlue);
  DrawFrame3D(&p.Canvas, r, clLime, clBlack);
  EXPECT_EQ(r, (TRect{3, 3, 7, 5}));
  EXPECT_EQ(p.Pixels.Mask(COLORREF(clRed)), Picture(R"(
..........
.#######..
.#........
.#........
.#........
.#........
..........
..........
)"));
  EXPECT_EQ(p.Pixels.Mask(COLORREF(clBlue)), Picture(R"(
..........
........#.
........#.
........#.
........#.
........#.
.########.
..........
)"));
  EXPECT_EQ(p.Pixels.Mask(COLORREF(clLime)), Picture(R"(
..........
..........
..#####...
..#.......
..#.......
..........
..........
..........
)"));
  EXPECT_EQ(p.Pixels.Mask(COLORREF(clBlack)), Picture(R"(
..........
..........
.......#..
.......#..
.......#..
..######..
..........
..........
)"));
  SaveIfFailed(p.Pixels, "rings");
}

TEST_F(ElementsTest, Frame3DResolvesSystemColoursThroughTheActiveStyle) {
  for (Look look : {lkStyled, lkClassic}) {
    SetLook(look);
    Painted p(6, 6, kWhite);
    TRect r{0, 0, 6, 6};
    DrawFrame3D(&p.Canvas, r, clBtnShadow, clBtnShadow);
    EXPECT_EQ(p.Pixels.Color(0, 3), COLORREF(ColorToRGB(clBtnShadow))) << LookName(look);
  }
}

TEST_F(ElementsTest, SegmentedFacesMarkEachJointAndReachIntoTheirNeighbours) {
  struct Case {
    int Segment;
    bool LeftJoint, RightJoint;
    int ReachLeft, ReachRight;
  };
  const Case cases[] = {{0, false, false, 0, 0}, {1, false, true, 0, 20}, {2, true, true, 20, 20},
                        {3, true, false, 20, 0}};
  const TRect rect{30, 4, 70, 28};
  for (Look look : {lkStyled, lkThemed, lkClassic}) {
    SetLook(look);
    for (bool tool : {false, true})
      for (const Case& c : cases) {
        Painted actual(100, 32, kWhite), face(100, 32, kWhite);
        const TRect reach{rect.Left - c.ReachLeft, rect.Top, rect.Right + c.ReachRight, rect.Bottom};
        if (tool) {
          DrawSegmentedToolButtonFace(&actual.Canvas, rect, qvsHot, c.Segment);
          DrawToolButtonFace(&face.Canvas, reach, qvsHot);
        } else {
          DrawSegmentedButtonFace(&actual.Canvas, rect, qvsNormal, 1, c.Segment, false);
          DrawPushButtonFace(&face.Canvas, reach, qvsNormal, 1, false);
        }
        std::vector<Joint> joints;
        if (c.LeftJoint) joints.push_back({rect.Left - 1});
        if (c.RightJoint) joints.push_back({rect.Right - 1});
        ExpectFaceWithJoints(actual.Pixels, face.Pixels, {0, rect.Top + 2, 100, rect.Bottom - 2}, joints, look,
                             std::string(tool ? "tool" : "push") + " segment " + std::to_string(c.Segment));
      }
  }
}

TEST_F(ElementsTest, SplitToolButtonsShowTheirSeparatorOnlyWhenActiveAndPushButtonsAlways) {
  struct Case {
    bool Tool;
    TqvsCtrlState State;
    bool Separator;
  };
  const Case cases[] = {{false, qvsNormal, true},   {false, qvsHot, true},     {false, qvsPressed, true},
                        {false, qvsFocused, true},  {false, qvsDisabled, true}, {true, qvsNormal, false},
                        {true, qvsHot, true},       {true, qvsPressed, true},   {true, qvsFocused, true},
                        {true, qvsDisabled, false}};
  const TRect rect{4, 4, 64, 28};
  const int dropDown = 16;
  for (Look look : {lkStyled, lkThemed, lkClassic}) {
    SetLook(look);
    for (const Case& c : cases) {
      Painted actual(68, 32, kWhite), face(68, 32, kWhite);
      if (c.Tool) {
        DrawSplitToolButtonFace(&actual.Canvas, rect, c.State, dropDown, false);
        DrawToolButtonFace(&face.Canvas, rect, c.State);
      } else {
        DrawSplitPushButtonFace(&actual.Canvas, rect, c.State, dropDown, false);
        DrawPushButtonFace(&face.Canvas, rect, c.State, 1, false);
      }
      std::vector<Joint> joints;
      if (c.Separator) joints.push_back({rect.Right - dropDown});
      ExpectFaceWithJoints(actual.Pixels, face.Pixels, {0, rect.Top + 2, 68, rect.Bottom - 2}, joints, look,
                           std::string(c.Tool ? "tool" : "push") + " state " + std::to_string(c.State));
    }
  }
}

// While its drop-down part is pressed, the main part shows hot and the drop-down part
// pressed, each cut from a face over the whole button.
TEST_F(ElementsTest, SplitButtonWithPressedDropDownJoinsAHotAndAPressedFace) {
  const TRect rect{4, 4, 64, 28};
  const int dropDown = 16, split = rect.Right - dropDown;
  for (Look look : {lkStyled, lkThemed, lkClassic}) {
    SetLook(look);
    for (bool tool : {false, true}) {
      Painted actual(68, 32, kWhite), hot(68, 32, kWhite), pressed(68, 32, kWhite), joined(68, 32, kWhite);
      if (tool) {
        DrawSplitToolButtonFace(&actual.Canvas, rect, qvsNormal, dropDown, true);
        DrawToolButtonFace(&hot.Canvas, rect, qvsHot);
        DrawToolButtonFace(&pressed.Canvas, rect, qvsPressed);
      } else {
        DrawSplitPushButtonFace(&actual.Canvas, rect, qvsNormal, dropDown, true);
        DrawPushButtonFace(&hot.Canvas, rect, qvsHot, 1, false);
        DrawPushButtonFace(&pressed.Canvas, rect, qvsPressed, 1, false);
      }
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 68; ++x)
          joined.Pixels.Pixels().At(x, y) = x < split || y < rect.Top || y >= rect.Bottom || x >= rect.Right
                                                ? hot.Pixels.Pixel(x, y)
                                                : pressed.Pixels.Pixel(x, y);
      // The tool variant's separator follows State, which is normal here.
      std::vector<Joint> joints;
      if (!tool) joints.push_back({split});
      ExpectFaceWithJoints(actual.Pixels, joined.Pixels, {0, rect.Top + 2, 68, rect.Bottom - 2}, joints, look,
                           tool ? "tool" : "push");
    }
  }
}

TEST_F(ElementsTest, SplitSeparatorStaysInsideANarrowButton) {
  for (int dropDown : {0, 1}) {
    Painted p(40, 30, 0xFF13579Bu);
    DrawSplitPushButtonFace(&p.Canvas, {5, 5, 35, 25}, qvsNormal, dropDown, false);
    EXPECT_EQ(p.Pixels.InkBounds(0xFF13579Bu), (TRect{5, 5, 35, 25})) << dropDown;
  }
}

// The split faces clip while they draw: the caller's clip comes back as it was, or none.
TEST_F(ElementsTest, SplitFacesGiveTheCallersClipBack) {
  for (bool callerClip : {false, true}) {
    Painted p(70, 30, kWhite);
    if (callerClip) IntersectClipRect(p.Pixels.DC(), 3, 2, 40, 20);
    TRect before{};
    GetClipBox(p.Pixels.DC(), &before);
    DrawSplitPushButtonFace(&p.Canvas, {4, 4, 64, 28}, qvsHot, 16, true);
    DrawSplitToolButtonFace(&p.Canvas, {4, 4, 64, 28}, qvsHot, 16, true);
    TRect after{};
    GetClipBox(p.Pixels.DC(), &after);
    EXPECT_EQ(after, before) << callerClip;
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(p.Pixels.DC(), rgn), callerClip ? 1 : 0);
    DeleteObject(rgn);
  }
}

// The dotted focus mark: with the system style and in classic mode only, 3 pixels inside,
// a second ring inside the first from scale 1.5.
TEST_F(ElementsTest, PushButtonFocusMarkShowsWithTheSystemStyleAndInClassicMode) {
  struct Case {
    elements_test::Look Look;
    double Scale;
    bool Mark;
    bool SecondRing;
  };
  const Case cases[] = {{lkStyled, 1, false, false}, {lkThemed, 1, true, false}, {lkThemed, 1.5, true, true},
                        {lkClassic, 1, true, false}};
  const TRect rect{2, 2, 50, 26};
  for (const Case& c : cases) {
    SetLook(c.Look);
    Painted plain(52, 28, kWhite), focused(52, 28, kWhite);
    focused->Font()->SetColor(clRed);
    DrawPushButtonFace(&plain.Canvas, rect, qvsFocused, c.Scale, false);
    DrawPushButtonFace(&focused.Canvas, rect, qvsFocused, c.Scale, true);
    // Differences on the ring 3 pixels in, on the ring 4 pixels in, and anywhere else.
    int outer = 0, inner = 0, elsewhere = 0;
    auto onRing = [&](int x, int y, int inset) {
      const TRect r{rect.Left + inset, rect.Top + inset, rect.Right - inset, rect.Bottom - inset};
      return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom &&
             (x == r.Left || x == r.Right - 1 || y == r.Top || y == r.Bottom - 1);
    };
    for (int y = 0; y < 28; ++y)
      for (int x = 0; x < 52; ++x) {
        if (plain.Pixels.Pixel(x, y) == focused.Pixels.Pixel(x, y)) continue;
        ++(onRing(x, y, 3) ? outer : onRing(x, y, 4) ? inner : elsewhere);
      }
    EXPECT_EQ(outer > 0, c.Mark) << LookName(c.Look) << " " << c.Scale;
    EXPECT_EQ(inner > 0, c.SecondRing) << LookName(c.Look) << " " << c.Scale;
    EXPECT_EQ(elsewhere, 0) << LookName(c.Look) << " " << c.Scale;
    SaveIfFailed(focused.Pixels, LookName(c.Look));
  }
}

TEST_F(ElementsTest, ComboButtonInAComboCoversTheBordersWithTheSystemStyleOnly) {
  struct Case {
    elements_test::Look Look;
    bool RightToLeft;
    bool InCombo;
    TRect Expected;
  };
  const TRect rect{10, 10, 27, 31};
  const Case cases[] = {
      {lkThemed, false, true, {10, 9, 28, 32}},  {lkThemed, true, true, {9, 9, 27, 32}},
      {lkThemed, false, false, rect},            {lkStyled, false, true, rect},
      {lkClassic, false, true, rect},
  };
  for (const Case& c : cases) {
    SetLook(c.Look);
    Painted p(40, 40, 0u);
    DrawComboButton(&p.Canvas, rect, qvsPressed, c.RightToLeft, c.InCombo);
    EXPECT_EQ(p.Pixels.InkBounds(0u), c.Expected) << LookName(c.Look) << " rtl " << c.RightToLeft;
    SaveIfFailed(p.Pixels, LookName(c.Look));
  }
}

// A low up button takes its top two rows from a button 10 pixels high.
TEST_F(ElementsTest, LowUpButtonTakesItsTopRowsFromAFullHeightButton) {
  SetLook(lkThemed);
  const TRect rect{2, 2, 19, 10};  // 8 high
  Painted actual(21, 14, kWhite), low(21, 14, kWhite), full(21, 14, kWhite);
  DrawUpButton(&actual.Canvas, rect, qvsHot);
  StyleServices()->DrawElement(low.Pixels.DC(), StyleServices()->GetElementDetails(tsUpHot), rect);
  StyleServices()->DrawElement(full.Pixels.DC(), StyleServices()->GetElementDetails(tsUpHot), {2, 2, 19, 12});
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 21; ++x) {
      const bool top = y >= 2 && y < 4 && x >= 2 && x < 19;
      ASSERT_EQ(actual.Pixels.Pixel(x, y), top ? full.Pixels.Pixel(x, y) : low.Pixels.Pixel(x, y)) << x << "," << y;
    }
  // The same button 10 high draws the element once.
  Painted tall(21, 14, kWhite);
  DrawUpButton(&tall.Canvas, {2, 2, 19, 12}, qvsHot);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 21; ++x) ASSERT_EQ(tall.Pixels.Pixel(x, y), full.Pixels.Pixel(x, y)) << x << "," << y;
}
