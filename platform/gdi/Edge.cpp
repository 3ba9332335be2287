// The system colour table and DrawEdge: classic 3-D borders as rings of one-pixel lines
// in the system colours. The frame controls built on them live in FrameControl.cpp.
#include "Edge.h"

#include <algorithm>
#include <array>
#include <vector>

#include "Raster.h"

// ---- system colours ----

namespace {

using ColorTable = std::array<COLORREF, SYS_COLOR_COUNT>;

// Windows 10 defaults. Index 25 has no colour and stays black.
constexpr ColorTable kDefaultColors = [] {
  ColorTable t{};
  t[COLOR_SCROLLBAR] = RGB(0xC8, 0xC8, 0xC8);
  t[COLOR_BACKGROUND] = RGB(0x00, 0x00, 0x00);
  t[COLOR_ACTIVECAPTION] = RGB(0x99, 0xB4, 0xD1);
  t[COLOR_INACTIVECAPTION] = RGB(0xBF, 0xCD, 0xDB);
  t[COLOR_MENU] = RGB(0xF0, 0xF0, 0xF0);
  t[COLOR_WINDOW] = RGB(0xFF, 0xFF, 0xFF);
  t[COLOR_WINDOWFRAME] = RGB(0x64, 0x64, 0x64);
  t[COLOR_MENUTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_WINDOWTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_CAPTIONTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_ACTIVEBORDER] = RGB(0xB4, 0xB4, 0xB4);
  t[COLOR_INACTIVEBORDER] = RGB(0xF4, 0xF7, 0xFC);
  t[COLOR_APPWORKSPACE] = RGB(0xAB, 0xAB, 0xAB);
  t[COLOR_HIGHLIGHT] = RGB(0x00, 0x78, 0xD7);
  t[COLOR_HIGHLIGHTTEXT] = RGB(0xFF, 0xFF, 0xFF);
  t[COLOR_BTNFACE] = RGB(0xF0, 0xF0, 0xF0);
  t[COLOR_BTNSHADOW] = RGB(0xA0, 0xA0, 0xA0);
  t[COLOR_GRAYTEXT] = RGB(0x6D, 0x6D, 0x6D);
  t[COLOR_BTNTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_INACTIVECAPTIONTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_BTNHIGHLIGHT] = RGB(0xFF, 0xFF, 0xFF);
  t[COLOR_3DDKSHADOW] = RGB(0x69, 0x69, 0x69);
  t[COLOR_3DLIGHT] = RGB(0xE3, 0xE3, 0xE3);
  t[COLOR_INFOTEXT] = RGB(0x00, 0x00, 0x00);
  t[COLOR_INFOBK] = RGB(0xFF, 0xFF, 0xE1);
  t[COLOR_HOTLIGHT] = RGB(0x00, 0x66, 0xCC);
  t[COLOR_GRADIENTACTIVECAPTION] = RGB(0xB9, 0xD1, 0xEA);
  t[COLOR_GRADIENTINACTIVECAPTION] = RGB(0xD7, 0xE4, 0xF2);
  t[COLOR_MENUHILIGHT] = RGB(0x00, 0x78, 0xD7);
  t[COLOR_MENUBAR] = RGB(0xF0, 0xF0, 0xF0);
  return t;
}();

struct SysColorTable {
  ColorTable Colors = kDefaultColors;
  // Made on first request and kept for the life of the process, as the system's are.
  std::array<GdiBrush*, SYS_COLOR_COUNT> Brushes{};
};

SysColorTable& SysColors() {
  static SysColorTable table;
  return table;
}

bool ValidColorIndex(int index) { return index >= 0 && index < SYS_COLOR_COUNT; }

}  // namespace

COLORREF GetSysColor(int index) { return ValidColorIndex(index) ? SysColors().Colors[size_t(index)] : 0; }

void SetSysColor(int index, COLORREF color) {
  if (!ValidColorIndex(index)) return;
  SysColorTable& t = SysColors();
  t.Colors[size_t(index)] = color & 0xFFFFFF;
  // Brushes handed out earlier paint in the new colour from now on.
  if (GdiBrush* b = t.Brushes[size_t(index)]) b->Color = t.Colors[size_t(index)];
}

void ResetSysColors() {
  for (int i = 0; i < SYS_COLOR_COUNT; ++i) SetSysColor(i, kDefaultColors[size_t(i)]);
}

HBRUSH GetSysColorBrush(int index) {
  if (!ValidColorIndex(index)) return nullptr;
  SysColorTable& t = SysColors();
  GdiBrush*& b = t.Brushes[size_t(index)];
  if (!b) {
    b = new GdiBrush;
    b->Color = t.Colors[size_t(index)];
    b->System = true;
    RegisterObject(b);
  }
  return b;
}

// ---- DrawEdge ----

