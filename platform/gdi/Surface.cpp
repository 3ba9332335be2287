#include "Surface.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace {
int CheckedDimension(int v) {
  if (v < 0) throw std::invalid_argument("Surface: negative size");
  return v;
}
}  // namespace

Surface::Surface(int width, int height, bool bottomUp, bool hasAlpha)
    : FWidth(CheckedDimension(width)),
      FHeight(CheckedDimension(height)),
      FStride(width * 4),
      FBottomUp(bottomUp),
      FHasAlpha(hasAlpha) {
  const size_t count = size_t(width) * size_t(height);
  // An empty surface still owns one word so Bits() is never null.
  FOwned.reset(new uint32_t[std::max<size_t>(count, 1)]());
  FMemory = reinterpret_cast<uint8_t*>(FOwned.get());
}

Surface::Surface(int width, int height, uint8_t* memory, int stride, bool hasAlpha)
    : FWidth(CheckedDimension(width)),
      FHeight(CheckedDimension(height)),
      FStride(stride),
      FBottomUp(false),
      FHasAlpha(hasAlpha),
      FMemory(memory) {
  if (stride < width * 4 || memory == nullptr) throw std::invalid_argument("Surface: bad external memory");
}

void Surface::Fill(uint32_t pixel) {
  for (int y = 0; y < FHeight; ++y) std::fill_n(Row(y), FWidth, pixel);
}
