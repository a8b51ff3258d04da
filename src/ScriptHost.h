// The game script's interpreter: one bare Lua 5.1 state (no standard library)
// holding the engine's script library, the run of "world.lua", and the calls
// of the script's callbacks. Every script error ends in the fatal report.
#pragma once

struct lua_State;
class SoundManager;
class Font;

// The game script, in the working directory.
extern const char *scriptFileName;

class ScriptHost {
 public:
  ScriptHost(const ScriptHost &) = delete;
  ScriptHost &operator=(const ScriptHost &) = delete;
  ~ScriptHost();

  // A new host whose state has run the script file's main chunk.
  static ScriptHost *loadScript(SoundManager *soundManager, Font *font);
  // lua_onUninitGame, the object types' unload calls, the variables
  // emptied, the state closed.
  void unloadScript();
  void callScriptFunction(const char *name);
  int getNbObjectTypes();

  lua_State *lua = nullptr;

 private:
  ScriptHost() = default;
};

// The protected call of a global function with no arguments and one result,
// discarded; an error goes to reportScriptError.
void callScriptFunction(lua_State *lua, const char *name);
// lua_getNbObjects of the script: the number of script object types.
int getNbObjectTypes(lua_State *lua);
[[noreturn]] void reportScriptError(lua_State *lua, const char *functionName, bool isFile);
// The script's error text of the value on top of the stack.
const char *scriptErrorText(lua_State *lua);
