// Hard-edged fronts. Each shape is drawn once with a value: the Fade variants use the
// percentage's opacity V = MulDiv(p, 255, 100), the Slide variants full opacity.
#include <algorithm>

#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"

namespace {

uint8_t FadeValue(int32_t p) { return uint8_t(MulDiv(p, 255, 100)); }

// The shapes, for 0 < p <= 100.

void Diagonal(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t a = MulDiv(M.W - 1, p, 100), b = MulDiv(M.H - 1, p, 100);
  const int32_t m = std::max(a, b);
  for (int32_t k = 0; k <= 2 * m; ++k) M.Line(0, std::min(k, 2 * b), std::min(k, 2 * a), 0, v);
}

// The corner reach of the two diagonal shapes that start at a corner pair.
void DiagonalReach(const TgxMask& M, int32_t p, int32_t& a, int32_t& b) {
  a = Round(p / 100.0 * (M.W - 1));
  b = Round(p / 100.0 * (M.H - 1));
}

void DiagonalIn(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t W = M.W, H = M.H;
  int32_t a, b;
  DiagonalReach(M, p, a, b);
  const int32_t m = std::max(a, b);
  for (int32_t k = 0; k <= m; ++k) {
    M.Line(0, H - 1 - std::min(k, b), std::min(k, a), H - 1, v);
    M.Line(W - 1 - std::min(k, a), 0, W - 1, std::min(k, b), v);
  }
}

// The second line ends on column W, one past the grid: that is how the band looks.
void DiagonalOut(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t W = M.W, H = M.H;
  int32_t a, b;
  DiagonalReach(M, p, a, b);
  if (b < a) {
    for (int32_t k = 0; k <= a; ++k) {
      M.Line(0, std::min(k, b), W - 1 - k, H - 1, v);
      M.Line(k, 0, W, H - std::min(k, b), v);
    }
  } else {
    for (int32_t k = 0; k <= b; ++k) {
      M.Line(std::min(k, a), 0, W - 1, H - 1 - k, v);
      M.Line(0, k, W - 1 - std::min(k, a), H - 1, v);
    }
  }
}

void Down(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t last = MulDiv(p, M.H - 1, 100);
  for (int32_t y = 0; y <= last; ++y) M.Row(y, v);
}

void In(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t H = M.H;
  const int32_t t = MulDiv(p, H / 2, 100);
  for (int32_t k = 0; k <= t; ++k) {
    M.Row(H - 1 - k, v);
    M.Row(k, v);
  }
}

void Out(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t H = M.H;
  const int32_t t = MulDiv(p, H / 2, 100);
  for (int32_t k = 0; k <= t; ++k) {
    M.Row(H / 2 - k, v);
    M.Row(H / 2 + k, v);
  }
}

// A filled plus sign: a vertical bar a div 4 columns to each side of the centre, 2b + 1
// rows high, and a horizontal bar b div 4 rows to each side, 2a + 1 columns wide.
void CrossOut(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t cx = M.W / 2, cy = M.H / 2;
  const int32_t a = MulDiv(p, 2 * M.W, 100), b = MulDiv(p, 2 * M.H, 100);
  for (int32_t e = -(a / 4); e <= a / 4; ++e) M.Column(cx + e, cy - b, cy + b, v);
  for (int32_t e = -(b / 4); e <= b / 4; ++e) M.Span(cy + e, cx - a, cx + a, v);
}

// Concentric rectangle outlines: the rectangle is filled.
void RectOut(TgxMask& M, int32_t p, uint8_t v) {
  const int32_t cx = M.W / 2, cy = M.H / 2;
  const TgxDiagonal d(M.W, M.H);
  const int32_t n = MulDiv(p, std::max(M.W, M.H), 100) / 2;
  for (int32_t k = 0; k <= n; ++k) {
    const int32_t l = d.Hx(k), m = d.Vy(k);
    M.Line(cx - l, cy + m, cx - l, cy - m, v);
    M.Line(cx - l, cy - m, cx + l, cy - m, v);
    M.Line(cx + l, cy - m, cx + l, cy + m, v);
    M.Line(cx + l, cy + m, cx - l, cy + m, v);
  }
}

using Shape = void (*)(TgxMask&, int32_t, uint8_t);

// An Out shape at p with the value of its variant.
void DrawOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent, Shape Draw, bool Opaque) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  Draw(M, p, Opaque ? 255 : FadeValue(p));
}

// The In variant: the Out shape at 100 - p, every drawn cell cleared and every other cell
// set to the variant's value.
void DrawSwappedIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent, Shape Draw, bool Opaque) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  if (p < 100) Draw(M, 100 - p, 255);
  M.Swap(Opaque ? 255 : FadeValue(p));
}

}  // namespace

void EffectSlideDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Diagonal, true); }
void EffectSlideDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, DiagonalIn, true); }
void EffectSlideDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, DiagonalOut, true); }
void EffectSlideDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Down, true); }
void EffectSlideIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, In, true); }
void EffectSlideOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Out, true); }
void EffectSlideCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, CrossOut, true); }
void EffectSlideCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawSwappedIn(Mask, W, H, Percent, CrossOut, true); }
void EffectSlideRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, RectOut, true); }
void EffectSlideRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawSwappedIn(Mask, W, H, Percent, RectOut, true); }

void EffectFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  TgxMask{Mask, W, H}.Fill(uint8_t(Round(p / 100.0 * 255)));
}

void EffectFadeDiagonal(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Diagonal, false); }
void EffectFadeDiagonalIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, DiagonalIn, false); }
void EffectFadeDiagonalOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, DiagonalOut, false); }
void EffectFadeDown(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Down, false); }
void EffectFadeIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, In, false); }
void EffectFadeOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, Out, false); }
void EffectFadeCrossOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, CrossOut, false); }
void EffectFadeCrossIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawSwappedIn(Mask, W, H, Percent, CrossOut, false); }
void EffectFadeRectOut(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawOut(Mask, W, H, Percent, RectOut, false); }
void EffectFadeRectIn(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) { DrawSwappedIn(Mask, W, H, Percent, RectOut, false); }
