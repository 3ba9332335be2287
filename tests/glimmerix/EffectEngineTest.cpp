// The transition engine: timing on the shared timer in virtual time, the slot table, the
// grid of cells, mask scaling, the rotation tables, the bitmap mode and the faults a slot
// must survive.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "EffectTestEffects.h"
#include "backend/Headless.h"
#include "support/Canvas.h"
#include "vcl/Forms.h"
#include "win/Window.h"

namespace {

constexpr uint32_t kOld = 0xFF000000;  // opaque black
constexpr uint32_t kNew = 0xFFFFFFFF;  // opaque white

std::unique_ptr<TgxBitmap> Image(int w, int h, uint32_t pixel) {
  auto b = std::make_unique<TgxBitmap>();
  if (w > 0 && h > 0) {
    b->SetSize(w, h);
    b->Clear(pixel);
  }
  return b;
}

// A picture whose pixel (x, y) tells where it is: green x, blue y, red 0x80.
std::unique_ptr<TgxBitmap> Coordinates(int w, int h) {
  auto b = Image(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixel(x, y, 0xFF800000u | uint32_t(x) << 8 | uint32_t(y));
  return b;
}

std::unique_ptr<TgxAnimationRec> Settings(const String& effect, int32_t time = 400, int32_t resolution = 1,
                                          int32_t tiles = 1, TgxRotation rotation = krNone) {
  auto s = std::make_unique<TgxAnimationRec>(nullptr);
  s->SetEffect(effect);
  s->SetTime(time);
  s->SetResolution(resolution);
  s->SetTileCount(tiles);
  s->SetRotation(rotation);
  return s;
}

// A framework bitmap whose pixel n has the blue byte Blue[n] (row-major).
std::unique_ptr<TBitmap> Picture(int w, int h, const std::vector<uint8_t>& blue) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  auto* p = static_cast<uint32_t*>(b->ScanLine(0));
  for (int n = 0; n < w * h; ++n) p[n] = 0xFF000000u | blue[size_t(n)];
  return b;
}

class EffectEngine : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Headless(), nullptr);
    testfx::RegisterTestEffects();
    testfx::Log().Clear();
    testfx::FailuresLeft() = 0;
  }
  void TearDown() override {
    for (int i = 0; i < gxSlotCount; ++i) StopEffect(i, false);
    EXPECT_FALSE(gxEffectTimer()->Enabled());
    ResetWindowSystem();
    SetBackend(nullptr);
  }

  // Ticks of the shared timer in virtual time until the slot has ended.
  static int TicksToEnd(int slot) {
    int ticks = 0;
    while (gxEffectSlot(slot).Active && ticks < 1000) {
      Headless()->Advance(gxTickInterval);
      Application->ProcessMessages();
      ++ticks;
    }
    return ticks;
  }
};

// Collects what reaches the application's exception handler while it lives.
struct Reports {
  std::vector<String> Messages;
  TExceptionEvent Saved = Application->OnException;
  Reports() {
    Application->OnException = [this](TObject*, const std::exception& E) { Messages.push_back(E.what()); };
  }
  ~Reports() { Application->OnException = Saved; }
};

// A canvas on a test bitmap, so that what the engine draws can be read back.
struct Screen {
  TestCanvas Pixels;
  TCanvas Canvas;
  Screen(int w, int h, uint32_t fill = 0xFF808080) : Pixels(w, h, fill) { Canvas.SetHandle(Pixels.DC()); }
  ~Screen() { Canvas.SetHandle(nullptr); }
  bool Shows(const TgxBitmap& image, int atX, int atY) const {
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if ((Pixels.Pixel(atX + x, atY + y) & 0xFFFFFF) != (image.GetPixel(x, y) & 0xFFFFFF)) return false;
    return true;
  }
};

// ---- timing ----

struct Timing {
  int32_t Time;
  std::vector<int> Percents;
};

class EffectTiming : public EffectEngine, public ::testing::WithParamInterface<Timing> {};

