// TqvBalloonHint and its window: placement below the cursor's shape, below or above a
// rectangle, kept on the work area (above the cursor when there is no room below it), a
// window placed again where the cursor is when it finally shows, and the parts of a
// control's hint.
#include <gtest/gtest.h>

#include <vector>

#include "HintFixture.h"
#include "qvHint.h"

namespace {

constexpr int kCursorHeight = 32;  // SM_CYCURSOR: no cursor shape
// The headless monitor's work area.
constexpr int kWorkRight = 1920, kWorkBottom = 1040;

// Remembers the windows it makes.
class TRecordingBalloonHint : public TqvBalloonHint {
  QV_CLASS(TRecordingBalloonHint, TqvBalloonHint)
  explicit TRecordingBalloonHint(TComponent* AOwner) : TqvBalloonHint(AOwner) {}
  TqvCustomHintWindow* Last = nullptr;

 protected:
  TCustomHintWindow* CreateHintWindow() override {
    TCustomHintWindow* window = TqvBalloonHint::CreateHintWindow();
    Last = dynamic_cast<TqvCustomHintWindow*>(window);
    return window;
  }
};

class BalloonHintTest : public HintFixture {
 protected:
  void SetUp() override {
    HintFixture::SetUp();
    Balloon = new TRecordingBalloonHint(nullptr);
    Balloon->SetDelay(100);
    Balloon->SetAnimate(false);
  }
  void TearDown() override {
    delete Window;
    delete Balloon;
    HintFixture::TearDown();
  }

  // A window of the balloon, as ShowHint makes them, not queued.
  TqvCustomHintWindow* MakeWindow(TBalloonHintStyle Style = bhsBalloon) {
    Balloon->SetStyle(Style);
    Window = new TqvCustomHintWindow(nullptr);
    Window->SetHintParent(Balloon);
    Window->HandleNeeded();
    Window->SetTitle("Balloon title");
    Window->SetDescription("A description of some length");
    return Window;
  }

