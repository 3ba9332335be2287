// The hooks an application installs in the control layer (focus, exceptions, hints, menu
// keys), put back as they were when this goes: tests of plain controls run without them,
// whatever a test's application set up before.
#pragma once

#include "vcl/Controls.h"

class SavedAppHooks {
 public:
  SavedAppHooks()
      : FFocus(FocusChangedHook), FException(ExceptionHandlerHook), FHint(HintMouseMessageHook), FMenuKey(MenuKeyHook) {}
  ~SavedAppHooks() {
    FocusChangedHook = FFocus;
    ExceptionHandlerHook = FException;
    HintMouseMessageHook = FHint;
    MenuKeyHook = FMenuKey;
  }
  SavedAppHooks(const SavedAppHooks&) = delete;
  SavedAppHooks& operator=(const SavedAppHooks&) = delete;

 private:
  decltype(FocusChangedHook) FFocus;
  decltype(ExceptionHandlerHook) FException;
  decltype(HintMouseMessageHook) FHint;
  decltype(MenuKeyHook) FMenuKey;
};
