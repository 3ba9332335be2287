// The sixty standard effects: their registration, masks and records worked out by hand on
// small grids, what they draw at 0 %, that no grid and no percentage makes them write
// outside their buffers, and the frames of the four manual effects.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "GuardedMask.h"
#include "gx_bitmap.h"
#include "gx_effect.h"
#include "gx_effect/Catalogue.h"
#include "support/Canvas.h"

namespace {

// ---- the catalogue ----

struct CatalogueEntry {
  const char* Name;
  TgxProcKind Kind;
  TgxProc Proc;
  // The effect draws something even at p = 0 (the circles and Stream), or writes zeros
  // (the Fade circles, Plasma): every other one leaves its buffer alone at 0 %.
  bool TouchesAtZero = false;
};

const std::vector<CatalogueEntry>& Catalogue() {
  static const std::vector<CatalogueEntry> entries = {
      {"SmoothDiagonal", pkFade, TgxFadeProc(EffectSmoothDiagonal)},
      {"SmoothDiagonalIn", pkFade, TgxFadeProc(EffectSmoothDiagonalIn)},
      {"SmoothDiagonalOut", pkFade, TgxFadeProc(EffectSmoothDiagonalOut)},
      {"SmoothDown", pkFade, TgxFadeProc(EffectSmoothDown)},
      {"SmoothIn", pkFade, TgxFadeProc(EffectSmoothIn)},
      {"SmoothOut", pkFade, TgxFadeProc(EffectSmoothOut)},
      {"SmoothCrossOut", pkFade, TgxFadeProc(EffectSmoothCrossOut)},
      {"SmoothCrossIn", pkFade, TgxFadeProc(EffectSmoothCrossIn)},
      {"SmoothRectIn", pkFade, TgxFadeProc(EffectSmoothRectIn)},
      {"SmoothRectOut", pkFade, TgxFadeProc(EffectSmoothRectOut)},
      {"SlideDiagonal", pkFade, TgxFadeProc(EffectSlideDiagonal)},
      {"SlideDiagonalIn", pkFade, TgxFadeProc(EffectSlideDiagonalIn)},
      {"SlideDiagonalOut", pkFade, TgxFadeProc(EffectSlideDiagonalOut)},
      {"SlideDown", pkFade, TgxFadeProc(EffectSlideDown)},
      {"SlideIn", pkFade, TgxFadeProc(EffectSlideIn)},
      {"SlideOut", pkFade, TgxFadeProc(EffectSlideOut)},
      {"SlideCrossOut", pkFade, TgxFadeProc(EffectSlideCrossOut)},
      {"SlideCrossIn", pkFade, TgxFadeProc(EffectSlideCrossIn)},
      {"SlideRectOut", pkFade, TgxFadeProc(EffectSlideRectOut)},
      {"SlideRectIn", pkFade, TgxFadeProc(EffectSlideRectIn)},
      {"Fade", pkFade, TgxFadeProc(EffectFade)},
      {"FadeDiagonal", pkFade, TgxFadeProc(EffectFadeDiagonal)},
      {"FadeDiagonalIn", pkFade, TgxFadeProc(EffectFadeDiagonalIn)},
      {"FadeDiagonalOut", pkFade, TgxFadeProc(EffectFadeDiagonalOut)},
      {"FadeDown", pkFade, TgxFadeProc(EffectFadeDown)},
      {"FadeIn", pkFade, TgxFadeProc(EffectFadeIn)},
      {"FadeOut", pkFade, TgxFadeProc(EffectFadeOut)},
      {"FadeCrossOut", pkFade, TgxFadeProc(EffectFadeCrossOut)},
      {"FadeCrossIn", pkFade, TgxFadeProc(EffectFadeCrossIn)},
      {"FadeRectOut", pkFade, TgxFadeProc(EffectFadeRectOut)},
      {"FadeRectIn", pkFade, TgxFadeProc(EffectFadeRectIn)},
      {"Pixel", pkFade, TgxFadeProc(EffectPixel)},
      {"Pixel fade", pkFade, TgxFadeProc(EffectPixelFade)},
      {"Pixel line", pkFade, TgxFadeProc(EffectPixelLine)},
      {"CircleSlideOut", pkFade, TgxFadeProc(EffectCircleSlideOut), true},
      {"CircleFadeOut", pkFade, TgxFadeProc(EffectCircleFadeOut), true},
      {"CircleSmoothOut", pkFade, TgxFadeProc(EffectCircleSmoothOut)},
      {"CircleSlideIn", pkFade, TgxFadeProc(EffectCircleSlideIn), true},
      {"CircleFadeIn", pkFade, TgxFadeProc(EffectCircleFadeIn), true},
      {"CircleSmoothIn", pkFade, TgxFadeProc(EffectCircleSmoothIn)},
      {"CircleSlide", pkFade, TgxFadeProc(EffectCircleSlide), true},
      {"CircleFade", pkFade, TgxFadeProc(EffectCircleFade), true},
      {"CircleSmooth", pkFade, TgxFadeProc(EffectCircleSmooth)},
      {"DiamondSlideIn", pkFade, TgxFadeProc(EffectDiamondSlideIn)},
      {"DiamondFadeIn", pkFade, TgxFadeProc(EffectDiamondFadeIn)},
      {"DiamondSmoothIn", pkFade, TgxFadeProc(EffectDiamondSmoothIn)},
      {"DiamondSlideOut", pkFade, TgxFadeProc(EffectDiamondSlideOut)},
      {"DiamondFadeOut", pkFade, TgxFadeProc(EffectDiamondFadeOut)},
      {"DiamondSmoothOut", pkFade, TgxFadeProc(EffectDiamondSmoothOut)},
      {"RotateSlide", pkFade, TgxFadeProc(EffectRotateSlide)},
      {"RotateFade", pkFade, TgxFadeProc(EffectRotateFade)},
      {"RotateSmooth", pkFade, TgxFadeProc(EffectRotateSmooth)},
      {"Stream", pkFade, TgxFadeProc(EffectStream), true},
      {"Plasma", pkFade, TgxFadeProc(EffectPlasma), true},
      {"Interlace", pkSlide, TgxSlideProc(EffectInterlace)},
      {"Corner", pkSlide, TgxSlideProc(EffectCorner)},
      {"Slide", pkManual, TgxManualProc(EffectSlide)},
      {"Push", pkManual, TgxManualProc(EffectPush)},
      {"Blur", pkManual, TgxManualProc(EffectBlur)},
      {"SlideBack", pkManual, TgxManualProc(EffectSlideBack)},
  };
  return entries;
}

std::vector<CatalogueEntry> OfKind(TgxProcKind Kind) {
  std::vector<CatalogueEntry> out;
  for (const CatalogueEntry& e : Catalogue())
    if (e.Kind == Kind) out.push_back(e);
  return out;
}

std::string Prefix(TgxProcKind Kind) {
  return Kind == pkFade ? "[ FADE ] - " : Kind == pkSlide ? "[ SLIDE ] - " : "[ MANUAL ] - ";
}

TEST(EffectCatalogue, RegistersTheSixtyEffectsInOrderUnderTheirNames) {
  gxInitEffectUnit();
  TgxProcList* list = gxProcList();
  ASSERT_NE(list, nullptr);
  ASSERT_GE(list->Count(), int(Catalogue().size()));
  for (size_t i = 0; i < Catalogue().size(); ++i) {
    const CatalogueEntry& e = Catalogue()[i];
    TgxProcItem* item = list->Items(int(i));
    EXPECT_EQ(item->Name(), Prefix(e.Kind) + e.Name) << "#" << i + 1;
    EXPECT_EQ(item->Kind(), e.Kind) << e.Name;
    EXPECT_TRUE(item->Proc() == e.Proc) << e.Name << " is registered with another procedure";
  }
}

TEST(EffectCatalogue, EveryEffectHasItsOwnProcedure) {
  const std::vector<CatalogueEntry>& all = Catalogue();
  for (size_t i = 0; i < all.size(); ++i)
    for (size_t j = i + 1; j < all.size(); ++j) EXPECT_FALSE(all[i].Proc == all[j].Proc) << all[i].Name << " and " << all[j].Name;
}

// ---- fade masks worked out by hand ----

std::vector<uint8_t> RunFade(TgxProc Proc, int32_t W, int32_t H, int p, GuardedMask& m) {
  std::get<TgxFadeProc>(Proc)(m.Cells(), W, H, uint8_t(p));
  return m.Values();
}

struct HandMask {
  const char* Effect;
  TgxFadeProc Proc;
  int W, H, p;
  std::vector<std::pair<uint8_t, char>> Legend;
  const char* Rows;
};

void PrintTo(const HandMask& c, std::ostream* os) { *os << c.Effect << " " << c.W << "x" << c.H << " at " << c.p; }

class HandComputedMask : public ::testing::TestWithParam<HandMask> {};

TEST_P(HandComputedMask, MatchesTheCellsWorkedOutByHand) {
  const HandMask& c = GetParam();
  GuardedMask m(c.W, c.H);
  c.Proc(m.Cells(), c.W, c.H, uint8_t(c.p));
  EXPECT_EQ(m.Rows(c.Legend), Picture(c.Rows));
  EXPECT_TRUE(m.GuardIntact());
}

// V = MulDiv(p, 255, 100): 77 at 30, 128 at 50, 153 at 60, 179 at 70. Grids of 7 x 5 have
// their centre at (3, 2).
INSTANTIATE_TEST_SUITE_P(
    SmallGrids, HandComputedMask,
    ::testing::Values(
        // Round(50 / 100 * 255) = Round(127.5) = 128 everywhere.
        HandMask{"Fade", EffectFade, 7, 5, 50, {{128, 'h'}}, R"(
hhhhhhh
hhhhhhh
hhhhhhh
hhhhhhh
hhhhhhh
)"},
        // Rows 0 to MulDiv(60, 4, 100) = 2.
        HandMask{"FadeDown", EffectFadeDown, 7, 5, 60, {{153, 'v'}}, R"(
vvvvvvv
vvvvvvv
vvvvvvv
.......
.......
)"},
        // t = MulDiv(50, 2, 100) = 1: rows 4, 3 and 0, 1.
        HandMask{"FadeIn", EffectFadeIn, 7, 5, 50, {{128, 'v'}}, R"(
vvvvvvv
vvvvvvv
.......
vvvvvvv
vvvvvvv
)"},
        HandMask{"FadeOut", EffectFadeOut, 7, 5, 50, {{128, 'v'}}, R"(
.......
vvvvvvv
vvvvvvv
vvvvvvv
.......
)"},
        // a = MulDiv(30, 14, 100) = 4, b = MulDiv(30, 10, 100) = 3: columns 3 -+ 1 over rows
        // -1..5, row 2 over columns -1..7.
        HandMask{"FadeCrossOut", EffectFadeCrossOut, 7, 5, 30, {{77, 'v'}}, R"(
..vvv..
..vvv..
vvvvvvv
..vvv..
..vvv..
)"},
        // The cross of 30 %, swapped with V of 70 %.
        HandMask{"FadeCrossIn", EffectFadeCrossIn, 7, 5, 70, {{179, 'v'}}, R"(
vv...vv
vv...vv
.......
vv...vv
vv...vv
)"},
        HandMask{"SlideCrossIn", EffectSlideCrossIn, 7, 5, 70, {}, R"(
##...##
##...##
.......
##...##
##...##
)"},
        // a = Round(0.5 * 6) = 3, b = Round(0.5 * 4) = 2; lines k = 0..3 from both corners.
        HandMask{"FadeDiagonalIn", EffectFadeDiagonalIn, 7, 5, 50, {{128, 'v'}}, R"(
...vvvv
....vvv
v.....v
vvv....
vvvv...
)"},
        // a = MulDiv(6, 50, 100) = 3, b = 2: anti-diagonals k = 0..6 with their ends held at
        // 2a and 2b.
        HandMask{"FadeDiagonal", EffectFadeDiagonal, 7, 5, 50, {{128, 'v'}}, R"(
vvvvvvv
vvvvvv.
vvvv...
vvv....
v......
)"},
        // a = 3, b = 2 < a: lines k = 0..3 from the left edge to the bottom, and from the top
        // edge to column W = 7, one past the grid.
        HandMask{"FadeDiagonalOut", EffectFadeDiagonalOut, 7, 5, 50, {{128, 'v'}}, R"(
vvvv...
vvvvv..
vvvvvvv
.vvvvvv
...vvvv
)"},
        // 4 x 3: L = Round(12.5) = 12 (ties to even), n = 6; soft values 255, 212, 171, 128,
        // 84, 43, 0 on the anti-diagonals to (Hx(k), 0) and (0, Vy(k)), Vy(6) = Round(4.5) = 4.
        HandMask{"SmoothDiagonal", EffectSmoothDiagonal, 4, 3, 50,
                 {{212, 'a'}, {171, 'b'}, {128, 'c'}, {84, 'd'}, {43, 'e'}}, R"(
#abc
acde
cde.
)"},
        // n = MulDiv(20, 7, 100) = 1: the centre, then the diamond of e = 1, f = 1.
        HandMask{"DiamondSlideOut", EffectDiamondSlideOut, 7, 5, 20, {}, R"(
.......
...#...
..###..
...#...
.......
)"},
        // e = MulDiv(12, 50, 100) = 6: hands to (6, 5 - i) for i < 5, then to (7 + i - 6, 0).
        HandMask{"RotateSlide", EffectRotateSlide, 7, 5, 50, {}, R"(
......#
....###
...####
.######
#######
)"},
        // n = MulDiv(Round(7.5), 40, 100) = 3; soft values 204, 135, 69, 0 for rows 0..3.
        HandMask{"SmoothDown", EffectSmoothDown, 7, 5, 40, {{204, 'a'}, {135, 'b'}, {69, 'c'}}, R"(
aaaaaaa
bbbbbbb
ccccccc
.......
.......
)"},
        // SmoothRectOut at 40: n = MulDiv(40, 11, 100) div 2 = 2, soft values 204, 102, 0;
        // the outline of k = 2 (value 0) overwrites most of k = 1's. Complemented.
        HandMask{"SmoothRectIn", EffectSmoothRectIn, 7, 5, 60, {{153, 'c'}, {51, 'd'}}, R"(
#######
#######
##cdc##
#######
#######
)"},
        // q = MulDiv(9, 20, 100) = 2: the rings of radius 0 and 1 around the centre.
        HandMask{"CircleSlideOut", EffectCircleSlideOut, 7, 5, 20, {}, R"(
.......
..###..
.#####.
..###..
.......
)"},
        // At 0 % only the ring of radius D div 2 = 4, which touches the four corners.
        HandMask{"CircleSlideIn", EffectCircleSlideIn, 7, 5, 0, {}, R"(
#.....#
.......
.......
.......
#.....#
)"},
        // c = Round(0.14 * 35) = 5 cells, drawn from seed 35: 3, 2, 28, 23, 8.
        HandMask{"Pixel", EffectPixel, 7, 5, 14, {}, R"(
..##...
.#.....
.......
..#....
#......
)"},
        // c = 7 cells (3, 2, 28, 23, 8, 11, 18); columns up to Round(0.2 * 13) = 3 take part,
        // each with Round(Round(40 - i * 0.035) / 100 * 255) = 102.
        HandMask{"Pixel line", EffectPixelLine, 7, 5, 20, {{102, 'v'}}, R"(
..vv...
.v.....
.......
..v....
v......
)"}));

// ---- the edge cases of the catalogue ----

TEST(EffectCatalogue, FadeDownFillsRowsUpToTheRoundedShare) {
  GuardedMask full(10, 10), first(10, 10);
  EffectFadeDown(full.Cells(), 10, 10, 100);
  EffectFadeDown(first.Cells(), 10, 10, 5);  // MulDiv(5, 9, 100) = 0
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(full.At(x, y), 255);
      EXPECT_EQ(first.At(x, y), y == 0 ? MulDiv(5, 255, 100) : 0) << x << "," << y;
    }
}

TEST(EffectCatalogue, FadeCrossInAtFullIsTheEmptyCrossSwapped) {
  GuardedMask m(13, 8);
  EffectFadeCrossIn(m.Cells(), 13, 8, 100);
  EXPECT_EQ(m.Values(), std::vector<uint8_t>(13 * 8, 255));
}

TEST(EffectCatalogue, CircleSlideOutDrawsTheRingOfRadiusZeroAtZeroPercent) {
  GuardedMask slide(7, 5), smooth(7, 5);
  EffectCircleSlideOut(slide.Cells(), 7, 5, 0);
  EffectCircleSmoothOut(smooth.Cells(), 7, 5, 0);
  EXPECT_EQ(slide.Rows(), Picture(R"(
.......
.......
..###..
.......
.......
)"));
  EXPECT_EQ(smooth.Values(), std::vector<uint8_t>(35, 0));
}

// Every effect that does nothing at 0 % leaves its buffer as it was: cells of a value no
// effect writes stay, and so do the In variants made by inversion.
TEST(EffectCatalogue, EffectsThatDrawNothingAtZeroLeaveTheirBufferAlone) {
  for (const CatalogueEntry& e : Catalogue()) {
    if (e.TouchesAtZero || e.Kind == pkManual) continue;
    for (auto [W, H] : {std::pair{13, 8}, std::pair{1, 1}, std::pair{64, 40}}) {
      if (e.Kind == pkFade) {
        GuardedMask m(W, H, 0x5A);
        std::get<TgxFadeProc>(e.Proc)(m.Cells(), W, H, 0);
        EXPECT_EQ(m.Values(), std::vector<uint8_t>(size_t(W * H), 0x5A)) << e.Name << " " << W << "x" << H;
      } else {
        std::vector<TgxDisplacement> records(size_t(W * H), TgxDisplacement{7, 0, 9, 9});
        std::get<TgxSlideProc>(e.Proc)(records.data(), W, H, 0);
        for (const TgxDisplacement& d : records)
          ASSERT_TRUE(d.Flag == 7 && d.SourceX == 9 && d.SourceY == 9) << e.Name << " " << W << "x" << H;
      }
    }
  }
}

// ---- bounds and percentages ----

struct GridSize {
  int W, H;
};
const GridSize kGrids[] = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {13, 8}, {64, 40}};

TEST(EffectCatalogue, FadeEffectsNeverWriteOutsideTheGrid) {
  for (const CatalogueEntry& e : OfKind(pkFade))
    for (const GridSize& g : kGrids) {
      std::vector<uint8_t> full;
      for (int p = 0; p <= 100; ++p) {
        GuardedMask m(g.W, g.H);
        const std::vector<uint8_t> cells = RunFade(e.Proc, g.W, g.H, p, m);
        ASSERT_TRUE(m.GuardIntact()) << e.Name << " " << g.W << "x" << g.H << " at " << p;
        if (p == 100) full = cells;
      }
      // Above 100 counts as 100.
      for (int p : {101, 150, 255}) {
        GuardedMask m(g.W, g.H);
        EXPECT_EQ(RunFade(e.Proc, g.W, g.H, p, m), full) << e.Name << " " << g.W << "x" << g.H << " at " << p;
        ASSERT_TRUE(m.GuardIntact()) << e.Name << " at " << p;
      }
    }
}

TEST(EffectCatalogue, EffectsIgnoreGridsWithoutCells) {
  uint8_t cell = 0x5A;
  TgxDisplacement record{7, 0, 9, 9};
  for (const CatalogueEntry& e : Catalogue())
    for (auto [W, H] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-3, 4}, std::pair{0, 0}}) {
      if (e.Kind == pkFade) std::get<TgxFadeProc>(e.Proc)(&cell, W, H, 50);
      if (e.Kind == pkSlide) std::get<TgxSlideProc>(e.Proc)(&record, W, H, 50);
      EXPECT_EQ(cell, 0x5A) << e.Name;
      EXPECT_EQ(record.Flag, 7) << e.Name;
    }
}

