#include "ElementPainter.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

#include "Glyphs.h"
#include "gdi/Raster.h"

namespace {

// Element coordinates beyond this are clamped so that cairo's fixed-point numbers stay
// in range; what is visible of such an element lies far inside the limit anyway.
constexpr int64_t kCoordinateLimit = 1 << 20;

struct Box {
  double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
  double W() const { return X1 - X0; }
  double H() const { return Y1 - Y0; }
  bool Empty() const { return X1 <= X0 || Y1 <= Y0; }
  Box Deflated(double l, double t, double r, double b) const { return {X0 + l, Y0 + t, X1 - r, Y1 - b}; }
  Box Deflated(double d) const { return Deflated(d, d, d, d); }
};

void SetColor(cairo_t* cr, const TStyleRgba& c, double alpha = 1) {
  cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0 * alpha);
}

// Corner radii: top-left, top-right, bottom-right, bottom-left.
struct Radii {
  double TL = 0, TR = 0, BR = 0, BL = 0;
};

// A corner is round only where both of its sides are drawn, so an open side (the bottom
// of a tab) meets its neighbours squarely.
Radii CornerRadii(double r, int sides, const Box& b) {
  r = std::max(0.0, std::min(r, std::min(b.W(), b.H()) / 2));
  auto both = [&](int a, int c) { return (sides & a) && (sides & c) ? r : 0.0; };
  return {both(kSideLeft, kSideTop), both(kSideTop, kSideRight), both(kSideRight, kSideBottom),
          both(kSideBottom, kSideLeft)};
}

