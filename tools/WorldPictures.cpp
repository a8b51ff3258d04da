// Loading screen and water pictures, and the sky: every sky pixel is painted
// from the direction it is seen in, so the six faces meet without seams.
// The game draws face i of the inside of a box with texture coordinates
// (u, v), u across and v down the picture; skyDirection below inverts that
// mapping. The sky is mirrored below the horizon: the picture's top and
// bottom rows (and left and right columns of the top and bottom faces)
// then hold the same colours, so the texture's wrap-around filtering at the
// edges adds nothing that could show as a line.
#include "WorldPictures.h"

#include "Picture.h"
#include "PngWriter.h"
#include "TextRenderer.h"
#include "TileNoise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const int loadingWidth = 512;
const int loadingHeight = 256;
const int waterSize = 64;
const int skySize = 512;
const float pi = 3.14159265f;

uint8_t toByte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

float mix(float a, float b, float t) {
  return a + (b - a) * t;
}

float smoothstep(float e0, float e1, float x) {
  float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
  return t * t * (3 - 2 * t);
}

struct Direction {
  float x, y, z;
};

// The direction seen through (u, v) of sky face `face`, before normalising.
Direction skyDirection(int face, float u, float v) {
  switch (face) {
    case 0:  // bottom
      return {1 - 2 * u, -1, 1 - 2 * v};
    case 1:  // top
      return {1 - 2 * u, 1, 1 - 2 * v};
    case 2:  // left, the -z side
      return {2 * u - 1, 1 - 2 * v, -1};
    case 3:  // right, the +z side
      return {1 - 2 * u, 1 - 2 * v, 1};
    case 4:  // front, the +x side
      return {1, 1 - 2 * v, 2 * u - 1};
    default:  // back, the -x side
      return {-1, 1 - 2 * v, 1 - 2 * u};
  }
}

// Value noise in three dimensions, 0..1, from a hash of the lattice points.
float lattice(int x, int y, int z) {
  uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u ^
               static_cast<uint32_t>(z) * 83492791u;
  h ^= h >> 13;
  h *= 0x5bd1e995u;
  h ^= h >> 15;
  return static_cast<float>(h & 0xffffu) / 65535.0f;
}

float valueNoise(float x, float y, float z) {
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y)),
      iz = static_cast<int>(std::floor(z));
  float fx = smoothstep(0, 1, x - ix), fy = smoothstep(0, 1, y - iy), fz = smoothstep(0, 1, z - iz);
  float c[2][2];
  for (int a = 0; a < 2; ++a)
    for (int b = 0; b < 2; ++b)
      c[a][b] = mix(lattice(ix, iy + a, iz + b), lattice(ix + 1, iy + a, iz + b), fx);
  return mix(mix(c[0][0], c[0][1], fz), mix(c[1][0], c[1][1], fz), fy);
}

float fractalNoise(float x, float y, float z) {
  float sum = 0, weight = 0.5f, scale = 1;
  for (int octave = 0; octave < 5; ++octave) {
    sum += weight * valueNoise(x * scale, y * scale, z * scale);
    weight *= 0.5f;
    scale *= 2.03f;
  }
  return sum / (1 - std::pow(0.5f, 5.0f));
}

