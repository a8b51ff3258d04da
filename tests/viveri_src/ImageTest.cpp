// Images with a GL context: the stretch to powers of two (sizes, contents,
// log line), the texture made from the pixels, and what destruction and
// freePixels release.
#include "Image.h"

#include "DeviceManager.h"
#include "ImageFixtures.h"
#include "ImageLoader.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

namespace {

// A PNG whose pixel (x, y) is (2 x, 2 y, 7) in RGB.
std::string gradientPng(const std::string &name, int width, int height) {
  std::vector<int> samples;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++)
      samples.insert(samples.end(), {2 * x, 2 * y, 7});
  return writeTempFile(name, pngBytes({width, height, PNG_COLOR_TYPE_RGB, 8, samples}));
}

// GLU's filter blends neighbours (and wraps at the edges when enlarging), so
// contents are checked by what any filter keeps: a plain colour stays that
// colour (a misread row would mix its channels), and a gradient keeps its
// darker half on the left and at the top.
TEST(ImageStretchTest, SizesBecomePowersOfTwo) {
  struct StretchCase {
    int width;
    int height;
    int stretchedWidth;
    int stretchedHeight;
  };
  const StretchCase cases[] = {{1, 1, 2, 2}, {3, 5, 4, 8},       {4, 4, 4, 4},
                               {2, 1, 2, 2}, {100, 50, 128, 64}, {17, 2, 32, 2}};
  // The game's pixel store alignments, which the stretch must neither use nor change.
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  for (const StretchCase &c : cases) {
    std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
    std::string plain =
        writeTempFile("plain.png", pngBytes({c.width, c.height, PNG_COLOR_TYPE_RGB, 8, [&] {
                                               std::vector<int> samples;
                                               for (int i = 0; i < c.width * c.height; i++)
                                                 samples.insert(samples.end(), {10, 100, 200});
                                               return samples;
                                             }()}));
    int width = 0, height = 0;
    bool isAlpha = true;
    testing::internal::CaptureStdout();
    unsigned char *pixels = loadImage(plain, height, width, isAlpha, true);
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(width, c.stretchedWidth) << size;
    EXPECT_EQ(height, c.stretchedHeight) << size;
    EXPECT_FALSE(isAlpha);
    bool isStretched = c.width != c.stretchedWidth || c.height != c.stretchedHeight;
    EXPECT_EQ(log, "Loading image '" + plain + "' ...(png)" +
                       (isStretched ? " (image was streched) " : "") +
                       "... done (width=" + std::to_string(width) +
                       " height=" + std::to_string(height) + " isAlpha=0)\n");
    int wrong = 0;
    for (int i = 0; i < width * height; i++)
      wrong += std::abs(pixels[i * 3] - 10) > 1 || std::abs(pixels[i * 3 + 1] - 100) > 1 ||
               std::abs(pixels[i * 3 + 2] - 200) > 1;
    EXPECT_EQ(wrong, 0) << size << ": pixels that lost the plain colour";
    delete[] pixels;

    pixels =
        loadImage(gradientPng("gradient.png", c.width, c.height), height, width, isAlpha, false);
    // Mean red of the left and right halves, mean green of the top and bottom halves.
    double sums[4] = {0, 0, 0, 0};
    for (int y = 0; y < height; y++) {
      for (int x = 0; x < width; x++) {
        const unsigned char *p = pixels + (size_t(y) * width + x) * 3;
        sums[x < width / 2 ? 0 : 1] += p[0];
        sums[y < height / 2 ? 2 : 3] += p[1];
      }
    }
    if (c.width > 1) {
      EXPECT_LT(sums[0], sums[1]) << size << ": columns keep their order";
    }
    if (c.height > 1) {
      EXPECT_LT(sums[2], sums[3]) << size << ": rows keep their order";
    }
    delete[] pixels;
  }
  GLint pack = 0, unpack = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &pack);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
  EXPECT_EQ(pack, 4);
  EXPECT_EQ(unpack, 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

TEST(ImageStretchTest, RgbaStretchKeepsAlpha) {
  std::string path = writeTempFile(
      "alpha.png",
      pngBytes({3, 1, PNG_COLOR_TYPE_RGBA, 8, {1, 2, 3, 40, 1, 2, 3, 40, 1, 2, 3, 40}}));
  int width = 0, height = 0;
  bool isAlpha = false;
  unsigned char *pixels = loadImage(path, height, width, isAlpha, false);
  EXPECT_EQ(width, 4);
  EXPECT_EQ(height, 2);
  EXPECT_TRUE(isAlpha);
  for (int i = 0; i < width * height; i++) {
    EXPECT_EQ(pixels[i * 4 + 0], 1) << i;
    EXPECT_EQ(pixels[i * 4 + 3], 40) << i;
  }
  delete[] pixels;
}

TEST(ImageTest, TextureHoldsThePixelsAndGoesWithTheImage) {
  std::string path = gradientPng("texture.png", 3, 2);
  testing::internal::CaptureStdout();
  Image *image = new Image(deviceManager, path, false);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading image '" + path + "'\n");
  EXPECT_EQ(image->getWidth(), 4);
  EXPECT_EQ(image->getHeight(), 2);
  EXPECT_FALSE(image->getIsAlpha());
  EXPECT_EQ(image->getPath(), path);
  ASSERT_NE(image->getPixels(), nullptr);
  unsigned int texture = image->getTexture();
  ASSERT_TRUE(glIsTexture(texture));

  // The texture's base level is the 4 × 2 buffer, rows as handed over.
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint textureWidth = 0, textureHeight = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &textureWidth);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &textureHeight);
  EXPECT_EQ(textureWidth, 4);
  EXPECT_EQ(textureHeight, 2);
  unsigned char readBack[4 * 2 * 3];
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, readBack);
  EXPECT_EQ(Bytes(readBack, readBack + sizeof readBack),
            Bytes(image->getPixels(), image->getPixels() + sizeof readBack));

  image->freePixels();
  EXPECT_EQ(image->getPixels(), nullptr);
  EXPECT_TRUE(glIsTexture(texture));
  image->freePixels();

  testing::internal::CaptureStdout();
  delete image;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Freeing image '" + path + "'\n");
  EXPECT_FALSE(glIsTexture(texture));
}

// A 2-pixel-wide RGB row is 6 bytes: the texture must not read it as 8.
TEST(ImageTest, NarrowRgbTextureIsNotShifted) {
  std::string path = writeTempFile(
      "narrow.png",
      pngBytes({2, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}}));
  testing::internal::CaptureStdout();
  Image image(deviceManager, path, false);
  testing::internal::GetCapturedStdout();
  glBindTexture(GL_TEXTURE_2D, image.getTexture());
  unsigned char readBack[12];
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, readBack);
  EXPECT_EQ(Bytes(readBack, readBack + 12), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

}  // namespace
