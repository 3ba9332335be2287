#include "DC.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_set>

#include "Fonts.h"

namespace {

std::unordered_set<const GdiDC*>& LiveDCs() {
  static std::unordered_set<const GdiDC*> set;
  return set;
}

// What "no clip region" means when a clip is combined with something: the whole device.
constexpr LONG kHuge = 1 << 26;
const RECT kWholeDevice{-kHuge, -kHuge, kHuge, kHuge};

void HoldState(const DCState& s) {
  HoldObject(s.Pen);
  HoldObject(s.Brush);
  HoldObject(s.Font);
  HoldObject(s.Bitmap);
}

void UnholdState(const DCState& s) {
  UnholdObject(s.Pen);
  UnholdObject(s.Brush);
  UnholdObject(s.Font);
  UnholdObject(s.Bitmap);
}

HDC NewDC(bool memory) {
  auto* dc = new GdiDC;
  dc->Memory = memory;
  dc->S.Pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
  dc->S.Brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  dc->S.Font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  if (memory) {
    dc->S.Bitmap = GetStockBitmap();
  }
  HoldState(dc->S);
  LiveDCs().insert(dc);
  return dc;
}

// The logical-to-device offset of a DC.
POINT DeviceShift(const GdiDC* dc) {
  return {dc->S.ViewportOrg.X - dc->S.WindowOrg.X, dc->S.ViewportOrg.Y - dc->S.WindowOrg.Y};
}

RECT LogicalRectToDevice(const GdiDC* dc, RECT r) {
  const POINT d = DeviceShift(dc);
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  return {r.Left + d.X, r.Top + d.Y, r.Right + d.X, r.Bottom + d.Y};
}

int ClipKind(GdiDC* dc) { return dc->EffectiveClip().Kind(); }


}  // namespace

Surface* GdiDC::GetSurface() const {
  if (Target) return Target;
  return S.Bitmap ? S.Bitmap->Pixels.get() : nullptr;
}

const Region& GdiDC::EffectiveClip() {
  if (!FClipValid) {
    Surface* s = GetSurface();
    FClip = s ? Region(s->Bounds()) : Region();
    if (Visible) FClip.Intersect(*Visible);
    if (S.Clip) {
      Region c = *S.Clip;
      c.Offset(DeviceOrigin.X, DeviceOrigin.Y);
      FClip.Intersect(c);
    }
    FClipValid = true;
  }
  return FClip;
}

GdiDC* LiveDC(HDC dc) { return (dc && LiveDCs().count(dc)) ? dc : nullptr; }

HDC CreateCompatibleDC(HDC) { return NewDC(true); }

HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region* visible) {
  HDC dc = NewDC(false);
  dc->Target = surface;
  SetSurfaceDCVisible(dc, origin, visible);
  return dc;
}

void SetSurfaceDCVisible(HDC h, POINT origin, const Region* visible) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return;
  dc->DeviceOrigin = origin;
  dc->Visible.reset();
  if (visible) dc->Visible = *visible;
  dc->InvalidateClip();
}

BOOL DeleteDC(HDC h) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  if (dc->S.Bitmap && dc->S.Bitmap->SelectedInto == dc) dc->S.Bitmap->SelectedInto = nullptr;
  UnholdState(dc->S);
  for (const DCState& s : dc->Saved) UnholdState(s);
  LiveDCs().erase(dc);
  delete dc;
  return TRUE;
}

