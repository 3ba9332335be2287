// TgxBitmap::LoadFromStream: any bytes load or raise EgxStreamError, never crash; a
// failed load leaves the bitmap as it was, and what loads saves back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "gx_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TBytesStream stream(TBytes(data, data + size));
  TgxBitmap bitmap;
  bitmap.SetSize(2, 1);
  bitmap.SetPixel(1, 0, 0xA5A5A5A5);
  bitmap.SetName("before");
  try {
    bitmap.LoadFromStream(&stream);
  } catch (const EgxStreamError&) {
    if (bitmap.Name() != "before" || bitmap.Width() != 2 || bitmap.GetPixel(1, 0) != 0xA5A5A5A5) __builtin_trap();
    return 0;
  }
  const int64_t used = stream.Position();
  TMemoryStream saved;
  bitmap.SaveToStream(&saved);
  TgxBitmap again;
  saved.SetPosition(0);
  again.LoadFromStream(&saved);
  if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height() || again.Name() != bitmap.Name())
    __builtin_trap();
  if (!bitmap.Empty() &&
      std::memcmp(again.Bits(), bitmap.Bits(), size_t(bitmap.Width()) * size_t(bitmap.Height()) * 4) != 0)
    __builtin_trap();
  if (used > int64_t(size)) __builtin_trap();
  return 0;
}
