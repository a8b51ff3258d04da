// Script library: the frame's 2D and 3D passes with their timings, the
// water switch and the point collision test.
#include <GL/gl.h>

#include "FatalReport.h"
#include "LuaFuncs.h"
#include "PlatformTime.h"
#include "Scene2D.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"
#include "ScriptHost.h"
#include "World.h"

extern "C" {
#include <lua.h>
}

namespace {

World *world() {
  ASSERT(scriptContext.world != NULL);
  return scriptContext.world;
}

}  // namespace

namespace LuaFuncs {

int draw2DWorld(lua_State *lua) {
  int64_t start = platformMicroseconds();
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_FRONT);
  int nbObjectTypes = getNbObjectTypes(lua);
  world()->draw2D(nbObjectTypes);
  scriptContext.fullscreenSpriteDrawn = false;
  lua_pushnumber(lua, static_cast<lua_Number>(platformMicroseconds() - start));
  return 1;
}

int draw3DWorld(lua_State *lua) {
  int64_t start = platformMicroseconds();
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  world()->placeCamera();
  world()->draw();
  lua_pushnumber(lua, static_cast<lua_Number>(platformMicroseconds() - start));
  return 1;
}

int setWaterEnable(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  // A boolean is not a number: true converts to 0 and turns the water off.
  scriptContext.isWaterEnabled = argNearest(lua, 1) != 0;
  return 0;
}

int isCollidingPoint(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  Float3 point(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3));
  lua_pushnumber(lua, world()->isCollidingPoint(point) ? 1 : 0);
  return 1;
}

}  // namespace LuaFuncs
