// Whether the process draws themed: the theme switches of the system's theme library.
// Themes start on, unless the environment variable QV_CLASSIC is 1; SetThemeAppProperties(0)
// switches them off for the process (classic mode): the system style's services then
// answer Enabled() false and the system colours become those of a classic desktop.
#pragma once

#include "gdi/Types.h"

constexpr DWORD STAP_ALLOW_NONCLIENT = 0x1;
constexpr DWORD STAP_ALLOW_CONTROLS = 0x2;
constexpr DWORD STAP_ALLOW_WEBCONTENT = 0x4;
constexpr DWORD STAP_VALIDBITS = STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT;

DWORD GetThemeAppProperties();
// Changing whether controls are themed repaints every window (as a style change does).
void SetThemeAppProperties(DWORD flags);
// Themes are available on this system.
BOOL IsThemeActive();
// This process draws its controls themed.
BOOL IsAppThemed();
