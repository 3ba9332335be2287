// The style engine's vocabulary: the themed elements, one enumeration per element
// family naming each drawable part in each state, the details record that style
// services draw from, and the colour, size, margin and edge selectors of their queries.
#pragma once

#include <cstdint>

#include "vcl/Colors.h"
#include "vcl/SysUtils.h"

enum TThemedElement {
  teButton,
  teClock,
  teComboBox,
  teDatePicker,
  teEdit,
  teExplorerBar,
  teFlyOut,
  teHeader,
  teLink,
  teListView,
  teMenu,
  teMenuBand,
  teMonthCal,
  teNavigation,
  tePage,
  teProgress,
  teRebar,
  teScrollBar,
  teSpin,
  teStartPanel,
  teStatus,
  teTab,
  teTaskBand,
  teTaskBar,
  teTaskDialog,
  teTextStyle,
  teToolBar,
  teToolTip,
  teTrackBar,
  teTrayNotify,
  teTreeview,
  teWindow,
  // Elements of custom styles only.
  teCategoryButtons,
  teCategoryPanelGroup,
  teCheckListBox,
  teControlBar,
  teDataNavButtons,
  teGrid,
  teHint,
  tePanel,
  teSearchIndicators,
  teTextLabel,
};

// What DrawElement and the queries act on: an element and a part and state of it.
// Part 0, state 0 is the element's root (its background where it has one).
struct TThemedElementDetails {
  TThemedElement Element = teButton;
  int Part = 0;
  int State = 0;

  static TThemedElementDetails Create(TThemedElement Element, int Part, int State) {
    return {Element, Part, State};
  }
  friend bool operator==(const TThemedElementDetails&, const TThemedElementDetails&) = default;
};

enum TThemedButton {
  tbButtonDontCare,
  tbButtonRoot,
  tbPushButtonNormal, tbPushButtonHot, tbPushButtonPressed, tbPushButtonDisabled, tbPushButtonDefaulted,
  tbPushButtonDefaultedAnimating,
  tbRadioButtonUncheckedNormal, tbRadioButtonUncheckedHot, tbRadioButtonUncheckedPressed,
  tbRadioButtonUncheckedDisabled,
  tbRadioButtonCheckedNormal, tbRadioButtonCheckedHot, tbRadioButtonCheckedPressed, tbRadioButtonCheckedDisabled,
  tbCheckBoxUncheckedNormal, tbCheckBoxUncheckedHot, tbCheckBoxUncheckedPressed, tbCheckBoxUncheckedDisabled,
  tbCheckBoxCheckedNormal, tbCheckBoxCheckedHot, tbCheckBoxCheckedPressed, tbCheckBoxCheckedDisabled,
  tbCheckBoxMixedNormal, tbCheckBoxMixedHot, tbCheckBoxMixedPressed, tbCheckBoxMixedDisabled,
  tbGroupBoxNormal, tbGroupBoxDisabled,
  tbUserButton,
};

enum TThemedToolBar {
  ttbToolBarDontCare,
  ttbToolBarRoot,
  ttbButtonNormal, ttbButtonHot, ttbButtonPressed, ttbButtonDisabled, ttbButtonChecked, ttbButtonCheckedHot,
  ttbDropDownButtonNormal, ttbDropDownButtonHot, ttbDropDownButtonPressed, ttbDropDownButtonDisabled,
  ttbDropDownButtonChecked, ttbDropDownButtonCheckedHot,
  ttbSplitButtonNormal, ttbSplitButtonHot, ttbSplitButtonPressed, ttbSplitButtonDisabled, ttbSplitButtonChecked,
  ttbSplitButtonCheckedHot,
  ttbSplitButtonDropDownNormal, ttbSplitButtonDropDownHot, ttbSplitButtonDropDownPressed,
  ttbSplitButtonDropDownDisabled, ttbSplitButtonDropDownChecked, ttbSplitButtonDropDownCheckedHot,
  ttbSeparatorNormal, ttbSeparatorHot, ttbSeparatorPressed, ttbSeparatorDisabled, ttbSeparatorChecked,
  ttbSeparatorCheckedHot,
  ttbSeparatorVertNormal, ttbSeparatorVertHot, ttbSeparatorVertPressed, ttbSeparatorVertDisabled,
  ttbSeparatorVertChecked, ttbSeparatorVertCheckedHot,
};

