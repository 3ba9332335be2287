// Ellipsised, wrapped, single-line, aligned, tabbed and rotated text. Most checks draw
// with the routine on one canvas and what it should have drawn, straight through the
// platform's DrawText, TextOut or TabbedTextOut, on another, and compare the pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "gdi/Utf8.h"
#include "qvDrawUtils/Text.h"
#include "support/TextCanvas.h"
#include "vcl/Strings.h"

namespace {

constexpr int kW = 240;
constexpr int kH = 90;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

const uint32_t* Pixels(TBitmap& B) { return static_cast<const uint32_t*>(B.ScanLine(0)); }

// The box of the pixels that are not white.
TRect Ink(TBitmap& B) {
  TRect r{kW, kH, 0, 0};
  const uint32_t* p = Pixels(B);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      if (p[y * kW + x] != kWhite) {
        r.Left = std::min<LONG>(r.Left, x);
        r.Top = std::min<LONG>(r.Top, y);
        r.Right = std::max<LONG>(r.Right, x + 1);
        r.Bottom = std::max<LONG>(r.Bottom, y + 1);
      }
  return r.Left < r.Right ? r : TRect{};
}

class DrawUtilsTextTest : public ::testing::Test {
 protected:
  DrawUtilsTextTest() {
    PrepareTextBitmap(FActual, kW, kH);
    PrepareTextBitmap(FExpected, kW, kH);
  }

  TCanvas* Actual() { return FActual.Canvas(); }
  TCanvas* Expected() { return FExpected.Canvas(); }
  HDC ExpectedDC() { return FExpected.Canvas()->Handle(); }

  void Clear() {
    for (TBitmap* b : {&FActual, &FExpected}) {
      b->Canvas()->Brush()->SetStyle(bsSolid);
      b->Canvas()->FillRect(Rect(0, 0, kW, kH));
      b->Canvas()->Brush()->SetStyle(bsClear);
    }
  }
  void DrawExpected(const String& Text, TRect R, UINT Flags) { DrawText(ExpectedDC(), Text, -1, &R, Flags); }
  TSize Measure(const String& Text, UINT Flags, int Width, int Height) {
    TRect r{0, 0, Width, Height};
    DrawText(ExpectedDC(), Text, -1, &r, Flags | DT_CALCRECT);
    return {r.Width(), r.Height()};
  }
  bool Same() { return std::equal(Pixels(FActual), Pixels(FActual) + kW * kH, Pixels(FExpected)); }
  bool Blank() {
    return std::all_of(Pixels(FActual), Pixels(FActual) + kW * kH, [](uint32_t p) { return p == kWhite; });
  }

