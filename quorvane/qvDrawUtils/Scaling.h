// The process-wide switches that say which built-in glyphs grow with a control's scale
// factor at high DPI. The style manager component sets them; the drawing toolkit and the
// styled form read them while they paint.
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
