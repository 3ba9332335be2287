#include "win/Menus.h"

#include <map>
#include <memory>

#include "gdi/Text.h"
#include "gdi/Utf8.h"
#include "win/Queue.h"

namespace {

struct Menu {
  bool Popup = false;
  std::vector<MenuItemRecord> Items;
  HWND SystemOwner = nullptr;  // the window whose window menu this is
};

struct Store {
  std::map<uintptr_t, std::unique_ptr<Menu>> Menus;
  uintptr_t Next = 1;
  uint64_t Changes = 0;
  std::map<HWND, HMENU> SystemMenus;
};

Store& S() {
  static Store s;
  return s;
}

Menu* Live(HMENU h) {
  auto it = S().Menus.find(reinterpret_cast<uintptr_t>(h));
  return it == S().Menus.end() ? nullptr : it->second.get();
}

HMENU Make(bool popup) {
  const uintptr_t id = S().Next++;
  auto m = std::make_unique<Menu>();
  m->Popup = popup;
  S().Menus[id] = std::move(m);
  ++S().Changes;
  return reinterpret_cast<HMENU>(id);
}

void Changed() { ++S().Changes; }

// The item given by command (searched depth first) or position; its menu in *owner.
MenuItemRecord* Find(HMENU h, UINT item, UINT flags, HMENU* owner, int depth = 0) {
  Menu* m = Live(h);
  if (!m || depth > 32) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (item >= m->Items.size()) return nullptr;
    if (owner) *owner = h;
    return &m->Items[item];
  }
  for (MenuItemRecord& r : m->Items)
    if (!r.SubMenu && r.Id == item) {
      if (owner) *owner = h;
      return &r;
    }
  for (MenuItemRecord& r : m->Items)
    if (r.SubMenu)
      if (MenuItemRecord* found = Find(r.SubMenu, item, flags, owner, depth + 1)) return found;
  // A sub-menu item is also found by its command when it has one.
  for (MenuItemRecord& r : m->Items)
    if (r.SubMenu && r.Id == item && item != 0) {
      if (owner) *owner = h;
      return &r;
    }
  return nullptr;
}

MenuItemRecord RecordFromFlags(UINT flags, uintptr_t idOrSubMenu, const String& text) {
  MenuItemRecord r;
  r.Type = flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY);
  r.State = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP)
    r.SubMenu = reinterpret_cast<HMENU>(idOrSubMenu);
  else
    r.Id = UINT(idOrSubMenu);
  if (!(flags & MF_SEPARATOR)) r.Text = text;
  return r;
}

bool ValidSubMenu(HMENU parent, HMENU sub) {
  // A sub-menu must be live and must not hold its own parent (no cycles).
  if (!Live(sub) || sub == parent) return false;
  std::vector<HMENU> todo{sub};
  for (size_t i = 0; i < todo.size() && i < 4096; ++i)
    for (const MenuItemRecord& r : Live(todo[i])->Items)
      if (r.SubMenu && Live(r.SubMenu)) {
        if (r.SubMenu == parent) return false;
        todo.push_back(r.SubMenu);
      }
  return true;
}

BOOL InsertAt(HMENU h, UINT item, UINT flags, MenuItemRecord r) {
  Menu* m = Live(h);
  if (!m) return FALSE;
  if (r.SubMenu && !ValidSubMenu(h, r.SubMenu)) return FALSE;
  size_t at = m->Items.size();
  if (flags & MF_BYPOSITION) {
    if (item < m->Items.size()) at = item;
  } else if (item != UINT(-1)) {
    HMENU owner = nullptr;
    MenuItemRecord* target = Find(h, item, MF_BYCOMMAND, &owner);
    if (!target) return FALSE;
    Menu* om = Live(owner);
    const size_t pos = size_t(target - om->Items.data());
    om->Items.insert(om->Items.begin() + std::ptrdiff_t(pos), std::move(r));
    Changed();
    return TRUE;
  }
  m->Items.insert(m->Items.begin() + std::ptrdiff_t(at), std::move(r));
  Changed();
  return TRUE;
}

