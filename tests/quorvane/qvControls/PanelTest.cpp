// The panel on the headless backend: the rings of every border style and the room they
// take from the client area, the background kinds, switching to and from the transparent
// kind, the caption with and without glow (clipped to its rectangle, turned and mirrored
// right to left, its glow rebuilt when the reading order changes), the edit kind keeping
// images and caption inside its frame, repaints of the setters, and wallpapers and skins
// from image collections.
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

// The reading orders, and the alignment a caption set to align left, centre or right shows
// in each: only full right-to-left mirrors it.
struct BiDiCase {
  TBiDiMode Mode;
  const char* Name;
};
constexpr BiDiCase kBiDiModes[] = {{bdLeftToRight, "left to right"},
                                   {bdRightToLeft, "right to left"},
                                   {bdRightToLeftNoAlign, "right to left, not aligned"},
                                   {bdRightToLeftReadingOnly, "right to left, reading only"}};
int ShownSide(TBiDiMode Mode, TAlignment Alignment) {
  const int side = Alignment == taLeftJustify ? -1 : Alignment == taRightJustify ? 1 : 0;
  return Mode == bdRightToLeft ? -side : side;
}

TEST_F(PanelTest, RightToLeftReadingTurnsTheCaptionAndRightToLeftAlignmentMirrorsItsPlace) {
  auto textInk = [](COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 120; };
  const TRect area{10, 10, 250, 50};
  for (const BiDiCase& mode : kBiDiModes) {
    for (TAlignment alignment : {taLeftJustify, taCenter, taRightJustify}) {
      for (bool glow : {false, true}) {
        SCOPED_TRACE(std::string(mode.Name) + ", alignment " + std::to_string(int(alignment)) +
                     (glow ? ", with glow" : ""));
        auto* panel = MakePanel(Host, area);
        panel->Font()->SetColor(clRed);
        panel->Font()->SetHeight(-16);
        panel->SetCaption(kReadingText);
        panel->SetAlignment(alignment);
        panel->CaptionGlowEffect()->SetColor(clBlue);
        panel->CaptionGlowEffect()->SetEnabled(glow);
        panel->SetShowCaption(true);
        panel->SetBiDiMode(mode.Mode);
        Run();
        const TextLine line = LineOfText(area, textInk);
        EXPECT_EQ(line.Side, ShownSide(mode.Mode, alignment));
        EXPECT_EQ(line.CapitalLast, mode.Mode != bdLeftToRight);
        SaveScreenIfFailed("bidi");
        delete panel;
      }
    }
  }
}

TEST_F(PanelTest, AChangeOfReadingOrderRebuildsTheCaptionGlow) {
  // Two hosts: one turns right to left after painting, the other is made so; the captions
  // follow their hosts and must then look the same.
  for (TAlignment alignment : {taLeftJustify, taCenter}) {
    SCOPED_TRACE(alignment == taCenter ? "centred" : "left-aligned");
    auto* turned = MakePanel(Host, {0, 0, 260, 60});
    auto* made = MakePanel(Host, {0, 100, 260, 160});
    made->SetBiDiMode(bdRightToLeft);
    for (TqvPanel* parent : {turned, made}) {
      auto* panel = MakePanel(parent, {10, 10, 250, 50});
      panel->Font()->SetHeight(-16);
      panel->SetCaption(kReadingText);
      panel->SetAlignment(alignment);
      panel->CaptionGlowEffect()->SetColor(clBlue);
      panel->CaptionGlowEffect()->SetGlowSize(6);
      panel->CaptionGlowEffect()->SetEnabled(true);
      panel->SetShowCaption(true);
    }
    Run();
    turned->SetBiDiMode(bdRightToLeft);
    Run();
    EXPECT_EQ(Mismatch({0, 0, 260, 60}, [&](int x, int y) { return At(x, y + 100); }), "");
    SaveScreenIfFailed("bidi-glow");
    delete turned;
    delete made;
  }
}

TEST_F(PanelTest, AnEditPanelKeepsItsSkinWallpaperAndCaptionInsideItsTwoPixelFrame) {
  constexpr COLORREF kYellow = RGB(255, 255, 0);
  TqvImageCollection images(nullptr);
  AddSolidImage(&images, kYellow, idsTile);  // 0: a solid skin
  // 1: 32 bits, opaque, tiled: it covers everything but is not a solid wallpaper, which
  // would replace the background.
  {
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) static_cast<uint32_t*>(picture.ScanLine(y))[x] = 0xFFFFFF00u;
    TqvImageCollectionItem* item = images.Images()->Add();
    item->SetBitmap(&picture);
    item->SetDrawStyle(idsTile);
    ASSERT_FALSE(images.IsSolidDrawing(1));
  }
  const TRect plainArea{10, 10, 90, 40}, imageArea{10, 60, 90, 90};
  auto check = [&](const std::string& look) {
    for (bool wallpaper : {false, true}) {
      SCOPED_TRACE(look + (wallpaper ? ", wallpaper" : ", skin"));
      auto* plain = MakePanel(Host, plainArea);
      auto* covered = MakePanel(Host, imageArea);
      for (TqvPanel* p : {plain, covered}) p->SetStyleKind(qvpsEdit);
      if (wallpaper) {
        covered->SetWallpapers(&images);
        covered->SetWallpaperIndex(1);
      } else {
        covered->SetCustomImages(&images);
        covered->SetCustomImageIndex(0);
      }
      Run();
      const int dy = imageArea.Top - plainArea.Top;
      std::string frame;
      for (int y = imageArea.Top; y < imageArea.Bottom && frame.empty(); ++y)
        for (int x = imageArea.Left; x < imageArea.Right && frame.empty(); ++x) {
          const bool inside = x >= imageArea.Left + 2 && x < imageArea.Right - 2 && y >= imageArea.Top + 2 &&
                              y < imageArea.Bottom - 2;
          if (!inside && At(x, y) != At(x, y - dy))
            frame = "frame painted over at " + std::to_string(x) + "," + std::to_string(y);
        }
      EXPECT_EQ(frame, "");
      EXPECT_EQ(Mismatch({imageArea.Left + 2, imageArea.Top + 2, imageArea.Right - 2, imageArea.Bottom - 2},
                         [&](int, int) { return kYellow; }),
                "");
      SaveScreenIfFailed("edit-images");
      delete plain;
      delete covered;
    }
  };
  check("themed");
  TStyleManager::SetStyle(TStyleManager::StyleNames().at(1));
  check(TStyleManager::StyleNames().at(1));
  TStyleManager::SetStyle("Windows");
  SetThemeAppProperties(0);
  check("classic");
}

