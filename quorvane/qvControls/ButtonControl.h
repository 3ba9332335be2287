// TqvCustomButtonControl: what the push button and the check box share. Clicks by mouse
// and keyboard, focus, latched "down" buttons in exclusive groups, three kinds of drop-down
// (a popup menu, a gallery menu, or a custom one the program shows in OnDropDown), split
// buttons whose arrow strip alone opens the drop-down, repeated clicks while held, actions,
// and the glow parameters with the key of the cached glow.
//
// Press states: idle; mouse-pressed (FPressed); key-pressed (FIsDown); latched down
// (FDown); drop-down open (FMenuTracking, with FMenuDroppedDown when opened from the arrow
// strip). A popup menu closes inside the call that opened it; a gallery reports its
// closing; a custom drop-down ends only through CloseUp.
//
// A handler that wants the button gone calls Release(), never delete.
#pragma once

#include <functional>

#include "qvControls/ActiveControl.h"
#include "qvDrawUtils/Glow.h"
#include "vcl/Buttons.h"

class TCustomImageList;
class TPopupMenu;
class TqvGalleryMenu;
class TTimer;

enum TqvArrowPosition { qvapRight, qvapBottom };

using TqvButtonCloseUpEvent = std::function<void(TObject* Sender, bool AAcceptChanges)>;

class TqvCustomButtonControl : public TqvCustomActiveControl {
  QV_CLASS(TqvCustomButtonControl, TqvCustomActiveControl)
  explicit TqvCustomButtonControl(TComponent* AOwner);
  ~TqvCustomButtonControl() override;

  // Down first, then disabled, a drop-down opened from the arrow (hot), pressed by mouse
  // or key, hot, focused (when it takes the focus), normal.
  TqvsCtrlState GetCtrlState() override;
  void Dispatch(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A programmatic click goes the button's way (DisableClick, actions).
  void Click() override { ButtonClick(); }

  // Ends a custom drop-down: the button leaves its pressed look, then OnCloseUp.
  void CloseUp(bool AAcceptChanges);

  // ---- properties ----
  bool DisableClick() const { return FDisableClick; }
  void SetDisableClick(bool Value) { FDisableClick = Value; }
  // Takes the focus; drives TabStop.
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);

