// The active control on the headless backend, driven by injected mouse input on the
// virtual clock: hot, leave and pressed sequences, the 100 ms poll for a missed leave
// notice, the 150 ms fade between state images inside the 350 ms animation window, what
// ends or skips a fade, and a control that lets itself go from its own leave handling.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "ControlFixture.h"
#include "qvControls/ActiveControl.h"
#include "support/Colors.h"
#include "themes/BufferedAnimation.h"
#include "win/Input.h"

namespace {

constexpr COLORREF kNormal = RGB(200, 40, 0);
constexpr COLORREF kHot = RGB(0, 120, 250);
constexpr COLORREF kPressed = RGB(0, 160, 0);
constexpr COLORREF kDisabled = RGB(128, 128, 128);
constexpr COLORREF kFocused = RGB(250, 250, 0);

COLORREF ColorOf(TqvsCtrlState state) {
  switch (state) {
    case qvsNormal: return kNormal;
    case qvsHot: return kHot;
    case qvsPressed: return kPressed;
    case qvsFocused: return kFocused;
    case qvsDisabled: return kDisabled;
  }
  return 0;
}

// Fills itself with one flat colour per state; pressed while the left button is down.
class TStateSwatch : public TqvCustomActiveControl {
  QV_CLASS(TStateSwatch, TqvCustomActiveControl)
  explicit TStateSwatch(TComponent* AOwner) : TqvCustomActiveControl(AOwner) {}
  ~TStateSwatch() override {
    if (Destroyed) *Destroyed = true;
  }
  using TqvCustomActiveControl::Animation;
  using TqvCustomActiveControl::CanAnimate;
  using TqvCustomActiveControl::SetAnimation;

  std::optional<TqvsCtrlState> Forced;
  bool FocusFades = false;
  bool Pressed = false;
  int Enters = 0;
  int Leaves = 0;
  std::function<void()> AfterLeave;
  bool* Destroyed = nullptr;
  std::vector<WPARAM> Timers;  // ids of WM_TIMER that reached the control

  TqvsCtrlState GetCtrlState() override {
    if (Forced) return *Forced;
    if (Enabled() && Pressed) return qvsPressed;
    return TqvCustomActiveControl::GetCtrlState();
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_TIMER) Timers.push_back(Message.WParam);
    TqvCustomActiveControl::Dispatch(Message);
  }

 protected:
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override {
    ACanvas->Brush()->SetColor(TColor(ColorOf(ACtrlState)));
    ACanvas->FillRect({0, 0, Width(), Height()});
  }
  bool CanAnimateFocused() override { return FocusFades; }
  void DoMouseEnter() override {
    ++Enters;
    TqvCustomActiveControl::DoMouseEnter();
  }
  void DoMouseLeave() override {
    ++Leaves;
    TqvCustomActiveControl::DoMouseLeave();
    if (AfterLeave) AfterLeave();
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TqvCustomActiveControl::MouseDown(Button, Shift, X, Y);
    Pressed = true;
    RePaintControl();
  }
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override {
    TqvCustomActiveControl::MouseUp(Button, Shift, X, Y);
    Pressed = false;
    RePaintControl();
  }
};

// The swatch lies at (100, 100) to (160, 140) on screen; (130, 120) is its middle.
class ActiveControlTest : public ControlFixture {
 protected:
  void SetUp() override {
    ControlFixture::SetUp();
    Swatch = Make<TStateSwatch>(Host, {100, 100, 160, 140});
    Mouse(InputKind::MouseMove, 20, 20);
    Run();
  }
  void TearDown() override {
    SetBufferedAnimationBindingPresent(true);
    ControlFixture::TearDown();
    EXPECT_EQ(BufferedAnimationCount(), 0u);
  }
  COLORREF Shown() const { return At(130, 120); }
  // Moves the cursor without any input message: no leave notice follows.
  static void SlipCursorTo(int x, int y) { Headless()->SetCursorPos({x, y}); }
  static bool Has(const std::vector<WPARAM>& ids, WPARAM id) {
    for (WPARAM i : ids)
      if (i == id) return true;
    return false;
  }

  TStateSwatch* Swatch = nullptr;
};

