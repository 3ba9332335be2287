// The demo program: the application object, the main window, the message loop.
#include <cstdio>
#include <memory>
#include <string>

#include "app/Unit1.h"
#include "backend/Sdl.h"

int main() {
  // A demo without a window shows nothing: the headless backend has no screen to show it on.
  std::string error;
  std::unique_ptr<SdlBackend> sdl = SdlBackend::TryCreate(&error);
  if (!sdl) {
    std::fprintf(stderr, "demo: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  SetBackend(std::move(sdl));

  Application->Initialize();
  Application->SetMainFormOnTaskbar(true);
  Application->CreateForm(Form1);
  Application->Run();
  return 0;
}
