// Selected items and hot menu items: opaque or blended with a constant opacity.
#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// Windows XP draws its selections in the classic way unless a custom style is active.
bool ElementSelections() { return (IsThemed() && !IsWindowsXP()) || IsCustomStyle(); }

// The element (or, in the classic look, clHighlight) in a bitmap of Rect's size, blended
// onto the canvas with Alpha.
void DrawElementAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha, const TThemedElementDetails& Element) {
  if (!Canvas || Rect.IsEmpty()) return;
  const int w = Rect.Width(), h = Rect.Height();
  std::unique_ptr<TBitmap> bitmap;
  if (ElementSelections()) {
    bitmap = ElementBitmap(Element, w, h, {0, 0, w, h});
  } else {
    bitmap = NewAlphaBitmap(w, h);
    FillBitmapPixels(bitmap.get(), ColorToPixel(clHighlight, 255));
  }
  DrawBitmapAlpha(bitmap.get(), Canvas, Rect.Left, Rect.Top, Alpha);
}

}  // namespace

void DrawSelection(TCanvas* Canvas, const TRect& Rect, bool Focused, bool ShowFocus) {
  if (!Canvas || Rect.IsEmpty()) return;
  const bool styled = IsCustomStyle();
  const bool active = Focused || ShowFocus;
  if (styled && !active) {
    DrawSelectionAlpha(Canvas, Rect, 175);
  } else if (IsThemed() && !(IsWindowsXP() && !styled)) {
    TCanvasStateKeeper keep(Canvas);
    // The month calendar's cells carry the system's list-selection look.
    if (styled)
      DrawStyleElement(Canvas, tgCellSelected, Rect);
    else
      DrawStyleElement(Canvas, active ? tmcGridCellBackgroundSelected : tmcGridCellBackgroundSelectedNotFocused, Rect);
  } else {
    Canvas->Brush()->SetColor(clHighlight);
    Canvas->Brush()->SetStyle(bsSolid);
    if (active)
      Canvas->FillRect(Rect);
    else
      FillRectAlpha(Canvas, Rect, 200);
  }
}

void DrawSelectionAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha) {
  TCustomStyleServices* style = StyleServices();
  DrawElementAlpha(Canvas, Rect, Alpha,
                   IsCustomStyle() ? style->GetElementDetails(tgCellSelected)
                                   : style->GetElementDetails(tmcGridCellBackgroundSelected));
}

void FillRectAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha) {
  if (!Canvas || Rect.IsEmpty()) return;
  std::unique_ptr<TBitmap> bitmap = NewAlphaBitmap(Rect.Width(), Rect.Height());
  FillBitmapPixels(bitmap.get(), ColorToPixel(Canvas->Brush()->Color(), 255));
  DrawBitmapAlpha(bitmap.get(), Canvas, Rect.Left, Rect.Top, Alpha);
}

void DrawMenuHighlightAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha) {
  DrawElementAlpha(Canvas, Rect, Alpha, StyleServices()->GetElementDetails(tmPopupItemHot));
}