TEST_F(ActiveControlTest, HotPressedAndLeaveFollowTheMouse) {
  EXPECT_EQ(Shown(), kNormal);
  const struct {
    const char* What;
    InputKind Kind;
    POINT At;
    COLORREF Shows;
    int Enters, Leaves;
  } steps[] = {
      {"move in", InputKind::MouseMove, {110, 110}, kHot, 1, 0},
      {"move inside", InputKind::MouseMove, {150, 130}, kHot, 1, 0},
      {"press", InputKind::MouseDown, {150, 130}, kPressed, 1, 0},
      {"release", InputKind::MouseUp, {150, 130}, kHot, 1, 0},
      {"move out", InputKind::MouseMove, {50, 50}, kNormal, 1, 1},
      {"move in again", InputKind::MouseMove, {159, 139}, kHot, 2, 1},
      {"move out again", InputKind::MouseMove, {160, 139}, kNormal, 2, 2},
  };
  for (const auto& s : steps) {
    Mouse(s.Kind, s.At.X, s.At.Y);
    Run();
    EXPECT_EQ(Shown(), s.Shows) << s.What;
    EXPECT_EQ(Swatch->Enters, s.Enters) << s.What;
    EXPECT_EQ(Swatch->Leaves, s.Leaves) << s.What;
  }
  EXPECT_FALSE(Swatch->MouseIn());
}

TEST_F(ActiveControlTest, AMoveOnTheFarEdgesStillCountsAsInside) {
  auto move = [&](int x, int y) {
    Swatch->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(uint16_t(int16_t(x)), uint16_t(int16_t(y))));
    return Swatch->MouseIn();
  };
  const struct {
    POINT At;
    bool Inside;
  } points[] = {{{0, 0}, true},   {{60, 40}, true},   {{61, 40}, false}, {{60, 41}, false},
                {{-1, 20}, false}, {{30, -1}, false}, {{60, 0}, true},   {{0, 40}, true}};
  for (const auto& p : points) {
    move(30, 20);
    EXPECT_EQ(move(p.At.X, p.At.Y), p.Inside) << p.At.X << "," << p.At.Y;
  }
}

TEST_F(ActiveControlTest, ThePollEndsTheHotStateWhenAnotherWindowGetsTheCursorUnnoticed) {
  enum Other { kOverlappingWindow, kChildWindow };
  for (Other other : {kOverlappingWindow, kChildWindow}) {
    SCOPED_TRACE(other == kOverlappingWindow ? "an overlapping window" : "a child window");
    Mouse(InputKind::MouseMove, 110, 110);
    Run();
    ASSERT_EQ(Shown(), kHot);
    const int leaves = Swatch->Leaves;
    HWND overlap = nullptr;
    TWinControl* child = nullptr;
    if (other == kOverlappingWindow) {
      overlap = CreateWindowEx(0, kTopClass, "", WS_POPUP | WS_VISIBLE, 150, 90, 60, 60, nullptr, nullptr,
                               nullptr, nullptr);
      ASSERT_NE(overlap, nullptr);
    } else {
      child = Make<TWinControl>(Swatch, {40, 0, 60, 20});
    }
    SlipCursorTo(155, 105);
    Run();
    EXPECT_EQ(Swatch->Leaves, leaves) << "no leave notice came";
    Advance(99);
    Run();
    EXPECT_TRUE(Swatch->MouseIn());
    Advance(1);
    Run();
    EXPECT_FALSE(Swatch->MouseIn()) << "the poll found the other window";
    EXPECT_EQ(Swatch->Leaves, leaves + 1);
    EXPECT_EQ(Shown(), kNormal);
    if (overlap) DestroyWindow(overlap);
    delete child;
    Mouse(InputKind::MouseMove, 20, 20);
    Run();
  }
}

