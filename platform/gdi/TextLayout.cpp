#include "TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace text {

namespace {

// What pango is given for a character: controls become spaces so that the text stays one
// paragraph with one character per source character, and what UTF-8 cannot carry becomes
// the replacement character.
char32_t Shapeable(char32_t c) {
  if (IsControl(c)) return U' ';
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacementCharacter;
  return c;
}

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

int Clamped(int64_t w) { return int(std::clamp<int64_t>(w, -(int64_t(1) << 30), int64_t(1) << 30)); }

}  // namespace

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// ---- ShapedText ----

ShapedText::ShapedText(const FontFace& face, std::u32string chars, bool rightToLeft) : FChars(std::move(chars)) {
  const int n = Size();
  FAdvances.assign(size_t(n), 0);
  if (n == 0) return;
  String utf8;
  utf8.reserve(size_t(n));
  std::vector<int> charOfByte;
  charOfByte.reserve(size_t(n) + 1);
  for (int i = 0; i < n; ++i) {
    AppendUtf8(utf8, Shapeable(FChars[size_t(i)]));
    charOfByte.resize(utf8.size(), i);
  }
  charOfByte.push_back(n);

  FLayout = pango_layout_new(TextContext(rightToLeft));
  pango_layout_set_auto_dir(FLayout, FALSE);
  pango_layout_set_font_description(FLayout, face.Desc);
  pango_layout_set_attributes(FLayout, face.Attrs);
  pango_layout_set_text(FLayout, utf8.data(), int(utf8.size()));

  // Advances in pango units per character; a cluster's width is shared by its characters.
  std::vector<int64_t> units(size_t(n), 0);
  for (GSList* l = pango_layout_get_lines_readonly(FLayout); l; l = l->next) {
    const auto* line = static_cast<PangoLayoutLine*>(l->data);
    for (GSList* r = line->runs; r; r = r->next) {
      const auto* run = static_cast<PangoGlyphItem*>(r->data);
      const PangoItem* item = run->item;
      const PangoGlyphString* gs = run->glyphs;
      const bool rtl = (item->analysis.level & 1) != 0;
      if (rtl) FLogicalOrder = false;
      const int font = FontIndex(item->analysis.font);
      const int itemEnd = item->offset + item->length;
      for (int g = 0; g < gs->num_glyphs;) {
        int e = g + 1;
        while (e < gs->num_glyphs && gs->log_clusters[e] == gs->log_clusters[g]) ++e;
        const int startByte = item->offset + gs->log_clusters[g];
        int endByte = itemEnd;
        if (rtl && g > 0) endByte = item->offset + gs->log_clusters[g - 1];
        if (!rtl && e < gs->num_glyphs) endByte = item->offset + gs->log_clusters[e];
        const int first = charOfByte[size_t(std::clamp(startByte, 0, int(utf8.size())))];
        const int last = charOfByte[size_t(std::clamp(endByte, 0, int(utf8.size())))];
        const int count = std::max(0, last - first);
        int64_t width = 0;
        for (int k = g; k < e; ++k) {
          FGlyphs.push_back(gs->glyphs[k]);
          width += gs->glyphs[k].geometry.width;
        }
        FClusters.push_back({first, count, int(FGlyphs.size()) - (e - g), e - g, font});
        for (int k = 0; k < count; ++k) units[size_t(first + k)] += width * (k + 1) / count - width * k / count;
        g = e;
      }
    }
  }
  // Whole pixels, rounding the running position so that the parts add up to the whole.
  int64_t position = 0;
  int pixels = 0;
  for (int i = 0; i < n; ++i) {
    if (IsControl(FChars[size_t(i)])) continue;
    position += units[size_t(i)];
    const int next = int(std::floor(double(position) / PANGO_SCALE + 0.5));
    FAdvances[size_t(i)] = next - pixels;
    pixels = next;
  }
}

ShapedText::~ShapedText() {
  if (FLayout) g_object_unref(FLayout);
}

int ShapedText::FontIndex(PangoFont* font) {
  for (size_t i = 0; i < FFonts.size(); ++i)
    if (FFonts[i] == font) return int(i);
  FFonts.push_back(font);
  return int(FFonts.size()) - 1;
}

// Calls visit(cluster, x, width) for each cluster that starts in [from, to), in visual
// order, x counting from 0.
template <class F>
void ShapedText::Walk(int from, int to, const std::vector<int>& advances, F&& visit) const {
  auto widthOf = [&](const Cluster& c) {
    int64_t w = 0;
    for (int k = c.FirstChar; k < std::min(c.FirstChar + c.CharCount, to); ++k) w += advances[size_t(k)];
    return w;
  };
  int64_t x = 0;
  if (FLogicalOrder) {
    auto it = std::lower_bound(FClusters.begin(), FClusters.end(), from,
                               [](const Cluster& c, int v) { return c.FirstChar < v; });
    for (; it != FClusters.end() && it->FirstChar < to; ++it) {
      const int64_t w = widthOf(*it);
      if (!visit(*it, x, w)) return;
      x += w;
    }
    return;
  }
  for (const Cluster& c : FClusters) {
    if (c.FirstChar < from || c.FirstChar >= to) continue;
    const int64_t w = widthOf(c);
    if (!visit(c, x, w)) return;
    x += w;
  }
}

