// The application's hints of controls, balloon hints of a hint component, and the hint
// window's size and place, in virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "support/ControlHost.h"
#include "vcl/Forms.h"
#include "vcl/Hints.h"
#include "win/Input.h"

namespace {

class HintsTest : public ControlHostTest {
 protected:
  HintsTest() : ControlHostTest({.OwnApplication = true}) {}

  void SetUp() override {
    ControlHostTest::SetUp();
    A = Make<TWinControl>(Host, "A", Bounds(10, 10, 100, 40));
    B = Make<TWinControl>(Host, "B", Bounds(200, 10, 100, 40));
    A->SetHint("Open|Opens a file");
    B->SetHint("Save");
    A->SetShowHint(true);
    B->SetShowHint(true);
    Run();
  }

  void MoveTo(int x, int y) {
    Mouse(InputKind::MouseMove, x, y);
    Run();
  }
  void Wait(uint64_t ms) {
    Advance(ms);
    Run();
  }
  // The mouse away from every hinted control and no hint pending: the next case starts
  // afresh.
  void LeaveHints() {
    MoveTo(150, 200);
    Application->CancelHint();
  }
  // The text of the application's hint window while it shows, else "-".
  static std::string Showing() {
    THintWindow* w = Application->HintWindow();
    if (!w || !w->HandleAllocated() || !IsWindowVisible(w->Handle())) return "-";
    return w->Caption();
  }

