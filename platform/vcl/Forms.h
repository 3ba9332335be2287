// Forms: top-level windows as controls (TCustomForm, TForm), the application object that
// runs the message loop (TApplication, the global Application), and the screen with its
// monitors and forms (TScreen, TMonitor, the global Screen).
//
// A form's content is what its stored description holds. Here the description is code:
// a form class overrides InitializeComponent to set its own properties and build its
// component tree. Making a form is therefore two steps, as reading a stored form is in
// the framework: the C++ constructor, then AfterConstruction, which builds the content,
// scales a form designed at another resolution and runs OnCreate.
// Application->CreateForm does both; so does NewForm<T>(Owner).
#pragma once

#include <exception>
#include <functional>
#include <vector>

#include "Controls.h"
#include "ScrollingWinControl.h"

class TCustomForm;
class TForm;
class TMonitor;
class THintWindow;
class TIcon;
class TTimer;
class TMainMenu;

enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = Set<TBorderIcon>;
using TFormBorderStyle = TBorderStyle;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter,
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = Set<TFormStateFlag>;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrClose = 8;
constexpr TModalResult mrHelp = 9;
constexpr TModalResult mrTryAgain = 10;
constexpr TModalResult mrContinue = 11;
constexpr TModalResult mrAll = 12;
constexpr TModalResult mrNoToAll = 13;
constexpr TModalResult mrYesToAll = 14;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// ---- forms ----

class TCustomForm : public TWinControl {
  QV_CLASS(TCustomForm, TWinControl)

  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;

  // The second step of making a form (see the top of this file); runs once.
  void AfterConstruction() override;
  // Hides the form and runs OnDestroy while the whole object still exists: free forms
  // with Free() or through their owner.
  void BeforeDestruction() override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons Value);
  // Where the form goes when it is shown; the centring kinds centre it on the work area
  // (poMainFormCenter and poOwnerFormCenter on that form when there is one).
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition Value) { FPosition = Value; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle Value);
  // Keys go to the form's key events before the focused control's.
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool Value) { FKeyPreview = Value; }
  // The control that has (or gets, when the form is activated) the focus. Raises
  // EInvalidOperation for a control of another form or one that cannot take the focus.
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* Control);
  // The resolution the form was designed at; with Scaled, a form designed at another
  // resolution than the screen's is scaled when it is made.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);
  bool Scaled() const { return FScaled; }
  void SetScaled(bool Value) { FScaled = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  TFormState FormState() const { return FFormState; }
  // The form is the active window of the application.
  bool Active() const { return FActive; }
  // A translucent window: AlphaBlendValue is its opacity (255 opaque) while AlphaBlend.
  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool Value);
  uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(uint8_t Value);
  // The form's own icon; empty, the application's shows.
  TIcon* Icon() const { return FIcon; }
  void SetIcon(TIcon* Value);
  // The form's menu bar, shown in its frame; its items' shortcuts work anywhere on the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* Value);
  // A key (WM_KEYDOWN/WM_SYSKEYDOWN, or their CN_ forms) that is the shortcut of an item
  // of the form's menu, or of an action of an action list the form owns, runs it once and
  // answers true.
  virtual bool IsShortCut(TMessage& Message);
  // While the form shows: InitiateAction on the form and on every visible control of
  // every showing container on it (the application's idle pass).
  virtual void UpdateActions();

  // The window is sized so that its client area is exactly this (through the frame of
  // the form's styles when the window does not exist yet).
  void SetClientSize(int AWidth, int AHeight) override;
  TRect ClientRect() const override;

  void Show();
  void Hide() { SetVisible(false); }
  // OnCloseQuery, then OnClose with its action: hiding, minimising or releasing the form.
  // Closing the main form terminates the application; closing a modal form sets
  // ModalResult to mrCancel.
  void Close();
  virtual bool CloseQuery();
  // Frees the form from the message loop, once the messages before it are handled.
  void Release();
  // Shows the form with the other windows disabled until ModalResult is set or the form
  // is closed; answers ModalResult. Raises EInvalidOperation "Cannot make a visible
  // window modal" for a visible form.
  virtual int ShowModal();

  // Tracks the focus within the form (the window system's WM_SETFOCUS): CM_EXIT to the
  // controls the focus leaves, CM_ENTER to those it enters, CM_ACTIVATE/CM_DEACTIVATE
  // when the focused form changes. False when a handler moved the focus meanwhile.
  virtual bool SetFocusedControl(TWinControl* Control);
  // Makes Control the active control and, unless the form is active already (it then
  // focuses it on activation), gives it the focus.
  void FocusControl(TWinControl* Control) override;
  // Activates the form's window (focusing the active control) unless it is active.
  void SetFocus() override;
  // A control that goes away or can no longer be focused leaves the form's focus.
  void DefocusControl(TWinControl* Control, bool Removing) override;
  // While the description is being built a visible form only remembers it; it shows once
  // the description is complete. Raises EInvalidOperation in OnShow and OnHide.
  void SetVisible(bool Value) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

 protected:
  // The stored description: the form's own properties and its component tree.
  virtual void InitializeComponent() {}
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& Action);
  virtual void Activate();
  virtual void Deactivate();

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  bool PreviewsChildKeys() const override { return FKeyPreview; }
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // The window styles of the form's border and icons.
  void FrameStyles(DWORD& Style, DWORD& ExStyle) const;
  void UpdateLayeredAttributes();
  void UpdateFrame();
  void ShowingChanged();
  void PlaceOnShow();
  void CloseModal();
  void SetActive(bool Value);
  void SetWindowFocus();
  void WMSysCommand(TMessage& Message);
  void CMDialogKey(TMessage& Message);
  bool SendFocusMessage(HWND Window, UINT Msg);

  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDefaultPosOnly;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  TFormState FFormState;
  bool FContentMade = false;
  bool FKeyPreview = false;
  bool FActive = false;
  bool FScaled = true;
  bool FDestroyed = false;
  int FPixelsPerInch;
  // The client size the description asked for, applied again once it is complete.
  int FClientWidth = 0;
  int FClientHeight = 0;
  TModalResult FModalResult = mrNone;
  bool FAlphaBlend = false;
  uint8_t FAlphaBlendValue = 255;
  TIcon* FIcon;
  TWinControl* FActiveControl = nullptr;
  TMainMenu* FMenu = nullptr;
  // The innermost control that had the focus (the form itself when none).
  TWinControl* FFocusedControl = nullptr;
  int FFocusCount = 0;
};

