// The script host in a real interpreter state without a world: the load
// line, the bare global environment, the error report forms, and the library
// functions that need no world or picture: each one's argument checks and
// conversions as small scripts.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "DeviceManager.h"
#include "Game.h"
#include "GlobalVarTable.h"
#include "KeyboardManager.h"
#include "LuaFuncs.h"
#include "ScriptContext.h"
#include "ScriptHost.h"
#include "ScriptTestFolder.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

namespace {

class ScriptHostTest : public testing::Test {
 protected:
  ~ScriptHostTest() override { delete host; }

  // Loads the script and returns what the load printed.
  std::string load(const std::string &source) {
    folder.writeScript(source);
    testing::internal::CaptureStdout();
    host = ScriptHost::loadScript(nullptr, nullptr);
    return testing::internal::GetCapturedStdout();
  }

  // Runs a function of the script and returns what it printed.
  std::string call(const char *name) {
    testing::internal::CaptureStdout();
    host->callScriptFunction(name);
    return testing::internal::GetCapturedStdout();
  }

  ScriptTestFolder folder;
  ScriptHost *host = nullptr;
};

TEST_F(ScriptHostTest, LoadPrintsItsLineAndRunsTheMainChunk) {
  EXPECT_EQ(load("print(\"main\")\n"), "Loading script 'world.lua' ... lua print: main\ndone.\n");
}

TEST_F(ScriptHostTest, GlobalsAreTheLibraryOnly) {
  load("");
  std::set<std::string> names;
  lua_pushnil(host->lua);
  while (lua_next(host->lua, LUA_GLOBALSINDEX) != 0) {
    EXPECT_EQ(lua_type(host->lua, -1), LUA_TFUNCTION);
    names.insert(lua_tostring(host->lua, -2));
    lua_pop(host->lua, 1);
  }
  std::set<std::string> library;
  for (int i = 0; i < nbScriptFunctions; ++i)
    library.insert(scriptFunctions[i].name);
  EXPECT_EQ(nbScriptFunctions, 62);
  EXPECT_EQ(library.size(), 62u);
  EXPECT_EQ(names, library);
}

TEST_F(ScriptHostTest, PrintForms) {
  load(
      "function lua_loop()\n"
      "  print(\"12\") print(2.5) print(3.5) print(-2.5) print(254.6) print(\"abc\")\n"
      "  print(\" 7 \") print(nil) print(true) print(false) print(lua_loop)\n"
      "end\n");
  EXPECT_EQ(call("lua_loop"),
            "lua print: 12\nlua print: 2\nlua print: 4\nlua print: -2\nlua print: 255\n"
            "lua print: abc\nlua print: 7\nlua print: nil\nlua print: true\nlua print: false\n"
            "lua print: function\n");
}

TEST_F(ScriptHostTest, GlobalVariablesConvertByTruncation) {
  load(
      "function lua_loop()\n"
      "  setGlobalVar(\"x\", -3.7)\n"
      "  print(addToGlobalVar(\"n\", 2.9))\n"
      "  print(getGlobalVar(\"never\"))\n"
      "  setGlobalVar(\"max\", 2147483647)\n"
      "  print(addToGlobalVar(\"max\", 1))\n"
      "  setGlobalVar(\"big\", 2^40)\n"
      "  setGlobalVar(12, \"5\")\n"
      "end\n");
  EXPECT_EQ(call("lua_loop"), "lua print: 2\nlua print: 0\nlua print: -2147483648\n");
  EXPECT_EQ(globalVarTable.vars,
            (std::map<std::string, int32_t>{
                {"12", 5}, {"big", INT32_MAX}, {"max", INT32_MIN}, {"n", 2}, {"x", -3}}));
}

TEST_F(ScriptHostTest, LoadEmptiesVariablesAndQuitRequest) {
  globalVarTable.setGlobalVar("old", 1);
  scriptContext.quitRequested = true;
  load("print(getGlobalVar(\"old\"))\n");
  EXPECT_TRUE(globalVarTable.vars.empty());
  EXPECT_FALSE(scriptContext.quitRequested);
}

TEST_F(ScriptHostTest, RequestsAndSwitchesGoToTheContext) {
  load(
      "function lua_loop()\n"
      "  quitGame() loadGame(\"a.sav\") saveGame(\"b.sav\")\n"
      "  setFogColor(254.6, 10, 2.5)\n"
      "end\n"
      "function water(v) setWaterEnable(v) end\n");
  call("lua_loop");
  EXPECT_TRUE(scriptContext.quitRequested);
  EXPECT_EQ(loadGameFileName, "a.sav");
  EXPECT_EQ(saveGameFileName, "b.sav");
  EXPECT_EQ(scriptContext.fogColor, (Colour{255, 10, 2, 255}));

  struct {
    const char *value;
    bool isWaterEnabled;
  } waterCases[] = {{"1", true},  {"true", false}, {"0.4", false}, {"0.6", true},
                    {"-1", true}, {"nil", false},  {"\"2\"", true}};
  for (const auto &c : waterCases) {
    SCOPED_TRACE(c.value);
    scriptContext.isWaterEnabled = !c.isWaterEnabled;
    ASSERT_EQ(luaL_dostring(host->lua, (std::string("water(") + c.value + ")").c_str()), 0);
    EXPECT_EQ(scriptContext.isWaterEnabled, c.isWaterEnabled);
  }
}

TEST_F(ScriptHostTest, KeysPeriodAndObjectTypeCount) {
  KeyboardManager keyboard;
  keyboardManager = &keyboard;
  keyboard.isKeyDown[static_cast<int>('a')] = 1;
  keyboard.isKeyDown[keyCodeUp] = 1;
  periodDuration = 0x100000005LL;
  load(
      "function lua_loop()\n"
      "  print(getKey(\"a\")) print(getKey(\"A\")) print(getKey(\"\\30\")) "
      "print(getKey(\"\\31\"))\n"
      "  print(getPeriodDuration())\n"
      "end\n"
      "n = 2.5\n"
      "function lua_getNbObjects() return n end\n");
  EXPECT_EQ(call("lua_loop"),
            "lua print: 1\nlua print: 0\nlua print: 1\nlua print: 0\nlua print: 5\n");
  struct {
    const char *value;
    int count;
  } countCases[] = {{"2.5", 2}, {"3.5", 4}, {"\"7\"", 7}, {"-0.5", 0}, {"2^40", INT32_MAX}};
  for (const auto &c : countCases) {
    SCOPED_TRACE(c.value);
    ASSERT_EQ(luaL_dostring(host->lua, (std::string("n = ") + c.value).c_str()), 0);
    EXPECT_EQ(host->getNbObjectTypes(), c.count);
  }
  keyboardManager = nullptr;
  periodDuration = 0;
}

// One call in lua_loop that must end the program with this report text.
struct FailureCase {
  std::string call;
  std::string report;
};

std::string conditionReport(const std::string &condition) {
  return "Condition: " + condition + "\n";
}

// Every function with one argument too many (or too few where it takes
// "at least"), the check text of each; getPeriodDuration checks nothing.
std::vector<FailureCase> argumentCountCases() {
  struct {
    const char *name;
    int argc;
    const char *condition;
  } table[] = {
      {"load3DModel", 1, "argc == 1"},
      {"load3DModelAnimated", 1, "argc >= 2"},
      {"draw3DModel", 1, "argc == 1"},
      {"unload3DModel", 1, "argc == 1"},
      {"load2DSprite", 1, "argc == 1"},
      {"draw2DSprite", 3, "argc == 3"},
      {"unload2DSprite", 1, "argc == 1"},
      {"drawText", 3, "argc == 3"},
      {"drawTextCenter", 1, "argc == 1"},
      {"print", 1, "argc == 1"},
      {"assert", 1, "argc == 1"},
      {"isEditorMode", 0, "argc == 0"},
      {"getKey", 1, "argc == 1"},
      {"getMouseInfos", 0, "argc == 0"},
      {"getDistanceToPlayer", 0, "argc == 0"},
      {"move3DPosition", 3, "argc == 3"},
      {"setGlobalVar", 2, "argc == 2"},
      {"getGlobalVar", 1, "argc == 1"},
      {"addToGlobalVar", 2, "argc == 2"},
      {"getTime", 0, "argc == 0"},
      {"getWindowSize", 0, "argc == 0"},
      {"quitGame", 0, "argc == 0"},
      {"loadGame", 1, "argc == 1"},
      {"saveGame", 1, "argc == 1"},
      {"setPlayerPosition", 3, "argc == 3"},
      {"getPlayerPosition", 0, "lua_gettop(lua) == 0"},
      {"setPlayerSpeed", 3, "argc == 3"},
      {"getPlayerSpeed", 0, "lua_gettop(lua) == 0"},
      {"setCameraAngleAndDistance", 3, "argc == 3"},
      {"getCameraAngleAndDistance", 0, "lua_gettop(lua) == 0"},
      {"setCurrentPosition", 3, "argc == 3"},
      {"rotatePosition", 3, "argc == 3"},
      {"getCurrentObjectPosition", 0, "lua_gettop(lua) == 0"},
      {"setCurrentObjectPosition", 3, "argc == 3"},
      {"setModelAnimationSpeed", 2, "argc == 2"},
      {"stopModelAnimation", 1, "argc == 1"},
      {"startModelAnimation", 1, "argc == 1"},
      {"setPlayerMovementWalk", 0, "argc == 0"},
      {"setPlayerMovementCar", 0, "argc == 0"},
      {"setPlayerMovementFly", 0, "argc == 0"},
      {"setPlayerMovementNone", 0, "argc == 0"},
      {"getPlayerMovementType", 0, "lua_gettop(lua) == 0"},
      {"setObjectLocalVariable1", 1, "argc == 1"},
      {"setObjectLocalVariable2", 1, "argc == 1"},
      {"getObjectLocalVariable1", 0, "lua_gettop(lua) == 0"},
      {"getObjectLocalVariable2", 0, "lua_gettop(lua) == 0"},
      {"loadSound", 1, "argc == 1"},
      {"playSound", 1, "argc == 1"},
      {"isPlayingSound", 1, "argc == 1"},
      {"setColor", 4, "argc == 4"},
      {"setFogColor", 3, "argc == 3"},
      {"drawSpriteFullscreen", 1, "argc == 1"},
      {"drawSpriteFullscreenStretched", 1, "argc == 1"},
      {"clearBackground", 0, "argc == 0"},
      {"draw2DWorld", 0, "argc == 0"},
      {"draw3DWorld", 0, "argc == 0"},
      {"setWaterEnable", 1, "argc == 1"},
      {"startCubeCreation", 3, "argc == 3"},
      {"manageCubeCreation", 0, "argc == 0"},
      {"createCube", 7, "argc == 7"},
      {"isCollidingPoint", 3, "argc == 3"},
  };
  std::vector<FailureCase> cases;
  for (const auto &entry : table) {
    // "At least two" fails with one; the others with one more than needed.
    int given = std::string(entry.condition) == "argc >= 2" ? 1 : entry.argc + 1;
    std::string call = std::string(entry.name) + "(";
    for (int i = 0; i < given; ++i)
      call += i == 0 ? "1" : ", 1";
    cases.push_back({call + ")", conditionReport(entry.condition)});
  }
  return cases;
}

const char *const assertReport =
    "Condition: lua_tointeger(lua, 1)\nMessage: An assert condition into lua script was false.\n";

std::vector<FailureCase> checkCases() {
  return {
      {"getKey(\"ab\")", conditionReport("chars.size() == 1")},
      {"getKey(\"\")", conditionReport("chars.size() == 1")},
      {"getKey(nil)", conditionReport("chars.size() == 1")},
      {"setGlobalVar(nil, 1)", conditionReport("lua_isstring(lua, 1)")},
      {"setGlobalVar(\"a\", \"x\")", conditionReport("lua_isnumber(lua, 2)")},
      {"getGlobalVar(lua_loop)", conditionReport("lua_isstring(lua, 1)")},
      {"addToGlobalVar(\"a\", nil)", conditionReport("lua_isnumber(lua, 2)")},
      {"setColor(255, 255, 255, 256)", conditionReport("r < 256 && g < 256 && b < 256 && a < 256")},
      {"setColor(255.5, 0, 0, 0)", conditionReport("r < 256 && g < 256 && b < 256 && a < 256")},
      {"setColor(2^32 + 5, 0, 0, 0)", conditionReport("r < 256 && g < 256 && b < 256 && a < 256")},
      {"setColor(0, 0, 0, -1)", conditionReport("r >= 0 && g >= 0 && b >= 0 && a >= 0")},
      {"setColor(-1, 300, 0, 0)", conditionReport("r < 256 && g < 256 && b < 256 && a < 256")},
      {"setFogColor(0, 256, 0)", conditionReport("r < 256 && g < 256 && b < 256")},
      {"setFogColor(0, 0, -0.6)", conditionReport("r >= 0 && g >= 0 && b >= 0")},
      {"assert(0.4)", assertReport},
      {"assert(true)", assertReport},
      {"assert(nil)", assertReport},
      {"assert(\"x\")", assertReport},
      {"draw3DModel(nil)", conditionReport("modelp != 0")},
      {"unload3DModel(\"x\")", conditionReport("modelp != 0")},
      {"setModelAnimationSpeed(5, 200)", conditionReport("modelp != 0")},
      {"draw2DSprite(nil, 0, 0)", conditionReport("spritep != 0")},
      {"drawSpriteFullscreen(1)", conditionReport("spritep != 0")},
      {"playSound(nil)", conditionReport("soundp != 0")},
      {"isPlayingSound(3)", conditionReport("soundp != 0")},
      {"getCurrentObjectPosition()", conditionReport("currentObject != NULL")},
      {"setObjectLocalVariable1(1)", conditionReport("currentObject != NULL")},
      {"getObjectLocalVariable2()", conditionReport("currentObject != NULL")},
  };
}

TEST_F(ScriptHostTest, EveryFailedCheckEndsWithItsText) {
  std::vector<FailureCase> cases = argumentCountCases();
  std::vector<FailureCase> checks = checkCases();
  cases.insert(cases.end(), checks.begin(), checks.end());
  for (const FailureCase &c : cases) {
    SCOPED_TRACE(c.call);
    EXPECT_EXIT(
        {
          load("function lua_loop() " + c.call + " end\n");
          host->callScriptFunction("lua_loop");
        },
        testing::ExitedWithCode(1), literal(c.report));
  }
}

TEST_F(ScriptHostTest, PassingAssertsAndAbsentNumbers) {
  load(
      "function lua_loop()\n"
      "  assert(1) assert(-1) assert(0.6) assert(\"2\")\n"
      "  print(\"passed\")\n"
      "end\n");
  EXPECT_EQ(call("lua_loop"), "lua print: passed\n");
}

TEST_F(ScriptHostTest, ScriptErrorsNameTheFileOrTheFunction) {
  std::vector<FailureCase> cases = {
      {"", "Message: lua ('in file world.lua'): cannot open world.lua"},
      {"x = = 1\n",
       "Message: lua ('in file world.lua'): world.lua:1: unexpected symbol near '='\n"},
      {"tostring(1)\n",
       "Message: lua ('in file world.lua'): world.lua:1: attempt to call global 'tostring' (a nil "
       "value)\n"},
      {"local t = nil\nfunction lua_loop() t.x = 1 end\n",
       "Message: lua ('calling function lua_loop'): world.lua:2: attempt to index upvalue 't' (a "
       "nil value)\n"},
      {"print(1)\n", "Message: lua ('calling function lua_loop'): attempt to call a nil value\n"},
      {"function lua_loop() lua_getNbObjects() end\n",
       "Message: lua ('calling function lua_loop'): world.lua:1: attempt to call global "
       "'lua_getNbObjects' (a nil value)\n"},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].report);
    bool isMissingFile = i == 0;
    EXPECT_EXIT(
        {
          if (!isMissingFile)
            folder.writeScript(cases[i].call);
          host = ScriptHost::loadScript(nullptr, nullptr);
          host->callScriptFunction("lua_loop");
        },
        testing::ExitedWithCode(1), literal(cases[i].report));
  }
}

