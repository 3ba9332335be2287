// Draws every styled element routine of the drawing toolkit in every state, labelled,
// with the toolkit's glyphs, glow samples and text layouts, once per style and once in
// classic mode, and a page of what the image collection draws, for people to look at:
//   element-sheet --out DIR
// writes DIR/<style name>.png for each style, DIR/Classic.png and DIR/ImageCollection.png.
//
// A faint frame just outside each sample shows the rectangle the routine was given, so
// that drawing past it shows.
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gdi/Gdi.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ContentLayout.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Glow.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Scaling.h"
#include "qvDrawUtils/Style.h"
#include "qvDrawUtils/Text.h"
#include "qvImageCollection/BitmapDrawing.h"
#include "qvImageCollection/ImageCollection.h"
#include "tools/ToolMain.h"
#include "vcl/ImgList.h"
#include "vcl/Strings.h"

namespace {

constexpr int kMargin = 16;
constexpr int kLabelWidth = 230;
constexpr int kCellWidth = 116;
constexpr int kColumns = 7;
constexpr int kSheetWidth = 2 * kMargin + kLabelWidth + kColumns * kCellWidth;
constexpr int kCaptionHeight = 15;

const TqvsCtrlState kStates[] = {qvsNormal, qvsHot, qvsPressed, qvsFocused, qvsDisabled};
const char* const kStateNames[] = {"normal", "hot", "pressed", "focused", "disabled"};

using Sample = std::function<void(TCanvas*, const TRect&)>;
using StateSample = std::function<void(TCanvas*, const TRect&, TqvsCtrlState)>;

struct Cell {
  std::string Caption;
  Sample Draw;
};

// Lays the sheet out top to bottom; with no canvas it only measures.
class Sheet {
 public:
  explicit Sheet(TCanvas* Canvas) : FCanvas(Canvas) {}

  int Height() const { return FY + kMargin; }

  void Title(const std::string& Text) {
    if (FCanvas) {
      DrawFormBackground(FCanvas, {0, 0, kSheetWidth, FCanvas->ClipRect().Bottom});
      Label({kMargin, FY, kSheetWidth - kMargin, FY + 26}, Text, -20, true, DT_LEFT);
    }
    FY += 34;
  }

  // A heading across the sheet, then the names of the states over the first columns when
  // rows by state follow.
  void Heading(const std::string& Text, bool StateColumns) {
    FY += 8;
    if (FCanvas) Label({kMargin, FY, kSheetWidth - kMargin, FY + 18}, Text, -14, true, DT_LEFT);
    FY += 22;
    if (!StateColumns) return;
    if (FCanvas)
      for (int i = 0; i < 5; ++i)
        Label({CellLeft(i), FY, CellLeft(i) + kCellWidth, FY + 14}, kStateNames[i], -11, false, DT_CENTER);
    FY += 16;
  }

  // One sample per state, each Size big.
  void StateRow(const std::string& Name, SIZE Size, const StateSample& Draw) {
    std::vector<Cell> cells;
    for (TqvsCtrlState s : kStates)
      cells.push_back({"", [Draw, s](TCanvas* c, const TRect& r) { Draw(c, r, s); }});
    Row(Name, Size, cells);
  }

  // Samples of one size with their captions, as many lines as they need.
  void Row(const std::string& Name, SIZE Size, const std::vector<Cell>& Cells) {
    const bool captions = std::any_of(Cells.begin(), Cells.end(), [](const Cell& c) { return !c.Caption.empty(); });
    const int height = Size.cy + 12 + (captions ? kCaptionHeight : 0);
    for (size_t first = 0; first < Cells.size(); first += kColumns) {
      if (FCanvas && first == 0)
        Label({kMargin, FY, kMargin + kLabelWidth - 8, FY + height}, Name, -11, false, DT_LEFT | DT_VCENTER);
      for (size_t i = first; i < std::min(Cells.size(), first + kColumns); ++i) {
        const int x = CellLeft(int(i - first));
        const TRect r = Bounds(x + (kCellWidth - Size.cx) / 2, FY + 6, Size.cx, Size.cy);
        if (!FCanvas) continue;
        Outline(r);
        SaveDC(FCanvas->Handle());
        Cells[i].Draw(FCanvas, r);
        RestoreDC(FCanvas->Handle(), -1);
        FCanvas->Refresh();
        if (!Cells[i].Caption.empty())
          Label({x, r.Bottom + 4, x + kCellWidth, r.Bottom + 4 + kCaptionHeight}, Cells[i].Caption, -10, false,
                DT_CENTER);
      }
      FY += height;
    }
  }

 private:
  static int CellLeft(int Column) { return kMargin + kLabelWidth + Column * kCellWidth; }

  void Label(TRect R, const std::string& Text, int Height, bool Bold, UINT Align) {
    FCanvas->Font()->SetName("Tahoma");
    FCanvas->Font()->SetHeight(Height);
    FCanvas->Font()->SetStyle(Bold ? TFontStyles{fsBold} : TFontStyles{});
    FCanvas->Font()->SetColor(GetStyleSystemColor(clBtnText));
    FCanvas->Brush()->SetStyle(bsClear);
    HDC dc = FCanvas->Handle();
    DrawText(dc, Text, -1, &R, Align | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_VCENTER);
  }

  // The given rectangle, one pixel outside, in a colour that only just shows.
  void Outline(const TRect& R) {
    const TColor face = ColorToRGB(GetStyleSystemColor(clBtnFace));
    HBRUSH b = CreateSolidBrush(COLORREF(IsDarkStyle() ? LighterColor(face, 12) : DarkerColor(face, 8)));
    const TRect frame{R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1};
    FrameRect(FCanvas->Handle(), &frame, b);
    DeleteObject(b);
  }

