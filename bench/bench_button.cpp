// Painting one 100 x 35 push button with a glowing caption and image: with the glow layers
// taken from the button's cache, and with the cache rebuilt for every paint, beside memcpy
// of the button's pixels measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "backend/Headless.h"
#include "bench/BenchSupport.h"
#include "qvControls/Button.h"
#include "vcl/ImgList.h"

namespace {

constexpr int kWidth = 100, kHeight = 35;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;
constexpr const char* kReference = "memcpy of the button's pixels";

class TBenchButton : public TqvButton {
  QV_CLASS(TBenchButton, TqvButton)
  explicit TBenchButton(TComponent* AOwner) : TqvButton(AOwner) {}
  using TqvButton::Draw;
  void DropGlowCache() { FUpdateGlowBuffer = true; }
};

// The button, its image list and the bitmap it paints into, made once.
struct Scene {
  std::unique_ptr<TImageList> Images;
  std::unique_ptr<TBenchButton> Button;
  TBitmap Picture;

  Scene() {
    SetBackend(nullptr);
    Images = std::make_unique<TImageList>(nullptr, 16, 16);
    TBitmap disc;
    disc.SetPixelFormat(pf32bit);
    disc.SetSize(16, 16);
    for (int y = 0; y < 16; ++y) {
      auto* row = static_cast<uint32_t*>(disc.ScanLine(y));
      for (int x = 0; x < 16; ++x) row[x] = (x - 7.5) * (x - 7.5) + (y - 7.5) * (y - 7.5) <= 49 ? 0xFF2E9E3Cu : 0;
    }
    Images->Add(&disc, nullptr);
    Button = std::make_unique<TBenchButton>(nullptr);
    Button->SetBounds(0, 0, kWidth, kHeight);
    Button->SetCaption("Glowing");
    Button->SetImages(Images.get());
    Button->SetImageIndex(0);
    Button->GlowEffect()->SetEnabled(true);
    Button->GlowEffect()->SetStates({qvsNormal, qvsHot, qvsPressed, qvsFocused});
    Picture.SetPixelFormat(pf32bit);
    Picture.SetSize(kWidth, kHeight);
  }
};

Scene& TheScene() {
  static Scene scene;
  return scene;
}

void BM_Memcpy(benchmark::State& state) { bench::MemcpyReference(state, size_t(kBytes)); }

void Paint(benchmark::State& state, bool Rebuild) {
  Scene& s = TheScene();
  s.Button->Draw(s.Picture.Canvas(), qvsNormal);  // builds the cache
  for (auto _ : state) {
    if (Rebuild) s.Button->DropGlowCache();
    s.Button->Draw(s.Picture.Canvas(), qvsNormal);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}

void BM_PaintFromCache(benchmark::State& state) { Paint(state, false); }
void BM_PaintRebuildingCache(benchmark::State& state) { Paint(state, true); }

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RegisterBenchmark(kReference, BM_Memcpy)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Paint, glow from the cache", BM_PaintFromCache)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("Paint, glow rebuilt", BM_PaintRebuildingCache)->Unit(benchmark::kMicrosecond);

  const std::vector<bench::RunTime> times = bench::RunAndCollectTimes();
  if (const bench::RunTime* ref = bench::FindRun(times, kReference)) {
    std::fprintf(stderr, "\nA %d x %d button with glow against memcpy of its pixels (%.3f us):\n", kWidth, kHeight,
                 ref->CpuSeconds * 1e6);
    for (const bench::RunTime& t : times)
      if (&t != ref)
        std::fprintf(stderr, "%-28s %10.1f us %8.0f x\n", t.Name.c_str(), t.CpuSeconds * 1e6,
                     t.CpuSeconds / ref->CpuSeconds);
  }
  benchmark::Shutdown();
  TheScene().Button.reset();
  return 0;
}
