// A fixture for window system tests on the headless backend: a window class whose
// procedure records every message and answers what a test tells it to, windows made in
// one line, and a clean window system after each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "backend/Headless.h"
#include "win/Input.h"
#include "win/Queue.h"
#include "win/Timers.h"

struct RecordedMessage {
  HWND Hwnd = nullptr;
  UINT Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

class WinTest : public ::testing::Test {
 protected:
  using Handler = std::function<LRESULT(HWND, WPARAM, LPARAM)>;

  void SetUp() override;
  void TearDown() override;

  // A top-level or child window of the recording class ("Recorder", or "RecorderDbl"
  // with CS_DBLCLKS); the name stands for it in Trace. Windows answer WM_NCHITTEST with
  // HTCLIENT, WM_MOUSEACTIVATE with MA_ACTIVATE and paint nothing unless told otherwise.
  HWND Top(const std::string& name, RECT bounds, DWORD style = WS_POPUP | WS_VISIBLE, bool doubleClicks = false);
  HWND Child(const std::string& name, HWND parent, RECT bounds, DWORD style = WS_CHILD | WS_VISIBLE,
             bool doubleClicks = false);
  // How a window answers a message from now on (it is still recorded first).
  void Answer(HWND hwnd, UINT msg, Handler handler);

  // Messages recorded since the last ClearLog, of the given kinds only.
  std::vector<RecordedMessage> Messages(std::initializer_list<UINT> kinds) const;
  // The same as text: "A.WM_ACTIVATE(1,B)" for each message, wParam and lParam written
  // as window names where they are windows of the test, else as numbers.
  std::string Trace(std::initializer_list<UINT> kinds) const;
  void ClearLog();

  static HeadlessBackend& Backend() { return *Headless(); }
  static void Inject(InputEvent e) { Headless()->Inject(std::move(e)); }
  // Dispatches everything that is ready.
  static void Run() { ProcessPendingMessages(); }

  static std::string Name(UINT msg);
};

// Windows whose procedure records every message and leaves what a test has not answered
// to DefWindowProc: for the tests of the default behaviour.
namespace defwin {
using Answer = std::function<LRESULT(HWND, WPARAM, LPARAM)>;
LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
std::vector<RecordedMessage>& Log();
// How a window answers a message from now on (it is still recorded first).
void SetAnswer(HWND hwnd, UINT msg, Answer answer);
// The messages of one kind that one window got, in order.
std::vector<RecordedMessage> CallsOf(HWND hwnd, UINT msg);
// Forgets the log and the answers.
void Reset();
}  // namespace defwin
