#include "Actions.h"

#include <algorithm>

#include "ActnList.h"
#include "Forms.h"

// ---- TBasicActionLink ----

TBasicActionLink::TBasicActionLink(TObject* AClient) { (void)AClient; }

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  TBasicAction* action = FAction;
  action->SetActionComponent(AComponent);
  bool result = false;
  try {
    result = action->Execute();
  } catch (...) {
    if (FAction == action) action->SetActionComponent(nullptr);
    throw;
  }
  // The action may have been freed by its own handler; then this link no longer has it.
  if (FAction == action) action->SetActionComponent(nullptr);
  return result;
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

// ---- TBasicAction ----

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* link : FClients) link->FAction = nullptr;
  FClients.clear();
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = nullptr;
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  TNotifyEvent handler = OnExecute;
  handler(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  TNotifyEvent handler = OnUpdate;
  handler(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (Value == FActionComponent) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (!Value || std::find(FClients.begin(), FClients.end(), Value) != FClients.end()) return;
  if (Value->FAction) Value->FAction->UnRegisterChanges(Value);
  Value->FAction = this;
  FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  auto it = std::find(FClients.begin(), FClients.end(), Value);
  if (it == FClients.end()) return;
  FClients.erase(it);
  Value->FAction = nullptr;
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::Change() {
  if (OnChange) {
    TNotifyEvent handler = OnChange;
    handler(this);
  }
  // A link may leave the action from its handler.
  const std::vector<TBasicActionLink*> links = FClients;
  for (TBasicActionLink* link : links)
    if (std::find(FClients.begin(), FClients.end(), link) != FClients.end()) link->Change();
}

void TBasicAction::SetOnExecute(const TNotifyEvent& Value) {
  for (TBasicActionLink* link : FClients) link->SetOnExecute(Value);
  OnExecute = Value;
  Change();
}

// ---- TContainedAction ----

TContainedAction::TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

int TContainedAction::Index() const { return FActionList ? FActionList->IndexOfAction(this) : -1; }

void TContainedAction::SetCategory(const String& Value) {
  if (Value == FCategory) return;
  FCategory = Value;
  Change();
}

bool TContainedAction::Execute() {
  return (FActionList && FActionList->ExecuteAction(this)) || (Application && Application->ExecuteAction(this)) ||
         TBasicAction::Execute();
}

bool TContainedAction::Update() {
  return (FActionList && FActionList->UpdateAction(this)) || (Application && Application->UpdateAction(this)) ||
         TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

// ---- TCustomAction ----

namespace {

// Calls F on each TActionLink of Clients (the list may change while it runs).
template <class F>
void ForEachActionLink(const std::vector<TBasicActionLink*>& Clients, F f) {
  const std::vector<TBasicActionLink*> links = Clients;
  for (TBasicActionLink* link : links)
    if (std::find(Clients.begin(), Clients.end(), link) != Clients.end())
      if (auto* actionLink = dynamic_cast<TActionLink*>(link)) f(actionLink);
}

// Hands a changed value to every link, then stores it; false when nothing changed.
template <class T, class Param>
bool Relay(const std::vector<TBasicActionLink*>& Clients, T& Field, const T& Value, void (TActionLink::*Set)(Param)) {
  if (Value == Field) return false;
  ForEachActionLink(Clients, [&](TActionLink* link) { (link->*Set)(Value); });
  Field = Value;
  return true;
}

}  // namespace

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::SetCaption(const String& Value) {
  if (Relay(FClients, FCaption, Value, &TActionLink::SetCaption)) Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (!Relay(FClients, FChecked, Value, &TActionLink::SetChecked)) return;
  if (Value && FGroupIndex > 0 && ActionList()) {
    // Others of the group; a handler may change the list while this runs.
    TCustomActionList* list = ActionList();
    std::vector<TCustomAction*> group;
    for (int i = 0; i < list->ActionCount(); ++i)
      if (auto* other = dynamic_cast<TCustomAction*>(list->Actions(i));
          other && other != this && other->FGroupIndex == FGroupIndex)
        group.push_back(other);
    for (TCustomAction* other : group)
      if (list->IndexOfAction(other) >= 0) other->SetChecked(false);
  }
  Change();
}

void TCustomAction::SetAutoCheck(bool Value) {
  if (Relay(FClients, FAutoCheck, Value, &TActionLink::SetAutoCheck)) Change();
}

void TCustomAction::SetGroupIndex(int Value) {
  if (!Relay(FClients, FGroupIndex, Value, &TActionLink::SetGroupIndex)) return;
  // A checked action that joins a group unchecks the others there.
  if (FChecked && Value > 0) {
    FChecked = false;
    SetChecked(true);
    return;
  }
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (ActionList() && ActionList()->State() == TActionListState::asSuspendedEnabled) {
    FSavedEnabledState = Value;
    return;
  }
  if (Relay(FClients, FEnabled, Value, &TActionLink::SetEnabled)) Change();
}

void TCustomAction::SetHint(const String& Value) {
  if (Relay(FClients, FHint, Value, &TActionLink::SetHint)) Change();
}

void TCustomAction::SetImageIndex(int Value) {
  if (Relay(FClients, FImageIndex, Value, &TActionLink::SetImageIndex)) Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Relay(FClients, FShortCut, Value, &TActionLink::SetShortCut)) Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (Relay(FClients, FVisible, Value, &TActionLink::SetVisible)) Change();
}

bool TCustomAction::Suspended() const { return ActionList() && ActionList()->State() != TActionListState::asNormal; }

bool TCustomAction::Execute() {
  if (Suspended()) return false;
  Update();
  if (FEnabled && FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
  return FEnabled && TContainedAction::Execute();
}

bool TCustomAction::Update() { return !Suspended() && TContainedAction::Update(); }

// ---- TActionLink ----

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsGroupIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }
