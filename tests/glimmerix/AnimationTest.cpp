// The animation component on the headless backend in virtual time: freeze, change,
// execute and restore; the frames that reach the overlay and what a repaint in the middle
// shows; input kept from the frozen control; second freezes that are refused without
// leaks; Restore after failures, inside the transition and after the control went; a form
// closed with caFree in the middle; graphic controls and client rectangles; the image
// properties; the animation list.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "EffectTestEffects.h"
#include "GrabFixture.h"
#include "gx_ani.h"
#include "gx_freeze.h"
#include "vcl/ExtCtrls.h"

namespace {

using namespace gxtest;

// Cell column x shows the new image once the percentage passes x: on a 100-pixel-wide
// image, the frame of p % shows p columns of the new picture.
void RevealColumns(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) Mask[x + y * W] = x < Percent ? 255 : 0;
}
const String kColumns = "[ FADE ] - Test Freeze Columns";

// Tells when it is freed.
class TTrackedBitmap : public TgxBitmap {
  QV_CLASS(TTrackedBitmap, TgxBitmap)
  TTrackedBitmap(int W, int H, COLORREF Ink, bool* Freed) : FFreed(Freed) {
    SetSize(W, H);
    Clear(PixelFromColorRef(Ink, 0x80));
  }
  ~TTrackedBitmap() override { *FFreed = true; }

 private:
  bool* FFreed;
};

// The flat control of every test is 100 x 40 at (50, 50): its middle row on screen.
constexpr int kRow = 70;

class AnimationTest : public GrabFixture {
 protected:
  void SetUp() override {
    GrabFixture::SetUp();
    testfx::RegisterTestEffects();
    static const bool registered = [] {
      RegisterEffect("Test Freeze Columns", pkFade, TgxFadeProc(&RevealColumns));
      return true;
    }();
    (void)registered;
    Flat = Make<TFlat>(Host, {50, 50, 150, 90}, clRed);
    Anim = std::make_unique<TgxAnimation>(nullptr);
    Anim->SetEffect(kColumns);
    Anim->SetTime(150);
    Run();
  }
  void TearDown() override {
    Anim.reset();
    GrabFixture::TearDown();
  }
  // How many pixels of the control's middle row show Ink on screen.
  int Columns(COLORREF Ink) const {
    int n = 0;
    for (int x = 50; x < 150; ++x) n += At(x, kRow) == Ink;
    return n;
  }
  bool Freeze() { return Anim->FreezeControl(Flat, {0, 0, 100, 40}); }

  TFlat* Flat = nullptr;
  std::unique_ptr<TgxAnimation> Anim;
};

TEST_F(AnimationTest, FreezeChangeExecuteRestoreShowsTheNewPictureAndRemovesTheOverlay) {
  EXPECT_FALSE(Anim->IsControlFrozen(Flat));
  ASSERT_TRUE(Freeze());
  EXPECT_TRUE(Anim->IsControlFrozen(Flat));
  EXPECT_TRUE(Anim->IsControlFrozen(nullptr)) << "whichever control is asked about";
  TgxLockControl* overlay = FindFreezeWindow(Flat);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(Anim->FreezeCanvas(), overlay->ImageCanvas());

  Flat->SetInk(clBlue);
  Run();
  EXPECT_EQ(Columns(clRed), 100) << "the change happens under the overlay";
  Click(60, kRow);
  Run();
  EXPECT_EQ(Flat->Presses, 0) << "the click reached the overlay";

  bool frozenWhileStarting = false;
  Anim->OnStart = [&](TObject*) { frozenWhileStarting = Anim->IsControlFrozen(Flat); };
  Anim->Execute();
  EXPECT_TRUE(frozenWhileStarting);
  EXPECT_TRUE(Anim->IsControlFrozen(Flat));
  EXPECT_EQ(Anim->State(), asNormal);
  Run();
  EXPECT_EQ(Columns(clBlue), 100) << "the overlay shows the new picture";
  EXPECT_EQ(FindFreezeWindow(Flat), overlay);

  Anim->Restore();
  EXPECT_FALSE(Anim->IsControlFrozen(Flat));
  EXPECT_EQ(FindFreezeWindow(Flat), nullptr);
  EXPECT_EQ(Anim->SourceImage(), nullptr);
  EXPECT_EQ(Anim->DestImage(), nullptr);
  EXPECT_EQ(Host->ControlCount(), 1) << "the overlay is gone";
  Run();
  EXPECT_EQ(Columns(clBlue), 100);
  Click(60, kRow);
  Run();
  EXPECT_EQ(Flat->Presses, 1);
  SaveScreenIfFailed("restored");
}

