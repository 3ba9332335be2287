// Writes one sheet per registered transition effect, for people to look at:
//   effect-gallery --out DIR      ->  DIR/<number>-<name>.png
// Each sheet shows the frames at 10, 30, 50, 70 and 90 % from a blue picture "A" to an
// orange picture "B", once as registered and once turned by 90 degrees.
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>

#include "gdi/Gdi.h"
#include "gx_effect.h"
#include "tools/ToolMain.h"

namespace {

constexpr int kFrameW = 160;
constexpr int kFrameH = 100;
constexpr int kMargin = 10;
constexpr int kGap = 8;
constexpr int kPercents[] = {10, 30, 50, 70, 90};
constexpr int kColumns = 5;
constexpr int kTitleH = 26;
constexpr int kLabelH = 16;
constexpr int kRowH = kLabelH + kFrameH + kGap;

void Text(HDC dc, int x, int y, const String& text, HFONT font, COLORREF color) {
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  TextOut(dc, x, y, text);
  SelectObject(dc, old);
}

// A vertical gradient between two colours with a large letter in the middle.
std::unique_ptr<TgxBitmap> Picture(uint32_t top, uint32_t bottom, const char* letter, COLORREF ink) {
  auto b = std::make_unique<TgxBitmap>();
  b->SetSize(kFrameW, kFrameH);
  for (int y = 0; y < kFrameH; ++y) {
    uint32_t pixel = 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
      const int t = int(top >> shift & 0xFF), u = int(bottom >> shift & 0xFF);
      pixel |= uint32_t(t + (u - t) * y / (kFrameH - 1)) << shift;
    }
    gxFillRow(b->GetScanLine(y), kFrameW, pixel);
  }
  HFONT font = ToolFont(-72, FW_BOLD);
  HGDIOBJ old = SelectObject(b->DC(), font);
  SetBkMode(b->DC(), TRANSPARENT);
  SetTextColor(b->DC(), ink);
  RECT r{0, 0, kFrameW, kFrameH};
  DrawText(b->DC(), letter, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(b->DC(), old);
  DeleteObject(font);
  b->SetAlpha(255);
  return b;
}

String FileName(int number, const String& plainName) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%02d-", number);
  String name = prefix;
  for (char c : plainName) name += (std::isalnum(static_cast<unsigned char>(c)) || c == '-') ? c : '_';
  return name + ".png";
}

bool WriteSheet(const ToolOutput& out, int number, TgxProcItem* item) {
  const String plainName = item->Name().substr(item->Name().find("- ") + 2);
  const int width = 2 * kMargin + kColumns * kFrameW + (kColumns - 1) * kGap;
  const int height = kMargin + kTitleH + 2 * kRowH + kMargin;
  ToolCanvas sheet(width, height);
  HDC dc = sheet.DC;
  RECT all{0, 0, width, height};
  HBRUSH background = CreateSolidBrush(RGB(245, 245, 245));
  FillRect(dc, &all, background);
  DeleteObject(background);
  HFONT title = ToolFont(-15, FW_BOLD), label = ToolFont(-11);
  Text(dc, kMargin, kMargin, IntToStr(number) + ". " + item->Name(), title, RGB(0, 70, 140));

  bool ok = true;
  const TgxRotation rotations[] = {krNone, krRotate90};
  for (int row = 0; row < 2; ++row) {
    const int y = kMargin + kTitleH + row * kRowH;
    TgxAnimationRec settings(nullptr);
    settings.SetEffect(item->Name());
    settings.SetRotation(rotations[row]);
    for (int column = 0; column < kColumns; ++column) {
      const int x = kMargin + column * (kFrameW + kGap);
      Text(dc, x, y, IntToStr(kPercents[column]) + " %" + (row == 1 && column == 0 ? "   turned 90 degrees" : ""),
           label, RGB(90, 90, 90));
      // Fresh pictures for every frame: the engine leaves its mask in the new image.
      auto oldImage = Picture(0x1E3A8A, 0x60A5FA, "A", RGB(255, 255, 255));
      auto newImage = Picture(0xF97316, 0xFED7AA, "B", RGB(90, 30, 0));
      TgxTransition transition;
      if (!transition.Prepare(&settings, newImage.get(), oldImage.get())) {
        ok = false;
        continue;
      }
      transition.Compose(uint8_t(kPercents[column]));
      transition.Work()->Draw(dc, x, y + kLabelH);
    }
  }
  DeleteObject(title);
  DeleteObject(label);

  if (!out.WritePng(sheet.Pixels(), FileName(number, plainName))) return false;
  if (!ok) std::fprintf(stderr, "effect-gallery: %s does not start\n", item->Name().c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  return RunSheetTool(argc, argv, "effect-gallery", [](const ToolOutput& out) {
    bool ok = true;
    TgxProcList* list = gxProcList();
    for (int i = 0; list && i < list->Count(); ++i) ok = WriteSheet(out, i + 1, list->Items(i)) && ok;
    return ok;
  });
}
