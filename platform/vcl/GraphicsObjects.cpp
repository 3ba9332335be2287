#include "GraphicsObjects.h"

#include <iterator>

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TFont ----

namespace {

constexpr BYTE kQualities[] = {DEFAULT_QUALITY,
                               1 /* draft */,
                               2 /* proof */,
                               NONANTIALIASED_QUALITY,
                               ANTIALIASED_QUALITY,
                               CLEARTYPE_QUALITY,
                               6 /* natural */};

TFontQuality QualityFromLog(BYTE q) {
  for (int i = 0; i < int(std::size(kQualities)); ++i)
    if (kQualities[i] == q) return TFontQuality(i);
  return fqDefault;
}

}  // namespace

TFont::TFont() : FName("Tahoma"), FPixelsPerInch(ScreenPixelsPerInch()) { FHeight = -MulDiv(8, FPixelsPerInch, 72); }

TFont::~TFont() { FreeHandle(); }

void TFont::FreeHandle() {
  // A DC that still holds the font keeps it alive until it lets go.
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

LOGFONT TFont::LogFont() const {
  LOGFONT lf;
  lf.lfHeight = FHeight;
  lf.lfEscapement = FOrientation;
  lf.lfOrientation = FOrientation;
  lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = FStyle.Contains(fsItalic) ? 1 : 0;
  lf.lfUnderline = FStyle.Contains(fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = FStyle.Contains(fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = FCharset;
  lf.lfQuality = kQualities[FQuality];
  lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
  lf.lfFaceName = FName;
  return lf;
}

HFONT TFont::Handle() {
  if (!FHandle) {
    const LOGFONT lf = LogFont();
    FHandle = CreateFontIndirect(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT Value) {
  if (Value == FHandle) return;
  LOGFONT lf;
  if (!Value || GetObject(Value, int(sizeof(LOGFONT)), &lf) == 0) return;
  FreeHandle();
  FHandle = Value;
  FName = lf.lfFaceName;
  FHeight = lf.lfHeight;
  FStyle = {};
  if (lf.lfWeight >= FW_BOLD) FStyle.Include(fsBold);
  if (lf.lfItalic) FStyle.Include(fsItalic);
  if (lf.lfUnderline) FStyle.Include(fsUnderline);
  if (lf.lfStrikeOut) FStyle.Include(fsStrikeOut);
  FCharset = lf.lfCharSet;
  FOrientation = lf.lfEscapement;
  const int pitch = lf.lfPitchAndFamily & 3;
  FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
  FQuality = QualityFromLog(lf.lfQuality);
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TFont*>(Source);
  if (!src) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (src == this) return;
  const int height = FPixelsPerInch == src->FPixelsPerInch ? src->FHeight : -MulDiv(src->Size(), FPixelsPerInch, 72);
  const bool same = FName == src->FName && FHeight == height && FStyle == src->FStyle && FColor == src->FColor &&
                    FCharset == src->FCharset && FPitch == src->FPitch && FQuality == src->FQuality &&
                    FOrientation == src->FOrientation;
  if (same) return;
  FName = src->FName;
  FHeight = height;
  FStyle = src->FStyle;
  FColor = src->FColor;
  FCharset = src->FCharset;
  FPitch = src->FPitch;
  FQuality = src->FQuality;
  FOrientation = src->FOrientation;
  FreeHandle();
  Changed();
}

void TFont::SetName(const TFontName& Value) {
  if (Value.empty() || Value == FName) return;
  FName = Value;
  FreeHandle();
  Changed();
}

void TFont::SetHeight(int Value) {
  if (Value == FHeight) return;
  FHeight = Value;
  FreeHandle();
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  FreeHandle();
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (Value == FColor) return;
  // The colour is the DC's text colour, not part of the handle.
  FColor = Value;
  Changed();
}

void TFont::SetCharset(TFontCharset Value) {
  if (Value == FCharset) return;
  FCharset = Value;
  FreeHandle();
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (Value == FPitch || Value < fpDefault || Value > fpFixed) return;
  FPitch = Value;
  FreeHandle();
  Changed();
}

void TFont::SetQuality(TFontQuality Value) {
  if (Value == FQuality || Value < fqDefault || Value > fqClearTypeNatural) return;
  FQuality = Value;
  FreeHandle();
  Changed();
}

void TFont::SetOrientation(int Value) {
  if (Value == FOrientation) return;
  FOrientation = Value;
  FreeHandle();
  Changed();
}

void TFont::SetPixelsPerInch(int Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

// ---- TPen ----

int PenModeToRop2(TPenMode Mode) {
  static constexpr int kRops[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                  R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                  R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                  R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return int(Mode) >= 0 && int(Mode) < int(std::size(kRops)) ? kRops[Mode] : R2_COPYPEN;
}

TPen::~TPen() { FreeHandle(); }

void TPen::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

HPEN TPen::Handle() {
  // A system colour means something else once the style changes: make the handle again.
  if (FHandle && FColor < 0 && COLORREF(ColorToRGB(FColor)) != FHandleColor) FreeHandle();
  if (!FHandle) {
    FHandleColor = COLORREF(ColorToRGB(FColor));
    // User-defined dashes are not offered: such a pen draws solid.
    static constexpr int kStyles[] = {PS_SOLID, PS_DASH,        PS_DOT,   PS_DASHDOT,  PS_DASHDOTDOT,
                                      PS_NULL,  PS_INSIDEFRAME, PS_SOLID, PS_ALTERNATE};
    const int style = kStyles[FStyle];
    FHandle = CreatePen(style, FWidth, FHandleColor);
  }
  return FHandle;
}

void TPen::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TPen*>(Source);
  if (!src) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (src == this || (FColor == src->FColor && FWidth == src->FWidth && FStyle == src->FStyle && FMode == src->FMode))
    return;
  FColor = src->FColor;
  FWidth = src->FWidth;
  FStyle = src->FStyle;
  FMode = src->FMode;
  FreeHandle();
  Changed();
}

void TPen::SetColor(TColor Value) {
  if (Value == FColor) return;
  FColor = Value;
  FreeHandle();
  Changed();
}

void TPen::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  FreeHandle();
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (Value == FStyle || Value < psSolid || Value > psAlternate) return;
  FStyle = Value;
  FreeHandle();
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (Value == FMode || Value < pmBlack || Value > pmNotXor) return;
  FMode = Value;
  Changed();
}

// ---- TBrush ----

TBrush::~TBrush() { FreeHandle(); }

void TBrush::FreeHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

HBRUSH TBrush::Handle() {
  // A system colour means something else once the style changes: make the handle again.
  if (FHandle && FColor < 0 && COLORREF(ColorToRGB(FColor)) != FHandleColor) FreeHandle();
  if (!FHandle) {
    FHandleColor = COLORREF(ColorToRGB(FColor));
    LOGBRUSH lb;
    lb.lbColor = FHandleColor;
    switch (FStyle) {
      case bsSolid:
        lb.lbStyle = BS_SOLID;
        break;
      case bsClear:
        lb.lbStyle = BS_NULL;
        break;
      default:
        lb.lbStyle = BS_HATCHED;
        lb.lbHatch = uintptr_t(FStyle - bsHorizontal + HS_HORIZONTAL);
        break;
    }
    FHandle = CreateBrushIndirect(&lb);
  }
  return FHandle;
}

void TBrush::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TBrush*>(Source);
  if (!src) {
    TGraphicsObject::Assign(Source);
    return;
  }
  if (src == this || (FColor == src->FColor && FStyle == src->FStyle)) return;
  FColor = src->FColor;
  FStyle = src->FStyle;
  FreeHandle();
  Changed();
}

void TBrush::SetColor(TColor Value) {
  if (Value == FColor && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  FreeHandle();
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (Value == FStyle || Value < bsSolid || Value > bsDiagCross) return;
  FStyle = Value;
  FreeHandle();
  Changed();
}