TEST_F(AnimationTest, ATransitionOfTime150DrawsEightFramesOnTheOverlayInVirtualTime) {
  ASSERT_TRUE(Freeze());
  Flat->SetInk(clBlue);
  std::vector<int> shown;  // new-picture columns on screen at each paint of the overlay
  uint64_t start = 0;
  Anim->OnStart = [&](TObject*) {
    start = Headless()->Now();
    TgxLockControl* overlay = FindFreezeWindow(Flat);
    auto previous = overlay->WindowProc;
    overlay->WindowProc = [&, previous](TMessage& m) {
      previous(m);
      if (m.Msg == WM_PAINT && Anim->State() == asExecuting) shown.push_back(Columns(clBlue));
    };
  };
  uint64_t end = 0;
  Anim->OnFinish = [&](TObject*) { end = Headless()->Now(); };
  Anim->Execute();
  EXPECT_EQ(shown, (std::vector<int>{13, 27, 40, 53, 67, 80, 93, 100}));
  EXPECT_EQ(end - start, 8u * gxTickInterval);
  Anim->Restore();
}

TEST_F(AnimationTest, ARepaintInTheMiddleOfTheTransitionShowsTheCurrentFrame) {
  ASSERT_TRUE(Freeze());
  Flat->SetInk(clBlue);
  TTimer expose(nullptr);
  expose.SetEnabled(false);
  expose.SetInterval(70);  // after the frames of 20, 40 and 60 ms
  int shown = -1;
  expose.OnTimer = [&](TObject*) {
    expose.SetEnabled(false);
    HWND overlay = FindFreezeWindow(Flat)->WindowHandle();
    RedrawWindow(Host->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    InvalidateRect(overlay, nullptr, TRUE);
    UpdateWindow(Host->WindowHandle());
    UpdateWindow(overlay);
    shown = Columns(clBlue);
  };
  Anim->OnStart = [&](TObject*) { expose.SetEnabled(true); };
  Anim->Execute();
  EXPECT_EQ(shown, 40);
  Anim->Restore();
}

TEST_F(AnimationTest, RestoreAfterAnExceptionInsideExecuteStillRemovesTheOverlay) {
  struct Case {
    const char* Name;
    bool FromOnStart;
  };
  for (const Case& c : {Case{"OnStart", true}, Case{"a handler during the transition", false}}) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(Freeze());
    Flat->SetInk(clBlue);
    bool finished = false;
    Anim->OnFinish = [&](TObject*) { finished = true; };
    TTimer failing(nullptr);
    failing.SetEnabled(false);
    failing.SetInterval(50);
    failing.OnTimer = [&](TObject*) {
      failing.SetEnabled(false);
      throw Exception("a handler failed");
    };
    if (c.FromOnStart)
      Anim->OnStart = [](TObject*) { throw Exception("cannot start"); };
    else
      Anim->OnStart = [&](TObject*) { failing.SetEnabled(true); };
    try {
      Anim->Execute();
      ADD_FAILURE() << "no exception";
    } catch (const Exception&) {
      Anim->Restore();
    }
    EXPECT_FALSE(finished);
    EXPECT_EQ(Anim->State(), asNormal);
    EXPECT_FALSE(Anim->IsControlFrozen(Flat));
    EXPECT_TRUE(gxFreezeList().empty());
    EXPECT_FALSE(gxEffectTimer()->Enabled()) << "no transition is left running";
    Run();
    EXPECT_EQ(Columns(clBlue), 100);
    Flat->SetInk(clRed);
    Run();
  }
}

