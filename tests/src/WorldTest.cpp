// The World in a real GL context: start-up lines, the skybox faces seen in
// the six directions, the water's size, place and height, the underwater
// tint, the player figure, the hidden world, collisions, key dispatch,
// the per-frame update, the player's mouse handling and save block.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "Camera.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Player.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "SoundManager.h"
#include "Water.h"
#include "World.h"
#include "WorldFixture.h"

namespace {

class WorldTest : public WorldFixture {
 protected:
  void SetUp() override { createWorld(); }

  // The camera at `eye` turned by pitch and heading, and the world drawn
  // twice (the first frame after the start is lit).
  void drawFrom(Float3 eye, float pitch, float heading) {
    for (int i = 0; i < 2; ++i) {
      deviceManager->clearScreen(colourBlack);
      scene3D->camera->setRotation(Float3(pitch, heading, 0.f));
      scene3D->camera->position = eye;
      scene3D->apply3DView();
      world->draw();
    }
  }

  std::vector<int> pixel(int x, int y) {
    unsigned char rgba[4];
    readBackPixel(x, y, rgba);
    return {rgba[0], rgba[1], rgba[2]};
  }

  void resetCamera() {
    scene3D->camera->setRotation(Float3(0, 0, 0));
    scene3D->camera->position = Float3(0, 0, 0);
  }
  void TearDown() override { resetCamera(); }
};

std::vector<std::string> linesOf(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line))
    lines.push_back(line);
  return lines;
}

TEST_F(WorldTest, StartLoadsTheWorldThenPlayerThenSkybox) {
  deleteWorld();
  setenv("ALSOFT_DRIVERS", "null", 0);
  testing::internal::CaptureStdout();
  soundManager = new SoundManager("world_tests");
  world = new World(nullptr, soundManager);
  std::vector<std::string> lines = linesOf(testing::internal::GetCapturedStdout());
  const std::vector<std::string> milestones = {"==== Loading world from file 'world.dat'",
                                               "==== Loading world done",
                                               "==== Loading player",
                                               "Loading model 'obj_player/player_frame1.obj' ... ",
                                               "==== Player loaded",
                                               "==== Loading skybox",
                                               "==== Skybox loaded"};
  size_t next = 0;
  for (const std::string &line : lines)
    if (next < milestones.size() && line == milestones[next])
      ++next;
  EXPECT_EQ(next, milestones.size()) << testing::PrintToString(lines);
  EXPECT_EQ(scene3D->fieldOfView, 90.f);
  EXPECT_FALSE(world->isEditorMode);
  EXPECT_EQ(world->viewDistance, 1500.f);
  EXPECT_EQ(world->player->cameraDistance, 30.f);
  EXPECT_EQ(world->player->mvtType, MVT_TYPE_WALK);
}

TEST_F(WorldTest, SkyboxFacesOnTheRightSides) {
  world->player->cameraDistance = 1.f;
  world->indexedWorld.waterEnabled = false;
  struct View {
    const char *name;
    float pitch, heading;
    int face;
  } views[] = {
      {"down", -90, 0, 0},       {"up", 90, 0, 1},          {"towards -z", 0, 0, 2},
      {"towards +z", 0, 180, 3}, {"towards +x", 0, -90, 4}, {"towards -x", 0, 90, 5},
  };
  for (const View &v : views) {
    SCOPED_TRACE(v.name);
    drawFrom(Float3(0, 0, 0), v.pitch, v.heading);
    std::vector<int> centre = pixel(windowSize.x() / 2, windowSize.y() / 2);
    for (int c = 0; c < 3; ++c)
      EXPECT_NEAR(centre[c], skyColours[v.face][c], 24) << "channel " << c;
    keepScreenshot(std::string("sky ") + v.name);
  }
}

TEST_F(WorldTest, WaterSquareFollowsTheCameraOnItsRepeatGrid) {
  drawFrom(Float3(1234, 50, -1900), 0, 0);
  Water &water = *world->indexedWorld.water;
  // Twice the far reach of 2 x 1500, one repeat per tile of 10.
  EXPECT_EQ(water.extent, 6000.f);
  EXPECT_EQ(water.extentMin, 0.f);
  EXPECT_EQ(water.nbRepeats, 600.f);
  EXPECT_EQ(water.waterPosition.x(), 1200.f);
  EXPECT_EQ(water.waterPosition.z(), -1800.f);
  EXPECT_GE(water.waterPosition.y(), -8.f);
  EXPECT_LE(water.waterPosition.y(), -2.f);
}