enum TThemedScrollBar {
  tsScrollBarDontCare,
  tsScrollBarRoot,
  tsArrowBtnUpNormal, tsArrowBtnUpHot, tsArrowBtnUpPressed, tsArrowBtnUpDisabled,
  tsArrowBtnDownNormal, tsArrowBtnDownHot, tsArrowBtnDownPressed, tsArrowBtnDownDisabled,
  tsArrowBtnLeftNormal, tsArrowBtnLeftHot, tsArrowBtnLeftPressed, tsArrowBtnLeftDisabled,
  tsArrowBtnRightNormal, tsArrowBtnRightHot, tsArrowBtnRightPressed, tsArrowBtnRightDisabled,
  tsThumbBtnHorzNormal, tsThumbBtnHorzHot, tsThumbBtnHorzPressed, tsThumbBtnHorzDisabled,
  tsThumbBtnVertNormal, tsThumbBtnVertHot, tsThumbBtnVertPressed, tsThumbBtnVertDisabled,
  tsLowerTrackHorzNormal, tsLowerTrackHorzHot, tsLowerTrackHorzPressed, tsLowerTrackHorzDisabled,
  tsUpperTrackHorzNormal, tsUpperTrackHorzHot, tsUpperTrackHorzPressed, tsUpperTrackHorzDisabled,
  tsLowerTrackVertNormal, tsLowerTrackVertHot, tsLowerTrackVertPressed, tsLowerTrackVertDisabled,
  tsUpperTrackVertNormal, tsUpperTrackVertHot, tsUpperTrackVertPressed, tsUpperTrackVertDisabled,
  tsGripperHorzNormal, tsGripperHorzHot, tsGripperHorzPressed, tsGripperHorzDisabled,
  tsGripperVertNormal, tsGripperVertHot, tsGripperVertPressed, tsGripperVertDisabled,
  tsSizeBoxRightAlign, tsSizeBoxLeftAlign,
};

// Up-down buttons. The horizontal pair is named as the control counts: "up" points right.
enum TThemedSpin {
  tsSpinDontCare,
  tsSpinRoot,
  tsUpNormal, tsUpHot, tsUpPressed, tsUpDisabled,
  tsDownNormal, tsDownHot, tsDownPressed, tsDownDisabled,
  tsUpHorzNormal, tsUpHorzHot, tsUpHorzPressed, tsUpHorzDisabled,
  tsDownHorzNormal, tsDownHorzHot, tsDownHorzPressed, tsDownHorzDisabled,
};

enum TThemedComboBox {
  tcComboBoxDontCare,
  tcComboBoxRoot,
  tcDropDownButtonNormal, tcDropDownButtonHot, tcDropDownButtonPressed, tcDropDownButtonDisabled,
  tcBorderNormal, tcBorderHot, tcBorderFocused, tcBorderDisabled,
  tcReadOnlyNormal, tcReadOnlyHot, tcReadOnlyPressed, tcReadOnlyDisabled,
  // Buttons joined to the combo box's border on its right or left side.
  tcDropDownButtonRightNormal, tcDropDownButtonRightHot, tcDropDownButtonRightPressed,
  tcDropDownButtonRightDisabled,
  tcDropDownButtonLeftNormal, tcDropDownButtonLeftHot, tcDropDownButtonLeftPressed, tcDropDownButtonLeftDisabled,
};

enum TThemedEdit {
  teEditDontCare,
  teEditRoot,
  teEditTextNormal, teEditTextHot, teEditTextSelected, teEditTextDisabled, teEditTextFocused, teEditTextReadOnly,
  teEditTextAssist,
  teEditCaret,
  teBackgroundNormal, teBackgroundHot, teBackgroundDisabled, teBackgroundFocused, teBackgroundReadOnly,
  teBackgroundAssist,
  teEditBorderNoScrollNormal, teEditBorderNoScrollHot, teEditBorderNoScrollFocused, teEditBorderNoScrollDisabled,
  teEditBorderHScrollNormal, teEditBorderHScrollHot, teEditBorderHScrollFocused, teEditBorderHScrollDisabled,
  teEditBorderVScrollNormal, teEditBorderVScrollHot, teEditBorderVScrollFocused, teEditBorderVScrollDisabled,
  teEditBorderHVScrollNormal, teEditBorderHVScrollHot, teEditBorderHVScrollFocused, teEditBorderHVScrollDisabled,
};

