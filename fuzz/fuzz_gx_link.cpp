// TgxBitmapLink parsing: the rectangle text of GetBitmapLink and the link stream. Whatever
// rectangle comes out, checking its masked zones and drawing it stay inside the images.
#include <cstddef>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "gx_bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TgxBitmap image;
  image.SetSize(7, 5);
  for (int i = 0; i < 35; ++i) image.Bits()[i] = uint32_t(i) * 0x01070B13u;
  TgxBitmap target;
  target.SetSize(6, 4);

  std::unique_ptr<TgxBitmapLink> link;
  if (data[0] & 1) {
    link.reset(image.GetBitmapLink(std::string(reinterpret_cast<const char*>(data) + 1, size - 1)));
  } else {
    link.reset(image.GetBitmapLink(TRect{}));
    TBytesStream stream(TBytes(data + 1, data + size));
    try {
      link->LoadFromStream(&stream);
    } catch (const EgxStreamError&) {
      if (link->Rect() != TRect{}) __builtin_trap();
      return 0;
    }
  }
  const TRect r = link->Rect();
  link->CheckingMasked();
  // The rectangle's own numbers as margins: large, negative, anything.
  link->CheckingMasked(TRect{r.Right, r.Bottom, r.Left, r.Top});
  link->Draw(&target, r.Left, r.Top);
  auto negated = [](int32_t v) { return v == INT32_MIN ? INT32_MAX : -v; };
  link->Draw(&target, negated(r.Left), negated(r.Top));
  image.Draw(&target, r, TRect{0, 0, 7, 5});
  image.Draw(&target, TRect{0, 0, 6, 4}, r);
  image.Tile(&target, TRect{0, 0, 6, 4}, r);
  image.Tile(&target, r, TRect{1, 1, 2, 2});
  image.TileClip(&target, r, TRect{0, 0, 6, 4}, TRect{1, 1, 3, 2});
  target.MergeDraw(&image, r.Left, r.Top, r);
  return 0;
}