TEST_F(ActiveControlTest, TheFadeBlendsFromTheOldStateToTheNewOverItsDuration) {
  Swatch->SetAnimation(true);
  Mouse(InputKind::MouseMove, 110, 110);
  Run();
  EXPECT_EQ(Shown(), kNormal) << "the first frame is the old image";
  const struct {
    uint64_t At;  // ms after the change
    COLORREF Shows;
  } frames[] = {
      {30, LinearBlend(kNormal, kHot, 30 / 150.0)},
      {75, LinearBlend(kNormal, kHot, 0.5)},
      {120, LinearBlend(kNormal, kHot, 120 / 150.0)},
      {150, kHot},
  };
  uint64_t now = 0;
  for (const auto& f : frames) {
    Advance(f.At - now);
    now = f.At;
    Run();
    EXPECT_TRUE(NearColor(Shown(), f.Shows)) << "at " << f.At << " ms";
  }
  EXPECT_EQ(BufferedAnimationCount(), 0u) << "the fade is over";
  EXPECT_FALSE(Has(Swatch->Timers, TqvCustomActiveControl::kAnimationTimerId));
  Advance(200);
  Run();
  EXPECT_TRUE(Has(Swatch->Timers, TqvCustomActiveControl::kAnimationTimerId)) << "the animation window closed";
  EXPECT_EQ(Shown(), kHot);
  SaveScreenIfFailed("fade");
}

TEST_F(ActiveControlTest, WithoutAnimationOrTheServiceStateChangesShowAtOnce) {
  enum Case { kAnimationOff, kNoBinding, kOlderSystem };
  for (Case c : {kAnimationOff, kNoBinding, kOlderSystem}) {
    SCOPED_TRACE(c == kAnimationOff ? "Animation false" : c == kNoBinding ? "no binding" : "Windows XP");
    TOSAnswers xp;
    xp.MajorVersion = 5;
    xp.MinorVersion = 1;
    std::optional<TOSAnswersOverride> system;
    if (c == kOlderSystem) system.emplace(xp);
    SetBufferedAnimationBindingPresent(c != kNoBinding);
    Swatch->SetAnimation(c != kAnimationOff);
    Swatch->Timers.clear();
    Mouse(InputKind::MouseMove, 110, 110);
    Run();
    EXPECT_EQ(Shown(), kHot);
    Mouse(InputKind::MouseMove, 20, 20);
    Run();
    EXPECT_EQ(Shown(), kNormal);
    for (int i = 0; i < 5; ++i) {
      Advance(100);
      Run();
    }
    EXPECT_FALSE(Has(Swatch->Timers, TqvCustomActiveControl::kAnimationTimerId));
    EXPECT_EQ(BufferedAnimationCount(), 0u);
  }
}

TEST_F(ActiveControlTest, OnlyNormalHotAndAllowedFocusedStatesFade) {
  Swatch->SetAnimation(true);
  const struct {
    TqvsCtrlState State;
    bool FocusFades;
    bool Fades;
  } cases[] = {
      {qvsNormal, false, true},   {qvsHot, false, true},      {qvsPressed, true, false},
      {qvsDisabled, true, false}, {qvsFocused, false, false}, {qvsFocused, true, true},
  };
  for (const auto& c : cases) {
    Swatch->Forced = c.State;
    Swatch->FocusFades = c.FocusFades;
    EXPECT_EQ(Swatch->CanAnimate(), c.Fades) << int(c.State) << (c.FocusFades ? " focus fades" : "");
  }
  Swatch->Forced.reset();
  EXPECT_TRUE(Swatch->CanAnimate());
  Swatch->SetEnabled(false);
  EXPECT_FALSE(Swatch->CanAnimate());
  Swatch->SetEnabled(true);
  Swatch->Hide();
  EXPECT_FALSE(Swatch->CanAnimate());
  Swatch->Show();
  Swatch->SetAnimation(false);
  EXPECT_FALSE(Swatch->CanAnimate());
}

TEST_F(ActiveControlTest, APressDuringAFadeShowsAtOnceAndTheReleaseFadesFromIt) {
  Swatch->SetAnimation(true);
  Mouse(InputKind::MouseMove, 110, 110);
  Run();
  Advance(30);
  Run();
  Mouse(InputKind::MouseDown, 110, 110);
  Run();
  EXPECT_EQ(Shown(), kPressed);
  Advance(30);
  Run();
  EXPECT_EQ(Shown(), kPressed) << "no frame of the old fade paints over it";
  Mouse(InputKind::MouseUp, 110, 110);
  Run();
  EXPECT_EQ(Shown(), kPressed);
  Advance(75);
  Run();
  EXPECT_TRUE(NearColor(Shown(), LinearBlend(kPressed, kHot, 0.5)));
  Advance(75);
  Run();
  EXPECT_EQ(Shown(), kHot);
}