TEST_P(EffectTiming, FramesFollowTheSharedTwentyMillisecondTimer) {
  const Timing& c = GetParam();
  auto oldImage = Image(6, 4, kOld), newImage = Image(6, 4, kNew);
  auto settings = Settings("Test Record", c.Time);
  Screen screen(20, 20);
  const int slot = StartEffect(&screen.Canvas, 3, 5, -1, settings.get(), newImage.get(), oldImage.get());
  ASSERT_GE(slot, 0);
  EXPECT_TRUE(gxEffectSlot(slot).Active);
  EXPECT_TRUE(gxEffectTimer()->Enabled());
  EXPECT_EQ(gxEffectTimer()->Interval(), 20u);
  // Nothing is drawn before the first tick.
  Headless()->Advance(19);
  Application->ProcessMessages();
  EXPECT_TRUE(testfx::Log().Percents.empty());
  Headless()->Advance(1);
  Application->ProcessMessages();
  ASSERT_EQ(testfx::Log().Percents.size(), 1u);
  // The effect draws nothing: every frame but the last shows the old image.
  EXPECT_TRUE(screen.Shows(*oldImage, 3, 5));
  EXPECT_EQ(TicksToEnd(slot) + 1, int(c.Percents.size()));
  EXPECT_EQ(testfx::Log().Percents, c.Percents);
  EXPECT_FALSE(gxEffectSlot(slot).Active);
  EXPECT_FALSE(gxEffectTimer()->Enabled());
  // The last frame is the new image, whatever the effect's mask.
  EXPECT_TRUE(screen.Shows(*newImage, 3, 5));
  EXPECT_EQ(screen.Pixels.Pixel(2, 5), 0xFF808080u);
  EXPECT_EQ(screen.Pixels.Pixel(9, 5), 0xFF808080u);
}

INSTANTIATE_TEST_SUITE_P(Times, EffectTiming,
                         ::testing::Values(Timing{150, {13, 27, 40, 53, 67, 80, 93, 100}}, Timing{50, {40, 80, 100}},
                                           Timing{20, {40, 80, 100}},  // stored as 50
                                           Timing{60, {33, 67, 100}}));

TEST_F(EffectEngine, TheTimeATickTookIsAddedToEveryClockInSeconds) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto slow = Settings("Test Slow", 150), idle = Settings("Test Record Manual", 150);
  const int first = StartEffect(nullptr, 0, 0, -1, slow.get(), newImage.get(), oldImage.get());
  const int second = StartEffect(nullptr, 0, 0, -1, idle.get(), newImage.get(), oldImage.get());
  gxEffectTimer()->OnTimer(gxEffectTimer());
  // 20.01 ms, then the 5 ms the slow frame took, as 0.005.
  EXPECT_FLOAT_EQ(gxEffectSlot(first).Clock, 0.01f + 20.0f + 0.005f);
  EXPECT_FLOAT_EQ(gxEffectSlot(second).Clock, 0.01f + 20.0f + 0.005f);
  gxEffectTimer()->OnTimer(gxEffectTimer());
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 13, 27, 27}));
}

// Frames that each take 5 ms of the loop's clock, for one transition or four at once:
// every transition of 400 ms ends with the twentieth tick, 400 ms after its start.
TEST_F(EffectEngine, TransitionsLastTheirTimeHoweverLongTheirFramesTake) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto settings = Settings("Test Slow", 400);
  for (int count : {1, 4}) {
    SCOPED_TRACE(count);
    testfx::Log().Clear();
    const uint64_t start = Headless()->Now();
    for (int i = 1; i < count; ++i)
      ASSERT_GE(StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get()), 0);
    ExecuteEffect(nullptr, 0, 0, settings.get(), newImage.get(), oldImage.get());
    // The last tick came at 400 ms; its frames took 5 ms each.
    EXPECT_EQ(Headless()->Now() - start, 400u + 5u * uint64_t(count));
    std::vector<int> percents;
    for (int p = 5; p <= 100; p += 5) percents.insert(percents.end(), size_t(count), p);
    EXPECT_EQ(testfx::Log().Percents, percents);
    for (int i = 0; i < gxSlotCount; ++i) ASSERT_FALSE(gxEffectSlot(i).Active) << i;
  }
}

