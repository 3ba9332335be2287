// Controls: TControl (a rectangle of its parent that paints and takes the mouse),
// TWinControl (a control with a window of its own and children), TGraphicControl and
// TCustomControl (the two bases that paint on a canvas).
//
// Messages reach a control through its window procedure (StdWndProc -> MainWndProc ->
// WindowProc -> WndProc -> Dispatch -> DefaultHandler, which calls the window's previous
// procedure); graphic controls get theirs from their parent with Perform.
#pragma once

#include <exception>
#include <functional>
#include <vector>

#include "Actions.h"
#include "Classes.h"
#include "Graphics.h"
#include "win/Messages.h"
#include "win/Window.h"

class TControl;
class TWinControl;
class TPopupMenu;
class TCustomHint;

// A scroll bar control's direction, and which frame bar of a scrolling window.
enum TScrollBarKind { sbHorizontal, sbVertical };

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using TAlignSet = Set<TAlign>;
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;
enum TControlStyleFlag {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
  csPannable,
  csAlignWithMargins,
  csGestures,
  csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint,
};
using TControlStyle = Set<TControlStyleFlag>;
enum TControlStateFlag {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking,
  csDesignerHide,
  csPanning,
  csRecreating,
  csAligning,
  csGlassPaint,
  csPrintClient,
};
using TControlState = Set<TControlStateFlag>;
enum TStyleElement { seFont, seClient, seBorder };
using TStyleElements = Set<TStyleElement>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble, ssTouch, ssPen, ssCommand };
using TShiftState = Set<TShiftStateFlag>;
// A shortcut of a virtual key (0..255; another key gives scNone) and Shift, Ctrl and Alt
// of Shift, and back.
TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TTabOrder = int;
// Reading order and alignment of text: right-to-left reading flips alignment and the
// side of scroll bars unless the mode says otherwise.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSize = -22;
constexpr TCursor crSizeAll = -22;
// The standard cursor of a TCursor (IDC_*), or 0 for crDefault, crNone and unknown ones.
intptr_t CursorToIdc(TCursor Cursor);

// A control's hint is "short|long": the short part shows in hint windows, the long part
// in status bars. Without "|" both are the whole text.
String GetShortHint(const String& Hint);
String GetLongHint(const String& Hint);

// What CM_HINTSHOW (LParam points at it) and OnShowHint may change before a hint shows.
struct THintInfo {
  TControl* HintControl = nullptr;
  TPoint HintPos{};         // screen point of the window's top-left corner
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect{};       // in HintControl's client coordinates: leaving it hides the hint
  TPoint CursorPos{};       // in HintControl's client coordinates
  int ReshowTimeout = 0;    // > 0: show the hint again after this many ms
  int HideTimeout = 0;      // ms the hint stays; 0 takes the application's HintHidePause
  String HintStr;
  void* HintData = nullptr;
};

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
using TMouseWheelEvent =
    std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta, POINT MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = std::function<void(TObject* Sender, TShiftState Shift, POINT MousePos, bool& Handled)>;
using TCanResizeEvent = std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    std::function<void(TObject* Sender, int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight)>;
using TContextPopupEvent = std::function<void(TObject* Sender, POINT MousePos, bool& Handled)>;

