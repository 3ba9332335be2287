#include "win/Window.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "gdi/DC.h"
#include "gdi/Fonts.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/Menus.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/ScrollBars.h"
#include "win/Timers.h"

namespace {

// Internal SetWindowPos flags that tell DefWindowProc the client area did not move or
// change size, so it skips WM_MOVE / WM_SIZE.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

struct WindowSystem {
  std::map<String, std::unique_ptr<WindowClassRecord>> Classes;  // lower-case names
  ATOM NextAtom = 0xC000;
  std::unordered_set<const WindowObject*> Live;
  std::vector<HWND> TopLevel;  // topmost first
  // Destroyed windows are freed only when no message handler can still be running on
  // them, so that their addresses are not reused by new windows meanwhile.
  std::vector<std::unique_ptr<WindowObject>> Graveyard;
};

WindowSystem& Sys() {
  static WindowSystem sys;
  return sys;
}

String Lower(String s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::vector<HWND>& Siblings(WindowObject* w) { return w->Parent ? w->Parent->Children : Sys().TopLevel; }

bool IsTopLevel(const WindowObject* w) { return w->Parent == nullptr; }

// Inserts a window among its siblings: topmost windows stay in front of the others.
void InsertInZOrder(WindowObject* w, HWND after) {
  std::vector<HWND>& list = Siblings(w);
  std::erase(list, w);
  const bool topmost = IsTopLevel(w) && (w->ExStyle & WS_EX_TOPMOST);
  auto firstNonTopmost = std::find_if(list.begin(), list.end(), [](HWND s) { return !(s->ExStyle & WS_EX_TOPMOST); });
  if (after == HWND_TOP || after == HWND_TOPMOST) {
    list.insert(topmost || !IsTopLevel(w) ? list.begin() : firstNonTopmost, w);
  } else if (after == HWND_BOTTOM) {
    list.push_back(w);
  } else if (after == HWND_NOTOPMOST) {
    list.insert(firstNonTopmost, w);
  } else {
    auto it = std::find(list.begin(), list.end(), after);
    list.insert(it == list.end() ? list.begin() : it + 1, w);
  }
}

RECT ToWindowRelative(const RECT& r, const RECT& window) {
  return {r.Left - window.Left, r.Top - window.Top, r.Right - window.Left, r.Bottom - window.Top};
}

// Asks the window for its client area within a window rectangle (parent coordinates).
RECT CalcClient(HWND hwnd, const RECT& window, const RECT& oldWindow, const RECT& oldClient, bool changed) {
  NCCALCSIZE_PARAMS params;
  params.rgrc[0] = window;
  params.rgrc[1] = oldWindow;
  params.rgrc[2] = {oldClient.Left + oldWindow.Left, oldClient.Top + oldWindow.Top, oldClient.Right + oldWindow.Left,
                    oldClient.Bottom + oldWindow.Top};
  WINDOWPOS pos{hwnd, nullptr, window.Left, window.Top, window.Width(), window.Height(), 0};
  params.lppos = &pos;
  SendMessage(hwnd, WM_NCCALCSIZE, changed ? TRUE : FALSE, reinterpret_cast<LPARAM>(&params));
  if (!LiveWindow(hwnd)) return {};
  RECT c = params.rgrc[0];
  // A client area never reaches outside the window nor has a negative size.
  c.Left = std::clamp(c.Left, window.Left, window.Right);
  c.Top = std::clamp(c.Top, window.Top, window.Bottom);
  c.Right = std::clamp(c.Right, c.Left, window.Right);
  c.Bottom = std::clamp(c.Bottom, c.Top, window.Bottom);
  return ToWindowRelative(c, window);
}

POINT ScreenOrigin(const WindowObject* w) {
  POINT p{w->Window.Left, w->Window.Top};
  for (const WindowObject* a = w->Parent; a; a = a->Parent) {
    p.X += a->Client.Left + a->Window.Left;
    p.Y += a->Client.Top + a->Window.Top;
  }
  return p;
}

void SyncNative(WindowObject* w) {
  if (!w->Native) return;
  CurrentBackend().SetNativeWindowBounds(w->Native, w->Window);
}

void EnsureSurface(WindowObject* w) {
  const int width = std::max<LONG>(w->Window.Width(), 0), height = std::max<LONG>(w->Window.Height(), 0);
  if (w->Pixels && w->Pixels->Width() == width && w->Pixels->Height() == height) return;
  w->Pixels = std::make_unique<Surface>(width, height, false, false);
  w->Pixels->Fill(0xFFFFFFFFu);
  w->Dirty = Region(w->Pixels->Bounds());
}


HWND NextTopLevelToActivate(HWND except) {
  for (HWND t : Sys().TopLevel)
    if (t != except && (t->Style & WS_VISIBLE) && !(t->Style & WS_DISABLED) && !(t->ExStyle & WS_EX_NOACTIVATE) &&
        NativeKindOf(t) == NativeWindowKind::Normal)
      return t;
  return nullptr;
}

void FreeWindow(WindowObject* w) {
  Sys().Live.erase(w);
  Sys().Graveyard.emplace_back(w);
}

void DestroyTree(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return;
  SendMessage(hwnd, WM_DESTROY, 0, 0);
  // Children go after their parent has heard WM_DESTROY, and are freed before it.
  while (LiveWindow(hwnd) && !w->Children.empty()) {
    HWND child = w->Children.front();
    child->Destroying = true;
    DestroyTree(child);
    std::erase(w->Children, child);
  }
  if (!LiveWindow(hwnd)) return;
  KillWindowTimers(hwnd);
  ForgetWindowInput(hwnd);
  ForgetWindowMenus(hwnd);
  SendMessage(hwnd, WM_NCDESTROY, 0, 0);
  if (w->Native) {
    CurrentBackend().DestroyNativeWindow(w->Native);
    w->Native = 0;
  }
  FreeWindow(w);
}

}  // namespace

// ---- classes ----

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || wc->lpszClassName.empty() || !wc->lpfnWndProc) return 0;
  const String key = Lower(wc->lpszClassName);
  if (Sys().Classes.count(key)) return 0;  // already registered
  auto rec = std::make_unique<WindowClassRecord>();
  rec->Info = *wc;
  rec->Atom = Sys().NextAtom++;
  const ATOM atom = rec->Atom;
  Sys().Classes[key] = std::move(rec);
  return atom;
}

