// Sheets of the controls, one PNG per style and one in classic mode: every panel style
// kind and border style, captions with glow, transparent panels over a wallpaper, labels
// with glow, vertical alignment, auto-size, accelerators and the disabled look; then
// hints, menus, gallery menus and every kind of button in every state.
//
//   control-sheet --out DIR      writes DIR/<style name>.png and DIR/Classic.png, and a
//                                right-to-left sheet beside each (<name>-rtl.png), and
//                                the hints in DIR/<style name>-Hints.png, an open
//                                popup menu in DIR/<style name>-Menu.png, the gallery
//                                menus in DIR/<style name>-Gallery.png, the buttons
//                                in DIR/<style name>-Buttons.png
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "qvControls/Button.h"
#include "qvControls/GalleryMenu.h"
#include "qvControls/Label.h"
#include "qvControls/Panel.h"
#include "qvHint.h"
#include "qvImageCollection/ImageCollection.h"
#include "backend/Headless.h"
#include "tools/ToolMain.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/Queue.h"

namespace {

constexpr int kSheetWidth = 940, kSheetHeight = 760;
constexpr const char* kTopClass = "ControlSheetTop";

const char* const kKindNames[] = {"qvpsPanel",       "qvpsToolBar", "qvpsHeader", "qvpsFormBackground",
                                  "qvpsTransparent", "qvpsEmpty",   "qvpsEdit",   "qvpsTabSheet"};
const char* const kBorderNames[] = {
    "None",          "Flat",           "Raised",          "Lowered",          "LoweredBevel",
    "RaisedBevel",   "TopBevel",       "BottomBevel",     "TopLightLine",     "BottomLightLine",
    "TopShadowLine", "BottomShadowLine", "LeftBevel",     "RightBevel",       "LeftLightLine",
    "RightLightLine", "LeftShadowLine", "RightShadowLine", "HorzCenterBevel", "VertCenterBevel"};

// A tiled 24-bit picture of diagonal stripes in middle tones, so that what shows through
// is obvious and both light and dark text stay readable on it.
void AddWallpaper(TqvImageCollection* Images) {
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(24, 24);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(TColor(RGB(134, 160, 196)));
  c->FillRect({0, 0, 24, 24});
  c->Brush()->SetColor(TColor(RGB(176, 146, 112)));
  for (int i = 0; i < 24; ++i) c->FillRect({i, (i + 12) % 24, i + 1, (i + 12) % 24 + 6});
  TqvImageCollectionItem* item = Images->Images()->Add();
  item->SetBitmap(&picture);
  item->SetDrawStyle(idsTile);
}

// ---- what every sheet is made of ----

// The sheet's ground: a form-coloured panel inside the plain top-level window.
TqvPanel* NewSheetHost(HWND Top, int Width, int Height) {
  auto* host = new TqvPanel(nullptr);
  host->SetBounds(0, 0, Width, Height);
  host->SetStyleKind(qvpsFormBackground);
  host->SetParentWindow(Top);
  return host;
}

// An auto-sized label; Height 0 keeps the default font size. Placed once fitted: fitting
// keeps the right edge of a label read right to left.
TqvLabel* SheetText(TWinControl* Parent, const String& Caption, int X, int Y, int Height = 0, bool Bold = false) {
  auto* label = new TqvLabel(nullptr);
  label->SetParent(Parent);
  if (Height) label->Font()->SetHeight(Height);
  if (Bold) label->Font()->SetStyle({fsBold});
  label->SetCaption(Caption);
  label->SetLeft(X);
  label->SetTop(Y);
  return label;
}

TqvPanel* SheetPanel(TWinControl* Parent, TRect R, TqvPanelStyleKind Kind, TqvPanelBorderStyle Border,
                     const String& Caption) {
  auto* panel = new TqvPanel(nullptr);
  panel->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  panel->SetParent(Parent);
  panel->SetStyleKind(Kind);
  panel->SetBorderStyle(Border);
  panel->SetCaption(Caption);
  panel->SetShowCaption(!Caption.empty());
  return panel;
}

// The controls of one sheet, on a host inside a plain top-level window.
class Sheet {
 public:
  Sheet(HWND Top, TqvImageCollection* Images) : FImages(Images), FHost(NewSheetHost(Top, kSheetWidth, kSheetHeight)) {}
  ~Sheet() { delete FHost; }
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  void Build(const String& Title) {
    Heading(FHost, Title, 10, 6, -16);
    KindsRow(40);
    BordersGrid(170);
    CaptionsRow(390);
    TransparentRow(480);
    LabelsRow(610);
  }

  TqvPanel* Host() const { return FHost; }

 private:
  TqvLabel* Heading(TWinControl* Parent, const String& Text, int X, int Y, int Height = -13) {
    return SheetText(Parent, Text, X, Y, Height, true);
  }
  TqvLabel* Label(TWinControl* Parent, const String& Text, int X, int Y) { return SheetText(Parent, Text, X, Y); }
  TqvPanel* Panel(TWinControl* Parent, TRect R, TqvPanelStyleKind Kind, TqvPanelBorderStyle Border,
                  const String& Caption) {
    return SheetPanel(Parent, R, Kind, Border, Caption);
  }

  // Every style kind with a raised border and its name, on the wallpaper.
  void KindsRow(int Y) {
    Heading(FHost, "Style kinds (raised border, caption), over a wallpaper", 10, Y);
    TqvPanel* ground = Panel(FHost, {10, Y + 20, 930, Y + 120}, qvpsPanel, qvpbsLowered, "");
    ground->SetWallpapers(FImages);
    ground->SetWallpaperIndex(0);
    for (int k = 0; k < 8; ++k) {
      TqvPanel* p = Panel(ground, {8 + k * 114, 14, 8 + k * 114 + 106, 86}, TqvPanelStyleKind(k), qvpbsRaised,
                          kKindNames[k]);
      p->Font()->SetHeight(-11);
    }
  }

  // Every border style on a plain panel.
  void BordersGrid(int Y) {
    Heading(FHost, "Border styles", 10, Y);
    for (int b = 0; b < 20; ++b) {
      const int col = b % 5, row = b / 5;
      TqvPanel* p = Panel(FHost, {10 + col * 184, Y + 22 + row * 50, 10 + col * 184 + 176, Y + 22 + row * 50 + 42},
                          qvpsPanel, TqvPanelBorderStyle(b), kBorderNames[b]);
      p->Font()->SetHeight(-11);
    }
  }

