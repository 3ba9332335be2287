// What pango and fontconfig made of a LOGFONT: the font description every layout of the
// font uses, its GDI metrics and the positions of its decorations. Internal to the text
// code of the drawing layer.
#pragma once

#include <pango/pango.h>

#include "DC.h"
#include "Fonts.h"

struct FontFace {
  FontFace() = default;
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  LOGFONT Log;
  String Family;  // the family fontconfig gave
  int Em = 0;     // pixels
  PangoFontDescription* Desc = nullptr;
  // Attributes shared by every layout of the face: GDI neither kerns nor forms ligatures,
  // so a run is as wide as the sum of its characters.
  PangoAttrList* Attrs = nullptr;
  TEXTMETRIC Metrics;
  // Decorations in pixels from the baseline: the underline's top lies UnderlineOffset
  // below it, the strike-out's top StrikeOffset above it.
  int UnderlineOffset = 1;
  int UnderlineThickness = 1;
  int StrikeOffset = 3;
  int StrikeThickness = 1;
  double EscapementDegrees = 0;  // counter-clockwise
};

// The face of a font, built on first use and shared by fonts with equal LOGFONTs.
const FontFace& FaceOf(GdiFont& font);
// The face of the font selected into a live DC.
const FontFace& SelectedFace(GdiDC& dc);
// The pango context every layout is made in, with GDI's base direction or right to left.
PangoContext* TextContext(bool rightToLeft);