void Destroy(uintptr_t id, int depth) {
  auto it = S().Menus.find(id);
  if (it == S().Menus.end() || depth > 64) return;
  std::unique_ptr<Menu> m = std::move(it->second);
  S().Menus.erase(it);
  for (const MenuItemRecord& r : m->Items)
    if (r.SubMenu) Destroy(reinterpret_cast<uintptr_t>(r.SubMenu), depth + 1);
  if (m->SystemOwner) S().SystemMenus.erase(m->SystemOwner);
  Changed();
}

}  // namespace

HMENU CreateMenu() { return Make(false); }
HMENU CreatePopupMenu() { return Make(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!Live(menu)) return FALSE;
  Destroy(reinterpret_cast<uintptr_t>(menu), 0);
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return Live(menu) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU menu, UINT flags, uintptr_t idOrSubMenu, const String& text) {
  return InsertAt(menu, UINT(-1), flags | MF_BYPOSITION, RecordFromFlags(flags, idOrSubMenu, text));
}

BOOL InsertMenu(HMENU menu, UINT item, UINT flags, uintptr_t idOrSubMenu, const String& text) {
  return InsertAt(menu, item, flags, RecordFromFlags(flags, idOrSubMenu, text));
}

BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  if (!info || !Live(menu)) return FALSE;
  MenuItemRecord r;
  if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) r.Type = info->fType;
  if (info->fMask & MIIM_STATE) r.State = info->fState;
  if (info->fMask & MIIM_ID) r.Id = info->wID;
  if (info->fMask & MIIM_SUBMENU) r.SubMenu = info->hSubMenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    r.BitmapChecked = info->hbmpChecked;
    r.BitmapUnchecked = info->hbmpUnchecked;
  }
  if (info->fMask & MIIM_DATA) r.Data = info->dwItemData;
  if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_SEPARATOR | MFT_BITMAP))))
    r.Text = info->dwTypeData;
  if (info->fMask & MIIM_BITMAP) r.Bitmap = info->hbmpItem;
  if (r.SubMenu && !Live(r.SubMenu)) return FALSE;
  return InsertAt(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, std::move(r));
}

BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFO* info) {
  if (!info) return FALSE;
  const MenuItemRecord* r = Find(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, nullptr);
  if (!r) return FALSE;
  if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = r->Type;
  if (info->fMask & MIIM_STATE) info->fState = r->State;
  if (info->fMask & MIIM_ID) info->wID = r->Id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = r->SubMenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    info->hbmpChecked = r->BitmapChecked;
    info->hbmpUnchecked = r->BitmapUnchecked;
  }
  if (info->fMask & MIIM_DATA) info->dwItemData = r->Data;
  if (info->fMask & (MIIM_STRING | MIIM_TYPE)) {
    info->dwTypeData = r->Text;
    info->cch = UINT(DecodeUtf8(r->Text).size());
  }
  if (info->fMask & MIIM_BITMAP) info->hbmpItem = r->Bitmap;
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFO* info) {
  if (!info) return FALSE;
  HMENU owner = nullptr;
  MenuItemRecord* r = Find(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, &owner);
  if (!r) return FALSE;
  if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu && !ValidSubMenu(owner, info->hSubMenu)) return FALSE;
  if (info->fMask & (MIIM_FTYPE | MIIM_TYPE)) r->Type = info->fType;
  if (info->fMask & MIIM_STATE) r->State = info->fState;
  if (info->fMask & MIIM_ID) r->Id = info->wID;
  if (info->fMask & MIIM_SUBMENU) r->SubMenu = info->hSubMenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    r->BitmapChecked = info->hbmpChecked;
    r->BitmapUnchecked = info->hbmpUnchecked;
  }
  if (info->fMask & MIIM_DATA) r->Data = info->dwItemData;
  if ((info->fMask & MIIM_STRING) || ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_SEPARATOR | MFT_BITMAP))))
    r->Text = info->dwTypeData;
  if (info->fMask & MIIM_BITMAP) r->Bitmap = info->hbmpItem;
  Changed();
  return TRUE;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = Live(menu);
  return m ? int(m->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int pos) {
  Menu* m = Live(menu);
  if (!m || pos < 0 || size_t(pos) >= m->Items.size()) return UINT(-1);
  const MenuItemRecord& r = m->Items[size_t(pos)];
  return r.SubMenu ? UINT(-1) : r.Id;
}

