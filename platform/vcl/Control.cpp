// TControl and the small classes it owns (margins, padding, constraints), the shift-state
// helpers, mouse capture and the tracking of the control under the mouse.
#include <algorithm>

#include "Controls.h"
#include "Hints.h"
#include "win/Input.h"
#include "win/Paint.h"
#include "win/Queue.h"

std::function<void(TWinControl* Control)> FocusChangedHook;
std::function<void(const std::exception& E)> ExceptionHandlerHook;
std::function<void(TControl* Control, TMessage& Message)> HintMouseMessageHook;
std::function<bool(TControl* Control, TPopupMenu* Menu, const TPoint& ScreenPos)> PopupMenuHook;
std::function<bool(TWinControl* Control, TMessage& Message)> MenuKeyHook;

namespace {

// Bounds are kept where sums of two of them cannot overflow.
constexpr int kMaxCoordinate = 1 << 28;
int ClampCoordinate(int v) { return std::clamp(v, -kMaxCoordinate, kMaxCoordinate); }
int ClampSize(int v) { return std::clamp(v, 0, kMaxCoordinate); }

constexpr LPARAM kAltKeyData = 0x20000000;
constexpr int kWheelDelta = 120;

// The graphic control its parent's window captures the mouse for.
TControl* gCaptureControl = nullptr;
// The control that last got CM_MOUSEENTER.
TControl* gMouseControl = nullptr;
// Controls that point at a popup menu.
std::vector<TControl*>& PopupMenuUsers() {
  static std::vector<TControl*> list;
  return list;
}

TWinControl* Outermost(TControl* Control) {
  TWinControl* root = Control->Parent();
  if (!root) return dynamic_cast<TWinControl*>(Control);
  while (root->Parent()) root = root->Parent();
  return root;
}

[[noreturn]] void NoParentWindow(const TControl* Control) {
  throw EInvalidOperation("Control '" + Control->Name() + "' has no parent window");
}

}  // namespace

// ---- shift states and cursors ----

TShiftState KeysToShiftState(WORD Keys) {
  TShiftState result;
  if (Keys & MK_SHIFT) result += ssShift;
  if (Keys & MK_CONTROL) result += ssCtrl;
  if (Keys & MK_LBUTTON) result += ssLeft;
  if (Keys & MK_RBUTTON) result += ssRight;
  if (Keys & MK_MBUTTON) result += ssMiddle;
  if (GetKeyState(int(VK_MENU)) < 0) result += ssAlt;
  return result;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState result;
  if (GetKeyState(int(VK_SHIFT)) < 0) result += ssShift;
  if (GetKeyState(int(VK_CONTROL)) < 0) result += ssCtrl;
  if (KeyData & kAltKeyData) result += ssAlt;
  return result;
}

TShiftState KeyboardStateToShiftState() {
  BYTE keys[256]{};
  GetKeyboardState(keys);
  TShiftState result;
  if (keys[VK_SHIFT] & 0x80) result += ssShift;
  if (keys[VK_CONTROL] & 0x80) result += ssCtrl;
  if (keys[VK_MENU] & 0x80) result += ssAlt;
  if (keys[VK_LBUTTON] & 0x80) result += ssLeft;
  if (keys[VK_RBUTTON] & 0x80) result += ssRight;
  if (keys[VK_MBUTTON] & 0x80) result += ssMiddle;
  return result;
}

String GetShortHint(const String& Hint) {
  const size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(0, bar);
}

String GetLongHint(const String& Hint) {
  const size_t bar = Hint.find('|');
  return bar == String::npos ? Hint : Hint.substr(bar + 1);
}

intptr_t CursorToIdc(TCursor Cursor) {
  switch (Cursor) {
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass: return IDC_WAIT;
    case crNo: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll: return IDC_SIZEALL;
    case crHSplit: return IDC_SIZEWE;
    case crVSplit: return IDC_SIZENS;
    case crDrag:
    case crNoDrop: return IDC_NO;
    default: return 0;
  }
}

// ---- capture and the control under the mouse ----

