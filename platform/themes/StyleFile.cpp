#include "StyleFile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <set>

#include "ElementTable.h"
#include "win/Window.h"

using json = nlohmann::json;

namespace {

constexpr const char* kStyleColorNames[] = {
    "scBorder", "scButtonDisabled", "scButtonFocused", "scButtonHot", "scButtonNormal", "scButtonPressed",
    "scCategoryButtons", "scCategoryButtonsGradientBase", "scCategoryButtonsGradientEnd", "scCategoryPanelGroup",
    "scComboBox", "scComboBoxDisabled", "scEdit", "scEditDisabled", "scGrid", "scGenericBackground",
    "scGenericGradientBase", "scGenericGradientEnd", "scHintGradientBase", "scHintGradientEnd", "scListBox",
    "scListBoxDisabled", "scListView", "scPanel", "scPanelDisabled", "scSplitter", "scToolBarGradientBase",
    "scToolBarGradientEnd", "scTreeView", "scWindow"};
static_assert(std::size(kStyleColorNames) == size_t(kStyleColorCount));

constexpr const char* kStyleFontNames[] = {
    "sfButtonTextDisabled", "sfButtonTextFocused", "sfButtonTextHot", "sfButtonTextNormal", "sfButtonTextPressed",
    "sfCaptionTextInactive", "sfCaptionTextNormal", "sfCategoryPanelGroupHeaderHot",
    "sfCategoryPanelGroupHeaderNormal", "sfCategoryButtonsCategoryNormal", "sfCategoryButtonsCategorySelected",
    "sfCategoryButtonsHot", "sfCategoryButtonsNormal", "sfCategoryButtonsSelected", "sfCheckBoxTextDisabled",
    "sfCheckBoxTextFocused", "sfCheckBoxTextHot", "sfCheckBoxTextNormal", "sfCheckBoxTextPressed",
    "sfComboBoxItemDisabled", "sfComboBoxItemFocused", "sfComboBoxItemHot", "sfComboBoxItemNormal",
    "sfComboBoxItemSelected", "sfEditBoxTextDisabled", "sfEditBoxTextFocused", "sfEditBoxTextHot",
    "sfEditBoxTextNormal", "sfEditBoxTextSelected", "sfGridItemFixedHot", "sfGridItemFixedNormal",
    "sfGridItemFixedPressed", "sfGridItemNormal", "sfGridItemSelected", "sfGroupBoxTextDisabled",
    "sfGroupBoxTextNormal", "sfHeaderSectionTextDisabled", "sfHeaderSectionTextHot", "sfHeaderSectionTextNormal",
    "sfHeaderSectionTextPressed", "sfListItemTextDisabled", "sfListItemTextFocused", "sfListItemTextHot",
    "sfListItemTextNormal", "sfListItemTextSelected", "sfMenuItemTextDisabled", "sfMenuItemTextHot",
    "sfMenuItemTextNormal", "sfMenuItemTextSelected", "sfPanelTextDisabled", "sfPanelTextNormal",
    "sfPopupMenuItemTextDisabled", "sfPopupMenuItemTextHot", "sfPopupMenuItemTextNormal",
    "sfPopupMenuItemTextSelected", "sfRadioButtonTextDisabled", "sfRadioButtonTextFocused",
    "sfRadioButtonTextHot", "sfRadioButtonTextNormal", "sfRadioButtonTextPressed", "sfSmCaptionTextInactive",
    "sfSmCaptionTextNormal", "sfStatusPanelTextDisabled", "sfStatusPanelTextNormal", "sfTabTextActiveDisabled",
    "sfTabTextActiveHot", "sfTabTextActiveNormal", "sfTabTextInactiveDisabled", "sfTabTextInactiveHot",
    "sfTabTextInactiveNormal", "sfTextLabelDisabled", "sfTextLabelFocused", "sfTextLabelHot", "sfTextLabelNormal",
    "sfToolItemTextDisabled", "sfToolItemTextHot", "sfToolItemTextNormal", "sfToolItemTextSelected",
    "sfTreeItemTextDisabled", "sfTreeItemTextFocused", "sfTreeItemTextHot", "sfTreeItemTextNormal",
    "sfTreeItemTextSelected", "sfWindowTextDisabled", "sfWindowTextNormal"};
static_assert(std::size(kStyleFontNames) == size_t(kStyleFontCount));

// Style files are small; anything near this size is not one.
constexpr size_t kMaxFileSize = 4u << 20;

// System metrics a natural size may name.
struct MetricName {
  const char* Name;
  int Index;
};
constexpr MetricName kMetrics[] = {
    {"SM_CXVSCROLL", SM_CXVSCROLL}, {"SM_CYVSCROLL", SM_CYVSCROLL},   {"SM_CXHSCROLL", SM_CXHSCROLL},
    {"SM_CYHSCROLL", SM_CYHSCROLL}, {"SM_CYCAPTION", SM_CYCAPTION},   {"SM_CYSMCAPTION", SM_CYSMCAPTION},
    {"SM_CXSIZE", SM_CXSIZE},       {"SM_CYSIZE", SM_CYSIZE},         {"SM_CXSMSIZE", SM_CXSMSIZE},
    {"SM_CYSMSIZE", SM_CYSMSIZE},   {"SM_CXFRAME", SM_CXFRAME},       {"SM_CYFRAME", SM_CYFRAME},
    {"SM_CYMENU", SM_CYMENU},       {"SM_CXMENUSIZE", SM_CXMENUSIZE}, {"SM_CYMENUSIZE", SM_CYMENUSIZE},
    {"SM_CXMENUCHECK", SM_CXMENUCHECK}, {"SM_CYMENUCHECK", SM_CYMENUCHECK}, {"SM_CXSMICON", SM_CXSMICON},
    {"SM_CYSMICON", SM_CYSMICON},   {"SM_CXEDGE", SM_CXEDGE},         {"SM_CYEDGE", SM_CYEDGE},
    {"SM_CXBORDER", SM_CXBORDER},   {"SM_CYBORDER", SM_CYBORDER}};

constexpr const char* kGlyphKinds[] = {"auto",  "none",   "triangle", "chevron", "tick",
                                       "square", "dash",  "dot",      "plusBox", "dots", "lines"};

struct EdgeName {
  const char* Name;
  TRecipeEdge Edge;
};
constexpr EdgeName kEdges[] = {{"none", TRecipeEdge::None},
                               {"raised", TRecipeEdge::Raised},
                               {"sunken", TRecipeEdge::Sunken},
                               {"etched", TRecipeEdge::Etched},
                               {"bump", TRecipeEdge::Bump},
                               {"raisedOuter", TRecipeEdge::RaisedOuter},
                               {"sunkenOuter", TRecipeEdge::SunkenOuter},
                               {"raisedInner", TRecipeEdge::RaisedInner},
                               {"sunkenInner", TRecipeEdge::SunkenInner}};

// A short picture of a value for messages: scalars as JSON, an array or object one level
// deep with the containers inside it shown as [...] or {...}, so that describing never
// walks a deep value.
String Describe(const json& v) {
  constexpr size_t kShown = 40;
  auto flat = [](const json& x) -> String {
    if (x.is_array()) return x.empty() ? "[]" : "[...]";
    if (x.is_object()) return x.empty() ? "{}" : "{...}";
    return x.dump();
  };
  String text;
  if (v.is_array() && !v.empty()) {
    text = "[";
    for (auto it = v.begin(); it != v.end() && text.size() <= kShown; ++it)
      text += (it == v.begin() ? "" : ", ") + flat(*it);
    text += "]";
  } else if (v.is_object() && !v.empty()) {
    text = "{";
    for (auto it = v.begin(); it != v.end() && text.size() <= kShown; ++it)
      text += (it == v.begin() ? "" : ", ") + json(it.key()).dump() + ": " + flat(it.value());
    text += "}";
  } else {
    text = flat(v);
  }
  if (text.size() > kShown) {
    size_t cut = kShown - 3;
    while (cut > 0 && (uint8_t(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a UTF-8 sequence
    text = text.substr(0, cut) + "...";
  }
  return text;
}

// The deepest nesting of arrays and objects a style file may have; its own deepest
// values (elements.family.state.fill.gradient[i]) lie six levels down.
constexpr int kMaxNesting = 16;

// Refuses text nested deeper than kMaxNesting before it is parsed, so that no deep tree
// is built, walked or freed. Only brackets outside strings count; whatever else is wrong
// is left to the parser. Answers "" or the key path and place of the first bracket too
// deep ("elements.edit.base[0][0]: ... (line 3, column 12)").
String NestingError(const char* text, size_t size) {
  struct Level {
    bool Object;
    bool ExpectKey;
    String Key;
    size_t Index;
  };
  std::vector<Level> levels;
  bool inString = false, escaped = false, isKey = false;
  String key;
  size_t line = 1, lineStart = 0;
  for (size_t i = 0; i < size; ++i) {
    const char c = text[i];
    if (inString) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        inString = false;
        if (isKey) {
          levels.back().Key = std::move(key);
          levels.back().ExpectKey = false;
        }
        key.clear();
        continue;
      }
      if (isKey && key.size() < 64) key += c;
      if (c == '\n') line++, lineStart = i + 1;
      continue;
    }
    switch (c) {
      case '"':
        inString = true;
        isKey = !levels.empty() && levels.back().Object && levels.back().ExpectKey;
        break;
      case '{':
      case '[':
        if (int(levels.size()) == kMaxNesting) {
          String path;
          for (const Level& l : levels) {
            if (l.Object)
              path += (path.empty() ? "" : ".") + l.Key;
            else
              path += "[" + IntToStr(int64_t(l.Index)) + "]";
          }
          return (path.empty() ? String() : path + ": ") + "nested deeper than " + IntToStr(kMaxNesting) +
                 " levels of arrays and objects (line " + IntToStr(int64_t(line)) + ", column " +
                 IntToStr(int64_t(i - lineStart + 1)) + ")";
        }
        levels.push_back({c == '{', c == '{', String(), 0});
        break;
      case '}':
      case ']':
        if (!levels.empty()) levels.pop_back();
        break;
      case ',':
        if (!levels.empty()) {
          levels.back().ExpectKey = levels.back().Object;
          levels.back().Index++;
        }
        break;
      case '\n':
        line++;
        lineStart = i + 1;
        break;
      default:
        break;
    }
  }
  return String();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads one file; every check raises with the key path where it failed.
class Reader {
 public:
  explicit Reader(String fileName) : FFile(std::move(fileName)) {}

  std::shared_ptr<const TStyleDescription> Read(const void* data, size_t size) {
    if (!data && size) Fail("", "no data");
    if (size > kMaxFileSize) Fail("", "the file is larger than " + IntToStr(int64_t(kMaxFileSize)) + " bytes");
    if (const String nesting = NestingError(static_cast<const char*>(data), size); !nesting.empty())
      Fail("", nesting);
    json root;
    try {
      const char* text = static_cast<const char*>(data);
      root = json::parse(text, text + size);
    } catch (const json::exception& e) {
      Fail("", String("not valid JSON: ") + e.what());
    }
    if (!root.is_object()) Fail("", "the file must hold one JSON object");
    auto style = std::make_shared<TStyleDescription>();
    style->FileName = FFile;
    FStyle = style.get();

    // Colours may name system colours and palette entries: read those first.
    if (auto it = root.find("sysColors"); it != root.end()) ReadSysColors(*it);
    if (auto it = root.find("palette"); it != root.end()) ReadPalette(*it);
    for (auto it = root.begin(); it != root.end(); ++it) {
      const String& key = it.key();
      const json& v = it.value();
      if (key == "name") {
        style->Name = Text(v, key);
        if (Trim(style->Name).empty()) Fail(key, "the name must not be empty");
      } else if (key == "dark") {
        if (!v.is_boolean()) Fail(key, "must be true or false, not " + Describe(v));
        style->Dark = v.get<bool>();
        FHasDark = true;
      } else if (key == "author") {
        style->Author = Text(v, key);
      } else if (key == "description") {
        style->Description = Text(v, key);
      } else if (key == "version") {
        style->Version = Text(v, key);
      } else if (key == "sysColors" || key == "palette") {
        // read above
      } else if (key == "styleColors") {
        ReadNamedColors(v, key, kStyleColorNames, style->StyleColors.data(), kStyleColorCount);
      } else if (key == "fontColors") {
        ReadNamedColors(v, key, kStyleFontNames, style->FontColors.data(), kStyleFontCount);
      } else if (key == "elements") {
        ReadElements(v, key);
      } else {
        Fail(key, "unknown key");
      }
    }
    if (style->Name.empty()) Fail("name", "missing");
    if (!FHasDark) Fail("dark", "missing");
    ResolveLikes();
    return style;
  }

 private:
  [[noreturn]] void Fail(const String& key, const String& what) const {
    throw EStyleFileError(FFile + ": " + (key.empty() ? "" : key + ": ") + what);
  }

  String Text(const json& v, const String& key) const {
    if (!v.is_string()) Fail(key, "must be a string, not " + Describe(v));
    return v.get<String>();
  }

  double Number(const json& v, const String& key, double lo, double hi) const {
    if (!v.is_number()) Fail(key, "must be a number, not " + Describe(v));
    const double d = v.get<double>();
    if (!std::isfinite(d) || d < lo || d > hi)
      Fail(key, Describe(v) + " is out of range (" + FloatToStr(lo) + " to " + FloatToStr(hi) + ")");
    return d;
  }

  const json& Object(const json& v, const String& key) const {
    if (!v.is_object()) Fail(key, "must be an object, not " + Describe(v));
    return v;
  }

  // "#RRGGBB", "#RRGGBBAA", "none", a colour name ("clBtnFace": this style's system
  // colour; "clRed": the plain colour) or "$name" of the palette.
  TStyleRgba Color(const json& v, const String& key) const {
    if (!v.is_string()) Fail(key, "must be a colour string, not " + Describe(v));
    const String s = v.get<String>();
    if (s == "none") return {0, 0, 0, 0};
    if (!s.empty() && s[0] == '#') {
      if (s.size() != 7 && s.size() != 9) Fail(key, "'" + s + "' is not a colour (#RRGGBB or #RRGGBBAA)");
      uint8_t bytes[4] = {0, 0, 0, 255};
      for (size_t i = 1; i < s.size(); i += 2) {
        const int hi = HexDigit(s[i]), lo = HexDigit(s[i + 1]);
        if (hi < 0 || lo < 0) Fail(key, "'" + s + "' is not a colour (#RRGGBB or #RRGGBBAA)");
        bytes[(i - 1) / 2] = uint8_t(hi * 16 + lo);
      }
      return {bytes[0], bytes[1], bytes[2], bytes[3]};
    }
    if (!s.empty() && s[0] == '$') {
      auto it = FPalette.find(s.substr(1));
      if (it == FPalette.end()) Fail(key, "'" + s + "' is not in the palette");
      return it->second;
    }
    TColor named = 0;
    if (s.size() > 2 && s[0] == 'c' && s[1] == 'l' && IdentToColor(s, named) && named != clNone &&
        named != clDefault) {
      if ((uint32_t(named) & 0xFF000000u) == uint32_t(clSystemColor)) {
        const int index = named & 0xFF;
        const auto& own = FStyle->SysColors[size_t(index)];
        if (!own) Fail(key, "'" + s + "' names a system colour that sysColors does not give");
        return TStyleRgba::FromRef(*own);
      }
      return TStyleRgba::FromRef(COLORREF(named));
    }
    Fail(key, "'" + s + "' is not a colour");
  }

  void ReadSysColors(const json& v) {
    for (auto it = Object(v, "sysColors").begin(); it != v.end(); ++it) {
      const String key = "sysColors." + it.key();
      TColor c = 0;
      if (!IdentToColor(it.key(), c) || (uint32_t(c) & 0xFF000000u) != uint32_t(clSystemColor) ||
          (c & 0xFF) >= SYS_COLOR_COUNT)
        Fail(key, "not a system colour name");
      if (it.value().is_string() && it.value().get<String>().rfind("cl", 0) == 0)
        Fail(key, "system colours must be given as #RRGGBB");
      const TStyleRgba rgba = Color(it.value(), key);
      if (rgba.A != 255) Fail(key, "system colours are opaque");
      FStyle->SysColors[size_t(c & 0xFF)] = rgba.Ref();
    }
  }

  void ReadPalette(const json& v) {
    for (auto it = Object(v, "palette").begin(); it != v.end(); ++it) {
      const String key = "palette." + it.key();
      if (it.key().empty()) Fail(key, "palette names must not be empty");
      if (it.value().is_string() && it.value().get<String>().rfind("$", 0) == 0)
        Fail(key, "palette entries cannot name other palette entries");
      FPalette[it.key()] = Color(it.value(), key);
    }
  }

  void ReadNamedColors(const json& v, const String& section, const char* const* names,
                       std::optional<COLORREF>* out, int count) {
    for (auto it = Object(v, section).begin(); it != v.end(); ++it) {
      const String key = section + "." + it.key();
      int index = -1;
      for (int i = 0; i < count; ++i)
        if (it.key() == names[i]) index = i;
      if (index < 0) Fail(key, "unknown name");
      const TStyleRgba rgba = Color(it.value(), key);
      if (rgba.A != 255) Fail(key, "must be opaque");
      out[index] = rgba.Ref();
    }
  }

  // "ltrb" letters, "all" or "none".
  int Sides(const json& v, const String& key) const {
    const String s = Text(v, key);
    if (s == "all") return kSideAll;
    if (s == "none") return 0;
    int sides = 0;
    for (char c : s) {
      const int bit = c == 'l' ? kSideLeft : c == 't' ? kSideTop : c == 'r' ? kSideRight : c == 'b' ? kSideBottom : 0;
      if (!bit || (sides & bit)) Fail(key, "'" + s + "' is not a set of sides (letters l, t, r, b, or all, none)");
      sides |= bit;
    }
    return sides;
  }

  // A number for all four sides, or [left, top, right, bottom].
  TRecipeInsets Insets(const json& v, const String& key) const {
    if (v.is_number()) {
      const double d = Number(v, key, 0, 256);
      return {d, d, d, d};
    }
    if (!v.is_array() || v.size() != 4) Fail(key, "must be a number or [left, top, right, bottom]");
    return {Number(v[0], key + "[0]", 0, 256), Number(v[1], key + "[1]", 0, 256), Number(v[2], key + "[2]", 0, 256),
            Number(v[3], key + "[3]", 0, 256)};
  }

  TRecipeSize Size(const json& v, const String& key) const {
    if (!v.is_array() || v.size() != 2) Fail(key, "must be [width, height]");
    TRecipeSize size;
    for (int i = 0; i < 2; ++i) {
      const json& side = v[size_t(i)];
      const String sideKey = key + "[" + IntToStr(i) + "]";
      double& pixels = i == 0 ? size.Width : size.Height;
      int& metric = i == 0 ? size.MetricWidth : size.MetricHeight;
      if (side.is_string()) {
        const String name = side.get<String>();
        for (const MetricName& m : kMetrics)
          if (name == m.Name) metric = m.Index;
        if (metric < 0) Fail(sideKey, "'" + name + "' is not a system metric a size may name");
      } else {
        pixels = Number(side, sideKey, 0, 4096);
      }
    }
    return size;
  }

  TRecipeGlow Glow(const json& v, const String& key) const {
    TRecipeGlow glow;
    bool hasColor = false;
    for (auto it = Object(v, key).begin(); it != v.end(); ++it) {
      const String k = key + "." + it.key();
      if (it.key() == "color") {
        glow.Color = Color(it.value(), k);
        hasColor = true;
      } else if (it.key() == "size") {
        glow.Size = Number(it.value(), k, 0, 16);
      } else {
        Fail(k, "unknown key");
      }
    }
    if (!hasColor) Fail(key + ".color", "missing");
    return glow;
  }

  TRecipeFill Fill(const json& v, const String& key) const {
    TRecipeFill fill;
    if (v.is_string()) {
      const TStyleRgba c = Color(v, key);
      if (c.A == 0) return fill;
      fill.Kind = TFillKind::Solid;
      fill.Colors = {c};
      return fill;
    }
    Object(v, key);
    const bool gradient = v.contains("gradient"), glossy = v.contains("glossy");
    if (gradient == glossy) Fail(key, "must be a colour, or an object with either \"gradient\" or \"glossy\"");
    for (auto it = v.begin(); it != v.end(); ++it) {
      const String k = key + "." + it.key();
      if (it.key() == "gradient" || it.key() == "glossy") {
        const json& list = it.value();
        const bool isGlossy = it.key() == "glossy";
        if (!list.is_array() || (isGlossy ? list.size() != 4 : (list.size() < 2 || list.size() > 8)))
          Fail(k, isGlossy ? "must list four colours: top from, top to, bottom from, bottom to"
                           : "must list two to eight colours");
        for (size_t i = 0; i < list.size(); ++i) fill.Colors.push_back(Color(list[i], k + "[" + IntToStr(int64_t(i)) + "]"));
        fill.Kind = isGlossy ? TFillKind::Glossy : TFillKind::Gradient;
      } else if (it.key() == "direction") {
        const String d = Text(it.value(), k);
        if (d != "vertical" && d != "horizontal") Fail(k, "must be \"vertical\" or \"horizontal\"");
        fill.Horizontal = d == "horizontal";
      } else if (it.key() == "split") {
        fill.Split = Number(it.value(), k, 0, 1);
      } else {
        Fail(k, "unknown key");
      }
    }
    return fill;
  }

  void Glyph(const json& v, const String& key, TRecipeGlyph& glyph) const {
    if (v.is_string()) {
      glyph.Color = Color(v, key);
      return;
    }
    for (auto it = Object(v, key).begin(); it != v.end(); ++it) {
      const String k = key + "." + it.key();
      if (it.key() == "color") {
        glyph.Color = Color(it.value(), k);
      } else if (it.key() == "kind") {
        const String kind = Text(it.value(), k);
        if (std::find_if(std::begin(kGlyphKinds), std::end(kGlyphKinds),
                         [&](const char* n) { return kind == n; }) == std::end(kGlyphKinds))
          Fail(k, "'" + kind + "' is not a glyph kind");
        glyph.Kind = kind;
      } else if (it.key() == "size") {
        glyph.Size = Number(it.value(), k, 1, 256);
      } else if (it.key() == "weight") {
        glyph.Weight = Number(it.value(), k, 0.5, 16);
      } else {
        Fail(k, "unknown key");
      }
    }
  }

  TElementRecipe Recipe(const json& v, const String& key) const {
    TElementRecipe r;
    for (auto it = Object(v, key).begin(); it != v.end(); ++it) {
      const String& name = it.key();
      const json& value = it.value();
      const String k = key + "." + name;
      if (name == "fill") {
        r.Fill = Fill(value, k);
      } else if (name == "border") {
        r.Border = Color(value, k);
      } else if (name == "borderWidth") {
        r.BorderWidth = Number(value, k, 0, 16);
      } else if (name == "borderSides") {
        r.BorderSides = Sides(value, k);
      } else if (name == "radius") {
        r.Radius = Number(value, k, 0, 64);
      } else if (name == "inset") {
        r.Inset = Insets(value, k);
      } else if (name == "highlight") {
        r.Highlight = Color(value, k);
      } else if (name == "highlightSides") {
        r.HighlightSides = Sides(value, k);
      } else if (name == "accent") {
        TRecipeAccent accent;
        bool hasColor = false;
        for (auto a = Object(value, k).begin(); a != value.end(); ++a) {
          const String ak = k + "." + a.key();
          if (a.key() == "color") {
            accent.Color = Color(a.value(), ak);
            hasColor = true;
          } else if (a.key() == "width") {
            accent.Width = Number(a.value(), ak, 0, 16);
          } else if (a.key() == "side") {
            accent.Side = Sides(a.value(), ak);
            if (accent.Side != kSideLeft && accent.Side != kSideTop && accent.Side != kSideRight &&
                accent.Side != kSideBottom)
              Fail(ak, "must be one side: l, t, r or b");
          } else {
            Fail(ak, "unknown key");
          }
        }
        if (!hasColor) Fail(k + ".color", "missing");
        r.Accent = accent;
      } else if (name == "glow") {
        r.Glow = Glow(value, k);
      } else if (name == "innerGlow") {
        r.InnerGlow = Glow(value, k);
      } else if (name == "edge") {
        const String e = Text(value, k);
        auto found = std::find_if(std::begin(kEdges), std::end(kEdges), [&](const EdgeName& n) { return e == n.Name; });
        if (found == std::end(kEdges)) Fail(k, "'" + e + "' is not an edge kind");
        r.Edge = found->Edge;
      } else if (name == "glyph") {
        Glyph(value, k, r.Glyph);
      } else if (name == "text") {
        r.Text = Color(value, k);
      } else if (name == "opacity") {
        r.Opacity = Number(value, k, 0, 1);
      } else if (name == "size") {
        r.Size = Size(value, k);
      } else if (name == "minSize") {
        r.MinSize = Size(value, k);
      } else if (name == "margins") {
        r.Margins = Insets(value, k);
      } else if (name == "fixedPosition") {
        if (!value.is_boolean()) Fail(k, "must be true or false");
        r.FixedPosition = value.get<bool>();
      } else {
        Fail(k, "unknown key");
      }
    }
    return r;
  }

  void ReadElements(const json& v, const String& section) {
    const std::vector<String> known = ElementFamilies();
    for (auto it = Object(v, section).begin(); it != v.end(); ++it) {
      const String& family = it.key();
      const String key = section + "." + family;
      if (std::find(known.begin(), known.end(), family) == known.end()) Fail(key, "unknown element family");
      const std::vector<String> facets = FamilyFacets(family);
      TElementFamily& out = FStyle->Families[family];
      for (auto f = Object(it.value(), key).begin(); f != it.value().end(); ++f) {
        const String fk = key + "." + f.key();
        if (f.key() == "like") {
          const String target = Text(f.value(), fk);
          if (std::find(known.begin(), known.end(), target) == known.end()) Fail(fk, "unknown element family");
          FLikes[family] = {target, fk};
        } else if (f.key() == "base") {
          out.Base = Recipe(f.value(), fk);
        } else if (std::find(facets.begin(), facets.end(), f.key()) != facets.end()) {
          out.Facets[f.key()] = Recipe(f.value(), fk);
        } else {
          Fail(fk, "unknown state of this family (it has: base, like" + JoinFacets(facets) + ")");
        }
      }
    }
  }

  static String JoinFacets(const std::vector<String>& facets) {
    String s;
    for (const String& f : facets) s += ", " + f;
    return s;
  }

  // A family "like" another starts from the other's recipes and lays its own over them.
  void ResolveLikes() {
    std::set<String> done;
    for (const auto& [family, like] : FLikes) Resolve(family, done, {});
  }

  void Resolve(const String& family, std::set<String>& done, std::vector<String> chain) {
    if (done.count(family)) return;
    auto it = FLikes.find(family);
    if (it == FLikes.end()) {
      done.insert(family);
      return;
    }
    if (std::find(chain.begin(), chain.end(), family) != chain.end())
      Fail(it->second.second, "families are alike in a circle");
    chain.push_back(family);
    const String& target = it->second.first;
    auto targetIt = FStyle->Families.find(target);
    if (targetIt == FStyle->Families.end()) Fail(it->second.second, "'" + target + "' is not given in this file");
    Resolve(target, done, chain);
    const TElementFamily& base = FStyle->Families[target];
    TElementFamily& own = FStyle->Families[family];
    TElementFamily merged = base;
    merged.Base.Overlay(own.Base);
    for (const auto& [facet, recipe] : own.Facets) {
      auto m = merged.Facets.find(facet);
      if (m == merged.Facets.end())
        merged.Facets[facet] = recipe;
      else
        m->second.Overlay(recipe);
    }
    own = std::move(merged);
    done.insert(family);
  }

  String FFile;
  TStyleDescription* FStyle = nullptr;
  bool FHasDark = false;
  std::map<String, TStyleRgba> FPalette;
  std::map<String, std::pair<String, String>> FLikes;  // family -> (target, key)
};

}  // namespace

void TElementRecipe::Overlay(const TElementRecipe& o) {
  auto take = [](auto& mine, const auto& theirs) {
    if (theirs) mine = theirs;
  };
  take(Fill, o.Fill);
  take(Border, o.Border);
  take(BorderWidth, o.BorderWidth);
  take(BorderSides, o.BorderSides);
  take(Radius, o.Radius);
  take(Inset, o.Inset);
  take(Highlight, o.Highlight);
  take(HighlightSides, o.HighlightSides);
  take(Accent, o.Accent);
  take(Glow, o.Glow);
  take(InnerGlow, o.InnerGlow);
  take(Edge, o.Edge);
  take(Glyph.Color, o.Glyph.Color);
  take(Glyph.Kind, o.Glyph.Kind);
  take(Glyph.Size, o.Glyph.Size);
  take(Glyph.Weight, o.Glyph.Weight);
  take(Text, o.Text);
  take(Opacity, o.Opacity);
  take(Size, o.Size);
  take(MinSize, o.MinSize);
  take(Margins, o.Margins);
  take(FixedPosition, o.FixedPosition);
}

std::shared_ptr<const TStyleDescription> ReadStyleFile(const void* data, size_t size, const String& fileName) {
  return Reader(fileName).Read(data, size);
}

const char* StyleColorName(TStyleColor color) {
  return color >= 0 && color < kStyleColorCount ? kStyleColorNames[color] : "";
}

const char* StyleFontName(TStyleFont font) { return font >= 0 && font < kStyleFontCount ? kStyleFontNames[font] : ""; }

std::vector<String> FamilyFacets(const String& family) {
  std::vector<String> facets;
  for (const TElementTable* t : AllElementTables())
    for (size_t i = 0; i < t->Count; ++i) {
      const TElementEntry& e = t->Entries[i];
      if (!e.Family || family != e.Family) continue;
      for (std::string_view f : FacetsOf(e))
        if (std::find(facets.begin(), facets.end(), f) == facets.end()) facets.emplace_back(f);
    }
  return facets;
}
