#include "Text.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "FontFace.h"
#include "Raster.h"
#include "TextLayout.h"

using text::ShapedText;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int64_t kHugeWidth = int64_t(1) << 30;
constexpr size_t kKeptMaskPixels = size_t(1) << 20;

// ---- painting ----

// Part of a line: characters [From, To) of a shaped text, drawn from X (surface).
struct Piece {
  const ShapedText* Text;
  int From;
  int To;
  int X;
  const std::vector<int>* Advances;
};

// One line of output in surface coordinates, as it lies before the font's escapement
// turns it around Pivot.
struct PaintLine {
  POINT Pivot{};
  RECT Cell{};  // the characters' cells: advance width x line height
  int Baseline = 0;
  std::vector<Piece> Pieces;
  std::vector<std::pair<int, int>> Underlines;  // prefixed characters, [x0, x1)
  bool Opaque = false;                          // background colour behind the cell
};

uint32_t Lerp(uint32_t dst, uint32_t src, unsigned a) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const unsigned d = (dst >> shift) & 0xFF, s = (src >> shift) & 0xFF;
    out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

// Coverage is drawn with pango-cairo into a mask over the output's box, then the colour
// is blended through the DC's clip: full coverage writes the opaque colour, edges blend
// over what is there. The mask is 32-bit with the coverage in its alpha: pixman puts
// bitmap and grey glyphs onto 32-bit pixels on fast paths, onto A8 only through its
// general path, which is several times slower.
class TextPainter {
 public:
  TextPainter(GdiDC& dc, const FontFace& face, std::optional<RECT> clip) : FDC(dc), FFace(face), FClip(clip) {
    const double turn = std::fmod(face.EscapementDegrees, 360.0);
    FRotated = turn != 0;
    FCos = std::cos(turn * kPi / 180);
    FSin = std::sin(turn * kPi / 180);
  }

  void Add(PaintLine line) { FLines.push_back(std::move(line)); }

  void Paint(bool glyphs) {
    if (!FDC.GetSurface() || FLines.empty()) return;
    RECT limit = FDC.EffectiveClip().Extents();
    if (FClip && !IntersectRect(&limit, &limit, &*FClip)) return;
    if (limit.IsEmpty()) return;
    const COLORREF back = FDC.S.BkColor;
    if (!FRotated) {
      for (const PaintLine& line : FLines) {
        if (!line.Opaque) continue;
        Region cell(line.Cell);
        cell.Intersect(limit);
        raster::FillShape(&FDC, cell, back, R2_COPYPEN);
      }
    } else if (std::any_of(FLines.begin(), FLines.end(), [](const PaintLine& l) { return l.Opaque; })) {
      Render(limit, 1, back, [&](cairo_t* cr, const PaintLine& line, double, double) {
        if (!line.Opaque) return;
        cairo_rectangle(cr, line.Cell.Left, line.Cell.Top, line.Cell.Width(), line.Cell.Height());
        cairo_fill(cr);
      });
    }
    const int em = std::max(1, FFace.Em);
    Render(limit, em, FDC.S.TextColor, [&](cairo_t* cr, const PaintLine& line, double left, double right) {
      if (glyphs) {
        for (const Piece& p : line.Pieces)
          p.Text->Draw(cr, p.From, p.To, p.X, line.Baseline, *p.Advances, left - em, right + em);
        if (FFace.Log.lfUnderline)
          Bar(cr, line.Cell.Left, line.Cell.Right, line.Baseline + FFace.UnderlineOffset, FFace.UnderlineThickness,
              left, right);
        if (FFace.Log.lfStrikeOut)
          Bar(cr, line.Cell.Left, line.Cell.Right, line.Baseline - FFace.StrikeOffset, FFace.StrikeThickness, left,
              right);
      }
      for (const auto& [x0, x1] : line.Underlines)
        Bar(cr, x0, x1, line.Baseline + FFace.UnderlineOffset, FFace.UnderlineThickness, left, right);
      cairo_fill(cr);
    });
  }

