#include "StyleServices.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ElementPainter.h"
#include "StyleManager.h"
#include "UxTheme.h"
#include "gdi/Text.h"
#include "win/Queue.h"
#include "win/Window.h"

namespace {

double ScreenScale() { return ScreenPixelsPerInch() / 96.0; }

bool IsSystemColor(TColor c) { return (uint32_t(c) & 0xFF000000u) == uint32_t(clSystemColor); }

// Where a style colour or font colour comes from when the style does not give it: one of
// its system colours, chosen by what the name says.
int StyleColorFallback(TStyleColor color) {
  const std::string_view name = StyleColorName(color);
  if (name.find("Disabled") != std::string_view::npos) return COLOR_BTNFACE;
  if (name == "scBorder") return COLOR_BTNSHADOW;
  if (name.starts_with("scHint")) return COLOR_INFOBK;
  for (const char* w : {"scEdit", "scComboBox", "scListBox", "scListView", "scTreeView", "scGrid"})
    if (name == w) return COLOR_WINDOW;
  return COLOR_BTNFACE;
}

int StyleFontFallback(TStyleFont font) {
  const std::string_view name = StyleFontName(font);
  if (name.find("Disabled") != std::string_view::npos) return COLOR_GRAYTEXT;
  if (name.find("Selected") != std::string_view::npos) return COLOR_HIGHLIGHTTEXT;
  if (name.find("CaptionTextInactive") != std::string_view::npos) return COLOR_INACTIVECAPTIONTEXT;
  if (name.find("CaptionTextNormal") != std::string_view::npos) return COLOR_CAPTIONTEXT;
  if (name.starts_with("sfMenuItem") || name.starts_with("sfPopupMenuItem")) return COLOR_MENUTEXT;
  for (const char* w : {"sfEditBox", "sfComboBoxItem", "sfListItem", "sfTreeItem", "sfGridItemNormal", "sfWindowText"})
    if (name.starts_with(w)) return COLOR_WINDOWTEXT;
  return COLOR_BTNTEXT;
}

int ToPixels(double length96, int metric, double scale) {
  return metric >= 0 ? GetSystemMetrics(metric) : Round(length96 * scale);
}

SIZE SizeOf(const TRecipeSize& s, double scale) {
  return {ToPixels(s.Width, s.MetricWidth, scale), ToPixels(s.Height, s.MetricHeight, scale)};
}

RECT Deflate(const RECT& r, const TRecipeInsets& m, double scale) {
  return {r.Left + Round(m.Left * scale), r.Top + Round(m.Top * scale), r.Right - Round(m.Right * scale),
          r.Bottom - Round(m.Bottom * scale)};
}

// Puts a style's edge colours into the system colour table for the length of a classic
// drawing call, which reads them from there, and puts the old ones back.
class SysColorSwap {
 public:
  SysColorSwap(const TCustomStyleServices& style) {
    for (int index : kIndexes) {
      const COLORREF want = COLORREF(style.GetSystemColor(TColor(uint32_t(clSystemColor) | uint32_t(index))));
      FSaved[FCount++] = {index, GetSysColor(index)};
      SetSysColor(index, want);
    }
  }
  ~SysColorSwap() {
    for (int i = FCount - 1; i >= 0; --i) SetSysColor(FSaved[i].first, FSaved[i].second);
  }
  SysColorSwap(const SysColorSwap&) = delete;
  SysColorSwap& operator=(const SysColorSwap&) = delete;

 private:
  static constexpr int kIndexes[] = {COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW,
                                     COLOR_BTNFACE,      COLOR_WINDOW,  COLOR_WINDOWFRAME};
  std::pair<int, COLORREF> FSaved[std::size(kIndexes)];
  int FCount = 0;
};

}  // namespace

TCustomStyleServices::TCustomStyleServices(std::shared_ptr<const TStyleDescription> Style,
                                           std::shared_ptr<const TStyleDescription> Fallback, bool SystemStyle,
                                           std::shared_ptr<const TStyleDescription> ClassicLook)
    : FStyle(std::move(Style)), FFallback(std::move(Fallback)), FClassic(std::move(ClassicLook)),
      FSystemStyle(SystemStyle) {}

