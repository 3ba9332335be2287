#include "Menus.h"

#include <unordered_map>

#include "Controls.h"
#include "ImgList.h"
#include "win/Input.h"
#include "win/MenuLoop.h"
#include "win/Queue.h"

namespace {

// Menus and items alive now, each with a number of its own: a handler that frees one can
// be detected afterwards without touching freed memory.
std::unordered_map<const TObject*, uint64_t>& LiveObjects() {
  static std::unordered_map<const TObject*, uint64_t> live;
  return live;
}
uint64_t g_nextSerial = 1;

uint64_t Enliven(const TObject* o) {
  const uint64_t serial = g_nextSerial++;
  LiveObjects()[o] = serial;
  return serial;
}

void Bury(const TObject* o) { LiveObjects().erase(o); }

struct Alive {
  const TObject* Object;
  uint64_t Serial;
  explicit Alive(const TObject* o) : Object(o) {
    auto it = LiveObjects().find(o);
    Serial = it == LiveObjects().end() ? 0 : it->second;
  }
  bool operator()() const {
    auto it = LiveObjects().find(Object);
    return Serial && it != LiveObjects().end() && it->second == Serial;
  }
};

UINT g_nextCommand = 0;

// ---- the window that owns popup menus ----

const char* const kPopupListClass = "TPopupListWindow";
std::vector<TPopupMenu*>& PopupMenus() {
  static std::vector<TPopupMenu*> menus;
  return menus;
}

TMenuItem* ItemOfHandle(HMENU menu) {
  for (TPopupMenu* m : PopupMenus())
    if (TMenuItem* item = m->FindItem(UINT(reinterpret_cast<uintptr_t>(menu)), fkHandle)) return item;
  return nullptr;
}

LRESULT PopupListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITMENUPOPUP) {
    // The items of a sub-menu update their actions before it shows.
    if (TMenuItem* item = ItemOfHandle(reinterpret_cast<HMENU>(wParam))) {
      const Alive alive(item);
      for (int i = 0; alive() && i < item->Count(); ++i) item->Items(i)->InitiateAction();
    }
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

HWND PopupListWindow() {
  static HWND window = nullptr;
  String name;
  // A window system reset may have given the old handle's place to another window.
  if (IsWindow(window) && GetClassName(window, &name) && name == kPopupListClass) return window;
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, kPopupListClass, &wc)) {
    wc.lpfnWndProc = PopupListProc;
    wc.lpszClassName = kPopupListClass;
    RegisterClass(&wc);
  }
  window = CreateWindowEx(WS_EX_TOOLWINDOW, kPopupListClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr,
                          nullptr);
  return window;
}

bool ShowControlPopup(TControl* Control, TPopupMenu* Menu, const TPoint& ScreenPos) {
  if (!Menu || !Menu->AutoPopup()) return false;
  Menu->SetPopupComponent(Control);
  Menu->Popup(ScreenPos.X, ScreenPos.Y);
  return true;
}

void ConnectPopupHook() {
  if (!PopupMenuHook) PopupMenuHook = ShowControlPopup;
}

String ItemText(const TMenuItem* item) {
  String text = item->Caption();
  if (item->ShortCut() != scNone) {
    text += '\t';
    text += ShortCutToText(item->ShortCut());
  }
  return text;
}

// Puts the visible items of Parent into menu (which is empty).
void BuildItems(HMENU menu, TMenuItem* Parent) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    if (!item->Visible()) continue;
    MENUITEMINFO info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_SUBMENU;
    info.fType = item->IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (item->RadioItem()) info.fType |= MFT_RADIOCHECK;
    if (item->Break() == mbBreak) info.fType |= MFT_MENUBREAK;
    if (item->Break() == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    if (item->Checked()) info.fState |= MFS_CHECKED;
    if (!item->Enabled()) info.fState |= MFS_GRAYED;
    if (item->Default()) info.fState |= MFS_DEFAULT;
    info.wID = item->Command();
    info.dwItemData = reinterpret_cast<uintptr_t>(item);
    if (!item->IsLine()) info.dwTypeData = ItemText(item);
    if (item->Count() > 0) {
      HMENU sub = CreatePopupMenu();
      BuildItems(sub, item);
      info.hSubMenu = sub;
    }
    InsertMenuItem(menu, UINT(GetMenuItemCount(menu)), TRUE, &info);
  }
}

String WithoutAmpersands(const String& s) {
  String out;
  for (size_t i = 0; i < s.size(); ++i) {
    // "&x" is x underlined, "&&" one "&".
    if (s[i] == '&' && ++i >= s.size()) break;
    out += s[i];
  }
  return out;
}

}  // namespace

// ---- helpers ----

