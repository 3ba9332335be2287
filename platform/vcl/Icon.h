// TIcon: a small picture with alpha, held as 32-bit straight-alpha pixels. It is made by
// assignment (from a bitmap, a PNG image or another icon) or by SetSize and drawing on
// the bitmap it hands out; icon files are not read or written.
#pragma once

#include <memory>

#include "Bitmap.h"

class TIcon : public TGraphic {
  QV_CLASS(TIcon, TGraphic)

  TIcon();
  ~TIcon() override;

  // From a TIcon, a TBitmap (32-bit afDefined/afPremultiplied keeps its alpha, anything
  // else is opaque), a TPngImage, or null (empty).
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FImage->Empty(); }
  int Width() const override { return FImage->Width(); }
  int Height() const override { return FImage->Height(); }
  void SetWidth(int Value) override { SetSize(Value, Height()); }
  void SetHeight(int Value) override { SetSize(Width(), Value); }
  void SetSize(int AWidth, int AHeight) override;
  bool Transparent() const override { return true; }
  bool SupportsPartialTransparency() const override { return true; }

  // The pixels, 32-bit afDefined; drawing on it changes the icon.
  TBitmap* Image() const { return FImage.get(); }

  // Raise EInvalidGraphic: the icon file format is not supported.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) override;

  TGraphic* NewOfSameClass() const override { return new TIcon; }

 protected:
  // To a TBitmap: 32 bits per pixel, afDefined.
  void AssignTo(TPersistent* Dest) override;

 private:
  std::unique_ptr<TBitmap> FImage;
};
