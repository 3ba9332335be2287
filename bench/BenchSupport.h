// What the benchmark programs share: their test pictures, the references their figures
// stand beside (memcpy of the same bytes, pixman compositing the same image, measured in
// the same run), and a reporter that keeps each run's time for a table of ratios at the
// end.
//
// Pictures are W x H words 0xAARRGGBB, top-down and contiguous, as TBitmap and TgxBitmap
// hold them; the same seed gives the same picture in every program and every run.
#pragma once

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// The next 24 bits of colour noise (a linear congruential generator).
inline uint32_t NextNoise(uint32_t& Seed) {
  Seed = Seed * 1664525u + 1013904223u;
  return Seed >> 8;
}

// Opaque colour noise, so that no run of pixels is uniform.
inline void FillNoise(uint32_t* Pixels, size_t Count, uint32_t Seed) {
  for (size_t i = 0; i < Count; ++i) Pixels[i] = 0xFF000000u | NextNoise(Seed);
}

// Straight alpha: an opaque disc with a soft edge, translucent bands and transparent
// corners, with colour noise; every kind of pixel a blend meets.
inline void FillDiscPicture(uint32_t* Pixels, int W, int H, uint32_t Seed = 12345) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t colour = NextNoise(Seed);
      const double dx = x - W / 2.0, dy = y - H / 2.0;
      double a = std::clamp((260.0 - std::sqrt(dx * dx + dy * dy)) / 40.0, 0.0, 1.0);
      if (y % 64 < 16) a = std::max(a, 0.4);
      Pixels[size_t(y) * size_t(W) + size_t(x)] = uint32_t(std::lround(a * 255)) << 24 | colour;
    }
}

// Opaque: red follows x, green follows y; a ground to blend onto.
inline void FillGradient(uint32_t* Pixels, int W, int H) {
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      Pixels[size_t(y) * size_t(W) + size_t(x)] =
          0xFF000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 | 0x40;
}

// Straight alpha to premultiplied, in place, as pixman and premultiplied bitmaps take it.
inline void Premultiply(uint32_t* Pixels, size_t Count) {
  for (size_t i = 0; i < Count; ++i) {
    const uint32_t a = Pixels[i] >> 24;
    uint32_t p = a << 24;
    for (int shift = 0; shift < 24; shift += 8) p |= ((Pixels[i] >> shift & 0xFF) * a + 127) / 255 << shift;
    Pixels[i] = p;
  }
}

// A pixman image, let go at the end of the scope.
class PixmanImage {
 public:
  // Over W x H pixels held elsewhere.
  PixmanImage(uint32_t* Bits, int W, int H)
      : FImage(pixman_image_create_bits(PIXMAN_a8r8g8b8, W, H, Bits, W * 4)) {}
  explicit PixmanImage(pixman_image_t* Image) : FImage(Image) {}
  ~PixmanImage() {
    if (FImage) pixman_image_unref(FImage);
  }
  PixmanImage(const PixmanImage&) = delete;
  PixmanImage& operator=(const PixmanImage&) = delete;
  pixman_image_t* Get() const { return FImage; }

 private:
  pixman_image_t* FImage;
};

// The reference for moving Bytes: memcpy of them from one buffer to another.
inline void MemcpyReference(benchmark::State& State, size_t Bytes) {
  std::vector<uint32_t> from((Bytes + 3) / 4), to(from.size());
  FillNoise(from.data(), from.size(), 1);
  for (auto _ : State) {
    std::memcpy(to.data(), from.data(), Bytes);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(Bytes));
}

// The reference for blending: pixman's OVER of a premultiplied W x H source onto a
// destination of the same size (changed by every pass, as a real blend is).
inline void PixmanOverReference(benchmark::State& State, uint32_t* Source, uint32_t* Destination, int W, int H) {
  const PixmanImage s(Source, W, H), d(Destination, W, H);
  for (auto _ : State) {
    pixman_image_composite32(PIXMAN_OP_OVER, s.Get(), nullptr, d.Get(), 0, 0, 0, 0, 0, 0, W, H);
    benchmark::ClobberMemory();
  }
  State.SetBytesProcessed(int64_t(State.iterations()) * int64_t(W) * H * 4);
}

// One benchmark's time per iteration.
struct RunTime {
  // The benchmark's name, with its label in brackets when it has one.
  std::string Name;
  double RealSeconds;
  // Processor time: other work on a shared machine stretches the wall clock.
  double CpuSeconds;
};

// Passes every report on to the display reporter (the console, or what
// --benchmark_format asks for) and keeps each run's time, in the order they ran.
class TimeCollector : public benchmark::BenchmarkReporter {
 public:
  explicit TimeCollector(benchmark::BenchmarkReporter* Display) : FDisplay(Display) {}
  bool ReportContext(const Context& context) override { return FDisplay->ReportContext(context); }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
        const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
        FTimes.push_back({run.benchmark_name() + (run.report_label.empty() ? "" : " (" + run.report_label + ")"),
                          run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit});
      }
    FDisplay->ReportRuns(runs);
  }
  void Finalize() override { FDisplay->Finalize(); }

  const std::vector<RunTime>& Times() const { return FTimes; }

 private:
  benchmark::BenchmarkReporter* FDisplay;
  std::vector<RunTime> FTimes;
};

// Runs the registered benchmarks as benchmark::RunSpecifiedBenchmarks does, and answers
// their times for the program's table of ratios.
inline std::vector<RunTime> RunAndCollectTimes() {
  const std::unique_ptr<benchmark::BenchmarkReporter> display(benchmark::CreateDefaultDisplayReporter());
  TimeCollector collector(display.get());
  benchmark::RunSpecifiedBenchmarks(&collector);
  return collector.Times();
}

// The first run whose name starts with Prefix, or null.
inline const RunTime* FindRun(const std::vector<RunTime>& Times, const std::string& Prefix) {
  for (const RunTime& t : Times)
    if (t.Name.rfind(Prefix, 0) == 0) return &t;
  return nullptr;
}

}  // namespace bench
