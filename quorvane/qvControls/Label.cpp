#include "qvControls/Label.h"

#include <algorithm>
#include <cwctype>

#include "gdi/Gdi.h"
#include "gdi/Utf8.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Style.h"

namespace {

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
  return char32_t(std::towupper(wint_t(c)));
}

UINT AlignmentFlags(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

char32_t AccelCharOf(const String& Text) {
  const std::u32string chars = DecodeUtf8(Text);
  for (size_t i = 0; i + 1 < chars.size(); ++i) {
    if (chars[i] != U'&') continue;
    if (chars[i + 1] != U'&') return chars[i + 1];
    ++i;  // "&&" is a plain "&"
  }
  return 0;
}

bool IsAccel(char32_t Key, const String& Text) {
  const char32_t accel = AccelCharOf(Text);
  return Key != 0 && accel != 0 && FoldCase(accel) == FoldCase(Key);
}

// ---- TqvLabel ----

TqvLabel::TqvLabel(TComponent* AOwner) : TqvCustomControl(AOwner) {
  FGlowEffect = new TqvGlowEffect;
  FGlowEffect->SetColor(clBtnShadow);
  FGlowEffect->OnChange = [this](TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    FUpdateGlowBuffer = true;
    RePaintControl();
    AdjustLabelBounds();
  };
  FAutoSize = true;
  SetBounds(Left(), Top(), 65, 17);
}

TqvLabel::~TqvLabel() {
  FreeAndNil(FGlowBuffer);
  delete FGlowEffect;
}

// ---- properties ----

void TqvLabel::SetAutoSize(bool Value) {
  if (Value == FAutoSize) return;
  FAutoSize = Value;
  // The text rectangle follows AutoSize: the layer is made again for it.
  FUpdateGlowBuffer = true;
  if (Value)
    AdjustLabelBounds();
  else
    RePaintControl();
}

void TqvLabel::SetLayout(TTextLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  RePaintControl();
}

void TqvLabel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RePaintControl();
}

void TqvLabel::SetVertAlignment(TqvVertAlignment Value) {
  if (Value == FVertAlignment) return;
  FVertAlignment = Value;
  // The text rectangle moves and changes its height: the layer is made again for it.
  FUpdateGlowBuffer = true;
  RePaintControl();
}

void TqvLabel::SetFocusControl(TWinControl* Value) {
  if (Value == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TqvLabel::SetShowAccelChar(bool Value) {
  if (Value == FShowAccelChar) return;
  FShowAccelChar = Value;
  // "&" shown or not changes the text's width too.
  AdjustLabelBounds();
  RePaintControl();
}

void TqvLabel::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  TextLooksChanged();
}

void TqvLabel::SetUseFontColorToStyleColor(bool Value) {
  if (Value == FUseFontColorToStyleColor) return;
  FUseFontColorToStyleColor = Value;
  RePaintControl();
}

void TqvLabel::TextLooksChanged() {
  AdjustLabelBounds();
  RePaintControl();
}

void TqvLabel::Loaded() {
  TqvCustomControl::Loaded();
  AdjustLabelBounds();
}

void TqvLabel::ChangeScale(int M, int D, bool isDpiChange) {
  TqvCustomControl::ChangeScale(M, D, isDpiChange);
  if (AutoSize()) AdjustLabelBounds();
}

void TqvLabel::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
  TqvCustomControl::Notification(AComponent, Operation);
}

// ---- text ----

void TqvLabel::GetLabelText(String& AText) { AText = Caption(); }