 private:
  // A horizontal bar, cut to what can be seen so that cairo never meets huge coordinates.
  static void Bar(cairo_t* cr, double x0, double x1, double y, double height, double left, double right) {
    x0 = std::max(x0, left - 1);
    x1 = std::min(x1, right + 1);
    if (x1 > x0) cairo_rectangle(cr, x0, y, x1 - x0, height);
  }

  // The box a rectangle covers once turned around the pivot.
  RECT Turned(const RECT& r, POINT pivot) const {
    if (!FRotated) return r;
    double x0 = 1e300, y0 = 1e300, x1 = -1e300, y1 = -1e300;
    for (const POINT c : {r.TopLeft(), POINT{r.Right, r.Top}, POINT{r.Left, r.Bottom}, r.BottomRight()}) {
      const double dx = c.X - pivot.X, dy = c.Y - pivot.Y;
      // Counter-clockwise on the screen, where y grows downwards.
      const double x = pivot.X + dx * FCos + dy * FSin, y = pivot.Y - dx * FSin + dy * FCos;
      x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    }
    auto clampL = [](double v) { return LONG(std::clamp(v, -1e9, 1e9)); };
    return {clampL(std::floor(x0)), clampL(std::floor(y0)), clampL(std::ceil(x1)), clampL(std::ceil(y1))};
  }

  template <class F>
  void Render(const RECT& limit, int margin, COLORREF color, F&& drawLine) {
    RECT box{};
    std::vector<RECT> boxes;
    for (const PaintLine& line : FLines) {
      RECT r = line.Cell;
      InflateRect(&r, margin, margin);
      r = Turned(r, line.Pivot);
      boxes.push_back(r);
      UnionRect(&box, &box, &r);
    }
    if (!IntersectRect(&box, &box, &limit)) return;
    // The mask's memory is kept from call to call: text is drawn often and in small boxes.
    thread_local std::vector<uint32_t> memory;
    const int stride = box.Width() * 4;
    memory.assign(size_t(box.Width()) * size_t(box.Height()), 0);
    cairo_surface_t* mask = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(memory.data()),
                                                                CAIRO_FORMAT_ARGB32, box.Width(), box.Height(), stride);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(mask);
      return;
    }
    cairo_t* cr = cairo_create(mask);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    for (size_t i = 0; i < FLines.size(); ++i) {
      RECT seen;
      if (!IntersectRect(&seen, &boxes[i], &box)) continue;
      const PaintLine& line = FLines[i];
      cairo_save(cr);
      cairo_translate(cr, -box.Left, -box.Top);
      double left = box.Left, right = box.Right;
      if (FRotated) {
        cairo_translate(cr, line.Pivot.X, line.Pivot.Y);
        cairo_rotate(cr, -std::atan2(FSin, FCos));
        cairo_translate(cr, -line.Pivot.X, -line.Pivot.Y);
        // Along the turned baseline nothing further from the pivot than the box's corners shows.
        double reach = 0;
        for (const POINT c : {box.TopLeft(), POINT{box.Right, box.Top}, POINT{box.Left, box.Bottom}, box.BottomRight()})
          reach = std::max(reach, std::hypot(double(c.X) - line.Pivot.X, double(c.Y) - line.Pivot.Y));
        left = line.Pivot.X - reach;
        right = line.Pivot.X + reach;
      }
      drawLine(cr, line, left, right);
      cairo_restore(cr);
    }
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    Blend(mask, box, color);
    cairo_surface_destroy(mask);
    if (memory.capacity() > kKeptMaskPixels) std::vector<uint32_t>().swap(memory);
  }

  void Blend(cairo_surface_t* mask, const RECT& at, COLORREF color) {
    const uint8_t* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    const uint32_t src = PixelFromColorRef(color);
    raster::ForEachSpan(&FDC, at, [&](uint32_t* row, int x0, int x1, int y) {
      const uint32_t* m = reinterpret_cast<const uint32_t*>(data + ptrdiff_t(y - at.Top) * stride) - at.Left;
      for (int x = x0; x < x1; ++x) {
        const unsigned a = m[x] >> 24;
        if (a == 255)
          row[x] = src;
        else if (a != 0)
          row[x] = Lerp(row[x], src, a);
      }
    });
  }

  GdiDC& FDC;
  const FontFace& FFace;
  std::optional<RECT> FClip;
  std::vector<PaintLine> FLines;
  bool FRotated = false;
  double FCos = 1;
  double FSin = 0;
};

