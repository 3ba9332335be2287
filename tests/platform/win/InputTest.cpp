#include "support/WinTest.h"
#include "win/Paint.h"

namespace {

class Input : public WinTest {
 protected:
  static void Mouse(InputKind kind, int x, int y, int button = 0, uint32_t modifiers = 0) {
    Inject({.Kind = kind, .Screen = {x, y}, .Button = button, .Modifiers = modifiers});
  }
  static void Move(int x, int y) { Mouse(InputKind::MouseMove, x, y); }
  static void Click(int x, int y, int button = kButtonLeft) {
    Mouse(InputKind::MouseDown, x, y, button);
    Mouse(InputKind::MouseUp, x, y, button);
  }
  static void Key(InputKind kind, UINT key, uint32_t modifiers = 0, bool repeat = false) {
    Inject({.Kind = kind, .Key = key, .Modifiers = modifiers, .Repeat = repeat});
  }
  static POINT ClientPoint(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
};

TEST_F(Input, CaptureGetsTheMouseEverywhereAndHearsWhenItGoes) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND b = Top("B", {300, 100, 400, 200});
  Run();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_TRUE(Backend().MouseCaptured());
  ClearLog();
  Move(350, 50);   // over nothing of A: above B
  Move(350, 150);  // over B
  Run();
  auto moves = Messages({WM_MOUSEMOVE});
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].Hwnd, a);
  EXPECT_EQ(ClientPoint(moves[0].LParam), (POINT{250, -50}));
  EXPECT_EQ(moves[1].Hwnd, a);
  EXPECT_EQ(ClientPoint(moves[1].LParam), (POINT{250, 50}));
  // The captured window is not asked where the point lies.
  EXPECT_EQ(Trace({WM_NCHITTEST, WM_SETCURSOR}), "");

  ClearLog();
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(GetCapture(), b);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(Backend().MouseCaptured());
  EXPECT_EQ(Trace({WM_CAPTURECHANGED}), "A.WM_CAPTURECHANGED(0,B) B.WM_CAPTURECHANGED(0,0)");
  EXPECT_TRUE(ReleaseCapture());  // nothing held: no message
  EXPECT_EQ(Messages({WM_CAPTURECHANGED}).size(), 2u);
}

TEST_F(Input, MouseGoesToTheTopmostWindowUnderThePointInClientCoordinates) {
  HWND p = Top("P", {100, 100, 300, 300});
  Child("C1", p, {10, 10, 110, 110});
  Child("C2", p, {60, 60, 160, 160});  // above C1
  Run();
  struct Case {
    POINT screen;
    const char* window;
    POINT client;
  };
  const Case cases[] = {
      {{180, 180}, "C2", {20, 20}},
      {{120, 120}, "C1", {10, 10}},
      {{280, 280}, "P", {180, 180}},
      {{400, 400}, nullptr, {}},
  };
  for (const Case& c : cases) {
    ClearLog();
    Click(c.screen.X, c.screen.Y);
    Run();
    auto downs = Messages({WM_LBUTTONDOWN});
    if (!c.window) {
      EXPECT_TRUE(downs.empty());
      continue;
    }
    ASSERT_EQ(downs.size(), 1u) << c.window;
    EXPECT_EQ(Trace({WM_LBUTTONDOWN}).rfind(std::string(c.window) + ".WM_LBUTTONDOWN", 0), 0u) << c.window;
    EXPECT_EQ(downs[0].WParam, MK_LBUTTON);
    EXPECT_EQ(ClientPoint(downs[0].LParam), c.client) << c.window;
    auto ups = Messages({WM_LBUTTONUP});
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].WParam, 0u);
  }
}

