#include "qvImageCollection/ImageCollection.h"

#include <algorithm>

#include "gdi/DC.h"
#include "qvDrawUtils/Bitmaps.h"
#include "qvImageCollection/BitmapDrawing.h"

namespace {

constexpr TColor kNoTint = clFuchsia;

bool Is32(TBitmap* Bitmap) { return Bitmap->PixelFormat() == pf32bit; }

// Some pixel with alpha below 255 in x1..x2, y1..y2 (both ends included), read only
// where that lies on the bitmap: margins at or past its size reach outside it. In 64 bits,
// because a stored margin may be any Integer and the ranges add to it.
bool RangeHasAlpha(TBitmap* Bitmap, int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  x1 = std::max<int64_t>(x1, 0);
  y1 = std::max<int64_t>(y1, 0);
  x2 = std::min<int64_t>(x2, Bitmap->Width() - 1);
  y2 = std::min<int64_t>(y2, Bitmap->Height() - 1);
  if (x1 > x2 || y1 > y2) return false;
  return HasTransparentPixelsInRect(Bitmap, Rect(int(x1), int(y1), int(x2), int(y2)));
}

// The DC state as it was, back at the end of the scope.
class TSavedDC {
 public:
  explicit TSavedDC(TCanvas* Canvas) : FDC(Canvas->Handle()), FLevel(SaveDC(FDC)) {}
  ~TSavedDC() {
    if (FLevel) RestoreDC(FDC, FLevel);
  }
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  void Clip(const TRect& R) const { IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom); }

 private:
  HDC FDC;
  int FLevel;
};

}  // namespace

// ---- TqvImageCollectionItem ----

TqvImageCollectionItem::TqvImageCollectionItem(TCollection* Collection)
    : TCollectionItem(Collection),
      FPicture(new TPicture),
      FBitmap(new TBitmap),
      FBitmapOptions(new TqvBitmapOptions) {
  FBitmapOptions->OnChange = [this](TObject*) { CheckBitmapOptions(); };
  FPicture->OnChange = [this](TObject*) { Changed(false); };
}

TqvImageCollectionItem::~TqvImageCollectionItem() {
  FPicture->OnChange = nullptr;
  delete FPicture;
  delete FBitmap;
  delete FBitmapOptions;
}

void TqvImageCollectionItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TqvImageCollectionItem*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (src == this) return;
  FBitmap->Assign(src->FBitmap);
  FPicture->Assign(src->FPicture);
  TqvBitmapOptions* from = src->FBitmapOptions;
  FBitmapOptions->Assign(from);
  FBitmapOptions->SetDrawInClipRect(from->DrawInClipRect());
  FBitmapOptions->SetContentLeftMargin(from->ContentLeftMargin());
  FBitmapOptions->SetContentTopMargin(from->ContentTopMargin());
  FBitmapOptions->SetContentRightMargin(from->ContentRightMargin());
  FBitmapOptions->SetContentBottomMargin(from->ContentBottomMargin());
  FDrawStyle = src->FDrawStyle;
  FTileOffsetX = src->FTileOffsetX;
  FTileOffsetY = src->FTileOffsetY;
  FDescription = src->FDescription;
  FColor = src->FColor;
  Changed(false);
}

void TqvImageCollectionItem::ReplaceBitmap(TBitmap* Value) {
  FBitmap->Assign(Value);
  Changed(false);
}

void TqvImageCollectionItem::SetBitmap(TBitmap* Value) { ReplaceBitmap(Value); }

void TqvImageCollectionItem::SetBitmapOptions(TqvBitmapOptions* Value) {
  FBitmapOptions->Assign(Value);
  Changed(false);
}

void TqvImageCollectionItem::SetPicture(TPicture* Value) { FPicture->Assign(Value); }

void TqvImageCollectionItem::SetDrawStyle(TqvImageDrawStyle Value) {
  if (Value == FDrawStyle) return;
  FDrawStyle = Value;
  Changed(false);
}

