#include <gtest/gtest.h>

#include <vector>

#include "vcl/Graphics.h"

namespace {

// PNG bytes of a 3 x 2 picture with straight alpha, made by the drawing layer.
TBytes PngBytes(std::vector<uint32_t> pixels = {0x80FF0000u, 0x00000000u, 0xFF00FF00u, 0xFF0000FFu, 0x40FFFFFFu,
                                                0xFF123456u}) {
  Surface s(3, 2);
  for (int i = 0; i < 6; ++i) s.At(i % 3, i / 3) = pixels[size_t(i)];
  std::vector<uint8_t> out;
  std::string error;
  EXPECT_TRUE(WritePng(s, &out, &error)) << error;
  return out;
}

uint32_t Pixel(TBitmap& b, int x, int y) { return static_cast<uint32_t*>(b.ScanLine(y))[x]; }

TEST(PngImage, LoadsWhatTheDrawingLayerWrote) {
  TBytesStream stream(PngBytes());
  const int64_t size = stream.Size();
  stream.Seek(0, soEnd);
  stream.WriteBuffer("more", 4);  // a PNG inside a longer stream
  stream.SetPosition(0);
  TPngImage png;
  int changes = 0;
  png.OnChange = [&](TObject*) { ++changes; };
  png.LoadFromStream(&stream);
  EXPECT_EQ(stream.Position(), size);  // read up to IEND and no further
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(png.Width(), 3);
  EXPECT_EQ(png.Height(), 2);
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(png.Header().Width, 3);

  TBitmap bmp;
  bmp.Assign(&png);
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);
  EXPECT_EQ(bmp.AlphaFormat(), afDefined);
  EXPECT_EQ(Pixel(bmp, 0, 0), 0x80FF0000u);  // straight alpha, as in the file
  EXPECT_EQ(Pixel(bmp, 1, 1), 0x40FFFFFFu);
  EXPECT_EQ(Pixel(bmp, 2, 1), 0xFF123456u);
}

TEST(PngImage, DrawsWithItsAlpha) {
  TBytesStream stream(PngBytes());
  TPngImage png;
  png.LoadFromStream(&stream);
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(4, 3);
  dst.Canvas()->Draw(1, 1, &png);
  EXPECT_EQ(Pixel(dst, 0, 0), 0xFFFFFFFFu);  // outside
  EXPECT_EQ(Pixel(dst, 1, 1), 0xFFFF7F7Fu);  // half red over white
  EXPECT_EQ(Pixel(dst, 2, 1), 0xFFFFFFFFu);  // fully transparent
  EXPECT_EQ(Pixel(dst, 3, 1), 0xFF00FF00u);  // opaque
  EXPECT_EQ(Pixel(dst, 2, 2), 0xFFFFFFFFu);  // a quarter white over white
  // Drawn again (through the prepared copy) it blends over what is there.
  dst.Canvas()->Draw(1, 1, &png, 255);
  EXPECT_EQ(Pixel(dst, 1, 1), 0xFFFF3F3Fu);  // 127 * 127 / 255 = 63 left of green and blue
}

TEST(PngImage, SavesAndLoadsAgain) {
  TBytesStream stream(PngBytes());
  TPngImage a;
  a.LoadFromStream(&stream);
  TMemoryStream saved;
  a.SaveToStream(&saved);
  saved.SetPosition(0);
  TPngImage b;
  b.LoadFromStream(&saved);
  TBitmap ba, bb;
  ba.Assign(&a);
  bb.Assign(&b);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Pixel(bb, x, y), Pixel(ba, x, y)) << x << "," << y;
}