TEST_F(Input, TheHitTestChoosesClientOrNonClientMessages) {
  HWND a = Top("A", {100, 100, 200, 200});
  Run();
  struct Case {
    int hit;
    UINT move, down;  // 0: none
    WPARAM wParam;
  };
  const Case cases[] = {
      {HTCLIENT, WM_MOUSEMOVE, WM_LBUTTONDOWN, MK_LBUTTON},
      {HTCAPTION, WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION)},
      {HTBOTTOMRIGHT, WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN, WPARAM(HTBOTTOMRIGHT)},
      {HTERROR, 0, 0, 0},
  };
  for (const Case& c : cases) {
    Answer(a, WM_NCHITTEST, [hit = c.hit](HWND, WPARAM, LPARAM) -> LRESULT { return hit; });
    ClearLog();
    Move(130, 140);
    Mouse(InputKind::MouseDown, 130, 140, kButtonLeft);
    Run();
    // The cursor is asked for before each message, with the hit code and the message.
    auto cursor = Messages({WM_SETCURSOR});
    ASSERT_EQ(cursor.size(), 2u) << c.hit;
    EXPECT_EQ(cursor[0].WParam, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(cursor[0].LParam, MAKELPARAM(c.hit, WM_MOUSEMOVE));
    EXPECT_EQ(cursor[1].LParam, MAKELPARAM(c.hit, WM_LBUTTONDOWN));
    auto mouse = Messages({WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_LBUTTONDOWN, WM_NCLBUTTONDOWN});
    if (!c.move) {
      EXPECT_TRUE(mouse.empty()) << c.hit;
    } else {
      ASSERT_EQ(mouse.size(), 2u) << c.hit;
      EXPECT_EQ(mouse[0].Message, c.move);
      EXPECT_EQ(mouse[1].Message, c.down);
      EXPECT_EQ(mouse[1].WParam, c.wParam);
      const POINT expected = c.hit == HTCLIENT ? POINT{30, 40} : POINT{130, 140};
      EXPECT_EQ(ClientPoint(mouse[1].LParam), expected) << c.hit;
    }
    Mouse(InputKind::MouseUp, 130, 140, kButtonLeft);
    Run();
  }
}

TEST_F(Input, DoubleClicksNeedTheClassStyleAndAQuickNearbyPress) {
  struct Case {
    bool classDblClks;
    int hit;
    uint64_t delay;
    int dx;
    UINT second;
  };
  const Case cases[] = {
      {true, HTCLIENT, 100, 0, WM_LBUTTONDBLCLK}, {false, HTCLIENT, 100, 0, WM_LBUTTONDOWN},
      {true, HTCLIENT, 500, 2, WM_LBUTTONDBLCLK}, {true, HTCLIENT, 501, 0, WM_LBUTTONDOWN},
      {true, HTCLIENT, 100, 3, WM_LBUTTONDOWN},   {false, HTCAPTION, 100, 0, WM_NCLBUTTONDBLCLK},
  };
  for (const Case& c : cases) {
    HWND w = Top("W", {100, 100, 200, 200}, WS_POPUP | WS_VISIBLE, c.classDblClks);
    Answer(w, WM_NCHITTEST, [hit = c.hit](HWND, WPARAM, LPARAM) -> LRESULT { return hit; });
    Run();
    ClearLog();
    Click(150, 150);
    Backend().Advance(c.delay);
    Click(150 + c.dx, 150);
    Backend().Advance(10);
    Click(150 + c.dx, 150);  // a third press starts over
    Run();
    auto downs = Messages({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK});
    ASSERT_EQ(downs.size(), 3u);
    const UINT first = c.hit == HTCLIENT ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN;
    EXPECT_EQ(downs[0].Message, first);
    EXPECT_EQ(downs[1].Message, c.second) << "delay " << c.delay << " dx " << c.dx;
    // After a double click the next press is a plain one; after two plain presses close
    // together the third makes the double click.
    const bool secondWasDouble = c.second != first;
    const bool thirdDouble = !secondWasDouble && (c.classDblClks || c.hit != HTCLIENT);
    EXPECT_EQ(downs[2].Message, thirdDouble ? c.second + 2 : first) << "delay " << c.delay << " dx " << c.dx;
    DestroyWindow(w);
  }
}

TEST_F(Input, DoubleClicksAreForTheSameButtonAndWindow) {
  HWND a = Top("A", {100, 100, 200, 200}, WS_POPUP | WS_VISIBLE, true);
  HWND b = Top("B", {200, 100, 300, 200}, WS_POPUP | WS_VISIBLE, true);
  Run();
  ClearLog();
  Click(198, 150);
  Click(201, 150);  // near, but on B
  Click(201, 150, kButtonRight);
  Click(201, 150);
  Run();
  auto downs = Messages({WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN});
  ASSERT_EQ(downs.size(), 4u);
  EXPECT_EQ(downs[0].Hwnd, a);
  EXPECT_EQ(downs[1].Hwnd, b);
  EXPECT_EQ(downs[1].Message, WM_LBUTTONDOWN);
  EXPECT_EQ(downs[2].Message, WM_RBUTTONDOWN);
  EXPECT_EQ(downs[3].Message, WM_LBUTTONDOWN);
}