TEST_F(EffectEngine, ExecuteEffectPlaysInVirtualTimeAndReturnsAtTheEnd) {
  auto oldImage = Image(5, 3, kOld), newImage = Image(5, 3, kNew);
  auto settings = Settings("test record", 150);
  Screen screen(10, 10);
  const uint64_t start = Headless()->Now();
  ExecuteEffect(&screen.Canvas, 1, 2, settings.get(), newImage.get(), oldImage.get());
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 27, 40, 53, 67, 80, 93, 100}));
  EXPECT_EQ(Headless()->Now() - start, 8u * gxTickInterval);
  EXPECT_TRUE(screen.Shows(*newImage, 1, 2));
  EXPECT_FALSE(gxEffectTimer()->Enabled());
}

TEST_F(EffectEngine, ASecondExecuteEffectMayPlayInsideTheFirstOnesWait) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto outer = Settings("Test Record", 150), inner = Settings("Test Record Manual", 50);
  Screen screen(10, 10);
  TTimer trigger(nullptr);
  trigger.SetInterval(30);
  int innerRuns = 0;
  trigger.OnTimer = [&](TObject*) {
    trigger.SetEnabled(false);
    ++innerRuns;
    ExecuteEffect(nullptr, 0, 0, inner.get(), newImage.get(), oldImage.get());
  };
  const uint64_t start = Headless()->Now();
  ExecuteEffect(&screen.Canvas, 0, 0, outer.get(), newImage.get(), oldImage.get());
  EXPECT_EQ(innerRuns, 1);
  // Both log: the outer fade's eight frames and, from the tick at 40 ms on, the inner
  // manual effect's three (slot 0 steps before slot 1 on each tick).
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 27, 40, 40, 80, 53, 100, 67, 80, 93, 100}));
  EXPECT_EQ(Headless()->Now() - start, 8u * gxTickInterval);
  EXPECT_TRUE(screen.Shows(*newImage, 0, 0));
}

struct NoStart {
  const char* Effect;
  int NewWidth;
  int OldWidth;
};

class EffectNotStarted : public EffectEngine, public ::testing::WithParamInterface<NoStart> {};

TEST_P(EffectNotStarted, AnswersTheSlotButNeitherDrawsNorWaits) {
  const NoStart& c = GetParam();
  auto oldImage = Image(c.OldWidth, 3, kOld), newImage = Image(c.NewWidth, 3, kNew);
  auto settings = Settings(c.Effect);
  Screen screen(8, 8);
  const int slot = StartEffect(&screen.Canvas, 0, 0, -1, settings.get(), newImage.get(), oldImage.get());
  EXPECT_GE(slot, 0);
  EXPECT_FALSE(gxEffectSlot(slot).Active);
  EXPECT_FALSE(gxEffectTimer()->Enabled());
  const uint64_t start = Headless()->Now();
  ExecuteEffect(&screen.Canvas, 0, 0, settings.get(), newImage.get(), oldImage.get());
  EXPECT_EQ(Headless()->Now(), start);
  EXPECT_TRUE(screen.Pixels.InkBounds(0xFF808080).IsEmpty());
  EXPECT_TRUE(testfx::Log().Percents.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, EffectNotStarted,
                         ::testing::Values(NoStart{"No Such Effect", 4, 4}, NoStart{"[ FADE ] - Test Mark Corner", 4, 4},
                                           NoStart{"Test Record", 0, 4}, NoStart{"Test Record", 4, 0}));

TEST_F(EffectEngine, MissingSettingsOrImagesStartNothing) {
  auto image = Image(4, 4, kNew);
  auto settings = Settings("Test Record");
  EXPECT_FALSE(gxEffectSlot(StartEffect(nullptr, 0, 0, -1, nullptr, image.get(), image.get())).Active);
  EXPECT_FALSE(gxEffectSlot(StartEffect(nullptr, 0, 0, -1, settings.get(), nullptr, image.get())).Active);
  EXPECT_FALSE(gxEffectSlot(StartEffect(nullptr, 0, 0, -1, settings.get(), image.get(), nullptr)).Active);
}

// ---- the slot table ----

TEST_F(EffectEngine, TwoHundredAndOneTransitionsRunAtOnceAndTheNextIsRefused) {
  auto oldImage = Image(3, 3, kOld), newImage = Image(3, 3, kNew);
  auto settings = Settings("Test Record");
  for (int i = 0; i < gxSlotCount; ++i)
    ASSERT_EQ(StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get()), i);
  Screen screen(5, 5);
  EXPECT_EQ(StartEffect(&screen.Canvas, 0, 0, -1, settings.get(), newImage.get(), oldImage.get()), -1);
  const uint64_t start = Headless()->Now();
  ExecuteEffect(&screen.Canvas, 0, 0, settings.get(), newImage.get(), oldImage.get());
  EXPECT_EQ(Headless()->Now(), start);
  EXPECT_TRUE(screen.Pixels.InkBounds(0xFF808080).IsEmpty());
  // A slot that ends is free again; the timer runs until the last one ends.
  StopEffect(17, false);
  EXPECT_TRUE(gxEffectTimer()->Enabled());
  EXPECT_EQ(StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get()), 17);
  for (int i = 0; i < gxSlotCount; ++i) StopEffect(i, false);
  EXPECT_FALSE(gxEffectTimer()->Enabled());
}

