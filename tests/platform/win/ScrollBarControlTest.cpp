#include <functional>

#include "support/WinTest.h"
#include "win/NonClient.h"
#include "win/ScrollBars.h"

namespace {

// The "ScrollBar" control as a child of a recording window: what the parent hears, the
// keys and mouse parts that make it speak, and the SB_CTL calls on its state.
class ScrollBarControl : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    parent = Top("P", {100, 100, 400, 400});
  }
  void TearDown() override {
    ScrollBarPainterHook = nullptr;
    WinTest::TearDown();
  }

  // A vertical bar 17 wide and 234 long at (10, 10) of the parent (screen 110, 110), so
  // that the track between the arrows is 200 pixels; a horizontal one lies across.
  HWND Make(bool vertical, DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP) {
    const int w = vertical ? 17 : 234, h = vertical ? 234 : 17;
    HWND c = CreateWindowEx(0, "scrollbar", "", style | (vertical ? SBS_VERT : SBS_HORZ), 10, 10, w, h, parent,
                            nullptr, nullptr, nullptr);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = 99;
    si.nPage = 10;
    si.nPos = 0;
    SetScrollInfo(c, SB_CTL, &si, TRUE);
    Run();
    ClearLog();
    return c;
  }
  // A point along the bar (from its start) in the middle of its thickness, on the screen.
  static POINT Along(bool vertical, int at) { return vertical ? POINT{118, 110 + at} : POINT{110 + at, 118}; }
  static void Mouse(InputKind kind, POINT p) {
    Inject({.Kind = kind, .Screen = p, .Button = kind == InputKind::MouseMove ? 0 : kButtonLeft});
  }
  // The parent's scroll notifications: codes and positions; each must name the control.
  std::vector<std::pair<int, int>> Heard(HWND control, UINT message) {
    std::vector<std::pair<int, int>> out;
    for (const RecordedMessage& m : Messages({WM_HSCROLL, WM_VSCROLL})) {
      EXPECT_EQ(m.Hwnd, parent);
      EXPECT_EQ(m.Message, message);
      EXPECT_EQ(m.LParam, reinterpret_cast<LPARAM>(control));
      out.emplace_back(LOWORD(m.WParam), HIWORD(m.WParam));
    }
    return out;
  }

  HWND parent = nullptr;
};

using Codes = std::vector<std::pair<int, int>>;

