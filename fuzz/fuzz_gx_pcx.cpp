// TgxBitmap::LoadFromPcxStream: any bytes decode, are ignored, or raise EgxStreamError
// with the bitmap unchanged; never a read or write outside the buffers.
#include <cstddef>
#include <cstdint>

#include "gx_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBytesStream stream(TBytes(data, data + size));
  TgxBitmap bitmap;
  bitmap.SetSize(3, 1);
  bitmap.SetPixel(2, 0, 0x5A5A5A5A);
  try {
    bitmap.LoadFromPcxStream(&stream);
  } catch (const EgxStreamError&) {
    if (bitmap.Width() != 3 || bitmap.Height() != 1 || bitmap.GetPixel(2, 0) != 0x5A5A5A5A) __builtin_trap();
    return 0;
  }
  // Every decoded pixel comes from a palette: opaque.
  const size_t n = size_t(bitmap.Width()) * size_t(bitmap.Height());
  if (bitmap.Width() != 3 || bitmap.Height() != 1 || bitmap.GetPixel(2, 0) != 0x5A5A5A5A)
    for (size_t i = 0; i < n; ++i)
      if ((bitmap.Bits()[i] >> 24) != 0xFF) __builtin_trap();
  return 0;
}
