// The control classes on the headless backend: windows made on demand, the message path,
// painting of graphic children, mouse handling, notifications and inheritance, scaling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Canvas.h"
#include "support/ControlHost.h"
#include "win/Input.h"

namespace {

class ControlsTest : public ControlHostTest {
 protected:
  // Lets the double-click time pass so that the next press is a single one.
  static void Pause() { Advance(2000); }
};

// Fills more than its own rectangle: what shows must be clipped to the control.
class TSwatch : public TGraphicControl {
  QV_CLASS(TSwatch, TGraphicControl)
  explicit TSwatch(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor Fill = clRed;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect({-10, -10, Width() + 10, Height() + 10});
  }
};

// Writes down the order in which windows are made.
std::vector<std::string>* gCreated = nullptr;
class TLoggedWin : public TWinControl {
  QV_CLASS(TLoggedWin, TWinControl)
  explicit TLoggedWin(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateWnd() override {
    if (gCreated) gCreated->push_back(Name());
    TWinControl::CreateWnd();
  }
};

TEST_F(ControlsTest, ChildWindowsAreMadeWhenTheirParentShows) {
  std::vector<std::string> created;
  gCreated = &created;
  auto* panel = new TLoggedWin(nullptr);
  panel->SetName("Panel");
  panel->SetVisible(false);
  panel->SetParent(Host);
  auto* child = Make<TLoggedWin>(panel, "Child", {5, 5, 45, 25});
  auto* hidden = Make<TLoggedWin>(panel, "Hidden", {50, 5, 90, 25});
  hidden->Hide();
  EXPECT_TRUE(created.empty());
  EXPECT_FALSE(child->HandleAllocated());

  panel->Show();
  EXPECT_EQ(created, (std::vector<std::string>{"Panel", "Child"}));
  EXPECT_EQ(GetParent(child->WindowHandle()), panel->WindowHandle());
  EXPECT_EQ(GetParent(panel->WindowHandle()), Host->WindowHandle());
  EXPECT_TRUE(IsWindowVisible(child->WindowHandle()));
  EXPECT_TRUE(child->Showing());
  EXPECT_FALSE(hidden->HandleAllocated());

  panel->Hide();
  EXPECT_FALSE(IsWindowVisible(panel->WindowHandle()));
  EXPECT_FALSE(child->Showing());

  // Asking for the window makes it, parents first, even where nothing shows.
  created.clear();
  auto* outer = Make<TLoggedWin>(panel, "Outer", {0, 30, 80, 60});
  outer->Hide();
  auto* inner = Make<TLoggedWin>(outer, "Inner", {0, 0, 10, 10});
  EXPECT_TRUE(created.empty());
  HWND innerWindow = inner->Handle();
  EXPECT_EQ(created, (std::vector<std::string>{"Outer", "Inner"}));
  EXPECT_EQ(GetParent(innerWindow), outer->WindowHandle());
  EXPECT_FALSE(IsWindowVisible(innerWindow));
  gCreated = nullptr;
}

TEST_F(ControlsTest, ChildWindowsKeepTheControlsZOrder) {
  auto* a = Make<TWinControl>(Host, "A", {0, 0, 50, 50});
  auto* b = Make<TWinControl>(Host, "B", {20, 20, 70, 70});
  auto* c = Make<TWinControl>(Host, "C", {40, 40, 90, 90});
  // Windows list topmost first; controls list bottom first.
  auto windows = [&] { return LiveWindow(Host->WindowHandle())->Children; };
  EXPECT_EQ(windows(), (std::vector<HWND>{c->WindowHandle(), b->WindowHandle(), a->WindowHandle()}));
  a->BringToFront();
  EXPECT_EQ(Host->Controls(2), a);
  EXPECT_EQ(windows(), (std::vector<HWND>{a->WindowHandle(), c->WindowHandle(), b->WindowHandle()}));
  c->SendToBack();
  EXPECT_EQ(Host->Controls(0), c);
  EXPECT_EQ(windows(), (std::vector<HWND>{a->WindowHandle(), b->WindowHandle(), c->WindowHandle()}));
  // A window made later takes its control's place, not the top.
  b->RecreateWnd();
  EXPECT_EQ(windows(), (std::vector<HWND>{a->WindowHandle(), b->WindowHandle(), c->WindowHandle()}));
}

TEST_F(ControlsTest, AChildWithoutAParentWindowCannotMakeOne) {
  TWinControl orphan(nullptr);
  orphan.SetName("Orphan");
  try {
    orphan.Handle();
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), "Control 'Orphan' has no parent window");
  }
  EXPECT_FALSE(orphan.HandleAllocated());
}

// A standard class of the window system that the control subclasses.
std::vector<UINT>* gStandardLog = nullptr;
LRESULT StandardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gStandardLog) gStandardLog->push_back(msg);
  if (msg == WM_USER + 7) return 42;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class TSubclassed : public TWinControl {
  QV_CLASS(TSubclassed, TWinControl)
  explicit TSubclassed(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "TestStandard");
  }
};

