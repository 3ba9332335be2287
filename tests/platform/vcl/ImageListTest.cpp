#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gdi/Gdi.h"
#include "vcl/Graphics.h"
#include "vcl/ImgList.h"

namespace {

uint32_t* Row(TBitmap& b, int y) { return static_cast<uint32_t*>(b.ScanLine(y)); }
uint32_t PixelAt(TBitmap& b, int x, int y) { return Row(b, y)[x]; }
COLORREF ColorAt(TBitmap& b, int x, int y) { return ColorRefFromPixel(PixelAt(b, x, y)); }

// A 32-bit picture with straight alpha, rows given top-down.
std::unique_ptr<TBitmap> Picture32(int w, int h, const std::vector<uint32_t>& pixels) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Row(*b, y)[x] = pixels[size_t(y * w + x)];
  return b;
}

// An opaque picture filled with one colour.
std::unique_ptr<TBitmap> Plain(int w, int h, TColor color) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(color);
  b->Canvas()->FillRect(Rect(0, 0, w, h));
  return b;
}

// A surface to draw on, opaque, filled with one pixel.
std::unique_ptr<TBitmap> Target(int w, int h, uint32_t fill) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf32bit);
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Row(*b, y)[x] = fill;
  return b;
}

uint32_t Ch(uint32_t p, int shift) { return (p >> shift) & 0xFF; }
int Near(double v) { return int(v + 0.5); }

// Straight pixel s over the opaque pixel d, each channel rounded on its own.
COLORREF Over(uint32_t s, uint32_t d) {
  const double a = Ch(s, 24) / 255.0;
  auto mix = [&](int shift) { return BYTE(Near(Ch(s, shift) * a) + Near(Ch(d, shift) * (1 - a))); };
  return RGB(mix(16), mix(8), mix(0));
}

// The 4 x 3 test image: red, half-transparent green, transparent, blue; the rows below blue.
constexpr uint32_t kRed = 0xFFFF0000u, kHalfGreen = 0x8000FF00u, kClear = 0x00000000u, kBlue = 0xFF0000FFu;
std::unique_ptr<TBitmap> Quad() {
  std::vector<uint32_t> px(12, kBlue);
  px[0] = kRed;
  px[1] = kHalfGreen;
  px[2] = kClear;
  return Picture32(4, 3, px);
}

TEST(ImageList, KeepsImagesOfItsSizeAndTellsItsUsers) {
  TChangeLink link;
  int linkChanges = 0, eventChanges = 0;
  {
    TImageList list(nullptr, 4, 3);
    link.OnChange = [&](TObject* sender) {
      ++linkChanges;
      EXPECT_EQ(sender, &list);
    };
    list.RegisterChanges(&link);
    list.OnChange = [&](TObject*) { ++eventChanges; };
    EXPECT_EQ(list.Count(), 0);

    // A picture twice as wide as the list holds two images.
    auto wide = Plain(8, 3, clRed);
    EXPECT_EQ(list.Add(wide.get(), nullptr), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(linkChanges, 1);
    EXPECT_EQ(eventChanges, 1);

    auto small = Plain(3, 3, clRed);
    for (TBitmap* bad : {small.get(), static_cast<TBitmap*>(nullptr)}) {
      try {
        list.Add(bad, nullptr);
        ADD_FAILURE() << "a picture smaller than the list was taken";
      } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid image size");
      }
    }
    for (int bad : {-1, 2}) {
      try {
        list.Delete(bad);
        ADD_FAILURE() << bad;
      } catch (const EInvalidOperation& e) {
        EXPECT_EQ(e.Message(), "Invalid ImageList Index");
      }
    }
    try {
      list.Replace(2, wide.get(), nullptr);
      ADD_FAILURE() << "replaced an image the list does not have";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message(), "Unable to replace image");
    }
    EXPECT_EQ(list.Count(), 2);

    // Changes inside an update are told once.
    linkChanges = 0;
    list.BeginUpdate();
    list.AddMasked(Plain(4, 3, clBlue).get(), clNone);
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(linkChanges, 1);

    // A new size empties the list, which is a change too.
    list.SetWidth(5);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(linkChanges, 2);
    list.UnRegisterChanges(&link);
    list.Clear();
    EXPECT_EQ(linkChanges, 2);
    EXPECT_EQ(link.Sender(), nullptr);
    list.RegisterChanges(&link);
  }
  // The freed list left its link without a sender.
  EXPECT_EQ(link.Sender(), nullptr);
}

