// Draws every drawing primitive, edge, frame control, text flag and blit of the drawing
// layer onto one sheet, for people to look at:  gdi-sheet --out FILE.png
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "gdi/Gdi.h"
#include "tools/ToolCanvas.h"
#include "tools/ToolMain.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 900;

// Selects an object for the life of the scope and deletes it afterwards.
struct Use {
  HDC DC;
  HGDIOBJ Obj;
  HGDIOBJ Old;
  Use(HDC dc, HGDIOBJ obj) : DC(dc), Obj(obj), Old(SelectObject(dc, obj)) {}
  ~Use() {
    SelectObject(DC, Old);
    DeleteObject(Obj);
  }
};

HFONT Font(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, bool italic = false,
           bool underline = false, bool strike = false) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfEscapement = escapement;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strike;
  lf.lfFaceName = face;
  return CreateFontIndirect(&lf);
}

class Sheet {
 public:
  explicit Sheet(HDC dc) : FDC(dc) {}

  void Label(int x, int y, const String& text) {
    Use font(FDC, Font("Tahoma", -11));
    SetBkMode(FDC, TRANSPARENT);
    SetTextColor(FDC, RGB(90, 90, 90));
    TextOut(FDC, x, y, text);
  }

  void Heading(int y, const String& text) {
    Use font(FDC, Font("Tahoma", -13, FW_BOLD));
    SetBkMode(FDC, TRANSPARENT);
    SetTextColor(FDC, RGB(0, 70, 140));
    TextOut(FDC, 10, y, text);
    Use pen(FDC, CreatePen(PS_SOLID, 1, RGB(0, 70, 140)));
    MoveToEx(FDC, 10, y + 17, nullptr);
    LineTo(FDC, kWidth - 10, y + 17);
  }