TEST(EffectCatalogue, SlideEffectsNeverWriteOutsideTheirRecords) {
  const TgxDisplacement guard{0xEE, 0xEE, -7777, -7777};
  auto same = [](const TgxDisplacement& a, const TgxDisplacement& b) {
    return a.Flag == b.Flag && a.Reserved == b.Reserved && a.SourceX == b.SourceX && a.SourceY == b.SourceY;
  };
  for (const CatalogueEntry& e : OfKind(pkSlide))
    for (const GridSize& g : kGrids)
      for (int p : {0, 1, 33, 50, 99, 100, 101, 255}) {
        const size_t n = size_t(g.W * g.H);
        std::vector<TgxDisplacement> buffer(n + 32, guard);
        TgxDisplacement* records = buffer.data() + 16;
        std::fill(records, records + n, TgxDisplacement{0, 0, 0, 0});
        std::get<TgxSlideProc>(e.Proc)(records, g.W, g.H, uint8_t(p));
        for (int i = 0; i < 16; ++i) {
          ASSERT_TRUE(same(buffer[i], guard)) << e.Name << " at " << p;
          ASSERT_TRUE(same(buffer[16 + n + i], guard)) << e.Name << " at " << p;
        }
        for (size_t i = 0; i < n; ++i) ASSERT_EQ(records[i].Reserved, 0) << e.Name;
      }
}

