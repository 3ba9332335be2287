// TqvLabel: a windowed, transparent text label with auto-size, vertical alignment, an
// accelerator that focuses another control, and a glow around the text.
#pragma once

#include "qvControls/CustomControl.h"
#include "qvDrawUtils/Glow.h"

// Where text lies vertically in its rectangle. Stored with labels; declared here because
// the framework layer has no text-layout type of its own.
enum TTextLayout { tlTop, tlCenter, tlBottom };

// Where a label that is not auto-sized places its text vertically.
enum TqvVertAlignment { qvvtaTop, qvvtaCenter, qvvtaBottom };

// The character after the first single "&" of Text ("&&" stands for "&" itself), or 0.
char32_t AccelCharOf(const String& Text);
// Key is the accelerator of Text, letters compared without case.
bool IsAccel(char32_t Key, const String& Text);

class TqvLabel : public TqvCustomControl {
  QV_CLASS(TqvLabel, TqvCustomControl)
  explicit TqvLabel(TComponent* AOwner);
  ~TqvLabel() override;

  TqvGlowEffect* GlowEffect() const { return FGlowEffect; }
  void SetGlowEffect(TqvGlowEffect* Value) { FGlowEffect->Assign(Value); }
  // Fit the bounds to the text (AutoSize() of the control); the left edge stays, a
  // right-aligned label (after right-to-left mirroring) keeps its right edge.
  void SetAutoSize(bool Value) override;
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TqvVertAlignment VertAlignment() const { return FVertAlignment; }
  void SetVertAlignment(TqvVertAlignment Value);
  // Focused when the caption's accelerator is pressed (Alt+key).
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  // "&" marks the accelerator and is not shown; off, the text is shown as it is.
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Under a custom style an enabled label keeps Font.Color, mapped through the style,
  // instead of the style's text colour.
  bool UseFontColorToStyleColor() const { return FUseFontColorToStyleColor; }
  void SetUseFontColorToStyleColor(bool Value);

  void Loaded() override;
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override;
  // The text to show: the control's text.
  virtual void GetLabelText(String& AText);
  // Draws the text in ARect with the DrawText flags, or measures it into ARect with
  // DT_CALCRECT (an empty text, or a lone accelerator mark, measures one line). Flags
  // without DT_RTLREADING get the control's right-to-left flags.
  virtual void DrawLabelText(TCanvas* ACanvas, TRect& ARect, UINT AFlags);
  // Fits the bounds to the text when auto-sized.
  virtual void AdjustLabelBounds();

  TWinControl* FFocusControl = nullptr;
  TAlignment FAlignment = taLeftJustify;
  TqvVertAlignment FVertAlignment = qvvtaTop;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TqvGlowEffect* FGlowEffect;
  // The glow layer and what it was made for.
  TBitmap* FGlowBuffer = nullptr;
  String FStoredCaption;
  int FStoredWidth = 0;
  int FStoredHeight = 0;
  TColor FStoredGlowColor = clNone;
  int FStoredFontSize = 0;
  String FStoredFontName;
  TFontStyles FStoredFontStyle;
  TAlignment FStoredAlignment = taLeftJustify;
  bool FStoredShowAccelChar = false;
  TTextLayout FStoredLayout = tlCenter;
  bool FStoredWordWrap = false;
  TBiDiMode FStoredBiDiMode = bdLeftToRight;
  bool FUpdateGlowBuffer = true;
  bool FUseFontColorToStyleColor = false;

 private:
  TColor TextColor();
  bool GlowKeyChanged(const String& Text);
  // Repaint and re-fit after a change of what the text looks like.
  void TextLooksChanged();
};
