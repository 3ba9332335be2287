#include "Picture.h"

#include <cstring>
#include <memory>

#include "Bitmap.h"
#include "Icon.h"
#include "PngImage.h"

TPicture::~TPicture() {
  if (FGraphic) {
    FGraphic->OnChange = nullptr;
    delete FGraphic;
  }
}

void TPicture::Adopt(TGraphic* Value) {
  TGraphic* old = FGraphic;
  FGraphic = Value;
  if (FGraphic) FGraphic->OnChange = [this](TObject* sender) { Changed(sender); };
  if (old) {
    old->OnChange = nullptr;
    delete old;
  }
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == FGraphic) return;
  if (!Value) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> copy(Value->NewOfSameClass());
  copy->Assign(Value);
  Adopt(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (auto* b = dynamic_cast<TBitmap*>(FGraphic)) return b;
  Adopt(new TBitmap);
  return static_cast<TBitmap*>(FGraphic);
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }

TIcon* TPicture::Icon() {
  if (auto* i = dynamic_cast<TIcon*>(FGraphic)) return i;
  Adopt(new TIcon);
  return static_cast<TIcon*>(FGraphic);
}

void TPicture::SetIcon(TIcon* Value) { SetGraphic(Value); }

int TPicture::Width() const { return FGraphic ? FGraphic->Width() : 0; }
int TPicture::Height() const { return FGraphic ? FGraphic->Height() : 0; }

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->FGraphic);
  } else if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (FGraphic && dynamic_cast<TGraphic*>(Dest)) {
    Dest->Assign(FGraphic);
    return;
  }
  TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  uint8_t head[8] = {};
  const int64_t start = Stream->Position();
  const int64_t n = Stream->Read(head, sizeof head);
  Stream->SetPosition(start);
  static constexpr uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::unique_ptr<TGraphic> graphic;
  if (n == 8 && std::memcmp(head, kPng, 8) == 0)
    graphic = std::make_unique<TPngImage>();
  else if (n >= 2 && head[0] == 'B' && head[1] == 'M')
    graphic = std::make_unique<TBitmap>();
  else
    throw EInvalidGraphic("Unsupported image format");
  graphic->LoadFromStream(Stream);
  Adopt(graphic.release());
}

void TPicture::SaveToStream(TStream* Stream) {
  if (FGraphic) FGraphic->SaveToStream(Stream);
}

void TPicture::LoadFromFile(const String& FileName) {
  TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&stream);
}

void TPicture::SaveToFile(const String& FileName) {
  TFileStream stream(FileName, fmCreate);
  SaveToStream(&stream);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}