TControl* GetCaptureControl() {
  TControl* result = FindControl(GetCapture());
  if (result && gCaptureControl && gCaptureControl->Parent() == result) result = gCaptureControl;
  return result;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  gCaptureControl = nullptr;
  if (!Control) return;
  auto* window = dynamic_cast<TWinControl*>(Control);
  if (!window) {
    if (!Control->Parent()) return;
    gCaptureControl = Control;
    window = Control->Parent();
  }
  SetCapture(window->Handle());
}

TWinControl* FindControl(HWND Handle) { return TWinControl::FindControl(Handle); }

TWinControl* FindVCLWindow(const TPoint& Pos) {
  for (HWND h = WindowFromPoint(Pos); h; h = GetParent(h))
    if (TWinControl* control = FindControl(h)) return control;
  return nullptr;
}

TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled) {
  TWinControl* window = FindVCLWindow(Pos);
  if (!window) return nullptr;
  if (TControl* child = window->ControlAtPos(window->ScreenToClient(Pos), AllowDisabled)) return child;
  return window;
}

TControl* FindControlAt(const TPoint& ScreenPos) { return FindDragTarget(ScreenPos, false); }

TControl* MouseControl() { return gMouseControl; }

void UpdateMouseControl(const TPoint& ScreenPos) {
  TControl* target = FindDragTarget(ScreenPos, true);
  if (target == gMouseControl) return;
  TControl* capture = GetCaptureControl();
  TControl* old = gMouseControl;
  // Set first: a handler below may free either control, which clears it again.
  gMouseControl = target;
  if (old && (!capture || old == capture)) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (target && gMouseControl == target && (!capture || target == capture))
    target->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(target));
}

void ClearPopupMenuReferences(TPopupMenu* Menu) {
  if (!Menu) return;
  for (TControl* c : std::vector<TControl*>(PopupMenuUsers()))
    if (c->PopupMenu() == Menu) c->SetPopupMenu(nullptr);
}

// ---- TMargins, TPadding ----

TMargins::TMargins(TControl* Control) : FControl(Control) {}

TPadding::TPadding(TControl* Control) : TMargins(Control) { FLeft = FTop = FRight = FBottom = 0; }

void TMargins::SetMargin(int& Field, int Value) {
  Value = ClampSize(Value);
  if (Field == Value) return;
  Field = Value;
  Change();
}

void TMargins::SetBounds(int ALeft, int ATop, int ARight, int ABottom) {
  ALeft = ClampSize(ALeft);
  ATop = ClampSize(ATop);
  ARight = ClampSize(ARight);
  ABottom = ClampSize(ABottom);
  if (ALeft == FLeft && ATop == FTop && ARight == FRight && ABottom == FBottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  Change();
}

void TMargins::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TMargins*>(Source)) {
    SetBounds(src->FLeft, src->FTop, src->FRight, src->FBottom);
    return;
  }
  TPersistent::Assign(Source);
}

void TMargins::Change() {
  if (OnChange) OnChange(this);
}

int TMargins::ControlLeft() const {
  if (!FControl) return 0;
  return FControl->AlignWithMargins() ? FControl->Left() - FLeft : FControl->Left();
}

int TMargins::ControlTop() const {
  if (!FControl) return 0;
  return FControl->AlignWithMargins() ? FControl->Top() - FTop : FControl->Top();
}

int TMargins::ControlWidth() const {
  if (!FControl) return 0;
  return FControl->AlignWithMargins() ? FControl->Width() + FLeft + FRight : FControl->Width();
}

int TMargins::ControlHeight() const {
  if (!FControl) return 0;
  return FControl->AlignWithMargins() ? FControl->Height() + FTop + FBottom : FControl->Height();
}

void TMargins::SetControlBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Aligning) {
  if (!FControl) return;
  const bool oldMove = FControl->FAnchorMove;
  if (Aligning) FControl->FAnchorMove = true;
  try {
    if (FControl->AlignWithMargins() && FControl->Parent())
      FControl->SetBounds(ALeft + FLeft, ATop + FTop, AWidth - (FLeft + FRight), AHeight - (FTop + FBottom));
    else
      FControl->SetBounds(ALeft, ATop, AWidth, AHeight);
  } catch (...) {
    FControl->FAnchorMove = oldMove;
    throw;
  }
  FControl->FAnchorMove = oldMove;
}