String StripHotkey(const String& Text) { return WithoutAmpersands(Text); }

char32_t GetHotkey(const String& Text) { return MenuMnemonic(Text); }

UINT UniqueCommand() {
  // Commands stay below 0xF000, where the window menu's SC_* commands begin.
  g_nextCommand = g_nextCommand % 0xEFFF + 1;
  return g_nextCommand;
}

TMenuItem* NewItem(const String& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, const String& AName) {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(ACaption);
  item->SetShortCut(AShortCut);
  item->SetChecked(AChecked);
  item->SetEnabled(AEnabled);
  item->OnClick = AOnClick;
  if (!AName.empty()) item->SetName(AName);
  return item;
}

TMenuItem* MenuItemFromData(uintptr_t Data) {
  const auto* object = reinterpret_cast<const TObject*>(Data);
  if (!Data || !LiveObjects().count(object)) return nullptr;
  return dynamic_cast<TMenuItem*>(const_cast<TObject*>(object));
}

TMenuItem* NewLine() {
  auto* item = new TMenuItem(nullptr);
  item->SetCaption("-");
  return item;
}

// ---- TMenuActionLink ----

TMenuActionLink::TMenuActionLink(TObject* AClient) : TActionLink(AClient) { AssignClient(AClient); }

void TMenuActionLink::AssignClient(TObject* AClient) { FClient = dynamic_cast<TMenuItem*>(AClient); }

bool TMenuActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && FClient && FClient->Caption() == CustomAction()->Caption();
}
bool TMenuActionLink::IsCheckedLinked() {
  return TActionLink::IsCheckedLinked() && FClient && FClient->Checked() == CustomAction()->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && FClient && FClient->Enabled() == CustomAction()->Enabled();
}
bool TMenuActionLink::IsGroupIndexLinked() {
  return TActionLink::IsGroupIndexLinked() && FClient && FClient->GroupIndex() == CustomAction()->GroupIndex();
}
bool TMenuActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && FClient && FClient->Hint() == CustomAction()->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() {
  return TActionLink::IsImageIndexLinked() && FClient && FClient->ImageIndex() == CustomAction()->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
  return TActionLink::IsShortCutLinked() && FClient && FClient->ShortCut() == CustomAction()->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && FClient && FClient->Visible() == CustomAction()->Visible();
}
bool TMenuActionLink::IsOnExecuteLinked() { return FClient && !FClient->OnClick; }

void TMenuActionLink::SetAutoCheck(bool Value) {
  if (FClient) FClient->SetAutoCheck(Value);
}
void TMenuActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TMenuActionLink::SetGroupIndex(int Value) {
  if (IsGroupIndexLinked()) FClient->SetGroupIndex(Value);
}
void TMenuActionLink::SetHint(const String& Value) {
  if (IsHintLinked()) FClient->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) FClient->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(UniqueCommand()) { Enliven(this); }

TMenuItem::~TMenuItem() {
  Bury(this);
  delete FActionLink;
  FActionLink = nullptr;
  while (!FItems.empty()) {
    TMenuItem* child = FItems.back();
    FItems.pop_back();
    child->FParent = nullptr;
    delete child;
  }
  if (FParent) FParent->Remove(this);
}

void TMenuItem::SetCaption(const String& Value) {
  if (FCaption == Value) return;
  const bool rebuild = (FCaption == "-") != (Value == "-");
  FCaption = Value;
  MenuChanged(rebuild);
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  MenuChanged(false);
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  if (Value && FRadioItem) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
  if (!FParent) return;
  for (TMenuItem* sibling : FParent->FItems)
    if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex && sibling->FChecked) {
      sibling->FChecked = false;
      sibling->MenuChanged(false);
    }
}

void TMenuItem::SetRadioItem(bool Value) {
  if (FRadioItem == Value) return;
  FRadioItem = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  if (FChecked && FRadioItem) TurnSiblingsOff();
  MenuChanged(false);
}

void TMenuItem::SetAutoCheck(bool Value) { FAutoCheck = Value; }

void TMenuItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this) sibling->FDefault = false;
  FDefault = Value;
  MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak Value) {
  if (FBreak == Value) return;
  FBreak = Value;
  MenuChanged(true);
}

void TMenuItem::SetHint(const String& Value) { FHint = Value; }

