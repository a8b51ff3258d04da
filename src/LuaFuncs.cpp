// The registration table of the script library, in its fixed order.
#include "LuaFuncs.h"

extern "C" {
#include <lua.h>
}

const ScriptFunction scriptFunctions[] = {
    {"load3DModel", LuaFuncs::load3DModel},
    {"load3DModelAnimated", LuaFuncs::load3DModelAnimated},
    {"draw3DModel", LuaFuncs::draw3DModel},
    {"unload3DModel", LuaFuncs::unload3DModel},
    {"load2DSprite", LuaFuncs::load2DSprite},
    {"draw2DSprite", LuaFuncs::draw2DSprite},
    {"unload2DSprite", LuaFuncs::unload2DSprite},
    {"drawText", LuaFuncs::drawText},
    {"drawTextCenter", LuaFuncs::drawTextCenter},
    {"print", LuaFuncs::scriptPrint},
    {"assert", LuaFuncs::scriptAssert},
    {"isEditorMode", LuaFuncs::isEditorMode},
    {"getKey", LuaFuncs::getKey},
    {"getMouseInfos", LuaFuncs::getMouseInfos},
    {"getDistanceToPlayer", LuaFuncs::getDistanceToPlayer},
    {"move3DPosition", LuaFuncs::move3DPosition},
    {"getPeriodDuration", LuaFuncs::getPeriodDuration},
    {"setGlobalVar", LuaFuncs::setGlobalVar},
    {"getGlobalVar", LuaFuncs::getGlobalVar},
    {"addToGlobalVar", LuaFuncs::addToGlobalVar},
    {"getTime", LuaFuncs::getTime},
    {"getWindowSize", LuaFuncs::getWindowSize},
    {"quitGame", LuaFuncs::quitGame},
    {"loadGame", LuaFuncs::loadGame},
    {"saveGame", LuaFuncs::saveGame},
    {"setPlayerPosition", LuaFuncs::setPlayerPosition},
    {"getPlayerPosition", LuaFuncs::getPlayerPosition},
    {"setPlayerSpeed", LuaFuncs::setPlayerSpeed},
    {"getPlayerSpeed", LuaFuncs::getPlayerSpeed},
    {"setCameraAngleAndDistance", LuaFuncs::setCameraAngleAndDistance},
    {"getCameraAngleAndDistance", LuaFuncs::getCameraAngleAndDistance},
    {"setCurrentPosition", LuaFuncs::setCurrentPosition},
    {"rotatePosition", LuaFuncs::rotatePosition},
    {"getCurrentObjectPosition", LuaFuncs::getCurrentObjectPosition},
    {"setCurrentObjectPosition", LuaFuncs::setCurrentObjectPosition},
    {"setModelAnimationSpeed", LuaFuncs::setModelAnimationSpeed},
    {"stopModelAnimation", LuaFuncs::stopModelAnimation},
    {"startModelAnimation", LuaFuncs::startModelAnimation},
    {"setPlayerMovementWalk", LuaFuncs::setPlayerMovementWalk},
    {"setPlayerMovementCar", LuaFuncs::setPlayerMovementCar},
    {"setPlayerMovementFly", LuaFuncs::setPlayerMovementFly},
    {"setPlayerMovementNone", LuaFuncs::setPlayerMovementNone},
    {"getPlayerMovementType", LuaFuncs::getPlayerMovementType},
    {"setObjectLocalVariable1", LuaFuncs::setObjectLocalVariable1},
    {"setObjectLocalVariable2", LuaFuncs::setObjectLocalVariable2},
    {"getObjectLocalVariable1", LuaFuncs::getObjectLocalVariable1},
    {"getObjectLocalVariable2", LuaFuncs::getObjectLocalVariable2},
    {"loadSound", LuaFuncs::loadSound},
    {"playSound", LuaFuncs::playSound},
    {"isPlayingSound", LuaFuncs::isPlayingSound},
    {"setColor", LuaFuncs::setColor},
    {"setFogColor", LuaFuncs::setFogColor},
    {"drawSpriteFullscreen", LuaFuncs::drawSpriteFullscreen},
    {"drawSpriteFullscreenStretched", LuaFuncs::drawSpriteFullscreenStretched},
    {"clearBackground", LuaFuncs::clearBackground},
    {"draw2DWorld", LuaFuncs::draw2DWorld},
    {"draw3DWorld", LuaFuncs::draw3DWorld},
    {"setWaterEnable", LuaFuncs::setWaterEnable},
    {"startCubeCreation", LuaFuncs::startCubeCreation},
    {"manageCubeCreation", LuaFuncs::manageCubeCreation},
    {"createCube", LuaFuncs::createCube},
    {"isCollidingPoint", LuaFuncs::isCollidingPoint},
};

const int nbScriptFunctions = sizeof scriptFunctions / sizeof scriptFunctions[0];

void registerScriptFunctions(lua_State *lua) {
  for (const ScriptFunction &entry : scriptFunctions) {
    lua_pushcclosure(lua, entry.function, 0);
    lua_setfield(lua, LUA_GLOBALSINDEX, entry.name);
  }
}
