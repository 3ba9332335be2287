// TqvButton: the library's one button. StyleKind makes it a push or tool button, a
// transparent or link-like one, a header section, a spin or combo arrow, a button drawn
// from its ColorOptions, an image-skinned button, a tab or a segment of a joined row. On
// top of TqvCustomButtonControl it adds images per state, a bold title line above the
// caption, default (Enter) and cancel (Esc) handling with modal results, a fixed image
// column (ImageMargin), widths with and without caption, and OnPaintContent.
#pragma once

#include <functional>

#include "qvControls/ButtonColorOptions.h"
#include "qvControls/ButtonControl.h"

class TqvCustomImageCollection;

enum TqvButtonStyleKind {
  qvbsPushButton,
  qvbsToolButton,
  qvbsPushButtonTransparent,
  qvbsToolButtonTransparent,
  qvbsTransparent,
  qvbsLink,
  qvbsHeaderSection,
  qvbsUpSpinButton,
  qvbsDownSpinButton,
  qvbsLeftSpinButton,
  qvbsRightSpinButton,
  qvbsDropDownButton,
  qvbsColorButton,
  qvbsCustomImage,
  qvbsCustomImageOverContent,
  qvbsTab,
  qvbsTabTransparent,
  qvbsSegmentedLeft,
  qvbsSegmentedMiddle,
  qvbsSegmentedRight,
  qvbsSegmentedToolLeft,
  qvbsSegmentedToolMiddle,
  qvbsSegmentedToolRight,
  qvbsDropDownCombo,
};

using TqvPaintButtonEvent = std::function<void(TCanvas* ACanvas, const TRect& ARect, TqvsCtrlState AState)>;

class TqvButton : public TqvCustomButtonControl {
  QV_CLASS(TqvButton, TqvCustomButtonControl)
  explicit TqvButton(TComponent* AOwner);
  ~TqvButton() override;

  // As the base, and a default button that Enter would click looks hot.
  TqvsCtrlState GetCtrlState() override;
  void Dispatch(TMessage& Message) override;
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TqvButtonStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TqvButtonStyleKind Value);
  TqvButtonColorOptions* ColorOptions() const { return FColorOptions; }
  void SetColorOptions(TqvButtonColorOptions* Value) { FColorOptions->Assign(Value); }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value);
  TFont* TitleFont() const { return FTitleFont; }
  void SetTitleFont(TFont* Value);
  int HotImageIndex() const { return FHotImageIndex; }
  void SetHotImageIndex(int Value);
  int FocusedImageIndex() const { return FFocusedImageIndex; }
  void SetFocusedImageIndex(int Value);
  int PressedImageIndex() const { return FPressedImageIndex; }
  void SetPressedImageIndex(int Value);
  bool UseGalleryMenuImage() const { return FUseGalleryMenuImage; }
  void SetUseGalleryMenuImage(bool Value);
  bool UseGalleryMenuCaption() const { return FUseGalleryMenuCaption; }
  void SetUseGalleryMenuCaption(bool Value);
  TqvCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TqvCustomImageCollection* Value);
  int CustomImageNormalIndex() const { return FCustomImageNormalIndex; }
  void SetCustomImageNormalIndex(int Value);
  int CustomImageHotIndex() const { return FCustomImageHotIndex; }
  void SetCustomImageHotIndex(int Value);
  int CustomImagePressedIndex() const { return FCustomImagePressedIndex; }
  void SetCustomImagePressedIndex(int Value);
  int CustomImageFocusedIndex() const { return FCustomImageFocusedIndex; }
  void SetCustomImageFocusedIndex(int Value);
  int CustomImageDisabledIndex() const { return FCustomImageDisabledIndex; }
  void SetCustomImageDisabledIndex(int Value);
  bool ScaleMarginAndSpacing() const { return FScaleMarginAndSpacing; }
  void SetScaleMarginAndSpacing(bool Value) { FScaleMarginAndSpacing = Value; }
  int WidthWithCaption() const { return FWidthWithCaption; }
  void SetWidthWithCaption(int Value) { FWidthWithCaption = Value; }
  int WidthWithoutCaption() const { return FWidthWithoutCaption; }
  void SetWidthWithoutCaption(int Value) { FWidthWithoutCaption = Value; }
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  bool ModalSetting() const { return FModalSetting; }
  void SetModalSetting(bool Value) { FModalSetting = Value; }
  int ImageMargin() const { return FImageMargin; }
  void SetImageMargin(int Value);
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value);
  // This default button is the one Enter would click now.
  bool Active() const { return FActive; }

  // The image of Images shown in the state: hot, pressed (else hot) and focused (else hot)
  // have their own, -1 falls back to ImageIndex.
  int ImageIndexForState(TqvsCtrlState AState) const;
  // The skin of CustomImages for the state; -1 draws none.
  int CustomImageIndexForState(TqvsCtrlState AState) const;

  TqvPaintButtonEvent OnPaintContent;

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override;
  bool CanAnimateFocused() override { return FCanFocused; }
  void ReleaseGroup() override;
  void ButtonClick() override;

 private:
  // The face of the kind in state S over R; answers the text colour. FocusMark: the face
  // may draw the focus.
  TColor DrawFace(TCanvas* ACanvas, const TRect& R, TqvsCtrlState S, bool FocusMark);
  // The colour a transparent kind's caption takes.
  TColor PlainColor(TqvsCtrlState S) const;
  bool CustomImageAvailable(int Index) const;
  void DrawDropDownPart(TCanvas* ACanvas, TRect& R, TqvsCtrlState S, TColor& C);
  void DrawFocusRectangle(TCanvas* ACanvas, TqvsCtrlState S);

  TqvButtonColorOptions* FColorOptions;
  String FTitle;
  TFont* FTitleFont;
  int FHotImageIndex = -1;
  int FFocusedImageIndex = -1;
  int FPressedImageIndex = -1;
  TqvButtonStyleKind FStyleKind = qvbsPushButton;
  bool FUseGalleryMenuImage = false;
  bool FUseGalleryMenuCaption = false;
  TqvCustomImageCollection* FCustomImages = nullptr;
  int FCustomImageNormalIndex = -1;
  int FCustomImageHotIndex = -1;
  int FCustomImagePressedIndex = -1;
  int FCustomImageFocusedIndex = -1;
  int FCustomImageDisabledIndex = -1;
  bool FScaleMarginAndSpacing = false;
  int FWidthWithCaption = 0;
  int FWidthWithoutCaption = 0;
  bool FShowCaption = true;
  bool FActive = false;
  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
  bool FModalSetting = false;
  int FImageMargin = 0;
  bool FUseFontColorToStyleColor = false;
};
