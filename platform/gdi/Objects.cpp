#include "Objects.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

#include "DC.h"
#include "Fonts.h"
#include "Region.h"

namespace {

std::unordered_set<const GdiObject*>& LiveSet() {
  static std::unordered_set<const GdiObject*> set;
  return set;
}

void Destroy(GdiObject* obj) {
  LiveSet().erase(obj);
  delete obj;
}

template <class T>
T* MakeStock(T* obj) {
  obj->Stock = true;
  RegisterObject(obj);
  return obj;
}

HPEN StockPen(COLORREF color, int style) {
  auto* p = new GdiPen;
  p->Color = color;
  p->Style = UINT(style);
  return MakeStock(p);
}

HBRUSH StockBrush(COLORREF color, UINT style) {
  auto* b = new GdiBrush;
  b->Color = color;
  b->Style = style;
  return MakeStock(b);
}

HFONT StockFont(const char* face, int height, bool fixed) {
  auto* f = new GdiFont;
  f->Log.lfHeight = height;
  f->Log.lfFaceName = face;
  f->Log.lfPitchAndFamily = fixed ? (FIXED_PITCH | FF_MODERN) : (VARIABLE_PITCH | FF_SWISS);
  return MakeStock(f);
}

struct StockTable {
  std::array<HGDIOBJ, 20> Objects{};
  HBITMAP Bitmap = nullptr;
  StockTable() {
    Objects[WHITE_BRUSH] = StockBrush(0xFFFFFF, BS_SOLID);
    Objects[LTGRAY_BRUSH] = StockBrush(0xC0C0C0, BS_SOLID);
    Objects[GRAY_BRUSH] = StockBrush(0x808080, BS_SOLID);
    Objects[DKGRAY_BRUSH] = StockBrush(0x404040, BS_SOLID);
    Objects[BLACK_BRUSH] = StockBrush(0x000000, BS_SOLID);
    Objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
    Objects[WHITE_PEN] = StockPen(0xFFFFFF, PS_SOLID);
    Objects[BLACK_PEN] = StockPen(0x000000, PS_SOLID);
    Objects[NULL_PEN] = StockPen(0, PS_NULL);
    Objects[OEM_FIXED_FONT] = StockFont("Courier New", 12, true);
    Objects[ANSI_FIXED_FONT] = StockFont("Courier New", 13, true);
    Objects[ANSI_VAR_FONT] = StockFont("MS Sans Serif", 13, false);
    Objects[SYSTEM_FONT] = StockFont("Tahoma", 16, false);
    Objects[DEVICE_DEFAULT_FONT] = StockFont("Tahoma", 16, false);
    Objects[SYSTEM_FIXED_FONT] = StockFont("Courier New", 16, true);
    Objects[DEFAULT_GUI_FONT] = StockFont("Tahoma", -11, false);
    auto* dcBrush = StockBrush(0xFFFFFF, BS_SOLID);
    dcBrush->DCBrush = true;
    Objects[DC_BRUSH] = dcBrush;
    auto* dcPen = StockPen(0, PS_SOLID);
    dcPen->DCPen = true;
    Objects[DC_PEN] = dcPen;
    auto* bmp = new GdiBitmap;
    bmp->Pixels = std::make_unique<Surface>(1, 1, false, false);
    bmp->BitsPixel = 1;
    Bitmap = MakeStock(bmp);
  }
};

StockTable& Stock() {
  static StockTable table;
  return table;
}

HBITMAP NewBitmap(int width, int height, bool bottomUp, bool hasAlpha, int bitsPixel) {
  if (width < 0 || height < 0 || int64_t(width) * int64_t(height) > (int64_t(1) << 28)) return nullptr;
  auto* b = new GdiBitmap;
  b->Pixels = std::make_unique<Surface>(width, height, bottomUp, hasAlpha);
  b->BitsPixel = bitsPixel;
  RegisterObject(b);
  return b;
}

}  // namespace

bool IsLiveObject(const GdiObject* obj) { return obj && LiveSet().count(obj) != 0; }
void RegisterObject(GdiObject* obj) { LiveSet().insert(obj); }
size_t LiveObjectCount() { return LiveSet().size(); }

void HoldObject(GdiObject* obj) {
  if (obj) ++obj->Holders;
}

void UnholdObject(GdiObject* obj) {
  if (!obj) return;
  --obj->Holders;
  if (obj->Holders <= 0 && obj->DeletePending) Destroy(obj);
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= int(Stock().Objects.size())) return nullptr;
  return Stock().Objects[size_t(index)];
}

HBITMAP GetStockBitmap() { return Stock().Bitmap; }

