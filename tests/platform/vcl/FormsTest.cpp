// Forms, the application's message loop, the screen, timers and resources, on the
// headless backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "backend/Headless.h"
#include "support/AppHooks.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Icon.h"
#include "vcl/Forms.h"
#include "vcl/Resources.h"
#include "win/Input.h"
#include "win/Queue.h"
#include "win/Timers.h"

namespace {

// Each test gets an application of its own (the forms it owns go with it) and a fresh
// window system, screen and clock.
class FormsFixture : public ::testing::Test {
 protected:
  void SetUp() override { FApplication.emplace(); }
  void TearDown() override { FApplication.reset(); }

  // A form owned by the application, made in both steps.
  template <class T = TForm>
  static T* MakeForm(TFormBorderStyle border = bsSizeable) {
    T* form = NewForm<T>(Application);
    form->SetBorderStyle(border);
    return form;
  }

  static RECT WindowRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  static RECT ClientArea(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
  }
  static DWORD Style(TWinControl* c) { return DWORD(GetWindowLong(c->Handle(), GWL_STYLE)); }
  static DWORD ExStyle(TWinControl* c) { return DWORD(GetWindowLong(c->Handle(), GWL_EXSTYLE)); }

  // Logs "name.MSG" for the messages of the given kinds that reach a control.
  void Record(TControl* control, const std::string& name, std::set<UINT> kinds) {
    auto previous = control->WindowProc;
    control->WindowProc = [this, previous, name, kinds](TMessage& m) {
      if (kinds.count(m.Msg)) FLog.push_back(name + "." + MessageName(m.Msg));
      previous(m);
    };
  }
  static std::string MessageName(UINT msg) {
    switch (msg) {
      case CM_ENTER: return "ENTER";
      case CM_EXIT: return "EXIT";
      case CM_ACTIVATE: return "ACTIVATE";
      case CM_DEACTIVATE: return "DEACTIVATE";
      case CM_FOCUSCHANGED: return "FOCUSCHANGED";
      default: return std::to_string(msg);
    }
  }
  std::string Log() const {
    std::string s;
    for (const std::string& e : FLog) s += (s.empty() ? "" : " ") + e;
    return s;
  }

  std::vector<std::string> FLog;

 private:
  std::optional<ScopedApplication> FApplication;
};

// ---- borders, icons and the client size ----

class FormBorder : public FormsFixture {};

TEST_F(FormBorder, ClientSizeIsExactBeforeAndAfterTheWindowExists) {
  const TFormBorderStyle borders[] = {bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin, bsNone};
  for (TFormBorderStyle border : borders) {
    SCOPED_TRACE(testing::Message() << "border " << int(border));
    TForm* form = MakeForm(border);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->ClientHeight(), 200);
    // The window system's own frame (WM_NCCALCSIZE) leaves exactly that.
    RECT c = ClientArea(form->Handle());
    EXPECT_EQ(c.Width(), 300);
    EXPECT_EQ(c.Height(), 200);
    EXPECT_EQ(WindowRect(form->Handle()).Width(), form->Width());
    // And again once the window exists.
    form->SetClientSize(411, 133);
    c = ClientArea(form->Handle());
    EXPECT_EQ(c.Width(), 411);
    EXPECT_EQ(c.Height(), 133);
    EXPECT_EQ(form->ClientWidth(), 411);
    EXPECT_EQ(form->ClientHeight(), 133);
    form->Free();
  }
}

TEST_F(FormBorder, OuterSizeIsTheClientInTheFrameOfTheBorder) {
  const int fixed = GetSystemMetrics(SM_CXFIXEDFRAME), caption = GetSystemMetrics(SM_CYCAPTION);
  const int sizing = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  struct Case {
    TFormBorderStyle border;
    int frame;
    int caption;
  };
  const Case cases[] = {
      {bsSingle, fixed, caption},
      {bsDialog, fixed, caption},
      {bsSizeable, sizing, caption},
      {bsNone, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "border " << int(c.border));
    TForm* form = MakeForm(c.border);
    form->SetClientSize(200, 100);
    form->HandleNeeded();
    const RECT w = WindowRect(form->Handle());
    EXPECT_EQ(w.Width(), 200 + 2 * c.frame);
    EXPECT_EQ(w.Height(), 100 + 2 * c.frame + c.caption);
    form->Free();
  }
}

