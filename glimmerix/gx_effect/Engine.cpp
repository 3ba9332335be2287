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

// The rotation table of the displacement records: Visit(X, flag, sx, sy) for every cell X
// of row Y of the final cx x cy grid, with the record the procedure wrote for it and the
// record's source cell turned to the final grid.
template <class TVisit>
void VisitTurnedRow(const TgxDisplacement* G, int32_t cx, int32_t cy, TgxRotation Rotation, int32_t Y, TVisit&& Visit) {
  switch (Rotation) {
    case krNone:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(X) + size_t(Y) * cx];
        Visit(X, d.Flag, d.SourceX, d.SourceY);
      }
      break;
    case krRotate90:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(Y) + size_t(cx - 1 - X) * cy];
        Visit(X, d.Flag, cx - 1 - d.SourceY, d.SourceX);
      }
      break;
    case krRotate180:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(cx - 1 - X) + size_t(cy - 1 - Y) * cx];
        Visit(X, d.Flag, cx - 1 - d.SourceX, cy - 1 - d.SourceY);
      }
      break;
    case krRotate270:
      for (int32_t X = 0; X < cx; ++X) {
        const TgxDisplacement& d = G[size_t(cy - 1 - Y) + size_t(X) * cy];
        Visit(X, d.Flag, d.SourceY, cy - 1 - d.SourceX);
      }
      break;
  }
}

// A run of neighbouring cells of a final record row that copy from the same source row
// with the same shift: cells Begin..End - 1 show the new image's pixels ShiftX further
// along the tile, from the source row SourceY (offsets in pixels) plus the pixel's row in
// the cell.
struct TCopyRun {
  int32_t Begin;
  int32_t End;
  int32_t ShiftX;
  int32_t SourceY;
};

// Final cell row CellRow of the records, as runs of copying cells.
struct TRecordRow {
  int32_t CellRow = -1;
  bool Moves = false;   // some flag is not 0
  bool Blends = false;  // some flag is neither 0 nor 255
  bool Turned = false;  // its records have been turned into the engine's row buffer
  std::vector<TCopyRun> Runs;
};

void FindCopyRuns(const TgxDisplacement* G, int32_t cx, int32_t cy, int32_t R, TgxRotation Rotation, int32_t Y,
                  TRecordRow& Row) {
  Row.CellRow = Y;
  Row.Turned = false;
  Row.Runs.clear();
  bool moves = false, blends = false;
  // The run being extended, in cells (plain variables keep it in registers); none before
  // cell 0.
  int32_t begin = -1, end = -1, shift = 0, sourceY = 0;
  auto close = [&] {
    if (begin >= 0) Row.Runs.push_back(TCopyRun{begin, end, shift * R, sourceY * R});
  };
  VisitTurnedRow(G, cx, cy, Rotation, Y, [&](int32_t X, uint8_t Flag, int32_t SourceX, int32_t SourceY) {
    if (Flag != 255) {
      moves |= Flag != 0;
      blends |= Flag != 0;
    } else if (end == X && SourceX - X == shift && SourceY == sourceY) {
      end = X + 1;
    } else {
      close();
      begin = X, end = X + 1, shift = SourceX - X, sourceY = SourceY;
    }
  });
  close();
  Row.Moves = moves || !Row.Runs.empty();
  Row.Blends = blends;
}

// Pixels Begin..End - 1 of a pixel row.
struct TSpan {
  int32_t Begin;
  int32_t End;
};

// Pixels Begin..End - 1 of a pixel row that one write copies from SourceRow[x + ShiftX].
struct TCopySpan {
  int32_t Begin;
  int32_t End;
  const TgxColor* SourceRow;
  int32_t ShiftX;
};

