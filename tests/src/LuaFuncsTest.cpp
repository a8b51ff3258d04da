// The script library against a real world in the GL context: the 2D and 3D
// passes on screen, sprites and models with their handle checks, the player
// and camera, in-game cube creation, and script objects driven through the
// world's frame (managed once per frame, following their moves).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <fstream>
#include <string>

#include "Animated3DModel.h"
#include "Camera.h"
#include "CustomObjectTypeManager.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Player.h"
#include "Scene3D.h"
#include "ScriptContext.h"
#include "ScriptHost.h"
#include "Sprite.h"
#include "World.h"
#include "WorldFixture.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

namespace {

std::string literal(const std::string &text) {
  std::string out;
  for (char c : text) {
    if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
      out += '\\';
    out += c;
  }
  return out;
}

class LuaFuncsTest : public WorldFixture {
 protected:
  LuaFuncsTest() {
    createWorld();
    scriptContext = ScriptContext();
    scriptContext.world = world;
    scriptContext.soundManager = soundManager;
  }
  ~LuaFuncsTest() override {
    if (host != nullptr) {
      testing::internal::CaptureStdout();
      host->unloadScript();
      testing::internal::GetCapturedStdout();
      delete host;
    }
    scriptContext = ScriptContext();
  }

  // Loads the script (with the callbacks every script needs).
  void load(const std::string &source) {
    std::ofstream("world.lua", std::ios::trunc)
        << "function lua_getNbObjects() return 3 end\nfunction lua_onUninitGame() end\n"
        << source;
    testing::internal::CaptureStdout();
    host = ScriptHost::loadScript(soundManager, nullptr);
    testing::internal::GetCapturedStdout();
  }
  // Runs a chunk in the script's state and returns what it printed.
  std::string run(const std::string &chunk) {
    testing::internal::CaptureStdout();
    int result = luaL_dostring(host->lua, chunk.c_str());
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(result, 0) << (result != 0 ? lua_tostring(host->lua, -1) : "");
    return printed;
  }
  // The world's frame step as the game runs it, output kept.
  std::string worldFrame() {
    testing::internal::CaptureStdout();
    world->update(host->lua);
    return testing::internal::GetCapturedStdout();
  }
  void centrePixel(unsigned char rgba[4]) {
    glFinish();
    readBackPixel(windowSize.x() / 2, windowSize.y() / 2, rgba);
  }

  ScriptHost *host = nullptr;
};

TEST_F(LuaFuncsTest, FogColourClearsAndThePassesDrawTheWorldUnlessHidden) {
  writeTestPng("title.png", 200, 10, 10, 255);
  load("title = load2DSprite(\"title.png\")\n");
  unsigned char rgba[4];
  run("setFogColor(10, 20, 30) clearBackground()");
  centrePixel(rgba);
  EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{10, 20, 30}));

  // The camera behind the player looks at the sky's left side (-z).
  std::string printed =
      run("clearBackground() local t3 = draw3DWorld() local t2 = draw2DWorld()\n"
          "if t3 >= 0 and t2 >= 0 then print(\"timed\") end");
  EXPECT_EQ(printed, "lua print: timed\n");
  centrePixel(rgba);
  EXPECT_NE((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{10, 20, 30}));

  // A full-screen picture before the 2D pass hides the next 3D pass.
  run("drawSpriteFullscreen(title) draw2DWorld()");
  EXPECT_TRUE(world->isHidden);
  EXPECT_FALSE(scriptContext.fullscreenSpriteDrawn);
  run("clearBackground() draw3DWorld()");
  centrePixel(rgba);
  EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{10, 20, 30}));
  run("draw2DWorld()");
  EXPECT_FALSE(world->isHidden);
  run("unload2DSprite(title)");
}

