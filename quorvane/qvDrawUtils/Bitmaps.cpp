#include "qvDrawUtils/Bitmaps.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "gdi/Blit.h"

namespace {

bool HasPixels(TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty() && Bitmap->Width() > 0 && Bitmap->Height() > 0; }

// Rows are contiguous: row 0 starts the whole image.
uint32_t* PixelsOf(TBitmap* Bitmap) { return static_cast<uint32_t*>(Bitmap->ScanLine(0)); }

size_t PixelCount(TBitmap* Bitmap) { return size_t(Bitmap->Width()) * size_t(Bitmap->Height()); }

// For the writers: alpha bytes only mean something in pf32bit.
uint32_t* WritablePixels(TBitmap* Bitmap) {
  if (Bitmap->PixelFormat() != pf32bit) Bitmap->SetPixelFormat(pf32bit);
  return PixelsOf(Bitmap);
}

// Source pixels as pf32bit: the bitmap itself, or an opaque pf32bit copy of another format.
class TPf32Source {
 public:
  explicit TPf32Source(TBitmap* Source) : FBitmap(Source) {
    if (Source->PixelFormat() == pf32bit) return;
    FCopy.Assign(Source);
    FCopy.SetPixelFormat(pf32bit);
    FBitmap = &FCopy;
  }
  TBitmap* Bitmap() const { return FBitmap; }

 private:
  TBitmap FCopy;
  TBitmap* FBitmap;
};

// Any alpha byte other than 255 in n pixels; checks a block at a time so the loop vectorises.
bool AnyTransparent(const uint32_t* p, size_t n) {
  constexpr size_t kBlock = 64;
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    uint32_t all = 0xFFFFFFFFu;
    for (size_t k = 0; k < kBlock; ++k) all &= p[i + k];
    if ((all >> 24) != 0xFF) return true;
  }
  for (; i < n; ++i)
    if ((p[i] >> 24) != 0xFF) return true;
  return false;
}

// One destination column or row of the resampling: the source index, its neighbour (the
// last one repeats at the edge) and the 16-bit fraction between them.
struct TSample {
  uint32_t I0, I1, F;
};

std::vector<TSample> Samples(uint32_t Count, uint64_t Step, uint32_t SourceLength) {
  std::vector<TSample> samples(Count);
  uint64_t pos = 0;
  for (uint32_t i = 0; i < Count; ++i, pos += Step) {
    const uint32_t i0 = uint32_t(std::min<uint64_t>(pos >> 16, SourceLength - 1));
    samples[i] = {i0, std::min(i0 + 1, SourceLength - 1), uint32_t(pos & 0xFFFF)};
  }
  return samples;
}

// Each byte weighted by the four weights (which sum to 65535), shifted back by 16 bits.
inline uint32_t Bilinear(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t w00, uint32_t w10,
                         uint32_t w01, uint32_t w11) {
  uint32_t r = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t sum = w00 * ((p00 >> shift) & 0xFF) + w10 * ((p10 >> shift) & 0xFF) +
                         w01 * ((p01 >> shift) & 0xFF) + w11 * ((p11 >> shift) & 0xFF);
    r |= (sum >> 16) << shift;
  }
  return r;
}

// The weights of one destination pixel: u is its horizontal fraction, v and iv = 65535 - v
// the vertical ones of its row. u * iv reaches 2^32 - 2^17, past the signed range.
struct TWeights {
  uint32_t W00, W10, W01, W11;
  TWeights(uint32_t u, uint32_t v, uint32_t iv) {
    W10 = (u * iv) >> 16;
    W11 = (u * v) >> 16;
    W00 = iv - W10;
    W01 = v - W11;
  }
};

void ResampleRowScalar(const uint32_t* row0, const uint32_t* row1, const TSample* cols, uint32_t v, uint32_t* out,
                       uint32_t from, uint32_t to) {
  const uint32_t iv = 65535 - v;
  for (uint32_t x = from; x < to; ++x) {
    const TSample& c = cols[x];
    const TWeights w(c.F, v, iv);
    out[x] = Bilinear(row0[c.I0], row0[c.I1], row1[c.I0], row1[c.I1], w.W00, w.W10, w.W01, w.W11);
  }
}

#if defined(__SSE2__)
// Eight 16-bit lanes: Lo four times, then Hi four times.
inline __m128i WeightPair(uint32_t Lo, uint32_t Hi) {
  const __m128i x = _mm_cvtsi32_si128(int(Lo | (Hi << 16)));
  const __m128i y = _mm_unpacklo_epi16(x, x);
  return _mm_unpacklo_epi32(y, y);
}

