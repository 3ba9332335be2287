// The label on the headless backend: auto-size against the measured text (glow, empty
// text, accelerator marks), the edge a label keeps when it grows (also after right-to-left
// mirroring), text read and placed right to left and its glow rebuilt when the reading
// order changes, vertical alignment, the accelerator that focuses another control, "&&"
// shown as "&", text colours of enabled and disabled labels in each look, and repaints of
// the setters.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ControlFixture.h"
#include "qvControls/Label.h"
#include "qvControls/Panel.h"
#include "qvDrawUtils/Colors.h"
#include "support/Colors.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"

namespace {

class TCountingLabel : public TqvLabel {
  QV_CLASS(TCountingLabel, TqvLabel)
  explicit TCountingLabel(TComponent* AOwner) : TqvLabel(AOwner) {}
  int Draws = 0;

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override {
    ++Draws;
    TqvLabel::Draw(ACanvas, ACtrlState);
  }
};

// The extent of Text in the font, measured apart from the label.
TSize Measure(TFont* Font, const String& Text) {
  TBitmap scratch;
  scratch.SetSize(1, 1);
  scratch.Canvas()->Font()->Assign(Font);
  return scratch.Canvas()->TextExtent(Text);
}

class LabelTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    // White ground for the labels, which are transparent.
    Ground = Make<TqvPanel>(Host, {0, 0, 400, 300});
    Ground->SetColor(clWhite);
  }
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    ControlFixture::TearDown();
  }

  TCountingLabel* MakeLabel(const String& Caption, TRect Bounds = {10, 10, 75, 27}) {
    auto* label = Make<TCountingLabel>(Ground, Bounds);
    label->Font()->SetHeight(-16);
    label->Font()->SetColor(clRed);
    label->SetCaption(Caption);
    return label;
  }

  // Everything that is not the white ground.
  RECT Ink(const TRect& Area) const {
    return InkOnScreen(Area, [](COLORREF c) { return c != RGB(255, 255, 255); });
  }
  // The screen in Area as rows of '#' (not white) and '.'.
  std::string Shape(const TRect& Area) const {
    std::string rows;
    for (int y = Area.Top; y < Area.Bottom; ++y) {
      rows += '\n';
      for (int x = Area.Left; x < Area.Right; ++x) rows += At(x, y) == RGB(255, 255, 255) ? '.' : '#';
    }
    return rows;
  }

  TqvPanel* Ground = nullptr;
};

TEST_F(LabelTest, AutoSizeFitsTheMeasuredTextAndTheGlowAroundIt) {
  const struct {
    const char* Caption;
    bool ShowAccelChar;
    const char* Measured;  // what the label shows
    bool Glow;
  } cases[] = {
      {"Hello world", true, "Hello world", false},
      {"Hello world", true, "Hello world", true},
      {"&Name", true, "Name", false},
      {"&Name", false, "&Name", false},
      {"A&&B", true, "A&B", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Caption) + (c.ShowAccelChar ? "" : " as it is") + (c.Glow ? " with glow" : ""));
    auto* label = MakeLabel("");
    label->SetShowAccelChar(c.ShowAccelChar);
    label->GlowEffect()->SetGlowSize(7);
    label->GlowEffect()->SetOffset(2);
    label->GlowEffect()->SetEnabled(c.Glow);
    label->SetCaption(c.Caption);
    const TSize text = Measure(label->Font(), c.Measured);
    const int grow = c.Glow ? 2 + 2 * 7 : 0;
    EXPECT_EQ(label->Width(), text.cx + grow);
    EXPECT_EQ(label->Height(), text.cy + grow);
    EXPECT_EQ(label->Left(), 10);
    EXPECT_EQ(label->Top(), 10);
    delete label;
  }
}

TEST_F(LabelTest, AnEmptyOrLoneMarkLabelStillMeasuresOneLine) {
  for (const char* caption : {"", "&"}) {
    SCOPED_TRACE(std::string("\"") + caption + "\"");
    auto* label = MakeLabel("x");
    label->SetCaption(caption);
    EXPECT_EQ(label->Height(), Measure(label->Font(), "Xg").cy);
    EXPECT_GT(label->Width(), 0);
    delete label;
  }
}