// ---- random cells ----

std::vector<uint8_t> FadeCells(TgxFadeProc Proc, int W, int H, int p) {
  GuardedMask m(W, H);
  Proc(m.Cells(), W, H, uint8_t(p));
  return m.Values();
}

TEST(EffectCatalogue, PixelFramesNestAndHoldTheirShareOfCells) {
  for (const GridSize& g : {GridSize{13, 8}, GridSize{64, 40}}) {
    const int N = g.W * g.H;
    std::vector<uint8_t> before(size_t(N), 0);
    for (int p = 1; p <= 100; ++p) {
      const std::vector<uint8_t> cells = FadeCells(EffectPixel, g.W, g.H, p);
      int count = 0;
      for (int i = 0; i < N; ++i) {
        ASSERT_TRUE(cells[i] == 0 || cells[i] == 255);
        count += cells[i] == 255;
        // Every cell of the frame before is in this one.
        ASSERT_TRUE(before[i] == 0 || cells[i] == 255) << g.W << "x" << g.H << " cell " << i << " lost at " << p;
      }
      EXPECT_EQ(count, int(std::nearbyint(p / 100.0 * N))) << g.W << "x" << g.H << " at " << p;
      before = cells;
    }
  }
}

// The rule as it stands: reseed with W * H, then c times draw Random(N) until the cell
// drawn is still 0, and set it.
std::vector<uint8_t> ReferencePixel(int W, int H, int c) {
  const uint32_t N = uint32_t(W * H);
  std::vector<uint8_t> cells(N, 0);
  uint32_t s = N;
  for (int k = 0; k < c; ++k) {
    uint32_t i;
    do {
      s = s * 134775813u + 1u;
      i = uint32_t((uint64_t(s) * N) >> 32);
    } while (cells[i] != 0);
    cells[i] = 255;
  }
  return cells;
}