TEST_F(FormBorder, StylesFollowTheBorderAndIcons) {
  const TBorderIcons all{biSystemMenu, biMinimize, biMaximize};
  struct Case {
    TFormBorderStyle border;
    TBorderIcons icons;
    DWORD present, absent;
    DWORD exPresent, exAbsent;
  };
  const Case cases[] = {
      {bsSingle, {biSystemMenu, biMinimize}, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME,
       0, WS_EX_TOOLWINDOW},
      // A fixed border keeps its maximise box; it only cannot be sized by the frame.
      {bsSingle, all, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_THICKFRAME, 0, 0},
      {bsSizeable, all, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0, 0},
      {bsSizeable, {biSystemMenu}, WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0},
      {bsDialog, all, WS_CAPTION | WS_DLGFRAME | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
       WS_EX_DLGMODALFRAME, 0},
      {bsToolWindow, all, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, WS_EX_TOOLWINDOW,
       0},
      {bsSizeToolWin, all, WS_CAPTION | WS_THICKFRAME, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW, 0},
      {bsNone, all, WS_POPUP, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, 0, 0},
      {bsSizeable, {biSystemMenu, biHelp}, WS_SYSMENU, WS_MINIMIZEBOX, WS_EX_CONTEXTHELP, 0},
      {bsSizeable, {biSystemMenu, biMinimize, biHelp}, WS_MINIMIZEBOX, 0, 0, WS_EX_CONTEXTHELP},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(testing::Message() << "case " << i);
    TForm* form = MakeForm(c.border);
    form->SetBorderIcons(c.icons);
    EXPECT_EQ(Style(form) & c.present, c.present);
    EXPECT_EQ(Style(form) & c.absent, 0u);
    EXPECT_EQ(ExStyle(form) & c.exPresent, c.exPresent);
    EXPECT_EQ(ExStyle(form) & c.exAbsent, 0u);
    EXPECT_EQ(Style(form) & WS_CHILD, 0u);
    form->Free();
  }
}

TEST_F(FormBorder, ChangingTheBorderOfAWindowKeepsItsOuterSize) {
  TForm* form = MakeForm(bsSizeable);
  form->SetBounds(10, 10, 400, 300);
  form->Show();
  Application->ProcessMessages();
  form->SetBorderStyle(bsNone);
  EXPECT_EQ(Style(form) & (WS_CAPTION | WS_THICKFRAME), 0u);
  EXPECT_EQ(WindowRect(form->Handle()).Width(), 400);
  EXPECT_EQ(form->ClientWidth(), 400);
  EXPECT_EQ(form->ClientHeight(), 300);
  form->SetFormStyle(fsStayOnTop);
  EXPECT_NE(ExStyle(form) & WS_EX_TOPMOST, 0u);
}

// ---- system commands and window states ----

class FormState : public FormsFixture {};