TEST_F(LabelTest, ARightAlignedLabelKeepsItsRightEdge) {
  for (bool glow : {false, true}) {
    SCOPED_TRACE(glow ? "with glow" : "without glow");
    auto* label = MakeLabel("Short");
    label->GlowEffect()->SetEnabled(glow);
    label->SetAlignment(taRightJustify);
    label->SetBounds(100, 10, 60, 30);
    label->SetAutoSize(false);
    label->SetAutoSize(true);
    const int right = label->Left() + label->Width();
    EXPECT_EQ(right, 160);
    label->SetCaption("A much longer text");
    EXPECT_GT(label->Width(), Measure(label->Font(), "Short").cx);
    EXPECT_EQ(label->Left() + label->Width(), right);
    // Fitting the same text again leaves it where it is.
    label->Font()->SetHeight(-16);
    label->SetWordWrap(true);
    label->SetWordWrap(false);
    EXPECT_EQ(label->Left() + label->Width(), right);
    delete label;
  }
}

TEST_F(LabelTest, ALabelThatIsNotAutoSizedPlacesItsTextByVerticalAlignment) {
  constexpr int kTop = 20, kH = 80;
  auto red = [](COLORREF p) { return p == RGB(255, 0, 0); };
  // Where the capitals' ink starts below the top of their line, from an auto-sized label.
  auto* reference = MakeLabel("HHHH", {200, kTop, 300, kTop + 10});
  Run();
  const int inkBelowLineTop = InkOnScreen({200, kTop, 300, kTop + kH}, red).Top - kTop;
  delete reference;

  const struct {
    TqvVertAlignment Alignment;
    bool Glow;
  } cases[] = {{qvvtaTop, false}, {qvvtaCenter, false}, {qvvtaBottom, false}, {qvvtaTop, true}, {qvvtaBottom, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(int(c.Alignment)) + (c.Glow ? " with glow" : ""));
    auto* label = MakeLabel("");
    label->SetAutoSize(false);
    label->SetBounds(20, kTop, 150, kH);
    label->GlowEffect()->SetGlowSize(5);
    label->GlowEffect()->SetOffset(1);
    label->GlowEffect()->SetEnabled(c.Glow);
    label->SetVertAlignment(c.Alignment);
    label->SetCaption("HHHH");
    Run();
    const int th = Measure(label->Font(), "HHHH").cy;
    // The line's top by the rules.
    int lineTop = c.Glow ? 5 - 1 : 0;
    if (c.Alignment == qvvtaCenter) lineTop = kH / 2 - th / 2;
    if (c.Alignment == qvvtaBottom) lineTop = kH - th - (c.Glow ? 5 + 1 : 0);
    const RECT ink = InkOnScreen({20, kTop, 170, kTop + kH}, red);
    EXPECT_EQ(ink.Top, kTop + lineTop + inkBelowLineTop);
    SaveScreenIfFailed("vertical");
    delete label;
  }
}

TEST_F(LabelTest, TheAcceleratorFocusesTheFocusControl) {
  auto* field = Make<TqvPanel>(Ground, {10, 100, 110, 130});
  auto* other = Make<TqvPanel>(Ground, {10, 150, 110, 180});
  auto* label = MakeLabel("&Name");
  label->SetFocusControl(field);
  const struct {
    const char* Name;
    std::function<void()> Before;
    char32_t Key;
    bool Taken;
  } cases[] = {
      {"its key", [] {}, U'n', true},
      {"upper case", [] {}, U'N', true},
      {"another key", [] {}, U'a', false},
      {"disabled label", [&] { label->SetEnabled(false); }, U'n', false},
      {"marks shown as they are", [&] { label->SetShowAccelChar(false); }, U'n', false},
      {"focus control disabled", [&] { field->SetEnabled(false); }, U'n', false},
      {"\"&&\" is no mark", [&] { label->SetCaption("&&Name"); }, U'n', false},
      {"a later mark after \"&&\"", [&] { label->SetCaption("&&A &Name"); }, U'n', true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Before();
    other->SetFocus();
    ASSERT_TRUE(other->Focused());
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, c.Key, 0), c.Taken ? 1 : 0);
    EXPECT_EQ(field->Focused(), c.Taken);
    label->SetEnabled(true);
    label->SetShowAccelChar(true);
    field->SetEnabled(true);
    label->SetCaption("&Name");
  }
}

TEST_F(LabelTest, AltAndTheKeyReachTheLabelFromTheKeyboard) {
  // A dialog character goes to the outermost control, which passes it down its children.
  auto* field = Make<TqvPanel>(Ground, {10, 100, 110, 130});
  auto* other = Make<TqvPanel>(Ground, {10, 150, 110, 180});
  auto* label = MakeLabel("&Name");
  label->SetFocusControl(field);
  other->SetFocus();
  Run();
  Headless()->Inject({.Kind = InputKind::KeyDown, .Key = 'N', .Modifiers = kModAlt});
  Headless()->Inject({.Kind = InputKind::KeyUp, .Key = 'N', .Modifiers = kModAlt});
  Run();
  EXPECT_TRUE(field->Focused());
}

