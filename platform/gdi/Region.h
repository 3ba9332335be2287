// Regions: a value type over pixman's rectangle lists, and the HRGN functions built on it.
#pragma once

#include <pixman.h>

#include <vector>

#include "Objects.h"

class Region {
 public:
  Region();
  explicit Region(const RECT& r);
  Region(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region();

  static Region FromBoxes(const std::vector<RECT>& rects);

  bool IsEmpty() const;
  RECT Extents() const;
  // Bands of rectangles, top to bottom, left to right.
  std::vector<RECT> Rects() const;
  int RectCount() const;
  const pixman_box32_t* Boxes(int* count) const;

  bool Contains(POINT p) const;
  bool Overlaps(const RECT& r) const;
  bool operator==(const Region& other) const;

  void Intersect(const Region& other);
  void Intersect(const RECT& r);
  void Union(const Region& other);
  void Union(const RECT& r);
  void Subtract(const Region& other);
  void Subtract(const RECT& r);
  void Xor(const Region& other);
  void Offset(int dx, int dy);

  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;

  pixman_region32_t* Raw() { return &FRegion; }
  const pixman_region32_t* Raw() const { return &FRegion; }

 private:
  pixman_region32_t FRegion;
};

struct GdiRegion : GdiObject {
  GdiRegion() : GdiObject(OBJ_REGION) {}
  Region Rgn;
};

// CombineRgn modes.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* r);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
// Returns the kind of the result, or ERROR_REGION for a bad handle or mode.
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
int GetRgnBox(HRGN rgn, RECT* box);
BOOL EqualRgn(HRGN a, HRGN b);

// Shapes of regions are shared with the shape primitives: the pixel spans a rounded
// rectangle or an ellipse covers, with GDI's exclusive right and bottom edges.
Region RoundRectRegion(const RECT& r, int widthEllipse, int heightEllipse);
Region PolygonRegion(const POINT* points, int count, bool winding);
