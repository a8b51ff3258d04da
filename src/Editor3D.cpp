// The editor's state and the cursor's world position. The keys are in
// Editor3DKeys.cpp, the camera and mouse in Editor3DCamera.cpp, boxes and the
// in-game creation in Editor3DBoxes.cpp, drawing in Editor3DDraw.cpp.
#include "Editor3D.h"

#include "WorldIndexator.h"

Editor3D::Editor3D(Font *font, IndexedWorld *indexedWorld)
    : dialogStep(0),
      cursor(0, 0, 0),
      boxStart(0, 0, 0),
      buildMoving(0, 0, 0),
      buildAnchor(0, 0, 0),
      textColor(colourWhite),
      worldGeneration(this),
      font(font),
      indexedWorld(indexedWorld),
      isBuildingCubes(false) {
  // The cube type dialog's text field uses the font.
  (void)this->font;
}

int Editor3D::regionCubes() {
  return static_cast<int>(worldIndexator->regionSize / 10.f);
}

Float3 Editor3D::cursorWorldPosition() const {
  return Float3(static_cast<float>(cursor.x()), static_cast<float>(cursor.y()),
                static_cast<float>(cursor.z())) *
         10.f;
}