HGDIOBJ SelectObject(HDC h, HGDIOBJ obj) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !IsLiveObject(obj) || obj->DeletePending) return nullptr;
  HGDIOBJ old = nullptr;
  switch (obj->Type) {
    case OBJ_PEN:
      old = dc->S.Pen;
      dc->S.Pen = static_cast<HPEN>(obj);
      break;
    case OBJ_BRUSH:
      old = dc->S.Brush;
      dc->S.Brush = static_cast<HBRUSH>(obj);
      break;
    case OBJ_FONT:
      old = dc->S.Font;
      dc->S.Font = static_cast<HFONT>(obj);
      break;
    case OBJ_BITMAP: {
      auto* bmp = static_cast<HBITMAP>(obj);
      // A bitmap lives in one memory DC at a time; window DCs take none.
      if (!dc->Memory || (bmp->SelectedInto && bmp->SelectedInto != dc)) return nullptr;
      old = dc->S.Bitmap;
      if (dc->S.Bitmap && dc->S.Bitmap->SelectedInto == dc) dc->S.Bitmap->SelectedInto = nullptr;
      dc->S.Bitmap = bmp;
      if (!bmp->Stock) bmp->SelectedInto = dc;
      dc->InvalidateClip();
      break;
    }
    case OBJ_REGION: {
      // Selecting a region sets the clip to a copy of it; the answer is the region kind.
      const int kind = SelectClipRgn(h, static_cast<HRGN>(obj));
      return reinterpret_cast<HGDIOBJ>(intptr_t(kind));
    }
    default: return nullptr;
  }
  if (old == obj) return old;
  HoldObject(obj);
  // The caller gets the old handle back; a pending delete may free it here, which is
  // what DeleteObject on a selected object asked for.
  UnholdObject(old);
  return old;
}

HGDIOBJ GetCurrentObject(HDC h, UINT type) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->S.Pen;
    case OBJ_BRUSH: return dc->S.Brush;
    case OBJ_FONT: return dc->S.Font;
    case OBJ_BITMAP: return dc->S.Bitmap;
    default: return nullptr;
  }
}

// ---- origins ----

namespace {
template <POINT DCState::*Field>
BOOL SetOrigin(HDC h, int x, int y, POINT* old) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  if (old) *old = dc->S.*Field;
  dc->S.*Field = {x, y};
  return TRUE;
}

template <POINT DCState::*Field>
BOOL GetOrigin(HDC h, POINT* p) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !p) return FALSE;
  *p = dc->S.*Field;
  return TRUE;
}

template <POINT DCState::*Field>
BOOL OffsetOrigin(HDC h, int dx, int dy, POINT* old) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  if (old) *old = dc->S.*Field;
  (dc->S.*Field).X += dx;
  (dc->S.*Field).Y += dy;
  return TRUE;
}
}  // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) { return SetOrigin<&DCState::ViewportOrg>(dc, x, y, old); }
BOOL GetViewportOrgEx(HDC dc, POINT* p) { return GetOrigin<&DCState::ViewportOrg>(dc, p); }
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old) {
  return OffsetOrigin<&DCState::ViewportOrg>(dc, dx, dy, old);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) { return SetOrigin<&DCState::WindowOrg>(dc, x, y, old); }
BOOL GetWindowOrgEx(HDC dc, POINT* p) { return GetOrigin<&DCState::WindowOrg>(dc, p); }
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old) {
  return OffsetOrigin<&DCState::WindowOrg>(dc, dx, dy, old);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old) { return SetOrigin<&DCState::BrushOrg>(dc, x, y, old); }
BOOL GetBrushOrgEx(HDC dc, POINT* p) { return GetOrigin<&DCState::BrushOrg>(dc, p); }
BOOL MoveToEx(HDC dc, int x, int y, POINT* old) { return SetOrigin<&DCState::Position>(dc, x, y, old); }
BOOL GetCurrentPositionEx(HDC dc, POINT* p) { return GetOrigin<&DCState::Position>(dc, p); }

BOOL LPtoDP(HDC h, POINT* points, int count) {
  GdiDC* dc = LiveDC(h);
  if (!dc || (!points && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) points[i] = dc->LogicalToDevice(points[i]);
  return TRUE;
}

BOOL DPtoLP(HDC h, POINT* points, int count) {
  GdiDC* dc = LiveDC(h);
  if (!dc || (!points && count > 0)) return FALSE;
  const POINT d = DeviceShift(dc);
  for (int i = 0; i < count; ++i) points[i] = {points[i].X - d.X, points[i].Y - d.Y};
  return TRUE;
}

// ---- save and restore ----

int SaveDC(HDC h) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return 0;
  dc->Saved.push_back(dc->S);
  HoldState(dc->S);
  return int(dc->Saved.size());
}

