#include "qvImageCollection/BitmapOptions.h"

void TqvBitmapOptions::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TqvBitmapOptions*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FLeftMargin = src->FLeftMargin;
  FRightMargin = src->FRightMargin;
  FTopMargin = src->FTopMargin;
  FBottomMargin = src->FBottomMargin;
  FAlphaBlend = src->FAlphaBlend;
  FAlphaBlendBorder = src->FAlphaBlendBorder;
  FAlphaBlendCorners = src->FAlphaBlendCorners;
  FStretch = src->FStretch;
  FStretchBorder = src->FStretchBorder;
  FDrawOnlyBorder = src->FDrawOnlyBorder;
}

void TqvBitmapOptions::MarginChanged() {
  if (OnChange) OnChange(this);
}

void TqvBitmapOptions::SetLeftMargin(int Value) {
  FLeftMargin = Value;
  MarginChanged();
}

void TqvBitmapOptions::SetTopMargin(int Value) {
  FTopMargin = Value;
  MarginChanged();
}

void TqvBitmapOptions::SetRightMargin(int Value) {
  FRightMargin = Value;
  MarginChanged();
}

void TqvBitmapOptions::SetBottomMargin(int Value) {
  FBottomMargin = Value;
  MarginChanged();
}
