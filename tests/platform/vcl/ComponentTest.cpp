#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "vcl/Classes.h"

namespace {

std::vector<String> gFreed;

// Records its destruction and what it heard.
class TProbe : public TComponent {
  QV_CLASS(TProbe, TComponent)

  TProbe(TComponent* AOwner, const String& AName) : TComponent(AOwner) { SetName(AName); }
  ~TProbe() override {
    gFreed.push_back(Name());
    if (OnDestroy) OnDestroy(this);
  }

  // A reference to another component, cleared when that one goes.
  TComponent* Target() const { return FTarget; }
  void SetTarget(TComponent* Value) {
    if (FTarget) FTarget->RemoveFreeNotification(this);
    FTarget = Value;
    if (FTarget) FTarget->FreeNotification(this);
  }

  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Heard.emplace_back(AComponent, Operation);
    if (Operation == opRemove && AComponent == FTarget) FTarget = nullptr;
  }

  std::vector<std::pair<TComponent*, TOperation>> Heard;
  TNotifyEvent OnDestroy;

 private:
  TComponent* FTarget = nullptr;
};

class ComponentTest : public ::testing::Test {
 protected:
  void SetUp() override { gFreed.clear(); }
};

TEST_F(ComponentTest, OwnerFreesWhatItOwnsLastFirst) {
  auto* form = new TProbe(nullptr, "Form");
  auto* a = new TProbe(form, "A");
  new TProbe(form, "B");
  auto* c = new TProbe(a, "C");  // owned by a component that is itself owned
  ASSERT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->Components(1)->Name(), "B");
  EXPECT_EQ(a->ComponentIndex(), 0);
  EXPECT_EQ(c->Owner(), a);
  EXPECT_EQ(form->FindComponent("b"), form->Components(1));  // without case
  EXPECT_EQ(form->FindComponent("C"), nullptr);              // only direct children
  EXPECT_THROW(form->Components(2), EListError);

  bool childSawDestroying = false;
  a->OnDestroy = [&](TObject* s) {
    childSawDestroying = static_cast<TProbe*>(s)->ComponentState().Contains(csDestroying);
  };
  form->Free();
  EXPECT_EQ(gFreed, (std::vector<String>{"Form", "B", "A", "C"}));
  EXPECT_TRUE(childSawDestroying);
}

TEST_F(ComponentTest, FreedChildLeavesItsOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  auto* b = new TProbe(&form, "B");
  delete a;
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  // The owner's tree heard of the removal.
  ASSERT_FALSE(form.Heard.empty());
  EXPECT_EQ(form.Heard.back(), std::make_pair(static_cast<TComponent*>(a), opRemove));
}

TEST_F(ComponentTest, FreeNotificationClearsReferencesAcrossOwners) {
  TProbe formA(nullptr, "FormA"), formB(nullptr, "FormB");
  auto* holder = new TProbe(&formA, "Holder");
  auto* images = new TProbe(&formB, "Images");
  holder->SetTarget(images);
  delete images;
  EXPECT_EQ(holder->Target(), nullptr);

  // The other way round: a holder that goes first is forgotten by its target, so the
  // target's later destruction calls nobody freed.
  auto* images2 = new TProbe(&formB, "Images2");
  holder->SetTarget(images2);
  delete holder;
  delete images2;
  EXPECT_EQ(gFreed, (std::vector<String>{"Images", "Holder", "Images2"}));
}

TEST_F(ComponentTest, FreeNotificationBetweenSiblingsWorksInEitherFreeingOrder) {
  for (bool targetFirstInList : {false, true}) {
    auto* form = new TProbe(nullptr, "Form");
    TProbe* holder;
    TProbe* target;
    if (targetFirstInList) {
      target = new TProbe(form, "Target");
      holder = new TProbe(form, "Holder");
    } else {
      holder = new TProbe(form, "Holder");
      target = new TProbe(form, "Target");
    }
    holder->SetTarget(target);
    EXPECT_TRUE(target->ComponentState().Contains(csFreeNotification));
    bool clearedBeforeHolderWent = true;
    holder->OnDestroy = [&](TObject* s) {
      // When the target went first, the holder must have let go of it by now.
      if (!targetFirstInList) clearedBeforeHolderWent = static_cast<TProbe*>(s)->Target() == nullptr;
    };
    form->Free();
    EXPECT_TRUE(clearedBeforeHolderWent) << targetFirstInList;
  }
}

TEST_F(ComponentTest, RemoveFreeNotificationStopsTheNotice) {
  TProbe formA(nullptr, "FormA"), formB(nullptr, "FormB");
  auto* holder = new TProbe(&formA, "Holder");
  auto* target = new TProbe(&formB, "Target");
  holder->SetTarget(target);
  holder->SetTarget(nullptr);
  holder->Heard.clear();
  delete target;
  EXPECT_TRUE(holder->Heard.empty());
}