TEST_F(ControlsTest, UnhandledMessagesGoOnToTheClassProcedure) {
  WNDCLASS wc;
  wc.lpfnWndProc = &StandardProc;
  wc.lpszClassName = "TestStandard";
  ASSERT_NE(RegisterClass(&wc), 0);
  std::vector<UINT> log;
  gStandardLog = &log;
  auto* first = Make<TSubclassed>(Host, "First", {0, 0, 40, 40});
  auto* second = Make<TSubclassed>(Host, "Second", {50, 0, 90, 40});
  // The control's class is registered once, with the binding procedure.
  WNDCLASS registered;
  ASSERT_TRUE(GetClassInfo(nullptr, "TSubclassed", &registered));
  EXPECT_EQ(registered.lpfnWndProc, &TWinControl::StdWndProc);
  EXPECT_EQ(TWinControl::FindControl(first->WindowHandle()), first);
  EXPECT_EQ(TWinControl::FindControl(second->WindowHandle()), second);
  EXPECT_EQ(SendMessage(first->WindowHandle(), WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(second->Perform(WM_USER + 7, 0, 0), 42);
  // What the control handles itself stops there; the rest reaches the class.
  log.clear();
  EXPECT_EQ(first->Perform(CM_HITTEST, 0, 0), HTCLIENT);
  first->Perform(CM_TEXTCHANGED, 0, 0);
  EXPECT_EQ(log, std::vector<UINT>{CM_TEXTCHANGED});
  gStandardLog = nullptr;

  // A plain control's text goes to the window through the default procedure.
  auto* plain = Make<TWinControl>(Host, "Plain", {0, 50, 40, 90});
  plain->SetText("from control");
  String text;
  GetWindowText(plain->WindowHandle(), &text);
  EXPECT_EQ(text, "from control");
  SetWindowText(plain->WindowHandle(), "from window");
  EXPECT_EQ(plain->Text(), "from window");
}

TEST_F(ControlsTest, GraphicChildrenPaintAtTheirPlaceBottomFirstAndClipped) {
  auto* red = Make<TSwatch>(Host, "Red", {20, 30, 70, 70});
  auto* blue = Make<TSwatch>(Host, "Blue", {60, 50, 110, 90});
  blue->Fill = clBlue;
  Run();
  EXPECT_EQ(At(20, 30), COLORREF(clRed));
  EXPECT_EQ(At(65, 60), COLORREF(clBlue));  // the later one lies on top
  EXPECT_EQ(At(109, 89), COLORREF(clBlue));
  // Painting outside its rectangle shows nothing.
  EXPECT_EQ(At(19, 30), COLORREF(clWhite));
  EXPECT_EQ(At(20, 29), COLORREF(clWhite));
  EXPECT_EQ(At(110, 89), COLORREF(clWhite));
  EXPECT_EQ(At(109, 90), COLORREF(clWhite));

  red->BringToFront();
  Run();
  EXPECT_EQ(At(65, 60), COLORREF(clRed));
  blue->Hide();
  Run();
  EXPECT_EQ(At(100, 80), COLORREF(clWhite));
  red->SetBounds(200, 150, 10, 10);
  Run();
  EXPECT_EQ(At(20, 30), COLORREF(clWhite));
  EXPECT_EQ(At(205, 155), COLORREF(clRed));
}

// Paints its left half; the right half shows the erased background.
class THalf : public TCustomControl {
  QV_CLASS(THalf, TCustomControl)
  explicit THalf(TComponent* AOwner) : TCustomControl(AOwner) {}
  HWND PaintedOn = nullptr;

 protected:
  void Paint() override {
    PaintedOn = WindowFromDC(Canvas()->Handle());
    Canvas()->Brush()->SetColor(clNavy);
    Canvas()->FillRect({0, 0, Width() / 2, Height()});
  }
};

TEST_F(ControlsTest, CustomControlsPaintOnTheirCanvasDirectOrBuffered) {
  for (bool buffered : {false, true}) {
    SCOPED_TRACE(buffered ? "double-buffered" : "direct");
    auto* c = Make<THalf>(Host, "Half", {10, 10, 50, 30});
    c->SetColor(clYellow);
    c->SetDoubleBuffered(buffered);
    Run();
    EXPECT_EQ(At(10, 10), COLORREF(clNavy));
    EXPECT_EQ(At(29, 29), COLORREF(clNavy));
    EXPECT_EQ(At(30, 10), COLORREF(clYellow));
    EXPECT_EQ(At(49, 29), COLORREF(clYellow));
    EXPECT_EQ(At(50, 30), COLORREF(clWhite));
    // A buffered control paints into a memory DC, which belongs to no window.
    EXPECT_EQ(c->PaintedOn, buffered ? nullptr : c->WindowHandle());
    delete c;
    Run();
  }
}

TEST_F(ControlsTest, OpaqueGraphicControlsRepaintAtOnce) {
  auto* swatch = Make<TSwatch>(Host, "S", {10, 10, 30, 30});
  swatch->SetControlStyle(swatch->ControlStyle() + csOpaque);
  Run();
  EXPECT_EQ(At(15, 15), COLORREF(clRed));
  swatch->Fill = clGreen;
  swatch->Repaint();
  EXPECT_EQ(At(15, 15), COLORREF(clGreen));
  EXPECT_EQ(At(30, 30), COLORREF(clWhite));
}

TEST_F(ControlsTest, ControlCanvasesDrawOutsidePaintOnTheRightWindow) {
  auto* graphic = Make<TGraphicControl>(Host, "G", {100, 100, 140, 140});
  TCanvas* canvas = graphic->Canvas();
  canvas->Brush()->SetColor(clLime);
  canvas->FillRect({-20, -20, 100, 100});
  EXPECT_EQ(At(100, 100), COLORREF(clLime));
  EXPECT_EQ(At(139, 139), COLORREF(clLime));
  EXPECT_EQ(At(99, 99), COLORREF(clWhite));
  EXPECT_EQ(At(140, 140), COLORREF(clWhite));
  EXPECT_TRUE(canvas->HandleAllocated());
  // Every handled message ends by letting such DCs go.
  SendMessage(Host->WindowHandle(), WM_NULL, 0, 0);
  EXPECT_FALSE(canvas->HandleAllocated());

  auto* custom = Make<THalf>(Host, "C", {200, 100, 240, 140});
  custom->Canvas()->Brush()->SetColor(clFuchsia);
  custom->Canvas()->FillRect({0, 0, 10, 10});
  EXPECT_EQ(At(205, 105), COLORREF(clFuchsia));
  EXPECT_TRUE(custom->Canvas()->HandleAllocated());
  custom->DestroyHandle();  // the window goes: so does its DC
  EXPECT_FALSE(custom->Canvas()->HandleAllocated());
}

TEST_F(ControlsTest, TheWheelGoesToTheControlUnderTheMouseThenUp) {
  auto* child = Make<TGraphicControl>(Host, "G", {20, 20, 60, 60});
  std::string log;
  int downs = 0;
  child->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT at, bool&) {
    log += "child(" + std::to_string(delta) + "@" + std::to_string(at.X) + ") ";
  };
  child->OnMouseWheelDown = [&](TObject*, TShiftState, POINT, bool&) { ++downs; };
  Host->OnMouseWheel = [&](TObject*, TShiftState, int delta, POINT, bool& handled) {
    log += "host(" + std::to_string(delta) + ") ";
    handled = true;
  };
  const LRESULT answer = SendMessage(Host->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -240), MAKELPARAM(30, 30));
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(log, "child(-240@30) host(-240) ");
  EXPECT_EQ(downs, 2);  // whole notches
  log.clear();
  SendMessage(Host->WindowHandle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(200, 200));
  EXPECT_EQ(log, "host(120) ");
}

