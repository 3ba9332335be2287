// GetCursorHeight: the standard arrow, cursors made from masks (the AND mask read from the
// bottom, the XOR mask of a cursor whose AND mask shows nothing), no cursor at all, and
// the mask bitmaps deleted afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "HintFixture.h"
#include "qvHint/CursorHeight.h"

namespace {

class CursorHeightTest : public HintFixture {};

// Planes of a Width x Height cursor (rows padded to 16 bits), all transparent: AND 1,
// XOR 0.
struct Planes {
  Planes(int Width, int Height) : Width(Width), RowBytes((Width + 15) / 16 * 2) {
    And.assign(size_t(RowBytes * Height), 0xFF);
    Xor.assign(size_t(RowBytes * Height), 0x00);
  }
  // Pixel (x, y) shows: in the AND mask as black, or through the XOR mask alone (inverted).
  void ShowAnd(int x, int y) { And[size_t(y * RowBytes + x / 8)] &= uint8_t(~(0x80u >> (x % 8))); }
  void ShowXor(int x, int y) { Xor[size_t(y * RowBytes + x / 8)] |= uint8_t(0x80u >> (x % 8)); }
  int Width, RowBytes;
  std::vector<uint8_t> And, Xor;
};

TEST_F(CursorHeightTest, TheArrowReachesNineteenRowsBelowItsTip) {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  // The arrow's outline ends at row 18; its hot spot is its tip at row 0.
  EXPECT_EQ(GetCursorHeight(), 19);
}

TEST_F(CursorHeightTest, NoCursorGivesTheSystemCursorHeight) {
  SetCursor(nullptr);
  EXPECT_EQ(GetCursorHeight(), GetSystemMetrics(SM_CYCURSOR));
}

TEST_F(CursorHeightTest, MadeCursorsAreMeasuredFromTheirMasks) {
  struct Case {
    const char* Name;
    int Width, Height, HotY;
    std::function<void(Planes&)> Draw;
    int Expected;
  };
  const std::vector<Case> cases = {
      {"AND mask, rows 2..11", 32, 32, 4,
       [](Planes& p) {
         for (int y = 2; y < 12; ++y) p.ShowAnd(5, y);
       },
       12 - 4},
      {"AND mask, one pixel in the last column of the last row", 32, 32, 0, [](Planes& p) { p.ShowAnd(31, 31); }, 32},
      {"XOR mask only (AND fully transparent)", 32, 32, 2,
       [](Planes& p) {
         for (int y = 0; y < 10; ++y) p.ShowXor(7, y);
       },
       10 - 2},
      // 20 pixels wide: the rows' padding bits are no part of the picture.
      {"XOR mask only, width 20", 20, 20, 1, [](Planes& p) { p.ShowXor(19, 14); }, 15 - 1},
      {"AND mask, width 20", 20, 20, 0, [](Planes& p) { p.ShowAnd(0, 6); }, 7},
      // The AND mask wins: the XOR mask is read only when the AND mask shows nothing.
      {"both masks", 32, 32, 0,
       [](Planes& p) {
         p.ShowAnd(3, 5);
         p.ShowXor(3, 20);
       },
       6},
      {"nothing shows", 32, 32, 3, [](Planes&) {}, GetSystemMetrics(SM_CYCURSOR)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Planes planes(c.Width, c.Height);
    c.Draw(planes);
    HCURSOR cursor = CreateCursor(nullptr, 0, c.HotY, c.Width, c.Height, planes.And.data(), planes.Xor.data());
    ASSERT_NE(cursor, nullptr);
    SetCursor(cursor);
    const size_t objects = LiveObjectCount();
    EXPECT_EQ(GetCursorHeight(), c.Expected);
    EXPECT_EQ(LiveObjectCount(), objects) << "the mask bitmap was not deleted";
    SetCursor(nullptr);
    EXPECT_TRUE(DestroyCursor(cursor));
  }
}

}  // namespace
