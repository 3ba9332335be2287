#include <cctype>

#include <algorithm>

#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Edge.h"
#include "gdi/Objects.h"
#include "support/WinTest.h"
#include "win/MenuLoop.h"
#include "win/NonClient.h"
#include "win/Paint.h"

namespace {

// The menu of most tests: "&Alpha", a separator, "&Beta" (disabled), "&Cat", "&Dog" with
// the sub-menu "Dog&1", "Dog&2". Commands 11, 12, 13; 21, 22.
enum : UINT { kAlpha = 11, kBeta = 12, kCat = 13, kDog1 = 21, kDog2 = 22 };
constexpr int kX = 300, kY = 200;  // where the menus open

// Centre of item i of a menu window whose top-left corner is (left, top), for the menu
// above (items 22 high, the separator 9, a frame of 3).
POINT ItemCentre(int left, int top, int index) {
  static const int kTops[] = {0, 22, 31, 53, 75};
  return {left + kMenuFrame + 40, top + kMenuFrame + kTops[index] + (index == 1 ? 4 : 11)};
}

// A message filter run for every message of the loop; set by a test, cleared after it.
std::function<bool(MSG*)> g_filter;
int g_filterCalls = 0;
LRESULT FilterProc(int code, WPARAM, LPARAM lParam) {
  if (code != MSGF_MENU) return 0;
  ++g_filterCalls;
  return g_filter && g_filter(reinterpret_cast<MSG*>(lParam)) ? 1 : 0;
}

class MenuTest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    Owner = Top("Owner", {100, 100, 700, 600});
    Run();
    SetFocus(Owner);
    MakeMenu();
    Hook = SetWindowsHookEx(WH_MSGFILTER, FilterProc, nullptr, 0);
    ClearLog();
  }
  void TearDown() override {
    UnhookWindowsHookEx(Hook);
    g_filter = nullptr;
    g_filterCalls = 0;
    WindowCreatedHook = nullptr;
    DestroyMenu(Menu);
    WinTest::TearDown();
  }

  void MakeMenu() {
    Menu = CreatePopupMenu();
    Sub = CreatePopupMenu();
    AppendMenu(Sub, MF_STRING, kDog1, "Dog&1");
    AppendMenu(Sub, MF_STRING, kDog2, "Dog&2");
    AppendMenu(Menu, MF_STRING, kAlpha, "&Alpha\tCtrl+A");
    AppendMenu(Menu, MF_SEPARATOR, 0, "");
    AppendMenu(Menu, MF_STRING | MF_GRAYED, kBeta, "&Beta");
    AppendMenu(Menu, MF_STRING, kCat, "&Cat");
    AppendMenu(Menu, MF_POPUP, reinterpret_cast<uintptr_t>(Sub), "&Dog");
  }
  static void Key(UINT vk, uint32_t modifiers = 0) {
    Inject({.Kind = InputKind::KeyDown, .Key = vk, .Modifiers = modifiers});
    Inject({.Kind = InputKind::KeyUp, .Key = vk, .Modifiers = modifiers});
  }
  static void Char(char c) {
    const UINT vk = UINT(std::toupper(static_cast<unsigned char>(c)));
    Inject({.Kind = InputKind::KeyDown, .Key = vk});
    Inject({.Kind = InputKind::Text, .Text = String(1, c)});
    Inject({.Kind = InputKind::KeyUp, .Key = vk});
  }
  static void Mouse(InputKind kind, POINT p, int button = 0) {
    Inject({.Kind = kind, .Screen = p, .Button = button});
  }
  static void Click(POINT p, int button = kButtonLeft) {
    Mouse(InputKind::MouseDown, p, button);
    Mouse(InputKind::MouseUp, p, button);
  }
  // Runs the loop over the input queued so far; answers what TrackPopupMenuEx answered.
  UINT Track(UINT flags = TPM_RETURNCMD, int x = kX, int y = kY) {
    return UINT(TrackPopupMenuEx(Menu, flags, x, y, Owner, nullptr));
  }
  std::vector<RecordedMessage> Commands() const { return Messages({WM_COMMAND}); }

 public:
  HWND Owner = nullptr;
  HMENU Menu = nullptr;
  HMENU Sub = nullptr;
  HHOOK Hook = nullptr;
};

// ---- keyboard ----

struct KeyCase {
  const char* Name;
  std::vector<UINT> Keys;  // a letter is typed as a character
  UINT Chosen;
};

TEST_F(MenuTest, KeysMoveOpenCloseAndChoose) {
  const KeyCase cases[] = {
      {"down chooses the first item", {VK_DOWN, VK_RETURN}, kAlpha},
      {"separator and disabled item skipped", {VK_DOWN, VK_DOWN, VK_RETURN}, kCat},
      {"down wraps to the top", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, kAlpha},
      {"up from nothing is the last item", {VK_UP, VK_UP, VK_RETURN}, kCat},
      {"enter on a sub-menu opens it at its first item", {VK_UP, VK_RETURN, VK_RETURN}, kDog1},
      {"right opens, down moves in the sub-menu", {VK_UP, VK_RIGHT, VK_DOWN, VK_RETURN}, kDog2},
      {"escape closes one level only", {VK_UP, VK_RIGHT, VK_ESCAPE, VK_DOWN, VK_RETURN}, kAlpha},
      {"left closes the sub-menu", {VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_RETURN}, kCat},
      {"escape on the top level closes the menu", {VK_DOWN, VK_ESCAPE}, 0},
      {"two escapes close both levels", {VK_UP, VK_RIGHT, VK_ESCAPE, VK_ESCAPE}, 0},
      {"mnemonic chooses", {'c'}, kCat},
      {"mnemonic opens a sub-menu, another chooses in it", {'d', '2'}, kDog2},
      {"mnemonic of a disabled item chooses nothing", {'b', VK_ESCAPE}, 0},
      {"enter without a hot item does nothing", {VK_RETURN, VK_ESCAPE}, 0},
      {"home goes to the first item", {VK_UP, VK_HOME, VK_RETURN}, kAlpha},
      {"end goes to the last item", {VK_END, VK_UP, VK_RETURN}, kCat},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.Name);
    for (UINT k : c.Keys) {
      if (k >= '0' && k <= 'z' && std::isalnum(int(k)))
        Char(char(k));
      else
        Key(k);
    }
    EXPECT_EQ(Track(), c.Chosen);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_TRUE(MenuWindows().empty());
    Run();
    EXPECT_TRUE(Commands().empty()) << "TPM_RETURNCMD posts nothing";
  }
}

