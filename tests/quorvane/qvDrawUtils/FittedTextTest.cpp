#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "qvDrawUtils/Text.h"

namespace {

TEST(DrawUtilsBiDiFlagsTest, MirrorsAlignmentForRightToLeft) {
  struct Case {
    UINT Flags;
    bool RightToLeft;
    UINT Expected;
  };
  const Case cases[] = {
      {0, false, 0},
      {DT_RIGHT | DT_WORDBREAK, false, DT_RIGHT | DT_WORDBREAK},
      {0, true, DT_RIGHT | DT_RTLREADING},
      {DT_CENTER, true, DT_CENTER | DT_RTLREADING},
      {DT_RIGHT, true, DT_RTLREADING},
      {DT_RIGHT | DT_CENTER, true, DT_CENTER | DT_RTLREADING},
      {DT_WORDBREAK | DT_NOPREFIX, true, DT_WORDBREAK | DT_NOPREFIX | DT_RIGHT | DT_RTLREADING},
      {DT_RTLREADING, true, DT_RTLREADING | DT_RIGHT},
  };
  for (const Case& c : cases) EXPECT_EQ(SetBiDiFlags(c.Flags, c.RightToLeft), c.Expected) << c.Flags;
}

// Two opaque white canvases with the same font: one for the routine, one for what it
// should have drawn, drawn directly with DrawText.
class DrawUtilsFittedTextTest : public ::testing::Test {
 protected:
  DrawUtilsFittedTextTest() {
    for (TBitmap* b : {&FActual, &FExpected}) {
      b->SetPixelFormat(pf32bit);
      b->SetSize(200, 60);
      b->Canvas()->Brush()->SetColor(clWhite);
      b->Canvas()->FillRect(Rect(0, 0, 200, 60));
      b->Canvas()->Font()->SetName("Tahoma");
      b->Canvas()->Font()->SetHeight(-13);
      b->Canvas()->Font()->SetColor(clBlack);
      b->Canvas()->Brush()->SetStyle(bsClear);
    }
  }

  int Width(const String& Text) {
    TRect r{0, 0, 1000, 100};
    DrawText(FExpected.Canvas()->Handle(), Text, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return r.Width();
  }
  int LineHeight() { return FExpected.Canvas()->TextHeight("Wq"); }
  // What DrawFittedText should show: Text on one line in the vertical middle of R.
  void Expect(const String& Text, const TRect& R, UINT Flags) {
    const int h = LineHeight();
    TRect line{R.Left, R.Top + R.Height() / 2 - h / 2, R.Right, 0};
    line.Bottom = line.Top + h;
    DrawText(FExpected.Canvas()->Handle(), Text, -1, &line, Flags);
  }
  bool Same() {
    const auto* a = static_cast<const uint32_t*>(FActual.ScanLine(0));
    const auto* b = static_cast<const uint32_t*>(FExpected.ScanLine(0));
    return std::equal(a, a + 200 * 60, b);
  }
  bool Blank() {
    const auto* a = static_cast<const uint32_t*>(FActual.ScanLine(0));
    return std::all_of(a, a + 200 * 60, [](uint32_t p) { return p == 0xFFFFFFFFu; });
  }

  TBitmap FActual;
  TBitmap FExpected;
};

TEST_F(DrawUtilsFittedTextTest, TextThatFitsIsCentredAndNotShortened) {
  const TRect r{10, 5, 190, 55};
  EXPECT_FALSE(DrawFittedText(FActual.Canvas(), "Fits well", r, true, false, false));
  Expect("Fits well", r, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  EXPECT_TRUE(Same());
}

TEST_F(DrawUtilsFittedTextTest, TooLongTextKeepsTheLongestPrefixThatFitsAndEndsInDots) {
  // The box is as wide as "abcdefgh": that prefix is the longest that fits, and its last
  // three characters become the dots.
  const TRect r{10, 5, 10 + Width("abcdefgh"), 5 + LineHeight()};
  EXPECT_TRUE(DrawFittedText(FActual.Canvas(), "abcdefghijklmnop", r, true, false, true));
  Expect("abcde...", r, DT_WORDBREAK | DT_NOPREFIX);
  EXPECT_TRUE(Same());
}

TEST_F(DrawUtilsFittedTextTest, ShortTextThatDoesNotFitBecomesItsFirstCharacterAndDots) {
  struct Case {
    const char* Text;
    int Width;
    const char* Shown;
  };
  const Case cases[] = {
      {"WWW", Width("W..."), "W..."},
      {"WWW", Width("...") + 1, "..."},
  };
  for (const Case& c : cases) {
    TBitmap* canvases[] = {&FActual, &FExpected};
    for (TBitmap* b : canvases) {
      b->Canvas()->Brush()->SetStyle(bsSolid);
      b->Canvas()->FillRect(Rect(0, 0, 200, 60));
      b->Canvas()->Brush()->SetStyle(bsClear);
    }
    const TRect r{10, 5, 10 + c.Width, 5 + LineHeight()};
    EXPECT_TRUE(DrawFittedText(FActual.Canvas(), c.Text, r, true, false, false)) << c.Shown;
    Expect(c.Shown, r, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    EXPECT_TRUE(Same()) << c.Shown;
  }
}

TEST_F(DrawUtilsFittedTextTest, RectangleLowerThanALineIsMadeOneLineHigh) {
  const TRect r{10, 20, 190, 23};
  EXPECT_FALSE(DrawFittedText(FActual.Canvas(), "Hi", r, true, false, false));
  Expect("Hi", TRect{10, 20, 190, 20 + LineHeight()}, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
  EXPECT_TRUE(Same());
}

TEST_F(DrawUtilsFittedTextTest, RightToLeftAndPrefixes) {
  const TRect r{10, 5, 190, 55};
  // Left-aligned right to left is right-aligned; "&&" is "&" when prefixes are processed.
  EXPECT_FALSE(DrawFittedText(FActual.Canvas(), "A && B", r, false, true, true));
  Expect("A && B", r, DT_WORDBREAK | DT_RIGHT | DT_RTLREADING);
  EXPECT_TRUE(Same());
}

TEST_F(DrawUtilsFittedTextTest, EmptyTextDrawsNothing) {
  EXPECT_FALSE(DrawFittedText(FActual.Canvas(), "", Rect(10, 5, 190, 55), true, false, false));
  EXPECT_FALSE(DrawFittedText(nullptr, "text", Rect(10, 5, 190, 55), true, false, false));
  EXPECT_TRUE(Blank());
}

}  // namespace
