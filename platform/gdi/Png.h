// PNG files to and from 32-bit pixels (libpng).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "Surface.h"

struct PngInfo {
  int Width = 0;
  int Height = 0;
  int BitDepth = 0;
  int ColorType = 0;   // libpng's PNG_COLOR_TYPE_*
  bool HasAlpha = false;  // an alpha channel or a transparency chunk
};

// Decodes any PNG into straight (not premultiplied) BGRA, rows top-down. On bad input
// returns null and puts a message in *error.
std::unique_ptr<Surface> ReadPng(const uint8_t* data, size_t size, PngInfo* info, std::string* error);
std::unique_ptr<Surface> ReadPngFile(const std::string& path, PngInfo* info, std::string* error);

// Writes the pixels as 8-bit RGBA (straight alpha, as stored). False and *error on failure.
bool WritePng(const Surface& surface, std::vector<uint8_t>* out, std::string* error);
bool WritePngFile(const Surface& surface, const std::string& path, std::string* error);