BOOL RestoreDC(HDC h, int savedDC) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return FALSE;
  const int depth = int(dc->Saved.size());
  const int level = savedDC < 0 ? depth + 1 + savedDC : savedDC;
  if (level < 1 || level > depth) return FALSE;
  // Drop the states saved after the one restored.
  while (int(dc->Saved.size()) > level) {
    UnholdState(dc->Saved.back());
    dc->Saved.pop_back();
  }
  HBITMAP oldBitmap = dc->S.Bitmap;
  DCState restored = std::move(dc->Saved.back());
  dc->Saved.pop_back();
  UnholdState(dc->S);  // the restored state keeps the holds it took when saved
  dc->S = std::move(restored);
  if (oldBitmap != dc->S.Bitmap) {
    if (IsLiveObject(oldBitmap) && oldBitmap->SelectedInto == dc) oldBitmap->SelectedInto = nullptr;
    if (dc->S.Bitmap && !dc->S.Bitmap->Stock) dc->S.Bitmap->SelectedInto = dc;
  }
  dc->InvalidateClip();
  return TRUE;
}

// ---- clipping ----

int ExtSelectClipRgn(HDC h, HRGN rgn, int mode) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return ERROR_REGION;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR_REGION;
    dc->S.Clip.reset();
    dc->InvalidateClip();
    return ClipKind(dc);
  }
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!r) return ERROR_REGION;
  Region current = dc->S.Clip ? *dc->S.Clip : Region(kWholeDevice);
  switch (mode) {
    case RGN_COPY: current = r->Rgn; break;
    case RGN_AND: current.Intersect(r->Rgn); break;
    case RGN_OR: current.Union(r->Rgn); break;
    case RGN_XOR: current.Xor(r->Rgn); break;
    case RGN_DIFF: current.Subtract(r->Rgn); break;
    default: return ERROR_REGION;
  }
  dc->S.Clip = std::move(current);
  dc->InvalidateClip();
  return ClipKind(dc);
}

int SelectClipRgn(HDC dc, HRGN rgn) { return ExtSelectClipRgn(dc, rgn, RGN_COPY); }

int IntersectClipRect(HDC h, int left, int top, int right, int bottom) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return ERROR_REGION;
  const RECT r = LogicalRectToDevice(dc, {left, top, right, bottom});
  if (dc->S.Clip)
    dc->S.Clip->Intersect(r);
  else
    dc->S.Clip = Region(r);
  dc->InvalidateClip();
  return ClipKind(dc);
}

int ExcludeClipRect(HDC h, int left, int top, int right, int bottom) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return ERROR_REGION;
  const RECT r = LogicalRectToDevice(dc, {left, top, right, bottom});
  if (!dc->S.Clip) dc->S.Clip = Region(kWholeDevice);
  dc->S.Clip->Subtract(r);
  dc->InvalidateClip();
  return ClipKind(dc);
}

int OffsetClipRgn(HDC h, int dx, int dy) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return ERROR_REGION;
  if (dc->S.Clip) {
    dc->S.Clip->Offset(dx, dy);
    dc->InvalidateClip();
  }
  return ClipKind(dc);
}

int GetClipBox(HDC h, RECT* r) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !r) return ERROR_REGION;
  const Region& clip = dc->EffectiveClip();
  RECT e = clip.Extents();
  if (!clip.IsEmpty()) {
    const POINT d = DeviceShift(dc);
    OffsetRect(&e, -dc->DeviceOrigin.X - d.X, -dc->DeviceOrigin.Y - d.Y);
  }
  *r = e;
  return clip.Kind();
}

int GetClipRgn(HDC h, HRGN rgn) {
  GdiDC* dc = LiveDC(h);
  GdiRegion* r = LiveObject<GdiRegion>(rgn, OBJ_REGION);
  if (!dc || !r) return -1;
  if (!dc->S.Clip) return 0;
  r->Rgn = *dc->S.Clip;
  return 1;
}

