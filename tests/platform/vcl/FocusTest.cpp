// Focus, Tab order and keys of windowed controls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend/Headless.h"
#include "vcl/Controls.h"
#include "win/Input.h"
#include "win/Queue.h"

namespace {

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "FocusTestTop";
    ASSERT_NE(RegisterClass(&wc), 0);
    Top = CreateWindowEx(0, "FocusTestTop", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                         nullptr);
    Host = new TWinControl(nullptr);
    Host->SetName("Host");
    Host->SetControlStyle(Host->ControlStyle() + csAcceptsControls);
    Host->SetBounds(0, 0, 400, 300);
    Host->SetParentWindow(Top);
  }
  void TearDown() override {
    FocusChangedHook = nullptr;
    delete Host;
    ResetWindowSystem();
  }

  TWinControl* Add(TWinControl* Parent, const char* Name, bool TabStop = true) {
    auto* c = new TWinControl(nullptr);
    c->SetName(Name);
    c->SetBounds(int(Parent->ControlCount()) * 30, 0, 25, 25);
    c->SetTabStop(TabStop);
    c->SetParent(Parent);
    return c;
  }
  static std::string Names(const std::vector<TWinControl*>& list) {
    std::string s;
    for (TWinControl* c : list) s += c->Name();
    return s;
  }
  static std::string NameOf(const TWinControl* c) { return c ? c->Name() : "-"; }

  HWND Top = nullptr;
  TWinControl* Host = nullptr;
};

TEST_F(FocusTest, TabOrderWrapsAndSkipsWhatCannotTakeTheFocus) {
  TWinControl* a = Add(Host, "A");
  TWinControl* b = Add(Host, "B", false);
  TWinControl* p = Add(Host, "P", false);
  TWinControl* e = Add(p, "E");
  TWinControl* f = Add(p, "F");
  TWinControl* c = Add(Host, "C");
  TWinControl* d = Add(Host, "D");
  d->SetEnabled(false);
  std::vector<TWinControl*> list;
  Host->GetTabOrderList(list);
  EXPECT_EQ(Names(list), "ABPEFCD");

  struct Case {
    TWinControl* From;
    bool Forward;
    bool CheckTabStop;
    TWinControl* Expected;
  };
  const Case cases[] = {
      {a, true, true, e},        // B and P are no Tab stops
      {e, true, true, f},        //
      {f, true, true, c},        // out of the container again
      {c, true, true, a},        // D is disabled: round to the start
      {a, false, true, c},       // backwards round to the end
      {e, false, true, a},       //
      {nullptr, true, true, a},  // from nowhere: the first
      {nullptr, false, true, c}, // or the last
      {a, true, false, b},       // every control when Tab stops do not count
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(NameOf(k.From) + (k.Forward ? " forward" : " backward"));
    EXPECT_EQ(NameOf(Host->FindNextControl(k.From, k.Forward, k.CheckTabStop, false)), NameOf(k.Expected));
  }
  // Only the parent's own children when asked.
  EXPECT_EQ(NameOf(Host->FindNextControl(a, true, false, true)), "B");
  EXPECT_EQ(NameOf(Host->FindNextControl(b, true, false, true)), "P");

  Host->SelectNext(a, true, true);
  EXPECT_TRUE(e->Focused());
  EXPECT_EQ(GetFocus(), e->WindowHandle());
  Host->SelectNext(e, false, true);
  EXPECT_TRUE(a->Focused());

  c->SetTabOrder(0);
  EXPECT_EQ(c->TabOrder(), 0);
  EXPECT_EQ(a->TabOrder(), 1);
  list.clear();
  Host->GetTabOrderList(list);
  EXPECT_EQ(Names(list), "CABPEFD");
  d->SetTabOrder(-3);  // out of range goes to the nearest end
  EXPECT_EQ(d->TabOrder(), 0);
  EXPECT_EQ(Host->TabOrder(), -1);
  // A control that leaves its parent leaves its Tab order.
  c->SetParent(nullptr);
  list.clear();
  Host->GetTabOrderList(list);
  EXPECT_EQ(Names(list), "DABPEF");
  delete c;
}

TEST_F(FocusTest, OnlyVisibleEnabledControlsTakeTheFocus) {
  struct Case {
    const char* Name;
    bool HideSelf, DisableSelf, HideParent, DisableParent;
  };
  const Case cases[] = {
      {"hidden", true, false, false, false},
      {"disabled", false, true, false, false},
      {"in a hidden parent", false, false, true, false},
      {"in a disabled parent", false, false, false, true},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Name);
    TWinControl* parent = Add(Host, "P");
    TWinControl* c = Add(parent, "C");
    c->SetVisible(!k.HideSelf);
    c->SetEnabled(!k.DisableSelf);
    parent->SetVisible(!k.HideParent);
    parent->SetEnabled(!k.DisableParent);
    EXPECT_FALSE(c->CanFocus());
    try {
      c->SetFocus();
      ADD_FAILURE() << "no exception";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Cannot focus a disabled or invisible window");
    }
    EXPECT_FALSE(c->Focused());
    delete parent;
  }
  TWinControl* c = Add(Host, "C");
  EXPECT_TRUE(c->CanFocus());
  c->SetFocus();
  EXPECT_TRUE(c->Focused());
  // A control outside any window cannot.
  TWinControl loose(nullptr);
  EXPECT_FALSE(loose.CanFocus());
}

