#include "qvDrawUtils/Blur.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

TStackBlurDivider::TStackBlurDivider(int Radius) {
  const uint64_t r1 = uint64_t(std::clamp(Radius, 0, StackBlurMaxRadius)) + 1;
  FDivisor = uint32_t(r1 * r1);
  // With m = ceil(2^s / d) the error of (n * m) >> s stays below one step as long as
  // n * (m * d - 2^s) < 2^s; m * d - 2^s < d and n <= 255 d, so 2^s >= 255 d^2 suffices.
  const uint64_t d = FDivisor;
  FShift = 0;
  while ((uint64_t(1) << FShift) < 255 * d * d) ++FShift;
  FMultiplier = ((uint64_t(1) << FShift) + d - 1) / d;
}

// Division by d = (r + 1)^2. Its power of two 2^a goes first, as a shift:
// n div d = (n >> a) div d' with n >> a <= 255 d' (a power of two keeps a factor 2 in d',
// as its multiplier would be 2^16). With m = ceil(2^L / d') and e = m d' - 2^L,
// (n' m) >> L = n' div d' for every n' <= 255 d' exactly when (255 d' - 1) e < 2^L (the
// largest n' with remainder d' - 1 is the worst); every radius from 1 to 15 has such an
// m below 2^16.
TStackBlurLaneDivider::TStackBlurLaneDivider(int Radius) {
  if (Radius < 1) return;
  const uint64_t d = uint64_t(Radius + 1) * uint64_t(Radius + 1);
  if (255 * d > 0xFFFF) return;
  const int a = std::countr_zero(d) - (std::has_single_bit(d) ? 1 : 0);
  const uint64_t rest = d >> a;
  for (int L = 16;; ++L) {
    const uint64_t m = ((uint64_t(1) << L) + rest - 1) / rest;
    if (m > 0xFFFF) return;
    if ((255 * rest - 1) * (m * rest - (uint64_t(1) << L)) < (uint64_t(1) << L)) {
      FValid = true;
      FPreShift = a;
      FMultiplier = uint16_t(m);
      FShift = L - 16;
      return;
    }
  }
}

