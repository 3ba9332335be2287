// Menu items, popup menus and main menus: the item tree and its handle, Popup through the
// menu loop with exactly one click of the chosen item, context menus by mouse and keys,
// shortcuts through the form, items, menus and forms freed from their own events, and
// menu items linked to actions.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "backend/Headless.h"
#include "support/AppHooks.h"
#include "vcl/ActnList.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/Queue.h"

namespace {

// A message filter of the menu loop, set by a test.
std::function<void(MSG*)> g_duringLoop;
LRESULT LoopFilter(int code, WPARAM, LPARAM lParam) {
  if (code == MSGF_MENU && g_duringLoop) {
    auto during = g_duringLoop;
    during(reinterpret_cast<MSG*>(lParam));
  }
  return 0;
}

class TPlainControl : public TCustomControl {
  QV_CLASS(TPlainControl, TCustomControl)
  explicit TPlainControl(TComponent* AOwner) : TCustomControl(AOwner) {}
};

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FApplication.emplace();
    Form = NewForm<TForm>(Application);
    Form->SetBounds(100, 100, 500, 400);
    Form->Show();
    Panel = new TPlainControl(Form);
    Panel->SetBounds(20, 20, 200, 150);
    Panel->SetParent(Form);
    Run();
    Hook = SetWindowsHookEx(WH_MSGFILTER, LoopFilter, nullptr, 0);
  }
  void TearDown() override {
    UnhookWindowsHookEx(Hook);
    g_duringLoop = nullptr;
    FApplication.reset();
  }

  static void Run() {
    Application->ProcessMessages();
    ProcessDeferredReleases();
  }
  static void Key(UINT vk, uint32_t modifiers = 0) {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Key = vk, .Modifiers = modifiers});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Key = vk, .Modifiers = modifiers});
  }
  static void Press(InputKind kind, POINT p, int button) {
    Headless()->Inject({.Kind = kind, .Screen = p, .Button = button});
  }
  static void Click(POINT p, int button = kButtonLeft) {
    Press(InputKind::MouseDown, p, button);
    Press(InputKind::MouseUp, p, button);
  }
  // Centre of item i of a menu opened at (x, y) whose items above i are plain items.
  static POINT ItemAt(POINT menu, int i) { return {menu.X + kMenuFrame + 30, menu.Y + kMenuFrame + 22 * i + 11}; }

  // A popup menu owned by the form: "&Open" (Ctrl+O), "&Save", "-", "&Recent" with "One"
  // and "Two"; each click counted by caption.
  TPopupMenu* MakePopup() {
    auto* menu = new TPopupMenu(Form);
    auto count = [this](TObject* Sender) { ++Clicks[static_cast<TMenuItem*>(Sender)->Caption()]; };
    TMenuItem* recent = NewItem("&Recent", scNone, false, true, nullptr);
    recent->Add({NewItem("One", scNone, false, true, count), NewItem("Two", scNone, false, true, count)});
    menu->Items()->Add({NewItem("&Open", scCtrl | 'O', false, true, count), NewItem("&Save", scNone, false, true, count),
                        NewLine(), recent});
    return menu;
  }

 public:
  TForm* Form = nullptr;
  TPlainControl* Panel = nullptr;
  std::map<String, int> Clicks;
  HHOOK Hook = nullptr;

 private:
  std::optional<ScopedApplication> FApplication;
};

// ---- the item tree ----

