#include "qvControls/Button.h"

#include "gdi/DC.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ContentLayout.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Style.h"
#include "qvDrawUtils/Text.h"
#include "qvImageCollection/ImageCollection.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "win/Input.h"

namespace {

bool IsSpinKind(TqvButtonStyleKind K) {
  return K == qvbsUpSpinButton || K == qvbsDownSpinButton || K == qvbsLeftSpinButton || K == qvbsRightSpinButton;
}

bool IsActiveState(TqvsCtrlState S) { return S == qvsHot || S == qvsPressed || S == qvsFocused; }

bool IsToolKind(TqvButtonStyleKind K) {
  return K == qvbsToolButton || K == qvbsToolButtonTransparent || K == qvbsSegmentedToolLeft ||
         K == qvbsSegmentedToolMiddle || K == qvbsSegmentedToolRight;
}

}  // namespace

TqvButton::TqvButton(TComponent* AOwner) : TqvCustomButtonControl(AOwner) {
  FColorOptions = new TqvButtonColorOptions;
  FColorOptions->OnChange = [this](TObject*) {
    if (FStyleKind == qvbsColorButton) RePaintControl();
  };
  FTitleFont = new TFont;
  FTitleFont->Assign(Font());
  FTitleFont->SetStyle({fsBold});
  FTitleFont->OnChange = [this](TObject*) { RePaintControl(); };
}

TqvButton::~TqvButton() {
  delete FTitleFont;
  delete FColorOptions;
}

// ---- states ----

TqvsCtrlState TqvButton::GetCtrlState() {
  if (FDown) return qvsPressed;
  if (!Enabled()) return qvsDisabled;
  if (FMenuDroppedDown) return qvsHot;
  if ((FMouseIn && FPressed) || FIsDown) return qvsPressed;
  if (FMouseIn) return qvsHot;
  if (FActive && FDefault && FCanFocused) return qvsHot;
  if (Focused() && FCanFocused) return qvsFocused;
  return qvsNormal;
}

int TqvButton::ImageIndexForState(TqvsCtrlState AState) const {
  int index = -1;
  switch (AState) {
    case qvsHot: index = FHotImageIndex; break;
    case qvsPressed: index = FPressedImageIndex != -1 ? FPressedImageIndex : FHotImageIndex; break;
    case qvsFocused: index = FFocusedImageIndex != -1 ? FFocusedImageIndex : FHotImageIndex; break;
    default: break;
  }
  return index != -1 ? index : FImageIndex;
}

int TqvButton::CustomImageIndexForState(TqvsCtrlState AState) const {
  switch (AState) {
    case qvsHot: return FCustomImageHotIndex;
    case qvsPressed: return FCustomImagePressedIndex;
    case qvsFocused: return FCustomImageFocusedIndex;
    case qvsDisabled: return FCustomImageDisabledIndex;
    default: return FCustomImageNormalIndex;
  }
}

// ---- setters ----

#define QV_REPAINT_SETTER(Name, Type, Field) \
  void TqvButton::Set##Name(Type Value) {   \
    if (Value == Field) return;             \
    Field = Value;                          \
    RePaintControl();                       \
  }

QV_REPAINT_SETTER(StyleKind, TqvButtonStyleKind, FStyleKind)
QV_REPAINT_SETTER(HotImageIndex, int, FHotImageIndex)
QV_REPAINT_SETTER(FocusedImageIndex, int, FFocusedImageIndex)
QV_REPAINT_SETTER(PressedImageIndex, int, FPressedImageIndex)
QV_REPAINT_SETTER(UseGalleryMenuImage, bool, FUseGalleryMenuImage)
QV_REPAINT_SETTER(UseGalleryMenuCaption, bool, FUseGalleryMenuCaption)
QV_REPAINT_SETTER(CustomImageNormalIndex, int, FCustomImageNormalIndex)
QV_REPAINT_SETTER(CustomImageHotIndex, int, FCustomImageHotIndex)
QV_REPAINT_SETTER(CustomImagePressedIndex, int, FCustomImagePressedIndex)
QV_REPAINT_SETTER(CustomImageFocusedIndex, int, FCustomImageFocusedIndex)
QV_REPAINT_SETTER(CustomImageDisabledIndex, int, FCustomImageDisabledIndex)
QV_REPAINT_SETTER(UseFontColorToStyleColor, bool, FUseFontColorToStyleColor)
QV_REPAINT_SETTER(Title, const String&, FTitle)