  TCanvas* FCanvas;
  int FY = kMargin;
};

// A caption centred in R in Color.
void Caption(TCanvas* Canvas, const TRect& R, const std::string& Text, TColor Color) {
  Canvas->Font()->SetName("Tahoma");
  Canvas->Font()->SetHeight(-11);
  Canvas->Font()->SetStyle({});
  Canvas->Font()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  DrawText(Canvas->Handle(), Text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// R split into N equal parts side by side.
TRect Part(const TRect& R, int I, int N) {
  const int w = R.Width() / N;
  return {R.Left + I * w, R.Top, R.Left + (I + 1) * w, R.Bottom};
}

void FrameSections(Sheet& s) {
  s.Heading("Frames and separators", false);
  s.Row("DrawFrame3D, twice", {60, 28},
        {{"highlight / shadow", [](TCanvas* c, const TRect& r) {
            TRect x = r;
            DrawFrame3D(c, x, clBtnHighlight, clBtnShadow);
            DrawFrame3D(c, x, cl3DLight, cl3DDkShadow);
          }},
         {"shadow / highlight", [](TCanvas* c, const TRect& r) {
            TRect x = r;
            DrawFrame3D(c, x, clBtnShadow, clBtnHighlight);
            DrawFrame3D(c, x, cl3DDkShadow, cl3DLight);
          }}});
  s.Row("DrawHorzSeparator / DrawVertSeparator", {80, 28},
        {{"horizontal",
          [](TCanvas* c, const TRect& r) { DrawHorzSeparator(c, {r.Left, r.Top + 13, r.Right, r.Bottom}); }},
         {"vertical",
          [](TCanvas* c, const TRect& r) { DrawVertSeparator(c, {r.Left + 39, r.Top, r.Right, r.Bottom}); }}});
}

void ButtonSections(Sheet& s) {
  s.Heading("Push and tool buttons", true);
  auto push = [](double scale) {
    return [scale](TCanvas* c, const TRect& r, TqvsCtrlState st) {
      DrawPushButtonFace(c, r, st, scale, st == qvsFocused);
      Caption(c, r, "Button", GetButtonTextColor(st));
    };
  };
  s.StateRow("DrawPushButtonFace (focus shown)", {96, 26}, push(1));
  s.StateRow("DrawPushButtonFace at 150 %", {108, 38}, push(1.5));
  s.StateRow("DrawToolButtonFace", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawToolButtonFace(c, r, st);
    Caption(c, r, "Tool", GetToolButtonTextColor(st));
  });
  s.StateRow("DrawToolButtonFaceInset", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawToolButtonFaceInset(c, r, st);
    Caption(c, r, "Tool", GetToolButtonTextColor(st));
  });

  s.Heading("Segmented buttons (left, middle, right, each clipped)", true);
  auto segments = [](bool tool) {
    return [tool](TCanvas* c, const TRect& r, TqvsCtrlState st) {
      for (int i = 0; i < 3; ++i) {
        const TRect part = Part(r, i, 3);
        SaveDC(c->Handle());
        IntersectClipRect(c->Handle(), part.Left, part.Top, part.Right, part.Bottom);
        if (tool)
          DrawSegmentedToolButtonFace(c, part, st, i + 1);
        else
          DrawSegmentedButtonFace(c, part, st, 1, i + 1, st == qvsFocused);
        RestoreDC(c->Handle(), -1);
        c->Refresh();
        Caption(c, part, std::to_string(i + 1), tool ? GetToolButtonTextColor(st) : GetButtonTextColor(st));
      }
    };
  };
  s.StateRow("DrawSegmentedButtonFace", {102, 26}, segments(false));
  s.StateRow("DrawSegmentedToolButtonFace", {102, 26}, segments(true));

  s.Heading("Split buttons (drop-down part 18 wide)", true);
  s.StateRow("DrawSplitPushButtonFace", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawSplitPushButtonFace(c, r, st, 18, false);
  });
  s.StateRow("... drop-down pressed", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawSplitPushButtonFace(c, r, st, 18, true);
  });
  s.StateRow("DrawSplitToolButtonFace", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawSplitToolButtonFace(c, r, st, 18, false);
  });
  s.StateRow("... drop-down pressed", {96, 26}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawSplitToolButtonFace(c, r, st, 18, true);
  });
}

void ArrowSections(Sheet& s) {
  s.Heading("Arrow and combo buttons", true);
  s.StateRow("DrawUp/Down/Left/RightButton", {86, 17}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawUpButton(c, Bounds(r.Left, r.Top, 17, 17), st);
    DrawDownButton(c, Bounds(r.Left + 23, r.Top, 17, 17), st);
    DrawLeftButton(c, Bounds(r.Left + 46, r.Top, 17, 17), st);
    DrawRightButton(c, Bounds(r.Left + 69, r.Top, 17, 17), st);
  });
  s.StateRow("DrawUpButton, 8 high", {17, 8}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawUpButton(c, r, st);
  });
  s.StateRow("DrawComboButton", {17, 21}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawComboButton(c, r, st, false, false);
  });
  // The way a combo box uses it: inside the box's border, joined to it.
  auto inCombo = [](bool rtl) {
    return [rtl](TCanvas* c, const TRect& r, TqvsCtrlState st) {
      StyleServices()->DrawElement(c->Handle(), StyleServices()->GetElementDetails(tcBorderNormal), r);
      const TRect button = rtl ? TRect{r.Left + 1, r.Top + 1, r.Left + 18, r.Bottom - 1}
                               : TRect{r.Right - 18, r.Top + 1, r.Right - 1, r.Bottom - 1};
      DrawComboButton(c, button, st, rtl, true);
    };
  };
  s.StateRow("DrawComboButton in a combo box", {90, 23}, inCombo(false));
  s.StateRow("... right to left", {90, 23}, inCombo(true));
}

void CheckBoxSections(Sheet& s, TCanvas* Canvas) {
  s.Heading("Check boxes (unchecked, checked, mixed)", true);
  for (double scale : {1.0, 1.5, 2.0}) {
    const int size = Canvas ? GetCheckBoxSize(Canvas, scale) : 0;
    const std::string name = "DrawCheckBoxLeft at " + std::to_string(int(scale * 100)) + " % (size " +
                             std::to_string(size) + ")";
    s.StateRow(name, {96, int(30 * scale)}, [scale](TCanvas* c, const TRect& r, TqvsCtrlState st) {
      for (int check = 0; check < 3; ++check) DrawCheckBoxLeft(c, Part(r, check, 3), st, scale, check);
    });
  }
  s.StateRow("DrawCheckBoxCenter", {96, 22}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    for (int check = 0; check < 3; ++check) DrawCheckBoxCenter(c, Part(r, check, 3), st, 1, check);
  });
  s.StateRow("DrawCheckBoxClipped in 10 pixels", {96, 22}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    for (int check = 0; check < 3; ++check) {
      const TRect part = Part(r, check, 3);
      DrawCheckBoxClipped(c, {part.Left + 12, part.Top, part.Left + 22, part.Bottom}, st, 1, check);
    }
  });
  const bool scaleStyles = ScaleStyles(), scaleThemes = ScaleThemes();
  SetScaleStyles(!scaleStyles);
  SetScaleThemes(!scaleThemes);
  s.StateRow("at 200 %, other scaling switches", {96, 60}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    for (int check = 0; check < 3; ++check) DrawCheckBoxLeft(c, Part(r, check, 3), st, 2, check);
  });
  SetScaleStyles(scaleStyles);
  SetScaleThemes(scaleThemes);
}

