// The fade and slide effects of the catalogue against a literal walk of their rules: each
// rule is written here step by step as it reads (the step loop of the line, the midpoint
// ring, the soft values, the generator), independent of the procedures' own shortcuts, and
// every cell of small grids is compared at every percentage.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gx_effect/Catalogue.h"

namespace {

// ---- the arithmetic of the rules ----

int32_t RefMulDiv(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return -1;
  const int64_t p = a * b;
  const bool negative = (p < 0) != (c < 0);
  const int64_t q = (std::llabs(p) * 2 + std::llabs(c)) / (std::llabs(c) * 2);
  return int32_t(negative ? -q : q);
}

int32_t RefRound(double x) { return int32_t(std::nearbyint(x)); }

struct RefGrid {
  int32_t W, H;
  std::vector<uint8_t> Cells;
  RefGrid(int32_t w, int32_t h) : W(w), H(h), Cells(size_t(w) * h, 0) {}
  bool Inside(int64_t x, int64_t y) const { return x >= 0 && y >= 0 && x < W && y < H; }
  void Set(int64_t x, int64_t y, uint8_t v) {
    if (Inside(x, y)) Cells[size_t(x + y * W)] = v;
  }
  uint8_t& At(int32_t x, int32_t y) { return Cells[size_t(x + y * W)]; }

  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t v) {
    const int32_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1), m = std::max(dx, dy);
    Set(x1, y1, v);
    int32_t x = x1, y = y1, ex = 0, ey = 0;
    for (int32_t i = 0; i < m + 1; ++i) {
      bool moved = false;
      ex += dx;
      if (ex > m) {
        ex -= m;
        x += x2 - x1 < 1 ? -1 : 1;
        moved = true;
      }
      ey += dy;
      if (ey > m) {
        ey -= m;
        y += y2 - y1 < 1 ? -1 : 1;
        moved = true;
      }
      if (moved) Set(x, y, v);
    }
  }

  void Plot(int32_t cx, int32_t cy, int32_t x, int32_t y, uint8_t v) {
    for (int32_t h = x; h <= x + 1; ++h) {
      Set(cx + h, cy + y, v);
      Set(cx + h, cy - y, v);
      Set(cx - h, cy - y, v);
      Set(cx - h, cy + y, v);
    }
    for (int32_t h = y; h <= y + 1; ++h) {
      Set(cx + h, cy + x, v);
      Set(cx + h, cy - x, v);
      Set(cx - h, cy - x, v);
      Set(cx - h, cy + x, v);
    }
  }

  void Ring(int32_t cx, int32_t cy, int32_t r, uint8_t v) {
    int32_t x = 0, y = r, d = 3 - 2 * r;
    while (x < y) {
      Plot(cx, cy, x, y, v);
      if (d < 0) {
        d += 4 * x + 6;
      } else {
        d += 4 * (x - y) + 10;
        y -= 1;
      }
      x += 1;
    }
    if (x == y) Plot(cx, cy, x, y, v);
  }

  void Complement() {
    for (uint8_t& c : Cells) c = uint8_t(255 - c);
  }
  void Swap(uint8_t value) {
    for (uint8_t& c : Cells) c = c != 0 ? 0 : value;
  }
};

uint8_t Soft(int32_t k, int32_t n, int32_t p) {
  const double step = n != 0 ? 2.0 * p / n : 2.0 * p;
  const int32_t s = RefRound(2.0 * p - k * step);
  const int32_t v = RefMulDiv(s, 255, 100);
  if (p == 100 || v >= 256) return 255;
  return uint8_t(std::max(v, 0));
}

int32_t Hx(int32_t k, int32_t W, int32_t H) { return RefRound(k * (H < W ? 1.0 : double(W) / H)); }
int32_t Vy(int32_t k, int32_t W, int32_t H) { return RefRound(k * (H < W ? double(H) / W : 1.0)); }