TEST_F(MenuTest, AnUnknownCharacterAsksTheOwnerWithMenuChar) {
  Answer(Owner, WM_MENUCHAR, [](HWND, WPARAM, LPARAM) -> LRESULT { return MAKELRESULT(4, MNC_SELECT); });
  Char('x');  // the owner selects item 4 (Dog)
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_EQ(Track(), UINT(kDog1));
  const auto asked = Messages({WM_MENUCHAR});
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(LOWORD(asked[0].WParam), 'X');
  EXPECT_EQ(reinterpret_cast<HMENU>(asked[0].LParam), Menu);

  ClearLog();
  Answer(Owner, WM_MENUCHAR, [](HWND, WPARAM, LPARAM) -> LRESULT { return MAKELRESULT(3, MNC_EXECUTE); });
  Char('x');
  EXPECT_EQ(Track(), UINT(kCat));
  Answer(Owner, WM_MENUCHAR, [](HWND, WPARAM, LPARAM) -> LRESULT { return MAKELRESULT(0, MNC_CLOSE); });
  Char('x');
  EXPECT_EQ(Track(), 0u);
}

TEST_F(MenuTest, TheKeyThatOpenedTheMenuRepeatingChoosesNothing) {
  // Keys held down when the menu opened repeat into it: they neither move nor choose
  // (fresh, Down and Enter would choose Alpha).
  Inject({.Kind = InputKind::KeyDown, .Key = VK_DOWN, .Repeat = true});
  Inject({.Kind = InputKind::KeyDown, .Key = VK_RETURN, .Repeat = true});
  Key(VK_ESCAPE);
  EXPECT_EQ(Track(), 0u);
}

// ---- notifications ----

TEST_F(MenuTest, NotificationsComeInOrderAndTheCommandIsPostedOnce) {
  Key(VK_UP);
  Key(VK_RIGHT);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Track(0), TRUE);
  const std::initializer_list<UINT> kinds = {WM_ENTERMENULOOP, WM_INITMENU,   WM_INITMENUPOPUP, WM_MENUSELECT,
                                             WM_UNINITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND};
  std::vector<RecordedMessage> log = Messages(kinds);
  std::vector<std::pair<UINT, uintptr_t>> got;
  for (const RecordedMessage& m : log) {
    uintptr_t arg = 0;
    if (m.Message == WM_INITMENU || m.Message == WM_INITMENUPOPUP || m.Message == WM_UNINITMENUPOPUP)
      arg = m.WParam;
    if (m.Message == WM_MENUSELECT) arg = LOWORD(m.WParam) | (uintptr_t(HIWORD(m.WParam)) << 16);
    got.emplace_back(m.Message, arg);
  }
  const auto menu = reinterpret_cast<uintptr_t>(Menu), sub = reinterpret_cast<uintptr_t>(Sub);
  const std::vector<std::pair<UINT, uintptr_t>> expected = {
      {WM_ENTERMENULOOP, 0},
      {WM_INITMENU, menu},
      {WM_INITMENUPOPUP, menu},
      {WM_MENUSELECT, 4 | uintptr_t(MF_POPUP | MF_HILITE) << 16},
      {WM_INITMENUPOPUP, sub},
      {WM_MENUSELECT, kDog1 | uintptr_t(MF_HILITE) << 16},
      {WM_MENUSELECT, kDog2 | uintptr_t(MF_HILITE) << 16},
      {WM_MENUSELECT, uintptr_t(0xFFFF) << 16},
      {WM_UNINITMENUPOPUP, sub},
      {WM_UNINITMENUPOPUP, menu},
      {WM_EXITMENULOOP, 0},
  };
  EXPECT_EQ(got, expected);
  ASSERT_EQ(log.size(), expected.size());
  EXPECT_EQ(log[7].LParam, 0) << "the closing WM_MENUSELECT names no menu";
  Run();
  const auto commands = Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].WParam, WPARAM(kDog2));
}

TEST_F(MenuTest, NoNotifyTellsTheOwnerNothing) {
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Track(TPM_NONOTIFY), TRUE);
  Run();
  EXPECT_TRUE(Messages({WM_ENTERMENULOOP, WM_INITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP, WM_COMMAND}).empty());
}

TEST_F(MenuTest, EveryMessageOfTheLoopPassesTheMessageFilter) {
  // The filter eats the first Down: Enter then chooses the first item instead of Cat.
  int downs = 0;
  g_filter = [&](MSG* m) { return m->message == WM_KEYDOWN && m->wParam == VK_DOWN && downs++ == 0; };
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(Track(), UINT(kAlpha));
  EXPECT_GE(g_filterCalls, 5) << "three presses and the releases before the choice";
}