// A form that owns its animation is closed with caFree while the animation processes
// messages: in FreezeControl, in Execute before the transition (the control repaints
// first), or from a timer in the middle of the transition. The caller's sequence runs to
// its end on objects that are still there; the form and its animation go when the loop
// next lets released objects go.
TEST_F(AnimationTest, AFormClosedWithCaFreeDuringTheSequenceGoesAfterRestore) {
  enum TWhen { InFreezeControl, BeforeTheTransition, InTheTransition };
  for (TWhen when : {InFreezeControl, BeforeTheTransition, InTheTransition}) {
    SCOPED_TRACE(int(when));
    TForm* form = NewForm<TForm>(Application);
    form->SetBounds(0, 0, 240, 160);
    auto* flat = Make<TFlat>(form, {10, 10, 110, 50}, clRed);
    form->Show();
    Run();
    bool formFreed = false;
    form->OnDestroy = [&](TObject*) { formFreed = true; };
    form->OnClose = [](TObject*, TCloseAction& Action) { Action = caFree; };
    auto* animation = new TgxAnimation(form);
    animation->SetEffect(kColumns);
    animation->SetTime(150);
    TTimer closer(nullptr);
    closer.SetEnabled(false);
    closer.SetInterval(50);
    closer.OnTimer = [&](TObject*) {
      closer.SetEnabled(false);
      form->Close();
    };
    int finishes = 0;
    animation->OnStart = [&](TObject*) { closer.SetEnabled(when == InTheTransition); };
    animation->OnFinish = [&](TObject*) { ++finishes; };

    if (when == InFreezeControl) form->Close();
    ASSERT_TRUE(animation->FreezeControl(flat, {0, 0, 100, 40}));
    flat->SetInk(clBlue);
    if (when == BeforeTheTransition) form->Close();
    const uint64_t start = Headless()->Now();
    try {
      animation->Execute();
    } catch (...) {
      animation->Restore();
      throw;
    }
    EXPECT_EQ(Headless()->Now() - start, 8u * gxTickInterval) << "the transition played to its end";
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(formFreed);
    animation->Restore();
    EXPECT_FALSE(animation->IsControlFrozen(flat));
    EXPECT_TRUE(gxFreezeList().empty());
    EXPECT_FALSE(formFreed);
    Run();
    EXPECT_TRUE(formFreed);
  }
}

TEST_F(AnimationTest, FreezingTwiceIsRefusedAndFreesTheImageItWasGiven) {
  bool firstFreed = false, refusedFreed = false, otherFreed = false;
  ASSERT_TRUE(Anim->FreezeControl(Flat, {0, 0, 100, 40}, new TTrackedBitmap(100, 40, clLime, &firstFreed)));
  TgxLockControl* overlay = FindFreezeWindow(Flat);

  // The same animation, for the same or another control.
  auto* second = Make<TFlat>(Host, {200, 50, 260, 90}, clGray);
  EXPECT_FALSE(Anim->FreezeControl(second, {0, 0, 60, 40}, new TTrackedBitmap(60, 40, clGray, &refusedFreed)));
  EXPECT_TRUE(refusedFreed);
  EXPECT_FALSE(IsWindowFrozen(second));
  EXPECT_FALSE(Anim->FreezeControl(Flat, {0, 0, 100, 40}));

  // Another animation, for the control that is frozen already.
  {
    TgxAnimation other(nullptr);
    EXPECT_FALSE(other.FreezeControl(Flat, {0, 0, 100, 40}, new TTrackedBitmap(100, 40, clGray, &otherFreed)));
    EXPECT_TRUE(otherFreed);
    EXPECT_FALSE(other.IsControlFrozen(Flat));
    other.Restore();
  }
  EXPECT_EQ(FindFreezeWindow(Flat), overlay) << "the first freeze is untouched";
  EXPECT_EQ(gxFreezeList().size(), 1u);
  EXPECT_FALSE(firstFreed);

  Flat->SetInk(clBlue);
  Anim->Execute();
  EXPECT_EQ(Anim->SourceImage()->GetPixel(0, 0) >> 24, 0xFFu) << "made opaque when played";
  Run();
  EXPECT_EQ(Columns(clBlue), 100);
  Anim->Restore();
  EXPECT_TRUE(firstFreed) << "an image given to an accepted freeze goes with Restore";
  EXPECT_FALSE(IsWindowFrozen(Flat));
  EXPECT_TRUE(Anim->FreezeControl(second, {0, 0, 60, 40})) << "free again";
  Anim->Restore();
}

