// The application's hints and icon: which control's hint shows, when, and in which window.
#include "ExtCtrls.h"
#include "Forms.h"
#include "Hints.h"
#include "Icon.h"
#include "win/Input.h"

namespace {

// The control whose hint applies at a control: itself or the nearest parent that shows
// hints.
TControl* GetHintControl(TControl* Control) {
  TControl* c = Control;
  while (c && !c->ShowHint()) c = c->Parent();
  return c;
}

// The program's default icon: a rounded blue tile with a light diamond, drawn here.
void DrawDefaultIcon(TIcon* Icon) {
  Icon->SetSize(32, 32);
  TCanvas* c = Icon->Image()->Canvas();
  c->Brush()->SetColor(TColor(0x00D77800));
  c->Pen()->SetColor(TColor(0x00994F00));
  c->RoundRect(Rect(1, 1, 31, 31), 8, 8);
  c->Brush()->SetColor(TColor(0x00FFF4E5));
  c->Pen()->SetColor(TColor(0x00FFF4E5));
  c->Polygon({Point(16, 6), Point(26, 16), Point(16, 26), Point(6, 16)});
}

}  // namespace

TIcon* TApplication::Icon() const {
  if (!FIcon) {
    FIcon = new TIcon;
    DrawDefaultIcon(FIcon);
  }
  return FIcon;
}

void TApplication::SetIcon(TIcon* Value) { Icon()->Assign(Value); }

void TApplication::SetHint(const String& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (TNotifyEvent handler = OnHint) handler(this);
}

void TApplication::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  if (!Value) {
    CancelHint();
    if (FHintWindow) {
      THintWindow* window = FHintWindow;
      FHintWindow = nullptr;
      window->Release();
    }
  }
}

void TApplication::StartHintTimer(int Ms, HintTimerMode Mode) {
  if (!FHintTimer) {
    FHintTimer = new TTimer(nullptr);
    FHintTimer->SetEnabled(false);
    FHintTimer->OnTimer = [this](TObject*) { HintTimerExpired(); };
  }
  FHintTimerMode = Mode;
  FHintTimer->SetEnabled(false);
  FHintTimer->SetInterval(uint32_t(std::max(Ms, 1)));
  FHintTimer->SetEnabled(true);
}

void TApplication::StopHintTimer() {
  if (FHintTimer) FHintTimer->SetEnabled(false);
}

void TApplication::HintTimerExpired() {
  StopHintTimer();
  if (FHintTimerMode == HintTimerMode::Pause) {
    POINT p{};
    GetCursorPos(&p);
    ActivateHint(p);
  } else {
    HideHint();
  }
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& Message) {
  if (!FShowHint) return;
  const TPoint screen =
      Control->ClientToScreen(Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
  TControl* control = GetHintControl(FindDragTarget(screen, true));
  if (!control) {
    CancelHint();
    return;
  }
  if (control == FHintControl && PtInRect(&FHintCursorRect, screen)) return;
  const bool wasActive = FHintActive;
  if (FHintControl && FHintControl != control) {
    if (TCustomHint* custom = FHintControl->CustomHint()) custom->HideHint(FHintControl);
    FHintControl->RemoveFreeNotification(this);
  }
  FHintControl = control;
  FHintControl->FreeNotification(this);
  FHintCursorRect = {};
  // Moving on to another control while a hint shows replaces it after the short pause.
  const int pause = wasActive ? FHintShortPause : FHintPause;
  if (pause <= 0)
    ActivateHint(screen);
  else
    StartHintTimer(pause, HintTimerMode::Pause);
}

void TApplication::ActivateHint(const TPoint& CursorPos) {
  FHintActive = false;
  if (!FShowHint || !FHintControl || FHintControl != GetHintControl(FindDragTarget(CursorPos, true))) {
    CancelHint();
    return;
  }
  TControl* control = FHintControl;
  THintInfo info;
  info.HintControl = control;
  info.HintPos = HintPosBelowCursor(CursorPos);
  info.HintMaxWidth = Screen->Width();
  info.HintColor = FHintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HintStr = GetShortHint(control->Hint());
  info.HideTimeout = FHintHidePause;
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) {
    TShowHintEvent handler = OnShowHint;
    handler(info.HintStr, canShow, info);
  }
  // A handler may have freed the control.
  if (FHintControl != control) return;
  SetHint(GetLongHint(control->Hint()));
  FHintActive = canShow;
  if (canShow && !info.HintStr.empty()) {
    const TPoint topLeft = control->ClientToScreen(info.CursorRect.TopLeft());
    const TPoint bottomRight = control->ClientToScreen(info.CursorRect.BottomRight());
    FHintCursorRect = Rect(topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y);
    if (TCustomHint* custom = control->CustomHint()) {
      custom->ShowHint(control);
    } else {
      if (!FHintWindow) FHintWindow = HintWindowClass(this);
      FHintWindow->SetBiDiMode(control->BiDiMode());
      FHintWindow->SetColor(info.HintColor);
      TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
      OffsetRect(&r, info.HintPos.X, info.HintPos.Y);
      // A right-to-left hint lies to the left of the cursor.
      if (FHintWindow->UseRightToLeftAlignment()) OffsetRect(&r, -r.Width(), 0);
      FHintWindow->ActivateHintData(r, info.HintStr, info.HintData);
    }
  }
  if (info.ReshowTimeout > 0)
    StartHintTimer(info.ReshowTimeout, HintTimerMode::Pause);
  else if (FHintActive)
    StartHintTimer(info.HideTimeout > 0 ? info.HideTimeout : FHintHidePause, HintTimerMode::Hide);
}

void TApplication::HideHint() {
  if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
    FHintWindow->ReleaseHandle();
  if (FHintControl)
    if (TCustomHint* custom = FHintControl->CustomHint()) custom->HideHint(FHintControl);
}

void TApplication::CancelHint() {
  if (FHintControl) {
    HideHint();
    FHintControl->RemoveFreeNotification(this);
    FHintControl = nullptr;
    FHintActive = false;
    FHintCursorRect = {};
    StopHintTimer();
  }
}

void TApplication::CheckHintMessage(const MSG& Msg) {
  if (!FHintControl) return;
  const UINT m = Msg.message;
  const bool ends = FHintWindow ? FHintWindow->IsHintMsg(Msg)
                                : (m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m > WM_MOUSEMOVE && m <= WM_MOUSELAST);
  if (ends) CancelHint();
}