// Grid cells in the grid's three drawing styles (themed, classic, gradient).
enum TThemedGrid {
  tgGridDontCare,
  tgGridRoot,
  tgCellNormal, tgCellSelected, tgCellRowSelectedLeft, tgCellRowSelectedCenter, tgCellRowSelectedRight,
  tgFixedCellNormal, tgFixedCellHot, tgFixedCellPressed,
  tgClassicCellNormal, tgClassicCellSelected, tgClassicCellRowSelectedLeft, tgClassicCellRowSelectedCenter,
  tgClassicCellRowSelectedRight,
  tgClassicFixedCellNormal, tgClassicFixedCellHot, tgClassicFixedCellPressed,
  tgGradientCellNormal, tgGradientCellSelected, tgGradientCellRowSelectedLeft, tgGradientCellRowSelectedCenter,
  tgGradientCellRowSelectedRight,
  tgGradientFixedCellNormal, tgGradientFixedCellHot, tgGradientFixedCellPressed,
  tgDropDownButtonNormal, tgDropDownButtonHot, tgDropDownButtonPressed, tgDropDownButtonDisabled,
  tgEllipsisButtonNormal, tgEllipsisButtonHot, tgEllipsisButtonPressed,
};

enum TThemedMonthCal {
  tmcMonthCalDontCare,
  tmcMonthCalRoot,
  tmcBackground,
  tmcBorders,
  tmcGridBackground,
  tmcColHeaderSplitter,
  tmcGridCellBackgroundSelected, tmcGridCellBackgroundHot, tmcGridCellBackgroundSelectedHot,
  tmcGridCellBackgroundSelectedNotFocused, tmcGridCellBackgroundToday,
  tmcGridCellHot, tmcGridCellHasState, tmcGridCellHasStateHot, tmcGridCellToday,
  tmcNavNextNormal, tmcNavNextHot, tmcNavNextPressed, tmcNavNextDisabled,
  tmcNavPrevNormal, tmcNavPrevHot, tmcNavPrevPressed, tmcNavPrevDisabled,
};

enum TThemedProgress {
  tpProgressDontCare,
  tpProgressRoot,
  tpBar, tpBarVert,
  tpChunk, tpChunkVert,
  tpFillNormal, tpFillError, tpFillPaused, tpFillPartial,
};

enum TThemedStatus {
  tsStatusDontCare,
  tsStatusRoot,
  tsPane,
  tsGripperPane,
  tsGripper,
};

enum TThemedTab {
  ttTabDontCare,
  ttTabRoot,
  ttTabItemNormal, ttTabItemHot, ttTabItemSelected, ttTabItemDisabled, ttTabItemFocused,
  ttTabItemLeftEdgeNormal, ttTabItemLeftEdgeHot, ttTabItemLeftEdgeSelected, ttTabItemLeftEdgeDisabled,
  ttTabItemLeftEdgeFocused,
  ttTabItemRightEdgeNormal, ttTabItemRightEdgeHot, ttTabItemRightEdgeSelected, ttTabItemRightEdgeDisabled,
  ttTabItemRightEdgeFocused,
  ttTabItemBothEdgeNormal, ttTabItemBothEdgeHot, ttTabItemBothEdgeSelected, ttTabItemBothEdgeDisabled,
  ttTabItemBothEdgeFocused,
  ttTopTabItemNormal, ttTopTabItemHot, ttTopTabItemSelected, ttTopTabItemDisabled, ttTopTabItemFocused,
  ttTopTabItemLeftEdgeNormal, ttTopTabItemLeftEdgeHot, ttTopTabItemLeftEdgeSelected, ttTopTabItemLeftEdgeDisabled,
  ttTopTabItemLeftEdgeFocused,
  ttTopTabItemRightEdgeNormal, ttTopTabItemRightEdgeHot, ttTopTabItemRightEdgeSelected,
  ttTopTabItemRightEdgeDisabled, ttTopTabItemRightEdgeFocused,
  ttTopTabItemBothEdgeNormal, ttTopTabItemBothEdgeHot, ttTopTabItemBothEdgeSelected, ttTopTabItemBothEdgeDisabled,
  ttTopTabItemBothEdgeFocused,
  ttPane,
  ttBody,
};

