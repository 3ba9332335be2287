// The image collection unit: images that skinnable controls draw by index (tiled,
// stretched, placed at a side, or as nine-part and three-part images by their margins),
// and the free routines that draw a bitmap by such options.
#pragma once

#include "qvImageCollection/BitmapOptions.h"
#include "qvImageCollection/DrawStyles.h"
#include "qvImageCollection/BitmapDrawing.h"
#include "qvImageCollection/ImageCollection.h"
