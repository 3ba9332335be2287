#include "gx_bitmap/Pixels.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gx_utils.h"

namespace {

// ---- plain forms ----

void BlendRowPlain(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  for (int32_t i = 0; i < Count; ++i) Dst[i] = gxBlendPixel(Src[i], Dst[i]);
}

void KeyRowPlain(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  for (int32_t i = 0; i < Count; ++i)
    if (!gxIsKeyColor(Src[i])) Dst[i] = Src[i] | gxAlphaMask;
}

inline TgxColor MergePixel(TgxColor Src, TgxColor Dst) {
  if (Dst < 0x01000000u) return Src;
  if (Dst < gxAlphaMask) return gxBlendPixel(Dst, Src);
  return Dst;
}

void MergeRowPlain(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  for (int32_t i = 0; i < Count; ++i) Dst[i] = MergePixel(Src[i], Dst[i]);
}

void MoveRow(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  if (Count > 0) std::memmove(Dst, Src, size_t(Count) * sizeof(TgxColor));
}

void FillRow(TgxColor* Dst, int32_t Count, TgxColor Value) {
  if (Count > 0) std::fill_n(Dst, Count, Value);
}

void SetAlphaRowPlain(TgxColor* Dst, int32_t Count, uint8_t Alpha) {
  const TgxColor a = TgxColor(Alpha) << 24;
  for (int32_t i = 0; i < Count; ++i) Dst[i] = (Dst[i] & gxColorMask) | a;
}

void ClearAlphaKeyRowPlain(TgxColor* Dst, int32_t Count, TgxColor Key) {
  Key &= gxColorMask;
  for (int32_t i = 0; i < Count; ++i)
    if ((Dst[i] & gxColorMask) == Key) Dst[i] &= gxColorMask;
}

void CheckRGBARowPlain(TgxColor* Dst, int32_t Count) {
  for (int32_t i = 0; i < Count; ++i) {
    const TgxColor p = Dst[i];
    const TgxColor a = p >> 24;
    const TgxColor b = std::min(p & 0xFFu, a), g = std::min((p >> 8) & 0xFFu, a), r = std::min((p >> 16) & 0xFFu, a);
    Dst[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

const TgxPixelRoutines kPlain{"plain",       BlendRowPlain,    KeyRowPlain,         MergeRowPlain, MoveRow,
                              FillRow,       SetAlphaRowPlain, ClearAlphaKeyRowPlain, CheckRGBARowPlain};

// ---- SSE2 forms: four pixels at a time, the plain forms for the rest of a row ----

#if defined(__SSE2__)

inline __m128i Load(const TgxColor* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void Store(TgxColor* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline __m128i Select(__m128i mask, __m128i a, __m128i b) {
  return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b));
}

// (d * (256 - a) + s * a) >> 8 for every byte of four pixels, a being each pixel's alpha
// of Over. Products and sums stay below 65536, so 16-bit lanes hold them exactly.
inline __m128i BlendBytes(__m128i over, __m128i under) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i c256 = _mm_set1_epi16(256);
  const __m128i olo = _mm_unpacklo_epi8(over, zero), ohi = _mm_unpackhi_epi8(over, zero);
  const __m128i ulo = _mm_unpacklo_epi8(under, zero), uhi = _mm_unpackhi_epi8(under, zero);
  const __m128i alo = _mm_shufflehi_epi16(_mm_shufflelo_epi16(olo, 0xFF), 0xFF);
  const __m128i ahi = _mm_shufflehi_epi16(_mm_shufflelo_epi16(ohi, 0xFF), 0xFF);
  const __m128i rlo =
      _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(ulo, _mm_sub_epi16(c256, alo)), _mm_mullo_epi16(olo, alo)), 8);
  const __m128i rhi =
      _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(uhi, _mm_sub_epi16(c256, ahi)), _mm_mullo_epi16(ohi, ahi)), 8);
  return _mm_packus_epi16(rlo, rhi);
}

void BlendRowSse2(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  const __m128i amask = _mm_set1_epi32(int32_t(gxAlphaMask));
  const __m128i zero = _mm_setzero_si128();
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i s = Load(Src + i);
    const __m128i a = _mm_and_si128(s, amask);
    const __m128i opaque = _mm_cmpeq_epi32(a, amask);
    if (_mm_movemask_epi8(opaque) == 0xFFFF) {
      Store(Dst + i, s);
      continue;
    }
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, zero)) == 0xFFFF) continue;
    // Alpha 0 comes out of the arithmetic as d itself; alpha 255 must be s exactly.
    Store(Dst + i, Select(opaque, s, BlendBytes(s, Load(Dst + i))));
  }
  BlendRowPlain(Src + i, Dst + i, Count - i);
}

void KeyRowSse2(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  const __m128i amask = _mm_set1_epi32(int32_t(gxAlphaMask));
  const __m128i cmask = _mm_set1_epi32(int32_t(gxColorMask));
  const __m128i key = _mm_set1_epi32(int32_t(gxKeyColor));
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i s = Load(Src + i);
    const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(s, cmask), key);
    const __m128i out = _mm_or_si128(s, amask);
    if (_mm_movemask_epi8(isKey) == 0)
      Store(Dst + i, out);
    else
      Store(Dst + i, Select(isKey, Load(Dst + i), out));
  }
  KeyRowPlain(Src + i, Dst + i, Count - i);
}

