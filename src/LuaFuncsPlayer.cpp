// Script library: the player (position, speeds, movement type), the camera
// angles and distance, and the editor-mode question.
#include "Camera.h"
#include "FatalReport.h"
#include "LuaFuncs.h"
#include "Player.h"
#include "Scene3D.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"
#include "World.h"

extern "C" {
#include <lua.h>
}

Float3 playerModelPosition() {
  if (scriptContext.world == nullptr || scriptContext.world->player == nullptr)
    return Float3(0, 0, 0);
  return scriptContext.world->player->getPosition();
}

namespace {

Player *player() {
  ASSERT(scriptContext.world != NULL);
  return scriptContext.world->player;
}

void pushFloat3(lua_State *lua, const Float3 &v) {
  lua_pushnumber(lua, v.x());
  lua_pushnumber(lua, v.y());
  lua_pushnumber(lua, v.z());
}

int setMovement(lua_State *lua, int type) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  // Also stops the player: the three speeds become 0.
  player()->setMvtType(type);
  return 0;
}

}  // namespace

namespace LuaFuncs {

int isEditorMode(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  ASSERT(scriptContext.world != NULL);
  lua_pushnumber(lua, scriptContext.world->isEditorMode ? 1 : 0);
  return 1;
}

int setPlayerPosition(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  player()->setPosition(Float3(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3)));
  return 0;
}

int getPlayerPosition(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  pushFloat3(lua, player()->getPosition());
  return 3;
}

int setPlayerSpeed(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  Player *p = player();
  p->forwardSpeed = argFloat(lua, 1) * 0.01f;
  p->verticalSpeed = argFloat(lua, 2) * 0.01f;
  p->strafeSpeed = argFloat(lua, 3) * 0.01f;
  return 0;
}

int getPlayerSpeed(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  Player *p = player();
  pushFloat3(lua,
             Float3(p->forwardSpeed * 100.f, p->verticalSpeed * 100.f, p->strafeSpeed * 100.f));
  return 3;
}

int setCameraAngleAndDistance(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  float pitch = argFloat(lua, 1);
  float heading = argFloat(lua, 2);
  float distance = argFloat(lua, 3);
  scene3D->camera->setPitch(pitch);
  scene3D->camera->setHeading(heading);
  player()->cameraDistance = distance;
  return 0;
}

int getCameraAngleAndDistance(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  pushFloat3(lua,
             Float3(scene3D->camera->pitch, scene3D->camera->heading, player()->cameraDistance));
  return 3;
}

int setPlayerMovementWalk(lua_State *lua) {
  return setMovement(lua, MVT_TYPE_WALK);
}

int setPlayerMovementCar(lua_State *lua) {
  return setMovement(lua, MVT_TYPE_CAR);
}

int setPlayerMovementFly(lua_State *lua) {
  return setMovement(lua, MVT_TYPE_FLY);
}

int setPlayerMovementNone(lua_State *lua) {
  return setMovement(lua, MVT_TYPE_NONE);
}

int getPlayerMovementType(lua_State *lua) {
  ASSERT(lua_gettop(lua) == 0);
  lua_pushinteger(lua, player()->mvtType);
  return 1;
}

}  // namespace LuaFuncs