// ---- runs ----

// Coordinates further out are refused: GDI's own limit is 27 bits, and sums of a few of
// them stay inside an int.
constexpr int64_t kMaxCoordinate = int64_t(1) << 27;

bool InRange(int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }
bool InRange(const RECT& r) { return InRange(r.Left) && InRange(r.Top) && InRange(r.Right) && InRange(r.Bottom); }

// Where logical (0, 0) lies on the surface, when that is within range.
std::optional<POINT> SurfaceOffset(const GdiDC& dc) {
  const int64_t x = int64_t(dc.S.ViewportOrg.X) - dc.S.WindowOrg.X + dc.DeviceOrigin.X;
  const int64_t y = int64_t(dc.S.ViewportOrg.Y) - dc.S.WindowOrg.Y + dc.DeviceOrigin.Y;
  if (!InRange(x) || !InRange(y)) return std::nullopt;
  return POINT{LONG(x), LONG(y)};
}

RECT Offset(RECT r, POINT d) {
  OffsetRect(&r, d.X, d.Y);
  return r;
}

// Reads the first count characters (-1: all); false for a count below -1.
bool Characters(const String& text, int count, std::u32string* out) {
  if (count < -1) return false;
  *out = DecodeUtf8(text, count);
  return true;
}

int Sum(const std::vector<int>& advances) {
  int64_t w = 0;
  for (int a : advances) w += a;
  return int(std::clamp(w, -kHugeWidth, kHugeWidth));
}

// TabbedTextOut's stops: none, one interval, or positions, all from Origin.
struct TabStops {
  int Count = 0;
  const int* Stops = nullptr;
  int64_t Origin = 0;
  int Default = 0;  // eight average characters

  int64_t Next(int64_t x) const {
    int64_t interval = Default;
    if (Count == 1 && Stops && Stops[0] != 0) interval = std::abs(int64_t(Stops[0]));
    if (Count > 1 && Stops) {
      for (int i = 0; i < Count; ++i)
        if (Origin + std::abs(int64_t(Stops[i])) > x) return Origin + std::abs(int64_t(Stops[i]));
      return x + std::max(1, Default / 8);  // past the last stop a tab is one average character
    }
    if (interval <= 0) return x;
    const int64_t rel = x - Origin;
    const int64_t done = rel >= 0 ? rel / interval : -((-rel + interval - 1) / interval);
    return Origin + (done + 1) * interval;
  }
};

void ExpandTabs(const std::u32string& chars, std::vector<int>& advances, const TabStops& tabs, int64_t start) {
  int64_t x = start;
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == U'\t') advances[i] = int(std::clamp<int64_t>(tabs.Next(x) - x, 0, kHugeWidth));
    x += advances[i];
  }
}

