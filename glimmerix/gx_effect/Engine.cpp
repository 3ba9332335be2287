#include "gx_effect/Engine.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

#include "vcl/Forms.h"
#include "win/Queue.h"

namespace {

// ---- the unit's state ----

struct TgxEffectUnit {
  std::array<TgxEffectSlot, gxSlotCount> Slots;
  std::unique_ptr<TgxMultiObject> MultiObject;
  std::unique_ptr<TTimer> Timer;
  // The framework's random generator, for the random mode.
  uint32_t RandSeed = 0;
  bool Started = false;

  TgxEffectUnit() {
    // What the slots' images and the timer use at exit must outlive this object, so it
    // is made first: statics finish in the reverse order of their construction.
    {
      TgxBitmap warmUp;
      warmUp.SetSize(1, 1);
    }
    MultiObject = std::make_unique<TgxMultiObject>();
    Timer = std::make_unique<TTimer>(nullptr);
    Timer->SetInterval(gxTickInterval);
    Timer->SetEnabled(false);
    Timer->OnTimer = [this](TObject* Sender) { MultiObject->DoMultiTimer(Sender); };
    RandSeed = uint32_t(GetTickCount64());
  }

  ~TgxEffectUnit() {
    for (TgxEffectSlot& slot : Slots) slot.Transition.Release();
    Timer.reset();
  }
};

TgxEffectUnit& Unit() {
  static TgxEffectUnit unit;
  return unit;
}

void Randomize() { Unit().RandSeed = uint32_t(GetTickCount64()); }

// 0 .. Range - 1.
int32_t Random(int32_t Range) {
  uint32_t& seed = Unit().RandSeed;
  seed = seed * 134775813u + 1u;
  return int32_t((uint64_t(seed) * uint64_t(uint32_t(Range))) >> 32);
}

void UpdateTimer() {
  TgxEffectUnit& unit = Unit();
  const bool running =
      std::any_of(unit.Slots.begin(), unit.Slots.end(), [](const TgxEffectSlot& s) { return s.Active; });
  unit.Timer->SetEnabled(running);
}

bool ValidSlot(int32_t Slot) { return Slot >= 0 && Slot < gxSlotCount; }

bool HasPixels(const TgxBitmap* Image) { return Image && !Image->Empty() && Image->Width() > 0 && Image->Height() > 0; }

// Target := Source at (0, 0), over the part both cover (the caller may have resized the
// old image while the transition played).
void CopyImage(const TgxBitmap* Source, TgxBitmap* Target) {
  if (Source->Empty()) return;
  if (Source->Width() == Target->Width() && Source->Height() == Target->Height()) {
    std::memcpy(Target->Bits(), Source->Bits(), size_t(Target->Width()) * size_t(Target->Height()) * sizeof(TgxColor));
    return;
  }
  const int32_t w = std::min(Source->Width(), Target->Width()), h = std::min(Source->Height(), Target->Height());
  for (int32_t y = 0; y < h; ++y) std::memcpy(Target->GetScanLine(y), Source->GetScanLine(y), size_t(w) * sizeof(TgxColor));
}

// MulDiv on 64 bits: nearest, halves away from zero. Denominators here are positive.
int64_t MulDiv64(int64_t a, int64_t b, int64_t c) {
  const int64_t p = a * b;
  return p >= 0 ? (p + c / 2) / c : -((-p + c / 2) / c);
}

}  // namespace

// ---- a transition's frames ----

int32_t TgxTransition::GridW() const { return FRotation == krRotate90 || FRotation == krRotate270 ? FCellsY : FCellsX; }

int32_t TgxTransition::GridH() const { return FRotation == krRotate90 || FRotation == krRotate270 ? FCellsX : FCellsY; }