TEST(EffectCatalogue, PixelChoosesTheFirstDistinctCellsOfTheSequenceWhateverRanBefore) {
  // Sizes interleaved and percentages out of order, so that what is kept between frames is
  // reused, extended, dropped and rebuilt on the way.
  const GridSize sizes[] = {{13, 8}, {64, 40}, {7, 5}, {9, 9}, {13, 8}, {31, 3}, {64, 40}, {8, 13}};
  for (int round = 0; round < 2; ++round)
    for (const GridSize& g : sizes)
      for (int p : {97, 3, 50, 71, 100, 1}) {
        const int c = int(std::nearbyint(p / 100.0 * (g.W * g.H)));
        ASSERT_EQ(FadeCells(EffectPixel, g.W, g.H, p), ReferencePixel(g.W, g.H, c)) << g.W << "x" << g.H << " at " << p;
      }
}

TEST(EffectCatalogue, PixelFadeChoosesPixelsCellsAtItsOwnOpacity) {
  for (int p : {1, 30, 31, 77, 100}) {
    const std::vector<uint8_t> pixel = FadeCells(EffectPixel, 13, 8, p);
    const std::vector<uint8_t> fade = FadeCells(EffectPixelFade, 13, 8, p);
    const int value = int(std::nearbyint(p * 255 / 100.0));
    for (size_t i = 0; i < pixel.size(); ++i) ASSERT_EQ(fade[i], pixel[i] ? value : 0) << "at " << p;
  }
}