TEST_F(EffectEngine, AGivenSlotIsUsedAndARunningOneStartsAgain) {
  auto oldImage = Image(3, 3, kOld), newImage = Image(3, 3, kNew);
  auto settings = Settings("Test Record", 150);
  EXPECT_EQ(StartEffect(nullptr, 0, 0, 42, settings.get(), newImage.get(), oldImage.get()), 42);
  StepEffect(42);
  StepEffect(42);
  const uint32_t generation = gxEffectSlot(42).Generation;
  EXPECT_EQ(StartEffect(nullptr, 0, 0, 42, settings.get(), newImage.get(), oldImage.get()), 42);
  EXPECT_EQ(gxEffectSlot(42).Generation, generation + 1);
  EXPECT_FLOAT_EQ(gxEffectSlot(42).Clock, 0.01f);
  StepEffect(42);
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 27, 13}));
  EXPECT_EQ(StartEffect(nullptr, 0, 0, gxSlotCount, settings.get(), newImage.get(), oldImage.get()), -1);
  EXPECT_EQ(StartEffect(nullptr, 0, 0, -2, settings.get(), newImage.get(), oldImage.get()), -1);
}

TEST_F(EffectEngine, StopEffectWithDrawFinalShowsTheNewImage) {
  auto oldImage = Image(4, 3, kOld), newImage = Image(4, 3, kNew);
  auto settings = Settings("Test Number Cells", 400);
  Screen screen(10, 10);
  const int slot = StartEffect(&screen.Canvas, 2, 2, -1, settings.get(), newImage.get(), oldImage.get());
  StepEffect(slot);
  EXPECT_FALSE(screen.Shows(*newImage, 2, 2));
  StopEffect(slot, true);
  EXPECT_TRUE(screen.Shows(*newImage, 2, 2));
  EXPECT_FALSE(gxEffectSlot(slot).Active);
  EXPECT_FALSE(gxEffectTimer()->Enabled());
  // Stopping what does not run does nothing.
  StopEffect(slot, true);
  StopEffect(-1, true);
  StopEffect(gxSlotCount, true);
}

// ---- settings belong to the slot from the start ----

TEST_F(EffectEngine, ChangingTheCallersSettingsDoesNotChangeARunningTransition) {
  auto oldImage = Image(9, 5, kOld), newImage = Image(9, 5, kNew);
  auto settings = Settings("Test Record", 150);
  const int slot = StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get());
  StepEffect(slot);
  StepEffect(slot);
  // Without a rotation at the start there is no second mask to draw a turned grid in.
  settings->SetRotation(krRotate90);
  settings->SetTime(50);
  settings->SetResolution(4);
  settings->SetTileCount(3);
  settings->SetEffect("Test Number Cells");
  while (gxEffectSlot(slot).Active) StepEffect(slot);
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 27, 40, 53, 67, 80, 93, 100}));
  for (const auto& size : testfx::Log().Sizes) EXPECT_EQ(size, (std::pair<int, int>{10, 6}));
}

TEST_F(EffectEngine, AManualEffectIsGivenTheSettingsOfTheStart) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto settings = Settings("Test Record Manual", 50, 1, 1, krRotate180);
  const int slot = StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get());
  StepEffect(slot);
  settings->SetRotation(krNone);
  settings->SetTime(9000);
  StepEffect(slot);
  StepEffect(slot);
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{40, 80, 100}));
  for (const auto& s : testfx::Log().Sizes) EXPECT_EQ(s, (std::pair<int, int>{int(krRotate180), 50}));
}

// ---- faults during a step ----

