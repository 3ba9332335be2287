// Scroll bars (arrow buttons, thumbs, tracks, grippers, size box) and up-down buttons.
#include "ElementTable.h"

namespace {

constexpr TElementEntry kScrollBar[] = {
    {QV_ELEMENT(tsScrollBarDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tsScrollBarRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tsArrowBtnUpNormal), 1, 1, "scrollArrow", "normal up", gsArrowUp},
    {QV_ELEMENT(tsArrowBtnUpHot), 1, 2, "scrollArrow", "hot up", gsArrowUp},
    {QV_ELEMENT(tsArrowBtnUpPressed), 1, 3, "scrollArrow", "pressed up", gsArrowUp},
    {QV_ELEMENT(tsArrowBtnUpDisabled), 1, 4, "scrollArrow", "disabled up", gsArrowUp},
    {QV_ELEMENT(tsArrowBtnDownNormal), 1, 5, "scrollArrow", "normal down", gsArrowDown},
    {QV_ELEMENT(tsArrowBtnDownHot), 1, 6, "scrollArrow", "hot down", gsArrowDown},
    {QV_ELEMENT(tsArrowBtnDownPressed), 1, 7, "scrollArrow", "pressed down", gsArrowDown},
    {QV_ELEMENT(tsArrowBtnDownDisabled), 1, 8, "scrollArrow", "disabled down", gsArrowDown},
    {QV_ELEMENT(tsArrowBtnLeftNormal), 1, 9, "scrollArrow", "normal left", gsArrowLeft},
    {QV_ELEMENT(tsArrowBtnLeftHot), 1, 10, "scrollArrow", "hot left", gsArrowLeft},
    {QV_ELEMENT(tsArrowBtnLeftPressed), 1, 11, "scrollArrow", "pressed left", gsArrowLeft},
    {QV_ELEMENT(tsArrowBtnLeftDisabled), 1, 12, "scrollArrow", "disabled left", gsArrowLeft},
    {QV_ELEMENT(tsArrowBtnRightNormal), 1, 13, "scrollArrow", "normal right", gsArrowRight},
    {QV_ELEMENT(tsArrowBtnRightHot), 1, 14, "scrollArrow", "hot right", gsArrowRight},
    {QV_ELEMENT(tsArrowBtnRightPressed), 1, 15, "scrollArrow", "pressed right", gsArrowRight},
    {QV_ELEMENT(tsArrowBtnRightDisabled), 1, 16, "scrollArrow", "disabled right", gsArrowRight},
    {QV_ELEMENT(tsThumbBtnHorzNormal), 2, 1, "scrollThumb", "normal horz"},
    {QV_ELEMENT(tsThumbBtnHorzHot), 2, 2, "scrollThumb", "hot horz"},
    {QV_ELEMENT(tsThumbBtnHorzPressed), 2, 3, "scrollThumb", "pressed horz"},
    {QV_ELEMENT(tsThumbBtnHorzDisabled), 2, 4, "scrollThumb", "disabled horz"},
    {QV_ELEMENT(tsThumbBtnVertNormal), 3, 1, "scrollThumb", "normal vert"},
    {QV_ELEMENT(tsThumbBtnVertHot), 3, 2, "scrollThumb", "hot vert"},
    {QV_ELEMENT(tsThumbBtnVertPressed), 3, 3, "scrollThumb", "pressed vert"},
    {QV_ELEMENT(tsThumbBtnVertDisabled), 3, 4, "scrollThumb", "disabled vert"},
    {QV_ELEMENT(tsLowerTrackHorzNormal), 4, 1, "scrollTrack", "normal horz"},
    {QV_ELEMENT(tsLowerTrackHorzHot), 4, 2, "scrollTrack", "hot horz"},
    {QV_ELEMENT(tsLowerTrackHorzPressed), 4, 3, "scrollTrack", "pressed horz"},
    {QV_ELEMENT(tsLowerTrackHorzDisabled), 4, 4, "scrollTrack", "disabled horz"},
    {QV_ELEMENT(tsUpperTrackHorzNormal), 5, 1, "scrollTrack", "normal horz"},
    {QV_ELEMENT(tsUpperTrackHorzHot), 5, 2, "scrollTrack", "hot horz"},
    {QV_ELEMENT(tsUpperTrackHorzPressed), 5, 3, "scrollTrack", "pressed horz"},
    {QV_ELEMENT(tsUpperTrackHorzDisabled), 5, 4, "scrollTrack", "disabled horz"},
    {QV_ELEMENT(tsLowerTrackVertNormal), 6, 1, "scrollTrack", "normal vert"},
    {QV_ELEMENT(tsLowerTrackVertHot), 6, 2, "scrollTrack", "hot vert"},
    {QV_ELEMENT(tsLowerTrackVertPressed), 6, 3, "scrollTrack", "pressed vert"},
    {QV_ELEMENT(tsLowerTrackVertDisabled), 6, 4, "scrollTrack", "disabled vert"},
    {QV_ELEMENT(tsUpperTrackVertNormal), 7, 1, "scrollTrack", "normal vert"},
    {QV_ELEMENT(tsUpperTrackVertHot), 7, 2, "scrollTrack", "hot vert"},
    {QV_ELEMENT(tsUpperTrackVertPressed), 7, 3, "scrollTrack", "pressed vert"},
    {QV_ELEMENT(tsUpperTrackVertDisabled), 7, 4, "scrollTrack", "disabled vert"},
    // Grippers are drawn over a thumb: only their glyph.
    {QV_ELEMENT(tsGripperHorzNormal), 8, 1, "scrollGripper", "normal horz", gsGripperHorz},
    {QV_ELEMENT(tsGripperHorzHot), 8, 2, "scrollGripper", "hot horz", gsGripperHorz},
    {QV_ELEMENT(tsGripperHorzPressed), 8, 3, "scrollGripper", "pressed horz", gsGripperHorz},
    {QV_ELEMENT(tsGripperHorzDisabled), 8, 4, "scrollGripper", "disabled horz", gsGripperHorz},
    {QV_ELEMENT(tsGripperVertNormal), 9, 1, "scrollGripper", "normal vert", gsGripperVert},
    {QV_ELEMENT(tsGripperVertHot), 9, 2, "scrollGripper", "hot vert", gsGripperVert},
    {QV_ELEMENT(tsGripperVertPressed), 9, 3, "scrollGripper", "pressed vert", gsGripperVert},
    {QV_ELEMENT(tsGripperVertDisabled), 9, 4, "scrollGripper", "disabled vert", gsGripperVert},
    {QV_ELEMENT(tsSizeBoxRightAlign), 10, 1, "sizeBox", "right", gsSizeGrip, gpBottomRight},
    {QV_ELEMENT(tsSizeBoxLeftAlign), 10, 2, "sizeBox", "left", gsSizeGripLeft, gpBottomLeft},
};
static_assert(ElementsInOrder(kScrollBar) && std::size(kScrollBar) == size_t(tsSizeBoxLeftAlign) + 1);

constexpr TElementEntry kSpin[] = {
    {QV_ELEMENT(tsSpinDontCare), 0, 0, nullptr, ""},
    {QV_ELEMENT(tsSpinRoot), 0, 0, nullptr, ""},
    {QV_ELEMENT(tsUpNormal), 1, 1, "spinButton", "normal up", gsArrowUp},
    {QV_ELEMENT(tsUpHot), 1, 2, "spinButton", "hot up", gsArrowUp},
    {QV_ELEMENT(tsUpPressed), 1, 3, "spinButton", "pressed up", gsArrowUp},
    {QV_ELEMENT(tsUpDisabled), 1, 4, "spinButton", "disabled up", gsArrowUp},
    {QV_ELEMENT(tsDownNormal), 2, 1, "spinButton", "normal down", gsArrowDown},
    {QV_ELEMENT(tsDownHot), 2, 2, "spinButton", "hot down", gsArrowDown},
    {QV_ELEMENT(tsDownPressed), 2, 3, "spinButton", "pressed down", gsArrowDown},
    {QV_ELEMENT(tsDownDisabled), 2, 4, "spinButton", "disabled down", gsArrowDown},
    {QV_ELEMENT(tsUpHorzNormal), 3, 1, "spinButton", "normal horz right", gsArrowRight},
    {QV_ELEMENT(tsUpHorzHot), 3, 2, "spinButton", "hot horz right", gsArrowRight},
    {QV_ELEMENT(tsUpHorzPressed), 3, 3, "spinButton", "pressed horz right", gsArrowRight},
    {QV_ELEMENT(tsUpHorzDisabled), 3, 4, "spinButton", "disabled horz right", gsArrowRight},
    {QV_ELEMENT(tsDownHorzNormal), 4, 1, "spinButton", "normal horz left", gsArrowLeft},
    {QV_ELEMENT(tsDownHorzHot), 4, 2, "spinButton", "hot horz left", gsArrowLeft},
    {QV_ELEMENT(tsDownHorzPressed), 4, 3, "spinButton", "pressed horz left", gsArrowLeft},
    {QV_ELEMENT(tsDownHorzDisabled), 4, 4, "spinButton", "disabled horz left", gsArrowLeft},
};
static_assert(ElementsInOrder(kSpin) && std::size(kSpin) == size_t(tsDownHorzDisabled) + 1);

}  // namespace

const TElementTable& ScrollBarElements() {
  static const TElementTable table{teScrollBar, "TThemedScrollBar", kScrollBar, std::size(kScrollBar)};
  return table;
}

const TElementTable& SpinElements() {
  static const TElementTable table{teSpin, "TThemedSpin", kSpin, std::size(kSpin)};
  return table;
}
