#include "win/Timers.h"

#include <algorithm>
#include <limits>

#include "win/Input.h"
#include "win/Queue.h"

namespace {

// Windows raises shorter intervals to this.
constexpr UINT USER_TIMER_MINIMUM = 10;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

struct Timer {
  HWND Hwnd = nullptr;  // null for a thread timer
  uintptr_t Id = 0;
  UINT Interval = 0;
  TIMERPROC Proc = nullptr;
  uint64_t Due = 0;
  uint64_t Order = 0;  // creation order: breaks ties between timers due at once
};

struct TimerState {
  std::vector<Timer> List;
  uint64_t NextOrder = 0;
  uintptr_t NextThreadId = 1;
};

TimerState& State() {
  static TimerState state;
  return state;
}

uint64_t Now() { return CurrentBackend().Now(); }

const HWND kThreadOnly = reinterpret_cast<HWND>(intptr_t(-1));

bool Matches(const Timer& t, HWND filter) {
  if (t.Hwnd && !LiveWindow(t.Hwnd)) return false;
  if (!filter) return true;
  if (filter == kThreadOnly) return t.Hwnd == nullptr;
  return t.Hwnd && (t.Hwnd == filter || IsChild(filter, t.Hwnd));
}

// The timer that fires next among those the filter lets through: earliest due, then
// the one created first.
Timer* NextTimer(HWND filter) {
  Timer* best = nullptr;
  for (Timer& t : State().List)
    if (Matches(t, filter) && (!best || t.Due < best->Due || (t.Due == best->Due && t.Order < best->Order))) best = &t;
  return best;
}

Timer* Find(HWND hwnd, uintptr_t id) {
  for (Timer& t : State().List)
    if (t.Hwnd == hwnd && t.Id == id) return &t;
  return nullptr;
}

}  // namespace

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapseMs, TIMERPROC proc) {
  if (hwnd && !LiveWindow(hwnd)) return 0;
  TimerState& s = State();
  Timer* t = Find(hwnd, id);
  if (!t) {
    if (!hwnd) {
      // A thread timer that does not exist yet gets an id of its own.
      while (Find(nullptr, s.NextThreadId) || s.NextThreadId == 0) ++s.NextThreadId;
      id = s.NextThreadId++;
    }
    s.List.push_back(Timer{hwnd, id, 0, nullptr, 0, 0});
    t = &s.List.back();
  }
  t->Interval = std::clamp(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  t->Proc = proc;
  t->Due = Now() + t->Interval;
  t->Order = s.NextOrder++;
  // A window timer with id 0 exists too, but 0 means failure.
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, uintptr_t id) {
  auto& list = State().List;
  auto it = std::find_if(list.begin(), list.end(), [&](const Timer& t) { return t.Hwnd == hwnd && t.Id == id; });
  if (it == list.end()) return FALSE;
  list.erase(it);
  return TRUE;
}

bool TakeDueTimer(HWND filter, MSG* msg, bool remove) {
  const uint64_t now = Now();
  Timer* t = NextTimer(filter);
  if (!t || t->Due > now) return false;
  if (msg) {
    POINT pt{};
    GetCursorPos(&pt);
    *msg = MSG{t->Hwnd, WM_TIMER, t->Id, reinterpret_cast<LPARAM>(t->Proc), DWORD(now), pt};
  }
  // Periods missed while the program was busy make one message, not a burst.
  if (remove) t->Due = now + t->Interval;
  return true;
}

int64_t TimeToNextTimer(HWND filter) {
  const Timer* t = NextTimer(filter);
  if (!t) return -1;
  const uint64_t now = Now();
  if (t->Due <= now) return 0;
  return int64_t(std::min<uint64_t>(t->Due - now, uint64_t(std::numeric_limits<int64_t>::max())));
}

void KillWindowTimers(HWND hwnd) {
  if (!hwnd) return;
  std::erase_if(State().List, [hwnd](const Timer& t) { return t.Hwnd == hwnd; });
}

void ResetTimers() { State() = TimerState{}; }