double E(int32_t W, int32_t H) { return std::sqrt(double(W) * W + double(H) * H); }
int32_t D(int32_t W, int32_t H) { return RefRound(E(W, H)); }
int32_t M(int32_t W, int32_t H) { return std::max(W, H); }
uint8_t V(int32_t p) { return uint8_t(RefMulDiv(p, 255, 100)); }

struct RefRandom {
  uint32_t S;
  int32_t Next(int32_t n) {
    S = S * 134775813u + 1u;
    return int32_t((uint64_t(S) * uint64_t(n)) >> 32);
  }
};

// ---- the shapes of the table, drawn as the rules read ----

using RefFade = std::function<void(RefGrid&, int32_t p)>;

void SmoothDiagonalFronts(RefGrid& g, int32_t p, bool out) {
  const int32_t W = g.W, H = g.H;
  const int32_t q = RefMulDiv(D(W, H), p, 100);
  double hx = 0, vy = 0;
  for (int32_t k = 0; k <= 2 * q; ++k) {
    const int32_t s = RefRound(2.0 * p - k * (q != 0 ? 2.0 * p / q : 2.0 * p) / 2);
    int32_t v = std::max(RefMulDiv(s, 255, 100), 0);
    if (p == 100 || v >= 256) v = 255;
    if (k < M(W, H)) {
      if (out) {
        g.Line(0, H - 1 - RefRound(vy), W - RefRound(hx), 0, uint8_t(v));
        g.Line(RefRound(hx), H - 1, W - 1, RefRound(vy), uint8_t(v));
      } else {
        g.Line(0, H - 1 - RefRound(vy), RefRound(hx), H - 1, uint8_t(v));
        g.Line(W - RefRound(hx), 0, W - 1, RefRound(vy), uint8_t(v));
      }
    }
    hx += W < H ? double(W) / H : 1.0;
    vy += W < H ? 1.0 : double(H) / W;
  }
}

void CrossOutline(RefGrid& g, int32_t l, int32_t m, uint8_t v) {
  const int32_t cx = g.W / 2, cy = g.H / 2;
  const int32_t c[13][2] = {{cx - l / 2, cy + m},     {cx - l / 2, cy + m / 2}, {cx - l, cy + m / 2},
                            {cx - l, cy - m / 2},     {cx - l / 2, cy - m / 2}, {cx - l / 2, cy - m},
                            {cx + l / 2, cy - m},     {cx + l / 2, cy - m / 2}, {cx + l, cy - m / 2},
                            {cx + l, cy + m / 2},     {cx + l / 2, cy + m / 2}, {cx + l / 2, cy + m},
                            {cx - l / 2, cy + m}};
  for (int i = 0; i < 12; ++i) g.Line(c[i][0], c[i][1], c[i + 1][0], c[i + 1][1], v);
}

void RectOutline(RefGrid& g, int32_t l, int32_t m, uint8_t v) {
  const int32_t cx = g.W / 2, cy = g.H / 2;
  g.Line(cx - l, cy + m, cx - l, cy - m, v);
  g.Line(cx - l, cy - m, cx + l, cy - m, v);
  g.Line(cx + l, cy - m, cx + l, cy + m, v);
  g.Line(cx + l, cy + m, cx - l, cy + m, v);
}

void DiamondOutline(RefGrid& g, int32_t e, int32_t f, uint8_t v) {
  const int32_t cx = g.W / 2, cy = g.H / 2;
  g.Line(cx, cy + f, cx - e, cy, v);
  g.Line(cx - e, cy, cx, cy - f, v);
  g.Line(cx, cy - f, cx + e, cy, v);
  g.Line(cx + e, cy, cx, cy + f, v);
}

