// TgxBitmap streams (SaveToStream / LoadFromStream) and loading from resources.
#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "gx_bitmap/Streaming.h"
#include "vcl/Resources.h"

namespace {

constexpr const char* kBitmapKind = "bitmap";
// The most pixels a bitmap can have (the drawing layer's limit).
constexpr int64_t kMaxPixels = int64_t(1) << 28;
constexpr int64_t kChunk = 1 << 20;

[[noreturn]] void Invalid(const char* Kind, const String& What) {
  throw EgxStreamError("Invalid " + String(Kind) + " stream: " + What);
}

std::u16string ToUtf16(const String& s) {
  std::u16string out;
  for (char32_t c : Utf8ToCodePoints(s)) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(char16_t(0xD800 + (c >> 10)));
      out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(char16_t(c));
    }
  }
  return out;
}

String FromUtf16(const std::u16string& s) {
  std::u32string cps;
  for (size_t i = 0; i < s.size(); ++i) {
    const char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cps.push_back(0x10000 + ((c - 0xD800) << 10) + (char32_t(s[i + 1]) - 0xDC00));
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      cps.push_back(0xFFFD);  // a lone surrogate
    } else {
      cps.push_back(c);
    }
  }
  return CodePointsToUtf8(cps);
}

}  // namespace

int64_t gxStreamRemaining(TStream* Stream) {
  const int64_t pos = Stream->Position();
  if (pos < 0) return -1;
  const int64_t size = Stream->Size();
  if (size < 0) return -1;
  return size > pos ? size - pos : 0;
}

void gxReadExact(TStream* Stream, void* Buffer, int64_t Count, const char* Kind, const char* What) {
  auto* p = static_cast<uint8_t*>(Buffer);
  while (Count > 0) {
    const int64_t n = Stream->Read(p, Count);
    if (n <= 0) Invalid(Kind, String(What) + " is truncated");
    p += n;
    Count -= n;
  }
}

