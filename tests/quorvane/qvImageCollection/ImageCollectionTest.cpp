#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Support.h"
#include "qvImageCollection/ImageCollection.h"

using namespace ictest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

uint32_t Red(int, int) { return 0xFFFF0000u; }

void SetMargins(TqvImageCollectionItem* item, int l, int t, int r, int b) {
  TqvBitmapOptions* o = item->BitmapOptions();
  o->SetLeftMargin(l);
  o->SetTopMargin(t);
  o->SetRightMargin(r);
  o->SetBottomMargin(b);
}

// Items of every kind: 24-bit bitmap tiled, 32-bit bitmap stretched, nothing, opaque PNG
// picture stretched, transparent PNG picture tiled, 24-bit bitmap centred.
class CollectionKinds : public ::testing::Test {
 protected:
  void SetUp() override {
    Add(idsTile)->SetBitmap(Bitmap24(6, 4, Red).get());
    Add(idsStretch)->SetBitmap(Bitmap32(6, 4, Red).get());
    Add(idsTile);
    TPngImage opaque;
    opaque.Assign(Bitmap24(5, 3, Red).get());
    Add(idsStretch)->Picture()->SetGraphic(&opaque);
    TPngImage transparent;
    transparent.Assign(Bitmap32(5, 3, [](int x, int) { return x == 0 ? 0u : 0xFFFF0000u; }).get());
    Add(idsTile)->Picture()->SetGraphic(&transparent);
    Add(idsCenter)->SetBitmap(Bitmap24(6, 4, Red).get());
  }
  TqvImageCollectionItem* Add(TqvImageDrawStyle style) {
    TqvImageCollectionItem* item = Collection.Images()->Add();
    item->SetDrawStyle(style);
    return item;
  }

  TqvImageCollection Collection{nullptr};
};

TEST_F(CollectionKinds, AvailabilityAndSolidDrawing) {
  struct Case {
    int Index;
    bool Available, Solid, StretchTile;
    int Width, Height;
  };
  const Case cases[] = {
      {-1, false, false, false, 0, 0}, {0, true, true, true, 6, 4},   {1, true, false, true, 6, 4},
      {2, false, false, false, 0, 0},  {3, true, true, true, 5, 3},   {4, true, false, true, 5, 3},
      {5, true, false, false, 6, 4},   {6, false, false, false, 0, 0},
  };
  EXPECT_EQ(Collection.GetCount(), 6);
  for (const Case& c : cases) {
    EXPECT_EQ(Collection.IsIndexAvailable(c.Index), c.Available) << c.Index;
    EXPECT_EQ(Collection.IsSolidDrawing(c.Index), c.Solid) << c.Index;
    EXPECT_EQ(Collection.IsStretchTileDrawing(c.Index), c.StretchTile) << c.Index;
    // Not scaled: the factor is not used.
    EXPECT_EQ(Collection.GetWidth(c.Index, 2.0), c.Width) << c.Index;
    EXPECT_EQ(Collection.GetHeight(c.Index, 2.0), c.Height) << c.Index;
  }
}

TEST_F(CollectionKinds, MarginsOfAvailableItemsOnly) {
  for (int i : {0, 2}) {
    TqvBitmapOptions* o = Collection.Images()->Items(i)->BitmapOptions();
    SetMargins(Collection.Images()->Items(i), 1, 2, 3, 0);
    o->SetContentLeftMargin(4);
    o->SetContentTopMargin(5);
    o->SetContentRightMargin(6);
    o->SetContentBottomMargin(7);
  }
  EXPECT_EQ(Collection.GetMargins(0, 1.5), Rect(1, 2, 3, 0));
  EXPECT_EQ(Collection.GetContentMargins(0, 1.5), Rect(4, 5, 6, 7));
  for (int bad : {-1, 2, 6}) {
    EXPECT_EQ(Collection.GetMargins(bad, 1.0), TRect{}) << bad;
    EXPECT_EQ(Collection.GetContentMargins(bad, 1.0), TRect{}) << bad;
  }
}

