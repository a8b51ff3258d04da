// The world editor: a 3D cursor on the cube grid, boxes of cubes built
// between two corners, script objects, deletes, landscapes, shadows, save and
// load, its camera around the cursor and its status lines; and the in-game
// cube creation a script can start, steered by the same movement keys.
// Coordinates are cube coordinates: one cube is 10 world units.
#pragma once

#include "BasicVector.h"
#include "Colour.h"
#include "Editor3DWorldGeneration.h"

class Font;
class IndexedWorld;
struct MouseEvent;

class Editor3D {
 public:
  Editor3D(Font *font, IndexedWorld *indexedWorld);

  // Places the camera in editor mode: orbit around the cursor, the view
  // settling on the quadrant chosen while the left button turned it.
  void placeCamera();
  // Cursor and box preview, in editor mode.
  void draw3D();
  // Preview of an in-game cube creation, in game mode.
  void drawBuild();
  // Status lines and face icons, in editor mode.
  void draw2D(Font *font, int nbObjectTypes);
  // A typed key in editor mode (8-bit).
  void onKey(char key, int nbObjectTypes);
  // A mouse event in editor mode: wheel distance, turning, the menu corner.
  void onMouse(const MouseEvent &event, int nbObjectTypes);
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

  // Region edge in cubes: the region size in world units over 10, truncated.
  static int regionCubes();
  // The cursor's world position.
  Float3 cursorWorldPosition() const;

  // Step of the cube type dialog; 0 or below when it is closed.
  int dialogStep;
  // Cube coordinates of the cursor (a grid corner).
  Int3 cursor;
  // First corner of the box being built, once the space bar set it.
  Int3 boxStart;
  bool isBoxStarted = false;
  // Editor camera angles in degrees, and which of four 90-degree views it
  // uses (0 to 3), which steers the arrow keys.
  float viewPitch = 30.f;
  float viewYaw = 180.f;
  float viewRoll = 0.f;
  int viewQuadrant = 0;
  // Script object type placed by "x"; cube type of new boxes.
  int currentObjectType = 0;
  int currentCubeType = 0;
  // Distance of the editor camera from the cursor, 0 to 300.
  float orbitDistance = 30.f;
  // The in-game creation: the corner moved by the keys, the corner where it
  // started, and whether the space bar ended it.
  Int3 buildMoving;
  Int3 buildAnchor;
  bool isBuildValidated = false;
  // Edge length of the corner markers, world units.
  float markerSize = 2.5f;
  // Colour of the status text.
  Colour textColor;
  // Flat regions, hillsides and height-map terrain, with their options.
  Editor3DWorldGeneration worldGeneration;

 private:
  // The keys that act on the world; false for the movement keys.
  bool onCommandKey(int key, int nbObjectTypes);
  void onSpace();
  void onDeleteKey(int key);
  void onGenerateKey();
  void onTypeKey(int key);
  void moveCursor(int key);
  // Wireframe marker or box centred on a world position, in the current colour.
  static void drawWireBox(const Float3 &center, const Float3 &size);
  // The red markers and the box between two corners.
  void drawCorners(const Int3 &moving, const Int3 *anchor) const;

  Font *font;
  IndexedWorld *indexedWorld;
  bool isBuildingCubes;
};
