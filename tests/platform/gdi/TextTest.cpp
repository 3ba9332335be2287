#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gdi/Gdi.h"
#include "support/Canvas.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr COLORREF kInk = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A white canvas with a font selected, black text and a transparent background.
class Paper : public TestCanvas {
 public:
  Paper(int width, int height, const String& face = "Tahoma", LONG fontHeight = -11, LONG escapement = 0,
        bool underline = false, bool strikeOut = false)
      : TestCanvas(width, height) {
    LOGFONT lf;
    lf.lfFaceName = face;
    lf.lfHeight = fontHeight;
    lf.lfEscapement = escapement;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    FFont = CreateFontIndirect(&lf);
    FOld = SelectObject(DC(), FFont);
    SetBkMode(DC(), TRANSPARENT);
    SetTextColor(DC(), kInk);
    GetTextMetrics(DC(), &Tm);
  }
  ~Paper() {
    SaveIfFailed(*this, "text");
    SelectObject(DC(), FOld);
    DeleteObject(FFont);
  }

  int Width(const String& s) const {
    SIZE size{};
    EXPECT_TRUE(GetTextExtentPoint32(DC(), s, -1, &size));
    return size.cx;
  }
  // The box of the pixels of exactly this colour.
  RECT Bounds(COLORREF color) const {
    RECT r{Width(), Height(), 0, 0};
    for (int y = 0; y < Height(); ++y)
      for (int x = 0; x < TestCanvas::Width(); ++x)
        if (Color(x, y) == color) {
          r = {std::min<LONG>(r.Left, x), std::min<LONG>(r.Top, y), std::max<LONG>(r.Right, x + 1),
               std::max<LONG>(r.Bottom, y + 1)};
        }
    return r.IsEmpty() ? RECT{} : r;
  }
  using TestCanvas::Width;
  void Opaque(COLORREF back = kBlue) {
    SetBkMode(DC(), OPAQUE);
    SetBkColor(DC(), back);
  }

  TEXTMETRIC Tm;

 private:
  HFONT FFont;
  HGDIOBJ FOld;
};

// ---- measuring ----

TEST(TextMeasure, ExtentIsTheSumOfCharacterWidths) {
  Paper p(1, 1);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32(p.DC(), "Hello", -1, &size));
  EXPECT_EQ(size.cy, p.Tm.tmHeight);
  int widths[5];
  int sum = 0;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(GetCharWidth32(p.DC(), UINT("Hello"[i]), UINT("Hello"[i]), &widths[i]));
    sum += widths[i];
  }
  EXPECT_EQ(size.cx, sum);
  EXPECT_GT(sum, 15);
  // GDI does not kern: a pair is as wide as its two characters.
  EXPECT_EQ(p.Width("AV"), p.Width("A") + p.Width("V"));
  EXPECT_EQ(p.Width("To"), p.Width("T") + p.Width("o"));

  ASSERT_TRUE(GetTextExtentPoint32(p.DC(), "Hello", 3, &size));
  EXPECT_EQ(size.cx, p.Width("Hel"));
  ASSERT_TRUE(GetTextExtentPoint32(p.DC(), "Hello", 0, &size));
  EXPECT_EQ(size, (SIZE{0, p.Tm.tmHeight}));
  // Counts are code points: two characters of two bytes each.
  ASSERT_TRUE(GetTextExtentPoint32(p.DC(), "\xC3\xA9\xC3\xA9xyz", 2, &size));
  EXPECT_EQ(size.cx, p.Width("\xC3\xA9\xC3\xA9"));

  int range[3];
  ASSERT_TRUE(GetCharWidth32(p.DC(), 'a', 'c', range));
  EXPECT_EQ(range[0] + range[1] + range[2], p.Width("abc"));
}

