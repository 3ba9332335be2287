// Basic value types of the drawing layer: integers with their platform names, points,
// sizes, rectangles and colour values.
#pragma once

#include <cstdint>
#include <string>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using INT = int32_t;
using BOOL = int32_t;
using COLORREF = uint32_t;

// Text is UTF-8; counts of characters are code points.
using String = std::string;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

struct POINT {
  LONG X = 0;
  LONG Y = 0;
  friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
  friend bool operator==(const SIZE&, const SIZE&) = default;
};

// A rectangle includes its left and top edges and excludes its right and bottom edges.
struct RECT {
  LONG Left = 0;
  LONG Top = 0;
  LONG Right = 0;
  LONG Bottom = 0;

  LONG Width() const { return Right - Left; }
  LONG Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(POINT p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  POINT TopLeft() const { return {Left, Top}; }
  POINT BottomRight() const { return {Right, Bottom}; }
  friend bool operator==(const RECT&, const RECT&) = default;
};

using TPoint = POINT;
using TSize = SIZE;
using TRect = RECT;

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom) { return {left, top, right, bottom}; }
inline RECT Bounds(LONG left, LONG top, LONG width, LONG height) { return {left, top, left + width, top + height}; }
inline POINT Point(LONG x, LONG y) { return {x, y}; }

BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL IsRectEmpty(const RECT* r);
BOOL PtInRect(const RECT* r, POINT p);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
// Both return FALSE and an empty result when the answer is empty.
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);

// COLORREF is 0x00BBGGRR.
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// A surface pixel is the 32-bit little-endian word of the bytes blue, green, red, alpha.
constexpr uint32_t PixelFromColorRef(COLORREF c, BYTE alpha = 255) {
  return (uint32_t(alpha) << 24) | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) |
         GetBValue(c);
}
constexpr COLORREF ColorRefFromPixel(uint32_t p) {
  return RGB(BYTE((p >> 16) & 0xFF), BYTE((p >> 8) & 0xFF), BYTE(p & 0xFF));
}

constexpr WORD LOWORD(uint64_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(uint64_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return DWORD(lo) | (DWORD(hi) << 16); }
