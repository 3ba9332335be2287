// Pixel writing shared by the drawing calls: spans of a shape inside a DC's clip, raster
// operations and brush patterns. Internal to the drawing layer.
#pragma once

#include <algorithm>

#include "DC.h"

namespace raster {

// The pen colour of a binary raster operation applied to a pixel. Logical operations
// work on the colour bytes and keep the destination's alpha; operations whose result
// does not depend on the destination write opaque pixels.
inline uint32_t Rop2(uint32_t dst, uint32_t pen, int rop2) {
  if (rop2 == 13 /* R2_COPYPEN */) return pen | 0xFF000000u;
  const unsigned table = unsigned(rop2 - 1) & 15u;
  uint32_t r = 0;
  if (table & 1u) r |= ~pen & ~dst;
  if (table & 2u) r |= ~pen & dst;
  if (table & 4u) r |= pen & ~dst;
  if (table & 8u) r |= pen & dst;
  const bool usesDst = ((table >> 1) & 5u) != (table & 5u);
  return (r & 0x00FFFFFFu) | (usesDst ? (dst & 0xFF000000u) : 0xFF000000u);
}

// Calls fn(row, x0, x1, y) for every run of pixels of surfaceRect that lies in the DC's
// clip; row points at the start of surface row y.
template <class F>
void ForEachSpan(GdiDC* dc, const RECT& surfaceRect, F&& fn) {
  Surface* s = dc->GetSurface();
  if (!s || surfaceRect.IsEmpty()) return;
  int n = 0;
  const pixman_box32_t* boxes = dc->EffectiveClip().Boxes(&n);
  for (int i = 0; i < n; ++i) {
    const pixman_box32_t& b = boxes[i];
    if (b.y2 <= surfaceRect.Top) continue;
    if (b.y1 >= surfaceRect.Bottom) break;  // boxes come sorted by band
    const int x0 = std::max<int>(b.x1, surfaceRect.Left), x1 = std::min<int>(b.x2, surfaceRect.Right);
    if (x0 >= x1) continue;
    const int y0 = std::max<int>(b.y1, surfaceRect.Top), y1 = std::min<int>(b.y2, surfaceRect.Bottom);
    for (int y = y0; y < y1; ++y) fn(s->Row(y), x0, x1, y);
  }
}

// The same over every rectangle of a shape given in surface coordinates.
template <class F>
void ForEachSpan(GdiDC* dc, const Region& surfaceShape, F&& fn) {
  int n = 0;
  const pixman_box32_t* boxes = surfaceShape.Boxes(&n);
  for (int i = 0; i < n; ++i) ForEachSpan(dc, RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2}, fn);
}

COLORREF PenColor(GdiDC* dc, const GdiPen* pen);
COLORREF BrushColor(GdiDC* dc, const GdiBrush* brush);

// Fills a shape (surface coordinates) with a colour through a binary raster operation.
void FillShape(GdiDC* dc, const Region& surfaceShape, COLORREF color, int rop2);
// Fills a shape with a brush (solid or hatched, aligned to the brush origin); a null
// brush paints nothing.
void PaintShape(GdiDC* dc, const Region& surfaceShape, const GdiBrush* brush, int rop2);

}  // namespace raster