void SelectionSections(Sheet& s) {
  s.Heading("Selections", false);
  auto selection = [](bool focused, bool showFocus) {
    return [=](TCanvas* c, const TRect& r) {
      DrawSelection(c, r, focused, showFocus);
      Caption(c, r, "Item", GetSelectionTextColor());
    };
  };
  s.Row("DrawSelection", {96, 20},
        {{"focused", selection(true, false)},
         {"focus shown", selection(false, true)},
         {"unfocused", selection(false, false)}});
  s.Row("blended", {96, 20},
        {{"DrawSelectionAlpha 120", [](TCanvas* c, const TRect& r) { DrawSelectionAlpha(c, r, 120); }},
         {"FillRectAlpha 200", [](TCanvas* c, const TRect& r) {
            c->Brush()->SetColor(clHighlight);
            FillRectAlpha(c, r, 200);
          }},
         {"DrawMenuHighlightAlpha", [](TCanvas* c, const TRect& r) { DrawMenuHighlightAlpha(c, r, 255); }},
         {"... 50", [](TCanvas* c, const TRect& r) { DrawMenuHighlightAlpha(c, r, 50); }}});
}

void PaneSections(Sheet& s) {
  s.Heading("Headers and edits", true);
  s.StateRow("DrawHeaderSection", {96, 22}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawHeaderSection(c, r, st);
    Caption(c, r, "Header", GetHeaderTextColor(st));
  });
  s.StateRow("DrawEditFrame", {96, 23}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawEditFrame(c, r, st);
    Caption(c, r, "Edit", GetEditTextColor(st));
  });
  s.Row("DrawSimpleEditFrame", {96, 23}, {{"", [](TCanvas* c, const TRect& r) { DrawSimpleEditFrame(c, r); }}});

  s.Heading("Progress bars (0 to 100)", false);
  auto bar = [](int min, int position, int max) {
    return [=](TCanvas* c, const TRect& r) {
      DrawProgressBar(c, {r.Left, r.Top, r.Right - 20, r.Bottom}, min, position, max);
    };
  };
  s.Row("DrawProgressBar", {100, 15},
        {{"0", bar(0, 0, 100)},
         {"35", bar(0, 35, 100)},
         {"100", bar(0, 100, 100)},
         {"min = max", bar(50, 50, 50)},
         {"120: past the frame", bar(0, 120, 100)}});

  s.Heading("Backgrounds", false);
  s.Row("bars, forms, status panes", {100, 36},
        {{"DrawToolBarBackground", [](TCanvas* c, const TRect& r) { DrawToolBarBackground(c, r); }},
         {"DrawFormBackground", [](TCanvas* c, const TRect& r) { DrawFormBackground(c, r); }},
         {"DrawStatusBarBackground", [](TCanvas* c, const TRect& r) { DrawStatusBarBackground(c, r); }},
         {"... with DrawStatusPane", [](TCanvas* c, const TRect& r) {
            DrawStatusBarBackground(c, r);
            DrawStatusPane(c, {r.Left + 2, r.Top + 8, r.Left + 60, r.Bottom - 8});
            DrawStatusPane(c, {r.Left + 62, r.Top + 8, r.Right - 2, r.Bottom - 8});
          }}});
}

void TabSections(Sheet& s) {
  s.Heading("Tabs", true);
  // The tab stands on a pane; a selected tab reaches 2 pixels into it.
  s.StateRow("DrawTabItem on DrawTabPane", {96, 34}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawTabPane(c, {r.Left, r.Top + 22, r.Right, r.Bottom});
    DrawTabItem(c, {r.Left + 8, r.Top, r.Right - 8, r.Top + 22}, st);
    Caption(c, {r.Left + 8, r.Top, r.Right - 8, r.Top + 22}, "Tab", GetTabButtonTextColor(st));
  });
  const char* const sides[] = {"above", "below", "left of", "right of"};
  for (int position = 0; position < 4; ++position) {
    const bool horizontal = position < 2;
    s.StateRow(std::string("DrawTab ") + std::to_string(position) + ": " + sides[position] + " the pane",
               horizontal ? SIZE{80, 24} : SIZE{48, 40}, [=](TCanvas* c, const TRect& r, TqvsCtrlState st) {
                 DrawTab(c, r, st, false, false, position);
                 Caption(c, r, "Tab", GetTabTextColor(st));
               });
  }
  s.StateRow("DrawTab 0, first tab", {80, 24}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawTab(c, r, st, false, true, 0);
  });
  s.StateRow("DrawTab 0, last tab", {80, 24}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawTab(c, r, st, true, false, 0);
  });
  s.StateRow("DrawTab 1, last tab", {80, 24}, [](TCanvas* c, const TRect& r, TqvsCtrlState st) {
    DrawTab(c, r, st, true, false, 1);
  });
  s.Row("DrawTabItemAlpha", {80, 24},
        {{"255", [](TCanvas* c, const TRect& r) { DrawTabItemAlpha(c, r, 255); }},
         {"150", [](TCanvas* c, const TRect& r) { DrawTabItemAlpha(c, r, 150); }}});
}

