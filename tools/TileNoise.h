// Deterministic noise that repeats across a square picture's edges, so that
// textures made from it tile without seams.
#pragma once

#include <cstdint>

class TileNoise {
 public:
  // size: the picture's edge in pixels; seed: chooses the pattern.
  TileNoise(int size, uint32_t seed);

  // Smooth value noise in 0..1 with `cells` lattice cells across the picture.
  float value(float x, float y, int cells) const { return value(x, y, cells, cells); }
  // The same with cellsX cells across and cellsY down, for streaks.
  float value(float x, float y, int cellsX, int cellsY) const;
  // Sum of octaves from `cells` upwards, each twice as fine and half as strong, in 0..1.
  float fractal(float x, float y, int cells, int octaves) const;
  // Distance from (x, y) to the nearest and second nearest of one random point
  // per cell of a cells × cells grid, in pixels (cellular pattern).
  void cellDistances(float x, float y, int cells, float &nearest, float &second,
                     int &nearestCell) const;
  // A hash of integers to 0..1, for per-brick or per-plank choices.
  float random(int a, int b = 0, int c = 0) const;

 private:
  int size;
  uint32_t seed;
};
