// TqvGalleryMenu: a drop-down palette. A non-activating, top-most popup window
// (TqvGalleryMenuPopupWindow) shows the items as a grid of image cells in ColumnsCount
// columns, broken by section headers and full-width button rows. While it is open it
// holds the mouse capture and the application's message hook: arrow keys move the hot
// item, Enter or Space or a click chooses it, Esc, a click elsewhere or an activation
// change closes it. The menu keeps the selected item (ItemIndex) and reports choosing
// and closing through its events; a button that opens it listens to OnInternalChange
// and OnInternalMenuClose.
#pragma once

#include <memory>

#include "qvControls/Panel.h"
#include "vcl/Collections.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"

class TqvGalleryMenu;
class TqvGalleryMenuPopupWindow;
class TqvHint;

// The popup's background. The values are stored in forms, so their order is fixed.
enum TqvGalleryMenuBGStyle { qvgmPanel, qvgmToolBar, qvgmFormBackground };

// qvmhsDefault: a header section with the caption; qvmhsBottomLine: the caption over a
// double line along the bottom.
enum TqvMenuHeaderStyle { qvmhsDefault, qvmhsBottomLine };

class TqvGalleryMenuItem : public TCollectionItem {
  QV_CLASS(TqvGalleryMenuItem, TCollectionItem)
  explicit TqvGalleryMenuItem(TCollection* Collection);

  // Copies image index, caption, button, header and hint.
  void Assign(TPersistent* Source) override;

  // Every setter that changes a value tells the collection (the menu lays out again).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // A full-width row with image and caption instead of a cell.
  bool Button() const { return FButton; }
  void SetButton(bool Value);
  // A section header: full width, never hot or selected.
  bool Header() const { return FHeader; }
  void SetHeader(bool Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  // A disabled item is never hot or chosen and is drawn faded (or in colour with
  // ShowColor).
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ShowColor() const { return FShowColor; }
  void SetShowColor(bool Value);

  // Where the item lies in the popup (client coordinates), set by the layout.
  TRect ItemRect{};

  // Sender: the menu.
  TNotifyEvent OnClick;

 protected:
  String GetDisplayName() const override;

 private:
  int FImageIndex = -1;
  String FCaption;
  bool FButton = false;
  bool FHeader = false;
  String FHint;
  bool FEnabled = true;
  TColor FColor = clNone;
  bool FShowColor = false;
};

class TqvGalleryMenuItems : public TCollection {
  QV_CLASS(TqvGalleryMenuItems, TCollection)
  explicit TqvGalleryMenuItems(TqvGalleryMenu* AGalleryMenu);

  TqvGalleryMenuItem* Add();
  // EListError for an index outside the list.
  TqvGalleryMenuItem* Items(int Index) const;
  void SetItems(int Index, TqvGalleryMenuItem* Value);
  TqvGalleryMenuItem* operator[](int Index) const { return Items(Index); }

  TqvGalleryMenu* GalleryMenu() const { return FGalleryMenu; }

 protected:
  TPersistent* GetOwner() const override;
  void Update(TCollectionItem* Item) override;

 private:
  TqvGalleryMenu* FGalleryMenu;
};

class TqvGalleryMenu : public TComponent {
  QV_CLASS(TqvGalleryMenu, TComponent)
  explicit TqvGalleryMenu(TComponent* AOwner);
  // An open popup closes without events.
  ~TqvGalleryMenu() override;

  // Opens below the point (a rectangle of zero size) or the rectangle (screen
  // coordinates). An open popup is hidden first, without processing. OnMenuPopup fires
  // first; without images (no list, or an empty one) the menu does not open and
  // OnInternalMenuClose tells the opener so. Ext: AFromTop opens above, AFromRight
  // aligns the popup's right edge with the rectangle's.
  void Popup(int X, int Y);
  void PopupExt(int X, int Y, bool AFromTop, bool AFromRight);
  void PopupFromRect(const TRect& R);
  void PopupFromRectExt(const TRect& R, bool AFromTop, bool AFromRight);
  // Closes without processing the selection (OnInternalMenuClose and OnMenuClose fire).
  void Hide();
  // The popup is open.
  bool IsOpen() const { return FPopupWindow != nullptr; }
  TqvGalleryMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

  // The item at ItemIndex, or null.
  TqvGalleryMenuItem* SelectedItem() const;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TqvGalleryMenuItems* Items() const { return FItems; }
  // Copies the given collection.
  void SetItems(TqvGalleryMenuItems* Value);
  TqvMenuHeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(TqvMenuHeaderStyle Value);
  // Before scaling.
  int HeaderHeight() const { return FHeaderHeight; }
  void SetHeaderHeight(int Value);
  // -1: no selection. A header's index or one past the items keeps the old selection.
  // A change fires OnInternalChange, then OnChange (not while loading).
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  TqvHint* HintComponent() const { return FHintComponent; }
  void SetHintComponent(TqvHint* Value);
  TqvGalleryMenuBGStyle BackgroundStyle() const { return FBackgroundStyle; }
  void SetBackgroundStyle(TqvGalleryMenuBGStyle Value);
  // Fonts of the button rows and the headers; the setters copy.
  TFont* ItemFont() const { return FItemFont; }
  void SetItemFont(TFont* Value);
  TFont* HeaderFont() const { return FHeaderFont; }
  void SetHeaderFont(TFont* Value);
  // Cells per row, 1 .. 50; other values are ignored.
  int ColumnsCount() const { return FColumnsCount; }
  void SetColumnsCount(int Value);
  // The selected item is drawn pressed.
  bool ShowSelectedItem() const { return FShowSelectedItem; }
  void SetShowSelectedItem(bool Value);
  bool ShowHints() const { return FShowHints; }
  void SetShowHints(bool Value) { FShowHints = Value; }
  // Button rows: image and caption from the left with a margin of 5.
  bool ButtonLeftAlignment() const { return FButtonLeftAlignment; }
  void SetButtonLeftAlignment(bool Value);
  // Button rows: the image in a square at the left, the caption centred.
  bool ButtonGlyphLeftAlignment() const { return FButtonGlyphLeftAlignment; }
  void SetButtonGlyphLeftAlignment(bool Value);
  // The opener's scale (its control's ScaleFactor), never below 1.0; sizes given at
  // 100 % are multiplied by it. Set it before Popup.
  double ScaleFactor() const { return FScaleFactor; }
  void SetScaleFactor(double Value);

