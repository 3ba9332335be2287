#include "qvImageCollection/BitmapDrawing.h"

#include <algorithm>

#include "qvDrawUtils/Bitmaps.h"

namespace {

bool HasPixels(TBitmap* Bitmap) { return Bitmap && !Bitmap->Empty(); }
bool Is32(TBitmap* Bitmap) { return Bitmap->PixelFormat() == pf32bit; }

// The start that centres a length c in the span of length a starting at b.
int Center(int a, int b, int c) { return a / 2 + b - c / 2; }

// A stored margin may be any Integer. One past every bitmap reaches out of it all the same,
// so it is capped where placing a part by it cannot overflow.
constexpr int kMarginLimit = 1 << 29;
int Capped(int Margin) { return std::min(Margin, kMarginLimit); }

// A part of the bitmap and where it goes. Trimming moves an edge of the destination and
// the same edge of the source by the same amount, so the part is never scaled by it.
struct TPart {
  TRect Src;
  TRect Dst;

  void CutRight(int Limit) {
    if (Dst.Right <= Limit) return;
    Src.Right -= Dst.Right - Limit;
    Dst.Right = Limit;
  }
  void RaiseLeft(int Limit) {
    if (Dst.Left >= Limit) return;
    Src.Left += Limit - Dst.Left;
    Dst.Left = Limit;
  }
  void CutBottom(int Limit) {
    if (Dst.Bottom <= Limit) return;
    Src.Bottom -= Dst.Bottom - Limit;
    Dst.Bottom = Limit;
  }
  void RaiseTop(int Limit) {
    if (Dst.Top >= Limit) return;
    Src.Top += Limit - Dst.Top;
    Dst.Top = Limit;
  }
  bool Drawable() const { return !Dst.IsEmpty() && !Src.IsEmpty(); }
};

// A source rectangle at the same place in a target rectangle starting at (X, Y).
TPart PartAt(const TRect& Src, int X, int Y) {
  return {Src, Rect(Src.Left + X, Src.Top + Y, Src.Right + X, Src.Bottom + Y)};
}

void Shift(TRect& R, int DX, int DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
}

// How the parts of one kind are drawn.
struct TPainter {
  TBitmap* Bitmap;
  TCanvas* Canvas;
  uint8_t Alpha;

