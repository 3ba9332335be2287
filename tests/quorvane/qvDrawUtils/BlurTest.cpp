#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "qvDrawUtils/Blur.h"
#include "vcl/Graphics.h"

namespace {

// Weight of the tent kernel of radius r at offset k.
int Tent(int r, int k) { return std::abs(k) <= r ? r + 1 - std::abs(k) : 0; }

// The filter as written: along each row every channel becomes
// (sum over k = -r..r of (r + 1 - |k|) * channel at clamp(x + k)) div (r + 1)^2, then the
// same along each column of that result; alpha 255.
std::vector<uint32_t> ReferenceBlur(const std::vector<uint32_t>& In, int W, int H, int r) {
  const int64_t d = int64_t(r + 1) * (r + 1);
  std::vector<uint32_t> rows(In.size()), out(In.size());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint32_t p = 0;
      for (int shift : {16, 8, 0}) {
        int64_t sum = 0;
        for (int k = -r; k <= r; ++k)
          sum += Tent(r, k) * int64_t((In[y * W + std::clamp(x + k, 0, W - 1)] >> shift) & 0xFF);
        p |= uint32_t(sum / d) << shift;
      }
      rows[y * W + x] = p;
    }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      uint32_t p = 0xFF000000u;
      for (int shift : {16, 8, 0}) {
        int64_t sum = 0;
        for (int k = -r; k <= r; ++k)
          sum += Tent(r, k) * int64_t((rows[std::clamp(y + k, 0, H - 1) * W + x] >> shift) & 0xFF);
        p |= uint32_t(sum / d) << shift;
      }
      out[y * W + x] = p;
    }
  return out;
}

class DrawUtilsBlurTest : public ::testing::Test {
 protected:
  static void Put(TBitmap& B, const std::vector<uint32_t>& Pixels) {
    std::copy(Pixels.begin(), Pixels.end(), static_cast<uint32_t*>(B.ScanLine(0)));
  }
  static std::vector<uint32_t> Get(TBitmap& B) {
    const auto* p = static_cast<const uint32_t*>(B.ScanLine(0));
    return {p, p + size_t(B.Width()) * size_t(B.Height())};
  }
  static void Make(TBitmap& B, int W, int H) {
    B.SetPixelFormat(pf32bit);
    B.SetSize(W, H);
  }
};

TEST_F(DrawUtilsBlurTest, DividerIsExactForEverySumAtSmallRadii) {
  for (int r = 0; r <= 64; ++r) {
    const TStackBlurDivider div(r);
    const uint32_t d = uint32_t((r + 1) * (r + 1));
    ASSERT_EQ(div.Divisor(), d);
    uint32_t bad = 0;
    for (uint32_t n = 0; n <= 255 * d; ++n)
      if (div(n) != n / d) ++bad;
    EXPECT_EQ(bad, 0u) << "radius " << r;
  }
}

TEST_F(DrawUtilsBlurTest, DividerIsExactForEverySumAtTheGlowRadii) {
  // The largest glow size (a byte) exhaustively; the largest radius around every step of
  // the quotient, where a multiply-shift that is off by one would show.
  const TStackBlurDivider div255(255);
  const uint32_t d255 = 256 * 256;
  uint32_t bad = 0;
  for (uint32_t n = 0; n <= 255 * d255; ++n)
    if (div255(n) != n / d255) ++bad;
  EXPECT_EQ(bad, 0u);

  for (int r : {100, 1000, 2000, StackBlurMaxRadius}) {
    const TStackBlurDivider div(r);
    const uint64_t d = uint64_t(r + 1) * uint64_t(r + 1);
    for (uint64_t q = 0; q <= 255; ++q)
      for (uint64_t n : {q * d, q * d + 1, q * d + d / 2, q * d + d - 2, q * d + d - 1}) {
        if (n > 255 * d) continue;
        ASSERT_EQ(div(uint32_t(n)), n / d) << "radius " << r << " sum " << n;
      }
  }
}

TEST_F(DrawUtilsBlurTest, LaneDividerIsExactInSixteenBitsUpToRadiusFifteen) {
  for (int r = 1; r <= 15; ++r) {
    const TStackBlurLaneDivider div(r);
    ASSERT_TRUE(div.Valid()) << "radius " << r;
    const uint32_t d = uint32_t((r + 1) * (r + 1));
    uint32_t bad = 0;
    for (uint32_t n = 0; n <= 255 * d; ++n) {
      // What 16-bit lanes compute: a shift, the high half of the product, a shift.
      const uint32_t high = ((n >> div.PreShift()) * div.Multiplier()) >> 16;
      if (high >> div.Shift() != n / d || div(n) != n / d) ++bad;
    }
    EXPECT_EQ(bad, 0u) << "radius " << r;
  }
  // Beyond 15 the sums need more than 16 bits; radius 0 blurs nothing.
  for (int r : {16, 255, 0, -1}) EXPECT_FALSE(TStackBlurLaneDivider(r).Valid()) << r;
}

