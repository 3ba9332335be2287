#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qvDrawUtils/Glow.h"
#include "themes/StyleManager.h"
#include "themes/StyleServices.h"
#include "themes/UxTheme.h"
#include "vcl/ImgList.h"

namespace {

// ---- parameter objects ----

class DrawUtilsGlowEffectTest : public ::testing::Test {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
  }
  enum TMode { Classic, Themed, Styled };
  static void Enter(TMode Mode) {
    TStyleManager::SetStyle(Mode == Styled ? "Windows10 Dark" : "Windows");
    SetThemeAppProperties(Mode == Classic ? 0 : STAP_VALIDBITS);
  }
};

TEST_F(DrawUtilsGlowEffectTest, Defaults) {
  TqvButtonGlowEffect g;
  EXPECT_FALSE(g.Enabled());
  EXPECT_EQ(g.Color(), clHighlight);
  EXPECT_EQ(g.AlphaValue(), 255);
  EXPECT_EQ(g.GlowSize(), 7);
  EXPECT_EQ(g.Offset(), 0);
  EXPECT_TRUE(g.Intensive());
  EXPECT_TRUE(g.StyleColors());
  EXPECT_EQ(g.HotColor(), clNone);
  EXPECT_EQ(g.PressedColor(), clNone);
  EXPECT_EQ(g.FocusedColor(), clNone);
  EXPECT_EQ(g.PressedAlphaValue(), 255);
  EXPECT_EQ(g.PressedGlowSize(), 7);
  EXPECT_EQ(g.States(), (TqvsCtrlStates{qvsHot, qvsPressed, qvsFocused}));
}

TEST_F(DrawUtilsGlowEffectTest, SettersNotifyOncePerRealChangeWhileEnabled) {
  struct Case {
    const char* Name;
    std::function<void(TqvButtonGlowEffect&)> SetNew;
    std::function<bool(const TqvButtonGlowEffect&)> Stored;
  };
  const Case cases[] = {
      {"Color", [](auto& g) { g.SetColor(clRed); }, [](auto& g) { return g.Color() == clRed; }},
      {"AlphaValue", [](auto& g) { g.SetAlphaValue(100); }, [](auto& g) { return g.AlphaValue() == 100; }},
      {"GlowSize", [](auto& g) { g.SetGlowSize(3); }, [](auto& g) { return g.GlowSize() == 3; }},
      {"Offset", [](auto& g) { g.SetOffset(2); }, [](auto& g) { return g.Offset() == 2; }},
      {"Intensive", [](auto& g) { g.SetIntensive(false); }, [](auto& g) { return !g.Intensive(); }},
      {"StyleColors", [](auto& g) { g.SetStyleColors(false); }, [](auto& g) { return !g.StyleColors(); }},
      {"HotColor", [](auto& g) { g.SetHotColor(clLime); }, [](auto& g) { return g.HotColor() == clLime; }},
      {"PressedColor", [](auto& g) { g.SetPressedColor(clBlue); }, [](auto& g) { return g.PressedColor() == clBlue; }},
      {"FocusedColor", [](auto& g) { g.SetFocusedColor(clAqua); }, [](auto& g) { return g.FocusedColor() == clAqua; }},
      {"PressedGlowSize", [](auto& g) { g.SetPressedGlowSize(9); }, [](auto& g) { return g.PressedGlowSize() == 9; }},
      {"PressedAlphaValue", [](auto& g) { g.SetPressedAlphaValue(9); },
       [](auto& g) { return g.PressedAlphaValue() == 9; }},
      {"States", [](auto& g) { g.SetStates({qvsNormal}); },
       [](auto& g) { return g.States() == TqvsCtrlStates{qvsNormal}; }},
  };
  for (const Case& c : cases) {
    for (bool enabled : {true, false}) {
      TqvButtonGlowEffect g;
      g.SetEnabled(enabled);
      int calls = 0;
      TObject* sender = nullptr;
      g.OnChange = [&](TObject* Sender) {
        ++calls;
        sender = Sender;
      };
      c.SetNew(g);
      c.SetNew(g);  // the same value again
      EXPECT_TRUE(c.Stored(g)) << c.Name;
      EXPECT_EQ(calls, enabled ? 1 : 0) << c.Name << (enabled ? " enabled" : " disabled");
      if (enabled) {
        EXPECT_EQ(sender, &g) << c.Name;
      }
    }
  }
}

