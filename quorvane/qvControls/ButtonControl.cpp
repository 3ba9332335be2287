#include "qvControls/ButtonControl.h"

#include <algorithm>

#include "qvControls/Label.h"
#include "vcl/ActnList.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "win/Input.h"

namespace {

// A button follows its action's image index through its own link while it shows the
// action's image.
class TqvButtonActionLink : public TControlActionLink {
  QV_CLASS(TqvButtonActionLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;

  bool IsImageIndexLinked() override {
    auto* button = static_cast<TqvCustomButtonControl*>(FClient);
    return TControlActionLink::IsImageIndexLinked() && button->UseImageIndexFromAction() &&
           button->ImageIndex() == CustomAction()->ImageIndex();
  }

 protected:
  void SetImageIndex(int Value) override {
    if (IsImageIndexLinked()) static_cast<TqvCustomButtonControl*>(FClient)->SetImageIndex(Value);
  }
};

}  // namespace

TqvCustomButtonControl::TqvCustomButtonControl(TComponent* AOwner) : TqvCustomActiveControl(AOwner) {
  FGlowEffect = new TqvButtonGlowEffect;
  FGlowEffect->OnChange = [this](TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    FUpdateGlowBuffer = true;
    RePaintControl();
  };
  FStored.WordWrap = FWordWrap;
  // The button makes its own clicks (press and release, keys, repeats); the framework's
  // click on release would come on top.
  TControlStyle style = ControlStyle();
  style.Exclude(csClickEvents);
  style.Include(csSetCaption);
  SetControlStyle(style);
  SetTabStop(true);
  SetBounds(Left(), Top(), 100, 35);
}

TqvCustomButtonControl::~TqvCustomButtonControl() {
  UnhookGallery();
  FreeAndNil(FGlowBuffer);
  FreeAndNil(FGlowImageBuffer);
  StopRepeatTimer();
  delete FGlowEffect;
}

// ---- states ----

TqvsCtrlState TqvCustomButtonControl::GetCtrlState() {
  if (FDown) return qvsPressed;
  if (!Enabled()) return qvsDisabled;
  if (FMenuDroppedDown) return qvsHot;
  if ((FMouseIn && FPressed) || FIsDown) return qvsPressed;
  if (FMouseIn) return qvsHot;
  if (Focused() && FCanFocused) return qvsFocused;
  return qvsNormal;
}

bool TqvCustomButtonControl::CanAnimate() {
  return TqvCustomActiveControl::CanAnimate() && !FPressed && !FDown && !FMenuDroppedDown && !FMenuTracking;
}

// ---- setters ----

void TqvCustomButtonControl::SetCanFocused(bool Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

#define QV_REPAINT_SETTER(Name, Type, Field) \
  void TqvCustomButtonControl::Set##Name(Type Value) { \
    if (Value == Field) return;                          \
    Field = Value;                                       \
    RePaintControl();                                    \
  }

QV_REPAINT_SETTER(Margin, int, FMargin)
QV_REPAINT_SETTER(Spacing, int, FSpacing)
QV_REPAINT_SETTER(Layout, TButtonLayout, FLayout)
QV_REPAINT_SETTER(ImageIndex, int, FImageIndex)
QV_REPAINT_SETTER(ImageGlow, bool, FImageGlow)
QV_REPAINT_SETTER(ShowMenuArrow, bool, FShowMenuArrow)
QV_REPAINT_SETTER(SplitButton, bool, FSplitButton)
QV_REPAINT_SETTER(ShowFocusRect, bool, FShowFocusRect)
QV_REPAINT_SETTER(WordWrap, bool, FWordWrap)
QV_REPAINT_SETTER(CustomDropDown, bool, FCustomDropDown)
QV_REPAINT_SETTER(ArrowPosition, TqvArrowPosition, FArrowPosition)

#undef QV_REPAINT_SETTER

void TqvCustomButtonControl::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  RePaintControl();
}

