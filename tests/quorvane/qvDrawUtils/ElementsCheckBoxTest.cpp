// Check boxes: the size callers lay out with, and where the glyph lands.
#include <gtest/gtest.h>

#include <cmath>

#include "ElementsSupport.h"
#include "qvDrawUtils/Elements.h"

using namespace elements_test;

namespace {

int NaturalWidth() {
  SIZE s{};
  EXPECT_TRUE(StyleServices()->GetElementSize(nullptr, StyleServices()->GetElementDetails(tbCheckBoxCheckedNormal),
                                              esActual, s));
  return s.cx;
}

}  // namespace

TEST_F(ElementsTest, CheckBoxSizeFollowsTheScalingRulesOfEachLook) {
  struct Case {
    elements_test::Look Look;
    bool ScaleThemes;
    double Scale;
    int Fixed;          // the answer, or 0 when it is the style's natural width ...
    double OfNatural;   // ... times this, rounded half to even
  };
  const Case cases[] = {
      // The system's theme keeps its glyph unless ScaleThemes asks for 13 * scale (19.5
      // rounds to 20) and the two differ by more than the scale.
      {lkThemed, false, 1.5, 0, 1},
      {lkThemed, false, 2, 0, 1},
      {lkThemed, true, 1.5, 20, 0},
      {lkThemed, true, 1.1, 0, 1},  // Round(14.3) = 14 is within 1.1 of 13
      {lkThemed, true, 1, 0, 1},
      // Custom styles and classic boxes grow with the scale.
      {lkStyled, false, 1, 0, 1},
      {lkStyled, false, 1.5, 0, 1.5},
      {lkStyled, true, 2, 0, 2},
      {lkClassic, false, 1, 13, 0},
      {lkClassic, false, 0.5, 13, 0},
      {lkClassic, false, 1.5, 20, 0},
      {lkClassic, false, 2.5, 32, 0},  // 32.5 rounds to 32
      // Classic boxes are no theme: ScaleThemes must not scale them twice.
      {lkClassic, true, 2, 26, 0},
  };
  for (const Case& c : cases) {
    SetLook(c.Look);
    SetScaleThemes(c.ScaleThemes);
    Painted p(4, 4, 0u);
    const int expected = c.Fixed ? c.Fixed : int(std::nearbyint(c.OfNatural * NaturalWidth()));
    EXPECT_EQ(GetCheckBoxSize(&p.Canvas, c.Scale), expected)
        << LookName(c.Look) << " ScaleThemes " << c.ScaleThemes << " scale " << c.Scale;
  }
}

TEST_F(ElementsTest, TheSystemThemeReportsA13PixelCheckBoxKeptAt150Percent) {
  SetLook(lkThemed);
  SetScaleThemes(false);
  Painted p(4, 4, 0u);
  EXPECT_EQ(NaturalWidth(), 13);
  EXPECT_EQ(GetCheckBoxSize(&p.Canvas, 1.5), 13);
}

// Where the glyph lands at scale 1: the 13-pixel box at the left edge and vertically
// centred, moved back inside when clipped, or centred (classic: a box of 2e+1 around
// the centre, e = Round(6s)).
TEST_F(ElementsTest, CheckBoxGlyphIsPlacedAtTheLeftInsideOrInTheCentre) {
  enum Placement { Left, Clipped, Center };
  struct Case {
    elements_test::Look Look;
    Placement Routine;
    TRect Rect;
    TRect Expected;
  };
  const Case cases[] = {
      {lkThemed, Left, {5, 0, 40, 20}, {5, 3, 18, 16}},
      {lkThemed, Left, {5, 0, 40, 21}, {5, 4, 18, 17}},
      {lkThemed, Clipped, {5, 0, 40, 20}, {5, 3, 18, 16}},
      {lkThemed, Clipped, {5, 0, 15, 20}, {2, 3, 15, 16}},
      {lkThemed, Center, {5, 0, 40, 20}, {16, 4, 29, 17}},
      {lkStyled, Left, {5, 0, 40, 20}, {5, 3, 18, 16}},
      {lkStyled, Center, {5, 2, 41, 22}, {17, 6, 30, 19}},
      {lkClassic, Left, {5, 0, 40, 20}, {5, 3, 18, 16}},
      {lkClassic, Center, {5, 0, 40, 20}, {16, 4, 29, 17}},
  };
  for (const Case& c : cases) {
    SetLook(c.Look);
    for (int check : {0, 1, 2}) {
      Painted p(45, 25, 0xFF13579Bu);
      switch (c.Routine) {
        case Left: DrawCheckBoxLeft(&p.Canvas, c.Rect, qvsNormal, 1, check); break;
        case Clipped: DrawCheckBoxClipped(&p.Canvas, c.Rect, qvsNormal, 1, check); break;
        case Center: DrawCheckBoxCenter(&p.Canvas, c.Rect, qvsNormal, 1, check); break;
      }
      EXPECT_EQ(p.Pixels.InkBounds(0xFF13579Bu), c.Expected)
          << LookName(c.Look) << " routine " << c.Routine << " check " << check;
      SaveIfFailed(p.Pixels, LookName(c.Look));
    }
  }
}

// At 150 % the glyph grows to Round(13 * 1.5) where the rules scale it, and keeps its 13
// pixels where they do not.
TEST_F(ElementsTest, CheckBoxGlyphGrowsWhereTheScalingSwitchesSay) {
  struct Case {
    elements_test::Look Look;
    bool ScaleThemes, ScaleStyles;
    int MinSide, MaxSide;
  };
  const Case cases[] = {
      {lkThemed, false, true, 13, 13},
      // Resampled from a 15-pixel bitmap with a transparent frame to 20: the glyph is
      // 20 * 13 / 15, give or take the resampling's blur.
      {lkThemed, true, true, 16, 20},
      // Scaled from 15 to Round(15 * 1.5) = 22 (23 with the frame), glyph 13 * 1.5.
      {lkStyled, false, true, 18, 22},
      {lkStyled, false, false, 13, 13},
      {lkClassic, false, true, 20, 20},
  };
  for (const Case& c : cases) {
    SetLook(c.Look);
    SetScaleThemes(c.ScaleThemes);
    SetScaleStyles(c.ScaleStyles);
    Painted p(60, 40, 0xFF13579Bu);
    DrawCheckBoxLeft(&p.Canvas, {4, 4, 56, 36}, qvsNormal, 1.5, 1);
    const TRect ink = p.Pixels.InkBounds(0xFF13579Bu);
    EXPECT_GE(ink.Width(), c.MinSide) << LookName(c.Look);
    EXPECT_LE(ink.Width(), c.MaxSide) << LookName(c.Look);
    EXPECT_EQ(ink.Width(), ink.Height()) << LookName(c.Look);
    SaveIfFailed(p.Pixels, LookName(c.Look));
  }
}
