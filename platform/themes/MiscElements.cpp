// Progress bars, status bars, hints, tool tips and panels.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kProgress[] = {
    {QV_ELEMENT(tpProgressDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tpProgressRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tpBar), 1, 1, "progressBar", "horz"},
    {QV_ELEMENT(tpBarVert), 2, 1, "progressBar", "vert"},
    {QV_ELEMENT(tpChunk), 3, 1, "progressChunk", "horz"},
    {QV_ELEMENT(tpChunkVert), 4, 1, "progressChunk", "vert"},
    {QV_ELEMENT(tpFillNormal), 5, 1, "progressChunk", "horz"},
    {QV_ELEMENT(tpFillError), 5, 2, "progressChunk", "horz error"},
    {QV_ELEMENT(tpFillPaused), 5, 3, "progressChunk", "horz paused"},
    {QV_ELEMENT(tpFillPartial), 5, 4, "progressChunk", "horz partial"},
};
static_assert(ElementsInOrder(kProgress) && std::size(kProgress) == size_t(tpFillPartial) + 1);

constexpr TElementEntry kStatus[] = {
    {QV_ELEMENT(tsStatusDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tsStatusRoot), 0, 0, "statusBar", ""},
    {QV_ELEMENT(tsPane), 1, 1, "statusPane", "pane"},
    {QV_ELEMENT(tsGripperPane), 2, 1, "statusPane", "gripperPane"},
    {QV_ELEMENT(tsGripper), 3, 1, "statusGripper", "", gsSizeGrip, gpBottomRight},
};
static_assert(ElementsInOrder(kStatus) && std::size(kStatus) == size_t(tsGripper) + 1);

constexpr TElementEntry kHint[] = {
    {QV_ELEMENT(thHintDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(thHintRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(thHintNormal), 1, 1, "hint", "normal"},
    {QV_ELEMENT(thHintBalloon), 2, 1, "hint", "balloon"},
};
static_assert(ElementsInOrder(kHint) && std::size(kHint) == size_t(thHintBalloon) + 1);

constexpr TElementEntry kToolTip[] = {
    {QV_ELEMENT(tttToolTipDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tttToolTipRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tttStandardNormal), 1, 1, "toolTip", "standard"},
    {QV_ELEMENT(tttStandardLink), 1, 2, "toolTip", "standard link"},
    {QV_ELEMENT(tttStandardTitleNormal), 2, 1, "toolTip", "standard title"},
    {QV_ELEMENT(tttStandardTitleLink), 2, 2, "toolTip", "standard title link"},
    {QV_ELEMENT(tttBalloonNormal), 3, 1, "toolTip", "balloon"},
    {QV_ELEMENT(tttBalloonLink), 3, 2, "toolTip", "balloon link"},
    {QV_ELEMENT(tttBalloonTitleNormal), 4, 1, "toolTip", "balloon title"},
    {QV_ELEMENT(tttBalloonTitleLink), 4, 2, "toolTip", "balloon title link"},
    {QV_ELEMENT(tttCloseNormal), 5, 1, "toolTipClose", "normal", gsClose},
    {QV_ELEMENT(tttCloseHot), 5, 2, "toolTipClose", "hot", gsClose},
    {QV_ELEMENT(tttClosePressed), 5, 3, "toolTipClose", "pressed", gsClose},
};
static_assert(ElementsInOrder(kToolTip) && std::size(kToolTip) == size_t(tttClosePressed) + 1);

constexpr TElementEntry kPanel[] = {
    {QV_ELEMENT(tpPanelDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tpPanelRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tpPanelBackground), 1, 1, "panel", "background"},
    {QV_ELEMENT(tpPanelBevel), 2, 1, "panel", "bevel"},
    {QV_ELEMENT(tpDockPanelHorzNormal), 3, 1, "panel", "dock horz"},
    {QV_ELEMENT(tpDockPanelHorzSelected), 3, 2, "panel", "dock horz selected"},
    {QV_ELEMENT(tpDockPanelVertNormal), 4, 1, "panel", "dock vert"},
    {QV_ELEMENT(tpDockPanelVertSelected), 4, 2, "panel", "dock vert selected"},
};
static_assert(ElementsInOrder(kPanel) && std::size(kPanel) == size_t(tpDockPanelVertSelected) + 1);

}  // namespace

const TElementTable& ProgressElements() {
  static const TElementTable table{teProgress, "TThemedProgress", kProgress, std::size(kProgress)};
  return table;
}

const TElementTable& StatusElements() {
  static const TElementTable table{teStatus, "TThemedStatus", kStatus, std::size(kStatus)};
  return table;
}

const TElementTable& HintElements() {
  static const TElementTable table{teHint, "TThemedHint", kHint, std::size(kHint)};
  return table;
}

const TElementTable& ToolTipElements() {
  static const TElementTable table{teToolTip, "TThemedToolTip", kToolTip, std::size(kToolTip)};
  return table;
}

const TElementTable& PanelElements() {
  static const TElementTable table{tePanel, "TThemedPanel", kPanel, std::size(kPanel)};
  return table;
}
