// DrawText of a wrapped paragraph onto a 32-bit DIB, beside pango laying out and showing
// the same paragraph at the same width on a cairo image surface of the same size.
#include <benchmark/benchmark.h>
#include <pango/pangocairo.h>

#include "gdi/Gdi.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;
constexpr int kEm = 11;

// About eighty words.
const char* const kParagraph =
    "The quick brown fox jumps over the lazy dog while the five boxing wizards jump quickly. "
    "Pack my box with five dozen liquor jugs, said the sphinx of black quartz, judge my vow. "
    "How vexingly quick daft zebras jump when a wizard's job is to vex chumps quickly in fog. "
    "Grumpy wizards make toxic brew for the evil queen and jack, who bring five dozen jugs "
    "of quartz to the market every morning before the sun rises over the quiet hills.";

void DrawTextParagraph(benchmark::State& state) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kHeight;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFont(-kEm, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  for (auto _ : state) {
    RECT r{0, 0, kWidth, kHeight};
    benchmark::DoNotOptimize(DrawText(dc, kParagraph, -1, &r, DT_WORDBREAK));
    benchmark::DoNotOptimize(bits);
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

void PangoReference(benchmark::State& state) {
  InitFonts();  // the same fonts as DrawText finds
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  PangoContext* context = pango_cairo_create_context(cr);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  pango_cairo_context_set_font_options(context, options);
  PangoFontDescription* desc = pango_font_description_from_string("Tahoma");
  pango_font_description_set_absolute_size(desc, kEm * PANGO_SCALE);
  cairo_set_source_rgb(cr, 0, 0, 0);
  for (auto _ : state) {
    // A new layout each time: shaping and breaking are part of the work, as in DrawText.
    PangoLayout* layout = pango_layout_new(context);
    pango_layout_set_font_description(layout, desc);
    pango_layout_set_width(layout, kWidth * PANGO_SCALE);
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_text(layout, kParagraph, -1);
    cairo_move_to(cr, 0, 0);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  pango_font_description_free(desc);
  cairo_font_options_destroy(options);
  g_object_unref(context);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

BENCHMARK(DrawTextParagraph);
BENCHMARK(PangoReference);

}  // namespace

BENCHMARK_MAIN();
