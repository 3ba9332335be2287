// BMP loading: any bytes must decode or raise the framework's graphic error, never
// crash, and a decoded picture has exactly width x height pixels.
#include <cstddef>
#include <cstdint>

#include "vcl/BmpCodec.h"
#include "vcl/Graphic.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream;
  stream.WriteBuffer(data, int64_t(size));
  stream.SetPosition(0);
  try {
    BmpImage image = ReadBmp(&stream);
    if (image.Pixels.size() != size_t(image.Width) * size_t(image.Height)) __builtin_trap();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
