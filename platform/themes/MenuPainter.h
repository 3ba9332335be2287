// Popup menus and menu bars painted with the active style's menu elements: the painter the
// window system's menu loop asks before its plain look.
#pragma once

#include "win/MenuLoop.h"

// Points MenuPainterHook at the style services (once).
void InstallMenuPainter();

// The painter itself; false while themes are off (the window system's plain look stays).
bool PaintStyledMenu(HDC DC, const RECT& R, MenuPaintPart Part, const MenuItemPaint* Item);
