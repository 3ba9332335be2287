// Image and caption in one rectangle: the layout arithmetic (tables worked out by hand),
// and the drawing routines, checked against a second canvas on which the image and the
// caption are drawn straight at the rectangles the layout rules give.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <string>

#include "qvDrawUtils/ContentLayout.h"
#include "qvDrawUtils/Glow.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Text.h"
#include "support/TextCanvas.h"
#include "vcl/ImgList.h"

namespace {

const char* const kLayoutNames[] = {"left", "right", "top", "bottom"};
const TButtonLayout kLayouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};

// ---- layout arithmetic ----

struct Positions {
  int GlyphX, GlyphY, TextX, TextY;
  bool operator==(const Positions&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Positions& p) {
  return os << "glyph (" << p.GlyphX << ", " << p.GlyphY << ") text (" << p.TextX << ", " << p.TextY << ")";
}

// R = (10, 20, 110, 70): centre (60, 45). Image 16 x 16, text 40 x 13, spacing 3.
TEST(DrawUtilsGlyphTextLayoutTest, PlacesImageAndTextByLayoutAndMargin) {
  struct Case {
    const char* Name;
    TButtonLayout Layout;
    TRect R;
    int GW, GH, TW, TH, Margin;
    Positions Expected;
  };
  const TRect r{10, 20, 110, 70};
  const Case cases[] = {
      // Margin 4: the image 4 pixels from its side, the text 3 pixels beyond it.
      {"left, margin", blGlyphLeft, r, 16, 16, 40, 13, 4, {14, 37, 33, 39}},
      {"right, margin", blGlyphRight, r, 16, 16, 40, 13, 4, {90, 37, 47, 39}},
      {"top, margin", blGlyphTop, r, 16, 16, 40, 13, 4, {52, 24, 40, 43}},
      {"bottom, margin", blGlyphBottom, r, 16, 16, 40, 13, 4, {52, 50, 40, 34}},
      // Margin -1: the group of 16 + 3 + 40 = 59 (half 29) or 16 + 3 + 13 = 32 (half 16)
      // is centred.
      {"left, centred", blGlyphLeft, r, 16, 16, 40, 13, -1, {31, 37, 49, 39}},
      {"right, centred", blGlyphRight, r, 16, 16, 40, 13, -1, {73, 37, 31, 39}},
      {"top, centred", blGlyphTop, r, 16, 16, 40, 13, -1, {52, 29, 40, 48}},
      {"bottom, centred", blGlyphBottom, r, 16, 16, 40, 13, -1, {52, 45, 40, 29}},
      // A caption alone is centred: without an image the spacing does not count.
      {"no image, centred", blGlyphLeft, r, 0, 0, 40, 13, -1, {40, 45, 40, 39}},
      {"no image, odd sizes", blGlyphLeft, {0, 0, 101, 51}, 0, 0, 41, 13, -1, {30, 25, 29, 19}},
      {"no image, margin", blGlyphRight, r, 0, 0, 40, 13, 4, {106, 45, 66, 39}},
  };
  for (const Case& c : cases) {
    Positions p{};
    CalcGlyphTextLayout(c.Layout, c.R, c.GW, c.GH, c.TW, c.TH, c.Margin, 3, p.GlyphX, p.GlyphY, p.TextX, p.TextY);
    EXPECT_EQ(p, c.Expected) << c.Name;
  }
}

TEST(DrawUtilsGlyphTextLayoutTest, RightIsTheMirrorImageOfLeft) {
  // Mirroring x about R's vertical axis turns a box [x, x + w) into [L + R - x - w, ...).
  const TRect r{4, 0, 124, 40};
  for (int margin : {-1, 0, 6})
    for (int tw : {0, 30, 58}) {
      Positions l{}, rt{};
      CalcGlyphTextLayout(blGlyphLeft, r, 16, 16, tw, 14, margin, 4, l.GlyphX, l.GlyphY, l.TextX, l.TextY);
      CalcGlyphTextLayout(blGlyphRight, r, 16, 16, tw, 14, margin, 4, rt.GlyphX, rt.GlyphY, rt.TextX, rt.TextY);
      EXPECT_EQ(rt.GlyphX, r.Left + r.Right - l.GlyphX - 16) << margin << " " << tw;
      EXPECT_EQ(rt.TextX, r.Left + r.Right - l.TextX - tw) << margin << " " << tw;
      EXPECT_EQ(rt.GlyphY, l.GlyphY);
      EXPECT_EQ(rt.TextY, l.TextY);
    }
}

// Margins and spacing come from stored properties: the largest ones push image and text out
// of sight in the layout's direction, without overflowing (UBSan would stop the test).
TEST(DrawUtilsGlyphTextLayoutTest, TheLargestMarginAndSpacingPushEverythingOutOfSight) {
  const TRect r{10, 20, 110, 70};
  for (bool wrapped : {false, true}) {
    Positions p{};
    int tw = 40, th = 13;
    if (wrapped)
      CalcGlyphWrappedTextLayout(blGlyphLeft, r, 16, 16, tw, th, INT_MAX, INT_MAX, p.GlyphX, p.GlyphY, p.TextX, p.TextY);
    else
      CalcGlyphTextLayout(blGlyphLeft, r, 16, 16, tw, th, INT_MAX, INT_MAX, p.GlyphX, p.GlyphY, p.TextX, p.TextY);
    EXPECT_GT(p.GlyphX, r.Right) << wrapped;
    EXPECT_GT(p.TextX, p.GlyphX) << wrapped;
    Positions q{};
    CalcGlyphTextLayout(blGlyphTop, r, 16, 16, 40, 13, INT_MAX, INT_MIN, q.GlyphX, q.GlyphY, q.TextX, q.TextY);
    EXPECT_GT(q.GlyphY, r.Bottom);
    EXPECT_LT(q.TextY, q.GlyphY);
  }
}

TEST(DrawUtilsGlyphTextLayoutTest, WrappedLayoutKeepsImageAndTextInsideTheRectangle) {
  struct Case {
    const char* Name;
    TButtonLayout Layout;
    int GW, GH, TW, TH, Margin;
    Positions Expected;
    int ExpectedTW, ExpectedTH;
  };
  // R = (10, 20, 110, 70), spacing 3.
  const Case cases[] = {
      // Margin 4: the text box is the rest of R.
      {"left, margin", blGlyphLeft, 16, 16, 40, 13, 4, {14, 37, 33, 20}, 77, 50},
      {"right, margin", blGlyphRight, 16, 16, 40, 13, 4, {90, 37, 10, 20}, 77, 50},
      {"top, margin", blGlyphTop, 16, 16, 40, 13, 4, {52, 24, 10, 43}, 100, 27},
      {"bottom, margin", blGlyphBottom, 16, 16, 40, 13, 4, {52, 50, 10, 20}, 100, 27},
      // Centred groups wider or higher than R are pulled back in.
      {"left, too wide", blGlyphLeft, 16, 16, 120, 13, -1, {10, 37, 29, 39}, 81, 13},
      {"left, too wide and high", blGlyphLeft, 16, 16, 90, 70, -1, {10, 37, 29, 20}, 81, 50},
      {"left, no image, too wide", blGlyphLeft, 0, 0, 120, 13, -1, {0, 45, 10, 39}, 100, 13},
      {"right, too wide", blGlyphRight, 16, 16, 120, 13, -1, {94, 37, 10, 39}, 81, 13},
      {"right, fits", blGlyphRight, 16, 16, 60, 13, -1, {83, 37, 21, 39}, 60, 13},
      {"right, no image, too wide", blGlyphRight, 0, 0, 120, 13, -1, {120, 45, 10, 39}, 100, 13},
      {"top, too wide and high", blGlyphTop, 16, 16, 120, 40, -1, {52, 20, 10, 39}, 100, 31},
      {"top, no image, too high", blGlyphTop, 0, 0, 80, 60, -1, {60, 15, 20, 20}, 80, 50},
      // The image would pass R.Bottom: its bottom edge goes onto R.Bottom, and the text
      // above it is cut to what is left.
      {"bottom, too high", blGlyphBottom, 16, 16, 40, 40, -1, {52, 54, 40, 20}, 40, 31},
      {"bottom, fits", blGlyphBottom, 16, 16, 40, 13, -1, {52, 45, 40, 29}, 40, 13},
      {"bottom, no image, too high", blGlyphBottom, 0, 0, 40, 60, -1, {60, 75, 40, 20}, 40, 50},
  };
  const TRect r{10, 20, 110, 70};
  for (const Case& c : cases) {
    Positions p{};
    int tw = c.TW, th = c.TH;
    CalcGlyphWrappedTextLayout(c.Layout, r, c.GW, c.GH, tw, th, c.Margin, 3, p.GlyphX, p.GlyphY, p.TextX, p.TextY);
    EXPECT_EQ(p, c.Expected) << c.Name;
    EXPECT_EQ(tw, c.ExpectedTW) << c.Name;
    EXPECT_EQ(th, c.ExpectedTH) << c.Name;
  }
}

// ---- drawing ----

constexpr int kW = 220;
constexpr int kH = 130;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kInk = 0xFF2060A0u;  // the image's colour
constexpr int kImage = 16;

// A 16 x 16 picture: a square of kInk with a 2-pixel border of Border.
std::unique_ptr<TBitmap> Picture(TPixelFormat Format, uint32_t Border) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(kImage, kImage);
  if (Format == pf32bit) b->SetAlphaFormat(afDefined);
  for (int y = 0; y < kImage; ++y) {
    auto* row = static_cast<uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < kImage; ++x) {
      const bool inside = x >= 2 && x < kImage - 2 && y >= 2 && y < kImage - 2;
      row[x] = inside ? kInk : Border;
    }
  }
  return b;
}

