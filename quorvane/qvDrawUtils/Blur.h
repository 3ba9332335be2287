// Stack Blur: a separable tent filter on the colour channels of a 32-bit bitmap.
#pragma once

#include "vcl/Graphics.h"

// The largest radius StackBlur uses; a larger one is taken as this (its weighted sums
// must stay exact in 32 bits).
constexpr int StackBlurMaxRadius = 2047;

// Blurs red, green and blue in place: along each row, then along each column of the
// result, each channel becomes
//   (sum over k = -r..r of (r + 1 - |k|) * channel at x + k) div (r + 1)^2,
// with positions beyond an edge taking the edge pixel. Every pixel's alpha becomes 255.
// Radius <= 0, a null or an empty bitmap: nothing happens. A bitmap that is not pf32bit
// is blurred all the same (its pixels are 32-bit here) and keeps its format.
void StackBlur(TBitmap* Bitmap, int Radius);

// The raw form, on Width x Height pixels 0xAARRGGBB with rows Stride pixels apart.
void StackBlurPixels(uint32_t* Pixels, int Width, int Height, int Stride, int Radius);

// Exact division of Sum by (Radius + 1)^2 for every Sum <= 255 * (Radius + 1)^2, by a
// multiply and a shift (the blur's per-pixel division). Up to StackBlurMaxRadius the
// multiplier fits 32 bits, so 32-bit vector lanes can widen to 64 for the product.
class TStackBlurDivider {
 public:
  explicit TStackBlurDivider(int Radius);
  uint32_t operator()(uint32_t Sum) const { return uint32_t((uint64_t(Sum) * FMultiplier) >> FShift); }
  uint32_t Divisor() const { return FDivisor; }
  uint64_t Multiplier() const { return FMultiplier; }
  int Shift() const { return FShift; }

 private:
  uint32_t FDivisor;
  uint64_t FMultiplier;
  int FShift;
};

// The same division in 16-bit arithmetic, for radii 1 to 15 (where every sum stays below
// 2^16): ((Sum >> PreShift()) * Multiplier()) >> (16 + Shift()), a shift, a multiply-high
// and a shift in 16-bit vector lanes. Valid() is false for any other radius.
class TStackBlurLaneDivider {
 public:
  explicit TStackBlurLaneDivider(int Radius);
  bool Valid() const { return FValid; }
  uint32_t operator()(uint32_t Sum) const { return ((Sum >> FPreShift) * FMultiplier) >> (16 + FShift); }
  int PreShift() const { return FPreShift; }
  uint16_t Multiplier() const { return FMultiplier; }
  int Shift() const { return FShift; }

 private:
  bool FValid = false;
  int FPreShift = 0;
  uint16_t FMultiplier = 0;
  int FShift = 0;
};
