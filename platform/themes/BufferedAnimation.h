// Buffered animation of the theme library: a window paints the old and the new look of
// an area into two buffers, and the service cross-fades between them on the window over a
// duration, frame by frame, on the message loop's clock.
//
// One animation runs per window; beginning another one while it runs takes the frame on
// screen as its starting image (no "from" DC is handed out then), so a change in the
// middle of a fade continues smoothly from what is shown. While an animation runs, a
// window timer asks the window for a frame about every 15 ms by invalidating its client
// area; the window's paint calls BufferedPaintRenderAnimation, which paints the frame.
// Everything an animation holds is freed when it ends, when it is stopped, and when its
// window is destroyed.
#pragma once

#include <cstdint>

#include "gdi/Gdi.h"
#include "win/Window.h"

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);

// An animation between BeginBufferedAnimation and EndBufferedAnimation.
struct BufferedAnimation;
using HANIMATIONBUFFER = BufferedAnimation*;

// The pixels of the buffers: compatible bitmaps copy as opaque; DIBs keep their alpha.
enum BP_BUFFERFORMAT : int32_t {
  BPBF_COMPATIBLEBITMAP = 0,
  BPBF_DIB = 1,
  BPBF_TOPDOWNDIB = 2,
  BPBF_TOPDOWNMONODIB = 3,
};

enum BP_ANIMATIONSTYLE : int32_t {
  BPAS_NONE = 0,
  BPAS_LINEAR = 1,
  BPAS_CUBIC = 2,
  BPAS_SINE = 3,
};

struct BP_ANIMATIONPARAMS {
  DWORD cbSize = sizeof(BP_ANIMATIONPARAMS);
  DWORD dwFlags = 0;
  BP_ANIMATIONSTYLE style = BPAS_LINEAR;
  DWORD dwDuration = 0;  // milliseconds; 0 paints the new image at once
};
static_assert(sizeof(BP_ANIMATIONPARAMS) == 16, "the record is four 32-bit fields");

// BPPF_ERASE: the buffers start cleared (0x00000000) instead of holding a copy of the
// target's pixels. The other flags are accepted and change nothing here.
constexpr DWORD BPPF_ERASE = 0x0001;
constexpr DWORD BPPF_NOCLIP = 0x0002;
constexpr DWORD BPPF_NONCLIENT = 0x0004;

struct BP_PAINTPARAMS {
  DWORD cbSize = sizeof(BP_PAINTPARAMS);
  DWORD dwFlags = 0;
  const RECT* prcExclude = nullptr;
  const BLENDFUNCTION* pBlendFunction = nullptr;
};

// Starts an animation of the rectangle Target (logical coordinates of TargetDC) of the
// window. Both DCs handed out are memory DCs of the rectangle's size whose coordinates are
// those of TargetDC. ToDC always receives a DC; FromDC receives one only when the duration
// is above 0 and no animation of the same size runs in the window (otherwise null). Null
// when the binding is absent, an argument is invalid (dead window or DC, no or an empty
// rectangle, a parameter record of the wrong size) or the buffers cannot be had.
HANIMATIONBUFFER BeginBufferedAnimation(HWND Window, HDC TargetDC, const RECT* Target, BP_BUFFERFORMAT Format,
                                        const BP_PAINTPARAMS* PaintParams, const BP_ANIMATIONPARAMS* AnimationParams,
                                        HDC* FromDC, HDC* ToDC);
// Ends what Begin started and frees its DCs. With UpdateTarget: a duration of 0 paints the
// new image into the target DC and stops the window's running animation; otherwise the
// first frame (the old image) is painted and the animation starts, replacing any running
// one. E_INVALIDARG for a handle that is not (or no longer) a begun animation.
HRESULT EndBufferedAnimation(HANIMATIONBUFFER Animation, BOOL UpdateTarget);
// Paints the window's running animation into DC for the current clock: the linear blend
// from the old to the new image, or, once the duration is over, the new image, after
// which the animation ends (when the window has not been asked for its last frame yet, it
// is invalidated, so that the screen gets it too). TRUE when it painted; FALSE when no
// animation runs.
BOOL BufferedPaintRenderAnimation(HWND Window, HDC DC);
// Ends the window's running animation; when it had not painted its last frame yet, the
// window is invalidated so that it paints its current look. E_INVALIDARG for a dead window.
HRESULT BufferedPaintStopAllAnimations(HWND Window);

// Whether the service can be reached (the theme library's bindings are present). It
// always is here; tests switch it off to check the paths of systems without it, and the
// four functions then fail.
bool BufferedAnimationBindingPresent();
void SetBufferedAnimationBindingPresent(bool Present);
// Animations running or begun and not yet ended (tests).
size_t BufferedAnimationCount();
