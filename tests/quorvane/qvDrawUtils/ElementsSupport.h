// What the tests of the element routines share: a canvas over a TestCanvas, the three
// looks (a custom style, the system style, classic mode), colour blending as the platform
// composites, and a fixture that puts the process-wide switches back after each test.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "qvDrawUtils/Scaling.h"
#include "support/Canvas.h"
#include "support/WinTest.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "vcl/Graphics.h"

namespace elements_test {

// A TestCanvas with a TCanvas on its DC.
struct Painted {
  TestCanvas Pixels;
  TCanvas Canvas;
  Painted(int w, int h, uint32_t fill) : Pixels(w, h, fill) { Canvas.SetHandle(Pixels.DC()); }
  ~Painted() { Canvas.SetHandle(nullptr); }
  TCanvas* operator->() { return &Canvas; }
};

enum Look { lkStyled, lkThemed, lkClassic };

inline const char* LookName(Look look) {
  switch (look) {
    case lkStyled: return "styled";
    case lkThemed: return "themed";
    default: return "classic";
  }
}

// The first custom style stands for all of them where one is enough.
inline void SetLook(Look look) {
  SetThemeAppProperties(STAP_VALIDBITS);
  TStyleManager::SetStyle(look == lkStyled ? TStyleManager::StyleNames().at(1) : String("Windows"));
  if (look == lkClassic) SetThemeAppProperties(0);
}

// Every style, then the system style in classic mode.
inline void ForEachStyleAndClassic(const std::function<void(const std::string& look)>& fn) {
  for (const String& name : TStyleManager::StyleNames()) {
    SetThemeAppProperties(STAP_VALIDBITS);
    TStyleManager::SetStyle(name);
    fn(name);
  }
  TStyleManager::SetStyle("Windows");
  SetThemeAppProperties(0);
  fn("classic");
  SetThemeAppProperties(STAP_VALIDBITS);
}

inline int Channel(uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

// An opaque source pixel over Dest with constant opacity Alpha: each channel
// s * a / 255 + d * (255 - a) / 255.
inline uint32_t BlendOpaque(uint32_t Source, uint32_t Dest, int Alpha) {
  uint32_t out = 0xFF000000u;
  for (int shift : {0, 8, 16}) {
    const double c = (Channel(Source, shift) * Alpha + Channel(Dest, shift) * (255.0 - Alpha)) / 255.0;
    out |= uint32_t(int(c + 0.5)) << shift;
  }
  return out;
}

// A premultiplied source over an opaque Dest with constant opacity Alpha.
inline uint32_t BlendPremultiplied(uint32_t Source, uint32_t Dest, int Alpha) {
  const double a = Channel(Source, 24) * Alpha / (255.0 * 255.0);
  uint32_t out = 0xFF000000u;
  for (int shift : {0, 8, 16}) {
    const double c = Channel(Source, shift) * Alpha / 255.0 + Channel(Dest, shift) * (1 - a);
    out |= uint32_t(int(c + 0.5)) << shift;
  }
  return out;
}

// Colour channels within one step of each other (compositing rounds its own way).
inline bool Near(uint32_t A, uint32_t B) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(A, shift) - Channel(B, shift)) > 1) return false;
  return true;
}

inline std::string Hex(uint32_t p) {
  char s[16];
  std::snprintf(s, sizeof s, "%08X", p);
  return s;
}

class ElementsTest : public WinTest {
 protected:
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    SetScaleStyles(true);
    SetScaleThemes(false);
    WinTest::TearDown();
  }
};

}  // namespace elements_test
