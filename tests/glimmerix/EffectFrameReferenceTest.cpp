// Fade frames and bitmap-mode frames of whole transitions against the frame rules walked
// literally: the procedure's grid turned by the rotation table, every pixel of every tile
// given the cell of its 16.16 position, key-coloured pixels cleared, and the new image
// blended byte by byte over the old one.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gx_bitmap.h"
#include "gx_effect.h"

namespace {

std::unique_ptr<TgxBitmap> Pattern(int w, int h, uint32_t seed, bool withKeys) {
  auto b = std::make_unique<TgxBitmap>();
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = (uint32_t(x) * 2246822519u) ^ (uint32_t(y) * 3266489917u) ^ seed;
      v = (v ^ (v >> 15)) * 0x2c1b3c6du;
      v &= 0xFFFFFF;
      if (v == gxKeyColor) v ^= 1;
      if (withKeys && (x * 5 + y * 3) % 13 == 4) v = gxKeyColor;
      b->SetPixel(x, y, 0xFF000000u | v);
    }
  return b;
}

int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return p >= 0 ? (2 * p + c) / (2 * c) : -((-2 * p + c) / (2 * c));
}

uint32_t Blend(uint32_t s, uint32_t d) {
  const uint32_t a = s >> 24;
  if (a == 0) return d;
  if (a == 255) return s;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t sv = s >> shift & 0xFF, dv = d >> shift & 0xFF;
    out |= ((dv * (256 - a) + sv * a) / 256) << shift;
  }
  return out;
}

// The frame of a mask-driven transition: Mask1 (final grid, cellsX x cellsY) applied to
// the new image and the new image blended over the old one.
std::vector<uint32_t> ReferenceMaskFrame(const TgxBitmap& oldImage, const TgxBitmap& newImage,
                                         const std::vector<uint8_t>& mask1, int cx, int cy, int R, int T) {
  const int W = oldImage.Width(), H = oldImage.Height(), NW = newImage.Width(), NH = newImage.Height();
  std::vector<uint32_t> img(size_t(NW * NH));
  for (int y = 0; y < NH; ++y)
    for (int x = 0; x < NW; ++x) img[size_t(x + y * NW)] = newImage.GetPixel(x, y);
  const int64_t tileW = int64_t(R) * cx, tileH = int64_t(R) * cy;
  for (int ty = 0; ty < T; ++ty)
    for (int tx = 0; tx < T; ++tx) {
      const int64_t left = tx * tileW, top = ty * tileH;
      const int64_t cl = std::max<int64_t>(left, 0), ct = std::max<int64_t>(top, 0);
      const int64_t cr = std::min<int64_t>(left + tileW, NW), cb = std::min<int64_t>(top + tileH, NH);
      if (cl >= cr || ct >= cb) continue;
      int64_t py = MulDiv64(cy * (ct - top), 65535, tileH);
      for (int64_t y = ct; y < cb; ++y, py += cy * 65536 / tileH) {
        int64_t px = MulDiv64(cx * (cl - left), 65535, tileW);
        for (int64_t x = cl; x < cr; ++x, px += cx * 65536 / tileW) {
          uint32_t& p = img[size_t(x + y * NW)];
          p = (p & 0xFFFFFF) | uint32_t(mask1[size_t((px >> 16) + (py >> 16) * cx)]) << 24;
        }
      }
    }
  for (uint32_t& p : img)
    if ((p & 0xFFFFFF) == gxKeyColor) p &= 0xFFFFFF;
  std::vector<uint32_t> work(size_t(W * H));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint32_t d = oldImage.GetPixel(x, y);
      work[size_t(x + y * W)] = x < NW && y < NH ? Blend(img[size_t(x + y * NW)], d) : d;
    }
  return work;
}

// Mask1 from the procedure's grid G through the rotation table.
std::vector<uint8_t> TurnFadeGrid(const std::vector<uint8_t>& G, int cx, int cy, TgxRotation r) {
  std::vector<uint8_t> out(size_t(cx * cy));
  for (int Y = 0; Y < cy; ++Y)
    for (int X = 0; X < cx; ++X) {
      int g = 0;
      switch (r) {
        case krNone: g = X + Y * cx; break;
        case krRotate90: g = (cy - 1 - Y) + X * cy; break;
        case krRotate180: g = (cx - 1 - X) + (cy - 1 - Y) * cx; break;
        case krRotate270: g = Y + (cx - 1 - X) * cy; break;
      }
      out[size_t(X + Y * cx)] = G[size_t(g)];
    }
  return out;
}

struct FrameCase {
  const char* Effect;
  int W, H, Resolution, Tiles;
};

class FadeFrameReference : public ::testing::TestWithParam<FrameCase> {};

TEST_P(FadeFrameReference, MatchesTheRulesForEveryRotation) {
  const FrameCase& c = GetParam();
  TgxProcItem* item = gxProcList()->GetProcs(c.Effect);
  ASSERT_NE(item, nullptr);
  const TgxFadeProc proc = std::get<TgxFadeProc>(item->Proc());
  for (TgxRotation rotation : {krNone, krRotate90, krRotate180, krRotate270}) {
    auto oldImage = Pattern(c.W, c.H, 0x1357, false);
    auto settings = std::make_unique<TgxAnimationRec>(nullptr);
    settings->SetEffect(item->Name());
    settings->SetResolution(c.Resolution);
    settings->SetTileCount(c.Tiles);
    settings->SetRotation(rotation);
    for (int p : {7, 33, 50, 81, 99}) {
      auto newImage = Pattern(c.W, c.H, 0x2468, true);
      const auto pristine = Pattern(c.W, c.H, 0x2468, true);
      TgxTransition t;
      ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
      const int cx = c.W / c.Resolution / c.Tiles + 1, cy = c.H / c.Resolution / c.Tiles + 1;
      ASSERT_EQ(t.CellsX(), cx);
      ASSERT_EQ(t.CellsY(), cy);
      const bool turned = rotation == krRotate90 || rotation == krRotate270;
      std::vector<uint8_t> G(size_t(cx * cy), 0);
      proc(G.data(), turned ? cy : cx, turned ? cx : cy, uint8_t(p));
      const auto expected =
          ReferenceMaskFrame(*oldImage, *pristine, TurnFadeGrid(G, cx, cy, rotation), cx, cy, c.Resolution, c.Tiles);
      t.Compose(uint8_t(p));
      int differing = 0, firstX = -1, firstY = -1;
      for (int y = 0; y < c.H; ++y)
        for (int x = 0; x < c.W; ++x)
          if (t.Work()->GetPixel(x, y) != expected[size_t(x + y * c.W)]) {
            if (!differing++) firstX = x, firstY = y;
          }
      EXPECT_EQ(differing, 0) << "rotation " << int(rotation) << " at " << p << ", first at " << firstX << ","
                              << firstY;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, FadeFrameReference,
                         ::testing::Values(FrameCase{"Plasma", 17, 11, 1, 1}, FrameCase{"Plasma", 23, 9, 2, 2},
                                           FrameCase{"SmoothDiagonal", 19, 13, 3, 2},
                                           FrameCase{"Pixel fade", 13, 21, 2, 3},
                                           FrameCase{"FadeDiagonalOut", 31, 7, 1, 3},
                                           FrameCase{"RotateSmooth", 10, 10, 4, 1}),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                           std::string name = info.param.Effect;
                           std::erase(name, ' ');
                           return name + "_" + std::to_string(info.index);
                         });

}  // namespace