// Where the rules put an image of G and a text of T in R: along the layout's axis the
// image comes first (left, top) or last (right, bottom), Margin from R's edge, or the
// two centred as one group when Margin is -1; across it each is centred on its own.
struct Placement {
  TRect Glyph;
  TRect Text;
};

Placement Place(TButtonLayout Layout, const TRect& R, TSize G, TSize T, int Margin, int Spacing) {
  if (G.cx == 0 || T.cx == 0) Spacing = 0;
  const bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
  const bool imageFirst = Layout == blGlyphLeft || Layout == blGlyphTop;
  const int start = across ? R.Left : R.Top, end = across ? R.Right : R.Bottom;
  const int g = across ? G.cx : G.cy, t = across ? T.cx : T.cy;
  int gAt, tAt;
  if (Margin >= 0) {
    gAt = imageFirst ? start + Margin : end - Margin - g;
    tAt = imageFirst ? gAt + g + Spacing : gAt - Spacing - t;
  } else {
    const int centre = start + (end - start) / 2, half = (g + Spacing + t) / 2;
    gAt = imageFirst ? centre - half : centre + half - g;
    tAt = imageFirst ? centre + half - t : centre - half;
  }
  const int middle = across ? R.Top + R.Height() / 2 : R.Left + R.Width() / 2;
  const int gOther = middle - (across ? G.cy : G.cx) / 2, tOther = middle - (across ? T.cy : T.cx) / 2;
  if (across) return {Bounds(gAt, gOther, G.cx, G.cy), Bounds(tAt, tOther, T.cx, T.cy)};
  return {Bounds(gOther, gAt, G.cx, G.cy), Bounds(tOther, tAt, T.cx, T.cy)};
}

