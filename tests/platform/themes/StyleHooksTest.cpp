// Style hooks on the headless backend: which hook class serves a control, hooks made and
// freed with the custom style and with windows, the message path through a hook, painting
// in place of the control, mouse tracking, and hooks of plain windows by class name.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "backend/Headless.h"
#include "gdi/Gdi.h"
#include "support/ControlHost.h"
#include "themes/StyleEngine.h"
#include "themes/StyleManager.h"
#include "vcl/Controls.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Queue.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 1;       // counted by the control, answered 7
constexpr UINT WM_NESTED = WM_USER + 2;      // the control sends itself WM_PROBE meanwhile
constexpr UINT WM_GOSYSTEM = WM_USER + 3;    // the control switches back to the system style
constexpr UINT WM_DROPWINDOW = WM_USER + 4;  // the control destroys its own window

// Messages from WM_USER up that reached a hook's WndProc, in order.
std::vector<UINT> gSeen;
int gLiveHooks = 0;
int gEnters = 0, gLeaves = 0;

// Paints itself red and counts what reaches its own handling.
class TRedControl : public TCustomControl {
  QV_CLASS(TRedControl, TCustomControl)
  explicit TRedControl(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Paints = 0;
  int Probes = 0;

  void Dispatch(TMessage& Message) override {
    switch (Message.Msg) {
      case WM_PROBE:
        ++Probes;
        Message.Result = 7;
        return;
      case WM_NESTED: Message.Result = SendMessage(WindowHandle(), WM_PROBE, 0, 0); return;
      case WM_GOSYSTEM: StyleEngineActivate(false); return;
      case WM_DROPWINDOW: DestroyHandle(); return;
      default: TCustomControl::Dispatch(Message);
    }
  }

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(ClientRect());
  }
};

class TDerivedRed : public TRedControl {
  QV_CLASS(TDerivedRed, TRedControl)
  explicit TDerivedRed(TComponent* AOwner) : TRedControl(AOwner) {}
};

class TSwatch : public TGraphicControl {
  QV_CLASS(TSwatch, TGraphicControl)
  explicit TSwatch(TComponent* AOwner) : TGraphicControl(AOwner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(ClientRect());
  }
};

// What a probe hook does with the messages from WM_USER up.
enum class Behaviour { PassOn, LeaveToControl, Answer };
Behaviour gBehaviour = Behaviour::PassOn;

class TProbeHook : public TStyleHook {
  QV_CLASS(TProbeHook, TStyleHook)
  explicit TProbeHook(TWinControl* AControl) : TStyleHook(AControl) { ++gLiveHooks; }
  ~TProbeHook() override { --gLiveHooks; }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg < WM_USER) {
      TStyleHook::WndProc(Message);
      return;
    }
    gSeen.push_back(Message.Msg);
    switch (gBehaviour) {
      case Behaviour::PassOn: TStyleHook::WndProc(Message); break;
      case Behaviour::LeaveToControl: SetHandled(false); break;
      case Behaviour::Answer:
        Message.Result = 42;
        SetHandled(true);
        break;
    }
  }
};

class TOtherHook : public TProbeHook {
  QV_CLASS(TOtherHook, TProbeHook)
  explicit TOtherHook(TWinControl* AControl) : TProbeHook(AControl) {}
};

class TThirdHook : public TProbeHook {
  QV_CLASS(TThirdHook, TProbeHook)
  explicit TThirdHook(TWinControl* AControl) : TProbeHook(AControl) {}
};

// Paints the client area in its brush's colour instead of the control.
class TBlueHook : public TProbeHook {
  QV_CLASS(TBlueHook, TProbeHook)
  explicit TBlueHook(TWinControl* AControl) : TProbeHook(AControl) {
    SetOverridePaint(true);
    Brush()->SetColor(clBlue);
  }

 protected:
  void Paint(TCanvas* Canvas) override {
    RECT r{};
    GetClientRect(Handle(), &r);
    Canvas->FillRect(r);
  }
};

