// Copying between device contexts: BitBlt, StretchBlt, AlphaBlend and TransparentBlt.
//
// Rules shared by the four calls:
// - Both rectangles are in their DC's logical coordinates (origins apply); every
//   destination pixel is written through the destination DC's clip.
// - A negative extent runs from the given coordinate towards smaller ones: x = 10 with
//   width -3 covers x = 8, 9, 10. When the signs of a destination and a source extent
//   differ the picture is mirrored along that axis (StretchBlt; BitBlt has one extent per
//   axis for both sides, so it never mirrors).
// - Stretching picks, for destination offset i of a run of dw pixels, source offset
//   floor((2 i + 1) sw / (2 dw)) in the run of sw pixels: the source pixel under the
//   destination pixel's centre. A mirrored run is the mirror image of the plain one:
//   destination offset dw - 1 - i gets what offset i would get.
// - Destination pixels whose source pixel lies outside the source surface are left as
//   they are (BitBlt, StretchBlt, TransparentBlt); AlphaBlend refuses such a rectangle.
// - Source and destination may share a surface; an overlapping source is read from a
//   copy taken before anything is written, so the result is that of memmove.
#include "Blit.h"

#include <pixman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Raster.h"

namespace {

constexpr uint32_t kAlpha = 0xFF000000u;
constexpr uint32_t kColor = 0x00FFFFFFu;

// ---- geometry ----

struct Offset {
  int64_t X = 0;
  int64_t Y = 0;
};

// Logical to surface coordinates, kept in 64 bits so that no caller's numbers overflow.
Offset SurfaceOffset(const GdiDC* dc) {
  return {int64_t(dc->S.ViewportOrg.X) - dc->S.WindowOrg.X + dc->DeviceOrigin.X,
          int64_t(dc->S.ViewportOrg.Y) - dc->S.WindowOrg.Y + dc->DeviceOrigin.Y};
}

void Normalize(int64_t& start, int64_t& length) {
  if (length < 0) {
    start += length + 1;
    length = -length;
  }
}

// One axis of a blit, surface coordinates: destination [Dst, Dst + Len), source
// [Src, Src + SrcLen), both normalised. Of the destination, the pixels First ..
// First + Count - 1 lie inside the clip's extents and have a source pixel on the source
// surface: source coordinate d + Shift when Direct, else Map[d - First].
struct AxisPlan {
  int64_t Dst = 0, Len = 0, Src = 0, SrcLen = 0;
  bool Mirror = false;
  int First = 0;
  int Count = 0;
  bool Direct = false;
  int Shift = 0;
  std::vector<int> Map;
  int SrcMin = 0, SrcEnd = 0;  // the source coordinates used: [SrcMin, SrcEnd)

  int Source(int d) const { return Direct ? d + Shift : Map[size_t(d - First)]; }
};

AxisPlan PlanAxis(int64_t dst, int64_t len, int64_t src, int64_t srcLen, int lo, int hi, int srcLimit) {
  AxisPlan a;
  a.Mirror = (len < 0) != (srcLen < 0);
  Normalize(dst, len);
  Normalize(src, srcLen);
  a.Dst = dst;
  a.Len = len;
  a.Src = src;
  a.SrcLen = srcLen;
  if (len == 0 || srcLen == 0) return a;
  int64_t b0 = std::max<int64_t>(dst, lo), b1 = std::min<int64_t>(dst + len, hi);
  if (len == srcLen && !a.Mirror) {
    const int64_t shift = src - dst;
    b0 = std::max<int64_t>(b0, -shift);
    b1 = std::min<int64_t>(b1, srcLimit - shift);
    if (b0 >= b1) return a;
    // Both ends lie on the surfaces, so the numbers fit in an int.
    a.First = int(b0);
    a.Count = int(b1 - b0);
    a.Direct = true;
    a.Shift = int(shift);
    a.SrcMin = a.First + a.Shift;
    a.SrcEnd = a.SrcMin + a.Count;
    return a;
  }
  // len <= 2^31, so (2k + 1) * srcLen stays below 2^63.
  std::vector<int64_t> map;
  if (b1 > b0) map.reserve(size_t(b1 - b0));
  for (int64_t d = b0; d < b1; ++d) {
    const int64_t k = a.Mirror ? len - 1 - (d - dst) : d - dst;
    map.push_back(src + (2 * k + 1) * srcLen / (2 * len));
  }
  // The map is monotonic, so the pixels with a source on the surface are one run.
  size_t i0 = 0, i1 = map.size();
  while (i0 < i1 && (map[i0] < 0 || map[i0] >= srcLimit)) ++i0;
  while (i1 > i0 && (map[i1 - 1] < 0 || map[i1 - 1] >= srcLimit)) --i1;
  if (i0 == i1) return a;
  a.First = int(b0 + int64_t(i0));
  a.Count = int(i1 - i0);
  a.Map.assign(map.begin() + ptrdiff_t(i0), map.begin() + ptrdiff_t(i1));
  const auto [mn, mx] = std::minmax_element(a.Map.begin(), a.Map.end());
  a.SrcMin = *mn;
  a.SrcEnd = *mx + 1;
  return a;
}

// ---- reading source pixels ----

// Read access to pixels of a surface or of a copy of part of one: the pixel at surface
// coordinates (x, y) is Row(y)[x - X0].
struct ImageView {
  const uint8_t* Base = nullptr;  // pixel (X0, Y0)
  ptrdiff_t Stride = 0;
  int X0 = 0, Y0 = 0;

