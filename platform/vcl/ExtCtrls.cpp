#include "ExtCtrls.h"

#include <map>

#include "win/Timers.h"

// Thread timers with a callback: no window is needed, and WM_TIMER still passes through
// the application's loop (and its OnMessage) like any other message.
struct TimerDispatch {
  static std::map<uintptr_t, TTimer*>& Timers() {
    static std::map<uintptr_t, TTimer*> timers;
    return timers;
  }

  static void Proc(HWND, UINT, uintptr_t id, DWORD) {
    auto it = Timers().find(id);
    if (it != Timers().end()) it->second->Timer();
  }
};

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() { StopTimer(); }

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(uint32_t Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::Timer() {
  // The handler may free this timer: it runs from a copy, and nothing here touches the
  // object afterwards.
  if (TNotifyEvent handler = OnTimer) handler(this);
}

void TTimer::StopTimer() {
  if (!FTimerId) return;
  auto& timers = TimerDispatch::Timers();
  auto it = timers.find(FTimerId);
  // A reset window system may have handed the id to another timer meanwhile.
  if (it != timers.end() && it->second == this) {
    KillTimer(nullptr, FTimerId);
    timers.erase(it);
  }
  FTimerId = 0;
}

void TTimer::UpdateTimer() {
  StopTimer();
  if (!FEnabled || FInterval == 0) return;
  FTimerId = SetTimer(nullptr, 0, FInterval, &TimerDispatch::Proc);
  if (FTimerId) TimerDispatch::Timers()[FTimerId] = this;
}
