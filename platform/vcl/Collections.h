// TCollection and TCollectionItem: owned lists of items of one class that tell their
// collection about every change, and TOwnedCollection, which names its owner.
#pragma once

#include <vector>

#include "Persistent.h"

class TCollection;
class TCollectionItem;

// The class of a collection's items: its information and how to make one.
struct TCollectionItemClass {
  TClass Class = nullptr;
  TCollectionItem* (*Create)(TCollection* Collection) = nullptr;
};

// The item class of T, for TCollection's constructor: ItemClassOf<TMyItem>().
template <class T>
TCollectionItemClass ItemClassOf() {
  return {T::StaticClass(), [](TCollection* c) -> TCollectionItem* { return new T(c); }};
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  QV_CLASS(TCollectionItem, TPersistent)

  // Joins the collection (the collection's Update runs before a derived constructor).
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection.
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with null).
  virtual void SetCollection(TCollection* Value);
  // Unique within the collection, never reused.
  int ID() const { return FID; }
  int Index() const;
  // Moves the item to Value and calls Changed(true); EListError when Value is out of
  // range.
  virtual void SetIndex(int Value);
  String DisplayName() const { return GetDisplayName(); }
  virtual void SetDisplayName(const String& Value);
  String GetNamePath() const override;

 protected:
  // Tells the collection: Update(this), or Update(nullptr) when every item is affected.
  // Nothing happens while the collection is inside BeginUpdate/EndUpdate.
  void Changed(bool AllItems);
  TPersistent* GetOwner() const override;
  // The class name unless a derived class says better.
  virtual String GetDisplayName() const { return ClassName(); }

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

class TCollection : public TPersistent {
  QV_CLASS(TCollection, TPersistent)

  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;

  TCollectionItemClass ItemClass() const { return FItemClass; }
  int Count() const { return int(FItems.size()); }
  // Index errors raise EListError "List index out of bounds (%d)".
  TCollectionItem* Items(int Index) const;
  // Assigns Value to the item at Index.
  void SetItems(int Index, TCollectionItem* Value);
  TCollectionItem* operator[](int Index) const { return Items(Index); }

  // A new item of the item class at the end.
  TCollectionItem* Add();
  // A new item placed at Index.
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  void Move(int CurIndex, int NewIndex);
  void Exchange(int Index1, int Index2);
  TCollectionItem* FindItemID(int ID) const;

  // Changes inside are told once, by Update(nullptr) at the last EndUpdate.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // Clears, then adds one item per source item and assigns it.
  void Assign(TPersistent* Source) override;
  String GetNamePath() const override;
  TPersistent* Owner() const { return GetOwner(); }

 protected:
  // Update(nullptr) unless inside BeginUpdate/EndUpdate.
  void Changed();
  // Called for every change: Item is the changed item, or null when the whole collection
  // changed (items added, removed, moved, an update ended).
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection whose owner is a given persistent object (a component, usually).
class TOwnedCollection : public TCollection {
  QV_CLASS(TOwnedCollection, TCollection)

  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass) : TCollection(ItemClass), FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
