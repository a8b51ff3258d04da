// Procedural 64 × 64 cube textures, each seamless across its edges.
#include "CubeTextures.h"

#include "Picture.h"
#include "PngWriter.h"
#include "TileNoise.h"

#include <algorithm>
#include <cmath>

namespace {

const int textureSize = 64;
// Opacity of the black shadow overlay; shadowed textures keep (255 − it) / 255 of their colour.
const int shadowAlpha = 112;
const float pi = 3.14159265f;

uint8_t toByte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

Rgba shade(float r, float g, float b, float light) {
  return Rgba{toByte(r * light), toByte(g * light), toByte(b * light), 255};
}

Picture grass() {
  TileNoise noise(textureSize, 11);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float n = noise.fractal(x, y, 4, 4);
      float blades = noise.value(x, y, 32, 8);
      float speck = noise.random(x, y, 17);
      float light = 0.7f + 0.45f * n + 0.25f * (blades - 0.5f) + 0.18f * (speck - 0.5f);
      float yellow = noise.value(x, y, 8);
      p.set(x, y, shade(70 + 40 * yellow, 142 + 10 * yellow, 48, light));
    }
  return p;
}

Picture dirtLike(uint32_t seed) {
  TileNoise noise(textureSize, seed);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float n = noise.fractal(x, y, 4, 5);
      float light = 0.65f + 0.6f * n;
      float nearest, second;
      int cell;
      noise.cellDistances(x, y, 8, nearest, second, cell);
      // Scattered small pebbles.
      if (nearest < 1.8f && noise.random(cell, 7) < 0.45f)
        light *= 0.7f + 0.6f * noise.random(cell, 8);
      p.set(x, y, shade(122, 86, 56, light));
    }
  return p;
}

Picture dirt() {
  return dirtLike(23);
}

Picture grassSide() {
  Picture p = dirtLike(29);
  Picture top = grass();
  TileNoise noise(textureSize, 31);
  for (int x = 0; x < textureSize; ++x) {
    // A ragged grass edge hanging over the dirt.
    int depth = 9 + int(7 * noise.value(x, 0, 16)) + int(3 * noise.random(x, 5));
    for (int y = 0; y < depth; ++y)
      p.set(x, y, top.get(x, y));
    Rgba under = p.get(x, depth);
    p.set(x, depth, shade(under.r, under.g, under.b, 0.6f));
  }
  return p;
}

Picture stone() {
  TileNoise noise(textureSize, 41);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float nearest, second;
      int cell;
      noise.cellDistances(x, y, 5, nearest, second, cell);
      float edge = second - nearest;
      float n = noise.fractal(x, y, 8, 4);
      float light = 0.78f + 0.25f * noise.random(cell, 3) + 0.3f * (n - 0.5f);
      if (edge < 1.5f)
        light *= 0.45f + 0.3f * edge;
      float base = 128 + 8 * noise.random(cell, 4);
      p.set(x, y, shade(base, base, base + 6, light));
    }
  return p;
}

Picture sand() {
  TileNoise noise(textureSize, 53);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float n = noise.fractal(x, y, 4, 3);
      float grain = noise.random(x, y, 9);
      // Ripples: four waves across the picture, bent by the noise.
      float ripple = std::sin(2 * pi * (4.0f * y / textureSize + 0.6f * n));
      float light = 0.86f + 0.08f * ripple + 0.14f * (grain - 0.5f) + 0.1f * (n - 0.5f);
      p.set(x, y, shade(222, 200, 142, light));
    }
  return p;
}

Picture snow() {
  TileNoise noise(textureSize, 59);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float n = noise.fractal(x, y, 4, 4);
      float sparkle = noise.random(x, y, 13) > 0.97f ? 0.08f : 0.0f;
      float light = 0.86f + 0.12f * n + sparkle;
      p.set(x, y, shade(232, 238, 250, light));
    }
  return p;
}

