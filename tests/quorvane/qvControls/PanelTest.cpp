// The panel on the headless backend: the rings of every border style and the room they
// take from the client area, the background kinds, switching to and from the transparent
// kind, the caption with and without glow, repaints of the setters, and wallpapers and
// skins from image collections.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlFixture.h"
#include "qvControls/Panel.h"
#include "qvDrawUtils/Bitmaps.h"
#include "qvImageCollection/ImageCollection.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"

namespace {

constexpr COLORREF kLight = RGB(255, 0, 0);
constexpr COLORREF kShadow = RGB(0, 0, 255);
constexpr COLORREF kFace = RGB(255, 255, 255);

// Counts its paints and size notices; opens the protected parts a test looks at.
class TCountingPanel : public TqvPanel {
  QV_CLASS(TCountingPanel, TqvPanel)
  explicit TCountingPanel(TComponent* AOwner) : TqvPanel(AOwner) {}
  using TqvPanel::TransparentBackground;
  TBitmap* Background() const { return ParentBGBuffer; }
  int Draws = 0;
  int SizeChanges = 0;
  int Updates = 0;  // WM_UPDATEPARENTBACKGROUND

  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_UPDATEPARENTBACKGROUND) ++Updates;
    TqvPanel::Dispatch(Message);
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override {
    ++Draws;
    TqvPanel::Draw(ACanvas, ACtrlState);
  }
  void SizeChanged() override { ++SizeChanges; }
};

// Paints the pattern of the fixture over itself.
class TBackdrop : public TqvCustomControl {
  QV_CLASS(TBackdrop, TqvCustomControl)
  explicit TBackdrop(TComponent* AOwner) : TqvCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + csAcceptsControls);
    SetTransparentBackground(false);
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState) override { PaintPattern(ACanvas, Width(), Height()); }
};

// A 24-bit picture of one colour (opaque: a tiled or stretched one covers its rectangle).
void AddSolidImage(TqvImageCollection* Images, COLORREF Color, TqvImageDrawStyle Style, int W = 4, int H = 4) {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(W, H);
  picture.Canvas()->Brush()->SetColor(TColor(Color));
  picture.Canvas()->FillRect({0, 0, W, H});
  TqvImageCollectionItem* item = Images->Images()->Add();
  item->SetBitmap(&picture);
  item->SetDrawStyle(Style);
}

class PanelTest : public ControlFixture {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    ControlFixture::TearDown();
  }

  TCountingPanel* MakePanel(TWinControl* Parent, TRect Bounds) {
    auto* panel = Make<TCountingPanel>(Parent, Bounds);
    panel->SetColor(TColor(kFace));
    panel->SetLightBorderColor(TColor(kLight));
    panel->SetShadowBorderColor(TColor(kShadow));
    return panel;
  }

  // The screen rectangle as rows: 'L' light, 'D' shadow, '.' face, '?' anything else.
  std::string Rings(const TRect& Area) const {
    std::string rows;
    for (int y = Area.Top; y < Area.Bottom; ++y) {
      rows += '\n';
      for (int x = Area.Left; x < Area.Right; ++x) {
        const COLORREF c = At(x, y);
        rows += c == kLight ? 'L' : c == kShadow ? 'D' : c == kFace ? '.' : '?';
      }
    }
    return rows;
  }

  // The bounding box of the screen pixels in Area for which Ink holds; empty when none.
  RECT InkOnScreen(const TRect& Area, const std::function<bool(COLORREF)>& Ink) const {
    RECT box{Area.Right, Area.Bottom, Area.Left, Area.Top};
    for (int y = Area.Top; y < Area.Bottom; ++y)
      for (int x = Area.Left; x < Area.Right; ++x)
        if (Ink(At(x, y))) box = {std::min(box.Left, LONG(x)), std::min(box.Top, LONG(y)),
                                  std::max(box.Right, LONG(x + 1)), std::max(box.Bottom, LONG(y + 1))};
    return box.Left < box.Right ? box : RECT{};
  }
};

