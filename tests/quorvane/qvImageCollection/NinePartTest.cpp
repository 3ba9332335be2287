#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Support.h"
#include "qvImageCollection/BitmapDrawing.h"
#include "qvImageCollection/ImageCollection.h"

using namespace ictest;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

// Which part of the bitmap a target pixel shows along one axis, as the rules give it:
// the near part keeps its pixels from the start, the far part from the end and gives
// way to the near one; the middle repeats (tiled) or spreads (stretched) what lies
// between the margins.
struct Axis {
  int Size;    // of the bitmap
  int Near;    // margin
  int Far;     // margin
  int Target;  // length of the target

  enum Class { kNear, kMiddle, kFar };
  Class Of(int d) const {
    const int nearEnd = std::min(Near, Target);
    if (d < nearEnd) return kNear;
    if (d >= std::max(Target - Far, nearEnd)) return kFar;
    return kMiddle;
  }
  // The source coordinate a near or far pixel shows; a tiled middle pixel likewise.
  int Source(int d, bool tiled) const {
    switch (Of(d)) {
      case kNear:
        return d;
      case kFar:
        return Size - (Target - d);
      default:
        return tiled ? Near + (d - Near) % (Size - Near - Far) : -1;
    }
  }
  bool InMiddle(int s) const { return s >= Near && s < Size - Far; }
};

struct NineCase {
  int Width, Height;  // of the target
  bool Stretch, StretchBorder, DrawOnlyBorder;
};

// A 9 x 9 bitmap whose pixels tell their coordinates, margins 3 all round, drawn at (2, 3)
// on a white canvas.
TEST(NinePart, CornersKeepTheirPixelsAndNeverOverlap) {
  const NineCase cases[] = {
      {15, 12, true, false, false}, {15, 12, false, false, false}, {15, 12, false, true, false},
      {15, 12, true, true, true},   {9, 9, true, false, false},    {5, 5, true, false, false},
      {2, 2, true, false, false},   {5, 12, false, false, false},  {15, 4, true, false, false},
      {7, 7, false, false, false},
  };
  auto bitmap = Bitmap32(9, 9, Coded);
  for (const NineCase& c : cases) {
    TqvBitmapOptions o;
    o.SetLeftMargin(3);
    o.SetTopMargin(3);
    o.SetRightMargin(3);
    o.SetBottomMargin(3);
    o.SetStretch(c.Stretch);
    o.SetStretchBorder(c.StretchBorder);
    o.SetDrawOnlyBorder(c.DrawOnlyBorder);
    auto canvas = Surface32(24, 20, kWhite);
    const TRect R = Bounds(2, 3, c.Width, c.Height);
    DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 255, R);

    const Axis ax{9, 3, 3, c.Width}, ay{9, 3, 3, c.Height};
    const std::string what = std::to_string(c.Width) + "x" + std::to_string(c.Height) + (c.Stretch ? " stretch" : "") +
                             (c.StretchBorder ? " border" : "") + (c.DrawOnlyBorder ? " only-border" : "");
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 24; ++x) {
        const uint32_t p = PixelAt(*canvas, x, y);
        bool ok;
        if (!R.Contains(Point(x, y))) {
          ok = p == kWhite;
        } else {
          const int dx = x - R.Left, dy = y - R.Top;
          const bool centre = ax.Of(dx) == Axis::kMiddle && ay.Of(dy) == Axis::kMiddle;
          const bool tiled = centre ? !c.Stretch : !c.StretchBorder;
          if (centre && c.DrawOnlyBorder) {
            ok = p == kWhite;
          } else if (!IsCoded(p)) {
            ok = false;
          } else {
            const int sx = ax.Source(dx, tiled), sy = ay.Source(dy, tiled);
            ok = (sx >= 0 ? CodedX(p) == sx : ax.InMiddle(CodedX(p))) &&
                 (sy >= 0 ? CodedY(p) == sy : ay.InMiddle(CodedY(p)));
          }
        }
        if (!ok && ++wrong <= 3)
          ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << p;
      }
    SaveIfFailed(*canvas, std::to_string(c.Width) + "x" + std::to_string(c.Height));
  }
}

