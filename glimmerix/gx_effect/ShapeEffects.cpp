// Circles around the centre or the bottom-left corner, diamonds, and a hand turning around
// the bottom-left corner. Slide variants draw at full opacity, Fade variants at
// V = MulDiv(p, 255, 100), Smooth variants with the soft value of each step.
#include <algorithm>
#include <cmath>

#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"

namespace {

double Diagonal(int32_t W, int32_t H) { return std::sqrt(double(W) * W + double(H) * H); }

uint8_t FadeValue(int32_t p) { return uint8_t(MulDiv(p, 255, 100)); }

// ---- circles ----

// Rings of radius 0 .. q div 2 around the centre. Drawn at p = 0 too.
void CircleOut(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t q = MulDiv(Round(Diagonal(M.W, M.H)), p, 100);
  for (int32_t r = 0; r <= q / 2; ++r) M.Ring(M.W / 2, M.H / 2, r, v);
}

// An annulus from the circle of radius D div 2 inwards. Drawn at p = 0 too.
void CircleIn(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t D = Round(Diagonal(M.W, M.H));
  const int32_t q = MulDiv(D, p, 100), f = D / 2;
  for (int32_t t = q / 2; t >= 0; --t) M.Ring(M.W / 2, M.H / 2, f - t, v);
}

void CircleSmoothOut(TgxMask& M, int32_t p) {
  const int32_t n = MulDiv(Round(0.9 * Diagonal(M.W, M.H)), p, 100);
  for (int32_t k = 0; k <= n; ++k) M.Ring(M.W / 2, M.H / 2, k, gxSoftValue(k, n, p));
}

// Rings of radius 0 .. q around the bottom-left corner. Drawn at p = 0 too.
void CircleCorner(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t q = MulDiv(Round(Diagonal(M.W, M.H)), p, 100);
  for (int32_t r = 0; r <= q; ++r) M.Ring(0, M.H - 1, r, v);
}

// ---- diamonds ----

void DiamondOutline(TgxMask& M, int32_t e, int32_t f, uint8_t v) {
  const int32_t cx = M.W / 2, cy = M.H / 2;
  M.Line(cx, cy + f, cx - e, cy, v);
  M.Line(cx - e, cy, cx, cy - f, v);
  M.Line(cx, cy - f, cx + e, cy, v);
  M.Line(cx + e, cy, cx, cy + f, v);
}

void DiamondOut(TgxMask& M, int32_t p, uint8_t v) {
  const TgxDiagonal d(M.W, M.H);
  const int32_t n = MulDiv(p, std::max(M.W, M.H), 100);
  for (int32_t k = 0; k <= n; ++k) DiamondOutline(M, d.Hx(k), d.Vy(k), v);
}

void DiamondSmoothOut(TgxMask& M, int32_t p) {
  const TgxDiagonal d(M.W, M.H);
  const int32_t n = MulDiv(p, Round(2.5 * std::max(M.W, M.H)), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) DiamondOutline(M, d.Hx(k), d.Vy(k), gxSoftValue(k, n, p));
}

// ---- the turning hand ----

// Lines from the bottom-left corner to the right edge, bottom to top, then along the top
// edge towards the left.
void Rotate(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t W = M.W, H = M.H;
  const int32_t e = MulDiv(W + H, p, 100);
  for (int32_t i = 0; i <= e; ++i) {
    if (i < H)
      M.Line(0, H - 1, W - 1, H - i, v);
    else
      M.Line(0, H - 1, W + i - e, 0, v);
  }
}

// ---- shared prologues ----

struct Grid {
  TgxMask M;
  int32_t p;
  bool Valid;
};

Grid Prepare(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  return {{Mask, W, H}, gxPercent(Percent), gxGridValid(W, H)};
}

}  // namespace

void EffectCircleSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleOut(g.M, g.p, 255);
}

void EffectCircleFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleOut(g.M, g.p, FadeValue(g.p));
}

void EffectCircleSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) CircleSmoothOut(g.M, g.p);
}

void EffectCircleSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleIn(g.M, g.p, 255);
}

void EffectCircleFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleIn(g.M, g.p, FadeValue(g.p));
}

void EffectCircleSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  if (g.p < 100) CircleSmoothOut(g.M, 100 - g.p);
  g.M.Complement();
}

void EffectCircleSlide(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleCorner(g.M, g.p, 255);
}

void EffectCircleFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid) CircleCorner(g.M, g.p, FadeValue(g.p));
}

void EffectCircleSmooth(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  const int32_t n = MulDiv(Round(1.5 * Diagonal(W, H)), g.p, 100);
  for (int32_t k = 0; k <= n; ++k) g.M.Ring(0, H - 1, k, gxSoftValue(k, n, g.p));
}

void EffectDiamondSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  if (g.p < 100) DiamondOut(g.M, 100 - g.p, 255);
  g.M.Swap(255);
}

void EffectDiamondFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  if (g.p < 100) DiamondOut(g.M, 100 - g.p, 255);
  g.M.Swap(FadeValue(g.p));
}

void EffectDiamondSmoothIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  if (g.p < 100) DiamondSmoothOut(g.M, 100 - g.p);
  g.M.Complement();
}

void EffectDiamondSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) DiamondOut(g.M, g.p, 255);
}

void EffectDiamondFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) DiamondOut(g.M, g.p, FadeValue(g.p));
}

void EffectDiamondSmoothOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) DiamondSmoothOut(g.M, g.p);
}

void EffectRotateSlide(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) Rotate(g.M, g.p, 255);
}

void EffectRotateFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (g.Valid && g.p > 0) Rotate(g.M, g.p, FadeValue(g.p));
}

void EffectRotateSmooth(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  Grid g = Prepare(Mask, W, H, Percent);
  if (!g.Valid || g.p == 0) return;
  const int32_t n = MulDiv(2 * (W + H), g.p, 100);
  for (int32_t i = 0; i <= n; ++i) {
    const uint8_t v = gxSoftValue(i, n, g.p);
    if (i < H)
      g.M.Line(0, H - 1, W - 1, H - i, v);
    else
      g.M.Line(0, H - 1, W + H - i, 0, v);
  }
}