TEST_F(Input, TrackedWindowHearsWhenTheMouseLeaves) {
  HWND a = Top("A", {100, 100, 200, 200});
  Top("B", {300, 100, 400, 200});
  Answer(a, WM_MOUSEMOVE, [](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd;
    EXPECT_TRUE(TrackMouseEvent(&tme));
    return 0;
  });
  Run();
  ClearLog();
  Move(150, 150);
  Move(160, 160);
  Run();
  TRACKMOUSEEVENT query;
  query.dwFlags = TME_QUERY;
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.dwFlags, TME_LEAVE);
  EXPECT_EQ(query.hwndTrack, a);
  Move(350, 150);
  Run();
  auto order = Messages({WM_MOUSEMOVE, WM_MOUSELEAVE});
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[2].Message, WM_MOUSELEAVE);  // before the other window hears of the mouse
  EXPECT_EQ(order[2].Hwnd, a);
  EXPECT_EQ(order[3].Message, WM_MOUSEMOVE);
  query.dwFlags = TME_QUERY;
  TrackMouseEvent(&query);
  EXPECT_EQ(query.dwFlags, 0u);
  EXPECT_EQ(query.hwndTrack, nullptr);

  // Asked while the mouse is elsewhere: the message comes at once. Cancelled: never.
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE;
  tme.hwndTrack = a;
  ClearLog();
  ASSERT_TRUE(TrackMouseEvent(&tme));
  Run();
  EXPECT_EQ(Trace({WM_MOUSELEAVE}), "A.WM_MOUSELEAVE(0,0)");
  Answer(a, WM_MOUSEMOVE, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
  Move(150, 150);
  Run();
  ASSERT_TRUE(TrackMouseEvent(&tme));
  tme.dwFlags = TME_LEAVE | TME_CANCEL;
  ASSERT_TRUE(TrackMouseEvent(&tme));
  ClearLog();
  Move(350, 150);
  Run();
  EXPECT_EQ(Trace({WM_MOUSELEAVE}), "");
  tme.cbSize = 3;
  EXPECT_FALSE(TrackMouseEvent(&tme));
  EXPECT_FALSE(TrackMouseEvent(nullptr));
}

TEST_F(Input, NonClientTrackingEndsWhenTheMouseEntersTheClientArea) {
  HWND a = Top("A", {100, 100, 200, 200});
  // A caption of 20 pixels above the client area.
  Answer(a, WM_NCCALCSIZE, [](HWND, WPARAM, LPARAM l) -> LRESULT {
    reinterpret_cast<NCCALCSIZE_PARAMS*>(l)->rgrc[0].Top += 20;
    return 0;
  });
  Answer(a, WM_NCHITTEST,
         [](HWND, WPARAM, LPARAM l) -> LRESULT { return GET_Y_LPARAM(l) < 120 ? HTCAPTION : HTCLIENT; });
  Answer(a, WM_NCMOUSEMOVE, [](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
    tme.hwndTrack = hwnd;
    EXPECT_TRUE(TrackMouseEvent(&tme));
    return 0;
  });
  SetWindowPos(a, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  Run();
  ClearLog();
  Move(150, 105);
  Run();
  Move(150, 110);
  Run();
  TRACKMOUSEEVENT query;
  query.dwFlags = TME_QUERY;
  TrackMouseEvent(&query);
  EXPECT_EQ(query.dwFlags, TME_LEAVE | TME_NONCLIENT);
  Move(150, 150);
  Run();
  std::vector<UINT> order;
  for (const RecordedMessage& m : Messages({WM_NCMOUSEMOVE, WM_MOUSEMOVE, WM_NCMOUSELEAVE, WM_MOUSELEAVE}))
    order.push_back(m.Message);
  EXPECT_EQ(order, (std::vector<UINT>{WM_NCMOUSEMOVE, WM_NCMOUSEMOVE, WM_NCMOUSELEAVE, WM_MOUSEMOVE}));
}

TEST_F(Input, FocusMovesWithKillFocusThenSetFocus) {
  HWND p = Top("P", {100, 100, 300, 300});
  HWND c1 = Child("C1", p, {0, 0, 50, 50});
  HWND c2 = Child("C2", p, {50, 0, 100, 50});
  HWND disabled = Child("D", p, {100, 0, 150, 50});
  HWND hidden = Child("H", p, {150, 0, 200, 50}, WS_CHILD);
  EnableWindow(disabled, FALSE);
  Run();
  EXPECT_EQ(GetFocus(), p);  // activation gave the window the focus
  SetFocus(c1);
  ClearLog();
  EXPECT_EQ(SetFocus(c2), c1);
  EXPECT_EQ(GetFocus(), c2);
  EXPECT_EQ(SetFocus(disabled), nullptr);
  EXPECT_EQ(SetFocus(hidden), nullptr);
  EXPECT_EQ(SetFocus(c2), c2);  // already there: no messages
  EXPECT_EQ(GetFocus(), c2);
  EXPECT_EQ(SetFocus(nullptr), c2);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Trace({WM_KILLFOCUS, WM_SETFOCUS}), "C1.WM_KILLFOCUS(C2,0) C2.WM_SETFOCUS(C1,0) C2.WM_KILLFOCUS(0,0)");
}

