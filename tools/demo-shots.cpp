// Pictures of the demo window without a display: makes the demo's main form on the
// headless backend, shows it, lets it paint, and writes the whole window (frame
// included) as it is presented, one PNG per style.
//
//   demo-shots --out DIR [--style NAME]... [--classic]
//
// DIR/<style name>.png for each style asked, "Windows" (the system style) when none is.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "backend/Headless.h"
#include "gdi/Png.h"

namespace {

// The styles the platform knows; the style engine will add the others.
const std::vector<std::string> kStyles = {"Windows"};

int Usage(const char* message) {
  std::fprintf(stderr, "demo-shots: %s\nusage: demo-shots --out DIR [--style NAME]... [--classic]\n", message);
  return 2;
}

bool KnownStyle(const std::string& name) {
  for (const std::string& s : kStyles)
    if (s == name) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  std::vector<std::string> styles;
  bool classic = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc) {
      out = argv[++i];
    } else if (arg == "--style" && i + 1 < argc) {
      styles.push_back(argv[++i]);
    } else if (arg == "--classic") {
      classic = true;
    } else {
      return Usage(("unknown or incomplete argument '" + arg + "'").c_str());
    }
  }
  if (out.empty()) return Usage("--out DIR is required");
  if (styles.empty()) styles.push_back("Windows");
  for (const std::string& s : styles) {
    if (KnownStyle(s)) continue;
    std::string known;
    for (const std::string& k : kStyles) known += (known.empty() ? "" : ", ") + k;
    std::fprintf(stderr, "demo-shots: unknown style '%s' (known styles: %s)\n", s.c_str(), known.c_str());
    return 2;
  }
  if (classic)
    std::fprintf(stderr, "demo-shots: --classic looks the same as the themed look until the style engine exists\n");

  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec) {
    std::fprintf(stderr, "demo-shots: cannot make %s: %s\n", out.c_str(), ec.message().c_str());
    return 1;
  }

  Application->Initialize();
  Application->SetMainFormOnTaskbar(true);
  Application->CreateForm(Form1);
  Form1->Show();
  Application->ProcessMessages();

  int status = 0;
  for (const std::string& style : styles) {
    // One look for now: the style engine will switch styles here.
    Application->ProcessMessages();
    const HeadlessBackend::WindowRecord* shown = Headless()->Window(Form1->Handle()->Native);
    if (!shown || !shown->Screen) {
      std::fprintf(stderr, "demo-shots: the window was never presented\n");
      status = 1;
      break;
    }
    const std::string path = (std::filesystem::path(out) / (style + ".png")).string();
    std::string error;
    if (!WritePngFile(*shown->Screen, path, &error)) {
      std::fprintf(stderr, "demo-shots: %s: %s\n", path.c_str(), error.c_str());
      status = 1;
      break;
    }
    std::printf("demo-shots: wrote %s (%d x %d)\n", path.c_str(), shown->Screen->Width(), shown->Screen->Height());
  }
  Application->DestroyComponents();
  return status;
}
