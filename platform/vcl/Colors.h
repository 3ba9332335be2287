// TColor: plain colours 0x00BBGGRR, system colours 0xFF000000 + index, the named
// constants, and their resolution to plain colours.
#pragma once

#include "SysUtils.h"

using TColor = int32_t;

constexpr TColor clSystemColor = TColor(0xFF000000);

constexpr TColor clScrollBar = TColor(0xFF000000);
constexpr TColor clBackground = TColor(0xFF000001);
constexpr TColor clActiveCaption = TColor(0xFF000002);
constexpr TColor clInactiveCaption = TColor(0xFF000003);
constexpr TColor clMenu = TColor(0xFF000004);
constexpr TColor clWindow = TColor(0xFF000005);
constexpr TColor clWindowFrame = TColor(0xFF000006);
constexpr TColor clMenuText = TColor(0xFF000007);
constexpr TColor clWindowText = TColor(0xFF000008);
constexpr TColor clCaptionText = TColor(0xFF000009);
constexpr TColor clActiveBorder = TColor(0xFF00000A);
constexpr TColor clInactiveBorder = TColor(0xFF00000B);
constexpr TColor clAppWorkSpace = TColor(0xFF00000C);
constexpr TColor clHighlight = TColor(0xFF00000D);
constexpr TColor clHighlightText = TColor(0xFF00000E);
constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clBtnShadow = TColor(0xFF000010);
constexpr TColor clGrayText = TColor(0xFF000011);
constexpr TColor clBtnText = TColor(0xFF000012);
constexpr TColor clInactiveCaptionText = TColor(0xFF000013);
constexpr TColor clBtnHighlight = TColor(0xFF000014);
constexpr TColor cl3DDkShadow = TColor(0xFF000015);
constexpr TColor cl3DLight = TColor(0xFF000016);
constexpr TColor clInfoText = TColor(0xFF000017);
constexpr TColor clInfoBk = TColor(0xFF000018);
constexpr TColor clHotLight = TColor(0xFF00001A);
constexpr TColor clGradientActiveCaption = TColor(0xFF00001B);
constexpr TColor clGradientInactiveCaption = TColor(0xFF00001C);
constexpr TColor clMenuHighlight = TColor(0xFF00001D);
constexpr TColor clMenuBar = TColor(0xFF00001E);

constexpr TColor clBlack = TColor(0x000000);
constexpr TColor clMaroon = TColor(0x000080);
constexpr TColor clGreen = TColor(0x008000);
constexpr TColor clOlive = TColor(0x008080);
constexpr TColor clNavy = TColor(0x800000);
constexpr TColor clPurple = TColor(0x800080);
constexpr TColor clTeal = TColor(0x808000);
constexpr TColor clGray = TColor(0x808080);
constexpr TColor clSilver = TColor(0xC0C0C0);
constexpr TColor clRed = TColor(0x0000FF);
constexpr TColor clLime = TColor(0x00FF00);
constexpr TColor clYellow = TColor(0x00FFFF);
constexpr TColor clBlue = TColor(0xFF0000);
constexpr TColor clFuchsia = TColor(0xFF00FF);
constexpr TColor clAqua = TColor(0xFFFF00);
constexpr TColor clLtGray = TColor(0xC0C0C0);
constexpr TColor clDkGray = TColor(0x808080);
constexpr TColor clWhite = TColor(0xFFFFFF);
constexpr TColor clMoneyGreen = TColor(0xC0DCC0);
constexpr TColor clSkyBlue = TColor(0xF0CAA6);
constexpr TColor clCream = TColor(0xF0FBFF);
constexpr TColor clMedGray = TColor(0xA4A0A0);

constexpr TColor clNone = TColor(0x1FFFFFFF);
constexpr TColor clDefault = TColor(0x20000000);

// A style may answer system colours itself; ColorToRGB asks it first for those.
using TStyleSysColorHook = TColor (*)(TColor SystemColor);
void SetStyleSysColorHook(TStyleSysColorHook Hook);
TStyleSysColorHook StyleSysColorHook();

// A system colour becomes its current plain value (the style hook's answer when a hook is
// set, else GetSysColor of the index); any other value is returned unchanged.
TColor ColorToRGB(TColor Color);

// "clBtnFace" and friends; ColorToString falls back to "$00BBGGRR", StringToColor to a
// number (raising EConvertError when it is neither).
bool ColorToIdent(TColor Color, String& Ident);
bool IdentToColor(const String& Ident, TColor& Color);
String ColorToString(TColor Color);
TColor StringToColor(const String& S);