  // Corners and end parts: blended or copied at their own size.
  void Fixed(const TPart& P, bool Blend) const {
    if (!P.Drawable()) return;
    if (Blend && Is32(Bitmap))
      AlphaBlendRect(Bitmap, Canvas, P.Src, Alpha, P.Dst);
    else
      Canvas->CopyRect(P.Dst, Bitmap->Canvas(), P.Src);
  }
  // Edges, middles and centres: stretched or tiled.
  void Fill(const TPart& P, bool Stretch, bool Blend) const {
    if (!P.Drawable()) return;
    const bool blend = Blend && Is32(Bitmap);
    if (Stretch) {
      if (blend)
        AlphaBlendRect(Bitmap, Canvas, P.Src, Alpha, P.Dst);
      else
        StretchBitmapRect(Bitmap, Canvas, P.Src, P.Dst);
    } else if (blend) {
      TileBitmapRectAlpha(Bitmap, Canvas, P.Src, P.Dst);
    } else {
      TileBitmapRect(Bitmap, Canvas, P.Src, P.Dst);
    }
  }
};

void DrawCentred(const TPainter& P, const TRect& R) {
  TBitmap* b = P.Bitmap;
  const int x = std::max(Center(R.Width(), R.Left, b->Width()), int(R.Left));
  const int y = std::max(Center(R.Height(), R.Top, b->Height()), int(R.Top));
  if (Is32(b))
    DrawBitmapAlpha(b, P.Canvas, x, y, P.Alpha);
  else
    P.Canvas->Draw(x, y, b);
}

void DrawNineParts(const TPainter& P, TqvBitmapOptions* O, const TRect& R) {
  const int W = P.Bitmap->Width(), H = P.Bitmap->Height();
  const int L = Capped(O->LeftMargin()), T = Capped(O->TopMargin());
  const int Rm = Capped(O->RightMargin()), B = Capped(O->BottomMargin());
  const int dx = R.Width() - W, dy = R.Height() - H;
  TPart tl = PartAt(Rect(0, 0, L, T), R.Left, R.Top);
  TPart tr = PartAt(Rect(W - Rm, 0, W, T), R.Left, R.Top);
  TPart bl = PartAt(Rect(0, H - B, L, H), R.Left, R.Top);
  TPart br = PartAt(Rect(W - Rm, H - B, W, H), R.Left, R.Top);
  TPart top = PartAt(Rect(L, 0, W - Rm, T), R.Left, R.Top);
  TPart bottom = PartAt(Rect(L, H - B, W - Rm, H), R.Left, R.Top);
  TPart left = PartAt(Rect(0, T, L, H - B), R.Left, R.Top);
  TPart right = PartAt(Rect(W - Rm, T, W, H - B), R.Left, R.Top);
  TPart centre = PartAt(Rect(L, T, W - Rm, H - B), R.Left, R.Top);
  Shift(tr.Dst, dx, 0);
  Shift(right.Dst, dx, 0);
  Shift(bl.Dst, 0, dy);
  Shift(bottom.Dst, 0, dy);
  Shift(br.Dst, dx, dy);
  top.Dst.Right += dx;
  bottom.Dst.Right += dx;
  centre.Dst.Right += dx;
  left.Dst.Bottom += dy;
  right.Dst.Bottom += dy;
  centre.Dst.Bottom += dy;

  // In a rectangle smaller than the bitmap the right and bottom parts give way.
  tl.CutRight(R.Right);
  bl.CutRight(R.Right);
  tr.RaiseLeft(tl.Dst.Right);
  br.RaiseLeft(bl.Dst.Right);
  tl.CutBottom(R.Bottom);
  tr.CutBottom(R.Bottom);
  bl.RaiseTop(tl.Dst.Bottom);
  br.RaiseTop(tr.Dst.Bottom);
  left.CutRight(R.Right);
  right.RaiseLeft(left.Dst.Right);
  top.CutBottom(R.Bottom);
  bottom.RaiseTop(top.Dst.Bottom);

  for (const TPart* corner : {&tl, &tr, &bl, &br}) P.Fixed(*corner, O->AlphaBlendCorners());
  for (const TPart* edge : {&top, &bottom, &left, &right}) P.Fill(*edge, O->StretchBorder(), O->AlphaBlendBorder());
  if (!O->DrawOnlyBorder()) P.Fill(centre, O->Stretch(), O->AlphaBlend());
}

// Top and bottom parts fixed, the middle filled, in a column of the bitmap's width.
void DrawVerticalParts(const TPainter& P, TqvBitmapOptions* O, const TRect& R) {
  const int W = P.Bitmap->Width(), H = P.Bitmap->Height();
  const int T = Capped(O->TopMargin()), B = Capped(O->BottomMargin());
  const int off = std::max(0, R.Width() / 2 - W / 2);
  const TRect c = Rect(R.Left + off, R.Top, R.Left + off + W, R.Bottom);
  TPart first = PartAt(Rect(0, 0, W, T), c.Left, c.Top);
  TPart last = PartAt(Rect(0, H - B, W, H), c.Left, c.Top);
  TPart middle = PartAt(Rect(0, T, W, H - B), c.Left, c.Top);
  Shift(last.Dst, 0, c.Height() - H);
  middle.Dst.Bottom += c.Height() - H;
  first.CutBottom(R.Bottom);
  last.RaiseTop(first.Dst.Bottom);
  P.Fixed(first, O->AlphaBlendCorners());
  P.Fixed(last, O->AlphaBlendCorners());
  P.Fill(middle, O->Stretch(), O->AlphaBlend());
}

// Left and right parts fixed, the middle filled, in a band of the bitmap's height.
void DrawHorizontalParts(const TPainter& P, TqvBitmapOptions* O, const TRect& R) {
  const int W = P.Bitmap->Width(), H = P.Bitmap->Height();
  const int L = Capped(O->LeftMargin()), Rm = Capped(O->RightMargin());
  const int off = std::max(0, R.Height() / 2 - H / 2);
  const TRect band = Rect(R.Left, R.Top + off, R.Right, R.Top + off + H);
  TPart first = PartAt(Rect(0, 0, L, H), band.Left, band.Top);
  TPart last = PartAt(Rect(W - Rm, 0, W, H), band.Left, band.Top);
  TPart middle = PartAt(Rect(L, 0, W - Rm, H), band.Left, band.Top);
  Shift(last.Dst, band.Width() - W, 0);
  middle.Dst.Right += band.Width() - W;
  first.CutRight(R.Right);
  last.RaiseLeft(first.Dst.Right);
  P.Fixed(first, O->AlphaBlendCorners());
  P.Fixed(last, O->AlphaBlendCorners());
  P.Fill(middle, O->Stretch(), O->AlphaBlend());
}

template <class CopyTile>
void Tile(const TRect& SourceRect, const TRect& DestRect, CopyTile&& Copy) {
  const int w = SourceRect.Width(), h = SourceRect.Height();
  if (w <= 0 || h <= 0) return;
  const int nx = std::max(DestRect.Width() / w, 1), ny = std::max(DestRect.Height() / h, 1);
  for (int i = 0; i <= nx; ++i)
    for (int j = 0; j <= ny; ++j) {
      const TRect tile = Bounds(DestRect.Left + i * w, DestRect.Top + j * h, w, h);
      TRect part;
      if (!IntersectRect(&part, &tile, &DestRect)) break;
      Copy(Bounds(SourceRect.Left, SourceRect.Top, part.Width(), part.Height()), part);
    }
}

}  // namespace

