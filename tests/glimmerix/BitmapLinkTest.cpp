// TgxBitmapLink: links made by rectangle and by rectangle text, the masked zones, drawing
// and assignment.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gx_bitmap.h"
#include "support/Canvas.h"

namespace {

struct TextCase {
  const char* Text;
  TRect Want;
};

TEST(GxBitmapLink, RectangleTextIsReadTokenByToken) {
  const TextCase cases[] = {
      {"10, 20, 30, 40", {10, 20, 30, 40}},
      {"10, x, 30, 40", {0, 0, 0, 0}},
      {"(10, 20, 30, 40", {0, 0, 0, 0}},  // the first token is empty
      {"10 20 30 40", {10, 20, 30, 40}},
      {"10;20=30:40", {10, 20, 30, 40}},
      {"-1,(2),3,4", {0, 0, 0, 0}},       // "(" after "," ends an empty token
      {"-1,2)3)4", {-1, 2, 3, 4}},
      {"10 ,20,30,40", {0, 0, 0, 0}},     // the blank ends "10", then "," ends an empty one
      {"10, 20, 30", {0, 0, 0, 0}},
      {"10, 20, 30, 40, 50", {10, 20, 30, 40}},
      {"$A, 0x14, 30, 40", {10, 20, 30, 40}},
      {"", {0, 0, 0, 0}},
  };
  for (const TextCase& c : cases) EXPECT_EQ(gxParseRectText(c.Text), c.Want) << '"' << c.Text << '"';
}

TEST(GxBitmapLink, LinksCarryTheImageItsNameAndTheRectangle) {
  TgxBitmap image;
  image.SetName("sheet");
  std::unique_ptr<TgxBitmapLink> link(image.GetBitmapLink("1, 2, 3, 4"));
  EXPECT_EQ(link->Image(), &image);
  EXPECT_EQ(link->Name(), "sheet");
  EXPECT_EQ(link->Rect(), (TRect{1, 2, 3, 4}));
  EXPECT_TRUE(link->Assigned());
  std::unique_ptr<TgxBitmapLink> flat(image.GetBitmapLink(TRect{1, 2, 1, 9}));
  EXPECT_FALSE(flat->Assigned());
  TgxBitmapLink none;
  EXPECT_FALSE(none.Assigned());
}

struct MaskCase {
  const char* What;
  POINT Offset;  // from the link rectangle's top-left
  TgxColor Pixel;
  bool Angles, Border, Centre;
};

TEST(GxBitmapLink, MaskedPixelsAreFoundByZone) {
  // The rectangle is 6 x 5 at (1, 1); margins 1, 1, 2, 1 leave the centre (1, 1)-(4, 4).
  const TRect rect{1, 1, 7, 6};
  const TRect margin{1, 1, 2, 1};
  const MaskCase cases[] = {
      {"top-left corner", {0, 0}, 0x80000000, true, false, false},
      {"bottom-right corner", {5, 4}, 0x80000000, true, false, false},
      {"right corner zone is two wide", {4, 0}, 0x80000000, true, false, false},
      {"top edge", {2, 0}, 0x80000000, false, true, false},
      {"bottom edge", {3, 4}, 0x80000000, false, true, false},
      {"left edge", {0, 2}, 0x80000000, false, true, false},
      {"right edge", {4, 3}, 0x80000000, false, true, false},
      {"centre", {3, 2}, 0x80000000, false, false, true},
      {"opaque key colour counts", {1, 1}, 0xFF7F007F, false, false, true},
      {"zero does not count", {1, 1}, 0x00000000, false, false, false},
      {"opaque does not count", {1, 1}, 0xFF7F0080, false, false, false},
      {"outside the rectangle", {-1, 0}, 0x80000000, false, false, false},
  };
  for (const MaskCase& c : cases) {
    TgxBitmap image;
    image.SetSize(8, 7);
    image.Clear(0xFF102030);
    image.SetPixel(rect.Left + c.Offset.X, rect.Top + c.Offset.Y, c.Pixel);
    std::unique_ptr<TgxBitmapLink> link(image.GetBitmapLink(rect));
    link->CheckingMasked(margin);
    EXPECT_EQ(link->MaskedAngles(), c.Angles) << c.What;
    EXPECT_EQ(link->MaskedBorder(), c.Border) << c.What;
    EXPECT_EQ(link->Masked(), c.Centre) << c.What;
    // Without a margin any masked pixel of the rectangle counts, and only that flag.
    link->CheckingMasked();
    EXPECT_EQ(link->Masked(), c.Angles || c.Border || c.Centre) << c.What;
    EXPECT_FALSE(link->MaskedAngles());
    EXPECT_FALSE(link->MaskedBorder());
  }
}

TEST(GxBitmapLink, RectanglesReachingOutsideTheImageReadOnlyItsPixels) {
  TgxBitmap image;
  image.SetSize(3, 3);
  image.Clear(0xFF000000);
  image.SetPixel(2, 2, 0x10000000);
  std::unique_ptr<TgxBitmapLink> link(image.GetBitmapLink(TRect{-100, -100, 1000, 1000}));
  link->CheckingMasked({1, 1, 1, 1});
  EXPECT_TRUE(link->Masked());
  link->CheckingMasked();
  EXPECT_TRUE(link->Masked());
}

TEST(GxBitmapLink, DrawCopiesTheRectangleUnscaledAndAssignCopiesEverything) {
  TgxBitmap image;
  image.SetSize(4, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) image.SetPixel(x, y, 0xFF000000u | TgxColor(y * 4 + x));
  TgxBitmapLink link;
  link.SetImage(&image);
  link.SetRect({1, 2, 3, 4});
  link.CheckingMasked();

  TgxBitmap target;
  target.SetSize(3, 3);
  link.Draw(&target, 1, 0);
  TestCanvas canvas(3, 3, 0);
  TCanvas c;
  c.SetHandle(canvas.DC());
  link.Draw(&c, 1, 0);
  c.SetHandle(nullptr);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) {
      const TgxColor want = (x >= 1 && y < 2) ? image.GetPixel(x, y + 2) : 0u;
      EXPECT_EQ(target.GetPixel(x, y), want) << x << "," << y;
      EXPECT_EQ(canvas.Pixel(x, y), want) << x << "," << y;
    }

  TgxBitmapLink copy;
  image.SetPixel(1, 2, 0x7F000000);
  link.SetName("n");
  link.CheckingMasked({0, 0, 1, 0});
  copy.Assign(&link);
  EXPECT_EQ(copy.Image(), &image);
  EXPECT_EQ(copy.Rect(), link.Rect());
  EXPECT_EQ(copy.Name(), "n");
  EXPECT_EQ(copy.Masked(), link.Masked());
  EXPECT_TRUE(copy.Masked());

  // Without an image, or with an empty rectangle, nothing is drawn.
  target.Clear(0xAB);
  TgxBitmapLink empty;
  empty.Draw(&target, 0, 0);
  link.SetRect({2, 2, 2, 4});
  link.Draw(&target, 0, 0);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(target.Bits()[i], 0xABu);
}

}  // namespace
