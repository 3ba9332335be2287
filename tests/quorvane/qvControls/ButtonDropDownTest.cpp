// The button's popup menu and gallery drop-downs: opened by press, strip, Space, Enter and
// the arrow keys, where the menu is anchored, the clicks that follow or do not, a gallery
// that cannot open, and buttons let go while the menu's own loop runs.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "ButtonFixture.h"
#include "qvControls/GalleryMenu.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"

namespace {

class ButtonDropDownTest : public ButtonFixture {
 protected:
  void SetUp() override {
    ButtonFixture::SetUp();
    Menu = new TPopupMenu(nullptr);
    auto* item = new TMenuItem(Menu);
    item->SetCaption("Item");
    Menu->Items()->Add(item);
    // Every popup records the button's state and closes with Esc.
    Menu->OnPopup = [this](TObject*) {
      ++Popups;
      if (Watched) {
        StateInMenu = Watched->GetCtrlState();
        ClicksInMenu = Clicks.size();
      }
      if (InMenu) InMenu();
      Headless()->Inject({.Kind = InputKind::KeyDown, .Key = VK_ESCAPE});
      Headless()->Inject({.Kind = InputKind::KeyUp, .Key = VK_ESCAPE});
    };
  }
  void TearDown() override {
    delete Menu;
    ButtonFixture::TearDown();
  }
  TqvButton* MenuButton(bool Split) {
    TqvButton* b = NewButton(10, 10);
    b->SetDropDownMenu(Menu);
    b->SetSplitButton(Split);
    Watched = b;
    return b;
  }