TEST_F(ControlsTest, ContextMenusAskTheControlThenShowItsPopupMenu) {
  auto* control = Make<TWinControl>(Host, "W", {50, 50, 150, 150});
  std::vector<std::string> log;
  bool handle = true;
  control->OnContextPopup = [&](TObject*, POINT at, bool& handled) {
    log.push_back("popup " + std::to_string(at.X) + "," + std::to_string(at.Y));
    handled = handle;
  };
  int dummy = 0;
  auto* menu = reinterpret_cast<TPopupMenu*>(&dummy);  // only ever compared
  control->SetPopupMenu(menu);
  PopupMenuHook = [&](TControl* c, TPopupMenu* m, const TPoint& at) {
    log.push_back(c->Name() + (m == menu ? " menu " : " other ") + std::to_string(at.X) + "," +
                  std::to_string(at.Y));
    return true;
  };
  auto contextMenu = [&](int x, int y) {
    return SendMessage(control->WindowHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control->WindowHandle()),
                       MAKELPARAM(x, y));
  };
  EXPECT_EQ(contextMenu(60, 70), 1);
  handle = false;
  EXPECT_EQ(contextMenu(60, 70), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"popup 10,20", "popup 10,20", "W menu 60,70"}));
  ClearPopupMenuReferences(menu);
  EXPECT_EQ(control->PopupMenu(), nullptr);
  PopupMenuHook = nullptr;
}

