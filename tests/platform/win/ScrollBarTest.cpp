#include <climits>
#include <functional>

#include "gdi/Edge.h"
#include "support/WinTest.h"
#include "win/NonClient.h"
#include "win/ScrollBars.h"

namespace {

// One scroll message as the window heard it, with what GetScrollInfo said meanwhile.
struct Scroll {
  UINT Message;
  int Code;
  int Pos;  // HIWORD(wParam)
  DWORD Time;
  int TrackPos;
  bool Pressed;  // the part in use shows pressed
};
std::vector<Scroll> gScrolls;
std::function<void(const Scroll&)> gOnScroll;

LRESULT SbProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_VSCROLL || msg == WM_HSCROLL) {
    SCROLLINFO si;
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(hwnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ, &si);
    SCROLLBARINFO info;
    GetScrollBarInfo(hwnd, msg == WM_VSCROLL ? OBJID_VSCROLL : OBJID_HSCROLL, &info);
    bool pressed = false;
    for (DWORD state : info.rgstate) pressed |= (state & STATE_SYSTEM_PRESSED) != 0;
    EXPECT_EQ(lParam, 0);
    gScrolls.push_back({msg, LOWORD(wParam), HIWORD(wParam), GetTickCount(), si.nTrackPos, pressed});
    if (gOnScroll) gOnScroll(gScrolls.back());
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

// Releases the left button where the mouse is, from a timer.
void ReleaseButton(HWND, UINT, uintptr_t, DWORD) {
  POINT p{};
  GetCursorPos(&p);
  Headless()->Inject({.Kind = InputKind::MouseUp, .Screen = p, .Button = kButtonLeft});
}

class ScrollBar : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = SbProc;
    wc.lpszClassName = "SbWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    RegisterClass(&wc);
    gScrolls.clear();
  }
  void TearDown() override {
    gOnScroll = nullptr;
    WinTest::TearDown();
    gScrolls.clear();
  }

  // A window whose vertical bar is the whole right edge: 234 pixels long, so that
  // between the arrows the track is 200 pixels.
  static HWND Make(DWORD style = WS_POPUP | WS_VSCROLL, RECT r = {100, 100, 100 + 100, 100 + 234}) {
    return CreateWindowEx(0, "SbWindow", "", style, r.Left, r.Top, r.Width(), r.Height(), nullptr, nullptr, nullptr,
                          nullptr);
  }
  static void SetInfo(HWND hwnd, int min, int max, UINT page, int pos, int bar = SB_VERT) {
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    si.nMin = min;
    si.nMax = max;
    si.nPage = page;
    si.nPos = pos;
    SetScrollInfo(hwnd, bar, &si, TRUE);
  }
  static SCROLLBARINFO BarInfo(HWND hwnd, LONG id = OBJID_VSCROLL) {
    SCROLLBARINFO info;
    EXPECT_TRUE(GetScrollBarInfo(hwnd, id, &info));
    return info;
  }
  static void Mouse(InputKind kind, POINT p) {
    Inject({.Kind = kind, .Screen = p, .Button = kind == InputKind::MouseMove ? 0 : kButtonLeft});
  }
  static std::vector<int> Codes() {
    std::vector<int> codes;
    for (const Scroll& s : gScrolls) codes.push_back(s.Code);
    return codes;
  }

  const int arrow = GetSystemMetrics(SM_CXVSCROLL);
};

