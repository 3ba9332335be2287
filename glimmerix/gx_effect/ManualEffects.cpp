// Effects that draw the whole frame: the new image sliding in over the old one or pushing
// it out, the old image sliding away from over the new one, and the new image coming into
// focus. Work holds the old image when a procedure is called; the rotation picks the
// direction.
#include <algorithm>
#include <cstdlib>

#include "gx_bitmap/Bitmap.h"
#include "gx_effect/AnimationRec.h"
#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"
#include "qvDrawUtils/Blur.h"

namespace {

TgxRotation RotationOf(const TgxAnimationRec* Settings) { return Settings ? Settings->Rotation() : krNone; }

bool Usable(const TgxBitmap* Work, const TgxBitmap* NewImage) {
  return Work && NewImage && !Work->Empty() && !NewImage->Empty();
}

// How far the images have moved: a share of the width, or of the height when turned by
// 90 or 270 degrees.
int32_t Travel(const TgxBitmap* Work, TgxRotation Rotation, int32_t p) {
  const bool vertical = Rotation == krRotate90 || Rotation == krRotate270;
  return MulDiv(vertical ? Work->Height() : Work->Width(), p, 100);
}

// Moves the pixels of Image by (dx, dy) within the image. What moves out is lost; what
// is uncovered keeps its old pixels.
void ShiftPixels(TgxBitmap* Image, int32_t dx, int32_t dy) {
  const int32_t W = Image->Width(), H = Image->Height();
  if ((dx == 0 && dy == 0) || std::abs(dx) >= W || std::abs(dy) >= H) return;
  const int32_t count = W - std::abs(dx);
  const int32_t srcX = std::max(-dx, 0), dstX = std::max(dx, 0);
  auto moveRow = [&](int32_t y) {
    gxMoveRow(Image->GetPixelPtr(srcX, y - dy), Image->GetPixelPtr(dstX, y), count);
  };
  // Rows are taken in the order that reads each source row before it is overwritten.
  if (dy > 0) {
    for (int32_t y = H - 1; y >= dy; --y) moveRow(y);
  } else {
    for (int32_t y = 0; y < H + dy; ++y) moveRow(y);
  }
}

// Copies the part of Source inside Area (in both images' coordinates, clipped to both)
// into Target, alpha included.
void CopyArea(const TgxBitmap* Source, TgxBitmap* Target, TRect Area) {
  Area.Left = std::max(Area.Left, 0);
  Area.Top = std::max(Area.Top, 0);
  Area.Right = std::min({Area.Right, Source->Width(), Target->Width()});
  Area.Bottom = std::min({Area.Bottom, Source->Height(), Target->Height()});
  for (int32_t y = Area.Top; y < Area.Bottom; ++y)
    gxMoveRow(Source->GetPixelPtr(Area.Left, y), Target->GetPixelPtr(Area.Left, y), Area.Right - Area.Left);
}

// The new image blended over Work at its place for Travel t.
void DrawIncoming(TgxBitmap* Work, TgxBitmap* NewImage, TgxRotation Rotation, int32_t t) {
  const int32_t W = Work->Width(), H = Work->Height();
  NewImage->SetAlphaBlend(true);
  switch (Rotation) {
    case krNone: NewImage->Draw(Work, t - W, 0); break;
    case krRotate90: NewImage->Draw(Work, 0, H - t); break;
    case krRotate180: NewImage->Draw(Work, W - t, 0); break;
    case krRotate270: NewImage->Draw(Work, 0, t - H); break;
  }
}

}  // namespace

// The new image slides in over the old one from the left, the bottom, the right or the top.
void EffectSlide(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent) {
  if (!Usable(Work, NewImage)) return;
  const TgxRotation rotation = RotationOf(Settings);
  DrawIncoming(Work, NewImage, rotation, Travel(Work, rotation, gxPercent(Percent)));
}

// As Slide, with the old image moving along in front of the new one.
void EffectPush(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent) {
  if (!Usable(Work, NewImage)) return;
  const TgxRotation rotation = RotationOf(Settings);
  const int32_t t = Travel(Work, rotation, gxPercent(Percent));
  switch (rotation) {
    case krNone: ShiftPixels(Work, t, 0); break;
    case krRotate90: ShiftPixels(Work, 0, -t); break;
    case krRotate180: ShiftPixels(Work, -t, 0); break;
    case krRotate270: ShiftPixels(Work, 0, t); break;
  }
  DrawIncoming(Work, NewImage, rotation, t);
}

// The new image, blurred less and less: radius (100 - p) div 10, sharp from 91 on.
void EffectBlur(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec*, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !Usable(Work, NewImage)) return;
  const int32_t w = std::min(Work->Width(), NewImage->Width());
  const int32_t h = std::min(Work->Height(), NewImage->Height());
  CopyArea(NewImage, Work, TRect{0, 0, w, h});
  const int32_t r = (100 - p) / 10;
  if (r > 0) StackBlurPixels(Work->Bits(), w, h, Work->Width(), r);
}

// The old image slides away to the left, up, to the right or down and uncovers the new
// one: the frame is the new image with the old one over it, moved by t.
void EffectSlideBack(TgxBitmap* Work, TgxBitmap* NewImage, TgxAnimationRec* Settings, uint8_t Percent) {
  if (!Usable(Work, NewImage)) return;
  const TgxRotation rotation = RotationOf(Settings);
  const int32_t W = Work->Width(), H = Work->Height();
  const int32_t t = Travel(Work, rotation, gxPercent(Percent));
  NewImage->SetAlphaBlend(true);
  // The old image moves within the work image; the strip it uncovers shows the new image.
  switch (rotation) {
    case krNone:
      ShiftPixels(Work, -t, 0);
      CopyArea(NewImage, Work, TRect{W - t, 0, W, H});
      break;
    case krRotate90:
      ShiftPixels(Work, 0, -t);
      CopyArea(NewImage, Work, TRect{0, H - t, W, H});
      break;
    case krRotate180:
      ShiftPixels(Work, t, 0);
      CopyArea(NewImage, Work, TRect{0, 0, t, H});
      break;
    case krRotate270:
      ShiftPixels(Work, 0, t);
      CopyArea(NewImage, Work, TRect{0, 0, W, t});
      break;
  }
}
