// Which style element each element routine draws in each control state, read off the
// style services' draw observer, one table per family of routines; and, in classic mode,
// which frame control or 3-D ring each state gets.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "ElementsSupport.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"
#include "themes/ElementTable.h"

using namespace elements_test;

namespace {

constexpr TqvsCtrlState kStates[] = {qvsNormal, qvsHot, qvsPressed, qvsFocused, qvsDisabled};
const char* const kStateNames[] = {"normal", "hot", "pressed", "focused", "disabled"};

// An element's name as the element tables give it for its part and state.
std::string NameOf(const TThemedElementDetails& d) {
  if (const TElementEntry* e = FindElementEntry(d)) return e->Name;
  return "element " + std::to_string(int(d.Element)) + " part " + std::to_string(d.Part) + " state " +
         std::to_string(d.State);
}

// "tbPushButtonHot ttbButtonPressed" as the elements' names, each as NameOf gives it back
// (names that share a part and state come out as one).
std::string Expected(const std::string& names) {
  std::string out, name;
  std::istringstream words(names);
  while (words >> name) {
    TThemedElement element{};
    const TElementEntry* e = FindElementByName(name, &element);
    EXPECT_TRUE(e) << "no element " << name;
    if (!e) continue;
    out += (out.empty() ? "" : " ") + NameOf(TThemedElementDetails::Create(element, e->Part, e->State));
  }
  return out;
}

// The elements drawn while it lives, in order.
class TDrawnElements {
 public:
  TDrawnElements()
      : FPrevious(SetDrawElementObserver([this](const TThemedElementDetails& d, const RECT& r) {
          FNames += (FNames.empty() ? "" : " ") + NameOf(d);
          FRects.push_back(r);
        })) {}
  ~TDrawnElements() { SetDrawElementObserver(std::move(FPrevious)); }
  TDrawnElements(const TDrawnElements&) = delete;
  TDrawnElements& operator=(const TDrawnElements&) = delete;

  const std::string& Names() const { return FNames; }
  const std::vector<RECT>& Rects() const { return FRects; }

 private:
  TDrawElementObserver FPrevious;
  std::string FNames;
  std::vector<RECT> FRects;
};

// What Draw draws through the style, on a fresh canvas.
std::string DrawnBy(const std::function<void(TCanvas*)>& Draw) {
  Painted p(80, 40, 0xFFFFFFFFu);
  TDrawnElements drawn;
  Draw(&p.Canvas);
  return drawn.Names();
}

using TStateRoutine = std::function<void(TCanvas*, TqvsCtrlState)>;

// One routine: the elements it draws for normal, hot, pressed, focused and disabled, with
// a custom style and with the system style.
using TStateNames = std::array<std::string, 5>;
struct TStateRow {
  const char* Routine;
  TStateRoutine Draw;
  TStateNames Styled;
  TStateNames Themed;
};

void ExpectStateRows(const std::vector<TStateRow>& rows) {
  for (Look look : {lkStyled, lkThemed}) {
    SetLook(look);
    for (const TStateRow& row : rows)
      for (size_t s = 0; s < std::size(kStates); ++s) {
        const std::string& want = look == lkStyled ? row.Styled[s] : row.Themed[s];
        EXPECT_EQ(DrawnBy([&](TCanvas* c) { row.Draw(c, kStates[s]); }), Expected(want))
            << row.Routine << ", " << kStateNames[s] << " (" << LookName(look) << ")";
      }
  }
}

const TRect kRect{4, 4, 64, 28};

}  // namespace

