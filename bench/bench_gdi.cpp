// Blits of a 831 x 543 picture, each beside a reference measured in the same run:
// AlphaBlend (per-pixel alpha) against cairo's OVER of the same pixels, and BitBlt
// SRCCOPY against memcpy of the same bytes.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gdi/Gdi.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;

// A DIB section in a memory DC.
class Picture {
 public:
  Picture() {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    FDC = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDC, FBitmap);
  }
  ~Picture() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
    DeleteObject(FBitmap);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  HDC DC() const { return FDC; }
  Surface& Pixels() const { return *FBitmap->Pixels; }

 private:
  HBITMAP FBitmap = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOld = nullptr;
};

// Premultiplied: an opaque disc with a soft edge, a translucent band and transparent
// corners, with colour noise so that no run of pixels is uniform.
void PaintSource(Surface& s) {
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
      const double r = std::sqrt(dx * dx + dy * dy);
      double a = std::clamp((260.0 - r) / 40.0, 0.0, 1.0);
      if (y % 64 < 16) a = std::max(a, 0.4);
      const uint32_t alpha = uint32_t(std::lround(a * 255));
      const uint32_t c = seed >> 8;
      const uint32_t red = (c & 0xFF) * alpha / 255, green = ((c >> 8) & 0xFF) * alpha / 255,
                     blue = ((c >> 16) & 0xFF) * alpha / 255;
      s.At(x, y) = alpha << 24 | red << 16 | green << 8 | blue;
    }
}

void PaintDestination(Surface& s) {
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) s.At(x, y) = 0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40;
}

constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

void BM_AlphaBlend(benchmark::State& state) {
  Picture src, dst;
  PaintSource(src.Pixels());
  PaintDestination(dst.Pixels());
  BLENDFUNCTION blend;
  blend.AlphaFormat = AC_SRC_ALPHA;
  for (auto _ : state) {
    AlphaBlend(dst.DC(), 0, 0, kWidth, kHeight, src.DC(), 0, 0, kWidth, kHeight, blend);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_AlphaBlend)->Unit(benchmark::kMicrosecond);

void BM_CairoOver(benchmark::State& state) {
  Picture src, dst;
  PaintSource(src.Pixels());
  PaintDestination(dst.Pixels());
  cairo_surface_t* s = cairo_image_surface_create_for_data(src.Pixels().Bits(), CAIRO_FORMAT_ARGB32, kWidth,
                                                           kHeight, src.Pixels().Stride());
  cairo_surface_t* d = cairo_image_surface_create_for_data(dst.Pixels().Bits(), CAIRO_FORMAT_ARGB32, kWidth,
                                                           kHeight, dst.Pixels().Stride());
  cairo_t* cr = cairo_create(d);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  for (auto _ : state) {
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_surface_flush(d);
    benchmark::ClobberMemory();
  }
  cairo_destroy(cr);
  cairo_surface_destroy(d);
  cairo_surface_destroy(s);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_CairoOver)->Unit(benchmark::kMicrosecond);

void BM_BitBltSrcCopy(benchmark::State& state) {
  Picture src, dst;
  PaintSource(src.Pixels());
  for (auto _ : state) {
    BitBlt(dst.DC(), 0, 0, kWidth, kHeight, src.DC(), 0, 0, SRCCOPY);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_BitBltSrcCopy)->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State& state) {
  Picture src, dst;
  PaintSource(src.Pixels());
  for (auto _ : state) {
    std::memcpy(dst.Pixels().Bits(), src.Pixels().Bits(), size_t(kBytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
