#include "qvDrawUtils/Text.h"

#include <algorithm>
#include <array>

#include "gdi/Utf8.h"
#include "vcl/Strings.h"

UINT SetBiDiFlags(UINT Flags, bool RightToLeft) {
  if (!RightToLeft) return Flags;
  if (Flags & DT_RIGHT)
    Flags &= ~DT_RIGHT;
  else if (!(Flags & DT_CENTER))
    Flags |= DT_RIGHT;
  return Flags | DT_RTLREADING;
}

bool DrawFittedText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft,
                    bool LeftAligned) {
  if (!Canvas || Text.empty()) return false;
  UINT flags = DT_WORDBREAK;
  if (!LeftAligned) flags |= DT_CENTER;
  if (NoPrefix) flags |= DT_NOPREFIX;
  flags = SetBiDiFlags(flags, RightToLeft);

  TRect b = Rect;
  if (b.Width() > 0) {
    const int lineHeight = Canvas->TextHeight("Wq");
    if (b.Height() < lineHeight) b.Bottom = b.Top + lineHeight;
  }
  const HDC dc = Canvas->Handle();
  auto measure = [&](const String& s) {
    TRect m{0, 0, b.Width(), b.Height()};
    DrawText(dc, s, -1, &m, flags | DT_CALCRECT);
    return TSize{m.Width(), m.Height()};
  };
  auto fits = [&](const TSize& size) { return size.cy <= b.Height() && size.cx <= b.Width(); };
  auto draw = [&](const String& s, int height) {
    const int top = b.Top + b.Height() / 2 - height / 2;
    TRect r{b.Left, top, b.Right, top + height};
    DrawText(dc, s, -1, &r, flags);
  };

  TSize size = measure(Text);
  if (fits(size)) {
    draw(Text, size.cy);
    return false;
  }
  int kept = Length(Text);
  while (kept > 0) {
    --kept;
    if (kept == 0) break;
    size = measure(Copy(Text, 0, kept));
    if (fits(size)) break;
  }
  String shown;
  if (kept >= 4) {
    shown = Copy(Text, 0, kept - 3) + "...";
  } else if (kept > 0) {
    shown = Copy(Text, 0, 1) + "...";
    size = measure(shown);
    if (!fits(size)) shown = "...";
  } else {
    shown = "...";
  }
  draw(shown, size.cy);
  return true;
}

namespace {

// The box Text takes when laid out with Flags (DT_CALCRECT added) in a Width x Height box.
TSize MeasureText(HDC DC, const String& Text, UINT Flags, int Width, int Height) {
  TRect r{0, 0, Width, Height};
  DrawText(DC, Text, -1, &r, Flags | DT_CALCRECT);
  return {r.Width(), r.Height()};
}

bool Fits(const TSize& Size, const TRect& Box) { return Size.cx <= Box.Width() && Size.cy <= Box.Height(); }

void DrawIn(HDC DC, const String& Text, TRect R, UINT Flags) { DrawText(DC, Text, -1, &R, Flags); }

bool IsWordEnd(char32_t C) { return C == U' ' || C == U'\t' || C == U'\r' || C == U'\n'; }

// A tab stop from a line of digits, else 0; far-off stops are cut to where coordinates end.
int TabStopValue(const String& S) {
  constexpr int64_t kFarthest = int64_t(1) << 27;
  int64_t v = 0;
  for (char c : S) {
    if (c < '0' || c > '9') return 0;
    v = std::min(v * 10 + (c - '0'), kFarthest);
  }
  return int(v);
}

}  // namespace

void CorrectTextToWidth(TCanvas* Canvas, String& Text, int Width) {
  if (!Canvas || Text.empty() || Canvas->TextWidth(Text) <= Width) return;
  // A longer beginning is never narrower, so the longest one that fits is found by halving:
  // [0, lo] may fit, hi and beyond do not (the whole text does not fit even without dots).
  int lo = 0, hi = Length(Text);
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (Canvas->TextWidth(Copy(Text, 0, mid) + "...") <= Width)
      lo = mid;
    else
      hi = mid;
  }
  Text = Copy(Text, 0, lo) + "...";
}

