// Drawing objects and their handles: pens, brushes, fonts, bitmaps, regions, stock
// objects, and the calls that select, query and delete them.
#pragma once

#include <memory>

#include "Surface.h"
#include "Types.h"

// Object types (GetObjectType).
constexpr int OBJ_PEN = 1;
constexpr int OBJ_BRUSH = 2;
constexpr int OBJ_DC = 3;
constexpr int OBJ_FONT = 6;
constexpr int OBJ_BITMAP = 7;
constexpr int OBJ_REGION = 8;
constexpr int OBJ_MEMDC = 10;
constexpr int OBJ_EXTPEN = 11;

// Region kinds.
constexpr int ERROR_REGION = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = ERROR_REGION;

// A handle is the address of a live object; every call checks it against the live set,
// so a stale or foreign handle is refused instead of followed.
struct GdiObject {
  explicit GdiObject(int type) : Type(type) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  const int Type;
  bool Stock = false;
  // Number of DC states (current and saved) that hold the object, and whether
  // DeleteObject asked for it while held: it is freed when the last holder lets go.
  int Holders = 0;
  bool DeletePending = false;
};

struct GdiPen;
struct GdiBrush;
struct GdiFont;
struct GdiBitmap;
struct GdiRegion;
struct GdiDC;

using HGDIOBJ = GdiObject*;
using HPEN = GdiPen*;
using HBRUSH = GdiBrush*;
using HFONT = GdiFont*;
using HBITMAP = GdiBitmap*;
using HRGN = GdiRegion*;
using HDC = GdiDC*;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;
constexpr int PS_ALTERNATE = 8;
constexpr int PS_STYLE_MASK = 0x0000000F;
constexpr int PS_ENDCAP_ROUND = 0x00000000;
constexpr int PS_ENDCAP_SQUARE = 0x00000100;
constexpr int PS_ENDCAP_FLAT = 0x00000200;
constexpr int PS_ENDCAP_MASK = 0x00000F00;
constexpr int PS_JOIN_ROUND = 0x00000000;
constexpr int PS_JOIN_BEVEL = 0x00001000;
constexpr int PS_JOIN_MITER = 0x00002000;
constexpr int PS_JOIN_MASK = 0x0000F000;
constexpr int PS_COSMETIC = 0x00000000;
constexpr int PS_GEOMETRIC = 0x00010000;
constexpr int PS_TYPE_MASK = 0x000F0000;

// Brush styles.
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;

constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth{};
  COLORREF lopnColor = 0;
};

struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  uintptr_t lbHatch = 0;
};

struct EXTLOGPEN {
  DWORD elpPenStyle = 0;
  DWORD elpWidth = 0;
  UINT elpBrushStyle = BS_SOLID;
  COLORREF elpColor = 0;
  uintptr_t elpHatch = 0;
  DWORD elpNumEntries = 0;
};

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 32;
  void* bmBits = nullptr;
};

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;

struct BITMAPINFOHEADER {
  DWORD biSize = sizeof(BITMAPINFOHEADER);
  LONG biWidth = 0;
  LONG biHeight = 0;
  WORD biPlanes = 1;
  WORD biBitCount = 32;
  DWORD biCompression = BI_RGB;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};

struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
};

struct GdiPen : GdiObject {
  GdiPen() : GdiObject(OBJ_PEN) {}
  UINT Style = PS_SOLID;  // the whole style word, type, cap and join included
  int Width = 1;
  COLORREF Color = 0;
  bool Extended = false;  // made by ExtCreatePen
  bool DCPen = false;     // the stock DC_PEN: its colour is the DC's pen colour

  int LineStyle() const { return int(Style & PS_STYLE_MASK); }
};

struct GdiBrush : GdiObject {
  GdiBrush() : GdiObject(OBJ_BRUSH) {}
  UINT Style = BS_SOLID;
  COLORREF Color = 0;
  int Hatch = 0;
  bool DCBrush = false;  // the stock DC_BRUSH
  // A system colour brush (GetSysColorBrush) is owned by the system and never deleted.
  bool System = false;
};

struct GdiBitmap : GdiObject {
  GdiBitmap() : GdiObject(OBJ_BITMAP) {}
  std::unique_ptr<Surface> Pixels;
  int BitsPixel = 32;       // as created: 1, 24 or 32; always stored as 32
  bool DibSection = false;  // made by CreateDIBSection: Bits are the caller's pixels
  HDC SelectedInto = nullptr;
};

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

HGDIOBJ GetStockObject(int index);
// The 1 x 1 bitmap every new memory DC starts with.
HBITMAP GetStockBitmap();

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);

// 32-bit DIB: a negative height is top-down, a positive one bottom-up. *bits receives the
// pixel memory, shared with every DC that selects the bitmap.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// Monochrome and 24-bit bitmaps are kept as 32-bit pixels; initial bits, when given, are
// read in the layout of the requested depth (rows padded to 16 bits as GDI does).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);

// Copies up to size bytes of the bitmap's rows in its own layout (a monochrome bitmap:
// a bit a pixel, white 1, rows padded to 16 bits; otherwise 32-bit pixels); answers the
// bytes copied.
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ obj);
BOOL DeleteObject(HGDIOBJ obj);
int GetObject(HGDIOBJ obj, int size, void* out);
DWORD GetObjectType(HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// Handle checks shared by the drawing layer: the object when the handle is live and of
// the type asked for, else null.
bool IsLiveObject(const GdiObject* obj);
template <class T>
T* LiveObject(GdiObject* obj, int type) {
  return (obj != nullptr && IsLiveObject(obj) && obj->Type == type) ? static_cast<T*>(obj) : nullptr;
}
void RegisterObject(GdiObject* obj);
// Holders: a DC state that keeps a handle calls Hold, and Unhold when it lets go.
void HoldObject(GdiObject* obj);
void UnholdObject(GdiObject* obj);
// Live objects of the process, for leak checks in tests.
size_t LiveObjectCount();