TEST_F(FocusTest, TheFocusHookHearsEveryFocusedControl) {
  TWinControl* a = Add(Host, "A");
  TWinControl* b = Add(Host, "B");
  std::string log;
  // What a form does with the hook: tell the controls the focus leaves and enters.
  TWinControl* current = nullptr;
  FocusChangedHook = [&](TWinControl* control) {
    log += "focus(" + control->Name() + ") ";
    if (current) current->Perform(CM_EXIT, 0, 0);
    current = control;
    control->Perform(CM_ENTER, 0, 0);
  };
  for (TWinControl* c : {a, b}) {
    c->OnEnter = [&log, c](TObject*) { log += "enter(" + c->Name() + ") "; };
    c->OnExit = [&log, c](TObject*) { log += "exit(" + c->Name() + ") "; };
  }
  a->SetFocus();
  b->SetFocus();
  a->SetFocus();
  EXPECT_EQ(log, "focus(A) enter(A) focus(B) exit(A) enter(B) focus(A) exit(B) enter(A) ");
}

// The class procedure under the control: what gets there was not stopped.
std::vector<UINT>* gReached = nullptr;
LRESULT ReachedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gReached && (msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR)) gReached->push_back(msg);
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

class TKeyed : public TWinControl {
  QV_CLASS(TKeyed, TWinControl)
  explicit TKeyed(TComponent* AOwner) : TWinControl(AOwner) {}
  bool Preview = false;

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, "FocusTestKeys");
  }
  bool PreviewsChildKeys() const override { return Preview; }
};

TEST_F(FocusTest, KeysRaiseEventsAndAZeroedKeyGoesNoFurther) {
  WNDCLASS wc;
  wc.lpfnWndProc = &ReachedProc;
  wc.lpszClassName = "FocusTestKeys";
  ASSERT_NE(RegisterClass(&wc), 0);
  std::vector<UINT> reached;
  gReached = &reached;
  auto* c = new TKeyed(nullptr);
  c->SetParent(Host);
  std::string log;
  WORD eat = 0;
  c->OnKeyDown = [&](TObject*, WORD& key, TShiftState shift) {
    log += "down" + std::to_string(key) + (shift.Contains(ssAlt) ? "+alt " : " ");
    if (key == eat) key = 0;
  };
  c->OnKeyUp = [&](TObject*, WORD& key, TShiftState) { log += "up" + std::to_string(key) + " "; };
  c->OnKeyPress = [&](TObject*, char32_t& ch) {
    log += "press" + std::to_string(int(ch)) + " ";
    if (ch == U'x') ch = 0;
  };
  HWND h = c->WindowHandle();
  eat = 'B';
  SendMessage(h, WM_KEYDOWN, 'A', 0);
  SendMessage(h, WM_KEYDOWN, 'B', 0x20000000);  // Alt in the key data
  SendMessage(h, WM_KEYUP, 'A', 0);
  SendMessage(h, WM_CHAR, U'\u00e9', 0);
  SendMessage(h, WM_CHAR, U'x', 0);
  EXPECT_EQ(log, "down65 down66+alt up65 press233 press120 ");
  EXPECT_EQ(reached, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_CHAR}));

  // A parent that previews keys sees them first and may keep them.
  auto* inner = new TKeyed(nullptr);
  inner->SetParent(c);
  std::string order;
  auto* root = new TKeyed(nullptr);
  root->Preview = true;
  root->SetBounds(0, 0, 200, 200);
  root->SetParentWindow(Top);
  c->SetParent(root);
  root->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    order += "root ";
    if (key == 'Q') key = 0;
  };
  inner->OnKeyDown = [&](TObject*, WORD&, TShiftState) { order += "inner "; };
  SendMessage(inner->WindowHandle(), WM_KEYDOWN, 'A', 0);
  SendMessage(inner->WindowHandle(), WM_KEYDOWN, 'Q', 0);
  EXPECT_EQ(order, "root inner root ");
  delete root;
  gReached = nullptr;
}

TEST_F(FocusTest, DialogKeysGoToTheOutermostControlUnlessWanted) {
  TWinControl* panel = Add(Host, "P");
  TWinControl* field = Add(panel, "F");
  std::vector<std::string> log;
  auto record = [&](TWinControl* c, UINT msg, const char* name, LRESULT answer) {
    auto old = c->WindowProc;
    c->WindowProc = [&log, old, msg, name, answer](TMessage& m) {
      if (m.Msg != msg) return old(m);
      log.push_back(std::string(name) + " " + std::to_string(m.WParam));
      m.Result = answer;
    };
  };
  record(Host, CM_DIALOGKEY, "dialogkey", 1);
  record(Host, CM_DIALOGCHAR, "dialogchar", 1);
  record(panel, CM_CHILDKEY, "childkey", 0);
  EXPECT_EQ(field->Perform(CN_KEYDOWN, VK_TAB, 0), 1);
  EXPECT_EQ(field->Perform(CN_KEYDOWN, 'A', 0), 0);
  EXPECT_EQ(field->Perform(CN_CHAR, 'a', 0), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"childkey 9", "dialogkey 9", "childkey 65", "dialogchar 97"}));
  // A control that wants the key keeps it.
  log.clear();
  record(field, CM_WANTSPECIALKEY, "wants", 1);
  EXPECT_EQ(field->Perform(CN_KEYDOWN, VK_TAB, 0), 0);
  EXPECT_EQ(field->Perform(CN_KEYDOWN, 'A', 0), 0);  // only special keys are asked about
  EXPECT_EQ(log, (std::vector<std::string>{"childkey 9", "wants 9", "childkey 65"}));
}

}  // namespace
