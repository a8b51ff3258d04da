// Script library: sprites, drawn where the script says or full screen.
#include "DeviceManager.h"
#include "FatalReport.h"
#include "LuaFuncs.h"
#include "ScriptArgs.h"
#include "ScriptContext.h"
#include "Sprite.h"
#include "SpriteManager.h"

extern "C" {
#include <lua.h>
}

namespace {

// The Parts' null check first, then ours: a handle the script holds.
Sprite *spriteArg(lua_State *lua) {
  void *spritep = lua_touserdata(lua, 1);
  ASSERT(spritep != 0);
  checkHandle(spritep, HANDLE_SPRITE);
  return static_cast<Sprite *>(spritep);
}

// Cleared to opaque black, the sprite drawn centred in the window.
void drawCentred(Sprite *sprite) {
  Int2 size = sprite->getScaledSize();
  sprite->position = Int2(windowSize.x() / 2 - size.x() / 2, windowSize.y() / 2 - size.y() / 2);
  sprite->draw();
  scriptContext.fullscreenSpriteDrawn = true;
}

}  // namespace

namespace LuaFuncs {

int load2DSprite(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  const char *name = lua_tostring(lua, 1);
  Sprite *sprite = spriteManager->createSprite(name != NULL ? name : "", 1);
  addHandle(sprite, HANDLE_SPRITE);
  lua_pushlightuserdata(lua, sprite);
  return 1;
}

int draw2DSprite(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 3);
  Sprite *sprite = spriteArg(lua);
  sprite->position = Int2(argTrunc(lua, 2), argTrunc(lua, 3));
  sprite->draw();
  return 0;
}

int unload2DSprite(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  Sprite *sprite = spriteArg(lua);
  removeHandle(sprite, HANDLE_SPRITE);
  spriteManager->removeSprite(sprite);
  return 0;
}

int drawSpriteFullscreen(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  Sprite *sprite = spriteArg(lua);
  deviceManager->clearScreen(colourBlack);
  drawCentred(sprite);
  return 0;
}

int drawSpriteFullscreenStretched(lua_State *lua) {
  int argc = lua_gettop(lua);
  ASSERT(argc == 1);
  Sprite *sprite = spriteArg(lua);
  deviceManager->clearScreen(colourBlack);
  sprite->fitInto(windowSize);
  drawCentred(sprite);
  sprite->scale = Float2(1, 1);
  return 0;
}

}  // namespace LuaFuncs
