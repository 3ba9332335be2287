#include "gx_effect/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "vcl/SysUtils.h"

void TgxMask::Span(int32_t y, int32_t x0, int32_t x1, uint8_t v) {
  if (x1 < x0) std::swap(x0, x1);
  if (uint32_t(y) >= uint32_t(H) || x1 < 0 || x0 >= W) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, W - 1);
  std::memset(Cells + int64_t(y) * W + x0, v, size_t(x1 - x0 + 1));
}

void TgxMask::Column(int32_t x, int32_t y0, int32_t y1, uint8_t v) {
  if (y1 < y0) std::swap(y0, y1);
  if (uint32_t(x) >= uint32_t(W) || y1 < 0 || y0 >= H) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, H - 1);
  for (uint8_t* c = Cells + int64_t(y0) * W + x; y0 <= y1; ++y0, c += W) *c = v;
}

void TgxMask::Fill(uint8_t v) { std::memset(Cells, v, size_t(int64_t(W) * H)); }

void TgxMask::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t v) {
  // Every cell of the line lies in the box of its end points.
  if (std::max(x1, x2) < 0 || std::min(x1, x2) >= W || std::max(y1, y2) < 0 || std::min(y1, y2) >= H) return;
  const int64_t dx = std::abs(int64_t(x2) - x1);
  const int64_t dy = std::abs(int64_t(y2) - y1);
  const int64_t m = std::max(dx, dy);
  if (m == 0) {
    Set(x1, y1, v);
    return;
  }
  // The step loop in closed form: after step j + 1 an axis of distance d has moved
  // c(j) = ceil((j + 1) * d / m) - 1 times (never when d is 0), so the major axis moves
  // once per step after the first and the cells are those of j = 0..m. Only the j whose
  // cell lies inside the grid are walked, which writes exactly the cells the loop would.
  const bool alongX = dx >= dy;
  const int64_t major0 = alongX ? x1 : y1;
  const int64_t minor0 = alongX ? y1 : x1;
  const int64_t stepX = int64_t(x2) - x1 < 1 ? -1 : 1;
  const int64_t stepY = int64_t(y2) - y1 < 1 ? -1 : 1;
  const int64_t majorStep = alongX ? stepX : stepY;
  const int64_t minorStep = alongX ? stepY : stepX;
  const int64_t minorDist = alongX ? dy : dx;
  const int64_t majorLimit = alongX ? W : H;
  const int64_t minorLimit = alongX ? H : W;

  int64_t jFirst, jLast;
  if (majorStep > 0) {
    jFirst = std::max<int64_t>(0, -major0);
    jLast = std::min<int64_t>(m, majorLimit - 1 - major0);
  } else {
    jFirst = std::max<int64_t>(0, major0 - (majorLimit - 1));
    jLast = std::min<int64_t>(m, major0);
  }
  if (minorDist > 0) {
    // c(j) runs from 0 to minorDist without falling; keep it within [cLo, cHi].
    const int64_t cLo = minorStep > 0 ? -minor0 : minor0 - (minorLimit - 1);
    const int64_t cHi = minorStep > 0 ? minorLimit - 1 - minor0 : minor0;
    if (cHi < 0 || cLo > minorDist) return;
    // c(j) >= K from j = floor(K * m / d) on; c(j) <= K up to j = floor((K + 1) * m / d) - 1.
    if (cLo > 0) jFirst = std::max(jFirst, int64_t(__int128(cLo) * m / minorDist));
    if (cHi < minorDist) jLast = std::min(jLast, int64_t(__int128(cHi + 1) * m / minorDist) - 1);
  }  // else the box test has put the minor coordinate inside
  if (jFirst > jLast) return;

  const int64_t acc = (jFirst + 1) * minorDist;
  const int64_t moved = acc == 0 ? 0 : (acc - 1) / m;
  int64_t e = acc - moved * m;  // the minor accumulator of the step loop, in 1..m
  const int64_t majorStride = alongX ? 1 : W;
  const int64_t minorStride = alongX ? W : 1;
  int64_t cell = (major0 + majorStep * jFirst) * majorStride + (minor0 + minorStep * moved) * minorStride;
  const int64_t majorDelta = majorStep * majorStride;
  const int64_t minorDelta = minorStep * minorStride;
  for (int64_t j = jFirst; j <= jLast; ++j) {
    Cells[cell] = v;
    cell += majorDelta;
    e += minorDist;
    if (e > m) {
      e -= m;
      cell += minorDelta;
    }
  }
}

void TgxMask::Ring(int32_t cx, int32_t cy, int32_t r, uint8_t v) {
  if (r < 0) return;
  // The ring stays within r + 1 cells of its centre.
  if (int64_t(cx) + r + 1 < 0 || int64_t(cx) - r - 1 >= W || int64_t(cy) + r + 1 < 0 || int64_t(cy) - r - 1 >= H)
    return;
  const uint64_t w = uint64_t(W), h = uint64_t(H);
  // Cells cx +- a and cx +- (a + 1) of rows cy +- b.
  auto plotRows = [&](int64_t b, int64_t a) {
    for (const int64_t row : {int64_t(cy) + b, int64_t(cy) - b}) {
      if (uint64_t(row) >= h) continue;
      uint8_t* line = Cells + row * W;
      for (const int64_t col : {cx + a, cx + a + 1, cx - a, cx - a - 1})
        if (uint64_t(col) < w) line[col] = v;
    }
  };
  int64_t x = 0, y = r, d = 3 - 2 * int64_t(r);
  while (x < y) {
    plotRows(y, x);
    plotRows(x, y);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
    // Columns cx +- x and rows cy +- x only move away from the grid once they have left it
    // on both sides; then nothing more of the ring can land inside.
    if (cx - x < 0 && cx + x >= W && cy - x < 0 && cy + x >= H) return;
  }
  if (x == y) {
    plotRows(y, x);
    plotRows(x, y);
  }
}

void TgxMask::Complement() {
  uint8_t* c = Cells;
  for (int64_t n = int64_t(W) * H; n > 0; --n, ++c) *c = uint8_t(255 - *c);
}

void TgxMask::Swap(uint8_t Value) {
  uint8_t* c = Cells;
  for (int64_t n = int64_t(W) * H; n > 0; --n, ++c) *c = *c != 0 ? 0 : Value;
}

uint8_t gxSoftValue(int32_t k, int32_t n, int32_t p) {
  const double step = n != 0 ? 2.0 * p / n : 2.0 * p;
  const int32_t s = Round(2.0 * p - k * step);
  const int32_t v = MulDiv(s, 255, 100);
  if (p == 100 || v >= 256) return 255;
  return uint8_t(std::max(v, 0));
}

TgxDiagonal::TgxDiagonal(int32_t W, int32_t H)
    : FX(H < W ? 1.0 : double(W) / H), FY(H < W ? double(H) / W : 1.0) {}

int32_t TgxDiagonal::Hx(int32_t k) const { return Round(k * FX); }

int32_t TgxDiagonal::Vy(int32_t k) const { return Round(k * FY); }

int32_t TgxRandom::Random(int32_t n) {
  FSeed = FSeed * 134775813u + 1u;
  if (n <= 0) return 0;
  return int32_t((uint64_t(FSeed) * uint32_t(n)) >> 32);
}