  bool RepeatClick() const { return FRepeatClick; }
  void SetRepeatClick(bool Value) { FRepeatClick = Value; }
  int RepeatClickInterval() const { return FRepeatClickInterval; }
  void SetRepeatClickInterval(int Value) { FRepeatClickInterval = Value; }
  TqvButtonGlowEffect* GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(TqvButtonGlowEffect* Value) { FGlowEffect->Assign(Value); }
  bool ImageGlow() const { return FImageGlow; }
  void SetImageGlow(bool Value);
  TPopupMenu* DropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  TqvGalleryMenu* GalleryMenu() const { return FGalleryMenu; }
  void SetGalleryMenu(TqvGalleryMenu* Value);
  bool ShowGalleryMenuFromTop() const { return FShowGalleryMenuFromTop; }
  void SetShowGalleryMenuFromTop(bool Value) { FShowGalleryMenuFromTop = Value; }
  bool ShowGalleryMenuFromRight() const { return FShowGalleryMenuFromRight; }
  void SetShowGalleryMenuFromRight(bool Value) { FShowGalleryMenuFromRight = Value; }
  bool ShowMenuArrow() const { return FShowMenuArrow; }
  void SetShowMenuArrow(bool Value);
  bool SplitButton() const { return FSplitButton; }
  void SetSplitButton(bool Value);
  bool ShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value) { FAllowAllUp = Value; }
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool UseImagesFromAction() const { return FUseImagesFromAction; }
  void SetUseImagesFromAction(bool Value) { FUseImagesFromAction = Value; }
  bool UseImageIndexFromAction() const { return FUseImageIndexFromAction; }
  void SetUseImageIndexFromAction(bool Value) { FUseImageIndexFromAction = Value; }
  bool CustomDropDown() const { return FCustomDropDown; }
  void SetCustomDropDown(bool Value);
  TqvArrowPosition ArrowPosition() const { return FArrowPosition; }
  void SetArrowPosition(TqvArrowPosition Value);
  // Width (arrow right) or height (arrow bottom) of the arrow strip; scales with the button.
  int SplitWidth() const { return FSplitWidth; }
  using TqvCustomActiveControl::Animation;
  using TqvCustomActiveControl::SetAnimation;
  using TqvCustomControl::SetTransparentBackground;
  using TqvCustomControl::TransparentBackground;

  // The drop-down is open, and whether it was opened from the arrow strip.
  bool MenuTracking() const { return FMenuTracking; }
  bool MenuDroppedDown() const { return FMenuDroppedDown; }

  TNotifyEvent OnDropDown;
  TqvButtonCloseUpEvent OnCloseUp;

  static constexpr uint32_t kRepeatDelay = 500;

 protected:
  // What the state glows with; false when the state does not glow.
  virtual bool GetGlowParams(TqvsCtrlState ACtrlState, TColor& AColor, uint8_t& AAlphaValue, int& AGlowSize);
  // Raises the other down buttons of the group; nothing here.
  virtual void ReleaseGroup() {}
  // After an accelerator has focused the button; nothing here.
  virtual void DoDialogChar() {}
  // The click: OnClick, or the action's execution when an action is linked.
  virtual void ButtonClick();

  // Whether the glow buffers must be rebuilt for these values; stores them as the new key.
  bool GlowBufferChanged(TCanvas* ACanvas, TColor AGlowColor, TCustomImageList* AImages, int AImageIndex,
                         const TRect& ARect, uint8_t AAlphaValue, int AGlowSize);

  bool CanAnimate() override;
  void DoMouseEnter() override;
  void DoMouseLeave() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TControlActionLink* CreateActionLink() override;

  // The button has a drop-down of any kind.
  bool HasDropDown() const { return FDropDownMenu || FGalleryMenu || FCustomDropDown; }
  // The arrow strip, whether or not the button is split.
  TRect ArrowStripRect() const;
  // A split button's arrow strip holds the point.
  bool InArrowStrip(int X, int Y) const;

  // The gallery's item at its ItemIndex: its caption and image index, and the gallery's
  // image list; false without a gallery or a valid item.
  bool GallerySelectedItem(String& ACaption, int& AImageIndex, TCustomImageList*& AImages) const;

  void DropDownMenuOpen(bool AFromArrow);
  void GalleryMenuOpen(bool AFromArrow);
  void CustomDropDownOpen(bool AFromArrow);

  void StartRepeatTimer();
  void StopRepeatTimer();

  TButtonLayout FLayout = blGlyphLeft;
  TCustomImageList* FImages = nullptr;
  int FImageIndex = -1;
  bool FRepeatClick = false;
  int FRepeatClickInterval = 100;
  TTimer* FRepeatClickTimer = nullptr;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FSplitButton = false;
  bool FShowFocusRect = true;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FMustDoUp = false;
  TqvButtonGlowEffect* FGlowEffect;
  bool FImageGlow = true;
  TqvGalleryMenu* FGalleryMenu = nullptr;
  bool FShowGalleryMenuFromTop = false;
  bool FShowGalleryMenuFromRight = false;
  bool FShowMenuArrow = true;
  bool FWordWrap = true;
  bool FUseImagesFromAction = true;
  bool FUseImageIndexFromAction = true;
  bool FCustomDropDown = false;
  bool FCanFocused = true;
  int FMargin = -1;
  int FSpacing = 1;
  TBitmap* FGlowBuffer = nullptr;
  TBitmap* FGlowImageBuffer = nullptr;
  bool FUpdateGlowBuffer = true;
  bool FDown = false;
  bool FPressed = false;
  bool FIsDown = false;
  bool FMenuDroppedDown = false;
  bool FMenuTracking = false;
  bool FDisableClick = false;
  int FSplitWidth = 19;
  TqvArrowPosition FArrowPosition = qvapRight;

 private:
  // The key of the glow buffers.
  struct GlowKey {
    String Caption;
    int Width = 0, Height = 0;
    TColor GlowColor = clNone;
    int GlowSize = 0;
    uint8_t Alpha = 0;
    bool Intensive = false;
    TRect Rect{};
    int FontSize = 0;
    String FontName;
    TFontStyles FontStyle{};
    int ImageIndex = -1;
    int Spacing = -1;
    int Margin = -2;
    TButtonLayout Layout = blGlyphLeft;
    TCustomImageList* ImageList = nullptr;
    int ImageListW = 0, ImageListH = 0;
    bool WordWrap = true;
    bool operator==(const GlowKey&) const = default;
  };

  void RepeatTimerTick(TObject* Sender);
  // Leaves every press state after a drop-down has closed.
  void DropDownClosed();
  // Opens the first drop-down configured on a non-split button after the pending messages
  // have been handled; true when one was.
  bool OpenKeyDropDown();
  // Clears the drop-down menu or gallery reference when that component goes.
  void DropDownComponentRemoved(TComponent* AComponent);
  // Takes the button's handlers off its gallery.
  void UnhookGallery();

  GlowKey FStored;
  bool FRepeatStarted = false;
  // Space opened a drop-down and clicked on its key-down: its key-up clicks no more.
  bool FSpaceClicked = false;
};
