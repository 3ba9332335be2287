#include <algorithm>
#include <map>

#include "support/Canvas.h"
#include "support/WinTest.h"
#include "win/NonClient.h"
#include "win/Paint.h"

namespace {

// Windows of the class "NcWindow" record their messages and leave everything else to
// DefWindowProc (defwin::Proc), unless a test tells them how to answer.
class NonClient : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = defwin::Proc;
    wc.lpszClassName = "NcWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_WINDOW + 1));
    RegisterClass(&wc);
    defwin::Log().clear();
  }
  void TearDown() override {
    defwin::Reset();
    WinTest::TearDown();
    defwin::Log().clear();
  }

  static HWND Make(DWORD style, DWORD exStyle = 0, RECT r = {100, 100, 500, 400}, HWND parent = nullptr,
                   HMENU menu = nullptr, const String& text = "") {
    return CreateWindowEx(exStyle, "NcWindow", text, style, r.Left, r.Top, r.Width(), r.Height(), parent, menu,
                          nullptr, nullptr);
  }
  static void On(HWND hwnd, UINT msg, std::function<LRESULT(HWND, WPARAM, LPARAM)> answer) {
    defwin::SetAnswer(hwnd, msg, std::move(answer));
  }
  static std::vector<RecordedMessage> Calls(HWND hwnd, UINT msg) { return defwin::CallsOf(hwnd, msg); }
  static void Mouse(InputKind kind, POINT p) {
    Inject({.Kind = kind, .Screen = p, .Button = kind == InputKind::MouseMove ? 0 : kButtonLeft});
  }
  static POINT At(HWND hwnd, int x, int y) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {r.Left + x, r.Top + y};
  }

  // The metrics the non-client area is made of.
  const int frame = GetSystemMetrics(SM_CXFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER);
  const int fixed = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int button = GetSystemMetrics(SM_CXSIZE);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
};

// The pixels of a window's surface that have the given colour, as rows of '#' and '.'.
std::string SurfaceMask(HWND top, COLORREF ink, const RECT& area) {
  std::string out;
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x)
      out += ColorRefFromPixel(top->Pixels->At(x, y)) == ink ? '#' : '.';
    out += '\n';
  }
  return out;
}

COLORREF SurfaceColor(HWND top, int x, int y) { return ColorRefFromPixel(top->Pixels->At(x, y)); }

// How many pixels of an area are darker than a grey level (text ink, antialiased).
int DarkPixels(HWND top, const RECT& area, BYTE below = 0x60) {
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const COLORREF c = SurfaceColor(top, x, y);
      if (GetRValue(c) < below && GetGValue(c) < below && GetBValue(c) < below) ++n;
    }
  return n;
}

const char* const kCloseGlyph = R"(
#........#
.#......#.
..#....#..
...#..#...
....##....
....##....
...#..#...
..#....#..
.#......#.
#........#
)";