// The shift state of a mouse message's MK_* flags (Alt from the keyboard), of a key
// message's key data, or of the keyboard now.
TShiftState KeysToShiftState(WORD Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeyboardStateToShiftState();

// ---- hooks that the forms and the application set ----

// Called when a control's window gets WM_SETFOCUS (the form tracks its active control and
// sends CM_ENTER/CM_EXIT).
extern std::function<void(TWinControl* Control)> FocusChangedHook;
// Reports an exception that a message handler raised; without it the exception goes on
// through the window procedure to whoever sent the message.
extern std::function<void(const std::exception& E)> ExceptionHandlerHook;
// Sees every WM_MOUSEMOVE a control gets, before the control does (hint tracking).
extern std::function<void(TControl* Control, TMessage& Message)> HintMouseMessageHook;
// Shows a control's popup menu at a screen point (WM_CONTEXTMENU); true when it did.
extern std::function<bool(TControl* Control, TPopupMenu* Menu, const TPoint& ScreenPos)> PopupMenuHook;
// Clicks the menu item (or runs the action) whose shortcut a key is: the popup menus of the
// control and its parents, then the form's (TWinControl::IsMenuKey); true when one ran.
extern std::function<bool(TWinControl* Control, TMessage& Message)> MenuKeyHook;
// A popup menu that goes away calls this so that no control keeps pointing at it.
void ClearPopupMenuReferences(TPopupMenu* Menu);
// The style engine's: sees every message of a windowed control first (TWinControl::WndProc
// begins with it); true when a style hook handled the message, whose Result then stands.
extern std::function<bool(TWinControl* Control, TMessage& Message)> StyleHookHandler;
// The style engine's: told after a control's window is made (Created true) and before it
// goes (false; also when the window is destroyed from outside, at WM_NCDESTROY).
extern std::function<void(TWinControl* Control, bool Created)> ControlHandleHook;

// ---- mouse capture and the control under the mouse ----

// The control that has the mouse: a windowed control with the capture, or the graphic
// child that its parent's window captures for.
TControl* GetCaptureControl();
// Captures the mouse for a control (a graphic one through its parent's window); null
// releases the capture.
void SetCaptureControl(TControl* Control);
// The control whose window is Handle, or null.
TWinControl* FindControl(HWND Handle);
// The deepest control's window under a screen point.
TWinControl* FindVCLWindow(const TPoint& Pos);
// The control under a screen point: the deepest windowed control, then its graphic child
// there.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// FindDragTarget without disabled graphic controls.
TControl* FindControlAt(const TPoint& ScreenPos);
// Finds the control under the point and, when it changed, sends CM_MOUSELEAVE to the old
// one and CM_MOUSEENTER to the new one (LParam = the control; its parents hear it with
// the same LParam). The application calls it after every mouse message.
void UpdateMouseControl(const TPoint& ScreenPos);
// The control that last got CM_MOUSEENTER, or null.
TControl* MouseControl();
// Frees the device contexts that control canvases made and keep (not the locked ones);
// every message handled by a control ends with it.
void FreeDeviceContexts();

// ---- margins, padding and constraints ----

// Space around a control used when it is aligned with margins.
class TMargins : public TPersistent {
  QV_CLASS(TMargins, TPersistent)
  explicit TMargins(TControl* Control);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Right() const { return FRight; }
  int Bottom() const { return FBottom; }
  void SetLeft(int Value) { SetMargin(FLeft, Value); }
  void SetTop(int Value) { SetMargin(FTop, Value); }
  void SetRight(int Value) { SetMargin(FRight, Value); }
  void SetBottom(int Value) { SetMargin(FBottom, Value); }
  void SetBounds(int ALeft, int ATop, int ARight, int ABottom);
  void Assign(TPersistent* Source) override;
  TControl* Control() const { return FControl; }

  // The control's bounds grown by the margins when it aligns with margins.
  int ControlLeft() const;
  int ControlTop() const;
  int ControlWidth() const;
  int ControlHeight() const;
  // Places the control so that its bounds with margins are the given ones.
  void SetControlBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Aligning = false);
  void SetControlBounds(const TRect& ARect, bool Aligning = false);

  TNotifyEvent OnChange;

 protected:
  void SetMargin(int& Field, int Value);
  void Change();
  TControl* FControl;
  int FLeft = 3, FTop = 3, FRight = 3, FBottom = 3;
};