TEST_F(WorldTest, WaterSurfaceCoversTheSkyBelow) {
  world->player->cameraDistance = 1.f;
  // Looking down from above the surface: the water's blue over the red
  // bottom of the sky.
  drawFrom(Float3(3, 10, 7), -90, 0);
  std::vector<int> above = pixel(windowSize.x() / 2, windowSize.y() / 2);
  keepScreenshot("water from above");
  EXPECT_GT(above[2], above[0]) << testing::PrintToString(above);
  // Seen at a slant, near the camera, under the far plane of the game.
  scene3D->farPlane = 3000.f;
  drawFrom(Float3(3, 10, 7), -30, 0);
  std::vector<int> slant = pixel(windowSize.x() / 2, windowSize.y() / 2);
  keepScreenshot("water at a slant");
  // Textured water, not the white of the fog (which its far corners
  // once spread over the whole surface).
  EXPECT_LT(slant[0], 100) << testing::PrintToString(slant);
  EXPECT_GT(slant[2], slant[0] + 100) << testing::PrintToString(slant);
  world->indexedWorld.waterEnabled = false;
  drawFrom(Float3(3, 10, 7), -90, 0);
  std::vector<int> without = pixel(windowSize.x() / 2, windowSize.y() / 2);
  EXPECT_NEAR(without[0], 255, 24);
  EXPECT_NEAR(without[2], 0, 24);
}

TEST(WaterTest, SurfaceRisesAndFallsEveryFourSeconds) {
  const std::pair<int32_t, float> cases[] = {
      {0, -8.f},    {1000, -5.f},  {2000, -2.f}, {3000, -5.f},  {4000, -8.f},
      {6000, -2.f}, {-1000, -5.f}, {500, -6.5f}, {2500, -3.5f},
  };
  for (const auto &c : cases)
    EXPECT_FLOAT_EQ(Water::surfaceHeight(c.first), c.second) << c.first << " ms";
  // Just before the period ends it is almost back at the bottom.
  EXPECT_NEAR(Water::surfaceHeight(3999), -8.f, 0.01f);
}

TEST(WaterTest, SnapKeepsToMultiplesAndNeverDividesByZero) {
  EXPECT_EQ(Water::snap(1234.f, 600.f), 1200.f);
  EXPECT_EQ(Water::snap(-1234.f, 600.f), -1200.f);
  EXPECT_EQ(Water::snap(599.f, 600.f), 0.f);
  // Too small a square to repeat: it follows the camera.
  EXPECT_EQ(Water::snap(1234.5f, 0.f), 1234.5f);
  EXPECT_EQ(Water::snap(-7.f, 0.5f), -7.f);
  EXPECT_TRUE(std::isfinite(Water::snap(3e38f, 600.f)));
}

TEST_F(WorldTest, UnderwaterTintOnlyWhileTheSurfaceIsAboveTheCamera) {
  Water &water = *world->indexedWorld.water;
  struct Case {
    float cameraY;
    bool isTinted;
  } cases[] = {{0.f, true}, {5.f, false}, {6.f, false}, {4.99f, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.cameraY);
    deviceManager->clearScreen(colourBlack);
    scene3D->camera->position = Float3(0, c.cameraY, 0);
    water.waterPosition.y() = 5.f;
    scene2D->applyProjection();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glCullFace(GL_FRONT);
    world->draw2D(0);
    std::vector<int> p = pixel(100, 100);
    if (c.isTinted) {
      // (0, 104, 255) at half opacity over black.
      EXPECT_NEAR(p[0], 0, 2);
      EXPECT_NEAR(p[1], 52, 3);
      EXPECT_NEAR(p[2], 128, 3);
    } else {
      EXPECT_EQ(p, (std::vector<int>{0, 0, 0}));
    }
    keepScreenshot("underwater " + std::to_string(c.cameraY));
  }
  // The colour in force before the tint is back.
  Colour colour = deviceManager->getCurrentColour();
  EXPECT_EQ(colour.r, 255);
  EXPECT_EQ(colour.a, 255);
}

