// Hints: TqvHint shows a styled tooltip on request (plain, or with a title and an image,
// optionally fading in), and TqvBalloonHint is a balloon hint placed below the mouse
// cursor's visible shape; GetCursorHeight measures that shape.
#pragma once

#include "qvHint/BalloonHint.h"
#include "qvHint/CursorHeight.h"
#include "qvHint/Hint.h"
#include "qvHint/HintWindow.h"