class DrawUtilsContentTest : public ::testing::Test {
 protected:
  DrawUtilsContentTest() : FList(nullptr, kImage, kImage) {
    PrepareTextBitmap(FActual, kW, kH);
    PrepareTextBitmap(FExpected, kW, kH);
    auto picture = Picture(pf32bit, 0);
    FList.Add(picture.get(), nullptr);
  }

  TCanvas* Actual() { return FActual.Canvas(); }
  TCanvas* Expected() { return FExpected.Canvas(); }
  void Clear() {
    for (TBitmap* b : {&FActual, &FExpected}) {
      b->Canvas()->Brush()->SetStyle(bsSolid);
      b->Canvas()->Brush()->SetColor(clWhite);
      b->Canvas()->FillRect(Rect(0, 0, kW, kH));
      b->Canvas()->Brush()->SetStyle(bsClear);
    }
  }
  uint32_t At(TBitmap& B, int X, int Y) { return static_cast<const uint32_t*>(B.ScanLine(Y))[X]; }
  bool Same() {
    const auto* a = static_cast<const uint32_t*>(FActual.ScanLine(0));
    const auto* b = static_cast<const uint32_t*>(FExpected.ScanLine(0));
    return std::equal(a, a + kW * kH, b);
  }
  bool Blank() {
    const auto* a = static_cast<const uint32_t*>(FActual.ScanLine(0));
    return std::all_of(a, a + kW * kH, [](uint32_t p) { return p == kWhite; });
  }
  // The caption's box measured as the rules say: in R less the image and the spacing (and
  // a positive margin, beside the image) on the image's side.
  TSize MeasureCaption(const String& Caption, TButtonLayout Layout, const TRect& R, TSize G, int Margin, int Spacing,
                       UINT Flags) {
    if (Caption.empty()) return {0, 0};
    if (G.cx == 0) Spacing = 0;
    TRect box{0, 0, R.Width(), R.Height()};
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
      box.Right -= G.cx + Spacing + std::max(Margin, 0);
    else
      box.Bottom -= G.cy + Spacing;
    DrawText(Expected()->Handle(), Caption, -1, &box, Flags | DT_CALCRECT | DT_EXPANDTABS);
    return {box.Width(), box.Height()};
  }
  void ExpectText(const String& Caption, TRect R, UINT Flags) {
    DrawText(Expected()->Handle(), Caption, -1, &R, Flags);
  }