TEST_F(ComponentTest, InsertionIsToldToTheOwnerTree) {
  TProbe form(nullptr, "Form");
  auto* sibling = new TProbe(&form, "Sibling");
  auto* late = new TProbe(&form, "Late");
  const auto inserted = std::make_pair(static_cast<TComponent*>(late), opInsert);
  EXPECT_EQ(form.Heard.back(), inserted);
  EXPECT_EQ(sibling->Heard.back(), inserted);

  // Moving to another owner: removal from the first, insertion into the second.
  TProbe other(nullptr, "Other");
  other.InsertComponent(late);
  EXPECT_EQ(late->Owner(), &other);
  EXPECT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Heard.back(), std::make_pair(static_cast<TComponent*>(late), opRemove));
  other.RemoveComponent(late);
  EXPECT_EQ(late->Owner(), nullptr);
  delete late;  // no owner frees it
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithinTheOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "Button1");
  auto* b = new TProbe(&form, "");
  new TProbe(&form, "");  // several unnamed components are fine
  try {
    b->SetName("button1");
    ADD_FAILURE() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named button1 already exists");
  }
  try {
    b->SetName("2nd");
    ADD_FAILURE() << "bad identifier accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'2nd' is not a valid component name");
  }
  EXPECT_EQ(b->Name(), "");
  a->SetName("BUTTON1");  // a change of case of its own name
  EXPECT_EQ(a->Name(), "BUTTON1");
  // A component that joins an owner with its name taken is refused.
  auto* stray = new TProbe(nullptr, "Button1");
  EXPECT_THROW(form.InsertComponent(stray), EComponentError);
  EXPECT_EQ(stray->Owner(), nullptr);
  delete stray;
}

TEST_F(ComponentTest, ComponentIndexMovesWithinTheOwner) {
  TProbe form(nullptr, "Form");
  auto* a = new TProbe(&form, "A");
  auto* b = new TProbe(&form, "B");
  auto* c = new TProbe(&form, "C");
  a->SetComponentIndex(5);  // clamped to the end
  EXPECT_EQ(form.Components(0), b);
  EXPECT_EQ(form.Components(1), c);
  EXPECT_EQ(form.Components(2), a);
  c->SetComponentIndex(-3);
  EXPECT_EQ(form.Components(0), c);
}

TEST_F(ComponentTest, ReleaseDefersTheDeleteToTheLoop) {
  gFreed.clear();
  auto* button = new TProbe(nullptr, "Button");
  // Releasing from inside its own event: still alive when the event returns.
  TNotifyEvent onClick = [](TObject* sender) {
    sender->Release();
    sender->Release();  // asked twice, freed once
  };
  onClick(button);
  EXPECT_TRUE(gFreed.empty());
  EXPECT_EQ(DeferredReleaseCount(), 1u);
  EXPECT_EQ(button->Name(), "Button");
  ProcessDeferredReleases();
  EXPECT_EQ(gFreed, (std::vector<String>{"Button"}));
  EXPECT_EQ(DeferredReleaseCount(), 0u);

  // Deleted some other way before the loop came round: not deleted again.
  auto* other = new TProbe(nullptr, "Other");
  other->Release();
  delete other;
  EXPECT_EQ(DeferredReleaseCount(), 0u);
  ProcessDeferredReleases();
}

TEST_F(ComponentTest, ReleasesQueuedWhileDrainingAreDrainedToo) {
  auto* first = new TProbe(nullptr, "First");
  auto* second = new TProbe(nullptr, "Second");
  first->OnDestroy = [second](TObject*) { second->Release(); };
  first->Release();
  ProcessDeferredReleases();
  EXPECT_EQ(gFreed, (std::vector<String>{"First", "Second"}));
}

TEST_F(ComponentTest, ClassInformationAndAssignErrors) {
  TProbe probe(nullptr, "P");
  EXPECT_EQ(probe.ClassName(), "TProbe");
  EXPECT_TRUE(probe.ClassNameIs("tprobe"));
  EXPECT_TRUE(probe.InheritsFrom(TComponent::StaticClass()));
  EXPECT_TRUE(probe.InheritsFrom(String("TPersistent")));
  EXPECT_FALSE(probe.InheritsFrom(TStrings::StaticClass()));
  EXPECT_EQ(probe.ClassParent(), TComponent::StaticClass());

  TComponent plain(nullptr);
  try {
    plain.Assign(&probe);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TComponent");
  }
  try {
    plain.Assign(nullptr);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a nil to a TComponent");
  }
}

}  // namespace
