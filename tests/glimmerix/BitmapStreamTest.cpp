// The stream format of TgxBitmap and TgxBitmapLink: round trips, the layout written byte
// by byte, a negative height, and malformed streams refused with the bitmap unchanged.
// Loading from resources.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gx_bitmap.h"
#include "vcl/Graphics.h"
#include "vcl/Resources.h"

namespace {

// A stream written by hand, little-endian.
class Writer {
 public:
  Writer& Int(int32_t v) {
    for (int i = 0; i < 4; ++i) Bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return *this;
  }
  Writer& Name(const std::u16string& s) {
    Int(int32_t(s.size()));
    for (char16_t c : s) {
      Bytes.push_back(uint8_t(c));
      Bytes.push_back(uint8_t(c >> 8));
    }
    return *this;
  }
  Writer& Pixel(TgxColor p) { return Int(int32_t(p)); }
  TBytes Bytes;
};

TgxColor PixelAt(int x, int y) { return 0x80000000u | TgxColor(y << 8) | TgxColor(x); }

void Fill(TgxBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, PixelAt(x, y));
}

TEST(GxBitmapStream, SaveWritesNameSizeAndTopRowFirst) {
  TgxBitmap b;
  b.SetSize(2, 2);
  Fill(b);
  b.SetName("Ab");
  TMemoryStream stream;
  b.SaveToStream(&stream);
  const TBytes want = Writer().Name(u"Ab").Int(2).Int(2).Pixel(PixelAt(0, 0)).Pixel(PixelAt(1, 0))
                          .Pixel(PixelAt(0, 1)).Pixel(PixelAt(1, 1)).Bytes;
  ASSERT_EQ(stream.Size(), int64_t(want.size()));
  EXPECT_EQ(TBytes(stream.Memory(), stream.Memory() + stream.Size()), want);
}

TEST(GxBitmapStream, RoundTripsKeepPixelsAndName) {
  const char* names[] = {"", "Picture 1", "\xC3\xA9t\xC3\xA9", "emoji \xF0\x9F\x99\x82 too"};
  for (const char* name : names) {
    TgxBitmap a;
    a.SetSize(5, 3);
    Fill(a);
    a.SetName(name);
    TMemoryStream stream;
    a.SaveToStream(&stream);
    a.SaveToStream(&stream);  // two in a row read back one after the other
    stream.SetPosition(0);
    for (int i = 0; i < 2; ++i) {
      TgxBitmap b;
      b.LoadFromStream(&stream);
      EXPECT_EQ(b.Name(), name);
      ASSERT_EQ(b.Width(), 5);
      ASSERT_EQ(b.Height(), 3);
      EXPECT_EQ(std::memcmp(a.Bits(), b.Bits(), 5 * 3 * 4), 0);
    }
    EXPECT_EQ(stream.Position(), stream.Size());
  }
  // An empty bitmap stores only its name.
  TgxBitmap empty, loaded;
  empty.SetName("nothing");
  TMemoryStream stream;
  empty.SaveToStream(&stream);
  EXPECT_EQ(stream.Size(), 4 + 7 * 2 + 8);
  stream.SetPosition(0);
  loaded.LoadFromStream(&stream);
  EXPECT_EQ(loaded.Name(), "nothing");
  EXPECT_TRUE(loaded.Empty());
}