TEST_F(ElementsTest, ButtonFacesDrawTheElementOfTheirState) {
  const TStateNames push = {"tbPushButtonNormal", "tbPushButtonHot", "tbPushButtonPressed",
                                           "tbPushButtonDefaulted", "tbPushButtonDisabled"};
  const TStateNames segment = {"tbPushButtonNormal", "tbPushButtonHot", "tbPushButtonPressed",
                                              "tbPushButtonHot", "tbPushButtonDisabled"};
  const TStateNames tool = {"ttbButtonNormal", "ttbButtonHot", "ttbButtonPressed", "ttbButtonHot",
                                           "ttbButtonDisabled"};
  const char* pushDropDown = "tbPushButtonHot tbPushButtonPressed";
  const char* toolDropDown = "ttbButtonHot ttbButtonPressed";
  const TStateNames pushDown = {pushDropDown, pushDropDown, pushDropDown, pushDropDown, pushDropDown};
  const TStateNames toolDown = {toolDropDown, toolDropDown, toolDropDown, toolDropDown, toolDropDown};
  ExpectStateRows({
      {"DrawPushButtonFace", [](TCanvas* c, TqvsCtrlState s) { DrawPushButtonFace(c, kRect, s, 1, true); }, push,
       push},
      {"DrawSegmentedButtonFace",
       [](TCanvas* c, TqvsCtrlState s) { DrawSegmentedButtonFace(c, kRect, s, 1, 2, false); }, segment, segment},
      {"DrawSplitPushButtonFace",
       [](TCanvas* c, TqvsCtrlState s) { DrawSplitPushButtonFace(c, kRect, s, 14, false); }, push, push},
      {"DrawSplitPushButtonFace, drop-down pressed",
       [](TCanvas* c, TqvsCtrlState s) { DrawSplitPushButtonFace(c, kRect, s, 14, true); }, pushDown, pushDown},
      {"DrawToolButtonFace", [](TCanvas* c, TqvsCtrlState s) { DrawToolButtonFace(c, kRect, s); }, tool, tool},
      {"DrawToolButtonFaceInset", [](TCanvas* c, TqvsCtrlState s) { DrawToolButtonFaceInset(c, kRect, s); }, tool,
       tool},
      {"DrawSegmentedToolButtonFace",
       [](TCanvas* c, TqvsCtrlState s) { DrawSegmentedToolButtonFace(c, kRect, s, 1); }, tool, tool},
      {"DrawSplitToolButtonFace",
       [](TCanvas* c, TqvsCtrlState s) { DrawSplitToolButtonFace(c, kRect, s, 14, false); }, tool, tool},
      {"DrawSplitToolButtonFace, drop-down pressed",
       [](TCanvas* c, TqvsCtrlState s) { DrawSplitToolButtonFace(c, kRect, s, 14, true); }, toolDown, toolDown},
  });
}

// Focused check boxes draw as normal ones; check states other than 1 and 2 are unchecked.
// Every placement and the scaled paths (the glyph drawn into a bitmap and resampled)
// draw the same element.
TEST_F(ElementsTest, CheckBoxesDrawTheElementOfTheirStateAndCheckState) {
  struct Row {
    int CheckState;
    std::array<const char*, 5> Elements;
  };
  const Row rows[] = {
      {0, {"tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedHot", "tbCheckBoxUncheckedPressed",
           "tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedDisabled"}},
      {1, {"tbCheckBoxCheckedNormal", "tbCheckBoxCheckedHot", "tbCheckBoxCheckedPressed", "tbCheckBoxCheckedNormal",
           "tbCheckBoxCheckedDisabled"}},
      {2, {"tbCheckBoxMixedNormal", "tbCheckBoxMixedHot", "tbCheckBoxMixedPressed", "tbCheckBoxMixedNormal",
           "tbCheckBoxMixedDisabled"}},
      {3, {"tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedHot", "tbCheckBoxUncheckedPressed",
           "tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedDisabled"}},
  };
  using TCheckRoutine = void (*)(TCanvas*, const TRect&, TqvsCtrlState, double, int);
  const std::pair<const char*, TCheckRoutine> routines[] = {
      {"DrawCheckBoxLeft", DrawCheckBoxLeft}, {"DrawCheckBoxClipped", DrawCheckBoxClipped},
      {"DrawCheckBoxCenter", DrawCheckBoxCenter}};
  for (Look look : {lkStyled, lkThemed})
    for (double scale : {1.0, 1.5})
      for (bool scaleThemes : {false, true}) {
        SetLook(look);
        SetScaleThemes(scaleThemes);
        for (const auto& [name, routine] : routines)
          for (const Row& row : rows)
            for (size_t s = 0; s < std::size(kStates); ++s) {
              EXPECT_EQ(DrawnBy([&](TCanvas* c) { routine(c, {4, 4, 40, 36}, kStates[s], scale, row.CheckState); }),
                        Expected(row.Elements[s]))
                  << name << ", check state " << row.CheckState << ", " << kStateNames[s] << " ("
                  << LookName(look) << ", scale " << scale << ", themes scaled " << scaleThemes << ")";
            }
      }
}

