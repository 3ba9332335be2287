// Windows: classes, the window tree, window data, placement and geometry.
//
// Only top-level windows are native windows of the backend; a child window is a
// rectangle of its top-level window's surface. Window rectangles are kept relative to
// the parent's client area (screen coordinates for top-level windows); the client
// rectangle is kept relative to the window's own top-left corner.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "backend/Backend.h"
#include "gdi/Region.h"
#include "win/Messages.h"

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;  // a brush, or (HBRUSH)(COLOR_x + 1)
  String lpszMenuName{};
  String lpszClassName{};
};

struct WindowClassRecord {
  WNDCLASS Info;
  ATOM Atom = 0;
};

// A scroll bar of a window's frame (WS_VSCROLL / WS_HSCROLL).
struct ScrollBarState {
  int Min = 0;
  int Max = 100;
  UINT Page = 0;
  int Pos = 0;
  int TrackPos = 0;
  bool Tracking = false;
  UINT Disabled = ESB_ENABLE_BOTH;  // ESB_DISABLE_* arrows
  bool Hidden = false;              // ShowScrollBar(FALSE) with the style still set
  int PressedPart = 0;              // the part the mouse holds down, 0 for none
};

struct WindowObject {
  WindowClassRecord* Class = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND Parent = nullptr;            // child windows
  HWND Owner = nullptr;             // top-level windows
  std::vector<HWND> Children;       // z-order, topmost first
  RECT Window{};                    // parent's client coordinates; screen for top-level
  RECT Client{};                    // relative to the window's top-left corner
  WNDPROC Proc = nullptr;
  intptr_t UserData = 0;
  intptr_t Id = 0;
  HMENU Menu = nullptr;
  String Text;
  std::map<String, intptr_t> Props;

  // Painting: the update region (client coordinates), whether WM_ERASEBKGND is due and
  // whether the frame needs WM_NCPAINT.
  Region Update;
  bool EraseDue = false;
  bool FrameDue = false;
  bool InternalPaint = false;
  bool RedrawOff = false;  // WM_SETREDRAW FALSE
  bool Painting = false;   // inside BeginPaint/EndPaint

  ScrollBarState VScroll;
  ScrollBarState HScroll;
  ScrollBarState Control;       // SB_CTL of a "ScrollBar" window
  bool ScrollBarControl = false;  // its procedure is (or subclasses) the "ScrollBar" one
  std::optional<Region> Shape;  // SetWindowRgn, window coordinates
  BYTE Alpha = 255;             // SetLayeredWindowAttributes
  bool Minimized = false;
  bool Maximized = false;
  RECT RestoreBounds{};         // placement before minimise or maximise

  // Top-level windows only: the native window and the pixels it shows, and what of them
  // changed since the last present (surface = window coordinates).
  NativeWindowId Native = 0;
  std::unique_ptr<Surface> Pixels;
  Region Dirty;

  bool Destroying = false;
};

// ---- classes ----
ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const String& name, HINSTANCE instance);
BOOL GetClassInfo(HINSTANCE instance, const String& name, WNDCLASS* wc);
int GetClassName(HWND hwnd, String* name);
constexpr int GCL_STYLE = -26;
constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
intptr_t GetClassLongPtr(HWND hwnd, int index);
intptr_t SetClassLongPtr(HWND hwnd, int index, intptr_t value);

// ---- creation and the tree ----
// Told about every window CreateWindowEx made (the style engine hooks windows it knows by
// their class name); unset, it costs nothing.
extern std::function<void(HWND)> WindowCreatedHook;
constexpr int CW_USEDEFAULT = int(0x80000000);
HWND CreateWindowEx(DWORD exStyle, const String& className, const String& windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
// The live window behind a handle, or null.
WindowObject* LiveWindow(HWND hwnd);
HWND SetParent(HWND child, HWND newParent);
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
// Top-level windows, topmost first.
const std::vector<HWND>& TopLevelWindows();
BOOL EnumChildWindows(HWND parent, const std::function<BOOL(HWND)>& proc);

intptr_t GetWindowLongPtr(HWND hwnd, int index);
intptr_t SetWindowLongPtr(HWND hwnd, int index, intptr_t value);
inline LONG GetWindowLong(HWND hwnd, int index) { return LONG(GetWindowLongPtr(hwnd, index)); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) { return LONG(SetWindowLongPtr(hwnd, index, value)); }
LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

BOOL SetWindowText(HWND hwnd, const String& text);
int GetWindowText(HWND hwnd, String* text);
int GetWindowTextLength(HWND hwnd);
BOOL SetProp(HWND hwnd, const String& name, intptr_t value);
intptr_t GetProp(HWND hwnd, const String& name);
intptr_t RemoveProp(HWND hwnd, const String& name);
int GetDlgCtrlID(HWND hwnd);

// ---- placement ----
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowRect(HWND hwnd, RECT* r);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* r);  // (0, 0, width, height)
BOOL ClientToScreen(HWND hwnd, POINT* p);
BOOL ScreenToClient(HWND hwnd, POINT* p);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle);
HWND WindowFromPoint(POINT screen);
HWND ChildWindowFromPoint(HWND parent, POINT client);
HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags);
int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw);  // takes ownership of rgn
int GetWindowRgn(HWND hwnd, HRGN rgn);
constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);

// The window's rectangle in its top-level window's coordinates, and its client
// rectangle likewise: where it lies on the top-level surface.
RECT WindowRectInTopLevel(HWND hwnd);
RECT ClientRectInTopLevel(HWND hwnd);
HWND TopLevelOf(HWND hwnd);
// What kind of native window a top-level window is: captionless owned popups and tool
// popups are popups (never activated by a click), the rest normal windows.
NativeWindowKind NativeKindOf(const WindowObject* w);

// ---- system ----
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFIXEDFRAME = 7;
constexpr int SM_CYFIXEDFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CMONITORS = 80;
constexpr int SM_CXPADDEDBORDER = 92;
constexpr int SM_SWAPBUTTON = 23;
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETFOCUSBORDERWIDTH = 0x200E;
constexpr UINT SPI_GETFOCUSBORDERHEIGHT = 0x2010;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
BOOL SystemParametersInfo(UINT action, UINT param, void* out, UINT winIni);

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor{};
  RECT rcWork{};
  DWORD dwFlags = 0;
};
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT p, DWORD flags);
HMONITOR MonitorFromRect(const RECT* r, DWORD flags);
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);
// The work area of the monitor that holds (or is nearest to) a screen point.
RECT WorkAreaFromPoint(POINT p);
// Keeps r inside area (moved, not resized; the top-left corner wins when r is larger).
RECT KeepRectInside(RECT r, const RECT& area);

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONASTERISK = 0x40;
BOOL MessageBeep(UINT type);

// Removes every window and class and resets the window system to its state at start;
// for tests, after each of which nothing should be left.
void ResetWindowSystem();
// Frees destroyed windows once no message handler runs any more (the loop calls it).
void ReleaseDestroyedWindows();
