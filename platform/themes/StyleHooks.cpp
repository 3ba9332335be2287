// TStyleHook: the message path through a hook (mouse tracking, WndProc, the control's own
// handling behind it), the paint messages it takes over; TMouseTrackControlStyleHook and
// TSysStyleHook.
#include "StyleHooks.h"

#include "gdi/Gdi.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Queue.h"

// ---- life ----

TStyleHook::TStyleHook(TWinControl* AControl) : FControl(AControl) {
  if (!AControl) throw EArgumentException("A style hook needs a control");
  FHandle = AControl->WindowHandle();
  FBrush = new TBrush;
  FBrush->SetColor(clBtnFace);
}

TStyleHook::TStyleHook(HWND AHandle) : FHandle(AHandle) {
  FBrush = new TBrush;
  FBrush->SetColor(clBtnFace);
}

TStyleHook::~TStyleHook() { delete FBrush; }

// ---- the message path ----

bool TStyleHook::HandleMessage(TMessage& Message) {
  // The message CallDefaultProc passes on comes back here on its way to the control.
  if (&Message == FDefaultMessage) return false;
  const bool outerHandled = FHandled;
  FHandled = false;
  ++FDepth;
  bool handled = false;
  {
    Finally leave{[&] {
      FHandled = outerHandled;
      if (--FDepth == 0 && FFreePending) delete this;
    }};
    TrackMouse(Message);
    WndProc(Message);
    handled = FHandled;
  }
  return handled;
}

void TStyleHook::CallDefaultProc(TMessage& Msg) {
  const TMessage* outer = FDefaultMessage;
  FDefaultMessage = &Msg;
  {
    Finally restore{[&] { FDefaultMessage = outer; }};
    // Not the virtual call: a subclass's WndProc already ran before TWinControl::WndProc
    // handed the message to the hook.
    FControl->TWinControl::WndProc(Msg);
  }
  FHandled = true;
}

void TStyleHook::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (FOverridePaint) {
        WMPaint(Message);
        return;
      }
      break;
    case WM_NCPAINT:
      if (FOverridePaintNC) {
        WMNCPaint(Message);
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (FOverrideEraseBkgnd) {
        WMEraseBkgnd(Message);
        return;
      }
      break;
    default: break;
  }
  CallDefaultProc(Message);
}

// ---- painting ----

void TStyleHook::PrepareCanvas(TCanvas& Canvas, HDC DC) const {
  Canvas.SetHandle(DC);
  Canvas.Brush()->Assign(FBrush);
  if (FControl) Canvas.Font()->Assign(FControl->Font());
  Canvas.Font()->SetColor(FFontColor);
}

void TStyleHook::WMPaint(TMessage& Message) {
  // A paint message may bring its own DC (PaintTo, WM_PRINTCLIENT).
  HDC given = reinterpret_cast<HDC>(Message.WParam);
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(FHandle, &ps);
  if (dc) {
    Finally end{[&] {
      if (!given) EndPaint(FHandle, &ps);
    }};
    TCanvas canvas;
    Finally detach{[&] { canvas.SetHandle(nullptr); }};
    PrepareCanvas(canvas, dc);
    PaintBackground(&canvas);
    Paint(&canvas);
    if (FControl && FControl->WindowHandle() == FHandle) {
      canvas.SetHandle(nullptr);
      FControl->PaintControls(dc, nullptr);
    }
  }
  Message.Result = 0;
  FHandled = true;
}

void TStyleHook::WMNCPaint(TMessage& Message) {
  if (IsWindowVisible(FHandle)) {
    if (HDC dc = GetWindowDC(FHandle)) {
      Finally release{[&] { ReleaseDC(FHandle, dc); }};
      // The frame only: the client area, in window coordinates, is the window's own.
      RECT window{}, client{};
      GetWindowRect(FHandle, &window);
      GetClientRect(FHandle, &client);
      POINT origin{0, 0};
      ClientToScreen(FHandle, &origin);
      OffsetRect(&client, origin.X - window.Left, origin.Y - window.Top);
      ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
      TCanvas canvas;
      Finally detach{[&] { canvas.SetHandle(nullptr); }};
      PrepareCanvas(canvas, dc);
      PaintNC(&canvas);
    }
  }
  Message.Result = 0;
  FHandled = true;
}

void TStyleHook::WMEraseBkgnd(TMessage& Message) {
  if (HDC dc = reinterpret_cast<HDC>(Message.WParam)) {
    TCanvas canvas;
    Finally detach{[&] { canvas.SetHandle(nullptr); }};
    PrepareCanvas(canvas, dc);
    PaintBackground(&canvas);
  }
  Message.Result = 1;
  FHandled = true;
}

void TStyleHook::Invalidate() {
  if (FControl && FControl->WindowHandle() == FHandle)
    FControl->Invalidate();
  else
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TStyleHook::InvalidateNC() {
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
}

// ---- the mouse ----

void TStyleHook::TrackLeave(bool NonClient) {
  TRACKMOUSEEVENT tme;
  tme.dwFlags = TME_LEAVE | (NonClient ? TME_NONCLIENT : 0);
  tme.hwndTrack = FHandle;
  TrackMouseEvent(&tme);
}

bool TStyleHook::CursorOverWindow() const {
  POINT p{};
  GetCursorPos(&p);
  if (WindowFromPoint(p) == FHandle) return true;
  // While the window has the capture the mouse belongs to it within its rectangle.
  RECT r{};
  return GetCapture() == FHandle && GetWindowRect(FHandle, &r) && r.Contains(p);
}

void TStyleHook::TrackMouse(const TMessage& Message) {
  bool left = false;
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      const bool nonClient = Message.Msg == WM_NCMOUSEMOVE;
      // Every move asks again: the one leave request of the thread may have gone to
      // another window meanwhile.
      TrackLeave(nonClient);
      FMouseInNCArea = nonClient;
      if (!FMouseInControl) {
        FMouseInControl = true;
        MouseEnter();
      }
      return;
    }
    case WM_NCMOUSELEAVE:
      FMouseInNCArea = false;
      left = true;
      break;
    case WM_MOUSELEAVE: left = true; break;
    case CM_MOUSELEAVE:
      // Parents hear their children's leaving too; only the control's own counts.
      left = FControl && (Message.LParam == 0 || Message.LParam == reinterpret_cast<LPARAM>(FControl));
      break;
    default: return;
  }
  // Between the client area and the frame the mouse stays over the window.
  if (left && FMouseInControl && !CursorOverWindow()) {
    FMouseInControl = false;
    FMouseInNCArea = false;
    MouseLeave();
  }
}

// ---- TMouseTrackControlStyleHook ----

void TMouseTrackControlStyleHook::MouseEnter() {
  Invalidate();
  if (OverridePaintNC()) InvalidateNC();
}

void TMouseTrackControlStyleHook::MouseLeave() {
  Invalidate();
  if (OverridePaintNC()) InvalidateNC();
}

// ---- TSysStyleHook ----

void TSysStyleHook::CallDefaultProc(TMessage& Msg) {
  Msg.Result = FOrgWndProc ? CallWindowProc(FOrgWndProc, Handle(), Msg.Msg, Msg.WParam, Msg.LParam)
                           : DefWindowProc(Handle(), Msg.Msg, Msg.WParam, Msg.LParam);
  SetHandled(true);
}
