// TPngImage: a PNG picture decoded to 32-bit straight-alpha pixels (libpng through the
// drawing layer) and drawn with its alpha.
#pragma once

#include <memory>

#include "Bitmap.h"
#include "gdi/Png.h"

QV_DECLARE_EXCEPTION(EPngError, EInvalidGraphic);

enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

class TPngImage : public TGraphic {
  QV_CLASS(TPngImage, TGraphic)

  TPngImage();
  ~TPngImage() override;

  // From a TPngImage (a copy), a TBitmap (32-bit afDefined or afPremultiplied keeps its
  // alpha, anything else is opaque) or null (empty).
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FImage->Empty(); }
  int Width() const override { return FImage->Width(); }
  int Height() const override { return FImage->Height(); }
  // Keeps the top-left part; new pixels are transparent.
  void SetWidth(int Value) override { SetSize(Value, Height()); }
  void SetHeight(int Value) override { SetSize(Width(), Value); }
  void SetSize(int AWidth, int AHeight) override;

  // ptmPartial for an alpha channel or a transparency chunk with partial alpha, ptmBit
  // for fully transparent or opaque pixels only, ptmNone without transparency.
  TPNGTransparencyMode TransparencyMode() const { return FTransparencyMode; }
  bool Transparent() const override { return FTransparencyMode != ptmNone; }
  void SetTransparent(bool) override {}
  bool SupportsPartialTransparency() const override { return FTransparencyMode == ptmPartial; }
  // What the file said: size, bit depth, colour type.
  const PngInfo& Header() const { return FHeader; }

  // Reads one PNG (signature to IEND) from the position and leaves the position after it.
  // Raises EPngError "PNG image is not valid: <reason>".
  void LoadFromStream(TStream* Stream) override;
  // 8-bit RGBA.
  void SaveToStream(TStream* Stream) override;

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) override;

  TGraphic* NewOfSameClass() const override { return new TPngImage; }

 protected:
  // To a TBitmap: 32 bits per pixel, afDefined, straight alpha.
  void AssignTo(TPersistent* Dest) override;

 private:
  void SetPixels(const Surface& Pixels, const PngInfo& Info);
  void ImageChanged();
  TBitmap* DrawImage();

  // The pixels, 32-bit afDefined (straight alpha).
  std::unique_ptr<TBitmap> FImage;
  // A premultiplied copy for drawing, made when first needed after a change.
  std::unique_ptr<TBitmap> FDrawCache;
  TPNGTransparencyMode FTransparencyMode = ptmNone;
  PngInfo FHeader;
};
