// The theme library's buffered animation on the headless backend: the buffers handed out,
// what End paints, frames on the virtual clock, frames asked for by timer, a fade taken
// over in the middle, stopping, the window going away, and bad input.
#include <gtest/gtest.h>

#include "gdi/Gdi.h"
#include "support/Canvas.h"
#include "support/Colors.h"
#include "support/WinTest.h"
#include "themes/BufferedAnimation.h"
#include "win/Paint.h"

namespace {

constexpr COLORREF kOld = RGB(200, 40, 0);
constexpr COLORREF kNew = RGB(0, 120, 250);
constexpr COLORREF kBack = RGB(255, 255, 255);
constexpr RECT kArea{10, 5, 40, 25};

void Fill(HDC dc, const RECT& r, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

class BufferedAnimationTest : public WinTest {
 protected:
  void SetUp() override {
    WinTest::SetUp();
    Window = Top("W", {0, 0, 100, 60});
  }
  void TearDown() override {
    SetBufferedAnimationBindingPresent(true);
    WinTest::TearDown();
    EXPECT_EQ(BufferedAnimationCount(), 0u) << "the window went: so did its animations";
  }

  // Begins a fade of kArea from kOld to kNew on the target and ends it.
  void StartFade(HDC target, DWORD duration = 100) {
    BP_ANIMATIONPARAMS params;
    params.dwDuration = duration;
    HDC from = nullptr, to = nullptr;
    HANIMATIONBUFFER a =
        BeginBufferedAnimation(Window, target, &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(from, nullptr);
    ASSERT_NE(to, nullptr);
    Fill(from, kArea, kOld);
    Fill(to, kArea, kNew);
    ASSERT_EQ(EndBufferedAnimation(a, TRUE), S_OK);
  }

  HWND Window = nullptr;
};

TEST_F(BufferedAnimationTest, WithoutDurationEndPaintsTheNewImageInTheTargetsCoordinates) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 0;
  HDC from = reinterpret_cast<HDC>(1), to = nullptr;
  HANIMATIONBUFFER a =
      BeginBufferedAnimation(Window, target.DC(), &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(from, nullptr);
  ASSERT_NE(to, nullptr);
  // The buffer starts as the target's pixels: what is left unpainted stays as it was.
  Fill(to, {kArea.Left, kArea.Top, kArea.Left + 10, kArea.Bottom}, kNew);
  EXPECT_EQ(target.Color(12, 6), kBack) << "nothing shows before End";
  EXPECT_EQ(EndBufferedAnimation(a, TRUE), S_OK);
  EXPECT_EQ(target.InkBounds(0xFFFFFFFFu), (RECT{10, 5, 20, 25}));
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  EXPECT_EQ(EndBufferedAnimation(a, TRUE), E_INVALIDARG) << "ended once only";
}

TEST_F(BufferedAnimationTest, AFadeBlendsLinearlyOnTheClockThenPaintsTheNewImageOnce) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  StartFade(target.DC());
  EXPECT_EQ(target.Color(10, 5), kOld) << "End paints the first frame";
  EXPECT_EQ(target.Color(9, 5), kBack);
  EXPECT_EQ(BufferedAnimationCount(), 1u);
  const struct {
    uint64_t At;  // ms since the start
  } frames[] = {{0}, {25}, {50}, {99}};
  uint64_t now = 0;
  for (const auto& f : frames) {
    Backend().Advance(f.At - now);
    now = f.At;
    target.Fill(0xFFFFFFFFu);
    EXPECT_TRUE(BufferedPaintRenderAnimation(Window, target.DC()));
    EXPECT_TRUE(NearColor(target.Color(25, 15), LinearBlend(kOld, kNew, f.At / 100.0))) << "at " << f.At;
    EXPECT_EQ(target.InkBounds(0xFFFFFFFFu), kArea);
  }
  Backend().Advance(1);
  EXPECT_TRUE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_EQ(target.Color(39, 24), kNew);
  EXPECT_EQ(BufferedAnimationCount(), 0u) << "the last frame ends it";
  target.Fill(0xFFFFFFFFu);
  EXPECT_FALSE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_EQ(target.Color(25, 15), kBack);
}

TEST_F(BufferedAnimationTest, ATimerAsksTheWindowForFramesUntilTheFadeIsOver) {
  int paints = 0;
  COLORREF last = 0;
  Answer(Window, WM_PAINT, [&](HWND hwnd, WPARAM, LPARAM) -> LRESULT {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    ++paints;
    if (BufferedPaintRenderAnimation(hwnd, dc)) last = ColorRefFromPixel(hwnd->Pixels->At(20, 10));
    EndPaint(hwnd, &ps);
    return 0;
  });
  Run();
  paints = 0;
  HDC dc = GetDC(Window);
  StartFade(dc, 60);
  ReleaseDC(Window, dc);
  Run();
  EXPECT_EQ(paints, 0) << "nothing is asked before the first period";
  Backend().Advance(15);
  Run();
  EXPECT_EQ(paints, 1);
  EXPECT_TRUE(NearColor(last, LinearBlend(kOld, kNew, 15 / 60.0)));
  Backend().Advance(15);
  Run();
  EXPECT_EQ(paints, 2);
  Backend().Advance(45);
  Run();
  EXPECT_EQ(paints, 3);
  EXPECT_EQ(last, kNew);
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  Backend().Advance(100);
  Run();
  EXPECT_EQ(paints, 3) << "no more frames are asked for";
}

TEST_F(BufferedAnimationTest, TheLastFramePaintedElsewhereStillReachesTheWindow) {
  Run();
  HDC dc = GetDC(Window);
  StartFade(dc, 60);
  ReleaseDC(Window, dc);
  Backend().Advance(60);
  TestCanvas grab(60, 40, 0xFFFFFFFFu);
  EXPECT_TRUE(BufferedPaintRenderAnimation(Window, grab.DC()));
  EXPECT_EQ(grab.Color(20, 10), kNew);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(Window, &update, FALSE)) << "the window shows an earlier frame";
}

TEST_F(BufferedAnimationTest, AFadeThatIsNotRenderedEndsShortlyAfterItsDuration) {
  HDC dc = GetDC(Window);
  StartFade(dc, 30);
  ReleaseDC(Window, dc);
  for (int i = 0; i < 4; ++i) {
    Backend().Advance(15);
    Run();
  }
  EXPECT_EQ(BufferedAnimationCount(), 0u);
}

TEST_F(BufferedAnimationTest, ANewFadeDuringAFadeStartsFromTheFrameOnScreen) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  StartFade(target.DC(), 100);
  Backend().Advance(40);
  const COLORREF shown = LinearBlend(kOld, kNew, 0.4);
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 100;
  HDC from = reinterpret_cast<HDC>(1), to = nullptr;
  HANIMATIONBUFFER a =
      BeginBufferedAnimation(Window, target.DC(), &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(from, nullptr) << "the service holds the starting image itself";
  Fill(to, kArea, kOld);  // back to the old look
  ASSERT_EQ(EndBufferedAnimation(a, TRUE), S_OK);
  EXPECT_TRUE(NearColor(target.Color(20, 10), shown));
  EXPECT_EQ(BufferedAnimationCount(), 1u) << "the new fade replaced the old one";
  Backend().Advance(50);
  ASSERT_TRUE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_TRUE(NearColor(target.Color(20, 10), LinearBlend(shown, kOld, 0.5), 2));
  Backend().Advance(50);
  ASSERT_TRUE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_EQ(target.Color(20, 10), kOld);
}

TEST_F(BufferedAnimationTest, ANewImageWithoutDurationEndsARunningFade) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  StartFade(target.DC(), 100);
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 0;
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER a =
      BeginBufferedAnimation(Window, target.DC(), &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &params, &from, &to);
  ASSERT_NE(a, nullptr);
  Fill(to, kArea, RGB(0, 200, 0));
  EndBufferedAnimation(a, TRUE);
  EXPECT_EQ(target.Color(20, 10), RGB(0, 200, 0));
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  EXPECT_FALSE(BufferedPaintRenderAnimation(Window, target.DC()));
}

