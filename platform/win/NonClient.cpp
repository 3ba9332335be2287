#include "win/NonClient.h"

#include <algorithm>
#include <unordered_map>

#include "gdi/Draw.h"
#include "gdi/Edge.h"
#include "gdi/Fonts.h"
#include "gdi/Text.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/Timers.h"

namespace {

RECT Deflated(RECT r, int dx, int dy) {
  r.Left = std::min(r.Left + dx, r.Right);
  r.Top = std::min(r.Top + dy, r.Bottom);
  r.Right = std::max(r.Right - dx, r.Left);
  r.Bottom = std::max(r.Bottom - dy, r.Top);
  return r;
}

// Cuts a strip of the given thickness off the top of r (never more than r has).
RECT TakeTop(RECT& r, int thickness) {
  const int t = std::clamp(thickness, 0, int(r.Height()));
  const RECT strip{r.Left, r.Top, r.Right, r.Top + t};
  r.Top += t;
  return strip;
}

int FrameThickness(DWORD style, DWORD exStyle) {
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  if ((style & WS_CAPTION) == WS_CAPTION || (style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
    return GetSystemMetrics(SM_CXFIXEDFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

bool HasMenuBar(const WindowObject* w) { return !w->Parent && !(w->Style & WS_CHILD) && w->Menu; }

POINT WindowOrigin(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r.TopLeft();
}

POINT ToWindow(HWND hwnd, POINT screen) {
  const POINT o = WindowOrigin(hwnd);
  return {screen.X - o.X, screen.Y - o.Y};
}

std::unordered_map<HWND, NonClientState>& States() {
  static std::unordered_map<HWND, NonClientState> states;
  return states;
}

// The pointer of a mouse message in screen coordinates: non-client messages carry it so,
// client messages relative to the client area of the window they went to.
POINT ScreenPointOf(const MSG& msg) {
  POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
  if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ClientToScreen(msg.hwnd, &p);
  return p;
}

bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) ||
         m == WM_MOUSEHOVER || m == WM_NCMOUSEHOVER;
}

WPARAM SizingEdge(int hit) {
  switch (hit) {
    case HTLEFT: return WMSZ_LEFT;
    case HTRIGHT: return WMSZ_RIGHT;
    case HTTOP: return WMSZ_TOP;
    case HTTOPLEFT: return WMSZ_TOPLEFT;
    case HTTOPRIGHT: return WMSZ_TOPRIGHT;
    case HTBOTTOM: return WMSZ_BOTTOM;
    case HTBOTTOMLEFT: return WMSZ_BOTTOMLEFT;
    case HTBOTTOMRIGHT:
    case HTGROWBOX: return WMSZ_BOTTOMRIGHT;
    default: return 0;
  }
}

// The proposed rectangle of a size loop: the dragged edges follow the pointer, the
// size stays within the tracking limits, and the opposite edges stay where they are.
RECT SizedRect(RECT r, WPARAM edge, int dx, int dy, const MINMAXINFO& mm) {
  const bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  const bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  const bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  const bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  auto limit = [](LONG size, LONG lo, LONG hi) { return std::clamp(size, lo, std::max(lo, hi)); };
  if (left) r.Left = r.Right - limit(r.Width() - dx, mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X);
  if (right) r.Right = r.Left + limit(r.Width() + dx, mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X);
  if (top) r.Top = r.Bottom - limit(r.Height() - dy, mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y);
  if (bottom) r.Bottom = r.Top + limit(r.Height() + dy, mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y);
  return r;
}

WPARAM ButtonCommand(HWND hwnd, int hit) {
  switch (hit) {
    case HTCLOSE: return SC_CLOSE;
    case HTMINBUTTON: return IsIconic(hwnd) ? SC_RESTORE : SC_MINIMIZE;
    case HTMAXBUTTON: return IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE;
    case HTHELP: return SC_CONTEXTHELP;
    default: return 0;
  }
}

// ---- drawing ----

void FrameSolid(HDC dc, const RECT& r, int thickness, COLORREF color) {
  FillSolidRect(dc, {r.Left, r.Top, r.Right, r.Top + thickness}, color);
  FillSolidRect(dc, {r.Left, r.Bottom - thickness, r.Right, r.Bottom}, color);
  FillSolidRect(dc, {r.Left, r.Top + thickness, r.Left + thickness, r.Bottom - thickness}, color);
  FillSolidRect(dc, {r.Right - thickness, r.Top + thickness, r.Right, r.Bottom - thickness}, color);
}

// The band between two nested rectangles.
void FillBand(HDC dc, const RECT& outer, const RECT& inner, COLORREF color) {
  FillSolidRect(dc, {outer.Left, outer.Top, outer.Right, inner.Top}, color);
  FillSolidRect(dc, {outer.Left, inner.Bottom, outer.Right, outer.Bottom}, color);
  FillSolidRect(dc, {outer.Left, inner.Top, inner.Left, inner.Bottom}, color);
  FillSolidRect(dc, {inner.Right, inner.Top, outer.Right, inner.Bottom}, color);
}

HFONT CreateCaptionFont() {
  return CreateFont(-ScaledLength(12), 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Segoe UI");
}

void DrawCaption(HWND hwnd, HDC dc, const NonClientLayout& l, bool active, const NonClientState& st) {
  FillSolidRect(dc, l.Caption, ncstyle::kCaption);
  const String text = LiveWindow(hwnd)->Text;
  if (!text.empty() && !l.CaptionText.IsEmpty()) {
    HFONT font = CreateCaptionFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, active ? ncstyle::kCaptionText : ncstyle::kCaptionTextInactive);
    RECT r = l.CaptionText;
    DrawText(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
  }
  for (int hit : {HTMINBUTTON, HTMAXBUTTON, HTCLOSE, HTHELP}) {
    const RECT r = CaptionButtonRect(l, hit);
    if (r.IsEmpty()) continue;
    const bool restore = (hit == HTMINBUTTON && l.RestoreOnMin) || (hit == HTMAXBUTTON && l.RestoreOnMax);
    DrawCaptionButton(dc, r, hit, CaptionButtonEnabled(l, hit), st.HotButton == hit, st.PressedButton == hit, active,
                      restore);
  }
}

}  // namespace

std::function<bool(HWND, HDC, const NonClientLayout&, bool)> NonClientPainterHook;

int ScaledLength(int length96) { return length96 * ScreenPixelsPerInch() / 96; }

void FillSolidRect(HDC dc, const RECT& r, COLORREF color) {
  if (r.IsEmpty()) return;
  const COLORREF old = SetDCBrushColor(dc, color);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, old);
}

// ---- layout ----

NonClientLayout ComputeNonClientLayout(DWORD style, DWORD exStyle, bool menuBar, int width, int height) {
  NonClientLayout l;
  l.Window = {0, 0, std::max(width, 0), std::max(height, 0)};
  const bool minimized = (style & WS_MINIMIZE) != 0, maximized = (style & WS_MAXIMIZE) != 0;
  l.Border = FrameThickness(style, exStyle);
  l.Sizable = (style & WS_THICKFRAME) && !minimized && !maximized;
  RECT r = Deflated(l.Window, l.Border, l.Border);

  if ((style & WS_CAPTION) == WS_CAPTION) {
    const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
    l.Caption = TakeTop(r, GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION));
    LONG right = l.Caption.Right;
    auto button = [&](int width) {
      const RECT b{std::max(right - width, l.Caption.Left), l.Caption.Top, right, l.Caption.Bottom};
      right = b.Left;
      return b;
    };
    if (style & WS_SYSMENU) {
      const int size = GetSystemMetrics(tool ? SM_CXSMSIZE : SM_CXSIZE);
      l.CloseButton = button(size);
      l.CloseEnabled = true;
      if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))) {
        l.MaxButton = button(size);
        l.MinButton = button(size);
        l.MinEnabled = (style & WS_MINIMIZEBOX) != 0;
        l.MaxEnabled = (style & WS_MAXIMIZEBOX) != 0;
        l.RestoreOnMin = minimized;
        l.RestoreOnMax = maximized && !minimized;
      } else if (!tool && (exStyle & WS_EX_CONTEXTHELP)) {
        l.HelpButton = button(size);
      }
      if (!tool)
        l.SysMenu = {l.Caption.Left, l.Caption.Top,
                     std::min<LONG>(l.Caption.Left + GetSystemMetrics(SM_CXSMICON) + ScaledLength(8), right),
                     l.Caption.Bottom};
    }
    const LONG textLeft = l.SysMenu.IsEmpty() ? l.Caption.Left + ScaledLength(8) : l.SysMenu.Right;
    const LONG textRight = right - ScaledLength(4);
    if (textRight > textLeft) l.CaptionText = {textLeft, l.Caption.Top, textRight, l.Caption.Bottom};
  }
  if (menuBar) l.MenuBar = TakeTop(r, GetSystemMetrics(SM_CYMENU));

  if (exStyle & WS_EX_CLIENTEDGE) l.Edge += GetSystemMetrics(SM_CXEDGE);
  if (exStyle & WS_EX_STATICEDGE) l.Edge += GetSystemMetrics(SM_CXBORDER);
  if (l.Edge) {
    l.EdgeRect = r;
    r = Deflated(r, l.Edge, l.Edge);
  }

  const int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
  if ((style & WS_VSCROLL) && r.Width() >= cx) {
    if (exStyle & WS_EX_LEFTSCROLLBAR) {
      l.VScroll = {r.Left, r.Top, r.Left + cx, r.Bottom};
      r.Left += cx;
    } else {
      l.VScroll = {r.Right - cx, r.Top, r.Right, r.Bottom};
      r.Right -= cx;
    }
  }
  if ((style & WS_HSCROLL) && r.Height() >= cy) {
    l.HScroll = {r.Left, r.Bottom - cy, r.Right, r.Bottom};
    r.Bottom -= cy;
    if (!l.VScroll.IsEmpty()) {
      l.VScroll.Bottom = r.Bottom;
      l.SizeGrip = {l.VScroll.Left, r.Bottom, l.VScroll.Right, l.HScroll.Bottom};
    }
  }
  l.Client = r;
  return l;
}