TEST_F(DrawUtilsGlowEffectTest, EnabledNotifiesBothWays) {
  TqvGlowEffect g;
  int calls = 0;
  g.OnChange = [&](TObject*) { ++calls; };
  g.SetEnabled(false);
  EXPECT_EQ(calls, 0);
  g.SetEnabled(true);
  g.SetEnabled(true);
  EXPECT_EQ(calls, 1);
  g.SetEnabled(false);
  EXPECT_EQ(calls, 2);
  // Without a handler nothing happens.
  g.OnChange = nullptr;
  g.SetEnabled(true);
  g.SetColor(clRed);
  EXPECT_EQ(g.Color(), clRed);
}

TEST_F(DrawUtilsGlowEffectTest, AssignCopiesWhatBothKindsHaveWithoutNotifying) {
  TqvButtonGlowEffect from;
  from.SetEnabled(true);
  from.SetColor(clRed);
  from.SetAlphaValue(90);
  from.SetGlowSize(4);
  from.SetOffset(3);
  from.SetIntensive(false);
  from.SetStyleColors(false);
  from.SetHotColor(clLime);
  from.SetPressedColor(clBlue);
  from.SetFocusedColor(clAqua);
  from.SetPressedAlphaValue(80);
  from.SetPressedGlowSize(2);
  from.SetStates({qvsDisabled});

  auto sameBase = [](const TqvGlowEffect& a, const TqvGlowEffect& b) {
    return a.Enabled() == b.Enabled() && a.Color() == b.Color() && a.AlphaValue() == b.AlphaValue() &&
           a.GlowSize() == b.GlowSize() && a.Offset() == b.Offset() && a.Intensive() == b.Intensive() &&
           a.StyleColors() == b.StyleColors();
  };

  TqvButtonGlowEffect button;
  button.SetEnabled(true);
  int calls = 0;
  button.OnChange = [&](TObject*) { ++calls; };
  button.Assign(&from);
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(sameBase(button, from));
  EXPECT_EQ(button.HotColor(), clLime);
  EXPECT_EQ(button.PressedColor(), clBlue);
  EXPECT_EQ(button.FocusedColor(), clAqua);
  EXPECT_EQ(button.PressedAlphaValue(), 80);
  EXPECT_EQ(button.PressedGlowSize(), 2);
  EXPECT_EQ(button.States(), TqvsCtrlStates{qvsDisabled});

  // A plain glow takes the seven values; a button glow given a plain one keeps its own
  // state values.
  TqvGlowEffect plain;
  plain.Assign(&from);
  EXPECT_TRUE(sameBase(plain, from));
  TqvButtonGlowEffect other;
  plain.SetColor(clYellow);
  other.Assign(&plain);
  EXPECT_EQ(other.Color(), clYellow);
  EXPECT_EQ(other.HotColor(), clNone);
  EXPECT_EQ(other.States(), (TqvsCtrlStates{qvsHot, qvsPressed, qvsFocused}));

  // Anything else is the inherited assignment's business.
  TFont font;
  EXPECT_THROW(plain.Assign(&font), EConvertError);
  EXPECT_THROW(plain.Assign(nullptr), EConvertError);
}

TEST_F(DrawUtilsGlowEffectTest, ColoursFollowTheCustomStyleWhenStyleColors) {
  TqvButtonGlowEffect g;
  g.SetHotColor(clBtnShadow);
  g.SetPressedColor(clRed);
  for (TMode mode : {Classic, Themed, Styled}) {
    Enter(mode);
    const bool styled = mode == Styled;
    const TColor highlight = styled ? StyleServices()->GetSystemColor(clHighlight) : clHighlight;
    const TColor shadow = styled ? StyleServices()->GetSystemColor(clBtnShadow) : clBtnShadow;
    g.SetStyleColors(true);
    EXPECT_EQ(g.GetColor(), highlight) << mode;
    EXPECT_EQ(g.GetHotColor(), shadow) << mode;
    EXPECT_EQ(g.GetPressedColor(), clRed) << mode;
    EXPECT_EQ(g.GetFocusedColor(), clNone) << mode;
    g.SetStyleColors(false);
    EXPECT_EQ(g.GetColor(), clHighlight) << mode;
    EXPECT_EQ(g.GetHotColor(), clBtnShadow) << mode;
  }
  Enter(Styled);
  EXPECT_NE(StyleServices()->GetSystemColor(clHighlight), clHighlight);  // the case above means something
}

