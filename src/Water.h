// The water: one textured square around the camera whose surface rises from
// -8 to -2 and falls back every 4 seconds, optional layers below it, and the
// blue tint laid over the screen while the camera is under the surface.
#pragma once

#include <cstdint>

#include "BasicVector.h"

class Camera;
class Sprite;

class Water {
 public:
  explicit Water(float tileSize);
  ~Water();
  Water(const Water &) = delete;
  Water &operator=(const Water &) = delete;

  // Follows the camera on the x and z axes and sets the height from the clock.
  void update(const Camera &camera);
  void draw();
  // Tints the whole 2D scene while the surface is above the camera.
  void drawUnderwater(const Camera &camera);

  // Height of the surface at clock time timeMs (milliseconds).
  static float surfaceHeight(int32_t timeMs);
  // Where the square sits for a camera at x (or z): a multiple of nbRepeats.
  static float snap(float cameraCoordinate, float nbRepeats);

  float extent;
  float extentMin;
  float nbRepeats;
  float tileSize;
  Sprite *surfaceSprite;  // "water.png"
  Sprite *layerSprite;    // "water_sub.png"
  unsigned char underwaterColor[4];
  Float3 waterPosition;
  bool drawLayers;

 private:
  // The square at this height around waterPosition, facing down or up.
  void drawSquare(float height, int texture, bool isFacingDown);
};