void TqvImageCollectionItem::SetTileOffsetX(int Value) {
  if (Value == FTileOffsetX) return;
  FTileOffsetX = Value;
  Changed(false);
}

void TqvImageCollectionItem::SetTileOffsetY(int Value) {
  if (Value == FTileOffsetY) return;
  FTileOffsetY = Value;
  Changed(false);
}

void TqvImageCollectionItem::SetDescription(const String& Value) {
  if (Value == FDescription) return;
  FDescription = Value;
  Changed(false);
}

String TqvImageCollectionItem::GetDisplayName() const {
  return FDescription.empty() ? TCollectionItem::GetDisplayName() : FDescription;
}

void TqvImageCollectionItem::SetColor(TColor Value) {
  const TColor rgb = ColorToRGB(Value);
  if (rgb == ColorToRGB(FColor)) return;
  FColor = Value;
  if (!FBitmap->Empty() && Is32(FBitmap) && rgb != kNoTint) {
    // The old colours go, so only the alpha matters: straight colour, then premultiplied.
    FBitmap->SetAlphaFormat(afDefined);
    SetBitmapRGB(FBitmap, rgb);
    FBitmap->SetAlphaFormat(afPremultiplied);
  }
  Changed(false);
}

void TqvImageCollectionItem::LoadFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor) {
  TBitmap loaded;
  {
    TResourceStream stream(Instance, ResName, RT_RCDATA);
    loaded.LoadFromStream(&stream);
  }
  FColor = kNoTint;
  const double f = std::max(AScaleFactor, 1.0);
  if (f == 1.0) {
    if (Is32(&loaded)) loaded.SetAlphaFormat(afPremultiplied);
    ReplaceBitmap(&loaded);
    return;
  }
  const int w = Round(loaded.Width() * f), h = Round(loaded.Height() * f);
  TBitmap scaled;
  if (Is32(&loaded)) {
    scaled.SetPixelFormat(pf32bit);
    scaled.SetSize(w, h);  // transparent
    SmoothStretchBitmap(&loaded, &scaled);
    scaled.SetAlphaFormat(afPremultiplied);
  } else {
    scaled.SetPixelFormat(loaded.PixelFormat());
    scaled.SetSize(w, h);
    scaled.Canvas()->StretchDraw(Rect(0, 0, w, h), &loaded);
  }
  ReplaceBitmap(&scaled);
}

void TqvImageCollectionItem::LoadPngFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor) {
  TPngImage png;
  {
    TResourceStream stream(Instance, ResName, RT_RCDATA);
    png.LoadFromStream(&stream);
  }
  FColor = kNoTint;
  const double f = std::max(AScaleFactor, 1.0);
  const int w = Round(png.Width() * f), h = Round(png.Height() * f);
  TBitmap result;
  // Pixels that are only fully transparent or opaque are transparency too: flattened
  // onto a 24-bit bitmap they would turn white.
  if (png.TransparencyMode() != ptmNone) {
    TBitmap straight;
    straight.Assign(&png);  // 32-bit, straight alpha
    if (f == 1.0) {
      result.Assign(&straight);
    } else {
      result.SetPixelFormat(pf32bit);
      result.SetSize(w, h);  // transparent
      SmoothStretchBitmap(&straight, &result);
    }
    result.SetAlphaFormat(afPremultiplied);
  } else {
    result.SetPixelFormat(pf24bit);
    result.SetSize(w, h);
    result.Canvas()->StretchDraw(Rect(0, 0, w, h), &png);
  }
  ReplaceBitmap(&result);
}

void TqvImageCollectionItem::CheckBitmapOptions() {
  TqvBitmapOptions* o = FBitmapOptions;
  TBitmap* b = FBitmap;
  auto set = [o](bool Centre, bool Border, bool Corners) {
    o->SetAlphaBlend(Centre);
    o->SetAlphaBlendBorder(Border);
    o->SetAlphaBlendCorners(Corners);
  };
  if (b->Empty() || !Is32(b)) {
    set(false, false, false);
    Changed(false);
    return;
  }
  const int64_t W = b->Width(), H = b->Height();
  const int64_t L = o->LeftMargin(), T = o->TopMargin(), Rm = o->RightMargin(), B = o->BottomMargin();
  auto has = [b](int64_t x1, int64_t y1, int64_t x2, int64_t y2) { return RangeHasAlpha(b, x1, y1, x2, y2); };
  const bool hm = L >= 1 && Rm >= 1, vm = T >= 1 && B >= 1;
  if (L == 0 && T == 0 && Rm == 0 && B == 0) {
    set(HasTransparentPixels(b), false, false);
  } else if (hm && vm) {
    set(has(L, T, W - Rm, H - B),
        has(L + 1, 0, W - Rm - 1, T) || has(L, H - B, W - Rm - 1, H - 1) || has(0, T + 1, L, H - B - 1) ||
            has(W - Rm, T + 1, W - 1, H - B - 1),
        has(0, 0, L, T) || has(W - Rm, 0, W - 1, T) || has(0, H - B, L, H - 1) || has(W - Rm, H - B, W - 1, H - 1));
  } else if (vm) {
    const bool middle = has(0, T + 1, W - 1, H - B - 1);
    set(middle, middle, has(0, 0, W - 1, T) || has(0, H - B, W - 1, H - 1));
  } else if (hm) {
    const bool middle = has(L + 1, 0, W - Rm - 1, H - 1);
    set(middle, middle, has(0, 0, L, H - 1) || has(W - Rm, 0, W - 1, H - 1));
  }
  Changed(false);
}

bool TqvImageCollectionItem::HasImage() const {
  if (!FBitmap->Empty()) return true;
  const TGraphic* g = FPicture->Graphic();
  return g && !g->Empty();
}

bool TqvImageCollectionItem::IsTransparent() const {
  if (!FBitmap->Empty() && Is32(FBitmap)) return true;
  const auto* png = dynamic_cast<const TPngImage*>(FPicture->Graphic());
  return png && !png->Empty() && png->Transparent();
}

bool TqvImageCollectionItem::NeedFullUpdate() const {
  switch (FDrawStyle) {
    case idsTopLeft:
    case idsTopTile:
    case idsLeftTile:
      return false;
    case idsTile:
      return FBitmapOptions->LeftMargin() > 0 && FBitmapOptions->TopMargin() > 0 &&
             FBitmapOptions->RightMargin() > 0 && FBitmapOptions->BottomMargin() > 0;
    default:
      return true;
  }
}

int TqvImageCollectionItem::ImageWidth() const { return FBitmap->Empty() ? FPicture->Width() : FBitmap->Width(); }

int TqvImageCollectionItem::ImageHeight() const {
  return FBitmap->Empty() ? FPicture->Height() : FBitmap->Height();
}

void TqvImageCollectionItem::Draw(TCanvas* ACanvas, const TRect& R) {
  if (!ACanvas) return;
  if (!FBitmap->Empty())
    DrawBitmapImage(ACanvas, R);
  else if (HasImage())
    DrawPictureImage(ACanvas, R);
}

void TqvImageCollectionItem::DrawBitmapImage(TCanvas* ACanvas, const TRect& R) {
  TBitmap* b = FBitmap;
  TqvBitmapOptions* o = FBitmapOptions;
  const TSavedDC saved(ACanvas);
  if (o->DrawInClipRect()) saved.Clip(R);
  const int W = b->Width(), H = b->Height();
  const bool hm = o->LeftMargin() >= 1 && o->RightMargin() >= 1;
  const bool vm = o->TopMargin() >= 1 && o->BottomMargin() >= 1;
  if (hm && vm) {
    DrawBitmapWithOptions(b, o, ACanvas, 255, R);
  } else if (vm) {
    // A column of three parts, at the side the style names or repeated across.
    TRect t = R;
    switch (FDrawStyle) {
      case idsTopLeft:
      case idsBottomLeft:
      case idsLeftTile:
      case idsLeftStretch:
        t.Right = t.Left + W;
        break;
      case idsTopRight:
      case idsBottomRight:
      case idsRightTile:
      case idsRightStretch:
        t.Left = t.Right - W;
        break;
      default:
        break;
    }
    if (FDrawStyle == idsHorzStretchTile) {
      const int step = ImageTileStep(W, FTileOffsetX);
      for (int k = 0, n = R.Width() / step; k <= n; ++k)
        DrawBitmapWithOptions(b, o, ACanvas, 255, Rect(R.Left + k * step, R.Top, R.Left + k * step + W, R.Bottom));
    } else {
      DrawBitmapWithOptions(b, o, ACanvas, 255, t);
    }
  } else if (hm) {
    // A band of three parts, at the side the style names or repeated down.
    TRect t = R;
    switch (FDrawStyle) {
      case idsTopLeft:
      case idsTopRight:
      case idsTopTile:
      case idsTopStretch:
        t.Bottom = t.Top + H;
        break;
      case idsBottomLeft:
      case idsBottomRight:
      case idsBottomTile:
      case idsBottomStretch:
        t.Top = t.Bottom - H;
        break;
      default:
        break;
    }
    if (FDrawStyle == idsVertStretchTile) {
      const int step = ImageTileStep(H, FTileOffsetY);
      for (int k = 0, n = R.Height() / step; k <= n; ++k)
        DrawBitmapWithOptions(b, o, ACanvas, 255, Rect(R.Left, R.Top + k * step, R.Right, R.Top + k * step + H));
    } else {
      DrawBitmapWithOptions(b, o, ACanvas, 255, t);
    }
  } else {
    const bool alpha = Is32(b);
    EnumImagePlacements(FDrawStyle, R, W, H, FTileOffsetX, FTileOffsetY, [&](const TqvImagePlacement& p) {
      if (p.Stretched && alpha)
        AlphaBlendRect(b, ACanvas, Rect(0, 0, W, H), 255, p.Rect);
      else if (p.Stretched)
        ACanvas->StretchDraw(p.Rect, b);
      else if (alpha)
        DrawBitmapAlpha(b, ACanvas, p.Rect.Left, p.Rect.Top, 255);
      else
        ACanvas->Draw(p.Rect.Left, p.Rect.Top, b);
    });
  }
}

void TqvImageCollectionItem::DrawPictureImage(TCanvas* ACanvas, const TRect& R) {
  TGraphic* g = FPicture->Graphic();
  const TSavedDC saved(ACanvas);
  saved.Clip(R);
  EnumImagePlacements(FDrawStyle, R, g->Width(), g->Height(), FTileOffsetX, FTileOffsetY,
                      [&](const TqvImagePlacement& p) {
                        if (p.Stretched)
                          ACanvas->StretchDraw(p.Rect, g);
                        else
                          ACanvas->Draw(p.Rect.Left, p.Rect.Top, g);
                      });
}

// ---- TqvImageCollectionItems ----

TqvImageCollectionItems::TqvImageCollectionItems(TqvCustomImageCollection* AOwner)
    : TCollection(ItemClassOf<TqvImageCollectionItem>()), FOwner(AOwner) {}

TqvImageCollectionItem* TqvImageCollectionItems::Add() {
  return static_cast<TqvImageCollectionItem*>(TCollection::Add());
}

TqvImageCollectionItem* TqvImageCollectionItems::Items(int Index) const {
  return static_cast<TqvImageCollectionItem*>(TCollection::Items(Index));
}

void TqvImageCollectionItems::SetItems(int Index, TqvImageCollectionItem* Value) {
  TCollection::SetItems(Index, Value);
}

