// Hint windows of the framework painted in the active style.
#pragma once

// Points the framework's HintPainterHook at the style services (once).
void InstallHintPainter();