TEST_F(AnimationTest, InputThatArrivesWhileTheFreezeProcessesMessagesFindsTheControlFrozen) {
  auto* button = Make<TFlat>(Host, {200, 50, 260, 90}, clGray);
  Run();
  std::vector<bool> answers;
  bool nestedFrozen = true;
  button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
    answers.push_back(Anim->IsControlFrozen(Flat));
    nestedFrozen = Anim->FreezeControl(Flat, {0, 0, 100, 40});
  };
  Click(220, kRow);
  ASSERT_TRUE(Freeze());
  EXPECT_EQ(answers, std::vector<bool>{true});
  EXPECT_FALSE(nestedFrozen);
  EXPECT_EQ(gxFreezeList().size(), 1u);
  Anim->Restore();
}

TEST_F(AnimationTest, RestoreIsSafeInEveryState) {
  // Nothing frozen: only the state is reset.
  Anim->SetState(asExecuting);
  Anim->Restore();
  EXPECT_EQ(Anim->State(), asNormal);

  // Frozen, never executed; then a second Restore.
  ASSERT_TRUE(Freeze());
  Anim->Restore();
  Anim->Restore();
  EXPECT_TRUE(gxFreezeList().empty());

  // Inside the transition: it stops there, the overlay goes, nothing more is drawn.
  ASSERT_TRUE(Freeze());
  Flat->SetInk(clBlue);
  TTimer cut(nullptr);
  cut.SetEnabled(false);
  cut.SetInterval(70);
  cut.OnTimer = [&](TObject*) {
    cut.SetEnabled(false);
    Anim->Restore();
  };
  bool finished = false;
  Anim->OnStart = [&](TObject*) { cut.SetEnabled(true); };
  Anim->OnFinish = [&](TObject*) { finished = true; };
  const uint64_t start = Headless()->Now();
  Anim->Execute();
  EXPECT_EQ(Headless()->Now() - start, 70u);
  EXPECT_TRUE(finished);
  EXPECT_FALSE(Anim->IsControlFrozen(Flat));
  EXPECT_EQ(Anim->SourceImage(), nullptr);
  EXPECT_FALSE(gxEffectTimer()->Enabled());
  EXPECT_TRUE(gxFreezeList().empty());
  Run();
  EXPECT_EQ(Columns(clBlue), 100);

  // After the control went.
  ASSERT_TRUE(Freeze());
  delete Flat;
  Flat = nullptr;
  EXPECT_FALSE(Anim->IsControlFrozen(nullptr)) << "the animation let go of it";
  EXPECT_TRUE(gxFreezeList().empty());
  Anim->Restore();
  Anim->Execute();
  EXPECT_EQ(Host->ControlCount(), 0);
}

TEST_F(AnimationTest, AControlFreedInTheMiddleOfTheTransitionEndsIt) {
  ASSERT_TRUE(Freeze());
  Flat->SetInk(clBlue);
  TTimer killer(nullptr);
  killer.SetEnabled(false);
  killer.SetInterval(50);
  killer.OnTimer = [&](TObject*) {
    killer.SetEnabled(false);
    delete Flat;
    Flat = nullptr;
  };
  Anim->OnStart = [&](TObject*) { killer.SetEnabled(true); };
  const uint64_t start = Headless()->Now();
  Anim->Execute();
  EXPECT_EQ(Headless()->Now() - start, 50u);
  EXPECT_FALSE(Anim->IsControlFrozen(nullptr));
  EXPECT_FALSE(gxEffectTimer()->Enabled());
  Anim->Restore();
  EXPECT_EQ(Host->ControlCount(), 0);
}

