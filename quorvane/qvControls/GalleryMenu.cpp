#include "qvControls/GalleryMenu.h"

#include <algorithm>

#include "gdi/Gdi.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/ContentLayout.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/Style.h"
#include "qvDrawUtils/Text.h"
#include "qvHint/Hint.h"
#include "vcl/SysUtils.h"
#include "win/Input.h"

// ---- TqvGalleryMenuItem ----

TqvGalleryMenuItem::TqvGalleryMenuItem(TCollection* Collection) : TCollectionItem(Collection) {
  // The collection heard of the item while it was only a TCollectionItem; now it is whole.
  Changed(false);
}

void TqvGalleryMenuItem::Assign(TPersistent* Source) {
  auto* item = dynamic_cast<TqvGalleryMenuItem*>(Source);
  if (!item) {
    TCollectionItem::Assign(Source);
    return;
  }
  FImageIndex = item->FImageIndex;
  FCaption = item->FCaption;
  FButton = item->FButton;
  FHeader = item->FHeader;
  FHint = item->FHint;
  Changed(false);
}

String TqvGalleryMenuItem::GetDisplayName() const {
  return FCaption.empty() ? TCollectionItem::GetDisplayName() : FCaption;
}

namespace {
template <class T>
void SetField(T& Field, const T& Value, TqvGalleryMenuItem* Item, void (TqvGalleryMenuItem::*Notify)(bool)) {
  if (Field == Value) return;
  Field = Value;
  (Item->*Notify)(false);
}
}  // namespace