// A collection that reports its sizes scaled, as a descendant may.
class ScaledCollection : public TqvImageCollection {
 public:
  ScaledCollection() : TqvImageCollection(nullptr) { FScaled = true; }
};

TEST(ImageCollection, ScaledSizesAndMarginsAreRoundedToEven) {
  ScaledCollection collection;
  TqvImageCollectionItem* item = collection.Images()->Add();
  item->SetBitmap(Bitmap32(5, 3, Red).get());
  SetMargins(item, 1, 3, 5, 0);
  item->BitmapOptions()->SetContentLeftMargin(7);
  // 1.5 x 5 = 7.5 -> 8, 1.5 x 3 = 4.5 -> 4, 1.5 x 1 = 1.5 -> 2, 1.5 x 7 = 10.5 -> 10.
  EXPECT_EQ(collection.GetWidth(0, 1.5), 8);
  EXPECT_EQ(collection.GetHeight(0, 1.5), 4);
  EXPECT_EQ(collection.GetMargins(0, 1.5), Rect(2, 4, 8, 0));
  EXPECT_EQ(collection.GetContentMargins(0, 1.5), Rect(10, 0, 0, 0));
}

TEST(ImageCollection, NeedFullUpdateByDrawStyle) {
  // Styles whose drawing does not depend on the target's size or far edges never need it;
  // tiling needs it only as a nine-part image.
  struct Case {
    TqvImageDrawStyle Style;
    bool Plain, NinePart;
  };
  const Case cases[] = {
      {idsTile, false, true},
      {idsStretch, true, true},
      {idsCenter, true, true},
      {idsTopLeft, false, false},
      {idsTopRight, true, true},
      {idsBottomLeft, true, true},
      {idsBottomRight, true, true},
      {idsTopTile, false, false},
      {idsLeftTile, false, false},
      {idsRightTile, true, true},
      {idsBottomTile, true, true},
      {idsTopStretch, true, true},
      {idsLeftStretch, true, true},
      {idsRightStretch, true, true},
      {idsBottomStretch, true, true},
      {idsHorzStretchTile, true, true},
      {idsVertStretchTile, true, true},
      {idsHorzCenterStretch, true, true},
      {idsVertCenterStretch, true, true},
      {idsLeftCenter, true, true},
      {idsTopCenter, true, true},
      {idsRightCenter, true, true},
      {idsBottomCenter, true, true},
  };
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  TqvImageCollectionItem* empty = collection.Images()->Add();
  item->SetBitmap(Bitmap24(9, 9, Red).get());
  for (const Case& c : cases) {
    item->SetDrawStyle(c.Style);
    empty->SetDrawStyle(c.Style);
    SetMargins(item, 0, 0, 0, 0);
    EXPECT_EQ(collection.NeedFullUpdate(0), c.Plain) << c.Style;
    SetMargins(item, 3, 3, 3, 3);
    EXPECT_EQ(collection.NeedFullUpdate(0), c.NinePart) << c.Style;
    SetMargins(item, 3, 0, 3, 3);
    EXPECT_EQ(collection.NeedFullUpdate(0), c.Plain) << c.Style;
    EXPECT_FALSE(collection.NeedFullUpdate(1)) << c.Style;  // nothing to draw
  }
}

