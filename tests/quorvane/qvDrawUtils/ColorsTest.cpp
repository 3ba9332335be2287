#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Style.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"

namespace {

int R(TColor c) { return c & 0xFF; }
int G(TColor c) { return (c >> 8) & 0xFF; }
int B(TColor c) { return (c >> 16) & 0xFF; }
TColor Plain(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }

// x * p / 100 rounded to nearest, halves up (all numbers here are positive).
int Percent(int x, int p) { return (x * p + 50) / 100; }

class DrawUtilsColorsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    InitWindowsVersion();
  }
};

std::vector<String> CustomStyles() {
  std::vector<String> names = TStyleManager::StyleNames();
  names.erase(names.begin());  // "Windows"
  return names;
}

// ---- arithmetic ----

TEST(DrawUtilsColorArithmetic, DarkerAndLighterByHand) {
  struct Case {
    TColor Color;
    uint8_t Percent;
    TColor Darker, Lighter;
  };
  const Case cases[] = {
      // 128 - 64 = 64; 128 + 63.5 rounds up to 192.
      {0x808080, 50, 0x404040, 0xC0C0C0},
      // r 30 - 7.5 -> 22, g 20 - 5 = 15, b 10 - 2.5 -> 7; r 30 + 56.25 -> 86, g 20 + 58.75 -> 79,
      // b 10 + 61.25 -> 71.
      {0x0A141E, 25, 0x070F16, 0x474F56},
      // Every channel moves by nothing at 0 %.
      {0x123456, 0, 0x123456, 0x123456},
      // Above 100 % counts as 100 %: black and white.
      {0x123456, 100, 0x000000, 0xFFFFFF},
      {0x123456, 200, 0x000000, 0xFFFFFF},
      {0x123456, 255, 0x000000, 0xFFFFFF},
      // Only the three colour bytes of a value that is no system colour count.
      {clNone, 10, 0xE5E5E5, 0xFFFFFF},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DarkerColor(c.Color, c.Percent), c.Darker) << std::hex << c.Color << " " << std::dec << int(c.Percent);
    EXPECT_EQ(LighterColor(c.Color, c.Percent), c.Lighter) << std::hex << c.Color << " " << std::dec << int(c.Percent);
  }
}

TEST(DrawUtilsColorArithmetic, DarkerAndLighterFollowTheRuleForEveryPercent) {
  for (TColor c : {TColor(0x000000), TColor(0xFFFFFF), TColor(0x7F3A01), TColor(0x17335C), TColor(0xC0DCC0)})
    for (int p = 0; p <= 255; ++p) {
      const int q = std::min(p, 100);
      const TColor darker = Plain(R(c) - Percent(R(c), q), G(c) - Percent(G(c), q), B(c) - Percent(B(c), q));
      const TColor lighter = Plain(R(c) + Percent(255 - R(c), q), G(c) + Percent(255 - G(c), q),
                                   B(c) + Percent(255 - B(c), q));
      ASSERT_EQ(DarkerColor(c, uint8_t(p)), darker) << std::hex << c << " " << std::dec << p;
      ASSERT_EQ(LighterColor(c, uint8_t(p)), lighter) << std::hex << c << " " << std::dec << p;
    }
}

TEST(DrawUtilsColorArithmetic, MixAndShade) {
  EXPECT_EQ(MixColors(0xFFFFFF, 0x000000), 0x7F7F7F);
  // (0x30 + 0x01) / 2 = 0x18, (0x20 + 0x02) / 2 = 0x11, (0x10 + 0x03) / 2 = 0x09.
  EXPECT_EQ(MixColors(0x102030, 0x030201), 0x091118);
  EXPECT_EQ(MixColors(0x654321, 0x654321), 0x654321);

  struct Case {
    TColor Color, Shaded;
  };
  const Case cases[] = {
      // Brightest channel 126: value 49 %, lightened: 126 + 12.9 -> 139.
      {0x7E7E7E, 0x8B8B8B},
      // 127: value 50 %, darkened: 127 - 12.7 -> 114.
      {0x7F7F7F, 0x727272},
      // One bright channel is enough; the others darken with it.
      {0x00007F, 0x000072},
      {0x7E0000, 0x8B1A1A},
      {0x000000, 0x1A1A1A},
      {0xFFFFFF, 0xE5E5E5},
  };
  for (const Case& c : cases) EXPECT_EQ(ShadeColor(c.Color), c.Shaded) << std::hex << c.Color;
}

