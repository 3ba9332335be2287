// A sheet of the styled panels and labels, one PNG per style and one in classic mode:
// every panel style kind and border style, captions with glow, transparent panels over a
// wallpaper, and labels with glow, vertical alignment, auto-size, accelerators and the
// disabled look.
//
//   control-sheet --out DIR      writes DIR/<style name>.png and DIR/Classic.png
//                                and the hints in DIR/<style name>-Hints.png
#include <memory>
#include <string>
#include <vector>

#include "qvControls/Label.h"
#include "qvControls/Panel.h"
#include "qvHint.h"
#include "qvImageCollection/ImageCollection.h"
#include "tools/ToolMain.h"
#include "vcl/Forms.h"
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

// The controls of one sheet, on a host inside a plain top-level window.
class Sheet {
 public:
  Sheet(HWND Top, TqvImageCollection* Images) : FImages(Images) {
    FHost = new TqvPanel(nullptr);
    FHost->SetBounds(0, 0, kSheetWidth, kSheetHeight);
    FHost->SetStyleKind(qvpsFormBackground);
    FHost->SetParentWindow(Top);
  }
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
    auto* label = new TqvLabel(nullptr);
    label->SetParent(Parent);
    label->SetLeft(X);
    label->SetTop(Y);
    label->Font()->SetHeight(Height);
    label->Font()->SetStyle({fsBold});
    label->SetCaption(Text);
    return label;
  }

  TqvLabel* Label(TWinControl* Parent, const String& Text, int X, int Y) {
    auto* label = new TqvLabel(nullptr);
    label->SetParent(Parent);
    label->SetLeft(X);
    label->SetTop(Y);
    label->SetCaption(Text);
    return label;
  }

  TqvPanel* Panel(TWinControl* Parent, TRect R, TqvPanelStyleKind Kind, TqvPanelBorderStyle Border,
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
  HintSheet(HWND Top, TqvImageCollection* Wallpapers, TImageList* Images) {
    FHost = new TqvPanel(nullptr);
    FHost->SetBounds(0, 0, kHintSheetWidth, kHintSheetHeight);
    FHost->SetStyleKind(qvpsFormBackground);
    FHost->SetParentWindow(Top);
    FImages = Images;
    FWallpapers = Wallpapers;
  }
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

  void Label(const String& Text, int X, int Y, int Height = -13) {
    auto* label = new TqvLabel(nullptr);
    label->SetParent(FHost);
    label->SetLeft(X);
    label->SetTop(Y);
    label->Font()->SetHeight(Height);
    label->Font()->SetStyle({fsBold});
    label->SetCaption(Text);
  }

  TqvPanel* Panel(TRect R, TqvPanelStyleKind Kind, const String& Caption) {
    auto* panel = new TqvPanel(nullptr);
    panel->SetBounds(R.Left, R.Top, R.Width(), R.Height());
    panel->SetParent(FHost);
    panel->SetStyleKind(Kind);
    panel->SetBorderStyle(qvpbsRaised);
    panel->SetCaption(Caption);
    panel->SetShowCaption(!Caption.empty());
    return panel;
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
      return Out.WritePng(canvas.Pixels(), Name + ".png");
    });
    const std::unique_ptr<TImageList> hintImages(MakeHintImages());
    const bool hintsOk = ForEachStyle([&](const String& Name, const String& Title) {
      return WriteHintSheet(Out, top, images.get(), hintImages.get(), Name, Title);
    });
    DestroyWindow(top);
    return ok && hintsOk;
  });
}
