#include "Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-font.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "FontFace.h"

namespace {

constexpr const char* kWindowsFontDir = "/usr/share/wine/fonts";
constexpr int kDefaultEm = 11;  // Tahoma 8 pt at 96 pixels per inch
constexpr int kMaxEm = 2048;
constexpr size_t kFaceCacheLimit = 512;

String Lower(String s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

bool SameName(const String& a, const String& b) { return Lower(a) == Lower(b); }

// The platform's substitutions before fontconfig sees a face name. "MS Sans Serif" is a
// bitmap-only font that pango cannot space correctly, so its successor stands in for it.
String Substitute(const String& face) {
  if (face.empty()) return "Tahoma";
  if (SameName(face, "Segoe UI")) return "DejaVu Sans";
  if (SameName(face, "MS Sans Serif") || SameName(face, "MS Shell Dlg") || SameName(face, "MS Shell Dlg 2"))
    return "Tahoma";
  return face;
}

int RoundPx(double v) { return int(std::floor(v + 0.5)); }

// ---- the pango engine ----

struct TextEngine {
  PangoFontMap* Map = nullptr;
  PangoContext* Contexts[2] = {nullptr, nullptr};
  FT_Library Ft = nullptr;
};

PangoContext* MakeContext(PangoFontMap* map, PangoDirection dir) {
  PangoContext* c = pango_font_map_create_context(map);
  cairo_font_options_t* o = cairo_font_options_create();
  cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
  // Whole-pixel advances: GDI widths are integers.
  cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(c, o);
  cairo_font_options_destroy(o);
  pango_context_set_base_dir(c, dir);
  return c;
}

// Lives as long as the process: fonts and layouts refer to it everywhere.
TextEngine& Engine() {
  static TextEngine* engine = [] {
    InitFonts();
    auto* e = new TextEngine;
    e->Map = pango_cairo_font_map_new();
    e->Contexts[0] = MakeContext(e->Map, PANGO_DIRECTION_LTR);
    e->Contexts[1] = MakeContext(e->Map, PANGO_DIRECTION_RTL);
    if (FT_Init_FreeType(&e->Ft) != 0) e->Ft = nullptr;
    return e;
  }();
  return *engine;
}

// ---- what the font file says ----

// The tables GDI takes its metrics from, in font units.
struct FontFileInfo {
  bool Valid = false;
  int Upem = 2048;
  int WinAscent = 0;
  int WinDescent = 0;
  int LineHeight = 0;  // hhea ascender - descender + line gap
  int MaxAdvance = 0;
  int XAdvance = 0;
  int UnderlinePosition = 0;  // centre of the stroke, negative below the baseline
  int UnderlineThickness = 0;
  int StrikePosition = 0;  // top of the stroke above the baseline
  int StrikeSize = 0;
  bool Scalable = true;
  bool Fixed = false;
  bool Symbol = false;
  BYTE Family = FF_DONTCARE;
};

BYTE FamilyFromPanose(const FT_Byte* panose, bool fixed) {
  if (fixed) return FF_MODERN;
  switch (panose[0]) {
    case 2:  // Latin text: the serif style tells sans from serif
      if (panose[1] >= 11) return FF_SWISS;
      if (panose[1] >= 2) return FF_ROMAN;
      return FF_DONTCARE;
    case 3:
      return FF_SCRIPT;
    case 4:
    case 5:
      return FF_DECORATIVE;
    default:
      return FF_DONTCARE;
  }
}

FontFileInfo ReadFileInfo(const char* file, int index) {
  FontFileInfo info;
  FT_Library ft = Engine().Ft;
  FT_Face f = nullptr;
  if (!ft || !file || FT_New_Face(ft, file, index, &f) != 0) return info;
  info.Valid = true;
  info.Upem = f->units_per_EM > 0 ? f->units_per_EM : 2048;
  info.Scalable = FT_IS_SCALABLE(f);
  info.Fixed = FT_IS_FIXED_WIDTH(f);
  info.UnderlinePosition = f->underline_position;
  info.UnderlineThickness = f->underline_thickness;
  for (int i = 0; i < f->num_charmaps; ++i)
    if (f->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL) info.Symbol = true;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
    info.WinAscent = os2->usWinAscent;
    info.WinDescent = os2->usWinDescent;
    info.StrikePosition = os2->yStrikeoutPosition;
    info.StrikeSize = os2->yStrikeoutSize;
    info.Family = FamilyFromPanose(os2->panose, info.Fixed);
    if (os2->panose[3] == 9) info.Fixed = true;  // proportion: monospaced
  }
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA))) {
    info.LineHeight = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
    info.MaxAdvance = hhea->advance_Width_Max;
  }
  const FT_UInt x = FT_Get_Char_Index(f, 'x');
  if (x != 0 && FT_Load_Glyph(f, x, FT_LOAD_NO_SCALE) == 0) info.XAdvance = int(f->glyph->advance.x);
  FT_Done_Face(f);
  return info;
}