bool TCustomStyleServices::Enabled() const { return !FSystemStyle || IsAppThemed(); }

bool TCustomStyleServices::IsDark() const { return Look().Dark; }

const TStyleDescription& TCustomStyleServices::Look() const {
  if (FSystemStyle && FClassic && !Enabled()) return *FClassic;
  return *FStyle;
}

#define QV_DETAILS(Enum, Table) \
  TThemedElementDetails TCustomStyleServices::GetElementDetails(Enum Detail) const { return DetailsOf(Table(), int(Detail)); }
QV_DETAILS(TThemedButton, ButtonElements)
QV_DETAILS(TThemedToolBar, ToolBarElements)
QV_DETAILS(TThemedScrollBar, ScrollBarElements)
QV_DETAILS(TThemedSpin, SpinElements)
QV_DETAILS(TThemedComboBox, ComboBoxElements)
QV_DETAILS(TThemedEdit, EditElements)
QV_DETAILS(TThemedGrid, GridElements)
QV_DETAILS(TThemedMonthCal, MonthCalElements)
QV_DETAILS(TThemedHeader, HeaderElements)
QV_DETAILS(TThemedTreeview, TreeviewElements)
QV_DETAILS(TThemedListview, ListviewElements)
QV_DETAILS(TThemedTab, TabElements)
QV_DETAILS(TThemedMenu, MenuElements)
QV_DETAILS(TThemedWindow, WindowElements)
QV_DETAILS(TThemedProgress, ProgressElements)
QV_DETAILS(TThemedStatus, StatusElements)
QV_DETAILS(TThemedHint, HintElements)
QV_DETAILS(TThemedToolTip, ToolTipElements)
QV_DETAILS(TThemedPanel, PanelElements)
#undef QV_DETAILS

TElementRecipe TCustomStyleServices::ResolveRecipe(const TThemedElementDetails& Details,
                                                   const TElementEntry** Entry) const {
  const TElementEntry* entry = FindElementEntry(Details);
  if (Entry) *Entry = entry;
  TElementRecipe recipe;
  if (!entry || !entry->Family) return recipe;
  const std::vector<std::string_view> facets = FacetsOf(*entry);
  auto layer = [&](const TElementFamily& family, TElementRecipe& out) {
    out.Overlay(family.Base);
    for (std::string_view f : facets)
      if (auto it = family.Facets.find(f); it != family.Facets.end()) out.Overlay(it->second);
  };
  const TStyleDescription& look = Look();
  const TStyleDescription* fallback = FFallback.get();
  if (fallback == &look) fallback = nullptr;
  // Geometry first from the fallback, so that every style keeps the sizes controls lay
  // themselves out by, and the glyphs' shapes, unless it says otherwise.
  if (fallback)
    if (auto it = fallback->Families.find(entry->Family); it != fallback->Families.end()) {
      TElementRecipe base;
      layer(it->second, base);
      recipe.Size = base.Size;
      recipe.MinSize = base.MinSize;
      recipe.Margins = base.Margins;
      recipe.Inset = base.Inset;
      recipe.BorderSides = base.BorderSides;
      recipe.Radius = base.Radius;
      recipe.FixedPosition = base.FixedPosition;
      recipe.Glyph.Kind = base.Glyph.Kind;
      recipe.Glyph.Size = base.Glyph.Size;
      recipe.Glyph.Weight = base.Glyph.Weight;
    }
  if (auto it = look.Families.find(entry->Family); it != look.Families.end()) {
    layer(it->second, recipe);
  } else if (fallback) {
    if (auto f = fallback->Families.find(entry->Family); f != fallback->Families.end()) layer(f->second, recipe);
  }
  return recipe;
}

namespace {
TDrawElementObserver gDrawElementObserver;
}  // namespace

TDrawElementObserver SetDrawElementObserver(TDrawElementObserver Observer) {
  return std::exchange(gDrawElementObserver, std::move(Observer));
}