// Hot when the mouse is over the control.
class THotHook : public TMouseTrackControlStyleHook {
  QV_CLASS(THotHook, TMouseTrackControlStyleHook)
  explicit THotHook(TWinControl* AControl) : TMouseTrackControlStyleHook(AControl) {
    ++gLiveHooks;
    SetOverridePaint(true);
  }
  ~THotHook() override { --gLiveHooks; }

 protected:
  void MouseEnter() override {
    ++gEnters;
    TMouseTrackControlStyleHook::MouseEnter();
  }
  void MouseLeave() override {
    ++gLeaves;
    TMouseTrackControlStyleHook::MouseLeave();
  }
  void Paint(TCanvas* Canvas) override {
    RECT r{};
    GetClientRect(Handle(), &r);
    Canvas->Brush()->SetColor(MouseInControl() ? clYellow : clGray);
    Canvas->FillRect(r);
  }
};

// ---- a plain window that is no control ----

int gPlainProbes = 0;

LRESULT PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r{};
      GetClientRect(hwnd, &r);
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &r, red);
      DeleteObject(red);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PROBE: ++gPlainProbes; return 5;
    default: return DefWindowProc(hwnd, msg, wParam, lParam);
  }
}

// Blue client area, magenta frame.
class TPlainHook : public TSysStyleHook {
  QV_CLASS(TPlainHook, TSysStyleHook)
  explicit TPlainHook(HWND AHandle) : TSysStyleHook(AHandle) {
    ++gLiveHooks;
    SetOverridePaint(true);
    SetOverridePaintNC(true);
  }
  ~TPlainHook() override { --gLiveHooks; }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg >= WM_USER) gSeen.push_back(Message.Msg);
    TSysStyleHook::WndProc(Message);
  }
  void Paint(TCanvas* Canvas) override {
    RECT r{};
    GetClientRect(Handle(), &r);
    Canvas->Brush()->SetColor(clBlue);
    Canvas->FillRect(r);
  }
  void PaintNC(TCanvas* Canvas) override {
    RECT r{};
    GetWindowRect(Handle(), &r);
    Canvas->Brush()->SetColor(clFuchsia);
    Canvas->FillRect({0, 0, r.Right - r.Left, r.Bottom - r.Top});
  }
  void MouseEnter() override { ++gEnters; }
  void MouseLeave() override { ++gLeaves; }
};

// Another party that subclasses a window after the engine did.
WNDPROC gChainNext = nullptr;
int gChainCalls = 0;
LRESULT ChainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PROBE) ++gChainCalls;
  return CallWindowProc(gChainNext, hwnd, msg, wParam, lParam);
}

// Controls on the host of a plain top-level window; a plain captioned window of the class
// "StylePlain" lies beside it.
class StyleHooksTest : public ControlHostTest {
 protected:
  StyleHooksTest() : ControlHostTest({.AcceptsControls = false}) {}

  void SetUp() override {
    StyleEngineActivate(false);  // whatever ran before in this process
    gSeen.clear();
    gLiveHooks = gEnters = gLeaves = gPlainProbes = gChainCalls = 0;
    gBehaviour = Behaviour::PassOn;
    ControlHostTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = &PlainProc;
    wc.lpszClassName = "StylePlain";
    ASSERT_NE(RegisterClass(&wc), 0);
  }

  void TearDown() override {
    StyleEngineActivate(false);
    for (auto& [control, hook] : Registered) StyleEngine()->UnRegisterStyleHook(control, hook);
    for (auto& [name, hook] : SysRegistered) StyleEngine()->UnRegisterSysStyleHook(name, hook);
    ControlHostTest::TearDown();
    EXPECT_EQ(gLiveHooks, 0) << "hooks left alive";
    EXPECT_EQ(StyleEngine()->HookCount(), 0u);
  }

  template <class THook>
  void Register(TClass ControlClass) {
    StyleEngine()->RegisterStyleHook(ControlClass, StyleHookClass<THook>());
    Registered.emplace_back(ControlClass, THook::StaticClass());
  }
  template <class THook>
  void RegisterSys(const String& WindowClassName) {
    StyleEngine()->RegisterSysStyleHook(WindowClassName, SysStyleHookClass<THook>());
    SysRegistered.emplace_back(WindowClassName, THook::StaticClass());
  }