void SmoothCrossOut(RefGrid& g, int32_t p) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(p, RefRound(2.5 * M(g.W, g.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) CrossOutline(g, Hx(k, g.W, g.H), Vy(k, g.W, g.H), Soft(k, n, p));
}

void SmoothRectOut(RefGrid& g, int32_t p) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(p, RefRound(1.6 * M(g.W, g.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) RectOutline(g, Hx(k, g.W, g.H), Vy(k, g.W, g.H), Soft(k, n, p));
}

void FadeDiagonal(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t a = RefMulDiv(g.W - 1, p, 100), b = RefMulDiv(g.H - 1, p, 100), m = std::max(a, b);
  for (int32_t k = 0; k <= 2 * m; ++k) g.Line(0, std::min(k, 2 * b), std::min(k, 2 * a), 0, v);
}

void FadeDiagonalIn(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t W = g.W, H = g.H;
  const int32_t a = RefRound(p / 100.0 * (W - 1)), b = RefRound(p / 100.0 * (H - 1)), m = std::max(a, b);
  for (int32_t k = 0; k <= m; ++k) {
    g.Line(0, H - 1 - std::min(k, b), std::min(k, a), H - 1, v);
    g.Line(W - 1 - std::min(k, a), 0, W - 1, std::min(k, b), v);
  }
}

void FadeDiagonalOut(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t W = g.W, H = g.H;
  const int32_t a = RefRound(p / 100.0 * (W - 1)), b = RefRound(p / 100.0 * (H - 1));
  if (b < a) {
    for (int32_t k = 0; k <= a; ++k) {
      g.Line(0, std::min(k, b), W - 1 - k, H - 1, v);
      g.Line(k, 0, W, H - std::min(k, b), v);
    }
  } else {
    for (int32_t k = 0; k <= b; ++k) {
      g.Line(std::min(k, a), 0, W - 1, H - 1 - k, v);
      g.Line(0, k, W - 1 - std::min(k, a), H - 1, v);
    }
  }
}

void FadeDown(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  for (int32_t y = 0; y <= RefMulDiv(p, g.H - 1, 100); ++y) g.Line(0, y, g.W - 1, y, v);
}

void FadeIn(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t H = g.H, t = RefMulDiv(p, H / 2, 100);
  for (int32_t y = H - 1; y >= H - 1 - t; --y) g.Line(0, y, g.W - 1, y, v);
  for (int32_t y = 0; y <= t; ++y) g.Line(0, y, g.W - 1, y, v);
}

void FadeOut(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t H = g.H, t = RefMulDiv(p, H / 2, 100);
  for (int32_t k = 0; k <= t; ++k) {
    g.Line(0, H / 2 - k, g.W - 1, H / 2 - k, v);
    g.Line(0, H / 2 + k, g.W - 1, H / 2 + k, v);
  }
}

void FadeCrossOut(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t cx = g.W / 2, cy = g.H / 2;
  const int32_t a = RefMulDiv(p, 2 * g.W, 100), b = RefMulDiv(p, 2 * g.H, 100);
  for (int32_t e = -(a / 4); e <= a / 4; ++e)
    for (int32_t y = cy - b; y <= cy + b; ++y) g.Set(cx + e, y, v);
  for (int32_t e = -(b / 4); e <= b / 4; ++e)
    for (int32_t x = cx - a; x <= cx + a; ++x) g.Set(x, cy + e, v);
}

void FadeRectOut(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(p, M(g.W, g.H), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) RectOutline(g, Hx(k, g.W, g.H), Vy(k, g.W, g.H), v);
}

// Pixel's choice: c distinct cells, drawn until a zero cell is met.
std::vector<bool> Chosen(int32_t W, int32_t H, int32_t c) {
  const int32_t N = W * H;
  std::vector<bool> chosen(size_t(N), false);
  RefRandom r{uint32_t(W) * uint32_t(H)};
  for (int32_t i = 0; i < c; ++i) {
    int32_t cell;
    do cell = r.Next(N);
    while (chosen[size_t(cell)]);
    chosen[size_t(cell)] = true;
  }
  return chosen;
}

void CircleSlideOut(RefGrid& g, int32_t p, uint8_t v) {
  const int32_t q = RefMulDiv(D(g.W, g.H), p, 100);
  for (int32_t r = 0; r <= q / 2; ++r) g.Ring(g.W / 2, g.H / 2, r, v);
}

void CircleSmoothOut(RefGrid& g, int32_t p) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(RefRound(0.9 * E(g.W, g.H)), p, 100);
  for (int32_t k = 0; k <= n; ++k) g.Ring(g.W / 2, g.H / 2, k, Soft(k, n, p));
}

void CircleSlideIn(RefGrid& g, int32_t p, uint8_t v) {
  const int32_t q = RefMulDiv(D(g.W, g.H), p, 100), f = D(g.W, g.H) / 2;
  for (int32_t t = q / 2; t >= 0; --t) g.Ring(g.W / 2, g.H / 2, f - t, v);
}

void CircleSlide(RefGrid& g, int32_t p, uint8_t v) {
  const int32_t q = RefMulDiv(D(g.W, g.H), p, 100);
  for (int32_t r = 0; r <= q; ++r) g.Ring(0, g.H - 1, r, v);
}

void DiamondOut(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(p, M(g.W, g.H), 100);
  for (int32_t k = 0; k <= n; ++k) DiamondOutline(g, Hx(k, g.W, g.H), Vy(k, g.W, g.H), v);
}

void DiamondSmoothOut(RefGrid& g, int32_t p) {
  if (p == 0) return;
  const int32_t n = RefMulDiv(p, RefRound(2.5 * M(g.W, g.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) DiamondOutline(g, Hx(k, g.W, g.H), Vy(k, g.W, g.H), Soft(k, n, p));
}

void RotateHand(RefGrid& g, int32_t p, uint8_t v) {
  if (p == 0) return;
  const int32_t W = g.W, H = g.H, e = RefMulDiv(W + H, p, 100);
  for (int32_t i = 0; i <= e; ++i) g.Line(0, H - 1, i < H ? W - 1 : W + i - e, i < H ? H - i : 0, v);
}

// An In variant: the Out shape at 100 - p, then the inversion; empty at p = 0.
RefFade SwappedIn(std::function<void(RefGrid&, int32_t, uint8_t)> out, bool opaque) {
  return [out, opaque](RefGrid& g, int32_t p) {
    if (p == 0) return;
    out(g, 100 - p, opaque ? 255 : V(100 - p));
    g.Swap(opaque ? 255 : V(p));
  };
}
RefFade ComplementedIn(std::function<void(RefGrid&, int32_t)> out) {
  return [out](RefGrid& g, int32_t p) {
    if (p == 0) return;
    out(g, 100 - p);
    g.Complement();
  };
}
RefFade Opaque(std::function<void(RefGrid&, int32_t, uint8_t)> shape) {
  return [shape](RefGrid& g, int32_t p) { shape(g, p, 255); };
}
RefFade Faded(std::function<void(RefGrid&, int32_t, uint8_t)> shape) {
  return [shape](RefGrid& g, int32_t p) { shape(g, p, V(p)); };
}

struct FadeCase {
  const char* Name;
  TgxFadeProc Proc;
  RefFade Ref;
};

std::vector<FadeCase> FadeCases() {
  return {
      {"SmoothDiagonal", EffectSmoothDiagonal,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t n = RefMulDiv(p, RefRound(2.5 * E(g.W, g.H)), 100);
         for (int32_t k = 0; k <= n; ++k) g.Line(0, Vy(k, g.W, g.H), Hx(k, g.W, g.H), 0, Soft(k, n, p));
       }},
      {"SmoothDiagonalIn", EffectSmoothDiagonalIn,
       [](RefGrid& g, int32_t p) {
         if (p) SmoothDiagonalFronts(g, p, false);
       }},
      {"SmoothDiagonalOut", EffectSmoothDiagonalOut,
       [](RefGrid& g, int32_t p) {
         if (p) SmoothDiagonalFronts(g, p, true);
       }},
      {"SmoothDown", EffectSmoothDown,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t n = RefMulDiv(RefRound(1.5 * g.H), p, 100);
         for (int32_t k = 0; k <= n; ++k) g.Line(0, k, g.W - 1, k, Soft(k, n, p));
       }},
      {"SmoothIn", EffectSmoothIn,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t n = RefMulDiv(RefRound(0.8 * g.H), p, 100);
         for (int32_t k = 0; k <= n && k <= g.H / 2; ++k) {
           g.Line(0, g.H - 1 - k, g.W - 1, g.H - 1 - k, Soft(k, n, p));
           g.Line(0, k, g.W - 1, k, Soft(k, n, p));
         }
       }},
      {"SmoothOut", EffectSmoothOut,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t n = RefMulDiv(RefRound(0.8 * g.H), p, 100), cy = g.H / 2;
         for (int32_t k = 0; k <= n && k <= g.H / 2; ++k) {
           g.Line(0, cy - k, g.W - 1, cy - k, Soft(k, n, p));
           g.Line(0, cy + k, g.W - 1, cy + k, Soft(k, n, p));
         }
       }},
      {"SmoothCrossOut", EffectSmoothCrossOut, SmoothCrossOut},
      {"SmoothCrossIn", EffectSmoothCrossIn, ComplementedIn(SmoothCrossOut)},
      {"SmoothRectIn", EffectSmoothRectIn, ComplementedIn(SmoothRectOut)},
      {"SmoothRectOut", EffectSmoothRectOut, SmoothRectOut},
      {"SlideDiagonal", EffectSlideDiagonal, Opaque(FadeDiagonal)},
      {"SlideDiagonalIn", EffectSlideDiagonalIn, Opaque(FadeDiagonalIn)},
      {"SlideDiagonalOut", EffectSlideDiagonalOut, Opaque(FadeDiagonalOut)},
      {"SlideDown", EffectSlideDown, Opaque(FadeDown)},
      {"SlideIn", EffectSlideIn, Opaque(FadeIn)},
      {"SlideOut", EffectSlideOut, Opaque(FadeOut)},
      {"SlideCrossOut", EffectSlideCrossOut, Opaque(FadeCrossOut)},
      {"SlideCrossIn", EffectSlideCrossIn, SwappedIn(FadeCrossOut, true)},
      {"SlideRectOut", EffectSlideRectOut, Opaque(FadeRectOut)},
      {"SlideRectIn", EffectSlideRectIn, SwappedIn(FadeRectOut, true)},
      {"Fade", EffectFade,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         for (uint8_t& c : g.Cells) c = uint8_t(RefRound(p / 100.0 * 255));
       }},
      {"FadeDiagonal", EffectFadeDiagonal, Faded(FadeDiagonal)},
      {"FadeDiagonalIn", EffectFadeDiagonalIn, Faded(FadeDiagonalIn)},
      {"FadeDiagonalOut", EffectFadeDiagonalOut, Faded(FadeDiagonalOut)},
      {"FadeDown", EffectFadeDown, Faded(FadeDown)},
      {"FadeIn", EffectFadeIn, Faded(FadeIn)},
      {"FadeOut", EffectFadeOut, Faded(FadeOut)},
      {"FadeCrossOut", EffectFadeCrossOut, Faded(FadeCrossOut)},
      {"FadeCrossIn", EffectFadeCrossIn, SwappedIn(FadeCrossOut, false)},
      {"FadeRectOut", EffectFadeRectOut, Faded(FadeRectOut)},
      {"FadeRectIn", EffectFadeRectIn, SwappedIn(FadeRectOut, false)},
      {"Pixel", EffectPixel,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t N = g.W * g.H;
         const auto chosen = Chosen(g.W, g.H, RefRound(p / 100.0 * N));
         for (int32_t i = 0; i < N; ++i)
           if (chosen[size_t(i)]) g.Cells[size_t(i)] = 255;
       }},
      {"Pixel fade", EffectPixelFade,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t N = g.W * g.H;
         const auto chosen = Chosen(g.W, g.H, RefRound(N * p / 100.0));
         for (int32_t i = 0; i < N; ++i)
           if (chosen[size_t(i)]) g.Cells[size_t(i)] = uint8_t(RefRound(p / 100.0 * 255));
       }},
      {"Pixel line", EffectPixelLine,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t W = g.W, N = W * g.H;
         const auto chosen = Chosen(W, g.H, RefRound(N * p / 100.0));
         const int32_t e = RefRound(p / 100.0 * (2 * W - 1));
         for (int32_t i = 0; i <= e && i < W; ++i)
           for (int32_t j = 0; j < g.H; ++j)
             if (chosen[size_t(i + j * W)])
               g.At(i, j) = uint8_t(
                   std::min(255, RefRound(std::max(0, RefRound(2.0 * p - i * W * 0.1 / p)) / 100.0 * 255)));
       }},
      {"CircleSlideOut", EffectCircleSlideOut, Opaque(CircleSlideOut)},
      {"CircleFadeOut", EffectCircleFadeOut, Faded(CircleSlideOut)},
      {"CircleSmoothOut", EffectCircleSmoothOut, CircleSmoothOut},
      {"CircleSlideIn", EffectCircleSlideIn, Opaque(CircleSlideIn)},
      {"CircleFadeIn", EffectCircleFadeIn, Faded(CircleSlideIn)},
      {"CircleSmoothIn", EffectCircleSmoothIn, ComplementedIn(CircleSmoothOut)},
      {"CircleSlide", EffectCircleSlide, Opaque(CircleSlide)},
      {"CircleFade", EffectCircleFade, Faded(CircleSlide)},
      {"CircleSmooth", EffectCircleSmooth,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t n = RefMulDiv(RefRound(1.5 * E(g.W, g.H)), p, 100);
         for (int32_t k = 0; k <= n; ++k) g.Ring(0, g.H - 1, k, Soft(k, n, p));
       }},
      {"DiamondSlideIn", EffectDiamondSlideIn, SwappedIn(DiamondOut, true)},
      {"DiamondFadeIn", EffectDiamondFadeIn, SwappedIn(DiamondOut, false)},
      {"DiamondSmoothIn", EffectDiamondSmoothIn, ComplementedIn(DiamondSmoothOut)},
      {"DiamondSlideOut", EffectDiamondSlideOut, Opaque(DiamondOut)},
      {"DiamondFadeOut", EffectDiamondFadeOut, Faded(DiamondOut)},
      {"DiamondSmoothOut", EffectDiamondSmoothOut, DiamondSmoothOut},
      {"RotateSlide", EffectRotateSlide, Opaque(RotateHand)},
      {"RotateFade", EffectRotateFade, Faded(RotateHand)},
      {"RotateSmooth", EffectRotateSmooth,
       [](RefGrid& g, int32_t p) {
         if (p == 0) return;
         const int32_t W = g.W, H = g.H, n = RefMulDiv(2 * (W + H), p, 100);
         for (int32_t i = 0; i <= n; ++i) {
           if (i < H)
             g.Line(0, H - 1, W - 1, H - i, Soft(i, n, p));
           else
             g.Line(0, H - 1, W + H - i, 0, Soft(i, n, p));
         }
       }},
      {"Stream", EffectStream,
       [](RefGrid& g, int32_t p) {
         const int32_t W = g.W, H = g.H;
         RefRandom r{uint32_t(W) * uint32_t(H)};
         std::vector<int32_t> bottom(static_cast<size_t>(W)), head(static_cast<size_t>(W));
         for (int32_t i = 0; i < W; ++i) {
           bottom[size_t(i)] = H - 1;
           head[size_t(i)] = -r.Next(80);
         }
         for (int32_t j = 1; j <= 8; ++j)
           if (W - j - 1 >= j)
             for (int32_t k = j; k <= W - 1 - j; ++k)
               head[size_t(k)] = (head[size_t(k - 1)] + 2 * head[size_t(k)] + head[size_t(k + 1)]) / 4;
         const int32_t iterations = RefMulDiv(H + 79, p, 100) + 1;
         for (int32_t n = 0; n < iterations; ++n)
           for (int32_t i = 0; i < W; ++i) {
             if (bottom[size_t(i)] < head[size_t(i)]) {
               head[size_t(i)] = 0;
               bottom[size_t(i)] -= 1;
             } else {
               if (head[size_t(i)] >= 0) g.Set(i, head[size_t(i)], 255);
               head[size_t(i)] += 1;
             }
           }
       }},
      {"Plasma", EffectPlasma,
       [](RefGrid& g, int32_t p) {
         int32_t tcos[512], tsin[512], palette[512];
         for (int32_t k = 0; k < 512; ++k) {
           tcos[k] = (int32_t(std::trunc(std::cos(2 * M_PI * k / 512) * 256)) + 256) & 511;
           tsin[k] = (int32_t(std::trunc(std::sin(2 * M_PI * k / 512) * 256)) + 256) & 511;
         }
         const int32_t control[13] = {255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
         const int32_t d = (12 * 65536) / 511;
         int32_t s = 0, next = 0;
         for (int32_t e = 0; e <= 510; ++e, s += d) {
           const int32_t i = s >> 16, current = control[i];
           next = i == 12 ? control[12] : control[i + 1];
           const int32_t w1 = 65536 - (s & 65535), w2 = s & 65535;
           palette[e] = w1 < d - w1 ? next : d - w2 > w2 ? current : (current * w1 + next * w2) >> 16;
         }
         palette[511] = next;
         for (int32_t y = 0; y < g.H; ++y)
           for (int32_t x = 0; x < g.W; ++x)
             g.At(x, y) = uint8_t(std::clamp(
                 RefMulDiv(2 * p, 255, 100) - palette[(tsin[(x + tsin[y & 511]) & 511] + tcos[y & 511]) & 511], 0,
                 255));
       }},
  };
}

