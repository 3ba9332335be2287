// The default window procedure: what every window does with a message its own
// procedure leaves alone.
#include <algorithm>

#include "gdi/DC.h"
#include "gdi/Draw.h"
#include "gdi/Edge.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/NonClient.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/ScrollBars.h"

namespace {

// Flags Window.cpp adds to WM_WINDOWPOSCHANGED: the client area kept its size / origin.
constexpr UINT SWP_NOCLIENTSIZE = 0x0800;
constexpr UINT SWP_NOCLIENTMOVE = 0x1000;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

size_t CodePointCount(const String& s) {
  return size_t(std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuationByte(c); }));
}

// The first n code points of a UTF-8 string.
String FirstCodePoints(const String& s, size_t n) {
  size_t i = 0;
  for (size_t seen = 0; i < s.size(); ++i) {
    if (!IsContinuationByte(s[i]) && seen++ == n) break;
  }
  return s.substr(0, i);
}

POINT PointFromLParam(LPARAM l) { return {GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }

// The screen point of a system command: its lParam, or where the message that led to
// it happened when the caller passed none.
POINT CommandPoint(LPARAM l) {
  if (l) return PointFromLParam(l);
  const DWORD pos = GetMessagePos();
  return {int16_t(LOWORD(pos)), int16_t(HIWORD(pos))};
}

HBRUSH ClassBrush(const WindowObject* w) {
  HBRUSH b = w->Class->Info.hbrBackground;
  const uintptr_t v = reinterpret_cast<uintptr_t>(b);
  if (v == 0) return nullptr;
  if (v <= uintptr_t(SYS_COLOR_COUNT)) return GetSysColorBrush(int(v) - 1);
  return LiveObject<GdiBrush>(b, OBJ_BRUSH);
}

bool IsSizingHit(int hit) { return (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || hit == HTGROWBOX; }

bool IsCaptionButton(int hit) { return hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP; }

// Runs fn with the DC's origin moved to (dx, dy) and drawing limited to a width x height
// box there; the DC is as before afterwards.
template <class Fn>
void WithShiftedDC(HDC dc, int dx, int dy, int width, int height, Fn fn) {
  const int saved = SaveDC(dc);
  OffsetViewportOrgEx(dc, dx, dy, nullptr);
  IntersectClipRect(dc, 0, 0, width, height);
  fn();
  if (LiveDC(dc)) RestoreDC(dc, saved);
}

LRESULT Print(HWND hwnd, HDC dc, LPARAM flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!LiveDC(dc) || ((flags & PRF_CHECKVISIBLE) && !IsWindowVisible(hwnd))) return 0;
  if (flags & PRF_NONCLIENT) DrawNonClient(hwnd, dc, IsFrameActive(hwnd));
  const RECT c = w->Client;
  if (flags & PRF_ERASEBKGND)
    WithShiftedDC(dc, c.Left, c.Top, c.Width(), c.Height(),
                  [&] { SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0); });
  if ((flags & PRF_CLIENT) && LiveWindow(hwnd))
    WithShiftedDC(dc, c.Left, c.Top, c.Width(), c.Height(),
                  [&] { SendMessage(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags); });
  if ((flags & PRF_CHILDREN) && LiveWindow(hwnd)) {
    WithShiftedDC(dc, c.Left, c.Top, c.Width(), c.Height(), [&] {
      // Bottom of the z-order first, so that higher children come out on top.
      const std::vector<HWND> children(w->Children.rbegin(), w->Children.rend());
      for (HWND child : children) {
        if (!LiveWindow(child) || !(child->Style & WS_VISIBLE) || !LiveDC(dc)) continue;
        const RECT r = child->Window;
        WithShiftedDC(dc, r.Left, r.Top, r.Width(), r.Height(),
                      [&] { SendMessage(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags); });
      }
    });
  }
  return 0;
}

