// Frames of whole transitions: every registered effect ends on the new image, and
// displacement records move pixels exactly as the frame rules walk them (tiles, then
// cells, then pixels), whatever order the engine really works in.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EffectTestEffects.h"
#include "backend/Headless.h"

namespace {

std::unique_ptr<TgxBitmap> Pattern(int w, int h, uint32_t seed, bool withHoles) {
  auto b = std::make_unique<TgxBitmap>();
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t v = (uint32_t(x) * 2654435761u) ^ (uint32_t(y) * 40503u) ^ seed;
      v = (v ^ (v >> 13)) * 0x5bd1e995u;
      uint32_t alpha = 0xFF;
      // Some pixels of the new image are fully transparent, some half.
      if (withHoles && (x + 2 * y) % 7 == 3) alpha = 0;
      if (withHoles && (3 * x + y) % 11 == 5) alpha = 0x80;
      v &= 0xFFFFFF;
      if (v == gxKeyColor) v ^= 1;  // the key colour is transparent in every frame
      b->SetPixel(x, y, alpha << 24 | v);
    }
  return b;
}

std::unique_ptr<TgxAnimationRec> Settings(const String& effect, int32_t resolution, int32_t tiles, TgxRotation rotation) {
  auto s = std::make_unique<TgxAnimationRec>(nullptr);
  s->SetEffect(effect);
  s->SetResolution(resolution);
  s->SetTileCount(tiles);
  s->SetRotation(rotation);
  return s;
}

const char* RotationName(TgxRotation r) {
  static const char* names[] = {"krNone", "krRotate90", "krRotate180", "krRotate270"};
  return names[r];
}

// ---- every effect ends on the new image ----

TEST(EffectFrames, EveryRegisteredEffectEndsOnTheNewImage) {
  testfx::RegisterTestEffects();
  const std::vector<TgxProcItem*> effects = testfx::StandardEffects();
  ASSERT_FALSE(effects.empty());
  struct Layout {
    int Resolution, Tiles;
    TgxRotation Rotation;
  };
  for (const Layout& l : {Layout{1, 1, krNone}, Layout{1, 1, krRotate90}, Layout{3, 2, krRotate180}, Layout{2, 3, krRotate270}}) {
    for (TgxProcItem* item : effects) {
      auto oldImage = Pattern(41, 23, 0x1234, false), newImage = Pattern(41, 23, 0xBEEF, false);
      auto settings = Settings(item->Name(), l.Resolution, l.Tiles, l.Rotation);
      TgxTransition t;
      ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get())) << item->Name();
      // The frames before may change the new image's alpha; the last one must not show it.
      t.Compose(50);
      t.Compose(100);
      int differing = 0;
      for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 41; ++x) differing += t.Work()->GetPixel(x, y) != newImage->GetPixel(x, y);
      EXPECT_EQ(differing, 0) << item->Name() << " " << RotationName(l.Rotation) << " R" << l.Resolution << " T"
                              << l.Tiles;
    }
  }
}

// ---- displacement records, as the frame rules walk them ----

uint32_t BlendBytes(uint32_t s, uint32_t a, uint32_t d) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int dv = int(d >> shift & 0xFF), sv = shift == 24 ? int(a) : int(s >> shift & 0xFF);
    out |= uint32_t((dv * 256 + (sv - dv) * int(a)) / 256) << shift;
  }
  return out;
}

// Tiles m then t, cells i then j, pixels u then v, each pixel of the R + 1 square checked
// and written in turn.
std::vector<uint32_t> ReferenceSlideFrame(const TgxBitmap& oldImage, const TgxBitmap& newImage, TgxSlideProc proc,
                                          int R, int T, TgxRotation rotation, uint8_t p) {
  const int W = oldImage.Width(), H = oldImage.Height(), NW = newImage.Width(), NH = newImage.Height();
  const int cx = W / R / T + 1, cy = H / R / T + 1;
  const bool turned = rotation == krRotate90 || rotation == krRotate270;
  std::vector<TgxDisplacement> G(size_t(cx * cy), TgxDisplacement{});
  proc(G.data(), turned ? cy : cx, turned ? cx : cy, p);
  std::vector<uint32_t> work(size_t(W * H));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) work[size_t(x + y * W)] = oldImage.GetPixel(x, y);
  const int TW = W / T, TH = H / T;
  for (int m = 0; m < T; ++m)
    for (int t = 0; t < T; ++t) {
      const int J = (TW + 1) * m, K = (TH + 1) * t;
      for (int i = 0; i < cx; ++i)
        for (int j = 0; j < cy; ++j) {
          TgxDisplacement d{};
          int sx = 0, sy = 0;
          switch (rotation) {
            case krNone: d = G[size_t(i + j * cx)], sx = d.SourceX, sy = d.SourceY; break;
            case krRotate90: d = G[size_t(j + (cx - 1 - i) * cy)], sx = cx - 1 - d.SourceY, sy = d.SourceX; break;
            case krRotate180:
              d = G[size_t((cx - 1 - i) + (cy - 1 - j) * cx)], sx = cx - 1 - d.SourceX, sy = cy - 1 - d.SourceY;
              break;
            case krRotate270: d = G[size_t((cy - 1 - j) + i * cy)], sx = d.SourceY, sy = cy - 1 - d.SourceX; break;
          }
          for (int u = 0; u <= R; ++u)
            for (int v = 0; v <= R; ++v) {
              const int x = J + i * R + u, y = K + j * R + v;
              if (x < 0 || y < 0 || x >= NW || y >= NH || x >= W || y >= H) continue;
              const int px = J + sx * R + u, py = K + sy * R + v;
              if (px < 0 || py < 0 || px >= NW || py >= NH) continue;
              if (px < J || px > (TW + 1) * (m + 1) || py < K || py > (TH + 1) * (t + 1)) continue;
              const uint32_t s = newImage.GetPixel(px, py);
              if ((s >> 24) == 0 || d.Flag == 0) continue;
              uint32_t& target = work[size_t(x + y * W)];
              target = d.Flag == 255 ? s : BlendBytes(s, d.Flag, target);
            }
        }
    }
  return work;
}