TEST(GxBitmapStream, ANegativeHeightMeansTheBottomRowComesFirst) {
  Writer w;
  w.Name(u"up").Int(2).Int(-3);
  for (int y = 2; y >= 0; --y)
    for (int x = 0; x < 2; ++x) w.Pixel(PixelAt(x, y));
  TBytesStream stream(w.Bytes);
  TgxBitmap b;
  b.LoadFromStream(&stream);
  ASSERT_EQ(b.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(b.GetPixel(x, y), PixelAt(x, y)) << x << "," << y;
}

TEST(GxBitmapStream, AZeroSizeChangesOnlyTheName) {
  for (auto [w, h] : {std::pair{4, 0}, std::pair{0, 3}}) {
    TgxBitmap b;
    b.SetSize(2, 2);
    Fill(b);
    TBytesStream stream(Writer().Name(u"renamed").Int(w).Int(h).Bytes);
    b.LoadFromStream(&stream);
    EXPECT_EQ(b.Name(), "renamed");
    ASSERT_EQ(b.Width(), 2);
    EXPECT_EQ(b.GetPixel(1, 1), PixelAt(1, 1));
  }
}

struct BadStream {
  const char* What;
  TBytes Bytes;
};

TEST(GxBitmapStream, MalformedStreamsRaiseAndLeaveTheBitmapAsItWas) {
  const TBytes pixels2x2 = Writer().Pixel(1).Pixel(2).Pixel(3).Pixel(4).Bytes;
  auto with = [](TBytes head, const TBytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  const BadStream cases[] = {
      {"empty", {}},
      {"half a name length", {1, 0}},
      {"negative name length", Writer().Int(-1).Int(1).Int(1).Pixel(0).Bytes},
      {"name longer than the stream", Writer().Int(1000).Int(1).Int(1).Bytes},
      {"name length overflowing bytes", Writer().Int(INT32_MAX).Bytes},
      {"no size", Writer().Name(u"x").Bytes},
      {"width only", Writer().Name(u"x").Int(2).Bytes},
      {"one pixel short", Writer().Name(u"x").Int(2).Int(2).Pixel(1).Pixel(2).Pixel(3).Bytes},
      {"pixels missing", Writer().Name(u"x").Int(2).Int(2).Bytes},
      {"negative width", with(Writer().Name(u"x").Int(-2).Int(2).Bytes, pixels2x2)},
      {"lowest height", Writer().Name(u"x").Int(1).Int(INT32_MIN).Bytes},
      {"size overflowing 32 bits", with(Writer().Name(u"x").Int(65536).Int(65536).Bytes, pixels2x2)},
      {"size overflowing 64-bit bytes", Writer().Name(u"x").Int(INT32_MAX).Int(INT32_MAX).Bytes},
      {"size too large for the stream", with(Writer().Name(u"x").Int(3000).Int(-3000).Bytes, pixels2x2)},
  };
  for (const BadStream& c : cases) {
    TgxBitmap b;
    b.SetSize(3, 2);
    Fill(b);
    b.SetName("before");
    TBytesStream stream(c.Bytes);
    try {
      b.LoadFromStream(&stream);
      ADD_FAILURE() << c.What << ": no exception";
    } catch (const EgxStreamError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid bitmap stream: ", 0), 0u) << c.What << ": " << e.what();
    }
    EXPECT_EQ(b.Name(), "before") << c.What;
    ASSERT_EQ(b.Width(), 3) << c.What;
    ASSERT_EQ(b.Height(), 2) << c.What;
    EXPECT_EQ(b.GetPixel(2, 1), PixelAt(2, 1)) << c.What;
  }
}

TEST(GxBitmapStream, LinksStoreTheirNameAndRectangle) {
  TgxBitmapLink a;
  a.SetName("glyph");
  a.SetRect({-1, 2, 30, 40});
  TMemoryStream stream;
  a.SaveToStream(&stream);
  EXPECT_EQ(TBytes(stream.Memory(), stream.Memory() + stream.Size()),
            Writer().Name(u"glyph").Int(-1).Int(2).Int(30).Int(40).Bytes);
  stream.SetPosition(0);
  TgxBitmapLink b;
  b.LoadFromStream(&stream);
  EXPECT_EQ(b.Name(), "glyph");
  EXPECT_EQ(b.Rect(), (TRect{-1, 2, 30, 40}));

  TBytes cut(stream.Memory(), stream.Memory() + stream.Size() - 1);
  TBytesStream shortStream(cut);
  TgxBitmapLink c;
  c.SetName("old");
  EXPECT_THROW(c.LoadFromStream(&shortStream), EgxStreamError);
  EXPECT_EQ(c.Name(), "old");
  EXPECT_EQ(c.Rect(), TRect{});
}

// ---- resources ----

TBytes BmpFile(int w, int h, TColor color) {
  TBitmap bmp;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(w, h);
  bmp.Canvas()->Brush()->SetColor(color);
  bmp.Canvas()->FillRect({0, 0, w, h});
  TMemoryStream s;
  bmp.SaveToStream(&s);
  return TBytes(s.Memory(), s.Memory() + s.Size());
}

TEST(GxBitmapStream, LoadFromResourceReadsBitmapResources) {
  // A resource as the resource compiler keeps it: the BMP without its file header.
  static const TBytes file = BmpFile(3, 2, RGB(10, 20, 30));
  static const TBytes dib(file.begin() + 14, file.end());
  static const TBytes asFile = BmpFile(2, 4, RGB(200, 100, 0));
  static const TBytes notABitmap{'{', '}'};
  RegisterResource("GXTEST_DIB", "BITMAP", dib.data(), dib.size());
  RegisterResource("GXTEST_FILE", "RCDATA", asFile.data(), asFile.size());
  RegisterResource("GXTEST_TEXT", "RCDATA", notABitmap.data(), notABitmap.size());

  TgxBitmap b;
  b.LoadFromResource("", "gxtest_dib");
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(b.GetPixel(2, 1), 0xFF0A141Eu);
  b.LoadFromResource("", "GXTEST_FILE");
  ASSERT_EQ(b.Width(), 2);
  EXPECT_EQ(b.GetPixel(1, 3), 0xFFC86400u);
  b.LoadFromResource("", "GXTEST_TEXT");
  b.LoadFromResource("", "NO_SUCH_RESOURCE");
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.GetPixel(1, 3), 0xFFC86400u);
}

}  // namespace
