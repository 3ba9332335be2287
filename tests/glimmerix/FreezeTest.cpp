// Freezing: the overlay over a control inside a parent (placement, its own image that every
// repaint shows, the mouse kept from the control, no activation or focus), one freeze per
// control, freezes that are recorded before messages are processed, controls and overlays
// that are freed while frozen, and the popup over a top-level window that follows it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GrabFixture.h"
#include "gx_freeze.h"
#include "win/Input.h"

namespace {

using namespace gxtest;

// A picture of one colour.
std::unique_ptr<TgxBitmap> Plain(int W, int H, COLORREF Ink) {
  auto image = std::make_unique<TgxBitmap>();
  image->SetSize(W, H);
  image->Clear(PixelFromColorRef(Ink));
  return image;
}

// Records the messages of the given kinds that reach a control.
struct Recorder {
  std::vector<UINT> Log;
  void Attach(TControl* Control, std::vector<UINT> Kinds) {
    auto previous = Control->WindowProc;
    Control->WindowProc = [this, previous, Kinds](TMessage& m) {
      if (std::find(Kinds.begin(), Kinds.end(), m.Msg) != Kinds.end()) Log.push_back(m.Msg);
      previous(m);
    };
  }
  int Count(UINT Msg) const { return int(std::count(Log.begin(), Log.end(), Msg)); }
};

using FreezeTest = GrabFixture;

TEST_F(FreezeTest, TheOverlayCoversTheRectangleWithThePictureAndGoesAtTheUnfreeze) {
  auto* panel = Make<TFlat>(Host, {20, 30, 220, 130}, clGray);
  auto* flat = Make<TFlat>(panel, {10, 10, 110, 60}, clRed);
  Run();
  auto picture = Plain(60, 30, clBlue);
  TCanvas* canvas = FreezeWindow(flat, {20, 10, 80, 40}, picture.get());
  ASSERT_NE(canvas, nullptr);
  EXPECT_TRUE(IsWindowFrozen(flat));
  TgxLockControl* overlay = FindFreezeWindow(flat);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->Parent(), panel);
  EXPECT_EQ(overlay->BoundsRect(), (TRect{30, 20, 90, 50}));
  EXPECT_EQ(overlay->ImageCanvas(), canvas);
  EXPECT_EQ(overlay->FrozenImage(), picture.get());
  // On screen at once (the panel's client origin is at (20, 30)).
  EXPECT_EQ(ScreenMismatch({50, 50, 110, 80}, clBlue), "");
  EXPECT_EQ(At(49, 50), COLORREF(clRed));
  EXPECT_EQ(At(110, 50), COLORREF(clRed));

  flat->SetInk(clLime);
  Run();
  EXPECT_EQ(ScreenMismatch({50, 50, 110, 80}, clBlue), "") << "the change stays under the overlay";
  EXPECT_EQ(At(45, 45), COLORREF(clLime));

  UnfreezeWindow(flat, false);
  EXPECT_FALSE(IsWindowFrozen(flat));
  EXPECT_EQ(FindFreezeWindow(flat), nullptr);
  EXPECT_TRUE(gxFreezeList().empty());
  Run();
  EXPECT_EQ(ScreenMismatch({30, 40, 130, 90}, clLime), "");
  SaveScreenIfFailed("unfrozen");
}

TEST_F(FreezeTest, ASecondFreezeOfAFrozenControlIsRefusedAndChangesNothing) {
  auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
  Run();
  auto first = Plain(100, 50, clBlue), second = Plain(100, 50, clLime);
  TCanvas* canvas = FreezeWindow(flat, {0, 0, 100, 50}, first.get());
  ASSERT_NE(canvas, nullptr);
  TgxLockControl* overlay = FindFreezeWindow(flat);
  EXPECT_EQ(FreezeWindow(flat, {0, 0, 100, 50}, second.get()), nullptr);
  EXPECT_EQ(gxFreezeList().size(), 1u);
  EXPECT_EQ(FindFreezeWindow(flat), overlay);
  EXPECT_EQ(overlay->FrozenImage(), first.get());
  Run();
  EXPECT_EQ(ScreenMismatch({10, 10, 110, 60}, clBlue), "");
  EXPECT_EQ(FreezeWindow(nullptr, {0, 0, 10, 10}, first.get()), nullptr);

  UnfreezeWindow(flat, false);
  UnfreezeWindow(flat, false);
  // Free again: a new freeze works.
  ASSERT_NE(FreezeWindow(flat, {0, 0, 100, 50}, second.get()), nullptr);
  Run();
  EXPECT_EQ(ScreenMismatch({10, 10, 110, 60}, clLime), "");
  UnfreezeWindow(flat, false);
}

