#include "ActnList.h"

#include <algorithm>

#include "ImgList.h"

// ---- TCustomActionList ----

TCustomActionList::TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomActionList::~TCustomActionList() {
  for (TContainedAction* action : FActions) action->FActionList = nullptr;
  FActions.clear();
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = nullptr;
}

TContainedAction* TCustomActionList::Actions(int Index) const {
  if (Index < 0 || Index >= ActionCount())
    throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FActions[size_t(Index)];
}

int TCustomActionList::IndexOfAction(const TContainedAction* Action) const {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  return it == FActions.end() ? -1 : int(it - FActions.begin());
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Change();
}

void TCustomActionList::SetState(TActionListState Value) {
  if (Value == FState) return;
  const TActionListState old = FState;
  FState = TActionListState::asNormal;
  std::vector<TCustomAction*> actions;
  for (TContainedAction* action : FActions)
    if (auto* custom = dynamic_cast<TCustomAction*>(action)) actions.push_back(custom);
  if (old == TActionListState::asSuspendedEnabled)
    for (TCustomAction* action : actions) action->SetEnabled(action->FSavedEnabledState);
  if (Value == TActionListState::asSuspendedEnabled)
    for (TCustomAction* action : actions) {
      const bool saved = action->FEnabled;
      action->SetEnabled(true);
      action->FSavedEnabledState = saved;
    }
  FState = Value;
  if (OnStateChange) OnStateChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  if (FState != TActionListState::asNormal || !OnExecute) return false;
  bool handled = false;
  TActionEvent handler = OnExecute;
  handler(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  if (FState != TActionListState::asNormal || !OnUpdate) return false;
  bool handled = false;
  TActionEvent handler = OnUpdate;
  handler(Action, handled);
  return handled;
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Change();
  }
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) const {
  for (TContainedAction* action : FActions)
    if (action->Owner() == Root) Proc(action);
}

void TCustomActionList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  FActions.push_back(Action);
  Action->FActionList = this;
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  Action->FActionList = nullptr;
  Change();
}