BOOL UnregisterClass(const String& name, HINSTANCE) {
  auto it = Sys().Classes.find(Lower(name));
  if (it == Sys().Classes.end()) return FALSE;
  for (const WindowObject* w : Sys().Live)
    if (w->Class == it->second.get()) return FALSE;  // still in use
  Sys().Classes.erase(it);
  return TRUE;
}

BOOL GetClassInfo(HINSTANCE, const String& name, WNDCLASS* wc) {
  auto it = Sys().Classes.find(Lower(name));
  if (it == Sys().Classes.end()) return FALSE;
  if (wc) *wc = it->second->Info;
  return TRUE;
}

int GetClassName(HWND hwnd, String* name) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !name) return 0;
  *name = w->Class->Info.lpszClassName;
  return int(name->size());
}

intptr_t GetClassLongPtr(HWND hwnd, int index) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  switch (index) {
    case GCL_STYLE: return intptr_t(w->Class->Info.style);
    case GCLP_HBRBACKGROUND: return reinterpret_cast<intptr_t>(w->Class->Info.hbrBackground);
    case GCLP_HCURSOR: return reinterpret_cast<intptr_t>(w->Class->Info.hCursor);
    default: return 0;
  }
}

intptr_t SetClassLongPtr(HWND hwnd, int index, intptr_t value) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  const intptr_t old = GetClassLongPtr(hwnd, index);
  switch (index) {
    case GCL_STYLE: w->Class->Info.style = UINT(value); break;
    case GCLP_HBRBACKGROUND: w->Class->Info.hbrBackground = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: w->Class->Info.hCursor = reinterpret_cast<HCURSOR>(value); break;
    default: return 0;
  }
  return old;
}

// ---- creation and destruction ----

std::function<void(HWND)> WindowCreatedHook;

WindowObject* LiveWindow(HWND hwnd) { return (hwnd && Sys().Live.count(hwnd)) ? hwnd : nullptr; }
BOOL IsWindow(HWND hwnd) { return LiveWindow(hwnd) != nullptr; }
const std::vector<HWND>& TopLevelWindows() { return Sys().TopLevel; }