// The columns whose right neighbour is the next pixel: a pixel and its neighbour load as
// one 64-bit pair. Products of a byte and a 16-bit weight are made whole from their low
// and high halves and summed in 32-bit lanes: the same numbers as Bilinear.
void ResampleRowSse2(const uint32_t* row0, const uint32_t* row1, const TSample* cols, uint32_t v, uint32_t* out,
                     uint32_t count) {
  const __m128i zero = _mm_setzero_si128();
  const uint32_t iv = 65535 - v;
  for (uint32_t x = 0; x < count; ++x) {
    const TSample& c = cols[x];
    const TWeights w(c.F, v, iv);
    const __m128i wt = WeightPair(w.W00, w.W10), wb = WeightPair(w.W01, w.W11);
    const __m128i top = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row0 + c.I0)), zero);
    const __m128i bottom = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row1 + c.I0)), zero);
    const __m128i tl = _mm_mullo_epi16(top, wt), th = _mm_mulhi_epu16(top, wt);
    const __m128i bl = _mm_mullo_epi16(bottom, wb), bh = _mm_mulhi_epu16(bottom, wb);
    __m128i sum = _mm_add_epi32(_mm_unpacklo_epi16(tl, th), _mm_unpackhi_epi16(tl, th));
    sum = _mm_add_epi32(sum, _mm_add_epi32(_mm_unpacklo_epi16(bl, bh), _mm_unpackhi_epi16(bl, bh)));
    sum = _mm_srli_epi32(sum, 16);
    out[x] = uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(sum, zero), zero)));
  }
}
#endif

void Resample(const uint32_t* src, uint32_t sw, uint32_t sh, uint32_t* dst, uint32_t dw, uint32_t dh) {
  // Steps in 16.16 fixed point; 64 bits because a source of 32768 pixels or more would
  // overflow the shifted length in 32.
  uint64_t dx, dy;
  if (sw < dw) {
    // Enlarging: a slightly shorter step, so that the last source pixel is reached.
    const uint64_t k = dw / sw;
    dx = (uint64_t(sw) << 16) / (dw + k - 1);
    dy = (uint64_t(sh) << 16) / (dh + k - 1);
  } else {
    dx = (uint64_t(sw) << 16) / dw;
    dy = (uint64_t(sh) << 16) / dh;
  }
  const std::vector<TSample> cols = Samples(dw, dx, sw);
  const std::vector<TSample> rows = Samples(dh, dy, sh);
  // Columns come in source order: those on the last source column, whose neighbour is
  // itself, are at the end.
  uint32_t paired = 0;
  while (paired < dw && cols[paired].I1 == cols[paired].I0 + 1) ++paired;
  for (uint32_t y = 0; y < dh; ++y) {
    const TSample& r = rows[y];
    const uint32_t* row0 = src + size_t(r.I0) * sw;
    const uint32_t* row1 = src + size_t(r.I1) * sw;
    uint32_t* out = dst + size_t(y) * dw;
#if defined(__SSE2__)
    ResampleRowSse2(row0, row1, cols.data(), r.F, out, paired);
    ResampleRowScalar(row0, row1, cols.data(), r.F, out, paired, dw);
#else
    ResampleRowScalar(row0, row1, cols.data(), r.F, out, 0, dw);
#endif
  }
}

}  // namespace

void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha) {
  if (!HasPixels(Bitmap)) return;
  uint32_t* p = WritablePixels(Bitmap);
  const size_t n = PixelCount(Bitmap);
  const uint32_t a = uint32_t(Alpha) << 24;
  for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0x00FFFFFFu) | a;
}

void SetBitmapRGB(TBitmap* Bitmap, TColor Color) {
  if (!HasPixels(Bitmap)) return;
  uint32_t* p = WritablePixels(Bitmap);
  const size_t n = PixelCount(Bitmap);
  const uint32_t c = uint32_t(Color);
  const uint32_t rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  for (size_t i = 0; i < n; ++i) p[i] = (p[i] & 0xFF000000u) | rgb;
}

void FillBitmapPixels(TBitmap* Bitmap, uint32_t Pixel) {
  if (!HasPixels(Bitmap)) return;
  uint32_t* p = WritablePixels(Bitmap);
  const size_t n = PixelCount(Bitmap);
  if (Pixel == 0 || Pixel == 0xFFFFFFFFu)
    std::memset(p, int(Pixel & 0xFF), n * sizeof(uint32_t));
  else
    std::fill_n(p, n, Pixel);
}

