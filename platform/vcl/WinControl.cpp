// TWinControl: the window of a control (made on demand, bound to the control through
// StdWndProc), its children, message handling, painting, keys, focus and Tab order.
// Alignment lives in Align.cpp.
#include <algorithm>
#include <unordered_map>

#include "Controls.h"
#include "gdi/Gdi.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Queue.h"

namespace {

std::unordered_map<HWND, TWinControl*>& HandleMap() {
  static std::unordered_map<HWND, TWinControl*> map;
  return map;
}

// The control whose window is being made: the first message of a new window binds it.
TWinControl* gCreationControl = nullptr;

TWinControl* AsWinControl(TControl* Control) { return dynamic_cast<TWinControl*>(Control); }

TWinControl* Outermost(TWinControl* Control) {
  while (Control->Parent()) Control = Control->Parent();
  return Control;
}

// A hidden, disabled or removed control lets go of the focus.
void RemoveFocus(TWinControl* Control, bool Removing) {
  TWinControl* root = Outermost(Control);
  if (root != Control) root->DefocusControl(Control, Removing);
}

}  // namespace

std::function<bool(TWinControl* Control, TMessage& Message)> StyleHookHandler;
std::function<void(TWinControl* Control, bool Created)> ControlHandleHook;

// ---- life ----

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  FBrush = new TBrush;
  FBrush->SetColor(FColor);
  FPadding = new TPadding(this);
  FPadding->OnChange = [this](TObject*) { DoPaddingChange(); };
}

TWinControl::~TWinControl() {
  Destroying();
  if (FParent) RemoveFocus(this, true);
  if (FHandle) DestroyWindowHandle();
  while (!FControls.empty()) {
    TControl* child = FControls.back();
    RemoveFromList(child);
    child->FParent = nullptr;
    child->Free();
  }
  if (FParent) FParent->RemoveControl(this);
  if (FHandle) {
    HandleMap().erase(FHandle);
    FHandle = nullptr;
  }
  delete FPadding;
  delete FBrush;
}

TWinControl* TWinControl::FindControl(HWND Handle) {
  if (!Handle) return nullptr;
  auto it = HandleMap().find(Handle);
  return it == HandleMap().end() ? nullptr : it->second;
}

// ---- the window ----

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams();
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (!ComponentState().Contains(csDesigning) && !Enabled()) Params.Style |= WS_DISABLED;
  if (FTabStop) Params.Style |= WS_TABSTOP;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = &DefWindowProc;
  Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Params.WindowClass.hbrBackground = nullptr;
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const String& ControlClassName) {
  if (ControlClassName.empty()) return;
  WNDCLASS standard;
  if (!GetClassInfo(nullptr, ControlClassName, &standard)) return;
  constexpr UINT kOff = CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS;
  constexpr UINT kOn = CS_VREDRAW | CS_HREDRAW;
  Params.WindowClass = standard;
  Params.WindowClass.style = (standard.style & ~kOff) | kOn;
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  if (!params.WndParent && (params.Style & WS_CHILD)) {
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (owner && owner->ComponentState().Contains(csReading))
      params.WndParent = owner->Handle();
    else
      throw EInvalidOperation("Control '" + Name() + "' has no parent window");
  }
  FDefWndProc = params.WindowClass.lpfnWndProc;
  WNDCLASS registered;
  const bool known = GetClassInfo(nullptr, params.WinClassName, &registered);
  if (!known || registered.lpfnWndProc != &StdWndProc) {
    if (known) UnregisterClass(params.WinClassName, nullptr);
    WNDCLASS wc = params.WindowClass;
    wc.lpfnWndProc = &StdWndProc;
    wc.lpszClassName = params.WinClassName;
    if (!RegisterClass(&wc)) throw EOSError("Cannot register the window class " + params.WinClassName);
  }
  TWinControl* outer = gCreationControl;
  gCreationControl = this;
  {
    Finally restore{[&] { gCreationControl = outer; }};
    CreateWindowHandle(params);
  }
  if (!FHandle) throw EOSError("Cannot create the window of " + ClassName());
  if (ControlHandleHook) ControlHandleHook(this, true);
  if ((GetWindowLongPtr(FHandle, GWL_STYLE) & WS_CHILD) && GetWindowLongPtr(FHandle, GWLP_ID) == 0)
    SetWindowLongPtr(FHandle, GWLP_ID, reinterpret_cast<intptr_t>(FHandle));
  // The window holds the text from now on.
  FText.clear();
  UpdateBounds();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 1);
  if (FAutoSize) AdjustSize();
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  HWND created = CreateWindowEx(Params.ExStyle, Params.WinClassName, Params.Caption, Params.Style, Params.X, Params.Y,
                                Params.Width, Params.Height, Params.WndParent, nullptr, nullptr, Params.Param);
  if (created && LiveWindow(created)) FHandle = created;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  if (FParent && FHandle)
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int i = 0; i < ControlCount(); ++i) FControls[size_t(i)]->UpdateAnchorRules();
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (int i = GraphicCount(); i < ControlCount(); ++i)
    static_cast<TWinControl*>(FControls[size_t(i)])->DestroyHandle();
  if (FHandle) DestroyWnd();
}

