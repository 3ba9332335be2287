// Style hooks: objects that stand in front of a window's message handling while a custom
// style is active and paint the window in the style's looks. TStyleHook serves a control
// of the framework, TSysStyleHook a window known only by its class name (the engine
// subclasses it). The engine (StyleEngine.h) makes and frees them.
#pragma once

#include "vcl/Controls.h"

class TCustomStyleEngine;

class TStyleHook : public TObject {
  QV_CLASS(TStyleHook, TObject)
  // Raises EArgumentException for a null control.
  explicit TStyleHook(TWinControl* AControl);
  ~TStyleHook() override;

  // The control the hook serves (null for a TSysStyleHook) and its window.
  TWinControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }

  // Set while a message runs through WndProc: true when the hook dealt with it, so the
  // control's own handling does not run.
  bool Handled() const { return FHandled; }
  void SetHandled(bool Value) { FHandled = Value; }

  // What the default WndProc takes over: WM_PAINT (PaintBackground, then Paint),
  // WM_NCPAINT (PaintNC) and WM_ERASEBKGND (PaintBackground).
  bool OverridePaint() const { return FOverridePaint; }
  void SetOverridePaint(bool Value) { FOverridePaint = Value; }
  bool OverridePaintNC() const { return FOverridePaintNC; }
  void SetOverridePaintNC(bool Value) { FOverridePaintNC = Value; }
  bool OverrideEraseBkgnd() const { return FOverrideEraseBkgnd; }
  void SetOverrideEraseBkgnd(bool Value) { FOverrideEraseBkgnd = Value; }

  // The style's fill and text colour for the window; subclasses set them from the style.
  // The canvas of Paint and PaintBackground starts with this brush and this font colour.
  TBrush* Brush() const { return FBrush; }
  TColor FontColor() const { return FFontColor; }
  void SetFontColor(TColor Value) { FFontColor = Value; }

  // The mouse is over the window (client area or frame); over its frame.
  bool MouseInControl() const { return FMouseInControl; }
  bool MouseInNCArea() const { return FMouseInNCArea; }

  // Asks for the client area, and for the frame, to be painted again.
  void Invalidate();
  void InvalidateNC();

  // The window's normal handling of a message: the control's own path behind the hook,
  // or a subclassed window's previous procedure. The message has then had its handling,
  // so Handled becomes true.
  virtual void CallDefaultProc(TMessage& Msg);

  // Runs one message through the hook: the mouse tracking, then WndProc. True when the
  // hook handled it. A hook that is freed while a message runs through it is deleted when
  // the outermost of its messages is done.
  bool HandleMessage(TMessage& Message);

 protected:
  // For TSysStyleHook: a window without a control.
  explicit TStyleHook(HWND AHandle);

  // The default takes over the paint messages as the Override flags say and passes every
  // other message to CallDefaultProc.
  virtual void WndProc(TMessage& Message);
  // Drawing hooks of the overridden messages; the defaults draw nothing. Paint gets the
  // client area (the control's graphic children are painted over it afterwards), PaintNC
  // the frame in window coordinates with the client area clipped away.
  virtual void Paint(TCanvas* /*Canvas*/) {}
  virtual void PaintNC(TCanvas* /*Canvas*/) {}
  virtual void PaintBackground(TCanvas* /*Canvas*/) {}
  // The mouse came over the window, and left it (client area and frame count as one).
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}

  void WMPaint(TMessage& Message);
  void WMNCPaint(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

 private:
  friend class TCustomStyleEngine;

  void TrackMouse(const TMessage& Message);
  void TrackLeave(bool NonClient);
  bool CursorOverWindow() const;
  // A canvas on DC with the hook's brush and the control's font in FontColor.
  void PrepareCanvas(TCanvas& Canvas, HDC DC) const;

  TWinControl* FControl = nullptr;
  HWND FHandle = nullptr;
  TBrush* FBrush;
  TColor FFontColor = clWindowText;
  bool FHandled = false;
  bool FOverridePaint = false;
  bool FOverridePaintNC = false;
  bool FOverrideEraseBkgnd = false;
  bool FMouseInControl = false;
  bool FMouseInNCArea = false;
  // The message CallDefaultProc is passing on: it goes by the hook on its way.
  const TMessage* FDefaultMessage = nullptr;
  // Messages running through the hook now, and whether the engine let go of it meanwhile.
  int FDepth = 0;
  bool FFreePending = false;
};

// A hook that repaints the window when the mouse comes over it and when it leaves, for
// hot looks drawn from MouseInControl.
class TMouseTrackControlStyleHook : public TStyleHook {
  QV_CLASS(TMouseTrackControlStyleHook, TStyleHook)
  explicit TMouseTrackControlStyleHook(TWinControl* AControl) : TStyleHook(AControl) {}

 protected:
  void MouseEnter() override;
  void MouseLeave() override;
};

// A hook for a window that is not a framework control, found by its window class name.
// The engine puts its own procedure in front of the window's while the hook lives.
class TSysStyleHook : public TStyleHook {
  QV_CLASS(TSysStyleHook, TStyleHook)
  explicit TSysStyleHook(HWND AHandle) : TStyleHook(AHandle) {}

  // The window's procedure before the engine subclassed it.
  WNDPROC OrgWndProc() const { return FOrgWndProc; }
  void CallDefaultProc(TMessage& Msg) override;

 private:
  friend class TCustomStyleEngine;
  WNDPROC FOrgWndProc = nullptr;
};
