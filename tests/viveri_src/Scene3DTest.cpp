// The 3D scene's camera placement and box geometry, which need no GL
// context: defaults, easing toward target angles, mouse look, and the box
// corners and texture coordinates.
#include "Scene3D.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "Camera.h"
#include "DeviceManager.h"
#include "RandomGenerator.h"

namespace {

TEST(Scene3DTest, Defaults) {
  Scene3D scene;
  EXPECT_EQ(scene.fieldOfView, 110.f);
  EXPECT_NE(scene.quadric, nullptr);
  EXPECT_FALSE(scene.isLightingEnabled);
  EXPECT_EQ(scene.lastMousePosition, Int2(0, 0));
  EXPECT_EQ(scene.aspectRatio, 1.3333334f);
  EXPECT_EQ(scene.farPlane, 10000.f);
  EXPECT_EQ(scene.fogDistance, 150.f);
  ASSERT_NE(scene.camera, nullptr);
  EXPECT_EQ(scene.camera->pitch, 0.f);
  EXPECT_EQ(scene.camera->heading, 0.f);
  for (int i = 0; i < Scene3D::nbLights; ++i) {
    EXPECT_FALSE(scene.isLightEnabled[i]);
    EXPECT_EQ(scene.lightRange[i], 1.f);
    EXPECT_EQ(scene.lightPosition[i][0], 0.f);
    EXPECT_EQ(scene.lightPosition[i][1], 0.f);
    EXPECT_EQ(scene.lightPosition[i][2], 0.f);
    EXPECT_EQ(scene.lightPosition[i][3], 1.f);
  }
}

TEST(Scene3DTest, EaseCameraToward) {
  struct Case {
    const char *name;
    float pitch, heading;              // camera before
    float targetPitch, targetHeading;  // target
    int64_t period;                    // microseconds
    float expectedPitch, expectedHeading;
  };
  const Case cases[] = {
      {"half way", 10, 40, 30, 0, 50000, 20, 20},
      {"no time, no move", 10, 40, 30, 0, 0, 10, 40},
      {"a tenth of a second jumps", 10, 40, 30, 0, 100000, 30, 0},
      {"a longer frame jumps too", -80, 300, 5, 7, 200000, 5, 7},
      {"a quarter", 0, 0, 0, 100, 25000, 0, 25},
      {"wraps through 180", 0, 170, 0, -170, 50000, 0, -180},
      {"wraps through -180", 0, -170, 0, 170, 50000, 0, 180},
      {"unwrapped total comes back in range", 0, 350, 0, 10, 50000, 0, 0},
      {"exactly 180 apart is not wrapped", 0, 180, 0, 0, 50000, 0, 90},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Scene3D scene;
    scene.camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene.easeCameraToward(c.targetPitch, c.targetHeading, 0, c.period);
    EXPECT_NEAR(scene.camera->pitch, c.expectedPitch, 1e-4f);
    EXPECT_NEAR(scene.camera->heading, c.expectedHeading, 1e-4f);
  }
}

// Without a period argument the device's last frame period is used.
TEST(Scene3DTest, EasingUsesTheDevicePeriod) {
  const int64_t saved = periodDuration;
  const int64_t periods[] = {0, 50000, 200000};
  const float expectedHeading[] = {40, 20, 0};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(testing::Message() << "period " << periods[i]);
    periodDuration = periods[i];
    Scene3D scene;
    scene.camera->setRotation(Float3(0, 40, 0));
    scene.easeCameraToward(0, 0, 0);
    EXPECT_NEAR(scene.camera->heading, expectedHeading[i], 1e-4f);
  }
  periodDuration = saved;
}

// Successive frames close in on the target without overshooting.
TEST(Scene3DTest, EasingConverges) {
  Scene3D scene;
  scene.camera->setRotation(Float3(0, 170, 0));
  float previous = 20.f;
  for (int frame = 0; frame < 20; ++frame) {
    scene.easeCameraToward(0, -170, 0, 20000);
    float heading = scene.camera->heading;
    float remaining = heading > 0 ? 190.f - heading : -170.f - heading;
    EXPECT_GE(remaining, -1e-4f);
    EXPECT_LT(remaining, previous);
    previous = remaining;
  }
  EXPECT_LT(previous, 0.3f);
}

TEST(Scene3DDeathTest, EasingTowardARollIsFatal) {
  Scene3D scene;
  EXPECT_EXIT(scene.easeCameraToward(0, 0, 10, 50000), testing::ExitedWithCode(1),
              "Condition: rot\\.z\\(\\) == 0\\.f\n");
}

TEST(Scene3DTest, MouseLookTurnsOneDegreePerPixel) {
  Scene3D scene;
  scene.mouseLook(Int2(10, 5), false);
  EXPECT_EQ(scene.lastMousePosition, Int2(10, 5));
  EXPECT_EQ(scene.camera->pitch, 0.f);
  EXPECT_EQ(scene.camera->heading, 0.f);
  // Pointer left and down: heading up by 3, pitch down by 4.
  scene.mouseLook(Int2(7, 9), true);
  EXPECT_EQ(scene.camera->pitch, -4.f);
  EXPECT_EQ(scene.camera->heading, 3.f);
  EXPECT_EQ(scene.lastMousePosition, Int2(7, 9));
  // A move without turning only updates the stored position.
  scene.mouseLook(Int2(100, 100), false);
  scene.mouseLook(Int2(98, 101), true);
  EXPECT_EQ(scene.camera->pitch, -5.f);
  EXPECT_EQ(scene.camera->heading, 5.f);
}