// TextOut, ExtTextOut and TabbedTextOut: one run at a reference point placed by the DC's
// text alignment. Returns the run's width, or nothing when the coordinates are out of range.
std::optional<int> OutputRun(GdiDC& dc, int x, int y, UINT options, const RECT* rect, const std::u32string& chars,
                             const int* dx, const TabStops* tabs) {
  const UINT align = dc.S.TextAlign;
  const POINT ref = (align & TA_UPDATECP) ? dc.S.Position : POINT{x, y};
  const std::optional<POINT> offset = SurfaceOffset(dc);
  if (!offset || !InRange(ref.X) || !InRange(ref.Y) || (rect && !InRange(*rect))) return std::nullopt;
  const POINT d = *offset;
  const FontFace& face = SelectedFace(dc);
  const TEXTMETRIC& tm = face.Metrics;
  const ShapedText run(face, chars, (options & ETO_RTLREADING) || (align & TA_RTLREADING));
  std::vector<int> advances = run.Advances();
  if (dx)
    for (size_t i = 0; i < advances.size(); ++i) advances[i] = std::clamp(dx[i], -65536, 65536);
  if (tabs) ExpandTabs(chars, advances, *tabs, ref.X);
  const int width = Sum(advances);

  int left = ref.X, top = ref.Y;
  if ((align & TA_CENTER) == TA_CENTER)
    left -= width / 2;
  else if (align & TA_RIGHT)
    left -= width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    top -= tm.tmAscent;
  else if (align & TA_BOTTOM)
    top -= tm.tmHeight;

  std::optional<RECT> clip;
  if (rect) {
    const RECT r = Offset(*rect, d);
    if (options & ETO_OPAQUE) raster::FillShape(&dc, Region(r), dc.S.BkColor, R2_COPYPEN);
    if (options & ETO_CLIPPED) clip = r;
  }
  PaintLine line;
  line.Pivot = {ref.X + d.X, ref.Y + d.Y};
  line.Cell = Offset({left, top, left + width, top + tm.tmHeight}, d);
  line.Baseline = top + d.Y + tm.tmAscent;
  line.Pieces.push_back({&run, 0, run.Size(), left + d.X, &advances});
  line.Opaque = dc.S.BkMode == OPAQUE;
  TextPainter painter(dc, face, clip);
  painter.Add(std::move(line));
  painter.Paint(true);

  if (align & TA_UPDATECP) {
    // The current position moves along the baseline past the text (left alignment) or
    // back before it (right alignment).
    const double turn = face.EscapementDegrees * kPi / 180;
    const int step = (align & TA_CENTER) == TA_CENTER ? 0 : (align & TA_RIGHT) ? -width : width;
    dc.S.Position = {ref.X + int(std::lround(step * std::cos(turn))), ref.Y - int(std::lround(step * std::sin(turn)))};
  }
  return width;
}

DWORD Extent(int width, int height) {
  return MAKELONG(WORD(std::clamp(width, 0, 0xFFFF)), WORD(std::clamp(height, 0, 0xFFFF)));
}

// ---- DrawText ----

