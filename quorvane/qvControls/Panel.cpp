#include "qvControls/Panel.h"

#include "gdi/Gdi.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"
#include "qvImageCollection/ImageCollection.h"
#include "themes/StyleManager.h"

namespace {

// One-pixel lines, from the first coordinate up to (not including) the second.
void HorzLine(TCanvas* Canvas, int Y, int X1, int X2, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect({X1, Y, X2, Y + 1});
}

void VertLine(TCanvas* Canvas, int X, int Y1, int Y2, TColor Color) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(Color);
  Canvas->FillRect({X, Y1, X + 1, Y2});
}

// How far each border style takes the client area in from each side.
TRect BorderInsets(TqvPanelBorderStyle Style) {
  switch (Style) {
    case qvpbsFlat:
    case qvpbsRaised:
    case qvpbsLowered: return {1, 1, 1, 1};
    case qvpbsLoweredBevel:
    case qvpbsRaisedBevel: return {2, 2, 2, 2};
    case qvpbsTopBevel: return {0, 2, 0, 0};
    case qvpbsBottomBevel: return {0, 0, 0, 2};
    case qvpbsTopLightLine:
    case qvpbsTopShadowLine: return {0, 1, 0, 0};
    case qvpbsBottomLightLine:
    case qvpbsBottomShadowLine: return {0, 0, 0, 1};
    case qvpbsLeftBevel: return {2, 0, 0, 0};
    case qvpbsRightBevel: return {0, 0, 2, 0};
    case qvpbsLeftLightLine:
    case qvpbsLeftShadowLine: return {1, 0, 0, 0};
    case qvpbsRightLightLine:
    case qvpbsRightShadowLine: return {0, 0, 1, 0};
    default: return {};
  }
}

}  // namespace

void DrawPanelBorder(TCanvas* ACanvas, const TRect& R, TqvPanelBorderStyle Style, TColor Light, TColor Shadow) {
  if (!ACanvas || R.IsEmpty()) return;
  TRect r = R;
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  switch (Style) {
    case qvpbsNone: break;
    case qvpbsFlat: DrawFrame3D(ACanvas, r, Shadow, Shadow); break;
    case qvpbsRaised: DrawFrame3D(ACanvas, r, Light, Shadow); break;
    case qvpbsLowered: DrawFrame3D(ACanvas, r, Shadow, Light); break;
    case qvpbsLoweredBevel:
      DrawFrame3D(ACanvas, r, Shadow, Light);
      DrawFrame3D(ACanvas, r, Light, Shadow);
      break;
    case qvpbsRaisedBevel:
      DrawFrame3D(ACanvas, r, Light, Shadow);
      DrawFrame3D(ACanvas, r, Shadow, Light);
      break;
    case qvpbsTopBevel:
      HorzLine(ACanvas, R.Top, R.Left, R.Right, Shadow);
      HorzLine(ACanvas, R.Top + 1, R.Left, R.Right, Light);
      break;
    case qvpbsBottomBevel:
      HorzLine(ACanvas, R.Bottom - 2, R.Left, R.Right, Shadow);
      HorzLine(ACanvas, R.Bottom - 1, R.Left, R.Right, Light);
      break;
    case qvpbsTopLightLine: HorzLine(ACanvas, R.Top, R.Left, R.Right, Light); break;
    case qvpbsTopShadowLine: HorzLine(ACanvas, R.Top, R.Left, R.Right, Shadow); break;
    case qvpbsBottomLightLine: HorzLine(ACanvas, R.Bottom - 1, R.Left, R.Right, Light); break;
    case qvpbsBottomShadowLine: HorzLine(ACanvas, R.Bottom - 1, R.Left, R.Right, Shadow); break;
    case qvpbsLeftBevel:
      VertLine(ACanvas, R.Left, R.Top, R.Bottom, Shadow);
      VertLine(ACanvas, R.Left + 1, R.Top, R.Bottom, Light);
      break;
    case qvpbsRightBevel:
      VertLine(ACanvas, R.Right - 2, R.Top, R.Bottom, Shadow);
      VertLine(ACanvas, R.Right - 1, R.Top, R.Bottom, Light);
      break;
    case qvpbsLeftLightLine: VertLine(ACanvas, R.Left, R.Top, R.Bottom, Light); break;
    case qvpbsLeftShadowLine: VertLine(ACanvas, R.Left, R.Top, R.Bottom, Shadow); break;
    case qvpbsRightLightLine: VertLine(ACanvas, R.Right - 1, R.Top, R.Bottom, Light); break;
    case qvpbsRightShadowLine: VertLine(ACanvas, R.Right - 1, R.Top, R.Bottom, Shadow); break;
    case qvpbsHorzCenterBevel:
      HorzLine(ACanvas, cy - 1, R.Left, R.Right, Shadow);
      HorzLine(ACanvas, cy, R.Left, R.Right, Light);
      break;
    case qvpbsVertCenterBevel:
      VertLine(ACanvas, cx - 1, R.Top, R.Bottom, Shadow);
      VertLine(ACanvas, cx, R.Top, R.Bottom, Light);
      break;
  }
}

