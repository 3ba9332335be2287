// A small top-down 32-bit bitmap selected into a memory DC, for pixel tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gdi/Gdi.h"

class TestCanvas {
 public:
  // Starts filled with the given pixel (opaque white by default).
  TestCanvas(int width, int height, uint32_t fill = 0xFFFFFFFFu);
  ~TestCanvas();
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  HDC DC() const { return FDC; }
  HBITMAP Bitmap() const { return FBitmap; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  Surface& Pixels() const { return *FBitmap->Pixels; }

  uint32_t Pixel(int x, int y) const { return Pixels().At(x, y); }
  COLORREF Color(int x, int y) const { return ColorRefFromPixel(Pixel(x, y)); }
  void Fill(uint32_t pixel) { Pixels().Fill(pixel); }

  // The picture as rows of text: '#' where the colour is ink, '.' elsewhere.
  std::string Mask(COLORREF ink) const;
  std::string Mask(COLORREF ink, const RECT& area) const;
  // The bounding box of the pixels that differ from the given one.
  RECT InkBounds(uint32_t background) const;

  // Writes the picture next to the test log (QV_TEST_ARTIFACTS) as <test name>_<tag>.png.
  std::string Save(const std::string& tag) const;

 private:
  int FWidth;
  int FHeight;
  HBITMAP FBitmap = nullptr;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

// For EXPECT_EQ on masks: a picture drawn with rows of text, leading newline dropped.
std::string Picture(const char* rows);

// Saves the canvas when the current test has failed so far.
void SaveIfFailed(const TestCanvas& canvas, const std::string& tag);