TEST_F(MenusTest, ItemsFormATreeAndBadIndexesRaise) {
  auto* menu = new TPopupMenu(Form);
  TMenuItem* root = menu->Items();
  TMenuItem* a = NewItem("&A", scNone, false, true, nullptr);
  TMenuItem* b = NewItem("B&&C", scNone, false, true, nullptr);
  TMenuItem* c = NewItem("C", scNone, false, true, nullptr);
  root->Add(a);
  root->Add(c);
  root->Insert(1, b);
  EXPECT_EQ(root->Count(), 3);
  EXPECT_EQ(root->Items(1), b);
  EXPECT_EQ(b->Parent(), root);
  EXPECT_EQ(b->MenuIndex(), 1);
  EXPECT_EQ(c->GetParentMenu(), menu);
  EXPECT_EQ(root->Find("a"), a);
  EXPECT_EQ(root->Find("b&&c"), b);
  EXPECT_EQ(root->Find("BC"), nullptr);
  EXPECT_EQ(StripHotkey("B&&C"), "B&C");
  EXPECT_EQ(GetHotkey("&a"), U'A');
  EXPECT_THROW(root->Items(3), EMenuError);
  TMenuItem* line = NewLine();
  EXPECT_THROW(root->Insert(9, line), EMenuError);
  delete line;
  EXPECT_THROW(root->Add(a), EMenuError) << "inserted twice";
  EXPECT_THROW(a->Add(root), EMenuError) << "inserted into itself";
  c->SetMenuIndex(0);
  EXPECT_EQ(root->Items(0), c);
  root->Remove(b);
  EXPECT_EQ(b->Parent(), nullptr);
  EXPECT_THROW(root->Remove(b), EMenuError);
  delete b;
  root->Delete(0);  // frees C
  EXPECT_EQ(root->Count(), 1);
  EXPECT_EQ(root->Items(0), a);
  root->Clear();
  EXPECT_EQ(root->Count(), 0);
}

TEST_F(MenusTest, CheckingARadioItemUnchecksItsGroupOnly) {
  auto* menu = new TPopupMenu(Form);
  TMenuItem* items[4];
  const int groups[] = {1, 1, 1, 2};
  for (int i = 0; i < 4; ++i) {
    items[i] = new TMenuItem(Form);
    items[i]->SetCaption("R" + std::to_string(i));
    items[i]->SetRadioItem(true);
    items[i]->SetGroupIndex(groups[i]);
    menu->Items()->Add(items[i]);
  }
  items[0]->SetChecked(true);
  items[3]->SetChecked(true);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_FALSE(items[2]->Checked());
  EXPECT_TRUE(items[3]->Checked()) << "another group";
  // AutoCheck: a click checks a radio item and never unchecks it.
  items[2]->SetAutoCheck(true);
  items[2]->Click();
  items[2]->Click();
  EXPECT_TRUE(items[2]->Checked());
  EXPECT_FALSE(items[1]->Checked());
}

TEST_F(MenusTest, TheHandleFollowsTheItems) {
  TPopupMenu* menu = MakePopup();
  TMenuItem* save = menu->Items()->Items(1);
  save->SetChecked(true);
  save->SetRadioItem(true);
  save->SetDefault(true);
  menu->Items()->Items(0)->SetEnabled(false);
  HMENU h = menu->Handle();
  ASSERT_TRUE(IsMenu(h));
  EXPECT_EQ(GetMenuItemCount(h), 4);
  String text;
  GetMenuString(h, 0, &text, MF_BYPOSITION);
  EXPECT_EQ(text, "&Open\tCtrl+O");
  EXPECT_TRUE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED);
  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfo(h, 1, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
  EXPECT_EQ(info.fState & (MFS_CHECKED | MFS_DEFAULT), MFS_CHECKED | MFS_DEFAULT);
  EXPECT_EQ(info.wID, save->Command());
  EXPECT_EQ(info.dwItemData, reinterpret_cast<uintptr_t>(save));
  EXPECT_TRUE(GetMenuState(h, 2, MF_BYPOSITION) & MF_SEPARATOR);
  TMenuItem* recent = menu->Items()->Items(3);
  EXPECT_EQ(GetSubMenu(h, 3), recent->Handle());
  EXPECT_EQ(GetMenuItemCount(recent->Handle()), 2);
  EXPECT_EQ(menu->FindItem(UINT(reinterpret_cast<uintptr_t>(recent->Handle())), fkHandle), recent);
  EXPECT_EQ(menu->FindItem(recent->Items(1)->Command(), fkCommand), recent->Items(1));

  // Changes reach the same handle (a menu loop may be showing it).
  save->SetCaption("Save &as");
  save->SetVisible(false);
  EXPECT_EQ(menu->Handle(), h);
  EXPECT_EQ(GetMenuItemCount(h), 3);
  save->SetVisible(true);
  GetMenuString(h, 1, &text, MF_BYPOSITION);
  EXPECT_EQ(text, "Save &as");
  delete menu;
  EXPECT_FALSE(IsMenu(h));
}

