// Actions and their clients: a control follows its action until a property is set by
// hand, a click executes the action, OnUpdate runs on the application's idle pass, freed
// actions and controls leave no links behind, grouped actions check one at a time, and
// shortcut texts.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/ControlHost.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "win/Timers.h"

namespace {

class ActionsTest : public ControlHostTest {
 protected:
  ActionsTest() : ControlHostTest({.OwnApplication = true}) {}

  void SetUp() override {
    ControlHostTest::SetUp();
    Application->Initialize();
  }

  // A press and release at (x, y), then the double-click time, so the next is single.
  void ClickAt(int x, int y) {
    Mouse(InputKind::MouseDown, x, y);
    Mouse(InputKind::MouseUp, x, y);
    Run();
    Advance(2000);
  }

  // Handles what is queued, then one idle pass; a timer gives the idle wait its end.
  void IdleOnce(TWinControl* window) {
    Run();
    SetTimer(window->Handle(), 77, 1000, nullptr);
    Application->HandleMessage();
    KillTimer(window->Handle(), 77);
    Run();
  }
};

// A control that shows Checked and ImageIndex of its action, as a button does: it reads
// them when the action is assigned and follows them through its own link.
class TCheckProbe : public TWinControl {
  QV_CLASS(TCheckProbe, TWinControl)
  explicit TCheckProbe(TComponent* AOwner) : TWinControl(AOwner) {}
  bool Checked = false;
  int ImageIndex = -1;

 protected:
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TControlActionLink* CreateActionLink() override;
};

class TCheckProbeLink : public TControlActionLink {
  QV_CLASS(TCheckProbeLink, TControlActionLink)
  using TControlActionLink::TControlActionLink;
  TCheckProbe* Probe() const { return static_cast<TCheckProbe*>(FClient); }
  bool IsCheckedLinked() override {
    return TControlActionLink::IsCheckedLinked() && Probe()->Checked == CustomAction()->Checked();
  }
  bool IsImageIndexLinked() override {
    return TControlActionLink::IsImageIndexLinked() && Probe()->ImageIndex == CustomAction()->ImageIndex();
  }

