// Colour arithmetic on TColor values, the text and background colours of control states
// in the active style, and the parsers of colour texts.
#pragma once

#include <cstdint>
#include <span>

#include "qvDrawUtils/Types.h"
#include "vcl/Colors.h"

// Styled: the active style's value of a system colour; otherwise Color unchanged (a
// system colour stays one).
TColor GetStyleSystemColor(TColor Color);

// The functions below resolve system colours first (ColorToRGB) and answer plain colours.
// Each channel loses MulDiv(c, Percent, 100); Percent above 100 counts as 100 (black).
TColor DarkerColor(TColor Color, uint8_t Percent);
// Each channel gains MulDiv(255 - c, Percent, 100); Percent above 100 counts as 100.
TColor LighterColor(TColor Color, uint8_t Percent);
// The mean of each channel, rounded down.
TColor MixColors(TColor Color1, TColor Color2);
// 10 % darker for a bright colour (largest channel at least 127), else 10 % lighter.
TColor ShadeColor(TColor Color);
// The style's button face (IsDarkStyle) or window colour (IsDarkWindowColor) has a mean
// channel below 128.
bool IsDarkStyle();
bool IsDarkWindowColor();
// The highlight colour 30 % lighter in a dark style, 30 % darker in a light one.
TColor GetHighlightShadeColor();

// Colours of control states. Not styled they answer system colours (clWindow,
// clBtnText ...); styled they answer what the active style gives for the element of the
// state, or the fallback colour when the style has none. GetPopupItemTextColor asks the
// style whenever themed; GetSelectionTextColor whenever themed except on Windows XP
// without a custom style.
TColor GetEditBackgroundColor(TqvsCtrlState State);
TColor GetEditTextColor(TqvsCtrlState State);
TColor GetButtonTextColor(TqvsCtrlState State);
TColor GetToolButtonTextColor(TqvsCtrlState State);
TColor GetCheckBoxTextColor(TqvsCtrlState State);
TColor GetHeaderTextColor(TqvsCtrlState State);
TColor GetTabTextColor(TqvsCtrlState State);
// As GetTabTextColor, a pressed tab button showing as a selected tab.
TColor GetTabButtonTextColor(TqvsCtrlState State);
TColor GetCaptionTextColor(TqvsCtrlState State);
TColor GetPopupItemTextColor(TqvsCtrlState State);
TColor GetSelectionTextColor();

// The pixel 0xAARRGGBB of ColorToRGB(Color) with alpha Alpha, not premultiplied.
uint32_t ColorToPixel(TColor Color, uint8_t Alpha);

// Colour texts. Each answers false and Color = 0 when the text is not understood.
// Hexadecimal digits, optionally after "#" and before "H", read as the TColor number
// itself ("FF0000" is blue); case is ignored; only the first 255 characters are read,
// and a text without digits fails.
bool HexToColor(const String& S, TColor& Color);
// A decimal number of at most 8 characters (TryStrToInt), masked to 0xFFFFFF.
bool DecToColor(const String& S, TColor& Color);
// One of the names of ColorNames(), without regard to case.
bool ColorNameToColor(const String& S, TColor& Color);

struct TqvColorName {
  const char* Name;  // lower case
  TColor Value;
};
// The names ColorNameToColor knows.
std::span<const TqvColorName> ColorNames();
