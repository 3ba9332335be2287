#include "win/Input.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

#include "gdi/Utf8.h"
#include "win/Paint.h"
#include "win/Queue.h"

struct HookObject {
  int Kind = 0;
  HOOKPROC Proc = nullptr;  // null once unhooked
};

namespace {

constexpr UINT kDoubleClickMs = 500;

struct ButtonMessages {
  int Button;
  UINT Vk;
  UINT Down, Up, DoubleClick;
  UINT NcDown, NcUp, NcDoubleClick;
};

constexpr ButtonMessages kButtons[] = {
    {kButtonLeft, VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,
     WM_NCLBUTTONDBLCLK},
    {kButtonRight, VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,
     WM_NCRBUTTONDBLCLK},
    {kButtonMiddle, VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_NCMBUTTONDOWN, WM_NCMBUTTONUP,
     WM_NCMBUTTONDBLCLK},
};

const ButtonMessages* FindButton(int button) {
  for (const ButtonMessages& b : kButtons)
    if (b.Button == button) return &b;
  return nullptr;
}

struct Tracking {
  HWND Hwnd = nullptr;
  bool NonClient = false;
  DWORD HoverTime = HOVER_DEFAULT;
};

// The last press, to tell a double click from two clicks.
struct Click {
  HWND Hwnd = nullptr;
  int Button = 0;
  int Hit = HTNOWHERE;
  uint64_t Time = 0;
  POINT Screen{};
};

struct InputState {
  HWND Capture = nullptr;
  HWND Focus = nullptr;
  HWND Active = nullptr;
  bool AppActive = false;
  uint64_t FocusChanges = 0;       // tells SetFocus that a handler moved the focus meanwhile
  std::map<HWND, HWND> LastFocus;  // top-level window -> where its focus was
  BYTE Keys[256]{};
  Tracking Tracked;
  Click LastClick;
  std::vector<std::unique_ptr<HookObject>> Hooks;  // oldest first
  std::vector<size_t> RunningHooks;                // the hook each nested call runs
};

InputState& S() {
  static InputState state;
  return state;
}

// ---- keyboard state ----

bool IsDown(UINT vk) { return (S().Keys[vk & 0xFF] & 0x80) != 0; }

void SetKey(UINT vk, bool down, bool press) {
  BYTE& k = S().Keys[vk & 0xFF];
  if (press) k ^= 0x01;
  k = BYTE(down ? (k | 0x80) : (k & ~0x80));
}

// The side-less key for a left or right one (Windows posts VK_SHIFT, not VK_LSHIFT).
UINT Generic(UINT vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

void ApplyKey(UINT vk, bool down, bool press) {
  SetKey(vk, down, press);
  const UINT generic = Generic(vk);
  if (generic == vk) return;
  const UINT left = generic == VK_SHIFT ? VK_LSHIFT : generic == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
  SetKey(generic, IsDown(left) || IsDown(left + 1), press);
}

// The backend's modifiers are right even about keys released while another program had
// the keyboard.
void SyncModifiers(uint32_t modifiers) {
  SetKey(VK_SHIFT, (modifiers & kModShift) != 0, false);
  SetKey(VK_CONTROL, (modifiers & kModCtrl) != 0, false);
  SetKey(VK_MENU, (modifiers & kModAlt) != 0, false);
}

WPARAM MouseKeyState() {
  WPARAM mk = 0;
  if (IsDown(VK_LBUTTON)) mk |= MK_LBUTTON;
  if (IsDown(VK_RBUTTON)) mk |= MK_RBUTTON;
  if (IsDown(VK_MBUTTON)) mk |= MK_MBUTTON;
  if (IsDown(VK_SHIFT)) mk |= MK_SHIFT;
  if (IsDown(VK_CONTROL)) mk |= MK_CONTROL;
  return mk;
}

void Post(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const InputEvent& e, POINT pt) {
  PostInput(MSG{hwnd, msg, wParam, lParam, DWORD(e.Time), pt});
}

HWND TopLevelForNative(NativeWindowId id) {
  if (!id) return nullptr;
  for (HWND t : TopLevelWindows())
    if (LiveWindow(t) && t->Native == id) return t;
  return nullptr;
}

// ---- focus and activation ----

bool Within(HWND hwnd, HWND top) { return hwnd && (hwnd == top || IsChild(top, hwnd)); }

// Moves the keyboard focus without activating anything.
HWND ChangeFocus(HWND to) {
  InputState& s = S();
  HWND old = LiveWindow(s.Focus);
  if (to == old) return old;
  const uint64_t change = ++s.FocusChanges;
  if (old) {
    SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(to), 0);
    if (s.FocusChanges != change) return old;  // the handler put the focus elsewhere
  }
  s.Focus = LiveWindow(to);
  if (s.Focus) {
    s.LastFocus[TopLevelOf(s.Focus)] = s.Focus;
    SendMessage(s.Focus, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

bool CanTakeFocus(HWND hwnd) {
  if (!IsWindowVisible(hwnd)) return false;
  for (HWND w = hwnd; w; w = w->Parent)
    if (w->Style & WS_DISABLED) return false;
  return true;
}

// Menus and drop-down lists: owned captionless popups are never activated by clicks
// (the backend's rule for its popup windows).
bool IsPopupKind(const WindowObject* w) { return NativeKindOf(w) == NativeWindowKind::Popup; }

void SendActivateApp(BOOL active) {
  for (HWND t : std::vector<HWND>(TopLevelWindows()))
    if (LiveWindow(t)) SendMessage(t, WM_ACTIVATEAPP, WPARAM(active), 0);
}

// Activation puts the window in front of the other top-level windows (the topmost ones
// stay in front of it) and its owned windows in front of it.
void BringToFront(HWND top) {
  const std::vector<HWND>& list = TopLevelWindows();
  const bool topmost = (top->ExStyle & WS_EX_TOPMOST) != 0;
  auto first = std::find_if(list.begin(), list.end(), [&](HWND t) { return topmost || !(t->ExStyle & WS_EX_TOPMOST); });
  if (first != list.end() && *first != top)
    SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (!LiveWindow(top)) return;
  // Owned windows, bottom first so that they keep their order among themselves.
  std::vector<HWND> owned;
  for (HWND t : TopLevelWindows())
    if (t != top && IsWindowVisible(t))
      for (HWND o = t->Owner; o; o = o->Owner)
        if (o == top) {
          owned.push_back(t);
          break;
        }
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    auto pos = std::find(TopLevelWindows().begin(), TopLevelWindows().end(), top);
    auto mine = std::find(TopLevelWindows().begin(), TopLevelWindows().end(), *it);
    if (LiveWindow(*it) && mine > pos)
      SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

// Makes a top-level window the active one (null: the application loses activation).
HWND Activate(HWND top, WORD how, bool restoreFocus) {
  InputState& s = S();
  HWND old = LiveWindow(s.Active);
  top = LiveWindow(top);
  if (top == old) return old;
  s.Active = top;
  if (old) {
    if (Within(LiveWindow(s.Focus), old)) s.LastFocus[old] = s.Focus;
    SendMessage(old, WM_NCACTIVATE, FALSE, 0);
    SendMessage(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(top));
  }
  if (s.Active != top) return old;  // a handler activated another window meanwhile
  if (!top || !LiveWindow(top)) {
    s.Active = nullptr;
    if (s.AppActive) {
      s.AppActive = false;
      SendActivateApp(FALSE);
    }
    ChangeFocus(nullptr);
    return old;
  }
  if (!s.AppActive) {
    s.AppActive = true;
    SendActivateApp(TRUE);
    if (!LiveWindow(top) || s.Active != top) return old;
  }
  if (IsWindowVisible(top)) {
    BringToFront(top);
    if (!LiveWindow(top) || s.Active != top) return old;
    if (top->Native && !IsIconic(top)) CurrentBackend().ShowNativeWindow(top->Native, true, true);
  }
  SendMessage(top, WM_NCACTIVATE, TRUE, 0);
  SendMessage(top, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(top) ? 1 : 0), reinterpret_cast<LPARAM>(old));
  if (!restoreFocus || !LiveWindow(top) || s.Active != top) return old;
  // The handler may have put the focus inside already; otherwise it goes back where it
  // was when the window was last active.
  if (Within(LiveWindow(s.Focus), top)) return old;
  if (IsIconic(top)) {
    ChangeFocus(nullptr);
    return old;
  }
  HWND target = top;
  auto it = s.LastFocus.find(top);
  if (it != s.LastFocus.end() && Within(LiveWindow(it->second), top) && CanTakeFocus(it->second)) target = it->second;
  ChangeFocus(target);
  return old;
}

// A disabled window (the owner of a modal form) hands activation to the form.
HWND EnabledPopupOf(HWND top) {
  if (!top || !(top->Style & WS_DISABLED)) return top;
  for (HWND t : TopLevelWindows())
    if (t->Owner == top && IsWindowVisible(t) && !(t->Style & WS_DISABLED)) return t;
  return nullptr;
}

// ---- mouse ----

void PostLeave(const Tracking& t) { PostMessage(t.Hwnd, t.NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0); }

// Whether a screen point lies in the client area (or in the non-client frame) of a window.
bool InArea(HWND hwnd, POINT screen, bool nonClient) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  OffsetRect(&client, origin.X, origin.Y);
  return nonClient ? window.Contains(screen) && !client.Contains(screen) : client.Contains(screen);
}

// After a move: the tracked window hears that the mouse left it, or its tracked area.
void FollowTracking(HWND target, int hit, POINT screen) {
  Tracking& t = S().Tracked;
  if (!t.Hwnd) return;
  if (!LiveWindow(t.Hwnd)) {
    t = {};
    return;
  }
  bool inside;
  if (LiveWindow(S().Capture))
    inside = InArea(t.Hwnd, screen, t.NonClient);  // the hit test is not asked while captured
  else
    inside = target == t.Hwnd && (hit == HTCLIENT) != t.NonClient;
  if (inside) return;
  const Tracking left = t;
  t = {};
  PostLeave(left);
}

bool IsDoubleClick(HWND target, int button, int hit, const InputEvent& e) {
  const Click& c = S().LastClick;
  if (c.Hwnd != target || c.Button != button || c.Hit != hit) return false;
  if (hit == HTCLIENT && !(target->Class->Info.style & CS_DBLCLKS)) return false;
  if (e.Time < c.Time || e.Time - c.Time > GetDoubleClickTime()) return false;
  // The first press lies in the middle of the double-click rectangle.
  return std::abs(e.Screen.X - c.Screen.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
         std::abs(e.Screen.Y - c.Screen.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

UINT HookMessage(const InputEvent& e, const ButtonMessages* b) {
  switch (e.Kind) {
    case InputKind::MouseDown: return b ? b->Down : WM_MOUSEMOVE;
    case InputKind::MouseUp: return b ? b->Up : WM_MOUSEMOVE;
    case InputKind::MouseWheel: return WM_MOUSEWHEEL;
    default: return WM_MOUSEMOVE;
  }
}

void RouteMouse(const InputEvent& e) {
  InputState& s = S();
  const ButtonMessages* b = FindButton(e.Button);
  const bool down = e.Kind == InputKind::MouseDown, up = e.Kind == InputKind::MouseUp;
  if ((down || up) && !b) return;  // a button Windows has no message for

  MSLLHOOKSTRUCT ll;
  ll.pt = e.Screen;
  ll.mouseData = e.Kind == InputKind::MouseWheel ? DWORD(uint32_t(e.WheelDelta) << 16) : 0;
  ll.time = DWORD(e.Time);
  if (CallHooks(WH_MOUSE_LL, HC_ACTION, HookMessage(e, b), reinterpret_cast<LPARAM>(&ll))) return;

  SyncModifiers(e.Modifiers);
  if (down) ApplyKey(b->Vk, true, true);
  if (up) ApplyKey(b->Vk, false, false);

  HWND capture = LiveWindow(s.Capture);
  HWND target = capture ? capture : WindowFromPoint(e.Screen);
  if (!LiveWindow(target)) {
    if (e.Kind == InputKind::MouseMove) FollowTracking(nullptr, HTNOWHERE, e.Screen);
    return;
  }

  if (e.Kind == InputKind::MouseWheel) {
    if (!IsWindowEnabled(target)) return;
    Post(target, WM_MOUSEWHEEL, MAKEWPARAM(int(MouseKeyState()), e.WheelDelta), MAKELPARAM(e.Screen.X, e.Screen.Y), e,
         e.Screen);
    return;
  }

  const UINT clientMsg = down ? b->Down : up ? b->Up : WM_MOUSEMOVE;
  if (!IsWindowEnabled(target)) {
    // A disabled window gets no mouse messages; its cursor message says why, and lets
    // a click bring its modal form forward.
    if (e.Kind == InputKind::MouseMove) FollowTracking(nullptr, HTERROR, e.Screen);
    if (!up) SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(HTERROR, int(clientMsg)));
    return;
  }

  int hit = HTCLIENT;
  if (!capture) {
    hit = int(SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(e.Screen.X, e.Screen.Y)));
    if (!LiveWindow(target)) return;
  }
  if (e.Kind == InputKind::MouseMove) FollowTracking(target, hit, e.Screen);

  if (down && !capture) {
    HWND top = TopLevelOf(target);
    if (top != s.Active || target != top) {
      const LRESULT answer =
          SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, int(b->Down)));
      if (!LiveWindow(target)) return;
      const bool activate = answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT;
      if (activate && top != s.Active && IsWindowEnabled(top) && !(top->ExStyle & WS_EX_NOACTIVATE) &&
          !IsPopupKind(top)) {
        Activate(top, WA_CLICKACTIVE, true);
        if (!LiveWindow(target)) return;
      }
      if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) {
        s.LastClick = {};
        return;
      }
    }
  }

  if (!capture) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(hit, int(clientMsg)));
    if (!LiveWindow(target)) return;
  }
  if (hit == HTERROR) return;

  bool dbl = false;
  if (down) {
    dbl = IsDoubleClick(target, e.Button, hit, e);
    s.LastClick = dbl ? Click{} : Click{target, e.Button, hit, e.Time, e.Screen};
  }
  if (hit == HTCLIENT) {
    POINT p = e.Screen;
    ScreenToClient(target, &p);
    const UINT msg = dbl ? b->DoubleClick : clientMsg;
    Post(target, msg, MouseKeyState(), MAKELPARAM(p.X, p.Y), e, e.Screen);
  } else {
    const UINT msg = down ? (dbl ? b->NcDoubleClick : b->NcDown) : up ? b->NcUp : WM_NCMOUSEMOVE;
    Post(target, msg, WPARAM(hit), MAKELPARAM(e.Screen.X, e.Screen.Y), e, e.Screen);
  }
}

