#include "Glyphs.h"

#include <algorithm>
#include <cmath>

namespace {

void SetColor(cairo_t* cr, const TStyleRgba& c) {
  cairo_set_source_rgba(cr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
}

// A coordinate on the pixel grid for a line of the given width: centred on a pixel for odd
// widths, on a pixel edge for even ones, so thin lines stay crisp.
double Snap(double v, double width) {
  const int w = int(std::lround(width));
  return (w % 2) ? std::floor(v) + 0.5 : std::round(v);
}

void Stroke(cairo_t* cr, double weight, bool round = false) {
  cairo_set_line_width(cr, weight);
  cairo_set_line_cap(cr, round ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, round ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
  cairo_stroke(cr);
}

enum Direction { Up, Down, Left, Right };

// An arrow in a square box: a filled triangle half as deep as it is wide, or a chevron.
void Arrow(cairo_t* cr, Direction d, bool chevron, double x, double y, double s, double weight) {
  const double cx = x + s / 2, cy = y + s / 2;
  const double half = s / 2, depth = s / 4;
  // The tip and the two ends of the base, for an arrow pointing up; turned for the others.
  const double along[3] = {depth, -depth, depth}, across[3] = {-half, 0, half};
  double pts[3][2] = {};
  for (int i = 0; i < 3; ++i) {
    switch (d) {
      case Up: pts[i][0] = cx + across[i]; pts[i][1] = cy + along[i]; break;
      case Down: pts[i][0] = cx + across[i]; pts[i][1] = cy - along[i]; break;
      case Left: pts[i][0] = cx + along[i]; pts[i][1] = cy + across[i]; break;
      case Right: pts[i][0] = cx - along[i]; pts[i][1] = cy + across[i]; break;
    }
  }
  cairo_move_to(cr, pts[0][0], pts[0][1]);
  cairo_line_to(cr, pts[1][0], pts[1][1]);
  cairo_line_to(cr, pts[2][0], pts[2][1]);
  if (chevron) {
    Stroke(cr, weight);
  } else {
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

void Cross(cairo_t* cr, double x, double y, double s, double weight) {
  cairo_move_to(cr, x, y);
  cairo_line_to(cr, x + s, y + s);
  cairo_move_to(cr, x + s, y);
  cairo_line_to(cr, x, y + s);
  Stroke(cr, weight);
}

void Square(cairo_t* cr, double x, double y, double s, double weight) {
  const double h = weight / 2;
  cairo_rectangle(cr, x + h, y + h, s - weight, s - weight);
  Stroke(cr, weight);
}

void Dot(cairo_t* cr, double cx, double cy, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  cairo_fill(cr);
}

// Six small squares in a triangle in the bottom-right corner of the box (or mirrored).
void SizeGrip(cairo_t* cr, bool mirrored, bool lines, double x, double y, double s, double weight) {
  if (lines) {
    for (int i = 1; i <= 3; ++i) {
      const double d = s * i / 3.0;
      if (mirrored) {
        cairo_move_to(cr, x, y + s - d);
        cairo_line_to(cr, x + d, y + s);
      } else {
        cairo_move_to(cr, x + s, y + s - d);
        cairo_line_to(cr, x + s - d, y + s);
      }
    }
    Stroke(cr, weight);
    return;
  }
  const double step = std::max(2.0, std::round(s / 3));
  const double dot = std::max(1.0, std::round(step / 2));
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col <= row; ++col) {
      const double dy = y + s - (3 - row) * step + (step - dot);
      const double off = (row - col) * step;
      const double dx = mirrored ? x + off : x + s - (1 + off / step) * step + (step - dot);
      cairo_rectangle(cr, std::round(dx), std::round(dy), dot, dot);
    }
  cairo_fill(cr);
}

}  // namespace

double DefaultGlyphFraction(TGlyphShape shape) {
  switch (shape) {
    case gsCheck: return 0.8;
    case gsMixed: return 0.55;
    case gsRadioDot: return 0.46;
    case gsBullet: return 0.4;
    case gsArrowUp:
    case gsArrowDown:
    case gsArrowLeft:
    case gsArrowRight: return 0.45;
    case gsSortUp:
    case gsSortDown: return 0.6;
    case gsClose:
    case gsMinimize:
    case gsMaximize:
    case gsRestore:
    case gsHelp: return 0.4;
    case gsSysMenu: return 0.7;
    case gsExpandClosed:
    case gsExpandOpened: return 0.6;
    case gsSizeGrip:
    case gsSizeGripLeft: return 0.7;
    case gsGripperHorz:
    case gsGripperVert: return 0.5;
    case gsEllipsis:
    case gsChevron: return 0.6;
    default: return 1;
  }
}

bool GlyphSpansContent(TGlyphShape shape) { return shape == gsLineHorz || shape == gsLineVert; }

void DrawGlyph(cairo_t* cr, TGlyphShape shape, const TGlyphStyle& style, double x, double y, double w, double h) {
  if (shape == gsNone || style.Kind == "none" || style.Color.A == 0 || w <= 0 || h <= 0) return;
  const double s = std::min(w, h);
  const double weight = style.Weight > 0 ? style.Weight : std::max(1.0, std::round(s / 8));
  const String& kind = style.Kind;
  cairo_save(cr);
  SetColor(cr, style.Color);
  cairo_new_path(cr);
  switch (shape) {
    case gsNone: break;
    case gsCheck:
      cairo_move_to(cr, x + s * 0.12, y + s * 0.52);
      cairo_line_to(cr, x + s * 0.38, y + s * 0.78);
      cairo_line_to(cr, x + s * 0.88, y + s * 0.24);
      Stroke(cr, std::max(weight, s / 7.5));
      break;
    case gsMixed:
      if (kind == "dash") {
        cairo_rectangle(cr, x, std::round(y + s / 2 - weight / 2), s, std::max(1.0, std::round(weight)));
      } else {
        cairo_rectangle(cr, std::round(x), std::round(y), std::round(s), std::round(s));
      }
      cairo_fill(cr);
      break;
    case gsRadioDot:
    case gsBullet: Dot(cr, x + w / 2, y + h / 2, s / 2); break;
    case gsArrowUp: Arrow(cr, Up, kind == "chevron", x, y, s, weight); break;
    case gsArrowDown: Arrow(cr, Down, kind == "chevron", x, y, s, weight); break;
    case gsArrowLeft: Arrow(cr, Left, kind == "chevron", x, y, s, weight); break;
    case gsArrowRight: Arrow(cr, Right, kind == "chevron", x, y, s, weight); break;
    case gsSortUp: Arrow(cr, Up, kind != "triangle", x, y, s, weight); break;
    case gsSortDown: Arrow(cr, Down, kind != "triangle", x, y, s, weight); break;
    case gsClose: Cross(cr, x, y, s, weight); break;
    case gsMinimize: {
      const double ly = Snap(y + s / 2, weight);
      cairo_move_to(cr, x, ly);
      cairo_line_to(cr, x + s, ly);
      Stroke(cr, weight);
      break;
    }
    case gsMaximize: Square(cr, std::round(x), std::round(y), std::round(s), weight); break;
    case gsRestore: {
      const double r0 = std::round(x), r1 = std::round(y), side = std::round(s * 0.8), off = std::round(s) - side;
      Square(cr, r0, r1 + off, side, weight);
      // The back window shows only its top and right edges.
      const double hw = weight / 2;
      cairo_move_to(cr, r0 + off + hw, r1 + off);
      cairo_line_to(cr, r0 + off + hw, r1 + hw);
      cairo_line_to(cr, r0 + off + side - hw, r1 + hw);
      cairo_line_to(cr, r0 + off + side - hw, r1 + side - hw);
      cairo_line_to(cr, r0 + side, r1 + side - hw);
      Stroke(cr, weight);
      break;
    }
    case gsHelp: {
      const double cx = x + w / 2;
      cairo_arc(cr, cx, y + s * 0.3, s * 0.25, M_PI, 2.25 * M_PI);
      cairo_line_to(cr, cx, y + s * 0.68);
      Stroke(cr, weight);
      Dot(cr, cx, y + s * 0.92, std::max(weight * 0.7, 1.0));
      break;
    }
    case gsSysMenu: {
      const double rx = std::round(x), ry = std::round(y + s * 0.1), rw = std::round(s), rh = std::round(s * 0.8);
      cairo_rectangle(cr, rx + 0.5, ry + 0.5, rw - 1, rh - 1);
      Stroke(cr, 1);
      cairo_rectangle(cr, rx, ry, rw, std::max(2.0, std::round(rh / 4)));
      cairo_fill(cr);
      break;
    }
    case gsExpandClosed:
    case gsExpandOpened: {
      const bool open = shape == gsExpandOpened;
      if (kind == "plusBox") {
        const double bx = std::round(x), by = std::round(y), side = double(int(std::lround(s)) | 1);
        cairo_rectangle(cr, bx + 0.5, by + 0.5, side - 1, side - 1);
        Stroke(cr, 1);
        const double mid = bx + std::floor(side / 2) + 0.5;
        cairo_move_to(cr, bx + 2, by + std::floor(side / 2) + 0.5);
        cairo_line_to(cr, bx + side - 2, by + std::floor(side / 2) + 0.5);
        if (!open) {
          cairo_move_to(cr, mid, by + 2);
          cairo_line_to(cr, mid, by + side - 2);
        }
        Stroke(cr, 1);
      } else {
        const double inner = s * 0.7, ox = x + (s - inner) / 2, oy = y + (s - inner) / 2;
        Arrow(cr, open ? Down : Right, kind != "triangle", ox, oy, inner, weight);
      }
      break;
    }
    case gsSizeGrip:
    case gsSizeGripLeft: SizeGrip(cr, shape == gsSizeGripLeft, kind == "lines", x, y, s, weight); break;
    case gsGripperHorz:
    case gsGripperVert: {
      const bool horz = shape == gsGripperHorz;
      const double cx = x + w / 2, cy = y + h / 2, len = s * 0.8;
      for (int i = -1; i <= 1; ++i) {
        if (horz) {
          const double lx = Snap(cx + i * 3, 1);
          cairo_move_to(cr, lx, cy - len / 2);
          cairo_line_to(cr, lx, cy + len / 2);
        } else {
          const double ly = Snap(cy + i * 3, 1);
          cairo_move_to(cr, cx - len / 2, ly);
          cairo_line_to(cr, cx + len / 2, ly);
        }
      }
      Stroke(cr, 1);
      break;
    }
    case gsEllipsis: {
      const double r = std::max(1.0, s / 10);
      for (int i = -1; i <= 1; ++i) Dot(cr, x + w / 2 + i * s / 3, y + h / 2 + s * 0.25, r);
      break;
    }
    case gsChevron: {
      const double part = s / 2;
      Arrow(cr, Right, true, x, y + s / 4, part, weight);
      Arrow(cr, Right, true, x + part, y + s / 4, part, weight);
      break;
    }
    case gsLineHorz: {
      const double ly = Snap(y + h / 2, weight);
      cairo_move_to(cr, x, ly);
      cairo_line_to(cr, x + w, ly);
      Stroke(cr, weight);
      break;
    }
    case gsLineVert: {
      const double lx = Snap(x + w / 2, weight);
      cairo_move_to(cr, lx, y);
      cairo_line_to(cr, lx, y + h);
      Stroke(cr, weight);
      break;
    }
  }
  cairo_restore(cr);
}