TEST_F(DrawUtilsColorsTest, SystemColoursResolveBeforeArithmetic) {
  const TColor face = ColorToRGB(clBtnFace);
  EXPECT_EQ(DarkerColor(clBtnFace, 0), face);
  EXPECT_EQ(LighterColor(clBtnFace, 100), 0xFFFFFF);
  EXPECT_EQ(MixColors(clBtnFace, clBtnFace), face);
  EXPECT_EQ(ColorToPixel(clBtnFace, 0x40), 0x40000000u | (uint32_t(R(face)) << 16) | (uint32_t(G(face)) << 8) |
                                               uint32_t(B(face)));
  TStyleManager::SetStyle("Windows10 Dark");
  const TColor darkFace = StyleServices()->GetSystemColor(clBtnFace);
  ASSERT_NE(darkFace, face);
  EXPECT_EQ(DarkerColor(clBtnFace, 0), darkFace);
}

TEST(DrawUtilsColorArithmetic, ColorToPixelSwapsRedAndBlueAndSetsAlpha) {
  EXPECT_EQ(ColorToPixel(0x0080FF, 0x40), 0x40FF8000u);
  EXPECT_EQ(ColorToPixel(0x123456, 255), 0xFF563412u);
  EXPECT_EQ(ColorToPixel(0xFFFFFF, 0), 0x00FFFFFFu);
}

// ---- the active style ----

TEST_F(DrawUtilsColorsTest, StyleSystemColourAndDarknessFollowTheStyle) {
  // Not styled: the colour comes back as it was given, still a system colour.
  EXPECT_EQ(GetStyleSystemColor(clBtnFace), clBtnFace);
  EXPECT_EQ(GetStyleSystemColor(TColor(0x123456)), 0x123456);
  EXPECT_FALSE(IsDarkStyle());
  EXPECT_FALSE(IsDarkWindowColor());
  const TColor h = ColorToRGB(clHighlight);
  EXPECT_EQ(GetHighlightShadeColor(), Plain(R(h) - Percent(R(h), 30), G(h) - Percent(G(h), 30), B(h) - Percent(B(h), 30)));

  auto dark = [](TColor c) { return (R(c) + G(c) + B(c)) / 3 < 128; };
  bool sawDark = false;
  for (const String& name : CustomStyles()) {
    TStyleManager::SetStyle(name);
    TCustomStyleServices* s = StyleServices();
    EXPECT_EQ(GetStyleSystemColor(clBtnFace), s->GetSystemColor(clBtnFace)) << name;
    EXPECT_EQ(GetStyleSystemColor(TColor(0x123456)), 0x123456) << name;
    const TColor face = s->GetSystemColor(clBtnFace), window = s->GetSystemColor(clWindow);
    EXPECT_EQ(IsDarkStyle(), dark(face)) << name;
    EXPECT_EQ(IsDarkWindowColor(), dark(window)) << name;
    const TColor hl = s->GetSystemColor(clHighlight);
    const TColor shade = dark(face) ? Plain(R(hl) + Percent(255 - R(hl), 30), G(hl) + Percent(255 - G(hl), 30),
                                            B(hl) + Percent(255 - B(hl), 30))
                                    : Plain(R(hl) - Percent(R(hl), 30), G(hl) - Percent(G(hl), 30),
                                            B(hl) - Percent(B(hl), 30));
    EXPECT_EQ(GetHighlightShadeColor(), shade) << name;
    sawDark = sawDark || IsDarkStyle();
  }
  EXPECT_TRUE(sawDark) << "no dark style among the styles";
}