TEST_F(PanelTest, EachBorderStyleDrawsItsRingsAndTakesItsRoomFromTheClientArea) {
  SetThemeAppProperties(0);
  // A 7 x 6 panel at (10, 10); the insets are those an alClient child keeps from each side.
  struct Case {
    TqvPanelBorderStyle Style;
    const char* Rows;
    TRect Insets;
  };
  const Case cases[] = {
      {qvpbsNone, ".......\n.......\n.......\n.......\n.......\n.......", {0, 0, 0, 0}},
      {qvpbsFlat, "DDDDDDD\nD.....D\nD.....D\nD.....D\nD.....D\nDDDDDDD", {1, 1, 1, 1}},
      {qvpbsRaised, "LLLLLLD\nL.....D\nL.....D\nL.....D\nL.....D\nDDDDDDD", {1, 1, 1, 1}},
      {qvpbsLowered, "DDDDDDL\nD.....L\nD.....L\nD.....L\nD.....L\nLLLLLLL", {1, 1, 1, 1}},
      {qvpbsLoweredBevel, "DDDDDDL\nDLLLLDL\nDL...DL\nDL...DL\nDDDDDDL\nLLLLLLL", {2, 2, 2, 2}},
      {qvpbsRaisedBevel, "LLLLLLD\nLDDDDLD\nLD...LD\nLD...LD\nLLLLLLD\nDDDDDDD", {2, 2, 2, 2}},
      {qvpbsTopBevel, "DDDDDDD\nLLLLLLL\n.......\n.......\n.......\n.......", {0, 2, 0, 0}},
      {qvpbsBottomBevel, ".......\n.......\n.......\n.......\nDDDDDDD\nLLLLLLL", {0, 0, 0, 2}},
      {qvpbsTopLightLine, "LLLLLLL\n.......\n.......\n.......\n.......\n.......", {0, 1, 0, 0}},
      {qvpbsBottomLightLine, ".......\n.......\n.......\n.......\n.......\nLLLLLLL", {0, 0, 0, 1}},
      {qvpbsTopShadowLine, "DDDDDDD\n.......\n.......\n.......\n.......\n.......", {0, 1, 0, 0}},
      {qvpbsBottomShadowLine, ".......\n.......\n.......\n.......\n.......\nDDDDDDD", {0, 0, 0, 1}},
      {qvpbsLeftBevel, "DL.....\nDL.....\nDL.....\nDL.....\nDL.....\nDL.....", {2, 0, 0, 0}},
      {qvpbsRightBevel, ".....DL\n.....DL\n.....DL\n.....DL\n.....DL\n.....DL", {0, 0, 2, 0}},
      {qvpbsLeftLightLine, "L......\nL......\nL......\nL......\nL......\nL......", {1, 0, 0, 0}},
      {qvpbsRightLightLine, "......L\n......L\n......L\n......L\n......L\n......L", {0, 0, 1, 0}},
      {qvpbsLeftShadowLine, "D......\nD......\nD......\nD......\nD......\nD......", {1, 0, 0, 0}},
      {qvpbsRightShadowLine, "......D\n......D\n......D\n......D\n......D\n......D", {0, 0, 1, 0}},
      // Centres: 6 / 2 = 3 and 7 / 2 = 3; the shadow line lies just before them.
      {qvpbsHorzCenterBevel, ".......\n.......\nDDDDDDD\nLLLLLLL\n.......\n.......", {0, 0, 0, 0}},
      {qvpbsVertCenterBevel, "..DL...\n..DL...\n..DL...\n..DL...\n..DL...\n..DL...", {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("border style " + std::to_string(int(c.Style)));
    auto* panel = MakePanel(Host, {10, 10, 17, 16});
    panel->SetBorderStyle(c.Style);
    Run();
    EXPECT_EQ(Rings({10, 10, 17, 16}), std::string("\n") + c.Rows);
    SaveScreenIfFailed("rings");
    auto* child = Make<TqvPanel>(panel, {0, 0, 1, 1});
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), (TRect{c.Insets.Left, c.Insets.Top, 7 - c.Insets.Right, 6 - c.Insets.Bottom}));
    delete panel;
  }
}

