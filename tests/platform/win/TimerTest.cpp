#include <stdexcept>

#include "support/WinTest.h"

namespace {

class Timers : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    A = Top("A", {0, 0, 50, 50});
    Run();
    Start = GetTickCount64();
  }

  // Runs the loop until `count` timer messages were dispatched; each is written as
  // "id@ms" with the time since the test started.
  std::vector<std::string> Fire(size_t count) {
    std::vector<std::string> fired;
    MSG msg;
    while (fired.size() < count && GetMessage(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_TIMER)
        fired.push_back(std::to_string(msg.wParam) + "@" + std::to_string(GetTickCount64() - Start));
      DispatchMessage(&msg);
    }
    return fired;
  }

  HWND A = nullptr;
  uint64_t Start = 0;
};

TEST_F(Timers, EarliestDueFiresFirstThenTheOlderTimer) {
  SetTimer(A, 1, 30, nullptr);
  SetTimer(A, 2, 20, nullptr);
  SetTimer(A, 3, 20, nullptr);
  EXPECT_EQ(TimeToNextTimer(), 20);
  EXPECT_EQ(Fire(7), (std::vector<std::string>{"2@20", "3@20", "1@30", "2@40", "3@40", "1@60", "2@60"}));
}

TEST_F(Timers, MissedPeriodsMakeOneMessageAndTheNextPeriodStartsThen) {
  SetTimer(A, 1, 10, nullptr);
  Backend().Advance(1000);
  ClearLog();
  Run();
  EXPECT_EQ(Trace({WM_TIMER}), "A.WM_TIMER(1,0)");
  EXPECT_EQ(TimeToNextTimer(), 10);
  EXPECT_EQ(Fire(1), (std::vector<std::string>{"1@1010"}));
}

TEST_F(Timers, ShortIntervalsAreRaisedToTheMinimum) {
  struct Case {
    UINT ms;
    int64_t due;
  };
  for (const Case& c : {Case{0, 10}, Case{1, 10}, Case{9, 10}, Case{10, 10}, Case{25, 25}}) {
    SetTimer(A, 1, c.ms, nullptr);
    EXPECT_EQ(TimeToNextTimer(), c.due) << c.ms;
  }
}

TEST_F(Timers, SettingAnExistingTimerReplacesIt) {
  SetTimer(A, 5, 100, nullptr);
  Backend().Advance(60);
  EXPECT_EQ(SetTimer(A, 5, 30, nullptr), 5u);
  EXPECT_EQ(TimeToNextTimer(), 30);
  EXPECT_EQ(Fire(3), (std::vector<std::string>{"5@90", "5@120", "5@150"}));
}

TEST_F(Timers, KillTimerInItsHandlerStopsIt) {
  int fired = 0;
  Answer(A, WM_TIMER, [&](HWND hwnd, WPARAM id, LPARAM) -> LRESULT {
    ++fired;
    EXPECT_TRUE(KillTimer(hwnd, id));
    return 0;
  });
  SetTimer(A, 1, 10, nullptr);
  SetTimer(A, 2, 15, nullptr);
  Fire(1);
  Backend().Advance(100);
  Run();
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(TimeToNextTimer(), -1);
  EXPECT_FALSE(KillTimer(A, 1));
  EXPECT_FALSE(KillTimer(nullptr, 12345));
  // Nothing left that could ever come.
  MSG msg;
  EXPECT_THROW(GetMessage(&msg, nullptr, 0, 0), std::logic_error);
}

TEST_F(Timers, ASlowHandlerFiresOncePerProcessPendingMessages) {
  int fired = 0;
  Answer(A, WM_TIMER, [&](HWND, WPARAM, LPARAM) -> LRESULT {
    ++fired;
    Backend().Advance(15);  // longer than the period
    return 0;
  });
  PostMessage(A, WM_USER, 0, 0);
  SetTimer(A, 1, 10, nullptr);
  Backend().Advance(10);
  Run();
  EXPECT_EQ(fired, 1);
  Run();
  EXPECT_EQ(fired, 2);
  EXPECT_EQ(Trace({WM_USER}), "A.0x400(0,0)");
}

TEST_F(Timers, CallbackAndThreadTimers) {
  static std::vector<std::pair<HWND, uintptr_t>> calls;
  calls.clear();
  TIMERPROC proc = [](HWND hwnd, UINT, uintptr_t id, DWORD) { calls.push_back({hwnd, id}); };
  const uintptr_t t1 = SetTimer(nullptr, 0, 20, proc);
  const uintptr_t t2 = SetTimer(nullptr, 0, 30, nullptr);
  EXPECT_NE(t1, 0u);
  EXPECT_NE(t2, 0u);
  EXPECT_NE(t1, t2);
  SetTimer(A, 9, 25, proc);
  ClearLog();
  MSG msg;
  std::vector<std::pair<HWND, uintptr_t>> taken;
  while (taken.size() < 3 && GetMessage(&msg, nullptr, 0, 0)) {
    if (msg.message != WM_TIMER) {
      DispatchMessage(&msg);
      continue;
    }
    taken.push_back({msg.hwnd, msg.wParam});
    EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(msg.wParam == t2 ? nullptr : proc));
    DispatchMessage(&msg);
  }
  using Calls = std::vector<std::pair<HWND, uintptr_t>>;
  EXPECT_EQ(taken, (Calls{{nullptr, t1}, {A, 9}, {nullptr, t2}}));
  EXPECT_EQ(calls, (Calls{{nullptr, t1}, {A, 9}}));
  EXPECT_EQ(Trace({WM_TIMER}), "");  // the callback, not the window procedure
  // A thread timer is replaced through the id it was given.
  EXPECT_EQ(SetTimer(nullptr, t1, 500, proc), t1);
  EXPECT_TRUE(KillTimer(nullptr, t1));
  EXPECT_FALSE(KillTimer(nullptr, t1));
}

TEST_F(Timers, FiltersAndDestroyedWindows) {
  HWND child = Child("C", A, {0, 0, 10, 10});
  HWND b = Top("B", {60, 0, 110, 50});
  Run();
  SetTimer(b, 1, 10, nullptr);
  SetTimer(child, 2, 40, nullptr);
  EXPECT_EQ(TimeToNextTimer(A), 40);  // the child's timer counts for its parent
  EXPECT_EQ(TimeToNextTimer(b), 10);
  EXPECT_EQ(TimeToNextTimer(reinterpret_cast<HWND>(intptr_t(-1))), -1);
  Backend().Advance(40);
  MSG msg;
  ASSERT_TRUE(TakeDueTimer(A, &msg, false));
  EXPECT_EQ(msg.hwnd, child);
  EXPECT_EQ(msg.time, DWORD(GetTickCount()));
  DestroyWindow(child);
  EXPECT_FALSE(TakeDueTimer(A, &msg, true));
  EXPECT_EQ(SetTimer(child, 3, 10, nullptr), 0u);
  DestroyWindow(b);
  EXPECT_EQ(TimeToNextTimer(), -1);
}

}  // namespace
