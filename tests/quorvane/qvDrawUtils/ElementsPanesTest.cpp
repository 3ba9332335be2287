// Selections and other blended elements, the progress bar, and tabs.
#include <gtest/gtest.h>

#include <functional>

#include "ElementsSupport.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"

using namespace elements_test;

namespace {

constexpr uint32_t kGround = 0xFF336699u;

// The element as it comes out of the style: premultiplied pixels over transparency.
std::unique_ptr<TestCanvas> ElementAlone(const TThemedElementDetails& d, int w, int h, const TRect& r) {
  auto c = std::make_unique<TestCanvas>(w, h, 0u);
  StyleServices()->DrawElement(c->DC(), d, r);
  return c;
}

uint32_t Pixel(TColor c) { return PixelFromColorRef(COLORREF(ColorToRGB(c))); }

}  // namespace

// Each blended routine: the element drawn into a transparent bitmap and composited with
// a constant opacity, or, where the look has no element, clHighlight filled and blended.
TEST_F(ElementsTest, BlendedElementsComeOutAsTheElementAtTheirOpacity) {
  using Draw = std::function<void(TCanvas*, const TRect&)>;
  struct Case {
    const char* Name;
    elements_test::Look Look;
    Draw Routine;
    TThemedElementDetails Element;  // teButton 0 0: a clHighlight fill
    int Alpha;
  };
  auto details = [](auto e) { return StyleServices()->GetElementDetails(e); };
  SetLook(lkThemed);
  const TThemedElementDetails fill{};
  const Case cases[] = {
      // An unfocused item without focus display in a custom style is translucent ...
      {"unfocused selection", lkStyled, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, false, false); },
       details(tgCellSelected), 175},
      // ... and in classic mode a clHighlight fill at 200.
      {"unfocused selection", lkClassic, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, false, false); }, fill,
       200},
      {"focused selection", lkClassic, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, true, false); }, fill, 255},
      {"selection with focus display", lkClassic,
       [](TCanvas* c, const TRect& r) { DrawSelection(c, r, false, true); }, fill, 255},
      {"focused selection", lkStyled, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, true, false); },
       details(tgCellSelected), 255},
      {"focused selection", lkThemed, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, true, false); },
       details(tmcGridCellBackgroundSelected), 255},
      {"unfocused selection", lkThemed, [](TCanvas* c, const TRect& r) { DrawSelection(c, r, false, false); },
       details(tmcGridCellBackgroundSelectedNotFocused), 255},
      {"selection alpha", lkThemed, [](TCanvas* c, const TRect& r) { DrawSelectionAlpha(c, r, 90); },
       details(tmcGridCellBackgroundSelected), 90},
      {"selection alpha", lkStyled, [](TCanvas* c, const TRect& r) { DrawSelectionAlpha(c, r, 90); },
       details(tgCellSelected), 90},
      {"selection alpha", lkClassic, [](TCanvas* c, const TRect& r) { DrawSelectionAlpha(c, r, 90); }, fill, 90},
      {"menu highlight", lkStyled, [](TCanvas* c, const TRect& r) { DrawMenuHighlightAlpha(c, r, 50); },
       details(tmPopupItemHot), 50},
      {"menu highlight", lkClassic, [](TCanvas* c, const TRect& r) { DrawMenuHighlightAlpha(c, r, 50); }, fill, 50},
      {"disabled tab", lkThemed, [](TCanvas* c, const TRect& r) { DrawTabItem(c, r, qvsDisabled); },
       details(ttTabItemNormal), 150},
      {"disabled tab", lkStyled, [](TCanvas* c, const TRect& r) { DrawTabItem(c, r, qvsDisabled); },
       details(ttTabItemNormal), 150},
  };
  const TRect rect{3, 2, 43, 20};
  for (const Case& c : cases) {
    SetLook(c.Look);
    Painted p(46, 24, kGround);
    c.Routine(&p.Canvas, rect);
    const bool filled = c.Element == fill;
    std::unique_ptr<TestCanvas> element = filled ? nullptr : ElementAlone(c.Element, 46, 24, rect);
    int bad = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 46; ++x) {
        uint32_t expected = kGround;
        if (filled && rect.Contains({x, y})) expected = BlendOpaque(Pixel(clHighlight), kGround, c.Alpha);
        if (!filled) expected = BlendPremultiplied(element->Pixel(x, y), kGround, c.Alpha);
        if (!Near(p.Pixels.Pixel(x, y), expected) && bad++ < 3)
          ADD_FAILURE() << c.Name << " (" << LookName(c.Look) << ") at " << x << "," << y << ": "
                        << Hex(p.Pixels.Pixel(x, y)) << ", expected " << Hex(expected);
      }
    SaveIfFailed(p.Pixels, std::string(c.Name) + "_" + LookName(c.Look));
  }
}