TEST(EffectCatalogue, PixelLineDimsTheColumnsAwayFromTheLeft) {
  // 64 x 40 at 50: every cell is chosen at 100, none are lost on the way; at 50 the
  // column value falls as Round(Round(100 - i * 6.4 / 50) / 100 * 255).
  const std::vector<uint8_t> pixel = FadeCells(EffectPixel, 64, 40, 50);
  const std::vector<uint8_t> line = FadeCells(EffectPixelLine, 64, 40, 50);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 64; ++x) {
      const double s = std::nearbyint(100 - x * 64 * 0.1 / 50);
      const int value = int(std::nearbyint(s / 100 * 255));
      ASSERT_EQ(line[x + y * 64], pixel[x + y * 64] ? value : 0) << x << "," << y;
    }
  EXPECT_EQ(FadeCells(EffectPixelLine, 64, 40, 100), std::vector<uint8_t>(64 * 40, 255));
}

// ---- Stream and Plasma ----

TEST(EffectCatalogue, StreamFillsEachColumnFromTheTopAfterItsDelay) {
  // 1 x 5: seed 5 draws Random(80) = 12, so the column waits 12 iterations; there are
  // MulDiv(84, p, 100) + 1 iterations: 12 at 13 %, 13 at 14 %, 14 at 15 %.
  EXPECT_EQ(FadeCells(EffectStream, 1, 5, 13), (std::vector<uint8_t>{0, 0, 0, 0, 0}));
  EXPECT_EQ(FadeCells(EffectStream, 1, 5, 14), (std::vector<uint8_t>{255, 0, 0, 0, 0}));
  EXPECT_EQ(FadeCells(EffectStream, 1, 5, 15), (std::vector<uint8_t>{255, 255, 0, 0, 0}));

  for (const GridSize& g : {GridSize{13, 8}, GridSize{64, 40}}) {
    std::vector<uint8_t> before(size_t(g.W * g.H), 0);
    for (int p = 0; p <= 100; ++p) {
      const std::vector<uint8_t> cells = FadeCells(EffectStream, g.W, g.H, p);
      for (int x = 0; x < g.W; ++x)
        for (int y = 0; y < g.H; ++y) {
          const size_t i = size_t(x + y * g.W);
          // Filled from the top without gaps, and never emptied by a later frame.
          if (y > 0 && cells[i]) {
            ASSERT_EQ(cells[i - g.W], 255) << x << "," << y << " at " << p;
          }
          if (before[i]) {
            ASSERT_EQ(cells[i], 255) << x << "," << y << " at " << p;
          }
        }
      before = cells;
    }
    // The longest delay is 79 iterations; H + 80 iterations fill every column.
    EXPECT_EQ(before, std::vector<uint8_t>(size_t(g.W * g.H), 255)) << g.W << "x" << g.H;
  }
}