TBasicAction* TMenuItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    delete FActionLink;
    FActionLink = nullptr;
    return;
  }
  if (!FActionLink) {
    FActionLink = new TMenuActionLink(this);
    FActionLink->OnChange = [this](TObject* Sender) { ActionChange(Sender, false); };
  }
  FActionLink->SetAction(Value);
  ActionChange(Value, true);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(action->Caption());
  if (!CheckDefaults || !FChecked) SetChecked(action->Checked());
  if (!CheckDefaults || FEnabled) SetEnabled(action->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(action->Hint());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(action->ImageIndex());
  if (!CheckDefaults || FShortCut == scNone) SetShortCut(action->ShortCut());
  if (!CheckDefaults || FVisible) SetVisible(action->Visible());
  if (!CheckDefaults || FGroupIndex == 0) SetGroupIndex(action->GroupIndex());
  if (!CheckDefaults || !FAutoCheck) SetAutoCheck(action->AutoCheck());
}

TMenuItem* TMenuItem::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EMenuError("Menu index out of range");
  return FItems[size_t(Index)];
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Add(const std::vector<TMenuItem*>& AItems) {
  for (TMenuItem* item : AItems) Add(item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (!Item) return;
  if (Item->FParent) throw EMenuError("Menu inserted twice");
  for (const TMenuItem* p = this; p; p = p->FParent)
    if (p == Item) throw EMenuError("Menu inserted into itself");
  if (Index < 0 || Index > Count()) throw EMenuError("Menu index out of range");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (Item->FChecked && Item->FRadioItem) Item->TurnSiblingsOff();
  MenuChanged(true);
}

void TMenuItem::Delete(int Index) {
  TMenuItem* item = Items(Index);
  delete item;  // leaves this item through its destructor
}

void TMenuItem::Remove(TMenuItem* Item) {
  const int index = IndexOf(Item);
  if (index < 0) throw EMenuError("Menu item not found");
  FItems.erase(FItems.begin() + index);
  Item->FParent = nullptr;
  MenuChanged(true);
}

void TMenuItem::Clear() {
  while (!FItems.empty()) delete FItems.back();
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == Item) return int(i);
  return -1;
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int Value) {
  if (!FParent) return;
  TMenuItem* parent = FParent;
  const int count = parent->Count();
  Value = std::clamp(Value, 0, count - 1);
  if (Value == MenuIndex()) return;
  parent->FItems.erase(parent->FItems.begin() + MenuIndex());
  parent->FItems.insert(parent->FItems.begin() + Value, this);
  MenuChanged(true);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

TMenuItem* TMenuItem::Find(const String& ACaption) const {
  const String wanted = AnsiLowerCase(WithoutAmpersands(ACaption));
  for (TMenuItem* item : FItems)
    if (AnsiLowerCase(WithoutAmpersands(item->FCaption)) == wanted) return item;
  return nullptr;
}

HMENU TMenuItem::Handle() const {
  if (FMenu) return FMenu->Handle();
  TMenu* menu = GetParentMenu();
  if (!menu || FItems.empty()) return nullptr;
  HMENU owner = nullptr;
  const int index = FindMenuItem(menu->Handle(), FCommand, MF_BYCOMMAND, &owner);
  FHandle = index >= 0 ? GetSubMenu(owner, index) : nullptr;
  return FHandle;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  const Alive alive(this);
  if (FAutoCheck && !(FRadioItem && FChecked)) SetChecked(!FChecked);
  if (!alive()) return;
  if (OnClick) {
    // A copy: the handler may free this item (and with it OnClick).
    const TNotifyEvent handler = OnClick;
    handler(this);
    return;
  }
  if (FActionLink) FActionLink->Execute(this);
}

void TMenuItem::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

TComponent* TMenuItem::GetParentComponent() const {
  if (FParent && FParent->FMenu) return FParent->FMenu;
  return FParent;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (FParent) FParent->Remove(this);
  if (auto* menu = dynamic_cast<TMenu*>(Value))
    menu->Items()->Add(this);
  else if (auto* item = dynamic_cast<TMenuItem*>(Value))
    item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent* /*Root*/) const {
  for (TMenuItem* item : FItems) Proc(item);
}

void TMenuItem::MenuChanged(bool Rebuild) {
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged(this, Rebuild);
}

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) {
  Enliven(this);
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  Bury(this);
  FItems->FMenu = nullptr;
  DestroyHandle();
  // The root item is owned as a component and goes with the owned components.
}

HMENU TMenu::Handle() const {
  if (!IsMenu(FHandle)) {
    FHandle = dynamic_cast<const TMainMenu*>(this) ? CreateMenu() : CreatePopupMenu();
    BuildItems(FHandle, FItems);
  }
  return FHandle;
}

void TMenu::DestroyHandle() {
  if (FHandle) DestroyMenu(FHandle);
  FHandle = nullptr;
}

void TMenu::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  MenuChanged(nullptr, false);
}

