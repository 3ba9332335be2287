// Menus: TMenuItem (one item and its sub-items), TMenu (a tree of items and the HMENU
// built from it), TPopupMenu (shown at a point through the window system's menu loop)
// and TMainMenu (a form's menu bar). The menu loop itself is win/MenuLoop.h.
#pragma once

#include <functional>
#include <vector>

#include "Actions.h"
#include "Component.h"
#include "ShortCuts.h"
#include "SysUtils.h"
#include "win/Messages.h"

class TMenu;
class TMenuItem;
class TCustomImageList;
class TCustomForm;
class TChangeLink;

QV_DECLARE_EXCEPTION(EMenuError, Exception);

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

// Told after an item of the menu changed; Rebuild when the HMENU has to be made again.
using TMenuChangeEvent = std::function<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

// Ties a menu item to an action: the item follows the action's caption, state, image and
// shortcut while its own value equals the action's.
class TMenuActionLink : public TActionLink {
  QV_CLASS(TMenuActionLink, TActionLink)
  explicit TMenuActionLink(TObject* AClient);

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsGroupIndexLinked() override;
  bool IsHintLinked() override;
  bool IsImageIndexLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;

 protected:
  void AssignClient(TObject* AClient) override;
  void SetAutoCheck(bool Value) override;
  void SetCaption(const String& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetGroupIndex(int Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;

  TMenuItem* FClient = nullptr;
};

// One item of a menu: a command, a separator (Caption "-") or a sub-menu (an item with
// sub-items). The item owns its sub-items; freeing an item removes it from its parent.
class TMenuItem : public TComponent {
  QV_CLASS(TMenuItem, TComponent)
  explicit TMenuItem(TComponent* AOwner);
  // Frees the sub-items, leaves the parent and the action.
  ~TMenuItem() override;

  // "&" marks the mnemonic ("&&" is a plain "&"); "-" makes a separator.
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  bool IsLine() const { return FCaption == "-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  // Checking a RadioItem unchecks the other radio items of its parent with the same
  // GroupIndex.
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  // A click toggles Checked (a checked radio item stays checked).
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value);
  // An image of the menu's Images; -1 none.
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // The default item is drawn bold.
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  TMenuBreak Break() const { return FBreak; }
  void SetBreak(TMenuBreak Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);

  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);

  // ---- sub-items ----
  int Count() const { return int(FItems.size()); }
  // Raises EMenuError "Menu index out of range" for a bad index.
  TMenuItem* Items(int Index) const;
  // Takes Item (which must have no parent: else EMenuError "Menu inserted twice") at
  // the end or at Index.
  void Add(TMenuItem* Item);
  void Add(const std::vector<TMenuItem*>& AItems);
  void Insert(int Index, TMenuItem* Item);
  // Frees the sub-item at Index.
  void Delete(int Index);
  // Takes Item out without freeing it; EMenuError "Menu item not found" when it is no
  // sub-item.
  void Remove(TMenuItem* Item);
  // Frees every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  // Position in the parent, -1 without one.
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  TMenuItem* Parent() const { return FParent; }
  // The menu whose tree holds this item, or null.
  TMenu* GetParentMenu() const;
  // The sub-item with this caption (compared without "&" and case), or null.
  TMenuItem* Find(const String& ACaption) const;

  // The number that WM_COMMAND carries for this item: unique in the process.
  UINT Command() const { return FCommand; }
  // The item's sub-menu handle (built by the menu); null for an item without sub-items.
  HMENU Handle() const;

  // Runs the action or OnClick (AutoCheck first). Safe when the handler frees the item,
  // its menu or the menu's owner.
  virtual void Click();
  // Updates the item's action (its OnUpdate) before it shows.
  void InitiateAction();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

  TNotifyEvent OnClick;

 protected:
  friend class TMenu;
  friend class TMenuActionLink;
  // Tells the menu that the item changed (Rebuild: the HMENU has to be made again).
  void MenuChanged(bool Rebuild);
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 private:
  void TurnSiblingsOff();

  String FCaption;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
  int FImageIndex = -1;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  TMenuBreak FBreak = mbNone;
  String FHint;
  UINT FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item of a menu
  std::vector<TMenuItem*> FItems;
  TMenuActionLink* FActionLink = nullptr;
  mutable HMENU FHandle = nullptr;  // sub-menu handle while built
};

// A tree of items under Items(), and the HMENU made from it (rebuilt after a change).
class TMenu : public TComponent {
  QV_CLASS(TMenu, TComponent)
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems; }
  // The menu handle, built from the visible items when asked for after a change.
  HMENU Handle() const;
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The item with this command, sub-menu handle or shortcut, or null.
  TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
  // Clicks the item with this command; false when there is none.
  bool DispatchCommand(UINT ACommand);
  // WM_KEYDOWN/WM_SYSKEYDOWN (Message.WParam the key, shift from the keyboard state): an
  // enabled, visible item whose ShortCut matches is clicked once and the answer is true.
  bool IsShortCut(TMessage& Message);
  bool IsShortCut(TShortCut AShortCut);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) const override;

  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  virtual void MenuChanged(TMenuItem* Source, bool Rebuild);
  // Drops the built handle (the next Handle() builds it again).
  void DestroyHandle();

  TMenuItem* FItems = nullptr;
  TCustomImageList* FImages = nullptr;
  mutable HMENU FHandle = nullptr;
};

