#include "qvDrawUtils/ContentLayout.h"

#include <algorithm>
#include <cmath>

#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Glow.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Text.h"
#include "vcl/ImgList.h"

// ---- placing ----

namespace {

// Margins and spacing are stored properties of any size; one far past every screen places
// things just as far out of sight, and keeps the sums below inside an int.
int LayoutDistance(int Value) {
  constexpr int kFarOut = 1 << 20;
  return std::clamp(Value, -kFarOut, kFarOut);
}

}  // namespace

void CalcGlyphTextLayout(TButtonLayout Layout, const TRect& R, int GlyphW, int GlyphH, int TextW, int TextH, int Margin,
                         int Spacing, int& GlyphX, int& GlyphY, int& TextX, int& TextY) {
  Margin = LayoutDistance(Margin);
  Spacing = LayoutDistance(Spacing);
  if (GlyphW == 0) Spacing = 0;
  const int cx = R.Left + R.Width() / 2;
  const int cy = R.Top + R.Height() / 2;
  if (Margin >= 0) {
    switch (Layout) {
      case blGlyphLeft:
        GlyphX = R.Left + Margin;
        GlyphY = cy - GlyphH / 2;
        TextX = R.Left + Margin + GlyphW + Spacing;
        TextY = cy - TextH / 2;
        break;
      case blGlyphRight:
        GlyphX = R.Right - GlyphW - Margin;
        GlyphY = cy - GlyphH / 2;
        TextX = GlyphX - Spacing - TextW;
        TextY = cy - TextH / 2;
        break;
      case blGlyphTop:
        GlyphX = cx - GlyphW / 2;
        GlyphY = R.Top + Margin;
        TextX = cx - TextW / 2;
        TextY = GlyphY + GlyphH + Spacing;
        break;
      case blGlyphBottom:
        GlyphX = cx - GlyphW / 2;
        GlyphY = R.Bottom - GlyphH - Margin;
        TextX = cx - TextW / 2;
        TextY = GlyphY - Spacing - TextH;
        break;
    }
    return;
  }
  // Image and text centred as one group.
  const int hw = (GlyphW + TextW + Spacing) / 2;
  const int hh = (GlyphH + TextH + Spacing) / 2;
  switch (Layout) {
    case blGlyphLeft:
      GlyphX = cx - hw;
      GlyphY = cy - GlyphH / 2;
      TextX = cx + hw - TextW;
      TextY = cy - TextH / 2;
      break;
    case blGlyphRight:
      GlyphX = cx + hw - GlyphW;
      GlyphY = cy - GlyphH / 2;
      TextX = cx - hw;
      TextY = cy - TextH / 2;
      break;
    case blGlyphTop:
      GlyphX = cx - GlyphW / 2;
      GlyphY = cy - hh;
      TextX = cx - TextW / 2;
      TextY = cy + hh - TextH;
      break;
    case blGlyphBottom:
      GlyphX = cx - GlyphW / 2;
      GlyphY = cy + hh - GlyphH;
      TextX = cx - TextW / 2;
      TextY = cy - hh;
      break;
  }
}

