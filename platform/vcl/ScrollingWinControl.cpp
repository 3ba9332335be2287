// Scrolling windows: TControlScrollBar, TScrollingWinControl and TScrollBox.
#include <algorithm>
#include <climits>
#include <vector>

#include "Forms.h"
#include "win/Paint.h"
#include "win/ScrollBars.h"

// ---- TControlScrollBar ----

TControlScrollBar::TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind)
    : FControl(AControl), FKind(AKind) {}

void TControlScrollBar::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TControlScrollBar*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FIncrement = s->FIncrement;
  FTracking = s->FTracking;
  FSmooth = s->FSmooth;
  FMargin = s->FMargin;
  FButtonSize = s->FButtonSize;
  FSize = s->FSize;
  FVisible = s->FVisible;
  SetRange(s->FRange);
  SetPosition(s->FPosition);
}

int TControlScrollBar::Bar() const { return FKind == sbHorizontal ? SB_HORZ : SB_VERT; }

int TControlScrollBar::ControlSize() const {
  return FKind == sbHorizontal ? FControl->ClientWidth() : FControl->ClientHeight();
}

void TControlScrollBar::SetRange(int Value) {
  FControl->FAutoScroll = false;
  DoSetRange(Value);
}

void TControlScrollBar::DoSetRange(int Value) {
  FRange = std::clamp(Value, 0, INT_MAX / 2);
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int Value) {
  Value = std::clamp(Value, 0, MaxPosition());
  if (Value != FPosition) {
    const int delta = FPosition - Value;
    FPosition = Value;
    if (FKind == sbHorizontal)
      FControl->ScrollBy(delta, 0);
    else
      FControl->ScrollBy(0, delta);
  }
  if (FControl->HandleAllocated() && IsScrollBarVisible()) SetScrollPos(FControl->Handle(), Bar(), FPosition, TRUE);
}

void TControlScrollBar::SetIncrement(int Value) { FIncrement = std::max(1, Value); }

void TControlScrollBar::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  FControl->UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int Value) {
  FMargin = std::max(0, Value);
  if (FControl->AutoScroll()) FControl->CalcAutoRange();
}

bool TControlScrollBar::IsScrollBarVisible() const {
  if (!FVisible || !FControl->HandleAllocated()) return false;
  const auto style = DWORD(GetWindowLong(FControl->WindowHandle(), GWL_STYLE));
  return (style & (FKind == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

void TControlScrollBar::Update() {
  if (!FControl->HandleAllocated()) return;
  const int page = ControlSize();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (FVisible && FRange > page) {
    si.nMin = 0;
    si.nMax = FRange - 1;
    si.nPage = UINT(std::max(0, page));
    si.nPos = std::clamp(FPosition, 0, FRange - page);
  }
  // A range the client holds hides the bar (page 0, max 0).
  SetScrollInfo(FControl->Handle(), Bar(), &si, TRUE);
}

void TControlScrollBar::ScrollMessage(int Code) {
  const int page = ControlSize();
  switch (Code) {
    case SB_LINEUP: SetPosition(FPosition - FIncrement); break;
    case SB_LINEDOWN: SetPosition(FPosition + FIncrement); break;
    case SB_PAGEUP: SetPosition(FPosition - page); break;
    case SB_PAGEDOWN: SetPosition(FPosition + page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      if (Code == SB_THUMBTRACK && !FTracking) break;
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(FControl->Handle(), Bar(), &si)) SetPosition(si.nTrackPos);
      break;
    }
    case SB_TOP: SetPosition(0); break;
    case SB_BOTTOM: SetPosition(MaxPosition()); break;
    default: break;
  }
}

// ---- TScrollingWinControl ----

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  FHorzScrollBar = new TControlScrollBar(this, sbHorizontal);
  FVertScrollBar = new TControlScrollBar(this, sbVertical);
}

TScrollingWinControl::~TScrollingWinControl() {
  // The children go in the base destructor; nothing recomputes ranges from here on.
  Destroying();
  ++FAutoRangeCount;
  FUpdatingScrollBars = true;
  delete FHorzScrollBar;
  delete FVertScrollBar;
  FHorzScrollBar = nullptr;
  FVertScrollBar = nullptr;
}

void TScrollingWinControl::SetAutoScroll(bool Value) {
  if (FAutoScroll == Value) return;
  FAutoScroll = Value;
  if (Value) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->DoSetRange(0);
    FVertScrollBar->DoSetRange(0);
  }
}

void TScrollingWinControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  // Scrolling moves pixels; a resize repaints only what it uncovers.
  Params.WindowClass.style &= ~UINT(CS_HREDRAW | CS_VREDRAW);
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  // The bars of the new window start from the ranges kept by the control.
  UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  CalcAutoRange();
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
  // Children align within the whole scrolled area, not only the visible part.
  const int h = FHorzScrollBar ? FHorzScrollBar->FPosition : 0;
  const int v = FVertScrollBar ? FVertScrollBar->FPosition : 0;
  const int hr = FHorzScrollBar ? FHorzScrollBar->FRange : 0;
  const int vr = FVertScrollBar ? FVertScrollBar->FRange : 0;
  Rect = TRect{-h, -v, -h + std::max(hr, int(Rect.Width())), -v + std::max(vr, int(Rect.Height()))};
  TWinControl::AdjustClientRect(Rect);
}

void TScrollingWinControl::DisableAutoRange() { ++FAutoRangeCount; }

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount == 0) return;
  if (--FAutoRangeCount == 0) CalcAutoRange();
}

void TScrollingWinControl::CalcAutoRange() {
  if (FAutoRangeCount > 0 || !FHorzScrollBar || ComponentState().Contains(csDestroying)) return;
  if (FAutoScroll) {
    int right = 0, bottom = 0, rightAligned = 0, bottomAligned = 0;
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() && !ComponentState().Contains(csDesigning)) continue;
      switch (c->Align()) {
        case alNone:
        case alCustom:
          right = std::max(right, c->Left() + c->Width() + FHorzScrollBar->FPosition);
          bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar->FPosition);
          break;
        case alLeft:
          right = std::max(right, c->Left() + c->Width() + FHorzScrollBar->FPosition);
          break;
        case alTop:
          bottom = std::max(bottom, c->Top() + c->Height() + FVertScrollBar->FPosition);
          break;
        case alRight: rightAligned += c->Width(); break;
        case alBottom: bottomAligned += c->Height(); break;
        default: break;  // alClient fills what there is
      }
    }
    FHorzScrollBar->FRange = std::max(0, right + rightAligned + FHorzScrollBar->FMargin);
    FVertScrollBar->FRange = std::max(0, bottom + bottomAligned + FVertScrollBar->FMargin);
  }
  UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !FHorzScrollBar || !HandleAllocated()) return;
  FUpdatingScrollBars = true;
  try {
    // Showing one bar narrows the client for the other: settle both twice.
    for (int pass = 0; pass < 2; ++pass) {
      FVertScrollBar->Update();
      FHorzScrollBar->Update();
    }
  } catch (...) {
    FUpdatingScrollBars = false;
    throw;
  }
  FUpdatingScrollBars = false;
  // Positions beyond a smaller range move the content back.
  for (TControlScrollBar* bar : {FHorzScrollBar, FVertScrollBar})
    if (FHorzScrollBar && bar->FPosition > bar->MaxPosition()) bar->SetPosition(bar->MaxPosition());
}

