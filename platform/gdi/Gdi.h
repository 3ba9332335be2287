// The drawing layer in one include.
#pragma once

#include "Blit.h"
#include "DC.h"
#include "Draw.h"
#include "Edge.h"
#include "Fonts.h"
#include "Objects.h"
#include "Png.h"
#include "Region.h"
#include "Surface.h"
#include "Text.h"
#include "Types.h"
