// Keyboard shortcuts: a virtual key with Shift, Ctrl and Alt in one 16-bit value, and its
// text ("Ctrl+S", "Shift+Alt+F4"). ShortCut(Key, Shift) and ShortCutToKey live in Controls.h
// beside TShiftState.
#pragma once

#include <cstdint>

#include "SysUtils.h"

using TShortCut = uint16_t;

constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scKeyMask = 0x00FF;

// "Shift+", "Ctrl+" and "Alt+" in that order, then the key's name ("A", "5", "F4", "Del",
// "PgUp" ...); empty for scNone or a key without a name.
String ShortCutToText(TShortCut ShortCut);
// The modifiers in any order and case, then a key name as ShortCutToText writes it;
// scNone for a text it cannot read.
TShortCut TextToShortCut(const String& Text);
