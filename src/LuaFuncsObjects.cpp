// Script library: the script object being managed (position, local
// variables, distance to the player).
#include <GL/gl.h>

#include "CustomObject.h"
#include "FatalReport.h"
#include "LuaFuncs.h"
#include "Scene3D.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"

extern "C" {
#include <lua.h>
}

namespace LuaFuncs {

int getDistanceToPlayer(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  lua_pushnumber(lua, scriptContext.distanceToPlayer);
  return 1;
}

int getCurrentObjectPosition(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  CustomObject *currentObject = scriptContext.currentObject;
  ASSERT(currentObject != NULL);
  lua_pushnumber(lua, currentObject->position.x());
  lua_pushnumber(lua, currentObject->position.y());
  lua_pushnumber(lua, currentObject->position.z());
  return 3;
}

int setCurrentObjectPosition(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  Float3 position(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3));
  if (scriptContext.currentObject != NULL)
    scriptContext.currentObject->position = position;
  glLoadMatrixf(scene3D->viewMatrix);
  glTranslatef(position.x(), position.y(), position.z());
  return 0;
}

int setObjectLocalVariable1(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  CustomObject *currentObject = scriptContext.currentObject;
  ASSERT(currentObject != NULL);
  currentObject->localVariable1 = argFloat(lua, 1);
  return 0;
}

int setObjectLocalVariable2(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  CustomObject *currentObject = scriptContext.currentObject;
  ASSERT(currentObject != NULL);
  currentObject->localVariable2 = argFloat(lua, 1);
  return 0;
}

int getObjectLocalVariable1(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  CustomObject *currentObject = scriptContext.currentObject;
  ASSERT(currentObject != NULL);
  lua_pushnumber(lua, currentObject->localVariable1);
  return 1;
}

int getObjectLocalVariable2(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  CustomObject *currentObject = scriptContext.currentObject;
  ASSERT(currentObject != NULL);
  lua_pushnumber(lua, currentObject->localVariable2);
  return 1;
}

}  // namespace LuaFuncs
