// Effects drawn from the random generator (Pixel, Pixel fade, Pixel line, Stream) and the
// plasma. The generator is reseeded with the grid size on every frame, so a frame repeats
// the choices of every earlier frame and adds to them.
#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <vector>

#include "gx_effect/Catalogue.h"
#include "gx_effect/Shapes.h"

namespace {

// The order in which the reseeded generator reaches the cells of an N-cell grid: the
// cells chosen for a count c are the first c distinct draws. Every frame of a transition
// asks for the same N, so the order is kept and drawn further only as far as a frame
// needs: each draw is made once per transition instead of once per frame.
class TCellOrder {
 public:
  static constexpr int32_t NotReached = INT32_MAX;

  explicit TCellOrder(int32_t N) : FN(N), FRank(size_t(N), NotReached) { FRng.Reseed(N, 1); }
  int32_t N() const { return FN; }
  // Rank(i) < c: cell i is among the first c cells reached.
  const int32_t* Ranks() const { return FRank.data(); }
  // Draws until c distinct cells have been reached (c <= N).
  void Reach(int32_t c) {
    while (FReached < c) {
      const int32_t i = FRng.Random(FN);
      if (FRank[i] == NotReached) FRank[i] = FReached++;
    }
  }

 private:
  int32_t FN;
  TgxRandom FRng;
  std::vector<int32_t> FRank;
  int32_t FReached = 0;
};

// The orders of the last few grid sizes (transitions may run side by side), most recent
// first.
TCellOrder& CellOrder(int32_t W, int32_t H) {
  constexpr size_t Kept = 3;
  thread_local std::vector<std::unique_ptr<TCellOrder>> orders;
  const int32_t N = W * H;
  auto it = std::find_if(orders.begin(), orders.end(), [N](const auto& o) { return o->N() == N; });
  if (it == orders.end()) {
    if (orders.size() == Kept) orders.pop_back();
    orders.insert(orders.begin(), std::make_unique<TCellOrder>(N));
  } else {
    std::rotate(orders.begin(), it, it + 1);
  }
  return *orders.front();
}

// The ranks of the cells chosen for count c, or null when c covers every cell.
const int32_t* ChosenCells(int32_t W, int32_t H, int32_t c) {
  if (c >= W * H) return nullptr;
  TCellOrder& order = CellOrder(W, H);
  order.Reach(c);
  return order.Ranks();
}

// Out[i] := Value[i] where Rank[i] < c. A select rather than a branch: chosen cells are
// scattered at random.
void SelectRow(uint8_t* __restrict Out, const int32_t* __restrict Rank, const uint8_t* __restrict Value, int32_t Count,
               int32_t c) {
  for (int32_t i = 0; i < Count; ++i) {
    const uint8_t take = uint8_t(-int32_t(Rank[i] < c));
    Out[i] = uint8_t((Value[i] & take) | (Out[i] & ~take));
  }
}

// Mask cell i := Value for every chosen cell i.
void SetChosen(uint8_t* Mask, int32_t W, int32_t H, int32_t c, uint8_t Value) {
  const int32_t N = W * H;
  const int32_t* rank = ChosenCells(W, H, c);
  if (!rank) {
    std::fill_n(Mask, N, Value);
    return;
  }
  for (int32_t i = 0; i < N; ++i) Mask[i] = rank[i] < c ? Value : Mask[i];
}

struct PlasmaTables {
  int32_t Cos[512];
  int32_t Sin[512];
  uint8_t Palette[512];
};

PlasmaTables BuildPlasmaTables() {
  PlasmaTables t{};
  for (int k = 0; k < 512; ++k) {
    const double a = 2 * std::numbers::pi * k / 512;
    t.Cos[k] = (Trunc(std::cos(a) * 256) + 256) & 511;
    t.Sin[k] = (Trunc(std::sin(a) * 256) + 256) & 511;
  }
  // Twelve ramps between the control values, sampled at 511 points; a sample within half
  // a step of a control point takes that point's value.
  static const int32_t control[13] = {255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255};
  const int32_t d = (12 * 65536) / 511;
  int32_t s = 0, next = 0;
  for (int e = 0; e < 511; ++e, s += d) {
    const int32_t i = s >> 16;
    const int32_t current = control[i];
    next = control[std::min(i + 1, 12)];
    const int32_t w1 = 65536 - (s & 65535), w2 = s & 65535;
    if (w1 < d - w1)
      t.Palette[e] = uint8_t(next);
    else if (d - w2 > w2)
      t.Palette[e] = uint8_t(current);
    else
      t.Palette[e] = uint8_t((current * w1 + next * w2) >> 16);
  }
  t.Palette[511] = uint8_t(next);
  return t;
}

}  // namespace

