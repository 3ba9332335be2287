// Stack Blur of a 831 x 604 picture at radius 5, 10 and 20, and a 40-character caption
// drawn with its glow, each beside memcpy of the same bytes measured in the same run.
// The blur's cost should hardly depend on the radius. Each benchmark reports ns per pixel.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/BenchSupport.h"
#include "qvDrawUtils/Blur.h"
#include "qvDrawUtils/Glow.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 604;

std::unique_ptr<TBitmap> NoisePicture(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  bench::FillNoise(static_cast<uint32_t*>(b->ScanLine(0)), size_t(W) * size_t(H), 12345);
  return b;
}

void PerPixel(benchmark::State& state, int64_t Pixels) {
  state.SetBytesProcessed(state.iterations() * Pixels * 4);
  // Seconds per pixel, printed with an SI prefix ("6.1n" is 6.1 ns).
  state.counters["per_pixel"] =
      benchmark::Counter(double(Pixels), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_StackBlur(benchmark::State& state) {
  auto picture = NoisePicture(kWidth, kHeight);
  const int radius = int(state.range(0));
  for (auto _ : state) {
    StackBlur(picture.get(), radius);
    benchmark::ClobberMemory();
  }
  PerPixel(state, int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_StackBlur)->Arg(5)->Arg(10)->Arg(20)->Unit(benchmark::kMicrosecond);

void Memcpy(benchmark::State& state, int W, int H) {
  bench::MemcpyReference(state, size_t(W) * size_t(H) * 4);
  PerPixel(state, int64_t(W) * H);
}

void BM_MemcpyPicture(benchmark::State& state) { Memcpy(state, kWidth, kHeight); }
BENCHMARK(BM_MemcpyPicture)->Unit(benchmark::kMicrosecond);

// The caption and its rectangle; the glow layer is the rectangle grown by GlowSize.
const String kCaption = "Forty characters of caption with a glow.";  // 40
constexpr TRect kTextRect{10, 10, 330, 40};
constexpr int kGlowSize = 7;
constexpr int kLayerWidth = 320 + 2 * kGlowSize;
constexpr int kLayerHeight = 30 + 2 * kGlowSize;

void BM_DrawTextWithGlow(benchmark::State& state) {
  TBitmap canvas;
  canvas.SetPixelFormat(pf32bit);
  canvas.SetSize(340, 50);
  canvas.Canvas()->Font()->SetName("Tahoma");
  canvas.Canvas()->Font()->SetHeight(-13);
  for (auto _ : state) {
    DrawTextWithGlow(canvas.Canvas(), kTextRect, kCaption, true, false, 255, true, kGlowSize, clHighlight, 0,
                     DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    benchmark::ClobberMemory();
  }
  PerPixel(state, int64_t(kLayerWidth) * kLayerHeight);
}
BENCHMARK(BM_DrawTextWithGlow)->Unit(benchmark::kMicrosecond);

void BM_MemcpyGlowLayer(benchmark::State& state) { Memcpy(state, kLayerWidth, kLayerHeight); }
BENCHMARK(BM_MemcpyGlowLayer)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