TEST_F(EffectEngine, AStepOfABusySlotOnlyMovesItsClock) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto settings = Settings("Test Reentrant", 150);
  const int slot = StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get());
  testfx::ReentrantSlot() = slot;
  StepEffect(slot);
  EXPECT_FALSE(gxEffectSlot(slot).Busy);
  EXPECT_FLOAT_EQ(gxEffectSlot(slot).Clock, 0.01f + 20.0f + 20.0f);
  StepEffect(slot);
  // 60.01 ms of 150 is 40 %; the nested steps drew nothing.
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 40}));
}

TEST_F(EffectEngine, AStepThatFailsIsReportedAndLeavesTheSlotReadyForTheNextTick) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto failing = Settings("Test Failing", 150), recording = Settings("Test Record", 150);
  const int first = StartEffect(nullptr, 0, 0, -1, failing.get(), newImage.get(), oldImage.get());
  const int second = StartEffect(nullptr, 0, 0, -1, recording.get(), newImage.get(), oldImage.get());
  ASSERT_LT(first, second);
  testfx::FailuresLeft() = 1;
  Reports reports;
  // One tick of the shared timer: the failure goes to the application, every slot steps.
  EXPECT_NO_THROW(gxEffectTimer()->OnTimer(gxEffectTimer()));
  EXPECT_EQ(reports.Messages, std::vector<String>{"the effect failed"});
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13}));
  EXPECT_FALSE(gxEffectSlot(first).Busy);
  EXPECT_TRUE(gxEffectSlot(first).Active);
  StepEffect(first);
  EXPECT_EQ(testfx::Log().Percents, (std::vector<int>{13, 27}));
}

// An outer transition of 150 ms, and an inner one of 50 ms that a handler plays inside the
// outer one's wait from 30 ms on; one of them fails its step at 40 ms. Neither wait ends
// early: the failing slot draws its next frame on the next tick.
TEST_F(EffectEngine, AStepThatFailsEndsNoWait) {
  struct Case {
    bool InnerFails;
    std::vector<int> Percents;  // slot 0 (outer) steps before slot 1 (inner) on each tick
  };
  for (const Case& c : {Case{true, {13, 27, 40, 80, 53, 100, 67, 80, 93, 100}},
                        Case{false, {13, 40, 40, 80, 53, 100, 67, 80, 93, 100}}}) {
    SCOPED_TRACE(c.InnerFails ? "inner fails" : "outer fails");
    testfx::Log().Clear();
    auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
    auto outer = Settings(c.InnerFails ? "Test Record" : "Test Failing", 150);
    auto inner = Settings(c.InnerFails ? "Test Failing" : "Test Record", 50);
    Screen outerScreen(6, 6), innerScreen(6, 6);
    Reports reports;
    TTimer trigger(nullptr);
    trigger.SetInterval(30);
    const uint64_t start = Headless()->Now();
    uint64_t innerEnd = 0;
    trigger.OnTimer = [&](TObject*) {
      trigger.SetEnabled(false);
      testfx::FailuresLeft() = 1;
      ExecuteEffect(&innerScreen.Canvas, 1, 1, inner.get(), newImage.get(), oldImage.get());
      innerEnd = Headless()->Now();
    };
    ExecuteEffect(&outerScreen.Canvas, 1, 1, outer.get(), newImage.get(), oldImage.get());
    EXPECT_EQ(Headless()->Now() - start, 8u * gxTickInterval);
    EXPECT_EQ(innerEnd - start, 4u * gxTickInterval);
    EXPECT_EQ(reports.Messages, std::vector<String>{"the effect failed"});
    EXPECT_EQ(testfx::Log().Percents, c.Percents);
    EXPECT_TRUE(outerScreen.Shows(*newImage, 1, 1));
    EXPECT_TRUE(innerScreen.Shows(*newImage, 1, 1));
  }
}

TEST_F(EffectEngine, AnExceptionOfAnotherHandlerEndsExecuteEffectAndItsTransition) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto settings = Settings("Test Record", 150);
  TTimer failing(nullptr);
  failing.SetInterval(50);
  failing.OnTimer = [&](TObject*) {
    failing.SetEnabled(false);
    throw Exception("a handler failed");
  };
  const uint64_t start = Headless()->Now();
  EXPECT_THROW(ExecuteEffect(nullptr, 0, 0, settings.get(), newImage.get(), oldImage.get()), Exception);
  EXPECT_EQ(Headless()->Now() - start, 50u);
  for (int i = 0; i < gxSlotCount; ++i) EXPECT_FALSE(gxEffectSlot(i).Active) << i;
  EXPECT_FALSE(gxEffectTimer()->Enabled());
}