#undef QV_REPAINT_SETTER

void TqvButton::SetTitleFont(TFont* Value) {
  // The font's change event repaints only when a title shows.
  auto repaint = FTitleFont->OnChange;
  FTitleFont->OnChange = nullptr;
  FTitleFont->Assign(Value);
  FTitleFont->OnChange = repaint;
  if (!FTitle.empty()) RePaintControl();
}

void TqvButton::SetCustomImages(TqvCustomImageCollection* Value) {
  if (Value == FCustomImages) return;
  if (FCustomImages) FCustomImages->RemoveFreeNotification(this);
  FCustomImages = Value;
  if (FCustomImages) FCustomImages->FreeNotification(this);
  RePaintControl();
}

void TqvButton::SetImageMargin(int Value) {
  if (Value < 0 || Value == FImageMargin) return;
  FImageMargin = Value;
  RePaintControl();
}

void TqvButton::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  const int width = Value ? FWidthWithCaption : FWidthWithoutCaption;
  // A width equal to the present one changes no bounds and would not repaint.
  if (width > 0 && width != Width())
    SetWidth(width);
  else
    RePaintControl();
}

void TqvButton::SetDefault(bool Value) {
  if (Value == FDefault) return;
  FDefault = Value;
  // Enter clicks a new default button unless another button has the focus.
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  FActive = FDefault && (!focused || focused == this || !focused->InheritsFrom(TqvButton::StaticClass()));
  RePaintControl();
}

void TqvButton::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent == FCustomImages) FCustomImages = nullptr;
  TqvCustomButtonControl::Notification(AComponent, Operation);
}

void TqvButton::ChangeScale(int M, int D, bool isDpiChange) {
  TqvCustomButtonControl::ChangeScale(M, D, isDpiChange);
  FTitleFont->SetHeight(MulDiv(FTitleFont->Height(), M, D));
  if (FImageMargin > 0) FImageMargin = MulDiv(FImageMargin, M, D);
  if (FScaleMarginAndSpacing) {
    if (FMargin > 0) FMargin = MulDiv(FMargin, M, D);
    if (FSpacing > 0) FSpacing = MulDiv(FSpacing, M, D);
  }
  if (FWidthWithCaption > 0) FWidthWithCaption = MulDiv(FWidthWithCaption, M, D);
  if (FWidthWithoutCaption > 0) FWidthWithoutCaption = MulDiv(FWidthWithoutCaption, M, D);
}

// ---- clicks, groups, default and cancel ----

void TqvButton::ButtonClick() {
  if (FDisableClick) return;
  if (FModalSetting)
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  TqvCustomButtonControl::ButtonClick();
}

void TqvButton::ReleaseGroup() {
  TWinControl* parent = Parent();
  if (!parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TqvButton*>(parent->Controls(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) other->SetDown(false);
  }
}

void TqvButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FOCUSCHANGED:
      if (FCanFocused && FDefault) {
        auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
        bool active = FDefault;
        if (focused == this)
          active = true;
        else if (focused && focused->InheritsFrom(TqvButton::StaticClass()))
          active = false;
        if (active != FActive) {
          FActive = active;
          RePaintControl();
        }
      }
      TqvCustomButtonControl::Dispatch(Message);
      return;
    case CM_DIALOGKEY: {
      if (!FCanFocused) break;
      const bool enter = Message.WParam == VK_RETURN && FActive && Enabled();
      const bool noShift = GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
      const bool escape = Message.WParam == VK_ESCAPE && FCancel && noShift && CanFocus();
      if (!enter && !escape) break;
      ButtonClick();
      Message.Result = 1;
      return;
    }
    default: break;
  }
  TqvCustomButtonControl::Dispatch(Message);
}

// ---- drawing ----

TColor TqvButton::PlainColor(TqvsCtrlState S) const {
  if (FUseFontColorToStyleColor && S != qvsDisabled) return GetStyleSystemColor(Font()->Color());
  return GetCheckBoxTextColor(S);
}

bool TqvButton::CustomImageAvailable(int Index) const {
  return FCustomImages && FCustomImages->IsIndexAvailable(Index);
}