  // Caption alignments with and without glow.
  void CaptionsRow(int Y) {
    Heading(FHost, "Captions: left, centre, right; with glow (size 7, offset 2) and without", 10, Y);
    const TAlignment alignments[] = {taLeftJustify, taCenter, taRightJustify};
    for (int i = 0; i < 6; ++i) {
      TqvPanel* p = Panel(FHost, {10 + i * 154, Y + 22, 10 + i * 154 + 146, Y + 72}, qvpsPanel, qvpbsFlat,
                          i < 3 ? "Glowing caption" : "Plain caption");
      p->SetAlignment(alignments[i % 3]);
      if (i < 3) {
        p->CaptionGlowEffect()->SetEnabled(true);
        p->CaptionGlowEffect()->SetColor(clHighlight);
        p->CaptionGlowEffect()->SetOffset(2);
      }
    }
  }

  // Transparent panels with borders and a glowing caption over a wallpaper.
  void TransparentRow(int Y) {
    Heading(FHost, "Transparent panels over a wallpaper", 10, Y);
    TqvPanel* ground = Panel(FHost, {10, Y + 20, 930, Y + 120}, qvpsPanel, qvpbsNone, "");
    ground->SetWallpapers(FImages);
    ground->SetWallpaperIndex(0);
    const TqvPanelBorderStyle borders[] = {qvpbsNone, qvpbsFlat, qvpbsLoweredBevel, qvpbsRaisedBevel, qvpbsTopBevel};
    for (int i = 0; i < 5; ++i) {
      TqvPanel* p = Panel(ground, {10 + i * 182, 12, 10 + i * 182 + 170, 88}, qvpsTransparent, borders[i],
                          String("Transparent, ") + kBorderNames[borders[i]]);
      p->CaptionGlowEffect()->SetEnabled(i % 2 == 0);
      p->CaptionGlowEffect()->SetColor(clWindow);
    }
  }

  // Labels: glow, vertical alignment, auto-size, accelerators, disabled.
  void LabelsRow(int Y) {
    Heading(FHost, "Labels", 10, Y);
    TqvPanel* ground = Panel(FHost, {10, Y + 20, 930, Y + 140}, qvpsPanel, qvpbsLowered, "");
    ground->SetWallpapers(FImages);
    ground->SetWallpaperIndex(0);

    TqvLabel* glow = Label(ground, "Label with glow", 10, 10);
    glow->Font()->SetHeight(-16);
    glow->GlowEffect()->SetEnabled(true);
    glow->GlowEffect()->SetColor(clWindow);
    TqvLabel* shadow = Label(ground, "Glow in colour, offset 2", 10, 42);
    shadow->GlowEffect()->SetEnabled(true);
    shadow->GlowEffect()->SetColor(clHighlight);
    shadow->GlowEffect()->SetOffset(2);
    TqvLabel* wrapped = Label(ground, "Auto-sized, word-wrapped label that breaks between words", 10, 70);
    wrapped->SetWordWrap(true);
    wrapped->SetAutoSize(false);
    wrapped->SetBounds(10, 70, 160, 40);
    wrapped->SetAutoSize(true);

    const char* const vertical[] = {"Top", "Center", "Bottom"};
    for (int i = 0; i < 3; ++i) {
      TqvPanel* frame = Panel(ground, {200 + i * 96, 10, 200 + i * 96 + 88, 110}, qvpsTransparent, qvpbsFlat, "");
      TqvLabel* l = Label(frame, vertical[i], 1, 1);
      l->SetAutoSize(false);
      l->SetBounds(1, 1, 86, 98);
      l->SetAlignment(taCenter);
      l->SetVertAlignment(TqvVertAlignment(i));
    }

    TqvPanel* field = Panel(ground, {600, 10, 760, 34}, qvpsEdit, qvpbsNone, "");
    TqvLabel* accel = Label(ground, "&Name:", 500, 14);
    accel->SetFocusControl(field);
    Label(ground, "Tom && Jerry: \"&&&&\" shows \"&&\"", 500, 44);
    TqvLabel* raw = Label(ground, "&Raw: ShowAccelChar off", 500, 64);
    raw->SetShowAccelChar(false);
    TqvLabel* disabled = Label(ground, "Disabled label", 500, 88);
    disabled->SetEnabled(false);
    TqvLabel* right = Label(ground, "Right-aligned, auto-sized", 0, 88);
    right->SetAlignment(taRightJustify);
    right->SetLeft(910 - right->Width());
  }

  TqvImageCollection* FImages;
  TqvPanel* FHost;
};

// ---- right to left ----

// A second sheet per style: panels and labels read right to left. Captions and texts set
// left, centre and right, with and without glow, under full right-to-left (alignment
// mirrored) and reading only; every panel kind; auto-sized labels that keep their right
// edge; word-wrapped and vertically aligned labels. Hebrew and Latin texts with trailing
// punctuation show the reading order.
//
//   DIR/<style name>-rtl.png
class RightToLeftSheet {
 public:
  static constexpr int kWidth = 940, kHeight = 756;

  RightToLeftSheet(HWND Top, TqvImageCollection* Images) : FImages(Images), FHost(NewSheetHost(Top, kWidth, kHeight)) {}
  ~RightToLeftSheet() { delete FHost; }
  RightToLeftSheet(const RightToLeftSheet&) = delete;
  RightToLeftSheet& operator=(const RightToLeftSheet&) = delete;

  void Build(const String& Title) {
    Text(FHost, Title + ": right to left", 10, 6, -16, true);
    const int y = CaptionRows(36);
    KindsRow(y + 10);
    LabelRows(y + 130);
  }

  TqvPanel* Host() const { return FHost; }

 private:
  static constexpr const char* kSetTo[] = {"set left", "set centre", "set right"};
  static constexpr TAlignment kAlignments[] = {taLeftJustify, taCenter, taRightJustify};

  static TqvLabel* Text(TWinControl* Parent, const String& Caption, int X, int Y, int Height = -11,
                        bool Bold = false) {
    return SheetText(Parent, Caption, X, Y, Height, Bold);
  }
  static TqvPanel* Box(TWinControl* Parent, TRect R, TqvPanelStyleKind Kind, TqvPanelBorderStyle Border,
                       const String& Caption) {
    return SheetPanel(Parent, R, Kind, Border, Caption);
  }

