#include "qvDrawUtils/Colors.h"

#include <algorithm>
#include <array>

#include "qvDrawUtils/Style.h"
#include "themes/StyleServices.h"

namespace {

struct TRGB {
  int R, G, B;
};

TRGB Channels(TColor Color) {
  const uint32_t c = uint32_t(ColorToRGB(Color));
  return {int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)};
}

TColor FromChannels(int R, int G, int B) { return TColor(uint32_t(R) | (uint32_t(G) << 8) | (uint32_t(B) << 16)); }

bool IsDarkColor(TColor Color) {
  const TRGB c = Channels(GetStyleSystemColor(Color));
  return (c.R + c.G + c.B) / 3 < 128;
}

// The text colour the active style gives the element, or Fallback when it has none.
template <class TDetail>
TColor ElementTextColor(TDetail Detail, TColor Fallback) {
  TCustomStyleServices* services = StyleServices();
  TColor color = Fallback;
  if (!services->GetElementColor(services->GetElementDetails(Detail), ecTextColor, color)) return Fallback;
  return color;
}

// The system colour of a state's text when the style has no say.
TColor DefaultTextColor(TqvsCtrlState State) { return State == qvsDisabled ? clGrayText : clBtnText; }

constexpr std::array<TqvColorName, 26> kColorNames{{
    {"black", 0x000000},    {"maroon", 0x000080},  {"green", 0x008000},     {"olive", 0x008080},
    {"navy", 0x800000},     {"purple", 0x800080},  {"teal", 0x808000},      {"gray", 0x808080},
    {"silver", 0xC0C0C0},   {"red", 0x0000FF},     {"lime", 0x00FF00},      {"yellow", 0x00FFFF},
    {"blue", 0xFF0000},     {"fuchsia", 0xFF00FF}, {"aqua", 0xFFFF00},      {"ltgray", 0xC0C0C0},
    {"dkgray", 0x808080},   {"white", 0xFFFFFF},   {"moneygreen", 0xC0DCC0}, {"skyblue", 0xF0CAA6},
    {"cream", 0xF0FBFF},    {"medgray", 0xA4A0A0}, {"magenta", 0xFF00FF},   {"brown", 0x17335C},
    {"orange", 0x008CFF},   {"pink", 0x9314FF},
}};

constexpr size_t kMaxHexDigits = 255;

}  // namespace

// ---- colour arithmetic ----

TColor GetStyleSystemColor(TColor Color) {
  if (IsCustomStyle()) return StyleServices()->GetSystemColor(Color);
  return Color;
}

TColor DarkerColor(TColor Color, uint8_t Percent) {
  const int p = std::min<int>(Percent, 100);
  const TRGB c = Channels(Color);
  return FromChannels(c.R - MulDiv(c.R, p, 100), c.G - MulDiv(c.G, p, 100), c.B - MulDiv(c.B, p, 100));
}

TColor LighterColor(TColor Color, uint8_t Percent) {
  const int p = std::min<int>(Percent, 100);
  const TRGB c = Channels(Color);
  return FromChannels(c.R + MulDiv(255 - c.R, p, 100), c.G + MulDiv(255 - c.G, p, 100),
                      c.B + MulDiv(255 - c.B, p, 100));
}

TColor MixColors(TColor Color1, TColor Color2) {
  const TRGB a = Channels(Color1), b = Channels(Color2);
  return FromChannels((a.R + b.R) >> 1, (a.G + b.G) >> 1, (a.B + b.B) >> 1);
}

TColor ShadeColor(TColor Color) {
  const TRGB c = Channels(Color);
  // The value of HSV in percent; hue and saturation do not matter here.
  const int value = Round(std::max({c.R, c.G, c.B}) * 100.0 / 255.0);
  return value >= 50 ? DarkerColor(Color, 10) : LighterColor(Color, 10);
}

bool IsDarkStyle() { return IsDarkColor(clBtnFace); }

bool IsDarkWindowColor() { return IsDarkColor(clWindow); }

TColor GetHighlightShadeColor() {
  const TColor h = GetStyleSystemColor(clHighlight);
  return IsDarkStyle() ? LighterColor(h, 30) : DarkerColor(h, 30);
}

// ---- colours of control states ----

TColor GetEditBackgroundColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return clWindow;
  return StyleServices()->GetStyleColor(State == qvsNormal ? scEdit : scEditDisabled);
}

TColor GetEditTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return State == qvsDisabled ? clGrayText : clWindowText;
  return StyleServices()->GetStyleFontColor(State == qvsNormal ? sfEditBoxTextNormal : sfEditBoxTextDisabled);
}

TColor GetButtonTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return DefaultTextColor(State);
  switch (State) {
    case qvsHot: return ElementTextColor(tbPushButtonHot, clBtnFace);
    case qvsPressed: return ElementTextColor(tbPushButtonPressed, clBtnFace);
    case qvsFocused: return ElementTextColor(tbPushButtonDefaulted, clBtnFace);
    case qvsDisabled: return ElementTextColor(tbPushButtonDisabled, clBtnFace);
    default: return ElementTextColor(tbPushButtonNormal, clBtnFace);
  }
}