HPEN CreatePen(int style, int width, COLORREF color) {
  if ((style & PS_STYLE_MASK) > PS_ALTERNATE) return nullptr;
  auto* p = new GdiPen;
  p->Style = UINT(style);
  p->Width = width < 0 ? 0 : width;
  p->Color = color & 0xFFFFFF;
  // Wide cosmetic pens are geometric with round ends, as CreatePen makes them.
  if (p->Width > 1) p->Style |= PS_GEOMETRIC;
  RegisterObject(p);
  return p;
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  return lp ? CreatePen(int(lp->lopnStyle), lp->lopnWidth.X, lp->lopnColor) : nullptr;
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
  (void)styles;
  if (!brush || styleCount != 0) return nullptr;  // user-defined dash patterns are not offered
  const bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
  if (!geometric && width != 1) return nullptr;  // cosmetic pens are one pixel wide
  auto* p = new GdiPen;
  p->Style = style;
  p->Width = int(width);
  p->Color = brush->lbStyle == BS_NULL ? 0 : brush->lbColor & 0xFFFFFF;
  if (brush->lbStyle == BS_NULL) p->Style = (p->Style & ~UINT(PS_STYLE_MASK)) | PS_NULL;
  p->Extended = true;
  RegisterObject(p);
  return p;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  auto* b = new GdiBrush;
  b->Color = color & 0xFFFFFF;
  RegisterObject(b);
  return b;
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  auto* b = new GdiBrush;
  b->Style = BS_HATCHED;
  b->Hatch = hatch;
  b->Color = color & 0xFFFFFF;
  RegisterObject(b);
  return b;
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(lb->lbColor);
    case BS_HATCHED: return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_NULL: {
      auto* b = new GdiBrush;
      b->Style = BS_NULL;
      RegisterObject(b);
      return b;
    }
    default: return nullptr;
  }
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD offset) {
  (void)dc;
  (void)offset;
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section != nullptr) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  // Every surface here is 32 bits per pixel; other depths are not offered as DIBs.
  if (h.biBitCount != 32 || (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS)) return nullptr;
  if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN) return nullptr;
  const bool bottomUp = h.biHeight > 0;
  HBITMAP b = NewBitmap(h.biWidth, bottomUp ? h.biHeight : -h.biHeight, bottomUp, true, 32);
  if (!b) return nullptr;
  b->DibSection = true;
  if (bits) *bits = b->Pixels->Bits();
  return b;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
  (void)dc;
  // Screen-compatible bitmaps have no alpha: they start black and copy as opaque.
  HBITMAP b = NewBitmap(width, height, false, false, 32);
  if (b) b->Pixels->Fill(0xFF000000u);
  return b;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32)) return nullptr;
  HBITMAP b = NewBitmap(width, height, false, bitsPerPixel == 32, int(bitsPerPixel));
  if (!b) return nullptr;
  Surface& s = *b->Pixels;
  const auto* src = static_cast<const uint8_t*>(bits);
  if (bitsPerPixel != 32) s.Fill(0xFF000000u);
  if (!src) return b;
  const size_t rowBytes = ((size_t(width) * bitsPerPixel + 15) / 16) * 2;  // WORD-aligned rows
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = src + rowBytes * size_t(y);
    uint32_t* out = s.Row(y);
    for (int x = 0; x < width; ++x) {
      if (bitsPerPixel == 32) {
        std::memcpy(&out[x], row + size_t(x) * 4, 4);
      } else if (bitsPerPixel == 24) {
        const uint8_t* p = row + size_t(x) * 3;
        out[x] = 0xFF000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
      } else {
        const bool set = (row[x / 8] >> (7 - x % 8)) & 1;
        out[x] = set ? 0xFFFFFFFFu : 0xFF000000u;
      }
    }
  }
  return b;
}

BOOL DeleteObject(HGDIOBJ obj) {
  if (!IsLiveObject(obj) || obj->DeletePending) return FALSE;
  if (obj->Stock) return TRUE;  // stock objects live for the whole process
  if (obj->Type == OBJ_BRUSH && static_cast<GdiBrush*>(obj)->System) return TRUE;
  if (obj->Holders > 0) {
    // Still selected somewhere: freed when the last DC state lets go of it.
    obj->DeletePending = true;
    return TRUE;
  }
  Destroy(obj);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
  if (!IsLiveObject(obj)) return 0;
  if (obj->Type == OBJ_PEN && static_cast<GdiPen*>(obj)->Extended) return OBJ_EXTPEN;
  return DWORD(obj->Type);
}

