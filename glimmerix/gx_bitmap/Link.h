// TgxBitmapLink: a named rectangle inside a TgxBitmap, which it does not own.
#pragma once

#include "gx_bitmap/Bitmap.h"

class TgxBitmapLink : public TPersistent {
  QV_CLASS(TgxBitmapLink, TPersistent)

  TgxBitmapLink() = default;

  // From another link: image, rectangle, name and the three masked flags.
  void Assign(TPersistent* Source) override;

  // The name as the bitmap stream stores it, then left, top, right, bottom (int32).
  // LoadFromStream raises EgxStreamError, leaving the link as it was, on a short stream.
  void LoadFromStream(TStream* Stream);
  void SaveToStream(TStream* Stream);

  // Clears the three flags, then sets them from the masked pixels of the rectangle (not
  // 0, and key-coloured or not opaque): Masked for any, with no margin; with a margin
  // (left, top, right, bottom widths), MaskedAngles for the corners, MaskedBorder for the
  // edges and Masked for the centre. Pixels outside the image do not count.
  void CheckingMasked();
  void CheckingMasked(const TRect& Margin);

  // The rectangle of the image, unscaled at (X, Y), when the link is assigned.
  void Draw(TCanvas* Canvas, int32_t X, int32_t Y);
  void Draw(TgxBitmap* Bitmap, int32_t X, int32_t Y);

  // An image, and a rectangle of positive area.
  bool Assigned() const { return FImage != nullptr && FRect.Right > FRect.Left && FRect.Bottom > FRect.Top; }

  TgxBitmap* Image() const { return FImage; }
  void SetImage(TgxBitmap* Value) { FImage = Value; }
  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& Value) { FRect = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  bool MaskedBorder() const { return FMaskedBorder; }
  bool MaskedAngles() const { return FMaskedAngles; }
  bool Masked() const { return FMasked; }

 private:
  TgxBitmap* FImage = nullptr;
  TRect FRect{};
  String FName;
  bool FMaskedBorder = false;
  bool FMaskedAngles = false;
  bool FMasked = false;
};
