// TComponent: ownership, names, component state and removal notifications.
#pragma once

#include <functional>
#include <vector>

#include "Persistent.h"

enum TComponentStateFlag {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance,
};
using TComponentState = Set<TComponentStateFlag>;

enum TComponentStyleFlag { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
using TComponentStyle = Set<TComponentStyleFlag>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  QV_CLASS(TComponent, TPersistent)

  // The owner, when given, frees this component when it is freed itself.
  explicit TComponent(TComponent* AOwner);
  // Notifies the components that asked for it, frees the owned components (last first)
  // and leaves the owner.
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier ("'x' is not a valid
  // component name") or that another component of the owner has ("A component named x
  // already exists"); names compare without case.
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  int ComponentCount() const { return int(FComponents.size()); }
  // Raises EListError for an index out of range.
  TComponent* Components(int Index) const;
  // Position in the owner's list, -1 without an owner.
  int ComponentIndex() const;
  void SetComponentIndex(int Value);
  TComponent* FindComponent(const String& AName) const;

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }

  // Takes AComponent from no owner into this one (opInsert to this component's tree).
  void InsertComponent(TComponent* AComponent);
  // Lets AComponent go without freeing it (opRemove to this component's tree).
  void RemoveComponent(TComponent* AComponent);
  // Frees every owned component, last first.
  void DestroyComponents();
  // Marks this component and its owned components csDestroying.
  void Destroying();

  // When this component is freed, AComponent receives Notification(this, opRemove), and
  // the other way round. Components of the same owner hear of each other through the
  // owner already; the call then only marks this one csFreeNotification.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Loading from a stored form: BeginLoading marks csLoading and csReading, EndReading
  // drops csReading once the properties are read, Loaded ends the load.
  void BeginLoading();
  void EndReading();
  virtual void Loaded();
  // csUpdating on and off.
  void Updating();
  void Updated();
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetSubComponent(bool Value);

  String GetNamePath() const override { return FName; }

  // Where a stored form nests this component: a component with a parent is written inside
  // it (controls inside their parent control, animations inside their list).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*Value*/) {}
  // Hands Proc the components a stored form writes inside this one; Root is the form.
  using TGetChildProc = std::function<void(TComponent*)>;
  virtual void GetChildren(const TGetChildProc& /*Proc*/, TComponent* /*Root*/) const {}

  // Told about components inserted into or removed from this component's owner tree,
  // and about components freed that this one asked FreeNotification of. Overrides clear
  // their references to AComponent on opRemove, then call the inherited handler.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 protected:
  TPersistent* GetOwner() const override { return FOwner; }
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  // Sets the name without checks.
  void ChangeName(const String& NewName) { FName = NewName; }

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void RemoveFreeNotifications();

  TComponent* FOwner = nullptr;
  String FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
  TComponentStyle FComponentStyle{csInheritable};
};
