#include "win/ScrollBars.h"

#include <algorithm>

#include "gdi/DC.h"
#include "win/Input.h"
#include "win/NonClient.h"
#include "win/Paint.h"
#include "win/Queue.h"
#include "win/Timers.h"

namespace {

// Delays of the repeating arrow and page presses.
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kRepeatMs = 50;

// a * b / c rounded to nearest, without overflow for the values of scroll bars.
int MulDivRound(int64_t a, int64_t b, int64_t c) {
  if (c == 0) return 0;
  const int64_t n = a * b;
  return int(n >= 0 ? (n + c / 2) / c : (n - c / 2) / c);
}

int Along(const ScrollBarGeometry& g, POINT p) { return g.Vertical ? p.Y - g.Bar.Top : p.X - g.Bar.Left; }
int Length(const ScrollBarGeometry& g) { return g.Vertical ? g.Bar.Height() : g.Bar.Width(); }
bool HasThumb(const ScrollBarGeometry& g) { return g.ThumbEnd > g.ThumbStart; }

LRESULT ScrollBarControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

bool IsVerticalBar(HWND hwnd, int bar) {
  if (bar == SB_CTL) return (GetWindowLongPtr(hwnd, GWL_STYLE) & SBS_VERT) != 0;
  return bar == SB_VERT;
}

bool BarShown(HWND hwnd, int bar) { return !ScrollBarRect(hwnd, bar).IsEmpty(); }

bool ArrowDisabled(const ScrollBarGeometry& g, const ScrollBarState& s, ScrollBarPart part) {
  if (!g.Enabled) return true;
  if (part == sbpLineUp) return (s.Disabled & ESB_DISABLE_LTUP) != 0;
  if (part == sbpLineDown) return (s.Disabled & ESB_DISABLE_RTDN) != 0;
  return false;
}

// A solid triangle pointing along or across the bar, drawn row by row on whole pixels.
void DrawArrowGlyph(HDC dc, const RECT& r, bool vertical, bool towardsEnd, COLORREF ink) {
  const int base = std::max(3, ScaledLength(7) | 1);
  const int height = (base + 1) / 2;
  const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
  for (int i = 0; i < height; ++i) {
    const int half = towardsEnd ? height - 1 - i : i;  // half width of row i
    if (vertical) {
      const int y = cy - height / 2 + i;
      FillSolidRect(dc, {cx - half, y, cx + half + 1, y + 1}, ink);
    } else {
      const int x = cx - height / 2 + i;
      FillSolidRect(dc, {x, cy - half, x + 1, cy + half + 1}, ink);
    }
  }
}

int CodeFor(ScrollBarPart part) {
  switch (part) {
    case sbpLineUp: return SB_LINEUP;
    case sbpLineDown: return SB_LINEDOWN;
    case sbpPageUp: return SB_PAGEUP;
    case sbpPageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
  }
}

}  // namespace

// ---- geometry ----

int MaxScrollPos(const ScrollBarState& s) {
  const int64_t top = int64_t(s.Max) - std::max<int64_t>(int64_t(s.Page) - 1, 0);
  return int(std::max<int64_t>(top, s.Min));
}

ScrollBarGeometry ComputeScrollBarGeometry(const RECT& bar, bool vertical, const ScrollBarState& s, bool enabled) {
  ScrollBarGeometry g;
  g.Bar = bar;
  g.Vertical = vertical;
  g.Enabled = enabled && s.Disabled != ESB_DISABLE_BOTH;
  const int length = vertical ? bar.Height() : bar.Width();
  const int thickness = vertical ? bar.Width() : bar.Height();
  if (length <= 0 || thickness <= 0) return g;
  g.Arrow = std::min(thickness, length / 2);
  const int track = length - 2 * g.Arrow;
  const int maxPos = MaxScrollPos(s);
  if (!g.Enabled || maxPos <= s.Min) return g;
  const int64_t range = int64_t(s.Max) - s.Min + 1;
  int thumb = s.Page ? int(int64_t(track) * s.Page / range) : GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  thumb = std::max(thumb, ScaledLength(8));
  if (thumb > track) return g;  // no room for a thumb
  const int pos = std::clamp(s.Tracking ? s.TrackPos : s.Pos, s.Min, maxPos);
  g.ThumbStart = g.Arrow + MulDivRound(track - thumb, int64_t(pos) - s.Min, int64_t(maxPos) - s.Min);
  g.ThumbEnd = g.ThumbStart + thumb;
  return g;
}