TEST(ImageCollection, InvalidIndexesAndEmptyRectanglesDrawNothing) {
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  item->SetBitmap(Bitmap32(4, 4, Red).get());
  collection.Images()->Add();  // no image
  auto canvas = Surface32(12, 12, kWhite);
  TCanvas* c = canvas->Canvas();
  for (int bad : {-1, 1, 2, 100}) {
    EXPECT_NO_THROW(collection.Draw(c, Rect(0, 0, 12, 12), bad, 1.0)) << bad;
    EXPECT_NO_THROW(collection.DrawBitmap(c, Rect(0, 0, 12, 12), bad, 255)) << bad;
    EXPECT_NO_THROW(collection.DrawBitmapRect(c, Rect(0, 0, 4, 4), Rect(0, 0, 4, 4), bad)) << bad;
  }
  collection.Draw(c, Rect(2, 2, 2, 10), 0, 1.0);
  collection.DrawBitmap(c, Rect(2, 2, 10, 2), 0, 255);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(PixelAt(*canvas, x, y), kWhite) << x << "," << y;
  // The same calls with the valid index draw.
  collection.DrawBitmap(c, Rect(0, 0, 12, 12), 0, 255);
  EXPECT_EQ(PixelAt(*canvas, 4, 4), 0xFFFF0000u);
  collection.DrawBitmapRect(c, Rect(0, 0, 2, 2), Rect(0, 0, 1, 1), 0);
  EXPECT_EQ(PixelAt(*canvas, 1, 1), 0xFFFF0000u);
}

// With one pair of margins, Draw puts a three-part image where the style says, or
// repeats it across; with an incomplete pair it falls back to the plain style.
TEST(ImageCollection, DrawPlacesThreePartImagesByTheStyle) {
  struct Case {
    TqvImageDrawStyle Style;
    int Left, Top, Right, Bottom;
    std::vector<int> Columns;  // left edges of the 4-wide columns drawn in x 0 .. 20
  };
  const Case cases[] = {
      {idsTile, 0, 2, 0, 2, {8}},       // centred: 20 div 2 - 4 div 2
      {idsLeftTile, 0, 2, 0, 2, {0}},   {idsBottomLeft, 0, 2, 0, 2, {0}},
      {idsRightStretch, 0, 2, 0, 2, {16}}, {idsTopRight, 0, 2, 0, 2, {16}},
      {idsHorzStretchTile, 0, 2, 0, 2, {0, 4, 8, 12, 16}},  // 20 div 4 = 5: the sixth starts at 20
      {idsTopLeft, 2, 0, 0, 0, {0}},    // only a left margin: the plain style
      {idsTopRight, 0, 2, 0, 0, {16}},
  };
  for (const Case& c : cases) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(Bitmap32(4, 6, Coded).get());
    item->SetDrawStyle(c.Style);
    SetMargins(item, c.Left, c.Top, c.Right, c.Bottom);
    auto canvas = Surface32(24, 14, kWhite);
    collection.Draw(canvas->Canvas(), Rect(0, 0, 20, 14), 0, 1.0);
    for (int x = 0; x < 20; ++x) {
      bool drawn = false;
      for (int left : c.Columns) drawn |= x >= left && x < left + 4;
      const uint32_t top = PixelAt(*canvas, x, 0);
      EXPECT_EQ(top != kWhite, drawn) << "style " << c.Style << " column " << x;
      if (drawn) {
        EXPECT_EQ(top, Coded((x - c.Columns[0]) % 4, 0)) << "style " << c.Style << " column " << x;
      }
    }
    // Only the three-part images reach the bottom.
    EXPECT_EQ(PixelAt(*canvas, c.Columns[0], 13) != kWhite, c.Top > 0 && c.Bottom > 0) << c.Style;
  }
}

