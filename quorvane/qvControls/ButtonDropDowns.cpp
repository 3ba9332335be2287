// The drop-down menu and gallery of TqvCustomButtonControl: references and opening.
#include "qvControls/ButtonControl.h"

void TqvCustomButtonControl::SetDropDownMenu(TPopupMenu* Value) {
  if (Value == FDropDownMenu) return;
  FDropDownMenu = Value;
  RePaintControl();
}

void TqvCustomButtonControl::SetGalleryMenu(TqvGalleryMenu* Value) {
  if (Value == FGalleryMenu) return;
  FGalleryMenu = Value;
  RePaintControl();
}

void TqvCustomButtonControl::DropDownComponentRemoved(TComponent*) {}

void TqvCustomButtonControl::DropDownMenuOpen(bool) {}

void TqvCustomButtonControl::GalleryMenuOpen(bool) {}

bool TqvCustomButtonControl::GallerySelectedItem(String&, int&, TCustomImageList*&) const { return false; }