// ---- mouse ----

TEST_F(MenuTest, AClickOnAnItemChoosesItOnce) {
  Mouse(InputKind::MouseMove, ItemCentre(kX, kY, 3));
  Click(ItemCentre(kX, kY, 3));
  EXPECT_EQ(Track(0), TRUE);
  Run();
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(Commands()[0].WParam, WPARAM(kCat));
}

TEST_F(MenuTest, ClicksOnSeparatorsAndDisabledItemsKeepTheMenuOpen) {
  Click(ItemCentre(kX, kY, 1));
  Click(ItemCentre(kX, kY, 2));
  Key(VK_ESCAPE);
  EXPECT_EQ(Track(), 0u);
}

TEST_F(MenuTest, TheReleaseOfTheOpeningClickChoosesNothing) {
  // The menu opened on a press; its release over an item is not a choice, for either
  // button, while a whole click afterwards is.
  Mouse(InputKind::MouseUp, ItemCentre(kX, kY, 0), kButtonRight);
  Mouse(InputKind::MouseUp, ItemCentre(kX, kY, 3), kButtonLeft);
  Click(ItemCentre(kX, kY, 0), kButtonRight);
  EXPECT_EQ(Track(TPM_RETURNCMD | TPM_RIGHTBUTTON), UINT(kAlpha));
  // Without TPM_RIGHTBUTTON the right button chooses nothing.
  Click(ItemCentre(kX, kY, 0), kButtonRight);
  Key(VK_ESCAPE);
  EXPECT_EQ(Track(TPM_RETURNCMD), 0u);
}

TEST_F(MenuTest, HoverOpensTheSubMenuAfterTheDelay) {
  DWORD opened = 0;
  const DWORD start = GetTickCount();
  Answer(Owner, WM_INITMENUPOPUP, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    if (reinterpret_cast<HMENU>(w) != Sub) return 0;
    opened = GetTickCount();
    // The sub-menu goes to the right of the menu, its first item beside Dog.
    const std::vector<HWND> windows = MenuWindows();
    RECT r{};
    GetWindowRect(windows[0], &r);
    const POINT dog = ItemCentre(kX, kY, 4);
    const POINT dog2{r.Right + 30, dog.Y + 22};
    Mouse(InputKind::MouseMove, dog2);
    Click(dog2);
    return 0;
  });
  Mouse(InputKind::MouseMove, ItemCentre(kX, kY, 4));
  EXPECT_EQ(Track(), UINT(kDog2));
  UINT delay = 0;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  EXPECT_EQ(opened - start, delay) << "the sub-menu waited for the menu delay";
}

TEST_F(MenuTest, AClickOnASubMenuItemOpensItAtOnce) {
  DWORD start = 0;
  Answer(Owner, WM_INITMENUPOPUP, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
    if (reinterpret_cast<HMENU>(w) == Sub) {
      EXPECT_EQ(GetTickCount(), start) << "no delay after a click";
      Key(VK_RETURN);
    }
    return 0;
  });
  start = GetTickCount();
  Click(ItemCentre(kX, kY, 4));
  Key(VK_DOWN);
  EXPECT_EQ(Track(), UINT(kDog1));
}

TEST_F(MenuTest, AClickOutsideClosesTheMenuAndReachesTheWindowUnderIt) {
  HWND other = Top("Other", {900, 100, 1100, 300});
  Run();
  ClearLog();
  Click({1000, 200});
  EXPECT_EQ(Track(), 0u);
  Run();
  const auto got = Messages({WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].Hwnd, other);
  EXPECT_EQ(got[0].Message, UINT(WM_LBUTTONDOWN));
  EXPECT_EQ(got[1].Message, UINT(WM_LBUTTONUP));
}

// ---- ending the loop from outside ----

TEST_F(MenuTest, LosingActivationClosesTheMenu) {
  SetActiveWindow(Owner);
  Run();
  ASSERT_EQ(GetActiveWindow(), Owner);
  Inject({.Kind = InputKind::FocusLost, .Window = Owner->Native});
  EXPECT_EQ(Track(), 0u);
  EXPECT_TRUE(MenuWindows().empty());
}

struct EndCase {
  const char* Name;
  std::function<void(MenuTest*)> During;  // runs when the first item becomes hot
  bool OwnerLives;
};

TEST_F(MenuTest, TheLoopEndsSafelyWhenItsMenuOrOwnerGoes) {
  const EndCase cases[] = {
      {"EndMenu", [](MenuTest*) { EndMenu(); }, true},
      {"the menu destroyed", [](MenuTest* t) { DestroyMenu(t->Menu); }, true},
      {"the hot item deleted", [](MenuTest* t) { DeleteMenu(t->Menu, 4, MF_BYPOSITION); }, true},
      {"the owner destroyed", [](MenuTest* t) { DestroyWindow(t->Owner); }, false},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.Name);
    DestroyMenu(Menu);
    MakeMenu();
    if (!IsWindow(Owner)) Owner = Top("Owner", {100, 100, 700, 600});
    SetFocus(Owner);
    bool once = true;
    Answer(Owner, WM_MENUSELECT, [&](HWND, WPARAM w, LPARAM) -> LRESULT {
      if (once && HIWORD(w) != 0xFFFF) {
        once = false;
        c.During(this);
      }
      return 0;
    });
    Key(VK_UP);  // Dog becomes hot
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenuEx(Menu, TPM_RETURNCMD, kX, kY, Owner, nullptr), 0);
    EXPECT_FALSE(InMenuLoop());
    EXPECT_EQ(IsWindow(Owner) != FALSE, c.OwnerLives);
    ResetQueue();
    Run();
    if (IsWindow(Owner)) {
      EXPECT_TRUE(Commands().empty());
    }
    ClearLog();
  }
}

