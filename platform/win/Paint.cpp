#include "win/Paint.h"

#include <algorithm>
#include <map>

#include "gdi/Blit.h"
#include "gdi/DC.h"
#include "win/Queue.h"

namespace {

// DCs handed out by GetDC, GetWindowDC and BeginPaint: which window they belong to and
// what of the surface they may have touched.
struct WindowDC {
  HWND Window;
  Region Area;  // surface coordinates of the top-level window
};

std::map<HDC, WindowDC>& WindowDCs() {
  static std::map<HDC, WindowDC> dcs;
  return dcs;
}

HWND& LockedWindow() {
  static HWND locked = nullptr;
  return locked;
}

Surface& ScreenSurface() {
  static Surface screen(std::max<LONG>(CurrentBackend().ScreenBounds().Width(), 1),
                        std::max<LONG>(CurrentBackend().ScreenBounds().Height(), 1), false, false);
  return screen;
}

Region WindowShapeInTopLevel(HWND w) {
  const RECT r = WindowRectInTopLevel(w);
  if (!w->Shape) return Region(r);
  Region s = *w->Shape;
  s.Offset(r.Left, r.Top);
  s.Intersect(r);
  return s;
}

bool Drawable(HWND hwnd) {
  for (WindowObject* w = LiveWindow(hwnd); w; w = w->Parent)
    if (w->RedrawOff) return false;
  HWND locked = LockedWindow();
  return !(locked && (locked == hwnd || IsChild(locked, hwnd)));
}

Region ToRegion(HRGN rgn) {
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  return r ? r->Rgn : Region();
}

// Adds to (or removes from) a window's update region, client coordinates.
void Invalidate(HWND hwnd, const Region& client, bool erase, bool frame, bool allChildren, bool noChildren) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !(w->Style & WS_VISIBLE)) return;
  Region area = client;
  area.Intersect(RECT{0, 0, w->Client.Width(), w->Client.Height()});
  if (!area.IsEmpty()) {
    w->Update.Union(area);
    w->EraseDue |= erase;
  }
  w->FrameDue |= frame;
  // Children are repainted with their parent when asked, or when the parent does not
  // clip them out (its painting covers theirs).
  const bool children = !noChildren && (allChildren || !(w->Style & WS_CLIPCHILDREN));
  if (!children) return;
  for (HWND c : w->Children) {
    if (!(c->Style & WS_VISIBLE)) continue;
    Region part = area;
    part.Intersect(c->Window);
    if (part.IsEmpty() && !frame) continue;
    if (part.IsEmpty()) continue;
    part.Offset(-c->Window.Left - c->Client.Left, -c->Window.Top - c->Client.Top);
    // The child's frame lies in the parent's area too.
    Invalidate(c, part, erase, frame || true, allChildren, false);
  }
}

void Validate(HWND hwnd, const Region* client, bool noErase, bool noFrame, bool children) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return;
  if (client)
    w->Update.Subtract(*client);
  else
    w->Update = Region();
  if (w->Update.IsEmpty()) w->EraseDue = false;
  if (noErase) w->EraseDue = false;
  if (noFrame || !client) w->FrameDue = false;
  if (!client) w->InternalPaint = false;
  if (!children) return;
  for (HWND c : w->Children) {
    Region part;
    if (client) {
      part = *client;
      part.Offset(-c->Window.Left - c->Client.Left, -c->Window.Top - c->Client.Top);
    }
    Validate(c, client ? &part : nullptr, noErase, noFrame, true);
  }
}

bool NeedsPaint(const WindowObject* w) { return !w->Update.IsEmpty() || w->FrameDue || w->InternalPaint; }

HWND FindToPaint(const std::vector<HWND>& list) {
  for (HWND w : list) {
    if (!(w->Style & WS_VISIBLE) || w->Painting || w->RedrawOff) continue;
    if (NeedsPaint(w)) return w;
    if (HWND c = FindToPaint(w->Children)) return c;
  }
  return nullptr;
}

