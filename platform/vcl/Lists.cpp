#include "Lists.h"

#include <algorithm>
#include <new>

TList::~TList() { Clear(); }

void TList::Error(int Index) { throw EListError("List index out of bounds (" + IntToStr(Index) + ")"); }

void TList::SetCount(int NewCount) {
  if (NewCount < 0) throw EListError("List count out of bounds (" + IntToStr(NewCount) + ")");
  while (Count() > NewCount) Delete(Count() - 1);
  FList.resize(size_t(NewCount), nullptr);
}

void TList::SetCapacity(int NewCapacity) {
  if (NewCapacity < Count()) throw EListError("List capacity out of bounds (" + IntToStr(NewCapacity) + ")");
  try {
    FList.reserve(size_t(NewCapacity));
  } catch (const std::bad_alloc&) {
    throw EOutOfMemory("Out of memory");
  }
}

void* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) Error(Index);
  return FList[size_t(Index)];
}

void TList::SetItems(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) Error(Index);
  void* old = FList[size_t(Index)];
  if (old == Item) return;
  FList[size_t(Index)] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

int TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) Error(Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) Error(Index);
  void* item = FList[size_t(Index)];
  FList.erase(FList.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item) {
  const int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  const int i = IndexOf(Item);
  if (i < 0) return nullptr;
  FList.erase(FList.begin() + i);
  Notify(Item, lnExtracted);
  return Item;
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : int(it - FList.begin());
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) Error(NewIndex);
  void* item = Items(CurIndex);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= Count()) Error(Index1);
  if (Index2 < 0 || Index2 >= Count()) Error(Index2);
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

void TList::Clear() {
  // Items leave one by one so that an owning list frees each exactly once.
  while (!FList.empty()) Delete(Count() - 1);
  FList.shrink_to_fit();
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(TListSortCompare Compare) {
  if (!Compare) return;
  std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Notify(void*, TListNotification) {}

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) static_cast<TObject*>(Ptr)->Free();
  TList::Notify(Ptr, Action);
}