TEST(EffectCatalogue, PlasmaRisesWithThePercentageOverThePalette) {
  // Row 0: cell (0, 0) reads palette[256] = 0 (the ramp 0 -> 0), cell (128, 0) reads
  // palette[0] = 255; the level is MulDiv(2p, 255, 100).
  struct Case {
    int p, At0, At128;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{20, 102, 0}, Case{50, 255, 0}, Case{75, 255, 128}, Case{100, 255, 255}}) {
    const std::vector<uint8_t> cells = FadeCells(EffectPlasma, 130, 1, c.p);
    EXPECT_EQ(cells[0], c.At0) << "at " << c.p;
    EXPECT_EQ(cells[128], c.At128) << "at " << c.p;
  }
  EXPECT_EQ(FadeCells(EffectPlasma, 64, 40, 0), std::vector<uint8_t>(64 * 40, 0));
  EXPECT_EQ(FadeCells(EffectPlasma, 64, 40, 100), std::vector<uint8_t>(64 * 40, 255));
}

// ---- displacement records ----

std::vector<TgxDisplacement> SlideRecords(TgxSlideProc Proc, int W, int H, int p) {
  std::vector<TgxDisplacement> records(size_t(W * H), TgxDisplacement{0, 0, 0, 0});
  Proc(records.data(), W, H, uint8_t(p));
  return records;
}

TEST(EffectCatalogue, InterlaceSlidesRowsInFromAlternateSides) {
  // o = MulDiv(50, 7, 100) = 4: odd rows take their cells from 4 to the left, even rows
  // from 4 to the right; at 100 every cell shows its own place.
  const std::vector<TgxDisplacement> half = SlideRecords(EffectInterlace, 7, 5, 50);
  const std::vector<TgxDisplacement> full = SlideRecords(EffectInterlace, 7, 5, 100);
  for (int j = 0; j < 5; ++j)
    for (int i = 0; i < 7; ++i) {
      const TgxDisplacement& h = half[i + j * 7];
      EXPECT_EQ(h.Flag, 255);
      EXPECT_EQ(h.SourceX, j % 2 ? i - 4 : i + 4) << i << "," << j;
      EXPECT_EQ(h.SourceY, j);
      const TgxDisplacement& f = full[i + j * 7];
      EXPECT_TRUE(f.Flag == 255 && f.SourceX == i && f.SourceY == j) << i << "," << j;
    }
}

TEST(EffectCatalogue, CornerBringsTheBottomRightOfTheNewImageToTheTopLeft) {
  // a = MulDiv(6, 50, 100) = 3, b = MulDiv(4, 50, 100) = 2.
  const std::vector<TgxDisplacement> records = SlideRecords(EffectCorner, 7, 5, 50);
  for (int j = 0; j < 5; ++j)
    for (int i = 0; i < 7; ++i) {
      const TgxDisplacement& r = records[i + j * 7];
      if (i <= 3 && j <= 2)
        EXPECT_TRUE(r.Flag == 255 && r.SourceX == 3 + i && r.SourceY == 2 + j) << i << "," << j;
      else
        EXPECT_TRUE(r.Flag == 0 && r.SourceX == 0 && r.SourceY == 0) << i << "," << j;
    }
  for (int p = 1; p <= 100; ++p) {
    const TgxDisplacement r = SlideRecords(EffectCorner, 1, 1, p)[0];
    EXPECT_TRUE(r.Flag == 255 && r.SourceX == 0 && r.SourceY == 0) << "at " << p;
  }
}

