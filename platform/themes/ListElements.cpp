// Headers, tree views and list views: header sections, sort arrows, items in their
// selection states, expander glyphs and group headers.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kHeader[] = {
    {QV_ELEMENT(thHeaderDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(thHeaderRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(thHeaderItemNormal), 1, 1, "headerItem", "normal"},
    {QV_ELEMENT(thHeaderItemHot), 1, 2, "headerItem", "hot"},
    {QV_ELEMENT(thHeaderItemPressed), 1, 3, "headerItem", "pressed"},
    {QV_ELEMENT(thHeaderItemLeftNormal), 2, 1, "headerItem", "normal left"},
    {QV_ELEMENT(thHeaderItemLeftHot), 2, 2, "headerItem", "hot left"},
    {QV_ELEMENT(thHeaderItemLeftPressed), 2, 3, "headerItem", "pressed left"},
    {QV_ELEMENT(thHeaderItemRightNormal), 3, 1, "headerItem", "normal right"},
    {QV_ELEMENT(thHeaderItemRightHot), 3, 2, "headerItem", "hot right"},
    {QV_ELEMENT(thHeaderItemRightPressed), 3, 3, "headerItem", "pressed right"},
    {QV_ELEMENT(thHeaderSortArrowSortedUp), 4, 1, "headerSortArrow", "up", gsSortUp},
    {QV_ELEMENT(thHeaderSortArrowSortedDown), 4, 2, "headerSortArrow", "down", gsSortDown},
    {QV_ELEMENT(thHeaderDropDownNormal), 5, 1, "headerDropDown", "normal", gsArrowDown},
    {QV_ELEMENT(thHeaderDropDownHot), 5, 2, "headerDropDown", "hot", gsArrowDown},
};
static_assert(ElementsInOrder(kHeader) && std::size(kHeader) == size_t(thHeaderDropDownHot) + 1);

constexpr TElementEntry kTreeview[] = {
    {QV_ELEMENT(ttTreeviewDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(ttTreeviewRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(ttItemNormal), 1, 1, "treeItem", "normal"},
    {QV_ELEMENT(ttItemHot), 1, 2, "treeItem", "hot"},
    {QV_ELEMENT(ttItemSelected), 1, 3, "treeItem", "selected"},
    {QV_ELEMENT(ttItemDisabled), 1, 4, "treeItem", "disabled"},
    {QV_ELEMENT(ttItemSelectedNotFocus), 1, 5, "treeItem", "selected selectedNotFocus"},
    {QV_ELEMENT(ttItemHotSelected), 1, 6, "treeItem", "selected hotSelected"},
    {QV_ELEMENT(ttGlyphClosed), 2, 1, "treeGlyph", "closed", gsExpandClosed},
    {QV_ELEMENT(ttGlyphOpened), 2, 2, "treeGlyph", "opened", gsExpandOpened},
    {QV_ELEMENT(ttBranch), 3, 1, "treeBranch", "", gsLineVert},
    {QV_ELEMENT(ttHotGlyphClosed), 4, 1, "treeGlyph", "closed hot", gsExpandClosed},
    {QV_ELEMENT(ttHotGlyphOpened), 4, 2, "treeGlyph", "opened hot", gsExpandOpened},
};
static_assert(ElementsInOrder(kTreeview) && std::size(kTreeview) == size_t(ttHotGlyphOpened) + 1);

constexpr TElementEntry kListview[] = {
    {QV_ELEMENT(tlListviewDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tlListviewRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tlListItemNormal), 1, 1, "listItem", "normal"},
    {QV_ELEMENT(tlListItemHot), 1, 2, "listItem", "hot"},
    {QV_ELEMENT(tlListItemSelected), 1, 3, "listItem", "selected"},
    {QV_ELEMENT(tlListItemDisabled), 1, 4, "listItem", "disabled"},
    {QV_ELEMENT(tlListItemSelectedNotFocus), 1, 5, "listItem", "selected selectedNotFocus"},
    {QV_ELEMENT(tlListItemHotSelected), 1, 6, "listItem", "selected hotSelected"},
    {QV_ELEMENT(tlGroupHeaderNormal), 2, 1, "listGroupHeader", "", gsLineHorz},
    {QV_ELEMENT(tlExpandButtonNormal), 3, 1, "listExpandButton", "normal", gsArrowDown},
    {QV_ELEMENT(tlExpandButtonHot), 3, 2, "listExpandButton", "hot", gsArrowDown},
    {QV_ELEMENT(tlExpandButtonPressed), 3, 3, "listExpandButton", "pressed", gsArrowDown},
    {QV_ELEMENT(tlCollapseButtonNormal), 4, 1, "listExpandButton", "normal", gsArrowUp},
    {QV_ELEMENT(tlCollapseButtonHot), 4, 2, "listExpandButton", "hot", gsArrowUp},
    {QV_ELEMENT(tlCollapseButtonPressed), 4, 3, "listExpandButton", "pressed", gsArrowUp},
};
static_assert(ElementsInOrder(kListview) && std::size(kListview) == size_t(tlCollapseButtonPressed) + 1);

}  // namespace

const TElementTable& HeaderElements() {
  static const TElementTable table{teHeader, "TThemedHeader", kHeader, std::size(kHeader)};
  return table;
}

const TElementTable& TreeviewElements() {
  static const TElementTable table{teTreeview, "TThemedTreeview", kTreeview, std::size(kTreeview)};
  return table;
}

const TElementTable& ListviewElements() {
  static const TElementTable table{teListView, "TThemedListview", kListview, std::size(kListview)};
  return table;
}