// Custom styles draw scroll-bar arrows, the system style up-down buttons (whose
// horizontal pair counts: "down" points left); focused shows as hot. A combo box's button
// joins the box only with the system style.
TEST_F(ElementsTest, ArrowAndComboButtonsDrawTheElementOfTheirState) {
  // The element's normal, hot, pressed, hot (for focused) and disabled values.
  auto states = [](const std::string& base) -> TStateNames {
    return {base + "Normal", base + "Hot", base + "Pressed", base + "Hot", base + "Disabled"};
  };
  auto twice = [](TStateNames names) {
    for (std::string& n : names) n += " " + n;
    return names;
  };
  const TRect low{4, 4, 20, 12};  // 8 high: the up button takes its top rows from a taller one
  ExpectStateRows({
      {"DrawUpButton", [](TCanvas* c, TqvsCtrlState s) { DrawUpButton(c, kRect, s); }, states("tsArrowBtnUp"),
       states("tsUp")},
      {"DrawUpButton, 8 high", [low](TCanvas* c, TqvsCtrlState s) { DrawUpButton(c, low, s); },
       states("tsArrowBtnUp"), twice(states("tsUp"))},
      {"DrawDownButton", [](TCanvas* c, TqvsCtrlState s) { DrawDownButton(c, kRect, s); }, states("tsArrowBtnDown"),
       states("tsDown")},
      {"DrawLeftButton", [](TCanvas* c, TqvsCtrlState s) { DrawLeftButton(c, kRect, s); }, states("tsArrowBtnLeft"),
       states("tsDownHorz")},
      {"DrawRightButton", [](TCanvas* c, TqvsCtrlState s) { DrawRightButton(c, kRect, s); },
       states("tsArrowBtnRight"), states("tsUpHorz")},
      {"DrawComboButton", [](TCanvas* c, TqvsCtrlState s) { DrawComboButton(c, kRect, s, false, false); },
       states("tcDropDownButton"), states("tcDropDownButton")},
      {"DrawComboButton in a combo", [](TCanvas* c, TqvsCtrlState s) { DrawComboButton(c, kRect, s, false, true); },
       states("tcDropDownButton"), states("tcDropDownButtonRight")},
      {"DrawComboButton in a combo, right to left",
       [](TCanvas* c, TqvsCtrlState s) { DrawComboButton(c, kRect, s, true, true); }, states("tcDropDownButton"),
       states("tcDropDownButtonLeft")},
  });
}

