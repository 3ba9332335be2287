#include "win/MenuLoop.h"

#include <algorithm>

#include "gdi/DC.h"
#include "gdi/Edge.h"
#include "gdi/Fonts.h"
#include "gdi/Objects.h"
#include "gdi/Text.h"
#include "gdi/Utf8.h"
#include "win/Input.h"
#include "win/NonClient.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/Timers.h"

std::function<bool(HDC dc, const RECT& r, MenuPaintPart part, const MenuItemPaint* item)> MenuPainterHook;

namespace {

const char* const kMenuClass = "#32768";
const char* const kMenuProp = "#32768.menu";
constexpr uintptr_t kOpenTimer = 0x4D31;

// Plain look of this layer: the system colours (Windows 10's, or the classic ones while
// themes are off).
COLORREF Background() { return GetSysColor(COLOR_MENU); }

struct Level {
  HMENU Menu = nullptr;
  HWND Window = nullptr;
  int Hot = -1;
  int Open = -1;  // the item whose sub-menu is the next level
};

struct Loop {
  HWND Owner = nullptr;
  UINT Flags = 0;
  bool System = false;
  HMENU Bar = nullptr;  // the menu bar a bar loop runs for
  int BarIndex = -1;
  std::vector<Level> Levels;
  bool Done = false;
  bool Chosen = false;
  UINT Command = 0;
  bool Down[3] = {false, false, false};  // a button went down inside the loop
  bool FreshKey = false;                 // a key went down inside the loop
  POINT LastMouse{};
  uint64_t SeenChanges = 0;
  int TimerLevel = -1;
  int TimerIndex = -1;
  int BarMove = 0;  // Left/Right at the top of a bar loop: -1 or +1
  bool SelectFirst = false;  // opened from the keyboard: the first item is hot at once
};

Loop* g_loop = nullptr;

bool Notifies() { return g_loop && !(g_loop->Flags & TPM_NONOTIFY) && IsWindow(g_loop->Owner); }

LRESULT Notify(UINT msg, WPARAM wParam, LPARAM lParam) {
  return Notifies() ? SendMessage(g_loop->Owner, msg, wParam, lParam) : 0;
}

int LevelOf(HWND hwnd) {
  if (!g_loop) return -1;
  for (size_t i = 0; i < g_loop->Levels.size(); ++i)
    if (g_loop->Levels[i].Window == hwnd) return int(i);
  return -1;
}

HMENU MenuOfWindow(HWND hwnd) { return reinterpret_cast<HMENU>(GetProp(hwnd, kMenuProp)); }

const MenuItemRecord* ItemAt(HMENU menu, int index) {
  const std::vector<MenuItemRecord>* items = MenuItems(menu);
  if (!items || index < 0 || size_t(index) >= items->size()) return nullptr;
  return &(*items)[size_t(index)];
}

bool IsSeparator(const MenuItemRecord& r) { return (r.Type & MFT_SEPARATOR) != 0; }
bool IsDisabled(const MenuItemRecord& r) { return (r.State & (MF_GRAYED | MF_DISABLED)) != 0; }
bool Selectable(const MenuItemRecord& r) { return !IsSeparator(r) && !IsDisabled(r); }

String WithoutPrefix(const String& caption) {
  String out;
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&x" is x underlined, "&&" one "&".
    if (caption[i] == '&' && ++i >= caption.size()) break;
    out += caption[i];
  }
  return out;
}

// ---- layout ----

struct MenuLayout {
  std::vector<RECT> Items;  // client coordinates
  SIZE Client{};
};

SIZE TextSize(HDC dc, const String& text) {
  SIZE s{};
  if (!text.empty()) GetTextExtentPoint32(dc, text, int(DecodeUtf8(text).size()), &s);
  return s;
}