// Whether no pixel of the run is fully transparent (written without a branch, so that
// it vectorises).
bool AllVisible(const TgxColor* Pixels, int32_t Count) {
  uint32_t hidden = 0;
  for (int32_t i = 0; i < Count; ++i) hidden |= Pixels[i] < 0x01000000u;
  return hidden == 0;
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
      const int64_t count = clipRight - clipLeft;
      bool cellPerPixel = true;  // the columns take consecutive cells (Resolution 1)
      for (int64_t n = 0; n < count; ++n, posX += stepX) {
        FCellOfColumn[size_t(n)] = uint32_t(posX >> 16);
        cellPerPixel &= FCellOfColumn[size_t(n)] == FCellOfColumn[0] + n;
      }
      int64_t posY = MulDiv64(cy * (clipTop - top), 65535, tileH);
      for (int64_t y = clipTop; y < clipBottom; ++y, posY += stepY) {
        const uint8_t* maskRow = FMask1.data() + size_t(posY >> 16) * size_t(cx);
        TgxColor* row = img->GetScanLine(int32_t(y)) + clipLeft;
        const uint32_t* cell = FCellOfColumn.data();
        if (cellPerPixel) {
          // Without the lookup the loop vectorises.
          const uint8_t* cells = maskRow + cell[0];
          for (int64_t n = 0; n < count; ++n) row[n] = (row[n] & gxColorMask) | (TgxColor(cells[n]) << 24);
        } else {
          for (int64_t n = 0; n < count; ++n) row[n] = (row[n] & gxColorMask) | (TgxColor(maskRow[cell[n]]) << 24);
        }
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
  const int32_t R = FResolution;
  uint8_t any = 0;
  VisitTurnedRow(FRecords.data(), FCellsX, FCellsY, FRotation, Y,
                 [&](int32_t X, uint8_t Flag, int32_t SourceX, int32_t SourceY) {
                   Out[X] = TFinalRecord{Flag, SourceX * R, SourceY * R};
                   any |= Flag;
                 });
  return any != 0;
}

// Every cell (i, j) of every tile (m, t) moves R + 1 by R + 1 pixels (u, v), in the loop
// order m, t, i, j, u, v; neighbouring cells share their last row and column. The new
// image is only read, so each target pixel can be finished on its own as long as the
// writes it receives keep that order: per tile, by cell column, then cell row. A pixel
// receives at most four writes; the last copy among them hides the ones before it, so
// they are looked at from the last one back.
//
// Pixel rows whose cell rows only copy or keep (no blending flag) are settled in spans:
// the writes are taken from the last one back, each over the pixels no later write has
// settled, and a run of cells that copies with one shift settles its span with one memcpy
// where the source span is inside the tile and has no transparent pixel. Whatever a span
// cannot settle in one piece goes to the pixel-by-pixel rule.
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

  // The cell rows a pixel row needs, as runs, in two buffers; their records are turned
  // into the two rows of FFinalRecords only when a pixel needs the rule.
  TRecordRow recordRows[2];
  auto findRow = [&](int32_t cellRow, int32_t keep) -> int32_t {
    for (int32_t b = 0; b < 2; ++b)
      if (recordRows[b].CellRow == cellRow) return b;
    const int32_t b = recordRows[0].CellRow == keep ? 1 : 0;
    FindCopyRuns(FRecords.data(), cx, cy, R, FRotation, cellRow, recordRows[b]);
    return b;
  };
  auto turnedRecords = [&](int32_t b) -> const TFinalRecord* {
    TFinalRecord* records = FFinalRecords.data() + size_t(b) * cx;
    if (!recordRows[b].Turned) {
      TurnRecordRow(recordRows[b].CellRow, records);
      recordRows[b].Turned = true;
    }
    return records;
  };

  // Spans of the pixel row not settled yet, and the spans one write settles.
  std::vector<TSpan> pending, unsettled;
  std::vector<TCopySpan> copies;

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
      recordRows[0].CellRow = recordRows[1].CellRow = -1;
      for (int32_t y = y0; y < y1; ++y) {
        const Hit rows = hitsOf(y - K, cy);
        // Buffers of the pixel row's cell rows: the one before (on a boundary), then its
        // own (the last to write); the same buffer when it has one.
        int32_t rowBuffer[2];
        rowBuffer[1] = findRow(rows.Cell[rows.Count - 1], rows.Cell[0]);
        rowBuffer[0] = findRow(rows.Cell[0], rows.Cell[rows.Count - 1]);
        const TRecordRow& before = recordRows[rowBuffer[0]];
        const TRecordRow& own = recordRows[rowBuffer[1]];
        // Rows of cells that all keep the old image leave the pixel row as it is.
        if (!before.Moves && !own.Moves) continue;
        const TFinalRecord* recordRow[2] = {nullptr, nullptr};
        const TFinalRecord* lastRow = nullptr;
        const int32_t lastRowOffset = K + rows.Offset[rows.Count - 1];
        TgxColor* out = work->GetScanLine(y);

        // The pixel by the rule: its writes from the last one back.
        auto finish = [&](int32_t x) {
          if (!lastRow) {
            for (int32_t b = 0; b < 2; ++b) recordRow[b] = turnedRecords(rowBuffer[b]);
            lastRow = recordRow[rows.Count - 1];
          }
          // Most pixels: the last write copies, and nothing before it shows.
          const size_t n = size_t(x - x0);
          const TFinalRecord& last = lastRow[lastCell[n]];
          if (last.Flag == 255) {
            const int32_t sx = last.SourceX + lastOffset[n], sy = last.SourceY + lastRowOffset;
            if (uint32_t(sx - srcLeft) <= spanX && uint32_t(sy - srcTop) <= spanY) {
              const TgxColor s = srcBits[size_t(sy) * size_t(srcW) + size_t(sx)];
              if (s >> 24) {
                out[x] = s;
                return;
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
        };

        if (before.Blends || own.Blends) {
          for (int32_t x = x0; x < x1; ++x) finish(x);
          continue;
        }

        // One write of every pixel of a column range: from the cell of the pixel's own
        // column (Shift 0) or, on a cell boundary, from the cell before it (Shift R), in
        // the pixel row's cell row b. Its copying runs settle the pending spans they cover.
        auto settle = [&](int32_t b, int32_t Shift) {
          const TRecordRow& row = recordRows[rowBuffer[b]];
          const int32_t sy = K + rows.Offset[b];
          copies.clear();
          for (const TCopyRun& run : row.Runs) {
            if (uint32_t(sy + run.SourceY - srcTop) > spanY) continue;
            // The run's pixels whose target and source both lie within bounds.
            const int32_t begin = std::max({J + run.Begin * R + Shift, x0, srcLeft - run.ShiftX});
            const int32_t end = std::min({J + run.End * R + Shift, x1, srcRight - run.ShiftX + 1});
            if (begin < end)
              copies.push_back(
                  TCopySpan{begin, end, srcBits + size_t(sy + run.SourceY) * size_t(srcW), run.ShiftX});
          }
          unsettled.clear();
          size_t c = 0;
          for (const TSpan& span : pending) {
            int32_t x = span.Begin;
            while (c < copies.size() && copies[c].End <= x) ++c;
            for (size_t k = c; k < copies.size() && copies[k].Begin < span.End; ++k) {
              const int32_t a = std::max(x, copies[k].Begin), e = std::min(span.End, copies[k].End);
              if (a > x) unsettled.push_back(TSpan{x, a});
              const TgxColor* from = copies[k].SourceRow + (a + copies[k].ShiftX);
              if (AllVisible(from, e - a))
                std::memcpy(out + a, from, size_t(e - a) * sizeof(TgxColor));
              else
                for (int32_t p = a; p < e; ++p) finish(p);
              x = e;
            }
            if (x < span.End) unsettled.push_back(TSpan{x, span.End});
          }
          pending.swap(unsettled);
        };

        pending.assign(1, TSpan{x0, x1});
        for (int32_t b = rows.Count - 1; b >= 0 && !pending.empty(); --b) settle(b, 0);
        if (R == 1) {
          // Every pixel but the first is on a boundary: the cells before them, as spans.
          for (int32_t b = rows.Count - 1; b >= 0 && !pending.empty(); --b) settle(b, 1);
        } else {
          // Pixels on a boundary that no own cell settled: by the rule.
          for (const TSpan& span : pending)
            for (int32_t x = span.Begin; x < span.End; ++x)
              if ((x - J) % R == 0 && x > J) finish(x);
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

void gxAddToSlotClocks(float Value) {
  for (TgxEffectSlot& slot : Unit().Slots) slot.Clock += Value;
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
  // What a handler releases meanwhile (the form of the canvas, the settings' owner) stays
  // until the loop drains its releases after this wait.
  TReleaseHold hold;
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
