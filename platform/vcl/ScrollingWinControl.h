// Scrolling windows: a control's frame scroll bars as objects (TControlScrollBar), a
// container that scrolls its children within a range computed from their extents
// (TScrollingWinControl), and the framework's scroll box (TScrollBox).
#pragma once

#include <algorithm>

#include "Controls.h"

class TScrollingWinControl;

// One frame scroll bar of a TScrollingWinControl. Range is the extent of the content,
// Position the scrolled offset (0..Range - client size); the window's bar shows page =
// client size and max = Range - 1, and goes away when the content fits.
class TControlScrollBar : public TPersistent {
  QV_CLASS(TControlScrollBar, TPersistent)
  TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind);

  void Assign(TPersistent* Source) override;

  TScrollBarKind Kind() const { return FKind; }
  int Range() const { return FRange; }
  // Setting a range by hand switches the control's AutoScroll off.
  void SetRange(int Value);
  int Position() const { return FPosition; }
  // Clamped to 0..Range - client size; scrolls the content by the change.
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  // At least 1.
  void SetIncrement(int Value);
  bool Tracking() const { return FTracking; }
  void SetTracking(bool Value) { FTracking = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value) { FSmooth = Value; }
  // Extra space kept beyond the farthest child when the range is computed.
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  // 0: the system's size.
  int ButtonSize() const { return FButtonSize; }
  void SetButtonSize(int Value) { FButtonSize = std::max(0, Value); }
  int Size() const { return FSize; }
  void SetSize(int Value) { FSize = std::max(0, Value); }

  // The window shows this bar now.
  bool IsScrollBarVisible() const;
  // Position while the bar is meant to be visible, else 0.
  int ScrollPos() const { return FVisible ? FPosition : 0; }

 private:
  friend class TScrollingWinControl;
  int Bar() const;
  // The client extent along the bar's axis.
  int ControlSize() const;
  int MaxPosition() const { return FVisible ? std::max(0, FRange - ControlSize()) : 0; }
  // Sets the window's bar from Range, client size and Position; clamps Position.
  void Update();
  void DoSetRange(int Value);
  // WM_HSCROLL / WM_VSCROLL from the frame bar.
  void ScrollMessage(int Code);

  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  int FRange = 0;
  int FPosition = 0;
  int FIncrement = 8;
  int FMargin = 0;
  int FButtonSize = 0;
  int FSize = 0;
  bool FTracking = false;
  bool FVisible = true;
  bool FSmooth = false;
};

// A container with two TControlScrollBars. With AutoScroll the ranges follow the
// children's extents (recomputed whenever they move, resize, show or hide, and when the
// container resizes); the content scrolls by ScrollBy, the bars, the wheel, and to bring
// a child that takes the focus into view.
class TScrollingWinControl : public TWinControl {
  QV_CLASS(TScrollingWinControl, TWinControl)
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar; }
  void SetHorzScrollBar(TControlScrollBar* Value) { FHorzScrollBar->Assign(Value); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar; }
  void SetVertScrollBar(TControlScrollBar* Value) { FVertScrollBar->Assign(Value); }
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value);

  // Moves every child by (DX, DY): child windows with ScrollWindowEx, graphic children
  // (and windowed ones without a window) by their bounds. Does not change the positions.
  virtual void ScrollBy(int DX, int DY);
  // Scrolls so that AControl's client area (with the bars' margins) lies in view; does
  // nothing for a control that is not a child at any depth.
  virtual void ScrollInView(TControl* AControl);
  // Range recomputation waits between these two calls (they nest).
  void DisableAutoRange();
  void EnableAutoRange();

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void AdjustClientRect(TRect& Rect) override;
  bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
  // What a child taking the focus calls: ScrollInView unless either is loading.
  virtual void AutoScrollInView(TControl* AControl);
  // Computes both ranges from the children (with AutoScroll) and updates the bars.
  void CalcAutoRange();
  void UpdateScrollBars();

 private:
  friend class TControlScrollBar;
  bool WheelScroll(TShiftState Shift, int Direction);

  TControlScrollBar* FHorzScrollBar;
  TControlScrollBar* FVertScrollBar;
  bool FAutoScroll = true;
  int FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
};

// The framework's scroll box: a bordered (bsSingle: a client edge) scrolling container.
class TScrollBox : public TScrollingWinControl {
  QV_CLASS(TScrollBox, TScrollingWinControl)
  explicit TScrollBox(TComponent* AOwner);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  // bsNone or bsSingle; other values are taken as bsSingle.
  void SetBorderStyle(TBorderStyle Value);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TBorderStyle FBorderStyle = bsSingle;
};