  static HWND MakePlain() {
    return CreateWindowEx(0, "StylePlain", "Plain", WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 0, 200, 150, nullptr,
                          nullptr, nullptr, nullptr);
  }

  void MoveMouse(int x, int y) const {
    Headless()->Inject({.Kind = InputKind::MouseMove, .Screen = {x, y}});
    Run();
  }
  static COLORREF AtWindow(HWND top, int x, int y) { return ColorRefFromPixel(top->Pixels->At(x, y)); }

  std::vector<std::pair<TClass, TClass>> Registered;
  std::vector<std::pair<String, TClass>> SysRegistered;
};

TEST_F(StyleHooksTest, ALookupTakesTheClassItselfElseItsNearestRegisteredAncestor) {
  Register<TProbeHook>(TWinControl::StaticClass());
  Register<TOtherHook>(TRedControl::StaticClass());
  struct Case {
    TClass Control;
    TClass Hook;
  };
  const Case cases[] = {
      {TControl::StaticClass(), nullptr},
      {TGraphicControl::StaticClass(), nullptr},
      {TWinControl::StaticClass(), TProbeHook::StaticClass()},
      {TCustomControl::StaticClass(), TProbeHook::StaticClass()},
      {TRedControl::StaticClass(), TOtherHook::StaticClass()},
      {TDerivedRed::StaticClass(), TOtherHook::StaticClass()},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StyleEngine()->FindStyleHookClass(c.Control), c.Hook) << c.Control->Name;

  // The live hooks follow the same rule.
  auto* custom = Make<TCustomControl>(Host, "Custom", {0, 0, 20, 20});
  auto* derived = Make<TDerivedRed>(Host, "Derived", {30, 0, 50, 20});
  StyleEngineActivate(true);
  ASSERT_NE(StyleEngine()->HookOf(custom), nullptr);
  ASSERT_NE(StyleEngine()->HookOf(derived), nullptr);
  EXPECT_EQ(StyleEngine()->HookOf(custom)->ClassType(), TProbeHook::StaticClass());
  EXPECT_EQ(StyleEngine()->HookOf(derived)->ClassType(), TOtherHook::StaticClass());
  EXPECT_EQ(StyleEngine()->HookOf(Host)->ClassType(), TProbeHook::StaticClass());
  StyleEngineActivate(false);

  // The latest registration for a class wins; unregistering one uncovers the one below.
  Register<TThirdHook>(TWinControl::StaticClass());
  EXPECT_EQ(StyleEngine()->FindStyleHookClass(TCustomControl::StaticClass()), TThirdHook::StaticClass());
  StyleEngine()->UnRegisterStyleHook(TWinControl::StaticClass(), TThirdHook::StaticClass());
  EXPECT_EQ(StyleEngine()->FindStyleHookClass(TCustomControl::StaticClass()), TProbeHook::StaticClass());
  StyleEngine()->UnRegisterStyleHook(TRedControl::StaticClass(), TOtherHook::StaticClass());
  EXPECT_EQ(StyleEngine()->FindStyleHookClass(TDerivedRed::StaticClass()), TProbeHook::StaticClass());

  EXPECT_THROW(StyleEngine()->RegisterStyleHook(TWinControl::StaticClass(), StyleHookClass<TProbeHook>()),
               EStyleEngineException);
  EXPECT_THROW(StyleEngine()->RegisterStyleHook(nullptr, StyleHookClass<TProbeHook>()), EStyleEngineException);
  EXPECT_THROW(StyleEngine()->RegisterStyleHook(TWinControl::StaticClass(), {TProbeHook::StaticClass(), nullptr}),
               EStyleEngineException);
  EXPECT_THROW(StyleEngine()->RegisterSysStyleHook("", SysStyleHookClass<TPlainHook>()), EStyleEngineException);
}