  static ImageView Of(const Surface& s) {
    ImageView v;
    v.Base = reinterpret_cast<const uint8_t*>(s.Row(0));
    v.Stride = s.BottomUp() ? -ptrdiff_t(s.Stride()) : ptrdiff_t(s.Stride());
    return v;
  }
  const uint32_t* Row(int y) const { return reinterpret_cast<const uint32_t*>(Base + ptrdiff_t(y - Y0) * Stride); }
};

// Copies the source pixels [x0, x1) x [y0, y1) (surface coordinates) into a new top-down
// surface.
std::unique_ptr<Surface> CopyArea(const Surface& s, int x0, int y0, int x1, int y1) {
  auto copy = std::make_unique<Surface>(x1 - x0, y1 - y0, false, s.HasAlpha());
  for (int y = y0; y < y1; ++y) std::memcpy(copy->Row(y - y0), s.Row(y) + x0, size_t(x1 - x0) * 4);
  return copy;
}

ImageView ViewOfCopy(const Surface& copy, int x0, int y0) {
  ImageView v = ImageView::Of(copy);
  v.X0 = x0;
  v.Y0 = y0;
  return v;
}

// The source pixels for a destination span, gathered through the axis maps when the
// blit stretches or mirrors.
class SourceReader {
 public:
  SourceReader(const ImageView& view, const AxisPlan& x, const AxisPlan& y)
      : FView(view), FX(x), FY(y), FScratch(x.Direct ? 0 : size_t(x.Count)) {}

  const uint32_t* Span(int x0, int x1, int y) {
    const uint32_t* row = FView.Row(FY.Source(y));
    if (FX.Direct) return row + (x0 + FX.Shift - FView.X0);
    uint32_t* out = FScratch.data();
    const int* map = FX.Map.data() + (x0 - FX.First);
    for (int i = 0, n = x1 - x0; i < n; ++i) out[i] = row[map[i] - FView.X0];
    return out;
  }