void TqvCustomButtonControl::SetDown(bool Value) {
  if (Value == FDown) return;
  if (FAnimation) StopAnimation();
  FDown = Value;
  RePaintControl();
  FOldCtrlState = GetCtrlState();
  if (FGroupIndex > 0 && FDown) ReleaseGroup();
  // A button raised by its group (without a pending release of its own) fires nothing.
  if ((FDown || FMustDoUp) && !ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    ButtonClick();
}

void TqvCustomButtonControl::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    if (AComponent == FImages) FImages = nullptr;
    DropDownComponentRemoved(AComponent);
  }
  TqvCustomActiveControl::Notification(AComponent, Operation);
}

void TqvCustomButtonControl::ChangeScale(int M, int D, bool isDpiChange) {
  TqvCustomActiveControl::ChangeScale(M, D, isDpiChange);
  FSplitWidth = MulDiv(FSplitWidth, M, D);
}

// ---- click ----

void TqvCustomButtonControl::ButtonClick() {
  if (FDisableClick) return;
  const TComponentState state = ComponentState();
  if (state.Contains(csDesigning) || state.Contains(csLoading)) return;
  // A linked action runs its own handler (which the framework makes the control's OnClick).
  if (ActionLink())
    ActionLink()->Execute(this);
  else if (OnClick)
    OnClick(this);
}

void TqvCustomButtonControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  TqvCustomActiveControl::ActionChange(Sender, CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action || !action->ActionList()) return;
  TCustomImageList* images = action->ActionList()->Images();
  if (!images || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count()) return;
  if (FUseImagesFromAction) SetImages(images);
  if (FUseImageIndexFromAction) SetImageIndex(action->ImageIndex());
  RePaintControl();
}

TControlActionLink* TqvCustomButtonControl::CreateActionLink() { return new TqvButtonActionLink(this); }

// ---- glow ----

bool TqvCustomButtonControl::GetGlowParams(TqvsCtrlState ACtrlState, TColor& AColor, uint8_t& AAlphaValue,
                                           int& AGlowSize) {
  return FGlowEffect->GetGlowParams(ACtrlState, AColor, AAlphaValue, AGlowSize);
}

bool TqvCustomButtonControl::GlowBufferChanged(TCanvas* ACanvas, TColor AGlowColor, TCustomImageList* AImages,
                                               int AImageIndex, const TRect& ARect, uint8_t AAlphaValue,
                                               int AGlowSize) {
  GlowKey key;
  key.Caption = Caption();
  key.Width = Width();
  key.Height = Height();
  key.GlowColor = AGlowColor;
  key.GlowSize = AGlowSize;
  key.Alpha = AAlphaValue;
  key.Intensive = FGlowEffect->Intensive();
  key.Rect = ARect;
  key.FontSize = ACanvas->Font()->Size();
  key.FontName = ACanvas->Font()->Name();
  key.FontStyle = ACanvas->Font()->Style();
  key.ImageIndex = AImageIndex;
  key.Spacing = FSpacing;
  key.Margin = FMargin;
  key.Layout = FLayout;
  key.ImageList = AImages;
  key.ImageListW = AImages ? AImages->Width() : 0;
  key.ImageListH = AImages ? AImages->Height() : 0;
  key.WordWrap = FWordWrap;
  const bool changed = FUpdateGlowBuffer || !(key == FStored);
  FStored = key;
  FUpdateGlowBuffer = false;
  return changed;
}

// ---- arrow strip ----

TRect TqvCustomButtonControl::ArrowStripRect() const {
  if (FArrowPosition == qvapBottom) return {0, Height() - FSplitWidth, Width(), Height()};
  return {Width() - FSplitWidth, 0, Width(), Height()};
}

bool TqvCustomButtonControl::InArrowStrip(int X, int Y) const {
  return FSplitButton && ArrowStripRect().Contains({X, Y});
}

// ---- drop-downs ----

void TqvCustomButtonControl::DropDownClosed() {
  FPressed = false;
  FIsDown = false;
  FMenuDroppedDown = false;
  FMenuTracking = false;
  RePaintControl();
  FOldCtrlState = GetCtrlState();
}

void TqvCustomButtonControl::CloseUp(bool AAcceptChanges) {
  DropDownClosed();
  if (OnCloseUp) OnCloseUp(this, AAcceptChanges);
}

