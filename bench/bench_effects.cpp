// One frame of every registered transition effect (and of the bitmap mode) on an 831 x 543
// picture at 50 % and 90 %, Resolution 1, TileCount 1: the work of one tick of the shared
// timer, less showing the frame. Beside them, the work no frame can avoid, measured in the
// same run: a memcpy of the image (the old image into the work image) plus pixman's OVER
// of the image (the new image laid over it).
//
// The usual Google Benchmark output goes to stdout (--benchmark_format=json works); the
// table of ratios to the reference goes to stderr.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "gx_effect.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;
constexpr size_t kPixels = size_t(kWidth) * kHeight;
const char* const kReference = "Reference/memcpy+pixman_over";

// Two different pictures with colour noise, so that no run of pixels is uniform.
std::unique_ptr<TgxBitmap> Picture(uint32_t seed) {
  auto b = std::make_unique<TgxBitmap>();
  b->SetSize(kWidth, kHeight);
  bench::FillNoise(b->Bits(), kPixels, seed);
  // The key colour would be taken for a hole.
  for (size_t n = 0; n < kPixels; ++n)
    if (gxIsKeyColor(b->Bits()[n])) b->Bits()[n] ^= 1;
  return b;
}

void BM_Reference(benchmark::State& state) {
  std::vector<uint32_t> old(kPixels), work(kPixels), source(kPixels);
  uint32_t seed = 99;
  for (size_t n = 0; n < kPixels; ++n) {
    const uint32_t noise = bench::NextNoise(seed);
    old[n] = 0xFF000000u | noise;
    // Alpha neither 0 nor 255 nearly everywhere, as a frame half-way is.
    const uint32_t a = 1 + (n * 7 + n / kWidth) % 254, c = noise & 0xFF;
    source[n] = a << 24 | c << 16 | c << 8 | c;
  }
  bench::Premultiply(source.data(), kPixels);
  const bench::PixmanImage src(source.data(), kWidth, kHeight), dst(work.data(), kWidth, kHeight);
  for (auto _ : state) {
    std::memcpy(work.data(), old.data(), kPixels * 4);
    pixman_image_composite32(PIXMAN_OP_OVER, src.Get(), nullptr, dst.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels) * 4);
}

void BM_Effect(benchmark::State& state, String effect, uint8_t percent) {
  auto oldImage = Picture(1), newImage = Picture(2);
  TgxAnimationRec settings(nullptr);
  settings.SetEffect(effect);
  TgxTransition transition;
  if (!transition.Prepare(&settings, newImage.get(), oldImage.get())) {
    state.SkipWithError("the effect does not start");
    return;
  }
  for (auto _ : state) {
    transition.Compose(percent);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels) * 4);
}

void PrintRatios(const std::vector<bench::RunTime>& times) {
  const bench::RunTime* ref = bench::FindRun(times, kReference);
  if (!ref || ref->CpuSeconds <= 0) return;
  std::vector<bench::RunTime> rows = times;
  std::erase_if(rows, [](const bench::RunTime& r) { return r.Name == kReference; });
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.CpuSeconds > b.CpuSeconds; });
  std::fprintf(stderr, "\nOne frame of 831 x 543 against memcpy + pixman OVER of the image (%.3f ms), slowest first:\n",
               ref->CpuSeconds * 1e3);
  std::fprintf(stderr, "%-46s %10s %8s\n", "effect/percent", "ms", "ratio");
  for (const bench::RunTime& r : rows)
    std::fprintf(stderr, "%-46s %10.3f %8.2f\n", r.Name.c_str(), r.CpuSeconds * 1e3, r.CpuSeconds / ref->CpuSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

  benchmark::RegisterBenchmark(kReference, BM_Reference)->Unit(benchmark::kMillisecond);
  std::vector<String> effects;
  if (TgxProcList* list = gxProcList())
    for (int i = 0; i < list->Count(); ++i) effects.push_back(list->Items(i)->Name());
  effects.push_back(gxBitmapEffectName);
  for (const String& name : effects) {
    const String plain = name.substr(name.find("- ") + 2);
    for (uint8_t percent : {uint8_t(50), uint8_t(90)})
      benchmark::RegisterBenchmark((plain + "/" + std::to_string(percent)).c_str(), BM_Effect, name, percent)
          ->Unit(benchmark::kMillisecond);
  }

  PrintRatios(bench::RunAndCollectTimes());
  benchmark::Shutdown();
  return 0;
}