// ---- the manual effects ----

constexpr int kW = 8, kH = 4;

TgxColor OldPixel(int x, int y) { return 0xFF000000u | TgxColor(0x10 + x) << 16 | TgxColor(0x20 + y) << 8 | 0x11; }
TgxColor NewPixel(int x, int y) { return 0xFF000000u | TgxColor(0x80 + x) << 16 | TgxColor(0x90 + y) << 8 | 0x22; }

std::unique_ptr<TgxBitmap> MakeImage(int W, int H, const std::function<TgxColor(int, int)>& Pixel) {
  auto image = std::make_unique<TgxBitmap>();
  image->SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) image->SetPixel(x, y, Pixel(x, y));
  return image;
}

struct ManualFrame {
  TgxRotation Rotation;
  int p;
  // Where the new image lands on the frame, and how far the old image has moved.
  int NewX, NewY, OldX, OldY;
};

void PrintTo(const ManualFrame& c, std::ostream* os) { *os << "rotation " << int(c.Rotation) << " at " << c.p; }

// The frame expected when the new image lies at (NewX, NewY) over the old image moved by
// (OldX, OldY); where neither lies, Uncovered decides.
void ExpectFrame(TgxBitmap* Work, const ManualFrame& c, bool NewOnTop) {
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const int nx = x - c.NewX, ny = y - c.NewY, ox = x - c.OldX, oy = y - c.OldY;
      const bool inNew = nx >= 0 && nx < kW && ny >= 0 && ny < kH;
      const bool inOld = ox >= 0 && ox < kW && oy >= 0 && oy < kH;
      ASSERT_TRUE(inNew || inOld) << x << "," << y;
      const TgxColor expected = (inNew && (NewOnTop || !inOld)) ? NewPixel(nx, ny) : OldPixel(ox, oy);
      ASSERT_EQ(Work->GetPixel(x, y), expected) << "pixel " << x << "," << y;
    }
}

class ManualEffect : public ::testing::Test {
 protected:
  void SetUp() override {
    Old = MakeImage(kW, kH, OldPixel);
    New = MakeImage(kW, kH, NewPixel);
    Work = MakeImage(kW, kH, OldPixel);
    Settings = std::make_unique<TgxAnimationRec>(nullptr);
  }
  void Run(TgxManualProc Proc, TgxRotation Rotation, int p) {
    Settings->SetRotation(Rotation);
    Proc(Work.get(), New.get(), Settings.get(), uint8_t(p));
  }
  std::unique_ptr<TgxBitmap> Old, New, Work;
  std::unique_ptr<TgxAnimationRec> Settings;
};

class SlideFrame : public ManualEffect, public ::testing::WithParamInterface<ManualFrame> {};

// At 50 % of 8 x 4: t = 4 across, 2 up or down.
TEST_P(SlideFrame, PutsTheNewImageOverTheOldOneAtItsPlace) {
  const ManualFrame& c = GetParam();
  Run(EffectSlide, c.Rotation, c.p);
  ExpectFrame(Work.get(), c, true);
  EXPECT_TRUE(New->AlphaBlend());
}

INSTANTIATE_TEST_SUITE_P(
    EightByFour, SlideFrame,
    ::testing::Values(
        // The new image's right half at the left.
        ManualFrame{krNone, 50, -4, 0, 0, 0}, ManualFrame{krRotate90, 50, 0, 2, 0, 0},
        ManualFrame{krRotate180, 50, 4, 0, 0, 0}, ManualFrame{krRotate270, 50, 0, -2, 0, 0},
        ManualFrame{krNone, 0, -8, 0, 0, 0}, ManualFrame{krNone, 100, 0, 0, 0, 0}));

class PushFrame : public ManualEffect, public ::testing::WithParamInterface<ManualFrame> {};

// At 25 %: t = 2 across, 1 up or down; the old image moves on ahead of the new one.
TEST_P(PushFrame, MovesTheOldImageAheadOfTheNewOne) {
  const ManualFrame& c = GetParam();
  Run(EffectPush, c.Rotation, c.p);
  ExpectFrame(Work.get(), c, true);
}

INSTANTIATE_TEST_SUITE_P(EightByFour, PushFrame,
                         ::testing::Values(ManualFrame{krNone, 25, -6, 0, 2, 0}, ManualFrame{krRotate90, 25, 0, 3, 0, -1},
                                           ManualFrame{krRotate180, 25, 6, 0, -2, 0},
                                           ManualFrame{krRotate270, 25, 0, -3, 0, 1},
                                           ManualFrame{krNone, 75, -2, 0, 6, 0}));

class SlideBackFrame : public ManualEffect, public ::testing::WithParamInterface<ManualFrame> {};

// The new image stays in place; the old one moves off it by t and uncovers it.
TEST_P(SlideBackFrame, MovesTheOldImageOffTheNewOne) {
  const ManualFrame& c = GetParam();
  Run(EffectSlideBack, c.Rotation, c.p);
  ExpectFrame(Work.get(), c, false);
  EXPECT_TRUE(New->AlphaBlend());
}

