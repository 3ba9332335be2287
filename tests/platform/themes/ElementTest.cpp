#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <string_view>

#include "support/Canvas.h"
#include "support/WinTest.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "win/Paint.h"

namespace {

// Every element name the libraries draw with. A name that ends early ("tsArrowBtnDown")
// stands for all its states.
const char* const kLibraryElements[] = {
    "tbCheckBoxCheckedDisabled", "tbCheckBoxCheckedHot", "tbCheckBoxCheckedNormal", "tbCheckBoxCheckedPressed",
    "tbCheckBoxMixedDisabled", "tbCheckBoxMixedHot", "tbCheckBoxMixedNormal", "tbCheckBoxMixedPressed",
    "tbCheckBoxUncheckedDisabled", "tbCheckBoxUncheckedHot", "tbCheckBoxUncheckedNormal",
    "tbCheckBoxUncheckedPressed", "tbPushButtonDefaulted", "tbPushButtonDisabled", "tbPushButtonHot",
    "tbPushButtonNormal", "tbPushButtonPressed", "tcBorderDisabled", "tcBorderFocused", "tcBorderHot",
    "tcBorderNormal", "tcDropDownButtonDisabled", "tcDropDownButtonHot", "tcDropDownButtonLeft",
    "tcDropDownButtonNormal", "tcDropDownButtonPressed", "tcDropDownButtonRight", "teEditBorderNoScrollFocused",
    "teEditBorderNoScrollHot", "teEditBorderNoScrollNormal", "teEditTextNormal", "tgCellNormal",
    "tgCellRowSelectedCenter", "tgCellRowSelectedLeft", "tgCellRowSelectedRight", "tgCellSelected",
    "tgClassicCellNormal", "tgClassicCellRowSelectedCenter", "tgClassicCellRowSelectedLeft",
    "tgClassicCellRowSelectedRight", "tgClassicCellSelected", "tgClassicFixedCellHot", "tgClassicFixedCellNormal",
    "tgClassicFixedCellPressed", "tgFixedCellHot", "tgFixedCellNormal", "tgFixedCellPressed", "tgGradientCellNormal",
    "tgGradientCellRowSelectedCenter", "tgGradientCellRowSelectedLeft", "tgGradientCellRowSelectedRight",
    "tgGradientCellSelected", "tgGradientFixedCellHot", "tgGradientFixedCellNormal", "tgGradientFixedCellPressed",
    "thHintNormal", "tmMenuBarBackgroundActive", "tmMenuBarItemDisabled", "tmMenuBarItemHot",
    "tmMenuBarItemNormal", "tmMenuBarItemPushed", "tmPopupBackground", "tmPopupItemDisabled", "tmPopupItemHot",
    "tmPopupItemNormal", "tmPopupSeparator", "tmPopupSubMenuNormal", "tmcGridCellBackgroundSelected",
    "tmcGridCellBackgroundSelectedNotFocused", "tpBar", "tpChunk", "tsArrowBtnDown", "tsArrowBtnLeft",
    "tsArrowBtnRight", "tsArrowBtnUp", "tsDown", "tsDownHorz", "tsPane", "tsStatusRoot", "tsThumbBtnHorzNormal",
    "tsThumbBtnVertNormal", "tsUp", "tsUpHorz", "tsUpperTrackHorzNormal", "tsUpperTrackVertNormal", "ttPane",
    "ttTabItemBothEdge", "ttTabItemDisabled", "ttTabItemHot", "ttTabItemLeftEdge", "ttTabItemNormal",
    "ttTabItemRightEdge", "ttTabItemSelected", "ttbButtonDisabled", "ttbButtonHot", "ttbButtonNormal",
    "ttbButtonPressed", "tttStandardNormal", "twCaptionActive", "twCaptionInactive", "twCloseButton",
    "twFrameBottom", "twFrameLeft", "twFrameRight", "twHelpButton", "twMDICloseButton", "twMDIMinButton",
    "twMDIRestoreButton", "twMaxButton", "twMinButton", "twRestoreButton", "twSmallCaptionActive",
    "twSmallCloseButton", "twSmallFrameBottomActive", "twSmallFrameLeftActive", "twSmallFrameRightActive",
    "twSysButtonNormal"};

// Elements whose idle look is the ground they sit on: nothing to draw.
const char* const kFlatWhenIdle[] = {"ttbButtonNormal", "ttbButtonDisabled", "tmPopupItemNormal",
                                     "tmPopupItemDisabled", "tmMenuBarItemNormal", "tmMenuBarItemDisabled"};

struct Named {
  const TElementTable* Table;
  const TElementEntry* Entry;
  TThemedElementDetails Details;
};

std::vector<Named> Matching(std::string_view name) {
  std::vector<Named> exact, prefixed;
  for (const TElementTable* t : AllElementTables())
    for (size_t i = 0; i < t->Count; ++i) {
      const std::string_view n = t->Entries[i].Name;
      const Named found{t, &t->Entries[i], DetailsOf(*t, int(i))};
      if (n == name) exact.push_back(found);
      else if (n.starts_with(name)) prefixed.push_back(found);
    }
  return exact.empty() ? prefixed : exact;
}

TThemedElementDetails Details(std::string_view name) {
  const std::vector<Named> m = Matching(name);
  EXPECT_EQ(m.size(), 1u) << name;
  return m.empty() ? TThemedElementDetails{} : m[0].Details;
}

// Runs fn once per look: each style, and the system style in classic mode.
void ForEachLook(const std::function<void(const String& look)>& fn) {
  for (const String& name : TStyleManager::StyleNames()) {
    TStyleManager::SetStyle(name);
    fn(name);
  }
  TStyleManager::SetStyle("Windows");
  SetThemeAppProperties(0);
  fn("classic");
  SetThemeAppProperties(STAP_VALIDBITS);
}

// A size to draw an element at: its own, else one that suits a control.
SIZE DrawSize(const TThemedElementDetails& d) {
  SIZE s{};
  if (!StyleServices()->GetElementSize(nullptr, d, esActual, s)) s = {};
  if (s.cx <= 0) s.cx = 48;
  if (s.cy <= 0) s.cy = 24;
  return {std::min<LONG>(s.cx, 120), std::min<LONG>(s.cy, 60)};
}

// Draws an element into a fully transparent bitmap, 4 pixels in from every edge.
struct Drawn {
  std::unique_ptr<TestCanvas> Canvas;
  RECT Rect{};
  bool Result = false;
};
Drawn DrawTransparent(const TThemedElementDetails& d) {
  const SIZE s = DrawSize(d);
  Drawn out;
  out.Canvas = std::make_unique<TestCanvas>(s.cx + 8, s.cy + 8, 0u);
  out.Rect = Bounds(4, 4, s.cx, s.cy);
  out.Result = StyleServices()->DrawElement(out.Canvas->DC(), d, out.Rect);
  return out;
}

double Luminance(COLORREF c) {
  auto channel = [](BYTE v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(GetRValue(c)) + 0.7152 * channel(GetGValue(c)) + 0.0722 * channel(GetBValue(c));
}

double Contrast(TColor a, TColor b) {
  const double la = Luminance(COLORREF(a)), lb = Luminance(COLORREF(b));
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class ElementTest : public WinTest {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    WinTest::TearDown();
  }
};

TEST_F(ElementTest, EveryLibraryElementDrawsInEveryLook) {
  for (const char* name : kLibraryElements) EXPECT_FALSE(Matching(name).empty()) << name << " is not an element";
  ForEachLook([&](const String& look) {
    for (const char* name : kLibraryElements)
      for (const Named& n : Matching(name)) {
        const Drawn d = DrawTransparent(n.Details);
        EXPECT_TRUE(d.Result) << look << ": " << n.Entry->Name;
        const bool flat = std::any_of(std::begin(kFlatWhenIdle), std::end(kFlatWhenIdle),
                                      [&](const char* f) { return std::string_view(f) == n.Entry->Name; });
        if (flat) continue;
        EXPECT_NE(d.Canvas->InkBounds(0), (RECT{})) << look << ": " << n.Entry->Name << " draws nothing";
      }
  });
}

// Composited premultiplied: no colour byte above its alpha, nothing outside the
// rectangle, and an element without transparent parts covers all of it.
TEST_F(ElementTest, ElementsLeavePremultipliedPixelsInsideTheirRectangle) {
  ForEachLook([&](const String& look) {
    for (const TElementTable* t : AllElementTables())
      for (size_t i = 0; i < t->Count; ++i) {
        if (!t->Entries[i].Family) continue;
        const TThemedElementDetails details = DetailsOf(*t, int(i));
        const Drawn d = DrawTransparent(details);
        const bool opaque = !StyleServices()->HasTransparentParts(details);
        int bad = 0;
        for (int y = 0; y < d.Canvas->Height(); ++y)
          for (int x = 0; x < d.Canvas->Width(); ++x) {
            const uint32_t p = d.Canvas->Pixel(x, y);
            const uint32_t a = p >> 24;
            const bool inside = d.Rect.Contains({x, y});
            if (((p >> 16) & 0xFF) > a || ((p >> 8) & 0xFF) > a || (p & 0xFF) > a) ++bad;
            else if (!inside && p != 0) ++bad;
            else if (inside && opaque && a != 255) ++bad;
          }
        EXPECT_EQ(bad, 0) << look << ": " << t->Entries[i].Name;
        if (bad) SaveIfFailed(*d.Canvas, String(t->Entries[i].Name) + "_" + look);
      }
  });
}

TEST_F(ElementTest, DrawingFollowsTheOriginTheClipAndTheClipRectangle) {
  TestCanvas canvas(40, 40, 0u);
  SetViewportOrgEx(canvas.DC(), 10, 10, nullptr);
  IntersectClipRect(canvas.DC(), 0, 0, 10, 30);
  const RECT clip{0, 0, 15, 15};
  ASSERT_TRUE(StyleServices()->DrawElement(canvas.DC(), StyleServices()->GetElementDetails(tbPushButtonNormal),
                                           {0, 0, 20, 20}, &clip));
  // Device (10, 10)-(20, 25): the element, the DC's clip and the clip rectangle together.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inside = x >= 10 && x < 20 && y >= 10 && y < 25;
      ASSERT_EQ(canvas.Pixel(x, y) >> 24, inside ? 255u : 0u) << x << "," << y;
    }
  SaveIfFailed(canvas, "clip");
}

TEST_F(ElementTest, BadArgumentsFailOrDrawNothing) {
  TCustomStyleServices* s = StyleServices();
  const TThemedElementDetails button = s->GetElementDetails(tbPushButtonNormal);
  EXPECT_FALSE(s->DrawElement(nullptr, button, {0, 0, 10, 10}));
  TestCanvas canvas(20, 20, 0u);
  EXPECT_FALSE(s->DrawElement(canvas.DC(), s->GetElementDetails(tbButtonDontCare), {0, 0, 10, 10}));
  EXPECT_FALSE(s->DrawElement(canvas.DC(), TThemedElementDetails{teButton, 99, 99}, {0, 0, 10, 10}));
  EXPECT_TRUE(s->DrawElement(canvas.DC(), button, {10, 10, 0, 0}));  // inverted: nothing
  EXPECT_EQ(canvas.InkBounds(0), RECT{});
  // A huge element shows its visible part.
  EXPECT_TRUE(s->DrawElement(canvas.DC(), button, {INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2}));
  EXPECT_EQ(canvas.Pixel(10, 10) >> 24, 255u);
  SIZE size{};
  EXPECT_FALSE(s->GetElementSize(nullptr, s->GetElementDetails(tbButtonRoot), esActual, size));
  TColor c = 0;
  EXPECT_FALSE(s->GetElementColor(s->GetElementDetails(tbButtonRoot), ecTextColor, c));
  EXPECT_EQ(s->GetStyleColor(TStyleColor(-1)), clNone);
}

TEST_F(ElementTest, NaturalSizesFitTheControlsGeometry) {
  ForEachLook([&](const String& look) {
    TCustomStyleServices* s = StyleServices();
    SIZE size{};
    for (TThemedButton b : {tbCheckBoxCheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxMixedDisabled}) {
      ASSERT_TRUE(s->GetElementSize(nullptr, s->GetElementDetails(b), esActual, size)) << look;
      EXPECT_EQ(size, (SIZE{13, 13})) << look;
    }
    for (TThemedScrollBar b : {tsArrowBtnUpNormal, tsArrowBtnLeftHot, tsArrowBtnDownDisabled}) {
      ASSERT_TRUE(s->GetElementSize(nullptr, s->GetElementDetails(b), esActual, size)) << look;
      EXPECT_EQ(size, (SIZE{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYVSCROLL)})) << look;
    }
    ASSERT_TRUE(s->GetElementSize(nullptr, s->GetElementDetails(twCaptionActive), esActual, size)) << look;
    EXPECT_GT(size.cy, 10) << look;
    // Content lies inside the element.
    RECT content{};
    ASSERT_TRUE(s->GetElementContentRect(nullptr, s->GetElementDetails(tbPushButtonNormal), {0, 0, 80, 24}, content));
    EXPECT_GT(content.Left, 0);
    EXPECT_LT(content.Right, 80);
  });
}

