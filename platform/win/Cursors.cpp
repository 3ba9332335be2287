#include "win/Cursors.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "backend/Backend.h"
#include "gdi/DC.h"
#include "gdi/Draw.h"

struct CursorObject {
  intptr_t Id = 0;  // IDC_* of a standard cursor, 0 for a made one
  int HotX = 0, HotY = 0;
  int Width = 0, Height = 0;
  // Monochrome planes, a bit a pixel, rows padded to 16 bits.
  std::vector<uint8_t> And, Xor;
};

namespace {

constexpr int kSize = 32;

int RowBytes(int width) { return ((width + 15) / 16) * 2; }

struct Shape {
  intptr_t Id;
  POINT Hot;
  // Closed outlines on a 32 x 32 grid, filled white with a black edge.
  std::vector<std::vector<POINT>> Outlines;
};

// Our own simple shapes: what matters to the program is the hot spot and how far the
// visible shape reaches (hints go below it).
const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = [] {
    const std::vector<POINT> arrow{{0, 0}, {0, 16}, {4, 12}, {7, 18}, {9, 17}, {6, 11}, {11, 11}};
    const std::vector<POINT> ns{{16, 4}, {21, 9}, {18, 9}, {18, 23}, {21, 23}, {16, 28}, {11, 23}, {14, 23}, {14, 9}, {11, 9}};
    const auto turn = [](const std::vector<POINT>& p) {  // 90 degrees about (16, 16)
      std::vector<POINT> r;
      for (POINT q : p) r.push_back({32 - q.Y, q.X});
      return r;
    };
    const auto diagonal = [](const std::vector<POINT>& p, bool nwse) {  // 45 degrees, roughly
      std::vector<POINT> r;
      for (POINT q : p) {
        const int dx = q.X - 16, dy = q.Y - 16;
        const int x = nwse ? (dx - dy) * 7 / 10 : (dx + dy) * 7 / 10;
        const int y = nwse ? (dx + dy) * 7 / 10 : (dy - dx) * 7 / 10;
        r.push_back({16 + x, 16 + y});
      }
      return r;
    };
    return std::vector<Shape>{
        {IDC_ARROW, {0, 0}, {arrow}},
        {IDC_APPSTARTING, {0, 0}, {arrow, {{12, 14}, {20, 14}, {16, 20}}}},
        {IDC_HELP, {0, 0}, {arrow, {{13, 8}, {19, 8}, {19, 13}, {17, 13}, {17, 15}, {15, 15}, {15, 11}, {13, 11}}}},
        {IDC_IBEAM, {16, 16}, {{{12, 7}, {20, 7}, {20, 9}, {17, 9}, {17, 23}, {20, 23}, {20, 25}, {12, 25}, {12, 23}, {15, 23}, {15, 9}, {12, 9}}}},
        {IDC_WAIT, {16, 16}, {{{9, 5}, {23, 5}, {16, 16}}, {{16, 16}, {23, 27}, {9, 27}}}},
        {IDC_CROSS, {16, 16}, {{{15, 5}, {17, 5}, {17, 15}, {27, 15}, {27, 17}, {17, 17}, {17, 27}, {15, 27}, {15, 17}, {5, 17}, {5, 15}, {15, 15}}}},
        {IDC_UPARROW, {16, 2}, {{{16, 2}, {24, 12}, {19, 12}, {19, 26}, {13, 26}, {13, 12}, {8, 12}}}},
        {IDC_SIZENS, {16, 16}, {ns}},
        {IDC_SIZEWE, {16, 16}, {turn(ns)}},
        {IDC_SIZENWSE, {16, 16}, {diagonal(ns, true)}},
        {IDC_SIZENESW, {16, 16}, {diagonal(ns, false)}},
        {IDC_SIZEALL, {16, 16}, {ns, turn(ns)}},
        {IDC_NO, {16, 16}, {{{16, 5}, {24, 8}, {27, 16}, {24, 24}, {16, 27}, {8, 24}, {5, 16}, {8, 8}}}},
        {IDC_HAND, {9, 1}, {{{8, 1}, {11, 1}, {11, 10}, {19, 11}, {21, 13}, {21, 21}, {18, 26}, {10, 26}, {5, 19}, {4, 15}, {6, 14}, {8, 16}}}},
    };
  }();
  return shapes;
}

// Draws the outlines and turns the pixels into the two planes: outside transparent (AND 1),
// the edge black and the inside white.
std::unique_ptr<CursorObject> Rasterise(const Shape& shape) {
  auto cursor = std::make_unique<CursorObject>();
  cursor->Id = shape.Id;
  cursor->HotX = shape.Hot.X;
  cursor->HotY = shape.Hot.Y;
  cursor->Width = cursor->Height = kSize;
  BITMAPINFO info{};
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bmp);
  RECT all{0, 0, kSize, kSize};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  DeleteObject(red);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
  for (const auto& outline : shape.Outlines) Polygon(dc, outline.data(), int(outline.size()));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  const int row = RowBytes(kSize);
  cursor->And.assign(size_t(row * kSize), 0);
  cursor->Xor.assign(size_t(row * kSize), 0);
  const auto* px = static_cast<const uint32_t*>(bits);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const uint32_t c = px[y * kSize + x] & 0x00FFFFFFu;
      const uint8_t bit = uint8_t(0x80u >> (x % 8));
      const size_t at = size_t(y * row + x / 8);
      if (c == 0x00FF0000u)
        cursor->And[at] |= bit;
      else if (c == 0x00FFFFFFu)
        cursor->Xor[at] |= bit;
    }
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  DeleteObject(bmp);
  return cursor;
}

