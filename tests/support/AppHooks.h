// The hooks an application installs in the control layer (focus, exceptions, hints, menu
// keys) put back as they were, and an application of a test's own.
#pragma once

#include "vcl/Controls.h"

class TApplication;

// Tests of plain controls run without the hooks, whatever a test's application set up.
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

// An initialised application for one test; when it goes, the forms it owns go with it,
// then the window system, screen and clock are fresh and the hooks as they were.
class ScopedApplication {
 public:
  ScopedApplication();
  ~ScopedApplication();
  ScopedApplication(const ScopedApplication&) = delete;
  ScopedApplication& operator=(const ScopedApplication&) = delete;

 private:
  SavedAppHooks FHooks;
  TApplication* FSaved;
};