void ShapedText::Draw(cairo_t* cr, int from, int to, int x, int y, const std::vector<int>& advances, double visibleLeft,
                      double visibleRight) const {
  // One glyph string, sized once, carries each run of glyphs of one font.
  PangoGlyphString* run = pango_glyph_string_new();
  pango_glyph_string_set_size(run, int(FGlyphs.size()));
  int count = 0;
  int runFont = -1;
  int64_t runOrigin = 0;
  auto flush = [&] {
    if (count > 0) {
      run->num_glyphs = count;
      cairo_move_to(cr, double(x) + double(runOrigin), y);
      pango_cairo_show_glyph_string(cr, FFonts[size_t(runFont)], run);
    }
    count = 0;
  };
  Walk(from, to, advances, [&](const Cluster& c, int64_t cx, int64_t width) {
    const double left = double(x) + double(cx);
    if (left > visibleRight) return !FLogicalOrder;  // in logical order nothing further is visible
    if (left + double(width) < visibleLeft) {
      flush();
      return true;
    }
    // A run stays short enough for its offsets in pango units.
    if (c.Font != runFont || count == 0 || cx - runOrigin > (1 << 20)) {
      flush();
      runFont = c.Font;
      runOrigin = cx;
    }
    // Glyphs of a cluster keep their own spacing; the cluster starts where GDI's advances put it.
    int within = 0;
    for (int k = 0; k < c.GlyphCount; ++k) {
      PangoGlyphInfo g = FGlyphs[size_t(c.FirstGlyph + k)];
      g.geometry.x_offset += int(cx - runOrigin) * PANGO_SCALE + within;
      within += g.geometry.width;
      g.geometry.width = 0;
      run->glyphs[count] = g;
      run->log_clusters[count] = 0;
      ++count;
    }
    return true;
  });
  flush();
  pango_glyph_string_free(run);
}

int ShapedText::Offset(int from, int to, int i, const std::vector<int>& advances) const {
  int64_t found = -1;
  Walk(from, to, advances, [&](const Cluster& c, int64_t x, int64_t) {
    if (i < c.FirstChar || i >= c.FirstChar + c.CharCount) return true;
    found = x;
    for (int k = c.FirstChar; k < i; ++k) found += advances[size_t(k)];
    return false;
  });
  return int(std::clamp<int64_t>(found, -1, INT32_MAX));
}

// ---- DrawTextLayout ----

DrawTextLayout::DrawTextLayout(const FontFace& face, const std::u32string& source, UINT format, int width, int tabWidth)
    : FFace(face), FFormat(format), FWidth(width), FTabWidth(tabWidth) {
  ProcessPrefixes(source, (format & DT_NOPREFIX) == 0);
  Text = std::make_unique<ShapedText>(face, Chars, (format & DT_RTLREADING) != 0);
  Advances = Text->Advances();
  const int n = int(Chars.size());
  if (format & DT_SINGLELINE) {
    AddLine(0, n);
  } else {
    // \r\n, \n and \r each end a line; a break at the very end starts no new one.
    int start = 0;
    for (int i = 0; i < n;) {
      const char32_t c = Chars[size_t(i)];
      if (c != U'\r' && c != U'\n') {
        ++i;
        continue;
      }
      if (format & DT_WORDBREAK)
        Wrap(start, i);
      else
        AddLine(start, i);
      i += (c == U'\r' && i + 1 < n && Chars[size_t(i) + 1] == U'\n') ? 2 : 1;
      start = i;
    }
    if (start < n) {
      if (format & DT_WORDBREAK)
        Wrap(start, n);
      else
        AddLine(start, n);
    }
  }
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS))
    for (DrawTextLine& line : Lines)
      if (line.Width > FWidth) Shorten(line, (format & DT_PATH_ELLIPSIS) != 0);
  for (const DrawTextLine& line : Lines) MaxWidth = std::max(MaxWidth, line.Width);
}

void DrawTextLayout::ProcessPrefixes(const std::u32string& source, bool prefixes) {
  Chars.reserve(source.size());
  Source.reserve(source.size() + 1);
  for (size_t i = 0; i < source.size(); ++i) {
    if (prefixes && source[i] == U'&') {
      if (i + 1 == source.size()) break;  // a lone '&' at the end shows nothing
      Source.push_back(int(i));
      ++i;
      Chars += source[i];
      if (source[i] != U'&') Prefixed.push_back(int(Chars.size()) - 1);
      continue;
    }
    Source.push_back(int(i));
    Chars += source[i];
  }
  Source.push_back(int(source.size()));
}