void TqvGalleryMenuItem::SetImageIndex(int Value) { SetField(FImageIndex, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetCaption(const String& Value) {
  SetField(FCaption, Value, this, &TqvGalleryMenuItem::Changed);
}
void TqvGalleryMenuItem::SetButton(bool Value) { SetField(FButton, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetHeader(bool Value) { SetField(FHeader, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetHint(const String& Value) { SetField(FHint, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetEnabled(bool Value) { SetField(FEnabled, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetColor(TColor Value) { SetField(FColor, Value, this, &TqvGalleryMenuItem::Changed); }
void TqvGalleryMenuItem::SetShowColor(bool Value) { SetField(FShowColor, Value, this, &TqvGalleryMenuItem::Changed); }

// ---- TqvGalleryMenuItems ----

TqvGalleryMenuItems::TqvGalleryMenuItems(TqvGalleryMenu* AGalleryMenu)
    : TCollection(ItemClassOf<TqvGalleryMenuItem>()), FGalleryMenu(AGalleryMenu) {}

TqvGalleryMenuItem* TqvGalleryMenuItems::Add() { return static_cast<TqvGalleryMenuItem*>(TCollection::Add()); }

TqvGalleryMenuItem* TqvGalleryMenuItems::Items(int Index) const {
  return static_cast<TqvGalleryMenuItem*>(TCollection::Items(Index));
}

void TqvGalleryMenuItems::SetItems(int Index, TqvGalleryMenuItem* Value) { TCollection::SetItems(Index, Value); }

TPersistent* TqvGalleryMenuItems::GetOwner() const { return FGalleryMenu; }

void TqvGalleryMenuItems::Update(TCollectionItem*) {
  if (!FGalleryMenu) return;
  // An item being made is not a gallery item yet: its constructor tells again.
  for (int i = 0; i < Count(); ++i)
    if (!dynamic_cast<TqvGalleryMenuItem*>(TCollection::Items(i))) return;
  FGalleryMenu->ItemsChanged();
}

// ---- TqvGalleryMenu ----

namespace {

// Calls a copy of the event: a handler may replace the event it runs from.
void Fire(const TNotifyEvent& Event, TObject* Sender) {
  if (!Event) return;
  TNotifyEvent handler = Event;
  handler(Sender);
}

}  // namespace

TqvGalleryMenu::TqvGalleryMenu(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true)) {
  FItems = new TqvGalleryMenuItems(this);
  FItemFont = new TFont;
  FHeaderFont = new TFont;
  FItemFont->OnChange = [this](TObject*) { FontChanged(); };
  FHeaderFont->OnChange = [this](TObject*) { FontChanged(); };
}

TqvGalleryMenu::~TqvGalleryMenu() {
  *FAlive = false;
  DropPopup();
  delete FItems;
  FItems = nullptr;
  delete FItemFont;
  delete FHeaderFont;
}

void TqvGalleryMenu::DropPopup() {
  TqvGalleryMenuPopupWindow* popup = FPopupWindow;
  if (!popup) return;
  // The window may be handling a message right now, so it goes when the loop next drains
  // instead of here.
  FPopupWindow = nullptr;
  if (FHintComponent) FHintComponent->HideHint();
  popup->FGalleryMenu = nullptr;
  popup->Hide(false);
  RemoveComponent(popup);
  popup->Release();
}

void TqvGalleryMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  const bool images = AComponent == FImages;
  if (images) FImages = nullptr;
  if (AComponent == FHintComponent) FHintComponent = nullptr;
  // The cells have nothing to show any more. While the form goes down with everything on
  // it, no events fire into it.
  if (images && FPopupWindow) {
    if (ComponentState().Contains(csDestroying))
      DropPopup();
    else
      Hide();
  }
}

void TqvGalleryMenu::Popup(int X, int Y) { OpenAt(Rect(X, Y, X, Y), false, false, false); }

void TqvGalleryMenu::PopupExt(int X, int Y, bool AFromTop, bool AFromRight) {
  OpenAt(Rect(X, Y, X, Y), true, AFromTop, AFromRight);
}

void TqvGalleryMenu::PopupFromRect(const TRect& R) { OpenAt(R, false, false, false); }

void TqvGalleryMenu::PopupFromRectExt(const TRect& R, bool AFromTop, bool AFromRight) {
  OpenAt(R, true, AFromTop, AFromRight);
}

void TqvGalleryMenu::OpenAt(const TRect& R, bool AExt, bool AFromTop, bool AFromRight) {
  const std::shared_ptr<bool> alive = FAlive;
  if (FPopupWindow) {
    Hide();
    if (!*alive) return;
  }
  Fire(OnMenuPopup, this);
  if (!*alive) return;
  if (!FImages || FImages->Count() == 0) {
    // The menu does not open. The opener (a button) stays pressed until it hears that the
    // menu closed, so it hears it now.
    Fire(OnInternalMenuClose, this);
    return;
  }
  // OnMenuPopup opened it already.
  if (FPopupWindow) return;
  FOldItemIndex = FItemIndex;
  FPopupWindow = new TqvGalleryMenuPopupWindow(this, FScaleFactor);
  if (AExt)
    FPopupWindow->ShowExt(R, AFromTop, AFromRight);
  else
    FPopupWindow->Show(R);
}

void TqvGalleryMenu::Hide() {
  if (FPopupWindow) FPopupWindow->Hide(false);
}

void TqvGalleryMenu::PopupClosed(bool AProcessEvents) {
  if (TqvGalleryMenuPopupWindow* popup = FPopupWindow) {
    // The window may be inside its own message handler: it goes when the loop drains, and
    // no longer with the menu.
    FPopupWindow = nullptr;
    RemoveComponent(popup);
    popup->Release();
  }
  const std::shared_ptr<bool> alive = FAlive;
  const int oldIndex = FOldItemIndex;
  Fire(OnInternalMenuClose, this);
  if (!*alive) return;
  Fire(OnMenuClose, this);
  if (!*alive) return;
  if (AProcessEvents && FItemIndex >= 0 && FItemIndex < FItems->Count()) {
    Fire(FItems->Items(FItemIndex)->OnClick, this);
    if (!*alive) return;
    Fire(OnItemClick, this);
    if (!*alive) return;
  }
  if (FItemIndex != oldIndex) {
    Fire(OnInternalChange, this);
    if (!*alive) return;
    Fire(OnChange, this);
  }
}

bool TqvGalleryMenu::Selectable(int Index) const {
  if (Index < 0 || Index >= FItems->Count()) return false;
  const TqvGalleryMenuItem* item = FItems->Items(Index);
  return !item->Header() && item->Enabled();
}

void TqvGalleryMenu::ItemsChanged() {
  if (!FPopupWindow) return;
  TqvGalleryMenuPopupWindow* popup = FPopupWindow;
  const TSize size = popup->LayoutItems();
  if (!Selectable(popup->FMouseInItem)) popup->FMouseInItem = -1;
  popup->SetBounds(popup->Left(), popup->Top(), size.cx, size.cy);
  popup->RePaintControl();
}

void TqvGalleryMenu::FontChanged() {
  if (FPopupWindow) FPopupWindow->RePaintControl();
}

TqvGalleryMenuItem* TqvGalleryMenu::SelectedItem() const {
  return FItemIndex >= 0 && FItemIndex < FItems->Count() ? FItems->Items(FItemIndex) : nullptr;
}

void TqvGalleryMenu::SetImages(TCustomImageList* Value) {
  if (Value == FImages) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  // An open menu without images has nothing to show.
  if (FPopupWindow && (!FImages || FImages->Count() == 0))
    Hide();
  else
    ItemsChanged();
}

void TqvGalleryMenu::SetItems(TqvGalleryMenuItems* Value) { FItems->Assign(Value); }

void TqvGalleryMenu::SetHeaderStyle(TqvMenuHeaderStyle Value) {
  if (Value == FHeaderStyle) return;
  FHeaderStyle = Value;
  FontChanged();
}

void TqvGalleryMenu::SetHeaderHeight(int Value) {
  if (Value == FHeaderHeight) return;
  FHeaderHeight = Value;
  ItemsChanged();
}

void TqvGalleryMenu::SetItemIndex(int Value) {
  if (Value == FItemIndex) return;
  const int old = FItemIndex;
  FItemIndex = Value;
  if (Value >= FItems->Count() || (Value >= 0 && FItems->Items(Value)->Header())) FItemIndex = old;
  if (FItemIndex == old) return;
  if (FPopupWindow) {
    // Told here already: closing must not tell it again.
    FOldItemIndex = FItemIndex;
    FPopupWindow->RePaintControl();
  }
  if (ComponentState().Contains(csLoading)) return;
  const std::shared_ptr<bool> alive = FAlive;
  Fire(OnInternalChange, this);
  if (!*alive) return;
  Fire(OnChange, this);
}

void TqvGalleryMenu::SetHintComponent(TqvHint* Value) {
  if (Value == FHintComponent) return;
  if (FHintComponent) FHintComponent->RemoveFreeNotification(this);
  FHintComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TqvGalleryMenu::SetBackgroundStyle(TqvGalleryMenuBGStyle Value) { FBackgroundStyle = Value; }

void TqvGalleryMenu::SetItemFont(TFont* Value) { FItemFont->Assign(Value); }

void TqvGalleryMenu::SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }

void TqvGalleryMenu::SetColumnsCount(int Value) {
  if (Value < 1 || Value > 50 || Value == FColumnsCount) return;
  FColumnsCount = Value;
  ItemsChanged();
}

void TqvGalleryMenu::SetShowSelectedItem(bool Value) {
  if (Value == FShowSelectedItem) return;
  FShowSelectedItem = Value;
  FontChanged();
}

void TqvGalleryMenu::SetButtonLeftAlignment(bool Value) {
  if (Value == FButtonLeftAlignment) return;
  FButtonLeftAlignment = Value;
  FontChanged();
}

void TqvGalleryMenu::SetButtonGlyphLeftAlignment(bool Value) {
  if (Value == FButtonGlyphLeftAlignment) return;
  FButtonGlyphLeftAlignment = Value;
  FontChanged();
}

void TqvGalleryMenu::SetScaleFactor(double Value) { FScaleFactor = std::max(1.0, Value); }

// ---- TqvGalleryMenuPopupWindow ----

// What the handler in Application->OnMessage shares with the popup. The popup lets go of
// it when it closes; a handler still called afterwards (another component kept it as its
// previous one) only passes the message on.
struct TqvGalleryMenuPopupWindow::THookState {
  TqvGalleryMenuPopupWindow* Popup = nullptr;
  TApplication* App = nullptr;
  TMessageEvent Previous;

  struct THandler {
    std::shared_ptr<THookState> State;
    void operator()(MSG& Msg, bool& Handled) const {
      const std::shared_ptr<THookState> state = State;  // the call may replace this handler
      if (state->Popup && state->Popup->AppMessage(Msg)) {
        Handled = true;
        return;
      }
      if (state->Previous) {
        TMessageEvent previous = state->Previous;
        previous(Msg, Handled);
      }
    }
  };

  // Skips handlers of closed popups at the top of a chain.
  static TMessageEvent Unwrap(TMessageEvent Handler) {
    while (const THandler* h = Handler.target<THandler>()) {
      if (h->State->Popup) break;
      TMessageEvent previous = h->State->Previous;
      Handler = std::move(previous);
    }
    return Handler;
  }
};

TqvGalleryMenuPopupWindow::TqvGalleryMenuPopupWindow(TqvGalleryMenu* AGalleryMenu, double AScaleFactor)
    : TqvPanel(AGalleryMenu), FGalleryMenu(AGalleryMenu) {
  SetVisible(false);
  FScaleFactor = std::max(1.0, AScaleFactor);
  SetBorderStyle(qvpbsFlat);
  switch (AGalleryMenu ? AGalleryMenu->BackgroundStyle() : qvgmPanel) {
    case qvgmToolBar: SetStyleKind(qvpsToolBar); break;
    case qvgmFormBackground: SetStyleKind(qvpsFormBackground); break;
    default: SetStyleKind(qvpsPanel); break;
  }
}

TqvGalleryMenuPopupWindow::~TqvGalleryMenuPopupWindow() {
  FClosing = true;
  FGalleryMenu = nullptr;
  RemoveHook();
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
}

void TqvGalleryMenuPopupWindow::CreateParams(TCreateParams& Params) {
  TqvPanel::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

TSize TqvGalleryMenuPopupWindow::LayoutItems() {
  if (!FGalleryMenu) return {0, 0};
  TqvGalleryMenuItems* items = FGalleryMenu->Items();
  TCustomImageList* images = FGalleryMenu->Images();
  const double s = FScaleFactor;
  const int m = Round(10 * s);
  const int cw = m + (images ? images->Width() : 0);
  const int ch = m + (images ? images->Height() : 0);
  const int columns = FGalleryMenu->ColumnsCount();
  const int right = cw * columns + 2;
  const int headerHeight = Round(FGalleryMenu->HeaderHeight() * s);
  int x = 2, y = 2;
  for (int i = 0; i < items->Count(); ++i) {
    TqvGalleryMenuItem* item = items->Items(i);
    if (item->Header() || item->Button()) {
      // A full-width row starts a row of its own.
      if (x != 2) y += ch + 1;
      const int h = item->Header() ? headerHeight : ch;
      item->ItemRect = Rect(2, y, right, y + h);
      y += h + 1;
      x = 2;
    } else {
      item->ItemRect = Rect(x, y, x + cw, y + ch);
      x += cw;
      if (x + cw > right) {
        y += ch + 1;
        x = 2;
      }
    }
  }
  const int height = items->Count() > 0 ? items->Items(items->Count() - 1)->ItemRect.Bottom -
                                              items->Items(0)->ItemRect.Top + 4
                                        : 4;
  return {columns * cw + 4, height};
}

int TqvGalleryMenuPopupWindow::ItemAtPos(const TPoint& P) const {
  if (!FGalleryMenu) return -1;
  TqvGalleryMenuItems* items = FGalleryMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    const TRect& r = items->Items(i)->ItemRect;
    if (FGalleryMenu->Selectable(i) && P.X >= r.Left && P.X <= r.Right && P.Y >= r.Top && P.Y <= r.Bottom) return i;
  }
  return -1;
}

void TqvGalleryMenuPopupWindow::Place(const TRect& R, bool AExt, bool AFromTop, bool AFromRight) {
  const TSize size = LayoutItems();
  const int w = size.cx, h = size.cy;
  const TRect area = ActiveFormWorkArea(Screen ? Screen->WorkAreaRect() : TRect{});
  int x = R.Left, y = R.Bottom;
  if (AExt) {
    if (AFromTop) {
      y = R.Top - h;
      if (y < area.Top) y = R.Bottom;
    }
    if (AFromRight) {
      x = R.Right - w;
      if (x < area.Left) x = R.Left;
    }
  }
  // No room below: above the rectangle, so that no item is out of reach off the screen.
  if (y + h > area.Bottom) y = R.Top - h;
  // Kept right of the left edge, left of the right edge and below the top; when neither
  // below nor above fits, the top edge wins.
  const TRect placed =
      KeepInside(Bounds(x, y, w, h), Rect(area.Left, area.Top, area.Right, std::max(area.Bottom, y + h)));
  SetBounds(placed.Left, placed.Top, w, h);
  SetWindowPos(Handle(), HWND_TOPMOST, placed.Left, placed.Top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  SetVisible(true);
  Invalidate();
  Update();
  InstallHook();
  SetCapture(Handle());
}

void TqvGalleryMenuPopupWindow::Show(const TRect& R) { Place(R, false, false, false); }

void TqvGalleryMenuPopupWindow::ShowExt(const TRect& R, bool AFromTop, bool AFromRight) {
  Place(R, true, AFromTop, AFromRight);
}

void TqvGalleryMenuPopupWindow::Hide(bool AProcessEvents) {
  if (FClosing) return;
  FClosing = true;
  // Handlers below may run a message loop: this window, released by the menu, stays until
  // they are through.
  TReleaseHold hold;
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetVisible(false);
  HideItemHint();
  RemoveHook();
  if (HandleAllocated() && GetCapture() == Handle()) ReleaseCapture();
  if (TqvGalleryMenu* menu = FGalleryMenu) {
    FGalleryMenu = nullptr;
    if (menu->FPopupWindow == this) menu->PopupClosed(AProcessEvents);
  }
}

void TqvGalleryMenuPopupWindow::InstallHook() {
  if (!Application || FHook) return;
  FHook = std::make_shared<THookState>();
  FHook->Popup = this;
  FHook->App = Application;
  FHook->Previous = THookState::Unwrap(Application->OnMessage);
  Application->OnMessage = THookState::THandler{FHook};
}

void TqvGalleryMenuPopupWindow::RemoveHook() {
  if (!FHook) return;
  const std::shared_ptr<THookState> hook = std::move(FHook);
  FHook.reset();
  hook->Popup = nullptr;
  if (!Application || Application != hook->App) return;
  // Only our own handler is taken out. Another component that replaced it meanwhile keeps
  // its handler; ours, if that one calls it, passes every message on.
  const auto* current = Application->OnMessage.target<THookState::THandler>();
  if (current && current->State == hook) Application->OnMessage = THookState::Unwrap(hook->Previous);
}

bool TqvGalleryMenuPopupWindow::AppMessage(MSG& Msg) {
  switch (Msg.message) {
    case WM_MOUSEACTIVATE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_MOVE:
    case WM_SIZE:
    case WM_CANCELMODE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      // The message still goes where it was going.
      Hide(false);
      return false;
    case WM_KEYDOWN: KeyPressed(WORD(Msg.wParam)); return true;
    case WM_MOUSEWHEEL: return true;
    default: return false;
  }
}

void TqvGalleryMenuPopupWindow::KeyPressed(WORD Key) {
  switch (Key) {
    case VK_RETURN:
    case VK_SPACE: ChooseHotItem(); return;
    case VK_ESCAPE: Hide(false); return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: MoveHotItem(Key); return;
    default: return;
  }
}

void TqvGalleryMenuPopupWindow::ChooseHotItem() {
  if (FGalleryMenu && FGalleryMenu->Selectable(FMouseInItem)) FGalleryMenu->FItemIndex = FMouseInItem;
  Hide(true);
}

void TqvGalleryMenuPopupWindow::MoveHotItem(WORD Key) {
  if (!FGalleryMenu) return;
  TqvGalleryMenu* menu = FGalleryMenu;
  const int count = menu->Items()->Count();
  auto selectable = [&](int i) { return menu->Selectable(i); };
  auto firstFrom = [&](int i) {
    for (; i < count; ++i)
      if (selectable(i)) return i;
    return -1;
  };
  auto lastFrom = [&](int i) {
    for (; i >= 0; --i)
      if (selectable(i)) return i;
    return -1;
  };
  const int hot = FMouseInItem >= 0 && FMouseInItem < count ? FMouseInItem : -1;
  int next = hot;
  switch (Key) {
    case VK_RIGHT:
      // Past the last selectable item it wraps to the first.
      next = hot < 0 ? firstFrom(0) : firstFrom(hot + 1);
      if (next < 0) next = firstFrom(0);
      break;
    case VK_LEFT:
      next = hot < 0 ? lastFrom(count - 1) : lastFrom(hot - 1);
      if (next < 0) next = lastFrom(count - 1);
      break;
    case VK_DOWN:
    case VK_UP: {
      if (hot < 0) {
        next = Key == VK_DOWN ? firstFrom(0) : lastFrom(count - 1);
        break;
      }
      // The nearest item in another row: a full-width button row, or a cell of the same
      // column.
      const TRect from = menu->Items()->Items(hot)->ItemRect;
      const int step = Key == VK_DOWN ? 1 : -1;
      for (int i = hot + step; i >= 0 && i < count; i += step) {
        if (!selectable(i)) continue;
        const TqvGalleryMenuItem* item = menu->Items()->Items(i);
        const bool otherRow = Key == VK_DOWN ? item->ItemRect.Top > from.Top : item->ItemRect.Top < from.Top;
        if (otherRow && (item->Button() || item->ItemRect.Left == from.Left)) {
          next = i;
          break;
        }
      }
      break;
    }
    default: return;
  }
  if (next < 0) next = hot;
  FOldMouseInItem = FMouseInItem;
  FMouseInItem = next;
  RePaintControl();
}

void TqvGalleryMenuPopupWindow::SetHotItem(int Index) {
  if (Index == FMouseInItem) return;
  FOldMouseInItem = FMouseInItem;
  FMouseInItem = Index;
  RePaintControl();
  ShowItemHint();
}

void TqvGalleryMenuPopupWindow::ShowItemHint() {
  if (!FGalleryMenu || !FGalleryMenu->ShowHints() || FMouseInItem < 0) return;
  TqvHint* hint = FGalleryMenu->HintComponent();
  if (!hint || FMouseInItem >= FGalleryMenu->Items()->Count()) return;
  hint->HideHint();
  const String text = FGalleryMenu->Items()->Items(FMouseInItem)->Hint();
  if (!text.empty()) hint->ActivateHint(text);
}

void TqvGalleryMenuPopupWindow::HideItemHint() {
  if (FGalleryMenu && FGalleryMenu->HintComponent()) FGalleryMenu->HintComponent()->HideHint();
}

void TqvGalleryMenuPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvPanel::MouseDown(Button, Shift, X, Y);
  FDown = true;
  HideItemHint();
  FItemDown = ItemAtPos(Point(X, Y)) >= 0;
  RePaintControl();
}

void TqvGalleryMenuPopupWindow::MouseMove(TShiftState Shift, int X, int Y) {
  TqvPanel::MouseMove(Shift, X, Y);
  const int hit = ItemAtPos(Point(X, Y));
  if (hit < 0) HideItemHint();
  SetHotItem(hit);
}

void TqvGalleryMenuPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TqvPanel::MouseUp(Button, Shift, X, Y);
  const bool pressed = FDown;
  FDown = false;
  FItemDown = false;
  if (pressed && FGalleryMenu) {
    const int hit = ItemAtPos(Point(X, Y));
    if (hit >= 0) {
      FMouseInItem = hit;
      ChooseHotItem();
      return;
    }
  }
  if (FClosing) return;
  RePaintControl();
  // The press that opened the menu (on its button) ends here; the menu keeps the mouse.
  if (HandleAllocated()) SetCapture(Handle());
}

void TqvGalleryMenuPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_MOUSEACTIVATE: Message.Result = MA_NOACTIVATE; return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // With the capture every click comes here; one on another window closes the menu.
      const TPoint screen = ClientToScreen(Point(Message.XPos(), Message.YPos()));
      if (WindowFromPoint(screen) != Handle()) {
        Hide(false);
        return;
      }
      TqvPanel::Dispatch(Message);
      return;
    }
    case WM_CAPTURECHANGED: {
      // Another window (another menu, a drag) took the mouse: the menu cannot go on.
      const HWND next = reinterpret_cast<HWND>(Message.LParam);
      TqvPanel::Dispatch(Message);
      if (next && HandleAllocated() && next != Handle()) Hide(false);
      return;
    }
    case CM_MOUSELEAVE:
      TqvPanel::Dispatch(Message);
      if (FMouseInItem >= 0) {
        HideItemHint();
        FOldMouseInItem = FMouseInItem;
        FMouseInItem = -1;
        RePaintControl();
      }
      return;
    default: TqvPanel::Dispatch(Message); return;
  }
}

// ---- drawing ----

void TqvGalleryMenuPopupWindow::Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) {
  TqvPanel::Draw(ACanvas, ACtrlState);
  if (!FGalleryMenu) return;
  if (FGalleryMenu->BackgroundStyle() == qvgmToolBar) DrawSimpleEditFrame(ACanvas, Rect(0, 0, Width(), Height()));
  TqvGalleryMenuItems* items = FGalleryMenu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TqvsCtrlState state = qvsNormal;
    if (FGalleryMenu->ShowSelectedItem() && i == FGalleryMenu->ItemIndex() && !FItemDown) state = qvsPressed;
    if (i == FMouseInItem) state = FDown && FItemDown ? qvsPressed : qvsHot;
    HDC dc = ACanvas->Handle();
    const int saved = SaveDC(dc);
    DrawItem(ACanvas, i, state);
    RestoreDC(dc, saved);
    // The DC's tools and background mode went back; the canvas must select its own again.
    ACanvas->Refresh();
  }
}

void TqvGalleryMenuPopupWindow::DrawItem(TCanvas* ACanvas, int Index, TqvsCtrlState AState) {
  TqvGalleryMenuItem* item = FGalleryMenu->Items()->Items(Index);
  TCustomImageList* images = FGalleryMenu->Images();
  const TRect r = item->ItemRect;
  const bool rtl = UseRightToLeftAlignment();
  const int imageIndex = item->ImageIndex();
  const bool hasImage = images && imageIndex >= 0 && imageIndex < images->Count();
  auto scaledFont = [&](TFont* Font) {
    ACanvas->Font()->Assign(Font);
    ACanvas->Font()->SetHeight(Round(Font->Height() * FScaleFactor));
  };

  if (item->Header()) {
    scaledFont(FGalleryMenu->HeaderFont());
    TRect text = r;
    if (FGalleryMenu->HeaderStyle() == qvmhsBottomLine) {
      TColor btnText = clBtnText, btnFace = clBtnFace;
      if (IsCustomStyle()) {
        btnText = GetStyleSystemColor(btnText);
        btnFace = GetStyleSystemColor(btnFace);
      }
      const TColor line = MixColors(TColor(ColorToRGB(btnText)), TColor(ColorToRGB(btnFace)));
      if (IsCustomStyle()) ACanvas->Font()->SetColor(line);
      ACanvas->Brush()->SetStyle(bsSolid);
      ACanvas->Brush()->SetColor(line);
      ACanvas->FillRect(Rect(r.Left + 2, r.Bottom - 2, r.Right - 2, r.Bottom));
      text.Top = r.Bottom - ACanvas->TextHeight("Wg") - 6;
    } else {
      DrawHeaderSection(ACanvas, r, qvsNormal);
      ACanvas->Font()->SetColor(GetHeaderTextColor(qvsNormal));
    }
    InflateRect(&text, -5, 0);
    ACanvas->Brush()->SetStyle(bsClear);
    DrawAlignedText(ACanvas, item->Caption(), text, rtl, taLeftJustify);
    return;
  }

  if (item->Button()) {
    const TqvsCtrlState state = item->Enabled() ? AState : qvsDisabled;
    if (state == qvsHot || state == qvsPressed || state == qvsDisabled) DrawToolButtonFace(ACanvas, r, state);
    scaledFont(FGalleryMenu->ItemFont());
    ACanvas->Font()->SetColor(state == qvsNormal ? GetStyleSystemColor(clBtnText) : GetToolButtonTextColor(state));
    ACanvas->Brush()->SetStyle(bsClear);
    TRect box = r;
    InflateRect(&box, -2, -2);
    if (FGalleryMenu->ButtonGlyphLeftAlignment() && !FGalleryMenu->ButtonLeftAlignment()) {
      const TRect square = rtl ? Rect(box.Right - r.Height(), box.Top, box.Right, box.Bottom)
                               : Rect(box.Left, box.Top, box.Left + r.Height(), box.Bottom);
      if (hasImage) {
        const int x = square.Left + (square.Width() - images->Width()) / 2;
        const int y = square.Top + (square.Height() - images->Height()) / 2;
        if (item->Enabled())
          images->Draw(ACanvas, x, y, imageIndex, true);
        else
          DrawImageListImageAlpha(ACanvas, x, y, 100, imageIndex, images);
      }
      TRect text = box;
      if (rtl)
        text.Right = square.Left;
      else
        text.Left = square.Right;
      DrawAlignedText(ACanvas, item->Caption(), text, rtl, taCenter);
    } else {
      DrawImageAndText(ACanvas, box, rtl ? blGlyphRight : blGlyphLeft, FGalleryMenu->ButtonLeftAlignment() ? 5 : -1, 5,
                       images, imageIndex, item->Caption(), item->Enabled(), false, rtl, true, FScaleFactor, false,
                       clNone, false);
    }
    return;
  }

  // A cell.
  if (AState == qvsHot || AState == qvsPressed) DrawToolButtonFace(ACanvas, r, AState);
  if (!hasImage) return;
  const int x = r.Left + (r.Width() - images->Width()) / 2;
  const int y = r.Top + (r.Height() - images->Height()) / 2;
  if (item->Enabled() || item->ShowColor())
    images->Draw(ACanvas, x, y, imageIndex, true);
  else
    DrawImageListImageAlpha(ACanvas, x, y, 100, imageIndex, images);
}
