#include <map>

#include "support/Canvas.h"
#include "support/WinTest.h"
#include "win/NonClient.h"
#include "win/Paint.h"

namespace {

// Windows of the classes "DefPlain" (no brush, no cursor) and "DefBrushed" (a class
// brush and the I-beam) record their messages and leave everything else to
// DefWindowProc (defwin::Proc), unless a test tells them how to answer.
class DefWindowProcTest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASS wc;
    wc.lpfnWndProc = defwin::Proc;
    wc.lpszClassName = "DefPlain";
    RegisterClass(&wc);
    wc.lpszClassName = "DefBrushed";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(intptr_t(COLOR_BTNFACE + 1));
    wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
    RegisterClass(&wc);
    defwin::Log().clear();
  }
  void TearDown() override {
    defwin::Reset();
    WinTest::TearDown();
    defwin::Log().clear();
    ResetSysColors();
  }

  static HWND Make(DWORD style, RECT r, HWND parent = nullptr, const char* cls = "DefBrushed",
                   const String& text = "") {
    return CreateWindowEx(0, cls, text, style, r.Left, r.Top, r.Width(), r.Height(), parent, nullptr, nullptr,
                          nullptr);
  }
  static void On(HWND hwnd, UINT msg, std::function<LRESULT(HWND, WPARAM, LPARAM)> answer) {
    defwin::SetAnswer(hwnd, msg, std::move(answer));
  }
  static std::vector<RecordedMessage> Calls(HWND hwnd, UINT msg) { return defwin::CallsOf(hwnd, msg); }
  static COLORREF Pixel(HWND top, int x, int y) { return ColorRefFromPixel(top->Pixels->At(x, y)); }
};

TEST_F(DefWindowProcTest, SysCloseAsksWmCloseWhichDestroys) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND keep = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 800, 300});
  On(keep, WM_CLOSE, [](HWND, WPARAM, LPARAM) -> LRESULT { return 0; });
  SendMessage(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  SendMessage(keep, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindow(w));
  EXPECT_TRUE(IsWindow(keep));
  EXPECT_EQ(Calls(keep, WM_CLOSE).size(), 1u);
}

TEST_F(DefWindowProcTest, SystemCommandsMinimiseMaximiseAndRestore) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND noMax = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {500, 100, 800, 300});
  SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_TRUE(IsZoomed(w));
  SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(w));
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{100, 100, 400, 300}));
  SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(w));
  SendMessage(noMax, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(noMax));
}

TEST_F(DefWindowProcTest, AltF4ClosesTheTopLevelWindowOfTheFocus) {
  HWND top = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, top);
  Run();
  SetFocus(child);
  defwin::Log().clear();
  auto key = [](UINT vk, uint32_t modifiers) {
    Inject({.Kind = InputKind::KeyDown, .Key = vk, .Modifiers = modifiers});
    Inject({.Kind = InputKind::KeyUp, .Key = vk, .Modifiers = modifiers});
  };
  key(VK_F4, 0);  // F4 alone does nothing
  Inject({.Kind = InputKind::KeyDown, .Key = VK_MENU, .Modifiers = kModAlt});
  key(VK_SPACE, kModAlt);  // the window menu opens ...
  key(VK_ESCAPE, kModAlt);  // ... and closes again
  Run();
  ASSERT_TRUE(IsWindow(top));
  auto commands = Calls(top, WM_SYSCOMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].WParam, SC_KEYMENU);
  EXPECT_EQ(commands[0].LParam, ' ');
  EXPECT_EQ(Calls(top, WM_ENTERMENULOOP).size(), 1u);
  EXPECT_EQ(Calls(top, WM_EXITMENULOOP).size(), 1u);

  key(VK_F4, kModAlt);
  Run();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(Calls(child, WM_SYSKEYDOWN).empty());
}

