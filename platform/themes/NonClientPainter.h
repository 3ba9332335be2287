// The frame, caption, caption buttons and frame scroll bars of every window in the active
// custom style's elements: painters the window system asks before its plain look.
#pragma once

#include "win/NonClient.h"

// Installs the painters while a custom style is active and removes them otherwise (the
// system style, themed or classic, keeps the window system's own look).
void ActivateNonClientPainter(bool custom);

// The painters themselves; each answers false when no custom style is active.
bool PaintStyledNonClient(HWND hwnd, HDC windowDC, const NonClientLayout& layout, bool active);
bool PaintStyledScrollBar(HWND hwnd, HDC windowDC, int bar, const RECT& barRect, const ScrollBarPaintInfo& info);
