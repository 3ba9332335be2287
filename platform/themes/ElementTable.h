// How every value of the element enumerations is drawn: its part and state, the recipe
// family of a style that paints it, the facets of that family that apply (general to
// specific, later ones override earlier ones) and the glyph the element carries.
//
// The tables live beside each other by element family (ButtonElements.cpp,
// ScrollElements.cpp ...); this header joins them. Internal to the style engine.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "themes/Themes.h"

// The shape an element carries, whatever the style: what a glyph means. The style
// decides its colour, weight and variant.
enum TGlyphShape {
  gsNone,
  gsCheck,
  gsMixed,
  gsRadioDot,
  gsArrowUp,
  gsArrowDown,
  gsArrowLeft,
  gsArrowRight,
  gsClose,
  gsMinimize,
  gsMaximize,
  gsRestore,
  gsHelp,
  gsSysMenu,
  gsExpandClosed,
  gsExpandOpened,
  gsSizeGrip,
  gsSizeGripLeft,
  gsBullet,
  gsGripperHorz,
  gsGripperVert,
  gsEllipsis,
  gsChevron,
  gsSortUp,
  gsSortDown,
  gsLineHorz,
  gsLineVert,
};

// Where the glyph sits: centred in the content rectangle, or in a square at its right end
// (the drop-down part of a tool button), or in the bottom-right or bottom-left corner.
enum TGlyphPlace { gpCenter, gpRight, gpBottomRight, gpBottomLeft };

struct TElementEntry {
  int Value;           // the enumeration value
  const char* Name;    // its name, for sheets and messages
  int Part;
  int State;
  const char* Family;  // recipe family; null for values that draw nothing
  const char* Facets;  // space-separated facet names, general to specific
  TGlyphShape Glyph = gsNone;
  TGlyphPlace Place = gpCenter;
};

struct TElementTable {
  TThemedElement Element;
  const char* EnumName;  // "TThemedButton"
  const TElementEntry* Entries;
  size_t Count;
};

// Writes an enumeration value and its name.
#define QV_ELEMENT(value) value, #value

// Entries of a table must list the enumeration's values in order, each once.
template <size_t N>
constexpr bool ElementsInOrder(const TElementEntry (&entries)[N]) {
  for (size_t i = 0; i < N; ++i)
    if (entries[i].Value != int(i)) return false;
  return true;
}

// The tables of the element families, one per enumeration.
const TElementTable& ButtonElements();
const TElementTable& ToolBarElements();
const TElementTable& ScrollBarElements();
const TElementTable& SpinElements();
const TElementTable& ComboBoxElements();
const TElementTable& EditElements();
const TElementTable& GridElements();
const TElementTable& MonthCalElements();
const TElementTable& HeaderElements();
const TElementTable& TreeviewElements();
const TElementTable& ListviewElements();
const TElementTable& TabElements();
const TElementTable& MenuElements();
const TElementTable& WindowElements();
const TElementTable& ProgressElements();
const TElementTable& StatusElements();
const TElementTable& HintElements();
const TElementTable& ToolTipElements();
const TElementTable& PanelElements();

// Every table, in a fixed order (the order of the style gallery).
const std::vector<const TElementTable*>& AllElementTables();
// The details of an enumeration value of a table; the root of the element when the value
// is out of range.
TThemedElementDetails DetailsOf(const TElementTable& table, int value);
// The entry drawing a part and state of an element (one with a family when several
// share them), or null.
const TElementEntry* FindElementEntry(const TThemedElementDetails& details);
// The entry of an enumeration value by its name ("tbPushButtonHot"), or null.
const TElementEntry* FindElementByName(std::string_view name, TThemedElement* element = nullptr);
// Every recipe family some element draws with.
std::vector<String> ElementFamilies();
// Splits a facet list into its names.
std::vector<std::string_view> FacetsOf(const TElementEntry& entry);
