// The world editor as the world object calls it: its camera, its 3D and 2D
// drawing, its keys, the in-game cube creation a script can start, and the
// step of its cube type dialog. Each operation does nothing yet.
#pragma once

#include "BasicVector.h"

class Font;
class IndexedWorld;

class Editor3D {
 public:
  Editor3D(Font *font, IndexedWorld *indexedWorld);

  // Places the camera in editor mode.
  void placeCamera();
  // Cursor and box preview, in editor mode.
  void draw3D();
  // Preview of an in-game cube creation, in game mode.
  void drawBuild();
  // Menus, status lines and dialog, in editor mode.
  void draw2D(Font *font, int nbObjectTypes);
  // A typed key in editor mode.
  void onKey(char key, int nbObjectTypes);
  // A typed key in game mode; true when the in-game cube creation took it.
  bool onBuildKey(char key);
  // An in-game cube creation is under way (the player then stands still).
  bool isBuilding() const { return isBuildingCubes; }

  // Step of the cube type dialog; 0 or below when it is closed.
  int dialogStep;
  // Cube coordinates of the cursor.
  Int3 cursorPosition;

 private:
  Font *font;
  IndexedWorld *indexedWorld;
  bool isBuildingCubes;
};
