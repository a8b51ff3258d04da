// Frame pacing computations, the clock, and mouse state from the callbacks
// (those run without a window).
#include "DeviceManager.h"

#include "PlatformTime.h"
#include "Scene2D.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

TEST(DeviceManagerTest, FrameBudget) {
  const struct {
    int64_t elapsedUs;
    int sleepMs;
  } cases[] = {{0, 10},    {999, 10},  {1000, 9},
               {3000, 7},  {3500, 7},  {9999, 1},
               {10000, 0}, {25000, 0}, {1700000000000000LL, 0}};
  for (const auto &c : cases)
    EXPECT_EQ(frameSleepMs(c.elapsedUs), c.sleepMs) << c.elapsedUs;
}

TEST(DeviceManagerTest, PeriodClamp) {
  const struct {
    int64_t periodUs, reportedUs;
  } cases[] = {{0, 0}, {10000, 10000}, {200000, 200000}, {200001, 200000}, {350000, 200000}};
  for (const auto &c : cases)
    EXPECT_EQ(clampPeriod(c.periodUs), c.reportedUs) << c.periodUs;
}

TEST(DeviceManagerTest, TimeMsFollowsWallClock) {
  int64_t before0 = platformMicroseconds();
  int32_t first = getTimeMs();
  int64_t after0 = platformMicroseconds();
  EXPECT_GE(first, 0);
  EXPECT_LT(first, 2000);
  platformSleepMs(150);
  int64_t before1 = platformMicroseconds();
  int32_t second = getTimeMs();
  int64_t after1 = platformMicroseconds();
  // Bounded by counter readings around each call, whole milliseconds, so
  // that a pause of the test on a loaded machine widens the bounds.
  EXPECT_GE(second - first, 149);
  EXPECT_GE(second - first, (before1 - after0) / 1000 - 2);
  EXPECT_LE(second - first, (after1 - before0) / 1000 + 2);
}

class MouseStateTest : public testing::Test {
 protected:
  void SetUp() override {
    scene2D = &scene;
    mouseEvents.clear();
    mousePosition = Int2(0, 0);
    for (bool &b : isMouseButtonDown)
      b = false;
  }
  void TearDown() override { scene2D = nullptr; }
  Scene2D scene;
};

TEST_F(MouseStateTest, ButtonsDoNotMoveThePointer) {
  onMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 50);
  EXPECT_EQ(mousePosition, Int2(0, 0));
  EXPECT_TRUE(isMouseButtonDown[0]);
  onMouseMotion(101, 50, mouseStateDragged);
  EXPECT_EQ(mousePosition, Int2(101, 50));
  EXPECT_EQ(mousePosition2D, Int2(101, 50));
  onMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 101, 50);
  EXPECT_FALSE(isMouseButtonDown[0]);
  ASSERT_EQ(mouseEvents.size(), 3u);
  const int expected[3][4] = {{100, 50, 0, 0}, {101, 50, -1, 2}, {101, 50, 0, 1}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(mouseEvents[i].x, expected[i][0]);
    EXPECT_EQ(mouseEvents[i].y, expected[i][1]);
    EXPECT_EQ(mouseEvents[i].button, expected[i][2]);
    EXPECT_EQ(mouseEvents[i].state, expected[i][3]);
  }
}

TEST_F(MouseStateTest, WheelAndFixedSceneSize) {
  onMouseButton(3, GLUT_DOWN, 5, 5);
  onMouseButton(4, GLUT_UP, 5, 5);
  for (bool b : isMouseButtonDown)
    EXPECT_FALSE(b);
  ASSERT_EQ(mouseEvents.size(), 2u);
  EXPECT_EQ(mouseEvents[0].button, 3);
  EXPECT_EQ(mouseEvents[1].state, 1);

  scene.isSceneSizeFollowingWindow = false;
  scene.sceneScale = Float2(0.5f, 0.5f);
  onMouseMotion(100, 51, mouseStateMoved);
  EXPECT_EQ(mousePosition, Int2(100, 51));
  EXPECT_EQ(mousePosition2D, Int2(50, 25));
  EXPECT_EQ(mouseEvents.back().state, 3);
}

}  // namespace