TEST_F(LuaFuncsTest, StretchedSpriteFillsTheWindowAndKeepsScaleOne) {
  // 400 x 300 pictures are stretched to 512 x 256 by the loader; the sprite
  // then fits the 800 x 600 window at scale min(800/512, 600/256).
  writeTestPng("wide.png", 0, 200, 0, 255);
  load("s = load2DSprite(\"wide.png\")\n");
  Sprite *sprite = static_cast<Sprite *>(nullptr);
  lua_getfield(host->lua, LUA_GLOBALSINDEX, "s");
  sprite = static_cast<Sprite *>(lua_touserdata(host->lua, -1));
  lua_pop(host->lua, 1);
  ASSERT_NE(sprite, nullptr);
  run("draw2DWorld() setColor(255, 255, 255, 255) drawSpriteFullscreenStretched(s)");
  EXPECT_EQ(sprite->scale, Float2(1, 1));
  unsigned char rgba[4];
  centrePixel(rgba);
  EXPECT_EQ((std::vector<int>{rgba[0], rgba[1], rgba[2]}), (std::vector<int>{0, 200, 0}));
  EXPECT_TRUE(scriptContext.fullscreenSpriteDrawn);
  run("unload2DSprite(s)");
}

TEST_F(LuaFuncsTest, HandlesMustBeHeldAndOfTheirKind) {
  writeTestPng("p.png", 1, 2, 3, 255);
  struct {
    const char *chunk;
  } cases[] = {
      {"s = load2DSprite(\"p.png\") unload2DSprite(s) draw2DSprite(s, 0, 0)"},
      {"s = load2DSprite(\"p.png\") draw3DModel(s)"},
      {"m = load3DModel(\"obj_player/player_frame1.obj\") unload3DModel(m) draw3DModel(m)"},
      {"m = load3DModel(\"obj_player/player_frame1.obj\") playSound(m)"},
      {"w = loadSound(\"sound/walk.wav\") unload2DSprite(w)"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.chunk);
    EXPECT_EXIT(
        {
          load("");
          luaL_dostring(host->lua, c.chunk);
        },
        testing::ExitedWithCode(1),
        literal("Condition: isHandleOf(handle, kind)\nMessage: the script handed over a handle"));
  }
}

TEST_F(LuaFuncsTest, ModelsAnimateAtTheSpeedAsked) {
  load(
      "m = load3DModelAnimated(250, \"obj_player/player_frame1.obj\", "
      "\"obj_player/player_frame2.obj\")\n"
      "one = load3DModel(\"obj_player/player_frame3.obj\")\n");
  lua_getfield(host->lua, LUA_GLOBALSINDEX, "m");
  Animated3DModel *model = static_cast<Animated3DModel *>(lua_touserdata(host->lua, -1));
  lua_getfield(host->lua, LUA_GLOBALSINDEX, "one");
  Animated3DModel *single = static_cast<Animated3DModel *>(lua_touserdata(host->lua, -1));
  lua_pop(host->lua, 2);
  EXPECT_EQ(model->getNbFrames(), 2);
  EXPECT_EQ(model->framePeriod, 250);
  EXPECT_EQ(single->getNbFrames(), 1);
  EXPECT_EQ(single->framePeriod, 500);
  run("setModelAnimationSpeed(m, 200)");
  EXPECT_EQ(model->framePeriod, 500);
  run("setModelAnimationSpeed(m, 400)");
  EXPECT_EQ(model->framePeriod, 250);
  run("stopModelAnimation(m)");
  EXPECT_FALSE(model->isAnimating);
  run("startModelAnimation(m) draw3DModel(m)");
  EXPECT_TRUE(model->isAnimating);
  // The script leaves "one" loaded: it goes with the script's state.
  run("unload3DModel(m)");
}

