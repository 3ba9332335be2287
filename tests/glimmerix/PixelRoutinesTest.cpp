// The row routines of the effect bitmap: the blend rule on examples computed by hand and
// by an independent byte-wise formula, the other routines against one-pixel references,
// and the SSE2 form against the plain form on random rows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "gx_bitmap.h"

namespace {

// The blend rule written byte by byte, as the rule states it.
TgxColor ReferenceBlend(TgxColor s, TgxColor d) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  TgxColor out = 0;
  for (int k = 0; k < 4; ++k) {
    const int32_t sb = int32_t((s >> (8 * k)) & 0xFF), db = int32_t((d >> (8 * k)) & 0xFF);
    out |= TgxColor((db * 256 + (sb - db) * int32_t(a)) / 256) << (8 * k);
  }
  return out;
}

std::vector<const TgxPixelRoutines*> AllForms() {
  std::vector<const TgxPixelRoutines*> forms{&gxPlainPixelRoutines()};
  if (const TgxPixelRoutines* sse2 = gxSse2PixelRoutines()) forms.push_back(sse2);
  return forms;
}

struct BlendCase {
  TgxColor Src, Dst, Expected;
};

TEST(PixelRoutines, BlendExamples) {
  const BlendCase cases[] = {
      // Alpha 0 leaves the destination bit for bit, whatever the source's colour.
      {0x00FFFFFF, 0x12345678, 0x12345678},
      {0x00000000, 0xFF00FF00, 0xFF00FF00},
      {0x007F007F, 0x01020304, 0x01020304},
      // Alpha 255 copies the source, its alpha included.
      {0xFF102030, 0x00000000, 0xFF102030},
      {0xFFABCDEF, 0x80FFFFFF, 0xFFABCDEF},
      // Blue 255 at alpha 128 over opaque black: blue 32640 div 256 = 127, alpha
      // (255 * 256 - 127 * 128) div 256 = 191.
      {0x800000FF, 0xFF000000, 0xBF00007F},
      // Alpha 1 over white: 255 * 255 div 256 = 254 for each colour byte.
      {0x01000000, 0xFFFFFFFF, 0xFEFEFEFE},
      // Alpha 254 from white onto transparent black: colours 255 * 254 div 256 = 253,
      // alpha 254 * 254 div 256 = 252.
      {0xFEFFFFFF, 0x00000000, 0xFCFDFDFD},
  };
  for (const BlendCase& c : cases) {
    EXPECT_EQ(gxBlendPixel(c.Src, c.Dst), c.Expected) << std::hex << c.Src << " over " << c.Dst;
    EXPECT_EQ(ReferenceBlend(c.Src, c.Dst), c.Expected) << std::hex << c.Src << " over " << c.Dst;
    for (const TgxPixelRoutines* r : AllForms()) {
      // In a row of 7, so that the vector form's groups and its tail both see the case.
      std::vector<TgxColor> src(7, c.Src), dst(7, c.Dst);
      r->BlendRow(src.data(), dst.data(), 7);
      for (TgxColor p : dst) EXPECT_EQ(p, c.Expected) << r->Name;
    }
  }
}

TEST(PixelRoutines, BlendMatchesTheFormulaForEveryAlpha) {
  std::mt19937 rng(7);
  for (uint32_t a = 0; a < 256; ++a) {
    std::vector<TgxColor> src(16), dst(16), expected(16);
    for (int i = 0; i < 16; ++i) {
      src[i] = (a << 24) | (rng() & 0xFFFFFF);
      dst[i] = rng();
      expected[i] = ReferenceBlend(src[i], dst[i]);
      EXPECT_EQ(gxBlendPixel(src[i], dst[i]), expected[i]);
    }
    for (const TgxPixelRoutines* r : AllForms()) {
      std::vector<TgxColor> out = dst;
      r->BlendRow(src.data(), out.data(), 16);
      EXPECT_EQ(out, expected) << r->Name << " alpha " << a;
    }
  }
}

// Each routine against a one-pixel reference, on rows that mix the special values.
TEST(PixelRoutines, RowRoutinesFollowTheirOnePixelRules) {
  const std::vector<TgxColor> src{0x00000000, 0xFF7F007F, 0x107F007F, 0x80123456, 0xFF00FF00, 0x01FFFFFF, 0xFE0000FF};
  const std::vector<TgxColor> dst{0x11223344, 0x00000000, 0x00FFFFFF, 0xFF000000, 0x807F007F, 0x40102030, 0xFFFFFFFF};
  const int n = int(src.size());
  for (const TgxPixelRoutines* r : AllForms()) {
    SCOPED_TRACE(r->Name);
    std::vector<TgxColor> out = dst;
    r->KeyRow(src.data(), out.data(), n);
    for (int i = 0; i < n; ++i)
      EXPECT_EQ(out[i], (src[i] & 0xFFFFFF) == 0x7F007F ? dst[i] : (src[i] | 0xFF000000)) << i;

    out = dst;
    r->MergeRow(src.data(), out.data(), n);
    for (int i = 0; i < n; ++i) {
      const TgxColor d = dst[i], s = src[i];
      const TgxColor want = (d >> 24) == 0 ? s : (d >> 24) < 255 ? ReferenceBlend(d, s) : d;
      EXPECT_EQ(out[i], want) << i;
    }

    out = dst;
    r->SetAlphaRow(out.data(), n, 0x5A);
    for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], (dst[i] & 0xFFFFFF) | 0x5A000000) << i;

    out = dst;
    r->ClearAlphaKeyRow(out.data(), n, 0xFF7F007F);
    for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], (dst[i] & 0xFFFFFF) == 0x7F007F ? dst[i] & 0xFFFFFF : dst[i]) << i;

    out = dst;
    r->CheckRGBARow(out.data(), n);
    for (int i = 0; i < n; ++i) {
      TgxColor want = dst[i] & 0xFF000000;
      for (int k = 0; k < 3; ++k) want |= std::min((dst[i] >> (8 * k)) & 0xFF, dst[i] >> 24) << (8 * k);
      EXPECT_EQ(out[i], want) << i;
    }

    out = dst;
    r->FillRow(out.data() + 1, n - 2, 0xCAFEBABE);
    EXPECT_EQ(out.front(), dst.front());
    EXPECT_EQ(out.back(), dst.back());
    for (int i = 1; i < n - 1; ++i) EXPECT_EQ(out[i], 0xCAFEBABEu);

    // Overlapping rows move as memmove does.
    std::vector<TgxColor> line{1, 2, 3, 4, 5, 6};
    r->MoveRow(line.data(), line.data() + 2, 4);
    EXPECT_EQ(line, (std::vector<TgxColor>{1, 2, 1, 2, 3, 4}));
    r->MoveRow(line.data() + 1, line.data(), 5);
    EXPECT_EQ(line, (std::vector<TgxColor>{2, 1, 2, 3, 4, 4}));
  }
}

// Random pixels biased towards the values the vector form treats specially: alpha 0 and
// 255, runs of equal alpha, the key colour and zero.
TgxColor RandomPixel(std::mt19937& rng) {
  const uint32_t kind = rng() % 8;
  const TgxColor color = rng() & 0xFFFFFF;
  switch (kind) {
    case 0: return color;
    case 1: return 0xFF000000 | color;
    case 2: return (rng() & 0xFF000000) | 0x7F007F;
    case 3: return 0;
    default: return rng();
  }
}

TEST(PixelRoutines, Sse2FormEqualsPlainFormOnRandomRows) {
  const TgxPixelRoutines* sse2 = gxSse2PixelRoutines();
  if (!sse2) GTEST_SKIP() << "no SSE2 form on this processor";
  const TgxPixelRoutines& plain = gxPlainPixelRoutines();
  std::mt19937 rng(20240611);
  for (int round = 0; round < 400; ++round) {
    const int n = int(rng() % 70);
    // Sometimes a whole row of one alpha, so that the all-opaque and all-clear groups occur.
    const int uniform = int(rng() % 4);
    std::vector<TgxColor> src(size_t(n) + 1), dst(size_t(n) + 1);
    for (int i = 0; i <= n; ++i) {
      src[i] = RandomPixel(rng);
      dst[i] = RandomPixel(rng);
      if (uniform == 1) src[i] |= 0xFF000000;
      if (uniform == 2) src[i] &= 0xFFFFFF;
      if (uniform == 3) dst[i] |= 0xFF000000;
    }
    // An odd start, so that loads are unaligned.
    const TgxColor* s = src.data() + 1;
    auto same = [&](const char* what, auto call) {
      std::vector<TgxColor> a = dst, b = dst;
      call(plain, a.data() + 1);
      call(*sse2, b.data() + 1);
      EXPECT_EQ(a, b) << what << " n=" << n << " round " << round;
    };
    same("BlendRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.BlendRow(s, d, n); });
    same("KeyRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.KeyRow(s, d, n); });
    same("MergeRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.MergeRow(s, d, n); });
    same("MoveRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.MoveRow(s, d, n); });
    same("FillRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.FillRow(d, n, src[0]); });
    same("SetAlphaRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.SetAlphaRow(d, n, uint8_t(src[0] >> 24)); });
    same("ClearAlphaKeyRow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.ClearAlphaKeyRow(d, n, gxKeyColor); });
    same("CheckRGBARow", [&](const TgxPixelRoutines& r, TgxColor* d) { r.CheckRGBARow(d, n); });
  }
}

TEST(PixelRoutines, TheVectorFormIsInstalledWhereThereIsOne) {
  const TgxPixelRoutines* sse2 = gxSse2PixelRoutines();
  EXPECT_EQ(&gxPixelRoutines(), sse2 ? sse2 : &gxPlainPixelRoutines());
}

TEST(PixelRoutines, RectangleFormsClipToTheImage) {
  std::vector<TgxColor> image(4 * 3, 0x11223344);
  gxFillRect(image.data(), 4, 3, {-2, 1, 2, 9}, 0xAA000001);
  gxSetAlphaRect(image.data(), 4, 3, {1, -5, 9, 1}, 0x00);
  const std::vector<TgxColor> want{0x11223344, 0x00223344, 0x00223344, 0x00223344,  //
                                   0xAA000001, 0xAA000001, 0x11223344, 0x11223344,  //
                                   0xAA000001, 0xAA000001, 0x11223344, 0x11223344};
  EXPECT_EQ(image, want);
}

}  // namespace
