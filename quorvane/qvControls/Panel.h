// TqvPanel: a container that paints one of eight backgrounds under an optional wallpaper
// and skin image from image collections, frames itself with one of twenty border styles
// built from a light and a shadow colour, and can show a centred caption with a glow.
#pragma once

#include <functional>

#include "qvControls/CustomControl.h"
#include "qvDrawUtils/Glow.h"

class TqvCustomImageCollection;

// The background a panel paints. The values are stored in forms, so their order is fixed.
enum TqvPanelStyleKind {
  qvpsPanel,           // Color
  qvpsToolBar,         // the style's tool bar
  qvpsHeader,          // a header section
  qvpsFormBackground,  // the style's form background
  qvpsTransparent,     // the parent's pixels
  qvpsEmpty,           // nothing at all
  qvpsEdit,            // an edit field
  qvpsTabSheet,        // the pane under a row of tabs
};

enum TqvPanelBorderStyle {
  qvpbsNone,
  qvpbsFlat,
  qvpbsRaised,
  qvpbsLowered,
  qvpbsLoweredBevel,
  qvpbsRaisedBevel,
  qvpbsTopBevel,
  qvpbsBottomBevel,
  qvpbsTopLightLine,
  qvpbsBottomLightLine,
  qvpbsTopShadowLine,
  qvpbsBottomShadowLine,
  qvpbsLeftBevel,
  qvpbsRightBevel,
  qvpbsLeftLightLine,
  qvpbsRightLightLine,
  qvpbsLeftShadowLine,
  qvpbsRightShadowLine,
  qvpbsHorzCenterBevel,
  qvpbsVertCenterBevel,
};

// Called after the background, before the caption, with the content rectangle.
using TqvPanelPaintEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect)>;

// The frame of a border style on R = (0, 0, Width, Height): Light and Shadow as given.
void DrawPanelBorder(TCanvas* ACanvas, const TRect& R, TqvPanelBorderStyle Style, TColor Light, TColor Shadow);

class TqvPanel : public TqvCustomControl {
  QV_CLASS(TqvPanel, TqvCustomControl)
  explicit TqvPanel(TComponent* AOwner);
  ~TqvPanel() override;

  TqvPanelStyleKind StyleKind() const { return FStyleKind; }
  void SetStyleKind(TqvPanelStyleKind Value);
  TqvPanelBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TqvPanelBorderStyle Value);
  TColor LightBorderColor() const { return FLightBorderColor; }
  void SetLightBorderColor(TColor Value);
  TColor ShadowBorderColor() const { return FShadowBorderColor; }
  void SetShadowBorderColor(TColor Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  TqvGlowEffect* CaptionGlowEffect() const { return FCaptionGlowEffect; }
  void SetCaptionGlowEffect(TqvGlowEffect* Value) { FCaptionGlowEffect->Assign(Value); }
  // The caption's alignment; left and right swap under right-to-left alignment.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

  // The wallpaper lies over the background, the skin (custom image) between the two.
  TqvCustomImageCollection* Wallpapers() const { return FWallpapers; }
  void SetWallpapers(TqvCustomImageCollection* Value);
  int WallpaperIndex() const { return FWallpaperIndex; }
  void SetWallpaperIndex(int Value);
  TqvCustomImageCollection* CustomImages() const { return FCustomImages; }
  void SetCustomImages(TqvCustomImageCollection* Value);
  int CustomImageIndex() const { return FCustomImageIndex; }
  void SetCustomImageIndex(int Value);

  // A qvpsEmpty panel skips painting entirely while this is set; otherwise it paints
  // like qvpsPanel.
  bool CanEmpty() const { return FCanEmpty; }
  void SetCanEmpty(bool Value);
  // A qvpsEdit panel draws as a flat window-coloured area with its border (popup windows).
  bool PopupMode() const { return FPopupMode; }
  void SetPopupMode(bool Value);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

  TqvPanelPaintEvent OnPanelPaint;

 protected:
  void Paint() override;
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override;
  void AdjustClientRect(TRect& Rect) override;
  void CreateParams(TCreateParams& Params) override;

  // Called on a resize when no background needs a full update; empty here.
  virtual void SizeChanged() {}
  // The caption to show: the control's text.
  virtual void GetCaptionText(String& AText);
  virtual TColor GetCaptionColor();
  // Drawn over the background, before OnPanelPaint; empty here.
  virtual void DrawPanelContent(TCanvas* /*ACanvas*/, const TRect& /*ARect*/, TqvsCtrlState /*ACtrlState*/) {}

  // The border in the colours of the active style.
  void DrawBorder(TCanvas* ACanvas, const TRect& R);
  bool WallpaperAvailable() const;
  bool CustomImageAvailable() const;

  TqvPanelStyleKind FStyleKind = qvpsPanel;
  TqvCustomImageCollection* FWallpapers = nullptr;
  int FWallpaperIndex = -1;
  TqvCustomImageCollection* FCustomImages = nullptr;
  int FCustomImageIndex = -1;
  TqvPanelBorderStyle FBorderStyle = qvpbsNone;
  TColor FLightBorderColor = clBtnHighlight;
  TColor FShadowBorderColor = clBtnShadow;
  bool FShowCaption = false;
  TqvGlowEffect* FCaptionGlowEffect;
  TAlignment FAlignment = taCenter;
  // The caption's glow layer and what it was made for.
  TBitmap* FGlowBuffer = nullptr;
  String FStoredCaption;
  TColor FStoredGlowColor = clNone;
  int FStoredFontSize = 0;
  String FStoredFontName;
  TFontStyles FStoredFontStyle;
  TBiDiMode FStoredBiDiMode = bdLeftToRight;
  bool FUpdateGlowBuffer = true;
  bool FCanEmpty = true;
  bool FPopupMode = false;

 private:
  void DrawCaption(TCanvas* ACanvas, const TRect& R);
  void ReferenceImages(TqvCustomImageCollection*& Field, TqvCustomImageCollection* Value);
  void ImagesChanged();
  TColor StyledColor(TColor Value);
};
