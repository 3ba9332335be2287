// TqvBalloonHint: the platform's balloon hint with a window, TqvCustomHintWindow, that
// sits just below the mouse cursor's visible shape and stays on the monitor's work area.
#pragma once

#include "vcl/Hints.h"

class TqvCustomHintWindow : public TCustomHintWindow {
  QV_CLASS(TqvCustomHintWindow, TCustomHintWindow)
  explicit TqvCustomHintWindow(TComponent* AOwner) : TCustomHintWindow(AOwner) {}

  // With ShowAtCursor: left-top at Point; otherwise as PositionAt of the empty rectangle
  // at Point.
  void PositionAt(const TPoint& Point) override;
  // Centred below Rect (10 pixels further right in the standard style), or above it when
  // that would start below the middle of the screen; kept on the work area.
  void PositionAt(const TRect& Rect) override;
  // Below the cursor's visible shape; kept on the work area, above the cursor when there
  // is no room below it. Shown later, the window goes to where the cursor is then.
  void PositionAtCursor() override;

  bool ShowAtCursor() const { return FShowAtCursor; }

 protected:
  void Dispatch(TMessage& Message) override;

  bool FShowAtCursor = false;

 private:
  // Moves the window onto the work area of the monitor nearest to Cursor; the stem then
  // points at AnchorX (screen).
  void KeepOnScreen(const TPoint& Cursor, int AnchorX);
};

class TqvBalloonHint : public TBalloonHint {
  QV_CLASS(TqvBalloonHint, TBalloonHint)
  explicit TqvBalloonHint(TComponent* AOwner) : TBalloonHint(AOwner) {}

  // At the cursor, a point or under a rectangle as every hint component does, in a
  // TqvCustomHintWindow (CreateHintWindow).
  using TBalloonHint::ShowHint;
  // A control whose CustomHint is another: this hint below its bottom-left corner. Its
  // own: the control's hint "title|description|image" at the cursor.
  void ShowHint(TControl* Control) override;

 protected:
  TCustomHintWindow* CreateHintWindow() override;
};