 private:
  ImageView FView;
  const AxisPlan& FX;
  const AxisPlan& FY;
  std::vector<uint32_t> FScratch;
};

// An axis that reads a resampled picture laid out exactly like the destination run.
AxisPlan IdentityAxis(const AxisPlan& a) {
  AxisPlan id;
  id.First = a.First;
  id.Count = a.Count;
  id.Direct = true;
  return id;
}

// Pixman's coordinates are 16.16 fixed point.
constexpr int64_t kMaxSmooth = 32767;

bool CanSmooth(const AxisPlan& x, const AxisPlan& y) {
  for (const AxisPlan* a : {&x, &y})
    if (a->Len > kMaxSmooth || a->SrcLen > kMaxSmooth) return false;
  return true;
}

// HALFTONE resampling of the source for the destination pixels of the plans: an
// area-averaging box filter along an axis that shrinks (each source pixel weighs what
// of it the destination pixel's footprint covers) and bilinear interpolation along an
// axis that grows, both by pixman's separable convolution; the source rectangle's edge
// pixels extend outwards. An opaque source reads as alpha 255. The result is top-down,
// x.Count by y.Count.
std::unique_ptr<Surface> Resample(const Surface& src, bool opaque, const AxisPlan& x, const AxisPlan& y) {
  // Only the source rectangle on the surface takes part; a top-down copy of it.
  const int cx0 = int(std::max<int64_t>(x.Src, 0)), cx1 = int(std::min<int64_t>(x.Src + x.SrcLen, src.Width()));
  const int cy0 = int(std::max<int64_t>(y.Src, 0)), cy1 = int(std::min<int64_t>(y.Src + y.SrcLen, src.Height()));
  std::unique_ptr<Surface> copy = CopyArea(src, cx0, cy0, cx1, cy1);
  auto out = std::make_unique<Surface>(x.Count, y.Count);

  pixman_image_t* in = pixman_image_create_bits(opaque ? PIXMAN_x8r8g8b8 : PIXMAN_a8r8g8b8, copy->Width(),
                                                copy->Height(), reinterpret_cast<uint32_t*>(copy->Bits()),
                                                copy->Stride());
  pixman_image_t* to = pixman_image_create_bits(PIXMAN_a8r8g8b8, out->Width(), out->Height(),
                                                reinterpret_cast<uint32_t*>(out->Bits()), out->Stride());
  if (in && to) {
    // Destination pixel k of a run (centre k + 0.5) samples the source at
    // Src + (k + 0.5) * SrcLen / Len; output pixel u is destination pixel First + u.
    pixman_transform_t t;
    pixman_transform_init_identity(&t);
    const AxisPlan* axes[2] = {&x, &y};
    const int origin[2] = {cx0, cy0};
    for (int i = 0; i < 2; ++i) {
      const AxisPlan& a = *axes[i];
      const double scale = double(a.SrcLen) / double(a.Len);
      const double skipped = double(a.First - a.Dst);
      const double base = double(a.Src - origin[i]);
      t.matrix[i][i] = pixman_double_to_fixed(a.Mirror ? -scale : scale);
      t.matrix[i][2] = pixman_double_to_fixed(a.Mirror ? base + (double(a.Len) - skipped) * scale : base + skipped * scale);
    }
    pixman_image_set_transform(in, &t);
    pixman_image_set_repeat(in, PIXMAN_REPEAT_PAD);
    // Pixman quantises the sample position to 2^bits phases; a box footprint needs fine
    // phases or it leaks a visible share of the next pixel.
    const bool shrinkX = x.SrcLen > x.Len, shrinkY = y.SrcLen > y.Len;
    if (!shrinkX && !shrinkY) {
      pixman_image_set_filter(in, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    } else {
      int n = 0;
      pixman_fixed_t* params = pixman_filter_create_separable_convolution(
          &n, pixman_double_to_fixed(double(x.SrcLen) / double(x.Len)),
          pixman_double_to_fixed(double(y.SrcLen) / double(y.Len)), shrinkX ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_LINEAR,
          shrinkY ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_LINEAR, shrinkX ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE,
          shrinkY ? PIXMAN_KERNEL_BOX : PIXMAN_KERNEL_IMPULSE, shrinkX ? 6 : 4, shrinkY ? 6 : 4);
      if (params) {
        pixman_image_set_filter(in, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
        std::free(params);
      } else {
        pixman_image_set_filter(in, PIXMAN_FILTER_BILINEAR, nullptr, 0);
      }
    }
    pixman_image_composite32(PIXMAN_OP_SRC, in, nullptr, to, 0, 0, 0, 0, 0, 0, out->Width(), out->Height());
  }
  if (in) pixman_image_unref(in);
  if (to) pixman_image_unref(to);
  return out;
}

// ---- raster operations ----

// The rop code is the truth table over pattern 0xF0, source 0xCC and destination 0xAA.
constexpr bool UsesSource(unsigned code) { return ((code >> 2) & 0x33u) != (code & 0x33u); }
constexpr bool UsesPattern(unsigned code) { return ((code >> 4) & 0x0Fu) != (code & 0x0Fu); }
constexpr bool UsesDest(unsigned code) { return ((code >> 1) & 0x55u) != (code & 0x55u); }

// The binary operation of a code that ignores the source (R2_* value).
int Rop2Of(unsigned code) {
  const unsigned table = (code & 3u) | ((code >> 2) & 0xCu);
  return int(table) + 1;
}

inline uint32_t Rop3(uint32_t p, uint32_t s, uint32_t d, unsigned code) {
  uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i)
    if ((code >> i) & 1u) r |= ((i & 4u) ? p : ~p) & ((i & 2u) ? s : ~s) & ((i & 1u) ? d : ~d);
  return r;
}

// What the final write of a BitBlt or StretchBlt does. Alpha: SRCCOPY copies the four
// bytes (alpha 255 from an opaque source); every other operation that ignores the
// destination writes alpha 255 (NOTSRCCOPY included: an inverted colour under the old
// alpha would not be a valid premultiplied pixel); operations that read the
// destination work on the colour bytes and keep its alpha.
struct RopPlan {
  unsigned Code = 0xCC;
  uint32_t Pattern = 0;
  bool OpaqueSource = false;
};

void WriteSpan(uint32_t* d, const uint32_t* s, int n, const RopPlan& r) {
  switch (r.Code) {
    case 0xCC:  // SRCCOPY
      if (r.OpaqueSource)
        for (int i = 0; i < n; ++i) d[i] = s[i] | kAlpha;
      else
        std::memcpy(d, s, size_t(n) * 4);
      return;
    case 0xEE:  // SRCPAINT
      for (int i = 0; i < n; ++i) d[i] |= s[i] & kColor;
      return;
    case 0x88:  // SRCAND
      for (int i = 0; i < n; ++i) d[i] &= s[i] | kAlpha;
      return;
    case 0x66:  // SRCINVERT
      for (int i = 0; i < n; ++i) d[i] ^= s[i] & kColor;
      return;
    default: {
      const uint32_t keep = UsesDest(r.Code) ? kAlpha : 0u;
      for (int i = 0; i < n; ++i)
        d[i] = (Rop3(r.Pattern, s[i], d[i], r.Code) & kColor) | (d[i] & keep) | (~keep & kAlpha);
      return;
    }
  }
}

RECT ClampedRect(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const RECT& limit) {
  return {int(std::clamp<int64_t>(x0, limit.Left, limit.Right)), int(std::clamp<int64_t>(y0, limit.Top, limit.Bottom)),
          int(std::clamp<int64_t>(x1, limit.Left, limit.Right)), int(std::clamp<int64_t>(y1, limit.Top, limit.Bottom))};
}

// Operations that ignore the source. BLACKNESS, WHITENESS, DSTINVERT and PATCOPY with a
// solid brush have their own loops; the rest paint the DC's brush through the matching
// binary operation (raster::PaintShape: hatched brushes keep their hatch, a null brush
// paints nothing).
void BlitWithoutSource(GdiDC* dc, const RECT& area, unsigned code) {
  switch (code) {
    case 0xAA: return;  // the destination as it is
    case 0x00:          // BLACKNESS
    case 0xFF:          // WHITENESS
    {
      const uint32_t v = code ? 0xFFFFFFFFu : kAlpha;
      raster::ForEachSpan(dc, area, [&](uint32_t* row, int x0, int x1, int) { std::fill(row + x0, row + x1, v); });
      return;
    }
    case 0x55:  // DSTINVERT
      raster::ForEachSpan(dc, area, [&](uint32_t* row, int x0, int x1, int) {
        for (int x = x0; x < x1; ++x) row[x] ^= kColor;
      });
      return;
    default: break;
  }
  const GdiBrush* brush = dc->S.Brush;
  if (code == 0xF0 && brush && brush->Style == BS_SOLID) {
    const uint32_t v = PixelFromColorRef(raster::BrushColor(dc, brush));
    raster::ForEachSpan(dc, area, [&](uint32_t* row, int x0, int x1, int) { std::fill(row + x0, row + x1, v); });
    return;
  }
  raster::PaintShape(dc, Region(area), brush, Rop2Of(code));
}

bool SameArea(const Surface* a, const Surface* b, const RECT& ra, const RECT& rb) {
  RECT common;
  return a == b && IntersectRect(&common, &ra, &rb);
}

struct BlitEnds {
  GdiDC* Dst = nullptr;
  Surface* DstSurface = nullptr;
  GdiDC* Src = nullptr;
  Surface* SrcSurface = nullptr;
};

bool OpenDC(HDC h, GdiDC** dc, Surface** s) {
  *dc = LiveDC(h);
  *s = *dc ? (*dc)->GetSurface() : nullptr;
  return *s != nullptr;
}

// Plans both axes of a blit from logical coordinates; false when nothing is to be drawn.
bool PlanBlit(const BlitEnds& e, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy, int64_t sw,
              int64_t sh, AxisPlan* px, AxisPlan* py) {
  const Region& clip = e.Dst->EffectiveClip();
  if (clip.IsEmpty()) return false;
  const RECT lim = clip.Extents();
  const Offset d = SurfaceOffset(e.Dst), s = SurfaceOffset(e.Src);
  *px = PlanAxis(x + d.X, w, sx + s.X, sw, lim.Left, lim.Right, e.SrcSurface->Width());
  *py = PlanAxis(y + d.Y, h, sy + s.Y, sh, lim.Top, lim.Bottom, e.SrcSurface->Height());
  return px->Count > 0 && py->Count > 0;
}

RECT TargetRect(const AxisPlan& x, const AxisPlan& y) {
  return {x.First, y.First, x.First + x.Count, y.First + y.Count};
}

// Where the source pixels of a plan are read from: the surface itself, a copy of the
// part that the destination overlaps, or a resampled picture (smooth).
struct PreparedSource {
  std::unique_ptr<Surface> Copy;
  ImageView View;
  AxisPlan IdX, IdY;
  bool Resampled = false;
};

void PrepareSource(const BlitEnds& e, const AxisPlan& x, const AxisPlan& y, bool smooth, bool opaque,
                   PreparedSource* p) {
  const bool stretched = !(x.Direct && y.Direct);
  if (smooth && stretched && CanSmooth(x, y)) {
    p->Copy = Resample(*e.SrcSurface, opaque, x, y);
    p->View = ViewOfCopy(*p->Copy, x.First, y.First);
    p->IdX = IdentityAxis(x);
    p->IdY = IdentityAxis(y);
    p->Resampled = true;
    return;
  }
  const RECT used{x.SrcMin, y.SrcMin, x.SrcEnd, y.SrcEnd};
  if (SameArea(e.SrcSurface, e.DstSurface, used, TargetRect(x, y))) {
    p->Copy = CopyArea(*e.SrcSurface, used.Left, used.Top, used.Right, used.Bottom);
    p->View = ViewOfCopy(*p->Copy, used.Left, used.Top);
  } else {
    p->View = ImageView::Of(*e.SrcSurface);
  }
}

BOOL RopBlit(HDC dst, int64_t x, int64_t y, int64_t w, int64_t h, HDC src, int64_t sx, int64_t sy, int64_t sw,
             int64_t sh, DWORD rop) {
  BlitEnds e;
  if (!OpenDC(dst, &e.Dst, &e.DstSurface)) return FALSE;
  const unsigned code = (rop >> 16) & 0xFFu;
  if (!UsesSource(code)) {
    const Region& clip = e.Dst->EffectiveClip();
    const Offset d = SurfaceOffset(e.Dst);
    int64_t x0 = x + d.X, y0 = y + d.Y;
    Normalize(x0, w);
    Normalize(y0, h);
    const RECT area = ClampedRect(x0, y0, x0 + w, y0 + h, clip.Extents());
    if (!area.IsEmpty()) BlitWithoutSource(e.Dst, area, code);
    return TRUE;
  }
  if (!OpenDC(src, &e.Src, &e.SrcSurface)) return FALSE;
  if (w != 0 && h != 0 && (sw == 0 || sh == 0)) return FALSE;

  RopPlan plan;
  plan.Code = code;
  plan.OpaqueSource = !e.SrcSurface->HasAlpha();
  if (UsesPattern(code)) {
    // The pattern is the brush's colour (a hatched brush counts as solid here); a null
    // brush leaves the destination alone.
    const GdiBrush* brush = e.Dst->S.Brush;
    if (!brush || brush->Style == BS_NULL) return TRUE;
    plan.Pattern = PixelFromColorRef(raster::BrushColor(e.Dst, brush));
  }

  AxisPlan px, py;
  if (!PlanBlit(e, x, y, w, h, sx, sy, sw, sh, &px, &py)) return TRUE;
  const bool smooth = e.Dst->S.StretchMode == HALFTONE;
  PreparedSource source;
  PrepareSource(e, px, py, smooth, plan.OpaqueSource, &source);
  SourceReader reader(source.View, source.Resampled ? source.IdX : px, source.Resampled ? source.IdY : py);
  raster::ForEachSpan(e.Dst, TargetRect(px, py), [&](uint32_t* row, int x0, int x1, int yy) {
    WriteSpan(row + x0, reader.Span(x0, x1, yy), x1 - x0, plan);
  });
  return TRUE;
}

// ---- alpha blending ----

inline uint32_t Div255(uint32_t v) {
  v += 128;
  return (v + (v >> 8)) >> 8;
}

// One pixel of AlphaBlend's source-over; see AlphaBlend for the arithmetic.
inline uint32_t BlendPixel(uint32_t d, uint32_t s, uint32_t ca) {
  uint32_t c[4], a;
  for (int k = 0; k < 4; ++k) c[k] = (s >> (8 * k)) & 0xFFu;
  if (ca != 255)
    for (int k = 0; k < 4; ++k) c[k] = Div255(c[k] * ca);
  a = 255 - c[3];
  uint32_t r = 0;
  for (int k = 0; k < 4; ++k) {
    const uint32_t v = c[k] + Div255(((d >> (8 * k)) & 0xFFu) * a);
    r |= std::min<uint32_t>(v, 255) << (8 * k);
  }
  return r;
}

void BlendSpanPlain(uint32_t* d, const uint32_t* s, int n, uint32_t ca, uint32_t force) {
  for (int i = 0; i < n; ++i) d[i] = BlendPixel(d[i], s[i] | force, ca);
}

#if defined(__SSE2__)
// div255 as (t * 257) >> 16 with t = v + 128: the same number as (t + (t >> 8)) >> 8
// for every t below 65536, in one multiply.
inline __m128i Div255x8(__m128i v) {
  return _mm_mulhi_epu16(_mm_add_epi16(v, _mm_set1_epi16(128)), _mm_set1_epi16(0x0101));
}

// Four pixels at a time, in 16-bit lanes; the same arithmetic as BlendPixel (packus
// saturates where BlendPixel clamps). Groups of four opaque pixels are copied and groups
// of four zero pixels skipped. Scale: the constant alpha is not 255; Force: the source's
// alpha counts as 255.
template <bool Scale, bool Force>
void BlendSpanSse2(uint32_t* d, const uint32_t* s, int n, uint32_t ca) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha = _mm_set1_epi32(int(kAlpha));
  const __m128i ca16 = _mm_set1_epi16(short(ca));
  const __m128i full = _mm_set1_epi16(255);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    if (Force) sv = _mm_or_si128(sv, alpha);
    __m128i lo = _mm_unpacklo_epi8(sv, zero), hi = _mm_unpackhi_epi8(sv, zero);
    if (Scale) {
      lo = Div255x8(_mm_mullo_epi16(lo, ca16));
      hi = Div255x8(_mm_mullo_epi16(hi, ca16));
      sv = _mm_packus_epi16(lo, hi);
    } else {
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(sv, alpha), alpha)) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), sv);
        continue;
      }
      if (_mm_movemask_epi8(_mm_cmpeq_epi32(sv, zero)) == 0xFFFF) continue;
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    const __m128i invLo = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(lo, 0xFF), 0xFF));
    const __m128i invHi = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(hi, 0xFF), 0xFF));
    const __m128i dLo = Div255x8(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), invLo));
    const __m128i dHi = Div255x8(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), invHi));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_packus_epi16(_mm_add_epi16(lo, dLo), _mm_add_epi16(hi, dHi)));
  }
  BlendSpanPlain(d + i, s + i, n - i, ca, Force ? kAlpha : 0u);
}

