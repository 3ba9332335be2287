// Scroll boxes: ranges from the children, the frame bars, scrolling by bars, wheel, code
// and focus, and children or the box going away while it scrolls.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "backend/Headless.h"
#include "support/AppHooks.h"
#include "support/ControlHost.h"
#include "vcl/Forms.h"
#include "win/Input.h"
#include "win/Queue.h"
#include "win/ScrollBars.h"

namespace {

// A 200 x 150 scroll box (client edge: 196 x 146 inside) at (10, 10) of the host; the
// host's top-level window lies at the screen's corner.
class ScrollingTest : public ControlHostTest {
 protected:
  void SetUp() override {
    ControlHostTest::SetUp();
    Box = new TScrollBox(nullptr);
    Box->SetBounds(10, 10, 200, 150);
    Box->SetParent(Host);
    ASSERT_TRUE(Box->HandleAllocated());
  }

  TWinControl* Child(TRect Bounds) { return Make<TWinControl>(Box, Bounds); }
  TGraphicControl* Graphic(TRect Bounds) { return Make<TGraphicControl>(Box, Bounds); }

  bool Shows(int bar) const {
    const auto style = DWORD(GetWindowLong(Box->WindowHandle(), GWL_STYLE));
    return (style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
  }
  SCROLLINFO Info(int bar) const {
    SCROLLINFO si{};
    si.fMask = SIF_ALL;
    GetScrollInfo(Box->WindowHandle(), bar, &si);
    return si;
  }
  void Scroll(UINT msg, int code) { SendMessage(Box->WindowHandle(), msg, MAKEWPARAM(code, 0), 0); }

  TScrollBox* Box = nullptr;
};

TEST_F(ScrollingTest, ABoxHasItsDefaultsAndAClientEdge) {
  auto* box = new TScrollBox(nullptr);
  EXPECT_EQ(box->Width(), 185);
  EXPECT_EQ(box->Height(), 41);
  EXPECT_EQ(box->BorderStyle(), bsSingle);
  EXPECT_TRUE(box->AutoScroll());
  EXPECT_TRUE(box->ControlStyle().Contains(csAcceptsControls));
  EXPECT_EQ(box->VertScrollBar()->Increment(), 8);
  EXPECT_TRUE(box->VertScrollBar()->Visible());
  EXPECT_EQ(box->HorzScrollBar()->Kind(), sbHorizontal);
  box->SetParent(Host);
  EXPECT_NE(GetWindowLong(box->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(box->ClientWidth(), 181);
  box->SetBorderStyle(bsNone);
  EXPECT_EQ(GetWindowLong(box->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(box->ClientWidth(), 185);
  delete box;
}

TEST_F(ScrollingTest, RangesFollowTheChildrenAndTheBarsShowWhenTheyDoNotFit) {
  struct Case {
    const char* name;
    TRect bounds;
    bool visible;
    int horz, vert;
    bool horzBar, vertBar;
  };
  const Case cases[] = {
      {"fits", {10, 10, 60, 60}, true, 60, 60, false, false},
      {"just fits", {0, 0, 196, 146}, true, 196, 146, false, false},
      {"below", {10, 200, 60, 250}, true, 60, 250, false, true},
      // The vertical bar narrows the client: 190 wide no longer fits 180.
      {"right", {300, 10, 320, 30}, true, 320, 30, true, false},
      {"both", {300, 300, 320, 320}, true, 320, 320, true, true},
      {"hidden child", {300, 300, 320, 320}, false, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TWinControl* child = Child(c.bounds);
    child->SetVisible(c.visible);
    EXPECT_EQ(Box->HorzScrollBar()->Range(), c.horz);
    EXPECT_EQ(Box->VertScrollBar()->Range(), c.vert);
    EXPECT_EQ(Shows(SB_HORZ), c.horzBar);
    EXPECT_EQ(Shows(SB_VERT), c.vertBar);
    EXPECT_EQ(Box->VertScrollBar()->IsScrollBarVisible(), c.vertBar);
    if (c.vertBar) {
      EXPECT_EQ(Info(SB_VERT).nMax, c.vert - 1);
      EXPECT_EQ(int(Info(SB_VERT).nPage), Box->ClientHeight());
    }
    // Moving the child changes the range; removing it empties it.
    child->SetBounds(c.bounds.Left, c.bounds.Top, c.bounds.Width() + 5, c.bounds.Height() + 5);
    if (c.visible) {
      EXPECT_EQ(Box->VertScrollBar()->Range(), c.vert + 5);
    }
    delete child;
    EXPECT_EQ(Box->VertScrollBar()->Range(), 0);
    EXPECT_FALSE(Shows(SB_VERT));
  }
}

TEST_F(ScrollingTest, RangesCountTheScrolledOffAndAlignedChildren) {
  Child({0, 0, 20, 400});
  Box->VertScrollBar()->SetPosition(100);
  // A child added while scrolled, above the view, counts with the position.
  TGraphicControl* above = Graphic({0, -80, 300, -60});
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 300);
  EXPECT_EQ(Box->VertScrollBar()->Range(), 400);
  above->SetBounds(0, 350, 30, 100);  // its bottom, 450 into the content
  EXPECT_EQ(Box->VertScrollBar()->Range(), 550);
  // Right-aligned children add their width to the horizontal range.
  TWinControl* side = Child({0, 0, 50, 10});
  side->SetAlign(alRight);
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 30 + 50);
  Box->HorzScrollBar()->SetMargin(7);
  EXPECT_EQ(Box->HorzScrollBar()->Range(), 30 + 50 + 7);
}

TEST_F(ScrollingTest, BarsFollowTheBoxAsItResizes) {
  Child({0, 0, 300, 200});
  struct Case {
    int width, height;
    bool horzBar, vertBar;
  };
  // Each size scrolled to the end, then made tall: the position comes back to 0.
  const Case cases[] = {
      {400, 300, false, false},
      {400, 150, false, true},
      {310, 210, false, false},
      {304, 190, true, true},  // the vertical bar's width makes the horizontal one needed
      {200, 150, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    Box->SetBounds(10, 10, c.width, c.height);
    EXPECT_EQ(Shows(SB_HORZ), c.horzBar);
    EXPECT_EQ(Shows(SB_VERT), c.vertBar);
    Scroll(WM_VSCROLL, SB_BOTTOM);
    const int expected = c.vertBar ? 200 - Box->ClientHeight() : 0;
    EXPECT_EQ(Box->VertScrollBar()->Position(), expected);
    Box->SetBounds(10, 10, c.width, 400);
    EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
    EXPECT_FALSE(Shows(SB_VERT));
  }
}

TEST_F(ScrollingTest, BarMessagesMoveThePositionWithinTheRange) {
  TWinControl* child = Child({0, 0, 20, 1000});
  TGraphicControl* mark = Graphic({0, 500, 10, 510});
  const int page = Box->ClientHeight();
  const int last = 1000 - page;
  struct Case {
    int start, code, expected;
  };
  const Case cases[] = {
      {0, SB_LINEDOWN, 8},       {100, SB_LINEUP, 92},     {4, SB_LINEUP, 0},
      {0, SB_PAGEDOWN, page},    {300, SB_PAGEUP, 300 - page}, {last - 3, SB_LINEDOWN, last},
      {last, SB_PAGEDOWN, last}, {500, SB_TOP, 0},          {0, SB_BOTTOM, last},
      {40, SB_ENDSCROLL, 40},    {40, SB_THUMBTRACK, 40},   // not tracking: the thumb alone moves
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << " code " << c.code);
    Box->VertScrollBar()->SetPosition(c.start);
    Scroll(WM_VSCROLL, c.code);
    EXPECT_EQ(Box->VertScrollBar()->Position(), c.expected);
    EXPECT_EQ(GetScrollPos(Box->WindowHandle(), SB_VERT), c.expected);
    // Windowed and graphic children moved by the position.
    EXPECT_EQ(child->Top(), -c.expected);
    EXPECT_EQ(mark->Top(), 500 - c.expected);
    RECT r{};
    GetWindowRect(child->WindowHandle(), &r);
    EXPECT_EQ(r.Top, 12 - c.expected);  // box at 10, client edge 2
  }
  EXPECT_EQ(Box->VertScrollBar()->Range(), 1000);  // scrolling keeps the range
}

// A child filled with one colour.
class Swatch : public TCustomControl {
 public:
  explicit Swatch(TComponent* AOwner) : TCustomControl(AOwner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(TColor(RGB(200, 0, 0)));
    Canvas()->FillRect(ClientRect());
  }
};

TEST_F(ScrollingTest, ScrolledChildrenLeaveNoPixelsBehind) {
  Child({0, 0, 10, 500});
  Make<Swatch>(Box, {30, 10, 70, 40});
  Run();
  const COLORREF background = At(100, 140);  // box client, never covered
  ASSERT_EQ(At(60, 30), RGB(200, 0, 0));     // box client origin at (12, 12)
  for (int position : {20, 5, 0}) {
    SCOPED_TRACE(testing::Message() << position);
    Box->VertScrollBar()->SetPosition(position);
    Run();
    const int top = 12 + 10 - position, bottom = top + 30;
    for (int y = 14; y < 70; ++y) {
      const bool inside = y >= std::max(top, 12) && y < bottom;
      EXPECT_EQ(At(60, y), inside ? RGB(200, 0, 0) : background) << "y " << y;
    }
  }
  SaveScreenIfFailed("scrolled-children");
}

TEST_F(ScrollingTest, DraggingTheThumbScrollsWhileDraggingOnlyWithTracking) {
  Child({0, 0, 20, 1000});
  for (bool tracking : {false, true}) {
    SCOPED_TRACE(tracking ? "tracking" : "not tracking");
    Box->VertScrollBar()->SetPosition(0);
    Box->VertScrollBar()->SetTracking(tracking);
    std::vector<int> seen;  // the position after each thumb message
    auto previous = Box->WindowProc;
    Box->WindowProc = [&, previous](TMessage& m) {
      previous(m);
      if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBTRACK) seen.push_back(Box->VertScrollBar()->Position());
    };
    Run();
    SCROLLBARINFO info;
    ASSERT_TRUE(GetScrollBarInfo(Box->WindowHandle(), OBJID_VSCROLL, &info));
    const int x = (info.rcScrollBar.Left + info.rcScrollBar.Right) / 2;
    const int y = info.rcScrollBar.Top + (info.xyThumbTop + info.xyThumbBottom) / 2;
    Mouse(InputKind::MouseDown, x, y);
    Mouse(InputKind::MouseMove, x, y + 40);
    Mouse(InputKind::MouseUp, x, y + 40);
    Run();
    Box->WindowProc = previous;
    ASSERT_FALSE(seen.empty());
    const int end = Box->VertScrollBar()->Position();
    EXPECT_GT(end, 100);  // the drop position
    EXPECT_EQ(seen.back(), tracking ? end : 0);
  }
}

TEST_F(ScrollingTest, TheWheelScrollsVerticallyOrWithShiftHorizontally) {
  Child({0, 0, 1000, 1000});
  struct Case {
    const char* name;
    int delta;
    bool shift;
    int horz, vert;
  };
  // Three lines of Increment 8 per notch.
  const Case cases[] = {
      {"down", -120, false, 0, 24},        {"two notches", -240, false, 0, 48},
      {"up at the top", 120, false, 0, 0}, {"shift: right", -120, true, 24, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Box->HorzScrollBar()->SetPosition(0);
    Box->VertScrollBar()->SetPosition(0);
    if (c.shift) Headless()->Inject({.Kind = InputKind::KeyDown, .Key = VK_SHIFT});
    Headless()->Inject({.Kind = InputKind::MouseWheel, .Screen = {100, 100}, .WheelDelta = c.delta,
                        .Modifiers = c.shift ? kModShift : 0u});
    if (c.shift) Headless()->Inject({.Kind = InputKind::KeyUp, .Key = VK_SHIFT});
    Run();
    EXPECT_EQ(Box->HorzScrollBar()->Position(), c.horz);
    EXPECT_EQ(Box->VertScrollBar()->Position(), c.vert);
  }
  // Without a vertical bar the wheel scrolls horizontally.
  Box->VertScrollBar()->SetVisible(false);
  Box->HorzScrollBar()->SetPosition(0);
  SendMessage(Box->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(100, 100));
  EXPECT_EQ(Box->HorzScrollBar()->Position(), 24);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
}

TEST_F(ScrollingTest, ScrollByMovesEveryChildAndPositionsStayClamped) {
  TWinControl* windowed = Child({10, 20, 50, 60});
  TGraphicControl* graphic = Graphic({100, 200, 120, 220});
  auto* unmade = new TWinControl(nullptr);  // windowed, but hidden: no window yet
  unmade->SetVisible(false);
  unmade->SetBounds(5, 5, 10, 10);
  unmade->SetParent(Box);
  Box->ScrollBy(-7, 13);
  EXPECT_EQ(windowed->BoundsRect(), TRect(3, 33, 43, 73));
  EXPECT_EQ(graphic->BoundsRect(), TRect(93, 213, 113, 233));
  EXPECT_EQ(unmade->BoundsRect(), TRect(-2, 18, 8, 28));
  RECT r{};
  GetWindowRect(windowed->WindowHandle(), &r);
  EXPECT_EQ(r.Left, 10 + 2 + 3);
  // Positions ask beyond the range stay within it.
  Box->ScrollBy(7, -13);
  Box->VertScrollBar()->SetPosition(5000);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 220 - Box->ClientHeight());
  Box->VertScrollBar()->SetPosition(-5);
  EXPECT_EQ(Box->VertScrollBar()->Position(), 0);
  EXPECT_EQ(graphic->Top(), 200);
  Box->HorzScrollBar()->SetPosition(50);  // nothing to scroll across
  EXPECT_EQ(Box->HorzScrollBar()->Position(), 0);
}

TEST_F(ScrollingTest, AutoRangeWaitsWhileDisabledAndSetRangeTurnsAutoScrollOff) {
  Box->DisableAutoRange();
  Box->DisableAutoRange();
  Child({0, 0, 10, 500});
  EXPECT_EQ(Box->VertScrollBar()->Range(), 0);
  Box->EnableAutoRange();
  EXPECT_EQ(Box->VertScrollBar()->Range(), 0);
  Box->EnableAutoRange();
  EXPECT_EQ(Box->VertScrollBar()->Range(), 500);
  Box->EnableAutoRange();  // unbalanced: no effect
  Box->VertScrollBar()->SetRange(1000);
  EXPECT_FALSE(Box->AutoScroll());
  Child({0, 0, 10, 2000});
  EXPECT_EQ(Box->VertScrollBar()->Range(), 1000);
  EXPECT_EQ(Info(SB_VERT).nMax, 999);
}

TEST_F(ScrollingTest, AChildFreedWhileTheBoxScrolls) {
  TWinControl* mover = Child({0, 0, 20, 500});
  TGraphicControl* doomed = Graphic({30, 30, 40, 40});
  TWinControl* doomedWindow = Child({50, 50, 60, 60});
  auto previous = mover->WindowProc;
  mover->WindowProc = [&, previous](TMessage& m) {
    previous(m);
    if (m.Msg == WM_WINDOWPOSCHANGED && doomed) {
      delete doomed;
      delete doomedWindow;
      doomed = nullptr;
      doomedWindow = nullptr;
    }
  };
  Scroll(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(mover->Top(), -Box->ClientHeight());
  EXPECT_EQ(Box->ControlCount(), 1);
  mover->WindowProc = previous;
}

TEST_F(ScrollingTest, TheBoxFreedFromAChildsEvent) {
  TWinControl* child = Child({0, 0, 20, 500});
  TGraphicControl* graphic = Graphic({0, 100, 10, 110});
  bool released = false;
  auto previous = child->WindowProc;
  child->WindowProc = [&, previous](TMessage& m) {
    previous(m);
    if (m.Msg == WM_WINDOWPOSCHANGED && !released) {
      released = true;
      Box->Release();
    }
  };
  Scroll(WM_VSCROLL, SB_LINEDOWN);
  ASSERT_TRUE(released);
  // The box lives on until the loop frees it: the scroll ends.
  EXPECT_EQ(child->Top(), -8);
  EXPECT_EQ(graphic->Top(), 92);
  ProcessDeferredReleases();  // what the loop does when idle
  Box = nullptr;
  EXPECT_EQ(Host->ControlCount(), 0);
}

// Focus: a form with a box, Tab moves into children below and right of the view.
class ScrollingFocusTest : public ::testing::Test {
 protected:
  void SetUp() override { FApplication.emplace(); }
  void TearDown() override { FApplication.reset(); }
  std::optional<ScopedApplication> FApplication;
};

TEST_F(ScrollingFocusTest, TabIntoAChildOutsideTheViewScrollsItIn) {
  TForm* form = NewForm<TForm>(Application);
  form->SetBounds(0, 0, 400, 300);
  auto* box = new TScrollBox(form);
  box->SetBounds(10, 10, 200, 150);
  box->SetParent(form);
  auto field = [&](TRect r) {
    auto* f = new TWinControl(form);
    f->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    f->SetTabStop(true);
    f->SetParent(box);
    return f;
  };
  TWinControl* first = field({5, 5, 85, 25});
  TWinControl* below = field({5, 400, 85, 420});
  TWinControl* right = field({500, 5, 580, 25});
  TWinControl* inside = field({20, 40, 60, 60});
  form->Show();
  Application->ProcessMessages();
  ASSERT_EQ(GetFocus(), first->Handle());
  const int height = box->ClientHeight(), width = box->ClientWidth();
  auto tab = [&] {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Window = form->Handle()->Native, .Key = VK_TAB});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Window = form->Handle()->Native, .Key = VK_TAB});
    Application->ProcessMessages();
  };
  tab();
  ASSERT_EQ(GetFocus(), below->Handle());
  EXPECT_EQ(box->HorzScrollBar()->Position(), 0);
  EXPECT_EQ(box->VertScrollBar()->Position(), 420 - height);
  EXPECT_EQ(below->Top() + below->Height(), height);  // its bottom at the view's bottom
  tab();
  ASSERT_EQ(GetFocus(), right->Handle());
  EXPECT_EQ(box->HorzScrollBar()->Position(), 580 - width);
  EXPECT_EQ(box->VertScrollBar()->Position(), 5);  // its top, 5 down, at the view's top
  EXPECT_EQ(right->Left() + right->Width(), width);
  tab();
  ASSERT_EQ(GetFocus(), inside->Handle());
  EXPECT_EQ(box->HorzScrollBar()->Position(), 20);  // left of the view: its left at the view's left
  EXPECT_EQ(inside->Left(), 0);
}

}  // namespace
