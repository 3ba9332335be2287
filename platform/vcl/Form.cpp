#include <algorithm>

#include "Forms.h"
#include "ActnList.h"
#include "Icon.h"
#include "Menus.h"
#include "win/Input.h"
#include "win/Queue.h"

namespace {

// Whether two pointers name one object (safe for objects half destroyed).
bool Same(const void* a, const void* b) { return a == b; }

// Control lies within Outer (or is it).
bool Within(const TWinControl* Outer, const TControl* Control) {
  for (const TControl* c = Control; c; c = c->Parent())
    if (Same(c, Outer)) return true;
  return false;
}

// Reports an exception of an event handler, as the framework does for the events that
// run inside its own code.
void ReportException(TObject* sender) {
  if (Application) Application->HandleException(sender);
}

// Clears a form state flag when the scope ends, however it ends.
class StateScope {
 public:
  StateScope(TFormState& state, TFormStateFlag flag) : FState(state), FFlag(flag) { FState.Include(flag); }
  ~StateScope() { FState.Exclude(FFlag); }
  StateScope(const StateScope&) = delete;
  StateScope& operator=(const StateScope&) = delete;

 private:
  TFormState& FState;
  TFormStateFlag FFlag;
};

}  // namespace

TCustomForm* GetParentForm(TControl* Control, bool TopForm) {
  TCustomForm* form = nullptr;
  for (TControl* c = Control; c; c = c->Parent()) {
    if (c->InheritsFrom(TCustomForm::StaticClass())) {
      form = static_cast<TCustomForm*>(c);
      if (!TopForm) return form;
    }
  }
  return form;
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
  ConnectFormHooks();
  FPixelsPerInch = Screen->PixelsPerInch();
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  FVisible = false;
  SetParentColor(false);
  SetParentFont(false);
  SetColor(clBtnFace);
  SetBounds(0, 0, 320, 240);
  FIcon = new TIcon;
  FIcon->OnChange = [this](TObject*) { Perform(CM_ICONCHANGED, 0, 0); };
  Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  // Leaves the screen first, so that nothing asks this form for a window while the one
  // it has goes away.
  Screen->RemoveForm(this);
  if (HandleAllocated()) DestroyHandle();
  delete FIcon;
}

void TCustomForm::SetIcon(TIcon* Value) { FIcon->Assign(Value); }

namespace {

void TraverseClients(TWinControl* Container) {
  if (!Container->Showing() || Container->ComponentState().Contains(csDesigning)) return;
  // An action's update may add or remove controls: walk by index and re-check the count.
  for (int i = 0; i < Container->ControlCount(); ++i) {
    TControl* control = Container->Controls(i);
    if (control->Visible() && !control->ComponentState().Contains(csDesigning)) control->InitiateAction();
    if (i >= Container->ControlCount() || Container->Controls(i) != control) continue;
    if (auto* win = dynamic_cast<TWinControl*>(control); win && win->ControlCount() > 0) TraverseClients(win);
  }
}

}  // namespace

void TCustomForm::UpdateActions() {
  if (ComponentState().Contains(csDesigning) || !Showing()) return;
  InitiateAction();
  TraverseClients(this);
}

void TCustomForm::SetAlphaBlend(bool Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  UpdateLayeredAttributes();
}

void TCustomForm::SetAlphaBlendValue(uint8_t Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  UpdateLayeredAttributes();
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateLayeredAttributes();
  if (FMenu && !FParent) FMenu->SetWindowHandle(FHandle);
}

bool IsMenuKeyOfForm(TWinControl* Control, TMessage& Message) {
  for (TControl* c = Control; c; c = c->Parent())
    if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(Message)) return true;
  TCustomForm* form = GetParentForm(Control);
  return form && form->IsShortCut(Message);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) {
    FMenu->SetWindowHandle(nullptr);
    FMenu->RemoveFreeNotification(this);
  }
  FMenu = Value;
  if (FMenu) {
    FMenu->FreeNotification(this);
    if (HandleAllocated() && !FParent) FMenu->SetWindowHandle(FHandle);
  }
}