TEST_F(BufferedAnimationTest, EndingWithoutUpdatePaintsNothingAndStartsNothing) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 100;
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER a =
      BeginBufferedAnimation(Window, target.DC(), &kArea, BPBF_TOPDOWNDIB, nullptr, &params, &from, &to);
  ASSERT_NE(a, nullptr);
  Fill(to, kArea, kNew);
  EXPECT_EQ(EndBufferedAnimation(a, FALSE), S_OK);
  EXPECT_EQ(target.InkBounds(0xFFFFFFFFu), RECT{});
  EXPECT_EQ(BufferedAnimationCount(), 0u);
}

TEST_F(BufferedAnimationTest, StoppingEndsTheFadeAndHasTheWindowPaintItsLook) {
  TestCanvas target(60, 40, 0xFFFFFFFFu);
  Run();
  StartFade(target.DC());
  EXPECT_EQ(BufferedPaintStopAllAnimations(Window), S_OK);
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(Window, &update, FALSE)) << "the frame on screen is not the window's look";
  EXPECT_FALSE(BufferedPaintRenderAnimation(Window, target.DC()));
  Run();
  EXPECT_EQ(BufferedPaintStopAllAnimations(Window), S_OK);
  EXPECT_FALSE(GetUpdateRect(Window, &update, FALSE)) << "nothing ran: nothing to repaint";
}

