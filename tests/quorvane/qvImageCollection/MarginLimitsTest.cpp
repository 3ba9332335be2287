// Margins and tile gaps come from stored forms as any Integer: the largest ones must
// behave like any other value past the bitmap or the rectangle, never overflow (UBSan
// stops the program on a signed overflow).
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "Support.h"
#include "qvImageCollection/BitmapDrawing.h"
#include "qvImageCollection/ImageCollection.h"

using namespace ictest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;

void SetMargins(TqvBitmapOptions* o, int l, int t, int r, int b) {
  o->SetLeftMargin(l);
  o->SetTopMargin(t);
  o->SetRightMargin(r);
  o->SetBottomMargin(b);
}

std::vector<uint32_t> PixelsOf(TBitmap& b) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) pixels.push_back(PixelAt(b, x, y));
  return pixels;
}

}  // namespace

TEST(MarginLimits, AlphaFlagsOfTheLargestMarginsAreThoseOfAnyMarginPastTheBitmap) {
  // 9 x 9, one half-transparent pixel in the middle. A margin past the bitmap empties the
  // ranges that start after it and stretches those that end at it over the whole bitmap.
  struct Case {
    int Left, Top, Right, Bottom;
  };
  const Case cases[] = {{INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                        {INT_MAX - 1, 3, INT_MAX, 3},
                        {3, INT_MAX, 3, INT_MAX},
                        {INT_MAX, 0, INT_MAX, 0},
                        {0, INT_MAX, 0, INT_MAX}};
  for (const Case& c : cases) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(Bitmap32(9, 9, [](int x, int y) { return x == 4 && y == 4 ? 0x80400000u : 0xFFFF0000u; }).get());
    SetMargins(item->BitmapOptions(), c.Left, c.Top, c.Right, c.Bottom);
    const TqvBitmapOptions* o = item->BitmapOptions();
    const std::string name = std::to_string(c.Left) + "," + std::to_string(c.Top);
    const bool nine = c.Left > 0 && c.Top > 0;
    // Nine parts: the middle pixel lies in a corner range only when the margins reach it
    // on both axes, in an edge range when they reach it on one.
    const bool pastX = c.Left >= 4, pastY = c.Top >= 4;
    if (nine) {
      EXPECT_FALSE(o->AlphaBlend()) << name;
      EXPECT_EQ(o->AlphaBlendBorder(), pastX != pastY) << name;
      EXPECT_EQ(o->AlphaBlendCorners(), pastX && pastY) << name;
    } else {
      // Three parts: the middle range is empty, each end covers the whole bitmap.
      EXPECT_FALSE(o->AlphaBlend()) << name;
      EXPECT_FALSE(o->AlphaBlendBorder()) << name;
      EXPECT_TRUE(o->AlphaBlendCorners()) << name;
    }
  }
}

TEST(MarginLimits, TheLargestMarginsDrawAsAnyMarginPastTheBitmap) {
  // Whatever a margin past the bitmap draws, the largest one draws the same.
  auto bitmap = Bitmap32(10, 10, Coded);
  for (const int big : {INT_MAX, INT_MAX - 7}) {
    for (const bool smaller : {false, true}) {
      const TRect r = smaller ? Rect(5, 5, 12, 12) : Rect(5, 5, 35, 35);
      const int sets[][4] = {{1000, 1000, 1000, 1000}, {1000, 0, 1000, 0}, {0, 1000, 0, 1000}};
      for (const auto& m : sets) {
        auto pick = [&](int v) { return v == 1000 ? big : v; };
        TqvBitmapOptions usual, largest;
        SetMargins(&usual, m[0], m[1], m[2], m[3]);
        SetMargins(&largest, pick(m[0]), pick(m[1]), pick(m[2]), pick(m[3]));
        auto expected = Surface32(40, 40, kWhite);
        auto got = Surface32(40, 40, kWhite);
        DrawBitmapWithOptions(bitmap.get(), &usual, expected->Canvas(), 255, r);
        DrawBitmapWithOptions(bitmap.get(), &largest, got->Canvas(), 255, r);
        EXPECT_EQ(PixelsOf(*got), PixelsOf(*expected)) << big << " " << m[0] << "," << m[1] << " smaller " << smaller;
        // In a rectangle smaller than the bitmap the first part is cut to it and shows.
        if (smaller) {
          EXPECT_EQ(PixelAt(*got, 5, 5), Coded(0, 0)) << m[0] << "," << m[1];
        }
      }
    }
  }
}

TEST(MarginLimits, ATileGapPastTheRectangleLeavesOneTile) {
  // A 10 x 10 black tile with a gap larger than the 40 x 40 rectangle: nx = ny = 0, so
  // the only tile is the one at the rectangle's corner.
  struct Case {
    TqvImageDrawStyle Style;
    int Gap;
  };
  const Case cases[] = {{idsTile, INT_MAX},           {idsTile, INT_MAX - 9}, {idsTopTile, INT_MAX},
                        {idsLeftTile, INT_MAX},       {idsHorzStretchTile, INT_MAX},
                        {idsVertStretchTile, INT_MAX}, {idsTile, 100}};
  for (const Case& c : cases) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(Bitmap32(10, 10, [](int, int) { return kBlack; }).get());
    item->SetDrawStyle(c.Style);
    item->SetTileOffsetX(c.Gap);
    item->SetTileOffsetY(c.Gap);
    auto s = Surface32(40, 40, kWhite);
    collection.Draw(s->Canvas(), Rect(0, 0, 40, 40), 0, 1);
    const std::string name = std::to_string(int(c.Style)) + " gap " + std::to_string(c.Gap);
    EXPECT_EQ(PixelAt(*s, 5, 5), kBlack) << name;
    // Right of the first tile and below it: nothing but the stretched ones.
    EXPECT_EQ(PixelAt(*s, 25, 5), c.Style == idsVertStretchTile ? kBlack : kWhite) << name;
    EXPECT_EQ(PixelAt(*s, 5, 25), c.Style == idsHorzStretchTile ? kBlack : kWhite) << name;
    EXPECT_EQ(PixelAt(*s, 25, 25), kWhite) << name;
  }
}
