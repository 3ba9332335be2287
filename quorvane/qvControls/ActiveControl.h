// TqvCustomActiveControl: a custom control that reacts to the mouse. It knows whether the
// mouse is over it (hot state), notices reliably that the mouse has left (a 100 ms poll
// while the mouse is inside catches a missed leave notice), and can cross-fade between the
// images of two states when the state changes, through the theme library's buffered
// animation: a change opens a 350 ms animation window (window timer 1) in which paints
// fade from the last state to the new one over 150 ms.
//
// Handlers that want to free the control from its mouse events call Release(), never
// delete: the control is still running its handling when they return.
#pragma once

#include "qvControls/CustomControl.h"

class TTimer;

class TqvCustomActiveControl : public TqvCustomControl {
  QV_CLASS(TqvCustomActiveControl, TqvCustomControl)
  explicit TqvCustomActiveControl(TComponent* AOwner);
  ~TqvCustomActiveControl() override;

  // Disabled, else hot while the mouse is over the control, else normal.
  TqvsCtrlState GetCtrlState() override;
  bool MouseIn() const { return FMouseIn; }
  void Dispatch(TMessage& Message) override;

  // How long a state fade lasts, and how long a state change keeps paints going through
  // the buffered animation.
  static constexpr uint32_t kFadeDuration = 150;
  static constexpr uint32_t kAnimationWindow = 350;
  static constexpr uint32_t kMouseLeavePoll = 100;
  static constexpr uintptr_t kAnimationTimerId = 1;

 protected:
  void Paint() override;
  // The handler of the mouse-leave poll: another window under the cursor means the mouse
  // has left without a notice.
  virtual void DoMouseTimer(TObject* Sender);
  // Called once when the mouse enters, and once when it leaves: open the animation window
  // when a fade is possible, then repaint.
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  // Whether a state change may be faded now.
  virtual bool CanAnimate();
  // Whether the focused state takes part in fades.
  virtual bool CanAnimateFocused() { return false; }
  // One buffered-animation cycle on DC: the last state into the "from" buffer, the
  // current one into the "to" buffer. False when no animation could be begun.
  virtual bool AnimatePaint(HDC DC);

  // The user's switch for state fades; derived classes publish it as Animation.
  bool Animation() const { return FAnimation; }
  void SetAnimation(bool Value) { FAnimation = Value; }
  // The service is there (system 6.0 or later, bindings present).
  static bool BufferedAnimationAvailable();
  void StartAnimation();
  void StopAnimation();
  // Paints a state into an animation DC; with the alpha fix through an opaque 32-bit
  // bitmap, so that pixels that GDI-style drawing leaves without alpha do not fade out.
  void DrawState(HDC DC, TqvsCtrlState AState, bool AAlphaFix);

  TTimer* FMouseTimer = nullptr;
  bool FCanAnimate = false;
  bool FAnimation = false;
  bool FMouseIn = false;
  TqvsCtrlState FOldCtrlState = qvsNormal;

 private:
  void StartMouseTimer();
  void StopMouseTimer();
  void MouseEntered();
  void MouseLeft();
};
