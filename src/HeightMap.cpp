#include "HeightMap.h"

#include <cstdio>
#include <iostream>

#include "FatalReport.h"
#include "ImageLoader.h"

HeightMap::~HeightMap() {
  delete[] pixels;
}

bool HeightMap::readPngSize(const std::string &path, int64_t &pngWidth, int64_t &pngHeight) {
  // Signature (8 bytes), the first chunk's length and name "IHDR", then the
  // width and height as big-endian 32-bit numbers.
  FILE *file = std::fopen(path.c_str(), "rb");
  if (file == NULL)
    return false;
  unsigned char header[24];
  size_t got = std::fread(header, 1, sizeof(header), file);
  std::fclose(file);
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  if (got != sizeof(header))
    return false;
  for (int i = 0; i < 8; ++i)
    if (header[i] != signature[i])
      return false;
  if (header[12] != 'I' || header[13] != 'H' || header[14] != 'D' || header[15] != 'R')
    return false;
  auto bigEndian = [&header](int at) {
    return (int64_t(header[at]) << 24) | (int64_t(header[at + 1]) << 16) |
           (int64_t(header[at + 2]) << 8) | int64_t(header[at + 3]);
  };
  pngWidth = bigEndian(16);
  pngHeight = bigEndian(20);
  return true;
}

bool HeightMap::load(const std::string &path) {
  int64_t declaredWidth = 0, declaredHeight = 0;
  if (readPngSize(path, declaredWidth, declaredHeight) &&
      (declaredWidth > maxSide || declaredHeight > maxSide)) {
    std::cout << "Height map '" << path << "' is " << declaredWidth << " x " << declaredHeight
              << " pixels; at most " << maxSide << " on a side is accepted" << std::endl;
    return false;
  }
  delete[] pixels;
  pixels = nullptr;
  int loadedWidth = 0, loadedHeight = 0;
  bool isAlpha = false;
  pixels = loadImage(path, loadedHeight, loadedWidth, isAlpha, false);
  width = loadedWidth;
  height = loadedHeight;
  bytesPerPixel = isAlpha ? 4 : 3;
  return true;
}

unsigned char HeightMap::red(int64_t x, int64_t y) const {
  ASSERT(x >= 0 && y >= 0 && x < width && y < height);
  return pixels[(x + y * width) * bytesPerPixel];
}