TEST_F(DrawUtilsGlowEffectTest, ClassicHighlightGlowIsFainter) {
  struct Case {
    TColor Color;
    uint8_t Alpha;
    uint8_t Classic, Themed, Styled;
  };
  const Case cases[] = {
      {clHighlight, 255, 175, 255, 255},
      {clHighlight, 171, 91, 171, 171},
      {clHighlight, 170, 170, 170, 170},
      {clRed, 255, 255, 255, 255},
      {TColor(ColorToRGB(clHighlight)), 255, 255, 255, 255},  // only the system colour itself
  };
  const Case pressed[] = {
      {clHighlight, 255, 205, 255, 255},
      {clHighlight, 201, 151, 201, 201},
      {clHighlight, 200, 200, 200, 200},
      {clNone, 255, 255, 255, 255},
  };
  for (TMode mode : {Classic, Themed, Styled}) {
    Enter(mode);
    for (const Case& c : cases) {
      TqvButtonGlowEffect g;
      g.SetColor(c.Color);
      g.SetAlphaValue(c.Alpha);
      EXPECT_EQ(g.GetAlphaValue(), mode == Classic ? c.Classic : mode == Themed ? c.Themed : c.Styled)
          << mode << " " << c.Color << " " << int(c.Alpha);
    }
    for (const Case& c : pressed) {
      TqvButtonGlowEffect g;
      g.SetPressedColor(c.Color);
      g.SetPressedAlphaValue(c.Alpha);
      EXPECT_EQ(g.GetPressedAlphaValue(), mode == Classic ? c.Classic : mode == Themed ? c.Themed : c.Styled)
          << mode << " pressed " << c.Color << " " << int(c.Alpha);
    }
  }
}

TEST_F(DrawUtilsGlowEffectTest, GlowParamsByState) {
  TqvButtonGlowEffect g;
  g.SetColor(clRed);
  g.SetAlphaValue(201);
  g.SetGlowSize(5);
  g.SetHotColor(clLime);
  g.SetFocusedColor(clNone);
  g.SetPressedColor(clBlue);
  g.SetPressedGlowSize(3);
  g.SetPressedAlphaValue(150);
  struct Case {
    TqvsCtrlState State;
    TColor Color;
    uint8_t Alpha;
    int Size;
  };
  const Case cases[] = {
      {qvsNormal, clRed, 201, 5},   {qvsHot, clLime, 201, 5},      {qvsPressed, clBlue, 150, 3},
      {qvsFocused, clRed, 201, 5},  // clNone falls back to Color
      {qvsDisabled, clRed, 100, 5},  // half the opacity
  };
  for (const Case& c : cases) {
    TColor color = clNone;
    uint8_t alpha = 0;
    int size = -1;
    // Only the states in States glow.
    g.SetStates({});
    EXPECT_FALSE(g.GetGlowParams(c.State, color, alpha, size)) << c.State;
    g.SetStates({c.State});
    ASSERT_TRUE(g.GetGlowParams(c.State, color, alpha, size)) << c.State;
    EXPECT_EQ(color, c.Color) << c.State;
    EXPECT_EQ(alpha, c.Alpha) << c.State;
    EXPECT_EQ(size, c.Size) << c.State;
  }
  // With the default states a disabled control does not glow.
  TqvButtonGlowEffect byDefault;
  TColor color;
  uint8_t alpha;
  int size;
  EXPECT_FALSE(byDefault.GetGlowParams(qvsDisabled, color, alpha, size));
  EXPECT_FALSE(byDefault.GetGlowParams(qvsNormal, color, alpha, size));
  EXPECT_TRUE(byDefault.GetGlowParams(qvsHot, color, alpha, size));
}

// ---- layers ----

uint32_t* Row(TBitmap& B, int y) { return static_cast<uint32_t*>(B.ScanLine(y)); }
uint32_t At(TBitmap& B, int x, int y) { return Row(B, y)[x]; }

// A transparent pf32bit picture of W x H with the canvas font of the tests.
std::unique_ptr<TBitmap> Transparent(int W, int H) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(W, H);
  b->Canvas()->Font()->SetName("Tahoma");
  b->Canvas()->Font()->SetHeight(-16);
  b->Canvas()->Font()->SetColor(clBlack);
  return b;
}

bool SamePixels(TBitmap& A, TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) return false;
  return std::equal(Row(A, 0), Row(A, 0) + size_t(A.Width()) * A.Height(), Row(B, 0));
}