// Edit controls measure the average character the way dialog units do.
int EditAverageCharWidth(const FontFace& face) {
  const ShapedText letters(face, U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", false);
  return (Sum(letters.Advances()) / 26 + 1) / 2;
}

int DrawTextImpl(HDC h, const String& text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params,
                 String* modify) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !rect || count < -1 || !InRange(*rect)) return 0;
  if (params &&
      (params->cbSize != sizeof(DRAWTEXTPARAMS) || !InRange(params->iLeftMargin) || !InRange(params->iRightMargin)))
    return 0;
  const std::optional<POINT> offset = SurfaceOffset(*dc);
  if (!offset) return 0;
  const POINT d = *offset;
  int tabChars = params ? params->iTabLength : 8;
  if (format & DT_TABSTOP) {
    // The tab length takes the second byte, whose flags then do not apply.
    tabChars = int((format >> 8) & 0xFF);
    format &= ~0xFF00u;
  }
  tabChars = tabChars <= 0 ? 8 : std::min(tabChars, 4096);
  size_t sourceBytes = 0;
  const std::u32string source = DecodeUtf8(text, count, &sourceBytes);
  if (params) params->uiLengthDrawn = 0;
  if (source.empty()) {
    if (format & DT_CALCRECT) {
      rect->Right = rect->Left;
      rect->Bottom = rect->Top;
    }
    return 0;
  }

  const FontFace& face = SelectedFace(*dc);
  const TEXTMETRIC& tm = face.Metrics;
  const int leftMargin = params ? params->iLeftMargin : 0, rightMargin = params ? params->iRightMargin : 0;
  const int width = rect->Right - rect->Left - leftMargin - rightMargin;
  int tabWidth = 0;
  if ((format & DT_EXPANDTABS) && source.find(U'\t') != std::u32string::npos)
    tabWidth = tabChars * ((format & DT_EDITCONTROL) ? EditAverageCharWidth(face) : tm.tmAveCharWidth);
  const text::DrawTextLayout layout(face, source, format, width, tabWidth);
  const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
  const int textHeight = int(std::min<int64_t>(int64_t(layout.Lines.size()) * lineHeight, kHugeWidth));

  if (modify && (format & DT_MODIFYSTRING) && layout.AnyShortened())
    *modify = EncodeUtf8(layout.ShortenedSource(source)) + text.substr(sourceBytes);
  if (format & DT_CALCRECT) {
    rect->Right = rect->Left + leftMargin + layout.MaxWidth + rightMargin;
    rect->Bottom = rect->Top + textHeight;
    if (params) params->uiLengthDrawn = UINT(source.size());
    return textHeight;
  }

  const bool single = (format & DT_SINGLELINE) != 0;
  int top = rect->Top;
  if (single && (format & DT_VCENTER))
    top = rect->Top + (rect->Bottom - rect->Top - textHeight) / 2;
  else if (single && (format & DT_BOTTOM))
    top = rect->Bottom - textHeight;

  std::optional<RECT> clip;
  if (!(format & DT_NOCLIP)) clip = Offset(*rect, d);
  const bool prefixOnly = (format & DT_PREFIXONLY) != 0;
  const bool underlinePrefixes = !(format & (DT_NOPREFIX | DT_HIDEPREFIX));
  TextPainter painter(*dc, face, clip);
  UINT drawn = UINT(source.size());
  for (size_t i = 0; i < layout.Lines.size(); ++i) {
    const text::DrawTextLine& line = layout.Lines[i];
    const int64_t lineTop = top + int64_t(i) * lineHeight;
    // Lines below the rectangle are not drawn; an edit control shows no partial last line.
    const bool below = !(format & DT_NOCLIP) && lineTop >= rect->Bottom;
    if (below || ((format & DT_EDITCONTROL) && lineTop + lineHeight > rect->Bottom) || !InRange(lineTop)) {
      drawn = UINT(layout.Source[size_t(line.From)]);
      break;
    }
    const int y = int(lineTop);
    int x = rect->Left + leftMargin;
    if (format & DT_CENTER)
      x += (width - line.Width) / 2;
    else if (format & DT_RIGHT)
      x = rect->Right - rightMargin - line.Width;

    PaintLine out;
    out.Pivot = {x + d.X, y + d.Y};
    out.Cell = Offset({x, y, x + line.Width, y + lineHeight}, d);
    out.Baseline = y + d.Y + tm.tmAscent;
    out.Opaque = dc->S.BkMode == OPAQUE && !prefixOnly;
    // A shortened line is its head, "..." and its tail (what a path ellipsis keeps).
    const int cutFrom = line.Shortened() ? line.CutFrom : line.To;
    out.Pieces.push_back({layout.Text.get(), line.From, cutFrom, x + d.X, &layout.Advances});
    if (line.Shortened()) {
      const int dotsAt = x + d.X + layout.Width(line.From, cutFrom);
      const ShapedText& dots = *layout.Ellipsis;
      out.Pieces.push_back({&dots, 0, dots.Size(), dotsAt, &dots.Advances()});
      out.Pieces.push_back({layout.Text.get(), line.CutTo, line.To, dotsAt + Sum(dots.Advances()), &layout.Advances});
    }
    if (underlinePrefixes) {
      for (int k : layout.Prefixed) {
        const bool inHead = k >= line.From && k < cutFrom;
        const bool inTail = line.Shortened() && k >= line.CutTo && k < line.To;
        if ((!inHead && !inTail) || layout.Advances[size_t(k)] <= 0) continue;
        const Piece& p = out.Pieces[inHead ? 0 : 2];
        const int at = layout.Text->Offset(p.From, p.To, k, layout.Advances);
        if (at >= 0) out.Underlines.emplace_back(p.X + at, p.X + at + layout.Advances[size_t(k)]);
      }
    }
    painter.Add(std::move(out));
  }
  painter.Paint(!prefixOnly);
  if (params) params->uiLengthDrawn = drawn;
  return single && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect->Top + textHeight : textHeight;
}

}  // namespace