TEST(ImageCollection, AlphaFlagsFollowThePixelsOfEachPart) {
  // A 9 x 9 32-bit bitmap, opaque but for one pixel, margins 3 all round unless said.
  struct Case {
    const char* Name;
    int TransparentX, TransparentY;  // -1: none
    int Left, Top, Right, Bottom;
    bool Centre, Border, Corners;
  };
  const Case cases[] = {
      {"opaque", -1, -1, 3, 3, 3, 3, false, false, false},
      {"centre", 4, 4, 3, 3, 3, 3, true, false, false},
      {"top edge", 4, 1, 3, 3, 3, 3, false, true, false},
      {"left edge", 1, 4, 3, 3, 3, 3, false, true, false},
      {"bottom-right corner", 8, 8, 3, 3, 3, 3, false, false, true},
      {"top-left corner", 0, 0, 3, 3, 3, 3, false, false, true},
      {"no margins", 8, 8, 0, 0, 0, 0, true, false, false},
      {"no margins, opaque", -1, -1, 0, 0, 0, 0, false, false, false},
      {"vertical, middle", 0, 4, 0, 3, 0, 3, true, true, false},
      {"vertical, end", 4, 8, 0, 3, 0, 3, false, false, true},
      {"horizontal, middle", 4, 0, 3, 0, 3, 0, true, true, false},
      {"horizontal, end", 0, 4, 3, 0, 3, 0, false, false, true},
      // Margins at and past the size: only the corner ranges reach pixels.
      {"margins of the size", 4, 4, 9, 9, 9, 9, false, false, true},
      {"margins past the size", 4, 4, 20, 20, 20, 20, false, false, true},
      {"margins past the size, opaque", -1, -1, 20, 20, 20, 20, false, false, false},
  };
  for (const Case& c : cases) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(Bitmap32(9, 9, [&](int x, int y) {
                      return x == c.TransparentX && y == c.TransparentY ? 0x80400000u : 0xFFFF0000u;
                    }).get());
    SetMargins(item, c.Left, c.Top, c.Right, c.Bottom);
    const TqvBitmapOptions* o = item->BitmapOptions();
    EXPECT_EQ(o->AlphaBlend(), c.Centre) << c.Name;
    EXPECT_EQ(o->AlphaBlendBorder(), c.Border) << c.Name;
    EXPECT_EQ(o->AlphaBlendCorners(), c.Corners) << c.Name;
  }

  // A 24-bit bitmap has no alpha; an incomplete pair of margins leaves the flags alone.
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  item->SetBitmap(Bitmap24(9, 9, Red).get());
  item->BitmapOptions()->SetAlphaBlend(true);
  item->BitmapOptions()->SetAlphaBlendCorners(true);
  SetMargins(item, 3, 3, 3, 3);
  EXPECT_FALSE(item->BitmapOptions()->AlphaBlend());
  EXPECT_FALSE(item->BitmapOptions()->AlphaBlendCorners());
  TqvImageCollectionItem* incomplete = collection.Images()->Add();
  incomplete->SetBitmap(Bitmap32(9, 9, [](int, int) { return 0u; }).get());
  incomplete->BitmapOptions()->SetAlphaBlendBorder(true);
  SetMargins(incomplete, 3, 0, 0, 0);
  EXPECT_FALSE(incomplete->BitmapOptions()->AlphaBlend());
  EXPECT_TRUE(incomplete->BitmapOptions()->AlphaBlendBorder());
}