bool TCustomForm::IsShortCut(TMessage& Message) {
  if (FMenu && FMenu->IsShortCut(Message)) return true;
  const TShortCut sc = ::ShortCut(WORD(Message.WParam), KeyboardStateToShiftState());
  if (sc == scNone) return false;
  for (int i = 0; i < ComponentCount(); ++i) {
    auto* list = dynamic_cast<TCustomActionList*>(Components(i));
    if (!list) continue;
    for (int j = 0; j < list->ActionCount(); ++j) {
      auto* action = dynamic_cast<TCustomAction*>(list->Actions(j));
      if (!action || action->ShortCut() != sc) continue;
      action->Update();
      if (!action->Enabled() || !action->Visible()) continue;
      action->Execute();
      return true;
    }
  }
  return false;
}

// A top-level window only: a form placed inside another control cannot be translucent.
void TCustomForm::UpdateLayeredAttributes() {
  if (!HandleAllocated() || FParent) return;
  const intptr_t ex = GetWindowLongPtr(FHandle, GWL_EXSTYLE);
  if (FAlphaBlend) {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtr(FHandle, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(FHandle, 0, FAlphaBlendValue, LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtr(FHandle, GWL_EXSTYLE, ex & ~intptr_t(WS_EX_LAYERED));
  }
}

void TCustomForm::AfterConstruction() {
  if (FContentMade) return;
  FContentMade = true;
  TWinControl::AfterConstruction();
  FFormState.Include(fsCreating);
  BeginLoading();
  try {
    InitializeComponent();
    // The client size the description gave holds whatever order the border came in.
    if (FClientWidth > 0 || FClientHeight > 0) SetClientSize(FClientWidth, FClientHeight);
    if (FScaled && FPixelsPerInch != Screen->PixelsPerInch()) ChangeScale(Screen->PixelsPerInch(), FPixelsPerInch);
  } catch (...) {
    FFormState.Exclude(fsCreating);
    TComponent::Loaded();
    throw;
  }
  // Every component the description made ends its loading, then the form.
  for (int i = 0; i < ComponentCount(); ++i)
    if (Components(i)->ComponentState().Contains(csLoading)) Components(i)->Loaded();
  Loaded();
  FFormState.Exclude(fsCreating);
  // As a stored form does, a form made visible shows before OnCreate runs.
  if (FFormState.Contains(fsVisible)) {
    FFormState.Exclude(fsVisible);
    SetVisible(true);
  }
  DoCreate();
  if (FFormState.Contains(fsActivated)) {
    FFormState.Exclude(fsActivated);
    Activate();
  }
}

void TCustomForm::SetVisible(bool Value) {
  if (FFormState.Contains(fsCreating)) {
    if (Value)
      FFormState.Include(fsVisible);
    else
      FFormState.Exclude(fsVisible);
    return;
  }
  if (Value != FVisible && FFormState.Contains(fsShowing))
    throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  TWinControl::SetVisible(Value);
}

void TCustomForm::BeforeDestruction() {
  if (!FDestroyed) {
    FDestroyed = true;
    try {
      if (FFormStyle != fsMDIChild) Hide();
      DoDestroy();
    } catch (...) {
      ReportException(this);
    }
  }
  TWinControl::BeforeDestruction();
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opInsert && AComponent && FFormState.Contains(fsCreating) && ComponentState().Contains(csLoading) &&
      AComponent->Owner() == this)
    AComponent->BeginLoading();  // read as part of the form, loaded with it
  if (Operation != opRemove) return;
  if (Same(AComponent, FMenu)) FMenu = nullptr;
  if (Same(AComponent, FActiveControl)) FActiveControl = nullptr;
  if (Same(AComponent, FFocusedControl)) FFocusedControl = nullptr;
  Screen->ControlRemoved(AComponent);
}

// ---- the window ----

void TCustomForm::FrameStyles(DWORD& Style, DWORD& ExStyle) const {
  Style = 0;
  ExStyle = 0;
  TBorderIcons icons = FBorderIcons;
  const bool topLevel = !FParent && !FParentWindow;
  switch (FBorderStyle) {
    case bsNone:
      if (topLevel) Style |= WS_POPUP;
      icons.Clear();
      break;
    case bsSingle:
    case bsToolWindow: Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
      Style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
      ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      icons *= TBorderIcons{biSystemMenu, biHelp};
      break;
  }
  if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) {
    ExStyle |= WS_EX_TOOLWINDOW;
    icons *= TBorderIcons{biSystemMenu};
  }
  if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable || FBorderStyle == bsNone) {
    if (icons.Contains(biMinimize)) Style |= WS_MINIMIZEBOX;
    // A fixed border still maximises to the work area; only sizing by the frame is off.
    if (icons.Contains(biMaximize)) Style |= WS_MAXIMIZEBOX;
  }
  if (icons.Contains(biSystemMenu)) Style |= WS_SYSMENU;
  if (icons.Contains(biHelp) &&
      ((!icons.Contains(biMaximize) && !icons.Contains(biMinimize)) || FBorderStyle == bsDialog))
    ExStyle |= WS_EX_CONTEXTHELP;
  if (FFormStyle == fsStayOnTop && topLevel) ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (!FParent && !FParentWindow) {
    Params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
    // Other forms stay in front of the main form and go with it.
    if (Application && !Same(Application->MainForm(), this)) Params.WndParent = Application->MainFormHandle();
    if (Application && Application->MainFormOnTaskbar() && Same(Application->MainForm(), this))
      Params.ExStyle |= WS_EX_APPWINDOW;
  }
  // A form shows through its WindowState when it becomes visible, never at creation.
  Params.Style &= ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
  Params.Style |= WS_CLIPCHILDREN;
  Params.WindowClass.style = CS_DBLCLKS;
  if (FPosition == poDefault || FPosition == poDefaultPosOnly) Params.X = Params.Y = CW_USEDEFAULT;
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  Params.Style |= style;
  Params.ExStyle |= exStyle;
}

