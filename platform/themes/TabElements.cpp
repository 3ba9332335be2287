// Tab controls: items (plain, at the left or right edge of a row or both, and the top
// row's variants), the pane under the tabs and the body of a page.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kEntries[] = {
    {QV_ELEMENT(ttTabDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(ttTabRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(ttTabItemNormal), 1, 1, "tabItem", "normal"},
    {QV_ELEMENT(ttTabItemHot), 1, 2, "tabItem", "hot"},
    {QV_ELEMENT(ttTabItemSelected), 1, 3, "tabItem", "selected"},
    {QV_ELEMENT(ttTabItemDisabled), 1, 4, "tabItem", "disabled"},
    {QV_ELEMENT(ttTabItemFocused), 1, 5, "tabItem", "focused"},
    {QV_ELEMENT(ttTabItemLeftEdgeNormal), 2, 1, "tabItem", "normal leftEdge"},
    {QV_ELEMENT(ttTabItemLeftEdgeHot), 2, 2, "tabItem", "hot leftEdge"},
    {QV_ELEMENT(ttTabItemLeftEdgeSelected), 2, 3, "tabItem", "selected leftEdge"},
    {QV_ELEMENT(ttTabItemLeftEdgeDisabled), 2, 4, "tabItem", "disabled leftEdge"},
    {QV_ELEMENT(ttTabItemLeftEdgeFocused), 2, 5, "tabItem", "focused leftEdge"},
    {QV_ELEMENT(ttTabItemRightEdgeNormal), 3, 1, "tabItem", "normal rightEdge"},
    {QV_ELEMENT(ttTabItemRightEdgeHot), 3, 2, "tabItem", "hot rightEdge"},
    {QV_ELEMENT(ttTabItemRightEdgeSelected), 3, 3, "tabItem", "selected rightEdge"},
    {QV_ELEMENT(ttTabItemRightEdgeDisabled), 3, 4, "tabItem", "disabled rightEdge"},
    {QV_ELEMENT(ttTabItemRightEdgeFocused), 3, 5, "tabItem", "focused rightEdge"},
    {QV_ELEMENT(ttTabItemBothEdgeNormal), 4, 1, "tabItem", "normal bothEdge"},
    {QV_ELEMENT(ttTabItemBothEdgeHot), 4, 2, "tabItem", "hot bothEdge"},
    {QV_ELEMENT(ttTabItemBothEdgeSelected), 4, 3, "tabItem", "selected bothEdge"},
    {QV_ELEMENT(ttTabItemBothEdgeDisabled), 4, 4, "tabItem", "disabled bothEdge"},
    {QV_ELEMENT(ttTabItemBothEdgeFocused), 4, 5, "tabItem", "focused bothEdge"},
    {QV_ELEMENT(ttTopTabItemNormal), 5, 1, "tabItem", "normal top"},
    {QV_ELEMENT(ttTopTabItemHot), 5, 2, "tabItem", "hot top"},
    {QV_ELEMENT(ttTopTabItemSelected), 5, 3, "tabItem", "selected top"},
    {QV_ELEMENT(ttTopTabItemDisabled), 5, 4, "tabItem", "disabled top"},
    {QV_ELEMENT(ttTopTabItemFocused), 5, 5, "tabItem", "focused top"},
    {QV_ELEMENT(ttTopTabItemLeftEdgeNormal), 6, 1, "tabItem", "normal top leftEdge"},
    {QV_ELEMENT(ttTopTabItemLeftEdgeHot), 6, 2, "tabItem", "hot top leftEdge"},
    {QV_ELEMENT(ttTopTabItemLeftEdgeSelected), 6, 3, "tabItem", "selected top leftEdge"},
    {QV_ELEMENT(ttTopTabItemLeftEdgeDisabled), 6, 4, "tabItem", "disabled top leftEdge"},
    {QV_ELEMENT(ttTopTabItemLeftEdgeFocused), 6, 5, "tabItem", "focused top leftEdge"},
    {QV_ELEMENT(ttTopTabItemRightEdgeNormal), 7, 1, "tabItem", "normal top rightEdge"},
    {QV_ELEMENT(ttTopTabItemRightEdgeHot), 7, 2, "tabItem", "hot top rightEdge"},
    {QV_ELEMENT(ttTopTabItemRightEdgeSelected), 7, 3, "tabItem", "selected top rightEdge"},
    {QV_ELEMENT(ttTopTabItemRightEdgeDisabled), 7, 4, "tabItem", "disabled top rightEdge"},
    {QV_ELEMENT(ttTopTabItemRightEdgeFocused), 7, 5, "tabItem", "focused top rightEdge"},
    {QV_ELEMENT(ttTopTabItemBothEdgeNormal), 8, 1, "tabItem", "normal top bothEdge"},
    {QV_ELEMENT(ttTopTabItemBothEdgeHot), 8, 2, "tabItem", "hot top bothEdge"},
    {QV_ELEMENT(ttTopTabItemBothEdgeSelected), 8, 3, "tabItem", "selected top bothEdge"},
    {QV_ELEMENT(ttTopTabItemBothEdgeDisabled), 8, 4, "tabItem", "disabled top bothEdge"},
    {QV_ELEMENT(ttTopTabItemBothEdgeFocused), 8, 5, "tabItem", "focused top bothEdge"},
    {QV_ELEMENT(ttPane), 9, 1, "tabPane", ""},
    {QV_ELEMENT(ttBody), 10, 1, "tabBody", ""},
};
static_assert(ElementsInOrder(kEntries) && std::size(kEntries) == size_t(ttBody) + 1);

}  // namespace

const TElementTable& TabElements() {
  static const TElementTable table{teTab, "TThemedTab", kEntries, std::size(kEntries)};
  return table;
}