INSTANTIATE_TEST_SUITE_P(EightByFour, SlideBackFrame,
                         ::testing::Values(ManualFrame{krNone, 25, 0, 0, -2, 0}, ManualFrame{krRotate90, 25, 0, 0, 0, -1},
                                           ManualFrame{krRotate180, 25, 0, 0, 2, 0},
                                           ManualFrame{krRotate270, 25, 0, 0, 0, 1},
                                           ManualFrame{krRotate90, 100, 0, 0, 0, -4}));

TgxColor Patterned(int x, int y) {
  return 0xFF000000u | TgxColor((x * 37 + y * 11) & 255) << 16 | TgxColor((x * x + 3 * y * y) & 255) << 8 |
         TgxColor((200 - x * y * 5) & 255);
}

// The tent filter as its rule states it: along rows, then along columns of the result,
// sum of (r + 1 - |k|) times the channel at the clamped position, div (r + 1)^2.
std::vector<TgxColor> TentBlur(const std::vector<TgxColor>& In, int W, int H, int r) {
  auto pass = [&](const std::vector<TgxColor>& src, bool rows) {
    std::vector<TgxColor> out(src.size());
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) {
        TgxColor pixel = 0xFF000000u;
        for (int shift : {0, 8, 16}) {
          long sum = 0;
          for (int k = -r; k <= r; ++k) {
            const int sx = rows ? std::clamp(x + k, 0, W - 1) : x, sy = rows ? y : std::clamp(y + k, 0, H - 1);
            sum += long(r + 1 - std::abs(k)) * ((src[sx + sy * W] >> shift) & 255);
          }
          pixel |= TgxColor(sum / ((r + 1) * (r + 1))) << shift;
        }
        out[x + y * W] = pixel;
      }
    return out;
  };
  return pass(pass(In, true), false);
}

TEST_F(ManualEffect, BlurShowsTheNewImageBlurredLessAndLess) {
  const int W = 11, H = 7;
  New = MakeImage(W, H, Patterned);
  std::vector<TgxColor> sharp;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) sharp.push_back(Patterned(x, y));
  for (int p : {1, 50, 85, 90, 91, 100}) {
    Work = MakeImage(W, H, OldPixel);
    Run(EffectBlur, krNone, p);
    const int r = (100 - p) / 10;
    const std::vector<TgxColor> expected = r > 0 ? TentBlur(sharp, W, H, r) : sharp;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x) ASSERT_EQ(Work->GetPixel(x, y), expected[x + y * W]) << x << "," << y << " at " << p;
  }
}

TEST_F(ManualEffect, BlurredFramesAreOpaqueTheSharpOneIsACopy) {
  New->SetPixel(3, 1, 0x007F007Fu);  // a key-coloured pixel, its alpha cleared by the engine
  Run(EffectBlur, krNone, 100);
  EXPECT_EQ(Work->GetPixel(3, 1), 0x007F007Fu);
  Run(EffectBlur, krNone, 50);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) ASSERT_EQ(Work->GetPixel(x, y) >> 24, 255u) << x << "," << y;
}

TEST_F(ManualEffect, NothingMovesAtZeroPercent) {
  for (TgxManualProc proc : {EffectSlide, EffectPush, EffectBlur, EffectSlideBack})
    for (TgxRotation rotation : {krNone, krRotate90, krRotate180, krRotate270}) {
      Work = MakeImage(kW, kH, OldPixel);
      Run(proc, rotation, 0);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) ASSERT_EQ(Work->GetPixel(x, y), OldPixel(x, y)) << x << "," << y;
    }
}

TEST_F(ManualEffect, ImagesOfOtherSizesStayWithinBothImages) {
  // Work keeps its size; only the part the two images share is drawn from the new one.
  for (auto [nw, nh] : {std::pair{5, 3}, std::pair{13, 9}, std::pair{1, 1}})
    for (TgxManualProc proc : {EffectSlide, EffectPush, EffectBlur, EffectSlideBack})
      for (TgxRotation rotation : {krNone, krRotate90, krRotate180, krRotate270})
        for (int p : {1, 37, 50, 99, 100, 200}) {
          Work = MakeImage(kW, kH, OldPixel);
          New = MakeImage(nw, nh, NewPixel);
          Run(proc, rotation, p);
          ASSERT_EQ(Work->Width(), kW);
          ASSERT_EQ(Work->Height(), kH);
        }
}

TEST_F(ManualEffect, MissingImagesOrSettingsAreHandled) {
  TgxBitmap empty;
  for (TgxManualProc proc : {EffectSlide, EffectPush, EffectBlur, EffectSlideBack}) {
    proc(Work.get(), &empty, Settings.get(), 50);
    proc(&empty, New.get(), Settings.get(), 50);
    proc(nullptr, New.get(), Settings.get(), 50);
    EXPECT_EQ(Work->GetPixel(0, 0), OldPixel(0, 0));
  }
  // Without settings the effects run unturned.
  EffectSlide(Work.get(), New.get(), nullptr, 50);
  ExpectFrame(Work.get(), ManualFrame{krNone, 50, -4, 0, 0, 0}, true);
}

}  // namespace