void GlyphSections(Sheet& s) {
  s.Heading("Glyphs (button text colour)", false);
  for (double scale : {1.0, 1.5, 2.0}) {
    const TColor ink = GetButtonTextColor(qvsNormal);
    auto g = [=](const char* name, std::function<void(TCanvas*, const TRect&)> draw) { return Cell{name, draw}; };
    const std::vector<Cell> cells = {
        g("DrawDropDownArrow", [=](TCanvas* c, const TRect& r) { DrawDropDownArrow(c, r, ink, scale); }),
        g("DrawDownTriangle", [=](TCanvas* c, const TRect& r) { DrawDownTriangle(c, r, ink, scale); }),
        g("Arrow 1 2 3 4", [=](TCanvas* c, const TRect& r) {
          for (int d = 1; d <= 4; ++d) DrawArrowByDirection(c, Part(r, d - 1, 4), ink, scale, d);
        }),
        g("ArrowDC 1 2", [=](TCanvas* c, const TRect& r) {
          for (int d = 1; d <= 2; ++d) DrawArrowByDirectionDC(c, Part(r, d - 1, 2), ink, scale, d);
        }),
        g("DrawCheckMark", [=](TCanvas* c, const TRect& r) { DrawCheckMark(c, r, ink, scale); }),
        g("DrawMenuBullet", [=](TCanvas* c, const TRect& r) { DrawMenuBullet(c, r, ink, scale); }),
        g("DrawCrossMark", [=](TCanvas* c, const TRect& r) { DrawCrossMark(c, r, ink, scale); }),
        g("DrawTreeArrow modern", [=](TCanvas* c, const TRect& r) {
          for (int d = 1; d <= 2; ++d) DrawTreeArrow(c, Part(r, d - 1, 2), ink, true, scale, d, ink);
        }),
        g("DrawTreeArrow", [=](TCanvas* c, const TRect& r) {
          for (int d = 1; d <= 2; ++d)
            DrawTreeArrow(c, Part(r, d - 1, 2), ink, false, scale, d, GetStyleSystemColor(clBtnShadow));
        }),
        g("DrawTreePlusMinus", [=](TCanvas* c, const TRect& r) {
          for (int e = 0; e < 2; ++e) DrawTreePlusMinus(c, Part(r, e, 2), e == 1, scale, ink, clWindow);
        }),
        g("...Styled", [=](TCanvas* c, const TRect& r) {
          for (int e = 0; e < 2; ++e) DrawTreePlusMinusStyled(c, Part(r, e, 2), e == 1, scale, ink);
        }),
        g("DrawDottedLine", [=](TCanvas* c, const TRect& r) {
          DrawDottedLine(c, r.Left, r.Top + r.Height() / 2, r.Right - 1, r.Top + r.Height() / 2, ink);
          DrawDottedLine(c, r.Left + r.Width() / 2, r.Top, r.Left + r.Width() / 2, r.Bottom - 1, ink);
        }),
        g("DrawFocusRectColor", [=](TCanvas* c, const TRect& r) { DrawFocusRectColor(c, r, ink, scale); }),
        g("DrawFocusRectScaled", [=](TCanvas* c, const TRect& r) {
          c->Font()->SetColor(ink);
          DrawFocusRectScaled(c, r, scale);
        }),
    };
    s.Row("at " + std::to_string(int(scale * 100)) + " %", {int(40 * scale), int(20 * scale)}, cells);
  }
}

void GlowSections(Sheet& s) {
  s.Heading("Glow", false);
  auto glow = [](int size, bool intensive, uint8_t alpha, int offset) {
    return [=](TCanvas* c, const TRect& r) {
      c->Font()->SetName("Tahoma");
      c->Font()->SetHeight(-16);
      c->Font()->SetStyle({fsBold});
      c->Font()->SetColor(GetButtonTextColor(qvsNormal));
      c->Brush()->SetStyle(bsClear);
      DrawTextWithGlow(c, r, "Glow", false, false, alpha, intensive, size, GetStyleSystemColor(clHighlight), offset,
                       DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
  };
  s.Row("DrawTextWithGlow", {96, 34},
        {{"size 3", glow(3, false, 255, 0)},
         {"size 7, intensive", glow(7, true, 255, 0)},
         {"size 7, alpha 120", glow(7, true, 120, 0)},
         {"size 5, offset 2", glow(5, true, 255, 2)}});
}

// ---- text and content layout ----

// A 16 x 16 orange disc with soft edges (straight alpha), or the same disc opaque on a
// magenta key colour for a list that keeps no alpha.
std::unique_ptr<TBitmap> DiscPicture(bool Alpha) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Alpha ? pf32bit : pf24bit);
  b->SetSize(16, 16);
  if (Alpha) b->SetAlphaFormat(afDefined);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < 16; ++x) {
      const double d = std::hypot(x - 7.5, y - 7.5);
      const int a = std::clamp(int((7.5 - d) * 255), 0, 255);
      const uint32_t colour = (x + y < 14) ? 0xF0A040u : 0xD06010u;
      row[x] = Alpha ? (uint32_t(a) << 24 | colour) : (a > 127 ? 0xFF000000u | colour : 0xFFFF00FFu);
    }
  }
  return b;
}

// The canvas font of the samples, in the button text colour.
void SampleFont(TCanvas* Canvas) {
  Canvas->Font()->SetName("Tahoma");
  Canvas->Font()->SetHeight(-11);
  Canvas->Font()->SetStyle({});
  Canvas->Font()->SetColor(GetButtonTextColor(qvsNormal));
  Canvas->Brush()->SetStyle(bsClear);
}