bool TCustomStyleServices::DrawElement(HDC DC, const TThemedElementDetails& Details, const RECT& R,
                                       const RECT* ClipRect) const {
  if (gDrawElementObserver) gDrawElementObserver(Details, R);
  const TElementEntry* entry = nullptr;
  const TElementRecipe recipe = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family || !LiveDC(DC)) return false;
  TPaintRequest q;
  q.Recipe = &recipe;
  q.Glyph = entry->Glyph;
  q.Place = entry->Place;
  q.Rect = R;
  q.Clip = ClipRect;
  q.Scale = ScreenScale();
  q.Edges = {COLORREF(GetSystemColor(clBtnHighlight)), COLORREF(GetSystemColor(cl3DLight)),
             COLORREF(GetSystemColor(clBtnShadow)), COLORREF(GetSystemColor(cl3DDkShadow))};
  return PaintElement(DC, q);
}

bool TCustomStyleServices::DrawEdge(HDC DC, const TThemedElementDetails&, const RECT& R, TElementEdges Edges,
                                    TElementEdgeFlags Flags, RECT* ContentRect) const {
  if (!LiveDC(DC)) return false;
  UINT edge = 0;
  if (Edges.Contains(eeRaisedOuter) || Edges.Contains(eeRaised) || Edges.Contains(eeBump)) edge |= BDR_RAISEDOUTER;
  if (Edges.Contains(eeSunkenOuter) || Edges.Contains(eeSunken) || Edges.Contains(eeEtched)) edge |= BDR_SUNKENOUTER;
  if (Edges.Contains(eeRaisedInner) || Edges.Contains(eeRaised) || Edges.Contains(eeEtched)) edge |= BDR_RAISEDINNER;
  if (Edges.Contains(eeSunkenInner) || Edges.Contains(eeSunken) || Edges.Contains(eeBump)) edge |= BDR_SUNKENINNER;
  struct FlagBits {
    TElementEdgeFlag Flag;
    UINT Bits;
  };
  static constexpr FlagBits kFlags[] = {
      {efLeft, BF_LEFT},          {efTop, BF_TOP},
      {efRight, BF_RIGHT},        {efBottom, BF_BOTTOM},
      {efTopLeft, BF_TOPLEFT},    {efTopRight, BF_TOPRIGHT},
      {efBottomLeft, BF_BOTTOMLEFT}, {efBottomRight, BF_BOTTOMRIGHT},
      {efRect, BF_RECT},          {efDiagonal, BF_DIAGONAL},
      {efDiagonalEndTopLeft, BF_DIAGONAL_ENDTOPLEFT}, {efDiagonalEndTopRight, BF_DIAGONAL_ENDTOPRIGHT},
      {efDiagonalEndBottomLeft, BF_DIAGONAL_ENDBOTTOMLEFT}, {efDiagonalEndBottomRight, BF_DIAGONAL_ENDBOTTOMRIGHT},
      {efMiddle, BF_MIDDLE},      {efSoft, BF_SOFT},
      {efAdjust, BF_ADJUST},      {efFlat, BF_FLAT},
      {efMono, BF_MONO}};
  UINT flags = 0;
  for (const FlagBits& f : kFlags)
    if (Flags.Contains(f.Flag)) flags |= f.Bits;
  RECT r = R;
  BOOL ok;
  if (FSystemStyle) {
    ok = ::DrawEdge(DC, &r, edge, flags);
  } else {
    SysColorSwap swap(*this);
    ok = ::DrawEdge(DC, &r, edge, flags);
  }
  if (ContentRect) *ContentRect = r;
  return ok != FALSE;
}

bool TCustomStyleServices::DrawText(HDC DC, const TThemedElementDetails& Details, const String& S, RECT& R,
                                    UINT Flags, TColor Color) const {
  if (!LiveDC(DC)) return false;
  TColor ink = Color;
  if (ink == clNone && !GetElementColor(Details, ecTextColor, ink)) ink = GetSystemColor(clBtnText);
  const COLORREF oldColor = SetTextColor(DC, COLORREF(ColorToRGB(ink)));
  const int oldMode = SetBkMode(DC, TRANSPARENT);
  const int height = ::DrawText(DC, S, -1, &R, Flags);
  SetBkMode(DC, oldMode);
  SetTextColor(DC, oldColor);
  return height != 0 || S.empty();
}

