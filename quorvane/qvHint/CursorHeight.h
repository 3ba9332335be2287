// How far the current mouse cursor's visible shape reaches below its hot spot, so that a
// hint shown at the cursor starts below the shape instead of over it.
#pragma once

// Pixels from the hot spot of the current cursor down to the bottom of its visible
// shape, read from the cursor's monochrome mask; GetSystemMetrics(SM_CYCURSOR) when there
// is no cursor, its mask is not monochrome, or the mask shows nothing.
int GetCursorHeight();
