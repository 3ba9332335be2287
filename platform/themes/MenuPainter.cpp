#include "MenuPainter.h"

#include "StyleServices.h"
#include "gdi/Fonts.h"
#include "gdi/Objects.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "win/NonClient.h"

namespace {

// The check mark and image column, and the room right of the text.
int Gutter() { return ScaledLength(28); }

TThemedMenu ItemElement(const MenuItemPaint& item) {
  if (item.Disabled) return item.Hot ? tmPopupItemDisabledHot : tmPopupItemDisabled;
  return item.Hot ? tmPopupItemHot : tmPopupItemNormal;
}

// The item's picture from its menu's image list; true when one was drawn.
bool DrawImage(HDC DC, const RECT& Box, const MenuItemPaint& Item) {
  if (!Item.Record) return false;
  TMenuItem* item = MenuItemFromData(Item.Record->Data);
  TMenu* menu = item ? item->GetParentMenu() : nullptr;
  TCustomImageList* images = menu ? menu->Images() : nullptr;
  if (!images || item->ImageIndex() < 0 || item->ImageIndex() >= images->Count()) return false;
  TCanvas canvas;
  canvas.SetHandle(DC);
  images->Draw(&canvas, Box.Left + (Box.Width() - images->Width()) / 2, Box.Top + (Box.Height() - images->Height()) / 2,
               item->ImageIndex(), !Item.Disabled);
  canvas.SetHandle(nullptr);
  return true;
}

void DrawItem(TCustomStyleServices* Style, HDC DC, const RECT& R, const MenuItemPaint& Item) {
  if (Item.Separator) {
    Style->DrawElement(DC, Style->GetElementDetails(tmPopupSeparator), {R.Left + Gutter(), R.Top, R.Right, R.Bottom});
    return;
  }
  const TThemedElementDetails text = Style->GetElementDetails(ItemElement(Item));
  if (Item.Hot) Style->DrawElement(DC, text, R);
  const RECT box{R.Left + ScaledLength(2), R.Top + 1, R.Left + Gutter() - ScaledLength(4), R.Bottom - 1};
  const bool image = DrawImage(DC, box, Item);
  if (Item.Checked) {
    if (image) {
      Style->DrawElement(DC, Style->GetElementDetails(tmPopupCheckBackgroundBitmap), box);
      DrawImage(DC, box, Item);
    } else {
      Style->DrawElement(DC, Style->GetElementDetails(Item.Disabled ? tmPopupCheckBackgroundDisabled
                                                                    : tmPopupCheckBackgroundNormal),
                         box);
      const TThemedMenu mark = Item.Radio ? (Item.Disabled ? tmPopupBulletDisabled : tmPopupBulletNormal)
                                          : (Item.Disabled ? tmPopupCheckMarkDisabled : tmPopupCheckMarkNormal);
      Style->DrawElement(DC, Style->GetElementDetails(mark), box);
    }
  }
  if (Item.HasSubMenu) {
    const TThemedElementDetails arrow =
        Style->GetElementDetails(Item.Disabled ? tmPopupSubMenuDisabled : tmPopupSubMenuNormal);
    SIZE size{ScaledLength(16), ScaledLength(16)};
    Style->GetElementSize(DC, arrow, esActual, size);
    const int top = R.Top + (R.Height() - size.cy) / 2;
    Style->DrawElement(DC, arrow, {R.Right - ScaledLength(4) - size.cx, top, R.Right - ScaledLength(4), top + size.cy});
  }
  HFONT font = CreateMenuFont(Item.Default);
  HGDIOBJ old = SelectObject(DC, font);
  RECT r{R.Left + Gutter() + ScaledLength(4), R.Top, R.Right - ScaledLength(22), R.Bottom};
  Style->DrawText(DC, text, Item.Caption, r, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_EXPANDTABS);
  if (!Item.ShortCut.empty()) {
    r = {R.Left + Gutter(), R.Top, R.Right - ScaledLength(22), R.Bottom};
    Style->DrawText(DC, text, Item.ShortCut, r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  }
  SelectObject(DC, old);
  DeleteObject(font);
}

void DrawBarItem(TCustomStyleServices* Style, HDC DC, const RECT& R, const MenuItemPaint& Item) {
  const TThemedMenu kind = Item.Disabled ? (Item.Hot ? tmMenuBarItemDisabledHot : tmMenuBarItemDisabled)
                                         : (Item.Hot ? tmMenuBarItemPushed : tmMenuBarItemNormal);
  const TThemedElementDetails details = Style->GetElementDetails(kind);
  Style->DrawElement(DC, details, R);
  HFONT font = CreateMenuFont(false);
  HGDIOBJ old = SelectObject(DC, font);
  RECT r = R;
  Style->DrawText(DC, details, Item.Caption, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(DC, old);
  DeleteObject(font);
}

}  // namespace

bool PaintStyledMenu(HDC DC, const RECT& R, MenuPaintPart Part, const MenuItemPaint* Item) {
  TCustomStyleServices* style = StyleServices();
  if (!style->Enabled()) return false;
  switch (Part) {
    case MenuPaintPart::Frame:
      style->DrawElement(DC, style->GetElementDetails(tmPopupBackground), R);
      style->DrawElement(DC, style->GetElementDetails(tmPopupBorders), R);
      return true;
    case MenuPaintPart::Background:
      style->DrawElement(DC, style->GetElementDetails(tmPopupBackground), R);
      style->DrawElement(DC, style->GetElementDetails(tmPopupGutter), {R.Left, R.Top, R.Left + Gutter(), R.Bottom});
      return true;
    case MenuPaintPart::BarBackground:
      style->DrawElement(DC, style->GetElementDetails(tmMenuBarBackgroundActive), R);
      return true;
    case MenuPaintPart::Item:
      if (Item) DrawItem(style, DC, R, *Item);
      return Item != nullptr;
    case MenuPaintPart::BarItem:
      if (Item) DrawBarItem(style, DC, R, *Item);
      return Item != nullptr;
  }
  return false;
}

void InstallMenuPainter() {
  if (!MenuPainterHook) MenuPainterHook = PaintStyledMenu;
}