TEST_F(PanelTest, AnEditPanelsCaptionLiesTwoPixelsFurtherIn) {
  auto textInk = [](COLORREF c) { return GetRValue(c) > 200 && GetBValue(c) < 120; };
  for (TAlignment alignment : {taLeftJustify, taRightJustify}) {
    SCOPED_TRACE(alignment == taLeftJustify ? "left" : "right");
    RECT ink[2];
    for (int edit = 0; edit < 2; ++edit) {
      auto* panel = MakePanel(Host, {10, 10, 210, 50});
      panel->SetStyleKind(edit ? qvpsEdit : qvpsPanel);
      panel->Font()->SetColor(clRed);
      panel->Font()->SetHeight(-16);
      panel->SetCaption("Caption");
      panel->SetAlignment(alignment);
      panel->SetShowCaption(true);
      Run();
      ink[edit] = InkOnScreen({10, 10, 210, 50}, textInk);
      SaveScreenIfFailed("edit-caption");
      delete panel;
    }
    ASSERT_LT(ink[0].Left, ink[0].Right);
    EXPECT_EQ(ink[1].Left - ink[0].Left, alignment == taLeftJustify ? 2 : -2);
    EXPECT_EQ(ink[1].Right - ink[0].Right, alignment == taLeftJustify ? 2 : -2);
    EXPECT_EQ(ink[1].Top, ink[0].Top) << "still centred";
  }
}

TEST_F(PanelTest, ACaptionWithoutGlowStaysInsideItsTextRectangle) {
  // A caption far wider than an 80 x 30 panel: outside the text rectangle (the panel less
  // 3 pixels, an edit panel less 5) the panel looks as it does without a caption.
  const TRect captioned{10, 10, 90, 40}, bare{10, 60, 90, 90};
  const struct {
    TqvPanelStyleKind Kind;
    TAlignment Alignment;
    TBiDiMode Mode;
    int Inset;
  } cases[] = {
      {qvpsPanel, taLeftJustify, bdLeftToRight, 3},  {qvpsPanel, taCenter, bdLeftToRight, 3},
      {qvpsPanel, taRightJustify, bdLeftToRight, 3}, {qvpsPanel, taLeftJustify, bdRightToLeft, 3},
      {qvpsEdit, taLeftJustify, bdLeftToRight, 5},   {qvpsEdit, taRightJustify, bdLeftToRight, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(int(c.Kind)) + ", alignment " + std::to_string(int(c.Alignment)) +
                 ", bidi " + std::to_string(int(c.Mode)));
    TqvPanel* panels[2];
    for (int i = 0; i < 2; ++i) {
      panels[i] = MakePanel(Host, i == 0 ? captioned : bare);
      panels[i]->SetStyleKind(c.Kind);
      panels[i]->SetBorderStyle(qvpbsFlat);
      panels[i]->SetBiDiMode(c.Mode);
      panels[i]->Font()->SetColor(clRed);
      panels[i]->Font()->SetHeight(-24);
      panels[i]->SetAlignment(c.Alignment);
      panels[i]->SetCaption(i == 0 ? "WWWWWWWWWWWWWWWW" : "");
      panels[i]->SetShowCaption(true);
    }
    Run();
    const TRect text{captioned.Left + c.Inset, captioned.Top + c.Inset, captioned.Right - c.Inset,
                     captioned.Bottom - c.Inset};
    const int dy = bare.Top - captioned.Top;
    std::string outside;
    for (int y = captioned.Top; y < captioned.Bottom && outside.empty(); ++y)
      for (int x = captioned.Left; x < captioned.Right && outside.empty(); ++x)
        if (!PtInRect(&text, POINT{x, y}) && At(x, y) != At(x, y + dy))
          outside = "painted at " + std::to_string(x) + "," + std::to_string(y);
    EXPECT_EQ(outside, "");
    // The text does reach both ends of its rectangle.
    const RECT ink = InkOnScreen(captioned, [](COLORREF p) { return GetRValue(p) > 200 && GetBValue(p) < 120; });
    EXPECT_NEAR(ink.Left, text.Left, 2);
    EXPECT_NEAR(ink.Right, text.Right, 2);
    SaveScreenIfFailed("clipped");
    delete panels[0];
    delete panels[1];
  }
}

}  // namespace
