// Every routine, in every state, in every style and in classic mode, draws inside the
// rectangle it is given and nowhere else: a guard band of a sentinel colour around the
// rectangle must come out untouched. Where a routine reaches past its rectangle by
// design, the test either clips the way its callers do (segmented faces) or allows the
// documented reach (a selected tab, a combo button joined to its box).
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ElementsSupport.h"
#include "qvDrawUtils/Elements.h"

using namespace elements_test;

namespace {

constexpr uint32_t kSentinel = 0xFF13579Bu;
constexpr int kBand = 24;

struct Routine {
  using Drawer = std::function<void(TCanvas*, const TRect&, TqvsCtrlState)>;
  Routine(std::string name, SIZE size, bool perState, Drawer draw, bool callerClips = false)
      : Name(std::move(name)), Size(size), PerState(perState), Draw(std::move(draw)), CallerClips(callerClips) {}

  std::string Name;
  SIZE Size;  // of the rectangle
  bool PerState;
  Drawer Draw;
  // Callers clip to the rectangle (the face reaches into the neighbours).
  bool CallerClips = false;
  // Where the routine may draw, when more than the rectangle.
  std::function<TRect(const TRect&, TqvsCtrlState)> Allowed;
};

std::vector<Routine> Routines() {
  std::vector<Routine> r;
  const SIZE button{60, 24}, box{60, 40}, arrow{17, 17};
  r.push_back({"DrawFrame3D", button, false, [](TCanvas* c, const TRect& rect, TqvsCtrlState) {
                 TRect x = rect;
                 DrawFrame3D(c, x, clBtnHighlight, clBtnShadow);
                 DrawFrame3D(c, x, cl3DLight, cl3DDkShadow);
               }});
  r.push_back({"DrawHorzSeparator", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawHorzSeparator(c, rect); }});
  r.push_back({"DrawVertSeparator", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawVertSeparator(c, rect); }});
  for (double scale : {1.0, 1.5})
    r.push_back({"DrawPushButtonFace " + std::to_string(scale), button, true,
                 [scale](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                   DrawPushButtonFace(c, rect, s, scale, true);
                 }});
  r.push_back({"DrawToolButtonFace", button, true,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawToolButtonFace(c, rect, s); }});
  r.push_back({"DrawToolButtonFaceInset", button, true,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawToolButtonFaceInset(c, rect, s); }});
  for (int segment : {0, 1, 2, 3}) {
    r.push_back({"DrawSegmentedButtonFace " + std::to_string(segment), button, true,
                 [segment](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                   DrawSegmentedButtonFace(c, rect, s, 1, segment, true);
                 },
                 segment != 0});
    r.push_back({"DrawSegmentedToolButtonFace " + std::to_string(segment), button, true,
                 [segment](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                   DrawSegmentedToolButtonFace(c, rect, s, segment);
                 },
                 segment != 0});
  }
  for (int dropDown : {0, 1, 16})
    for (bool pressed : {false, true}) {
      const std::string args = " " + std::to_string(dropDown) + (pressed ? " pressed" : "");
      r.push_back({"DrawSplitPushButtonFace" + args, button, true,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawSplitPushButtonFace(c, rect, s, dropDown, pressed);
                   }});
      r.push_back({"DrawSplitToolButtonFace" + args, button, true,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawSplitToolButtonFace(c, rect, s, dropDown, pressed);
                   }});
    }
  for (SIZE size : {arrow, SIZE{17, 8}}) {
    const std::string at = " " + std::to_string(size.cy);
    r.push_back({"DrawUpButton" + at, size, true,
                 [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawUpButton(c, rect, s); }});
    r.push_back({"DrawDownButton" + at, size, true,
                 [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawDownButton(c, rect, s); }});
    r.push_back({"DrawLeftButton" + at, size, true,
                 [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawLeftButton(c, rect, s); }});
    r.push_back({"DrawRightButton" + at, size, true,
                 [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawRightButton(c, rect, s); }});
  }
  for (bool rtl : {false, true})
    for (bool inCombo : {false, true}) {
      Routine combo{std::string("DrawComboButton") + (rtl ? " rtl" : "") + (inCombo ? " in combo" : ""),
                    {17, 21}, true, [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                      DrawComboButton(c, rect, s, rtl, inCombo);
                    }};
      // Joined to its box, the button covers the box's border.
      if (inCombo)
        combo.Allowed = [rtl](const TRect& rect, TqvsCtrlState) {
          return rtl ? TRect{rect.Left - 1, rect.Top - 1, rect.Right, rect.Bottom + 1}
                     : TRect{rect.Left, rect.Top - 1, rect.Right + 1, rect.Bottom + 1};
        };
      r.push_back(combo);
    }
  for (double scale : {1.0, 1.5, 2.0})
    for (int check : {0, 1, 2}) {
      const std::string args = " " + std::to_string(scale) + " " + std::to_string(check);
      r.push_back({"DrawCheckBoxLeft" + args, box, true,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawCheckBoxLeft(c, rect, s, scale, check);
                   }});
      r.push_back({"DrawCheckBoxClipped" + args, box, true,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawCheckBoxClipped(c, rect, s, scale, check);
                   }});
      r.push_back({"DrawCheckBoxCenter" + args, box, true, [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawCheckBoxCenter(c, rect, s, scale, check);
                   }});
    }
  for (bool focused : {false, true})
    for (bool showFocus : {false, true})
      r.push_back({"DrawSelection " + std::to_string(focused) + std::to_string(showFocus), button, false,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawSelection(c, rect, focused, showFocus); }});
  r.push_back({"DrawSelectionAlpha", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawSelectionAlpha(c, rect, 128); }});
  r.push_back({"FillRectAlpha", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { FillRectAlpha(c, rect, 128); }});
  r.push_back({"DrawMenuHighlightAlpha", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawMenuHighlightAlpha(c, rect, 128); }});
  r.push_back({"DrawHeaderSection", button, true,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawHeaderSection(c, rect, s); }});
  r.push_back({"DrawEditFrame", button, true,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawEditFrame(c, rect, s); }});
  r.push_back({"DrawSimpleEditFrame", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawSimpleEditFrame(c, rect); }});
  for (int position : {-10, 0, 3, 7, 10})
    r.push_back({"DrawProgressBar " + std::to_string(position), {60, 12}, false,
                 [=](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawProgressBar(c, rect, 0, position, 10); }});
  r.push_back({"DrawProgressBar min = max", {60, 12}, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawProgressBar(c, rect, 4, 4, 4); }});
  r.push_back({"DrawToolBarBackground", box, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawToolBarBackground(c, rect); }});
  r.push_back({"DrawFormBackground", box, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawFormBackground(c, rect); }});
  r.push_back({"DrawStatusBarBackground", box, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawStatusBarBackground(c, rect); }});
  r.push_back({"DrawStatusPane", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawStatusPane(c, rect); }});
  r.push_back({"DrawTabPane", box, false, [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawTabPane(c, rect); }});
  r.push_back({"DrawTabItemAlpha", button, false,
               [](TCanvas* c, const TRect& rect, TqvsCtrlState) { DrawTabItemAlpha(c, rect, 150); }});
  Routine tabItem{"DrawTabItem", button, true,
                  [](TCanvas* c, const TRect& rect, TqvsCtrlState s) { DrawTabItem(c, rect, s); }};
  // The selected tab covers the pane's border below it.
  tabItem.Allowed = [](const TRect& rect, TqvsCtrlState s) {
    return s == qvsFocused || s == qvsPressed ? TRect{rect.Left, rect.Top, rect.Right, rect.Bottom + 2} : rect;
  };
  r.push_back(tabItem);
  for (int position : {0, 1, 2, 3})
    for (int edges : {0, 1, 2, 3})
      r.push_back({"DrawTab " + std::to_string(position) + " " + std::to_string(edges), button, true,
                   [=](TCanvas* c, const TRect& rect, TqvsCtrlState s) {
                     DrawTab(c, rect, s, edges & 1, edges & 2, position);
                   }});
  return r;
}