namespace {

// One axis of a wrapped layout: the image's and the text's start, the text's extent, the
// image's extent, and R's bounds along it.
struct TLayoutAxis {
  int& Glyph;
  int& Text;
  int& TextLen;
  int GlyphLen;
  int Lo, Hi;
};

// Pulls a centred group that sticks out back inside [Lo, Hi): the image against the edge
// it leads from, the text beside it, shortened to what is left.
void PullBackInside(TLayoutAxis A, bool Leading, bool Image, int Spacing) {
  if (!Image) {
    if (A.TextLen > 0 && (Leading ? A.Text + A.TextLen > A.Hi : A.Text < A.Lo)) {
      A.Text = A.Lo;
      A.TextLen = A.Hi - A.Lo;
    }
    return;
  }
  if (Leading) {
    if (A.Glyph < A.Lo) {
      A.Glyph = A.Lo;
      A.Text = A.Lo + A.GlyphLen + Spacing;
      A.TextLen = A.Hi - A.Lo - A.GlyphLen - Spacing;
    }
  } else if (A.Glyph + A.GlyphLen > A.Hi) {
    A.Glyph = A.Hi - A.GlyphLen;
    A.Text = A.Glyph - Spacing - A.TextLen;
    if (A.Text < A.Lo) {
      A.Text = A.Lo;
      A.TextLen = A.Hi - A.Lo - A.GlyphLen - Spacing;
    }
  }
}

// Across the layout's axis a text that starts before R takes the whole of R.
void KeepTextStartInside(int& Text, int& TextLen, int Lo, int Hi) {
  if (Text < Lo) {
    Text = Lo;
    TextLen = Hi - Lo;
  }
}

}  // namespace

void CalcGlyphWrappedTextLayout(TButtonLayout Layout, const TRect& R, int GlyphW, int GlyphH, int& TextW, int& TextH,
                                int Margin, int Spacing, int& GlyphX, int& GlyphY, int& TextX, int& TextY) {
  Margin = LayoutDistance(Margin);
  Spacing = LayoutDistance(Spacing);
  if (GlyphW == 0) Spacing = 0;
  CalcGlyphTextLayout(Layout, R, GlyphW, GlyphH, TextW, TextH, Margin, Spacing, GlyphX, GlyphY, TextX, TextY);
  const bool image = GlyphW > 0;
  if (Margin >= 0) {
    // The text takes the rest of R.
    switch (Layout) {
      case blGlyphLeft:
      case blGlyphRight:
        TextX = Layout == blGlyphLeft ? R.Left + Margin + GlyphW + Spacing : R.Left;
        TextY = R.Top;
        TextW = R.Width() - GlyphW - Spacing - Margin;
        TextH = R.Height();
        break;
      case blGlyphTop:
      case blGlyphBottom:
        TextX = R.Left;
        TextY = Layout == blGlyphTop ? GlyphY + GlyphH + Spacing : R.Top;
        TextW = R.Width();
        TextH = R.Height() - GlyphH - Spacing - Margin;
        break;
    }
    return;
  }
  // Centred, then pulled back inside R: along the layout's axis image and text stay
  // together; across it the text only has to start inside R.
  const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  const bool leading = Layout == blGlyphLeft || Layout == blGlyphTop;
  if (horizontal) {
    PullBackInside({GlyphX, TextX, TextW, GlyphW, R.Left, R.Right}, leading, image, Spacing);
    KeepTextStartInside(TextY, TextH, R.Top, R.Bottom);
  } else {
    KeepTextStartInside(TextX, TextW, R.Left, R.Right);
    PullBackInside({GlyphY, TextY, TextH, GlyphH, R.Top, R.Bottom}, leading, image, Spacing);
  }
}

// ---- images ----

namespace {

bool HasImage(TCustomImageList* ImageList, int Index) { return ImageList && Index >= 0 && Index < ImageList->Count(); }

TSize ImageSize(TCustomImageList* ImageList, int Index) {
  if (!HasImage(ImageList, Index)) return {0, 0};
  return {ImageList->Width(), ImageList->Height()};
}

uint32_t* PixelsOf(TBitmap& Bitmap) { return static_cast<uint32_t*>(Bitmap.ScanLine(0)); }

}  // namespace