TEST_F(ScrollBar, SetScrollInfoKeepsPageAndPositionWithinTheRange) {
  struct Case {
    const char* name;
    UINT mask;
    int min, max;
    UINT page;
    int pos;
    int wantMin, wantMax;
    UINT wantPage;
    int wantPos;
  };
  const Case cases[] = {
      {"inside", SIF_ALL, 0, 100, 10, 50, 0, 100, 10, 50},
      {"past the last page", SIF_ALL, 0, 100, 10, 95, 0, 100, 10, 91},
      {"below the minimum", SIF_ALL, 0, 100, 10, -5, 0, 100, 10, 0},
      {"page larger than the range", SIF_ALL, 0, 100, 500, 30, 0, 100, 101, 0},
      {"no page: up to max", SIF_ALL, 0, 100, 0, 100, 0, 100, 0, 100},
      {"page of one: up to max", SIF_ALL, 0, 100, 1, 150, 0, 100, 1, 100},
      {"negative range", SIF_ALL, -20, 20, 5, 30, -20, 20, 5, 16},
      {"whole int range", SIF_ALL, INT_MIN, INT_MAX, 0x80000000u, 5, INT_MIN, INT_MAX, 0x80000000u, 0},
      {"position alone, default range", SIF_POS, 7, 7, 7, 150, 0, 100, 0, 100},
      {"page alone pulls the position in", SIF_PAGE | SIF_POS, 7, 7, 60, 80, 0, 100, 60, 41},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make();
    SCROLLINFO si;
    si.fMask = c.mask;
    si.nMin = c.min;
    si.nMax = c.max;
    si.nPage = c.page;
    si.nPos = c.pos;
    EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, FALSE), c.wantPos);
    SCROLLINFO got;
    got.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &got));
    EXPECT_EQ(got.nMin, c.wantMin);
    EXPECT_EQ(got.nMax, c.wantMax);
    EXPECT_EQ(got.nPage, c.wantPage);
    EXPECT_EQ(got.nPos, c.wantPos);
    EXPECT_EQ(got.nTrackPos, c.wantPos);
    DestroyWindow(w);
  }

  HWND w = Make();
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 40, FALSE), 0);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 500, FALSE), 40);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 100);
  EXPECT_TRUE(SetScrollRange(w, SB_VERT, 10, 20, FALSE));
  int lo = 0, hi = 0;
  EXPECT_TRUE(GetScrollRange(w, SB_VERT, &lo, &hi));
  EXPECT_EQ(lo, 10);
  EXPECT_EQ(hi, 20);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 20);
  // Bad arguments fail without harm.
  EXPECT_FALSE(SetScrollRange(w, SB_VERT, INT_MIN, INT_MAX, FALSE));
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, nullptr, TRUE), 0);
  SCROLLINFO none;
  none.fMask = SIF_ALL;
  EXPECT_EQ(SetScrollInfo(w, SB_CTL, &none, TRUE), 0);
  none.fMask = 0;
  EXPECT_FALSE(GetScrollInfo(w, SB_VERT, &none));
  EXPECT_FALSE(GetScrollRange(w, SB_VERT, nullptr, &hi));
  DestroyWindow(w);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 1, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(w, SB_VERT, &none));
}

TEST_F(ScrollBar, ThumbSizeAndPlaceFollowPageAndPosition) {
  const int thumbMin = ScaledLength(8), thumbDefault = GetSystemMetrics(SM_CYVTHUMB);
  struct Case {
    const char* name;
    int min, max;
    UINT page;
    int pos;
    int top, bottom;  // along the bar
  };
  const Case cases[] = {
      {"first page", 0, 99, 10, 0, 17, 37},
      {"last page", 0, 99, 10, 90, 197, 217},
      {"half way", 0, 99, 10, 45, 107, 127},
      {"tiny page: the smallest thumb", 0, 999, 1, 0, 17, 17 + thumbMin},
      {"tiny page at the end", 0, 999, 1, 999, 217 - thumbMin, 217},
      {"no page: default thumb", 0, 100, 0, 50, 17 + (200 - thumbDefault + 1) / 2,
       17 + (200 - thumbDefault + 1) / 2 + thumbDefault},
      {"negative range", -50, 49, 25, 25, 167, 217},
  };
  ASSERT_EQ(arrow, 17) << "the table is for bars of 17 pixels";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make();
    SetInfo(w, c.min, c.max, c.page, c.pos);
    const SCROLLBARINFO info = BarInfo(w);
    EXPECT_EQ(info.rcScrollBar, (RECT{183, 100, 200, 334}));
    EXPECT_EQ(info.dxyLineButton, 17);
    EXPECT_EQ(info.xyThumbTop, c.top);
    EXPECT_EQ(info.xyThumbBottom, c.bottom);
    EXPECT_EQ(info.rgstate[0], 0u);
    DestroyWindow(w);
  }

  // A bar too short for arrows of full size shares its length between them.
  HWND w = Make(WS_POPUP | WS_VSCROLL, {0, 0, 50, 20});
  const SCROLLBARINFO info = BarInfo(w);
  EXPECT_EQ(info.dxyLineButton, 10);
  EXPECT_EQ(info.xyThumbTop, info.xyThumbBottom);
  EXPECT_EQ(info.rgstate[sbpThumb], STATE_SYSTEM_INVISIBLE);
}

