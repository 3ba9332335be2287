// The drawing tools of a canvas: TFont, TPen and TBrush. Each makes its drawing-layer
// handle on first use and makes a new one after a change, telling OnChange.
#pragma once

#include "Colors.h"
#include "Persistent.h"
#include "gdi/Gdi.h"

class TGraphicsObject : public TPersistent {
  QV_CLASS(TGraphicsObject, TPersistent)

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
using TFontCharset = uint8_t;
using TFontName = String;

class TFont : public TGraphicsObject {
  QV_CLASS(TFont, TGraphicsObject)

  // Tahoma, 8 points at the screen's resolution, clWindowText.
  TFont();
  ~TFont() override;

  // Copies another font; when the resolutions differ the point size is kept.
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  // Takes the properties of a font handle and owns it from now on.
  void SetHandle(HFONT Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  const TFontName& Name() const { return FName; }
  void SetName(const TFontName& Value);
  // Negative: em height in pixels; positive: cell height; 0: the default size.
  int Height() const { return FHeight; }
  void SetHeight(int Value);
  // Points: -MulDiv(Height, 72, PixelsPerInch).
  int Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }
  void SetSize(int Value) { SetHeight(-MulDiv(Value, FPixelsPerInch, 72)); }
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality Value);
  // Tenths of a degree, counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int Value);
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  // The LOGFONT the handle is made from.
  LOGFONT LogFont() const;

 private:
  void FreeHandle();

  HFONT FHandle = nullptr;
  TFontName FName;
  int FHeight;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  TFontQuality FQuality = fqDefault;
  int FOrientation = 0;
  int FPixelsPerInch;
};

enum TPenStyle {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame,
  psUserStyle,
  psAlternate,
};
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor,
};

// The SetROP2 code of a pen mode.
int PenModeToRop2(TPenMode Mode);

class TPen : public TGraphicsObject {
  QV_CLASS(TPen, TGraphicsObject)

  TPen() = default;
  ~TPen() override;

  void Assign(TPersistent* Source) override;

  HPEN Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  // Negative widths are ignored.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  // Applied by the canvas (SetROP2), not part of the handle.
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  void FreeHandle();

  HPEN FHandle = nullptr;
  COLORREF FHandleColor = 0;  // what FColor resolved to when the handle was made
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
  QV_CLASS(TBrush, TGraphicsObject)

  TBrush() = default;
  ~TBrush() override;

  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  TColor Color() const { return FColor; }
  // A colour makes a clear brush solid, as the framework does.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  void FreeHandle();

  HBRUSH FHandle = nullptr;
  COLORREF FHandleColor = 0;  // what FColor resolved to when the handle was made
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};
