// Unit gx_winapi: system functions the effects look up at start instead of linking to.
#pragma once

#include "gdi/Blit.h"

using TgxTransparentBltProc = BOOL (*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// TransparentBlt, looked up once (not on systems that report major version 4), or null.
TgxTransparentBltProc gxTransparentBlt();
// Looks the functions up again (the system's answers may have changed; tests).
void gxLoadWinApi();
// Bits per pixel times planes of a DC compatible with the screen.
int32_t gxScreenBitsPerPixel();
