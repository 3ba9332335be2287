#include "qvControls/ActiveControl.h"

#include <memory>

#include "gdi/Gdi.h"
#include "qvDrawUtils/Bitmaps.h"
#include "themes/BufferedAnimation.h"
#include "vcl/ExtCtrls.h"
#include "win/Input.h"
#include "win/Timers.h"

TqvCustomActiveControl::TqvCustomActiveControl(TComponent* AOwner) : TqvCustomControl(AOwner) {}

TqvCustomActiveControl::~TqvCustomActiveControl() {
  if (FMouseTimer) {
    FMouseTimer->SetEnabled(false);
    FMouseTimer->Free();
    FMouseTimer = nullptr;
  }
}

TqvsCtrlState TqvCustomActiveControl::GetCtrlState() {
  if (!Enabled()) return qvsDisabled;
  return FMouseIn ? qvsHot : qvsNormal;
}

// ---- mouse tracking ----

void TqvCustomActiveControl::StartMouseTimer() {
  StopMouseTimer();
  FMouseTimer = new TTimer(this);
  FMouseTimer->SetInterval(kMouseLeavePoll);
  FMouseTimer->OnTimer = [this](TObject* Sender) { DoMouseTimer(Sender); };
  FMouseTimer->SetEnabled(true);
}

void TqvCustomActiveControl::StopMouseTimer() {
  if (!FMouseTimer) return;
  TTimer* timer = FMouseTimer;
  FMouseTimer = nullptr;
  timer->SetEnabled(false);
  // This may run inside the timer's own handler: the loop frees it once that is over (and
  // the control, its owner, frees it if it goes first).
  timer->Release();
}

void TqvCustomActiveControl::MouseEntered() {
  FMouseIn = true;
  StartMouseTimer();
  DoMouseEnter();
}

void TqvCustomActiveControl::MouseLeft() {
  StopMouseTimer();
  FMouseIn = false;
  DoMouseLeave();
}

void TqvCustomActiveControl::DoMouseTimer(TObject*) {
  POINT cursor{};
  GetCursorPos(&cursor);
  if (HandleAllocated() && WindowFromPoint(cursor) == WindowHandle()) return;
  MouseLeft();
}

void TqvCustomActiveControl::DoMouseEnter() {
  if (FAnimation && CanAnimate()) StartAnimation();
  RePaintControl();
}

void TqvCustomActiveControl::DoMouseLeave() {
  if (FAnimation && CanAnimate()) StartAnimation();
  RePaintControl();
}

// ---- the animation window ----

bool TqvCustomActiveControl::BufferedAnimationAvailable() {
  return CheckWin32Version(6, 0) && BufferedAnimationBindingPresent();
}

bool TqvCustomActiveControl::CanAnimate() {
  if (ComponentState().Contains(csDesigning) || !Enabled() || !Visible() || !FAnimation) return false;
  const TqvsCtrlState state = GetCtrlState();
  const bool fades = state == qvsNormal || state == qvsHot || (state == qvsFocused && CanAnimateFocused());
  return fades && BufferedAnimationAvailable();
}

void TqvCustomActiveControl::StartAnimation() {
  FCanAnimate = true;
  HWND window = Handle();
  KillTimer(window, kAnimationTimerId);
  SetTimer(window, kAnimationTimerId, kAnimationWindow, nullptr);
}

void TqvCustomActiveControl::StopAnimation() {
  FCanAnimate = false;
  if (BufferedAnimationAvailable() && HandleAllocated()) BufferedPaintStopAllAnimations(WindowHandle());
}

// ---- painting ----

void TqvCustomActiveControl::Paint() {
  // A child taking this control's background layer gets it the plain way; the fade on
  // screen is none of its business.
  if (FGetControlBG) {
    TqvCustomControl::Paint();
    return;
  }
  // A copy (a grab) shows the frame on screen, or the control as it is, and neither starts
  // nor ends a fade.
  const bool copy = ControlState().Contains(csPaintCopy);
  if (FCanAnimate && CanAnimate()) {
    HDC dc = Canvas()->Handle();
    // A running fade shows its frame, unless the state changed again meanwhile: then a new
    // fade starts from the frame on screen, so that it ends in the current state.
    if (GetCtrlState() == FOldCtrlState && BufferedPaintRenderAnimation(WindowHandle(), dc)) return;
    if (!copy && AnimatePaint(dc)) return;
    // No animation could be begun: this pass paints the plain way.
  }
  if (copy) {
    TqvCustomControl::Paint();
    return;
  }
  // What is painted now replaces a fade still running (a press, a move): its frames must
  // not come back over it, and the next fade starts from this state.
  if (BufferedAnimationAvailable() && HandleAllocated()) BufferedPaintStopAllAnimations(WindowHandle());
  TqvCustomControl::Paint();
  FOldCtrlState = GetCtrlState();
}

