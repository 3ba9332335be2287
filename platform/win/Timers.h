// Window timers in backend time: WM_TIMER for a due timer, or the timer's callback.
#pragma once

#include "win/Window.h"

using TIMERPROC = void (*)(HWND, UINT, uintptr_t, DWORD);

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, uintptr_t id);
// The next due timer's message, taken from the timer list (its next due time moves on).
// The filter is that of GetMessage: null for every timer, a window for its own and its
// descendants' timers, HWND(-1) for thread timers only.
bool TakeDueTimer(HWND filter, MSG* msg, bool remove);
// Milliseconds until the next timer the filter lets through is due (0 when one is due),
// or -1 without such timers.
int64_t TimeToNextTimer(HWND filter = nullptr);
void KillWindowTimers(HWND hwnd);
void ResetTimers();