TEST_F(FormState, SystemCommandsOnlyDoWhatTheBorderOffers) {
  TForm* single = MakeForm(bsSingle);
  single->SetBorderIcons({biSystemMenu, biMinimize});
  single->SetBounds(50, 60, 300, 200);
  single->Show();
  Application->ProcessMessages();
  const HWND h = single->Handle();
  const RECT before = WindowRect(h);

  SendMessage(h, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(h));
  EXPECT_EQ(single->WindowState(), wsNormal);
  EXPECT_EQ(WindowRect(h), before);

  SendMessage(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(h));
  EXPECT_EQ(single->WindowState(), wsMinimized);

  ShowWindow(h, SW_RESTORE);
  EXPECT_FALSE(IsIconic(h));
  EXPECT_EQ(single->WindowState(), wsNormal);
  EXPECT_EQ(WindowRect(h), before);

  // A form without a minimise box is not minimised either; a sizeable one is maximised.
  TForm* dialog = MakeForm(bsDialog);
  dialog->Show();
  SendMessage(dialog->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_FALSE(IsIconic(dialog->Handle()));
  TForm* sizeable = MakeForm(bsSizeable);
  sizeable->Show();
  SendMessage(sizeable->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(sizeable->Handle()));
  EXPECT_EQ(sizeable->WindowState(), wsMaximized);
  SendMessage(sizeable->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(sizeable->WindowState(), wsNormal);
}

TEST_F(FormState, WindowStateShowsTheWindowThatWay) {
  TForm* form = MakeForm(bsSizeable);
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_TRUE(IsZoomed(form->Handle()));
  const RECT work = Screen->WorkAreaRect();
  EXPECT_EQ(WindowRect(form->Handle()).Width(), work.Width());
  form->SetWindowState(wsMinimized);
  EXPECT_TRUE(IsIconic(form->Handle()));
  form->SetWindowState(wsNormal);
  EXPECT_FALSE(IsIconic(form->Handle()));
  EXPECT_FALSE(IsZoomed(form->Handle()));
}

// ---- position ----

class FormPosition : public FormsFixture {};

TEST_F(FormPosition, CentringKindsCentreOnTheWorkAreaOrTheirForm) {
  // A work area that does not start at the screen's corner shows which one is used.
  Headless()->SetScreen({0, 0, 1600, 1000}, {200, 40, 1600, 960});
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->SetBounds(300, 100, 600, 500);
  main->SetPosition(poDesigned);
  main->Show();
  struct Case {
    TPosition position;
    int x, y;
  };
  const Case cases[] = {
      {poScreenCenter, 200 + (1400 - 400) / 2, 40 + (920 - 300) / 2},
      {poDesktopCenter, 200 + (1400 - 400) / 2, 40 + (920 - 300) / 2},
      {poMainFormCenter, 300 + (600 - 400) / 2, 100 + (500 - 300) / 2},
      {poDesigned, 5, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << int(c.position));
    TForm* form = MakeForm(bsSizeable);
    form->SetBounds(5, 6, 400, 300);
    form->SetPosition(c.position);
    form->Show();
    const RECT r = WindowRect(form->Handle());
    EXPECT_EQ(r.Left, c.x);
    EXPECT_EQ(r.Top, c.y);
    EXPECT_EQ(form->Left(), c.x);
    form->Free();
  }
}

TEST_F(FormPosition, OwnerFormCentringAndTheWorkAreasCorner) {
  Headless()->SetScreen({0, 0, 800, 600}, {0, 30, 800, 600});
  TForm* owner = MakeForm(bsSizeable);
  owner->SetBounds(100, 100, 300, 200);
  owner->SetPosition(poDesigned);
  owner->Show();
  TForm* owned = NewForm<TForm>(owner);
  owned->SetBounds(0, 0, 100, 50);
  owned->SetPosition(poOwnerFormCenter);
  owned->Show();
  EXPECT_EQ(WindowRect(owned->Handle()).Left, 100 + (300 - 100) / 2);
  EXPECT_EQ(WindowRect(owned->Handle()).Top, 100 + (200 - 50) / 2);
  // Larger than the work area: its top-left corner stays in it.
  TForm* big = MakeForm(bsSizeable);
  big->SetBounds(0, 0, 1000, 700);
  big->SetPosition(poScreenCenter);
  big->Show();
  EXPECT_EQ(WindowRect(big->Handle()).TopLeft(), (POINT{0, 30}));
}

// ---- closing ----

class FormClose : public FormsFixture {};

TEST_F(FormClose, ClosingTheMainFormEndsRun) {
  // By WM_CLOSE and by the close command of the window's frame.
  for (bool bySystemCommand : {false, true}) {
    SCOPED_TRACE(bySystemCommand ? "SC_CLOSE" : "WM_CLOSE");
    TearDown();
    SetUp();
    TForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_EQ(Application->MainForm(), main);
    int closes = 0;
    main->OnClose = [&](TObject*, TCloseAction& action) {
      EXPECT_EQ(action, caHide);
      ++closes;
    };
    if (bySystemCommand)
      PostMessage(main->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    else
      PostMessage(main->Handle(), WM_CLOSE, 0, 0);
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(main->Visible());  // Run showed it; closing the main form only ends the loop
  }
}

TEST_F(FormClose, CloseQueryFalseKeepsTheFormOpen) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  int asked = 0, closed = 0;
  main->OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = false;
  };
  main->OnClose = [&](TObject*, TCloseAction&) { ++closed; };
  PostMessage(main->Handle(), WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  main->Close();
  Application->ProcessMessages();
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(main->Visible());
  EXPECT_FALSE(Application->Terminated());
  MSG msg;
  EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(FormClose, CloseActionsOfAnotherForm) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  for (TCloseAction action : {caNone, caHide, caMinimize, caFree}) {
    SCOPED_TRACE(testing::Message() << "action " << int(action));
    TForm* form = MakeForm(bsSizeable);
    form->Show();
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [&](TObject*, TCloseAction& a) { a = action; };
    const int forms = Screen->CustomFormCount();
    form->Close();
    EXPECT_FALSE(destroyed);  // a released form goes from the loop, not at once
    Application->ProcessMessages();
    EXPECT_EQ(destroyed, action == caFree);
    if (action == caFree) {
      EXPECT_EQ(Screen->CustomFormCount(), forms - 1);
      continue;
    }
    EXPECT_EQ(form->Visible(), action != caHide);
    EXPECT_EQ(form->WindowState() == wsMinimized, action == caMinimize);
    form->Free();
  }
  EXPECT_FALSE(Application->Terminated());
}

// Code that waits in a nested loop holds releases: a form closed with caFree meanwhile
// stays, through nested holds, until the last hold has gone and the list is drained.
TEST_F(FormClose, AReleaseHoldKeepsAFormClosedWithCaFree) {
  TForm* form = MakeForm(bsSizeable);
  form->Show();
  bool destroyed = false;
  form->OnDestroy = [&](TObject*) { destroyed = true; };
  form->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
  {
    TReleaseHold outer;
    {
      TReleaseHold inner;
      form->Close();
      Application->ProcessMessages();
      EXPECT_FALSE(destroyed);
      EXPECT_EQ(DeferredReleaseCount(), 1u);
    }
    ProcessDeferredReleases();
    EXPECT_FALSE(destroyed);
  }
  EXPECT_FALSE(destroyed) << "the hold frees nothing as it goes";
  ProcessDeferredReleases();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(DeferredReleaseCount(), 0u);
}

TEST_F(FormClose, ShowHideAndResizeEvents) {
  TForm* form = MakeForm(bsSizeable);
  std::vector<std::string> events;
  form->OnShow = [&](TObject*) {
    events.push_back("show");
    EXPECT_FALSE(IsWindowVisible(form->Handle()));  // before the window appears
    form->SetVisible(false);  // refused while it shows: raised here, reported by the form
  };
  form->OnHide = [&](TObject*) { events.push_back("hide"); };
  form->OnResize = [&](TObject*) { events.push_back("resize"); };
  std::vector<std::string> reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
  form->Show();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  events.clear();
  form->SetClientSize(500, 400);
  form->Hide();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(events, (std::vector<std::string>{"resize", "hide"}));
  EXPECT_EQ(reported, (std::vector<std::string>{"Cannot change Visible in OnShow or OnHide"}));
}

// ---- modal forms ----

class FormModal : public FormsFixture {};

TEST_F(FormModal, ShowModalRunsUntilModalResultIsSet) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  TForm* dialog = MakeForm(bsDialog);
  TTimer timer(nullptr);
  timer.SetInterval(100);
  bool mainDisabled = false;
  timer.OnTimer = [&](TObject*) {
    mainDisabled = !IsWindowEnabled(main->Handle());
    EXPECT_TRUE(dialog->Visible());
    dialog->SetModalResult(mrYes);
  };
  const uint64_t start = Headless()->Now();
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_GE(Headless()->Now() - start, 100u);
  EXPECT_TRUE(mainDisabled);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_FALSE(dialog->FormState().Contains(fsModal));
}

TEST_F(FormModal, ClosingAModalFormCancelsIt) {
  TForm* dialog = MakeForm(bsDialog);
  PostMessage(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  // A form that refuses to close stays in its loop until it lets go.
  int asks = 0;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++asks > 1; };
  PostMessage(dialog->Handle(), WM_CLOSE, 0, 0);
  PostMessage(dialog->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(asks, 2);
}

TEST_F(FormModal, AVisibleFormCannotBeMadeModal) {
  TForm* form = MakeForm(bsDialog);
  form->Show();
  EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

// ---- focus ----

class FormFocus : public FormsFixture {
 protected:
  // A container and a focusable control in it.
  static TWinControl* Panel(TWinControl* parent, int left) {
    auto* p = new TWinControl(GetParentForm(parent));
    p->SetParent(parent);
    p->SetBounds(left, 0, 100, 100);
    return p;
  }
  static TWinControl* Field(TWinControl* parent, int top) {
    auto* f = new TWinControl(GetParentForm(parent));
    f->SetParent(parent);
    f->SetBounds(5, top, 80, 20);
    f->SetTabStop(true);
    return f;
  }
};

TEST_F(FormFocus, EnterAndExitFollowTheControlChain) {
  TForm* form = MakeForm(bsSizeable);
  TWinControl* a = Panel(form, 0);
  TWinControl* b = Panel(form, 120);
  TWinControl* a1 = Field(a, 5);
  TWinControl* a2 = Field(a, 40);
  TWinControl* b1 = Field(b, 5);
  const std::set<UINT> kinds{CM_ENTER, CM_EXIT};
  Record(a, "A", kinds);
  Record(b, "B", kinds);
  Record(a1, "A1", kinds);
  Record(a2, "A2", kinds);
  Record(b1, "B1", kinds);
  form->Show();
  Application->ProcessMessages();
  // Shown without an active control, the form focuses the first in Tab order.
  EXPECT_EQ(form->ActiveControl(), a1);
  EXPECT_EQ(GetFocus(), a1->Handle());
  EXPECT_EQ(Log(), "A.ENTER A1.ENTER");
  FLog.clear();

  b1->SetFocus();
  EXPECT_EQ(Log(), "A1.EXIT A.EXIT B.ENTER B1.ENTER");
  EXPECT_EQ(form->ActiveControl(), b1);
  EXPECT_EQ(Screen->ActiveControl(), b1);
  EXPECT_EQ(Screen->ActiveCustomForm(), form);
  FLog.clear();

  form->SetActiveControl(a2);
  EXPECT_EQ(GetFocus(), a2->Handle());
  EXPECT_EQ(Log(), "B1.EXIT B.EXIT A.ENTER A2.ENTER");
}

TEST_F(FormFocus, ActivationRestoresTheActiveControlAndTellsTheForms) {
  TForm* first = MakeForm(bsSizeable);
  TWinControl* field = Field(first, 10);
  Field(first, 40);
  TForm* second = MakeForm(bsSizeable);
  int activated = 0, deactivated = 0;
  first->OnActivate = [&](TObject*) { ++activated; };
  first->OnDeactivate = [&](TObject*) { ++deactivated; };
  first->Show();
  first->SetActiveControl(field);
  EXPECT_EQ(GetFocus(), field->Handle());
  EXPECT_EQ(activated, 1);
  second->Show();
  EXPECT_EQ(GetActiveWindow(), second->Handle());
  EXPECT_EQ(deactivated, 1);
  EXPECT_EQ(Screen->FocusedForm(), second);
  SetActiveWindow(first->Handle());
  EXPECT_EQ(GetFocus(), field->Handle());
  EXPECT_EQ(activated, 2);
  EXPECT_TRUE(first->Active());
  EXPECT_FALSE(second->Active());
}

TEST_F(FormFocus, ActiveControlMustBeFocusableAndOnTheForm) {
  TForm* form = MakeForm(bsSizeable);
  TForm* other = MakeForm(bsSizeable);
  TWinControl* mine = Field(form, 10);
  TWinControl* theirs = Field(other, 10);
  form->Show();
  EXPECT_THROW(form->SetActiveControl(theirs), EInvalidOperation);
  mine->SetEnabled(false);
  EXPECT_THROW(form->SetActiveControl(mine), EInvalidOperation);
  mine->SetEnabled(true);
  form->SetActiveControl(mine);
  // A control that goes away is no longer the active one.
  mine->Free();
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

TEST_F(FormFocus, DialogKeysMoveTheFocusInTabOrder) {
  TForm* form = MakeForm(bsSizeable);
  TWinControl* f1 = Field(form, 10);
  TWinControl* f2 = Field(form, 40);
  TWinControl* f3 = Field(form, 70);
  form->Show();
  Application->ProcessMessages();
  ASSERT_EQ(GetFocus(), f1->Handle());
  auto shift = [&](bool down) {
    Headless()->Inject({.Kind = down ? InputKind::KeyDown : InputKind::KeyUp, .Window = form->Handle()->Native,
                        .Key = VK_SHIFT});
    Application->ProcessMessages();
  };
  struct Step {
    UINT key;
    bool shift;
    TWinControl* focus;
  };
  const Step steps[] = {
      {VK_TAB, false, f2}, {VK_TAB, false, f3}, {VK_TAB, false, f1},  // around the end
      {VK_TAB, true, f3},  {VK_UP, false, f2},  {VK_DOWN, false, f3}, {VK_LEFT, false, f2},
  };
  for (size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(testing::Message() << "step " << i);
    if (steps[i].shift) shift(true);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, steps[i].key, 0), 1);
    if (steps[i].shift) shift(false);
    EXPECT_EQ(GetFocus(), steps[i].focus->Handle());
    EXPECT_EQ(form->ActiveControl(), steps[i].focus);
  }
  // Other keys are not the form's.
  EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
}

TEST_F(FormFocus, TabKeyReachesTheFormFromTheFocusedControl) {
  TForm* form = MakeForm(bsSizeable);
  TWinControl* f1 = Field(form, 10);
  TWinControl* f2 = Field(form, 40);
  form->Show();
  Application->ProcessMessages();
  ASSERT_EQ(GetFocus(), f1->Handle());
  // A real key: the loop offers it to the focused control (CN_KEYDOWN), which hands Tab
  // to its form as CM_DIALOGKEY.
  Headless()->Inject({.Kind = InputKind::KeyDown, .Window = form->Handle()->Native, .Key = VK_TAB});
  Headless()->Inject({.Kind = InputKind::KeyUp, .Window = form->Handle()->Native, .Key = VK_TAB});
  Application->ProcessMessages();
  EXPECT_EQ(GetFocus(), f2->Handle());
}

TEST_F(FormFocus, KeyPreviewGivesTheFormTheKeysFirst) {
  TForm* form = MakeForm(bsSizeable);
  TWinControl* field = Field(form, 10);
  std::vector<std::string> keys;
  form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    keys.push_back("form");
    if (key == 'B') key = 0;  // taken
  };
  field->OnKeyDown = [&](TObject*, WORD&, TShiftState) { keys.push_back("field"); };
  form->Show();
  Application->ProcessMessages();
  ASSERT_EQ(GetFocus(), field->Handle());
  auto press = [&](UINT vk) {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Window = form->Handle()->Native, .Key = vk});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Window = form->Handle()->Native, .Key = vk});
    Application->ProcessMessages();
  };
  press('A');
  form->SetKeyPreview(true);
  press('A');
  press('B');
  EXPECT_EQ(keys, (std::vector<std::string>{"field", "form", "field", "form"}));
}