void TMargins::SetControlBounds(const TRect& ARect, bool Aligning) {
  SetControlBounds(ARect.Left, ARect.Top, ARect.Width(), ARect.Height(), Aligning);
}

// ---- TSizeConstraints ----

void TSizeConstraints::SetMinWidth(int Value) {
  Value = ClampSize(Value);
  if (Value == FMinWidth) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Changed();
}

void TSizeConstraints::SetMinHeight(int Value) {
  Value = ClampSize(Value);
  if (Value == FMinHeight) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Changed();
}

void TSizeConstraints::SetMaxWidth(int Value) {
  Value = ClampSize(Value);
  if (Value == FMaxWidth) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Changed();
}

void TSizeConstraints::SetMaxHeight(int Value) {
  Value = ClampSize(Value);
  if (Value == FMaxHeight) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Changed();
}

void TSizeConstraints::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TSizeConstraints*>(Source)) {
    FMinWidth = src->FMinWidth;
    FMinHeight = src->FMinHeight;
    FMaxWidth = src->FMaxWidth;
    FMaxHeight = src->FMaxHeight;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// ---- TControl: life ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = [this](TMessage& Message) { WndProc(Message); };
  FMargins = new TMargins(this);
  FMargins->OnChange = [this](TObject*) { RequestAlign(); };
  FConstraints = new TSizeConstraints(this);
  FConstraints->OnChange = [this](TObject*) { AdjustSize(); };
  FFont = new TFont;
  FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
  Destroying();
  delete FActionLink;
  FActionLink = nullptr;
  if (gMouseControl == this) gMouseControl = nullptr;
  if (gCaptureControl == this) SetCaptureControl(nullptr);
  std::erase(PopupMenuUsers(), this);
  // Windowed controls leave their parent in their own destructor, while they still are.
  if (FParent) FParent->RemoveControl(this);
  delete FFont;
  delete FConstraints;
  delete FMargins;
}

void TControl::SetParent(TWinControl* AParent) {
  if (FParent == AParent) return;
  for (TControl* p = AParent; p; p = p->FParent)
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (FParent) FParent->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::SetName(const String& NewName) {
  const bool changeText = FControlStyle.Contains(csSetCaption) && !ComponentState().Contains(csLoading) &&
                          Name() == GetText() &&
                          !(Owner() && Owner()->ComponentState().Contains(csLoading));
  TComponent::SetName(NewName);
  if (changeText) SetText(NewName);
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  UpdateExplicitBounds();
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

// ---- TControl: place ----

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  ALeft = ClampCoordinate(ALeft);
  ATop = ClampCoordinate(ATop);
  AWidth = ClampSize(AWidth);
  AHeight = ClampSize(AHeight);
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  const bool sized = AWidth != FWidth || AHeight != FHeight;
  InvalidateControl(FVisible, false);
  FLeft = ALeft;
  FTop = ATop;
  FWidth = AWidth;
  FHeight = AHeight;
  UpdateAnchorRules();
  UpdateExplicitBounds();
  Invalidate();
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
  RequestAlign();
  if (sized && !ComponentState().Contains(csLoading)) Resize();
}

void TControl::UpdateBoundsRect(const TRect& R) {
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = std::max(0, int(R.Width()));
  FHeight = std::max(0, int(R.Height()));
  UpdateAnchorRules();
  UpdateExplicitBounds();
}

void TControl::UpdateExplicitBounds() {
  if (FAnchorMove || FControlState.Contains(csAligning)) return;
  FExplicitLeft = FLeft;
  FExplicitTop = FTop;
  FExplicitWidth = FWidth;
  FExplicitHeight = FHeight;
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || ComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop}) {
    FAnchorOrigin = {};
    return;
  }
  if (FAnchors.Contains(akRight))
    FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else
    FAnchorRules.X = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom))
    FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
  else
    FAnchorRules.Y = FTop + FHeight / 2;
  if (FParent) FAnchorOrigin = FParent->ClientRect().BottomRight();
}

