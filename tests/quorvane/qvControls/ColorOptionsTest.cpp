// TqvButtonColorOptions: defaults, the state getters, the mapping through a custom style,
// OnChange only on a change, and Assign copying what is stored.
#include <gtest/gtest.h>

#include "qvControls/ButtonColorOptions.h"
#include "themes/StyleManager.h"

namespace {

class ColorOptionsTest : public ::testing::Test {
 protected:
  void TearDown() override { TStyleManager::SetStyle("Windows"); }
};

TEST_F(ColorOptionsTest, TheStateChoosesWhichColoursAnswer) {
  TqvButtonColorOptions o;
  o.SetStyleColors(false);
  struct Row {
    TqvsCtrlState state;
    TColor color, frame, font, title;
  };
  o.SetNormalColor(TColor(0x000001));
  o.SetHotColor(TColor(0x000002));
  o.SetPressedColor(TColor(0x000003));
  o.SetFocusedColor(TColor(0x000004));
  o.SetDisabledColor(TColor(0x000005));
  o.SetFrameNormalColor(TColor(0x000101));
  o.SetFrameHotColor(TColor(0x000102));
  o.SetFramePressedColor(TColor(0x000103));
  o.SetFrameFocusedColor(TColor(0x000104));
  o.SetFrameDisabledColor(TColor(0x000105));
  o.SetFontNormalColor(TColor(0x010001));
  o.SetFontHotColor(TColor(0x010002));
  o.SetFontPressedColor(TColor(0x010003));
  o.SetFontFocusedColor(TColor(0x010004));
  o.SetFontDisabledColor(TColor(0x010005));
  o.SetTitleFontNormalColor(TColor(0x020001));
  o.SetTitleFontHotColor(TColor(0x020002));
  o.SetTitleFontPressedColor(TColor(0x020003));
  o.SetTitleFontFocusedColor(TColor(0x020004));
  o.SetTitleFontDisabledColor(TColor(0x020005));
  const Row rows[] = {
      {qvsNormal, TColor(0x000001), TColor(0x000101), TColor(0x010001), TColor(0x020001)},
      {qvsHot, TColor(0x000002), TColor(0x000102), TColor(0x010002), TColor(0x020002)},
      {qvsPressed, TColor(0x000003), TColor(0x000103), TColor(0x010003), TColor(0x020003)},
      {qvsFocused, TColor(0x000004), TColor(0x000104), TColor(0x010004), TColor(0x020004)},
      {qvsDisabled, TColor(0x000005), TColor(0x000105), TColor(0x010005), TColor(0x020005)},
  };
  for (const Row& r : rows) {
    o.SetState(r.state);
    EXPECT_EQ(o.Color(), r.color) << r.state;
    EXPECT_EQ(o.FrameColor(), r.frame) << r.state;
    EXPECT_EQ(o.FontColor(), r.font) << r.state;
    EXPECT_EQ(o.TitleFontColor(), r.title) << r.state;
  }
}

TEST_F(ColorOptionsTest, StyleColorsMapSystemColoursOnlyUnderACustomStyle) {
  TqvButtonColorOptions o;
  // No custom style: exactly as stored.
  EXPECT_EQ(o.NormalColor(), clBtnFace);
  EXPECT_EQ(o.FrameHotColor(), clHighlight);
  EXPECT_EQ(o.FontDisabledColor(), clBtnShadow);
  EXPECT_EQ(o.FrameWidth(), 1);
  o.SetHotColor(TColor(0x123456));
  TStyleManager::SetStyle("Glossy");
  EXPECT_NE(o.NormalColor(), clBtnFace) << "the style's face colour";
  EXPECT_EQ(o.NormalColor() & 0xFF000000u, 0u);
  EXPECT_EQ(o.HotColor(), TColor(0x123456)) << "a plain colour stays";
  o.SetStyleColors(false);
  EXPECT_EQ(o.NormalColor(), clBtnFace);
}

TEST_F(ColorOptionsTest, OnChangeOnlyForAChange) {
  TqvButtonColorOptions o;
  int changes = 0;
  o.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &o);
    ++changes;
  };
  o.SetNormalColor(clBtnFace);
  o.SetFrameWidth(1);
  o.SetStyleColors(true);
  EXPECT_EQ(changes, 0);
  o.SetState(qvsHot);
  EXPECT_EQ(changes, 0) << "the state is no setting";
  o.SetNormalColor(clRed);
  o.SetFrameWidth(2);
  o.SetStyleColors(false);
  o.SetTitleFontDisabledColor(clLime);
  EXPECT_EQ(changes, 4);
}

TEST_F(ColorOptionsTest, AssignCopiesTheStoredColoursNotTheMappedOnes) {
  TqvButtonColorOptions from, to;
  from.SetPressedColor(TColor(0x0000AA));
  from.SetFrameWidth(3);
  int changes = 0;
  to.OnChange = [&](TObject*) { ++changes; };
  TStyleManager::SetStyle("Glossy");
  to.Assign(&from);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(to.FrameWidth(), 3);
  EXPECT_EQ(to.PressedColor(), TColor(0x0000AA));
  EXPECT_EQ(to.NormalColor(), from.NormalColor());
  // The copy keeps the system colour, so it follows the style as the source does.
  to.SetStyleColors(false);
  EXPECT_EQ(to.NormalColor(), clBtnFace);
  EXPECT_EQ(to.FontNormalColor(), clBtnText);
}

}  // namespace