// A menu shown at a point: Popup runs the menu loop and clicks the chosen item once.
class TPopupMenu : public TMenu {
  QV_CLASS(TPopupMenu, TMenu)
  explicit TPopupMenu(TComponent* AOwner);
  // No control keeps pointing at the menu.
  ~TPopupMenu() override;

  // Shows the menu at the screen point (X, Y) placed by Alignment, returns when the menu
  // loop ends, then clicks the chosen item (if any). OnPopup runs first.
  virtual void Popup(int X, int Y);
  // The control whose context menu this is (set by the control before Popup).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  // Where the menu goes from the point: paLeft its left edge there, paRight its right
  // edge, paCenter centred on it.
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
  // A control's right click (WM_CONTEXTMENU) shows the menu by itself.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }
  // The button that chooses items.
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton Value) { FTrackButton = Value; }
  // The point of the last Popup.
  TPoint PopupPoint() const { return FPopupPoint; }
  // True while Popup runs.
  bool Showing() const { return FShowing; }
  // Ends the menu loop this menu runs (nothing is chosen).
  void CloseMenu();

  void Notification(TComponent* AComponent, TOperation Operation) override;

  TNotifyEvent OnPopup;
  // After the loop ended, before the chosen item's click.
  TNotifyEvent OnClose;

 protected:
  virtual void DoPopup(TObject* Sender);
  virtual void DoClose();

 private:
  TComponent* FPopupComponent = nullptr;
  TPopupAlignment FAlignment = paLeft;
  bool FAutoPopup = true;
  TTrackButton FTrackButton = tbRightButton;
  TPoint FPopupPoint{};
  bool FShowing = false;
};

// A form's menu bar: the form's window shows it in its non-client area; a click on a
// top item opens its sub-menu through the menu loop.
class TMainMenu : public TMenu {
  QV_CLASS(TMainMenu, TMenu)
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;

  // The window whose menu bar this is (set by the form); null when none.
  HWND WindowHandle() const { return FWindowHandle; }
  void SetWindowHandle(HWND Value);

 protected:
  void MenuChanged(TMenuItem* Source, bool Rebuild) override;

 private:
  HWND FWindowHandle = nullptr;
};

// Removes "&" marks ("&&" stays one "&").
String StripHotkey(const String& Text);
// The mnemonic character of a caption (upper case), or 0.
char32_t GetHotkey(const String& Text);
// A new command number for a menu item.
UINT UniqueCommand();
// Makes a menu item in one call.
TMenuItem* NewItem(const String& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   const TNotifyEvent& AOnClick, const String& AName = {});
TMenuItem* NewLine();
// The live menu item a menu handle's item data names (dwItemData of an item built by
// TMenu), or null: painters find images and captions through it.
TMenuItem* MenuItemFromData(uintptr_t Data);
