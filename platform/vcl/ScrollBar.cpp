#include <algorithm>

#include "StdCtrls.h"
#include "win/ScrollBars.h"

namespace {

const char* const kOutOfRange = "Scrollbar property out of range";

}  // namespace

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(TControlStyle{csFramed, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
  SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  EnsureSystemClass(kScrollBarClass);
  CreateSubClass(Params, kScrollBarClass);
  Params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  if (!HandleAllocated()) return;
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  si.nMin = FMin;
  si.nMax = FMax;
  si.nPage = UINT(FPageSize);
  si.nPos = FPosition;
  SetScrollInfo(WindowHandle(), SB_CTL, &si, TRUE);
}

int32_t TScrollBar::TopPosition() const {
  return int32_t(std::max<int64_t>(FMin, int64_t(FMax) - std::max<int64_t>(int64_t(FPageSize) - 1, 0)));
}

void TScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TScrollBar::SetParams(int32_t APosition, int32_t AMin, int32_t AMax) {
  if (AMax < AMin || int64_t(AMax) - AMin + 1 < FPageSize) throw EInvalidOperation(kOutOfRange);
  FMin = AMin;
  FMax = AMax;
  const int32_t position = std::clamp(APosition, FMin, TopPosition());
  const bool changed = position != FPosition;
  FPosition = position;
  UpdateWindow();
  if (changed) Change();
}

void TScrollBar::SetPageSize(int32_t Value) {
  if (Value == FPageSize) return;
  if (Value < 0 || int64_t(Value) > int64_t(FMax) - FMin + 1) throw EInvalidOperation(kOutOfRange);
  FPageSize = Value;
  // A larger page may pull the position in.
  SetParams(FPosition, FMin, FMax);
  UpdateWindow();
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode ScrollCode, int32_t& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TScrollBar::DoScroll(TMessage& Message) {
  int64_t pos = FPosition;
  TScrollCode code = scEndScroll;
  switch (LOWORD(Message.WParam)) {
    case SB_LINEUP: code = scLineUp, pos -= FSmallChange; break;
    case SB_LINEDOWN: code = scLineDown, pos += FSmallChange; break;
    case SB_PAGEUP: code = scPageUp, pos -= FLargeChange; break;
    case SB_PAGEDOWN: code = scPageDown, pos += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      // The message carries 16 bits of the position; the bar knows all 32.
      code = LOWORD(Message.WParam) == SB_THUMBTRACK ? scTrack : scPosition;
      SCROLLINFO si;
      si.fMask = SIF_TRACKPOS;
      pos = GetScrollInfo(WindowHandle(), SB_CTL, &si) ? si.nTrackPos : int32_t(HIWORD(Message.WParam));
      break;
    }
    case SB_TOP: code = scTop, pos = FMin; break;
    case SB_BOTTOM: code = scBottom, pos = FMax; break;
    case SB_ENDSCROLL: code = scEndScroll; break;
    default: return;
  }
  int32_t scrollPos = int32_t(std::clamp<int64_t>(pos, FMin, TopPosition()));
  Scroll(code, scrollPos);
  // OnScroll may have released the control or changed its range: the position is taken
  // as the range now stands.
  if (ComponentState().Contains(csDestroying)) return;
  SetPosition(scrollPos);
}

void TScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      DoScroll(Message);
      Message.Result = 0;
      return;
    default: break;
  }
  TWinControl::Dispatch(Message);
}