const FontFileInfo& FileInfo(const char* file, int index) {
  static std::map<std::pair<String, int>, FontFileInfo> cache;
  auto key = std::make_pair(String(file ? file : ""), index);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, ReadFileInfo(file, index)).first;
  return it->second;
}

const FontFileInfo& FileInfoOf(PangoFont* font) {
  static const FontFileInfo none;
  if (!font || !PANGO_IS_FC_FONT(font)) return none;
  FcPattern* p = pango_fc_font_get_pattern(PANGO_FC_FONT(font));
  FcChar8* file = nullptr;
  int index = 0;
  if (!p || FcPatternGetString(p, FC_FILE, 0, &file) != FcResultMatch) return none;
  FcPatternGetInteger(p, FC_INDEX, 0, &index);
  return FileInfo(reinterpret_cast<const char*>(file), index);
}

// ---- metrics ----

// Ascent and descent per pixel of em: GDI's come from the OS/2 table's Windows values.
struct VerticalRatio {
  double Ascent = 0.8;
  double Descent = 0.2;
};

VerticalRatio RatioOf(const FontFileInfo& info, PangoFont* font, int loadedEm) {
  VerticalRatio r;
  if (info.WinAscent + info.WinDescent > 0) {
    r.Ascent = double(info.WinAscent) / info.Upem;
    r.Descent = double(info.WinDescent) / info.Upem;
  } else if (font) {
    PangoFontMetrics* m = pango_font_get_metrics(font, nullptr);
    const double a = pango_font_metrics_get_ascent(m), d = pango_font_metrics_get_descent(m);
    pango_font_metrics_unref(m);
    if (a + d > 0) {
      r.Ascent = a / PANGO_SCALE / loadedEm;
      r.Descent = d / PANGO_SCALE / loadedEm;
    }
  }
  return r;
}

int CellHeight(const VerticalRatio& r, int em) { return RoundPx(r.Ascent * em) + RoundPx(r.Descent * em); }

// The whole-pixel em whose cell (ascent + descent) is the height asked for, or the nearest.
int EmForCell(const VerticalRatio& r, int cell) {
  const int guess = std::clamp(RoundPx(cell / (r.Ascent + r.Descent)), 1, kMaxEm);
  for (int em : {guess, guess - 1, guess + 1})
    if (em >= 1 && em <= kMaxEm && CellHeight(r, em) == cell) return em;
  return guess;
}

int Scaled(int units, int em, int upem) { return RoundPx(double(units) * em / upem); }