namespace {

TMenuItem* FindIn(TMenuItem* Parent, UINT Value, TFindItemKind Kind) {
  for (int i = 0; i < Parent->Count(); ++i) {
    TMenuItem* item = Parent->Items(i);
    switch (Kind) {
      case fkCommand:
        if (item->Command() == Value && item->Count() == 0) return item;
        break;
      case fkHandle:
        if (item->Count() > 0 && UINT(reinterpret_cast<uintptr_t>(item->Handle())) == Value) return item;
        break;
      case fkShortCut:
        if (item->ShortCut() != scNone && item->ShortCut() == Value) return item;
        break;
    }
    if (TMenuItem* found = FindIn(item, Value, Kind)) return found;
  }
  return nullptr;
}

// The item and its parents are enabled and visible.
bool Reachable(const TMenuItem* item) {
  for (; item && item->Parent(); item = item->Parent())
    if (!item->Enabled() || !item->Visible()) return false;
  return true;
}

}  // namespace

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const {
  if (Kind == fkHandle) Handle();
  return FindIn(FItems, Value, Kind);
}

bool TMenu::DispatchCommand(UINT ACommand) {
  TMenuItem* item = FindItem(ACommand, fkCommand);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
  const TShortCut sc = ::ShortCut(WORD(Message.WParam), KeyboardStateToShiftState());
  return IsShortCut(sc);
}

bool TMenu::IsShortCut(TShortCut AShortCut) {
  if (AShortCut == scNone) return false;
  TMenuItem* item = FindItem(AShortCut, fkShortCut);
  if (!item) return false;
  const Alive alive(item);
  item->InitiateAction();
  if (!alive() || !Reachable(item)) return false;
  item->Click();
  return true;
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) const { FItems->GetChildren(Proc, Root); }

void TMenu::MenuChanged(TMenuItem* Source, bool Rebuild) {
  if (ComponentState().Contains(csDestroying)) return;
  if (IsMenu(FHandle)) {
    // The handle stays (a menu loop may show it); its items are made again.
    while (GetMenuItemCount(FHandle) > 0) DeleteMenu(FHandle, 0, MF_BYPOSITION);
    BuildItems(FHandle, FItems);
  }
  if (OnChange) OnChange(this, Source, Rebuild);
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
  ConnectPopupHook();
  PopupMenus().push_back(this);
}

TPopupMenu::~TPopupMenu() {
  std::erase(PopupMenus(), this);
  ClearPopupMenuReferences(this);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
  if (FPopupComponent == Value) return;
  if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
  FPopupComponent = Value;
  if (FPopupComponent) FPopupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup(TObject* Sender) {
  if (OnPopup) {
    const TNotifyEvent handler = OnPopup;
    handler(Sender);
  }
}

void TPopupMenu::DoClose() {
  if (OnClose) {
    const TNotifyEvent handler = OnClose;
    handler(this);
  }
}

void TPopupMenu::Popup(int X, int Y) {
  if (FShowing || InMenuLoop()) return;
  const Alive alive(this);
  FPopupPoint = {X, Y};
  DoPopup(this);
  if (!alive()) return;
  for (int i = 0; alive() && i < FItems->Count(); ++i) FItems->Items(i)->InitiateAction();
  if (!alive()) return;
  UINT flags = TPM_RETURNCMD | TPM_LEFTBUTTON;
  if (FTrackButton == tbRightButton) flags |= TPM_RIGHTBUTTON;
  if (FAlignment == paRight) flags |= TPM_RIGHTALIGN;
  if (FAlignment == paCenter) flags |= TPM_CENTERALIGN;
  UINT command = 0;
  {
    FShowing = true;
    // Also when the loop raises; a menu freed meanwhile is not touched.
    Finally shown{[&] {
      if (alive()) FShowing = false;
    }};
    command = UINT(TrackPopupMenuEx(Handle(), flags, X, Y, PopupListWindow(), nullptr));
  }
  if (!alive()) return;
  DoClose();
  if (!alive() || !command) return;
  if (TMenuItem* item = FindItem(command, fkCommand)) item->Click();
}

void TPopupMenu::CloseMenu() {
  if (FShowing) EndMenu();
}

// ---- TMainMenu ----

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  if (IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == FHandle) ::SetMenu(FWindowHandle, nullptr);
}

void TMainMenu::SetWindowHandle(HWND Value) {
  if (IsWindow(FWindowHandle) && FWindowHandle != Value && GetMenu(FWindowHandle) == FHandle)
    ::SetMenu(FWindowHandle, nullptr);
  FWindowHandle = Value;
  if (IsWindow(FWindowHandle)) ::SetMenu(FWindowHandle, Handle());
}

void TMainMenu::MenuChanged(TMenuItem* Source, bool Rebuild) {
  TMenu::MenuChanged(Source, Rebuild);
  if (IsWindow(FWindowHandle)) DrawMenuBar(FWindowHandle);
}