TEST_F(WorldTest, PlayerFigureIsDrawnUnlessTheCameraIsWithinOneUnit) {
  world->indexedWorld.waterEnabled = false;
  const int x = windowSize.x() / 2, y = windowSize.y() / 2 - 60;
  world->player->cameraDistance = 30.f;
  drawFrame();
  drawFrame();
  std::vector<int> withFigure = pixel(x, y);
  keepScreenshot("player figure");
  world->player->cameraDistance = 1.f;
  drawFrame();
  std::vector<int> without = pixel(x, y);
  int difference = 0;
  for (int c = 0; c < 3; ++c)
    difference += std::abs(withFigure[c] - without[c]);
  EXPECT_GT(difference, 60) << testing::PrintToString(withFigure) << " "
                            << testing::PrintToString(without);
  // Without the figure the sky ahead (-z) shows there.
  EXPECT_NEAR(without[2], 255, 24);
}

TEST_F(WorldTest, HiddenWorldOnlyDisablesFog) {
  deviceManager->clearScreen(Colour{50, 60, 70, 255});
  scene3D->apply3DView();
  glEnable(GL_FOG);
  world->isHidden = true;
  world->draw();
  EXPECT_FALSE(glIsEnabled(GL_FOG));
  EXPECT_EQ(pixel(400, 300), (std::vector<int>{50, 60, 70}));
}

TEST_F(WorldTest, CollisionsRefuseMovesThatEndInASolidCube) {
  const std::string names[6] = {"top.png",  "top.png",  "side.png",
                                "side.png", "side.png", "side.png"};
  int type = world->indexedWorld.addCubeType(names, false, false, false, true);
  ASSERT_TRUE(world->indexedWorld.addCubeZone(Float3(20, 20, 20), Float3(10, 10, 10), type));
  EXPECT_TRUE(world->isCollidingPoint(Float3(5, 5, 5)));
  EXPECT_FALSE(world->isCollidingPoint(Float3(25, 5, 5)));

  const Float3 untouched(-99, -99, -99);
  Float3 out = untouched;
  // Only the end point counts, even when the move starts inside.
  EXPECT_TRUE(world->collideSegment(Float3(5, 5, 5), Float3(6, 6, 6), out));
  EXPECT_EQ(out, Float3(5, 5, 5));
  out = untouched;
  EXPECT_TRUE(world->collideSegment(Float3(-30, 5, 5), Float3(1, 5, 5), out));
  EXPECT_EQ(out, Float3(-30, 5, 5));
  out = untouched;
  EXPECT_FALSE(world->collideSegment(Float3(5, 5, 5), Float3(30, 5, 5), out));
  EXPECT_EQ(out, untouched);
}

TEST_F(WorldTest, KeysGoToTheEditorOrToThePlayer) {
  Player &player = *world->player;
  world->onKey('o', 0);
  EXPECT_EQ(player.cameraDistance, 25.f);
  world->onKey('a', 0);
  EXPECT_TRUE(world->isEditorMode);
  world->onKey('o', 0);
  EXPECT_EQ(player.cameraDistance, 25.f);
  world->onKey('A', 0);
  EXPECT_FALSE(world->isEditorMode);
  world->onKey('P', 0);
  EXPECT_EQ(player.cameraDistance, 30.f);
  // With the cube type dialog open, "a" does not switch.
  world->editor.dialogStep = 1;
  world->onKey('a', 0);
  EXPECT_FALSE(world->isEditorMode);
  world->editor.dialogStep = 0;
  // A distance set to 3 by a script goes to -2: "o" does not clamp.
  player.cameraDistance = 3.f;
  world->onKey('o', 0);
  EXPECT_EQ(player.cameraDistance, -2.f);
}

TEST_F(WorldTest, ReversedMouseIsStoredAndPrinted) {
  testing::internal::CaptureStdout();
  world->setReverseMouseY(true);
  world->setReverseMouseY(false);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "isReverseMouseYCamera: 1\nisReverseMouseYCamera: 0\n");
  EXPECT_FALSE(world->player->isReverseMouseYCamera);
}

