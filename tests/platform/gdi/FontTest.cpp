#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gdi/Gdi.h"
#include "support/Canvas.h"

namespace {

LOGFONT Font(const String& face, LONG height) {
  LOGFONT lf;
  lf.lfFaceName = face;
  lf.lfHeight = height;
  return lf;
}

// A memory DC with a font selected; the font is deleted with the fixture.
class SelectedFont {
 public:
  explicit SelectedFont(const LOGFONT& lf) : FFont(CreateFontIndirect(&lf)) { FOld = SelectObject(FDC, FFont); }
  ~SelectedFont() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
    DeleteObject(FFont);
  }
  HDC DC() const { return FDC; }
  HFONT Handle() const { return FFont; }
  TEXTMETRIC Metrics() const {
    TEXTMETRIC tm;
    EXPECT_TRUE(GetTextMetrics(FDC, &tm));
    return tm;
  }
  int Width(const String& s) const {
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32(FDC, s, -1, &size));
    return size.cx;
  }

 private:
  HDC FDC = CreateCompatibleDC(nullptr);
  HFONT FFont;
  HGDIOBJ FOld;
};

TEST(Fonts, FaceNamesResolveToTheBundledFamilies) {
  struct Case {
    const char* face;
    const char* family;
  };
  const Case cases[] = {
      {"Tahoma", "Tahoma"},
      {"tahoma", "Tahoma"},
      {"Marlett", "Marlett"},
      {"", "Tahoma"},
      {"MS Sans Serif", "Tahoma"},
      {"Arial", "Liberation Sans"},
      {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Segoe UI", "DejaVu Sans"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolvedFamily(c.face), c.family) << "face \"" << c.face << "\"";
}

TEST(Fonts, NegativeHeightIsTheEm) {
  SelectedFont tahoma(Font("Tahoma", -11));
  const TEXTMETRIC tm = tahoma.Metrics();
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  EXPECT_GE(tm.tmHeight, 12);
  EXPECT_LE(tm.tmHeight, 14);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 11);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_LT(tm.tmAveCharWidth, 9);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);

  // Twice the em is about twice the cell.
  SelectedFont big(Font("Tahoma", -22));
  EXPECT_NEAR(big.Metrics().tmHeight, 2 * tm.tmHeight, 2);
  EXPECT_NEAR(big.Width("Hello world"), 2 * tahoma.Width("Hello world"), 6);
}

TEST(Fonts, PositiveHeightIsTheCellHeight) {
  for (const char* face : {"Tahoma", "Arial", "Courier New", "Segoe UI"}) {
    for (LONG height : {8, 13, 16, 20, 27, 40}) {
      SelectedFont font(Font(face, height));
      const TEXTMETRIC tm = font.Metrics();
      EXPECT_EQ(tm.tmHeight, height) << face;
      EXPECT_EQ(tm.tmAscent + tm.tmDescent, height) << face;
      EXPECT_GT(tm.tmInternalLeading, 0) << face << " " << height;
    }
  }
}

TEST(Fonts, ZeroHeightIsTheDefaultSize) {
  SelectedFont zero(Font("Tahoma", 0)), eleven(Font("Tahoma", -11));
  EXPECT_EQ(zero.Metrics().tmHeight, eleven.Metrics().tmHeight);
  EXPECT_EQ(zero.Width("Default size"), eleven.Width("Default size"));
}

TEST(Fonts, StyleFlagsReachTheMetricsAndTheWidths) {
  LOGFONT lf = Font("Tahoma", -11);
  SelectedFont regular(lf);
  lf.lfWeight = FW_BOLD;
  lf.lfItalic = 1;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  SelectedFont styled(lf);
  const TEXTMETRIC tm = styled.Metrics();
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_NE(tm.tmItalic, 0);
  EXPECT_NE(tm.tmUnderlined, 0);
  EXPECT_NE(tm.tmStruckOut, 0);
  EXPECT_EQ(regular.Metrics().tmItalic, 0);
  EXPECT_GT(styled.Width("Bold text is wider"), regular.Width("Bold text is wider"));
}