bool TgxTransition::Prepare(TgxAnimationRec* Settings, TgxBitmap* NewImage, TgxBitmap* OldImage) {
  gxInitEffectUnit();
  Release();
  if (!Settings || !HasPixels(NewImage) || !HasPixels(OldImage)) return false;

  String name = Settings->Effect();
  TgxProcList* list = gxProcList();
  if (AnsiSameText(name, gxRandomEffectName)) {
    if (!list || list->Count() == 0) return false;
    Randomize();
    name = list->Items(Random(list->Count()))->Name();
  }
  const bool bitmapMode = AnsiSameText(name, gxBitmapEffectName);
  TgxProcItem* item = list ? list->GetProcs(name) : nullptr;
  if (!bitmapMode && (!item || !item->HasProc())) return false;

  FSettings = std::make_unique<TgxAnimationRec>(nullptr);
  FSettings->Assign(Settings);
  FItem = bitmapMode ? nullptr : item;
  FBitmapMode = bitmapMode;
  if (FItem) {
    FKind = FItem->Kind();
    FProc = FItem->Proc();
  }
  FResolution = FSettings->Resolution();
  FTileCount = FSettings->TileCount();
  FRotation = FSettings->Rotation();
  FNewImage = NewImage;
  FOldImage = OldImage;

  FWork = std::make_unique<TgxBitmap>();
  try {
    FWork->SetSize(OldImage->Width(), OldImage->Height());
  } catch (...) {
    Release();
    throw;
  }
  FCellsX = OldImage->Width() / FResolution / FTileCount + 1;
  FCellsY = OldImage->Height() / FResolution / FTileCount + 1;
  const size_t cells = size_t(FCellsX) * size_t(FCellsY);

  if (FBitmapMode) {
    FMask1.assign(cells, 0);
    FMask2.assign(cells, 0);
    // The picture at cell resolution; turned grids read it through the rotation table.
    TBitmap picture;
    picture.SetSize(GridW(), GridH());
    picture.Canvas()->StretchDraw(Rect(0, 0, GridW(), GridH()), FSettings->Bitmap());
    const auto* pixels = static_cast<const uint32_t*>(picture.ScanLine(0));
    for (size_t n = 0; n < cells; ++n) FMask2[n] = uint8_t(pixels[n] & 0xFF);
    FMask1 = FMask2;
  } else if (FKind == pkFade) {
    FMask1.assign(cells, 0);
    if (FRotation != krNone) FMask2.assign(cells, 0);
  } else if (FKind == pkSlide) {
    FRecords.assign(cells, TgxDisplacement{});
    FFinalRecords.assign(size_t(FCellsX) * 2, TFinalRecord{});
  }
  return true;
}

void TgxTransition::Release() {
  FWork.reset();
  FSettings.reset();
  FItem = nullptr;
  FProc = std::monostate{};
  FBitmapMode = false;
  FNewImage = nullptr;
  FOldImage = nullptr;
  FCellsX = FCellsY = 0;
  // Buffers go with their transition, not at the next one's start.
  std::vector<uint8_t>().swap(FMask1);
  std::vector<uint8_t>().swap(FMask2);
  std::vector<TgxDisplacement>().swap(FRecords);
  std::vector<TFinalRecord>().swap(FFinalRecords);
  std::vector<uint32_t>().swap(FCellOfColumn);
}

void TgxTransition::Compose(uint8_t Percent) {
  if (!FWork) return;
  const uint8_t p = std::min<uint8_t>(Percent, 100);
  CopyImage(FOldImage, FWork.get());
  if (FBitmapMode)
    ComposeBitmapMode(p);
  else if (FKind == pkFade)
    ComposeFade(p);
  else if (FKind == pkSlide)
    ComposeSlide(p);
  else
    ComposeManual(p);
  // Whatever the effect's last frame leaves, the transition ends on the new image.
  if (p >= 100) ComposeFinal();
}

void TgxTransition::ComposeBitmapMode(uint8_t Percent) {
  const int32_t cx = FCellsX, cy = FCellsY;
  const int32_t rise = MulDiv(510, Percent, 100) - 255;
  const uint8_t* B = FMask2.data();
  for (int32_t Y = 0; Y < cy; ++Y) {
    for (int32_t X = 0; X < cx; ++X) {
      size_t n = 0;
      switch (FRotation) {
        case krNone: n = size_t(X) + size_t(Y) * cx; break;
        case krRotate90: n = size_t(Y) + size_t(X) * cy; break;
        case krRotate180: n = size_t(cx) * (cy - Y) - X - 1; break;
        case krRotate270: n = size_t(cy) * (X + 1) - Y - 1; break;
      }
      FMask1[size_t(X) + size_t(Y) * cx] = uint8_t(std::clamp(B[n] + rise, 0, 255));
    }
  }
  ApplyMask();
}

