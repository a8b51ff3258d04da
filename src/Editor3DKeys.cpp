// The editor's keys: the cursor's moves, boxes, objects, deletes, landscapes,
// shadows, save and load, and the current cube and object types. Keys are
// 8-bit codes; letters are lower-cased from "A" to "Z" only.
#include <iostream>

#include "CubeTypeManager.h"
#include "CubeZone.h"
#include "CubeZoneStaticShadows.h"
#include "Editor3D.h"
#include "FatalReport.h"
#include "IndexedWorld.h"
#include "KeyboardManager.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

const int keyCodeF2 = 257;
const int keyCodeF3 = 258;
const int keyCodeDelete = 127;

bool isDown(int code) {
  return keyboardManager->isKeyDown[code] != 0;
}

// Whether any zone of any region is of the cube type.
bool isCubeTypeInUse(int type) {
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        for (const CubeZone &zone : worldIndexator->getRegion(Int3(x, y, z))->zones)
          if (zone.cubeTypeIndex == type)
            return true;
  return false;
}

}  // namespace

void Editor3D::onKey(char key, int nbObjectTypes) {
  if (dialogStep > 0) {
    // The cube type dialog takes every key while it is open (it joins with
    // the editor's menus and dialog).
    return;
  }
  int code = static_cast<unsigned char>(key);
  if (code >= 'A' && code <= 'Z')
    code = code - 'A' + 'a';
  if (!onCommandKey(code, nbObjectTypes))
    moveCursor(code);
}

bool Editor3D::onCommandKey(int key, int nbObjectTypes) {
  bool isTypeKeyHeld = isDown('t') || isDown('T');
  switch (key) {
    case ' ':
      onSpace();
      return true;
    case 'd':
    case keyCodeDelete:
      onDeleteKey(key);
      return true;
    case 'g':
      onGenerateKey();
      return true;
    case 'h':
      if (isDown(keyCodeF2))
        CubeZoneStaticShadows::computeAllShadows();
      else
        CubeZoneStaticShadows::computeShadowsAt(cursorWorldPosition());
      return true;
    case 'i':
      cursor = Int3(0, 0, 0);
      // Then handled as a movement key, which moves nothing.
      return false;
    case 'l':
      // The editor's revert: no confirmation. A missing file is only reported.
      if (!fileExists(worldFileName)) {
        std::cout << "No '" << worldFileName << "' to load" << std::endl;
        return true;
      }
      indexedWorld->loadWorld();
      currentCubeType = 0;
      return true;
    case 'm':
    case 'q':
      if (!isDown(keyCodeF3))
        return false;
      // The cube type dialog (new type for "q", the current type for "m")
      // opens here once it joins with the editor's menus and dialog.
      return true;
    case 'r':
      onTypeKey(key);
      return true;
    case 's':
      indexedWorld->saveWorld();
      return true;
    case 'x':
      // Only types the script can run end up in the world file.
      if (currentObjectType >= 0 && currentObjectType < nbObjectTypes)
        indexedWorld->addObject(cursorWorldPosition(), currentObjectType);
      else
        std::cout << "No script object type " << currentObjectType << " to place" << std::endl;
      return true;
    case keyCodePageUp:
    case keyCodePageDown:
      if (isTypeKeyHeld) {
        if (key == keyCodePageUp && currentObjectType < nbObjectTypes - 1)
          ++currentObjectType;
        if (key == keyCodePageDown && currentObjectType > 0)
          --currentObjectType;
        return true;
      }
      if (isDown(keyCodeF3)) {
        onTypeKey(key);
        return true;
      }
      return false;
    default:
      return false;
  }
}

void Editor3D::onSpace() {
  if (indexedWorld->getNbCubeType() < 1)
    return;
  if (!isBoxStarted) {
    boxStart = cursor;
    isBoxStarted = true;
    return;
  }
  if (cursor.x() != boxStart.x() && cursor.y() != boxStart.y() && cursor.z() != boxStart.z())
    addBoxAcrossRegions(cursor, boxStart, currentCubeType);
  isBoxStarted = false;
}

void Editor3D::onDeleteKey(int key) {
  Float3 point = cursorWorldPosition();
  bool isRegionWide = isDown(keyCodeF2);
  if (key == 'd') {
    if (isRegionWide)
      worldIndexator->clearRegionAt(point);
    else
      worldIndexator->deleteNearest(point);
  } else {
    if (isRegionWide)
      indexedWorld->clearAllRegions();
    else
      worldIndexator->deleteAt(point);
  }
  worldIndexator->fitTableToContent();
}

void Editor3D::onGenerateKey() {
  int nbTypes = indexedWorld->getNbCubeType();
  if (nbTypes < 1)
    return;
  int bodyType = currentCubeType;
  int topType = currentCubeType + 1 < nbTypes ? currentCubeType + 1 : currentCubeType;
  int n = regionCubes();
  if (isDown(keyCodeF2)) {
    worldGeneration.generateFromHeightmap(cursor, n, bodyType, topType, 8);
    return;
  }
  int hillside = 0;
  for (int digit = 1; digit <= 4 && hillside == 0; ++digit)
    if (isDown('0' + digit))
      hillside = digit;
  worldGeneration.generateOneRegion(cursor, n, bodyType, topType, hillside);
}

void Editor3D::onTypeKey(int key) {
  int nbTypes = indexedWorld->getNbCubeType();
  if (key == keyCodePageUp) {
    if (currentCubeType < nbTypes - 1)
      ++currentCubeType;
    return;
  }
  if (key == keyCodePageDown) {
    if (currentCubeType > 0)
      --currentCubeType;
    return;
  }
  // "r": the last type, then the one before it; never below 0.
  currentCubeType = nbTypes - 1;
  if (currentCubeType > 0)
    --currentCubeType;
  if (currentCubeType < 0)
    currentCubeType = 0;
  if (!isDown(keyCodeF3) || nbTypes < 1)
    return;
  if (isCubeTypeInUse(nbTypes - 1)) {
    std::cout << "Cube type " << nbTypes << " is still used by cubes of the world; not removed"
              << std::endl;
    return;
  }
  cubeTypeManager->removeLastCubeType();
  worldIndexator->dropAllGeometry();
}

void Editor3D::moveCursor(int key) {
  Int3 step = moveVector(key);
  if (isDown(keyCodeF2)) {
    step = step * regionCubes();
    // Half a region: each component halved, truncated toward zero.
    step = Int3(step.x() / 2, step.y() / 2, step.z() / 2);
  }
  cursor = cursor + step;
}