  TBitmap FActual;
  TBitmap FExpected;
  TImageList FList;
};

TEST_F(DrawUtilsContentTest, ImageAndCaptionLandWhereTheLayoutPutsThem) {
  const TRect r{20, 15, 200, 115};
  const TSize image{kImage, kImage};
  const char* const captions[] = {"Caption", "Two\tlines\nof text", "", "A caption long enough to wrap over lines"};
  for (bool centred : {true, false})
    for (int l = 0; l < 4; ++l)
      for (int margin : {-1, 5})
        for (bool wrap : {false, true})
          for (const char* caption : captions) {
            SCOPED_TRACE(std::string(centred ? "centred " : "left ") + kLayoutNames[l] + " margin " +
                         std::to_string(margin) + (wrap ? " wrapped" : "") + " '" + caption + "'");
            Clear();
            if (centred)
              DrawImageAndText(Actual(), r, kLayouts[l], margin, 6, &FList, 0, caption, true, true, false, wrap, 1,
                               false, clNone, false);
            else
              DrawImageAndTextLeft(Actual(), r, kLayouts[l], margin, 6, &FList, 0, caption, true, true, false, wrap, 1,
                                   false, clNone, false);
            const UINT wrapFlag = wrap ? DT_WORDBREAK : 0;
            const TSize text = MeasureCaption(caption, kLayouts[l], r, image, margin, 6, DT_NOPREFIX | wrapFlag);
            const Placement p = Place(kLayouts[l], r, image, text, margin, 6);
            ExpectText(caption, p.Text,
                       DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_NOPREFIX | wrapFlag | (centred ? DT_CENTER : 0));
            FList.Draw(Expected(), p.Glyph.Left, p.Glyph.Top, 0);
            EXPECT_TRUE(Same());
            // An unwrapped caption wider than R overflows it, and the image with it.
            TRect overlap;
            if (p.Glyph.Left >= r.Left && p.Glyph.Right <= r.Right && !IntersectRect(&overlap, &p.Glyph, &p.Text)) {
              EXPECT_EQ(At(FActual, p.Glyph.Left + 2, p.Glyph.Top + 2), kInk);
            }
          }
}

TEST_F(DrawUtilsContentTest, AnIndexOutsideTheListLeavesTheCaptionAloneWithoutSpacing) {
  const TRect r{20, 15, 200, 115};
  for (int index : {1, -1}) {
    for (int margin : {-1, 4}) {
      Clear();
      DrawImageAndText(Actual(), r, blGlyphLeft, margin, 9, &FList, index, "&Alone", true, false, false, false, 1,
                       false, clNone, false);
      const TSize text = MeasureCaption("&Alone", blGlyphLeft, r, {0, 0}, margin, 9, 0);
      const Placement p = Place(blGlyphLeft, r, {0, 0}, text, margin, 9);
      ExpectText("&Alone", p.Text, DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_CENTER);
      EXPECT_TRUE(Same()) << index << " " << margin;
    }
  }
  // Without a list there is no image either; a null canvas draws nothing.
  Clear();
  DrawImageAndText(Actual(), r, blGlyphTop, -1, 9, nullptr, 0, "", true, false, false, false, 1, false, clNone, false);
  DrawImageAndText(nullptr, r, blGlyphTop, -1, 9, &FList, 0, "x", true, false, false, false, 1, true, clRed, true);
  EXPECT_TRUE(Blank());
}