MenuLayout LayoutMenu(HMENU menu) {
  MenuLayout l;
  const std::vector<MenuItemRecord>* items = MenuItems(menu);
  if (!items) return l;
  HDC dc = GetDC(nullptr);
  HFONT font = CreateMenuFont(true);  // bold: the widest a caption gets
  HGDIOBJ old = SelectObject(dc, font);
  int caption = 0, shortcut = 0;
  for (const MenuItemRecord& r : *items) {
    if (IsSeparator(r)) continue;
    caption = std::max<int>(caption, TextSize(dc, WithoutPrefix(MenuItemCaption(r))).cx);
    shortcut = std::max<int>(shortcut, TextSize(dc, MenuItemShortCut(r)).cx);
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  const int width =
      std::max(ScaledLength(100), ScaledLength(30) + caption + (shortcut ? ScaledLength(24) + shortcut : 0) +
                                      ScaledLength(24));
  const int itemHeight = ScaledLength(kMenuItemHeight), sepHeight = ScaledLength(kMenuSeparatorHeight);
  int x = 0, y = 0, bottom = 0;
  for (const MenuItemRecord& r : *items) {
    if ((r.Type & (MFT_MENUBREAK | MFT_MENUBARBREAK)) && y > 0) {
      x += width;
      y = 0;
    }
    const int h = IsSeparator(r) ? sepHeight : itemHeight;
    l.Items.push_back({x, y, x + width, y + h});
    y += h;
    bottom = std::max(bottom, y);
  }
  l.Client = {x + width, std::max(bottom, ScaledLength(4))};
  return l;
}

int ItemFromClientPoint(HMENU menu, POINT p) {
  const MenuLayout l = LayoutMenu(menu);
  for (size_t i = 0; i < l.Items.size(); ++i)
    if (l.Items[i].Contains(p)) return int(i);
  return -1;
}

// ---- painting ----

MenuItemPaint PaintInfo(HMENU menu, int index, const MenuItemRecord& r, bool hot) {
  MenuItemPaint p;
  p.Menu = menu;
  p.Index = index;
  p.Record = &r;
  p.Caption = MenuItemCaption(r);
  p.ShortCut = MenuItemShortCut(r);
  p.Hot = hot;
  p.Disabled = IsDisabled(r);
  p.Checked = (r.State & MFS_CHECKED) != 0;
  p.Radio = (r.Type & MFT_RADIOCHECK) != 0;
  p.Default = (r.State & MFS_DEFAULT) != 0;
  p.Separator = IsSeparator(r);
  p.HasSubMenu = r.SubMenu != nullptr;
  return p;
}

// A check mark, a radio bullet or a sub-menu arrow, drawn with rectangles so that it does
// not depend on a symbol font.
enum class Glyph { Check, Bullet, Arrow };

void DrawGlyph(HDC dc, const RECT& box, Glyph glyph, COLORREF color) {
  const int cx = box.Left + box.Width() / 2, cy = box.Top + box.Height() / 2;
  switch (glyph) {
    case Glyph::Check:
      // Two strokes, 2 pixels thick: down-right from the left, then up to the right.
      for (int i = 0; i < 3; ++i) FillSolidRect(dc, {cx - 4 + i, cy - 1 + i, cx - 3 + i, cy + 2 + i}, color);
      for (int i = 0; i < 5; ++i) FillSolidRect(dc, {cx - 1 + i, cy + 1 - i, cx + i, cy + 4 - i}, color);
      break;
    case Glyph::Bullet:
      FillSolidRect(dc, {cx - 2, cy - 3, cx + 2, cy + 3}, color);
      FillSolidRect(dc, {cx - 3, cy - 2, cx + 3, cy + 2}, color);
      break;
    case Glyph::Arrow:
      // A triangle pointing right, 4 columns wide and 7 rows high.
      for (int i = 0; i < 4; ++i) FillSolidRect(dc, {cx - 2 + i, cy - 3 + i, cx - 1 + i, cy + 4 - i}, color);
      break;
  }
}

void PlainItem(HDC dc, const RECT& r, const MenuItemPaint& p) {
  if (p.Separator) {
    // Etched: a shadow line over a highlight line.
    const int y = r.Top + r.Height() / 2 - 1;
    const int left = r.Left + ScaledLength(2), right = r.Right - ScaledLength(2);
    FillSolidRect(dc, {left, y, right, y + 1}, GetSysColor(COLOR_BTNSHADOW));
    FillSolidRect(dc, {left, y + 1, right, y + 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
    return;
  }
  const bool hot = p.Hot && !p.Disabled;
  if (hot) FillSolidRect(dc, r, GetSysColor(COLOR_HIGHLIGHT));
  const COLORREF color =
      p.Disabled ? GetSysColor(COLOR_GRAYTEXT) : GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  if (p.Checked)
    DrawGlyph(dc, {r.Left, r.Top, r.Left + ScaledLength(26), r.Bottom}, p.Radio ? Glyph::Bullet : Glyph::Check, color);
  if (p.HasSubMenu) DrawGlyph(dc, {r.Right - ScaledLength(20), r.Top, r.Right - ScaledLength(4), r.Bottom}, Glyph::Arrow, color);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  HFONT font = CreateMenuFont(p.Default);
  HGDIOBJ old = SelectObject(dc, font);
  SetTextColor(dc, color);
  RECT text{r.Left + ScaledLength(30), r.Top, r.Right - ScaledLength(24), r.Bottom};
  DrawText(dc, p.Caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!p.ShortCut.empty()) DrawText(dc, p.ShortCut, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  SelectObject(dc, old);
  DeleteObject(font);
  SetBkMode(dc, oldMode);
}

void PaintPart(HDC dc, const RECT& r, MenuPaintPart part, const MenuItemPaint* item) {
  const int saved = SaveDC(dc);
  const bool done = MenuPainterHook && MenuPainterHook(dc, r, part, item);
  if (LiveDC(dc)) RestoreDC(dc, saved);
  if (done || !LiveDC(dc)) return;
  switch (part) {
    case MenuPaintPart::Frame: {
      // The classic raised edge around the menu's own face.
      FillSolidRect(dc, r, Background());
      RECT edge = r;
      DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
      break;
    }
    case MenuPaintPart::Background: FillSolidRect(dc, r, Background()); break;
    case MenuPaintPart::BarBackground: FillSolidRect(dc, r, GetSysColor(COLOR_MENUBAR)); break;
    case MenuPaintPart::Item: PlainItem(dc, r, *item); break;
    case MenuPaintPart::BarItem: {
      const bool hot = item->Hot && !item->Disabled;
      FillSolidRect(dc, r, GetSysColor(hot ? COLOR_HIGHLIGHT : COLOR_MENUBAR));
      HFONT font = CreateMenuFont(false);
      HGDIOBJ old = SelectObject(dc, font);
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(item->Disabled ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
      RECT text = r;
      DrawText(dc, item->Caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
      SetBkMode(dc, oldMode);
      SelectObject(dc, old);
      DeleteObject(font);
      break;
    }
  }
}

int HotOf(HWND hwnd) {
  const int level = LevelOf(hwnd);
  return level >= 0 ? g_loop->Levels[size_t(level)].Hot : -1;
}

void PaintClient(HWND hwnd, HDC dc, bool background) {
  HMENU menu = MenuOfWindow(hwnd);
  RECT client{};
  GetClientRect(hwnd, &client);
  if (background) PaintPart(dc, client, MenuPaintPart::Background, nullptr);
  const std::vector<MenuItemRecord>* items = MenuItems(menu);
  if (!items) return;
  const MenuLayout l = LayoutMenu(menu);
  const int hot = HotOf(hwnd);
  for (size_t i = 0; i < l.Items.size() && i < items->size() && LiveDC(dc); ++i) {
    // Copied: a painter may change the menu.
    const MenuItemRecord record = (*items)[i];
    const MenuItemPaint p = PaintInfo(menu, int(i), record, int(i) == hot);
    PaintPart(dc, l.Items[i], MenuPaintPart::Item, &p);
    if (!(items = MenuItems(menu))) return;
  }
}

void PaintFrame(HWND hwnd, HDC dc) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  PaintPart(dc, {0, 0, r.Width(), r.Height()}, MenuPaintPart::Frame, nullptr);
}

// ---- levels ----

RECT ItemScreenRect(const Level& level, int index) {
  const MenuLayout l = LayoutMenu(level.Menu);
  if (index < 0 || size_t(index) >= l.Items.size()) return {};
  RECT r = l.Items[size_t(index)];
  POINT p{0, 0};
  ClientToScreen(level.Window, &p);
  OffsetRect(&r, p.X, p.Y);
  return r;
}

SIZE WindowSizeFor(HMENU menu) {
  const MenuLayout l = LayoutMenu(menu);
  return {l.Client.cx + 2 * kMenuFrame, l.Client.cy + 2 * kMenuFrame};
}

void EnsureMenuClass();

HWND MakeMenuWindow(HMENU menu, const RECT& r) {
  EnsureMenuClass();
  HWND hwnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kMenuClass, "", WS_POPUP, r.Left, r.Top, r.Width(),
                             r.Height(), g_loop->Owner, nullptr, nullptr, nullptr);
  if (!hwnd) return nullptr;
  SetProp(hwnd, kMenuProp, reinterpret_cast<intptr_t>(menu));
  return hwnd;
}

void ShowLevel(HWND hwnd) {
  if (IsWindow(hwnd)) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void SetHilite(HMENU menu, int index, bool on) {
  const MenuItemRecord* r = ItemAt(menu, index);
  if (!r) return;
  MENUITEMINFO info;
  info.fMask = MIIM_STATE;
  info.fState = on ? (r->State | MFS_HILITE) : (r->State & ~MFS_HILITE);
  SetMenuItemInfo(menu, UINT(index), TRUE, &info);
}

// Closes the levels above level (deepest first).
void CloseAbove(size_t level) {
  while (g_loop && g_loop->Levels.size() > level + 1) {
    Level top = g_loop->Levels.back();
    g_loop->Levels.pop_back();
    SetHilite(top.Menu, top.Hot, false);
    Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(top.Menu), 0);
    if (IsWindow(top.Window)) DestroyWindow(top.Window);
  }
  if (g_loop && level < g_loop->Levels.size()) g_loop->Levels[level].Open = -1;
  if (g_loop) g_loop->SeenChanges = MenuChangeCount();
}

// The hot item of a level (through the window, so that a subclass sees it).
void Select(size_t level, int index) {
  if (!g_loop || level >= g_loop->Levels.size()) return;
  SendMessage(g_loop->Levels[level].Window, MN_SELECTITEM, WPARAM(index), 0);
}

int DoSelect(HWND hwnd, int index, bool byMouse) {
  const int li = LevelOf(hwnd);
  if (li < 0) return -1;
  const size_t level = size_t(li);
  Level& l = g_loop->Levels[level];
  const MenuItemRecord* r = ItemAt(l.Menu, index);
  if (!r || IsSeparator(*r)) index = -1;
  if (index == l.Hot) return index;
  HMENU menu = l.Menu;
  SetHilite(menu, l.Hot, false);
  SetHilite(menu, index, true);
  l.Hot = index;
  g_loop->SeenChanges = MenuChangeCount();
  InvalidateRect(hwnd, nullptr, TRUE);
  if (l.Open >= 0 && l.Open != index) CloseAbove(level);
  if (index >= 0 && g_loop && (r = ItemAt(menu, index))) {
    UINT flags = (r->State & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT)) | MF_HILITE;
    if (r->SubMenu) flags |= MF_POPUP;
    if (byMouse) flags |= MF_MOUSESELECT;
    if (g_loop->System) flags |= MF_SYSMENU;
    Notify(WM_MENUSELECT, MAKEWPARAM(r->SubMenu ? index : int(r->Id), int(flags)), reinterpret_cast<LPARAM>(menu));
  }
  return index;
}

bool LevelsAlive() {
  if (!g_loop || g_loop->Done) return false;
  if (!IsWindow(g_loop->Owner)) return false;
  for (const Level& l : g_loop->Levels)
    if (!IsMenu(l.Menu) || !IsWindow(l.Window)) return false;
  return !g_loop->Levels.empty();
}

// Where a level of this size goes from an anchor (flags as TrackPopupMenuEx's).
RECT PlaceMenu(SIZE size, POINT at, UINT flags, const RECT* exclude) {
  RECT r{at.X, at.Y, at.X + size.cx, at.Y + size.cy};
  if (flags & TPM_RIGHTALIGN)
    OffsetRect(&r, -size.cx, 0);
  else if (flags & TPM_CENTERALIGN)
    OffsetRect(&r, -size.cx / 2, 0);
  if (flags & TPM_BOTTOMALIGN)
    OffsetRect(&r, 0, -size.cy);
  else if (flags & TPM_VCENTERALIGN)
    OffsetRect(&r, 0, -size.cy / 2);
  const RECT work = WorkAreaFromPoint(at);
  // Past the bottom or the right edge the menu flips to the other side of the point.
  if (r.Bottom > work.Bottom && at.Y - size.cy >= work.Top) r = {r.Left, at.Y - size.cy, r.Right, at.Y};
  if (r.Right > work.Right && at.X - size.cx >= work.Left) r = {at.X - size.cx, r.Top, at.X, r.Bottom};
  r = KeepRectInside(r, work);
  if (exclude && !exclude->IsEmpty()) {
    RECT both{};
    if (IntersectRect(&both, &r, exclude)) {
      // Below the excluded rectangle, else above it.
      if (exclude->Bottom + size.cy <= work.Bottom)
        OffsetRect(&r, 0, exclude->Bottom - r.Top);
      else if (exclude->Top - size.cy >= work.Top)
        OffsetRect(&r, 0, exclude->Top - size.cy - r.Top);
    }
  }
  return r;
}

// Opens the first level of the loop.
bool OpenTop(HMENU menu, int indexInParent, const RECT& r) {
  Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(std::max(indexInParent, 0), g_loop->System));
  if (!g_loop || g_loop->Done || !IsMenu(menu) || !IsWindow(g_loop->Owner)) return false;
  // The menu may have changed in WM_INITMENUPOPUP: size it now.
  const SIZE size = WindowSizeFor(menu);
  const RECT placed = KeepRectInside({r.Left, r.Top, r.Left + size.cx, r.Top + size.cy}, WorkAreaFromPoint(r.TopLeft()));
  HWND hwnd = MakeMenuWindow(menu, placed);
  if (!hwnd) return false;
  g_loop->Levels.push_back({menu, hwnd, -1, -1});
  ShowLevel(hwnd);
  return true;
}

// Opens the sub-menu of item index of a level; with selectFirst its first item is hot.
void OpenSub(size_t level, int index, bool selectFirst) {
  if (!g_loop || level >= g_loop->Levels.size()) return;
  CloseAbove(level);
  Level& l = g_loop->Levels[level];
  HMENU sub = GetSubMenu(l.Menu, index);
  const MenuItemRecord* r = ItemAt(l.Menu, index);
  if (!sub || !r || IsDisabled(*r)) return;
  if (l.Hot != index) Select(level, index);
  if (!g_loop || level >= g_loop->Levels.size()) return;
  Notify(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(index, g_loop ? g_loop->System : false));
  if (!LevelsAlive() || level + 1 != g_loop->Levels.size() || !IsMenu(sub)) return;
  const Level& parent = g_loop->Levels[level];
  const RECT item = ItemScreenRect(parent, index);
  RECT pw{};
  GetWindowRect(parent.Window, &pw);
  const SIZE size = WindowSizeFor(sub);
  const RECT work = WorkAreaFromPoint(item.TopLeft());
  int x = pw.Right - kMenuFrame;
  if (x + size.cx > work.Right) x = pw.Left - size.cx + kMenuFrame;
  const RECT placed = KeepRectInside({x, item.Top - kMenuFrame, x + size.cx, item.Top - kMenuFrame + size.cy}, work);
  HWND hwnd = MakeMenuWindow(sub, placed);
  if (!hwnd || !g_loop) return;
  g_loop->Levels[level].Open = index;
  g_loop->Levels.push_back({sub, hwnd, -1, -1});
  ShowLevel(hwnd);
  if (selectFirst) {
    const std::vector<MenuItemRecord>* items = MenuItems(sub);
    for (size_t i = 0; items && i < items->size(); ++i)
      if (Selectable((*items)[i])) {
        Select(level + 1, int(i));
        break;
      }
  }
}

void Choose(size_t level, int index) {
  if (!g_loop || level >= g_loop->Levels.size()) return;
  const MenuItemRecord* r = ItemAt(g_loop->Levels[level].Menu, index);
  if (!r || !Selectable(*r)) return;
  if (r->SubMenu) {
    OpenSub(level, index, true);
    return;
  }
  g_loop->Chosen = true;
  g_loop->Command = r->Id;
  g_loop->Done = true;
}

// ---- keys ----

void MoveHot(size_t level, int step) {
  const Level& l = g_loop->Levels[level];
  const std::vector<MenuItemRecord>* items = MenuItems(l.Menu);
  if (!items || items->empty()) return;
  const int n = int(items->size());
  int i = l.Hot;
  if (i < 0) i = step > 0 ? -1 : n;
  for (int tries = 0; tries < n; ++tries) {
    i = ((i + step) % n + n) % n;
    if (Selectable((*items)[size_t(i)])) {
      Select(level, i);
      return;
    }
  }
}

void Mnemonic(char32_t c) {
  const size_t level = g_loop->Levels.size() - 1;
  HMENU menu = g_loop->Levels[level].Menu;
  if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  const std::vector<MenuItemRecord>* items = MenuItems(menu);
  std::vector<int> matches;
  for (size_t i = 0; items && i < items->size(); ++i)
    if (!IsSeparator((*items)[i]) && MenuMnemonic(MenuItemCaption((*items)[i])) == c) matches.push_back(int(i));
  if (matches.size() == 1) {
    Select(level, matches[0]);
    Choose(level, matches[0]);
    return;
  }
  if (matches.size() > 1) {
    const int hot = g_loop->Levels[level].Hot;
    auto next = std::upper_bound(matches.begin(), matches.end(), hot);
    Select(level, next == matches.end() ? matches[0] : *next);
    return;
  }
  const UINT flags = MF_POPUP | (g_loop->System ? MF_SYSMENU : 0);
  const LRESULT answer =
      Notify(WM_MENUCHAR, MAKEWPARAM(int(c & 0xFFFF), int(flags)), reinterpret_cast<LPARAM>(menu));
  if (!LevelsAlive()) return;
  const int index = int(LOWORD(uint64_t(answer)));
  switch (int(HIWORD(uint64_t(answer)))) {
    case MNC_CLOSE: g_loop->Done = true; break;
    case MNC_EXECUTE:
      Select(level, index);
      Choose(level, index);
      break;
    case MNC_SELECT: Select(level, index); break;
    default: MessageBeep(0); break;
  }
}

// The menu window's default handling of a key or character sent to it by the loop.
void MenuKey(UINT message, WPARAM key) {
  if (message == WM_CHAR || message == WM_SYSCHAR) {
    if (key > U' ') Mnemonic(char32_t(key));
    return;
  }
  const size_t level = g_loop->Levels.size() - 1;
  const int hot = g_loop->Levels[level].Hot;
  switch (key) {
    case VK_UP: MoveHot(level, -1); break;
    case VK_DOWN: MoveHot(level, +1); break;
    case VK_HOME:
    case VK_END: {
      g_loop->Levels[level].Hot = -1;
      MoveHot(level, key == VK_HOME ? +1 : -1);
      break;
    }
    case VK_RIGHT: {
      const MenuItemRecord* r = ItemAt(g_loop->Levels[level].Menu, hot);
      if (r && r->SubMenu && !IsDisabled(*r))
        OpenSub(level, hot, true);
      else if (g_loop->Bar) {
        g_loop->BarMove = +1;
        g_loop->Done = true;
      }
      break;
    }
    case VK_LEFT:
      if (level > 0)
        CloseAbove(level - 1);
      else if (g_loop->Bar) {
        g_loop->BarMove = -1;
        g_loop->Done = true;
      }
      break;
    case VK_RETURN:
      if (hot >= 0) Choose(level, hot);
      break;
    case VK_ESCAPE:
      if (level > 0)
        CloseAbove(level - 1);
      else
        g_loop->Done = true;
      break;
    case VK_MENU:
    case VK_F10: g_loop->Done = true; break;
    default: break;
  }
}

// Keys and characters go to the deepest menu window, whose default handling is MenuKey,
// so that a subclass can take them first.
bool HandleKey(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // The key that opened the menu may repeat: it neither moves nor chooses.
      if (!g_loop->FreshKey && (msg.lParam & (LPARAM(1) << 30))) return true;
      g_loop->FreshKey = true;
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (!g_loop->FreshKey) return true;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_DEADCHAR: return true;
    default: return false;
  }
  SendMessage(g_loop->Levels.back().Window, msg.message, msg.wParam, msg.lParam);
  return true;
}

// ---- mouse ----

int ButtonOf(UINT m) {
  switch (m) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK: return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK: return 1;
    default: return 2;
  }
}