void TWinControl::DestroyWnd() {
  FText = GetText();
  FreeWindowDeviceContexts(FHandle);
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  HWND handle = FHandle;
  if (ControlHandleHook) ControlHandleHook(this, false);
  FControlState += csDestroyingHandle;
  {
    Finally done{[this] { FControlState -= csDestroyingHandle; }};
    DestroyWindow(handle);
  }
  // WM_NCDESTROY let go of the window; this covers a window destroyed without it.
  HandleMap().erase(handle);
  FHandle = nullptr;
  FShowing = false;
}

void TWinControl::RecreateWnd() {
  if (FHandle) Perform(CM_RECREATEWND, 0, 0);
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && FParentWindow && Value) {
    FParentWindow = Value;
    ::SetParent(FHandle, Value);
  } else {
    DestroyHandle();
    FParentWindow = Value;
  }
  UpdateControlState();
}

void TWinControl::SetParent(TWinControl* AParent) {
  if (FParent != AParent && !AParent && FParent) RemoveFocus(this, true);
  TControl::SetParent(AParent);
}

LRESULT TWinControl::StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(hwnd);
  if (!control && gCreationControl) {
    control = gCreationControl;
    gCreationControl = nullptr;
    control->FHandle = hwnd;
    HandleMap()[hwnd] = control;
  }
  if (!control) return DefWindowProc(hwnd, msg, wParam, lParam);
  TMessage message;
  message.Msg = msg;
  message.WParam = wParam;
  message.LParam = lParam;
  control->MainWndProc(message);
  return message.Result;
}

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    if (WindowProc)
      WindowProc(Message);
    else
      WndProc(Message);
  } catch (const std::exception& e) {
    FreeDeviceContexts();
    if (!ExceptionHandlerHook) throw;
    ExceptionHandlerHook(e);
    return;
  }
  FreeDeviceContexts();
}

void TWinControl::UpdateShowing() {
  const bool show = FVisible && !FControlState.Contains(csReadingState);
  if (show) {
    if (!FHandle) CreateHandle();
    for (int i = GraphicCount(); i < ControlCount(); ++i)
      static_cast<TWinControl*>(FControls[size_t(i)])->UpdateShowing();
  }
  if (FHandle && FShowing != show) {
    FShowing = show;
    try {
      Perform(CM_SHOWINGCHANGED, 0, 0);
    } catch (...) {
      FShowing = !show;
      throw;
    }
  }
}

void TWinControl::UpdateControlState() {
  const TWinControl* control = this;
  while (control->FParent) {
    control = control->FParent;
    if (!control->Showing()) return;
  }
  if (control->InheritsFrom("TCustomForm") || control->FParentWindow) UpdateShowing();
}

bool TWinControl::Showing() const { return FShowing && (!FParent || FParent->Showing()); }

