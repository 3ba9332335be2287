// The smooth effects: fronts whose newest step is nearly transparent and whose trail rises
// to full opacity (soft value of step k out of n).
#include <algorithm>
#include <cmath>

#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"

namespace {

double Diagonal(int32_t W, int32_t H) { return std::sqrt(double(W) * W + double(H) * H); }

// Both corner fronts of SmoothDiagonalIn (towards the centre) and SmoothDiagonalOut (away
// from the bottom-left to top-right diagonal). hx and vy run as real sums, not as products.
void SmoothDiagonalFronts(TgxMask& M, int32_t p, bool Outwards) {
  const int32_t W = M.W, H = M.H;
  const int32_t q = MulDiv(Round(Diagonal(W, H)), p, 100);
  const int32_t longest = std::max(W, H);
  const double stepX = W < H ? double(W) / H : 1.0;
  const double stepY = W < H ? 1.0 : double(H) / W;
  const double step = q != 0 ? 2.0 * p / q : 2.0 * p;
  double hx = 0, vy = 0;
  for (int32_t k = 0; k <= 2 * q && k < longest; ++k) {
    const int32_t s = Round(2.0 * p - k * step / 2);
    int32_t v = std::max(MulDiv(s, 255, 100), 0);
    if (p == 100 || v >= 256) v = 255;
    const int32_t x = Round(hx), y = Round(vy);
    if (Outwards) {
      M.Line(0, H - 1 - y, W - x, 0, uint8_t(v));
      M.Line(x, H - 1, W - 1, y, uint8_t(v));
    } else {
      M.Line(0, H - 1 - y, x, H - 1, uint8_t(v));
      M.Line(W - x, 0, W - 1, y, uint8_t(v));
    }
    hx += stepX;
    vy += stepY;
  }
}

// The outline of a plus sign l wide and m high around the centre.
void CrossOutline(TgxMask& M, int32_t l, int32_t m, uint8_t v) {
  const int32_t cx = M.W / 2, cy = M.H / 2;
  const int32_t corners[12][2] = {
      {cx - l / 2, cy + m},     {cx - l / 2, cy + m / 2}, {cx - l, cy + m / 2},     {cx - l, cy - m / 2},
      {cx - l / 2, cy - m / 2}, {cx - l / 2, cy - m},     {cx + l / 2, cy - m},     {cx + l / 2, cy - m / 2},
      {cx + l, cy - m / 2},     {cx + l, cy + m / 2},     {cx + l / 2, cy + m / 2}, {cx + l / 2, cy + m}};
  for (int i = 0; i < 12; ++i) {
    const int32_t* a = corners[i];
    const int32_t* b = corners[(i + 1) % 12];
    M.Line(a[0], a[1], b[0], b[1], v);
  }
}

void RectOutline(TgxMask& M, int32_t l, int32_t m, uint8_t v) {
  const int32_t cx = M.W / 2, cy = M.H / 2;
  M.Line(cx - l, cy + m, cx - l, cy - m, v);
  M.Line(cx - l, cy - m, cx + l, cy - m, v);
  M.Line(cx + l, cy - m, cx + l, cy + m, v);
  M.Line(cx + l, cy + m, cx - l, cy + m, v);
}

void SmoothCross(TgxMask& M, int32_t p) {
  const TgxDiagonal d(M.W, M.H);
  const int32_t n = MulDiv(p, Round(2.5 * std::max(M.W, M.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) CrossOutline(M, d.Hx(k), d.Vy(k), gxSoftValue(k, n, p));
}

void SmoothRect(TgxMask& M, int32_t p) {
  const TgxDiagonal d(M.W, M.H);
  const int32_t n = MulDiv(p, Round(1.6 * std::max(M.W, M.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) RectOutline(M, d.Hx(k), d.Vy(k), gxSoftValue(k, n, p));
}

// Rows k and its mirror, from the edges (In) or from the middle row (Out).
void SmoothRows(TgxMask& M, int32_t p, bool FromMiddle) {
  const int32_t H = M.H;
  const int32_t n = MulDiv(Round(0.8 * H), p, 100);
  for (int32_t k = 0; k <= n && k <= H / 2; ++k) {
    const uint8_t v = gxSoftValue(k, n, p);
    if (FromMiddle) {
      M.Row(H / 2 - k, v);
      M.Row(H / 2 + k, v);
    } else {
      M.Row(H - 1 - k, v);
      M.Row(k, v);
    }
  }
}

}  // namespace

void EffectSmoothDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  const TgxDiagonal d(W, H);
  const int32_t n = MulDiv(p, Round(2.5 * Diagonal(W, H)), 100);
  for (int32_t k = 0; k <= n; ++k) M.Line(0, d.Vy(k), d.Hx(k), 0, gxSoftValue(k, n, p));
}

void EffectSmoothDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothDiagonalFronts(M, p, false);
}

void EffectSmoothDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothDiagonalFronts(M, p, true);
}

void EffectSmoothDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  const int32_t n = MulDiv(Round(1.5 * H), p, 100);
  // Rows below the grid are clipped away; their values do not depend on them.
  for (int32_t k = 0; k <= n && k < H; ++k) M.Row(k, gxSoftValue(k, n, p));
}

void EffectSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothRows(M, p, false);
}

void EffectSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothRows(M, p, true);
}

void EffectSmoothCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothCross(M, p);
}

void EffectSmoothCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  if (p < 100) SmoothCross(M, 100 - p);
  M.Complement();
}

void EffectSmoothRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  if (p < 100) SmoothRect(M, 100 - p);
  M.Complement();
}

void EffectSmoothRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  SmoothRect(M, p);
}