TColor TqvButton::DrawFace(TCanvas* ACanvas, const TRect& R, TqvsCtrlState S, bool FocusMark) {
  const double scale = ScaleFactor();
  switch (FStyleKind) {
    case qvbsPushButton:
      DrawPushButtonFace(ACanvas, R, S, scale, FocusMark);
      return GetButtonTextColor(S);
    case qvbsToolButton:
      DrawToolButtonFace(ACanvas, R, S);
      return GetToolButtonTextColor(S);
    case qvbsPushButtonTransparent:
      if (!IsActiveState(S)) return PlainColor(S);
      DrawPushButtonFace(ACanvas, R, S, scale, FocusMark);
      return GetButtonTextColor(S);
    case qvbsToolButtonTransparent:
      if (!IsActiveState(S)) return PlainColor(S);
      DrawToolButtonFaceInset(ACanvas, R, S);
      return GetToolButtonTextColor(S);
    case qvbsTransparent:
    case qvbsLink: return PlainColor(S);
    case qvbsHeaderSection:
      DrawHeaderSection(ACanvas, R, S);
      return GetHeaderTextColor(S);
    case qvbsUpSpinButton: DrawUpButton(ACanvas, R, S); return clNone;
    case qvbsDownSpinButton: DrawDownButton(ACanvas, R, S); return clNone;
    case qvbsLeftSpinButton: DrawLeftButton(ACanvas, R, S); return clNone;
    case qvbsRightSpinButton: DrawRightButton(ACanvas, R, S); return clNone;
    case qvbsDropDownButton: DrawComboButton(ACanvas, R, S, UseRightToLeftAlignment(), false); return clNone;
    case qvbsColorButton: {
      FColorOptions->SetState(S);
      if (FColorOptions->Color() != clNone) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(FColorOptions->Color());
        ACanvas->FillRect(R);
      }
      const TColor frame = FColorOptions->FrameColor();
      if (frame != clNone && FColorOptions->FrameWidth() > 0) {
        TRect ring = R;
        for (int i = 0; i < FColorOptions->FrameWidth(); ++i) DrawFrame3D(ACanvas, ring, frame, frame);
      }
      return FColorOptions->FontColor();
    }
    case qvbsCustomImage: {
      const int skin = CustomImageIndexForState(S);
      if (CustomImageAvailable(skin)) FCustomImages->Draw(ACanvas, R, skin, scale);
      FColorOptions->SetState(S);
      return FColorOptions->FontColor();
    }
    case qvbsCustomImageOverContent:
      FColorOptions->SetState(S);
      return FColorOptions->FontColor();
    case qvbsTab:
      DrawTabItem(ACanvas, R, S);
      return GetTabButtonTextColor(S);
    case qvbsTabTransparent:
      if (!IsActiveState(S)) return PlainColor(S);
      DrawTabItem(ACanvas, R, S);
      return GetTabButtonTextColor(S);
    case qvbsSegmentedLeft:
    case qvbsSegmentedMiddle:
    case qvbsSegmentedRight:
      DrawSegmentedButtonFace(ACanvas, R, S, scale, FStyleKind - qvbsSegmentedLeft + 1, FocusMark);
      return GetButtonTextColor(S);
    case qvbsSegmentedToolLeft:
    case qvbsSegmentedToolMiddle:
    case qvbsSegmentedToolRight:
      DrawSegmentedToolButtonFace(ACanvas, R, S, FStyleKind - qvbsSegmentedToolLeft + 1);
      return GetToolButtonTextColor(S);
    case qvbsDropDownCombo: {
      const TqvsCtrlState face = S == qvsFocused ? qvsHot : S;
      DrawPushButtonFace(ACanvas, R, face, scale, false);
      return GetButtonTextColor(face);
    }
  }
  return clNone;
}