HMENU GetSubMenu(HMENU menu, int pos) {
  Menu* m = Live(menu);
  if (!m || pos < 0 || size_t(pos) >= m->Items.size()) return nullptr;
  HMENU sub = m->Items[size_t(pos)].SubMenu;
  return Live(sub) ? sub : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  const MenuItemRecord* r = Find(menu, item, flags, nullptr);
  if (!r) return UINT(-1);
  UINT state = r->Type | r->State;
  if (r->SubMenu) state |= MF_POPUP | (UINT(GetMenuItemCount(r->SubMenu)) & 0xFF) << 8;
  return state;
}

int GetMenuString(HMENU menu, UINT item, String* text, UINT flags) {
  const MenuItemRecord* r = Find(menu, item, flags, nullptr);
  if (!r) return 0;
  if (text) *text = r->Text;
  return int(DecodeUtf8(r->Text).size());
}

int EnableMenuItem(HMENU menu, UINT item, UINT enable) {
  MenuItemRecord* r = Find(menu, item, enable & MF_BYPOSITION, nullptr);
  if (!r) return -1;
  const int old = int(r->State & (MF_GRAYED | MF_DISABLED));
  r->State = (r->State & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  Changed();
  return old;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
  MenuItemRecord* r = Find(menu, item, check & MF_BYPOSITION, nullptr);
  if (!r) return DWORD(-1);
  const DWORD old = r->State & MF_CHECKED;
  r->State = (r->State & ~MF_CHECKED) | (check & MF_CHECKED);
  Changed();
  return old;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  Menu* m = Live(menu);
  if (!m) return FALSE;
  bool found = false;
  for (size_t i = 0; i < m->Items.size(); ++i) {
    MenuItemRecord& r = m->Items[i];
    const UINT key = (flags & MF_BYPOSITION) ? UINT(i) : r.Id;
    if (key < first || key > last || r.SubMenu) continue;
    if (key == check) {
      r.State |= MF_CHECKED;
      r.Type |= MFT_RADIOCHECK;
      found = true;
    } else {
      r.State &= ~MF_CHECKED;
    }
  }
  Changed();
  return found ? TRUE : FALSE;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  Menu* m = Live(menu);
  if (!m) return FALSE;
  MenuItemRecord* target = nullptr;
  if (item != UINT(-1)) {
    for (size_t i = 0; i < m->Items.size(); ++i)
      if (byPosition ? i == item : (!m->Items[i].SubMenu && m->Items[i].Id == item)) target = &m->Items[i];
    if (!target) return FALSE;
  }
  for (MenuItemRecord& r : m->Items) r.State &= ~MFS_DEFAULT;
  if (target) target->State |= MFS_DEFAULT;
  Changed();
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT /*flags*/) {
  Menu* m = Live(menu);
  if (!m) return UINT(-1);
  for (size_t i = 0; i < m->Items.size(); ++i)
    if (m->Items[i].State & MFS_DEFAULT) return byPosition ? UINT(i) : m->Items[i].Id;
  return UINT(-1);
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
  HMENU owner = nullptr;
  MenuItemRecord* r = Find(menu, item, flags, &owner);
  if (!r) return FALSE;
  Menu* m = Live(owner);
  m->Items.erase(m->Items.begin() + (r - m->Items.data()));
  Changed();
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
  HMENU owner = nullptr;
  MenuItemRecord* r = Find(menu, item, flags, &owner);
  if (!r) return FALSE;
  HMENU sub = r->SubMenu;
  Menu* m = Live(owner);
  m->Items.erase(m->Items.begin() + (r - m->Items.data()));
  if (sub) DestroyMenu(sub);
  Changed();
  return TRUE;
}

HMENU GetMenu(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || (w->Style & WS_CHILD)) return nullptr;
  return Live(w->Menu) ? w->Menu : nullptr;
}

BOOL SetMenu(HWND hwnd, HMENU menu) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || (w->Style & WS_CHILD) || (menu && !Live(menu))) return FALSE;
  w->Menu = menu;
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  if (IsWindowVisible(hwnd)) SendMessage(hwnd, WM_NCPAINT, 1, 0);
  return TRUE;
}

