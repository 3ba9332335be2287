#include "qvDrawUtils/Blur.h"

#include <algorithm>
#include <vector>

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

}  // namespace

void StackBlurPixels(uint32_t* Pixels, int Width, int Height, int Stride, int Radius) {
  if (!Pixels || Radius <= 0 || Width <= 0 || Height <= 0 || Stride < Width) return;
  const int r = std::min(Radius, StackBlurMaxRadius);
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
