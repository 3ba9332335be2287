// The canvases of controls (TControlCanvas and the cache of the DCs they keep) and the
// two painting bases, TGraphicControl and TCustomControl.
#include <algorithm>

#include "Controls.h"
#include "win/Paint.h"

namespace {

// Canvases holding a DC of a window, oldest first. A DC of a window goes stale when the
// window moves, so few are kept and every handled message frees them.
std::vector<TControlCanvas*>& CanvasList() {
  static std::vector<TControlCanvas*> list;
  return list;
}
constexpr size_t kCanvasCacheSize = 4;

// Puts a DC on the canvas for the length of a paint, with the canvas locked so that
// nothing frees it meanwhile.
class PaintOnCanvas {
 public:
  PaintOnCanvas(TCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FCanvas->SetHandle(DC);
  }
  ~PaintOnCanvas() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  PaintOnCanvas(const PaintOnCanvas&) = delete;
  PaintOnCanvas& operator=(const PaintOnCanvas&) = delete;

 private:
  TCanvas* FCanvas;
};

}  // namespace

// ---- TControlCanvas ----

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* AControl) {
  if (FControl == AControl) return;
  FreeHandle();
  FControl = AControl;
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  std::erase(CanvasList(), this);
  if (CurrentHandle() == FDeviceContext) SetHandle(nullptr);
  ReleaseDC(FWindowHandle, FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
}

void TControlCanvas::CreateHandle() {
  if (!FControl) {
    TCanvas::CreateHandle();
    return;
  }
  if (!FDeviceContext) {
    auto& list = CanvasList();
    if (list.size() >= kCanvasCacheSize) {
      auto oldest = std::find_if(list.begin(), list.end(), [](TControlCanvas* c) { return c->LockCount() == 0; });
      if (oldest != list.end()) (*oldest)->FreeHandle();
    }
    HWND window = nullptr;
    HDC dc = FControl->GetDeviceContext(window);
    FDeviceContext = dc;
    FWindowHandle = window;
    CanvasList().push_back(this);
  }
  SetHandle(FDeviceContext);
}

void FreeDeviceContexts() {
  for (TControlCanvas* c : std::vector<TControlCanvas*>(CanvasList()))
    if (c->LockCount() == 0) c->FreeHandle();
}

void FreeWindowDeviceContexts(HWND Window) {
  if (!Window) return;
  for (TControlCanvas* c : std::vector<TControlCanvas*>(CanvasList()))
    if (c->FWindowHandle == Window) c->FreeHandle();
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {
  auto* canvas = new TControlCanvas;
  canvas->SetControl(this);
  FCanvas = canvas;
}

TGraphicControl::~TGraphicControl() {
  if (GetCaptureControl() == this) SetCaptureControl(nullptr);
  delete FCanvas;
}

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    // Only the parent's paint reaches a graphic control: with its DC set up for it.
    if (HDC dc = reinterpret_cast<HDC>(Message.WParam)) {
      PaintOnCanvas paint(FCanvas, dc);
      Paint();
    }
    return;
  }
  TControl::Dispatch(Message);
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {
  auto* canvas = new TControlCanvas;
  canvas->SetControl(this);
  FCanvas = canvas;
}

TCustomControl::~TCustomControl() { delete FCanvas; }

void TCustomControl::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_PAINT) {
    TWinControl::Dispatch(Message);
    return;
  }
  // Custom painting goes through PaintHandler even without children.
  const bool was = FControlState.Contains(csCustomPaint);
  FControlState += csCustomPaint;
  try {
    TWinControl::Dispatch(Message);
  } catch (...) {
    if (!was) FControlState -= csCustomPaint;
    throw;
  }
  if (!was) FControlState -= csCustomPaint;
}

void TCustomControl::PaintWindow(HDC DC) {
  PaintOnCanvas paint(FCanvas, DC);
  Paint();
}