// Edit frames show hot and focused only (a custom style's focused frame is its hot one);
// headers show hot (focused too) and pressed; tabs show hot and selected (pressed and
// focused tabs are the selected one for DrawTabItem, focused only for DrawTab), and the
// system style's first and last tabs above a pane take its edge variants.
TEST_F(ElementsTest, FramesHeadersAndTabsDrawTheElementOfTheirState) {
  ExpectStateRows({
      {"DrawEditFrame", [](TCanvas* c, TqvsCtrlState s) { DrawEditFrame(c, kRect, s); },
       {"teEditBorderNoScrollNormal", "teEditBorderNoScrollHot", "teEditBorderNoScrollNormal",
        "teEditBorderNoScrollHot", "teEditBorderNoScrollNormal"},
       {"teEditBorderNoScrollNormal", "teEditBorderNoScrollHot", "teEditBorderNoScrollNormal",
        "teEditBorderNoScrollFocused", "teEditBorderNoScrollNormal"}},
      {"DrawHeaderSection", [](TCanvas* c, TqvsCtrlState s) { DrawHeaderSection(c, kRect, s); },
       {"tgFixedCellNormal", "tgFixedCellHot", "tgFixedCellPressed", "tgFixedCellHot", "tgFixedCellNormal"},
       {"tgFixedCellNormal", "tgFixedCellHot", "tgFixedCellPressed", "tgFixedCellHot", "tgFixedCellNormal"}},
      {"DrawTabItem", [](TCanvas* c, TqvsCtrlState s) { DrawTabItem(c, kRect, s); },
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemSelected", "ttTabItemSelected", "ttTabItemNormal"},
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemSelected", "ttTabItemSelected", "ttTabItemNormal"}},
      {"DrawTab above", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, false, false, 0); },
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemNormal", "ttTabItemSelected", "ttTabItemNormal"},
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemNormal", "ttTabItemSelected", "ttTabItemNormal"}},
      {"DrawTab above, first", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, false, true, 0); },
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemNormal", "ttTabItemSelected", "ttTabItemNormal"},
       {"ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeHot", "ttTabDontCare", "ttTabItemLeftEdgeSelected",
        "ttTabItemLeftEdgeDisabled"}},
      {"DrawTab above, last", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, true, false, 0); },
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemNormal", "ttTabItemSelected", "ttTabItemNormal"},
       {"ttTabItemNormal", "ttTabItemHot", "ttTabItemNormal", "ttTabItemRightEdgeSelected", "ttTabItemNormal"}},
      {"DrawTab below", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, false, false, 1); },
       {"ttTabItemBothEdgeNormal", "ttTabItemBothEdgeHot", "ttTabItemBothEdgeNormal", "ttTabItemBothEdgeSelected",
        "ttTabItemBothEdgeNormal"},
       {"ttTabItemBothEdgeNormal", "ttTabItemBothEdgeHot", "ttTabItemBothEdgeNormal", "ttTabItemBothEdgeSelected",
        "ttTabItemBothEdgeNormal"}},
      {"DrawTab left", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, false, false, 2); },
       {"ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeHot", "ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeSelected",
        "ttTabItemLeftEdgeNormal"},
       {"ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeHot", "ttTabItemLeftEdgeNormal", "ttTabItemLeftEdgeSelected",
        "ttTabItemLeftEdgeNormal"}},
      {"DrawTab right", [](TCanvas* c, TqvsCtrlState s) { DrawTab(c, kRect, s, false, false, 3); },
       {"ttTabItemRightEdgeNormal", "ttTabItemRightEdgeHot", "ttTabItemRightEdgeNormal",
        "ttTabItemRightEdgeSelected", "ttTabItemRightEdgeNormal"},
       {"ttTabItemRightEdgeNormal", "ttTabItemRightEdgeHot", "ttTabItemRightEdgeNormal",
        "ttTabItemRightEdgeSelected", "ttTabItemRightEdgeNormal"}},
  });
}

// Selections: focused, or with focus display, the selected look; otherwise a custom
// style's selection blended and the system style's unfocused one. Windows XP draws the
// system style's selections the classic way, without an element.
TEST_F(ElementsTest, SelectionsDrawTheElementOfTheirFocus) {
  struct Row {
    const char* Routine;
    std::function<void(TCanvas*)> Draw;
    const char* Styled;
    const char* Themed;
    const char* ThemedXP;
  };
  const Row rows[] = {
      {"DrawSelection", [](TCanvas* c) { DrawSelection(c, kRect, false, false); }, "tgCellSelected",
       "tmcGridCellBackgroundSelectedNotFocused", ""},
      {"DrawSelection focused", [](TCanvas* c) { DrawSelection(c, kRect, true, false); }, "tgCellSelected",
       "tmcGridCellBackgroundSelected", ""},
      {"DrawSelection with focus display", [](TCanvas* c) { DrawSelection(c, kRect, false, true); },
       "tgCellSelected", "tmcGridCellBackgroundSelected", ""},
      {"DrawSelectionAlpha", [](TCanvas* c) { DrawSelectionAlpha(c, kRect, 100); }, "tgCellSelected",
       "tmcGridCellBackgroundSelected", ""},
      {"DrawMenuHighlightAlpha", [](TCanvas* c) { DrawMenuHighlightAlpha(c, kRect, 100); }, "tmPopupItemHot",
       "tmPopupItemHot", ""},
  };
  for (bool xp : {false, true}) {
    TOSAnswers answers;
    if (xp) answers.MajorVersion = 5, answers.MinorVersion = 1;
    TOSAnswersOverride os(answers);
    InitWindowsVersion();
    for (Look look : {lkStyled, lkThemed}) {
      SetLook(look);
      for (const Row& row : rows) {
        const char* want = look == lkStyled ? row.Styled : xp ? row.ThemedXP : row.Themed;
        EXPECT_EQ(DrawnBy(row.Draw), Expected(want)) << row.Routine << " (" << LookName(look) << (xp ? ", XP" : "")
                                                     << ")";
      }
    }
  }
  InitWindowsVersion();
}

