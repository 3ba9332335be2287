#include <gtest/gtest.h>

#include <vector>

#include "vcl/Classes.h"

namespace {

class TPanelItem : public TCollectionItem {
  QV_CLASS(TPanelItem, TCollectionItem)

  explicit TPanelItem(TCollection* Collection) : TCollectionItem(Collection) {}

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed(false);
  }
  void Assign(TPersistent* Source) override {
    if (auto* item = dynamic_cast<TPanelItem*>(Source)) {
      SetCaption(item->FCaption);
      return;
    }
    TCollectionItem::Assign(Source);
  }

 protected:
  String GetDisplayName() const override { return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption; }

 private:
  String FCaption;
};

// Records every Update call: the item, or null for the whole collection.
class TPanels : public TOwnedCollection {
  QV_CLASS(TPanels, TOwnedCollection)

  explicit TPanels(TPersistent* AOwner) : TOwnedCollection(AOwner, ItemClassOf<TPanelItem>()) {}
  TPanelItem* Add() { return static_cast<TPanelItem*>(TCollection::Add()); }
  TPanelItem* Items(int Index) const { return static_cast<TPanelItem*>(TCollection::Items(Index)); }

  std::vector<TCollectionItem*> Updates;
  std::vector<std::pair<TCollectionItem*, TCollectionNotification>> Notes;

 protected:
  void Update(TCollectionItem* Item) override { Updates.push_back(Item); }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override { Notes.emplace_back(Item, Action); }
};

std::vector<String> Captions(const TPanels& c) {
  std::vector<String> v;
  for (int i = 0; i < c.Count(); ++i) v.push_back(c.Items(i)->Caption());
  return v;
}

TEST(Collection, EveryChangeCallsUpdateOnce) {
  TPanels panels(nullptr);
  TPanelItem* a = panels.Add();
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{nullptr}));  // an item came
  panels.Updates.clear();

  a->SetCaption("one");
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{a}));  // just this item
  a->SetCaption("one");
  EXPECT_EQ(panels.Updates.size(), 1u);  // no change, no call

  panels.Updates.clear();
  TPanelItem* b = panels.Add();
  b->SetCaption("two");
  panels.Delete(0);
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{nullptr, b, nullptr}));
  EXPECT_EQ(panels.Count(), 1);
  EXPECT_EQ(b->Index(), 0);
}

TEST(Collection, UpdatesInsideBeginEndCollapseToOne) {
  TPanels panels(nullptr);
  panels.BeginUpdate();
  panels.BeginUpdate();
  for (const char* c : {"a", "b", "c"}) panels.Add()->SetCaption(c);
  panels.Items(1)->SetIndex(0);
  panels.Delete(2);
  panels.EndUpdate();
  EXPECT_TRUE(panels.Updates.empty());
  panels.EndUpdate();
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(Captions(panels), (std::vector<String>{"b", "a"}));

  panels.Updates.clear();
  panels.Clear();
  EXPECT_EQ(panels.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(panels.Count(), 0);
}

TEST(Collection, SetIndexMovesTheItem) {
  struct Case {
    int from, to;
    std::vector<String> order;
  };
  const Case cases[] = {
      {0, 3, {"b", "c", "d", "a"}},
      {3, 0, {"d", "a", "b", "c"}},
      {1, 2, {"a", "c", "b", "d"}},
      {2, 2, {"a", "b", "c", "d"}},
  };
  for (const Case& c : cases) {
    TPanels panels(nullptr);
    for (const char* s : {"a", "b", "c", "d"}) panels.Add()->SetCaption(s);
    TPanelItem* moved = panels.Items(c.from);
    panels.Updates.clear();
    moved->SetIndex(c.to);
    EXPECT_EQ(Captions(panels), c.order) << c.from << "->" << c.to;
    EXPECT_EQ(moved->Index(), c.to);
    EXPECT_EQ(panels.Updates.size(), c.from == c.to ? 0u : 1u);
  }
  TPanels panels(nullptr);
  panels.Add();
  EXPECT_THROW(panels.Items(0)->SetIndex(1), EListError);
  EXPECT_THROW(panels.Items(1), EListError);
}

TEST(Collection, InsertIdsAndNotifications) {
  TPanels panels(nullptr);
  TPanelItem* a = panels.Add();
  TPanelItem* b = panels.Add();
  auto* c = static_cast<TPanelItem*>(panels.Insert(0));
  EXPECT_EQ(c->Index(), 0);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c->ID(), 2);
  delete b;
  EXPECT_EQ(panels.Add()->ID(), 3);  // never reused
  EXPECT_EQ(panels.FindItemID(2), c);
  EXPECT_EQ(panels.FindItemID(1), nullptr);

  panels.Notes.clear();
  panels.Delete(0);
  ASSERT_EQ(panels.Notes.size(), 2u);
  EXPECT_EQ(panels.Notes[0].second, cnDeleting);
  EXPECT_EQ(panels.Notes[1].second, cnExtracting);
}

TEST(Collection, ItemsMoveBetweenCollectionsAndAssignCopies) {
  TComponent owner(nullptr);
  owner.SetName("Bar");
  TPanels a(&owner), b(nullptr);
  for (const char* s : {"x", "y"}) a.Add()->SetCaption(s);
  TPanelItem* y = a.Items(1);
  y->SetCollection(&b);
  EXPECT_EQ(a.Count(), 1);
  EXPECT_EQ(b.Items(0), y);
  EXPECT_EQ(y->Collection(), &b);

  b.Updates.clear();
  b.Assign(&a);
  EXPECT_EQ(Captions(b), (std::vector<String>{"x"}));
  EXPECT_EQ(b.Updates, (std::vector<TCollectionItem*>{nullptr}));
  EXPECT_EQ(a.Owner(), &owner);
  EXPECT_EQ(a.Items(0)->DisplayName(), "x");
  EXPECT_EQ(a.Items(0)->GetNamePath(), "Bar.TPanels[0]");
  EXPECT_THROW(b.Assign(&owner), EConvertError);
}

}  // namespace