bool TqvCustomActiveControl::AnimatePaint(HDC DC) {
  const TqvsCtrlState state = GetCtrlState();
  const TqvsCtrlState old = FOldCtrlState;
  FOldCtrlState = state;
  if (!BufferedAnimationAvailable()) return false;
  BP_ANIMATIONPARAMS params;
  params.cbSize = sizeof(BP_ANIMATIONPARAMS);
  params.dwFlags = 0;
  params.style = BPAS_LINEAR;
  params.dwDuration = state != old ? kFadeDuration : 0;
  const RECT target = ClientRect();
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER animation =
      BeginBufferedAnimation(Handle(), DC, &target, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  if (!animation) return false;
  const bool alphaFix = params.dwDuration > 0;
  try {
    if (from) DrawState(from, old, alphaFix);
    if (to) DrawState(to, state, alphaFix);
  } catch (...) {
    EndBufferedAnimation(animation, FALSE);
    throw;
  }
  EndBufferedAnimation(animation, TRUE);
  return true;
}

void TqvCustomActiveControl::DrawState(HDC DC, TqvsCtrlState AState, bool AAlphaFix) {
  const int width = Width(), height = Height();
  if (width == 0 || height == 0) return;
  if (AAlphaFix) {
    auto image = std::make_unique<TBitmap>();
    image->SetPixelFormat(pf32bit);
    image->SetSize(width, height);
    DrawBackground(image->Canvas());
    Draw(image->Canvas(), AState);
    SetBitmapAlpha(image.get(), 255);
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.SourceConstantAlpha = 255;
    blend.AlphaFormat = AC_SRC_ALPHA;
    AlphaBlend(DC, 0, 0, width, height, image->Canvas()->Handle(), 0, 0, width, height, blend);
    return;
  }
  TCanvas canvas;
  canvas.SetHandle(DC);
  DrawBackground(&canvas);
  Draw(&canvas, AState);
  canvas.SetHandle(nullptr);
}

// ---- messages ----

void TqvCustomActiveControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      TqvCustomControl::Dispatch(Message);
      if (!FMouseIn) MouseEntered();
      return;
    case CM_MOUSELEAVE:
      TqvCustomControl::Dispatch(Message);
      if (FMouseIn) {
        MouseLeft();
        FOldCtrlState = GetCtrlState();
      }
      return;
    case WM_MOUSEMOVE: {
      TqvCustomControl::Dispatch(Message);
      const int x = Message.XPos(), y = Message.YPos();
      // Both far edges count as inside.
      const bool inside = x >= 0 && x <= Width() && y >= 0 && y <= Height();
      if (!FMouseIn && inside)
        MouseEntered();
      else if (FMouseIn && !inside)
        MouseLeft();
      return;
    }
    case WM_TIMER:
      DefaultHandler(Message);
      if (Message.WParam == kAnimationTimerId) {
        if (HandleAllocated()) KillTimer(WindowHandle(), kAnimationTimerId);
        StopAnimation();
      }
      return;
    case WM_MOVE:
      // The move repaints with a fresh background: the fade ends in the final state.
      if (FTransparentBackground) FCanAnimate = false;
      TqvCustomControl::Dispatch(Message);
      return;
    case WM_UPDATEPARENTBACKGROUND:
      TqvCustomControl::Dispatch(Message);
      if (FTransparentBackground) FCanAnimate = false;
      return;
    case WM_ERASEBKGND:
      if (!FromWMPaint) FCanAnimate = false;
      TqvCustomControl::Dispatch(Message);
      return;
    default: TqvCustomControl::Dispatch(Message); return;
  }
}
