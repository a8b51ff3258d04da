// The water square and its layers, moved with the camera, its height from
// the clock, and the underwater tint. Owned by the indexed world.
#include "Water.h"

#include <GL/glew.h>

#include <cmath>

#include "Camera.h"
#include "DeviceManager.h"
#include "GLManager.h"
#include "Image.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "Sprite.h"
#include "SpriteManager.h"

namespace {

// One rise and fall of the surface, in milliseconds.
const int32_t waterPeriodMs = 4000;
const float layerDepths[4] = {-40.f, -30.f, -20.f, -10.f};

int textureOf(const Sprite *sprite) {
  return static_cast<int>(sprite->images[0]->getTexture());
}

// The square is drawn as n x n equal pieces, each a whole number of texture
// repeats, so the picture is the same as one quad's. One quad reaching far
// behind the camera gets the fog of its distant corners everywhere (the fog
// distance is taken at the corners), which turned the water near the camera
// white.
int piecesPerSide(float nbRepeats) {
  if (!(nbRepeats >= 1.f) || nbRepeats > 1e6f)
    return 1;
  int repeats = static_cast<int>(nbRepeats);
  for (int n = 32; n > 1; --n)
    if (repeats % n == 0)
      return n;
  return 1;
}

}  // namespace

Water::Water(float tileSize)
    : extent(30.f),
      extentMin(0.f),
      nbRepeats(0.f),
      tileSize(tileSize),
      surfaceSprite(NULL),
      layerSprite(NULL),
      underwaterColor{0, 104, 255, 128},
      waterPosition(0.f, -1.f, 0.f),
      drawLayers(false) {
  surfaceSprite = spriteManager->createSprite("water.png", 1);
  layerSprite = spriteManager->createSprite("water_sub.png", 1);
}

Water::~Water() {
  spriteManager->removeSprite(surfaceSprite);
  spriteManager->removeSprite(layerSprite);
}

float Water::surfaceHeight(int32_t timeMs) {
  // The remainder of a negative time is brought back into the period.
  int32_t t = timeMs % waterPeriodMs;
  if (t < 0)
    t += waterPeriodMs;
  float period = static_cast<float>(waterPeriodMs);
  if (t <= waterPeriodMs / 2)
    return static_cast<float>(t) / period * 12.f - 8.f;
  return -2.f - static_cast<float>(t - waterPeriodMs / 2) / period * 12.f;
}

float Water::snap(float cameraCoordinate, float nbRepeats) {
  // A square too small to repeat its texture follows the camera exactly.
  if (!(nbRepeats >= 1.f))
    return cameraCoordinate;
  return nbRepeats * std::trunc(cameraCoordinate / nbRepeats);
}

void Water::update(const Camera &camera) {
  waterPosition.x() = snap(camera.position.x(), nbRepeats);
  waterPosition.z() = snap(camera.position.z(), nbRepeats);
  waterPosition.y() = surfaceHeight(getTimeMs());
}

void Water::drawSquare(float height, int texture, bool isFacingDown) {
  const int n = piecesPerSide(nbRepeats);
  const float piece = extent / static_cast<float>(n);
  const Float2 repeat(nbRepeats / static_cast<float>(n), nbRepeats / static_cast<float>(n));
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      glLoadMatrixf(scene3D->viewMatrix);
      glTranslatef(waterPosition.x() - extent * 0.5f + (static_cast<float>(i) + 0.5f) * piece,
                   height,
                   waterPosition.z() - extent * 0.5f + (static_cast<float>(j) + 0.5f) * piece);
      scene3D->drawFlatQuad(Float2(piece, piece), texture, repeat, isFacingDown);
    }
}

void Water::draw() {
  glPushMatrix();
  if (drawLayers) {
    for (float depth : layerDepths) {
      drawSquare(waterPosition.y() + depth, textureOf(layerSprite), true);
      drawSquare(waterPosition.y() + depth, textureOf(layerSprite), false);
    }
  }
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_BACK, GL_LINE);
  glPolygonMode(GL_FRONT, GL_FILL);
  glEnable(GL_CULL_FACE);
  drawSquare(waterPosition.y(), textureOf(surfaceSprite), true);
  drawSquare(waterPosition.y(), textureOf(surfaceSprite), false);
  glPopMatrix();
}

void Water::drawUnderwater(const Camera &camera) {
  if (!(waterPosition.y() > camera.position.y()))
    return;
  Colour previous = deviceManager->getCurrentColour();
  glColor4ubv(underwaterColor);
  scene2D->drawRect(Int2(0, 0), scene2D->sceneSize, true);
  glColor4ub(previous.r, previous.g, previous.b, previous.a);
}
