#include "Bitmap.h"

#include <algorithm>
#include <cstring>

#include "BmpCodec.h"

namespace {

TPixelFormat Normalized(TPixelFormat f) { return f == pfDevice || f == pf32bit ? f : pf24bit; }

Surface& PixelsOf(HBITMAP b) { return *b->Pixels; }

void CopyPixels(const Surface& from, Surface& to) {
  const int w = std::min(from.Width(), to.Width()), h = std::min(from.Height(), to.Height());
  for (int y = 0; y < h; ++y) std::memcpy(to.Row(y), from.Row(y), size_t(w) * 4);
}

void SetAlpha255(Surface& s) {
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) row[x] |= 0xFF000000u;
  }
}

uint32_t Premultiplied(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 255) return p;
  auto mul = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (mul((p >> 16) & 0xFF) << 16) | (mul((p >> 8) & 0xFF) << 8) | mul(p & 0xFF);
}

uint32_t Unpremultiplied(uint32_t p) {
  const uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto div = [a](uint32_t c) { return std::min<uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (div((p >> 16) & 0xFF) << 16) | (div((p >> 8) & 0xFF) << 8) | div(p & 0xFF);
}

template <class F>
void MapPixels(Surface& s, F&& f) {
  for (int y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int x = 0; x < s.Width(); ++x) row[x] = f(row[x]);
  }
}

HBITMAP NewDib(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biBitCount = 32;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

// A memory DC with a bitmap selected, released at the end of the scope.
class ScratchDC {
 public:
  explicit ScratchDC(HBITMAP b) : FBitmap(b), FDC(b ? CreateCompatibleDC(nullptr) : nullptr) {
    if (FDC) FOld = SelectObject(FDC, FBitmap);
  }
  ~ScratchDC() {
    if (FDC) {
      SelectObject(FDC, FOld);
      DeleteDC(FDC);
    }
    if (FBitmap) DeleteObject(FBitmap);
  }
  ScratchDC(const ScratchDC&) = delete;
  ScratchDC& operator=(const ScratchDC&) = delete;
  HDC DC() const { return FDC; }

 private:
  HBITMAP FBitmap;
  HDC FDC;
  HGDIOBJ FOld = nullptr;
};

}  // namespace

// ---- TBitmapCanvas ----

TBitmapCanvas::~TBitmapCanvas() {
  SetHandle(nullptr);
  if (FDC) DeleteDC(FDC);
}

void TBitmapCanvas::CreateHandle() {
  if (!FDC) FDC = CreateCompatibleDC(nullptr);
  if (!FDC) return;
  Reselect();
  SetHandle(FDC);
}

void TBitmapCanvas::Reselect() {
  if (!FDC) return;
  SelectObject(FDC, FBitmap->FHandle ? static_cast<HGDIOBJ>(FBitmap->FHandle) : GetStockBitmap());
}

HDC TBitmapCanvas::SourceDC() {
  RequiredState({csHandleValid});
  return CurrentHandle();
}

// ---- TBitmap ----

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

TBitmap::~TBitmap() {
  delete FCanvas;
  if (FHandle) DeleteObject(FHandle);
}

TCanvas* TBitmap::Canvas() {
  if (!FCanvas) {
    FCanvas = new TBitmapCanvas(this);
    FCanvas->OnChange = [this](TObject*) { Changed(this); };
  }
  return FCanvas;
}

HDC TBitmap::SourceDC() {
  Canvas();
  return FCanvas->SourceDC();
}

HBITMAP TBitmap::NewHandle(TPixelFormat Format, int AWidth, int AHeight) const {
  if (AWidth <= 0 || AHeight <= 0) return nullptr;
  if (Format == pf32bit) return NewDib(AWidth, AHeight);
  HBITMAP b = Format == pfDevice ? CreateCompatibleBitmap(nullptr, AWidth, AHeight)
                                 : CreateBitmap(AWidth, AHeight, 1, 24, nullptr);
  if (b) PixelsOf(b).Fill(0xFFFFFFFFu);
  return b;
}

void TBitmap::ReplaceHandle(HBITMAP Value, int AWidth, int AHeight) {
  HBITMAP old = FHandle;
  FHandle = Value;
  FWidth = AWidth;
  FHeight = AHeight;
  if (FCanvas) FCanvas->Reselect();
  if (old && old != Value) DeleteObject(old);
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value == FHandle) return;
  if (!Value) {
    ReplaceHandle(nullptr, 0, 0);
    Changed(this);
    return;
  }
  GdiBitmap* b = LiveObject<GdiBitmap>(Value, OBJ_BITMAP);
  if (!b) throw EInvalidGraphic("Invalid bitmap handle");
  const Surface& s = *b->Pixels;
  FPixelFormat = s.HasAlpha() ? (b->BitsPixel == 32 ? pf32bit : pf24bit) : (b->BitsPixel == 32 ? pfDevice : pf24bit);
  ReplaceHandle(Value, s.Width(), s.Height());
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  HBITMAP h = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  if (FCanvas) FCanvas->Reselect();
  Changed(this);
  return h;
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == FWidth && AHeight == FHeight) return;
  HBITMAP next = nullptr;
  if (AWidth > 0 && AHeight > 0) {
    next = NewHandle(FPixelFormat, AWidth, AHeight);
    if (!next) throw EOutOfResources("Out of system resources");
    if (FHandle) CopyPixels(PixelsOf(FHandle), PixelsOf(next));
  }
  ReplaceHandle(next, AWidth, AHeight);
  Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  Value = Normalized(Value);
  if (Value == FPixelFormat) return;
  if (FHandle) {
    HBITMAP next = NewHandle(Value, FWidth, FHeight);
    if (!next) throw EOutOfResources("Out of system resources");
    CopyPixels(PixelsOf(FHandle), PixelsOf(next));
    // An opaque picture has no alpha to keep, in either direction.
    if (Value != pf32bit || FPixelFormat != pf32bit) SetAlpha255(PixelsOf(next));
    ReplaceHandle(next, FWidth, FHeight);
  }
  FPixelFormat = Value;
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  SetPixelFormat(Value == bmDDB ? pfDevice : pf32bit);
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
  if (Value == FAlphaFormat || Value < afIgnored || Value > afPremultiplied) return;
  if (FHandle && FPixelFormat == pf32bit) {
    if (Value == afPremultiplied)
      MapPixels(PixelsOf(FHandle), Premultiplied);
    else if (FAlphaFormat == afPremultiplied)
      MapPixels(PixelsOf(FHandle), Unpremultiplied);
  }
  FAlphaFormat = Value;
  Changed(this);
}

