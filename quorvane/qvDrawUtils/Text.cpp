#include "qvDrawUtils/Text.h"

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