TEST_F(ElementsTest, SelectionOfAnEmptyRectangleDrawsNothing) {
  for (Look look : {lkStyled, lkThemed, lkClassic}) {
    SetLook(look);
    Painted p(20, 20, kGround);
    for (const TRect& r : {TRect{5, 5, 5, 15}, TRect{5, 15, 15, 5}}) {
      DrawSelection(&p.Canvas, r, false, false);
      DrawSelection(&p.Canvas, r, true, true);
      DrawSelectionAlpha(&p.Canvas, r, 200);
      FillRectAlpha(&p.Canvas, r, 200);
      DrawMenuHighlightAlpha(&p.Canvas, r, 200);
    }
    EXPECT_EQ(p.Pixels.InkBounds(kGround), TRect{}) << LookName(look);
  }
}

TEST_F(ElementsTest, FillRectAlphaBlendsTheBrushColour) {
  Painted p(10, 10, kGround);
  p->Brush()->SetColor(clRed);
  FillRectAlpha(&p.Canvas, {2, 2, 8, 8}, 100);
  EXPECT_TRUE(Near(p.Pixels.Pixel(4, 4), BlendOpaque(0xFFFF0000u, kGround, 100))) << Hex(p.Pixels.Pixel(4, 4));
  EXPECT_EQ(p.Pixels.InkBounds(kGround), (TRect{2, 2, 8, 8}));
}

// Classic: a white box framed in clBtnShadow, and a green bar from one pixel inside it,
// (Width - 2) * f long, f not clamped; half a pixel rounds to even.
TEST_F(ElementsTest, ClassicProgressBarFillsItsFractionAndPassesTheFrameAboveMax) {
  struct Case {
    int Min, Position, Max;
    int BarRight;
  };
  const Case cases[] = {
      {0, 0, 100, 3},   {0, 50, 100, 12}, {0, 100, 100, 21}, {10, 15, 20, 12}, {0, 1, 3, 9},
      {0, 1, 4, 7},     // 4.5 -> 4
      {0, 3, 4, 17},    // 13.5 -> 14
      {5, 5, 5, 3},     // Min = Max: empty
      {0, -5, 100, 3},  // below Min: empty
      {0, 150, 100, 30},  // past Max: through the frame and beyond
  };
  SetLook(lkClassic);
  const TRect rect{2, 2, 22, 10};
  for (const Case& c : cases) {
    Painted p(40, 12, kGround);
    DrawProgressBar(&p.Canvas, rect, c.Min, c.Position, c.Max);
    const uint32_t green = 0xFF008000u, white = 0xFFFFFFFFu, frame = Pixel(clBtnShadow);
    for (int x = 0; x < 40; ++x) {
      uint32_t expected = kGround;
      if (x == 2 || x == 21) expected = frame;
      else if (x > 2 && x < 21) expected = white;
      if (x >= 3 && x < c.BarRight) expected = green;
      ASSERT_EQ(p.Pixels.Pixel(x, 5), expected)
          << c.Min << " " << c.Position << " " << c.Max << " at x " << x;
    }
    for (int x = 2; x < 22; ++x) ASSERT_EQ(p.Pixels.Pixel(x, 2), frame);
  }
}

