#include "HintPainter.h"

#include "StyleServices.h"
#include "vcl/Hints.h"

namespace {

// The hint element of the style; with themes off the framework's classic look stays.
bool PaintHint(HDC DC, const TRect& R, THintKind Kind, THintPart Part, TColor& Color) {
  TCustomStyleServices* style = StyleServices();
  if (!style->Enabled()) return false;
  const TThemedElementDetails details = style->GetElementDetails(Kind == hkBalloon ? thHintBalloon : thHintNormal);
  if (Part == hpFrame) {
    TColor border = clNone;
    if (style->GetElementColor(details, ecBorderColor, border) && border != clNone) Color = border;
    return true;
  }
  // The element's own border would fall inside the window's frame: it is drawn larger and
  // clipped, so only its fill shows.
  RECT box = R;
  InflateRect(&box, 4, 4);
  style->DrawElement(DC, details, box, &R);
  TColor text = clNone;
  if (style->GetElementColor(details, ecTextColor, text) && text != clNone) Color = text;
  return true;
}

}  // namespace

void InstallHintPainter() {
  if (!HintPainterHook) HintPainterHook = PaintHint;
}
