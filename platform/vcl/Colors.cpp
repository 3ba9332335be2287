#include "Colors.h"

#include "gdi/Edge.h"

namespace {

TStyleSysColorHook& Hook() {
  static TStyleSysColorHook hook = nullptr;
  return hook;
}

struct ColorName {
  TColor Value;
  const char* Name;
};

constexpr ColorName kNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    // Aliases: found by name, never chosen for a value.
    {clLtGray, "clLtGray"},
    {clDkGray, "clDkGray"},
};

}  // namespace

void SetStyleSysColorHook(TStyleSysColorHook hook) { Hook() = hook; }
TStyleSysColorHook StyleSysColorHook() { return Hook(); }

TColor ColorToRGB(TColor Color) {
  if (Color >= 0) return Color;
  if (TStyleSysColorHook hook = Hook()) return hook(Color);
  return TColor(GetSysColor(Color & 0xFF));
}

bool ColorToIdent(TColor Color, String& Ident) {
  for (const ColorName& n : kNames) {
    if (n.Value == Color) {
      Ident = n.Name;
      return true;
    }
  }
  return false;
}

bool IdentToColor(const String& Ident, TColor& Color) {
  for (const ColorName& n : kNames) {
    if (SameText(Ident, n.Name)) {
      Color = n.Value;
      return true;
    }
  }
  return false;
}

String ColorToString(TColor Color) {
  String ident;
  if (ColorToIdent(Color, ident)) return ident;
  String text = "$";
  text += IntToHex(Color, 8);  // appended, not "$" + ...: GCC 12 warns falsely at -O3
  return text;
}

TColor StringToColor(const String& S) {
  TColor c = 0;
  if (IdentToColor(S, c)) return c;
  return StrToInt(S);
}
