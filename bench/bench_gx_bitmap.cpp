// The effect bitmap's main row routines on a 831 x 543 picture, beside two references
// measured in the same run: memcpy of the same bytes and pixman's OVER of the same image.
// Without --benchmark_format the run ends with a table of ratios to both references.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "gx_bitmap.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

// Straight alpha: an opaque disc with a soft edge, translucent bands and transparent
// corners, with colour noise so that no run of pixels is uniform.
void PaintSource(TgxBitmap& b) {
  b.SetSize(kWidth, kHeight);
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const double dx = x - kWidth / 2.0, dy = y - kHeight / 2.0;
      double a = std::clamp((260.0 - std::sqrt(dx * dx + dy * dy)) / 40.0, 0.0, 1.0);
      if (y % 64 < 16) a = std::max(a, 0.4);
      b.SetPixel(x, y, (uint32_t(std::lround(a * 255)) << 24) | (seed >> 8));
    }
}

void PaintDestination(TgxBitmap& b, uint32_t alphaEvery = 0) {
  b.SetSize(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      uint32_t alpha = 0xFF;
      if (alphaEvery) alpha = ((x / 32 + y / 32) % alphaEvery == 0) ? 0 : ((x + y) % 3 == 0 ? 0x80 : 0xFF);
      b.SetPixel(x, y, (alpha << 24) | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40);
    }
}

void BM_Memcpy(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  PaintDestination(dst);
  for (auto _ : state) {
    std::memcpy(dst.Bits(), src.Bits(), size_t(kBytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

void BM_PixmanOver(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  src.CheckRGBA();  // premultiplied-looking, as pixman expects
  PaintDestination(dst);
  pixman_image_t* s = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, src.Bits(), kWidth * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, dst.Bits(), kWidth * 4);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, s, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(d);
  pixman_image_unref(s);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMicrosecond);

// One routine of one form over every row of the picture.
template <class Call>
void RunRows(benchmark::State& state, Call call, uint32_t destinationAlphaEvery = 0) {
  TgxBitmap src, dst, fresh;
  PaintSource(src);
  PaintDestination(fresh, destinationAlphaEvery);
  dst.Assign(&fresh);
  for (auto _ : state) {
    for (int y = 0; y < kHeight; ++y) call(src.GetScanLine(y), dst.GetScanLine(y), kWidth);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

const TgxPixelRoutines& Form(int64_t which) {
  const TgxPixelRoutines* sse2 = gxSse2PixelRoutines();
  return which == 1 && sse2 ? *sse2 : gxPlainPixelRoutines();
}

void BM_BlendRow(benchmark::State& state) {
  const TgxPixelRoutines& r = Form(state.range(0));
  state.SetLabel(r.Name);
  RunRows(state, r.BlendRow);
}
BENCHMARK(BM_BlendRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_MergeRow(benchmark::State& state) {
  const TgxPixelRoutines& r = Form(state.range(0));
  state.SetLabel(r.Name);
  // Merging changes the destination, so each pass starts from the same picture.
  TgxBitmap src, dst, fresh;
  PaintSource(src);
  PaintDestination(fresh, 3);
  dst.Assign(&fresh);
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(dst.Bits(), fresh.Bits(), size_t(kBytes));
    state.ResumeTiming();
    for (int y = 0; y < kHeight; ++y) r.MergeRow(src.GetScanLine(y), dst.GetScanLine(y), kWidth);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MergeRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_KeyRow(benchmark::State& state) {
  const TgxPixelRoutines& r = Form(state.range(0));
  state.SetLabel(r.Name);
  RunRows(state, r.KeyRow);
}
BENCHMARK(BM_KeyRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole draws as the engine calls them: in memory between effect bitmaps.
void BM_DrawAlpha(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  PaintDestination(dst);
  src.SetAlphaBlend(true);
  for (auto _ : state) {
    src.Draw(&dst, 0, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_DrawAlpha)->Unit(benchmark::kMicrosecond);

void BM_DrawCopy(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  PaintDestination(dst);
  for (auto _ : state) {
    src.Draw(&dst, 0, 0);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_DrawCopy)->Unit(benchmark::kMicrosecond);

void BM_DrawStretchedAlpha(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  PaintDestination(dst);
  src.SetAlphaBlend(true);
  for (auto _ : state) {
    src.Draw(&dst, TRect{0, 0, kWidth, kHeight}, TRect{100, 50, 100 + kWidth / 2, 50 + kHeight / 2});
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_DrawStretchedAlpha)->Unit(benchmark::kMicrosecond);

void BM_MergeDraw(benchmark::State& state) {
  TgxBitmap src, dst, fresh;
  PaintSource(src);
  PaintDestination(fresh, 3);
  dst.Assign(&fresh);
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(dst.Bits(), fresh.Bits(), size_t(kBytes));
    state.ResumeTiming();
    dst.MergeDraw(&src, 0, 0, TRect{0, 0, kWidth, kHeight});
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MergeDraw)->Unit(benchmark::kMicrosecond);

// Prints the usual console output, then every benchmark's time as a multiple of the two
// references of the same run.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0)
        FTimes.emplace_back(r.benchmark_name() + (r.report_label.empty() ? "" : " (" + r.report_label + ")"),
                            r.GetAdjustedRealTime());
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    double memcpyTime = 0, pixmanTime = 0;
    for (const auto& [name, t] : FTimes) {
      if (name.rfind("BM_Memcpy", 0) == 0) memcpyTime = t;
      if (name.rfind("BM_PixmanOver", 0) == 0) pixmanTime = t;
    }
    if (memcpyTime <= 0 || pixmanTime <= 0) return;
    std::printf("\n%-36s %12s %10s %10s\n", "benchmark (831 x 543)", "time (us)", "x memcpy", "x pixman");
    for (const auto& [name, t] : FTimes)
      std::printf("%-36s %12.1f %10.2f %10.2f\n", name.c_str(), t, t / memcpyTime, t / pixmanTime);
  }

 private:
  std::vector<std::pair<std::string, double>> FTimes;
};

}  // namespace

int main(int argc, char** argv) {
  bool formatted = false;
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--benchmark_format", 18) == 0 || std::strncmp(argv[i], "--benchmark_out", 15) == 0)
      formatted = true;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (formatted) {
    benchmark::RunSpecifiedBenchmarks();
  } else {
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  benchmark::Shutdown();
  return 0;
}