TEST_F(StyleHooksTest, HooksComeWithTheCustomStyleAndGoWithTheSystemStyle) {
  Register<TProbeHook>(TWinControl::StaticClass());
  std::vector<TWinControl*> controls{Host};
  controls.push_back(Make<TRedControl>(Host, "A", {0, 0, 50, 50}));
  controls.push_back(Make<TWinControl>(Host, "B", {60, 0, 110, 50}));
  controls.push_back(Make<TCustomControl>(controls[2], "C", {0, 0, 20, 20}));
  // A control without a window gets no hook.
  auto* windowless = new TRedControl(nullptr);

  EXPECT_FALSE(StyleHookHandler);
  EXPECT_FALSE(ControlHandleHook);
  StyleEngineActivate(true);
  EXPECT_TRUE(StyleHookHandler);
  EXPECT_TRUE(ControlHandleHook);
  EXPECT_EQ(gLiveHooks, 4);
  EXPECT_EQ(StyleEngine()->HookCount(), 4u);
  for (TWinControl* c : controls) {
    TStyleHook* hook = StyleEngine()->HookOf(c);
    ASSERT_NE(hook, nullptr) << c->Name();
    EXPECT_EQ(hook->Control(), c);
    EXPECT_EQ(hook->Handle(), c->WindowHandle());
  }
  EXPECT_EQ(StyleEngine()->HookOf(windowless), nullptr);
  // Becoming active again makes no second hooks.
  StyleEngineActivate(true);
  EXPECT_EQ(gLiveHooks, 4);

  StyleEngineActivate(false);
  EXPECT_EQ(gLiveHooks, 0);
  EXPECT_EQ(StyleEngine()->HookCount(), 0u);
  for (TWinControl* c : controls) EXPECT_EQ(StyleEngine()->HookOf(c), nullptr);
  // Nothing stands in front of the controls any more.
  EXPECT_FALSE(StyleHookHandler);
  EXPECT_FALSE(ControlHandleHook);
  delete windowless;
}

TEST_F(StyleHooksTest, WindowsMadeWhileActiveGetHooksThatGoWithTheirWindows) {
  Register<TProbeHook>(TWinControl::StaticClass());
  StyleEngineActivate(true);
  ASSERT_EQ(gLiveHooks, 1);  // the host

  auto* a = Make<TRedControl>(Host, "A", {0, 0, 50, 50});
  TStyleHook* first = StyleEngine()->HookOf(a);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Handle(), a->WindowHandle());
  EXPECT_EQ(gLiveHooks, 2);

  // A window made again gets a hook of its own.
  a->RecreateWnd();
  ASSERT_TRUE(a->HandleAllocated());
  ASSERT_NE(StyleEngine()->HookOf(a), nullptr);
  EXPECT_EQ(StyleEngine()->HookOf(a)->Handle(), a->WindowHandle());
  EXPECT_EQ(gLiveHooks, 2);

  a->DestroyHandle();
  EXPECT_EQ(StyleEngine()->HookOf(a), nullptr);
  EXPECT_EQ(gLiveHooks, 1);
  a->HandleNeeded();
  EXPECT_EQ(gLiveHooks, 2);
  delete a;
  EXPECT_EQ(gLiveHooks, 1);

  // Windows destroyed from outside: the host's and its children's with the top window.
  auto* b = Make<TWinControl>(Host, "B", {0, 0, 50, 50});
  Make<TWinControl>(b, "C", {0, 0, 10, 10});
  EXPECT_EQ(gLiveHooks, 3);
  DestroyWindow(Top);
  EXPECT_EQ(gLiveHooks, 0);
  EXPECT_EQ(StyleEngine()->HookCount(), 0u);
  EXPECT_FALSE(Host->HandleAllocated());
}

TEST_F(StyleHooksTest, AHookThatPaintsPaintsInsteadOfTheControl) {
  auto* red = Make<TRedControl>(Host, "Red", {50, 50, 150, 150});
  Make<TSwatch>(red, "Swatch", {10, 10, 30, 30});
  Run();
  ASSERT_EQ(At(100, 100), COLORREF(clRed));
  const int paints = red->Paints;

  Register<TBlueHook>(TRedControl::StaticClass());
  StyleEngineActivate(true);
  red->Invalidate();
  Run();
  EXPECT_EQ(At(100, 100), COLORREF(clBlue));
  EXPECT_EQ(At(50, 50), COLORREF(clBlue));
  EXPECT_EQ(At(149, 149), COLORREF(clBlue));
  EXPECT_EQ(At(49, 49), COLORREF(clWhite));
  EXPECT_EQ(At(150, 150), COLORREF(clWhite));
  // Graphic children paint over the hook's drawing, as over the control's own.
  EXPECT_EQ(At(65, 65), COLORREF(clLime));
  EXPECT_EQ(red->Paints, paints);

  StyleEngineActivate(false);
  red->Invalidate();
  Run();
  EXPECT_EQ(At(100, 100), COLORREF(clRed));
  EXPECT_EQ(At(65, 65), COLORREF(clLime));
  EXPECT_GT(red->Paints, paints);
}

