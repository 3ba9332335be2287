// What the element routines (Elements.h) share: drawing a style element on a canvas or
// into a transparent bitmap, plain fills, classic frame controls, and keeping a canvas's
// tools and DC state across a routine that changes them. Internal to the toolkit.
#pragma once

#include <cstdint>
#include <memory>

#include "themes/StyleServices.h"
#include "vcl/Graphics.h"

namespace qvelements {

// The element drawn over R of the canvas, inside Clip when given.
bool DrawDetails(TCanvas* Canvas, const TThemedElementDetails& Details, const TRect& R,
                 const TRect* Clip = nullptr);

template <class TElement>
bool DrawStyleElement(TCanvas* Canvas, TElement Element, const TRect& R, const TRect* Clip = nullptr) {
  return DrawDetails(Canvas, StyleServices()->GetElementDetails(Element), R, Clip);
}

// A pf32bit, premultiplied bitmap of W x H with every pixel 0; null when W or H is not
// positive.
std::unique_ptr<TBitmap> NewAlphaBitmap(int W, int H);
// NewAlphaBitmap with the element drawn into At.
std::unique_ptr<TBitmap> ElementBitmap(const TThemedElementDetails& Details, int W, int H, const TRect& At);
// The pixels of R (cut to the bitmap) := Pixel.
void FillBitmapRect(TBitmap* Bitmap, const TRect& R, uint32_t Pixel);

// R filled with the canvas brush in Color, solid.
void FillSolid(TCanvas* Canvas, const TRect& R, TColor Color);
// DrawFrameControl on a copy of R.
void FrameControl(TCanvas* Canvas, const TRect& R, UINT Kind, UINT State);

// Keeps the canvas's pen and brush and the DC's state (clip, origins, selected objects)
// from construction to destruction.
class TCanvasStateKeeper {
 public:
  explicit TCanvasStateKeeper(TCanvas* Canvas);
  ~TCanvasStateKeeper();
  TCanvasStateKeeper(const TCanvasStateKeeper&) = delete;
  TCanvasStateKeeper& operator=(const TCanvasStateKeeper&) = delete;

 private:
  TCanvas* FCanvas;
  HDC FDC;
  int FSaved;
  TPen FPen;
  TBrush FBrush;
};

// Limits drawing to R (intersected with the clip in force) until destruction.
class TClipKeeper {
 public:
  TClipKeeper(TCanvas* Canvas, const TRect& R);
  ~TClipKeeper();
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

 private:
  HDC FDC;
  HRGN FSaved;
  bool FHadClip;
};

}  // namespace qvelements
