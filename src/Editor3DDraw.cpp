// The editor's drawing: the red cursor marker and the box being built in 3D,
// the same preview for an in-game creation, and the status lines with the
// current cube type's six faces in 2D.
#include <GL/gl.h>

#include <string>

#include "CubeType.h"
#include "DeviceManager.h"
#include "Editor3D.h"
#include "FatalReport.h"
#include "Font.h"
#include "IndexedWorld.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "Sprite.h"

namespace {

Float3 toWorld(const Int3 &cube) {
  return Float3(static_cast<float>(cube.x()), static_cast<float>(cube.y()),
                static_cast<float>(cube.z())) *
         10.f;
}

// A world made without a font (build tools, tests) draws no text.
void printLine(Font *font, const Colour &colour, const std::string &text, int x, int y) {
  if (font == NULL)
    return;
  glColor4ub(colour.r, colour.g, colour.b, colour.a);
  font->printText(Float2(1.f, 1.f), text.c_str(), x, y);
}

}  // namespace

void Editor3D::drawWireBox(const Float3 &center, const Float3 &size) {
  glPushMatrix();
  glLoadMatrixf(scene3D->viewMatrix);
  glTranslatef(center.x(), center.y(), center.z());
  scene3D->drawBox(size, Float3(1, 1, 1), NULL, false);
  glPopMatrix();
}

void Editor3D::drawCorners(const Int3 &moving, const Int3 *anchor) const {
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  glDisable(GL_CULL_FACE);
  Colour previous = deviceManager->getCurrentColour();
  glColor4ub(colourRed.r, colourRed.g, colourRed.b, colourRed.a);
  Float3 marker(markerSize, markerSize, markerSize);
  drawWireBox(toWorld(moving), marker);
  if (anchor != NULL) {
    drawWireBox(toWorld(*anchor), marker);
    drawWireBox((toWorld(moving) + toWorld(*anchor)) / 2.f, toWorld(*anchor) - toWorld(moving));
  }
  glColor4ub(previous.r, previous.g, previous.b, previous.a);
  // The engine's usual polygon state.
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_LINE);
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnable(GL_CULL_FACE);
}

void Editor3D::draw3D() {
  drawCorners(cursor, isBoxStarted ? &boxStart : NULL);
}

void Editor3D::drawBuild() {
  if (isBuildingCubes)
    drawCorners(buildMoving, &buildAnchor);
}

void Editor3D::draw2D(Font *font, int nbObjectTypes) {
  // The open menus are drawn first, and the cube type dialog replaces the
  // status lines while it is open: both join with the editor's menus.
  int windowHeight = scene2D->windowSize.height();
  printLine(font, textColor,
            std::to_string(currentObjectType) + " / " + std::to_string(nbObjectTypes), 10,
            windowHeight - 50);
  int nbTypes = indexedWorld->getNbCubeType();
  if (nbTypes < 1)
    return;
  ASSERT(currentCubeType >= 0 && currentCubeType < indexedWorld->getNbCubeType());
  for (int t = 0; t < nbTypes; ++t) {
    CubeType *type = indexedWorld->getCubeType(t);
    type->isUsed = true;
    type->isShownInEditor = false;
  }
  CubeType *current = indexedWorld->getCubeType(currentCubeType);
  if (!current->isTexturesLoaded())
    current->loadTextures();
  current->isShownInEditor = true;
  glColor4ub(255, 255, 255, 255);
  for (int face = 0; face < 6; ++face) {
    Sprite *sprite = current->textureFace[face];
    sprite->position = Int2(10, 60 + 60 * face);
    sprite->fitInto(Int2(25, 25));
    sprite->draw();
  }
  printLine(font, textColor, std::to_string(currentCubeType + 1) + " / " + std::to_string(nbTypes),
            10, 10);
}