bool IsDown(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK ||
         m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK || m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN ||
         m == WM_NCMBUTTONDOWN || m == WM_NCLBUTTONDBLCLK || m == WM_NCRBUTTONDBLCLK || m == WM_NCMBUTTONDBLCLK;
}

bool IsUp(UINT m) {
  return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP || m == WM_NCLBUTTONUP || m == WM_NCRBUTTONUP ||
         m == WM_NCMBUTTONUP;
}

bool IsMouse(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK);
}

POINT ScreenPoint(const MSG& msg) {
  POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL) return p;
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ClientToScreen(msg.hwnd, &p);
  return p;
}

// The deepest level whose window holds the point, -1 for none.
int LevelAt(POINT p) {
  for (int i = int(g_loop->Levels.size()) - 1; i >= 0; --i) {
    RECT r{};
    GetWindowRect(g_loop->Levels[size_t(i)].Window, &r);
    if (r.Contains(p)) return i;
  }
  return -1;
}

int ItemAtScreen(size_t level, POINT p) {
  const Level& l = g_loop->Levels[level];
  ScreenToClient(l.Window, &p);
  return ItemFromClientPoint(l.Menu, p);
}

void StartOpenTimer(size_t level, int index) {
  const MenuItemRecord* r = ItemAt(g_loop->Levels[level].Menu, index);
  if (!r || !r->SubMenu || IsDisabled(*r) || g_loop->Levels[level].Open == index) return;
  UINT delay = 400;
  SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &delay, 0);
  g_loop->TimerLevel = int(level);
  g_loop->TimerIndex = index;
  SetTimer(g_loop->Levels[level].Window, kOpenTimer, delay, nullptr);
}