// ---- the application's loop ----

// A form that checks, while its content is made, that CreateForm has set its reference.
struct Probe : TForm {
  using TForm::TForm;
  static inline Probe* Reference = nullptr;
  static inline bool ReferenceSet = false;
  static inline int Created = 0;
  void InitializeComponent() override {
    ReferenceSet = Reference == this;
    OnCreate = [](TObject*) { ++Created; };
  }
};

// A form designed at twice the screen's resolution.
struct Designed : TForm {
  using TForm::TForm;
  static inline bool ScaledFlag = true;
  void InitializeComponent() override {
    // The client size before the border: the description's order does not matter.
    SetClientWidth(800);
    SetClientHeight(600);
    SetBorderStyle(bsSingle);
    SetScaled(ScaledFlag);
    SetPixelsPerInch(Screen->PixelsPerInch() * 2);
  }
};

class ApplicationLoop : public FormsFixture {};

TEST_F(ApplicationLoop, OnMessageSeesMessagesAndHandledSkipsThem) {
  TForm* form = MakeForm(bsSizeable);
  std::vector<UINT> seen, dispatched;
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.hwnd != form->Handle() || msg.message < WM_USER) return;
    seen.push_back(msg.message);
    handled = msg.message == WM_USER + 2;
  };
  auto previous = form->WindowProc;
  form->WindowProc = [&, previous](TMessage& m) {
    if (m.Msg >= WM_USER && m.Msg < WM_USER + 10) dispatched.push_back(m.Msg);
    previous(m);
  };
  PostMessage(form->Handle(), WM_USER + 1, 0, 0);
  PostMessage(form->Handle(), WM_USER + 2, 0, 0);
  PostMessage(form->Handle(), WM_USER + 3, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 3}));
}

