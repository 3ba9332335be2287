// The balloon window of hint components on the headless backend: a queued window hears
// WM_SHOWWINDOW when it finally shows (and may place itself again then), and its stem
// points where it is aimed, off the rounded corners.
#include <gtest/gtest.h>

#include <vector>

#include "support/ControlHost.h"
#include "vcl/Hints.h"
#include "win/Input.h"

namespace {

// Records WM_SHOWWINDOW and may move itself when shown; opens the stem to tests.
class TShowRecordingHintWindow : public TCustomHintWindow {
  QV_CLASS(TShowRecordingHintWindow, TCustomHintWindow)
  explicit TShowRecordingHintWindow(TComponent* AOwner) : TCustomHintWindow(AOwner) {}
  using TCustomHintWindow::AimStemAt;
  std::vector<bool> Shows;
  TPoint MoveOnShow{-1, -1};

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SHOWWINDOW) {
      Shows.push_back(Message.WParam != 0);
      if (Message.WParam && MoveOnShow.X >= 0) SetBounds(MoveOnShow.X, MoveOnShow.Y, Width(), Height());
    }
    TCustomHintWindow::Dispatch(Message);
  }
};

class TRecordingHint : public TBalloonHint {
  QV_CLASS(TRecordingHint, TBalloonHint)
  explicit TRecordingHint(TComponent* AOwner) : TBalloonHint(AOwner) {}
  TShowRecordingHintWindow* Last = nullptr;

 protected:
  TCustomHintWindow* CreateHintWindow() override { return Last = new TShowRecordingHintWindow(nullptr); }
};

class BalloonWindowTest : public ControlHostTest {
 protected:
  BalloonWindowTest() : ControlHostTest({.OwnApplication = true}) {}
};

TEST_F(BalloonWindowTest, AQueuedWindowHearsWmShowWindowWhenItShowsAndMayMoveThen) {
  TRecordingHint hint(nullptr);
  hint.SetTitle("Queued");
  hint.SetDelay(200);
  hint.SetHideAfter(500);
  hint.SetAnimate(false);
  hint.ShowHint(Point(300, 300));
  TShowRecordingHintWindow* window = hint.Last;
  ASSERT_NE(window, nullptr);
  window->MoveOnShow = Point(40, 50);
  Advance(199);
  Run();
  EXPECT_TRUE(window->Shows.empty());
  Advance(1);
  Run();
  ASSERT_EQ(window->Shows, std::vector<bool>{true});
  ASSERT_TRUE(IsWindowVisible(window->Handle()));
  RECT r{};
  GetWindowRect(window->Handle(), &r);
  EXPECT_EQ(r.TopLeft(), Point(40, 50));
  EXPECT_NE(GetWindowLongPtr(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_NE(GetActiveWindow(), window->Handle());
  // Its time over, the window goes.
  window->MoveOnShow = Point(-1, -1);
  Advance(500);
  Run();
  EXPECT_FALSE(hint.ShowingHint());
}

TEST_F(BalloonWindowTest, TheStemPointsWhereItIsAimedAndKeepsOffTheCorners) {
  TBalloonHint hint(nullptr);
  auto* window = new TShowRecordingHintWindow(nullptr);
  window->SetHintParent(&hint);
  window->HandleNeeded();
  window->SetBounds(100, 100, 200, 80);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int Aim;
    int Tip;  // where the stem's tip ends up
  };
  // The stem is 12 wide and stays 10 away from either end (the corners' radius).
  for (const Case c : {Case{60, 60}, Case{0, 10}, Case{-50, 10}, Case{195, 200 - 10 - 12}}) {
    SCOPED_TRACE(c.Aim);
    window->AimStemAt(c.Aim);
    ASSERT_NE(GetWindowRgn(window->Handle(), shape), ERROR_REGION);
    // Just below the tip, inside the stem; beside the stem, above the body: outside.
    EXPECT_TRUE(PtInRegion(shape, c.Tip + 1, 4));
    EXPECT_FALSE(PtInRegion(shape, c.Tip - 3, 4));
    EXPECT_FALSE(PtInRegion(shape, c.Tip + 14, 4));
  }
  DeleteObject(shape);
  delete window;
}

}  // namespace
