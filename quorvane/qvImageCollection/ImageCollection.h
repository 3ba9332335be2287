// The image collection: a component holding a list of images, each with a draw style
// and bitmap options, that skinnable controls draw by index into a rectangle.
//
// An item's image is its bitmap (preferred; normally 32-bit premultiplied) or, when the
// bitmap is empty, its picture (any graphic, such as a PNG). Invalid indexes, missing
// images and empty rectangles draw nothing and measure 0.
#pragma once

#include <cstdint>

#include "qvImageCollection/BitmapOptions.h"
#include "qvImageCollection/DrawStyles.h"
#include "vcl/Classes.h"
#include "vcl/Graphics.h"
#include "vcl/Resources.h"

class TqvImageCollectionItem : public TCollectionItem {
  QV_CLASS(TqvImageCollectionItem, TCollectionItem)

  explicit TqvImageCollectionItem(TCollection* Collection);
  ~TqvImageCollectionItem() override;

  // From another item: its images, all of its options, draw style, tile offsets,
  // Description and Color.
  void Assign(TPersistent* Source) override;

  // The setters keep copies.
  TBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(TBitmap* Value);
  TqvBitmapOptions* BitmapOptions() const { return FBitmapOptions; }
  void SetBitmapOptions(TqvBitmapOptions* Value);
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value);
  TqvImageDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TqvImageDrawStyle Value);
  // Extra gap between tiles.
  int TileOffsetX() const { return FTileOffsetX; }
  void SetTileOffsetX(int Value);
  int TileOffsetY() const { return FTileOffsetY; }
  void SetTileOffsetY(int Value);
  const String& Description() const { return FDescription; }
  void SetDescription(const String& Value);

  // A tint: a colour other than clFuchsia (no tint) paints every pixel of a 32-bit
  // bitmap in it with its alpha kept, as a monochrome icon. The bitmap stays
  // premultiplied. Tinting is done once, on the pixels: clFuchsia does not bring the old
  // colours back.
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  // A BMP resource (RCDATA) into Bitmap, premultiplied, resampled to Round(size * f)
  // for f = AScaleFactor above 1 (smoothly for 32-bit pictures). Color becomes
  // clFuchsia. Raises EResNotFound or EInvalidGraphic and leaves the item as it was.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor);
  // A PNG resource (RCDATA) likewise: with transparency a 32-bit premultiplied bitmap,
  // without it a 24-bit one. Raises EResNotFound or EPngError.
  void LoadPngFromResourceName(HINSTANCE Instance, const String& ResName, double AScaleFactor);

  // Recomputes the three alpha flags of BitmapOptions from the bitmap's pixels for its
  // margins; runs whenever a margin is set.
  void CheckBitmapOptions();

  // A non-empty bitmap or picture.
  bool HasImage() const;
  // A 32-bit bitmap, or a transparent PNG picture.
  bool IsTransparent() const;
  // The drawing of the style depends on the target's size (or position from its
  // bottom-right), so a resized target is drawn again whole.
  bool NeedFullUpdate() const;
  // The size of the image: the bitmap's, or the picture's when the bitmap is empty.
  int ImageWidth() const;
  int ImageHeight() const;
  // Draws the image into R by its options and draw style; the DC state is restored.
  void Draw(TCanvas* ACanvas, const TRect& R);

 protected:
  // Description, when it is set.
  String GetDisplayName() const override;

 private:
  void DrawBitmapImage(TCanvas* ACanvas, const TRect& R);
  void DrawPictureImage(TCanvas* ACanvas, const TRect& R);
  void ReplaceBitmap(TBitmap* Value);

  TPicture* FPicture;
  TBitmap* FBitmap;
  TqvBitmapOptions* FBitmapOptions;
  TqvImageDrawStyle FDrawStyle = idsTile;
  int FTileOffsetX = 0;
  int FTileOffsetY = 0;
  String FDescription;
  TColor FColor = clFuchsia;
};

class TqvCustomImageCollection;

class TqvImageCollectionItems : public TCollection {
  QV_CLASS(TqvImageCollectionItems, TCollection)

