// Device contexts: a surface to draw on, origins, clipping, selected objects and modes.
#pragma once

#include <optional>
#include <vector>

#include "Objects.h"
#include "Region.h"

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// GetDeviceCaps indexes.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;

// Everything SaveDC keeps.
struct DCState {
  POINT ViewportOrg{};
  POINT WindowOrg{};
  std::optional<Region> Clip;  // device coordinates; none means unclipped
  HPEN Pen = nullptr;
  HBRUSH Brush = nullptr;
  HFONT Font = nullptr;
  HBITMAP Bitmap = nullptr;  // memory DCs only
  COLORREF TextColor = 0x000000;
  COLORREF BkColor = 0xFFFFFF;
  int BkMode = OPAQUE;
  int Rop2 = R2_COPYPEN;
  int StretchMode = BLACKONWHITE;
  int PolyFillMode = ALTERNATE;
  UINT TextAlign = TA_LEFT | TA_TOP;
  COLORREF DCPenColor = 0x000000;
  COLORREF DCBrushColor = 0xFFFFFF;
  POINT Position{};
  POINT BrushOrg{};
};

struct GdiDC {
  DCState S;
  std::vector<DCState> Saved;
  bool Memory = true;
  // Where device (0, 0) lies on the surface, and what of the surface the owner lets this
  // DC touch (surface coordinates; none means all of it). Window DCs set both.
  POINT DeviceOrigin{};
  std::optional<Region> Visible;
  Surface* Target = nullptr;  // a window's surface; memory DCs draw on their bitmap

  Surface* GetSurface() const;
  // Visible ∩ clip ∩ the surface, in surface coordinates; rebuilt when any of them changes.
  const Region& EffectiveClip();
  void InvalidateClip() { FClipValid = false; }

  POINT ToSurface(POINT logical) const {
    return {logical.X - S.WindowOrg.X + S.ViewportOrg.X + DeviceOrigin.X,
            logical.Y - S.WindowOrg.Y + S.ViewportOrg.Y + DeviceOrigin.Y};
  }
  RECT ToSurface(const RECT& r) const {
    const POINT a = ToSurface(r.TopLeft());
    return {a.X, a.Y, a.X + r.Width(), a.Y + r.Height()};
  }
  // Logical to device coordinates (what clip regions are kept in).
  POINT LogicalToDevice(POINT p) const {
    return {p.X - S.WindowOrg.X + S.ViewportOrg.X, p.Y - S.WindowOrg.Y + S.ViewportOrg.Y};
  }

 private:
  Region FClip;
  bool FClipValid = false;
};

// The live DC behind a handle, or null.
GdiDC* LiveDC(HDC dc);

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
// A DC drawing on a surface owned elsewhere (a window's), with device (0, 0) at origin on
// the surface and drawing limited to visible (surface coordinates) when given.
HDC CreateSurfaceDC(Surface* surface, POINT origin, const Region* visible);
void SetSurfaceDCVisible(HDC dc, POINT origin, const Region* visible);

BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC dc, POINT* p);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC dc, POINT* p);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, POINT* old);
BOOL LPtoDP(HDC dc, POINT* points, int count);
BOOL DPtoLP(HDC dc, POINT* points, int count);

// Returns the new depth (1 for the first save), or 0 on failure.
int SaveDC(HDC dc);
// A negative level is relative to the current depth (-1: the last save).
BOOL RestoreDC(HDC dc, int savedDC);

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
// The region is in device coordinates; null removes the clip region.
int SelectClipRgn(HDC dc, HRGN rgn);
int ExtSelectClipRgn(HDC dc, HRGN rgn, int mode);
// Logical coordinates of the smallest rectangle around what can be drawn.
int GetClipBox(HDC dc, RECT* r);
// 1 and the clip region (device coordinates) when there is one, 0 when none, -1 on error.
int GetClipRgn(HDC dc, HRGN rgn);
BOOL RectVisible(HDC dc, const RECT* r);
BOOL PtVisible(HDC dc, int x, int y);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int rop2);
int GetROP2(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
COLORREF SetDCPenColor(HDC dc, COLORREF color);
COLORREF GetDCPenColor(HDC dc);
COLORREF SetDCBrushColor(HDC dc, COLORREF color);
COLORREF GetDCBrushColor(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
BOOL SetBrushOrgEx(HDC dc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC dc, POINT* p);
BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
BOOL GetCurrentPositionEx(HDC dc, POINT* p);
int GetDeviceCaps(HDC dc, int index);

// Pixels per inch of the screen: 96, or more when QV_SCALE (percent) asks for it.
int ScreenPixelsPerInch();