void DrawImageListImageAlpha(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int Index, TCustomImageList* ImageList) {
  if (!Canvas || !HasImage(ImageList, Index)) return;
  const int w = ImageList->Width(), h = ImageList->Height();
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  image.SetSize(w, h);
  if (ImageList->ColorDepth() == cd32Bit) {
    ImageList->GetBitmap(Index, &image);
  } else {
    // No alpha to go by: the colour of the corner is the background. A pixel the list's
    // mask cut out (alpha 0) stays out as well.
    TBitmap fetched;
    fetched.SetPixelFormat(pf32bit);
    fetched.SetSize(w, h);
    ImageList->GetBitmap(Index, &fetched);
    const uint32_t* src = PixelsOf(fetched);
    uint32_t* dst = PixelsOf(image);
    const uint32_t key = src[0];
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i)
      dst[i] = (src[i] != key && (src[i] >> 24) != 0) ? (src[i] | 0xFF000000u) : 0;
  }
  // Every pixel is opaque or empty, or came premultiplied from the list.
  image.SetAlphaFormat(afPremultiplied);
  DrawBitmapAlpha(&image, Canvas, X, Y, Alpha);
}

// ---- image and caption ----

namespace {

// What every image-and-caption routine is given.
struct TContent {
  TCanvas* Canvas;
  TRect R;
  TButtonLayout Layout;
  int Margin;
  int Spacing;
  TCustomImageList* ImageList;
  int ImageIndex;
  const String& Caption;
  bool Enabled;
  bool NoPrefix;
  bool RightToLeft;
};

struct TGlow {
  uint8_t Alpha;
  bool Intensive;
  int Size;
  TColor Color;
  int Offset;
  bool Image;
};

// How a one-block routine draws its parts.
struct TBlockStyle {
  bool Centred = true;
  bool WordWrap = false;
  bool ExpandTabs = true;  // when drawing; measuring always expands them
  bool NoPrefixMeasure = false;
  bool RaiseText = false;        // the caption one pixel up
  bool SharedListImage = false;  // a list sharing a system list is drawn directly
  bool Decorations = false;      // focus mark and colour bar
  // Glow: none, or drawn (Cached false) or kept in the caches.
  const TGlow* Glow = nullptr;
  bool Cached = false;
  TBitmap** TextCache = nullptr;
  TBitmap** ImageCache = nullptr;
};

struct TDecorations {
  double Scale = 1;
  bool ShowFocusRect = false;
  TColor BarColor = clNone;
  bool ShowBar = false;
};

struct TPlaced {
  TRect Glyph;  // empty size without an image
  TRect Text;   // empty size without a caption
  bool HasImage;
  bool HasCaption;
};

// The box the caption is measured in: R less the image and spacing on the image's side.
TRect MeasuringBox(const TContent& C, TSize Glyph, int Spacing) {
  TRect box{0, 0, C.R.Width(), C.R.Height()};
  if (C.Layout == blGlyphLeft || C.Layout == blGlyphRight)
    box.Right -= Glyph.cx + Spacing + (C.Margin > 0 ? C.Margin : 0);
  else
    box.Bottom -= Glyph.cy + Spacing;
  return box;
}

// Image size, spacing and the measured caption.
void Measure(const TContent& C, UINT Flags, TSize& Glyph, int& Spacing, TSize& Text) {
  Glyph = ImageSize(C.ImageList, C.ImageIndex);
  Spacing = Glyph.cx > 0 ? C.Spacing : 0;
  Text = {0, 0};
  if (C.Caption.empty()) {
    Spacing = 0;
    return;
  }
  TRect box = MeasuringBox(C, Glyph, Spacing);
  DrawText(C.Canvas->Handle(), C.Caption, -1, &box, Flags | DT_CALCRECT | DT_EXPANDTABS);
  Text = {box.Width(), box.Height()};
}

// The image at (X, Y): glowing, directly from a shared system list, as the list draws it,
// or translucent when disabled.
void DrawImage(const TContent& C, const TBlockStyle& S, int X, int Y) {
  if (!HasImage(C.ImageList, C.ImageIndex)) return;
  if (S.Glow && S.Glow->Image) {
    const TGlow& g = *S.Glow;
    if (S.Cached)
      DrawImageWithCachedGlow(*S.ImageCache, false, C.Canvas, g.Alpha, g.Size, g.Color, g.Offset, C.ImageList,
                              C.ImageIndex, X, Y);
    else
      DrawImageWithGlow(C.Canvas, X, Y, g.Alpha, g.Size, g.Color, g.Offset, C.ImageIndex, C.ImageList);
  } else if (S.SharedListImage && C.ImageList->ShareImages()) {
    ImageList_DrawEx(C.ImageList->Handle(), C.ImageIndex, C.Canvas->Handle(), X, Y, C.ImageList->Width(),
                     C.ImageList->Height(), CLR_NONE, CLR_NONE, ILD_NORMAL);
  } else if (C.Enabled) {
    C.ImageList->Draw(C.Canvas, X, Y, C.ImageIndex, true);
  } else {
    DrawImageListImageAlpha(C.Canvas, X, Y, 80, C.ImageIndex, C.ImageList);
  }
}

TRect Grown(TRect R, int By) {
  InflateRect(&R, By, By);
  return R;
}

void DrawBar(TCanvas* Canvas, const TRect& R, const TPlaced& P, const TDecorations& D) {
  const int k = int(std::trunc(2 * D.Scale));
  auto lines = [&](int Left, int Right, int Top) {
    Canvas->Pen()->SetColor(D.BarColor);
    for (int i = 0; i <= k; ++i) {
      Canvas->MoveTo(Left, Top + i);
      Canvas->LineTo(Right, Top + i);
    }
  };
  if (P.HasImage) {
    lines(P.Glyph.Left, P.Glyph.Right, P.Glyph.Bottom);
  } else if (P.HasCaption) {
    lines(P.Text.Left, P.Text.Right, P.Text.Bottom);
  } else {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(D.BarColor);
    Canvas->FillRect({R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4});
    Canvas->Brush()->SetStyle(bsClear);
  }
}

// Image and caption as one block (DrawImageAndText and its relatives).
void DrawBlock(const TContent& C, const TBlockStyle& S, const TDecorations& D) {
  if (!C.Canvas) return;
  const UINT prefix = C.NoPrefix ? DT_NOPREFIX : 0;
  const UINT wrap = S.WordWrap ? DT_WORDBREAK : 0;
  TSize glyph, text;
  int spacing;
  Measure(C, (S.NoPrefixMeasure ? DT_NOPREFIX : prefix) | wrap, glyph, spacing, text);
  C.Canvas->Brush()->SetStyle(bsClear);
  int gx = 0, gy = 0, tx = 0, ty = 0;
  CalcGlyphTextLayout(C.Layout, C.R, glyph.cx, glyph.cy, text.cx, text.cy, C.Margin, spacing, gx, gy, tx, ty);
  if (S.RaiseText) --ty;
  const TPlaced placed{Bounds(gx, gy, glyph.cx, glyph.cy), Bounds(tx, ty, text.cx, text.cy), glyph.cx > 0,
                       !C.Caption.empty()};

  if (!C.Caption.empty()) {
    UINT flags = DT_NOCLIP | DT_VCENTER | wrap;
    if (S.ExpandTabs) flags |= DT_EXPANDTABS;
    if (S.Centred) flags |= DT_CENTER;
    if (!S.Glow) {
      TRect r = placed.Text;
      DrawText(C.Canvas->Handle(), C.Caption, -1, &r, SetBiDiFlags(flags | prefix, C.RightToLeft));
    } else if (S.Cached) {
      const TGlow& g = *S.Glow;
      DrawTextWithCachedGlow(*S.TextCache, false, C.Canvas, C.NoPrefix, C.RightToLeft, g.Alpha, g.Intensive, g.Size,
                             g.Color, g.Offset, flags, C.Caption, placed.Text);
    } else {
      const TGlow& g = *S.Glow;
      DrawTextWithGlow(C.Canvas, placed.Text, C.Caption, C.NoPrefix, C.RightToLeft, g.Alpha, g.Intensive, g.Size,
                       g.Color, g.Offset, flags);
    }
    if (S.Decorations && D.ShowFocusRect) DrawFocusRectScaled(C.Canvas, Grown(placed.Text, 2), D.Scale);
  }
  DrawImage(C, S, gx, gy);
  if (!S.Decorations) return;
  if (D.ShowFocusRect && placed.HasImage && !placed.HasCaption)
    DrawFocusRectScaled(C.Canvas, Grown(placed.Glyph, 2), D.Scale);
  if (D.ShowBar) DrawBar(C.Canvas, C.R, placed, D);
}

// Image and a caption fitted into the box the wrapped layout gives it.
bool DrawWrapped(const TContent& C, const TGlow* Glow) {
  if (!C.Canvas) return false;
  TSize glyph, text;
  int spacing;
  Measure(C, DT_WORDBREAK | (C.NoPrefix ? DT_NOPREFIX : 0), glyph, spacing, text);
  C.Canvas->Brush()->SetStyle(bsClear);
  int gx = 0, gy = 0, tx = 0, ty = 0;
  CalcGlyphWrappedTextLayout(C.Layout, C.R, glyph.cx, glyph.cy, text.cx, text.cy, C.Margin, spacing, gx, gy, tx, ty);
  const TRect box = Bounds(tx, ty, text.cx, text.cy);
  bool shortened;
  if (Glow) {
    const bool leftAligned = C.Layout == blGlyphLeft || C.Layout == blGlyphRight;
    shortened = DrawFittedTextWithGlow(C.Canvas, C.Caption, box, C.NoPrefix, Glow->Alpha, Glow->Intensive, Glow->Size,
                                       Glow->Color, Glow->Offset, C.RightToLeft, leftAligned);
  } else {
    shortened = DrawFittedText(C.Canvas, C.Caption, box, C.NoPrefix, C.RightToLeft, false);
  }
  TBlockStyle style;
  style.Glow = Glow;
  DrawImage(C, style, gx, gy);
  return shortened;
}

}  // namespace

