// The script library: the 62 functions the game script calls, registered in
// one table in a fixed order. Each binding checks its argument count,
// converts its arguments, calls one engine operation and pushes its results.
// The bindings live in LuaFuncs*.cpp by theme.
#pragma once

struct lua_State;

struct ScriptFunction {
  const char *name;
  int (*function)(lua_State *lua);
};

// The library in registration order.
extern const ScriptFunction scriptFunctions[];
extern const int nbScriptFunctions;

// Stores every function of the library as a global of the state.
void registerScriptFunctions(lua_State *lua);
// Deletes the models the script still holds (at script unload).
void releaseScriptModels();

namespace LuaFuncs {
int load3DModel(lua_State *lua);
int load3DModelAnimated(lua_State *lua);
int draw3DModel(lua_State *lua);
int unload3DModel(lua_State *lua);
int load2DSprite(lua_State *lua);
int draw2DSprite(lua_State *lua);
int unload2DSprite(lua_State *lua);
int drawText(lua_State *lua);
int drawTextCenter(lua_State *lua);
int scriptPrint(lua_State *lua);
int scriptAssert(lua_State *lua);
int isEditorMode(lua_State *lua);
int getKey(lua_State *lua);
int getMouseInfos(lua_State *lua);
int getDistanceToPlayer(lua_State *lua);
int move3DPosition(lua_State *lua);
int getPeriodDuration(lua_State *lua);
int setGlobalVar(lua_State *lua);
int getGlobalVar(lua_State *lua);
int addToGlobalVar(lua_State *lua);
int getTime(lua_State *lua);
int getWindowSize(lua_State *lua);
int quitGame(lua_State *lua);
int loadGame(lua_State *lua);
int saveGame(lua_State *lua);
int setPlayerPosition(lua_State *lua);
int getPlayerPosition(lua_State *lua);
int setPlayerSpeed(lua_State *lua);
int getPlayerSpeed(lua_State *lua);
int setCameraAngleAndDistance(lua_State *lua);
int getCameraAngleAndDistance(lua_State *lua);
int setCurrentPosition(lua_State *lua);
int rotatePosition(lua_State *lua);
int getCurrentObjectPosition(lua_State *lua);
int setCurrentObjectPosition(lua_State *lua);
int setModelAnimationSpeed(lua_State *lua);
int stopModelAnimation(lua_State *lua);
int startModelAnimation(lua_State *lua);
int setPlayerMovementWalk(lua_State *lua);
int setPlayerMovementCar(lua_State *lua);
int setPlayerMovementFly(lua_State *lua);
int setPlayerMovementNone(lua_State *lua);
int getPlayerMovementType(lua_State *lua);
int setObjectLocalVariable1(lua_State *lua);
int setObjectLocalVariable2(lua_State *lua);
int getObjectLocalVariable1(lua_State *lua);
int getObjectLocalVariable2(lua_State *lua);
int loadSound(lua_State *lua);
int playSound(lua_State *lua);
int isPlayingSound(lua_State *lua);
int setColor(lua_State *lua);
int setFogColor(lua_State *lua);
int drawSpriteFullscreen(lua_State *lua);
int drawSpriteFullscreenStretched(lua_State *lua);
int clearBackground(lua_State *lua);
int draw2DWorld(lua_State *lua);
int draw3DWorld(lua_State *lua);
int setWaterEnable(lua_State *lua);
int startCubeCreation(lua_State *lua);
int manageCubeCreation(lua_State *lua);
int createCube(lua_State *lua);
int isCollidingPoint(lua_State *lua);
}  // namespace LuaFuncs
