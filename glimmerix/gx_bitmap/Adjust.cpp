// TgxBitmap: flipping, reflections and colour changes in hue, saturation and lightness.
#include <algorithm>
#include <utility>
#include <vector>

#include "gx_bitmap/Bitmap.h"

void TgxBitmap::FlipVert() {
  if (Empty()) return;
  std::vector<TgxColor> line(static_cast<size_t>(FWidth));
  for (int32_t top = 0, bottom = FHeight - 1; top < bottom; ++top, --bottom) {
    std::copy_n(GetScanLine(top), FWidth, line.data());
    std::copy_n(GetScanLine(bottom), FWidth, GetScanLine(top));
    std::copy_n(line.data(), FWidth, GetScanLine(bottom));
  }
}

void TgxBitmap::FadeReflection(int32_t Divisor) {
  FlipVert();
  if (Empty()) return;
  double f = 1.0;
  for (int32_t y = 0; y < FHeight; ++y) {
    TgxColor* p = GetScanLine(y);
    for (int32_t x = 0; x < FWidth; ++x) {
      const TgxColor a = p[x] >> 24;
      if (a == 0) continue;
      const int32_t faded = std::max(0, Round(f * double(a)) / Divisor);
      p[x] = (p[x] & gxColorMask) | (TgxColor(faded) << 24);
    }
    f -= 2.0 / double(FHeight);
  }
}

void TgxBitmap::Reflection() { FadeReflection(3); }
void TgxBitmap::Reflection2() { FadeReflection(4); }
void TgxBitmap::Reflection3() { FadeReflection(2); }

void TgxBitmap::ChangeBitmapBrightness(int32_t DeltaBrightness) {
  if (DeltaBrightness == 0 || Empty()) return;
  const size_t n = size_t(FWidth) * size_t(FHeight);
  auto shift = [&](TgxColor c) { return TgxColor(std::clamp(int32_t(c) + DeltaBrightness, 0, 255)); };
  for (size_t i = 0; i < n; ++i) {
    const TgxColor p = FBits[i];
    if ((p >> 24) == 0) continue;
    FBits[i] = (p & gxAlphaMask) | (shift((p >> 16) & 0xFF) << 16) | (shift((p >> 8) & 0xFF) << 8) | shift(p & 0xFF);
  }
}

namespace {

struct Hsl {
  double H = 0, S = 0, L = 0;
};

Hsl ToHsl(TgxColor p) {
  const double r = double((p >> 16) & 0xFF) / 255.0, g = double((p >> 8) & 0xFF) / 255.0,
               b = double(p & 0xFF) / 255.0;
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  Hsl c;
  c.L = (mx + mn) / 2.0;
  if (mx == mn) return c;
  const double delta = mx - mn;
  c.S = c.L < 0.5 ? delta / (mx + mn) : delta / (2.0 - mx - mn);
  if (mx == r)
    c.H = (g - b) / delta;
  else if (mx == g)
    c.H = 2.0 + (b - r) / delta;
  else
    c.H = 4.0 + (r - g) / delta;
  c.H /= 6.0;
  if (c.H < 0.0) c.H += 1.0;
  return c;
}

double HueChannel(double p, double q, double t) {
  if (t < 0.0) t += 1.0;
  if (t > 1.0) t -= 1.0;
  if (t < 1.0 / 6.0) return p + (q - p) * 6.0 * t;
  if (t < 0.5) return q;
  if (t < 2.0 / 3.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
  return p;
}

TgxColor Channel(double v) { return TgxColor(std::clamp(Round(v * 255.0), 0, 255)); }

// The colour of c with the alpha byte of Alpha.
TgxColor FromHsl(const Hsl& c, TgxColor Alpha) {
  if (c.S == 0.0) {
    const TgxColor grey = Channel(c.L);
    return (Alpha & gxAlphaMask) | (grey << 16) | (grey << 8) | grey;
  }
  const double q = c.L <= 0.5 ? c.L * (1.0 + c.S) : c.L + c.S - c.L * c.S;
  const double p = 2.0 * c.L - q;
  return (Alpha & gxAlphaMask) | (Channel(HueChannel(p, q, c.H + 1.0 / 3.0)) << 16) |
         (Channel(HueChannel(p, q, c.H)) << 8) | Channel(HueChannel(p, q, c.H - 1.0 / 3.0));
}

// A component in 0..1 moved by Delta 255ths: 256 and above wrap to 1, below 0 to 254.
// Deltas beyond a full turn wrap as many times as needed.
double Shifted(double Value, int32_t Delta) {
  int64_t v = int64_t(Round(Value * 255.0)) + Delta;
  if (v >= 256) v = (v - 1) % 255 + 1;     // v -= 255 until below 256
  if (v < 0) v = (v % 255 + 255) % 255;  // v += 255 until not negative
  return double(v) / 255.0;
}

}  // namespace

template <class F>
void TgxBitmap::ForEachHsl(F&& Change) {
  if (Empty()) return;
  const size_t n = size_t(FWidth) * size_t(FHeight);
  for (size_t i = 0; i < n; ++i) {
    const TgxColor p = FBits[i];
    if ((p >> 24) == 0) continue;
    Hsl c = ToHsl(p);
    Change(c);
    FBits[i] = FromHsl(c, p);
  }
}

void TgxBitmap::SetBitmapHue(int32_t Hue) {
  const double h = double(std::clamp(Hue, 0, 255)) / 255.0;
  ForEachHsl([h](Hsl& c) { c.H = h; });
}

void TgxBitmap::ChangeBitmapHue(int32_t DeltaHue) {
  if (DeltaHue == 0) return;
  ForEachHsl([DeltaHue](Hsl& c) { c.H = Shifted(c.H, DeltaHue); });
}

void TgxBitmap::ChangeBitmapSat(int32_t DeltaSat) {
  if (DeltaSat == 0) return;
  ForEachHsl([DeltaSat](Hsl& c) { c.S = Shifted(c.S, DeltaSat); });
}