TEST(ImageList, MoveInsertAndReplaceKeepTheOtherImages) {
  TImageList list(nullptr, 2, 2);
  const TColor colors[] = {clRed, clLime, clBlue};
  for (TColor c : colors) list.Add(Plain(2, 2, c).get(), nullptr);
  auto colorOf = [&](int index) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    EXPECT_TRUE(list.GetBitmap(index, &b));
    return ColorAt(b, 1, 1);
  };
  list.Move(0, 2);
  EXPECT_EQ(colorOf(0), COLORREF(clLime));
  EXPECT_EQ(colorOf(1), COLORREF(clBlue));
  EXPECT_EQ(colorOf(2), COLORREF(clRed));
  list.Insert(1, Plain(2, 2, clYellow).get(), nullptr);
  EXPECT_EQ(colorOf(1), COLORREF(clYellow));
  EXPECT_EQ(colorOf(2), COLORREF(clBlue));
  list.Replace(3, Plain(2, 2, clAqua).get(), nullptr);
  EXPECT_EQ(colorOf(3), COLORREF(clAqua));
  EXPECT_EQ(list.Count(), 4);
  EXPECT_THROW(list.Move(0, 4), EInvalidOperation);
  EXPECT_THROW(list.Insert(5, Plain(2, 2, clRed).get(), nullptr), EInvalidOperation);

  // Another list's image, cut to this size.
  TImageList big(nullptr, 3, 3);
  big.Add(Plain(3, 3, clPurple).get(), nullptr);
  EXPECT_EQ(list.AddImage(&big, 0), 4);
  EXPECT_EQ(colorOf(4), COLORREF(clPurple));
  EXPECT_EQ(list.AddImage(&big, 1), -1);
}

TEST(ImageList, DrawBlendsThirtyTwoBitImagesWithTheirAlpha) {
  TImageList list(nullptr, 4, 3);
  list.Add(Quad().get(), nullptr);
  const uint32_t white = 0xFFFFFFFFu;
  auto target = Target(10, 8, white);
  list.Draw(target->Canvas(), 2, 3, 0);
  EXPECT_EQ(ColorAt(*target, 2, 3), RGB(255, 0, 0));
  EXPECT_EQ(ColorAt(*target, 3, 3), Over(kHalfGreen, white));
  EXPECT_EQ(ColorAt(*target, 4, 3), RGB(255, 255, 255));  // transparent
  EXPECT_EQ(ColorAt(*target, 5, 3), RGB(0, 0, 255));
  EXPECT_EQ(ColorAt(*target, 2, 5), RGB(0, 0, 255));
  EXPECT_EQ(ColorAt(*target, 6, 3), RGB(255, 255, 255));  // right of the image
  EXPECT_EQ(ColorAt(*target, 2, 6), RGB(255, 255, 255));  // below it

  // Indexes the list does not have draw nothing.
  auto untouched = Target(10, 8, white);
  for (int bad : {-1, 1}) list.Draw(untouched->Canvas(), 0, 0, bad);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(PixelAt(*untouched, x, y), white) << x << "," << y;
}

TEST(ImageList, PremultipliedPicturesAreTakenByTheirStraightColours) {
  TImageList list(nullptr, 4, 3);
  auto picture = Quad();
  picture->SetAlphaFormat(afPremultiplied);
  list.Add(picture.get(), nullptr);
  auto target = Target(4, 3, 0xFF000000u);
  list.Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(ColorAt(*target, 1, 0), Over(kHalfGreen, 0xFF000000u));
}

