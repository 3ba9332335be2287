// TgxBitmap: lifetime, size, the DC list, pixel access, alpha checks and conversion.
#include "gx_bitmap/Bitmap.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_map>

#include "gx_bitmap/Link.h"

namespace {

// Which TgxBitmap owns a DC. Never destroyed, so bitmaps that outlive static
// destruction can still leave it.
std::unordered_map<HDC, TgxBitmap*>& DCList() {
  static auto* list = new std::unordered_map<HDC, TgxBitmap*>;
  return *list;
}

int32_t Magnitude(int32_t v) { return v == INT32_MIN ? INT32_MAX : std::abs(v); }

}  // namespace

TgxBitmap::TgxBitmap() {
  FBitmapInfo.bmiHeader.biSize = 40;
  FBitmapInfo.bmiHeader.biPlanes = 1;
  FBitmapInfo.bmiHeader.biBitCount = 32;
  FBitmapInfo.bmiHeader.biCompression = BI_RGB;
}

TgxBitmap::~TgxBitmap() {
  FreeHandles();
  delete FCanvas;
}

TgxBitmap* TgxBitmap::FromDC(HDC ADC) {
  if (!ADC) return nullptr;
  auto& list = DCList();
  const auto it = list.find(ADC);
  return it == list.end() ? nullptr : it->second;
}

void TgxBitmap::FreeHandles() {
  if (FDC) DCList().erase(FDC);
  if (FCanvas) FCanvas->SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
  if (FHandle) DeleteObject(FHandle);
  FDC = nullptr;
  FHandle = nullptr;
  FBits = nullptr;
  FWidth = 0;
  FHeight = 0;
}

void TgxBitmap::MakeEmpty() { FreeHandles(); }

void TgxBitmap::SetSize(int32_t AWidth, int32_t AHeight) {
  AWidth = Magnitude(AWidth);
  AHeight = Magnitude(AHeight);
  if (AWidth == 0 || AHeight == 0 || (AWidth == FWidth && AHeight == FHeight)) return;
  FreeHandles();

  FBitmapInfo.bmiHeader.biWidth = AWidth;
  FBitmapInfo.bmiHeader.biHeight = -AHeight;
  void* bits = nullptr;
  HBITMAP handle = nullptr;
  try {
    handle = CreateDIBSection(nullptr, &FBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  } catch (const std::bad_alloc&) {
    handle = nullptr;
  }
  if (!handle || !bits) {
    if (handle) DeleteObject(handle);
    throw EgxBitmapError("Can't allocate the DIB handle");
  }
  // A new section's pixels are zero already.
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) {
    DeleteObject(handle);
    throw EgxBitmapError("Can't create compatible DC");
  }
  if (!SelectObject(dc, handle)) {
    DeleteDC(dc);
    DeleteObject(handle);
    throw EgxBitmapError("Can't select an object into DC");
  }
  FHandle = handle;
  FDC = dc;
  FBits = static_cast<PgxColorArray>(bits);
  FWidth = AWidth;
  FHeight = AHeight;
  DCList()[FDC] = this;
  if (FCanvas) FCanvas->SetHandle(FDC);
}

void TgxBitmap::Clear(TgxColor Color) {
  if (!FBits) return;
  gxFillRow(FBits, FWidth * FHeight, Color);
}

TCanvas* TgxBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = new TCanvas;
    FCanvas->SetHandle(FDC);
  }
  return FCanvas;
}

// ---- pixels ----

TgxColor TgxBitmap::GetPixel(int32_t X, int32_t Y) const {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return *GetPixelPtr(X, Y);
}