TEST_F(ScrollBar, BarsComeAndGoWithWhatThereIsToScroll) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.Width(), 200);
  EXPECT_EQ(BarInfo(w).rgstate[0], STATE_SYSTEM_INVISIBLE);

  // A range to scroll brings the bar.
  EXPECT_TRUE(SetScrollRange(w, SB_VERT, 0, 100, TRUE));
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(w, &client);
  EXPECT_EQ(client.Width(), 200 - arrow);

  // A page that shows everything takes it away again...
  SCROLLINFO si;
  si.fMask = SIF_PAGE;
  si.nPage = 101;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  GetClientRect(w, &client);
  EXPECT_EQ(client.Width(), 200);

  // ...or only greys it with SIF_DISABLENOSCROLL.
  si.fMask = SIF_PAGE;
  si.nPage = 10;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  si.fMask = SIF_PAGE | SIF_DISABLENOSCROLL;
  si.nPage = 500;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_TRUE(GetWindowLong(w, GWL_STYLE) & WS_VSCROLL);
  SCROLLBARINFO info = BarInfo(w);
  EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(info.rgstate[sbpThumb], STATE_SYSTEM_INVISIBLE);
  si.nPage = 10;
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_EQ(BarInfo(w).rgstate[0], 0u);

  // Positions alone change nothing of the kind.
  SetScrollPos(w, SB_HORZ, 50, TRUE);
  EXPECT_FALSE(GetWindowLong(w, GWL_STYLE) & WS_HSCROLL);

  // ShowScrollBar adds and removes both bars, and the client area follows.
  EXPECT_TRUE(ShowScrollBar(w, SB_BOTH, TRUE));
  GetClientRect(w, &client);
  EXPECT_EQ(client, (RECT{0, 0, 200 - arrow, 200 - GetSystemMetrics(SM_CYHSCROLL)}));
  EXPECT_TRUE(ShowScrollBar(w, SB_BOTH, FALSE));
  GetClientRect(w, &client);
  EXPECT_EQ(client, (RECT{0, 0, 200, 200}));
  EXPECT_FALSE(ShowScrollBar(w, SB_CTL, TRUE));
}