TColor GetToolButtonTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return DefaultTextColor(State);
  switch (State) {
    case qvsHot:
    case qvsFocused: return ElementTextColor(ttbButtonHot, clBtnFace);
    case qvsPressed: return ElementTextColor(ttbButtonPressed, clBtnFace);
    case qvsDisabled: return ElementTextColor(ttbButtonDisabled, clBtnFace);
    default: return ElementTextColor(ttbButtonNormal, clBtnFace);
  }
}

TColor GetCheckBoxTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return DefaultTextColor(State);
  switch (State) {
    case qvsHot:
    case qvsFocused: return ElementTextColor(tbCheckBoxUncheckedHot, clBtnText);
    case qvsPressed: return ElementTextColor(tbCheckBoxUncheckedPressed, clBtnText);
    case qvsDisabled: return ElementTextColor(tbCheckBoxUncheckedDisabled, clBtnText);
    default: return ElementTextColor(tbCheckBoxUncheckedNormal, clBtnText);
  }
}

TColor GetHeaderTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return DefaultTextColor(State);
  switch (State) {
    case qvsHot: return ElementTextColor(tgFixedCellHot, clBtnFace);
    case qvsPressed: return ElementTextColor(tgFixedCellPressed, clBtnFace);
    // Fixed cells have no disabled look; a disabled check box's text stands in for it.
    case qvsDisabled: return ElementTextColor(tbCheckBoxUncheckedDisabled, clBtnFace);
    default: return ElementTextColor(tgFixedCellNormal, clBtnFace);
  }
}

TColor GetTabTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return DefaultTextColor(State);
  switch (State) {
    case qvsHot: return ElementTextColor(ttTabItemHot, clBtnFace);
    case qvsFocused: return ElementTextColor(ttTabItemSelected, clBtnFace);
    case qvsDisabled: return ElementTextColor(ttTabItemDisabled, clBtnFace);
    default: return ElementTextColor(ttTabItemNormal, clBtnFace);
  }
}

TColor GetTabButtonTextColor(TqvsCtrlState State) {
  return GetTabTextColor(State == qvsPressed ? qvsFocused : State);
}

TColor GetCaptionTextColor(TqvsCtrlState State) {
  if (!IsCustomStyle()) return State == qvsDisabled ? clInactiveCaptionText : clCaptionText;
  return ElementTextColor(State == qvsDisabled ? twCaptionInactive : twCaptionActive, clBtnText);
}

TColor GetPopupItemTextColor(TqvsCtrlState State) {
  if (!IsThemed()) {
    if (State == qvsHot) return clHighlightText;
    return DefaultTextColor(State);
  }
  switch (State) {
    case qvsHot: return ElementTextColor(tmPopupItemHot, clBtnFace);
    case qvsDisabled: return ElementTextColor(tmPopupItemDisabled, clBtnFace);
    default: return ElementTextColor(tmPopupItemNormal, clBtnFace);
  }
}

TColor GetSelectionTextColor() {
  const bool styled = IsCustomStyle();
  if (IsThemed() && !(IsWindowsXP() && !styled)) return ElementTextColor(tgCellSelected, clHighlightText);
  return clHighlightText;
}

// ---- pixels ----

uint32_t ColorToPixel(TColor Color, uint8_t Alpha) {
  const TRGB c = Channels(Color);
  return (uint32_t(Alpha) << 24) | (uint32_t(c.R) << 16) | (uint32_t(c.G) << 8) | uint32_t(c.B);
}

// ---- colour texts ----

bool HexToColor(const String& S, TColor& Color) {
  Color = 0;
  if (S.empty()) return false;
  String text = S[0] == '#' ? S.substr(1) : S;
  text = UpperCase(text);
  if (!text.empty() && text.back() == 'H') text.pop_back();
  // "#" or "H" alone hold no digits: not a colour, rather than black.
  if (text.empty()) return false;
  uint32_t value = 0;
  const size_t n = std::min(text.size(), kMaxHexDigits);
  for (size_t i = 0; i < n; ++i) {
    const char ch = text[i];
    uint32_t digit;
    if (ch >= '0' && ch <= '9')
      digit = uint32_t(ch - '0');
    else if (ch >= 'A' && ch <= 'F')
      digit = uint32_t(ch - 'A' + 10);
    else
      return false;
    value = (value << 4) + digit;
  }
  Color = TColor(value);
  return true;
}

bool DecToColor(const String& S, TColor& Color) {
  Color = 0;
  int32_t value = 0;
  if (Length(S) > 8 || !TryStrToInt(S, value)) return false;
  Color = TColor(value & 0xFFFFFF);
  return true;
}

bool ColorNameToColor(const String& S, TColor& Color) {
  Color = 0;
  const String name = LowerCase(S);
  for (const TqvColorName& entry : kColorNames)
    if (name == entry.Name) {
      Color = entry.Value;
      return true;
    }
  return false;
}

std::span<const TqvColorName> ColorNames() { return kColorNames; }
