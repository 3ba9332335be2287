#include "Component.h"

#include <algorithm>

namespace {

[[noreturn]] void IndexError(int index) { throw EListError("List index out of bounds (" + IntToStr(index) + ")"); }

template <class T>
void Erase(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!FComponentState.Contains(csDestroying)) Destroying();
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  ChangeName(NewName);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  if (AComponent && !SameText(CurName, NewName) && AComponent->FOwner == this && FindComponent(NewName))
    throw EComponentError("A component named " + NewName + " already exists");
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount()) IndexError(Index);
  return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TComponent::SetComponentIndex(int Value) {
  const int current = ComponentIndex();
  if (current < 0) return;
  auto& list = FOwner->FComponents;
  Value = EnsureRange(Value, 0, int(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  AComponent->FOwner = nullptr;
  Erase(FComponents, AComponent);
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  // Checked before it leaves its old owner, so a refused component stays where it was.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError("A component named " + AComponent->FName + " already exists");
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* instance = FComponents.back();
    // Siblings hear of the removal only when the instance asked for it.
    if (instance->FComponentState.Contains(csFreeNotification))
      RemoveComponent(instance);
    else
      Remove(instance);
    instance->Free();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  if (FFreeNotifies.empty()) return;
  Erase(FFreeNotifies, AComponent);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveFreeNotifications() {
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    c->Notification(this, opRemove);
    // An override that forgot the inherited call must not keep this loop going.
    if (!FFreeNotifies.empty() && FFreeNotifies.back() == c) RemoveFreeNotification(c);
  }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Handlers may remove components from the list while it is walked.
  int i = ComponentCount() - 1;
  while (i >= 0) {
    FComponents[size_t(i)]->Notification(AComponent, Operation);
    --i;
    if (i >= ComponentCount()) i = ComponentCount() - 1;
  }
}

void TComponent::BeginLoading() {
  FComponentState.Include(csLoading);
  FComponentState.Include(csReading);
}

void TComponent::EndReading() { FComponentState.Exclude(csReading); }

void TComponent::Loaded() {
  FComponentState.Exclude(csLoading);
  FComponentState.Exclude(csReading);
}

void TComponent::Updating() { FComponentState.Include(csUpdating); }
void TComponent::Updated() { FComponentState.Exclude(csUpdating); }

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::SetSubComponent(bool Value) {
  if (Value)
    FComponentStyle.Include(csSubComponent);
  else
    FComponentStyle.Exclude(csSubComponent);
}
