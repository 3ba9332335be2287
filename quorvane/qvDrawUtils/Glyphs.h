// Small vector glyphs drawn with lines and single pixels, so that they scale with a
// control's ScaleFactor and take any colour: arrows, triangles, check mark, bullet, cross,
// tree-view expanders, dotted lines and dotted focus rectangles.
//
// Every routine centres its glyph in R at cx = R.Left + R.Width() / 2,
// cy = R.Top + R.Height() / 2. Scale below 1 counts as 1, above 100 as 100. Routines
// marked "pen" draw with the canvas pen in Color (its width stays as the caller set it);
// routines marked "DC pen" draw with the DC's stock DC_PEN in ColorToRGB(Color) and give
// the DC its previous pen back. A null canvas draws nothing.
#pragma once

#include "vcl/Graphics.h"

// Down arrow in the look of the system: a two-pixel chevron on Windows 10, a thin chevron
// on Windows 8, a filled triangle otherwise and whenever a custom style is active (pen).
void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// The filled triangle of DrawDropDownArrow (DC pen).
void DrawDownTriangle(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// Filled triangle pointing 1 left, 2 right, 3 up, 4 down; other directions draw nothing (pen).
void DrawArrowByDirection(TCanvas* Canvas, const TRect& R, TColor Color, double Scale, int Direction);
// Directions 1 and 2 of DrawArrowByDirection (DC pen, DC state kept).
void DrawArrowByDirectionDC(TCanvas* Canvas, const TRect& R, TColor Color, double Scale, int Direction);
// Tick (DC pen, DC state kept).
void DrawCheckMark(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// Filled round radio bullet (DC pen, DC state kept).
void DrawMenuBullet(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// Diagonal cross, an x shape (DC pen).
void DrawCrossMark(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// Tree expander, Direction 1 collapsed (pointing right), 2 expanded: chevrons when Modern
// or on Windows 10, else a triangle in Color outlined in Color2 (pen).
void DrawTreeArrow(TCanvas* Canvas, const TRect& R, TColor Color, bool Modern, double Scale, int Direction,
                   TColor Color2);
// Plus/minus box filled with FillColor, outlined in ShadeColor(FillColor), bars in LineColor.
void DrawTreePlusMinus(TCanvas* Canvas, const TRect& R, bool Expanded, double Scale, TColor LineColor,
                       TColor FillColor);
// Plus/minus box in the style's button colours, outline mixed with LineColor.
void DrawTreePlusMinusStyled(TCanvas* Canvas, const TRect& R, bool Expanded, double Scale, TColor LineColor);
// Every other pixel of a horizontal or vertical line, both ends included, starting with
// (X1, Y1); a diagonal pair, or an end before the start, draws nothing. The canvas pen
// takes the font colour, as callers that draw on with the pen expect.
void DrawDottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color);
// Dotted focus rectangle: one ring, two from Scale 1.5 on (the second inside the first).
void DrawFocusRectColor(TCanvas* Canvas, const TRect& R, TColor Color, double Scale);
// The same in the canvas font colour.
void DrawFocusRectScaled(TCanvas* Canvas, const TRect& R, double Scale);
