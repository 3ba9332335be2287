// Painting: update regions, paint and window DCs clipped to what of a window is
// visible, and presenting changed pixels of top-level windows to the backend.
#pragma once

#include "win/Window.h"

BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* r);
BOOL ValidateRgn(HWND hwnd, HRGN rgn);
BOOL RedrawWindow(HWND hwnd, const RECT* r, HRGN rgn, UINT flags);
BOOL UpdateWindow(HWND hwnd);
BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL LockWindowUpdate(HWND hwnd);

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
// A DC on the client area (GetDC) or the whole window (GetWindowDC), clipped to what is
// visible. GetDC(nullptr) is a DC on the screen: a surface of the screen's size.
HDC GetDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
// The window that a DC from GetDC/GetWindowDC/BeginPaint belongs to.
HWND WindowFromDC(HDC dc);

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags);

// What of a window can be drawn (surface coordinates of its top-level window): the part
// of its client area (or of its whole window) not covered by ancestors' edges, clipped
// children and higher clipped siblings, within every window region on the way.
Region VisibleRegion(HWND hwnd, bool client);

// The window procedure of a paint message: the next window whose update region is not
// empty, parents before children, or null.
HWND NextWindowToPaint(HWND within);
// Sends WM_PAINT (or a default paint) to every window that needs it, within a window.
void PaintPending(HWND within);
// Copies what changed in every top-level window to its native window.
void PresentChanges();
// Marks a surface area of a top-level window as changed.
void MarkDirty(HWND topLevel, const Region& surfaceArea);
