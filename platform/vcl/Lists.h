// TList, the framework's list of pointers, and TObjectList, which may own its objects.
#pragma once

#include <vector>

#include "Persistent.h"

enum TListNotification { lnAdded, lnExtracted, lnDeleted };

using TListSortCompare = int (*)(void* Item1, void* Item2);

class TList : public TObject {
  QV_CLASS(TList, TObject)

  ~TList() override;

  int Count() const { return int(FList.size()); }
  // Shrinking drops the items past the new count (lnDeleted), growing adds nulls.
  void SetCount(int NewCount);
  int Capacity() const { return int(FList.capacity()); }
  void SetCapacity(int NewCapacity);

  // Index errors raise EListError "List index out of bounds (%d)".
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Index the item had, or -1.
  int Remove(void* Item);
  // Takes the item out without the lnDeleted notification; null when absent.
  void* Extract(void* Item);
  int IndexOf(void* Item) const;
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  virtual void Clear();
  // Drops the null items.
  void Pack();
  void Sort(TListSortCompare Compare);

  const std::vector<void*>& List() const { return FList; }

 protected:
  virtual void Notify(void* Ptr, TListNotification Action);
  [[noreturn]] static void Error(int Index);

 private:
  std::vector<void*> FList;
};

// A list of objects that frees the ones it deletes when OwnsObjects is on.
class TObjectList : public TList {
  QV_CLASS(TObjectList, TList)

  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;

  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  void SetItems(int Index, TObject* Item) { TList::SetItems(Index, Item); }
  TObject* operator[](int Index) const { return Items(Index); }
  int Add(TObject* Item) { return TList::Add(Item); }
  void Insert(int Index, TObject* Item) { TList::Insert(Index, Item); }
  int Remove(TObject* Item) { return TList::Remove(Item); }
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  int IndexOf(TObject* Item) const { return TList::IndexOf(Item); }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};