void RoundedRect(cairo_t* cr, const Box& b, const Radii& r) {
  cairo_new_sub_path(cr);
  cairo_move_to(cr, b.X0 + r.TL, b.Y0);
  cairo_line_to(cr, b.X1 - r.TR, b.Y0);
  if (r.TR > 0) cairo_arc(cr, b.X1 - r.TR, b.Y0 + r.TR, r.TR, -M_PI / 2, 0);
  cairo_line_to(cr, b.X1, b.Y1 - r.BR);
  if (r.BR > 0) cairo_arc(cr, b.X1 - r.BR, b.Y1 - r.BR, r.BR, 0, M_PI / 2);
  cairo_line_to(cr, b.X0 + r.BL, b.Y1);
  if (r.BL > 0) cairo_arc(cr, b.X0 + r.BL, b.Y1 - r.BL, r.BL, M_PI / 2, M_PI);
  cairo_line_to(cr, b.X0, b.Y0 + r.TL);
  if (r.TL > 0) cairo_arc(cr, b.X0 + r.TL, b.Y0 + r.TL, r.TL, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

// The outline of some sides of a rounded rectangle as open strokes (b is the stroke's
// centre line). Open ends reach out by half the width, so the corners are covered.
void StrokeSides(cairo_t* cr, const Box& b, const Radii& r, int sides, double width) {
  if (sides == kSideAll) {
    RoundedRect(cr, b, r);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
    return;
  }
  const double h = width / 2;
  // Sides clockwise from the left one (drawn upwards); each ends at the corner after it.
  const int order[4] = {kSideLeft, kSideTop, kSideRight, kSideBottom};
  auto present = [&](int i) { return (sides & order[((i % 4) + 4) % 4]) != 0; };
  int start = 0;
  while (start < 4 && present(start)) ++start;  // a missing side to start after
  for (int k = 1; k <= 4; ++k) {
    const int i = (start + k) % 4;
    if (!present(i)) continue;
    const bool joinedBefore = present(i - 1), joinedAfter = present(i + 1);
    switch (order[i]) {
      case kSideLeft:
        if (!joinedBefore) {
          cairo_new_sub_path(cr);
          cairo_move_to(cr, b.X0, b.Y1 + h);
        }
        cairo_line_to(cr, b.X0, joinedAfter ? b.Y0 + r.TL : b.Y0 - h);
        if (joinedAfter && r.TL > 0) cairo_arc(cr, b.X0 + r.TL, b.Y0 + r.TL, r.TL, M_PI, 3 * M_PI / 2);
        break;
      case kSideTop:
        if (!joinedBefore) {
          cairo_new_sub_path(cr);
          cairo_move_to(cr, b.X0 - h, b.Y0);
        }
        cairo_line_to(cr, joinedAfter ? b.X1 - r.TR : b.X1 + h, b.Y0);
        if (joinedAfter && r.TR > 0) cairo_arc(cr, b.X1 - r.TR, b.Y0 + r.TR, r.TR, -M_PI / 2, 0);
        break;
      case kSideRight:
        if (!joinedBefore) {
          cairo_new_sub_path(cr);
          cairo_move_to(cr, b.X1, b.Y0 - h);
        }
        cairo_line_to(cr, b.X1, joinedAfter ? b.Y1 - r.BR : b.Y1 + h);
        if (joinedAfter && r.BR > 0) cairo_arc(cr, b.X1 - r.BR, b.Y1 - r.BR, r.BR, 0, M_PI / 2);
        break;
      case kSideBottom:
        if (!joinedBefore) {
          cairo_new_sub_path(cr);
          cairo_move_to(cr, b.X1 + h, b.Y1);
        }
        cairo_line_to(cr, joinedAfter ? b.X0 + r.BL : b.X0 - h, b.Y1);
        if (joinedAfter && r.BL > 0) cairo_arc(cr, b.X0 + r.BL, b.Y1 - r.BL, r.BL, M_PI / 2, M_PI);
        break;
    }
  }
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_stroke(cr);
}

void SetFillSource(cairo_t* cr, const TRecipeFill& fill, const Box& b, size_t first, size_t count, double y0,
                   double y1) {
  if (count == 1) {
    SetColor(cr, fill.Colors[first]);
    return;
  }
  cairo_pattern_t* p = fill.Horizontal ? cairo_pattern_create_linear(b.X0, 0, b.X1, 0)
                                       : cairo_pattern_create_linear(0, y0, 0, y1);
  for (size_t i = 0; i < count; ++i) {
    const TStyleRgba& c = fill.Colors[first + i];
    cairo_pattern_add_color_stop_rgba(p, double(i) / double(count - 1), c.R / 255.0, c.G / 255.0, c.B / 255.0,
                                      c.A / 255.0);
  }
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

void PaintFill(cairo_t* cr, const TRecipeFill& fill, const Box& b, const Radii& r) {
  if (fill.Kind == TFillKind::None || fill.Colors.empty()) return;
  cairo_save(cr);
  RoundedRect(cr, b, r);
  if (fill.Kind != TFillKind::Glossy) {
    SetFillSource(cr, fill, b, 0, fill.Kind == TFillKind::Solid ? 1 : fill.Colors.size(), b.Y0, b.Y1);
    cairo_fill(cr);
  } else {
    // Two gradients, one over each half, split where the style says.
    cairo_clip(cr);
    // On a pixel edge, so that the halves meet without a seam.
    const double split = std::round(fill.Horizontal ? b.X0 + b.W() * fill.Split : b.Y0 + b.H() * fill.Split);
    const Box first = fill.Horizontal ? Box{b.X0, b.Y0, split, b.Y1} : Box{b.X0, b.Y0, b.X1, split};
    const Box second = fill.Horizontal ? Box{split, b.Y0, b.X1, b.Y1} : Box{b.X0, split, b.X1, b.Y1};
    for (int half = 0; half < 2; ++half) {
      const Box& part = half ? second : first;
      if (part.Empty()) continue;
      SetFillSource(cr, fill, part, size_t(half * 2), 2, part.Y0, part.Y1);
      cairo_rectangle(cr, part.X0, part.Y0, part.W(), part.H());
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

// A soft band: concentric one-pixel outlines whose opacity falls off away from the body.
void PaintGlow(cairo_t* cr, const TRecipeGlow& glow, const Box& b, double radius, int sides, bool inner,
               double scale) {
  const double size = glow.Size * scale;
  const int steps = int(std::ceil(size));
  if (steps <= 0 || glow.Color.A == 0) return;
  cairo_save(cr);
  if (inner) {
    RoundedRect(cr, b, CornerRadii(radius, sides, b));
    cairo_clip(cr);
  }
  for (int i = 0; i < steps; ++i) {
    const double d = i + 0.5;
    const double falloff = 1 - d / (size + 0.5);
    const Box ring = inner ? b.Deflated(d) : b.Deflated(-d);
    if (ring.Empty()) break;
    const double r = inner ? std::max(0.0, radius - d) : radius + d;
    RoundedRect(cr, ring, CornerRadii(r, sides, ring));
    SetColor(cr, glow.Color, falloff * falloff);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// Classic 3-D rings: the outer ring on the body's edge, the inner one a pixel inside; only
// the sides the border is drawn on.
void PaintEdge(cairo_t* cr, TRecipeEdge edge, const Box& b, const TEdgeColors& colors, int sides) {
  struct Ring {
    bool Drawn = false;
    COLORREF TopLeft = 0, BottomRight = 0;
  } outer, inner;
  auto raisedOuter = [&] { outer = {true, colors.Light, colors.DkShadow}; };
  auto sunkenOuter = [&] { outer = {true, colors.Shadow, colors.Highlight}; };
  auto raisedInner = [&] { inner = {true, colors.Highlight, colors.Shadow}; };
  auto sunkenInner = [&] { inner = {true, colors.DkShadow, colors.Light}; };
  switch (edge) {
    case TRecipeEdge::None: return;
    case TRecipeEdge::Raised: raisedOuter(); raisedInner(); break;
    case TRecipeEdge::Sunken: sunkenOuter(); sunkenInner(); break;
    case TRecipeEdge::Etched: sunkenOuter(); raisedInner(); break;
    case TRecipeEdge::Bump: raisedOuter(); sunkenInner(); break;
    case TRecipeEdge::RaisedOuter: raisedOuter(); break;
    case TRecipeEdge::SunkenOuter: sunkenOuter(); break;
    case TRecipeEdge::RaisedInner: raisedInner(); break;
    case TRecipeEdge::SunkenInner: sunkenInner(); break;
  }
  auto ring = [&](const Ring& g, const Box& r) {
    if (!g.Drawn || r.W() < 1 || r.H() < 1) return;
    const double x0 = std::round(r.X0), y0 = std::round(r.Y0), x1 = std::round(r.X1), y1 = std::round(r.Y1);
    SetColor(cr, TStyleRgba::FromRef(g.TopLeft));
    if (sides & kSideTop) cairo_rectangle(cr, x0, y0, x1 - x0 - 1, 1);
    if (sides & kSideLeft) cairo_rectangle(cr, x0, y0, 1, y1 - y0 - 1);
    cairo_fill(cr);
    SetColor(cr, TStyleRgba::FromRef(g.BottomRight));
    if (sides & kSideBottom) cairo_rectangle(cr, x0, y1 - 1, x1 - x0, 1);
    if (sides & kSideRight) cairo_rectangle(cr, x1 - 1, y0, 1, y1 - y0);
    cairo_fill(cr);
  };
  ring(outer, b);
  // The inner ring reaches to the body's edge where the outer ring is open.
  const Box in = outer.Drawn ? b.Deflated(sides & kSideLeft ? 1 : 0, sides & kSideTop ? 1 : 0,
                                          sides & kSideRight ? 1 : 0, sides & kSideBottom ? 1 : 0)
                             : b;
  ring(inner, in);
}

void PaintAccent(cairo_t* cr, const TRecipeAccent& accent, const Box& b, double scale) {
  const double w = std::max(1.0, std::round(accent.Width * scale));
  SetColor(cr, accent.Color);
  switch (accent.Side) {
    case kSideLeft: cairo_rectangle(cr, b.X0, b.Y0, w, b.H()); break;
    case kSideTop: cairo_rectangle(cr, b.X0, b.Y0, b.W(), w); break;
    case kSideRight: cairo_rectangle(cr, b.X1 - w, b.Y0, w, b.H()); break;
    default: cairo_rectangle(cr, b.X0, b.Y1 - w, b.W(), w); break;
  }
  cairo_fill(cr);
}

void PaintGlyph(cairo_t* cr, const TPaintRequest& q, const Box& body) {
  const TElementRecipe& r = *q.Recipe;
  if (q.Glyph == gsNone) return;
  TGlyphStyle style;
  style.Color = r.Glyph.Color ? *r.Glyph.Color : r.Text ? *r.Text : TStyleRgba{0, 0, 0, 255};
  style.Kind = r.Glyph.Kind ? *r.Glyph.Kind : "auto";
  style.Weight = r.Glyph.Weight ? std::max(1.0, std::round(*r.Glyph.Weight * q.Scale)) : 0;
  const TRecipeInsets m = r.Margins ? *r.Margins : TRecipeInsets{};
  const Box content = body.Deflated(m.Left * q.Scale, m.Top * q.Scale, m.Right * q.Scale, m.Bottom * q.Scale);
  if (content.Empty()) return;
  if (GlyphSpansContent(q.Glyph)) {
    DrawGlyph(cr, q.Glyph, style, content.X0, content.Y0, content.W(), content.H());
    return;
  }
  double side = r.Glyph.Size ? *r.Glyph.Size * q.Scale
                             : std::min(content.W(), content.H()) * DefaultGlyphFraction(q.Glyph);
  // Whole pixels keep small glyphs crisp; an odd box centres on a pixel.
  side = std::max(1.0, std::round(std::min(side, std::min(content.W(), content.H()))));
  double x = 0, y = 0;
  switch (q.Place) {
    case gpCenter:
      x = content.X0 + std::floor((content.W() - side) / 2);
      y = content.Y0 + std::floor((content.H() - side) / 2);
      break;
    case gpRight: {
      // The drop-down part: a square at the right end as tall as the content.
      const double part = std::min(content.H(), content.W());
      x = content.X1 - part + std::floor((part - side) / 2);
      y = content.Y0 + std::floor((content.H() - side) / 2);
      break;
    }
    case gpBottomRight:
      x = content.X1 - side;
      y = content.Y1 - side;
      break;
    case gpBottomLeft:
      x = content.X0;
      y = content.Y1 - side;
      break;
  }
  DrawGlyph(cr, q.Glyph, style, x, y, side, side);
}

void Render(cairo_t* cr, const TPaintRequest& q, const Box& element) {
  const TElementRecipe& r = *q.Recipe;
  const double s = q.Scale;
  const TRecipeInsets in = r.Inset ? *r.Inset : TRecipeInsets{};
  const Box body = element.Deflated(std::round(in.Left * s), std::round(in.Top * s), std::round(in.Right * s),
                                    std::round(in.Bottom * s));
  const double opacity = r.Opacity ? *r.Opacity : 1.0;
  if (opacity <= 0) return;
  if (opacity < 1) cairo_push_group(cr);

  if (!body.Empty()) {
    const int sides = r.BorderSides ? *r.BorderSides : kSideAll;
    const double radius = r.Radius ? *r.Radius * s : 0;
    const Radii radii = CornerRadii(radius, sides, body);
    const bool hasBorder = r.Border && r.Border->A > 0;
    const double bw = hasBorder ? std::max(1.0, std::round((r.BorderWidth ? *r.BorderWidth : 1.0) * s)) : 0;

    if (r.Glow) PaintGlow(cr, *r.Glow, body, radius, sides, false, s);
    if (r.Fill) PaintFill(cr, *r.Fill, body, radii);
    if (r.InnerGlow) PaintGlow(cr, *r.InnerGlow, body.Deflated(bw), std::max(0.0, radius - bw), sides, true, s);
    if (r.Highlight && r.Highlight->A > 0) {
      const int hs = r.HighlightSides ? *r.HighlightSides : kSideAll;
      const Box line = body.Deflated(bw + 0.5);
      if (!line.Empty()) {
        SetColor(cr, *r.Highlight);
        StrokeSides(cr, line, CornerRadii(std::max(0.0, radius - bw - 0.5), sides, line), hs, 1);
      }
    }
    if (r.Edge) PaintEdge(cr, *r.Edge, body, q.Edges, sides);
    if (hasBorder && sides) {
      const Box line = body.Deflated(bw / 2);
      SetColor(cr, *r.Border);
      StrokeSides(cr, line, CornerRadii(std::max(0.0, radius - bw / 2), sides, line), sides, bw);
    }
    if (r.Accent && r.Accent->Color.A > 0) PaintAccent(cr, *r.Accent, body, s);
    PaintGlyph(cr, q, body);
  }

  if (opacity < 1) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, opacity);
  }
}

inline uint32_t Div255(uint32_t v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

// Premultiplied source-over of one pixel.
inline uint32_t Over(uint32_t d, uint32_t s) {
  const uint32_t sa = s >> 24;
  if (sa == 255) return s;
  if (s == 0) return d;
  const uint32_t inv = 255 - sa;
  uint32_t out = 0;
  for (int k = 0; k < 32; k += 8) {
    const uint32_t v = ((s >> k) & 0xFFu) + Div255(((d >> k) & 0xFFu) * inv);
    out |= std::min<uint32_t>(v, 255u) << k;
  }
  return out;
}

int64_t Clamp(int64_t v) { return std::clamp<int64_t>(v, -kCoordinateLimit * 4, kCoordinateLimit * 4); }

}  // namespace

bool PaintElement(HDC hdc, const TPaintRequest& q) {
  GdiDC* dc = LiveDC(hdc);
  if (!dc || !q.Recipe) return false;
  Surface* surface = dc->GetSurface();
  if (!surface) return false;
  if (q.Rect.Right <= q.Rect.Left || q.Rect.Bottom <= q.Rect.Top) return true;

  const int64_t dx = int64_t(dc->S.ViewportOrg.X) - dc->S.WindowOrg.X + dc->DeviceOrigin.X;
  const int64_t dy = int64_t(dc->S.ViewportOrg.Y) - dc->S.WindowOrg.Y + dc->DeviceOrigin.Y;
  const int64_t ex0 = Clamp(q.Rect.Left + dx), ey0 = Clamp(q.Rect.Top + dy);
  const int64_t ex1 = Clamp(q.Rect.Right + dx), ey1 = Clamp(q.Rect.Bottom + dy);

  // What can change: the element, within the clip rectangle and the DC's clip.
  const RECT extents = dc->EffectiveClip().Extents();
  int64_t ax0 = std::max<int64_t>(ex0, extents.Left), ay0 = std::max<int64_t>(ey0, extents.Top);
  int64_t ax1 = std::min<int64_t>(ex1, extents.Right), ay1 = std::min<int64_t>(ey1, extents.Bottom);
  if (q.Clip) {
    ax0 = std::max<int64_t>(ax0, Clamp(q.Clip->Left + dx));
    ay0 = std::max<int64_t>(ay0, Clamp(q.Clip->Top + dy));
    ax1 = std::min<int64_t>(ax1, Clamp(q.Clip->Right + dx));
    ay1 = std::min<int64_t>(ay1, Clamp(q.Clip->Bottom + dy));
  }
  if (ax0 >= ax1 || ay0 >= ay1) return true;
  const RECT area{LONG(ax0), LONG(ay0), LONG(ax1), LONG(ay1)};

  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.Width(), area.Height());
  if (cairo_surface_status(scratch) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(scratch);
    return false;
  }
  cairo_t* cr = cairo_create(scratch);
  cairo_translate(cr, -double(area.Left), -double(area.Top));
  // Far-away edges move closer: what shows of the element stays the same.
  const Box element{double(std::max<int64_t>(ex0, ax0 - kCoordinateLimit)),
                    double(std::max<int64_t>(ey0, ay0 - kCoordinateLimit)),
                    double(std::min<int64_t>(ex1, ax1 + kCoordinateLimit)),
                    double(std::min<int64_t>(ey1, ay1 + kCoordinateLimit))};
  Render(cr, q, element);
  cairo_destroy(cr);
  cairo_surface_flush(scratch);

  const uint8_t* data = cairo_image_surface_get_data(scratch);
  const int stride = cairo_image_surface_get_stride(scratch);
  raster::ForEachSpan(dc, area, [&](uint32_t* row, int x0, int x1, int y) {
    const uint32_t* src = reinterpret_cast<const uint32_t*>(data + size_t(y - area.Top) * size_t(stride));
    for (int x = x0; x < x1; ++x) row[x] = Over(row[x], src[x - area.Left]);
  });
  cairo_surface_destroy(scratch);
  return true;
}
