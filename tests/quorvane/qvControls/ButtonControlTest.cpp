// The behaviour every button shares, driven by injected mouse and keys on the virtual
// clock: press states, exclusive groups and AllowAllUp, the drop-down kinds and the split
// strip, repeated clicks, keys and accelerators, DisableClick, actions, the glow cache
// key, and buttons let go from inside their own events and timers.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ButtonFixture.h"
#include "vcl/ActnList.h"
#include "vcl/ImgList.h"

namespace {

// A button that says when it is gone and opens its protected parts to the tests.
class TProbeButton : public TqvButton {
  QV_CLASS(TProbeButton, TqvButton)
  explicit TProbeButton(TComponent* AOwner) : TqvButton(AOwner) {}
  ~TProbeButton() override {
    if (Destroyed) *Destroyed = true;
  }
  using TqvCustomButtonControl::GlowBufferChanged;
  bool* Destroyed = nullptr;
};

class ButtonControlTest : public ButtonFixture {
 protected:
  TProbeButton* NewProbe(int X, int Y, bool* Destroyed) {
    auto* b = Make<TProbeButton>(Host, {X, Y, X + 100, Y + 35});
    b->SetCaption("Probe");
    b->Destroyed = Destroyed;
    return b;
  }
};

TEST_F(ButtonControlTest, PressStatesFollowTheMouse) {
  TqvButton* b = NewButton(10, 10);
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsNormal);
  Mouse(InputKind::MouseMove, 50, 25);
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsHot);
  Press(50, 25);
  EXPECT_EQ(b->GetCtrlState(), qvsPressed);
  // Dragged out while held: no longer pressed, and the release outside clicks nothing.
  Mouse(InputKind::MouseMove, 300, 200);
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsFocused) << "the press took the focus";
  Release(300, 200);
  EXPECT_TRUE(Clicks.empty());
  ClickAt(50, 25);
  EXPECT_EQ(Clicks, std::vector<int>{0});
  b->SetEnabled(false);
  EXPECT_EQ(b->GetCtrlState(), qvsDisabled);
  b->SetDown(true);
  EXPECT_EQ(b->GetCtrlState(), qvsPressed) << "down wins over disabled";
}

TEST_F(ButtonControlTest, AButtonDisabledWhileHeldComesBackUnpressed) {
  TqvButton* b = NewButton(10, 10);
  b->SetRepeatClick(true);
  Press(50, 25);
  b->SetEnabled(false);
  Release(50, 25);
  Wait(1000);
  b->SetEnabled(true);
  Mouse(InputKind::MouseMove, 52, 25);
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsHot);
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonControlTest, GroupsKeepOneButtonDown) {
  struct Step {
    int press;                 // which button is clicked
    bool allowAllUp;
    std::vector<bool> down;    // afterwards
    std::vector<int> clicks;   // fired by the click
  };
  const Step steps[] = {
      {0, false, {true, false, false}, {0}},
      {1, false, {false, true, false}, {1}},  // 0 is raised without a click
      {1, false, {false, true, false}, {}},   // the down button stays down, silently
      {2, true, {false, false, true}, {2}},
      {2, true, {false, false, false}, {2}},  // AllowAllUp: raised on release, one click
  };
  TqvButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = NewButton(10 + i * 110, 10, i);
    b[i]->SetGroupIndex(1);
  }
  TqvButton* other = NewButton(10, 60, 9);
  other->SetGroupIndex(2);
  other->SetDown(true);
  Clicks.clear();
  int n = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(n++));
    for (TqvButton* x : b) x->SetAllowAllUp(s.allowAllUp);
    Clicks.clear();
    ClickAt(60 + s.press * 110, 25);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b[i]->Down(), s.down[i]) << "button " << i;
    EXPECT_EQ(Clicks, s.clicks);
    EXPECT_TRUE(other->Down()) << "another group is left alone";
  }
  // A release raises it, not the press.
  b[1]->SetAllowAllUp(true);
  ClickAt(170, 25);
  ASSERT_TRUE(b[1]->Down());
  Clicks.clear();
  Press(170, 25);
  EXPECT_TRUE(b[1]->Down());
  Release(170, 25);
  EXPECT_FALSE(b[1]->Down());
  EXPECT_EQ(Clicks, std::vector<int>{1});
}