void TextLayoutSections(Sheet& s) {
  TImageList images(nullptr, 16, 16), images24(nullptr, 16, 16);
  images.Add(DiscPicture(true).get(), nullptr);
  images24.SetColorDepth(cd24Bit);
  images24.SetMasked(false);
  images24.Add(DiscPicture(false).get(), nullptr);
  const TColor glow = GetStyleSystemColor(clHighlight);
  const TButtonLayout layouts[] = {blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom};
  const char* const names[] = {"left", "right", "top", "bottom"};
  TImageList* list = &images;
  TImageList* list24 = &images24;

  s.Heading("Image and caption: DrawImageAndText (the frame is R)", false);
  for (int l = 0; l < 4; ++l) {
    const TButtonLayout layout = layouts[l];
    auto draw = [=](int Margin, int Index, const char* Text, bool Enabled, bool Focus, bool Bar, TImageList* List) {
      return [=](TCanvas* c, const TRect& r) {
        SampleFont(c);
        DrawImageAndText(c, r, layout, Margin, 4, List, Index, Text, Enabled, false, false, false, 1, Focus, clRed,
                         Bar);
      };
    };
    s.Row(std::string("layout ") + names[l], {96, 44},
          {{"margin -1", draw(-1, 0, "&Caption", true, false, false, list)},
           {"margin 4", draw(4, 0, "&Caption", true, false, false, list)},
           {"no image", draw(-1, 1, "&Caption", true, false, false, list)},
           {"disabled 32-bit", draw(-1, 0, "&Caption", false, false, false, list)},
           {"disabled 24-bit", draw(-1, 0, "&Caption", false, false, false, list24)},
           {"focus, bar", draw(-1, 0, "&Caption", true, true, true, list)},
           {"image, focus, bar", draw(-1, 0, "", true, true, true, list)}});
  }
  s.Row("left flags, right to left", {96, 44},
        {{"DrawImageAndTextLeft",
          [=](TCanvas* c, const TRect& r) {
            SampleFont(c);
            DrawImageAndTextLeft(c, r, blGlyphLeft, 2, 4, list, 0, "Two\nlines", true, false, false, true, 1, false,
                                 clNone, false);
          }},
         {"... right to left",
          [=](TCanvas* c, const TRect& r) {
            SampleFont(c);
            DrawImageAndTextLeft(c, r, blGlyphRight, 2, 4, list, 0, "Two\nlines", true, false, true, true, 1, false,
                                 clNone, false);
          }},
         {"DrawGlyphLeftAndText",
          [=](TCanvas* c, const TRect& r) {
            SampleFont(c);
            DrawGlyphLeftAndText(c, r, -1, 4, list, 0, "&Glyph left", true, false, false);
          }},
         {"colour bar only", [=](TCanvas* c, const TRect& r) {
            DrawImageAndText(c, r, blGlyphLeft, -1, 4, list, 5, "", true, false, false, false, 1, false, clRed, true);
          }}});

  s.Heading("Image and caption with glow", false);
  for (int l = 0; l < 4; ++l) {
    const TButtonLayout layout = layouts[l];
    s.Row(std::string("layout ") + names[l], {96, 50},
          {{"DrawImageAndTextWithGlow",
            [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndTextWithGlow(c, r, layout, -1, 4, list, 0, "Glow", true, false, false, 1, false, 255, true, 5,
                                       glow, 0, true, clNone, false);
            }},
           {"...Left, no image glow",
            [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndTextLeftWithGlow(c, r, layout, -1, 4, list, 0, "Glow", true, false, false, 1, false, 200,
                                           true, 5, glow, 1, false, clNone, false);
            }},
           {"cached", [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              TBitmap* textCache = nullptr;
              TBitmap* imageCache = nullptr;
              for (int paint = 0; paint < 2; ++paint)
                DrawImageAndTextWithCachedGlow(c, r, layout, -1, 4, list, 0, "Cached", true, false, false, textCache,
                                               imageCache, false, true, 1, false, 255, true, 4, glow, 0, true, clNone,
                                               false);
              FreeAndNil(textCache);
              FreeAndNil(imageCache);
            }}});
  }

  s.Heading("Wrapped captions: DrawImageAndWrappedText", false);
  const char* const wrapped = "A caption long enough to be wrapped and cut";
  for (int l = 0; l < 4; ++l) {
    const TButtonLayout layout = layouts[l];
    s.Row(std::string("layout ") + names[l], {100, 56},
          {{"margin -1",
            [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndWrappedText(c, r, layout, -1, 4, list, 0, wrapped, true, true, false);
            }},
           {"margin 2",
            [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndWrappedText(c, r, layout, 2, 4, list, 0, wrapped, true, true, false);
            }},
           {"disabled, right to left",
            [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndWrappedText(c, r, layout, -1, 4, list, 0, wrapped, false, true, true);
            }},
           {"with glow", [=](TCanvas* c, const TRect& r) {
              SampleFont(c);
              DrawImageAndWrappedTextWithGlow(c, r, layout, -1, 4, list, 0, wrapped, true, true, false, 255, true, 4,
                                              glow, 0, true);
            }}});
  }

  s.Heading("Text", false);
  auto text = [](std::function<void(TCanvas*, const TRect&)> Draw) {
    return [Draw](TCanvas* c, const TRect& r) {
      SampleFont(c);
      Draw(c, r);
    };
  };
  s.Row("ellipsis and wrapping", {100, 44},
        {{"CorrectTextToWidth", text([](TCanvas* c, const TRect& r) {
            String t = "Shortened to the width";
            CorrectTextToWidth(c, t, r.Width());
            DrawSingleLineText(c, t, r, true, false);
          })},
         {"WrappedCentered",
          text([](TCanvas* c, const TRect& r) { DrawWrappedTextCentered(c, "Centred text that wraps", r, false); })},
         {"... cut with dots", text([](TCanvas* c, const TRect& r) {
            DrawWrappedTextCentered(c, "Centred text that wraps over more lines than fit", r, false);
          })},
         {"... BreakWords",
          text([](TCanvas* c, const TRect& r) { DrawWrappedTextCentered(c, "A Pneumonoultramicroscopic word", r, true); })},
         {"DrawTextSmart: one line", text([](TCanvas* c, const TRect& r) { DrawTextSmart(c, "Fits on one", r); })},
         {"... wrapped", text([](TCanvas* c, const TRect& r) { DrawTextSmart(c, "Too wide for one line here", r); })},
         {"... ellipsis", text([](TCanvas* c, const TRect& r) {
            DrawTextSmart(c, "Far too wide for one line and for three lines in this box",
                          {r.Left, r.Top, r.Right, r.Top + 16});
          })}});
  s.Row("single line and aligned", {100, 24},
        {{"DrawSingleLineText",
          text([](TCanvas* c, const TRect& r) { DrawSingleLineText(c, "&Single", r, false, false); })},
         {"... right to left",
          text([](TCanvas* c, const TRect& r) { DrawSingleLineText(c, "&Single", r, false, true); })},
         {"...Clipped", text([](TCanvas* c, const TRect& r) {
            DrawSingleLineTextClipped(c, "Clipped at the edge", r, true, false);
          })},
         {"DrawAlignedText left",
          text([](TCanvas* c, const TRect& r) { DrawAlignedText(c, "Left", r, false, taLeftJustify); })},
         {"... centre", text([](TCanvas* c, const TRect& r) { DrawAlignedText(c, "Centre", r, false, taCenter); })},
         {"... right", text([](TCanvas* c, const TRect& r) { DrawAlignedText(c, "Right", r, false, taRightJustify); })},
         {"... right, RTL",
          text([](TCanvas* c, const TRect& r) { DrawAlignedText(c, "Right", r, true, taRightJustify); })}});
  s.Row("tabbed and rotated", {100, 60},
        {{"DrawTabbedText 30, 70", text([](TCanvas* c, const TRect& r) {
            TStringList stops;
            stops.Add("30");
            stops.Add("70");
            DrawTabbedText("a\tb\tc", &stops, c, 0, r);
          })},
         {"DrawRotatedText 0 90 180 270", text([](TCanvas* c, const TRect& r) {
            const int cx = r.Left + r.Width() / 2, cy = r.Top + r.Height() / 2;
            const TColor ink = GetButtonTextColor(qvsNormal);
            DrawRotatedText(c, 0, cx + 2, cy + 2, ink, "0");
            DrawRotatedText(c, 900, cx + 2, cy - 2, ink, "90");
            DrawRotatedText(c, 1800, cx - 2, cy - 2, ink, "180");
            DrawRotatedText(c, 2700, cx - 2, cy + 2, ink, "270");
          })},
         {"DrawTextWithGlow, wrapped", text([=](TCanvas* c, const TRect& r) {
            DrawTextWithGlow(c, r, "Glowing text over lines", true, false, 255, true, 4, glow, 0,
                             DT_CENTER | DT_WORDBREAK);
          })},
         {"DrawFittedTextWithGlow", text([=](TCanvas* c, const TRect& r) {
            DrawFittedTextWithGlow(c, "Fitted glowing text that is far too long for this box", r, true, 255, true, 4,
                                   glow, 0, false, false);
          })}});
}