// Changes the frame of an existing window in place: the window keeps its outer size.
void TCustomForm::UpdateFrame() {
  if (!HandleAllocated() || FParent || FParentWindow) return;
  constexpr DWORD kStyles =
      WS_POPUP | WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  constexpr DWORD kExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  SetWindowLong(FHandle, GWL_STYLE, LONG((DWORD(GetWindowLong(FHandle, GWL_STYLE)) & ~kStyles) | style));
  SetWindowLong(FHandle, GWL_EXSTYLE, LONG((DWORD(GetWindowLong(FHandle, GWL_EXSTYLE)) & ~kExStyles) | exStyle));
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  UpdateFrame();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (Value == FBorderIcons) return;
  FBorderIcons = Value;
  UpdateFrame();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (Value == FFormStyle) return;
  FFormStyle = Value;
  if (HandleAllocated() && !FParent && !FParentWindow)
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (Value == FWindowState) return;
  FWindowState = Value;
  if (!HandleAllocated() || !Showing()) return;
  static constexpr int kShow[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_SHOWMAXIMIZED};
  ShowWindow(FHandle, kShow[Value]);
}

void TCustomForm::SetPixelsPerInch(int Value) {
  if (Value > 0) FPixelsPerInch = Value;
}

TRect TCustomForm::ClientRect() const {
  if (HandleAllocated() || FParent || FParentWindow) return TWinControl::ClientRect();
  // Before the window exists: what the frame of the form's styles will leave.
  DWORD style = 0, exStyle = 0;
  FrameStyles(style, exStyle);
  RECT frame{0, 0, 0, 0};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {0, 0, std::max(0, FWidth - int(frame.Width())), std::max(0, FHeight - int(frame.Height()))};
}

