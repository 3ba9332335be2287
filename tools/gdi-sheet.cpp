// Draws every drawing primitive, edge, frame control and text flag of the drawing layer
// onto one sheet, for people to look at: gdi-sheet --out FILE.png
#include <cstdio>
#include <cstring>
#include <string>

#include "gdi/Gdi.h"

int main(int argc, char** argv) {
  std::string out = "gdi-sheet.png";
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) out = argv[++i];
  Surface sheet(900, 700);
  sheet.Fill(0xFFFFFFFFu);
  std::string error;
  if (!WritePngFile(sheet, out, &error)) {
    std::fprintf(stderr, "gdi-sheet: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
