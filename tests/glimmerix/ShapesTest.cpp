// The drawing primitives of the fade effects: the mask line and ring, the soft values, the
// diagonal proportions, the inversions and the random generator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "GuardedMask.h"
#include "gx_effect/Shapes.h"
#include "support/Canvas.h"

namespace {

// The mask line as the step loop draws it, step by step: the oracle for the clipped line.
void ReferenceLine(std::vector<uint8_t>& Cells, int W, int H, int x1, int y1, int x2, int y2, uint8_t v) {
  auto set = [&](int x, int y) {
    if (x >= 0 && x < W && y >= 0 && y < H) Cells[x + y * W] = v;
  };
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1), m = std::max(dx, dy);
  set(x1, y1);
  int x = x1, y = y1, ex = 0, ey = 0;
  for (int i = 0; i <= m; ++i) {
    bool moved = false;
    ex += dx;
    if (ex > m) {
      ex -= m;
      x += x2 - x1 < 1 ? -1 : 1;
      moved = true;
    }
    ey += dy;
    if (ey > m) {
      ey -= m;
      y += y2 - y1 < 1 ? -1 : 1;
      moved = true;
    }
    if (moved) set(x, y);
  }
}

// ---- line ----

struct LinePicture {
  int x1, y1, x2, y2;
  const char* Rows;
};

void PrintTo(const LinePicture& c, std::ostream* os) { *os << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")"; }

class MaskLine : public ::testing::TestWithParam<LinePicture> {};

