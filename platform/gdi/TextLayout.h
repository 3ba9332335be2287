// Text shaped once by pango and laid out by GDI's rules: per-character advances in whole
// pixels, glyph output for any range of characters, and DrawText's lines (prefixes, word
// breaks, tabs, ellipses). Internal to the text code of the drawing layer.
#pragma once

#include <cairo.h>
#include <pango/pango.h>

#include <memory>
#include <string>
#include <vector>

#include "FontFace.h"
#include "Text.h"
#include "Utf8.h"

namespace text {

// Characters that advance nothing and draw nothing (newlines, tabs before expansion...).
bool IsControl(char32_t c);

class ShapedText {
 public:
  ShapedText(const FontFace& face, std::u32string chars, bool rightToLeft);
  ~ShapedText();
  ShapedText(const ShapedText&) = delete;
  ShapedText& operator=(const ShapedText&) = delete;

  int Size() const { return int(FChars.size()); }
  const std::u32string& Chars() const { return FChars; }
  // The advance of each character in whole pixels.
  const std::vector<int>& Advances() const { return FAdvances; }

  // Draws characters [from, to) in visual order from x on the baseline y; character i
  // advances advances[i]. Clusters wholly outside [visibleLeft, visibleRight] are skipped.
  void Draw(cairo_t* cr, int from, int to, int x, int y, const std::vector<int>& advances, double visibleLeft,
            double visibleRight) const;
  // Where character i starts when [from, to) is drawn from 0, or -1 when it is not drawn.
  int Offset(int from, int to, int i, const std::vector<int>& advances) const;

 private:
  struct Cluster {
    int FirstChar;
    int CharCount;
    int FirstGlyph;
    int GlyphCount;
    int Font;
  };
  template <class F>
  void Walk(int from, int to, const std::vector<int>& advances, F&& visit) const;
  int FontIndex(PangoFont* font);

  std::u32string FChars;
  std::vector<int> FAdvances;
  std::vector<Cluster> FClusters;  // visual order
  std::vector<PangoGlyphInfo> FGlyphs;
  std::vector<PangoFont*> FFonts;
  PangoLayout* FLayout = nullptr;  // owns the runs' fonts
  bool FLogicalOrder = true;       // no right-to-left run: visual order is logical order
};

struct DrawTextLine {
  int From = 0;  // characters [From, To) of the processed text
  int To = 0;
  int Width = 0;
  // A shortened line shows "..." instead of [CutFrom, CutTo).
  int CutFrom = -1;
  int CutTo = -1;
  bool Shortened() const { return CutFrom >= 0; }
};

// DrawText's lines for a width in pixels and a tab interval in pixels.
struct DrawTextLayout {
  DrawTextLayout(const FontFace& face, const std::u32string& source, UINT format, int width, int tabWidth);

  std::u32string Chars;       // the text after prefix processing
  std::vector<int> Source;    // where each character's source starts (its '&' included); one more at the end
  std::vector<int> Prefixed;  // characters an '&' marked
  std::unique_ptr<ShapedText> Text;
  std::unique_ptr<ShapedText> Ellipsis;  // "...", shaped when a line is shortened
  std::vector<int> Advances;             // tabs expanded
  std::vector<DrawTextLine> Lines;
  int MaxWidth = 0;

  int Width(int from, int to) const;
  bool AnyShortened() const;
  // The source with each shortened part replaced by "...".
  std::u32string ShortenedSource(const std::u32string& source) const;

 private:
  void ProcessPrefixes(const std::u32string& source, bool prefixes);
  int ExpandTab(int i, int64_t x);
  void AddLine(int from, int to);
  void Wrap(int from, int to);
  void Shorten(DrawTextLine& line, bool path);

  const FontFace& FFace;
  UINT FFormat;
  int FWidth;
  int FTabWidth;
};

}  // namespace text