TEXTMETRIC MakeMetrics(const FontFileInfo& info, int em, int ascent, int descent, LONG weight, bool italic,
                       BYTE requestedFamily) {
  TEXTMETRIC tm;
  tm.tmAscent = ascent;
  tm.tmDescent = descent;
  tm.tmHeight = ascent + descent;
  tm.tmInternalLeading = tm.tmHeight - em;
  tm.tmExternalLeading =
      info.LineHeight > 0 ? std::max(0, Scaled(info.LineHeight - info.WinAscent - info.WinDescent, em, info.Upem)) : 0;
  tm.tmAveCharWidth = info.XAdvance > 0 ? Scaled(info.XAdvance, em, info.Upem) : std::max(1, em / 2);
  tm.tmMaxCharWidth = info.MaxAdvance > 0 ? Scaled(info.MaxAdvance, em, info.Upem) : em;
  tm.tmWeight = weight <= 0 ? FW_NORMAL : weight;
  tm.tmItalic = italic ? 1 : 0;
  // The pitch bit means "variable pitch", as GDI has it.
  tm.tmPitchAndFamily = BYTE((info.Fixed ? 0 : TMPF_FIXED_PITCH) | (info.Scalable ? (TMPF_VECTOR | TMPF_TRUETYPE) : 0) |
                             (info.Family != FF_DONTCARE ? info.Family : (requestedFamily & 0xF0)));
  tm.tmCharSet = info.Symbol ? SYMBOL_CHARSET : ANSI_CHARSET;
  return tm;
}

// ---- faces ----

PangoFont* LoadFont(PangoFontDescription* desc, int em) {
  pango_font_description_set_absolute_size(desc, double(em) * PANGO_SCALE);
  return pango_font_map_load_font(Engine().Map, Engine().Contexts[0], desc);
}

int MeasureWidth(const FontFace& face, const char* text) {
  PangoLayout* layout = pango_layout_new(Engine().Contexts[0]);
  pango_layout_set_font_description(layout, face.Desc);
  pango_layout_set_attributes(layout, face.Attrs);
  pango_layout_set_text(layout, text, -1);
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  g_object_unref(layout);
  return RoundPx(double(logical.width) / PANGO_SCALE);
}