using TStateColorFn = TColor (*)(TqvsCtrlState);

const TqvsCtrlState kStates[] = {qvsNormal, qvsHot, qvsPressed, qvsFocused, qvsDisabled};

TEST_F(DrawUtilsColorsTest, StateColoursWithoutACustomStyleAreSystemColours) {
  struct Case {
    const char* Name;
    TStateColorFn Fn;
    TColor Colors[5];  // normal, hot, pressed, focused, disabled
  };
  const TColor btn = clBtnText, gray = clGrayText;
  const Case cases[] = {
      {"EditBackground", GetEditBackgroundColor, {clWindow, clWindow, clWindow, clWindow, clWindow}},
      {"EditText", GetEditTextColor, {clWindowText, clWindowText, clWindowText, clWindowText, gray}},
      {"ButtonText", GetButtonTextColor, {btn, btn, btn, btn, gray}},
      {"ToolButtonText", GetToolButtonTextColor, {btn, btn, btn, btn, gray}},
      {"CheckBoxText", GetCheckBoxTextColor, {btn, btn, btn, btn, gray}},
      {"HeaderText", GetHeaderTextColor, {btn, btn, btn, btn, gray}},
      {"TabText", GetTabTextColor, {btn, btn, btn, btn, gray}},
      {"TabButtonText", GetTabButtonTextColor, {btn, btn, btn, btn, gray}},
      {"CaptionText",
       GetCaptionTextColor,
       {clCaptionText, clCaptionText, clCaptionText, clCaptionText, clInactiveCaptionText}},
  };
  // Themed by the system style, and classic: neither asks the style.
  for (DWORD themes : {STAP_VALIDBITS, DWORD(0)}) {
    SetThemeAppProperties(themes);
    for (const Case& c : cases)
      for (int s = 0; s < 5; ++s) EXPECT_EQ(c.Fn(kStates[s]), c.Colors[s]) << c.Name << " state " << s << " themes " << themes;
  }
  // The popup item asks the style whenever themed; classic has its own colours.
  SetThemeAppProperties(0);
  const TColor popup[5] = {btn, clHighlightText, btn, btn, gray};
  for (int s = 0; s < 5; ++s) EXPECT_EQ(GetPopupItemTextColor(kStates[s]), popup[s]) << s;
  EXPECT_EQ(GetSelectionTextColor(), clHighlightText);
}

// What the active style says for the element's text, or the fallback.
template <class TDetail>
TColor StyleText(TDetail d, TColor fallback) {
  TColor c = clNone;
  return StyleServices()->GetElementColor(StyleServices()->GetElementDetails(d), ecTextColor, c) ? c : fallback;
}

