// Unit gx_bitmap: the effect bitmap, its row routines and the bitmap link.
#pragma once

#include "gx_bitmap/Bitmap.h"
#include "gx_bitmap/Link.h"
#include "gx_bitmap/Pixels.h"
