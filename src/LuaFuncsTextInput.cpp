// Script library: text, print and assert, keys, mouse, clock, window size,
// quit, global variables, save and load requests, colours and the
// model-view matrix. No object with a destructor is alive while Lua may
// raise: arguments are converted first, results pushed last.
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "Colour.h"
#include "DeviceManager.h"
#include "FatalReport.h"
#include "Font.h"
#include "Game.h"
#include "GlobalVarTable.h"
#include "Image.h"
#include "KeyboardManager.h"
#include "LuaFuncs.h"
#include "Scene3D.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"

extern "C" {
#include <lua.h>
}

namespace LuaFuncs {

int drawText(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  const char *text = lua_tostring(lua, 1);
  int x = argTrunc(lua, 2);
  int y = argTrunc(lua, 3);
  if (text != NULL)
    scriptContext.font->printText(Float2(1, 1), text, x, y);
  return 0;
}

int drawTextCenter(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  const char *text = lua_tostring(lua, 1);
  if (text == NULL)
    return 0;
  Font *font = scriptContext.font;
  int w = font->measureText(-1, text, 1);
  int h = font->image->getHeight();
  font->printText(Float2(1, 1), text, (windowSize.x() - w) / 2, (windowSize.y() - h) / 2);
  return 0;
}

int scriptPrint(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  if (lua_isuserdata(lua, 1)) {
    long long address = static_cast<long long>(reinterpret_cast<intptr_t>(lua_touserdata(lua, 1)));
    printf("lua print: %lld\n", address);
  } else if (lua_isnumber(lua, 1)) {
    printf("lua print: %d\n", argNearest(lua, 1));
  } else if (lua_isstring(lua, 1)) {
    printf("lua print: %s\n", lua_tostring(lua, 1));
  } else {
    // Values without a string form: their kind.
    const char *kind = lua_typename(lua, lua_type(lua, 1));
    if (lua_isboolean(lua, 1))
      kind = lua_toboolean(lua, 1) ? "true" : "false";
    printf("lua print: %s\n", kind);
  }
  fflush(stdout);
  return 0;
}

int scriptAssert(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  if (argNearest(lua, 1) == 0)
    reportFatal(__DATE__, __FILE__, "lua_tointeger(lua, 1)", __LINE__, __TIME__,
                "An assert condition into lua script was false.");
  return 0;
}

int getKey(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  size_t length = 0;
  const char *text = lua_tolstring(lua, 1, &length);
  std::string_view chars(text != NULL ? text : "", text != NULL ? length : 0);
  ASSERT(chars.size() == 1);
  lua_pushinteger(lua, keyboardManager->isKeyDown[static_cast<unsigned char>(chars[0])]);
  return 1;
}

int getMouseInfos(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  for (int button = 0; button < 3; ++button)
    lua_pushinteger(lua, isMouseButtonDown[button] ? 1 : 0);
  lua_pushinteger(lua, mousePosition2D.x());
  lua_pushinteger(lua, mousePosition2D.y());
  return 5;
}

int getPeriodDuration(lua_State *lua) {
  lua_pushinteger(lua, static_cast<int32_t>(static_cast<uint32_t>(periodDuration)));
  return 1;
}

int getTime(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  lua_pushinteger(lua, getTimeMs());
  return 1;
}

int getWindowSize(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  lua_pushinteger(lua, windowSize.x());
  lua_pushinteger(lua, windowSize.y());
  return 2;
}

int quitGame(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  scriptContext.quitRequested = true;
  return 0;
}

int setGlobalVar(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 2);
  ASSERT(lua_isstring(lua, 1));
  ASSERT(lua_isnumber(lua, 2));
  int32_t value = argTrunc(lua, 2);
  size_t length = 0;
  const char *name = lua_tolstring(lua, 1, &length);
  globalVarTable.setGlobalVar(std::string(name, length), value);
  return 0;
}

int getGlobalVar(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  ASSERT(lua_isstring(lua, 1));
  size_t length = 0;
  const char *name = lua_tolstring(lua, 1, &length);
  int32_t value = globalVarTable.getGlobalVar(std::string(name, length));
  lua_pushinteger(lua, value);
  return 1;
}

int addToGlobalVar(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 2);
  ASSERT(lua_isstring(lua, 1));
  ASSERT(lua_isnumber(lua, 2));
  int32_t delta = argTrunc(lua, 2);
  size_t length = 0;
  const char *name = lua_tolstring(lua, 1, &length);
  int32_t value = globalVarTable.addToGlobalVar(std::string(name, length), delta);
  lua_pushinteger(lua, value);
  return 1;
}

int loadGame(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  const char *name = lua_tostring(lua, 1);
  loadGameFileName = name != NULL ? name : "";
  return 0;
}

int saveGame(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  const char *name = lua_tostring(lua, 1);
  saveGameFileName = name != NULL ? name : "";
  return 0;
}

int setColor(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 4);
  int r = argNearest(lua, 1);
  int g = argNearest(lua, 2);
  int b = argNearest(lua, 3);
  int a = argNearest(lua, 4);
  ASSERT(r < 256 && g < 256 && b < 256 && a < 256);
  ASSERT(r >= 0 && g >= 0 && b >= 0 && a >= 0);
  glColor4ub(static_cast<GLubyte>(r), static_cast<GLubyte>(g), static_cast<GLubyte>(b),
             static_cast<GLubyte>(a));
  return 0;
}

int setFogColor(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  int r = argNearest(lua, 1);
  int g = argNearest(lua, 2);
  int b = argNearest(lua, 3);
  ASSERT(r < 256 && g < 256 && b < 256);
  ASSERT(r >= 0 && g >= 0 && b >= 0);
  scriptContext.fogColor = {static_cast<uint8_t>(r), static_cast<uint8_t>(g),
                            static_cast<uint8_t>(b), 255};
  return 0;
}

int clearBackground(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 0);
  deviceManager->clearScreen(scriptContext.fogColor);
  return 0;
}

int move3DPosition(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  glTranslatef(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3));
  return 0;
}

int setCurrentPosition(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  glLoadMatrixf(scene3D->viewMatrix);
  glTranslatef(argFloat(lua, 1), argFloat(lua, 2), argFloat(lua, 3));
  return 0;
}

int rotatePosition(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  glRotatef(argFloat(lua, 1), 1, 0, 0);
  glRotatef(argFloat(lua, 2), 0, 1, 0);
  glRotatef(argFloat(lua, 3), 0, 0, 1);
  return 0;
}

}  // namespace LuaFuncs
