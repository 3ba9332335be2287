#include <gtest/gtest.h>

#include <vector>

#include "Support.h"
#include "qvImageCollection/ImageCollection.h"

using namespace ictest;

namespace {

// A 6 x 4 picture with one colour per quadrant.
constexpr int kW = 6, kH = 4;
constexpr uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kYellow = 0xFFFFFF00u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
uint32_t Quadrant(int u, int v) { return u < kW / 2 ? (v < kH / 2 ? kRed : kBlue) : (v < kH / 2 ? kGreen : kYellow); }

// Target rectangle in a 40 x 30 white canvas: 22 x 17 at (5, 4).
const TRect kR = Rect(5, 4, 27, 21);

struct StyleCase {
  TqvImageDrawStyle Style;
  bool Stretched;
  std::vector<TRect> Rects;
};

std::vector<TRect> Puts(std::initializer_list<int> xs, std::initializer_list<int> ys) {
  std::vector<TRect> r;
  for (int x : xs)
    for (int y : ys) r.push_back(Bounds(x, y, kW, kH));
  return r;
}

// Where each style puts the picture in kR, worked out by hand from the placement rules:
// centred x = 22 div 2 + 5 - 6 div 2 = 13, centred y = 17 div 2 + 4 - 4 div 2 = 10;
// tiles run to 22 div 6 = 3 and 17 div 4 = 4, both included.
std::vector<StyleCase> Cases() {
  const std::initializer_list<int> tx = {5, 11, 17, 23}, ty = {4, 8, 12, 16, 20};
  return {
      {idsTile, false, Puts(tx, ty)},
      {idsStretch, true, {kR}},
      {idsCenter, false, Puts({13}, {10})},
      {idsTopLeft, false, Puts({5}, {4})},
      {idsTopRight, false, Puts({21}, {4})},
      {idsBottomLeft, false, Puts({5}, {17})},
      {idsBottomRight, false, Puts({21}, {17})},
      {idsTopTile, false, Puts(tx, {4})},
      {idsLeftTile, false, Puts({5}, ty)},
      {idsRightTile, false, Puts({21}, ty)},
      {idsBottomTile, false, Puts(tx, {17})},
      {idsTopStretch, true, {Rect(5, 4, 27, 8)}},
      {idsLeftStretch, true, {Rect(5, 4, 11, 21)}},
      {idsRightStretch, true, {Rect(21, 4, 27, 21)}},
      {idsBottomStretch, true, {Rect(5, 17, 27, 21)}},
      {idsHorzStretchTile, true,
       {Rect(5, 4, 11, 21), Rect(11, 4, 17, 21), Rect(17, 4, 23, 21), Rect(23, 4, 29, 21)}},
      {idsVertStretchTile, true,
       {Rect(5, 4, 27, 8), Rect(5, 8, 27, 12), Rect(5, 12, 27, 16), Rect(5, 16, 27, 20), Rect(5, 20, 27, 24)}},
      {idsHorzCenterStretch, true, {Rect(5, 10, 27, 14)}},
      {idsVertCenterStretch, true, {Rect(13, 4, 19, 21)}},
      {idsLeftCenter, false, Puts({5}, {10})},
      {idsTopCenter, false, Puts({13}, {4})},
      {idsRightCenter, false, Puts({21}, {10})},
      {idsBottomCenter, false, Puts({13}, {17})},
  };
}

enum Kind { k32bit, k32bitClipped, k24bit, kPicture };
const char* KindName(Kind k) {
  static const char* names[] = {"32-bit", "32-bit clipped", "24-bit", "picture"};
  return names[k];
}

// Checks every pixel of the canvas against the placements: inside a placement the
// picture (each quadrant exactly where the picture keeps its size, the corners where it
// is stretched), elsewhere white. Clipped kinds show nothing outside kR.
void CheckPlacements(TBitmap& canvas, const StyleCase& c, bool clipped, const std::string& what) {
  int wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const TRect* in = nullptr;
      for (const TRect& r : c.Rects)
        if (r.Contains(Point(x, y))) in = &r;
      const bool visible = in && (!clipped || kR.Contains(Point(x, y)));
      const uint32_t p = PixelAt(canvas, x, y);
      bool ok;
      if (!visible) {
        ok = p == kWhite;
      } else if (!c.Stretched) {
        ok = p == Quadrant(x - in->Left, y - in->Top);
      } else {
        const bool left = x == in->Left, right = x == in->Right - 1, top = y == in->Top, bottom = y == in->Bottom - 1;
        if ((left || right) && (top || bottom))
          ok = p == Quadrant(left ? 0 : kW - 1, top ? 0 : kH - 1);
        else
          ok = p == kRed || p == kGreen || p == kBlue || p == kYellow;
      }
      if (!ok && ++wrong <= 3) ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << p;
    }
}