// ---- image collection page ----

const char* const kDrawStyleNames[] = {
    "idsTile",           "idsStretch",         "idsCenter",          "idsTopLeft",
    "idsTopRight",       "idsBottomLeft",      "idsBottomRight",     "idsTopTile",
    "idsLeftTile",       "idsRightTile",       "idsBottomTile",      "idsTopStretch",
    "idsLeftStretch",    "idsRightStretch",    "idsBottomStretch",   "idsHorzStretchTile",
    "idsVertStretchTile", "idsHorzCenterStretch", "idsVertCenterStretch", "idsLeftCenter",
    "idsTopCenter",      "idsRightCenter",     "idsBottomCenter"};
constexpr int kDrawStyleCount = int(sizeof kDrawStyleNames / sizeof *kDrawStyleNames);
static_assert(kDrawStyleCount == idsBottomCenter + 1, "a name for every draw style");

// What each part of a test picture looks like.
enum class Look { Opaque, Translucent };

// A W x H picture with M-pixel borders, so that what is stretched, tiled, cut or moved
// shows: a dark frame; corner squares in four colours (top left red, top right green,
// bottom left blue, bottom right orange); edges striped across their length; a checked
// middle crossed by a diagonal. Translucent: cut-off outer corners, see-through edges
// and middle. 32-bit premultiplied, or 24-bit.
std::unique_ptr<TBitmap> FramedPicture(int W, int H, int M, Look Kind, TPixelFormat Format = pf32bit) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(Format);
  b->SetSize(W, H);
  const bool see = Kind == Look::Translucent;
  for (int y = 0; y < H; ++y) {
    auto* row = static_cast<uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < W; ++x) {
      const bool left = x < M, right = x >= W - M, top = y < M, bottom = y >= H - M;
      const int cornerDistance = std::min(x, W - 1 - x) + std::min(y, H - 1 - y);
      uint32_t rgb;
      uint32_t alpha = 255;
      if ((left || right) && (top || bottom)) {
        rgb = top ? (left ? 0xE04040 : 0x40B040) : (left ? 0x4060E0 : 0xF0A020);
        if (see && cornerDistance < 3) alpha = 0;
      } else if (top || bottom) {
        rgb = x / 2 % 2 ? 0x8090A8 : 0xD0D8E8;
        if (see) alpha = 190;
      } else if (left || right) {
        rgb = y / 2 % 2 ? 0x8090A8 : 0xD0D8E8;
        if (see) alpha = 190;
      } else {
        const int cx = x - M, cy = y - M;
        rgb = cx == cy ? 0x806020 : ((cx / 3 + cy / 3) % 2 ? 0xFFF0B0 : 0xB8E4F0);
        if (see) alpha = 110;
      }
      if (x == 0 || y == 0 || x == W - 1 || y == H - 1) rgb = 0x303848;
      row[x] = alpha << 24 | rgb;
    }
  }
  if (Format == pf32bit) {
    b->SetAlphaFormat(afDefined);
    b->SetAlphaFormat(afPremultiplied);
  }
  return b;
}

// A 24 x 24 disc with a white band and a soft edge, premultiplied: an icon to tint.
std::unique_ptr<TBitmap> IconPicture() {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(24, 24);
  b->SetAlphaFormat(afDefined);
  for (int y = 0; y < 24; ++y) {
    auto* row = static_cast<uint32_t*>(b->ScanLine(y));
    for (int x = 0; x < 24; ++x) {
      const int alpha = std::clamp(int((11.5 - std::hypot(x - 11.5, y - 11.5)) * 255), 0, 255);
      row[x] = uint32_t(alpha) << 24 | (std::abs(x - y) < 4 ? 0xFFFFFFu : 0x2070D0u);
    }
  }
  b->SetAlphaFormat(afPremultiplied);
  return b;
}

// The picture encoded as a PNG file and read back into a picture, as a stored one is.
std::unique_ptr<TPicture> PngPicture(TBitmap* Bitmap) {
  TPngImage png;
  png.Assign(Bitmap);
  TMemoryStream file;
  png.SaveToStream(&file);
  file.SetPosition(0);
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromStream(&file);
  return picture;
}

// A light and a darker grey checkerboard in R, to show what blends.
void Checkers(TCanvas* Canvas, const TRect& R) {
  for (int y = R.Top; y < R.Bottom; y += 6)
    for (int x = R.Left; x < R.Right; x += 6) {
      Canvas->Brush()->SetColor(((x - R.Left) / 6 + (y - R.Top) / 6) % 2 ? TColor(0xB0B0B0) : TColor(0xF0F0F0));
      Canvas->FillRect({x, y, std::min(x + 6, int(R.Right)), std::min(y + 6, int(R.Bottom))});
    }
}

// A red frame just outside R, drawn last so that what reaches past R shows against it.
void RedFrame(TCanvas* Canvas, const TRect& R) {
  Canvas->Brush()->SetColor(clRed);
  Canvas->FrameRect({R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1});
}

// The items of one page and the cells that draw them.
class CollectionSamples {
 public:
  CollectionSamples() : FImages(nullptr) {}

