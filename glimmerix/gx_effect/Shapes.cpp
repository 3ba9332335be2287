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

namespace {

int64_t FloorSqrt(int64_t n) {
  if (n <= 0) return 0;
  int64_t s = int64_t(std::sqrt(double(n)));
  while (s * s > n) --s;
  while ((s + 1) * (s + 1) <= n) ++s;
  return s;
}

int64_t CeilSqrt(int64_t n) {
  const int64_t s = FloorSqrt(n);
  return s * s < n ? s + 1 : s;
}

// The offsets o >= 0 for which c + o or c - o lies in 0..n - 1: always one interval.
struct TOffsets {
  int64_t Lo;
  int64_t Hi;
};

TOffsets OffsetsInside(int64_t c, int64_t n) {
  if (c < 0) return {-c, n - 1 - c};
  if (c >= n) return {c - n + 1, c};
  return {0, std::max(n - 1 - c, c)};
}

}  // namespace

// The step loop's y at step x is F(x), the Y >= 1 with Y(Y - 1) < r^2 - x^2 <= Y(Y + 1):
// y goes down when d >= 0, that is when (x + 1)^2 + y(y - 1) >= r^2, and
// d = 2((x + 1)^2 + y(y - 1) - r^2) + 1 at every step. So the loop may start at any step,
// and only the steps that can reach the grid are walked: those whose rows cy +- F(x) and
// columns cx +- x, cx +- (x + 1), or rows cy +- x and columns cx +- F(x), cx +- (F(x) + 1),
// can lie inside. F is monotone, so each condition holds for an interval of steps.
void TgxMask::Ring(int32_t cx, int32_t cy, int32_t r, uint8_t v) {
  if (r < 0) return;
  // The ring stays within r + 1 cells of its centre.
  if (int64_t(cx) + r + 1 < 0 || int64_t(cx) - r - 1 >= W || int64_t(cy) + r + 1 < 0 || int64_t(cy) - r - 1 >= H)
    return;
  const uint64_t w = uint64_t(W), h = uint64_t(H);
  // Cells a and a + 1 of a row, each only if inside.
  auto plotPair = [&](uint8_t* line, int64_t a) {
    if (uint64_t(a) < w - 1) {
      line[a] = v;
      line[a + 1] = v;
    } else {
      if (uint64_t(a) < w) line[a] = v;
      if (uint64_t(a + 1) < w) line[a + 1] = v;
    }
  };
  // Cells cx +- a and cx +- (a + 1) of rows cy +- b.
  auto plotRows = [&](int64_t b, int64_t a) {
    for (const int64_t row : {int64_t(cy) + b, int64_t(cy) - b}) {
      if (uint64_t(row) >= h) continue;
      uint8_t* line = Cells + row * W;
      plotPair(line, cx + a);
      plotPair(line, cx - a - 1);
    }
  };
  if (r == 0) {
    plotRows(0, 0);
    return;
  }

  const int64_t rr = int64_t(r) * r;
  auto F = [rr](int64_t x) -> int64_t {
    const int64_t t = rr - x * x;
    if (t <= 0) return 0;  // past the loop's end
    const int64_t s = FloorSqrt(t);
    return t <= s * (s + 1) ? s : s + 1;
  };
  // The first step with F(x) <= K, and the last with F(x) >= K.
  auto firstAtMost = [rr](int64_t K) -> int64_t { return std::max<int64_t>(CeilSqrt(rr - K * (K + 1)), 0); };
  auto lastAtLeast = [rr](int64_t K) -> int64_t {
    if (K <= 1) return rr;  // every step of the loop
    return rr - K * (K - 1) <= 0 ? -1 : CeilSqrt(rr - K * (K - 1)) - 1;
  };
  const TOffsets rows = OffsetsInside(cy, H), cols = OffsetsInside(cx, W);
  int64_t first = INT64_MAX, last = -1;
  auto include = [&](int64_t lo, int64_t hi) {
    if (lo > hi) return;
    first = std::min(first, lo);
    last = std::max(last, hi);
  };
  // Octant of rows cy +- F(x), then octant of rows cy +- x.
  include(std::max(firstAtMost(rows.Hi), cols.Lo - 1), std::min(lastAtLeast(rows.Lo), cols.Hi));
  include(std::max(firstAtMost(cols.Hi), rows.Lo), std::min(lastAtLeast(cols.Lo - 1), rows.Hi));
  if (first > last) return;

  int64_t x = first, y = F(x);
  int64_t d = 2 * ((x + 1) * (x + 1) - (rr - y * (y - 1))) + 1;
  while (x < y && x <= last) {
    plotRows(y, x);
    plotRows(x, y);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
  if (x == y && x <= last) {
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
