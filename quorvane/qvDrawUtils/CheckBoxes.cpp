// Check boxes: their size at a scale and their glyph, left-aligned, kept inside the
// rectangle, or centred, with the scaling rules of styles and themes at high DPI.
#include <algorithm>
#include <cstdlib>

#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Scaling.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// The side a check box has in every style at 100 %.
constexpr int kCheckBoxSide = 13;

enum class TPlacement { Left, Clipped, Center };

TThemedButton CheckBoxElement(TqvsCtrlState State, int CheckState) {
  const TThemedButton normal = CheckState == 1   ? tbCheckBoxCheckedNormal
                               : CheckState == 2 ? tbCheckBoxMixedNormal
                                                 : tbCheckBoxUncheckedNormal;
  switch (State) {
    case qvsHot: return TThemedButton(normal + 1);
    case qvsPressed: return TThemedButton(normal + 2);
    case qvsDisabled: return TThemedButton(normal + 3);
    default: return normal;  // focused check boxes come as hot or normal
  }
}

UINT CheckBoxFlags(TqvsCtrlState State, int CheckState) {
  const UINT check = CheckState == 1 ? DFCS_CHECKED : CheckState == 2 ? DFCS_CHECKED | DFCS_INACTIVE : 0;
  switch (State) {
    case qvsPressed: return DFCS_BUTTONCHECK | DFCS_PUSHED | check;
    // A disabled mixed box looks like a disabled checked one.
    case qvsDisabled: return DFCS_BUTTONCHECK | DFCS_INACTIVE | (CheckState == 0 ? 0 : DFCS_CHECKED);
    default: return DFCS_BUTTONCHECK | check;
  }
}

SIZE NaturalSize(TCanvas* Canvas) {
  SIZE size{};
  if (!StyleServices()->GetElementSize(Canvas ? Canvas->Handle() : nullptr,
                                       StyleServices()->GetElementDetails(tbCheckBoxCheckedNormal), esActual, size) ||
      size.cx <= 0 || size.cy <= 0)
    size = {kCheckBoxSide, kCheckBoxSide};
  return size;
}

// A W x H box placed in Rect: at its left edge, vertically centred, or centred.
TRect Place(int W, int H, const TRect& Rect, TPlacement Placement) {
  if (Placement == TPlacement::Center) {
    const int cx = Rect.Left + Rect.Width() / 2, cy = Rect.Top + Rect.Height() / 2;
    return Bounds(cx - W / 2, cy - H / 2, W, H);
  }
  TRect r{0, 0, W, H};
  return CenterRectVert(r, Rect);
}

// The element drawn into a transparent bitmap one pixel larger on every side, so that
// resampling has room at its edges.
std::unique_ptr<TBitmap> FramedElement(TThemedButton Element, SIZE Natural) {
  return ElementBitmap(StyleServices()->GetElementDetails(Element), Natural.cx + 2, Natural.cy + 2,
                       {1, 1, Natural.cx + 1, Natural.cy + 1});
}

void DrawCheckBox(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState,
                  TPlacement Placement) {
  if (!Canvas) return;
  double s = std::max(Scale, 1.0);
  const bool styled = IsCustomStyle();
  if (!IsThemed()) {
    const int side = Round(kCheckBoxSide * s);
    TRect box = Place(side, side, Rect, Placement);
    if (Placement == TPlacement::Center) {
      const int e = Round(6 * s);
      const int cx = Rect.Left + Rect.Width() / 2, cy = Rect.Top + Rect.Height() / 2;
      box = {cx - e, cy - e, cx + e + 1, cy + e + 1};
    }
    FrameControl(Canvas, box, DFC_BUTTON, CheckBoxFlags(State, CheckState));
    return;
  }

  const TThemedButton element = CheckBoxElement(State, CheckState);
  const SIZE natural = NaturalSize(Canvas);
  const int cx = natural.cx, cy = natural.cy;
  TCanvasStateKeeper keep(Canvas);
  const int scaledSide = Round(kCheckBoxSide * s);

  if (ScaleThemes() && !styled && std::abs(cx - scaledSide) > s) {
    // A theme's glyph of another size than the scale wants is resampled to that size.
    std::unique_ptr<TBitmap> bitmap = FramedElement(element, natural);
    const TRect box = Place(scaledSide, scaledSide, Rect, Placement);
    DrawBitmapAlphaSized(bitmap.get(), Canvas, box.Left, box.Top, scaledSide, scaledSide, 255);
    return;
  }

  if (styled && s >= 1.25 && ScaleStyles()) {
    // A style's glyph much larger than a scaled standard box is scaled less.
    if (Round(s * cx) > Round(kCheckBoxSide * s) + 2) {
      do {
        s -= 0.1;
      } while (!(Round(cx * s) < Round(kCheckBoxSide * s) + 2 || s < 1));
      if (s < 1) s = 1;
    }
    std::unique_ptr<TBitmap> bitmap = FramedElement(element, natural);
    const TRect box = Place(Round((cx + 2) * s), Round((cy + 2) * s), Rect, Placement);
    DrawBitmapAlphaScaled(bitmap.get(), Canvas, box.Left, box.Top, s, 255);
    return;
  }

  if (styled && s >= 1.25) {
    // Unscaled, in the middle of the room a scaled glyph would take.
    const TRect box = Place(Round(s * cx), Round(s * cy), Rect, Placement);
    const int mx = box.Left + box.Width() / 2, my = box.Top + box.Height() / 2;
    DrawStyleElement(Canvas, element, TRect{mx - cx / 2, my - cy / 2, mx + cx - cx / 2, my + cy - cy / 2});
    return;
  }

  TRect box = Place(cx, cy, Rect, Placement);
  if (Placement == TPlacement::Clipped && box.Right > Rect.Right) OffsetRect(&box, Rect.Right - box.Right, 0);
  DrawStyleElement(Canvas, element, box);
}

}  // namespace

int GetCheckBoxSize(TCanvas* Canvas, double Scale) {
  const bool themed = IsThemed(), styled = IsCustomStyle();
  int size = kCheckBoxSide;
  if (themed) size = NaturalSize(Canvas).cx;
  // Only a theme's glyph is resampled to the scaled size (DrawCheckBoxLeft); classic
  // boxes are scaled below, and doing both would double the scale.
  if (ScaleThemes() && themed && !styled && std::abs(size - Round(kCheckBoxSide * Scale)) > Scale)
    size = Round(kCheckBoxSide * Scale);
  if (Scale <= 1) return size;
  if (styled || !themed) return Round(Scale * size);
  return size;
}

void DrawCheckBoxLeft(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState) {
  DrawCheckBox(Canvas, Rect, State, Scale, CheckState, TPlacement::Left);
}

void DrawCheckBoxClipped(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState) {
  DrawCheckBox(Canvas, Rect, State, Scale, CheckState, TPlacement::Clipped);
}

void DrawCheckBoxCenter(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState) {
  DrawCheckBox(Canvas, Rect, State, Scale, CheckState, TPlacement::Center);
}
