#include "Graphic.h"

#include "Bitmap.h"

void TGraphic::SetSize(int AWidth, int AHeight) {
  SetWidth(AWidth);
  SetHeight(AHeight);
}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed(this);
}

void TGraphic::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const String& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TGraphic::DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) {
  if (!ACanvas || Empty()) return;
  // Render the picture over transparent pixels, then blend that.
  TBitmap layer;
  layer.SetPixelFormat(pf32bit);
  layer.SetSize(Width(), Height());
  layer.SetAlphaFormat(afPremultiplied);
  Draw(layer.Canvas(), Bounds(0, 0, Width(), Height()));
  layer.DrawTransparent(ACanvas, Rect, Opacity);
}

void TGraphic::Changed(TObject*) {
  FModified = true;
  if (OnChange) OnChange(this);
}
