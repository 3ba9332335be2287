#include "qvDrawUtils/ElementDrawing.h"

#include <algorithm>

#include "qvDrawUtils/Bitmaps.h"

namespace qvelements {

bool DrawDetails(TCanvas* Canvas, const TThemedElementDetails& Details, const TRect& R, const TRect* Clip) {
  return StyleServices()->DrawElement(Canvas->Handle(), Details, R, Clip);
}

std::unique_ptr<TBitmap> NewAlphaBitmap(int W, int H) {
  if (W <= 0 || H <= 0) return nullptr;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf32bit);
  bitmap->SetSize(W, H);
  bitmap->SetAlphaFormat(afPremultiplied);
  FillBitmapPixels(bitmap.get(), 0);
  return bitmap;
}

std::unique_ptr<TBitmap> ElementBitmap(const TThemedElementDetails& Details, int W, int H, const TRect& At) {
  std::unique_ptr<TBitmap> bitmap = NewAlphaBitmap(W, H);
  if (bitmap) DrawDetails(bitmap->Canvas(), Details, At);
  return bitmap;
}

void FillBitmapRect(TBitmap* Bitmap, const TRect& R, uint32_t Pixel) {
  if (!Bitmap || Bitmap->Empty()) return;
  const int left = std::max<int>(R.Left, 0), right = std::min<int>(R.Right, Bitmap->Width());
  const int top = std::max<int>(R.Top, 0), bottom = std::min<int>(R.Bottom, Bitmap->Height());
  if (left >= right || top >= bottom) return;
  // Rows are contiguous, top-down.
  uint32_t* pixels = static_cast<uint32_t*>(Bitmap->ScanLine(0));
  for (int y = top; y < bottom; ++y) {
    uint32_t* row = pixels + size_t(y) * size_t(Bitmap->Width());
    std::fill(row + left, row + right, Pixel);
  }
}

void FillSolid(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->FillRect(R);
}

void FrameControl(TCanvas* Canvas, const TRect& R, UINT Kind, UINT State) {
  TRect r = R;
  DrawFrameControl(Canvas->Handle(), &r, Kind, State);
}

TCanvasStateKeeper::TCanvasStateKeeper(TCanvas* Canvas) : FCanvas(Canvas), FDC(Canvas->Handle()) {
  FPen.Assign(Canvas->Pen());
  FBrush.Assign(Canvas->Brush());
  FSaved = SaveDC(FDC);
}

TCanvasStateKeeper::~TCanvasStateKeeper() {
  if (FSaved) RestoreDC(FDC, FSaved);
  // The DC holds the tools of before again; let the canvas select its own at next use.
  FCanvas->Refresh();
  FCanvas->Pen()->Assign(&FPen);
  FCanvas->Brush()->Assign(&FBrush);
}

TClipKeeper::TClipKeeper(TCanvas* Canvas, const TRect& R) : FDC(Canvas->Handle()) {
  FSaved = CreateRectRgn(0, 0, 0, 0);
  FHadClip = GetClipRgn(FDC, FSaved) == 1;
  IntersectClipRect(FDC, R.Left, R.Top, R.Right, R.Bottom);
}

TClipKeeper::~TClipKeeper() {
  SelectClipRgn(FDC, FHadClip ? FSaved : nullptr);
  DeleteObject(FSaved);
}

}  // namespace qvelements