// The bounding box of the pixels that are not 0.
TRect Bounds(TBitmap& B) {
  TRect r{B.Width(), B.Height(), 0, 0};
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (At(B, x, y)) {
        r.Left = std::min<LONG>(r.Left, x);
        r.Top = std::min<LONG>(r.Top, y);
        r.Right = std::max<LONG>(r.Right, x + 1);
        r.Bottom = std::max<LONG>(r.Bottom, y + 1);
      }
  return r.IsEmpty() ? TRect{} : r;
}

// Where the text alone puts ink on a transparent picture of the same size.
TRect TextInk(int W, int H, const String& Text, TRect R, UINT Flags) {
  auto b = Transparent(W, H);
  b->Canvas()->Brush()->SetStyle(bsClear);
  DrawText(b->Canvas()->Handle(), Text, -1, &R, Flags);
  return Bounds(*b);
}

TRect Inflated(TRect R, int D) {
  InflateRect(&R, D, D);
  return R;
}

constexpr UINT kFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
const String kText = "Glow";

class DrawUtilsGlowTest : public ::testing::Test {};

TEST_F(DrawUtilsGlowTest, LayerPeaksUnderTheTextAndFadesToNothingBeyondGlowSize) {
  for (int d : {3, 7}) {
    TBitmap* layer = nullptr;
    auto canvas = Transparent(200, 80);
    const TRect r{40, 20, 160, 60};
    DrawTextWithCachedGlow(layer, false, canvas->Canvas(), true, false, 255, true, d, clWhite, 0, kFlags, kText, r);
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->Width(), r.Width() + 2 * d);
    ASSERT_EQ(layer->Height(), r.Height() + 2 * d);
    EXPECT_EQ(layer->AlphaFormat(), afPremultiplied);
    // The text in layer coordinates; the mask is the text moved a pixel four ways, and
    // the blur reaches d further.
    TRect ink = TextInk(200, 80, kText, r, kFlags);
    OffsetRect(&ink, d - r.Left, d - r.Top);
    const TRect reach = Inflated(ink, d + 1);
    uint32_t peak = 0;
    TPoint peakAt{};
    for (int y = 0; y < layer->Height(); ++y)
      for (int x = 0; x < layer->Width(); ++x) {
        const uint32_t p = At(*layer, x, y);
        // White premultiplied: all four bytes equal the opacity.
        ASSERT_EQ(p, (p >> 24) * 0x01010101u) << x << "," << y;
        if (!reach.Contains({x, y})) {
          ASSERT_EQ(p, 0u) << "d " << d << " at " << x << "," << y;
        }
        if ((p >> 24) > peak) {
          peak = p >> 24;
          peakAt = {x, y};
        }
      }
    EXPECT_GT(peak, 128u) << d;
    EXPECT_TRUE(ink.Contains(peakAt)) << d;
    // Along the middle row, right of the text, the glow falls to 0 by d + 2.
    const int y = (ink.Top + ink.Bottom) / 2;
    uint32_t previous = 255;
    for (int x = ink.Right; x < ink.Right + d + 3; ++x) {
      const uint32_t a = At(*layer, x, y) >> 24;
      EXPECT_LE(a, previous) << x;
      previous = a;
    }
    // The glow reaches past the text: right beside it something shows.
    uint32_t beside = 0;
    for (int row = 0; row < layer->Height(); ++row) beside = std::max(beside, At(*layer, ink.Right + 1, row) >> 24);
    EXPECT_GT(beside, 0u) << d;
    FreeAndNil(layer);
  }
}

TEST_F(DrawUtilsGlowTest, LayerSitsAtTheRectangleMovedByOffset) {
  const int d = 5;
  const TRect r{40, 20, 160, 60};
  const TRect ink = TextInk(200, 90, kText, r, kFlags);
  for (int offset : {0, 2, d}) {
    TBitmap* layer = nullptr;
    auto canvas = Transparent(200, 90);
    DrawTextWithCachedGlow(layer, false, canvas->Canvas(), true, false, 255, true, d, clRed, offset, kFlags, kText, r);
    ASSERT_NE(layer, nullptr);
    // The layer's corner is d up and left of the rectangle's, moved by Offset: with
    // Offset = GlowSize the two corners coincide.
    TRect glow = Bounds(*layer);
    OffsetRect(&glow, r.Left - d + offset, r.Top - d + offset);
    TRect expected{};
    UnionRect(&expected, &glow, &ink);
    EXPECT_EQ(Bounds(*canvas), expected) << offset;
    // The text stays in the rectangle whatever the offset.
    EXPECT_TRUE(ink.Left >= r.Left && ink.Right <= r.Right && ink.Top >= r.Top && ink.Bottom <= r.Bottom);
    FreeAndNil(layer);
  }
}