TEST_F(ScrollBarControl, MousePartsNotifyTheParent) {
  struct Case {
    const char* name;
    bool vertical;
    int at;  // along the bar
    Codes want;
  };
  const Case cases[] = {
      {"up arrow", true, 5, {{SB_LINEUP, 0}, {SB_ENDSCROLL, 0}}},
      {"down arrow", true, 225, {{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}},
      {"page down", true, 150, {{SB_PAGEDOWN, 0}, {SB_ENDSCROLL, 0}}},
      {"left arrow", false, 5, {{SB_LINELEFT, 0}, {SB_ENDSCROLL, 0}}},
      {"right arrow", false, 225, {{SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}}},
      {"page right", false, 150, {{SB_PAGERIGHT, 0}, {SB_ENDSCROLL, 0}}},
      {"thumb click", true, 27, {{SB_THUMBPOSITION, 0}, {SB_ENDSCROLL, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND bar = Make(c.vertical);
    Mouse(InputKind::MouseDown, Along(c.vertical, c.at));
    Mouse(InputKind::MouseUp, Along(c.vertical, c.at));
    Run();
    EXPECT_EQ(Heard(bar, c.vertical ? WM_VSCROLL : WM_HSCROLL), c.want);
    EXPECT_EQ(GetFocus(), bar);  // a tab stop takes the focus on a press
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(bar);
    Backend().Advance(1000);
  }

  // A held arrow repeats on the virtual clock; a thumb drag tracks then ends.
  HWND bar = Make(true);
  SetTimer(parent, 9, 560, [](HWND, UINT, uintptr_t, DWORD) {
    Mouse(InputKind::MouseUp, Along(true, 225));
  });
  Mouse(InputKind::MouseDown, Along(true, 225));
  Run();
  EXPECT_EQ(Heard(bar, WM_VSCROLL), (Codes{{SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}));
  KillTimer(parent, 9);
  Backend().Advance(1000);
  ClearLog();
  Mouse(InputKind::MouseDown, Along(true, 27));
  Mouse(InputKind::MouseMove, Along(true, 27 + 90));
  Mouse(InputKind::MouseMove, Along(true, 600));
  Mouse(InputKind::MouseUp, Along(true, 600));
  Run();
  EXPECT_EQ(Heard(bar, WM_VSCROLL),
            (Codes{{SB_THUMBTRACK, 45}, {SB_THUMBTRACK, 90}, {SB_THUMBPOSITION, 90}, {SB_ENDSCROLL, 0}}));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 0);  // the parent moves the bar, not the control
}

TEST_F(ScrollBarControl, KeysNotifyTheParentWhenFocusedAndEnabled) {
  struct Case {
    WPARAM key;
    int code;
  };
  const Case cases[] = {{VK_UP, SB_LINEUP},     {VK_LEFT, SB_LINEUP},     {VK_DOWN, SB_LINEDOWN},
                        {VK_RIGHT, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP},    {VK_NEXT, SB_PAGEDOWN},
                        {VK_HOME, SB_TOP},       {VK_END, SB_BOTTOM}};
  for (bool vertical : {true, false}) {
    HWND bar = Make(vertical);
    SetFocus(bar);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.key);
      ClearLog();
      Inject({.Kind = InputKind::KeyDown, .Key = uint32_t(c.key)});
      Run();
      EXPECT_EQ(Heard(bar, vertical ? WM_VSCROLL : WM_HSCROLL), (Codes{{c.code, 0}, {SB_ENDSCROLL, 0}}));
    }
    ClearLog();
    Inject({.Kind = InputKind::KeyDown, .Key = 'A'});
    Run();
    EXPECT_TRUE(Heard(bar, WM_VSCROLL).empty());
    DestroyWindow(bar);
  }
  EXPECT_EQ(SendMessage(Make(true), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
}

TEST_F(ScrollBarControl, DisabledBarLooksDisabledAndTakesNoInput) {
  struct Painted {
    int bar;
    bool vertical, enabled;
    RECT rect;
  };
  std::vector<Painted> painted;
  ScrollBarPainterHook = [&](HWND, HDC, int bar, const RECT& r, const ScrollBarPaintInfo& info) {
    painted.push_back({bar, info.Geometry.Vertical, info.Geometry.Enabled, r});
    return true;
  };
  for (int how = 0; how < 2; ++how) {
    SCOPED_TRACE(how == 0 ? "EnableWindow" : "ESB_DISABLE_BOTH");
    HWND bar = Make(false);
    SetFocus(bar);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.back().bar, SB_CTL);
    EXPECT_FALSE(painted.back().vertical);
    EXPECT_TRUE(painted.back().enabled);
    EXPECT_EQ(painted.back().rect, (RECT{0, 0, 234, 17}));
    painted.clear();
    if (how == 0)
      EnableWindow(bar, FALSE);
    else
      EXPECT_TRUE(EnableScrollBar(bar, SB_CTL, ESB_DISABLE_BOTH));
    Run();
    ASSERT_FALSE(painted.empty());
    EXPECT_FALSE(painted.back().enabled);
    SCROLLBARINFO info;
    ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
    EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    ClearLog();
    for (int at : {5, 150, 225}) {
      Mouse(InputKind::MouseDown, Along(false, at));
      Mouse(InputKind::MouseUp, Along(false, at));
    }
    Inject({.Kind = InputKind::KeyDown, .Key = VK_RIGHT});
    Run();
    EXPECT_TRUE(Heard(bar, WM_HSCROLL).empty());
    DestroyWindow(bar);
    painted.clear();
    Backend().Advance(1000);
  }
}

TEST_F(ScrollBarControl, ScrollCallsReachTheControlsOwnState) {
  HWND bar = Make(true);
  // The control's state is its own: the frame bars are untouched, and SB_CTL of another
  // window fails.
  EXPECT_EQ(SetScrollPos(bar, SB_CTL, 500, FALSE), 0);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 90);
  EXPECT_EQ(GetScrollPos(bar, SB_VERT), 0);
  EXPECT_EQ(GetScrollPos(parent, SB_CTL), 0);
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = 3;
  EXPECT_EQ(SetScrollInfo(parent, SB_CTL, &si, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(parent, SB_CTL, &si));
  SCROLLBARINFO info;
  EXPECT_FALSE(GetScrollBarInfo(parent, OBJID_CLIENT, &info));

  EXPECT_TRUE(SetScrollRange(bar, SB_CTL, -10, 10, FALSE));
  int lo = 0, hi = 0;
  EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &lo, &hi));
  EXPECT_EQ(lo, -10);
  EXPECT_EQ(hi, 10);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 1);  // 10 - (page 10 - 1)

  // The whole client area is the bar; the thumb stands for the position.
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  EXPECT_EQ(info.rcScrollBar, (RECT{110, 110, 127, 344}));
  EXPECT_EQ(info.dxyLineButton, 17);
  EXPECT_EQ(info.xyThumbBottom - info.xyThumbTop, 95);  // 200 * 10 / 21
  EXPECT_EQ(info.xyThumbBottom, 217);

  // With nothing to scroll the control stays and, when asked, greys.
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = 5;
  si.nPage = 10;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  EXPECT_TRUE(IsWindowVisible(bar));
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  EXPECT_TRUE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  si.nMax = 50;
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);

  EXPECT_TRUE(ShowScrollBar(bar, SB_CTL, FALSE));
  EXPECT_FALSE(IsWindowVisible(bar));
  ASSERT_TRUE(GetScrollBarInfo(bar, OBJID_CLIENT, &info));
  EXPECT_EQ(info.rgstate[0], DWORD(STATE_SYSTEM_INVISIBLE));
  EXPECT_FALSE(ShowScrollBar(parent, SB_CTL, FALSE));
}

TEST_F(ScrollBarControl, ParentDestroyingTheControlMidTrackEndsTheLoop) {
  for (int at : {225, 27}) {
    SCOPED_TRACE(at);
    HWND bar = Make(true);
    Answer(parent, WM_VSCROLL, [&](HWND, WPARAM, LPARAM l) -> LRESULT {
      DestroyWindow(reinterpret_cast<HWND>(l));
      return 0;
    });
    Mouse(InputKind::MouseDown, Along(true, at));
    Mouse(InputKind::MouseMove, Along(true, at + 60));
    Mouse(InputKind::MouseUp, Along(true, at + 60));
    Run();
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_EQ(Messages({WM_VSCROLL}).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    Answer(parent, WM_VSCROLL, nullptr);
    Backend().Advance(1000);
  }
}

}  // namespace