 protected:
  void SetChecked(bool Value) override {
    if (IsCheckedLinked()) Probe()->Checked = Value;
  }
  void SetImageIndex(int Value) override {
    if (IsImageIndexLinked()) Probe()->ImageIndex = Value;
  }
};

void TCheckProbe::ActionChange(TObject* Sender, bool CheckDefaults) {
  TWinControl::ActionChange(Sender, CheckDefaults);
  if (auto* action = dynamic_cast<TCustomAction*>(Sender)) {
    if (!CheckDefaults || !Checked) Checked = action->Checked();
    if (!CheckDefaults || ImageIndex == -1) ImageIndex = action->ImageIndex();
  }
}

TControlActionLink* TCheckProbe::CreateActionLink() { return new TCheckProbeLink(this); }

struct LinkedProperty {
  const char* Name;
  std::function<void(TCustomAction*, const String&)> SetOnAction;
  std::function<void(TControl*, const String&)> SetByHand;
  std::function<String(TControl*)> Read;
};

const LinkedProperty kStringProperties[] = {
    {"Caption", [](TCustomAction* a, const String& v) { a->SetCaption(v); },
     [](TControl* c, const String& v) { c->SetCaption(v); }, [](TControl* c) { return c->Caption(); }},
    {"Hint", [](TCustomAction* a, const String& v) { a->SetHint(v); },
     [](TControl* c, const String& v) { c->SetHint(v); }, [](TControl* c) { return c->Hint(); }},
};

TEST_F(ActionsTest, AControlTakesItsActionsPropertiesAndFollowsTheirChanges) {
  auto* action = new TAction(nullptr);
  action->SetCaption("Open");
  action->SetHint("Open|Opens a file");
  action->SetEnabled(false);
  action->SetVisible(false);
  auto* control = Make<TWinControl>(Host, "Button1", {10, 10, 90, 40});
  control->SetCaption("Button1");
  control->SetAction(action);
  EXPECT_EQ(control->Action(), action);
  EXPECT_TRUE(control->ControlStyle().Contains(csActionClient));
  EXPECT_EQ(control->Caption(), "Open");
  EXPECT_EQ(control->Hint(), "Open|Opens a file");
  EXPECT_FALSE(control->Enabled());
  EXPECT_FALSE(control->Visible());

  action->SetCaption("Save");
  action->SetHint("Save");
  action->SetEnabled(true);
  action->SetVisible(true);
  EXPECT_EQ(control->Caption(), "Save");
  EXPECT_EQ(control->Hint(), "Save");
  EXPECT_TRUE(control->Enabled());
  EXPECT_TRUE(control->Visible());
  action->SetEnabled(false);
  action->SetVisible(false);
  EXPECT_FALSE(control->Enabled());
  EXPECT_FALSE(control->Visible());

  // Unlinked, the control keeps what it has and no longer follows.
  control->SetAction(nullptr);
  EXPECT_EQ(control->ActionLink(), nullptr);
  EXPECT_FALSE(control->ControlStyle().Contains(csActionClient));
  EXPECT_EQ(action->ClientCount(), 0);
  action->SetCaption("Close");
  EXPECT_EQ(control->Caption(), "Save");
  delete control;
  delete action;
}

TEST_F(ActionsTest, APropertySetByHandStopsFollowingTheAction) {
  for (const LinkedProperty& p : kStringProperties) {
    SCOPED_TRACE(p.Name);
    auto* action = new TAction(nullptr);
    auto* other = Make<TWinControl>(Host, "Other", {100, 10, 190, 40});
    auto* control = Make<TWinControl>(Host, "Button1", {10, 10, 90, 40});
    p.SetOnAction(action, "one");
    control->SetAction(action);
    other->SetAction(action);
    p.SetByHand(control, "mine");
    p.SetOnAction(action, "two");
    EXPECT_EQ(p.Read(control), "mine");
    EXPECT_EQ(p.Read(other), "two") << "a control left alone still follows";
    // The other properties still follow.
    action->SetEnabled(false);
    EXPECT_FALSE(control->Enabled());
    delete control;
    delete other;
    delete action;
  }
}

TEST_F(ActionsTest, AnEnabledStateSetByHandIsKeptWhileItDiffers) {
  auto* action = new TAction(nullptr);
  auto* control = Make<TWinControl>(Host, "Button1", {10, 10, 90, 40});
  control->SetAction(action);
  action->SetCaption("Go");
  control->SetEnabled(false);
  // The action's change does not reach a control whose value differs from it.
  action->SetVisible(false);
  EXPECT_FALSE(control->Visible());
  action->SetEnabled(false);
  EXPECT_FALSE(control->Enabled());
  control->SetEnabled(true);
  action->SetEnabled(true);
  EXPECT_TRUE(control->Enabled());
  delete control;
  delete action;
}

TEST_F(ActionsTest, ClickingTheControlExecutesTheActionOnce) {
  auto* action = new TAction(nullptr);
  auto* control = Make<TWinControl>(Host, "Button1", {50, 50, 110, 90});
  control->SetAction(action);
  int executed = 0;
  TComponent* during = nullptr;
  action->OnExecute = [&](TObject* Sender) {
    EXPECT_EQ(Sender, action);
    during = action->ActionComponent();
    ++executed;
  };
  ClickAt(60, 60);
  EXPECT_EQ(executed, 1);
  EXPECT_EQ(during, control) << "the clicked control executes the action";
  EXPECT_EQ(action->ActionComponent(), nullptr) << "only while it executes";

  // A disabled action disables the control: nothing executes.
  action->SetEnabled(false);
  ClickAt(60, 60);
  EXPECT_EQ(executed, 1);

  // An OnClick set by hand runs instead of the action.
  action->SetEnabled(true);
  int clicks = 0;
  control->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(60, 60);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(executed, 1);
  delete control;
  delete action;
}

TEST_F(ActionsTest, ExecuteSaysWhetherSomethingHandledTheAction) {
  auto* list = new TActionList(nullptr);
  auto* action = new TAction(list);
  action->SetActionList(list);
  EXPECT_FALSE(action->Execute()) << "no handler";
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 1);

  // OnUpdate runs first; it may disable the action, which then does not execute.
  action->OnUpdate = [&](TObject*) { action->SetEnabled(false); };
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(executed, 1);
  action->OnUpdate = nullptr;
  action->SetEnabled(true);

  // The list's handler comes first; Handled keeps the action's own from running.
  std::vector<TBasicAction*> seen;
  bool handle = true;
  list->OnExecute = [&](TBasicAction* Action, bool& Handled) {
    seen.push_back(Action);
    Handled = handle;
  };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 1);
  handle = false;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(executed, 2);
  EXPECT_EQ(seen, (std::vector<TBasicAction*>{action, action}));

  // The application's handler comes after the list's.
  int byApplication = 0;
  Application->OnActionExecute = [&](TBasicAction* Action, bool& Handled) {
    EXPECT_EQ(Action, action);
    ++byApplication;
    Handled = true;
  };
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(byApplication, 1);
  EXPECT_EQ(executed, 2);
  EXPECT_EQ(seen.size(), 3u) << "the list's handler came first";
  handle = true;
  EXPECT_TRUE(action->Execute());
  EXPECT_EQ(byApplication, 1) << "the list handled it";
  Application->OnActionExecute = nullptr;
  handle = false;

  // A suspended list executes nothing.
  list->SetState(TActionListState::asSuspended);
  EXPECT_FALSE(action->Execute());
  EXPECT_EQ(executed, 2);
  EXPECT_EQ(seen.size(), 4u);
  delete list;
}