// Space inside a container kept free of aligned children.
class TPadding : public TMargins {
  QV_CLASS(TPadding, TMargins)
  explicit TPadding(TControl* Control);
};

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
  QV_CLASS(TSizeConstraints, TPersistent)
  explicit TSizeConstraints(TControl* Control) : FControl(Control) {}
  int MinWidth() const { return FMinWidth; }
  int MinHeight() const { return FMinHeight; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  // Negative values count as 0; a minimum above the maximum moves the maximum, and the
  // other way round.
  void SetMinWidth(int Value);
  void SetMinHeight(int Value);
  void SetMaxWidth(int Value);
  void SetMaxHeight(int Value);
  void Assign(TPersistent* Source) override;
  TControl* Control() const { return FControl; }
  TNotifyEvent OnChange;

 private:
  friend class TControl;
  void Changed();
  TControl* FControl;
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// ---- the link between a control and its action ----

// A control follows its action's Caption, Enabled, Hint and Visible while its own value
// equals the action's (a value set by hand on the control ends that).
class TControlActionLink : public TActionLink {
  QV_CLASS(TControlActionLink, TActionLink)
  explicit TControlActionLink(TObject* AClient);
  TControl* Client() const { return FClient; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;

 protected:
  void AssignClient(TObject* AClient) override;
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(bool Value) override;

  TControl* FClient = nullptr;
};

// ---- TControl ----

class TControl : public TComponent {
  QV_CLASS(TControl, TComponent)
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // Every message Perform and the window procedure deliver goes through this; it starts as
  // a call of WndProc. A library subclasses a control by keeping the old value, putting
  // its own in, and calling the old one for what it does not handle.
  std::function<void(TMessage& Message)> WindowProc;

  // ---- place ----
  TWinControl* Parent() const { return FParent; }
  // Raises EInvalidOperation "A control cannot have itself as its parent".
  virtual void SetParent(TWinControl* AParent);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  // Checks OnCanResize and the constraints, invalidates the old and the new place, asks
  // the parent to realign and calls Resize when the size changed. Coordinates are kept
  // within +-2^28 and sizes at 0 or more.
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  // The bounds last set by hand (not by alignment or anchors).
  int ExplicitLeft() const { return FExplicitLeft; }
  int ExplicitTop() const { return FExplicitTop; }
  int ExplicitWidth() const { return FExplicitWidth; }
  int ExplicitHeight() const { return FExplicitHeight; }
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(int AWidth, int AHeight);
  // Where the client area's top-left corner lies on the screen. Raises EInvalidOperation
  // "Control 'Name' has no parent window" for a graphic control without a parent.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(const TPoint& P) const;
  TPoint ScreenToClient(const TPoint& P) const;
  // A client point in the coordinates of a parent (the direct one when null), and back.
  // Raise EInvalidOperation when AParent is not a parent of the control.
  TPoint ClientToParent(const TPoint& P, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(const TPoint& P, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  bool AlignWithMargins() const { return FAlignWithMargins; }
  void SetAlignWithMargins(bool Value);
  TMargins* Margins() const { return FMargins; }
  void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
  TSizeConstraints* Constraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
  bool AutoSize() const { return FAutoSize; }
  virtual void SetAutoSize(bool Value);
  // Asks the parent to realign its children after this control changed.
  virtual void RequestAlign();
  // Applies AutoSize and the constraints to the current size.
  virtual void AdjustSize();

  // ---- state ----
  bool Visible() const { return FVisible; }
  virtual void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Visible here and in every parent (a windowed control: its window is shown).
  virtual bool Showing() const;
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }
  TStyleElements StyleElements() const { return FStyleElements; }
  // A change sends CM_STYLECHANGED, then UpdateStyleElements.
  void SetStyleElements(TStyleElements Value);
  // How the control takes a change of StyleElements; the base repaints it.
  virtual void UpdateStyleElements();
  // The factor of every scale change so far (1.0 at design size).
  double ScaleFactor() const { return FScaleFactor; }
  bool MouseCapture() const { return GetCaptureControl() == this; }
  void SetMouseCapture(bool Value);

  String Caption() const { return GetText(); }
  void SetCaption(const String& Value) { SetText(Value); }
  // Through WM_GETTEXT / WM_SETTEXT (the window's text while there is a window); a change
  // sends CM_TEXTCHANGED.
  String Text() const { return GetText(); }
  void SetText(const String& Value);
  int GetTextLen() const;
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);
  // A hint component that shows this control's hint instead of the application's hint
  // window; with ParentCustomHint the parent's is used.
  TCustomHint* CustomHint() const;
  void SetCustomHint(TCustomHint* Value);
  bool ParentCustomHint() const { return FParentCustomHint; }
  void SetParentCustomHint(bool Value) { FParentCustomHint = Value; }
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);
  bool MouseInClient() const { return FMouseInClient; }

  // ---- reading order ----
  // A change sends CM_BIDIMODECHANGED; children with ParentBiDiMode follow.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool Value);
  bool IsRightToLeft() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
  bool UseRightToLeftScrollBar() const { return FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign; }
  // DrawText flags for this control: left and right swapped under right-to-left
  // alignment, DT_RTLREADING added under right-to-left reading.
  UINT DrawTextBiDiModeFlags(UINT Flags) const;
  UINT DrawTextBiDiModeFlagsReadingOnly() const;
  // The alignment as it shows: left and right swapped under right-to-left alignment.
  TAlignment BiDiAlignment(TAlignment Value) const;

  // ---- painting ----
  virtual void Invalidate();
  // Invalidates and paints now (an opaque graphic control paints straight away).
  virtual void Repaint();
  void Refresh() { Repaint(); }
  virtual void Update();
  void BringToFront() { SetZOrder(true); }
  void SendToBack() { SetZOrder(false); }
  // Moves the control to the top or the bottom of its kind among the parent's children
  // (graphic controls always lie below windowed ones).
  virtual void SetZOrder(bool TopMost);
  // A DC of the window the control paints on, set up for the control: a graphic
  // control's is its parent's with the viewport at the control and clipped to it.
  virtual HDC GetDeviceContext(HWND& WindowHandle);

  // ---- messages ----
  // Sends a message straight to this control's WindowProc and answers its Result.
  LRESULT Perform(UINT Msg, WPARAM WParam, LPARAM LParam);
  virtual void WndProc(TMessage& Message);
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  // WM_MOUSEWHEEL turned into CM_MOUSEWHEEL (WParam and LParam as WM_MOUSEWHEEL's), which
  // goes up the parents until one handles it. A form takes it over for its active control.
  virtual void MouseWheelHandler(TMessage& Message);

  // ---- scaling ----
  // Multiplies sizes and fonts by M / D, keeping the control's own top-left corner.
  void ScaleBy(int M, int D);
  // Multiplies positions, sizes, the font height (unless ParentFont), margins and
  // constraints by M / D; ScaleFactor follows.
  virtual void ChangeScale(int M, int D, bool isDpiChange = false);

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void SetName(const String& NewName) override;
  void Loaded() override;

  // ---- action ----
  // The action the control shows and executes when clicked; null without one.
  TBasicAction* Action() const;
  // Links the control to the action (null: unlinks it) and takes the action's properties
  // (ActionChange with CheckDefaults while the action is loading). A freed action unlinks
  // itself.
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink; }
  // Lets the action update itself (OnUpdate); the application calls it on idle for each
  // visible control of a showing form.
  virtual void InitiateAction();

  // OnClick when set, else the action's Execute.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TCanResizeEvent OnCanResize;
  TConstrainedResizeEvent OnConstrainedResize;
  TContextPopupEvent OnContextPopup;

 protected:
  // Takes the properties of the action Sender: all of them, or with CheckDefaults only
  // those the control still has at their defaults (empty or name caption, enabled, no
  // hint, visible). Derived controls read more of the action here and follow its later
  // changes through their own link (CreateActionLink).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  // The link SetAction makes; derived controls that follow more of an action return
  // their own kind.
  virtual TControlActionLink* CreateActionLink();

  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();
  virtual bool CanResize(int& NewWidth, int& NewHeight);
  virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
  // CanResize and then the constraints.
  virtual bool DoCanResize(int& NewWidth, int& NewHeight);
  virtual bool DoCanAutoSize(int& NewWidth, int& NewHeight);
  // The constraints in force; the base passes them to OnConstrainedResize.
  virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
  void DoConstrainedResize(int& NewWidth, int& NewHeight);
  // The size a resize may take: false when OnCanResize refuses it.
  bool CheckNewSize(int& NewWidth, int& NewHeight);
  virtual void Changed();
  virtual String GetText() const;
  virtual void SetTextBuf(const String& Value);
  virtual void FontChanged();
  virtual void VisibleChanging() {}
  // Takes bounds the window reports (UpdateBounds).
  virtual void UpdateBoundsRect(const TRect& R);
  // Remembers the distances the anchors keep (from the current place and parent size).
  void UpdateAnchorRules();
  void UpdateExplicitBounds();
  // Invalidates the control's place on the parent's window.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  virtual void SetZOrderPosition(int Position);
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  // Tells the form the control lies on to end modes (menus, dragging) before a press.
  void SendCancelMode(TControl* Sender);
  // Mouse messages turned into the virtual handlers above.
  void HandleMouseMessage(TMessage& Message);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  int FExplicitLeft = 0, FExplicitTop = 0, FExplicitWidth = 0, FExplicitHeight = 0;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // The parent's client size when the anchor rules were taken ((0, 0): no rules), and the
  // rules: per axis the width, the near edge or the centre, as the anchors say.
  TPoint FAnchorOrigin{};
  TPoint FAnchorRules{};
  bool FAnchorMove = false;
  bool FAlignWithMargins = false;
  bool FAutoSize = false;
  TMargins* FMargins;
  TSizeConstraints* FConstraints;
  bool FVisible = true;
  bool FEnabled = true;
  TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  TControlState FControlState;
  TStyleElements FStyleElements{seFont, seClient, seBorder};
  double FScaleFactor = 1.0;
  String FText;
  TFont* FFont;
  TColor FColor = clWindow;
  bool FParentFont = true;
  bool FParentColor = true;
  TCursor FCursor = crDefault;
  String FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCustomHint* FCustomHint = nullptr;
  bool FParentCustomHint = true;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;
  TPopupMenu* FPopupMenu = nullptr;
  TControlActionLink* FActionLink = nullptr;
  bool FMouseInClient = false;
  int FWheelAccumulator = 0;

  friend class TWinControl;
  friend class TMargins;
};

