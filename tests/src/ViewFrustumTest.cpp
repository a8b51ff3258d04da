// The view frustum's box test against a known perspective, and the region
// drawing that skips regions outside the frustum: the same frames, pixel for
// pixel, and the same console lines, with culling on and off at several camera
// placements, while regions were really skipped.
#include "ViewFrustum.h"

#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "Camera.h"
#include "Colour.h"
#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Scene3D.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "WorldTestFolder.h"

namespace {

// The camera at the origin looking towards -z: 90 degrees both ways, near 1,
// far 100; the matrices are made by GL itself.
ViewFrustum frustumOfKnownView() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPerspective(90.0, 1.0, 1.0, 100.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  ViewFrustum frustum = ViewFrustum::fromCurrentMatrices();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  return frustum;
}

TEST(ViewFrustumTest, BoxesWhollyOutsideOnePlaneAreOutside) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char *what;
    Float3 low, high;
    bool isOutside;
  } cases[] = {
      {"ahead", Float3(-1, -1, -20), Float3(1, 1, -10), false},
      {"around the camera", Float3(-1, -1, -1), Float3(1, 1, 1), false},
      {"behind", Float3(-5, -5, 5), Float3(5, 5, 10), true},
      {"left", Float3(-40, -1, -20), Float3(-30, 1, -10), true},
      {"right", Float3(30, -1, -20), Float3(40, 1, -10), true},
      {"below", Float3(-1, -40, -20), Float3(1, -30, -10), true},
      {"above", Float3(-1, 30, -20), Float3(1, 40, -10), true},
      {"across the left plane", Float3(-40, -1, -20), Float3(-19, 1, -10), false},
      {"beyond the far plane", Float3(-1, -1, -150), Float3(1, 1, -120), true},
      {"across the far plane", Float3(-1, -1, -150), Float3(1, 1, -99), false},
      // The left plane runs through x = z; 0.5 units off it is within the
      // margin, 2 units is not.
      {"half a unit left of the left plane", Float3(-20.8f, 0, -20), Float3(-20.8f, 0, -20), false},
      {"two units left of the left plane", Float3(-23, 0, -20), Float3(-23, 0, -20), true},
      {"empty", Float3(1, 1, -10), Float3(-1, 1, -20), true},
      {"not a number", Float3(nan, -40, -20), Float3(1, -30, -10), false},
      {"infinite", Float3(-40, -1, -20), Float3(-30, inf, -10), false},
  };
  ViewFrustum frustum = frustumOfKnownView();
  for (const auto &c : cases)
    EXPECT_EQ(frustum.isBoxOutside(c.low, c.high), c.isOutside) << c.what;
}

// Matrices that say nothing (all zero) never cull.
TEST(ViewFrustumTest, DegenerateMatricesNeverCull) {
  const float zero[16] = {};
  ViewFrustum frustum(zero, zero);
  EXPECT_FALSE(frustum.isBoxOutside(Float3(1000, 1000, 1000), Float3(1001, 1001, 1001)));
}

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};
const std::string otherFaceNames[6] = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png"};

