#include "Png.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

// Decoded images larger than this are refused rather than allocated.
constexpr uint64_t kMaxPixels = uint64_t(1) << 26;

struct ReadSource {
  const uint8_t* Data;
  size_t Size;
  size_t Pos;
};

struct ErrorSink {
  std::string Message;
};

void OnError(png_structp png, png_const_charp msg) {
  auto* sink = static_cast<ErrorSink*>(png_get_error_ptr(png));
  if (sink) sink->Message = msg ? msg : "unknown error";
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<ReadSource*>(png_get_io_ptr(png));
  if (count > src->Size - src->Pos) png_error(png, "unexpected end of data");
  std::memcpy(out, src->Data + src->Pos, count);
  src->Pos += count;
}

void SetError(std::string* error, const std::string& message) {
  if (error) *error = message;
}

// Deflate makes at most 1032 bytes of each byte it is given (a 258-byte match in a 1-bit
// length code and a 1-bit distance code), so image data of N bytes holds at most
// 1032 * N bytes of rows.
constexpr uint64_t kMaxInflation = 1032;

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// The bytes of the file's IDAT chunks, as far as the file holds them.
uint64_t ImageDataBytes(const uint8_t* data, size_t size) {
  uint64_t total = 0;
  for (size_t p = 8; p + 8 <= size;) {
    const uint64_t length = BigEndian32(data + p), available = size - p - 8;
    if (std::memcmp(data + p + 4, "IDAT", 4) == 0) total += std::min(length, available);
    if (length + 4 > available) break;
    p += 12 + size_t(length);
  }
  return total;
}

// The bytes of filtered rows a width x height image of bitsPerPixel has before
// compression: a filter byte and the packed pixels per row, per pass when interlaced.
uint64_t RawImageBytes(uint32_t width, uint32_t height, int bitsPerPixel, bool interlaced) {
  auto rows = [bitsPerPixel](uint64_t w, uint64_t h) { return w && h ? h * (1 + (w * bitsPerPixel + 7) / 8) : 0; };
  if (!interlaced) return rows(width, height);
  uint64_t total = 0;
  for (int pass = 0; pass < 7; ++pass) total += rows(PNG_PASS_COLS(width, pass), PNG_PASS_ROWS(height, pass));
  return total;
}

}  // namespace

namespace {

// What a decode builds; it lives in the caller's frame so that a longjmp out of libpng
// leaves nothing half-owned in the frame that called setjmp.
struct Decoded {
  std::unique_ptr<Surface> Pixels;
  std::unique_ptr<png_bytep[]> Rows;
};

bool Decode(png_structp png, png_infop pinfo, ReadSource* src, Decoded* out, PngInfo* info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, src, ReadBytes);
  png_set_user_limits(png, 1u << 16, 1u << 16);
  png_read_info(png, pinfo);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0;
  png_get_IHDR(png, pinfo, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
  if (uint64_t(width) * uint64_t(height) > kMaxPixels) png_error(png, "image too large");
  // Nothing is allocated for pixels the data cannot hold.
  const bool interlaced = png_get_interlace_type(png, pinfo) != PNG_INTERLACE_NONE;
  if (RawImageBytes(width, height, png_get_channels(png, pinfo) * bitDepth, interlaced) >
      kMaxInflation * ImageDataBytes(src->Data, src->Size))
    png_error(png, "the image data is too short for the image's size");
  const bool hasTrns = png_get_valid(png, pinfo, PNG_INFO_tRNS) != 0;
  if (info) {
    info->Width = int(width);
    info->Height = int(height);
    info->BitDepth = bitDepth;
    info->ColorType = colorType;
    info->HasAlpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTrns;
  }

  // Everything becomes 8-bit BGRA.
  if (bitDepth == 16) png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, pinfo);
  if (png_get_rowbytes(png, pinfo) != size_t(width) * 4) png_error(png, "unsupported pixel layout");

  out->Pixels = std::make_unique<Surface>(int(width), int(height));
  out->Rows.reset(new png_bytep[height]);
  for (png_uint_32 y = 0; y < height; ++y) out->Rows[y] = reinterpret_cast<png_bytep>(out->Pixels->Row(int(y)));
  png_read_image(png, out->Rows.get());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

std::unique_ptr<Surface> ReadPng(const uint8_t* data, size_t size, PngInfo* info, std::string* error) {
  if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    SetError(error, "PNG: not a PNG file");
    return nullptr;
  }
  ErrorSink sink;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  png_infop pinfo = png ? png_create_info_struct(png) : nullptr;
  if (!png || !pinfo) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    SetError(error, "PNG: out of memory");
    return nullptr;
  }
  ReadSource src{data, size, 0};
  Decoded decoded;
  const bool ok = Decode(png, pinfo, &src, &decoded, info);
  png_destroy_read_struct(&png, &pinfo, nullptr);
  if (!ok) {
    SetError(error, "PNG: " + (sink.Message.empty() ? std::string("cannot decode") : sink.Message));
    return nullptr;
  }
  return std::move(decoded.Pixels);
}

std::unique_ptr<Surface> ReadPngFile(const std::string& path, PngInfo* info, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    SetError(error, "PNG: cannot open " + path);
    return nullptr;
  }
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadPng(bytes.data(), bytes.size(), info, error);
}

namespace {
void WriteBytes(png_structp png, png_bytep data, png_size_t count) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + count);
}
void FlushNothing(png_structp) {}
}  // namespace

namespace {
bool Encode(png_structp png, png_infop pinfo, const Surface& surface, std::vector<uint8_t>* out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, WriteBytes, FlushNothing);
  png_set_IHDR(png, pinfo, png_uint_32(surface.Width()), png_uint_32(surface.Height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 3);
  png_write_info(png, pinfo);
  png_set_bgr(png);
  for (int y = 0; y < surface.Height(); ++y)
    png_write_row(png, reinterpret_cast<png_const_bytep>(surface.Row(y)));
  png_write_end(png, nullptr);
  return true;
}
}  // namespace

bool WritePng(const Surface& surface, std::vector<uint8_t>* out, std::string* error) {
  if (!out || surface.Width() == 0 || surface.Height() == 0) {
    SetError(error, "PNG: nothing to write");
    return false;
  }
  ErrorSink sink;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
  png_infop pinfo = png ? png_create_info_struct(png) : nullptr;
  if (!png || !pinfo) {
    png_destroy_write_struct(&png, nullptr);
    SetError(error, "PNG: out of memory");
    return false;
  }
  out->clear();
  const bool ok = Encode(png, pinfo, surface, out);
  png_destroy_write_struct(&png, &pinfo);
  if (!ok) SetError(error, "PNG: " + sink.Message);
  return ok;
}

bool WritePngFile(const Surface& surface, const std::string& path, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!WritePng(surface, &bytes, error)) return false;
  std::ofstream outFile(path, std::ios::binary);
  if (!outFile.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()))) {
    SetError(error, "PNG: cannot write " + path);
    return false;
  }
  return true;
}
