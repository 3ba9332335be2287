// The drawing toolkit: free routines every styled control calls while it paints.
// Each routine decides at call time between the styled, themed and classic look.
#pragma once

#include "qvDrawUtils/Types.h"
#include "qvDrawUtils/Style.h"
#include "qvDrawUtils/Scaling.h"
#include "qvDrawUtils/Colors.h"
#include "qvDrawUtils/Bitmaps.h"
#include "qvDrawUtils/Glyphs.h"
#include "qvDrawUtils/Blur.h"
#include "qvDrawUtils/Glow.h"
#include "qvDrawUtils/Text.h"
#include "qvDrawUtils/Elements.h"
#include "qvDrawUtils/ContentLayout.h"