TPersistent* TqvImageCollectionItems::GetOwner() const { return FOwner; }

// ---- TqvImageCollection ----

TqvImageCollection::TqvImageCollection(TComponent* AOwner)
    : TqvCustomImageCollection(AOwner), FImages(new TqvImageCollectionItems(this)) {}

TqvImageCollection::~TqvImageCollection() { delete FImages; }

void TqvImageCollection::SetImages(TqvImageCollectionItems* Value) { FImages->Assign(Value); }

TqvImageCollectionItem* TqvImageCollection::ItemAt(int AIndex) const {
  return AIndex >= 0 && AIndex < FImages->Count() ? FImages->Items(AIndex) : nullptr;
}

TqvImageCollectionItem* TqvImageCollection::AvailableItem(int AIndex) const {
  TqvImageCollectionItem* item = ItemAt(AIndex);
  return item && item->HasImage() ? item : nullptr;
}

int TqvImageCollection::GetCount() const { return FImages->Count(); }

int TqvImageCollection::GetWidth(int AIndex, double AScaleFactor) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  return item ? Round(Factor(AScaleFactor) * item->ImageWidth()) : 0;
}

int TqvImageCollection::GetHeight(int AIndex, double AScaleFactor) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  return item ? Round(Factor(AScaleFactor) * item->ImageHeight()) : 0;
}

TRect TqvImageCollection::GetContentMargins(int AIndex, double AScaleFactor) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  if (!item) return {};
  const TqvBitmapOptions* o = item->BitmapOptions();
  const double f = Factor(AScaleFactor);
  return Rect(Round(f * o->ContentLeftMargin()), Round(f * o->ContentTopMargin()), Round(f * o->ContentRightMargin()),
              Round(f * o->ContentBottomMargin()));
}

TRect TqvImageCollection::GetMargins(int AIndex, double AScaleFactor) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  if (!item) return {};
  const TqvBitmapOptions* o = item->BitmapOptions();
  const double f = Factor(AScaleFactor);
  return Rect(Round(f * o->LeftMargin()), Round(f * o->TopMargin()), Round(f * o->RightMargin()),
              Round(f * o->BottomMargin()));
}

bool TqvImageCollection::NeedFullUpdate(int AIndex) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  return item && item->NeedFullUpdate();
}

bool TqvImageCollection::IsIndexAvailable(int AIndex) const { return AvailableItem(AIndex) != nullptr; }

bool TqvImageCollection::IsSolidDrawing(int AIndex) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  return item && !item->IsTransparent() && (item->DrawStyle() == idsTile || item->DrawStyle() == idsStretch);
}

bool TqvImageCollection::IsStretchTileDrawing(int AIndex) const {
  const TqvImageCollectionItem* item = AvailableItem(AIndex);
  return item && (item->DrawStyle() == idsTile || item->DrawStyle() == idsStretch);
}

void TqvImageCollection::Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double) const {
  TqvImageCollectionItem* item = AvailableItem(AIndex);
  if (item && ACanvas && !ARect.IsEmpty()) item->Draw(ACanvas, ARect);
}

void TqvImageCollection::DrawBitmap(TCanvas* ACanvas, const TRect& ARect, int AIndex, uint8_t AAlphaValue) const {
  TqvImageCollectionItem* item = ItemAt(AIndex);
  if (!item || !ACanvas || ARect.IsEmpty() || item->Bitmap()->Empty()) return;
  DrawBitmapWithOptions(item->Bitmap(), item->BitmapOptions(), ACanvas, AAlphaValue, ARect);
}

void TqvImageCollection::DrawBitmapRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect,
                                        int AIndex) const {
  TqvImageCollectionItem* item = ItemAt(AIndex);
  if (!item || !ACanvas || item->Bitmap()->Empty()) return;
  AlphaBlendRect(item->Bitmap(), ACanvas, ASrcRect, 255, ADestRect);
}
