// Tabs and the pane under them.
#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// The element of a tab; ttTabDontCare draws nothing.
TThemedTab TabElement(TqvsCtrlState State, bool LastTab, bool FirstTab, int Position) {
  const bool selected = State == qvsFocused, hot = State == qvsHot;
  const bool styled = IsCustomStyle();
  switch (Position) {
    case 0:
      if (selected) {
        if (FirstTab && !styled) return ttTabItemLeftEdgeSelected;
        if (LastTab && !styled) return ttTabItemRightEdgeSelected;
        return ttTabItemSelected;
      }
      // The system's first tab sits flush with the pane's left edge.
      if (IsWindows10() && FirstTab && !styled) {
        switch (State) {
          case qvsHot: return ttTabItemLeftEdgeHot;
          case qvsDisabled: return ttTabItemLeftEdgeDisabled;
          case qvsPressed: return ttTabDontCare;
          default: return ttTabItemLeftEdgeNormal;
        }
      }
      return hot ? ttTabItemHot : ttTabItemNormal;
    case 1: return selected ? ttTabItemBothEdgeSelected : hot ? ttTabItemBothEdgeHot : ttTabItemBothEdgeNormal;
    case 2: return selected ? ttTabItemLeftEdgeSelected : hot ? ttTabItemLeftEdgeHot : ttTabItemLeftEdgeNormal;
    case 3: return selected ? ttTabItemRightEdgeSelected : hot ? ttTabItemRightEdgeHot : ttTabItemRightEdgeNormal;
    default: return ttTabDontCare;
  }
}

// A classic tab: two rings of 3-D edges, open towards the pane.
void DrawClassicTab(TCanvas* Canvas, const TRect& Rect, bool LastTab, int Position) {
  if (Position < 0 || Position > 3) return;
  const int w = Rect.Width(), h = Rect.Height();
  std::unique_ptr<TBitmap> bitmap = NewAlphaBitmap(w, h);
  if (!bitmap) return;
  TBitmap* b = bitmap.get();
  const uint32_t face = ColorToPixel(clBtnFace, 255), highlight = ColorToPixel(clBtnHighlight, 255);
  const uint32_t light = ColorToPixel(cl3DLight, 255), shadow = ColorToPixel(clBtnShadow, 255);
  const uint32_t dark = ColorToPixel(cl3DDkShadow, 255);
  FillBitmapPixels(b, face);
  switch (Position) {
    case 0:  // above the pane, open at the bottom
      FillBitmapRect(b, {0, 0, 1, h}, highlight);
      FillBitmapRect(b, {0, 0, w - 1, 1}, highlight);
      FillBitmapRect(b, {w - 1, 0, w, h}, dark);
      FillBitmapRect(b, {1, 1, 2, h}, light);
      FillBitmapRect(b, {1, 1, w - 2, 2}, light);
      FillBitmapRect(b, {w - 2, 1, w - 1, h}, shadow);
      break;
    case 1: {  // below the pane, open at the top
      const int rightTop = LastTab ? 0 : 1;
      FillBitmapRect(b, {0, 0, 1, h - 1}, highlight);
      FillBitmapRect(b, {0, h - 1, w, h}, dark);
      FillBitmapRect(b, {w - 1, rightTop, w, h}, dark);
      FillBitmapRect(b, {1, 0, 2, h - 2}, light);
      FillBitmapRect(b, {1, h - 2, w - 1, h - 1}, shadow);
      FillBitmapRect(b, {w - 2, rightTop, w - 1, h - 1}, shadow);
      break;
    }
    case 2:  // left of the pane, open at the right
      FillBitmapRect(b, {0, 0, w, 1}, highlight);
      FillBitmapRect(b, {0, 0, 1, h}, highlight);
      FillBitmapRect(b, {1, h - 1, w, h}, dark);
      FillBitmapRect(b, {1, 1, w, 2}, light);
      FillBitmapRect(b, {1, 1, 2, h - 2}, light);
      FillBitmapRect(b, {1, h - 2, w, h - 1}, shadow);
      break;
    case 3:  // right of the pane, open at the left
      FillBitmapRect(b, {0, 0, w - 1, 1}, highlight);
      FillBitmapRect(b, {w - 1, 0, w, h}, dark);
      FillBitmapRect(b, {0, h - 1, w - 1, h}, dark);
      FillBitmapRect(b, {0, 1, w - 2, 2}, light);
      FillBitmapRect(b, {w - 2, 1, w - 1, h - 1}, shadow);
      FillBitmapRect(b, {0, h - 2, w - 2, h - 1}, shadow);
      break;
  }
  DrawBitmapAlpha(b, Canvas, Rect.Left, Rect.Top, 255);
}

}  // namespace

void DrawTabPane(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  if (IsThemed()) {
    DrawStyleElement(Canvas, ttPane, Rect);
    return;
  }
  FillSolid(Canvas, Rect, clBtnFace);
  TRect r = Rect;
  DrawFrame3D(Canvas, r, clBtnHighlight, cl3DDkShadow);
  DrawFrame3D(Canvas, r, cl3DLight, clBtnShadow);
}

void DrawTabItemAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha) {
  if (!Canvas || Rect.IsEmpty()) return;
  if (!((IsThemed() && !IsWindowsXP()) || IsCustomStyle())) return;
  const int w = Rect.Width(), h = Rect.Height();
  std::unique_ptr<TBitmap> bitmap =
      ElementBitmap(StyleServices()->GetElementDetails(ttTabItemNormal), w, h, {0, 0, w, h});
  DrawBitmapAlpha(bitmap.get(), Canvas, Rect.Left, Rect.Top, Alpha);
}

void DrawTabItem(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  if (!Canvas) return;
  if (State == qvsPressed) State = qvsFocused;
  TRect r = Rect;
  // The selected tab covers the pane's border under it; classic tabs that are not
  // selected stand lower instead.
  if (State == qvsFocused)
    r.Bottom += 2;
  else if (!IsThemed())
    r.Top += 2;
  if (State == qvsDisabled)
    DrawTabItemAlpha(Canvas, r, 150);
  else
    DrawTab(Canvas, r, State, false, false, 0);
}

void DrawTab(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, bool LastTab, bool FirstTab, int Position) {
  if (!Canvas) return;
  if (IsThemed()) {
    TCanvasStateKeeper keep(Canvas);
    DrawStyleElement(Canvas, TabElement(State, LastTab, FirstTab, Position), Rect);
    return;
  }
  DrawClassicTab(Canvas, Rect, LastTab, Position);
}