class TForm : public TCustomForm {
  QV_CLASS(TForm, TCustomForm)

  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// Makes a form in both steps (constructor, then AfterConstruction).
template <class T>
T* NewForm(TComponent* AOwner) {
  T* form = new T(AOwner);
  try {
    form->AfterConstruction();
  } catch (...) {
    form->Free();
    throw;
  }
  return form;
}

// The form a control lies on: the outermost one with TopForm, else the nearest.
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);

// ---- the application ----

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;

class TApplication : public TComponent {
  QV_CLASS(TApplication, TComponent)

  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Connects the window system's focus and exception hooks to the forms.
  void Initialize();
  // Makes a form owned by the application; Reference is set before the form's content
  // is built. The first form made becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    T* form = new T(this);
    Reference = form;
    try {
      form->AfterConstruction();
    } catch (...) {
      Reference = nullptr;
      form->Free();
      throw;
    }
    FormCreated(form);
  }
  // Shows the main form and handles messages until the application is terminated.
  void Run();
  // One message, or, with none ready, the idle work and a wait for the next.
  void HandleMessage();
  // Every message that is ready, without waiting.
  void ProcessMessages();
  // Takes and handles one message; false when there was none.
  bool ProcessMessage(MSG& Msg);
  // Ends the message loop (WM_QUIT).
  void Terminate();
  bool Terminated() const { return FTerminated; }

  TCustomForm* MainForm() const { return FMainForm; }
  HWND MainFormHandle() const;
  bool MainFormOnTaskbar() const { return FMainFormOnTaskbar; }
  void SetMainFormOnTaskbar(bool Value) { FMainFormOnTaskbar = Value; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool Value) { FShowMainForm = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  // The program's icon: a default one until the program sets its own.
  TIcon* Icon() const;
  void SetIcon(TIcon* Value);

  // ---- hints ----
  // Hints of controls show when the mouse rests HintPause ms on a control whose ShowHint
  // is set (HintShortPause when a hint was showing just before) and go after
  // HintHidePause ms, when the mouse leaves the control, or on a key or a press.
  bool ShowHint() const { return FShowHint; }
  // Off: no hint shows, and the hint window goes.
  void SetShowHint(bool Value);
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { FHintPause = Value; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { FHintShortPause = Value; }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { FHintHidePause = Value; }
  TColor HintColor() const { return FHintColor; }
  void SetHintColor(TColor Value) { FHintColor = Value; }
  // The long hint of the control under the mouse (status bars show it); a change calls
  // OnHint.
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // Shows the hint of the control under CursorPos now, if it is the one the mouse rests
  // on.
  void ActivateHint(const TPoint& CursorPos);
  // Hides the hint and forgets the control it was for.
  void CancelHint();
  void HideHint();
  // The window showing the application's hints, or null before the first hint.
  THintWindow* HintWindow() const { return FHintWindow; }
  // The control whose hint shows or is about to.
  TControl* HintControl() const { return FHintControl; }
  // Every mouse move over a control comes here (the controls' HintMouseMessageHook).
  void HintMouseMessage(TControl* Control, TMessage& Message);
  // One of the application's windows is the active window.
  bool Active() const;
  int ModalLevel() const { return FModalLevel; }
  void ModalStarted() { ++FModalLevel; }
  void ModalFinished() { --FModalLevel; }

  // Reports the exception being handled (call it from a catch block): EAbort silently,
  // else through OnException, else ShowException.
  void HandleException(TObject* Sender);
  void HandleException(TObject* Sender, const std::exception& E);
  // Writes the message to stderr and keeps it (LastExceptionMessage).
  void ShowException(const std::exception& E);
  const String& LastExceptionMessage() const { return FLastExceptionMessage; }

  // OnActionExecute / OnActionUpdate for Action; true when they handled it.
  bool ExecuteAction(TBasicAction* Action);
  bool UpdateAction(TBasicAction* Action);

  void BringToFront();
  void Minimize();
  void Restore();

  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TShowHintEvent OnShowHint;
  TNotifyEvent OnHint;
  TExceptionEvent OnException;
  // Offered every action of a list or without one, after its list's handler and before
  // the action's own.
  TActionEvent OnActionExecute;
  TActionEvent OnActionUpdate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Cursor tracking, OnIdle, deferred releases; then waits for a message when done.
  void Idle(const MSG& Msg);
  // UpdateActions of every form whose window is visible and enabled.
  void DoActionIdle();
  // Keys go first to the focused control chain as CN_KEYDOWN and friends (which offers
  // Tab and arrows to the form as CM_DIALOGKEY); true when they were taken there.
  bool IsKeyMsg(MSG& Msg);

 private:
  void FormCreated(TCustomForm* Form);
  enum class HintTimerMode { Pause, Hide };
  void StartHintTimer(int Ms, HintTimerMode Mode);
  void StopHintTimer();
  void HintTimerExpired();
  // After the message loop handled a message: keys and presses end a hint.
  void CheckHintMessage(const MSG& Msg);

  TCustomForm* FMainForm = nullptr;
  bool FTerminated = false;
  bool FMainFormOnTaskbar = false;
  bool FShowMainForm = true;
  String FTitle;
  bool FShowHint = true;
  int FHintPause = 500;
  int FHintShortPause = 50;
  int FHintHidePause = 2500;
  TColor FHintColor = clInfoBk;
  String FHint;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  TRect FHintCursorRect{};
  bool FHintActive = false;
  TTimer* FHintTimer = nullptr;
  HintTimerMode FHintTimerMode = HintTimerMode::Pause;
  mutable TIcon* FIcon = nullptr;
  int FModalLevel = 0;
  String FLastExceptionMessage;
};

extern TApplication* Application;

// Points the control layer's hooks (focus changes, exceptions in message handlers) at the
// forms and the application. The application's entry points call it; so does every form.
void ConnectFormHooks();
// MenuKeyHook as the forms fill it: popup menus of the control and its parents, then the
// form's IsShortCut.
bool IsMenuKeyOfForm(TWinControl* Control, TMessage& Message);

// ---- screen and monitors ----

enum TMonitorDefaultTo { mdNearest, mdNull, mdPrimary };

// One display; its answers are read from the window system at every call.
class TMonitor : public TObject {
  QV_CLASS(TMonitor, TObject)

  HMONITOR Handle() const { return FHandle; }
  int MonitorNum() const { return FMonitorNum; }
  TRect BoundsRect() const;
  TRect WorkareaRect() const;
  int Left() const { return BoundsRect().Left; }
  int Top() const { return BoundsRect().Top; }
  int Width() const { return BoundsRect().Width(); }
  int Height() const { return BoundsRect().Height(); }
  bool Primary() const;
  int PixelsPerInch() const;

 private:
  friend class TScreen;
  TMonitor(HMONITOR Handle, int MonitorNum) : FHandle(Handle), FMonitorNum(MonitorNum) {}
  HMONITOR FHandle;
  int FMonitorNum;
};

class TScreen : public TComponent {
  QV_CLASS(TScreen, TComponent)

  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  int Width() const;
  int Height() const;
  TRect DesktopRect() const;
  int DesktopLeft() const { return DesktopRect().Left; }
  int DesktopTop() const { return DesktopRect().Top; }
  int DesktopWidth() const { return DesktopRect().Width(); }
  int DesktopHeight() const { return DesktopRect().Height(); }
  TRect WorkAreaRect() const;
  int WorkAreaLeft() const { return WorkAreaRect().Left; }
  int WorkAreaTop() const { return WorkAreaRect().Top; }
  int WorkAreaWidth() const { return WorkAreaRect().Width(); }
  int WorkAreaHeight() const { return WorkAreaRect().Height(); }
  // 96, or more when the environment variable QV_SCALE asks for it.
  int PixelsPerInch() const;

  int MonitorCount();
  TMonitor* Monitors(int Index);
  TMonitor* PrimaryMonitor();
  TMonitor* MonitorFromPoint(const TPoint& Point, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromWindow(HWND Handle, TMonitorDefaultTo Default = mdNearest);
  TMonitor* MonitorFromRect(const TRect& Rect, TMonitorDefaultTo Default = mdNearest);

  // Forms, the one that last had the focus first, then in the order they were made;
  // Forms counts TForm and its descendants only.
  int CustomFormCount() const { return int(FCustomForms.size()); }
  TCustomForm* CustomForms(int Index) const;
  int FormCount() const;
  TForm* Forms(int Index) const;
  TCustomForm* ActiveCustomForm() const { return FActiveCustomForm; }
  TForm* ActiveForm() const;
  TWinControl* ActiveControl() const { return FActiveControl; }
  // The form whose control has the focus.
  TCustomForm* FocusedForm() const { return FFocusedForm; }

  // crDefault lets every control show its own cursor; anything else shows everywhere.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  HCURSOR Cursors(TCursor Index);
  void SetCursors(TCursor Index, HCURSOR Handle);

  // The font families installed, sorted; read on first use.
  TStrings* Fonts();
  // Windows 10's: Segoe UI, 9 points.
  TFont* MenuFont() { return SystemFont(FMenuFont); }
  TFont* IconFont() { return SystemFont(FIconFont); }
  TFont* HintFont() { return SystemFont(FHintFont); }
  TFont* MessageFont() { return SystemFont(FMessageFont); }
  TFont* CaptionFont() { return SystemFont(FCaptionFont); }
  // Reads the system fonts again (after a change of resolution).
  void ResetFonts();

  TNotifyEvent OnActiveControlChange;
  TNotifyEvent OnActiveFormChange;

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* Form);
  void RemoveForm(TCustomForm* Form);
  void SetFocus(TCustomForm* Form, TWinControl* Control);
  // A control that goes away is no longer the active one.
  void ControlRemoved(const TComponent* Control);
  TMonitor* FindMonitor(HMONITOR Handle);
  void UpdateMonitors();
  TFont* SystemFont(TFont* Font);

  std::vector<TCustomForm*> FCustomForms;
  std::vector<TMonitor*> FMonitors;
  TCustomForm* FActiveCustomForm = nullptr;
  TCustomForm* FFocusedForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  std::vector<std::pair<TCursor, HCURSOR>> FCursors;
  TStringList* FFonts = nullptr;
  TFont* FMenuFont;
  TFont* FIconFont;
  TFont* FHintFont;
  TFont* FMessageFont;
  TFont* FCaptionFont;
  bool FSystemFontsRead = false;
};

extern TScreen* Screen;

// The work area of the monitor nearest to P, or the screen's when that one is empty.
TRect WorkAreaAt(const TPoint& P);
// The work area of the monitor that shows the active form, else the visible main form
// (where popups of the application go); Otherwise without either.
TRect ActiveFormWorkArea(const TRect& Otherwise);
// R moved, never shrunk, to lie inside Area; a larger R keeps its left-top corner inside.
TRect KeepInside(TRect R, const TRect& Area);
