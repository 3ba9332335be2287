// Fonts: logical fonts resolved through fontconfig and measured with pango, their
// metrics, and the enumeration of the installed families.
#pragma once

#include <functional>
#include <memory>

#include "Objects.h"

constexpr int LF_FACESIZE = 32;

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_HEAVY = 900;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;

constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// tmPitchAndFamily bits (set when the font is NOT fixed pitch, as GDI has it).
constexpr BYTE TMPF_FIXED_PITCH = 0x01;
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

// Font types passed to enumeration callbacks.
constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD DEVICE_FONTTYPE = 0x0002;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;

struct LOGFONT {
  LONG lfHeight = 0;  // < 0: em height in pixels; > 0: cell height (ascent + descent)
  LONG lfWidth = 0;
  LONG lfEscapement = 0;  // tenths of a degree, counter-clockwise
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
  BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
  BYTE lfQuality = DEFAULT_QUALITY;
  BYTE lfPitchAndFamily = DEFAULT_PITCH;
  String lfFaceName;
};

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 96;
  LONG tmDigitizedAspectY = 96;
  uint32_t tmFirstChar = 0x20;
  uint32_t tmLastChar = 0xFFFD;
  uint32_t tmDefaultChar = 0x20;
  uint32_t tmBreakChar = 0x20;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = ANSI_CHARSET;
};

// What pango and fontconfig made of a LOGFONT; built by Fonts.cpp on first use.
struct FontFace;

struct GdiFont : GdiObject {
  GdiFont() : GdiObject(OBJ_FONT) {}
  LOGFONT Log;
  std::shared_ptr<FontFace> Face;  // shared between fonts with equal LOGFONTs
};

// Adds the bundled Windows font folders to fontconfig; runs once, on first use of any
// font, and may be called early by a program that wants the cost at start-up.
void InitFonts();

HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                 DWORD quality, DWORD pitchAndFamily, const String& faceName);

// The family fontconfig gives for a face name after the platform's substitutions.
String ResolvedFamily(const String& faceName);

BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);
int GetTextFace(HDC dc, String* name);

struct ENUMLOGFONTEX {
  LOGFONT elfLogFont;
  String elfFullName;
  String elfStyle;
  String elfScript;
};

// Returns what the last callback returned; 0 from the callback stops the enumeration.
using FONTENUMPROC = std::function<int(const LOGFONT* lf, const TEXTMETRIC* tm, DWORD fontType, intptr_t lParam)>;
// With an empty lfFaceName each family is reported once; with a name, each style of it.
int EnumFontFamiliesEx(HDC dc, const LOGFONT* lf, const FONTENUMPROC& proc, intptr_t lParam, DWORD flags);
int EnumFontFamilies(HDC dc, const String* family, const FONTENUMPROC& proc, intptr_t lParam);
