#include "Canvas.h"

#include "Graphic.h"

namespace {

const TCanvasState kAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

// The tools selected while the canvas's own are not: the DC lets go of those.
HGDIOBJ StockPen() { return GetStockObject(BLACK_PEN); }
HGDIOBJ StockBrush() { return GetStockObject(HOLLOW_BRUSH); }
HGDIOBJ StockFont() { return GetStockObject(SYSTEM_FONT); }

}  // namespace

UINT TextFormatToDT(TTextFormat Format) {
  struct Flag {
    TTextFormats Format;
    UINT DT;
  };
  static constexpr Flag kFlags[] = {
      {tfBottom, DT_BOTTOM},
      {tfCalcRect, DT_CALCRECT},
      {tfCenter, DT_CENTER},
      {tfEditControl, DT_EDITCONTROL},
      {tfEndEllipsis, DT_END_ELLIPSIS},
      {tfPathEllipsis, DT_PATH_ELLIPSIS},
      {tfExpandTabs, DT_EXPANDTABS},
      {tfExternalLeading, DT_EXTERNALLEADING},
      {tfLeft, DT_LEFT},
      {tfModifyString, DT_MODIFYSTRING},
      {tfNoClip, DT_NOCLIP},
      {tfNoPrefix, DT_NOPREFIX},
      {tfRight, DT_RIGHT},
      {tfRtlReading, DT_RTLREADING},
      {tfSingleLine, DT_SINGLELINE},
      {tfTop, DT_TOP},
      {tfVerticalCenter, DT_VCENTER},
      {tfWordBreak, DT_WORDBREAK},
      {tfHidePrefix, DT_HIDEPREFIX},
      {tfNoFullWidthCharBreak, DT_NOFULLWIDTHCHARBREAK},
      {tfPrefixOnly, DT_PREFIXONLY},
      {tfTabStop, DT_TABSTOP},
      {tfWordEllipsis, DT_WORD_ELLIPSIS},
  };
  UINT dt = 0;
  for (const Flag& f : kFlags)
    if (Format.Contains(f.Format)) dt |= f.DT;
  return dt;
}

TCanvas::TCanvas() : FFont(new TFont), FPen(new TPen), FBrush(new TBrush) {
  FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
  FPen->OnChange = [this](TObject* sender) { PenChanged(sender); };
  FBrush->OnChange = [this](TObject* sender) { BrushChanged(sender); };
}

TCanvas::~TCanvas() {
  SetHandle(nullptr);
  delete FFont;
  delete FPen;
  delete FBrush;
}

HDC TCanvas::Handle() {
  Changing();
  RequiredState(kAllValid);
  Changed();
  return FHandle;
}

void TCanvas::SetHandle(HDC Value) {
  if (FHandle == Value) return;
  if (FHandle) {
    DeselectHandles();
    GetCurrentPositionEx(FHandle, &FPenPos);
    FHandle = nullptr;
    FState.Exclude(csHandleValid);
  }
  if (Value) {
    FState.Include(csHandleValid);
    FHandle = Value;
    MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
  }
}

void TCanvas::RequiredState(TCanvasState ReqState) {
  const TCanvasState needed = ReqState - FState;
  if (needed.Empty()) return;
  if (needed.Contains(csHandleValid)) {
    CreateHandle();
    if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
  }
  if (needed.Contains(csFontValid)) CreateFont();
  if (needed.Contains(csPenValid)) CreatePen();
  if (needed.Contains(csBrushValid)) CreateBrush();
  FState = FState + needed;
}

void TCanvas::DeselectHandles() {
  const TCanvasState tools{csPenValid, csBrushValid, csFontValid};
  if (FHandle && !(FState * tools).Empty()) {
    SelectObject(FHandle, StockPen());
    SelectObject(FHandle, StockBrush());
    SelectObject(FHandle, StockFont());
  }
  FState = FState - tools;
}

void TCanvas::CreateFont() {
  SelectObject(FHandle, FFont->Handle());
  SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())));
}

void TCanvas::CreatePen() {
  SelectObject(FHandle, FPen->Handle());
  SetROP2(FHandle, PenModeToRop2(FPen->Mode()));
}