void TWinControl::UpdateBounds() {
  WindowObject* w = LiveWindow(FHandle);
  if (!w) return;
  RECT r{};
  if (IsIconic(FHandle)) {
    r = w->RestoreBounds;
  } else {
    GetWindowRect(FHandle, &r);
    if (w->Style & WS_CHILD) {
      if (HWND parent = GetParent(FHandle)) {
        POINT tl = r.TopLeft(), br = r.BottomRight();
        ::ScreenToClient(parent, &tl);
        ::ScreenToClient(parent, &br);
        r = {tl.X, tl.Y, br.X, br.Y};
      }
    }
  }
  UpdateBoundsRect(r);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  constexpr int kMax = 1 << 28;
  ALeft = std::clamp(ALeft, -kMax, kMax);
  ATop = std::clamp(ATop, -kMax, kMax);
  AWidth = std::clamp(AWidth, 0, kMax);
  AHeight = std::clamp(AHeight, 0, kMax);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (FHandle && !IsIconic(FHandle)) {
    // WM_WINDOWPOSCHANGED and WM_SIZE take the new bounds, realign and call Resize.
    SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const bool sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (sized) {
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
    }
  }
  UpdateAnchorRules();
  UpdateExplicitBounds();
  RequestAlign();
}

TRect TWinControl::ClientRect() const {
  RECT r{};
  if (FHandle && GetClientRect(FHandle, &r)) return r;
  return {0, 0, FWidth, FHeight};
}

TPoint TWinControl::ClientOrigin() const {
  if (FHandle) {
    POINT p{};
    ::ClientToScreen(FHandle, &p);
    return p;
  }
  if (FParent) {
    const TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
  }
  POINT p{FLeft, FTop};
  if (FParentWindow) ::ClientToScreen(FParentWindow, &p);
  return p;
}

HDC TWinControl::GetDeviceContext(HWND& WindowHandle) {
  HDC dc = GetDC(Handle());
  if (!dc) throw EOSError("Cannot get a device context of the window of '" + Name() + "'");
  WindowHandle = FHandle;
  return dc;
}

// ---- children ----

TControl* TWinControl::Controls(int Index) const {
  if (Index < 0 || Index >= ControlCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  return FControls[size_t(Index)];
}

bool TWinControl::ContainsControl(TControl* Control) const {
  for (TControl* c = Control; c; c = c->FParent)
    if (c == this) return true;
  return false;
}

void TWinControl::InsertIntoList(TControl* AControl) {
  if (auto* w = AsWinControl(AControl)) {
    FControls.push_back(w);
    FTabList.push_back(w);
  } else {
    FControls.insert(FControls.begin() + FGraphicCount, AControl);
    ++FGraphicCount;
  }
  AControl->FParent = this;
}

void TWinControl::RemoveFromList(TControl* AControl) {
  // Its place tells the kind: this also works while the control is being destroyed.
  auto it = std::find(FControls.begin(), FControls.end(), AControl);
  if (it != FControls.end()) {
    if (it - FControls.begin() < FGraphicCount)
      --FGraphicCount;
    else
      std::erase(FTabList, static_cast<TWinControl*>(AControl));
    FControls.erase(it);
  }
  AControl->FParent = nullptr;
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl == this || AControl->FParent == this) return;
  InsertIntoList(AControl);
  if (!AControl->FControlState.Contains(csReadingState)) {
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (AsWinControl(AControl))
      UpdateControlState();
    else if (FHandle)
      AControl->Invalidate();
    AlignControl(AControl);
  }
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), TRUE);
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  if (auto* w = AsWinControl(AControl)) {
    RemoveFocus(w, true);
    w->DestroyHandle();
  } else if (FHandle) {
    AControl->InvalidateControl(AControl->FVisible, false);
  }
  RemoveFromList(AControl);
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(AControl), FALSE);
  Realign();
}

void TWinControl::Broadcast(TMessage& Message) {
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = FControls[size_t(i)];
    if (c->WindowProc)
      c->WindowProc(Message);
    else
      c->WndProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage message;
  message.Msg = Msg;
  Broadcast(message);
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls,
                                    bool AllLevels) const {
  auto hits = [&](TControl* c) {
    const TPoint p{Pos.X - c->FLeft, Pos.Y - c->FTop};
    return c->ClientRect().Contains(p) && c->FVisible && (c->Enabled() || AllowDisabled) &&
           c->Perform(CM_HITTEST, 0, MAKELPARAM(p.X, p.Y)) != 0;
  };
  TControl* result = nullptr;
  const int graphics = GraphicCount();
  if (AllowWinControls)
    for (int i = ControlCount() - 1; i >= graphics && !result; --i)
      if (hits(FControls[size_t(i)])) result = FControls[size_t(i)];
  for (int i = graphics - 1; i >= 0 && !result; --i)
    if (hits(FControls[size_t(i)])) result = FControls[size_t(i)];
  if (AllLevels)
    if (auto* w = AsWinControl(result))
      if (TControl* deeper =
              w->ControlAtPos({Pos.X - w->FLeft, Pos.Y - w->FTop}, AllowDisabled, AllowWinControls, true))
        result = deeper;
  return result;
}