TEST(ImageList, DisabledThirtyTwoBitImagesAreGrey) {
  TImageList list(nullptr, 4, 3);
  list.Add(Quad().get(), nullptr);
  const uint32_t white = 0xFFFFFFFFu;
  auto target = Target(4, 3, white);
  list.Draw(target->Canvas(), 0, 0, 0, false);
  // Grey by the luminance weights 0.299, 0.587, 0.114, the alpha kept.
  auto grey = [](uint32_t p) {
    const uint32_t g = uint32_t(Near(0.299 * Ch(p, 16) + 0.587 * Ch(p, 8) + 0.114 * Ch(p, 0)));
    return (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
  };
  EXPECT_EQ(ColorAt(*target, 0, 0), Over(grey(kRed), white));
  EXPECT_EQ(ColorAt(*target, 1, 0), Over(grey(kHalfGreen), white));
  EXPECT_EQ(ColorAt(*target, 2, 0), RGB(255, 255, 255));
  EXPECT_EQ(ColorAt(*target, 0, 1), Over(grey(kBlue), white));
}

TEST(ImageList, MaskedImagesLeaveTheKeyColourOutAndEmbossWhenDisabled) {
  TImageList list(nullptr, 5, 5);
  list.SetColorDepth(cd24Bit);
  // A 2 x 2 black square at (1, 1) on fuchsia.
  auto picture = Plain(5, 5, clFuchsia);
  picture->Canvas()->Brush()->SetColor(clBlack);
  picture->Canvas()->FillRect(Rect(1, 1, 3, 3));
  list.AddMasked(picture.get(), clFuchsia);

  const uint32_t face = 0xFF0A141Eu;
  auto target = Target(7, 7, face);
  list.Draw(target->Canvas(), 0, 0, 0);
  EXPECT_EQ(ColorAt(*target, 1, 1), RGB(0, 0, 0));
  EXPECT_EQ(PixelAt(*target, 0, 0), face);
  EXPECT_EQ(PixelAt(*target, 4, 4), face);

  // Disabled: the shape in the shadow colour over its copy one pixel down-right in the
  // highlight colour.
  auto disabled = Target(7, 7, face);
  list.Draw(disabled->Canvas(), 0, 0, 0, false);
  const COLORREF shadow = COLORREF(ColorToRGB(clBtnShadow)), light = COLORREF(ColorToRGB(clBtnHighlight));
  std::string rows;
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) {
      const COLORREF c = ColorAt(*disabled, x, y);
      rows += c == shadow ? 'S' : c == light ? 'L' : PixelAt(*disabled, x, y) == face ? '.' : '?';
    }
    rows += '\n';
  }
  EXPECT_EQ(rows,
            ".....\n"
            ".SS..\n"
            ".SSL.\n"
            "..LL.\n"
            ".....\n");

  // A list without a mask draws the key colour like any other.
  TImageList plain(nullptr, 5, 5);
  plain.SetMasked(false);
  plain.SetColorDepth(cd24Bit);
  plain.AddMasked(picture.get(), clFuchsia);
  auto opaque = Target(7, 7, face);
  plain.Draw(opaque->Canvas(), 0, 0, 0);
  EXPECT_EQ(ColorAt(*opaque, 0, 0), COLORREF(clFuchsia));
}

TEST(ImageList, GetBitmapGivesTheImageWithPremultipliedAlpha) {
  TImageList list(nullptr, 4, 3);
  list.Add(Quad().get(), nullptr);

  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(6, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) Row(b, y)[x] = 0xFF123456u;  // cleared first, whatever was there
  ASSERT_TRUE(list.GetBitmap(0, &b));
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.AlphaFormat(), afPremultiplied);
  EXPECT_EQ(PixelAt(b, 0, 0), kRed);
  EXPECT_EQ(PixelAt(b, 1, 0), 0x80000000u | uint32_t(Near(255 * 128 / 255.0)) << 8);
  EXPECT_EQ(PixelAt(b, 2, 0), 0u);
  EXPECT_EQ(PixelAt(b, 3, 2), kBlue);

  // An opaque picture gets the image drawn over it.
  TBitmap opaque;
  opaque.SetPixelFormat(pf24bit);
  ASSERT_TRUE(list.GetBitmap(0, &opaque));
  EXPECT_EQ(ColorAt(opaque, 2, 0), RGB(255, 255, 255));
  EXPECT_EQ(ColorAt(opaque, 0, 0), RGB(255, 0, 0));

  TBitmap left;
  for (int bad : {-1, 1}) EXPECT_FALSE(list.GetBitmap(bad, &left)) << bad;
  EXPECT_FALSE(list.GetBitmap(0, nullptr));
  EXPECT_TRUE(left.Empty());
}