void TgxTransition::ComposeFade(uint8_t Percent) {
  const auto proc = std::get<TgxFadeProc>(FProc);
  if (FRotation == krNone) {
    std::fill(FMask1.begin(), FMask1.end(), 0);
    proc(FMask1.data(), FCellsX, FCellsY, Percent);
  } else {
    std::fill(FMask2.begin(), FMask2.end(), 0);
    proc(FMask2.data(), GridW(), GridH(), Percent);
    RotateFadeMask();
  }
  ApplyMask();
}

void TgxTransition::RotateFadeMask() {
  const int32_t cx = FCellsX, cy = FCellsY;
  const uint8_t* G = FMask2.data();
  uint8_t* out = FMask1.data();
  for (int32_t Y = 0; Y < cy; ++Y) {
    for (int32_t X = 0; X < cx; ++X) {
      size_t g = 0;
      switch (FRotation) {
        case krNone: g = size_t(X) + size_t(Y) * cx; break;
        case krRotate90: g = size_t(cy - 1 - Y) + size_t(X) * cy; break;
        case krRotate180: g = size_t(cx - 1 - X) + size_t(cy - 1 - Y) * cx; break;
        case krRotate270: g = size_t(Y) + size_t(cx - 1 - X) * cy; break;
      }
      out[size_t(X) + size_t(Y) * cx] = G[g];
    }
  }
}

void TgxTransition::ApplyMask() {
  TgxBitmap* img = FNewImage;
  const int32_t W = img->Width(), H = img->Height();
  const int64_t R = FResolution, cx = FCellsX, cy = FCellsY;
  const int64_t tileW = R * cx, tileH = R * cy;
  FCellOfColumn.resize(size_t(tileW));
  for (int32_t ty = 0; ty < FTileCount; ++ty) {
    const int64_t top = ty * tileH;
    const int64_t clipTop = std::max<int64_t>(top, 0), clipBottom = std::min<int64_t>(top + tileH, H);
    if (clipTop >= clipBottom) continue;
    for (int32_t tx = 0; tx < FTileCount; ++tx) {
      const int64_t left = tx * tileW;
      const int64_t clipLeft = std::max<int64_t>(left, 0), clipRight = std::min<int64_t>(left + tileW, W);
      if (clipLeft >= clipRight) continue;
      // 16.16 stepping from the clipped corner: cell = position shr 16.
      const int64_t stepX = cx * 65536 / tileW, stepY = cy * 65536 / tileH;
      int64_t posX = MulDiv64(cx * (clipLeft - left), 65535, tileW);
      for (int64_t x = clipLeft; x < clipRight; ++x, posX += stepX) FCellOfColumn[size_t(x - clipLeft)] = uint32_t(posX >> 16);
      int64_t posY = MulDiv64(cy * (clipTop - top), 65535, tileH);
      for (int64_t y = clipTop; y < clipBottom; ++y, posY += stepY) {
        const uint8_t* maskRow = FMask1.data() + size_t(posY >> 16) * size_t(cx);
        TgxColor* row = img->GetScanLine(int32_t(y)) + clipLeft;
        const uint32_t* cell = FCellOfColumn.data();
        for (int64_t n = 0, count = clipRight - clipLeft; n < count; ++n)
          row[n] = (row[n] & gxColorMask) | (TgxColor(maskRow[cell[n]]) << 24);
      }
    }
  }
  gxClearAlphaKeyRow(img->Bits(), W * H);
  img->SetAlphaBlend(true);
  img->Draw(FWork.get(), 0, 0);
}

void TgxTransition::ComposeSlide(uint8_t Percent) {
  std::memset(static_cast<void*>(FRecords.data()), 0, FRecords.size() * sizeof(TgxDisplacement));
  std::get<TgxSlideProc>(FProc)(FRecords.data(), GridW(), GridH(), Percent);
  ApplyRecords();
}