TEST_F(PanelTest, OnlyPanelLikeKindsGiveRoomToTheBorderAndTheEditKindKeepsTwoPixels) {
  const struct {
    TqvPanelStyleKind Kind;
    int Inset;
  } kinds[] = {{qvpsPanel, 2},  {qvpsFormBackground, 2}, {qvpsTransparent, 2}, {qvpsToolBar, 0},
               {qvpsHeader, 0}, {qvpsEmpty, 0},          {qvpsEdit, 2},        {qvpsTabSheet, 0}};
  for (const auto& k : kinds) {
    SCOPED_TRACE("kind " + std::to_string(int(k.Kind)));
    auto* panel = MakePanel(Host, {10, 10, 110, 60});
    panel->SetBorderStyle(qvpbsRaisedBevel);
    auto* child = Make<TqvPanel>(panel, {0, 0, 1, 1});
    child->SetAlign(alClient);
    panel->SetStyleKind(k.Kind);
    EXPECT_EQ(child->BoundsRect(), (TRect{k.Inset, k.Inset, 100 - k.Inset, 50 - k.Inset}));
    delete panel;
  }
}

TEST_F(PanelTest, EmptyPanelsPaintNothingUnlessTheyMayNotBeEmpty) {
  for (bool canEmpty : {true, false}) {
    SCOPED_TRACE(canEmpty ? "may be empty" : "may not be empty");
    auto* panel = MakePanel(Host, {10, 10, 50, 40});
    panel->SetStyleKind(qvpsEmpty);
    panel->SetBorderStyle(qvpbsFlat);
    panel->SetCanEmpty(canEmpty);
    Run();
    const int draws = panel->Draws;
    TestCanvas sheet(40, 30, 0xFF00FF00u);
    panel->PaintTo(sheet.DC(), 0, 0);
    if (canEmpty) {
      EXPECT_EQ(panel->Draws, draws);
      EXPECT_EQ(sheet.InkBounds(0xFF00FF00u), RECT{}) << "not even the border";
    } else {
      EXPECT_EQ(sheet.Color(0, 0), kShadow);
      EXPECT_EQ(sheet.Color(20, 15), kFace);
    }
    delete panel;
  }
}

TEST_F(PanelTest, APlainPanelFillsWithItsColourAndATransparentOneShowsItsParent) {
  auto* backdrop = Make<TBackdrop>(Host, {10, 10, 210, 160});
  auto* panel = MakePanel(backdrop, {20, 30, 100, 90});
  Run();
  EXPECT_EQ(Mismatch({30, 40, 110, 100}, [](int, int) { return kFace; }), "");

  panel->SetStyleKind(qvpsTransparent);
  Run();
  EXPECT_EQ(PatternMismatch({30, 40, 110, 100}, {10, 10}), "");
  panel->SetBorderStyle(qvpbsFlat);
  Run();
  EXPECT_EQ(At(30, 40), kShadow) << "the border over the parent's pixels";
  EXPECT_EQ(PatternMismatch({31, 41, 109, 99}, {10, 10}), "");
  SaveScreenIfFailed("transparent");
}

TEST_F(PanelTest, SwitchingToTransparentAndBackTogglesTheBackgroundAndTellsTheChildren) {
  auto* backdrop = Make<TBackdrop>(Host, {10, 10, 210, 160});
  auto* panel = MakePanel(backdrop, {20, 30, 120, 110});
  auto* child = MakePanel(panel, {10, 10, 40, 40});
  child->SetStyleKind(qvpsTransparent);
  Run();
  EXPECT_FALSE(panel->TransparentBackground());
  child->Updates = 0;

  panel->SetStyleKind(qvpsTransparent);
  EXPECT_TRUE(panel->TransparentBackground());
  EXPECT_EQ(panel->Background()->Width(), 100) << "captured at once";
  EXPECT_EQ(child->Updates, 1);
  Run();
  // The child shows the backdrop through both layers.
  EXPECT_EQ(PatternMismatch({40, 50, 70, 80}, {10, 10}), "");

  panel->SetStyleKind(qvpsPanel);
  EXPECT_FALSE(panel->TransparentBackground());
  EXPECT_EQ(panel->Background()->Width() * panel->Background()->Height(), 0) << "the pixels are let go";
  EXPECT_EQ(child->Updates, 2);
  Run();
  EXPECT_EQ(Mismatch({40, 50, 70, 80}, [](int, int) { return kFace; }), "");
  SaveScreenIfFailed("toggle");
}