  TRecordingBalloonHint* Balloon = nullptr;
  TqvCustomHintWindow* Window = nullptr;
};

TEST_F(BalloonHintTest, AtTheCursorTheWindowStartsBelowTheCursorsShapeAndStaysOnTheWorkArea) {
  MakeWindow();
  Window->AutoSize();
  const int w = Window->Width(), h = Window->Height();
  struct Case {
    const char* Name;
    TPoint Cursor;
    TPoint TopLeft;
    bool PopAbove;
  };
  const std::vector<Case> cases = {
      {"room", Point(300, 300), Point(300, 300 + kCursorHeight), false},
      {"right edge", Point(kWorkRight - 10, 300), Point(kWorkRight - w, 300 + kCursorHeight), false},
      // No room below: the window ends at the cursor's y, above the cursor.
      {"bottom edge", Point(300, kWorkBottom - 20), Point(300, kWorkBottom - 20 - h), true},
      {"corner", Point(kWorkRight - 5, kWorkBottom - 5), Point(kWorkRight - w, kWorkBottom - 5 - h), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    MoveCursor(c.Cursor.X, c.Cursor.Y);
    Window->PositionAtCursor();
    EXPECT_TRUE(Window->ShowAtCursor());
    EXPECT_EQ(Window->BoundsRect(), Bounds(c.TopLeft.X, c.TopLeft.Y, w, h));
    EXPECT_EQ(Window->PopAbove(), c.PopAbove);
  }
}

TEST_F(BalloonHintTest, TheDistanceBelowTheCursorIsThatOfItsVisibleShape) {
  MakeWindow();
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  const int height = GetCursorHeight();
  ASSERT_NE(height, kCursorHeight);
  MoveCursor(300, 300);
  Window->PositionAtCursor();
  EXPECT_EQ(Window->Top(), 300 + height);
}

TEST_F(BalloonHintTest, UnderARectangleTheWindowIsCentredAndPopsAboveBelowTheMiddleOfTheScreen) {
  struct Case {
    const char* Name;
    TBalloonHintStyle Style;
    TRect Anchor;
    bool PopAbove;
    int Shift;  // the standard style sits 10 pixels further right
  };
  const std::vector<Case> cases = {
      {"upper half", bhsBalloon, Rect(400, 100, 500, 120), false, 0},
      {"lower half", bhsBalloon, Rect(400, 700, 500, 720), true, 0},
      {"standard, upper half", bhsStandard, Rect(400, 100, 500, 120), false, 10},
      {"standard, lower half", bhsStandard, Rect(400, 700, 500, 720), true, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    MakeWindow(c.Style);
    Window->PositionAt(c.Anchor);
    const int w = Window->Width(), h = Window->Height();
    EXPECT_EQ(Window->PopAbove(), c.PopAbove);
    EXPECT_EQ(Window->Left(), 450 - w / 2 + c.Shift);
    EXPECT_EQ(Window->Top(), c.PopAbove ? c.Anchor.Top - h : c.Anchor.Bottom);
    EXPECT_FALSE(Window->ShowAtCursor());
    delete Window;
    Window = nullptr;
  }
}

TEST_F(BalloonHintTest, AWindowPlacedAtARectangleIsKeptOnTheWorkArea) {
  MakeWindow();
  Window->PositionAt(Rect(1900, 100, 1920, 120));
  EXPECT_EQ(Window->Left() + Window->Width(), kWorkRight);
  Window->PositionAt(Rect(0, 100, 10, 120));
  EXPECT_EQ(Window->Left(), 0);
  // Above a tall rectangle that starts near the top: moved down to start at the top.
  Window->PositionAt(Rect(400, 10, 500, 600));
  ASSERT_TRUE(Window->PopAbove());
  EXPECT_EQ(Window->Top(), 0);
}

TEST_F(BalloonHintTest, AWindowShownLaterAtTheCursorGoesWhereTheCursorIsThen) {
  MoveCursor(300, 300);
  Balloon->SetTitle("Follows");
  Balloon->ShowHint();
  TqvCustomHintWindow* window = Balloon->Last;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->BoundsRect().TopLeft(), Point(300, 300 + kCursorHeight));
  EXPECT_FALSE(window->WorkComplete());
  MoveCursor(600, 400);
  Wait(100);
  ASSERT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ(window->BoundsRect().TopLeft(), Point(600, 400 + kCursorHeight));
  // Hidden, the window forgets the cursor.
  ShowWindow(window->Handle(), SW_HIDE);
  EXPECT_FALSE(window->ShowAtCursor());
  Balloon->HideHint();
}

TEST_F(BalloonHintTest, AWindowShownAtAPointStaysThere) {
  MoveCursor(300, 300);
  Balloon->SetTitle("Stays");
  Balloon->ShowHint(Point(500, 200));
  TqvCustomHintWindow* window = Balloon->Last;
  ASSERT_NE(window, nullptr);
  const TRect placed = window->BoundsRect();
  EXPECT_EQ(placed.Top, 200);
  EXPECT_EQ(placed.Left, 500 - placed.Width() / 2);
  MoveCursor(700, 700);
  Wait(100);
  ASSERT_TRUE(IsWindowVisible(window->Handle()));
  EXPECT_EQ(window->BoundsRect(), placed);
  Balloon->HideHint();
}

TEST_F(BalloonHintTest, ShowHintForAControlTakesTitleDescriptionAndImageFromItsHint) {
  auto* control = Make<TWinControl>(Host, Rect(50, 60, 150, 80));
  control->SetCustomHint(Balloon);
  struct Case {
    const char* Hint;
    const char* Title;
    const char* Description;
    int ImageIndex;
  };
  const std::vector<Case> cases = {
      {"Title|Long text|3", "Title", "Long text", 3},
      {"Title|Long text", "Title", "Long text", -1},
      {"Only a title", "Only a title", "", -1},
      {"Title|Long text|not a number", "Title", "Long text", -1},
  };
  MoveCursor(120, 70);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Hint);
    control->SetHint(c.Hint);
    Balloon->Last = nullptr;
    Balloon->ShowHint(control);
    TqvCustomHintWindow* window = Balloon->Last;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Title(), c.Title);
    EXPECT_EQ(window->Description(), c.Description);
    EXPECT_EQ(window->ImageIndex(), c.ImageIndex);
    EXPECT_TRUE(window->ShowAtCursor());
    EXPECT_EQ(window->Top(), 70 + kCursorHeight);
  }
  // No hint, no window.
  control->SetHint("");
  Balloon->Last = nullptr;
  Balloon->ShowHint(control);
  EXPECT_EQ(Balloon->Last, nullptr);
  Balloon->ShowHint(static_cast<TControl*>(nullptr));
  EXPECT_EQ(Balloon->Last, nullptr);
  Balloon->HideHint();
  delete control;
}

TEST_F(BalloonHintTest, ForAControlOfAnotherHintTheBalloonGoesBelowItsBottomLeftCorner) {
  auto* control = Make<TWinControl>(Host, Rect(50, 60, 150, 80));
  control->SetHint("Not this balloon's");
  Balloon->SetTitle("Own title");
  Balloon->ShowHint(control);
  TqvCustomHintWindow* window = Balloon->Last;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Title(), "Own title");
  EXPECT_FALSE(window->ShowAtCursor());
  // The host is at the screen's top-left corner: the corner is (50, 80) on the screen.
  EXPECT_EQ(window->Top(), 80);
  EXPECT_EQ(window->Left(), 50 - window->Width() / 2);
  Balloon->HideHint();
  delete control;
}

}  // namespace