TEST_F(DrawUtilsContentTest, APositiveMarginNarrowsTheCaptionsBoxBesideTheImage) {
  // R leaves "alpha beta" two pixels too few once the margin is taken off too: it wraps.
  const int width = Actual()->TextWidth("alpha beta");
  const TRect r{20, 15, 20 + kImage + 6 + 5 + width - 2, 115};
  for (TButtonLayout layout : {blGlyphLeft, blGlyphRight}) {
    Clear();
    DrawImageAndText(Actual(), r, layout, 5, 6, &FList, 0, "alpha beta", true, true, false, true, 1, false, clNone,
                     false);
    const TSize text = MeasureCaption("alpha beta", layout, r, {kImage, kImage}, 5, 6, DT_NOPREFIX | DT_WORDBREAK);
    ASSERT_EQ(text.cy, 2 * Actual()->TextHeight("Wq"));
    const Placement p = Place(layout, r, {kImage, kImage}, text, 5, 6);
    ExpectText("alpha beta", p.Text, DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
    FList.Draw(Expected(), p.Glyph.Left, p.Glyph.Top, 0);
    EXPECT_TRUE(Same()) << layout;
  }
}

TEST_F(DrawUtilsContentTest, GlyphLeftAndTextRaisesTheCaptionByOnePixel) {
  const TRect r{20, 15, 200, 115};
  for (int margin : {-1, 3}) {
    for (bool noPrefix : {true, false}) {
      Clear();
      DrawGlyphLeftAndText(Actual(), r, margin, 4, &FList, 0, "&Open", true, noPrefix, false);
      // Measured always without prefixes, drawn as NoPrefix says.
      const TSize text = MeasureCaption("&Open", blGlyphLeft, r, {kImage, kImage}, margin, 4, DT_NOPREFIX);
      Placement p = Place(blGlyphLeft, r, {kImage, kImage}, text, margin, 4);
      OffsetRect(&p.Text, 0, -1);
      ExpectText("&Open", p.Text, DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_CENTER | (noPrefix ? DT_NOPREFIX : 0));
      FList.Draw(Expected(), p.Glyph.Left, p.Glyph.Top, 0);
      EXPECT_TRUE(Same()) << margin << " " << noPrefix;
    }
  }
}

TEST_F(DrawUtilsContentTest, RightToLeftMirrorsTheCaptionsLines) {
  // The lines of a wrapped caption align to the right of their box instead of the left;
  // centred lines stay centred. The image goes where the layout says (the caller passes
  // blGlyphRight for a right-to-left control).
  const TRect r{20, 15, 200, 115};
  const String caption = "Short\nA much longer line";
  for (bool centred : {false, true}) {
    Clear();
    if (centred)
      DrawImageAndText(Actual(), r, blGlyphRight, 4, 5, &FList, 0, caption, true, true, true, true, 1, false, clNone,
                       false);
    else
      DrawImageAndTextLeft(Actual(), r, blGlyphRight, 4, 5, &FList, 0, caption, true, true, true, true, 1, false,
                           clNone, false);
    const TSize text = MeasureCaption(caption, blGlyphRight, r, {kImage, kImage}, 4, 5, DT_NOPREFIX | DT_WORDBREAK);
    const Placement p = Place(blGlyphRight, r, {kImage, kImage}, text, 4, 5);
    ExpectText(caption, p.Text,
               DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_NOPREFIX | DT_WORDBREAK | DT_RTLREADING |
                   (centred ? DT_CENTER : DT_RIGHT));
    FList.Draw(Expected(), p.Glyph.Left, p.Glyph.Top, 0);
    EXPECT_TRUE(Same()) << centred;
  }
}

// One channel of an opaque source over an opaque destination at constant opacity A,
// composited source-over: A/255 of the source and (255 - A)/255 of the destination,
// each rounded.
uint32_t Over(uint32_t Source, uint32_t Dest, int A) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double s = (Source >> shift) & 0xFF, d = (Dest >> shift) & 0xFF;
    const auto v = uint32_t(std::lround(s * A / 255.0) + std::lround(d * (255 - A) / 255.0));
    out |= std::min(v, 255u) << shift;
  }
  return out;
}

TEST_F(DrawUtilsContentTest, DisabledImageIsDrawnAtOpacity80) {
  // A 24-bit list keeps no alpha: the colour of the top-left pixel is the background.
  TImageList plain24(nullptr, kImage, kImage), masked24(nullptr, kImage, kImage), shared(nullptr, kImage, kImage);
  plain24.SetColorDepth(cd24Bit);
  plain24.SetMasked(false);
  masked24.SetColorDepth(cd24Bit);
  auto keyed = Picture(pf24bit, 0xFFFF00FFu);
  plain24.Add(keyed.get(), nullptr);
  masked24.AddMasked(keyed.get(), clFuchsia);
  auto withAlpha = Picture(pf32bit, 0);
  shared.Add(withAlpha.get(), nullptr);
  shared.SetShareImages(true);
  struct Case {
    const char* Name;
    TCustomImageList* List;
    bool Enabled;
    uint32_t Inside;  // the square's pixel
  };
  const Case cases[] = {
      {"32-bit, disabled", &FList, false, Over(kInk, kWhite, 80)},
      {"24-bit, disabled", &plain24, false, Over(kInk, kWhite, 80)},
      {"24-bit masked, disabled", &masked24, false, Over(kInk, kWhite, 80)},
      {"32-bit, enabled", &FList, true, kInk},
      // A shared system list is drawn as it is.
      {"shared, disabled", &shared, false, kInk},
  };
  const TRect r{20, 15, 200, 115};
  for (const Case& c : cases) {
    Clear();
    DrawImageAndText(Actual(), r, blGlyphTop, 10, 0, c.List, 0, "", c.Enabled, true, false, false, 1, false, clNone,
                     false);
    const int x = r.Left + r.Width() / 2 - kImage / 2, y = r.Top + 10;
    EXPECT_EQ(At(FActual, x + 2, y + 2), c.Inside) << c.Name;
    EXPECT_EQ(At(FActual, x + kImage - 3, y + kImage - 3), c.Inside) << c.Name;
    EXPECT_EQ(At(FActual, x, y), kWhite) << c.Name << ": the border is transparent";
    EXPECT_EQ(At(FActual, x + 1, y + kImage - 1), kWhite) << c.Name;
  }
  // The routine on its own, at any opacity; nothing for an index outside the list.
  Clear();
  DrawImageListImageAlpha(Actual(), 5, 5, 200, 0, &plain24);
  DrawImageListImageAlpha(Actual(), 50, 5, 200, 1, &plain24);
  DrawImageListImageAlpha(nullptr, 50, 5, 200, 0, &plain24);
  EXPECT_EQ(At(FActual, 9, 9), Over(kInk, kWhite, 200));
  EXPECT_EQ(At(FActual, 5, 5), kWhite);
  EXPECT_EQ(At(FActual, 55, 10), kWhite);
}