int32_t gxReadInt32(TStream* Stream, const char* Kind, const char* What) {
  uint8_t b[4];
  gxReadExact(Stream, b, 4, Kind, What);
  return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

void gxWriteInt32(TStream* Stream, int32_t Value) {
  const uint32_t v = uint32_t(Value);
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  Stream->WriteBuffer(b, 4);
}

String gxReadStreamName(TStream* Stream, const char* Kind) {
  const int32_t count = gxReadInt32(Stream, Kind, "the name length");
  if (count < 0) Invalid(Kind, "negative name length " + IntToStr(count));
  const int64_t bytes = int64_t(count) * 2;
  const int64_t remaining = gxStreamRemaining(Stream);
  if (remaining >= 0 && bytes > remaining) Invalid(Kind, "the name is truncated");
  // Read in chunks, so that a lying count on a stream of unknown size costs no more
  // memory than the stream really holds.
  std::vector<uint8_t> raw;
  for (int64_t done = 0; done < bytes;) {
    const int64_t n = std::min(bytes - done, kChunk);
    raw.resize(size_t(done + n));
    gxReadExact(Stream, raw.data() + done, n, Kind, "the name");
    done += n;
  }
  std::u16string units(size_t(count), u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
  return FromUtf16(units);
}

void gxWriteStreamName(TStream* Stream, const String& Name) {
  const std::u16string units = ToUtf16(Name);
  gxWriteInt32(Stream, int32_t(units.size()));
  std::vector<uint8_t> raw(units.size() * 2);
  for (size_t i = 0; i < units.size(); ++i) {
    raw[2 * i] = uint8_t(units[i]);
    raw[2 * i + 1] = uint8_t(units[i] >> 8);
  }
  if (!raw.empty()) Stream->WriteBuffer(raw.data(), int64_t(raw.size()));
}

void TgxBitmap::SaveToStream(TStream* Stream) {
  if (!Stream) return;
  gxWriteStreamName(Stream, FName);
  gxWriteInt32(Stream, FWidth);
  gxWriteInt32(Stream, FHeight);
  // Pixels are little-endian words: bytes blue, green, red, alpha as in memory.
  static_assert(std::endian::native == std::endian::little);
  if (FBits) Stream->WriteBuffer(FBits, int64_t(FWidth) * FHeight * int64_t(sizeof(TgxColor)));
}

void TgxBitmap::LoadFromStream(TStream* Stream) {
  if (!Stream) return;
  // Everything is read and checked before the bitmap changes.
  const String name = gxReadStreamName(Stream, kBitmapKind);
  const int32_t width = gxReadInt32(Stream, kBitmapKind, "the width");
  const int32_t height = gxReadInt32(Stream, kBitmapKind, "the height");
  if (width < 0 || height == INT32_MIN)
    Invalid(kBitmapKind, "invalid size " + IntToStr(width) + " x " + IntToStr(height));
  const int32_t rows = height < 0 ? -height : height;
  if (width == 0 || rows == 0) {
    FName = name;
    return;
  }
  const int64_t pixels = int64_t(width) * rows;
  if (pixels > kMaxPixels) Invalid(kBitmapKind, "size " + IntToStr(width) + " x " + IntToStr(height) + " is too large");
  const int64_t bytes = pixels * int64_t(sizeof(TgxColor));
  const int64_t remaining = gxStreamRemaining(Stream);
  if (remaining >= 0 && bytes > remaining)
    Invalid(kBitmapKind, "the pixels are truncated (" + IntToStr(bytes) + " bytes needed, " + IntToStr(remaining) +
                             " left)");
  std::vector<TgxColor> data;
  for (int64_t done = 0; done < pixels;) {
    const int64_t n = std::min(pixels - done, kChunk);
    data.resize(size_t(done + n));
    gxReadExact(Stream, data.data() + done, n * int64_t(sizeof(TgxColor)), kBitmapKind, "the pixels");
    done += n;
  }
  SetSize(width, rows);
  std::memcpy(FBits, data.data(), size_t(bytes));
  if (height < 0) FlipVert();
  FName = name;
}

// ---- resources ----

namespace {

// Bitmap resources hold a BMP without its 14-byte file header: put one in front.
TBytes WithFileHeader(const uint8_t* Data, size_t Size) {
  TBytes out;
  if (Size < 40) return out;
  auto u32 = [&](size_t at) {
    return uint32_t(Data[at]) | (uint32_t(Data[at + 1]) << 8) | (uint32_t(Data[at + 2]) << 16) |
           (uint32_t(Data[at + 3]) << 24);
  };
  const uint32_t headerSize = u32(0);
  const uint32_t bitCount = uint32_t(Data[14]) | (uint32_t(Data[15]) << 8);
  const uint32_t compression = u32(16);
  uint32_t colors = u32(32);
  if (colors == 0 && bitCount <= 8) colors = 1u << bitCount;
  uint64_t offset = 14 + uint64_t(headerSize) + uint64_t(colors) * 4;
  if (compression == 3 && headerSize == 40) offset += 12;  // BI_BITFIELDS masks
  const uint64_t total = 14 + uint64_t(Size);
  if (offset > total || total > UINT32_MAX) return out;
  out.resize(14 + Size);
  out[0] = 'B';
  out[1] = 'M';
  for (int i = 0; i < 4; ++i) {
    out[2 + i] = uint8_t(total >> (8 * i));
    out[10 + i] = uint8_t(offset >> (8 * i));
  }
  std::memcpy(out.data() + 14, Data, Size);
  return out;
}

}  // namespace

void TgxBitmap::LoadFromResource(const String& ResFileName, const String& ResName) {
  // The program is the only module; its resources are compiled in.
  (void)ResFileName;
  bool dib = true;
  HRSRC res = FindResource(HInstance, ResName, "BITMAP");
  if (!res) {
    res = FindResource(HInstance, ResName, RT_RCDATA);
    dib = false;
  }
  if (!res) return;
  const auto* data = static_cast<const uint8_t*>(LockResource(LoadResource(HInstance, res)));
  const size_t size = SizeofResource(HInstance, res);
  if (!data || size < 2) return;
  const bool bmpFile = data[0] == 'B' && data[1] == 'M';
  // Raw data of another kind is not a bitmap.
  if (!bmpFile && !dib) return;
  TBytesStream stream(bmpFile ? TBytes(data, data + size) : WithFileHeader(data, size));
  if (stream.Size() == 0) return;
  TBitmap picture;
  picture.LoadFromStream(&stream);
  Assign(&picture);
}
