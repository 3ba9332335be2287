#include <stdexcept>

#include "support/WinTest.h"
#include "win/Paint.h"

namespace {

class Queue : public WinTest {};

TEST_F(Queue, SendMessageNestsAndCountsItsDepth) {
  HWND a = Top("A", {0, 0, 50, 50}), b = Top("B", {60, 0, 110, 50});
  std::vector<bool> inSend;
  Answer(a, WM_USER, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    inSend.push_back(InSendMessage());
    return SendMessage(b, WM_USER + 1, w + 1, 0) * 10;
  });
  Answer(b, WM_USER + 1, [&](HWND, WPARAM w, LPARAM) -> LRESULT { return SendMessage(a, WM_USER + 2, w + 1, 0) + 1; });
  Answer(a, WM_USER + 2, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    inSend.push_back(InSendMessage());
    return LRESULT(w);
  });
  ClearLog();
  EXPECT_FALSE(InSendMessage());
  EXPECT_EQ(SendMessage(a, WM_USER, 1, 0), (3 + 1) * 10);
  EXPECT_EQ(Trace({WM_USER, WM_USER + 1, WM_USER + 2}), "A.0x400(1,0) B.0x401(2,0) A.0x402(3,0)");
  EXPECT_EQ(inSend, (std::vector<bool>{true, true}));
  EXPECT_FALSE(InSendMessage());
}

TEST_F(Queue, SendAndPostToDeadWindowsFail) {
  HWND a = Top("A", {0, 0, 50, 50});
  Answer(a, WM_USER, [](HWND, WPARAM, LPARAM) -> LRESULT { return 7; });
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 7);
  EXPECT_TRUE(PostMessage(a, WM_USER, 1, 0));
  DestroyWindow(a);
  ClearLog();
  EXPECT_EQ(SendMessage(a, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(a, WM_USER, 2, 0));
  // The message posted while the window lived is dropped, not delivered.
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  Run();
  EXPECT_EQ(Trace({WM_USER}), "");
  EXPECT_EQ(SendMessage(reinterpret_cast<HWND>(intptr_t(0x1234)), WM_USER, 0, 0), 0);
}

