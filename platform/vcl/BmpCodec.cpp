#include "BmpCodec.h"

#include <bit>
#include <cstring>

#include "Graphic.h"

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
// The drawing layer refuses bitmaps larger than this.
constexpr uint64_t kMaxPixels = uint64_t(1) << 28;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

// One channel of a BI_BITFIELDS pixel, scaled to 8 bits.
struct Field {
  uint32_t Mask = 0;
  int Shift = 0;
  int Bits = 0;

  explicit Field(uint32_t mask) : Mask(mask) {
    if (mask == 0) return;
    Shift = std::countr_zero(mask);
    Bits = std::popcount(mask);
  }
  uint32_t Get(uint32_t pixel, uint32_t none) const {
    if (Bits == 0) return none;
    const uint32_t v = (pixel & Mask) >> Shift;
    if (Bits >= 8) return v >> (Bits - 8);
    return (v * 255 + ((1u << Bits) - 1) / 2) / ((1u << Bits) - 1);
  }
};

void ReadExactly(TStream* stream, void* buffer, int64_t count) {
  if (stream->Read(buffer, count) != count) Invalid();
}

}  // namespace

BmpImage ReadBmp(TStream* Stream) {
  if (!Stream) Invalid();
  const int64_t start = Stream->Position();
  uint8_t fileHeader[kFileHeaderSize + 4];
  ReadExactly(Stream, fileHeader, sizeof fileHeader);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') Invalid();
  const uint32_t offBits = Le32(fileHeader + 10);
  const uint32_t headerSize = Le32(fileHeader + kFileHeaderSize);
  // BITMAPINFOHEADER and its later versions; the old core header is not read.
  if (headerSize < kInfoHeaderSize || headerSize > 256) Invalid();
  std::vector<uint8_t> h(headerSize);
  std::memcpy(h.data(), fileHeader + kFileHeaderSize, 4);
  ReadExactly(Stream, h.data() + 4, headerSize - 4);

  const int32_t width = int32_t(Le32(&h[4]));
  const int32_t height = int32_t(Le32(&h[8]));
  const uint16_t planes = Le16(&h[12]);
  const uint16_t bitCount = Le16(&h[14]);
  const uint32_t compression = Le32(&h[16]);
  const uint32_t clrUsed = Le32(&h[32]);
  if (width <= 0 || height == 0 || height == INT32_MIN || planes != 1) Invalid();
  const int rows = height < 0 ? -height : height;
  if (uint64_t(width) * uint64_t(rows) > kMaxPixels) Invalid();
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) Invalid();
  const bool bitfields = compression == kBiBitfields || compression == kBiAlphaBitfields;
  if (compression != kBiRgb && !(bitfields && bitCount == 32)) Invalid();

  // Masks follow a plain info header; later headers hold them.
  uint32_t masks[4] = {0, 0, 0, 0};
  if (bitfields) {
    const int count = compression == kBiAlphaBitfields ? 4 : 3;
    if (headerSize >= 52) {
      for (int i = 0; i < 4 && 40 + 4 * size_t(i) + 4 <= headerSize; ++i) masks[i] = Le32(&h[40 + 4 * size_t(i)]);
    } else {
      uint8_t m[16];
      ReadExactly(Stream, m, 4 * count);
      for (int i = 0; i < count; ++i) masks[i] = Le32(m + 4 * i);
    }
  }

  std::vector<uint32_t> palette;
  if (bitCount <= 8) {
    const uint32_t maxColors = 1u << bitCount;
    const uint32_t colors = clrUsed == 0 ? maxColors : clrUsed;
    if (colors > 256) Invalid();
    std::vector<uint8_t> raw(size_t(colors) * 4);
    ReadExactly(Stream, raw.data(), int64_t(raw.size()));
    palette.resize(maxColors, 0xFF000000u);
    for (uint32_t i = 0; i < colors && i < maxColors; ++i)
      palette[i] = 0xFF000000u | (uint32_t(raw[4 * i + 2]) << 16) | (uint32_t(raw[4 * i + 1]) << 8) | raw[4 * i];
  }

  // The pixels start at offBits from the file header when it says where.
  const int64_t consumed = Stream->Position() - start;
  if (offBits != 0) {
    if (int64_t(offBits) < consumed) Invalid();
    if (int64_t(offBits) > consumed && Stream->Seek(start + int64_t(offBits), soBeginning) < 0) Invalid();
  }
  const uint64_t stride = ((uint64_t(width) * bitCount + 31) / 32) * 4;
  const uint64_t dataSize = stride * uint64_t(rows);
  if (int64_t(dataSize) > Stream->Size() - Stream->Position()) Invalid();
  std::vector<uint8_t> data(dataSize);
  ReadExactly(Stream, data.data(), int64_t(dataSize));

  BmpImage image;
  image.Width = width;
  image.Height = rows;
  image.BitCount = bitCount;
  image.Pixels.resize(size_t(width) * size_t(rows));
  const Field red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  for (int r = 0; r < rows; ++r) {
    const uint8_t* src = data.data() + stride * uint64_t(r);
    const int y = height > 0 ? rows - 1 - r : r;
    uint32_t* out = image.Pixels.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      switch (bitCount) {
        case 32: {
          const uint32_t p = Le32(src + 4 * size_t(x));
          out[x] = bitfields
                       ? (alpha.Get(p, 255) << 24) | (red.Get(p, 0) << 16) | (green.Get(p, 0) << 8) | blue.Get(p, 0)
                       : p;
          break;
        }
        case 24: {
          const uint8_t* s = src + 3 * size_t(x);
          out[x] = 0xFF000000u | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
          break;
        }
        default: {
          const int perByte = 8 / bitCount;
          const uint8_t byte = src[x / perByte];
          const int shift = 8 - bitCount * (x % perByte + 1);
          out[x] = palette[(byte >> shift) & ((1u << bitCount) - 1)];
          break;
        }
      }
    }
  }
  return image;
}

void WriteBmp(TStream* Stream, const Surface& Pixels, int BitCount) {
  if (!Stream) return;
  if (BitCount != 32) BitCount = 24;
  const int width = Pixels.Width(), height = Pixels.Height();
  const size_t stride = ((size_t(width) * size_t(BitCount) + 31) / 32) * 4;
  const size_t dataSize = stride * size_t(height);
  const size_t offBits = kFileHeaderSize + kInfoHeaderSize;
  std::vector<uint8_t> file(offBits + dataSize, 0);
  uint8_t* f = file.data();
  f[0] = 'B';
  f[1] = 'M';
  Put32(f + 2, uint32_t(file.size()));
  Put32(f + 10, uint32_t(offBits));
  uint8_t* h = f + kFileHeaderSize;
  Put32(h, kInfoHeaderSize);
  Put32(h + 4, uint32_t(width));
  Put32(h + 8, uint32_t(height));  // positive: rows bottom-up
  Put16(h + 12, 1);
  Put16(h + 14, uint32_t(BitCount));
  Put32(h + 16, kBiRgb);
  Put32(h + 20, uint32_t(dataSize));
  Put32(h + 24, 3780);  // 96 pixels per inch
  Put32(h + 28, 3780);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = Pixels.Row(y);
    uint8_t* out = f + offBits + stride * size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      if (BitCount == 32) {
        Put32(out + 4 * size_t(x), row[x]);
      } else {
        out[3 * size_t(x)] = uint8_t(row[x]);
        out[3 * size_t(x) + 1] = uint8_t(row[x] >> 8);
        out[3 * size_t(x) + 2] = uint8_t(row[x] >> 16);
      }
    }
  }
  Stream->WriteBuffer(file.data(), int64_t(file.size()));
}
