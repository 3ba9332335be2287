// TgxBitmap: the pixel buffer of the effects engine. A 32-bit, top-down, not
// premultiplied DIB section selected into its own memory DC, so that the platform can
// paint into it while the engine reads and writes its pixels directly.
#pragma once

#include "gx_bitmap/Pixels.h"
#include "vcl/Graphics.h"

// SetSize failures: "Can't allocate the DIB handle", "Can't create compatible DC",
// "Can't select an object into DC".
QV_DECLARE_EXCEPTION(EgxBitmapError, Exception);
// A stream or PCX image that cannot be read as it claims; the message names the problem.
QV_DECLARE_EXCEPTION(EgxStreamError, EgxBitmapError);

class TgxBitmapLink;

class TgxBitmap : public TPersistent {
  QV_CLASS(TgxBitmap, TPersistent)

  // Empty: no section, no DC, 0 x 0.
  TgxBitmap();
  ~TgxBitmap() override;

  // From a TgxBitmap (pixels, Name, Transparent, AlphaBlend), a TBitmap (32-bit pixels
  // as they are, then CheckingAlphaBlend; other formats opaque), any other TGraphic
  // (rendered, opaque) or a TPicture (its graphic). Null or an empty source empties the
  // bitmap. Anything else raises EConvertError.
  void Assign(TPersistent* Source) override;

  // Negative sizes count as positive; a zero size, or the current one, changes nothing
  // (pixels included). A new size starts with every pixel 0. Raises EgxBitmapError and
  // leaves the bitmap empty when the pixels or the DC cannot be had.
  void SetSize(int32_t AWidth, int32_t AHeight);
  bool Empty() const { return FHandle == nullptr; }
  // Every pixel := Color (all four bytes).
  void Clear(TgxColor Color);

