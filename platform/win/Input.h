// Input state: capture, focus, activation, keyboard state, cursors, mouse tracking and
// hooks.
#pragma once

#include <functional>

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

// Cursors.
HCURSOR LoadCursor(HINSTANCE instance, intptr_t id);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL GetCursorPos(POINT* p);
BOOL SetCursorPos(int x, int y);
constexpr intptr_t IDC_ARROW = 32512;
constexpr intptr_t IDC_IBEAM = 32513;
constexpr intptr_t IDC_WAIT = 32514;
constexpr intptr_t IDC_CROSS = 32515;
constexpr intptr_t IDC_UPARROW = 32516;
constexpr intptr_t IDC_SIZENWSE = 32642;
constexpr intptr_t IDC_SIZENESW = 32643;
constexpr intptr_t IDC_SIZEWE = 32644;
constexpr intptr_t IDC_SIZENS = 32645;
constexpr intptr_t IDC_SIZEALL = 32646;
constexpr intptr_t IDC_NO = 32648;
constexpr intptr_t IDC_HAND = 32649;
constexpr intptr_t IDC_APPSTARTING = 32650;
constexpr intptr_t IDC_HELP = 32651;
// Which standard cursor a handle is (IDC_*), or 0.
intptr_t CursorId(HCURSOR cursor);

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