std::string Picture(const std::vector<uint8_t>& cells, int32_t W, int32_t H) {
  std::ostringstream s;
  for (int32_t y = 0; y < H; ++y) {
    for (int32_t x = 0; x < W; ++x) s << (x ? " " : "") << int(cells[size_t(x + y * W)]);
    s << "\n";
  }
  return s.str();
}

const std::vector<std::pair<int32_t, int32_t>>& Grids() {
  static const std::vector<std::pair<int32_t, int32_t>> grids = {{1, 1}, {2, 3},  {5, 4},  {7, 7},
                                                                  {10, 6}, {6, 10}, {13, 8}, {3, 17},
                                                                  {40, 25}, {64, 3}, {1, 30}, {30, 1}};
  return grids;
}

class FadeMaskReference : public ::testing::TestWithParam<FadeCase> {};

TEST_P(FadeMaskReference, EveryCellFollowsTheRuleAtEveryPercentage) {
  const FadeCase& c = GetParam();
  for (const auto& [W, H] : Grids()) {
    for (int32_t p = 0; p <= 100; ++p) {
      RefGrid expected(W, H);
      c.Ref(expected, p);
      std::vector<uint8_t> actual(size_t(W) * H, 0);
      c.Proc(actual.data(), W, H, uint8_t(p));
      if (actual != expected.Cells) {
        ADD_FAILURE() << c.Name << " on " << W << " x " << H << " at p = " << p << "\nexpected:\n"
                      << Picture(expected.Cells, W, H) << "actual:\n"
                      << Picture(actual, W, H);
        return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, FadeMaskReference, ::testing::ValuesIn(FadeCases()),
                         [](const ::testing::TestParamInfo<FadeCase>& info) {
                           std::string name = info.param.Name;
                           std::erase(name, ' ');
                           return name;
                         });

}  // namespace
