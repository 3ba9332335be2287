#include "gx_effect/Timer.h"

#include <exception>

#include "gx_effect/Engine.h"
#include "win/Queue.h"

namespace {

// The performance counter: ticks of the window system's clock, which counts milliseconds.
int64_t PerformanceCounter() { return int64_t(GetTickCount64()); }
constexpr int64_t kPerformanceFrequency = 1000;

}  // namespace

TgxTimer::TgxTimer() {
  const int64_t first = PerformanceCounter();
  FCalibrate = PerformanceCounter() - first;
  FFrequency = kPerformanceFrequency;
}

void TgxTimer::Start() { StartValue = PerformanceCounter(); }

void TgxTimer::Stop() { StopValue = PerformanceCounter(); }

double TgxTimer::Elapsed() const { return double(StopValue - StartValue - FCalibrate) / double(FFrequency); }

void TgxMultiObject::DoMultiTimer(TObject*) {
  TgxTimer timer;
  timer.Start();
  // One slot that fails must not stall the others: every slot steps, then the first
  // failure is reported.
  std::exception_ptr failure;
  for (int slot = 0; slot < gxSlotCount; ++slot) {
    try {
      StepEffect(slot);
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  timer.Stop();
  // Seconds added to clocks that count milliseconds: a tiny correction. The timer is
  // re-armed for 20 ms as its tick is taken, so the time the steps took lies inside the
  // 20 ms each step adds already.
  gxAddToSlotClocks(float(timer.Elapsed()));
  if (failure) std::rethrow_exception(failure);
}