bool TCustomStyleServices::DrawParentBackground(HWND Window, HDC DC, const TThemedElementDetails* Details,
                                                bool OnlyIfTransparent, const RECT* Bounds) const {
  if (!IsWindow(Window) || !LiveDC(DC)) return false;
  if (OnlyIfTransparent && Details && !HasTransparentParts(*Details)) return false;
  HWND parent = GetParent(Window);
  if (!parent) return false;
  POINT origin{0, 0};
  MapWindowPoints(Window, parent, &origin, 1);
  const int saved = SaveDC(DC);
  if (Bounds) IntersectClipRect(DC, Bounds->Left, Bounds->Top, Bounds->Right, Bounds->Bottom);
  // Parent client coordinates from here on.
  OffsetWindowOrgEx(DC, origin.X, origin.Y, nullptr);
  SendMessage(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
  SendMessage(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT);
  RestoreDC(DC, saved);
  return true;
}

bool TCustomStyleServices::GetElementSize(HDC DC, const TThemedElementDetails& Details, TElementSize ElementSize,
                                          SIZE& Size) const {
  return GetElementSize(DC, Details, RECT{}, ElementSize, Size);
}

bool TCustomStyleServices::GetElementSize(HDC, const TThemedElementDetails& Details, const RECT& Rect,
                                          TElementSize ElementSize, SIZE& Size) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  const double scale = ScreenScale();
  switch (ElementSize) {
    case esMinimum:
      if (r.MinSize || r.Size) {
        Size = SizeOf(r.MinSize ? *r.MinSize : *r.Size, scale);
        return true;
      }
      return false;
    case esActual:
      if (!r.Size) return false;
      Size = SizeOf(*r.Size, scale);
      return true;
    case esStretch:
      Size = r.Size ? SizeOf(*r.Size, scale) : SIZE{Rect.Width(), Rect.Height()};
      return true;
  }
  return false;
}

bool TCustomStyleServices::GetElementContentRect(HDC, const TThemedElementDetails& Details, const RECT& BoundingRect,
                                                 RECT& ContentRect) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  const double scale = ScreenScale();
  RECT c = BoundingRect;
  if (r.Inset) c = Deflate(c, *r.Inset, scale);
  if (r.Margins) c = Deflate(c, *r.Margins, scale);
  if (c.Right < c.Left) c.Right = c.Left;
  if (c.Bottom < c.Top) c.Bottom = c.Top;
  ContentRect = c;
  return true;
}

bool TCustomStyleServices::GetElementMargins(HDC, const TThemedElementDetails& Details, TElementMargin,
                                             TElementMargins& Margins) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  const double scale = ScreenScale();
  const TRecipeInsets m = r.Margins ? *r.Margins : TRecipeInsets{};
  Margins = {Round(m.Left * scale), Round(m.Right * scale), Round(m.Top * scale), Round(m.Bottom * scale)};
  return true;
}

bool TCustomStyleServices::GetElementRegion(HDC, const TThemedElementDetails& Details, const RECT& Rect,
                                            HRGN& Region) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  const double scale = ScreenScale();
  const RECT body = r.Inset ? Deflate(Rect, *r.Inset, scale) : Rect;
  const int radius = r.Radius ? Round(*r.Radius * scale) : 0;
  Region = radius > 0 ? CreateRoundRectRgn(body.Left, body.Top, body.Right + 1, body.Bottom + 1, 2 * radius, 2 * radius)
                      : CreateRectRgn(body.Left, body.Top, body.Right, body.Bottom);
  return Region != nullptr;
}

bool TCustomStyleServices::HasElementFixedPosition(const TThemedElementDetails& Details) const {
  const TElementRecipe r = ResolveRecipe(Details);
  return r.FixedPosition.value_or(false);
}

bool TCustomStyleServices::HasTransparentParts(const TThemedElementDetails& Details) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  if (!r.Fill || r.Fill->Kind == TFillKind::None) return true;
  if ((r.Radius && *r.Radius > 0) || (r.Opacity && *r.Opacity < 1) || r.Glow) return true;
  if (r.Inset && (r.Inset->Left > 0 || r.Inset->Top > 0 || r.Inset->Right > 0 || r.Inset->Bottom > 0)) return true;
  return std::any_of(r.Fill->Colors.begin(), r.Fill->Colors.end(), [](const TStyleRgba& c) { return c.A < 255; });
}

