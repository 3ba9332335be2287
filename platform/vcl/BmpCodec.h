// BMP files to and from 32-bit pixels, for TBitmap.
#pragma once

#include <vector>

#include "Streams.h"
#include "gdi/Surface.h"

struct BmpImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;              // as stored in the file
  std::vector<uint32_t> Pixels;  // bytes blue, green, red, alpha; rows top-down
};

// Reads one BMP file from the stream's position and leaves the position after its
// pixels. 1, 4 and 8-bit pictures take their palette's colours; 24-bit and palette
// pixels come out opaque; 32-bit pixels keep their fourth byte. Raises EInvalidGraphic
// "Bitmap image is not valid" for anything else, truncated files included.
BmpImage ReadBmp(TStream* Stream);

// Writes a bottom-up BI_RGB file of 32 (alpha bytes kept) or 24 bits per pixel.
void WriteBmp(TStream* Stream, const Surface& Pixels, int BitCount);