TEST_F(DefWindowProcTest, EraseBackgroundFillsTheClipWithTheClassBrush) {
  HWND brushed = Make(WS_POPUP | WS_VISIBLE, {100, 100, 200, 200});
  HWND plain = Make(WS_POPUP | WS_VISIBLE, {300, 100, 400, 200}, nullptr, "DefPlain");
  Run();
  EXPECT_EQ(Pixel(brushed, 50, 50), GetSysColor(COLOR_BTNFACE));
  HDC dc = GetDC(plain);
  EXPECT_EQ(SendMessage(plain, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  ReleaseDC(plain, dc);

  // A brush of its own, through a DC clipped to a small square.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SetClassLongPtr(brushed, GCLP_HBRBACKGROUND, reinterpret_cast<intptr_t>(red));
  dc = GetDC(brushed);
  IntersectClipRect(dc, 10, 10, 20, 20);
  EXPECT_EQ(SendMessage(brushed, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
  ReleaseDC(brushed, dc);
  EXPECT_EQ(Pixel(brushed, 10, 10), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(brushed, 19, 19), RGB(255, 0, 0));
  EXPECT_EQ(Pixel(brushed, 20, 20), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(Pixel(brushed, 9, 15), GetSysColor(COLOR_BTNFACE));

  // Painting erases with it too.
  InvalidateRect(brushed, nullptr, TRUE);
  Run();
  EXPECT_EQ(Pixel(brushed, 50, 50), RGB(255, 0, 0));
  SetClassLongPtr(brushed, GCLP_HBRBACKGROUND, 0);
  DeleteObject(red);
}

TEST_F(DefWindowProcTest, SetRedrawFalseKeepsTheWindowFromPainting) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, {100, 100, 200, 200});
  Run();
  SendMessage(w, WM_SETREDRAW, FALSE, 0);
  SetSysColor(COLOR_BTNFACE, RGB(0, 128, 0));
  InvalidateRect(w, nullptr, TRUE);
  Run();
  EXPECT_NE(Pixel(w, 50, 50), RGB(0, 128, 0));
  // Turning it back on paints nothing by itself; the caller invalidates.
  SendMessage(w, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(w, nullptr, TRUE);
  Run();
  EXPECT_EQ(Pixel(w, 50, 50), RGB(0, 128, 0));
}

TEST_F(DefWindowProcTest, PrintDrawsFrameBackgroundAndChildrenAtTheirPlaces) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  WNDCLASS wc;
  wc.lpfnWndProc = defwin::Proc;
  wc.lpszClassName = "DefRed";
  wc.hbrBackground = red;
  RegisterClass(&wc);
  wc.lpszClassName = "DefBlue";
  wc.hbrBackground = blue;
  RegisterClass(&wc);

  // Hidden windows print as well, unless PRF_CHECKVISIBLE says otherwise.
  HWND parent = Make(WS_POPUP | WS_BORDER, {100, 100, 200, 180});
  Make(WS_CHILD | WS_VISIBLE, {10, 10, 60, 40}, parent, "DefRed");
  HWND top = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, {40, 20, 90, 60}, parent, "DefBlue");
  Make(WS_CHILD, {0, 0, 98, 78}, parent, "DefRed");  // hidden: not printed
  // The client procedure draws a black line across far more than its width.
  On(top, WM_PRINTCLIENT, [](HWND, WPARAM w, LPARAM) -> LRESULT {
    const RECT line{-100, 0, 300, 1};
    FillRect(reinterpret_cast<HDC>(w), &line, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return 0;
  });

  TestCanvas canvas(100, 80, 0xFF00FF00u);
  SendMessage(parent, WM_PRINT, reinterpret_cast<WPARAM>(canvas.DC()), PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT);
  EXPECT_EQ(canvas.Color(0, 0), RGB(0, 255, 0));  // not visible: nothing

  SendMessage(parent, WM_PRINT, reinterpret_cast<WPARAM>(canvas.DC()),
              PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT | PRF_CHILDREN);
  // The parent's border, its background, then the children bottom first.
  EXPECT_EQ(canvas.Color(0, 0), ncstyle::kBorderFlat);
  EXPECT_EQ(canvas.Color(99, 79), ncstyle::kBorderFlat);
  EXPECT_EQ(canvas.Color(5, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(canvas.Color(1 + 15, 1 + 15), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Color(1 + 40, 1 + 20), ncstyle::kBorderFlat);  // the blue child's border
  EXPECT_EQ(canvas.Color(1 + 41, 1 + 21), RGB(0, 0, 0));          // its client area's first row
  EXPECT_EQ(canvas.Color(1 + 88, 1 + 21), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Color(1 + 89, 1 + 21), ncstyle::kBorderFlat);  // the line stops at the client edge
  EXPECT_EQ(canvas.Color(1 + 30, 1 + 21), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Color(1 + 50, 1 + 30), RGB(0, 0, 255));  // above the red one
  EXPECT_EQ(canvas.Color(1 + 89, 1 + 59), ncstyle::kBorderFlat);
  EXPECT_EQ(canvas.Color(1 + 95, 1 + 70), GetSysColor(COLOR_BTNFACE));
  SaveIfFailed(canvas, "print");

  // Only what the flags ask for: here the client procedures, of the children too.
  TestCanvas small(100, 80, 0xFF00FF00u);
  SendMessage(parent, WM_PRINT, reinterpret_cast<WPARAM>(small.DC()), PRF_CLIENT | PRF_CHILDREN);
  EXPECT_EQ(small.Color(0, 0), RGB(0, 255, 0));
  EXPECT_EQ(small.Color(1 + 15, 1 + 15), RGB(0, 255, 0));
  EXPECT_EQ(small.Color(1 + 41, 1 + 21), RGB(0, 0, 0));
  EXPECT_EQ(small.Color(1 + 30, 1 + 21), RGB(0, 255, 0));
  EXPECT_EQ(small.Color(1 + 89, 1 + 21), RGB(0, 255, 0));
  EXPECT_EQ(small.Color(1 + 41, 1 + 22), RGB(0, 255, 0));

  ResetWindowSystem();
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(DefWindowProcTest, TextIsStoredCountedInCharactersAndShownAsTitle) {
  HWND w = Make(WS_OVERLAPPEDWINDOW, {100, 100, 400, 300}, nullptr, "DefPlain", "First");
  String text;
  EXPECT_EQ(GetWindowText(w, &text), 5);
  EXPECT_EQ(text, "First");
  EXPECT_TRUE(SetWindowText(w, "Gr\xC3\xBC\xC3\x9F" "e"));  // Grüße
  EXPECT_EQ(GetWindowTextLength(w), 5);
  EXPECT_EQ(Backend().Window(w->Native)->Desc.Title, "Gr\xC3\xBC\xC3\x9F" "e");
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(&text)), 3);
  EXPECT_EQ(text, "Gr\xC3\xBC");
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, 0, reinterpret_cast<LPARAM>(&text)), 0);
  EXPECT_EQ(text, "");
  EXPECT_EQ(SendMessage(w, WM_GETTEXT, 10, 0), 0);
  EXPECT_TRUE(SendMessage(w, WM_SETTEXT, 0, 0));
  EXPECT_EQ(GetWindowTextLength(w), 0);
}

TEST_F(DefWindowProcTest, SetCursorFollowsTheHitCodeAndLetsTheParentDecide) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, {100, 100, 400, 300}, nullptr, "DefPlain");
  HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 100, 100}, parent);
  HWND plainChild = Make(WS_CHILD | WS_VISIBLE, {110, 10, 200, 100}, parent, "DefPlain");
  struct Case {
    HWND hwnd;
    int hit;
    LRESULT answer;
    intptr_t cursor;
  };
  const Case cases[] = {
      {child, HTCLIENT, TRUE, IDC_IBEAM},       {child, HTLEFT, TRUE, IDC_SIZEWE},
      {child, HTBOTTOM, TRUE, IDC_SIZENS},      {child, HTTOPLEFT, TRUE, IDC_SIZENWSE},
      {child, HTBOTTOMLEFT, TRUE, IDC_SIZENESW}, {child, HTCAPTION, TRUE, IDC_ARROW},
      {plainChild, HTCLIENT, FALSE, IDC_HAND},  // no class cursor: left as it was
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hit);
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    EXPECT_EQ(SendMessage(c.hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(c.hwnd), MAKELPARAM(c.hit, WM_MOUSEMOVE)),
              c.answer);
    EXPECT_EQ(CursorId(GetCursor()), c.cursor);
  }
  // A parent that sets the cursor itself wins.
  On(parent, WM_SETCURSOR, [](HWND, WPARAM, LPARAM) -> LRESULT {
    SetCursor(LoadCursor(nullptr, IDC_CROSS));
    return TRUE;
  });
  EXPECT_EQ(SendMessage(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
  EXPECT_EQ(CursorId(GetCursor()), IDC_CROSS);
}

TEST_F(DefWindowProcTest, ChildrenPassMouseActivationWheelAndContextMenuToTheParent) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, {100, 100, 400, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 100, 100}, parent);
  const LPARAM where = MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN);
  EXPECT_EQ(SendMessage(child, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), where), MA_ACTIVATE);
  On(parent, WM_MOUSEACTIVATE, [](HWND, WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATEANDEAT; });
  EXPECT_EQ(SendMessage(child, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(parent), where), MA_NOACTIVATEANDEAT);

  defwin::Log().clear();
  SendMessage(child, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(150, 150));
  auto wheels = Calls(parent, WM_MOUSEWHEEL);
  ASSERT_EQ(wheels.size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheels[0].WParam), -120);
  EXPECT_EQ(SendMessage(parent, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(150, 150)), 0);

  // A right click asks for a context menu at the screen point, which goes up the tree.
  SendMessage(child, WM_RBUTTONUP, 0, MAKELPARAM(5, 6));
  auto menus = Calls(parent, WM_CONTEXTMENU);
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].WParam, reinterpret_cast<WPARAM>(child));
  EXPECT_EQ(menus[0].LParam, MAKELPARAM(100 + 10 + 5, 100 + 10 + 6));
}