bool TCustomStyleServices::GetElementColor(const TThemedElementDetails& Details, TElementColor ElementColor,
                                           TColor& Color) const {
  const TElementEntry* entry = nullptr;
  const TElementRecipe r = ResolveRecipe(Details, &entry);
  if (!entry || !entry->Family) return false;
  auto give = [&](const TStyleRgba& c) {
    Color = TColor(c.Ref());
    return true;
  };
  const bool filled = r.Fill && r.Fill->Kind != TFillKind::None && !r.Fill->Colors.empty();
  auto stop = [&](size_t i) {
    if (!filled) return false;
    // A solid fill is a gradient from its colour to itself.
    const auto& colors = r.Fill->Colors;
    if (r.Fill->Kind == TFillKind::Solid) return i < 2 ? give(colors[0]) : false;
    return i < colors.size() ? give(colors[i]) : false;
  };
  auto edge = [&](TColor system) {
    if (!r.Edge || *r.Edge == TRecipeEdge::None) return false;
    Color = GetSystemColor(system);
    return true;
  };
  switch (ElementColor) {
    case ecTextColor: return r.Text ? give(*r.Text) : false;
    case ecBorderColor: return r.Border && r.Border->A > 0 ? give(*r.Border) : false;
    case ecFillColor:
    case ecEdgeFillColor: return stop(0);
    case ecGradientColor1: return stop(0);
    case ecGradientColor2: return stop(1);
    case ecGradientColor3: return stop(2);
    case ecGradientColor4: return stop(3);
    case ecGradientColor5: return stop(4);
    case ecGlowColor: return r.Glow ? give(r.Glow->Color) : false;
    case ecGlyphTextColor: return r.Glyph.Color ? give(*r.Glyph.Color) : false;
    case ecEdgeLightColor: return edge(cl3DLight);
    case ecEdgeHighlightColor: return edge(clBtnHighlight);
    case ecEdgeShadowColor: return edge(clBtnShadow);
    case ecEdgeDkShadowColor: return edge(cl3DDkShadow);
    default: return false;
  }
}

TColor TCustomStyleServices::GetSystemColor(TColor Color) const {
  if (!IsSystemColor(Color)) return Color;
  const int index = Color & 0xFF;
  if (index >= SYS_COLOR_COUNT) return Color;
  // The system style is the system's own colour table (classic colours while themes are
  // off); custom styles answer from their file, falling back to the system style's.
  if (FSystemStyle) return TColor(GetSysColor(index));
  if (const auto& own = Look().SysColors[size_t(index)]) return TColor(*own);
  if (FFallback)
    if (const auto& fallback = FFallback->SysColors[size_t(index)]) return TColor(*fallback);
  return TColor(GetSysColor(index));
}

TColor TCustomStyleServices::GetStyleColor(TStyleColor Color) const {
  if (Color < 0 || Color >= kStyleColorCount) return clNone;
  if (const auto& own = Look().StyleColors[size_t(Color)]) return TColor(*own);
  return GetSystemColor(TColor(uint32_t(clSystemColor) | uint32_t(StyleColorFallback(Color))));
}

TColor TCustomStyleServices::GetStyleFontColor(TStyleFont Font) const {
  if (Font < 0 || Font >= kStyleFontCount) return clNone;
  if (const auto& own = Look().FontColors[size_t(Font)]) return TColor(*own);
  return GetSystemColor(TColor(uint32_t(clSystemColor) | uint32_t(StyleFontFallback(Font))));
}

TColor TCustomStyleServices::ColorToRGB(TColor Color, const TThemedElementDetails*) const {
  if (Color == clNone || Color == clDefault) return Color;
  if (IsSystemColor(Color)) return GetSystemColor(Color);
  return Color & 0x00FFFFFF;
}

TCustomStyleServices* StyleServices() { return TStyleManager::ActiveStyle(); }
