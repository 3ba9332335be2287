#include "qvDrawUtils/Glyphs.h"

#include <algorithm>
#include <cstdint>

#include "gdi/Gdi.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Style.h"

namespace {

// Scale below 1 (or not a number) counts as 1; above 100 (no screen is that dense) as 100,
// which keeps every coordinate far from overflowing.
double ScaleOf(double Scale) { return Scale >= 1.0 ? std::min(Scale, 100.0) : 1.0; }

struct TCenter {
  int X;
  int Y;
};
TCenter CenterOf(const TRect& R) { return {R.Left + R.Width() / 2, R.Top + R.Height() / 2}; }

// Lines with the canvas pen in the glyph colour.
class TPenLines {
 public:
  TPenLines(TCanvas* Canvas, TColor Color) : FCanvas(Canvas) { FCanvas->Pen()->SetColor(Color); }
  void operator()(int X1, int Y1, int X2, int Y2) const {
    FCanvas->MoveTo(X1, Y1);
    FCanvas->LineTo(X2, Y2);
  }
  void Pixel(int X, int Y, TColor Color) const { FCanvas->SetPixels(X, Y, Color); }

 private:
  TCanvas* FCanvas;
};

// Lines with the DC's stock DC pen; the previous pen (and, when asked, the whole DC
// state) comes back at the end of the scope.
class TDCPenLines {
 public:
  TDCPenLines(TCanvas* Canvas, TColor Color, bool KeepState) : FDC(Canvas->Handle()) {
    if (KeepState) FSaved = SaveDC(FDC);
    FOldPen = SelectObject(FDC, GetStockObject(DC_PEN));
    SetDCPenColor(FDC, COLORREF(ColorToRGB(Color)));
  }
  ~TDCPenLines() {
    SelectObject(FDC, FOldPen);
    if (FSaved) RestoreDC(FDC, FSaved);
  }
  TDCPenLines(const TDCPenLines&) = delete;
  TDCPenLines& operator=(const TDCPenLines&) = delete;

  void operator()(int X1, int Y1, int X2, int Y2) const {
    MoveToEx(FDC, X1, Y1, nullptr);
    LineTo(FDC, X2, Y2);
  }
  void Polyline(std::initializer_list<POINT> Points) const { ::Polyline(FDC, Points.begin(), int(Points.size())); }