TEST_F(Queue, PostedMessagesKeepOrderThroughWindowAndRangeFilters) {
  HWND a = Top("A", {0, 0, 50, 50});
  HWND a1 = Child("A1", a, {0, 0, 10, 10});
  HWND b = Top("B", {60, 0, 110, 50});
  Run();  // nothing left to paint
  const HWND threadOnly = reinterpret_cast<HWND>(intptr_t(-1));
  struct Case {
    HWND filter;
    UINT min, max;
    std::vector<UINT> taken;  // in the order taken
  };
  const Case cases[] = {
      {nullptr, 0, 0, {WM_USER, WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4}},
      {a, 0, 0, {WM_USER, WM_USER + 1, WM_USER + 4}},  // the window and its child
      {a1, 0, 0, {WM_USER + 1}},
      {b, 0, 0, {WM_USER + 2}},
      {threadOnly, 0, 0, {WM_USER + 3}},
      {nullptr, WM_USER + 1, WM_USER + 3, {WM_USER + 1, WM_USER + 2, WM_USER + 3}},
      {a, WM_USER + 2, WM_USER + 4, {WM_USER + 4}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    ResetQueue();
    PostMessage(a, WM_USER, 0, 0);
    PostMessage(a1, WM_USER + 1, 0, 0);
    PostMessage(b, WM_USER + 2, 0, 0);
    PostMessage(nullptr, WM_USER + 3, 0, 0);
    PostMessage(a, WM_USER + 4, 0, 0);
    std::vector<UINT> taken;
    MSG msg;
    while (PeekMessage(&msg, c.filter, c.min, c.max, PM_REMOVE))
      if (msg.message >= WM_USER) taken.push_back(msg.message);  // paint may come too
    EXPECT_EQ(taken, c.taken) << "case " << i;
  }
}

TEST_F(Queue, NoRemoveLeavesTheMessageAndStampsTimeAndPosition) {
  HWND a = Top("A", {0, 0, 50, 50});
  Run();
  Backend().Advance(1234);
  const DWORD posted = GetTickCount();
  SetCursorPos(17, 23);
  PostMessage(a, WM_USER, 5, 6);
  Backend().Advance(100);
  MSG peeked, taken;
  ASSERT_TRUE(PeekMessage(&peeked, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessage(&taken, nullptr, 0, 0, PM_REMOVE));
  for (const MSG& m : {peeked, taken}) {
    EXPECT_EQ(m.hwnd, a);
    EXPECT_EQ(m.message, WM_USER);
    EXPECT_EQ(m.wParam, 5u);
    EXPECT_EQ(m.lParam, 6);
    EXPECT_EQ(m.time, posted);
    EXPECT_EQ(m.pt, (POINT{17, 23}));
  }
  EXPECT_EQ(GetMessageTime(), LONG(posted));
  EXPECT_EQ(GetMessagePos(), MAKELONG(17, 23));
  EXPECT_FALSE(PeekMessage(&taken, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(Queue, PostedInputPaintAndTimerComeInThatOrder) {
  HWND a = Top("A", {0, 0, 50, 50});
  Run();
  SetFocus(a);
  SetTimer(a, 1, 10, nullptr);
  Backend().Advance(10);
  InvalidateRect(a, nullptr, FALSE);
  Inject({.Kind = InputKind::KeyDown, .Key = 'K'});
  PostMessage(a, WM_USER, 0, 0);
  std::vector<UINT> order;
  MSG msg;
  while (order.size() < 4 && PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    order.push_back(msg.message);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}));
}

TEST_F(Queue, PaintIsMadeWhileNeededAndNeverPosted) {
  HWND a = Top("A", {0, 0, 50, 50});
  HWND ignoring = Top("I", {60, 0, 110, 50});
  Answer(ignoring, WM_PAINT, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
  Run();
  ClearLog();
  InvalidateRect(a, nullptr, FALSE);
  InvalidateRect(ignoring, nullptr, FALSE);
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, a, WM_PAINT, WM_PAINT, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, a);
  // Not taken away: it stays while the window needs painting.
  ASSERT_TRUE(PeekMessage(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  DispatchMessage(&msg);
  EXPECT_FALSE(PeekMessage(&msg, a, WM_PAINT, WM_PAINT, PM_REMOVE));
  // A procedure that ignores WM_PAINT gets it once; the loop does not spin on it.
  Run();
  EXPECT_EQ(Trace({WM_PAINT}), "A.WM_PAINT(0,0) I.WM_PAINT(0,0)");
}

TEST_F(Queue, QuitEndsTheLoopAfterThePostedMessagesBeforeIt) {
  HWND a = Top("A", {0, 0, 50, 50});
  Answer(a, WM_USER, [](HWND, WPARAM, LPARAM) -> LRESULT {
    PostQuitMessage(3);
    PostMessage(nullptr, WM_USER + 1, 0, 0);
    return 0;
  });
  PostMessage(a, WM_USER, 0, 0);
  std::vector<UINT> seen;
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    seen.push_back(msg.message);
    DispatchMessage(&msg);
  }
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(seen.back(), WM_USER + 1);
  // Taken once only.
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  // A filter for other messages still sees WM_QUIT.
  PostQuitMessage(4);
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_KEYDOWN, WM_KEYUP, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_FALSE(GetMessage(&msg, a, WM_USER, WM_USER));
  EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(Queue, LoopsNestAndAnInnerQuitReachesTheOuterLoop) {
  HWND a = Top("A", {0, 0, 50, 50});
  std::vector<std::string> events;
  // A modal loop of its own inside a handler, which ends on WM_USER + 2.
  Answer(a, WM_USER, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    events.push_back("modal in");
    PostMessage(a, WM_USER + 1, 0, 0);
    PostMessage(a, WM_USER + 2, 0, 0);
    MSG m;
    while (GetMessage(&m, nullptr, 0, 0)) {
      if (m.message == WM_USER + 2) break;
      DispatchMessage(&m);
    }
    events.push_back("modal out");
    PostMessage(a, WM_USER + 3, 0, 0);
    return 0;
  });
  Answer(a, WM_USER + 1, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    events.push_back("inner message");
    return 0;
  });
  // ProcessPendingMessages inside a handler sees the quit and leaves it for the owner.
  Answer(a, WM_USER + 3, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    PostQuitMessage(9);
    events.push_back(ProcessPendingMessages() ? "still running" : "quit seen");
    return 0;
  });
  PostMessage(a, WM_USER, 0, 0);
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) DispatchMessage(&msg);
  EXPECT_EQ(msg.wParam, 9u);
  EXPECT_EQ(events, (std::vector<std::string>{"modal in", "inner message", "modal out", "quit seen"}));
}

TEST_F(Queue, MessagesForAWindowDestroyedBeforeTheyAreTakenAreDropped) {
  HWND a = Top("A", {0, 0, 50, 50}), b = Top("B", {60, 0, 110, 50});
  Answer(a, WM_USER, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    DestroyWindow(b);
    return 0;
  });
  PostMessage(a, WM_USER, 0, 0);
  PostMessage(b, WM_USER + 1, 0, 0);
  PostMessage(a, WM_USER + 2, 0, 0);
  ClearLog();
  Run();
  EXPECT_EQ(Trace({WM_USER, WM_USER + 1, WM_USER + 2}), "A.0x400(0,0) A.0x402(0,0)");
}