// A three-part image keeps its ends and fills its middle, in a column (or band) of the
// bitmap's width (height) centred across the target.
TEST(NinePart, ThreePartImagesKeepTheirEnds) {
  struct Case {
    bool Vertical;
    int Width, Height;  // of the target
    bool Stretch;
    int Offset;  // of the column or band, by hand: target div 2 - bitmap div 2
  };
  const Case cases[] = {
      {true, 10, 14, true, 3}, {true, 10, 14, false, 3}, {true, 10, 3, true, 3}, {true, 4, 9, true, 0},
      {false, 14, 10, true, 3}, {false, 14, 10, false, 3}, {false, 3, 10, true, 3},
  };
  for (const Case& c : cases) {
    // 4 x 6 (vertical) or 6 x 4 (horizontal); margins 2 at the two ends.
    const int bw = c.Vertical ? 4 : 6, bh = c.Vertical ? 6 : 4;
    auto bitmap = Bitmap32(bw, bh, Coded);
    TqvBitmapOptions o;
    if (c.Vertical) {
      o.SetTopMargin(2);
      o.SetBottomMargin(2);
    } else {
      o.SetLeftMargin(2);
      o.SetRightMargin(2);
    }
    o.SetStretch(c.Stretch);
    auto canvas = Surface32(24, 20, kWhite);
    const TRect R = Bounds(2, 3, c.Width, c.Height);
    DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 255, R);

    // Along the parts: the ends and the middle; across them: the bitmap, unscaled.
    const Axis along = c.Vertical ? Axis{bh, 2, 2, c.Height} : Axis{bw, 2, 2, c.Width};
    const TRect strip = c.Vertical ? Bounds(R.Left + c.Offset, R.Top, bw, c.Height)
                                   : Bounds(R.Left, R.Top + c.Offset, c.Width, bh);
    const std::string what = std::string(c.Vertical ? "vertical " : "horizontal ") + std::to_string(c.Width) + "x" +
                             std::to_string(c.Height) + (c.Stretch ? " stretch" : " tile");
    int wrong = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 24; ++x) {
        const uint32_t p = PixelAt(*canvas, x, y);
        bool ok;
        if (!strip.Contains(Point(x, y))) {
          ok = p == kWhite;
        } else if (!IsCoded(p)) {
          ok = false;
        } else {
          const int dAlong = c.Vertical ? y - strip.Top : x - strip.Left;
          const int dAcross = c.Vertical ? x - strip.Left : y - strip.Top;
          const int sAlong = c.Vertical ? CodedY(p) : CodedX(p), sAcross = c.Vertical ? CodedX(p) : CodedY(p);
          const int want = along.Source(dAlong, !c.Stretch);
          ok = sAcross == dAcross && (want >= 0 ? sAlong == want : along.InMiddle(sAlong));
        }
        if (!ok && ++wrong <= 3) ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << p;
      }
  }
}

TEST(NinePart, IncompleteMarginsDrawNothingAndNoMarginsCentre) {
  auto bitmap = Bitmap32(6, 4, Coded);
  struct Case {
    int Left, Top, Right, Bottom;
  };
  for (const Case& c : {Case{3, 0, 0, 0}, Case{0, 2, 0, 0}, Case{3, 2, 0, 0}, Case{0, 0, 3, 2}, Case{-1, 0, 0, 0}}) {
    TqvBitmapOptions o;
    o.SetLeftMargin(c.Left);
    o.SetTopMargin(c.Top);
    o.SetRightMargin(c.Right);
    o.SetBottomMargin(c.Bottom);
    auto canvas = Surface32(24, 20, kWhite);
    DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 255, Bounds(2, 3, 15, 12));
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 24; ++x)
        ASSERT_EQ(PixelAt(*canvas, x, y), kWhite) << c.Left << c.Top << c.Right << c.Bottom << " at " << x << "," << y;
  }
  // No margins: the bitmap at its size, centred, and never left of or above the target.
  struct Place {
    TRect R;
    TPoint At;
  };
  const Place places[] = {{Bounds(2, 3, 15, 12), Point(2 + 7 - 3, 3 + 6 - 2)}, {Bounds(2, 3, 2, 2), Point(2, 3)}};
  for (const Place& c : places) {
    TqvBitmapOptions o;
    auto canvas = Surface32(24, 20, kWhite);
    DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 255, c.R);
    EXPECT_EQ(PixelAt(*canvas, c.At.X, c.At.Y), Coded(0, 0));
    EXPECT_EQ(PixelAt(*canvas, c.At.X + 5, c.At.Y + 3), Coded(5, 3));
    EXPECT_EQ(PixelAt(*canvas, c.At.X - 1, c.At.Y), kWhite);
    EXPECT_EQ(PixelAt(*canvas, c.At.X + 6, c.At.Y), kWhite);
  }
}

// Premultiplied a over d, each channel rounded: what blending a part leaves.
uint32_t Blend(uint32_t s, uint32_t d) {
  const uint32_t a = s >> 24;
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t c = ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * (255 - a) + 127) / 255;
    out |= c << shift;
  }
  return out;
}