BOOL TextOut(HDC h, int x, int y, const String& text, int count) {
  return ExtTextOut(h, x, y, 0, nullptr, text, count, nullptr);
}

BOOL ExtTextOut(HDC h, int x, int y, UINT options, const RECT* rect, const String& text, int count, const int* dx) {
  GdiDC* dc = LiveDC(h);
  std::u32string chars;
  if (!dc || !Characters(text, count, &chars)) return FALSE;
  return OutputRun(*dc, x, y, options, rect, chars, dx, nullptr) ? TRUE : FALSE;
}

LONG TabbedTextOut(HDC h, int x, int y, const String& text, int count, int tabCount, const int* tabStops,
                   int tabOrigin) {
  GdiDC* dc = LiveDC(h);
  std::u32string chars;
  if (!dc || tabCount < 0 || !Characters(text, count, &chars)) return 0;
  const TEXTMETRIC& tm = SelectedFace(*dc).Metrics;
  const TabStops tabs{tabCount, tabStops, tabOrigin, 8 * tm.tmAveCharWidth};
  const std::optional<int> width = OutputRun(*dc, x, y, 0, nullptr, chars, nullptr, &tabs);
  return width ? LONG(Extent(*width, tm.tmHeight)) : 0;
}

DWORD GetTabbedTextExtent(HDC h, const String& text, int count, int tabCount, const int* tabStops) {
  GdiDC* dc = LiveDC(h);
  std::u32string chars;
  if (!dc || tabCount < 0 || !Characters(text, count, &chars)) return 0;
  const FontFace& face = SelectedFace(*dc);
  const ShapedText run(face, chars, false);
  std::vector<int> advances = run.Advances();
  ExpandTabs(chars, advances, TabStops{tabCount, tabStops, 0, 8 * face.Metrics.tmAveCharWidth}, 0);
  return Extent(Sum(advances), face.Metrics.tmHeight);
}

BOOL GetTextExtentPoint32(HDC h, const String& text, int count, SIZE* size) {
  GdiDC* dc = LiveDC(h);
  std::u32string chars;
  if (!dc || !size || !Characters(text, count, &chars)) return FALSE;
  const FontFace& face = SelectedFace(*dc);
  *size = {Sum(ShapedText(face, std::move(chars), false).Advances()), face.Metrics.tmHeight};
  return TRUE;
}

BOOL GetCharWidth32(HDC h, UINT first, UINT last, int* widths) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !widths || last < first || last - first >= 0x10000) return FALSE;
  // Each character is shaped on its own, between zero-width controls.
  std::u32string chars;
  for (UINT c = first; c <= last; ++c) {
    chars += char32_t(c);
    chars += U'\n';
    if (c == last) break;  // last may be the largest UINT
  }
  const ShapedText run(SelectedFace(*dc), std::move(chars), false);
  for (UINT i = 0; i <= last - first; ++i) {
    const char32_t c = first + i;
    const bool valid = c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
    widths[i] = valid ? run.Advances()[size_t(i) * 2] : 0;
  }
  return TRUE;
}

int DrawText(HDC dc, const String& text, int count, RECT* rect, UINT format) {
  return DrawTextImpl(dc, text, count, rect, format, nullptr, nullptr);
}

int DrawText(HDC dc, String& text, int count, RECT* rect, UINT format) {
  return DrawTextImpl(dc, text, count, rect, format, nullptr, &text);
}

int DrawTextEx(HDC dc, String& text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params) {
  return DrawTextImpl(dc, text, count, rect, format, params, &text);
}