// A world of coloured columns and blocks in absolute regions -2 to 1 along
// x and z and -1 to 0 along y, two cube types of six colours each.
class RegionCullingTest : public testing::Test {
 protected:
  RegionCullingTest() : folder(names()) {}
  static std::vector<std::string> names() {
    std::vector<std::string> all(faceNames, faceNames + 6);
    all.insert(all.end(), otherFaceNames, otherFaceNames + 6);
    return all;
  }
  void SetUp() override {
    for (int i = 0; i < 6; ++i) {
      writeTestPng("cube_textures/" + faceNames[i], static_cast<unsigned char>(40 * i + 30), 200,
                   static_cast<unsigned char>(240 - 40 * i), 255);
      writeTestPng("cube_textures/" + otherFaceNames[i], 220, static_cast<unsigned char>(35 * i),
                   static_cast<unsigned char>(90 + 25 * i), 255);
    }
    cubeTypeManager = new CubeTypeManager();
    testing::internal::CaptureStdout();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    cubeTypeManager->addCubeType(otherFaceNames, false, false, false, true);
    testing::internal::GetCapturedStdout();
    worldIndexator = new WorldIndexator(320.f);
    for (int rx = -2; rx <= 1; ++rx)
      for (int rz = -2; rz <= 1; ++rz) {
        // A ground slab below y = 0 and columns on it.
        addZone((rx + rz) & 1, Float3(rx * 320.f + 160, -20, rz * 320.f + 160),
                Float3(300, 40, 300));
        for (int k = 0; k < 6; ++k) {
          float height = 20.f + 30.f * ((rx * 7 + rz * 3 + k * 5) & 7);
          Float3 base(rx * 320.f + 30.f + 45.f * k, 0, rz * 320.f + 40.f + 40.f * ((k * 3) % 6));
          addZone(k & 1, base + Float3(0, height / 2, 0), Float3(20, height, 20));
        }
      }
    scene3D->farPlane = 2000.f;
  }
  void TearDown() override {
    isViewFrustumCullingEnabled = true;
    scene3D->farPlane = 10000.f;
    scene3D->camera->setRotation(Float3(0, 0, 0));
    scene3D->camera->position = Float3(0, 0, 0);
    delete worldIndexator;
    worldIndexator = NULL;
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  void addZone(int type, const Float3 &center, const Float3 &size) {
    ASSERT_TRUE(worldIndexator->addZone(CubeZone(type, center, size)));
  }

  static std::vector<unsigned char> readBackWindow() {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::vector<unsigned char> pixels(static_cast<size_t>(viewport[2]) * viewport[3] * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, viewport[2], viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  struct Frames {
    std::vector<std::vector<unsigned char>> pictures;
    std::string console;
    int nbDrawn = 0;
    int nbCulled = 0;
  };

  // From no geometry at all, a few frames: the regions built and prepared in
  // each, and what each frame shows.
  Frames drawFrames(bool isCulling, bool showRegionBoxes) {
    isViewFrustumCullingEnabled = isCulling;
    worldIndexator->dropAllGeometry();
    Frames frames;
    testing::internal::CaptureStdout();
    for (int frame = 0; frame < 3; ++frame) {
      glColor4f(1, 1, 1, 1);
      deviceManager->clearScreen(colourBlack);
      scene3D->apply3DView();
      worldIndexator->draw(showRegionBoxes);
      frames.pictures.push_back(readBackWindow());
      frames.nbDrawn += worldIndexator->nbRegionsDrawn;
      frames.nbCulled += worldIndexator->nbRegionsCulled;
    }
    frames.console = withoutImageLog(testing::internal::GetCapturedStdout());
    return frames;
  }

  WorldTestFolder folder;
};

TEST_F(RegionCullingTest, SameFramesWithAndWithoutSkippingRegionsOutsideTheView) {
  const struct {
    const char *what;
    Float3 position;
    float pitch, heading;
    bool showRegionBoxes;
  } cases[] = {
      {"over the middle looking along -z", Float3(5, 60, 5), 0, 0, false},
      {"over the middle looking down at 30 degrees to +x", Float3(5, 90, 5), -30, -90, false},
      {"high up looking straight down", Float3(-100, 250, -100), -90, 0, false},
      {"along a region border looking along +x", Float3(-620, 30, 0), 0, -90, false},
      {"in a corner looking inwards", Float3(-600, 40, -600), -10, 135, false},
      {"below the ground looking up", Float3(100, -200, 100), 60, 20, false},
      {"with the editor's region boxes", Float3(5, 60, 5), -20, 180, true},
  };
  worldIndexator->viewDistance = 640.f;
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    scene3D->camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene3D->camera->position = c.position;
    Frames everyRegion = drawFrames(false, c.showRegionBoxes);
    Frames culled = drawFrames(true, c.showRegionBoxes);

    EXPECT_EQ(culled.console, everyRegion.console);
    ASSERT_EQ(culled.pictures.size(), everyRegion.pictures.size());
    for (size_t frame = 0; frame < culled.pictures.size(); ++frame)
      EXPECT_TRUE(culled.pictures[frame] == everyRegion.pictures[frame]) << "frame " << frame;
    // Regions were really skipped, some drawn, and the picture shows them.
    EXPECT_EQ(everyRegion.nbCulled, 0);
    EXPECT_GT(culled.nbCulled, 0);
    EXPECT_GT(culled.nbDrawn, 0);
    EXPECT_EQ(culled.nbDrawn + culled.nbCulled, everyRegion.nbDrawn);
    size_t nbLit = 0;
    const std::vector<unsigned char> &last = culled.pictures.back();
    for (size_t i = 0; i + 3 < last.size(); i += 4)
      nbLit += last[i] + last[i + 1] + last[i + 2] > 0 ? 1 : 0;
    EXPECT_GT(nbLit, last.size() / 4 / 10);
  }
}

}  // namespace
