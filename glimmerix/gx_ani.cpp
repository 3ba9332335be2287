#include "gx_ani.h"

#include <algorithm>
#include <memory>

#include "gx_effect/Engine.h"
#include "gx_freeze.h"
#include "gx_grab.h"
#include "gx_utils.h"
#include "vcl/Forms.h"
#include "win/Paint.h"
#include "win/Queue.h"

namespace {

bool HasPixels(const TgxBitmap* Image) { return Image && !Image->Empty() && Image->Width() > 0 && Image->Height() > 0; }

TRect Intersection(const TRect& A, const TRect& B) {
  TRect r{};
  IntersectRect(&r, &A, &B);
  return r;
}

}  // namespace

// ---- TgxAnimation ----

TgxAnimation::TgxAnimation(TComponent* AOwner) : TgxAnimationRec(AOwner) {}

TgxAnimation::~TgxAnimation() {
  if (FParent) FParent->Remove(this);
  Restore();
  delete FSourceImage;
  delete FDestImage;
}

bool TgxAnimation::IsControlFrozen(TControl*) const { return FFreezedControl != nullptr; }

bool TgxAnimation::FreezeControl(TControl* AControl, const TRect& ARect, TgxBitmap* ASourceImage) {
  // The image is taken in every case; one the animation holds already stays its own.
  TgxBitmap* image = ASourceImage;
  const bool held = image && (image == FSourceImage || image == FDestImage);
  auto refuse = [&] {
    if (image && !held) delete image;
    return false;
  };
  if (!AControl || FFreezedControl || FRunning) return refuse();
  // A handler run while the freeze processes messages may close this animation's form
  // with caFree: form and animation stay until the call is done.
  TReleaseHold hold;
  TControl* control = AControl;
  TRect rect = ARect;
  if (!dynamic_cast<TWinControl*>(control) && control->Parent()) {
    // A graphic control has no window to cover: its parent is frozen over its place.
    TWinControl* parent = control->Parent();
    const TRect client = gxGetControlClientRect(parent);
    OffsetRect(&rect, client.Left + control->Left(), client.Top + control->Top());
    control = parent;
  }
  if (IsWindowFrozen(control)) return refuse();

  const uint32_t restores = FRestores;
  FFreezedControl = control;
  FFreezeRect = Intersection(rect, {0, 0, control->Width(), control->Height()});
  FreeNotification(control);
  try {
    if (image == FDestImage) FDestImage = nullptr;
    if (!image) image = GrabControlImage(control, FFreezeRect);
    if (image != FSourceImage) {
      delete FSourceImage;
      FSourceImage = image;
    }
    TCanvas* canvas = FreezeWindow(control, FFreezeRect, FSourceImage);
    // A handler run while the freeze processed messages restored: all is let go of.
    if (restores != FRestores) return false;
    if (!canvas) {
      Unfreeze(true);
      return false;
    }
    FFreezeCanvas = canvas;
    return true;
  } catch (...) {
    if (restores == FRestores) Unfreeze(true);
    throw;
  }
}

bool TgxAnimation::FreezeControlClient(TControl* AControl, const TRect& ARect, TgxBitmap* ASourceImage) {
  if (!AControl) return FreezeControl(nullptr, ARect, ASourceImage);
  const TRect client = gxGetControlClientRect(AControl);
  TRect rect = ARect;
  OffsetRect(&rect, client.Left, client.Top);
  return FreezeControl(AControl, Intersection(rect, client), ASourceImage);
}

void TgxAnimation::Execute() {
  if (FFreezedControl && FFreezeCanvas) ExecuteImage(FFreezeCanvas, 0, 0);
}

void TgxAnimation::ExecuteImage(TCanvas* Canvas, int32_t X, int32_t Y) {
  if (FRunning || !HasPixels(FSourceImage)) return;
  // A handler run while the transition plays may close this animation's form with caFree:
  // form and animation stay until the call is done, and the caller's Restore after it
  // still finds them.
  TReleaseHold hold;
  FRunning = true;
  Finally done{[this] {
    FRunning = false;
    FState = asNormal;
  }};
  FSourceImage->SetAlpha(255);
  const uint32_t restores = FRestores;
  if (FFreezeCanvas && !FDestImage) {
    // The changed control repaints under the overlay; the grab paints off-screen, so the
    // overlay is not in it.
    ProcessPending();
    if (restores != FRestores || !FFreezedControl) return;
    std::unique_ptr<TgxBitmap> dest(GrabControlImage(FFreezedControl, FFreezeRect));
    dest->SetAlpha(255);
    FDestImage = dest.release();
  }
  if (!HasPixels(FDestImage)) return;
  if (OnStart) OnStart(this);
  ProcessPending();
  if (restores == FRestores) {
    FState = asExecuting;
    ExecuteEffect(Canvas, X, Y, this, FDestImage, FSourceImage);
    // The exact new picture, unless a Restore cut the transition short.
    if (restores == FRestores && CanvasAlive(Canvas)) FDestImage->Draw(Canvas, X, Y);
  }
  FState = asNormal;
  FRunning = false;
  if (OnFinish) OnFinish(this);
}