// The progress bar draws its chunk over the filled part only; panes and backgrounds draw
// their one element (the form's only with a custom style).
TEST_F(ElementsTest, ProgressBarsPanesAndBackgroundsDrawTheirElements) {
  struct Row {
    const char* Routine;
    std::function<void(TCanvas*)> Draw;
    const char* Styled;
    const char* Themed;
  };
  const Row rows[] = {
      {"DrawProgressBar at 50 %", [](TCanvas* c) { DrawProgressBar(c, kRect, 0, 50, 100); }, "tpBar tpChunk",
       "tpBar tpChunk"},
      {"DrawProgressBar at its minimum", [](TCanvas* c) { DrawProgressBar(c, kRect, 10, 10, 20); }, "tpBar", "tpBar"},
      {"DrawTabPane", [](TCanvas* c) { DrawTabPane(c, kRect); }, "ttPane", "ttPane"},
      {"DrawTabItemAlpha", [](TCanvas* c) { DrawTabItemAlpha(c, kRect, 100); }, "ttTabItemNormal", "ttTabItemNormal"},
      {"DrawStatusBarBackground", [](TCanvas* c) { DrawStatusBarBackground(c, kRect); }, "tsStatusRoot",
       "tsStatusRoot"},
      {"DrawStatusPane", [](TCanvas* c) { DrawStatusPane(c, kRect); }, "tsPane", "tsPane"},
      {"DrawToolBarBackground", [](TCanvas* c) { DrawToolBarBackground(c, kRect); }, "ttbToolBarRoot",
       "ttbToolBarRoot"},
      {"DrawFormBackground", [](TCanvas* c) { DrawFormBackground(c, kRect); }, "twWindowRoot", ""},
  };
  for (Look look : {lkStyled, lkThemed}) {
    SetLook(look);
    for (const Row& row : rows)
      EXPECT_EQ(DrawnBy(row.Draw), Expected(look == lkStyled ? row.Styled : row.Themed))
          << row.Routine << " (" << LookName(look) << ")";
    TDrawnElements drawn;
    Painted p(80, 40, 0xFFFFFFFFu);
    DrawProgressBar(&p.Canvas, kRect, 0, 50, 100);
    ASSERT_EQ(drawn.Rects().size(), 2u);
    EXPECT_EQ(TRect(drawn.Rects()[0]), kRect);
    EXPECT_EQ(TRect(drawn.Rects()[1]), (TRect{5, 5, 34, 27})) << "half of the inside";
  }
}