TEST_F(ApplicationLoop, CreateFormSetsTheReferenceBeforeTheContentAndMakesTheMainForm) {
  Probe::Reference = nullptr;
  Probe::ReferenceSet = false;
  Probe::Created = 0;
  Application->SetMainFormOnTaskbar(true);
  Application->CreateForm(Probe::Reference);
  EXPECT_TRUE(Probe::ReferenceSet);
  EXPECT_EQ(Probe::Created, 1);
  EXPECT_EQ(Application->MainForm(), Probe::Reference);
  EXPECT_NE(ExStyle(Probe::Reference) & WS_EX_APPWINDOW, 0u);
  TForm* second = nullptr;
  Application->CreateForm(second);
  EXPECT_EQ(Application->MainForm(), Probe::Reference);
  // The other forms stay with the main form, which carries the task-bar button.
  EXPECT_EQ(GetWindow(second->Handle(), GW_OWNER), Probe::Reference->Handle());
  second->AfterConstruction();  // the content is made once
  EXPECT_EQ(Probe::Created, 1);
  Probe::Reference->Free();
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(ApplicationLoop, HandlerExceptionsReachOnExceptionAndAbortIsSilent) {
  TForm* form = MakeForm(bsSizeable);
  std::vector<std::string> reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
  form->OnClose = [](TObject*, TCloseAction&) { throw EInvalidOperation("no closing now"); };
  PostMessage(form->Handle(), WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  form->OnClose = [](TObject*, TCloseAction&) { Abort(); };
  PostMessage(form->Handle(), WM_CLOSE, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(reported, (std::vector<std::string>{"no closing now"}));
  // Without a handler the message is shown (on stderr) and kept, ending with a full stop.
  Application->OnException = nullptr;
  Application->HandleException(nullptr, Exception("Out of paper"));
  EXPECT_EQ(Application->LastExceptionMessage(), "Out of paper.");
}

TEST_F(ApplicationLoop, MinimizeAndRestoreTheMainForm) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  main->Show();
  std::vector<std::string> events;
  Application->OnMinimize = [&](TObject*) { events.push_back("minimize"); };
  Application->OnRestore = [&](TObject*) { events.push_back("restore"); };
  Application->Minimize();
  EXPECT_TRUE(IsIconic(main->Handle()));
  EXPECT_FALSE(Application->Active());
  Application->Restore();
  EXPECT_FALSE(IsIconic(main->Handle()));
  EXPECT_TRUE(Application->Active());
  EXPECT_EQ(events, (std::vector<std::string>{"minimize", "restore"}));
}

TEST_F(ApplicationLoop, ScalingAFormDesignedAtAnotherResolution) {
  for (bool scaled : {true, false}) {
    Designed::ScaledFlag = scaled;
    auto* form = NewForm<Designed>(Application);
    EXPECT_EQ(form->ClientWidth(), scaled ? 400 : 800);
    EXPECT_EQ(form->ClientHeight(), scaled ? 300 : 600);
    EXPECT_EQ(form->PixelsPerInch(), Screen->PixelsPerInch() * (scaled ? 1 : 2));
    form->Free();
  }
}

// ---- timers ----

class TimerTest : public FormsFixture {};

TEST_F(TimerTest, FiresInVirtualTimeWhileEnabled) {
  TTimer timer(nullptr);
  EXPECT_EQ(timer.Interval(), 1000u);
  timer.SetInterval(100);
  int fired = 0;
  timer.OnTimer = [&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    ++fired;
  };
  Headless()->Advance(99);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 0);
  Headless()->Advance(1);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 1);
  Headless()->Advance(100);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  timer.SetEnabled(false);
  Headless()->Advance(500);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  // Enabled again, it counts its interval from then.
  timer.SetEnabled(true);
  Headless()->Advance(50);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 2);
  Headless()->Advance(50);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 3);
  timer.SetInterval(0);
  Headless()->Advance(1000);
  Application->ProcessMessages();
  EXPECT_EQ(fired, 3);
}

