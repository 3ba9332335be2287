#include "PngImage.h"

#include <cstring>
#include <vector>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kColorMaskAlpha = 4;  // libpng's PNG_COLOR_MASK_ALPHA
constexpr int kColorTypeRgb = 2;
constexpr int kColorTypeRgba = 6;

[[noreturn]] void Invalid(const String& reason) { throw EPngError("PNG image is not valid: " + reason); }

uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// The transparency a picture's alpha bytes amount to.
TPNGTransparencyMode ModeOfAlpha(TBitmap& image) {
  TPNGTransparencyMode mode = ptmNone;
  for (int y = 0; y < image.Height(); ++y) {
    const auto* row = static_cast<const uint32_t*>(image.ScanLine(y));
    for (int x = 0; x < image.Width(); ++x) {
      const uint32_t a = row[x] >> 24;
      if (a != 0 && a != 255) return ptmPartial;
      if (a == 0) mode = ptmBit;
    }
  }
  return mode;
}

}  // namespace

TPngImage::TPngImage() : FImage(std::make_unique<TBitmap>()) {
  FImage->SetPixelFormat(pf32bit);
  FImage->SetAlphaFormat(afDefined);
}

TPngImage::~TPngImage() = default;

void TPngImage::ImageChanged() {
  FDrawCache.reset();
  Changed(this);
}

void TPngImage::SetPixels(const Surface& Pixels, const PngInfo& Info) {
  auto image = std::make_unique<TBitmap>();
  image->SetPixelFormat(pf32bit);
  image->SetSize(Pixels.Width(), Pixels.Height());
  image->SetAlphaFormat(afDefined);
  for (int y = 0; y < Pixels.Height(); ++y) std::memcpy(image->ScanLine(y), Pixels.Row(y), size_t(Pixels.Width()) * 4);
  if (Info.ColorType & kColorMaskAlpha)
    FTransparencyMode = ptmPartial;
  else if (Info.HasAlpha)
    FTransparencyMode = ModeOfAlpha(*image) == ptmPartial ? ptmPartial : ptmBit;
  else
    FTransparencyMode = ptmNone;
  FImage = std::move(image);
  FHeader = Info;
  ImageChanged();
}

void TPngImage::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  // Collect the chunks up to IEND so the stream is left right after the picture.
  std::vector<uint8_t> bytes(sizeof kSignature);
  if (Stream->Read(bytes.data(), 8) != 8 || std::memcmp(bytes.data(), kSignature, 8) != 0) Invalid("no PNG signature");
  while (true) {
    uint8_t head[8];
    if (Stream->Read(head, 8) != 8) Invalid("unexpected end of data");
    const uint32_t length = Be32(head);
    if (length > 0x7FFFFFFFu || int64_t(length) + 4 > Stream->Size() - Stream->Position())
      Invalid("unexpected end of data");
    const size_t at = bytes.size();
    bytes.resize(at + 8 + length + 4);
    std::memcpy(bytes.data() + at, head, 8);
    Stream->ReadBuffer(bytes.data() + at + 8, int64_t(length) + 4);
    if (std::memcmp(head + 4, "IEND", 4) == 0) break;
  }
  PngInfo info;
  std::string error;
  std::unique_ptr<Surface> pixels = ReadPng(bytes.data(), bytes.size(), &info, &error);
  if (!pixels) Invalid(error);
  SetPixels(*pixels, info);
}

void TPngImage::SaveToStream(TStream* Stream) {
  if (!Stream || Empty()) return;
  std::vector<uint8_t> out;
  std::string error;
  if (!WritePng(*FImage->Handle()->Pixels, &out, &error)) throw EPngError("PNG image could not be written: " + error);
  Stream->WriteBuffer(out.data(), int64_t(out.size()));
}

void TPngImage::SetSize(int AWidth, int AHeight) {
  if (AWidth == Width() && AHeight == Height()) return;
  const bool grows = AWidth > Width() || AHeight > Height();
  FImage->SetSize(AWidth, AHeight);
  FHeader.Width = FImage->Width();
  FHeader.Height = FImage->Height();
  if (grows && FTransparencyMode == ptmNone && !FImage->Empty()) FTransparencyMode = ptmBit;
  ImageChanged();
}

void TPngImage::Assign(TPersistent* Source) {
  if (!Source) {
    FImage->Assign(nullptr);
    FTransparencyMode = ptmNone;
    FHeader = PngInfo{};
    ImageChanged();
    return;
  }
  if (auto* png = dynamic_cast<TPngImage*>(Source)) {
    if (png == this) return;
    FImage->Assign(png->FImage.get());
    FTransparencyMode = png->FTransparencyMode;
    FHeader = png->FHeader;
    ImageChanged();
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    if (bmp->Empty()) {
      Assign(nullptr);
      return;
    }
    auto image = std::make_unique<TBitmap>();
    image->Assign(bmp);
    const bool alpha = image->PixelFormat() == pf32bit && image->AlphaFormat() != afIgnored;
    image->SetAlphaFormat(afDefined);  // undoes premultiplication
    image->SetPixelFormat(pf32bit);
    if (!alpha) {
      for (int y = 0; y < image->Height(); ++y) {
        auto* row = static_cast<uint32_t*>(image->ScanLine(y));
        for (int x = 0; x < image->Width(); ++x) row[x] |= 0xFF000000u;
      }
    }
    FTransparencyMode = alpha ? ModeOfAlpha(*image) : ptmNone;
    FHeader = PngInfo{image->Width(), image->Height(), 8, alpha ? kColorTypeRgba : kColorTypeRgb, alpha};
    FImage = std::move(image);
    ImageChanged();
    return;
  }
  TGraphic::Assign(Source);
}

void TPngImage::AssignTo(TPersistent* Dest) {
  if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
    bmp->Assign(FImage.get());
    return;
  }
  TGraphic::AssignTo(Dest);
}

TBitmap* TPngImage::DrawImage() {
  if (!FDrawCache) {
    FDrawCache = std::make_unique<TBitmap>();
    FDrawCache->Assign(FImage.get());
    // An opaque picture is copied; any other is blended premultiplied.
    FDrawCache->SetAlphaFormat(FTransparencyMode == ptmNone ? afIgnored : afPremultiplied);
  }
  return FDrawCache.get();
}

void TPngImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || Empty()) return;
  DrawImage()->Draw(ACanvas, Rect);
}

void TPngImage::DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) {
  if (!ACanvas || Empty()) return;
  DrawImage()->DrawTransparent(ACanvas, Rect, Opacity);
}