  // A row of six captions (three glowing, three plain) on a ground whose reading order
  // the panels take from it; answers the row's bottom.
  int CaptionRow(int Y, TBiDiMode Mode, const String& Heading, const String& Caption, bool ColumnNames) {
    Text(FHost, Heading, 10, Y, -13, true);
    const int top = Y + (ColumnNames ? 34 : 18);
    TqvPanel* ground = Box(FHost, {10, top, 930, top + 66}, qvpsPanel, qvpbsLowered, "");
    ground->SetBiDiMode(Mode);
    for (int i = 0; i < 6; ++i) {
      const int x = 8 + i * 152;
      if (ColumnNames) Text(FHost, String(kSetTo[i % 3]) + (i < 3 ? ", glow" : ""), 10 + x, Y + 20);
      TqvPanel* p = Box(ground, {x, 10, x + 144, 56}, qvpsPanel, qvpbsFlat, Caption);
      p->Font()->SetHeight(-13);
      p->SetAlignment(kAlignments[i % 3]);
      if (i < 3) {
        p->CaptionGlowEffect()->SetEnabled(true);
        p->CaptionGlowEffect()->SetColor(clHighlight);
        p->CaptionGlowEffect()->SetOffset(2);
      }
    }
    return top + 66;
  }

  int CaptionRows(int Y) {
    Y = CaptionRow(Y, bdRightToLeft, "Panel captions, bdRightToLeft: alignment mirrored",
                   "\u05db\u05d5\u05ea\u05e8\u05ea, 12!", true);
    Y = CaptionRow(Y + 6, bdRightToLeft, "The same with a Latin caption: the reading order moves its full stop",
                   "Panel caption.", false);
    return CaptionRow(Y + 6, bdRightToLeftReadingOnly, "bdRightToLeftReadingOnly: read right to left, not mirrored",
                      "Panel caption.", false);
  }

  // Every panel kind with a caption set left, shown at the right.
  void KindsRow(int Y) {
    Text(FHost, "Every panel kind, caption set left, bdRightToLeft, over a wallpaper", 10, Y, -13, true);
    TqvPanel* ground = Box(FHost, {10, Y + 20, 930, Y + 110}, qvpsPanel, qvpbsLowered, "");
    ground->SetWallpapers(FImages);
    ground->SetWallpaperIndex(0);
    ground->SetBiDiMode(bdRightToLeft);
    for (int k = 0; k < 8; ++k) {
      const int x = 8 + k * 114;
      TqvPanel* p = Box(ground, {x, 10, x + 106, 78}, TqvPanelStyleKind(k), qvpbsRaised,
                        String(kKindNames[k] + 4) + ".");
      p->Font()->SetHeight(-11);
      p->SetAlignment(taLeftJustify);
    }
  }

  void LabelRows(int Y) {
    Text(FHost, "Labels, bdRightToLeft: set left, centre, right; with glow; word-wrapped; vertical alignment", 10, Y,
         -13, true);
    TqvPanel* ground = Box(FHost, {10, Y + 20, 930, Y + 300}, qvpsPanel, qvpbsLowered, "");
    ground->SetWallpapers(FImages);
    ground->SetWallpaperIndex(0);
    ground->SetBiDiMode(bdRightToLeft);

    // Fixed boxes (a flat frame shows each box) with the text set left, centre, right.
    for (int i = 0; i < 6; ++i) {
      const int x = 10 + i * 150;
      TqvPanel* frame = Box(ground, {x, 10, x + 142, 40}, qvpsTransparent, qvpbsFlat, "");
      TqvLabel* l = Text(frame, i < 3 ? "Label text." : "\u05ea\u05d5\u05d5\u05d9\u05ea, 3!", 1, 1, -13);
      l->SetAutoSize(false);
      l->SetBounds(1, 1, 140, 28);
      l->SetAlignment(kAlignments[i % 3]);
      l->SetVertAlignment(qvvtaCenter);
    }
    // The same with glow.
    for (int i = 0; i < 3; ++i) {
      const int x = 10 + i * 150;
      TqvPanel* frame = Box(ground, {x, 50, x + 142, 90}, qvpsTransparent, qvpbsFlat, "");
      TqvLabel* l = Text(frame, "Glowing label.", 1, 1, -13);
      l->SetAutoSize(false);
      l->SetBounds(1, 1, 140, 38);
      l->SetAlignment(kAlignments[i]);
      l->SetVertAlignment(qvvtaCenter);
      l->GlowEffect()->SetEnabled(true);
      l->GlowEffect()->SetColor(clWindow);
    }
    // Word-wrapped, set left (shown right) and centre.
    for (int i = 0; i < 2; ++i) {
      const int x = 460 + i * 230;
      TqvPanel* frame = Box(ground, {x, 50, x + 222, 130}, qvpsTransparent, qvpbsFlat, "");
      TqvLabel* l = Text(frame, "A word-wrapped label, read right to left, breaks between its words.", 1, 1, -12);
      l->SetAutoSize(false);
      l->SetBounds(1, 1, 220, 78);
      l->SetWordWrap(true);
      l->SetAlignment(kAlignments[i]);
      if (i == 1) {
        l->GlowEffect()->SetEnabled(true);
        l->GlowEffect()->SetColor(clWindow);
      }
    }
    // Vertical alignment in tall boxes.
    const char* const vertical[] = {"Top.", "Center.", "Bottom."};
    for (int i = 0; i < 3; ++i) {
      const int x = 10 + i * 150;
      TqvPanel* frame = Box(ground, {x, 100, x + 142, 180}, qvpsTransparent, qvpbsFlat, "");
      TqvLabel* l = Text(frame, vertical[i], 1, 1, -12);
      l->SetAutoSize(false);
      l->SetBounds(1, 1, 140, 78);
      l->SetVertAlignment(TqvVertAlignment(i));
      l->GlowEffect()->SetEnabled(i == 1);
      l->GlowEffect()->SetColor(clWindow);
    }
    // Auto-sized labels set left keep their right edge (the mark) when the text grows;
    // one set right keeps its left edge.
    TqvPanel* mark = Box(ground, {899, 190, 900, 270}, qvpsPanel, qvpbsNone, "");
    mark->SetColor(clRed);
    TqvPanel* leftMark = Box(ground, {460, 190, 461, 270}, qvpsPanel, qvpbsNone, "");
    leftMark->SetColor(clRed);
    const struct {
      const char* Before;
      const char* After;
      TAlignment Alignment;
      bool Glow;
      int Y;
    } sized[] = {
        {"Short", "Auto-sized, set left: keeps its right edge.", taLeftJustify, false, 192},
        {"Short", "With glow, set left: keeps its right edge.", taLeftJustify, true, 214},
        {"Short", "Set right: keeps its left edge.", taRightJustify, false, 244},
    };
    for (const auto& a : sized) {
      TqvLabel* l = Text(ground, a.Before, 0, a.Y, -13);
      l->GlowEffect()->SetEnabled(a.Glow);
      l->GlowEffect()->SetColor(clWindow);
      l->SetAlignment(a.Alignment);
      l->SetLeft(a.Alignment == taLeftJustify ? 899 - l->Width() : 461);
      l->SetCaption(a.After);
    }
    TqvLabel* disabled = Text(ground, "Disabled label.", 10, 200, -13);
    disabled->SetEnabled(false);
    TqvLabel* accel = Text(ground, "&Accelerator:", 10, 230, -13);
    accel->SetFocusControl(ground);
  }