TEST_F(DrawUtilsGlowTest, ZeroGlowSizeIsAHardCopyOfTheText) {
  const TRect r{0, 0, 120, 40};
  TBitmap* layer = nullptr;
  auto canvas = Transparent(120, 40);
  DrawTextWithCachedGlow(layer, false, canvas->Canvas(), true, false, 255, false, 0, clWhite, 0, kFlags, kText, r);
  ASSERT_NE(layer, nullptr);
  // The mask: the text in white on black.
  auto mask = Transparent(120, 40);
  mask->Canvas()->Brush()->SetColor(clBlack);
  mask->Canvas()->FillRect(r);
  mask->Canvas()->Font()->SetColor(clWhite);
  mask->Canvas()->Brush()->SetStyle(bsClear);
  TRect t = r;
  DrawText(mask->Canvas()->Handle(), kText, -1, &t, kFlags);
  int inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const uint32_t coverage = (At(*mask, x, y) >> 16) & 0xFF;
      ASSERT_EQ(At(*layer, x, y), coverage * 0x01010101u) << x << "," << y;
      inked += coverage == 255;
    }
  EXPECT_GT(inked, 20);
  FreeAndNil(layer);
}

TEST_F(DrawUtilsGlowTest, CachedGlowPutsTheSamePixelsOnEveryPaint) {
  struct Case {
    const char* Name;
    TRect Rect;
    UINT Flags;
    bool RightToLeft;
  };
  const Case cases[] = {
      {"roomy", {30, 20, 170, 70}, kFlags, false},
      // Lower and narrower than 2 * GlowSize: enlarged, so the centred text moves down
      // and right; it must do so on the paints that reuse the layer too.
      {"small", {60, 30, 73, 41}, kFlags, false},
      {"small, right to left", {60, 30, 73, 41}, DT_VCENTER | DT_SINGLELINE, true},
      {"word break", {30, 20, 90, 35}, DT_WORDBREAK, false},
  };
  const int d = 8;
  for (const Case& c : cases) {
    auto plain = Transparent(220, 100);
    DrawTextWithGlow(plain->Canvas(), c.Rect, kText, false, c.RightToLeft, 200, true, d, clBlue, 2, c.Flags);

    TBitmap* cache = nullptr;
    auto first = Transparent(220, 100);
    DrawTextWithCachedGlow(cache, false, first->Canvas(), false, c.RightToLeft, 200, true, d, clBlue, 2, c.Flags,
                           kText, c.Rect);
    TBitmap* const built = cache;
    auto later = Transparent(220, 100);
    DrawTextWithCachedGlow(cache, false, later->Canvas(), false, c.RightToLeft, 200, true, d, clBlue, 2, c.Flags,
                           kText, c.Rect);
    EXPECT_EQ(cache, built) << c.Name;  // reused, not rebuilt
    auto rebuilt = Transparent(220, 100);
    DrawTextWithCachedGlow(cache, true, rebuilt->Canvas(), false, c.RightToLeft, 200, true, d, clBlue, 2, c.Flags,
                           kText, c.Rect);

    EXPECT_TRUE(SamePixels(*plain, *first)) << c.Name;
    EXPECT_TRUE(SamePixels(*first, *later)) << c.Name;
    EXPECT_TRUE(SamePixels(*first, *rebuilt)) << c.Name;
    EXPECT_FALSE(Bounds(*first).IsEmpty()) << c.Name;
    FreeAndNil(cache);
  }
}