// ---- TqvPanel ----

TqvPanel::TqvPanel(TComponent* AOwner) : TqvCustomControl(AOwner) {
  FCaptionGlowEffect = new TqvGlowEffect;
  FCaptionGlowEffect->SetColor(clBtnShadow);
  FCaptionGlowEffect->OnChange = [this](TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    // Size, offset and intensity are not part of the layer's key: any change rebuilds it.
    FUpdateGlowBuffer = true;
    if (FShowCaption) RePaintControl();
  };
  SetColor(clBtnFace);
  FTransparentBackground = false;
  SetControlStyle(ControlStyle() + csAcceptsControls);
}

TqvPanel::~TqvPanel() {
  FreeAndNil(FGlowBuffer);
  delete FCaptionGlowEffect;
}

void TqvPanel::CreateParams(TCreateParams& Params) {
  TqvCustomControl::CreateParams(Params);
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---- properties ----

void TqvPanel::SetStyleKind(TqvPanelStyleKind Value) {
  if (Value == FStyleKind) return;
  if (FStyleKind == qvpsTransparent) {
    SetTransparentBackground(false);
    GetParentBG();  // lets the background pixels go
  }
  FStyleKind = Value;
  if (Value == qvpsTransparent) {
    SetTransparentBackground(true);
    GetParentBG();
  }
  // The edit kind keeps a different client area.
  Realign();
  RePaintControl();
  UpdateChildrenBackground();
}

void TqvPanel::SetBorderStyle(TqvPanelBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RePaintControl();
  Realign();
}

void TqvPanel::SetLightBorderColor(TColor Value) {
  if (Value == FLightBorderColor) return;
  FLightBorderColor = Value;
  RePaintControl();
}

void TqvPanel::SetShadowBorderColor(TColor Value) {
  if (Value == FShadowBorderColor) return;
  FShadowBorderColor = Value;
  RePaintControl();
}

void TqvPanel::SetShowCaption(bool Value) {
  if (Value == FShowCaption) return;
  FShowCaption = Value;
  RePaintControl();
}

void TqvPanel::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RePaintControl();
}

void TqvPanel::SetCanEmpty(bool Value) {
  if (Value == FCanEmpty) return;
  FCanEmpty = Value;
  if (FStyleKind == qvpsEmpty) RePaintControl();
}

void TqvPanel::SetPopupMode(bool Value) {
  if (Value == FPopupMode) return;
  FPopupMode = Value;
  if (FStyleKind == qvpsEdit) RePaintControl();
}

void TqvPanel::ReferenceImages(TqvCustomImageCollection*& Field, TqvCustomImageCollection* Value) {
  if (Field) Field->RemoveFreeNotification(this);
  Field = Value;
  if (Value) Value->FreeNotification(this);
}

void TqvPanel::ImagesChanged() {
  RePaintControl();
  UpdateChildrenBackground();
}

void TqvPanel::SetWallpapers(TqvCustomImageCollection* Value) {
  if (Value == FWallpapers) return;
  ReferenceImages(FWallpapers, Value);
  ImagesChanged();
}

void TqvPanel::SetWallpaperIndex(int Value) {
  if (Value == FWallpaperIndex) return;
  FWallpaperIndex = Value;
  ImagesChanged();
}

void TqvPanel::SetCustomImages(TqvCustomImageCollection* Value) {
  if (Value == FCustomImages) return;
  ReferenceImages(FCustomImages, Value);
  ImagesChanged();
}

void TqvPanel::SetCustomImageIndex(int Value) {
  if (Value == FCustomImageIndex) return;
  FCustomImageIndex = Value;
  ImagesChanged();
}

void TqvPanel::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    // Painting is left to the next paint: the collection may go while the form is freed.
    if (AComponent == FWallpapers) FWallpapers = nullptr;
    if (AComponent == FCustomImages) FCustomImages = nullptr;
  }
  TqvCustomControl::Notification(AComponent, Operation);
}

