// Paints one element from its resolved recipe: cairo renders the visible part of the
// element into a premultiplied ARGB32 scratch surface, which is composited source-over
// onto the DC's pixels through the DC's origins and clip. An element drawn into a
// transparent 32-bit bitmap therefore leaves correct premultiplied alpha.
#pragma once

#include "themes/ElementTable.h"
#include "themes/StyleFile.h"

// The colours classic 3-D edges are drawn in.
struct TEdgeColors {
  COLORREF Highlight = 0xFFFFFF;
  COLORREF Light = 0xE3E3E3;
  COLORREF Shadow = 0xA0A0A0;
  COLORREF DkShadow = 0x696969;
};

struct TPaintRequest {
  const TElementRecipe* Recipe = nullptr;
  TGlyphShape Glyph = gsNone;
  TGlyphPlace Place = gpCenter;
  RECT Rect{};                  // logical coordinates of the DC
  const RECT* Clip = nullptr;   // logical; drawing stays inside it when given
  TEdgeColors Edges;
  double Scale = 1;             // screen pixels per 96-dpi pixel
};

// False for a bad DC or a DC without pixels; true otherwise, also when nothing of the
// element is visible.
bool PaintElement(HDC dc, const TPaintRequest& request);