ScrollBarPart ScrollBarPartAt(const ScrollBarGeometry& g, POINT p) {
  if (!g.Bar.Contains(p)) return sbpNone;
  const int at = Along(g, p), length = Length(g);
  if (at < g.Arrow) return sbpLineUp;
  if (at >= length - g.Arrow) return sbpLineDown;
  if (!HasThumb(g)) return sbpNone;
  if (at < g.ThumbStart) return sbpPageUp;
  if (at < g.ThumbEnd) return sbpThumb;
  return sbpPageDown;
}

RECT ScrollBarPartRect(const ScrollBarGeometry& g, ScrollBarPart part) {
  const int length = Length(g);
  int from = 0, to = 0;
  switch (part) {
    case sbpLineUp: to = g.Arrow; break;
    case sbpLineDown: from = length - g.Arrow, to = length; break;
    case sbpPageUp:
      if (HasThumb(g)) from = g.Arrow, to = g.ThumbStart;
      break;
    case sbpThumb: from = g.ThumbStart, to = g.ThumbEnd; break;
    case sbpPageDown:
      if (HasThumb(g)) from = g.ThumbEnd, to = length - g.Arrow;
      break;
    default: break;
  }
  if (to <= from) return {};
  return g.Vertical ? RECT{g.Bar.Left, g.Bar.Top + from, g.Bar.Right, g.Bar.Top + to}
                    : RECT{g.Bar.Left + from, g.Bar.Top, g.Bar.Left + to, g.Bar.Bottom};
}

int ScrollPosFromThumb(const ScrollBarGeometry& g, const ScrollBarState& s, int thumbStart) {
  const int track = Length(g) - 2 * g.Arrow;
  const int free = track - (g.ThumbEnd - g.ThumbStart);
  if (!HasThumb(g) || free <= 0) return s.Min;
  const int offset = std::clamp(thumbStart - g.Arrow, 0, free);
  return s.Min + MulDivRound(offset, int64_t(MaxScrollPos(s)) - s.Min, free);
}

bool IsScrollBarControl(HWND hwnd) {
  // Marked on creation, so that a class built on the control's procedure is one too.
  const WindowObject* w = LiveWindow(hwnd);
  return w && (w->ScrollBarControl || w->Class->Info.lpfnWndProc == ScrollBarControlProc);
}

bool EnsureSystemClass(const String& className) {
  String lower = className;
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (lower != "scrollbar") return false;
  WNDCLASS wc;
  if (GetClassInfo(nullptr, kScrollBarClass, &wc)) return true;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = ScrollBarControlProc;
  wc.lpszClassName = kScrollBarClass;
  return RegisterClass(&wc) != 0;
}

ScrollBarState* ScrollBarStateOf(HWND hwnd, int bar) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return nullptr;
  if (bar == SB_VERT) return &w->VScroll;
  if (bar == SB_HORZ) return &w->HScroll;
  if (bar == SB_CTL && IsScrollBarControl(hwnd)) return &w->Control;
  return nullptr;
}

RECT ScrollBarRect(HWND hwnd, int bar) {
  if (bar == SB_CTL) {
    // The control's whole client area, in window coordinates.
    const WindowObject* w = LiveWindow(hwnd);
    return w && IsScrollBarControl(hwnd) && IsWindowVisible(hwnd) ? w->Client : RECT{};
  }
  if (bar != SB_VERT && bar != SB_HORZ) return {};
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  return bar == SB_VERT ? l.VScroll : l.HScroll;
}

