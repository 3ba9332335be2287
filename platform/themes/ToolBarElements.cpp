// Tool bars: the bar, its buttons (plain, drop-down, split and the split's arrow part)
// and separators.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kEntries[] = {
    {QV_ELEMENT(ttbToolBarDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(ttbToolBarRoot), 0, 0, "toolBar", ""},
    {QV_ELEMENT(ttbButtonNormal), 1, 1, "toolButton", "normal"},
    {QV_ELEMENT(ttbButtonHot), 1, 2, "toolButton", "hot"},
    {QV_ELEMENT(ttbButtonPressed), 1, 3, "toolButton", "pressed"},
    {QV_ELEMENT(ttbButtonDisabled), 1, 4, "toolButton", "disabled"},
    {QV_ELEMENT(ttbButtonChecked), 1, 5, "toolButton", "checked"},
    {QV_ELEMENT(ttbButtonCheckedHot), 1, 6, "toolButton", "checked checkedHot"},
    {QV_ELEMENT(ttbDropDownButtonNormal), 2, 1, "toolButton", "normal dropDown", gsArrowDown, gpRight},
    {QV_ELEMENT(ttbDropDownButtonHot), 2, 2, "toolButton", "hot dropDown", gsArrowDown, gpRight},
    {QV_ELEMENT(ttbDropDownButtonPressed), 2, 3, "toolButton", "pressed dropDown", gsArrowDown, gpRight},
    {QV_ELEMENT(ttbDropDownButtonDisabled), 2, 4, "toolButton", "disabled dropDown", gsArrowDown, gpRight},
    {QV_ELEMENT(ttbDropDownButtonChecked), 2, 5, "toolButton", "checked dropDown", gsArrowDown, gpRight},
    {QV_ELEMENT(ttbDropDownButtonCheckedHot), 2, 6, "toolButton", "checked checkedHot dropDown", gsArrowDown,
     gpRight},
    {QV_ELEMENT(ttbSplitButtonNormal), 3, 1, "toolButton", "normal split"},
    {QV_ELEMENT(ttbSplitButtonHot), 3, 2, "toolButton", "hot split"},
    {QV_ELEMENT(ttbSplitButtonPressed), 3, 3, "toolButton", "pressed split"},
    {QV_ELEMENT(ttbSplitButtonDisabled), 3, 4, "toolButton", "disabled split"},
    {QV_ELEMENT(ttbSplitButtonChecked), 3, 5, "toolButton", "checked split"},
    {QV_ELEMENT(ttbSplitButtonCheckedHot), 3, 6, "toolButton", "checked checkedHot split"},
    {QV_ELEMENT(ttbSplitButtonDropDownNormal), 4, 1, "toolButton", "normal splitDropDown", gsArrowDown},
    {QV_ELEMENT(ttbSplitButtonDropDownHot), 4, 2, "toolButton", "hot splitDropDown", gsArrowDown},
    {QV_ELEMENT(ttbSplitButtonDropDownPressed), 4, 3, "toolButton", "pressed splitDropDown", gsArrowDown},
    {QV_ELEMENT(ttbSplitButtonDropDownDisabled), 4, 4, "toolButton", "disabled splitDropDown", gsArrowDown},
    {QV_ELEMENT(ttbSplitButtonDropDownChecked), 4, 5, "toolButton", "checked splitDropDown", gsArrowDown},
    {QV_ELEMENT(ttbSplitButtonDropDownCheckedHot), 4, 6, "toolButton", "checked checkedHot splitDropDown",
     gsArrowDown},
    // A separator between buttons of a horizontal bar is a vertical line, and the other way round.
    {QV_ELEMENT(ttbSeparatorNormal), 5, 1, "toolSeparator", "normal", gsLineVert},
    {QV_ELEMENT(ttbSeparatorHot), 5, 2, "toolSeparator", "hot", gsLineVert},
    {QV_ELEMENT(ttbSeparatorPressed), 5, 3, "toolSeparator", "pressed", gsLineVert},
    {QV_ELEMENT(ttbSeparatorDisabled), 5, 4, "toolSeparator", "disabled", gsLineVert},
    {QV_ELEMENT(ttbSeparatorChecked), 5, 5, "toolSeparator", "checked", gsLineVert},
    {QV_ELEMENT(ttbSeparatorCheckedHot), 5, 6, "toolSeparator", "checked checkedHot", gsLineVert},
    {QV_ELEMENT(ttbSeparatorVertNormal), 6, 1, "toolSeparator", "normal vert", gsLineHorz},
    {QV_ELEMENT(ttbSeparatorVertHot), 6, 2, "toolSeparator", "hot vert", gsLineHorz},
    {QV_ELEMENT(ttbSeparatorVertPressed), 6, 3, "toolSeparator", "pressed vert", gsLineHorz},
    {QV_ELEMENT(ttbSeparatorVertDisabled), 6, 4, "toolSeparator", "disabled vert", gsLineHorz},
    {QV_ELEMENT(ttbSeparatorVertChecked), 6, 5, "toolSeparator", "checked vert", gsLineHorz},
    {QV_ELEMENT(ttbSeparatorVertCheckedHot), 6, 6, "toolSeparator", "checked checkedHot vert", gsLineHorz},
};
static_assert(ElementsInOrder(kEntries) && std::size(kEntries) == size_t(ttbSeparatorVertCheckedHot) + 1);

}  // namespace

const TElementTable& ToolBarElements() {
  static const TElementTable table{teToolBar, "TThemedToolBar", kEntries, std::size(kEntries)};
  return table;
}