HWND TWinControl::PrecedingWindow(TWinControl* Control) const {
  auto it = std::find(FControls.begin(), FControls.end(), Control);
  if (it != FControls.end())
    for (++it; it != FControls.end(); ++it)
      if (HWND h = static_cast<TWinControl*>(*it)->FHandle) return h;
  return HWND_TOP;
}

void TWinControl::SetZOrder(bool TopMost) {
  if (FParent) {
    SetZOrderPosition(TopMost ? FParent->ControlCount() - 1 : FParent->GraphicCount());
  } else if (FHandle) {
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
}

void TWinControl::SetZOrderPosition(int Position) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  const int index = int(it - list.begin());
  // A windowed control moves among the windowed ones only.
  Position = std::clamp(Position, FParent->GraphicCount(), int(list.size()) - 1);
  if (Position != index) {
    list.erase(it);
    list.insert(list.begin() + Position, this);
  }
  if (FHandle)
    SetWindowPos(FHandle, FParent->PrecedingWindow(this), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- painting ----

void TWinControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::SetDoubleBuffered(bool Value) {
  if (FDoubleBuffered == Value) return;
  FDoubleBuffered = Value;
  Invalidate();
}

void TWinControl::SetParentBackground(bool Value) {
  if (ParentBackground() == Value) return;
  if (Value)
    FControlStyle += csParentBackground;
  else
    FControlStyle -= csParentBackground;
  Invalidate();
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage message;
  message.Msg = WM_PAINT;
  message.WParam = reinterpret_cast<WPARAM>(DC);
  DefaultHandler(message);
}

void TWinControl::PaintHandler(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  HWND window = FHandle;
  PAINTSTRUCT ps;
  const bool own = dc == nullptr;
  if (own) {
    dc = BeginPaint(window, &ps);
    if (!dc) return;
  }
  Finally end{[&] {
    if (own) EndPaint(window, &ps);
  }};
  const int graphics = GraphicCount();
  if (graphics == 0) {
    PaintWindow(dc);
  } else {
    // Opaque graphic children paint their own place: the window leaves it out.
    const int saved = SaveDC(dc);
    int clip = SIMPLEREGION;
    for (int i = 0; i < graphics; ++i) {
      TControl* c = FControls[size_t(i)];
      if (c->FVisible && c->FControlStyle.Contains(csOpaque)) {
        clip = ExcludeClipRect(dc, c->FLeft, c->FTop, c->FLeft + c->FWidth, c->FTop + c->FHeight);
        if (clip == NULLREGION) break;
      }
    }
    if (clip != NULLREGION) PaintWindow(dc);
    RestoreDC(dc, saved);
  }
  PaintControls(dc, nullptr);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  int i = 0;
  if (First) {
    auto it = std::find(FControls.begin(), FControls.end(), First);
    if (it != FControls.end()) i = int(it - FControls.begin());
  }
  const bool copy = FControlState.Contains(csPaintCopy);
  for (; i < GraphicCount(); ++i) {
    TControl* c = FControls[size_t(i)];
    const TRect r = c->BoundsRect();
    if (!c->FVisible || !RectVisible(DC, &r)) continue;
    if (copy) c->FControlState += csPaintCopy;
    const int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, c->FLeft, c->FTop, nullptr);
    IntersectClipRect(DC, 0, 0, c->FWidth, c->FHeight);
    {
      Finally restore{[&] {
        RestoreDC(DC, saved);
        c->FControlState -= csPaintCopy;
      }};
      c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
    }
  }
  if (copy && FPaintingTo && !FCopiedWinControls) {
    // A copy has no child windows of its own: they are painted into it.
    FCopiedWinControls = true;
    for (int j = GraphicCount(); j < ControlCount(); ++j) {
      auto* w = static_cast<TWinControl*>(FControls[size_t(j)]);
      if (w->FVisible) w->PaintTo(DC, w->FLeft, w->FTop);
    }
  }
}

void TWinControl::PaintTo(HDC DC, int X, int Y) {
  if (!LiveDC(DC)) return;
  const bool wasCopy = FControlState.Contains(csPaintCopy), wasPaintingTo = FPaintingTo;
  FControlState += csPaintCopy;
  FPaintingTo = true;
  const int saved = SaveDC(DC);
  Finally restore{[&] {
    RestoreDC(DC, saved);
    if (!wasCopy) FControlState -= csPaintCopy;
    FPaintingTo = wasPaintingTo;
    FCopiedWinControls = false;
  }};
  OffsetViewportOrgEx(DC, X, Y, nullptr);
  IntersectClipRect(DC, 0, 0, FWidth, FHeight);
  if (FHandle) {
    // The frame first (the window's own non-client painting), then the client inside it.
    RECT window{}, client{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &client);
    POINT origin{};
    ::ClientToScreen(FHandle, &origin);
    const int dx = origin.X - window.Left, dy = origin.Y - window.Top;
    if (dx || dy || client.Right != window.Width() || client.Bottom != window.Height()) {
      DefWindowProc(FHandle, WM_PRINT, reinterpret_cast<WPARAM>(DC), PRF_NONCLIENT);
      OffsetViewportOrgEx(DC, dx, dy, nullptr);
      IntersectClipRect(DC, 0, 0, client.Right, client.Bottom);
    }
  }
  FCopiedWinControls = false;
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  if (!FCopiedWinControls)
    for (int j = GraphicCount(); j < ControlCount(); ++j) {
      auto* w = static_cast<TWinControl*>(FControls[size_t(j)]);
      if (w->FVisible) w->PaintTo(DC, w->FLeft, w->FTop);
    }
}

void TWinControl::PaintDoubleBuffered(TMessage& Message) {
  HWND window = FHandle;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  Finally end{[&] { EndPaint(window, &ps); }};
  const TRect client = ClientRect();
  if (client.IsEmpty()) return;
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.Right, client.Bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  Finally release{[&] {
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }};
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
  TMessage paint = Message;
  paint.WParam = reinterpret_cast<WPARAM>(memory);
  Dispatch(paint);
  const RECT r = ps.rcPaint.IsEmpty() ? RECT(client) : ps.rcPaint;
  BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), memory, r.Left, r.Top, SRCCOPY);
}