  TqvImageCollection* FImages;
  TqvPanel* FHost;
};

// ---- hints ----

constexpr int kHintSheetWidth = 940, kHintSheetHeight = 330;

// A 32 x 32 picture for the hints' image lists, drawn here: a blue disc with a white
// "i", on a fuchsia ground that the list masks out.
TImageList* MakeHintImages() {
  auto* images = new TImageList(nullptr, 32, 32);
  TBitmap picture;
  picture.SetPixelFormat(pf24bit);
  picture.SetSize(32, 32);
  TCanvas* c = picture.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect({0, 0, 32, 32});
  c->Pen()->SetColor(TColor(RGB(20, 70, 150)));
  c->Brush()->SetColor(TColor(RGB(45, 125, 220)));
  c->Ellipse(1, 1, 31, 31);
  c->Pen()->SetColor(clWhite);
  c->Brush()->SetColor(clWhite);
  c->Ellipse(14, 6, 19, 11);
  c->Rectangle(14, 13, 19, 26);
  c->Rectangle(12, 13, 15, 15);
  c->Rectangle(12, 24, 21, 26);
  images->AddMasked(&picture, clFuchsia);
  return images;
}

// Copies a top-level window as it shows onto the sheet (screen and sheet coordinates
// agree): inside its shape, at its layered opacity.
void PasteWindow(HDC Sheet, TWinControl* Window) {
  RECT r{};
  GetWindowRect(Window->Handle(), &r);
  ToolCanvas picture(r.Width(), r.Height());
  Window->PaintTo(picture.DC, 0, 0);
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(Window->Handle(), shape) != ERROR_REGION) {
    OffsetRgn(shape, r.Left, r.Top);
    SelectClipRgn(Sheet, shape);
  }
  BYTE alpha = 255;
  if (!GetLayeredWindowAttributes(Window->Handle(), nullptr, &alpha, nullptr)) alpha = 255;
  BLENDFUNCTION blend;
  blend.SourceConstantAlpha = alpha;
  AlphaBlend(Sheet, r.Left, r.Top, r.Width(), r.Height(), picture.DC, 0, 0, r.Width(), r.Height(), blend);
  SelectClipRgn(Sheet, nullptr);
  DeleteObject(shape);
}

// The hints in one style: TqvHint plain, translucent, extended with a title and an image,
// and above a rectangle; TqvBalloonHint windows in both balloon styles below their
// anchors. Each hint is a window of its own, pasted over the sheet's controls.
class HintSheet {
 public:
  HintSheet(HWND Top, TqvImageCollection* Wallpapers, TImageList* Images)
      : FHost(NewSheetHost(Top, kHintSheetWidth, kHintSheetHeight)), FImages(Images), FWallpapers(Wallpapers) {}
  ~HintSheet() {
    // Windows before the hints they belong to.
    for (auto c = FOwned.rbegin(); c != FOwned.rend(); ++c) delete *c;
    delete FHost;
  }
  HintSheet(const HintSheet&) = delete;
  HintSheet& operator=(const HintSheet&) = delete;

  void Build(const String& Title) {
    Label("Hints: " + Title, 10, 6, -16);
    Label("TqvHint, plain (\"@@\" breaks the line)", 10, 36);
    Hint()->ActivateHint(Point(20, 60), "A plain hint@@on two lines");

    Label("Translucent (AlphaBlend 170) over a wallpaper", 10, 140);
    TqvPanel* ground = Panel({10, 160, 300, 310}, qvpsPanel, "");
    ground->SetWallpapers(FWallpapers);
    ground->SetWallpaperIndex(0);
    TqvHint* translucent = Hint();
    translucent->SetAlphaBlend(true);
    translucent->SetAlphaBlendValue(170);
    translucent->ActivateHint(Point(30, 200), "Translucent hint@@the wallpaper shows through");

    Label("Extended: title and image", 320, 36);
    Hint()->ActivateHintEx(Point(330, 60), "Extended hint", "A picture drawn in code@@beside two lines of text", 0,
                           FImages);
    Label("Centred above a rectangle", 320, 170);
    TqvPanel* anchor = Panel({380, 260, 560, 290}, qvpsPanel, "Anchor");
    const TPoint tl = anchor->ClientToScreen(Point(0, 0));
    Hint()->HW->ActivateHintFromRect(Bounds(tl.X, tl.Y, anchor->Width(), anchor->Height()), "Above the anchor", true);

    Label("TqvBalloonHint below its anchors", 640, 36);
    Balloon(Panel({650, 60, 780, 84}, qvpsPanel, "Balloon"), bhsBalloon, "Balloon hint",
            "Title, description@@and an image");
    Balloon(Panel({650, 190, 780, 214}, qvpsPanel, "Standard"), bhsStandard, "Standard style",
            "A rectangle without a stem");
  }

  // The controls, then every hint window over them.
  void PaintTo(HDC DC) {
    FHost->PaintTo(DC, 0, 0);
    for (TComponent* c : FOwned) {
      if (auto* hint = dynamic_cast<TqvHint*>(c); hint && hint->IsVisible()) PasteWindow(DC, hint->HW);
      if (auto* window = dynamic_cast<TqvCustomHintWindow*>(c)) PasteWindow(DC, window);
    }
  }

 private:
  template <class T>
  T* Own(T* Component) {
    FOwned.push_back(Component);
    return Component;
  }

  void Label(const String& Text, int X, int Y, int Height = -13) { SheetText(FHost, Text, X, Y, Height, true); }
  TqvPanel* Panel(TRect R, TqvPanelStyleKind Kind, const String& Caption) {
    return SheetPanel(FHost, R, Kind, qvpbsRaised, Caption);
  }

  TqvHint* Hint() { return Own(new TqvHint(nullptr)); }

  // The window ShowHint would queue, placed below the anchor and shown at once.
  void Balloon(TqvPanel* Anchor, TBalloonHintStyle Style, const String& Title, const String& Description) {
    TqvBalloonHint* balloon = Own(new TqvBalloonHint(nullptr));
    balloon->SetStyle(Style);
    balloon->SetImages(FImages);
    auto* window = new TqvCustomHintWindow(nullptr);
    window->SetHintParent(balloon);
    window->HandleNeeded();
    window->SetTitle(Title);
    window->SetDescription(StringReplace(Description, "@@", "\r\n", {rfReplaceAll}));
    window->SetImageIndex(0);
    const TPoint tl = Anchor->ClientToScreen(Point(0, 0));
    window->PositionAt(Bounds(tl.X, tl.Y, Anchor->Width(), Anchor->Height()));
    ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
    Own(window);
  }