std::shared_ptr<FontFace> BuildFace(const LOGFONT& lf) {
  auto face = std::make_shared<FontFace>();
  face->Log = lf;
  const int64_t height = lf.lfHeight == 0 ? -kDefaultEm : int64_t(lf.lfHeight);
  const int size = int(std::clamp<int64_t>(height < 0 ? -height : height, 1, kMaxEm));
  const LONG weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<LONG>(lf.lfWeight, 100, 1000);

  PangoFontDescription* desc = pango_font_description_new();
  pango_font_description_set_family(desc, Substitute(lf.lfFaceName).c_str());
  pango_font_description_set_weight(desc, PangoWeight(weight));
  pango_font_description_set_style(desc, lf.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  int em = size;
  PangoFont* font = LoadFont(desc, em);
  const FontFileInfo& info = FileInfoOf(font);
  const VerticalRatio ratio = RatioOf(info, font, em);
  if (height > 0) {
    em = EmForCell(ratio, size);
    if (em != size) {
      if (font) g_object_unref(font);
      font = LoadFont(desc, em);
    }
  }
  face->Em = em;
  face->Desc = desc;
  if (font) {
    PangoFontDescription* got = pango_font_describe(font);
    const char* family = pango_font_description_get_family(got);
    face->Family = family ? family : "";
    pango_font_description_free(got);
    g_object_unref(font);
  }
  face->Attrs = pango_attr_list_new();
  pango_attr_list_insert(face->Attrs, pango_attr_font_features_new("-kern,-liga,-clig"));

  const int ascent = RoundPx(ratio.Ascent * em);
  // A positive height is the cell height: keep it exactly even when no whole em gives it.
  const int descent = height > 0 ? size - ascent : RoundPx(ratio.Descent * em);
  face->Metrics = MakeMetrics(info, em, ascent, descent, weight, lf.lfItalic != 0, lf.lfPitchAndFamily);
  face->Metrics.tmUnderlined = lf.lfUnderline ? 1 : 0;
  face->Metrics.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
  // The average character width is the advance of 'x' as drawn (hinted), not as designed.
  if (const int x = MeasureWidth(*face, "x"); x > 0) face->Metrics.tmAveCharWidth = x;

  if (info.Valid && info.UnderlineThickness > 0) {
    face->UnderlineThickness = std::max(1, Scaled(info.UnderlineThickness, em, info.Upem));
    face->UnderlineOffset =
        std::max(0, RoundPx(-(info.UnderlinePosition + info.UnderlineThickness / 2.0) * em / info.Upem));
  } else {
    face->UnderlineThickness = std::max(1, em / 14);
    face->UnderlineOffset = std::max(1, descent / 3);
  }
  if (face->UnderlineOffset + face->UnderlineThickness > descent)
    face->UnderlineOffset = std::max(0, descent - face->UnderlineThickness);
  if (info.Valid && info.StrikeSize > 0) {
    face->StrikeThickness = std::max(1, Scaled(info.StrikeSize, em, info.Upem));
    face->StrikeOffset = Scaled(info.StrikePosition, em, info.Upem);
  } else {
    face->StrikeThickness = face->UnderlineThickness;
    face->StrikeOffset = RoundPx(em * 0.3) + face->StrikeThickness;
  }
  face->EscapementDegrees = lf.lfEscapement / 10.0;
  return face;
}

using FaceKey = std::tuple<LONG, LONG, LONG, LONG, LONG, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, BYTE, String>;

FaceKey KeyOf(const LOGFONT& lf) {
  return {lf.lfHeight,        lf.lfWidth,     lf.lfEscapement,     lf.lfOrientation,    lf.lfWeight,
          lf.lfItalic,        lf.lfUnderline, lf.lfStrikeOut,      lf.lfCharSet,        lf.lfOutPrecision,
          lf.lfClipPrecision, lf.lfQuality,   lf.lfPitchAndFamily, Lower(lf.lfFaceName)};
}

std::shared_ptr<FontFace> CachedFace(const LOGFONT& lf) {
  static std::map<FaceKey, std::shared_ptr<FontFace>> cache;
  FaceKey key = KeyOf(lf);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kFaceCacheLimit) {
    // Forget the faces no font holds any more.
    for (auto i = cache.begin(); i != cache.end();) i = i->second.use_count() == 1 ? cache.erase(i) : std::next(i);
  }
  return cache.emplace(std::move(key), BuildFace(lf)).first->second;
}

// ---- enumeration ----

struct StyleEntry {
  String Style;
  LONG Weight = FW_NORMAL;
  bool Italic = false;
  const FontFileInfo* Info = nullptr;
};

struct FamilyEntry {
  String Name;
  std::vector<StyleEntry> Styles;
};

String PatternString(FcPattern* p, const char* object) {
  FcChar8* s = nullptr;
  return FcPatternGetString(p, object, 0, &s) == FcResultMatch ? String(reinterpret_cast<const char*>(s)) : String();
}

LONG PatternWeight(FcPattern* p) {
  double w = 0;
  int i = 0;
  if (FcPatternGetDouble(p, FC_WEIGHT, 0, &w) == FcResultMatch) return FcWeightToOpenType(int(w));
  if (FcPatternGetInteger(p, FC_WEIGHT, 0, &i) == FcResultMatch) return FcWeightToOpenType(i);
  return FW_NORMAL;
}