TEST_F(PanelTest, StyledBackgroundKindsCoverTheirWholeRectangleInEveryLook) {
  const TqvPanelStyleKind kinds[] = {qvpsToolBar, qvpsHeader, qvpsFormBackground, qvpsEdit, qvpsTabSheet};
  auto check = [&](const std::string& look) {
    for (TqvPanelStyleKind kind : kinds) {
      for (bool popup : {false, true}) {
        if (popup && kind != qvpsEdit) continue;
        SCOPED_TRACE(look + ", kind " + std::to_string(int(kind)) + (popup ? " in popup mode" : ""));
        auto* panel = MakePanel(Host, {10, 10, 70, 50});
        panel->SetStyleKind(kind);
        panel->SetPopupMode(popup);
        panel->SetBorderStyle(qvpbsFlat);
        Run();
        // Painted over a canvas of a colour no style uses, bigger than the panel.
        TestCanvas sheet(80, 60, 0xFFFF00FFu);
        panel->PaintTo(sheet.DC(), 10, 10);
        EXPECT_EQ(sheet.InkBounds(0xFFFF00FFu), (RECT{10, 10, 70, 50}));
        int holes = 0;
        for (int y = 10; y < 50; ++y)
          for (int x = 10; x < 70; ++x)
            if (sheet.Pixel(x, y) == 0xFFFF00FFu || (sheet.Pixel(x, y) >> 24) != 0xFF) ++holes;
        EXPECT_EQ(holes, 0);
        if (kind == qvpsEdit && popup) {
          EXPECT_EQ(sheet.Color(10, 10), kShadow) << "popup mode keeps the border";
        }
        SaveIfFailed(sheet, "kind");
        delete panel;
      }
    }
  };
  for (const String& name : TStyleManager::StyleNames()) {
    TStyleManager::SetStyle(name);
    check(name);
  }
  TStyleManager::SetStyle("Windows");
  SetThemeAppProperties(0);
  check("classic");
}