TEST_F(Queue, TranslateMessageMakesCharactersFromKeys) {
  HWND a = Top("A", {0, 0, 50, 50});
  Run();
  SetFocus(a);
  struct Case {
    UINT key;
    uint32_t modifiers;
    const char* chars;  // trace of WM_CHAR and WM_SYSCHAR
  };
  const Case cases[] = {
      {VK_RETURN, 0, "A.WM_CHAR(13,1)"},
      {VK_BACK, 0, "A.WM_CHAR(8,1)"},
      {VK_TAB, 0, "A.WM_CHAR(9,1)"},
      {VK_ESCAPE, 0, "A.WM_CHAR(27,1)"},
      {'A', kModCtrl, "A.WM_CHAR(1,1)"},
      {'Z', kModCtrl | kModShift, "A.WM_CHAR(26,1)"},
      {'F', kModAlt, "A.WM_SYSCHAR(102,536870913)"},  // bit 29: Alt
      {'A', 0, ""},                                   // printable: from text input
      {VK_F5, 0, ""},
  };
  for (const Case& c : cases) {
    ClearLog();
    Inject({.Kind = InputKind::KeyDown, .Key = c.key, .Modifiers = c.modifiers});
    Inject({.Kind = InputKind::KeyUp, .Key = c.key, .Modifiers = c.modifiers});
    Run();
    EXPECT_EQ(Trace({WM_CHAR, WM_SYSCHAR}), c.chars) << "key " << c.key;
    // The character comes right after its key.
    auto all = Messages({WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR, WM_SYSCHAR, WM_KEYUP, WM_SYSKEYUP});
    ASSERT_EQ(all.size(), c.chars[0] ? 3u : 2u) << "key " << c.key;
    EXPECT_TRUE(all[0].Message == WM_KEYDOWN || all[0].Message == WM_SYSKEYDOWN);
  }
  MSG up{a, WM_KEYUP, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(TranslateMessage(&up));
  MSG other{a, WM_USER, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(TranslateMessage(&other));
  EXPECT_FALSE(TranslateMessage(nullptr));
}

TEST_F(Queue, DispatchCallsATimerCallbackInsteadOfTheWindow) {
  HWND a = Top("A", {0, 0, 50, 50});
  static HWND calledFor;
  static uintptr_t calledId;
  calledFor = nullptr;
  calledId = 0;
  TIMERPROC proc = [](HWND hwnd, UINT msg, uintptr_t id, DWORD) {
    if (msg != WM_TIMER) return;
    calledFor = hwnd;
    calledId = id;
  };
  ClearLog();
  MSG msg{a, WM_TIMER, 42, reinterpret_cast<LPARAM>(proc), 0, {}};
  DispatchMessage(&msg);
  EXPECT_EQ(calledFor, a);
  EXPECT_EQ(calledId, 42u);
  EXPECT_EQ(Trace({WM_TIMER}), "");
  msg.lParam = 0;
  DispatchMessage(&msg);
  EXPECT_EQ(Trace({WM_TIMER}), "A.WM_TIMER(42,0)");
  EXPECT_EQ(DispatchMessage(nullptr), 0);
}

TEST_F(Queue, HeadlessGetMessageMovesTheClockToTheNextTimerOrThrows) {
  HWND a = Top("A", {0, 0, 50, 50});
  Run();
  const DWORD start = GetTickCount();
  SetTimer(a, 7, 250, nullptr);
  MSG msg;
  ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_EQ(GetTickCount() - start, 250u);
  // A timer the filter does not let through is no reason to wait.
  EXPECT_THROW(GetMessage(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST), std::logic_error);
  KillTimer(a, 7);
  EXPECT_THROW(GetMessage(&msg, nullptr, 0, 0), std::logic_error);
  EXPECT_FALSE(InSendMessage());
  DestroyWindow(a);
  EXPECT_EQ(GetMessage(&msg, a, 0, 0), -1);
}

TEST_F(Queue, WaitMessageReturnsWhenSomethingIsReady) {
  HWND a = Top("A", {0, 0, 50, 50});
  Run();
  Inject({.Kind = InputKind::KeyDown, .Key = 'Q'});
  EXPECT_TRUE(WaitMessage());
  MSG msg;
  EXPECT_TRUE(PeekMessage(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  SetTimer(a, 1, 40, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(WaitMessage());
  EXPECT_EQ(GetTickCount() - start, 40u);
  KillTimer(a, 1);
  EXPECT_THROW(WaitMessage(), std::logic_error);
}

}  // namespace