 private:
  HDC FDC;
  HGDIOBJ FOldPen = nullptr;
  int FSaved = 0;
};

// The filled down triangle of the drop-down arrow: rows from the widest up top to one
// pixel at the bottom.
template <class TLines>
void DownTriangleRows(const TLines& Line, TCenter C, double s) {
  const double b = s != 1.0 ? s + 0.1 : 1.0;
  const int a = Round(2 * b);
  for (int n = Round(3 * b); n >= 0; --n) Line(C.X - n, C.Y + a - n, C.X + n + 1, C.Y + a - n);
}

// Triangles pointing left (1) or right (2) as columns, up (3) or down (4) as rows.
template <class TLines>
void ArrowRows(const TLines& Line, TCenter C, double s, int Direction) {
  // A scale whose nearest whole number lies above it is taken whole (1.5 and 1.75 as 2);
  // 1.25 and 2.5 (ties go to even) stay.
  if (Round(s) != Trunc(s)) s = Round(s);
  const int f = Round(2 * s);
  const int n = Round(2 * s + 1);
  switch (Direction) {
    case 1:
      for (int k = 0; k <= n; ++k) {
        const int x = C.X + k - f;
        Line(x, C.Y - k, x, C.Y + k + 1);
      }
      break;
    case 2:
      for (int k = n; k >= 0; --k) {
        const int x = C.X + f - k;
        Line(x, C.Y + k, x, C.Y - k - 1);
      }
      break;
    case 3:
      for (int k = 0; k <= n; ++k) {
        const int y = C.Y + k - f;
        Line(C.X - k, y, C.X + k + 1, y);
      }
      break;
    case 4:
      for (int k = n; k >= 0; --k) {
        const int y = C.Y + f - k;
        Line(C.X - k, y, C.X + k + 1, y);
      }
      break;
    default:
      break;
  }
}

struct TPlusMinusColors {
  TColor Fill;
  TColor Outline;
  TColor Bars;
  TColor Highlight;  // clNone: no highlight line
};

void PlusMinusBox(TCanvas* Canvas, const TRect& R, bool Expanded, double s, const TPlusMinusColors& Colors) {
  const int b = Round(8 * s) + 1;
  const int m = b / 2;
  TBitmap box;
  box.SetPixelFormat(pf24bit);
  box.SetSize(b, b);
  TCanvas* c = box.Canvas();
  c->Brush()->SetColor(Colors.Fill);
  c->Pen()->SetColor(Colors.Outline);
  c->Rectangle(0, 0, b, b);
  if (Colors.Highlight != clNone) {
    c->Pen()->SetColor(Colors.Highlight);
    c->MoveTo(1, 1);
    c->LineTo(b - 1, 1);
  }
  const TPenLines line(c, Colors.Bars);
  line(2, m, b - 2, m);
  if (!Expanded) line(m, 2, m, b - 2);
  if (s >= 2) {
    for (int k : {m - 1, m + 1}) {
      line(2, k, b - 2, k);
      if (!Expanded) line(k, 2, k, b - 2);
    }
  }
  const TCenter C = CenterOf(R);
  Canvas->Draw(C.X - m, C.Y - m + 1, &box);
}

// One edge of the dotted frame: Count pixels from (X, Y) in steps of (DX, DY), the phase
// toggling after each pixel. Only the part inside Clip is visited, so that a huge
// rectangle costs no more than its visible part; the phase after the edge is returned.
bool DottedEdge(HDC DC, const TRect& Clip, COLORREF Color, bool Draw, int64_t X, int64_t Y, int DX, int DY,
                int64_t Count) {
  int64_t first = 0;
  int64_t last = Count - 1;
  auto limit = [&](int64_t Start, int Step, int64_t Lo, int64_t Hi) {  // Lo <= Start + i*Step < Hi
    if (Step > 0) {
      first = std::max(first, Lo - Start);
      last = std::min(last, Hi - 1 - Start);
    } else if (Step < 0) {
      first = std::max(first, Start - (Hi - 1));
      last = std::min(last, Start - Lo);
    } else if (Start < Lo || Start >= Hi) {
      last = -1;
    }
  };
  limit(X, DX, Clip.Left, Clip.Right);
  limit(Y, DY, Clip.Top, Clip.Bottom);
  for (int64_t i = first; i <= last; ++i)
    if (Draw == (i % 2 == 0)) SetPixelV(DC, int(X + i * DX), int(Y + i * DY), Color);
  return Count <= 0 || Count % 2 == 0 ? Draw : !Draw;
}

void DottedFrame(HDC DC, const TRect& R, COLORREF Color, double Scale) {
  if (R.IsEmpty()) return;
  TRect clip{};
  if (GetClipBox(DC, &clip) == ERROR_REGION) return;
  // r's edges are walked inclusively.
  int64_t left = R.Left, top = R.Top, right = int64_t(R.Right) - 1, bottom = int64_t(R.Bottom) - 1;
  // The phase that puts the dots of the four corners on one checkerboard.
  bool draw = !((right - left) % 2 == 0 && (bottom - top) % 2 == 0);
  const int rings = Scale >= 1.5 ? 2 : 1;
  for (int ring = 0; ring < rings; ++ring) {
    const int64_t w = right - left + 1;
    const int64_t h = bottom - top + 1;
    draw = !DottedEdge(DC, clip, Color, draw, left, top, 1, 0, w);
    draw = !DottedEdge(DC, clip, Color, draw, right, top, 0, 1, h);
    draw = !DottedEdge(DC, clip, Color, draw, right, bottom, -1, 0, w);
    draw = !DottedEdge(DC, clip, Color, draw, left, bottom, 0, -1, h);
    ++left;
    ++top;
    --right;
    --bottom;
  }
}

}  // namespace

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  const double s = ScaleOf(Scale);
  const TCenter C = CenterOf(R);
  const TPenLines line(Canvas, Color);
  const bool styled = IsCustomStyle();
  if (IsWindows10() && !styled) {
    const int c = Round(5 * s);
    const int d = Round(2 * s);
    for (int i = 0, rows = Round(s + 1); i < rows; ++i) {
      const int y = C.Y + d + i;
      // The first row is one pixel shorter at each end, which rounds the chevron's tips.
      const int e = i == 0 ? c - 1 : c;
      line(C.X, y, C.X - e, y - e);
      line(C.X, y, C.X + e, y - e);
    }
  } else if (!IsWindows8() || styled) {
    DownTriangleRows(line, C, s);
  } else {
    const int c = Round(2 * s);
    const int d = Round(4 * s);
    for (int i = 0, rows = Round(3 * s); i < rows; ++i) {
      const int y = C.Y + c + i;
      line(C.X, y, C.X - d, y - d);
      line(C.X, y, C.X + d, y - d);
    }
  }
}

