#include "gx_utils.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "vcl/Controls.h"
#include "win/Window.h"

TRect gxCenterRect(const TRect& R, const TRect& Bounds) {
  const int32_t w = gxRectWidth(R), h = gxRectHeight(R);
  const int32_t left = Bounds.Left + (gxRectWidth(Bounds) - w) / 2;
  const int32_t top = Bounds.Top + (gxRectHeight(Bounds) - h) / 2;
  return {left, top, left + w, top + h};
}

TRect gxGetControlClientRect(TControl* Control) {
  if (!Control) return {};
  TRect r = Control->ClientRect();
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) return r;
  TPoint outer{Control->Left(), Control->Top()};
  if (Control->Parent()) {
    outer = Control->Parent()->ClientToScreen(outer);
  } else if (win->WindowHandle()) {
    RECT wr{};
    GetWindowRect(win->WindowHandle(), &wr);
    outer = wr.TopLeft();
  }
  const TPoint client = Control->ClientOrigin();
  OffsetRect(&r, client.X - outer.X, client.Y - outer.Y);
  return r;
}

namespace {

struct CpuInfo {
  bool HasCpuid = false;
  uint32_t Signature = 0;
  uint32_t Features = 0;  // EDX of leaf 1
};

const CpuInfo& Cpu() {
  static const CpuInfo info = [] {
    CpuInfo c;
#if defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, cx = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &cx, &d)) {
      c.HasCpuid = true;
      c.Signature = a;
      c.Features = d;
    }
#endif
    return c;
  }();
  return info;
}

}  // namespace

bool gxCPUIDSupported() { return Cpu().HasCpuid; }
int32_t gxCPUFamily() { return int32_t((Cpu().Signature >> 8) & 0xF); }
bool gxHasMMX() { return (Cpu().Features & (1u << 23)) != 0; }
bool gxHasSSE2() { return (Cpu().Features & (1u << 26)) != 0; }