bool TgxTransition::TurnRecordRow(int32_t Y, TFinalRecord* Out) const {
  const int32_t cx = FCellsX, cy = FCellsY, R = FResolution;
  const TgxDisplacement* G = FRecords.data();
  // Where final cell (X, Y) finds its record, and how the record's source turns.
  switch (FRotation) {
    case krNone:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(X) + size_t(Y) * cx];
        Out[X] = TFinalRecord{d.Flag, d.SourceX * R, d.SourceY * R};
      }
      break;
    case krRotate90:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(Y) + size_t(cx - 1 - X) * cy];
        Out[X] = TFinalRecord{d.Flag, (cx - 1 - d.SourceY) * R, d.SourceX * R};
      }
      break;
    case krRotate180:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(cx - 1 - X) + size_t(cy - 1 - Y) * cx];
        Out[X] = TFinalRecord{d.Flag, (cx - 1 - d.SourceX) * R, (cy - 1 - d.SourceY) * R};
      }
      break;
    case krRotate270:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(cy - 1 - Y) + size_t(X) * cy];
        Out[X] = TFinalRecord{d.Flag, d.SourceY * R, (cy - 1 - d.SourceX) * R};
      }
      break;
  }
  uint8_t any = 0;
  for (int32_t X = 0; X < cx; ++X) any |= Out[X].Flag;
  return any != 0;
}

// Every cell (i, j) of every tile (m, t) moves R + 1 by R + 1 pixels (u, v), in the loop
// order m, t, i, j, u, v; neighbouring cells share their last row and column. The new
// image is only read, so each target pixel can be finished on its own as long as the
// writes it receives keep that order: per tile, by cell column, then cell row. A pixel
// receives at most four writes; the last copy among them hides the ones before it, so
// they are looked at from the last one back.
void TgxTransition::ApplyRecords() {
  TgxBitmap* src = FNewImage;
  TgxBitmap* work = FWork.get();
  const int32_t srcW = src->Width(), srcH = src->Height();
  const int32_t targetW = std::min(srcW, work->Width()), targetH = std::min(srcH, work->Height());
  const int32_t R = FResolution, cx = FCellsX, cy = FCellsY;
  const int32_t TW = work->Width() / FTileCount, TH = work->Height() / FTileCount;
  const TgxColor* srcBits = src->Bits();

  // A pixel at offset d from the tile's origin is written by cell d div R (u = d mod R)
  // and, on a cell boundary, first by the cell before it (u = R).
  struct Hit {
    int32_t Count;
    int32_t Cell[2];
    int32_t Offset[2];
  };
  auto hitsOf = [R](int32_t d, int32_t cells) {
    Hit h{0, {0, 0}, {0, 0}};
    const int32_t q = d / R, r = d % R;
    if (r == 0 && q >= 1 && q - 1 < cells) h.Cell[h.Count] = q - 1, h.Offset[h.Count++] = R;
    if (q < cells) h.Cell[h.Count] = q, h.Offset[h.Count++] = r;
    return h;
  };
  std::vector<Hit> columns;
  std::vector<int32_t> lastCell, lastOffset;
  // The cell rows a pixel row needs, turned to the final grid, in two row buffers.
  int32_t turned[2] = {-1, -1};
  bool moves[2] = {false, false};  // some record of the row has a flag
  auto turnedRow = [&](int32_t cellRow, int32_t keep, bool& rowMoves) -> const TFinalRecord* {
    for (int32_t b = 0; b < 2; ++b)
      if (turned[b] == cellRow) {
        rowMoves = moves[b];
        return FFinalRecords.data() + size_t(b) * cx;
      }
    const int32_t b = turned[0] == keep ? 1 : 0;
    moves[b] = rowMoves = TurnRecordRow(cellRow, FFinalRecords.data() + size_t(b) * cx);
    turned[b] = cellRow;
    return FFinalRecords.data() + size_t(b) * cx;
  };

  for (int32_t m = 0; m < FTileCount; ++m) {
    const int32_t J = (TW + 1) * m;
    const int32_t x0 = std::max(J, 0), x1 = std::min(J + cx * R + 1, targetW);
    // Sources lie in the new image and in the tile, bounds included.
    const int32_t srcLeft = J, srcRight = std::min((TW + 1) * (m + 1), srcW - 1);
    if (x0 >= x1 || srcLeft > srcRight) continue;
    columns.resize(size_t(x1 - x0));
    for (int32_t x = x0; x < x1; ++x) columns[size_t(x - x0)] = hitsOf(x - J, cx);
    // The last write of each column, for the pixels it settles alone.
    lastCell.resize(columns.size());
    lastOffset.resize(columns.size());
    for (size_t n = 0; n < columns.size(); ++n) {
      lastCell[n] = columns[n].Cell[columns[n].Count - 1];
      lastOffset[n] = J + columns[n].Offset[columns[n].Count - 1];
    }
    const uint32_t spanX = uint32_t(srcRight - srcLeft);
    for (int32_t t = 0; t < FTileCount; ++t) {
      const int32_t K = (TH + 1) * t;
      const int32_t y0 = std::max(K, 0), y1 = std::min(K + cy * R + 1, targetH);
      const int32_t srcTop = K, srcBottom = std::min((TH + 1) * (t + 1), srcH - 1);
      if (srcTop > srcBottom) continue;
      const uint32_t spanY = uint32_t(srcBottom - srcTop);
      // Each tile walks the whole grid again, from its first cell row.
      turned[0] = turned[1] = -1;
      for (int32_t y = y0; y < y1; ++y) {
        const Hit rows = hitsOf(y - K, cy);
        const TFinalRecord* recordRow[2];
        bool ownMoves = false, previousMoves = false;
        recordRow[1] = turnedRow(rows.Cell[rows.Count - 1], rows.Cell[0], ownMoves);
        recordRow[0] = turnedRow(rows.Cell[0], rows.Cell[rows.Count - 1], previousMoves);
        // Rows of cells that all keep the old image leave the pixel row as it is.
        if (!ownMoves && !previousMoves) continue;
        const TFinalRecord* lastRow = recordRow[rows.Count - 1];
        const int32_t lastRowOffset = K + rows.Offset[rows.Count - 1];
        TgxColor* out = work->GetScanLine(y);
        for (int32_t x = x0; x < x1; ++x) {
          // Most pixels: the last write copies, and nothing before it shows.
          const size_t n = size_t(x - x0);
          const TFinalRecord& last = lastRow[lastCell[n]];
          if (last.Flag == 255) {
            const int32_t sx = last.SourceX + lastOffset[n], sy = last.SourceY + lastRowOffset;
            if (uint32_t(sx - srcLeft) <= spanX && uint32_t(sy - srcTop) <= spanY) {
              const TgxColor s = srcBits[size_t(sy) * size_t(srcW) + size_t(sx)];
              if (s >> 24) {
                out[x] = s;
                continue;
              }
            }
          }
          const Hit& cols = columns[n];
          // Blends met before the copy that hides the writes before them, latest first.
          TgxColor blendValue[4];
          int32_t blends = 0;
          TgxColor pixel = 0;
          bool copied = false;
          for (int32_t a = cols.Count - 1; a >= 0 && !copied; --a) {
            for (int32_t b = rows.Count - 1; b >= 0; --b) {
              const TFinalRecord& rec = recordRow[b][cols.Cell[a]];
              if (rec.Flag == 0) continue;
              const int32_t sx = J + rec.SourceX + cols.Offset[a], sy = K + rec.SourceY + rows.Offset[b];
              if (sx < srcLeft || sx > srcRight || sy < srcTop || sy > srcBottom) continue;
              const TgxColor s = srcBits[size_t(sy) * size_t(srcW) + size_t(sx)];
              if ((s >> 24) == 0) continue;
              if (rec.Flag == 255) {
                pixel = s;
                copied = true;
                break;
              }
              blendValue[blends++] = (s & gxColorMask) | (TgxColor(rec.Flag) << 24);
            }
          }
          if (!copied) pixel = out[x];
          while (blends > 0) {
            --blends;
            pixel = gxBlendPixel(blendValue[blends], pixel);
          }
          out[x] = pixel;
        }
      }
    }
  }
}