TEST_F(TimerTest, MayFreeOrDisableItselfInOnTimer) {
  auto* freed = new TTimer(nullptr);
  freed->SetInterval(10);
  int freedFired = 0;
  freed->OnTimer = [&freedFired](TObject* sender) {
    ++freedFired;
    delete static_cast<TTimer*>(sender);
  };
  TTimer stopping(nullptr);
  stopping.SetInterval(10);
  int stoppingFired = 0;
  stopping.OnTimer = [&](TObject*) {
    ++stoppingFired;
    stopping.SetEnabled(false);
  };
  for (int i = 0; i < 3; ++i) {
    Headless()->Advance(10);
    Application->ProcessMessages();
  }
  EXPECT_EQ(freedFired, 1);
  EXPECT_EQ(stoppingFired, 1);
  EXPECT_FALSE(stopping.Enabled());
  EXPECT_EQ(TimeToNextTimer(), -1);  // nothing left running
}

// ---- resources ----

TEST(ResourceTest, CompiledInFilesAreFoundByNameAndType) {
  const String text = "A resource compiled into the tests.\n";
  HRSRC res = FindResource(HInstance, "Sample", RT_RCDATA);
  ASSERT_NE(res, nullptr);
  EXPECT_EQ(FindResource(HInstance, "SAMPLE", "rcdata"), res);
  EXPECT_EQ(SizeofResource(HInstance, res), text.size());
  const char* bytes = static_cast<const char*>(LockResource(LoadResource(HInstance, res)));
  EXPECT_EQ(String(bytes, text.size()), text);
  EXPECT_EQ(FindResource(HInstance, "SAMPLE", "VCLSTYLE"), nullptr);
  EXPECT_EQ(ResourceNames(RT_RCDATA), (std::vector<String>{"SAMPLE"}));

  TResourceStream stream(HInstance, "sample", RT_RCDATA);
  EXPECT_EQ(stream.Size(), int64_t(text.size()));
  String read(size_t(stream.Size()), '\0');
  stream.ReadBuffer(read.data(), stream.Size());
  EXPECT_EQ(read, text);
  EXPECT_EQ(stream.Read(read.data(), 1), 0);
  EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
}