int GetObject(HGDIOBJ obj, int size, void* out) {
  if (!IsLiveObject(obj)) return 0;
  switch (obj->Type) {
    case OBJ_PEN: {
      auto* p = static_cast<GdiPen*>(obj);
      if (p->Extended) {
        if (!out) return int(sizeof(EXTLOGPEN));
        if (size < int(sizeof(EXTLOGPEN))) return 0;
        EXTLOGPEN e;
        e.elpPenStyle = p->Style;
        e.elpWidth = DWORD(p->Width);
        e.elpColor = p->Color;
        e.elpBrushStyle = p->LineStyle() == PS_NULL ? BS_NULL : BS_SOLID;
        *static_cast<EXTLOGPEN*>(out) = e;
        return int(sizeof(EXTLOGPEN));
      }
      if (!out) return int(sizeof(LOGPEN));
      if (size < int(sizeof(LOGPEN))) return 0;
      LOGPEN lp;
      lp.lopnStyle = p->Style & ~UINT(PS_TYPE_MASK);
      lp.lopnWidth = {p->Width, 0};
      lp.lopnColor = p->Color;
      *static_cast<LOGPEN*>(out) = lp;
      return int(sizeof(LOGPEN));
    }
    case OBJ_BRUSH: {
      if (!out) return int(sizeof(LOGBRUSH));
      if (size < int(sizeof(LOGBRUSH))) return 0;
      auto* b = static_cast<GdiBrush*>(obj);
      LOGBRUSH lb;
      lb.lbStyle = b->Style;
      lb.lbColor = b->Color;
      lb.lbHatch = uintptr_t(b->Hatch);
      *static_cast<LOGBRUSH*>(out) = lb;
      return int(sizeof(LOGBRUSH));
    }
    case OBJ_FONT: {
      if (!out) return int(sizeof(LOGFONT));
      if (size < int(sizeof(LOGFONT))) return 0;
      *static_cast<LOGFONT*>(out) = static_cast<GdiFont*>(obj)->Log;
      return int(sizeof(LOGFONT));
    }
    case OBJ_BITMAP: {
      auto* b = static_cast<GdiBitmap*>(obj);
      const Surface& s = *b->Pixels;
      BITMAP bm;
      bm.bmWidth = s.Width();
      bm.bmHeight = s.Height();
      // A monochrome bitmap answers in its own layout: a bit a pixel, rows padded to 16 bits.
      bm.bmWidthBytes = b->BitsPixel == 1 ? LONG(((s.Width() + 15) / 16) * 2) : LONG(s.Stride());
      bm.bmBitsPixel = WORD(b->BitsPixel == 1 ? 1 : 32);
      bm.bmBits = b->DibSection ? b->Pixels->Bits() : nullptr;
      if (!out) return int(sizeof(BITMAP));
      if (b->DibSection && size >= int(sizeof(DIBSECTION))) {
        DIBSECTION ds;
        ds.dsBm = bm;
        ds.dsBmih.biWidth = s.Width();
        ds.dsBmih.biHeight = s.BottomUp() ? s.Height() : -s.Height();
        ds.dsBmih.biSizeImage = DWORD(s.ByteSize());
        *static_cast<DIBSECTION*>(out) = ds;
        return int(sizeof(DIBSECTION));
      }
      if (size < int(sizeof(BITMAP))) return 0;
      *static_cast<BITMAP*>(out) = bm;
      return int(sizeof(BITMAP));
    }
    default: return 0;
  }
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits) {
  GdiBitmap* b = LiveObject<GdiBitmap>(bitmap, OBJ_BITMAP);
  if (!b || !bits || size <= 0) return 0;
  const Surface& s = *b->Pixels;
  const bool mono = b->BitsPixel == 1;
  const size_t rowBytes = mono ? size_t((s.Width() + 15) / 16) * 2 : size_t(s.Width()) * 4;
  auto* out = static_cast<uint8_t*>(bits);
  const size_t total = std::min(rowBytes * size_t(s.Height()), size_t(size));
  std::memset(out, 0, total);
  for (int y = 0; y < s.Height() && rowBytes * size_t(y) < total; ++y) {
    uint8_t* row = out + rowBytes * size_t(y);
    const size_t room = std::min(rowBytes, total - rowBytes * size_t(y));
    const uint32_t* in = s.Row(y);
    if (!mono) {
      std::memcpy(row, in, room);
      continue;
    }
    for (int x = 0; x < s.Width() && size_t(x / 8) < room; ++x)
      if ((in[x] & 0x00FFFFFFu) == 0x00FFFFFFu) row[x / 8] |= uint8_t(0x80u >> (x % 8));
  }
  return LONG(total);
}