BOOL RectVisible(HDC h, const RECT* r) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !r) return FALSE;
  RECT n = *r;
  if (n.Left > n.Right) std::swap(n.Left, n.Right);
  if (n.Top > n.Bottom) std::swap(n.Top, n.Bottom);
  return dc->EffectiveClip().Overlaps(dc->ToSurface(n));
}

BOOL PtVisible(HDC h, int x, int y) {
  GdiDC* dc = LiveDC(h);
  return dc && dc->EffectiveClip().Contains(dc->ToSurface(POINT{x, y}));
}

// ---- modes and colours ----

namespace {
template <class T, T DCState::*Field>
T SetField(HDC h, T value, T failure) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return failure;
  T old = dc->S.*Field;
  dc->S.*Field = value;
  return old;
}

template <class T, T DCState::*Field>
T GetField(HDC h, T failure) {
  GdiDC* dc = LiveDC(h);
  return dc ? dc->S.*Field : failure;
}
}  // namespace

COLORREF SetTextColor(HDC dc, COLORREF c) {
  return SetField<COLORREF, &DCState::TextColor>(dc, c & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC dc) { return GetField<COLORREF, &DCState::TextColor>(dc, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF c) { return SetField<COLORREF, &DCState::BkColor>(dc, c & 0xFFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return GetField<COLORREF, &DCState::BkColor>(dc, CLR_INVALID); }
COLORREF SetDCPenColor(HDC dc, COLORREF c) {
  return SetField<COLORREF, &DCState::DCPenColor>(dc, c & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetDCPenColor(HDC dc) { return GetField<COLORREF, &DCState::DCPenColor>(dc, CLR_INVALID); }
COLORREF SetDCBrushColor(HDC dc, COLORREF c) {
  return SetField<COLORREF, &DCState::DCBrushColor>(dc, c & 0xFFFFFF, CLR_INVALID);
}
COLORREF GetDCBrushColor(HDC dc) { return GetField<COLORREF, &DCState::DCBrushColor>(dc, CLR_INVALID); }

int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return SetField<int, &DCState::BkMode>(dc, mode, 0);
}
int GetBkMode(HDC dc) { return GetField<int, &DCState::BkMode>(dc, 0); }
int SetROP2(HDC dc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return SetField<int, &DCState::Rop2>(dc, rop2, 0);
}
int GetROP2(HDC dc) { return GetField<int, &DCState::Rop2>(dc, 0); }
int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return SetField<int, &DCState::StretchMode>(dc, mode, 0);
}
int GetStretchBltMode(HDC dc) { return GetField<int, &DCState::StretchMode>(dc, 0); }
int SetPolyFillMode(HDC dc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return SetField<int, &DCState::PolyFillMode>(dc, mode, 0);
}
int GetPolyFillMode(HDC dc) { return GetField<int, &DCState::PolyFillMode>(dc, 0); }
UINT SetTextAlign(HDC dc, UINT align) { return SetField<UINT, &DCState::TextAlign>(dc, align, GDI_ERROR); }
UINT GetTextAlign(HDC dc) { return GetField<UINT, &DCState::TextAlign>(dc, GDI_ERROR); }

int ScreenPixelsPerInch() {
  static const int dpi = [] {
    const char* scale = std::getenv("QV_SCALE");
    const int percent = scale ? std::atoi(scale) : 100;
    return percent > 100 && percent <= 500 ? 96 * percent / 100 : 96;
  }();
  return dpi;
}

int GetDeviceCaps(HDC h, int index) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return 0;
  const Surface* s = dc->GetSurface();
  switch (index) {
    case HORZRES: return s ? s->Width() : 0;
    case VERTRES: return s ? s->Height() : 0;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0x0001 | 0x0008 | 0x0800;  // bit blits, large bitmaps, stretch blits
    case LOGPIXELSX:
    case LOGPIXELSY: return ScreenPixelsPerInch();
    default: return 0;
  }
}
