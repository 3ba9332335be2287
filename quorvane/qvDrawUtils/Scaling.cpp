#include "qvDrawUtils/Scaling.h"

namespace {

// Plain variables: everything that reads or writes them runs on the GUI thread.
bool GScaleStyles = true;
bool GScaleThemes = false;
bool GScaleResources = true;
bool GScaleFormBorder = true;

}  // namespace

bool ScaleStyles() { return GScaleStyles; }
void SetScaleStyles(bool Value) { GScaleStyles = Value; }
bool ScaleThemes() { return GScaleThemes; }
void SetScaleThemes(bool Value) { GScaleThemes = Value; }
bool ScaleResources() { return GScaleResources; }
void SetScaleResources(bool Value) { GScaleResources = Value; }
bool ScaleFormBorder() { return GScaleFormBorder; }
void SetScaleFormBorder(bool Value) { GScaleFormBorder = Value; }