void TScrollingWinControl::ScrollBy(int DX, int DY) {
  if (DX == 0 && DY == 0) return;
  DisableAlign();
  struct Reenable {
    TScrollingWinControl* C;
    ~Reenable() { C->EnableAlign(); }
  } reenable{this};
  std::vector<TControl*> children;
  for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
  if (HandleAllocated())
    ScrollWindowEx(WindowHandle(), DX, DY, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  for (TControl* c : children) {
    // A child freed while its siblings moved is no longer in the list.
    if (std::find(FControls.begin(), FControls.end(), c) == FControls.end()) continue;
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && w->HandleAllocated() && HandleAllocated()) continue;  // moved with the windows
    c->SetBounds(c->Left() + DX, c->Top() + DY, c->Width(), c->Height());
  }
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || AControl == this || !ContainsControl(AControl) || !FHorzScrollBar) return;
  const TRect client = AControl->ClientRect();
  TPoint tl = AControl->ClientToParent(client.TopLeft(), this);
  TPoint br = AControl->ClientToParent(client.BottomRight(), this);
  tl.X -= FHorzScrollBar->FMargin;
  br.X += FHorzScrollBar->FMargin;
  tl.Y -= FVertScrollBar->FMargin;
  br.Y += FVertScrollBar->FMargin;
  const int width = ClientWidth(), height = ClientHeight();
  // A control larger than the view shows its top-left part.
  if (tl.X < 0)
    FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition + tl.X);
  else if (br.X > width)
    FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition + std::min(br.X - width, tl.X));
  if (tl.Y < 0)
    FVertScrollBar->SetPosition(FVertScrollBar->FPosition + tl.Y);
  else if (br.Y > height)
    FVertScrollBar->SetPosition(FVertScrollBar->FPosition + std::min(br.Y - height, tl.Y));
}

void TScrollingWinControl::AutoScrollInView(TControl* AControl) {
  if (!AControl || AControl->ComponentState().Contains(csLoading) || ComponentState().Contains(csLoading) ||
      ComponentState().Contains(csDestroying))
    return;
  ScrollInView(AControl);
}

bool TScrollingWinControl::WheelScroll(TShiftState Shift, int Direction) {
  if (!FHorzScrollBar) return false;
  TControlScrollBar* bar = FVertScrollBar;
  if (Shift.Contains(ssShift) || !bar->IsScrollBarVisible()) bar = FHorzScrollBar;
  if (!bar->IsScrollBarVisible()) return false;
  UINT lines = 3;
  SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  // WHEEL_PAGESCROLL (all bits set) asks for a page per notch.
  const int step = lines >= UINT(INT_MAX / 2) ? bar->ControlSize()
                                               : int(std::min<int64_t>(int64_t(bar->FIncrement) * lines, INT_MAX / 2));
  bar->SetPosition(bar->FPosition + Direction * step);
  return true;
}

bool TScrollingWinControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (TWinControl::DoMouseWheelDown(Shift, MousePos)) return true;
  return WheelScroll(Shift, 1);
}

bool TScrollingWinControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (TWinControl::DoMouseWheelUp(Shift, MousePos)) return true;
  return WheelScroll(Shift, -1);
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Only the frame bars; a scroll bar control's notification carries its window.
      if (Message.LParam == 0 && FHorzScrollBar) {
        (Message.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)->ScrollMessage(LOWORD(Message.WParam));
        Message.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      if (FUpdatingScrollBars) break;
      ++FAutoRangeCount;
      try {
        TWinControl::Dispatch(Message);
      } catch (...) {
        --FAutoRangeCount;
        throw;
      }
      --FAutoRangeCount;
      CalcAutoRange();
      return;
    case CM_FOCUSCHANGED: {
      TWinControl::Dispatch(Message);
      auto* focused = reinterpret_cast<TWinControl*>(Message.LParam);
      if (focused && focused != this && ContainsControl(focused)) AutoScrollInView(focused);
      return;
    }
    default: break;
  }
  TWinControl::Dispatch(Message);
}

// ---- TScrollBox ----

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  SetControlStyle(ControlStyle() + csAcceptsControls);
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  Value = Value == bsNone ? bsNone : bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  TScrollingWinControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}