TEST_F(ControlsTest, PaintToDrawsTheControlWithBothKindsOfChildren) {
  auto* panel = Make<TWinControl>(Host, "Panel", {10, 10, 110, 70});
  panel->SetControlStyle(panel->ControlStyle() + csAcceptsControls);
  panel->SetColor(clYellow);
  auto* swatch = Make<TSwatch>(panel, "Swatch", {5, 5, 25, 25});
  auto* window = Make<TWinControl>(panel, "Window", {50, 10, 80, 40});
  window->SetColor(clBlue);
  TestCanvas canvas(130, 90, 0xFF000000u);
  panel->PaintTo(canvas.DC(), 10, 10);
  EXPECT_EQ(canvas.Color(10, 10), COLORREF(clYellow));
  EXPECT_EQ(canvas.Color(15, 15), COLORREF(clRed));
  EXPECT_EQ(canvas.Color(34, 34), COLORREF(clRed));
  EXPECT_EQ(canvas.Color(35, 35), COLORREF(clYellow));
  EXPECT_EQ(canvas.Color(60, 20), COLORREF(clBlue));
  EXPECT_EQ(canvas.Color(89, 49), COLORREF(clBlue));
  EXPECT_EQ(canvas.Color(90, 50), COLORREF(clYellow));
  EXPECT_EQ(canvas.Color(9, 9), COLORREF(clBlack));
  EXPECT_EQ(canvas.Color(110, 80), COLORREF(clBlack));
  EXPECT_FALSE(panel->ControlState().Contains(csPaintCopy));
  EXPECT_FALSE(swatch->ControlState().Contains(csPaintCopy));
  SaveIfFailed(canvas, "paintto");
}

// A grab paints every window of a tree itself; a copy made outside PaintTo must not paint
// the child windows again (each would be painted once per level above it).
TEST_F(ControlsTest, ACopyOutsidePaintToPaintsTheControlWithoutItsChildWindows) {
  auto* panel = Make<TWinControl>(Host, "Panel", {10, 10, 110, 70});
  panel->SetControlStyle(panel->ControlStyle() + csAcceptsControls);
  panel->SetColor(clYellow);
  Make<TSwatch>(panel, "Swatch", {5, 5, 25, 25});
  auto* window = Make<TWinControl>(panel, "Window", {50, 10, 80, 40});
  window->SetColor(clBlue);
  TestCanvas canvas(100, 60, 0xFF000000u);
  panel->SetControlState(panel->ControlState() + csPaintCopy);
  panel->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.DC()), 0);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas.DC()), 0);
  panel->SetControlState(panel->ControlState() - csPaintCopy);
  EXPECT_EQ(canvas.Color(10, 10), COLORREF(clRed));     // graphic children belong to the copy
  EXPECT_EQ(canvas.Color(60, 20), COLORREF(clYellow));  // the child window does not
  SaveIfFailed(canvas, "copy-without-child-windows");
}

TEST_F(ControlsTest, AClickNeedsPressAndReleaseOnTheControl) {
  struct Case {
    bool Windowed;
    POINT Release;
    int Clicks;
  };
  const Case cases[] = {
      {false, {70, 70}, 1},
      {false, {200, 200}, 0},
      {true, {70, 70}, 1},
      {true, {200, 200}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Windowed ? "windowed" : "graphic") + " release at " + std::to_string(c.Release.X));
    TControl* control = c.Windowed ? static_cast<TControl*>(Make<TWinControl>(Host, "W", {50, 50, 110, 90}))
                                   : Make<TGraphicControl>(Host, "G", {50, 50, 110, 90});
    int clicks = 0;
    control->OnClick = [&](TObject*) { ++clicks; };
    Mouse(InputKind::MouseDown, 60, 60);
    Mouse(InputKind::MouseMove, c.Release.X, c.Release.Y);
    Mouse(InputKind::MouseUp, c.Release.X, c.Release.Y);
    Run();
    EXPECT_EQ(clicks, c.Clicks);
    EXPECT_EQ(GetCapture(), nullptr);
    delete control;
    Pause();
  }
}

TEST_F(ControlsTest, TheParentPassesMouseMessagesToItsGraphicChild) {
  auto* child = Make<TGraphicControl>(Host, "Child", {20, 30, 70, 70});
  std::vector<std::string> log;
  auto record = [&](const char* what, int x, int y) {
    log.push_back(std::string(what) + "(" + std::to_string(x) + "," + std::to_string(y) + ")");
  };
  child->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { record("down", x, y); };
  child->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { record("move", x, y); };
  child->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) { record("up", x, y); };
  Host->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { record("host-move", x, y); };

  Mouse(InputKind::MouseDown, 25, 35);
  Run();
  EXPECT_EQ(GetCaptureControl(), child);
  EXPECT_EQ(GetCapture(), Host->WindowHandle());
  // Captured, the child hears the mouse anywhere, in its own coordinates.
  Mouse(InputKind::MouseMove, 300, 200);
  Mouse(InputKind::MouseUp, 300, 200);
  Run();
  EXPECT_EQ(GetCaptureControl(), nullptr);
  Mouse(InputKind::MouseMove, 310, 210);
  Run();
  EXPECT_EQ(log, (std::vector<std::string>{"down(5,5)", "move(280,170)", "up(280,170)", "host-move(310,210)"}));

  // Without csCaptureMouse the press takes no capture.
  log.clear();
  Pause();
  child->SetControlStyle(child->ControlStyle() - csCaptureMouse);
  Mouse(InputKind::MouseDown, 25, 35);
  Mouse(InputKind::MouseMove, 300, 200);
  Run();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"down(5,5)", "host-move(300,200)"}));
}