TEST_F(ButtonControlTest, DisableClickSilencesMouseKeysAndDown) {
  TqvButton* b = NewButton(10, 10);
  b->SetDisableClick(true);
  ClickAt(50, 25);
  b->SetFocus();
  Run();
  Type(VK_SPACE);
  Type(VK_RETURN);
  b->SetGroupIndex(3);
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_TRUE(Clicks.empty());
  b->SetDisableClick(false);
  b->SetDown(false);
  b->SetGroupIndex(0);
  ClickAt(50, 25);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(ButtonControlTest, RepeatClicksOnTheVirtualClock) {
  TqvButton* b = NewButton(10, 10);
  b->SetRepeatClick(true);
  b->SetRepeatClickInterval(100);
  Press(50, 25);
  struct Tick {
    int at;
    size_t clicks;
  };
  // The first repeat comes 500 ms plus one interval after the press.
  const Tick ticks[] = {{100, 0}, {499, 0}, {500, 0}, {599, 0}, {600, 1}, {700, 2}, {800, 3}, {900, 4}, {1000, 5}};
  int now = 0;
  for (const Tick& t : ticks) {
    Wait(t.at - now);
    now = t.at;
    EXPECT_EQ(Clicks.size(), t.clicks) << "at " << t.at << " ms";
  }
  Release(50, 25);
  EXPECT_EQ(Clicks.size(), 6u) << "the release clicks once more";
  Wait(1000);
  EXPECT_EQ(Clicks.size(), 6u) << "the timer stopped";
}

TEST_F(ButtonControlTest, RepeatClicksPauseOutsideAndStartAgainWithTheDelay) {
  TqvButton* b = NewButton(10, 10);
  b->SetRepeatClick(true);
  b->SetRepeatClickInterval(100);
  Press(50, 25);
  Wait(600);
  ASSERT_EQ(Clicks.size(), 1u);
  Mouse(InputKind::MouseMove, 300, 200);
  Run();
  Wait(1000);
  EXPECT_EQ(Clicks.size(), 1u) << "no repeats outside";
  Mouse(InputKind::MouseMove, 50, 25);
  Run();
  Wait(599);
  EXPECT_EQ(Clicks.size(), 1u) << "the delay starts again";
  Wait(1);
  EXPECT_EQ(Clicks.size(), 2u);
  // Released outside: no final click.
  Mouse(InputKind::MouseMove, 300, 200);
  Run();
  Release(300, 200);
  Wait(1000);
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(ButtonControlTest, TwoRepeatButtonsAtOnce) {
  TqvButton* byKey = NewButton(10, 10, 1);
  TqvButton* byMouse = NewButton(10, 60, 2);
  for (TqvButton* x : {byKey, byMouse}) {
    x->SetRepeatClick(true);
    x->SetRepeatClickInterval(100);
  }
  byMouse->SetCanFocused(false);  // keeps the focus (and the key) on the other
  byKey->SetFocus();
  Run();
  Key(VK_SPACE, true);
  Press(50, 75);
  Wait(1000);
  EXPECT_EQ(std::count(Clicks.begin(), Clicks.end(), 1), 5);
  EXPECT_EQ(std::count(Clicks.begin(), Clicks.end(), 2), 5);
  Release(50, 75);
  Key(VK_SPACE, false);
  EXPECT_EQ(std::count(Clicks.begin(), Clicks.end(), 1), 6);
  EXPECT_EQ(std::count(Clicks.begin(), Clicks.end(), 2), 6);
}

TEST_F(ButtonControlTest, KeysClickTheFocusedButton) {
  TqvButton* b = NewButton(10, 10);
  b->SetFocus();
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsFocused);
  Key(VK_SPACE, true);
  EXPECT_EQ(b->GetCtrlState(), qvsPressed);
  EXPECT_TRUE(Clicks.empty()) << "Space clicks on release";
  Key(VK_SPACE, false);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_EQ(b->GetCtrlState(), qvsFocused);
  Key(VK_RETURN, true);
  EXPECT_EQ(Clicks.size(), 2u) << "Enter clicks on press";
  Key(VK_RETURN, false);
  EXPECT_EQ(Clicks.size(), 2u);
  // A button that takes no focus takes no keys either.
  b->SetCanFocused(false);
  EXPECT_FALSE(b->TabStop());
  Type(VK_SPACE);
  EXPECT_EQ(Clicks.size(), 2u);
}

TEST_F(ButtonControlTest, AKeyPressEndsWithoutAClickWhenTheFocusMoves) {
  TqvButton* b = NewButton(10, 10, 1);
  TqvButton* other = NewButton(10, 60, 2);
  b->SetFocus();
  Run();
  Key(VK_SPACE, true);
  ASSERT_EQ(b->GetCtrlState(), qvsPressed);
  other->SetFocus();
  Run();
  EXPECT_EQ(b->GetCtrlState(), qvsNormal);
  Key(VK_SPACE, false);
  EXPECT_TRUE(Clicks.empty()) << "the release reached the other button, which was not pressed";
}

TEST_F(ButtonControlTest, KeysLatchGroupButtons) {
  TqvButton* b = NewButton(10, 10);
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  b->SetFocus();
  Run();
  Type(VK_SPACE);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(Clicks.size(), 1u);
  Key(VK_SPACE, true);
  EXPECT_TRUE(b->Down()) << "raised on the key's release";
  Key(VK_SPACE, false);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(Clicks.size(), 2u);
  Type(VK_RETURN);
  EXPECT_TRUE(b->Down());
  Type(VK_RETURN);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(Clicks.size(), 4u);
}

TEST_F(ButtonControlTest, AnAcceleratorFocusesTheButton) {
  TqvButton* b = NewButton(10, 10);
  b->SetCaption("&Open");
  TqvButton* other = NewButton(10, 60);
  other->SetFocus();
  Run();
  EXPECT_EQ(Host->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_FALSE(b->Focused());
  EXPECT_NE(Host->Perform(CM_DIALOGCHAR, 'o', 0), 0);
  EXPECT_TRUE(b->Focused());
  b->SetCanFocused(false);
  other->SetFocus();
  EXPECT_EQ(Host->Perform(CM_DIALOGCHAR, 'O', 0), 0);
}

// ---- the custom drop-down ----

struct DropDownCase {
  const char* name;
  bool split;
  int x;              // where the press goes (the strip is 81 .. 100)
  int dropDowns;      // OnDropDown while held
  bool trackingHeld;  // the drop-down is open after the release
  size_t clicks;
};

TEST_F(ButtonControlTest, CustomDropDownAndTheSplitStrip) {
  const DropDownCase cases[] = {
      {"plain, body", false, 40, 1, true, 1},
      {"split, body", true, 40, 0, false, 1},
      {"split, strip", true, 90, 1, true, 0},
  };
  for (const DropDownCase& c : cases) {
    SCOPED_TRACE(c.name);
    Clicks.clear();
    TqvButton* b = NewButton(10, 10);
    b->SetCustomDropDown(true);
    b->SetSplitButton(c.split);
    int dropDowns = 0, closeUps = 0;
    bool accepted = false;
    b->OnDropDown = [&](TObject*) { ++dropDowns; };
    b->OnCloseUp = [&](TObject*, bool accept) {
      ++closeUps;
      accepted = accept;
    };
    Press(10 + c.x, 25);
    EXPECT_EQ(dropDowns, c.dropDowns);
    if (c.split && c.x > 80) {
      EXPECT_EQ(b->GetCtrlState(), qvsHot) << "opened from the strip";
    }
    Release(10 + c.x, 25);
    EXPECT_EQ(b->MenuTracking(), c.trackingHeld);
    EXPECT_EQ(Clicks.size(), c.clicks);
    if (c.trackingHeld) {
      b->CloseUp(true);
      EXPECT_FALSE(b->MenuTracking());
      EXPECT_FALSE(b->MenuDroppedDown());
      EXPECT_EQ(closeUps, 1);
      EXPECT_TRUE(accepted);
    }
    Mouse(InputKind::MouseMove, 300, 200);
    Run();
    EXPECT_EQ(b->GetCtrlState(), qvsFocused) << "nothing pressed is left";
    delete b;
  }
}

TEST_F(ButtonControlTest, ASecondPressWhileTheCustomDropDownIsOpenClosesIt) {
  TqvButton* b = NewButton(10, 10);
  b->SetCustomDropDown(true);
  b->SetSplitButton(true);
  int dropDowns = 0, closeUps = 0;
  b->OnDropDown = [&](TObject*) { ++dropDowns; };
  b->OnCloseUp = [&](TObject*, bool accept) {
    ++closeUps;
    EXPECT_FALSE(accept);
  };
  ClickAt(100, 25);
  ASSERT_TRUE(b->MenuTracking());
  ClickAt(100, 25);
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(closeUps, 1);
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_TRUE(Clicks.empty());
}

TEST_F(ButtonControlTest, SpaceOnACustomDropDownClicksOnce) {
  TqvButton* b = NewButton(10, 10);
  b->SetCustomDropDown(true);
  int dropDowns = 0;
  b->OnDropDown = [&](TObject*) { ++dropDowns; };
  b->SetFocus();
  Run();
  Type(VK_SPACE);
  EXPECT_EQ(dropDowns, 1);
  EXPECT_EQ(Clicks.size(), 1u);
  EXPECT_TRUE(b->MenuTracking()) << "open until CloseUp";
  EXPECT_EQ(b->GetCtrlState(), qvsPressed);
  b->CloseUp(false);
  EXPECT_EQ(b->GetCtrlState(), qvsFocused);
  // Enter opens it and does not click while it is open.
  Type(VK_RETURN);
  EXPECT_EQ(dropDowns, 2);
  EXPECT_EQ(Clicks.size(), 1u);
  b->CloseUp(true);
  // The next Space clicks again, once.
  Type(VK_SPACE);
  EXPECT_EQ(Clicks.size(), 2u);
}

// ---- actions ----

TEST_F(ButtonControlTest, AnActionGivesImagesAndRunsOnClick) {
  auto* list = new TActionList(nullptr);
  auto* images = new TImageList(nullptr, 16, 16);
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(48, 16);
  images->Add(&picture, nullptr);
  list->SetImages(images);
  auto* action = new TAction(nullptr);
  action->SetActionList(list);
  action->SetCaption("Run");
  action->SetImageIndex(2);
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };

  auto* b = Make<TqvButton>(Host, {10, 10, 110, 45});
  b->SetAction(action);
  EXPECT_EQ(b->Caption(), "Run");
  EXPECT_EQ(b->Images(), images);
  EXPECT_EQ(b->ImageIndex(), 2);
  action->SetImageIndex(1);
  EXPECT_EQ(b->ImageIndex(), 1) << "follows the action";
  ClickAt(50, 25);
  EXPECT_EQ(executed, 1);

  auto* own = Make<TqvButton>(Host, {10, 60, 110, 95});
  own->SetUseImagesFromAction(false);
  own->SetUseImageIndexFromAction(false);
  own->SetAction(action);
  EXPECT_EQ(own->Images(), nullptr);
  EXPECT_EQ(own->ImageIndex(), -1);
  own->SetDisableClick(true);
  ClickAt(50, 75);
  EXPECT_EQ(executed, 1);

  delete b;
  delete own;
  delete action;
  delete list;
  delete images;
}

// ---- the glow cache ----

TEST_F(ButtonControlTest, TheGlowKeyNoticesEveryValueThatShapesTheGlow) {
  bool gone = false;
  TProbeButton* b = NewProbe(10, 10, &gone);
  b->GlowEffect()->SetEnabled(true);
  TBitmap bmp;
  bmp.SetSize(10, 10);
  TCanvas* c = bmp.Canvas();
  const TRect r{3, 3, 97, 32};
  auto changed = [&] { return b->GlowBufferChanged(c, clRed, nullptr, -1, r, 255, 7); };
  EXPECT_TRUE(changed()) << "built the first time";
  EXPECT_FALSE(changed());
  struct Change {
    const char* name;
    std::function<void()> apply;
  };
  const Change changes[] = {
      {"Intensive", [&] { b->GlowEffect()->SetIntensive(!b->GlowEffect()->Intensive()); }},
      {"Offset", [&] { b->GlowEffect()->SetOffset(3); }},
      {"caption", [&] { b->SetCaption("Other"); }},
      {"spacing", [&] { b->SetSpacing(4); }},
      {"font", [&] { c->Font()->SetHeight(-20); }},
      {"width", [&] { b->SetWidth(120); }},
  };
  for (const Change& ch : changes) {
    ch.apply();
    EXPECT_TRUE(changed()) << ch.name;
    EXPECT_FALSE(changed()) << ch.name << ", asked again";
  }
  // Intensive changed while the effect was off (no change event) still counts.
  b->GlowEffect()->SetEnabled(false);
  b->GlowEffect()->SetIntensive(!b->GlowEffect()->Intensive());
  EXPECT_TRUE(changed());
}

// ---- lifetimes ----

TEST_F(ButtonControlTest, AButtonReleasedFromItsOwnEventsGoesSafely) {
  for (int kind = 0; kind < 6; ++kind) {
    SCOPED_TRACE(kind);
    bool gone = false;
    TProbeButton* b = NewProbe(10, 10, &gone);
    auto let = [b](TObject*) { b->Release(); };
    switch (kind) {
      case 0:  // the mouse's click
        b->OnClick = let;
        ClickAt(50, 25);
        break;
      case 1:  // Space's click
        b->OnClick = let;
        b->SetFocus();
        Run();
        Type(VK_SPACE);
        break;
      case 2:  // a repeated click while the button is still held
        b->OnClick = let;
        b->SetRepeatClick(true);
        Press(50, 25);
        Wait(600);
        EXPECT_TRUE(gone);
        Release(50, 25);
        break;
      case 3:  // the click of Down
        b->OnClick = let;
        b->SetDown(true);
        EXPECT_FALSE(gone);
        Run();
        break;
      case 4:  // OnDropDown
        b->SetCustomDropDown(true);
        b->OnDropDown = let;
        ClickAt(50, 25);
        break;
      case 5:  // OnCloseUp
        b->SetCustomDropDown(true);
        b->OnCloseUp = [b](TObject*, bool) { b->Release(); };
        ClickAt(50, 25);
        b->CloseUp(true);
        Run();
        break;
    }
    EXPECT_TRUE(gone);
    // The host is still fine, and the mouse still works over the empty place.
    ClickAt(50, 25);
  }
}

TEST_F(ButtonControlTest, AButtonFreedWhileItsRepeatTimerRuns) {
  bool gone = false;
  TProbeButton* b = NewProbe(10, 10, &gone);
  b->SetRepeatClick(true);
  Press(50, 25);
  Wait(300);
  delete b;
  EXPECT_TRUE(gone);
  Wait(1000);
  Release(50, 25);
  EXPECT_TRUE(Clicks.empty());
}

}  // namespace