TEST_F(ActionsTest, OnUpdateRunsOnTheApplicationsIdlePass) {
  auto* form = NewForm<TForm>(Application);
  form->SetBounds(0, 0, 300, 200);
  auto* shown = Make<TWinControl>(form, "Shown", {10, 10, 90, 40});
  auto* panel = Make<TWinControl>(form, "Panel", {10, 50, 200, 150});
  auto* nested = Make<TWinControl>(panel, "Nested", {5, 5, 80, 30});
  auto* hidden = Make<TWinControl>(form, "Hidden", {100, 10, 190, 40});
  auto* list = new TActionList(form);
  auto make = [&](const char* name, TControl* client, int& counter) {
    auto* action = new TAction(form);
    action->SetName(name);
    action->SetActionList(list);
    action->OnUpdate = [&counter](TObject*) { ++counter; };
    client->SetAction(action);
    return action;
  };
  int shownUpdates = 0, nestedUpdates = 0, hiddenUpdates = 0;
  TAction* shownAction = make("ShownAction", shown, shownUpdates);
  make("NestedAction", nested, nestedUpdates);
  make("HiddenAction", hidden, hiddenUpdates);
  // Hidden by hand after the action made it visible.
  hidden->SetVisible(false);
  bool canRun = false;
  shownAction->OnUpdate = [&](TObject*) {
    ++shownUpdates;
    shownAction->SetEnabled(canRun);
  };

  // Before the form shows, idle passes update nothing.
  IdleOnce(panel);
  EXPECT_EQ(shownUpdates + nestedUpdates + hiddenUpdates, 0);

  form->Show();
  IdleOnce(form);
  EXPECT_EQ(shownUpdates, 1);
  EXPECT_EQ(nestedUpdates, 1);
  EXPECT_EQ(hiddenUpdates, 0) << "hidden controls are not updated";
  EXPECT_FALSE(shown->Enabled()) << "OnUpdate decided the state the control shows";
  canRun = true;
  IdleOnce(form);
  EXPECT_EQ(shownUpdates, 2);
  EXPECT_TRUE(shown->Enabled());

  // Handled by the list's OnUpdate: the actions' own handlers do not run.
  list->OnUpdate = [](TBasicAction*, bool& Handled) { Handled = true; };
  IdleOnce(form);
  EXPECT_EQ(shownUpdates, 2);
  list->OnUpdate = nullptr;

  // No update while the application's OnIdle asks for more idle time.
  Application->OnIdle = [](TObject*, bool& Done) { Done = false; };
  Run();
  Application->HandleMessage();
  EXPECT_EQ(shownUpdates, 2);
  Application->OnIdle = nullptr;

  form->Hide();
  IdleOnce(form);
  EXPECT_EQ(shownUpdates, 2);
}

TEST_F(ActionsTest, AnActionFreedWhileLinkedLeavesNoReferenceBehind) {
  enum How { Itself, WithItsList, BesideTheControlsOfItsOwner };
  struct Case {
    const char* Name;
    How Free;
  };
  const Case cases[] = {
      {"freed itself", Itself},
      {"freed with its owning list", WithItsList},
      {"freed while its owner also owns the controls", BesideTheControlsOfItsOwner},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* owner = new TComponent(nullptr);
    auto* list = new TActionList(c.Free == BesideTheControlsOfItsOwner ? owner : nullptr);
    auto* action = new TAction(c.Free == BesideTheControlsOfItsOwner ? owner : list);
    action->SetActionList(list);
    action->SetCaption("Print");
    auto* control = Make<TWinControl>(Host, "Button1", {50, 50, 110, 90});
    auto* second = Make<TWinControl>(Host, "Button2", {150, 50, 210, 90});
    if (c.Free == BesideTheControlsOfItsOwner) {
      owner->InsertComponent(control);
      owner->InsertComponent(second);
    }
    control->SetAction(action);
    second->SetAction(action);
    if (c.Free == WithItsList)
      list->Free();
    else
      action->Free();
    EXPECT_EQ(control->Action(), nullptr);
    EXPECT_EQ(control->ActionLink(), nullptr);
    EXPECT_EQ(second->Action(), nullptr);
    EXPECT_EQ(second->ActionLink(), nullptr);
    EXPECT_FALSE(control->ControlStyle().Contains(csActionClient));
    EXPECT_EQ(control->Caption(), "Print");
    // Clicks and idle updates reach nothing freed.
    ClickAt(60, 60);
    control->InitiateAction();
    delete control;
    delete second;
    if (c.Free != WithItsList) {
      EXPECT_EQ(list->ActionCount(), 0);
      if (c.Free == Itself) delete list;
    }
    delete owner;
  }
}

