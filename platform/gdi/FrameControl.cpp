// DrawFrameControl: the classic push buttons, check boxes, radio buttons, scroll arrows,
// size grips, caption buttons and menu marks. Faces are DrawEdge rings; glyphs are shapes
// computed from the rectangle's size, so they stay crisp at any size.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "Edge.h"
#include "Raster.h"

namespace {

// Larger controls are refused: their glyph shapes would run to millions of rows.
constexpr LONG kMaxControlSize = 32767;
constexpr LONG kCoordLimit = 1 << 29;

// Fills shapes given in the DC's logical coordinates.
class FrameCanvas {
 public:
  explicit FrameCanvas(HDC dc) : FHandle(dc), FDC(LiveDC(dc)) {
    const int64_t dx = int64_t(FDC->DeviceOrigin.X) - FDC->S.WindowOrg.X + FDC->S.ViewportOrg.X;
    const int64_t dy = int64_t(FDC->DeviceOrigin.Y) - FDC->S.WindowOrg.Y + FDC->S.ViewportOrg.Y;
    FUsable = dx >= -kCoordLimit && dx <= kCoordLimit && dy >= -kCoordLimit && dy <= kCoordLimit;
    FDX = FUsable ? int(dx) : 0;
    FDY = FUsable ? int(dy) : 0;
  }

  void Fill(Region shape, COLORREF color) {
    if (!FUsable || shape.IsEmpty()) return;
    shape.Offset(FDX, FDY);
    raster::FillShape(FDC, shape, color, R2_COPYPEN);
  }
  void Fill(const RECT& r, COLORREF color) { Fill(Region(r), color); }
  void FillSys(const Region& shape, int index) { Fill(shape, GetSysColor(index)); }
  void FillSys(const RECT& r, int index) { Fill(Region(r), GetSysColor(index)); }

  // Draws an edge and answers the rectangle inside it.
  RECT Edge(RECT r, UINT edge, UINT flags) {
    DrawEdge(FHandle, &r, edge, flags | BF_ADJUST);
    return r;
  }

 private:
  HDC FHandle;
  GdiDC* FDC;
  bool FUsable = false;
  int FDX = 0;
  int FDY = 0;
};

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

LONG Side(const RECT& r) { return std::min(r.Width(), r.Height()); }

// The top-left corner of a w x h box centred in r (a leftover odd pixel goes right/down).
POINT Centred(const RECT& r, LONG w, LONG h) { return {r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h) / 2}; }

Region Offset(Region shape, POINT by) {
  shape.Offset(by.X, by.Y);
  return shape;
}

// ---- glyph shapes, with their top-left corner at (0, 0) ----

// The classic tick in an m x m box: each column holds a stroke t pixels tall that falls
// one pixel per column to the knee and rises one per column to the top-right corner
// (7 x 7, t = 3, at the usual 13-pixel check box). Built row by row: regions made of
// tall overlapping columns are slow to merge.
Region CheckMark(LONG m) {
  const LONG t = std::max<LONG>(1, (3 * m + 3) / 7);
  const LONG knee = t - 1;
  const LONG firstTop = m - t - knee;  // the stroke's top in column 0
  std::vector<RECT> spans;
  for (LONG y = 0; y < m; ++y) {
    // Columns whose stroke covers row y, on the falling and on the rising arm.
    const LONG fallFrom = std::max<LONG>(0, y - firstTop - t + 1), fallTo = std::min(knee, y - firstTop);
    const LONG riseFrom = std::max(knee + 1, m - t + knee - y), riseTo = std::min(m - 1, m + knee - y - 1);
    if (fallFrom <= fallTo) spans.push_back({fallFrom, y, fallTo + 1, y + 1});
    if (riseFrom <= riseTo) spans.push_back({riseFrom, y, riseTo + 1, y + 1});
  }
  return Region::FromBoxes(spans);
}

enum class Direction { Up, Down, Left, Right };