// A text rectangle narrower or lower than 2 * GlowSize grows to that, to the right and
// down, before anything is drawn: the glow layer covers the grown rectangle and GlowSize
// around it, and the caption is laid out in the grown rectangle.
TEST_F(DrawUtilsGlowTest, SmallRectanglesGrowToTwiceTheGlowSize) {
  const int d = 8;
  struct Case {
    const char* Name;
    int W, H;
    int GrownW, GrownH;
  };
  const Case cases[] = {
      {"narrow and low", 6, 5, 16, 16}, {"narrow", 6, 30, 16, 30}, {"low", 40, 5, 40, 16},
      {"exactly twice", 16, 16, 16, 16}, {"roomy", 40, 30, 40, 30},
  };
  for (const Case& c : cases) {
    const TRect r{50, 40, 50 + c.W, 40 + c.H};
    const TRect grown{50, 40, 50 + c.GrownW, 40 + c.GrownH};
    TBitmap* layer = nullptr;
    auto canvas = Transparent(160, 120);
    // Alpha 0: only the caption shows.
    DrawTextWithCachedGlow(layer, false, canvas->Canvas(), true, false, 0, true, d, clRed, 0, kFlags, "I", r);
    ASSERT_NE(layer, nullptr) << c.Name;
    EXPECT_EQ(layer->Width(), c.GrownW + 2 * d) << c.Name;
    EXPECT_EQ(layer->Height(), c.GrownH + 2 * d) << c.Name;
    const TRect ink = TextInk(160, 120, "I", grown, kFlags);
    EXPECT_EQ(Bounds(*canvas), ink) << c.Name;
    if (c.GrownW != c.W || c.GrownH != c.H) {
      EXPECT_NE(ink, TextInk(160, 120, "I", r, kFlags)) << c.Name << ": the caption moves with the rectangle";
    }
    FreeAndNil(layer);
  }
}

TEST_F(DrawUtilsGlowTest, RebuildMakesANewLayerFromTheNewParameters) {
  TBitmap* cache = nullptr;
  const TRect r{10, 10, 110, 40};
  auto canvas = Transparent(130, 60);
  DrawTextWithCachedGlow(cache, false, canvas->Canvas(), true, false, 255, true, 4, clRed, 0, kFlags, kText, r);
  const uint32_t red = At(*cache, 4 + 50, 4 + 15);
  // Without Rebuild the old layer stays, whatever is asked.
  DrawTextWithCachedGlow(cache, false, canvas->Canvas(), true, false, 255, true, 4, clBlue, 0, kFlags, kText, r);
  EXPECT_EQ(At(*cache, 4 + 50, 4 + 15), red);
  DrawTextWithCachedGlow(cache, true, canvas->Canvas(), true, false, 255, true, 4, clBlue, 0, kFlags, kText, r);
  const uint32_t blue = At(*cache, 4 + 50, 4 + 15);
  EXPECT_EQ(blue & 0x00FFFF00u, 0u);
  EXPECT_EQ(blue & 0xFF, blue >> 24);
  EXPECT_GT(blue >> 24, 0u);
  // A null canvas frees on Rebuild and draws nothing.
  DrawTextWithCachedGlow(cache, true, nullptr, true, false, 255, true, 4, clBlue, 0, kFlags, kText, r);
  EXPECT_EQ(cache, nullptr);
}

TEST_F(DrawUtilsGlowTest, FittedTextWithGlow) {
  auto canvas = Transparent(200, 60);
  EXPECT_FALSE(DrawFittedTextWithGlow(canvas->Canvas(), "", Rect(10, 10, 190, 50), true, 255, true, 5, clRed, 0,
                                      false, false));
  EXPECT_TRUE(Bounds(*canvas).IsEmpty());

  EXPECT_FALSE(DrawFittedTextWithGlow(canvas->Canvas(), kText, Rect(10, 10, 190, 50), true, 255, true, 5, clRed, 0,
                                      false, false));
  EXPECT_FALSE(Bounds(*canvas).IsEmpty());

  auto narrow = Transparent(200, 60);
  EXPECT_TRUE(DrawFittedTextWithGlow(narrow->Canvas(), "A caption far too long for this", Rect(10, 10, 70, 30), true,
                                     255, true, 5, clRed, 0, false, false));
  // The glow spreads around what was drawn, within GlowSize + 1 of the rectangle.
  const TRect b = Bounds(*narrow);
  EXPECT_GE(b.Left, 10 - 6);
  EXPECT_LE(b.Right, 70 + 6);
}

// ---- picture glows ----

TEST_F(DrawUtilsGlowTest, PictureWithoutAlphaGivesAnEmptyGlow) {
  // What an image list hands over for an image drawn without alpha: colours, alpha 0.
  TBitmap source;
  source.SetPixelFormat(pf32bit);
  source.SetSize(6, 4);
  std::fill(Row(source, 0), Row(source, 0) + 24, 0x00FF8040u);
  TBitmap glow;
  MakeGlowBitmap(&glow, &source, 3, clRed);
  ASSERT_EQ(glow.Width(), 6 + 6);
  ASSERT_EQ(glow.Height(), 4 + 6);
  EXPECT_TRUE(Bounds(glow).IsEmpty());
}