NonClientLayout NonClientLayoutOf(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return {};
  DWORD style = w->Style;
  if (w->VScroll.Hidden) style &= ~WS_VSCROLL;
  if (w->HScroll.Hidden) style &= ~WS_HSCROLL;
  NonClientLayout l = ComputeNonClientLayout(style, w->ExStyle, HasMenuBar(w), w->Window.Width(), w->Window.Height());
  if (w->Class->Info.style & CS_NOCLOSE) l.CloseEnabled = false;
  // The scroll bars stand beside the client area the window's WM_NCCALCSIZE chose.
  const RECT c = w->Client;
  const bool v = !l.VScroll.IsEmpty(), h = !l.HScroll.IsEmpty();
  const int cx = l.VScroll.Width(), cy = l.HScroll.Height();
  if (v)
    l.VScroll = (w->ExStyle & WS_EX_LEFTSCROLLBAR) ? RECT{c.Left - cx, c.Top, c.Left, c.Bottom}
                                                   : RECT{c.Right, c.Top, c.Right + cx, c.Bottom};
  if (h) l.HScroll = {c.Left, c.Bottom, c.Right, c.Bottom + cy};
  if (v && h) l.SizeGrip = {l.VScroll.Left, c.Bottom, l.VScroll.Right, c.Bottom + cy};
  l.Client = c;
  return l;
}