  TPopupMenu* Menu = nullptr;
  TqvButton* Watched = nullptr;
  int Popups = 0;
  TqvsCtrlState StateInMenu = qvsNormal;
  size_t ClicksInMenu = 0;
  std::function<void()> InMenu;
};

TEST_F(ButtonDropDownTest, ThePressOpensTheMenuOrTheStripDoes) {
  struct Row {
    const char* name;
    bool split;
    int x;  // the strip is 81 .. 100 of the button
    int popups;
    TqvsCtrlState inMenu;
    size_t clicks;
  };
  const Row rows[] = {
      {"plain", false, 40, 1, qvsPressed, 0},
      {"split, body", true, 40, 0, qvsNormal, 1},
      {"split, strip", true, 90, 1, qvsHot, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Popups = 0;
    StateInMenu = qvsNormal;
    Clicks.clear();
    TqvButton* b = MenuButton(r.split);
    ClickAt(10 + r.x, 25);
    EXPECT_EQ(Popups, r.popups);
    if (r.popups) {
      EXPECT_EQ(StateInMenu, r.inMenu);
    }
    EXPECT_EQ(Clicks.size(), r.clicks);
    EXPECT_FALSE(b->MenuTracking());
    EXPECT_NE(b->GetCtrlState(), qvsPressed) << "nothing pressed is left";
    delete b;
  }
}

TEST_F(ButtonDropDownTest, KeysOpenTheMenuAndClickAfterItClosed) {
  TqvButton* b = MenuButton(false);
  b->SetFocus();
  Run();
  Type(VK_SPACE);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(ClicksInMenu, 0u);
  EXPECT_EQ(Clicks.size(), 1u) << "one click, after the menu, none on the key's release";
  Type(VK_RETURN);
  EXPECT_EQ(Popups, 2);
  EXPECT_EQ(Clicks.size(), 2u);
  // The arrow keys are the button's while it has a menu: they open it, without a click.
  Type(VK_DOWN);
  EXPECT_EQ(Popups, 3);
  EXPECT_TRUE(b->Focused());
  EXPECT_EQ(Clicks.size(), 2u);
  b->SetDropDownMenu(nullptr);
  EXPECT_EQ(b->Perform(CM_WANTSPECIALKEY, VK_DOWN, 0), 0);
}

TEST_F(ButtonDropDownTest, TheMenuHangsBelowTheButtonAsItsAlignmentSays) {
  TqvButton* b = MenuButton(false);
  struct Row {
    TPopupAlignment alignment;
    bool rightToLeft;
    int x;
  };
  for (const Row r : {Row{paLeft, false, 10}, Row{paCenter, false, 60}, Row{paRight, false, 110},
                      Row{paLeft, true, 110}}) {
    Menu->SetAlignment(r.alignment);
    b->SetBiDiMode(r.rightToLeft ? bdRightToLeft : bdLeftToRight);
    ClickAt(50, 25);
    EXPECT_EQ(Menu->PopupPoint(), TPoint(r.x, 45)) << r.alignment << " " << r.rightToLeft;
  }
}

TEST_F(ButtonDropDownTest, APressWhileTheMenuIsOpenClosesItWithoutAClick) {
  TqvButton* b = MenuButton(false);
  InMenu = [this] {
    // Once: a menu opened again closes by the Esc alone.
    if (Popups > 1) return;
    Headless()->Inject({.Kind = InputKind::MouseDown, .Screen = {50, 25}, .Button = kButtonLeft});
    Headless()->Inject({.Kind = InputKind::MouseUp, .Screen = {50, 25}, .Button = kButtonLeft});
  };
  ClickAt(50, 25);
  Wait(100);
  EXPECT_EQ(Popups, 1);
  EXPECT_TRUE(Clicks.empty());
  EXPECT_FALSE(b->MenuTracking());
}

TEST_F(ButtonDropDownTest, AButtonReleasedWhileItsMenuLoopRunsWaitsForIt) {
  for (bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Space" : "mouse");
    TqvButton* b = MenuButton(false);
    b->SetFocus();
    Run();
    bool gone = false;
    b->OnDropDown = nullptr;
    struct Watch : TComponent {
      using TComponent::TComponent;
      bool* Gone = nullptr;
      void Notification(TComponent* c, TOperation op) override {
        if (op == opRemove && Gone) *Gone = true;
        TComponent::Notification(c, op);
      }
    };
    Watch watch(nullptr);
    watch.Gone = &gone;
    b->FreeNotification(&watch);
    InMenu = [b] { b->Release(); };
    // The loop drains released objects while it waits for the Esc.
    if (byKey)
      Type(VK_SPACE);
    else
      ClickAt(50, 25);
    InMenu = nullptr;
    Run();
    EXPECT_TRUE(gone);
    Watched = nullptr;
  }
}

// ---- the gallery ----

TImageList* GalleryImages() {
  auto* list = new TImageList(nullptr, 16, 16);
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(32, 16);
  picture.Canvas()->Brush()->SetColor(clRed);
  picture.Canvas()->FillRect({0, 0, 32, 16});
  list->Add(&picture, nullptr);
  return list;
}

TEST_F(ButtonDropDownTest, AGalleryWithoutImagesLeavesTheButtonUnpressed) {
  auto* gallery = new TqvGalleryMenu(nullptr);
  gallery->Items()->Add()->SetCaption("One");
  TqvButton* b = NewButton(10, 10);
  b->SetGalleryMenu(gallery);
  Press(50, 25);
  EXPECT_FALSE(gallery->IsOpen());
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_EQ(b->GetCtrlState(), qvsHot) << "not stuck pressed";
  Release(50, 25);
  EXPECT_TRUE(Clicks.empty());
  b->SetFocus();
  Run();
  Type(VK_SPACE);
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_EQ(b->GetCtrlState(), qvsHot);
  delete b;
  delete gallery;
}

TEST_F(ButtonDropDownTest, AGalleryKeepsTheButtonPressedUntilItCloses) {
  std::unique_ptr<TImageList> images(GalleryImages());
  auto* gallery = new TqvGalleryMenu(nullptr);
  gallery->SetImages(images.get());
  for (int i = 0; i < 2; ++i) gallery->Items()->Add()->SetImageIndex(i);
  TqvButton* b = NewButton(10, 10);
  b->SetGalleryMenu(gallery);
  int paints = 0;
  b->OnPaintContent = [&](TCanvas*, const TRect&, TqvsCtrlState) { ++paints; };
  Press(50, 25);
  EXPECT_TRUE(gallery->IsOpen());
  EXPECT_TRUE(b->MenuTracking());
  EXPECT_EQ(b->GetCtrlState(), qvsPressed);
  gallery->Hide();
  Run();
  EXPECT_FALSE(b->MenuTracking());
  EXPECT_NE(b->GetCtrlState(), qvsPressed);
  // A new selection repaints the button.
  paints = 0;
  gallery->SetItemIndex(1);
  EXPECT_GE(paints, 1);
  // Either may go first.
  delete b;
  gallery->SetItemIndex(0);
  TqvButton* other = NewButton(10, 60);
  other->SetGalleryMenu(gallery);
  delete gallery;
  EXPECT_EQ(other->GalleryMenu(), nullptr);
  ClickAt(50, 75);
  EXPECT_EQ(Clicks.size(), 1u);
}

TEST_F(ButtonDropDownTest, TheButtonCanShowTheGallerysSelection) {
  std::unique_ptr<TImageList> images(GalleryImages());
  auto* gallery = new TqvGalleryMenu(nullptr);
  gallery->SetImages(images.get());
  gallery->Items()->Add()->SetImageIndex(0);
  gallery->SetItemIndex(0);
  TqvButton* b = NewButton(10, 10);
  b->SetCaption("");
  b->SetGalleryMenu(gallery);
  const TRect area{10, 10, 110, 45};
  auto redOnScreen = [&] {
    Run();
    b->Repaint();
    const RECT red = InkOnScreen(area, [](COLORREF c) { return c == RGB(255, 0, 0); });
    return red.Right > red.Left;
  };
  EXPECT_FALSE(redOnScreen());
  b->SetUseGalleryMenuImage(true);
  EXPECT_TRUE(redOnScreen()) << "the selected item's image";
  gallery->SetItemIndex(-1);
  EXPECT_FALSE(redOnScreen()) << "no selection, no image";
  SaveScreenIfFailed("gallery-image");
  delete b;
  delete gallery;
}

}  // namespace