Rgba skyColour(Direction d) {
  float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  float x = d.x / length, y = std::fabs(d.y / length), z = d.z / length;
  // Pale at the horizon, deep blue overhead.
  float t = std::pow(y, 0.6f);
  float r = mix(196, 62, t), g = mix(218, 120, t), b = mix(238, 206, t);
  // Soft clouds, thinning towards the horizon.
  float n = fractalNoise(x * 3.1f + 11, y * 3.1f + 5, z * 3.1f + 7);
  float cloud = smoothstep(0.52f, 0.78f, n) * smoothstep(0.05f, 0.3f, y) * 0.85f;
  r = mix(r, 246, cloud);
  g = mix(g, 246, cloud);
  b = mix(b, 250, cloud);
  // The sun, high over the -z side.
  const float sx = 0.3f, sy = 0.55f, sz = -0.78f;
  float sunLength = std::sqrt(sx * sx + sy * sy + sz * sz);
  float facing = (x * sx + y * sy + z * sz) / sunLength;
  float glow = std::pow(std::max(facing, 0.0f), 64.0f) * 0.6f;
  float disc = smoothstep(0.9990f, 0.9994f, facing);
  float sun = std::min(1.0f, glow + disc);
  r = mix(r, 255, sun);
  g = mix(g, 250, sun);
  b = mix(b, 225, sun);
  return Rgba{toByte(r), toByte(g), toByte(b), 255};
}

Picture waterPicture(uint32_t seed, Rgba deep, Rgba light, float alphaLow, float alphaHigh) {
  TileNoise noise(waterSize, seed);
  Picture p(waterSize, waterSize, Rgba{0, 0, 0, 0});
  for (int y = 0; y < waterSize; ++y)
    for (int x = 0; x < waterSize; ++x) {
      float n = noise.fractal(x, y, 4, 3);
      float u = 2 * pi * x / waterSize, v = 2 * pi * y / waterSize;
      // Whole periods across the picture keep the ripples seamless.
      float waves =
          0.5f + 0.25f * std::sin(2 * u + 3 * v + 4 * n) + 0.25f * std::sin(5 * u - 2 * v + 6 * n);
      float t = std::clamp(waves, 0.0f, 1.0f);
      p.set(x, y,
            Rgba{toByte(mix(deep.r, light.r, t)), toByte(mix(deep.g, light.g, t)),
                 toByte(mix(deep.b, light.b, t)), toByte(mix(alphaLow, alphaHigh, t))});
    }
  return p;
}

}  // namespace

bool generateLoadingScreen(TextRenderer &text, const std::string &gameDir) {
  Picture picture(loadingWidth, loadingHeight, Rgba{0, 0, 0, 255});
  picture.fillGradient(0, 0, loadingWidth, loadingHeight, Rgba{30, 52, 92, 255},
                       Rgba{8, 14, 30, 255});
  picture.outlineRect(0, 0, loadingWidth, loadingHeight, 3, Rgba{120, 160, 220, 255});
  if (!text.setPixelSize(40))
    return false;
  text.drawCentred(picture, 0, 60, loadingWidth, 60, "Cube World", Rgba{255, 214, 120, 255});
  if (!text.setPixelSize(22))
    return false;
  text.drawCentred(picture, 0, 140, loadingWidth, 40, "Loading ...", Rgba{235, 240, 250, 255});
  return writePng(gameDir + "/loading.png", picture, false);
}

bool generateWaterPictures(const std::string &gameDir) {
  Picture surface = waterPicture(83, Rgba{20, 70, 150, 0}, Rgba{110, 180, 235, 0}, 150, 200);
  Picture layer = waterPicture(97, Rgba{10, 40, 100, 0}, Rgba{40, 100, 170, 0}, 90, 140);
  return writePng(gameDir + "/water.png", surface, true) &&
         writePng(gameDir + "/water_sub.png", layer, true);
}

bool generateSkybox(const std::string &gameDir) {
  const char *const names[6] = {"bottom", "top", "left", "right", "front", "back"};
  for (int face = 0; face < 6; ++face) {
    Picture picture(skySize, skySize, Rgba{0, 0, 0, 255});
    for (int row = 0; row < skySize; ++row)
      for (int column = 0; column < skySize; ++column) {
        // Pixel centres; the first row is v = 0.
        float u = (column + 0.5f) / skySize, v = (row + 0.5f) / skySize;
        picture.set(column, row, skyColour(skyDirection(face, u, v)));
      }
    if (!writePng(gameDir + "/skybox/" + names[face] + ".png", picture, false))
      return false;
  }
  return true;
}