TEST_F(NonClient, CalcSizeLeavesTheClientAreaInsideFrameCaptionMenuEdgeAndBars) {
  const int tiny = GetSystemMetrics(SM_CYSMCAPTION), menu = GetSystemMetrics(SM_CYMENU);
  const int edge = GetSystemMetrics(SM_CXEDGE), hbar = GetSystemMetrics(SM_CYHSCROLL);
  HMENU fakeMenu = reinterpret_cast<HMENU>(intptr_t(16));
  struct Case {
    const char* name;
    DWORD style, exStyle;
    bool menu;
    RECT insets;  // left, top, right, bottom
  };
  const Case cases[] = {
      {"overlapped window", WS_OVERLAPPEDWINDOW, 0, false, {frame, frame + caption, frame, frame}},
      {"caption, fixed frame", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, false, {fixed, fixed + caption, fixed, fixed}},
      {"dialog frame only", WS_POPUP | WS_DLGFRAME, 0, false, {fixed, fixed, fixed, fixed}},
      {"modal dialog frame", WS_POPUP, WS_EX_DLGMODALFRAME, false, {fixed, fixed, fixed, fixed}},
      {"border only", WS_POPUP | WS_BORDER, 0, false, {1, 1, 1, 1}},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, false, {edge, edge, edge, edge}},
      {"tool window", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, false, {frame, frame + tiny, frame, frame}},
      {"menu bar", WS_OVERLAPPEDWINDOW, 0, true, {frame, frame + caption + menu, frame, frame}},
      {"thick frame, no caption", WS_POPUP | WS_THICKFRAME, 0, false, {frame, frame, frame, frame}},
      {"both scroll bars", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, false, {0, 0, bar, hbar}},
      {"left scroll bar", WS_POPUP | WS_VSCROLL, WS_EX_LEFTSCROLLBAR, false, {bar, 0, 0, 0}},
      {"border, edge and bar", WS_POPUP | WS_BORDER | WS_VSCROLL, WS_EX_CLIENTEDGE, false,
       {1 + edge, 1 + edge, 1 + edge + bar, 1 + edge}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(c.style, c.exStyle, {100, 100, 500, 400}, nullptr, c.menu ? fakeMenu : nullptr);
    ASSERT_NE(w, nullptr);
    RECT client{};
    GetClientRect(w, &client);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    EXPECT_EQ(origin.X - 100, c.insets.Left);
    EXPECT_EQ(origin.Y - 100, c.insets.Top);
    EXPECT_EQ(500 - (origin.X + client.Width()), c.insets.Right);
    EXPECT_EQ(400 - (origin.Y + client.Height()), c.insets.Bottom);
    if (!(c.style & (WS_VSCROLL | WS_HSCROLL))) {
      // The frame a program asks for with AdjustWindowRectEx is the one it gets.
      RECT r = client;
      AdjustWindowRectEx(&r, c.style, c.menu, c.exStyle);
      EXPECT_EQ(r.Width(), 400);
      EXPECT_EQ(r.Height(), 300);
    }
    DestroyWindow(w);
  }

  // Child windows get borders, edges and bars by the same rules.
  HWND parent = Make(WS_POPUP, 0, {0, 0, 300, 300});
  HWND bordered = Make(WS_CHILD | WS_BORDER, 0, {10, 10, 110, 110}, parent);
  HWND edged = Make(WS_CHILD | WS_VSCROLL, WS_EX_CLIENTEDGE, {10, 10, 110, 110}, parent);
  RECT rc{};
  GetClientRect(bordered, &rc);
  EXPECT_EQ(rc, (RECT{0, 0, 98, 98}));
  GetClientRect(edged, &rc);
  EXPECT_EQ(rc, (RECT{0, 0, 100 - 2 * edge - bar, 100 - 2 * edge}));
  POINT o{0, 0};
  MapWindowPoints(edged, parent, &o, 1);
  EXPECT_EQ(o, (POINT{10 + edge, 10 + edge}));
}

