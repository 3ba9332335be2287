// Unit gx_grab: paints a control and every visible windowed descendant into an off-screen
// bitmap through the painting messages, so that the picture looks like the screen: frame
// and scroll bars, background, client, what overlays the client, then the children in
// z-order, each cut to its parent's client area.
//
// Two messages of the libraries take part (the device context in WParam):
// CM_GRABFRAME asks a control to paint its non-client frame at the window origin (it
// answers gxGrabFrameAnswer when it did); CM_GRABOVERLAY, sent once the client area is
// painted at the client origin, asks it to paint what lies over its client area in other
// windows.
//
// Grab style hooks: the styled frames, scroll bars, list-view headers and combo frames of
// the standard controls are painted here by the window's own non-client painting
// (WM_PRINT), which draws with the active style. The platform has no style hooks for
// scroll bars, scrolling controls, list views, combo boxes or extended combo boxes to
// borrow those routines from, so no grab hooks are made.
#pragma once

#include "gx_bitmap/Bitmap.h"
#include "gx_grabclass.h"
#include "vcl/Controls.h"

// What a control answers to CM_GRABFRAME when it painted its frame.
constexpr LRESULT gxGrabFrameAnswer = 0x3233;

// A grabbing strategy: how one control (without its child windows) is painted into a
// bitmap. Registered classes (gx_grabclass) are chosen per control; an instance lives for
// one grab.
class TgxGrabber : public TObject {
  QV_CLASS(TgxGrabber, TObject)
  TgxGrabber() = default;

  // Paints AControl, without its child windows, into ABitmap with the control's top-left
  // outer corner at (X, Y); ARect (control coordinates) is the part wanted. The base
  // paints nothing.
  virtual void GrabToBitmap(TBitmap* /*ABitmap*/, int32_t /*X*/, int32_t /*Y*/, TControl* /*AControl*/,
                            const TRect& /*ARect*/) {}

  // The class of control the grabber serves (null: none) and the lower-case names of the
  // classes it serves besides, separated by ';' (empty: none).
  static TgxGrabberControlClass GetGrabberClassType() { return nullptr; }
  static String GetGrabberClassName() { return {}; }
};

// The strategy for windowed controls (and, when asked directly, graphic ones): the frame
// through CM_GRABFRAME or WM_PRINT, then background and client through WM_ERASEBKGND and
// WM_PAINT with the bitmap's DC, the control marked csPaintCopy throughout.
class TgxWControlGrabber : public TgxGrabber {
  QV_CLASS(TgxWControlGrabber, TgxGrabber)
  TgxWControlGrabber() = default;

  void GrabToBitmap(TBitmap* ABitmap, int32_t X, int32_t Y, TControl* AControl, const TRect& ARect) override;

  static TgxGrabberControlClass GetGrabberClassType() { return TWinControl::StaticClass(); }
  static String GetGrabberClassName() { return "twincontrol;tcustomcontrol"; }
};

// The picture of ARect of AControl (control coordinates, origin at its top-left outer
// corner), every pixel opaque; new, owned by the caller. A hidden control or a rectangle
// outside it gives a black picture of ARect's size (an empty one for an empty ARect).
// Exceptions of the painting free what was made and reach the caller.
TgxBitmap* GrabControlImage(TControl* AControl, const TRect& ARect);

// Paints AControl with its top-left outer corner at (X, Y) of Bitmap, limited to ARect
// (control coordinates), then its visible windowed children, bottom of the z-order first,
// each limited to the control's client area. Nothing for a null or hidden control. The
// DC's state (clip, origin) is as before afterwards.
void GrabControlTree(TBitmap* Bitmap, int32_t X, int32_t Y, const TRect& ARect, TControl* AControl);
