// Text routines of the drawing toolkit: right-to-left mirroring of DrawText flags and
// captions fitted into a rectangle. Text goes through the platform's DrawText in the
// canvas font, colour and brush.
#pragma once

#include "gdi/Text.h"
#include "vcl/Graphics.h"

// Mirrors DrawText flags for right-to-left reading: DT_RIGHT is dropped, or added when the
// text is neither right-aligned nor centred, and DT_RTLREADING is added. Unchanged when
// not RightToLeft.
UINT SetBiDiFlags(UINT Flags, bool RightToLeft);

// Draws Text word-wrapped in Rect (centred unless LeftAligned), vertically centred. A
// rectangle lower than one line is first made one line high. A text that does not fit
// loses characters from its end until it does and then ends in "..." (its last three
// characters become dots; a rest of one to three characters becomes its first character
// and "...", or "..." alone when that does not fit). Returns whether the text was
// shortened; an empty text draws nothing and returns false.
bool DrawFittedText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft,
                    bool LeftAligned);
