#include "HeightmapPicture.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "Picture.h"
#include "PngWriter.h"
#include "TileNoise.h"

namespace {

const int mapSize = 256;

// 0 at the edge of a disc of radius r around (cx, cy), 1 at its centre,
// smoothly in between; 0 outside.
float bump(float x, float y, float cx, float cy, float r) {
  float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r;
  if (d >= 1.f)
    return 0.f;
  return 0.5f + 0.5f * std::cos(d * 3.14159265f);
}

float heightAt(const TileNoise &noise, float x, float y) {
  // Rolling hills from the noise, higher towards the map's top-left corner.
  float hills = 70.f + 150.f * noise.fractal(x, y, 4, 3) + 30.f * (1.f - (x + y) / 512.f);
  // A valley winding from the top edge to the bottom edge, right of the middle.
  float valleyX = 190.f + 20.f * std::sin(y / 40.f);
  float valleyDepth = std::max(0.f, 1.f - std::fabs(x - valleyX) / 18.f);
  float h = hills * (1.f - valleyDepth) + 42.f * valleyDepth;
  // The lake bed, ahead and to the right of the start.
  float lake = bump(x, y, 168.f, 88.f, 26.f);
  h = h * (1.f - lake) + 8.f * lake;
  // The plateau where the player starts, blended into the hills around it.
  float plateau = std::min(1.f, 2.f * bump(x, y, 128.f, 128.f, 24.f));
  h = h * (1.f - plateau) + static_cast<float>(heightmapPlateauRed) * plateau;
  return std::min(255.f, std::max(0.f, h));
}

}  // namespace

bool generateHeightmap(const std::string &gameDir) {
  const std::string path = gameDir + "/world_heightmap.png";
  if (std::filesystem::exists(path))
    return true;
  TileNoise noise(mapSize, 2024u);
  Picture picture(mapSize, mapSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < mapSize; ++y)
    for (int x = 0; x < mapSize; ++x) {
      auto v = static_cast<uint8_t>(std::lround(heightAt(noise, x + 0.5f, y + 0.5f)));
      picture.set(x, y, Rgba{v, v, v, 255});
    }
  return writePng(path, picture, dropAlpha);
}