TEST_F(ScriptHostTest, ObjectTypeCountMustBeANumber) {
  EXPECT_EXIT(
      {
        load("function lua_getNbObjects() return \"two\" end\n");
        host->getNbObjectTypes();
      },
      testing::ExitedWithCode(1), literal(conditionReport("lua_isnumber(lua, -1)")));
  EXPECT_EXIT(
      {
        load("");
        host->getNbObjectTypes();
      },
      testing::ExitedWithCode(1),
      literal("Message: lua ('calling function lua_getNbObjects'): attempt to call a nil value"));
}

TEST_F(ScriptHostTest, ErrorOutsideAProtectedCallEndsInTheReport) {
  EXPECT_EXIT(
      {
        load("");
        lua_getfield(host->lua, LUA_GLOBALSINDEX, "absent");
        lua_call(host->lua, 0, 0);
      },
      testing::ExitedWithCode(1), literal("Message: lua panic: attempt to call a nil value"));
}

TEST_F(ScriptHostTest, ErrorValuesWithoutTextAreNamed) {
  EXPECT_EXIT(
      {
        load("");
        lua_pushboolean(host->lua, 1);
        reportScriptError(host->lua, "f", false);
      },
      testing::ExitedWithCode(1),
      literal("Message: lua ('calling function f'): (error value true)"));
  EXPECT_EXIT(
      {
        load("");
        reportScriptError(host->lua, NULL, false);
      },
      testing::ExitedWithCode(1), literal(conditionReport("functionName != NULL")));
}

TEST_F(ScriptHostTest, UnloadCallsUninitAndEmptiesTheVariables) {
  load("function lua_onUninitGame() print(\"bye\") setGlobalVar(\"v\", 1) end\n");
  testing::internal::CaptureStdout();
  host->unloadScript();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "lua print: bye\n");
  EXPECT_TRUE(globalVarTable.vars.empty());
  EXPECT_EQ(host->lua, nullptr);
}

}  // namespace