ScrollBarGeometry ScrollBarGeometryOf(HWND hwnd, int bar) {
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s) return {};
  return ComputeScrollBarGeometry(ScrollBarRect(hwnd, bar), IsVerticalBar(hwnd, bar), *s, IsWindowEnabled(hwnd) != 0);
}

ScrollBarPart ScrollBarHitTest(HWND hwnd, int bar, POINT windowPoint) {
  return ScrollBarPartAt(ScrollBarGeometryOf(hwnd, bar), windowPoint);
}

// ---- drawing ----

void PaintScrollBar(HDC dc, const ScrollBarGeometry& g, const ScrollBarState& s, ScrollBarPart hot) {
  if (g.Bar.IsEmpty()) return;
  FillSolidRect(dc, g.Bar, ncstyle::kScrollTrack);
  for (ScrollBarPart part : {sbpLineUp, sbpLineDown}) {
    const RECT r = ScrollBarPartRect(g, part);
    const bool disabled = ArrowDisabled(g, s, part);
    const bool pressed = !disabled && s.PressedPart == part, isHot = !disabled && hot == part;
    COLORREF ink = ncstyle::kScrollArrow;
    if (disabled) {
      ink = ncstyle::kScrollArrowDisabled;
    } else if (pressed) {
      FillSolidRect(dc, r, ncstyle::kScrollArrowPressed);
      ink = RGB(0xFF, 0xFF, 0xFF);
    } else if (isHot) {
      FillSolidRect(dc, r, ncstyle::kScrollArrowHot);
      ink = RGB(0x00, 0x00, 0x00);
    }
    DrawArrowGlyph(dc, r, g.Vertical, part == sbpLineDown, ink);
  }
  if (HasThumb(g)) {
    RECT thumb = ScrollBarPartRect(g, sbpThumb);
    // The thumb keeps a pixel of track on both of its long sides.
    if (g.Vertical)
      thumb.Left += 1, thumb.Right -= 1;
    else
      thumb.Top += 1, thumb.Bottom -= 1;
    const bool pressed = s.Tracking || s.PressedPart == sbpThumb;
    FillSolidRect(dc, thumb,
                  pressed ? ncstyle::kScrollThumbPressed
                          : hot == sbpThumb ? ncstyle::kScrollThumbHot : ncstyle::kScrollThumb);
  }
}

std::function<bool(HWND, HDC, int, const RECT&, const ScrollBarPaintInfo&)> ScrollBarPainterHook;

namespace {

// One frame scroll bar: the painter's look when it takes it, else the plain one.
void PaintFrameScrollBar(HWND hwnd, HDC dc, int bar, const ScrollBarGeometry& g) {
  const ScrollBarState& s = *ScrollBarStateOf(hwnd, bar);
  const NonClientState* st = NonClientStateOf(hwnd);
  const ScrollBarPart hot = st->HotBar == bar ? st->HotPart : sbpNone;
  if (ScrollBarPainterHook) {
    ScrollBarPaintInfo info;
    info.Geometry = g;
    info.LineUp = ScrollBarPartRect(g, sbpLineUp);
    info.LineDown = ScrollBarPartRect(g, sbpLineDown);
    if (HasThumb(g)) {
      info.PageUp = ScrollBarPartRect(g, sbpPageUp);
      info.Thumb = ScrollBarPartRect(g, sbpThumb);
      info.PageDown = ScrollBarPartRect(g, sbpPageDown);
    } else {
      // Without a thumb the track between the arrows is one page part.
      info.PageUp = {g.Vertical ? g.Bar.Left : info.LineUp.Right, g.Vertical ? info.LineUp.Bottom : g.Bar.Top,
                     g.Vertical ? g.Bar.Right : info.LineDown.Left, g.Vertical ? info.LineDown.Top : g.Bar.Bottom};
    }
    info.LineUpDisabled = ArrowDisabled(g, s, sbpLineUp);
    info.LineDownDisabled = ArrowDisabled(g, s, sbpLineDown);
    info.Hot = hot;
    info.Pressed = s.Tracking ? sbpThumb : ScrollBarPart(s.PressedPart);
    if (ScrollBarPainterHook(hwnd, dc, bar, g.Bar, info)) return;
    if (!LiveWindow(hwnd)) return;
  }
  PaintScrollBar(dc, g, s, hot);
}

}  // namespace

