// TgxBitmap::LoadFromPcxStream: 8-bit ZSoft PCX images, run-length encoded or raw, with
// the 256-colour palette at the end of the file or, for version 3, the system's 16
// colours. Every read is checked against the data actually there.
#include <algorithm>
#include <cstring>
#include <vector>

#include "gx_bitmap/Bitmap.h"

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kPaletteSize = 768;
constexpr uint8_t kPaletteMarker = 12;
constexpr int64_t kMaxPixels = int64_t(1) << 28;

// The system's 16 colours (0xAARRGGBB); the other 240 entries stay black.
constexpr TgxColor kSystemPalette16[16] = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF,
};

[[noreturn]] void Invalid(const String& What) { throw EgxStreamError("Invalid PCX image: " + What); }

std::vector<uint8_t> ReadRest(TStream* Stream) {
  std::vector<uint8_t> data;
  constexpr size_t kChunk = 64 * 1024;
  for (;;) {
    const size_t at = data.size();
    data.resize(at + kChunk);
    const int64_t n = Stream->Read(data.data() + at, int64_t(kChunk));
    data.resize(at + size_t(std::max<int64_t>(n, 0)));
    if (n <= 0) break;
  }
  return data;
}

// Hands out the decoded bytes of the image data, row after row; runs may cross rows.
class TPcxDecoder {
 public:
  TPcxDecoder(const uint8_t* Data, size_t Size, bool Encoded) : FData(Data), FSize(Size), FEncoded(Encoded) {}

  void ReadRow(uint8_t* Row, size_t Count) {
    if (!FEncoded) {
      if (FSize - FPos < Count) Invalid("the image data is truncated");
      std::memcpy(Row, FData + FPos, Count);
      FPos += Count;
      return;
    }
    size_t i = 0;
    while (i < Count) {
      if (FRun > 0) {
        const size_t n = std::min(FRun, Count - i);
        std::memset(Row + i, FValue, n);
        FRun -= n;
        i += n;
        continue;
      }
      if (FPos >= FSize) Invalid("the image data is truncated");
      const uint8_t b = FData[FPos++];
      if (b >= 192) {
        if (FPos >= FSize) Invalid("the image data is truncated");
        FRun = b & 63u;
        FValue = FData[FPos++];
      } else {
        Row[i++] = b;
      }
    }
  }

 private:
  const uint8_t* FData;
  size_t FSize;
  bool FEncoded;
  size_t FPos = 0;
  size_t FRun = 0;
  uint8_t FValue = 0;
};

}  // namespace

void TgxBitmap::LoadFromPcxStream(TStream* Stream) {
  if (!Stream) return;
  const std::vector<uint8_t> data = ReadRest(Stream);
  if (data.empty() || (data[0] != 10 && data[0] != 205)) return;
  if (data.size() < kHeaderSize) Invalid("the header is truncated");
  auto u16 = [&](size_t at) { return int32_t(data[at]) | (int32_t(data[at + 1]) << 8); };
  const uint8_t version = data[1];
  const bool encoded = data[2] == 1;
  const uint8_t bitsPerPixel = data[3];
  const int32_t width = u16(8) - u16(4) + 1;
  const int32_t height = u16(10) - u16(6) + 1;
  const int32_t planes = data[65];
  const int32_t bytesPerLine = u16(66);
  // Only 8-bit indexed pictures are read; other kinds leave the bitmap alone.
  if (bitsPerPixel != 8) return;
  if (width < 1 || height < 1) Invalid("invalid size " + IntToStr(width) + " x " + IntToStr(height));
  if (int64_t(width) * height > kMaxPixels) Invalid("the size is too large");
  const int64_t rowBytes = int64_t(bytesPerLine) * planes;
  if (rowBytes < width)
    Invalid(IntToStr(bytesPerLine) + " bytes per line in " + IntToStr(planes) + " planes cannot hold " +
            IntToStr(width) + " pixels");

  TgxColor palette[256];
  std::fill_n(palette, 256, 0xFF000000u);
  size_t dataEnd = data.size();
  if (version == 3) {
    std::copy_n(kSystemPalette16, 16, palette);
  } else {
    if (data.size() < kHeaderSize + 1 + kPaletteSize) Invalid("the 256-colour palette is missing");
    dataEnd = data.size() - kPaletteSize - 1;
    if (data[dataEnd] != kPaletteMarker) Invalid("the 256-colour palette is missing");
    const uint8_t* p = data.data() + dataEnd + 1;
    for (int i = 0; i < 256; ++i, p += 3)
      palette[i] = 0xFF000000u | (TgxColor(p[0]) << 16) | (TgxColor(p[1]) << 8) | TgxColor(p[2]);
  }

  const size_t dataSize = dataEnd - kHeaderSize;
  // A run of two bytes gives at most 63: a header promising more than that is refused
  // before anything is allocated.
  if (rowBytes * height > int64_t(dataSize) * (encoded ? 32 : 1)) Invalid("the image data is truncated");

  std::vector<TgxColor> pixels(size_t(width) * size_t(height));
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  TPcxDecoder decoder(data.data() + kHeaderSize, dataSize, encoded);
  for (int32_t y = 0; y < height; ++y) {
    decoder.ReadRow(row.data(), row.size());
    TgxColor* out = pixels.data() + size_t(y) * size_t(width);
    for (int32_t x = 0; x < width; ++x) out[x] = palette[row[size_t(x)]];
  }
  SetSize(width, height);
  std::memcpy(FBits, pixels.data(), pixels.size() * sizeof(TgxColor));
}
