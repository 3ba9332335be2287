#include <gtest/gtest.h>

#include <string>

#include "Support.h"
#include "qvImageCollection/ImageCollection.h"

using namespace ictest;

namespace {

// The 4 x 2 test pictures (resources/): straight colours, rows top-down.
//   red, green, blue at alpha 128, transparent
//   yellow, cyan, magenta, white
// IcQuad24 and IcQuadOpaque have no alpha (the transparent pixel is black); IcQuadKey is
// a palette picture whose transparent pixel is fully transparent and the rest opaque.
constexpr uint32_t kStraight[2][4] = {{0xFFFF0000u, 0xFF00FF00u, 0x800000FFu, 0x00000000u},
                                      {0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu, 0xFFFFFFFFu}};

uint32_t Premultiplied(uint32_t p) {
  const uint32_t a = p >> 24;
  auto mul = [a](uint32_t c) { return uint32_t(int(c * a / 255.0 + 0.5)); };
  return a << 24 | mul((p >> 16) & 0xFF) << 16 | mul((p >> 8) & 0xFF) << 8 | mul(p & 0xFF);
}

// What resampling the top-left pixel gives: its own weight is 65535, so each byte b
// becomes b * 65535 >> 16.
uint32_t ResampledCorner(uint32_t p) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) out |= ((((p >> shift) & 0xFF) * 65535) >> 16) << shift;
  return out;
}

struct Case {
  const char* Name;
  bool Png;
  double Scale;
  int Width, Height;
  TPixelFormat Format;
  bool Alpha;  // keeps the transparent pixels
};

TEST(ImageCollectionResources, LoadsPicturesAtScaleOneAndOneAndAHalf) {
  // 1.5 x 4 = 6 and 1.5 x 2 = 3.
  const Case cases[] = {
      {"IcQuad32", false, 1.0, 4, 2, pf32bit, true},     {"IcQuad32", false, 1.5, 6, 3, pf32bit, true},
      {"IcQuad24", false, 1.0, 4, 2, pf24bit, false},    {"IcQuad24", false, 1.5, 6, 3, pf24bit, false},
      {"IcQuadAlpha", true, 1.0, 4, 2, pf32bit, true},   {"IcQuadAlpha", true, 1.5, 6, 3, pf32bit, true},
      {"IcQuadOpaque", true, 1.0, 4, 2, pf24bit, false}, {"IcQuadOpaque", true, 1.5, 6, 3, pf24bit, false},
      {"IcQuadKey", true, 1.0, 4, 2, pf32bit, true},     {"IcQuadAlpha", true, 0.5, 4, 2, pf32bit, true},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.Name) + " at " + std::to_string(c.Scale);
    TqvImageCollection collection(nullptr);
    TqvImageCollectionItem* item = collection.Images()->Add();
    item->SetBitmap(Bitmap32(2, 2, [](int, int) { return 0xFF000000u; }).get());
    item->SetColor(clRed);
    if (c.Png)
      item->LoadPngFromResourceName(HInstance, c.Name, c.Scale);
    else
      item->LoadFromResourceName(HInstance, c.Name, c.Scale);
    TBitmap* b = item->Bitmap();
    EXPECT_EQ(item->Color(), clFuchsia) << what;
    ASSERT_EQ(b->Width(), c.Width) << what;
    ASSERT_EQ(b->Height(), c.Height) << what;
    EXPECT_EQ(b->PixelFormat(), c.Format) << what;
    const uint32_t topRight = PixelAt(*b, c.Width - 1, 0);
    const uint32_t bottomLeft = PixelAt(*b, 0, c.Height - 1);
    if (c.Alpha) {
      EXPECT_EQ(b->AlphaFormat(), afPremultiplied) << what;
      EXPECT_EQ(topRight, 0u) << what;  // the transparent pixel
      if (c.Scale > 1) {
        EXPECT_EQ(PixelAt(*b, 0, 0), Premultiplied(ResampledCorner(kStraight[0][0]))) << what;
      } else {
        EXPECT_EQ(PixelAt(*b, 0, 0), kStraight[0][0]) << what;
        EXPECT_EQ(PixelAt(*b, 2, 0), std::string(c.Name) == "IcQuadKey" ? 0xFF0000FFu : Premultiplied(kStraight[0][2]))
            << what;
        EXPECT_EQ(bottomLeft, kStraight[1][0]) << what;
      }
      EXPECT_TRUE(collection.IsIndexAvailable(0));
      EXPECT_FALSE(collection.IsSolidDrawing(0)) << what;
    } else {
      // Opaque, the corners kept by the stretch.
      EXPECT_EQ(ColorRefFromPixel(PixelAt(*b, 0, 0)), RGB(255, 0, 0)) << what;
      EXPECT_EQ(ColorRefFromPixel(topRight), RGB(0, 0, 0)) << what;
      EXPECT_EQ(ColorRefFromPixel(bottomLeft), RGB(255, 255, 0)) << what;
      EXPECT_TRUE(collection.IsSolidDrawing(0)) << what;
    }
  }
}

TEST(ImageCollectionResources, MissingOrBrokenResourcesRaiseAndLeaveTheItem) {
  TqvImageCollection collection(nullptr);
  TqvImageCollectionItem* item = collection.Images()->Add();
  item->SetBitmap(Bitmap32(2, 2, [](int, int) { return 0xFF112233u; }).get());
  EXPECT_THROW(item->LoadFromResourceName(HInstance, "NoSuchPicture", 1.0), EResNotFound);
  EXPECT_THROW(item->LoadPngFromResourceName(HInstance, "NoSuchPicture", 1.5), EResNotFound);
  EXPECT_THROW(item->LoadPngFromResourceName(HInstance, "IcBroken", 1.0), EPngError);
  EXPECT_THROW(item->LoadFromResourceName(HInstance, "IcBroken", 1.0), EInvalidGraphic);
  // A PNG is no BMP, and a BMP no PNG.
  EXPECT_THROW(item->LoadFromResourceName(HInstance, "IcQuadAlpha", 1.0), EInvalidGraphic);
  EXPECT_THROW(item->LoadPngFromResourceName(HInstance, "IcQuad32", 1.0), EPngError);
  ASSERT_EQ(item->Bitmap()->Width(), 2);
  EXPECT_EQ(PixelAt(*item->Bitmap(), 1, 1), 0xFF112233u);
}

}  // namespace
