// The drawing toolkit's raw bitmap routines on a 831 x 543 picture, each beside pixman
// doing the same job in the same run: SmoothStretchBitmap to 1246 x 814 against pixman's
// bilinear scaling, and AlphaBlendRect onto a same-size canvas against pixman's OVER.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "qvDrawUtils/Bitmaps.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;
constexpr int kScaledWidth = 1246;
constexpr int kScaledHeight = 814;

uint32_t* Pixels(TBitmap& b) { return static_cast<uint32_t*>(b.ScanLine(0)); }

std::unique_ptr<TBitmap> Bitmap32(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  return b;
}

// Premultiplied: an opaque disc with a soft edge, a translucent band and transparent
// corners, with colour noise so that no run of pixels is uniform.
std::unique_ptr<TBitmap> Source() {
  auto b = Bitmap32(kWidth, kHeight);
  uint32_t* p = Pixels(*b);
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
      double a = std::clamp((260.0 - std::sqrt(dx * dx + dy * dy)) / 40.0, 0.0, 1.0);
      if (y % 64 < 16) a = std::max(a, 0.4);
      const uint32_t alpha = uint32_t(std::lround(a * 255));
      const uint32_t c = seed >> 8;
      const uint32_t red = (c & 0xFF) * alpha / 255, green = ((c >> 8) & 0xFF) * alpha / 255,
                     blue = ((c >> 16) & 0xFF) * alpha / 255;
      p[size_t(y) * kWidth + size_t(x)] = alpha << 24 | red << 16 | green << 8 | blue;
    }
  return b;
}

std::unique_ptr<TBitmap> Background() {
  auto b = Bitmap32(kWidth, kHeight);
  uint32_t* p = Pixels(*b);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      p[size_t(y) * kWidth + size_t(x)] = 0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40;
  return b;
}

pixman_image_t* Image(TBitmap& b) {
  return pixman_image_create_bits(PIXMAN_a8r8g8b8, b.Width(), b.Height(), Pixels(b), b.Width() * 4);
}

constexpr int64_t kSourceBytes = int64_t(kWidth) * kHeight * 4;
constexpr int64_t kScaledBytes = int64_t(kScaledWidth) * kScaledHeight * 4;

void BM_SmoothStretchBitmap(benchmark::State& state) {
  auto src = Source();
  auto dst = Bitmap32(kScaledWidth, kScaledHeight);
  for (auto _ : state) {
    SmoothStretchBitmap(src.get(), dst.get());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kScaledBytes);
}
BENCHMARK(BM_SmoothStretchBitmap)->Unit(benchmark::kMicrosecond);

void BM_PixmanBilinearScale(benchmark::State& state) {
  auto src = Source();
  auto dst = Bitmap32(kScaledWidth, kScaledHeight);
  pixman_image_t* s = Image(*src);
  pixman_image_t* d = Image(*dst);
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(kWidth) / kScaledWidth),
                              pixman_double_to_fixed(double(kHeight) / kScaledHeight));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, kScaledWidth, kScaledHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  pixman_image_unref(s);
  state.SetBytesProcessed(state.iterations() * kScaledBytes);
}
BENCHMARK(BM_PixmanBilinearScale)->Unit(benchmark::kMicrosecond);

void BM_AlphaBlendRect(benchmark::State& state) {
  auto src = Source();
  auto dst = Background();
  TCanvas* canvas = dst->Canvas();
  const TRect r = Rect(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    AlphaBlendRect(src.get(), canvas, r, 255, r);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kSourceBytes);
}
BENCHMARK(BM_AlphaBlendRect)->Unit(benchmark::kMicrosecond);

void BM_PixmanOver(benchmark::State& state) {
  auto src = Source();
  auto dst = Background();
  pixman_image_t* s = Image(*src);
  pixman_image_t* d = Image(*dst);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  pixman_image_unref(s);
  state.SetBytesProcessed(state.iterations() * kSourceBytes);
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
