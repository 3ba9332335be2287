// Pixels of the effect bitmap and the row routines every drawing operation and every
// transition frame is built from.
//
// A pixel is 0xAARRGGBB (bytes blue, green, red, alpha in memory), not premultiplied.
// The routines come in two forms with bit-identical results: a plain one and, where the
// processor has it, an SSE2 one. The form is chosen once; gxPixelRoutines() answers it.
#pragma once

#include <cstdint>

#include "gdi/Types.h"

using TgxColor = uint32_t;
using PgxColor = TgxColor*;
using PgxColorArray = TgxColor*;

// Marks a transparent pixel in colour-key drawing (red 0x7F, green 0, blue 0x7F; the
// alpha byte does not count).
constexpr TgxColor gxKeyColor = 0x007F007Fu;
constexpr TgxColor gxColorMask = 0x00FFFFFFu;
constexpr TgxColor gxAlphaMask = 0xFF000000u;

inline bool gxIsKeyColor(TgxColor c) { return (c & gxColorMask) == gxKeyColor; }

// The blend of Src over Dst with Src's alpha a: a = 0 keeps Dst bit for bit, a = 255 gives
// Src, otherwise each of the four bytes becomes (d * 256 + (s - d) * a) div 256. Every form
// of every routine uses this rule, so frames do not depend on the processor.
inline TgxColor gxBlendPixel(TgxColor Src, TgxColor Dst) {
  const uint32_t a = Src >> 24;
  if (a == 0) return Dst;
  if (a == 255) return Src;
  // Two bytes per 32-bit word, 16 bits apart: no lane overflows (255 * 256 < 65536).
  const uint32_t na = 256 - a;
  const uint32_t rb = (((Dst & 0x00FF00FFu) * na + (Src & 0x00FF00FFu) * a) >> 8) & 0x00FF00FFu;
  const uint32_t ag = (((Dst >> 8) & 0x00FF00FFu) * na + ((Src >> 8) & 0x00FF00FFu) * a) & 0xFF00FF00u;
  return rb | ag;
}

// One form of the row routines. Count is the number of pixels; a Count below 1 does
// nothing. Unless said otherwise, Src and Dst do not overlap.
struct TgxPixelRoutines {
  const char* Name;
  // Dst[i] := gxBlendPixel(Src[i], Dst[i]).
  void (*BlendRow)(const TgxColor* Src, TgxColor* Dst, int32_t Count);
  // Dst[i] := Src[i] with alpha 255, except key-coloured source pixels, which leave Dst.
  void (*KeyRow)(const TgxColor* Src, TgxColor* Dst, int32_t Count);
  // Merging Src under Dst: a fully transparent Dst pixel takes Src, a partly transparent
  // one becomes gxBlendPixel(Dst, Src), an opaque one stays.
  void (*MergeRow)(const TgxColor* Src, TgxColor* Dst, int32_t Count);
  // Copies; the rows may overlap.
  void (*MoveRow)(const TgxColor* Src, TgxColor* Dst, int32_t Count);
  void (*FillRow)(TgxColor* Dst, int32_t Count, TgxColor Value);
  // The alpha byte of each pixel := Alpha.
  void (*SetAlphaRow)(TgxColor* Dst, int32_t Count, uint8_t Alpha);
  // Pixels whose low 24 bits equal Key's get alpha 0 and keep their colour.
  void (*ClearAlphaKeyRow)(TgxColor* Dst, int32_t Count, TgxColor Key);
  // Each colour byte above the pixel's alpha byte is lowered to it.
  void (*CheckRGBARow)(TgxColor* Dst, int32_t Count);
};

// The plain form (always there), the SSE2 form (null where it is not compiled in or the
// processor lacks it), and the form in use.
const TgxPixelRoutines& gxPlainPixelRoutines();
const TgxPixelRoutines* gxSse2PixelRoutines();
const TgxPixelRoutines& gxPixelRoutines();

// The routines in use, by name.
inline void gxBlendRow(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  gxPixelRoutines().BlendRow(Src, Dst, Count);
}
inline void gxKeyRow(const TgxColor* Src, TgxColor* Dst, int32_t Count) { gxPixelRoutines().KeyRow(Src, Dst, Count); }
inline void gxMergeRow(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  gxPixelRoutines().MergeRow(Src, Dst, Count);
}
inline void gxMoveRow(const TgxColor* Src, TgxColor* Dst, int32_t Count) { gxPixelRoutines().MoveRow(Src, Dst, Count); }
inline void gxFillRow(TgxColor* Dst, int32_t Count, TgxColor Value) { gxPixelRoutines().FillRow(Dst, Count, Value); }
inline void gxSetAlphaRow(TgxColor* Dst, int32_t Count, uint8_t Alpha) {
  gxPixelRoutines().SetAlphaRow(Dst, Count, Alpha);
}
inline void gxClearAlphaKeyRow(TgxColor* Dst, int32_t Count, TgxColor Key = gxKeyColor) {
  gxPixelRoutines().ClearAlphaKeyRow(Dst, Count, Key);
}
inline void gxCheckRGBARow(TgxColor* Dst, int32_t Count) { gxPixelRoutines().CheckRGBARow(Dst, Count); }

// Rectangle forms over an image of Width x Height packed rows starting at Bits; R is
// clipped to the image first.
void gxFillRect(TgxColor* Bits, int32_t Width, int32_t Height, const TRect& R, TgxColor Value);
void gxSetAlphaRect(TgxColor* Bits, int32_t Width, int32_t Height, const TRect& R, uint8_t Alpha);
