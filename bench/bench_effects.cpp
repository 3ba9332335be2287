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
#include <map>
#include <memory>
#include <string>
#include <vector>

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
  for (int y = 0; y < kHeight; ++y) {
    TgxColor* row = b->GetScanLine(y);
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      row[x] = 0xFF000000u | ((seed >> 8) & 0xFFFFFF);
      if (gxIsKeyColor(row[x])) row[x] ^= 1;
    }
  }
  return b;
}

void BM_Reference(benchmark::State& state) {
  std::vector<uint32_t> old(kPixels), work(kPixels), source(kPixels);
  uint32_t seed = 99;
  for (size_t n = 0; n < kPixels; ++n) {
    seed = seed * 1664525u + 1013904223u;
    old[n] = 0xFF000000u | (seed >> 8);
    // Premultiplied, with alpha neither 0 nor 255 nearly everywhere, as a frame half-way is.
    const uint32_t a = 1 + (n * 7 + n / kWidth) % 254, c = (seed >> 3) & 0xFF;
    const uint32_t v = c * a / 255;
    source[n] = a << 24 | v << 16 | v << 8 | v;
  }
  pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, source.data(), kWidth * 4);
  pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, work.data(), kWidth * 4);
  for (auto _ : state) {
    std::memcpy(work.data(), old.data(), kPixels * 4);
    pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(dst);
  pixman_image_unref(src);
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

// Passes everything on to the display reporter and keeps each run's time per iteration.
class Collector : public benchmark::BenchmarkReporter {
 public:
  explicit Collector(benchmark::BenchmarkReporter* display) : FDisplay(display) {}
  bool ReportContext(const Context& context) override { return FDisplay->ReportContext(context); }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        Times[run.benchmark_name()] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    FDisplay->ReportRuns(runs);
  }
  void Finalize() override { FDisplay->Finalize(); }

  // Seconds of processor time: other work on a shared machine stretches the wall clock.
  std::map<std::string, double> Times;

 private:
  benchmark::BenchmarkReporter* FDisplay;
};

void PrintRatios(const std::map<std::string, double>& times) {
  const auto ref = times.find(kReference);
  if (ref == times.end()) return;
  std::vector<std::pair<std::string, double>> rows(times.begin(), times.end());
  std::erase_if(rows, [](const auto& r) { return r.first == kReference; });
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  std::fprintf(stderr, "\nOne frame of 831 x 543 against memcpy + pixman OVER of the image (%.3f ms), slowest first:\n",
               ref->second * 1e3);
  std::fprintf(stderr, "%-46s %10s %8s\n", "effect/percent", "ms", "ratio");
  for (const auto& [name, seconds] : rows)
    std::fprintf(stderr, "%-46s %10.3f %8.2f\n", name.c_str(), seconds * 1e3, seconds / ref->second);
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

  std::unique_ptr<benchmark::BenchmarkReporter> display(benchmark::CreateDefaultDisplayReporter());
  Collector collector(display.get());
  benchmark::RunSpecifiedBenchmarks(&collector);
  PrintRatios(collector.Times);
  benchmark::Shutdown();
  return 0;
}
