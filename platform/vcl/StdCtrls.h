// StdCtrls: the state of a three-state check box, which scroll bars a control shows, and
// TScrollBar, the control built on the window system's "ScrollBar" class.
#pragma once

#include "Controls.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int32_t& ScrollPos)>;

// A scroll bar control. The parent's WM_HSCROLL / WM_VSCROLL come back to it as
// CN_HSCROLL / CN_VSCROLL: it works out the new position (SmallChange, LargeChange, the
// thumb's 32-bit track position, Min or Max), lets OnScroll change it, then takes it.
// Position stays within Min .. Max less PageSize - 1; a change of it fires OnChange once.
class TScrollBar : public TWinControl {
  QV_CLASS(TScrollBar, TWinControl)
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  // Swaps width and height and makes the window again; the position stays.
  void SetKind(TScrollBarKind Value);
  int32_t Min() const { return FMin; }
  void SetMin(int32_t Value) { SetParams(FPosition, Value, FMax); }
  int32_t Max() const { return FMax; }
  void SetMax(int32_t Value) { SetParams(FPosition, FMin, Value); }
  int32_t Position() const { return FPosition; }
  void SetPosition(int32_t Value) { SetParams(Value, FMin, FMax); }
  // Raises EInvalidOperation "Scrollbar property out of range" for a negative page or one
  // larger than the range.
  int32_t PageSize() const { return FPageSize; }
  void SetPageSize(int32_t Value);
  int32_t SmallChange() const { return FSmallChange; }
  void SetSmallChange(int32_t Value) { FSmallChange = Value; }
  int32_t LargeChange() const { return FLargeChange; }
  void SetLargeChange(int32_t Value) { FLargeChange = Value; }
  // Raises EInvalidOperation "Scrollbar property out of range" when AMax < AMin or the
  // range is smaller than the page; the position is clamped into the range.
  void SetParams(int32_t APosition, int32_t AMin, int32_t AMax);

  void Dispatch(TMessage& Message) override;

  // Both may free the control (with Release) or change its properties.
  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int32_t& ScrollPos);

 private:
  void DoScroll(TMessage& Message);
  // The highest position the page lets the bar reach.
  int32_t TopPosition() const;
  void UpdateWindow();

  TScrollBarKind FKind = sbHorizontal;
  int32_t FMin = 0;
  int32_t FMax = 100;
  int32_t FPosition = 0;
  int32_t FPageSize = 0;
  int32_t FSmallChange = 1;
  int32_t FLargeChange = 1;
};
