// Unit gx_freeze: covers a control with an overlay window that shows a picture of it, so
// that the control can change underneath unseen. The overlay takes the mouse over the
// control's area (the control gets no input while frozen), never takes the focus, and is
// where a transition is then drawn.
//
// The overlay keeps an image of its own: the frozen picture is copied into it, frames are
// drawn into it through the canvas FreezeWindow answers, and every paint of the overlay
// shows it. An expose or a repaint in the middle of a transition therefore shows the
// current frame.
#pragma once

#include <functional>
#include <vector>

#include "gx_bitmap/Bitmap.h"
#include "vcl/Controls.h"

// The overlay inside a parent: a child window placed exactly over the frozen part.
class TgxLockControl : public TCustomControl {
  QV_CLASS(TgxLockControl, TCustomControl)
  explicit TgxLockControl(TComponent* AOwner);
  // A transition still drawing on the overlay's canvas is stopped first.
  ~TgxLockControl() override;

  // The picture shown when frozen; not owned (its owner keeps it until the unfreeze).
  TgxBitmap* FrozenImage() const { return FFrozenImage; }
  // The overlay's image := its colour with Value drawn at (0, 0) (null: the colour only).
  void SetFrozenImage(TgxBitmap* Value);
  // What every paint of the overlay shows, of the overlay's size (a resize keeps its
  // top-left part).
  TBitmap* Image() const { return FImage; }
  // Draws into Image; whatever is drawn is shown at the overlay's next paint, which
  // drawing asks for.
  TCanvas* ImageCanvas() const { return FImage->Canvas(); }

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Resize() override;

  TgxBitmap* FFrozenImage = nullptr;

 private:
  void FitImage();
  void ImageChanged();

  TBitmap* FImage;
};

// The overlay of a top-level window: a popup tool window above it, owned by it, that paints
// no frame and is never activated by a click.
class TgxLockPopup : public TgxLockControl {
  QV_CLASS(TgxLockPopup, TgxLockControl)
  explicit TgxLockPopup(TComponent* AOwner) : TgxLockControl(AOwner) {}

  // The window the popup stays above (its owner); set before the window is made.
  HWND OwnerWindow() const { return FOwnerWindow; }
  void SetOwnerWindow(HWND Value) { FOwnerWindow = Value; }

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  HWND FOwnerWindow = nullptr;
};

// One frozen control.
class TFreezeItem : public TObject {
  QV_CLASS(TFreezeItem, TObject)
  TFreezeItem() = default;

  // The control's window procedure is replaced (top-level windows, so that the popup
  // follows them).
  bool FHookControl = false;
  TControl* FControl = nullptr;
  // The overlay; owned (freed by UnfreezeWindow), null once it went away by other means.
  TgxLockControl* FFreezeWindow = nullptr;
  std::function<void(TMessage&)> FOldWindowProc;
  // The overlay's offset from the control's top-left; -1 when not tracked.
  int32_t FLeft = -1;
  int32_t FTop = -1;
  // Tells this freeze from a later one of the same control.
  uint64_t FSerial = 0;
};

// Shows an overlay with AImage over ARect (control coordinates, origin at its top-left
// outer corner) of AControl and answers the canvas to draw on the overlay. Null, with
// nothing changed, for a null control or one that is frozen already. The control counts
// as frozen (IsWindowFrozen) before any message is processed; the call then processes the
// pending messages (child overlay) or redraws the popup at once (top-level control), so
// that the overlay is on screen before the caller changes the control; objects released
// meanwhile are not freed before it returns. Also null when a handler run meanwhile
// unfroze the control.
TCanvas* FreezeWindow(TControl* AControl, const TRect& ARect, TgxBitmap* AImage);
// Removes the control's overlay. With ReShow the control is shown, put on top and
// repainted (a form that is not stay-on-top is made non-topmost again). Nothing for a
// control that is not frozen. A control that is being destroyed is left alone.
void UnfreezeWindow(TControl* AControl, bool ReShow);

// Whether the control has an overlay now.
bool IsWindowFrozen(const TControl* AControl);
// The control's overlay, or null.
TgxLockControl* FindFreezeWindow(const TControl* AControl);
// The frozen controls, in the order they were frozen.
const std::vector<TFreezeItem*>& gxFreezeList();
