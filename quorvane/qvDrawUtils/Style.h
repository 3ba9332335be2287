// The look a routine draws in, the operating system's version as the drawing paths need
// it, and two small rectangle helpers.
#pragma once

#include "gdi/Types.h"

// The three looks, decided at each call: a custom style is active (styled), the style
// services are enabled (themed: a custom style or the system's visual styles), or
// neither (classic).
enum TqvsStyleMode { qvsmClassic, qvsmThemed, qvsmStyled };

// A custom style (not the system style "Windows") is active.
bool IsCustomStyle();
// The active style services are enabled; true whenever IsCustomStyle is.
bool IsThemed();
// qvsmStyled when IsCustomStyle, else qvsmThemed when IsThemed, else qvsmClassic.
TqvsStyleMode StyleMode();

// Version predicates over the numbers InitWindowsVersion took.
bool IsWindows10();  // major > 9
bool IsWindows8();   // 6.2 and 6.3
bool IsWindows7();   // 6.1
bool IsWindowsXP();  // 5.1
// Takes major and minor from the operating system's answers. Runs once at start-up; call
// it again after changing the answers (TOSAnswersOverride) so the predicates follow.
void InitWindowsVersion();

// Right and bottom edges count as inside, unlike RECT::Contains.
bool PointInRect(const TRect& Rect, const TPoint& Point);
// Moves R to Bounds.Left and to the vertical middle of Bounds (rounded toward zero),
// keeping its size, and returns the moved rectangle.
TRect CenterRectVert(TRect& R, const TRect& Bounds);