HWND CreateWindowEx(DWORD exStyle, const String& className, const String& windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  auto cls = Sys().Classes.find(Lower(className));
  if (cls == Sys().Classes.end() && EnsureSystemClass(className)) cls = Sys().Classes.find(Lower(className));
  if (cls == Sys().Classes.end()) return nullptr;
  const bool child = (style & WS_CHILD) != 0;
  if (child && !LiveWindow(parent)) return nullptr;
  if (parent && !LiveWindow(parent)) return nullptr;
  if (x == CW_USEDEFAULT) x = y = child ? 0 : 100;
  if (width == CW_USEDEFAULT) {
    width = 640;
    height = 480;
  }
  auto* w = new WindowObject;
  w->Class = cls->second.get();
  w->Style = style & ~WS_VISIBLE;
  w->ExStyle = exStyle;
  w->Proc = w->Class->Info.lpfnWndProc;
  w->Text = windowName;
  if (child) {
    w->Parent = parent;
    w->Id = reinterpret_cast<intptr_t>(menu);
  } else {
    // The owner of a top-level window is itself top-level.
    w->Owner = parent ? GetAncestor(parent, GA_ROOT) : nullptr;
    w->Menu = menu;
  }
  w->Window = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  Sys().Live.insert(w);
  InsertInZOrder(w, HWND_TOP);

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  auto fail = [&]() -> HWND {
    if (LiveWindow(w)) {
      std::erase(Siblings(w), w);
      DestroyTree(w);
    }
    return nullptr;
  };
  if (!SendMessage(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) || !LiveWindow(w)) return fail();
  w->Client = CalcClient(w, w->Window, w->Window, {0, 0, w->Window.Width(), w->Window.Height()}, false);
  if (!LiveWindow(w)) return nullptr;
  if (IsTopLevel(w)) {
    EnsureSurface(w);
    NativeWindowDesc desc;
    desc.Kind = NativeKindOf(w);
    desc.Bounds = w->Window;
    desc.Title = w->Text;
    desc.TopMost = (w->ExStyle & WS_EX_TOPMOST) != 0;
    w->Native = CurrentBackend().CreateNativeWindow(desc);
  }
  if (SendMessage(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1 || !LiveWindow(w)) return fail();
  if (child && !(exStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, int(w->Id)), reinterpret_cast<LPARAM>(w));
  if (!LiveWindow(w)) return nullptr;
  SendMessage(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  SendMessage(w, WM_MOVE, 0, MAKELPARAM(w->Window.Left + w->Client.Left, w->Window.Top + w->Client.Top));
  if (LiveWindow(w) && (style & WS_VISIBLE)) {
    if (style & WS_MAXIMIZE)
      ShowWindow(w, SW_SHOWMAXIMIZED);
    else if (style & WS_MINIMIZE)
      ShowWindow(w, SW_SHOWMINIMIZED);
    else
      ShowWindow(w, SW_SHOW);
  }
  if (LiveWindow(w) && WindowCreatedHook) WindowCreatedHook(w);
  return LiveWindow(w) ? w : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || w->Destroying) return FALSE;
  w->Destroying = true;
  const bool wasVisible = IsWindowVisible(hwnd);
  const bool wasActive = GetActiveWindow() == hwnd;
  // Owned windows go first.
  for (HWND t : std::vector<HWND>(Sys().TopLevel))
    if (LiveWindow(t) && t->Owner == hwnd) DestroyWindow(t);
  if (!LiveWindow(hwnd)) return TRUE;
  if (wasVisible)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!LiveWindow(hwnd)) return TRUE;
  if (w->Parent && !(w->ExStyle & WS_EX_NOPARENTNOTIFY))
    SendMessage(w->Parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, int(w->Id)), reinterpret_cast<LPARAM>(hwnd));
  if (!LiveWindow(hwnd)) return TRUE;
  std::vector<HWND>& siblings = Siblings(w);
  DestroyTree(hwnd);
  std::erase(siblings, hwnd);
  if (wasActive) {
    if (HWND next = NextTopLevelToActivate(nullptr)) SetActiveWindow(next);
  }
  return TRUE;
}

void ReleaseDestroyedWindows() {
  if (!InSendMessage()) Sys().Graveyard.clear();
}

// ---- the tree ----

HWND SetParent(HWND hwnd, HWND newParent) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || (newParent && !LiveWindow(newParent))) return nullptr;
  for (HWND a = newParent; a; a = a->Parent)
    if (a == hwnd) return nullptr;  // a window cannot go inside itself
  HWND old = w->Parent ? w->Parent : nullptr;
  const bool visible = (w->Style & WS_VISIBLE) != 0;
  if (visible) ShowWindow(hwnd, SW_HIDE);
  std::erase(Siblings(w), w);
  if (IsTopLevel(w) && w->Native) {
    CurrentBackend().DestroyNativeWindow(w->Native);
    w->Native = 0;
    w->Pixels.reset();
  }
  w->Parent = newParent;
  if (newParent) {
    w->Style = (w->Style | WS_CHILD) & ~WS_POPUP;
  } else {
    w->Style &= ~WS_CHILD;
    EnsureSurface(w);
    NativeWindowDesc desc;
    desc.Kind = NativeKindOf(w);
    desc.Bounds = w->Window;
    desc.Title = w->Text;
    w->Native = CurrentBackend().CreateNativeWindow(desc);
  }
  InsertInZOrder(w, HWND_TOP);
  if (visible) ShowWindow(hwnd, SW_SHOWNA);
  return old;
}

HWND GetParent(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return nullptr;
  return w->Parent ? w->Parent : w->Owner;
}

HWND GetWindow(HWND hwnd, UINT relation) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front();
  if (relation == GW_OWNER) return w->Owner;
  const std::vector<HWND>& list = Siblings(w);
  auto it = std::find(list.begin(), list.end(), hwnd);
  switch (relation) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return (it == list.end() || it + 1 == list.end()) ? nullptr : *(it + 1);
    case GW_HWNDPREV: return (it == list.begin() || it == list.end()) ? nullptr : *(it - 1);
    default: return nullptr;
  }
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->Parent;
    case GA_ROOT: {
      while (w->Parent) w = w->Parent;
      return w;
    }
    case GA_ROOTOWNER: {
      while (w->Parent) w = w->Parent;
      while (w->Owner) w = w->Owner;
      return w;
    }
    default: return nullptr;
  }
}

