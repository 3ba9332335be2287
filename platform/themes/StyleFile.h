// A style as data: what a style file (JSON, documented in docs/styles.md) says, read and
// checked. Reading never trusts the file: anything malformed is refused with an
// EStyleFileError that names the file and the key, "Sky.json: elements.pushButton.hot.fill:
// '#12' is not a colour".
#pragma once

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "gdi/Edge.h"
#include "themes/Themes.h"

QV_DECLARE_EXCEPTION(EStyleFileError, Exception);

// A colour with its opacity.
struct TStyleRgba {
  uint8_t R = 0;
  uint8_t G = 0;
  uint8_t B = 0;
  uint8_t A = 255;

  COLORREF Ref() const { return RGB(R, G, B); }
  static TStyleRgba FromRef(COLORREF c, uint8_t alpha = 255) { return {GetRValue(c), GetGValue(c), GetBValue(c), alpha}; }
  friend bool operator==(const TStyleRgba&, const TStyleRgba&) = default;
};

enum class TFillKind { None, Solid, Gradient, Glossy };

struct TRecipeFill {
  TFillKind Kind = TFillKind::None;
  // Solid: one colour; gradient: two or more, evenly spaced; glossy: the top half's two
  // colours, then the bottom half's two.
  std::vector<TStyleRgba> Colors;
  bool Horizontal = false;  // gradients run top to bottom unless horizontal
  double Split = 0.5;       // glossy: where the halves meet, as a fraction of the height
};

// A soft band of colour along the body's outline, outside it (glow) or inside (inner glow).
struct TRecipeGlow {
  TStyleRgba Color;
  double Size = 0;  // pixels at 96 dpi
};

// A line of colour along one side, inside the body (the accent line of a caption or tab).
struct TRecipeAccent {
  TStyleRgba Color;
  double Width = 1;
  int Side = 8;  // one of the side bits below
};

// Side bits of borders, highlights and accents.
constexpr int kSideLeft = 1;
constexpr int kSideTop = 2;
constexpr int kSideRight = 4;
constexpr int kSideBottom = 8;
constexpr int kSideAll = 15;

struct TRecipeInsets {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;
};

// A natural size: each side either pixels at 96 dpi or a system metric (SM_CXVSCROLL ...).
struct TRecipeSize {
  double Width = 0;
  double Height = 0;
  int MetricWidth = -1;
  int MetricHeight = -1;
};

struct TRecipeGlyph {
  std::optional<TStyleRgba> Color;
  // "auto" (the element's own look), "none", or a variant: "triangle", "chevron", "tick",
  // "square", "dash", "dot", "plusBox", "dots", "lines".
  std::optional<String> Kind;
  std::optional<double> Size;    // side of the glyph's box, pixels at 96 dpi
  std::optional<double> Weight;  // stroke width, pixels at 96 dpi
};

// Classic 3-D edges drawn with the style's edge colours.
enum class TRecipeEdge { None, Raised, Sunken, Etched, Bump, RaisedOuter, SunkenOuter, RaisedInner, SunkenInner };

// How one element looks in one state. Every field is optional: a state's recipe is the
// family's base with its facets laid over it in order.
struct TElementRecipe {
  std::optional<TRecipeFill> Fill;
  std::optional<TStyleRgba> Border;  // alpha 0: no border
  std::optional<double> BorderWidth;
  std::optional<int> BorderSides;
  std::optional<double> Radius;
  std::optional<TRecipeInsets> Inset;  // the body lies this far inside the element's rectangle
  std::optional<TStyleRgba> Highlight;
  std::optional<int> HighlightSides;
  std::optional<TRecipeAccent> Accent;
  std::optional<TRecipeGlow> Glow;
  std::optional<TRecipeGlow> InnerGlow;
  std::optional<TRecipeEdge> Edge;
  TRecipeGlyph Glyph;
  std::optional<TStyleRgba> Text;
  std::optional<double> Opacity;
  std::optional<TRecipeSize> Size;
  std::optional<TRecipeSize> MinSize;
  std::optional<TRecipeInsets> Margins;  // content margins
  std::optional<bool> FixedPosition;

  // Every field that over has replaces ours.
  void Overlay(const TElementRecipe& over);
};

struct TElementFamily {
  TElementRecipe Base;
  std::map<String, TElementRecipe, std::less<>> Facets;
};

struct TStyleDescription {
  String Name;
  String FileName;
  bool Dark = false;
  String Author;
  String Description;
  String Version;
  std::array<std::optional<COLORREF>, SYS_COLOR_COUNT> SysColors{};
  std::array<std::optional<COLORREF>, kStyleColorCount> StyleColors{};
  std::array<std::optional<COLORREF>, kStyleFontCount> FontColors{};
  std::map<String, TElementFamily, std::less<>> Families;
};

// Reads a style file's bytes. fileName only names the file in error messages.
std::shared_ptr<const TStyleDescription> ReadStyleFile(const void* data, size_t size, const String& fileName);

// The names the file format uses for style colours and font colours ("scEdit",
// "sfButtonTextNormal"), indexed by the enumerations.
const char* StyleColorName(TStyleColor color);
const char* StyleFontName(TStyleFont font);
// The facets the elements of a family use, in the order they first appear.
std::vector<String> FamilyFacets(const String& family);