  // An item holding a copy of Bitmap, clipped to its rectangle unless told otherwise.
  TqvImageCollectionItem* Add(TBitmap* Bitmap, TqvImageDrawStyle Style, bool Clip = true) {
    TqvImageCollectionItem* item = FImages.Images()->Add();
    item->SetBitmap(Bitmap);
    item->SetDrawStyle(Style);
    item->BitmapOptions()->SetDrawInClipRect(Clip);
    return item;
  }
  TqvImageCollectionItem* AddPicture(TPicture* Picture, TqvImageDrawStyle Style) {
    TqvImageCollectionItem* item = FImages.Images()->Add();
    item->SetPicture(Picture);
    item->SetDrawStyle(Style);
    return item;
  }

  // The item drawn by the collection into the cell's rectangle.
  Cell Draw(const std::string& Caption, TqvImageCollectionItem* Item, bool OnCheckers = false) const {
    const TqvImageCollection* images = &FImages;
    const int index = Item->Index();
    return {Caption, [=](TCanvas* c, const TRect& r) {
              if (OnCheckers) Checkers(c, r);
              images->Draw(c, r, index, 1);
            }};
  }
  // The item drawn into the part of the cell's rectangle that Part picks, framed in red.
  Cell DrawInto(const std::string& Caption, TqvImageCollectionItem* Item,
                std::function<TRect(const TRect&)> Part) const {
    const TqvImageCollection* images = &FImages;
    const int index = Item->Index();
    return {Caption, [=](TCanvas* c, const TRect& r) {
              const TRect target = Part(r);
              images->Draw(c, target, index, 1);
              RedFrame(c, target);
            }};
  }
  const TqvImageCollection& Images() const { return FImages; }

 private:
  TqvImageCollection FImages;
};

void SetMargins(TqvImageCollectionItem* Item, int L, int T, int R, int B) {
  TqvBitmapOptions* o = Item->BitmapOptions();
  o->SetLeftMargin(L);
  o->SetTopMargin(T);
  o->SetRightMargin(R);
  o->SetBottomMargin(B);
}

TRect TopLeftPart(const TRect& R, int W, int H) { return {R.Left, R.Top, R.Left + W, R.Top + H}; }

void DrawStyleSections(Sheet& s, CollectionSamples& c, TBitmap* Picture) {
  s.Heading("Draw styles: a 24 x 24 picture into 100 x 60, clipped to it (DrawInClipRect)", false);
  std::vector<Cell> cells;
  for (int style = 0; style < kDrawStyleCount; ++style)
    cells.push_back(c.Draw(kDrawStyleNames[style], c.Add(Picture, TqvImageDrawStyle(style))));
  s.Row("TqvImageCollection.Draw", {100, 60}, cells);

  cells.clear();
  for (TqvImageDrawStyle style : {idsTile, idsTopTile, idsRightTile, idsBottomTile, idsHorzStretchTile,
                                  idsVertStretchTile})
    cells.push_back(c.DrawInto(kDrawStyleNames[style], c.Add(Picture, style, false),
                               [](const TRect& r) { return TopLeftPart(r, 60, 36); }));
  s.Row("not clipped, into 60 x 36 (red)", {100, 60}, cells);

  s.Heading("Tile offsets (TileOffsetX, TileOffsetY): extra gaps between tiles", false);
  cells.clear();
  struct Offsets {
    TqvImageDrawStyle Style;
    int X, Y;
  };
  for (const Offsets& o : {Offsets{idsTile, 4, 4}, Offsets{idsTile, 10, 0}, Offsets{idsTile, -8, -8},
                           Offsets{idsTopTile, 6, 0}, Offsets{idsLeftTile, 0, 6}, Offsets{idsHorzStretchTile, 6, 0},
                           Offsets{idsVertStretchTile, 0, 6}}) {
    TqvImageCollectionItem* item = c.Add(Picture, o.Style);
    item->SetTileOffsetX(o.X);
    item->SetTileOffsetY(o.Y);
    cells.push_back(c.Draw(std::string(kDrawStyleNames[o.Style] + 3) + " " + std::to_string(o.X) + ", " +
                               std::to_string(o.Y),
                           item));
  }
  s.Row("the gaps show the ground", {100, 60}, cells);
}

void NinePartSections(Sheet& s, CollectionSamples& c, TBitmap* Opaque, TBitmap* Translucent, TBitmap* Opaque24) {
  s.Heading("Nine parts: a 30 x 30 picture, margins 8", false);
  auto nine = [&](TBitmap* Picture, const std::function<void(TqvBitmapOptions*)>& Options = {}) {
    TqvImageCollectionItem* item = c.Add(Picture, idsTile);
    SetMargins(item, 8, 8, 8, 8);
    if (Options) Options(item->BitmapOptions());
    return item;
  };
  s.Row("stretch and tile", {100, 60},
        {c.Draw("default", nine(Opaque)),
         c.Draw("StretchBorder", nine(Opaque, [](TqvBitmapOptions* o) { o->SetStretchBorder(true); })),
         c.Draw("Stretch off", nine(Opaque, [](TqvBitmapOptions* o) { o->SetStretch(false); })),
         c.Draw("tiled, StretchBorder", nine(Opaque,
                                             [](TqvBitmapOptions* o) {
                                               o->SetStretch(false);
                                               o->SetStretchBorder(true);
                                             })),
         c.Draw("DrawOnlyBorder", nine(Opaque, [](TqvBitmapOptions* o) { o->SetDrawOnlyBorder(true); })),
         c.DrawInto("into 20 x 14", nine(Opaque), [](const TRect& r) { return TopLeftPart(r, 20, 14); }),
         c.Draw("24-bit", nine(Opaque24))});
  TqvImageCollectionItem* blended = nine(Translucent);
  const int blendedIndex = blended->Index();
  const TqvImageCollection* images = &c.Images();
  s.Row("alpha-blended, on a checked ground", {100, 60},
        {c.Draw("flags from pixels", blended, true),
         c.Draw("DrawOnlyBorder",
                nine(Translucent, [](TqvBitmapOptions* o) { o->SetDrawOnlyBorder(true); }), true),
         c.Draw("Stretch off", nine(Translucent, [](TqvBitmapOptions* o) { o->SetStretch(false); }), true),
         {"DrawBitmap, alpha 128",
          [=](TCanvas* cv, const TRect& r) {
            Checkers(cv, r);
            images->DrawBitmap(cv, r, blendedIndex, 128);
          }},
         {"DrawNinePartBitmap", [=](TCanvas* cv, const TRect& r) { DrawNinePartBitmap(8, 8, 8, r, cv, Opaque, 8); }}});

  s.Heading("Three parts: margins on one axis only", false);
  auto three = [&](TBitmap* Picture, TqvImageDrawStyle Style, bool Vertical, int Offset = 0) {
    TqvImageCollectionItem* item = c.Add(Picture, Style);
    SetMargins(item, Vertical ? 0 : 8, Vertical ? 8 : 0, Vertical ? 0 : 8, Vertical ? 8 : 0);
    item->SetTileOffsetX(Offset);
    item->SetTileOffsetY(Offset);
    return item;
  };
  struct Axis {
    const char* Name;
    bool Vertical;
    TqvImageDrawStyle Stretched, Tiled, Repeated;
  };
  for (const Axis& a : {Axis{"top and bottom margins", true, idsLeftStretch, idsRightTile, idsHorzStretchTile},
                        Axis{"left and right margins", false, idsTopStretch, idsBottomTile, idsVertStretchTile}})
    s.Row(a.Name, {100, 60},
          {c.Draw("idsTile: centred", three(Opaque, idsTile, a.Vertical)),
           c.Draw(kDrawStyleNames[a.Stretched], three(Opaque, a.Stretched, a.Vertical)),
           c.Draw(kDrawStyleNames[a.Tiled], three(Opaque, a.Tiled, a.Vertical)),
           c.Draw(std::string(kDrawStyleNames[a.Repeated]) + " 4", three(Opaque, a.Repeated, a.Vertical, 4)),
           c.Draw("blended", three(Translucent, idsTile, a.Vertical), true)});
  TqvImageCollectionItem* leftOnly = c.Add(Opaque, idsCenter);
  SetMargins(leftOnly, 8, 0, 0, 0);
  s.Row("left margin alone: the draw style", {100, 60}, {c.Draw("idsCenter", leftOnly)});
}

