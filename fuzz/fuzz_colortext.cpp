// Colour texts (hexadecimal, decimal, names): any bytes are read or refused with colour 0,
// never a crash; what is read stays in the range its parser promises.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "qvDrawUtils/Colors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const String text(reinterpret_cast<const char*>(data), size);
  TColor color = 0x5A5A5A;
  if (!HexToColor(text, color) && color != 0) __builtin_trap();
  if (HexToColor(text, color) && text.empty()) __builtin_trap();

  color = 0x5A5A5A;
  if (DecToColor(text, color)) {
    if (uint32_t(color) > 0xFFFFFFu) __builtin_trap();
  } else if (color != 0) {
    __builtin_trap();
  }

  color = 0x5A5A5A;
  if (ColorNameToColor(text, color)) {
    const auto names = ColorNames();
    if (std::none_of(names.begin(), names.end(), [&](const TqvColorName& n) { return n.Value == color; }))
      __builtin_trap();
  } else if (color != 0) {
    __builtin_trap();
  }
  return 0;
}