TEST_F(ActionsTest, AControlFreedWhileLinkedLeavesTheAction) {
  auto* action = new TAction(nullptr);
  auto* control = Make<TWinControl>(Host, "Button1", {50, 50, 110, 90});
  auto* stays = Make<TWinControl>(Host, "Button2", {150, 50, 210, 90});
  control->SetAction(action);
  stays->SetAction(action);
  EXPECT_EQ(action->ClientCount(), 2);
  delete control;
  EXPECT_EQ(action->ClientCount(), 1);
  EXPECT_EQ(action->Clients(0), stays->ActionLink());
  // Changes and executions after that reach only the remaining control.
  action->SetCaption("Later");
  action->SetEnabled(false);
  action->Execute();
  EXPECT_EQ(stays->Caption(), "Later");
  delete action;
  EXPECT_EQ(stays->Action(), nullptr);
  delete stays;
}

TEST_F(ActionsTest, CheckedActionsOfOneGroupUncheckEachOther) {
  auto* list = new TActionList(nullptr);
  auto make = [&](int group) {
    auto* action = new TAction(list);
    action->SetActionList(list);
    action->SetAutoCheck(true);
    action->SetGroupIndex(group);
    return action;
  };
  TAction* left = make(1);
  TAction* centre = make(1);
  TAction* right = make(1);
  TAction* bold = make(2);
  TAction* toggle = make(0);
  auto checks = [&] {
    std::string s;
    for (TAction* a : {left, centre, right, bold, toggle}) s += a->Checked() ? '1' : '0';
    return s;
  };
  bold->Execute();
  EXPECT_EQ(checks(), "00010");
  left->Execute();
  EXPECT_EQ(checks(), "10010");
  centre->Execute();
  EXPECT_EQ(checks(), "01010");
  centre->Execute();
  EXPECT_EQ(checks(), "01010") << "the checked action of a group stays checked";
  toggle->Execute();
  EXPECT_EQ(checks(), "01011");
  toggle->Execute();
  EXPECT_EQ(checks(), "01010") << "an action without a group toggles";
  right->SetChecked(true);
  EXPECT_EQ(checks(), "00110") << "checking by hand unchecks the group too";
  // A checked action that joins a group unchecks the group's checked one.
  bold->SetGroupIndex(1);
  EXPECT_EQ(checks(), "00010");
  // Without AutoCheck, executing leaves Checked alone.
  left->SetAutoCheck(false);
  left->Execute();
  EXPECT_FALSE(left->Checked());
  delete list;
}

TEST_F(ActionsTest, DerivedControlsFollowCheckedAndImageIndexThroughTheirLink) {
  auto* list = new TActionList(nullptr);
  auto make = [&](const char* name, int image, TRect bounds) {
    auto* action = new TAction(list);
    action->SetActionList(list);
    action->SetAutoCheck(true);
    action->SetGroupIndex(1);
    action->SetImageIndex(image);
    auto* probe = Make<TCheckProbe>(Host, name, bounds);
    probe->SetAction(action);
    return probe;
  };
  TCheckProbe* left = make("Left", 3, {10, 10, 60, 40});
  TCheckProbe* right = make("Right", 4, {100, 10, 150, 40});
  EXPECT_EQ(left->ImageIndex, 3);
  EXPECT_EQ(right->ImageIndex, 4);
  ClickAt(20, 20);
  EXPECT_TRUE(left->Checked);
  EXPECT_FALSE(right->Checked);
  ClickAt(110, 20);
  EXPECT_FALSE(left->Checked) << "the group's other action unchecked the left probe";
  EXPECT_TRUE(right->Checked);
  static_cast<TCustomAction*>(left->Action())->SetImageIndex(7);
  EXPECT_EQ(left->ImageIndex, 7);
  // An image set by hand stays.
  right->ImageIndex = 9;
  static_cast<TCustomAction*>(right->Action())->SetImageIndex(5);
  EXPECT_EQ(right->ImageIndex, 9);
  delete left;
  delete right;
  delete list;
}