  TqvPanel* FHost;
  TImageList* FImages;
  TqvImageCollection* FWallpapers;
  std::vector<TComponent*> FOwned;
};

bool WriteHintSheet(const ToolOutput& Out, HWND Top, TqvImageCollection* Wallpapers, TImageList* Images,
                    const String& Name, const String& Title) {
  HintSheet sheet(Top, Wallpapers, Images);
  sheet.Build(Title);
  Application->ProcessMessages();
  ToolCanvas canvas(kHintSheetWidth, kHintSheetHeight);
  sheet.PaintTo(canvas.DC);
  return Out.WritePng(canvas.Pixels(), Name + "-Hints.png");
}

// ---- gallery menus ----

constexpr int kGallerySheetWidth = 760, kGallerySheetHeight = 420;

// Eight 24 x 24 pictures drawn here, on a fuchsia ground the list masks out: a disc, a
// square, a triangle, a diamond, a ring, a cross, a rounded square and a bar chart.
TImageList* MakeGalleryImages() {
  auto* images = new TImageList(nullptr, 24, 24);
  const COLORREF colors[] = {RGB(220, 60, 50),  RGB(40, 130, 220), RGB(60, 170, 80),  RGB(230, 160, 20),
                             RGB(150, 70, 190), RGB(30, 150, 150), RGB(200, 90, 140), RGB(90, 100, 120)};
  for (int i = 0; i < 8; ++i) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(24, 24);
    TCanvas* c = picture.Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect({0, 0, 24, 24});
    const TColor color = TColor(colors[i]);
    c->Pen()->SetColor(color);
    c->Brush()->SetColor(color);
    switch (i) {
      case 0: c->Ellipse(2, 2, 22, 22); break;
      case 1: c->Rectangle(3, 3, 21, 21); break;
      case 2: c->Polygon({Point(12, 2), Point(22, 21), Point(2, 21)}); break;
      case 3: c->Polygon({Point(12, 1), Point(22, 12), Point(12, 22), Point(2, 12)}); break;
      case 4:
        c->Ellipse(2, 2, 22, 22);
        c->Brush()->SetColor(clFuchsia);
        c->Pen()->SetColor(clFuchsia);
        c->Ellipse(8, 8, 16, 16);
        break;
      case 5:
        c->Rectangle(9, 2, 15, 22);
        c->Rectangle(2, 9, 22, 15);
        break;
      case 6: c->RoundRect(2, 4, 22, 20, 8, 8); break;
      default:
        c->Rectangle(3, 14, 8, 22);
        c->Rectangle(10, 8, 15, 22);
        c->Rectangle(17, 3, 22, 22);
        break;
    }
    images->AddMasked(&picture, clFuchsia);
  }
  return images;
}

// Open gallery menus in one style, each below a panel standing in for its button: a
// selected and a hot cell, a disabled cell (faded, and one kept in colour), headers in
// both styles, button rows in the three alignments, and one menu at 150 %. Only one
// popup is open at a time (each takes the mouse), so each is pasted while it shows.
bool WriteGallerySheet(const ToolOutput& Out, HWND Top, TImageList* Images, const String& Name, const String& Title) {
  TqvPanel* host = NewSheetHost(Top, kGallerySheetWidth, kGallerySheetHeight);
  SheetText(host, "Gallery menus: " + Title, 10, 6, -16, true);
  struct Menu {
    const char* Anchor;
    TRect R;
    TqvGalleryMenuBGStyle Background;
    TqvMenuHeaderStyle Headers;
    int Columns;
    int Buttons;  // 0 centred, 1 left, 2 glyph at the left
    double Scale;
    int HotSteps;
  };
  const Menu menus[] = {
      {"Panel, headers", {10, 40, 150, 64}, qvgmPanel, qvmhsDefault, 4, 0, 1.0, 1},
      {"Tool bar, bottom lines", {200, 40, 340, 64}, qvgmToolBar, qvmhsBottomLine, 3, 1, 1.0, 8},
      {"Form background", {390, 40, 530, 64}, qvgmFormBackground, qvmhsDefault, 3, 2, 1.0, 6},
      {"At 150 %", {560, 40, 700, 64}, qvgmPanel, qvmhsBottomLine, 3, 0, 1.5, 2},
  };
  std::vector<TqvGalleryMenu*> owned;
  std::vector<std::unique_ptr<ToolCanvas>> pictures;
  std::vector<TPoint> places;
  for (const Menu& m : menus) {
    SheetPanel(host, m.R, qvpsPanel, qvpbsRaised, m.Anchor);
    auto* menu = new TqvGalleryMenu(nullptr);
    owned.push_back(menu);
    menu->SetImages(Images);
    menu->SetBackgroundStyle(m.Background);
    menu->SetHeaderStyle(m.Headers);
    menu->SetColumnsCount(m.Columns);
    menu->SetButtonLeftAlignment(m.Buttons == 1);
    menu->SetButtonGlyphLeftAlignment(m.Buttons == 2);
    menu->SetScaleFactor(m.Scale);
    auto header = [&](const char* Caption) {
      TqvGalleryMenuItem* item = menu->Items()->Add();
      item->SetHeader(true);
      item->SetCaption(Caption);
    };
    auto cell = [&](int Image, bool Enabled = true, bool ShowColor = false) {
      TqvGalleryMenuItem* item = menu->Items()->Add();
      item->SetImageIndex(Image);
      item->SetEnabled(Enabled);
      item->SetShowColor(ShowColor);
    };
    auto button = [&](const char* Caption, int Image, bool Enabled = true) {
      TqvGalleryMenuItem* item = menu->Items()->Add();
      item->SetButton(true);
      item->SetCaption(Caption);
      item->SetImageIndex(Image);
      item->SetEnabled(Enabled);
    };
    header("Shapes");
    for (int i = 0; i < 5; ++i) cell(i);
    cell(5, false);
    cell(6, false, true);
    header("Charts");
    cell(7);
    cell(0);
    button("More shapes...", 1);
    button("Disabled row", 2, false);
    menu->SetItemIndex(3);
    menu->PopupFromRect(m.R);
    if (TqvGalleryMenuPopupWindow* popup = menu->PopupWindow()) {
      for (int i = 0; i < m.HotSteps; ++i) popup->MoveHotItem(VK_RIGHT);
      Application->ProcessMessages();
      RECT r{};
      GetWindowRect(popup->Handle(), &r);
      auto picture = std::make_unique<ToolCanvas>(r.Width(), r.Height());
      popup->PaintTo(picture->DC, 0, 0);
      pictures.push_back(std::move(picture));
      places.push_back(Point(r.Left, r.Top));
    }
    menu->Hide();
  }
  SheetText(host, "Selected: the triangle. Hot (moved by arrow keys): the disc, the first button row,", 10, 376);
  SheetText(host, "the chart, the square. The cross is disabled (faded), the rounded square disabled", 10, 390);
  SheetText(host, "but kept in colour, and the last row is a disabled button row.", 10, 404);
  Application->ProcessMessages();
  ToolCanvas canvas(kGallerySheetWidth, kGallerySheetHeight);
  host->PaintTo(canvas.DC, 0, 0);
  for (size_t i = 0; i < pictures.size(); ++i) {
    const ToolCanvas& p = *pictures[i];
    BitBlt(canvas.DC, places[i].X, places[i].Y, p.Pixels().Width(), p.Pixels().Height(), p.DC, 0, 0, SRCCOPY);
  }
  for (TqvGalleryMenu* menu : owned) delete menu;
  delete host;
  ProcessDeferredReleases();
  return Out.WritePng(canvas.Pixels(), Name + "-Gallery.png");
}