void DrawDownTriangle(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  const TDCPenLines line(Canvas, Color, false);
  DownTriangleRows(line, CenterOf(R), ScaleOf(Scale));
}

void DrawArrowByDirection(TCanvas* Canvas, const TRect& R, TColor Color, double Scale, int Direction) {
  if (!Canvas || Direction < 1 || Direction > 4) return;
  const TPenLines line(Canvas, Color);
  ArrowRows(line, CenterOf(R), ScaleOf(Scale), Direction);
}

void DrawArrowByDirectionDC(TCanvas* Canvas, const TRect& R, TColor Color, double Scale, int Direction) {
  if (!Canvas || (Direction != 1 && Direction != 2)) return;
  const TDCPenLines line(Canvas, Color, true);
  ArrowRows(line, CenterOf(R), ScaleOf(Scale), Direction);
}

void DrawCheckMark(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  const double s = ScaleOf(Scale);
  const TCenter C = CenterOf(R);
  const int b = Round(10 * s);
  const int c = b / 2;
  const int d = Round(2 * s);
  const int f = d / 2;
  const int g = C.X + f - 1;
  int m = C.Y + f - 1;
  const TDCPenLines line(Canvas, Color, true);
  for (int pass = 0, passes = 2 * Round(s); pass < passes; ++pass, --m) {
    line.Polyline({{g - c, m}, {g - d, m + c - d}, {g + c, m - 2 * d}});
    line.Polyline({{C.X + f - c, m}, {g - d, m + c - d - 1}, {g + c - 1, m - 2 * d}});
  }
}

void DrawMenuBullet(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  const double s = ScaleOf(Scale);
  const TCenter C = CenterOf(R);
  const int b = Round((s + 0.1) * 6);
  const int n = b / 2;
  const int top = C.Y - n;
  const int left = C.X - n;
  const int w = 2 * n;
  const TDCPenLines line(Canvas, Color, true);
  // Only the outermost row of each half is inset, which rounds the corners.
  auto inset = [n](int f) { return f < n ? n - f - 1 : 0; };
  for (int f = 1; f <= n; ++f) {
    const int y = top + f - 1;
    line(left + inset(f), y, left + w - inset(f), y);
  }
  for (int f = 1; f <= n; ++f) {
    const int y = top + 2 * n - f;
    line(left + inset(f), y, left + w - inset(f), y);
  }
}

void DrawCrossMark(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  const double s = ScaleOf(Scale);
  const TCenter C = CenterOf(R);
  const int a = Round(8 * s);
  const int d = a / 2;
  const int y = C.Y - d;
  const TDCPenLines line(Canvas, Color, false);
  for (int i = 0, strokes = Round(2 * s); i < strokes; ++i) {
    const int x = C.X + i - d - 1;
    line(x, y, x + a + 1, y + a + 1);
    line(x + a, y, x - 1, y + a + 1);
  }
}