HWND TopLevelOf(HWND hwnd) { return GetAncestor(hwnd, GA_ROOT); }

NativeWindowKind NativeKindOf(const WindowObject* w) {
  const bool captionlessPopup = (w->Style & WS_POPUP) && !(w->Style & WS_CAPTION);
  if (captionlessPopup && ((w->ExStyle & WS_EX_TOOLWINDOW) || w->Owner)) return NativeWindowKind::Popup;
  return NativeWindowKind::Normal;
}

HWND GetTopWindow(HWND hwnd) {
  if (!hwnd) return Sys().TopLevel.empty() ? nullptr : Sys().TopLevel.front();
  return GetWindow(hwnd, GW_CHILD);
}

HWND GetDesktopWindow() { return nullptr; }

BOOL IsChild(HWND parent, HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !LiveWindow(parent)) return FALSE;
  for (WindowObject* a = w->Parent; a; a = a->Parent)
    if (a == parent) return TRUE;
  return FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  for (WindowObject* w = LiveWindow(hwnd); w; w = w->Parent)
    if (!(w->Style & WS_VISIBLE)) return FALSE;
  return LiveWindow(hwnd) != nullptr;
}

BOOL IsWindowEnabled(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  return w && !(w->Style & WS_DISABLED);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  const BOOL wasDisabled = (w->Style & WS_DISABLED) != 0;
  if (bool(enable) == !wasDisabled) return wasDisabled;
  if (enable) {
    w->Style &= ~WS_DISABLED;
  } else {
    w->Style |= WS_DISABLED;
    // A disabled window loses focus and capture.
    if (GetFocus() == hwnd || IsChild(hwnd, GetFocus())) SetFocus(nullptr);
    if (GetCapture() == hwnd) ReleaseCapture();
  }
  SendMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsIconic(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  return w && (w->Style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  return w && (w->Style & WS_MAXIMIZE);
}

BOOL EnumChildWindows(HWND parent, const std::function<BOOL(HWND)>& proc) {
  WindowObject* w = LiveWindow(parent);
  if (!w || !proc) return FALSE;
  for (HWND c : std::vector<HWND>(w->Children)) {
    if (!LiveWindow(c)) continue;
    if (!proc(c)) return FALSE;
    if (!EnumChildWindows(c, proc) && LiveWindow(c) && !c->Children.empty()) return FALSE;
  }
  return TRUE;
}

// ---- window data ----

intptr_t GetWindowLongPtr(HWND hwnd, int index) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return intptr_t(int32_t(w->Style));
    case GWL_EXSTYLE: return intptr_t(int32_t(w->ExStyle));
    case GWLP_WNDPROC: return reinterpret_cast<intptr_t>(w->Proc);
    case GWLP_USERDATA: return w->UserData;
    case GWLP_ID: return w->Id;
    case GWLP_HWNDPARENT: return reinterpret_cast<intptr_t>(w->Parent ? w->Parent : w->Owner);
    default: return 0;
  }
}

intptr_t SetWindowLongPtr(HWND hwnd, int index, intptr_t value) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  const intptr_t old = GetWindowLongPtr(hwnd, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      STYLESTRUCT ss{DWORD(old), DWORD(value)};
      const WPARAM which = WPARAM(index == GWL_STYLE ? GWL_STYLE : GWL_EXSTYLE);
      SendMessage(hwnd, WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&ss));
      if (!LiveWindow(hwnd)) return old;
      if (index == GWL_STYLE)
        w->Style = ss.styleNew;
      else
        w->ExStyle = ss.styleNew;
      SendMessage(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&ss));
      // A window that is no longer layered is opaque, whether or not it shows yet.
      if (index == GWL_EXSTYLE && (DWORD(old) & WS_EX_LAYERED) && !(ss.styleNew & WS_EX_LAYERED)) {
        w->Alpha = 255;
        if (w->Native) CurrentBackend().SetNativeWindowOpacity(w->Native, 255);
      }
      break;
    }
    case GWLP_WNDPROC: w->Proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_USERDATA: w->UserData = value; break;
    case GWLP_ID: w->Id = value; break;
    case GWLP_HWNDPARENT:
      if (IsTopLevel(w)) w->Owner = LiveWindow(reinterpret_cast<HWND>(value));
      break;
    default: return 0;
  }
  return old;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

BOOL SetWindowText(HWND hwnd, const String& text) {
  if (!LiveWindow(hwnd)) return FALSE;
  return SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&text)) != 0;
}

