// Menus: the menu bar and its items, popup menus (background, borders, gutter, items,
// separators, check marks, sub-menu arrows) and the system buttons of an MDI child's menu.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kEntries[] = {
    {QV_ELEMENT(tmMenuDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tmMenuRoot), 0, 0, nullptr, ""},
    // The older names, drawn as their current counterparts.
    {QV_ELEMENT(tmMenuItemNormal), 1, 1, "popupItem", "normal"},
    {QV_ELEMENT(tmMenuItemSelected), 1, 2, "popupItem", "hot"},
    {QV_ELEMENT(tmMenuItemDemoted), 1, 3, "popupItem", "normal"},
    {QV_ELEMENT(tmMenuDropDown), 2, 1, "popupBackground", ""},
    {QV_ELEMENT(tmMenuBarItem), 3, 1, "menuBarItem", "normal"},
    {QV_ELEMENT(tmMenuBarDropDown), 4, 1, "menuBarItem", "pushed"},
    {QV_ELEMENT(tmChevron), 5, 1, "menuBarItem", "normal", gsChevron},
    {QV_ELEMENT(tmSeparator), 6, 1, "popupSeparator", "", gsLineHorz},
    {QV_ELEMENT(tmMenuBarBackgroundActive), 7, 1, "menuBar", "active"},
    {QV_ELEMENT(tmMenuBarBackgroundInactive), 7, 2, "menuBar", "inactive"},
    {QV_ELEMENT(tmMenuBarItemNormal), 8, 1, "menuBarItem", "normal"},
    {QV_ELEMENT(tmMenuBarItemHot), 8, 2, "menuBarItem", "hot"},
    {QV_ELEMENT(tmMenuBarItemPushed), 8, 3, "menuBarItem", "pushed"},
    {QV_ELEMENT(tmMenuBarItemDisabled), 8, 4, "menuBarItem", "disabled"},
    {QV_ELEMENT(tmMenuBarItemDisabledHot), 8, 5, "menuBarItem", "disabled disabledHot"},
    {QV_ELEMENT(tmMenuBarItemDisabledPushed), 8, 6, "menuBarItem", "disabled disabledPushed"},
    {QV_ELEMENT(tmPopupBackground), 9, 1, "popupBackground", ""},
    {QV_ELEMENT(tmPopupBorders), 10, 1, "popupBorders", ""},
    {QV_ELEMENT(tmPopupCheckMarkNormal), 11, 1, "popupCheck", "normal check", gsCheck},
    {QV_ELEMENT(tmPopupCheckMarkDisabled), 11, 2, "popupCheck", "disabled check", gsCheck},
    {QV_ELEMENT(tmPopupBulletNormal), 11, 3, "popupCheck", "normal bullet", gsBullet},
    {QV_ELEMENT(tmPopupBulletDisabled), 11, 4, "popupCheck", "disabled bullet", gsBullet},
    {QV_ELEMENT(tmPopupCheckBackgroundDisabled), 12, 1, "popupCheckBackground", "disabled"},
    {QV_ELEMENT(tmPopupCheckBackgroundNormal), 12, 2, "popupCheckBackground", "normal"},
    {QV_ELEMENT(tmPopupCheckBackgroundBitmap), 12, 3, "popupCheckBackground", "bitmap"},
    {QV_ELEMENT(tmPopupGutter), 13, 1, "popupGutter", "", gsLineVert, gpRight},
    {QV_ELEMENT(tmPopupItemNormal), 14, 1, "popupItem", "normal"},
    {QV_ELEMENT(tmPopupItemHot), 14, 2, "popupItem", "hot"},
    {QV_ELEMENT(tmPopupItemDisabled), 14, 3, "popupItem", "disabled"},
    {QV_ELEMENT(tmPopupItemDisabledHot), 14, 4, "popupItem", "disabled disabledHot"},
    {QV_ELEMENT(tmPopupSeparator), 15, 1, "popupSeparator", "", gsLineHorz},
    {QV_ELEMENT(tmPopupSubMenuNormal), 16, 1, "popupSubMenu", "normal", gsArrowRight},
    {QV_ELEMENT(tmPopupSubMenuDisabled), 16, 2, "popupSubMenu", "disabled", gsArrowRight},
    {QV_ELEMENT(tmSystemCloseNormal), 17, 1, "menuSystemButton", "normal", gsClose},
    {QV_ELEMENT(tmSystemCloseDisabled), 17, 2, "menuSystemButton", "disabled", gsClose},
    {QV_ELEMENT(tmSystemMaximizeNormal), 18, 1, "menuSystemButton", "normal", gsMaximize},
    {QV_ELEMENT(tmSystemMaximizeDisabled), 18, 2, "menuSystemButton", "disabled", gsMaximize},
    {QV_ELEMENT(tmSystemMinimizeNormal), 19, 1, "menuSystemButton", "normal", gsMinimize},
    {QV_ELEMENT(tmSystemMinimizeDisabled), 19, 2, "menuSystemButton", "disabled", gsMinimize},
    {QV_ELEMENT(tmSystemRestoreNormal), 20, 1, "menuSystemButton", "normal", gsRestore},
    {QV_ELEMENT(tmSystemRestoreDisabled), 20, 2, "menuSystemButton", "disabled", gsRestore},
};
static_assert(ElementsInOrder(kEntries) && std::size(kEntries) == size_t(tmSystemRestoreDisabled) + 1);

}  // namespace

const TElementTable& MenuElements() {
  static const TElementTable table{teMenu, "TThemedMenu", kEntries, std::size(kEntries)};
  return table;
}