TEST_F(NonClient, HitTestFindsFramePartsByStyle) {
  const int W = 400, H = 300;
  const int capY = frame + caption / 2, fixedCapY = fixed + caption / 2;
  auto buttonX = [&](int border, int index) { return W - border - index * button - button / 2; };
  const DWORD sys = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  struct Case {
    const char* name;
    DWORD style, exStyle;
    POINT p;  // window coordinates
    int hit;
  };
  const Case cases[] = {
      {"client", WS_OVERLAPPEDWINDOW, 0, {W / 2, H / 2}, HTCLIENT},
      {"caption", WS_OVERLAPPEDWINDOW, 0, {W / 2, capY}, HTCAPTION},
      {"close", WS_OVERLAPPEDWINDOW, 0, {buttonX(frame, 0), capY}, HTCLOSE},
      {"maximise", WS_OVERLAPPEDWINDOW, 0, {buttonX(frame, 1), capY}, HTMAXBUTTON},
      {"minimise", WS_OVERLAPPEDWINDOW, 0, {buttonX(frame, 2), capY}, HTMINBUTTON},
      {"left of the buttons", WS_OVERLAPPEDWINDOW, 0, {buttonX(frame, 3), capY}, HTCAPTION},
      {"icon", WS_OVERLAPPEDWINDOW, 0, {frame + 4, capY}, HTSYSMENU},
      {"left border", WS_OVERLAPPEDWINDOW, 0, {2, H / 2}, HTLEFT},
      {"right border", WS_OVERLAPPEDWINDOW, 0, {W - 2, H / 2}, HTRIGHT},
      {"top border", WS_OVERLAPPEDWINDOW, 0, {W / 2, 2}, HTTOP},
      {"bottom border", WS_OVERLAPPEDWINDOW, 0, {W / 2, H - 1}, HTBOTTOM},
      {"top left corner", WS_OVERLAPPEDWINDOW, 0, {0, 0}, HTTOPLEFT},
      {"top left, along the top", WS_OVERLAPPEDWINDOW, 0, {12, 2}, HTTOPLEFT},
      {"top left, along the left", WS_OVERLAPPEDWINDOW, 0, {2, 12}, HTTOPLEFT},
      {"top right corner", WS_OVERLAPPEDWINDOW, 0, {W - 1, 3}, HTTOPRIGHT},
      {"bottom left corner", WS_OVERLAPPEDWINDOW, 0, {3, H - 3}, HTBOTTOMLEFT},
      {"bottom right corner", WS_OVERLAPPEDWINDOW, 0, {W - 3, H - 12}, HTBOTTOMRIGHT},
      {"fixed frame: border", sys, 0, {1, H / 2}, HTBORDER},
      {"fixed frame: close alone", sys, 0, {buttonX(fixed, 0), fixedCapY}, HTCLOSE},
      {"fixed frame: no maximise", sys, 0, {buttonX(fixed, 1), fixedCapY}, HTCAPTION},
      {"only minimise: maximise shows", sys | WS_MINIMIZEBOX, 0, {buttonX(fixed, 1), fixedCapY}, HTMAXBUTTON},
      {"only minimise: minimise", sys | WS_MINIMIZEBOX, 0, {buttonX(fixed, 2), fixedCapY}, HTMINBUTTON},
      {"context help", sys, WS_EX_CONTEXTHELP, {buttonX(fixed, 1), fixedCapY}, HTHELP},
      {"context help yields to min/max", sys | WS_MAXIMIZEBOX, WS_EX_CONTEXTHELP, {buttonX(fixed, 2), fixedCapY},
       HTMINBUTTON},
      {"no system menu: no buttons", WS_POPUP | WS_CAPTION | WS_MINIMIZEBOX, 0, {buttonX(fixed, 0), fixedCapY},
       HTCAPTION},
      {"no system menu: no icon", WS_POPUP | WS_CAPTION, 0, {fixed + 4, fixedCapY}, HTCAPTION},
      {"vertical bar", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {W - 2, H / 2}, HTVSCROLL},
      {"horizontal bar", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {W / 2, H - 2}, HTHSCROLL},
      {"size box", WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0, {W - 2, H - 2}, HTGROWBOX},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {1, H / 2}, HTBORDER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(c.style, c.exStyle, {100, 100, 100 + W, 100 + H});
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(100 + c.p.X, 100 + c.p.Y)), c.hit);
    DestroyWindow(w);
  }
  HWND w = Make(WS_OVERLAPPEDWINDOW, 0, {100, 100, 100 + W, 100 + H});
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(99, 150)), HTNOWHERE);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(100 + W, 150)), HTNOWHERE);
  // A maximised window cannot be sized by its frame.
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_EQ(SendMessage(w, WM_NCHITTEST, 0, MAKELPARAM(1, 300)), HTBORDER);
}