enum TThemedMenu {
  tmMenuDontCare,
  tmMenuRoot,
  tmMenuItemNormal, tmMenuItemSelected, tmMenuItemDemoted,
  tmMenuDropDown,
  tmMenuBarItem,
  tmMenuBarDropDown,
  tmChevron,
  tmSeparator,
  tmMenuBarBackgroundActive, tmMenuBarBackgroundInactive,
  tmMenuBarItemNormal, tmMenuBarItemHot, tmMenuBarItemPushed, tmMenuBarItemDisabled, tmMenuBarItemDisabledHot,
  tmMenuBarItemDisabledPushed,
  tmPopupBackground,
  tmPopupBorders,
  tmPopupCheckMarkNormal, tmPopupCheckMarkDisabled,
  tmPopupBulletNormal, tmPopupBulletDisabled,
  tmPopupCheckBackgroundDisabled, tmPopupCheckBackgroundNormal, tmPopupCheckBackgroundBitmap,
  tmPopupGutter,
  tmPopupItemNormal, tmPopupItemHot, tmPopupItemDisabled, tmPopupItemDisabledHot,
  tmPopupSeparator,
  tmPopupSubMenuNormal, tmPopupSubMenuDisabled,
  tmSystemCloseNormal, tmSystemCloseDisabled,
  tmSystemMaximizeNormal, tmSystemMaximizeDisabled,
  tmSystemMinimizeNormal, tmSystemMinimizeDisabled,
  tmSystemRestoreNormal, tmSystemRestoreDisabled,
};

enum TThemedWindow {
  twWindowDontCare,
  twWindowRoot,
  twCaptionActive, twCaptionInactive, twCaptionDisabled,
  twSmallCaptionActive, twSmallCaptionInactive, twSmallCaptionDisabled,
  twMinCaptionActive, twMinCaptionInactive, twMinCaptionDisabled,
  twSmallMinCaptionActive, twSmallMinCaptionInactive, twSmallMinCaptionDisabled,
  twMaxCaptionActive, twMaxCaptionInactive, twMaxCaptionDisabled,
  twSmallMaxCaptionActive, twSmallMaxCaptionInactive, twSmallMaxCaptionDisabled,
  twFrameLeftActive, twFrameLeftInactive,
  twFrameRightActive, twFrameRightInactive,
  twFrameBottomActive, twFrameBottomInactive,
  twSmallFrameLeftActive, twSmallFrameLeftInactive,
  twSmallFrameRightActive, twSmallFrameRightInactive,
  twSmallFrameBottomActive, twSmallFrameBottomInactive,
  twSysButtonNormal, twSysButtonHot, twSysButtonPushed, twSysButtonDisabled,
  twMDISysButtonNormal, twMDISysButtonHot, twMDISysButtonPushed, twMDISysButtonDisabled,
  twMinButtonNormal, twMinButtonHot, twMinButtonPushed, twMinButtonDisabled,
  twMDIMinButtonNormal, twMDIMinButtonHot, twMDIMinButtonPushed, twMDIMinButtonDisabled,
  twMaxButtonNormal, twMaxButtonHot, twMaxButtonPushed, twMaxButtonDisabled,
  twCloseButtonNormal, twCloseButtonHot, twCloseButtonPushed, twCloseButtonDisabled,
  twSmallCloseButtonNormal, twSmallCloseButtonHot, twSmallCloseButtonPushed, twSmallCloseButtonDisabled,
  twMDICloseButtonNormal, twMDICloseButtonHot, twMDICloseButtonPushed, twMDICloseButtonDisabled,
  twRestoreButtonNormal, twRestoreButtonHot, twRestoreButtonPushed, twRestoreButtonDisabled,
  twMDIRestoreButtonNormal, twMDIRestoreButtonHot, twMDIRestoreButtonPushed, twMDIRestoreButtonDisabled,
  twHelpButtonNormal, twHelpButtonHot, twHelpButtonPushed, twHelpButtonDisabled,
  twMDIHelpButtonNormal, twMDIHelpButtonHot, twMDIHelpButtonPushed, twMDIHelpButtonDisabled,
  twDialog,
};

