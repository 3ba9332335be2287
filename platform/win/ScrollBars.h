// Scroll bars of a window's frame and the "ScrollBar" control: their data, geometry,
// drawing and mouse tracking.
#pragma once

#include "win/Window.h"

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info);

// The "ScrollBar" window class: its client area is one bar (SBS_HORZ or SBS_VERT) whose
// state the scroll calls reach with SB_CTL (GetScrollBarInfo with OBJID_CLIENT). A press
// or a key sends WM_HSCROLL / WM_VSCROLL to the parent with lParam the control's handle.
constexpr const char* kScrollBarClass = "ScrollBar";
// Registers a built-in class of the window system named className when it is one and
// not yet registered; true when it is registered now.
bool EnsureSystemClass(const String& className);
bool IsScrollBarControl(HWND hwnd);

// Parts of a scroll bar, for hit tests and drawing.
enum ScrollBarPart { sbpNone, sbpLineUp, sbpPageUp, sbpThumb, sbpPageDown, sbpLineDown };

// The bar's rectangle in window coordinates (empty when the window shows none).
RECT ScrollBarRect(HWND hwnd, int bar);
ScrollBarPart ScrollBarHitTest(HWND hwnd, int bar, POINT windowPoint);
// Draws the frame scroll bars of a window into a DC on the whole window.
void DrawScrollBars(HWND hwnd, HDC windowDC);

// Where the parts of a scroll bar lie: lengths are along the bar from its start.
struct ScrollBarGeometry {
  RECT Bar{};  // window coordinates (or any the caller chose)
  bool Vertical = true;
  bool Enabled = true;  // not disabled as a whole, and its window enabled
  int Arrow = 0;        // length of each arrow button
  int ThumbStart = 0;   // the thumb, or 0 and 0 when none shows
  int ThumbEnd = 0;
};
ScrollBarGeometry ComputeScrollBarGeometry(const RECT& bar, bool vertical, const ScrollBarState& s, bool enabled);
ScrollBarPart ScrollBarPartAt(const ScrollBarGeometry& g, POINT p);
RECT ScrollBarPartRect(const ScrollBarGeometry& g, ScrollBarPart part);
// The highest position the bar scrolls to: max - max(page - 1, 0), never below min.
int MaxScrollPos(const ScrollBarState& s);
// The position a thumb starting at the given length along the bar stands for.
int ScrollPosFromThumb(const ScrollBarGeometry& g, const ScrollBarState& s, int thumbStart);
// A window's frame scroll bar or a control's bar: geometry in window coordinates, and its
// state (null for a dead handle, a bar other than SB_VERT / SB_HORZ, or SB_CTL of a window
// that is no scroll bar control).
ScrollBarGeometry ScrollBarGeometryOf(HWND hwnd, int bar);
ScrollBarState* ScrollBarStateOf(HWND hwnd, int bar);
// Draws one bar in the plain light look, the hot part highlighted.
void PaintScrollBar(HDC dc, const ScrollBarGeometry& g, const ScrollBarState& s, ScrollBarPart hot);
// Draws a frame scroll bar of a window now, through a window DC.
void RedrawScrollBar(HWND hwnd, int bar);

// Runs the tracking loop after a press on a frame scroll bar (WM_NCLBUTTONDOWN with
// HTVSCROLL/HTHSCROLL, by way of WM_SYSCOMMAND SC_VSCROLL/SC_HSCROLL) or, with SB_CTL, on
// a scroll bar control: repeats line and page scrolls, drags the thumb.
void TrackScrollBar(HWND hwnd, int bar, POINT screenPoint);
