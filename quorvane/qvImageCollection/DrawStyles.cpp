#include "qvImageCollection/DrawStyles.h"

#include <algorithm>
#include <cstdint>

namespace {

// The start that centres a length c in the span of length a starting at b.
int Center(int a, int b, int c) { return a / 2 + b - c / 2; }

}  // namespace

int ImageTileStep(int Size, int Offset) {
  // In 64 bits, as a stored gap may be any Integer. A step past every rectangle leaves one
  // tile whatever its size, so it is capped where placing by it cannot overflow.
  constexpr int64_t kStepLimit = int64_t(1) << 29;
  const int64_t step = int64_t(Size) + Offset;
  return step == 0 ? Size : int(std::min(step, kStepLimit));
}

void EnumImagePlacements(TqvImageDrawStyle Style, const TRect& R, int W, int H, int TileOffsetX, int TileOffsetY,
                         const std::function<void(const TqvImagePlacement&)>& Place) {
  if (W <= 0 || H <= 0) return;
  const int sx = ImageTileStep(W, TileOffsetX), sy = ImageTileStep(H, TileOffsetY);
  const int nx = R.Width() / sx, ny = R.Height() / sy;
  auto put = [&](int x, int y) { Place({Bounds(x, y, W, H), false}); };
  auto stretch = [&](const TRect& S) { Place({S, true}); };
  const int cx = Center(R.Width(), R.Left, W), cy = Center(R.Height(), R.Top, H);
  switch (Style) {
    case idsTile:
      for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j) put(R.Left + i * sx, R.Top + j * sy);
      break;
    case idsStretch:
      stretch(R);
      break;
    case idsCenter:
      put(cx, cy);
      break;
    case idsTopLeft:
      put(R.Left, R.Top);
      break;
    case idsTopRight:
      put(R.Right - W, R.Top);
      break;
    case idsBottomLeft:
      put(R.Left, R.Bottom - H);
      break;
    case idsBottomRight:
      put(R.Right - W, R.Bottom - H);
      break;
    case idsTopTile:
      for (int i = 0; i <= nx; ++i) put(R.Left + i * sx, R.Top);
      break;
    case idsLeftTile:
      for (int j = 0; j <= ny; ++j) put(R.Left, R.Top + j * sy);
      break;
    case idsRightTile:
      for (int j = 0; j <= ny; ++j) put(R.Right - W, R.Top + j * sy);
      break;
    case idsBottomTile:
      for (int i = 0; i <= nx; ++i) put(R.Left + i * sx, R.Bottom - H);
      break;
    case idsTopStretch:
      stretch(Rect(R.Left, R.Top, R.Right, R.Top + H));
      break;
    case idsLeftStretch:
      stretch(Rect(R.Left, R.Top, R.Left + W, R.Bottom));
      break;
    case idsRightStretch:
      stretch(Rect(R.Right - W, R.Top, R.Right, R.Bottom));
      break;
    case idsBottomStretch:
      stretch(Rect(R.Left, R.Bottom - H, R.Right, R.Bottom));
      break;
    case idsHorzStretchTile:
      for (int i = 0; i <= nx; ++i) stretch(Rect(R.Left + i * sx, R.Top, R.Left + i * sx + W, R.Bottom));
      break;
    case idsVertStretchTile:
      for (int j = 0; j <= ny; ++j) stretch(Rect(R.Left, R.Top + j * sy, R.Right, R.Top + j * sy + H));
      break;
    case idsHorzCenterStretch:
      stretch(Rect(R.Left, cy, R.Right, cy + H));
      break;
    case idsVertCenterStretch:
      stretch(Rect(cx, R.Top, cx + W, R.Bottom));
      break;
    case idsLeftCenter:
      put(R.Left, cy);
      break;
    case idsTopCenter:
      put(cx, R.Top);
      break;
    case idsRightCenter:
      put(R.Right - W, cy);
      break;
    case idsBottomCenter:
      put(cx, R.Bottom - H);
      break;
  }
}