void DrawScrollBars(HWND hwnd, HDC dc) {
  if (!LiveWindow(hwnd) || !LiveDC(dc)) return;
  for (int bar : {SB_VERT, SB_HORZ}) {
    const ScrollBarGeometry g = ScrollBarGeometryOf(hwnd, bar);
    if (g.Bar.IsEmpty()) continue;
    PaintFrameScrollBar(hwnd, dc, bar, g);
    if (!LiveWindow(hwnd)) return;
  }
  const RECT grip = NonClientLayoutOf(hwnd).SizeGrip;
  if (grip.IsEmpty()) return;
  if (ScrollBarPainterHook && ScrollBarPainterHook(hwnd, dc, SB_BOTH, grip, ScrollBarPaintInfo{})) return;
  if (LiveWindow(hwnd)) FillSolidRect(dc, grip, ncstyle::kScrollTrack);
}

void RedrawScrollBar(HWND hwnd, int bar) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !IsWindowVisible(hwnd) || w->RedrawOff) return;
  const ScrollBarGeometry g = ScrollBarGeometryOf(hwnd, bar);
  if (g.Bar.IsEmpty()) return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc) return;
  PaintFrameScrollBar(hwnd, dc, bar, g);
  ReleaseDC(hwnd, dc);
}

// ---- the scroll bar calls ----

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* si, BOOL redraw) {
  ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s || !si) return 0;
  const UINT mask = si->fMask;
  if (mask & SIF_RANGE) {
    s->Min = si->nMin;
    s->Max = std::max(si->nMax, si->nMin);
  }
  if (mask & SIF_PAGE) s->Page = si->nPage;
  if (mask & SIF_POS) s->Pos = si->nPos;
  s->Page = UINT(std::min<int64_t>(s->Page, int64_t(s->Max) - s->Min + 1));
  s->Pos = std::clamp(s->Pos, s->Min, MaxScrollPos(*s));

  if ((mask & (SIF_RANGE | SIF_PAGE)) && bar == SB_CTL) {
    // A control never hides itself: with nothing to scroll it only greys, when asked to.
    const bool needed = MaxScrollPos(*s) > s->Min;
    if (mask & SIF_DISABLENOSCROLL) {
      if (!needed) s->Disabled = ESB_DISABLE_BOTH;
      else if (s->Disabled == ESB_DISABLE_BOTH) s->Disabled = ESB_ENABLE_BOTH;
    }
  } else if (mask & (SIF_RANGE | SIF_PAGE)) {
    // A bar with nothing to scroll goes away, or only greys with SIF_DISABLENOSCROLL;
    // one that has something to scroll comes (back).
    const bool needed = MaxScrollPos(*s) > s->Min;
    if (!needed && (mask & SIF_DISABLENOSCROLL)) {
      s->Disabled = ESB_DISABLE_BOTH;
    } else {
      if (needed && (mask & SIF_DISABLENOSCROLL) && s->Disabled == ESB_DISABLE_BOTH) s->Disabled = ESB_ENABLE_BOTH;
      if (needed != BarShown(hwnd, bar)) {
        ShowScrollBar(hwnd, bar, needed);
        s = ScrollBarStateOf(hwnd, bar);
        if (!s) return 0;
      }
    }
  }
  if (redraw) RedrawScrollBar(hwnd, bar);
  return s->Pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* si) {
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s || !si || !(si->fMask & SIF_ALL)) return FALSE;
  if (si->fMask & SIF_RANGE) {
    si->nMin = s->Min;
    si->nMax = s->Max;
  }
  if (si->fMask & SIF_PAGE) si->nPage = s->Page;
  if (si->fMask & SIF_POS) si->nPos = s->Pos;
  if (si->fMask & SIF_TRACKPOS) si->nTrackPos = s->Tracking ? s->TrackPos : s->Pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s) return 0;
  const int old = s->Pos;
  SCROLLINFO si;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old;
}

