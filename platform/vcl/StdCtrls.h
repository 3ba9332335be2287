// Types of the standard controls' unit that the libraries use before the controls
// themselves: the state of a three-state check box and which scroll bars a control shows.
#pragma once

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
