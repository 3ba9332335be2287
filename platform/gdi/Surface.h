// A block of 32-bit pixels (bytes blue, green, red, alpha) that bitmaps and windows draw on.
#pragma once

#include <cstdint>
#include <memory>

#include "Types.h"

class Surface {
 public:
  // Pixels start zeroed. A bottom-up surface keeps its rows in memory from the last to
  // the first, as a DIB with a positive height does; Row() hides the difference.
  // HasAlpha is false for surfaces whose alpha byte means nothing (screen-compatible
  // bitmaps): copying from them writes opaque pixels.
  Surface(int width, int height, bool bottomUp = false, bool hasAlpha = true);
  // Wraps memory owned by someone else (rows top-down, Stride bytes apart).
  Surface(int width, int height, uint8_t* memory, int stride, bool hasAlpha = true);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Stride() const { return FStride; }
  bool BottomUp() const { return FBottomUp; }
  bool HasAlpha() const { return FHasAlpha; }
  RECT Bounds() const { return {0, 0, FWidth, FHeight}; }
  size_t ByteSize() const { return size_t(FStride) * size_t(FHeight); }

  // Memory in the order of the DIB that owns it.
  uint8_t* Bits() { return FMemory; }
  const uint8_t* Bits() const { return FMemory; }

  uint32_t* Row(int y) { return reinterpret_cast<uint32_t*>(FMemory + size_t(MemoryRow(y)) * size_t(FStride)); }
  const uint32_t* Row(int y) const {
    return reinterpret_cast<const uint32_t*>(FMemory + size_t(MemoryRow(y)) * size_t(FStride));
  }
  uint32_t& At(int x, int y) { return Row(y)[x]; }
  uint32_t At(int x, int y) const { return Row(y)[x]; }

  void Fill(uint32_t pixel);

 private:
  int MemoryRow(int y) const { return FBottomUp ? FHeight - 1 - y : y; }

  int FWidth;
  int FHeight;
  int FStride;
  bool FBottomUp;
  bool FHasAlpha;
  std::unique_ptr<uint32_t[]> FOwned;
  uint8_t* FMemory;
};
