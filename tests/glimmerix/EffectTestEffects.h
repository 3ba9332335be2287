// Effects of the engine's tests, registered by hand next to the standard ones: they record
// what the engine asks of them, or draw masks and records whose every cell is known.
#pragma once

#include <utility>
#include <vector>

#include "backend/Headless.h"
#include "gx_effect.h"

namespace testfx {

struct CallLog {
  std::vector<int> Percents;
  std::vector<std::pair<int, int>> Sizes;
  void Clear() {
    Percents.clear();
    Sizes.clear();
  }
};

inline CallLog& Log() {
  static CallLog log;
  return log;
}

// Draws nothing, so its frames are the old image (until the last one).
inline void RecordFade(uint8_t*, int32_t W, int32_t H, uint8_t Percent) {
  Log().Percents.push_back(Percent);
  Log().Sizes.push_back({W, H});
}

// Cell n of the grid the procedure is given gets 10 * (n + 1).
inline void NumberCells(uint8_t* Mask, int32_t W, int32_t H, uint8_t) {
  for (int32_t n = 0; n < W * H; ++n) Mask[n] = uint8_t(10 * (n + 1));
}

// Only the top-left cell moves: it shows its own pixels of the new image.
inline void MarkCorner(TgxDisplacement* Records, int32_t, int32_t, uint8_t) { Records[0] = {255, 0, 0, 0}; }

// Only the top-left cell moves: it shows the pixels of the cell to its right.
inline void MarkCornerFromNext(TgxDisplacement* Records, int32_t, int32_t, uint8_t) { Records[0] = {255, 0, 1, 0}; }

// Every kind of record: kept, copied, blended, with sources inside, beside and far from
// the grid, varying with the percentage.
inline void MixedRecords(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent) {
  static const uint8_t flags[] = {0, 255, 128, 255, 1, 200, 255, 0, 64};
  for (int32_t j = 0; j < H; ++j)
    for (int32_t i = 0; i < W; ++i) {
      const int32_t n = i + j * W;
      TgxDisplacement& d = Records[n];
      d.Flag = flags[(n * 7 + Percent) % 9];
      d.SourceX = int16_t((i * 3 + j + Percent) % (W + 3) - 1);
      d.SourceY = int16_t((j * 5 + i * 2 + Percent / 3) % (H + 2) - 1);
    }
}

// Only copies and keeps, in runs of four neighbouring cells that each take their pixels
// from one source row with one shift: runs from inside, beside and far from the grid,
// staggered from row to row and varying with the percentage.
inline void CopyRuns(TgxDisplacement* Records, int32_t W, int32_t H, uint8_t Percent) {
  for (int32_t j = 0; j < H; ++j)
    for (int32_t i = 0; i < W; ++i) {
      const int32_t run = (i + j + Percent) / 4;
      const int32_t shift = run % 3 == 0 ? Percent % 7 - 3 : run % 3 == 1 ? W / 2 : -(j % 4) - 40 * (run % 5 == 4);
      TgxDisplacement& d = Records[i + j * W];
      d.Flag = run % 5 == 2 ? 0 : 255;
      d.SourceX = int16_t(i + shift);
      d.SourceY = int16_t((j + run) % (H + 2) - 1);
    }
}

inline void RecordManual(TgxBitmap*, TgxBitmap*, TgxAnimationRec* Settings, uint8_t Percent) {
  Log().Percents.push_back(Percent);
  Log().Sizes.push_back({int(Settings->Rotation()), Settings->Time()});
}

// Fails while the countdown runs, then records like RecordFade.
inline int& FailuresLeft() {
  static int n = 0;
  return n;
}
inline void FailingFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  if (FailuresLeft() > 0) {
    --FailuresLeft();
    throw Exception("the effect failed");
  }
  RecordFade(Mask, W, H, Percent);
}

// Steps its own slot again from inside its frame.
inline int& ReentrantSlot() {
  static int slot = -1;
  return slot;
}
inline void ReentrantManual(TgxBitmap*, TgxBitmap*, TgxAnimationRec*, uint8_t Percent) {
  Log().Percents.push_back(Percent);
  StepEffect(ReentrantSlot());
}

// A frame that takes 5 ms of the window system's (virtual) clock.
inline void SlowFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  RecordFade(Mask, W, H, Percent);
  if (HeadlessBackend* headless = Headless()) headless->Advance(5);
}

inline void RegisterTestEffects() {
  static const bool registered = [] {
    RegisterEffect("Test Record", pkFade, TgxFadeProc(&RecordFade));
    RegisterEffect("Test Number Cells", pkFade, TgxFadeProc(&NumberCells));
    RegisterEffect("Test Mark Corner", pkSlide, TgxSlideProc(&MarkCorner));
    RegisterEffect("Test Mark Corner From Next", pkSlide, TgxSlideProc(&MarkCornerFromNext));
    RegisterEffect("Test Mixed Records", pkSlide, TgxSlideProc(&MixedRecords));
    RegisterEffect("Test Copy Runs", pkSlide, TgxSlideProc(&CopyRuns));
    RegisterEffect("Test Record Manual", pkManual, TgxManualProc(&RecordManual));
    RegisterEffect("Test Failing", pkFade, TgxFadeProc(&FailingFade));
    RegisterEffect("Test Reentrant", pkManual, TgxManualProc(&ReentrantManual));
    RegisterEffect("Test Slow", pkFade, TgxFadeProc(&SlowFade));
    return true;
  }();
  (void)registered;
}

// The effects of the catalogue: every registered one that is not a test's.
inline std::vector<TgxProcItem*> StandardEffects() {
  std::vector<TgxProcItem*> items;
  TgxProcList* list = gxProcList();
  for (int i = 0; list && i < list->Count(); ++i)
    if (list->Items(i)->Name().find("- Test ") == String::npos) items.push_back(list->Items(i));
  return items;
}

}  // namespace testfx
