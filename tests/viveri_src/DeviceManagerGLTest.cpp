// The device on a real window: resize handling, display-mode switches and
// the per-frame pacing and bookkeeping of nextFrame.
#include "DeviceManager.h"

#include "GLTestEnvironment.h"
#include "KeyboardManager.h"
#include "PlatformTime.h"
#include "Scene2D.h"
#include "Scene3D.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceManagerGLTest, ResizeUpdatesScenesAndPrints) {
  testing::internal::CaptureStdout();
  deviceManager->onWindowResized(1024, 768);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Rescaling to (1024,768)\n");
  EXPECT_EQ(windowSize, Int2(1024, 768));
  EXPECT_EQ(scene2D->windowSize, Int2(1024, 768));
  EXPECT_EQ(scene2D->sceneSize, Int2(1024, 768));
  EXPECT_EQ(scene3D->aspectRatio, 1.3333334f);

  scene2D->isSceneSizeFollowingWindow = false;
  testing::internal::CaptureStdout();
  deviceManager->onWindowResized(1600, 1200);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(scene2D->sceneSize, Int2(1024, 768));
  EXPECT_FLOAT_EQ(scene2D->sceneScale.x(), 0.64f);
  scene2D->isSceneSizeFollowingWindow = true;
  testing::internal::CaptureStdout();
  deviceManager->onWindowResized(800, 600);
  testing::internal::GetCapturedStdout();
}

TEST(DeviceManagerGLTest, NextFramePacesAndClearsInput) {
  keyboardManager->typedKeys.push_back('x');
  mouseEvents.push_back(MouseEvent{1, 2, 0, 0});
  deviceManager->nextFrame();  // may pick up a pending resize of the test window
  EXPECT_TRUE(keyboardManager->typedKeys.empty());
  EXPECT_TRUE(mouseEvents.empty());
  // A frame of about 3 ms of work is stretched to the 10 ms budget.
  int64_t before = platformMicroseconds();
  platformSleepMs(3);
  deviceManager->nextFrame();
  int64_t elapsed = platformMicroseconds() - before;
  EXPECT_GE(elapsed, 9500);
  EXPECT_GE(periodDuration, 9500);
  EXPECT_LE(periodDuration, 200000);
  EXPECT_EQ(frameStartTime, lastFrameTime);
  // A stall is reported as at most 200 ms.
  platformSleepMs(250);
  deviceManager->nextFrame();
  EXPECT_EQ(periodDuration, 200000);
}

TEST(DeviceManagerGLTest, DisplayModeSwitchesKeepFullscreenMark) {
  testing::internal::CaptureStdout();
  deviceManager->setFullscreenMode(1280, 1024);
  std::string fullscreenLines = testing::internal::GetCapturedStdout();
  EXPECT_NE(fullscreenLines.find("Set to fullscreen mode 1280x1024\n"), std::string::npos)
      << fullscreenLines;
  EXPECT_TRUE(everFullscreen);
  testing::internal::CaptureStdout();
  deviceManager->setWindowedMode(800, 600);
  std::string windowedLines = testing::internal::GetCapturedStdout();
  EXPECT_NE(windowedLines.find("Set to windowed mode 800x600\n"), std::string::npos)
      << windowedLines;
  EXPECT_TRUE(everFullscreen);
}

}  // namespace