int DrawTextLayout::Width(int from, int to) const {
  int64_t w = 0;
  for (int i = from; i < to; ++i) w += Advances[size_t(i)];
  return Clamped(w);
}

// A tab at x (from the line's start) reaches the next stop; without DT_EXPANDTABS it is
// a control character and takes no room.
int DrawTextLayout::ExpandTab(int i, int64_t x) {
  int& a = Advances[size_t(i)];
  a = (FFormat & DT_EXPANDTABS) && FTabWidth > 0 && x >= 0 ? int((x / FTabWidth + 1) * FTabWidth - x) : 0;
  return a;
}

void DrawTextLayout::AddLine(int from, int to) {
  int64_t x = 0;
  for (int i = from; i < to; ++i) x += Chars[size_t(i)] == U'\t' ? ExpandTab(i, x) : Advances[size_t(i)];
  Lines.push_back({from, to, Clamped(x)});
}

// Greedy breaking between words: a word that does not fit moves to the next line, unless
// it is the line's first word, which then overflows on its own. Blanks at a break are
// dropped.
void DrawTextLayout::Wrap(int from, int to) {
  if (from == to) {
    Lines.push_back({from, to, 0});
    return;
  }
  int pos = from;
  while (pos < to) {
    int64_t x = 0;
    int j = pos, breakAt = -1, next = -1;
    bool hasWord = false, broke = false;
    while (j < to) {
      if (IsBlank(Chars[size_t(j)])) {
        int k = j;
        int64_t bx = x;
        for (; k < to && IsBlank(Chars[size_t(k)]); ++k)
          bx += Chars[size_t(k)] == U'\t' ? ExpandTab(k, bx) : Advances[size_t(k)];
        if (hasWord) {
          breakAt = j;
          next = k;
        }
        x = bx;
        j = k;
        continue;
      }
      int k = j;
      int64_t wx = x;
      for (; k < to && !IsBlank(Chars[size_t(k)]); ++k) wx += Advances[size_t(k)];
      if (wx > FWidth && breakAt >= 0) {
        broke = true;
        break;
      }
      x = wx;
      j = k;
      hasWord = true;
    }
    if (!broke) {
      Lines.push_back({pos, to, Clamped(x)});
      return;
    }
    Lines.push_back({pos, breakAt, Width(pos, breakAt)});
    pos = next;
  }
}

// End ellipsis keeps the longest beginning that fits with "..." after it; path ellipsis
// keeps everything from the last '\' or '/' and the longest beginning before it, falling
// back to an end ellipsis when even the file name does not fit.
void DrawTextLayout::Shorten(DrawTextLine& line, bool path) {
  if (!Ellipsis) Ellipsis = std::make_unique<ShapedText>(FFace, U"...", (FFormat & DT_RTLREADING) != 0);
  int dots = 0;
  for (int a : Ellipsis->Advances()) dots += a;
  auto keep = [&](int limit, int end) {
    int k = line.From, w = 0;
    while (k < end && w + Advances[size_t(k)] <= limit) w += Advances[size_t(k)], ++k;
    return std::make_pair(k, w);
  };
  if (path) {
    int sep = -1;
    for (int i = line.To - 1; i > line.From && sep < 0; --i)
      if (Chars[size_t(i)] == U'\\' || Chars[size_t(i)] == U'/') sep = i;
    if (sep > line.From) {
      const int name = Width(sep, line.To);
      if (dots + name <= FWidth) {
        const auto [k, w] = keep(FWidth - dots - name, sep);
        line.CutFrom = k;
        line.CutTo = sep;
        line.Width = w + dots + name;
        return;
      }
    }
  }
  const auto [k, w] = keep(FWidth - dots, line.To);
  line.CutFrom = k;
  line.CutTo = line.To;
  line.Width = w + dots;
}

bool DrawTextLayout::AnyShortened() const {
  return std::any_of(Lines.begin(), Lines.end(), [](const DrawTextLine& l) { return l.Shortened(); });
}

std::u32string DrawTextLayout::ShortenedSource(const std::u32string& source) const {
  std::u32string out;
  size_t copied = 0;
  for (const DrawTextLine& line : Lines) {
    if (!line.Shortened()) continue;
    const auto a = size_t(Source[size_t(line.CutFrom)]), b = size_t(Source[size_t(line.CutTo)]);
    out.append(source, copied, a - copied);
    out += U"...";
    copied = b;
  }
  out.append(source, copied, std::u32string::npos);
  return out;
}

}  // namespace text
