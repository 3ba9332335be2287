// Header sections, edit frames, the progress bar, and the backgrounds of tool bars, forms
// and status bars.
#include <algorithm>
#include <cstdint>

#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// Far enough past any surface, near enough that adding a rectangle's edge cannot overflow.
constexpr int64_t kCoordLimit = int64_t(1) << 29;

}  // namespace

void DrawHeaderSection(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  if (!Canvas) return;
  if (IsThemed()) {
    TCanvasStateKeeper keep(Canvas);
    const TThemedGrid element = State == qvsPressed                        ? tgFixedCellPressed
                                : State == qvsHot || State == qvsFocused ? tgFixedCellHot
                                                                          : tgFixedCellNormal;
    DrawStyleElement(Canvas, element, Rect);
    return;
  }
  FillSolid(Canvas, Rect, clBtnFace);
  TRect r = Rect;
  if (State == qvsPressed)
    DrawFrame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  else
    DrawFrame3D(Canvas, r, clBtnHighlight, clBtnShadow);
}

void DrawEditFrame(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  if (!Canvas) return;
  TRect r = Rect;
  if (IsThemed()) {
    // The style's border may leave its corners open: the face colour shows there.
    const TColor face = GetStyleSystemColor(clBtnFace);
    DrawFrame3D(Canvas, r, face, face);
    DrawFrame3D(Canvas, r, face, face);
    TThemedEdit element = teEditBorderNoScrollNormal;
    if (State == qvsHot) element = teEditBorderNoScrollHot;
    if (State == qvsFocused) element = IsCustomStyle() ? teEditBorderNoScrollHot : teEditBorderNoScrollFocused;
    DrawStyleElement(Canvas, element, Rect);
    return;
  }
  DrawFrame3D(Canvas, r, clBtnShadow, clBtnHighlight);
  DrawFrame3D(Canvas, r, cl3DDkShadow, cl3DLight);
}

void DrawSimpleEditFrame(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  TRect r = Rect;
  const TColor shadow = GetStyleSystemColor(clBtnShadow), window = GetStyleSystemColor(clWindow);
  DrawFrame3D(Canvas, r, shadow, shadow);
  DrawFrame3D(Canvas, r, window, window);
}

void DrawProgressBar(TCanvas* Canvas, const TRect& Rect, int Min, int Position, int Max) {
  if (!Canvas) return;
  // In double, so that no range of int can overflow.
  const double f = Min == Max || Position < Min ? 0.0 : (double(Position) - Min) / (double(Max) - Min);
  TRect bar{Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
  const int64_t length = std::clamp<int64_t>(Round64((double(Rect.Width()) - 2) * f), -kCoordLimit, kCoordLimit);
  bar.Right = LONG(std::clamp<int64_t>(bar.Left + length, -kCoordLimit, kCoordLimit));
  TCanvasStateKeeper keep(Canvas);
  if (IsThemed()) {
    DrawStyleElement(Canvas, tpBar, Rect);
    if (bar.Width() > 0) DrawStyleElement(Canvas, tpChunk, bar);
    return;
  }
  Canvas->Pen()->SetColor(clBtnShadow);
  Canvas->Pen()->SetWidth(1);
  Canvas->Pen()->SetStyle(psSolid);
  Canvas->Pen()->SetMode(pmCopy);
  Canvas->Brush()->SetColor(TColor(0xFFFFFF));
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Rectangle(Rect);
  Canvas->Brush()->SetColor(TColor(0x008000));
  Canvas->FillRect(bar);
}

void DrawToolBarBackground(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  if (IsThemed())
    DrawDetails(Canvas, TThemedElementDetails::Create(teToolBar, 0, 0), Rect);
  else
    FillSolid(Canvas, Rect, clBtnFace);
}

void DrawFormBackground(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  if (IsCustomStyle())
    DrawDetails(Canvas, TThemedElementDetails::Create(teWindow, 0, 0), Rect);
  else
    FillSolid(Canvas, Rect, clBtnFace);
}

void DrawStatusBarBackground(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  if (IsThemed()) {
    DrawStyleElement(Canvas, tsStatusRoot, Rect);
    return;
  }
  // The brush keeps the style the caller gave it.
  Canvas->Brush()->SetColor(clBtnFace);
  Canvas->FillRect(Rect);
}

void DrawStatusPane(TCanvas* Canvas, const TRect& Rect) {
  if (!Canvas) return;
  if (IsThemed()) {
    DrawStyleElement(Canvas, tsPane, Rect);
    return;
  }
  FillSolid(Canvas, Rect, clBtnFace);
  TRect r = Rect;
  DrawFrame3D(Canvas, r, clBtnShadow, clBtnHighlight);
}