void TgxAnimation::Restore() {
  FState = asNormal;
  if (!FFreezedControl) return;
  Unfreeze(true);
}

void TgxAnimation::ShowDesigner() {}

void TgxAnimation::Unfreeze(bool ControlAlive) {
  ++FRestores;
  StopTransition();
  TControl* control = FFreezedControl;
  TCanvas* canvas = FFreezeCanvas;
  const bool force = FForceControlUpdate;
  FFreezedControl = nullptr;
  FFreezeCanvas = nullptr;
  FForceControlUpdate = false;
  // Freed last: the overlay points at the source image until it goes.
  std::unique_ptr<TgxBitmap> source(FSourceImage), dest(FDestImage);
  FSourceImage = nullptr;
  FDestImage = nullptr;
  if (!control) return;
  if (ControlAlive) RemoveFreeNotification(control);
  auto* window = ControlAlive ? dynamic_cast<TWinControl*>(control) : nullptr;
  const HWND handle = force && window && window->HandleAllocated() ? window->WindowHandle() : nullptr;
  if (handle) SendMessage(handle, WM_SETREDRAW, FALSE, 0);
  Finally redraw{[&] {
    if (!handle || !IsWindow(handle)) return;
    SendMessage(handle, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  }};
  // Only this animation's freeze: the overlay is the one it drew on (or one that went).
  if (canvas) {
    TgxLockControl* overlay = FindFreezeWindow(control);
    if (!overlay || overlay->ImageCanvas() == canvas) UnfreezeWindow(control, false);
  }
}

void TgxAnimation::StopTransition() {
  if (!FRunning || !FSourceImage || !FDestImage) return;
  for (int32_t i = 0; i < gxSlotCount; ++i) {
    const TgxEffectSlot& slot = gxEffectSlot(i);
    if (slot.Active && slot.OldImage == FSourceImage && slot.NewImage == FDestImage) StopEffect(i, false);
  }
}

bool TgxAnimation::CanvasAlive(TCanvas* Canvas) const {
  if (!Canvas) return false;
  if (Canvas != FFreezeCanvas) return true;
  TgxLockControl* overlay = FindFreezeWindow(FFreezedControl);
  return overlay && overlay->ImageCanvas() == Canvas;
}

void TgxAnimation::ProcessPending() {
  if (Application)
    Application->ProcessMessages();
  else
    ProcessPendingMessages();
}

void TgxAnimation::SetSourceImage(TgxBitmap* Value) {
  if (FRunning) throw EInvalidOperation("Cannot change the images of an animation while it plays");
  if (Value && Value == FDestImage) FDestImage = nullptr;
  if (Value != FSourceImage) {
    TgxBitmap* old = FSourceImage;
    FSourceImage = Value;
    // The overlay must not keep pointing at the picture that goes.
    if (TgxLockControl* overlay = FFreezedControl ? FindFreezeWindow(FFreezedControl) : nullptr;
        overlay && overlay->FrozenImage() == old)
      overlay->SetFrozenImage(Value);
    delete old;
  }
  if (Value) {
    Value->SetAlpha(255);
    Value->SetAlphaBlend(false);
  }
}

void TgxAnimation::SetDestImage(TgxBitmap* Value) {
  if (FRunning) throw EInvalidOperation("Cannot change the images of an animation while it plays");
  // The source image moves here: it is not freed (and an overlay showing it keeps it).
  if (Value && Value == FSourceImage) FSourceImage = nullptr;
  if (Value != FDestImage) {
    delete FDestImage;
    FDestImage = Value;
  }
  if (Value) {
    Value->SetAlpha(255);
    Value->SetAlphaBlend(false);
  }
}

void TgxAnimation::SetName(const String& NewName) {
  TgxAnimationRec::SetName(NewName);
  if (OnInternalChange) OnInternalChange(this);
}

TComponent* TgxAnimation::GetParentComponent() const { return FParent; }

void TgxAnimation::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* list = dynamic_cast<TgxAnimationList*>(Value)) list->Insert(this);
}

void TgxAnimation::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent && AComponent == FFreezedControl) Unfreeze(false);
  TgxAnimationRec::Notification(AComponent, Operation);
}

// ---- TgxAnimationList ----

TgxAnimationList::~TgxAnimationList() {
  while (!FAnimationList.empty()) {
    TgxAnimation* item = FAnimationList.back();
    FAnimationList.pop_back();
    item->FParent = nullptr;
    item->Free();
  }
}

TgxAnimation* TgxAnimationList::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FAnimationList[size_t(Index)];
}

void TgxAnimationList::Insert(TgxAnimation* Item) {
  if (!Item || Item->FParent == this) return;
  if (Item->FParent) Item->FParent->Remove(Item);
  Item->FParent = this;
  FAnimationList.push_back(Item);
}

void TgxAnimationList::Remove(TgxAnimation* Item) {
  if (!Item || Item->FParent != this) return;
  Item->FParent = nullptr;
  std::erase(FAnimationList, Item);
}

void TgxAnimationList::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  if (!Proc) return;
  for (TgxAnimation* item : std::vector<TgxAnimation*>(FAnimationList)) Proc(item);
  TComponent::GetChildren(Proc, Root);
}