TEST(ImageList, DrawExFollowsItsFlags) {
  TImageList list(nullptr, 4, 3);
  list.Add(Quad().get(), nullptr);
  const uint32_t grey = 0xFF808080u;
  const uint32_t navy = PixelFromColorRef(RGB(0, 0, 128));
  struct Case {
    const char* name;
    COLORREF bk, fg;
    UINT style;
    COLORREF red, halfGreen, clear;  // what (0, 0), (1, 0) and (2, 0) show
  };
  auto mixQuarter = [](uint32_t p, COLORREF fg, int quarters) {
    auto m = [&](uint32_t c, uint32_t f) { return BYTE(Near((c * (4 - quarters) + f * quarters) / 4.0)); };
    return RGB(m(Ch(p, 16), GetRValue(fg)), m(Ch(p, 8), GetGValue(fg)), m(Ch(p, 0), GetBValue(fg)));
  };
  const COLORREF fg = RGB(255, 255, 0);
  auto withHalfAlpha = [](COLORREF c) { return PixelFromColorRef(c, 0x80); };
  const Case cases[] = {
      {"normal", CLR_NONE, CLR_NONE, ILD_NORMAL, RGB(255, 0, 0), Over(kHalfGreen, grey), RGB(128, 128, 128)},
      {"background", RGB(0, 0, 128), CLR_NONE, ILD_NORMAL, RGB(255, 0, 0), Over(kHalfGreen, navy), RGB(0, 0, 128)},
      {"transparent", RGB(0, 0, 128), CLR_NONE, ILD_TRANSPARENT, RGB(255, 0, 0), Over(kHalfGreen, grey),
       RGB(128, 128, 128)},
      {"mask", CLR_NONE, CLR_NONE, ILD_MASK, RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255)},
      {"image", CLR_NONE, CLR_NONE, ILD_IMAGE, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 0)},
      {"blend50", CLR_NONE, fg, ILD_BLEND50, mixQuarter(kRed, fg, 2),
       Over(withHalfAlpha(mixQuarter(kHalfGreen, fg, 2)), grey), RGB(128, 128, 128)},
      {"blend25", CLR_NONE, fg, ILD_BLEND25, mixQuarter(kRed, fg, 1),
       Over(withHalfAlpha(mixQuarter(kHalfGreen, fg, 1)), grey), RGB(128, 128, 128)},
      // Without a blend colour the image fades to half its alpha.
      {"fade50", CLR_NONE, CLR_NONE, ILD_BLEND50, Over(0x80FF0000u, grey), Over(0x4000FF00u, grey),
       RGB(128, 128, 128)},
  };
  for (const Case& c : cases) {
    auto target = Target(4, 3, grey);
    EXPECT_TRUE(ImageList_DrawEx(list.Handle(), 0, target->Canvas()->Handle(), 0, 0, 0, 0, c.bk, c.fg, c.style));
    EXPECT_EQ(ColorAt(*target, 0, 0), c.red) << c.name;
    EXPECT_EQ(ColorAt(*target, 1, 0), c.halfGreen) << c.name;
    EXPECT_EQ(ColorAt(*target, 2, 0), c.clear) << c.name;
  }

  // dx, dy draw part of the image, from its top-left.
  auto part = Target(4, 3, grey);
  ImageList_DrawEx(list.Handle(), 0, part->Canvas()->Handle(), 0, 0, 1, 2, CLR_NONE, CLR_NONE, ILD_NORMAL);
  EXPECT_EQ(ColorAt(*part, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(ColorAt(*part, 0, 1), RGB(0, 0, 255));
  EXPECT_EQ(PixelAt(*part, 1, 1), grey);
  EXPECT_EQ(PixelAt(*part, 0, 2), grey);

  EXPECT_FALSE(ImageList_DrawEx(list.Handle(), 1, part->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, 0));
  EXPECT_FALSE(ImageList_DrawEx(nullptr, 0, part->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, 0));
}

TEST(ImageList, ShareImagesLeavesAnAdoptedHandleAlive) {
  for (bool share : {true, false}) {
    HIMAGELIST h = ImageList_Create(6, 5, ILC_COLOR32 | ILC_MASK, 1, 1);
    ImageList_AddMasked(h, Plain(6, 5, clRed)->Handle(), CLR_NONE);
    {
      TImageList list(nullptr);
      list.SetShareImages(share);
      list.SetHandle(h);
      EXPECT_EQ(list.Width(), 6);
      EXPECT_EQ(list.Height(), 5);
      EXPECT_EQ(list.Count(), 1);
    }
    EXPECT_EQ(ImageList_GetImageCount(h), share ? 1 : 0) << share;
    EXPECT_EQ(ImageList_Destroy(h), share ? TRUE : FALSE) << share;
  }
}

}  // namespace
