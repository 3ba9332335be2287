// What the control tests share: controls on a host in a top-level window that covers the
// screen's top-left corner, an application per test for the message loop, and a picture
// in which every pixel differs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/Canvas.h"
#include "support/ControlHost.h"
#include "vcl/Forms.h"

// Red from x and green from y, so that a pixel tells where it was painted.
inline COLORREF PatternColor(int x, int y) { return RGB(x & 0xFF, y & 0xFF, 0x40); }

// Paints the pattern over the whole canvas of a control of the given size.
inline void PaintPattern(TCanvas* Canvas, int Width, int Height) {
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) {
    auto* row = static_cast<uint32_t*>(picture.ScanLine(y));
    for (int x = 0; x < Width; ++x) row[x] = 0xFF000000u | (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | 0x40;
  }
  Canvas->Draw(0, 0, &picture);
}

class ControlFixture : public ControlHostTest {
 protected:
  ControlFixture() : ControlHostTest({.OwnApplication = true}) {}

  // Where the pixels of the rectangle (surface coordinates) differ from the pattern drawn
  // with its top-left at Origin; empty when none does.
  std::string PatternMismatch(const TRect& Area, TPoint Origin) const {
    return Mismatch(Area, [&](int x, int y) { return PatternColor(x - Origin.X, y - Origin.Y); });
  }
};