TEST_F(NonClient, CaptionButtonActsOnlyWhenReleasedOverIt) {
  struct Case {
    const char* name;
    int index;        // buttons from the right: close, maximise, minimise
    int releaseDx;    // where the button goes up, from where it went down
    bool backInside;  // the pointer leaves and comes back before the release
    WPARAM command;   // 0: none
  };
  const Case cases[] = {
      {"minimise", 2, 0, false, SC_MINIMIZE},
      {"minimise, released outside", 2, -3 * button, false, 0},
      {"minimise, left and came back", 2, 0, true, SC_MINIMIZE},
      {"maximise", 1, 0, false, SC_MAXIMIZE},
      {"close", 0, 0, false, SC_CLOSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Run();
    defwin::Log().clear();
    const POINT down = At(w, 400 - frame - c.index * button - button / 2, frame + caption / 2);
    Mouse(InputKind::MouseDown, down);
    if (c.backInside) Mouse(InputKind::MouseMove, {down.X, down.Y + 100});
    Mouse(InputKind::MouseMove, {down.X + c.releaseDx, down.Y});
    Mouse(InputKind::MouseUp, {down.X + c.releaseDx, down.Y});
    Run();
    auto commands = Calls(w, WM_SYSCOMMAND);
    if (!c.command) {
      EXPECT_TRUE(commands.empty());
      EXPECT_FALSE(IsIconic(w));
    } else {
      ASSERT_EQ(commands.size(), 1u);
      EXPECT_EQ(commands[0].WParam, c.command);
    }
    if (c.command == SC_MINIMIZE) {
      EXPECT_TRUE(IsIconic(w));
    }
    if (c.command == SC_MAXIMIZE) {
      EXPECT_TRUE(IsZoomed(w));
    }
    if (c.command == SC_CLOSE) {
      EXPECT_FALSE(IsWindow(w));
    } else {
      EXPECT_EQ(GetCapture(), nullptr);
      EXPECT_EQ(NonClientStateOf(w)->PressedButton, HTNOWHERE);
      DestroyWindow(w);
    }
    Backend().Advance(1000);  // no double click with the next case
  }
}

TEST_F(NonClient, MoveLoopFollowsTheMouseAndLetsWmMovingAdjust) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400});
  Run();
  defwin::Log().clear();
  Mouse(InputKind::MouseDown, {300, 110});
  Mouse(InputKind::MouseMove, {350, 130});
  Mouse(InputKind::MouseMove, {360, 150});
  Mouse(InputKind::MouseUp, {360, 150});
  Run();
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{160, 140, 560, 440}));
  auto moving = Calls(w, WM_MOVING);
  ASSERT_EQ(moving.size(), 2u);
  EXPECT_EQ(Calls(w, WM_ENTERSIZEMOVE).size(), 1u);
  EXPECT_EQ(Calls(w, WM_EXITSIZEMOVE).size(), 1u);
  EXPECT_EQ(GetCapture(), nullptr);

  // A WM_MOVING handler snaps the window to a grid of 25 pixels.
  Backend().Advance(1000);
  On(w, WM_MOVING, [](HWND, WPARAM, LPARAM l) -> LRESULT {
    auto* rect = reinterpret_cast<RECT*>(l);
    OffsetRect(rect, rect->Left / 25 * 25 - rect->Left, rect->Top / 25 * 25 - rect->Top);
    return TRUE;
  });
  Mouse(InputKind::MouseDown, {300, 160});
  Mouse(InputKind::MouseMove, {317, 182});
  Mouse(InputKind::MouseUp, {317, 182});
  Run();
  GetWindowRect(w, &r);
  EXPECT_EQ(r.TopLeft(), (POINT{175, 150}));
}

TEST_F(NonClient, EscapeOrLostCaptureEndsTheMoveLoop) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400});
  Run();
  Mouse(InputKind::MouseDown, {300, 110});
  Mouse(InputKind::MouseMove, {340, 140});
  Inject({.Kind = InputKind::KeyDown, .Key = VK_ESCAPE});
  Mouse(InputKind::MouseMove, {380, 180});  // after the loop: moves nothing
  Mouse(InputKind::MouseUp, {380, 180});
  Run();
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{100, 100, 500, 400}));
  EXPECT_EQ(Calls(w, WM_EXITSIZEMOVE).size(), 1u);

  // A handler taking the capture away ends the loop where the window is.
  Backend().Advance(1000);
  defwin::Log().clear();
  On(w, WM_MOVING, [](HWND, WPARAM, LPARAM) -> LRESULT {
    ReleaseCapture();
    return TRUE;
  });
  Mouse(InputKind::MouseDown, {300, 110});
  Mouse(InputKind::MouseMove, {310, 120});
  Mouse(InputKind::MouseMove, {320, 130});
  Mouse(InputKind::MouseUp, {320, 130});
  Run();
  EXPECT_EQ(Calls(w, WM_MOVING).size(), 1u);
  EXPECT_EQ(Calls(w, WM_EXITSIZEMOVE).size(), 1u);
  GetWindowRect(w, &r);
  EXPECT_EQ(r.TopLeft(), (POINT{110, 110}));
}

