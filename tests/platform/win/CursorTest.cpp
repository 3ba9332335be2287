// Cursors: the standard shapes and their masks, made cursors, and what the backend is asked
// to show.
#include <gtest/gtest.h>

#include <vector>

#include "backend/Headless.h"
#include "win/Cursors.h"
#include "win/Window.h"

namespace {

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override { SetBackend(nullptr); }
  void TearDown() override {
    SetCursor(nullptr);
    ResetWindowSystem();
  }

  // The lowest row of the AND half (the top half of the mask) with a visible pixel.
  static int LowestVisibleRow(HCURSOR cursor, POINT* hot) {
    ICONINFO info;
    if (!GetIconInfo(cursor, &info)) return -1;
    BITMAP bm{};
    GetObject(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(bm.bmBitsPixel, 1);
    EXPECT_EQ(bm.bmHeight, 2 * bm.bmWidth);
    EXPECT_EQ(info.hbmColor, nullptr);
    std::vector<uint8_t> bits(size_t(bm.bmWidthBytes) * size_t(bm.bmHeight));
    EXPECT_EQ(GetBitmapBits(info.hbmMask, LONG(bits.size()), bits.data()), LONG(bits.size()));
    int lowest = -1;
    for (int y = 0; y < bm.bmHeight / 2; ++y)
      for (int b = 0; b < bm.bmWidthBytes; ++b)
        if (bits[size_t(y * bm.bmWidthBytes + b)] != 0xFF) lowest = y;
    *hot = {LONG(info.xHotspot), LONG(info.yHotspot)};
    DeleteObject(info.hbmMask);
    return lowest;
  }
};

TEST_F(CursorTest, StandardCursorsHaveMasksBelowTheirHotSpot) {
  struct Case {
    intptr_t Id;
    POINT Hot;
    int MinLowest, MaxLowest;  // where the visible shape ends
  };
  const Case cases[] = {
      {IDC_ARROW, {0, 0}, 15, 20},  {IDC_IBEAM, {16, 16}, 22, 26}, {IDC_HAND, {9, 1}, 20, 28},
      {IDC_SIZEWE, {16, 16}, 18, 24}, {IDC_SIZENS, {16, 16}, 26, 29}, {IDC_WAIT, {16, 16}, 24, 28},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Id);
    HCURSOR cursor = LoadCursor(nullptr, c.Id);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(CursorId(cursor), c.Id);
    EXPECT_EQ(LoadCursor(nullptr, c.Id), cursor);  // shared
    POINT hot{};
    const int lowest = LowestVisibleRow(cursor, &hot);
    EXPECT_EQ(hot, c.Hot);
    EXPECT_GE(lowest, c.MinLowest);
    EXPECT_LE(lowest, c.MaxLowest);
  }
  EXPECT_EQ(LoadCursor(nullptr, 12345), nullptr);
  EXPECT_EQ(LoadCursor(reinterpret_cast<HINSTANCE>(1), IDC_ARROW), nullptr);
}

TEST_F(CursorTest, TheBackendShowsTheCurrentShape) {
  struct Case {
    HCURSOR Cursor;
    CursorShape Shape;
  };
  const uint8_t transparent[4 * 2] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  const uint8_t black[4 * 2] = {};
  HCURSOR made = CreateCursor(nullptr, 0, 0, 16, 4, transparent, black);
  ASSERT_NE(made, nullptr);
  const Case cases[] = {
      {LoadCursor(nullptr, IDC_HAND), CursorShape::Hand},   {LoadCursor(nullptr, IDC_IBEAM), CursorShape::IBeam},
      {LoadCursor(nullptr, IDC_SIZENS), CursorShape::SizeNS}, {made, CursorShape::Arrow},
      {nullptr, CursorShape::Hidden},                        {LoadCursor(nullptr, IDC_ARROW), CursorShape::Arrow},
  };
  for (const Case& c : cases) {
    SetCursor(c.Cursor);
    EXPECT_EQ(GetCursor(), c.Cursor);
    EXPECT_EQ(Headless()->Cursor(), c.Shape);
  }
  // The current cursor cannot go; another made one can, once.
  SetCursor(made);
  EXPECT_FALSE(DestroyCursor(made));
  SetCursor(nullptr);
  EXPECT_TRUE(DestroyCursor(made));
  EXPECT_FALSE(DestroyCursor(made));
  ICONINFO info;
  EXPECT_FALSE(GetIconInfo(made, &info));
  EXPECT_EQ(SetCursor(made), nullptr);  // a stale handle is refused
  EXPECT_EQ(GetCursor(), nullptr);
}

TEST_F(CursorTest, MadeCursorsKeepTheirPlanesAndRefuseBadInput) {
  // 16 x 2: the AND plane hides everything but the first pixel of row 1.
  const uint8_t andPlane[4] = {0xFF, 0xFF, 0x7F, 0xFF};
  const uint8_t xorPlane[4] = {0x00, 0x00, 0x80, 0x00};
  HCURSOR c = CreateCursor(nullptr, 3, 1, 16, 2, andPlane, xorPlane);
  ASSERT_NE(c, nullptr);
  ICONINFO info;
  ASSERT_TRUE(GetIconInfo(c, &info));
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 1u);
  uint8_t bits[8] = {};
  EXPECT_EQ(GetBitmapBits(info.hbmMask, 8, bits), 8);
  const uint8_t expected[8] = {0xFF, 0xFF, 0x7F, 0xFF, 0x00, 0x00, 0x80, 0x00};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(bits[i], expected[i]) << i;
  DeleteObject(info.hbmMask);
  EXPECT_EQ(CreateCursor(nullptr, 16, 0, 16, 2, andPlane, xorPlane), nullptr);  // hot spot outside
  EXPECT_EQ(CreateCursor(nullptr, 0, 0, 0, 2, andPlane, xorPlane), nullptr);
  EXPECT_EQ(CreateCursor(nullptr, 0, 0, 16, 2, nullptr, xorPlane), nullptr);
  EXPECT_TRUE(DestroyCursor(c));
}

}  // namespace
