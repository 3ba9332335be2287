// Text routines of the drawing toolkit: right-to-left mirroring of DrawText flags,
// captions shortened with "..." or fitted into a rectangle, wrapped, single-line, aligned,
// tabbed and rotated text. Text goes through the platform's DrawText in the canvas font,
// colour and brush (a solid brush paints the text's background).
#pragma once

#include "gdi/Text.h"
#include "vcl/Classes.h"
#include "vcl/Graphics.h"

class TStrings;

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

// Text keeps its longest beginning that fits Width together with "...", followed by
// "..." ("..." alone when nothing fits). A text no wider than Width is left as it is.
// Widths are the canvas's TextWidth.
void CorrectTextToWidth(TCanvas* Canvas, String& Text, int Width);

// Text word-wrapped and centred in Rect, no prefix processing. BreakWords: a word wider
// than Rect is broken where it would pass the edge, so every piece is drawn whole.
// Otherwise a text that does not fit is cut to its longest beginning that fits with
// "..." after it.
void DrawWrappedTextCentered(TCanvas* Canvas, const String& Text, const TRect& Rect, bool BreakWords);
// One vertically centred line when it fits Rect, else wrapped when that fits, else one
// line ending in "..."; no prefix processing.
void DrawTextSmart(TCanvas* Canvas, const String& Text, const TRect& Rect);

// One line, vertically centred in Rect, not clipped; right-aligned when RightToLeft.
// Nothing for an empty text.
void DrawSingleLineText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft);
// The same clipped to Rect.
void DrawSingleLineTextClipped(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft);
// One line, vertically centred, not clipped, no prefix processing, aligned by Alignment
// and mirrored when RightToLeft.
void DrawAlignedText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft, TAlignment Alignment);
// One line, vertically centred and clipped, aligned by Alignment, never mirrored.
void DrawAlignedTextSimple(TCanvas* Canvas, const String& Text, const TRect& Rect, TAlignment Alignment);

// TabbedTextOut of Text from x = Rect.Left + Offset + 2, vertically centred in Rect. The
// first ten lines of TabStops are the tab stops in pixels from where the text starts; a
// line that is not all decimal digits counts as 0. No stops (or no list): a stop every
// eight average characters.
void DrawTabbedText(const String& Text, TStrings* TabStops, TCanvas* Canvas, int Offset, const TRect& Rect);
// Text turned by Angle (tenths of a degree, counter-clockwise) around its start (X, Y),
// transparent, in Color and the canvas font. The canvas and its DC are left as they were.
void DrawRotatedText(TCanvas* Canvas, int Angle, int X, int Y, TColor Color, const String& Text);