// Returns true when the message was the loop's; *repost when it must reach its window
// after the loop (a click outside the menus).
bool HandleMouse(const MSG& msg, bool* repost) {
  if (!IsMouse(msg.message)) return false;
  if (msg.message == WM_MOUSEWHEEL || msg.message == WM_MOUSEHWHEEL) return true;
  const POINT p = ScreenPoint(msg);
  const int li = LevelAt(p);
  const LPARAM at = MAKELPARAM(p.X, p.Y);
  if (msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE) {
    if (p == g_loop->LastMouse) return true;
    g_loop->LastMouse = p;
    if (li < 0) {
      // Off the menus the deepest level keeps no hot item unless its sub-menu is open.
      const size_t deepest = g_loop->Levels.size() - 1;
      if (g_loop->Levels[deepest].Open < 0) SendMessage(g_loop->Levels[deepest].Window, MN_SELECTITEM, WPARAM(-1), 0);
      return true;
    }
    const size_t level = size_t(li);
    const int index = ItemAtScreen(level, p);
    SendMessage(g_loop->Levels[level].Window, MN_MOUSEMOVE, WPARAM(index), at);
    if (!LevelsAlive() || level >= g_loop->Levels.size()) return true;
    if (index >= 0 && g_loop->Levels[level].Open == index) {
      CloseAbove(level + 1);
      return true;
    }
    if (index >= 0) {
      SendMessage(g_loop->Levels[level].Window, MN_SELECTITEM, WPARAM(index), 1);
      if (LevelsAlive() && level < g_loop->Levels.size()) StartOpenTimer(level, index);
    }
    return true;
  }
  const int button = ButtonOf(msg.message);
  if (IsDown(msg.message)) {
    if (li < 0) {
      g_loop->Done = true;
      *repost = true;
      return true;
    }
    g_loop->Down[button] = true;
    const size_t level = size_t(li);
    const int index = ItemAtScreen(level, p);
    SendMessage(g_loop->Levels[level].Window, MN_BUTTONDOWN, WPARAM(index), at);
    if (!LevelsAlive() || level >= g_loop->Levels.size() || index < 0) return true;
    Select(level, index);
    const MenuItemRecord* r = LevelsAlive() ? ItemAt(g_loop->Levels[level].Menu, index) : nullptr;
    if (r && r->SubMenu && g_loop->Levels[level].Open != index) OpenSub(level, index, false);
    return true;
  }
  if (IsUp(msg.message)) {
    if (li < 0) return true;
    const size_t level = size_t(li);
    const int index = ItemAtScreen(level, p);
    SendMessage(g_loop->Levels[level].Window, MN_BUTTONUP, WPARAM(index), at);
    if (!LevelsAlive() || level >= g_loop->Levels.size()) return true;
    const bool chooses = button == 0 || (button == 1 && (g_loop->Flags & TPM_RIGHTBUTTON));
    // A release whose press came before the loop (the click that opened it) chooses nothing.
    if (!chooses || !g_loop->Down[button] || index < 0) return true;
    g_loop->Down[button] = false;
    const MenuItemRecord* r = ItemAt(g_loop->Levels[level].Menu, index);
    if (r && !r->SubMenu) Choose(level, index);
    return true;
  }
  return true;
}

