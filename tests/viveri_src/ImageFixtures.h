// Small picture files built by the tests: TGA bytes laid out by hand, PNG and
// JPEG written through libpng and libjpeg, temporary files to load them from,
// and the path of the public test pictures in tests/data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// An 18-byte TGA header followed by the given bytes (ID, map and pixels).
struct TgaFixture {
  int idLength;
  int colourMapType;
  int imageType;
  int colourMapLength;
  int colourMapEntrySize;
  int width;
  int height;
  int pixelDepth;
  Bytes body;
};
Bytes tgaBytes(const TgaFixture &fixture);

// A PNG of the given colour type and bit depth; samples hold one value per
// sample in row order (16-bit values for depth 16, 0..2^depth-1 below 8).
struct PngFixture {
  int width;
  int height;
  int colourType;
  int bitDepth;
  std::vector<int> samples;
  std::vector<unsigned char> palette = {};       // R, G, B per entry, for palette pictures
  std::vector<unsigned char> transparency = {};  // tRNS alpha per palette entry, or empty
  int transparentGrey = -1;                      // tRNS grey value, or -1
  bool isInterlaced = false;
};
Bytes pngBytes(const PngFixture &fixture);

// A JPEG of 1 (grey) or 3 (RGB) components, rows top first, quality 100.
Bytes jpegBytes(int width, int height, int components, const Bytes &pixels);

// This process's temporary folder, made on first use and removed at exit.
const std::string &tempFolder();

// A fresh file in this process's temporary folder holding the bytes; returns its path.
std::string writeTempFile(const std::string &name, const Bytes &bytes);
Bytes readFileBytes(const std::string &path);

// A file of the public test pictures (tests/data), by its path below the test data folder.
std::string testDataPath(const std::string &relative);
