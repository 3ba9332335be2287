#include <string>
#include <vector>

#include "support/ControlHost.h"
#include "vcl/StdCtrls.h"
#include "vcl/SysUtils.h"
#include "win/Input.h"
#include "win/ScrollBars.h"
#include "win/Timers.h"

namespace {

// TScrollBar in a host at the screen's top-left corner: a horizontal bar at (10, 10),
// 234 long and 17 thick, so that the track between the arrows is 200 pixels.
class ScrollBarTest : public ControlHostTest {
 protected:
  ScrollBarTest() : ControlHostTest({.OwnApplication = true}) {}

  TScrollBar* MakeBar() {
    TScrollBar* bar = Make<TScrollBar>(Host, {10, 10, 244, 27});
    bar->SetParams(0, 0, 99);
    bar->SetPageSize(10);
    bar->SetSmallChange(5);
    bar->SetLargeChange(20);
    bar->OnScroll = [this](TObject*, TScrollCode code, int32_t& pos) {
      log.push_back("scroll " + std::to_string(code) + " " + std::to_string(pos));
      if (onScroll) onScroll(code, pos);
    };
    bar->OnChange = [this, bar](TObject* sender) {
      EXPECT_EQ(sender, bar);
      log.push_back("change " + std::to_string(bar->Position()));
    };
    Run();
    return bar;
  }
  static void Click(int along) {
    Mouse(InputKind::MouseDown, 10 + along, 18);
    Mouse(InputKind::MouseUp, 10 + along, 18);
  }
  static std::string S(TScrollCode code, int pos) { return "scroll " + std::to_string(code) + " " + std::to_string(pos); }
  static std::string C(int pos) { return "change " + std::to_string(pos); }

  std::vector<std::string> log;
  std::function<void(TScrollCode, int32_t&)> onScroll;
};

using Log = std::vector<std::string>;

TEST_F(ScrollBarTest, MousePartsScrollWithOnScrollBeforeOneOnChange) {
  struct Case {
    const char* name;
    int start, along;
    Log want;
  };
  const Case cases[] = {
      {"right arrow", 0, 225, {S(scLineDown, 5), C(5), S(scEndScroll, 5)}},
      {"left arrow", 50, 5, {S(scLineUp, 45), C(45), S(scEndScroll, 45)}},
      {"left arrow at the start: no change", 0, 5, {S(scLineUp, 0), S(scEndScroll, 0)}},
      {"page right", 0, 150, {S(scPageDown, 20), C(20), S(scPageDown, 40), C(40), S(scPageDown, 60), C(60),
                              S(scEndScroll, 60)}},
      {"page right stops at the top position", 80, 220 - 17 - 1, {S(scPageDown, 90), C(90), S(scEndScroll, 90)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScrollBar* bar = MakeBar();
    bar->SetPosition(c.start);
    log.clear();
    // Held page areas repeat until the thumb reaches the pointer; arrows are let go at once.
    Mouse(InputKind::MouseDown, 10 + c.along, 18);
    if (c.along == 5 || c.along == 225) Mouse(InputKind::MouseUp, 10 + c.along, 18);
    SetTimer(nullptr, 0, 2000, [](HWND, UINT, uintptr_t id, DWORD) {
      KillTimer(nullptr, id);
      POINT p{};
      GetCursorPos(&p);
      Headless()->Inject({.Kind = InputKind::MouseUp, .Screen = p, .Button = kButtonLeft});
    });
    Run();
    Advance(2500);
    Run();
    EXPECT_EQ(log, c.want);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), bar->Position());
    delete bar;
  }
}

TEST_F(ScrollBarTest, ThumbDragTracksThirtyTwoBitPositionsAndOnScrollCanChangeThem) {
  TScrollBar* bar = MakeBar();
  bar->SetPageSize(0);
  bar->SetParams(0, 0, 200000);
  log.clear();
  // No page: the default thumb; moving it the whole track reaches Max.
  SCROLLBARINFO info;
  ASSERT_TRUE(GetScrollBarInfo(bar->Handle(), OBJID_CLIENT, &info));
  const int grab = 10 + (info.xyThumbTop + info.xyThumbBottom) / 2;
  Mouse(InputKind::MouseDown, grab, 18);
  Mouse(InputKind::MouseMove, grab + 300, 18);
  Mouse(InputKind::MouseUp, grab + 300, 18);
  Run();
  EXPECT_EQ(log, (Log{S(scTrack, 200000), C(200000), S(scPosition, 200000), S(scEndScroll, 200000)}));

  // OnScroll decides where the bar goes.
  onScroll = [](TScrollCode code, int32_t& pos) {
    if (code == scLineDown) pos = 42;
  };
  bar->SetPosition(0);
  log.clear();
  Click(225);
  Run();
  EXPECT_EQ(log, (Log{S(scLineDown, 5), C(42), S(scEndScroll, 42)}));
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 42);
  delete bar;
}

TEST_F(ScrollBarTest, KeysScrollTheFocusedBar) {
  TScrollBar* bar = MakeBar();
  bar->SetPosition(50);
  bar->SetFocus();
  Run();
  struct Case {
    uint32_t key;
    TScrollCode code;
    int pos;
  };
  const Case cases[] = {{VK_RIGHT, scLineDown, 55}, {VK_LEFT, scLineUp, 50},  {VK_NEXT, scPageDown, 70},
                        {VK_PRIOR, scPageUp, 50},   {VK_END, scBottom, 90},   {VK_HOME, scTop, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    log.clear();
    Headless()->Inject({.Kind = InputKind::KeyDown, .Key = c.key});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Key = c.key});
    Run();
    EXPECT_EQ(log, (Log{S(c.code, c.pos), C(c.pos), S(scEndScroll, c.pos)}));
    EXPECT_EQ(bar->Position(), c.pos);
  }
  // Disabled: neither keys nor the mouse reach it.
  bar->SetEnabled(false);
  log.clear();
  Headless()->Inject({.Kind = InputKind::KeyDown, .Key = VK_RIGHT});
  Click(225);
  Run();
  EXPECT_TRUE(log.empty());
  delete bar;
}

