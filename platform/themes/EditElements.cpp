// Combo boxes and edits: drop-down buttons, borders, text areas and backgrounds.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kComboBox[] = {
    {QV_ELEMENT(tcComboBoxDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tcComboBoxRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tcDropDownButtonNormal), 1, 1, "comboButton", "normal", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonHot), 1, 2, "comboButton", "hot", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonPressed), 1, 3, "comboButton", "pressed", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonDisabled), 1, 4, "comboButton", "disabled", gsArrowDown},
    {QV_ELEMENT(tcBorderNormal), 2, 1, "comboBorder", "normal"},
    {QV_ELEMENT(tcBorderHot), 2, 2, "comboBorder", "hot"},
    {QV_ELEMENT(tcBorderFocused), 2, 3, "comboBorder", "focused"},
    {QV_ELEMENT(tcBorderDisabled), 2, 4, "comboBorder", "disabled"},
    {QV_ELEMENT(tcReadOnlyNormal), 3, 1, "comboReadOnly", "normal"},
    {QV_ELEMENT(tcReadOnlyHot), 3, 2, "comboReadOnly", "hot"},
    {QV_ELEMENT(tcReadOnlyPressed), 3, 3, "comboReadOnly", "pressed"},
    {QV_ELEMENT(tcReadOnlyDisabled), 3, 4, "comboReadOnly", "disabled"},
    {QV_ELEMENT(tcDropDownButtonRightNormal), 4, 1, "comboButton", "normal right attached", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonRightHot), 4, 2, "comboButton", "hot right attached attachedHot", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonRightPressed), 4, 3, "comboButton", "pressed right attached attachedPressed", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonRightDisabled), 4, 4, "comboButton", "disabled right attached attachedDisabled", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonLeftNormal), 5, 1, "comboButton", "normal left attached", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonLeftHot), 5, 2, "comboButton", "hot left attached attachedHot", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonLeftPressed), 5, 3, "comboButton", "pressed left attached attachedPressed", gsArrowDown},
    {QV_ELEMENT(tcDropDownButtonLeftDisabled), 5, 4, "comboButton", "disabled left attached attachedDisabled", gsArrowDown},
};
static_assert(ElementsInOrder(kComboBox) && std::size(kComboBox) == size_t(tcDropDownButtonLeftDisabled) + 1);

constexpr TElementEntry kEdit[] = {
    {QV_ELEMENT(teEditDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(teEditRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(teEditTextNormal), 1, 1, "edit", "normal"},
    {QV_ELEMENT(teEditTextHot), 1, 2, "edit", "hot"},
    {QV_ELEMENT(teEditTextSelected), 1, 3, "edit", "selected"},
    {QV_ELEMENT(teEditTextDisabled), 1, 4, "edit", "disabled"},
    {QV_ELEMENT(teEditTextFocused), 1, 5, "edit", "focused"},
    {QV_ELEMENT(teEditTextReadOnly), 1, 6, "edit", "readOnly"},
    {QV_ELEMENT(teEditTextAssist), 1, 7, "edit", "assist"},
    {QV_ELEMENT(teEditCaret), 2, 1, "editCaret", "", gsLineVert},
    {QV_ELEMENT(teBackgroundNormal), 3, 1, "editBackground", "normal"},
    {QV_ELEMENT(teBackgroundHot), 3, 2, "editBackground", "hot"},
    {QV_ELEMENT(teBackgroundDisabled), 3, 3, "editBackground", "disabled"},
    {QV_ELEMENT(teBackgroundFocused), 3, 4, "editBackground", "focused"},
    {QV_ELEMENT(teBackgroundReadOnly), 3, 5, "editBackground", "readOnly"},
    {QV_ELEMENT(teBackgroundAssist), 3, 6, "editBackground", "assist"},
    {QV_ELEMENT(teEditBorderNoScrollNormal), 4, 1, "editBorder", "normal"},
    {QV_ELEMENT(teEditBorderNoScrollHot), 4, 2, "editBorder", "hot"},
    {QV_ELEMENT(teEditBorderNoScrollFocused), 4, 3, "editBorder", "focused"},
    {QV_ELEMENT(teEditBorderNoScrollDisabled), 4, 4, "editBorder", "disabled"},
    {QV_ELEMENT(teEditBorderHScrollNormal), 5, 1, "editBorder", "normal"},
    {QV_ELEMENT(teEditBorderHScrollHot), 5, 2, "editBorder", "hot"},
    {QV_ELEMENT(teEditBorderHScrollFocused), 5, 3, "editBorder", "focused"},
    {QV_ELEMENT(teEditBorderHScrollDisabled), 5, 4, "editBorder", "disabled"},
    {QV_ELEMENT(teEditBorderVScrollNormal), 6, 1, "editBorder", "normal"},
    {QV_ELEMENT(teEditBorderVScrollHot), 6, 2, "editBorder", "hot"},
    {QV_ELEMENT(teEditBorderVScrollFocused), 6, 3, "editBorder", "focused"},
    {QV_ELEMENT(teEditBorderVScrollDisabled), 6, 4, "editBorder", "disabled"},
    {QV_ELEMENT(teEditBorderHVScrollNormal), 7, 1, "editBorder", "normal"},
    {QV_ELEMENT(teEditBorderHVScrollHot), 7, 2, "editBorder", "hot"},
    {QV_ELEMENT(teEditBorderHVScrollFocused), 7, 3, "editBorder", "focused"},
    {QV_ELEMENT(teEditBorderHVScrollDisabled), 7, 4, "editBorder", "disabled"},
};
static_assert(ElementsInOrder(kEdit) && std::size(kEdit) == size_t(teEditBorderHVScrollDisabled) + 1);

}  // namespace

const TElementTable& ComboBoxElements() {
  static const TElementTable table{teComboBox, "TThemedComboBox", kComboBox, std::size(kComboBox)};
  return table;
}

const TElementTable& EditElements() {
  static const TElementTable table{teEdit, "TThemedEdit", kEdit, std::size(kEdit)};
  return table;
}