void TCustomForm::SetClientSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ComponentState().Contains(csLoading)) {
    FClientWidth = AWidth;
    FClientHeight = AHeight;
  }
  const TRect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Width() + AWidth, FHeight - client.Height() + AHeight);
}

void TCustomForm::ChangeScale(int M, int D, bool isDpiChange) {
  if (M == D || M <= 0 || D <= 0) return;
  const TRect client = ClientRect();
  TWinControl::ChangeScale(M, D, isDpiChange);
  // The frame follows the screen's metrics: the client area is what scales.
  SetClientSize(MulDiv(client.Width(), M, D), MulDiv(client.Height(), M, D));
  FPixelsPerInch = MulDiv(FPixelsPerInch, M, D);
}

// ---- showing and hiding ----

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::PlaceOnShow() {
  const TRect area = Screen->WorkAreaRect();
  auto centreOn = [&](const TRect& r) {
    return TPoint{r.Left + (r.Width() - FWidth) / 2, r.Top + (r.Height() - FHeight) / 2};
  };
  TPoint p{};
  switch (FPosition) {
    case poScreenCenter:
    case poDesktopCenter: p = centreOn(area); break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* centre = Application ? Application->MainForm() : nullptr;
      if (FPosition == poOwnerFormCenter && Owner() && Owner()->InheritsFrom(TCustomForm::StaticClass()))
        centre = static_cast<TCustomForm*>(Owner());
      p = centre && !Same(centre, this) ? centreOn(centre->BoundsRect()) : centreOn(area);
      break;
    }
    default: return;
  }
  SetBounds(std::max<int>(p.X, area.Left), std::max<int>(p.Y, area.Top), FWidth, FHeight);
}

void TCustomForm::ShowingChanged() {
  if (FFormState.Contains(fsShowing)) throw EInvalidOperation("Cannot change Visible in OnShow or OnHide");
  StateScope showing(FFormState, fsShowing);
  if (Showing()) {
    try {
      DoShow();
    } catch (...) {
      ReportException(this);
    }
    PlaceOnShow();
    static constexpr int kShow[] = {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED};
    ShowWindow(Handle(), kShow[FWindowState]);
  } else {
    try {
      DoHide();
    } catch (...) {
      ReportException(this);
    }
    if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
  }
}

// ---- closing ----

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Same(Application->MainForm(), this))
    Application->Terminate();
  else if (action == caHide)
    Hide();
  else if (action == caMinimize)
    SetWindowState(wsMinimized);
  else
    Release();
}

void TCustomForm::Release() {
  if (HandleAllocated())
    PostMessage(FHandle, CM_RELEASE, 0, 0);
  else
    TObject::Release();
}

int TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  Application->ModalStarted();
  FFormState.Include(fsModal);
  HWND activeWindow = GetActiveWindow();
  const TCursor savedCursor = Screen->Cursor();
  Screen->SetCursor(crDefault);
  HWND self = Handle();
  // Every other window waits until the form is done.
  std::vector<HWND> disabled;
  for (HWND t : std::vector<HWND>(TopLevelWindows()))
    if (t != self && IsWindowVisible(t) && IsWindowEnabled(t)) {
      EnableWindow(t, FALSE);
      disabled.push_back(t);
    }
  auto restore = [&] {
    for (HWND t : disabled) EnableWindow(t, TRUE);
    Screen->SetCursor(savedCursor);
    if (activeWindow) SetActiveWindow(activeWindow);
    FFormState.Exclude(fsModal);
    Application->ModalFinished();
  };
  int result = mrNone;
  try {
    Show();
    try {
      SendMessage(Handle(), CM_ACTIVATE, 0, 0);
      FModalResult = mrNone;
      do {
        Application->HandleMessage();
        if (Application->Terminated())
          FModalResult = mrCancel;
        else if (FModalResult != mrNone)
          CloseModal();
      } while (FModalResult == mrNone);
      result = FModalResult;
      SendMessage(Handle(), CM_DEACTIVATE, 0, 0);
      if (GetActiveWindow() != FHandle) activeWindow = nullptr;
    } catch (...) {
      Hide();
      throw;
    }
    Hide();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return result;
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone)
      FModalResult = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    FModalResult = mrNone;
    ReportException(this);
  }
}