// ---- keyboard ----

HWND KeyTarget(bool* toActive) {
  HWND focus = LiveWindow(S().Focus);
  *toActive = !focus;
  return focus ? focus : LiveWindow(S().Active);
}

void RouteKey(const InputEvent& e) {
  const UINT vk = e.Key & 0xFF;
  if (!vk) return;
  const bool down = e.Kind == InputKind::KeyDown;
  // A release counts as Alt+key when Alt was down with the key.
  const bool altBefore = IsDown(VK_MENU), ctrlBefore = IsDown(VK_CONTROL);
  SyncModifiers(e.Modifiers);
  ApplyKey(vk, down, down && !e.Repeat);
  const bool alt = down ? IsDown(VK_MENU) : altBefore;
  const bool ctrl = down ? IsDown(VK_CONTROL) : ctrlBefore;

  bool toActive = false;
  HWND target = KeyTarget(&toActive);
  if (!target) return;
  const UINT generic = Generic(vk);
  // Without a focus window the active window hears keys as system keys.
  const bool sys = (alt && !ctrl) || generic == VK_F10 || toActive;
  const UINT msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  uint32_t data = 1;  // repeat count
  if (alt) data |= 1u << 29;
  if (e.Repeat || !down) data |= 1u << 30;
  if (!down) data |= 1u << 31;
  POINT pt{};
  GetCursorPos(&pt);
  Post(target, msg, generic, LPARAM(data), e, pt);
}