RECT DefaultClientRect(HWND hwnd, const RECT& window) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return window;
  DWORD style = w->Style;
  if (w->VScroll.Hidden) style &= ~WS_VSCROLL;
  if (w->HScroll.Hidden) style &= ~WS_HSCROLL;
  const NonClientLayout l = ComputeNonClientLayout(style, w->ExStyle, HasMenuBar(w), window.Width(), window.Height());
  RECT c = l.Client;
  OffsetRect(&c, window.Left, window.Top);
  return c;
}

RECT CaptionButtonRect(const NonClientLayout& l, int hit) {
  switch (hit) {
    case HTCLOSE: return l.CloseButton;
    case HTMINBUTTON: return l.MinButton;
    case HTMAXBUTTON: return l.MaxButton;
    case HTHELP: return l.HelpButton;
    default: return {};
  }
}

bool CaptionButtonEnabled(const NonClientLayout& l, int hit) {
  switch (hit) {
    case HTCLOSE: return l.CloseEnabled && !l.CloseButton.IsEmpty();
    case HTMINBUTTON: return l.MinEnabled;
    case HTMAXBUTTON: return l.MaxEnabled;
    case HTHELP: return !l.HelpButton.IsEmpty();
    default: return false;
  }
}

int NonClientHitTest(HWND hwnd, POINT p) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return HTNOWHERE;
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  if (!l.Window.Contains(p) || (w->Shape && !w->Shape->Contains(p))) return HTNOWHERE;
  if (w->Style & WS_MINIMIZE) return HTCAPTION;
  if (l.Client.Contains(p)) return HTCLIENT;

  const RECT inner = Deflated(l.Window, l.Border, l.Border);
  if (!inner.Contains(p)) {
    if (!l.Sizable) return HTBORDER;
    const int corner = ScaledLength(16);
    const bool nearLeft = p.X < l.Window.Left + corner, nearRight = p.X >= l.Window.Right - corner;
    const bool nearTop = p.Y < l.Window.Top + corner, nearBottom = p.Y >= l.Window.Bottom - corner;
    if (p.Y < inner.Top) return nearLeft ? HTTOPLEFT : nearRight ? HTTOPRIGHT : HTTOP;
    if (p.Y >= inner.Bottom) return nearLeft ? HTBOTTOMLEFT : nearRight ? HTBOTTOMRIGHT : HTBOTTOM;
    if (p.X < inner.Left) return nearTop ? HTTOPLEFT : nearBottom ? HTBOTTOMLEFT : HTLEFT;
    return nearTop ? HTTOPRIGHT : nearBottom ? HTBOTTOMRIGHT : HTRIGHT;
  }
  if (l.Caption.Contains(p)) {
    for (int hit : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTHELP})
      if (CaptionButtonRect(l, hit).Contains(p)) return hit;
    if (l.SysMenu.Contains(p)) return HTSYSMENU;
    return HTCAPTION;
  }
  if (l.MenuBar.Contains(p)) return HTMENU;
  if (l.VScroll.Contains(p)) return HTVSCROLL;
  if (l.HScroll.Contains(p)) return HTHSCROLL;
  if (l.SizeGrip.Contains(p)) return HTGROWBOX;
  if (l.EdgeRect.Contains(p)) return HTBORDER;
  return HTNOWHERE;
}