TEST_F(StyleHooksTest, MessagesPassThroughTheHookToTheControlOnce) {
  struct Case {
    Behaviour Does;
    UINT Msg;
    LRESULT Result;
    int Probes;  // reaching the control
    std::vector<UINT> Seen;
  };
  const Case cases[] = {
      {Behaviour::PassOn, WM_PROBE, 7, 1, {WM_PROBE}},
      {Behaviour::LeaveToControl, WM_PROBE, 7, 1, {WM_PROBE}},
      {Behaviour::Answer, WM_PROBE, 42, 0, {WM_PROBE}},
      // A message the control sends itself while handling another passes by the hook too.
      {Behaviour::PassOn, WM_NESTED, 7, 1, {WM_NESTED, WM_PROBE}},
      {Behaviour::LeaveToControl, WM_NESTED, 7, 1, {WM_NESTED, WM_PROBE}},
      {Behaviour::Answer, WM_NESTED, 42, 0, {WM_NESTED}},
  };
  Register<TProbeHook>(TRedControl::StaticClass());
  auto* red = Make<TRedControl>(Host, "Red", {0, 0, 50, 50});
  StyleEngineActivate(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "behaviour " << int(c.Does) << ", message " << c.Msg - WM_USER);
    gBehaviour = c.Does;
    gSeen.clear();
    red->Probes = 0;
    EXPECT_EQ(SendMessage(red->WindowHandle(), c.Msg, 0, 0), c.Result);
    EXPECT_EQ(red->Probes, c.Probes);
    EXPECT_EQ(gSeen, c.Seen);
  }
  // Without the custom style the control alone answers.
  StyleEngineActivate(false);
  gBehaviour = Behaviour::Answer;
  gSeen.clear();
  EXPECT_EQ(red->Perform(WM_PROBE, 0, 0), 7);
  EXPECT_TRUE(gSeen.empty());
}

TEST_F(StyleHooksTest, AHookFreedWhileItsMessageRunsGoesWhenTheMessageIsDone) {
  Register<TProbeHook>(TRedControl::StaticClass());
  auto* red = Make<TRedControl>(Host, "Red", {0, 0, 50, 50});
  StyleEngineActivate(true);
  ASSERT_EQ(gLiveHooks, 1);

  // The control's own handler destroys its window: the hook is on the stack meanwhile.
  red->Perform(WM_DROPWINDOW, 0, 0);
  EXPECT_FALSE(red->HandleAllocated());
  EXPECT_EQ(gLiveHooks, 0);
  red->HandleNeeded();
  EXPECT_EQ(gLiveHooks, 1);

  // The control's handler switches back to the system style.
  SendMessage(red->WindowHandle(), WM_GOSYSTEM, 0, 0);
  EXPECT_EQ(gLiveHooks, 0);
  EXPECT_FALSE(StyleEngine()->Active());
  EXPECT_FALSE(StyleHookHandler);
  gSeen.clear();
  EXPECT_EQ(SendMessage(red->WindowHandle(), WM_PROBE, 0, 0), 7);
  EXPECT_TRUE(gSeen.empty());
}

