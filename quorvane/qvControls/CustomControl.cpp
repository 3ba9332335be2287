#include "qvControls/CustomControl.h"

#include <algorithm>

#include "gdi/Gdi.h"
#include "themes/StyleManager.h"
#include "vcl/Forms.h"
#include "win/Paint.h"
#include "win/Queue.h"

namespace {

void SetState(TControl* Control, TControlStateFlag Flag, bool On) {
  Control->SetControlState(On ? Control->ControlState() + Flag : Control->ControlState() - Flag);
}

// The distance between a windowed control's client origin and its outer top-left corner.
POINT BorderOffset(TControl* Control) {
  auto* window = dynamic_cast<TWinControl*>(Control);
  if (!window || !window->HandleAllocated()) return {0, 0};
  RECT outer{};
  GetWindowRect(window->WindowHandle(), &outer);
  POINT origin{0, 0};
  ClientToScreen(window->WindowHandle(), &origin);
  return {origin.X - outer.Left, origin.Y - outer.Top};
}

// The parent's own image behind the control, its graphic children aside. Painting it into
// a copy must not use up what the parent's window still has to paint on screen (a window
// without painting of its own validates itself when asked to paint), so its pending update
// region is put back afterwards.
void PaintParentImage(TWinControl* Parent, HDC DC) {
  HRGN pending = nullptr;
  if (Parent->HandleAllocated()) {
    pending = CreateRectRgn(0, 0, 0, 0);
    if (GetUpdateRgn(Parent->WindowHandle(), pending, FALSE) == NULLREGION) {
      DeleteObject(pending);
      pending = nullptr;
    }
  }
  Finally restore{[&] {
    if (!pending) return;
    if (Parent->HandleAllocated()) InvalidateRgn(Parent->WindowHandle(), pending, TRUE);
    DeleteObject(pending);
  }};
  if (Parent->InheritsFrom("TCustomFrame") && Parent->ControlStyle().Contains(csParentBackground)) {
    // A frame that shows its parent's background: that parent erases, in its coordinates.
    TWinControl* grand = Parent->Parent();
    if (!grand) return;
    POINT old{};
    OffsetViewportOrgEx(DC, -Parent->Left(), -Parent->Top(), &old);
    Finally back{[&] { SetViewportOrgEx(DC, old.X, old.Y, nullptr); }};
    grand->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    return;
  }
  Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  if (!dynamic_cast<TCustomForm*>(Parent)) Parent->PaintWindow(DC);
}

}  // namespace

// ---- DrawParentBackground ----

void DrawParentBackground(TControl* Control, TCanvas* Canvas) {
  if (!Control || !Canvas) return;
  TWinControl* parent = Control->Parent();
  if (!parent) return;
  HDC dc = Canvas->Handle();
  auto* window = dynamic_cast<TWinControl*>(Control);
  if (TStyleManager::IsCustomStyleActive() && window && window->HandleAllocated()) {
    StyleServices()->DrawParentBackground(window->WindowHandle(), dc, nullptr, false);
    return;
  }
  const bool parentWasCopy = parent->ControlState().Contains(csPaintCopy);
  SetState(parent, csPaintCopy, true);
  Finally clearMark{[&] {
    if (!parentWasCopy) SetState(parent, csPaintCopy, false);
  }};
  // Offsets are added to the DC's own origin, so that a DC that already has one (a
  // control painting into a part of a bigger picture) keeps it.
  const POINT border = BorderOffset(Control);
  const int ox = -Control->Left() - border.X, oy = -Control->Top() - border.Y;
  {
    const int saved = SaveDC(dc);
    Finally restore{[&] { RestoreDC(dc, saved); }};
    OffsetViewportOrgEx(dc, ox, oy, nullptr);
    const TRect client = parent->ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    PaintParentImage(parent, dc);
  }
  // Graphic siblings always lie below windowed ones; those before Control lie under it.
  const TRect bounds = Control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == Control) break;
    if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
    RECT common;
    const TRect r = sibling->BoundsRect();
    if (!IntersectRect(&common, &r, &bounds)) continue;
    SetState(sibling, csPaintCopy, true);
    const int saved = SaveDC(dc);
    Finally restore{[&] {
      RestoreDC(dc, saved);
      SetState(sibling, csPaintCopy, false);
    }};
    OffsetViewportOrgEx(dc, sibling->Left() + ox, sibling->Top() + oy, nullptr);
    IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
    sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

// ---- TqvCustomControl ----

TqvCustomControl::TqvCustomControl(TComponent* AOwner) : TCustomControl(AOwner) { ParentBGBuffer = new TBitmap; }

TqvCustomControl::~TqvCustomControl() {
  FreePaintBuffer();
  delete ParentBGBuffer;
}

void TqvCustomControl::FreePaintBuffer() {
  delete FPaintBuffer;
  FPaintBuffer = nullptr;
}

void TqvCustomControl::SetStorePaintBuffer(bool Value) {
  if (Value == FStorePaintBuffer) return;
  FStorePaintBuffer = Value;
  if (!Value) FreePaintBuffer();
}

void TqvCustomControl::SetTransparentBackground(bool Value) { FTransparentBackground = Value; }

TqvsCtrlState TqvCustomControl::GetCtrlState() { return Enabled() ? qvsNormal : qvsDisabled; }

bool TqvCustomControl::CanDrawOnBackground() {
  return !FForceDraw && !FromWMPaint && FDrawOnBackground && !ControlState().Contains(csPaintCopy);
}