void* TBitmap::ScanLine(int Row) {
  if (!FHandle || Row < 0 || Row >= FHeight) throw EInvalidGraphicOperation("Scan line index out of range");
  return PixelsOf(FHandle).Row(Row);
}

TColor TBitmap::TransparentColor() {
  if (FTransparentColor != clDefault) return FTransparentColor;
  if (!FHandle) return clDefault;
  return TColor(ColorRefFromPixel(PixelsOf(FHandle).At(0, FHeight - 1)));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  if (Value == tmAuto)
    SetTransparentColor(clDefault);
  else
    SetTransparentColor(TransparentColor());
}

void TBitmap::Assign(TPersistent* Source) {
  if (!Source) {
    if (FWidth == 0 && FHeight == 0 && !FHandle) return;
    ReplaceHandle(nullptr, 0, 0);
    Changed(this);
    return;
  }
  auto* src = dynamic_cast<TBitmap*>(Source);
  if (!src) {
    TGraphic::Assign(Source);
    return;
  }
  if (src == this) return;
  HBITMAP next = nullptr;
  if (src->FHandle) {
    next = NewHandle(src->FPixelFormat, src->FWidth, src->FHeight);
    if (!next) throw EOutOfResources("Out of system resources");
    CopyPixels(PixelsOf(src->FHandle), PixelsOf(next));
  }
  FPixelFormat = src->FPixelFormat;
  FAlphaFormat = src->FAlphaFormat;
  FTransparent = src->FTransparent;
  FTransparentColor = src->FTransparentColor;
  FTransparentMode = src->FTransparentMode;
  ReplaceHandle(next, src->FWidth, src->FHeight);
  Changed(this);
}

void TBitmap::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  if (Stream->Size() - Stream->Position() <= 0) {
    Assign(nullptr);
    return;
  }
  const BmpImage image = ReadBmp(Stream);
  const TPixelFormat format = image.BitCount == 32 ? pf32bit : pf24bit;
  HBITMAP next = NewHandle(format, image.Width, image.Height);
  if (!next) throw EOutOfResources("Out of system resources");
  Surface& s = PixelsOf(next);
  for (int y = 0; y < image.Height; ++y)
    std::memcpy(s.Row(y), image.Pixels.data() + size_t(y) * size_t(image.Width), size_t(image.Width) * 4);
  FPixelFormat = format;
  FAlphaFormat = afIgnored;
  ReplaceHandle(next, image.Width, image.Height);
  Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (!Stream || !FHandle) return;
  WriteBmp(Stream, PixelsOf(FHandle), FPixelFormat == pf32bit ? 32 : 24);
}

namespace {
// The target's DC with its tools selected, without change notifications: the canvas's
// Draw tells those.
HDC TargetDC(TCanvas* canvas) {
  canvas->RequiredState({csHandleValid, csFontValid, csPenValid, csBrushValid});
  return canvas->CurrentHandle();
}
}  // namespace

void TBitmap::BlendOnto(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity, bool PerPixelAlpha) {
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = Opacity;
  blend.AlphaFormat = PerPixelAlpha ? AC_SRC_ALPHA : 0;
  HDC dst = TargetDC(ACanvas);
  if (PerPixelAlpha && FAlphaFormat == afDefined) {
    // Straight alpha is blended from a premultiplied copy; the picture stays as it is.
    HBITMAP copy = NewDib(FWidth, FHeight);
    if (!copy) return;
    CopyPixels(PixelsOf(FHandle), PixelsOf(copy));
    MapPixels(PixelsOf(copy), Premultiplied);
    ScratchDC scratch(copy);
    AlphaBlend(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), scratch.DC(), 0, 0, FWidth, FHeight, blend);
    return;
  }
  AlphaBlend(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), SourceDC(), 0, 0, FWidth, FHeight, blend);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || !FHandle) return;
  if (SupportsPartialTransparency()) {
    BlendOnto(ACanvas, Rect, 255, true);
    return;
  }
  HDC dst = TargetDC(ACanvas);
  HDC src = SourceDC();
  if (FTransparent) {
    TransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight,
                   UINT(ColorToRGB(TransparentColor())) & 0xFFFFFFu);
    return;
  }
  const int oldMode = SetStretchBltMode(dst, COLORONCOLOR);
  StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src, 0, 0, FWidth, FHeight, ACanvas->CopyMode());
  if (oldMode) SetStretchBltMode(dst, oldMode);
}

void TBitmap::DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) {
  if (!ACanvas || !FHandle) return;
  const bool perPixel = SupportsPartialTransparency();
  if (!perPixel && Opacity == 255) {
    Draw(ACanvas, Rect);
    return;
  }
  BlendOnto(ACanvas, Rect, Opacity, perPixel);
}