TEST(TextMeasure, BadArgumentsAreRefusedWithoutDrawing) {
  Paper p(40, 20);
  SIZE size{};
  int width = 0;
  EXPECT_FALSE(GetTextExtentPoint32(p.DC(), "abc", -2, &size));
  EXPECT_FALSE(GetTextExtentPoint32(p.DC(), "abc", -1, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32(nullptr, "abc", -1, &size));
  EXPECT_FALSE(GetCharWidth32(p.DC(), 'b', 'a', &width));
  EXPECT_FALSE(GetCharWidth32(p.DC(), 'a', 'b', nullptr));
  EXPECT_EQ(GetTabbedTextExtent(p.DC(), "a", -2, 0, nullptr), 0u);

  RECT r{0, 0, 40, 20};
  EXPECT_EQ(DrawText(p.DC(), "abc", -1, nullptr, 0), 0);
  EXPECT_EQ(DrawText(p.DC(), "abc", -5, &r, 0), 0);
  EXPECT_EQ(DrawText(nullptr, "abc", -1, &r, 0), 0);
  String s = "abc";
  DRAWTEXTPARAMS params;
  params.cbSize = 3;
  EXPECT_EQ(DrawTextEx(p.DC(), s, -1, &r, 0, &params), 0);
  EXPECT_FALSE(TextOut(p.DC(), 0, 0, "abc", -3));
  EXPECT_FALSE(ExtTextOut(nullptr, 0, 0, ETO_OPAQUE, &r, "abc"));
  EXPECT_EQ(TabbedTextOut(p.DC(), 0, 0, "a\tb", -1, -1, nullptr, 0), 0);
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  EXPECT_FALSE(TextOut(stale, 0, 0, "abc"));
  EXPECT_EQ(p.InkBounds(kWhite), RECT{});
}

TEST(TextMeasure, ExtremeValuesAreRefusedOrClamped) {
  Paper p(40, 20);
  // Coordinates past GDI's range are refused.
  EXPECT_FALSE(TextOut(p.DC(), INT32_MAX, 0, "abc"));
  RECT huge{INT32_MIN, 0, INT32_MAX, 20};
  EXPECT_EQ(DrawText(p.DC(), "abc", -1, &huge, 0), 0);
  SetViewportOrgEx(p.DC(), INT32_MAX, 0, nullptr);
  SetWindowOrgEx(p.DC(), INT32_MIN + 1, 0, nullptr);
  EXPECT_FALSE(TextOut(p.DC(), 0, 0, "abc"));
  SetViewportOrgEx(p.DC(), 0, 0, nullptr);
  SetWindowOrgEx(p.DC(), 0, 0, nullptr);
  EXPECT_EQ(p.InkBounds(kWhite), RECT{});

  // Huge advances, tab stops and tab lengths stay defined.
  const int dx[] = {INT32_MAX, INT32_MIN, INT32_MAX};
  EXPECT_TRUE(ExtTextOut(p.DC(), 0, 0, 0, nullptr, "abc", -1, dx));
  const int stops[] = {INT32_MIN, INT32_MAX};
  EXPECT_EQ(HIWORD(GetTabbedTextExtent(p.DC(), "a\tb\tc", -1, 2, stops)), p.Tm.tmHeight);
  String text = "a\tb";
  DRAWTEXTPARAMS params;
  params.iTabLength = INT32_MAX;
  RECT r{0, 0, 40, 20};
  EXPECT_EQ(DrawTextEx(p.DC(), text, -1, &r, DT_EXPANDTABS | DT_CALCRECT, &params), p.Tm.tmHeight);
  EXPECT_GT(r.Right, p.Width("ab"));

  // Code points past Unicode have no width.
  int widths[4] = {-1, -1, -1, -1};
  ASSERT_TRUE(GetCharWidth32(p.DC(), 0x10FFFE, 0x110001, widths));
  EXPECT_EQ(widths[2], 0);
  EXPECT_EQ(widths[3], 0);
  EXPECT_FALSE(GetCharWidth32(p.DC(), 0, 0x7FFFFFFF, widths));

  // An absurd font height is clamped, not followed.
  HFONT giant = CreateFont(INT32_MIN, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
  HGDIOBJ old = SelectObject(p.DC(), giant);
  TEXTMETRIC tm;
  ASSERT_TRUE(GetTextMetrics(p.DC(), &tm));
  EXPECT_GT(tm.tmHeight, 2000);
  EXPECT_LT(tm.tmHeight, 4000);
  SelectObject(p.DC(), old);
  DeleteObject(giant);
}

// ---- DrawText layout ----

TEST(DrawTextCalcRect, LinesAndWidth) {
  Paper p(1, 1);
  struct Case {
    const char* text;
    UINT format;
    const char* fitting;  // the rectangle is as wide as this text, plus two pixels
    std::vector<String> lines;
  };
  const Case cases[] = {
      {"one two three", DT_WORDBREAK, "one two", {"one two", "three"}},
      {"one two three", DT_WORDBREAK, "one", {"one", "two", "three"}},
      {"one   two", DT_WORDBREAK, "one", {"one", "two"}},  // blanks at a break are dropped
      {"a unbreakablewordthatoverflows b", DT_WORDBREAK, "a b", {"a", "unbreakablewordthatoverflows", "b"}},
      {"one\ntwo\r\nthree\rfour", DT_WORDBREAK, "one two three", {"one", "two", "three", "four"}},
      {"one\ntwo", 0, "o", {"one", "two"}},
      {"one two three", 0, "o", {"one two three"}},
      {"one\ntwo", DT_SINGLELINE | DT_WORDBREAK, "o", {"onetwo"}},
      {"trailing\n", 0, "o", {"trailing"}},
      {"a\n\nb", 0, "o", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    RECT r{10, 20, 10 + p.Width(c.fitting) + 2, 25};
    const int height = DrawText(p.DC(), c.text, -1, &r, c.format | DT_CALCRECT);
    int widest = 0;
    for (const String& line : c.lines) widest = std::max(widest, p.Width(line));
    const int lines = int(c.lines.size());
    EXPECT_EQ(height, lines * p.Tm.tmHeight) << c.text;
    EXPECT_EQ(r, (RECT{10, 20, 10 + widest, 20 + lines * p.Tm.tmHeight})) << c.text;
  }
}

TEST(DrawTextCalcRect, EmptyTextIsZeroHigh) {
  Paper p(30, 20);
  RECT r{5, 6, 25, 18};
  EXPECT_EQ(DrawText(p.DC(), "", -1, &r, DT_CALCRECT | DT_WORDBREAK), 0);
  EXPECT_EQ(r, (RECT{5, 6, 5, 6}));
  r = {5, 6, 25, 18};
  EXPECT_EQ(DrawText(p.DC(), "abc", 0, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r.Bottom, 6);
  p.Opaque();
  r = {5, 6, 25, 18};
  EXPECT_EQ(DrawText(p.DC(), "", -1, &r, DT_VCENTER | DT_SINGLELINE), 0);
  EXPECT_EQ(p.InkBounds(kWhite), RECT{});
}

TEST(DrawTextPlacement, WrappedLinesStackAtLineHeight) {
  Paper p(120, 60);
  p.Opaque();
  SetTextColor(p.DC(), kBlue);  // the cells show as solid boxes
  RECT r{4, 3, 4 + p.Width("one two") - 1, 60};
  const int h = p.Tm.tmHeight;
  EXPECT_EQ(DrawText(p.DC(), "one two", -1, &r, DT_WORDBREAK), 2 * h);
  for (int line = 0; line < 2; ++line) {
    const std::string row = p.Mask(kBlue, {0, 3 + line * h, 120, 4 + line * h});
    EXPECT_EQ(int(row.find('#')), 4) << line;
    EXPECT_EQ(int(row.rfind('#')), 3 + p.Width(line == 0 ? "one" : "two")) << line;
  }
  EXPECT_EQ(p.Bounds(kBlue).Bottom, 3 + 2 * h);
}

TEST(DrawTextPlacement, SingleLineVerticalAlignment) {
  struct Case {
    UINT format;
    int top;  // of the cell, for a rectangle 5..45 high
    const char* name;
  };
  Paper probe(1, 1);
  const int h = probe.Tm.tmHeight;
  const Case cases[] = {
      {DT_TOP, 5, "top"},
      {DT_VCENTER, 5 + (40 - h) / 2, "vcenter"},
      {DT_BOTTOM, 45 - h, "bottom"},
  };
  for (const Case& c : cases) {
    Paper p(80, 50);
    p.Opaque();
    RECT r{2, 5, 78, 45};
    const int result = DrawText(p.DC(), "Hello", -1, &r, DT_SINGLELINE | c.format);
    EXPECT_EQ(result, c.top - 5 + h) << c.name;
    EXPECT_EQ(p.Bounds(kBlue), (RECT{2, c.top, 2 + p.Width("Hello"), c.top + h})) << c.name;
  }
  // The ink moves with the cell: centred text is the top-aligned text moved down.
  Paper top(80, 50), centred(80, 50);
  RECT r{2, 5, 78, 45};
  DrawText(top.DC(), "Hello", -1, &r, DT_SINGLELINE);
  DrawText(centred.DC(), "Hello", -1, &r, DT_SINGLELINE | DT_VCENTER);
  const RECT a = top.InkBounds(kWhite), b = centred.InkBounds(kWhite);
  ASSERT_FALSE(a.IsEmpty());
  EXPECT_EQ(b.Top - a.Top, (40 - h) / 2);
  EXPECT_NEAR((b.Top + b.Bottom) / 2.0, 25.0, h / 2.0);
  // Without DT_SINGLELINE vertical alignment does not apply.
  Paper multi(80, 50);
  multi.Opaque();
  EXPECT_EQ(DrawText(multi.DC(), "Hello", -1, &r, DT_VCENTER), h);
  EXPECT_EQ(multi.Bounds(kBlue).Top, 5);
}

TEST(DrawTextPlacement, HorizontalAlignmentPerLine) {
  struct Case {
    UINT format;
    const char* name;
  };
  for (const Case& c : {Case{DT_LEFT, "left"}, Case{DT_CENTER, "center"}, Case{DT_RIGHT, "right"}}) {
    Paper p(120, 40);
    p.Opaque();
    SetTextColor(p.DC(), kBlue);
    RECT r{10, 0, 110, 40};
    DrawText(p.DC(), "Hi\nlonger line", -1, &r, c.format);
    for (int line = 0; line < 2; ++line) {
      const int w = p.Width(line == 0 ? "Hi" : "longer line");
      const int left = c.format == DT_CENTER ? 10 + (100 - w) / 2 : c.format == DT_RIGHT ? 110 - w : 10;
      const int y = line * p.Tm.tmHeight + 1;
      const std::string row = p.Mask(kBlue, {0, y, 120, y + 1});
      EXPECT_EQ(int(row.find('#')), left) << c.name << " line " << line;
      EXPECT_EQ(int(row.rfind('#')), left + w - 1) << c.name << " line " << line;
    }
  }
}

TEST(DrawTextPlacement, ClippedToTheRectangleUnlessNoClip) {
  for (UINT noClip : {0u, UINT(DT_NOCLIP)}) {
    Paper p(120, 40);
    RECT r{10, 10, 40, 20};
    DrawText(p.DC(), "A line far wider than its box", -1, &r, noClip);
    const RECT ink = p.InkBounds(kWhite);
    ASSERT_FALSE(ink.IsEmpty());
    if (noClip) {
      EXPECT_GT(ink.Right, 60);
      EXPECT_GT(ink.Bottom, 20);  // the cell is taller than the box
    } else {
      RECT inside;
      IntersectRect(&inside, &ink, &r);
      EXPECT_EQ(inside, ink);
    }
  }
}

TEST(DrawTextPlacement, EditControlHidesAPartialLastLine) {
  Paper probe(1, 1);
  const int h = probe.Tm.tmHeight;
  for (UINT edit : {0u, UINT(DT_EDITCONTROL)}) {
    Paper p(80, 3 * h);
    String text = "one\ntwo\nthree";
    RECT r{0, 0, 80, h + h / 2};
    DRAWTEXTPARAMS params;
    DrawTextEx(p.DC(), text, -1, &r, edit, &params);
    const RECT ink = p.InkBounds(kWhite);
    if (edit) {
      EXPECT_LE(ink.Bottom, h);
      EXPECT_EQ(params.uiLengthDrawn, 4u);  // "one\n"
    } else {
      EXPECT_GT(ink.Bottom, h);
      EXPECT_LE(ink.Bottom, h + h / 2);
      EXPECT_EQ(params.uiLengthDrawn, 8u);  // "one\ntwo\n": the third line starts below the box
    }
  }
}

TEST(DrawTextPlacement, MarginsOfDrawTextEx) {
  Paper p(120, 20);
  p.Opaque();
  SetTextColor(p.DC(), kBlue);
  DRAWTEXTPARAMS params;
  params.iLeftMargin = 7;
  params.iRightMargin = 5;
  String text = "Hello";
  RECT r{10, 0, 100, 20};
  DrawTextEx(p.DC(), text, -1, &r, DT_SINGLELINE, &params);
  EXPECT_EQ(p.Bounds(kBlue).Left, 17);
  EXPECT_EQ(params.uiLengthDrawn, 5u);
  p.Fill(kWhite);
  DrawTextEx(p.DC(), text, -1, &r, DT_SINGLELINE | DT_RIGHT, &params);
  EXPECT_EQ(p.Bounds(kBlue).Right, 95);
  RECT calc{10, 0, 11, 0};
  DrawTextEx(p.DC(), text, -1, &calc, DT_SINGLELINE | DT_CALCRECT, &params);
  EXPECT_EQ(calc.Right, 10 + 7 + p.Width("Hello") + 5);
}

// ---- ellipses ----

TEST(DrawTextEllipsis, EndEllipsisKeepsTheLongestFittingStart) {
  Paper p(100, 20);
  const String original = "The quick brown fox jumps over the lazy dog";
  const int width = 90;
  String text = original;
  RECT r{0, 0, width, 20};
  DrawText(p.DC(), text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(text.size() - 3), "...");
  EXPECT_LE(p.Width(text), width);
  const String kept = text.substr(0, text.size() - 3);
  EXPECT_EQ(original.substr(0, kept.size()), kept);
  EXPECT_GT(p.Width(original.substr(0, kept.size() + 1) + "..."), width);
  EXPECT_LE(p.InkBounds(kWhite).Right, width);

  // Without DT_MODIFYSTRING, or when the text fits, the string stays as it was.
  String unchanged = original;
  DrawText(p.DC(), unchanged, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
  EXPECT_EQ(unchanged, original);
  String fits = "The quick";
  DrawText(p.DC(), fits, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(fits, "The quick");
  // Only the counted characters take part; the rest of the string follows unchanged.
  String counted = original;
  DrawText(p.DC(), counted, 19, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(counted.substr(counted.size() - (original.size() - 19)), original.substr(19));
  EXPECT_NE(counted.find("..."), String::npos);
}

TEST(DrawTextEllipsis, PathEllipsisKeepsTheFileName) {
  Paper p(200, 20);
  const String path = "C:\\Program Files\\Some Vendor\\Application\\readme.txt";
  const int width = p.Width("C:\\Program...\\readme.txt");
  String text = path;
  RECT r{0, 0, width, 20};
  DrawText(p.DC(), text, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_LE(p.Width(text), width);
  EXPECT_EQ(text.substr(0, 10), "C:\\Program");
  EXPECT_EQ(text.substr(text.size() - 14), "...\\readme.txt");
  // Too narrow for the file name: the end is cut instead.
  String narrow = path;
  r.Right = p.Width("C:\\P...");
  DrawText(p.DC(), narrow, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(narrow.substr(narrow.size() - 3), "...");
  EXPECT_LE(p.Width(narrow), r.Right);
}

// ---- prefixes ----

TEST(DrawTextPrefix, AmpersandsMeasureAsShown) {
  Paper p(1, 1);
  struct Case {
    const char* text;
    UINT format;
    const char* shown;
  };
  const Case cases[] = {
      {"&File", 0, "File"},
      {"a&&b", 0, "a&b"},
      {"ab&", 0, "ab"},
      {"&&", 0, "&"},
      {"&File", DT_NOPREFIX, "&File"},
      {"&File", DT_HIDEPREFIX, "File"},
  };
  for (const Case& c : cases) {
    RECT r{0, 0, 1, 1};
    DrawText(p.DC(), c.text, -1, &r, c.format | DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Right, p.Width(c.shown)) << c.text;
  }
}

TEST(DrawTextPrefix, UnderlineUnderThePrefixedCharacterOnly) {
  auto draw = [](const char* text, UINT format) {
    auto p = std::make_unique<Paper>(60, 20);
    RECT r{0, 0, 60, 20};
    DrawText(p->DC(), text, -1, &r, format);
    return p;
  };
  const auto plain = draw("abc", 0);
  const auto marked = draw("a&bc", 0);
  const int ascent = plain->Tm.tmAscent, a = plain->Width("a"), ab = plain->Width("ab");
  int extra = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) {
      if (marked->Pixel(x, y) == plain->Pixel(x, y)) continue;
      ++extra;
      EXPECT_GE(y, ascent) << x << "," << y;  // below the baseline
      EXPECT_GE(x, a) << x << "," << y;       // under "b"
      EXPECT_LT(x, ab) << x << "," << y;
    }
  EXPECT_GE(extra, ab - a);
  // Hidden prefixes draw exactly the plain text; "prefix only" draws nothing but the line.
  EXPECT_EQ(draw("a&bc", DT_HIDEPREFIX)->Mask(kInk), plain->Mask(kInk));
  const RECT only = draw("a&bc", DT_PREFIXONLY)->InkBounds(kWhite);
  EXPECT_GE(only.Top, ascent);
  EXPECT_EQ(only.Left, a);
  EXPECT_EQ(only.Right, ab);
}

// ---- tabs ----

TEST(DrawTextTabs, ExpandedToStopsOfAverageCharacters) {
  Paper probe(1, 1);
  const int ave = probe.Tm.tmAveCharWidth, b = probe.Width("b");
  struct Case {
    UINT format;
    int tabLength;  // DRAWTEXTPARAMS::iTabLength
    int width;
  };
  const Case cases[] = {
      {DT_EXPANDTABS, 8, 8 * ave + b},
      // The second byte is the tab length; the flags it overlaps do not apply.
      {DT_EXPANDTABS | DT_TABSTOP | (4u << 8), 8, 4 * ave + b},
      {DT_EXPANDTABS | DT_TABSTOP | (3u << 8) | DT_NOCLIP, 8, 3 * ave + b},
      {DT_EXPANDTABS, 2, 2 * ave + b},
      {0, 8, probe.Width("a") + b},  // an unexpanded tab takes no room
  };
  for (const Case& c : cases) {
    Paper p(120, 20);
    p.Opaque();
    SetTextColor(p.DC(), kBlue);
    String text = "a\tb";
    DRAWTEXTPARAMS params;
    params.iTabLength = c.tabLength;
    RECT r{0, 0, 120, 20};
    DrawTextEx(p.DC(), text, -1, &r, c.format | DT_SINGLELINE, &params);
    EXPECT_EQ(p.Bounds(kBlue), (RECT{0, 0, c.width, p.Tm.tmHeight})) << std::hex << c.format << " " << c.tabLength;
  }
  // Measuring agrees with drawing.
  RECT r{0, 0, 1, 1};
  DrawText(probe.DC(), "a\tb", -1, &r, DT_EXPANDTABS | DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.Right, 8 * ave + b);
}

TEST(TabbedText, StopsIntervalOrPositions) {
  Paper p(200, 20);
  const int ave = p.Tm.tmAveCharWidth, b = p.Width("b"), c = p.Width("c");
  const int interval[] = {50};
  const int positions[] = {30, 70};
  struct Case {
    const char* text;
    int count;
    const int* stops;
    int width;
  };
  const Case cases[] = {
      {"a\tb", 0, nullptr, 8 * ave + b},
      {"a\tb\tc", 1, interval, 100 + c},
      {"a\tb\tc", 2, positions, 70 + c},
  };
  for (const Case& k : cases) {
    const DWORD extent = GetTabbedTextExtent(p.DC(), k.text, -1, k.count, k.stops);
    EXPECT_EQ(LOWORD(extent), k.width) << k.text << " " << k.count;
    EXPECT_EQ(HIWORD(extent), p.Tm.tmHeight);
  }
  // Drawn at x = 10 with the stops counted from 10, the cell is the extent.
  p.Opaque();
  SetTextColor(p.DC(), kBlue);
  const LONG drawn = TabbedTextOut(p.DC(), 10, 2, "a\tb\tc", -1, 1, interval, 10);
  EXPECT_EQ(LOWORD(drawn), 100 + c);
  EXPECT_EQ(p.Bounds(kBlue), (RECT{10, 2, 110 + c, 2 + p.Tm.tmHeight}));
}

// ---- TextOut and ExtTextOut ----

TEST(TextOutput, ColourBackgroundAndAlpha) {
  Paper p(80, 20);
  p.Opaque(kBlue);
  SetTextColor(p.DC(), kRed);
  ASSERT_TRUE(TextOut(p.DC(), 5, 3, "Hello"));
  const RECT cell{5, 3, 5 + p.Width("Hello"), 3 + p.Tm.tmHeight};
  EXPECT_EQ(p.InkBounds(kWhite), cell);
  EXPECT_EQ(p.Bounds(kBlue), cell);
  EXPECT_FALSE(p.Bounds(kRed).IsEmpty());
  for (int y = cell.Top; y < cell.Bottom; ++y)
    for (int x = cell.Left; x < cell.Right; ++x) {
      const uint32_t px = p.Pixel(x, y);
      EXPECT_EQ(px >> 24, 0xFFu);
      EXPECT_EQ((px >> 8) & 0xFF, 0u);  // only red and blue mix
    }

  // On a transparent surface every byte blends with the coverage, alpha included.
  Paper clear(120, 40, "Arial", -24);
  clear.Fill(0);
  SetTextColor(clear.DC(), kRed);
  TextOut(clear.DC(), 2, 2, "Sample");
  int full = 0, partial = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t px = clear.Pixel(x, y);
      EXPECT_EQ((px >> 16) & 0xFF, px >> 24) << x << "," << y;
      EXPECT_EQ(px & 0xFFFF, 0u) << x << "," << y;
      full += px == 0xFFFF0000u;
      partial += (px >> 24) != 0 && (px >> 24) != 0xFF;
    }
  EXPECT_GT(full, 20);
  EXPECT_GT(partial, 0);
}

TEST(TextOutput, AlignmentPlacesTheCell) {
  Paper probe(1, 1);
  const int w = probe.Width("Hello"), h = probe.Tm.tmHeight, ascent = probe.Tm.tmAscent;
  struct Case {
    UINT align;
    RECT cell;
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, {40, 30, 40 + w, 30 + h}},
      {TA_RIGHT | TA_BOTTOM, {40 - w, 30 - h, 40, 30}},
      {TA_CENTER | TA_BASELINE, {40 - w / 2, 30 - ascent, 40 - w / 2 + w, 30 - ascent + h}},
  };
  for (const Case& c : cases) {
    Paper p(80, 60);
    p.Opaque();
    SetTextAlign(p.DC(), c.align);
    TextOut(p.DC(), 40, 30, "Hello");
    EXPECT_EQ(p.Bounds(kBlue), c.cell) << c.align;
  }
  // TA_UPDATECP draws at the current position and moves it past the text.
  Paper p(80, 60);
  SetTextAlign(p.DC(), TA_UPDATECP);
  MoveToEx(p.DC(), 10, 5, nullptr);
  TextOut(p.DC(), 70, 50, "ab");
  POINT cp;
  GetCurrentPositionEx(p.DC(), &cp);
  EXPECT_EQ(cp, (POINT{10 + p.Width("ab"), 5}));
  p.Opaque();
  TextOut(p.DC(), 70, 50, "cd");
  EXPECT_EQ(p.Bounds(kBlue).Left, 10 + p.Width("ab"));
}

TEST(TextOutput, ExtTextOutRectangleAndAdvances) {
  Paper p(80, 30);
  SetBkColor(p.DC(), kBlue);
  const RECT box{5, 5, 30, 25};
  // ETO_OPAQUE fills the rectangle even with no text and a transparent background.
  ASSERT_TRUE(ExtTextOut(p.DC(), 0, 0, ETO_OPAQUE, &box, ""));
  EXPECT_EQ(p.Bounds(kBlue), box);
  p.Fill(kWhite);
  ExtTextOut(p.DC(), 0, 5, ETO_CLIPPED, &box, "Clipped text");
  const RECT ink = p.InkBounds(kWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, box.Left);
  EXPECT_LE(ink.Right, box.Right);

  // Per-character advances move each character.
  p.Fill(kWhite);
  p.Opaque();
  const int dx[] = {30, 10};
  ExtTextOut(p.DC(), 2, 2, 0, nullptr, "lb", -1, dx);
  EXPECT_EQ(p.Bounds(kBlue), (RECT{2, 2, 42, 2 + p.Tm.tmHeight}));
  const std::string gap = p.Mask(kInk, {2 + p.Width("l") + 1, 0, 2 + 30, 30});
  EXPECT_EQ(gap.find('#'), std::string::npos);
  EXPECT_NE(p.Mask(kInk, {32, 0, 42, 30}).find('#'), std::string::npos);
}

TEST(TextOutput, EscapementTurnsAroundTheReferencePoint) {
  Paper probe(1, 1);
  const int w = probe.Width("Hello World"), h = probe.Tm.tmHeight;
  Paper up(60, 120, "Tahoma", -11, 900);
  TextOut(up.DC(), 20, 100, "Hello World");
  const RECT ink = up.InkBounds(kWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GT(ink.Height(), 3 * ink.Width());
  // Turned a quarter counter-clockwise the text runs upwards from (20, 100), its cell to the right.
  EXPECT_GE(ink.Left, 19);
  EXPECT_LE(ink.Right, 21 + h);
  EXPECT_GE(ink.Top, 99 - w);
  EXPECT_LE(ink.Bottom, 101);

  Paper down(120, 60, "Tahoma", -11, 1800);
  TextOut(down.DC(), 100, 40, "Hello World");
  const RECT turned = down.InkBounds(kWhite);
  EXPECT_GT(turned.Width(), 3 * turned.Height());
  EXPECT_LE(turned.Right, 101);
  EXPECT_LE(turned.Bottom, 41);
}

TEST(TextOutput, UnderlineAndStrikeOutRunTheWholeWidth) {
  auto fullRows = [](const Paper& p, int width) {
    std::vector<int> rows;
    for (int y = 0; y < p.Height(); ++y) {
      bool full = true;
      for (int x = 2; x < 2 + width && full; ++x) full = p.Color(x, y) == kInk;
      if (full) rows.push_back(y);
    }
    return rows;
  };
  Paper plain(60, 20);
  const int w = plain.Width("ab"), ascent = plain.Tm.tmAscent;
  TextOut(plain.DC(), 2, 0, "ab");
  EXPECT_TRUE(fullRows(plain, w).empty());
  Paper under(60, 20, "Tahoma", -11, 0, true);
  TextOut(under.DC(), 2, 0, "ab");
  const auto u = fullRows(under, w);
  ASSERT_FALSE(u.empty());
  EXPECT_GE(u.front(), ascent);
  Paper struck(60, 20, "Tahoma", -11, 0, false, true);
  TextOut(struck.DC(), 2, 0, "ab");
  const auto s = fullRows(struck, w);
  ASSERT_FALSE(s.empty());
  EXPECT_LT(s.back(), ascent);
  EXPECT_GT(s.front(), ascent - struck.Tm.tmAscent / 2 - 2);
}

TEST(TextOutput, RightToLeftReadingOrder) {
  // In a right-to-left paragraph the closing '!' (neutral) goes to the left of "abc".
  Paper rtl(60, 20), ltr(60, 20);
  RECT r{0, 0, 60, 20};
  DrawText(rtl.DC(), "abc!", -1, &r, DT_RTLREADING);
  DrawText(ltr.DC(), "!abc", -1, &r, 0);
  EXPECT_EQ(rtl.Mask(kInk), ltr.Mask(kInk));
  EXPECT_NE(rtl.Mask(kInk).find('#'), std::string::npos);
}

}  // namespace
