#include "gx_grab.h"

#include <algorithm>
#include <memory>

#include "gdi/Gdi.h"
#include "gx_utils.h"
#include "themes/StyleManager.h"
#include "vcl/Forms.h"
#include "win/Queue.h"

namespace {

TRect Intersection(const TRect& A, const TRect& B) {
  TRect r{};
  IntersectRect(&r, &A, &B);
  return r;
}

TRect Shifted(TRect R, int32_t DX, int32_t DY) {
  OffsetRect(&R, DX, DY);
  return R;
}

// Through the window procedure while there is a window (subclasses and style hooks see
// the message), else straight to the control.
LRESULT Send(TWinControl* Control, UINT Msg, HDC DC, LPARAM LParam = 0) {
  const WPARAM dc = reinterpret_cast<WPARAM>(DC);
  if (Control->HandleAllocated()) return SendMessage(Control->WindowHandle(), Msg, dc, LParam);
  return Control->Perform(Msg, dc, LParam);
}

// The kinds of standard control whose frames the grab treats apart, known by the
// framework's class names (the wrappers of the libraries derive from them).
bool IsListView(const TControl* C) { return C->InheritsFrom("TCustomListView"); }
bool IsEdit(const TControl* C) { return C->InheritsFrom("TCustomEdit"); }
bool IsBorderedEditKind(const TControl* C) {
  return C->InheritsFrom("TCustomListBox") || C->InheritsFrom("TCustomMemo") || C->InheritsFrom("TCustomTreeView") ||
         IsListView(C) || IsEdit(C);
}
bool IsPrintedWhole(const TControl* C) {
  return C->InheritsFrom("TCustomListBox") || C->InheritsFrom("TCustomComboBox") ||
         C->InheritsFrom("TCustomComboBoxEx") || C->InheritsFrom("TCustomMemo") || IsListView(C) ||
         C->InheritsFrom("TCustomTreeView") || IsEdit(C);
}

// Styled frames are drawn when a custom style is active, or when the theme is enabled on
// Windows 8 and later (and for edits whenever the theme is enabled).
bool StyledFrames(const TControl* C) {
  if (TStyleManager::IsCustomStyleActive()) return true;
  const bool themed = StyleServices()->Enabled();
  return themed && (CheckWin32Version(6, 2) || IsEdit(C));
}

// The DC's origin moved to the control's client origin and drawing limited to the client
// area.
void EnterClient(HDC DC, const TRect& Client) {
  OffsetViewportOrgEx(DC, Client.Left, Client.Top, nullptr);
  IntersectClipRect(DC, 0, 0, Client.Width(), Client.Height());
}

void GrabWindowed(TWinControl* Control, HDC DC) {
  const int32_t w = Control->Width(), h = Control->Height();
  const TRect client = gxGetControlClientRect(Control);
  const HWND handle = Control->WindowHandle();
  if (!handle) {
    // Not on screen yet: no frame, only what the control paints itself.
    Send(Control, WM_ERASEBKGND, DC);
    Send(Control, WM_PAINT, DC);
    return;
  }
  const DWORD style = DWORD(GetWindowLong(handle, GWL_STYLE));
  const DWORD exStyle = DWORD(GetWindowLong(handle, GWL_EXSTYLE));
  const LPARAM all = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND;

  if (dynamic_cast<TCustomForm*>(Control)) {
    if (Send(Control, CM_GRABFRAME, DC) == gxGrabFrameAnswer) {
      EnterClient(DC, client);
      Send(Control, WM_ERASEBKGND, DC);
    } else {
      Send(Control, WM_PRINT, DC, all);
      EnterClient(DC, client);
    }
    Send(Control, WM_PAINT, DC);
  } else if (Send(Control, CM_GRABFRAME, DC) == gxGrabFrameAnswer) {
    EnterClient(DC, client);
    Send(Control, WM_ERASEBKGND, DC);
    Send(Control, WM_PAINT, DC);
    Send(Control, CM_GRABOVERLAY, DC);
  } else if ((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE)) {
    const TRect whole{0, 0, w, h};
    if (IsListView(Control)) FillRect(DC, &whole, Control->Brush()->Handle());
    Send(Control, WM_PRINT, DC, PRF_NONCLIENT);
    {
      // Only the outer two pixels: what the frame painting may have left to the control.
      const int saved = SaveDC(DC);
      Finally restore{[&] {
        if (LiveDC(DC)) RestoreDC(DC, saved);
      }};
      ExcludeClipRect(DC, 2, 2, w - 2, h - 2);
      if (StyledFrames(Control) && IsBorderedEditKind(Control)) {
        StyleServices()->DrawElement(DC, StyleServices()->GetElementDetails(teEditBorderNoScrollNormal), whole);
      } else if (!Control->InheritsFrom("TScrollBox")) {
        Control->PaintTo(DC, 0, 0);
      }
    }
    // Styled scroll bars: WM_PRINT has painted the frame's bars with the active style.
    // The platform has no list view, so there is no header to paint.
    EnterClient(DC, client);
    Send(Control, WM_ERASEBKGND, DC);
    Send(Control, WM_PAINT, DC);
  } else if (IsPrintedWhole(Control)) {
    Send(Control, WM_PRINT, DC, all | PRF_CHILDREN);
  } else {
    // The platform has no scroll-bar control or scroll-bar hook: no styled bar is painted.
    Send(Control, WM_PRINT, DC, PRF_NONCLIENT);
    EnterClient(DC, client);
    Send(Control, WM_ERASEBKGND, DC);
    Send(Control, WM_PAINT, DC);
  }
  // No second WM_PAINT for containers: the first one painted the graphic children already,
  // and another would paint the client over what CM_GRABOVERLAY put there.
}

}  // namespace

