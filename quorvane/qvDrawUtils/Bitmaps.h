// 32-bit bitmaps with an alpha channel: filling, alpha tests, alpha-blended and resampled
// output, rotation.
//
// Pixels are 0xAARRGGBB words (bytes blue, green, red, alpha). Blending treats the pixels
// as premultiplied. The raw routines work on pf32bit pixels; for a bitmap of another
// format (whose alpha bytes mean nothing) they do what its user would expect:
// - SetBitmapAlpha, SetBitmapRGB and FillBitmapPixels first make it pf32bit (its pixels
//   opaque), so that what they write shows;
// - HasTransparentPixels* answer false: such a picture is opaque;
// - SmoothStretchBitmap and RotateBitmap90 read it as opaque pixels and make their
//   destination pf32bit (RotateBitmap90 also sizes it).
// Null or empty bitmaps and null canvases are no-ops.
#pragma once

#include <cstdint>

#include "vcl/Graphics.h"

// Alpha byte of every pixel := Alpha; colour bytes untouched.
void SetBitmapAlpha(TBitmap* Bitmap, uint8_t Alpha);
// Red, green, blue of every pixel := those of Color taken as 0x00BBGGRR (no ColorToRGB);
// alpha bytes untouched.
void SetBitmapRGB(TBitmap* Bitmap, TColor Color);
// Every pixel := Pixel.
void FillBitmapPixels(TBitmap* Bitmap, uint32_t Pixel);
// Any pixel with an alpha byte other than 255.
bool HasTransparentPixels(TBitmap* Bitmap);
// The same over the pixels with Left <= x <= Right and Top <= y <= Bottom (both ends
// included), cut to the bitmap; false when nothing of R lies inside.
bool HasTransparentPixelsInRect(TBitmap* Bitmap, const TRect& R);

// SourceRect of the premultiplied bitmap composited source-over onto DestRect of Canvas
// with the constant alpha Alpha, stretched when the sizes differ.
void AlphaBlendRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, uint8_t Alpha,
                    const TRect& DestRect);
// The whole bitmap at (X, Y), unscaled.
void DrawBitmapAlpha(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, uint8_t Alpha);
// Dest (already sized) := Source resampled bilinearly in 16.16 fixed point. Every
// weighted byte loses one (the four weights sum to 65535). Nothing happens when either
// bitmap has no pixels.
void SmoothStretchBitmap(TBitmap* Source, TBitmap* Dest);
// The bitmap resampled to Round(Scale * size) and drawn at (X, Y); Scale 1 draws it as it is.
void DrawBitmapAlphaScaled(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, double Scale, uint8_t Alpha);
// The bitmap resampled to W x H and drawn at (X, Y); nothing when W or H is 0.
void DrawBitmapAlphaSized(TBitmap* Bitmap, TCanvas* Canvas, int X, int Y, int W, int H, uint8_t Alpha);
// SourceRect of the bitmap copied opaque (SRCCOPY) onto DestRect, stretched.
void StretchBitmapRect(TBitmap* Bitmap, TCanvas* Canvas, const TRect& SourceRect, const TRect& DestRect);
// Dest := Source turned a quarter counter-clockwise: Dest is sized Height x Width and its
// pixel (y, Width - 1 - x) is Source's pixel (x, y).
void RotateBitmap90(TBitmap* Source, TBitmap* Dest);
