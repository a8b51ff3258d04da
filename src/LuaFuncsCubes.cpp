// Script library: the in-game cube creation through the editor's creation
// state and box operation.
#include "FatalReport.h"
#include "LuaFuncs.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"
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

int startCubeCreation(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  Float3 position(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3));
  if (!world()->isEditorMode)
    world()->editor.startBuild(position);
  return 0;
}

int manageCubeCreation(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  bool isValidated = false;
  Int3 anchor(0, 0, 0);
  Int3 moving(0, 0, 0);
  if (!world()->isEditorMode)
    isValidated = world()->editor.manageBuild(anchor, moving);
  lua_pushnumber(lua, isValidated ? 1 : 0);
  for (unsigned i = 0; i < 3; ++i)
    lua_pushnumber(lua, anchor[i]);
  for (unsigned i = 0; i < 3; ++i)
    lua_pushnumber(lua, moving[i]);
  return 7;
}

int createCube(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 7);
  Int3 a(argNearest(lua, 1), argNearest(lua, 2), argNearest(lua, 3));
  Int3 b(argNearest(lua, 4), argNearest(lua, 5), argNearest(lua, 6));
  int cubeType = argNearest(lua, 7);
  World *w = world();
  if (w->isEditorMode || a.x() == b.x() || a.y() == b.y() || a.z() == b.z())
    return 0;
  // A zone of a type that does not exist would make the world file unreadable.
  ASSERT(cubeType >= 0 && cubeType < w->indexedWorld.getNbCubeType());
  w->editor.addBoxAcrossRegions(a, b, cubeType);
  return 0;
}

}  // namespace LuaFuncs