void DrawTreeArrow(TCanvas* Canvas, const TRect& R, TColor Color, bool Modern, double Scale, int Direction,
                   TColor Color2) {
  if (!Canvas || (Direction != 1 && Direction != 2)) return;
  const double s = ScaleOf(Scale);
  const TCenter C = CenterOf(R);
  if (Modern || IsWindows10()) {
    // Large scales draw the chevron a little thinner than they would scale it.
    const double t = s > 1.5 ? Max(s - 0.5, 1.5) : s;
    const TPenLines line(Canvas, Color);
    const int e = Round(t);
    const int f = Round(5 * t);
    const int k = Round(3 * t);
    const int g = (Direction == 1 ? C.X : C.Y) + e;
    for (int i = 0; i < k; ++i) {
      const int h = g + i - 1;
      if (Direction == 1) {
        if (i == 0) {
          line(g - 1, C.Y, g - f, C.Y - f + 1);
          line(g - 1, C.Y, g - f, C.Y + f - 1);
        } else {
          line(h, C.Y, h - f, C.Y - f);
          line(h, C.Y, h - f, C.Y + f);
        }
      } else if (i == 0) {
        line(C.X, g - 1, C.X - f + 1, g - f);
        line(C.X, g - 1, C.X + f - 1, g - f);
      } else {
        line(C.X, h, C.X - f, h - f);
        line(C.X, h, C.X + f, h - f);
      }
    }
    return;
  }
  const double t = s != 1.0 ? s + 0.1 : 1.0;
  const int e = Round(2 * t);
  if (Direction == 1) {
    // Columns from the base (outline colour) to the tip, each with its two ends outlined.
    const int q = Round(3 * t + 1);
    for (int i = q; i >= 0; --i) {
      const int x = C.X + e - i;
      const TPenLines line(Canvas, i == q ? Color2 : Color);
      line(x, C.Y + i, x, C.Y - i - 1);
      if (i != q) {
        line.Pixel(x, C.Y + i, Color2);
        line.Pixel(x, C.Y - i, Color2);
      }
    }
  } else {
    // Rows from the bottom edge (outline colour) up; each row outlines the ends of the
    // row below it, giving the slanted and the right edge.
    const int q = Round(5 * t + 1);
    const int x0 = C.X + e;
    for (int i = q; i >= 0; --i) {
      const int y = C.Y + i - e - 2;
      const TPenLines line(Canvas, i == q ? Color2 : Color);
      line(x0 - i, y, x0, y);
      if (i != q) {
        line.Pixel(x0 - i - 1, y + 1, Color2);
        line.Pixel(x0 - 1, y + 1, Color2);
      }
    }
  }
}

void DrawTreePlusMinus(TCanvas* Canvas, const TRect& R, bool Expanded, double Scale, TColor LineColor,
                       TColor FillColor) {
  if (!Canvas) return;
  PlusMinusBox(Canvas, R, Expanded, ScaleOf(Scale), {FillColor, ShadeColor(FillColor), LineColor, clNone});
}

void DrawTreePlusMinusStyled(TCanvas* Canvas, const TRect& R, bool Expanded, double Scale, TColor LineColor) {
  if (!Canvas) return;
  const TColor face = GetStyleSystemColor(clBtnFace);
  const TColor text = GetStyleSystemColor(clBtnText);
  // Bars three quarters text colour, one quarter face.
  PlusMinusBox(
      Canvas, R, Expanded, ScaleOf(Scale),
      {face, MixColors(LineColor, face), MixColors(text, MixColors(text, face)), GetStyleSystemColor(clBtnHighlight)});
}

void DrawDottedLine(TCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
  if (!Canvas) return;
  Canvas->Pen()->SetColor(Canvas->Font()->Color());
  if (X1 == X2) {
    for (int64_t y = Y1; y <= Y2; y += 2) Canvas->SetPixels(X1, int(y), Color);
  } else if (Y1 == Y2) {
    for (int64_t x = X1; x <= X2; x += 2) Canvas->SetPixels(int(x), Y1, Color);
  }
}

void DrawFocusRectColor(TCanvas* Canvas, const TRect& R, TColor Color, double Scale) {
  if (!Canvas) return;
  DottedFrame(Canvas->Handle(), R, COLORREF(ColorToRGB(Color)), ScaleOf(Scale));
}

void DrawFocusRectScaled(TCanvas* Canvas, const TRect& R, double Scale) {
  if (!Canvas) return;
  DottedFrame(Canvas->Handle(), R, COLORREF(ColorToRGB(Canvas->Font()->Color())), ScaleOf(Scale));
}