namespace {

constexpr uint32_t R(uint32_t p) { return (p >> 16) & 0xFF; }
constexpr uint32_t G(uint32_t p) { return (p >> 8) & 0xFF; }
constexpr uint32_t B(uint32_t p) { return p & 0xFF; }

// Running sums of one line of the tent filter: Sum is the weighted sum at the current
// position, In the pixels 1..r ahead of it, Out the pixels r behind it and itself.
struct TChannelSums {
  uint32_t Sum = 0;
  uint32_t In = 0;
  uint32_t Out = 0;
};

// Horizontal pass: each row of Src filtered into the same row of Dst (opaque 0x00RRGGBB
// words; the alpha byte is set in the vertical pass).
void BlurRows(const uint32_t* Pixels, int Width, int Height, int Stride, int r, const TStackBlurDivider& div,
              uint32_t* Dst) {
  const int last = Width - 1;
  for (int y = 0; y < Height; ++y) {
    const uint32_t* src = Pixels + size_t(y) * size_t(Stride);
    uint32_t* dst = Dst + size_t(y) * size_t(Width);
    TChannelSums cr, cg, cb;
    for (int k = -r; k <= r; ++k) {
      const uint32_t p = src[std::clamp(k, 0, last)];
      const uint32_t w = uint32_t(r + 1 - (k < 0 ? -k : k));
      cr.Sum += w * R(p);
      cg.Sum += w * G(p);
      cb.Sum += w * B(p);
      if (k > 0) {
        cr.In += R(p);
        cg.In += G(p);
        cb.In += B(p);
      } else {
        cr.Out += R(p);
        cg.Out += G(p);
        cb.Out += B(p);
      }
    }
    for (int x = 0;; ++x) {
      dst[x] = (div(cr.Sum) << 16) | (div(cg.Sum) << 8) | div(cb.Sum);
      if (x == last) break;
      const uint32_t leaving = src[std::max(x - r, 0)];
      const uint32_t entering = src[std::min(x + r + 1, last)];
      const uint32_t passing = src[x + 1];
      cr.Sum = cr.Sum - cr.Out + cr.In + R(entering);
      cg.Sum = cg.Sum - cg.Out + cg.In + G(entering);
      cb.Sum = cb.Sum - cb.Out + cb.In + B(entering);
      cr.Out = cr.Out - R(leaving) + R(passing);
      cg.Out = cg.Out - G(leaving) + G(passing);
      cb.Out = cb.Out - B(leaving) + B(passing);
      cr.In = cr.In + R(entering) - R(passing);
      cg.In = cg.In + G(entering) - G(passing);
      cb.In = cb.In + B(entering) - B(passing);
    }
  }
}

// Vertical pass, walked row by row with one set of running sums per column so that
// memory is read in order.
void BlurColumns(const uint32_t* Src, int Width, int Height, int r, const TStackBlurDivider& div, uint32_t* Pixels,
                 int Stride) {
  const int last = Height - 1;
  const size_t w = size_t(Width);
  // Sums of red, green and blue, each a row of Width entries.
  std::vector<uint32_t> sum(3 * w, 0), in(3 * w, 0), out(3 * w, 0);
  auto row = [&](int y) { return Src + size_t(std::clamp(y, 0, last)) * w; };
  for (int k = -r; k <= r; ++k) {
    const uint32_t* p = row(k);
    const uint32_t weight = uint32_t(r + 1 - (k < 0 ? -k : k));
    uint32_t* part = k > 0 ? in.data() : out.data();
    for (size_t x = 0; x < w; ++x) {
      const uint32_t c[3] = {R(p[x]), G(p[x]), B(p[x])};
      for (int ch = 0; ch < 3; ++ch) {
        sum[ch * w + x] += weight * c[ch];
        part[ch * w + x] += c[ch];
      }
    }
  }
  uint32_t* sr = sum.data();
  uint32_t* sg = sr + w;
  uint32_t* sb = sg + w;
  uint32_t* ir = in.data();
  uint32_t* ig = ir + w;
  uint32_t* ib = ig + w;
  uint32_t* orr = out.data();
  uint32_t* og = orr + w;
  uint32_t* ob = og + w;
  for (int y = 0;; ++y) {
    uint32_t* dst = Pixels + size_t(y) * size_t(Stride);
    for (size_t x = 0; x < w; ++x) dst[x] = 0xFF000000u | (div(sr[x]) << 16) | (div(sg[x]) << 8) | div(sb[x]);
    if (y == last) break;
    const uint32_t* leaving = row(y - r);
    const uint32_t* entering = row(y + r + 1);
    const uint32_t* passing = row(y + 1);
    for (size_t x = 0; x < w; ++x) {
      const uint32_t l = leaving[x], e = entering[x], p = passing[x];
      sr[x] = sr[x] - orr[x] + ir[x] + R(e);
      sg[x] = sg[x] - og[x] + ig[x] + G(e);
      sb[x] = sb[x] - ob[x] + ib[x] + B(e);
      orr[x] = orr[x] - R(l) + R(p);
      og[x] = og[x] - G(l) + G(p);
      ob[x] = ob[x] - B(l) + B(p);
      ir[x] = ir[x] + R(e) - R(p);
      ig[x] = ig[x] + G(e) - G(p);
      ib[x] = ib[x] + B(e) - B(p);
    }
  }
}

#if defined(__SSE2__)
// ---- eight pixels side by side, in 16-bit lanes ----
//
// Up to radius 15 every sum fits 16 bits (255 (r + 1)^2 < 2^16): one register holds the four
// channels of two pixels, and the division is TStackBlurLaneDivider's. Both passes run
// the same kernel down eight lines at once: the column pass on eight neighbouring columns,
// the row pass on eight rows turned into columns of a small band buffer.

// Eight pixels, two to a register, each channel in a 16-bit lane.
struct TEightPixels {
  __m128i V[4];
};

inline TEightPixels LoadEight(const uint32_t* P) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
  const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P + 4));
  return {{_mm_unpacklo_epi8(a, zero), _mm_unpackhi_epi8(a, zero), _mm_unpacklo_epi8(b, zero),
           _mm_unpackhi_epi8(b, zero)}};
}

