// Input state: capture, focus, activation, keyboard state, cursors, mouse tracking and
// hooks.
#pragma once

#include <functional>

#include "win/Cursors.h"
#include "win/Window.h"

HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
short GetKeyState(int vkey);
short GetAsyncKeyState(int vkey);
BOOL GetKeyboardState(BYTE* keys);
// The longest time between the presses of a double click, in milliseconds.
UINT GetDoubleClickTime();

BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);

// TME_LEAVE with or without TME_NONCLIENT, TME_CANCEL and TME_QUERY; TME_HOVER gives no
// WM_MOUSEHOVER.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);

// Hooks.
constexpr int WH_MSGFILTER = -1;
constexpr int WH_MOUSE_LL = 14;
constexpr int HC_ACTION = 0;
constexpr int MSGF_MENU = 2;
constexpr int MSGF_DIALOGBOX = 0;
struct MSLLHOOKSTRUCT {
  POINT pt{};
  DWORD mouseData = 0;
  DWORD flags = 0;
  DWORD time = 0;
  uintptr_t dwExtraInfo = 0;
};
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE instance, DWORD threadId);
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
// Runs the hooks of a kind, newest first; true when one of them ate the event.
bool CallHooks(int idHook, int code, WPARAM wParam, LPARAM lParam);

// Turns one backend input event into window messages (posted, in order).
void RouteInput(const InputEvent& e);
// Tells the input state that a window goes away (capture, focus, tracking, activation).
void ForgetWindowInput(HWND hwnd);
void ResetInput();