TEST_F(MenuTest, OneLoopAtATimeAndBadArgumentsAreRefused) {
  EXPECT_EQ(TrackPopupMenuEx(nullptr, 0, 0, 0, Owner, nullptr), FALSE);
  EXPECT_EQ(TrackPopupMenuEx(Menu, 0, 0, 0, nullptr, nullptr), FALSE);
  HMENU gone = CreatePopupMenu();
  DestroyMenu(gone);
  EXPECT_EQ(TrackPopupMenuEx(gone, 0, 0, 0, Owner, nullptr), FALSE);
  EXPECT_EQ(EndMenu(), FALSE);
  BOOL nested = TRUE;
  g_filter = [&](MSG*) {
    if (nested == TRUE) nested = TrackPopupMenuEx(Sub, 0, 0, 0, Owner, nullptr);
    return false;
  };
  Key(VK_ESCAPE);
  EXPECT_EQ(Track(), 0u);
  EXPECT_EQ(nested, FALSE);
}

// ---- placement ----

struct PlaceCase {
  const char* Name;
  UINT Flags;
  POINT At;
  POINT TopLeft;  // -1: compute from the size (see the test)
};

TEST_F(MenuTest, MenusOpenByTheAlignmentFlagsInsideTheWorkArea) {
  // The headless screen is 1920 x 1080 with a work area of 1920 x 1040.
  RECT shown{};
  g_filter = [&](MSG*) {
    if (shown.IsEmpty() && !MenuWindows().empty()) GetWindowRect(MenuWindows()[0], &shown);
    EndMenu();
    return false;
  };
  PostMessage(Owner, WM_NULL, 0, 0);
  Track();
  const int w = shown.Width(), h = shown.Height();
  ASSERT_GT(w, 60);
  EXPECT_EQ(h, 2 * kMenuFrame + 4 * 22 + 9);
  const PlaceCase cases[] = {
      {"left top", TPM_LEFTALIGN | TPM_TOPALIGN, {300, 200}, {300, 200}},
      {"right", TPM_RIGHTALIGN, {300, 200}, {300 - w, 200}},
      {"centre", TPM_CENTERALIGN, {300, 200}, {300 - w / 2, 200}},
      {"bottom", TPM_BOTTOMALIGN, {300, 200}, {300, 200 - h}},
      {"vertical centre", TPM_VCENTERALIGN, {300, 200}, {300, 200 - h / 2}},
      {"near the right edge it flips left", 0, {1900, 200}, {1900 - w, 200}},
      {"near the bottom it flips up", 0, {300, 1030}, {300, 1030 - h}},
      {"off the top left it comes inside", 0, {-50, -40}, {0, 0}},
      {"right-aligned off the left edge comes inside", TPM_RIGHTALIGN, {10, 200}, {0, 200}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.Name);
    shown = {};
    PostMessage(Owner, WM_NULL, 0, 0);
    TrackPopupMenuEx(Menu, c.Flags | TPM_RETURNCMD, c.At.X, c.At.Y, Owner, nullptr);
    EXPECT_EQ(shown.TopLeft(), c.TopLeft);
    EXPECT_EQ(shown.Width(), w);
  }
}

TEST_F(MenuTest, SubMenusOpenOnTheOtherSideNearTheRightEdge) {
  RECT top{}, sub{};
  g_filter = [&](MSG*) {
    const std::vector<HWND> windows = MenuWindows();
    if (windows.size() == 2) {
      GetWindowRect(windows[0], &top);
      GetWindowRect(windows[1], &sub);
      EndMenu();
    }
    return false;
  };
  Key(VK_UP);
  Key(VK_RIGHT);
  Track(TPM_RETURNCMD | TPM_RIGHTALIGN, 1910, 200);
  EXPECT_EQ(top.Right, 1910);
  EXPECT_EQ(sub.Right, top.Left + kMenuFrame) << "left of its parent";
  EXPECT_EQ(sub.Top, top.Top + kMenuFrame + 75 - kMenuFrame) << "level with Dog";
}

// ---- the menu window's protocol ----

// A "hook" that subclasses every menu window, like a style hook would.
std::vector<RecordedMessage> g_hookLog;
WNDPROC g_menuProc = nullptr;
bool g_eatDown = false;
LRESULT HookProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_hookLog.push_back({hwnd, msg, wParam, lParam});
  if (g_eatDown && msg == WM_KEYDOWN && wParam == VK_DOWN) return 0;
  return CallWindowProc(g_menuProc, hwnd, msg, wParam, lParam);
}
void SubclassMenuWindows(HWND hwnd) {
  String name;
  GetClassName(hwnd, &name);
  if (name == "#32768")
    g_menuProc = reinterpret_cast<WNDPROC>(SetWindowLongPtr(hwnd, GWLP_WNDPROC, reinterpret_cast<intptr_t>(HookProc)));
}

