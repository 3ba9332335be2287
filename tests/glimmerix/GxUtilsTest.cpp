// gx_utils and gx_winapi: rectangle arithmetic, the client rectangle of a control in its
// own bounds, the processor tests and the looked-up TransparentBlt.
#include <gtest/gtest.h>

#include "backend/Headless.h"
#include "gx_utils.h"
#include "gx_winapi.h"
#include "vcl/Controls.h"
#include "win/Messages.h"
#include "win/Queue.h"
#include "win/Window.h"

namespace {

struct CenterCase {
  TRect R, Bounds, Want;
};

TEST(GxUtils, RectangleArithmetic) {
  EXPECT_EQ(gxRectWidth({3, 1, 10, 4}), 7);
  EXPECT_EQ(gxRectHeight({3, 1, 10, 4}), 3);
  EXPECT_EQ(gxRectWidth({5, 0, 2, 0}), -3);
  EXPECT_FALSE(gxRectIsEmpty({0, 0, 1, 1}));
  EXPECT_TRUE(gxRectIsEmpty({0, 0, 0, 5}));
  EXPECT_TRUE(gxRectIsEmpty({0, 5, 3, 4}));

  const CenterCase cases[] = {
      {{0, 0, 4, 2}, {10, 10, 20, 20}, {13, 14, 17, 16}},
      {{0, 0, 3, 3}, {0, 0, 10, 10}, {3, 3, 6, 6}},        // 7 div 2 = 3
      {{5, 5, 9, 9}, {0, 0, 1, 1}, {-1, -1, 3, 3}},         // -3 div 2 = -1, towards zero
      {{0, 0, 10, 2}, {0, 0, 5, 5}, {-2, 1, 8, 3}},         // -5 div 2 = -2
  };
  for (const CenterCase& c : cases) EXPECT_EQ(gxCenterRect(c.R, c.Bounds), c.Want);
}

TEST(GxUtils, ProcessorTests) {
#if defined(__x86_64__)
  // Every 64-bit x86 processor has CPUID, MMX and SSE2.
  EXPECT_TRUE(gxCPUIDSupported());
  EXPECT_TRUE(gxHasMMX());
  EXPECT_TRUE(gxHasSSE2());
  EXPECT_GT(gxCPUFamily(), 4);
#else
  EXPECT_EQ(gxCPUIDSupported() || !gxHasSSE2(), true);
#endif
}

TEST(GxUtils, TransparentBltIsNotLookedUpOnVersion4) {
  gxLoadWinApi();
  EXPECT_NE(gxTransparentBlt(), nullptr);
  EXPECT_GT(gxScreenBitsPerPixel(), 23);
  {
    TOSAnswers old;
    old.MajorVersion = 4;
    TOSAnswersOverride answers(old);
    gxLoadWinApi();
    EXPECT_EQ(gxTransparentBlt(), nullptr);
  }
  gxLoadWinApi();
  EXPECT_NE(gxTransparentBlt(), nullptr);
}

// A window with a border and a caption, so that its client area does not start at its
// top-left corner.
class TFramed : public TWinControl {
  QV_CLASS(TFramed, TWinControl)
  explicit TFramed(TComponent* AOwner) : TWinControl(AOwner) {}

 protected:
  void CreateParams(TCreateParams& Params) override {
    TWinControl::CreateParams(Params);
    Params.Style |= WS_CAPTION | WS_THICKFRAME;
  }
};

class TSpot : public TGraphicControl {
  QV_CLASS(TSpot, TGraphicControl)
  explicit TSpot(TComponent* AOwner) : TGraphicControl(AOwner) {}
};

class GxControlRect : public ::testing::Test {
 protected:
  void SetUp() override {
    SetBackend(nullptr);
    WNDCLASS wc;
    wc.lpfnWndProc = &DefWindowProc;
    wc.lpszClassName = "GxUtilsTestTop";
    ASSERT_NE(RegisterClass(&wc), 0);
    Top = CreateWindowEx(0, "GxUtilsTestTop", "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                         nullptr);
    Host = new TWinControl(nullptr);
    Host->SetBounds(0, 0, 400, 300);
    Host->SetParentWindow(Top);
  }
  void TearDown() override {
    delete Host;
    ResetWindowSystem();
  }
  HWND Top = nullptr;
  TWinControl* Host = nullptr;
};

TEST_F(GxControlRect, TheClientRectangleIsInTheControlsOwnBounds) {
  auto* framed = new TFramed(nullptr);
  framed->SetBounds(30, 20, 150, 100);
  framed->SetParent(Host);
  HWND hwnd = framed->Handle();
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  const int dx = origin.X - window.Left, dy = origin.Y - window.Top;
  ASSERT_GT(dx, 0);
  ASSERT_GT(dy, dx);  // the caption is above
  EXPECT_EQ(gxGetControlClientRect(framed), (TRect{dx, dy, dx + client.Right, dy + client.Bottom}));

  auto* spot = new TSpot(nullptr);
  spot->SetBounds(5, 6, 20, 10);
  spot->SetParent(framed);
  EXPECT_EQ(gxGetControlClientRect(spot), (TRect{0, 0, 20, 10}));
  EXPECT_EQ(gxGetControlClientRect(nullptr), TRect{});
}

}  // namespace
