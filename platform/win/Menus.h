// Menu handles: menus and their items (HMENU and the calls that make, read and change
// them), the window menu (GetSystemMenu) and the geometry of a menu's items. The modal
// loop that shows menus is win/MenuLoop.h.
//
// An HMENU is a number handed out once: a destroyed menu's handle never comes back, so a
// stale handle is refused (FALSE, -1 or null) and never reaches freed memory.
#pragma once

#include <vector>

#include "win/Window.h"

using HBITMAP_MENU = intptr_t;  // an item bitmap: a predefined HBMMENU_* number or a bitmap handle

// AppendMenu / InsertMenu / ModifyMenu flags.
constexpr UINT MF_INSERT = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_OWNERDRAW = 0x0100;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_MENUBARBREAK = 0x0020;
constexpr UINT MF_MENUBREAK = 0x0040;
constexpr UINT MF_UNHILITE = 0x0000;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MF_SYSMENU = 0x2000;
constexpr UINT MF_RIGHTJUSTIFY = 0x4000;
constexpr UINT MF_MOUSESELECT = 0x8000;

// MENUITEMINFO.
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_BITMAP = MF_BITMAP;
constexpr UINT MFT_MENUBARBREAK = MF_MENUBARBREAK;
constexpr UINT MFT_MENUBREAK = MF_MENUBREAK;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = 0x0200;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFT_RIGHTORDER = 0x2000;
constexpr UINT MFT_RIGHTJUSTIFY = MF_RIGHTJUSTIFY;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = MF_ENABLED;
constexpr UINT MFS_UNCHECKED = MF_UNCHECKED;
constexpr UINT MFS_UNHILITE = MF_UNHILITE;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

// Predefined item bitmaps (hbmpItem).
constexpr HBITMAP_MENU HBMMENU_CALLBACK = -1;
constexpr HBITMAP_MENU HBMMENU_SYSTEM = 1;
constexpr HBITMAP_MENU HBMMENU_POPUP_CLOSE = 8;
constexpr HBITMAP_MENU HBMMENU_POPUP_RESTORE = 9;
constexpr HBITMAP_MENU HBMMENU_POPUP_MAXIMIZE = 10;
constexpr HBITMAP_MENU HBMMENU_POPUP_MINIMIZE = 11;

struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP_MENU hbmpChecked = 0;
  HBITMAP_MENU hbmpUnchecked = 0;
  uintptr_t dwItemData = 0;
  String dwTypeData;  // the text (MIIM_STRING / MFT_STRING)
  UINT cch = 0;       // its length in code points, filled by GetMenuItemInfo
  HBITMAP_MENU hbmpItem = 0;
};

// One item as the store keeps it.
struct MenuItemRecord {
  UINT Type = MFT_STRING;
  UINT State = 0;
  UINT Id = 0;
  HMENU SubMenu = nullptr;
  String Text;  // "caption\tshortcut"
  HBITMAP_MENU Bitmap = 0;
  HBITMAP_MENU BitmapChecked = 0;
  HBITMAP_MENU BitmapUnchecked = 0;
  uintptr_t Data = 0;
};

struct MenuObject;  // never defined: an HMENU is a number

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and, recursively, its sub-menus. A menu shown by the menu loop ends
// the loop when the loop next looks at it.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

BOOL AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubMenu, const String& text);
// Before the item given by position (MF_BYPOSITION; -1 or the count appends) or command.
BOOL InsertMenu(HMENU menu, UINT item, UINT flags, uintptr_t idOrSubMenu, const String& text);
BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info);
// -1 for a bad handle.
int GetMenuItemCount(HMENU menu);
// The command of the item at a position; UINT(-1) for a sub-menu item or a bad position.
UINT GetMenuItemID(HMENU menu, int pos);
HMENU GetSubMenu(HMENU menu, int pos);
// MF_* state and type bits of an item (the item count in the high byte for a sub-menu),
// UINT(-1) when there is no such item.
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuString(HMENU menu, UINT item, String* text, UINT flags);
// The previous MF_GRAYED/MF_DISABLED bits, or -1 when there is no such item.
int EnableMenuItem(HMENU menu, UINT item, UINT enable);
// The previous MF_CHECKED bit, or -1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// Checks one item of the range first..last as a radio item and unchecks the others.
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
// The default item's command (or position with byPosition), UINT(-1) without one.
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);
// Takes the item out; a sub-menu stays alive (its handle stays the caller's).
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
// Takes the item out and destroys its sub-menu.
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);

// The item's rectangle in screen coordinates while its menu shows (in a menu window of
// the loop, or in hwnd's menu bar).
BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, RECT* r);
// The position of the item under a screen point, -1 when none.
int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen);

// A window's menu bar (top-level windows): SetMenu reframes the window.
HMENU GetMenu(HWND hwnd);
BOOL SetMenu(HWND hwnd, HMENU menu);
BOOL DrawMenuBar(HWND hwnd);

// The window menu: Restore, Move, Size, Minimize, Maximize, a separator and Close, with
// enabled states for the window's state and style (renewed when the loop opens it).
// bRevert TRUE drops a changed copy and answers null.
HMENU GetSystemMenu(HWND hwnd, BOOL bRevert);
// The window whose window menu this is, or null.
HWND SystemMenuOwner(HMENU menu);
// Sets the window menu's enabled states from the window's state and style.
void UpdateSystemMenu(HWND hwnd);
// A window goes away: its window menu goes with it.
void ForgetWindowMenus(HWND hwnd);

// The store's own record of a live menu's items, or null; for the loop and the painters.
const std::vector<MenuItemRecord>* MenuItems(HMENU menu);
// Position of an item given by command (searched in sub-menus too: *owner tells which
// menu holds it) or by position. -1 when there is none.
int FindMenuItem(HMENU menu, UINT item, UINT flags, HMENU* owner = nullptr);
// The caption part of an item's text (before a tab) and the shortcut part (after it).
String MenuItemCaption(const MenuItemRecord& item);
String MenuItemShortCut(const MenuItemRecord& item);
// The mnemonic character (upper case) of a caption ("&" marks it), 0 without one.
char32_t MenuMnemonic(const String& caption);
// Incremented by every change of any menu; the loop repaints its windows when it moves.
uint64_t MenuChangeCount();

// Destroys every menu; for tests.
void ResetMenus();