namespace {

// Rectangle edges beyond this are far outside any surface; clamping them keeps the
// line arithmetic in range without moving anything that can be seen.
constexpr LONG kFarAway = 1 << 30;
// Origins beyond this put every pixel off any surface.
constexpr int64_t kOriginLimit = 1 << 29;

// Logical coordinates of a DC mapped to its surface, with the part of the logical plane
// that drawing can change.
class EdgeCanvas {
 public:
  explicit EdgeCanvas(GdiDC* dc) : FDC(dc) {
    const int64_t dx = int64_t(dc->DeviceOrigin.X) - dc->S.WindowOrg.X + dc->S.ViewportOrg.X;
    const int64_t dy = int64_t(dc->DeviceOrigin.Y) - dc->S.WindowOrg.Y + dc->S.ViewportOrg.Y;
    if (dx < -kOriginLimit || dx > kOriginLimit || dy < -kOriginLimit || dy > kOriginLimit) return;
    FDX = int(dx);
    FDY = int(dy);
    FVisible = dc->EffectiveClip().Extents();
    OffsetRect(&FVisible, -FDX, -FDY);
  }

  const RECT& Visible() const { return FVisible; }

  void Fill(const std::vector<RECT>& logical, COLORREF color) {
    std::vector<RECT> boxes;
    boxes.reserve(logical.size());
    for (const RECT& r : logical) {
      RECT v;
      if (!IntersectRect(&v, &r, &FVisible)) continue;
      OffsetRect(&v, FDX, FDY);
      boxes.push_back(v);
    }
    if (!boxes.empty()) raster::FillShape(FDC, Region::FromBoxes(boxes), color, R2_COPYPEN);
  }
  void Fill(const RECT& logical, COLORREF color) { Fill(std::vector<RECT>{logical}, color); }