LRESULT SetCursorFor(HWND hwnd, WindowObject* w, WPARAM wParam, LPARAM lParam) {
  // A parent may choose the cursor over its children.
  if (w->Parent && SendMessage(w->Parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
  if (!LiveWindow(hwnd) || reinterpret_cast<HWND>(wParam) != hwnd) return FALSE;
  const int hit = int16_t(LOWORD(uint64_t(lParam)));
  const UINT mouse = HIWORD(uint64_t(lParam));
  intptr_t id = IDC_ARROW;
  switch (hit) {
    case HTCLIENT:
      if (!w->Class->Info.hCursor) return FALSE;
      SetCursor(w->Class->Info.hCursor);
      return TRUE;
    case HTLEFT:
    case HTRIGHT: id = IDC_SIZEWE; break;
    case HTTOP:
    case HTBOTTOM: id = IDC_SIZENS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: id = IDC_SIZENWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: id = IDC_SIZENESW; break;
    case HTGROWBOX:
      if (NonClientLayoutOf(hwnd).Sizable) id = IDC_SIZENWSE;
      break;
    case HTERROR:
      // A click on a window that cannot take it (a disabled owner of a modal form).
      if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN) MessageBeep(0);
      break;
    default: break;
  }
  SetCursor(LoadCursor(nullptr, id));
  return TRUE;
}

// Follows the mouse over caption buttons and frame scroll bars for their hot look.
void TrackHot(HWND hwnd, int hit, POINT screen) {
  NonClientState* st = NonClientStateOf(hwnd);
  if (!st) return;
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  const int button = IsCaptionButton(hit) && CaptionButtonEnabled(l, hit) ? hit : HTNOWHERE;
  const int bar = hit == HTVSCROLL ? SB_VERT : hit == HTHSCROLL ? SB_HORZ : -1;
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  const ScrollBarPart part = bar < 0 ? sbpNone : ScrollBarHitTest(hwnd, bar, {screen.X - wr.Left, screen.Y - wr.Top});
  if (button != HTNOWHERE || bar >= 0) {
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
    tme.hwndTrack = hwnd;
    TrackMouseEvent(&tme);
  }
  const int oldBar = st->HotBar;
  const bool barChanged = oldBar != bar || st->HotPart != part;
  st->HotBar = bar;
  st->HotPart = part;
  if (barChanged) {
    if (oldBar >= 0) RedrawScrollBar(hwnd, oldBar);
    if (bar >= 0 && bar != oldBar) RedrawScrollBar(hwnd, bar);
  }
  if (!(st = NonClientStateOf(hwnd)) || st->HotButton == button) return;
  st->HotButton = button;
  RedrawNonClient(hwnd);
}

void NonClientButtonDown(HWND hwnd, WindowObject* w, int hit, LPARAM lParam) {
  switch (hit) {
    case HTCAPTION: SendMessage(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam); break;
    case HTVSCROLL: SendMessage(hwnd, WM_SYSCOMMAND, SC_VSCROLL | HTVSCROLL, lParam); break;
    case HTHSCROLL: SendMessage(hwnd, WM_SYSCOMMAND, SC_HSCROLL | HTHSCROLL, lParam); break;
    case HTSYSMENU: SendMessage(hwnd, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, lParam); break;
    case HTMENU: TrackMenuBar(hwnd, MenuBarItemFromPoint(hwnd, PointFromLParam(lParam))); break;
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP: TrackCaptionButton(hwnd, hit, PointFromLParam(lParam)); break;
    default:
      // Sizing commands carry the WMSZ_ edge, which is the hit code less 9. A child window
      // that answers a sizing code is sized without a sizing frame.
      if (IsSizingHit(hit) && (w->Style & (WS_THICKFRAME | WS_CHILD))) {
        const WPARAM edge = hit == HTGROWBOX ? WMSZ_BOTTOMRIGHT : WPARAM(hit - HTLEFT + WMSZ_LEFT);
        SendMessage(hwnd, WM_SYSCOMMAND, SC_SIZE + edge, lParam);
      }
      break;
  }
}

// Below the caption's icon space: where the window menu opens from the keyboard.
POINT SystemMenuPoint(HWND hwnd) {
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  RECT wr{};
  GetWindowRect(hwnd, &wr);
  const RECT& from = l.SysMenu.IsEmpty() ? l.Caption : l.SysMenu;
  return {wr.Left + from.Left, wr.Top + (l.Caption.IsEmpty() ? l.Client.Top : from.Bottom)};
}

LRESULT SysCommand(HWND hwnd, WindowObject* w, WPARAM wParam, LPARAM lParam) {
  const WPARAM low = wParam & 0x000F;
  switch (wParam & 0xFFF0) {
    case SC_CLOSE: SendMessage(hwnd, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); break;
    case SC_MAXIMIZE:
      if (w->Style & WS_MAXIMIZEBOX) ShowWindow(hwnd, SW_MAXIMIZE);
      break;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); break;
    case SC_MOVE:
      // From the caption the mouse moves the window, from the window menu the keyboard.
      if (low == WPARAM(HTCAPTION))
        MoveSizeLoop(hwnd, HTCAPTION, CommandPoint(lParam));
      else if (low == 0)
        KeyboardMoveSizeLoop(hwnd, false);
      break;
    case SC_SIZE:
      // Likewise sizing: with a WMSZ_ edge the mouse, without one the keyboard.
      if (low >= WMSZ_LEFT && low <= WMSZ_BOTTOMRIGHT)
        MoveSizeLoop(hwnd, int(low - WMSZ_LEFT) + HTLEFT, CommandPoint(lParam));
      else if (low == 0)
        KeyboardMoveSizeLoop(hwnd, true);
      break;
    case SC_VSCROLL: TrackScrollBar(hwnd, SB_VERT, CommandPoint(lParam)); break;
    case SC_HSCROLL: TrackScrollBar(hwnd, SB_HORZ, CommandPoint(lParam)); break;
    case SC_KEYMENU:
      // Alt+Space opens the window menu; other keys are for a menu bar.
      if (lParam == ' ')
        TrackSystemMenu(hwnd, SystemMenuPoint(hwnd));
      else if (GetMenu(hwnd) && lParam == 0)
        TrackMenuBar(hwnd, 0, true);
      else if (const int item = MenuBarItemFromMnemonic(hwnd, char32_t(lParam)); item >= 0)
        TrackMenuBar(hwnd, item, true);
      break;
    case SC_MOUSEMENU: TrackSystemMenu(hwnd, SystemMenuPoint(hwnd)); break;
    default: break;
  }
  return 0;
}

