// TqvCustomControl: the base of every custom-drawn control. It always paints through an
// off-screen bitmap, can show its parent's pixels behind itself (transparent background)
// and keeps that background image up to date when it or its parent moves, resizes or
// changes. A derived class only implements Draw.
#pragma once

#include "qvDrawUtils/Types.h"
#include "vcl/Controls.h"

// A control's parent's image behind it may have changed (no parameters). The number,
// WM_USER + 260, is defined with the window messages; it is stored in programs.
static_assert(WM_UPDATEPARENTBACKGROUND == 0x0504);

// Paints into Canvas, in Control's client coordinates, what lies behind Control: its
// parent's background and the visible graphic siblings under it. Nothing without a parent.
void DrawParentBackground(TControl* Control, TCanvas* Canvas);

class TqvCustomControl : public TCustomControl {
  QV_CLASS(TqvCustomControl, TCustomControl)
  explicit TqvCustomControl(TComponent* AOwner);
  ~TqvCustomControl() override;

  // Keep the last painted image between paints: transparent children then copy their
  // backgrounds from it instead of having this control render itself for each of them.
  bool StorePaintBuffer() const { return FStorePaintBuffer; }
  void SetStorePaintBuffer(bool Value);
  // Never below 1.0; pixel sizes given for 100 % are multiplied by it. (TControl's own
  // factor follows every scale change, also below 1.0.)
  double ScaleFactor() const { return FScaleFactor; }

  // The state Draw paints in now.
  virtual TqvsCtrlState GetCtrlState();
  // Repaints at once, reusing the cached parent background, without an erase pass.
  virtual void RePaintControl();

  // While the bounds change, no erase pass of the control or its direct children paints.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Scales the percent the control keeps and calls OnChangeScale when the factor changed.
  // Derived classes scale their own pixel sizes after calling this.
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  void UpdateStyleElements() override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChangeScale;

 protected:
  void Paint() override;
  // Stores the flag only; derived classes publish TransparentBackground.
  bool TransparentBackground() const { return FTransparentBackground; }
  virtual void SetTransparentBackground(bool Value);
  // Whether WM_ERASEBKGND may paint the whole control into its DC.
  virtual bool CanDrawOnBackground();
  // Sends WM_UPDATEPARENTBACKGROUND to every visible child.
  virtual void UpdateChildrenBackground();
  // Draws the captured parent background (nothing when not transparent).
  virtual void DrawBackground(TCanvas* ACanvas);
  // The control's own content; empty here.
  virtual void Draw(TCanvas* /*ACanvas*/, TqvsCtrlState /*ACtrlState*/) {}
  // Captures what lies behind the control into ParentBGBuffer.
  void GetParentBG();

  bool FStopEraseBackground = false;
  bool FromWMPaint = false;
  TBitmap* ParentBGBuffer;
  bool FStorePaintBuffer = false;
  bool FDrawOnBackground = true;
  bool FTransparentBackground = true;
  bool FDrawInClientRect = false;
  double FScaleFactor = 1.0;
  int32_t FScalePercent = 100;
  bool FForceDraw = false;
  // A child is capturing this control's image as its background: Draw paints only the
  // background layer then (no frame, caption or foreground).
  bool FGetControlBG = false;
  TBitmap* FPaintBuffer = nullptr;

 private:
  void FreePaintBuffer();
  void RefreshBackground();
};