TEST_F(WorldTest, UpdateSetsTheFarPlaneAndLightAndMovesThePlayerInGameMode) {
  Player &player = *world->player;
  player.setPosition(Float3(0, 100, 0));
  periodDuration = 10000;
  world->update(nullptr);
  EXPECT_EQ(scene3D->farPlane, 3000.f);
  EXPECT_EQ(scene3D->lightPosition[0][0], -3000.f);
  EXPECT_EQ(scene3D->lightPosition[0][1], 10120.f);
  EXPECT_EQ(scene3D->lightPosition[0][2], -3000.f);
  EXPECT_EQ(scene3D->lightRange[0], -1.f);
  EXPECT_TRUE(scene3D->isLightEnabled[0]);
  EXPECT_LT(player.getPosition().y(), 100.f);

  // Editor mode: the light follows the cursor, the player stands still.
  Float3 stood = player.getPosition();
  world->isEditorMode = true;
  world->editor.cursor = Int3(1, 2, 3);
  world->update(nullptr);
  EXPECT_EQ(scene3D->lightPosition[0][0], -2990.f);
  EXPECT_EQ(scene3D->lightPosition[0][1], 10020.f);
  EXPECT_EQ(scene3D->lightPosition[0][2], -2970.f);
  EXPECT_EQ(player.getPosition(), stood);
  // Hidden: the player stands still too.
  world->isEditorMode = false;
  world->isHidden = true;
  world->update(nullptr);
  EXPECT_EQ(player.getPosition(), stood);
  periodDuration = 0;
}

TEST_F(WorldTest, MouseWheelAndMovesSteerTheCamera) {
  Player &player = *world->player;
  Camera &camera = *scene3D->camera;
  const Int2 centre(windowSize.x() / 2, windowSize.y() / 2);
  auto press = [&player](int button) { player.onMouse(MouseEvent{0, 0, button, 0}); };
  for (int i = 0; i < 8; ++i)
    press(3);
  EXPECT_EQ(player.cameraDistance, 0.f);
  for (int i = 0; i < 20; ++i)
    press(4);
  EXPECT_EQ(player.cameraDistance, 90.f);
  player.onMouse(MouseEvent{0, 0, 4, 1});
  EXPECT_EQ(player.cameraDistance, 90.f);

  // 10 pixels below the centre and 20 left: pitch down 5, heading up 10.
  player.onMouse(MouseEvent{centre.x() - 20, centre.y() + 10, -1, 3});
  EXPECT_FLOAT_EQ(camera.pitch, -5.f);
  EXPECT_FLOAT_EQ(camera.heading, 10.f);
  player.isReverseMouseYCamera = true;
  player.onMouse(MouseEvent{centre.x(), centre.y() + 10, -1, 2});
  EXPECT_FLOAT_EQ(camera.pitch, 0.f);
  // Far above the centre: the pitch stops at 90.
  player.onMouse(MouseEvent{centre.x(), centre.y() + 1000, -1, 3});
  EXPECT_FLOAT_EQ(camera.pitch, 90.f);
}

TEST_F(WorldTest, PlayerStateSavedAndLoadedKeepsTheSpeeds) {
  Player &player = *world->player;
  player.setPosition(Float3(1, 2, 3));
  scene3D->camera->setRotation(Float3(-10, 45, 0));
  player.setMvtType(MVT_TYPE_FLY);
  FILE *file = tmpfile();
  ASSERT_NE(file, nullptr);
  player.saveState(file);

  player.setPosition(Float3(9, 9, 9));
  scene3D->camera->setRotation(Float3(20, 0, 0));
  player.setMvtType(MVT_TYPE_WALK);
  player.forwardSpeed = 0.005f;
  rewind(file);
  EXPECT_TRUE(player.loadState(file));
  EXPECT_EQ(player.getPosition(), Float3(1, 2, 3));
  EXPECT_FLOAT_EQ(scene3D->camera->heading, 45.f);
  EXPECT_FLOAT_EQ(scene3D->camera->pitch, -10.f);
  EXPECT_EQ(player.mvtType, MVT_TYPE_FLY);
  EXPECT_EQ(player.forwardSpeed, 0.005f);

  // A movement type the game does not know is not taken.
  rewind(file);
  PlayerState damaged;
  damaged.mvtType = 9;
  writePlayerState(file, damaged);
  rewind(file);
  EXPECT_FALSE(player.loadState(file));
  EXPECT_EQ(player.mvtType, MVT_TYPE_FLY);
  EXPECT_EQ(player.getPosition(), Float3(0, 0, 0));
  fclose(file);
}

}  // namespace