TEST_F(LabelTest, TheFocusControlIsForgottenWhenItIsFreed) {
  auto* field = Make<TqvPanel>(Ground, {10, 100, 110, 130});
  auto* label = MakeLabel("&Name");
  label->SetFocusControl(field);
  delete field;
  EXPECT_EQ(label->FocusControl(), nullptr);
  EXPECT_EQ(label->Perform(CM_DIALOGCHAR, U'n', 0), 0);
}

TEST_F(LabelTest, DoubleMarksShowAsOneAndASingleMarkIsNotShown) {
  auto* doubled = MakeLabel("A&&B", {10, 10, 75, 27});
  auto* plain = MakeLabel("A&B", {10, 60, 75, 77});
  plain->SetShowAccelChar(false);
  auto* marked = MakeLabel("&AB", {10, 110, 75, 127});
  auto* unmarked = MakeLabel("AB", {10, 160, 75, 177});
  Run();
  ASSERT_EQ(doubled->Width(), plain->Width());
  EXPECT_EQ(Shape({10, 10, 10 + doubled->Width(), 10 + doubled->Height()}),
            Shape({10, 60, 10 + plain->Width(), 60 + plain->Height()}));
  // A single mark underlines the next letter: the same letters, a line under the first.
  ASSERT_EQ(marked->Width(), unmarked->Width());
  const RECT a = Ink({10, 110, 10 + marked->Width(), 110 + marked->Height()});
  const RECT b = Ink({10, 160, 10 + unmarked->Width(), 160 + unmarked->Height()});
  EXPECT_EQ(a.Left, b.Left);
  EXPECT_EQ(a.Right, b.Right);
  EXPECT_GE(a.Bottom - 110, b.Bottom - 160);
  SaveScreenIfFailed("marks");
}

TEST_F(LabelTest, TextColoursOfEnabledAndDisabledLabelsFollowTheLook) {
  enum Look { kStyled, kThemed, kClassic };
  for (Look look : {kStyled, kThemed, kClassic}) {
    SetThemeAppProperties(STAP_VALIDBITS);
    TStyleManager::SetStyle(look == kStyled ? TStyleManager::StyleNames().at(1) : String("Windows"));
    if (look == kClassic) SetThemeAppProperties(0);
    const char* name = look == kStyled ? "styled" : look == kThemed ? "themed" : "classic";
    for (bool useFontColor : {false, true}) {
      for (bool enabled : {true, false}) {
        SCOPED_TRACE(std::string(name) + (useFontColor ? ", font colour kept" : "") +
                     (enabled ? ", enabled" : ", disabled"));
        auto* label = MakeLabel("WWW");
        label->Font()->SetHeight(-28);
        label->Font()->SetStyle({fsBold});
        label->SetUseFontColorToStyleColor(useFontColor);
        label->SetEnabled(enabled);
        Run();
        TColor expected = enabled ? clRed : clGrayText;
        if (look == kStyled) {
          if (!enabled)
            expected = GetCheckBoxTextColor(qvsDisabled);
          else if (!useFontColor)
            expected = GetCheckBoxTextColor(qvsNormal);
        }
        const COLORREF want = COLORREF(ColorToRGB(expected));
        // The strokes of large bold capitals are solid text colour inside.
        const RECT solid = InkOnScreen({10, 10, 10 + label->Width(), 10 + label->Height()},
                                       [&](COLORREF c) { return NearColor(c, want, 2); });
        EXPECT_GT(solid.Right - solid.Left, label->Width() / 2);
        delete label;
      }
    }
  }
}

TEST_F(LabelTest, SettersRepaintOncePerRealChangeAndNotForTheSameValue) {
  auto* label = MakeLabel("Text");
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 120, 40);
  Run();
  const struct {
    const char* Name;
    std::function<void()> Set;
  } setters[] = {
      {"Alignment", [&] { label->SetAlignment(taCenter); }},
      {"VertAlignment", [&] { label->SetVertAlignment(qvvtaBottom); }},
      {"Layout", [&] { label->SetLayout(tlBottom); }},
      {"ShowAccelChar", [&] { label->SetShowAccelChar(false); }},
      {"WordWrap", [&] { label->SetWordWrap(true); }},
      {"UseFontColorToStyleColor", [&] { label->SetUseFontColorToStyleColor(true); }},
      {"Caption", [&] { label->SetCaption("Other"); }},
      {"GlowEffect", [&] { label->GlowEffect()->SetEnabled(true); }},
  };
  for (const auto& s : setters) {
    SCOPED_TRACE(s.Name);
    int before = label->Draws;
    s.Set();
    Run();
    EXPECT_EQ(label->Draws, before + 1);
    before = label->Draws;
    s.Set();
    Run();
    EXPECT_EQ(label->Draws, before) << "the same value again";
  }
}