void TgxBitmap::SetPixel(int32_t X, int32_t Y, TgxColor Value) {
  if (!FBits || X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  *GetPixelPtr(X, Y) = Value;
}

void TgxBitmap::SetAlpha(uint8_t Alpha) {
  if (!FBits) return;
  gxSetAlphaRow(FBits, FWidth * FHeight, Alpha);
}

void TgxBitmap::SetAlpha(uint8_t Alpha, const TRect& R) {
  if (R.Right == R.Left || R.Bottom == R.Top) return;
  gxSetAlphaRect(FBits, FWidth, FHeight, R, Alpha);
}

void TgxBitmap::CheckRGBA() {
  if (!FBits) return;
  gxCheckRGBARow(FBits, FWidth * FHeight);
}

void TgxBitmap::CheckingAlphaBlend() {
  FAlphaBlend = false;
  if (!FBits) return;
  const size_t n = size_t(FWidth) * size_t(FHeight);
  for (size_t i = 0; i < n; ++i) {
    const TgxColor a = FBits[i] >> 24;
    if (a != 0 && a != 255) {
      FAlphaBlend = true;
      return;
    }
  }
}

void TgxBitmap::CheckingAlphaBlend(const TRect&) { CheckingAlphaBlend(); }

void TgxBitmap::CheckingTransparent(TgxColor Color) {
  FTransparent = false;
  if (!FBits) return;
  const int32_t cr = int32_t((Color >> 16) & 0xFF), cg = int32_t((Color >> 8) & 0xFF), cb = int32_t(Color & 0xFF);
  const size_t n = size_t(FWidth) * size_t(FHeight);
  for (size_t i = 0; i < n; ++i) {
    const TgxColor p = FBits[i];
    if (std::abs(int32_t((p >> 16) & 0xFF) - cr) < 6 && std::abs(int32_t((p >> 8) & 0xFF) - cg) < 6 &&
        std::abs(int32_t(p & 0xFF) - cb) < 6) {
      FBits[i] = gxKeyColor;
      FTransparent = true;
    }
  }
}

void TgxBitmap::CheckingTransparent(TgxColor Color, const TRect&) { CheckingTransparent(Color); }

// ---- conversion ----

void TgxBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    MakeEmpty();
    return;
  }
  if (auto* gx = dynamic_cast<TgxBitmap*>(Source)) {
    if (gx->Empty()) {
      MakeEmpty();
    } else {
      SetSize(gx->FWidth, gx->FHeight);
      std::memcpy(FBits, gx->FBits, size_t(FWidth) * size_t(FHeight) * sizeof(TgxColor));
    }
    FName = gx->FName;
    FTransparent = gx->FTransparent;
    FAlphaBlend = gx->FAlphaBlend;
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Source)) {
    if (bmp->Empty() || bmp->Width() <= 0 || bmp->Height() <= 0) {
      MakeEmpty();
      return;
    }
    SetSize(bmp->Width(), bmp->Height());
    if (bmp->PixelFormat() == pf32bit && bmp->HandleType() == bmDIB) {
      for (int32_t y = 0; y < FHeight; ++y)
        std::memcpy(GetScanLine(y), bmp->ScanLine(y), size_t(FWidth) * sizeof(TgxColor));
      CheckingAlphaBlend();
    } else {
      BitBlt(FDC, 0, 0, FWidth, FHeight, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
      SetAlpha(255);
    }
    return;
  }
  if (auto* graphic = dynamic_cast<TGraphic*>(Source)) {
    if (graphic->Empty() || graphic->Width() <= 0 || graphic->Height() <= 0) {
      MakeEmpty();
      return;
    }
    SetSize(graphic->Width(), graphic->Height());
    DrawGraphic(graphic, {0, 0, FWidth, FHeight});
    SetAlpha(255);
    return;
  }
  if (auto* picture = dynamic_cast<TPicture*>(Source)) {
    if (picture->Graphic())
      Assign(picture->Graphic());
    else
      MakeEmpty();
    return;
  }
  TPersistent::Assign(Source);
}

namespace {

void AssignToBitmap(TgxBitmap* Self, TBitmap* Target) {
  if (Self->Empty()) {
    Target->Assign(nullptr);
    return;
  }
  Target->SetPixelFormat(pf32bit);
  Target->SetSize(Self->Width(), Self->Height());
  Self->Draw(Target->Canvas(), 0, 0);
}

}  // namespace

void TgxBitmap::AssignTo(TPersistent* Dest) {
  if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
    AssignToBitmap(this, picture->Bitmap());
    return;
  }
  if (auto* bmp = dynamic_cast<TBitmap*>(Dest)) {
    AssignToBitmap(this, bmp);
    return;
  }
  if (!Dest) {
    TPersistent::AssignTo(Dest);
    return;
  }
  TBitmap temp;
  AssignToBitmap(this, &temp);
  Dest->Assign(&temp);
}

void TgxBitmap::DrawGraphic(TGraphic* Graphic, const TRect& DstRect) {
  if (!Graphic || Empty()) return;
  // Magenta marks what the graphic leaves untouched; those pixels keep their values.
  constexpr TColor kMagenta = 0xFF00FF;
  TBitmap temp;
  temp.SetPixelFormat(pf32bit);
  temp.SetSize(FWidth, FHeight);
  TCanvas* c = temp.Canvas();
  c->Brush()->SetColor(kMagenta);
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetColor(kMagenta);
  c->Rectangle(-1, -1, FWidth + 1, FHeight + 1);
  c->StretchDraw(DstRect, Graphic);
  for (int32_t y = 0; y < FHeight; ++y) {
    const auto* src = static_cast<const TgxColor*>(temp.ScanLine(y));
    TgxColor* dst = GetScanLine(y);
    for (int32_t x = 0; x < FWidth; ++x)
      if ((src[x] & gxColorMask) != 0xFF00FFu) dst[x] = src[x];
  }
}
