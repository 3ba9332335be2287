// Unit gx_ani: the component through which a program animates a change of a control.
//
//   if (Animation->IsControlFrozen(Control)) return;
//   Animation->FreezeControl(Control, Rect);   // the overlay shows the old picture
//   ... change the control ...
//   try { Animation->Execute(); } catch (...) { Animation->Restore(); throw; }
//   Animation->Restore();                      // the overlay goes, the images are freed
//
// Execute lets the control repaint under the overlay, grabs the new picture and plays the
// transition on the overlay while the message loop keeps running.
#pragma once

#include <functional>
#include <vector>

#include "gx_bitmap/Bitmap.h"
#include "gx_effect/AnimationRec.h"
#include "vcl/Controls.h"

enum TgxAnimationState { asNormal, asExecuting };

class TgxAnimationList;

class TgxAnimation : public TgxAnimationRec {
  QV_CLASS(TgxAnimation, TgxAnimationRec)

  // The settings' defaults; ForceControlUpdate false.
  explicit TgxAnimation(TComponent* AOwner);
  // Restores (the overlay goes, the images are freed) and leaves its list. Never free an
  // animation from inside its own transition (its events, or handlers run while it
  // plays): Release() it, or close its form with caFree, instead. What is released while
  // FreezeControl or ExecuteImage processes messages stays until the call has returned,
  // so the caller's Restore after Execute still finds the animation.
  ~TgxAnimation() override;

  // True while the animation holds a frozen control, whichever control is asked about.
  bool IsControlFrozen(TControl* AControl) const;
  // Grabs ARect (AControl's own coordinates) of the control, or takes ASourceImage, and
  // covers the control with an overlay showing it. A graphic control is frozen through
  // its parent. True when the control is frozen now.
  //
  // Refused (false, nothing changed) for a null control, while this animation holds a
  // frozen control, and for a control that another animation (or anyone) has frozen.
  // ASourceImage is taken in every case: a refused call frees it at once, an accepted one
  // keeps it until Restore. The control counts as frozen before any message is processed.
  bool FreezeControl(TControl* AControl, const TRect& ARect, TgxBitmap* ASourceImage = nullptr);
  // The same with ARect in the control's client coordinates, cut to the client area.
  bool FreezeControlClient(TControl* AControl, const TRect& ARect, TgxBitmap* ASourceImage = nullptr);
  // Plays the transition on the overlay, when a control is frozen.
  void Execute();
  // Plays the transition between the two images on Canvas at (X, Y), grabbing the new
  // image first when a control is frozen and none is given; then draws the new image
  // there. Nothing without a source image with pixels, or while the animation plays
  // already. OnStart comes before the transition and OnFinish after it (also when a
  // Restore cut it short); an exception reaches the caller without OnFinish.
  void ExecuteImage(TCanvas* Canvas, int32_t X, int32_t Y);
  // Removes the overlay and frees both images (also images the caller gave); State
  // becomes asNormal. Safe in every state: without a frozen control it only resets State;
  // while the transition plays (a handler inside it) it stops the transition, which then
  // ends without drawing the new image; a second call does nothing.
  void Restore();
  // Does nothing: there is no designer dialog to open.
  void ShowDesigner();

  TgxAnimationList* Parent() const { return FParent; }
  // The pictures before and after the change. The setters take the image (the animation
  // owns it from then on, freeing the one it had) and make every pixel opaque; they raise
  // EInvalidOperation while the transition plays.
  TgxBitmap* SourceImage() const { return FSourceImage; }
  void SetSourceImage(TgxBitmap* Value);
  TgxBitmap* DestImage() const { return FDestImage; }
  void SetDestImage(TgxBitmap* Value);
  TgxAnimationState State() const { return FState; }
  void SetState(TgxAnimationState Value) { FState = Value; }
  // Redraw the control and its children fully when it is restored (once; Restore clears
  // it).
  bool ForceControlUpdate() const { return FForceControlUpdate; }
  void SetForceControlUpdate(bool Value) { FForceControlUpdate = Value; }
  // What is frozen: the control, the rectangle (its own coordinates) and the overlay's
  // canvas.
  TControl* FreezedControl() const { return FFreezedControl; }
  const TRect& FreezeRect() const { return FFreezeRect; }
  TCanvas* FreezeCanvas() const { return FFreezeCanvas; }

  // Renames, then tells OnInternalChange.
  void SetName(const String& NewName) override;
  // An animation is stored inside its list.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  // Leaves the current list; joins Value when it is a list.
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnStart;
  TNotifyEvent OnFinish;
  // Raised after the name has changed.
  TNotifyEvent OnInternalChange;

 protected:
  // A frozen control that is freed is let go of (the overlay goes, the images are freed).
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TgxAnimationList;
  void ProcessPending();
  // The overlay goes and the images are freed; the control is not touched when it is
  // being freed.
  void Unfreeze(bool ControlAlive);
  // Stops the engine's transition between this animation's images.
  void StopTransition();
  // Whether Canvas may still be drawn on (the overlay's canvas goes with the overlay).
  bool CanvasAlive(TCanvas* Canvas) const;

  TgxAnimationList* FParent = nullptr;
  TgxBitmap* FDestImage = nullptr;
  TgxBitmap* FSourceImage = nullptr;
  TControl* FFreezedControl = nullptr;
  TRect FFreezeRect{};
  TCanvas* FFreezeCanvas = nullptr;
  TgxAnimationState FState = asNormal;
  bool FForceControlUpdate = false;
  // ExecuteImage runs (from the grab to OnFinish).
  bool FRunning = false;
  // Counts the restores that let go of something, so that a run sees one made meanwhile.
  uint32_t FRestores = 0;
};

// Groups the animations of a form; owns them.
class TgxAnimationList : public TComponent {
  QV_CLASS(TgxAnimationList, TComponent)
  explicit TgxAnimationList(TComponent* AOwner) : TComponent(AOwner) {}
  // Frees the animations, the last first.
  ~TgxAnimationList() override;

  int Count() const { return int(FAnimationList.size()); }
  // Raises EListError for an index out of range.
  TgxAnimation* GetItem(int Index) const;
  // The animation joins this list (leaving any other) at the end.
  void Insert(TgxAnimation* Item);
  // The animation leaves this list (not freed).
  void Remove(TgxAnimation* Item);
  // Hands every animation to Proc (the form writer), in list order, then the inherited
  // children.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

 private:
  std::vector<TgxAnimation*> FAnimationList;
};