TEST(Fonts, PitchFamilyAndCharacterSet) {
  struct Case {
    const char* face;
    bool variablePitch;
    BYTE charSet;
    BYTE family;
  };
  const Case cases[] = {
      {"Tahoma", true, ANSI_CHARSET, FF_SWISS},
      {"Courier New", false, ANSI_CHARSET, FF_MODERN},
      {"Times New Roman", true, ANSI_CHARSET, FF_ROMAN},
      {"Marlett", true, SYMBOL_CHARSET, FF_DONTCARE},
  };
  for (const Case& c : cases) {
    SelectedFont font(Font(c.face, -11));
    const TEXTMETRIC tm = font.Metrics();
    EXPECT_EQ((tm.tmPitchAndFamily & TMPF_FIXED_PITCH) != 0, c.variablePitch) << c.face;
    EXPECT_EQ(tm.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR), TMPF_TRUETYPE | TMPF_VECTOR) << c.face;
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, c.family) << c.face;
    EXPECT_EQ(tm.tmCharSet, c.charSet) << c.face;
  }
  // Fixed pitch: every character as wide as every other.
  SelectedFont courier(Font("Courier New", -13));
  EXPECT_EQ(courier.Width("iiii"), courier.Width("WWWW"));
}

TEST(Fonts, TextFaceIsTheRequestedName) {
  SelectedFont segoe(Font("Segoe UI", -12));
  String name;
  EXPECT_EQ(GetTextFace(segoe.DC(), &name), 9);
  EXPECT_EQ(name, "Segoe UI");
  EXPECT_EQ(GetTextFace(segoe.DC(), nullptr), 9);
  EXPECT_EQ(GetTextFace(nullptr, &name), 0);
}

TEST(Fonts, EqualLogicalFontsShareOneFace) {
  SelectedFont a(Font("Arial", -15)), b(Font("arial", -15)), c(Font("Arial", -16));
  a.Metrics();
  b.Metrics();
  c.Metrics();
  ASSERT_TRUE(a.Handle()->Face);
  EXPECT_EQ(a.Handle()->Face, b.Handle()->Face);
  EXPECT_NE(a.Handle()->Face, c.Handle()->Face);
}

TEST(Fonts, FaceNameIsCutToThirtyOneCharacters) {
  const String longName(40, 'x');
  HFONT font = CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, longName);
  LOGFONT lf;
  ASSERT_EQ(GetObject(font, sizeof(lf), &lf), int(sizeof(lf)));
  EXPECT_EQ(lf.lfFaceName, String(31, 'x'));
  DeleteObject(font);
}

TEST(Fonts, BadHandlesAndPointersAreRefused) {
  TEXTMETRIC tm;
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(GetTextMetrics(dc, nullptr));
  HDC stale = dc;
  DeleteDC(dc);
  EXPECT_FALSE(GetTextMetrics(stale, &tm));
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
  EXPECT_EQ(EnumFontFamilies(
                stale, nullptr, [](const LOGFONT*, const TEXTMETRIC*, DWORD, intptr_t) { return 1; }, 0),
            0);
}

struct Enumerated {
  LOGFONT Log;
  TEXTMETRIC Metrics;
  DWORD Type;
  String Style;
};

std::vector<Enumerated> Enumerate(HDC dc, const String& face, BYTE charSet = DEFAULT_CHARSET, int* result = nullptr,
                                  int stopAfter = -1) {
  std::vector<Enumerated> out;
  LOGFONT lf;
  lf.lfFaceName = face;
  lf.lfCharSet = charSet;
  const int r = EnumFontFamiliesEx(
      dc, &lf,
      [&](const LOGFONT* l, const TEXTMETRIC* tm, DWORD type, intptr_t param) {
        EXPECT_EQ(param, 42);
        // GDI hands over an ENUMLOGFONTEX whose first member is the LOGFONT.
        const auto* elf = reinterpret_cast<const ENUMLOGFONTEX*>(l);
        out.push_back({*l, *tm, type, elf->elfStyle});
        return stopAfter >= 0 && int(out.size()) >= stopAfter ? 0 : 7;
      },
      42, 0);
  if (result) *result = r;
  return out;
}