void BlendSpan(uint32_t* d, const uint32_t* s, int n, uint32_t ca, uint32_t force) {
  if (ca == 255)
    force ? BlendSpanSse2<false, true>(d, s, n, ca) : BlendSpanSse2<false, false>(d, s, n, ca);
  else
    force ? BlendSpanSse2<true, true>(d, s, n, ca) : BlendSpanSse2<true, false>(d, s, n, ca);
}
#else
void BlendSpan(uint32_t* d, const uint32_t* s, int n, uint32_t ca, uint32_t force) {
  BlendSpanPlain(d, s, n, ca, force);
}
#endif

}  // namespace

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  return RopBlit(dst, x, y, width, height, src, srcX, srcY, width, height, rop);
}

// COLORONCOLOR, BLACKONWHITE and WHITEONBLACK pick the nearest source pixel (the three
// differ only for monochrome bitmaps, which are kept as 32-bit pixels here); HALFTONE
// resamples smoothly (see Resample). Stretches longer than 32767 pixels fall back to
// the nearest pixel.
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  return RopBlit(dst, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, rop);
}

// Source-over with premultiplied colours, per channel c of blue, green, red, alpha, all
// integers, where div255(v) = (v + 128 + ((v + 128) >> 8)) >> 8 (v / 255 to nearest):
//   s = the source pixel; without AC_SRC_ALPHA (or from an opaque source) its alpha is 255
//   s'c = div255(s.c * SourceConstantAlpha)       (skipped when the constant is 255)
//   d.c = min(255, s'c + div255(d.c * (255 - s'a)))
// The min only matters for sources that are not validly premultiplied (a colour above
// its alpha). Stretching picks the nearest pixel, or resamples smoothly when the
// destination's stretch mode is HALFTONE. Negative extents, a source rectangle not
// wholly on the source surface, an overlapping rectangle on the same surface, an empty
// source with a non-empty destination and any BlendOp but AC_SRC_OVER are refused.
BOOL AlphaBlend(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, BLENDFUNCTION blend) {
  BlitEnds e;
  if (!OpenDC(dst, &e.Dst, &e.DstSurface) || !OpenDC(src, &e.Src, &e.SrcSurface)) return FALSE;
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || blend.BlendOp != AC_SRC_OVER) return FALSE;
  const Offset so = SurfaceOffset(e.Src), dof = SurfaceOffset(e.Dst);
  const int64_t ssx = srcX + so.X, ssy = srcY + so.Y;
  if (ssx < 0 || ssy < 0 || ssx + srcWidth > e.SrcSurface->Width() || ssy + srcHeight > e.SrcSurface->Height())
    return FALSE;
  if (width == 0 || height == 0) return TRUE;
  if (srcWidth == 0 || srcHeight == 0) return FALSE;
  if (e.SrcSurface == e.DstSurface) {
    const int64_t dx = x + dof.X, dy = y + dof.Y;
    if (dx < ssx + srcWidth && ssx < dx + width && dy < ssy + srcHeight && ssy < dy + height) return FALSE;
  }
  const uint32_t ca = blend.SourceConstantAlpha;
  if (ca == 0) return TRUE;
  const bool opaque = !(blend.AlphaFormat & AC_SRC_ALPHA) || !e.SrcSurface->HasAlpha();

  AxisPlan px, py;
  if (!PlanBlit(e, x, y, width, height, srcX, srcY, srcWidth, srcHeight, &px, &py)) return TRUE;
  PreparedSource source;
  PrepareSource(e, px, py, e.Dst->S.StretchMode == HALFTONE, opaque, &source);
  SourceReader reader(source.View, source.Resampled ? source.IdX : px, source.Resampled ? source.IdY : py);
  const uint32_t force = opaque ? kAlpha : 0u;
  raster::ForEachSpan(e.Dst, TargetRect(px, py), [&](uint32_t* row, int x0, int x1, int yy) {
    BlendSpan(row + x0, reader.Span(x0, x1, yy), x1 - x0, ca, force);
  });
  return TRUE;
}