TEST_F(Input, AKillFocusHandlerThatMovesTheFocusWins) {
  HWND p = Top("P", {100, 100, 300, 300});
  HWND c1 = Child("C1", p, {0, 0, 50, 50});
  HWND c2 = Child("C2", p, {50, 0, 100, 50});
  HWND c3 = Child("C3", p, {100, 0, 150, 50});
  Run();
  SetFocus(c1);
  Answer(c1, WM_KILLFOCUS, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    Answer(c1, WM_KILLFOCUS, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
    SetFocus(c3);
    return 0;
  });
  ClearLog();
  SetFocus(c2);
  EXPECT_EQ(GetFocus(), c3);
  EXPECT_EQ(Trace({WM_KILLFOCUS, WM_SETFOCUS}), "C1.WM_KILLFOCUS(C2,0) C1.WM_KILLFOCUS(C3,0) C3.WM_SETFOCUS(C1,0)");
}

TEST_F(Input, ActivationMessagesBetweenTwoTopLevelWindows) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND b = Top("B", {300, 100, 400, 200});
  Run();
  EXPECT_EQ(GetActiveWindow(), b);
  const auto kinds = {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS, WM_SETFOCUS};
  ClearLog();
  EXPECT_EQ(SetActiveWindow(a), b);
  EXPECT_EQ(Trace(kinds),
            "B.WM_NCACTIVATE(0,0) B.WM_ACTIVATE(0,A) A.WM_NCACTIVATE(1,0) A.WM_ACTIVATE(1,B) "
            "B.WM_KILLFOCUS(A,0) A.WM_SETFOCUS(B,0)");
  EXPECT_EQ(GetForegroundWindow(), a);
  EXPECT_EQ(TopLevelWindows().front(), a);  // brought to the front

  // The application loses activation, then gets it back.
  ClearLog();
  EXPECT_EQ(SetActiveWindow(nullptr), a);
  EXPECT_EQ(Trace(kinds),
            "A.WM_NCACTIVATE(0,0) A.WM_ACTIVATE(0,0) A.WM_ACTIVATEAPP(0,0) B.WM_ACTIVATEAPP(0,0) "
            "A.WM_KILLFOCUS(0,0)");
  EXPECT_EQ(GetActiveWindow(), nullptr);
  ClearLog();
  EXPECT_TRUE(SetForegroundWindow(b));
  EXPECT_EQ(Trace(kinds),
            "A.WM_ACTIVATEAPP(1,0) B.WM_ACTIVATEAPP(1,0) B.WM_NCACTIVATE(1,0) B.WM_ACTIVATE(1,0) "
            "B.WM_SETFOCUS(0,0)");
  ClearLog();
  EXPECT_EQ(SetActiveWindow(b), b);  // already active: nothing
  EXPECT_EQ(Trace(kinds), "");
}