TEST_F(ActiveControlTest, LeavingDuringAFadeFadesBackFromTheFrameOnScreen) {
  Swatch->SetAnimation(true);
  Mouse(InputKind::MouseMove, 110, 110);
  Run();
  Advance(60);
  Run();
  const COLORREF shown = LinearBlend(kNormal, kHot, 0.4);
  EXPECT_TRUE(NearColor(Shown(), shown));
  Mouse(InputKind::MouseMove, 20, 20);
  Run();
  EXPECT_TRUE(NearColor(Shown(), shown)) << "no jump";
  Advance(75);
  Run();
  EXPECT_TRUE(NearColor(Shown(), LinearBlend(shown, kNormal, 0.5), 2));
  Advance(75);
  Run();
  EXPECT_EQ(Shown(), kNormal);
  Advance(400);
  Run();
  EXPECT_EQ(Shown(), kNormal) << "it ends in the state the control is in";
}

TEST_F(ActiveControlTest, MovingATransparentControlDuringAFadeShowsTheFinalState) {
  Swatch->SetAnimation(true);
  Mouse(InputKind::MouseMove, 110, 110);
  Run();
  Advance(30);
  Run();
  ASSERT_TRUE(NearColor(Shown(), LinearBlend(kNormal, kHot, 0.2)));
  Swatch->SetBounds(100, 150, 60, 40);
  EXPECT_EQ(At(130, 170), kHot);
  Advance(45);
  Run();
  EXPECT_EQ(At(130, 170), kHot) << "the fade is over";
  EXPECT_EQ(At(130, 120), COLORREF(clWhite)) << "the old place shows the host";
}

TEST_F(ActiveControlTest, AGrabDuringAFadeShowsTheFrameAndTheScreenStillGetsTheLast) {
  Swatch->SetAnimation(true);
  Mouse(InputKind::MouseMove, 110, 110);
  Run();
  Advance(30);
  Run();
  TestCanvas grab(60, 40, 0xFF000000u);
  auto print = [&] {
    SendMessage(Swatch->WindowHandle(), WM_PRINT, reinterpret_cast<WPARAM>(grab.DC()), PRF_CLIENT);
    return grab.Color(30, 20);
  };
  EXPECT_TRUE(NearColor(print(), LinearBlend(kNormal, kHot, 0.2)));
  Advance(45);
  Run();
  EXPECT_TRUE(NearColor(Shown(), LinearBlend(kNormal, kHot, 0.5))) << "the fade goes on";
  Advance(75);  // its end: grabbed before the screen is asked for the last frame
  EXPECT_EQ(print(), kHot);
  Run();
  EXPECT_EQ(Shown(), kHot);
}

TEST_F(ActiveControlTest, AControlCanLetItselfGoFromItsOwnLeaveHandling) {
  enum How { kLeaveNotice, kPoll };
  for (How how : {kLeaveNotice, kPoll}) {
    SCOPED_TRACE(how == kLeaveNotice ? "leave notice" : "poll");
    bool destroyed = false;
    TStateSwatch* s = Make<TStateSwatch>(Host, {200, 100, 260, 140});
    s->Destroyed = &destroyed;
    s->SetAnimation(true);
    if (how == kLeaveNotice)
      s->OnMouseLeave = [s](TObject*) { s->Release(); };
    else
      s->AfterLeave = [s] { s->Release(); };
    Mouse(InputKind::MouseMove, 210, 110);
    Run();
    ASSERT_TRUE(s->MouseIn());
    Advance(20);
    Run();
    if (how == kLeaveNotice) {
      Mouse(InputKind::MouseMove, 20, 20);
    } else {
      SlipCursorTo(20, 20);
      Advance(100);
    }
    Run();  // the leave is handled, then the loop lets the control go
    EXPECT_TRUE(destroyed);
    // Its timers, its animation window and its fade went with it.
    for (int i = 0; i < 5; ++i) {
      Advance(100);
      Run();
    }
    EXPECT_EQ(BufferedAnimationCount(), 0u);
  }
}

}  // namespace
