// The drop-down menu and the gallery of TqvCustomButtonControl: references and opening.
#include "qvControls/ButtonControl.h"
#include "qvControls/GalleryMenu.h"
#include "vcl/Menus.h"
#include "win/Queue.h"

void TqvCustomButtonControl::SetDropDownMenu(TPopupMenu* Value) {
  if (Value == FDropDownMenu) return;
  if (FDropDownMenu) FDropDownMenu->RemoveFreeNotification(this);
  FDropDownMenu = Value;
  if (FDropDownMenu) FDropDownMenu->FreeNotification(this);
  RePaintControl();
}

void TqvCustomButtonControl::UnhookGallery() {
  if (!FGalleryMenu) return;
  FGalleryMenu->OnInternalChange = nullptr;
  FGalleryMenu->OnInternalMenuClose = nullptr;
  FGalleryMenu->RemoveFreeNotification(this);
}

void TqvCustomButtonControl::SetGalleryMenu(TqvGalleryMenu* Value) {
  if (Value == FGalleryMenu) return;
  UnhookGallery();
  FGalleryMenu = Value;
  if (FGalleryMenu) {
    FGalleryMenu->FreeNotification(this);
    FGalleryMenu->OnInternalChange = [this](TObject*) { RePaintControl(); };
    FGalleryMenu->OnInternalMenuClose = [this](TObject*) { DropDownClosed(); };
  }
  RePaintControl();
}

void TqvCustomButtonControl::DropDownComponentRemoved(TComponent* AComponent) {
  if (AComponent == FDropDownMenu) FDropDownMenu = nullptr;
  if (AComponent == FGalleryMenu) {
    FGalleryMenu = nullptr;
    // A gallery that goes while open reports no closing.
    if (FMenuTracking) DropDownClosed();
  }
}

bool TqvCustomButtonControl::GallerySelectedItem(String& ACaption, int& AImageIndex,
                                                 TCustomImageList*& AImages) const {
  if (!FGalleryMenu) return false;
  const TqvGalleryMenuItem* item = FGalleryMenu->SelectedItem();
  if (!item) return false;
  ACaption = item->Caption();
  AImageIndex = item->ImageIndex();
  AImages = FGalleryMenu->Images();
  return true;
}

void TqvCustomButtonControl::DropDownMenuOpen(bool AFromArrow) {
  if (AFromArrow) FMenuDroppedDown = true;
  if (!FSplitButton) FIsDown = true;
  RePaintControl();
  if (!AFromArrow && FSplitButton) return;
  FMenuTracking = true;
  TPopupMenu* menu = FDropDownMenu;
  TPoint anchor{0, Height()};
  if (menu->Alignment() == paCenter)
    anchor = {Width() / 2, Height()};
  else if (UseRightToLeftAlignment() || menu->Alignment() == paRight)
    anchor = {Width(), Height()};
  const TPoint screen = ClientToScreen(anchor);
  {
    // The menu's loop may free what a handler released, this button or its form among
    // it: they wait until the menu has returned here and the caller has finished.
    TReleaseHold hold;
    menu->Popup(screen.X, screen.Y);
  }
  // A press on this button that closed the menu comes back from the loop; it must not
  // open the menu again.
  MSG press;
  if (HandleAllocated()) PeekMessage(&press, WindowHandle(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_REMOVE);
  DropDownClosed();
}

void TqvCustomButtonControl::GalleryMenuOpen(bool AFromArrow) {
  if (AFromArrow) FMenuDroppedDown = true;
  if (!FSplitButton) FIsDown = true;
  RePaintControl();
  if (!AFromArrow && FSplitButton) return;
  FMenuTracking = true;
  const TPoint tl = ClientToScreen({0, 0});
  const TRect r{tl.X, tl.Y, tl.X + Width(), tl.Y + Height()};
  FGalleryMenu->SetScaleFactor(ScaleFactor());
  // The flags stay set until the gallery reports its closing (at once when it cannot open).
  if (FShowGalleryMenuFromTop || FShowGalleryMenuFromRight)
    FGalleryMenu->PopupFromRectExt(r, FShowGalleryMenuFromTop, FShowGalleryMenuFromRight);
  else
    FGalleryMenu->PopupFromRect(r);
}