// Every family fontconfig offers, sorted by name; the set does not change after start-up.
const std::vector<FamilyEntry>& Families() {
  static const std::vector<FamilyEntry> families = [] {
    InitFonts();
    std::map<String, FamilyEntry> byName;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_FILE, FC_INDEX, nullptr);
    FcFontSet* set = FcFontList(nullptr, all, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
      FcPattern* p = set->fonts[i];
      const String name = PatternString(p, FC_FAMILY);
      if (name.empty()) continue;
      int slant = FC_SLANT_ROMAN, index = 0;
      FcPatternGetInteger(p, FC_SLANT, 0, &slant);
      FcPatternGetInteger(p, FC_INDEX, 0, &index);
      StyleEntry style{PatternString(p, FC_STYLE), PatternWeight(p), slant != FC_SLANT_ROMAN,
                       &FileInfo(PatternString(p, FC_FILE).c_str(), index)};
      FamilyEntry& family = byName[Lower(name)];
      if (family.Name.empty()) family.Name = name;
      const bool known = std::any_of(family.Styles.begin(), family.Styles.end(),
                                     [&](const StyleEntry& s) { return SameName(s.Style, style.Style); });
      if (!known) family.Styles.push_back(std::move(style));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(all);
    std::vector<FamilyEntry> out;
    for (auto& [key, family] : byName) {
      std::sort(family.Styles.begin(), family.Styles.end(), [](const StyleEntry& a, const StyleEntry& b) {
        return std::tie(a.Italic, a.Weight, a.Style) < std::tie(b.Italic, b.Weight, b.Style);
      });
      out.push_back(std::move(family));
    }
    return out;
  }();
  return families;
}

// The style standing for a family: upright and nearest to regular weight.
const StyleEntry& RegularStyle(const FamilyEntry& family) {
  return *std::min_element(family.Styles.begin(), family.Styles.end(), [](const StyleEntry& a, const StyleEntry& b) {
    return std::make_pair(a.Italic, std::abs(a.Weight - FW_NORMAL)) <
           std::make_pair(b.Italic, std::abs(b.Weight - FW_NORMAL));
  });
}

// Metrics are reported at the default size; the average width is the designed 'x'. No
// answer when the font lacks the character set asked for.
std::optional<int> Report(const FamilyEntry& family, const StyleEntry& style, BYTE charSetWanted,
                          const FONTENUMPROC& proc, intptr_t lParam) {
  const FontFileInfo& info = *style.Info;
  if (charSetWanted != DEFAULT_CHARSET && (charSetWanted == SYMBOL_CHARSET) != info.Symbol) return std::nullopt;
  const double a = info.WinAscent + info.WinDescent > 0 ? double(info.WinAscent) / info.Upem : 0.8;
  const double d = info.WinAscent + info.WinDescent > 0 ? double(info.WinDescent) / info.Upem : 0.2;
  const TEXTMETRIC tm =
      MakeMetrics(info, kDefaultEm, RoundPx(a * kDefaultEm), RoundPx(d * kDefaultEm), style.Weight, style.Italic, 0);
  ENUMLOGFONTEX elf;
  LOGFONT& lf = elf.elfLogFont;
  lf.lfHeight = tm.tmHeight;
  lf.lfWeight = style.Weight;
  lf.lfItalic = style.Italic ? 1 : 0;
  lf.lfCharSet = tm.tmCharSet;
  lf.lfOutPrecision = info.Scalable ? OUT_TT_PRECIS : OUT_DEFAULT_PRECIS;
  lf.lfPitchAndFamily = BYTE((info.Fixed ? FIXED_PITCH : VARIABLE_PITCH) | info.Family);
  lf.lfFaceName = family.Name;
  elf.elfFullName = style.Style.empty() ? family.Name : family.Name + " " + style.Style;
  elf.elfStyle = style.Style;
  elf.elfScript = info.Symbol ? "Symbol" : "Western";
  // The LOGFONT is the first member of an ENUMLOGFONTEX, as GDI passes it.
  return proc(&lf, &tm, info.Scalable ? TRUETYPE_FONTTYPE : RASTER_FONTTYPE, lParam);
}

}  // namespace

FontFace::~FontFace() {
  if (Desc) pango_font_description_free(Desc);
  if (Attrs) pango_attr_list_unref(Attrs);
}