TEST_F(DefWindowProcTest, WindowPosChangedSendsSizeAndMoveForWhatChanged) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, {100, 100, 400, 300});
  HWND w = Make(WS_CHILD | WS_VISIBLE | WS_BORDER, {10, 10, 110, 60}, parent);
  struct Case {
    const char* name;
    RECT to;
    bool size, move;
  };
  const Case cases[] = {
      {"move", {20, 30, 120, 80}, false, true},
      {"size", {20, 30, 170, 130}, true, false},
      {"both", {0, 0, 50, 50}, true, true},
      {"nothing", {0, 0, 50, 50}, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    defwin::Log().clear();
    MoveWindow(w, c.to.Left, c.to.Top, c.to.Width(), c.to.Height(), TRUE);
    auto sizes = Calls(w, WM_SIZE);
    auto moves = Calls(w, WM_MOVE);
    ASSERT_EQ(sizes.size(), c.size ? 1u : 0u);
    ASSERT_EQ(moves.size(), c.move ? 1u : 0u);
    if (c.size) {
      EXPECT_EQ(sizes[0].WParam, SIZE_RESTORED);
      EXPECT_EQ(sizes[0].LParam, MAKELPARAM(c.to.Width() - 2, c.to.Height() - 2));
    }
    if (c.move) {
      EXPECT_EQ(moves[0].LParam, MAKELPARAM(c.to.Left + 1, c.to.Top + 1));
    }
  }
  defwin::Log().clear();
  ShowWindow(parent, SW_MAXIMIZE);
  auto sizes = Calls(parent, WM_SIZE);
  ASSERT_FALSE(sizes.empty());
  for (const RecordedMessage& s : sizes) EXPECT_EQ(s.WParam, SIZE_MAXIMIZED);
}