TEST_F(ControlsTest, DoubleClicksArePressesWithoutCsDoubleClicks) {
  auto* child = Make<TGraphicControl>(Host, "Child", {20, 30, 70, 70});
  int clicks = 0, doubles = 0, doubleDowns = 0;
  child->OnClick = [&](TObject*) { ++clicks; };
  child->OnDblClick = [&](TObject*) { ++doubles; };
  child->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { doubleDowns += s.Contains(ssDouble); };
  auto twice = [&] {
    for (int i = 0; i < 2; ++i) {
      Mouse(InputKind::MouseDown, 25, 35);
      Mouse(InputKind::MouseUp, 25, 35);
    }
    Run();
    Pause();
  };
  twice();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(doubleDowns, 1);
  child->SetControlStyle(child->ControlStyle() - csDoubleClicks);
  twice();
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(doubleDowns, 1);
}

TEST_F(ControlsTest, EnterAndLeaveMoveBetweenSiblingsAndTheirParent) {
  auto* panel = Make<TWinControl>(Host, "P", {100, 100, 300, 200});
  auto* a = Make<TGraphicControl>(panel, "A", {10, 10, 60, 60});
  auto* b = Make<TGraphicControl>(panel, "B", {100, 10, 150, 60});
  std::string log;
  auto nameOf = [&](LPARAM l) { return reinterpret_cast<TControl*>(l)->Name(); };
  auto old = panel->WindowProc;
  panel->WindowProc = [&, old](TMessage& m) {
    if (m.Msg == CM_MOUSEENTER) log += "enter(" + nameOf(m.LParam) + ") ";
    if (m.Msg == CM_MOUSELEAVE) log += "leave(" + nameOf(m.LParam) + ") ";
    old(m);
  };
  for (TControl* c : {static_cast<TControl*>(panel), static_cast<TControl*>(a), static_cast<TControl*>(b)}) {
    c->OnMouseEnter = [&log, c](TObject*) { log += c->Name() + "+ "; };
    c->OnMouseLeave = [&log, c](TObject*) { log += c->Name() + "- "; };
  }
  struct Step {
    POINT At;
    const char* Log;
  };
  const Step steps[] = {
      {{150, 180}, "enter(P) P+ "},
      {{115, 115}, "leave(P) P- enter(A) A+ "},
      {{115, 120}, ""},
      {{215, 115}, "leave(A) A- enter(B) B+ "},
      {{50, 50}, "leave(B) B- "},
  };
  for (const Step& s : steps) {
    log.clear();
    UpdateMouseControl(s.At);
    EXPECT_EQ(log, s.Log) << "at " << s.At.X << "," << s.At.Y;
  }
  EXPECT_EQ(MouseControl(), Host);
  EXPECT_FALSE(b->MouseInClient());
  UpdateMouseControl({120, 120});
  EXPECT_TRUE(a->MouseInClient());
  EXPECT_FALSE(panel->MouseInClient());
  delete a;  // the control under the mouse may go away
  EXPECT_EQ(MouseControl(), nullptr);
  panel->WindowProc = old;
}