// ---- TgxWControlGrabber ----

void TgxWControlGrabber::GrabToBitmap(TBitmap* ABitmap, int32_t X, int32_t Y, TControl* AControl, const TRect& ARect) {
  if (!ABitmap || !AControl) return;
  TCanvas* canvas = ABitmap->Canvas();
  HDC dc = canvas->Handle();
  canvas->Lock();
  const bool wasCopy = AControl->ControlState().Contains(csPaintCopy);
  AControl->SetControlState(AControl->ControlState() + csPaintCopy);
  const int saved = SaveDC(dc);
  Finally restore{[&] {
    if (LiveDC(dc)) RestoreDC(dc, saved);
    if (!wasCopy) AControl->SetControlState(AControl->ControlState() - csPaintCopy);
    canvas->Unlock();
  }};
  OffsetViewportOrgEx(dc, X, Y, nullptr);
  IntersectClipRect(dc, ARect.Left, ARect.Top, ARect.Right, ARect.Bottom);
  if (auto* control = dynamic_cast<TWinControl*>(AControl)) {
    GrabWindowed(control, dc);
  } else {
    // A graphic control asked for by itself paints as its parent would have it paint.
    IntersectClipRect(dc, 0, 0, AControl->Width(), AControl->Height());
    AControl->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

// ---- the tree ----

void GrabControlTree(TBitmap* Bitmap, int32_t X, int32_t Y, const TRect& ARect, TControl* AControl) {
  if (!Bitmap || !AControl || !AControl->Visible()) return;
  const int32_t w = AControl->Width(), h = AControl->Height();
  const TRect source = Intersection(ARect, {0, 0, w, h});
  if (source.IsEmpty()) return;

  HDC dc = Bitmap->Canvas()->Handle();
  const int saved = SaveDC(dc);
  Finally restore{[&] {
    if (LiveDC(dc)) RestoreDC(dc, saved);
  }};
  const TRect clip = Shifted(source, X, Y);
  IntersectClipRect(dc, clip.Left, clip.Top, clip.Right, clip.Bottom);

  const TgxGrabberClass* entry = gxFindGrabberClass(AControl);
  std::unique_ptr<TgxGrabber> grabber(entry ? entry->Create() : new TgxWControlGrabber);

  // A control that sticks out of its parent's client area shows on screen only inside it.
  TWinControl* parent = AControl->Parent();
  TRect inside{0, 0, w, h};
  if (entry && parent && !dynamic_cast<TCustomForm*>(parent)) {
    const TRect area = Shifted(parent->ClientRect(), -AControl->Left(), -AControl->Top());
    inside = Intersection(inside, area);
  }
  if (inside == TRect{0, 0, w, h}) {
    grabber->GrabToBitmap(Bitmap, X, Y, AControl, source);
  } else {
    const TRect visible = Intersection(source, inside);
    if (!visible.IsEmpty()) {
      TBitmap whole;
      whole.SetPixelFormat(pf32bit);
      whole.SetSize(w, h);
      grabber->GrabToBitmap(&whole, 0, 0, AControl, {0, 0, w, h});
      BitBlt(dc, X + visible.Left, Y + visible.Top, visible.Width(), visible.Height(), whole.Canvas()->Handle(),
             visible.Left, visible.Top, SRCCOPY);
    }
  }

  auto* control = dynamic_cast<TWinControl*>(AControl);
  if (!control) return;
  // Children in the control's client coordinates, each limited to the client area and to
  // what was asked of the control.
  const TRect client = gxGetControlClientRect(control);
  const TRect wanted =
      Intersection(Shifted(source, -client.Left, -client.Top), {0, 0, client.Width(), client.Height()});
  for (int i = 0; i < control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
    if (!child || !child->Visible()) continue;
    const TRect part = Intersection(child->BoundsRect(), wanted);
    if (part.IsEmpty()) continue;
    GrabControlTree(Bitmap, X + client.Left + child->Left(), Y + client.Top + child->Top(),
                    Shifted(part, -child->Left(), -child->Top()), child);
  }
}

TgxBitmap* GrabControlImage(TControl* AControl, const TRect& ARect) {
  auto result = std::make_unique<TgxBitmap>();
  const int32_t w = ARect.Width(), h = ARect.Height();
  if (w <= 0 || h <= 0) return result.release();
  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(w, h);
  GrabControlTree(&picture, -ARect.Left, -ARect.Top, ARect, AControl);
  result->Assign(&picture);
  result->SetAlpha(255);
  result->SetAlphaBlend(false);
  return result.release();
}
