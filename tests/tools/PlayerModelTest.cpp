// The generated player figure, loaded the way the player loads it (five
// frames, scale 0.3) and drawn with the player's turn: it stands on y = 0,
// is about 10 units tall, strides with alternate legs in frames 2 and 3,
// raises its arms in frames 4 and 5, and shows its face towards +z, so a
// camera behind the player sees the back of its head. The drawing is also
// written to "player_figure.png" in the build folder for a look.
#include "Animated3DModel.h"

#include "GLTestEnvironment.h"
#include "ModelCache.h"
#include "ObjReader.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <png.h>

namespace {

const int viewWidth = 800, viewHeight = 600;

std::string gameFolder() {
  const char *buildDir = std::getenv("CUBEWORLD_BUILD_DIR");
  return std::string(buildDir != nullptr ? buildDir : ".") + "/game/";
}

class PlayerModelTest : public testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::string> files;
    for (int i = 1; i <= 5; ++i)
      files.push_back(gameFolder() + "obj_player/player_frame" + std::to_string(i) + ".obj");
    testing::internal::CaptureStdout();
    model = std::make_unique<Animated3DModel>(files, 0.3f);
    log = testing::internal::GetCapturedStdout();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
  }
  void TearDown() override {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
    testing::internal::CaptureStdout();
    model.reset();
    testing::internal::GetCapturedStdout();
  }

  // The loaded geometry of a frame (0 to 4).
  const ObjModelData &frameData(int frame) {
    for (const ModelCacheElement &e : modelCache())
      if (e.fileName ==
          gameFolder() + "obj_player/player_frame" + std::to_string(frame + 1) + ".obj")
        return *e.model;
    ADD_FAILURE() << "frame not cached";
    return *modelCache()[0].model;
  }

  // Camera on +z looking at the figure's middle; the figure drawn as the
  // player draws it, turned by heading + 180 degrees, at x.
  void beginView(float distance, bool isLit) {
    glViewport(0, 0, viewWidth, viewHeight);
    glClearColor(0.55f, 0.7f, 0.9f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(viewWidth) / viewHeight, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 5, distance, 0, 5, 0, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_BACK, GL_LINE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    if (isLit) {
      glEnable(GL_LIGHTING);
      glEnable(GL_LIGHT0);
      const float direction[] = {0.4f, 0.8f, 1.0f, 0.0f};
      const float white[] = {1, 1, 1, 1}, grey[] = {0.5f, 0.5f, 0.5f, 1};
      glLightfv(GL_LIGHT0, GL_POSITION, direction);
      glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
      glLightfv(GL_LIGHT0, GL_AMBIENT, grey);
    } else {
      glDisable(GL_LIGHTING);
    }
  }
  void drawFigure(int frame, float x, float heading) {
    model->currentFrame = frame;
    model->isAnimating = false;
    glPushMatrix();
    glTranslatef(x, 0, 0);
    glRotatef(heading + 180.0f, 0, 1, 0);
    model->draw();
    glPopMatrix();
  }
  // The colour where the world point shows.
  std::vector<int> colourAt(float x, float y, float z) {
    double model[16], projection[16], wx, wy, wz;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz);
    unsigned char rgba[4];
    readBackPixel(int(wx), int(wy), rgba);
    return {rgba[0], rgba[1], rgba[2]};
  }

  std::unique_ptr<Animated3DModel> model;
  std::string log;
};

TEST_F(PlayerModelTest, StandsOnTheGroundAboutTenUnitsTall) {
  EXPECT_EQ(log.find("warning"), std::string::npos) << log;
  for (int frame = 0; frame < 5; ++frame) {
    const ObjModelData &data = frameData(frame);
    float lowest = 1e9f, highest = -1e9f;
    for (int v = 1; v <= data.nbVertices; ++v) {
      lowest = std::min(lowest, data.vertices[3 * v + 1]);
      highest = std::max(highest, data.vertices[3 * v + 1]);
    }
    EXPECT_NEAR(lowest, 0.0f, 1e-3) << frame;
    EXPECT_GT(highest, 9.5f) << frame;
    EXPECT_LT(highest, frame < 3 ? 10.5f : 12.5f) << frame;
    EXPECT_EQ(data.nbMaterials, 2);
    EXPECT_NE(data.materials[1].textureSprite, nullptr);
  }
}

TEST_F(PlayerModelTest, WalkFramesStrideWithAlternateLegs) {
  // How far forward (+z) the lowest points on each side reach.
  auto footReach = [this](int frame, bool isLeft) {
    const ObjModelData &data = frameData(frame);
    float reach = -1e9f;
    for (int v = 1; v <= data.nbVertices; ++v) {
      const float *p = &data.vertices[3 * v];
      if ((p[0] > 0) == isLeft && p[1] < 1.0f)
        reach = std::max(reach, p[2]);
    }
    return reach;
  };
  EXPECT_NEAR(footReach(0, true), footReach(0, false), 1e-3);
  EXPECT_GT(footReach(1, true), footReach(1, false) + 1.0f);
  EXPECT_GT(footReach(2, false), footReach(2, true) + 1.0f);
}

TEST_F(PlayerModelTest, FacesAwayFromTheCameraBehindThePlayer) {
  struct Case {
    float heading;  // the camera's heading; 180 turns the figure to face the camera
    bool isFaceSeen;
  };
  for (const Case &c : {Case{0.0f, false}, Case{180.0f, true}}) {
    beginView(30.0f, false);
    drawFigure(0, 0.0f, c.heading);
    std::vector<int> head = colourAt(0.0f, 9.0f, 0.0f);
    std::vector<int> shirt = colourAt(-0.8f, 7.8f, 0.0f);  // beside the star
    std::vector<int> leg = colourAt(0.55f, 2.5f, 0.0f);
    SCOPED_TRACE(c.heading);
    if (c.isFaceSeen)
      EXPECT_GT(head[0], 180) << "skin: " << head[0] << " " << head[1] << " " << head[2];
    else
      EXPECT_LT(head[0], 120) << "hair: " << head[0] << " " << head[1] << " " << head[2];
    EXPECT_GT(shirt[0], 150);
    EXPECT_LT(shirt[1], 90);
    EXPECT_GT(leg[2], leg[0] + 40);
  }
}

TEST_F(PlayerModelTest, PictureOfAllFrames) {
  // Five frames turned a little towards the camera, and the standing figure
  // from behind; written for a look, and checked to cover each place.
  beginView(48.0f, true);
  for (int frame = 0; frame < 5; ++frame)
    drawFigure(frame, -15.0f + 6.5f * frame, 180.0f + 25.0f);
  drawFigure(0, 18.0f, 0.0f);
  std::vector<unsigned char> pixels(viewWidth * viewHeight * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, viewWidth, viewHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  for (int frame = 0; frame < 6; ++frame) {
    std::vector<int> shirt = colourAt(-15.6f + 6.5f * frame, 7.8f, 0.0f);
    EXPECT_GT(shirt[0], shirt[2] + 40) << frame;
  }
  // Rows bottom first in GL: a negative stride says so to the writer.
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = viewWidth;
  image.height = viewHeight;
  image.format = PNG_FORMAT_RGB;
  std::string path = std::string(std::getenv("CUBEWORLD_BUILD_DIR")) + "/player_figure.png";
  EXPECT_TRUE(
      png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), -viewWidth * 3, nullptr));
}

}  // namespace