void TqvButton::DrawFocusRectangle(TCanvas* ACanvas, TqvsCtrlState S) {
  if (!FCanFocused || !Focused() || !FShowFocusRect) return;
  const int w = Width(), h = Height();
  const bool split = HasDropDown() && FSplitButton;
  const bool bottom = FArrowPosition == qvapBottom;
  TRect r{};
  switch (FStyleKind) {
    case qvbsPushButtonTransparent:
      if (!IsActiveState(S)) return;
      [[fallthrough]];
    case qvbsPushButton:
    case qvbsSegmentedLeft:
    case qvbsSegmentedMiddle:
    case qvbsSegmentedRight:
      // The face draws the focus unless the button is split.
      if (IsCustomStyle() || !split) return;
      r = bottom ? TRect{3, 3, w - 3, h - FSplitWidth - 1} : TRect{3, 3, w - FSplitWidth - 1, h - 3};
      break;
    case qvbsTransparent:
    case qvbsLink:
      r = {0, 0, w, h};
      if (split) {
        if (bottom)
          r.Bottom = h - FSplitWidth + 1;
        else
          r.Right = w - FSplitWidth + 1;
      }
      break;
    case qvbsDropDownCombo: r = {4, 4, w - FSplitWidth - 1, h - 4}; break;
    default: return;
  }
  DrawFocusRectScaled(ACanvas, r, ScaleFactor());
}

void TqvButton::DrawDropDownPart(TCanvas* ACanvas, TRect& R, TqvsCtrlState S, TColor& C) {
  const int w = Width(), h = Height();
  const bool bottom = FArrowPosition == qvapBottom;
  const double scale = ScaleFactor();
  // 1. Room for the arrow.
  const int shrink = FSplitButton ? FSplitWidth - 2 : FShowMenuArrow ? FSplitWidth - 5 : 0;
  if (bottom)
    R.Bottom -= shrink;
  else
    R.Right -= shrink;
  // 2. The strip of a drop-down opened from the arrow shows pressed.
  const TRect strip = bottom ? TRect{0, h - FSplitWidth, w, h} : TRect{w - FSplitWidth, 0, w, h};
  if (FMenuDroppedDown && FStyleKind != qvbsTransparent && FStyleKind != qvbsLink) {
    HDC dc = ACanvas->Handle();
    const int saved = SaveDC(dc);
    TColor pressed;
    try {
      if (IsThemed() && FStyleKind != qvbsColorButton) {
        IntersectClipRect(dc, strip.Left, strip.Top, strip.Right, strip.Bottom);
        pressed = DrawFace(ACanvas, {0, 0, w, h}, qvsPressed, false);
      } else {
        TRect r = strip;
        if (IsToolKind(FStyleKind)) InflateRect(&r, -1, -1);
        pressed = DrawFace(ACanvas, r, qvsPressed, false);
      }
    } catch (...) {
      RestoreDC(dc, saved);
      throw;
    }
    RestoreDC(dc, saved);
    if (FStyleKind == qvbsHeaderSection || FStyleKind == qvbsTab || FStyleKind == qvbsTabTransparent)
      pressed = FStyleKind == qvbsHeaderSection ? GetHeaderTextColor(S) : GetTabButtonTextColor(S);
    if (pressed != clNone) C = pressed;
  }
  // 3. The arrow's rectangle, clear of half the skin's content margin.
  TRect a = bottom ? TRect{2, h - FSplitWidth, w - 2, h} : TRect{w - FSplitWidth, 2, w, h - 2};
  TRect margins{};
  if ((FStyleKind == qvbsCustomImage || FStyleKind == qvbsCustomImageOverContent) && FCustomImages) {
    const int skin = CustomImageIndexForState(S);
    if (CustomImageAvailable(skin)) margins = FCustomImages->GetContentMargins(skin, scale);
  }
  if (bottom)
    a.Bottom -= margins.Bottom / 2;
  else
    a.Right -= margins.Right / 2;
  // 4. The arrow.
  if (FShowMenuArrow || FSplitButton) {
    if (FStyleKind == qvbsDropDownCombo) {
      a.Right -= 2;
      DrawDropDownArrow(ACanvas, a, C, scale);
    } else {
      DrawArrowByDirection(ACanvas, a, C, scale, 4);
    }
  }
  // 5. The line between body and strip of a split button.
  if (!FSplitButton) return;
  if (FStyleKind == qvbsColorButton) {
    FColorOptions->SetState(S);
    TColor line = FColorOptions->FrameColor();
    if (line == clNone) line = FColorOptions->PressedColor();
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(line);
    ACanvas->FillRect(bottom ? TRect{a.Left, a.Top, a.Right, a.Top + 1} : TRect{a.Left, a.Top, a.Left + 1, a.Bottom});
    ACanvas->Brush()->SetStyle(bsClear);
  } else if (FStyleKind == qvbsPushButton || (S != qvsNormal && S != qvsDisabled)) {
    if (bottom)
      DrawHorzSeparator(ACanvas, a);
    else
      DrawVertSeparator(ACanvas, a);
  }
}

