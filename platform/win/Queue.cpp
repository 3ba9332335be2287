#include "win/Queue.h"

#include <deque>
#include <limits>
#include <set>
#include <utility>
#include <stdexcept>

#include "backend/Headless.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Timers.h"

namespace {

struct QueueState {
  std::deque<MSG> Posted;
  bool QuitPending = false;
  int QuitCode = 0;
  int SendDepth = 0;
  MSG Last{};  // the last message a loop took, for GetMessageTime / GetMessagePos
};

QueueState& State() {
  static QueueState state;
  return state;
}

// GetMessage's hwnd filter HWND(-1): messages posted to the thread only.
const HWND kThreadOnly = reinterpret_cast<HWND>(intptr_t(-1));

bool WindowMatches(HWND hwnd, HWND filter) {
  if (!filter) return true;
  if (filter == kThreadOnly) return hwnd == nullptr;
  return hwnd && (hwnd == filter || IsChild(filter, hwnd));
}

bool RangeMatches(UINT msg, UINT filterMin, UINT filterMax) {
  if (filterMin == 0 && filterMax == 0) return true;
  return msg >= filterMin && msg <= filterMax;
}

POINT CursorNow() {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

// Messages to windows destroyed after they were posted are never delivered.
void DropMessagesForDeadWindows() {
  std::erase_if(State().Posted, [](const MSG& m) { return m.hwnd && !LiveWindow(m.hwnd); });
}

bool TakePosted(MSG* out, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
  DropMessagesForDeadWindows();
  auto& posted = State().Posted;
  for (auto it = posted.begin(); it != posted.end(); ++it) {
    if (!WindowMatches(it->hwnd, filter) || !RangeMatches(it->message, filterMin, filterMax)) continue;
    *out = *it;
    if (remove) posted.erase(it);
    return true;
  }
  return false;
}

// Routes one backend event; the next one is routed only once the messages before it
// were taken, so that it meets the focus and capture they leave behind.
bool PumpOneEvent() {
  InputEvent e;
  if (!CurrentBackend().PollEvent(&e)) return false;
  RouteInput(e);
  return true;
}

bool Peek(MSG* out, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
  QueueState& s = State();
  for (;;) {
    if (TakePosted(out, filter, filterMin, filterMax, remove)) return true;
    // WM_QUIT comes once the posted messages before it are gone, whatever the filter.
    if (s.QuitPending) {
      *out = MSG{nullptr, WM_QUIT, WPARAM(s.QuitCode), 0, GetTickCount(), CursorNow()};
      if (remove) s.QuitPending = false;
      return true;
    }
    if (!PumpOneEvent()) break;
  }
  if (filter != kThreadOnly && RangeMatches(WM_PAINT, filterMin, filterMax)) {
    if (HWND hwnd = NextWindowToPaint(filter)) {
      *out = MSG{hwnd, WM_PAINT, 0, 0, GetTickCount(), CursorNow()};
      return true;
    }
  }
  if (RangeMatches(WM_TIMER, filterMin, filterMax) && TakeDueTimer(filter, out, remove)) return true;
  return false;
}

// What a loop does when it has nothing: show what changed, free what was destroyed,
// then wait for input or the next timer the loop could take.
void WaitForWork(HWND filter, UINT filterMin, UINT filterMax) {
  PresentChanges();
  DropMessagesForDeadWindows();
  ReleaseDestroyedWindows();
  const int64_t next = RangeMatches(WM_TIMER, filterMin, filterMax) ? TimeToNextTimer(filter) : -1;
  if (HeadlessBackend* headless = Headless()) {
    // Nothing arrives by itself there: the clock moves to the next timer, or nothing
    // ever will.
    if (headless->PendingEvents()) return;
    if (next < 0) throw std::logic_error("GetMessage would wait forever: nothing can arrive on the headless backend");
    headless->Advance(uint64_t(next));
    return;
  }
  const uint32_t timeout = next < 0 ? std::numeric_limits<uint32_t>::max()
                                    : uint32_t(std::min<int64_t>(next, std::numeric_limits<uint32_t>::max()));
  CurrentBackend().WaitForEvent(timeout);
}

void Remember(const MSG& msg) { State().Last = msg; }

struct SendScope {
  SendScope() { ++State().SendDepth; }
  ~SendScope() { --State().SendDepth; }
  SendScope(const SendScope&) = delete;
  SendScope& operator=(const SendScope&) = delete;
};

}  // namespace

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !w->Proc) return 0;
  SendScope scope;
  return w->Proc(hwnd, msg, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (hwnd && !LiveWindow(hwnd)) return FALSE;
  State().Posted.push_back(MSG{hwnd, msg, wParam, lParam, GetTickCount(), CursorNow()});
  return TRUE;
}