// ---- state ----

NonClientState* NonClientStateOf(HWND hwnd) {
  if (!LiveWindow(hwnd)) return nullptr;
  auto& states = States();
  auto it = states.find(hwnd);
  if (it != states.end()) return &it->second;
  // Entries of windows whose procedure kept WM_NCDESTROY from us go before a new one.
  std::erase_if(states, [](const auto& entry) { return !LiveWindow(entry.first); });
  return &states[hwnd];
}

void ForgetNonClientState(HWND hwnd) { States().erase(hwnd); }

bool IsFrameActive(HWND hwnd) {
  if (!LiveWindow(hwnd)) return false;
  auto it = States().find(hwnd);
  if (it != States().end() && it->second.ActiveFrame >= 0) return it->second.ActiveFrame != 0;
  return GetActiveWindow() == hwnd;
}

// ---- drawing ----

void DrawCaptionButton(HDC dc, const RECT& r, int kind, bool enabled, bool hot, bool pressed, bool active,
                       bool restore) {
  const bool close = kind == HTCLOSE;
  hot = hot && enabled;
  pressed = pressed && enabled;
  COLORREF back = ncstyle::kCaption;
  COLORREF ink = active ? ncstyle::kCaptionText : ncstyle::kCaptionTextInactive;
  if (close && (hot || pressed)) {
    back = pressed ? ncstyle::kClosePressed : ncstyle::kCloseHot;
    ink = RGB(0xFF, 0xFF, 0xFF);
  } else if (pressed || hot) {
    back = pressed ? ncstyle::kButtonPressed : ncstyle::kButtonHot;
    ink = ncstyle::kCaptionText;
  }
  if (!enabled) ink = ncstyle::kGlyphDisabled;
  FillSolidRect(dc, r, back);

  // Glyphs are drawn on whole pixels so that they stay sharp at every size.
  const int size = std::min<int>(ScaledLength(10), std::min(r.Width(), r.Height()));
  const int pen = std::max(1, ScaledLength(1));
  const int x = r.Left + (r.Width() - size) / 2, y = r.Top + (r.Height() - size) / 2;
  switch (kind) {
    case HTMINBUTTON:
    case HTMAXBUTTON:
      if (restore) {
        const int step = std::max(2, ScaledLength(2));
        FrameSolid(dc, {x, y + step, x + size - step, y + size}, pen, ink);
        FillSolidRect(dc, {x + step, y, x + size, y + pen}, ink);                     // back box: top
        FillSolidRect(dc, {x + size - pen, y, x + size, y + size - step}, ink);       // right
        FillSolidRect(dc, {x + step, y, x + step + pen, y + step}, ink);              // left stub
        FillSolidRect(dc, {x + size - step, y + size - step - pen, x + size, y + size - step}, ink);  // bottom stub
      } else if (kind == HTMINBUTTON) {
        const int mid = y + size / 2;
        FillSolidRect(dc, {x, mid, x + size, mid + pen}, ink);
      } else {
        FrameSolid(dc, {x, y, x + size, y + size}, pen, ink);
      }
      break;
    case HTCLOSE:
      for (int i = 0; i + pen <= size; ++i) {
        FillSolidRect(dc, {x + i, y + i, x + i + pen, y + i + pen}, ink);
        FillSolidRect(dc, {x + size - pen - i, y + i, x + size - i, y + i + pen}, ink);
      }
      break;
    case HTHELP: {
      HFONT font = CreateCaptionFont();
      HGDIOBJ oldFont = SelectObject(dc, font);
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      const COLORREF oldColor = SetTextColor(dc, ink);
      RECT box = r;
      DrawText(dc, "?", 1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
      SetTextColor(dc, oldColor);
      SetBkMode(dc, oldMode);
      SelectObject(dc, oldFont);
      DeleteObject(font);
      break;
    }
    default: break;
  }
}

void DrawNonClient(HWND hwnd, HDC dc, bool active) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !LiveDC(dc)) return;
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  if (l.Client == l.Window) return;
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, l.Client.Left, l.Client.Top, l.Client.Right, l.Client.Bottom);

  const bool painted = NonClientPainterHook && NonClientPainterHook(hwnd, dc, l, active);
  if (!painted && l.Border > 0) {
    // Frames of captions and dialogs show the activation; a plain border does not.
    const bool framed = l.Border > 1 || !l.Caption.IsEmpty();
    const COLORREF line =
        framed ? (active ? ncstyle::kBorderActive : ncstyle::kBorderInactive) : ncstyle::kBorderFlat;
    FrameSolid(dc, l.Window, 1, line);
    if (l.Border > 1) FillBand(dc, Deflated(l.Window, 1, 1), Deflated(l.Window, l.Border, l.Border), ncstyle::kCaption);
  }
  if (!LiveWindow(hwnd)) {
    RestoreDC(dc, saved);
    return;
  }
  const NonClientState* st = NonClientStateOf(hwnd);
  if (!painted && !l.Caption.IsEmpty()) DrawCaption(hwnd, dc, l, active, *st);
  if (!l.MenuBar.IsEmpty()) {
    FillSolidRect(dc, l.MenuBar, GetSysColor(COLOR_MENUBAR));
    PaintMenuBar(hwnd, dc, l.MenuBar);
  }
  if (l.Edge) {
    RECT edge = l.EdgeRect;
    if (w->ExStyle & WS_EX_CLIENTEDGE) {
      DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      if (w->ExStyle & WS_EX_STATICEDGE) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    } else {
      DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
  }
  DrawScrollBars(hwnd, dc);
  RestoreDC(dc, saved);
}