int GetScrollPos(HWND hwnd, int bar) {
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  return s ? s->Pos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (!ScrollBarStateOf(hwnd, bar) || int64_t(maxPos) - minPos > INT32_MAX) return FALSE;
  SCROLLINFO si;
  si.fMask = SIF_RANGE;
  si.nMin = minPos;
  si.nMax = maxPos;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s || !minPos || !maxPos) return FALSE;
  *minPos = s->Min;
  *maxPos = s->Max;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (bar == SB_CTL) {
    if (!IsScrollBarControl(hwnd)) return FALSE;
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  WindowObject* w = LiveWindow(hwnd);
  if (!w || (bar != SB_VERT && bar != SB_HORZ && bar != SB_BOTH)) return FALSE;
  DWORD bits = 0;
  if (bar == SB_VERT || bar == SB_BOTH) bits |= WS_VSCROLL, w->VScroll.Hidden = false;
  if (bar == SB_HORZ || bar == SB_BOTH) bits |= WS_HSCROLL, w->HScroll.Hidden = false;
  const DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
  if (style == w->Style) return TRUE;
  w->Style = style;
  // The client area grows or shrinks by the bar, and the frame repaints.
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (bar == SB_BOTH) {
    const BOOL v = EnableScrollBar(hwnd, SB_VERT, arrows);
    const BOOL h = EnableScrollBar(hwnd, SB_HORZ, arrows);
    return v || h;
  }
  ScrollBarState* s = ScrollBarStateOf(hwnd, int(bar));
  if (!s) return FALSE;
  arrows &= ESB_DISABLE_BOTH;
  if (s->Disabled == arrows) return FALSE;
  s->Disabled = arrows;
  if (bar == SB_CTL) {
    // The control paints its client area: its disabled look comes with WM_PAINT.
    InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
  }
  RedrawScrollBar(hwnd, int(bar));
  return TRUE;
}

BOOL GetScrollBarInfo(HWND hwnd, LONG idObject, SCROLLBARINFO* info) {
  const int bar = idObject == OBJID_VSCROLL ? SB_VERT
                  : idObject == OBJID_HSCROLL ? SB_HORZ
                  : idObject == OBJID_CLIENT ? SB_CTL
                                             : -1;
  const ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s || !info) return FALSE;
  const ScrollBarGeometry g = ScrollBarGeometryOf(hwnd, bar);
  *info = SCROLLBARINFO{};
  std::fill(std::begin(info->rgstate), std::end(info->rgstate), 0);
  if (g.Bar.IsEmpty()) {
    info->rgstate[0] = STATE_SYSTEM_INVISIBLE;
    return TRUE;
  }
  RECT screen{};
  GetWindowRect(hwnd, &screen);
  info->rcScrollBar = g.Bar;
  OffsetRect(&info->rcScrollBar, screen.Left, screen.Top);
  info->dxyLineButton = g.Arrow;
  info->xyThumbTop = g.ThumbStart;
  info->xyThumbBottom = g.ThumbEnd;
  if (!g.Enabled) info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
  if (ArrowDisabled(g, *s, sbpLineUp)) info->rgstate[sbpLineUp] |= STATE_SYSTEM_UNAVAILABLE;
  if (ArrowDisabled(g, *s, sbpLineDown)) info->rgstate[sbpLineDown] |= STATE_SYSTEM_UNAVAILABLE;
  if (!HasThumb(g))
    for (ScrollBarPart part : {sbpPageUp, sbpThumb, sbpPageDown}) info->rgstate[part] |= STATE_SYSTEM_INVISIBLE;
  if (s->PressedPart != sbpNone) info->rgstate[s->PressedPart] |= STATE_SYSTEM_PRESSED;
  return TRUE;
}

