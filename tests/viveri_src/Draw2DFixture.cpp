// The 2D drawing fixture's set-up, restore and read-back.
#include "Draw2DFixture.h"

#include "Colour.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Scene2D.h"

#include <GL/gl.h>

void Draw2DFixture::SetUp() {
  scene2D->windowSize = Int2(800, 600);
  scene2D->sceneSize = Int2(800, 600);
  scene2D->applyProjection();
  glDisable(GL_BLEND);
  glDisable(GL_CULL_FACE);
  glDisable(GL_POLYGON_SMOOTH);
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_MULTISAMPLE);
  glDisable(GL_DEPTH_TEST);
  // y runs downwards, so 2D quads are back-facing.
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  deviceManager->clearScreen(colourBlack);
  glColor4f(1, 1, 1, 1);
}

void Draw2DFixture::TearDown() {
  glDisable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_POINT);
  glEnable(GL_BLEND);
  glEnable(GL_CULL_FACE);
  glEnable(GL_POLYGON_SMOOTH);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_MULTISAMPLE);
}

std::array<int, 3> Draw2DFixture::colourAt(int sceneX, int sceneY) {
  unsigned char p[4];
  readBackPixel(sceneX, 599 - sceneY, p);
  return {p[0], p[1], p[2]};
}