HDC MakeWindowDC(HWND hwnd, bool client, const Region* limit) {
  WindowObject* w = LiveWindow(hwnd);
  HWND top = TopLevelOf(hwnd);
  if (!w || !top || !top->Pixels) return nullptr;
  Region visible = Drawable(hwnd) && IsWindowVisible(hwnd) ? VisibleRegion(hwnd, client) : Region();
  if (limit) visible.Intersect(*limit);
  const RECT r = client ? ClientRectInTopLevel(hwnd) : WindowRectInTopLevel(hwnd);
  HDC dc = CreateSurfaceDC(top->Pixels.get(), {r.Left, r.Top}, &visible);
  WindowDCs()[dc] = {hwnd, visible};
  return dc;
}

}  // namespace

Region VisibleRegion(HWND hwnd, bool client) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return {};
  Region vis = WindowShapeInTopLevel(w);
  if (client) vis.Intersect(ClientRectInTopLevel(w));
  // Children drawn over the window's client area are cut out when it clips them.
  if (w->Style & WS_CLIPCHILDREN)
    for (HWND c : w->Children)
      if (c->Style & WS_VISIBLE) vis.Subtract(WindowShapeInTopLevel(c));
  // Every ancestor limits it to its client area, and higher siblings that clip cover it.
  for (WindowObject* a = w; a->Parent; a = a->Parent) {
    WindowObject* p = a->Parent;
    if (a->Style & WS_CLIPSIBLINGS) {
      for (HWND s : p->Children) {
        if (s == a) break;
        if (s->Style & WS_VISIBLE) vis.Subtract(WindowShapeInTopLevel(s));
      }
    }
    vis.Intersect(ClientRectInTopLevel(p));
    if (p->Shape) vis.Intersect(WindowShapeInTopLevel(p));
  }
  return vis;
}

BOOL InvalidateRect(HWND hwnd, const RECT* r, BOOL erase) {
  if (!hwnd) {
    for (HWND t : TopLevelWindows()) InvalidateRect(t, r, erase);
    return TRUE;
  }
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  const Region area(r ? *r : RECT{0, 0, w->Client.Width(), w->Client.Height()});
  Invalidate(hwnd, area, erase, false, false, false);
  return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  if (!rgn) return InvalidateRect(hwnd, nullptr, erase);
  Invalidate(hwnd, ToRegion(rgn), erase, false, false, false);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* r) {
  if (!LiveWindow(hwnd)) return FALSE;
  if (!r) {
    Validate(hwnd, nullptr, false, false, false);
    return TRUE;
  }
  const Region area(*r);
  Validate(hwnd, &area, false, false, false);
  return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN rgn) {
  if (!LiveWindow(hwnd)) return FALSE;
  if (!rgn) return ValidateRect(hwnd, nullptr);
  const Region area = ToRegion(rgn);
  Validate(hwnd, &area, false, false, false);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* r, HRGN rgn, UINT flags) {
  if (!hwnd) {
    for (HWND t : std::vector<HWND>(TopLevelWindows())) RedrawWindow(t, r, rgn, flags);
    return TRUE;
  }
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  std::optional<Region> area;
  if (rgn)
    area = ToRegion(rgn);
  else if (r)
    area = Region(*r);
  if (flags & RDW_INVALIDATE) {
    Invalidate(hwnd, area ? *area : Region(RECT{0, 0, w->Client.Width(), w->Client.Height()}),
               (flags & RDW_ERASE) != 0, (flags & RDW_FRAME) != 0, (flags & RDW_ALLCHILDREN) != 0,
               (flags & RDW_NOCHILDREN) != 0);
  } else if (flags & RDW_VALIDATE) {
    Validate(hwnd, area ? &*area : nullptr, (flags & RDW_NOERASE) != 0, (flags & RDW_NOFRAME) != 0,
             (flags & RDW_ALLCHILDREN) != 0);
  }
  if (flags & RDW_INTERNALPAINT) w->InternalPaint = true;
  if (flags & RDW_NOINTERNALPAINT) w->InternalPaint = false;
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    if (flags & RDW_ALLCHILDREN)
      PaintPending(hwnd);
    else
      UpdateWindow(hwnd);
  }
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  if (IsWindowVisible(hwnd) && !w->RedrawOff && !w->Painting && NeedsPaint(w)) {
    SendMessage(hwnd, WM_PAINT, 0, 0);
    if (LiveWindow(hwnd) && !w->Update.IsEmpty() && !w->Painting) {
      // A procedure that does not validate would be asked forever: settle it here.
      Validate(hwnd, nullptr, true, true, false);
    }
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* r, BOOL) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return FALSE;
  if (r) *r = w->Update.Extents();
  return !w->Update.IsEmpty();
}

int GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL) {
  WindowObject* w = LiveWindow(hwnd);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!w || !r) return ERROR_REGION;
  r->Rgn = w->Update;
  return r->Rgn.Kind();
}

BOOL LockWindowUpdate(HWND hwnd) {
  HWND& locked = LockedWindow();
  if (hwnd) {
    if (locked || !LiveWindow(hwnd)) return FALSE;
    locked = hwnd;
    return TRUE;
  }
  HWND was = locked;
  locked = nullptr;
  if (LiveWindow(was)) RedrawWindow(was, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w || !ps) return nullptr;
  if (w->FrameDue) {
    w->FrameDue = false;
    SendMessage(hwnd, WM_NCPAINT, 1, 0);
    if (!LiveWindow(hwnd)) return nullptr;
  }
  Region area = w->Update;
  const bool erase = w->EraseDue;
  w->Update = Region();
  w->EraseDue = false;
  w->InternalPaint = false;
  w->Painting = true;
  const RECT client = ClientRectInTopLevel(hwnd);
  area.Offset(client.Left, client.Top);
  HDC dc = MakeWindowDC(hwnd, true, &area);
  ps->hdc = dc;
  ps->rcPaint = w->Update.Extents();
  RECT box = area.Extents();
  OffsetRect(&box, -client.Left, -client.Top);
  ps->rcPaint = area.IsEmpty() ? RECT{} : box;
  ps->fErase = FALSE;
  if (erase && dc) ps->fErase = SendMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  if (WindowObject* w = LiveWindow(hwnd)) w->Painting = false;
  if (ps && ps->hdc) ReleaseDC(hwnd, ps->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) return CreateSurfaceDC(&ScreenSurface(), {0, 0}, nullptr);
  return MakeWindowDC(hwnd, true, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  return MakeWindowDC(hwnd, false, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags) {
  if (!hwnd) return GetDC(nullptr);
  WindowObject* w = LiveWindow(hwnd);
  HWND top = TopLevelOf(hwnd);
  if (!w || !top) return nullptr;
  std::optional<Region> limit;
  if (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) {
    // The region comes in screen coordinates; the surface is the top-level window's.
    Region r = clip ? ToRegion(clip) : Region();
    RECT topRect;
    GetWindowRect(top, &topRect);
    r.Offset(-topRect.Left, -topRect.Top);
    if (flags & DCX_INTERSECTRGN) {
      limit = r;
    } else {
      Region all(top->Pixels ? top->Pixels->Bounds() : RECT{});
      all.Subtract(r);
      limit = all;
    }
  }
  return MakeWindowDC(hwnd, !(flags & DCX_WINDOW), limit ? &*limit : nullptr);
}

int ReleaseDC(HWND, HDC dc) {
  auto it = WindowDCs().find(dc);
  if (it == WindowDCs().end()) {
    // The screen DC and unknown DCs: deleting a live screen DC is all there is to do.
    return LiveDC(dc) && !dc->Memory ? DeleteDC(dc) : 0;
  }
  if (HWND top = TopLevelOf(it->second.Window)) MarkDirty(top, it->second.Area);
  WindowDCs().erase(it);
  DeleteDC(dc);
  return 1;
}

HWND WindowFromDC(HDC dc) {
  auto it = WindowDCs().find(dc);
  return it == WindowDCs().end() ? nullptr : LiveWindow(it->second.Window);
}

BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip) {
  return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr, SW_INVALIDATE | SW_ERASE |
                                                                           (scroll ? 0 : SW_SCROLLCHILDREN)) !=
         ERROR_REGION;
}