// The progress bar and the themed header keep the caller's pen, brush and clip.
TEST_F(ElementsTest, ProgressBarAndHeaderLeaveTheCanvasAsTheyFoundIt) {
  for (Look look : {lkThemed, lkClassic}) {
    SetLook(look);
    Painted p(40, 20, kGround);
    p->Pen()->SetColor(clRed);
    p->Pen()->SetWidth(3);
    p->Brush()->SetColor(clBlue);
    IntersectClipRect(p.Pixels.DC(), 0, 0, 30, 20);
    DrawProgressBar(&p.Canvas, {2, 2, 22, 10}, 0, 5, 10);
    DrawHeaderSection(&p.Canvas, {2, 11, 22, 19}, qvsHot);
    EXPECT_EQ(p->Pen()->Color(), clRed);
    EXPECT_EQ(p->Pen()->Width(), 3);
    EXPECT_EQ(p->Brush()->Color(), look == lkClassic ? clBtnFace : clBlue) << "a classic header fills with the face";
    p->Brush()->SetColor(clBlue);
    p.Canvas.FillRect({24, 0, 40, 20});
    EXPECT_EQ(p.Pixels.Pixel(26, 5), 0xFF0000FFu) << LookName(look);
    EXPECT_EQ(p.Pixels.Pixel(32, 5), kGround) << "the clip is kept";
  }
}

TEST_F(ElementsTest, ThemedProgressBarDrawsItsChunkOverTheBarRectangle) {
  struct Case {
    int Min, Position, Max;
    int BarRight;
  };
  const Case cases[] = {{0, 50, 100, 12}, {5, 5, 5, 3}, {0, -1, 10, 3}, {0, 150, 100, 30}};
  const TRect rect{2, 2, 22, 10};
  for (Look look : {lkStyled, lkThemed}) {
    SetLook(look);
    for (const Case& c : cases) {
      Painted p(40, 12, kGround), bar(40, 12, kGround);
      DrawProgressBar(&p.Canvas, rect, c.Min, c.Position, c.Max);
      StyleServices()->DrawElement(bar.Pixels.DC(), StyleServices()->GetElementDetails(tpBar), rect);
      if (c.BarRight > 3)
        StyleServices()->DrawElement(bar.Pixels.DC(), StyleServices()->GetElementDetails(tpChunk),
                                     {3, 3, c.BarRight, 9});
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x)
          ASSERT_EQ(p.Pixels.Pixel(x, y), bar.Pixels.Pixel(x, y))
              << LookName(look) << " " << c.Position << " at " << x << "," << y;
      if (c.BarRight > 22) {
        EXPECT_GT(p.Pixels.InkBounds(kGround).Right, 22) << "the bar passes the frame";
      }
    }
  }
}

// The selected tab stands 2 pixels into the pane below it; classic tabs that are not
// selected stand 2 pixels lower instead.
TEST_F(ElementsTest, TabItemsStandWhereTheirStateSays) {
  struct Case {
    elements_test::Look Look;
    TqvsCtrlState State;
    int Top, Bottom;
  };
  const TRect rect{4, 4, 44, 24};
  const Case cases[] = {
      {lkThemed, qvsFocused, 4, 26}, {lkThemed, qvsPressed, 4, 26}, {lkThemed, qvsHot, 4, 24},
      {lkStyled, qvsFocused, 4, 26}, {lkStyled, qvsNormal, 4, 24},  {lkClassic, qvsFocused, 4, 26},
      {lkClassic, qvsNormal, 6, 24}, {lkClassic, qvsHot, 6, 24},
  };
  for (const Case& c : cases) {
    SetLook(c.Look);
    Painted p(48, 30, 0u);
    DrawTabItem(&p.Canvas, rect, c.State);
    const TRect ink = p.Pixels.InkBounds(0u);
    EXPECT_EQ(ink.Top, c.Top) << LookName(c.Look) << " state " << c.State;
    EXPECT_EQ(ink.Bottom, c.Bottom) << LookName(c.Look) << " state " << c.State;
    SaveIfFailed(p.Pixels, LookName(c.Look));
  }
}