void TqvCustomControl::Paint() {
  const int width = FDrawInClientRect ? ClientWidth() : Width();
  const int height = FDrawInClientRect ? ClientHeight() : Height();
  if (width <= 0 || height <= 0) return;
  if (!FStorePaintBuffer || !FPaintBuffer) {
    FreePaintBuffer();
    FPaintBuffer = new TBitmap;
  }
  Finally release{[this] {
    if (!FStorePaintBuffer) FreePaintBuffer();
  }};
  FPaintBuffer->SetSize(width, height);
  if (FTransparentBackground && !FStopEraseBackground) GetParentBG();
  DrawBackground(FPaintBuffer->Canvas());
  Draw(FPaintBuffer->Canvas(), GetCtrlState());
  Canvas()->Draw(0, 0, FPaintBuffer);
}

void TqvCustomControl::GetParentBG() {
  if (!FTransparentBackground) {
    if (ParentBGBuffer->Width() > 0 && ParentBGBuffer->Height() > 0) ParentBGBuffer->SetSize(0, 0);
    return;
  }
  if (Width() <= 0 || Height() <= 0) return;
  if (ParentBGBuffer->Width() != Width() || ParentBGBuffer->Height() != Height())
    ParentBGBuffer->SetSize(Width(), Height());
  auto* parent = dynamic_cast<TqvCustomControl*>(Parent());
  const bool wasCapturing = parent && parent->FGetControlBG;
  if (parent) parent->FGetControlBG = true;
  Finally reset{[&] {
    if (parent) parent->FGetControlBG = wasCapturing;
  }};
  const TBitmap* stored = parent && parent->FStorePaintBuffer ? parent->FPaintBuffer : nullptr;
  if (stored && stored->Width() > 0 && stored->Height() > 0) {
    ParentBGBuffer->Canvas()->CopyRect(TRect{0, 0, ParentBGBuffer->Width(), ParentBGBuffer->Height()},
                                       parent->FPaintBuffer->Canvas(),
                                       TRect{Left(), Top(), Left() + Width(), Top() + Height()});
    return;
  }
  DrawParentBackground(this, ParentBGBuffer->Canvas());
}

void TqvCustomControl::DrawBackground(TCanvas* ACanvas) {
  if (!FTransparentBackground) return;
  if (ParentBGBuffer->Width() != Width() || ParentBGBuffer->Height() != Height()) GetParentBG();
  ACanvas->Draw(0, 0, ParentBGBuffer);
}

void TqvCustomControl::RePaintControl() {
  // Restored rather than cleared: a repaint inside SetBounds keeps its guard.
  const bool stopErase = FStopEraseBackground, forceDraw = FForceDraw;
  FStopEraseBackground = true;
  FForceDraw = true;
  Finally restore{[&] {
    FStopEraseBackground = stopErase;
    FForceDraw = forceDraw;
  }};
  Repaint();
}

void TqvCustomControl::UpdateChildrenBackground() {
  // By index: a child's handler may remove children.
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* child = Controls(i);
    if (!child->Visible()) continue;
    if (auto* window = dynamic_cast<TWinControl*>(child)) {
      if (window->HandleAllocated()) SendMessage(window->WindowHandle(), WM_UPDATEPARENTBACKGROUND, 0, 0);
    } else {
      TMessage message;
      message.Msg = WM_UPDATEPARENTBACKGROUND;
      child->Dispatch(message);
    }
  }
}

void TqvCustomControl::RefreshBackground() {
  GetParentBG();
  RePaintControl();
  UpdateChildrenBackground();
}

void TqvCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool container = ControlStyle().Contains(csAcceptsControls);
  auto markChildren = [this](bool Value) {
    for (int i = 0; i < ControlCount(); ++i)
      if (auto* child = dynamic_cast<TqvCustomControl*>(Controls(i))) child->FForceDraw = Value;
  };
  if (container) markChildren(true);
  const bool forceDraw = FForceDraw;
  FForceDraw = true;
  Finally restore{[&] {
    FForceDraw = forceDraw;
    if (container) markChildren(false);
  }};
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TqvCustomControl::ChangeScale(int M, int D, bool isDpiChange) {
  TCustomControl::ChangeScale(M, D, isDpiChange);
  if (M <= 0 || D <= 0) return;
  const double old = FScaleFactor;
  FScalePercent = MulDiv(FScalePercent, M, D);
  FScaleFactor = std::max(1.0, FScalePercent / 100.0);
  if (FScaleFactor != old && OnChangeScale) OnChangeScale(this);
}

void TqvCustomControl::UpdateStyleElements() { RePaintControl(); }

void TqvCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: {
      const bool was = FromWMPaint;
      FromWMPaint = true;
      Finally restore{[&] { FromWMPaint = was; }};
      TCustomControl::Dispatch(Message);
      return;
    }
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      if (dc && CanDrawOnBackground()) PaintWindow(dc);
      Message.Result = 1;
      return;
    }
    case WM_SIZE:
      TCustomControl::Dispatch(Message);
      if (FTransparentBackground || FStorePaintBuffer) {
        if (FStorePaintBuffer) Repaint();
        UpdateChildrenBackground();
      }
      return;
    case WM_MOVE:
      TCustomControl::Dispatch(Message);
      if (FTransparentBackground) RefreshBackground();
      return;
    case WM_UPDATEPARENTBACKGROUND:
      // A control with its own background hides what changed from its children.
      if (FTransparentBackground) RefreshBackground();
      return;
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(Message);
      RePaintControl();
      return;
    default: TCustomControl::Dispatch(Message); return;
  }
}
