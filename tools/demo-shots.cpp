// Pictures of the demo window without a display: makes the demo's main form on the
// headless backend, shows it, lets it paint, and writes the whole window (frame
// included) as it is presented, one PNG per style.
//
//   demo-shots --out DIR [--style NAME]... [--classic]
//
// DIR/<style name>.png for each style asked, "Windows" (the system style) when none is;
// with --classic also DIR/Classic.png, the system style with themes switched off.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "backend/Headless.h"
#include "themes/StyleManager.h"
#include "tools/ToolMain.h"

namespace {

int Usage(const char* message) {
  std::fprintf(stderr, "demo-shots: %s\nusage: demo-shots --out DIR [--style NAME]... [--classic]\n", message);
  return 2;
}

bool KnownStyle(const std::vector<String>& known, const std::string& name) {
  for (const String& s : known)
    if (s == name) return true;
  return false;
}

// Lets the window repaint, then writes what is presented; false on failure.
bool Shoot(const std::string& out, const std::string& name) {
  Application->ProcessMessages();
  const HeadlessBackend::WindowRecord* shown = Headless()->Window(Form1->Handle()->Native);
  if (!shown || !shown->Screen) {
    std::fprintf(stderr, "demo-shots: the window was never presented\n");
    return false;
  }
  return WriteToolPng("demo-shots", *shown->Screen, (std::filesystem::path(out) / (name + ".png")).string());
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
  if (styles.empty() && !classic) styles.push_back("Windows");
  const std::vector<String> knownStyles = TStyleManager::StyleNames();
  for (const std::string& s : styles) {
    if (KnownStyle(knownStyles, s)) continue;
    std::string known;
    for (const String& k : knownStyles) known += (known.empty() ? "" : ", ") + k;
    std::fprintf(stderr, "demo-shots: unknown style '%s' (known styles: %s)\n", s.c_str(), known.c_str());
    return 2;
  }

  if (!MakeToolFolder("demo-shots", out)) return 1;

  Application->Initialize();
  Application->SetMainFormOnTaskbar(true);
  Application->CreateForm(Form1);
  Form1->Show();
  Application->ProcessMessages();

  int status = 0;
  for (const std::string& style : styles) {
    TStyleManager::SetStyle(style);
    if (!Shoot(out, style)) {
      status = 1;
      break;
    }
  }
  TStyleManager::SetStyle("Windows");
  if (classic && status == 0) {
    const ToolClassicMode themesOff;
    if (!Shoot(out, "Classic")) status = 1;
  }
  Application->DestroyComponents();
  return status;
}