TEST_F(PanelTest, TheCaptionIsAlignedInThePanelLessThreePixelsAndItsGlowBoxIsLargerByGlowSizeAndOffset) {
  // Red text on white with a blue glow: text pixels are the ones far redder than blue.
  auto textInk = [](COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 120; };
  auto glowInk = [](COLORREF p) { return GetBValue(p) > 200 && GetRValue(p) < 240 && GetGValue(p) < 240; };
  constexpr int kW = 200, kH = 40, kGlow = 12, kOffset = 4, kGrow = kGlow + kOffset;
  const TRect area{10, 10, 10 + kW, 10 + kH};
  auto paint = [&](TAlignment Alignment, bool Glow) {
    auto* panel = MakePanel(Host, area);
    panel->Font()->SetColor(clRed);
    panel->Font()->SetHeight(-16);
    panel->SetCaption("Caption Wg");
    panel->SetAlignment(Alignment);
    panel->CaptionGlowEffect()->SetColor(clBlue);
    panel->CaptionGlowEffect()->SetGlowSize(kGlow);
    panel->CaptionGlowEffect()->SetOffset(kOffset);
    panel->CaptionGlowEffect()->SetEnabled(Glow);
    panel->SetShowCaption(true);
    Run();
    return panel;
  };
  // Without glow the text touches the edges of the panel less 3 pixels (less the space its
  // first and last glyphs keep), or lies in its middle.
  TSize text{};
  int leftBearing = 0, rightBearing = 0, middle = 0;
  for (TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
    TqvPanel* panel = paint(alignment, false);
    TBitmap scratch;
    scratch.SetSize(1, 1);
    scratch.Canvas()->Font()->Assign(panel->Font());
    text = scratch.Canvas()->TextExtent("Caption Wg");
    const RECT ink = InkOnScreen(area, textInk);
    if (alignment == taLeftJustify) leftBearing = ink.Left - (area.Left + 3);
    if (alignment == taRightJustify) rightBearing = (area.Right - 3) - ink.Right;
    if (alignment == taCenter) middle = (ink.Left + ink.Right) / 2;
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2, area.Top + kH / 2, 3);
    SaveScreenIfFailed("caption");
    delete panel;
  }
  EXPECT_NEAR(leftBearing, 0, 2);
  EXPECT_NEAR(rightBearing, 0, 2);
  EXPECT_NEAR(middle, area.Left + kW / 2, 2);

  // With glow the text is centred in a box kGrow wider than the text, placed like the text.
  for (TAlignment alignment : {taLeftJustify, taRightJustify, taCenter}) {
    SCOPED_TRACE(alignment == taLeftJustify ? "left" : alignment == taCenter ? "centre" : "right");
    TqvPanel* panel = paint(alignment, true);
    const RECT ink = InkOnScreen(area, textInk);
    ASSERT_LT(ink.Left, ink.Right);
    // Where the ink would be by the rules.
    const int expected = alignment == taLeftJustify    ? area.Left + 3 + kGrow / 2 + leftBearing
                         : alignment == taRightJustify ? area.Right - 3 - kGrow / 2 - rightBearing
                                                       : middle;
    const int actual = alignment == taLeftJustify    ? ink.Left
                       : alignment == taRightJustify ? ink.Right
                                                     : (ink.Left + ink.Right) / 2;
    EXPECT_NEAR(actual, expected, 1);
    EXPECT_NEAR((ink.Top + ink.Bottom) / 2, area.Top + kH / 2, 3);
    const RECT glow = InkOnScreen(area, glowInk);
    EXPECT_LT(glow.Left, ink.Left) << "a glow around the text";
    EXPECT_GT(glow.Right, ink.Right);
    SaveScreenIfFailed("glow");
    delete panel;
  }
}

TEST_F(PanelTest, SettersRepaintOncePerRealChangeAndNotForTheSameValue) {
  TqvImageCollection images(nullptr);
  AddSolidImage(&images, RGB(255, 255, 0), idsCenter);
  auto* panel = MakePanel(Host, {10, 10, 110, 60});
  panel->SetShowCaption(true);
  panel->SetCaption("A");
  panel->CaptionGlowEffect()->SetEnabled(true);
  Run();
  const struct {
    const char* Name;
    std::function<void()> Set;
  } setters[] = {
      {"StyleKind", [&] { panel->SetStyleKind(qvpsFormBackground); }},
      {"BorderStyle", [&] { panel->SetBorderStyle(qvpbsRaised); }},
      {"LightBorderColor", [&] { panel->SetLightBorderColor(clYellow); }},
      {"ShadowBorderColor", [&] { panel->SetShadowBorderColor(clNavy); }},
      {"Alignment", [&] { panel->SetAlignment(taRightJustify); }},
      {"Caption", [&] { panel->SetCaption("B"); }},
      {"CaptionGlowEffect", [&] { panel->CaptionGlowEffect()->SetGlowSize(3); }},
      {"Wallpapers", [&] { panel->SetWallpapers(&images); }},
      {"WallpaperIndex", [&] { panel->SetWallpaperIndex(0); }},
      {"CustomImages", [&] { panel->SetCustomImages(&images); }},
      {"CustomImageIndex", [&] { panel->SetCustomImageIndex(0); }},
      {"ShowCaption", [&] { panel->SetShowCaption(false); }},
  };
  for (const auto& s : setters) {
    SCOPED_TRACE(s.Name);
    int before = panel->Draws;
    s.Set();
    EXPECT_EQ(panel->Draws, before + 1) << "painted at once";
    Run();
    EXPECT_EQ(panel->Draws, before + 1) << "and only once";
    before = panel->Draws;
    s.Set();
    Run();
    EXPECT_EQ(panel->Draws, before) << "the same value again";
  }
  delete panel;
}

