// The framework's Graphics unit: colours, fonts, pens, brushes, canvases, and the
// picture classes (bitmap, PNG image, icon, picture).
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "Colors.h"
#include "Graphic.h"
#include "GraphicsObjects.h"
#include "Icon.h"
#include "Picture.h"
#include "PngImage.h"