  TWinControl* A = nullptr;
  TWinControl* B = nullptr;
};

TEST_F(HintsTest, HintShowsAfterThePauseAndGoesAfterTheHidePause) {
  struct Case {
    const char* Name;
    int Pause, HidePause;
  };
  const Case cases[] = {{"defaults", 500, 2500}, {"short", 100, 300}, {"immediate", 0, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Application->SetHintPause(c.Pause);
    Application->SetHintHidePause(c.HidePause);
    MoveTo(20, 20);
    if (c.Pause > 0) {
      Wait(uint64_t(c.Pause - 1));
      EXPECT_EQ(Showing(), "-");
      Wait(1);
    }
    EXPECT_EQ(Showing(), "Open");
    EXPECT_EQ(Application->Hint(), "Opens a file");
    // Moving within the control keeps it.
    MoveTo(30, 25);
    Wait(uint64_t(c.HidePause - 1));
    EXPECT_EQ(Showing(), "Open");
    Wait(1);
    EXPECT_EQ(Showing(), "-");
    LeaveHints();
  }
}

TEST_F(HintsTest, WhoShowsAHint) {
  struct Case {
    const char* Name;
    bool AppShowHint, ControlShowHint, ParentShowHint;
    const char* Expected;
  };
  const Case cases[] = {
      {"control", true, true, false, "Open"},
      {"control without ShowHint", true, false, false, "-"},
      {"application switched off", false, true, false, "-"},
      {"from a parent that shows hints", true, false, true, "Open"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Application->SetShowHint(c.AppShowHint);
    A->SetShowHint(c.ControlShowHint);
    Host->SetShowHint(c.ParentShowHint);
    if (c.ParentShowHint) A->SetParentShowHint(true);
    MoveTo(20, 20);
    Wait(500);
    EXPECT_EQ(Showing(), c.Expected);
    LeaveHints();
    Host->SetShowHint(false);
    Application->SetShowHint(true);
  }
}

TEST_F(HintsTest, AnotherControlTakesOverAfterTheShortPause) {
  MoveTo(20, 20);
  Wait(500);
  ASSERT_EQ(Showing(), "Open");
  MoveTo(220, 20);
  Wait(uint64_t(Application->HintShortPause()));
  EXPECT_EQ(Showing(), "Save");
}

TEST_F(HintsTest, KeysPressesAndLeavingEndTheHint) {
  struct Case {
    const char* Name;
    std::function<void()> End;
  };
  const Case cases[] = {
      {"press",
       [this] {
         Mouse(InputKind::MouseDown, 20, 20);
         Mouse(InputKind::MouseUp, 20, 20);
         Run();
       }},
      {"key",
       [this] {
         Headless()->Inject({.Kind = InputKind::KeyDown, .Window = Top->Native, .Key = 'A'});
         Run();
       }},
      {"leaving for a control without hint", [this] { MoveTo(150, 200); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    MoveTo(20, 20);
    Wait(500);
    ASSERT_EQ(Showing(), "Open");
    c.End();
    EXPECT_EQ(Showing(), "-");
    // Nothing comes back by itself.
    Wait(3000);
    EXPECT_EQ(Showing(), "-");
    LeaveHints();
  }
}

TEST_F(HintsTest, HintShowAndOnShowHintDecide) {
  struct Case {
    const char* Name;
    LRESULT HintShowResult;
    bool CanShow;
    const char* NewText;
    const char* Expected;
  };
  const Case cases[] = {
      {"as it is", 0, true, nullptr, "Open"},
      {"the control refuses", 1, true, nullptr, "-"},
      {"the handler refuses", 0, false, nullptr, "-"},
      {"the handler rewrites", 0, true, "Open a file now", "Open a file now"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto previous = A->WindowProc;
    A->WindowProc = [&, previous](TMessage& m) {
      if (m.Msg == CM_HINTSHOW) {
        auto* info = reinterpret_cast<THintInfo*>(m.LParam);
        EXPECT_EQ(info->HintControl, A);
        EXPECT_EQ(info->HintStr, "Open");
        m.Result = c.HintShowResult;
        return;
      }
      previous(m);
    };
    Application->OnShowHint = [&](String& text, bool& canShow, THintInfo&) {
      canShow = c.CanShow;
      if (c.NewText) text = c.NewText;
    };
    MoveTo(20, 20);
    Wait(500);
    EXPECT_EQ(Showing(), c.Expected);
    LeaveHints();
    A->WindowProc = previous;
  }
  Application->OnShowHint = nullptr;
}

TEST_F(HintsTest, AControlFreedWhileItsHintIsPendingOrShowing) {
  for (bool showing : {false, true}) {
    SCOPED_TRACE(showing ? "showing" : "pending");
    TWinControl* c = Make<TWinControl>(Host, "C", Bounds(10, 100, 100, 40));
    c->SetHint("Gone");
    c->SetShowHint(true);
    MoveTo(20, 110);
    if (showing) {
      Wait(500);
      ASSERT_EQ(Showing(), "Gone");
    }
    delete c;
    EXPECT_EQ(Application->HintControl(), nullptr);
    Wait(3000);
    EXPECT_EQ(Showing(), "-");
  }
}

TEST_F(HintsTest, HintWindowSizeStaysSaneAndOnTheWorkArea) {
  THintWindow* w = HintWindowClass(Application);
  const RECT work = Screen->WorkAreaRect();
  struct Case {
    const char* Name;
    String Text;
  };
  const Case cases[] = {
      {"one line", "Open"},
      {"only line breaks", String(2000, '\n')},
      {"a megabyte", String(1 << 20, 'x')},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    RECT r = w->CalcHintRect(Screen->Width(), c.Text, nullptr);
    EXPECT_GT(r.Width(), 0);
    EXPECT_GT(r.Height(), 0);
    EXPECT_LE(r.Width(), Screen->Width());
    EXPECT_LE(r.Height(), Screen->Height());
    // Placed near the bottom-right corner, it is moved onto the work area, not shrunk.
    OffsetRect(&r, work.Right - 10, work.Bottom - 10);
    w->ActivateHint(r, c.Text);
    RECT placed{};
    GetWindowRect(w->Handle(), &placed);
    EXPECT_EQ(placed.Width(), r.Width());
    EXPECT_EQ(placed.Height(), r.Height());
    EXPECT_LE(placed.Right, std::max(work.Right, placed.Left + placed.Width()));
    EXPECT_GE(placed.Left, work.Left);
    EXPECT_GE(placed.Top, work.Top);
    w->ReleaseHandle();
  }
}

// ---- balloon hints ----

class BalloonHintTest : public HintsTest {
 protected:
  void SetUp() override {
    HintsTest::SetUp();
    Balloon = new TBalloonHint(nullptr);
    Balloon->SetDelay(200);
    Balloon->SetHideAfter(1000);
    Balloon->SetAnimate(false);
  }
  void TearDown() override {
    delete Balloon;
    HintsTest::TearDown();
  }
  static std::vector<TCustomHintWindow*> VisibleBalloons() {
    std::vector<TCustomHintWindow*> list;
    for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT))
      if (IsWindowVisible(h))
        if (auto* hint = dynamic_cast<TCustomHintWindow*>(TWinControl::FindControl(h))) list.push_back(hint);
    return list;
  }
  // The visible balloon windows' title/description/image.
  static std::string Balloons() {
    std::string s;
    for (TCustomHintWindow* hint : VisibleBalloons())
      s += (s.empty() ? "" : ",") + hint->Title() + "/" + hint->Description() + "/" + std::to_string(hint->ImageIndex());
    return s.empty() ? "-" : s;
  }
  TBalloonHint* Balloon = nullptr;
};

TEST_F(BalloonHintTest, AControlsCustomHintShowsTitleDescriptionAndImage) {
  A->SetHint("Open|Opens a file|2");
  A->SetCustomHint(Balloon);
  MoveTo(20, 20);
  Wait(500);  // the application's pause
  EXPECT_EQ(Showing(), "-");
  EXPECT_EQ(Balloons(), "-");
  Wait(200);  // the balloon's delay
  EXPECT_EQ(Balloons(), "Open/Opens a file/2");
  EXPECT_TRUE(Balloon->ShowingHint());
  Wait(1000);
  EXPECT_EQ(Balloons(), "-");
  EXPECT_FALSE(Balloon->ShowingHint());
}

TEST_F(BalloonHintTest, ANewerBalloonReplacesTheOlderAndHideHintEndsBoth) {
  Balloon->SetTitle("First");
  Balloon->ShowHint(Point(100, 100));
  Wait(200);
  EXPECT_EQ(Balloons(), "First//-1");
  Balloon->SetTitle("Second");
  Balloon->ShowHint(Rect(100, 100, 140, 120));
  Wait(200);
  EXPECT_EQ(Balloons(), "Second//-1");
  Balloon->HideHint();
  Run();
  EXPECT_EQ(Balloons(), "-");
  Wait(2000);
  EXPECT_EQ(Balloons(), "-");
}

TEST_F(BalloonHintTest, FadesInThroughTheWindowsOpacity) {
  Balloon->SetAnimate(true);
  Balloon->SetTitle("Fade");
  Balloon->ShowHint(Point(100, 100));
  Wait(200);
  BYTE alpha = 0;
  std::vector<int> steps;
  for (int i = 0; i < 10; ++i) {
    for (TCustomHintWindow* hint : VisibleBalloons()) GetLayeredWindowAttributes(hint->Handle(), nullptr, &alpha, nullptr);
    steps.push_back(alpha);
    if (alpha == 255) break;
    Wait(15);
  }
  ASSERT_GE(steps.size(), 3u);
  EXPECT_EQ(steps.front(), 0);
  EXPECT_EQ(steps.back(), 255);
  for (size_t i = 1; i < steps.size(); ++i) EXPECT_GT(steps[i], steps[i - 1]);
}

TEST_F(BalloonHintTest, FreeingTheHintWhileItsBalloonShows) {
  Balloon->SetTitle("Bye");
  Balloon->ShowHint(Point(100, 100));
  Wait(200);
  ASSERT_EQ(Balloons(), "Bye//-1");
  delete Balloon;
  Balloon = nullptr;
  Run();
  EXPECT_EQ(Balloons(), "-");
  Wait(2000);
}

TEST_F(BalloonHintTest, BalloonsStayOnTheWorkAreaAndPopAboveLowRectangles) {
  const RECT work = Screen->WorkAreaRect();
  Balloon->SetTitle("A title long enough to matter");
  struct Case {
    const char* Name;
    RECT Anchor;
    bool PopAbove;
  };
  const Case cases[] = {
      {"top-left", Rect(0, 0, 10, 10), false},
      {"bottom-right", Rect(work.Right - 10, work.Bottom - 10, work.Right, work.Bottom), true},
      {"right edge, high", Rect(work.Right - 5, 100, work.Right, 110), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Balloon->ShowHint(c.Anchor);
    Wait(200);
    const auto shown_ = VisibleBalloons();
    ASSERT_EQ(shown_.size(), 1u);
    TCustomHintWindow* shown = shown_.front();
    EXPECT_EQ(shown->PopAbove(), c.PopAbove);
    RECT r{};
    GetWindowRect(shown->Handle(), &r);
    EXPECT_GE(r.Left, work.Left);
    EXPECT_GE(r.Top, work.Top);
    EXPECT_LE(r.Right, work.Right);
    EXPECT_LE(r.Bottom, work.Bottom);
    if (c.PopAbove) {
      EXPECT_LE(r.Bottom, c.Anchor.Top);
    } else {
      EXPECT_GE(r.Top, c.Anchor.Bottom);
    }
    Balloon->HideHint();
    Run();
  }
}

}  // namespace
