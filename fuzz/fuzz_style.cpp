// Style files: any bytes must read or be refused with an EStyleFileError that names the
// file, never crash; a style that reads must draw every element it has a recipe for.
#include <cstddef>
#include <cstdint>

#include "gdi/Gdi.h"
#include "themes/StyleServices.h"

namespace {

// A small 32-bit bitmap to draw into, made once.
HDC Canvas() {
  static HDC dc = [] {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 24;
    info.bmiHeader.biHeight = -24;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    return memory;
  }();
  return dc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::shared_ptr<const TStyleDescription> style;
  try {
    style = ReadStyleFile(data, size, "fuzz.json");
  } catch (const EStyleFileError& e) {
    if (e.Message().rfind("fuzz.json: ", 0) != 0) __builtin_trap();
    return 0;
  }
  TCustomStyleServices services(style, nullptr, false);
  for (const TElementTable* table : AllElementTables())
    for (size_t i = 0; i < table->Count; ++i) {
      const TElementEntry& e = table->Entries[i];
      if (!e.Family || !style->Families.count(e.Family)) continue;
      const TThemedElementDetails d = DetailsOf(*table, int(i));
      services.DrawElement(Canvas(), d, {-3, 2, 21, 20});
      SIZE s{};
      services.GetElementSize(nullptr, d, esActual, s);
      TColor c = 0;
      services.GetElementColor(d, ecGradientColor2, c);
    }
  return 0;
}
