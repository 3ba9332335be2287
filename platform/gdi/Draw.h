// Lines, shapes, fills and single pixels with GDI's pixel rules: rectangles exclude their
// right and bottom edges, LineTo excludes its end point, thin lines are not antialiased.
#pragma once

#include "DC.h"

// PatBlt / BitBlt raster operations.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

int FillRect(HDC dc, const RECT* r, HBRUSH brush);
int FrameRect(HDC dc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* r);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// Dotted 1-pixel frame drawn with XOR: drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC dc, const RECT* r);

BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL PolyPolyline(HDC dc, const POINT* points, const DWORD* counts, DWORD polylines);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip region or the surface.
COLORREF GetPixel(HDC dc, int x, int y);

BOOL FillRgn(HDC dc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC dc, HRGN rgn, HBRUSH brush, int width, int height);
BOOL PaintRgn(HDC dc, HRGN rgn);
BOOL InvertRgn(HDC dc, HRGN rgn);

// GradientFill with rectangles.
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;

// Colours are 16-bit per channel; the high byte is what is drawn.
struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  uint16_t Red = 0;
  uint16_t Green = 0;
  uint16_t Blue = 0;
  uint16_t Alpha = 0;
};

struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};

BOOL GradientFill(HDC dc, const TRIVERTEX* vertices, ULONG vertexCount, const void* mesh, ULONG meshCount,
                  ULONG mode);
