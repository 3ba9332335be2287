// The glyphs elements carry (check marks, arrows, caption button symbols, expanders, size
// grips ...), drawn as vector shapes with cairo, sized to the box they are given.
// Internal to the element painter.
#pragma once

#include <cairo.h>

#include "themes/ElementTable.h"
#include "themes/StyleFile.h"

struct TGlyphStyle {
  TStyleRgba Color;
  String Kind = "auto";  // see TRecipeGlyph::Kind
  double Weight = 0;     // stroke width in pixels; 0 picks one from the box
};

// The glyph's share of the smaller side of the content rectangle when the style gives no
// size; 1 for the lines, which run across the whole content rectangle.
double DefaultGlyphFraction(TGlyphShape shape);
// Shapes that span the content rectangle instead of a centred square.
bool GlyphSpansContent(TGlyphShape shape);
// Draws the shape filling the box (x, y, w, h) in device pixels.
void DrawGlyph(cairo_t* cr, TGlyphShape shape, const TGlyphStyle& style, double x, double y, double w, double h);