  PgxColorArray Bits() const { return FBits; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  // Created on first use, bound to DC and rebound after every resize.
  TCanvas* Canvas();
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { FTransparent = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  bool NewFormat() const { return FNewFormat; }
  void SetNewFormat(bool Value) { FNewFormat = Value; }

  // The TgxBitmap whose DC this is, or null.
  static TgxBitmap* FromDC(HDC ADC);

  // ---- pixels (no bounds checks in the pointer forms) ----
  PgxColorArray GetScanLine(int32_t Y) const { return FBits + size_t(Y) * size_t(FWidth); }
  PgxColor GetPixelPtr(int32_t X, int32_t Y) const { return GetScanLine(Y) + X; }
  // 0 outside the bitmap or when it is empty; SetPixel writes only inside.
  TgxColor GetPixel(int32_t X, int32_t Y) const;
  void SetPixel(int32_t X, int32_t Y, TgxColor Value);

  // The alpha byte of every pixel, or of those in R (clipped), := Alpha.
  void SetAlpha(uint8_t Alpha);
  void SetAlpha(uint8_t Alpha, const TRect& R);
  // Each colour byte above its pixel's alpha is lowered to it.
  void CheckRGBA();
  // AlphaBlend := some pixel's alpha is neither 0 nor 255. The rectangle form scans the
  // whole bitmap all the same.
  void CheckingAlphaBlend();
  void CheckingAlphaBlend(const TRect& R);
  // Pixels whose red, green and blue each differ from Color's (0x00RRGGBB) by less than
  // 6 become the key colour with alpha 0; Transparent := some pixel did. The rectangle
  // form scans the whole bitmap all the same.
  void CheckingTransparent(TgxColor Color = gxKeyColor);
  void CheckingTransparent(TgxColor Color, const TRect& R);

  // Renders a framework graphic into DstRect; the pixels it leaves untouched (or paints
  // exactly magenta) keep their values.
  void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);

  // ---- drawing: copy, per-pixel alpha (AlphaBlend) or colour key (Transparent) ----
  // Onto a DC: a DC of another TgxBitmap is drawn in memory.
  void Draw(HDC ADC, int32_t X, int32_t Y);
  void Draw(HDC ADC, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(HDC ADC, const TRect& DstRect);
  void Draw(HDC ADC, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TCanvas* ACanvas, int32_t X, int32_t Y);
  void Draw(TCanvas* ACanvas, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(TCanvas* ACanvas, const TRect& DstRect);
  void Draw(TCanvas* ACanvas, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y);
  void Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y, const TRect& SrcRect);
  void Draw(TgxBitmap* Bitmap, const TRect& DstRect);
  // SrcRect (which must lie inside this bitmap) onto DstRect of Bitmap, stretched
  // nearest-neighbour: destination column x takes SrcRect.Left + x * (srcW - 1) div
  // (dstW - 1), or the middle column when dstW < 2; rows alike.
  void Draw(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);

  // SrcRect repeated over DstRect from its top-left; tiles cut at the right or bottom use
  // the top-left part of SrcRect. TileClip draws only what lies in DstClip.
  void Tile(HDC ADC, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TCanvas* ACanvas, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  void TileClip(HDC ADC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TCanvas* ACanvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TgxBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);

  // SrcRect of Bitmap merged under this bitmap's pixels at (X, Y) (see MergeRow).
  void MergeDraw(TgxBitmap* Bitmap, int32_t X, int32_t Y, const TRect& SrcRect);
  // R clipped to the bitmap; with AlphaBlend, Color is blended over it, else set.
  void FillRect(const TRect& R, TgxColor Color);

  // Rows upside down; the reflections flip and fade the alpha downwards (alpha div 3,
  // div 4 and div 2 at the top).
  void FlipVert();
  void Reflection();
  void Reflection2();
  void Reflection3();

  // Colour changes of every pixel whose alpha is not 0 (alpha kept).
  void ChangeBitmapBrightness(int32_t DeltaBrightness);
  void ChangeBitmapHue(int32_t DeltaHue);
  void ChangeBitmapSat(int32_t DeltaSat);
  void SetBitmapHue(int32_t Hue);

  // ---- streams and resources ----
  // Name (int32 count, UTF-16LE characters), width, height (int32), then the pixels,
  // top row first; a negative height means the rows are stored bottom row first.
  void SaveToStream(TStream* Stream);
  // Raises EgxStreamError, leaving the bitmap as it was, when the stream is shorter than
  // its sizes say or the sizes are invalid.
  void LoadFromStream(TStream* Stream);
  // An 8-bit ZSoft PCX image, from the position to the end of the stream. Does nothing
  // when the first byte is neither 10 nor 205 or the pixels are not 8 bits; raises
  // EgxStreamError (bitmap unchanged) when the header or the data lie.
  void LoadFromPcxStream(TStream* Stream);
  // A bitmap resource (type "BITMAP", or RCDATA holding a BMP file) of the program;
  // nothing when there is none. ResFileName names the module; the program is the only one.
  void LoadFromResource(const String& ResFileName, const String& ResName);

  // A new link (owned by the caller) to Rect of this bitmap, named like it. The text form
  // reads "left, top, right, bottom" (separators: blank ( ) , : ; =); any number that does
  // not convert gives the rectangle (0, 0, 0, 0).
  TgxBitmapLink* GetBitmapLink(const TRect& Rect);
  TgxBitmapLink* GetBitmapLink(const String& RectText);

 protected:
  // To a TPicture, a TBitmap (32 bits, this size, this drawn at (0, 0) in this bitmap's
  // mode) or any other destination through a temporary TBitmap.
  void AssignTo(TPersistent* Dest) override;

 private:
  void FreeHandles();
  void MakeEmpty();
  // A destination in 64 bits: a position plus a size, or a shifted rectangle, may leave
  // the 32-bit range.
  struct TDstRect {
    int64_t Left, Top, Right, Bottom;
  };
  static TDstRect DstAt(int32_t X, int32_t Y, const TRect& SrcRect);
  static TDstRect DstOf(const TRect& R) { return {R.Left, R.Top, R.Right, R.Bottom}; }
  // The in-memory draw with an extra clip in Bitmap's coordinates.
  void DrawToBitmap(TgxBitmap* Bitmap, const TDstRect& DstRect, const TRect& SrcRect, const TRect& Clip);
  void DrawToDC(HDC ADC, const TDstRect& DstRect, const TRect& SrcRect);
  template <class Target>
  void TileTo(Target T, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void FadeReflection(int32_t Divisor);
  template <class F>
  void ForEachHsl(F&& Change);

  PgxColorArray FBits = nullptr;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  String FName;
  BITMAPINFO FBitmapInfo{};
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  TCanvas* FCanvas = nullptr;
  bool FAlphaBlend = false;
  bool FTransparent = false;
  bool FNewFormat = false;
};

// The rectangle of the text form of GetBitmapLink.
TRect gxParseRectText(const String& RectText);