TEST(ResourceTest, AMissingResourceRaisesResNotFound) {
  try {
    TResourceStream stream(HInstance, "NOSUCHTHING", RT_RCDATA);
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message(), "Resource NOSUCHTHING not found");
  }
}

// ---- the screen ----

class ScreenTest : public FormsFixture {};

TEST_F(ScreenTest, MetricsAndMonitorsComeFromTheBackend) {
  Headless()->SetScreen({0, 0, 1600, 1000}, {0, 0, 1600, 960});
  EXPECT_EQ(Screen->Width(), 1600);
  EXPECT_EQ(Screen->Height(), 1000);
  EXPECT_EQ(Screen->DesktopRect(), (RECT{0, 0, 1600, 1000}));
  EXPECT_EQ(Screen->WorkAreaRect(), (RECT{0, 0, 1600, 960}));
  EXPECT_EQ(Screen->WorkAreaHeight(), 960);
  if (!std::getenv("QV_SCALE")) {
    EXPECT_EQ(Screen->PixelsPerInch(), 96);
  }
  ASSERT_EQ(Screen->MonitorCount(), 1);
  TMonitor* m = Screen->Monitors(0);
  EXPECT_EQ(m, Screen->PrimaryMonitor());
  EXPECT_TRUE(m->Primary());
  EXPECT_EQ(m->MonitorNum(), 0);
  EXPECT_EQ(m->BoundsRect(), (RECT{0, 0, 1600, 1000}));
  EXPECT_EQ(m->WorkareaRect(), (RECT{0, 0, 1600, 960}));
  EXPECT_EQ(Screen->MonitorFromPoint({800, 500}), m);
  EXPECT_EQ(Screen->MonitorFromPoint({5000, 5000}, mdNull), nullptr);
  EXPECT_EQ(Screen->MonitorFromPoint({5000, 5000}, mdNearest), m);
  EXPECT_EQ(Screen->MonitorFromRect({10, 10, 20, 20}), m);
  EXPECT_THROW(Screen->Monitors(1), EListError);
  // The screen changes: the answers follow.
  Headless()->SetScreen({0, 0, 1024, 768}, {0, 0, 1024, 728});
  EXPECT_EQ(m->Width(), 1024);
  EXPECT_EQ(Screen->WorkAreaRect().Bottom, 728);
}