TRect TControl::ClientRect() const { return {0, 0, FWidth, FHeight}; }

void TControl::SetClientSize(int AWidth, int AHeight) {
  const TRect client = ClientRect();
  SetBounds(FLeft, FTop, FWidth - client.Right + AWidth, FHeight - client.Bottom + AHeight);
}

TPoint TControl::ClientOrigin() const {
  if (!FParent) NoParentWindow(this);
  TPoint p = FParent->ClientOrigin();
  return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(const TPoint& P) const {
  const TPoint o = ClientOrigin();
  return {P.X + o.X, P.Y + o.Y};
}

TPoint TControl::ScreenToClient(const TPoint& P) const {
  const TPoint o = ClientOrigin();
  return {P.X - o.X, P.Y - o.Y};
}

TPoint TControl::ClientToParent(const TPoint& P, TWinControl* AParent) const {
  if (!AParent) AParent = FParent;
  if (!AParent) NoParentWindow(this);
  TPoint result{P.X + FLeft, P.Y + FTop};
  for (TWinControl* c = FParent; c; c = c->FParent) {
    if (c == AParent) return result;
    result.X += c->FLeft;
    result.Y += c->FTop;
  }
  throw EInvalidOperation("Parent given is not a parent of '" + Name() + "'");
}

TPoint TControl::ParentToClient(const TPoint& P, TWinControl* AParent) const {
  const TPoint origin = ClientToParent({0, 0}, AParent);
  return {P.X - origin.X, P.Y - origin.Y};
}

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) return;
  static constexpr TAnchors kAnchorAlign[] = {
      {akLeft, akTop},                   // alNone
      {akLeft, akTop, akRight},          // alTop
      {akLeft, akRight, akBottom},       // alBottom
      {akLeft, akTop, akBottom},         // alLeft
      {akRight, akTop, akBottom},        // alRight
      {akLeft, akTop, akRight, akBottom},  // alClient
      {akLeft, akTop},                   // alCustom
  };
  const TAlign old = FAlign;
  FAlign = Value;
  FAnchors = kAnchorAlign[Value];
  if (!ComponentState().Contains(csLoading) && Value != alCustom && old != alCustom) {
    const bool wasVertical = old == alTop || old == alBottom;
    const bool isHorizontal = Value == alLeft || Value == alRight;
    // Turning from a top/bottom bar to a side bar (or back) swaps the thickness.
    if (wasVertical == isHorizontal && old != alNone && old != alClient && Value != alNone && Value != alClient)
      SetBounds(FLeft, FTop, FHeight, FWidth);
    else if (old != alNone && Value == alNone)
      SetBounds(FExplicitLeft, FExplicitTop, FExplicitWidth, FExplicitHeight);
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::SetAlignWithMargins(bool Value) {
  if (FAlignWithMargins == Value) return;
  FAlignWithMargins = Value;
  RequestAlign();
}

void TControl::SetAutoSize(bool Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::AdjustSize() {
  if (ComponentState().Contains(csLoading)) return;
  int w = FWidth, h = FHeight;
  if (CheckNewSize(w, h) && (w != FWidth || h != FHeight)) SetBounds(FLeft, FTop, w, h);
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
  bool result = true;
  if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, result);
  return result;
}

bool TControl::CanAutoSize(int&, int&) { return true; }

bool TControl::DoCanResize(int& NewWidth, int& NewHeight) {
  if (!CanResize(NewWidth, NewHeight)) return false;
  DoConstrainedResize(NewWidth, NewHeight);
  return true;
}

bool TControl::DoCanAutoSize(int& NewWidth, int& NewHeight) {
  if (FAlign == alClient) return true;
  int w = NewWidth, h = NewHeight;
  const bool result = CanAutoSize(w, h);
  if (FAlign == alNone || FAlign == alLeft || FAlign == alRight) NewWidth = w;
  if (FAlign == alNone || FAlign == alTop || FAlign == alBottom) NewHeight = h;
  return result;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
  if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::DoConstrainedResize(int& NewWidth, int& NewHeight) {
  int minW = FConstraints->MinWidth(), minH = FConstraints->MinHeight();
  int maxW = FConstraints->MaxWidth(), maxH = FConstraints->MaxHeight();
  ConstrainedResize(minW, minH, maxW, maxH);
  if (maxW > 0 && NewWidth > maxW)
    NewWidth = maxW;
  else if (minW > 0 && NewWidth < minW)
    NewWidth = minW;
  if (maxH > 0 && NewHeight > maxH)
    NewHeight = maxH;
  else if (minH > 0 && NewHeight < minH)
    NewHeight = minH;
}

bool TControl::CheckNewSize(int& NewWidth, int& NewHeight) {
  int w = NewWidth, h = NewHeight;
  if (!DoCanResize(w, h)) return false;
  int w2 = w, h2 = h;
  const bool result = !FAutoSize || (DoCanAutoSize(w2, h2) && w2 == w && h2 == h) || DoCanResize(w2, h2);
  if (result) {
    NewWidth = ClampSize(w2);
    NewHeight = ClampSize(h2);
  }
  return result;
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

// ---- TControl: state ----

void TControl::SetVisible(bool Value) {
  if (FVisible == Value) return;
  VisibleChanging();
  FVisible = Value;
  Perform(CM_VISIBLECHANGED, WPARAM(Value), 0);
  RequestAlign();
}

void TControl::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetStyleElements(TStyleElements Value) {
  if (FStyleElements == Value) return;
  FStyleElements = Value;
  Perform(CM_STYLECHANGED, 0, 0);
  UpdateStyleElements();
}

void TControl::UpdateStyleElements() { Invalidate(); }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

String TControl::GetText() const {
  String text;
  const_cast<TControl*>(this)->Perform(WM_GETTEXT, WPARAM(-1), reinterpret_cast<LPARAM>(&text));
  return text;
}

int TControl::GetTextLen() const { return int(const_cast<TControl*>(this)->Perform(WM_GETTEXTLENGTH, 0, 0)); }

void TControl::SetText(const String& Value) {
  if (GetText() != Value) SetTextBuf(Value);
}

void TControl::SetTextBuf(const String& Value) {
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&Value));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TControl::FontChanged() {
  FParentFont = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FParentColor = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  if (FParent && !ComponentState().Contains(csLoading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (FParentColor == Value) return;
  FParentColor = Value;
  if (FParent && !ComponentState().Contains(csLoading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (FShowHint == Value) return;
  FShowHint = Value;
  FParentShowHint = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (FParentShowHint == Value) return;
  FParentShowHint = Value;
  if (FParent && !ComponentState().Contains(csLoading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

TCustomHint* TControl::CustomHint() const {
  if (FParentCustomHint && FParent) return FParent->CustomHint();
  return FCustomHint;
}

void TControl::SetCustomHint(TCustomHint* Value) {
  if (FCustomHint == Value) return;
  TComponent* old = FCustomHint;
  if (old) old->RemoveFreeNotification(this);
  FCustomHint = Value;
  FParentCustomHint = false;
  if (Value) Value->FreeNotification(this);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == static_cast<TComponent*>(FCustomHint)) FCustomHint = nullptr;
  // A freed action has already let go of its links (their Action is null).
  if (Operation == opRemove && FActionLink &&
      (!FActionLink->Action() || AComponent == static_cast<TComponent*>(FActionLink->Action()))) {
    delete FActionLink;
    FActionLink = nullptr;
    FControlStyle.Exclude(csActionClient);
  }
}

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (FBiDiMode == Value) return;
  FBiDiMode = Value;
  FParentBiDiMode = false;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (FParentBiDiMode == Value) return;
  FParentBiDiMode = Value;
  if (FParent && !ComponentState().Contains(csLoading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  if (UseRightToLeftAlignment()) {
    if ((Flags & DT_RIGHT) == DT_RIGHT)
      Flags &= ~DT_RIGHT;
    else if (!(Flags & DT_CENTER))
      Flags |= DT_RIGHT;
  }
  return Flags | DrawTextBiDiModeFlagsReadingOnly();
}

TAlignment TControl::BiDiAlignment(TAlignment Value) const {
  if (!UseRightToLeftAlignment()) return Value;
  switch (Value) {
    case taLeftJustify: return taRightJustify;
    case taRightJustify: return taLeftJustify;
    default: return Value;
  }
}

void TControl::SetPopupMenu(TPopupMenu* Value) {
  FPopupMenu = Value;
  auto& users = PopupMenuUsers();
  std::erase(users, this);
  if (Value) users.push_back(this);
}

// ---- TControl: painting ----

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if (!IsVisible || !FParent || !FParent->HandleAllocated()) return;
  const TRect r = BoundsRect();
  InvalidateRect(FParent->WindowHandle(), &r,
                 !(IsOpaque || FParent->ControlStyle().Contains(csOpaque)));
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Repaint() {
  if (!FVisible || !FParent || !FParent->HandleAllocated()) return;
  if (FControlStyle.Contains(csOpaque)) {
    HWND window = FParent->WindowHandle();
    HDC dc = GetDC(window);
    if (!dc) return;
    IntersectClipRect(dc, FLeft, FTop, FLeft + FWidth, FTop + FHeight);
    try {
      FParent->PaintControls(dc, this);
    } catch (...) {
      ReleaseDC(window, dc);
      throw;
    }
    ReleaseDC(window, dc);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::Update() {
  if (FParent) FParent->Update();
}

void TControl::SetZOrder(bool TopMost) {
  if (!FParent) return;
  SetZOrderPosition(TopMost ? FParent->ControlCount() - 1 : 0);
}

void TControl::SetZOrderPosition(int Position) {
  if (!FParent) return;
  auto& list = FParent->FControls;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  const int index = int(it - list.begin());
  // A graphic control moves among the graphic ones only.
  const int last = FParent->GraphicCount() - 1;
  Position = std::clamp(Position, 0, std::max(last, 0));
  if (Position != index) {
    list.erase(it);
    list.insert(list.begin() + Position, this);
  }
  InvalidateControl(FVisible, true);
}

HDC TControl::GetDeviceContext(HWND& WindowHandle) {
  if (!FParent) NoParentWindow(this);
  HDC dc = FParent->GetDeviceContext(WindowHandle);
  SetViewportOrgEx(dc, FLeft, FTop, nullptr);
  IntersectClipRect(dc, 0, 0, FWidth, FHeight);
  return dc;
}

// ---- TControl: messages ----

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage message;
  message.Msg = Msg;
  message.WParam = WParam;
  message.LParam = LParam;
  if (WindowProc)
    WindowProc(message);
  else
    WndProc(message);
  return message.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!FControlStyle.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK: Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN; break;
        default: break;
      }
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (HintMouseMessageHook) HintMouseMessageHook(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK: FControlState += csLButtonDown; break;
      case WM_LBUTTONUP: FControlState -= csLButtonDown; break;
      default: break;
    }
  }
  Dispatch(Message);
}

void TControl::HandleMouseMessage(TMessage& Message) {
  const int x = Message.XPos(), y = Message.YPos();
  const TShiftState keys = KeysToShiftState(WORD(Message.WParam));
  const bool stdEvents = !FControlStyle.Contains(csNoStdEvents);
  const bool capture = FControlStyle.Contains(csCaptureMouse);
  TMouseButton button = mbLeft;
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      DefaultHandler(Message);
      if (stdEvents) MouseMove(keys, x, y);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP: button = mbRight; break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: button = mbMiddle; break;
    default: break;
  }
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const bool dbl = Message.Msg == WM_LBUTTONDBLCLK || Message.Msg == WM_RBUTTONDBLCLK ||
                       Message.Msg == WM_MBUTTONDBLCLK;
      SendCancelMode(this);
      DefaultHandler(Message);
      if (capture) SetMouseCapture(true);
      if (button == mbLeft && FControlStyle.Contains(csClickEvents)) {
        if (dbl)
          DblClick();
        else
          FControlState += csClicked;
      }
      if (stdEvents) MouseDown(button, dbl ? keys + ssDouble : keys, x, y);
      return;
    }
    default: {
      DefaultHandler(Message);
      if (capture) SetMouseCapture(false);
      if (button == mbLeft && FControlState.Contains(csClicked)) {
        FControlState -= csClicked;
        // A click only when the button comes up where it went down: on the control.
        if (ClientRect().Contains({x, y})) Click();
      }
      if (stdEvents) MouseUp(button, keys, x, y);
      return;
    }
  }
}

void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: HandleMouseMessage(Message); return;
    case WM_MOUSEWHEEL:
      MouseWheelHandler(Message);
      // Parents heard it through CM_MOUSEWHEEL already; only a root passes it on.
      if (Message.Result == 0 && !FParent) DefaultHandler(Message);
      return;
    case CM_MOUSEWHEEL: {
      Message.Result = 0;
      const TPoint pos{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      if (DoMouseWheel(KeysToShiftState(LOWORD(Message.WParam)), GET_WHEEL_DELTA_WPARAM(Message.WParam), pos))
        Message.Result = 1;
      else if (FParent)
        Message.Result = FParent->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
      return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: {
      const LPARAM source = Message.LParam ? Message.LParam : reinterpret_cast<LPARAM>(this);
      if (FParent) FParent->Perform(Message.Msg, 0, source);
      if (source == reinterpret_cast<LPARAM>(this)) {
        FMouseInClient = Message.Msg == CM_MOUSEENTER;
        if (FMouseInClient) {
          if (OnMouseEnter) OnMouseEnter(this);
        } else if (OnMouseLeave) {
          OnMouseLeave(this);
        }
      }
      return;
    }
    case WM_CONTEXTMENU: {
      if (Message.Result != 0) return;
      TPoint pt{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      const bool fromKeyboard = pt.X == -1 && pt.Y == -1;
      TPoint local = pt;
      if (!fromKeyboard) {
        local = ScreenToClient(pt);
        if (!ClientRect().Contains(local)) {
          DefaultHandler(Message);
          return;
        }
      }
      bool handled = false;
      DoContextPopup(local, handled);
      Message.Result = handled ? 1 : 0;
      if (handled) return;
      if (TPopupMenu* menu = GetPopupMenu(); menu && PopupMenuHook) {
        SendCancelMode(nullptr);
        if (fromKeyboard) pt = ClientToScreen({0, 0});
        if (PopupMenuHook(this, menu, pt)) Message.Result = 1;
      }
      if (Message.Result == 0) DefaultHandler(Message);
      return;
    }
    case CM_HITTEST: Message.Result = HTCLIENT; return;
    case WM_CANCELMODE:
      FControlState -= csClicked;
      if (MouseCapture()) SetMouseCapture(false);
      DefaultHandler(Message);
      return;
    case CM_VISIBLECHANGED: InvalidateControl(true, FVisible && FControlStyle.Contains(csOpaque)); return;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED: Invalidate(); return;
    case CM_PARENTFONTCHANGED:
      if (FParentFont) {
        if (Message.WParam)
          SetFont(reinterpret_cast<TFont*>(Message.LParam));
        else if (FParent)
          SetFont(FParent->FFont);
        FParentFont = true;
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (FParentColor) {
        if (Message.WParam)
          SetColor(TColor(Message.LParam));
        else if (FParent)
          SetColor(FParent->FColor);
        FParentColor = true;
      }
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (FParentShowHint && FParent) {
        SetShowHint(FParent->FShowHint);
        FParentShowHint = true;
      }
      return;
    case CM_BIDIMODECHANGED: Invalidate(); return;
    case CM_PARENTBIDIMODECHANGED:
      if (FParentBiDiMode && FParent) {
        SetBiDiMode(FParent->FBiDiMode);
        FParentBiDiMode = true;
      }
      return;
    case CM_CURSORCHANGED:
      // The cursor shows at once when the mouse is over the control.
      if (gMouseControl == this) {
        TWinControl* window = dynamic_cast<TWinControl*>(this);
        if (!window) window = FParent;
        if (window && window->HandleAllocated())
          SendMessage(window->WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window->WindowHandle()),
                      MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      }
      return;
    default: TComponent::Dispatch(Message); return;
  }
}

void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<String*>(Message.LParam);
      if (!out) return;
      const int count = int(std::min<WPARAM>(Message.WParam, WPARAM(INT32_MAX)));
      *out = Copy(FText, 0, count);
      Message.Result = Length(*out);
      return;
    }
    case WM_GETTEXTLENGTH: Message.Result = Length(FText); return;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const String*>(Message.LParam);
      FText = text ? *text : String();
      Message.Result = TRUE;
      return;
    }
    default: TComponent::DefaultHandler(Message); return;
  }
}

void TControl::MouseWheelHandler(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::SendCancelMode(TControl* Sender) {
  TWinControl* root = Outermost(this);
  if (root && root->InheritsFrom("TCustomForm"))
    root->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(Sender));
}

void TControl::Click() {
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute(this);
}

// ---- TControl: action ----

TBasicAction* TControl::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* Value) {
  if (Value == Action()) return;
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  if (!Value) {
    delete FActionLink;
    FActionLink = nullptr;
    FControlStyle.Exclude(csActionClient);
    return;
  }
  FControlStyle.Include(csActionClient);
  if (!FActionLink) FActionLink = CreateActionLink();
  FActionLink->SetAction(Value);
  Value->FreeNotification(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(action->Hint());
  if (!CheckDefaults || Visible()) SetVisible(action->Visible());
}

TControlActionLink* TControl::CreateActionLink() { return new TControlActionLink(this); }

// ---- TControlActionLink ----

TControlActionLink::TControlActionLink(TObject* AClient) : TActionLink(AClient) {
  TControlActionLink::AssignClient(AClient);
}

void TControlActionLink::AssignClient(TObject* AClient) { FClient = dynamic_cast<TControl*>(AClient); }

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient && FClient->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient && FClient->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient && FClient->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient && FClient->Visible() == CustomAction()->Visible();
}

void TControlActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}

void TControlActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool result = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, result);
  if (result) return true;
  // Whole notches become wheel-down / wheel-up calls; the rest waits for the next delta.
  FWheelAccumulator = std::clamp(FWheelAccumulator + WheelDelta, -kMaxCoordinate, kMaxCoordinate);
  while (std::abs(FWheelAccumulator) >= kWheelDelta) {
    if (FWheelAccumulator < 0) {
      FWheelAccumulator += kWheelDelta;
      result = DoMouseWheelDown(Shift, MousePos);
    } else {
      FWheelAccumulator -= kWheelDelta;
      result = DoMouseWheelUp(Shift, MousePos);
    }
  }
  return result;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  bool result = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, result);
  return result;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  bool result = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, result);
  return result;
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