void InitFonts() {
  static std::once_flag once;
  std::call_once(once, [] {
    FcInit();
    FcConfigAppFontAddDir(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(kWindowsFontDir));
  });
}

const FontFace& FaceOf(GdiFont& font) {
  if (!font.Face) font.Face = CachedFace(font.Log);
  return *font.Face;
}

const FontFace& SelectedFace(GdiDC& dc) {
  GdiFont* font = LiveObject<GdiFont>(dc.S.Font, OBJ_FONT);
  if (!font) font = static_cast<GdiFont*>(GetStockObject(SYSTEM_FONT));
  return FaceOf(*font);
}

PangoContext* TextContext(bool rightToLeft) { return Engine().Contexts[rightToLeft ? 1 : 0]; }

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  auto* font = new GdiFont;
  font->Log = *lf;
  // GDI keeps at most LF_FACESIZE - 1 characters of the name.
  String& name = font->Log.lfFaceName;
  int chars = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    if ((static_cast<unsigned char>(name[i]) & 0xC0) != 0x80 && ++chars == LF_FACESIZE) {
      name.resize(i);
      break;
    }
  }
  RegisterObject(font);
  return font;
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                 DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                 DWORD pitchAndFamily, const String& faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = BYTE(italic != 0);
  lf.lfUnderline = BYTE(underline != 0);
  lf.lfStrikeOut = BYTE(strikeOut != 0);
  lf.lfCharSet = BYTE(charSet);
  lf.lfOutPrecision = BYTE(outPrecision);
  lf.lfClipPrecision = BYTE(clipPrecision);
  lf.lfQuality = BYTE(quality);
  lf.lfPitchAndFamily = BYTE(pitchAndFamily);
  lf.lfFaceName = faceName;
  return CreateFontIndirect(&lf);
}

String ResolvedFamily(const String& faceName) {
  LOGFONT lf;
  lf.lfHeight = -kDefaultEm;
  lf.lfFaceName = faceName;
  return CachedFace(lf)->Family;
}

BOOL GetTextMetrics(HDC h, TEXTMETRIC* tm) {
  GdiDC* dc = LiveDC(h);
  if (!dc || !tm) return FALSE;
  *tm = SelectedFace(*dc).Metrics;
  return TRUE;
}

int GetTextFace(HDC h, String* name) {
  GdiDC* dc = LiveDC(h);
  if (!dc) return 0;
  const FontFace& face = SelectedFace(*dc);
  const String requested = face.Log.lfFaceName.empty() ? Substitute("") : face.Log.lfFaceName;
  if (name) *name = requested;
  int chars = 0;
  for (unsigned char c : requested)
    if ((c & 0xC0) != 0x80) ++chars;
  return chars + 1;  // counts the terminating null, as GDI does
}

int EnumFontFamiliesEx(HDC h, const LOGFONT* lf, const FONTENUMPROC& proc, intptr_t lParam, DWORD flags) {
  (void)flags;
  if (!LiveDC(h) || !lf || !proc) return 0;
  // Nothing enumerated answers 1, like a callback that asked to go on.
  int result = 1;
  for (const FamilyEntry& family : Families()) {
    if (lf->lfFaceName.empty()) {
      if (auto r = Report(family, RegularStyle(family), lf->lfCharSet, proc, lParam)) result = *r;
      if (result == 0) return 0;
    } else if (SameName(family.Name, lf->lfFaceName)) {
      for (const StyleEntry& style : family.Styles) {
        if (auto r = Report(family, style, lf->lfCharSet, proc, lParam)) result = *r;
        if (result == 0) return 0;
      }
    }
  }
  return result;
}

int EnumFontFamilies(HDC dc, const String* family, const FONTENUMPROC& proc, intptr_t lParam) {
  LOGFONT lf;
  lf.lfCharSet = DEFAULT_CHARSET;
  if (family) lf.lfFaceName = *family;
  return EnumFontFamiliesEx(dc, &lf, proc, lParam, 0);
}
