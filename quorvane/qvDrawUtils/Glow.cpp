#include "qvDrawUtils/Glow.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Blur.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Style.h"
#include "qvDrawUtils/Text.h"
#include "vcl/ImgList.h"

// ---- TqvGlowEffect ----

void TqvGlowEffect::Assign(TPersistent* Source) {
  if (Source && Source->InheritsFrom(TqvGlowEffect::StaticClass())) {
    const auto* from = static_cast<TqvGlowEffect*>(Source);
    FEnabled = from->FEnabled;
    FColor = from->FColor;
    FAlphaValue = from->FAlphaValue;
    FGlowSize = from->FGlowSize;
    FIntensive = from->FIntensive;
    FOffset = from->FOffset;
    FStyleColors = from->FStyleColors;
    return;
  }
  TPersistent::Assign(Source);
}

void TqvGlowEffect::Changed() {
  if (FEnabled && OnChange) OnChange(this);
}

namespace {

// Stores a changed value and reports whether it changed.
template <class T>
bool Store(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

bool Classic() { return !IsCustomStyle() && !IsThemed(); }

}  // namespace

void TqvGlowEffect::SetEnabled(bool Value) {
  // Switching off must repaint too, so this one tells OnChange either way.
  if (Store(FEnabled, Value) && OnChange) OnChange(this);
}

void TqvGlowEffect::SetColor(TColor Value) {
  if (Store(FColor, Value)) Changed();
}

void TqvGlowEffect::SetAlphaValue(uint8_t Value) {
  if (Store(FAlphaValue, Value)) Changed();
}

void TqvGlowEffect::SetGlowSize(uint8_t Value) {
  if (Store(FGlowSize, Value)) Changed();
}

void TqvGlowEffect::SetOffset(uint8_t Value) {
  if (Store(FOffset, Value)) Changed();
}

void TqvGlowEffect::SetIntensive(bool Value) {
  if (Store(FIntensive, Value)) Changed();
}

void TqvGlowEffect::SetStyleColors(bool Value) {
  if (Store(FStyleColors, Value)) Changed();
}

TColor TqvGlowEffect::StyledColor(TColor Value) const {
  return FStyleColors && IsCustomStyle() ? GetStyleSystemColor(Value) : Value;
}

TColor TqvGlowEffect::GetColor() const { return StyledColor(FColor); }

uint8_t TqvGlowEffect::GetAlphaValue() const {
  if (FColor == clHighlight && FAlphaValue > 170 && Classic()) return uint8_t(FAlphaValue - 80);
  return FAlphaValue;
}

// ---- TqvButtonGlowEffect ----

void TqvButtonGlowEffect::Assign(TPersistent* Source) {
  TqvGlowEffect::Assign(Source);
  if (Source && Source->InheritsFrom(TqvButtonGlowEffect::StaticClass())) {
    const auto* from = static_cast<TqvButtonGlowEffect*>(Source);
    FHotColor = from->FHotColor;
    FPressedColor = from->FPressedColor;
    FFocusedColor = from->FFocusedColor;
    FPressedAlphaValue = from->FPressedAlphaValue;
    FPressedGlowSize = from->FPressedGlowSize;
    FStates = from->FStates;
  }
}

void TqvButtonGlowEffect::SetHotColor(TColor Value) {
  if (Store(FHotColor, Value)) Changed();
}

void TqvButtonGlowEffect::SetPressedColor(TColor Value) {
  if (Store(FPressedColor, Value)) Changed();
}

void TqvButtonGlowEffect::SetFocusedColor(TColor Value) {
  if (Store(FFocusedColor, Value)) Changed();
}

void TqvButtonGlowEffect::SetPressedGlowSize(uint8_t Value) {
  if (Store(FPressedGlowSize, Value)) Changed();
}

void TqvButtonGlowEffect::SetPressedAlphaValue(uint8_t Value) {
  if (Store(FPressedAlphaValue, Value)) Changed();
}

void TqvButtonGlowEffect::SetStates(TqvsCtrlStates Value) {
  if (Store(FStates, Value)) Changed();
}

uint8_t TqvButtonGlowEffect::GetPressedAlphaValue() const {
  if (FPressedColor == clHighlight && FPressedAlphaValue > 200 && Classic()) return uint8_t(FPressedAlphaValue - 50);
  return FPressedAlphaValue;
}

bool TqvButtonGlowEffect::GetGlowParams(TqvsCtrlState State, TColor& AColor, uint8_t& AAlphaValue,
                                        int& AGlowSize) const {
  if (!FStates.Contains(State)) return false;
  switch (State) {
    case qvsHot:
      AColor = GetHotColor();
      break;
    case qvsPressed:
      AColor = GetPressedColor();
      break;
    case qvsFocused:
      AColor = GetFocusedColor();
      break;
    default:
      AColor = GetColor();
      break;
  }
  if (AColor == clNone) AColor = GetColor();
  if (State == qvsPressed) {
    AGlowSize = FPressedGlowSize;
    AAlphaValue = GetPressedAlphaValue();
  } else {
    AGlowSize = FGlowSize;
    AAlphaValue = State == qvsDisabled ? uint8_t(GetAlphaValue() / 2) : GetAlphaValue();
  }
  return true;
}

// ---- layers ----

namespace {

// The blur stops at StackBlurMaxRadius; so does the margin, which keeps sizes in range.
int GlowRadius(int GlowSize) { return std::clamp(GlowSize, 0, StackBlurMaxRadius); }

uint32_t* Pixels(TBitmap* Bitmap) { return static_cast<uint32_t*>(Bitmap->ScanLine(0)); }

// A text rectangle is at least 2 * GlowSize wide and high, so the glow has room to form.
TRect GlowTextRect(TRect R, int d) {
  if (R.Width() < 2 * d) R.Right = R.Left + 2 * d;
  if (R.Height() < 2 * d) R.Bottom = R.Top + 2 * d;
  return R;
}

UINT GlowTextFlags(UINT Flags, bool NoPrefix, bool RightToLeft) {
  if (NoPrefix) Flags |= DT_NOPREFIX;
  return SetBiDiFlags(Flags, RightToLeft);
}

// Draws the text (white, on the mask canvas) in a rectangle.
using TMaskText = std::function<void(TCanvas* Mask, const TRect& R)>;

// A 32-bit layer of W x H marked premultiplied while it has no pixels, so that the mark
// costs no pass over them; MaskToGlow then writes premultiplied pixels directly.
void MakeLayer(TBitmap* Layer, int W, int H) {
  Layer->SetSize(0, 0);
  Layer->SetPixelFormat(pf32bit);
  Layer->SetAlphaFormat(afPremultiplied);
  Layer->SetSize(W, H);
}

// Layer := the glow of the text drawn by DrawMask into R (already enlarged), d = GlowSize.
void BuildTextGlowLayer(TBitmap* Layer, TCanvas* Canvas, const TRect& R, bool Intensive, int d, TColor Color,
                        const TMaskText& DrawMask) {
  MakeLayer(Layer, R.Width() + 2 * d, R.Height() + 2 * d);
  FillBitmapPixels(Layer, ColorToPixel(clBlack, 255));
  TCanvas* mask = Layer->Canvas();
  mask->Font()->Assign(Canvas->Font());
  mask->Font()->SetColor(clWhite);
  mask->Brush()->SetStyle(bsClear);
  const TRect text{d, d, Layer->Width() - d, Layer->Height() - d};
  if (Intensive) {
    for (const TPoint shift : {TPoint{-1, 0}, TPoint{1, 0}, TPoint{0, -1}, TPoint{0, 1}}) {
      TRect moved = text;
      OffsetRect(&moved, shift.X, shift.Y);
      DrawMask(mask, moved);
    }
  } else {
    DrawMask(mask, text);
  }
  SetBitmapAlpha(Layer, 255);
  MaskToGlow(Layer, d, Color);
}

void DrawGlowLayer(TBitmap* Layer, TCanvas* Canvas, const TRect& R, int d, int Offset, uint8_t Alpha) {
  DrawBitmapAlpha(Layer, Canvas, R.Left + Offset - d, R.Top + Offset - d, Alpha);
}

void DrawCaption(TCanvas* Canvas, const String& Text, TRect R, UINT Flags) {
  Canvas->Brush()->SetStyle(bsClear);
  DrawText(Canvas->Handle(), Text, -1, &R, Flags);
}

TMaskText PlainMask(const String& Text, UINT Flags) {
  return [&Text, Flags](TCanvas* Mask, const TRect& R) {
    TRect r = R;
    DrawText(Mask->Handle(), Text, -1, &r, Flags);
  };
}

}  // namespace

void MaskToGlow(TBitmap* Bitmap, int Radius, TColor Color) {
  if (!Bitmap || Bitmap->Empty()) return;
  if (Bitmap->PixelFormat() != pf32bit) Bitmap->SetPixelFormat(pf32bit);
  StackBlur(Bitmap, Radius);
  // One pixel per coverage value. A bitmap marked premultiplied gets premultiplied pixels
  // straight away; any other gets straight ones, which changing its mark premultiplies.
  const bool premultiplied = Bitmap->AlphaFormat() == afPremultiplied;
  const uint32_t rgb = ColorToPixel(Color, 0);
  std::array<uint32_t, 256> pixel{};
  for (uint32_t a = 0; a < 256; ++a) {
    if (!premultiplied) {
      pixel[a] = rgb | (a << 24);
      continue;
    }
    auto mul = [a](uint32_t c) { return uint32_t(MulDiv(int32_t(c), int32_t(a), 255)); };
    pixel[a] = (a << 24) | (mul((rgb >> 16) & 0xFF) << 16) | (mul((rgb >> 8) & 0xFF) << 8) | mul(rgb & 0xFF);
  }
  uint32_t* p = Pixels(Bitmap);
  for (size_t i = 0, n = size_t(Bitmap->Width()) * size_t(Bitmap->Height()); i < n; ++i)
    p[i] = pixel[(p[i] >> 16) & 0xFF];
  if (!premultiplied) Bitmap->SetAlphaFormat(afPremultiplied);
}

void MakeGlowBitmap(TBitmap* Dest, TBitmap* Source, int GlowSize, TColor Color) {
  if (!Dest || Dest == Source) return;
  const int g = GlowRadius(GlowSize);
  const bool hasSource = Source && !Source->Empty();
  const int sw = hasSource ? Source->Width() : 0;
  const int sh = hasSource ? Source->Height() : 0;
  MakeLayer(Dest, sw + 2 * g, sh + 2 * g);
  if (Dest->Empty()) return;
  const uint32_t black = ColorToPixel(clBlack, 255);
  FillBitmapPixels(Dest, black);
  if (hasSource) {
    const uint32_t white = 0xFFFFFFFFu;
    const uint32_t* src = Pixels(Source);
    uint32_t* dst = Pixels(Dest);
    const size_t dw = size_t(Dest->Width());
    if (Source->PixelFormat() == pf32bit && HasTransparentPixels(Source)) {
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
          if (src[size_t(y) * sw + x] >> 24) dst[(y + g) * dw + x + g] = white;
    } else {
      // An opaque picture: its shape is what differs from the key colour in the corner.
      const uint32_t key = src[0] | 0xFF000000u;
      for (int y = 0; y < sh; ++y)
        for (int x = 0; x < sw; ++x)
          if ((src[size_t(y) * sw + x] | 0xFF000000u) != key) dst[(y + g) * dw + x + g] = white;
    }
  }
  MaskToGlow(Dest, g, Color);
}

void DrawTextWithGlow(TCanvas* Canvas, const TRect& Rect, const String& Text, bool NoPrefix, bool RightToLeft,
                      uint8_t Alpha, bool Intensive, int GlowSize, TColor Color, int Offset, UINT Flags) {
  if (!Canvas) return;
  const int d = GlowRadius(GlowSize);
  const TRect r = GlowTextRect(Rect, d);
  const UINT flags = GlowTextFlags(Flags, NoPrefix, RightToLeft);
  TBitmap layer;
  BuildTextGlowLayer(&layer, Canvas, r, Intensive, d, Color, PlainMask(Text, flags));
  DrawGlowLayer(&layer, Canvas, r, d, Offset, Alpha);
  DrawCaption(Canvas, Text, r, flags);
}

bool DrawFittedTextWithGlow(TCanvas* Canvas, const String& Text, const TRect& Rect, bool NoPrefix, uint8_t Alpha,
                            bool Intensive, int GlowSize, TColor Color, int Offset, bool RightToLeft,
                            bool LeftAligned) {
  if (!Canvas || Text.empty()) return false;
  const int d = GlowRadius(GlowSize);
  const TRect r = GlowTextRect(Rect, d);
  TBitmap layer;
  BuildTextGlowLayer(&layer, Canvas, r, Intensive, d, Color, [&](TCanvas* Mask, const TRect& R) {
    DrawFittedText(Mask, Text, R, NoPrefix, RightToLeft, LeftAligned);
  });
  DrawGlowLayer(&layer, Canvas, r, d, Offset, Alpha);
  Canvas->Brush()->SetStyle(bsClear);
  return DrawFittedText(Canvas, Text, r, NoPrefix, RightToLeft, LeftAligned);
}

void DrawTextWithCachedGlow(TBitmap*& Cache, bool Rebuild, TCanvas* Canvas, bool NoPrefix, bool RightToLeft,
                            uint8_t Alpha, bool Intensive, int GlowSize, TColor Color, int Offset, UINT Flags,
                            const String& Text, const TRect& Rect) {
  if (Rebuild) FreeAndNil(Cache);
  if (!Canvas) return;
  const int d = GlowRadius(GlowSize);
  // Enlarged on every paint, not only the one that builds the layer, so that the text
  // stays where the layer was made for it.
  const TRect r = GlowTextRect(Rect, d);
  const UINT flags = GlowTextFlags(Flags, NoPrefix, RightToLeft);
  if (!Cache) {
    auto layer = std::make_unique<TBitmap>();
    BuildTextGlowLayer(layer.get(), Canvas, r, Intensive, d, Color, PlainMask(Text, flags));
    Cache = layer.release();
  }
  DrawGlowLayer(Cache, Canvas, r, d, Offset, Alpha);
  DrawCaption(Canvas, Text, r, flags);
}

void MakeImageGlowBitmap(TBitmap* Dest, TCustomImageList* ImageList, int Index, TColor Color, int GlowSize) {
  if (!Dest) return;
  TBitmap image;
  image.SetPixelFormat(pf32bit);
  if (ImageList) {
    image.SetSize(ImageList->Width(), ImageList->Height());  // transparent black
    // Lists of other depths keep no alpha: their images leave the picture transparent,
    // which is no shape at all.
    if (ImageList->ColorDepth() == cd32Bit) ImageList->GetBitmap(Index, &image);
  }
  MakeGlowBitmap(Dest, &image, GlowSize, Color);
}

namespace {

bool HasImage(TCustomImageList* ImageList, int Index) { return ImageList && Index >= 0 && Index < ImageList->Count(); }

void DrawImageOverGlow(TBitmap* Layer, TCanvas* Canvas, int X, int Y, uint8_t Alpha, int GlowSize, int Offset,
                       TCustomImageList* ImageList, int Index) {
  const int g = GlowRadius(GlowSize);
  DrawBitmapAlpha(Layer, Canvas, X + Offset - g, Y + Offset - g, Alpha);
  ImageList->Draw(Canvas, X, Y, Index, true);
}

}  // namespace

void DrawImageWithGlow(TCanvas* Canvas, int X, int Y, uint8_t Alpha, int GlowSize, TColor Color, int Offset, int Index,
                       TCustomImageList* ImageList) {
  if (!Canvas || !HasImage(ImageList, Index)) return;
  TBitmap layer;
  MakeImageGlowBitmap(&layer, ImageList, Index, Color, GlowSize);
  DrawImageOverGlow(&layer, Canvas, X, Y, Alpha, GlowSize, Offset, ImageList, Index);
}

void DrawImageWithCachedGlow(TBitmap*& Cache, bool Rebuild, TCanvas* Canvas, uint8_t Alpha, int GlowSize, TColor Color,
                             int Offset, TCustomImageList* ImageList, int Index, int X, int Y) {
  if (Rebuild) FreeAndNil(Cache);
  if (!Canvas || !HasImage(ImageList, Index)) return;
  if (!Cache) {
    auto layer = std::make_unique<TBitmap>();
    MakeImageGlowBitmap(layer.get(), ImageList, Index, Color, GlowSize);
    Cache = layer.release();
  }
  DrawImageOverGlow(Cache, Canvas, X, Y, Alpha, GlowSize, Offset, ImageList, Index);
}
