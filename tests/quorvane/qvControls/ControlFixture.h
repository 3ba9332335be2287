// What the control tests share: controls on a host in a top-level window that covers the
// screen's top-left corner, an application per test for the message loop, and a picture
// in which every pixel differs.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
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

  // The bounding box of the screen pixels in Area for which Ink holds; empty when none.
  RECT InkOnScreen(const TRect& Area, const std::function<bool(COLORREF)>& Ink) const {
    RECT box{Area.Right, Area.Bottom, Area.Left, Area.Top};
    for (int y = Area.Top; y < Area.Bottom; ++y)
      for (int x = Area.Left; x < Area.Right; ++x)
        if (Ink(At(x, y))) box = {std::min(box.Left, LONG(x)), std::min(box.Top, LONG(y)),
                                  std::max(box.Right, LONG(x + 1)), std::max(box.Bottom, LONG(y + 1))};
    return box.Left < box.Right ? box : RECT{};
  }

  // How a line of kReadingText shows in Area: the third of Area its ink's middle lies in
  // (-1 left, 0 middle, 1 right; -2 without ink), and whether the capital comes last.
  // Read right to left the dots, which belong to no script, stand before the capital.
  static constexpr const char* kReadingText = "I.......";
  struct TextLine {
    int Side = -2;
    bool CapitalLast = false;
  };
  TextLine LineOfText(const TRect& Area, const std::function<bool(COLORREF)>& Ink) const {
    const RECT box = InkOnScreen(Area, Ink);
    if (box.Left >= box.Right) return {};
    TextLine line;
    const int middle = (box.Left + box.Right) / 2, third = Area.Width() / 3;
    line.Side = middle < Area.Left + third ? -1 : middle >= Area.Right - third ? 1 : 0;
    // The capital is the only ink in the upper half of the line.
    const RECT capital = InkOnScreen({box.Left, box.Top, box.Right, (box.Top + box.Bottom) / 2}, Ink);
    line.CapitalLast = (capital.Left + capital.Right) / 2 > middle;
    return line;
  }
};
