// The editor's operations as the world calls them. The editor core fills
// them in; until then each one leaves everything as it is.
#include "Editor3D.h"

Editor3D::Editor3D(Font *font, IndexedWorld *indexedWorld)
    : dialogStep(0),
      cursorPosition(0, 0, 0),
      font(font),
      indexedWorld(indexedWorld),
      isBuildingCubes(false) {
  (void)this->font;
  (void)this->indexedWorld;
}

void Editor3D::placeCamera() {}

void Editor3D::draw3D() {}

void Editor3D::draw2D(Font *font, int nbObjectTypes) {
  (void)font;
  (void)nbObjectTypes;
}

void Editor3D::onKey(char key, int nbObjectTypes) {
  (void)key;
  (void)nbObjectTypes;
}