bool TqvPanel::WallpaperAvailable() const { return FWallpapers && FWallpapers->IsIndexAvailable(FWallpaperIndex); }

bool TqvPanel::CustomImageAvailable() const {
  return FCustomImages && FCustomImages->IsIndexAvailable(FCustomImageIndex);
}

// ---- geometry ----

void TqvPanel::AdjustClientRect(TRect& Rect) {
  TqvCustomControl::AdjustClientRect(Rect);
  switch (FStyleKind) {
    case qvpsPanel:
    case qvpsFormBackground:
    case qvpsTransparent: {
      const TRect in = BorderInsets(FBorderStyle);
      Rect = {Rect.Left + in.Left, Rect.Top + in.Top, Rect.Right - in.Right, Rect.Bottom - in.Bottom};
      break;
    }
    case qvpsEdit: InflateRect(&Rect, -2, -2); break;
    default: break;
  }
}

// ---- painting ----

void TqvPanel::Paint() {
  if (FStyleKind == qvpsEmpty && FCanEmpty) return;
  TqvCustomControl::Paint();
}

TColor TqvPanel::StyledColor(TColor Value) {
  return StyleElements().Contains(seClient) && IsCustomStyle() ? GetStyleSystemColor(Value) : Value;
}

void TqvPanel::DrawBorder(TCanvas* ACanvas, const TRect& R) {
  DrawPanelBorder(ACanvas, R, FBorderStyle, StyledColor(FLightBorderColor), StyledColor(FShadowBorderColor));
}

void TqvPanel::Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) {
  TRect r{0, 0, Width(), Height()};
  auto fill = [&](TColor Color) {
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(Color);
    ACanvas->FillRect(r);
  };
  const bool wallpaper = WallpaperAvailable();
  const bool skin = CustomImageAvailable();
  if (wallpaper && FWallpapers->IsSolidDrawing(FWallpaperIndex)) {
    FWallpapers->Draw(ACanvas, r, FWallpaperIndex, FScaleFactor);
    if (skin) FCustomImages->Draw(ACanvas, r, FCustomImageIndex, FScaleFactor);
    DrawBorder(ACanvas, r);
  } else {
    switch (FStyleKind) {
      case qvpsPanel:
      case qvpsEmpty:
        fill(StyledColor(Color()));
        DrawBorder(ACanvas, r);
        break;
      case qvpsToolBar:
      case qvpsHeader: {
        if (IsCustomStyle()) fill(GetStyleSystemColor(clBtnFace));
        HDC dc = ACanvas->Handle();
        const int saved = SaveDC(dc);
        if (FStyleKind == qvpsToolBar)
          DrawToolBarBackground(ACanvas, r);
        else
          DrawHeaderSection(ACanvas, r, qvsNormal);
        RestoreDC(dc, saved);
        DrawBorder(ACanvas, r);
        break;
      }
      case qvpsFormBackground:
        DrawFormBackground(ACanvas, r);
        DrawBorder(ACanvas, r);
        break;
      case qvpsTransparent: DrawBorder(ACanvas, r); break;
      case qvpsEdit:
        if (FPopupMode) {
          fill(StyledColor(clWindow));
          DrawBorder(ACanvas, r);
        } else {
          fill(GetStyleSystemColor(clBtnFace));
          DrawEditFrame(ACanvas, r, qvsNormal);
          // Skin, wallpaper and caption stay inside the frame.
          InflateRect(&r, -2, -2);
          fill(GetEditBackgroundColor(qvsNormal));
        }
        break;
      case qvpsTabSheet: {
        TRect pane = r;
        InflateRect(&pane, 4, 4);
        DrawTabPane(ACanvas, pane);
        break;
      }
    }
    // Clipped to R: tiles run past their rectangle, and an edit panel's R lies inside
    // its frame.
    auto drawImage = [&](TqvCustomImageCollection* Images, int Index) {
      HDC dc = ACanvas->Handle();
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      Images->Draw(ACanvas, r, Index, FScaleFactor);
      RestoreDC(dc, saved);
    };
    const bool reframe = FStyleKind != qvpsHeader && FStyleKind != qvpsEdit;
    if (skin) {
      drawImage(FCustomImages, FCustomImageIndex);
      if (reframe) DrawBorder(ACanvas, r);
    }
    if (wallpaper) {
      drawImage(FWallpapers, FWallpaperIndex);
      if (reframe) DrawBorder(ACanvas, r);
    }
  }

  TRect content{0, 0, Width(), Height()};
  if (FBorderStyle != qvpbsNone) InflateRect(&content, -2, -2);
  DrawPanelContent(ACanvas, content, ACtrlState);
  if (OnPanelPaint) OnPanelPaint(this, ACanvas, content);

  DrawCaption(ACanvas, r);
}

