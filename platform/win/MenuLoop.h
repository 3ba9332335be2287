// The modal menu loop: TrackPopupMenuEx shows a menu (and its open sub-menus) in popup
// windows of class "#32768" and handles keys and the mouse until an item is chosen or the
// menu is dismissed. A window's menu bar and its window menu open through the same loop.
//
// Order of notifications to the owner window (none with TPM_NONOTIFY):
//   WM_ENTERMENULOOP (wParam TRUE for a popup menu), WM_INITMENU (the top menu),
//   WM_INITMENUPOPUP (each level, before its window shows; lParam MAKELPARAM(item index in
//   the parent, TRUE for the window menu)), WM_MENUSELECT on every hot item change
//   (MAKEWPARAM(command, or index of a sub-menu item, MF_* flags), lParam the menu;
//   0xFFFF flags and a null menu when the loop closes), WM_MENUCHAR for a typed character
//   no item has as mnemonic, WM_UNINITMENUPOPUP (each level, deepest first),
//   WM_EXITMENULOOP, and then, posted, WM_COMMAND (WM_SYSCOMMAND for the window menu)
//   with the chosen command unless TPM_RETURNCMD.
//
// Menu window protocol (a window procedure subclassing a "#32768" window, e.g. a style
// hook that paints menus, relies on it):
//   MN_GETHMENU         answers the menu the window shows.
//   MN_SELECTITEM       wParam an item index: makes it the hot item (-1 or an index past
//                       the items: none; separators cannot be hot), repaints, tells the
//                       owner WM_MENUSELECT; answers the hot index afterwards (-1 none).
//   MN_BUTTONDOWN       sent by the loop when a button goes down over the window; wParam the
//   MN_BUTTONUP         item index under the pointer (-1 none), lParam the screen point.
//   MN_MOUSEMOVE        Notifications only: the loop decides what the click does.
//   WM_KEYDOWN, WM_CHAR the loop sends keys and characters to the deepest menu window; its
//                       default handling moves, opens, closes and chooses (a subclass that
//                       answers without calling it takes the key).
//   WM_NCPAINT          paints the frame (3 pixels wide) with the window DC.
//   WM_ERASEBKGND       paints the menu background into the DC; answers 1.
//   WM_PAINT            paints the items.
//   WM_PRINT            PRF_NONCLIENT paints the frame at (0, 0); client parts go through
//   WM_PRINTCLIENT      WM_ERASEBKGND and WM_PRINTCLIENT shifted by the frame.
// GetMenuItemRect gives an item's screen rectangle; window coordinates are that minus the
// window's top-left corner, client coordinates minus 3 more.
#pragma once

#include <functional>

#include "win/Menus.h"

constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// WM_MENUCHAR answers (high word).
constexpr int MNC_IGNORE = 0;
constexpr int MNC_CLOSE = 1;
constexpr int MNC_EXECUTE = 2;
constexpr int MNC_SELECT = 3;

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude{};  // a screen rectangle the menu must not cover (the button it drops from)
};

// Shows the menu with its corner at (x, y) (by the alignment flags), kept inside the work
// area of the monitor there. With TPM_RETURNCMD answers the chosen command (0 when none);
// otherwise TRUE when the loop ran. FALSE for a bad menu or owner, or while another menu
// loop runs. Returns when the loop ends.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* reserved2);
// Ends the running menu loop (nothing chosen). FALSE when none runs.
BOOL EndMenu();
// True while a menu loop runs.
bool InMenuLoop();
// The menu windows of the running loop, top level first.
std::vector<HWND> MenuWindows();

// Opens hwnd's window menu at a screen point; choosing posts WM_SYSCOMMAND.
void TrackSystemMenu(HWND hwnd, POINT screen);
// Opens the sub-menu of item index of hwnd's menu bar (from the keyboard with its first
// item hot); Left and Right move along the bar. An item without a sub-menu posts its
// command.
void TrackMenuBar(HWND hwnd, int index, bool byKeyboard = false);
// The menu bar item whose caption has this mnemonic character, -1 when none.
int MenuBarItemFromMnemonic(HWND hwnd, char32_t c);
// The menu bar item under a screen point of hwnd, -1 when none.
int MenuBarItemFromPoint(HWND hwnd, POINT screen);
// Paints hwnd's menu bar into a window DC at bar (window coordinates).
void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar);

// ---- painting ----

enum class MenuPaintPart {
  Frame,       // the frame of a menu window: R is the whole window (window DC)
  Background,  // the background of a menu window's client area
  Item,        // one item: Item says which and how
  BarBackground,  // a window's menu bar (R in window coordinates, window DC)
  BarItem,        // one item of a menu bar (R in window coordinates)
};

// What a painter needs to know about one item.
struct MenuItemPaint {
  HMENU Menu = nullptr;
  int Index = -1;
  const MenuItemRecord* Record = nullptr;
  String Caption;   // before the tab; "&" marks the mnemonic
  String ShortCut;  // after the tab, right-aligned
  bool Hot = false;
  bool Disabled = false;
  bool Checked = false;
  bool Radio = false;
  bool Default = false;
  bool Separator = false;
  bool HasSubMenu = false;
};

// Set by the style layer: paints a part and answers true, or answers false for the plain
// look of this layer. Unset, this layer paints.
extern std::function<bool(HDC dc, const RECT& r, MenuPaintPart part, const MenuItemPaint* item)> MenuPainterHook;

// The height of an item and of a separator, and the frame of a menu window.
constexpr int kMenuItemHeight = 22;
constexpr int kMenuSeparatorHeight = 9;
constexpr int kMenuFrame = 3;
// The menu font (a new handle; the caller deletes it).
HFONT CreateMenuFont(bool bold = false);

// Ends a loop and forgets its state; for tests (ResetWindowSystem calls it).
void ResetMenuLoop();