TEST_F(NonClient, SizeLoopMovesTheGrabbedEdgesWithinTheTrackingSize) {
  const int minX = GetSystemMetrics(SM_CXMIN), minY = GetSystemMetrics(SM_CYMIN);
  struct Case {
    const char* name;
    POINT grab;  // window coordinates
    POINT delta;
    WPARAM edge;
    RECT result;
  };
  const Case cases[] = {
      {"right", {398, 150}, {50, 10}, WMSZ_RIGHT, {100, 100, 550, 400}},
      {"bottom right", {398, 298}, {30, 40}, WMSZ_BOTTOMRIGHT, {100, 100, 530, 440}},
      {"top", {200, 1}, {5, 20}, WMSZ_TOP, {100, 120, 500, 400}},
      {"left, below the minimum", {1, 150}, {390, 0}, WMSZ_LEFT, {500 - minX, 100, 500, 400}},
      {"top left, below the minimum", {1, 1}, {395, 295}, WMSZ_TOPLEFT, {500 - minX, 400 - minY, 500, 400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400});
    Run();
    defwin::Log().clear();
    const POINT p = At(w, c.grab.X, c.grab.Y);
    Mouse(InputKind::MouseDown, p);
    Mouse(InputKind::MouseMove, {p.X + c.delta.X, p.Y + c.delta.Y});
    Mouse(InputKind::MouseUp, {p.X + c.delta.X, p.Y + c.delta.Y});
    Run();
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r, c.result);
    auto sizing = Calls(w, WM_SIZING);
    ASSERT_EQ(sizing.size(), 1u);
    EXPECT_EQ(sizing[0].WParam, c.edge);
    DestroyWindow(w);
    Backend().Advance(1000);
  }

  // WM_GETMINMAXINFO sets the limits.
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400});
  On(w, WM_GETMINMAXINFO, [](HWND, WPARAM, LPARAM l) -> LRESULT {
    reinterpret_cast<MINMAXINFO*>(l)->ptMaxTrackSize = {420, 320};
    return 0;
  });
  Run();
  Mouse(InputKind::MouseDown, At(w, 398, 298));
  Mouse(InputKind::MouseMove, At(w, 498, 398));
  Mouse(InputKind::MouseUp, At(w, 498, 398));
  Run();
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{100, 100, 520, 420}));
}

TEST_F(NonClient, DoubleClickOnTheCaptionMaximisesAndRestores) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400});
  HWND fixedSize = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, {600, 100, 900, 300});
  Run();
  auto doubleClick = [&](POINT p) {
    for (int i = 0; i < 2; ++i) {
      Mouse(InputKind::MouseDown, p);
      Mouse(InputKind::MouseUp, p);
    }
    Run();
    Backend().Advance(1000);
  };
  doubleClick(At(w, 200, frame + 4));
  EXPECT_TRUE(IsZoomed(w));
  doubleClick(At(w, 200, frame + 4));
  EXPECT_FALSE(IsZoomed(w));
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{100, 100, 500, 400}));
  doubleClick(At(fixedSize, 150, fixed + 4));
  EXPECT_FALSE(IsZoomed(fixedSize));
}

