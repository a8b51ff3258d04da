// The 2D projection maps scene units onto the window with y downwards; the
// rectangle primitive draws outlines and areas; pointer conversion.
#include "Scene2D.h"

#include "DeviceManager.h"
#include "Draw2DFixture.h"
#include "GLTestEnvironment.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class Scene2DDrawTest : public Draw2DFixture {
 protected:
  bool isLit(int sceneX, int sceneY) { return colourAt(sceneX, sceneY)[0] > 128; }
};

TEST_F(Scene2DDrawTest, FilledRectCoversItsArea) {
  scene2D->drawRect(Int2(10, 10), Int2(20, 30), true);
  EXPECT_TRUE(isLit(15, 20));
  EXPECT_TRUE(isLit(10, 10));
  EXPECT_TRUE(isLit(19, 29));
  EXPECT_FALSE(isLit(20, 20));
  EXPECT_FALSE(isLit(15, 30));
  EXPECT_FALSE(isLit(5, 5));
}

TEST_F(Scene2DDrawTest, OutlineLeavesInsideEmpty) {
  scene2D->drawRect(Int2(100, 100), Int2(200, 150), false);
  EXPECT_FALSE(isLit(150, 125));
  int litOnTop = 0;
  for (int dy = -1; dy <= 1; ++dy)
    litOnTop += isLit(150, 100 + dy);
  EXPECT_GE(litOnTop, 1);
  int litOnLeft = 0;
  for (int dx = -1; dx <= 1; ++dx)
    litOnLeft += isLit(100 + dx, 125);
  EXPECT_GE(litOnLeft, 1);
}

TEST_F(Scene2DDrawTest, SceneCornersMapToWindowCorners) {
  scene2D->sceneSize = Int2(400, 300);
  scene2D->applyProjection();
  EXPECT_FLOAT_EQ(scene2D->sceneScale.x(), 0.5f);
  EXPECT_FLOAT_EQ(scene2D->sceneScale.y(), 0.5f);
  // Scene (0,0)-(10,10) is the window's top-left 20 x 20 pixels.
  scene2D->drawRect(Int2(0, 0), Int2(10, 10), true);
  EXPECT_TRUE(isLit(0, 0));
  EXPECT_TRUE(isLit(19, 19));
  EXPECT_FALSE(isLit(21, 21));
  scene2D->drawRect(Int2(390, 290), Int2(400, 300), true);
  EXPECT_TRUE(isLit(799, 599));
  EXPECT_FALSE(isLit(770, 570));
}

TEST(Scene2DTest, ToScene) {
  Scene2D scene;
  EXPECT_EQ(scene.toScene(Int2(100, 51)), Int2(100, 51));
  scene.isSceneSizeFollowingWindow = false;
  scene.sceneScale = Float2(800.0f / 1600.0f, 600.0f / 1200.0f);
  EXPECT_EQ(scene.toScene(Int2(100, 51)), Int2(50, 25));
  scene.sceneScale = Float2(2.5f, 1.0f);
  EXPECT_EQ(scene.toScene(Int2(3, 7)), Int2(7, 7));
}

TEST(Scene2DDeathTest, ZeroWindowSizeIsFatal) {
  EXPECT_EXIT(
      {
        scene2D->windowSize = Int2(0, 600);
        scene2D->applyProjection();
      },
      testing::ExitedWithCode(1),
      "Condition: windowSize.x\\(\\) != 0 && windowSize.y\\(\\) != 0\n");
}

}  // namespace
