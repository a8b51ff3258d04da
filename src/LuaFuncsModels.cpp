// Script library: animated models and sounds. Models belong to the script
// until it unloads them; sounds belong to the sound manager for the run.
#include <string>
#include <vector>

#include "Animated3DModel.h"
#include "FatalReport.h"
#include "LuaFuncs.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"
#include "SoundManager.h"
#include "Sound_Abstract.h"

extern "C" {
#include <lua.h>
}

namespace {

Animated3DModel *modelArg(lua_State *lua) {
  void *modelp = lua_touserdata(lua, 1);
  ASSERT(modelp != 0);
  checkHandle(modelp, HANDLE_MODEL);
  return static_cast<Animated3DModel *>(modelp);
}

Sound_Abstract *soundArg(lua_State *lua) {
  void *soundp = lua_touserdata(lua, 1);
  ASSERT(soundp != 0);
  checkHandle(soundp, HANDLE_SOUND);
  return static_cast<Sound_Abstract *>(soundp);
}

// The file names from a stack index on; converted to strings first, while
// no object with a destructor is alive, so building the list cannot raise.
Animated3DModel *newModel(lua_State *lua, int firstFile, int lastFile) {
  for (int i = firstFile; i <= lastFile; ++i)
    lua_tostring(lua, i);
  std::vector<std::string> fileNames;
  for (int i = firstFile; i <= lastFile; ++i) {
    const char *name = lua_tostring(lua, i);
    fileNames.push_back(name != NULL ? name : "");
  }
  Animated3DModel *model = new Animated3DModel(fileNames, 1.f);
  addHandle(model, HANDLE_MODEL);
  return model;
}

}  // namespace

void releaseScriptModels() {
  while (void *handle = firstHandle(HANDLE_MODEL)) {
    removeHandle(handle, HANDLE_MODEL);
    delete static_cast<Animated3DModel *>(handle);
  }
}

namespace LuaFuncs {

int load3DModel(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  lua_pushlightuserdata(lua, newModel(lua, 1, 1));
  return 1;
}

int load3DModelAnimated(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc >= 2);
  int framePeriod = argTrunc(lua, 1);
  Animated3DModel *model = newModel(lua, 2, argc);
  model->framePeriod = framePeriod;
  lua_pushlightuserdata(lua, model);
  return 1;
}

int draw3DModel(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  modelArg(lua)->draw();
  return 0;
}

int unload3DModel(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  Animated3DModel *model = modelArg(lua);
  removeHandle(model, HANDLE_MODEL);
  delete model;
  return 0;
}

int setModelAnimationSpeed(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 2);
  Animated3DModel *model = modelArg(lua);
  model->framePeriod = Animated3DModel::framePeriodFromSpeed(argFloat(lua, 2));
  return 0;
}

int stopModelAnimation(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  modelArg(lua)->isAnimating = false;
  return 0;
}

int startModelAnimation(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  modelArg(lua)->isAnimating = true;
  return 0;
}

int loadSound(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  const char *name = lua_tostring(lua, 1);
  Sound_Abstract *sound = scriptContext.soundManager->getSound(name != NULL ? name : "");
  addHandle(sound, HANDLE_SOUND);
  lua_pushlightuserdata(lua, sound);
  return 1;
}

int playSound(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  soundArg(lua)->play(false);
  return 0;
}

int isPlayingSound(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  lua_pushinteger(lua, soundArg(lua)->isPlaying() ? 1 : 0);
  return 1;
}

}  // namespace LuaFuncs
