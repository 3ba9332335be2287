// What the fade effects draw their masks with: lines and rings of cells, the soft values of
// the smooth fronts, the diagonal proportions, the two inversions of the In variants, and
// the random generator whose reseeding keeps the frames of a transition nested.
#pragma once

#include <cstdint>

// The percentage an effect works with: anything above 100 counts as 100.
inline int32_t gxPercent(uint8_t Percent) { return Percent > 100 ? 100 : Percent; }

// A grid the procedures can work on: at least one cell, sides below 2^24 (so that sums and
// products of the sides stay far from overflow) and a cell count that fits 32 bits.
inline bool gxGridValid(int32_t W, int32_t H) {
  return W > 0 && H > 0 && W < (1 << 24) && H < (1 << 24) && int64_t(W) * H <= INT32_MAX;
}

// A W x H opacity mask, cell (x, y) at byte x + y * W. Every write is clipped to the grid,
// so shapes may reach far beyond it.
struct TgxMask {
  uint8_t* Cells;
  int32_t W;
  int32_t H;

  bool Inside(int32_t x, int32_t y) const { return uint32_t(x) < uint32_t(W) && uint32_t(y) < uint32_t(H); }
  void Set(int32_t x, int32_t y, uint8_t v) {
    if (Inside(x, y)) Cells[x + int64_t(y) * W] = v;
  }

  // Cells x0..x1 (either order) of row y, and cells y0..y1 of column x.
  void Span(int32_t y, int32_t x0, int32_t x1, uint8_t v);
  void Column(int32_t x, int32_t y0, int32_t y1, uint8_t v);
  // The whole row y: what Line(0, y, W - 1, y) draws.
  void Row(int32_t y, uint8_t v) { Span(y, 0, W - 1, v); }
  void Fill(uint8_t v);

  // The mask line from (x1, y1) to (x2, y2): the start cell, then m = max(dx, dy) + 1
  // accumulator steps, each moving an axis when its accumulator passes m.
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t v);
  // The midpoint circle of radius r around (cx, cy), two cells thick horizontally so that
  // consecutive radii leave no holes. A negative radius draws nothing.
  void Ring(int32_t cx, int32_t cy, int32_t r, uint8_t v);

  // The inversions of the In variants: every cell v becomes 255 - v; or every non-zero
  // cell becomes 0 and every zero cell becomes Value.
  void Complement();
  void Swap(uint8_t Value);
};

// Opacity of step k out of n of a smooth front at percentage p: the newest step (k = n) is
// near 0, the area behind it rises to full opacity; everything is 255 at p = 100.
uint8_t gxSoftValue(int32_t k, int32_t n, int32_t p);

// The diagonal proportions of a W x H grid: the longer side advances one cell per step,
// the shorter one in proportion.
class TgxDiagonal {
 public:
  TgxDiagonal(int32_t W, int32_t H);
  int32_t Hx(int32_t k) const;
  int32_t Vy(int32_t k) const;

 private:
  double FX;
  double FY;
};

// The linear congruential generator of the random effects. Reseeding with the grid size
// makes every frame of a transition draw the same sequence, so the cells chosen at a
// higher percentage include those chosen at a lower one.
class TgxRandom {
 public:
  explicit TgxRandom(uint32_t Seed = 0) : FSeed(Seed) {}
  void Reseed(int32_t W, int32_t H) { FSeed = uint32_t(W) * uint32_t(H); }
  uint32_t Seed() const { return FSeed; }
  // 0 <= result < n: the high half of the 64-bit product of the new state and n; 0 when n <= 0.
  int32_t Random(int32_t n);

 private:
  uint32_t FSeed;
};