TEST_F(MenuTest, ASubclassOfTheMenuWindowSeesTheLoopsNotifications) {
  g_hookLog.clear();
  WindowCreatedHook = SubclassMenuWindows;
  const POINT cat = ItemCentre(kX, kY, 3);
  Mouse(InputKind::MouseMove, cat);
  Click(cat);
  EXPECT_EQ(Track(), UINT(kCat));
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const RecordedMessage& m : g_hookLog)
    if (m.Message == MN_MOUSEMOVE || m.Message == MN_BUTTONDOWN || m.Message == MN_BUTTONUP ||
        m.Message == MN_SELECTITEM)
      got.emplace_back(m.Message, m.WParam);
  const std::vector<std::pair<UINT, WPARAM>> expected = {
      {MN_MOUSEMOVE, 3}, {MN_SELECTITEM, 3}, {MN_BUTTONDOWN, 3}, {MN_SELECTITEM, 3}, {MN_BUTTONUP, 3}};
  EXPECT_EQ(got, expected);
}

TEST_F(MenuTest, KeysGoThroughTheDeepestMenuWindowWhichMayTakeThem) {
  WindowCreatedHook = SubclassMenuWindows;
  for (bool eat : {false, true}) {
    SCOPED_TRACE(eat ? "the subclass eats Down" : "the subclass passes Down on");
    g_eatDown = eat;
    g_hookLog.clear();
    Key(VK_DOWN);
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Track(), eat ? 0u : UINT(kAlpha));
    ResetQueue();
    size_t keys = 0;
    for (const RecordedMessage& m : g_hookLog) keys += m.Message == WM_KEYDOWN;
    EXPECT_EQ(keys, eat ? 3u : 2u);
  }
  g_eatDown = false;
}

TEST_F(MenuTest, TheMenuWindowAnswersItsProtocol) {
  const COLORREF kHot = GetSysColor(COLOR_HIGHLIGHT), kBack = GetSysColor(COLOR_MENU);
  bool checked = false;
  g_filter = [&](MSG*) {
    if (checked) return false;
    checked = true;
    HWND w = MenuWindows().at(0);
    String name;
    GetClassName(w, &name);
    EXPECT_EQ(name, "#32768");
    EXPECT_TRUE(GetWindowLongPtr(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtr(w, GWL_STYLE) & WS_POPUP);
    EXPECT_NE(GetActiveWindow(), w) << "menus never take activation";
    EXPECT_EQ(reinterpret_cast<HMENU>(SendMessage(w, MN_GETHMENU, 0, 0)), Menu);
    EXPECT_EQ(SendMessage(w, MN_SELECTITEM, 3, 0), 3);
    MENUITEMINFO info;
    info.fMask = MIIM_STATE;
    GetMenuItemInfo(Menu, 3, TRUE, &info);
    EXPECT_TRUE(info.fState & MFS_HILITE);
    EXPECT_EQ(SendMessage(w, MN_SELECTITEM, 1, 0), -1) << "a separator is never hot";
    EXPECT_EQ(SendMessage(w, MN_SELECTITEM, 99, 0), -1);
    EXPECT_EQ(SendMessage(w, MN_SELECTITEM, 3, 0), 3);
    RECT wr{}, item{};
    GetWindowRect(w, &wr);
    EXPECT_TRUE(GetMenuItemRect(Owner, Menu, 3, &item));
    EXPECT_EQ(item.Left, wr.Left + kMenuFrame);
    EXPECT_EQ(item.Top, wr.Top + kMenuFrame + 53);
    EXPECT_EQ(item.Height(), 22);
    EXPECT_FALSE(GetMenuItemRect(Owner, Menu, 9, &item));
    EXPECT_EQ(MenuItemFromPoint(Owner, Menu, ItemCentre(kX, kY, 4)), 4);
    // WM_PRINT paints frame, background and the hot item into any DC.
    HDC dc = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, wr.Width(), wr.Height());
    ReleaseDC(nullptr, screen);
    SelectObject(dc, bmp);
    SendMessage(w, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    // A raised edge: light above and left, dark below and right, then the menu's face.
    EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(GetPixel(dc, wr.Width() - 1, wr.Height() - 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(GetPixel(dc, 2, 2), kBack);
    EXPECT_EQ(GetPixel(dc, kMenuFrame + 2, kMenuFrame + 53 + 2), kHot) << "Cat is hot";
    EXPECT_EQ(GetPixel(dc, kMenuFrame + 2, kMenuFrame + 2), kBack) << "Alpha is not";
    DeleteDC(dc);
    DeleteObject(bmp);
    EndMenu();
    return false;
  };
  PostMessage(Owner, WM_NULL, 0, 0);
  EXPECT_EQ(Track(), 0u);
  EXPECT_TRUE(checked);
  const auto selects = Messages({WM_MENUSELECT});
  ASSERT_GE(selects.size(), 2u);
  EXPECT_EQ(LOWORD(selects[0].WParam), kCat) << "the owner heard of the selection";
  MENUITEMINFO info;
  info.fMask = MIIM_STATE;
  GetMenuItemInfo(Menu, 3, TRUE, &info);
  EXPECT_FALSE(info.fState & MFS_HILITE) << "no hot item after the loop";
}

TEST_F(MenuTest, APainterHookDrawsThePartsItAnswersFor) {
  std::vector<MenuPaintPart> parts;
  std::vector<String> captions;
  MenuPainterHook = [&](HDC dc, const RECT& r, MenuPaintPart part, const MenuItemPaint* item) {
    parts.push_back(part);
    if (item) captions.push_back(item->Caption + (item->Hot ? "*" : "") + (item->Disabled ? "-" : "") +
                                 (item->HasSubMenu ? ">" : "") + "|" + item->ShortCut);
    if (part != MenuPaintPart::Item) return false;
    FillSolidRect(dc, r, RGB(1, 2, 3));
    return true;
  };
  g_filter = [&](MSG* m) {
    if (m->message == WM_KEYUP && m->wParam == VK_DOWN) {
      UpdateWindow(MenuWindows().at(0));
      Key(VK_ESCAPE);
    }
    return false;
  };
  Key(VK_DOWN);
  Track();
  MenuPainterHook = nullptr;
  EXPECT_NE(std::find(parts.begin(), parts.end(), MenuPaintPart::Frame), parts.end());
  EXPECT_NE(std::find(parts.begin(), parts.end(), MenuPaintPart::Background), parts.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), "&Alpha*|Ctrl+A"), captions.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), "&Beta-|"), captions.end());
  EXPECT_NE(std::find(captions.begin(), captions.end(), "&Dog>|"), captions.end());
}

