// TActionList: a list of actions with images, list-wide OnExecute/OnUpdate and a state
// that suspends them.
#pragma once

#include <functional>
#include <vector>

#include "Actions.h"

class TCustomImageList;

// Scoped: the transition component has its own asNormal.
enum class TActionListState { asNormal, asSuspended, asSuspendedEnabled };

class TCustomActionList : public TComponent {
  QV_CLASS(TCustomActionList, TComponent)
  explicit TCustomActionList(TComponent* AOwner);
  // The actions leave the list (those it owns are freed with it).
  ~TCustomActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  // Raises EListError for an index out of range.
  TContainedAction* Actions(int Index) const;
  int IndexOfAction(const TContainedAction* Action) const;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // asSuspended: no action of the list executes or updates. asSuspendedEnabled: the same,
  // and every action shows enabled until the list is asNormal again.
  TActionListState State() const { return FState; }
  void SetState(TActionListState Value);

  // OnExecute / OnUpdate of the list for Action; true when they handled it. False while
  // the list is not asNormal.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  // A change of the list: an action joined or left, Images changed.
  TNotifyEvent OnChange;
  TNotifyEvent OnStateChange;

 protected:
  virtual void Change();

 private:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);

  std::vector<TContainedAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TActionListState FState = TActionListState::asNormal;
};

class TActionList : public TCustomActionList {
  QV_CLASS(TActionList, TCustomActionList)
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};