TEST_F(DrawUtilsColorsTest, StateColoursOfACustomStyleComeFromItsElements) {
  struct Case {
    const char* Name;
    TStateColorFn Fn;
    std::function<TColor()> Expected[5];  // normal, hot, pressed, focused, disabled
  };
  auto text = [](auto d, TColor fallback) { return [=] { return StyleText(d, fallback); }; };
  auto styleColor = [](TStyleColor c) { return [=] { return StyleServices()->GetStyleColor(c); }; };
  auto fontColor = [](TStyleFont f) { return [=] { return StyleServices()->GetStyleFontColor(f); }; };
  const TColor face = clBtnFace;
  const Case cases[] = {
      {"EditBackground",
       GetEditBackgroundColor,
       {styleColor(scEdit), styleColor(scEditDisabled), styleColor(scEditDisabled), styleColor(scEditDisabled),
        styleColor(scEditDisabled)}},
      {"EditText",
       GetEditTextColor,
       {fontColor(sfEditBoxTextNormal), fontColor(sfEditBoxTextDisabled), fontColor(sfEditBoxTextDisabled),
        fontColor(sfEditBoxTextDisabled), fontColor(sfEditBoxTextDisabled)}},
      {"ButtonText",
       GetButtonTextColor,
       {text(tbPushButtonNormal, face), text(tbPushButtonHot, face), text(tbPushButtonPressed, face),
        text(tbPushButtonDefaulted, face), text(tbPushButtonDisabled, face)}},
      {"ToolButtonText",
       GetToolButtonTextColor,
       {text(ttbButtonNormal, face), text(ttbButtonHot, face), text(ttbButtonPressed, face), text(ttbButtonHot, face),
        text(ttbButtonDisabled, face)}},
      {"CheckBoxText",
       GetCheckBoxTextColor,
       {text(tbCheckBoxUncheckedNormal, clBtnText), text(tbCheckBoxUncheckedHot, clBtnText),
        text(tbCheckBoxUncheckedPressed, clBtnText), text(tbCheckBoxUncheckedHot, clBtnText),
        text(tbCheckBoxUncheckedDisabled, clBtnText)}},
      {"HeaderText",
       GetHeaderTextColor,
       {text(tgFixedCellNormal, face), text(tgFixedCellHot, face), text(tgFixedCellPressed, face),
        text(tgFixedCellNormal, face), text(tbCheckBoxUncheckedDisabled, face)}},
      {"TabText",
       GetTabTextColor,
       {text(ttTabItemNormal, face), text(ttTabItemHot, face), text(ttTabItemNormal, face),
        text(ttTabItemSelected, face), text(ttTabItemDisabled, face)}},
      {"TabButtonText",
       GetTabButtonTextColor,
       {text(ttTabItemNormal, face), text(ttTabItemHot, face), text(ttTabItemSelected, face),
        text(ttTabItemSelected, face), text(ttTabItemDisabled, face)}},
      {"CaptionText",
       GetCaptionTextColor,
       {text(twCaptionActive, clBtnText), text(twCaptionActive, clBtnText), text(twCaptionActive, clBtnText),
        text(twCaptionActive, clBtnText), text(twCaptionInactive, clBtnText)}},
      {"PopupItemText",
       GetPopupItemTextColor,
       {text(tmPopupItemNormal, face), text(tmPopupItemHot, face), text(tmPopupItemNormal, face),
        text(tmPopupItemNormal, face), text(tmPopupItemDisabled, face)}},
  };
  // A custom style is drawn whatever the theme switches say.
  for (DWORD themes : {STAP_VALIDBITS, DWORD(0)}) {
    SetThemeAppProperties(themes);
    for (const String& name : CustomStyles()) {
      TStyleManager::SetStyle(name);
      for (const Case& c : cases)
        for (int s = 0; s < 5; ++s) EXPECT_EQ(c.Fn(kStates[s]), c.Expected[s]()) << name << " " << c.Name << " state " << s;
      EXPECT_EQ(GetSelectionTextColor(), StyleText(tgCellSelected, clHighlightText)) << name;
    }
    TStyleManager::SetStyle("Windows");
  }
}