TEST_F(ControlsTest, SubclassedWindowProcSeesMessagesFirst) {
  auto* control = Make<TWinControl>(Host, "W", {10, 10, 60, 60});
  std::vector<UINT> seen;
  int downs = 0, moves = 0;
  control->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  control->OnMouseMove = [&](TObject*, TShiftState, int, int) {
    ++moves;
    seen.push_back(0);  // marks where the control's own handling ran
  };
  auto old = control->WindowProc;
  control->WindowProc = [&, old](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg != WM_LBUTTONDOWN) old(m);
  };
  SendMessage(control->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessage(control->WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(6, 6));
  control->Perform(CM_TEXTCHANGED, 0, 0);
  EXPECT_EQ(downs, 0);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, 0, CM_TEXTCHANGED}));
  control->WindowProc = old;
  SendMessage(control->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(downs, 1);
  SendMessage(control->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

TEST_F(ControlsTest, TextChangesAreAnnouncedOnce) {
  for (bool windowed : {false, true}) {
    SCOPED_TRACE(windowed ? "windowed" : "graphic");
    TControl* control = windowed ? static_cast<TControl*>(Make<TWinControl>(Host, "W", {0, 0, 10, 10}))
                                 : Make<TGraphicControl>(Host, "G", {0, 0, 10, 10});
    int changes = 0;
    auto old = control->WindowProc;
    control->WindowProc = [&, old](TMessage& m) {
      changes += m.Msg == CM_TEXTCHANGED;
      old(m);
    };
    control->SetText("abc");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(control->Text(), "abc");
    EXPECT_EQ(control->GetTextLen(), 3);
    control->SetCaption("abc");
    EXPECT_EQ(changes, 1);
    control->SetText("");
    EXPECT_EQ(changes, 2);
    // WM_GETTEXT answers at most the characters asked for.
    control->SetText("h\xC3\xA9llo");
    String part;
    EXPECT_EQ(control->Perform(WM_GETTEXT, 2, reinterpret_cast<LPARAM>(&part)), 2);
    EXPECT_EQ(part, "h\xC3\xA9");
    control->WindowProc = old;
    delete control;
  }
}

TEST_F(ControlsTest, FontAndColourFollowTheParentUntilSetOwn) {
  auto* panel = Make<TWinControl>(Host, "P", {0, 0, 100, 100});
  auto* graphic = Make<TGraphicControl>(panel, "G", {0, 0, 10, 10});
  auto* windowed = Make<TWinControl>(panel, "W", {20, 0, 30, 10});
  int fontChanges = 0;
  auto old = windowed->WindowProc;
  windowed->WindowProc = [&, old](TMessage& m) {
    fontChanges += m.Msg == CM_FONTCHANGED;
    old(m);
  };
  panel->Font()->SetHeight(-20);
  EXPECT_EQ(graphic->Font()->Height(), -20);
  EXPECT_EQ(windowed->Font()->Height(), -20);
  EXPECT_EQ(fontChanges, 1);
  EXPECT_TRUE(windowed->ParentFont());
  EXPECT_FALSE(panel->ParentFont());

  graphic->Font()->SetHeight(-9);
  EXPECT_FALSE(graphic->ParentFont());
  panel->Font()->SetName("Arial");
  EXPECT_EQ(graphic->Font()->Name(), "Tahoma");
  EXPECT_EQ(windowed->Font()->Name(), "Arial");
  graphic->SetParentFont(true);
  EXPECT_EQ(graphic->Font()->Name(), "Arial");
  EXPECT_EQ(graphic->Font()->Height(), -20);

  panel->SetColor(clRed);
  EXPECT_EQ(graphic->Color(), clRed);
  EXPECT_EQ(windowed->Color(), clRed);
  EXPECT_EQ(windowed->Brush()->Color(), clRed);
  windowed->SetColor(clBlue);
  EXPECT_FALSE(windowed->ParentColor());
  panel->SetColor(clGreen);
  EXPECT_EQ(graphic->Color(), clGreen);
  EXPECT_EQ(windowed->Color(), clBlue);

  // A control placed in a parent takes its font and colour at once, and the parent hears
  // of every arrival and departure.
  std::vector<std::string> changes;
  auto oldPanel = panel->WindowProc;
  panel->WindowProc = [&, oldPanel](TMessage& m) {
    if (m.Msg == CM_CONTROLLISTCHANGE || m.Msg == CM_CONTROLCHANGE)
      changes.push_back(std::string(m.Msg == CM_CONTROLCHANGE ? "change " : "list ") +
                        reinterpret_cast<TControl*>(m.WParam)->Name() + (m.LParam ? "+" : "-"));
    oldPanel(m);
  };
  auto* late = new TGraphicControl(nullptr);
  late->SetName("L");
  late->SetParent(panel);
  EXPECT_EQ(late->Font()->Name(), "Arial");
  EXPECT_EQ(late->Color(), clGreen);
  late->SetParent(nullptr);
  EXPECT_EQ(changes, (std::vector<std::string>{"change L+", "list L+", "change L-", "list L-"}));
  delete late;
  panel->WindowProc = oldPanel;
  windowed->WindowProc = old;
}

TEST_F(ControlsTest, ChangeScaleMultipliesBoundsFontsAndFactor) {
  auto* panel = Make<TWinControl>(Host, "P", {10, 20, 110, 70});
  panel->Font()->SetHeight(-13);
  auto* inherits = Make<TGraphicControl>(panel, "C", {5, 5, 35, 25});
  inherits->Margins()->SetBounds(3, 3, 3, 3);
  auto* own = Make<TGraphicControl>(panel, "D", {40, 5, 80, 25});
  own->Font()->SetHeight(-8);
  own->Constraints()->SetMaxWidth(40);

  panel->ChangeScale(3, 2);
  EXPECT_EQ(panel->BoundsRect(), (TRect{15, 30, 165, 105}));
  EXPECT_EQ(panel->Font()->Height(), -20);  // -19.5 rounds away from zero
  EXPECT_EQ(inherits->BoundsRect(), (TRect{8, 8, 53, 38}));
  EXPECT_EQ(inherits->Font()->Height(), -20);
  EXPECT_TRUE(inherits->ParentFont());
  EXPECT_EQ(inherits->Margins()->Left(), 5);
  EXPECT_EQ(own->Font()->Height(), -12);
  EXPECT_EQ(own->Constraints()->MaxWidth(), 60);
  EXPECT_EQ(own->BoundsRect(), (TRect{60, 8, 120, 38}));
  EXPECT_DOUBLE_EQ(panel->ScaleFactor(), 1.5);
  EXPECT_DOUBLE_EQ(own->ScaleFactor(), 1.5);

  // ScaleBy keeps the control's own corner and scales the rest.
  panel->ScaleBy(2, 3);
  EXPECT_EQ(panel->BoundsRect(), (TRect{15, 30, 115, 80}));
  EXPECT_EQ(inherits->BoundsRect(), (TRect{5, 5, 35, 25}));
  EXPECT_DOUBLE_EQ(panel->ScaleFactor(), 1.0);
  // Nonsense factors change nothing.
  panel->ChangeScale(0, 5);
  panel->ChangeScale(5, 0);
  EXPECT_EQ(panel->BoundsRect(), (TRect{15, 30, 115, 80}));
}

TEST_F(ControlsTest, RecreateWndKeepsTextBoundsAndChildren) {
  auto* panel = Make<TWinControl>(Host, "P", {10, 20, 110, 70});
  panel->SetText("hello");
  auto* child = Make<TWinControl>(panel, "C", {5, 6, 25, 26});
  child->SetText("child");
  HWND oldPanel = panel->WindowHandle(), oldChild = child->WindowHandle();
  panel->RecreateWnd();
  HWND newPanel = panel->WindowHandle(), newChild = child->WindowHandle();
  ASSERT_NE(newPanel, nullptr);
  ASSERT_NE(newChild, nullptr);
  EXPECT_NE(newPanel, oldPanel);
  EXPECT_NE(newChild, oldChild);
  EXPECT_FALSE(IsWindow(oldPanel));
  EXPECT_FALSE(IsWindow(oldChild));
  String text;
  GetWindowText(newPanel, &text);
  EXPECT_EQ(text, "hello");
  EXPECT_EQ(child->Text(), "child");
  EXPECT_EQ(GetParent(newChild), newPanel);
  RECT r;
  GetWindowRect(newChild, &r);
  EXPECT_EQ(r, (RECT{15, 26, 35, 46}));
  EXPECT_EQ(panel->BoundsRect(), (TRect{10, 20, 110, 70}));
  EXPECT_EQ(TWinControl::FindControl(newPanel), panel);
  EXPECT_EQ(TWinControl::FindControl(oldPanel), nullptr);

  // Without a window the control keeps its text until one is made.
  panel->DestroyHandle();
  EXPECT_FALSE(child->HandleAllocated());
  EXPECT_EQ(panel->Text(), "hello");
  EXPECT_EQ(child->Text(), "child");
}

TEST_F(ControlsTest, ChildNotificationsComeBackToTheChild) {
  struct Received {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
  };
  struct TReflector : TWinControl {
    explicit TReflector(TComponent* AOwner) : TWinControl(AOwner) {}
    std::vector<Received> Log;
    void Dispatch(TMessage& m) override {
      if (m.Msg >= CN_BASE && m.Msg < CN_BASE + 0x400) {
        Log.push_back({m.Msg, m.WParam, m.LParam});
        if (m.Msg != CN_CTLCOLORBTN) {
          m.Result = 77;
          return;
        }
      }
      TWinControl::Dispatch(m);
    }
  };
  // A notification header as the window system lays it out: the sender first.
  struct NotifyHeader {
    HWND From;
    uintptr_t Id;
    UINT Code;
  };
  auto* parent = Make<TWinControl>(Host, "P", {0, 0, 100, 100});
  auto* child = new TReflector(nullptr);
  child->SetParent(parent);
  HWND p = parent->WindowHandle(), c = child->WindowHandle();
  const WPARAM id = WPARAM(GetWindowLongPtr(c, GWLP_ID));
  ASSERT_NE(id, 0u);
  NotifyHeader header{c, id, 5};
  HDC dc = GetDC(p);
  struct Case {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
  };
  const Case cases[] = {
      {WM_COMMAND, 3, reinterpret_cast<LPARAM>(c)},
      {WM_HSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(c)},
      {WM_VSCROLL, SB_PAGEUP, reinterpret_cast<LPARAM>(c)},
      {WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header)},
      {WM_DRAWITEM, id, 1234},
      {WM_MEASUREITEM, id, 5678},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Msg);
    child->Log.clear();
    EXPECT_EQ(SendMessage(p, k.Msg, k.WParam, k.LParam), 77);
    ASSERT_EQ(child->Log.size(), 1u);
    EXPECT_EQ(child->Log[0].Msg, CN_BASE + k.Msg);
    EXPECT_EQ(child->Log[0].WParam, k.WParam);
    EXPECT_EQ(child->Log[0].LParam, k.LParam);
  }
  // Colour requests are answered by the child with its brush.
  child->SetColor(clAqua);
  child->Log.clear();
  const LRESULT brush = SendMessage(p, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(c));
  EXPECT_EQ(brush, reinterpret_cast<LRESULT>(child->Brush()->Handle()));
  EXPECT_EQ(child->Log.size(), 1u);
  // A command from a window that is no control's stays with the parent.
  child->Log.clear();
  SendMessage(p, WM_COMMAND, 1, reinterpret_cast<LPARAM>(Top));
  EXPECT_TRUE(child->Log.empty());
  ReleaseDC(p, dc);
}