int GetWindowText(HWND hwnd, String* text) {
  if (!LiveWindow(hwnd) || !text) return 0;
  text->clear();
  return int(SendMessage(hwnd, WM_GETTEXT, WPARAM(-1), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLength(HWND hwnd) {
  if (!LiveWindow(hwnd)) return 0;
  return int(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetProp(HWND hwnd, const String& name, intptr_t value) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  w->Props[name] = value;
  return TRUE;
}

intptr_t GetProp(HWND hwnd, const String& name) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  auto it = w->Props.find(name);
  return it == w->Props.end() ? 0 : it->second;
}

intptr_t RemoveProp(HWND hwnd, const String& name) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  auto it = w->Props.find(name);
  if (it == w->Props.end()) return 0;
  const intptr_t v = it->second;
  w->Props.erase(it);
  return v;
}

int GetDlgCtrlID(HWND hwnd) { return int(GetWindowLongPtr(hwnd, GWLP_ID)); }

// ---- placement ----

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    pos.x = w->Window.Left;
    pos.y = w->Window.Top;
  }
  if (flags & SWP_NOSIZE) {
    pos.cx = w->Window.Width();
    pos.cy = w->Window.Height();
  }
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!LiveWindow(hwnd)) return FALSE;
  }
  flags = pos.flags;
  const RECT oldWindow = w->Window;
  const RECT oldClient = w->Client;
  const bool wasVisible = IsWindowVisible(hwnd);
  const Region oldArea = wasVisible ? VisibleRegion(hwnd, false) : Region();
  HWND top = TopLevelOf(hwnd);

  RECT window = oldWindow;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&window, pos.x - oldWindow.Left, pos.y - oldWindow.Top);
  if (!(flags & SWP_NOSIZE)) {
    window.Right = window.Left + std::max(pos.cx, 0);
    window.Bottom = window.Top + std::max(pos.cy, 0);
  }
  const bool moved = window.Left != oldWindow.Left || window.Top != oldWindow.Top;
  const bool resized = window.Width() != oldWindow.Width() || window.Height() != oldWindow.Height();

  if (flags & SWP_SHOWWINDOW) w->Style |= WS_VISIBLE;
  if (flags & SWP_HIDEWINDOW) w->Style &= ~WS_VISIBLE;
  if (!(flags & SWP_NOZORDER)) {
    if (IsTopLevel(w)) {
      if (pos.hwndInsertAfter == HWND_TOPMOST) w->ExStyle |= WS_EX_TOPMOST;
      if (pos.hwndInsertAfter == HWND_NOTOPMOST) w->ExStyle &= ~WS_EX_TOPMOST;
    }
    InsertInZOrder(w, pos.hwndInsertAfter);
  }
  w->Window = window;
  if (resized || (flags & SWP_FRAMECHANGED)) {
    w->Client = CalcClient(hwnd, window, oldWindow, oldClient, true);
    if (!LiveWindow(hwnd)) return FALSE;
    w->FrameDue = true;
  }
  if (IsTopLevel(w)) {
    EnsureSurface(w);
    if (moved || resized) SyncNative(w);
    if (w->Native && (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))) {
      const bool show = (w->Style & WS_VISIBLE) && !(w->Style & WS_MINIMIZE);
      CurrentBackend().ShowNativeWindow(w->Native, show, show && !(flags & SWP_NOACTIVATE));
    }
  }

  const bool nowVisible = IsWindowVisible(hwnd);
  if (!(flags & SWP_NOREDRAW)) {
    // What the window uncovered is its parent's (and the siblings') to repaint; the
    // window itself repaints whole when it appeared, changed size or frame.
    if (wasVisible && w->Parent && (moved || resized || !nowVisible || !(flags & SWP_NOZORDER))) {
      Region exposed = oldArea;
      if (nowVisible) exposed.Subtract(VisibleRegion(hwnd, false));
      if (!exposed.IsEmpty()) {
        const RECT pc = ClientRectInTopLevel(w->Parent);
        exposed.Offset(-pc.Left, -pc.Top);
        HRGN rgn = CreateRectRgn(0, 0, 0, 0);
        static_cast<GdiRegion*>(rgn)->Rgn = exposed;
        RedrawWindow(w->Parent, nullptr, rgn, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        DeleteObject(rgn);
      }
    }
    if (nowVisible && (!wasVisible || moved || resized || (flags & SWP_FRAMECHANGED) || !(flags & SWP_NOZORDER)))
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  if (top && top != hwnd && LiveWindow(top) && (moved || resized || wasVisible != nowVisible))
    MarkDirty(top, oldArea);

  WINDOWPOS done{hwnd, pos.hwndInsertAfter, window.Left, window.Top, window.Width(), window.Height(), flags};
  if (!moved && !(flags & SWP_NOMOVE) && oldClient.Left == w->Client.Left && oldClient.Top == w->Client.Top)
    done.flags |= SWP_NOMOVE;
  if (!resized) done.flags |= SWP_NOSIZE;
  if (w->Client.Width() == oldClient.Width() && w->Client.Height() == oldClient.Height())
    done.flags |= SWP_NOCLIENTSIZE;
  if (!moved && w->Client.Left == oldClient.Left && w->Client.Top == oldClient.Top) done.flags |= SWP_NOCLIENTMOVE;
  SendMessage(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  if (!LiveWindow(hwnd)) return TRUE;

  if (IsTopLevel(w) && (flags & SWP_SHOWWINDOW) && !(flags & SWP_NOACTIVATE) && !(w->ExStyle & WS_EX_NOACTIVATE) &&
      NativeKindOf(w) == NativeWindowKind::Normal)
    SetActiveWindow(hwnd);
  if ((flags & SWP_HIDEWINDOW) && wasVisible) {
    if (GetCapture() == hwnd || IsChild(hwnd, GetCapture())) ReleaseCapture();
    if (IsTopLevel(w) && GetActiveWindow() == hwnd) SetActiveWindow(NextTopLevelToActivate(hwnd));
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int cmd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  const BOOL wasVisible = (w->Style & WS_VISIBLE) != 0;
  const UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
  switch (cmd) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      SendMessage(hwnd, WM_SHOWWINDOW, FALSE, 0);
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_HIDEWINDOW | SWP_NOACTIVATE);
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE: {
      if (w->Style & WS_MINIMIZE) return wasVisible;
      if (!(w->Style & WS_MAXIMIZE)) w->RestoreBounds = w->Window;
      w->Style |= WS_MINIMIZE;
      if (!wasVisible) SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
      w->Style |= WS_VISIBLE;
      if (w->Native) CurrentBackend().ShowNativeWindow(w->Native, false, false);
      SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
      if (GetActiveWindow() == hwnd) SetActiveWindow(NextTopLevelToActivate(hwnd));
      return wasVisible;
    }
    case SW_MAXIMIZE: {
      if (!(w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) w->RestoreBounds = w->Window;
      w->Style = (w->Style & ~WS_MINIMIZE) | WS_MAXIMIZE;
      if (!wasVisible) SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
      RECT area = CurrentBackend().WorkArea();
      if (w->Parent) GetClientRect(w->Parent, &area);
      SetWindowPos(hwnd, nullptr, area.Left, area.Top, area.Width(), area.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
      if (LiveWindow(hwnd)) {
        if (w->Native) CurrentBackend().ShowNativeWindow(w->Native, true, true);
        SendMessage(hwnd, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
      }
      return wasVisible;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT: {
      if (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        const bool wasMaximized = (w->Style & WS_MAXIMIZE) && !(w->Style & WS_MINIMIZE);
        const bool wasMinimized = (w->Style & WS_MINIMIZE) != 0;
        w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        if (wasMaximized || (wasMinimized && w->RestoreBounds != w->Window && !w->RestoreBounds.IsEmpty())) {
          const RECT r = w->RestoreBounds;
          SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_SHOWWINDOW);
        } else {
          SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW);
        }
        if (!LiveWindow(hwnd)) return wasVisible;
        if (w->Native) CurrentBackend().ShowNativeWindow(w->Native, true, true);
        SendMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
        if (IsTopLevel(w)) SetActiveWindow(hwnd);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return wasVisible;
      }
      [[fallthrough]];
    }
    case SW_SHOW:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA: {
      if (wasVisible) {
        if (cmd == SW_SHOW && IsTopLevel(w)) SetActiveWindow(hwnd);
        return wasVisible;
      }
      SendMessage(hwnd, WM_SHOWWINDOW, TRUE, 0);
      if (!LiveWindow(hwnd)) return wasVisible;
      const bool activate = cmd == SW_SHOW || cmd == SW_SHOWNORMAL || cmd == SW_SHOWDEFAULT;
      SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, keep | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
      return wasVisible;
    }
    default: return wasVisible;
  }
}

BOOL BringWindowToTop(HWND hwnd) {
  return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetWindowRect(HWND hwnd, RECT* r) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !r) return FALSE;
  const POINT o = ScreenOrigin(w);
  *r = {o.X, o.Y, o.X + w->Window.Width(), o.Y + w->Window.Height()};
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* r) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !r) return FALSE;
  *r = {0, 0, w->Client.Width(), w->Client.Height()};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* p) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !p) return FALSE;
  const POINT o = ScreenOrigin(w);
  p->X += o.X + w->Client.Left;
  p->Y += o.Y + w->Client.Top;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* p) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !p) return FALSE;
  const POINT o = ScreenOrigin(w);
  p->X -= o.X + w->Client.Left;
  p->Y -= o.Y + w->Client.Top;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
  if ((from && !LiveWindow(from)) || (to && !LiveWindow(to)) || (!points && count)) return 0;
  POINT a{0, 0}, b{0, 0};
  if (from) ClientToScreen(from, &a);
  if (to) ClientToScreen(to, &b);
  const int dx = a.X - b.X, dy = a.Y - b.Y;
  for (UINT i = 0; i < count; ++i) {
    points[i].X += dx;
    points[i].Y += dy;
  }
  return int(MAKELONG(WORD(int16_t(dx)), WORD(int16_t(dy))));
}

