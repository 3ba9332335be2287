// TqvHint: a non-visual component that shows a styled tooltip (TqvHintWindow) when code
// asks for one: after the application's hint pause at the mouse cursor or at a
// rectangle, or at once at a point; plain text or an extended hint with a title and an
// image; hidden after the application's hint hide pause.
#pragma once

#include "qvHint/HintWindow.h"
#include "vcl/ExtCtrls.h"

class TqvHint : public TComponent {
  QV_CLASS(TqvHint, TComponent)
  explicit TqvHint(TComponent* AOwner);
  ~TqvHint() override;

  // After Application->HintPause: the plain hint below the cursor's shape.
  void ActivateHint(const String& AHint);
  // After Application->HintPause: the plain hint centred above (ATop) or below AFromRect.
  void ActivateHint(const TRect& AFromRect, const String& AHint, bool ATop);
  // At once: the plain hint with its left-top at P.
  void ActivateHint(const TPoint& P, const String& AHint);
  // After Application->HintPause: the extended hint below the cursor's shape.
  void ActivateHintEx(const String& AHintTitle, const String& AHint, int AImageIndex, TCustomImageList* AImageList);
  // At once: the extended hint with its left-top at P.
  void ActivateHintEx(const TPoint& P, const String& AHintTitle, const String& AHint, int AImageIndex,
                      TCustomImageList* AImageList);
  bool IsVisible() const;
  // Stops a pending show or hide; hides the window when it shows.
  void HideHint();

  // Marker replaced by a line break in hint texts ("@@").
  const String& LineSeparator() const { return FLineSeparator; }
  void SetLineSeparator(const String& Value) { FLineSeparator = Value; }
  // The window is translucent (layered) with opacity AlphaBlendValue.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
  // Fades the window in from 0 to AlphaBlendValue.
  bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }

  // The extended hint that is pending or shows.
  const String& HintTitle() const { return FHintTitle; }
  int HintImageIndex() const { return FHintImageIndex; }
  TCustomImageList* HintImageList() const { return FHintImageList; }

  // The one pending show or hide timer (owned), or null.
  TTimer* HintTimer = nullptr;
  // Text of the pending or shown hint.
  String HintText;
  // Anchor of a pending rectangle-anchored hint, and whether it goes above it.
  TRect FromRect{};
  bool Top = false;
  // The window (owned).
  TqvHintWindow* HW = nullptr;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  enum class TPending { AtCursor, FromRect, ExtendedAtCursor };
  void ClearTitleAndImage();
  // Stops a pending timer and keeps what an extended hint shows.
  void TakeExtendedHint(const String& AHintTitle, const String& AHint, int AImageIndex, TCustomImageList* AImageList);
  void SetHintImageList(TCustomImageList* Value);
  // Replaces a pending timer by one that shows the hint after the hint pause.
  void StartHintTimer(TPending What);
  // Stops and lets go of the pending timer. The timer may be the one whose handler runs
  // now, so it is released (freed by the message loop), never deleted here.
  void FreeHintTimer();
  void ShowPending(TPending What);
  // Below the cursor's visible shape.
  TPoint CursorHintPos();

  String FLineSeparator = "@@";
  bool FAlphaBlend = false;
  uint8_t FAlphaBlendValue = 255;
  bool FAlphaBlendAnimation = false;
  String FHintTitle;
  int FHintImageIndex = 0;
  TCustomImageList* FHintImageList = nullptr;
  int FCursorHeight = 0;
};
