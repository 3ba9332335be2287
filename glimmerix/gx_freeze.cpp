#include "gx_freeze.h"

#include <algorithm>
#include <memory>

#include "gdi/Gdi.h"
#include "gx_effect/Engine.h"
#include "vcl/Forms.h"
#include "win/Paint.h"
#include "win/Queue.h"

namespace {

// Hears of frozen controls and overlays that are freed while the freeze lasts, so that
// nothing is left pointing at them.
class TFreezeWatcher : public TComponent {
  QV_CLASS(TFreezeWatcher, TComponent)
  TFreezeWatcher() : TComponent(nullptr) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

struct FreezeUnit {
  std::vector<TFreezeItem*> Items;
  uint64_t LastSerial = 0;
  std::unique_ptr<TFreezeWatcher> Watcher = std::make_unique<TFreezeWatcher>();

  ~FreezeUnit() {
    // Overlays still up belong to the application object; the items are ours.
    for (TFreezeItem* item : Items) delete item;
    Items.clear();
  }
};

FreezeUnit& Unit() {
  static FreezeUnit unit;
  return unit;
}

TFreezeItem* FindItem(const TControl* AControl) {
  if (!AControl) return nullptr;
  for (TFreezeItem* item : Unit().Items)
    if (item->FControl == AControl) return item;
  return nullptr;
}

void Forget(TFreezeItem* Item) { std::erase(Unit().Items, Item); }

// Takes the overlay down and frees the item (already out of the list). A control that is
// going away is not touched: its window procedure and window are being taken apart.
void Dispose(TFreezeItem* Item, bool ReShow) {
  std::unique_ptr<TFreezeItem> owned(Item);
  TControl* control = Item->FControl;
  const bool alive = control && !control->ComponentState().Contains(csDestroying);
  TFreezeWatcher* watcher = Unit().Watcher.get();
  if (alive) watcher->RemoveFreeNotification(control);
  auto* window = dynamic_cast<TWinControl*>(control);
  if (alive && ReShow) {
    control->Show();
    if (window && window->HandleAllocated())
      SetWindowPos(window->WindowHandle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control->Repaint();
  }
  if (alive && Item->FHookControl) control->WindowProc = Item->FOldWindowProc;
  if (TgxLockControl* overlay = Item->FFreezeWindow) {
    Item->FFreezeWindow = nullptr;
    watcher->RemoveFreeNotification(overlay);
    overlay->Free();
  }
  auto* form = dynamic_cast<TCustomForm*>(control);
  if (alive && ReShow && form && form->FormStyle() != fsStayOnTop && form->HandleAllocated())
    SetWindowPos(form->WindowHandle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TFreezeWatcher::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    for (TFreezeItem* item : std::vector<TFreezeItem*>(Unit().Items)) {
      if (item->FFreezeWindow == AComponent) item->FFreezeWindow = nullptr;
      if (item->FControl == AComponent) {
        Forget(item);
        Dispose(item, false);
      }
    }
  }
  TComponent::Notification(AComponent, Operation);
}

// The window procedure of a frozen top-level window: the popup goes when the window is
// hidden and follows it when it moves.
void HookTopLevel(TFreezeItem* Item) {
  TControl* control = Item->FControl;
  Item->FOldWindowProc = control->WindowProc;
  Item->FHookControl = true;
  control->WindowProc = [Item, control](TMessage& Message) {
    // Locals only after the previous procedure: it may unfreeze the control, which frees
    // the item and this procedure with it.
    TFreezeItem* item = Item;
    TControl* self = control;
    const uint64_t serial = item->FSerial;
    TgxLockControl* overlay = item->FFreezeWindow;
    HWND popup = overlay ? overlay->WindowHandle() : nullptr;
    if (Message.Msg == CM_VISIBLECHANGED && popup && IsWindowVisible(popup)) ShowWindow(popup, SW_HIDE);
    auto previous = item->FOldWindowProc;
    previous(Message);
    if (Message.Msg != WM_MOVE) return;
    item = FindItem(self);
    if (!item || item->FSerial != serial) return;
    overlay = item->FFreezeWindow;
    popup = overlay ? overlay->WindowHandle() : nullptr;
    if (popup && IsWindowVisible(popup) && item->FLeft != -1 && item->FTop != -1)
      SetWindowPos(popup, nullptr, self->Left() + item->FLeft, self->Top() + item->FTop, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
}

void ProcessPending() {
  if (Application)
    Application->ProcessMessages();
  else
    ProcessPendingMessages();
}

}  // namespace

// ---- TgxLockControl ----

TgxLockControl::TgxLockControl(TComponent* AOwner) : TCustomControl(AOwner), FImage(new TBitmap) {
  FImage->OnChange = [this](TObject*) { ImageChanged(); };
}

TgxLockControl::~TgxLockControl() {
  TCanvas* canvas = ImageCanvas();
  for (int32_t i = 0; i < gxSlotCount; ++i) {
    const TgxEffectSlot& slot = gxEffectSlot(i);
    if (slot.Active && slot.Canvas == canvas) StopEffect(i, false);
  }
  FImage->OnChange = nullptr;
  delete FImage;
}

void TgxLockControl::FitImage() {
  const int32_t w = std::max(Width(), 0), h = std::max(Height(), 0);
  if (FImage->Width() != w || FImage->Height() != h) FImage->SetSize(w, h);
}

void TgxLockControl::SetFrozenImage(TgxBitmap* Value) {
  FFrozenImage = Value;
  FitImage();
  if (FImage->Empty()) return;
  TCanvas* canvas = ImageCanvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect({0, 0, FImage->Width(), FImage->Height()});
  if (Value) Value->Draw(canvas, 0, 0);
}

void TgxLockControl::ImageChanged() {
  // Drawing happens after the canvas hands out its DC: the overlay shows it at its next
  // paint.
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, FALSE);
}

void TgxLockControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style &= ~DWORD(WS_TABSTOP);
}

void TgxLockControl::Paint() { Canvas()->Draw(0, 0, FImage); }

void TgxLockControl::Resize() {
  // The image keeps its top-left part.
  FitImage();
  TCustomControl::Resize();
}

void TgxLockControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomControl::Dispatch(Message);
  }
}