void RedrawNonClient(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !IsWindowVisible(hwnd) || w->RedrawOff) return;
  SendMessage(hwnd, WM_NCPAINT, 1, 0);
}

// ---- mouse loops ----

void RunMouseLoop(HWND hwnd, POINT press, const std::function<bool(MouseLoopEvent, POINT)>& handler) {
  if (!LiveWindow(hwnd)) return;
  SetCapture(hwnd);
  struct Release {
    HWND Hwnd;
    ~Release() {
      if (LiveWindow(Hwnd) && GetCapture() == Hwnd) ReleaseCapture();
    }
  } release{hwnd};
  POINT last = press;
  for (;;) {
    if (!LiveWindow(hwnd)) return;
    if (GetCapture() != hwnd) {
      handler(MouseLoopEvent::Lost, last);
      return;
    }
    MSG msg;
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      // The quit is for the loop that owns the application.
      PostQuitMessage(int(msg.wParam));
      if (LiveWindow(hwnd)) handler(MouseLoopEvent::Lost, last);
      return;
    }
    if (!LiveWindow(hwnd)) return;
    switch (msg.message) {
      case WM_MOUSEMOVE:
      case WM_NCMOUSEMOVE:
        last = ScreenPointOf(msg);
        if (!handler(MouseLoopEvent::Move, last)) return;
        continue;
      case WM_LBUTTONUP:
      case WM_NCLBUTTONUP:
        last = ScreenPointOf(msg);
        handler(MouseLoopEvent::Release, last);
        return;
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (msg.wParam == VK_ESCAPE) {
          handler(MouseLoopEvent::Escape, last);
          return;
        }
        continue;
      case WM_TIMER:
        if (msg.hwnd == hwnd && msg.wParam == kMouseLoopTimer) {
          if (!handler(MouseLoopEvent::Timer, last)) return;
          continue;
        }
        break;
      default: break;
    }
    if (IsMouseMessage(msg.message) || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

MINMAXINFO QueryMinMaxInfo(HWND hwnd) {
  MINMAXINFO mm{};
  DefaultMinMaxInfo(hwnd, &mm);
  SendMessage(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  return mm;
}

void DefaultMinMaxInfo(HWND hwnd, MINMAXINFO* mm) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !mm) return;
  const int frame = FrameThickness(w->Style, w->ExStyle);
  const RECT work = CurrentBackend().WorkArea(), screen = CurrentBackend().ScreenBounds();
  mm->ptMaxSize = {work.Width() + 2 * frame, work.Height() + 2 * frame};
  mm->ptMaxPosition = {-frame, -frame};
  // A child has no caption or frame buttons to keep room for.
  mm->ptMinTrackSize = (w->Style & WS_CHILD) ? POINT{0, 0} : POINT{GetSystemMetrics(SM_CXMIN), GetSystemMetrics(SM_CYMIN)};
  mm->ptMaxTrackSize = {screen.Width() + 2 * frame, screen.Height() + 2 * frame};
}

void MoveSizeLoop(HWND hwnd, int hit, POINT start) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return;
  const bool moving = hit == HTCAPTION;
  const WPARAM edge = SizingEdge(hit);
  const bool child = (w->Style & WS_CHILD) != 0;
  if (moving ? (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0 : (!edge || (!child && !NonClientLayoutOf(hwnd).Sizable)))
    return;

  RECT origin{};
  GetWindowRect(hwnd, &origin);
  // Screen to parent-client offset, for the SetWindowPos of child windows.
  const POINT parentOrigin{origin.Left - w->Window.Left, origin.Top - w->Window.Top};
  const MINMAXINFO mm = moving ? MINMAXINFO{} : QueryMinMaxInfo(hwnd);
  if (!LiveWindow(hwnd)) return;
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  if (!LiveWindow(hwnd)) return;

  auto place = [&](RECT r) {
    SetWindowPos(hwnd, nullptr, r.Left - parentOrigin.X, r.Top - parentOrigin.Y, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (moving ? SWP_NOSIZE : 0));
  };
  RunMouseLoop(hwnd, start, [&](MouseLoopEvent e, POINT p) {
    if (e == MouseLoopEvent::Escape) {
      place(origin);
      return false;
    }
    if (e != MouseLoopEvent::Move) return false;
    const int dx = p.X - start.X, dy = p.Y - start.Y;
    RECT r = origin;
    if (moving)
      OffsetRect(&r, dx, dy);
    else
      r = SizedRect(origin, edge, dx, dy, mm);
    SendMessage(hwnd, moving ? WM_MOVING : WM_SIZING, moving ? 0 : edge, reinterpret_cast<LPARAM>(&r));
    if (!LiveWindow(hwnd)) return false;
    place(r);
    return LiveWindow(hwnd) != nullptr;
  });
  if (LiveWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void KeyboardMoveSizeLoop(HWND hwnd, bool size) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || w->Parent) return;
  if (size ? !NonClientLayoutOf(hwnd).Sizable || (w->Style & (WS_MINIMIZE | WS_MAXIMIZE)) : (w->Style & WS_MAXIMIZE))
    return;
  RECT origin{};
  GetWindowRect(hwnd, &origin);
  const MINMAXINFO mm = size ? QueryMinMaxInfo(hwnd) : MINMAXINFO{};
  if (!LiveWindow(hwnd)) return;
  SendMessage(hwnd, WM_ENTERSIZEMOVE, 0, 0);
  WPARAM edge = 0;  // sizing: the edge the first arrow picked
  int dx = 0, dy = 0;
  auto place = [&](const RECT& r) {
    SetWindowPos(hwnd, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | (size ? 0 : SWP_NOSIZE));
  };
  for (;;) {
    MSG msg;
    if (!GetMessage(&msg, nullptr, 0, 0)) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (!LiveWindow(hwnd)) return;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      const WPARAM key = msg.wParam;
      if (key == VK_RETURN) break;
      if (key == VK_ESCAPE) {
        place(origin);
        break;
      }
      int sx = 0, sy = 0;
      switch (key) {
        case VK_LEFT: sx = -1; break;
        case VK_RIGHT: sx = 1; break;
        case VK_UP: sy = -1; break;
        case VK_DOWN: sy = 1; break;
        default: continue;
      }
      if (size && !edge) edge = sx < 0 ? WMSZ_LEFT : sx > 0 ? WMSZ_RIGHT : sy < 0 ? WMSZ_TOP : WMSZ_BOTTOM;
      dx += sx * kKeyboardMoveStep;
      dy += sy * kKeyboardMoveStep;
      RECT r = origin;
      if (size)
        r = SizedRect(origin, edge, dx, dy, mm);
      else
        OffsetRect(&r, dx, dy);
      SendMessage(hwnd, size ? WM_SIZING : WM_MOVING, size ? edge : 0, reinterpret_cast<LPARAM>(&r));
      if (!LiveWindow(hwnd)) return;
      place(r);
      continue;
    }
    if (msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN || msg.message == WM_RBUTTONDOWN ||
        msg.message == WM_NCRBUTTONDOWN)
      break;
    if (IsMouseMessage(msg.message) || (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)) continue;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  if (LiveWindow(hwnd)) SendMessage(hwnd, WM_EXITSIZEMOVE, 0, 0);
}

void TrackCaptionButton(HWND hwnd, int hit, POINT screen) {
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  const RECT button = CaptionButtonRect(l, hit);
  if (button.IsEmpty() || !CaptionButtonEnabled(l, hit)) return;
  auto setPressed = [&](bool pressed) {
    NonClientState* st = NonClientStateOf(hwnd);
    if (!st || (st->PressedButton == hit) == pressed) return;
    st->PressedButton = pressed ? hit : HTNOWHERE;
    RedrawNonClient(hwnd);
  };
  setPressed(true);
  bool clicked = false;
  POINT at = screen;
  RunMouseLoop(hwnd, screen, [&](MouseLoopEvent e, POINT p) {
    const bool inside = button.Contains(ToWindow(hwnd, p));
    if (e == MouseLoopEvent::Move) {
      setPressed(inside);
      return LiveWindow(hwnd) != nullptr;
    }
    clicked = e == MouseLoopEvent::Release && inside;
    at = p;
    return false;
  });
  if (!LiveWindow(hwnd)) return;
  setPressed(false);
  if (clicked && LiveWindow(hwnd)) SendMessage(hwnd, WM_SYSCOMMAND, ButtonCommand(hwnd, hit), MAKELPARAM(at.X, at.Y));
}