void TWinControl::EraseBackground(TMessage& Message) {
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  // A double-buffered control erases only its buffer (WParam = LParam).
  const bool buffer = Message.WParam == WPARAM(Message.LParam);
  if (dc && !FControlStyle.Contains(csOpaque) && (!FDoubleBuffered || buffer)) {
    const TRect r = ClientRect();
    FillRect(dc, &r, FBrush->Handle());
  }
  Message.Result = 1;
}

// ---- focus and Tab order ----

bool TWinControl::CanFocus() const {
  const TWinControl* c = this;
  while (c->FParent) {
    if (!(c->FVisible && c->Enabled())) return false;
    c = c->FParent;
  }
  if (c->InheritsFrom("TCustomForm")) return true;
  // A tree embedded in a foreign window focuses when its outermost control shows.
  return c->FParentWindow && c->FVisible && c->Enabled();
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() { Outermost(this)->FocusControl(this); }

void TWinControl::FocusControl(TWinControl* Control) {
  if (!Control || !Control->CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Control->Handle());
}

TTabOrder TWinControl::TabOrder() const {
  if (!FParent) return -1;
  auto& list = FParent->FTabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : TTabOrder(it - list.begin());
}

void TWinControl::SetTabOrder(TTabOrder Value) {
  const int current = TabOrder();
  if (current < 0) return;
  auto& list = FParent->FTabList;
  Value = std::clamp(Value, 0, int(list.size()) - 1);
  if (Value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + Value, this);
}

void TWinControl::SetTabStop(bool Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  if (FHandle) {
    const intptr_t style = GetWindowLongPtr(FHandle, GWL_STYLE);
    SetWindowLongPtr(FHandle, GWL_STYLE, Value ? (style | WS_TABSTOP) : (style & ~intptr_t(WS_TABSTOP)));
  }
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
  for (TWinControl* c : FTabList) {
    List.push_back(c);
    c->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                          bool CheckParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = int(list.size());
  auto it = std::find(list.begin(), list.end(), CurControl);
  const int start = it != list.end() ? int(it - list.begin()) : (GoForward ? count - 1 : 0);
  int i = start;
  do {
    i = GoForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[size_t(i)];
    if (c->CanFocus() && (!CheckTabStop || c->FTabStop) && (!CheckParent || c->FParent == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
  if (TWinControl* next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) next->SetFocus();
}

// ---- keys ----

bool TWinControl::DoKeyDown(TMessage& Message) {
  TWinControl* root = Outermost(this);
  if (root != this && root->PreviewsChildKeys() && root->DoKeyDown(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyDown(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
  TWinControl* root = Outermost(this);
  if (root != this && root->PreviewsChildKeys() && root->DoKeyUp(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    WORD key = WORD(Message.WParam);
    KeyUp(key, KeyDataToShiftState(Message.LParam));
    Message.WParam = key;
    if (key == 0) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
  TWinControl* root = Outermost(this);
  if (root != this && root->PreviewsChildKeys() && root->DoKeyPress(Message)) return true;
  if (!FControlStyle.Contains(csNoStdEvents)) {
    char32_t ch = char32_t(Message.WParam);
    KeyPress(ch);
    Message.WParam = WPARAM(ch);
    if (ch == 0) return true;
  }
  return false;
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

bool TWinControl::IsMenuKey(TMessage& Message) { return MenuKeyHook && MenuKeyHook(this, Message); }

void TWinControl::DialogKeys(TMessage& Message) {
  const WORD key = WORD(Message.WParam);
  TWinControl* root = Outermost(this);
  const bool designing = ComponentState().Contains(csDesigning);
  switch (Message.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
      Message.Result = 1;
      if (designing) return;
      if (IsMenuKey(Message)) return;
      if (Perform(CM_CHILDKEY, key, reinterpret_cast<LPARAM>(this)) != 0) return;
      if (Message.Msg == CN_SYSKEYDOWN) {
        if (root->Perform(CM_DIALOGKEY, key, Message.LParam) != 0) return;
      } else {
        LRESULT mask = 0;
        switch (key) {
          case VK_TAB: mask = DLGC_WANTTAB; break;
          case VK_LEFT:
          case VK_RIGHT:
          case VK_UP:
          case VK_DOWN: mask = DLGC_WANTARROWS; break;
          case VK_RETURN:
          case VK_ESCAPE:
          case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
          default: break;
        }
        if (mask) {
          const bool wanted =
              Perform(CM_WANTSPECIALKEY, key, Message.LParam) != 0 || (Perform(WM_GETDLGCODE, 0, 0) & mask) != 0;
          if (!wanted && root->Perform(CM_DIALOGKEY, key, Message.LParam) != 0) return;
        }
      }
      Message.Result = 0;
      return;
    }
    case CN_KEYUP:
      Message.Result = 0;
      if (designing) return;
      switch (key) {
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_CANCEL: Message.Result = Perform(CM_WANTSPECIALKEY, key, Message.LParam); break;
        default: break;
      }
      return;
    case CN_CHAR:
      Message.Result = 1;
      if (!designing && (Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) == 0 &&
          root->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
        return;
      Message.Result = 0;
      return;
    case CN_SYSCHAR:
      Message.Result = 0;
      if (!designing && key != VK_SPACE) Message.Result = root->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
      return;
    default: return;
  }
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---- messages ----

bool TWinControl::DoControlMsg(HWND ControlHandle, TMessage& Message) {
  TWinControl* control = FindControl(ControlHandle);
  if (!control) return false;
  Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

HWND TWinControl::ChildWindowWithId(WPARAM Id) const {
  for (int i = GraphicCount(); i < ControlCount(); ++i) {
    HWND h = static_cast<TWinControl*>(FControls[size_t(i)])->FHandle;
    if (h && GetWindowLongPtr(h, GWLP_ID) == intptr_t(Id)) return h;
  }
  return nullptr;
}

void TWinControl::ReflectToChild(TMessage& Message, HWND Child) {
  if (!Child || !DoControlMsg(Child, Message)) DefaultHandler(Message);
}

void TWinControl::SetCursorMessage(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && int16_t(LOWORD(uint64_t(Message.LParam))) == HTCLIENT) {
    TCursor cursor = crDefault;
    POINT p{};
    GetCursorPos(&p);
    if (TControl* child = ControlAtPos(ScreenToClient(p), false)) cursor = child->FCursor;
    if (cursor == crDefault) cursor = FCursor;
    if (cursor == crNone) {
      ::SetCursor(nullptr);
      Message.Result = 1;
      return;
    }
    if (const intptr_t id = CursorToIdc(cursor)) {
      ::SetCursor(LoadCursor(nullptr, id));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

void TWinControl::MouseWheelHandler(TMessage& Message) {
  TControl* target = this;
  if (FHandle) {
    const TPoint p = ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    if (TControl* child = ControlAtPos(p, false)) target = child;
  }
  Message.Result = target->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    TControl* capture = GetCaptureControl();
    if (capture && capture != this && capture->FParent == this) control = capture;
  } else {
    control = ControlAtPos({Message.XPos(), Message.YPos()}, false);
  }
  if (!control) return false;
  const TPoint p{Message.XPos() - control->FLeft, Message.YPos() - control->FTop};
  Message.Result = control->Perform(Message.Msg, Message.WParam, MAKELPARAM(p.X, p.Y));
  return true;
}

void TWinControl::WndProc(TMessage& Message) {
  if (StyleHookHandler && StyleHookHandler(this, Message)) return;
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (FocusChangedHook) FocusChangedHook(this);
      break;
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      break;
    case WM_NCHITTEST:
      TControl::WndProc(Message);
      if (Message.Result == HTTRANSPARENT && FHandle &&
          ControlAtPos(ScreenToClient({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)}), false))
        Message.Result = HTCLIENT;
      return;
    case WM_CANCELMODE: {
      TControl* capture = FHandle && GetCapture() == FHandle ? GetCaptureControl() : nullptr;
      if (capture && capture != this && capture->FParent == this) capture->Perform(WM_CANCELMODE, 0, 0);
      break;
    }
    default:
      // The wheel goes by screen position (MouseWheelHandler), not as a client message.
      if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
          Message.Msg != WM_MOUSEHWHEEL && IsControlMouseMsg(Message)) {
        // A handler may have taken the window away (Parent set to null, say).
        if (Message.Result == 0 && FHandle) DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
        return;
      }
      break;
  }
  TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    // Dialog keys and accelerators go to the outermost control; every container passes
    // them down until a control takes one (labels with an accelerator, default buttons).
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      Broadcast(Message);
      return;
    case WM_PAINT:
      if (!FDoubleBuffered || Message.WParam != 0) {
        if (!FControlState.Contains(csCustomPaint) && ControlCount() == 0)
          DefaultHandler(Message);
        else
          PaintHandler(Message);
      } else {
        PaintDoubleBuffered(Message);
      }
      return;
    case WM_PRINTCLIENT:
      if (Message.Result != 1 && (!(Message.LParam & PRF_CHECKVISIBLE) || FVisible)) {
        HDC dc = reinterpret_cast<HDC>(Message.WParam);
        const int saved = SaveDC(dc);
        Finally restore{[&] { RestoreDC(dc, saved); }};
        TMessage paint = Message;
        paint.Msg = WM_PAINT;
        PaintHandler(paint);
      } else {
        DefaultHandler(Message);
      }
      return;
    case WM_ERASEBKGND: EraseBackground(Message); return;
    case WM_SIZE:
      UpdateBounds();
      DefaultHandler(Message);
      Realign();
      if (!ComponentState().Contains(csLoading)) Resize();
      return;
    case WM_MOVE:
      DefaultHandler(Message);
      UpdateBounds();
      return;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
      const bool busy = ComponentState().Contains(csReading) || ComponentState().Contains(csDestroying);
      if (pos && !busy && !(pos->flags & SWP_NOSIZE) && !CheckNewSize(pos->cx, pos->cy)) pos->flags |= SWP_NOSIZE;
      DefaultHandler(Message);
      return;
    }
    case WM_WINDOWPOSCHANGED:
      if (!FControlState.Contains(csDestroyingHandle)) UpdateBounds();
      DefaultHandler(Message);
      return;
    case WM_DESTROY:
      // The text outlives the window: it is the caption of the next one.
      FText = GetText();
      DefaultHandler(Message);
      return;
    case WM_NCDESTROY: {
      if (ControlHandleHook) ControlHandleHook(this, false);
      DefaultHandler(Message);
      HWND handle = FHandle;
      FreeWindowDeviceContexts(handle);
      HandleMap().erase(handle);
      FHandle = nullptr;
      FShowing = false;
      return;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!DoKeyDown(Message)) DefaultHandler(Message);
      return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (!DoKeyUp(Message)) DefaultHandler(Message);
      return;
    case WM_CHAR:
      if (!DoKeyPress(Message)) DefaultHandler(Message);
      return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
    case CN_SYSCHAR: DialogKeys(Message); return;
    case CM_CHILDKEY:
      // Containers up to the form hear of a child's key first.
      if (FParent) Message.Result = FParent->Perform(CM_CHILDKEY, Message.WParam, Message.LParam);
      return;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL: ReflectToChild(Message, reinterpret_cast<HWND>(Message.LParam)); return;
    case WM_NOTIFY:
      // The notification header starts with the window it comes from.
      ReflectToChild(Message, Message.LParam ? *reinterpret_cast<const HWND*>(Message.LParam) : nullptr);
      return;
    case WM_DRAWITEM:
    case WM_MEASUREITEM: ReflectToChild(Message, Message.WParam ? ChildWindowWithId(Message.WParam) : nullptr); return;
    case WM_SETCURSOR: SetCursorMessage(Message); return;
    case CM_ENTER: DoEnter(); return;
    case CM_EXIT: DoExit(); return;
    case CM_SHOWINGCHANGED:
      if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
      return;
    case CM_VISIBLECHANGED:
      if (!FVisible && FParent) RemoveFocus(this, false);
      UpdateControlState();
      return;
    case CM_ENABLEDCHANGED:
      if (!Enabled() && FParent) RemoveFocus(this, false);
      if (FHandle) EnableWindow(FHandle, Enabled());
      Invalidate();
      return;
    case CM_FONTCHANGED:
      Invalidate();
      if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
      NotifyControls(CM_PARENTFONTCHANGED);
      return;
    case CM_COLORCHANGED:
      Invalidate();
      FBrush->SetColor(FColor);
      NotifyControls(CM_PARENTCOLORCHANGED);
      return;
    case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
    case CM_BIDIMODECHANGED:
      Invalidate();
      NotifyControls(CM_PARENTBIDIMODECHANGED);
      return;
    // Every control of a form hears where the focus went.
    case CM_FOCUSCHANGED: Broadcast(Message); return;
    case CM_INVALIDATE:
      if (FHandle) {
        if (FParent) FParent->Perform(CM_INVALIDATE, 1, 0);
        if (Message.WParam == 0) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
      }
      return;
    case CM_RECREATEWND: {
      const bool wasFocused = Focused();
      FControlState += csRecreating;
      {
        Finally done{[this] { FControlState -= csRecreating; }};
        DestroyHandle();
        UpdateControlState();
      }
      if (wasFocused && FHandle) ::SetFocus(FHandle);
      return;
    }
    default: TControl::Dispatch(Message); return;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_CONTEXTMENU:
      if (FParent) {
        Message.Result = FParent->Perform(Message.Msg, Message.WParam, Message.LParam);
        if (Message.Result) return;
      }
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      Message.Result = SendMessage(reinterpret_cast<HWND>(Message.LParam), CN_BASE + Message.Msg, Message.WParam,
                                   Message.LParam);
      return;
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, COLORREF(ColorToRGB(FFont->Color())));
      SetBkColor(dc, COLORREF(ColorToRGB(FBrush->Color())));
      Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
      return;
    }
    default: break;
  }
  Message.Result = CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}
