// The effect bitmap's main row routines on a 831 x 543 picture, beside two references
// measured in the same run: memcpy of the same bytes and pixman's OVER of the same image.
// The run ends with a table of ratios to both references (on stderr).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/BenchSupport.h"
#include "gx_bitmap.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 543;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

// The disc picture, straight alpha as the engine keeps it.
void PaintSource(TgxBitmap& b) {
  b.SetSize(kWidth, kHeight);
  bench::FillDiscPicture(b.Bits(), kWidth, kHeight);
}

// The gradient ground; with alphaEvery, squares of transparent and half-transparent
// pixels as well, for the routines that look at the destination's alpha.
void PaintDestination(TgxBitmap& b, uint32_t alphaEvery = 0) {
  b.SetSize(kWidth, kHeight);
  bench::FillGradient(b.Bits(), kWidth, kHeight);
  if (!alphaEvery) return;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t alpha = ((x / 32 + y / 32) % alphaEvery == 0) ? 0 : ((x + y) % 3 == 0 ? 0x80 : 0xFF);
      TgxColor& p = b.GetScanLine(y)[x];
      p = (p & 0x00FFFFFFu) | alpha << 24;
    }
}

void BM_Memcpy(benchmark::State& state) { bench::MemcpyReference(state, size_t(kBytes)); }
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);

void BM_PixmanOver(benchmark::State& state) {
  TgxBitmap src, dst;
  PaintSource(src);
  bench::Premultiply(src.Bits(), size_t(kWidth) * kHeight);  // as pixman takes it
  PaintDestination(dst);
  bench::PixmanOverReference(state, src.Bits(), dst.Bits(), kWidth, kHeight);
}
BENCHMARK(BM_PixmanOver)->Unit(benchmark::kMicrosecond);

// A source and a destination; Pass(src, dst) runs once an iteration. A pass that changes
// the destination in a way that changes the next pass's work (merging) gets the same
// destination back before each pass, outside the timing.
template <class Pass>
void Run(benchmark::State& state, Pass pass, uint32_t destinationAlphaEvery = 0, bool restore = false) {
  TgxBitmap src, dst, fresh;
  PaintSource(src);
  PaintDestination(fresh, destinationAlphaEvery);
  dst.Assign(&fresh);
  for (auto _ : state) {
    if (restore) {
      state.PauseTiming();
      std::memcpy(dst.Bits(), fresh.Bits(), size_t(kBytes));
      state.ResumeTiming();
    }
    pass(src, dst);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

// One routine of one form over every row of the picture.
template <class Routine>
auto Rows(Routine routine) {
  return [routine](TgxBitmap& src, TgxBitmap& dst) {
    for (int y = 0; y < kHeight; ++y) routine(src.GetScanLine(y), dst.GetScanLine(y), kWidth);
  };
}

const TgxPixelRoutines& Form(benchmark::State& state) {
  const TgxPixelRoutines* sse2 = gxSse2PixelRoutines();
  const TgxPixelRoutines& r = state.range(0) == 1 && sse2 ? *sse2 : gxPlainPixelRoutines();
  state.SetLabel(r.Name);
  return r;
}

void BM_BlendRow(benchmark::State& state) { Run(state, Rows(Form(state).BlendRow)); }
BENCHMARK(BM_BlendRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_MergeRow(benchmark::State& state) { Run(state, Rows(Form(state).MergeRow), 3, true); }
BENCHMARK(BM_MergeRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_KeyRow(benchmark::State& state) { Run(state, Rows(Form(state).KeyRow)); }
BENCHMARK(BM_KeyRow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The whole draws as the engine calls them: in memory between effect bitmaps.
void BM_DrawAlpha(benchmark::State& state) {
  Run(state, [](TgxBitmap& src, TgxBitmap& dst) {
    src.SetAlphaBlend(true);
    src.Draw(&dst, 0, 0);
  });
}
BENCHMARK(BM_DrawAlpha)->Unit(benchmark::kMicrosecond);

void BM_DrawCopy(benchmark::State& state) {
  Run(state, [](TgxBitmap& src, TgxBitmap& dst) { src.Draw(&dst, 0, 0); });
}
BENCHMARK(BM_DrawCopy)->Unit(benchmark::kMicrosecond);

void BM_DrawStretchedAlpha(benchmark::State& state) {
  Run(state, [](TgxBitmap& src, TgxBitmap& dst) {
    src.SetAlphaBlend(true);
    src.Draw(&dst, TRect{0, 0, kWidth, kHeight}, TRect{100, 50, 100 + kWidth / 2, 50 + kHeight / 2});
  });
}
BENCHMARK(BM_DrawStretchedAlpha)->Unit(benchmark::kMicrosecond);

void BM_MergeDraw(benchmark::State& state) {
  Run(state, [](TgxBitmap& src, TgxBitmap& dst) { dst.MergeDraw(&src, 0, 0, TRect{0, 0, kWidth, kHeight}); }, 3,
      true);
}
BENCHMARK(BM_MergeDraw)->Unit(benchmark::kMicrosecond);

// Every benchmark's wall-clock time as a multiple of the two references of the same run.
void PrintRatios(const std::vector<bench::RunTime>& times) {
  const bench::RunTime* memcpyRun = bench::FindRun(times, "BM_Memcpy");
  const bench::RunTime* pixmanRun = bench::FindRun(times, "BM_PixmanOver");
  if (!memcpyRun || !pixmanRun || memcpyRun->RealSeconds <= 0 || pixmanRun->RealSeconds <= 0) return;
  std::fprintf(stderr, "\n%-36s %12s %10s %10s\n", "benchmark (831 x 543)", "time (us)", "x memcpy", "x pixman");
  for (const bench::RunTime& t : times)
    std::fprintf(stderr, "%-36s %12.1f %10.2f %10.2f\n", t.Name.c_str(), t.RealSeconds * 1e6,
                 t.RealSeconds / memcpyRun->RealSeconds, t.RealSeconds / pixmanRun->RealSeconds);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PrintRatios(bench::RunAndCollectTimes());
  benchmark::Shutdown();
  return 0;
}