TEST_F(DrawUtilsBlurTest, DividerFitsThirtyTwoBitLanesAtEveryRadius) {
  // 32-bit lanes multiply a sum by the multiplier into a 64-bit product and shift that:
  // the multiplier must fit 32 bits, and the quotient must be exact around every step.
  for (int r = 0; r <= StackBlurMaxRadius; ++r) {
    const TStackBlurDivider div(r);
    ASSERT_LE(div.Multiplier(), 0xFFFFFFFFu) << "radius " << r;
    ASSERT_LT(div.Shift(), 64) << "radius " << r;
    const uint64_t d = uint64_t(r + 1) * uint64_t(r + 1);
    for (uint64_t q = 0; q <= 255; ++q)
      for (uint64_t n : {q * d, q * d + d - 1}) {
        if (n > 255 * d) continue;
        const uint64_t lanes = (uint64_t(uint32_t(n)) * uint32_t(div.Multiplier())) >> div.Shift();
        ASSERT_EQ(lanes, n / d) << "radius " << r << " sum " << n;
      }
  }
}

TEST_F(DrawUtilsBlurTest, SingleWhitePixelSpreadsAsTheTentKernel) {
  for (int r : {1, 2, 5, 10}) {
    const int size = 2 * r + 7;  // room around the pixel, no edge in reach
    const int c = size / 2;
    TBitmap b;
    Make(b, size, size);
    std::vector<uint32_t> pixels(size * size, 0xFF000000u);
    pixels[c * size + c] = 0xFFFFFFFFu;
    Put(b, pixels);
    StackBlur(&b, r);
    const int d = (r + 1) * (r + 1);
    const std::vector<uint32_t> out = Get(b);
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        // The row pass leaves 255 * w(dx) div d in the pixel's row; the column pass
        // spreads that by w(dy).
        const uint32_t v = uint32_t(Tent(r, y - c) * (255 * Tent(r, x - c) / d) / d);
        ASSERT_EQ(out[y * size + x], 0xFF000000u | v << 16 | v << 8 | v) << "r " << r << " at " << x << "," << y;
      }
  }
}

TEST_F(DrawUtilsBlurTest, MatchesTheFilterOnRandomPicturesWithEdges) {
  struct Case {
    int W, H, Radius;
  };
  // Narrow and short pictures put the edges inside the kernel on both sides.
  const Case cases[] = {{17, 13, 1}, {17, 13, 3}, {31, 9, 7}, {5, 40, 12},
                        {1, 9, 4},   {9, 1, 4},   {1, 1, 3},  {6, 5, 255}};
  std::mt19937 rng(20240611);
  for (const Case& c : cases) {
    std::vector<uint32_t> pixels(size_t(c.W) * c.H);
    for (uint32_t& p : pixels) p = rng();
    TBitmap b;
    Make(b, c.W, c.H);
    Put(b, pixels);
    StackBlur(&b, c.Radius);
    EXPECT_EQ(Get(b), ReferenceBlur(pixels, c.W, c.H, c.Radius)) << c.W << " x " << c.H << " r " << c.Radius;
  }
}

TEST_F(DrawUtilsBlurTest, MatchesTheFilterAtEveryRadiusAndSizeOfTheFastPath) {
  // Pictures of eight pixels and more each way are blurred eight lines at a time: bands of
  // rows whose last one overlaps the one before, groups of columns likewise. Every radius
  // up to 16 (the lanes stop at 15; each radius divides in its own way), sizes around the
  // band and group widths, rows wider than the picture, and saturated pictures for the
  // largest sums.
  std::mt19937 rng(4242);
  const int sizes[] = {8, 9, 12, 15, 16, 17, 23, 40};
  for (int r = 1; r <= 16; ++r)
    for (int n = 0; n < 6; ++n) {
      const int W = sizes[rng() % 8], H = sizes[rng() % 8], stride = W + int(rng() % 3);
      const bool saturated = n == 0;
      std::vector<uint32_t> all(size_t(stride) * H);
      for (uint32_t& p : all) p = saturated ? 0x00FFFFFFu | (rng() & 0xFF000000u) : uint32_t(rng());
      std::vector<uint32_t> picture;
      for (int y = 0; y < H; ++y) picture.insert(picture.end(), all.begin() + y * stride, all.begin() + y * stride + W);
      std::vector<uint32_t> blurred = all;
      StackBlurPixels(blurred.data(), W, H, stride, r);
      const std::vector<uint32_t> expected = ReferenceBlur(picture, W, H, r);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < stride; ++x) {
          const uint32_t want = x < W ? expected[y * W + x] : all[y * stride + x];
          ASSERT_EQ(blurred[y * stride + x], want) << W << " x " << H << " stride " << stride << " r " << r << " at " << x
                                                   << "," << y;
        }
    }
}