// ---- the random mode ----

TEST_F(EffectEngine, TheRandomModePlaysARegisteredEffect) {
  auto oldImage = Image(4, 4, kOld), newImage = Image(4, 4, kNew);
  auto settings = Settings(gxRandomEffectName);
  // An effect without a procedure would not start; none is registered.
  for (int round = 0; round < 20; ++round) {
    Headless()->Advance(7);
    const int slot = StartEffect(nullptr, 0, 0, -1, settings.get(), newImage.get(), oldImage.get());
    ASSERT_TRUE(gxEffectSlot(slot).Active);
    TgxProcItem* item = gxEffectSlot(slot).Transition.Item();
    ASSERT_NE(item, nullptr);
    EXPECT_GE(gxProcList()->IndexOf(item), 0);
    StopEffect(slot, false);
  }
}

// ---- the grid of cells ----

struct Grid {
  const char* Effect;
  TgxRotation Rotation;
  size_t Mask1, Mask2, Records;
};

class EffectGrid : public EffectEngine, public ::testing::WithParamInterface<Grid> {};

TEST_P(EffectGrid, CellsCountPixelsPerResolutionAndTilePlusOne) {
  const Grid& c = GetParam();
  auto oldImage = Image(100, 60, kOld), newImage = Image(100, 60, kNew);
  auto settings = Settings(c.Effect, 400, 4, 2, c.Rotation);
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  // 100 div 4 div 2 + 1 and 60 div 4 div 2 + 1.
  EXPECT_EQ(t.CellsX(), 13);
  EXPECT_EQ(t.CellsY(), 8);
  EXPECT_EQ(t.Mask1().size(), c.Mask1);
  EXPECT_EQ(t.Mask2().size(), c.Mask2);
  EXPECT_EQ(t.Records().size(), c.Records);
  EXPECT_EQ(t.Work()->Width(), 100);
  EXPECT_EQ(t.Work()->Height(), 60);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EffectGrid,
                         ::testing::Values(Grid{"Test Record", krNone, 104, 0, 0}, Grid{"Test Record", krRotate90, 104, 104, 0},
                                           Grid{"[ BITMAP ] - Bitmap Animation", krNone, 104, 104, 0},
                                           Grid{"Test Mark Corner", krRotate180, 0, 0, 104},
                                           Grid{"Test Record Manual", krRotate270, 0, 0, 0}));

// ---- scaling masks to pixels ----

struct Scaling {
  int W, H, Resolution, Tiles;
  std::vector<int> CellOfColumn, CellOfRow;  // worked out by hand from the 16.16 steps
};

class EffectMaskScaling : public EffectEngine, public ::testing::WithParamInterface<Scaling> {};