struct CursorState {
  std::vector<std::unique_ptr<CursorObject>> Standard;
  std::vector<std::unique_ptr<CursorObject>> Made;
  HCURSOR Current = nullptr;
};

CursorState& State() {
  static CursorState state;
  return state;
}

CursorObject* Live(HCURSOR cursor) {
  if (!cursor) return nullptr;
  for (const auto& c : State().Standard)
    if (c.get() == cursor) return c.get();
  for (const auto& c : State().Made)
    if (c.get() == cursor) return c.get();
  return nullptr;
}

// Backends show the standard shapes; a made cursor shows as the arrow.
CursorShape BackendShape(const CursorObject* cursor) {
  if (!cursor) return CursorShape::Hidden;
  switch (cursor->Id) {
    case IDC_IBEAM: return CursorShape::IBeam;
    case IDC_WAIT: return CursorShape::Wait;
    case IDC_CROSS: return CursorShape::Cross;
    case IDC_UPARROW: return CursorShape::UpArrow;
    case IDC_SIZENWSE: return CursorShape::SizeNWSE;
    case IDC_SIZENESW: return CursorShape::SizeNESW;
    case IDC_SIZEWE: return CursorShape::SizeWE;
    case IDC_SIZENS: return CursorShape::SizeNS;
    case IDC_SIZEALL: return CursorShape::SizeAll;
    case IDC_NO: return CursorShape::No;
    case IDC_HAND: return CursorShape::Hand;
    case IDC_APPSTARTING: return CursorShape::AppStarting;
    case IDC_HELP: return CursorShape::Help;
    default: return CursorShape::Arrow;
  }
}

}  // namespace

HCURSOR LoadCursor(HINSTANCE instance, intptr_t id) {
  if (instance) return nullptr;  // no cursor resources in a program of ours
  CursorState& s = State();
  for (const auto& c : s.Standard)
    if (c->Id == id) return c.get();
  for (const Shape& shape : Shapes())
    if (shape.Id == id) {
      s.Standard.push_back(Rasterise(shape));
      return s.Standard.back().get();
    }
  return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  CursorState& s = State();
  if (cursor && !Live(cursor)) return s.Current;
  HCURSOR old = s.Current;
  if (cursor != old) {
    s.Current = cursor;
    CurrentBackend().SetNativeCursor(BackendShape(cursor));
  }
  return old;
}

HCURSOR GetCursor() { return State().Current; }

intptr_t CursorId(HCURSOR cursor) {
  const CursorObject* c = Live(cursor);
  return c ? c->Id : 0;
}

HCURSOR CreateCursor(HINSTANCE, int xHotSpot, int yHotSpot, int width, int height, const void* andPlane,
                     const void* xorPlane) {
  if (width <= 0 || height <= 0 || width > 256 || height > 256 || !andPlane || !xorPlane) return nullptr;
  if (xHotSpot < 0 || yHotSpot < 0 || xHotSpot >= width || yHotSpot >= height) return nullptr;
  auto cursor = std::make_unique<CursorObject>();
  cursor->HotX = xHotSpot;
  cursor->HotY = yHotSpot;
  cursor->Width = width;
  cursor->Height = height;
  const size_t bytes = size_t(RowBytes(width)) * size_t(height);
  const auto* a = static_cast<const uint8_t*>(andPlane);
  const auto* x = static_cast<const uint8_t*>(xorPlane);
  cursor->And.assign(a, a + bytes);
  cursor->Xor.assign(x, x + bytes);
  State().Made.push_back(std::move(cursor));
  return State().Made.back().get();
}

BOOL DestroyCursor(HCURSOR cursor) {
  CursorState& s = State();
  if (!cursor || cursor == s.Current) return FALSE;
  auto it = std::find_if(s.Made.begin(), s.Made.end(), [&](const auto& c) { return c.get() == cursor; });
  if (it == s.Made.end()) return Live(cursor) ? TRUE : FALSE;  // standard cursors are shared
  s.Made.erase(it);
  return TRUE;
}

BOOL GetIconInfo(HCURSOR cursor, ICONINFO* info) {
  const CursorObject* c = Live(cursor);
  if (!c || !info) return FALSE;
  // The AND plane above the XOR plane, as a monochrome cursor's mask is.
  std::vector<uint8_t> planes(c->And);
  planes.insert(planes.end(), c->Xor.begin(), c->Xor.end());
  HBITMAP mask = CreateBitmap(c->Width, c->Height * 2, 1, 1, planes.data());
  if (!mask) return FALSE;
  info->fIcon = FALSE;
  info->xHotspot = DWORD(c->HotX);
  info->yHotspot = DWORD(c->HotY);
  info->hbmMask = mask;
  info->hbmColor = nullptr;
  return TRUE;
}

void ResetCursors() {
  State().Current = nullptr;
  State().Made.clear();
}
