// Unit gx_effect: the transition engine, its registry of effects and the settings of a
// transition.
#pragma once

#include "gx_effect/AnimationRec.h"
#include "gx_effect/Engine.h"
#include "gx_effect/Procs.h"
#include "gx_effect/Registry.h"
#include "gx_effect/Timer.h"
