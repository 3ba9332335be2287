// One frame of a state fade of the theme library's buffered animation on an 831 x 604 area
// (the demo's client area): the blend of the old and the new image for the clock and its
// copy onto the paint DC. Beside it, in the same run, pixman doing the same job (copy the
// old image, lay the new one over it through a half-transparent mask) and a memcpy of the
// frame's bytes.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstring>
#include <vector>

#include "backend/Headless.h"
#include "bench/BenchSupport.h"
#include "gdi/Gdi.h"
#include "themes/BufferedAnimation.h"
#include "win/Queue.h"
#include "win/Window.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 604;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

void BM_BufferedAnimationFrame(benchmark::State& state) {
  SetBackend(nullptr);
  WNDCLASS wc;
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "BenchFade";
  RegisterClass(&wc);
  HWND window = CreateWindowEx(0, "BenchFade", "", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr, nullptr,
                               nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
  HDC target = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(target, bitmap);
  const RECT area{0, 0, kWidth, kHeight};
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 150;
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER animation =
      BeginBufferedAnimation(window, target, &area, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
  for (HDC dc : {from, to}) {
    bench::FillNoise(pixels.data(), pixels.size(), dc == from ? 1u : 2u);
    Surface& s = *LiveDC(dc)->GetSurface();
    for (int y = 0; y < kHeight; ++y) std::memcpy(s.Row(y), &pixels[size_t(y) * kWidth], size_t(kWidth) * 4);
  }
  EndBufferedAnimation(animation, TRUE);
  Headless()->Advance(75);  // the clock stands still in the middle of the fade
  for (auto _ : state) {
    BufferedPaintRenderAnimation(window, target);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
  SelectObject(target, old);
  DeleteDC(target);
  DeleteObject(bitmap);
  ResetWindowSystem();
}
BENCHMARK(BM_BufferedAnimationFrame)->Unit(benchmark::kMicrosecond);

void BM_PixmanFadeFrame(benchmark::State& state) {
  std::vector<uint32_t> from(size_t(kWidth) * kHeight), to(from.size()), frame(from.size());
  bench::FillNoise(from.data(), from.size(), 1);
  bench::FillNoise(to.data(), to.size(), 2);
  const bench::PixmanImage f(from.data(), kWidth, kHeight), t(to.data(), kWidth, kHeight),
      d(frame.data(), kWidth, kHeight);
  const pixman_color_t half{0, 0, 0, 0x8000};
  const bench::PixmanImage mask(pixman_image_create_solid_fill(&half));
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, f.Get(), nullptr, d.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    pixman_image_composite32(PIXMAN_OP_OVER, t.Get(), mask.Get(), d.Get(), 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PixmanFadeFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) { bench::MemcpyReference(state, size_t(kBytes)); }
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