// The tent filter along Count positions of eight lines: position i of the lines is the eight
// pixels at Src + i * SrcStep, its result goes to Dst + i * DstStep (OR Alpha). Instead of
// the in and out sums the kernel keeps their difference D = in - out, which moves by
// entering + leaving - 2 passing; the weighted sum moves by D + entering. Lanes wrap modulo
// 2^16, but every weighted sum itself fits.
void TentEightLines(const uint32_t* Src, ptrdiff_t SrcStep, uint32_t* Dst, ptrdiff_t DstStep, int Count, int r,
                    const TStackBlurLaneDivider& Division, uint32_t Alpha) {
  const int last = Count - 1;
  auto at = [&](int i) { return Src + ptrdiff_t(i) * SrcStep; };
  __m128i sum[4], diff[4];
  for (int n = 0; n < 4; ++n) sum[n] = diff[n] = _mm_setzero_si128();
  for (int k = -r; k <= r; ++k) {
    const TEightPixels p = LoadEight(at(std::clamp(k, 0, last)));
    const __m128i weight = _mm_set1_epi16(int16_t(r + 1 - (k < 0 ? -k : k)));
    for (int n = 0; n < 4; ++n) {
      sum[n] = _mm_add_epi16(sum[n], _mm_mullo_epi16(p.V[n], weight));
      diff[n] = k > 0 ? _mm_add_epi16(diff[n], p.V[n]) : _mm_sub_epi16(diff[n], p.V[n]);
    }
  }
  const __m128i preShift = _mm_cvtsi32_si128(Division.PreShift());
  const __m128i multiplier = _mm_set1_epi16(int16_t(Division.Multiplier()));
  const __m128i shift = _mm_cvtsi32_si128(Division.Shift());
  const __m128i alpha = _mm_set1_epi32(int32_t(Alpha));
  for (int x = 0;; ++x) {
    __m128i q[4];
    for (int n = 0; n < 4; ++n)
      q[n] = _mm_srl_epi16(_mm_mulhi_epu16(_mm_srl_epi16(sum[n], preShift), multiplier), shift);
    uint32_t* out = Dst + ptrdiff_t(x) * DstStep;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_packus_epi16(q[0], q[1]), alpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_or_si128(_mm_packus_epi16(q[2], q[3]), alpha));
    if (x == last) break;
    const TEightPixels entering = LoadEight(at(std::min(x + r + 1, last)));
    const TEightPixels leaving = LoadEight(at(std::max(x - r, 0)));
    const TEightPixels passing = LoadEight(at(x + 1));
    for (int n = 0; n < 4; ++n) {
      const __m128i t = _mm_add_epi16(diff[n], entering.V[n]);
      sum[n] = _mm_add_epi16(sum[n], t);
      diff[n] = _mm_sub_epi16(_mm_sub_epi16(_mm_add_epi16(t, leaving.V[n]), passing.V[n]), passing.V[n]);
    }
  }
}

// ---- four pixels side by side, in 32-bit lanes ----
//
// From radius 16 on the sums need more than 16 bits, but up to StackBlurMaxRadius they fit
// 32 (255 (r + 1)^2 < 2^30): one register holds the four channels of one pixel. The
// division is TStackBlurDivider's own multiply and shift, its multiplier below 2^32 so that
// _mm_mul_epu32 forms the exact 64-bit product.

// Four pixels, one to a register, each channel in a 32-bit lane.
struct TFourPixels {
  __m128i V[4];
};

inline TFourPixels LoadFour(const uint32_t* P) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(P));
  const __m128i lo = _mm_unpacklo_epi8(a, zero), hi = _mm_unpackhi_epi8(a, zero);
  return {{_mm_unpacklo_epi16(lo, zero), _mm_unpackhi_epi16(lo, zero), _mm_unpacklo_epi16(hi, zero),
           _mm_unpackhi_epi16(hi, zero)}};
}

// The low 32 bits of each lane times Factor (SSE2 has no 32-bit multiply-low).
inline __m128i MulLanes(__m128i A, uint32_t Factor) {
  const __m128i f = _mm_set1_epi32(int32_t(Factor));
  const __m128i even = _mm_mul_epu32(A, f);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(A, 32), f);
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                            _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

// (Sum * Multiplier) >> Shift in each lane; the quotients are at most 255, so the shifted
// 64-bit products of the even and odd lanes have nothing above their low 32 bits.
inline __m128i DivideLanes(__m128i Sum, __m128i Multiplier, __m128i Shift) {
  const __m128i even = _mm_srl_epi64(_mm_mul_epu32(Sum, Multiplier), Shift);
  const __m128i odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(Sum, 32), Multiplier), Shift);
  return _mm_or_si128(even, _mm_slli_epi64(odd, 32));
}

