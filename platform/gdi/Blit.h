// Copying between device contexts: raster-operation blits, stretching, alpha blending
// and colour-key transparency.
#pragma once

#include "Draw.h"

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;

struct BLENDFUNCTION {
  BYTE BlendOp = AC_SRC_OVER;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;  // AC_SRC_ALPHA: the source is premultiplied and its alpha counts
};

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend);
BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparentColor);