TEST_F(DrawUtilsBlurTest, MatchesTheFilterAboveRadiusFifteen) {
  // Above 15 the lanes are 32 bits wide. Sizes around the band and group widths, pictures
  // narrower and lower than the radius (the kernel reaches past both edges from every
  // position), rows wider than the picture, and saturated pictures for the largest sums.
  struct Case {
    int W, H;
  };
  const Case sizes[] = {{8, 8}, {9, 17}, {23, 12}, {40, 33}, {16, 70}};
  std::mt19937 rng(9161);
  for (int r : {16, 17, 31, 64, 255, StackBlurMaxRadius})
    for (const Case& c : sizes)
      for (bool saturated : {false, true}) {
        if (r == StackBlurMaxRadius && c.W * c.H > 400) continue;  // the reference is slow there
        const int W = c.W, H = c.H, stride = W + int(rng() % 3);
        std::vector<uint32_t> all(size_t(stride) * H);
        for (uint32_t& p : all) p = saturated ? 0x00FFFFFFu | (rng() & 0xFF000000u) : uint32_t(rng());
        std::vector<uint32_t> picture;
        for (int y = 0; y < H; ++y)
          picture.insert(picture.end(), all.begin() + y * stride, all.begin() + y * stride + W);
        std::vector<uint32_t> blurred = all;
        StackBlurPixels(blurred.data(), W, H, stride, r);
        const std::vector<uint32_t> expected = ReferenceBlur(picture, W, H, r);
        for (int y = 0; y < H; ++y)
          for (int x = 0; x < stride; ++x) {
            const uint32_t want = x < W ? expected[y * W + x] : all[y * stride + x];
            ASSERT_EQ(blurred[y * stride + x], want)
                << W << " x " << H << " stride " << stride << " r " << r << " at " << x << "," << y;
          }
      }
}

TEST_F(DrawUtilsBlurTest, RadiusAboveTheLimitIsTheLimit) {
  std::mt19937 rng(7);
  std::vector<uint32_t> pixels(8 * 3);
  for (uint32_t& p : pixels) p = rng();
  TBitmap b;
  Make(b, 8, 3);
  Put(b, pixels);
  StackBlur(&b, 1 << 30);
  EXPECT_EQ(Get(b), ReferenceBlur(pixels, 8, 3, StackBlurMaxRadius));
}

TEST_F(DrawUtilsBlurTest, NoRadiusLeavesThePixelsAlone) {
  std::vector<uint32_t> pixels = {0x10203040u, 0x00FFFFFFu, 0x80000000u, 0x7F123456u};
  for (int r : {0, -1, -1000}) {
    TBitmap b;
    Make(b, 2, 2);
    Put(b, pixels);
    StackBlur(&b, r);
    EXPECT_EQ(Get(b), pixels) << r;
  }
  // Null and empty bitmaps are no-ops.
  StackBlur(nullptr, 3);
  TBitmap empty;
  StackBlur(&empty, 3);
  EXPECT_TRUE(empty.Empty());
}

TEST_F(DrawUtilsBlurTest, OtherFormatsAreBlurredAndKeepTheirFormat) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(9, 9);  // opaque white
  b.Canvas()->SetPixels(4, 4, clBlack);
  StackBlur(&b, 2);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  // r = 2, d = 9: the row pass leaves 255 - 255 * 3 / 9 in the centre (weight 3 of 9)
  // and 255 elsewhere; the column pass weighs the centre 3 and the rest 6 of 9.
  const uint32_t centre = static_cast<uint32_t*>(b.ScanLine(4))[4];
  EXPECT_EQ(centre & 0xFF, uint32_t(3 * (255 - 255 * 3 / 9) + 6 * 255) / 9);
  EXPECT_EQ(centre >> 24, 255u);
}

}  // namespace