// TentEightLines for four lines in 32-bit lanes. The start of the kernel reaching beyond
// either end reads the same edge pixel again and again; those parts are taken at once
// with the sum of their weights, so a radius far beyond Count costs no more than Count.
void TentFourLines(const uint32_t* Src, ptrdiff_t SrcStep, uint32_t* Dst, ptrdiff_t DstStep, int Count, int r,
                   const TStackBlurDivider& Division, uint32_t Alpha) {
  const int last = Count - 1;
  auto at = [&](int i) { return Src + ptrdiff_t(i) * SrcStep; };
  const uint32_t r1 = uint32_t(r) + 1;
  __m128i sum[4], diff[4];
  // k = -r..0 all read position 0: weights 1..r + 1, each counted out.
  const TFourPixels first = LoadFour(at(0));
  for (int n = 0; n < 4; ++n) {
    sum[n] = MulLanes(first.V[n], r1 * (r1 + 1) / 2);
    diff[n] = _mm_sub_epi32(_mm_setzero_si128(), MulLanes(first.V[n], r1));
  }
  const int reach = std::min(r, last);
  for (int k = 1; k <= reach; ++k) {
    const TFourPixels p = LoadFour(at(k));
    for (int n = 0; n < 4; ++n) {
      sum[n] = _mm_add_epi32(sum[n], MulLanes(p.V[n], r1 - uint32_t(k)));
      diff[n] = _mm_add_epi32(diff[n], p.V[n]);
    }
  }
  if (r > last) {
    // k = last + 1..r read position last: weights r - last down to 1, each counted in.
    const uint32_t beyond = uint32_t(r - last);
    const TFourPixels p = LoadFour(at(last));
    for (int n = 0; n < 4; ++n) {
      sum[n] = _mm_add_epi32(sum[n], MulLanes(p.V[n], beyond * (beyond + 1) / 2));
      diff[n] = _mm_add_epi32(diff[n], MulLanes(p.V[n], beyond));
    }
  }
  const __m128i multiplier = _mm_set1_epi32(int32_t(uint32_t(Division.Multiplier())));
  const __m128i shift = _mm_cvtsi32_si128(Division.Shift());
  const __m128i alpha = _mm_set1_epi32(int32_t(Alpha));
  for (int x = 0;; ++x) {
    __m128i q[4];
    for (int n = 0; n < 4; ++n) q[n] = DivideLanes(sum[n], multiplier, shift);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(q[0], q[1]), _mm_packs_epi32(q[2], q[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + ptrdiff_t(x) * DstStep), _mm_or_si128(bytes, alpha));
    if (x == last) break;
    const TFourPixels entering = LoadFour(at(std::min(x + r + 1, last)));
    const TFourPixels leaving = LoadFour(at(std::max(x - r, 0)));
    const TFourPixels passing = LoadFour(at(x + 1));
    for (int n = 0; n < 4; ++n) {
      const __m128i t = _mm_add_epi32(diff[n], entering.V[n]);
      sum[n] = _mm_add_epi32(sum[n], t);
      diff[n] = _mm_sub_epi32(_mm_sub_epi32(_mm_add_epi32(t, leaving.V[n]), passing.V[n]), passing.V[n]);
    }
  }
}

// Dst row k, column i := Src row i, column k, for a 4 x 4 block of pixels.
inline void Transpose4x4(const uint32_t* Src, ptrdiff_t SrcStride, uint32_t* Dst, ptrdiff_t DstStride) {
  auto load = [&](int k) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(Src + k * SrcStride)); };
  auto store = [&](int k, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(Dst + k * DstStride), v); };
  const __m128i r0 = load(0), r1 = load(1), r2 = load(2), r3 = load(3);
  const __m128i t0 = _mm_unpacklo_epi32(r0, r1), t1 = _mm_unpacklo_epi32(r2, r3);
  const __m128i t2 = _mm_unpackhi_epi32(r0, r1), t3 = _mm_unpackhi_epi32(r2, r3);
  store(0, _mm_unpacklo_epi64(t0, t1));
  store(1, _mm_unpackhi_epi64(t0, t1));
  store(2, _mm_unpacklo_epi64(t2, t3));
  store(3, _mm_unpackhi_epi64(t2, t3));
}

