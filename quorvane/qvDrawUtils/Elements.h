// Styled element drawing: button faces, arrow and combo buttons, check boxes, selections,
// headers, edit frames, progress bars, backgrounds and tabs. Each routine draws the
// element of the active style when themed (a custom style or the system's visual styles)
// and a classic 3-D look otherwise, over the same rectangle in every mode.
//
// A rectangle is the one the caller gives the element; routines draw inside it except
// where noted (segmented faces overhang into their neighbours, which the caller's clip
// hides; a selected tab grows over the pane below it; a combo button joined to its combo
// box covers the box's border; a progress bar past its maximum passes the frame).
#pragma once

#include <cstdint>

#include "qvDrawUtils/Types.h"
#include "vcl/Graphics.h"

// ---- frames and separators ----

// A one-pixel ring: left and top in TopLeftColor, right and bottom in BottomRightColor.
// Rect then shrinks by 1 on every side, so that a second call draws the ring inside.
void DrawFrame3D(TCanvas* Canvas, TRect& Rect, TColor TopLeftColor, TColor BottomRightColor);
// A 2-pixel line at Rect's left-top, Rect.Width long (Rect.Height for the vertical one):
// shadow then highlight, half transparent.
void DrawHorzSeparator(TCanvas* Canvas, const TRect& Rect);
void DrawVertSeparator(TCanvas* Canvas, const TRect& Rect);

// ---- button faces ----

// The push button of the state; focused is the default button. With ShowFocus a dotted
// focus rectangle 3 pixels inside (the system style and classic mode only; two rings
// when Scale >= 1.5).
void DrawPushButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, bool ShowFocus);
// A tool-bar button; focused shows as hot. Classic: a raised ring when hot or focused, a
// sunken one when pressed, nothing otherwise.
void DrawToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// As DrawToolButtonFace; classic draws its rings one pixel further in.
void DrawToolButtonFaceInset(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// One button of a joined row; Segment 0 none, 1 left, 2 middle, 3 right. The face
// reaches 20 pixels into each joined neighbour so that inner corners stay square (the
// caller's clip hides it), and a separator marks each joint: at the right end of a left
// segment, at the left end of a right one, at both ends of a middle one (each joint's
// 2-pixel line is half in either button).
void DrawSegmentedButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int Segment,
                             bool ShowFocus);
void DrawSegmentedToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int Segment);
// A button with a drop-down part DropDownWidth wide at its right end. While the drop-down
// part is pressed the main part shows hot. The push variant always shows the separator
// between the parts, the tool variant only when it is neither normal nor disabled.
void DrawSplitPushButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int DropDownWidth,
                             bool DropDownPressed);
void DrawSplitToolButtonFace(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, int DropDownWidth,
                             bool DropDownPressed);

// ---- arrow and combo buttons ----

// Scroll-bar arrow buttons when styled, up-down buttons with the system's visual styles,
// classic scroll arrows otherwise. Focused shows as hot.
void DrawUpButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
void DrawDownButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
void DrawLeftButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
void DrawRightButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// The drop-down button of a combo box. InCombo with the system's visual styles, the
// button is joined to the box's border on the right (RightToLeft: left) and covers that
// border: it reaches one pixel past Rect up, down and outwards.
void DrawComboButton(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, bool RightToLeft, bool InCombo);

// ---- check boxes ----

// The side of the check box the routines below draw at Scale: the style's natural size,
// grown with the scale where the scaling switches say so.
int GetCheckBoxSize(TCanvas* Canvas, double Scale);
// The check box of the state at Rect's left, vertically centred; CheckState 0 unchecked,
// 1 checked, 2 mixed (others count as unchecked). States are normal, hot, pressed and
// disabled; focused draws as normal.
void DrawCheckBoxLeft(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState);
// As DrawCheckBoxLeft, moved left where it would pass Rect's right edge.
void DrawCheckBoxClipped(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState);
// As DrawCheckBoxLeft, centred in Rect.
void DrawCheckBoxCenter(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, double Scale, int CheckState);

// ---- selections ----

// The selected item's ground. Unfocused without focus display a custom style shows it
// translucent (opacity 175) and classic mode as a clHighlight fill at opacity 200.
void DrawSelection(TCanvas* Canvas, const TRect& Rect, bool Focused, bool ShowFocus);
// The selected item's ground blended with Alpha (clHighlight in classic mode).
void DrawSelectionAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha);
// Rect filled with the canvas brush colour, blended with Alpha.
void FillRectAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha);
// The hot popup-menu item's ground blended with Alpha (clHighlight in classic mode).
void DrawMenuHighlightAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha);

// ---- headers, edits, bars and backgrounds ----

void DrawHeaderSection(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// An edit box's border, 2 pixels wide; pressed and disabled draw as normal.
void DrawEditFrame(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// Two rings: the shadow colour outside, the window colour inside.
void DrawSimpleEditFrame(TCanvas* Canvas, const TRect& Rect);
// The bar fills Position - Min of Max - Min of the inside; nothing when Min = Max or
// Position < Min. It is not clamped: past Max it passes the frame.
void DrawProgressBar(TCanvas* Canvas, const TRect& Rect, int Min, int Position, int Max);
void DrawToolBarBackground(TCanvas* Canvas, const TRect& Rect);
// The custom style's form background; the button face colour otherwise.
void DrawFormBackground(TCanvas* Canvas, const TRect& Rect);
void DrawStatusBarBackground(TCanvas* Canvas, const TRect& Rect);
void DrawStatusPane(TCanvas* Canvas, const TRect& Rect);

// ---- tabs ----

// The pane under a row of tabs.
void DrawTabPane(TCanvas* Canvas, const TRect& Rect);
// A normal tab blended with Alpha; nothing in classic mode.
void DrawTabItemAlpha(TCanvas* Canvas, const TRect& Rect, uint8_t Alpha);
// A tab on top of a pane. Pressed and focused are the selected tab, which grows 2 pixels
// down over the pane's border; classic mode draws the others 2 pixels lower instead.
// Disabled tabs are faint.
void DrawTabItem(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State);
// A tab; focused is the selected one. Position is the side of the pane the tab stands on,
// its outline open towards the pane: 0 above, 1 below, 2 left, 3 right (others draw
// nothing). FirstTab and LastTab pick the system style's edge variants of tabs above.
// Themed, the style draws the element the position names (below: both edges, left: left
// edge, right: right edge); only classic mode opens the outline towards the pane.
void DrawTab(TCanvas* Canvas, const TRect& Rect, TqvsCtrlState State, bool LastTab, bool FirstTab, int Position);