LRESULT CtlColor(UINT msg, HDC dc) {
  const bool field = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
  const int back = field ? COLOR_WINDOW : COLOR_BTNFACE;
  if (LiveDC(dc)) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(back));
  }
  return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
}

void WindowPosChanged(HWND hwnd, WindowObject* w, const WINDOWPOS* pos) {
  if (!pos) return;
  if (!(pos->flags & SWP_NOCLIENTMOVE)) {
    SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(w->Window.Left + w->Client.Left, w->Window.Top + w->Client.Top));
    if (!LiveWindow(hwnd)) return;
  }
  if (!(pos->flags & SWP_NOCLIENTSIZE)) {
    const WPARAM kind = (w->Style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                        : (w->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                   : SIZE_RESTORED;
    SendMessage(hwnd, WM_SIZE, kind, MAKELPARAM(w->Client.Width(), w->Client.Height()));
  }
}

// Top-level windows that can be sized by the user keep within their tracking size.
void ConstrainSize(HWND hwnd, WindowObject* w, WINDOWPOS* pos) {
  if (!pos || (pos->flags & SWP_NOSIZE) || w->Parent || (w->Style & WS_MINIMIZE)) return;
  if (!(w->Style & WS_THICKFRAME) && (w->Style & WS_CAPTION) != WS_CAPTION) return;
  const MINMAXINFO mm = QueryMinMaxInfo(hwnd);
  pos->cx = std::clamp<int>(pos->cx, mm.ptMinTrackSize.X, std::max(mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X));
  pos->cy = std::clamp<int>(pos->cy, mm.ptMinTrackSize.Y, std::max(mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y));
}

bool IsEmpty(const MINMAXINFO& mm) {
  const POINT zero{};
  return mm.ptReserved == zero && mm.ptMaxSize == zero && mm.ptMaxPosition == zero && mm.ptMinTrackSize == zero &&
         mm.ptMaxTrackSize == zero;
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return 0;
  switch (msg) {
    // ---- creation and destruction ----
    case WM_NCCREATE:
      ForgetNonClientState(hwnd);
      if (const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam)) w->Text = cs->lpszName;
      return TRUE;
    case WM_NCDESTROY: ForgetNonClientState(hwnd); return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;

    // ---- non-client area ----
    case WM_NCCALCSIZE:
      // rgrc[0] of NCCALCSIZE_PARAMS, or the RECT itself: the window rectangle comes in,
      // the client rectangle goes out.
      if (auto* r = reinterpret_cast<RECT*>(lParam)) *r = DefaultClientRect(hwnd, *r);
      return 0;
    case WM_NCHITTEST: {
      RECT wr{};
      GetWindowRect(hwnd, &wr);
      const POINT p = PointFromLParam(lParam);
      return NonClientHitTest(hwnd, {p.X - wr.Left, p.Y - wr.Top});
    }
    case WM_NCPAINT: {
      if (!IsWindowVisible(hwnd) || w->RedrawOff) return 0;
      HRGN rgn = wParam > 1 ? LiveObject<GdiRegion>(reinterpret_cast<HRGN>(wParam), OBJ_REGION) : nullptr;
      HDC dc = rgn ? GetDCEx(hwnd, rgn, DCX_WINDOW | DCX_INTERSECTRGN) : GetWindowDC(hwnd);
      if (!dc) return 0;
      DrawNonClient(hwnd, dc, IsFrameActive(hwnd));
      ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_NCACTIVATE: {
      if (NonClientState* st = NonClientStateOf(hwnd)) st->ActiveFrame = wParam ? 1 : 0;
      const NonClientLayout l = NonClientLayoutOf(hwnd);
      if (lParam != -1 && (!l.Caption.IsEmpty() || l.Border > 1)) RedrawNonClient(hwnd);
      return TRUE;
    }
    case WM_NCMOUSEMOVE: TrackHot(hwnd, int(wParam), PointFromLParam(lParam)); return 0;
    case WM_NCMOUSELEAVE: {
      NonClientState* st = NonClientStateOf(hwnd);
      const int bar = st->HotBar;
      const bool button = st->HotButton != HTNOWHERE;
      *st = NonClientState{HTNOWHERE, st->PressedButton, st->ActiveFrame, -1, sbpNone};
      if (bar >= 0) RedrawScrollBar(hwnd, bar);
      if (button) RedrawNonClient(hwnd);
      return 0;
    }
    case WM_NCLBUTTONDOWN: NonClientButtonDown(hwnd, w, int(wParam), lParam); return 0;
    case WM_NCLBUTTONDBLCLK:
      switch (int(wParam)) {
        case HTCAPTION:
          if (w->Style & WS_MAXIMIZEBOX)
            SendMessage(hwnd, WM_SYSCOMMAND, (w->Style & (WS_MAXIMIZE | WS_MINIMIZE)) ? SC_RESTORE : SC_MAXIMIZE,
                        lParam);
          return 0;
        case HTSYSMENU:
          if (CaptionButtonEnabled(NonClientLayoutOf(hwnd), HTCLOSE))
            SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, lParam);
          return 0;
        case HTVSCROLL:
        case HTHSCROLL:
          // A second click on a scroll bar scrolls again.
          NonClientButtonDown(hwnd, w, int(wParam), lParam);
          return 0;
        default: return 0;
      }
    case WM_NCRBUTTONUP:
      // A right click on the caption opens the window menu there.
      if ((int(wParam) == HTCAPTION || int(wParam) == HTSYSMENU) && !w->Parent && (w->Style & WS_SYSMENU))
        TrackSystemMenu(hwnd, PointFromLParam(lParam));
      return 0;
    case WM_POPUPSYSTEMMENU:
      if (!w->Parent) TrackSystemMenu(hwnd, PointFromLParam(lParam));
      return 0;

    // ---- system commands and keys ----
    case WM_SYSCOMMAND: return SysCommand(hwnd, w, wParam, lParam);
    case WM_SYSCHAR:
      // Alt and a letter opens the menu bar item with that mnemonic.
      if (HWND top = GetAncestor(hwnd, GA_ROOT); GetMenu(top) && MenuBarItemFromMnemonic(top, char32_t(wParam)) >= 0)
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, wParam);
      return 0;
    case WM_KEYUP:
      // The context-menu key asks for the focus window's context menu at its corner.
      if (wParam == VK_APPS) SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(-1, -1));
      return 0;
    case WM_SYSKEYDOWN: {
      const bool alt = (lParam & (LPARAM(1) << 29)) || GetKeyState(VK_MENU) < 0;
      HWND top = GetAncestor(hwnd, GA_ROOT);
      if (wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0 && !alt) {
        SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(-1, -1));
        return 0;
      }
      // F10 alone enters the menu bar.
      if (wParam == VK_F10 && !alt && GetMenu(top)) {
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
      }
      if (alt && wParam == VK_F4)
        SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
      else if (alt && wParam == VK_SPACE)
        SendMessage(top, WM_SYSCOMMAND, SC_KEYMENU, ' ');
      return 0;
    }

    // ---- painting and printing ----
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HBRUSH brush = ClassBrush(w);
      if (!brush || !LiveDC(dc)) return 0;
      RECT box{};
      GetClipBox(dc, &box);
      FillRect(dc, &box, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      if (BeginPaint(hwnd, &ps)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINT: return Print(hwnd, reinterpret_cast<HDC>(wParam), lParam);
    case WM_PRINTCLIENT: return 0;
    case WM_SETREDRAW: w->RedrawOff = !wParam; return 0;

    // ---- text ----
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const String*>(lParam);
      w->Text = text ? *text : String();
      if (w->Native) CurrentBackend().SetNativeWindowTitle(w->Native, w->Text);
      if ((w->Style & WS_CAPTION) == WS_CAPTION) RedrawNonClient(hwnd);
      return TRUE;
    }
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<String*>(lParam);
      if (!out) return 0;
      *out = FirstCodePoints(w->Text, size_t(wParam));
      return LRESULT(CodePointCount(*out));
    }
    case WM_GETTEXTLENGTH: return LRESULT(CodePointCount(w->Text));

    // ---- mouse, activation and placement ----
    case WM_SETCURSOR: return SetCursorFor(hwnd, w, wParam, lParam);
    case WM_MOUSEACTIVATE:
      if (w->Parent) {
        if (const LRESULT answer = SendMessage(w->Parent, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
      }
      return MA_ACTIVATE;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: return w->Parent ? SendMessage(w->Parent, msg, wParam, lParam) : 0;
    case WM_RBUTTONUP: {
      POINT p = PointFromLParam(lParam);
      ClientToScreen(hwnd, &p);
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.X, p.Y));
      return 0;
    }
    case WM_CONTEXTMENU: return w->Parent ? SendMessage(w->Parent, msg, wParam, lParam) : 0;
    case WM_ACTIVATE:
      // Activation itself gives the focus back to where it was in the window (or to the
      // window), once every handler of WM_ACTIVATE has had its say.
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      return 0;
    case WM_WINDOWPOSCHANGING: ConstrainSize(hwnd, w, reinterpret_cast<WINDOWPOS*>(lParam)); return 0;
    case WM_WINDOWPOSCHANGED: WindowPosChanged(hwnd, w, reinterpret_cast<const WINDOWPOS*>(lParam)); return 0;
    case WM_GETMINMAXINFO: {
      auto* mm = reinterpret_cast<MINMAXINFO*>(lParam);
      if (mm && IsEmpty(*mm)) DefaultMinMaxInfo(hwnd, mm);
      return 0;
    }

    // ---- controls ----
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return CtlColor(msg, reinterpret_cast<HDC>(wParam));

    default: return 0;
  }
}
