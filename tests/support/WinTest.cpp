#include "support/WinTest.h"

#include <map>
#include <sstream>
#include <utility>

#include "win/Paint.h"

namespace {

struct Recorder {
  std::vector<RecordedMessage> Log;
  std::map<std::pair<HWND, UINT>, std::function<LRESULT(HWND, WPARAM, LPARAM)>> Answers;
  std::map<HWND, std::string> Names;
};

Recorder& Rec() {
  static Recorder r;
  return r;
}

LRESULT RecorderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Rec().Log.push_back({hwnd, msg, wParam, lParam});
  auto it = Rec().Answers.find({hwnd, msg});
  if (it != Rec().Answers.end()) {
    auto answer = it->second;  // the handler may replace itself
    return answer(hwnd, wParam, lParam);
  }
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return MA_ACTIVATE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    default: return 0;
  }
}

void RegisterRecorder(const char* name, UINT style) {
  WNDCLASS wc;
  wc.style = style;
  wc.lpfnWndProc = RecorderProc;
  wc.lpszClassName = name;
  RegisterClass(&wc);
}

const std::map<UINT, const char*>& MessageNames() {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_PAINT, "WM_PAINT"},
      {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
      {WM_SETCURSOR, "WM_SETCURSOR"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_NCHITTEST, "WM_NCHITTEST"},
      {WM_NCACTIVATE, "WM_NCACTIVATE"},
      {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
      {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
      {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
      {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
      {WM_SYSKEYUP, "WM_SYSKEYUP"},
      {WM_SYSCHAR, "WM_SYSCHAR"},
      {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
      {WM_RBUTTONUP, "WM_RBUTTONUP"},
      {WM_MBUTTONDOWN, "WM_MBUTTONDOWN"},
      {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_NCMOUSELEAVE, "WM_NCMOUSELEAVE"},
      {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
  };
  return names;
}

std::string Param(intptr_t value) {
  auto it = Rec().Names.find(reinterpret_cast<HWND>(value));
  if (value && it != Rec().Names.end()) return it->second;
  return std::to_string(value);
}

}  // namespace

void WinTest::SetUp() {
  ASSERT_NE(Headless(), nullptr) << "window system tests run on the headless backend";
  RegisterRecorder("Recorder", 0);
  RegisterRecorder("RecorderDbl", CS_DBLCLKS);
}

void WinTest::TearDown() {
  Rec().Answers.clear();
  ResetWindowSystem();
  Rec() = Recorder{};
}

HWND WinTest::Top(const std::string& name, RECT bounds, DWORD style, bool doubleClicks) {
  HWND hwnd = CreateWindowEx(0, doubleClicks ? "RecorderDbl" : "Recorder", name, style, bounds.Left, bounds.Top,
                             bounds.Width(), bounds.Height(), nullptr, nullptr, nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr) << name;
  Rec().Names[hwnd] = name;
  return hwnd;
}

HWND WinTest::Child(const std::string& name, HWND parent, RECT bounds, DWORD style, bool doubleClicks) {
  HWND hwnd = CreateWindowEx(0, doubleClicks ? "RecorderDbl" : "Recorder", name, style, bounds.Left, bounds.Top,
                             bounds.Width(), bounds.Height(), parent, nullptr, nullptr, nullptr);
  EXPECT_NE(hwnd, nullptr) << name;
  Rec().Names[hwnd] = name;
  return hwnd;
}

void WinTest::Answer(HWND hwnd, UINT msg, Handler handler) { Rec().Answers[{hwnd, msg}] = std::move(handler); }

std::vector<RecordedMessage> WinTest::Messages(std::initializer_list<UINT> kinds) const {
  std::vector<RecordedMessage> out;
  for (const RecordedMessage& m : Rec().Log)
    for (UINT k : kinds)
      if (m.Message == k) {
        out.push_back(m);
        break;
      }
  return out;
}

std::string WinTest::Trace(std::initializer_list<UINT> kinds) const {
  std::ostringstream out;
  for (const RecordedMessage& m : Messages(kinds)) {
    if (out.tellp() > 0) out << ' ';
    out << Param(reinterpret_cast<intptr_t>(m.Hwnd)) << '.' << Name(m.Message) << '(' << Param(intptr_t(m.WParam))
        << ',' << Param(m.LParam) << ')';
  }
  return out.str();
}

void WinTest::ClearLog() { Rec().Log.clear(); }

std::string WinTest::Name(UINT msg) {
  auto it = MessageNames().find(msg);
  if (it != MessageNames().end()) return it->second;
  std::ostringstream out;
  out << "0x" << std::hex << msg;
  return out.str();
}

namespace defwin {

namespace {
std::map<std::pair<HWND, UINT>, Answer>& Answers() {
  static std::map<std::pair<HWND, UINT>, Answer> answers;
  return answers;
}
}  // namespace

std::vector<RecordedMessage>& Log() {
  static std::vector<RecordedMessage> log;
  return log;
}

LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Log().push_back({hwnd, msg, wParam, lParam});
  auto it = Answers().find({hwnd, msg});
  if (it != Answers().end()) {
    Answer answer = it->second;  // the answer may replace itself
    return answer(hwnd, wParam, lParam);
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void SetAnswer(HWND hwnd, UINT msg, Answer answer) { Answers()[{hwnd, msg}] = std::move(answer); }

std::vector<RecordedMessage> CallsOf(HWND hwnd, UINT msg) {
  std::vector<RecordedMessage> out;
  for (const RecordedMessage& c : Log())
    if (c.Hwnd == hwnd && c.Message == msg) out.push_back(c);
  return out;
}

void Reset() {
  Answers().clear();
  Log().clear();
}

}  // namespace defwin