void TgxTransition::ComposeManual(uint8_t Percent) {
  gxClearAlphaKeyRow(FNewImage->Bits(), FNewImage->Width() * FNewImage->Height());
  std::get<TgxManualProc>(FProc)(FWork.get(), FNewImage, FSettings.get(), Percent);
}

void TgxTransition::ComposeFinal() {
  CopyImage(FOldImage, FWork.get());
  FNewImage->SetAlpha(255);
  gxClearAlphaKeyRow(FNewImage->Bits(), FNewImage->Width() * FNewImage->Height());
  FNewImage->SetAlphaBlend(true);
  FNewImage->Draw(FWork.get(), 0, 0);
}

// ---- the slot table ----

void gxInitEffectUnit() {
  TgxEffectUnit& unit = Unit();
  if (unit.Started) return;
  // Set first: the registrations below come back here.
  unit.Started = true;
  RegisterStandardEffects();
  gxBuildEffectNameList();
}

const TgxEffectSlot& gxEffectSlot(int32_t Slot) {
  gxInitEffectUnit();
  return Unit().Slots.at(size_t(Slot));
}

TTimer* gxEffectTimer() {
  gxInitEffectUnit();
  return Unit().Timer.get();
}

void gxAddToSlotClocks(float Ms) {
  for (TgxEffectSlot& slot : Unit().Slots) slot.Clock += Ms;
}

