// What the sheet-drawing tools draw on: a memory DC on a 32-bit top-down DIB of its own,
// freed at the end of the scope, and the font of their labels.
#pragma once

#include "gdi/Gdi.h"

// The sheets' font: Tahoma, Height as a LOGFONT's (negative: the em height in pixels).
inline HFONT ToolFont(int Height, int Weight = FW_NORMAL) {
  LOGFONT lf;
  lf.lfHeight = Height;
  lf.lfWeight = Weight;
  lf.lfFaceName = "Tahoma";
  return CreateFontIndirect(&lf);
}

struct ToolCanvas {
  HBITMAP Bitmap = nullptr;
  HDC DC = nullptr;
  HGDIOBJ Old = nullptr;
  ToolCanvas(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DC = CreateCompatibleDC(nullptr);
    Old = SelectObject(DC, Bitmap);
  }
  ~ToolCanvas() {
    SelectObject(DC, Old);
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
  ToolCanvas(const ToolCanvas&) = delete;
  ToolCanvas& operator=(const ToolCanvas&) = delete;
  Surface& Pixels() const { return *Bitmap->Pixels; }
};