bool WriteGallerySheets(const ToolOutput& Out, HWND Top) {
  const std::unique_ptr<TImageList> images(MakeGalleryImages());
  return ForEachStyle([&](const String& Name, const String& Title) {
    return WriteGallerySheet(Out, Top, images.get(), Name, Title);
  });
}

// ---- buttons ----

constexpr int kButtonSheetWidth = 940, kButtonSheetHeight = 1000;

const char* const kButtonKindNames[] = {
    "qvbsPushButton",          "qvbsToolButton",         "qvbsPushButtonTransparent", "qvbsToolButtonTransparent",
    "qvbsTransparent",         "qvbsLink",               "qvbsHeaderSection",         "qvbsUpSpinButton",
    "qvbsDownSpinButton",      "qvbsLeftSpinButton",     "qvbsRightSpinButton",       "qvbsDropDownButton",
    "qvbsColorButton",         "qvbsCustomImage",        "qvbsCustomImageOverContent", "qvbsTab",
    "qvbsTabTransparent",      "qvbsSegmentedLeft",      "qvbsSegmentedMiddle",       "qvbsSegmentedRight",
    "qvbsSegmentedToolLeft",   "qvbsSegmentedToolMiddle", "qvbsSegmentedToolRight",   "qvbsDropDownCombo"};
const char* const kStateNames[] = {"normal", "hot", "pressed", "focused", "disabled"};

// A button shown in a chosen state, and with its drop-down shown open from the arrow.
class TSheetButton : public TqvButton {
  QV_CLASS(TSheetButton, TqvButton)
  explicit TSheetButton(TComponent* AOwner) : TqvButton(AOwner) {}
  TqvsCtrlState Shown = qvsNormal;
  void ShowOpenFromArrow() {
    FMenuDroppedDown = true;
    FMenuTracking = true;
  }
  TqvsCtrlState GetCtrlState() override { return Enabled() ? Shown : qvsDisabled; }
};

// 16 x 16 pictures drawn here, with alpha so that they can glow: a green disc, a blue
// square, an orange triangle.
TImageList* MakeButtonImages() {
  auto* images = new TImageList(nullptr, 16, 16);
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(48, 16);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<uint32_t*>(picture.ScanLine(y));
    for (int x = 0; x < 48; ++x) {
      const int cell = x / 16, cx = x % 16;
      bool ink = false;
      uint32_t rgb = 0;
      if (cell == 0) {
        ink = (cx - 7.5) * (cx - 7.5) + (y - 7.5) * (y - 7.5) <= 49;
        rgb = 0x2E9E3C;
      } else if (cell == 1) {
        ink = cx >= 2 && cx < 14 && y >= 2 && y < 14;
        rgb = 0x2D6FD2;
      } else {
        ink = y >= 2 && y < 15 && std::abs(cx - 8) * 2 <= (y - 2);
        rgb = 0xE07A1E;
      }
      row[x] = ink ? 0xFF000000u | rgb : 0;
    }
  }
  images->Add(&picture, nullptr);
  return images;
}

// Two skins for the custom-image kinds: a rounded green plate and a darker one.
void AddButtonSkins(TqvImageCollection* Skins) {
  for (TColor c : {TColor(RGB(120, 190, 120)), TColor(RGB(70, 140, 70)), TColor(RGB(170, 220, 170))}) {
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(40, 24);
    TCanvas* k = picture.Canvas();
    k->Brush()->SetColor(clWhite);
    k->FillRect({0, 0, 40, 24});
    k->Pen()->SetColor(TColor(RGB(40, 90, 40)));
    k->Brush()->SetColor(c);
    k->RoundRect(0, 0, 40, 24, 8, 8);
    TqvImageCollectionItem* item = Skins->Images()->Add();
    item->SetBitmap(&picture);
    item->SetDrawStyle(idsStretch);
  }
}

// Every button kind in every state, then split and drop-down buttons (arrow at the right
// and at the bottom, open from the arrow), a title line, images and glow.
//
//   DIR/<style name>-Buttons.png
class ButtonSheet {
 public:
  ButtonSheet(HWND Top, TImageList* Images, TqvImageCollection* Skins)
      : FHost(NewSheetHost(Top, kButtonSheetWidth, kButtonSheetHeight)), FImages(Images), FSkins(Skins) {}
  ~ButtonSheet() { delete FHost; }
  ButtonSheet(const ButtonSheet&) = delete;
  ButtonSheet& operator=(const ButtonSheet&) = delete;

  void Build(const String& Title) {
    SheetText(FHost, "Buttons: " + Title, 10, 6, -16, true);
    KindsGrid(36);
    DropDownRows(800);
  }

  TqvPanel* Host() const { return FHost; }