// Registers a style that gives no text colours and checks, in the child process of a
// death test, that every look-up takes the fallback of its function (clBtnFace where that
// is named, as it stands). Mismatches go to stderr.
bool BareStyleGivesTheFallbacks() {
  // Families given without text: nothing falls through to the system style's text.
  const std::string bare = R"({"name": "Bare Test Style", "dark": false, "elements": {
      "pushButton": {"base": {"fill": "#808080"}}, "toolButton": {"base": {"fill": "#808080"}},
      "checkBox": {"base": {"fill": "#808080"}}, "gridFixedCell": {"base": {"fill": "#808080"}},
      "tabItem": {"base": {"fill": "#808080"}}, "caption": {"base": {"fill": "#808080"}},
      "popupItem": {"base": {"fill": "#808080"}}, "gridCell": {"base": {"fill": "#808080"}}}})";
  TStyleManager::SetStyle(TStyleManager::LoadFromData(bare.data(), bare.size(), "Bare.json"));
  bool ok = true;
  auto check = [&](bool good, const char* what, int state) {
    if (!good) std::fprintf(stderr, "%s, state %d\n", what, state);
    ok = ok && good;
  };
  TColor c;
  check(IsCustomStyle(), "not styled", 0);
  check(!StyleServices()->GetElementColor(StyleServices()->GetElementDetails(tbPushButtonNormal), ecTextColor, c),
        "the style has a text colour", 0);
  struct Case {
    const char* Name;
    TStateColorFn Fn;
    TColor Fallback;
  };
  const Case cases[] = {
      {"Button", GetButtonTextColor, clBtnFace},     {"ToolButton", GetToolButtonTextColor, clBtnFace},
      {"CheckBox", GetCheckBoxTextColor, clBtnText}, {"Header", GetHeaderTextColor, clBtnFace},
      {"Tab", GetTabTextColor, clBtnFace},           {"TabButton", GetTabButtonTextColor, clBtnFace},
      {"Caption", GetCaptionTextColor, clBtnText},   {"PopupItem", GetPopupItemTextColor, clBtnFace},
  };
  for (const Case& k : cases)
    for (TqvsCtrlState s : kStates) check(k.Fn(s) == k.Fallback, k.Name, s);
  check(GetSelectionTextColor() == clHighlightText, "Selection", 0);
  return ok;
}

