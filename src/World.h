// The running world: owns the indexed world (regions, cube types, water), the
// editor, the player and the skybox; updated once per frame by the game loop,
// drawn when the game script asks for the 3D world and its 2D overlay, and
// the collision answers of the player and the script.
#pragma once

#include <cstdint>

#include "Editor3D.h"
#include "IndexedWorld.h"
#include "Object3D.h"

class Font;
class Player;
class Skybox;
class SoundManager;
struct lua_State;

class World : public Object3D {
 public:
  // Loads "world.dat", shows "loading.png" once, then the player and skybox.
  World(Font *font, SoundManager *soundManager);
  ~World() override;

  // Is the point inside a solid cube of the region holding it.
  bool isCollidingPoint(const Float3 &point) override;
  // Only the end point is tested; a collision refuses the move (out = from).
  bool collideSegment(const Float3 &from, const Float3 &to, Float3 &out) override;
  // The cubes of the regions around the camera; the first hit wins.
  bool intersectSegment(const Float3 &from, const Float3 &to, Float3 &out) override;
  // Skybox, player, regions, editor items and water ("draw3DWorld").
  void draw() override;

  // Once per frame from the game loop, with the script's interpreter state.
  void update(lua_State *luaState);
  // Underwater tint and, in editor mode, the editor's overlay ("draw2DWorld").
  void draw2D(int nbObjectTypes);
  // Before draw: the editor's camera, or the orbit behind the player.
  void placeCamera();
  // "a"/"A" toggles editor mode when no dialog is open; then the editor, or
  // the in-game cube creation and the player.
  void onKey(char key, int nbObjectTypes);
  void setReverseMouseY(bool isReverse);

  bool isEditorMode;
  IndexedWorld indexedWorld;
  Editor3D editor;
  Font *font;      // not owned
  Player *player;  // owned
  bool isHidden;
  Skybox *skybox;  // owned
  unsigned char fogColor[4];
  float viewDistance;
};
