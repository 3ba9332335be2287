// Buttons: push buttons, radio buttons, check boxes and group boxes.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kEntries[] = {
    {QV_ELEMENT(tbButtonDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tbButtonRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tbPushButtonNormal), 1, 1, "pushButton", "normal"},
    {QV_ELEMENT(tbPushButtonHot), 1, 2, "pushButton", "hot"},
    {QV_ELEMENT(tbPushButtonPressed), 1, 3, "pushButton", "pressed"},
    {QV_ELEMENT(tbPushButtonDisabled), 1, 4, "pushButton", "disabled"},
    {QV_ELEMENT(tbPushButtonDefaulted), 1, 5, "pushButton", "defaulted"},
    {QV_ELEMENT(tbPushButtonDefaultedAnimating), 1, 6, "pushButton", "defaulted"},
    {QV_ELEMENT(tbRadioButtonUncheckedNormal), 2, 1, "radioButton", "normal unchecked"},
    {QV_ELEMENT(tbRadioButtonUncheckedHot), 2, 2, "radioButton", "hot unchecked"},
    {QV_ELEMENT(tbRadioButtonUncheckedPressed), 2, 3, "radioButton", "pressed unchecked"},
    {QV_ELEMENT(tbRadioButtonUncheckedDisabled), 2, 4, "radioButton", "disabled unchecked"},
    {QV_ELEMENT(tbRadioButtonCheckedNormal), 2, 5, "radioButton", "normal checked checkedNormal", gsRadioDot},
    {QV_ELEMENT(tbRadioButtonCheckedHot), 2, 6, "radioButton", "hot checked checkedHot", gsRadioDot},
    {QV_ELEMENT(tbRadioButtonCheckedPressed), 2, 7, "radioButton", "pressed checked checkedPressed", gsRadioDot},
    {QV_ELEMENT(tbRadioButtonCheckedDisabled), 2, 8, "radioButton", "disabled checked checkedDisabled", gsRadioDot},
    {QV_ELEMENT(tbCheckBoxUncheckedNormal), 3, 1, "checkBox", "normal unchecked"},
    {QV_ELEMENT(tbCheckBoxUncheckedHot), 3, 2, "checkBox", "hot unchecked"},
    {QV_ELEMENT(tbCheckBoxUncheckedPressed), 3, 3, "checkBox", "pressed unchecked"},
    {QV_ELEMENT(tbCheckBoxUncheckedDisabled), 3, 4, "checkBox", "disabled unchecked"},
    {QV_ELEMENT(tbCheckBoxCheckedNormal), 3, 5, "checkBox", "normal checked checkedNormal", gsCheck},
    {QV_ELEMENT(tbCheckBoxCheckedHot), 3, 6, "checkBox", "hot checked checkedHot", gsCheck},
    {QV_ELEMENT(tbCheckBoxCheckedPressed), 3, 7, "checkBox", "pressed checked checkedPressed", gsCheck},
    {QV_ELEMENT(tbCheckBoxCheckedDisabled), 3, 8, "checkBox", "disabled checked checkedDisabled", gsCheck},
    {QV_ELEMENT(tbCheckBoxMixedNormal), 3, 9, "checkBox", "normal mixed mixedNormal", gsMixed},
    {QV_ELEMENT(tbCheckBoxMixedHot), 3, 10, "checkBox", "hot mixed mixedHot", gsMixed},
    {QV_ELEMENT(tbCheckBoxMixedPressed), 3, 11, "checkBox", "pressed mixed mixedPressed", gsMixed},
    {QV_ELEMENT(tbCheckBoxMixedDisabled), 3, 12, "checkBox", "disabled mixed mixedDisabled", gsMixed},
    {QV_ELEMENT(tbGroupBoxNormal), 4, 1, "groupBox", "normal"},
    {QV_ELEMENT(tbGroupBoxDisabled), 4, 2, "groupBox", "disabled"},
    {QV_ELEMENT(tbUserButton), 5, 1, "pushButton", "normal"},
};
static_assert(ElementsInOrder(kEntries) && std::size(kEntries) == size_t(tbUserButton) + 1);

}  // namespace

const TElementTable& ButtonElements() {
  static const TElementTable table{teButton, "TThemedButton", kEntries, std::size(kEntries)};
  return table;
}