  void FillsAndPens(int y) {
    Heading(y, "Fills, frames, brushes and pens");
    y += 26;
    HBRUSH red = CreateSolidBrush(RGB(220, 40, 40));
    RECT r{10, y, 60, y + 40};
    FillRect(FDC, &r, red);
    Label(10, y + 44, "FillRect");
    r = {70, y, 120, y + 40};
    FrameRect(FDC, &r, red);
    Label(70, y + 44, "FrameRect");
    r = {130, y, 180, y + 40};
    FillRect(FDC, &r, red);
    RECT inv{140, y + 10, 170, y + 30};
    InvertRect(FDC, &inv);
    Label(130, y + 44, "InvertRect");
    DeleteObject(red);
    for (int h = HS_HORIZONTAL; h <= HS_DIAGCROSS; ++h) {
      Use brush(FDC, CreateHatchBrush(h, RGB(0, 90, 180)));
      SetBkMode(FDC, h % 2 ? OPAQUE : TRANSPARENT);
      SetBkColor(FDC, RGB(255, 240, 200));
      PatBlt(FDC, 190 + h * 40, y, 32, 40, PATCOPY);
    }
    Label(190, y + 44, "hatch brushes, opaque and transparent");
    const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_ALTERNATE};
    const char* names[] = {"solid", "dash", "dot", "dashdot", "dashdotdot", "alternate"};
    for (int i = 0; i < 6; ++i) {
      Use pen(FDC, CreatePen(styles[i], 1, RGB(0, 0, 0)));
      SetBkMode(FDC, TRANSPARENT);
      MoveToEx(FDC, 440, y + i * 11 + 6, nullptr);
      LineTo(FDC, 530, y + i * 11 + 6);
      Label(535, y + i * 11, names[i]);
    }
    for (int w = 1; w <= 5; ++w) {
      Use pen(FDC, CreatePen(PS_SOLID, w, RGB(30, 120, 60)));
      MoveToEx(FDC, 610 + w * 14, y + 4, nullptr);
      LineTo(FDC, 610 + w * 14 + 30, y + 36);
    }
    Label(620, y + 44, "widths 1-5, round ends");
    LOGBRUSH lb{BS_SOLID, RGB(160, 60, 160), 0};
    {
      Use pen(FDC, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 6, &lb, 0, nullptr));
      const POINT zig[] = {{760, y + 36}, {780, y + 6}, {800, y + 36}, {820, y + 6}, {840, y + 36}};
      Polyline(FDC, zig, 5);
    }
    Label(750, y + 44, "flat ends, mitred joins");
    {
      Use pen(FDC, CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
      SetROP2(FDC, R2_XORPEN);
      for (int i = 0; i < 5; ++i) {
        MoveToEx(FDC, 900, y + 2 + i * 8, nullptr);
        LineTo(FDC, 990, y + 30 - i * 6);
      }
      SetROP2(FDC, R2_COPYPEN);
    }
    Label(900, y + 44, "XOR lines");
  }

  void Shapes(int y) {
    Heading(y, "Shapes, gradients, focus rectangle");
    y += 26;
    Use brush(FDC, CreateSolidBrush(RGB(255, 220, 120)));
    Use pen(FDC, CreatePen(PS_SOLID, 1, RGB(120, 60, 0)));
    Rectangle(FDC, 10, y, 70, y + 44);
    Label(10, y + 48, "Rectangle");
    RoundRect(FDC, 80, y, 150, y + 44, 16, 16);
    Label(80, y + 48, "RoundRect");
    Ellipse(FDC, 160, y, 230, y + 44);
    Label(160, y + 48, "Ellipse");
    const POINT star[] = {{270, y}, {282, y + 44}, {246, y + 14}, {294, y + 14}, {258, y + 44}};
    SetPolyFillMode(FDC, ALTERNATE);
    Polygon(FDC, star, 5);
    const POINT star2[] = {{330, y}, {342, y + 44}, {306, y + 14}, {354, y + 14}, {318, y + 44}};
    SetPolyFillMode(FDC, WINDING);
    Polygon(FDC, star2, 5);
    Label(246, y + 48, "Polygon alt / winding");
    {
      Use thick(FDC, CreatePen(PS_INSIDEFRAME, 4, RGB(0, 100, 160)));
      Ellipse(FDC, 370, y, 430, y + 44);
      Rectangle(FDC, 440, y, 490, y + 44);
    }
    Label(370, y + 48, "inside-frame pen 4");
    {
      Use nopen(FDC, CreatePen(PS_NULL, 1, 0));
      Ellipse(FDC, 500, y, 544, y + 44);
    }
    Label(500, y + 48, "null pen");
    TRIVERTEX v[2] = {{560, y, 0x0000, 0x7800, 0xD700, 0}, {680, y + 44, 0xFF00, 0xFF00, 0xFF00, 0}};
    GRADIENT_RECT g{0, 1};
    GradientFill(FDC, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    TRIVERTEX v2[2] = {{690, y, 0x6B00, 0x4E00, 0x8A00, 0}, {760, y + 44, 0x4F00, 0x3800, 0x6800, 0}};
    GradientFill(FDC, v2, 2, &g, 1, GRADIENT_FILL_RECT_V);
    Label(560, y + 48, "GradientFill H / V");
    RECT focus{780, y + 6, 880, y + 38};
    DrawFocusRect(FDC, &focus);
    Label(780, y + 48, "DrawFocusRect");
  }

  void Edges(int y) {
    Heading(y, "DrawEdge");
    y += 26;
    struct E {
      UINT edge, flags;
      const char* name;
    };
    const E edges[] = {
        {EDGE_RAISED, BF_RECT | BF_MIDDLE, "RAISED"},   {EDGE_SUNKEN, BF_RECT | BF_MIDDLE, "SUNKEN"},
        {EDGE_ETCHED, BF_RECT, "ETCHED"},               {EDGE_BUMP, BF_RECT, "BUMP"},
        {BDR_RAISEDOUTER, BF_RECT, "RAISEDOUTER"},      {BDR_SUNKENINNER, BF_RECT, "SUNKENINNER"},
        {EDGE_RAISED, BF_RECT | BF_SOFT, "SOFT"},       {EDGE_SUNKEN, BF_RECT | BF_FLAT, "FLAT"},
        {EDGE_SUNKEN, BF_RECT | BF_MONO, "MONO"},       {EDGE_RAISED, BF_TOPLEFT, "TOPLEFT"},
        {EDGE_RAISED, BF_DIAGONAL_ENDBOTTOMRIGHT, "DIAG"},
    };
    RECT back{0, y - 4, kWidth, y + 58};
    FillRect(FDC, &back, GetSysColorBrush(COLOR_BTNFACE));
    int x = 10;
    for (const E& e : edges) {
      RECT r{x, y, x + 70, y + 36};
      DrawEdge(FDC, &r, e.edge, e.flags);
      Label(x, y + 40, e.name);
      x += 88;
    }
  }

  void FrameControls(int y) {
    Heading(y, "DrawFrameControl");
    y += 26;
    RECT back{0, y - 4, kWidth, y + 116};
    FillRect(FDC, &back, GetSysColorBrush(COLOR_BTNFACE));
    struct F {
      UINT kind, state;
      const char* name;
      int w, h;
    };
    const F row1[] = {
        {DFC_BUTTON, DFCS_BUTTONPUSH, "push", 60, 24},
        {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED, "pushed", 60, 24},
        {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT, "flat", 60, 24},
        {DFC_BUTTON, DFCS_BUTTONCHECK, "check", 13, 13},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, "checked", 13, 13},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, "inactive", 13, 13},
        {DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED, "3-state", 13, 13},
        {DFC_BUTTON, DFCS_BUTTONRADIO, "radio", 13, 13},
        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, "radio on", 13, 13},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, "check 20", 20, 20},
        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, "radio 20", 20, 20},
    };
    const F row2[] = {
        {DFC_SCROLL, DFCS_SCROLLUP, "up", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLDOWN, "down", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLLEFT, "left", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLRIGHT, "right", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, "combo", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_PUSHED, "pushed", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE, "inactive", 17, 17},
        {DFC_SCROLL, DFCS_SCROLLSIZEGRIP, "grip", 17, 17},
        {DFC_CAPTION, DFCS_CAPTIONCLOSE, "close", 21, 19},
        {DFC_CAPTION, DFCS_CAPTIONMIN, "min", 21, 19},
        {DFC_CAPTION, DFCS_CAPTIONMAX, "max", 21, 19},
        {DFC_CAPTION, DFCS_CAPTIONRESTORE, "restore", 21, 19},
        {DFC_CAPTION, DFCS_CAPTIONHELP, "help", 21, 19},
        {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE, "inactive", 21, 19},
        {DFC_MENU, DFCS_MENUCHECK, "menu check", 15, 15},
        {DFC_MENU, DFCS_MENUBULLET, "bullet", 15, 15},
        {DFC_MENU, DFCS_MENUARROW, "arrow", 15, 15},
    };
    auto drawRow = [&](const F* items, size_t n, int top, int step) {
      int x = 10;
      for (size_t i = 0; i < n; ++i) {
        RECT r{x, top, x + items[i].w, top + items[i].h};
        DrawFrameControl(FDC, &r, items[i].kind, items[i].state);
        Label(x, top + 28, items[i].name);
        x += std::max(step, items[i].w + 16);
      }
    };
    drawRow(row1, std::size(row1), y, 84);
    drawRow(row2, std::size(row2), y + 58, 57);
  }

  void Text(int y) {
    Heading(y, "Text: fonts and DrawText flags");
    y += 26;
    SetBkMode(FDC, TRANSPARENT);
    SetTextColor(FDC, RGB(0, 0, 0));
    const char* faces[] = {"Tahoma", "Arial", "Times New Roman", "Courier New", "Segoe UI", "MS Sans Serif"};
    int x = 10;
    for (const char* face : faces) {
      Use font(FDC, Font(face, -13));
      TextOut(FDC, x, y, face);
      SIZE sz;
      GetTextExtentPoint32(FDC, face, -1, &sz);
      x += sz.cx + 18;
    }
    {
      Use font(FDC, Font("Tahoma", -13, FW_BOLD));
      TextOut(FDC, x, y, "Bold");
    }
    {
      Use font(FDC, Font("Tahoma", -13, FW_NORMAL, 0, true, true));
      TextOut(FDC, x + 40, y, "Italic underline");
    }
    {
      Use font(FDC, Font("Tahoma", -13, FW_NORMAL, 0, false, false, true));
      TextOut(FDC, x + 150, y, "Struck");
    }
    {
      Use font(FDC, Font("Marlett", -16));
      TextOut(FDC, x + 210, y, "0123456");
    }
    y += 26;
    Use font(FDC, Font("Tahoma", -11));
    struct T {
      const char* text;
      UINT flags;
      const char* name;
    };
    const T cells[] = {
        {"Left", DT_LEFT | DT_SINGLELINE | DT_VCENTER, "LEFT VCENTER"},
        {"Centre", DT_CENTER | DT_SINGLELINE | DT_VCENTER, "CENTER"},
        {"Right", DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, "RIGHT BOTTOM"},
        {"Words break between words, never inside one: supercalifragilistic", DT_WORDBREAK, "WORDBREAK"},
        {"An end ellipsis keeps what fits of this line", DT_END_ELLIPSIS | DT_SINGLELINE, "END_ELLIPSIS"},
        {"C:\\Program Files\\Quorvane\\Styles\\Aqua.json", DT_PATH_ELLIPSIS | DT_SINGLELINE, "PATH_ELLIPSIS"},
        {"&File and && sign", DT_SINGLELINE, "prefix"},
        {"&File and && sign", DT_SINGLELINE | DT_HIDEPREFIX, "HIDEPREFIX"},
        {"&File and && sign", DT_SINGLELINE | DT_NOPREFIX, "NOPREFIX"},
        {"a\tb\tc\td", DT_SINGLELINE | DT_EXPANDTABS, "EXPANDTABS"},
        {"right to left!", DT_SINGLELINE | DT_RIGHT | DT_RTLREADING, "RTLREADING"},
        {"Clipped without NOCLIP: a long line", DT_SINGLELINE, "clipped"},
    };
    int col = 0, row = 0;
    for (const T& t : cells) {
      const int cx = 10 + col * 162, cy = y + row * 62;
      RECT r{cx, cy, cx + 150, cy + 44};
      FrameRect(FDC, &r, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
      RECT inner = r;
      InflateRect(&inner, -2, -2);
      DrawText(FDC, t.text, -1, &inner, t.flags);
      Label(cx, cy + 46, t.name);
      if (++col == 6) {
        col = 0;
        ++row;
      }
    }
    y += 2 * 62 + 4;
    {
      Use font(FDC, Font("Tahoma", -13, FW_NORMAL, 900));
      TextOut(FDC, 20, y + 80, "Rotated 90");
    }
    {
      Use font(FDC, Font("Tahoma", -13, FW_NORMAL, 450));
      TextOut(FDC, 50, y + 80, "Rotated 45");
    }
    SetBkMode(FDC, OPAQUE);
    SetBkColor(FDC, RGB(255, 240, 160));
    TextOut(FDC, 160, y + 4, "Opaque background");
    SetBkMode(FDC, TRANSPARENT);
    const int tabs[] = {60, 120};
    TabbedTextOut(FDC, 160, y + 26, "Tabbed\tcolumns\there", -1, 2, tabs, 160);
    RECT calc{160, y + 50, 300, y + 50};
    DrawText(FDC, "DT_CALCRECT measures this wrapped text", -1, &calc, DT_CALCRECT | DT_WORDBREAK);
    FrameRect(FDC, &calc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    DrawText(FDC, "DT_CALCRECT measures this wrapped text", -1, &calc, DT_WORDBREAK);
  }

  void Blits(int y) {
    Heading(y, "BitBlt, StretchBlt, AlphaBlend, TransparentBlt");
    y += 26;
    // A 32 x 32 source: a colour wheel whose alpha falls off towards the edge, premultiplied.
    ToolCanvas src(32, 32);
    for (int j = 0; j < 32; ++j)
      for (int i = 0; i < 32; ++i) {
        const double dx = i - 15.5, dy = j - 15.5, d = std::sqrt(dx * dx + dy * dy);
        const int a = std::max(0, std::min(255, int(255 - d * 16 + 60)));
        const int r = (i * 8) & 255, g = (j * 8) & 255, b = 160;
        src.Pixels().At(i, j) = (uint32_t(a) << 24) | (uint32_t(r * a / 255) << 16) | (uint32_t(g * a / 255) << 8) |
                                uint32_t(b * a / 255);
      }
    // Checkerboard behind the blended images shows their transparency.
    for (int k = 0; k < 4; ++k) {
      const int bx = 10 + k * 80;
      for (int j = 0; j < 64; j += 8)
        for (int i = 0; i < 64; i += 8) {
          RECT cell{bx + i, y + j, bx + i + 8, y + j + 8};
          FillRect(FDC, &cell, static_cast<HBRUSH>(GetStockObject(((i + j) / 8) % 2 ? LTGRAY_BRUSH : WHITE_BRUSH)));
        }
    }
    BLENDFUNCTION pixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(FDC, 26, y + 16, 32, 32, src.DC, 0, 0, 32, 32, pixel);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    AlphaBlend(FDC, 106, y + 16, 32, 32, src.DC, 0, 0, 32, 32, half);
    BLENDFUNCTION constant{AC_SRC_OVER, 0, 128, 0};
    AlphaBlend(FDC, 186, y + 16, 32, 32, src.DC, 0, 0, 32, 32, constant);
    AlphaBlend(FDC, 250, y, 64, 64, src.DC, 0, 0, 32, 32, pixel);
    Label(10, y + 68, "per-pixel     both at 128   constant 128  stretched x2");
    // A small opaque pattern stretched both ways.
    ToolCanvas pat(8, 8);
    for (int j = 0; j < 8; ++j)
      for (int i = 0; i < 8; ++i) pat.Pixels().At(i, j) = ((i + j) % 2) ? 0xFF2060C0u : 0xFFF0F0F0u;
    pat.Pixels().At(1, 1) = 0xFFE02020u;
    StretchBlt(FDC, 350, y, 64, 64, pat.DC, 0, 0, 8, 8, SRCCOPY);
    SetStretchBltMode(FDC, HALFTONE);
    StretchBlt(FDC, 424, y, 64, 64, pat.DC, 0, 0, 8, 8, SRCCOPY);
    StretchBlt(FDC, 498, y + 16, 32, 32, src.DC, 0, 0, 32, 32, SRCCOPY);
    SetStretchBltMode(FDC, COLORONCOLOR);
    StretchBlt(FDC, 540, y + 64, 64, -64, pat.DC, 0, 0, 8, 8, SRCCOPY);
    Label(350, y + 68, "nearest        halftone     copy     mirrored");
    // Colour key: the light squares of the pattern drop out and show the yellow below.
    RECT under{620, y, 684, y + 64};
    HBRUSH yellow = CreateSolidBrush(RGB(255, 230, 120));
    FillRect(FDC, &under, yellow);
    DeleteObject(yellow);
    TransparentBlt(FDC, 620, y, 64, 64, pat.DC, 0, 0, 8, 8, RGB(0xF0, 0xF0, 0xF0));
    Label(620, y + 68, "TransparentBlt");
    const DWORD rops[] = {SRCCOPY, SRCPAINT, SRCAND, SRCINVERT, NOTSRCCOPY};
    const char* ropNames[] = {"COPY", "PAINT", "AND", "INVERT", "NOTSRC"};
    for (int k = 0; k < 5; ++k) {
      const int bx = 700 + k * 58;
      TRIVERTEX v[2] = {{bx, y, 0xFF00, 0x8000, 0x0000, 0}, {bx + 48, y + 48, 0x0000, 0x8000, 0xFF00, 0}};
      GRADIENT_RECT g{0, 1};
      GradientFill(FDC, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
      StretchBlt(FDC, bx, y, 48, 48, pat.DC, 0, 0, 8, 8, rops[k]);
      Label(bx, y + 52, ropNames[k]);
    }
  }

 private:
  HDC FDC;
};

}  // namespace

int main(int argc, char** argv) {
  std::string out = "gdi-sheet.png";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: gdi-sheet [--out FILE.png]\n");
      return 2;
    }
  }
  ToolCanvas sheet(kWidth, kHeight);
  sheet.Pixels().Fill(0xFFFFFFFFu);
  Sheet s(sheet.DC);
  s.FillsAndPens(8);
  s.Shapes(100);
  s.Edges(196);
  s.FrameControls(280);
  s.Text(430);
  s.Blits(760);
  return WriteToolPng("gdi-sheet", sheet.Pixels(), out) ? 0 : 1;
}
