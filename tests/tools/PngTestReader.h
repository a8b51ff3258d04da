// Test helper: decodes a PNG with libpng's low-level reader and reports the
// file's own layout (bit depth, colour type, interlacing) beside the pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
  int width = 0;
  int height = 0;
  int bitDepth = 0;
  int colourType = 0;
  bool isInterlaced = false;
  int channels = 0;             // 3 for RGB, 4 for RGBA
  std::vector<uint8_t> pixels;  // rows top first, channels bytes per pixel

  uint8_t at(int x, int y, int channel) const {
    return pixels[(static_cast<size_t>(y) * width + x) * channels + channel];
  }
  uint8_t alpha(int x, int y) const { return channels == 4 ? at(x, y, 3) : 255; }
};

// False, with the reason in error, when the file is missing or not a valid 8-bit RGB/RGBA PNG.
bool readPng(const std::string &path, DecodedPng &png, std::string &error);
