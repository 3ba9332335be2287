#include "Region.h"

#include <algorithm>
#include <cmath>

Region::Region() { pixman_region32_init(&FRegion); }

Region::Region(const RECT& r) {
  if (r.IsEmpty())
    pixman_region32_init(&FRegion);
  else
    pixman_region32_init_rect(&FRegion, r.Left, r.Top, unsigned(r.Width()), unsigned(r.Height()));
}

Region::Region(const Region& other) {
  pixman_region32_init(&FRegion);
  pixman_region32_copy(&FRegion, const_cast<pixman_region32_t*>(&other.FRegion));
}

Region::Region(Region&& other) noexcept : Region() { pixman_region32_copy(&FRegion, &other.FRegion); }

Region& Region::operator=(const Region& other) {
  if (this != &other) pixman_region32_copy(&FRegion, const_cast<pixman_region32_t*>(&other.FRegion));
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (this != &other) pixman_region32_copy(&FRegion, &other.FRegion);
  return *this;
}

Region::~Region() { pixman_region32_fini(&FRegion); }

Region Region::FromBoxes(const std::vector<RECT>& rects) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(rects.size());
  for (const RECT& r : rects)
    if (!r.IsEmpty()) boxes.push_back({r.Left, r.Top, r.Right, r.Bottom});
  Region result;
  pixman_region32_fini(&result.FRegion);
  pixman_region32_init_rects(&result.FRegion, boxes.data(), int(boxes.size()));
  return result;
}

bool Region::IsEmpty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&FRegion)); }

RECT Region::Extents() const {
  if (IsEmpty()) return {};
  const pixman_box32_t* e = pixman_region32_extents(const_cast<pixman_region32_t*>(&FRegion));
  return {e->x1, e->y1, e->x2, e->y2};
}

const pixman_box32_t* Region::Boxes(int* count) const {
  return pixman_region32_rectangles(const_cast<pixman_region32_t*>(&FRegion), count);
}

std::vector<RECT> Region::Rects() const {
  int n = 0;
  const pixman_box32_t* b = Boxes(&n);
  std::vector<RECT> out;
  out.reserve(size_t(n));
  for (int i = 0; i < n; ++i) out.push_back({b[i].x1, b[i].y1, b[i].x2, b[i].y2});
  return out;
}

int Region::RectCount() const { return pixman_region32_n_rects(const_cast<pixman_region32_t*>(&FRegion)); }

bool Region::Contains(POINT p) const {
  return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&FRegion), p.X, p.Y, nullptr);
}

bool Region::Overlaps(const RECT& r) const {
  if (r.IsEmpty()) return false;
  pixman_box32_t box{r.Left, r.Top, r.Right, r.Bottom};
  return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&FRegion), &box) != PIXMAN_REGION_OUT;
}

bool Region::operator==(const Region& other) const {
  return pixman_region32_equal(const_cast<pixman_region32_t*>(&FRegion),
                               const_cast<pixman_region32_t*>(&other.FRegion));
}

void Region::Intersect(const Region& other) {
  pixman_region32_intersect(&FRegion, &FRegion, const_cast<pixman_region32_t*>(&other.FRegion));
}
void Region::Intersect(const RECT& r) { Intersect(Region(r)); }
void Region::Union(const Region& other) {
  pixman_region32_union(&FRegion, &FRegion, const_cast<pixman_region32_t*>(&other.FRegion));
}
void Region::Union(const RECT& r) { Union(Region(r)); }
void Region::Subtract(const Region& other) {
  pixman_region32_subtract(&FRegion, &FRegion, const_cast<pixman_region32_t*>(&other.FRegion));
}
void Region::Subtract(const RECT& r) { Subtract(Region(r)); }
void Region::Xor(const Region& other) {
  Region both(*this);
  both.Intersect(other);
  Union(other);
  Subtract(both);
}
void Region::Offset(int dx, int dy) { pixman_region32_translate(&FRegion, dx, dy); }

int Region::Kind() const {
  const int n = RectCount();
  return n == 0 ? NULLREGION : n == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// ---- shapes ----

Region RoundRectRegion(const RECT& rIn, int widthEllipse, int heightEllipse) {
  RECT r = rIn;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  if (r.IsEmpty()) return {};
  const double rx = std::min(std::abs(widthEllipse), int(r.Width())) / 2.0;
  const double ry = std::min(std::abs(heightEllipse), int(r.Height())) / 2.0;
  if (rx < 0.5 || ry < 0.5) return Region(r);
  // Rows of the top corners; the bottom ones mirror them so the shape stays symmetric.
  const int cornerRows = int(std::ceil(ry));
  std::vector<RECT> rows;
  const int h = r.Height();
  for (int i = 0; i < h; ++i) {
    const int mirrored = std::min(i, h - 1 - i);  // distance from the nearer edge
    int inset = 0;
    if (mirrored < cornerRows) {
      const double dy = ry - (mirrored + 0.5);
      if (dy >= ry) continue;
      const double hx = rx * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (ry * ry)));
      inset = int(std::ceil(rx - hx - 0.5));
      if (inset < 0) inset = 0;
    }
    const int left = r.Left + inset;
    const int right = r.Right - inset;
    if (right > left) rows.push_back({left, r.Top + i, right, r.Top + i + 1});
  }
  return Region::FromBoxes(rows);
}