void TCanvas::CreateBrush() {
  SelectObject(FHandle, FBrush->Handle());
  // Text and hatches get an opaque background only from a solid brush.
  if (FBrush->Style() == bsSolid) {
    SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
    SetBkMode(FHandle, OPAQUE);
  } else {
    SetBkColor(FHandle, ~COLORREF(ColorToRGB(FBrush->Color())) & 0xFFFFFF);
    SetBkMode(FHandle, TRANSPARENT);
  }
}

void TCanvas::FontChanged(TObject*) {
  if (!FState.Contains(csFontValid)) return;
  FState.Exclude(csFontValid);
  SelectObject(FHandle, StockFont());
}

void TCanvas::PenChanged(TObject*) {
  if (!FState.Contains(csPenValid)) return;
  FState.Exclude(csPenValid);
  SelectObject(FHandle, StockPen());
}

void TCanvas::BrushChanged(TObject*) {
  if (!FState.Contains(csBrushValid)) return;
  FState.Exclude(csBrushValid);
  SelectObject(FHandle, StockBrush());
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

TPoint TCanvas::PenPos() {
  RequiredState({csHandleValid});
  TPoint p{};
  GetCurrentPositionEx(FHandle, &p);
  return p;
}

TRect TCanvas::ClipRect() {
  RequiredState({csHandleValid});
  TRect r{};
  GetClipBox(FHandle, &r);
  return r;
}

void TCanvas::MoveTo(int X, int Y) {
  RequiredState({csHandleValid});
  MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y) {
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::LineTo(FHandle, X, Y);
  Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Rectangle(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
  Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Ellipse(FHandle, X1, Y1, X2, Y2);
  Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
  if (!Points || Count <= 0) return;
  Changing();
  RequiredState({csHandleValid, csBrushValid, csPenValid});
  ::Polygon(FHandle, Points, Count);
  Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
  if (!Points || Count <= 0) return;
  Changing();
  RequiredState({csHandleValid, csPenValid, csBrushValid});
  ::Polyline(FHandle, Points, Count);
  Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FillRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::FrameRect(FHandle, &Rect, FBrush->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
  Changing();
  RequiredState({csHandleValid, csBrushValid});
  ::DrawFocusRect(FHandle, &Rect);
  Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  // Monochrome images take their colours from these.
  SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush->Color())));
  SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())));
  Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
  Changed();
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic, uint8_t Opacity) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->DrawTransparent(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()), Opacity);
  Changed();
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Changing();
  RequiredState({csHandleValid});
  Graphic->Draw(this, Rect);
  Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
  if (!Canvas) return;
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  Canvas->RequiredState({csHandleValid, csBrushValid});
  StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
             Source.Width(), Source.Height(), FCopyMode);
  Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ExtTextOut(FHandle, X, Y, UINT(FTextFlags), nullptr, Text);
  MoveTo(X + TextWidth(Text), Y);
  Changed();
}

void TCanvas::TextRect(const TRect& Rect, int X, int Y, const String& Text) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  UINT options = ETO_CLIPPED | UINT(FTextFlags);
  if (FBrush->Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOut(FHandle, X, Y, options, &Rect, Text);
  Changed();
}

void TCanvas::TextRect(TRect& Rect, String& Text, TTextFormat TextFormat) {
  Changing();
  RequiredState({csHandleValid, csFontValid, csBrushValid});
  ::DrawText(FHandle, Text, -1, &Rect, TextFormatToDT(TextFormat));
  Changed();
}

TSize TCanvas::TextExtent(const String& Text) {
  RequiredState({csHandleValid, csFontValid});
  TSize size{};
  GetTextExtentPoint32(FHandle, Text, -1, &size);
  return size;
}

TColor TCanvas::Pixels(int X, int Y) {
  RequiredState({csHandleValid});
  return TColor(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value) {
  Changing();
  RequiredState({csHandleValid, csPenValid});
  SetPixel(FHandle, X, Y, COLORREF(ColorToRGB(Value)));
  Changed();
}

void TCanvas::Refresh() { DeselectHandles(); }