void TqvButton::Draw(TCanvas* ACanvas, TqvsCtrlState S) {
  const int w = Width(), h = Height();
  const double scale = ScaleFactor();
  TRect R{0, 0, w, h};
  HDC dc = ACanvas->Handle();
  const bool hasDropDown = HasDropDown();
  const bool bottom = FArrowPosition == qvapBottom;
  // 1. Ground.
  if (!FTransparentBackground) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(GetStyleSystemColor(clBtnFace));
    ACanvas->FillRect(R);
  }
  // 2. Arrow kinds: the element alone.
  if (IsSpinKind(FStyleKind) || FStyleKind == qvbsDropDownButton) {
    DrawFace(ACanvas, R, S, false);
    return;
  }
  // 3.-4. The face, clipped to the body while the strip shows pressed.
  const bool clipBody = IsThemed() && FMenuDroppedDown && FStyleKind != qvbsTransparent &&
                        FStyleKind != qvbsColorButton && FStyleKind != qvbsLink;
  const bool focusMark = FCanFocused && Focused() && (FShowFocusRect || !IsThemed()) && !(hasDropDown && FSplitButton);
  TColor T;
  {
    const int saved = clipBody ? SaveDC(dc) : 0;
    if (clipBody) {
      const TRect body = bottom ? TRect{0, 0, w, h - FSplitWidth} : TRect{0, 0, w - FSplitWidth, h};
      IntersectClipRect(dc, body.Left, body.Top, body.Right, body.Bottom);
    }
    try {
      T = DrawFace(ACanvas, R, S, focusMark);
    } catch (...) {
      if (clipBody) RestoreDC(dc, saved);
      throw;
    }
    if (clipBody) RestoreDC(dc, saved);
  }
  // 5.
  ACanvas->Brush()->SetStyle(bsClear);
  const bool fontFromStyle = StyleElements().Contains(seFont) && (IsCustomStyle() || S == qvsDisabled);
  TRect margins{};
  if ((FStyleKind == qvbsCustomImage || FStyleKind == qvbsCustomImageOverContent) &&
      CustomImageAvailable(CustomImageIndexForState(S)))
    margins = FCustomImages->GetContentMargins(CustomImageIndexForState(S), scale);
  // 6. Title.
  if (!FTitle.empty()) {
    ACanvas->Font()->Assign(FTitleFont);
    if (FStyleKind == qvbsColorButton) {
      FColorOptions->SetState(S);
      ACanvas->Font()->SetColor(FColorOptions->TitleFontColor());
    } else if (fontFromStyle) {
      ACanvas->Font()->SetColor(T);
    }
    int left = margins.Left < 1 ? 5 : margins.Left;
    if (FScaleMarginAndSpacing) left = Round(left * scale);
    TRect title{left, 5, w - 5, 5 + ACanvas->TextHeight("Wq")};
    if (hasDropDown && !bottom) title.Right = w - FSplitWidth - 1;
    if (scale > 1.25) {
      title.Left += 2;
      title.Right -= 2;
    }
    DrawSingleLineText(ACanvas, FTitle, title, false, UseRightToLeftReading());
    R.Top += title.Height();
  }
  // 7. Caption font.
  ACanvas->Font()->Assign(Font());
  if (FStyleKind == qvbsColorButton) {
    FColorOptions->SetState(S);
    ACanvas->Font()->SetColor(FColorOptions->FontColor());
  } else if (fontFromStyle) {
    ACanvas->Font()->SetColor(T);
  } else if (!Enabled()) {
    ACanvas->Font()->SetColor(clGrayText);
  }
  if (FStyleKind == qvbsLink && IsActiveState(S)) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + fsUnderline);
  // 8. Focus rectangle.
  DrawFocusRectangle(ACanvas, S);
  // 9. Drop-down arrow, pressed strip and split line.
  if (hasDropDown) {
    TColor C = ACanvas->Font()->Color();
    DrawDropDownPart(ACanvas, R, S, C);
    ACanvas->Brush()->SetStyle(bsClear);
  }
  // 10. Content rectangle.
  if (margins.Left > 0 || margins.Top > 0 || margins.Right > 0 || margins.Bottom > 0) {
    R.Left += margins.Left;
    R.Top += margins.Top;
    if (FDropDownMenu || FGalleryMenu) {
      R.Right -= bottom ? margins.Right : margins.Right / 2;
      R.Bottom -= bottom ? margins.Bottom / 2 : margins.Bottom;
    } else {
      R.Right -= margins.Right;
      R.Bottom -= margins.Bottom;
    }
  } else {
    InflateRect(&R, -3, -3);
  }
  if (scale > 1.25) InflateRect(&R, -2, -2);
  const bool glow = FGlowEffect->Enabled();
  if (glow) InflateRect(&R, -(FGlowEffect->GlowSize() / 2), -(FGlowEffect->GlowSize() / 2));
  // 11.-13. What to show.
  String text = Caption();
  int imageIndex = ImageIndexForState(S);
  TCustomImageList* images = FImages;
  if (FStyleKind == qvbsTab && S != qvsPressed && S != qvsFocused && !IsThemed()) R.Top += 2;
  {
    String itemCaption;
    int itemImage = -1;
    TCustomImageList* galleryImages = nullptr;
    if (GallerySelectedItem(itemCaption, itemImage, galleryImages)) {
      if (FUseGalleryMenuCaption) text = itemCaption;
      if (FUseGalleryMenuImage && galleryImages) {
        images = galleryImages;
        imageIndex = itemImage;
      }
    }
  }
  if (!FShowCaption) text.clear();
  // 14. Margin and spacing, or the fixed image column.
  int M = FMargin, P = FSpacing;
  if (FImageMargin > 0 && images) {
    const int iw = images->Width();
    M = FImageMargin / 2 - iw / 2 - 3;
    P = FImageMargin + FSpacing - M - iw;
    if (glow) {
      M -= FGlowEffect->GlowSize() / 2;
      P -= FGlowEffect->GlowSize() / 2;
    }
  }
  // 15. Content.
  const bool vertical = FLayout == blGlyphTop || FLayout == blGlyphBottom;
  const bool rtl = UseRightToLeftReading();
  const bool enabled = S != qvsDisabled;
  if (OnPaintContent) {
    OnPaintContent(ACanvas, R, S);
  } else {
    TColor glowColor = clNone;
    uint8_t alpha = 0;
    int glowSize = 0;
    if (glow && GetGlowParams(S, glowColor, alpha, glowSize)) {
      const bool rebuild = GlowBufferChanged(ACanvas, glowColor, images, imageIndex, R, alpha, glowSize);
      const bool intensive = FGlowEffect->Intensive();
      const int offset = FGlowEffect->Offset();
      if (vertical)
        DrawImageAndTextWithCachedGlow(ACanvas, R, FLayout, M, P, images, imageIndex, text, enabled, false, rtl,
                                       FGlowBuffer, FGlowImageBuffer, rebuild, FWordWrap, scale, false, alpha,
                                       intensive, glowSize, glowColor, offset, FImageGlow, clNone, false);
      else
        DrawImageAndTextLeftWithCachedGlow(ACanvas, R, FLayout, M, P, images, imageIndex, text, enabled, false, rtl,
                                           FGlowBuffer, FGlowImageBuffer, rebuild, FWordWrap, scale, false, alpha,
                                           intensive, glowSize, glowColor, offset, FImageGlow, clNone, false);
    } else if (vertical) {
      DrawImageAndText(ACanvas, R, FLayout, M, P, images, imageIndex, text, enabled, false, rtl, FWordWrap, scale,
                       false, clNone, false);
    } else {
      DrawImageAndTextLeft(ACanvas, R, FLayout, M, P, images, imageIndex, text, enabled, false, rtl, FWordWrap, scale,
                           false, clNone, false);
    }
  }
  // 16. A skin over everything.
  if (FStyleKind == qvbsCustomImageOverContent) {
    const int skin = CustomImageIndexForState(S);
    if (CustomImageAvailable(skin)) FCustomImages->Draw(ACanvas, {0, 0, w, h}, skin, scale);
  }
}