enum TThemedHeader {
  thHeaderDontCare,
  thHeaderRoot,
  thHeaderItemNormal, thHeaderItemHot, thHeaderItemPressed,
  thHeaderItemLeftNormal, thHeaderItemLeftHot, thHeaderItemLeftPressed,
  thHeaderItemRightNormal, thHeaderItemRightHot, thHeaderItemRightPressed,
  thHeaderSortArrowSortedUp, thHeaderSortArrowSortedDown,
  thHeaderDropDownNormal, thHeaderDropDownHot,
};

enum TThemedTreeview {
  ttTreeviewDontCare,
  ttTreeviewRoot,
  ttItemNormal, ttItemHot, ttItemSelected, ttItemDisabled, ttItemSelectedNotFocus, ttItemHotSelected,
  ttGlyphClosed, ttGlyphOpened,
  ttBranch,
  ttHotGlyphClosed, ttHotGlyphOpened,
};

enum TThemedListview {
  tlListviewDontCare,
  tlListviewRoot,
  tlListItemNormal, tlListItemHot, tlListItemSelected, tlListItemDisabled, tlListItemSelectedNotFocus,
  tlListItemHotSelected,
  tlGroupHeaderNormal,
  tlExpandButtonNormal, tlExpandButtonHot, tlExpandButtonPressed,
  tlCollapseButtonNormal, tlCollapseButtonHot, tlCollapseButtonPressed,
};

enum TThemedHint {
  thHintDontCare,
  thHintRoot,
  thHintNormal,
  thHintBalloon,
};

enum TThemedToolTip {
  tttToolTipDontCare,
  tttToolTipRoot,
  tttStandardNormal, tttStandardLink,
  tttStandardTitleNormal, tttStandardTitleLink,
  tttBalloonNormal, tttBalloonLink,
  tttBalloonTitleNormal, tttBalloonTitleLink,
  tttCloseNormal, tttCloseHot, tttClosePressed,
};

enum TThemedPanel {
  tpPanelDontCare,
  tpPanelRoot,
  tpPanelBackground,
  tpPanelBevel,
  tpDockPanelHorzNormal, tpDockPanelHorzSelected,
  tpDockPanelVertNormal, tpDockPanelVertSelected,
};

// Colours an element can report.
enum TElementColor {
  ecBorderColor,
  ecFillColor,
  ecTextColor,
  ecEdgeLightColor,
  ecEdgeHighlightColor,
  ecEdgeShadowColor,
  ecEdgeDkShadowColor,
  ecEdgeFillColor,
  ecTransparentColor,
  ecGradientColor1,
  ecGradientColor2,
  ecGradientColor3,
  ecGradientColor4,
  ecGradientColor5,
  ecShadowColor,
  ecGlowColor,
  ecTextBorderColor,
  ecTextShadowColor,
  ecGlyphTextColor,
  ecGlyphTransparentColor,
};

// Which size GetElementSize reports: the smallest the element can be drawn at, its
// natural size, or the size it takes when stretched over a rectangle.
enum TElementSize { esMinimum, esActual, esStretch };

enum TElementMargin { emSizing, emContent, emCaption };

struct TElementMargins {
  int cxLeftWidth = 0;
  int cxRightWidth = 0;
  int cyTopHeight = 0;
  int cyBottomHeight = 0;
  friend bool operator==(const TElementMargins&, const TElementMargins&) = default;
};

// Edges and edge flags of style services' DrawEdge: the classic 3-D edges in the style's
// colours.
enum TElementEdge {
  eeRaisedOuter,
  eeSunkenOuter,
  eeRaisedInner,
  eeSunkenInner,
  eeRaised,
  eeSunken,
  eeEtched,
  eeBump,
};
using TElementEdges = Set<TElementEdge>;

enum TElementEdgeFlag {
  efLeft,
  efTop,
  efRight,
  efBottom,
  efTopLeft,
  efTopRight,
  efBottomLeft,
  efBottomRight,
  efRect,
  efDiagonal,
  efDiagonalEndTopLeft,
  efDiagonalEndTopRight,
  efDiagonalEndBottomLeft,
  efDiagonalEndBottomRight,
  efMiddle,
  efSoft,
  efAdjust,
  efFlat,
  efMono,
};
using TElementEdgeFlags = Set<TElementEdgeFlag>;