TEST(FontEnumeration, EveryFamilyOnceSortedByName) {
  TestCanvas canvas(1, 1);
  int result = 0;
  const auto all = Enumerate(canvas.DC(), "", DEFAULT_CHARSET, &result);
  EXPECT_EQ(result, 7);  // what the last callback answered
  std::vector<String> names;
  for (const auto& e : all) names.push_back(e.Log.lfFaceName);
  auto lower = [](String s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
  };
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                             [&](const String& a, const String& b) { return lower(a) < lower(b); }));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  for (const char* family : {"Tahoma", "Marlett", "DejaVu Sans", "Liberation Sans", "Liberation Mono"}) {
    auto it = std::find_if(all.begin(), all.end(), [&](const Enumerated& e) { return e.Log.lfFaceName == family; });
    ASSERT_NE(it, all.end()) << family;
    EXPECT_EQ(it->Type, TRUETYPE_FONTTYPE) << family;
    EXPECT_GE(it->Log.lfWeight, FW_NORMAL) << family;  // the upright style nearest to regular
    EXPECT_LE(it->Log.lfWeight, FW_MEDIUM) << family;
    EXPECT_EQ(it->Log.lfItalic, 0) << family;
    EXPECT_EQ(it->Metrics.tmAscent + it->Metrics.tmDescent, it->Metrics.tmHeight) << family;
    EXPECT_EQ(it->Log.lfCharSet, String(family) == "Marlett" ? SYMBOL_CHARSET : ANSI_CHARSET) << family;
    EXPECT_EQ(it->Log.lfPitchAndFamily & 3, String(family) == "Liberation Mono" ? FIXED_PITCH : VARIABLE_PITCH)
        << family;
  }
}

TEST(FontEnumeration, NamedFamilyGivesEachStyle) {
  TestCanvas canvas(1, 1);
  const auto styles = Enumerate(canvas.DC(), "dejavu sans");
  ASSERT_GE(styles.size(), 2u);
  bool bold = false, regular = false;
  for (const auto& e : styles) {
    EXPECT_EQ(e.Log.lfFaceName, "DejaVu Sans");
    bold |= e.Log.lfWeight == FW_BOLD && !e.Log.lfItalic;
    regular |= e.Log.lfWeight == FW_NORMAL && !e.Log.lfItalic;
  }
  EXPECT_TRUE(bold);
  EXPECT_TRUE(regular);
  EXPECT_EQ(Enumerate(canvas.DC(), "Tahoma").size(), 2u);  // regular and bold

  int result = 0;
  EXPECT_TRUE(Enumerate(canvas.DC(), "No Such Family", DEFAULT_CHARSET, &result).empty());
  EXPECT_EQ(result, 1);
}

TEST(FontEnumeration, CallbackAnsweringZeroStops) {
  TestCanvas canvas(1, 1);
  int result = -1;
  EXPECT_EQ(Enumerate(canvas.DC(), "", DEFAULT_CHARSET, &result, 2).size(), 2u);
  EXPECT_EQ(result, 0);
}

TEST(FontEnumeration, CharacterSetFilters) {
  TestCanvas canvas(1, 1);
  const auto symbols = Enumerate(canvas.DC(), "", SYMBOL_CHARSET);
  ASSERT_FALSE(symbols.empty());
  for (const auto& e : symbols) EXPECT_EQ(e.Log.lfCharSet, SYMBOL_CHARSET) << e.Log.lfFaceName;
  const auto ansi = Enumerate(canvas.DC(), "", ANSI_CHARSET);
  EXPECT_TRUE(
      std::none_of(ansi.begin(), ansi.end(), [](const Enumerated& e) { return e.Log.lfFaceName == "Marlett"; }));

  String family = "Liberation Serif";
  int count = 0;
  EnumFontFamilies(
      canvas.DC(), &family,
      [&](const LOGFONT* lf, const TEXTMETRIC*, DWORD, intptr_t) {
        EXPECT_EQ(lf->lfFaceName, family);
        return ++count;
      },
      0);
  EXPECT_GE(count, 2);
}

}  // namespace