// ---- Popup ----

TEST_F(MenusTest, PopupRunsTheLoopAndClicksTheChosenItemOnce) {
  TPopupMenu* menu = MakePopup();
  int popups = 0, closes = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  menu->OnClose = [&](TObject*) {
    ++closes;
    EXPECT_TRUE(Clicks.empty()) << "OnClose comes before the click";
  };
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  menu->Popup(300, 200);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(Clicks, (std::map<String, int>{{"&Save", 1}}));
  EXPECT_FALSE(menu->Showing());
  EXPECT_EQ(menu->PopupPoint(), (TPoint{300, 200}));
  Run();
  EXPECT_EQ(Clicks, (std::map<String, int>{{"&Save", 1}})) << "no second click from a WM_COMMAND";

  // Into the sub-menu by keys; Escape chooses nothing.
  Clicks.clear();
  Key(VK_UP);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_RETURN);
  menu->Popup(300, 200);
  EXPECT_EQ(Clicks, (std::map<String, int>{{"Two", 1}}));
  Clicks.clear();
  Key(VK_ESCAPE);
  menu->Popup(300, 200);
  EXPECT_TRUE(Clicks.empty());
}

struct AlignCase {
  TPopupAlignment Alignment;
  int Left;  // the menu's left edge for a popup at x 600, W its width
};

TEST_F(MenusTest, AlignmentPlacesTheMenuAtThePoint) {
  TPopupMenu* menu = MakePopup();
  RECT shown{};
  g_duringLoop = [&](MSG*) {
    if (!MenuWindows().empty()) GetWindowRect(MenuWindows()[0], &shown);
    EndMenu();
  };
  for (TPopupAlignment a : {paLeft, paRight, paCenter}) {
    SCOPED_TRACE(int(a));
    menu->SetAlignment(a);
    PostMessage(nullptr, WM_NULL, 0, 0);
    menu->Popup(600, 300);
    const int w = shown.Width();
    const int expected = a == paLeft ? 600 : a == paRight ? 600 - w : 600 - w / 2;
    EXPECT_EQ(shown.Left, expected);
    EXPECT_EQ(shown.Top, 300);
  }
}

TEST_F(MenusTest, ARightClickOpensTheControlsMenuAndAClickChooses) {
  TPopupMenu* menu = MakePopup();
  Panel->SetPopupMenu(menu);
  RECT client{};
  GetWindowRect(Panel->Handle(), &client);
  const POINT p{client.Left + 30, client.Top + 30};
  Click(p, kButtonRight);
  Click(ItemAt(p, 1));
  Run();
  EXPECT_EQ(menu->PopupComponent(), Panel);
  EXPECT_EQ(menu->PopupPoint(), (TPoint{p.X, p.Y}));
  EXPECT_EQ(Clicks, (std::map<String, int>{{"&Save", 1}}));
  EXPECT_FALSE(InMenuLoop());

  // Without AutoPopup the control's menu stays closed.
  Clicks.clear();
  menu->SetAutoPopup(false);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  Click(p, kButtonRight);
  Run();
  EXPECT_EQ(popups, 0);
}

TEST_F(MenusTest, KeysOpenTheContextMenuAtTheControlsCorner) {
  TPopupMenu* menu = MakePopup();
  Form->SetPopupMenu(menu);
  POINT corner{0, 0};
  ClientToScreen(Form->Handle(), &corner);
  for (UINT how : {VK_APPS, VK_F10}) {
    SCOPED_TRACE(how);
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    if (how == VK_F10) {
      Headless()->Inject({.Kind = InputKind::KeyDown, .Key = VK_SHIFT, .Modifiers = kModShift});
      Key(VK_F10, kModShift);
      Headless()->Inject({.Kind = InputKind::KeyUp, .Key = VK_SHIFT});
    } else {
      Key(VK_APPS);
    }
    Key(VK_ESCAPE);
    Run();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupPoint(), (TPoint{corner.X, corner.Y}));
    EXPECT_EQ(menu->PopupComponent(), Form);
  }
}

