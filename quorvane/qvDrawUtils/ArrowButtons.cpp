// Arrow buttons (scroll arrows when styled, up-down buttons with the system's visual
// styles, classic scroll arrows) and the drop-down button of combo boxes.
#include <algorithm>

#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// The offset of a state in the element enumerations, which list normal, hot, pressed and
// disabled in a row.
int StateOffset(TqvsCtrlState State) {
  switch (State) {
    case qvsHot:
    case qvsFocused: return 1;
    case qvsPressed: return 2;
    case qvsDisabled: return 3;
    default: return 0;
  }
}

UINT ClassicStateFlags(TqvsCtrlState State) {
  return (State == qvsDisabled ? DFCS_INACTIVE : 0) | (State == qvsPressed ? DFCS_PUSHED : 0);
}

struct TArrowButton {
  TThemedScrollBar Styled;  // normal state of the styled element
  TThemedSpin Themed;       // normal state of the themed element
  UINT Classic;             // DFCS_SCROLL*
};

void DrawArrowButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, const TArrowButton& Button) {
  if (!Canvas) return;
  const int offset = StateOffset(State);
  if (IsCustomStyle())
    DrawStyleElement(Canvas, TThemedScrollBar(Button.Styled + offset), Rect);
  else if (IsThemed())
    DrawStyleElement(Canvas, TThemedSpin(Button.Themed + offset), Rect);
  else
    FrameControl(Canvas, Rect, DFC_SCROLL, Button.Classic | ClassicStateFlags(State));
}

}  // namespace

void DrawUpButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  DrawArrowButton(Canvas, Rect, State, {tsArrowBtnUpNormal, tsUpNormal, DFCS_SCROLLUP});
  if (!Canvas || IsCustomStyle() || !IsThemed() || Rect.Height() > 9) return;
  // A low up button loses the top of its frame: take the top two rows from a button of
  // full height (never below the button itself).
  const TRect full{Rect.Left, Rect.Top, Rect.Right, Rect.Top + 10};
  const TRect clip{Rect.Left, Rect.Top, Rect.Right, std::min<LONG>(Rect.Top + 2, Rect.Bottom)};
  if (!clip.IsEmpty()) DrawStyleElement(Canvas, TThemedSpin(tsUpNormal + StateOffset(State)), full, &clip);
}

void DrawDownButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  DrawArrowButton(Canvas, Rect, State, {tsArrowBtnDownNormal, tsDownNormal, DFCS_SCROLLDOWN});
}

// The up-down control names its horizontal pair as it counts: "down" points left.
void DrawLeftButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  DrawArrowButton(Canvas, Rect, State, {tsArrowBtnLeftNormal, tsDownHorzNormal, DFCS_SCROLLLEFT});
}

void DrawRightButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  DrawArrowButton(Canvas, Rect, State, {tsArrowBtnRightNormal, tsUpHorzNormal, DFCS_SCROLLRIGHT});
}

void DrawComboButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, bool RightToLeft, bool InCombo) {
  if (!Canvas) return;
  const int offset = StateOffset(State);
  const bool systemThemed = IsThemed() && !IsCustomStyle() && CheckWin32Version(6, 0);
  if (InCombo && systemThemed) {
    // Joined to the box: the button covers the box's border on its side.
    if (!RightToLeft)
      DrawStyleElement(Canvas, TThemedComboBox(tcDropDownButtonRightNormal + offset),
                       TRect{Rect.Left, Rect.Top - 1, Rect.Right + 1, Rect.Bottom + 1});
    else
      DrawStyleElement(Canvas, TThemedComboBox(tcDropDownButtonLeftNormal + offset),
                       TRect{Rect.Left - 1, Rect.Top - 1, Rect.Right, Rect.Bottom + 1});
  } else if (!IsThemed()) {
    FrameControl(Canvas, Rect, DFC_BUTTON, DFCS_BUTTONPUSH | (State == qvsPressed ? DFCS_PUSHED : 0));
    DrawArrowByDirection(Canvas, Rect, clBtnText, 1, 4);
  } else {
    DrawStyleElement(Canvas, TThemedComboBox(tcDropDownButtonNormal + offset), Rect);
  }
}
