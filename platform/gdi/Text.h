// Text output and measuring in the selected font: single runs, tabbed runs and DrawText's
// formatted paragraphs.
#pragma once

#include "DC.h"

// DrawText formats.
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// ExtTextOut options.
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_RTLREADING = 0x0080;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 8;  // in average character widths
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;  // characters processed (output)
};

// Counts are in characters (code points); -1 means the whole string.
BOOL TextOut(HDC dc, int x, int y, const String& text, int count = -1);
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const String& text, int count = -1,
                const int* dx = nullptr);
// Returns the extent: width in the low word, height in the high word.
LONG TabbedTextOut(HDC dc, int x, int y, const String& text, int count, int tabCount, const int* tabStops,
                   int tabOrigin);
DWORD GetTabbedTextExtent(HDC dc, const String& text, int count, int tabCount, const int* tabStops);
BOOL GetTextExtentPoint32(HDC dc, const String& text, int count, SIZE* size);
BOOL GetCharWidth32(HDC dc, UINT first, UINT last, int* widths);

// Returns the height of the text (0 on failure); with DT_CALCRECT measures into rect.
// The String& forms write the shortened text back under DT_MODIFYSTRING.
int DrawText(HDC dc, const String& text, int count, RECT* rect, UINT format);
int DrawText(HDC dc, String& text, int count, RECT* rect, UINT format);
int DrawTextEx(HDC dc, String& text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);