 private:
  TSheetButton* Button(TWinControl* Parent, TRect R, TqvButtonStyleKind Kind, TqvsCtrlState State,
                       const String& Caption) {
    auto* b = new TSheetButton(nullptr);
    b->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    b->SetParent(Parent);
    b->SetStyleKind(Kind);
    b->SetCaption(Caption);
    b->Shown = State;
    b->SetEnabled(State != qvsDisabled);
    b->SetImages(FImages);
    b->SetCustomImages(FSkins);
    b->SetCustomImageNormalIndex(0);
    b->SetCustomImageHotIndex(2);
    b->SetCustomImagePressedIndex(1);
    b->SetCustomImageFocusedIndex(2);
    b->SetCustomImageDisabledIndex(0);
    b->ColorOptions()->SetNormalColor(TColor(RGB(250, 225, 160)));
    b->ColorOptions()->SetHotColor(TColor(RGB(255, 200, 110)));
    b->ColorOptions()->SetPressedColor(TColor(RGB(220, 150, 60)));
    b->ColorOptions()->SetFocusedColor(TColor(RGB(250, 215, 140)));
    b->ColorOptions()->SetFrameNormalColor(TColor(RGB(180, 120, 40)));
    b->ColorOptions()->SetFontNormalColor(TColor(RGB(80, 40, 0)));
    b->ColorOptions()->SetFontHotColor(TColor(RGB(80, 40, 0)));
    b->ColorOptions()->SetFontPressedColor(TColor(RGB(40, 20, 0)));
    b->ColorOptions()->SetFontFocusedColor(TColor(RGB(80, 40, 0)));
    return b;
  }

  void KindsGrid(int Y) {
    SheetText(FHost, "Every kind in every state (image 0 of a 16 x 16 list)", 10, Y, -13, true);
    for (int s = 0; s < 5; ++s) SheetText(FHost, kStateNames[s], 220 + s * 140, Y + 20);
    // One ground per row: the transparent kinds show it.
    TqvPanel* ground = SheetPanel(FHost, {10, Y + 38, 930, Y + 38 + 24 * 30 + 4}, qvpsPanel, qvpbsNone, "");
    for (int k = 0; k < 24; ++k) {
      SheetText(ground, kButtonKindNames[k], 4, 8 + k * 30);
      for (int s = 0; s < 5; ++s) {
        const TRect r{200 + s * 140, 3 + k * 30, 200 + s * 140 + 126, 3 + k * 30 + 27};
        TSheetButton* b = Button(ground, r, TqvButtonStyleKind(k), TqvsCtrlState(s), "Button");
        b->SetImageIndex(0);
      }
    }
  }

  void DropDownRows(int Y) {
    SheetText(FHost, "Drop-down and split buttons: arrow right and at the bottom, open from the arrow; title, images, glow",
              10, Y, -13, true);
    struct Cell {
      const char* caption;
      TqvButtonStyleKind kind;
      bool split;
      bool bottom;
      bool open;
      TqvsCtrlState state;
    };
    const Cell cells[] = {
        {"Drop-down", qvbsPushButton, false, false, false, qvsNormal},
        {"Split", qvbsPushButton, true, false, false, qvsNormal},
        {"Split, hot", qvbsPushButton, true, false, false, qvsHot},
        {"Split, open", qvbsPushButton, true, false, true, qvsNormal},
        {"Tool split", qvbsToolButton, true, false, true, qvsNormal},
        {"Colour split", qvbsColorButton, true, false, false, qvsHot},
        {"Combo", qvbsDropDownCombo, false, false, false, qvsNormal},
    };
    for (size_t i = 0; i < std::size(cells); ++i) {
      const Cell& c = cells[i];
      TSheetButton* b = Button(FHost, {10 + int(i) * 132, Y + 22, 10 + int(i) * 132 + 124, Y + 56}, c.kind, c.state,
                               c.caption);
      b->SetCustomDropDown(true);
      b->SetSplitButton(c.split);
      if (c.open) b->ShowOpenFromArrow();
    }
    const Cell bottoms[] = {
        {"Below", qvbsPushButton, false, true, false, qvsNormal},
        {"Split below", qvbsPushButton, true, true, false, qvsHot},
        {"Open below", qvbsPushButton, true, true, true, qvsNormal},
        {"Tool below", qvbsToolButton, true, true, true, qvsHot},
    };
    for (size_t i = 0; i < std::size(bottoms); ++i) {
      const Cell& c = bottoms[i];
      TSheetButton* b = Button(FHost, {10 + int(i) * 100, Y + 66, 10 + int(i) * 100 + 90, Y + 136}, c.kind, c.state,
                               c.caption);
      b->SetImageIndex(int(i % 3));
      b->SetLayout(blGlyphTop);
      b->SetCustomDropDown(true);
      b->SetSplitButton(c.split);
      b->SetArrowPosition(qvapBottom);
      if (c.open) b->ShowOpenFromArrow();
    }
    // A title line above the caption.
    TSheetButton* titled = Button(FHost, {420, Y + 66, 620, Y + 136}, qvbsPushButton, qvsNormal,
                                  "A caption under a bold title, wrapped");
    titled->SetTitle("Title line");
    titled->SetImageIndex(1);
    TSheetButton* titledHot = Button(FHost, {630, Y + 66, 800, Y + 136}, qvbsToolButton, qvsHot, "Tool, hot");
    titledHot->SetTitle("Title");
    titledHot->SetImageIndex(2);
    // Glow around caption and image.
    const TqvsCtrlState glowStates[] = {qvsNormal, qvsHot, qvsPressed};
    for (int i = 0; i < 3; ++i) {
      TSheetButton* g = Button(FHost, {10 + i * 150, Y + 146, 10 + i * 150 + 140, Y + 186}, qvbsTransparent,
                               glowStates[i], String("Glow, ") + kStateNames[i]);
      g->SetImageIndex(0);
      g->GlowEffect()->SetEnabled(true);
      g->GlowEffect()->SetStates({qvsNormal, qvsHot, qvsPressed});
      g->GlowEffect()->SetColor(clHighlight);
      g->GlowEffect()->SetHotColor(TColor(RGB(255, 170, 0)));
    }
    TSheetButton* link = Button(FHost, {470, Y + 146, 600, Y + 186}, qvbsLink, qvsHot, "Link, hot");
    link->SetImages(nullptr);
    TSheetButton* column = Button(FHost, {610, Y + 146, 800, Y + 186}, qvbsPushButton, qvsNormal, "ImageMargin 40");
    column->SetImageIndex(2);
    column->SetImageMargin(40);
  }

  TqvPanel* FHost;
  TImageList* FImages;
  TqvImageCollection* FSkins;
};

bool WriteButtonSheet(const ToolOutput& Out, HWND Top, TImageList* Images, TqvImageCollection* Skins,
                      const String& Name, const String& Title) {
  ButtonSheet sheet(Top, Images, Skins);
  sheet.Build(Title);
  Application->ProcessMessages();
  ToolCanvas canvas(kButtonSheetWidth, kButtonSheetHeight);
  sheet.Host()->PaintTo(canvas.DC, 0, 0);
  return Out.WritePng(canvas.Pixels(), Name + "-Buttons.png");
}