TEST_F(LuaFuncsTest, PlayerAndCamera) {
  load("");
  EXPECT_EQ(run("setPlayerPosition(1, 2.5, -3) local x = getPlayerPosition() print(x)"),
            "lua print: 1\n");
  EXPECT_EQ(world->player->getPosition(), Float3(1, 2.5f, -3));
  run("setPlayerSpeed(100, 50, -20)");
  EXPECT_FLOAT_EQ(world->player->forwardSpeed, 1.f);
  EXPECT_FLOAT_EQ(world->player->verticalSpeed, 0.5f);
  EXPECT_FLOAT_EQ(world->player->strafeSpeed, -0.2f);
  EXPECT_EQ(run("local f, v, s = getPlayerSpeed() print(v)"), "lua print: 50\n");
  run("setCameraAngleAndDistance(10, 20, 40)");
  EXPECT_FLOAT_EQ(scene3D->camera->pitch, 10.f);
  EXPECT_FLOAT_EQ(scene3D->camera->heading, 20.f);
  EXPECT_FLOAT_EQ(world->player->cameraDistance, 40.f);
  EXPECT_EQ(run("local p, h, d = getCameraAngleAndDistance() print(d)"), "lua print: 40\n");
  const char *movements[] = {"Walk", "Car", "Fly", "None"};
  for (int type = 0; type < 4; ++type) {
    world->player->forwardSpeed = 1.f;
    EXPECT_EQ(run(std::string("setPlayerMovement") + movements[type] +
                  "() print(getPlayerMovementType())"),
              "lua print: " + std::to_string(type) + "\n");
    EXPECT_EQ(world->player->forwardSpeed, 0.f);
  }
  EXPECT_EQ(run("print(isEditorMode())"), "lua print: 0\n");
  world->isEditorMode = true;
  EXPECT_EQ(run("print(isEditorMode())"), "lua print: 1\n");
}

TEST_F(LuaFuncsTest, CubeCreationBuildsBoxesAcrossRegions) {
  const std::string faces[6] = {"top.png",  "side.png", "side.png",
                                "side.png", "side.png", "side.png"};
  world->indexedWorld.addCubeType(faces, false, false, false, true);
  load("");
  EXPECT_EQ(run("createCube(0, 0, 0, 0, 5, 5, 0) print(isCollidingPoint(5, 5, 5))"),
            "lua print: 0\n");
  EXPECT_EQ(run("createCube(2, 2, 2, 0.4, 0, 0, 0) print(isCollidingPoint(5, 5, 5))"),
            "lua print: 1\n");
  // Cubes 30 to 34 on x cross the region border at 32: two zones.
  run("createCube(30, 0, 0, 34, 1, 1, 0)");
  Int3 left = worldIndexator->regionIndexOf(Float3(315, 5, 5));
  Int3 right = worldIndexator->regionIndexOf(Float3(325, 5, 5));
  EXPECT_EQ(worldIndexator->getRegion(left)->zones.size(), 2u);
  EXPECT_EQ(worldIndexator->getRegion(right)->zones.size(), 1u);
  EXPECT_EQ(run("print(isCollidingPoint(335, 5, 5))"), "lua print: 1\n");
  // Not in editor mode.
  world->isEditorMode = true;
  run("createCube(-10, 0, 0, -5, 1, 1, 0)");
  EXPECT_EQ(run("print(isCollidingPoint(-75, 5, 5))"), "lua print: 0\n");
  world->isEditorMode = false;
  EXPECT_EXIT(run("createCube(0, 0, 0, 1, 1, 1, 1)"), testing::ExitedWithCode(1),
              literal("Condition: cubeType >= 0 && cubeType < w->indexedWorld.getNbCubeType()"));
}

TEST_F(LuaFuncsTest, InGameCreationReportsItsValidationOnce) {
  load("function state() local v = manageCubeCreation() print(v) end\n");
  EXPECT_EQ(run("state()"), "lua print: 0\n");
  run("startCubeCreation(15, 25, -15)");
  EXPECT_TRUE(world->editor.isBuilding());
  // A second start while building changes nothing.
  run("startCubeCreation(100, 100, 100)");
  // Keys go to the creation first: Page Up raises the moving corner.
  world->onKey(static_cast<char>(33), 3);
  EXPECT_EQ(run("local v, ax, ay, az, mx, my, mz = manageCubeCreation()\n"
                "print(v) print(ax) print(ay) print(az) print(mx) print(my) print(mz)"),
            "lua print: 0\nlua print: 1\nlua print: 2\nlua print: -1\n"
            "lua print: 1\nlua print: 3\nlua print: -1\n");
  world->onKey(' ', 3);
  EXPECT_EQ(run("state()"), "lua print: 1\n");
  EXPECT_EQ(run("state()"), "lua print: 0\n");
  EXPECT_FALSE(world->editor.isBuilding());
}