// The alpha flags choose, per kind of part, between blending and an opaque copy.
TEST(NinePart, AlphaFlagsBlendTheirPartsAndTheOthersAreCopied) {
  const uint32_t half = 0x80400000u;  // half-transparent red, premultiplied
  const uint32_t face = 0xFF0000FFu;
  // One such pixel in a corner (0, 0), an edge (4, 0) and the centre (4, 4).
  auto bitmap = Bitmap32(9, 9, [&](int x, int y) {
    return (x == 0 && y == 0) || (x == 4 && y == 0) || (x == 4 && y == 4) ? half : Coded(x, y);
  });
  struct Case {
    bool Corners, Border, Centre;
  };
  for (const Case& c : {Case{false, false, false}, Case{true, false, false}, Case{false, true, false},
                        Case{false, false, true}, Case{true, true, true}}) {
    TqvBitmapOptions o;
    o.SetLeftMargin(3);
    o.SetTopMargin(3);
    o.SetRightMargin(3);
    o.SetBottomMargin(3);
    o.SetAlphaBlendCorners(c.Corners);
    o.SetAlphaBlendBorder(c.Border);
    o.SetAlphaBlend(c.Centre);
    auto canvas = Surface32(9, 9, face);
    DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 255, Rect(0, 0, 9, 9));
    const uint32_t blended = Blend(half, face);
    EXPECT_EQ(PixelAt(*canvas, 0, 0), c.Corners ? blended : half) << c.Corners;
    EXPECT_EQ(PixelAt(*canvas, 4, 0), c.Border ? blended : half) << c.Border;
    EXPECT_EQ(PixelAt(*canvas, 4, 4), c.Centre ? blended : half) << c.Centre;
    EXPECT_EQ(PixelAt(*canvas, 8, 8), Coded(8, 8));
  }
  // The constant opacity applies to the blended parts.
  TqvBitmapOptions o;
  o.SetLeftMargin(3);
  o.SetTopMargin(3);
  o.SetRightMargin(3);
  o.SetBottomMargin(3);
  o.SetAlphaBlendCorners(true);
  auto canvas = Surface32(9, 9, face);
  DrawBitmapWithOptions(bitmap.get(), &o, canvas->Canvas(), 0, Rect(0, 0, 9, 9));
  EXPECT_EQ(PixelAt(*canvas, 8, 8), face);  // blended corners at opacity 0
  EXPECT_EQ(PixelAt(*canvas, 0, 0), face);
  EXPECT_EQ(PixelAt(*canvas, 4, 4), half);  // the centre is copied
}

TEST(Tiling, TilesStartTopLeftAndAreCutToTheTarget) {
  auto bitmap = Bitmap32(6, 6, Coded);
  const TRect src = Rect(1, 2, 4, 4);  // 3 x 2
  for (bool alpha : {false, true}) {
    auto canvas = Surface32(20, 12, kWhite);
    const TRect dst = Rect(2, 1, 12, 8);  // 10 x 7: tiles cut on the right and bottom
    (alpha ? TileBitmapRectAlpha : TileBitmapRect)(bitmap.get(), canvas->Canvas(), src, dst);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 20; ++x) {
        const uint32_t want = dst.Contains(Point(x, y)) ? Coded(1 + (x - 2) % 3, 2 + (y - 1) % 2) : kWhite;
        ASSERT_EQ(PixelAt(*canvas, x, y), want) << alpha << " at " << x << "," << y;
      }
  }
  // An empty source tiles nothing.
  auto canvas = Surface32(20, 12, kWhite);
  TileBitmapRect(bitmap.get(), canvas->Canvas(), Rect(1, 1, 1, 4), Rect(0, 0, 20, 12));
  TileBitmapRectAlpha(bitmap.get(), canvas->Canvas(), Rect(1, 1, 4, 1), Rect(0, 0, 20, 12));
  EXPECT_EQ(PixelAt(*canvas, 0, 0), kWhite);
}

TEST(NinePart, DrawNinePartBitmapCopiesCornersAndStretchesTheRest) {
  auto bitmap = Bitmap32(9, 9, Coded);
  auto canvas = Surface32(24, 20, kWhite);
  const TRect R = Bounds(2, 3, 15, 12);
  DrawNinePartBitmap(3, 3, 3, R, canvas->Canvas(), bitmap.get(), 3);
  const Axis ax{9, 3, 3, 15}, ay{9, 3, 3, 12};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 24; ++x) {
      const uint32_t p = PixelAt(*canvas, x, y);
      if (!R.Contains(Point(x, y))) {
        ASSERT_EQ(p, kWhite) << x << "," << y;
        continue;
      }
      ASSERT_TRUE(IsCoded(p)) << x << "," << y;
      const int sx = ax.Source(x - R.Left, false), sy = ay.Source(y - R.Top, false);
      EXPECT_TRUE(sx >= 0 ? CodedX(p) == sx : ax.InMiddle(CodedX(p))) << x << "," << y;
      EXPECT_TRUE(sy >= 0 ? CodedY(p) == sy : ay.InMiddle(CodedY(p))) << x << "," << y;
    }
}

}  // namespace