TEST_F(Input, ActivationGivesTheFocusBackWhereItWas) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND a1 = Child("A1", a, {0, 0, 50, 50});
  HWND b = Top("B", {300, 100, 400, 200});
  HWND b1 = Child("B1", b, {0, 0, 50, 50});
  Run();
  SetFocus(b1);
  // Focusing a window of an inactive top-level window activates it first.
  ClearLog();
  EXPECT_EQ(SetFocus(a1), b1);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Trace({WM_ACTIVATE, WM_KILLFOCUS, WM_SETFOCUS}),
            "B.WM_ACTIVATE(0,A) A.WM_ACTIVATE(1,B) B1.WM_KILLFOCUS(A1,0) A1.WM_SETFOCUS(B1,0)");
  SetActiveWindow(b);
  EXPECT_EQ(GetFocus(), b1);
  SetActiveWindow(a);
  EXPECT_EQ(GetFocus(), a1);
  // A window whose WM_ACTIVATE puts the focus somewhere itself keeps that.
  Answer(b, WM_ACTIVATE, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    if (LOWORD(w) != WA_INACTIVE) SetFocus(b);
    return 0;
  });
  SetActiveWindow(b);
  EXPECT_EQ(GetFocus(), b);
}

TEST_F(Input, MouseActivateAnswersDecideActivationAndTheClick) {
  struct Case {
    LRESULT answer;
    bool activates;
    bool clickDelivered;
  };
  const Case cases[] = {
      {MA_ACTIVATE, true, true},
      {MA_ACTIVATEANDEAT, true, false},
      {MA_NOACTIVATE, false, true},
      {MA_NOACTIVATEANDEAT, false, false},
  };
  HWND a = Top("A", {100, 100, 200, 200});
  HWND b = Top("B", {300, 100, 400, 200});
  Run();
  for (const Case& c : cases) {
    SetActiveWindow(b);
    Answer(a, WM_MOUSEACTIVATE, [answer = c.answer](HWND, WPARAM, LPARAM) -> LRESULT { return answer; });
    ClearLog();
    Click(150, 150);
    Run();
    auto ma = Messages({WM_MOUSEACTIVATE});
    ASSERT_EQ(ma.size(), 1u);
    EXPECT_EQ(ma[0].WParam, reinterpret_cast<WPARAM>(a));
    EXPECT_EQ(ma[0].LParam, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(GetActiveWindow(), c.activates ? a : b) << c.answer;
    EXPECT_EQ(Trace({WM_ACTIVATE}), c.activates ? "B.WM_ACTIVATE(0,A) A.WM_ACTIVATE(2,B)" : "") << c.answer;
    EXPECT_EQ(Messages({WM_LBUTTONDOWN}).size(), c.clickDelivered ? 1u : 0u) << c.answer;
    EXPECT_EQ(Messages({WM_LBUTTONUP}).size(), 1u) << c.answer;  // only the press is eaten
  }
  // A click in the active window itself is not asked about.
  SetActiveWindow(a);
  ClearLog();
  Click(150, 150);
  Run();
  EXPECT_EQ(Trace({WM_MOUSEACTIVATE}), "");
}

TEST_F(Input, KeysGoToTheFocusAsKeyOrSystemKeyMessages) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND f = Child("F", a, {0, 0, 50, 50});
  Run();
  SetFocus(f);
  struct Case {
    InputKind kind;
    UINT key;
    uint32_t modifiers;
    bool repeat;
    const char* trace;
  };
  const Case cases[] = {
      {InputKind::KeyDown, 'A', 0, false, "F.WM_KEYDOWN(65,1)"},
      {InputKind::KeyDown, 'A', 0, true, "F.WM_KEYDOWN(65,1073741825)"},  // bit 30: was down
      {InputKind::KeyUp, 'A', 0, false, "F.WM_KEYUP(65,3221225473)"},     // bits 30 and 31
      {InputKind::KeyDown, VK_MENU, kModAlt, false, "F.WM_SYSKEYDOWN(18,536870913)"},
      {InputKind::KeyDown, 'F', kModAlt, false, "F.WM_SYSKEYDOWN(70,536870913)"},  // bit 29: Alt
      {InputKind::KeyUp, 'F', kModAlt, false, "F.WM_SYSKEYUP(70,3758096385)"},
      {InputKind::KeyUp, VK_MENU, 0, false, "F.WM_SYSKEYUP(18,3758096385)"},
      {InputKind::KeyDown, VK_F10, 0, false, "F.WM_SYSKEYDOWN(121,1)"},
      {InputKind::KeyDown, 'X', kModCtrl | kModAlt, false, "F.WM_KEYDOWN(88,536870913)"},
      {InputKind::KeyDown, VK_LSHIFT, kModShift, false, "F.WM_KEYDOWN(16,1)"},
  };
  for (const Case& c : cases) {
    ClearLog();
    Key(c.kind, c.key, c.modifiers, c.repeat);
    Run();
    EXPECT_EQ(Trace({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP}), c.trace);
  }
  // Without a focus window the active window hears system keys.
  SetFocus(nullptr);
  ClearLog();
  Key(InputKind::KeyDown, 'B');
  Run();
  EXPECT_EQ(Trace({WM_KEYDOWN, WM_SYSKEYDOWN}), "A.WM_SYSKEYDOWN(66,1)");
}

