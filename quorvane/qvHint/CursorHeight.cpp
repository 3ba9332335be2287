#include "qvHint/CursorHeight.h"

#include <vector>

#include "gdi/Objects.h"
#include "win/Cursors.h"
#include "win/Window.h"

namespace {

// Row Y of a 1-bit-per-pixel image holds only Bits in its first Width pixels (the row's
// padding is not part of the picture).
bool RowIs(const uint8_t* Row, int Width, bool Bits) {
  const uint8_t all = Bits ? 0xFF : 0x00;
  for (int x = 0; x < Width / 8; ++x)
    if (Row[x] != all) return false;
  if (const int rest = Width % 8) {
    const uint8_t used = uint8_t(0xFF00u >> rest);
    if ((Row[Width / 8] & used) != (all & used)) return false;
  }
  return true;
}

// The number of rows from First to the lowest row of [First, First + Count) that is not
// entirely Skip, or 0 when every row is.
int RowsToLowestShown(const std::vector<uint8_t>& Bits, int RowBytes, int Width, int First, int Count, bool Skip) {
  for (int y = Count - 1; y >= 0; --y)
    if (!RowIs(Bits.data() + size_t(First + y) * size_t(RowBytes), Width, Skip)) return y + 1;
  return 0;
}

}  // namespace

int GetCursorHeight() {
  int result = GetSystemMetrics(SM_CYCURSOR);
  ICONINFO info;
  if (!GetIconInfo(GetCursor(), &info)) return result;
  BITMAP bm;
  if (GetObject(info.hbmMask, sizeof(bm), &bm) && bm.bmBitsPixel == 1 && bm.bmPlanes == 1 && bm.bmWidth > 0 &&
      bm.bmHeight > 0) {
    const int rowBytes = int(bm.bmWidthBytes);
    std::vector<uint8_t> bits(size_t(rowBytes) * size_t(bm.bmHeight));
    if (GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data()) == LONG(bits.size())) {
      // A monochrome cursor keeps its AND mask above its XOR mask; a colour cursor's mask
      // is the AND mask alone.
      const int andRows = info.hbmColor ? int(bm.bmHeight) : int(bm.bmHeight) / 2;
      // AND bits of 1 are transparent.
      int rows = RowsToLowestShown(bits, rowBytes, int(bm.bmWidth), 0, andRows, true);
      // A cursor drawn entirely by its XOR mask (AND all transparent): XOR bits of 0 leave
      // the screen alone.
      if (rows == 0 && bm.bmHeight >= 2 * bm.bmWidth)
        rows = RowsToLowestShown(bits, rowBytes, int(bm.bmWidth), andRows, int(bm.bmHeight) - andRows, false);
      // A mask that shows nothing keeps the default.
      if (rows > 0) result = rows - int(info.yHotspot);
    }
  }
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return result;
}
