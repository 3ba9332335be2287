// The registry of effects, the effect name list, the transition settings and the
// stopwatch of the transition engine.
#include <gtest/gtest.h>

#include "EffectTestEffects.h"
#include "backend/Headless.h"

namespace {

// ---- finding effects ----

struct LookUp {
  const char* Index;
  const char* Expected;  // display name of the item found, or null
};

class EffectLookUp : public ::testing::TestWithParam<LookUp> {};

TEST_P(EffectLookUp, FindsByDisplayOrPlainNameInAnyCase) {
  testfx::RegisterTestEffects();
  const LookUp& c = GetParam();
  TgxProcItem* item = gxProcList()->GetProcs(c.Index);
  if (!c.Expected) {
    EXPECT_EQ(item, nullptr);
    return;
  }
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Name(), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, EffectLookUp,
    ::testing::Values(LookUp{"[ FADE ] - Test Record", "[ FADE ] - Test Record"},
                      LookUp{"[ fade ] - test record", "[ FADE ] - Test Record"},
                      LookUp{"test record", "[ FADE ] - Test Record"},
                      LookUp{"TEST MARK CORNER", "[ SLIDE ] - Test Mark Corner"},
                      LookUp{"[ slide ] - test mark corner from next", "[ SLIDE ] - Test Mark Corner From Next"},
                      LookUp{"test record manual", "[ MANUAL ] - Test Record Manual"},
                      // The plain name is the whole text after the prefix, not a part of it.
                      LookUp{"Record", nullptr}, LookUp{"Test", nullptr},
                      // A prefix of another kind is not the item's display name.
                      LookUp{"[ SLIDE ] - Test Record", nullptr}, LookUp{"", nullptr},
                      LookUp{"[ RANDOM ] - Random selection", nullptr}));

TEST(EffectRegistry, FindsTheStandardSlideEffectInterlaceByBothNames) {
  TgxProcItem* byPlain = gxProcList()->GetProcs("interlace");
  TgxProcItem* byDisplay = gxProcList()->GetProcs("[ slide ] - interlace");
  ASSERT_NE(byPlain, nullptr);
  EXPECT_EQ(byPlain, byDisplay);
  EXPECT_EQ(byPlain->Kind(), pkSlide);
  EXPECT_EQ(byPlain->Name(), "[ SLIDE ] - Interlace");
}

// ---- registering ----

void UnregisteredFade(uint8_t*, int32_t, int32_t, uint8_t) {}
void UnregisteredSlide(TgxDisplacement*, int32_t, int32_t, uint8_t) {}

TEST(EffectRegistry, ADuplicateProcedureIsRefusedWithItsMessage) {
  testfx::RegisterTestEffects();
  const int before = gxProcList()->Count();
  try {
    RegisterEffect("Another Name", pkFade, TgxFadeProc(&testfx::RecordFade));
    FAIL() << "a procedure registered twice";
  } catch (const EProcItemError& e) {
    EXPECT_EQ(e.Message(), "Effect procedute Another Name already exists in list");
  }
  EXPECT_EQ(gxProcList()->Count(), before);
}

TEST(EffectRegistry, ADuplicateDisplayNameIsRefusedInAnyCase) {
  testfx::RegisterTestEffects();
  const int before = gxProcList()->Count();
  EXPECT_THROW(RegisterEffect("test RECORD", pkFade, TgxFadeProc(&UnregisteredFade)), EProcItemError);
  EXPECT_EQ(gxProcList()->Count(), before);
}

TEST(EffectRegistry, AProcedureOfAnotherKindIsRefused) {
  const int before = gxProcList()->Count();
  EXPECT_THROW(RegisterEffect("Mismatch", pkFade, TgxSlideProc(&UnregisteredSlide)), EProcItemError);
  EXPECT_THROW(RegisterEffect("Mismatch", pkManual, TgxProc{}), EProcItemError);
  EXPECT_EQ(gxProcList()->Count(), before);
}

TEST(EffectRegistry, DisplayNamesCarryTheKindPrefix) {
  EXPECT_EQ(gxProcKindPrefix(pkFade), "[ FADE ] - ");
  EXPECT_EQ(gxProcKindPrefix(pkSlide), "[ SLIDE ] - ");
  EXPECT_EQ(gxProcKindPrefix(pkManual), "[ MANUAL ] - ");
  testfx::RegisterTestEffects();
  for (int i = 0; i < gxProcList()->Count(); ++i) {
    TgxProcItem* item = gxProcList()->Items(i);
    EXPECT_EQ(item->Name().rfind(gxProcKindPrefix(item->Kind()), 0), 0u) << item->Name();
  }
}

// ---- the effect name list ----

TEST(EffectNameList, HoldsTheTwoModesThenTheStandardEffectsInRegistrationOrder) {
  testfx::RegisterTestEffects();
  const TStringList* names = gxEffectNameList();
  ASSERT_NE(names, nullptr);
  const std::vector<TgxProcItem*> standard = testfx::StandardEffects();
  ASSERT_EQ(names->Count(), 2 + int(standard.size()));
  EXPECT_EQ(names->Strings(0), "[ RANDOM ] - Random selection");
  EXPECT_EQ(names->Strings(1), "[ BITMAP ] - Bitmap Animation");
  for (size_t i = 0; i < standard.size(); ++i) EXPECT_EQ(names->Strings(int(i) + 2), standard[i]->Name());
  // The catalogue comes first in the registry too, whoever registered first.
  for (size_t i = 0; i < standard.size(); ++i) EXPECT_EQ(gxProcList()->Items(int(i)), standard[i]);
}

TEST(EffectNameList, HasSixtyTwoEntriesWithTheCatalogue) {
  EXPECT_EQ(testfx::StandardEffects().size(), 60u);
  EXPECT_EQ(gxEffectNameList()->Count(), 62);
}

// ---- settings ----

TEST(AnimationRec, StartsWithTheDefaults) {
  TgxAnimationRec rec(nullptr);
  EXPECT_EQ(rec.Effect(), "[ RANDOM ] - Random selection");
  EXPECT_EQ(rec.Time(), 400);
  EXPECT_EQ(rec.Resolution(), 1);
  EXPECT_EQ(rec.TileCount(), 1);
  EXPECT_EQ(rec.Rotation(), krNone);
  EXPECT_FALSE(rec.Enabled());
  ASSERT_NE(rec.Bitmap(), nullptr);
  EXPECT_TRUE(rec.Bitmap()->Empty());
}

struct Clamp {
  void (TgxAnimationRec::*Set)(int32_t);
  int32_t (TgxAnimationRec::*Get)() const;
  int32_t Value;
  int32_t Stored;
};

class AnimationRecClamp : public ::testing::TestWithParam<Clamp> {};

TEST_P(AnimationRecClamp, StoresTheValueWithinItsRange) {
  const Clamp& c = GetParam();
  TgxAnimationRec rec(nullptr);
  (rec.*c.Set)(c.Value);
  EXPECT_EQ((rec.*c.Get)(), c.Stored);
}

constexpr auto SetTime = &TgxAnimationRec::SetTime;
constexpr auto GetTime = &TgxAnimationRec::Time;
constexpr auto SetRes = &TgxAnimationRec::SetResolution;
constexpr auto GetRes = &TgxAnimationRec::Resolution;
constexpr auto SetTiles = &TgxAnimationRec::SetTileCount;
constexpr auto GetTiles = &TgxAnimationRec::TileCount;

INSTANTIATE_TEST_SUITE_P(
    Ranges, AnimationRecClamp,
    ::testing::Values(Clamp{SetTime, GetTime, 20, 50}, Clamp{SetTime, GetTime, 50, 50}, Clamp{SetTime, GetTime, 51, 51},
                      Clamp{SetTime, GetTime, -7, 50}, Clamp{SetTime, GetTime, 9000, 9000},
                      Clamp{SetTime, GetTime, 9001, 9000}, Clamp{SetRes, GetRes, 0, 1}, Clamp{SetRes, GetRes, -3, 1},
                      Clamp{SetRes, GetRes, 7, 7}, Clamp{SetRes, GetRes, 10, 10}, Clamp{SetRes, GetRes, 11, 10},
                      Clamp{SetTiles, GetTiles, 0, 1}, Clamp{SetTiles, GetTiles, 20, 20},
                      Clamp{SetTiles, GetTiles, 25, 20}, Clamp{SetTiles, GetTiles, 3, 3}));

TEST(AnimationRec, IgnoresARotationOutsideTheEnumeration) {
  TgxAnimationRec rec(nullptr);
  rec.SetRotation(krRotate180);
  rec.SetRotation(TgxRotation(7));
  EXPECT_EQ(rec.Rotation(), krRotate180);
}

TBitmap* SolidBitmap(int w, int h, uint32_t pixel) {
  auto* b = new TBitmap;
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  auto* p = static_cast<uint32_t*>(b->ScanLine(0));
  std::fill(p, p + w * h, pixel);
  return b;
}

TEST(AnimationRec, AssignCopiesEverySettingAndThePictureItself) {
  TgxAnimationRec source(nullptr);
  source.SetEffect("[ FADE ] - Fade");
  source.SetTime(1234);
  source.SetResolution(3);
  source.SetTileCount(4);
  source.SetRotation(krRotate270);
  source.SetEnabled(true);
  std::unique_ptr<TBitmap> picture(SolidBitmap(3, 2, 0xFF102030));
  source.SetBitmap(picture.get());

  TgxAnimationRec copy(nullptr);
  copy.Assign(&source);
  EXPECT_EQ(copy.Effect(), "[ FADE ] - Fade");
  EXPECT_EQ(copy.Time(), 1234);
  EXPECT_EQ(copy.Resolution(), 3);
  EXPECT_EQ(copy.TileCount(), 4);
  EXPECT_EQ(copy.Rotation(), krRotate270);
  EXPECT_TRUE(copy.Enabled());
  ASSERT_EQ(copy.Bitmap()->Width(), 3);
  ASSERT_EQ(copy.Bitmap()->Height(), 2);
  EXPECT_NE(copy.Bitmap(), source.Bitmap());
  // Later changes of the source's picture do not reach the copy.
  static_cast<uint32_t*>(source.Bitmap()->ScanLine(0))[0] = 0xFFFFFFFF;
  EXPECT_EQ(static_cast<uint32_t*>(copy.Bitmap()->ScanLine(0))[0] & 0xFFFFFF, 0x102030u);
}

TEST(AnimationRec, SetBitmapCopiesThePicture) {
  TgxAnimationRec rec(nullptr);
  std::unique_ptr<TBitmap> picture(SolidBitmap(4, 4, 0xFF000000));
  rec.SetBitmap(picture.get());
  picture.reset();
  EXPECT_EQ(rec.Bitmap()->Width(), 4);
}

TEST(AnimationRec, AssignFromAnotherClassRaisesTheConversionError) {
  TgxAnimationRec rec(nullptr);
  TBitmap other;
  EXPECT_THROW(rec.Assign(&other), EConvertError);
}

// ---- the stopwatch ----

TEST(GxTimer, MeasuresTheWindowSystemsClockInSeconds) {
  ASSERT_NE(Headless(), nullptr);
  TgxTimer timer;
  timer.Start();
  Headless()->Advance(250);
  timer.Stop();
  EXPECT_DOUBLE_EQ(timer.Elapsed(), 0.25);
  timer.Start();
  timer.Stop();
  EXPECT_DOUBLE_EQ(timer.Elapsed(), 0.0);
}

}  // namespace
