// TBitmap: a picture held in a drawing-layer bitmap with its own canvas, in one of the
// framework's pixel formats, readable and writable as a BMP file.
//
// Every format is stored as 32-bit pixels (bytes blue, green, red, alpha), rows top-down
// and contiguous: ScanLine(y) is row y and ScanLine(0) starts the whole image. pf32bit
// keeps its alpha bytes; pf24bit and pfDevice pictures are opaque (their alpha is
// ignored when they are drawn or copied, and set to 255 when they change format).
#pragma once

#include "Graphic.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TAlphaFormat { afIgnored, afDefined, afPremultiplied };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };

class TBitmap;

// The canvas of a bitmap: a memory DC it makes on first use, with the bitmap selected.
class TBitmapCanvas : public TCanvas {
  QV_CLASS(TBitmapCanvas, TCanvas)

  explicit TBitmapCanvas(TBitmap* ABitmap) : FBitmap(ABitmap) {}
  ~TBitmapCanvas() override;

 protected:
  void CreateHandle() override;

 private:
  friend class TBitmap;
  // Selects the bitmap's current handle (or none) into the DC, if there is one.
  void Reselect();
  // Drawing access for the bitmap itself, without change notifications.
  HDC SourceDC();

  TBitmap* FBitmap;
  HDC FDC = nullptr;
};

class TBitmap : public TGraphic {
  QV_CLASS(TBitmap, TGraphic)

  // Empty, pfDevice.
  TBitmap();
  TBitmap(int AWidth, int AHeight);
  ~TBitmap() override;

  // From a TBitmap (a copy of everything), null (empty); a TPngImage or TIcon assign
  // themselves as 32-bit afDefined pictures.
  void Assign(TPersistent* Source) override;

  TCanvas* Canvas();
  // The bitmap handle, null while empty. SetHandle adopts a handle (the bitmap owns it
  // from then on); ReleaseHandle gives it away and leaves the bitmap empty.
  HBITMAP Handle() const { return FHandle; }
  void SetHandle(HBITMAP Value);
  HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  bool Empty() const override { return FHandle == nullptr; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  // Keeps the top-left part of the picture; new pixels are transparent black in pf32bit
  // and opaque white in the other formats. Raises EOutOfResources "Out of system
  // resources" when the pixels cannot be had (the bitmap stays as it was).
  void SetSize(int AWidth, int AHeight) override;

  // pf1bit .. pf24bit and pfCustom are all kept (and reported) as pf24bit.
  TPixelFormat PixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType HandleType() const { return FPixelFormat == pfDevice ? bmDDB : bmDIB; }
  void SetHandleType(TBitmapHandleType Value);
  // For pf32bit: going to afPremultiplied multiplies each colour byte by alpha
  // (MulDiv(c, a, 255)); leaving afPremultiplied divides it again (MulDiv(c, 255, a),
  // 0 where alpha is 0). afIgnored and afDefined hold the same bytes.
  TAlphaFormat AlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value);
  bool SupportsPartialTransparency() const override { return FPixelFormat == pf32bit && FAlphaFormat != afIgnored; }

  // Row Row of the picture, 32-bit pixels; EInvalidGraphicOperation "Scan line index
  // out of range" outside 0 .. Height - 1.
  void* ScanLine(int Row);

  // The key colour of Transparent drawing: with tmAuto the bottom-left pixel.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  bool Monochrome() const { return false; }
  // Nothing to release: the pixels stay in memory.
  void Dormant() {}
  void FreeImage() {}

  // BMP: 1, 4, 8 (palette), 24 and 32 bits, BI_RGB or BI_BITFIELDS; raises
  // EInvalidGraphic "Bitmap image is not valid". No bytes left makes the bitmap empty.
  void LoadFromStream(TStream* Stream) override;
  // 32-bit BMP for pf32bit (alpha bytes kept), 24-bit otherwise; nothing when empty.
  void SaveToStream(TStream* Stream) override;

  // 32-bit with afDefined or afPremultiplied: alpha blending (afDefined through a
  // premultiplied copy); Transparent: the key colour left out; otherwise an opaque copy
  // with the target canvas's CopyMode.
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void DrawTransparent(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity) override;

  TGraphic* NewOfSameClass() const override { return new TBitmap; }

 private:
  friend class TBitmapCanvas;
  // Replaces the handle (the old one is deleted) and tells the canvas.
  void ReplaceHandle(HBITMAP Value, int AWidth, int AHeight);
  HBITMAP NewHandle(TPixelFormat Format, int AWidth, int AHeight) const;
  // A DC with the pixels selected, for copying from.
  HDC SourceDC();
  void BlendOnto(TCanvas* ACanvas, const TRect& Rect, uint8_t Opacity, bool PerPixelAlpha);

  HBITMAP FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TAlphaFormat FAlphaFormat = afIgnored;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
  TBitmapCanvas* FCanvas = nullptr;
};