TEST_F(ElementsTest, TabElementsFollowPositionEdgesStateAndSystem) {
  struct Case {
    elements_test::Look Look;
    bool Windows10;
    TqvsCtrlState State;
    bool Last, First;
    int Position;
    TThemedTab Expected;  // ttTabDontCare: nothing drawn
  };
  const Case cases[] = {
      {lkThemed, true, qvsFocused, false, true, 0, ttTabItemLeftEdgeSelected},
      {lkThemed, true, qvsFocused, true, false, 0, ttTabItemRightEdgeSelected},
      {lkThemed, true, qvsFocused, false, false, 0, ttTabItemSelected},
      {lkStyled, true, qvsFocused, true, true, 0, ttTabItemSelected},
      {lkThemed, true, qvsHot, false, true, 0, ttTabItemLeftEdgeHot},
      {lkThemed, true, qvsNormal, false, true, 0, ttTabItemLeftEdgeNormal},
      {lkThemed, true, qvsDisabled, false, true, 0, ttTabItemLeftEdgeDisabled},
      {lkThemed, true, qvsPressed, false, true, 0, ttTabDontCare},
      {lkThemed, false, qvsHot, false, true, 0, ttTabItemHot},
      {lkThemed, false, qvsNormal, false, true, 0, ttTabItemNormal},
      {lkStyled, true, qvsNormal, false, true, 0, ttTabItemNormal},
      {lkThemed, true, qvsPressed, false, false, 0, ttTabItemNormal},
      {lkThemed, true, qvsFocused, false, false, 1, ttTabItemBothEdgeSelected},
      {lkStyled, true, qvsHot, false, false, 1, ttTabItemBothEdgeHot},
      {lkThemed, true, qvsNormal, false, false, 2, ttTabItemLeftEdgeNormal},
      {lkThemed, true, qvsFocused, false, false, 3, ttTabItemRightEdgeSelected},
      {lkThemed, true, qvsHot, false, false, 4, ttTabDontCare},
  };
  const TRect rect{2, 2, 42, 22};
  for (const Case& c : cases) {
    TOSAnswers answers;
    if (!c.Windows10) answers.MajorVersion = 6, answers.MinorVersion = 1;
    TOSAnswersOverride os(answers);
    InitWindowsVersion();
    SetLook(c.Look);
    Painted p(44, 24, 0u);
    DrawTab(&p.Canvas, rect, c.State, c.Last, c.First, c.Position);
    auto expected = ElementAlone(StyleServices()->GetElementDetails(c.Expected), 44, 24, rect);
    int differ = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 44; ++x) differ += p.Pixels.Pixel(x, y) != expected->Pixel(x, y);
    EXPECT_EQ(differ, 0) << LookName(c.Look) << " state " << c.State << " position " << c.Position << " first "
                         << c.First << " last " << c.Last;
    if (c.Expected != ttTabDontCare) {
      EXPECT_NE(p.Pixels.InkBounds(0u), TRect{});
    }
  }
  InitWindowsVersion();
}

// Classic tabs: two rings of 3-D edges, light at the top and left, dark at the right and
// bottom, open on the side that faces the pane.
TEST_F(ElementsTest, ClassicTabsAreOpenTowardsTheirPane) {
  SetLook(lkClassic);
  const uint32_t face = Pixel(clBtnFace), light = Pixel(clBtnHighlight), dark = Pixel(cl3DDkShadow);
  struct Case {
    int Position;
    uint32_t Top, Left, Right, Bottom;  // the outer ring's middle pixel of each side
  };
  const Case cases[] = {{0, light, light, dark, face},
                        {1, face, light, dark, dark},
                        {2, light, light, face, dark},
                        {3, light, face, dark, dark}};
  const TRect rect{2, 2, 32, 22};
  for (const Case& c : cases) {
    Painted p(34, 24, kGround);
    DrawTab(&p.Canvas, rect, qvsNormal, false, false, c.Position);
    EXPECT_EQ(p.Pixels.Pixel(17, 2), c.Top) << c.Position;
    EXPECT_EQ(p.Pixels.Pixel(2, 12), c.Left) << c.Position;
    EXPECT_EQ(p.Pixels.Pixel(31, 12), c.Right) << c.Position;
    EXPECT_EQ(p.Pixels.Pixel(17, 21), c.Bottom) << c.Position;
    EXPECT_EQ(p.Pixels.Pixel(17, 12), face) << c.Position;
    EXPECT_EQ(p.Pixels.InkBounds(kGround), rect) << c.Position;
  }
}
