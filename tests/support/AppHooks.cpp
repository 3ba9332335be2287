#include "support/AppHooks.h"

#include "backend/Backend.h"
#include "vcl/Forms.h"
#include "win/Window.h"

ScopedApplication::ScopedApplication() : FSaved(Application) {
  Application = new TApplication(nullptr);
  Application->Initialize();
}

ScopedApplication::~ScopedApplication() {
  Application->Free();
  Application = FSaved;
  ProcessDeferredReleases();
  ResetWindowSystem();
  SetBackend(nullptr);
}