TEST_F(NonClient, CaptionButtonGlyphsAreSharp) {
  struct Case {
    const char* name;
    int kind;
    bool restore;
    const char* picture;
  };
  const Case cases[] = {
      {"close", HTCLOSE, false, kCloseGlyph},
      {"minimise", HTMINBUTTON, false, R"(
..........
..........
..........
..........
..........
##########
..........
..........
..........
..........
)"},
      {"maximise", HTMAXBUTTON, false, R"(
##########
#........#
#........#
#........#
#........#
#........#
#........#
#........#
#........#
##########
)"},
      {"restore", HTMAXBUTTON, true, R"(
..########
..#......#
########.#
#......#.#
#......#.#
#......#.#
#......#.#
#......###
#......#..
########..
)"},
  };
  const int w = GetSystemMetrics(SM_CXSIZE), h = GetSystemMetrics(SM_CYCAPTION);
  const RECT glyph{(w - 10) / 2, (h - 10) / 2, (w - 10) / 2 + 10, (h - 10) / 2 + 10};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestCanvas canvas(w, h, 0xFF123456u);
    DrawCaptionButton(canvas.DC(), {0, 0, w, h}, c.kind, true, false, false, true, c.restore);
    EXPECT_EQ(canvas.Mask(ncstyle::kCaptionText, glyph), Picture(c.picture));
    // Nothing but the button's face and its glyph, and nothing outside the glyph box.
    int face = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) face += canvas.Color(x, y) == ncstyle::kCaption;
    const std::string glyphMask = canvas.Mask(ncstyle::kCaptionText, glyph);
    EXPECT_EQ(face + std::count(glyphMask.begin(), glyphMask.end(), '#'), w * h);
    SaveIfFailed(canvas, c.name);
  }
  // A hot close button is red with a white cross; a disabled one greys its glyph.
  TestCanvas hot(w, h);
  DrawCaptionButton(hot.DC(), {0, 0, w, h}, HTCLOSE, true, true, false, true, false);
  EXPECT_EQ(hot.Color(0, 0), ncstyle::kCloseHot);
  EXPECT_EQ(hot.Mask(RGB(0xFF, 0xFF, 0xFF), glyph), Picture(kCloseGlyph));
  TestCanvas disabled(w, h);
  DrawCaptionButton(disabled.DC(), {0, 0, w, h}, HTCLOSE, false, true, true, true, false);
  EXPECT_EQ(disabled.Color(0, 0), ncstyle::kCaption);
  EXPECT_EQ(disabled.Mask(ncstyle::kGlyphDisabled, glyph), Picture(kCloseGlyph));
}

TEST_F(NonClient, PaintShowsFrameCaptionAndButtonsInTheActiveLook) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, {100, 100, 500, 400}, nullptr, nullptr, "Hello");
  Run();
  ASSERT_TRUE(IsFrameActive(w));
  const RECT closeGlyph{400 - frame - button + (button - 10) / 2, frame + (caption - 10) / 2, 0, 0};
  const RECT glyphArea{closeGlyph.Left, closeGlyph.Top, closeGlyph.Left + 10, closeGlyph.Top + 10};
  EXPECT_EQ(SurfaceColor(w, 0, 0), ncstyle::kBorderActive);
  EXPECT_EQ(SurfaceColor(w, 399, 299), ncstyle::kBorderActive);
  EXPECT_EQ(SurfaceColor(w, 3, 150), ncstyle::kCaption);
  EXPECT_EQ(SurfaceMask(w, ncstyle::kCaptionText, glyphArea), Picture(kCloseGlyph));
  // The title is written left in the caption, after the icon space.
  const RECT title{frame, frame, 200, frame + caption};
  EXPECT_GT(DarkPixels(w, title), 10);
  EXPECT_EQ(DarkPixels(w, {frame, frame, frame + 20, frame + caption}), 0);

  // Deactivated: grey border, grey text and glyphs.
  SendMessage(w, WM_NCACTIVATE, FALSE, 0);
  EXPECT_EQ(SurfaceColor(w, 0, 0), ncstyle::kBorderInactive);
  EXPECT_EQ(SurfaceMask(w, ncstyle::kCaptionTextInactive, glyphArea), Picture(kCloseGlyph));
  EXPECT_EQ(DarkPixels(w, title), 0);
  EXPECT_GT(DarkPixels(w, title, 0xD0), 10);

  // The mouse over the close button makes it hot, leaving cools it again.
  const POINT over = At(w, glyphArea.Left, glyphArea.Top);
  Backend().SetCursorPos(over);
  SendMessage(w, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(over.X, over.Y));
  EXPECT_EQ(SurfaceColor(w, 400 - frame - 1, frame), ncstyle::kCloseHot);
  EXPECT_EQ(SurfaceMask(w, RGB(0xFF, 0xFF, 0xFF), glyphArea), Picture(kCloseGlyph));
  SendMessage(w, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(SurfaceColor(w, 400 - frame - 1, frame), ncstyle::kCaption);

  // New text is drawn at once.
  SetWindowText(w, "");
  EXPECT_EQ(SurfaceMask(w, ncstyle::kCaption, title).find('.'), std::string::npos);
}