TEST_F(DefWindowProcTest, SizableTopLevelWindowsKeepTheirMinimumTrackingSize) {
  const int minX = GetSystemMetrics(SM_CXMIN), minY = GetSystemMetrics(SM_CYMIN);
  struct Case {
    const char* name;
    DWORD style;
    bool child;
    SIZE result;
  };
  const Case cases[] = {
      {"overlapped", WS_OVERLAPPEDWINDOW, false, {minX, minY}},
      {"caption only", WS_POPUP | WS_CAPTION, false, {minX, minY}},
      {"thick frame only", WS_POPUP | WS_THICKFRAME, false, {minX, minY}},
      {"plain popup", WS_POPUP, false, {50, 20}},
      {"child with a thick frame", WS_CHILD | WS_THICKFRAME, true, {50, 20}},
  };
  HWND parent = Make(WS_POPUP, {0, 0, 600, 600});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Make(c.style, {10, 10, 310, 310}, c.child ? parent : nullptr);
    SetWindowPos(w, nullptr, 0, 0, 50, 20, SWP_NOMOVE | SWP_NOZORDER);
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_EQ(r.Width(), c.result.cx);
    EXPECT_EQ(r.Height(), c.result.cy);
    DestroyWindow(w);
  }
  HWND w = Make(WS_OVERLAPPEDWINDOW, {10, 10, 310, 310});
  On(w, WM_GETMINMAXINFO, [](HWND, WPARAM, LPARAM l) -> LRESULT {
    auto* mm = reinterpret_cast<MINMAXINFO*>(l);
    mm->ptMinTrackSize = {200, 150};
    mm->ptMaxTrackSize = {400, 350};
    return 0;
  });
  SetWindowPos(w, nullptr, 0, 0, 50, 20, SWP_NOMOVE | SWP_NOZORDER);
  RECT r{};
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{10, 10, 210, 160}));
  SetWindowPos(w, nullptr, 0, 0, 5000, 5000, SWP_NOMOVE | SWP_NOZORDER);
  GetWindowRect(w, &r);
  EXPECT_EQ(r, (RECT{10, 10, 410, 360}));

  // DefWindowProc fills an empty MINMAXINFO and leaves a filled one alone.
  MINMAXINFO mm{};
  DefWindowProc(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  EXPECT_EQ(mm.ptMinTrackSize, (POINT{minX, minY}));
  EXPECT_GE(mm.ptMaxTrackSize.X, GetSystemMetrics(SM_CXSCREEN));
  mm.ptMinTrackSize = {1, 2};
  DefWindowProc(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
  EXPECT_EQ(mm.ptMinTrackSize, (POINT{1, 2}));
}

TEST_F(DefWindowProcTest, ControlColoursAreWindowForFieldsAndFaceForTheRest) {
  HWND w = Make(WS_POPUP, {0, 0, 100, 100});
  struct Case {
    UINT msg;
    int color;
  };
  const Case cases[] = {
      {WM_CTLCOLOREDIT, COLOR_WINDOW}, {WM_CTLCOLORLISTBOX, COLOR_WINDOW}, {WM_CTLCOLORSTATIC, COLOR_BTNFACE},
      {WM_CTLCOLORDLG, COLOR_BTNFACE}, {WM_CTLCOLORBTN, COLOR_BTNFACE},
  };
  TestCanvas canvas(4, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    SetBkColor(canvas.DC(), RGB(1, 2, 3));
    SetTextColor(canvas.DC(), RGB(4, 5, 6));
    const LRESULT brush = SendMessage(w, c.msg, reinterpret_cast<WPARAM>(canvas.DC()), 0);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(c.color));
    EXPECT_EQ(GetBkColor(canvas.DC()), GetSysColor(c.color));
    EXPECT_EQ(GetTextColor(canvas.DC()), GetSysColor(COLOR_WINDOWTEXT));
  }
}

TEST_F(DefWindowProcTest, ActivationFocusesTheWindowAndCancelModeDropsTheCapture) {
  HWND a = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND b = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 800, 300});
  HWND child = Make(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, b);
  // Windows that leave WM_ACTIVATE to the default get the focus back where it was.
  SetActiveWindow(b);
  SetFocus(child);
  SetActiveWindow(a);
  EXPECT_EQ(GetFocus(), a) << "a window never focused before takes the focus itself";
  SetActiveWindow(b);
  EXPECT_EQ(GetFocus(), child);
  SendMessage(b, WM_ACTIVATE, WA_ACTIVE, 0);  // the message alone moves nothing
  EXPECT_EQ(GetFocus(), child);

  SetCapture(a);
  SendMessage(b, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), a);
  SendMessage(a, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
