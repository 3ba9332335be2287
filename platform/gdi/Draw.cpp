#include "Draw.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "Raster.h"

namespace {

RECT Normalized(RECT r) {
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return r;
}

Region ShapeToSurface(GdiDC* dc, Region shape) {
  const POINT o = dc->ToSurface(POINT{0, 0});
  shape.Offset(o.X, o.Y);
  return shape;
}

// ---- pens ----

// Dash patterns of cosmetic pens, in pixels, on then off.
const std::vector<int>& DashPattern(int style) {
  static const std::vector<int> dash{18, 6}, dot{3, 3}, dashDot{9, 6, 3, 6}, dashDotDot{9, 3, 3, 3, 3, 3},
      alternate{1, 1}, solid{};
  switch (style) {
    case PS_DASH: return dash;
    case PS_DOT: return dot;
    case PS_DASHDOT: return dashDot;
    case PS_DASHDOTDOT: return dashDotDot;
    case PS_ALTERNATE: return alternate;
    default: return solid;
  }
}

// Walks a dash pattern along consecutive pixels; the phase carries across the segments of
// one polyline so dots do not restart at every corner.
struct DashWalker {
  const std::vector<int>& Pattern;
  size_t Index = 0;
  int Left;
  explicit DashWalker(const std::vector<int>& p) : Pattern(p), Left(p.empty() ? 0 : p[0]) {}
  // True for a pixel of a dash, false for one of a gap.
  bool Next() {
    if (Pattern.empty()) return true;
    const bool on = Index % 2 == 0;
    if (--Left == 0) {
      Index = (Index + 1) % Pattern.size();
      Left = Pattern[Index];
    }
    return on;
  }
};

bool IsWide(const GdiPen* pen) { return pen->Width > 1; }

struct PixelWriter {
  GdiDC* Dc;
  Surface* Target;
  const Region& Clip;
  uint32_t Ink;
  uint32_t Gap;
  bool DrawGaps;
  int Rop;
  void Put(int x, int y, bool on) const {
    if (!on && !DrawGaps) return;
    if (!Clip.Contains({x, y})) return;
    uint32_t& p = Target->At(x, y);
    p = raster::Rop2(p, on ? Ink : Gap, Rop);
  }
};

// Pixels from a to b (surface coordinates), b excluded, stepping as Bresenham does.
template <class F>
void WalkLine(POINT a, POINT b, F&& put) {
  int x = a.X, y = a.Y;
  const int dx = std::abs(b.X - a.X), dy = std::abs(b.Y - a.Y);
  const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  if (dx >= dy) {
    int err = 2 * dy - dx;
    for (int i = 0; i < dx; ++i) {
      put(x, y);
      if (err > 0) {
        y += sy;
        err -= 2 * dx;
      }
      err += 2 * dy;
      x += sx;
    }
  } else {
    int err = 2 * dx - dy;
    for (int i = 0; i < dy; ++i) {
      put(x, y);
      if (err > 0) {
        x += sx;
        err -= 2 * dy;
      }
      err += 2 * dx;
      y += sy;
    }
  }
}

// Rasterises the stroke of a wide pen along a path of logical points with cairo (no
// antialiasing), as the set of pixels whose centres the stroke covers.
Region StrokeRegion(const POINT* pts, int count, bool closed, const GdiPen* pen) {
  if (count < 2) return {};
  RECT box{pts[0].X, pts[0].Y, pts[0].X, pts[0].Y};
  for (int i = 1; i < count; ++i) {
    box.Left = std::min(box.Left, pts[i].X);
    box.Top = std::min(box.Top, pts[i].Y);
    box.Right = std::max(box.Right, pts[i].X);
    box.Bottom = std::max(box.Bottom, pts[i].Y);
  }
  const int margin = pen->Width + 2;
  InflateRect(&box, margin, margin);
  const int w = box.Width(), h = box.Height();
  if (int64_t(w) * h > (int64_t(1) << 26)) return {};
  cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, w, h);
  cairo_t* cr = cairo_create(mask);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(cr, pen->Width);
  const UINT cap = pen->Extended ? (pen->Style & PS_ENDCAP_MASK) : PS_ENDCAP_ROUND;
  const UINT join = pen->Extended ? (pen->Style & PS_JOIN_MASK) : PS_JOIN_ROUND;
  cairo_set_line_cap(cr, cap == PS_ENDCAP_FLAT     ? CAIRO_LINE_CAP_BUTT
                         : cap == PS_ENDCAP_SQUARE ? CAIRO_LINE_CAP_SQUARE
                                                   : CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, join == PS_JOIN_MITER   ? CAIRO_LINE_JOIN_MITER
                          : join == PS_JOIN_BEVEL ? CAIRO_LINE_JOIN_BEVEL
                                                  : CAIRO_LINE_JOIN_ROUND);
  // A pixel (x, y) is the unit square whose centre is (x + 0.5, y + 0.5).
  for (int i = 0; i < count; ++i) {
    const double x = pts[i].X - box.Left + 0.5, y = pts[i].Y - box.Top + 0.5;
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  if (closed) cairo_close_path(cr);
  cairo_stroke(cr);
  cairo_destroy(cr);
  cairo_surface_flush(mask);
  const uint8_t* data = cairo_image_surface_get_data(mask);
  const int stride = cairo_image_surface_get_stride(mask);
  std::vector<RECT> runs;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = data + size_t(y) * size_t(stride);
    for (int x = 0; x < w;) {
      if (row[x] < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < w && row[x] >= 128) ++x;
      runs.push_back({box.Left + start, box.Top + y, box.Left + x, box.Top + y + 1});
    }
  }
  cairo_surface_destroy(mask);
  return Region::FromBoxes(runs);
}

