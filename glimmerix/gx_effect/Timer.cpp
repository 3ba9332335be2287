#include "gx_effect/Timer.h"

#include <exception>

#include "gx_effect/Engine.h"
#include "vcl/Forms.h"
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

void TgxMultiObject::DoMultiTimer(TObject* Sender) {
  TgxTimer timer;
  timer.Start();
  // A failing step is reported as the loop reports a handler's exception, so that it ends
  // no wait (not even its own transition's): its slot is left not busy and the next tick
  // tries it again. Without an application to report to, the first failure is raised
  // once every slot has stepped.
  std::exception_ptr failure;
  for (int slot = 0; slot < gxSlotCount; ++slot) {
    try {
      StepEffect(slot);
    } catch (...) {
      if (Application)
        Application->HandleException(Sender);
      else if (!failure)
        failure = std::current_exception();
    }
  }
  timer.Stop();
  // Seconds added to clocks that count milliseconds: a tiny correction. The timer is
  // re-armed for 20 ms as its tick is taken, so the time the steps took lies inside the
  // 20 ms each step adds already.
  gxAddToSlotClocks(float(timer.Elapsed()));
  if (failure) std::rethrow_exception(failure);
}