void MergeRowSse2(const TgxColor* Src, TgxColor* Dst, int32_t Count) {
  const __m128i amask = _mm_set1_epi32(int32_t(gxAlphaMask));
  const __m128i zero = _mm_setzero_si128();
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i d = Load(Dst + i);
    const __m128i a = _mm_and_si128(d, amask);
    const __m128i opaque = _mm_cmpeq_epi32(a, amask);
    if (_mm_movemask_epi8(opaque) == 0xFFFF) continue;
    const __m128i s = Load(Src + i);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(a, zero)) == 0xFFFF) {
      Store(Dst + i, s);
      continue;
    }
    // The destination is blended over the source; its alpha 0 yields s exactly.
    Store(Dst + i, Select(opaque, d, BlendBytes(d, s)));
  }
  MergeRowPlain(Src + i, Dst + i, Count - i);
}

void SetAlphaRowSse2(TgxColor* Dst, int32_t Count, uint8_t Alpha) {
  const __m128i cmask = _mm_set1_epi32(int32_t(gxColorMask));
  const __m128i a = _mm_set1_epi32(int32_t(uint32_t(Alpha) << 24));
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) Store(Dst + i, _mm_or_si128(_mm_and_si128(Load(Dst + i), cmask), a));
  SetAlphaRowPlain(Dst + i, Count - i, Alpha);
}

void ClearAlphaKeyRowSse2(TgxColor* Dst, int32_t Count, TgxColor Key) {
  const __m128i amask = _mm_set1_epi32(int32_t(gxAlphaMask));
  const __m128i cmask = _mm_set1_epi32(int32_t(gxColorMask));
  const __m128i key = _mm_set1_epi32(int32_t(Key & gxColorMask));
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i d = Load(Dst + i);
    const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(d, cmask), key);
    if (_mm_movemask_epi8(isKey) != 0) Store(Dst + i, _mm_andnot_si128(_mm_and_si128(isKey, amask), d));
  }
  ClearAlphaKeyRowPlain(Dst + i, Count - i, Key);
}

void CheckRGBARowSse2(TgxColor* Dst, int32_t Count) {
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const __m128i d = Load(Dst + i);
    __m128i a = _mm_srli_epi32(d, 24);
    a = _mm_or_si128(a, _mm_slli_epi32(a, 8));
    a = _mm_or_si128(a, _mm_slli_epi32(a, 16));
    Store(Dst + i, _mm_min_epu8(d, a));
  }
  CheckRGBARowPlain(Dst + i, Count - i);
}

const TgxPixelRoutines kSse2{"sse2",  BlendRowSse2,    KeyRowSse2,           MergeRowSse2,    MoveRow,
                             FillRow, SetAlphaRowSse2, ClearAlphaKeyRowSse2, CheckRGBARowSse2};

#endif

}  // namespace

const TgxPixelRoutines& gxPlainPixelRoutines() { return kPlain; }

const TgxPixelRoutines* gxSse2PixelRoutines() {
#if defined(__SSE2__)
  return gxHasSSE2() ? &kSse2 : nullptr;
#else
  return nullptr;
#endif
}

const TgxPixelRoutines& gxPixelRoutines() {
  // Chosen once: the vector form on a processor that reports CPUID, a family above 4 and
  // the vector features.
  static const TgxPixelRoutines& installed = [] () -> const TgxPixelRoutines& {
    const TgxPixelRoutines* sse2 = gxSse2PixelRoutines();
    if (sse2 && gxCPUIDSupported() && gxCPUFamily() > 4 && gxHasMMX()) return *sse2;
    return kPlain;
  }();
  return installed;
}

namespace {

// R clipped to Width x Height; false when nothing is left.
bool ClipToImage(int32_t Width, int32_t Height, const TRect& R, TRect& Out) {
  Out = {std::max(R.Left, 0), std::max(R.Top, 0), std::min(R.Right, Width), std::min(R.Bottom, Height)};
  return Out.Left < Out.Right && Out.Top < Out.Bottom;
}

}  // namespace

void gxFillRect(TgxColor* Bits, int32_t Width, int32_t Height, const TRect& R, TgxColor Value) {
  TRect c;
  if (!Bits || !ClipToImage(Width, Height, R, c)) return;
  const TgxPixelRoutines& r = gxPixelRoutines();
  for (int32_t y = c.Top; y < c.Bottom; ++y) r.FillRow(Bits + size_t(y) * size_t(Width) + c.Left, c.Width(), Value);
}

void gxSetAlphaRect(TgxColor* Bits, int32_t Width, int32_t Height, const TRect& R, uint8_t Alpha) {
  TRect c;
  if (!Bits || !ClipToImage(Width, Height, R, c)) return;
  const TgxPixelRoutines& r = gxPixelRoutines();
  for (int32_t y = c.Top; y < c.Bottom; ++y)
    r.SetAlphaRow(Bits + size_t(y) * size_t(Width) + c.Left, c.Width(), Alpha);
}
