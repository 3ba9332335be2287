// Actions: TBasicAction (a command with OnExecute and OnUpdate) and the links that tie
// clients to it, TCustomAction/TAction (caption, enabled, checked, hint, image, shortcut,
// visible, shared by every client). Lists of actions are in ActnList.h; controls link to
// an action through TControlActionLink (Controls.h).
#pragma once

#include <functional>
#include <vector>

#include "Component.h"
#include "ShortCuts.h"

class TBasicAction;
class TCustomActionList;

// A handler of a list or of the application that comes before the action's own: Handled
// stops the action's handler.
using TActionEvent = std::function<void(TBasicAction* Action, bool& Handled)>;

// Ties one client (a control, a menu item) to an action. The action tells its links about
// every change; a link passes on what its client follows.
class TBasicActionLink : public TObject {
  QV_CLASS(TBasicActionLink, TObject)
  // The base keeps no client: derived links keep theirs through AssignClient, which
  // their constructors call.
  explicit TBasicActionLink(TObject* AClient);
  // Leaves the action.
  ~TBasicActionLink() override;

  TBasicAction* Action() const { return FAction; }
  // Leaves the old action and joins the new one (null: none).
  virtual void SetAction(TBasicAction* Value);
  // The action's Execute with AComponent as its ActionComponent for the call; false
  // without an action or when nothing handled it.
  virtual bool Execute(TComponent* AComponent = nullptr);
  // The action's Update; false without an action.
  virtual bool Update();
  virtual bool IsOnExecuteLinked() { return true; }

  // Called with the action after it changed.
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  virtual void AssignClient(TObject* /*AClient*/) {}
  virtual void Change();
  virtual void SetOnExecute(const TNotifyEvent& /*Value*/) {}

  TBasicAction* FAction = nullptr;
};

// A command. Execute runs OnExecute; Update runs OnUpdate, which decides the action's
// state (enabled, checked ...) before clients show it.
class TBasicAction : public TComponent {
  QV_CLASS(TBasicAction, TComponent)
  explicit TBasicAction(TComponent* AOwner);
  // Every link lets go of the action (its Action becomes null).
  ~TBasicAction() override;

  // True when something handled the action (here: OnExecute ran).
  virtual bool Execute();
  // True when something updated the action (here: OnUpdate ran).
  virtual bool Update();
  virtual bool HandlesTarget(TObject* /*Target*/) { return false; }
  virtual void UpdateTarget(TObject* /*Target*/) {}
  virtual void ExecuteTarget(TObject* /*Target*/) {}

  // The component that executes the action during Execute (the control clicked).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value);

  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(size_t(Index)); }
  void RegisterChanges(TBasicActionLink* Value);
  void UnRegisterChanges(TBasicActionLink* Value);

  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Called after every change, before the links hear of it.
  TNotifyEvent OnChange;

  // Tells OnChange and every link that the action changed.
  virtual void Change();
  void SetOnExecute(const TNotifyEvent& Value);

 protected:
  std::vector<TBasicActionLink*> FClients;

 private:
  TComponent* FActionComponent = nullptr;
};

// An action that can belong to an action list, which may handle it first.
class TContainedAction : public TBasicAction {
  QV_CLASS(TContainedAction, TBasicAction)
  explicit TContainedAction(TComponent* AOwner);
  // Leaves its list.
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return FActionList; }
  // Leaves the old list and joins the end of the new one.
  void SetActionList(TCustomActionList* Value);
  // Position in the list, -1 without one.
  int Index() const;
  const String& Category() const { return FCategory; }
  void SetCategory(const String& Value);

  // The list's OnExecute first, then the application's OnActionExecute, then OnExecute;
  // the first that says Handled ends it.
  bool Execute() override;
  // The same way with the list's OnUpdate, the application's OnActionUpdate, OnUpdate.
  bool Update() override;

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  String FCategory;
};

// The properties an action shares with its clients. A setter tells each TActionLink
// first (which passes the value on to a client that still follows the action) and then
// calls Change.
class TCustomAction : public TContainedAction {
  QV_CLASS(TCustomAction, TContainedAction)
  explicit TCustomAction(TComponent* AOwner);

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool Checked() const { return FChecked; }
  // Checking an action with a GroupIndex above 0 unchecks the other actions of its list
  // with the same GroupIndex.
  void SetChecked(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // While the list is asSuspendedEnabled the action shows enabled and keeps the value
  // set here until the list is asNormal again.
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // An image of the list's Images; -1 none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // Its list is not asNormal: the action neither executes nor updates.
  bool Suspended() const;
  // Update first; then, enabled and not suspended: AutoCheck toggles Checked (a checked
  // action of a group stays checked), and the inherited Execute runs. False when
  // disabled, suspended or not handled.
  bool Execute() override;
  bool Update() override;

 private:
  friend class TCustomActionList;
  String FCaption;
  bool FChecked = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  bool FEnabled = true;
  bool FSavedEnabledState = true;
  String FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
};

class TAction : public TCustomAction {
  QV_CLASS(TAction, TCustomAction)
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// A link whose client shows a TCustomAction. IsXxxLinked tells whether the client still
// follows property Xxx; SetXxx passes a new value on when it does. The base follows
// everything of a TCustomAction and has no client to pass values to.
class TActionLink : public TBasicActionLink {
  QV_CLASS(TActionLink, TBasicActionLink)
  using TBasicActionLink::TBasicActionLink;

  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsGroupIndexLinked();
  virtual bool IsHintLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();

 protected:
  friend class TCustomAction;
  TCustomAction* CustomAction() const;
  virtual void SetAutoCheck(bool /*Value*/) {}
  virtual void SetCaption(const String& /*Value*/) {}
  virtual void SetChecked(bool /*Value*/) {}
  virtual void SetEnabled(bool /*Value*/) {}
  virtual void SetGroupIndex(int /*Value*/) {}
  virtual void SetHint(const String& /*Value*/) {}
  virtual void SetImageIndex(int /*Value*/) {}
  virtual void SetShortCut(TShortCut /*Value*/) {}
  virtual void SetVisible(bool /*Value*/) {}
};