// Creation parameters of a control's window.
struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  String WinClassName;
};

// What a custom alignment is told about the control it places.
struct TAlignInfo {
  const std::vector<TControl*>* AlignList = nullptr;
  int ControlIndex = 0;
  TAlign Align = alNone;
  int Scratch = 0;
};

// ---- TWinControl ----

class TWinControl : public TControl {
  QV_CLASS(TWinControl, TControl)
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  // ---- the window ----
  // Creates the window (and every parent's first) on first use. Raises
  // EInvalidOperation "Control 'Name' has no parent window" for a child without one.
  HWND Handle();
  // The window if there is one, without making it.
  HWND WindowHandle() const { return FHandle; }
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // Destroys the window, the children's first; the control keeps its state (text,
  // bounds, children) and makes the window again when it is needed.
  void DestroyHandle();
  // Destroys the window so that it is made again, with its new parameters, at once when
  // the control is showing, else when needed.
  void RecreateWnd();
  // The window a parentless control lives in (a control embedded in a foreign window).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  void SetParent(TWinControl* AParent) override;
  // The control whose window is Handle, or null.
  static TWinControl* FindControl(HWND Handle);

  // ---- children ----
  int ControlCount() const { return int(FControls.size()); }
  // All children, graphic ones first, each kind bottom of the z-order first. Raises
  // EListError for an index out of range.
  TControl* Controls(int Index) const;
  bool ContainsControl(TControl* Control) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  // Sends a message to every child (WindowProc) until one answers non-zero.
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  // The child at a client point (graphic ones, and windowed ones when asked), or null.
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false,
                         bool AllLevels = false) const;
  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  TPadding* Padding() const { return FPadding; }
  void SetPadding(TPadding* Value) { FPadding->Assign(Value); }
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);

  // ---- focus ----
  // Visible and enabled up to the outermost parent.
  virtual bool CanFocus() const;
  bool Focused() const;
  // Asks the outermost parent to focus this control (FocusControl). Raises
  // EInvalidOperation "Cannot focus a disabled or invisible window".
  virtual void SetFocus();
  // What the outermost parent does to focus one of its controls; a form tracks its active
  // control. The base gives the control's window the focus.
  virtual void FocusControl(TWinControl* Control);
  // A control that is hidden, disabled or removed lets go of the focus; a form moves its
  // active control. The base does nothing.
  virtual void DefocusControl(TWinControl* /*Control*/, bool /*Removing*/) {}
  TTabOrder TabOrder() const;
  void SetTabOrder(TTabOrder Value);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  // Children that take part in Tab order, in that order (descending into containers).
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // ---- painting ----
  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  // Paints the control and its children into DC with the control's top-left at (X, Y):
  // WM_ERASEBKGND, WM_PAINT with the DC, then the windowed children, all marked
  // csPaintCopy while they paint.
  void PaintTo(HDC DC, int X, int Y);
  // Paints the graphic children over DC, bottom first, starting with First (null: all);
  // while the control paints into a copy, also its windowed children (PaintTo).
  void PaintControls(HDC DC, TControl* First);
  // Paints the window's own content (not the children) into DC; the base passes a paint
  // message with the DC to the window's previous procedure. Public so that a child can
  // have its parent paint what lies behind it.
  virtual void PaintWindow(HDC DC);
  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value);
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool Value);
  TBrush* Brush() const { return FBrush; }
  HDC GetDeviceContext(HWND& WindowHandle) override;

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  bool Showing() const override;
  void ChangeScale(int M, int D, bool isDpiChange = false) override;
  void SetZOrder(bool TopMost) override;
  // The wheel goes to the graphic child under the mouse, if any, then up the parents.
  void MouseWheelHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  void Loaded() override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // The window procedure every control's window starts with: it binds the window to
  // the control being created and passes the message to the control's MainWndProc.
  static LRESULT StdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  virtual void CreateParams(TCreateParams& Params);
  // Registers the window class (once, with StdWndProc) and makes the window; the class's
  // own procedure from CreateParams becomes FDefWndProc.
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  // CreateWnd, then the place in the parent's z-order.
  virtual void CreateHandle();
  // Keeps the text, frees the canvases' DCs and destroys the window.
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  // Subclasses a standard window class: the control keeps the class's procedure as the
  // one DefaultHandler passes messages on to.
  void CreateSubClass(TCreateParams& Params, const String& ControlClassName);
  // Places the children by Align (alTop, alBottom, alLeft, alRight, alClient, alCustom;
  // each kind by current position, AControl first) and by Anchors, within Rect.
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  // The room aligned children take: the client area less BorderWidth and Padding.
  virtual void AdjustClientRect(TRect& Rect);
  // alCustom: whether C1 goes before C2, and where a control goes (the base leaves it).
  virtual bool CustomAlignInsertBefore(TControl* /*C1*/, TControl* /*C2*/) { return false; }
  virtual void CustomAlignPosition(TControl* /*Control*/, int& /*NewLeft*/, int& /*NewTop*/, int& /*NewWidth*/,
                                   int& /*NewHeight*/, TRect& /*AlignRect*/, const TAlignInfo& /*AlignInfo*/) {}
  virtual void ControlsAligned() {}
  bool CanAutoSize(int& NewWidth, int& NewHeight) override;
  // BeginPaint unless the message's WParam carries a DC, PaintWindow (less the opaque
  // graphic children), then PaintControls.
  virtual void PaintHandler(TMessage& Message);
  // Runs WindowProc, frees the canvases' DCs, and reports a handler's exception through
  // ExceptionHandlerHook when it is set.
  void MainWndProc(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  // The key events (the outermost parent's first when it previews keys); true when a
  // handler took the key (zeroed it).
  bool DoKeyDown(TMessage& Message);
  // A key that is the shortcut of a menu item (popup menus of this control and its
  // parents, then the form's menu and action lists) clicks it; true when one did.
  bool IsMenuKey(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);
  // A form answers its KeyPreview: its children's keys reach its own key events first.
  virtual bool PreviewsChildKeys() const { return false; }
  // CN_KEYDOWN, CN_SYSKEYDOWN, CN_KEYUP, CN_CHAR, CN_SYSCHAR (what the application offers
  // the focused control before the key message): Tab, arrows, Enter and Escape go to the
  // outermost control as CM_DIALOGKEY unless the control wants them (CM_WANTSPECIALKEY,
  // WM_GETDLGCODE), characters as CM_DIALOGCHAR; a non-zero Result took the key.
  void DialogKeys(TMessage& Message);
  virtual void DoEnter();
  virtual void DoExit();
  // Makes the windows of this control and its children when they are visible, and shows
  // or hides them (CM_SHOWINGCHANGED).
  virtual void UpdateShowing();
  // UpdateShowing when the outermost parent is a form or lives in a parent window.
  void UpdateControlState();
  void AlignControl(TControl* AControl);
  // The bounds from the window (after it moved or changed size).
  void UpdateBounds();
  // Passes a mouse message to the graphic child under the point (or the one that has the
  // capture); true when it did.
  virtual bool IsControlMouseMsg(TMessage& Message);
  // The windowed child's window just above Control, or HWND_TOP.
  HWND PrecedingWindow(TWinControl* Control) const;
  void SetZOrderPosition(int Position) override;
  virtual void DoPaddingChange();
  // Sends a message from a child window back to that child's control (CN_BASE + Msg);
  // false when the window is not a control's.
  static bool DoControlMsg(HWND ControlHandle, TMessage& Message);

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  HWND FParentWindow = nullptr;
  std::vector<TControl*> FControls;  // graphic ones first, each kind bottom first
  std::vector<TWinControl*> FTabList;
  bool FTabStop = false;
  int FAlignLevel = 0;
  int FBorderWidth = 0;
  TPadding* FPadding;
  TBrush* FBrush;
  bool FDoubleBuffered = false;
  bool FShowing = false;
  bool FInitialized = false;
  // Set by PaintControls while it paints the windowed children into a copy.
  // PaintTo runs: the child windows are painted into the copy, once (by PaintControls when
  // the control's own painting calls it, else by PaintTo itself). Other copies (a grab, a
  // child capturing its background) paint the control alone.
  bool FPaintingTo = false;
  bool FCopiedWinControls = false;

  friend class TControl;

 private:
  int GraphicCount() const { return FGraphicCount; }
  void InsertIntoList(TControl* AControl);
  void RemoveFromList(TControl* AControl);
  void PaintDoubleBuffered(TMessage& Message);
  void EraseBackground(TMessage& Message);
  void ReflectToChild(TMessage& Message, HWND Child);
  HWND ChildWindowWithId(WPARAM Id) const;
  void SetCursorMessage(TMessage& Message);

  // How many of FControls are graphic (they come first).
  int FGraphicCount = 0;
};