RECT WindowRectInTopLevel(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return {};
  if (IsTopLevel(w)) return {0, 0, w->Window.Width(), w->Window.Height()};
  const RECT pc = ClientRectInTopLevel(w->Parent);
  RECT r = w->Window;
  OffsetRect(&r, pc.Left, pc.Top);
  return r;
}

RECT ClientRectInTopLevel(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return {};
  RECT r = WindowRectInTopLevel(hwnd);
  return {r.Left + w->Client.Left, r.Top + w->Client.Top, r.Left + w->Client.Right, r.Top + w->Client.Bottom};
}

namespace {

bool ShapeContains(const WindowObject* w, POINT windowPoint) {
  return !w->Shape || w->Shape->Contains(windowPoint);
}

// The deepest window under a screen point among a list of siblings (topmost first):
// hidden and disabled windows are passed over, and a window answering HTTRANSPARENT
// lets the point fall through to the ones below it.
HWND FindAt(const std::vector<HWND>& list, POINT screen) {
  for (HWND w : std::vector<HWND>(list)) {
    if (!LiveWindow(w) || !(w->Style & WS_VISIBLE) || (w->Style & WS_MINIMIZE)) continue;
    RECT r;
    GetWindowRect(w, &r);
    if (!r.Contains(screen) || !ShapeContains(w, {screen.X - r.Left, screen.Y - r.Top})) continue;
    if (w->Style & WS_DISABLED) {
      if (w->Parent) continue;
      return w;  // a disabled top-level window still owns its pixels
    }
    const POINT c{screen.X - r.Left - w->Client.Left, screen.Y - r.Top - w->Client.Top};
    if (c.X >= 0 && c.Y >= 0 && c.X < w->Client.Width() && c.Y < w->Client.Height()) {
      if (HWND child = FindAt(w->Children, screen)) return child;
    }
    if (SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)) == HTTRANSPARENT) continue;
    return w;
  }
  return nullptr;
}

}  // namespace

