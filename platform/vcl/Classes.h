// The framework's Classes unit: objects, persistence, components, lists, strings,
// collections and streams, plus the point and rectangle types of the drawing layer.
#pragma once

#include "Collections.h"
#include "Component.h"
#include "Lists.h"
#include "Persistent.h"
#include "Streams.h"
#include "Strings.h"
#include "SysUtils.h"
#include "gdi/Types.h"

// The horizontal alignment of a text in its box.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
