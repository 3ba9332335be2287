// What the control tests share: controls on a host in a top-level window that covers the
// screen's top-left corner (host client, window surface and screen coordinates agree), an
// application per test for the message loop, and a picture in which every pixel differs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "backend/Headless.h"
#include "support/Canvas.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "win/Paint.h"
#include "win/Queue.h"

// Red from x and green from y, so that a pixel tells where it was painted.
inline COLORREF PatternColor(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 0x40); }

// Paints the pattern over the whole canvas of a control of the given size.
inline void PaintPattern(TCanvas* Canvas, int Width, int Height) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) {
    auto* row = static_cast<uint32_t*>(picture.ScanLine(y));
    for (int x = 0; x < Width; ++x) row[x] = 0xFF000000u | (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | 0x40;
  }
  Canvas->Draw(0, 0, &picture);
}

class ControlFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(nullptr);
    FSavedFocusHook = FocusChangedHook;
    FSavedExceptionHook = ExceptionHandlerHook;
    FSavedApplication = Application;
    Application = new TApplication(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "QvControlTestTop";
    ASSERT_NE(RegisterClass(&wc), 0);
    Top = CreateWindowEx(0, "QvControlTestTop", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                         nullptr);
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

  // Dispatches what is ready the application's way (mouse messages update the control
  // under the mouse), then lets released objects go as the loop does when it is idle.
  static void Run() {
    Application->ProcessMessages();
    ProcessDeferredReleases();
  }
  static void Advance(uint64_t ms) { Headless()->Advance(ms); }
  static void Mouse(InputKind kind, int x, int y) {
    Headless()->Inject({.Kind = kind, .Screen = {x, y}, .Button = kButtonLeft});
  }
  COLORREF At(int x, int y) const { return ColorRefFromPixel(Top->Pixels->At(x, y)); }
  // The top-level surface, for a picture of a failed test.
  void SaveScreenIfFailed(const char* tag) const {
    if (!::testing::Test::HasFailure()) return;
    TestCanvas copy(Top->Pixels->Width(), Top->Pixels->Height());
    for (int y = 0; y < copy.Height(); ++y)
      for (int x = 0; x < copy.Width(); ++x) copy.Pixels().At(x, y) = Top->Pixels->At(x, y) | 0xFF000000u;
    SaveIfFailed(copy, tag);
  }
  // Where the pixels of the rectangle (surface coordinates) differ from the pattern drawn
  // with its top-left at Origin; empty when none does.
  std::string PatternMismatch(const TRect& Area, TPoint Origin) const {
    for (int y = Area.Top; y < Area.Bottom; ++y)
      for (int x = Area.Left; x < Area.Right; ++x)
        if (At(x, y) != PatternColor(x - Origin.X, y - Origin.Y))
          return "pixel " + std::to_string(x) + "," + std::to_string(y);
    return {};
  }

  HWND Top = nullptr;
  TWinControl* Host = nullptr;

 private:
  std::function<void(TWinControl*)> FSavedFocusHook;
  std::function<void(const std::exception&)> FSavedExceptionHook;
  TApplication* FSavedApplication = nullptr;
};