TEST_F(DrawUtilsContentTest, FocusMarkSurroundsTheCaptionOrTheImage) {
  const TRect r{20, 15, 200, 115};
  for (double scale : {1.0, 2.0}) {
    for (const char* caption : {"Focused", ""}) {
      Clear();
      DrawImageAndText(Actual(), r, blGlyphLeft, -1, 4, &FList, 0, caption, true, true, false, false, scale, true,
                       clNone, false);
      const TSize text = MeasureCaption(caption, blGlyphLeft, r, {kImage, kImage}, -1, 4, DT_NOPREFIX);
      const Placement p = Place(blGlyphLeft, r, {kImage, kImage}, text, -1, 4);
      ExpectText(caption, p.Text, DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_NOPREFIX | DT_CENTER);
      TRect focus = *caption ? p.Text : p.Glyph;
      InflateRect(&focus, 2, 2);
      DrawFocusRectScaled(Expected(), focus, scale);
      FList.Draw(Expected(), p.Glyph.Left, p.Glyph.Top, 0);
      EXPECT_TRUE(Same()) << scale << " '" << caption << "'";
    }
  }
}

TEST_F(DrawUtilsContentTest, ColourBarLiesUnderTheImageOrTheCaptionOrFillsTheRectangle) {
  const TRect r{20, 15, 200, 115};
  const uint32_t bar = 0xFF00C000u;  // clGreen-ish, as a pixel
  const TColor barColor = TColor(RGB(0, 0xC0, 0));
  struct Case {
    const char* Name;
    int Index;
    const char* Caption;
    double Scale;
    int Lines;  // Trunc(2 * Scale) + 1
  };
  const Case cases[] = {
      {"image, scale 1", 0, "Bar", 1.0, 3},
      {"image, scale 1.5", 0, "", 1.5, 4},
      {"caption only", -1, "Bar", 1.0, 3},
  };
  for (const Case& c : cases) {
    Clear();
    DrawImageAndText(Actual(), r, blGlyphTop, -1, 2, &FList, c.Index, c.Caption, true, true, false, false, c.Scale,
                     false, barColor, true);
    const TSize g = c.Index == 0 ? TSize{kImage, kImage} : TSize{0, 0};
    const TSize text = MeasureCaption(c.Caption, blGlyphTop, r, g, -1, 2, DT_NOPREFIX);
    const Placement p = Place(blGlyphTop, r, g, text, -1, 2);
    const TRect under = c.Index == 0 ? p.Glyph : p.Text;
    for (int i = 0; i < c.Lines; ++i) {
      EXPECT_EQ(At(FActual, under.Left, under.Bottom + i), bar) << c.Name << " line " << i;
      EXPECT_EQ(At(FActual, under.Right - 1, under.Bottom + i), bar) << c.Name << " line " << i;
    }
    EXPECT_NE(At(FActual, under.Left, under.Bottom + c.Lines), bar) << c.Name;
    EXPECT_NE(At(FActual, under.Right, under.Bottom), bar) << c.Name << ": the line's end is not drawn";
  }
  // Neither image nor caption: R inset by 4, and by 2 at the right, is filled.
  Clear();
  DrawImageAndTextLeft(Actual(), r, blGlyphLeft, -1, 2, &FList, 5, "", true, true, false, false, 1, false, barColor,
                       true);
  EXPECT_EQ(At(FActual, r.Left + 4, r.Top + 4), bar);
  EXPECT_EQ(At(FActual, r.Right - 3, r.Bottom - 5), bar);
  EXPECT_EQ(At(FActual, r.Left + 3, r.Top + 4), kWhite);
  EXPECT_EQ(At(FActual, r.Left + 4, r.Top + 3), kWhite);
  EXPECT_EQ(At(FActual, r.Right - 2, r.Bottom - 5), kWhite);
  EXPECT_EQ(At(FActual, r.Right - 3, r.Bottom - 4), kWhite);
}