struct BoxFace {
  const char *name;
  Float3 positions[4];
  Float2 texCoords[4];
};

// Half size (1, 2, 3), repeat (4, 5, 6): every value tells which axis it
// came from.
const BoxFace expectedFaces[6] = {
    {"top",
     {Float3(-1, 2, -3), Float3(-1, 2, 3), Float3(1, 2, 3), Float3(1, 2, -3)},
     {Float2(0, 6), Float2(0, 0), Float2(4, 0), Float2(4, 6)}},
    {"bottom",
     {Float3(-1, -2, -3), Float3(1, -2, -3), Float3(1, -2, 3), Float3(-1, -2, 3)},
     {Float2(0, 0), Float2(4, 0), Float2(4, 6), Float2(0, 6)}},
    {"+z",
     {Float3(-1, -2, 3), Float3(1, -2, 3), Float3(1, 2, 3), Float3(-1, 2, 3)},
     {Float2(0, 0), Float2(4, 0), Float2(4, 5), Float2(0, 5)}},
    {"-z",
     {Float3(-1, 2, -3), Float3(1, 2, -3), Float3(1, -2, -3), Float3(-1, -2, -3)},
     {Float2(4, 5), Float2(0, 5), Float2(0, 0), Float2(4, 0)}},
    {"-x",
     {Float3(-1, -2, -3), Float3(-1, -2, 3), Float3(-1, 2, 3), Float3(-1, 2, -3)},
     {Float2(0, 0), Float2(6, 0), Float2(6, 5), Float2(0, 5)}},
    {"+x",
     {Float3(1, -2, -3), Float3(1, 2, -3), Float3(1, 2, 3), Float3(1, -2, 3)},
     {Float2(6, 0), Float2(6, 5), Float2(0, 5), Float2(0, 0)}},
};

TEST(Scene3DTest, BoxGeometryWithoutOffset) {
  Float3 positions[24];
  Float2 texCoords[24];
  Scene3D::buildBoxGeometry(Float3(1, 2, 3), Float3(4, 5, 6), false, positions, texCoords);
  for (int f = 0; f < 6; ++f) {
    for (int c = 0; c < 4; ++c) {
      SCOPED_TRACE(testing::Message() << expectedFaces[f].name << " corner " << c + 1);
      EXPECT_EQ(positions[f * 4 + c], expectedFaces[f].positions[c]);
      EXPECT_EQ(texCoords[f * 4 + c], expectedFaces[f].texCoords[c]);
    }
  }
}

TEST(Scene3DTest, BoxGeometryUnitRepeatTop) {
  Float3 positions[24];
  Float2 texCoords[24];
  Scene3D::buildBoxGeometry(Float3(5, 5, 5), Float3(1, 1, 1), false, positions, texCoords);
  const Float2 top[4] = {Float2(0, 1), Float2(0, 0), Float2(1, 0), Float2(1, 1)};
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(texCoords[c], top[c]);
}

// Each pair of opposite faces moves by one shift drawn from the program's
// generator, the v
// shift drawn first, pairs in the order top/bottom, ±z, ±x; the shifts stay
// within one repeat; positions are not touched.
TEST(Scene3DTest, BoxGeometryRandomOffset) {
  // Starting points: numbers already drawn from a fresh sequence.
  const int skips[] = {0, 77, 1234};
  for (int skip : skips) {
    SCOPED_TRACE(testing::Message() << "skip " << skip);
    auto restart = [skip] {
      resetRandomNumbers();
      for (int i = 0; i < skip; ++i)
        randomNumber();
    };
    restart();
    float draws[6];
    for (float &d : draws)
      d = static_cast<float>(randomNumber()) / 32767.f;
    // (u repeat, v repeat) and the index of the u and v draws per pair.
    const float repeatU[3] = {4, 4, 6}, repeatV[3] = {6, 5, 5};

    restart();
    Float3 positions[24];
    Float2 texCoords[24];
    Scene3D::buildBoxGeometry(Float3(1, 2, 3), Float3(4, 5, 6), true, positions, texCoords);
    for (int f = 0; f < 6; ++f) {
      int pair = f / 2;
      float du = draws[pair * 2 + 1] * repeatU[pair];
      float dv = draws[pair * 2] * repeatV[pair];
      EXPECT_GE(du, 0.f);
      EXPECT_LE(du, repeatU[pair]);
      EXPECT_LE(dv, repeatV[pair]);
      for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(testing::Message() << expectedFaces[f].name << " corner " << c + 1);
        EXPECT_EQ(positions[f * 4 + c], expectedFaces[f].positions[c]);
        EXPECT_NEAR(texCoords[f * 4 + c].x(), expectedFaces[f].texCoords[c].x() + du, 1e-5f);
        EXPECT_NEAR(texCoords[f * 4 + c].y(), expectedFaces[f].texCoords[c].y() + dv, 1e-5f);
      }
    }
  }
}

}  // namespace