// In a child process, so that the style registered there stays out of the other tests'
// lists of styles.
TEST(DrawUtilsColorsDeathTest, StateColoursOfAStyleWithoutTextColoursAreTheFallbacks) {
  EXPECT_EXIT(std::exit(BareStyleGivesTheFallbacks() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST_F(DrawUtilsColorsTest, PopupAndSelectionTextAskTheSystemStyleWhenThemed) {
  for (TqvsCtrlState s : kStates) {
    const TColor expected = s == qvsHot        ? StyleText(tmPopupItemHot, clBtnFace)
                            : s == qvsDisabled ? StyleText(tmPopupItemDisabled, clBtnFace)
                                               : StyleText(tmPopupItemNormal, clBtnFace);
    EXPECT_EQ(GetPopupItemTextColor(s), expected) << s;
  }
  EXPECT_EQ(GetSelectionTextColor(), StyleText(tgCellSelected, clHighlightText));

  // Windows XP draws selections in the system colours unless a custom style is active.
  TOSAnswers xp;
  xp.MajorVersion = 5;
  xp.MinorVersion = 1;
  TOSAnswersOverride scope(xp);
  InitWindowsVersion();
  ASSERT_NE(StyleText(tgCellSelected, clHighlightText), clHighlightText) << "the test cannot tell the paths apart";
  EXPECT_EQ(GetSelectionTextColor(), clHighlightText);
  TStyleManager::SetStyle("Windows10 Dark");
  EXPECT_EQ(GetSelectionTextColor(), StyleText(tgCellSelected, clHighlightText));
  EXPECT_NE(GetSelectionTextColor(), clHighlightText);
}

// ---- colour texts ----

struct ParseCase {
  std::string Text;
  bool Ok;
  TColor Color;
};

TEST(DrawUtilsColorTexts, HexToColor) {
  const ParseCase cases[] = {
      {"#ff8000", true, 0xFF8000},
      {"12H", true, 0x12},
      {"12h", true, 0x12},
      {"#12H", true, 0x12},
      {"FF0000", true, 0xFF0000},  // the TColor number itself: blue
      {"0", true, 0},
      {"aBcDeF", true, 0xABCDEF},
      {"1FFFFFFF", true, clNone},
      {"FFFFFFFF", true, TColor(0xFFFFFFFF)},
      // Digits beyond eight push the first ones out.
      {"123456789", true, 0x23456789},
      {"G1", false, 0},
      {"", false, 0},
      {"#", false, 0},
      {"H", false, 0},
      {"#H", false, 0},
      {"##12", false, 0},
      {"12HH", false, 0},
      {"0x12", false, 0},
      {"-1", false, 0},
      {" 12", false, 0},
      {"12 ", false, 0},
      {"\xC3\xA9", false, 0},
      {std::string("1\0" "2", 3), false, 0},
      // Only the first 255 characters are read.
      {std::string(300, 'F'), true, TColor(0xFFFFFFFF)},
      {std::string(254, '0') + "7" + "XYZ", true, 7},
      {std::string(254, '0') + "X7", false, 0},
  };
  for (const ParseCase& c : cases) {
    TColor color = 0x5A5A5A;
    EXPECT_EQ(HexToColor(c.Text, color), c.Ok) << "'" << c.Text << "'";
    EXPECT_EQ(color, c.Color) << "'" << c.Text << "'";
  }
}

TEST(DrawUtilsColorTexts, DecToColor) {
  const ParseCase cases[] = {
      {"123456789", false, 0},  // nine characters
      {"16777217", true, 1},
      {"16777215", true, 0xFFFFFF},
      {"99999999", true, 0xF5E0FF},  // 0x5F5E0FF masked
      {"255", true, 255},
      {"0", true, 0},
      {"-1", true, 0xFFFFFF},
      {"$FF", true, 255},
      {"", false, 0},
      {"abc", false, 0},
      {"12.5", false, 0},
      {"1e3", false, 0},
  };
  for (const ParseCase& c : cases) {
    TColor color = 0x5A5A5A;
    EXPECT_EQ(DecToColor(c.Text, color), c.Ok) << "'" << c.Text << "'";
    EXPECT_EQ(color, c.Color) << "'" << c.Text << "'";
  }
}

TEST(DrawUtilsColorTexts, EveryColourNameInAnyCase) {
  struct Name {
    const char* Text;
    TColor Color;
  };
  const Name table[] = {
      {"black", 0x000000},  {"maroon", 0x000080},  {"green", 0x008000},   {"olive", 0x008080},
      {"navy", 0x800000},   {"purple", 0x800080},  {"teal", 0x808000},    {"gray", 0x808080},
      {"ltgray", 0xC0C0C0}, {"silver", 0xC0C0C0},  {"red", 0x0000FF},     {"lime", 0x00FF00},
      {"yellow", 0x00FFFF}, {"blue", 0xFF0000},    {"fuchsia", 0xFF00FF}, {"magenta", 0xFF00FF},
      {"aqua", 0xFFFF00},   {"dkgray", 0x808080},  {"white", 0xFFFFFF},   {"moneygreen", 0xC0DCC0},
      {"skyblue", 0xF0CAA6}, {"cream", 0xF0FBFF},  {"medgray", 0xA4A0A0}, {"brown", 0x17335C},
      {"orange", 0x008CFF}, {"pink", 0x9314FF},
  };
  for (const Name& n : table) {
    const std::string lower = n.Text, upper = UpperCase(n.Text);
    std::string mixed = lower;
    mixed[0] = char(std::toupper(mixed[0]));
    for (const std::string& text : {lower, upper, mixed}) {
      TColor color = 0x5A5A5A;
      EXPECT_TRUE(ColorNameToColor(text, color)) << text;
      EXPECT_EQ(color, n.Color) << text;
    }
  }
  // The list the parser offers is this table, no more.
  ASSERT_EQ(ColorNames().size(), std::size(table));
  for (const TqvColorName& entry : ColorNames()) {
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [&](const Name& n) { return std::string(n.Text) == entry.Name; });
    ASSERT_NE(it, std::end(table)) << entry.Name;
    EXPECT_EQ(entry.Value, it->Color) << entry.Name;
  }
}

TEST(DrawUtilsColorTexts, UnknownNamesFail) {
  for (const char* text : {"grey", "", " red", "red ", "clRed", "#FF0000", "light gray", "re"}) {
    TColor color = 0x5A5A5A;
    EXPECT_FALSE(ColorNameToColor(text, color)) << text;
    EXPECT_EQ(color, 0) << text;
  }
}

}  // namespace
