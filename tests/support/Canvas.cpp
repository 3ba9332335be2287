#include "support/Canvas.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

TestCanvas::TestCanvas(int width, int height, uint32_t fill) : FWidth(width), FHeight(height) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  void* bits = nullptr;
  FBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  FDC = CreateCompatibleDC(nullptr);
  FOldBitmap = SelectObject(FDC, FBitmap);
  Fill(fill);
}

TestCanvas::~TestCanvas() {
  SelectObject(FDC, FOldBitmap);
  DeleteDC(FDC);
  DeleteObject(FBitmap);
}

std::string TestCanvas::Mask(COLORREF ink) const { return Mask(ink, {0, 0, FWidth, FHeight}); }

std::string TestCanvas::Mask(COLORREF ink, const RECT& area) const {
  std::string out;
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x) out += Color(x, y) == (ink & 0xFFFFFF) ? '#' : '.';
    out += '\n';
  }
  return out;
}

RECT TestCanvas::InkBounds(uint32_t background) const {
  RECT r{FWidth, FHeight, 0, 0};
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x)
      if (Pixel(x, y) != background) {
        r.Left = std::min<LONG>(r.Left, x);
        r.Top = std::min<LONG>(r.Top, y);
        r.Right = std::max<LONG>(r.Right, x + 1);
        r.Bottom = std::max<LONG>(r.Bottom, y + 1);
      }
  return r.IsEmpty() ? RECT{} : r;
}

std::string TestCanvas::Save(const std::string& tag) const {
  const char* dir = std::getenv("QV_TEST_ARTIFACTS");
  // Run by hand without ctest: a folder of their own, which git ignores.
  std::filesystem::path folder = dir ? dir : "test-artifacts";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "canvas";
  for (char& c : name)
    if (c == '/') c = '_';
  const std::string path = (folder / (name + "_" + tag + ".png")).string();
  WritePngFile(Pixels(), path, nullptr);
  return path;
}

std::string Picture(const char* rows) {
  std::string s = rows;
  if (!s.empty() && s.front() == '\n') s.erase(0, 1);
  return s;
}

void SaveIfFailed(const TestCanvas& canvas, const std::string& tag) {
  if (::testing::Test::HasFailure()) {
    std::cerr << "picture written to " << canvas.Save(tag) << "\n";
  }
}
