// PNG loading: any bytes must decode or fail with a message, and whatever decodes must
// encode again.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gdi/Png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PngInfo info;
  std::string error;
  std::unique_ptr<Surface> image = ReadPng(data, size, &info, &error);
  if (!image) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  if (image->Width() != info.Width || image->Height() != info.Height) __builtin_trap();
  std::vector<uint8_t> out;
  if (!WritePng(*image, &out, &error)) __builtin_trap();
  return 0;
}
