// Push, tool, segmented and split button faces with their focus marks.
#include "qvDrawUtils/ElementDrawing.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Style.h"

using namespace qvelements;

namespace {

// How far a segment's face reaches into each joined neighbour.
constexpr int kSegmentOverhang = 20;

TThemedButton PushButtonElement(TqvsCtrlState State) {
  switch (State) {
    case qvsHot: return tbPushButtonHot;
    case qvsPressed: return tbPushButtonPressed;
    case qvsFocused: return tbPushButtonDefaulted;
    case qvsDisabled: return tbPushButtonDisabled;
    default: return tbPushButtonNormal;
  }
}

TThemedToolBar ToolButtonElement(TqvsCtrlState State) {
  switch (State) {
    case qvsHot:
    case qvsFocused: return ttbButtonHot;
    case qvsPressed: return ttbButtonPressed;
    case qvsDisabled: return ttbButtonDisabled;
    default: return ttbButtonNormal;
  }
}

UINT PushButtonFlags(TqvsCtrlState State) { return DFCS_BUTTONPUSH | (State == qvsPressed ? DFCS_PUSHED : 0); }

TRect Shrunk(const TRect& R, int By) { return {R.Left + By, R.Top + By, R.Right - By, R.Bottom - By}; }

// Classic tool buttons: raised when hot or focused, sunken when pressed.
void DrawClassicToolFrame(TCanvas* Canvas, TRect R, TqvsCtrlState State) {
  if (State == qvsHot || State == qvsFocused)
    DrawFrame3D(Canvas, R, clBtnHighlight, clBtnShadow);
  else if (State == qvsPressed)
    DrawFrame3D(Canvas, R, clBtnShadow, clBtnHighlight);
}

TRect SegmentFace(const TRect& Rect, int Segment) {
  TRect f = Rect;
  if (Segment == 1 || Segment == 2) f.Right += kSegmentOverhang;
  if (Segment == 2 || Segment == 3) f.Left -= kSegmentOverhang;
  return f;
}

// Each joint's line covers the last column of one button and the first of the next, so
// each button draws its half and the clip keeps the other half out.
void DrawJoinSeparators(TCanvas* Canvas, const TRect& Rect, int Segment) {
  const int top = Rect.Top + 2, bottom = Rect.Bottom - 2;
  if (Segment == 1 || Segment == 2) DrawVertSeparator(Canvas, {Rect.Right - 1, top, Rect.Right + 1, bottom});
  if (Segment == 2 || Segment == 3) DrawVertSeparator(Canvas, {Rect.Left - 1, top, Rect.Left + 1, bottom});
}

template <class TFace>
void DrawSplitFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int DropDownWidth, bool DropDownPressed,
                   bool Separator, TFace Face) {
  const TRect main{Rect.Left, Rect.Top, Rect.Right - DropDownWidth, Rect.Bottom};
  const TRect dropDown{Rect.Right - DropDownWidth, Rect.Top, Rect.Right, Rect.Bottom};
  if (DropDownPressed) {
    {
      TClipKeeper clip(Canvas, main);
      Face(qvsHot);
    }
    TClipKeeper clip(Canvas, dropDown);
    Face(qvsPressed);
  } else {
    Face(State);
  }
  if (!Separator) return;
  // A drop-down part narrower than the line would put it past the button.
  TClipKeeper clip(Canvas, Rect);
  DrawVertSeparator(Canvas, {dropDown.Left, Rect.Top + 2, dropDown.Right, Rect.Bottom - 2});
}

}  // namespace

void DrawPushButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, bool ShowFocus) {
  if (!Canvas) return;
  if (IsThemed()) {
    DrawStyleElement(Canvas, PushButtonElement(State), Rect);
    // Custom styles mark the focused button with their own look.
    if (ShowFocus && StyleServices()->IsSystemStyle()) DrawFocusRectScaled(Canvas, Shrunk(Rect, 3), Scale);
  } else {
    FrameControl(Canvas, Rect, DFC_BUTTON, PushButtonFlags(State));
    if (ShowFocus && !IsCustomStyle()) Canvas->DrawFocusRect(Shrunk(Rect, 3));
  }
}

void DrawToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  if (!Canvas) return;
  if (IsThemed())
    DrawStyleElement(Canvas, ToolButtonElement(State), Rect);
  else
    DrawClassicToolFrame(Canvas, Rect, State);
}

void DrawToolButtonFaceInset(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State) {
  if (!Canvas) return;
  if (IsThemed()) {
    DrawToolButtonFace(Canvas, Rect, State);
    return;
  }
  TRect r = Rect;
  DrawFrame3D(Canvas, r, clBtnFace, clBtnFace);
  DrawToolButtonFace(Canvas, r, State);
}

void DrawSegmentedButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int Segment,
                             bool ShowFocus) {
  if (!Canvas) return;
  const TRect face = SegmentFace(Rect, Segment);
  if (State == qvsFocused) State = qvsHot;
  if (IsThemed()) {
    DrawStyleElement(Canvas, PushButtonElement(State), face);
    if (ShowFocus && StyleServices()->IsSystemStyle()) DrawFocusRectScaled(Canvas, Shrunk(Rect, 3), Scale);
  } else {
    FrameControl(Canvas, face, DFC_BUTTON, PushButtonFlags(State));
    if (ShowFocus && !IsCustomStyle()) Canvas->DrawFocusRect(Shrunk(Rect, 3));
  }
  DrawJoinSeparators(Canvas, Rect, Segment);
}

void DrawSegmentedToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int Segment) {
  if (!Canvas) return;
  const TRect face = SegmentFace(Rect, Segment);
  if (IsThemed())
    DrawStyleElement(Canvas, ToolButtonElement(State), face);
  else
    DrawClassicToolFrame(Canvas, face, State);
  DrawJoinSeparators(Canvas, Rect, Segment);
}

void DrawSplitPushButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int DropDownWidth,
                             bool DropDownPressed) {
  if (!Canvas) return;
  DrawSplitFace(Canvas, Rect, State, DropDownWidth, DropDownPressed, true,
                [&](TqvsCtrlState S) { DrawPushButtonFace(Canvas, Rect, S, 1, false); });
}

void DrawSplitToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int DropDownWidth,
                             bool DropDownPressed) {
  if (!Canvas) return;
  DrawSplitFace(Canvas, Rect, State, DropDownWidth, DropDownPressed, State != qvsNormal && State != qvsDisabled,
                [&](TqvsCtrlState S) { DrawToolButtonFace(Canvas, Rect, S); });
}