TEST_F(FreezeTest, WhatIsDrawnOnTheCanvasIsWhatEveryRepaintOfTheOverlayShows) {
  auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
  Run();
  auto picture = Plain(100, 50, clBlue);
  TCanvas* canvas = FreezeWindow(flat, {0, 0, 100, 50}, picture.get());
  ASSERT_NE(canvas, nullptr);
  // A frame drawn on the canvas reaches the screen with the next paint.
  canvas->Brush()->SetColor(clYellow);
  canvas->FillRect({0, 0, 40, 50});
  Run();
  EXPECT_EQ(ScreenMismatch({10, 10, 50, 60}, clYellow), "");
  EXPECT_EQ(ScreenMismatch({50, 10, 110, 60}, clBlue), "");
  // An expose (the whole overlay invalidated and erased) shows that frame, not the
  // frozen picture.
  TgxLockControl* overlay = FindFreezeWindow(flat);
  InvalidateRect(overlay->WindowHandle(), nullptr, TRUE);
  RedrawWindow(Host->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  Run();
  EXPECT_EQ(ScreenMismatch({10, 10, 50, 60}, clYellow), "");
  EXPECT_EQ(ScreenMismatch({50, 10, 110, 60}, clBlue), "");
  UnfreezeWindow(flat, false);
  SaveScreenIfFailed("expose");
}

TEST_F(FreezeTest, TheOverlayTakesTheMouseButNeverTheFocusOrTheActivation) {
  auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
  auto* other = Make<TFlat>(Host, {150, 10, 200, 60}, clGray);
  other->SetTabStop(true);
  Run();
  other->SetFocus();
  ASSERT_EQ(GetFocus(), other->WindowHandle());
  auto picture = Plain(100, 50, clBlue);
  ASSERT_NE(FreezeWindow(flat, {0, 0, 100, 50}, picture.get()), nullptr);
  TgxLockControl* overlay = FindFreezeWindow(flat);
  Recorder overlayLog;
  overlayLog.Attach(overlay, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEACTIVATE});
  EXPECT_EQ(SendMessage(overlay->WindowHandle(), WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
  EXPECT_EQ(SendMessage(overlay->WindowHandle(), WM_ERASEBKGND, 0, 0), 1);
  overlayLog.Log.clear();

  Click(40, 30);
  Run();
  EXPECT_EQ(flat->Presses, 0);
  EXPECT_EQ(overlayLog.Count(WM_LBUTTONDOWN), 1);
  EXPECT_EQ(overlayLog.Count(WM_LBUTTONUP), 1);
  EXPECT_EQ(GetFocus(), other->WindowHandle());

  UnfreezeWindow(flat, false);
  Run();
  Click(40, 30);
  Run();
  EXPECT_EQ(flat->Presses, 1) << "the same click reaches the control once it is unfrozen";
}

TEST_F(FreezeTest, TheControlIsFrozenBeforeTheMessagesThatTheFreezeProcesses) {
  auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
  auto* button = Make<TFlat>(Host, {150, 10, 200, 60}, clGray);
  Run();
  auto picture = Plain(100, 50, clBlue), other = Plain(100, 50, clLime);
  std::vector<bool> seenFrozen;
  TCanvas* nested = reinterpret_cast<TCanvas*>(1);
  button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    seenFrozen.push_back(IsWindowFrozen(flat));
    nested = FreezeWindow(flat, {0, 0, 100, 50}, other.get());
  };
  Click(170, 30);  // still in the queue when the freeze begins
  TCanvas* canvas = FreezeWindow(flat, {0, 0, 100, 50}, picture.get());
  EXPECT_NE(canvas, nullptr);
  EXPECT_EQ(seenFrozen, std::vector<bool>{true});
  EXPECT_EQ(nested, nullptr);
  EXPECT_EQ(gxFreezeList().size(), 1u);
  UnfreezeWindow(flat, false);
}

TEST_F(FreezeTest, AnUnfreezeByAHandlerDuringTheFreezeMakesTheFreezeAnswerNull) {
  auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
  auto* button = Make<TFlat>(Host, {150, 10, 200, 60}, clGray);
  Run();
  auto picture = Plain(100, 50, clBlue);
  button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { UnfreezeWindow(flat, false); };
  Click(170, 30);
  EXPECT_EQ(FreezeWindow(flat, {0, 0, 100, 50}, picture.get()), nullptr);
  EXPECT_FALSE(IsWindowFrozen(flat));
  Run();
  EXPECT_EQ(At(50, 30), COLORREF(clRed));
}

TEST_F(FreezeTest, AFrozenControlOrItsOverlayFreedMeanwhileLeavesNothingDangling) {
  auto picture = Plain(100, 50, clBlue);
  {
    SCOPED_TRACE("the control goes");
    auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
    Run();
    ASSERT_NE(FreezeWindow(flat, {0, 0, 100, 50}, picture.get()), nullptr);
    const int children = Host->ControlCount();
    delete flat;
    EXPECT_TRUE(gxFreezeList().empty());
    EXPECT_EQ(Host->ControlCount(), children - 2) << "the overlay went with it";
    UnfreezeWindow(flat, false);  // a stale pointer is not found
    Run();
    EXPECT_EQ(ScreenMismatch({10, 10, 110, 60}, clWhite), "");
  }
  {
    SCOPED_TRACE("the overlay goes");
    auto* flat = Make<TFlat>(Host, {10, 10, 110, 60}, clRed);
    Run();
    ASSERT_NE(FreezeWindow(flat, {0, 0, 100, 50}, picture.get()), nullptr);
    delete FindFreezeWindow(flat);
    EXPECT_TRUE(IsWindowFrozen(flat));
    EXPECT_EQ(FindFreezeWindow(flat), nullptr);
    UnfreezeWindow(flat, false);
    EXPECT_TRUE(gxFreezeList().empty());
  }
  {
    SCOPED_TRACE("the parent goes with both");
    auto* panel = Make<TFlat>(Host, {10, 10, 210, 110}, clGray);
    auto* flat = Make<TFlat>(panel, {0, 0, 100, 50}, clRed);
    Run();
    ASSERT_NE(FreezeWindow(flat, {0, 0, 100, 50}, picture.get()), nullptr);
    delete panel;
    EXPECT_TRUE(gxFreezeList().empty());
  }
}

class FreezeTopLevel : public GrabFixture {
 protected:
  TForm* MakeForm() {
    auto* form = NewForm<TForm>(Application);
    form->SetPosition(poDesigned);
    form->SetBounds(300, 200, 240, 180);
    Make<TFlat>(form, {0, 0, 400, 400}, clRed);
    form->Show();
    Run();
    return form;
  }
  static HWND PopupOf(TControl* Control) {
    TgxLockControl* overlay = FindFreezeWindow(Control);
    return overlay ? overlay->WindowHandle() : nullptr;
  }
};

TEST_F(FreezeTopLevel, AWindowWithoutParentGetsAPopupThatFollowsIt) {
  TForm* form = MakeForm();
  Recorder formLog;
  formLog.Attach(form, {WM_MOVE});
  auto picture = Plain(100, 60, clBlue);
  ASSERT_NE(FreezeWindow(form, {20, 30, 120, 90}, picture.get()), nullptr);
  TgxLockControl* overlay = FindFreezeWindow(form);
  ASSERT_NE(overlay, nullptr);
  EXPECT_TRUE(overlay->InheritsFrom(TgxLockPopup::StaticClass()));
  HWND popup = PopupOf(form);
  ASSERT_NE(popup, nullptr);
  const DWORD style = DWORD(GetWindowLong(popup, GWL_STYLE)), exStyle = DWORD(GetWindowLong(popup, GWL_EXSTYLE));
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CHILD);
  EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(IsWindowVisible(popup));
  EXPECT_NE(GetActiveWindow(), popup);
  RECT r{};
  GetWindowRect(popup, &r);
  EXPECT_EQ(r, (RECT{320, 230, 420, 290}));
  EXPECT_EQ(GetWindow(popup, GW_OWNER), form->WindowHandle());
  EXPECT_EQ(SendMessage(popup, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(ColorRefFromPixel(popup->Pixels->At(50, 30)), COLORREF(clBlue));

  // The popup follows the window, and goes when the window is hidden.
  form->SetBounds(100, 50, 240, 180);
  EXPECT_EQ(formLog.Count(WM_MOVE), 1) << "the recorder stays behind the hook";
  GetWindowRect(popup, &r);
  EXPECT_EQ(r, (RECT{120, 80, 220, 140}));
  form->Hide();
  EXPECT_FALSE(IsWindowVisible(popup));

  // The window procedure is the one before the freeze again.
  UnfreezeWindow(form, false);
  EXPECT_FALSE(IsWindow(popup));
  form->Show();
  form->SetBounds(150, 60, 240, 180);
  EXPECT_EQ(formLog.Count(WM_MOVE), 2);
  EXPECT_EQ(FindFreezeWindow(form), nullptr);
}

TEST_F(FreezeTopLevel, ReShowingPutsTheWindowOnTopButNotTopmost) {
  TForm* form = MakeForm();
  auto picture = Plain(100, 60, clBlue);
  ASSERT_NE(FreezeWindow(form, {0, 0, 100, 60}, picture.get()), nullptr);
  form->Hide();
  UnfreezeWindow(form, true);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
  EXPECT_FALSE(DWORD(GetWindowLong(form->WindowHandle(), GWL_EXSTYLE)) & WS_EX_TOPMOST);
  EXPECT_EQ(TopLevelWindows().front(), form->WindowHandle());
}

}  // namespace