// ---- TgxLockPopup ----

void TgxLockPopup::CreateParams(TCreateParams& Params) {
  TgxLockControl::CreateParams(Params);
  Params.Style &= ~DWORD(WS_CHILD | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  Params.Style |= WS_POPUP;
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.WndParent = FOwnerWindow;
}

void TgxLockPopup::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCPAINT) {
    Message.Result = 0;
    return;
  }
  TgxLockControl::Dispatch(Message);
}

// ---- freezing ----

TCanvas* FreezeWindow(TControl* AControl, const TRect& ARect, TgxBitmap* AImage) {
  if (!AControl || FindItem(AControl)) return nullptr;
  // A form closed with caFree while messages are processed here stays until the call is
  // done.
  TReleaseHold hold;
  FreezeUnit& unit = Unit();
  // Recorded before any message is processed: a second freeze is refused and input that
  // arrives meanwhile finds the control frozen.
  auto* item = new TFreezeItem;
  item->FControl = AControl;
  item->FSerial = ++unit.LastSerial;
  const uint64_t serial = item->FSerial;
  unit.Items.push_back(item);
  unit.Watcher->FreeNotification(AControl);
  const TRect bounds{ARect.Left + AControl->Left(), ARect.Top + AControl->Top(), ARect.Right + AControl->Left(),
                     ARect.Bottom + AControl->Top()};
  try {
    if (TWinControl* parent = AControl->Parent()) {
      auto* lock = new TgxLockControl(Application);
      item->FFreezeWindow = lock;
      unit.Watcher->FreeNotification(lock);
      lock->SetVisible(false);
      lock->SetColor(clBtnFace);
      lock->SetParentFont(false);
      lock->SetBoundsRect(bounds);
      lock->SetFrozenImage(AImage);
      lock->SetParent(parent);
      lock->Show();
      lock->BringToFront();
      ProcessPending();
    } else {
      auto* popup = new TgxLockPopup(Application);
      item->FFreezeWindow = popup;
      unit.Watcher->FreeNotification(popup);
      popup->SetColor(clBtnFace);
      popup->SetParentFont(false);
      if (auto* window = dynamic_cast<TWinControl*>(AControl); window && window->HandleAllocated())
        popup->SetOwnerWindow(window->WindowHandle());
      popup->SetBoundsRect(bounds);
      popup->SetFrozenImage(AImage);
      item->FLeft = ARect.Left;
      item->FTop = ARect.Top;
      HookTopLevel(item);
      SetWindowPos(popup->Handle(), HWND_TOPMOST, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
      RedrawWindow(popup->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      // Shown at once rather than after a pause: presenting is synchronous here.
      PresentChanges();
    }
  } catch (...) {
    if (TFreezeItem* mine = FindItem(AControl); mine && mine->FSerial == serial) {
      Forget(mine);
      Dispose(mine, false);
    }
    throw;
  }
  // A handler run while messages were processed may have unfrozen the control.
  TFreezeItem* mine = FindItem(AControl);
  if (!mine || mine->FSerial != serial || !mine->FFreezeWindow) return nullptr;
  return mine->FFreezeWindow->ImageCanvas();
}

void UnfreezeWindow(TControl* AControl, bool ReShow) {
  TFreezeItem* item = FindItem(AControl);
  if (!item) return;
  Forget(item);
  Dispose(item, ReShow);
}

bool IsWindowFrozen(const TControl* AControl) { return FindItem(AControl) != nullptr; }

TgxLockControl* FindFreezeWindow(const TControl* AControl) {
  TFreezeItem* item = FindItem(AControl);
  return item ? item->FFreezeWindow : nullptr;
}

const std::vector<TFreezeItem*>& gxFreezeList() { return Unit().Items; }