// In every themed look, the states of an element (normal, hot, pressed, focused,
// disabled; unchecked, checked, mixed) each give another picture of element and text.
TEST_F(ElementTest, StatesLookDistinct) {
  const std::vector<std::vector<const char*>> groups = {
      {"tbPushButtonNormal", "tbPushButtonHot", "tbPushButtonPressed", "tbPushButtonDisabled", "tbPushButtonDefaulted"},
      {"tbCheckBoxUncheckedNormal", "tbCheckBoxUncheckedHot", "tbCheckBoxUncheckedPressed", "tbCheckBoxUncheckedDisabled"},
      {"tbCheckBoxUncheckedNormal", "tbCheckBoxCheckedNormal", "tbCheckBoxMixedNormal"},
      {"ttbButtonNormal", "ttbButtonHot", "ttbButtonPressed"},
      {"tsArrowBtnUpNormal", "tsArrowBtnUpHot", "tsArrowBtnUpPressed", "tsArrowBtnUpDisabled"},
      {"tsUpNormal", "tsUpHot", "tsUpPressed", "tsUpDisabled"},
      {"tcBorderNormal", "tcBorderHot", "tcBorderFocused", "tcBorderDisabled"},
      {"tcDropDownButtonRightNormal", "tcDropDownButtonRightHot", "tcDropDownButtonRightPressed"},
      {"teEditBorderNoScrollNormal", "teEditBorderNoScrollHot", "teEditBorderNoScrollFocused"},
      {"tgFixedCellNormal", "tgFixedCellHot", "tgFixedCellPressed"},
      {"tgCellNormal", "tgCellSelected"},
      {"ttTabItemNormal", "ttTabItemHot", "ttTabItemSelected"},
      {"tmPopupItemNormal", "tmPopupItemHot"},
      {"tmMenuBarItemNormal", "tmMenuBarItemHot", "tmMenuBarItemPushed"},
      {"twCloseButtonNormal", "twCloseButtonHot", "twCloseButtonPushed"},
      {"twCaptionActive", "twCaptionInactive"},
  };
  ForEachLook([&](const String& look) {
    if (look == "classic") return;  // the classic look has no hot states
    for (const auto& group : groups) {
      std::vector<std::unique_ptr<TestCanvas>> pictures;
      for (const char* name : group) {
        const TThemedElementDetails d = Details(name);
        auto c = std::make_unique<TestCanvas>(60, 24, 0xFFFFFFFFu);
        HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
        HGDIOBJ old = SelectObject(c->DC(), font);
        RECT r{0, 0, 60, 24};
        StyleServices()->DrawElement(c->DC(), d, r);
        // The text colour is part of the look.
        StyleServices()->DrawText(c->DC(), d, "Ab", r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        DeleteObject(SelectObject(c->DC(), old));
        pictures.push_back(std::move(c));
      }
      for (size_t a = 0; a < group.size(); ++a)
        for (size_t b = a + 1; b < group.size(); ++b) {
          const Surface& pa = pictures[a]->Pixels();
          const Surface& pb = pictures[b]->Pixels();
          const bool same = std::equal(pa.Bits(), pa.Bits() + pa.ByteSize(), pb.Bits());
          EXPECT_FALSE(same) << look << ": " << group[a] << " looks like " << group[b];
        }
    }
  });
}

// Text stays readable: 4.5 : 1 against its ground, 3 : 1 when disabled.
TEST_F(ElementTest, TextColoursDifferByStateAndStayReadable) {
  struct Text {
    const char* Element;
    const char* Ground;  // the element whose fill lies under the text; null: the element's own
    double Contrast;
  };
  const Text texts[] = {
      {"tbPushButtonNormal", nullptr, 4.5},   {"tbPushButtonHot", nullptr, 4.5},
      {"tbPushButtonPressed", nullptr, 4.5},  {"tbPushButtonDisabled", nullptr, 3},
      {"teEditTextNormal", nullptr, 4.5},     {"teEditTextDisabled", nullptr, 3},
      {"tgCellNormal", nullptr, 4.5},         {"tgCellSelected", nullptr, 4.5},
      {"tgFixedCellNormal", nullptr, 4.5},    {"ttTabItemNormal", nullptr, 4.5},
      {"ttTabItemSelected", nullptr, 4.5},    {"ttTabItemHot", nullptr, 4.5},
      {"twCaptionActive", nullptr, 4.5},      {"tmcGridCellBackgroundSelected", nullptr, 4.5},
      {"thHintNormal", nullptr, 4.5},         {"tttStandardNormal", nullptr, 4.5},
      {"tmPopupItemNormal", "tmPopupBackground", 4.5}, {"tmPopupItemDisabled", "tmPopupBackground", 3},
      {"tmPopupItemHot", nullptr, 4.5},       {"tbCheckBoxUncheckedNormal", "twWindowRoot", 4.5},
      {"tbCheckBoxUncheckedDisabled", "twWindowRoot", 3},
  };
  ForEachLook([&](const String& look) {
    TCustomStyleServices* s = StyleServices();
    if (look == "classic") return;
    for (const Text& t : texts) {
      TColor ink = clNone, ground = clNone, ground2 = clNone;
      const TThemedElementDetails d = Details(t.Element);
      ASSERT_TRUE(s->GetElementColor(d, ecTextColor, ink)) << look << ": " << t.Element;
      const TThemedElementDetails g = t.Ground ? Details(t.Ground) : d;
      if (!s->GetElementColor(g, ecGradientColor1, ground)) ground = s->GetSystemColor(clBtnFace);
      if (!s->GetElementColor(g, ecGradientColor2, ground2)) ground2 = ground;
      // Ratios are quoted to two decimals: white on #0078D7 is the 4.50 : 1 it is known as.
      EXPECT_GE(std::min(Contrast(ink, ground), Contrast(ink, ground2)) + 0.005, t.Contrast)
          << look << ": " << t.Element;
    }
    for (auto [normal, disabled] : {std::pair{tbPushButtonNormal, tbPushButtonDisabled},
                                    std::pair{tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedDisabled}}) {
      TColor a = 0, b = 0;
      ASSERT_TRUE(s->GetElementColor(s->GetElementDetails(normal), ecTextColor, a));
      ASSERT_TRUE(s->GetElementColor(s->GetElementDetails(disabled), ecTextColor, b));
      EXPECT_NE(a, b) << look;
    }
    EXPECT_NE(s->GetStyleFontColor(sfEditBoxTextNormal), s->GetStyleFontColor(sfEditBoxTextDisabled)) << look;
    EXPECT_NE(s->GetStyleFontColor(sfListItemTextNormal), s->GetStyleFontColor(sfListItemTextDisabled)) << look;
    EXPECT_GE(Contrast(s->GetStyleFontColor(sfEditBoxTextNormal), s->GetStyleColor(scEdit)), 4.5) << look;
  });
}

TEST_F(ElementTest, ParentBackgroundIsPaintedAtTheChildsOffset) {
  HWND parent = Top("parent", {0, 0, 100, 100});
  HWND child = Child("child", parent, {30, 40, 80, 90});
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0)), white = CreateSolidBrush(RGB(255, 255, 255));
  Answer(parent, WM_ERASEBKGND, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    RECT r{0, 0, 100, 100};
    FillRect(reinterpret_cast<HDC>(w), &r, white);
    return 1;
  });
  Answer(parent, WM_PRINTCLIENT, [&](HWND, WPARAM w, LPARAM flags) -> LRESULT {
    EXPECT_TRUE(flags & PRF_CLIENT);
    RECT r{35, 45, 45, 55};
    FillRect(reinterpret_cast<HDC>(w), &r, red);
    return 0;
  });
  TestCanvas canvas(50, 50, 0xFF000000u);
  ClearLog();
  EXPECT_TRUE(StyleServices()->DrawParentBackground(child, canvas.DC()));
  const std::vector<RecordedMessage> sent = Messages({WM_ERASEBKGND, WM_PRINTCLIENT});
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Message, WM_ERASEBKGND);
  EXPECT_EQ(sent[1].Message, WM_PRINTCLIENT);
  for (const RecordedMessage& m : sent) {
    EXPECT_EQ(m.Hwnd, parent);
    EXPECT_EQ(m.WParam, reinterpret_cast<WPARAM>(canvas.DC()));
  }
  EXPECT_EQ(canvas.Color(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Color(14, 14), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Color(15, 15), RGB(255, 255, 255));
  // The DC's origin is left as it was.
  POINT org{};
  GetWindowOrgEx(canvas.DC(), &org);
  EXPECT_EQ(org, (POINT{0, 0}));
  // Bounds keep the painting to part of the child.
  canvas.Fill(0xFF000000u);
  const RECT bounds{0, 0, 10, 10};
  EXPECT_TRUE(StyleServices()->DrawParentBackground(child, canvas.DC(), nullptr, false, &bounds));
  EXPECT_EQ(canvas.Color(5, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Color(12, 12), RGB(0, 0, 0));
  EXPECT_FALSE(StyleServices()->DrawParentBackground(parent, canvas.DC()));  // no parent
  DeleteObject(red);
  DeleteObject(white);
}

}  // namespace
