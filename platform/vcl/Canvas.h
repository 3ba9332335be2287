// TCanvas: drawing on a device context with a font, a pen and a brush that are selected
// into it when a drawing call needs them, and again after they change.
#pragma once

#include <initializer_list>
#include <vector>

#include "GraphicsObjects.h"

class TGraphic;

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = Set<TCanvasStates>;

enum TTextFormats {
  tfBottom,
  tfCalcRect,
  tfCenter,
  tfEditControl,
  tfEndEllipsis,
  tfPathEllipsis,
  tfExpandTabs,
  tfExternalLeading,
  tfLeft,
  tfModifyString,
  tfNoClip,
  tfNoPrefix,
  tfRight,
  tfRtlReading,
  tfSingleLine,
  tfTop,
  tfVerticalCenter,
  tfWordBreak,
  tfHidePrefix,
  tfNoFullWidthCharBreak,
  tfPrefixOnly,
  tfTabStop,
  tfWordEllipsis,
  tfComposited,
};
using TTextFormat = Set<TTextFormats>;

// The DT_* flags of a text format.
UINT TextFormatToDT(TTextFormat Format);

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  QV_CLASS(TCanvas, TPersistent)

  TCanvas();
  // Deselects its tools from the DC; the DC itself belongs to whoever gave it.
  ~TCanvas() override;

  // The DC with font, pen and brush selected; raises EInvalidOperation "Canvas does not
  // allow drawing" when there is none and CreateHandle makes none.
  HDC Handle();
  // Attaches a DC owned by the caller (null detaches).
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // ExtTextOut options TextOut uses (ETO_*).
  int TextFlags() const { return FTextFlags; }
  void SetTextFlags(int Value) { FTextFlags = Value; }
  // Logical coordinates of what can be drawn.
  TRect ClipRect();

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void RoundRect(const TRect& Rect, int CX, int CY) { RoundRect(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, CX, CY); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int(Points.size())); }
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(Points.begin(), int(Points.size())); }
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), int(Points.size())); }
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(Points.begin(), int(Points.size())); }
  // With the brush.
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  void DrawFocusRect(const TRect& Rect);

  // The graphic at its own size, or stretched; nothing for a null or empty graphic.
  void Draw(int X, int Y, TGraphic* Graphic);
  // With a constant opacity on top of the graphic's own alpha.
  void Draw(int X, int Y, TGraphic* Graphic, uint8_t Opacity);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // StretchBlt from another canvas with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  // Text in the font, its background as the brush says (solid: opaque in the brush
  // colour; otherwise transparent). TextOut moves the pen to the end of the text.
  void TextOut(int X, int Y, const String& Text);
  // Clipped to Rect, which is filled first unless the brush is clear.
  void TextRect(const TRect& Rect, int X, int Y, const String& Text);
  // DrawText with the format's flags; tfCalcRect measures into Rect, tfModifyString
  // writes a shortened text back.
  void TextRect(TRect& Rect, String& Text, TTextFormat TextFormat = {});
  TSize TextExtent(const String& Text);
  int TextWidth(const String& Text) { return TextExtent(Text).cx; }
  int TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // CLR_INVALID (as a TColor, -1) outside the clip.
  TColor Pixels(int X, int Y);
  void SetPixels(int X, int Y, TColor Value);

  // Deselects the tools so that the next drawing call selects them again.
  void Refresh();
  // Single-threaded: locking only counts.
  void Lock() { ++FLockCount; }
  void Unlock() { --FLockCount; }
  bool TryLock() {
    Lock();
    return true;
  }
  int LockCount() const { return FLockCount; }

  // Makes sure the parts of the state asked for are in place: a handle (CreateHandle),
  // then the font, pen and brush selected.
  void RequiredState(TCanvasState ReqState);
  // The handle as it is: nothing selected, nobody told (graphics drawing themselves
  // inside Draw, which has told OnChanging and will tell OnChange).
  HDC CurrentHandle() const { return FHandle; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Gives the canvas a DC when it has none (a bitmap canvas makes its memory DC).
  virtual void CreateHandle() {}
  virtual void Changed();
  virtual void Changing();

 private:
  void DeselectHandles();
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  void FontChanged(TObject* Sender);
  void PenChanged(TObject* Sender);
  void BrushChanged(TObject* Sender);

  HDC FHandle = nullptr;
  TCanvasState FState;
  TFont* FFont;
  TPen* FPen;
  TBrush* FBrush;
  TPoint FPenPos{};
  TCopyMode FCopyMode = cmSrcCopy;
  int FTextFlags = 0;
  int FLockCount = 0;
};