 private:
  GdiDC* FDC;
  int FDX = 0;
  int FDY = 0;
  RECT FVisible{};
};

struct Border {
  bool Drawn = false;
  COLORREF TopLeft = 0;
  COLORREF BottomRight = 0;
};

// The outer and inner rings' colours. With BF_SOFT the top-left colours of the two rings
// change places, so the brightest (raised) or darkest (sunken) line is the outermost.
// A ring asked to be both raised and sunken is drawn raised.
void BorderColors(UINT edge, UINT flags, Border& outer, Border& inner) {
  outer.Drawn = (edge & BDR_OUTER) != 0;
  inner.Drawn = (edge & BDR_INNER) != 0;
  auto same = [](Border& b, int index) { b.TopLeft = b.BottomRight = GetSysColor(index); };
  if (flags & BF_MONO) {
    same(outer, COLOR_WINDOWFRAME);
    same(inner, COLOR_WINDOW);
    return;
  }
  if (flags & BF_FLAT) {
    same(outer, COLOR_BTNSHADOW);
    same(inner, COLOR_BTNFACE);
    return;
  }
  const bool soft = (flags & BF_SOFT) != 0;
  if (edge & BDR_RAISEDOUTER) {
    outer.TopLeft = GetSysColor(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT);
    outer.BottomRight = GetSysColor(COLOR_3DDKSHADOW);
  } else {
    outer.TopLeft = GetSysColor(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
    outer.BottomRight = GetSysColor(COLOR_BTNHIGHLIGHT);
  }
  if (edge & BDR_RAISEDINNER) {
    inner.TopLeft = GetSysColor(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT);
    inner.BottomRight = GetSysColor(COLOR_BTNSHADOW);
  } else {
    inner.TopLeft = GetSysColor(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW);
    inner.BottomRight = GetSysColor(COLOR_3DLIGHT);
  }
}

COLORREF MiddleColor(UINT flags) { return GetSysColor(flags & (BF_MONO | BF_FLAT) ? COLOR_WINDOW : COLOR_BTNFACE); }

RECT Inset(RECT r, UINT sides, LONG by) {
  if (sides & BF_LEFT) r.Left += by;
  if (sides & BF_TOP) r.Top += by;
  if (sides & BF_RIGHT) r.Right -= by;
  if (sides & BF_BOTTOM) r.Bottom -= by;
  return r;
}

// One ring of lines just inside r on the given sides; answers the rectangle inside it.
// Top and left lines stop short of the corners they share with a drawn right or bottom
// line: those corner pixels take the bottom-right colour.
RECT DrawRing(EdgeCanvas& canvas, const RECT& r, UINT sides, const Border& b) {
  if (!b.Drawn) return r;
  const LONG topEnd = (sides & BF_RIGHT) ? r.Right - 1 : r.Right;
  const LONG leftEnd = (sides & BF_BOTTOM) ? r.Bottom - 1 : r.Bottom;
  std::vector<RECT> lit, shaded;
  if (sides & BF_LEFT) lit.push_back({r.Left, r.Top, r.Left + 1, leftEnd});
  if (sides & BF_TOP) lit.push_back({r.Left, r.Top, topEnd, r.Top + 1});
  if (sides & BF_RIGHT) shaded.push_back({r.Right - 1, r.Top, r.Right, r.Bottom});
  if (sides & BF_BOTTOM) shaded.push_back({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  // A ring never reaches outside its own rectangle, however small that is.
  for (auto* lines : {&lit, &shaded})
    for (RECT& line : *lines) IntersectRect(&line, &line, &r);
  canvas.Fill(lit, b.TopLeft);
  canvas.Fill(shaded, b.BottomRight);
  return Inset(r, sides, 1);
}

// A diagonal edge: a one-pixel line between two opposite corners of r, the inner line one
// pixel further towards the side the edge encloses, and that side filled for BF_MIDDLE.
// The corner flags name where the line ends; it starts at the opposite corner.
void DrawDiagonal(EdgeCanvas& canvas, const RECT& r, const Border& outer, const Border& inner, UINT flags) {
  const bool top = flags & BF_TOP, bottom = flags & BF_BOTTOM;
  const bool left = flags & BF_LEFT, right = flags & BF_RIGHT;
  if (top == bottom || left == right || r.IsEmpty()) return;  // no single end corner
  const int64_t w = int64_t(r.Right) - r.Left, h = int64_t(r.Bottom) - r.Top;
  // Walking from start to end, the enclosed side is on the right of the direction: the
  // line ending top-right faces up-left and encloses the lower right, and so on round.
  const bool rising = top == right;  // from bottom-left to top-right, or back
  const bool insideRight = top;
  const bool insideBelow = right;
  // Lines facing upward take the top-left colour.
  const bool lit = right;
  // Row j of a falling line covers columns [a, b) from the left; a rising line mirrors it.
  auto lineSpan = [&](int64_t j, int64_t& x0, int64_t& x1) {
    const int64_t a = j * w / h;
    const int64_t b = std::max(a + 1, (j + 1) * w / h);
    x0 = rising ? r.Right - b : r.Left + a;
    x1 = rising ? r.Right - a : r.Left + b;
  };
  // A steep line moves sideways for the inner line, a shallow one moves a row.
  const bool steep = h > w;
  const int64_t shiftX = steep ? (insideRight ? 1 : -1) : 0;
  const int64_t shiftRow = steep ? 0 : (insideBelow ? 1 : -1);

  std::vector<RECT> outerPixels, innerPixels, middle;
  const int64_t firstRow = std::max<int64_t>(r.Top, canvas.Visible().Top) - r.Top;
  const int64_t lastRow = std::min<int64_t>(r.Bottom, canvas.Visible().Bottom) - r.Top;
  for (int64_t j = firstRow; j < lastRow; ++j) {
    const LONG y = LONG(r.Top + j);
    int64_t lo = 0, hi = 0;
    lineSpan(j, lo, hi);
    if (outer.Drawn) outerPixels.push_back({LONG(lo), y, LONG(hi), y + 1});
    if (inner.Drawn) {
      const int64_t src = j - shiftRow;
      if (src >= 0 && src < h) {
        int64_t x0 = 0, x1 = 0;
        lineSpan(src, x0, x1);
        x0 = std::max<int64_t>(x0 + shiftX, r.Left);
        x1 = std::min<int64_t>(x1 + shiftX, r.Right);
        if (x0 < x1) {
          innerPixels.push_back({LONG(x0), y, LONG(x1), y + 1});
          lo = std::min(lo, x0);
          hi = std::max(hi, x1);
        }
      }
    }
    if (flags & BF_MIDDLE) middle.push_back(insideRight ? RECT{LONG(hi), y, r.Right, y + 1} : RECT{r.Left, y, LONG(lo), y + 1});
  }
  canvas.Fill(middle, MiddleColor(flags));
  canvas.Fill(outerPixels, lit ? outer.TopLeft : outer.BottomRight);
  canvas.Fill(innerPixels, lit ? inner.TopLeft : inner.BottomRight);
}

LONG Clamp(int64_t v, int64_t limit) { return LONG(std::clamp<int64_t>(v, -limit, limit)); }

}  // namespace

BOOL DrawEdge(HDC hdc, RECT* r, UINT edge, UINT flags) {
  GdiDC* dc = LiveDC(hdc);
  if (!dc || !r) return FALSE;
  const RECT area{Clamp(r->Left, kFarAway), Clamp(r->Top, kFarAway), Clamp(r->Right, kFarAway),
                  Clamp(r->Bottom, kFarAway)};
  Border outer, inner;
  BorderColors(edge, flags, outer, inner);
  EdgeCanvas canvas(dc);
  if (flags & BF_DIAGONAL) {
    DrawDiagonal(canvas, area, outer, inner, flags);
    return TRUE;
  }
  const UINT sides = flags & BF_RECT;
  const RECT middle = DrawRing(canvas, DrawRing(canvas, area, sides, outer), sides, inner);
  if ((flags & BF_MIDDLE) && !middle.IsEmpty()) canvas.Fill(middle, MiddleColor(flags));
  if (flags & BF_ADJUST) {
    const int64_t width = int64_t(outer.Drawn) + int64_t(inner.Drawn);
    const int64_t limit = INT32_MAX;
    if (sides & BF_LEFT) r->Left = Clamp(r->Left + width, limit);
    if (sides & BF_TOP) r->Top = Clamp(r->Top + width, limit);
    if (sides & BF_RIGHT) r->Right = Clamp(r->Right - width, limit);
    if (sides & BF_BOTTOM) r->Bottom = Clamp(r->Bottom - width, limit);
  }
  return TRUE;
}