TEST_F(PanelTest, WallpapersAndSkinsComeFromImageCollectionsAndGoWithThem) {
  constexpr COLORREF kYellow = RGB(255, 255, 0), kGreen = RGB(0, 128, 0);
  auto* images = new TqvImageCollection(nullptr);
  AddSolidImage(images, kYellow, idsTile);          // 0: solid
  AddSolidImage(images, kGreen, idsCenter, 10, 10);  // 1: only the middle
  auto* panel = MakePanel(Host, {10, 10, 70, 50});
  panel->SetBorderStyle(qvpbsFlat);
  panel->SetStyleKind(qvpsToolBar);  // skipped under a solid wallpaper
  panel->SetWallpapers(images);
  panel->SetWallpaperIndex(0);
  Run();
  EXPECT_EQ(Mismatch({11, 11, 69, 49}, [&](int, int) { return kYellow; }), "");
  EXPECT_EQ(At(10, 10), kShadow) << "the border over the wallpaper";

  // A skin that covers only the middle, over the panel's own background.
  panel->SetStyleKind(qvpsPanel);
  panel->SetWallpaperIndex(-1);
  panel->SetCustomImages(images);
  panel->SetCustomImageIndex(1);
  Run();
  EXPECT_EQ(At(40, 30), kGreen);
  EXPECT_EQ(At(12, 12), kFace);
  EXPECT_EQ(At(10, 10), kShadow);

  delete images;
  EXPECT_EQ(panel->Wallpapers(), nullptr);
  EXPECT_EQ(panel->CustomImages(), nullptr);
  panel->Repaint();
  EXPECT_EQ(At(40, 30), kFace);
  SaveScreenIfFailed("images");
}

TEST_F(PanelTest, AResizeTellsTheChildrenOnlyWhenTheWallpaperDependsOnTheSize) {
  TqvImageCollection images(nullptr);
  AddSolidImage(&images, RGB(255, 255, 0), idsStretch);
  AddSolidImage(&images, RGB(255, 255, 0), idsTopLeft);
  const struct {
    int Index;
    int Updates;
    int SizeChanges;
  } cases[] = {{0, 1, 0}, {1, 0, 1}, {-1, 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE("wallpaper " + std::to_string(c.Index));
    auto* panel = MakePanel(Host, {10, 10, 110, 60});
    panel->SetWallpapers(&images);
    panel->SetWallpaperIndex(c.Index);
    auto* child = MakePanel(panel, {5, 5, 20, 20});
    Run();
    child->Updates = 0;
    panel->SizeChanges = 0;
    const int draws = panel->Draws;
    panel->SetBounds(10, 10, 120, 70);
    EXPECT_EQ(child->Updates, c.Updates);
    EXPECT_EQ(panel->SizeChanges, c.SizeChanges);
    EXPECT_GT(panel->Draws, draws) << "repainted at the new size";
    delete panel;
  }
}

TEST_F(PanelTest, ACustomStyleMapsTheBorderAndFaceColours) {
  TStyleManager::SetStyle(TStyleManager::StyleNames().at(1));
  auto* panel = MakePanel(Host, {10, 10, 60, 40});
  panel->SetBorderStyle(qvpbsFlat);
  panel->SetShadowBorderColor(clBtnShadow);
  panel->SetColor(clBtnFace);
  Run();
  EXPECT_EQ(At(10, 10), COLORREF(ColorToRGB(StyleServices()->GetSystemColor(clBtnShadow))));
  EXPECT_EQ(At(30, 25), COLORREF(ColorToRGB(StyleServices()->GetSystemColor(clBtnFace))));
  delete panel;
}

}  // namespace
