// Painting on the in-memory RGBA picture.
#include "Picture.h"

#include <algorithm>
#include <cmath>

Picture::Picture(int width, int height, Rgba fill)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height * 4) {
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = fill.r;
    pixels[i + 1] = fill.g;
    pixels[i + 2] = fill.b;
    pixels[i + 3] = fill.a;
  }
}

Rgba Picture::get(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return Rgba{0, 0, 0, 0};
  const uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
  return Rgba{p[0], p[1], p[2], p[3]};
}

void Picture::set(int x, int y, Rgba colour) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
  p[0] = colour.r;
  p[1] = colour.g;
  p[2] = colour.b;
  p[3] = colour.a;
}

void Picture::blend(int x, int y, Rgba colour, float coverage) {
  if (x < 0 || y < 0 || x >= width || y >= height)
    return;
  float srcA = std::clamp(coverage, 0.0f, 1.0f) * colour.a / 255.0f;
  if (srcA <= 0.0f)
    return;
  uint8_t *p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
  float dstA = p[3] / 255.0f;
  float outA = srcA + dstA * (1.0f - srcA);
  const float src[3] = {float(colour.r), float(colour.g), float(colour.b)};
  for (int c = 0; c < 3; ++c) {
    float v = (src[c] * srcA + p[c] * dstA * (1.0f - srcA)) / outA;
    p[c] = static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
  }
  p[3] = static_cast<uint8_t>(std::lround(outA * 255.0f));
}

void Picture::fillRect(int x, int y, int w, int h, Rgba colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      blend(i, j, colour);
}

void Picture::fillGradient(int x, int y, int w, int h, Rgba top, Rgba bottom) {
  for (int j = 0; j < h; ++j) {
    float t = h > 1 ? float(j) / float(h - 1) : 0.0f;
    auto mix = [t](uint8_t a, uint8_t b) {
      return static_cast<uint8_t>(std::lround(a + (b - a) * t));
    };
    Rgba c{mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), mix(top.a, bottom.a)};
    for (int i = x; i < x + w; ++i)
      blend(i, y + j, c);
  }
}

void Picture::outlineRect(int x, int y, int w, int h, int thickness, Rgba colour) {
  fillRect(x, y, w, thickness, colour);
  fillRect(x, y + h - thickness, w, thickness, colour);
  fillRect(x, y + thickness, thickness, h - 2 * thickness, colour);
  fillRect(x + w - thickness, y + thickness, thickness, h - 2 * thickness, colour);
}

void Picture::blendMask(int x, int y, const std::vector<uint8_t> &mask, int maskWidth,
                        int maskHeight, Rgba colour) {
  for (int j = 0; j < maskHeight; ++j)
    for (int i = 0; i < maskWidth; ++i) {
      uint8_t m = mask[static_cast<size_t>(j) * maskWidth + i];
      if (m != 0)
        blend(x + i, y + j, colour, m / 255.0f);
    }
}

namespace {

// Even-odd rule over the polygon's edges.
bool insidePolygon(const std::vector<float> &xy, float px, float py) {
  bool inside = false;
  size_t n = xy.size() / 2;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
    if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
      inside = !inside;
  }
  return inside;
}

}  // namespace

void Picture::fillPolygon(const std::vector<float> &xy, Rgba colour) {
  float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
  for (size_t i = 0; i + 1 < xy.size(); i += 2) {
    minX = std::min(minX, xy[i]);
    maxX = std::max(maxX, xy[i]);
    minY = std::min(minY, xy[i + 1]);
    maxY = std::max(maxY, xy[i + 1]);
  }
  const int samples = 4;
  for (int y = int(std::floor(minY)); y <= int(std::ceil(maxY)); ++y)
    for (int x = int(std::floor(minX)); x <= int(std::ceil(maxX)); ++x) {
      int hits = 0;
      for (int sy = 0; sy < samples; ++sy)
        for (int sx = 0; sx < samples; ++sx)
          if (insidePolygon(xy, x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples))
            ++hits;
      if (hits > 0)
        blend(x, y, colour, float(hits) / (samples * samples));
    }
}