TEST_F(NonClient, ChildBordersAndEdgesAreDrawnOnTheParent) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, 0, {100, 100, 300, 300});
  Make(WS_CHILD | WS_VISIBLE | WS_BORDER, 0, {10, 10, 60, 60}, parent);
  Make(WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE, {100, 10, 150, 60}, parent);
  Run();
  EXPECT_EQ(SurfaceColor(parent, 10, 10), ncstyle::kBorderFlat);
  EXPECT_EQ(SurfaceColor(parent, 59, 59), ncstyle::kBorderFlat);
  EXPECT_EQ(SurfaceColor(parent, 11, 11), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(SurfaceColor(parent, 100, 10), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(SurfaceColor(parent, 101, 11), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(SurfaceColor(parent, 148, 58), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(SurfaceColor(parent, 102, 12), GetSysColor(COLOR_WINDOW));
}

}  // namespace

TEST_F(NonClient, ChildAnsweringSizingCodesIsSizedAndMovedInItsParent) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, 0, {100, 100, 500, 400});
  // A frameless child whose corner answers HTBOTTOMRIGHT and whose top strip HTCAPTION.
  HWND child = Make(WS_CHILD | WS_VISIBLE, 0, {50, 50, 150, 130}, parent);
  On(child, WM_NCHITTEST, [](HWND h, WPARAM, LPARAM l) -> LRESULT {
    RECT r{};
    GetWindowRect(h, &r);
    const POINT p{int16_t(LOWORD(uint64_t(l))) - r.Left, int16_t(HIWORD(uint64_t(l))) - r.Top};
    if (p.X >= r.Width() - 6 && p.Y >= r.Height() - 6) return HTBOTTOMRIGHT;
    return p.Y < 10 ? HTCAPTION : HTCLIENT;
  });
  On(child, WM_GETMINMAXINFO, [](HWND, WPARAM, LPARAM l) -> LRESULT {
    reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {40, 30};
    return 0;
  });
  Run();
  RECT r{};
  auto parentRect = [&] {
    GetWindowRect(child, &r);
    return RECT{r.Left - 100, r.Top - 100, r.Right - 100, r.Bottom - 100};
  };

  struct Case {
    const char* name;
    POINT press, to;  // screen
    bool escape;
    RECT want;  // in the parent's client area
    UINT loopMessage;
  };
  const Case cases[] = {
      {"corner drag sizes", {248, 228}, {278, 258}, false, {50, 50, 180, 160}, WM_SIZING},
      {"sizing keeps the minimum", {248, 228}, {100, 100}, false, {50, 50, 90, 80}, WM_SIZING},
      {"escape restores the size", {248, 228}, {300, 300}, true, {50, 50, 150, 130}, WM_SIZING},
      {"caption drag moves", {160, 153}, {200, 173}, false, {90, 70, 190, 150}, WM_MOVING},
      {"escape restores the place", {160, 153}, {200, 173}, true, {50, 50, 150, 130}, WM_MOVING},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetWindowPos(child, nullptr, 50, 50, 100, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    Run();
    defwin::Log().clear();
    Mouse(InputKind::MouseDown, c.press);
    Mouse(InputKind::MouseMove, c.to);
    if (c.escape) Inject({.Kind = InputKind::KeyDown, .Key = VK_ESCAPE});
    Mouse(InputKind::MouseUp, c.to);
    Run();
    EXPECT_EQ(parentRect(), c.want);
    EXPECT_EQ(Calls(child, WM_ENTERSIZEMOVE).size(), 1u);
    EXPECT_EQ(Calls(child, c.loopMessage).size(), 1u);
    EXPECT_EQ(Calls(child, WM_EXITSIZEMOVE).size(), 1u);
    EXPECT_EQ(Calls(parent, WM_ENTERSIZEMOVE).size(), 0u);
    EXPECT_EQ(GetCapture(), nullptr);
    Backend().Advance(1000);
  }
}
