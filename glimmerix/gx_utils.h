// Unit gx_utils: rectangle arithmetic, control geometry and processor tests used by the
// effect bitmap and the effects.
#pragma once

#include "gdi/Types.h"

class TControl;

inline int32_t gxRectWidth(const TRect& R) { return R.Right - R.Left; }
inline int32_t gxRectHeight(const TRect& R) { return R.Bottom - R.Top; }
// Width or height below 1.
inline bool gxRectIsEmpty(const TRect& R) { return gxRectWidth(R) < 1 || gxRectHeight(R) < 1; }
// R moved so that it is centred in Bounds (offsets rounded toward zero); its size is kept.
TRect gxCenterRect(const TRect& R, const TRect& Bounds);

// The client rectangle of a control in the coordinates of its own bounds (origin at its
// top-left outer corner). Controls without a window have their client area at (0, 0).
TRect gxGetControlClientRect(TControl* Control);

// What the processor reports through CPUID (false / 0 where there is no CPUID).
bool gxCPUIDSupported();
// Bits 8 to 11 of the signature.
int32_t gxCPUFamily();
bool gxHasMMX();
bool gxHasSSE2();
