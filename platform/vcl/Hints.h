// Hints: THintWindow (the application's tooltip window), TCustomHintWindow (the balloon
// window of a hint component) and TCustomHint/TBalloonHint (a component that shows a title,
// a description and an image in a balloon, on request or for the controls that name it as
// their CustomHint).
//
// Everything runs on the message loop: delays, fades and hiding are window-system timers,
// and a window shown by a hint component is freed by the message loop once it is hidden.
#pragma once

#include <functional>
#include <vector>

#include "Controls.h"
#include "ImgList.h"

class TCustomHint;
class TCustomHintShowHide;

enum THintKind { hkStandard, hkBalloon };

enum THintPart { hpBackground, hpFrame };

// The look of hint windows; the style layer installs the painter of the active style.
// hpBackground: paints the background into R of DC and sets Color to the text colour.
// hpFrame: sets Color to the colour of the frame, which the window draws along its shape.
// False: the classic look is used (the window's colour, the hint font's, a black frame).
extern std::function<bool(HDC DC, const TRect& R, THintKind Kind, THintPart Part, TColor& Color)> HintPainterHook;

// Where a hint goes under the mouse cursor at Cursor: below the standard cursor's shape.
TPoint HintPosBelowCursor(const TPoint& Cursor);

// ---- the application's hint window ----

class THintWindow : public TCustomControl {
  QV_CLASS(THintWindow, TCustomControl)
  explicit THintWindow(TComponent* AOwner);

  // Shows the hint as a top-most window at Rect (screen coordinates) without activating
  // it; Rect is moved, not shrunk, to lie on the work area of the monitor it starts on.
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  virtual void ActivateHintData(const TRect& Rect, const String& AHint, void* AData);
  // The window rectangle at (0, 0) that the hint needs, lines wrapped at MaxWidth (never
  // narrower than one character, never larger than the screen).
  virtual TRect CalcHintRect(int MaxWidth, const String& AHint, void* AData);
  // Messages that end a hint: keys, presses, activation.
  virtual bool IsHintMsg(const MSG& Msg) const;
  // Hides the window and lets its handle go.
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  // The window's frame in its non-client area (a 1-pixel border).
  virtual void NCPaint(HDC DC);
};

// Makes the application's hint window; a library may put a factory of its own class here.
extern std::function<THintWindow*(TComponent* AOwner)> HintWindowClass;

// ---- balloon hints ----

enum TBalloonHintStyle { bhsBalloon, bhsStandard };

// The window a hint component shows: title in bold, description, image; a balloon with
// a stem pointing at its anchor (bhsBalloon) or a plain rectangle (bhsStandard).
class TCustomHintWindow : public TCustomControl {
  QV_CLASS(TCustomHintWindow, TCustomControl)
  explicit TCustomHintWindow(TComponent* AOwner);

  TCustomHint* HintParent() const { return FHintParent; }
  void SetHintParent(TCustomHint* Value) { FHintParent = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  // The balloon shows above its anchor with the stem at the bottom.
  bool PopAbove() const { return FPopAbove; }
  void SetPopAbove(bool Value) { FPopAbove = Value; }
  // Set by the hint component before it queues the window; true once it has been shown
  // and hidden again.
  bool WorkComplete() const { return FWorkComplete; }
  void SetWorkComplete(bool Value) { FWorkComplete = Value; }
  TBalloonHintStyle Style() const;

  // Sizes the window to its title, description and image.
  void AutoSize();
  // Left-top at Point.
  virtual void PositionAt(const TPoint& Point);
  // Below the rectangle, centred on it (or above it when it lies below the middle of
  // the screen), kept on the work area.
  virtual void PositionAt(const TRect& Rect);
  // Below the cursor's shape.
  virtual void PositionAtCursor();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  // The window's shape: rounded with a stem for balloons.
  void UpdateShape();
  // Height of the stem of a balloon (0 for the standard style).
  int StemHeight() const;
  // Points the stem at X (window coordinates), kept off the rounded corners, and shapes
  // the window again (on the side PopAbove says).
  void AimStemAt(int X);
  TRect ContentRect() const;

  TCustomHint* FHintParent = nullptr;
  String FTitle;
  String FDescription;
  int FImageIndex = -1;
  bool FPopAbove = false;
  bool FWorkComplete = true;
  // Where the stem points, in window coordinates.
  int FStemX = 12;
};

class TCustomHint : public TComponent {
  QV_CLASS(TCustomHint, TComponent)
  explicit TCustomHint(TComponent* AOwner);
  ~TCustomHint() override;

  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value) { FDescription = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TBalloonHintStyle Style() const { return FStyle; }
  void SetStyle(TBalloonHintStyle Value) { FStyle = Value; }
  // Milliseconds between a request and the window appearing.
  int Delay() const { return FDelay; }
  void SetDelay(int Value) { FDelay = Value < 0 ? 0 : Value; }
  // Milliseconds the window stays; -1 keeps it until HideHint.
  int HideAfter() const { return FHideAfter; }
  void SetHideAfter(int Value) { FHideAfter = Value; }
  // Fade the window in and out.
  bool Animate() const { return FAnimate; }
  void SetAnimate(bool Value) { FAnimate = Value; }
  bool ShowingHint() const { return FShowingHint; }

  // At the cursor, at a screen point, under a screen rectangle, or for a control (its
  // CustomHint text, or this hint's own at its bottom-left corner).
  virtual void ShowHint();
  virtual void ShowHint(const TPoint& Point);
  virtual void ShowHint(const TRect& Rect);
  virtual void ShowHint(TControl* Control);
  // Hides and frees every window this hint shows or is about to show.
  virtual void HideHint();
  // The application calls it when the mouse leaves Control.
  virtual void HideHint(TControl* Control);

  TNotifyEvent OnShow;
  TNotifyEvent OnHide;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The class of window the hint shows.
  virtual TCustomHintWindow* CreateHintWindow();
  // A new window (CreateHintWindow) whose hint parent is this hint, its handle made, with
  // this hint's title, description and image; marks the hint as showing.
  TCustomHintWindow* NewHintWindow();
  // Title, description and image of a control's hint "title|description|image".
  void TakeControlHint(TControl* Control);
  // Hands a placed window over: shown after Delay (ShowWindow, so the window hears
  // WM_SHOWWINDOW and may place itself again; faded in when Animate), hidden and freed
  // after HideAfter; a newer window replaces an older one still showing.
  void QueueHintWindow(TCustomHintWindow* Window);

  String FTitle;
  String FDescription;
  int FImageIndex = -1;
  TCustomImageList* FImages = nullptr;
  TBalloonHintStyle FStyle = bhsBalloon;
  int FDelay = 500;
  int FHideAfter = -1;
  bool FAnimate = true;
  bool FShowingHint = false;
  TCustomHintShowHide* FShowHide = nullptr;

  friend class TCustomHintShowHide;
};

class TBalloonHint : public TCustomHint {
  QV_CLASS(TBalloonHint, TCustomHint)
  explicit TBalloonHint(TComponent* AOwner) : TCustomHint(AOwner) {}
};
