// Types every drawing routine and every control shares.
#pragma once

#include "vcl/SysUtils.h"

// The state a control is drawn in; the values are stored, so their order is fixed.
enum TqvsCtrlState { qvsNormal, qvsHot, qvsPressed, qvsFocused, qvsDisabled };
using TqvsCtrlStates = Set<TqvsCtrlState>;