TEST_P(MaskLine, DrawsTheCellsOfTheStepLoop) {
  const LinePicture& c = GetParam();
  GuardedMask m(7, 5);
  m.Mask().Line(c.x1, c.y1, c.x2, c.y2, 255);
  EXPECT_EQ(m.Rows(), Picture(c.Rows));
  EXPECT_TRUE(m.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    SevenByFive, MaskLine,
    ::testing::Values(
        // Shallow, left to right: the minor axis moves on steps 4 and 7.
        LinePicture{0, 0, 6, 2, R"(
###....
...###.
......#
.......
.......
)"},
        // Backwards and steeper: both axes step down from (6, 4).
        LinePicture{6, 4, 0, 0, R"(
#......
.##....
...#...
....##.
......#
)"},
        // Steep: y is the major axis.
        LinePicture{1, 0, 3, 4, R"(
.#.....
.#.....
..#....
..#....
...#...
)"},
        // Far beyond both sides: clipped to the row.
        LinePicture{-30, 2, 40, 2, R"(
.......
.......
#######
.......
.......
)"},
        // A single cell, and a line wholly outside.
        LinePicture{4, 3, 4, 3, R"(
.......
.......
.......
....#..
.......
)"},
        LinePicture{-5, -1, 12, -9, R"(
.......
.......
.......
.......
.......
)"}));

TEST(MaskLine, MatchesTheStepLoopForEndPointsInsideAndOutside) {
  const int W = 9, H = 6;
  std::srand(7);
  for (int n = 0; n < 4000; ++n) {
    const int x1 = std::rand() % 41 - 16, y1 = std::rand() % 31 - 12;
    const int x2 = std::rand() % 41 - 16, y2 = std::rand() % 31 - 12;
    GuardedMask m(W, H);
    m.Mask().Line(x1, y1, x2, y2, 200);
    std::vector<uint8_t> expected(size_t(W * H), 0);
    ReferenceLine(expected, W, H, x1, y1, x2, y2, 200);
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        ASSERT_EQ(m.At(x, y), expected[x + y * W])
            << "line (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ") at cell " << x << "," << y;
    ASSERT_TRUE(m.GuardIntact());
  }
}

TEST(MaskLine, LongLinesFarOutsideTheGridStayClipped) {
  GuardedMask m(3, 2);
  m.Mask().Line(-2000000000, 1, 2000000000, 1, 9);
  m.Mask().Line(1, 2000000000, 1, -2000000000, 9);
  EXPECT_EQ(m.Rows({{9, 'x'}}), Picture(R"(
.x.
xxx
)"));
  EXPECT_TRUE(m.GuardIntact());
}

// ---- ring ----

struct RingPicture {
  int cx, cy, r;
  const char* Rows;
};

void PrintTo(const RingPicture& c, std::ostream* os) { *os << "around (" << c.cx << "," << c.cy << ") of radius " << c.r; }

class MaskRing : public ::testing::TestWithParam<RingPicture> {};

TEST_P(MaskRing, DrawsTheMidpointCircleTwoCellsThick) {
  const RingPicture& c = GetParam();
  GuardedMask m(7, 5);
  m.Mask().Ring(c.cx, c.cy, c.r, 255);
  EXPECT_EQ(m.Rows(), Picture(c.Rows));
  EXPECT_TRUE(m.GuardIntact());
}

INSTANTIATE_TEST_SUITE_P(
    SevenByFive, MaskRing,
    ::testing::Values(
        // Radius 0: the centre and its left and right neighbours.
        RingPicture{3, 2, 0, R"(
.......
.......
..###..
.......
.......
)"},
        RingPicture{3, 2, 1, R"(
.......
..###..
.##.##.
..###..
.......
)"},
        RingPicture{3, 2, 2, R"(
.#####.
##...##
##...##
##...##
.#####.
)"},
        // Around the bottom-left corner: only the quarter inside shows.
        RingPicture{0, 4, 2, R"(
.......
.......
###....
..##...
..##...
)"},
        RingPicture{3, 2, -1, R"(
.......
.......
.......
.......
.......
)"}));

// The midpoint circle as the rule states it, every cell checked: the oracle for the ring.
void ReferenceRing(std::vector<uint8_t>& Cells, int W, int H, int cx, int cy, int r, uint8_t v) {
  auto set = [&](int x, int y) {
    if (x >= 0 && x < W && y >= 0 && y < H) Cells[x + y * W] = v;
  };
  auto plot = [&](int x, int y) {
    for (int h = x; h <= x + 1; ++h) {
      set(cx + h, cy + y);
      set(cx + h, cy - y);
      set(cx - h, cy - y);
      set(cx - h, cy + y);
    }
    for (int h = y; h <= y + 1; ++h) {
      set(cx + h, cy + x);
      set(cx + h, cy - x);
      set(cx - h, cy - x);
      set(cx - h, cy + x);
    }
  };
  int x = 0, y = r, d = 3 - 2 * r;
  while (x < y) {
    plot(x, y);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
  if (x == y) plot(x, y);
}

TEST(MaskRing, MatchesTheMidpointRuleForCentresInsideAndOutside) {
  const int W = 11, H = 7;
  std::srand(11);
  for (int n = 0; n < 3000; ++n) {
    const int cx = std::rand() % 61 - 25, cy = std::rand() % 51 - 22, r = std::rand() % 40;
    GuardedMask m(W, H);
    m.Mask().Ring(cx, cy, r, 99);
    std::vector<uint8_t> expected(size_t(W * H), 0);
    ReferenceRing(expected, W, H, cx, cy, r, 99);
    ASSERT_EQ(m.Values(), expected) << "ring around (" << cx << "," << cy << ") of radius " << r;
    ASSERT_TRUE(m.GuardIntact());
  }
}

TEST(MaskRing, MatchesTheMidpointRuleForLargeRadiiReachingPartOfTheGrid) {
  // The ring walks only the steps that can reach the grid, starting in the middle of the
  // loop: radii far beyond the grid, centres on its corners and edges and far away, arcs
  // that cross it in any of the eight octants.
  std::mt19937 rng(20240611);
  const int sizes[][2] = {{40, 23}, {7, 50}, {64, 64}, {1, 30}, {25, 1}};
  for (int n = 0; n < 4000; ++n) {
    const int W = sizes[n % 5][0], H = sizes[n % 5][1];
    const int reach = n % 3 == 0 ? 3000 : 200;
    const int cx = int(rng() % uint32_t(2 * reach + W)) - reach, cy = int(rng() % uint32_t(2 * reach + H)) - reach;
    // Mostly radii whose circle passes through the grid.
    const double dx = std::max({0, -cx, cx - (W - 1)}), dy = std::max({0, -cy, cy - (H - 1)});
    const int nearest = int(std::sqrt(dx * dx + dy * dy));
    const int r = n % 4 == 0 ? int(rng() % 3500) : nearest + int(rng() % uint32_t(W + H + 4)) - 2;
    GuardedMask m(W, H);
    m.Mask().Ring(cx, cy, r, 99);
    std::vector<uint8_t> expected(size_t(W * H), 0);
    ReferenceRing(expected, W, H, cx, cy, r, 99);
    ASSERT_EQ(m.Values(), expected) << W << " x " << H << ": ring around (" << cx << "," << cy << ") of radius " << r;
    ASSERT_TRUE(m.GuardIntact());
  }
}

TEST(MaskRing, ConsecutiveRadiiLeaveNoHoles) {
  GuardedMask m(41, 41);
  for (int r = 0; r <= 15; ++r) m.Mask().Ring(20, 20, r, 255);
  // Every cell well inside radius 15 is covered.
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x)
      if ((x - 20) * (x - 20) + (y - 20) * (y - 20) <= 13 * 13) {
        EXPECT_EQ(m.At(x, y), 255) << x << "," << y;
      }
  EXPECT_TRUE(m.GuardIntact());
}

TEST(MaskRing, HugeRadiiAroundFarCentresWriteNothingOutside) {
  GuardedMask m(5, 3);
  m.Mask().Ring(-1000, -1000, 1001, 7);
  m.Mask().Ring(2, 1, 3000, 7);
  m.Mask().Ring(2000000000, 1, 5, 7);
  EXPECT_TRUE(m.GuardIntact());
}

// ---- soft values ----

struct Soft {
  int k, n, p, Expected;
};

void PrintTo(const Soft& c, std::ostream* os) { *os << "step " << c.k << " of " << c.n << " at " << c.p; }

class SoftValue : public ::testing::TestWithParam<Soft> {};

TEST_P(SoftValue, FallsFromFullOpacityToTheNewestStep) {
  const Soft& c = GetParam();
  EXPECT_EQ(gxSoftValue(c.k, c.n, c.p), c.Expected) << "k " << c.k << " n " << c.n << " p " << c.p;
}

INSTANTIATE_TEST_SUITE_P(
    ByHand, SoftValue,
    ::testing::Values(
        // p = 50, n = 4: step 25, s = 100, 75, 50, 25, 0; v = MulDiv(s, 255, 100).
        Soft{0, 4, 50, 255}, Soft{1, 4, 50, 191}, Soft{2, 4, 50, 128}, Soft{3, 4, 50, 64}, Soft{4, 4, 50, 0},
        // p = 25, n = 4: step 12.5; Round(37.5) = 38 and Round(12.5) = 12 (ties to even).
        Soft{1, 4, 25, 97}, Soft{3, 4, 25, 31},
        // p = 30, n = 7: s = Round(60 - 3 * 60 / 7) = 34, MulDiv(34, 255, 100) = 87.
        Soft{3, 7, 30, 87},
        // n = 0: step = 2p; s = 2p gives 153 at p = 30 and 306 -> 255 at p = 60.
        Soft{0, 0, 30, 153}, Soft{0, 0, 60, 255},
        // Everything is opaque at 100.
        Soft{7, 7, 100, 255}, Soft{0, 9, 100, 255}));

// ---- diagonal proportions ----

TEST(DiagonalProportions, TheLongerSideAdvancesOneCellPerStep) {
  struct Case {
    int W, H, k, Hx, Vy;
  };
  const Case cases[] = {
      {10, 4, 4, 4, 2},  // 4 * 0.4 = 1.6
      {10, 4, 1, 1, 0},  // 0.4
      {8, 4, 1, 1, 0},   // 0.5: ties to even
      {8, 4, 3, 3, 2},   // 1.5
      {8, 4, 5, 5, 2},   // 2.5
      {4, 8, 3, 2, 3},   // the taller grid: Hx = Round(1.5)
      {5, 5, 6, 6, 6},   // square: both advance
      {7, 5, 2, 2, 1},   // 2 * 5 / 7 = 1.43
  };
  for (const Case& c : cases) {
    const TgxDiagonal d(c.W, c.H);
    EXPECT_EQ(d.Hx(c.k), c.Hx) << c.W << "x" << c.H << " k " << c.k;
    EXPECT_EQ(d.Vy(c.k), c.Vy) << c.W << "x" << c.H << " k " << c.k;
  }
}

// ---- inversions ----

TEST(MaskInversions, ComplementAndSwapTurnEveryCell) {
  uint8_t cells[6] = {0, 1, 100, 128, 254, 255};
  TgxMask m{cells, 3, 2};
  m.Complement();
  EXPECT_EQ(std::vector<uint8_t>(cells, cells + 6), (std::vector<uint8_t>{255, 254, 155, 127, 1, 0}));
  m.Swap(77);
  // The one cell that was 0 gets the value; every other cell is cleared.
  EXPECT_EQ(std::vector<uint8_t>(cells, cells + 6), (std::vector<uint8_t>{0, 0, 0, 0, 0, 77}));
}

// ---- random generator ----

TEST(EffectRandom, FollowsTheLinearCongruentialSequence) {
  // s := s * 134775813 + 1 (mod 2^32), result (s * n) shr 32; worked out by hand from 35.
  TgxRandom rng;
  rng.Reseed(7, 5);
  EXPECT_EQ(rng.Seed(), 35u);
  const int32_t expected[] = {7, 5, 65, 53, 18, 25};
  const uint32_t states[] = {422186160u, 299695985u, 3499049270u, 2853969423u, 981750348u, 1365560189u};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(rng.Random(80), expected[i]) << "draw " << i;
    EXPECT_EQ(rng.Seed(), states[i]) << "draw " << i;
  }
}

TEST(EffectRandom, UsesTheHighHalfOfTheSixtyFourBitProduct) {
  TgxRandom rng(134775814u);  // the state after drawing once from 1
  // 3698175007 * 1000000 / 2^32 = 861048.6: a 32-bit product would have wrapped.
  EXPECT_EQ(rng.Random(1000000), 861048);
  EXPECT_EQ(rng.Random(0), 0);
  EXPECT_EQ(rng.Random(-5), 0);
}

TEST(EffectRandom, ReseedingRepeatsTheSequence) {
  TgxRandom a, b(12345);
  a.Reseed(13, 8);
  b.Reseed(8, 13);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(a.Random(104), b.Random(104));
}

}  // namespace