// ---- the menu window ----

LRESULT MenuWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      RECT* r = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : reinterpret_cast<RECT*>(lParam);
      if (r) InflateRect(r, -kMenuFrame, -kMenuFrame);
      return 0;
    }
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(hwnd);
      PaintFrame(hwnd, dc);
      ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (!LiveDC(dc)) return 0;
      RECT client{};
      GetClientRect(hwnd, &client);
      PaintPart(dc, client, MenuPaintPart::Background, nullptr);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintClient(hwnd, dc, ps.fErase);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (LiveDC(dc)) PaintClient(hwnd, dc, !(lParam & PRF_ERASEBKGND));
      return 0;
    }
    case WM_PRINT: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (!LiveDC(dc)) return 0;
      if (lParam & PRF_NONCLIENT) PaintFrame(hwnd, dc);
      return DefWindowProc(hwnd, WM_PRINT, wParam, lParam & ~PRF_NONCLIENT);
    }
    case MN_GETHMENU: return reinterpret_cast<LRESULT>(MenuOfWindow(hwnd));
    case MN_SELECTITEM: return DoSelect(hwnd, int(wParam), lParam != 0);
    case MN_BUTTONDOWN:
    case MN_BUTTONUP:
    case MN_MOUSEMOVE: return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
      // Only the deepest level takes keys.
      if (g_loop && !g_loop->Levels.empty() && g_loop->Levels.back().Window == hwnd && !g_loop->Done)
        MenuKey(msg, wParam);
      return 0;
    case WM_TIMER:
      if (wParam == kOpenTimer) {
        KillTimer(hwnd, kOpenTimer);
        const int level = LevelOf(hwnd);
        if (level >= 0 && level == g_loop->TimerLevel && g_loop->Levels[size_t(level)].Hot == g_loop->TimerIndex)
          OpenSub(size_t(level), g_loop->TimerIndex, false);
        return 0;
      }
      break;
    case WM_ACTIVATEAPP:
      // The application lost activation: the menus close like a drop-down does.
      if (!wParam && g_loop) g_loop->Done = true;
      return 0;
    case WM_CANCELMODE:
      if (g_loop) g_loop->Done = true;
      return 0;
    default: break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