// Nearest-pixel stretching like StretchBlt; pixels whose colour (alpha aside) is the key
// are skipped, the others are written opaque. Negative extents are refused, as is an
// empty source with a non-empty destination.
BOOL TransparentBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparentColor) {
  BlitEnds e;
  if (!OpenDC(dst, &e.Dst, &e.DstSurface) || !OpenDC(src, &e.Src, &e.SrcSurface)) return FALSE;
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) return FALSE;
  if (width == 0 || height == 0) return TRUE;
  if (srcWidth == 0 || srcHeight == 0) return FALSE;
  AxisPlan px, py;
  if (!PlanBlit(e, x, y, width, height, srcX, srcY, srcWidth, srcHeight, &px, &py)) return TRUE;
  PreparedSource source;
  PrepareSource(e, px, py, false, true, &source);
  SourceReader reader(source.View, px, py);
  const uint32_t key = PixelFromColorRef(transparentColor) & kColor;
  raster::ForEachSpan(e.Dst, TargetRect(px, py), [&](uint32_t* row, int x0, int x1, int yy) {
    const uint32_t* s = reader.Span(x0, x1, yy);
    for (int i = 0, n = x1 - x0; i < n; ++i)
      if ((s[i] & kColor) != key) row[x0 + i] = s[i] | kAlpha;
  });
  return TRUE;
}