void PostInput(const MSG& msg) {
  if (msg.hwnd && !LiveWindow(msg.hwnd)) return;
  State().Posted.push_back(msg);
}

void PostQuitMessage(int exitCode) {
  State().QuitPending = true;
  State().QuitCode = exitCode;
}

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  if (hwnd && hwnd != kThreadOnly && !LiveWindow(hwnd)) return FALSE;
  MSG m;
  if (!Peek(&m, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return FALSE;
  Remember(m);
  *msg = m;
  return TRUE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return FALSE;
  for (;;) {
    // Windows answers -1 for a window that is not there (any more).
    if (hwnd && hwnd != kThreadOnly && !LiveWindow(hwnd)) return -1;
    MSG m;
    if (Peek(&m, hwnd, filterMin, filterMax, true)) {
      Remember(m);
      *msg = m;
      return m.message != WM_QUIT;
    }
    WaitForWork(hwnd, filterMin, filterMax);
  }
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  const UINT m = msg->message;
  if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN) return m == WM_KEYUP || m == WM_SYSKEYUP;
  const UINT vk = UINT(msg->wParam);
  const bool ctrl = GetKeyState(VK_CONTROL) < 0, alt = GetKeyState(VK_MENU) < 0;
  WPARAM ch = 0;
  switch (vk) {
    case VK_RETURN: ch = '\r'; break;
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_ESCAPE: ch = 27; break;
    default:
      if (vk >= 'A' && vk <= 'Z') {
        if (ctrl && !alt)
          ch = vk - 'A' + 1;
        else if (m == WM_SYSKEYDOWN)
          ch = GetKeyState(VK_SHIFT) < 0 ? vk : vk - 'A' + 'a';  // Alt+letter: a menu mnemonic
      } else if (vk >= '0' && vk <= '9' && m == WM_SYSKEYDOWN) {
        ch = vk;
      }
      break;
  }
  if (ch) {
    // The character comes next, before anything posted meanwhile.
    const UINT charMsg = m == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    State().Posted.push_front(MSG{msg->hwnd, charMsg, ch, msg->lParam, msg->time, msg->pt});
  }
  return TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    // Counts as a handler on the stack, like a window procedure.
    SendScope scope;
    reinterpret_cast<TIMERPROC>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  if (!msg->hwnd) return 0;
  const LRESULT result = SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
  // A procedure that ignores WM_PAINT would otherwise get it again forever: paint by
  // default what it left.
  if (msg->message == WM_PAINT && LiveWindow(msg->hwnd) && NextWindowToPaint(msg->hwnd) == msg->hwnd) {
    PAINTSTRUCT ps;
    if (BeginPaint(msg->hwnd, &ps)) EndPaint(msg->hwnd, &ps);
  }
  return result;
}

BOOL WaitMessage() {
  PumpBackendInput();
  QueueState& s = State();
  if (!s.Posted.empty() || s.QuitPending || NextWindowToPaint(nullptr) || TimeToNextTimer() == 0) return TRUE;
  WaitForWork(nullptr, 0, 0);
  return TRUE;
}

LONG GetMessageTime() { return LONG(State().Last.time); }

DWORD GetMessagePos() { return MAKELONG(WORD(State().Last.pt.X), WORD(State().Last.pt.Y)); }

DWORD GetTickCount() { return DWORD(CurrentBackend().Now()); }

uint64_t GetTickCount64() { return CurrentBackend().Now(); }

BOOL InSendMessage() { return State().SendDepth > 0; }

void PumpBackendInput() {
  while (PumpOneEvent()) {
  }
}

BOOL ProcessPendingMessages() {
  BOOL running = TRUE;
  // A timer whose handler takes longer than its period is due again at once: it fires
  // once per call and is left for the next one, or the call would never end.
  std::set<std::pair<HWND, WPARAM>> timersFired;
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left in place: the loop that owns the application ends on it, not this one.
      running = FALSE;
      break;
    }
    if (msg.message == WM_TIMER && !timersFired.insert({msg.hwnd, msg.wParam}).second) break;
    PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  PresentChanges();
  DropMessagesForDeadWindows();
  ReleaseDestroyedWindows();
  return running;
}

void ResetQueue() {
  QueueState& s = State();
  s.Posted.clear();
  s.QuitPending = false;
  s.QuitCode = 0;
  s.Last = MSG{};
  InputEvent e;
  while (CurrentBackend().PollEvent(&e)) {
  }
}
