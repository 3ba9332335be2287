#include <gtest/gtest.h>

#include "support/Canvas.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct Brush {
  HBRUSH H;
  explicit Brush(COLORREF c) : H(CreateSolidBrush(c)) {}
  ~Brush() { DeleteObject(H); }
};

TEST(DeviceContext, SaveAndRestoreBringBackOriginClipAndObjects) {
  TestCanvas c(20, 20);
  HDC dc = c.DC();
  HPEN pen = CreatePen(PS_SOLID, 1, kRed);
  const int first = SaveDC(dc);
  EXPECT_EQ(first, 1);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  SetViewportOrgEx(dc, 5, 6, nullptr);
  SetWindowOrgEx(dc, 1, 1, nullptr);
  IntersectClipRect(dc, 0, 0, 4, 4);
  SetTextColor(dc, kBlue);
  EXPECT_EQ(SaveDC(dc), 2);
  SetViewportOrgEx(dc, 9, 9, nullptr);
  SelectObject(dc, GetStockObject(NULL_PEN));

  ASSERT_TRUE(RestoreDC(dc, -1));  // back to the second save
  POINT p;
  GetViewportOrgEx(dc, &p);
  EXPECT_EQ(p, (POINT{5, 6}));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{0, 0, 4, 4}));

  ASSERT_TRUE(RestoreDC(dc, first));  // absolute: the state before anything changed
  GetViewportOrgEx(dc, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  GetWindowOrgEx(dc, &p);
  EXPECT_EQ(p, (POINT{0, 0}));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), oldPen);
  EXPECT_EQ(GetTextColor(dc), 0u);
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{0, 0, 20, 20}));
  EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing left to restore";
  EXPECT_FALSE(RestoreDC(dc, 3));
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(DeviceContext, OriginsShiftDrawing) {
  struct Case {
    POINT viewport, window;
    POINT expectedCorner;
  };
  const Case cases[] = {
      {{0, 0}, {0, 0}, {2, 3}},
      {{5, 1}, {0, 0}, {7, 4}},
      {{0, 0}, {2, 3}, {0, 0}},
      {{6, 6}, {2, 1}, {6, 8}},
  };
  for (const Case& k : cases) {
    TestCanvas c(20, 20);
    SetViewportOrgEx(c.DC(), k.viewport.X, k.viewport.Y, nullptr);
    SetWindowOrgEx(c.DC(), k.window.X, k.window.Y, nullptr);
    Brush red(kRed);
    const RECT r{2, 3, 5, 6};
    FillRect(c.DC(), &r, red.H);
    const RECT ink = c.InkBounds(0xFFFFFFFFu);
    EXPECT_EQ(ink.TopLeft(), k.expectedCorner) << "viewport " << k.viewport.X << "," << k.viewport.Y;
    EXPECT_EQ(ink.Width(), 3);
    POINT lp{2, 3};
    LPtoDP(c.DC(), &lp, 1);
    EXPECT_EQ(lp, k.expectedCorner);
    DPtoLP(c.DC(), &lp, 1);
    EXPECT_EQ(lp, (POINT{2, 3}));
  }
}

TEST(DeviceContext, ClipIntersectExcludeAndSelect) {
  TestCanvas c(10, 6);
  HDC dc = c.DC();
  Brush red(kRed);
  IntersectClipRect(dc, 1, 1, 9, 5);
  ExcludeClipRect(dc, 3, 0, 5, 10);
  const RECT all{0, 0, 10, 6};
  FillRect(dc, &all, red.H);
  EXPECT_EQ(c.Mask(kRed), Picture(R"(
..........
.##..####.
.##..####.
.##..####.
.##..####.
..........
)"));
  EXPECT_TRUE(PtVisible(dc, 1, 1));
  EXPECT_FALSE(PtVisible(dc, 3, 1));
  RECT probe{3, 0, 5, 6};
  EXPECT_FALSE(RectVisible(dc, &probe));
  probe = {3, 0, 6, 6};
  EXPECT_TRUE(RectVisible(dc, &probe));

  // Clip regions are kept in device coordinates: a later origin change does not move it.
  HRGN rgn = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(SelectClipRgn(dc, rgn), SIMPLEREGION);
  SetViewportOrgEx(dc, 1, 1, nullptr);
  RECT box;
  GetClipBox(dc, &box);
  EXPECT_EQ(box, (RECT{-1, -1, 1, 1})) << "logical box of the device clip";
  HRGN got = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(dc, got), 1);
  EXPECT_TRUE(EqualRgn(got, rgn));
  EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(dc, got), 0);
  EXPECT_EQ(ExtSelectClipRgn(dc, nullptr, RGN_AND), ERROR_REGION);
  DeleteObject(rgn);
  DeleteObject(got);
}

TEST(DeviceContext, SelectedObjectsOutliveDeleteUntilDeselected) {
  TestCanvas c(4, 4);
  HBRUSH brush = CreateSolidBrush(kRed);
  HGDIOBJ old = SelectObject(c.DC(), brush);
  const size_t live = LiveObjectCount();
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(LiveObjectCount(), live) << "still selected, so still alive";
  PatBlt(c.DC(), 0, 0, 4, 4, PATCOPY);
  EXPECT_EQ(c.Color(1, 1), kRed);
  EXPECT_EQ(SelectObject(c.DC(), brush), nullptr) << "a deleted brush cannot be selected again";
  SelectObject(c.DC(), old);
  EXPECT_EQ(LiveObjectCount(), live - 1);
}

TEST(DeviceContext, BitmapLivesInOneDCAtATime) {
  TestCanvas c(4, 4);
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, c.Bitmap()), nullptr);
  EXPECT_TRUE(DeleteDC(other));
  EXPECT_FALSE(DeleteDC(other)) << "a deleted DC is refused";
  EXPECT_EQ(SetTextColor(other, 0), CLR_INVALID);
}

TEST(DeviceContext, BottomUpSectionMapsRowsLikeGdi) {
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 3;
  info.bmiHeader.biHeight = 2;  // positive: the first row in memory is the bottom one
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bmp, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bmp);
  SetPixel(dc, 0, 0, kRed);
  const auto* words = static_cast<const uint32_t*>(bits);
  EXPECT_EQ(words[3], PixelFromColorRef(kRed)) << "top-left pixel lives in the second memory row";
  EXPECT_EQ(words[0], 0u);
  DeleteDC(dc);
  DeleteObject(bmp);
  info.bmiHeader.biBitCount = 24;
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
}

}  // namespace
