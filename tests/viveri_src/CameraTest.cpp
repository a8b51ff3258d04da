// Camera turns: angle totals, the order of heading and pitch products, the
// set operations and the fatal roll.
#include "Camera.h"

#include <gtest/gtest.h>

namespace {

Float3 applyOrientation(const Camera &camera, Float3 v) {
  float m[16];
  quaternionToMatrix(camera.orientation, m);
  return Float3(m[0] * v.x() + m[4] * v.y() + m[8] * v.z(),
                m[1] * v.x() + m[5] * v.y() + m[9] * v.z(),
                m[2] * v.x() + m[6] * v.y() + m[10] * v.z());
}

void expectSameOrientation(const Quaternion &a, const Quaternion &b) {
  EXPECT_NEAR(a.x, b.x, 1e-5f);
  EXPECT_NEAR(a.y, b.y, 1e-5f);
  EXPECT_NEAR(a.z, b.z, 1e-5f);
  EXPECT_NEAR(a.w, b.w, 1e-5f);
}

void expectNear(Float3 actual, Float3 expected) {
  EXPECT_NEAR(actual.x(), expected.x(), 1e-5f);
  EXPECT_NEAR(actual.y(), expected.y(), 1e-5f);
  EXPECT_NEAR(actual.z(), expected.z(), 1e-5f);
}

TEST(CameraTest, NewCameraLooksDownNegativeZ) {
  Camera camera;
  EXPECT_EQ(camera.position, Float3(0, 0, 0));
  EXPECT_EQ(camera.orientation.x, 0.f);
  EXPECT_EQ(camera.orientation.y, 0.f);
  EXPECT_EQ(camera.orientation.z, 0.f);
  EXPECT_EQ(camera.orientation.w, 1.f);
  EXPECT_EQ(camera.pitch, 0.f);
  EXPECT_EQ(camera.heading, 0.f);
}

// Where the camera looks (its -z) and which way is its up (+y), in world
// axes, after one turn.
TEST(CameraTest, SingleTurnsMoveTheViewDirection) {
  struct Case {
    float pitch, heading;
    Float3 forward, up;
  };
  const Case cases[] = {
      {90, 0, Float3(0, 1, 0), Float3(0, 0, 1)},     // looking up
      {-90, 0, Float3(0, -1, 0), Float3(0, 0, -1)},  // looking down
      {0, 90, Float3(-1, 0, 0), Float3(0, 1, 0)},    // turned left
      {0, 180, Float3(0, 0, 1), Float3(0, 1, 0)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "pitch " << c.pitch << " heading " << c.heading);
    Camera camera;
    camera.rotatePitch(c.pitch);
    camera.rotateHeading(c.heading);
    expectNear(applyOrientation(camera, Float3(0, 0, -1)), c.forward);
    expectNear(applyOrientation(camera, Float3(0, 1, 0)), c.up);
  }
}

TEST(CameraTest, HeadingAndPitchCommute) {
  Camera a, b;
  a.rotateHeading(90);
  a.rotatePitch(30);
  b.rotatePitch(30);
  b.rotateHeading(90);
  expectSameOrientation(a.orientation, b.orientation);
  EXPECT_EQ(a.pitch, 30.f);
  EXPECT_EQ(a.heading, 90.f);
}

// Heading on the world side and pitch on the camera side keep the camera's
// x axis horizontal, whatever the sequence of turns.
TEST(CameraTest, TurnsNeverRoll) {
  Camera camera;
  const float turns[][2] = {{30, 0}, {0, 45}, {-70, 0}, {0, 200}, {15, -33}, {80, 10}};
  for (const auto &turn : turns) {
    camera.rotatePitch(turn[0]);
    camera.rotateHeading(turn[1]);
    EXPECT_NEAR(applyOrientation(camera, Float3(1, 0, 0)).y(), 0.f, 1e-5f);
  }
}

TEST(CameraTest, SetPitchAndSetHeadingKeepTheOtherAngle) {
  Camera camera;
  camera.rotateHeading(40);
  for (int i = 0; i < 3; ++i)
    camera.rotatePitch(5);
  camera.setPitch(10);
  EXPECT_EQ(camera.pitch, 10.f);
  EXPECT_EQ(camera.heading, 40.f);
  Camera expected;
  expected.rotateHeading(40);
  expected.rotatePitch(10);
  expectSameOrientation(camera.orientation, expected.orientation);

  camera.setHeading(-25);
  EXPECT_EQ(camera.heading, -25.f);
  EXPECT_EQ(camera.pitch, 10.f);
  Camera expected2;
  expected2.rotateHeading(-25);
  expected2.rotatePitch(10);
  expectSameOrientation(camera.orientation, expected2.orientation);
}

TEST(CameraTest, SetRotationStartsFromIdentity) {
  Camera camera;
  camera.rotatePitch(-50);
  camera.rotateHeading(300);
  camera.position = Float3(1, 2, 3);
  camera.setRotation(Float3(20, 45, 0));
  EXPECT_EQ(camera.pitch, 20.f);
  EXPECT_EQ(camera.heading, 45.f);
  EXPECT_EQ(camera.position, Float3(1, 2, 3));
  Camera expected;
  expected.rotatePitch(20);
  expected.rotateHeading(45);
  expectSameOrientation(camera.orientation, expected.orientation);
}

TEST(CameraTest, AnglesAreNotWrapped) {
  Camera camera;
  for (int i = 0; i < 5; ++i)
    camera.rotateHeading(100);
  for (int i = 0; i < 4; ++i)
    camera.rotatePitch(-100);
  EXPECT_EQ(camera.heading, 500.f);
  EXPECT_EQ(camera.pitch, -400.f);
  // 500 degrees of heading look the same way as 140.
  Camera same;
  same.rotateHeading(140);
  same.rotatePitch(-40);
  expectNear(applyOrientation(camera, Float3(0, 0, -1)), applyOrientation(same, Float3(0, 0, -1)));
}

TEST(CameraDeathTest, SetRotationWithRollIsFatal) {
  Camera camera;
  EXPECT_EXIT(camera.setRotation(Float3(0, 0, 1)), testing::ExitedWithCode(1),
              "Condition: rot\\.z\\(\\) == 0\\.f\n");
}

}  // namespace