// ---- TControl: scaling ----

void TControl::ScaleBy(int M, int D) {
  const int left = FLeft, top = FTop;
  ChangeScale(M, D, false);
  if (FLeft != left || FTop != top) SetBounds(left, top, FWidth, FHeight);
}

void TControl::ChangeScale(int M, int D, bool) {
  if (M == D || M <= 0 || D <= 0) return;
  if (!FParentFont) {
    const int height = MulDiv(FFont->Height(), M, D);
    if (height != -1 || FFont->Height() == 0) FFont->SetHeight(height);
  }
  FScaleFactor = FScaleFactor * M / D;
  auto scale = [&](int v) { return ClampCoordinate(MulDiv(v, M, D)); };
  const int x = scale(FLeft), y = scale(FTop);
  const int w = FControlStyle.Contains(csFixedWidth) ? FWidth : scale(FLeft + FWidth) - x;
  const int h = FControlStyle.Contains(csFixedHeight) ? FHeight : scale(FTop + FHeight) - y;
  // Constraints first, quietly, so that they do not hold the new size back.
  TSizeConstraints& c = *FConstraints;
  c.FMinWidth = ClampSize(scale(c.FMinWidth));
  c.FMinHeight = ClampSize(scale(c.FMinHeight));
  c.FMaxWidth = ClampSize(scale(c.FMaxWidth));
  c.FMaxHeight = ClampSize(scale(c.FMaxHeight));
  FMargins->SetBounds(scale(FMargins->Left()), scale(FMargins->Top()), scale(FMargins->Right()),
                      scale(FMargins->Bottom()));
  SetBounds(x, y, w, h);
}
