// Animated models: the downward default stepping (0, 2, 1, 0, ...), upward
// stepping, frame ranges and their checks, one-frame models, shared frames
// animating independently, and periods and clock sums that never overflow.
#include "Animated3DModel.h"

#include "ImageFixtures.h"
#include "ModelCache.h"

#include <climits>
#include <memory>
#include <gtest/gtest.h>

namespace {

// n one-triangle frame files, made once per name.
std::vector<std::string> frameFiles(const std::string &name, int n) {
  std::vector<std::string> files;
  for (int i = 0; i < n; ++i) {
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 " + std::to_string(i + 1) + " 0\nf 1 2 3\n";
    files.push_back(
        writeTempFile(name + std::to_string(i) + ".obj", Bytes(text.begin(), text.end())));
  }
  return files;
}

// A model made without its loading lines on the console.
std::unique_ptr<Animated3DModel> makeModel(const std::vector<std::string> &files) {
  testing::internal::CaptureStdout();
  auto model = std::make_unique<Animated3DModel>(files, 1.0f);
  testing::internal::GetCapturedStdout();
  return model;
}

// The frames shown after each of `steps` clock ticks one period apart.
std::vector<int> stepFrames(Animated3DModel &model, int steps) {
  std::vector<int> shown{model.currentFrame};
  int32_t now = model.nextFrameTime + 1;
  for (int i = 0; i < steps; ++i) {
    model.advanceAnimation(now);
    model.advanceAnimation(now);  // not due again at the same time
    shown.push_back(model.currentFrame);
    now += model.framePeriod + 1;
  }
  return shown;
}

TEST(Animated3DModelTest, StartStateAndDownwardStepping) {
  auto owner = makeModel(frameFiles("three", 3));
  Animated3DModel &model = *owner;
  EXPECT_EQ(model.getNbFrames(), 3);
  EXPECT_EQ(model.getIdFrameMin(), 0);
  EXPECT_EQ(model.getIdFrameMax(), 2);
  EXPECT_EQ(model.framePeriod, 500);
  EXPECT_FALSE(model.isIncreasing);
  EXPECT_TRUE(model.isAnimating);
  EXPECT_EQ(model.nextFrameTime, 0);
  EXPECT_EQ(stepFrames(model, 4), (std::vector<int>{0, 2, 1, 0, 2}));
  model.isIncreasing = true;
  EXPECT_EQ(stepFrames(model, 4), (std::vector<int>{2, 0, 1, 2, 0}));
}

TEST(Animated3DModelTest, StepsOnlyWhenDueAndAnimating) {
  auto owner = makeModel(frameFiles("due", 3));
  Animated3DModel &model = *owner;
  model.advanceAnimation(100);
  EXPECT_EQ(model.currentFrame, 2);
  EXPECT_EQ(model.nextFrameTime, 600);
  model.advanceAnimation(600);  // strictly later than the due time
  EXPECT_EQ(model.currentFrame, 2);
  model.isAnimating = false;
  model.advanceAnimation(5000);
  EXPECT_EQ(model.currentFrame, 2);
  EXPECT_EQ(model.nextFrameTime, 600);
  model.isAnimating = true;
  model.advanceAnimation(5000);
  EXPECT_EQ(model.currentFrame, 1);
  // draw reads the clock itself; the first draw after a pause steps at once.
  model.nextFrameTime = 0;
  model.draw();
  EXPECT_EQ(model.currentFrame, 0);
}

TEST(Animated3DModelTest, FrameRanges) {
  auto owner = makeModel(frameFiles("five", 5));
  Animated3DModel &model = *owner;
  model.currentFrame = 1;
  model.setFrameRange(3, 4);
  EXPECT_EQ(model.currentFrame, 3);
  EXPECT_EQ(stepFrames(model, 3), (std::vector<int>{3, 4, 3, 4}));
  model.setFrameRange(0, 4);
  EXPECT_EQ(model.currentFrame, 4);  // inside the new range: kept
  model.setFrameRange(0, 2);
  EXPECT_EQ(model.currentFrame, 0);
}

TEST(Animated3DModelTest, FrameRangeChecks) {
  std::vector<std::string> four = frameFiles("four", 4);
  struct Case {
    int min, max;
    const char *condition;
  };
  const Case cases[] = {
      {3, 4, "idFrameMax < frames.size\\(\\)"},
      {2, 2, "idFrameMin < idFrameMax && idFrameMin >= 0"},
      {-1, 2, "idFrameMin < idFrameMax && idFrameMin >= 0"},
  };
  for (const Case &c : cases) {
    EXPECT_EXIT(
        {
          Animated3DModel model(four, 1.0f);
          model.setFrameRange(c.min, c.max);
        },
        testing::ExitedWithCode(1), std::string("\nCondition: ") + c.condition + "\n")
        << c.min << ".." << c.max;
  }
}

TEST(Animated3DModelTest, OneFrameModelKeepsFrameZero) {
  auto owner = makeModel(frameFiles("single", 1));
  Animated3DModel &model = *owner;
  EXPECT_EQ(model.getIdFrameMax(), 0);
  EXPECT_EQ(stepFrames(model, 3), (std::vector<int>{0, 0, 0, 0}));
  model.isIncreasing = true;
  EXPECT_EQ(stepFrames(model, 2), (std::vector<int>{0, 0, 0}));
}

TEST(Animated3DModelTest, ModelsShareFramesButAnimateIndependently) {
  std::vector<std::string> files = frameFiles("sharedframes", 3);
  size_t entriesBefore = modelCache().size();
  testing::internal::CaptureStdout();
  {
    Animated3DModel a(files, 1.0f);
    Animated3DModel b(files, 1.0f);
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(modelCache().size(), entriesBefore + 3);
    for (size_t i = entriesBefore; i < modelCache().size(); ++i)
      EXPECT_EQ(modelCache()[i].nbUses, 2);
    EXPECT_NE(log.find("Getting model '" + files[2] + "'"), std::string::npos);
    a.advanceAnimation(10);
    EXPECT_EQ(a.currentFrame, 2);
    EXPECT_EQ(b.currentFrame, 0);
    Float3 out;
    EXPECT_FALSE(a.collideSegment(Float3(0.2f, 0.2f, 3), Float3(0.2f, 0.2f, 1.5f), out));
    EXPECT_TRUE(a.collideSegment(Float3(0.2f, 0.2f, 1), Float3(0.2f, 0.2f, -1), out));
    EXPECT_NEAR(out.z(), 0.0f, 1e-6);
  }
  for (size_t i = entriesBefore; i < modelCache().size(); ++i)
    EXPECT_EQ(modelCache()[i].nbUses, 0);
}

TEST(Animated3DModelTest, PeriodsFromSpeedsAndClockSumsNeverOverflow) {
  struct Case {
    float speed;
    int period;
  };
  const Case cases[] = {
      {100.0f, 1000},  {3.0f, 33333},     {0.0f, INT_MAX},    {-0.0f, INT_MAX},
      {-200.0f, -500}, {1e-30f, INT_MAX}, {-1e-30f, INT_MIN}, {std::nanf(""), INT_MAX},
      {1e9f, 0},
  };
  for (const Case &c : cases)
    EXPECT_EQ(Animated3DModel::framePeriodFromSpeed(c.speed), c.period) << c.speed;

  auto owner = makeModel(frameFiles("clock", 3));
  Animated3DModel &model = *owner;
  model.framePeriod = INT_MAX;
  model.advanceAnimation(INT32_MAX - 5);
  EXPECT_EQ(model.nextFrameTime, INT32_MAX);
  EXPECT_EQ(model.currentFrame, 2);
  model.advanceAnimation(INT32_MAX);  // never due after the largest time
  EXPECT_EQ(model.currentFrame, 2);
  // A negative period makes every later draw a step.
  model.framePeriod = INT_MIN;
  model.nextFrameTime = 0;
  model.advanceAnimation(-5);
  model.advanceAnimation(10);
  EXPECT_EQ(model.nextFrameTime, 10 + static_cast<int64_t>(INT_MIN));
  model.advanceAnimation(11);
  EXPECT_EQ(model.currentFrame, 0);
}

}  // namespace
