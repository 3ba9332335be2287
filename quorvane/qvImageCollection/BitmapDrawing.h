// Drawing a bitmap by its options: nine-part and three-part images whose border parts
// keep their size while the centre stretches or tiles, and filling a rectangle with
// tiles of part of a bitmap.
//
// A 32-bit bitmap is taken as premultiplied. Parts are blended with their alpha only
// where the options' flags say so; elsewhere they are copied opaque, alpha bytes and all.
// Null or empty bitmaps and null canvases draw nothing.
#pragma once

#include <cstdint>

#include "qvImageCollection/BitmapOptions.h"
#include "vcl/Graphics.h"

// Covers R with the bitmap by the options' margins:
// - all four 0: the bitmap at its size, centred in R (never left of or above it);
// - all four set: nine parts, corners fixed, edges and centre stretched or tiled; when R
//   is smaller than the bitmap the corners never overlap: the left and top ones stay
//   whole (as far as R reaches) and the right and bottom ones lose their inner side;
// - top and bottom only: a column of the bitmap's width, centred, its middle filled;
// - left and right only: a band of the bitmap's height, centred, its middle filled;
// - any other combination: nothing.
// Alpha is the constant opacity of the parts that blend.
void DrawBitmapWithOptions(TBitmap* Bitmap, TqvBitmapOptions* Options, TCanvas* Canvas, uint8_t Alpha,
                           const TRect& R);

// Fills DestRect with copies of SourceRect laid from its top-left corner; the tiles on the
// right and bottom are cut to DestRect. Opaque copies, or blended at opacity 255.
void TileBitmapRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect);
void TileBitmapRectAlpha(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect);

// An opaque nine-slice: the corners copied, the edges and the centre stretched. No
// overlap control: the caller gives a rectangle at least as large as the corners.
void DrawNinePartBitmap(int LeftMargin, int TopMargin, int RightMargin, const TRect& R, TCanvas* Canvas,
                        TBitmap* Bitmap, int BottomMargin);