TEST_P(EffectMaskScaling, EachPixelTakesTheCellOfItsFixedPointPosition) {
  const Scaling& c = GetParam();
  auto oldImage = Image(c.W, c.H, kOld), newImage = Image(c.W, c.H, kNew);
  auto settings = Settings("Test Number Cells", 400, c.Resolution, c.Tiles);
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  t.Compose(50);
  const int cellsX = t.CellsX();
  for (int y = 0; y < c.H; ++y)
    for (int x = 0; x < c.W; ++x) {
      const uint32_t a = 10 * (1 + c.CellOfColumn[size_t(x)] + cellsX * c.CellOfRow[size_t(y)]);
      EXPECT_EQ(newImage->GetPixel(x, y) >> 24, a) << x << "," << y;
      // White over black with alpha a: colour (255 * a) div 256, alpha (255 * 256 + (a - 255) * a) div 256.
      const uint32_t c8 = 255 * a / 256, a8 = (255 * 256 - (255 - a) * a) / 256;
      EXPECT_EQ(t.Work()->GetPixel(x, y), a8 << 24 | c8 << 16 | c8 << 8 | c8) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grids, EffectMaskScaling,
    ::testing::Values(
        // 3 x 3 cells of 3 pixels: the step 21845 reaches 65536 only at the fifth pixel.
        Scaling{7, 7, 3, 1, {0, 0, 0, 0, 1, 1, 1}, {0, 0, 0, 0, 1, 1, 1}},
        // 5 x 4 cells per tile of 5 x 4 pixels: the second tiles repeat the cells.
        Scaling{8, 6, 1, 2, {0, 1, 2, 3, 4, 0, 1, 2}, {0, 1, 2, 3, 0, 1}},
        // 3 x 2 cells of 2 pixels in 2 x 2 tiles of 6 x 4 pixels.
        Scaling{9, 5, 2, 2, {0, 0, 1, 1, 2, 2, 0, 0, 1}, {0, 0, 1, 1, 0}}));

TEST_F(EffectEngine, KeyColouredPixelsOfTheNewImageStayTransparent) {
  auto oldImage = Image(4, 2, kOld), newImage = Image(4, 2, kNew);
  newImage->SetPixel(1, 1, 0xFF7F007F);
  auto settings = Settings("Test Number Cells");
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  t.Compose(100);
  EXPECT_EQ(t.Work()->GetPixel(1, 1), kOld);
  EXPECT_EQ(t.Work()->GetPixel(2, 1), kNew);
}

// ---- the rotation tables on a 3 x 2 grid (a 2 x 1 image with cells of one pixel) ----

struct Turn {
  TgxRotation Rotation;
  std::vector<uint8_t> Mask;  // final cells, row-major
};

class EffectFadeRotation : public EffectEngine, public ::testing::WithParamInterface<Turn> {};

TEST_P(EffectFadeRotation, TurnsTheGridTheEffectDrew) {
  const Turn& c = GetParam();
  auto oldImage = Image(2, 1, kOld), newImage = Image(2, 1, kNew);
  auto settings = Settings("Test Number Cells", 400, 1, 1, c.Rotation);
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  ASSERT_EQ(t.CellsX(), 3);
  ASSERT_EQ(t.CellsY(), 2);
  t.Compose(50);
  EXPECT_EQ(t.Mask1(), c.Mask);
  EXPECT_EQ(newImage->GetPixel(0, 0) >> 24, c.Mask[0]);
  EXPECT_EQ(newImage->GetPixel(1, 0) >> 24, c.Mask[1]);
}

// The effect numbers its grid 10, 20, ... row by row: 3 x 2, or 2 x 3 for 90 and 270.
INSTANTIATE_TEST_SUITE_P(Rotations, EffectFadeRotation,
                         ::testing::Values(Turn{krNone, {10, 20, 30, 40, 50, 60}},
                                           Turn{krRotate90, {20, 40, 60, 10, 30, 50}},
                                           Turn{krRotate180, {60, 50, 40, 30, 20, 10}},
                                           Turn{krRotate270, {50, 30, 10, 60, 40, 20}}));

class EffectBitmapRotation : public EffectEngine, public ::testing::WithParamInterface<Turn> {};

TEST_P(EffectBitmapRotation, ReadsThePictureThroughTheTable) {
  const Turn& c = GetParam();
  auto oldImage = Image(2, 1, kOld), newImage = Image(2, 1, kNew);
  auto settings = Settings(gxBitmapEffectName, 400, 1, 1, c.Rotation);
  const bool turned = c.Rotation == krRotate90 || c.Rotation == krRotate270;
  // The picture has the size of the grid it is read in, so it is copied, not scaled.
  auto picture = Picture(turned ? 2 : 3, turned ? 3 : 2, {10, 20, 30, 40, 50, 60});
  settings->SetBitmap(picture.get());
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  EXPECT_EQ(t.Mask2(), (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
  // At 50 % the opacity is the picture's value itself (m + 255 - 255).
  t.Compose(50);
  EXPECT_EQ(t.Mask1(), c.Mask);
}

INSTANTIATE_TEST_SUITE_P(Rotations, EffectBitmapRotation,
                         ::testing::Values(Turn{krNone, {10, 20, 30, 40, 50, 60}},
                                           Turn{krRotate90, {10, 30, 50, 20, 40, 60}},
                                           Turn{krRotate180, {60, 50, 40, 30, 20, 10}},
                                           Turn{krRotate270, {20, 40, 60, 10, 30, 50}}));

// An 11 x 7 image with cells of 4 pixels is a 3 x 2 grid; a cell covers 5 x 5 pixels.
struct SlideTurn {
  TgxRotation Rotation;
  RECT Block;                  // pixels of the cell the marked record lands in
  POINT Probe, ProbeSource;    // with the source one cell to the right
};

class EffectSlideRotation : public EffectEngine, public ::testing::WithParamInterface<SlideTurn> {};

TEST_P(EffectSlideRotation, TurnsTheRecordsAndTheirSources) {
  const SlideTurn& c = GetParam();
  auto oldImage = Image(11, 7, kOld), newImage = Coordinates(11, 7);
  auto settings = Settings("Test Mark Corner", 400, 4, 1, c.Rotation);
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  ASSERT_EQ(t.CellsX(), 3);
  ASSERT_EQ(t.CellsY(), 2);
  t.Compose(50);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 11; ++x) {
      const bool inBlock = x >= c.Block.Left && x <= c.Block.Right && y >= c.Block.Top && y <= c.Block.Bottom;
      EXPECT_EQ(t.Work()->GetPixel(x, y), inBlock ? newImage->GetPixel(x, y) : kOld) << x << "," << y;
    }

  auto fromNext = Settings("Test Mark Corner From Next", 400, 4, 1, c.Rotation);
  TgxTransition u;
  ASSERT_TRUE(u.Prepare(fromNext.get(), newImage.get(), oldImage.get()));
  u.Compose(50);
  EXPECT_EQ(u.Work()->GetPixel(c.Probe.X, c.Probe.Y), newImage->GetPixel(c.ProbeSource.X, c.ProbeSource.Y));
}

INSTANTIATE_TEST_SUITE_P(Rotations, EffectSlideRotation,
                         ::testing::Values(SlideTurn{krNone, {0, 0, 4, 4}, {0, 0}, {4, 0}},
                                           SlideTurn{krRotate90, {8, 0, 10, 4}, {8, 0}, {8, 4}},
                                           SlideTurn{krRotate180, {8, 4, 10, 6}, {8, 4}, {4, 4}},
                                           SlideTurn{krRotate270, {0, 4, 4, 6}, {0, 4}, {0, 0}}));

// ---- the bitmap mode ----

TEST_F(EffectEngine, ABlackPictureKeepsEveryCellTransparentUntilHalfWay) {
  auto oldImage = Image(30, 20, kOld), newImage = Image(30, 20, kNew);
  auto settings = Settings(gxBitmapEffectName, 400, 2, 2);
  auto picture = Picture(5, 5, std::vector<uint8_t>(25, 0));
  settings->SetBitmap(picture.get());
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  for (int p : {0, 1, 25, 49, 50, 51, 75, 99, 100}) {
    t.Compose(uint8_t(p));
    // m + MulDiv(510, p, 100) - 255 with m = 0, limited to 0..255.
    const int expected = std::clamp((510 * p + 50) / 100 - 255, 0, 255);
    for (uint8_t cell : t.Mask1()) ASSERT_EQ(cell, expected) << p;
    if (p <= 50) {
      EXPECT_EQ(t.Work()->GetPixel(17, 9), kOld) << p;
    }
    if (p == 100) {
      EXPECT_EQ(t.Work()->GetPixel(17, 9), kNew);
    }
  }
}

TEST_F(EffectEngine, BrighterPictureCellsShowFirst) {
  auto oldImage = Image(2, 1, kOld), newImage = Image(2, 1, kNew);
  auto settings = Settings(gxBitmapEffectName);
  // 3 x 2 cells: the left column white, the rest grey 102 or black.
  settings->SetBitmap(Picture(3, 2, {255, 102, 0, 255, 102, 0}).get());
  TgxTransition t;
  ASSERT_TRUE(t.Prepare(settings.get(), newImage.get(), oldImage.get()));
  t.Compose(10);  // MulDiv(510, 10, 100) = 51: white 51, grey 0, black 0
  EXPECT_EQ(t.Mask1(), (std::vector<uint8_t>{51, 0, 0, 51, 0, 0}));
  t.Compose(40);  // 204: white 204, grey 51
  EXPECT_EQ(t.Mask1(), (std::vector<uint8_t>{204, 51, 0, 204, 51, 0}));
}

}  // namespace