// A filled triangle n pixels from base to apex with a base of 2n - 1 pixels, row by row.
Region Arrow(LONG n, Direction d) {
  std::vector<RECT> spans;
  if (d == Direction::Up || d == Direction::Down) {
    for (LONG i = 0; i < n; ++i) {  // i: rows from the apex
      const LONG y = d == Direction::Up ? i : n - 1 - i;
      spans.push_back({n - 1 - i, y, n + i, y + 1});
    }
  } else {
    for (LONG y = 0; y < 2 * n - 1; ++y) {
      const LONG length = n - std::abs(y - (n - 1));  // columns from the apex
      spans.push_back(d == Direction::Left ? RECT{n - length, y, n, y + 1} : RECT{0, y, length, y + 1});
    }
  }
  return Region::FromBoxes(spans);
}

// Scroll and menu arrows: n = (side + 1) / 4, so a 16- or 17-pixel button has the
// classic 7 x 4 arrow.
LONG ArrowDepth(LONG side) { return std::max<LONG>(1, (side + 1) / 4); }

Region CentredArrow(const RECT& r, Direction d) {
  const LONG n = ArrowDepth(Side(r));
  const bool vertical = d == Direction::Up || d == Direction::Down;
  return Offset(Arrow(n, d), vertical ? Centred(r, 2 * n - 1, n) : Centred(r, n, 2 * n - 1));
}

Region Disc(const RECT& box) { return RoundRectRegion(box, box.Width(), box.Height()); }

// The pixels of an s x s box at (0, 0) above its rising diagonal; the diagonal itself
// belongs to the lower-right half, as DrawEdge's corners do.
Region UpperLeftHalf(LONG s) {
  std::vector<RECT> rows;
  for (LONG y = 0; y < s; ++y) rows.push_back({0, y, s - 1 - y, y + 1});
  return Region::FromBoxes(rows);
}

Region Outline(LONG x, LONG y, LONG size, LONG top, LONG thin) {
  Region box;
  box.Union(RECT{x, y, x + size, y + top});
  box.Union(RECT{x, y, x + thin, y + size});
  box.Union(RECT{x + size - thin, y, x + size, y + size});
  box.Union(RECT{x, y + size - thin, x + size, y + size});
  return box;
}

// Caption glyphs in an e x e box with strokes sw pixels wide.
Region CloseGlyph(LONG e, LONG sw) {
  // The falling stroke starts at s(y) on row y; the lower half mirrors the upper so the
  // cross is symmetric both ways.
  std::vector<LONG> start(size_t(e), 0);
  for (LONG y = 0; y <= (e - 1) / 2; ++y)
    start[size_t(y)] = e > 1 ? LONG((2 * int64_t(y) * (e - sw) + e - 2) / (2 * int64_t(e - 1))) : 0;
  for (LONG y = (e - 1) / 2 + 1; y < e; ++y) start[size_t(y)] = e - sw - start[size_t(e - 1 - y)];
  std::vector<RECT> spans;
  for (LONG y = 0; y < e; ++y) {
    const LONG s = start[size_t(y)];
    spans.push_back({s, y, s + sw, y + 1});
    spans.push_back({e - s - sw, y, e - s, y + 1});
  }
  return Region::FromBoxes(spans);
}

Region MinimizeGlyph(LONG e, LONG sw) { return Region(RECT{0, e - sw, std::max<LONG>(1, e * 3 / 4), e}); }

Region MaximizeGlyph(LONG e, LONG sw) { return Outline(0, 0, e, sw, std::max<LONG>(1, sw / 2)); }

Region RestoreGlyph(LONG e, LONG sw) {
  const LONG box = e - e / 3, shift = e - box, thin = std::max<LONG>(1, sw / 2);
  Region back = Outline(shift, 0, box, sw, thin);
  back.Subtract(RECT{0, shift, box, e});
  back.Union(Outline(0, shift, box, sw, thin));
  return back;
}

// A bold question mark drawn on an 8 x 8 grid, each cell scaled to the glyph box.
Region HelpGlyph(LONG e) {
  static constexpr uint8_t kRows[8] = {0x3C, 0x66, 0x06, 0x0C, 0x18, 0x18, 0x00, 0x18};
  std::vector<RECT> cells;
  for (LONG row = 0; row < 8; ++row)
    for (LONG col = 0; col < 8; ++col)
      if (kRows[row] & (0x80 >> col))
        cells.push_back({col * e / 8, row * e / 8, (col + 1) * e / 8, (row + 1) * e / 8});
  return Region::FromBoxes(cells);
}