TEST_F(ScreenTest, FormsListAndFonts) {
  const int before = Screen->FormCount();
  TForm* a = MakeForm(bsSizeable);
  TForm* b = MakeForm(bsSizeable);
  EXPECT_EQ(Screen->FormCount(), before + 2);
  b->Show();
  EXPECT_EQ(Screen->ActiveForm(), b);
  EXPECT_EQ(Screen->Forms(0), b);  // the one with the focus comes first
  a->Free();
  EXPECT_EQ(Screen->FormCount(), before + 1);

  TStrings* fonts = Screen->Fonts();
  ASSERT_GT(fonts->Count(), 0);
  for (int i = 1; i < fonts->Count(); ++i) EXPECT_LE(AnsiCompareText(fonts->Strings(i - 1), fonts->Strings(i)), 0);
  EXPECT_GE(fonts->IndexOf("DejaVu Sans"), 0);
  EXPECT_EQ(Screen->MenuFont()->Name(), "Segoe UI");
  EXPECT_EQ(Screen->MenuFont()->Height(), -MulDiv(9, Screen->PixelsPerInch(), 72));
}

TEST_F(ScreenTest, CursorShowsEverywhereUntilDefault) {
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
  EXPECT_EQ(Screen->Cursors(crIBeam), LoadCursor(nullptr, IDC_IBEAM));
  Screen->SetCursor(crDefault);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace

namespace {

TEST_F(FormFocus, EveryControlOfTheFormHearsWhereTheFocusWent) {
  TForm* form = MakeForm(bsSizeable);
  TWinControl* a = Panel(form, 0);
  TWinControl* b = Panel(form, 120);
  TWinControl* a1 = Field(a, 5);
  TWinControl* b1 = Field(b, 5);
  const std::set<UINT> kinds{CM_FOCUSCHANGED};
  Record(a, "A", kinds);
  Record(b, "B", kinds);
  Record(a1, "A1", kinds);
  Record(b1, "B1", kinds);
  form->Show();
  Application->ProcessMessages();
  FLog.clear();
  b1->SetFocus();
  EXPECT_EQ(Log(), "A.FOCUSCHANGED A1.FOCUSCHANGED B.FOCUSCHANGED B1.FOCUSCHANGED");
}

TEST_F(FormBorder, AlphaBlendMakesTheWindowTranslucent) {
  TForm* form = MakeForm(bsSizeable);
  form->SetAlphaBlendValue(128);
  form->Show();
  Application->ProcessMessages();
  const auto opacity = [&] { return Headless()->Window(form->Handle()->Native)->Opacity; };
  EXPECT_EQ(opacity(), 255);  // the value alone changes nothing
  form->SetAlphaBlend(true);
  EXPECT_TRUE(ExStyle(form) & WS_EX_LAYERED);
  EXPECT_EQ(opacity(), 128);
  form->SetAlphaBlendValue(40);
  EXPECT_EQ(opacity(), 40);
  form->SetAlphaBlend(false);
  EXPECT_FALSE(ExStyle(form) & WS_EX_LAYERED);
  EXPECT_EQ(opacity(), 255);
  // A window made later starts translucent.
  TForm* later = MakeForm(bsSizeable);
  later->SetAlphaBlend(true);
  later->SetAlphaBlendValue(99);
  later->Show();
  Application->ProcessMessages();
  EXPECT_EQ(Headless()->Window(later->Handle()->Native)->Opacity, 99);
}

TEST_F(FormBorder, TheApplicationHasAnIconUntilTheProgramGivesOne) {
  TIcon* icon = Application->Icon();
  ASSERT_FALSE(icon->Empty());
  EXPECT_EQ(icon->Width(), 32);
  // Drawn: the centre is opaque, a corner is not.
  EXPECT_NE(icon->Image()->Canvas()->Pixels(16, 16), icon->Image()->Canvas()->Pixels(0, 0));
  TForm* form = MakeForm(bsSizeable);
  EXPECT_TRUE(form->Icon()->Empty());
  form->SetIcon(icon);
  EXPECT_EQ(form->Icon()->Width(), 32);
}

}  // namespace