TEST_F(DrawUtilsGlowTest, PictureGlowIsTheBlurredShapeInTheGlowColour) {
  // A single shape pixel in each kind of picture gives the tent kernel around it.
  const int g = 3;
  const int d = (g + 1) * (g + 1);
  auto tent = [](int k) { return std::abs(k) <= g ? g + 1 - std::abs(k) : 0; };
  struct Case {
    const char* Name;
    std::function<void(TBitmap&)> Make;
  };
  const Case cases[] = {
      {"32-bit with transparent pixels",
       [](TBitmap& b) {
         b.SetPixelFormat(pf32bit);
         b.SetSize(5, 5);
         Row(b, 2)[1] = 0x01000000u;  // any alpha above 0 counts
       }},
      {"32-bit opaque, key colour in the corner",
       [](TBitmap& b) {
         b.SetPixelFormat(pf32bit);
         b.SetSize(5, 5);
         std::fill(Row(b, 0), Row(b, 0) + 25, 0xFF00FF00u);
         Row(b, 2)[1] = 0xFF00FE00u;
       }},
      {"24-bit, key colour in the corner",
       [](TBitmap& b) {
         b.SetPixelFormat(pf24bit);
         b.SetSize(5, 5);
         std::fill(Row(b, 0), Row(b, 0) + 25, 0x00123456u);  // alpha bytes mean nothing here
         Row(b, 2)[1] = 0x77123457u;
       }},
  };
  for (const Case& c : cases) {
    TBitmap source;
    c.Make(source);
    TBitmap glow;
    MakeGlowBitmap(&glow, &source, g, clWhite);
    ASSERT_EQ(glow.Width(), 5 + 2 * g) << c.Name;
    EXPECT_EQ(glow.AlphaFormat(), afPremultiplied) << c.Name;
    const int cx = 1 + g, cy = 2 + g;
    for (int y = 0; y < glow.Height(); ++y)
      for (int x = 0; x < glow.Width(); ++x) {
        const uint32_t a = uint32_t(tent(y - cy) * (255 * tent(x - cx) / d) / d);
        ASSERT_EQ(At(glow, x, y), a * 0x01010101u) << c.Name << " at " << x << "," << y;
      }
  }
}

// A 12 x 12 picture: an opaque 4 x 4 square in the middle, the rest transparent; a
// 24-bit picture of the same square on a key colour.
std::unique_ptr<TBitmap> SquarePicture(bool WithAlpha) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(WithAlpha ? pf32bit : pf24bit);
  b->SetSize(12, 12);
  if (WithAlpha) b->SetAlphaFormat(afDefined);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool inside = x >= 4 && x < 8 && y >= 4 && y < 8;
      Row(*b, y)[x] = inside ? 0xFF2060A0u : WithAlpha ? 0x00000000u : 0xFFFF00FFu;
    }
  return b;
}

TEST_F(DrawUtilsGlowTest, ImageGlowFollowsTheAlphaOfA32BitList) {
  TImageList list(nullptr, 12, 12);
  ASSERT_EQ(list.ColorDepth(), cd32Bit);
  auto picture = SquarePicture(true);
  ASSERT_EQ(list.Add(picture.get(), nullptr), 0);
  TBitmap fromList, direct;
  MakeImageGlowBitmap(&fromList, &list, 0, clRed, 4);
  MakeGlowBitmap(&direct, picture.get(), 4, clRed);
  ASSERT_EQ(fromList.Width(), 12 + 8);
  ASSERT_EQ(fromList.Height(), 12 + 8);
  EXPECT_TRUE(SamePixels(fromList, direct));
  // The glow of the square reaches 4 pixels around it, from (4, 4) to (12, 12) in the layer.
  EXPECT_EQ(Bounds(fromList), (TRect{4, 4, 16, 16}));
}

TEST_F(DrawUtilsGlowTest, ImageWithoutAlphaGivesAnEmptyGlow) {
  // A list of another colour depth keeps no alpha; an index outside the list and no list
  // have no image at all.
  TImageList list(nullptr, 12, 12);
  list.SetColorDepth(cd24Bit);
  auto picture = SquarePicture(false);
  ASSERT_EQ(list.AddMasked(picture.get(), clFuchsia), 0);
  struct Case {
    const char* Name;
    TCustomImageList* List;
    int Index;
    int Size;
  };
  const Case cases[] = {
      {"24-bit list", &list, 0, 12 + 6},
      {"index past the end", &list, 1, 12 + 6},
      {"negative index", &list, -1, 12 + 6},
      {"no list", nullptr, 0, 6},
  };
  for (const Case& c : cases) {
    TBitmap glow;
    MakeImageGlowBitmap(&glow, c.List, c.Index, clRed, 3);
    EXPECT_EQ(glow.Width(), c.Size) << c.Name;
    EXPECT_EQ(glow.Height(), c.Size) << c.Name;
    EXPECT_TRUE(Bounds(glow).IsEmpty()) << c.Name;
  }
}