void TqvCustomButtonControl::CustomDropDownOpen(bool AFromArrow) {
  if (AFromArrow) FMenuDroppedDown = true;
  if (!FSplitButton) FIsDown = true;
  RePaintControl();
  // The body of a split button: the click comes on release.
  if (!AFromArrow && FSplitButton) return;
  FMenuTracking = true;
  RePaintControl();
  if (OnDropDown) OnDropDown(this);
}

bool TqvCustomButtonControl::OpenKeyDropDown() {
  if (FSplitButton) return false;
  if (!FCustomDropDown && !FDropDownMenu && !FGalleryMenu) return false;
  Application->ProcessMessages();
  if (FCustomDropDown)
    CustomDropDownOpen(false);
  else if (FDropDownMenu)
    DropDownMenuOpen(false);
  else
    GalleryMenuOpen(false);
  return true;
}

// ---- repeat clicks ----

void TqvCustomButtonControl::StartRepeatTimer() {
  StopRepeatTimer();
  FRepeatClickTimer = new TTimer(this);
  FRepeatClickTimer->SetInterval(kRepeatDelay);
  FRepeatStarted = false;
  FRepeatClickTimer->OnTimer = [this](TObject* Sender) { RepeatTimerTick(Sender); };
  FRepeatClickTimer->SetEnabled(true);
}

void TqvCustomButtonControl::StopRepeatTimer() {
  if (!FRepeatClickTimer) return;
  TTimer* timer = FRepeatClickTimer;
  FRepeatClickTimer = nullptr;
  timer->SetEnabled(false);
  // This may run inside the timer's own tick: the loop frees it once that is over.
  timer->Release();
}

void TqvCustomButtonControl::RepeatTimerTick(TObject* Sender) {
  if (Sender != FRepeatClickTimer) return;
  if (!FRepeatStarted) {
    // The first tick ends the delay; the clicks follow at the interval.
    FRepeatStarted = true;
    FRepeatClickTimer->SetInterval(uint32_t(std::max(1, FRepeatClickInterval)));
    return;
  }
  ButtonClick();
}

void TqvCustomButtonControl::DoMouseLeave() {
  StopRepeatTimer();
  TqvCustomActiveControl::DoMouseLeave();
}

void TqvCustomButtonControl::DoMouseEnter() {
  if (FPressed && FRepeatClick) StartRepeatTimer();
  TqvCustomActiveControl::DoMouseEnter();
}

// ---- mouse ----

void TqvCustomButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvCustomActiveControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FGroupIndex > 0) {
    if (FAllowAllUp && FDown) FMustDoUp = true;
    SetDown(true);
    return;
  }
  // A press while the custom drop-down is open closes it.
  if (FCustomDropDown && FMenuTracking && !FDropDownMenu && !FGalleryMenu) {
    CloseUp(false);
    return;
  }
  FPressed = true;
  if (FDropDownMenu)
    DropDownMenuOpen(InArrowStrip(X, Y));
  else if (FGalleryMenu)
    GalleryMenuOpen(InArrowStrip(X, Y));
  else if (FCustomDropDown)
    CustomDropDownOpen(InArrowStrip(X, Y));
  else
    RePaintControl();
  if (FRepeatClick) StartRepeatTimer();
}

void TqvCustomButtonControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvCustomActiveControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FGroupIndex > 0 && FMustDoUp) {
    SetDown(false);
    FMustDoUp = false;
    return;
  }
  if (!FPressed) return;
  FPressed = false;
  RePaintControl();
  if (FRepeatClick && FRepeatClickTimer && !FDown) StopRepeatTimer();
  // A press on the arrow strip opened the drop-down; the body's click is not for it.
  if (FMouseIn && !FDown && !FMenuDroppedDown) ButtonClick();
}

// ---- keyboard ----

void TqvCustomButtonControl::KeyDown(WORD& Key, TShiftState Shift) {
  TqvCustomActiveControl::KeyDown(Key, Shift);
  if (!FCanFocused || (Key != VK_UP && Key != VK_DOWN)) return;
  if (FDropDownMenu)
    DropDownMenuOpen(FSplitButton);
  else if (FGalleryMenu)
    GalleryMenuOpen(FSplitButton);
}