TEST_F(AnimationTest, AGraphicControlIsFrozenThroughItsParentOverItsPlace) {
  auto* panel = Make<TBorderedFlat>(Host, {200, 20, 320, 120}, clGray);
  auto* swatch = Make<TSwatch>(panel, {10, 20, 50, 60}, clYellow);
  Run();
  const TRect client = [&] {
    RECT window{};
    GetWindowRect(panel->Handle(), &window);
    POINT origin{};
    ClientToScreen(panel->Handle(), &origin);
    return TRect{origin.X - window.Left, origin.Y - window.Top, 0, 0};
  }();
  ASSERT_TRUE(Anim->FreezeControl(swatch, {5, 5, 30, 30}));
  EXPECT_EQ(Anim->FreezedControl(), panel);
  EXPECT_EQ(Anim->FreezeRect(), (TRect{client.Left + 15, client.Top + 25, client.Left + 40, client.Top + 50}));
  EXPECT_TRUE(IsWindowFrozen(panel));
  EXPECT_EQ(FindFreezeWindow(panel)->BoundsRect(),
            (TRect{200 + client.Left + 15, 20 + client.Top + 25, 200 + client.Left + 40, 20 + client.Top + 50}));
  Run();
  EXPECT_EQ(ScreenMismatch({200 + client.Left + 15, 20 + client.Top + 25, 200 + client.Left + 40, 20 + client.Top + 50},
                           clYellow),
            "");
  Anim->Restore();
}

TEST_F(AnimationTest, FreezeControlClientCoversTheRectangleOfTheClientArea) {
  auto* panel = Make<TBorderedFlat>(Host, {200, 20, 320, 120}, clGray);
  Run();
  RECT window{};
  GetWindowRect(panel->Handle(), &window);
  POINT origin{};
  ClientToScreen(panel->Handle(), &origin);
  const int bx = origin.X - window.Left, by = origin.Y - window.Top;
  ASSERT_GT(bx, 0);
  // Cut to the client area, which ends the border's width before the outer edge.
  ASSERT_TRUE(Anim->FreezeControlClient(panel, {10, -5, 500, 30}));
  EXPECT_EQ(Anim->FreezeRect(), (TRect{bx + 10, by, 120 - bx, by + 30}));
  Anim->Restore();
  EXPECT_FALSE(Anim->FreezeControlClient(nullptr, {0, 0, 10, 10}));
}

TEST_F(AnimationTest, ForceControlUpdateRedrawsTheControlWhenItIsRestored) {
  ASSERT_TRUE(Freeze());
  std::vector<std::pair<UINT, WPARAM>> log;
  auto previous = Flat->WindowProc;
  Flat->WindowProc = [&, previous](TMessage& m) {
    if (m.Msg == WM_SETREDRAW || m.Msg == WM_PAINT) log.push_back({m.Msg, m.Msg == WM_SETREDRAW ? m.WParam : 0});
    previous(m);
  };
  Anim->SetForceControlUpdate(true);
  Anim->Restore();
  EXPECT_FALSE(Anim->ForceControlUpdate());
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], (std::pair<UINT, WPARAM>{WM_SETREDRAW, 0}));
  EXPECT_EQ(log[1], (std::pair<UINT, WPARAM>{WM_SETREDRAW, 1}));
  EXPECT_EQ(log[2].first, UINT(WM_PAINT)) << "painted before Restore returns";
  Flat->WindowProc = previous;
}

TEST_F(AnimationTest, ExecuteImagePlaysBetweenTheHeldImagesOnAnyCanvas) {
  TestCanvas sheet(120, 60, 0xFF808080u);
  TCanvas canvas;
  canvas.SetHandle(sheet.DC());
  int starts = 0, finishes = 0;
  Anim->OnStart = [&](TObject*) { ++starts; };
  Anim->OnFinish = [&](TObject*) { ++finishes; };
  Anim->ExecuteImage(&canvas, 10, 10);  // no images: nothing
  Anim->Execute();                      // nothing frozen: nothing
  EXPECT_EQ(starts, 0);

  bool sourceFreed = false, destFreed = false;
  Anim->SetSourceImage(new TTrackedBitmap(100, 40, clRed, &sourceFreed));
  Anim->SetDestImage(new TTrackedBitmap(100, 40, clBlue, &destFreed));
  EXPECT_EQ(Anim->SourceImage()->GetPixel(0, 0) >> 24, 0xFFu);
  const uint64_t start = Headless()->Now();
  Anim->ExecuteImage(&canvas, 10, 10);
  canvas.SetHandle(nullptr);
  EXPECT_EQ(Headless()->Now() - start, 8u * gxTickInterval);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(finishes, 1);
  EXPECT_EQ(sheet.Color(10, 10), COLORREF(clBlue));
  EXPECT_EQ(sheet.Color(109, 49), COLORREF(clBlue));
  EXPECT_EQ(sheet.Color(9, 9), COLORREF(RGB(0x80, 0x80, 0x80)));
  // Restore without a frozen control keeps the images; the setters replace them.
  Anim->Restore();
  EXPECT_FALSE(sourceFreed);
  bool replacementFreed = false;
  Anim->SetSourceImage(new TTrackedBitmap(10, 10, clLime, &replacementFreed));
  EXPECT_TRUE(sourceFreed);
  Anim.reset();
  EXPECT_TRUE(replacementFreed);
  EXPECT_TRUE(destFreed);
}