TEST_F(ScrollBar, EnableScrollBarGreysArrows) {
  HWND w = Make();
  SetInfo(w, 0, 99, 10, 0);
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_LTUP));
  EXPECT_FALSE(EnableScrollBar(w, SB_VERT, ESB_DISABLE_LTUP));  // already so
  SCROLLBARINFO info = BarInfo(w);
  EXPECT_EQ(info.rgstate[sbpLineUp], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(info.rgstate[sbpLineDown], 0u);
  EXPECT_TRUE(EnableScrollBar(w, SB_BOTH, ESB_DISABLE_BOTH));
  info = BarInfo(w);
  EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(info.rgstate[sbpLineDown], STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(info.xyThumbTop, info.xyThumbBottom);
  EXPECT_TRUE(EnableScrollBar(w, SB_VERT, ESB_ENABLE_BOTH));
  EXPECT_EQ(BarInfo(w).xyThumbTop, 17);
  EXPECT_FALSE(EnableScrollBar(nullptr, SB_VERT, ESB_ENABLE_BOTH));
}

TEST_F(ScrollBar, ArrowClickScrollsOnceThenEnds) {
  struct Case {
    const char* name;
    DWORD style;
    POINT at;  // window coordinates
    UINT disable;
    UINT message;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"down arrow", WS_POPUP | WS_VSCROLL, {91, 225}, ESB_ENABLE_BOTH, WM_VSCROLL, {SB_LINEDOWN, SB_ENDSCROLL}},
      {"up arrow", WS_POPUP | WS_VSCROLL, {91, 5}, ESB_ENABLE_BOTH, WM_VSCROLL, {SB_LINEUP, SB_ENDSCROLL}},
      {"right arrow", WS_POPUP | WS_HSCROLL, {95, 225}, ESB_ENABLE_BOTH, WM_HSCROLL, {SB_LINERIGHT, SB_ENDSCROLL}},
      {"disabled up arrow", WS_POPUP | WS_VSCROLL, {91, 5}, ESB_DISABLE_LTUP, WM_VSCROLL, {}},
      {"page down", WS_POPUP | WS_VSCROLL, {91, 150}, ESB_ENABLE_BOTH, WM_VSCROLL, {SB_PAGEDOWN, SB_ENDSCROLL}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(c.style | WS_VISIBLE);
    const int bar = (c.style & WS_VSCROLL) ? SB_VERT : SB_HORZ;
    SetInfo(w, 0, 99, 10, 0, bar);
    EnableScrollBar(w, UINT(bar), c.disable);
    Run();
    gScrolls.clear();
    const POINT p{100 + c.at.X, 100 + c.at.Y};
    Mouse(InputKind::MouseDown, p);
    Mouse(InputKind::MouseUp, p);
    Run();
    EXPECT_EQ(Codes(), c.codes);
    for (const Scroll& s : gScrolls) EXPECT_EQ(s.Message, c.message);
    if (!gScrolls.empty()) {
      EXPECT_TRUE(gScrolls[0].Pressed);   // the arrow shows pressed while held
      EXPECT_FALSE(gScrolls[1].Pressed);  // and no more when the scroll ends
    }
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(w);
    Backend().Advance(1000);
  }
}

TEST_F(ScrollBar, HeldArrowRepeatsAfterADelayWhileThePointerStaysOnIt) {
  HWND w = Make(WS_POPUP | WS_VSCROLL | WS_VISIBLE);
  SetInfo(w, 0, 99, 10, 0);
  Run();
  const POINT arrowPoint{191, 325};
  gOnScroll = [&](const Scroll& s) {
    if (s.Code == SB_LINEDOWN && gScrolls.size() == 4) Mouse(InputKind::MouseUp, arrowPoint);
  };
  const DWORD start = GetTickCount();
  Mouse(InputKind::MouseDown, arrowPoint);
  Run();
  ASSERT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(gScrolls[0].Time - start, 0u);
  EXPECT_EQ(gScrolls[1].Time - start, 500u);
  EXPECT_EQ(gScrolls[2].Time - start, 550u);
  EXPECT_EQ(gScrolls[3].Time - start, 600u);

  // Off the arrow the repeats pause; the button comes up later, from a timer.
  Backend().Advance(1000);
  gScrolls.clear();
  gOnScroll = [&](const Scroll& s) {
    if (s.Code == SB_LINEDOWN && gScrolls.size() == 2) Mouse(InputKind::MouseMove, {191, 200});
  };
  SetTimer(w, 7, 1000, ReleaseButton);
  Mouse(InputKind::MouseDown, arrowPoint);
  Run();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_FALSE(BarInfo(w).rgstate[sbpLineDown] & STATE_SYSTEM_PRESSED);
}

TEST_F(ScrollBar, HeldPageAreaScrollsUntilTheThumbReachesThePointer) {
  HWND w = Make(WS_POPUP | WS_VSCROLL | WS_VISIBLE);
  SetInfo(w, 0, 99, 10, 0);
  Run();
  gOnScroll = [&](const Scroll& s) {
    if (s.Code == SB_PAGEDOWN) SetScrollPos(w, SB_VERT, GetScrollPos(w, SB_VERT) + 10, TRUE);
  };
  SetTimer(w, 7, 2000, ReleaseButton);
  Mouse(InputKind::MouseDown, {191, 100 + 150});
  Run();
  // Each page moves the thumb 20 pixels; at position 60 it spans 137..157 and covers 150.
  EXPECT_EQ(Codes(), (std::vector<int>{SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN,
                                       SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 60);
}

TEST_F(ScrollBar, ThumbDragTracksPositionsAndEndsWithThumbPosition) {
  HWND w = Make(WS_POPUP | WS_VSCROLL | WS_VISIBLE);
  SetInfo(w, 0, 99, 10, 0);
  Run();
  // The thumb spans 17..37 and moves 180 pixels for 90 positions.
  Mouse(InputKind::MouseDown, {191, 127});
  Mouse(InputKind::MouseMove, {191, 127 + 18});
  Mouse(InputKind::MouseMove, {170, 127 + 18});  // across the bar: no new position
  Mouse(InputKind::MouseMove, {195, 127 + 90});
  Mouse(InputKind::MouseMove, {191, 600});
  Mouse(InputKind::MouseUp, {191, 600});
  Run();
  ASSERT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  const int positions[] = {9, 45, 90, 90};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(gScrolls[i].Pos, positions[i]) << i;
    EXPECT_EQ(gScrolls[i].TrackPos, positions[i]) << i;
    EXPECT_TRUE(gScrolls[i].Pressed) << i;
  }
  // The program did not move the bar: its position is still 0 and the thumb goes back.
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);
  SCROLLINFO si;
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(w, SB_VERT, &si);
  EXPECT_EQ(si.nTrackPos, 0);
  EXPECT_EQ(BarInfo(w).xyThumbTop, 17);
}

TEST_F(ScrollBar, BarsAreDrawnFlatWithTheThumbWhereThePositionIs) {
  HWND w = Make(WS_POPUP | WS_VSCROLL | WS_VISIBLE);
  SetInfo(w, 0, 99, 10, 0);
  Run();
  auto color = [&](int x, int y) { return ColorRefFromPixel(w->Pixels->At(x, y)); };
  EXPECT_EQ(color(91, 27), ncstyle::kScrollThumb);
  EXPECT_EQ(color(83, 27), ncstyle::kScrollTrack);  // a pixel of track beside the thumb
  EXPECT_EQ(color(91, 100), ncstyle::kScrollTrack);
  std::string arrowMask;
  for (int y = 222; y < 228; ++y) {
    for (int x = 87; x < 96; ++x) arrowMask += color(x, y) == ncstyle::kScrollArrow ? '#' : '.';
    arrowMask += '\n';
  }
  EXPECT_EQ(arrowMask,
            ".........\n"
            ".#######.\n"
            "..#####..\n"
            "...###...\n"
            "....#....\n"
            ".........\n");

  // A new position redraws the bar at once.
  SetScrollPos(w, SB_VERT, 45, TRUE);
  EXPECT_EQ(color(91, 27), ncstyle::kScrollTrack);
  EXPECT_EQ(color(91, 110), ncstyle::kScrollThumb);

  // Under the mouse the thumb darkens.
  Backend().SetCursorPos({191, 210});
  SendMessage(w, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(191, 210));
  EXPECT_EQ(color(91, 110), ncstyle::kScrollThumbHot);
  SendMessage(w, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(color(91, 110), ncstyle::kScrollThumb);
}

}  // namespace