TEST_F(BufferedAnimationTest, TheWindowGoingFreesItsFadeAndTheBuffersOfABegunOne) {
  TestCanvas target(60, 40);
  HWND other = Top("Other", {0, 100, 50, 150});
  const size_t objects = LiveObjectCount();
  StartFade(target.DC());
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 100;
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER begun =
      BeginBufferedAnimation(other, target.DC(), &kArea, BPBF_DIB, nullptr, &params, &from, &to);
  ASSERT_NE(begun, nullptr);
  EXPECT_EQ(BufferedAnimationCount(), 2u);
  DestroyWindow(Window);
  DestroyWindow(other);
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  EXPECT_EQ(EndBufferedAnimation(begun, TRUE), E_INVALIDARG);
  EXPECT_EQ(LiveObjectCount(), objects) << "the buffers' DCs and bitmaps are gone";
  Backend().Advance(50);
  Run();
}

TEST_F(BufferedAnimationTest, TheServiceLeavesTheProcedureChainAsItFoundIt) {
  const intptr_t original = GetWindowLongPtr(Window, GWLP_WNDPROC);
  TestCanvas target(60, 40);
  StartFade(target.DC());
  EXPECT_NE(GetWindowLongPtr(Window, GWLP_WNDPROC), original) << "it watches the window while it fades";
  Backend().Advance(100);
  ASSERT_TRUE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_EQ(GetWindowLongPtr(Window, GWLP_WNDPROC), original);

  // A procedure put in after the service's keeps it in the chain, passing messages on.
  StartFade(target.DC());
  static int seen = 0;
  static WNDPROC previous = nullptr;
  seen = 0;
  previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtr(Window, GWLP_WNDPROC, reinterpret_cast<intptr_t>(+[](HWND h, UINT m, WPARAM w, LPARAM l) {
        if (m == WM_USER) ++seen;
        return CallWindowProc(previous, h, m, w, l);
      })));
  BufferedPaintStopAllAnimations(Window);
  ClearLog();
  SendMessage(Window, WM_USER, 0, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(Messages({WM_USER}).size(), 1u) << "the window's own procedure still gets it";
}