// The pixels of a shape whose 4-neighbours are not all inside it: a one-pixel outline
// lying exactly on the edge of the filled shape.
Region InnerOutline(const Region& shape) {
  Region interior = shape;
  for (const POINT d : {POINT{1, 0}, POINT{-1, 0}, POINT{0, 1}, POINT{0, -1}}) {
    Region shifted = shape;
    shifted.Offset(d.X, d.Y);
    interior.Intersect(shifted);
  }
  Region outline = shape;
  outline.Subtract(interior);
  return outline;
}

// Draws a polyline (logical points) with the DC's pen: 1-pixel lines pixel by pixel, each
// segment without its end point; wide pens as a stroked shape.
void StrokePolyline(GdiDC* dc, const POINT* pts, int count, bool closed) {
  const GdiPen* pen = dc->S.Pen;
  Surface* s = dc->GetSurface();
  if (!pen || pen->LineStyle() == PS_NULL || !s || count < 2) return;
  const int rop = dc->S.Rop2;
  const uint32_t ink = PixelFromColorRef(raster::PenColor(dc, pen));
  if (IsWide(pen)) {
    raster::FillShape(dc, ShapeToSurface(dc, StrokeRegion(pts, count, closed, pen)), ColorRefFromPixel(ink), rop);
    return;
  }
  DashWalker dashes(DashPattern(pen->LineStyle()));
  PixelWriter w{dc, s, dc->EffectiveClip(), ink, PixelFromColorRef(dc->S.BkColor), dc->S.BkMode == OPAQUE, rop};
  const int segments = closed ? count : count - 1;
  for (int i = 0; i < segments; ++i) {
    const POINT a = dc->ToSurface(pts[i]);
    const POINT b = dc->ToSurface(pts[(i + 1) % count]);
    WalkLine(a, b, [&](int x, int y) { w.Put(x, y, dashes.Next()); });
  }
}

// Fills a closed shape with the brush and outlines it with the pen. A null pen leaves
// the shape one pixel smaller on the right and bottom, as GDI draws it.
template <class ShapeOf>
BOOL DrawClosedShape(HDC h, RECT r, ShapeOf&& shapeOf) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  r = Normalized(r);
  const GdiPen* pen = dc->S.Pen;
  const bool noPen = !pen || pen->LineStyle() == PS_NULL;
  if (noPen) {
    --r.Right;
    --r.Bottom;
  }
  if (r.IsEmpty()) return TRUE;
  const int rop = dc->S.Rop2;
  if (noPen) {
    raster::PaintShape(dc, ShapeToSurface(dc, shapeOf(r)), dc->S.Brush, rop);
    return TRUE;
  }
  // An inside-frame pen keeps its whole width inside the rectangle; others straddle it.
  const int width = std::max(pen->Width, 1);
  RECT outer = r;
  if (width > 1 && (pen->Style & PS_STYLE_MASK) != PS_INSIDEFRAME) InflateRect(&outer, width / 2, width / 2);
  const Region shape = shapeOf(outer);
  Region outline;
  Region inner;
  if (width == 1) {
    outline = InnerOutline(shape);
    inner = shape;
    inner.Subtract(outline);
  } else {
    RECT in = outer;
    InflateRect(&in, -width, -width);
    inner = in.IsEmpty() ? Region() : shapeOf(in);
    outline = shape;
    outline.Subtract(inner);
  }
  raster::PaintShape(dc, ShapeToSurface(dc, inner), dc->S.Brush, rop);
  if (width == 1 && pen->LineStyle() != PS_SOLID && pen->LineStyle() != PS_INSIDEFRAME) {
    // Styled thin outlines follow the rectangle's path so the dashes run around it.
    const POINT path[4] = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
    StrokePolyline(dc, path, 4, true);
    return TRUE;
  }
  raster::FillShape(dc, ShapeToSurface(dc, outline), raster::PenColor(dc, pen), rop);
  return TRUE;
}

