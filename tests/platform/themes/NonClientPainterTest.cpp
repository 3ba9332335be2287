#include "support/Canvas.h"
#include "support/WinTest.h"
#include "themes/StyleManager.h"
#include "themes/UxTheme.h"
#include "win/NonClient.h"
#include "win/Paint.h"

namespace {

class NonClientPainterTest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    WNDCLASS wc{};
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "NcPainterFrame";
    ASSERT_NE(RegisterClass(&wc), 0);
  }
  void TearDown() override {
    TStyleManager::SetStyle("Windows");
    SetThemeAppProperties(STAP_VALIDBITS);
    WinTest::TearDown();
  }

  static HWND MakeFramed(DWORD exStyle = 0) {
    return CreateWindowEx(exStyle, "NcPainterFrame", "T", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 240, 160,
                          nullptr, nullptr, nullptr, nullptr);
  }
  static COLORREF At(HWND hwnd, POINT p) { return ColorRefFromPixel(hwnd->Pixels->At(p.X, p.Y)); }
  static void Repaint(HWND hwnd) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    Run();
  }
  // A caption point clear of the title (a single letter at the left) and the buttons.
  static POINT CaptionSample(const NonClientLayout& l) {
    return {l.CaptionText.Right - 4, (l.CaptionText.Top + l.CaptionText.Bottom) / 2};
  }
  // An element of the active style drawn alone over a rectangle of the window, read at p.
  static COLORREF Reference(const NonClientLayout& l, TThemedWindow e, const RECT& r, POINT p) {
    TestCanvas canvas(l.Window.Width(), l.Window.Height());
    StyleServices()->DrawElement(canvas.DC(), StyleServices()->GetElementDetails(e), r);
    return canvas.Color(p.X, p.Y);
  }
};

TEST_F(NonClientPainterTest, CaptionFollowsTheCustomStyleAndComesBackWithTheSystemStyle) {
  struct Case {
    const char* style;
    DWORD exStyle;
  };
  const Case cases[] = {
      {"Windows10 Dark", 0}, {"Glossy", 0}, {"Sky", 0}, {"Windows10 Dark", WS_EX_TOOLWINDOW},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(String(c.style) + (c.exStyle ? " (tool window)" : ""));
    HWND hwnd = MakeFramed(c.exStyle);
    ASSERT_NE(hwnd, nullptr);
    Run();
    const NonClientLayout l = NonClientLayoutOf(hwnd);
    ASSERT_FALSE(l.Caption.IsEmpty());
    const POINT p = CaptionSample(l);
    const COLORREF plain = At(hwnd, p);
    EXPECT_EQ(plain, ncstyle::kCaption);

    TStyleManager::SetStyle(c.style);
    Repaint(hwnd);
    const COLORREF styled = At(hwnd, p);
    EXPECT_NE(styled, plain);
    const bool active = IsFrameActive(hwnd);
    const bool small = c.exStyle & WS_EX_TOOLWINDOW;
    const TThemedWindow caption = small ? (active ? twSmallCaptionActive : twSmallCaptionInactive)
                                        : (active ? twCaptionActive : twCaptionInactive);
    // The caption element covers the top frame as well.
    EXPECT_EQ(styled, Reference(l, caption, {l.Window.Left, l.Window.Top, l.Window.Right, l.Caption.Bottom}, p));
    // The frame beside the client area is the style's too.
    const RECT left{l.Window.Left, l.Caption.Bottom, l.Window.Left + l.Border, l.Window.Bottom - l.Border};
    const POINT side{l.Window.Left, (l.Client.Top + l.Client.Bottom) / 2};
    EXPECT_EQ(At(hwnd, side), Reference(l, active ? twFrameLeftActive : twFrameLeftInactive, left, side));

    TStyleManager::SetStyle("Windows");
    Repaint(hwnd);
    EXPECT_EQ(At(hwnd, p), plain);
    DestroyWindow(hwnd);
    Run();
  }

  // Frame scroll bars: the thumb and the size box are the style's elements.
  HWND scrolled = CreateWindowEx(0, "NcPainterFrame", "T", WS_OVERLAPPEDWINDOW | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE,
                                 40, 40, 240, 160, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(scrolled, nullptr);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = 99;
  si.nPage = 20;
  SetScrollInfo(scrolled, SB_VERT, &si, TRUE);
  TStyleManager::SetStyle("Glossy");
  Repaint(scrolled);
  {
    const NonClientLayout l = NonClientLayoutOf(scrolled);
    const ScrollBarGeometry g = ScrollBarGeometryOf(scrolled, SB_VERT);
    const RECT thumb = ScrollBarPartRect(g, sbpThumb);
    ASSERT_FALSE(thumb.IsEmpty());
    const POINT inThumb{(thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2};
    TestCanvas canvas(l.Window.Width(), l.Window.Height());
    StyleServices()->DrawElement(canvas.DC(), StyleServices()->GetElementDetails(tsThumbBtnVertNormal), thumb);
    EXPECT_EQ(At(scrolled, inThumb), canvas.Color(inThumb.X, inThumb.Y));
    EXPECT_NE(At(scrolled, inThumb), ncstyle::kScrollThumb);
    ASSERT_FALSE(l.SizeGrip.IsEmpty());
    const POINT inBox{l.SizeGrip.Left + 1, l.SizeGrip.Top + 1};
    StyleServices()->DrawElement(canvas.DC(), StyleServices()->GetElementDetails(tsSizeBoxRightAlign), l.SizeGrip);
    EXPECT_EQ(At(scrolled, inBox), canvas.Color(inBox.X, inBox.Y));
  }
  TStyleManager::SetStyle("Windows");
  DestroyWindow(scrolled);
  Run();

  // Classic mode keeps the window system's own look.
  SetThemeAppProperties(0);
  HWND hwnd = MakeFramed();
  Run();
  const NonClientLayout l = NonClientLayoutOf(hwnd);
  EXPECT_EQ(At(hwnd, CaptionSample(l)), ncstyle::kCaption);
}

}  // namespace