void EnsureMenuClass() {
  WNDCLASS wc;
  if (GetClassInfo(nullptr, kMenuClass, &wc)) return;
  wc.style = CS_SAVEBITS | CS_DBLCLKS;
  wc.lpfnWndProc = MenuWndProc;
  wc.lpszClassName = kMenuClass;
  RegisterClass(&wc);
}

// ---- running the loop ----

void Run() {
  while (LevelsAlive()) {
    if (MenuChangeCount() != g_loop->SeenChanges) {
      // The menus changed while shown: sizes and items are read again.
      g_loop->SeenChanges = MenuChangeCount();
      for (Level& l : g_loop->Levels) {
        const int n = GetMenuItemCount(l.Menu);
        if (l.Hot >= n) l.Hot = -1;
        const SIZE size = WindowSizeFor(l.Menu);
        SetWindowPos(l.Window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(l.Window, nullptr, TRUE);
      }
      continue;
    }
    MSG msg;
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      // The quit belongs to the loop that owns the application.
      PostQuitMessage(int(msg.wParam));
      if (g_loop) g_loop->Done = true;
      return;
    }
    if (!LevelsAlive()) {
      if (IsMouse(msg.message) && IsDown(msg.message)) PostInput(msg);
      return;
    }
    if (CallHooks(WH_MSGFILTER, MSGF_MENU, 0, reinterpret_cast<LPARAM>(&msg))) continue;
    if (!LevelsAlive()) return;
    bool repost = false;
    if (HandleMouse(msg, &repost)) {
      if (repost) PostInput(msg);
      continue;
    }
    if (HandleKey(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

// Destroys what is left of the loop's windows without notifications (an exception ended
// the loop).
struct LoopGuard {
  Loop* Saved;
  ~LoopGuard() {
    if (!g_loop) return;
    for (auto it = g_loop->Levels.rbegin(); it != g_loop->Levels.rend(); ++it)
      if (IsWindow(it->Window)) DestroyWindow(it->Window);
    g_loop = Saved;
  }
};

// Closes every level with the notifications and answers the command to report.
void Finish() {
  if (!g_loop) return;
  for (const Level& l : g_loop->Levels) KillTimer(l.Window, kOpenTimer);
  Notify(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  if (g_loop) CloseAbove(0);
  if (g_loop && !g_loop->Levels.empty()) {
    Level top = g_loop->Levels.back();
    g_loop->Levels.clear();
    SetHilite(top.Menu, top.Hot, false);
    Notify(WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(top.Menu), 0);
    if (IsWindow(top.Window)) DestroyWindow(top.Window);
  }
  if (g_loop) Notify(WM_EXITMENULOOP, g_loop->Bar ? FALSE : TRUE, 0);
}

BOOL RunLoop(Loop& loop, HMENU menu, int indexInParent, const RECT& at) {
  LoopGuard guard{g_loop};
  g_loop = &loop;
  loop.SeenChanges = MenuChangeCount();
  // The first mouse move counts wherever it is.
  loop.LastMouse = {INT32_MIN, INT32_MIN};
  if (GetCapture()) ReleaseCapture();
  Notify(WM_ENTERMENULOOP, loop.Bar ? FALSE : TRUE, 0);
  Notify(WM_INITMENU, reinterpret_cast<WPARAM>(loop.Bar ? loop.Bar : menu), 0);
  if (!loop.Done && IsMenu(menu) && IsWindow(loop.Owner) && OpenTop(menu, indexInParent, at)) {
    if (loop.SelectFirst) MoveHot(0, +1);
    Run();
  }
  Finish();
  g_loop = guard.Saved;
  guard.Saved = nullptr;
  const bool chosen = loop.Chosen && IsWindow(loop.Owner);
  if (loop.Flags & TPM_RETURNCMD) return chosen ? BOOL(loop.Command) : 0;
  if (chosen && !(loop.Flags & TPM_NONOTIFY))
    PostMessage(loop.Owner, loop.System ? WM_SYSCOMMAND : WM_COMMAND, loop.Command, 0);
  return TRUE;
}

}  // namespace

// ---- public ----

HFONT CreateMenuFont(bool bold) {
  return CreateFont(-ScaledLength(12), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Segoe UI");
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
  if (!IsMenu(menu) || !IsWindow(owner) || g_loop) return FALSE;
  Loop loop;
  loop.Owner = owner;
  loop.Flags = flags;
  loop.System = SystemMenuOwner(menu) != nullptr;
  // Placed with the size the menu has now; OpenTop keeps it inside after WM_INITMENUPOPUP.
  const RECT r = PlaceMenu(WindowSizeFor(menu), {x, y}, flags, params ? &params->rcExclude : nullptr);
  return RunLoop(loop, menu, -1, r);
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int /*reserved*/, HWND owner, const RECT* /*reserved2*/) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  if (!g_loop) return FALSE;
  g_loop->Done = true;
  PostMessage(nullptr, WM_NULL, 0, 0);
  return TRUE;
}

bool InMenuLoop() { return g_loop != nullptr; }

std::vector<HWND> MenuWindows() {
  std::vector<HWND> out;
  if (g_loop)
    for (const Level& l : g_loop->Levels) out.push_back(l.Window);
  return out;
}

void TrackSystemMenu(HWND hwnd, POINT screen) {
  HMENU menu = GetSystemMenu(hwnd, FALSE);
  if (!menu) return;
  UpdateSystemMenu(hwnd);
  TrackPopupMenuEx(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, screen.X, screen.Y, hwnd, nullptr);
}

// ---- menu bar ----

namespace {

std::vector<RECT> BarItemRects(HWND hwnd, const RECT& bar) {
  std::vector<RECT> out;
  const std::vector<MenuItemRecord>* items = MenuItems(GetMenu(hwnd));
  if (!items) return out;
  HDC dc = GetDC(nullptr);
  HFONT font = CreateMenuFont(false);
  HGDIOBJ old = SelectObject(dc, font);
  int x = bar.Left;
  for (const MenuItemRecord& r : *items) {
    const int w = TextSize(dc, WithoutPrefix(MenuItemCaption(r))).cx + ScaledLength(14);
    out.push_back({x, bar.Top, x + w, bar.Bottom});
    x += w;
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return out;
}

RECT BarRect(HWND hwnd) { return NonClientLayoutOf(hwnd).MenuBar; }

int g_barHot = -1;
HWND g_barWindow = nullptr;

}  // namespace

void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar) {
  HMENU menu = GetMenu(hwnd);
  const std::vector<MenuItemRecord>* items = MenuItems(menu);
  if (!items) return;
  PaintPart(dc, bar, MenuPaintPart::BarBackground, nullptr);
  const std::vector<RECT> rects = BarItemRects(hwnd, bar);
  for (size_t i = 0; i < rects.size() && i < items->size(); ++i) {
    const MenuItemRecord record = (*items)[i];
    const MenuItemPaint p = PaintInfo(menu, int(i), record, hwnd == g_barWindow && int(i) == g_barHot);
    PaintPart(dc, rects[i], MenuPaintPart::BarItem, &p);
    if (!(items = MenuItems(menu))) return;
  }
}

int MenuBarItemFromPoint(HWND hwnd, POINT screen) {
  RECT wr{};
  if (!GetMenu(hwnd) || !GetWindowRect(hwnd, &wr)) return -1;
  const POINT p{screen.X - wr.Left, screen.Y - wr.Top};
  const std::vector<RECT> rects = BarItemRects(hwnd, BarRect(hwnd));
  for (size_t i = 0; i < rects.size(); ++i)
    if (rects[i].Contains(p)) return int(i);
  return -1;
}

void TrackMenuBar(HWND hwnd, int index, bool byKeyboard) {
  HMENU bar = GetMenu(hwnd);
  if (!bar || g_loop) return;
  for (int guard = 0; guard < 64; ++guard) {
    const int n = GetMenuItemCount(bar);
    if (n <= 0 || index < 0 || index >= n || !IsWindow(hwnd)) break;
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    const std::vector<RECT> rects = BarItemRects(hwnd, BarRect(hwnd));
    if (size_t(index) >= rects.size()) break;
    RECT item = rects[size_t(index)];
    OffsetRect(&item, wr.Left, wr.Top);
    g_barWindow = hwnd;
    g_barHot = index;
    DrawMenuBar(hwnd);
    HMENU sub = GetSubMenu(bar, index);
    Loop loop;
    loop.Owner = hwnd;
    loop.Bar = bar;
    loop.BarIndex = index;
    loop.Flags = TPM_LEFTALIGN | TPM_TOPALIGN;
    loop.SelectFirst = byKeyboard;
    if (sub) {
      RunLoop(loop, sub, index, PlaceMenu(WindowSizeFor(sub), {item.Left, item.Bottom}, 0, &item));
    } else {
      const MenuItemRecord* r = ItemAt(bar, index);
      if (r && !IsDisabled(*r)) PostMessage(hwnd, WM_COMMAND, r->Id, 0);
    }
    g_barHot = -1;
    g_barWindow = nullptr;
    if (IsWindow(hwnd)) DrawMenuBar(hwnd);
    if (!loop.BarMove || !IsMenu(bar)) break;
    index = (index + loop.BarMove + n) % n;
    byKeyboard = true;  // Left and Right moved along the bar
  }
}

int MenuBarItemFromMnemonic(HWND hwnd, char32_t c) {
  const std::vector<MenuItemRecord>* items = MenuItems(GetMenu(hwnd));
  if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  for (size_t i = 0; items && i < items->size(); ++i)
    if (MenuMnemonic(MenuItemCaption((*items)[i])) == c) return int(i);
  return -1;
}

void ResetMenuLoop() {
  if (g_loop) g_loop->Done = true;
  g_barHot = -1;
  g_barWindow = nullptr;
}

BOOL GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, RECT* r) {
  if (!r || !IsMenu(menu)) return FALSE;
  if (g_loop)
    for (const Level& l : g_loop->Levels)
      if (l.Menu == menu && IsWindow(l.Window)) {
        const RECT box = ItemScreenRect(l, int(item));
        if (box.IsEmpty()) return FALSE;
        *r = box;
        return TRUE;
      }
  if (hwnd && GetMenu(hwnd) == menu) {
    RECT wr{};
    GetWindowRect(hwnd, &wr);
    const std::vector<RECT> rects = BarItemRects(hwnd, BarRect(hwnd));
    if (item >= rects.size()) return FALSE;
    *r = rects[item];
    OffsetRect(r, wr.Left, wr.Top);
    return TRUE;
  }
  return FALSE;
}

int MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen) {
  if (!IsMenu(menu)) return -1;
  if (g_loop)
    for (const Level& l : g_loop->Levels)
      if (l.Menu == menu && IsWindow(l.Window)) {
        POINT p = screen;
        ScreenToClient(l.Window, &p);
        return ItemFromClientPoint(menu, p);
      }
  if (hwnd && GetMenu(hwnd) == menu) return MenuBarItemFromPoint(hwnd, screen);
  return -1;
}
