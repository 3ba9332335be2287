// The drawing toolkit's raw bitmap routines on a 831 x 543 picture, each beside pixman
// doing the same job in the same run: SmoothStretchBitmap to 1246 x 814 against pixman's
// bilinear scaling, and AlphaBlendRect onto a same-size canvas against pixman's OVER.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <memory>

#include "bench/BenchSupport.h"
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

// The disc picture, premultiplied.
std::unique_ptr<TBitmap> Source() {
  auto b = Bitmap32(kWidth, kHeight);
  bench::FillDiscPicture(Pixels(*b), kWidth, kHeight);
  bench::Premultiply(Pixels(*b), size_t(kWidth) * kHeight);
  return b;
}

std::unique_ptr<TBitmap> Background() {
  auto b = Bitmap32(kWidth, kHeight);
  bench::FillGradient(Pixels(*b), kWidth, kHeight);
  return b;
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
  const bench::PixmanImage image(Pixels(*src), kWidth, kHeight), scaled(Pixels(*dst), kScaledWidth, kScaledHeight);
  pixman_image_t* s = image.Get();
  pixman_transform_t t;
  pixman_transform_init_scale(&t, pixman_double_to_fixed(double(kWidth) / kScaledWidth),
                              pixman_double_to_fixed(double(kHeight) / kScaledHeight));
  pixman_image_set_transform(s, &t);
  pixman_image_set_filter(s, PIXMAN_FILTER_BILINEAR, nullptr, 0);
  pixman_image_set_repeat(s, PIXMAN_REPEAT_PAD);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, scaled.Get(), 0, 0, 0, 0, 0, 0, kScaledWidth, kScaledHeight);
    benchmark::ClobberMemory();
  }
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
  bench::PixmanOverReference(state, Pixels(*src), Pixels(*dst), kWidth, kHeight);
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
