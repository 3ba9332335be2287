#include "gx_winapi.h"

#include "vcl/SysUtils.h"

namespace {

TgxTransparentBltProc& TransparentBltSlot() {
  static TgxTransparentBltProc proc = nullptr;
  return proc;
}

TgxTransparentBltProc LookUpTransparentBlt() {
  // Systems that answer major version 4 do not offer it.
  if (Win32MajorVersion() == 4) return nullptr;
  return &::TransparentBlt;
}

}  // namespace

TgxTransparentBltProc gxTransparentBlt() {
  static const bool loaded = [] {
    TransparentBltSlot() = LookUpTransparentBlt();
    return true;
  }();
  (void)loaded;
  return TransparentBltSlot();
}

void gxLoadWinApi() {
  gxTransparentBlt();
  TransparentBltSlot() = LookUpTransparentBlt();
}

int32_t gxScreenBitsPerPixel() {
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return 0;
  const int32_t bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  DeleteDC(dc);
  return bits;
}