void TqvLabel::DrawLabelText(TCanvas* ACanvas, TRect& ARect, UINT AFlags) {
  String text;
  GetLabelText(text);
  if ((AFlags & DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
  if (!FShowAccelChar) AFlags |= DT_NOPREFIX;
  // Flags that carry the reading order were adapted by the caller: adapting them again
  // would mirror the alignment back.
  if (!(AFlags & DT_RTLREADING)) AFlags = DrawTextBiDiModeFlags(AFlags);
  DrawText(ACanvas->Handle(), text, -1, &ARect, AFlags);
}

void TqvLabel::AdjustLabelBounds() {
  const TComponentState state = ComponentState();
  if (state.Contains(csReading) || state.Contains(csLoading) || !AutoSize()) return;
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TCanvas* canvas = scratch.Canvas();
  canvas->Font()->Assign(Font());
  TRect r{0, 0, Width(), Height()};
  DrawLabelText(canvas, r, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  int w = r.Width(), h = r.Height();
  if (FGlowEffect->Enabled()) {
    const int grow = FGlowEffect->Offset() + 2 * FGlowEffect->GlowSize();
    w += grow;
    h += grow;
  }
  // The whole new width, glow included, so that re-fitting the same text leaves the
  // label where it is. Right-to-left alignment turns a left-justified label into a
  // right-aligned one.
  const int left = BiDiAlignment(FAlignment) == taRightJustify ? Left() + Width() - w : Left();
  SetBounds(left, Top(), w, h);
}

// ---- painting ----

TColor TqvLabel::TextColor() {
  if (StyleElements().Contains(seFont) && IsCustomStyle()) {
    if (Enabled() && FUseFontColorToStyleColor) return GetStyleSystemColor(Font()->Color());
    return GetCheckBoxTextColor(GetCtrlState());
  }
  // A disabled label must not look like an enabled one.
  return Enabled() ? Font()->Color() : GetCheckBoxTextColor(qvsDisabled);
}

bool TqvLabel::GlowKeyChanged(const String& Text) {
  const TFont* font = Font();
  const TColor glowColor = FGlowEffect->GetColor();
  const bool changed = FUpdateGlowBuffer || Text != FStoredCaption || Width() != FStoredWidth ||
                       Height() != FStoredHeight || glowColor != FStoredGlowColor ||
                       font->Name() != FStoredFontName || font->Size() != FStoredFontSize ||
                       font->Style() != FStoredFontStyle || FAlignment != FStoredAlignment ||
                       FShowAccelChar != FStoredShowAccelChar || FLayout != FStoredLayout ||
                       FWordWrap != FStoredWordWrap || BiDiMode() != FStoredBiDiMode;
  if (!changed) return false;
  FStoredCaption = Text;
  FStoredWidth = Width();
  FStoredHeight = Height();
  FStoredGlowColor = glowColor;
  FStoredFontName = font->Name();
  FStoredFontSize = font->Size();
  FStoredFontStyle = font->Style();
  FStoredAlignment = FAlignment;
  FStoredShowAccelChar = FShowAccelChar;
  FStoredLayout = FLayout;
  FStoredWordWrap = FWordWrap;
  FStoredBiDiMode = BiDiMode();
  FUpdateGlowBuffer = false;
  return true;
}

void TqvLabel::Draw(TCanvas* ACanvas, TqvsCtrlState) {
  ACanvas->Font()->Assign(Font());
  ACanvas->Font()->SetColor(TextColor());
  ACanvas->Brush()->SetStyle(bsClear);
  String text;
  GetLabelText(text);

  const bool glow = FGlowEffect->Enabled();
  const int g = FGlowEffect->GlowSize(), o = FGlowEffect->Offset();
  TRect r = glow ? TRect{g - o, g - o, Width() - g - o, Height() - g - o} : TRect{0, 0, Width(), Height()};
  r.Left = std::max(0, int(r.Left));
  r.Top = std::max(0, int(r.Top));

  UINT flags = DT_EXPANDTABS | AlignmentFlags(FAlignment);
  if (FWordWrap) flags |= DT_WORDBREAK;
  if (!FShowAccelChar) flags |= DT_NOPREFIX;
  flags = DrawTextBiDiModeFlags(flags);

  if (!AutoSize() && FVertAlignment != qvvtaTop) {
    TRect measured = r;
    DrawLabelText(ACanvas, measured, flags | DT_CALCRECT);
    const int textHeight = measured.Height();
    if (FVertAlignment == qvvtaCenter) {
      r.Top = Height() / 2 - textHeight / 2;
    } else {
      r.Top = Height() - textHeight;
      if (glow) r.Top -= g + o;
    }
    r.Bottom = r.Top + textHeight;
  }

  if (glow) {
    const bool rebuild = GlowKeyChanged(text);
    // The flags carry the reading order and the mirrored alignment already; the toolkit's
    // RightToLeft would mirror the alignment once more (and also without
    // right-to-left alignment).
    DrawTextWithCachedGlow(FGlowBuffer, rebuild, ACanvas, !FShowAccelChar, false, FGlowEffect->GetAlphaValue(),
                           FGlowEffect->Intensive(), g, FGlowEffect->GetColor(), o, flags, text, r);
  } else {
    DrawLabelText(ACanvas, r, flags);
  }
}

// ---- messages ----

void TqvLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TqvCustomControl::Dispatch(Message);
      TextLooksChanged();
      return;
    case CM_DIALOGCHAR: {
      TqvCustomControl::Dispatch(Message);
      if (!FFocusControl || !Enabled() || !FShowAccelChar) return;
      String text;
      GetLabelText(text);
      if (!IsAccel(char32_t(Message.WParam), text) || !FFocusControl->CanFocus()) return;
      FFocusControl->SetFocus();
      Message.Result = 1;
      return;
    }
    default: TqvCustomControl::Dispatch(Message); return;
  }
}