// Colours of a style for the areas of the framework's controls.
enum TStyleColor {
  scBorder,
  scButtonDisabled,
  scButtonFocused,
  scButtonHot,
  scButtonNormal,
  scButtonPressed,
  scCategoryButtons,
  scCategoryButtonsGradientBase,
  scCategoryButtonsGradientEnd,
  scCategoryPanelGroup,
  scComboBox,
  scComboBoxDisabled,
  scEdit,
  scEditDisabled,
  scGrid,
  scGenericBackground,
  scGenericGradientBase,
  scGenericGradientEnd,
  scHintGradientBase,
  scHintGradientEnd,
  scListBox,
  scListBoxDisabled,
  scListView,
  scPanel,
  scPanelDisabled,
  scSplitter,
  scToolBarGradientBase,
  scToolBarGradientEnd,
  scTreeView,
  scWindow,
};

// Text colours of a style for the framework's controls.
enum TStyleFont {
  sfButtonTextDisabled,
  sfButtonTextFocused,
  sfButtonTextHot,
  sfButtonTextNormal,
  sfButtonTextPressed,
  sfCaptionTextInactive,
  sfCaptionTextNormal,
  sfCategoryPanelGroupHeaderHot,
  sfCategoryPanelGroupHeaderNormal,
  sfCategoryButtonsCategoryNormal,
  sfCategoryButtonsCategorySelected,
  sfCategoryButtonsHot,
  sfCategoryButtonsNormal,
  sfCategoryButtonsSelected,
  sfCheckBoxTextDisabled,
  sfCheckBoxTextFocused,
  sfCheckBoxTextHot,
  sfCheckBoxTextNormal,
  sfCheckBoxTextPressed,
  sfComboBoxItemDisabled,
  sfComboBoxItemFocused,
  sfComboBoxItemHot,
  sfComboBoxItemNormal,
  sfComboBoxItemSelected,
  sfEditBoxTextDisabled,
  sfEditBoxTextFocused,
  sfEditBoxTextHot,
  sfEditBoxTextNormal,
  sfEditBoxTextSelected,
  sfGridItemFixedHot,
  sfGridItemFixedNormal,
  sfGridItemFixedPressed,
  sfGridItemNormal,
  sfGridItemSelected,
  sfGroupBoxTextDisabled,
  sfGroupBoxTextNormal,
  sfHeaderSectionTextDisabled,
  sfHeaderSectionTextHot,
  sfHeaderSectionTextNormal,
  sfHeaderSectionTextPressed,
  sfListItemTextDisabled,
  sfListItemTextFocused,
  sfListItemTextHot,
  sfListItemTextNormal,
  sfListItemTextSelected,
  sfMenuItemTextDisabled,
  sfMenuItemTextHot,
  sfMenuItemTextNormal,
  sfMenuItemTextSelected,
  sfPanelTextDisabled,
  sfPanelTextNormal,
  sfPopupMenuItemTextDisabled,
  sfPopupMenuItemTextHot,
  sfPopupMenuItemTextNormal,
  sfPopupMenuItemTextSelected,
  sfRadioButtonTextDisabled,
  sfRadioButtonTextFocused,
  sfRadioButtonTextHot,
  sfRadioButtonTextNormal,
  sfRadioButtonTextPressed,
  sfSmCaptionTextInactive,
  sfSmCaptionTextNormal,
  sfStatusPanelTextDisabled,
  sfStatusPanelTextNormal,
  sfTabTextActiveDisabled,
  sfTabTextActiveHot,
  sfTabTextActiveNormal,
  sfTabTextInactiveDisabled,
  sfTabTextInactiveHot,
  sfTabTextInactiveNormal,
  sfTextLabelDisabled,
  sfTextLabelFocused,
  sfTextLabelHot,
  sfTextLabelNormal,
  sfToolItemTextDisabled,
  sfToolItemTextHot,
  sfToolItemTextNormal,
  sfToolItemTextSelected,
  sfTreeItemTextDisabled,
  sfTreeItemTextFocused,
  sfTreeItemTextHot,
  sfTreeItemTextNormal,
  sfTreeItemTextSelected,
  sfWindowTextDisabled,
  sfWindowTextNormal,
};

constexpr int kStyleColorCount = scWindow + 1;
constexpr int kStyleFontCount = sfWindowTextNormal + 1;