TEST_F(StyleHooksTest, UnregisteringStopsNewHooks) {
  // Registering while a custom style is active hooks the windows there are.
  StyleEngineActivate(true);
  auto* a = Make<TRedControl>(Host, "A", {0, 0, 50, 50});
  EXPECT_EQ(gLiveHooks, 0);
  Register<TProbeHook>(TWinControl::StaticClass());
  EXPECT_EQ(gLiveHooks, 2);

  StyleEngine()->UnRegisterStyleHook(TWinControl::StaticClass(), TProbeHook::StaticClass());
  auto* b = Make<TRedControl>(Host, "B", {60, 0, 110, 50});
  EXPECT_EQ(StyleEngine()->HookOf(b), nullptr);
  // Hooks made already stay until the system style returns.
  EXPECT_NE(StyleEngine()->HookOf(a), nullptr);
  EXPECT_EQ(gLiveHooks, 2);
  StyleEngineActivate(false);
  StyleEngineActivate(true);
  EXPECT_EQ(gLiveHooks, 0);

  RegisterSys<TPlainHook>("StylePlain");
  StyleEngine()->UnRegisterSysStyleHook("stylePLAIN", TPlainHook::StaticClass());
  HWND plain = MakePlain();
  ASSERT_NE(plain, nullptr);
  StyleEngine()->WindowCreated(plain);
  EXPECT_EQ(StyleEngine()->SysHookOf(plain), nullptr);
  EXPECT_EQ(GetWindowLongPtr(plain, GWLP_WNDPROC), reinterpret_cast<intptr_t>(&PlainProc));
}

TEST_F(StyleHooksTest, MouseTrackingFollowsTheMouseInAndOutAndRepaintsHot) {
  Register<THotHook>(TRedControl::StaticClass());
  auto* red = Make<TRedControl>(Host, "Red", {50, 50, 150, 150});
  StyleEngineActivate(true);
  red->Invalidate();
  Run();
  TStyleHook* hook = StyleEngine()->HookOf(red);
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(At(100, 100), COLORREF(clGray));

  MoveMouse(100, 100);
  EXPECT_TRUE(hook->MouseInControl());
  EXPECT_FALSE(hook->MouseInNCArea());
  EXPECT_EQ(At(100, 100), COLORREF(clYellow));
  MoveMouse(120, 110);
  EXPECT_EQ(gEnters, 1);

  MoveMouse(300, 250);  // onto the host
  EXPECT_FALSE(hook->MouseInControl());
  EXPECT_EQ(gLeaves, 1);
  EXPECT_EQ(At(100, 100), COLORREF(clGray));

  // The framework's own leave message counts only when it is the control's.
  MoveMouse(100, 100);
  ASSERT_TRUE(hook->MouseInControl());
  Host->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Host));
  red->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(Host));
  EXPECT_TRUE(hook->MouseInControl());
}