  // An item was chosen (after the item's own OnClick).
  TNotifyEvent OnItemClick;
  TNotifyEvent OnChange;
  // Fires when an opening starts, also when it stops for want of images.
  TNotifyEvent OnMenuPopup;
  TNotifyEvent OnMenuClose;
  // For the owning button: the selection changed / the popup closed (or never opened).
  TNotifyEvent OnInternalChange;
  TNotifyEvent OnInternalMenuClose;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TqvGalleryMenuItems;
  friend class TqvGalleryMenuPopupWindow;

  void OpenAt(const TRect& R, bool AExt, bool AFromTop, bool AFromRight);
  // The popup closed: it is let go, then the events fire in order.
  void PopupClosed(bool AProcessEvents);
  // Closes an open popup without any event.
  void DropPopup();
  // An item changed: lay the open popup out again.
  void ItemsChanged();
  void FontChanged();
  // The item can be hot, chosen or selected.
  bool Selectable(int Index) const;

  TqvGalleryMenuBGStyle FBackgroundStyle = qvgmPanel;
  TCustomImageList* FImages = nullptr;
  TqvGalleryMenuItems* FItems;
  int FColumnsCount = 1;
  TqvGalleryMenuPopupWindow* FPopupWindow = nullptr;
  bool FShowSelectedItem = true;
  int FOldItemIndex = -1;
  TFont* FItemFont;
  TFont* FHeaderFont;
  int FHeaderHeight = 25;
  TqvMenuHeaderStyle FHeaderStyle = qvmhsDefault;
  TqvHint* FHintComponent = nullptr;
  bool FShowHints = true;
  bool FButtonLeftAlignment = false;
  bool FButtonGlyphLeftAlignment = false;
  int FItemIndex = -1;
  double FScaleFactor = 1.0;
  // Becomes false when the menu is freed, so that an event sequence that outlives it
  // stops.
  std::shared_ptr<bool> FAlive;
};

class TqvGalleryMenuPopupWindow : public TqvPanel {
  QV_CLASS(TqvGalleryMenuPopupWindow, TqvPanel)
  // Created invisible, owned by AGalleryMenu, drawn at AScaleFactor.
  TqvGalleryMenuPopupWindow(TqvGalleryMenu* AGalleryMenu, double AScaleFactor);
  ~TqvGalleryMenuPopupWindow() override;

  // Lays the items out, sizes itself and shows below R (Show), or as AFromTop and
  // AFromRight say (ShowExt), inside the work area of the monitor of the active form
  // (else the visible main form, else the screen's). Then it takes the application's
  // message hook and the mouse capture.
  void Show(const TRect& R);
  void ShowExt(const TRect& R, bool AFromTop, bool AFromRight);
  // Hides, gives back the hook and the capture, and lets the menu finish: AProcessEvents
  // fires the selected item's events. Nothing when already hidden.
  void Hide(bool AProcessEvents);

  // Lays the items out and answers the popup's size.
  TSize LayoutItems();
  // The item under the point (client coordinates, edges included) that is neither a
  // header nor disabled, or -1.
  int ItemAtPos(const TPoint& P) const;

  TqvGalleryMenu* GalleryMenu() const { return FGalleryMenu; }
  // The hot item, -1 for none.
  int MouseInItem() const { return FMouseInItem; }
  // Moves the hot item as the arrow key Key (VK_LEFT .. VK_DOWN) does.
  void MoveHotItem(WORD Key);

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Draw(TCanvas* ACanvas, TqvsCtrlState ACtrlState) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  friend class TqvGalleryMenu;
  struct THookState;

  void Place(const TRect& R, bool AExt, bool AFromTop, bool AFromRight);
  void InstallHook();
  void RemoveHook();
  // The application's message hook while open; true when the message was taken.
  bool AppMessage(MSG& Msg);
  void KeyPressed(WORD Key);
  // Makes the hot item the selection (without events) and closes with processing.
  void ChooseHotItem();
  void SetHotItem(int Index);
  void ShowItemHint();
  void HideItemHint();
  void DrawItem(TCanvas* ACanvas, int Index, TqvsCtrlState AState);

  TqvGalleryMenu* FGalleryMenu;
  int FMouseInItem = -1;
  int FOldMouseInItem = -1;
  bool FDown = false;
  bool FItemDown = false;
  bool FClosing = false;
  // Shared with the handler put into Application->OnMessage: the previous handler and
  // whether this popup still listens.
  std::shared_ptr<THookState> FHook;
};
