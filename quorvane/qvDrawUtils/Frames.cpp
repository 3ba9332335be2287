// Frames and separators: the one-pixel 3-D ring and the translucent 2-pixel joint line.
#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopLeftColor, TColor BottomRightColor) {
  if (!Canvas) return;
  HDC dc = Canvas->Handle();
  const TRect r{Rect.Left, Rect.Top, Rect.Right - 1, Rect.Bottom - 1};
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
  const COLORREF oldColor = SetDCPenColor(dc, COLORREF(ColorToRGB(TopLeftColor)));
  const POINT topLeft[] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
  Polyline(dc, topLeft, 3);
  SetDCPenColor(dc, COLORREF(ColorToRGB(BottomRightColor)));
  // Ends one pixel left of the ring, so that the bottom-left corner is drawn.
  const POINT bottomRight[] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
  Polyline(dc, bottomRight, 3);
  SetDCPenColor(dc, oldColor);
  SelectObject(dc, oldPen);
  InflateRect(&Rect, -1, -1);
}

namespace {

void DrawSeparator(TCanvas* Canvas, const TRect& Rect, bool Vertical) {
  if (!Canvas) return;
  const int w = Vertical ? 2 : Rect.Width(), h = Vertical ? Rect.Height() : 2;
  std::unique_ptr<TBitmap> bitmap = NewAlphaBitmap(w, h);
  if (!bitmap) return;
  const bool themed = IsThemed();
  const TColor shadow = themed ? StyleServices()->GetSystemColor(clBtnShadow) : clBtnShadow;
  const TColor highlight = themed ? StyleServices()->GetSystemColor(clBtnHighlight) : clBtnHighlight;
  FillBitmapRect(bitmap.get(), Vertical ? TRect{0, 0, 1, h} : TRect{0, 0, w, 1}, ColorToPixel(shadow, 255));
  FillBitmapRect(bitmap.get(), Vertical ? TRect{1, 0, 2, h} : TRect{0, 1, w, 2}, ColorToPixel(highlight, 255));
  DrawBitmapAlpha(bitmap.get(), Canvas, Rect.Left, Rect.Top, 125);
}

}  // namespace

void DrawHorzSeparator(TCanvas* Canvas, const TRect& Rect) { DrawSeparator(Canvas, Rect, false); }

void DrawVertSeparator(TCanvas* Canvas, const TRect& Rect) { DrawSeparator(Canvas, Rect, true); }