void ImageKindSections(Sheet& s, CollectionSamples& c, TBitmap* Opaque24, TBitmap* Translucent) {
  s.Heading("Bitmap and picture items", false);
  const TqvImageDrawStyle styles[] = {idsTile, idsStretch, idsCenter, idsBottomRight, idsRightStretch,
                                      idsHorzCenterStretch};
  std::vector<Cell> bitmapCells, pngCells;
  const std::unique_ptr<TPicture> png = PngPicture(Translucent);
  for (TqvImageDrawStyle style : styles) {
    bitmapCells.push_back(c.Draw(kDrawStyleNames[style], c.Add(Opaque24, style)));
    pngCells.push_back(c.Draw(kDrawStyleNames[style], c.AddPicture(png.get(), style), true));
  }
  s.Row("24-bit bitmap", {100, 60}, bitmapCells);
  s.Row("PNG picture, on a checked ground", {100, 60}, pngCells);

  s.Heading("Tints (Color): every pixel in one colour, alpha kept", false);
  const std::unique_ptr<TBitmap> icon = IconPicture();
  std::vector<Cell> cells;
  struct Tint {
    const char* Name;
    TColor Color;
  };
  for (const Tint& t : {Tint{"clFuchsia: none", clFuchsia}, Tint{"clRed", clRed}, Tint{"clNavy", clNavy},
                        Tint{"clHighlight", clHighlight}, Tint{"clBtnText", clBtnText}}) {
    TqvImageCollectionItem* item = c.Add(icon.get(), idsCenter);
    item->SetColor(t.Color);
    cells.push_back(c.Draw(t.Name, item));
  }
  TqvImageCollectionItem* back = c.Add(icon.get(), idsCenter);
  back->SetColor(clRed);
  back->SetColor(clFuchsia);
  cells.push_back(c.Draw("clRed, then clFuchsia", back));
  TqvImageCollectionItem* tiled = c.Add(icon.get(), idsTile);
  tiled->SetColor(clGreen);
  cells.push_back(c.Draw("clGreen, idsTile", tiled, true));
  s.Row("a 24 x 24 icon, idsCenter", {60, 40}, cells);
}

// Answers the page's height; with no DC it only measures.
int DrawImageCollectionPage(HDC DC) {
  TCanvas canvas;
  if (DC) canvas.SetHandle(DC);
  Sheet s(DC ? &canvas : nullptr);
  s.Title("Image collection: draw styles, nine and three parts, tiles, tints");
  CollectionSamples c;
  const std::unique_ptr<TBitmap> small = FramedPicture(24, 24, 6, Look::Opaque);
  const std::unique_ptr<TBitmap> opaque = FramedPicture(30, 30, 8, Look::Opaque);
  const std::unique_ptr<TBitmap> translucent = FramedPicture(30, 30, 8, Look::Translucent);
  const std::unique_ptr<TBitmap> opaque24 = FramedPicture(30, 30, 8, Look::Opaque, pf24bit);
  DrawStyleSections(s, c, small.get());
  NinePartSections(s, c, opaque.get(), translucent.get(), opaque24.get());
  ImageKindSections(s, c, opaque24.get(), translucent.get());
  canvas.SetHandle(nullptr);
  return s.Height();
}

// Answers the sheet's height; with no DC it only measures.
int DrawSheet(HDC DC, const std::string& Title) {
  TCanvas canvas;
  if (DC) canvas.SetHandle(DC);
  Sheet s(DC ? &canvas : nullptr);
  s.Title(Title);
  FrameSections(s);
  ButtonSections(s);
  ArrowSections(s);
  CheckBoxSections(s, DC ? &canvas : nullptr);
  SelectionSections(s);
  PaneSections(s);
  TabSections(s);
  GlyphSections(s);
  GlowSections(s);
  TextLayoutSections(s);
  canvas.SetHandle(nullptr);
  return s.Height();
}

}  // namespace

int main(int argc, char** argv) {
  return RunSheetTool(argc, argv, "element-sheet", [](const ToolOutput& out) {
    const bool sheets = ForEachStyle([&](const String& name, const String& title) {
      return out.WriteMeasuredSheet(name + ".png", kSheetWidth, [&](HDC dc) { return DrawSheet(dc, title); });
    });
    // The collection draws the same in every style.
    return out.WriteMeasuredSheet("ImageCollection.png", kSheetWidth, DrawImageCollectionPage) && sheets;
  });
}
