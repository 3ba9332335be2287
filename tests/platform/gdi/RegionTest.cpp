#include <gtest/gtest.h>

#include "gdi/Gdi.h"

namespace {

struct RgnDeleter {
  void operator()(GdiRegion* r) const { DeleteObject(r); }
};
using RgnPtr = std::unique_ptr<GdiRegion, RgnDeleter>;
RgnPtr Rect(int l, int t, int r, int b) { return RgnPtr(CreateRectRgn(l, t, r, b)); }

TEST(Region, CombineModesGiveKindAndBox) {
  struct Case {
    int mode;
    int kind;
    RECT box;
  };
  // a = (0,0)-(10,10), b = (5,5)-(15,15)
  const Case cases[] = {
      {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}},
      {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}},
      {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}},
      {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}},
      {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}},
  };
  for (const Case& c : cases) {
    auto a = Rect(0, 0, 10, 10), b = Rect(5, 5, 15, 15), d = Rect(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), c.mode), c.kind) << "mode " << c.mode;
    RECT box;
    GetRgnBox(d.get(), &box);
    EXPECT_EQ(box, c.box) << "mode " << c.mode;
  }
  auto a = Rect(0, 0, 10, 10), b = Rect(5, 5, 15, 15), d = Rect(0, 0, 0, 0);
  CombineRgn(d.get(), a.get(), b.get(), RGN_XOR);
  EXPECT_FALSE(PtInRegion(d.get(), 7, 7));
  EXPECT_TRUE(PtInRegion(d.get(), 12, 12));
  EXPECT_TRUE(PtInRegion(d.get(), 2, 2));
  EXPECT_EQ(CombineRgn(d.get(), a.get(), b.get(), 99), ERROR_REGION);
}

TEST(Region, RectRegionExcludesRightAndBottom) {
  auto r = Rect(2, 3, 6, 8);
  EXPECT_TRUE(PtInRegion(r.get(), 2, 3));
  EXPECT_TRUE(PtInRegion(r.get(), 5, 7));
  EXPECT_FALSE(PtInRegion(r.get(), 6, 7));
  EXPECT_FALSE(PtInRegion(r.get(), 5, 8));
  RECT probe{6, 8, 9, 9};
  EXPECT_FALSE(RectInRegion(r.get(), &probe));
  probe = {5, 7, 9, 9};
  EXPECT_TRUE(RectInRegion(r.get(), &probe));
}

TEST(Region, OffsetAndEquality) {
  auto a = Rect(0, 0, 4, 4), b = Rect(10, 20, 14, 24);
  EXPECT_FALSE(EqualRgn(a.get(), b.get()));
  EXPECT_EQ(OffsetRgn(a.get(), 10, 20), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(a.get(), b.get()));
}

TEST(Region, RoundRectIsSymmetricAndCutsCorners) {
  RgnPtr r(CreateRoundRectRgn(0, 0, 20, 10, 8, 8));
  EXPECT_FALSE(PtInRegion(r.get(), 0, 0));
  EXPECT_FALSE(PtInRegion(r.get(), 19, 9));
  EXPECT_TRUE(PtInRegion(r.get(), 0, 5));
  EXPECT_TRUE(PtInRegion(r.get(), 10, 0));
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool p = PtInRegion(r.get(), x, y);
      EXPECT_EQ(p, bool(PtInRegion(r.get(), 19 - x, y))) << x << "," << y;
      EXPECT_EQ(p, bool(PtInRegion(r.get(), x, 9 - y))) << x << "," << y;
    }
  RECT box;
  GetRgnBox(r.get(), &box);
  EXPECT_EQ(box, (RECT{0, 0, 20, 10}));
}

TEST(Region, BadHandlesAreRefused) {
  auto a = Rect(0, 0, 4, 4);
  GdiRegion* stale = a.get();
  DeleteObject(a.release());
  RECT box;
  EXPECT_EQ(GetRgnBox(stale, &box), ERROR_REGION);
  EXPECT_FALSE(PtInRegion(stale, 1, 1));
  EXPECT_EQ(CombineRgn(nullptr, nullptr, nullptr, RGN_OR), ERROR_REGION);
}

}  // namespace