HMENU GetSystemMenu(HWND hwnd, BOOL bRevert) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || (w->Style & WS_CHILD)) return nullptr;
  auto it = S().SystemMenus.find(hwnd);
  if (bRevert) {
    if (it != S().SystemMenus.end()) DestroyMenu(it->second);
    return nullptr;
  }
  if (it != S().SystemMenus.end() && Live(it->second)) return it->second;
  HMENU m = CreatePopupMenu();
  AppendMenu(m, MF_STRING, SC_RESTORE, "&Restore");
  AppendMenu(m, MF_STRING, SC_MOVE, "&Move");
  AppendMenu(m, MF_STRING, SC_SIZE, "&Size");
  AppendMenu(m, MF_STRING, SC_MINIMIZE, "Mi&nimize");
  AppendMenu(m, MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  AppendMenu(m, MF_SEPARATOR, 0, {});
  AppendMenu(m, MF_STRING | MF_DEFAULT, SC_CLOSE, "&Close\tAlt+F4");
  Live(m)->SystemOwner = hwnd;
  S().SystemMenus[hwnd] = m;
  UpdateSystemMenu(hwnd);
  return m;
}

HWND SystemMenuOwner(HMENU menu) {
  Menu* m = Live(menu);
  return m ? m->SystemOwner : nullptr;
}

void UpdateSystemMenu(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  auto it = S().SystemMenus.find(hwnd);
  if (!w || it == S().SystemMenus.end()) return;
  HMENU m = it->second;
  const bool minimized = IsIconic(hwnd), maximized = IsZoomed(hwnd);
  const bool sizable = (w->Style & WS_THICKFRAME) != 0;
  auto enable = [&](UINT cmd, bool on) { EnableMenuItem(m, cmd, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
  enable(SC_RESTORE, (minimized || maximized));
  enable(SC_MOVE, !maximized && !minimized);
  enable(SC_SIZE, sizable && !minimized && !maximized);
  enable(SC_MINIMIZE, (w->Style & WS_MINIMIZEBOX) && !minimized);
  enable(SC_MAXIMIZE, (w->Style & WS_MAXIMIZEBOX) && !maximized);
  enable(SC_CLOSE, true);
}

void ForgetWindowMenus(HWND hwnd) {
  // The menu bar goes with its window.
  if (HMENU bar = GetMenu(hwnd)) {
    hwnd->Menu = nullptr;
    DestroyMenu(bar);
  }
  auto it = S().SystemMenus.find(hwnd);
  if (it == S().SystemMenus.end()) return;
  const HMENU m = it->second;
  S().SystemMenus.erase(it);
  if (Menu* menu = Live(m)) menu->SystemOwner = nullptr;
  DestroyMenu(m);
}

const std::vector<MenuItemRecord>* MenuItems(HMENU menu) {
  Menu* m = Live(menu);
  return m ? &m->Items : nullptr;
}

int FindMenuItem(HMENU menu, UINT item, UINT flags, HMENU* owner) {
  HMENU o = nullptr;
  const MenuItemRecord* r = Find(menu, item, flags, &o);
  if (!r) return -1;
  if (owner) *owner = o;
  return int(r - Live(o)->Items.data());
}

String MenuItemCaption(const MenuItemRecord& item) {
  const size_t tab = item.Text.find('\t');
  return tab == String::npos ? item.Text : item.Text.substr(0, tab);
}

String MenuItemShortCut(const MenuItemRecord& item) {
  const size_t tab = item.Text.find('\t');
  return tab == String::npos ? String{} : item.Text.substr(tab + 1);
}

char32_t MenuMnemonic(const String& caption) {
  const std::u32string text = DecodeUtf8(caption);
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != U'&') continue;
    if (text[i + 1] == U'&') {
      ++i;
      continue;
    }
    char32_t c = text[i + 1];
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
    return c;
  }
  return 0;
}

uint64_t MenuChangeCount() { return S().Changes; }

void ResetMenus() {
  S().Menus.clear();
  S().SystemMenus.clear();
  ++S().Changes;
}