// The binary raster operation that a pattern-and-destination ternary one amounts to, or
// 0 when the operation reads a source.
int Rop3ToRop2(DWORD rop) {
  const unsigned t = (rop >> 16) & 0xFF;
  // Independent of the source: bits with S = 1 repeat those with S = 0.
  if (((t >> 2) & 0x33) != (t & 0x33)) return 0;
  const unsigned table = (t & 1) | (((t >> 1) & 1) << 1) | (((t >> 4) & 1) << 2) | (((t >> 5) & 1) << 3);
  return int(table) + 1;
}

}  // namespace

int FillRect(HDC h, const RECT* r, HBRUSH brush) {
  GdiDC* dc = LiveDC(h);
  GdiBrush* b = LiveObject<GdiBrush>(brush, OBJ_BRUSH);
  if (!dc || !r || !b) return FALSE;
  const RECT n = Normalized(*r);
  raster::PaintShape(dc, Region(dc->ToSurface(n)), b, R2_COPYPEN);
  return TRUE;
}

int FrameRect(HDC h, const RECT* r, HBRUSH brush) {
  GdiDC* dc = LiveDC(h);
  GdiBrush* b = LiveObject<GdiBrush>(brush, OBJ_BRUSH);
  if (!dc || !r || !b) return FALSE;
  const RECT n = Normalized(*r);
  if (n.IsEmpty()) return TRUE;
  Region frame(dc->ToSurface(n));
  RECT in = n;
  InflateRect(&in, -1, -1);
  if (!in.IsEmpty()) frame.Subtract(dc->ToSurface(in));
  raster::PaintShape(dc, frame, b, R2_COPYPEN);
  return TRUE;
}

BOOL InvertRect(HDC h, const RECT* r) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !r) return FALSE;
  raster::FillShape(dc, Region(dc->ToSurface(Normalized(*r))), 0, R2_NOT);
  return TRUE;
}

BOOL PatBlt(HDC h, int x, int y, int width, int height, DWORD rop) {
  GdiDC* dc = LiveDC(h);
  const int rop2 = Rop3ToRop2(rop);
  if (!dc || rop2 == 0) return FALSE;
  const Region area(dc->ToSurface(Normalized({x, y, x + width, y + height})));
  // Operations that ignore the pattern need no brush.
  const unsigned table = unsigned(rop2 - 1);
  if (((table >> 2) & 3u) == (table & 3u))
    raster::FillShape(dc, area, 0, rop2);
  else
    raster::PaintShape(dc, area, dc->S.Brush, rop2);
  return TRUE;
}

BOOL DrawFocusRect(HDC h, const RECT* r) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !r) return FALSE;
  const RECT n = Normalized(*r);
  if (n.IsEmpty()) return TRUE;
  const RECT s = dc->ToSurface(n);
  Region frame(s);
  RECT in = s;
  InflateRect(&in, -1, -1);
  if (!in.IsEmpty()) frame.Subtract(in);
  // Every other pixel, counted from the rectangle's corner, so the dots do not crawl
  // when the rectangle moves by one pixel.
  raster::ForEachSpan(dc, frame, [&](uint32_t* row, int x0, int x1, int y) {
    for (int x = x0; x < x1; ++x)
      if (((x - s.Left) + (y - s.Top)) % 2 == 0) row[x] ^= 0x00FFFFFFu;
  });
  return TRUE;
}

BOOL LineTo(HDC h, int x, int y) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  const POINT pts[2] = {dc->S.Position, {x, y}};
  StrokePolyline(dc, pts, 2, false);
  dc->S.Position = {x, y};
  return TRUE;
}

BOOL Polyline(HDC h, const POINT* points, int count) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !points || count < 2) return FALSE;
  StrokePolyline(dc, points, count, false);
  return TRUE;
}

BOOL PolyPolyline(HDC h, const POINT* points, const DWORD* counts, DWORD polylines) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !points || !counts) return FALSE;
  for (DWORD i = 0; i < polylines; ++i) {
    if (counts[i] < 2) return FALSE;
    StrokePolyline(dc, points, int(counts[i]), false);
    points += counts[i];
  }
  return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
  return DrawClosedShape(dc, {left, top, right, bottom}, [](const RECT& r) { return Region(r); });
}

BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height) {
  return DrawClosedShape(dc, {left, top, right, bottom},
                         [&](const RECT& r) { return RoundRectRegion(r, width, height); });
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
  return DrawClosedShape(dc, {left, top, right, bottom},
                         [](const RECT& r) { return RoundRectRegion(r, r.Width(), r.Height()); });
}

