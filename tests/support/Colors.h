// Colour checks for fades and blends: where a linear blend should land, and a match that
// allows for rounding.
#pragma once

#include <gtest/gtest.h>

#include "gdi/Types.h"

// The linear blend of two colours at progress p, per channel, rounded.
COLORREF LinearBlend(COLORREF from, COLORREF to, double p);

// Succeeds when no channel of actual is further than tolerance from expected.
::testing::AssertionResult NearColor(COLORREF actual, COLORREF expected, int tolerance = 1);
