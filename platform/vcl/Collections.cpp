#include "Collections.h"

#include <algorithm>

namespace {
[[noreturn]] void IndexError(int index) { throw EListError("List index out of bounds (" + IntToStr(index) + ")"); }
}  // namespace

// ---- TCollectionItem ----

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  const int current = Index();
  if (current < 0 || current == Value) return;
  auto& items = FCollection->FItems;
  if (Value < 0 || Value >= int(items.size())) IndexError(Value);
  items.erase(items.begin() + current);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

String TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

// ---- TCollection ----

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  // Leaving items must not report back to a collection half gone.
  FUpdateCount = 1;
  while (!FItems.empty()) FItems.back()->Free();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FItems[size_t(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) { Items(Index)->Assign(Value); }

TCollectionItem* TCollection::Add() {
  if (!FItemClass.Create) throw EInvalidOperation("Collection has no item class");
  return FItemClass.Create(this);
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) FItems.back()->Free();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TCollection::Move(int CurIndex, int NewIndex) { Items(CurIndex)->SetIndex(NewIndex); }

void TCollection::Exchange(int Index1, int Index2) {
  Items(Index1);
  Items(Index2);
  if (Index1 == Index2) return;
  std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
  Changed();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* item : FItems)
    if (item->FID == ID) return item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount <= 0) return;
  --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  auto* source = dynamic_cast<TCollection*>(Source);
  if (!source) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* item : source->FItems) Add()->Assign(item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

String TCollection::GetNamePath() const {
  const TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  const String path = owner->GetNamePath();
  return path.empty() ? ClassName() : path + "." + ClassName();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem*) {}
void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it != FItems.end()) FItems.erase(it);
  Item->FCollection = nullptr;
  Changed();
}