TEST_F(Input, AKeyAfterAClickMeetsTheFocusTheClickGave) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND c1 = Child("C1", a, {0, 0, 50, 50});
  HWND c2 = Child("C2", a, {50, 0, 100, 50});
  Answer(c2, WM_LBUTTONDOWN, [](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
    SetFocus(hwnd);
    return 0;
  });
  Run();
  SetFocus(c1);
  ClearLog();
  // Both are queued before the loop runs: the key is routed only after the click.
  Click(170, 110);
  Key(InputKind::KeyDown, 'K');
  Run();
  EXPECT_EQ(Trace({WM_KEYDOWN}), "C2.WM_KEYDOWN(75,1)");
}

TEST_F(Input, TextBecomesOneCharacterMessagePerCodePoint) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND f = Child("F", a, {0, 0, 50, 50});
  Run();
  SetFocus(f);
  ClearLog();
  Inject({.Kind = InputKind::Text, .Text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"});  // a é € 😀
  Run();
  EXPECT_EQ(Trace({WM_CHAR}), "F.WM_CHAR(97,1) F.WM_CHAR(233,1) F.WM_CHAR(8364,1) F.WM_CHAR(128512,1)");
  // With Alt the letter is a mnemonic, which comes from the key instead.
  ClearLog();
  Inject({.Kind = InputKind::Text, .Modifiers = kModAlt, .Text = "f"});
  Run();
  EXPECT_EQ(Trace({WM_CHAR}), "");
}

TEST_F(Input, KeyStateFollowsKeysAndButtons) {
  HWND a = Top("A", {100, 100, 200, 200});
  Run();
  Key(InputKind::KeyDown, VK_SHIFT, kModShift);
  Mouse(InputKind::MouseDown, 150, 150, kButtonLeft, kModShift);
  Run();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetKeyState(VK_LBUTTON), 0);
  EXPECT_LT(GetAsyncKeyState(VK_LBUTTON), 0);
  EXPECT_EQ(GetKeyState(VK_RBUTTON), 0);
  auto down = Messages({WM_LBUTTONDOWN});
  ASSERT_EQ(down.size(), 1u);
  EXPECT_EQ(down[0].WParam, MK_LBUTTON | MK_SHIFT);
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  EXPECT_EQ(keys[VK_SHIFT] & 0x80, 0x80);
  EXPECT_EQ(keys[VK_CONTROL] & 0x80, 0);
  Key(InputKind::KeyUp, VK_SHIFT);
  Mouse(InputKind::MouseUp, 150, 150, kButtonLeft);
  Run();
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
  // The low bit toggles with each press.
  const short before = GetKeyState(VK_CAPITAL) & 1;
  Key(InputKind::KeyDown, VK_CAPITAL);
  Key(InputKind::KeyUp, VK_CAPITAL);
  Run();
  EXPECT_EQ(GetKeyState(VK_CAPITAL), short(before ^ 1));
  Key(InputKind::KeyDown, VK_CAPITAL);
  Key(InputKind::KeyDown, VK_CAPITAL, 0, true);  // auto-repeat does not toggle
  Key(InputKind::KeyUp, VK_CAPITAL);
  Run();
  EXPECT_EQ(GetKeyState(VK_CAPITAL), before);
  EXPECT_EQ(GetKeyState(-1), 0);
  EXPECT_EQ(GetKeyState(256), 0);
  EXPECT_FALSE(GetKeyboardState(nullptr));
  (void)a;
}

