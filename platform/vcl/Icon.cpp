#include "Icon.h"

#include "PngImage.h"

TIcon::TIcon() : FImage(std::make_unique<TBitmap>()) {
  FImage->SetPixelFormat(pf32bit);
  FImage->SetAlphaFormat(afDefined);
  FImage->OnChange = [this](TObject*) { Changed(this); };
}

TIcon::~TIcon() { FImage->OnChange = nullptr; }

void TIcon::Assign(TPersistent* Source) {
  if (!Source) {
    FImage->Assign(nullptr);
    return;
  }
  if (auto* icon = dynamic_cast<TIcon*>(Source)) {
    if (icon != this) FImage->Assign(icon->FImage.get());
    return;
  }
  TBitmap* bmp = dynamic_cast<TBitmap*>(Source);
  TBitmap converted;
  if (!bmp) {
    if (!dynamic_cast<TPngImage*>(Source)) {
      TGraphic::Assign(Source);
      return;
    }
    converted.Assign(Source);
    bmp = &converted;
  }
  // The PNG image knows how to make straight alpha of any bitmap.
  TPngImage straight;
  straight.Assign(bmp);
  FImage->Assign(&straight);
}

void TIcon::AssignTo(TPersistent* Dest) {
  if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
    bmp->Assign(FImage.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

void TIcon::SetSize(int AWidth, int AHeight) { FImage->SetSize(AWidth, AHeight); }

void TIcon::LoadFromStream(TStream*) { throw EInvalidGraphic("Icon files are not supported"); }
void TIcon::SaveToStream(TStream*) { throw EInvalidGraphic("Icon files are not supported"); }

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) { FImage->Draw(ACanvas, Rect); }

void TIcon::DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) {
  FImage->DrawTransparent(ACanvas, Rect, Opacity);
}