TEST(PngImage, OpaqueBitmapsMakeOpaqueImages) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(2, 2);
  TPngImage png;
  png.Assign(&bmp);
  EXPECT_EQ(png.TransparencyMode(), ptmNone);
  EXPECT_FALSE(png.Transparent());

  TBitmap premultiplied;
  premultiplied.SetPixelFormat(pf32bit);
  premultiplied.SetSize(1, 1);
  premultiplied.SetAlphaFormat(afPremultiplied);
  *static_cast<uint32_t*>(premultiplied.ScanLine(0)) = 0x80800000u;
  png.Assign(&premultiplied);
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  TBitmap back;
  back.Assign(&png);
  EXPECT_EQ(Pixel(back, 0, 0), 0x80FF0000u);  // straight again
}

TEST(PngImage, BadDataRaisesWithTheReason) {
  std::vector<TBytes> bad;
  bad.push_back(TBytes{'G', 'I', 'F', '8', '9', 'a', 0, 0});
  TBytes cut = PngBytes();
  cut.resize(cut.size() - 20);
  bad.push_back(cut);
  TBytes corrupt = PngBytes();
  corrupt[20] ^= 0xFF;  // inside IHDR: the checksum no longer matches
  bad.push_back(corrupt);
  for (size_t i = 0; i < bad.size(); ++i) {
    TBytesStream s(bad[i]);
    TPngImage png;
    try {
      png.LoadFromStream(&s);
      ADD_FAILURE() << "case " << i;
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message().rfind("PNG image is not valid: ", 0), 0u) << e.Message();
      EXPECT_GT(e.Message().size(), String("PNG image is not valid: ").size());
    }
    EXPECT_TRUE(png.Empty());
  }
}

TEST(Picture, PicksTheClassFromTheFirstBytes) {
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject* s) {
    EXPECT_EQ(s, &picture);
    ++changes;
  };
  TBytesStream png(PngBytes());
  picture.LoadFromStream(&png);
  EXPECT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(changes, 1);

  TBitmap source(5, 4);
  TMemoryStream bmp;
  source.SaveToStream(&bmp);
  bmp.SetPosition(0);
  picture.LoadFromStream(&bmp);
  EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Height(), 4);

  TStringStream text("hello world");
  try {
    picture.LoadFromStream(&text);
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), "Unsupported image format");
  }
  EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);  // kept

  // Changes inside the graphic reach the picture's handler.
  changes = 0;
  picture.Bitmap()->Canvas()->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(changes, 1);
}

TEST(Picture, KeepsCopiesAndConvertsOnRequest) {
  TBytesStream stream(PngBytes());
  TPngImage png;
  png.LoadFromStream(&stream);
  TPicture picture;
  picture.SetGraphic(&png);
  ASSERT_NE(picture.Graphic(), &png);  // a copy
  EXPECT_EQ(picture.Graphic()->Width(), 3);

  TPicture other;
  other.Assign(&picture);
  EXPECT_NE(dynamic_cast<TPngImage*>(other.Graphic()), nullptr);
  EXPECT_NE(other.Graphic(), picture.Graphic());

  TBitmap bmp;
  bmp.Assign(&picture);  // the picture's graphic assigns itself
  EXPECT_EQ(bmp.Width(), 3);
  EXPECT_EQ(bmp.PixelFormat(), pf32bit);

  TBitmap* asBitmap = picture.Bitmap();  // asking for a bitmap replaces the PNG
  EXPECT_TRUE(asBitmap->Empty());
  picture.SetGraphic(nullptr);
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), 0);
}

TEST(Icon, HoldsAlphaPicturesByAssignment) {
  TBytesStream stream(PngBytes());
  TPngImage png;
  png.LoadFromStream(&stream);
  TIcon icon;
  icon.Assign(&png);
  EXPECT_EQ(icon.Width(), 3);
  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(3, 2);
  dst.Canvas()->Draw(0, 0, &icon);
  EXPECT_EQ(Pixel(dst, 0, 0), 0xFFFF7F7Fu);
  EXPECT_EQ(Pixel(dst, 1, 0), 0xFFFFFFFFu);
  TMemoryStream s;
  EXPECT_THROW(icon.LoadFromStream(&s), EInvalidGraphic);
}

}  // namespace