TEST(ImageCollection, TintKeepsAlphaAndSetsTheColour) {
  // Premultiplied pixels of alpha 255, 128 and 0.
  const uint32_t pixels[] = {0xFF204060u, 0x80102030u, 0x00000000u};
  auto make = [&] { return Bitmap32(3, 1, [&](int x, int) { return pixels[x]; }); };
  struct Case {
    TColor Color;
    COLORREF Rgb;  // what it resolves to
  };
  const Case cases[] = {{clRed, RGB(255, 0, 0)}, {TColor(RGB(10, 200, 90)), RGB(10, 200, 90)},
                        {clHighlight, COLORREF(ColorToRGB(clHighlight))}};
  for (const Case& c : cases) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(make().get());
    item->SetColor(c.Color);
    EXPECT_EQ(item->Color(), c.Color);
    EXPECT_EQ(item->Bitmap()->AlphaFormat(), afPremultiplied);
    for (int x = 0; x < 3; ++x) {
      const uint32_t a = pixels[x] >> 24;
      auto mul = [a](uint32_t ch) { return uint32_t(int(ch * a / 255.0 + 0.5)); };
      const uint32_t want = a << 24 | mul(GetRValue(c.Rgb)) << 16 | mul(GetGValue(c.Rgb)) << 8 | mul(GetBValue(c.Rgb));
      EXPECT_EQ(PixelAt(*item->Bitmap(), x, 0), want) << c.Color << " pixel " << x;
    }
  }
  // No tint leaves the pixels; so does a 24-bit bitmap.
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  item->SetBitmap(make().get());
  item->SetColor(TColor(RGB(1, 2, 3)));
  item->SetColor(clFuchsia);
  EXPECT_EQ(item->Color(), clFuchsia);
  EXPECT_EQ(PixelAt(*item->Bitmap(), 0, 0), 0xFF010203u);
  TqvImageCollectionItem* opaque = collection.Images()->Add();
  opaque->SetBitmap(Bitmap24(1, 1, [](int, int) { return 0xFF204060u; }).get());
  opaque->SetColor(clRed);
  EXPECT_EQ(PixelAt(*opaque->Bitmap(), 0, 0), 0xFF204060u);
}

TEST(ImageCollection, ItemsCopyEverything) {
  TqvImageCollection from(nullptr);
  TqvImageCollectionItem* item = from.Images()->Add();
  item->SetBitmap(Bitmap32(4, 4, Coded).get());
  SetMargins(item, 1, 1, 1, 1);
  item->BitmapOptions()->SetDrawInClipRect(true);
  item->BitmapOptions()->SetContentTopMargin(5);
  item->SetDrawStyle(idsBottomCenter);
  item->SetTileOffsetX(2);
  item->SetTileOffsetY(3);
  item->SetDescription("frame");
  TqvImageCollection to(nullptr);
  to.SetImages(from.Images());
  ASSERT_EQ(to.GetCount(), 1);
  TqvImageCollectionItem* copy = to.Images()->Items(0);
  EXPECT_NE(copy->Bitmap(), item->Bitmap());
  EXPECT_EQ(PixelAt(*copy->Bitmap(), 3, 2), Coded(3, 2));
  EXPECT_EQ(copy->BitmapOptions()->LeftMargin(), 1);
  EXPECT_TRUE(copy->BitmapOptions()->DrawInClipRect());
  EXPECT_EQ(copy->BitmapOptions()->ContentTopMargin(), 5);
  EXPECT_EQ(copy->DrawStyle(), idsBottomCenter);
  EXPECT_EQ(copy->TileOffsetX(), 2);
  EXPECT_EQ(copy->TileOffsetY(), 3);
  EXPECT_EQ(copy->Description(), "frame");
  EXPECT_EQ(copy->DisplayName(), "frame");
}

TEST(BitmapOptions, AssignLeavesClipAndContentMarginsAndMarginsAlwaysTell) {
  TqvBitmapOptions a, b;
  a.SetLeftMargin(1);
  a.SetTopMargin(2);
  a.SetRightMargin(3);
  a.SetBottomMargin(4);
  a.SetAlphaBlend(true);
  a.SetStretch(false);
  a.SetDrawOnlyBorder(true);
  a.SetDrawInClipRect(true);
  a.SetContentLeftMargin(9);
  int told = 0;
  b.OnChange = [&](TObject*) { ++told; };
  b.Assign(&a);
  EXPECT_EQ(told, 0);
  EXPECT_EQ(b.BottomMargin(), 4);
  EXPECT_TRUE(b.AlphaBlend());
  EXPECT_FALSE(b.Stretch());
  EXPECT_TRUE(b.DrawOnlyBorder());
  EXPECT_FALSE(b.DrawInClipRect());
  EXPECT_EQ(b.ContentLeftMargin(), 0);
  b.SetLeftMargin(1);  // the same value tells too
  b.SetBottomMargin(0);
  EXPECT_EQ(told, 2);
}

}  // namespace
