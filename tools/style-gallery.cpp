// Draws every element of the style engine in every state, labelled, once per style and
// once in classic mode, for people to look at:  style-gallery --out DIR
// writes DIR/<style name>.png for each style and DIR/Classic.png.
#include <algorithm>
#include <cstring>

#include "gdi/Gdi.h"
#include "themes/StyleManager.h"
#include "tools/ToolMain.h"

namespace {

constexpr int kColumns = 8;
constexpr int kCellWidth = 176;
constexpr int kMargin = 12;
constexpr int kMaxSampleWidth = 150;
constexpr int kMaxSampleHeight = 64;
constexpr int kSheetWidth = 2 * kMargin + kColumns * kCellWidth;

// The size an element is shown at: its natural size where it has one, else a size that
// suits its family.
SIZE SampleSize(TCustomStyleServices* style, const TThemedElementDetails& details, const TElementEntry& entry) {
  SIZE s{};
  if (!style->GetElementSize(nullptr, details, esActual, s)) s = {};
  const String family = entry.Family;
  SIZE fallback{72, 24};
  if (family == "tabPane" || family == "tabBody" || family == "panel" || family == "window" || family == "calendar" ||
      family == "groupBox" || family == "popupBackground" || family == "popupBorders" || family == "hint" ||
      family == "toolTip" || family == "statusBar" || family == "toolBar" || family == "menuBar")
    fallback = {120, 40};
  if (family == "scrollTrack" || family == "scrollThumb" || family == "scrollGripper")
    fallback = entry.Facets && std::strstr(entry.Facets, "vert") ? SIZE{17, 48} : SIZE{60, 17};
  if (family == "frame") fallback = {8, 40};
  if (s.cx <= 0) s.cx = fallback.cx;
  if (s.cy <= 0) s.cy = fallback.cy;
  // Long thin parts are shown long enough to see.
  if (family == "caption") s.cx = 140;
  if (family == "frame" && std::strstr(entry.Facets, "bottom")) s.cx = 120;
  if (family == "frame" && !std::strstr(entry.Facets, "bottom")) s.cy = 40;
  if (family == "scrollThumb") s = entry.Facets && std::strstr(entry.Facets, "vert") ? SIZE{s.cx, 48} : SIZE{60, s.cy};
  if (family == "progressChunk") s = std::strstr(entry.Facets, "vert") ? SIZE{15, 48} : SIZE{80, 15};
  return {std::min<LONG>(s.cx, kMaxSampleWidth), std::min<LONG>(s.cy, kMaxSampleHeight)};
}

bool ShowsText(const String& family) {
  return family == "pushButton" || family == "toolButton" || family == "edit" || family == "gridCell" ||
         family == "gridFixedCell" || family == "headerItem" || family == "treeItem" || family == "listItem" ||
         family == "tabItem" || family == "popupItem" || family == "menuBarItem" || family == "caption" ||
         family == "hint" || family == "toolTip" || family == "statusPane" || family == "comboBorder" ||
         family == "comboReadOnly" || family == "calendarCell" || family == "panel";
}

// One sheet: a heading per enumeration, then every value that draws something in a grid.
// Answers its height; with no DC it only measures.
int DrawSheet(HDC dc, const String& title) {
  const bool draw = dc != nullptr;
  TCustomStyleServices* style = StyleServices();
  const COLORREF ground = COLORREF(style->GetSystemColor(clBtnFace));
  const COLORREF ink = COLORREF(style->GetSystemColor(clBtnText));
  const COLORREF outlineColor = style->IsDark() ? RGB(0x50, 0x40, 0x60) : RGB(0xD8, 0xC8, 0xE8);
  if (draw) {
    HBRUSH b = CreateSolidBrush(ground);
    RECT all{0, 0, kSheetWidth, GetDeviceCaps(dc, VERTRES)};
    FillRect(dc, &all, b);
    DeleteObject(b);
  }
  HFONT label = ToolFont(-10), heading = ToolFont(-13, FW_BOLD), sample = ToolFont(-11);
  SetBkMode(dc, TRANSPARENT);
  int y = kMargin;
  if (draw) {
    SelectObject(dc, ToolFont(-18, FW_BOLD));
    SetTextColor(dc, ink);
    TextOut(dc, kMargin, y, title);
    DeleteObject(SelectObject(dc, label));
  }
  y += 30;
  for (const TElementTable* table : AllElementTables()) {
    if (draw) {
      SelectObject(dc, heading);
      SetTextColor(dc, ink);
      TextOut(dc, kMargin, y, table->EnumName);
    }
    y += 22;
    int column = 0, rowHeight = 0;
    for (size_t i = 0; i < table->Count; ++i) {
      const TElementEntry& e = table->Entries[i];
      if (!e.Family) continue;
      const TThemedElementDetails d = DetailsOf(*table, int(i));
      const SIZE s = SampleSize(style, d, e);
      const int x = kMargin + column * kCellWidth;
      if (draw) {
        const RECT r = Bounds(x + (kCellWidth - 16 - s.cx) / 2, y, s.cx, s.cy);
        // A faint frame just outside shows the rectangle the element was given.
        RECT frame{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
        HBRUSH outline = CreateSolidBrush(outlineColor);
        FrameRect(dc, &frame, outline);
        DeleteObject(outline);
        style->DrawElement(dc, d, r);
        if (ShowsText(e.Family) && s.cx >= 40 && s.cy >= 14) {
          RECT content;
          style->GetElementContentRect(dc, d, r, content);
          SelectObject(dc, sample);
          style->DrawText(dc, d, "Text", content, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
        }
        SelectObject(dc, label);
        SetTextColor(dc, ink);
        RECT lr{x, y + s.cy + 3, x + kCellWidth - 8, y + s.cy + 17};
        DrawText(dc, e.Name, -1, &lr, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
      rowHeight = std::max<int>(rowHeight, s.cy + 24);
      if (++column == kColumns) {
        column = 0;
        y += rowHeight;
        rowHeight = 0;
      }
    }
    y += rowHeight + 8;
  }
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  DeleteObject(label);
  DeleteObject(heading);
  DeleteObject(sample);
  return y + kMargin;
}

}  // namespace

int main(int argc, char** argv) {
  return RunSheetTool(argc, argv, "style-gallery", [](const ToolOutput& out) {
    return ForEachStyle([&](const String& name, const String& title) {
      return out.WriteMeasuredSheet(name + ".png", kSheetWidth,
                                    [&](HDC dc) { return DrawSheet(dc, title); });
    });
  });
}