Picture wood() {
  TileNoise noise(textureSize, 67);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  const int plankHeight = 16;
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      int plank = y / plankHeight;
      float tone = 0.85f + 0.25f * noise.random(plank, 1);
      // Grain runs along the plank: rings cut at a slant, warped by noise.
      float warp = noise.fractal(x, y * 4.0f, 2, 3);
      float grain = 0.5f + 0.5f * std::sin(2 * pi * (y * 6.0f / plankHeight + 3.0f * warp));
      float light = tone * (0.8f + 0.22f * grain);
      int inPlank = y % plankHeight;
      // Each plank's end joint sits at its own place.
      int joint = int(noise.random(plank, 2) * textureSize);
      if (inPlank == 0 || x == joint)
        light *= 0.45f;
      else if (inPlank == plankHeight - 1 || x == (joint + 1) % textureSize)
        light *= 0.75f;
      p.set(x, y, shade(156, 108, 62, light));
    }
  return p;
}

Picture brick() {
  TileNoise noise(textureSize, 71);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  const int brickWidth = 32;
  const int brickHeight = 16;
  const int mortar = 2;
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      int row = y / brickHeight;
      int shifted = (x + (row % 2) * brickWidth / 2) % textureSize;
      int column = shifted / brickWidth;
      float n = noise.fractal(x, y, 8, 3);
      bool isMortar = y % brickHeight < mortar || shifted % brickWidth < mortar;
      if (isMortar) {
        p.set(x, y, shade(188, 182, 170, 0.75f + 0.3f * n));
        continue;
      }
      float tone = 0.8f + 0.3f * noise.random(row, column);
      // Bricks are lit from above: a lighter top edge, a darker bottom edge.
      int inBrick = y % brickHeight;
      float bevel = inBrick == mortar ? 1.15f : (inBrick == brickHeight - 1 ? 0.8f : 1.0f);
      p.set(x, y, shade(165, 66, 48, tone * bevel * (0.8f + 0.35f * n)));
    }
  return p;
}

Picture water() {
  TileNoise noise(textureSize, 83);
  Picture p(textureSize, textureSize, Rgba{0, 0, 0, 255});
  for (int y = 0; y < textureSize; ++y)
    for (int x = 0; x < textureSize; ++x) {
      float n = noise.fractal(x, y, 4, 3);
      float u = 2 * pi * x / textureSize;
      float v = 2 * pi * y / textureSize;
      float waves = std::sin(2 * u + 3 * v + 4 * n) + 0.5f * std::sin(5 * u - 2 * v + 6 * n);
      float light = 0.85f + 0.1f * waves;
      float highlight = waves > 1.2f ? 40.0f * (waves - 1.2f) : 0.0f;
      p.set(x, y, shade(36 + highlight, 96 + highlight, 176 + highlight, light));
    }
  return p;
}

struct CubeTexture {
  const char *fileName;
  Picture (*make)();
};

// The set of textures the editor offers for new cube types.
const CubeTexture cubeTextures[] = {
    {"grass.png", grass}, {"grass_side.png", grassSide},
    {"dirt.png", dirt},   {"stone.png", stone},
    {"sand.png", sand},   {"snow.png", snow},
    {"wood.png", wood},   {"brick.png", brick},
    {"water.png", water},
};

Picture darkened(const Picture &lit) {
  Picture p(lit.getWidth(), lit.getHeight(), Rgba{0, 0, 0, 255});
  const float keep = (255 - shadowAlpha) / 255.0f;
  for (int y = 0; y < lit.getHeight(); ++y)
    for (int x = 0; x < lit.getWidth(); ++x) {
      Rgba c = lit.get(x, y);
      p.set(x, y, shade(c.r, c.g, c.b, keep));
    }
  return p;
}

}  // namespace

bool generateShadowOverlay(const std::string &gameDir) {
  Picture overlay(16, 16, Rgba{0, 0, 0, static_cast<uint8_t>(shadowAlpha)});
  return writePng(gameDir + "/black_semi_transparent.png", overlay, keepAlpha);
}

bool generateCubeTextures(const std::string &gameDir) {
  for (const CubeTexture &t : cubeTextures) {
    Picture lit = t.make();
    if (!writePng(gameDir + "/cube_textures/" + t.fileName, lit, dropAlpha) ||
        !writePng(gameDir + "/cube_shadowed_textures/" + t.fileName, darkened(lit), dropAlpha))
      return false;
  }
  return true;
}