TEST_F(LabelTest, RightToLeftReadingTurnsTheTextAndRightToLeftAlignmentMirrorsItsPlace) {
  auto textInk = [](COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 120; };
  const struct {
    TBiDiMode Mode;
    const char* Name;
  } modes[] = {{bdLeftToRight, "left to right"},
               {bdRightToLeft, "right to left"},
               {bdRightToLeftNoAlign, "right to left, not aligned"},
               {bdRightToLeftReadingOnly, "right to left, reading only"}};
  const TRect area{10, 10, 250, 50};
  for (const auto& mode : modes) {
    for (TAlignment alignment : {taLeftJustify, taCenter, taRightJustify}) {
      for (bool glow : {false, true}) {
        SCOPED_TRACE(std::string(mode.Name) + ", alignment " + std::to_string(int(alignment)) +
                     (glow ? ", with glow" : ""));
        auto* label = MakeLabel("");
        label->SetAutoSize(false);
        label->SetBounds(area.Left, area.Top, area.Width(), area.Height());
        label->SetAlignment(alignment);
        label->GlowEffect()->SetColor(clBlue);
        label->GlowEffect()->SetEnabled(glow);
        label->SetBiDiMode(mode.Mode);
        label->SetCaption(kReadingText);
        Run();
        const TextLine line = LineOfText(area, textInk);
        int side = alignment == taLeftJustify ? -1 : alignment == taRightJustify ? 1 : 0;
        if (mode.Mode == bdRightToLeft) side = -side;
        EXPECT_EQ(line.Side, side);
        EXPECT_EQ(line.CapitalLast, mode.Mode != bdLeftToRight);
        SaveScreenIfFailed("bidi");
        delete label;
      }
    }
  }
}

TEST_F(LabelTest, AChangeOfReadingOrderRebuildsTheGlow) {
  // One ground turns right to left after painting, the other is made so; the labels
  // follow their grounds and must then look the same.
  auto* turned = Make<TqvPanel>(Ground, {0, 0, 260, 60});
  auto* made = Make<TqvPanel>(Ground, {0, 100, 260, 160});
  made->SetBiDiMode(bdRightToLeft);
  for (TqvPanel* ground : {turned, made}) {
    ground->SetColor(clWhite);
    auto* label = Make<TqvLabel>(ground, {10, 10, 250, 50});
    label->Font()->SetHeight(-16);
    label->SetAutoSize(false);
    label->GlowEffect()->SetColor(clBlue);
    label->GlowEffect()->SetGlowSize(6);
    label->GlowEffect()->SetEnabled(true);
    label->SetCaption(kReadingText);
  }
  Run();
  turned->SetBiDiMode(bdRightToLeft);
  Run();
  EXPECT_EQ(Mismatch({0, 0, 260, 60}, [&](int x, int y) { return At(x, y + 100); }), "");
  SaveScreenIfFailed("bidi-glow");
}

TEST_F(LabelTest, AnAutoSizedLabelKeepsTheEdgeItsTextIsAlignedToAfterMirroring) {
  const struct {
    TBiDiMode Mode;
    TAlignment Alignment;
    bool KeepsRight;
  } cases[] = {
      {bdLeftToRight, taLeftJustify, false},        {bdLeftToRight, taRightJustify, true},
      {bdLeftToRight, taCenter, false},             {bdRightToLeft, taLeftJustify, true},
      {bdRightToLeft, taRightJustify, false},       {bdRightToLeft, taCenter, false},
      {bdRightToLeftNoAlign, taLeftJustify, false}, {bdRightToLeftReadingOnly, taLeftJustify, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("bidi " + std::to_string(int(c.Mode)) + ", alignment " + std::to_string(int(c.Alignment)));
    auto* label = MakeLabel("Short");
    label->SetBiDiMode(c.Mode);
    label->SetAlignment(c.Alignment);
    label->SetBounds(100, 10, 60, 30);
    label->SetAutoSize(false);
    label->SetAutoSize(true);
    const int left = label->Left(), right = label->Left() + label->Width();
    label->SetCaption("A much longer text");
    ASSERT_GT(label->Width(), Measure(label->Font(), "Short").cx);
    if (c.KeepsRight)
      EXPECT_EQ(label->Left() + label->Width(), right);
    else
      EXPECT_EQ(label->Left(), left);
    delete label;
  }
}

}  // namespace