// The button sheet in every style.
bool WriteButtonSheets(const ToolOutput& Out, HWND Top) {
  const std::unique_ptr<TImageList> images(MakeButtonImages());
  auto skins = std::make_unique<TqvImageCollection>(nullptr);
  AddButtonSkins(skins.get());
  return ForEachStyle([&](const String& Name, const String& Title) {
    return WriteButtonSheet(Out, Top, images.get(), skins.get(), Name, Title);
  });
}

// ---- an open popup menu ----

constexpr int kMenuSheetWidth = 520, kMenuSheetHeight = 300;

// What the menu sheet's message filter does once the sub-menu is open: the menu windows
// printed onto the sheet (screen and sheet coordinates agree), then the loop ended.
HDC g_menuSheet = nullptr;
bool g_menuPrinted = false;
LRESULT PrintOpenMenus(int Code, WPARAM, LPARAM LParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(LParam);
  if (Code != MSGF_MENU || g_menuPrinted || msg->message != WM_KEYUP || msg->wParam != VK_DOWN) return 0;
  for (HWND w : MenuWindows()) {
    RECT r{};
    GetWindowRect(w, &r);
    ToolCanvas picture(r.Width(), r.Height());
    SendMessage(w, WM_PRINT, reinterpret_cast<WPARAM>(picture.DC), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    BitBlt(g_menuSheet, r.Left, r.Top, r.Width(), r.Height(), picture.DC, 0, 0, SRCCOPY);
  }
  g_menuPrinted = true;
  EndMenu();
  return 0;
}

// A popup menu with its sub-menu open, in one style: a shortcut, the default item (bold),
// a separator, a checked item, a radio group, a disabled item, and the sub-menu with a hot
// item, opened by keys as a person would.
bool WriteMenuSheet(const ToolOutput& Out, HWND Top, const String& Name, const String& Title) {
  ToolCanvas canvas(kMenuSheetWidth, kMenuSheetHeight);
  RECT all{0, 0, kMenuSheetWidth, kMenuSheetHeight};
  HBRUSH ground = CreateSolidBrush(ColorToRGB(clBtnFace));
  FillRect(canvas.DC, &all, ground);
  DeleteObject(ground);
  HFONT font = ToolFont(-16, FW_BOLD);
  HGDIOBJ old = SelectObject(canvas.DC, font);
  SetBkMode(canvas.DC, TRANSPARENT);
  SetTextColor(canvas.DC, ColorToRGB(clWindowText));
  const String heading = "Popup menu: " + Title;
  TextOut(canvas.DC, 10, 6, heading, int(heading.size()));
  SelectObject(canvas.DC, old);
  DeleteObject(font);

  TPopupMenu menu(nullptr);
  TMenuItem* root = menu.Items();
  root->Add({NewItem("&Open...", scCtrl | 'O', false, true, nullptr), NewItem("&Save", scCtrl | 'S', false, true, nullptr)});
  root->Items(1)->SetDefault(true);
  root->Add(NewLine());
  root->Add(NewItem("&Word wrap", scNone, true, true, nullptr));
  for (const char* caption : {"Align &left", "Align &right"}) {
    TMenuItem* radio = NewItem(caption, scNone, false, true, nullptr);
    radio->SetRadioItem(true);
    radio->SetGroupIndex(1);
    root->Add(radio);
  }
  root->Items(4)->SetChecked(true);
  root->Add(NewItem("&Print", scCtrl | 'P', false, false, nullptr));
  root->Add(NewLine());
  TMenuItem* recent = NewItem("Recent &files", scNone, false, true, nullptr);
  recent->Add({NewItem("notes.txt", scNone, false, true, nullptr), NewItem("report.html", scNone, false, true, nullptr),
               NewItem("old.log", scNone, false, false, nullptr)});
  root->Add(recent);

  // Up to "Recent files", Right opens it at its first item, Down makes the second hot.
  SetFocus(Top);
  for (UINT key : {VK_UP, VK_RIGHT, VK_DOWN}) {
    Headless()->Inject({.Kind = InputKind::KeyDown, .Key = key});
    Headless()->Inject({.Kind = InputKind::KeyUp, .Key = key});
  }
  g_menuSheet = canvas.DC;
  g_menuPrinted = false;
  HHOOK hook = SetWindowsHookEx(WH_MSGFILTER, PrintOpenMenus, nullptr, 0);
  menu.Popup(20, 40);
  UnhookWindowsHookEx(hook);
  g_menuSheet = nullptr;
  Application->ProcessMessages();
  if (!g_menuPrinted) {
    std::fprintf(stderr, "control-sheet: the menu sheet of %s: the sub-menu did not open\n", Name.c_str());
    return false;
  }
  return Out.WritePng(canvas.Pixels(), Name + "-Menu.png");
}

}  // namespace

int main(int argc, char** argv) {
  return RunSheetTool(argc, argv, "control-sheet", [](const ToolOutput& Out) {
    Application->Initialize();
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = kTopClass;
    RegisterClass(&wc);
    HWND top = CreateWindowEx(0, kTopClass, "", WS_POPUP | WS_VISIBLE, 0, 0, kSheetWidth, kSheetHeight, nullptr,
                              nullptr, nullptr, nullptr);
    auto images = std::make_unique<TqvImageCollection>(nullptr);
    AddWallpaper(images.get());
    const bool ok = ForEachStyle([&](const String& Name, const String& Title) {
      Sheet sheet(top, images.get());
      sheet.Build(Title);
      Application->ProcessMessages();
      ToolCanvas canvas(kSheetWidth, kSheetHeight);
      sheet.Host()->PaintTo(canvas.DC, 0, 0);
      if (!Out.WritePng(canvas.Pixels(), Name + ".png")) return false;
      RightToLeftSheet rtl(top, images.get());
      rtl.Build(Title);
      Application->ProcessMessages();
      ToolCanvas rtlCanvas(RightToLeftSheet::kWidth, RightToLeftSheet::kHeight);
      rtl.Host()->PaintTo(rtlCanvas.DC, 0, 0);
      return Out.WritePng(rtlCanvas.Pixels(), Name + "-rtl.png");
    });
    const std::unique_ptr<TImageList> hintImages(MakeHintImages());
    const bool hintsOk = ForEachStyle([&](const String& Name, const String& Title) {
      return WriteHintSheet(Out, top, images.get(), hintImages.get(), Name, Title);
    });
    const bool menusOk = ForEachStyle([&](const String& Name, const String& Title) {
      return WriteMenuSheet(Out, top, Name, Title);
    });
    const bool galleryOk = WriteGallerySheets(Out, top);
    const bool buttonsOk = WriteButtonSheets(Out, top);
    DestroyWindow(top);
    return ok && hintsOk && menusOk && galleryOk && buttonsOk;
  });
}
