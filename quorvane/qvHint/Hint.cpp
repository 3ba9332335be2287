#include "qvHint/Hint.h"

#include <algorithm>

#include "qvHint/CursorHeight.h"
#include "vcl/Forms.h"
#include "win/Input.h"

TqvHint::TqvHint(TComponent* AOwner) : TComponent(AOwner) { HW = new TqvHintWindow(this); }

TqvHint::~TqvHint() {
  // Not from a timer handler: the pending timer can go at once.
  delete HintTimer;
  HintTimer = nullptr;
  delete HW;
  HW = nullptr;
}

void TqvHint::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHintImageList) FHintImageList = nullptr;
  if (AComponent == HintTimer) HintTimer = nullptr;
  if (AComponent == HW) HW = nullptr;
}

void TqvHint::SetHintImageList(TCustomImageList* Value) {
  if (FHintImageList == Value) return;
  if (FHintImageList) FHintImageList->RemoveFreeNotification(this);
  FHintImageList = Value;
  if (FHintImageList) FHintImageList->FreeNotification(this);
}

void TqvHint::ClearTitleAndImage() {
  FHintTitle.clear();
  FHintImageIndex = 0;
  SetHintImageList(nullptr);
}

void TqvHint::FreeHintTimer() {
  TTimer* timer = HintTimer;
  if (!timer) return;
  HintTimer = nullptr;
  timer->SetEnabled(false);
  timer->OnTimer = nullptr;
  timer->Release();
}

void TqvHint::StartHintTimer(TPending What) {
  FreeHintTimer();
  HintTimer = new TTimer(this);
  HintTimer->SetEnabled(false);
  HintTimer->SetInterval(uint32_t(std::max(Application->HintPause(), 1)));
  HintTimer->OnTimer = [this, What](TObject*) { ShowPending(What); };
  HintTimer->SetEnabled(true);
}

TPoint TqvHint::CursorHintPos() {
  if (FCursorHeight == 0) FCursorHeight = GetCursorHeight();
  POINT p{};
  GetCursorPos(&p);
  return Point(p.X, p.Y + FCursorHeight);
}

void TqvHint::ShowPending(TPending What) {
  if (!HW) return;
  switch (What) {
    case TPending::AtCursor: {
      const TPoint p = CursorHintPos();
      HW->ActivateHint(Rect(p.X, p.Y, p.X, p.Y), HintText);
      break;
    }
    case TPending::FromRect: HW->ActivateHintFromRect(FromRect, HintText, Top); break;
    case TPending::ExtendedAtCursor: {
      const TPoint p = CursorHintPos();
      HW->ActivateHintEx(Rect(p.X, p.Y, p.X, p.Y), FHintTitle, HintText, FHintImageIndex, FHintImageList);
      break;
    }
  }
  // The same timer now hides the hint.
  if (TTimer* timer = HintTimer) {
    timer->SetEnabled(false);
    timer->SetInterval(uint32_t(std::max(Application->HintHidePause(), 1)));
    timer->OnTimer = [this](TObject*) { HideHint(); };
    timer->SetEnabled(true);
  }
}

void TqvHint::ActivateHint(const String& AHint) {
  ClearTitleAndImage();
  HintText = AHint;
  StartHintTimer(TPending::AtCursor);
}

void TqvHint::ActivateHint(const TRect& AFromRect, const String& AHint, bool ATop) {
  ClearTitleAndImage();
  HintText = AHint;
  FromRect = AFromRect;
  Top = ATop;
  StartHintTimer(TPending::FromRect);
}

void TqvHint::ActivateHint(const TPoint& P, const String& AHint) {
  FreeHintTimer();
  ClearTitleAndImage();
  HintText = AHint;
  if (HW) HW->ActivateHint(Rect(P.X, P.Y, P.X, P.Y), AHint);
}

void TqvHint::TakeExtendedHint(const String& AHintTitle, const String& AHint, int AImageIndex,
                               TCustomImageList* AImageList) {
  FreeHintTimer();
  FHintTitle = AHintTitle;
  HintText = AHint;
  FHintImageIndex = AImageIndex;
  SetHintImageList(AImageList);
}

void TqvHint::ActivateHintEx(const String& AHintTitle, const String& AHint, int AImageIndex,
                             TCustomImageList* AImageList) {
  TakeExtendedHint(AHintTitle, AHint, AImageIndex, AImageList);
  StartHintTimer(TPending::ExtendedAtCursor);
}

void TqvHint::ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint, int AImageIndex,
                             TCustomImageList* AImageList) {
  TakeExtendedHint(AHintTitle, AHint, AImageIndex, AImageList);
  if (HW) HW->ActivateHintEx(Rect(P.X, P.Y, P.X, P.Y), AHintTitle, AHint, AImageIndex, AImageList);
}

bool TqvHint::IsVisible() const { return HW && HW->HandleAllocated() && IsWindowVisible(HW->Handle()); }

void TqvHint::HideHint() {
  // Often runs as the handler of the timer it lets go of.
  FreeHintTimer();
  if (!IsVisible()) return;
  SetWindowPos(HW->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
  ClearTitleAndImage();
}