// ---- freeing things from their own events ----

struct FreeCase {
  const char* Name;
  std::function<void(MenusTest*, TPopupMenu*, TMenuItem*)> Free;
};

TEST_F(MenusTest, AnItemItsMenuOrTheFormMayGoInOnClick) {
  const FreeCase cases[] = {
      {"the item", [](MenusTest*, TPopupMenu*, TMenuItem* item) { delete item; }},
      {"its parent item", [](MenusTest*, TPopupMenu*, TMenuItem* item) { delete item->Parent(); }},
      {"the menu", [](MenusTest*, TPopupMenu* menu, TMenuItem*) { delete menu; }},
      {"the form that owns the menu", [](MenusTest* t, TPopupMenu*, TMenuItem*) {
         t->Form->Free();
         t->Form = nullptr;
       }},
  };
  for (const FreeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    if (!Form) {
      Form = NewForm<TForm>(Application);
      Form->Show();
    }
    TPopupMenu* menu = MakePopup();
    TMenuItem* two = menu->Items()->Items(3)->Items(1);
    int clicks = 0;
    two->OnClick = [&, menu](TObject* Sender) {
      ++clicks;
      c.Free(this, menu, static_cast<TMenuItem*>(Sender));
    };
    Key(VK_UP);
    Key(VK_RIGHT);
    Key(VK_DOWN);
    Key(VK_RETURN);
    menu->Popup(300, 200);
    EXPECT_EQ(clicks, 1);
    Run();
  }
}

TEST_F(MenusTest, TheMenuOrItsFormMayGoWhileTheLoopRuns) {
  for (bool freeForm : {false, true}) {
    SCOPED_TRACE(freeForm ? "form" : "menu");
    if (!Form) {
      Form = NewForm<TForm>(Application);
      Form->Show();
    }
    TPopupMenu* menu = MakePopup();
    int closes = 0;
    menu->OnClose = [&](TObject*) { ++closes; };
    g_duringLoop = [&](MSG*) {
      g_duringLoop = nullptr;
      if (freeForm) {
        Form->Free();
        Form = nullptr;
      } else {
        delete menu;
      }
    };
    Key(VK_DOWN);
    Key(VK_RETURN);
    menu->Popup(300, 200);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_EQ(closes, 0) << "a freed menu tells nothing";
    EXPECT_TRUE(Clicks.empty());
    ResetQueue();
    Run();
  }
}

TEST_F(MenusTest, ALoopThatRaisesLeavesTheMenuReadyForTheNext) {
  TPopupMenu* menu = MakePopup();
  g_duringLoop = [](MSG*) {
    g_duringLoop = nullptr;
    throw std::runtime_error("raised inside the menu loop");
  };
  PostMessage(nullptr, WM_NULL, 0, 0);
  EXPECT_THROW(menu->Popup(300, 200), std::runtime_error);
  EXPECT_FALSE(menu->Showing());
  EXPECT_FALSE(InMenuLoop());
  EXPECT_TRUE(MenuWindows().empty());
  Key(VK_DOWN);
  Key(VK_RETURN);
  menu->Popup(300, 200);
  EXPECT_EQ(Clicks, (std::map<String, int>{{"&Open", 1}}));
}

TEST_F(MenusTest, APopupComponentThatGoesIsForgotten) {
  TPopupMenu* menu = MakePopup();
  auto* other = new TPlainControl(Form);
  menu->SetPopupComponent(other);
  delete other;
  EXPECT_EQ(menu->PopupComponent(), nullptr);
}

// ---- shortcuts and the main menu ----