// The animation owns its two pictures: handing it one it already holds in the other place
// moves it there, made opaque, and frees nothing.
TEST(AnimationImages, APictureMovedBetweenSourceAndDestinationStaysAlive) {
  for (bool toDest : {true, false}) {
    bool freed = false;
    auto anim = std::make_unique<TgxAnimation>(nullptr);
    auto* image = new TTrackedBitmap(4, 3, RGB(0x30, 0x20, 0x10), &freed);
    if (toDest) {
      anim->SetSourceImage(image);
      anim->SetDestImage(image);
    } else {
      anim->SetDestImage(image);
      anim->SetSourceImage(image);
    }
    EXPECT_FALSE(freed) << toDest;
    EXPECT_EQ(toDest ? anim->SourceImage() : anim->DestImage(), nullptr) << toDest;
    ASSERT_EQ(toDest ? anim->DestImage() : anim->SourceImage(), image) << toDest;
    EXPECT_EQ(image->GetPixel(3, 2), 0xFF302010u) << toDest;
    anim.reset();
    EXPECT_TRUE(freed) << toDest;
  }
}

TEST_F(AnimationTest, TheImagesCannotBeChangedWhileTheTransitionPlays) {
  ASSERT_TRUE(Freeze());
  Flat->SetInk(clBlue);
  int refused = 0;
  Anim->OnStart = [&](TObject*) {
    try {
      Anim->SetDestImage(nullptr);
    } catch (const EInvalidOperation&) {
      ++refused;
    }
  };
  Anim->Execute();
  EXPECT_EQ(refused, 1);
  Run();
  EXPECT_EQ(Columns(clBlue), 100);
  Anim->Restore();
}

TEST_F(AnimationTest, AFrozenAnimationThatIsFreedTakesItsOverlayWithIt) {
  ASSERT_TRUE(Freeze());
  ASSERT_TRUE(IsWindowFrozen(Flat));
  Anim.reset();
  EXPECT_FALSE(IsWindowFrozen(Flat));
  EXPECT_EQ(Host->ControlCount(), 1);
}

TEST_F(AnimationTest, TheListHoldsItsAnimationsAndFreesThem) {
  auto* list = new TgxAnimationList(nullptr);
  auto* a = new TgxAnimation(nullptr);
  auto* b = new TgxAnimation(nullptr);
  list->Insert(a);
  b->SetParentComponent(list);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(list->GetItem(1), b);
  EXPECT_EQ(a->Parent(), list);
  EXPECT_EQ(b->GetParentComponent(), list);
  EXPECT_TRUE(a->HasParent());
  EXPECT_THROW(list->GetItem(2), EListError);
  std::vector<TComponent*> children;
  list->GetChildren([&](TComponent* c) { children.push_back(c); }, nullptr);
  EXPECT_EQ(children, (std::vector<TComponent*>{a, b}));

  list->Remove(a);
  EXPECT_EQ(a->Parent(), nullptr);
  EXPECT_EQ(list->Count(), 1);
  a->SetParentComponent(list);
  delete b;  // leaves the list
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->GetItem(0), a);

  int renames = 0;
  a->OnInternalChange = [&](TObject*) { ++renames; };
  a->SetName("Fade1");
  EXPECT_EQ(renames, 1);
  a->SetParentComponent(Host);  // not a list: it only leaves
  EXPECT_EQ(list->Count(), 0);
  list->Insert(a);
  ASSERT_TRUE(a->FreezeControl(Flat, {0, 0, 100, 40}));
  delete list;  // frees a, which lets go of the control
  EXPECT_FALSE(IsWindowFrozen(Flat));
  Anim->ShowDesigner();
}

}  // namespace