TEST_F(ActionsTest, AnActionBeingLoadedFillsOnlyPropertiesAtTheirDefaults) {
  auto* action = new TAction(nullptr);
  action->SetCaption("Open");
  action->SetHint("Opens a file");
  action->SetImageIndex(2);
  action->BeginLoading();
  auto* named = Make<TCheckProbe>(Host, "Named", {10, 10, 60, 40});
  named->SetCaption("Named");
  auto* mine = Make<TCheckProbe>(Host, "Second", {100, 10, 150, 40});
  mine->SetCaption("Mine");
  mine->SetHint("My hint");
  mine->ImageIndex = 1;
  named->SetAction(action);
  mine->SetAction(action);
  EXPECT_EQ(named->Caption(), "Open") << "a caption equal to the name is a default";
  EXPECT_EQ(named->Hint(), "Opens a file");
  EXPECT_EQ(named->ImageIndex, 2);
  EXPECT_EQ(mine->Caption(), "Mine");
  EXPECT_EQ(mine->Hint(), "My hint");
  EXPECT_EQ(mine->ImageIndex, 1);
  action->Loaded();
  delete named;
  delete mine;
  delete action;
}

TEST_F(ActionsTest, TheListKeepsItsActionsImagesAndState) {
  auto* images = new TCustomImageList(nullptr, 16, 16);
  auto* list = new TActionList(nullptr);
  list->SetImages(images);
  auto* owned = new TAction(list);
  auto* foreign = new TAction(nullptr);
  owned->SetActionList(list);
  foreign->SetActionList(list);
  EXPECT_EQ(list->ActionCount(), 2);
  EXPECT_EQ(foreign->Index(), 1);
  EXPECT_EQ(foreign->GetParentComponent(), list);
  EXPECT_THROW(list->Actions(2), EListError);

  delete images;
  EXPECT_EQ(list->Images(), nullptr);

  // asSuspendedEnabled shows every action enabled and gives back their own state after.
  foreign->SetEnabled(false);
  list->SetState(TActionListState::asSuspendedEnabled);
  EXPECT_TRUE(foreign->Enabled());
  EXPECT_FALSE(foreign->Execute());
  list->SetState(TActionListState::asNormal);
  EXPECT_FALSE(foreign->Enabled());
  EXPECT_TRUE(owned->Enabled());

  delete owned;
  EXPECT_EQ(list->ActionCount(), 1);
  EXPECT_EQ(foreign->Index(), 0);
  delete list;
  EXPECT_EQ(foreign->ActionList(), nullptr);
  delete foreign;
}

TEST_F(ActionsTest, ShortCutTextsRoundTrip) {
  struct Case {
    WORD Key;
    TShiftState Shift;
    const char* Text;
  };
  const Case cases[] = {
      {'S', {ssCtrl}, "Ctrl+S"},
      {VK_F4, {ssAlt}, "Alt+F4"},
      {VK_DELETE, {ssShift, ssCtrl}, "Shift+Ctrl+Del"},
      {VK_PRIOR, {ssCtrl, ssAlt}, "Ctrl+Alt+PgUp"},
      {VK_RETURN, {ssShift}, "Shift+Enter"},
      {'5', {}, "5"},
      {VK_F1 + 11, {}, "F12"},
      {VK_ADD, {ssCtrl}, "Ctrl+Num +"},
      {VK_SPACE, {ssShift, ssCtrl, ssAlt}, "Shift+Ctrl+Alt+Space"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const TShortCut sc = ShortCut(c.Key, c.Shift);
    EXPECT_EQ(ShortCutToText(sc), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), sc);
    WORD key = 0;
    TShiftState shift;
    ShortCutToKey(sc, key, shift);
    EXPECT_EQ(key, c.Key);
    EXPECT_TRUE(shift == c.Shift);
  }
  EXPECT_EQ(ShortCut('S', {ssCtrl}), TShortCut(scCtrl | 'S'));
  // Modifiers in any order and case.
  EXPECT_EQ(TextToShortCut("alt+ctrl+pgup"), TextToShortCut("Ctrl+Alt+PgUp"));
  for (const char* bad : {"", "Ctrl+", "Shift+Ctrl", "Ctrl+Foo", "Hyper+S", "Ctrl S", "Ctrl++"}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(TextToShortCut(bad), scNone);
  }
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCut(0x1FF, {ssCtrl}), scNone) << "not a virtual key";

  auto* action = new TAction(nullptr);
  action->SetShortCut(TextToShortCut("Ctrl+O"));
  EXPECT_EQ(ShortCutToText(action->ShortCut()), "Ctrl+O");
  delete action;
}

}  // namespace
