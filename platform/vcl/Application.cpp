#include <cstdio>
#include <cstdlib>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Hints.h"
#include "Icon.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Queue.h"

TApplication* Application = new TApplication(nullptr);

namespace {

bool IsMouseMessage(UINT m) {
  return (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST) || (m >= WM_NCMOUSEMOVE && m <= WM_NCMBUTTONDBLCLK) ||
         m == WM_MOUSELEAVE || m == WM_NCMOUSELEAVE;
}

// The program's forms go when it ends, as the framework's finalisation frees them: with
// the window system, fonts and backend still there (Run registers this once they exist).
void DoneApplication() {
  if (!Application) return;
  Application->DestroyComponents();
  ProcessDeferredReleases();
}

}  // namespace

void ConnectFormHooks() {
  FocusChangedHook = [](TWinControl* Control) {
    if (TCustomForm* form = GetParentForm(Control)) form->SetFocusedControl(Control);
  };
  ExceptionHandlerHook = [](const std::exception& E) {
    if (Application) Application->HandleException(nullptr, E);
  };
  HintMouseMessageHook = [](TControl* Control, TMessage& Message) {
    if (Application) Application->HintMouseMessage(Control, Message);
  };
  MenuKeyHook = IsMenuKeyOfForm;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  // Made before the program starts: nothing here may touch the window system.
}

TApplication::~TApplication() {
  // The forms go while this is still the application they may ask for.
  FMainForm = nullptr;
  CancelHint();
  DestroyComponents();
  FHintWindow = nullptr;
  delete FHintTimer;
  delete FIcon;
  if (Application == this) Application = nullptr;
}

void TApplication::Initialize() { ConnectFormHooks(); }

void TApplication::FormCreated(TCustomForm* Form) {
  if (!FMainForm) {
    // Its window is made as the main form's (the task-bar button, no owner).
    FMainForm = Form;
    Form->HandleNeeded();
  }
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove) {
    const void* gone = AComponent;
    if (gone == static_cast<const void*>(FMainForm)) FMainForm = nullptr;
    if (gone == static_cast<const void*>(FHintWindow)) FHintWindow = nullptr;
    if (gone == static_cast<const void*>(FHintControl)) {
      FHintControl = nullptr;
      FHintActive = false;
      StopHintTimer();
      if (FHintWindow && FHintWindow->HandleAllocated()) FHintWindow->ReleaseHandle();
    }
  }
  TComponent::Notification(AComponent, Operation);
}

HWND TApplication::MainFormHandle() const {
  return FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
}

bool TApplication::Active() const { return TWinControl::FindControl(GetActiveWindow()) != nullptr; }

void TApplication::Run() {
  ConnectFormHooks();
  if (FMainForm) {
    // A main form made minimised shows minimised: its WindowState decides how it shows.
    if (FShowMainForm) FMainForm->SetVisible(true);
    do {
      try {
        HandleMessage();
      } catch (...) {
        HandleException(this);
      }
    } while (!FTerminated);
  }
  static const bool registered = std::atexit(DoneApplication) == 0;
  (void)registered;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::ProcessMessages() {
  ConnectFormHooks();
  MSG msg;
  while (ProcessMessage(msg)) {
  }
  // A loop that does not wait still shows what it painted.
  PresentChanges();
  ReleaseDestroyedWindows();
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) {
    TMessageEvent handler = OnMessage;
    handler(Msg, handled);
  }
  if (!handled && !IsKeyMsg(Msg)) {
    TranslateMessage(&Msg);
    DispatchMessage(&Msg);
    // A released form goes as soon as its message is through.
    if (Msg.message == CM_RELEASE) ProcessDeferredReleases();
  }
  CheckHintMessage(Msg);
  if (IsMouseMessage(Msg.message)) UpdateMouseControl(Msg.pt);
  return true;
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) {
    // The nearest window of a control: other windows know nothing of CN_* messages.
    wnd = Msg.hwnd;
    while (wnd && !TWinControl::FindControl(wnd)) wnd = GetParent(wnd);
    if (!wnd) wnd = Msg.hwnd;
  }
  if (!wnd) return false;
  return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::Idle(const MSG&) {
  POINT p{};
  GetCursorPos(&p);
  UpdateMouseControl(p);
  // The mouse left the program's windows: no hint stays behind.
  if (!MouseControl()) CancelHint();
  bool done = true;
  try {
    if (OnIdle) {
      TIdleEvent handler = OnIdle;
      handler(this, done);
    }
    if (done) DoActionIdle();
  } catch (...) {
    HandleException(this);
  }
  ProcessDeferredReleases();
  if (done) WaitMessage();
}

void TApplication::DoActionIdle() {
  // A form's actions may close or free forms: take the list first and check each form
  // is still there.
  if (!Screen) return;
  std::vector<TCustomForm*> forms;
  for (int i = 0; i < Screen->CustomFormCount(); ++i) forms.push_back(Screen->CustomForms(i));
  for (TCustomForm* form : forms) {
    bool present = false;
    for (int i = 0; i < Screen->CustomFormCount() && !present; ++i) present = Screen->CustomForms(i) == form;
    if (present && form->HandleAllocated() && IsWindowVisible(form->WindowHandle()) &&
        IsWindowEnabled(form->WindowHandle()))
      form->UpdateActions();
  }
}

bool TApplication::ExecuteAction(TBasicAction* Action) {
  if (!OnActionExecute) return false;
  bool handled = false;
  TActionEvent handler = OnActionExecute;
  handler(Action, handled);
  return handled;
}

bool TApplication::UpdateAction(TBasicAction* Action) {
  if (!OnActionUpdate) return false;
  bool handled = false;
  TActionEvent handler = OnActionUpdate;
  handler(Action, handled);
  return handled;
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleException(TObject* Sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (const std::exception& e) {
    HandleException(Sender, e);
  } catch (...) {
    HandleException(Sender, Exception("Unknown exception"));
  }
}

void TApplication::HandleException(TObject* Sender, const std::exception& E) {
  if (dynamic_cast<const EAbort*>(&E)) return;
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  if (OnException) {
    TExceptionEvent handler = OnException;
    handler(Sender, E);
  } else {
    ShowException(E);
  }
}

void TApplication::ShowException(const std::exception& E) {
  String message = E.what();
  if (!message.empty() && message.back() > '.') message += '.';
  FLastExceptionMessage = message;
  const String title = FTitle.empty() ? String("Error") : FTitle;
  std::fprintf(stderr, "%s: %s\n", title.c_str(), message.c_str());
}

void TApplication::BringToFront() {
  HWND target = nullptr;
  if (TCustomForm* form = Screen->ActiveCustomForm(); form && form->HandleAllocated()) target = form->Handle();
  if (!target) target = MainFormHandle();
  if (target && IsWindowVisible(target)) SetForegroundWindow(target);
}

void TApplication::Minimize() {
  if (HWND main = MainFormHandle()) ShowWindow(main, SW_MINIMIZE);
  if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (HWND main = MainFormHandle(); main && IsIconic(main)) ShowWindow(main, SW_RESTORE);
  if (OnRestore) OnRestore(this);
}