TEST_F(Input, WheelGoesToTheWindowUnderThePointer) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND f = Child("F", a, {0, 0, 50, 50});
  Top("B", {300, 100, 400, 200});
  Run();
  SetFocus(f);
  ClearLog();
  Inject({.Kind = InputKind::MouseWheel, .Screen = {350, 150}, .WheelDelta = -120});
  Run();
  auto wheel = Messages({WM_MOUSEWHEEL});
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ(Trace({WM_MOUSEWHEEL}).substr(0, 2), "B.");
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].WParam), -120);
  EXPECT_EQ(ClientPoint(wheel[0].LParam), (POINT{350, 150}));  // screen coordinates
}

std::vector<std::string> gHookLog;
HHOOK gSelfRemoving = nullptr;

LRESULT EatPress(int code, WPARAM wParam, LPARAM lParam) {
  const auto* ll = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
  gHookLog.push_back("eat " + std::to_string(wParam) + " " + std::to_string(ll->pt.X));
  if (wParam == WM_LBUTTONDOWN) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT PassOn(int code, WPARAM wParam, LPARAM lParam) {
  gHookLog.push_back("pass " + std::to_string(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT RemoveSelf(int code, WPARAM wParam, LPARAM lParam) {
  gHookLog.push_back("self " + std::to_string(wParam));
  EXPECT_TRUE(UnhookWindowsHookEx(gSelfRemoving));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(Input, LowLevelMouseHooksRunNewestFirstAndCanEatInput) {
  HWND a = Top("A", {100, 100, 200, 200});
  Run();
  gHookLog.clear();
  HHOOK eat = SetWindowsHookEx(WH_MOUSE_LL, EatPress, nullptr, 0);
  HHOOK pass = SetWindowsHookEx(WH_MOUSE_LL, PassOn, nullptr, 0);
  ASSERT_NE(eat, nullptr);
  ASSERT_NE(pass, nullptr);
  ClearLog();
  Click(150, 150);
  Run();
  EXPECT_EQ(gHookLog, (std::vector<std::string>{"pass 513", "eat 513 150", "pass 514", "eat 514 150"}));
  EXPECT_EQ(Trace({WM_LBUTTONDOWN}), "");
  EXPECT_EQ(Messages({WM_LBUTTONUP}).size(), 1u);
  EXPECT_EQ(GetKeyState(VK_LBUTTON), 0);  // an eaten press never happened

  // A hook may remove itself while it runs; the chain goes on below it.
  gSelfRemoving = SetWindowsHookEx(WH_MOUSE_LL, RemoveSelf, nullptr, 0);
  gHookLog.clear();
  Move(150, 150);
  Move(151, 150);
  Run();
  EXPECT_EQ(gHookLog, (std::vector<std::string>{"self 512", "pass 512", "eat 512 150", "pass 512", "eat 512 151"}));
  EXPECT_FALSE(UnhookWindowsHookEx(gSelfRemoving));

  EXPECT_TRUE(UnhookWindowsHookEx(eat));
  EXPECT_TRUE(UnhookWindowsHookEx(pass));
  ClearLog();
  Click(150, 150);
  Run();
  EXPECT_EQ(Messages({WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_EQ(SetWindowsHookEx(99, PassOn, nullptr, 0), nullptr);
  EXPECT_EQ(SetWindowsHookEx(WH_MOUSE_LL, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(CallNextHookEx(nullptr, 0, 0, 0), 0);
  (void)a;
}

TEST_F(Input, BackendWindowEvents) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND b = Top("B", {300, 100, 400, 200});
  Run();
  ClearLog();
  Inject({.Kind = InputKind::CloseAsked, .Window = a->Native});
  Inject({.Kind = InputKind::Moved, .Window = a->Native, .Bounds = {10, 20, 130, 100}});
  Run();
  EXPECT_EQ(Trace({WM_SYSCOMMAND}), "A.WM_SYSCOMMAND(" + std::to_string(SC_CLOSE) + ",0)");
  RECT r;
  GetWindowRect(a, &r);
  EXPECT_EQ(r, (RECT{10, 20, 130, 100}));

  // Lost contents are painted and shown again.
  const int presented = Backend().Window(b->Native)->PresentCount;
  ClearLog();
  Inject({.Kind = InputKind::Exposed, .Window = b->Native});
  Run();
  EXPECT_EQ(Trace({WM_PAINT}), "B.WM_PAINT(0,0)");
  EXPECT_GT(Backend().Window(b->Native)->PresentCount, presented);

  // Switching between two windows of the program is no loss of activation for it.
  const auto kinds = {WM_ACTIVATE, WM_ACTIVATEAPP};
  ClearLog();
  Inject({.Kind = InputKind::FocusLost, .Window = b->Native});
  Inject({.Kind = InputKind::FocusGained, .Window = a->Native});
  Run();
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(Trace(kinds), "B.WM_ACTIVATE(0,A) A.WM_ACTIVATE(1,B)");
  ClearLog();
  Inject({.Kind = InputKind::FocusLost, .Window = a->Native});
  Run();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(Trace(kinds), "A.WM_ACTIVATE(0,0) A.WM_ACTIVATEAPP(0,0) B.WM_ACTIVATEAPP(0,0)");
  Inject({.Kind = InputKind::FocusGained, .Window = b->Native});
  Inject({.Kind = InputKind::Quit});
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(GetActiveWindow(), b);
}

TEST_F(Input, DisabledWindowsGetNoMouseMessagesOnlyAnErrorCursor) {
  HWND a = Top("A", {100, 100, 200, 200});
  Run();
  EnableWindow(a, FALSE);
  ClearLog();
  Move(150, 150);
  Click(150, 150);
  Run();
  EXPECT_TRUE(Messages({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEACTIVATE}).empty());
  auto cursor = Messages({WM_SETCURSOR});
  ASSERT_EQ(cursor.size(), 2u);
  EXPECT_EQ(cursor[0].LParam, MAKELPARAM(HTERROR, WM_MOUSEMOVE));
  EXPECT_EQ(cursor[1].LParam, MAKELPARAM(HTERROR, WM_LBUTTONDOWN));
}

TEST_F(Input, DestroyedWindowsAreForgottenWithoutMessages) {
  HWND a = Top("A", {100, 100, 200, 200});
  HWND c = Child("C", a, {0, 0, 50, 50});
  HWND hidden = Child("H", a, {50, 0, 100, 50}, WS_CHILD);  // destroyed without being hidden first
  Run();
  SetFocus(c);
  SetCapture(hidden);
  ClearLog();
  DestroyWindow(c);
  DestroyWindow(hidden);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(Backend().MouseCaptured());
  EXPECT_EQ(Trace({WM_KILLFOCUS, WM_CAPTURECHANGED}), "");
  // Activating the window again does not look for the dead child.
  SetActiveWindow(nullptr);
  SetActiveWindow(a);
  EXPECT_EQ(GetFocus(), a);
}

TEST_F(Input, CursorsAndCursorPosition) {
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  HCURSOR beam = LoadCursor(nullptr, IDC_IBEAM);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(beam, arrow);
  EXPECT_EQ(CursorId(beam), IDC_IBEAM);
  EXPECT_EQ(CursorId(LoadCursor(nullptr, IDC_HAND)), IDC_HAND);
  EXPECT_EQ(CursorId(nullptr), 0);
  EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
  EXPECT_EQ(SetCursor(arrow), nullptr);
  EXPECT_EQ(SetCursor(beam), arrow);
  EXPECT_EQ(GetCursor(), beam);
  EXPECT_TRUE(SetCursorPos(40, 50));
  POINT p;
  ASSERT_TRUE(GetCursorPos(&p));
  EXPECT_EQ(p, (POINT{40, 50}));
  Move(70, 80);
  GetCursorPos(&p);
  EXPECT_EQ(p, (POINT{70, 80}));
  EXPECT_FALSE(GetCursorPos(nullptr));
}

}  // namespace
