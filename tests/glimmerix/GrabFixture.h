// What the grab, freeze and animation tests share: controls on a host in a top-level window
// that covers the screen's top-left corner (host client, window surface and screen
// coordinates agree), an application per test for the message loop, and controls of the
// control base that fill themselves with one colour.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "backend/Headless.h"
#include "gx_effect/Engine.h"
#include "qvControls/CustomControl.h"
#include "support/Canvas.h"
#include "vcl/Forms.h"
#include "win/Paint.h"
#include "win/Queue.h"

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

class GrabFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(nullptr);
    FSavedFocusHook = FocusChangedHook;
    FSavedExceptionHook = ExceptionHandlerHook;
    FSavedApplication = Application;
    Application = new TApplication(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "GxTestTop";
    ASSERT_NE(RegisterClass(&wc), 0);
    Top = CreateWindowEx(0, "GxTestTop", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(Top, nullptr);
    Host = new TWinControl(nullptr);
    Host->SetName("Host");
    Host->SetControlStyle(Host->ControlStyle() + csAcceptsControls);
    Host->SetColor(clWhite);
    Host->SetBounds(0, 0, 400, 300);
    Host->SetParentWindow(Top);
    ASSERT_TRUE(Host->HandleAllocated());
  }
  void TearDown() override {
    for (int i = 0; i < gxSlotCount; ++i) StopEffect(i, false);
    delete Host;
    Application->Free();
    Application = FSavedApplication;
    ProcessDeferredReleases();
    ResetWindowSystem();
    FocusChangedHook = FSavedFocusHook;
    ExceptionHandlerHook = FSavedExceptionHook;
  }

  template <class T>
  static T* Make(TWinControl* Parent, TRect Bounds) {
    T* control = new T(nullptr);
    control->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    control->SetParent(Parent);
    return control;
  }
  template <class T>
  static T* Make(TWinControl* Parent, TRect Bounds, TColor Ink) {
    T* control = Make<T>(Parent, Bounds);
    control->Ink = Ink;
    return control;
  }

  // Dispatches what is ready the application's way, then lets released objects go.
  static void Run() {
    Application->ProcessMessages();
    ProcessDeferredReleases();
  }
  static void Click(int x, int y) {
    Headless()->Inject({.Kind = InputKind::MouseDown, .Screen = {x, y}, .Button = kButtonLeft});
    Headless()->Inject({.Kind = InputKind::MouseUp, .Screen = {x, y}, .Button = kButtonLeft});
  }
  COLORREF At(int x, int y) const { return ColorRefFromPixel(Top->Pixels->At(x, y)); }
  // Where the screen differs from Ink inside the rectangle; empty when nowhere.
  std::string ScreenMismatch(const TRect& Area, COLORREF Ink) const {
    for (int y = Area.Top; y < Area.Bottom; ++y)
      for (int x = Area.Left; x < Area.Right; ++x)
        if (At(x, y) != Ink) return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
  }
  // The top-level surface, for a picture of a failed test.
  void SaveScreenIfFailed(const char* tag) const {
    if (!::testing::Test::HasFailure()) return;
    TestCanvas copy(Top->Pixels->Width(), Top->Pixels->Height());
    for (int y = 0; y < copy.Height(); ++y)
      for (int x = 0; x < copy.Width(); ++x) copy.Pixels().At(x, y) = Top->Pixels->At(x, y) | 0xFF000000u;
    SaveIfFailed(copy, tag);
  }

  HWND Top = nullptr;
  TWinControl* Host = nullptr;

 private:
  std::function<void(TWinControl*)> FSavedFocusHook;
  std::function<void(const std::exception&)> FSavedExceptionHook;
  TApplication* FSavedApplication = nullptr;
};

}  // namespace gxtest
