#include "qvHint/BalloonHint.h"

#include "qvHint/CursorHeight.h"
#include "vcl/Forms.h"
#include "win/Input.h"

// ---- TqvCustomHintWindow ----

void TqvCustomHintWindow::PositionAt(const TPoint& Point) {
  if (!FShowAtCursor) {
    PositionAt(Rect(Point.X, Point.Y, Point.X, Point.Y));
    return;
  }
  AutoSize();
  FPopAbove = false;
  SetBounds(Point.X, Point.Y, Width(), Height());
}

void TqvCustomHintWindow::PositionAt(const TRect& Rect) {
  AutoSize();
  const int centre = Rect.Left + (Rect.Right - Rect.Left) / 2;
  int left = centre - Width() / 2;
  if (Style() == bhsStandard) left += 10;
  int top = Rect.Bottom;
  FPopAbove = top > Screen->Height() / 2;
  if (FPopAbove) top = Rect.Top - Height();
  SetBounds(left, top, Width(), Height());
  POINT cursor{};
  GetCursorPos(&cursor);
  KeepOnScreen(cursor, centre);
}

void TqvCustomHintWindow::PositionAtCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  const int y = cursor.Y + GetCursorHeight();
  FShowAtCursor = true;
  PositionAt(Point(cursor.X, y));
  KeepOnScreen(cursor, cursor.X);
}

void TqvCustomHintWindow::KeepOnScreen(const TPoint& Cursor, int AnchorX) {
  const TRect work = WorkAreaAt(Cursor);
  TRect r = BoundsRect();
  // Shown at the cursor, a balloon without room below goes above the cursor, pointing
  // down at it.
  if (FShowAtCursor && r.Bottom > work.Bottom) {
    OffsetRect(&r, 0, Cursor.Y - r.Bottom);
    FPopAbove = true;
  }
  r = KeepInside(r, work);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  AimStemAt(AnchorX - r.Left);
}

void TqvCustomHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SHOWWINDOW) {
    if (Message.WParam && FShowAtCursor)
      PositionAtCursor();
    else
      FShowAtCursor = false;
  }
  TCustomHintWindow::Dispatch(Message);
}

// ---- TqvBalloonHint ----

TCustomHintWindow* TqvBalloonHint::CreateHintWindow() { return new TqvCustomHintWindow(nullptr); }

void TqvBalloonHint::ShowHint(TControl* Control) {
  if (!Control) return;
  if (Control->CustomHint() != this) {
    const TPoint bottomLeft = Point(Control->Left(), Control->Top() + Control->Height());
    ShowHint(Control->Parent() ? Control->Parent()->ClientToScreen(bottomLeft) : bottomLeft);
    return;
  }
  if (Control->Hint().empty()) return;
  TakeControlHint(Control);
  ShowHint();
}
