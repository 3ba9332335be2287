#include <gtest/gtest.h>

#include "qvDrawUtils/Style.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "vcl/SysUtils.h"

namespace {

class DrawUtilsStyleTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    InitWindowsVersion();
  }
};

TEST_F(DrawUtilsStyleTest, ModeFollowsTheActiveStyleAndTheThemeSwitches) {
  EXPECT_FALSE(IsCustomStyle());
  EXPECT_TRUE(IsThemed());
  EXPECT_EQ(StyleMode(), qvsmThemed);

  TStyleManager::SetStyle("Windows10 Dark");
  EXPECT_TRUE(IsCustomStyle());
  EXPECT_TRUE(IsThemed());
  EXPECT_EQ(StyleMode(), qvsmStyled);

  // Themes switched off leave a custom style styled, and the system style classic.
  SetThemeAppProperties(0);
  EXPECT_EQ(StyleMode(), qvsmStyled);
  TStyleManager::SetStyle("Windows");
  EXPECT_FALSE(IsCustomStyle());
  EXPECT_FALSE(IsThemed());
  EXPECT_EQ(StyleMode(), qvsmClassic);
}

TEST_F(DrawUtilsStyleTest, VersionPredicatesReadTheAnswersTakenByInitWindowsVersion) {
  // The answers in force at start-up: Windows 10.
  EXPECT_TRUE(IsWindows10());
  EXPECT_FALSE(IsWindows8() || IsWindows7() || IsWindowsXP());

  struct Case {
    int Major, Minor;
    bool W10, W8, W7, XP;
  };
  const Case cases[] = {
      {10, 0, true, false, false, false}, {11, 5, true, false, false, false}, {6, 3, false, true, false, false},
      {6, 2, false, true, false, false},  {6, 1, false, false, true, false},  {6, 0, false, false, false, false},
      {5, 1, false, false, false, true},  {5, 2, false, false, false, false}, {9, 9, false, false, false, false},
  };
  for (const Case& c : cases) {
    {
      TOSAnswers answers;
      answers.MajorVersion = c.Major;
      answers.MinorVersion = c.Minor;
      TOSAnswersOverride scope(answers);
      // The predicates keep the numbers taken until asked to take them again.
      EXPECT_TRUE(IsWindows10()) << c.Major << "." << c.Minor;
      InitWindowsVersion();
      EXPECT_EQ(IsWindows10(), c.W10) << c.Major << "." << c.Minor;
      EXPECT_EQ(IsWindows8(), c.W8) << c.Major << "." << c.Minor;
      EXPECT_EQ(IsWindows7(), c.W7) << c.Major << "." << c.Minor;
      EXPECT_EQ(IsWindowsXP(), c.XP) << c.Major << "." << c.Minor;
    }
    InitWindowsVersion();
  }
}

TEST(DrawUtilsGeometry, PointInRectIncludesAllFourEdges) {
  const TRect r = Rect(10, 20, 30, 40);
  struct Case {
    TPoint P;
    bool Inside;
  };
  const Case cases[] = {
      {{10, 20}, true},  {{30, 40}, true},  {{30, 20}, true},  {{10, 40}, true},  {{20, 30}, true},
      {{9, 30}, false},  {{31, 30}, false}, {{20, 19}, false}, {{20, 41}, false}, {{31, 41}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(PointInRect(r, c.P), c.Inside) << c.P.X << "," << c.P.Y;
  // An inverted rectangle holds nothing.
  EXPECT_FALSE(PointInRect(Rect(30, 40, 10, 20), Point(20, 30)));
}

TEST(DrawUtilsGeometry, CenterRectVertMovesToTheLeftEdgeAndTheVerticalMiddle) {
  struct Case {
    TRect R, Bounds, Expected;
  };
  const Case cases[] = {
      // Even room: 6 pixels to share.
      {Rect(0, 0, 8, 4), Rect(5, 10, 50, 20), Rect(5, 13, 13, 17)},
      // Odd room: 5 pixels, 2 above.
      {Rect(100, 100, 108, 105), Rect(5, 10, 50, 20), Rect(5, 12, 13, 17)},
      // Taller than the bounds: -5 div 2 is -2 (toward zero), not -3.
      {Rect(0, 0, 4, 15), Rect(0, 10, 10, 20), Rect(0, 8, 4, 23)},
      // Already in place.
      {Rect(1, 2, 3, 4), Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)},
  };
  for (const Case& c : cases) {
    TRect r = c.R;
    const TRect result = CenterRectVert(r, c.Bounds);
    EXPECT_EQ(result, c.Expected) << c.Expected.Left << "," << c.Expected.Top;
    EXPECT_EQ(r, c.Expected);
  }
}

}  // namespace