void TqvPanel::GetCaptionText(String& AText) { AText = Caption(); }

TColor TqvPanel::GetCaptionColor() {
  if (!StyleElements().Contains(seFont) || !IsCustomStyle()) return Font()->Color();
  switch (FStyleKind) {
    case qvpsHeader: return GetHeaderTextColor(qvsNormal);
    case qvpsEdit: return GetEditTextColor(qvsNormal);
    default: return GetCheckBoxTextColor(GetCtrlState());
  }
}

void TqvPanel::DrawCaption(TCanvas* ACanvas, const TRect& R) {
  if (!FShowCaption) return;
  String text;
  GetCaptionText(text);
  if (text.empty()) return;
  TRect t = R;
  InflateRect(&t, -3, -3);
  ACanvas->Font()->Assign(Font());
  ACanvas->Font()->SetColor(GetCaptionColor());
  ACanvas->Brush()->SetStyle(bsClear);
  // Left and right swap under right-to-left alignment.
  const TAlignment alignment = BiDiAlignment(FAlignment);
  const UINT flags = DT_SINGLELINE | DT_NOPREFIX;
  if (!FCaptionGlowEffect->Enabled()) {
    // Clipped to T: a long caption keeps off the border and the frame.
    const UINT align = FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    RECT rect = t;
    DrawText(ACanvas->Handle(), text, -1, &rect, DrawTextBiDiModeFlags(flags | DT_VCENTER | align));
    return;
  }
  RECT measured{0, 0, 0, 0};
  DrawText(ACanvas->Handle(), text, -1, &measured, flags | DT_CALCRECT | DrawTextBiDiModeFlagsReadingOnly());
  const int grow = FCaptionGlowEffect->GlowSize() + FCaptionGlowEffect->Offset();
  const int w = measured.Right - measured.Left + grow;
  const int h = measured.Bottom - measured.Top + grow;
  int left = t.Left + (t.Width() - w) / 2;
  if (alignment == taLeftJustify) left = t.Left;
  if (alignment == taRightJustify) left = t.Right - w;
  const int top = t.Top + (t.Height() - h) / 2;
  const TRect box{left, top, left + w, top + h};

  const TFont* font = Font();
  const TColor glowColor = FCaptionGlowEffect->GetColor();
  // The reading order shapes the layer too.
  const bool rebuild = FUpdateGlowBuffer || text != FStoredCaption || glowColor != FStoredGlowColor ||
                       font->Name() != FStoredFontName || font->Size() != FStoredFontSize ||
                       font->Style() != FStoredFontStyle || BiDiMode() != FStoredBiDiMode;
  if (rebuild) {
    FStoredCaption = text;
    FStoredGlowColor = glowColor;
    FStoredFontName = font->Name();
    FStoredFontSize = font->Size();
    FStoredFontStyle = font->Style();
    FStoredBiDiMode = BiDiMode();
    FUpdateGlowBuffer = false;
  }
  // Centred in its box, so RightToLeft only sets the reading order.
  DrawTextWithCachedGlow(FGlowBuffer, rebuild, ACanvas, true, UseRightToLeftReading(),
                         FCaptionGlowEffect->GetAlphaValue(), FCaptionGlowEffect->Intensive(),
                         FCaptionGlowEffect->GlowSize(), glowColor, FCaptionGlowEffect->Offset(),
                         DT_CENTER | DT_VCENTER | flags, text, box);
}

// ---- messages ----

void TqvPanel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE: {
      TqvCustomControl::Dispatch(Message);
      if (!FStorePaintBuffer) Repaint();
      if (FTransparentBackground || FStorePaintBuffer) return;
      const bool fullUpdate = (WallpaperAvailable() && FWallpapers->NeedFullUpdate(FWallpaperIndex)) ||
                              (CustomImageAvailable() && FCustomImages->NeedFullUpdate(FCustomImageIndex));
      if (fullUpdate)
        UpdateChildrenBackground();
      else
        SizeChanged();
      return;
    }
    case CM_TEXTCHANGED:
      TqvCustomControl::Dispatch(Message);
      if (FShowCaption) RePaintControl();
      return;
    case CM_COLORCHANGED:
      // What lies behind transparent children changed with it.
      TqvCustomControl::Dispatch(Message);
      RePaintControl();
      UpdateChildrenBackground();
      return;
    default: TqvCustomControl::Dispatch(Message); return;
  }
}
