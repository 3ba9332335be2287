// What the tools that write PNG sheets share: the command line "--out DIR" and its folder,
// writing a PNG with a message that names the file, measuring a sheet before drawing it,
// and drawing a sheet once in every registered style and once in classic mode.
//
// Messages start with the tool's name; what was written goes to stdout, one path a line.
#pragma once

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>

#include "gdi/Gdi.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "tools/ToolCanvas.h"
#include "vcl/SysUtils.h"

// Writes the pixels to Path as a PNG and prints the path; on failure says why on stderr.
inline bool WriteToolPng(const char* Tool, const Surface& Pixels, const std::string& Path) {
  std::string error;
  if (!WritePngFile(Pixels, Path, &error)) {
    std::fprintf(stderr, "%s: %s: %s\n", Tool, Path.c_str(), error.c_str());
    return false;
  }
  std::printf("%s\n", Path.c_str());
  return true;
}

// Makes the folder (and the folders leading to it); on failure says why on stderr.
inline bool MakeToolFolder(const char* Tool, const std::string& Dir) {
  std::error_code ec;
  std::filesystem::create_directories(Dir, ec);
  if (!ec) return true;
  std::fprintf(stderr, "%s: cannot make %s: %s\n", Tool, Dir.c_str(), ec.message().c_str());
  return false;
}

// Themes switched off for the life of the scope; what was set before comes back after.
class ToolClassicMode {
 public:
  ToolClassicMode() : FSaved(GetThemeAppProperties()) { SetThemeAppProperties(0); }
  ~ToolClassicMode() { SetThemeAppProperties(FSaved); }
  ToolClassicMode(const ToolClassicMode&) = delete;
  ToolClassicMode& operator=(const ToolClassicMode&) = delete;

 private:
  DWORD FSaved;
};

// The folder a sheet tool writes into.
struct ToolOutput {
  const char* Tool;
  std::string Dir;

  // DIR/FileName, as WriteToolPng.
  bool WritePng(const Surface& Pixels, const std::string& FileName) const {
    return WriteToolPng(Tool, Pixels, Dir + "/" + FileName);
  }

  // A sheet Width wide whose height is known only once it is laid out: Draw(DC) lays it
  // out and answers its height, once with a null DC to measure and once to draw on a
  // canvas of that height, which is then written to DIR/FileName.
  bool WriteMeasuredSheet(const std::string& FileName, int Width, const std::function<int(HDC)>& Draw) const {
    ToolCanvas sheet(Width, Draw(nullptr));
    Draw(sheet.DC);
    return WritePng(sheet.Pixels(), FileName);
  }
};

// The whole main program of a sheet tool: takes "--out DIR" and nothing else, makes DIR,
// and calls Write with it. An exception ends the run with its message. Answers the exit
// code: 0 when Write did all it should, 1 when it did not, 2 for a wrong command line.
inline int RunSheetTool(int argc, char** argv, const char* Tool, const std::function<bool(const ToolOutput&)>& Write) {
  std::string dir;
  bool understood = true;
  for (int i = 1; i < argc && understood; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc)
      dir = argv[++i];
    else
      understood = false;
  }
  if (!understood || dir.empty()) {
    std::fprintf(stderr, "usage: %s --out DIR\n", Tool);
    return 2;
  }
  if (!MakeToolFolder(Tool, dir)) return 1;
  try {
    return Write(ToolOutput{Tool, dir}) ? 0 : 1;
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s\n", Tool, e.Message().c_str());
    return 1;
  }
}

// Calls Write(name, title) with each registered style active, then once as "Classic" with
// the system style and themes switched off. A failure does not stop the others; true when
// none failed. The system style "Windows" is active afterwards.
inline bool ForEachStyle(const std::function<bool(const String& Name, const String& Title)>& Write) {
  bool ok = true;
  for (const String& name : TStyleManager::StyleNames()) {
    TStyleManager::SetStyle(name);
    ok = Write(name, name + (name == "Windows" ? " (system style)" : "")) && ok;
  }
  TStyleManager::SetStyle("Windows");
  const ToolClassicMode classic;
  return Write("Classic", "Classic mode (themes switched off)") && ok;
}
