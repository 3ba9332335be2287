// A bitmap to draw text on and compare: the same font and background on both sides.
#pragma once

#include "vcl/Graphics.h"

// Makes B a white 32-bit bitmap of the given size whose canvas writes black 13-pixel
// Tahoma without filling behind the text.
void PrepareTextBitmap(TBitmap& B, int Width, int Height);
