// The start of a probe program: a real window through SDL2, the application, and the
// probe's form shown until it closes.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "backend/Sdl.h"
#include "vcl/Forms.h"

// Setup runs after the application is initialised, before the form is made.
template <class TProbeFormClass>
int RunProbe(const char* Name, TProbeFormClass*& Form, const std::function<void()>& Setup = {}) {
  std::string error;
  std::unique_ptr<SdlBackend> sdl = SdlBackend::TryCreate(&error);
  if (!sdl) {
    std::fprintf(stderr, "%s: cannot open a window: %s\n", Name, error.c_str());
    return 1;
  }
  SetBackend(std::move(sdl));
  Application->Initialize();
  if (Setup) Setup();
  Application->CreateForm(Form);
  Application->Run();
  return 0;
}