// ---- controls ----

// An inactive glyph is embossed: a highlight copy one pixel down and right under a
// shadow-coloured one. Glyphs never leave the control's rectangle.
void PaintGlyph(FrameCanvas& c, const RECT& r, Region glyph, UINT state, COLORREF color) {
  if (state & DFCS_INACTIVE) {
    Region light = Offset(glyph, {1, 1});
    light.Intersect(r);
    c.FillSys(light, COLOR_BTNHIGHLIGHT);
    color = GetSysColor(COLOR_BTNSHADOW);
  }
  glyph.Intersect(r);
  c.Fill(glyph, color);
}

// The face of a scroll or caption button; pushedEdge is how a pushed one looks (0: flat,
// one shadow line round the face).
void ButtonFace(FrameCanvas& c, const RECT& r, UINT state, UINT pushedEdge) {
  const bool pushed = (state & DFCS_PUSHED) != 0;
  if (state & DFCS_MONO)
    c.Edge(r, EDGE_RAISED, BF_RECT | BF_MONO | BF_MIDDLE);
  else if ((state & DFCS_FLAT) || (pushed && pushedEdge == 0))
    c.FillSys(c.Edge(r, BDR_RAISEDOUTER, BF_RECT | BF_FLAT), COLOR_BTNFACE);
  else if (pushed)
    c.Edge(r, pushedEdge, BF_RECT | BF_SOFT | BF_MIDDLE);
  else
    c.Edge(r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

void PushButton(FrameCanvas& c, RECT* r, UINT state) {
  const UINT middle = (state & DFCS_TRANSPARENT) ? 0 : BF_MIDDLE;
  if (state & DFCS_MONO) {
    c.Edge(*r, EDGE_RAISED, BF_RECT | BF_MONO | middle);
  } else if (state & DFCS_FLAT) {
    const RECT inside = c.Edge(*r, BDR_RAISEDOUTER, BF_RECT | BF_FLAT);
    if (middle) c.FillSys(inside, COLOR_BTNFACE);
  } else {
    const bool down = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
    c.Edge(*r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | middle);
  }
  if (state & DFCS_ADJUSTRECT) InflateRect(r, -2, -2);
}

// The box of a check box or radio button: a square as large as fits, centred.
RECT SquareBox(const RECT& r) {
  const LONG s = Side(r);
  const POINT at = Centred(r, s, s);
  return {at.X, at.Y, at.X + s, at.Y + s};
}

int InteriorColor(UINT state) { return (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? COLOR_BTNFACE : COLOR_WINDOW; }

void CheckBox(FrameCanvas& c, const RECT& r, UINT state) {
  const RECT box = SquareBox(r);
  // Flat and mono boxes have a single line round a larger interior.
  const RECT inside = (state & DFCS_MONO)   ? c.Edge(box, BDR_SUNKENOUTER, BF_RECT | BF_MONO)
                      : (state & DFCS_FLAT) ? c.Edge(box, BDR_SUNKENOUTER, BF_RECT | BF_FLAT)
                                            : c.Edge(box, EDGE_SUNKEN, BF_RECT);
  if (!(state & DFCS_TRANSPARENT)) c.FillSys(inside, InteriorColor(state));
  if (!(state & DFCS_CHECKED)) return;
  // One pixel of air inside the two-pixel edge, whatever the style.
  const LONG m = box.Width() - 6;
  if (m <= 0) return;
  const int ink = (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : (state & DFCS_BUTTON3STATE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
  c.FillSys(Offset(CheckMark(m), {box.Left + 3, box.Top + 3}), ink);
}

void RadioButton(FrameCanvas& c, const RECT& r, UINT state) {
  const RECT box = SquareBox(r);
  const LONG s = box.Width();
  const Region disc = Disc(box);
  if (state & DFCS_BUTTONRADIOMASK) {
    // Black where the button is, white round it: ready for an AND blit.
    c.Fill(r, kWhite);
    c.Fill(disc, kBlack);
    return;
  }
  if (state & DFCS_BUTTONRADIOIMAGE) {
    Region outside(r);
    outside.Subtract(disc);
    c.Fill(outside, kBlack);
  }
  const Region middle = s > 2 ? Disc({box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1}) : Region();
  const Region inner = s > 4 ? Disc({box.Left + 2, box.Top + 2, box.Right - 2, box.Bottom - 2}) : Region();
  Region outerRing = disc;
  outerRing.Subtract(middle);
  Region innerRing = middle;
  innerRing.Subtract(inner);
  const Region upperLeft = Offset(UpperLeftHalf(s), box.TopLeft());
  // Halves of a ring: the part above the rising diagonal and the rest.
  auto paintRing = [&](Region ring, int litIndex, int shadeIndex) {
    Region lit = ring;
    lit.Intersect(upperLeft);
    ring.Subtract(upperLeft);
    c.FillSys(lit, litIndex);
    c.FillSys(ring, shadeIndex);
  };
  Region interior = inner;
  if (state & (DFCS_MONO | DFCS_FLAT)) {
    c.FillSys(outerRing, (state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
    interior = middle;
  } else {
    paintRing(outerRing, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    paintRing(innerRing, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  }
  if (!(state & DFCS_TRANSPARENT)) c.FillSys(interior, InteriorColor(state));
  if (!(state & DFCS_CHECKED)) return;
  // A third of the box, with the box's parity so it sits exactly in the middle.
  LONG d = s / 3;
  if ((s - d) % 2) ++d;
  if (d <= 0 || d > s - 4) return;
  const LONG at = (s - d) / 2;
  c.FillSys(Disc({box.Left + at, box.Top + at, box.Left + at + d, box.Top + at + d}),
            (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
}

// Diagonal lines in the corner: groups of face, two shadow and one highlight line,
// counted from the corner outwards, three groups at most, thicker on larger grips.
void SizeGrip(FrameCanvas& c, const RECT& r, UINT state) {
  if (!(state & DFCS_TRANSPARENT)) c.FillSys(r, COLOR_BTNFACE);
  const LONG s = Side(r);
  const LONG pitch = std::max<LONG>(4, s / 4);
  const LONG groups = std::min<LONG>(3, s / pitch);
  const LONG edge = pitch / 4;  // width of the face and of the highlight line
  const bool mirrored = (state & DFCS_SCROLLSIZEGRIPRIGHT) != 0;  // lower-left corner
  std::vector<RECT> shadow, light;
  for (LONG g = 0; g < groups; ++g) {
    const LONG base = g * pitch;
    const struct {
      LONG from, to;
      std::vector<RECT>* into;
    } bands[] = {{base + edge, base + pitch - edge, &shadow}, {base + pitch - edge, base + pitch, &light}};
    for (const auto& band : bands)
      for (LONG dy = 0; dy < band.to; ++dy) {
        // Pixels whose distance from the corner, across plus up, falls in the band.
        const LONG from = std::max<LONG>(0, band.from - dy), to = band.to - dy;
        const LONG y = r.Bottom - 1 - dy;
        band.into->push_back(mirrored ? RECT{r.Left + from, y, r.Left + to, y + 1}
                                      : RECT{r.Right - to, y, r.Right - from, y + 1});
      }
  }
  c.FillSys(Region::FromBoxes(shadow), COLOR_BTNSHADOW);
  c.FillSys(Region::FromBoxes(light), COLOR_BTNHIGHLIGHT);
}

bool ScrollControl(FrameCanvas& c, const RECT& r, UINT state) {
  if (state & (DFCS_SCROLLSIZEGRIP | DFCS_SCROLLSIZEGRIPRIGHT)) {
    SizeGrip(c, r, state);
    return true;
  }
  Direction d;
  switch (state & 0x7) {
    case DFCS_SCROLLUP: d = Direction::Up; break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX: d = Direction::Down; break;
    case DFCS_SCROLLLEFT: d = Direction::Left; break;
    case DFCS_SCROLLRIGHT: d = Direction::Right; break;
    default: return false;
  }
  ButtonFace(c, r, state, 0);
  Region arrow = CentredArrow(r, d);
  if (state & DFCS_PUSHED) arrow.Offset(1, 1);
  PaintGlyph(c, r, arrow, state, GetSysColor(COLOR_BTNTEXT));
  return true;
}

bool CaptionControl(FrameCanvas& c, const RECT& r, UINT state) {
  const UINT kind = state & 0xF;
  if (kind > DFCS_CAPTIONHELP) return false;
  ButtonFace(c, r, state, EDGE_SUNKEN);
  // Four fifths of what the edge leaves: 8 pixels on the classic 16 x 14 button.
  const LONG e = std::max<LONG>(1, (Side(r) - 4) * 4 / 5);
  const LONG sw = std::max<LONG>(1, (e + 2) / 5);
  Region glyph;
  switch (kind) {
    case DFCS_CAPTIONCLOSE: glyph = CloseGlyph(e, sw); break;
    case DFCS_CAPTIONMIN: glyph = MinimizeGlyph(e, sw); break;
    case DFCS_CAPTIONMAX: glyph = MaximizeGlyph(e, sw); break;
    case DFCS_CAPTIONRESTORE: glyph = RestoreGlyph(e, sw); break;
    default: glyph = HelpGlyph(e); break;
  }
  POINT at = Centred(r, e, e);
  if (state & DFCS_PUSHED) at = {at.X + 1, at.Y + 1};
  PaintGlyph(c, r, Offset(glyph, at), state, GetSysColor(COLOR_BTNTEXT));
  return true;
}

// Menu marks are black on white whatever the colours, so callers can use them as masks.
bool MenuControl(FrameCanvas& c, const RECT& r, UINT state) {
  const LONG s = Side(r);
  Region mark;
  switch (state & 0x7) {
    case DFCS_MENUCHECK: {
      const LONG m = std::max<LONG>(1, s * 7 / 16);
      mark = Offset(CheckMark(m), Centred(r, m, m));
      break;
    }
    case DFCS_MENUBULLET: {
      LONG d = std::max<LONG>(2, s * 3 / 8);
      if ((s - d) % 2) ++d;
      const POINT at = Centred(r, d, d);
      mark = Disc({at.X, at.Y, at.X + d, at.Y + d});
      break;
    }
    case DFCS_MENUARROW: mark = CentredArrow(r, Direction::Right); break;
    case DFCS_MENUARROWRIGHT: mark = CentredArrow(r, Direction::Left); break;  // right-to-left menus
    default: return false;
  }
  c.Fill(r, kWhite);
  mark.Intersect(r);
  c.Fill(mark, kBlack);
  return true;
}

}  // namespace

BOOL DrawFrameControl(HDC dc, RECT* r, UINT kind, UINT state) {
  if (!LiveDC(dc) || !r) return FALSE;
  const RECT area = *r;
  for (LONG v : {area.Left, area.Top, area.Right, area.Bottom})
    if (v < -kCoordLimit || v > kCoordLimit) return FALSE;
  if (area.Width() > kMaxControlSize || area.Height() > kMaxControlSize) return FALSE;
  if (kind != DFC_BUTTON && kind != DFC_SCROLL && kind != DFC_CAPTION && kind != DFC_MENU && kind != DFC_POPUPMENU)
    return FALSE;
  if (area.IsEmpty()) return TRUE;
  FrameCanvas c(dc);
  switch (kind) {
    case DFC_BUTTON:
      if (state & DFCS_BUTTONPUSH)
        PushButton(c, r, state);
      else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOMASK | DFCS_BUTTONRADIOIMAGE))
        RadioButton(c, area, state);
      else
        CheckBox(c, area, state);
      return TRUE;
    case DFC_SCROLL: return ScrollControl(c, area, state);
    case DFC_CAPTION: return CaptionControl(c, area, state);
    default: return MenuControl(c, area, state);
  }
}