// ---- focus and activation ----

void TCustomForm::SetActiveControl(TWinControl* Control) {
  if (Same(Control, FActiveControl)) return;
  if (Control && (Same(Control, this) || GetParentForm(Control) != this ||
                  (!ComponentState().Contains(csLoading) && !Control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible window");
  FActiveControl = Control;
  if (!ComponentState().Contains(csLoading) && FActive) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!HandleAllocated() || IsIconic(FHandle)) return;
  HWND target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl->Handle() : FHandle;
  ::SetFocus(target);
}

void TCustomForm::SetActive(bool Value) {
  FActive = Value;
  if (!Value) return;
  if (!FActiveControl) {
    TWinControl* first = FindNextControl(nullptr, true, true, false);
    if (first && first->CanFocus()) FActiveControl = first;
  }
  SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
  const bool wasActive = FActive;
  SetActiveControl(Control);
  if (!wasActive) SetFocus();
}

void TCustomForm::SetFocus() {
  if (FActive) return;
  if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  SetWindowFocus();
}

void TCustomForm::DefocusControl(TWinControl* Control, bool Removing) {
  if (!Control) return;
  if (Removing && FFocusedControl && Within(Control, FFocusedControl)) FFocusedControl = Control->Parent();
  if (FActiveControl && Within(Control, FActiveControl)) FActiveControl = nullptr;
  TWinControl* screenActive = Screen->ActiveControl();
  if (Removing && screenActive && Within(Control, screenActive)) Screen->ControlRemoved(screenActive);
}

bool TCustomForm::SendFocusMessage(HWND Window, UINT Msg) {
  const int count = FFocusCount;
  SendMessage(Window, Msg, 0, 0);
  return FFocusCount == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
  if (!Control) return false;
  ++FFocusCount;
  FActiveControl = Same(Control, this) ? nullptr : Control;
  Screen->SetFocus(this, Control);
  if (Control->ControlState().Contains(csFocusing)) return false;
  Control->SetControlState(Control->ControlState() + csFocusing);
  struct Unfocusing {
    TWinControl* C;
    ~Unfocusing() { C->SetControlState(C->ControlState() - csFocusing); }
  } unfocusing{Control};
  if (Screen->FFocusedForm != this) {
    if (TCustomForm* previous = Screen->FFocusedForm) {
      Screen->FFocusedForm = nullptr;
      if (previous->HandleAllocated() && !SendFocusMessage(previous->FHandle, CM_DEACTIVATE)) return false;
    }
    Screen->FFocusedForm = this;
    if (!SendFocusMessage(Handle(), CM_ACTIVATE)) return false;
  }
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl != Control) {
    // CM_EXIT up from the control that had the focus to the first parent both share...
    while (FFocusedControl && !Within(FFocusedControl, Control)) {
      TWinControl* leaving = FFocusedControl;
      FFocusedControl = leaving->Parent();
      if (leaving->HandleAllocated() && !SendFocusMessage(leaving->Handle(), CM_EXIT)) return false;
    }
    // ...and CM_ENTER down from there to the control that has it now.
    while (FFocusedControl != Control) {
      TWinControl* entering = Control;
      while (entering->Parent() && entering->Parent() != FFocusedControl) entering = entering->Parent();
      FFocusedControl = entering;
      if (!SendFocusMessage(entering->Handle(), CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  }
  return true;
}

void TCustomForm::CMDialogKey(TMessage& Message) {
  if (GetKeyState(VK_MENU) >= 0) {
    switch (Message.WParam) {
      case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
          Message.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
          FActiveControl->Parent()->SelectNext(FActiveControl, Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN,
                                               false);
          Message.Result = 1;
        }
        return;
    }
  }
  TWinControl::Dispatch(Message);
}

// ---- messages ----

void TCustomForm::WMSysCommand(TMessage& Message) {
  const DWORD style = DWORD(GetWindowLong(FHandle, GWL_STYLE));
  Message.Result = 0;
  switch (Message.WParam & 0xFFF0) {
    // What the border does not offer, the form does not do.
    case SC_MINIMIZE:
      if (style & WS_MINIMIZEBOX) ShowWindow(FHandle, SW_MINIMIZE);
      return;
    case SC_MAXIMIZE:
      if (style & WS_MAXIMIZEBOX) ShowWindow(FHandle, SW_MAXIMIZE);
      return;
    case SC_RESTORE:
      if (IsIconic(FHandle) || IsZoomed(FHandle)) ShowWindow(FHandle, SW_RESTORE);
      return;
    case SC_SIZE:
      if (!(style & WS_THICKFRAME)) return;
      break;
    case SC_CLOSE: Perform(WM_CLOSE, 0, 0); return;
  }
  TWinControl::Dispatch(Message);
}

void TCustomForm::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SHOWINGCHANGED: ShowingChanged(); return;
    case WM_CLOSE: Close(); return;
    case WM_SYSCOMMAND: WMSysCommand(Message); return;
    case WM_ACTIVATE:
      TWinControl::Dispatch(Message);
      SetActive(LOWORD(Message.WParam) != WA_INACTIVE);
      return;
    case CM_ACTIVATE:
      if (ComponentState().Contains(csReading))
        FFormState.Include(fsActivated);
      else
        Activate();
      return;
    case CM_DEACTIVATE: Deactivate(); return;
    case CM_RELEASE: TObject::Release(); return;
    case CM_DIALOGKEY: CMDialogKey(Message); return;
    case WM_COMMAND:
      // A command of the menu bar.
      if (FMenu && HIWORD(Message.WParam) == 0 && !Message.LParam && FMenu->DispatchCommand(LOWORD(Message.WParam)))
        return;
      TWinControl::Dispatch(Message);
      return;
    case WM_SIZE:
      // A hidden window's size says nothing of how it is to show.
      if (IsWindowVisible(FHandle)) {
        switch (Message.WParam) {
          case SIZE_MINIMIZED: FWindowState = wsMinimized; break;
          case SIZE_MAXIMIZED: FWindowState = wsMaximized; break;
          case SIZE_RESTORED: FWindowState = wsNormal; break;
        }
      }
      TWinControl::Dispatch(Message);
      return;
    case WM_GETMINMAXINFO: {
      TWinControl::Dispatch(Message);
      auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
      const TSizeConstraints* c = Constraints();
      if (info && c) {
        if (c->MinWidth() > 0) info->ptMinTrackSize.X = c->MinWidth();
        if (c->MinHeight() > 0) info->ptMinTrackSize.Y = c->MinHeight();
        if (c->MaxWidth() > 0) info->ptMaxTrackSize.X = c->MaxWidth();
        if (c->MaxHeight() > 0) info->ptMaxTrackSize.Y = c->MaxHeight();
      }
      return;
    }
  }
  TWinControl::Dispatch(Message);
}

// ---- events ----

namespace {
void Fire(const TNotifyEvent& event, TObject* sender) {
  if (TNotifyEvent handler = event) handler(sender);
}
}  // namespace

void TCustomForm::DoCreate() {
  try {
    Fire(OnCreate, this);
  } catch (...) {
    ReportException(this);
  }
}

void TCustomForm::DoDestroy() { Fire(OnDestroy, this); }
void TCustomForm::DoShow() { Fire(OnShow, this); }
void TCustomForm::DoHide() { Fire(OnHide, this); }
void TCustomForm::Activate() { Fire(OnActivate, this); }
void TCustomForm::Deactivate() { Fire(OnDeactivate, this); }

void TCustomForm::DoClose(TCloseAction& Action) {
  if (TCloseEvent handler = OnClose) handler(this, Action);
}