BOOL Polygon(HDC h, const POINT* points, int count) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !points || count < 2) return FALSE;
  raster::PaintShape(dc, ShapeToSurface(dc, PolygonRegion(points, count, dc->S.PolyFillMode == WINDING)),
                     dc->S.Brush, dc->S.Rop2);
  StrokePolyline(dc, points, count, true);
  return TRUE;
}

COLORREF SetPixel(HDC h, int x, int y, COLORREF color) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return CLR_INVALID;
  const POINT p = dc->ToSurface(POINT{x, y});
  if (!dc->EffectiveClip().Contains(p)) return CLR_INVALID;
  dc->GetSurface()->At(p.X, p.Y) = PixelFromColorRef(color);
  return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC h, int x, int y) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return CLR_INVALID;
  const POINT p = dc->ToSurface(POINT{x, y});
  if (!dc->EffectiveClip().Contains(p)) return CLR_INVALID;
  return ColorRefFromPixel(dc->GetSurface()->At(p.X, p.Y));
}

BOOL FillRgn(HDC h, HRGN rgn, HBRUSH brush) {
  GdiDC* dc = LiveDC(h);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  GdiBrush* b = LiveObject<GdiBrush>(brush, OBJ_BRUSH);
  if (!dc || !r || !b) return FALSE;
  raster::PaintShape(dc, ShapeToSurface(dc, r->Rgn), b, R2_COPYPEN);
  return TRUE;
}

BOOL PaintRgn(HDC h, HRGN rgn) {
  GdiDC* dc = LiveDC(h);
  return dc && FillRgn(h, rgn, dc->S.Brush);
}

BOOL InvertRgn(HDC h, HRGN rgn) {
  GdiDC* dc = LiveDC(h);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!dc || !r) return FALSE;
  raster::FillShape(dc, ShapeToSurface(dc, r->Rgn), 0, R2_NOT);
  return TRUE;
}

BOOL FrameRgn(HDC h, HRGN rgn, HBRUSH brush, int width, int height) {
  GdiDC* dc = LiveDC(h);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  GdiBrush* b = LiveObject<GdiBrush>(brush, OBJ_BRUSH);
  if (!dc || !r || !b || width < 0 || height < 0) return FALSE;
  // The frame is what is left of the region after eroding it by width and height.
  Region inner = r->Rgn;
  for (int i = 1; i <= width; ++i)
    for (const int dx : {i, -i}) {
      Region shifted = r->Rgn;
      shifted.Offset(dx, 0);
      inner.Intersect(shifted);
    }
  for (int i = 1; i <= height; ++i)
    for (const int dy : {i, -i}) {
      Region shifted = r->Rgn;
      shifted.Offset(0, dy);
      inner.Intersect(shifted);
    }
  Region frame = r->Rgn;
  frame.Subtract(inner);
  raster::PaintShape(dc, ShapeToSurface(dc, frame), b, R2_COPYPEN);
  return TRUE;
}

BOOL GradientFill(HDC h, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !vertices || !mesh || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) return FALSE;
  const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
  for (ULONG i = 0; i < meshCount; ++i) {
    if (rects[i].UpperLeft >= vertexCount || rects[i].LowerRight >= vertexCount) return FALSE;
    const TRIVERTEX& a = vertices[rects[i].UpperLeft];
    const TRIVERTEX& b = vertices[rects[i].LowerRight];
    // The rectangle's corners may come in either order; colours stay with their vertex.
    const bool horizontal = mode == GRADIENT_FILL_RECT_H;
    const TRIVERTEX& first = horizontal ? (a.x <= b.x ? a : b) : (a.y <= b.y ? a : b);
    const TRIVERTEX& last = &first == &a ? b : a;
    const RECT r = dc->ToSurface(Normalized({a.x, a.y, b.x, b.y}));
    const int span = horizontal ? r.Width() : r.Height();
    if (span <= 0) continue;
    // Channel at step i of n: c0 + (c1 - c0) * i / n on 16-bit values, high byte drawn;
    // the pixels are opaque like every other fill.
    auto colourAt = [&](int i) {
      auto lerp = [&](uint16_t c0, uint16_t c1) {
        return uint32_t((int64_t(c0) + (int64_t(c1) - int64_t(c0)) * i / span) >> 8);
      };
      return 0xFF000000u | (lerp(first.Red, last.Red) << 16) | (lerp(first.Green, last.Green) << 8) |
             lerp(first.Blue, last.Blue);
    };
    raster::ForEachSpan(dc, r, [&](uint32_t* row, int x0, int x1, int y) {
      if (horizontal) {
        for (int x = x0; x < x1; ++x) row[x] = colourAt(x - r.Left);
      } else {
        std::fill(row + x0, row + x1, colourAt(y - r.Top));
      }
    });
  }
  return TRUE;
}