// ---- tracking ----

void TrackScrollBar(HWND hwnd, int bar, POINT screenPoint) {
  ScrollBarState* s = ScrollBarStateOf(hwnd, bar);
  if (!s) return;
  RECT windowRect{};
  GetWindowRect(hwnd, &windowRect);
  auto toWindow = [&](POINT p) { return POINT{p.X - windowRect.Left, p.Y - windowRect.Top}; };
  ScrollBarGeometry g = ScrollBarGeometryOf(hwnd, bar);
  const ScrollBarPart part = ScrollBarPartAt(g, toWindow(screenPoint));
  if (part == sbpNone || !g.Enabled || ArrowDisabled(g, *s, part)) return;

  // A frame bar tells its own window; a control tells its parent, naming itself.
  const bool control = bar == SB_CTL;
  const HWND target = control ? GetParent(hwnd) : hwnd;
  const UINT msg = g.Vertical ? WM_VSCROLL : WM_HSCROLL;
  auto send = [&](int code, int pos) {
    if (target) SendMessage(target, msg, MAKEWPARAM(code, pos), control ? reinterpret_cast<LPARAM>(hwnd) : 0);
    s = ScrollBarStateOf(hwnd, bar);
    return s != nullptr;
  };
  auto setPressed = [&](bool pressed) {
    const int want = pressed ? part : sbpNone;
    if (s->PressedPart == want) return;
    s->PressedPart = want;
    RedrawScrollBar(hwnd, bar);
  };

  const bool thumb = part == sbpThumb;
  const int grab = Along(g, toWindow(screenPoint)) - g.ThumbStart;
  if (thumb) {
    s->Tracking = true;
    s->TrackPos = s->Pos;
  }
  setPressed(true);
  if (!thumb) {
    if (!send(CodeFor(part), 0)) return;
    SetTimer(hwnd, kMouseLoopTimer, kFirstRepeatMs, nullptr);
  }
  bool repeating = false;
  RunMouseLoop(hwnd, screenPoint, [&](MouseLoopEvent e, POINT p) {
    if (!(s = ScrollBarStateOf(hwnd, bar))) return false;
    const ScrollBarGeometry now = ScrollBarGeometryOf(hwnd, bar);
    if (e == MouseLoopEvent::Move && thumb) {
      const int pos = ScrollPosFromThumb(now, *s, Along(now, toWindow(p)) - grab);
      if (pos == s->TrackPos) return true;
      s->TrackPos = pos;
      RedrawScrollBar(hwnd, bar);
      return send(SB_THUMBTRACK, pos);
    }
    if (e == MouseLoopEvent::Move) {
      setPressed(ScrollBarPartAt(now, toWindow(p)) == part);
      return true;
    }
    if (e == MouseLoopEvent::Timer) {
      if (!repeating) {
        repeating = true;
        SetTimer(hwnd, kMouseLoopTimer, kRepeatMs, nullptr);
      }
      // Page presses stop once the thumb has come under the pointer.
      if (ScrollBarPartAt(now, toWindow(p)) == part) return send(CodeFor(part), 0);
      return true;
    }
    return false;
  });
  if (!LiveWindow(hwnd)) return;
  if (!thumb) KillTimer(hwnd, kMouseLoopTimer);
  if (!(s = ScrollBarStateOf(hwnd, bar))) return;
  // An Escape or a lost capture ends a thumb drag where it stands, as a release does.
  if (thumb && !send(SB_THUMBPOSITION, s->TrackPos)) return;
  s->Tracking = false;
  setPressed(false);
  RedrawScrollBar(hwnd, bar);
  send(SB_ENDSCROLL, 0);
}

