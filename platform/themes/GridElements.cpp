// Grids (cells and header cells in the themed, classic and gradient drawing styles, cell
// buttons) and month calendars (their backgrounds, cells and navigation buttons).
#include "ElementTable.h"

namespace {

constexpr TElementEntry kGrid[] = {
    {QV_ELEMENT(tgGridDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tgGridRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tgCellNormal), 1, 1, "gridCell", "normal"},
    {QV_ELEMENT(tgCellSelected), 1, 2, "gridCell", "selected"},
    {QV_ELEMENT(tgCellRowSelectedLeft), 1, 3, "gridCell", "selected rowSelected rowSelectedLeft"},
    {QV_ELEMENT(tgCellRowSelectedCenter), 1, 4, "gridCell", "selected rowSelected rowSelectedCenter"},
    {QV_ELEMENT(tgCellRowSelectedRight), 1, 5, "gridCell", "selected rowSelected rowSelectedRight"},
    {QV_ELEMENT(tgFixedCellNormal), 2, 1, "gridFixedCell", "normal"},
    {QV_ELEMENT(tgFixedCellHot), 2, 2, "gridFixedCell", "hot"},
    {QV_ELEMENT(tgFixedCellPressed), 2, 3, "gridFixedCell", "pressed"},
    {QV_ELEMENT(tgClassicCellNormal), 3, 1, "gridCell", "normal classic"},
    {QV_ELEMENT(tgClassicCellSelected), 3, 2, "gridCell", "selected classic classicSelected"},
    {QV_ELEMENT(tgClassicCellRowSelectedLeft), 3, 3, "gridCell",
     "selected rowSelected rowSelectedLeft classic classicSelected"},
    {QV_ELEMENT(tgClassicCellRowSelectedCenter), 3, 4, "gridCell",
     "selected rowSelected rowSelectedCenter classic classicSelected"},
    {QV_ELEMENT(tgClassicCellRowSelectedRight), 3, 5, "gridCell",
     "selected rowSelected rowSelectedRight classic classicSelected"},
    {QV_ELEMENT(tgClassicFixedCellNormal), 4, 1, "gridFixedCell", "normal classic"},
    {QV_ELEMENT(tgClassicFixedCellHot), 4, 2, "gridFixedCell", "hot classic classicHot"},
    {QV_ELEMENT(tgClassicFixedCellPressed), 4, 3, "gridFixedCell", "pressed classic classicPressed"},
    {QV_ELEMENT(tgGradientCellNormal), 5, 1, "gridCell", "normal gradient"},
    {QV_ELEMENT(tgGradientCellSelected), 5, 2, "gridCell", "selected gradient gradientSelected"},
    {QV_ELEMENT(tgGradientCellRowSelectedLeft), 5, 3, "gridCell",
     "selected rowSelected rowSelectedLeft gradient gradientSelected"},
    {QV_ELEMENT(tgGradientCellRowSelectedCenter), 5, 4, "gridCell",
     "selected rowSelected rowSelectedCenter gradient gradientSelected"},
    {QV_ELEMENT(tgGradientCellRowSelectedRight), 5, 5, "gridCell",
     "selected rowSelected rowSelectedRight gradient gradientSelected"},
    {QV_ELEMENT(tgGradientFixedCellNormal), 6, 1, "gridFixedCell", "normal gradient"},
    {QV_ELEMENT(tgGradientFixedCellHot), 6, 2, "gridFixedCell", "hot gradient gradientHot"},
    {QV_ELEMENT(tgGradientFixedCellPressed), 6, 3, "gridFixedCell", "pressed gradient gradientPressed"},
    {QV_ELEMENT(tgDropDownButtonNormal), 7, 1, "gridButton", "normal", gsArrowDown},
    {QV_ELEMENT(tgDropDownButtonHot), 7, 2, "gridButton", "hot", gsArrowDown},
    {QV_ELEMENT(tgDropDownButtonPressed), 7, 3, "gridButton", "pressed", gsArrowDown},
    {QV_ELEMENT(tgDropDownButtonDisabled), 7, 4, "gridButton", "disabled", gsArrowDown},
    {QV_ELEMENT(tgEllipsisButtonNormal), 8, 1, "gridButton", "normal", gsEllipsis},
    {QV_ELEMENT(tgEllipsisButtonHot), 8, 2, "gridButton", "hot", gsEllipsis},
    {QV_ELEMENT(tgEllipsisButtonPressed), 8, 3, "gridButton", "pressed", gsEllipsis},
};
static_assert(ElementsInOrder(kGrid) && std::size(kGrid) == size_t(tgEllipsisButtonPressed) + 1);

constexpr TElementEntry kMonthCal[] = {
    {QV_ELEMENT(tmcMonthCalDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tmcMonthCalRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tmcBackground), 1, 1, "calendar", "background"},
    {QV_ELEMENT(tmcBorders), 2, 1, "calendar", "borders"},
    {QV_ELEMENT(tmcGridBackground), 3, 1, "calendar", "gridBackground"},
    {QV_ELEMENT(tmcColHeaderSplitter), 4, 1, "calendar", "splitter", gsLineHorz},
    // The cell backgrounds are the list-selection look of the system.
    {QV_ELEMENT(tmcGridCellBackgroundSelected), 5, 1, "calendarCell", "selected"},
    {QV_ELEMENT(tmcGridCellBackgroundHot), 5, 2, "calendarCell", "hot"},
    {QV_ELEMENT(tmcGridCellBackgroundSelectedHot), 5, 3, "calendarCell", "selected selectedHot"},
    {QV_ELEMENT(tmcGridCellBackgroundSelectedNotFocused), 5, 4, "calendarCell", "selected selectedNotFocused"},
    {QV_ELEMENT(tmcGridCellBackgroundToday), 5, 5, "calendarCell", "today"},
    {QV_ELEMENT(tmcGridCellHot), 6, 1, "calendarCell", "hot"},
    {QV_ELEMENT(tmcGridCellHasState), 6, 2, "calendarCell", "hasState"},
    {QV_ELEMENT(tmcGridCellHasStateHot), 6, 3, "calendarCell", "hot hasState hasStateHot"},
    {QV_ELEMENT(tmcGridCellToday), 6, 4, "calendarCell", "today"},
    {QV_ELEMENT(tmcNavNextNormal), 7, 1, "calendarNav", "normal", gsArrowRight},
    {QV_ELEMENT(tmcNavNextHot), 7, 2, "calendarNav", "hot", gsArrowRight},
    {QV_ELEMENT(tmcNavNextPressed), 7, 3, "calendarNav", "pressed", gsArrowRight},
    {QV_ELEMENT(tmcNavNextDisabled), 7, 4, "calendarNav", "disabled", gsArrowRight},
    {QV_ELEMENT(tmcNavPrevNormal), 8, 1, "calendarNav", "normal", gsArrowLeft},
    {QV_ELEMENT(tmcNavPrevHot), 8, 2, "calendarNav", "hot", gsArrowLeft},
    {QV_ELEMENT(tmcNavPrevPressed), 8, 3, "calendarNav", "pressed", gsArrowLeft},
    {QV_ELEMENT(tmcNavPrevDisabled), 8, 4, "calendarNav", "disabled", gsArrowLeft},
};
static_assert(ElementsInOrder(kMonthCal) && std::size(kMonthCal) == size_t(tmcNavPrevDisabled) + 1);

}  // namespace

const TElementTable& GridElements() {
  static const TElementTable table{teGrid, "TThemedGrid", kGrid, std::size(kGrid)};
  return table;
}

const TElementTable& MonthCalElements() {
  static const TElementTable table{teMonthCal, "TThemedMonthCal", kMonthCal, std::size(kMonthCal)};
  return table;
}
