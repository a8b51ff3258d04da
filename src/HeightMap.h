// The landscape height map: any picture the image loader reads (grey and
// palette pictures come out as RGB), whose red byte is the height. Sizes and
// pixel offsets are 64-bit; a picture larger than 16384 pixels on a side is
// refused with a console line before it is decoded.
#pragma once

#include <cstdint>
#include <string>

class HeightMap {
 public:
  // The largest side accepted, in pixels.
  static const int64_t maxSide = 16384;

  HeightMap() = default;
  ~HeightMap();
  HeightMap(const HeightMap &) = delete;
  HeightMap &operator=(const HeightMap &) = delete;

  // Loads the picture; false (with a console line) when it is too large.
  bool load(const std::string &path);
  int64_t getWidth() const { return width; }
  int64_t getHeight() const { return height; }
  // The red byte of pixel (x, y), rows from the top; inside the picture.
  unsigned char red(int64_t x, int64_t y) const;

  // The side lengths a PNG file's header declares; false when the file is
  // not a readable PNG (the loader then reports it).
  static bool readPngSize(const std::string &path, int64_t &pngWidth, int64_t &pngHeight);

 private:
  unsigned char *pixels = nullptr;
  int64_t width = 0;
  int64_t height = 0;
  int64_t bytesPerPixel = 3;
};