// ---- the scroll bar control ----

namespace {

// The bar's code for a key, or -1 for a key the control leaves alone.
int KeyScrollCode(WPARAM key) {
  switch (key) {
    case VK_UP:
    case VK_LEFT: return SB_LINEUP;
    case VK_DOWN:
    case VK_RIGHT: return SB_LINEDOWN;
    case VK_PRIOR: return SB_PAGEUP;
    case VK_NEXT: return SB_PAGEDOWN;
    case VK_HOME: return SB_TOP;
    case VK_END: return SB_BOTTOM;
    default: return -1;
  }
}

void SetControlHot(HWND hwnd, ScrollBarPart part) {
  NonClientState* st = NonClientStateOf(hwnd);
  if (!st) return;
  const int bar = part == sbpNone ? -1 : SB_CTL;
  if (st->HotBar == bar && st->HotPart == part) return;
  st->HotBar = bar;
  st->HotPart = part;
  InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT ScrollBarControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
    case WM_CREATE:
      if (WindowObject* w = LiveWindow(hwnd)) w->ScrollBarControl = true;
      break;
    case WM_ERASEBKGND: return 1;  // the bar covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (ScrollBarState* s = ScrollBarStateOf(hwnd, SB_CTL)) {
        RECT client{};
        GetClientRect(hwnd, &client);
        const ScrollBarGeometry g =
            ComputeScrollBarGeometry(client, IsVerticalBar(hwnd, SB_CTL), *s, IsWindowEnabled(hwnd) != 0);
        PaintFrameScrollBar(hwnd, dc, SB_CTL, g);
      }
      if (LiveWindow(hwnd)) EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SIZE:
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); break;
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_MOUSEMOVE: {
      const ScrollBarState* s = ScrollBarStateOf(hwnd, SB_CTL);
      if (!s || s->Tracking) return 0;
      TRACKMOUSEEVENT tme{};
      tme.dwFlags = TME_LEAVE;
      tme.hwndTrack = hwnd;
      TrackMouseEvent(&tme);
      const POINT p{int16_t(LOWORD(uint64_t(lParam))), int16_t(HIWORD(uint64_t(lParam)))};
      SetControlHot(hwnd, ScrollBarPartAt(ScrollBarGeometryOf(hwnd, SB_CTL), p));
      return 0;
    }
    case WM_MOUSELEAVE: SetControlHot(hwnd, sbpNone); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(hwnd)) return 0;
      if (GetWindowLongPtr(hwnd, GWL_STYLE) & WS_TABSTOP) {
        SetFocus(hwnd);
        if (!LiveWindow(hwnd)) return 0;
      }
      POINT p{int16_t(LOWORD(uint64_t(lParam))), int16_t(HIWORD(uint64_t(lParam)))};
      ClientToScreen(hwnd, &p);
      SetControlHot(hwnd, sbpNone);
      TrackScrollBar(hwnd, SB_CTL, p);
      return 0;
    }
    case WM_KEYDOWN: {
      const int code = KeyScrollCode(wParam);
      const ScrollBarGeometry g = ScrollBarGeometryOf(hwnd, SB_CTL);
      if (code < 0 || !g.Enabled) break;
      const HWND parent = GetParent(hwnd);
      if (!parent) return 0;
      const UINT scroll = g.Vertical ? WM_VSCROLL : WM_HSCROLL;
      SendMessage(parent, scroll, MAKEWPARAM(code, 0), reinterpret_cast<LPARAM>(hwnd));
      if (LiveWindow(hwnd) && LiveWindow(parent))
        SendMessage(parent, scroll, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    default: break;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace
