// Periodic value noise and cellular distances over a square picture.
#include "TileNoise.h"

#include <cmath>

namespace {

uint32_t hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

int wrap(int i, int n) {
  return ((i % n) + n) % n;
}

float smooth(float t) {
  return t * t * (3.0f - 2.0f * t);
}

}  // namespace

TileNoise::TileNoise(int size, uint32_t seed) : size(size), seed(seed) {}

float TileNoise::random(int a, int b, int c) const {
  uint32_t h = hash(seed ^ hash(uint32_t(a) + hash(uint32_t(b) + hash(uint32_t(c)))));
  return float(h & 0xffffffU) / float(0xffffff);
}

float TileNoise::value(float x, float y, int cellsX, int cellsY) const {
  float fx = x * cellsX / size;
  float fy = y * cellsY / size;
  int ix = int(std::floor(fx));
  int iy = int(std::floor(fy));
  float tx = smooth(fx - ix);
  float ty = smooth(fy - iy);
  auto at = [&](int i, int j) {
    return random(wrap(i, cellsX), wrap(j, cellsY), cellsX * 1000 + cellsY);
  };
  float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
  float bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

float TileNoise::fractal(float x, float y, int cells, int octaves) const {
  float sum = 0.0f;
  float weight = 1.0f;
  float total = 0.0f;
  for (int o = 0; o < octaves; ++o) {
    sum += value(x, y, cells) * weight;
    total += weight;
    weight *= 0.5f;
    cells *= 2;
  }
  return sum / total;
}

void TileNoise::cellDistances(float x, float y, int cells, float &nearest, float &second,
                              int &nearestCell) const {
  float cell = float(size) / cells;
  int cx = int(std::floor(x / cell));
  int cy = int(std::floor(y / cell));
  nearest = 1e9f;
  second = 1e9f;
  nearestCell = 0;
  for (int j = cy - 1; j <= cy + 1; ++j)
    for (int i = cx - 1; i <= cx + 1; ++i) {
      int wi = wrap(i, cells);
      int wj = wrap(j, cells);
      float px = (i + 0.15f + 0.7f * random(wi, wj, 1)) * cell;
      float py = (j + 0.15f + 0.7f * random(wi, wj, 2)) * cell;
      float d = std::hypot(px - x, py - y);
      if (d < nearest) {
        second = nearest;
        nearest = d;
        nearestCell = wj * cells + wi;
      } else if (d < second) {
        second = d;
      }
    }
}