// Eight rows of Width pixels (Stride apart) to Width groups of eight (group x holds column
// x of the rows), and back.
void RowsToGroups(const uint32_t* Rows, ptrdiff_t Stride, int Width, uint32_t* Groups) {
  int x = 0;
  for (; x + 4 <= Width; x += 4)
    for (int k = 0; k < 8; k += 4) Transpose4x4(Rows + k * Stride + x, Stride, Groups + x * 8 + k, 8);
  for (; x < Width; ++x)
    for (int k = 0; k < 8; ++k) Groups[x * 8 + k] = Rows[k * Stride + x];
}

void GroupsToRows(const uint32_t* Groups, int Width, uint32_t* Rows, ptrdiff_t Stride) {
  int x = 0;
  for (; x + 4 <= Width; x += 4)
    for (int k = 0; k < 8; k += 4) Transpose4x4(Groups + x * 8 + k, 8, Rows + k * Stride + x, Stride);
  for (; x < Width; ++x)
    for (int k = 0; k < 8; ++k) Rows[k * Stride + x] = Groups[x * 8 + k];
}

// The blur in vector lanes, 16-bit up to radius 15 and 32-bit above; false (nothing done)
// for a picture narrower or lower than eight pixels. The last band of rows and the last
// group of columns are moved back to end at the picture's edge: they overlap the one
// before and compute the same values again.
bool BlurInLanes(uint32_t* Pixels, int Width, int Height, int Stride, int r) {
  if (Width < 8 || Height < 8) return false;
  const TStackBlurLaneDivider narrow(r);
  const TStackBlurDivider wide(r);
  if (!narrow.Valid() && wide.Multiplier() > 0xFFFFFFFFu) return false;
  // Eight lines at once: position i of them is the eight pixels at Src + i * SrcStep.
  auto eightLines = [&](const uint32_t* Src, ptrdiff_t SrcStep, uint32_t* Dst, ptrdiff_t DstStep, int Count,
                        uint32_t Alpha) {
    if (narrow.Valid()) {
      TentEightLines(Src, SrcStep, Dst, DstStep, Count, r, narrow, Alpha);
    } else {
      TentFourLines(Src, SrcStep, Dst, DstStep, Count, r, wide, Alpha);
      TentFourLines(Src + 4, SrcStep, Dst + 4, DstStep, Count, r, wide, Alpha);
    }
  };
  const size_t w = size_t(Width);
  const auto rows = std::make_unique_for_overwrite<uint32_t[]>(w * size_t(Height));
  const auto band = std::make_unique_for_overwrite<uint32_t[]>(w * 16);
  uint32_t* groups = band.get();
  uint32_t* blurred = groups + w * 8;
  for (int top = 0; top < Height; top += 8) {
    const int y = std::min(top, Height - 8);
    RowsToGroups(Pixels + size_t(y) * size_t(Stride), Stride, Width, groups);
    eightLines(groups, 8, blurred, 8, Width, 0);
    GroupsToRows(blurred, Width, rows.get() + size_t(y) * w, Width);
  }
  for (int left = 0; left < Width; left += 8) {
    const int x = std::min(left, Width - 8);
    eightLines(rows.get() + x, Width, Pixels + x, Stride, Height, 0xFF000000u);
  }
  return true;
}
#endif

}  // namespace

void StackBlurPixels(uint32_t* Pixels, int Width, int Height, int Stride, int Radius) {
  if (!Pixels || Radius <= 0 || Width <= 0 || Height <= 0 || Stride < Width) return;
  const int r = std::min(Radius, StackBlurMaxRadius);
#if defined(__SSE2__)
  if (BlurInLanes(Pixels, Width, Height, Stride, r)) return;
#endif
  const TStackBlurDivider div(r);
  std::vector<uint32_t> rows(size_t(Width) * size_t(Height));
  BlurRows(Pixels, Width, Height, Stride, r, div, rows.data());
  BlurColumns(rows.data(), Width, Height, r, div, Pixels, Stride);
}

void StackBlur(TBitmap* Bitmap, int Radius) {
  if (!Bitmap || Bitmap->Empty() || Radius <= 0) return;
  const int w = Bitmap->Width();
  const int h = Bitmap->Height();
  // Rows are contiguous and top-down: row 0 starts the whole image.
  StackBlurPixels(static_cast<uint32_t*>(Bitmap->ScanLine(0)), w, h, w, Radius);
}