  TBitmap FActual;
  TBitmap FExpected;
};

// ---- CorrectTextToWidth ----

// The longest beginning (in characters) whose "beginning..." is at most Width wide,
// found by trying every length.
String BruteForceEllipsis(TCanvas* Canvas, const String& Text, int Width) {
  if (Canvas->TextWidth(Text) <= Width) return Text;
  const std::u32string chars = DecodeUtf8(Text);
  String best = "...";
  for (size_t k = 1; k <= chars.size(); ++k) {
    const String candidate = EncodeUtf8(chars.substr(0, k)) + "...";
    if (Canvas->TextWidth(candidate) <= Width) best = candidate;
  }
  return best;
}

TEST_F(DrawUtilsTextTest, CorrectTextToWidthKeepsTheLongestBeginningThatFitsWithDots) {
  const char* texts[] = {"Caption of a button", "WWiillMM",
                         "Gr\xC3\xBC\xC3\x9F"
                         "e aus K\xC3\xB6ln",
                         "A"};
  for (const char* text : texts) {
    const int full = Actual()->TextWidth(text);
    for (int width = -2; width <= full + 2; ++width) {
      String s = text;
      CorrectTextToWidth(Actual(), s, width);
      ASSERT_EQ(s, BruteForceEllipsis(Actual(), text, width)) << text << " in " << width;
      if (Actual()->TextWidth(text) > width && s != "...") {
        EXPECT_LE(Actual()->TextWidth(s), width) << text;
      }
    }
  }
}

TEST_F(DrawUtilsTextTest, CorrectTextToWidthLeavesEmptyTextAndNullCanvasAlone) {
  String empty;
  CorrectTextToWidth(Actual(), empty, -5);
  EXPECT_EQ(empty, "");
  String text = "Long caption";
  CorrectTextToWidth(nullptr, text, 3);
  EXPECT_EQ(text, "Long caption");
}

// ---- wrapped text ----

TEST_F(DrawUtilsTextTest, WrappedTextCentredWithoutTooWideWordsIsDrawnAsItIs) {
  // Text that fits, with or without BreakWords; and with BreakWords, text of short words
  // that does not fit either: breaking words never shortens.
  struct Case {
    const char* Name;
    TRect R;
    bool BreakWords;
  };
  const Case cases[] = {
      {"fits", {20, 10, 120, 80}, false},
      {"fits, break words", {20, 10, 120, 80}, true},
      {"too low, break words", {20, 10, 120, 30}, true},
  };
  for (const Case& c : cases) {
    Clear();
    DrawWrappedTextCentered(Actual(), "one two three four", c.R, c.BreakWords);
    DrawExpected("one two three four", c.R, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
    EXPECT_TRUE(Same()) << c.Name;
    EXPECT_GT(Ink(FActual).Height(), Actual()->TextHeight("Wq")) << c.Name << ": wraps over lines";
  }
}

TEST_F(DrawUtilsTextTest, WrappedTextCentredThatDoesNotFitEndsInDotsAfterTheLongestBeginningThatFits) {
  const String text = "alpha beta gamma delta epsilon zeta";
  const UINT flags = DT_NOPREFIX | DT_WORDBREAK | DT_CENTER;
  const int line = Actual()->TextHeight("Wq");
  const TRect r{20, 10, 20 + Measure("alpha beta", flags, 1000, 1000).cx + 4, 10 + 2 * line};
  // Every beginning with "..." after it, laid out in the rectangle: the longest that fits.
  const std::u32string chars = DecodeUtf8(text);
  String shown = "...";
  for (size_t k = 1; k < chars.size(); ++k) {
    const String candidate = EncodeUtf8(chars.substr(0, k)) + "...";
    const TSize size = Measure(candidate, flags, r.Width(), r.Height());
    if (size.cx <= r.Width() && size.cy <= r.Height()) shown = candidate;
  }
  ASSERT_NE(shown, "...");
  DrawWrappedTextCentered(Actual(), text, r, false);
  DrawExpected(shown, r, flags);
  EXPECT_TRUE(Same()) << shown;
}

TEST_F(DrawUtilsTextTest, BreakWordsSplitsAWordWiderThanTheRectangleWhereItPassesTheEdge) {
  const String word = "Incomprehensibilities";
  const TRect r{30, 5, 30 + Actual()->TextWidth(word) / 3, 85};
  // The pieces: each the longest run of the word's characters that is no wider than r.
  const std::u32string chars = DecodeUtf8(word);
  std::vector<String> pieces;
  for (size_t from = 0; from < chars.size();) {
    size_t to = from + 1;
    while (to < chars.size() && Actual()->TextWidth(EncodeUtf8(chars.substr(from, to + 1 - from))) <= r.Width()) ++to;
    pieces.push_back(EncodeUtf8(chars.substr(from, to - from)));
    from = to;
  }
  ASSERT_GE(pieces.size(), 3u);
  // The words around it stay whole; the pieces are broken by hand.
  String lines = "go ";
  for (size_t i = 0; i < pieces.size(); ++i) lines += (i ? "\n" : "") + pieces[i];
  lines += " on";
  DrawWrappedTextCentered(Actual(), "go " + word + " on", r, true);
  DrawExpected(lines, r, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
  EXPECT_TRUE(Same());
  const TRect ink = Ink(FActual);
  EXPECT_GE(ink.Left, r.Left);
  EXPECT_LE(ink.Right, r.Right);
}

TEST_F(DrawUtilsTextTest, TextSmartChoosesOneLineThenWrappedThenEllipsis) {
  const String text = "Quite a long item text";
  const int width = Actual()->TextWidth(text);
  const int line = Actual()->TextHeight("Wq");
  struct Case {
    const char* Name;
    TRect R;
    UINT Expected;
  };
  const Case cases[] = {
      {"one line", {10, 10, 10 + width + 2, 10 + 3 * line}, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER},
      {"wrapped", {10, 10, 10 + width * 2 / 3, 10 + 3 * line}, DT_NOPREFIX | DT_WORDBREAK},
      {"ellipsis",
       {10, 10, 10 + width * 2 / 3, 10 + line + 2},
       DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER},
  };
  for (const Case& c : cases) {
    Clear();
    DrawTextSmart(Actual(), text, c.R);
    DrawExpected(text, c.R, c.Expected);
    EXPECT_TRUE(Same()) << c.Name;
    EXPECT_FALSE(Blank()) << c.Name;
  }
}

// ---- single-line and aligned text ----

TEST_F(DrawUtilsTextTest, SingleLineAndAlignedTextUseTheirFlagsMirroredForRightToLeft) {
  // A rectangle narrower than the text shows clipping; "&" shows prefix processing; the
  // rectangle sits in the middle so that the alignment shows.
  const String text = "&Save the document";
  const int width = Actual()->TextWidth("Save the document");
  const TRect r{kW / 2 - width / 3, 20, kW / 2 + width / 3, 60};
  using Draw = std::function<void(TCanvas*)>;
  struct Case {
    const char* Name;
    Draw Routine;
    UINT Expected;
  };
  const Case cases[] = {
      {"single line", [&](TCanvas* c) { DrawSingleLineText(c, text, r, false, false); },
       DT_NOCLIP | DT_SINGLELINE | DT_VCENTER},
      {"single line, no prefix, right to left", [&](TCanvas* c) { DrawSingleLineText(c, text, r, true, true); },
       DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT | DT_RTLREADING},
      {"clipped", [&](TCanvas* c) { DrawSingleLineTextClipped(c, text, r, false, false); }, DT_SINGLELINE | DT_VCENTER},
      {"clipped, right to left", [&](TCanvas* c) { DrawSingleLineTextClipped(c, text, r, true, true); },
       DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT | DT_RTLREADING},
      {"aligned left", [&](TCanvas* c) { DrawAlignedText(c, text, r, false, taLeftJustify); },
       DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER},
      {"aligned right", [&](TCanvas* c) { DrawAlignedText(c, text, r, false, taRightJustify); },
       DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_RIGHT},
      {"aligned centre, right to left", [&](TCanvas* c) { DrawAlignedText(c, text, r, true, taCenter); },
       DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_RTLREADING},
      {"aligned right, right to left", [&](TCanvas* c) { DrawAlignedText(c, text, r, true, taRightJustify); },
       DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_RTLREADING},
      {"aligned left, right to left", [&](TCanvas* c) { DrawAlignedText(c, text, r, true, taLeftJustify); },
       DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_RTLREADING},
      {"simple right", [&](TCanvas* c) { DrawAlignedTextSimple(c, text, r, taRightJustify); },
       DT_SINGLELINE | DT_VCENTER | DT_RIGHT},
      {"simple centre", [&](TCanvas* c) { DrawAlignedTextSimple(c, text, r, taCenter); },
       DT_SINGLELINE | DT_VCENTER | DT_CENTER},
  };
  for (const Case& c : cases) {
    Clear();
    c.Routine(Actual());
    DrawExpected(text, r, c.Expected);
    EXPECT_TRUE(Same()) << c.Name;
    EXPECT_FALSE(Blank()) << c.Name;
  }
}

TEST_F(DrawUtilsTextTest, SingleLineTextOfAnEmptyTextDrawsNothing) {
  const TRect r{10, 10, 200, 40};
  DrawSingleLineText(Actual(), "", r, true, false);
  DrawSingleLineTextClipped(Actual(), "", r, true, true);
  DrawAlignedText(Actual(), "", r, true, taCenter);
  DrawAlignedTextSimple(Actual(), "", r, taLeftJustify);
  DrawSingleLineText(nullptr, "text", r, true, false);
  DrawTextSmart(nullptr, "text", r);
  DrawWrappedTextCentered(nullptr, "text", r, true);
  EXPECT_TRUE(Blank());
}

// ---- tabbed text ----

TEST_F(DrawUtilsTextTest, TabbedTextTakesUpToTenStopsFromTheListAndCentresVertically) {
  struct Case {
    const char* Name;
    std::vector<String> Lines;
    std::vector<int> Stops;  // what the lines mean
    int Offset;
  };
  const Case cases[] = {
      {"digits and others", {"30", "x1", "95", "140"}, {30, 0, 95, 140}, 0},
      {"offset", {"25", "60"}, {25, 60}, 7},
      {"more than ten lines",
       {"10", "20", "30", "40", "50", "60", "70", "80", "90", "130", "150", "190"},
       {10, 20, 30, 40, 50, 60, 70, 80, 90, 130},
       -3},
      {"no lines", {}, {}, 0},
      {"huge number", {"99999999999999999999", "40"}, {1 << 27, 40}, 0},
  };
  const String text = "a\tb\tc\td\te\tf\tg\th\ti\tj\tk\tl";
  const TRect r{6, 20, 230, 70};
  for (const Case& c : cases) {
    Clear();
    TStringList list;
    for (const String& s : c.Lines) list.Add(s);
    DrawTabbedText(text, &list, Actual(), c.Offset, r);
    const int x = r.Left + c.Offset + 2;
    const int y = r.Top + r.Height() / 2 - Expected()->TextHeight(text) / 2;
    TabbedTextOut(ExpectedDC(), x, y, text, -1, int(c.Stops.size()), c.Stops.data(), x);
    EXPECT_TRUE(Same()) << c.Name;
    EXPECT_FALSE(Blank()) << c.Name;
  }
  Clear();
  DrawTabbedText(text, nullptr, Actual(), 0, r);
  const int x = r.Left + 2;
  TabbedTextOut(ExpectedDC(), x, r.Top + r.Height() / 2 - Expected()->TextHeight(text) / 2, text, -1, 0, nullptr, x);
  EXPECT_TRUE(Same()) << "no list";
}

// ---- rotated text ----

TEST_F(DrawUtilsTextTest, RotatedTextLiesAlongItsAngleFromItsStart) {
  const String text = "Rolled";
  const int w = Actual()->TextWidth(text), h = Actual()->TextHeight(text);
  const int X = kW / 2, Y = kH / 2;
  struct Case {
    int Angle;
    TRect Cell;  // the text's cell turned counter-clockwise around (X, Y)
  };
  const Case cases[] = {
      {0, {X, Y, X + w, Y + h}},
      {900, {X, Y - w, X + h, Y}},
      {1800, {X - w, Y - h, X, Y}},
      {2700, {X - h, Y, X, Y + w}},
  };
  for (const Case& c : cases) {
    Clear();
    DrawRotatedText(Actual(), c.Angle, X, Y, clRed, text);
    const TRect ink = Ink(FActual);
    SCOPED_TRACE(c.Angle);
    // Glyphs keep a little inside their cells; none leaves it.
    EXPECT_GE(ink.Left, c.Cell.Left - 1);
    EXPECT_GE(ink.Top, c.Cell.Top - 1);
    EXPECT_LE(ink.Right, c.Cell.Right + 1);
    EXPECT_LE(ink.Bottom, c.Cell.Bottom + 1);
    // The ink runs along the cell's long side.
    const bool upright = c.Angle % 1800 == 0;
    EXPECT_GE(upright ? ink.Width() : ink.Height(), w - 4);
    EXPECT_LE(upright ? ink.Height() : ink.Width(), h);
    // Some pixel carries the colour itself, on a transparent background.
    const uint32_t* p = Pixels(FActual);
    EXPECT_TRUE(std::any_of(p, p + kW * kH, [](uint32_t q) { return q == 0xFFFF0000u; }));
  }
  // The canvas keeps its font: text drawn afterwards is upright, in the font colour.
  EXPECT_EQ(Actual()->Font()->Orientation(), 0);
  Clear();
  Actual()->TextOut(10, 10, text);
  Expected()->TextOut(10, 10, text);
  EXPECT_TRUE(Same());
}

}  // namespace
