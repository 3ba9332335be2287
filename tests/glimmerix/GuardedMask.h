// A W x H opacity mask between two guard bands, for tests of the effect procedures: the
// bands must come out untouched, and the cells read back as rows of text.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gx_effect/Shapes.h"

class GuardedMask {
 public:
  static constexpr int Guard = 64;
  static constexpr uint8_t GuardByte = 0xA5;

  // Cells start at Fill (0, as the engine hands masks to the procedures).
  GuardedMask(int32_t W, int32_t H, uint8_t Fill = 0) : FW(W), FH(H), FBytes(size_t(W) * H + 2 * Guard, GuardByte) {
    std::fill(FBytes.begin() + Guard, FBytes.end() - Guard, Fill);
  }
  uint8_t* Cells() { return FBytes.data() + Guard; }
  TgxMask Mask() { return {Cells(), FW, FH}; }
  uint8_t At(int32_t x, int32_t y) const { return FBytes[Guard + x + size_t(y) * FW]; }
  std::vector<uint8_t> Values() const { return {FBytes.begin() + Guard, FBytes.end() - Guard}; }
  bool GuardIntact() const {
    for (int i = 0; i < Guard; ++i)
      if (FBytes[i] != GuardByte || FBytes[FBytes.size() - 1 - i] != GuardByte) return false;
    return true;
  }
  // '#' for 255, '.' for 0, the letter Legend gives a value, '?' for any other value.
  std::string Rows(const std::vector<std::pair<uint8_t, char>>& Legend = {}) const {
    std::string s;
    for (int32_t y = 0; y < FH; ++y) {
      for (int32_t x = 0; x < FW; ++x) {
        const uint8_t v = At(x, y);
        char c = v == 255 ? '#' : v == 0 ? '.' : '?';
        for (const auto& [value, letter] : Legend)
          if (value == v) c = letter;
        s += c;
      }
      s += '\n';
    }
    return s;
  }

 private:
  int32_t FW, FH;
  std::vector<uint8_t> FBytes;
};