TEST_F(ControlsTest, HandlerExceptionsGoToTheHookWhenThereIsOne) {
  auto* control = Make<TWinControl>(Host, "W", {0, 0, 10, 10});
  control->OnClick = [](TObject*) { throw EAbort("stop here"); };
  auto click = [&] {
    SendMessage(control->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessage(control->WindowHandle(), WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  };
  EXPECT_THROW(click(), EAbort);
  std::vector<std::string> reported;
  ExceptionHandlerHook = [&](const std::exception& e) { reported.push_back(e.what()); };
  EXPECT_NO_THROW(click());
  ExceptionHandlerHook = nullptr;
  EXPECT_EQ(reported, std::vector<std::string>{"stop here"});
}

TEST_F(ControlsTest, BadInputIsRefusedWithoutHarm) {
  auto* control = Make<TGraphicControl>(Host, "G", {0, 0, 10, 10});
  control->SetBounds(5, 5, -20, -1);
  EXPECT_EQ(control->BoundsRect(), (TRect{5, 5, 5, 5}));
  control->SetBounds(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);
  EXPECT_LE(control->Left(), 1 << 28);
  EXPECT_GE(control->Top(), -(1 << 28));
  EXPECT_LE(control->BoundsRect().Right, 1 << 29);
  EXPECT_THROW(Host->SetParent(Host), EInvalidOperation);
  auto* panel = Make<TWinControl>(Host, "P", {0, 0, 10, 10});
  EXPECT_THROW(Host->SetParent(panel), EInvalidOperation);
  EXPECT_THROW(Host->Controls(99), EListError);
  EXPECT_EQ(TWinControl::FindControl(nullptr), nullptr);
  TGraphicControl loose(nullptr);
  EXPECT_THROW(loose.ClientOrigin(), EInvalidOperation);
  EXPECT_THROW(loose.Canvas()->Handle(), EInvalidOperation);
}

}  // namespace

namespace {

TEST(ControlHints, ShortAndLongParts) {
  struct Case {
    const char* Hint;
    const char* Short;
    const char* Long;
  };
  const Case cases[] = {
      {"Open", "Open", "Open"}, {"Open|Opens a file", "Open", "Opens a file"}, {"|Only long", "", "Only long"},
      {"Short|", "Short", ""},  {"A|B|3", "A", "B|3"},                         {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetShortHint(c.Hint), c.Short) << c.Hint;
    EXPECT_EQ(GetLongHint(c.Hint), c.Long) << c.Hint;
  }
}

TEST_F(ControlsTest, BiDiModeFlagsAndTheirInheritance) {
  struct Case {
    TBiDiMode Mode;
    UINT Left, Right, Center;  // DrawTextBiDiModeFlags of DT_LEFT, DT_RIGHT, DT_CENTER
    TAlignment LeftShows;
  };
  const Case cases[] = {
      {bdLeftToRight, DT_LEFT, DT_RIGHT, DT_CENTER, taLeftJustify},
      {bdRightToLeft, DT_RIGHT | DT_RTLREADING, DT_LEFT | DT_RTLREADING, DT_CENTER | DT_RTLREADING, taRightJustify},
      {bdRightToLeftNoAlign, DT_RTLREADING, DT_RIGHT | DT_RTLREADING, DT_CENTER | DT_RTLREADING, taLeftJustify},
      {bdRightToLeftReadingOnly, DT_RTLREADING, DT_RIGHT | DT_RTLREADING, DT_CENTER | DT_RTLREADING, taLeftJustify},
  };
  auto* panel = Make<TWinControl>(Host, "Panel", Bounds(0, 0, 100, 100));
  auto* child = Make<TWinControl>(panel, "Child", Bounds(0, 0, 10, 10));
  int repaints = 0;
  auto previous = child->WindowProc;
  child->WindowProc = [&, previous](TMessage& m) {
    if (m.Msg == CM_BIDIMODECHANGED) ++repaints;
    previous(m);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.Mode));
    panel->SetBiDiMode(c.Mode);
    EXPECT_EQ(child->BiDiMode(), c.Mode);  // ParentBiDiMode
    EXPECT_EQ(child->DrawTextBiDiModeFlags(DT_LEFT), c.Left);
    EXPECT_EQ(child->DrawTextBiDiModeFlags(DT_RIGHT), c.Right);
    EXPECT_EQ(child->DrawTextBiDiModeFlags(DT_CENTER), c.Center);
    EXPECT_EQ(child->BiDiAlignment(taLeftJustify), c.LeftShows);
    EXPECT_EQ(child->BiDiAlignment(taCenter), taCenter);
  }
  EXPECT_EQ(repaints, 3);
  // A mode of its own stops the inheritance; ParentBiDiMode takes the parent's again.
  child->SetBiDiMode(bdLeftToRight);
  EXPECT_FALSE(child->ParentBiDiMode());
  panel->SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(child->BiDiMode(), bdLeftToRight);
  child->SetParentBiDiMode(true);
  EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
  // A control put on a right-to-left parent reads right to left.
  auto* late = Make<TWinControl>(panel, "Late", Bounds(20, 0, 10, 10));
  EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
}

}  // namespace