void EffectPixel(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  SetChosen(Mask, W, H, Round(p / 100.0 * (W * H)), 255);
}

void EffectPixelFade(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  SetChosen(Mask, W, H, Round(double(W * H) * p / 100), uint8_t(Round(p / 100.0 * 255)));
}

void EffectPixelLine(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (p == 0 || !gxGridValid(W, H)) return;
  const int32_t c = Round(double(W * H) * p / 100);
  const int32_t* rank = ChosenCells(W, H, c);
  // Columns up to e take part; a column's value falls with its distance from the left.
  const int32_t columns = std::min(W, Round(p / 100.0 * (2 * W - 1)) + 1);
  thread_local std::vector<uint8_t> value;
  value.resize(size_t(std::max(columns, 0)));
  for (int32_t i = 0; i < columns; ++i) {
    const int32_t s = std::max(0, Round(2.0 * p - double(i) * W * 0.1 / p));
    value[i] = uint8_t(std::min(255, Round(s / 100.0 * 255)));
  }
  for (int32_t y = 0; y < H; ++y) {
    const int64_t row = int64_t(y) * W;
    if (!rank) {
      std::copy_n(value.data(), columns, Mask + row);
      continue;
    }
    SelectRow(Mask + row, rank + row, value.data(), columns, c);
  }
}

void EffectStream(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (!gxGridValid(W, H)) return;
  TgxMask M{Mask, W, H};
  TgxRandom rng;
  rng.Reseed(W, H);
  // Each column waits head < 0 iterations, then fills downwards one cell per iteration.
  std::vector<int32_t> bottom(static_cast<size_t>(W), H - 1), head(static_cast<size_t>(W));
  for (int32_t i = 0; i < W; ++i) head[i] = -rng.Random(80);
  for (int32_t j = 1; j <= 8; ++j) {
    if (W - j - 1 < j) continue;
    for (int32_t k = j; k <= W - 1 - j; ++k) head[k] = (head[k - 1] + 2 * head[k] + head[k + 1]) / 4;
  }
  const int32_t iterations = MulDiv(H + 79, p, 100) + 1;
  for (int32_t n = 0; n < iterations; ++n) {
    for (int32_t i = 0; i < W; ++i) {
      if (bottom[i] < head[i]) {
        head[i] = 0;
        --bottom[i];
      } else {
        if (head[i] >= 0) M.Set(i, head[i], 255);
        ++head[i];
      }
    }
  }
}

void EffectPlasma(uint8_t* Mask, int32_t W, int32_t H, uint8_t Percent) {
  const int32_t p = gxPercent(Percent);
  if (!gxGridValid(W, H)) return;
  static const PlasmaTables t = BuildPlasmaTables();
  const int32_t level = MulDiv(2 * p, 255, 100);
  for (int32_t y = 0; y < H; ++y) {
    const int32_t shift = t.Sin[y & 511], offset = t.Cos[y & 511];
    uint8_t* row = Mask + int64_t(y) * W;
    for (int32_t x = 0; x < W; ++x) {
      const int32_t v = level - t.Palette[(t.Sin[(x + shift) & 511] + offset) & 511];
      row[x] = uint8_t(std::clamp(v, 0, 255));
    }
  }
}