void DrawGlyphLeftAndText(TCanvas* Canvas, const TRect& R, int Margin, int Spacing, TCustomImageList* ImageList,
                          int ImageIndex, const String& Caption, bool Enabled, bool NoPrefix, bool RightToLeft) {
  TBlockStyle style;
  style.NoPrefixMeasure = true;
  style.RaiseText = true;
  style.SharedListImage = true;
  DrawBlock({Canvas, R, blGlyphLeft, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft},
            style, {});
}

void DrawImageAndText(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                      TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled, bool NoPrefix,
                      bool RightToLeft, bool WordWrap, double Scale, bool ShowFocusRect, TColor BarColor,
                      bool ShowBar) {
  TBlockStyle style;
  style.WordWrap = WordWrap;
  style.SharedListImage = true;
  style.Decorations = true;
  DrawBlock({Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, style,
            {Scale, ShowFocusRect, BarColor, ShowBar});
}

void DrawImageAndTextLeft(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                          TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                          bool NoPrefix, bool RightToLeft, bool WordWrap, double Scale, bool ShowFocusRect,
                          TColor BarColor, bool ShowBar) {
  TBlockStyle style;
  style.Centred = false;
  style.WordWrap = WordWrap;
  style.Decorations = true;
  DrawBlock({Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, style,
            {Scale, ShowFocusRect, BarColor, ShowBar});
}

bool DrawImageAndWrappedText(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                             TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                             bool NoPrefix, bool RightToLeft) {
  return DrawWrapped(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, nullptr);
}

bool DrawImageAndWrappedTextWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                     TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                     bool NoPrefix, bool RightToLeft, uint8_t Alpha, bool Intensive, int GlowSize,
                                     TColor GlowColor, int GlowOffset, bool ImageGlow) {
  const TGlow glow{Alpha, Intensive, GlowSize, GlowColor, GlowOffset, ImageGlow};
  return DrawWrapped(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, &glow);
}

namespace {

void DrawBlockWithGlow(const TContent& C, bool Centred, const TGlow& Glow, const TDecorations& D) {
  TBlockStyle style;
  style.Centred = Centred;
  style.WordWrap = true;
  style.Decorations = true;
  style.Glow = &Glow;
  DrawBlock(C, style, D);
}

void DrawBlockWithCachedGlow(const TContent& C, bool Centred, TBitmap*& TextGlowCache, TBitmap*& ImageGlowCache,
                             bool Rebuild, bool WordWrap, const TGlow& Glow, const TDecorations& D) {
  // Both layers go stale together, also when this paint draws neither.
  if (Rebuild) {
    FreeAndNil(TextGlowCache);
    FreeAndNil(ImageGlowCache);
  }
  TBlockStyle style;
  style.Centred = Centred;
  style.WordWrap = WordWrap;
  style.ExpandTabs = Centred;
  style.Decorations = true;
  style.Glow = &Glow;
  style.Cached = true;
  style.TextCache = &TextGlowCache;
  style.ImageCache = &ImageGlowCache;
  DrawBlock(C, style, D);
}

}  // namespace

void DrawImageAndTextWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                              TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                              bool NoPrefix, bool RightToLeft, double Scale, bool ShowFocusRect, uint8_t Alpha,
                              bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                              TColor BarColor, bool ShowBar) {
  DrawBlockWithGlow(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, true,
      {Alpha, Intensive, GlowSize, GlowColor, GlowOffset, ImageGlow}, {Scale, ShowFocusRect, BarColor, ShowBar});
}

void DrawImageAndTextLeftWithGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                  TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                  bool NoPrefix, bool RightToLeft, double Scale, bool ShowFocusRect, uint8_t Alpha,
                                  bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                                  TColor BarColor, bool ShowBar) {
  DrawBlockWithGlow(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, false,
      {Alpha, Intensive, GlowSize, GlowColor, GlowOffset, ImageGlow}, {Scale, ShowFocusRect, BarColor, ShowBar});
}

void DrawImageAndTextWithCachedGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                    TCustomImageList* ImageList, int ImageIndex, const String& Caption, bool Enabled,
                                    bool NoPrefix, bool RightToLeft, TBitmap*& TextGlowCache, TBitmap*& ImageGlowCache,
                                    bool Rebuild, bool WordWrap, double Scale, bool ShowFocusRect, uint8_t Alpha,
                                    bool Intensive, int GlowSize, TColor GlowColor, int GlowOffset, bool ImageGlow,
                                    TColor BarColor, bool ShowBar) {
  DrawBlockWithCachedGlow(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, true,
      TextGlowCache, ImageGlowCache, Rebuild, WordWrap, {Alpha, Intensive, GlowSize, GlowColor, GlowOffset, ImageGlow},
      {Scale, ShowFocusRect, BarColor, ShowBar});
}

void DrawImageAndTextLeftWithCachedGlow(TCanvas* Canvas, const TRect& R, TButtonLayout Layout, int Margin, int Spacing,
                                        TCustomImageList* ImageList, int ImageIndex, const String& Caption,
                                        bool Enabled, bool NoPrefix, bool RightToLeft, TBitmap*& TextGlowCache,
                                        TBitmap*& ImageGlowCache, bool Rebuild, bool WordWrap, double Scale,
                                        bool ShowFocusRect, uint8_t Alpha, bool Intensive, int GlowSize,
                                        TColor GlowColor, int GlowOffset, bool ImageGlow, TColor BarColor,
                                        bool ShowBar) {
  DrawBlockWithCachedGlow(
      {Canvas, R, Layout, Margin, Spacing, ImageList, ImageIndex, Caption, Enabled, NoPrefix, RightToLeft}, false,
      TextGlowCache, ImageGlowCache, Rebuild, WordWrap, {Alpha, Intensive, GlowSize, GlowColor, GlowOffset, ImageGlow},
      {Scale, ShowFocusRect, BarColor, ShowBar});
}