// Objects in three regions; the type's manage function counts calls per
// object in its local variable 1.
TEST_F(LuaFuncsTest, ObjectsAreManagedOncePerFrameWhileCubesGrowTheTable) {
  const std::string faces[6] = {"top.png",  "side.png", "side.png",
                                "side.png", "side.png", "side.png"};
  world->indexedWorld.addCubeType(faces, false, false, false, true);
  world->indexedWorld.addObject(Float3(5, 5, 5), 0);
  world->indexedWorld.addObject(Float3(-300, 5, 5), 0);
  world->indexedWorld.addObject(Float3(5, 5, 400), 0);
  load(
      "built = 0\n"
      "function lua_load_0() end\nfunction lua_unload_0() end\nfunction lua_draw_0() end\n"
      "function lua_manage_0()\n"
      "  setObjectLocalVariable1(getObjectLocalVariable1() + 1)\n"
      "  if built == 0 then built = 1 createCube(-700, 0, 0, -699, 1, 1, 0) end\n"
      "end\n");
  Int3 originBefore = worldIndexator->tableOrigin;
  worldFrame();
  worldFrame();
  EXPECT_LT(worldIndexator->tableOrigin.x(), originBefore.x());
  for (const Float3 &p : {Float3(5, 5, 5), Float3(-300, 5, 5), Float3(5, 5, 400)}) {
    WorldRegion *region = worldIndexator->getRegion(worldIndexator->regionIndexOf(p));
    ASSERT_EQ(region->objects.size(), 1u);
    EXPECT_EQ(region->objects[0].localVariable1, 2.f) << p;
  }
}

TEST_F(LuaFuncsTest, MovedObjectsFollowTheirPositionAndStayCurrent) {
  world->indexedWorld.addObject(Float3(5, 5, 5), 1);
  load(
      "function lua_load_1() end\nfunction lua_unload_1() end\nfunction lua_draw_1() end\n"
      "function lua_manage_1()\n"
      "  local x, y, z = getCurrentObjectPosition()\n"
      "  if x > 0 and x < 300 then setCurrentObjectPosition(x + 400, y, z) end\n"
      "end\n");
  worldFrame();
  WorldRegion *from = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5, 5, 5)));
  WorldRegion *to = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(405, 5, 5)));
  EXPECT_TRUE(from->objects.empty());
  ASSERT_EQ(to->objects.size(), 1u);
  EXPECT_EQ(scriptContext.currentObject, &to->objects[0]);
  EXPECT_EQ(run("local x = getCurrentObjectPosition() print(x)"), "lua print: 405\n");
  // Moved from outside its manage function: the next frame puts it where it
  // now stands.
  run("setCurrentObjectPosition(-100, 5, 5)");
  worldFrame();
  WorldRegion *back = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(-100, 5, 5)));
  EXPECT_TRUE(to->objects.empty());
  ASSERT_EQ(back->objects.size(), 1u);
  // A world reload forgets the current object.
  testing::internal::CaptureStdout();
  world->indexedWorld.clearAllRegions();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(scriptContext.currentObject, nullptr);
}

TEST_F(LuaFuncsTest, EditorModeShowsTheObjectBox) {
  world->indexedWorld.addObject(Float3(0, 15, -20), 2);
  load(
      "function lua_load_2() end\nfunction lua_unload_2() end\nfunction lua_manage_2() end\n"
      "function lua_draw_2() print(\"draw\") end\n");
  worldFrame();
  EXPECT_EQ(run("clearBackground() draw3DWorld()"), "lua print: draw\n");
  EXPECT_FALSE(cotm->isEditorMode);
  world->isEditorMode = true;
  EXPECT_EQ(run("draw3DWorld()"), "lua print: draw\n");
  EXPECT_TRUE(cotm->isEditorMode);
}

}  // namespace