// Routines that draw nothing in a look whatever the state.
bool DrawsNothing(const std::string& name, const std::string& look) {
  return look == "classic" && name == "DrawTabItemAlpha";
}

}  // namespace

TEST_F(ElementsTest, EveryRoutineDrawsInsideItsRectangleInEveryLook) {
  const std::vector<Routine> routines = Routines();
  for (bool scaleThemes : {false, true}) {
    SetScaleThemes(scaleThemes);
    SetScaleStyles(!scaleThemes);
    ForEachStyleAndClassic([&](const std::string& look) {
      for (const Routine& routine : routines) {
        bool drewSomething = false;
        for (int s = qvsNormal; s <= qvsDisabled; ++s) {
          if (!routine.PerState && s != qvsNormal) break;
          const TqvsCtrlState state = TqvsCtrlState(s);
          const TRect rect = Bounds(kBand, kBand, routine.Size.cx, routine.Size.cy);
          Painted p(routine.Size.cx + 2 * kBand, routine.Size.cy + 2 * kBand, kSentinel);
          if (routine.CallerClips) IntersectClipRect(p.Pixels.DC(), rect.Left, rect.Top, rect.Right, rect.Bottom);
          routine.Draw(&p.Canvas, rect, state);
          const TRect allowed = routine.Allowed ? routine.Allowed(rect, state) : rect;
          int outside = 0, inside = 0;
          for (int y = 0; y < p.Pixels.Height(); ++y)
            for (int x = 0; x < p.Pixels.Width(); ++x) {
              if (p.Pixels.Pixel(x, y) == kSentinel) continue;
              ++(allowed.Contains({x, y}) ? inside : outside);
            }
          drewSomething = drewSomething || inside > 0;
          EXPECT_EQ(outside, 0) << routine.Name << " state " << s << " in " << look << " (ScaleThemes "
                                << scaleThemes << ") draws outside " << outside << " pixels, ink "
                                << ::testing::PrintToString(p.Pixels.InkBounds(kSentinel));
          if (outside) SaveIfFailed(p.Pixels, routine.Name + "_" + std::to_string(s) + "_" + look);
        }
        if (!DrawsNothing(routine.Name, look)) {
          EXPECT_TRUE(drewSomething) << routine.Name << " draws nothing in " << look;
        }
      }
    });
  }
}