TEST_F(DrawUtilsContentTest, WrappedCaptionBreaksBetweenWordsAndIsShortenedWhenItDoesNotFit) {
  // Margin 0, image left: the text box is R less the image and the spacing, as wide as
  // "alpha beta" plus a little, so "gamma" goes to the second line.
  const UINT flags = DT_WORDBREAK | DT_NOPREFIX | DT_CENTER;
  TRect words{0, 0, 1000, 100};
  DrawText(Expected()->Handle(), "alpha beta", -1, &words, DT_CALCRECT | DT_NOPREFIX);
  const int line = Expected()->TextHeight("Wq");
  const int boxWidth = words.Width() + 3;
  const TRect r{20, 10, 20 + kImage + 4 + boxWidth, 10 + 3 * line};
  EXPECT_FALSE(
      DrawImageAndWrappedText(Actual(), r, blGlyphLeft, 0, 4, &FList, 0, "alpha beta gamma", true, true, false));
  // Two lines, broken by hand, vertically centred in the box.
  const TRect box{r.Left + kImage + 4, r.Top, r.Right, r.Bottom};
  const int top = box.Top + box.Height() / 2 - 2 * line / 2;
  ExpectText("alpha beta\ngamma", {box.Left, top, box.Right, top + 2 * line}, flags);
  FList.Draw(Expected(), r.Left, r.Top + r.Height() / 2 - kImage / 2, 0);
  EXPECT_TRUE(Same());

  // Too much text for three lines: shortened, and drawn as DrawFittedText draws it in
  // the wrapped layout's box.
  Clear();
  const String longer = "alpha beta gamma delta epsilon zeta eta theta iota kappa";
  EXPECT_TRUE(DrawImageAndWrappedText(Actual(), r, blGlyphLeft, 0, 4, &FList, 0, longer, true, true, false));
  EXPECT_TRUE(DrawFittedText(Expected(), longer, box, true, false, false));
  FList.Draw(Expected(), r.Left, r.Top + r.Height() / 2 - kImage / 2, 0);
  EXPECT_TRUE(Same());
  EXPECT_FALSE(DrawImageAndWrappedText(nullptr, r, blGlyphLeft, 0, 4, &FList, 0, longer, true, true, false));
}

TEST_F(DrawUtilsContentTest, WrappedLayoutsMatchTheirArithmeticForEveryLayout) {
  const TRect r{30, 20, 190, 110};
  const String caption = "An item caption that wraps";
  for (int l = 0; l < 4; ++l) {
    for (int margin : {-1, 2}) {
      for (bool enabled : {true, false}) {
        SCOPED_TRACE(std::string(kLayoutNames[l]) + " margin " + std::to_string(margin) + (enabled ? "" : " disabled"));
        Clear();
        DrawImageAndWrappedText(Actual(), r, kLayouts[l], margin, 5, &FList, 0, caption, enabled, true, false);
        TSize text = MeasureCaption(caption, kLayouts[l], r, {kImage, kImage}, margin, 5, DT_WORDBREAK | DT_NOPREFIX);
        int gx, gy, tx, ty;
        CalcGlyphWrappedTextLayout(kLayouts[l], r, kImage, kImage, text.cx, text.cy, margin, 5, gx, gy, tx, ty);
        DrawFittedText(Expected(), caption, Bounds(tx, ty, text.cx, text.cy), true, false, false);
        if (enabled)
          FList.Draw(Expected(), gx, gy, 0);
        else
          DrawImageListImageAlpha(Expected(), gx, gy, 80, 0, &FList);
        EXPECT_TRUE(Same());
      }
    }
  }
}

// ---- glow ----