Region PolygonRegion(const POINT* points, int count, bool winding) {
  if (points == nullptr || count < 3) return {};
  int minY = points[0].Y, maxY = points[0].Y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, int(points[i].Y));
    maxY = std::max(maxY, int(points[i].Y));
  }
  std::vector<RECT> spans;
  std::vector<std::pair<double, int>> xs;
  for (int y = minY; y < maxY; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (int i = 0; i < count; ++i) {
      const POINT a = points[i];
      const POINT b = points[(i + 1) % count];
      if (a.Y == b.Y) continue;
      const bool down = a.Y < b.Y;
      const double y0 = down ? a.Y : b.Y, y1 = down ? b.Y : a.Y;
      if (yc < y0 || yc >= y1) continue;
      const double x = a.X + (yc - a.Y) * double(b.X - a.X) / double(b.Y - a.Y);
      xs.push_back({x, down ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end());
    int wind = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
      wind += winding ? xs[k].second : 1;
      const bool inside = winding ? wind != 0 : (wind % 2) != 0;
      if (!inside) continue;
      const int x0 = int(std::ceil(xs[k].first - 0.5));
      const int x1 = int(std::ceil(xs[k + 1].first - 0.5));
      if (x1 > x0) spans.push_back({x0, y, x1, y + 1});
    }
  }
  return Region::FromBoxes(spans);
}

// ---- HRGN calls ----

namespace {
GdiRegion* Rgn(HRGN h) { return LiveObject<GdiRegion>(h, OBJ_REGION); }

HRGN NewRegion(Region r) {
  auto* g = new GdiRegion;
  g->Rgn = std::move(r);
  RegisterObject(g);
  return g;
}
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRegion(Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                               std::max(top, bottom)}));
}

HRGN CreateRectRgnIndirect(const RECT* r) {
  return r ? CreateRectRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse) {
  return NewRegion(RoundRectRegion({left, top, right, bottom}, widthEllipse, heightEllipse));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  return CreateRoundRectRgn(left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

HRGN CreateEllipticRgnIndirect(const RECT* r) {
  return r ? CreateEllipticRgn(r->Left, r->Top, r->Right, r->Bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  return NewRegion(PolygonRegion(points, count, fillMode == 2 /* WINDING */));
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  GdiRegion* g = Rgn(rgn);
  if (!g) return FALSE;
  g->Rgn = Region(RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)});
  return TRUE;
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
  GdiRegion* d = Rgn(dst);
  GdiRegion* a = Rgn(src1);
  if (!d || !a) return ERROR_REGION;
  if (mode == RGN_COPY) {
    d->Rgn = a->Rgn;
    return d->Rgn.Kind();
  }
  GdiRegion* b = Rgn(src2);
  if (!b) return ERROR_REGION;
  Region result = a->Rgn;
  switch (mode) {
    case RGN_AND: result.Intersect(b->Rgn); break;
    case RGN_OR: result.Union(b->Rgn); break;
    case RGN_XOR: result.Xor(b->Rgn); break;
    case RGN_DIFF: result.Subtract(b->Rgn); break;
    default: return ERROR_REGION;
  }
  d->Rgn = std::move(result);
  return d->Rgn.Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  GdiRegion* g = Rgn(rgn);
  if (!g) return ERROR_REGION;
  g->Rgn.Offset(dx, dy);
  return g->Rgn.Kind();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  GdiRegion* g = Rgn(rgn);
  return g && g->Rgn.Contains({x, y});
}

BOOL RectInRegion(HRGN rgn, const RECT* r) {
  GdiRegion* g = Rgn(rgn);
  if (!g || !r) return FALSE;
  const RECT n{std::min(r->Left, r->Right), std::min(r->Top, r->Bottom), std::max(r->Left, r->Right),
               std::max(r->Top, r->Bottom)};
  return g->Rgn.Overlaps(n);
}

int GetRgnBox(HRGN rgn, RECT* box) {
  GdiRegion* g = Rgn(rgn);
  if (!g || !box) return ERROR_REGION;
  *box = g->Rgn.Extents();
  return g->Rgn.Kind();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  GdiRegion* ra = Rgn(a);
  GdiRegion* rb = Rgn(b);
  return ra && rb && ra->Rgn == rb->Rgn;
}
