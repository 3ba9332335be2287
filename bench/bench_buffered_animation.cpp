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
#include "gdi/Gdi.h"
#include "themes/BufferedAnimation.h"
#include "win/Queue.h"
#include "win/Window.h"

namespace {

constexpr int kWidth = 831;
constexpr int kHeight = 604;
constexpr int64_t kBytes = int64_t(kWidth) * kHeight * 4;

// Colour noise, so that no run of pixels is uniform.
void Noise(std::vector<uint32_t>& pixels, uint32_t seed) {
  for (uint32_t& p : pixels) {
    seed = seed * 1664525u + 1013904223u;
    p = 0xFF000000u | (seed >> 8);
  }
}

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
    Noise(pixels, dc == from ? 1u : 2u);
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
  Noise(from, 1);
  Noise(to, 2);
  pixman_image_t* f = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, from.data(), kWidth * 4);
  pixman_image_t* t = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, to.data(), kWidth * 4);
  pixman_image_t* d = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, frame.data(), kWidth * 4);
  const pixman_color_t half{0, 0, 0, 0x8000};
  pixman_image_t* mask = pixman_image_create_solid_fill(&half);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_SRC, f, nullptr, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    pixman_image_composite32(PIXMAN_OP_OVER, t, mask, d, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::ClobberMemory();
  }
  for (pixman_image_t* i : {f, t, d, mask}) pixman_image_unref(i);
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_PixmanFadeFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) {
  std::vector<uint32_t> from(size_t(kWidth) * kHeight), frame(from.size());
  Noise(from, 1);
  for (auto _ : state) {
    std::memcpy(frame.data(), from.data(), size_t(kBytes));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * kBytes);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