TEST_F(DrawUtilsContentTest, GlowFormsDrawTheGlowingCaptionAndImageAtTheSamePlaces) {
  const TRect r{20, 15, 200, 115};
  const String caption = "Glowing caption";
  const UINT wrapped = DT_NOCLIP | DT_EXPANDTABS | DT_VCENTER | DT_WORDBREAK;
  for (bool centred : {true, false}) {
    for (bool imageGlow : {true, false}) {
      SCOPED_TRACE(std::string(centred ? "centred" : "left") + (imageGlow ? ", image glow" : ""));
      Clear();
      if (centred)
        DrawImageAndTextWithGlow(Actual(), r, blGlyphLeft, -1, 4, &FList, 0, caption, false, true, false, 1, false, 200,
                                 true, 5, clRed, 1, imageGlow, clNone, false);
      else
        DrawImageAndTextLeftWithGlow(Actual(), r, blGlyphLeft, -1, 4, &FList, 0, caption, false, true, false, 1, false,
                                     200, true, 5, clRed, 1, imageGlow, clNone, false);
      const TSize text = MeasureCaption(caption, blGlyphLeft, r, {kImage, kImage}, -1, 4, DT_NOPREFIX | DT_WORDBREAK);
      const Placement p = Place(blGlyphLeft, r, {kImage, kImage}, text, -1, 4);
      DrawTextWithGlow(Expected(), p.Text, caption, true, false, 200, true, 5, clRed, 1,
                       wrapped | (centred ? DT_CENTER : 0));
      // A glowing image is drawn enabled; otherwise the disabled look.
      if (imageGlow)
        DrawImageWithGlow(Expected(), p.Glyph.Left, p.Glyph.Top, 200, 5, clRed, 1, 0, &FList);
      else
        DrawImageListImageAlpha(Expected(), p.Glyph.Left, p.Glyph.Top, 80, 0, &FList);
      EXPECT_TRUE(Same());
    }
  }
}

TEST_F(DrawUtilsContentTest, CachedGlowPaintsTheSameEveryTimeAndRebuildDropsBothLayers) {
  const TRect r{20, 15, 200, 115};
  const String caption = "Cached";
  TBitmap* textCache = nullptr;
  TBitmap* imageCache = nullptr;
  for (int paint = 0; paint < 3; ++paint) {
    Clear();
    DrawImageAndTextWithGlow(Expected(), r, blGlyphTop, -1, 4, &FList, 0, caption, true, true, false, 1, false, 255,
                             false, 4, clBlue, 0, true, clNone, false);
    TBitmap* const oldText = textCache;
    DrawImageAndTextWithCachedGlow(Actual(), r, blGlyphTop, -1, 4, &FList, 0, caption, true, true, false, textCache,
                                   imageCache, paint == 2, true, 1, false, 255, false, 4, clBlue, 0, true, clNone,
                                   false);
    EXPECT_TRUE(Same()) << paint;
    ASSERT_NE(textCache, nullptr);
    ASSERT_NE(imageCache, nullptr);
    if (paint == 1) {
      EXPECT_EQ(textCache, oldText) << "kept";
    }
  }
  // Rebuild drops both layers even when nothing is drawn that would make them again.
  DrawImageAndTextLeftWithCachedGlow(Actual(), r, blGlyphTop, -1, 4, &FList, 7, "", true, true, false, textCache,
                                     imageCache, true, true, 1, false, 255, false, 4, clBlue, 0, true, clNone, false);
  EXPECT_EQ(textCache, nullptr);
  EXPECT_EQ(imageCache, nullptr);
}

TEST_F(DrawUtilsContentTest, WrappedGlowCaptionIsLeftAlignedBesideTheImageAndCentredAboveOrBelow) {
  const TRect r{30, 20, 190, 110};
  const String caption = "A wrapped glowing caption that is long enough to be cut short";
  for (int l = 0; l < 4; ++l) {
    SCOPED_TRACE(kLayoutNames[l]);
    Clear();
    const bool shortened = DrawImageAndWrappedTextWithGlow(Actual(), r, kLayouts[l], -1, 5, &FList, 0, caption, true,
                                                           true, false, 180, true, 4, clRed, 0, true);
    TSize text = MeasureCaption(caption, kLayouts[l], r, {kImage, kImage}, -1, 5, DT_WORDBREAK | DT_NOPREFIX);
    int gx, gy, tx, ty;
    CalcGlyphWrappedTextLayout(kLayouts[l], r, kImage, kImage, text.cx, text.cy, -1, 5, gx, gy, tx, ty);
    const bool beside = kLayouts[l] == blGlyphLeft || kLayouts[l] == blGlyphRight;
    EXPECT_EQ(shortened, DrawFittedTextWithGlow(Expected(), caption, Bounds(tx, ty, text.cx, text.cy), true, 180, true,
                                                4, clRed, 0, false, beside));
    DrawImageWithGlow(Expected(), gx, gy, 180, 4, clRed, 0, 0, &FList);
    EXPECT_TRUE(Same());
  }
}

}  // namespace