TEST_F(ScrollBarTest, ParamsAreCheckedAndClampedWithOneChange) {
  TScrollBar* bar = MakeBar();
  log.clear();
  struct Case {
    const char* name;
    int pos, min, max;
    bool raises;
    int wantPos;
    Log want;
  };
  const Case cases[] = {
      {"inside", 30, 0, 99, false, 30, {C(30)}},
      {"same again: no change", 30, 0, 99, false, 30, {}},
      {"past the last page", 500, 0, 99, false, 90, {C(90)}},
      {"below the minimum", -5, 10, 50, false, 10, {C(10)}},
      {"min above max", 0, 60, 50, true, 10, {}},
      {"range smaller than the page", 0, 0, 5, true, 10, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    if (c.raises) {
      EXPECT_THROW(bar->SetParams(c.pos, c.min, c.max), EInvalidOperation);
    } else {
      bar->SetParams(c.pos, c.min, c.max);
      EXPECT_EQ(bar->Min(), c.min);
      EXPECT_EQ(bar->Max(), c.max);
    }
    EXPECT_EQ(bar->Position(), c.wantPos);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), c.wantPos);
    EXPECT_EQ(log, c.want);
  }
  EXPECT_THROW(bar->SetPageSize(100), EInvalidOperation);
  EXPECT_THROW(bar->SetPageSize(-1), EInvalidOperation);
  EXPECT_THROW(bar->SetMin(51), EInvalidOperation);
  log.clear();
  bar->SetParams(50, 10, 50);  // page 10: the last page starts at 41
  bar->SetPageSize(20);        // and now at 31
  EXPECT_EQ(bar->Position(), 31);
  EXPECT_EQ(log, (Log{C(41), C(31)}));
  delete bar;
}

TEST_F(ScrollBarTest, KindChangeRecreatesTheWindowKeepingThePosition) {
  TScrollBar* bar = MakeBar();
  bar->SetPosition(30);
  log.clear();
  bar->SetKind(sbVertical);
  Run();
  EXPECT_EQ(bar->Width(), 17);
  EXPECT_EQ(bar->Height(), 234);
  EXPECT_TRUE(GetWindowLongPtr(bar->Handle(), GWL_STYLE) & SBS_VERT);
  EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 30);
  EXPECT_EQ(bar->Position(), 30);
  EXPECT_TRUE(log.empty());
  // The vertical bar speaks WM_VSCROLL, reflected as CN_VSCROLL.
  Mouse(InputKind::MouseDown, 18, 10 + 225);
  Mouse(InputKind::MouseUp, 18, 10 + 225);
  Run();
  EXPECT_EQ(log, (Log{S(scLineDown, 35), C(35), S(scEndScroll, 35)}));
  // A scroll message naming no control of the host is left alone.
  log.clear();
  SendMessage(Host->Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(Top));
  SendMessage(Host->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_TRUE(log.empty());
  delete bar;
}

TEST_F(ScrollBarTest, ControlFreedFromItsEventsOrATimerWhileTracking) {
  // Released from OnScroll mid-drag: the drag goes on safely, the loop frees it after.
  TScrollBar* bar = MakeBar();
  onScroll = [&](TScrollCode code, int32_t&) {
    if (code == scTrack) bar->Release();
  };
  Mouse(InputKind::MouseDown, 10 + 27, 18);
  Mouse(InputKind::MouseMove, 10 + 60, 18);
  Mouse(InputKind::MouseMove, 10 + 90, 18);
  Mouse(InputKind::MouseUp, 10 + 90, 18);
  Run();
  EXPECT_EQ(Host->ControlCount(), 0);
  EXPECT_EQ(GetCapture(), nullptr);

  // Released from OnChange while an arrow repeats: the repeats go on until the button
  // comes up, then the loop frees it.
  onScroll = nullptr;
  Advance(1000);
  bar = MakeBar();
  int changes = 0;
  bar->OnChange = [&](TObject*) {
    if (++changes == 1) bar->Release();
    if (changes == 3) Mouse(InputKind::MouseUp, 10 + 225, 18);
  };
  Mouse(InputKind::MouseDown, 10 + 225, 18);
  Run();
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(Host->ControlCount(), 0);
  EXPECT_EQ(GetCapture(), nullptr);

  // Released by a timer that fires inside the tracking loop, which then lets go.
  Advance(1000);
  static TScrollBar* doomed = nullptr;
  doomed = MakeBar();
  log.clear();
  SetTimer(nullptr, 0, 520, [](HWND, UINT, uintptr_t id, DWORD) {
    KillTimer(nullptr, id);
    doomed->Release();
    Mouse(InputKind::MouseUp, 10 + 225, 18);
  });
  Mouse(InputKind::MouseDown, 10 + 225, 18);
  Run();
  EXPECT_EQ(Host->ControlCount(), 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log, (Log{S(scLineDown, 5), C(5), S(scLineDown, 10), C(10), S(scEndScroll, 10)}));  // 0 and 500 ms
}

}  // namespace