bool HasTransparentPixels(TBitmap* Bitmap) {
  if (!HasPixels(Bitmap) || Bitmap->PixelFormat() != pf32bit) return false;
  return AnyTransparent(PixelsOf(Bitmap), PixelCount(Bitmap));
}

bool HasTransparentPixelsInRect(TBitmap* Bitmap, const TRect& R) {
  if (!HasPixels(Bitmap) || Bitmap->PixelFormat() != pf32bit) return false;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  // Both ends are included; only the part inside the bitmap is read.
  const int x0 = std::max(R.Left, 0), x1 = std::min(R.Right, w - 1);
  const int y0 = std::max(R.Top, 0), y1 = std::min(R.Bottom, h - 1);
  if (x0 > x1 || y0 > y1) return false;
  const uint32_t* p = PixelsOf(Bitmap);
  for (int y = y0; y <= y1; ++y)
    if (AnyTransparent(p + size_t(y) * size_t(w) + size_t(x0), size_t(x1 - x0 + 1))) return true;
  return false;
}

void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha,
                    const TRect& DestRect) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  BLENDFUNCTION blend;
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = Alpha;
  blend.AlphaFormat = AC_SRC_ALPHA;
  AlphaBlend(Canvas->Handle(), DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(),
             Bitmap->Canvas()->Handle(), SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(),
             blend);
}

void DrawBitmapAlpha(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, uint8_t Alpha) {
  if (!HasPixels(Bitmap)) return;
  const int w = Bitmap->Width(), h = Bitmap->Height();
  AlphaBlendRect(Bitmap, Canvas, Rect(0, 0, w, h), Alpha, Rect(X, Y, X + w, Y + h));
}

void SmoothStretchBitmap(TBitmap* Source, TBitmap* Dest) {
  if (!HasPixels(Source) || !HasPixels(Dest) || Source == Dest) return;
  const TPf32Source source(Source);
  uint32_t* dst = WritablePixels(Dest);
  const uint32_t* src = PixelsOf(source.Bitmap());
  const uint32_t sw = uint32_t(Source->Width()), sh = uint32_t(Source->Height());
  const uint32_t dw = uint32_t(Dest->Width()), dh = uint32_t(Dest->Height());
  if (sw == dw && sh == dh) {
    std::memcpy(dst, src, size_t(sw) * sh * sizeof(uint32_t));
    return;
  }
  Resample(src, sw, sh, dst, dw, dh);
}

void DrawBitmapAlphaScaled(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, double Scale, uint8_t Alpha) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  if (Scale == 1.0) {
    DrawBitmapAlpha(Bitmap, Canvas, X, Y, Alpha);
    return;
  }
  DrawBitmapAlphaSized(Bitmap, Canvas, X, Y, Round(Scale * Bitmap->Width()), Round(Scale * Bitmap->Height()), Alpha);
}

void DrawBitmapAlphaSized(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, int W, int H, uint8_t Alpha) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  if (W == Bitmap->Width() && H == Bitmap->Height()) {
    DrawBitmapAlpha(Bitmap, Canvas, X, Y, Alpha);
    return;
  }
  if (W <= 0 || H <= 0) return;
  TBitmap scaled;
  scaled.SetPixelFormat(pf32bit);
  scaled.SetSize(W, H);
  SmoothStretchBitmap(Bitmap, &scaled);
  DrawBitmapAlpha(&scaled, Canvas, X, Y, Alpha);
}

void StretchBitmapRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  StretchBlt(Canvas->Handle(), DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(),
             Bitmap->Canvas()->Handle(), SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(),
             SRCCOPY);
}

void RotateBitmap90(TBitmap* Source, TBitmap* Dest) {
  if (!HasPixels(Source) || !Dest) return;
  // Turning a bitmap into itself reads from a copy.
  TBitmap copy;
  if (Source == Dest) {
    copy.Assign(Source);
    Source = &copy;
  }
  const TPf32Source source(Source);
  const int w = Source->Width(), h = Source->Height();
  Dest->SetPixelFormat(pf32bit);
  Dest->SetSize(h, w);
  const uint32_t* src = PixelsOf(source.Bitmap());
  uint32_t* dst = PixelsOf(Dest);
  // Source row y becomes destination column y, read from the bottom up.
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = src + size_t(y) * size_t(w);
    for (int x = 0; x < w; ++x) dst[size_t(w - 1 - x) * size_t(h) + size_t(y)] = row[x];
  }
}