struct SlideCase {
  const char* Effect;
  int Resolution, Tiles;
  int NewW, NewH;  // the old image is 29 x 19
};

std::string SlideCaseName(const ::testing::TestParamInfo<SlideCase>& info) {
  std::string name = info.param.Effect;
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  return name + "_R" + std::to_string(info.param.Resolution) + "T" + std::to_string(info.param.Tiles) + "_" +
         std::to_string(info.param.NewW) + "x" + std::to_string(info.param.NewH);
}

class EffectSlideFrames : public ::testing::TestWithParam<SlideCase> {};

TEST_P(EffectSlideFrames, MatchTheFrameRulesWalkedInTheirOwnOrder) {
  testfx::RegisterTestEffects();
  const SlideCase& c = GetParam();
  TgxProcItem* item = gxProcList()->GetProcs(c.Effect);
  ASSERT_NE(item, nullptr);
  const TgxSlideProc proc = std::get<TgxSlideProc>(item->Proc());
  // New images with transparent pixels, and opaque ones, whose runs of copying cells the
  // engine may copy whole.
  for (bool holes : {true, false}) {
    auto oldImage = Pattern(29, 19, 0x51, false), newImage = Pattern(c.NewW, c.NewH, 0x77, holes);
    for (TgxRotation rotation : {krNone, krRotate90, krRotate180, krRotate270}) {
      auto settings = Settings(item->Name(), c.Resolution, c.Tiles, rotation);
      TgxTransition t;
      ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
      for (int p : {1, 13, 50, 87, 99}) {
        t.Compose(uint8_t(p));
        const std::vector<uint32_t> expected =
            ReferenceSlideFrame(*oldImage, *newImage, proc, c.Resolution, c.Tiles, rotation, uint8_t(p));
        int differing = 0;
        for (int y = 0; y < 19; ++y)
          for (int x = 0; x < 29; ++x) differing += t.Work()->GetPixel(x, y) != expected[size_t(x + y * 29)];
        EXPECT_EQ(differing, 0) << RotationName(rotation) << " at " << p << (holes ? " with holes" : " opaque");
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, EffectSlideFrames,
                         ::testing::Values(SlideCase{"Test Mixed Records", 1, 1, 29, 19},
                                           SlideCase{"Test Mixed Records", 2, 1, 29, 19},
                                           SlideCase{"Test Mixed Records", 3, 2, 29, 19},
                                           SlideCase{"Test Mixed Records", 1, 3, 29, 19},
                                           SlideCase{"Test Mixed Records", 4, 2, 23, 25},
                                           SlideCase{"Test Mixed Records", 2, 2, 35, 14},
                                           SlideCase{"Test Copy Runs", 1, 1, 29, 19},
                                           SlideCase{"Test Copy Runs", 2, 1, 29, 19},
                                           SlideCase{"Test Copy Runs", 3, 2, 29, 19},
                                           SlideCase{"Test Copy Runs", 1, 3, 29, 19},
                                           SlideCase{"Test Copy Runs", 4, 2, 23, 25},
                                           SlideCase{"Test Copy Runs", 1, 2, 35, 14},
                                           SlideCase{"Interlace", 1, 1, 29, 19}, SlideCase{"Interlace", 3, 2, 29, 19},
                                           SlideCase{"Corner", 1, 1, 29, 19}, SlideCase{"Corner", 2, 3, 29, 19}),
                         SlideCaseName);

}  // namespace
