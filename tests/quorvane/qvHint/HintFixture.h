// What the hint tests share: an application per test (hint pauses, the message loop), the
// mouse at a known place with no cursor shape (so a hint at the cursor goes
// SM_CYCURSOR below it), the screen of the headless backend (1920 x 1080, work area
// 0, 0, 1920, 1040), and pictures for image lists.
#pragma once

#include <gtest/gtest.h>

#include "support/ControlHost.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "win/Cursors.h"
#include "win/Input.h"

class HintFixture : public ControlHostTest {
 protected:
  HintFixture() : ControlHostTest({.OwnApplication = true}) {}

  static constexpr int kHintPause = 300;
  static constexpr int kHintHidePause = 1000;

  void SetUp() override {
    ControlHostTest::SetUp();
    Application->SetHintPause(kHintPause);
    Application->SetHintHidePause(kHintHidePause);
    SetCursor(nullptr);
    MoveCursor(100, 100);
  }

  void TearDown() override {
    SetCursor(nullptr);
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    ControlHostTest::TearDown();
  }

  static void MoveCursor(int X, int Y) { Headless()->SetCursorPos({X, Y}); }
  // Moves the virtual clock and runs what became due.
  void Wait(uint64_t Ms) const {
    Advance(Ms);
    Run();
  }

  static TRect WindowRect(HWND Window) {
    RECT r{};
    GetWindowRect(Window, &r);
    return r;
  }

  // An image list of Count solid Width x Height pictures.
  static TImageList* MakeImages(int Count, int Width = 16, int Height = 16) {
    auto* images = new TImageList(nullptr, Width, Height);
    for (int i = 0; i < Count; ++i) {
      TBitmap picture;
      picture.SetPixelFormat(pf24bit);
      picture.SetSize(Width, Height);
      picture.Canvas()->Brush()->SetColor(TColor(RGB(40 * i, 120, 200)));
      picture.Canvas()->FillRect({0, 0, Width, Height});
      images->Add(&picture, nullptr);
    }
    return images;
  }
};
