// Style services: what the active style offers to whoever draws. Elements are named with
// the enumerations of Themes.h and drawn from the style's recipes; colours come from the
// style's system, style and font colours.
//
// The system style ("Windows") has two looks: the themed one, and the classic one used
// while themes are switched off for the process (Enabled() is then false, and callers
// take their classic branches; elements still draw, in classic 3-D colours).
#pragma once

#include <functional>
#include <memory>

#include "themes/ElementTable.h"
#include "themes/StyleFile.h"
#include "win/Messages.h"

class TCustomStyleServices {
 public:
  // A style from its description. Recipes, sizes and margins a custom style does not give
  // come from fallback (the system style's description). The system style passes its
  // classic look as well.
  TCustomStyleServices(std::shared_ptr<const TStyleDescription> Style,
                       std::shared_ptr<const TStyleDescription> Fallback, bool SystemStyle,
                       std::shared_ptr<const TStyleDescription> ClassicLook = nullptr);
  virtual ~TCustomStyleServices() = default;
  TCustomStyleServices(const TCustomStyleServices&) = delete;
  TCustomStyleServices& operator=(const TCustomStyleServices&) = delete;

  // The engine is built in: always available.
  bool Available() const { return true; }
  // Custom styles: always. The system style: while themes are switched on.
  bool Enabled() const;
  bool IsSystemStyle() const { return FSystemStyle; }
  String Name() const { return FStyle->Name; }
  // Whether the style is a dark one (light text on dark grounds).
  bool IsDark() const;
  // What the style draws from: its own description, or the classic look while the system
  // style is not enabled.
  const TStyleDescription& Look() const;

  TThemedElementDetails GetElementDetails(TThemedButton Detail) const;
  TThemedElementDetails GetElementDetails(TThemedToolBar Detail) const;
  TThemedElementDetails GetElementDetails(TThemedScrollBar Detail) const;
  TThemedElementDetails GetElementDetails(TThemedSpin Detail) const;
  TThemedElementDetails GetElementDetails(TThemedComboBox Detail) const;
  TThemedElementDetails GetElementDetails(TThemedEdit Detail) const;
  TThemedElementDetails GetElementDetails(TThemedGrid Detail) const;
  TThemedElementDetails GetElementDetails(TThemedMonthCal Detail) const;
  TThemedElementDetails GetElementDetails(TThemedHeader Detail) const;
  TThemedElementDetails GetElementDetails(TThemedTreeview Detail) const;
  TThemedElementDetails GetElementDetails(TThemedListview Detail) const;
  TThemedElementDetails GetElementDetails(TThemedTab Detail) const;
  TThemedElementDetails GetElementDetails(TThemedMenu Detail) const;
  TThemedElementDetails GetElementDetails(TThemedWindow Detail) const;
  TThemedElementDetails GetElementDetails(TThemedProgress Detail) const;
  TThemedElementDetails GetElementDetails(TThemedStatus Detail) const;
  TThemedElementDetails GetElementDetails(TThemedHint Detail) const;
  TThemedElementDetails GetElementDetails(TThemedToolTip Detail) const;
  TThemedElementDetails GetElementDetails(TThemedPanel Detail) const;

  // Draws the element over R (logical coordinates of DC), composited source-over, inside
  // ClipRect when given. False for details that name nothing drawable and for a bad DC.
  bool DrawElement(HDC DC, const TThemedElementDetails& Details, const RECT& R,
                   const RECT* ClipRect = nullptr) const;
  // Classic 3-D edges in the style's edge colours. ContentRect receives what the edges
  // leave when efAdjust is among the flags.
  bool DrawEdge(HDC DC, const TThemedElementDetails& Details, const RECT& R, TElementEdges Edges,
                TElementEdgeFlags Flags, RECT* ContentRect = nullptr) const;
  // Text with DrawText's formats in the element's text colour, or in Color when it is not
  // clNone; transparent background. R is updated under DT_CALCRECT.
  bool DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, RECT& R, UINT Flags,
                TColor Color = clNone) const;
  // Paints the parent's background behind a child window into DC (whose origin is the
  // child's client origin): WM_ERASEBKGND, then WM_PRINTCLIENT, with the DC's origin moved
  // to the parent's client origin. With OnlyIfTransparent, only when the element has
  // transparent parts; Bounds (child client coordinates) limits the painting.
  bool DrawParentBackground(HWND Window, HDC DC, const TThemedElementDetails* Details = nullptr,
                            bool OnlyIfTransparent = false, const RECT* Bounds = nullptr) const;

  // The element's minimum or natural size; under esStretch, the natural size when it has
  // one and else the rectangle's. False when the element has no size of that kind.
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize, SIZE& Size) const;
  bool GetElementSize(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, TElementSize ElementSize,
                      SIZE& Size) const;
  // Where the element's content (caption, icon) goes inside BoundingRect.
  bool GetElementContentRect(HDC DC, const TThemedElementDetails& Details, const RECT& BoundingRect,
                             RECT& ContentRect) const;
  bool GetElementMargins(HDC DC, const TThemedElementDetails& Details, TElementMargin ElementMargin,
                         TElementMargins& Margins) const;
  // The region the element covers when drawn over Rect (rounded corners cut away). The
  // caller owns the region.
  bool GetElementRegion(HDC DC, const TThemedElementDetails& Details, const RECT& Rect, HRGN& Region) const;
  // Whether the style fixes where the element sits (caption buttons of some styles).
  bool HasElementFixedPosition(const TThemedElementDetails& Details) const;
  // Whether pixels of the element's rectangle stay uncovered or partly covered.
  bool HasTransparentParts(const TThemedElementDetails& Details) const;
  // A colour of the element: text, border, fill, gradient stops, glow, glyph, edges.
  // False when the element does not have that colour.
  bool GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor, TColor& Color) const;

  // A system colour (clBtnFace ...) as this style has it; other colours unchanged.
  TColor GetSystemColor(TColor Color) const;
  TColor GetStyleColor(TStyleColor Color) const;
  TColor GetStyleFontColor(TStyleFont Font) const;
  // A plain colour: system colours resolved through this style.
  TColor ColorToRGB(TColor Color, const TThemedElementDetails* Details = nullptr) const;

  // The recipe the element is drawn with and its entry (null when the details name
  // nothing drawable): the family's base and facets, with the fallback's geometry under it.
  TElementRecipe ResolveRecipe(const TThemedElementDetails& Details, const TElementEntry** Entry = nullptr) const;

 private:
  std::shared_ptr<const TStyleDescription> FStyle;
  std::shared_ptr<const TStyleDescription> FFallback;
  std::shared_ptr<const TStyleDescription> FClassic;
  bool FSystemStyle;
};

// The active style's services.
TCustomStyleServices* StyleServices();

// Told of every DrawElement call of any style services, before it draws: which element,
// over which rectangle. Lets tests see what a drawing routine asks for; none by default.
using TDrawElementObserver = std::function<void(const TThemedElementDetails& Details, const RECT& R)>;
// Puts Observer in (an empty one takes it out) and answers the one it replaces.
TDrawElementObserver SetDrawElementObserver(TDrawElementObserver Observer);