// Classic mode draws no style element; the state shows in the frame control's flags: a
// pressed push button and arrow are pushed, a disabled arrow and check box inactive, a
// mixed box checked and inactive.
TEST_F(ElementsTest, ClassicRoutinesDrawTheFrameControlOfTheirState) {
  SetLook(lkClassic);
  struct Row {
    const char* Routine;
    std::function<void(TCanvas*, TqvsCtrlState)> Draw;
    UINT Kind;
    TRect Box;  // where the frame control lies
    std::array<UINT, 5> Flags;
  };
  const TRect box{4, 4, 17, 17};
  const UINT push = DFCS_BUTTONPUSH, check = DFCS_BUTTONCHECK, up = DFCS_SCROLLUP, left = DFCS_SCROLLLEFT;
  const UINT on = DFCS_CHECKED, mixed = DFCS_CHECKED | DFCS_INACTIVE;
  const Row rows[] = {
      {"DrawPushButtonFace", [](TCanvas* c, TqvsCtrlState s) { DrawPushButtonFace(c, kRect, s, 1, false); },
       DFC_BUTTON, kRect, {push, push, push | DFCS_PUSHED, push, push}},
      {"DrawUpButton", [](TCanvas* c, TqvsCtrlState s) { DrawUpButton(c, kRect, s); }, DFC_SCROLL, kRect,
       {up, up, up | DFCS_PUSHED, up, up | DFCS_INACTIVE}},
      {"DrawLeftButton", [](TCanvas* c, TqvsCtrlState s) { DrawLeftButton(c, kRect, s); }, DFC_SCROLL, kRect,
       {left, left, left | DFCS_PUSHED, left, left | DFCS_INACTIVE}},
      {"DrawCheckBoxLeft unchecked", [box](TCanvas* c, TqvsCtrlState s) { DrawCheckBoxLeft(c, box, s, 1, 0); },
       DFC_BUTTON, box, {check, check, check | DFCS_PUSHED, check, check | DFCS_INACTIVE}},
      {"DrawCheckBoxLeft checked", [box](TCanvas* c, TqvsCtrlState s) { DrawCheckBoxLeft(c, box, s, 1, 1); },
       DFC_BUTTON, box, {check | on, check | on, check | DFCS_PUSHED | on, check | on, check | DFCS_INACTIVE | on}},
      {"DrawCheckBoxLeft mixed", [box](TCanvas* c, TqvsCtrlState s) { DrawCheckBoxLeft(c, box, s, 1, 2); },
       DFC_BUTTON, box,
       {check | mixed, check | mixed, check | DFCS_PUSHED | mixed, check | mixed, check | DFCS_INACTIVE | on}},
  };
  for (const Row& row : rows)
    for (size_t s = 0; s < std::size(kStates); ++s) {
      Painted actual(80, 40, 0xFF336699u), expected(80, 40, 0xFF336699u);
      {
        TDrawnElements drawn;
        row.Draw(&actual.Canvas, kStates[s]);
        EXPECT_EQ(drawn.Names(), "") << row.Routine << ", " << kStateNames[s];
      }
      TRect r = row.Box;
      DrawFrameControl(expected.Pixels.DC(), &r, row.Kind, row.Flags[s]);
      int differ = 0;
      for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) differ += actual.Pixels.Pixel(x, y) != expected.Pixels.Pixel(x, y);
      EXPECT_EQ(differ, 0) << row.Routine << ", " << kStateNames[s];
    }
}

// Classic tool buttons and headers show their state in a 3-D ring: raised for hot and
// focused tool buttons and for headers not pressed, sunken when pressed, none for idle
// tool buttons.
TEST_F(ElementsTest, ClassicToolButtonsAndHeadersRingTheirState) {
  SetLook(lkClassic);
  const uint32_t ground = 0xFF336699u;
  const uint32_t light = PixelFromColorRef(COLORREF(ColorToRGB(clBtnHighlight)));
  const uint32_t dark = PixelFromColorRef(COLORREF(ColorToRGB(clBtnShadow)));
  struct Row {
    const char* Routine;
    std::function<void(TCanvas*, TqvsCtrlState)> Draw;
    std::array<uint32_t, 5> TopLeft;  // the ring's top-left pixel; ground: no ring
  };
  const Row rows[] = {
      {"DrawToolButtonFace", [](TCanvas* c, TqvsCtrlState s) { DrawToolButtonFace(c, kRect, s); },
       {ground, light, dark, light, ground}},
      {"DrawSegmentedToolButtonFace", [](TCanvas* c, TqvsCtrlState s) { DrawSegmentedToolButtonFace(c, kRect, s, 0); },
       {ground, light, dark, light, ground}},
      {"DrawHeaderSection", [](TCanvas* c, TqvsCtrlState s) { DrawHeaderSection(c, kRect, s); },
       {light, light, dark, light, light}},
  };
  for (const Row& row : rows)
    for (size_t s = 0; s < std::size(kStates); ++s) {
      Painted p(80, 40, ground);
      row.Draw(&p.Canvas, kStates[s]);
      EXPECT_EQ(Hex(p.Pixels.Pixel(kRect.Left, kRect.Top)), Hex(row.TopLeft[s])) << row.Routine << ", "
                                                                                << kStateNames[s];
    }
}
