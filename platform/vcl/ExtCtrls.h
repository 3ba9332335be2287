// ExtCtrls: TTimer, a component that calls OnTimer every Interval milliseconds while it
// is enabled. It is the only class of this unit.
#pragma once

#include "Classes.h"

class TTimer : public TComponent {
  QV_CLASS(TTimer, TComponent)

  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  // Milliseconds; 0 stops the timer until another interval is set.
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);

  // May free or disable the timer.
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  // Runs a window-system timer exactly while the component is enabled with an interval.
  void UpdateTimer();
  void StopTimer();
  friend struct TimerDispatch;

  bool FEnabled = true;
  uint32_t FInterval = 1000;
  uintptr_t FTimerId = 0;
};
