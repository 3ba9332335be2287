#include "Raster.h"

namespace raster {

COLORREF PenColor(GdiDC* dc, const GdiPen* pen) { return pen->DCPen ? dc->S.DCPenColor : pen->Color; }

COLORREF BrushColor(GdiDC* dc, const GdiBrush* brush) {
  return brush->DCBrush ? dc->S.DCBrushColor : brush->Color;
}

void FillShape(GdiDC* dc, const Region& surfaceShape, COLORREF color, int rop2) {
  const uint32_t pen = PixelFromColorRef(color);
  if (rop2 == R2_NOP) return;
  ForEachSpan(dc, surfaceShape, [&](uint32_t* row, int x0, int x1, int) {
    if (rop2 == R2_COPYPEN) {
      std::fill(row + x0, row + x1, pen);
    } else {
      for (int x = x0; x < x1; ++x) row[x] = Rop2(row[x], pen, rop2);
    }
  });
}

namespace {
// Whether the 8 x 8 hatch pattern has a line at (x, y), both taken modulo 8.
bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x + y == 7;
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}
}  // namespace

void PaintShape(GdiDC* dc, const Region& surfaceShape, const GdiBrush* brush, int rop2) {
  if (!brush || brush->Style == BS_NULL) return;
  const COLORREF color = BrushColor(dc, brush);
  if (brush->Style != BS_HATCHED) {
    FillShape(dc, surfaceShape, color, rop2);
    return;
  }
  const uint32_t fore = PixelFromColorRef(color);
  const uint32_t back = PixelFromColorRef(dc->S.BkColor);
  const bool opaque = dc->S.BkMode == OPAQUE;
  // The pattern is anchored at the brush origin, in device coordinates.
  const int ox = dc->S.BrushOrg.X + dc->DeviceOrigin.X;
  const int oy = dc->S.BrushOrg.Y + dc->DeviceOrigin.Y;
  ForEachSpan(dc, surfaceShape, [&](uint32_t* row, int x0, int x1, int y) {
    const int py = ((y - oy) % 8 + 8) % 8;
    for (int x = x0; x < x1; ++x) {
      const int px = ((x - ox) % 8 + 8) % 8;
      if (HatchBit(brush->Hatch, px, py))
        row[x] = Rop2(row[x], fore, rop2);
      else if (opaque)
        row[x] = Rop2(row[x], back, rop2);
    }
  });
}

}  // namespace raster