HWND WindowFromPoint(POINT screen) { return FindAt(Sys().TopLevel, screen); }

HWND ChildWindowFromPointEx(HWND parent, POINT client, UINT flags) {
  WindowObject* p = LiveWindow(parent);
  if (!p) return nullptr;
  if (client.X < 0 || client.Y < 0 || client.X >= p->Client.Width() || client.Y >= p->Client.Height()) return nullptr;
  for (HWND c : p->Children) {
    if ((flags & CWP_SKIPINVISIBLE) && !(c->Style & WS_VISIBLE)) continue;
    if ((flags & CWP_SKIPDISABLED) && (c->Style & WS_DISABLED)) continue;
    if ((flags & CWP_SKIPTRANSPARENT) && (c->ExStyle & WS_EX_TRANSPARENT)) continue;
    if (c->Window.Contains(client) && ShapeContains(c, {client.X - c->Window.Left, client.Y - c->Window.Top}))
      return c;
  }
  return parent;
}

HWND ChildWindowFromPoint(HWND parent, POINT client) { return ChildWindowFromPointEx(parent, client, CWP_ALL); }

BOOL AdjustWindowRectEx(RECT* r, DWORD style, BOOL menu, DWORD exStyle) {
  if (!r) return FALSE;
  int frame = 0;
  if (style & WS_THICKFRAME)
    frame = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  else if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    frame = GetSystemMetrics(SM_CXFIXEDFRAME);
  else if (style & WS_BORDER)
    frame = GetSystemMetrics(SM_CXBORDER);
  InflateRect(r, frame, frame);
  if (exStyle & WS_EX_CLIENTEDGE) InflateRect(r, GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  if (exStyle & WS_EX_STATICEDGE) InflateRect(r, 1, 1);
  if ((style & WS_CAPTION) == WS_CAPTION)
    r->Top -= (exStyle & WS_EX_TOOLWINDOW) ? GetSystemMetrics(SM_CYSMCAPTION) : GetSystemMetrics(SM_CYCAPTION);
  if (menu) r->Top -= GetSystemMetrics(SM_CYMENU);
  return TRUE;
}

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
  WindowObject* w = LiveWindow(hwnd);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!w || (rgn && !r)) return 0;
  const Region before = IsWindowVisible(hwnd) ? VisibleRegion(hwnd, false) : Region();
  if (r) {
    w->Shape = r->Rgn;
    DeleteObject(rgn);  // the window owns the region now
  } else {
    w->Shape.reset();
  }
  if (redraw && IsWindowVisible(hwnd)) {
    if (HWND top = TopLevelOf(hwnd)) MarkDirty(top, before);
    if (w->Parent) RedrawWindow(w->Parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
  WindowObject* w = LiveWindow(hwnd);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!w || !r || !w->Shape) return ERROR_REGION;
  r->Rgn = *w->Shape;
  return r->Rgn.Kind();
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF, BYTE alpha, DWORD flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !(w->ExStyle & WS_EX_LAYERED)) return FALSE;
  if (flags & LWA_ALPHA) {
    w->Alpha = alpha;
    if (w->Native) CurrentBackend().SetNativeWindowOpacity(w->Native, alpha);
  }
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !(w->ExStyle & WS_EX_LAYERED)) return FALSE;
  if (key) *key = 0;
  if (alpha) *alpha = w->Alpha;
  if (flags) *flags = LWA_ALPHA;
  return TRUE;
}

