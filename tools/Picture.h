// An RGBA picture in memory, rows top first, with the few painting operations
// the data generator needs: filled and outlined rectangles, coverage masks
// blended in a colour, per-pixel access. Knows nothing about files.
#pragma once

#include <cstdint>
#include <vector>

struct Rgba {
  uint8_t r, g, b, a;
};

class Picture {
 public:
  Picture(int width, int height, Rgba fill);

  int getWidth() const { return width; }
  int getHeight() const { return height; }
  const std::vector<uint8_t> &getPixels() const { return pixels; }

  Rgba get(int x, int y) const;
  // Writes the pixel as it stands; points outside the picture are ignored.
  void set(int x, int y, Rgba colour);
  // Lays colour over the pixel with weight coverage × colour.a ("over" blending).
  void blend(int x, int y, Rgba colour, float coverage = 1.0f);

  // Rectangles are given by their first pixel and their size.
  void fillRect(int x, int y, int w, int h, Rgba colour);
  // Top to bottom gradient, blended.
  void fillGradient(int x, int y, int w, int h, Rgba top, Rgba bottom);
  void outlineRect(int x, int y, int w, int h, int thickness, Rgba colour);
  // Fills a polygon (corner coordinates in pixels, (0, 0) the top-left corner
  // of the first pixel) with 4 × 4 samples per pixel for smooth edges.
  void fillPolygon(const std::vector<float> &xy, Rgba colour);
  // Blends a coverage mask (0 to 255 per pixel, maskWidth per row) at (x, y).
  void blendMask(int x, int y, const std::vector<uint8_t> &mask, int maskWidth, int maskHeight,
                 Rgba colour);

 private:
  int width;
  int height;
  std::vector<uint8_t> pixels;
};