void DrawWrappedTextCentered(TCanvas* Canvas, const String& Text, const TRect& Rect, bool BreakWords) {
  if (!Canvas || Text.empty()) return;
  constexpr UINT flags = DT_NOPREFIX | DT_WORDBREAK | DT_CENTER;
  const HDC dc = Canvas->Handle();
  const std::u32string chars = DecodeUtf8(Text);
  if (BreakWords) {
    // No word can be too wide when the whole text is not.
    if (MeasureText(dc, Text, DT_NOPREFIX, 0, 0).cx <= Rect.Width()) {
      DrawIn(dc, Text, Rect, flags);
      return;
    }
    // A space before the character that would make a word too wide lets the wrapping
    // break there.
    std::u32string out, word;
    for (const char32_t c : chars) {
      if (IsWordEnd(c)) {
        word.clear();
      } else if (!word.empty() && MeasureText(dc, EncodeUtf8(word + c), DT_NOPREFIX, 0, 0).cx > Rect.Width()) {
        out += U' ';
        word.assign(1, c);
      } else {
        word += c;
      }
      out += c;
    }
    DrawIn(dc, EncodeUtf8(out), Rect, flags);
    return;
  }
  if (Fits(MeasureText(dc, Text, flags, Rect.Width(), Rect.Height()), Rect)) {
    DrawIn(dc, Text, Rect, flags);
    return;
  }
  String shown = "...";
  for (size_t k = 1; k < chars.size(); ++k) {
    String candidate = EncodeUtf8(chars.substr(0, k)) + "...";
    if (!Fits(MeasureText(dc, candidate, flags, Rect.Width(), Rect.Height()), Rect)) break;
    shown = std::move(candidate);
  }
  DrawIn(dc, shown, Rect, flags);
}

void DrawTextSmart(TCanvas* Canvas, const String& Text, const TRect& Rect) {
  if (!Canvas) return;
  const HDC dc = Canvas->Handle();
  constexpr UINT oneLine = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  if (Fits(MeasureText(dc, Text, oneLine, Rect.Width(), Rect.Height()), Rect)) {
    DrawIn(dc, Text, Rect, oneLine);
    return;
  }
  constexpr UINT wrapped = DT_NOPREFIX | DT_WORDBREAK;
  if (Fits(MeasureText(dc, Text, wrapped, Rect.Width(), Rect.Height()), Rect)) {
    DrawIn(dc, Text, Rect, wrapped | DT_VCENTER);
    return;
  }
  String shortened = Text;
  TRect r = Rect;
  DrawText(dc, shortened, -1, &r, DT_MODIFYSTRING | DT_END_ELLIPSIS | oneLine);
}

void DrawSingleLineText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, bool RightToLeft) {
  if (!Canvas || Text.empty()) return;
  const UINT flags = DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | (NoPrefix ? DT_NOPREFIX : 0);
  DrawIn(Canvas->Handle(), Text, Rect, SetBiDiFlags(flags, RightToLeft));
}

void DrawSingleLineTextClipped(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix,
                               bool RightToLeft) {
  if (!Canvas || Text.empty()) return;
  const UINT flags = DT_SINGLELINE | DT_VCENTER | (NoPrefix ? DT_NOPREFIX : 0);
  DrawIn(Canvas->Handle(), Text, Rect, SetBiDiFlags(flags, RightToLeft));
}

namespace {

UINT AlignmentFlag(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

}  // namespace

void DrawAlignedText(TCanvas* Canvas, const String& Text, const TRect& Rect, bool RightToLeft, TAlignment Alignment) {
  if (!Canvas) return;
  const UINT flags = DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | AlignmentFlag(Alignment);
  DrawIn(Canvas->Handle(), Text, Rect, SetBiDiFlags(flags, RightToLeft));
}

void DrawAlignedTextSimple(TCanvas* Canvas, const String& Text, const TRect& Rect, TAlignment Alignment) {
  if (!Canvas) return;
  DrawIn(Canvas->Handle(), Text, Rect, DT_SINGLELINE | DT_VCENTER | AlignmentFlag(Alignment));
}

void DrawTabbedText(const String& Text, TStrings* TabStops, TCanvas* Canvas, int Offset, const TRect& Rect) {
  if (!Canvas) return;
  std::array<int, 10> stops{};
  int count = 0;
  if (TabStops)
    for (; count < std::min(TabStops->Count(), int(stops.size())); ++count)
      stops[size_t(count)] = TabStopValue(TabStops->Strings(count));
  const int x = Rect.Left + Offset + 2;
  const int y = Rect.Top + Rect.Height() / 2 - Canvas->TextHeight(Text) / 2;
  TabbedTextOut(Canvas->Handle(), x, y, Text, -1, count, stops.data(), x);
}

void DrawRotatedText(TCanvas* Canvas, int Angle, int X, int Y, TColor Color, const String& Text) {
  if (!Canvas) return;
  const HDC dc = Canvas->Handle();
  // A turned copy of the canvas font, so that the canvas keeps its own.
  LOGFONT lf = Canvas->Font()->LogFont();
  lf.lfEscapement = Angle;
  lf.lfOrientation = Angle;
  const HFONT font = CreateFontIndirect(&lf);
  const int saved = SaveDC(dc);
  SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, COLORREF(ColorToRGB(Color)));
  TextOut(dc, X, Y, Text);
  RestoreDC(dc, saved);
  DeleteObject(font);
}
