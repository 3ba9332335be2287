// TqvBitmapOptions: how an image of an image collection covers a rectangle: the margins
// of its fixed border parts (nine-part and three-part drawing), which parts blend with
// their alpha, whether the centre and the edges stretch or tile, and the insets where a
// control places its content on the image.
#pragma once

#include "vcl/Classes.h"

class TqvBitmapOptions : public TPersistent {
  QV_CLASS(TqvBitmapOptions, TPersistent)

  TqvBitmapOptions() = default;

  // From another TqvBitmapOptions: the four margins and the blend, stretch and
  // DrawOnlyBorder flags (not DrawInClipRect, not the content margins), without OnChange.
  void Assign(TPersistent* Source) override;

  // The margin setters tell OnChange every time, changed or not: the owner recomputes
  // the alpha flags from its picture.
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int Value);
  int TopMargin() const { return FTopMargin; }
  void SetTopMargin(int Value);
  int RightMargin() const { return FRightMargin; }
  void SetRightMargin(int Value);
  int BottomMargin() const { return FBottomMargin; }
  void SetBottomMargin(int Value);

  // Blend with the alpha channel: the centre part, the four edge parts, the corners (and
  // the end parts of a three-part image). Otherwise those parts are copied opaque.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
  bool AlphaBlendBorder() const { return FAlphaBlendBorder; }
  void SetAlphaBlendBorder(bool Value) { FAlphaBlendBorder = Value; }
  bool AlphaBlendCorners() const { return FAlphaBlendCorners; }
  void SetAlphaBlendCorners(bool Value) { FAlphaBlendCorners = Value; }
  // The centre part stretched (else tiled); the edge parts stretched (else tiled).
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value) { FStretch = Value; }
  bool StretchBorder() const { return FStretchBorder; }
  void SetStretchBorder(bool Value) { FStretchBorder = Value; }
  bool DrawOnlyBorder() const { return FDrawOnlyBorder; }
  void SetDrawOnlyBorder(bool Value) { FDrawOnlyBorder = Value; }
  // The collection clips the drawing to the target rectangle.
  bool DrawInClipRect() const { return FDrawInClipRect; }
  void SetDrawInClipRect(bool Value) { FDrawInClipRect = Value; }

  int ContentLeftMargin() const { return FContentLeftMargin; }
  void SetContentLeftMargin(int Value) { FContentLeftMargin = Value; }
  int ContentRightMargin() const { return FContentRightMargin; }
  void SetContentRightMargin(int Value) { FContentRightMargin = Value; }
  int ContentTopMargin() const { return FContentTopMargin; }
  void SetContentTopMargin(int Value) { FContentTopMargin = Value; }
  int ContentBottomMargin() const { return FContentBottomMargin; }
  void SetContentBottomMargin(int Value) { FContentBottomMargin = Value; }

  TNotifyEvent OnChange;

 private:
  void MarginChanged();

  int FLeftMargin = 0;
  int FRightMargin = 0;
  int FTopMargin = 0;
  int FBottomMargin = 0;
  bool FAlphaBlend = false;
  bool FAlphaBlendBorder = false;
  bool FAlphaBlendCorners = false;
  bool FStretch = true;
  bool FStretchBorder = false;
  bool FDrawOnlyBorder = false;
  bool FDrawInClipRect = false;
  int FContentLeftMargin = 0;
  int FContentRightMargin = 0;
  int FContentTopMargin = 0;
  int FContentBottomMargin = 0;
};