TEST_F(DrawUtilsGlowTest, ImageWithGlowDrawsTheGlowThenTheImage) {
  TImageList list(nullptr, 12, 12);
  auto picture = SquarePicture(true);
  list.Add(picture.get(), nullptr);
  const int g = 4, offset = 1;
  auto plain = Transparent(40, 40);
  DrawImageWithGlow(plain->Canvas(), 10, 10, 255, g, clRed, offset, 0, &list);
  // The square itself, opaque, at (14, 14) .. (18, 18); red glow around it, moved by Offset.
  EXPECT_EQ(At(*plain, 14, 14), 0xFF2060A0u);
  EXPECT_EQ(At(*plain, 17, 17), 0xFF2060A0u);
  const uint32_t left = At(*plain, 13, 16);
  EXPECT_GT(left >> 24, 0u);
  EXPECT_EQ(left & 0xFFFF, 0u);  // red only, premultiplied
  EXPECT_EQ(Bounds(*plain), (TRect{10 + offset, 10 + offset, 22 + offset, 22 + offset}));

  TBitmap* cache = nullptr;
  auto first = Transparent(40, 40);
  DrawImageWithCachedGlow(cache, false, first->Canvas(), 255, g, clRed, offset, &list, 0, 10, 10);
  ASSERT_NE(cache, nullptr);
  auto later = Transparent(40, 40);
  DrawImageWithCachedGlow(cache, false, later->Canvas(), 255, g, clRed, offset, &list, 0, 10, 10);
  EXPECT_TRUE(SamePixels(*plain, *first));
  EXPECT_TRUE(SamePixels(*plain, *later));
  FreeAndNil(cache);

  // Nothing for an index outside the list.
  auto none = Transparent(40, 40);
  DrawImageWithGlow(none->Canvas(), 10, 10, 255, g, clRed, offset, 1, &list);
  DrawImageWithCachedGlow(cache, true, none->Canvas(), 255, g, clRed, offset, &list, 5, 10, 10);
  EXPECT_TRUE(Bounds(*none).IsEmpty());
  EXPECT_EQ(cache, nullptr);
}

TEST_F(DrawUtilsGlowTest, MaskToGlowPremultipliesTheColourByTheCoverage) {
  TBitmap mask;
  mask.SetPixelFormat(pf32bit);
  mask.SetSize(3, 1);
  Row(mask, 0)[0] = 0xFF000000u;
  Row(mask, 0)[1] = 0xFF808080u;
  Row(mask, 0)[2] = 0xFFFFFFFFu;
  MaskToGlow(&mask, 0, TColor(RGB(200, 100, 51)));
  // MulDiv(c, a, 255) with halves away from zero: 200 * 128 / 255 = 100.39 -> 100,
  // 100 * 128 / 255 = 50.2 -> 50, 51 * 128 / 255 = 25.6 -> 26.
  EXPECT_EQ(Row(mask, 0)[0], 0u);
  EXPECT_EQ(Row(mask, 0)[1], 0x8064321Au);
  EXPECT_EQ(Row(mask, 0)[2], 0xFFC86433u);
  EXPECT_EQ(mask.AlphaFormat(), afPremultiplied);

  // A bitmap already marked premultiplied ends with the same pixels, for every coverage.
  TBitmap straight, marked;
  marked.SetPixelFormat(pf32bit);
  marked.SetAlphaFormat(afPremultiplied);
  for (TBitmap* b : {&straight, &marked}) {
    b->SetPixelFormat(pf32bit);
    b->SetSize(256, 1);
    for (uint32_t c = 0; c < 256; ++c) Row(*b, 0)[c] = 0xFF000000u | c * 0x010101u;
    MaskToGlow(b, 0, TColor(RGB(201, 99, 13)));
  }
  EXPECT_EQ(marked.AlphaFormat(), afPremultiplied);
  EXPECT_TRUE(SamePixels(straight, marked));
  EXPECT_EQ(Row(straight, 0)[255], 0xFFC9630Du);
}

}  // namespace