TEST_F(BufferedAnimationTest, BadInputBeginsNothing) {
  TestCanvas target(60, 40);
  HDC deadDC = CreateCompatibleDC(nullptr);
  DeleteDC(deadDC);
  HWND dead = Top("Dead", {0, 0, 10, 10});
  DestroyWindow(dead);
  const RECT empty{10, 10, 10, 30};
  const RECT inverted{30, 10, 10, 30};
  const RECT huge{-(1 << 30), 0, 1 << 30, 10};
  BP_ANIMATIONPARAMS good;
  good.dwDuration = 100;
  BP_ANIMATIONPARAMS wrongSize = good;
  wrongSize.cbSize = 12;
  BP_PAINTPARAMS wrongPaint;
  wrongPaint.cbSize = 4;
  HDC from = nullptr, to = nullptr;
  struct Case {
    const char* What;
    HWND Window;
    HDC Target;
    const RECT* Rect;
    int Format;
    const BP_PAINTPARAMS* Paint;
    const BP_ANIMATIONPARAMS* Params;
    HDC* To;
    bool Bound;
  };
  const Case cases[] = {
      {"no window", nullptr, target.DC(), &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"dead window", dead, target.DC(), &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"dead DC", Window, deadDC, &kArea, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"no rectangle", Window, target.DC(), nullptr, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"empty rectangle", Window, target.DC(), &empty, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"inverted rectangle", Window, target.DC(), &inverted, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"huge rectangle", Window, target.DC(), &huge, BPBF_COMPATIBLEBITMAP, nullptr, &good, &to, true},
      {"unknown format", Window, target.DC(), &kArea, 7, nullptr, &good, &to, true},
      {"paint parameters of a wrong size", Window, target.DC(), &kArea, BPBF_DIB, &wrongPaint, &good, &to, true},
      {"no animation parameters", Window, target.DC(), &kArea, BPBF_DIB, nullptr, nullptr, &to, true},
      {"animation parameters of a wrong size", Window, target.DC(), &kArea, BPBF_DIB, nullptr, &wrongSize, &to, true},
      {"nowhere to put the new image's DC", Window, target.DC(), &kArea, BPBF_DIB, nullptr, &good, nullptr, true},
      {"binding absent", Window, target.DC(), &kArea, BPBF_DIB, nullptr, &good, &to, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    SetBufferedAnimationBindingPresent(c.Bound);
    from = to = reinterpret_cast<HDC>(1);
    EXPECT_EQ(BeginBufferedAnimation(c.Window, c.Target, c.Rect, BP_BUFFERFORMAT(c.Format), c.Paint, c.Params, &from,
                                     c.To),
              nullptr);
    EXPECT_EQ(from, nullptr);
    if (c.To) {
      EXPECT_EQ(to, nullptr);
    }
  }
  SetBufferedAnimationBindingPresent(true);
  EXPECT_EQ(BufferedAnimationCount(), 0u);
  EXPECT_EQ(EndBufferedAnimation(nullptr, TRUE), E_INVALIDARG);
  EXPECT_FALSE(BufferedPaintRenderAnimation(Window, target.DC()));
  EXPECT_FALSE(BufferedPaintRenderAnimation(dead, target.DC()));
  EXPECT_EQ(BufferedPaintStopAllAnimations(dead), E_INVALIDARG);
  SetBufferedAnimationBindingPresent(false);
  EXPECT_EQ(BufferedPaintStopAllAnimations(Window), E_FAIL);
}

TEST_F(BufferedAnimationTest, EraseStartsTheBuffersCleared) {
  TestCanvas target(60, 40, 0xFF123456u);
  BP_PAINTPARAMS paint;
  paint.dwFlags = BPPF_ERASE;
  BP_ANIMATIONPARAMS params;
  params.dwDuration = 0;
  HDC from = nullptr, to = nullptr;
  HANIMATIONBUFFER a = BeginBufferedAnimation(Window, target.DC(), &kArea, BPBF_TOPDOWNDIB, &paint, &params, &from, &to);
  ASSERT_NE(a, nullptr);
  EndBufferedAnimation(a, TRUE);
  EXPECT_EQ(target.Pixel(20, 10), 0x00000000u);
  EXPECT_EQ(target.Pixel(9, 10), 0xFF123456u);
}

}  // namespace