  explicit TqvImageCollectionItems(TqvCustomImageCollection* AOwner);

  TqvImageCollectionItem* Add();
  // EListError for an index outside the list.
  TqvImageCollectionItem* Items(int Index) const;
  void SetItems(int Index, TqvImageCollectionItem* Value);
  TqvImageCollectionItem* operator[](int Index) const { return Items(Index); }

 protected:
  TPersistent* GetOwner() const override;

 private:
  TqvCustomImageCollection* FOwner;
};

// The interface controls draw through: every operation answers 0, false or an empty
// rectangle and draws nothing here. AIndex is an image index; AScaleFactor the
// control's scale, which sizes and margins follow only when Scaled.
class TqvCustomImageCollection : public TComponent {
  QV_CLASS(TqvCustomImageCollection, TComponent)

  explicit TqvCustomImageCollection(TComponent* AOwner) : TComponent(AOwner) {}

  bool Scaled() const { return FScaled; }

  virtual int GetCount() const { return 0; }
  virtual int GetWidth(int, double) const { return 0; }
  virtual int GetHeight(int, double) const { return 0; }
  virtual TRect GetContentMargins(int, double) const { return {}; }
  virtual TRect GetMargins(int, double) const { return {}; }
  virtual bool NeedFullUpdate(int) const { return false; }
  virtual bool IsIndexAvailable(int) const { return false; }
  // The image covers the whole rectangle opaquely, so the caller may skip painting a
  // background under it.
  virtual bool IsSolidDrawing(int) const { return false; }
  virtual bool IsStretchTileDrawing(int) const { return false; }
  virtual void Draw(TCanvas*, const TRect&, int, double) const {}
  virtual void DrawBitmap(TCanvas*, const TRect&, int, uint8_t) const {}
  virtual void DrawBitmapRect(TCanvas*, const TRect&, const TRect&, int) const {}

 protected:
  bool FScaled = false;
};

class TqvImageCollection : public TqvCustomImageCollection {
  QV_CLASS(TqvImageCollection, TqvCustomImageCollection)

  explicit TqvImageCollection(TComponent* AOwner);
  ~TqvImageCollection() override;

  TqvImageCollectionItems* Images() const { return FImages; }
  // Copies the items.
  void SetImages(TqvImageCollectionItems* Value);

  int GetCount() const override;
  // Round(f * size), f = AScaleFactor when Scaled, else 1.
  int GetWidth(int AIndex, double AScaleFactor) const override;
  int GetHeight(int AIndex, double AScaleFactor) const override;
  // Left, top, right and bottom content margins (margins), each Round(f * margin).
  TRect GetContentMargins(int AIndex, double AScaleFactor) const override;
  TRect GetMargins(int AIndex, double AScaleFactor) const override;
  bool NeedFullUpdate(int AIndex) const override;
  // An index of the list whose item has an image.
  bool IsIndexAvailable(int AIndex) const override;
  // Available, not transparent, and tiled or stretched.
  bool IsSolidDrawing(int AIndex) const override;
  bool IsStretchTileDrawing(int AIndex) const override;
  // The item's image by its options and draw style; AScaleFactor is not used.
  void Draw(TCanvas* ACanvas, const TRect& ARect, int AIndex, double AScaleFactor) const override;
  // The item's bitmap by its options alone (DrawBitmapWithOptions) at opacity AAlphaValue.
  void DrawBitmap(TCanvas* ACanvas, const TRect& ARect, int AIndex, uint8_t AAlphaValue) const override;
  // ASrcRect of the item's bitmap blended onto ADestRect.
  void DrawBitmapRect(TCanvas* ACanvas, const TRect& ADestRect, const TRect& ASrcRect, int AIndex) const override;

 private:
  // The item at an index of the list, or null.
  TqvImageCollectionItem* ItemAt(int AIndex) const;
  // The item when the index is available, or null.
  TqvImageCollectionItem* AvailableItem(int AIndex) const;
  double Factor(double AScaleFactor) const { return FScaled ? AScaleFactor : 1.0; }

  TqvImageCollectionItems* FImages;
};
