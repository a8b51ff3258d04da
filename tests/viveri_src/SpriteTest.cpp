// Sprite geometry: hot spots of the five alignments, the corner table with
// scale, truncation and rotation, fitInto and the scaled size, the helpers'
// arithmetic, and a real rendering that shows the texture's orientation.
#include "Sprite.h"

#include "DeviceManager.h"
#include "Draw2DFixture.h"
#include "Image.h"
#include "ImageFixtures.h"
#include "SpriteManager.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <ostream>
#include <png.h>

#include <cmath>
#include <cstdlib>

namespace {

// A plain grey RGB PNG of the given size, written once per size.
std::string plainPng(int width, int height) {
  std::vector<int> samples(size_t(width) * height * 3, 128);
  return writeTempFile("plain" + std::to_string(width) + "x" + std::to_string(height) + ".png",
                       pngBytes({width, height, PNG_COLOR_TYPE_RGB, 8, samples}));
}

Sprite *quietSprite(const std::string &path, int alignment) {
  testing::internal::CaptureStdout();
  Sprite *sprite = spriteManager->createSprite(path, alignment);
  testing::internal::GetCapturedStdout();
  return sprite;
}

void quietRemove(Sprite *sprite) {
  testing::internal::CaptureStdout();
  spriteManager->removeSprite(sprite);
  testing::internal::GetCapturedStdout();
}

struct CornerCase {
  const char *name;
  int width;
  int height;
  int alignment;
  Int2 position;
  Float2 scale;
  float rotation;
  Int2 corners[4];  // Q0 bottom-right, Q1 bottom-left, Q2 top-left, Q3 top-right
};
// Cases print as their name in test listings.
void PrintTo(const CornerCase &c, std::ostream *os) {
  *os << c.name;
}

class SpriteCornerTest : public testing::TestWithParam<CornerCase> {};

TEST_P(SpriteCornerTest, CornersAsComputedAtDraw) {
  const CornerCase &c = GetParam();
  Sprite *sprite = quietSprite(plainPng(c.width, c.height), c.alignment);
  sprite->position = c.position;
  sprite->scale = c.scale;
  sprite->rotation = c.rotation;
  sprite->computeCorners();
  for (int i = 0; i < 4; i++)
    EXPECT_EQ(sprite->corners[i], c.corners[i]) << "corner Q" << i;
  quietRemove(sprite);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpriteCornerTest,
    testing::Values(CornerCase{"centre",
                               64,
                               32,
                               2,
                               Int2(100, 100),
                               Float2(1, 1),
                               0,
                               {Int2(132, 116), Int2(68, 116), Int2(68, 84), Int2(132, 84)}},
                    // The hot spot is not scaled.
                    CornerCase{"centreScaled",
                               64,
                               32,
                               2,
                               Int2(100, 100),
                               Float2(2, 2),
                               0,
                               {Int2(196, 148), Int2(68, 148), Int2(68, 84), Int2(196, 84)}},
                    CornerCase{"topLeft",
                               64,
                               32,
                               1,
                               Int2(100, 100),
                               Float2(1, 1),
                               0,
                               {Int2(164, 132), Int2(100, 132), Int2(100, 100), Int2(164, 100)}},
                    CornerCase{"bottomRight",
                               64,
                               32,
                               3,
                               Int2(100, 100),
                               Float2(1, 1),
                               0,
                               {Int2(100, 100), Int2(36, 100), Int2(36, 68), Int2(100, 68)}},
                    CornerCase{"leftMiddle",
                               64,
                               32,
                               4,
                               Int2(100, 100),
                               Float2(1, 1),
                               0,
                               {Int2(164, 116), Int2(100, 116), Int2(100, 84), Int2(164, 84)}},
                    CornerCase{"rightMiddle",
                               64,
                               32,
                               5,
                               Int2(100, 100),
                               Float2(1, 1),
                               0,
                               {Int2(100, 116), Int2(36, 116), Int2(36, 84), Int2(100, 84)}},
                    // 128 × 0.99 = 126.72 is truncated, not rounded.
                    CornerCase{"truncatedWidth",
                               128,
                               64,
                               1,
                               Int2(0, 0),
                               Float2(0.99f, 1),
                               0,
                               {Int2(126, 64), Int2(0, 64), Int2(0, 0), Int2(126, 0)}},
                    CornerCase{"negativePosition",
                               64,
                               32,
                               2,
                               Int2(-10, -20),
                               Float2(1, 1),
                               0,
                               {Int2(22, -4), Int2(-42, -4), Int2(-42, -36), Int2(22, -36)}},
                    // A quarter turn about the hot spot (y downwards: x goes to y).
                    CornerCase{"quarterTurn",
                               64,
                               32,
                               1,
                               Int2(100, 100),
                               Float2(1, 1),
                               90,
                               {Int2(68, 164), Int2(68, 100), Int2(100, 100), Int2(100, 164)}}),
    [](const testing::TestParamInfo<CornerCase> &info) { return std::string(info.param.name); });

// Far from the hot spot the square-root estimate shows: a corner may be off
// by up to 0.2 % of its distance (a pixel at 512), never more.
TEST(SpriteTest, LargeSpritesStayWithinTheEstimatesError) {
  for (int size : {128, 256, 512}) {
    Sprite *sprite = quietSprite(plainPng(size, size), 1);
    sprite->position = Int2(10, 20);
    sprite->computeCorners();
    const Int2 exact[4] = {Int2(10 + size, 20 + size), Int2(10, 20 + size), Int2(10, 20),
                           Int2(10 + size, 20)};
    for (int i = 0; i < 4; i++) {
      Int2 d = exact[i] - Int2(10, 20);
      float tolerance = 0.002f * std::sqrt(float(d.x() * d.x() + d.y() * d.y())) + 0.5f;
      EXPECT_LE(std::abs(sprite->corners[i].x() - exact[i].x()), tolerance)
          << size << " corner Q" << i;
      EXPECT_LE(std::abs(sprite->corners[i].y() - exact[i].y()), tolerance)
          << size << " corner Q" << i;
    }
    quietRemove(sprite);
  }
}

TEST(SpriteTest, FitIntoAndScaledSize) {
  struct FitCase {
    int width;
    int height;
    Int2 box;
    float scale;
    Int2 scaledSize;
  };
  const FitCase cases[] = {{128, 128, Int2(256, 64), 0.5f, Int2(64, 64)},
                           {128, 128, Int2(200, 50), 0.390625f, Int2(50, 50)},
                           {64, 32, Int2(640, 480), 10.0f, Int2(640, 320)},
                           {64, 32, Int2(32, 480), 0.5f, Int2(32, 16)},
                           {64, 64, Int2(100, 100), 1.5625f, Int2(100, 100)}};
  for (const FitCase &c : cases) {
    Sprite *sprite = quietSprite(plainPng(c.width, c.height), 1);
    sprite->fitInto(c.box);
    EXPECT_FLOAT_EQ(sprite->scale.x(), c.scale)
        << c.width << " x " << c.height << " into " << c.box;
    EXPECT_FLOAT_EQ(sprite->scale.y(), c.scale)
        << c.width << " x " << c.height << " into " << c.box;
    EXPECT_EQ(sprite->getScaledSize(), c.scaledSize)
        << c.width << " x " << c.height << " into " << c.box;
    quietRemove(sprite);
  }
}

TEST(SpriteTest, RoundingAndSquareRootEstimate) {
  const std::pair<float, int> roundings[] = {{0.5f, 1}, {-0.5f, -1}, {1.49f, 1}, {-1.49f, -1},
                                             {2.5f, 3}, {-2.5f, -3}, {0.0f, 0},  {-0.2f, 0}};
  for (const auto &r : roundings)
    EXPECT_EQ(roundHalfAwayFromZero(r.first), r.second) << r.first;
  for (float l : {1.0f, 2.0f, 4.0f, 1280.0f, 11520.0f, 1e6f}) {
    float length = 1.0f / fastInverseSquareRoot(l);
    EXPECT_NEAR(length, std::sqrt(l), std::sqrt(l) * 0.002f) << l;
    EXPECT_NE(length, std::sqrt(l)) << l << ": the estimate is not the exact root";
  }
}

class SpriteDrawTest : public Draw2DFixture {};

// A 2 × 2 picture, top row red and green, bottom row blue and white, drawn
// 40 × 40 at (100, 100): the first pixel row lies along the top edge.
TEST_F(SpriteDrawTest, PictureIsDrawnUprightAtItsCorners) {
  std::string path = writeTempFile(
      "quadrants.png",
      pngBytes({2, 2, PNG_COLOR_TYPE_RGB, 8, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}}));
  Sprite *sprite = quietSprite(path, 1);
  sprite->position = Int2(100, 100);
  sprite->scale = Float2(20, 20);
  sprite->draw();
  struct Sample {
    int x;
    int y;
    std::array<int, 3> colour;
  };
  const Sample samples[] = {{110, 110, {255, 0, 0}}, {130, 110, {0, 255, 0}},
                            {110, 130, {0, 0, 255}}, {130, 130, {255, 255, 255}},
                            {95, 120, {0, 0, 0}},    {145, 120, {0, 0, 0}},
                            {120, 95, {0, 0, 0}},    {120, 145, {0, 0, 0}}};
  for (const Sample &s : samples) {
    std::array<int, 3> colour = colourAt(s.x, s.y);
    for (int i = 0; i < 3; i++)
      EXPECT_NEAR(colour[i], s.colour[i], 40) << "at " << s.x << "," << s.y << " channel " << i;
  }
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  quietRemove(sprite);
}

TEST(SpriteDeathTest, UnknownAlignmentIsFatal) {
  std::string path = plainPng(4, 4);
  for (int alignment : {0, 6, -1}) {
    EXPECT_EXIT(
        quietSprite(path, alignment), testing::ExitedWithCode(1),
        "\nProgram version: [^\n]*\nMessage: Sprite::Sprite : unknown value of hotSpotAlignment\n")
        << alignment;
  }
}

}  // namespace