int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags) {
  WindowObject* w = LiveWindow(hwnd);
  if (!w) return ERROR_REGION;
  const RECT clientBox{0, 0, w->Client.Width(), w->Client.Height()};
  RECT area = scroll ? *scroll : clientBox;
  IntersectRect(&area, &area, &clientBox);
  RECT limit = clip ? *clip : clientBox;
  IntersectRect(&limit, &limit, &clientBox);
  // Pixels move within the visible part of the area; what they leave is to repaint.
  Region moved(area);
  moved.Offset(dx, dy);
  moved.Intersect(limit);
  moved.Intersect(area);
  Region exposed(area);
  exposed.Intersect(limit);
  exposed.Subtract(moved);
  if (IsWindowVisible(hwnd) && Drawable(hwnd)) {
    HDC dc = GetDC(hwnd);
    if (dc) {
      HRGN keep = CreateRectRgn(0, 0, 0, 0);
      static_cast<GdiRegion*>(keep)->Rgn = moved;
      SelectClipRgn(dc, keep);
      DeleteObject(keep);
      BitBlt(dc, area.Left + dx, area.Top + dy, area.Width(), area.Height(), dc, area.Left, area.Top, SRCCOPY);
      ReleaseDC(hwnd, dc);
    }
    // Parts of the source that were not visible (covered, off the surface) have no
    // pixels to move: they are repainted where they land.
    Region hidden(area);
    const RECT c = ClientRectInTopLevel(hwnd);
    Region vis = VisibleRegion(hwnd, true);
    vis.Offset(-c.Left, -c.Top);
    hidden.Subtract(vis);
    hidden.Offset(dx, dy);
    hidden.Intersect(moved);
    exposed.Union(hidden);
  } else {
    exposed = Region(area);
  }
  // What was already waiting to be painted moves with the pixels.
  Region pending = w->Update;
  pending.Intersect(area);
  if (!pending.IsEmpty()) {
    w->Update.Subtract(pending);
    pending.Offset(dx, dy);
    pending.Intersect(limit);
    w->Update.Union(pending);
  }
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : std::vector<HWND>(w->Children)) {
      if (!LiveWindow(c)) continue;
      RECT hit;
      if (scroll && !IntersectRect(&hit, &c->Window, &area)) continue;
      // The blit above skipped the children's places (the DC clips them out), so each
      // child repaints where it lands and the parent where it was.
      SetWindowPos(c, nullptr, c->Window.Left + dx, c->Window.Top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (GdiRegion* u = LiveObject<GdiRegion>(update, OBJ_REGION)) u->Rgn = exposed;
  if (updateRect) *updateRect = exposed.Extents();
  if (flags & (SW_INVALIDATE | SW_ERASE)) Invalidate(hwnd, exposed, (flags & SW_ERASE) != 0, false, true, false);
  return exposed.Kind();
}

HWND NextWindowToPaint(HWND within) {
  if (!within) return FindToPaint(TopLevelWindows());
  WindowObject* w = LiveWindow(within);
  if (!w || !IsWindowVisible(within) || !Drawable(within)) return nullptr;
  if (NeedsPaint(w) && !w->Painting) return within;
  return FindToPaint(w->Children);
}

void PaintPending(HWND within) {
  // Each window is painted at most once per call, so that one which never validates
  // cannot hold the loop.
  std::vector<HWND> done;
  while (HWND next = NextWindowToPaint(within)) {
    if (std::find(done.begin(), done.end(), next) != done.end()) {
      Validate(next, nullptr, true, true, false);
      continue;
    }
    done.push_back(next);
    UpdateWindow(next);
  }
}

void MarkDirty(HWND topLevel, const Region& surfaceArea) {
  WindowObject* t = LiveWindow(topLevel);
  if (!t || !t->Pixels) return;
  t->Dirty.Union(surfaceArea);
  t->Dirty.Intersect(t->Pixels->Bounds());
}

void PresentChanges() {
  for (HWND t : TopLevelWindows()) {
    if (!t->Native || !t->Pixels || t->Dirty.IsEmpty()) continue;
    if (!(t->Style & WS_VISIBLE) || (t->Style & WS_MINIMIZE)) continue;
    CurrentBackend().Present(t->Native, *t->Pixels, t->Dirty);
    t->Dirty = Region();
  }
}