TEST_F(StyleHooksTest, ASysHookSubclassesAPlainWindowByClassNameAndPutsItsProcedureBack) {
  HWND plain = MakePlain();
  ASSERT_NE(plain, nullptr);
  const auto plainProc = reinterpret_cast<intptr_t>(&PlainProc);
  const auto engineProc = reinterpret_cast<intptr_t>(&TCustomStyleEngine::SysHookWndProc);
  RECT client{};
  GetClientRect(plain, &client);
  POINT origin{0, 0};
  ClientToScreen(plain, &origin);
  const POINT inClient{origin.X - 500 + 100, origin.Y + 50};  // window coordinates
  ASSERT_GT(origin.Y, 2) << "the plain window needs a caption";
  Run();
  ASSERT_EQ(AtWindow(plain, inClient.X, inClient.Y), COLORREF(clRed));

  RegisterSys<TPlainHook>("stylePLAIN");
  EXPECT_EQ(StyleEngine()->FindSysStyleHookClass("StylePlain"), TPlainHook::StaticClass());
  StyleEngineActivate(true);
  TSysStyleHook* hook = StyleEngine()->SysHookOf(plain);
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(gLiveHooks, 1);  // the host is a control: no hook of a window class for it
  EXPECT_EQ(hook->Control(), nullptr);
  EXPECT_EQ(hook->Handle(), plain);
  EXPECT_EQ(GetWindowLongPtr(plain, GWLP_WNDPROC), engineProc);
  EXPECT_EQ(reinterpret_cast<intptr_t>(hook->OrgWndProc()), plainProc);

  RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
  Run();
  EXPECT_EQ(AtWindow(plain, inClient.X, inClient.Y), COLORREF(clBlue));
  EXPECT_EQ(AtWindow(plain, 1, 1), COLORREF(clFuchsia));
  // Messages the hook passes on reach the window's own procedure once.
  EXPECT_EQ(SendMessage(plain, WM_PROBE, 0, 0), 5);
  EXPECT_EQ(gPlainProbes, 1);
  EXPECT_EQ(gSeen, std::vector<UINT>{WM_PROBE});

  // The frame and the client area count as one for entering and leaving.
  MoveMouse(600, 5);
  EXPECT_TRUE(hook->MouseInNCArea());
  EXPECT_TRUE(hook->MouseInControl());
  MoveMouse(600, origin.Y + 50);
  EXPECT_FALSE(hook->MouseInNCArea());
  EXPECT_TRUE(hook->MouseInControl());
  EXPECT_EQ(gEnters, 1);
  EXPECT_EQ(gLeaves, 0);
  MoveMouse(800, 500);
  EXPECT_FALSE(hook->MouseInControl());
  EXPECT_EQ(gLeaves, 1);

  StyleEngineActivate(false);
  EXPECT_EQ(gLiveHooks, 0);
  EXPECT_EQ(GetWindowLongPtr(plain, GWLP_WNDPROC), plainProc);
  RedrawWindow(plain, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
  Run();
  EXPECT_EQ(AtWindow(plain, inClient.X, inClient.Y), COLORREF(clRed));
  EXPECT_NE(AtWindow(plain, 1, 1), COLORREF(clFuchsia));

  // Windows made while a custom style is active are hooked as they are made; the hook goes
  // with the window.
  StyleEngineActivate(true);
  HWND second = MakePlain();
  EXPECT_NE(StyleEngine()->SysHookOf(second), nullptr);
  EXPECT_EQ(gLiveHooks, 2);
  DestroyWindow(second);
  EXPECT_EQ(gLiveHooks, 1);
  EXPECT_EQ(StyleEngine()->SysHookOf(second), nullptr);
}

TEST_F(StyleHooksTest, AWindowSubclassedAgainOverTheEngineKeepsWorking) {
  HWND plain = MakePlain();
  ASSERT_NE(plain, nullptr);
  RegisterSys<TPlainHook>("StylePlain");
  StyleEngineActivate(true);
  gChainNext = reinterpret_cast<WNDPROC>(SetWindowLongPtr(plain, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&ChainProc)));
  ASSERT_EQ(gChainNext, &TCustomStyleEngine::SysHookWndProc);

  // The engine cannot take its procedure out: it stays in the chain and passes on.
  StyleEngineActivate(false);
  EXPECT_EQ(GetWindowLongPtr(plain, GWLP_WNDPROC), reinterpret_cast<intptr_t>(&ChainProc));
  EXPECT_EQ(SendMessage(plain, WM_PROBE, 0, 0), 5);
  EXPECT_EQ(gChainCalls, 1);
  EXPECT_EQ(gPlainProbes, 1);
  EXPECT_TRUE(gSeen.empty());

  // Hooked again, the window's messages pass the new hook once.
  StyleEngineActivate(true);
  EXPECT_EQ(SendMessage(plain, WM_PROBE, 0, 0), 5);
  EXPECT_EQ(gSeen, std::vector<UINT>{WM_PROBE});
  EXPECT_EQ(gPlainProbes, 2);
  DestroyWindow(plain);
  EXPECT_EQ(gLiveHooks, 0);
}

}  // namespace

namespace {

// Choosing a custom style by name makes the hooks; going back to the system style frees
// them — the road every program takes, through the style manager.
TEST_F(StyleHooksTest, SwitchingStylesByNameMakesAndFreesHooks) {
  Register<TProbeHook>(TRedControl::StaticClass());
  auto* red = Make<TRedControl>(Host, "Red", {10, 10, 60, 60});
  ASSERT_TRUE(red->HandleAllocated());
  EXPECT_EQ(StyleEngine()->HookOf(red), nullptr);
  TStyleManager::SetStyle("Glossy");
  EXPECT_NE(StyleEngine()->HookOf(red), nullptr);
  EXPECT_EQ(gLiveHooks, 1);
  TStyleManager::SetStyle("Windows");
  EXPECT_EQ(StyleEngine()->HookOf(red), nullptr);
  EXPECT_EQ(gLiveHooks, 0);
}

}  // namespace