// ---- canvases ----

// The canvas of a control: its DC comes from the control's window (a graphic control's
// from its parent's, moved and clipped to the control) when first drawn, and is freed by
// FreeHandle, by FreeDeviceContexts or when the window goes.
class TControlCanvas : public TCanvas {
  QV_CLASS(TControlCanvas, TCanvas)
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* AControl);
  void FreeHandle();
  void UpdateTextFlags() {}

 protected:
  void CreateHandle() override;

 private:
  friend void FreeDeviceContexts();
  friend void FreeWindowDeviceContexts(HWND Window);
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

// Frees the canvases' DCs of one window (it is going away).
void FreeWindowDeviceContexts(HWND Window);

// A control without a window that paints on its parent's: Paint runs on WM_PAINT with the
// parent's DC set up for the control.
class TGraphicControl : public TControl {
  QV_CLASS(TGraphicControl, TControl)
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void Paint() {}

 private:
  TCanvas* FCanvas;
};

// A windowed control that paints on a canvas: PaintWindow runs Paint with the canvas on
// the paint DC.
class TCustomControl : public TWinControl {
  QV_CLASS(TCustomControl, TWinControl)
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }
  void Dispatch(TMessage& Message) override;
  // Runs Paint with the canvas on DC.
  void PaintWindow(HDC DC) override;

 protected:
  virtual void Paint() {}

 private:
  TCanvas* FCanvas;
};
