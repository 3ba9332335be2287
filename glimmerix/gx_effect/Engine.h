// The transition engine: up to 201 transitions at once, each drawing its frames from an
// old image to a new one onto a canvas, all stepped by one shared 20 ms timer.
//
// A frame is the old image with the new image laid over it: through an opacity mask of
// one byte per effect cell (fade effects and the bitmap mode), through displacement
// records (slide effects), or drawn by the effect itself (manual effects). Rotation turns
// the effect's geometry; Resolution is the cell size in pixels; the effect repeats in
// TileCount x TileCount tiles.
#pragma once

#include <memory>
#include <vector>

#include "gx_bitmap/Bitmap.h"
#include "gx_effect/AnimationRec.h"
#include "gx_effect/Registry.h"
#include "gx_effect/Timer.h"
#include "vcl/ExtCtrls.h"

constexpr int32_t gxSlotCount = 201;
constexpr uint32_t gxTickInterval = 20;

// The frames of one transition: what a slot composes on every tick, and what tools and
// benchmarks use to compose the frame of any percentage.
class TgxTransition {
 public:
  TgxTransition() = default;
  ~TgxTransition() { Release(); }
  TgxTransition(const TgxTransition&) = delete;
  TgxTransition& operator=(const TgxTransition&) = delete;

  // Chooses the effect and copies every setting the frames need, so that the caller may
  // change Settings while the transition plays. False, with nothing prepared, when an
  // image is missing or empty or the effect is neither registered with a procedure nor
  // the bitmap mode. The images stay the caller's and must outlive the transition.
  bool Prepare(TgxAnimationRec* Settings, TgxBitmap* NewImage, TgxBitmap* OldImage);
  // Frees the work image and the buffers.
  void Release();
  bool Prepared() const { return FWork != nullptr; }

  // The work image := the old image with the frame of Percent over it. Fade effects and
  // the bitmap mode leave their mask in the new image's alpha bytes. From 100 on the
  // frame is the new image whole (its key-coloured pixels still show the old one).
  void Compose(uint8_t Percent);

  TgxBitmap* Work() const { return FWork.get(); }
  // The copy of the settings (what manual effects are given).
  TgxAnimationRec* Settings() const { return FSettings.get(); }
  TgxProcItem* Item() const { return FItem; }
  bool BitmapMode() const { return FBitmapMode; }
  int32_t CellsX() const { return FCellsX; }
  int32_t CellsY() const { return FCellsY; }
  // Mask 1 is the mask applied to the frame; mask 2 holds what the effect drew before
  // rotation, or the bitmap mode's picture.
  const std::vector<uint8_t>& Mask1() const { return FMask1; }
  const std::vector<uint8_t>& Mask2() const { return FMask2; }
  const std::vector<TgxDisplacement>& Records() const { return FRecords; }

 private:
  // A displacement record turned to the final grid: the source cell's pixel offset
  // (column and row times Resolution) in final coordinates.
  struct TFinalRecord {
    uint8_t Flag;
    int32_t SourceX;
    int32_t SourceY;
  };

  void ComposeBitmapMode(uint8_t Percent);
  void ComposeFade(uint8_t Percent);
  void ComposeSlide(uint8_t Percent);
  void ComposeManual(uint8_t Percent);
  void ComposeFinal();
  void RotateFadeMask();
  // Final cell row Y of the records, turned by the rotation table; false when every
  // record of the row keeps the old image.
  bool TurnRecordRow(int32_t Y, TFinalRecord* Out) const;
  // The new image's alpha := mask 1 scaled to the tiles, then the new image blended over
  // the work image.
  void ApplyMask();
  void ApplyRecords();
  // The size the effect's procedure draws in: the grid, turned for 90 and 270 degrees.
  int32_t GridW() const;
  int32_t GridH() const;

  std::unique_ptr<TgxAnimationRec> FSettings;
  TgxProcItem* FItem = nullptr;
  TgxProcKind FKind = pkFade;
  TgxProc FProc;
  bool FBitmapMode = false;
  int32_t FResolution = 1;
  int32_t FTileCount = 1;
  TgxRotation FRotation = krNone;
  TgxBitmap* FNewImage = nullptr;
  TgxBitmap* FOldImage = nullptr;
  std::unique_ptr<TgxBitmap> FWork;
  int32_t FCellsX = 0;
  int32_t FCellsY = 0;
  std::vector<uint8_t> FMask1;
  std::vector<uint8_t> FMask2;
  std::vector<TgxDisplacement> FRecords;
  std::vector<TFinalRecord> FFinalRecords;  // two turned cell rows
  std::vector<uint32_t> FCellOfColumn;
};

// One entry of the slot table. A slot is free when it is neither active nor reserved.
struct TgxEffectSlot {
  bool Active = false;
  bool Busy = false;
  bool Reserved = false;
  // Elapsed milliseconds.
  float Clock = 0.0f;
  // Counts the transitions the slot has started, so that a wait ends with its own one.
  uint32_t Generation = 0;
  int32_t Time = 400;
  // The caller's settings, images and canvas: not owned, they must outlive the
  // transition (ExecuteEffect waits for its end, so its callers need not care).
  TgxAnimationRec* Settings = nullptr;
  TgxBitmap* NewImage = nullptr;
  TgxBitmap* OldImage = nullptr;
  TCanvas* Canvas = nullptr;
  int32_t X = 0;
  int32_t Y = 0;
  // The work image, the buffers and the copied settings.
  TgxTransition Transition;
};

// Starts the unit once: the slot table, the shared timer (disabled), the standard
// effects and the effect name list. Every entry of the unit calls it.
void gxInitEffectUnit();

// Starts a transition in Slot, or in the first free slot when Slot is -1, drawing its
// frames onto Canvas at (X, Y) (a null Canvas composes without drawing). Answers the
// slot, or -1 when no slot is free, Slot is out of range or busy stepping. A slot is
// answered but not started when an image is missing or empty or the effect is unknown.
// Canvas, Settings and both images are the caller's and must outlive the transition; a
// slot that is still running is stopped first.
int32_t StartEffect(TCanvas* Canvas, int32_t X, int32_t Y, int32_t Slot, TgxAnimationRec* Settings,
                    TgxBitmap* NewImage, TgxBitmap* OldImage);
// Starts a transition and handles messages until it has ended. Objects released while it
// waits (a form closed with caFree) are not freed before it returns. A step that fails is
// reported to the application and tried again on the next tick; any other exception
// raised while it waits stops the transition before it reaches the caller.
void ExecuteEffect(TCanvas* Canvas, int32_t X, int32_t Y, TgxAnimationRec* Settings, TgxBitmap* NewImage,
                   TgxBitmap* OldImage);
// One tick of one slot: the clock moves 20 ms on and, unless the slot is busy, the frame
// of that time is drawn; the frame of 100 % ends the transition.
void StepEffect(int32_t Slot);
// Ends a transition; with DrawFinal (and a canvas with a handle) the new image is drawn
// first.
void StopEffect(int32_t Slot, bool DrawFinal);

// The slot table, read-only; Slot must be in 0..gxSlotCount - 1.
const TgxEffectSlot& gxEffectSlot(int32_t Slot);
// The shared timer: enabled exactly while some slot is active.
TTimer* gxEffectTimer();
// Adds Value to every slot's clock (the shared timer's correction after each tick: the
// time its steps took, in seconds).
void gxAddToSlotClocks(float Value);