int32_t StartEffect(TCanvas* Canvas, int32_t X, int32_t Y, int32_t Slot, TgxAnimationRec* Settings,
                    TgxBitmap* NewImage, TgxBitmap* OldImage) {
  gxInitEffectUnit();
  TgxEffectUnit& unit = Unit();
  if (Slot == -1) {
    for (int32_t i = 0; i < gxSlotCount && Slot == -1; ++i)
      if (!unit.Slots[size_t(i)].Active && !unit.Slots[size_t(i)].Reserved) Slot = i;
    if (Slot == -1) return -1;
  } else if (!ValidSlot(Slot) || unit.Slots[size_t(Slot)].Busy) {
    return -1;
  }
  TgxEffectSlot& slot = unit.Slots[size_t(Slot)];
  if (slot.Active) StopEffect(Slot, false);

  slot.Settings = Settings;
  slot.NewImage = NewImage;
  slot.OldImage = OldImage;
  if (!slot.Transition.Prepare(Settings, NewImage, OldImage)) return Slot;

  slot.Time = slot.Transition.Settings()->Time();
  slot.Clock = 0.01f;
  slot.Active = true;
  slot.Busy = false;
  ++slot.Generation;
  slot.Canvas = Canvas;
  slot.X = X;
  slot.Y = Y;
  unit.Timer->SetEnabled(true);
  return Slot;
}

void ExecuteEffect(TCanvas* Canvas, int32_t X, int32_t Y, TgxAnimationRec* Settings, TgxBitmap* NewImage,
                   TgxBitmap* OldImage) {
  const int32_t index = StartEffect(Canvas, X, Y, -1, Settings, NewImage, OldImage);
  if (index < 0) return;
  const TgxEffectSlot& slot = Unit().Slots[size_t(index)];
  const uint32_t generation = slot.Generation;
  auto playing = [&] { return slot.Active && slot.Generation == generation; };
  try {
    while (playing()) {
      if (Application)
        Application->ProcessMessages();
      else
        ProcessPendingMessages();
      // Sleeps until the next tick or input instead of spinning.
      if (playing()) WaitMessage();
    }
  } catch (...) {
    // The caller's images may go once the exception reaches it.
    if (playing()) StopEffect(index, false);
    throw;
  }
}

void StepEffect(int32_t Slot) {
  gxInitEffectUnit();
  if (!ValidSlot(Slot)) return;
  TgxEffectSlot& slot = Unit().Slots[size_t(Slot)];
  if (!slot.Active || !slot.NewImage || !slot.OldImage || !slot.Transition.Work()) return;
  slot.Clock += float(gxTickInterval);
  if (slot.Busy) return;
  slot.Busy = true;
  // A step that fails leaves the slot ready for the next tick.
  struct NotBusy {
    TgxEffectSlot& S;
    ~NotBusy() { S.Busy = false; }
  } notBusy{slot};
  int32_t p = Round(double(slot.Clock) / double(slot.Time) * 100.0);
  if (p > 99) p = 100;
  slot.Transition.Compose(uint8_t(p));
  if (slot.Canvas) slot.Transition.Work()->Draw(slot.Canvas, slot.X, slot.Y);
  if (p >= 100) StopEffect(Slot, false);
}

void StopEffect(int32_t Slot, bool DrawFinal) {
  gxInitEffectUnit();
  if (!ValidSlot(Slot)) return;
  TgxEffectSlot& slot = Unit().Slots[size_t(Slot)];
  if (!slot.Active || !slot.NewImage || !slot.OldImage || !slot.Transition.Work()) return;
  if (DrawFinal && slot.Canvas && slot.Canvas->HandleAllocated()) {
    // The final picture, not the last frame with the new image blended over it again.
    slot.Transition.Compose(100);
    slot.Transition.Work()->Draw(slot.Canvas, slot.X, slot.Y);
  }
  slot.Transition.Release();
  slot.Active = false;
  UpdateTimer();
}
