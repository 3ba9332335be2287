// Effects that move the new image's cells into place: every record names the cell of the
// new image whose pixels the cell shows. Sources outside the grid are the engine's to skip.
#include <algorithm>

#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"

namespace {

int16_t Coordinate(int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

TgxDisplacement Opaque(int32_t SourceX, int32_t SourceY) {
  return {255, 0, Coordinate(SourceX), Coordinate(SourceY)};
}

}  // namespace

void EffectInterlace(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  // Odd rows come in from the left, even rows from the right.
  const int32_t o = MulDiv(100 - p, W, 100);
  for (int32_t j = 0; j < H; ++j) {
    TgxDisplacement* row = Records + int64_t(j) * W;
    const int32_t shift = j % 2 != 0 ? -o : o;
    for (int32_t i = 0; i < W; ++i) row[i] = Opaque(i + shift, j);
  }
}

void EffectCorner(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  // The bottom-right a x b cells of the new image show in the top-left corner.
  const int32_t a = MulDiv(W - 1, p, 100), b = MulDiv(H - 1, p, 100);
  for (int32_t j = 0; j <= b; ++j) {
    TgxDisplacement* row = Records + int64_t(j) * W;
    for (int32_t i = 0; i <= a; ++i) row[i] = Opaque(W - 1 - a + i, H - 1 - b + j);
  }
}
