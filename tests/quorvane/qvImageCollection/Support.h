// Pictures and canvases for the image collection tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "vcl/Graphics.h"

namespace ictest {

inline uint32_t* Row(TBitmap& b, int y) { return static_cast<uint32_t*>(b.ScanLine(y)); }
inline uint32_t PixelAt(TBitmap& b, int x, int y) { return Row(b, y)[x]; }

// A pf32bit picture whose pixel (x, y) is Pixel(x, y), taken as premultiplied.
inline std::unique_ptr<TBitmap> Bitmap32(int w, int h, const std::function<uint32_t(int, int)>& Pixel) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  b->SetAlphaFormat(afPremultiplied);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Row(*b, y)[x] = Pixel(x, y);
  return b;
}

// The same colours in a pf24bit picture (alpha dropped).
inline std::unique_ptr<TBitmap> Bitmap24(int w, int h, const std::function<uint32_t(int, int)>& Pixel) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Row(*b, y)[x] = Pixel(x, y) | 0xFF000000u;
  return b;
}

// A pf32bit surface to draw on, every pixel Fill.
inline std::unique_ptr<TBitmap> Surface32(int w, int h, uint32_t Fill) {
  return Bitmap32(w, h, [Fill](int, int) { return Fill; });
}

// Pixel (x, y) tells its own coordinates: red x, green y, blue 0x40 (never white).
inline uint32_t Coded(int x, int y) { return 0xFF000040u | uint32_t(x) << 16 | uint32_t(y) << 8; }
inline int CodedX(uint32_t p) { return int((p >> 16) & 0xFF); }
inline int CodedY(uint32_t p) { return int((p >> 8) & 0xFF); }
inline bool IsCoded(uint32_t p) { return (p & 0xFF0000FFu) == 0xFF000040u; }

// Writes the picture next to the test log when the test has failed.
inline void SaveIfFailed(TBitmap& b, const std::string& tag) {
  if (!::testing::Test::HasFailure()) return;
  const char* dir = std::getenv("QV_TEST_ARTIFACTS");
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  if (!dir || !info) return;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  TPngImage png;
  png.Assign(&b);
  try {
    png.SaveToFile(std::string(dir) + "/" + info->test_suite_name() + "_" + info->name() + "_" + tag + ".png");
  } catch (const Exception&) {
  }
}

}  // namespace ictest
