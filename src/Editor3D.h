// The world editor as the world object calls it: its camera, its 3D and 2D
// drawing, its keys, the in-game cube creation a script can start, and the
// step of its cube type dialog. Each operation does nothing yet.
#pragma once

#include "BasicVector.h"

class Font;
class IndexedWorld;
struct MouseEvent;

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
  // A typed key in game mode; true when the in-game cube creation took it:
  // movement keys move the moving corner, the space bar validates.
  bool onBuildKey(char key);
  // A mouse event in game mode; motion turns the camera while building.
  bool onBuildMouse(const MouseEvent &event);
  // An in-game cube creation is under way (the player then stands still).
  bool isBuilding() const { return isBuildingCubes; }
  // Starts a creation at a world position (ignored while one is under way).
  void startBuild(const Float3 &position);
  // True once per validated creation (which then ends); the two corners.
  bool manageBuild(Int3 &anchor, Int3 &moving);

  // The cursor step of a key, after the quadrant of the editor's view.
  Int3 moveVector(int key) const;
  // One box inside one region; the corners must differ on every axis.
  bool addBox(const Int3 &cornerA, const Int3 &cornerB, int cubeType);
  // A box of any size, split at region borders; stops at the first failure.
  bool addBoxAcrossRegions(const Int3 &cornerA, const Int3 &cornerB, int cubeType);

  // Step of the cube type dialog; 0 or below when it is closed.
  int dialogStep;
  // Cube coordinates of the cursor.
  Int3 cursorPosition;
  // Which of four 90-degree views the editor camera uses (0 to 3).
  int viewQuadrant = 0;
  // The in-game creation: the corner moved by the keys, the corner where it
  // started, and whether the space bar ended it.
  Int3 buildMoving;
  Int3 buildAnchor;
  bool isBuildValidated = false;
  // Edge length of the corner markers, world units.
  float markerSize = 2.5f;

 private:
  Font *font;
  IndexedWorld *indexedWorld;
  bool isBuildingCubes;
};