// ---- system ----

int GetSystemMetrics(int index) {
  // Windows 10 answers at 96 pixels per inch, scaled with the screen.
  auto scaled = [](int v) { return v * ScreenPixelsPerInch() / 96; };
  switch (index) {
    case SM_CXSCREEN: return CurrentBackend().ScreenBounds().Width();
    case SM_CYSCREEN: return CurrentBackend().ScreenBounds().Height();
    case SM_CXFULLSCREEN: return CurrentBackend().WorkArea().Width();
    case SM_CYFULLSCREEN: return CurrentBackend().WorkArea().Height() - scaled(23);
    case SM_CXMAXIMIZED: return CurrentBackend().WorkArea().Width() + 2 * scaled(8);
    case SM_CYMAXIMIZED: return CurrentBackend().WorkArea().Height() + 2 * scaled(8);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return scaled(17);
    case SM_CYCAPTION: return scaled(23);
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME: return scaled(3);
    case SM_CXFRAME:
    case SM_CYFRAME: return scaled(4);
    case SM_CXPADDEDBORDER: return scaled(4);
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return scaled(32);
    case SM_CXSMICON:
    case SM_CYSMICON: return scaled(16);
    case SM_CYMENU: return scaled(20);
    case SM_CXMIN: return scaled(136);
    case SM_CYMIN: return scaled(39);
    case SM_CXSIZE: return scaled(36);
    case SM_CYSIZE: return scaled(22);
    case SM_CYSMCAPTION: return scaled(23);
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return scaled(22);
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return scaled(19);
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return scaled(15);
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CMONITORS: return 1;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

BOOL SystemParametersInfo(UINT action, UINT, void* out, UINT) {
  if (!out) return FALSE;
  switch (action) {
    case SPI_GETWORKAREA: *static_cast<RECT*>(out) = CurrentBackend().WorkArea(); return TRUE;
    case SPI_GETFOCUSBORDERWIDTH:
    case SPI_GETFOCUSBORDERHEIGHT: *static_cast<UINT*>(out) = 1; return TRUE;
    case SPI_GETKEYBOARDCUES: *static_cast<BOOL*>(out) = FALSE; return TRUE;
    case SPI_GETWHEELSCROLLLINES: *static_cast<UINT*>(out) = 3; return TRUE;
    case SPI_GETDRAGFULLWINDOWS: *static_cast<BOOL*>(out) = TRUE; return TRUE;
    case SPI_GETMENUSHOWDELAY: *static_cast<UINT*>(out) = 400; return TRUE;
    default: return FALSE;
  }
}

namespace {
// The one monitor: the backend's screen.
HMONITOR PrimaryMonitor() { return reinterpret_cast<HMONITOR>(intptr_t(1)); }

HMONITOR MonitorFor(const RECT& r, DWORD flags) {
  RECT screen = CurrentBackend().ScreenBounds(), hit;
  if (IntersectRect(&hit, &screen, &r) || flags != MONITOR_DEFAULTTONULL) return PrimaryMonitor();
  return nullptr;
}
}  // namespace

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : PrimaryMonitor();
  if (r.IsEmpty()) r.Right = r.Left + 1, r.Bottom = r.Top + 1;
  return MonitorFor(r, flags);
}

HMONITOR MonitorFromPoint(POINT p, DWORD flags) { return MonitorFor({p.X, p.Y, p.X + 1, p.Y + 1}, flags); }

HMONITOR MonitorFromRect(const RECT* r, DWORD flags) { return r ? MonitorFor(*r, flags) : nullptr; }

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != PrimaryMonitor() || !info) return FALSE;
  info->rcMonitor = CurrentBackend().ScreenBounds();
  info->rcWork = CurrentBackend().WorkArea();
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

BOOL MessageBeep(UINT type) {
  CurrentBackend().Beep(type);
  return TRUE;
}

RECT KeepRectInside(RECT r, const RECT& area) {
  if (r.Right > area.Right) OffsetRect(&r, area.Right - r.Right, 0);
  if (r.Left < area.Left) OffsetRect(&r, area.Left - r.Left, 0);
  if (r.Bottom > area.Bottom) OffsetRect(&r, 0, area.Bottom - r.Bottom);
  if (r.Top < area.Top) OffsetRect(&r, 0, area.Top - r.Top);
  return r;
}

RECT WorkAreaFromPoint(POINT p) {
  MONITORINFO info;
  if (GetMonitorInfo(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info) && !info.rcWork.IsEmpty())
    return info.rcWork;
  RECT work{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

void ResetWindowSystem() {
  ResetMenuLoop();
  for (HWND t : std::vector<HWND>(Sys().TopLevel)) DestroyWindow(t);
  ResetInput();
  ResetCursors();
  ResetTimers();
  ResetQueue();
  Sys().Graveyard.clear();
  Sys().Classes.clear();
  ResetMenus();
}
