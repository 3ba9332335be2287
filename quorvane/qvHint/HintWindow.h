// TqvHintWindow: the tooltip window of a TqvHint. Plain text, or an "extended" hint with a
// bold title and an image; painted in the active style (the style's hint gradient, the
// system look's tooltip, or the classic look), optionally translucent and faded in.
#pragma once

#include "vcl/Hints.h"
#include "vcl/ImgList.h"

class TqvHint;

class TqvHintWindow : public THintWindow {
  QV_CLASS(TqvHintWindow, THintWindow)
  // The owner, when it is a TqvHint, gives the line separator and the translucency.
  explicit TqvHintWindow(TComponent* AOwner);

  // Shows the hint with its left-top at Rect's; the extended hint of the owning TqvHint
  // when that has a title or an image list.
  void ActivateHint(const TRect& Rect, const String& AHint) override;
  // Shows a hint with a bold title above the text and an image left of it.
  void ActivateHintEx(const TRect& Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                      TCustomImageList* AImageList);
  // Shows the plain hint centred above (ATop) or below ARect.
  void ActivateHintFromRect(const TRect& ARect, const String& AHint, bool ATop);

  // What the window shows now.
  bool ExtendedStyle() const { return FExtendedStyle; }
  const String& HintTitle() const { return FHintTitle; }

  // Window timer of the fade-in.
  static constexpr uintptr_t kFadeTimerId = 10;
  static constexpr UINT kFadeInterval = 30;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;

  bool FOldAlphaBlend = false;
  int FAnimationStep = 0;
  int FAnimationAlpha = 0;
  TqvHint* FHint = nullptr;
  bool FExtendedStyle = false;

 private:
  enum class TAnchor { TopLeft, Above, Below };
  // The showing steps every activation shares; Rect is the anchor the placement reads.
  void ShowHintText(const TRect& Rect, TAnchor Anchor, const String& AHint);
  // The window size the text (with CR LF line breaks) takes, no larger than Limit.
  TSize MeasureHint(const String& Text, const TSize& Limit);
  void SetImageList(TCustomImageList* Value);
  bool ValidImage() const;
  void FadeTick();

  String FHintTitle;
  // What of the text and the title can show (a huge text is cut to what fits).
  String FShownText;
  String FShownTitle;
  int FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
};
