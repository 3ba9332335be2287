// What the grab, freeze and animation tests share: controls on a host in a top-level window
// that covers the screen's top-left corner, an application per test for the message loop,
// and controls of the control base that fill themselves with one colour.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "gx_effect/Engine.h"
#include "qvControls/CustomControl.h"
#include "support/Canvas.h"
#include "support/ControlHost.h"
#include "vcl/Forms.h"

namespace gxtest {

// Fills itself with Ink; counts the presses that reach it and how it was painted last.
class TFlat : public TqvCustomControl {
  QV_CLASS(TFlat, TqvCustomControl)
  explicit TFlat(TComponent* AOwner) : TqvCustomControl(AOwner) {
    SetTransparentBackground(false);
    SetControlStyle(ControlStyle() + csAcceptsControls);
  }
  TColor Ink = clRed;
  int Presses = 0;
  bool PaintedAsCopy = false;
  // Thrown from Draw when set.
  std::function<void()> Fail;

  void SetInk(TColor Value) {
    Ink = Value;
    Invalidate();
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState) override {
    PaintedAsCopy = ControlState().Contains(csPaintCopy);
    if (Fail) Fail();
    ACanvas->Brush()->SetColor(Ink);
    ACanvas->FillRect({0, 0, Width(), Height()});
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    ++Presses;
    TqvCustomControl::MouseDown(Button, Shift, X, Y);
  }
};

// A flat control with a one-pixel window border (WS_BORDER).
class TBorderedFlat : public TFlat {
  QV_CLASS(TBorderedFlat, TFlat)
  explicit TBorderedFlat(TComponent* AOwner) : TFlat(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TFlat::CreateParams(Params);
    Params.Style |= WS_BORDER;
  }
};

// A graphic control filled with Ink.
class TSwatch : public TGraphicControl {
  QV_CLASS(TSwatch, TGraphicControl)
  explicit TSwatch(TComponent* AOwner) : TGraphicControl(AOwner) {}
  TColor Ink = clYellow;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Ink);
    Canvas()->FillRect({0, 0, Width(), Height()});
  }
};

class GrabFixture : public ControlHostTest {
 protected:
  GrabFixture() : ControlHostTest({.OwnApplication = true}) {}

  void TearDown() override {
    for (int i = 0; i < gxSlotCount; ++i) StopEffect(i, false);
    ControlHostTest::TearDown();
  }

  using ControlHostTest::Make;
  template <class T>
  static T* Make(TWinControl* Parent, TRect Bounds, TColor Ink) {
    T* control = Make<T>(Parent, Bounds);
    control->Ink = Ink;
    return control;
  }

  static void Click(int x, int y) {
    Mouse(InputKind::MouseDown, x, y);
    Mouse(InputKind::MouseUp, x, y);
  }
  // Where the screen differs from Ink inside the rectangle; empty when nowhere.
  std::string ScreenMismatch(const TRect& Area, COLORREF Ink) const {
    return Mismatch(Area, [Ink](int, int) { return Ink; });
  }
};

}  // namespace gxtest