void DrawBitmapWithOptions(TBitmap* Bitmap, TqvBitmapOptions* Options, TCanvas* Canvas, uint8_t Alpha,
                           const TRect& R) {
  if (!HasPixels(Bitmap) || !Options || !Canvas) return;
  const TPainter painter{Bitmap, Canvas, Alpha};
  const int L = Options->LeftMargin(), T = Options->TopMargin();
  const int Rm = Options->RightMargin(), B = Options->BottomMargin();
  const bool horizontal = L >= 1 && Rm >= 1, vertical = T >= 1 && B >= 1;
  if (L == 0 && T == 0 && Rm == 0 && B == 0)
    DrawCentred(painter, R);
  else if (horizontal && vertical)
    DrawNineParts(painter, Options, R);
  else if (vertical)
    DrawVerticalParts(painter, Options, R);
  else if (horizontal)
    DrawHorizontalParts(painter, Options, R);
}

void TileBitmapRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  Tile(SourceRect, DestRect,
       [&](const TRect& src, const TRect& dst) { StretchBitmapRect(Bitmap, Canvas, src, dst); });
}

void TileBitmapRectAlpha(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  Tile(SourceRect, DestRect,
       [&](const TRect& src, const TRect& dst) { AlphaBlendRect(Bitmap, Canvas, src, 255, dst); });
}

void DrawNinePartBitmap(int LeftMargin, int TopMargin, int RightMargin, const TRect& R, TCanvas* Canvas,
                        TBitmap* Bitmap, int BottomMargin) {
  if (!HasPixels(Bitmap) || !Canvas) return;
  const int W = Bitmap->Width(), H = Bitmap->Height();
  const int L = LeftMargin, T = TopMargin, Rm = RightMargin, B = BottomMargin;
  const TRect centre = Rect(R.Left + L, R.Top + T, R.Right - Rm, R.Bottom - B);
  auto stretch = [&](const TRect& dst, const TRect& src) {
    if (!dst.IsEmpty() && !src.IsEmpty()) StretchBitmapRect(Bitmap, Canvas, src, dst);
  };
  auto copy = [&](const TRect& dst, const TRect& src) {
    if (!dst.IsEmpty() && !src.IsEmpty()) Canvas->CopyRect(dst, Bitmap->Canvas(), src);
  };
  stretch(Rect(centre.Left, R.Top, centre.Right, centre.Top), Rect(L, 0, W - Rm, T));
  stretch(Rect(centre.Left, centre.Bottom, centre.Right, R.Bottom), Rect(L, H - B, W - Rm, H));
  stretch(Rect(R.Left, centre.Top, centre.Left, centre.Bottom), Rect(0, T, L, H - B));
  stretch(Rect(centre.Right, centre.Top, R.Right, centre.Bottom), Rect(W - Rm, T, W, H - B));
  copy(Rect(R.Left, R.Top, centre.Left, centre.Top), Rect(0, 0, L, T));
  copy(Rect(R.Left, centre.Bottom, centre.Left, R.Bottom), Rect(0, H - B, L, H));
  copy(Rect(centre.Right, R.Top, R.Right, centre.Top), Rect(W - Rm, 0, W, T));
  copy(Rect(centre.Right, centre.Bottom, R.Right, R.Bottom), Rect(W - Rm, H - B, W, H));
  stretch(centre, Rect(L, T, W - Rm, H - B));
}
