// The script host: state creation with the library, the script's run, the
// callbacks, the error report, and the unload order.
#include "ScriptHost.h"

#include <cstdio>
#include <string>

#include "CustomObjectTypeManager.h"
#include "FatalReport.h"
#include "GlobalVarTable.h"
#include "LuaFuncs.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

const char *scriptFileName = "world.lua";

namespace {

// An error outside any protected call cannot go back to the script.
int onPanic(lua_State *lua) {
  const char *text = lua_tostring(lua, -1);
  std::string message = std::string("lua panic: ") + (text != NULL ? text : "(no error text)");
  FATAL(message.c_str());
}

}  // namespace

const char *scriptErrorText(lua_State *lua) {
  const char *text = lua_tolstring(lua, -1, NULL);
  if (text != NULL)
    return text;
  // Errors raised with a value that has no string form.
  switch (lua_type(lua, -1)) {
    case LUA_TNIL:
      return "(error value nil)";
    case LUA_TBOOLEAN:
      return lua_toboolean(lua, -1) ? "(error value true)" : "(error value false)";
    case LUA_TTABLE:
      return "(error value a table)";
    default:
      return "(error value without text)";
  }
}

void reportScriptError(lua_State *lua, const char *functionName, bool isFile) {
  ASSERT(functionName != NULL);
  std::string message = std::string("lua ('") + (isFile ? "in file " : "calling function ") +
                        functionName + "'): " + scriptErrorText(lua);
  reportFatal(__DATE__, __FILE__, NULL, __LINE__, __TIME__, message.c_str());
}

void callScriptFunction(lua_State *lua, const char *name) {
  lua_getfield(lua, LUA_GLOBALSINDEX, name);
  if (lua_pcall(lua, 0, 1, 0) != 0)
    reportScriptError(lua, name, false);
  lua_pop(lua, 1);
}

ScriptHost::~ScriptHost() {
  if (lua != nullptr)
    lua_close(lua);
}

ScriptHost *ScriptHost::loadScript(SoundManager *soundManager, Font *font) {
  scriptContext.soundManager = soundManager;
  scriptContext.font = font;
  globalVarTable.clearGlobalVars();
  scriptContext.quitRequested = false;
  printf("Loading script '%s' ... ", scriptFileName);
  fflush(stdout);
  ScriptHost *host = new ScriptHost();
  host->lua = luaL_newstate();
  ASSERT(host->lua != NULL);
  lua_atpanic(host->lua, onPanic);
  registerScriptFunctions(host->lua);
  // The main chunk may already call the library, object types included.
  scriptContext.currentState = host->lua;
  int result = luaL_loadfile(host->lua, scriptFileName);
  if (result == 0)
    result = lua_pcall(host->lua, 0, LUA_MULTRET, 0);
  if (result != 0)
    reportScriptError(host->lua, scriptFileName, true);
  printf("done.\n");
  fflush(stdout);
  return host;
}

void ScriptHost::unloadScript() {
  callScriptFunction("lua_onUninitGame");
  if (cotm != NULL) {
    scriptContext.currentState = lua;
    cotm->endFrameMarks();
    cotm->unloadIdleTypes();
  }
  globalVarTable.clearGlobalVars();
  // Models the script left loaded die with its state; sprites stay with the
  // sprite manager, which insists at the end that none is left.
  releaseScriptModels();
  lua_close(lua);
  lua = nullptr;
  if (scriptContext.currentState != nullptr)
    scriptContext.currentState = nullptr;
  scriptContext.currentObject = nullptr;
}

void ScriptHost::callScriptFunction(const char *name) {
  ::callScriptFunction(lua, name);
}

int ScriptHost::getNbObjectTypes() {
  return ::getNbObjectTypes(lua);
}

int getNbObjectTypes(lua_State *lua) {
  lua_getfield(lua, LUA_GLOBALSINDEX, "lua_getNbObjects");
  if (lua_pcall(lua, 0, 1, 0) != 0)
    reportScriptError(lua, "lua_getNbObjects", false);
  ASSERT(lua_isnumber(lua, -1));
  int count = argNearest(lua, -1);
  lua_pop(lua, 1);
  return count;
}
