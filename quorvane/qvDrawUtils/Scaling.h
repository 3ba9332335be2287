// The process-wide switches that say which built-in glyphs grow with a control's scale
// factor at high DPI. A program sets them; the drawing toolkit reads them while it paints
// (check boxes follow ScaleStyles and ScaleThemes).
#pragma once

// Glyphs of custom styles (check boxes) are scaled. Initially true.
bool ScaleStyles();
void SetScaleStyles(bool Value);
// Glyphs of the system's visual styles are scaled. Initially false.
bool ScaleThemes();
void SetScaleThemes(bool Value);
// Bitmaps that come with the libraries are scaled. Initially true.
bool ScaleResources();
void SetScaleResources(bool Value);
// Borders of styled forms are scaled. Initially true.
bool ScaleFormBorder();
void SetScaleFormBorder(bool Value);