void TqvCustomButtonControl::WndProc(TMessage& Message) {
  const bool designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (FCanFocused && !designing && !Focused() && CanFocus()) SetFocus();
      break;
    case WM_KEYDOWN:
    case WM_KEYUP: {
      if (!FCanFocused) break;
      // Handling the key may run the loop (pending messages, a menu): what is released
      // meanwhile, this button among it, waits until the key has been handled.
      TReleaseHold hold;
      const bool mayPress = !FDown || (FGroupIndex > 0 && FAllowAllUp);
      if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_SPACE && mayPress) {
        if (FGroupIndex > 0) {
          if (FAllowAllUp && FDown) FMustDoUp = true;
          SetDown(true);
        } else if (!FIsDown) {
          FSpaceClicked = false;
          if (OpenKeyDropDown()) {
            FSpaceClicked = true;
            ButtonClick();
          } else {
            FIsDown = true;
            RePaintControl();
          }
        }
        if (FRepeatClick && !FRepeatClickTimer) StartRepeatTimer();
      } else if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) {
        if (FGroupIndex <= 0) {
          if (!FMenuTracking) OpenKeyDropDown();
          if (!FMenuTracking) ButtonClick();
        } else if (FAllowAllUp && FDown) {
          FMustDoUp = true;
        } else if (!FDown) {
          SetDown(true);
        }
      } else if (Message.Msg == WM_KEYUP && Message.WParam == VK_RETURN) {
        if (FDown && FGroupIndex > 0 && FAllowAllUp && FMustDoUp) {
          SetDown(false);
          FMustDoUp = false;
        }
      } else if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE && mayPress) {
        if (FGroupIndex > 0 && FMustDoUp) {
          SetDown(false);
          FMustDoUp = false;
        } else if (FSpaceClicked) {
          // The key-down opened the drop-down and clicked already.
          FSpaceClicked = false;
        } else if (FGroupIndex <= 0 && (!FGalleryMenu || FSplitButton) && FIsDown) {
          // Only a press that began here: a release whose press went to another control
          // clicks nothing.
          FIsDown = false;
          RePaintControl();
          if (FRepeatClick && FRepeatClickTimer) StopRepeatTimer();
          ButtonClick();
        }
      }
      TqvCustomActiveControl::WndProc(Message);
      return;
    }
    default: break;
  }
  TqvCustomActiveControl::WndProc(Message);
}

void TqvCustomButtonControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(char32_t(Message.WParam), Caption()) && CanFocus() && FCanFocused) {
        SetFocus();
        DoDialogChar();
        Message.Result = 1;
        return;
      }
      TqvCustomActiveControl::Dispatch(Message);
      return;
    case CM_WANTSPECIALKEY:
      TqvCustomActiveControl::Dispatch(Message);
      if (FCanFocused && (FDropDownMenu || FGalleryMenu) &&
          (Message.WParam == VK_UP || Message.WParam == VK_DOWN))
        Message.Result = 1;
      return;
    case WM_SETFOCUS:
      TqvCustomActiveControl::Dispatch(Message);
      if (FCanFocused) Repaint();
      if (FRepeatClick && FRepeatClickTimer) StopRepeatTimer();
      FOldCtrlState = GetCtrlState();
      return;
    case WM_KILLFOCUS:
      TqvCustomActiveControl::Dispatch(Message);
      // Its key's release goes elsewhere now: a key press ends without a click.
      FSpaceClicked = false;
      if (FIsDown && !FMenuTracking) {
        FIsDown = false;
        StopRepeatTimer();
      }
      if (FCanFocused) Repaint();
      FOldCtrlState = GetCtrlState();
      return;
    case CM_ENABLEDCHANGED:
      TqvCustomActiveControl::Dispatch(Message);
      // A disabled button has no mouse over it and gets no release: it must come back
      // neither hot nor pressed.
      FMouseIn = false;
      if (!Enabled()) {
        FPressed = false;
        FIsDown = false;
        StopRepeatTimer();
      }
      RePaintControl();
      return;
    case CM_TEXTCHANGED:
      TqvCustomActiveControl::Dispatch(Message);
      RePaintControl();
      return;
    default: TqvCustomActiveControl::Dispatch(Message); return;
  }
}