void RouteText(const InputEvent& e) {
  // Alt+letter is a menu mnemonic, which TranslateMessage makes from the key.
  if ((IsDown(VK_MENU) || (e.Modifiers & kModAlt)) && !(IsDown(VK_CONTROL) || (e.Modifiers & kModCtrl))) return;
  bool toActive = false;
  HWND target = KeyTarget(&toActive);
  if (!target) return;
  POINT pt{};
  GetCursorPos(&pt);
  for (char32_t c : DecodeUtf8(e.Text)) Post(target, toActive ? WM_SYSCHAR : WM_CHAR, WPARAM(c), 1, e, pt);
}

// ---- hooks ----

LRESULT RunHookBelow(size_t below, int kind, int code, WPARAM wParam, LPARAM lParam) {
  InputState& s = S();
  for (size_t i = below; i-- > 0;) {
    HookObject* h = s.Hooks[i].get();
    if (h->Kind != kind || !h->Proc) continue;
    s.RunningHooks.push_back(i);
    struct Pop {
      ~Pop() { S().RunningHooks.pop_back(); }
    } pop;
    return h->Proc(code, wParam, lParam);
  }
  return 0;
}

}  // namespace

// ---- capture ----

HWND SetCapture(HWND hwnd) {
  InputState& s = S();
  if (!hwnd) {
    HWND old = LiveWindow(s.Capture);
    ReleaseCapture();
    return old;
  }
  if (!LiveWindow(hwnd)) return nullptr;
  HWND old = LiveWindow(s.Capture);
  s.Capture = hwnd;
  CurrentBackend().CaptureMouse(true);
  if (old && old != hwnd) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture() {
  InputState& s = S();
  HWND old = LiveWindow(s.Capture);
  s.Capture = nullptr;
  if (!old) return TRUE;
  CurrentBackend().CaptureMouse(false);
  SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() { return LiveWindow(S().Capture); }

// ---- focus and activation ----

HWND SetFocus(HWND hwnd) {
  if (!hwnd) return ChangeFocus(nullptr);
  if (!LiveWindow(hwnd) || !CanTakeFocus(hwnd)) return nullptr;
  InputState& s = S();
  if (hwnd == LiveWindow(s.Focus)) return hwnd;
  HWND top = TopLevelOf(hwnd);
  if (top != LiveWindow(s.Active)) {
    Activate(top, WA_ACTIVE, false);
    if (!LiveWindow(hwnd) || !CanTakeFocus(hwnd)) return nullptr;
  }
  return ChangeFocus(hwnd);
}

HWND GetFocus() { return LiveWindow(S().Focus); }

HWND SetActiveWindow(HWND hwnd) {
  if (!hwnd) return Activate(nullptr, WA_INACTIVE, false);
  if (!LiveWindow(hwnd)) return nullptr;
  HWND top = TopLevelOf(hwnd);
  if (top->Style & WS_DISABLED) return nullptr;
  return Activate(top, WA_ACTIVE, true);
}

HWND GetActiveWindow() { return LiveWindow(S().Active); }

BOOL SetForegroundWindow(HWND hwnd) {
  if (!LiveWindow(hwnd)) return FALSE;
  SetActiveWindow(hwnd);
  return GetActiveWindow() == TopLevelOf(hwnd);
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

// ---- keyboard state ----

short GetKeyState(int vkey) {
  if (vkey < 0 || vkey > 255) return 0;
  const BYTE k = S().Keys[vkey];
  return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

short GetAsyncKeyState(int vkey) {
  if (vkey < 0 || vkey > 255) return 0;
  return short((S().Keys[vkey] & 0x80) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* keys) {
  if (!keys) return FALSE;
  std::copy(std::begin(S().Keys), std::end(S().Keys), keys);
  return TRUE;
}

UINT GetDoubleClickTime() { return kDoubleClickMs; }

BOOL GetCursorPos(POINT* p) {
  if (!p) return FALSE;
  *p = CurrentBackend().CursorPos();
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  CurrentBackend().SetCursorPos({x, y});
  return TRUE;
}

// ---- mouse tracking ----

BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme) {
  if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  InputState& s = S();
  if (tme->dwFlags & TME_QUERY) {
    const bool tracking = LiveWindow(s.Tracked.Hwnd) != nullptr;
    tme->dwFlags = tracking ? TME_LEAVE | (s.Tracked.NonClient ? TME_NONCLIENT : 0) : 0;
    tme->hwndTrack = tracking ? s.Tracked.Hwnd : nullptr;
    tme->dwHoverTime = tracking ? s.Tracked.HoverTime : 0;
    return TRUE;
  }
  HWND hwnd = LiveWindow(tme->hwndTrack);
  if (!hwnd) return FALSE;
  const bool nonClient = (tme->dwFlags & TME_NONCLIENT) != 0;
  if (tme->dwFlags & TME_CANCEL) {
    if ((tme->dwFlags & TME_LEAVE) && s.Tracked.Hwnd == hwnd && s.Tracked.NonClient == nonClient) s.Tracked = {};
    return TRUE;
  }
  if (!(tme->dwFlags & TME_LEAVE)) return TRUE;
  // A window the mouse is not over hears at once that it left.
  POINT p{};
  GetCursorPos(&p);
  const bool over = InArea(hwnd, p, nonClient) && (LiveWindow(s.Capture) || WindowFromPoint(p) == hwnd);
  if (!LiveWindow(hwnd)) return FALSE;
  const Tracking request{hwnd, nonClient, tme->dwHoverTime};
  if (!over) {
    if (s.Tracked.Hwnd == hwnd && s.Tracked.NonClient == nonClient) s.Tracked = {};
    PostLeave(request);
    return TRUE;
  }
  s.Tracked = request;
  return TRUE;
}

// ---- hooks ----

HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE, DWORD) {
  if (!proc || (idHook != WH_MOUSE_LL && idHook != WH_MSGFILTER)) return nullptr;
  auto hook = std::make_unique<HookObject>();
  hook->Kind = idHook;
  hook->Proc = proc;
  S().Hooks.push_back(std::move(hook));
  return S().Hooks.back().get();
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
  InputState& s = S();
  auto it = std::find_if(s.Hooks.begin(), s.Hooks.end(), [hook](const auto& h) { return h.get() == hook; });
  if (!hook || it == s.Hooks.end() || !(*it)->Proc) return FALSE;
  // A running chain keeps its positions until it is done.
  if (s.RunningHooks.empty())
    s.Hooks.erase(it);
  else
    (*it)->Proc = nullptr;
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK, int code, WPARAM wParam, LPARAM lParam) {
  InputState& s = S();
  if (s.RunningHooks.empty()) return 0;
  const size_t current = s.RunningHooks.back();
  return RunHookBelow(current, s.Hooks[current]->Kind, code, wParam, lParam);
}

bool CallHooks(int idHook, int code, WPARAM wParam, LPARAM lParam) {
  InputState& s = S();
  const LRESULT result = RunHookBelow(s.Hooks.size(), idHook, code, wParam, lParam);
  if (s.RunningHooks.empty()) std::erase_if(s.Hooks, [](const auto& h) { return !h->Proc; });
  return result != 0;
}

// ---- routing ----

void RouteInput(const InputEvent& e) {
  switch (e.Kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::MouseWheel: RouteMouse(e); break;
    case InputKind::KeyDown:
    case InputKind::KeyUp: RouteKey(e); break;
    case InputKind::Text: RouteText(e); break;
    case InputKind::CloseAsked:
      if (HWND top = TopLevelForNative(e.Window)) PostMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case InputKind::Exposed:
      if (HWND top = TopLevelForNative(e.Window)) {
        RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        if (LiveWindow(top)) MarkDirty(top, Region(RECT{0, 0, top->Window.Width(), top->Window.Height()}));
      }
      break;
    case InputKind::Moved:
      if (HWND top = TopLevelForNative(e.Window)) {
        const RECT& b = e.Bounds;
        if (b != top->Window)
          SetWindowPos(top, nullptr, b.Left, b.Top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      }
      break;
    case InputKind::FocusGained:
      if (HWND top = EnabledPopupOf(TopLevelForNative(e.Window));
          top && !(top->ExStyle & WS_EX_NOACTIVATE) && !IsPopupKind(top))
        Activate(top, WA_ACTIVE, true);
      break;
    case InputKind::FocusLost: {
      HWND active = LiveWindow(S().Active);
      if (!active || active->Native != e.Window) break;
      // Moving between two windows of ours is no loss of activation for the program.
      InputEvent next;
      const bool more = CurrentBackend().PollEvent(&next);
      if (more && next.Kind == InputKind::FocusGained && TopLevelForNative(next.Window)) {
        RouteInput(next);
        break;
      }
      // Keys released elsewhere never come back up here.
      for (int vk = 0; vk < 256; ++vk)
        if (vk != int(VK_LBUTTON) && vk != int(VK_RBUTTON) && vk != int(VK_MBUTTON)) SetKey(UINT(vk), false, false);
      Activate(nullptr, WA_INACTIVE, false);
      if (more) RouteInput(next);
      break;
    }
    case InputKind::Quit: PostQuitMessage(0); break;
  }
}

void ForgetWindowInput(HWND hwnd) {
  if (!hwnd) return;
  InputState& s = S();
  if (s.Capture == hwnd) {
    s.Capture = nullptr;
    CurrentBackend().CaptureMouse(false);
  }
  if (s.Focus == hwnd) s.Focus = nullptr;
  if (s.Active == hwnd) s.Active = nullptr;
  if (s.Tracked.Hwnd == hwnd) s.Tracked = {};
  if (s.LastClick.Hwnd == hwnd) s.LastClick = {};
  s.LastFocus.erase(hwnd);
  std::erase_if(s.LastFocus, [hwnd](const auto& entry) { return entry.second == hwnd; });
}

void ResetInput() {
  InputState& s = S();
  if (s.Capture) CurrentBackend().CaptureMouse(false);
  s = InputState{};
}