TEST(ImageDrawStyle, EachStylePutsThePictureWhereItSays) {
  for (Kind kind : {k32bit, k32bitClipped, k24bit, kPicture}) {
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    if (kind == k24bit) {
      item->SetBitmap(Bitmap24(kW, kH, Quadrant).get());
    } else if (kind == kPicture) {
      TPngImage png;
      png.Assign(Bitmap24(kW, kH, Quadrant).get());
      item->Picture()->SetGraphic(&png);
    } else {
      item->SetBitmap(Bitmap32(kW, kH, Quadrant).get());
      item->BitmapOptions()->SetDrawInClipRect(kind == k32bitClipped);
    }
    for (const StyleCase& c : Cases()) {
      item->SetDrawStyle(c.Style);
      auto canvas = Surface32(40, 30, kWhite);
      collection.Draw(canvas->Canvas(), kR, 0, 1.0);
      const std::string what = std::string(KindName(kind)) + " style " + std::to_string(c.Style);
      CheckPlacements(*canvas, c, kind == k32bitClipped || kind == kPicture, what);
      SaveIfFailed(*canvas, std::to_string(kind) + "_" + std::to_string(c.Style));
    }
  }
}

TEST(ImageDrawStyle, TilesRunOnePastTheLastWholeTile) {
  // A 10 x 10 picture tiled into 25 x 25: nine tiles at 0, 10, 20 each way.
  struct Case {
    int OffsetX, OffsetY;
    std::vector<int> Xs, Ys;
  };
  const Case cases[] = {
      {0, 0, {0, 10, 20}, {0, 10, 20}},
      {5, 0, {0, 15}, {0, 10, 20}},
      {0, 3, {0, 10, 20}, {0, 13}},
      {-5, 0, {0, 5, 10, 15, 20, 25}, {0, 10, 20}},
      // A gap of minus the picture size is no gap.
      {-10, -10, {0, 10, 20}, {0, 10, 20}},
      {-10, 0, {0, 10, 20}, {0, 10, 20}},
  };
  for (const Case& c : cases) {
    std::vector<TRect> got;
    EnumImagePlacements(idsTile, Rect(0, 0, 25, 25), 10, 10, c.OffsetX, c.OffsetY,
                        [&](const TqvImagePlacement& p) {
                          EXPECT_FALSE(p.Stretched);
                          got.push_back(p.Rect);
                        });
    std::vector<TRect> want;
    for (int x : c.Xs)
      for (int y : c.Ys) want.push_back(Bounds(x, y, 10, 10));
    EXPECT_EQ(got, want) << c.OffsetX << "," << c.OffsetY;
  }
}

// Styles that repeat the picture, and the margins that make Draw repeat a nine-part or
// three-part image instead: a gap of minus the picture size draws as no gap.
TEST(ImageDrawStyle, AGapOfMinusTheTileSizeDrawsAsNoGap) {
  struct Case {
    TqvImageDrawStyle Style;
    int Left, Top, Right, Bottom;
  };
  const Case cases[] = {
      {idsTile, 0, 0, 0, 0},           {idsTopTile, 0, 0, 0, 0},         {idsLeftTile, 0, 0, 0, 0},
      {idsHorzStretchTile, 0, 0, 0, 0}, {idsVertStretchTile, 0, 0, 0, 0}, {idsHorzStretchTile, 0, 1, 0, 1},
      {idsVertStretchTile, 1, 0, 1, 0},
  };
  for (const Case& c : cases) {
    auto draw = [&](int gapX, int gapY) {
      TqvImageCollection collection(nullptr);
      TqvImageCollectionItem* item = collection.Images()->Add();
      item->SetBitmap(Bitmap32(kW, kH, Quadrant).get());
      item->SetDrawStyle(c.Style);
      item->SetTileOffsetX(gapX);
      item->SetTileOffsetY(gapY);
      TqvBitmapOptions* o = item->BitmapOptions();
      o->SetLeftMargin(c.Left);
      o->SetTopMargin(c.Top);
      o->SetRightMargin(c.Right);
      o->SetBottomMargin(c.Bottom);
      auto canvas = Surface32(40, 30, kWhite);
      collection.Draw(canvas->Canvas(), kR, 0, 1.0);
      return canvas;
    };
    auto plain = draw(0, 0), gap = draw(-kW, -kH);
    int differ = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) differ += PixelAt(*plain, x, y) != PixelAt(*gap, x, y);
    EXPECT_EQ(differ, 0) << "style " << c.Style << " margins " << c.Left << c.Top << c.Right << c.Bottom;
    EXPECT_NE(PixelAt(*gap, kR.Left, kR.Top), kWhite) << c.Style;
  }
}

}  // namespace