// ---- menu handles ----

TEST_F(MenuTest, ItemsAreReadAndChangedThroughTheirHandles) {
  EXPECT_EQ(GetMenuItemCount(Menu), 5);
  EXPECT_EQ(GetMenuItemID(Menu, 0), UINT(kAlpha));
  EXPECT_EQ(GetMenuItemID(Menu, 4), UINT(-1)) << "a sub-menu item has no command";
  EXPECT_EQ(GetSubMenu(Menu, 4), Sub);
  EXPECT_EQ(GetSubMenu(Menu, 0), nullptr);
  EXPECT_EQ(GetMenuState(Menu, 1, MF_BYPOSITION) & MF_SEPARATOR, UINT(MF_SEPARATOR));
  EXPECT_EQ(GetMenuState(Menu, kBeta, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
  EXPECT_EQ(GetMenuState(Menu, kDog2, MF_BYCOMMAND), 0u) << "found in the sub-menu";

  EXPECT_EQ(EnableMenuItem(Menu, kBeta, MF_BYCOMMAND | MF_ENABLED), int(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(Menu, 999, MF_BYCOMMAND), -1);
  EXPECT_EQ(CheckMenuItem(Menu, kCat, MF_BYCOMMAND | MF_CHECKED), 0u);
  EXPECT_EQ(CheckMenuItem(Menu, kCat, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
  EXPECT_TRUE(CheckMenuRadioItem(Sub, kDog1, kDog2, kDog2, MF_BYCOMMAND));
  EXPECT_EQ(SetMenuDefaultItem(Menu, kCat, FALSE), TRUE);
  EXPECT_EQ(GetMenuDefaultItem(Menu, TRUE, 0), 3u);

  MENUITEMINFO info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_BITMAP | MIIM_SUBMENU;
  info.fType = MFT_STRING | MFT_RADIOCHECK;
  info.fState = MFS_CHECKED | MFS_DEFAULT;
  info.wID = 77;
  info.dwTypeData = "Ne&w\tCtrl+N";
  info.dwItemData = 0xABCD;
  info.hbmpItem = HBMMENU_POPUP_CLOSE;
  ASSERT_TRUE(InsertMenuItem(Menu, 1, TRUE, &info));
  MENUITEMINFO read;
  read.fMask = info.fMask;
  ASSERT_TRUE(GetMenuItemInfo(Menu, 77, FALSE, &read));
  EXPECT_EQ(read.fType, info.fType);
  EXPECT_EQ(read.fState, info.fState);
  EXPECT_EQ(read.dwTypeData, "Ne&w\tCtrl+N");
  EXPECT_EQ(read.cch, 11u);
  EXPECT_EQ(read.dwItemData, 0xABCDu);
  EXPECT_EQ(read.hbmpItem, HBMMENU_POPUP_CLOSE);
  EXPECT_EQ(read.hSubMenu, nullptr);
  EXPECT_EQ(GetMenuItemID(Menu, 1), 77u);
  MENUITEMINFO change;
  change.fMask = MIIM_STATE;
  change.fState = MFS_GRAYED;
  ASSERT_TRUE(SetMenuItemInfo(Menu, 1, TRUE, &change));
  EXPECT_EQ(GetMenuState(Menu, 77, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), UINT(MF_GRAYED));

  // InsertMenu before a command; RemoveMenu keeps a sub-menu alive, DeleteMenu does not.
  ASSERT_TRUE(InsertMenu(Menu, kCat, MF_BYCOMMAND | MF_STRING, 78, "Before cat"));
  EXPECT_EQ(GetMenuItemID(Menu, 4), 78u);
  ASSERT_TRUE(RemoveMenu(Menu, 6, MF_BYPOSITION));
  EXPECT_TRUE(IsMenu(Sub));
  ASSERT_TRUE(AppendMenu(Menu, MF_POPUP, reinterpret_cast<uintptr_t>(Sub), "Again"));
  ASSERT_TRUE(DeleteMenu(Menu, 6, MF_BYPOSITION));
  EXPECT_FALSE(IsMenu(Sub));
}

TEST_F(MenuTest, BadAndStaleHandlesAreRefused) {
  HMENU stale = CreatePopupMenu();
  HMENU staleSub = CreatePopupMenu();
  AppendMenu(stale, MF_POPUP, reinterpret_cast<uintptr_t>(staleSub), "Sub");
  ASSERT_TRUE(DestroyMenu(stale));
  EXPECT_FALSE(IsMenu(staleSub)) << "sub-menus go with their menu";
  const HMENU made = reinterpret_cast<HMENU>(uintptr_t(0xDEADBEEF));
  for (HMENU bad : {HMENU(nullptr), stale, staleSub, made}) {
    MENUITEMINFO info;
    info.fMask = MIIM_STATE;
    EXPECT_FALSE(IsMenu(bad));
    EXPECT_FALSE(DestroyMenu(bad));
    EXPECT_FALSE(AppendMenu(bad, MF_STRING, 1, "x"));
    EXPECT_FALSE(InsertMenuItem(bad, 0, TRUE, &info));
    EXPECT_FALSE(GetMenuItemInfo(bad, 0, TRUE, &info));
    EXPECT_FALSE(SetMenuItemInfo(bad, 0, TRUE, &info));
    EXPECT_EQ(GetMenuItemCount(bad), -1);
    EXPECT_EQ(GetMenuItemID(bad, 0), UINT(-1));
    EXPECT_EQ(GetSubMenu(bad, 0), nullptr);
    EXPECT_EQ(EnableMenuItem(bad, 0, MF_BYPOSITION), -1);
    EXPECT_EQ(CheckMenuItem(bad, 0, MF_BYPOSITION), DWORD(-1));
    EXPECT_FALSE(RemoveMenu(bad, 0, MF_BYPOSITION));
    EXPECT_FALSE(DeleteMenu(bad, 0, MF_BYPOSITION));
    RECT r{};
    EXPECT_FALSE(GetMenuItemRect(Owner, bad, 0, &r));
    if (bad) {
      EXPECT_FALSE(SetMenu(Owner, bad));
    }
  }
  EXPECT_FALSE(GetMenuItemInfo(Menu, 0, TRUE, nullptr));
  EXPECT_FALSE(AppendMenu(Menu, MF_POPUP, reinterpret_cast<uintptr_t>(Menu), "itself"));
  EXPECT_FALSE(AppendMenu(Sub, MF_POPUP, reinterpret_cast<uintptr_t>(Menu), "its parent"));
  EXPECT_FALSE(AppendMenu(Menu, MF_POPUP, reinterpret_cast<uintptr_t>(stale), "stale"));
}

// ---- the window menu ----

class SystemMenuTest : public MenuTest {
 protected:
  void SetUp() override {
    MenuTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = defwin::Proc;
    wc.lpszClassName = "SysMenuWindow";
    RegisterClass(&wc);
    defwin::Log().clear();
  }
  void TearDown() override {
    defwin::Reset();
    MenuTest::TearDown();
    defwin::Log().clear();
  }
  static HWND Make(DWORD style, RECT r = {100, 100, 500, 400}) {
    HWND hwnd = CreateWindowEx(0, "SysMenuWindow", "Window", style | WS_VISIBLE, r.Left, r.Top, r.Width(),
                               r.Height(), nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(hwnd);
    SetFocus(hwnd);
    Run();
    defwin::Log().clear();
    return hwnd;
  }
  static std::vector<RecordedMessage> Calls(HWND hwnd, UINT msg) { return defwin::CallsOf(hwnd, msg); }
};

struct SysStateCase {
  const char* Name;
  DWORD Style;
  int Show;  // SW_ state
  bool Restore, Move, Size, Minimize, Maximize;
};

TEST_F(SystemMenuTest, ItemsAreEnabledForTheWindowsStateAndStyle) {
  const SysStateCase cases[] = {
      {"normal", WS_OVERLAPPEDWINDOW, SW_SHOWNORMAL, false, true, true, true, true},
      {"maximized", WS_OVERLAPPEDWINDOW, SW_MAXIMIZE, true, false, false, true, false},
      {"minimized", WS_OVERLAPPEDWINDOW, SW_MINIMIZE, true, false, false, false, true},
      {"fixed dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU, SW_SHOWNORMAL, false, true, false, false, false},
  };
  for (const SysStateCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND w = Make(c.Style);
    ShowWindow(w, c.Show);
    HMENU m = GetSystemMenu(w, FALSE);
    ASSERT_NE(m, nullptr);
    UpdateSystemMenu(w);
    EXPECT_EQ(GetMenuItemCount(m), 7);
    auto enabled = [&](UINT cmd) { return !(GetMenuState(m, cmd, MF_BYCOMMAND) & MF_GRAYED); };
    EXPECT_EQ(enabled(SC_RESTORE), c.Restore);
    EXPECT_EQ(enabled(SC_MOVE), c.Move);
    EXPECT_EQ(enabled(SC_SIZE), c.Size);
    EXPECT_EQ(enabled(SC_MINIMIZE), c.Minimize);
    EXPECT_EQ(enabled(SC_MAXIMIZE), c.Maximize);
    EXPECT_TRUE(enabled(SC_CLOSE));
    EXPECT_EQ(GetMenuDefaultItem(m, FALSE, 0), UINT(SC_CLOSE));
    DestroyWindow(w);
    EXPECT_FALSE(IsMenu(m)) << "the window menu goes with its window";
  }
}

TEST_F(SystemMenuTest, AltSpaceOpensItAndChoosingSendsTheSystemCommand) {
  HWND w = Make(WS_OVERLAPPEDWINDOW);
  Inject({.Kind = InputKind::KeyDown, .Key = VK_MENU, .Modifiers = kModAlt});
  Key(VK_SPACE, kModAlt);
  Inject({.Kind = InputKind::KeyUp, .Key = VK_MENU});
  Char('n');  // Mi&nimize
  Run();
  EXPECT_EQ(Calls(w, WM_ENTERMENULOOP).size(), 1u);
  const auto popups = Calls(w, WM_INITMENUPOPUP);
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(HIWORD(popups[0].LParam), 1) << "marked as the window menu";
  Run();
  EXPECT_TRUE(IsIconic(w));
  const auto commands = Calls(w, WM_SYSCOMMAND);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1].WParam, SC_MINIMIZE);
}

TEST_F(SystemMenuTest, PopupSystemMenuOpensAtThePointAndTheCaptionIconOpensItToo) {
  HWND w = Make(WS_OVERLAPPEDWINDOW);
  RECT shown{};
  g_filter = [&](MSG*) {
    if (shown.IsEmpty() && !MenuWindows().empty()) GetWindowRect(MenuWindows()[0], &shown);
    return false;
  };
  Key(VK_ESCAPE);
  SendMessage(w, WM_POPUPSYSTEMMENU, 0, MAKELPARAM(250, 180));
  EXPECT_EQ(shown.TopLeft(), (POINT{250, 180}));
  EXPECT_FALSE(InMenuLoop());

  // A click on the caption's icon space opens it below the icon; the click's release
  // chooses nothing, Escape closes it.
  const NonClientLayout l = NonClientLayoutOf(w);
  if (l.SysMenu.IsEmpty()) GTEST_SKIP() << "no icon space in this frame";
  shown = {};
  const POINT icon{100 + l.SysMenu.Left + 4, 100 + l.SysMenu.Top + 4};
  Click(icon);
  Key(VK_ESCAPE);
  Run();
  EXPECT_EQ(shown.TopLeft(), (POINT{100 + l.SysMenu.Left, 100 + l.SysMenu.Bottom}));
  EXPECT_EQ(Calls(w, WM_SYSCOMMAND).size(), 1u) << "only SC_MOUSEMENU";
}

struct MoveSizeCase {
  const char* Name;
  WPARAM Command;
  std::vector<UINT> Keys;
  RECT Expected;
};

TEST_F(SystemMenuTest, MoveAndSizeRunTheKeyboardLoops) {
  const int s = kKeyboardMoveStep;
  const MoveSizeCase cases[] = {
      {"move right and down", SC_MOVE, {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_RETURN}, {100 + 2 * s, 100 + s, 500 + 2 * s, 400 + s}},
      {"move, escape puts it back", SC_MOVE, {VK_LEFT, VK_UP, VK_ESCAPE}, {100, 100, 500, 400}},
      {"size: the first arrow picks the right edge", SC_SIZE, {VK_RIGHT, VK_RIGHT, VK_LEFT, VK_RETURN}, {100, 100, 500 + s, 400}},
      {"size the top edge", SC_SIZE, {VK_UP, VK_UP, VK_RETURN}, {100, 100 - 2 * s, 500, 400}},
      {"size, escape puts it back", SC_SIZE, {VK_DOWN, VK_ESCAPE}, {100, 100, 500, 400}},
  };
  for (const MoveSizeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    HWND w = Make(WS_OVERLAPPEDWINDOW);
    for (UINT k : c.Keys) Key(k);
    SendMessage(w, WM_SYSCOMMAND, c.Command, 0);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r, c.Expected);
    EXPECT_EQ(Calls(w, WM_ENTERSIZEMOVE).size(), 1u);
    EXPECT_EQ(Calls(w, WM_EXITSIZEMOVE).size(), 1u);
    DestroyWindow(w);
    defwin::Log().clear();
  }
}

// ---- menu bar ----

TEST_F(SystemMenuTest, AMenuBarReservesItsRowAndAClickOpensTheItemsSubMenu) {
  HWND w = Make(WS_OVERLAPPEDWINDOW);
  RECT before{};
  GetClientRect(w, &before);
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenu(file, MF_STRING, 101, "&Open");
  AppendMenu(file, MF_STRING, 102, "&Save");
  AppendMenu(bar, MF_POPUP, reinterpret_cast<uintptr_t>(file), "&File");
  AppendMenu(bar, MF_STRING, 103, "&Help");
  ASSERT_TRUE(SetMenu(w, bar));
  EXPECT_EQ(GetMenu(w), bar);
  RECT after{};
  GetClientRect(w, &after);
  EXPECT_EQ(before.Height() - after.Height(), GetSystemMetrics(SM_CYMENU));
  RECT fileRect{};
  ASSERT_TRUE(GetMenuItemRect(w, bar, 0, &fileRect));
  EXPECT_EQ(MenuBarItemFromPoint(w, {fileRect.Left + 3, fileRect.Top + 3}), 0);
  Click({fileRect.Left + 3, fileRect.Top + 3});
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Run();
  Run();
  const auto commands = Calls(w, WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].WParam, 102u);
  EXPECT_EQ(Calls(w, WM_ENTERMENULOOP).size(), 1u);
  EXPECT_EQ(Calls(w, WM_ENTERMENULOOP)[0].WParam, WPARAM(FALSE)) << "a menu bar's loop";

  // From the keyboard: F10 opens the first item's menu with its first item hot; Alt and a
  // mnemonic opens that item (Help has no sub-menu: its command comes at once).
  defwin::Log().clear();
  Key(VK_F10);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Run();
  Run();
  Inject({.Kind = InputKind::KeyDown, .Key = VK_MENU, .Modifiers = kModAlt});
  Key('H', kModAlt);
  Inject({.Kind = InputKind::KeyUp, .Key = VK_MENU});
  Run();
  Run();
  std::vector<WPARAM> got;
  for (const RecordedMessage& m : Calls(w, WM_COMMAND)) got.push_back(m.WParam);
  EXPECT_EQ(got, (std::vector<WPARAM>{102, 103}));
  DestroyWindow(w);
  EXPECT_FALSE(IsMenu(bar)) << "a window's menu goes with the window";
  EXPECT_FALSE(IsMenu(file));
}

}  // namespace