TEST_F(MenusTest, ShortCutsOfTheFormsMenusClickTheirItemOnce) {
  TPopupMenu* popup = MakePopup();
  Panel->SetPopupMenu(popup);
  auto* main = new TMainMenu(Form);
  int saves = 0;
  TMenuItem* file = NewItem("&File", scNone, false, true, nullptr);
  TMenuItem* saveItem = NewItem("&Save", scCtrl | 'S', false, true, [&](TObject*) { ++saves; });
  file->Add(saveItem);
  main->Items()->Add(file);
  Form->SetMenu(main);
  auto* list = new TActionList(Form);
  auto* action = new TAction(Form);
  action->SetActionList(list);
  action->SetShortCut(scCtrl | 'K');
  int executes = 0;
  action->OnExecute = [&](TObject*) { ++executes; };
  Panel->SetFocus();
  Run();
  auto ctrlKey = [](UINT vk) {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Key = VK_CONTROL, .Modifiers = kModCtrl});
    Key(vk, kModCtrl);
    Headless()->Inject({.Kind = InputKind::KeyUp, .Key = VK_CONTROL});
  };
  ctrlKey('S');
  ctrlKey('O');  // the panel's popup menu
  ctrlKey('K');  // the form's action list
  Run();
  EXPECT_EQ(saves, 1);
  EXPECT_EQ(Clicks, (std::map<String, int>{{"&Open", 1}}));
  EXPECT_EQ(executes, 1);
  // A disabled item's shortcut does nothing, nor does a disabled parent's.
  saveItem->SetEnabled(false);
  ctrlKey('S');
  saveItem->SetEnabled(true);
  file->SetEnabled(false);
  ctrlKey('S');
  Run();
  EXPECT_EQ(saves, 1);
}

TEST_F(MenusTest, TheMainMenuIsTheFormsMenuBar) {
  RECT before{};
  GetClientRect(Form->Handle(), &before);
  auto* main = new TMainMenu(Form);
  int saves = 0;
  TMenuItem* file = NewItem("&File", scNone, false, true, nullptr);
  file->Add({NewItem("&Open", scNone, false, true, nullptr),
             NewItem("&Save", scNone, false, true, [&](TObject*) { ++saves; })});
  main->Items()->Add({file, NewItem("&Help", scNone, false, true, nullptr)});
  Form->SetMenu(main);
  EXPECT_EQ(GetMenu(Form->Handle()), main->Handle());
  RECT after{};
  GetClientRect(Form->Handle(), &after);
  EXPECT_EQ(before.Height() - after.Height(), GetSystemMetrics(SM_CYMENU));
  RECT item{};
  ASSERT_TRUE(GetMenuItemRect(Form->Handle(), main->Handle(), 0, &item));
  Click({item.Left + 4, item.Top + 4});
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Run();
  EXPECT_EQ(saves, 1);
  // A new item shows at once.
  main->Items()->Add(NewItem("&Window", scNone, false, true, nullptr));
  EXPECT_EQ(GetMenuItemCount(GetMenu(Form->Handle())), 3);
  delete main;
  EXPECT_EQ(Form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(Form->Handle()), nullptr);
}

TEST_F(MenusTest, AnItemFollowsItsActionAndExecutesIt) {
  TPopupMenu* menu = MakePopup();
  auto* action = new TAction(Form);
  action->SetCaption("&Print");
  action->SetShortCut(scCtrl | 'P');
  int executes = 0;
  action->OnExecute = [&](TObject*) { ++executes; };
  auto* item = new TMenuItem(Form);
  menu->Items()->Add(item);
  item->SetAction(action);
  EXPECT_EQ(item->Caption(), "&Print");
  EXPECT_EQ(item->ShortCut(), TShortCut(scCtrl | 'P'));
  action->SetEnabled(false);
  EXPECT_FALSE(item->Enabled());
  action->SetEnabled(true);
  item->Click();
  EXPECT_EQ(executes, 1);
  delete action;
  EXPECT_EQ(item->Action(), nullptr);
  item->Click();
  EXPECT_EQ(executes, 1);
}

}  // namespace
