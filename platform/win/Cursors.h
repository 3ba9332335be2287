// Cursors: the standard shapes (IDC_*), cursors made from masks, the current cursor (the
// backend shows it), and their masks through GetIconInfo.
#pragma once

#include "gdi/Objects.h"
#include "win/Messages.h"

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

// A standard cursor (a program of ours has no cursor resources: instance must be null).
HCURSOR LoadCursor(HINSTANCE instance, intptr_t id);
// Makes the cursor current and has the backend show it; null hides the cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Which standard cursor a handle is (IDC_*), or 0.
intptr_t CursorId(HCURSOR cursor);

// A monochrome cursor from an AND mask and an XOR mask, each height rows of width bits
// (rows padded to 16 bits): AND 1 and XOR 0 is transparent, AND 0 shows the XOR bit as
// white (1) or black (0). Null for a bad size or hot spot.
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane);
// Frees a cursor made by CreateCursor (standard cursors stay); the current cursor cannot
// be destroyed.
BOOL DestroyCursor(HCURSOR cursor);

struct ICONINFO {
  BOOL fIcon = FALSE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;   // monochrome: the AND mask above the XOR mask (twice as high)
  HBITMAP hbmColor = nullptr;  // null for monochrome cursors
};
// The cursor's hot spot and new copies of its masks, which the caller deletes.
BOOL GetIconInfo(HCURSOR cursor, ICONINFO* info);

// Forgets the current cursor and the made ones (a fresh window system).
void ResetCursors();
