// The values the script library reads and writes, shared by the script host,
// the game loop and the script object types: one process-wide record.
#pragma once

#include "Colour.h"

class World;
class SoundManager;
class Font;
struct CustomObject;
struct lua_State;

struct ScriptContext {
  World *world = nullptr;
  SoundManager *soundManager = nullptr;
  Font *font = nullptr;
  // The state the script object types call their functions in.
  lua_State *currentState = nullptr;
  // The script object being managed; forgotten when its record goes away.
  CustomObject *currentObject = nullptr;
  float distanceToPlayer = 0.f;
  bool quitRequested = false;
  bool fullscreenSpriteDrawn = false;
  bool isWaterEnabled = true;
  Colour fogColor = {255, 255, 255, 255};
};

extern ScriptContext scriptContext;

// Called when a record is destroyed or overwritten: the context forgets it.
void forgetCurrentObject(const CustomObject *record);

// Where the player's model stands; the origin while there is no world.
#include "BasicVector.h"
Float3 playerModelPosition();
