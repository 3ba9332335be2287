#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "vcl/SysUtils.h"

namespace {

enum TColour { cRed, cGreen, cBlue, cAlpha, cHigh = 200 };
using TColours = Set<TColour>;

TEST(SysUtilsSet, OperatorsFollowSetAlgebra) {
  const TColours a{cRed, cGreen, cHigh};
  const TColours b{cGreen, cBlue};
  EXPECT_EQ(a + b, (TColours{cRed, cGreen, cBlue, cHigh}));
  EXPECT_EQ(a - b, (TColours{cRed, cHigh}));
  EXPECT_EQ(a * b, (TColours{cGreen}));
  EXPECT_TRUE((a * TColours{cAlpha}).Empty());
  EXPECT_TRUE(TColours{cGreen} <= b);
  EXPECT_FALSE(a <= b);
  EXPECT_TRUE(a.Contains(cHigh));  // members above 63 live in the upper words
  EXPECT_FALSE(a.Contains(cBlue));
  EXPECT_FALSE(a.Contains(TColour(-1)));
  EXPECT_FALSE(TColours{TColour(300)}.Contains(TColour(300)));

  TColours s;
  s.Include(cBlue).Include(cBlue);
  s += cRed;
  s.Exclude(cBlue);
  EXPECT_EQ(s, TColours{cRed});
  s -= TColours{cRed};
  EXPECT_TRUE(s.Empty());
}

TEST(SysUtilsRound, TiesGoToEvenAndExtremesSaturate) {
  struct Case {
    double value;
    int32_t round, trunc;
  };
  const Case cases[] = {
      {0.5, 0, 0},
      {1.5, 2, 1},
      {2.5, 2, 2},
      {-0.5, 0, 0},
      {-1.5, -2, -1},
      {-2.5, -2, -2},
      {2.4999, 2, 2},
      {2.5001, 3, 2},
      {-2.7, -3, -2},
      {1e12, INT32_MAX, INT32_MAX},
      {-1e12, INT32_MIN, INT32_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Round(c.value), c.round) << c.value;
    EXPECT_EQ(Trunc(c.value), c.trunc) << c.value;
  }
  EXPECT_EQ(Round(std::nan("")), 0);
  EXPECT_EQ(Round64(3000000000.5), 3000000000);  // beyond 32 bits, still to even
  EXPECT_EQ(Round64(3000000001.5), 3000000002);
}

TEST(SysUtilsMulDiv, HalvesGoAwayFromZero) {
  struct Case {
    int32_t a, b, c, result;
  };
  const Case cases[] = {
      {1, 1, 2, 1},
      {3, 1, 2, 2},
      {5, 1, 2, 3},  // halves up, never to even
      {-1, 1, 2, -1},
      {-5, 1, 2, -3},
      {5, -1, 2, -3},
      {5, 1, -2, -3},
      {-5, -1, -2, -3},
      {10, 72, 96, 8},
      {-11, 72, 96, -8},             // 7.5 -> 8, -8.25 -> -8
      {INT32_MAX, 2, 2, INT32_MAX},  // the product needs 64 bits
      {7, 1, 0, -1},
      {INT32_MAX, 4, 1, -1},  // zero divisor, overflow
      {INT32_MIN, 1, 1, INT32_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(SysUtilsConvert, StrToIntAcceptsTheFrameworkFormsAndNamesTheBadText) {
  struct Case {
    const char* text;
    int32_t value;
  };
  const Case good[] = {{"0", 0},
                       {"  42", 42},
                       {"-17", -17},
                       {"+5", 5},
                       {"$FF", 255},
                       {"0x1f", 31},
                       {"2147483647", INT32_MAX},
                       {"-2147483648", INT32_MIN},
                       {"$FFFFFFFF", -1}};
  for (const Case& c : good) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;

  const char* bad[] = {"", "12 ", "1.5", "abc", "2147483648", "-2147483649", "$", "--1", "$1FFFFFFFF"};
  for (const char* text : bad) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "'" + String(text) + "' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef(text, -99), -99) << text;
  }
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
}

TEST(SysUtilsConvert, NumbersToText) {
  EXPECT_EQ(IntToStr(-123), "-123");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");  // a 32-bit argument shows 32 bits
  EXPECT_EQ(IntToHex(int64_t(-1), 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(FloatToStr(1.5), "1.5");
  EXPECT_EQ(FloatToStr(100), "100");
  EXPECT_EQ(FloatToStr(0.1), "0.1");
  EXPECT_EQ(FloatToStr(1e20), "1E20");
  EXPECT_EQ(FloatToStr(1.25e-7), "1.25E-7");
  EXPECT_DOUBLE_EQ(StrToFloat(" 2.5e3"), 2500.0);
  EXPECT_THROW(StrToFloat("1,5"), EConvertError);
  EXPECT_THROW(StrToFloat("inf"), EConvertError);
}

TEST(SysUtilsFormat, DirectivesWidthsAndIndexes) {
  EXPECT_EQ(Format("List index out of bounds (%d)", {int64_t(7)}), "List index out of bounds (7)");
  EXPECT_EQ(Format("[%5d|%-5d|%.3d]", {int64_t(42), int64_t(42), int64_t(-7)}), "[   42|42   |-007]");
  EXPECT_EQ(Format("%s=%x %.4X %%", {String("k"), int64_t(255), int64_t(10)}), "k=FF 000A %");
  EXPECT_EQ(Format("%.2f %n %.1n", {3.14159, 1234567.0, int64_t(-1234)}), "3.14 1,234,567.00 -1,234.0");
  EXPECT_EQ(Format("%1:s %0:s %s", {String("a"), String("b")}), "b a b");
  EXPECT_EQ(Format("%*d", {int64_t(4), int64_t(1)}), "   1");
  EXPECT_THROW(Format("%d", {String("x")}), EConvertError);
  EXPECT_THROW(Format("%d %d", {int64_t(1)}), EConvertError);
}

TEST(SysUtilsText, CaseTrimAndCompare) {
  EXPECT_EQ(UpperCase("abcÄ"), "ABCÄ");  // ASCII only
  EXPECT_EQ(AnsiUpperCase("abcä"), "ABCÄ");
  EXPECT_EQ(AnsiLowerCase("ÄÖÜ"), "äöü");
  EXPECT_EQ(Trim("\t\r\n x y \x01"), "x y");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a "), "  a");
  EXPECT_LT(CompareText("apple", "BANANA"), 0);
  EXPECT_EQ(CompareText("MiXeD", "mixed"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);  // ordinal: lower case after upper case
  EXPECT_TRUE(AnsiSameText("ÄBC", "äbc"));
  // Case-sensitive ordering puts a letter's lower case first, then the next letter.
  EXPECT_LT(AnsiCompareStr("a", "A"), 0);
  EXPECT_LT(AnsiCompareStr("A", "b"), 0);
  EXPECT_EQ(QuotedStr("it's"), "'it''s'");
  EXPECT_EQ(AnsiDequotedStr("\"a\"\"b\" rest", '"'), "a\"b");
  EXPECT_EQ(StringReplace("aXbxc", "x", "-", {rfReplaceAll, rfIgnoreCase}), "a-b-c");
  EXPECT_EQ(StringReplace("aXbxc", "x", "-", {}), "aXb-c");
  EXPECT_TRUE(IsValidIdent("_Button1"));
  EXPECT_FALSE(IsValidIdent("1Button"));
  EXPECT_FALSE(IsValidIdent("a b"));
}

TEST(SysUtilsText, PositionsCountCharactersFromZero) {
  const String s = "añb€c😀d";  // 1, 2, 1, 3, 1, 4 and 1 bytes
  EXPECT_EQ(Length(s), 7);
  EXPECT_EQ(Pos("€", s), 3);
  EXPECT_EQ(Pos("d", s), 6);
  EXPECT_EQ(Pos("b", s, 3), -1);
  EXPECT_EQ(Pos("", s), -1);
  EXPECT_EQ(Copy(s, 3, 3), "€c😀");
  EXPECT_EQ(Copy(s, 5, 100), "😀d");
  EXPECT_EQ(Copy(s, 9, 1), "");
  String t = s;
  Delete(t, 1, 3);
  EXPECT_EQ(t, "ac😀d");
  Insert("ñ", t, 1);
  EXPECT_EQ(t, "añc😀d");
  // A stray byte counts as one character and decodes as U+FFFD.
  EXPECT_EQ(Length("a\xFF"
                   "b"),
            3);
  EXPECT_EQ(Utf8ToCodePoints("a\xFF"), (std::u32string{U'a', U'\uFFFD'}));
  EXPECT_EQ(CodePointsToUtf8(U"x😀"), "x😀");
}

TEST(SysUtilsSystem, AnswersAreWindows10UntilOverridden) {
  EXPECT_EQ(Win32MajorVersion(), 10);
  EXPECT_EQ(Win32BuildNumber(), 19045);
  EXPECT_EQ(Win32Platform(), VER_PLATFORM_WIN32_NT);
  EXPECT_TRUE(CheckWin32Version(6, 0));
  EXPECT_TRUE(CheckWin32Version(10, 0));
  EXPECT_FALSE(CheckWin32Version(10, 1));
  {
    TOSAnswers xp;
    xp.MajorVersion = 5;
    xp.MinorVersion = 1;
    TOSAnswersOverride scope(xp);
    EXPECT_FALSE(CheckWin32Version(6, 0));
    EXPECT_TRUE(CheckWin32Version(5, 1));
  }
  EXPECT_EQ(Win32MajorVersion(), 10);
}

uint64_t FakeClock() { return 12345; }

TEST(SysUtilsSystem, TickSourceCanBeReplaced) {
  SetTickSource(FakeClock);
  EXPECT_EQ(TickCount64(), 12345u);
  SetTickSource(nullptr);
  const uint64_t a = TickCount64(), b = TickCount64();
  EXPECT_LE(a, b);
  EXPECT_NE(a, 12345u);
}

}  // namespace

TEST(SysUtilsRandom, SameSeedSameNumbersAlwaysInRange) {
  const uint32_t saved = RandSeed;
  RandSeed = 42;
  std::vector<int32_t> first;
  for (int i = 0; i < 200; ++i) first.push_back(Random(7));
  RandSeed = 42;
  for (int i = 0; i < 200; ++i) EXPECT_EQ(Random(7), first[size_t(i)]);
  // Every value of the range comes up, and nothing outside it.
  std::vector<int> seen(7);
  for (int32_t v : first) {
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 7);
    ++seen[size_t(v)];
  }
  for (int n : seen) EXPECT_GT(n, 0);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  for (int i = 0; i < 100; ++i) {
    const double d = Random();
    EXPECT_GE(d, 0.0);
    EXPECT_LT(d, 1.0);
  }
  RandSeed = saved;
}
