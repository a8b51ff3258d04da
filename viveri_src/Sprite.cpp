// Sprite geometry (hot spot, scaled size, the four corners turned about the
// position) and drawing through the 2D scene's textured polygon.
#include "Sprite.h"

#include "FatalReport.h"
#include "Image.h"
#include "Scene2D.h"

#include <cmath>
#include <cstdint>
#include <cstring>

float fastInverseSquareRoot(float l) {
  int32_t bits;
  memcpy(&bits, &l, sizeof bits);
  bits = 1597463007 - (bits >> 1);
  float y;
  memcpy(&y, &bits, sizeof y);
  y = y * (1.5f - y * (0.5f * l * y));
  return y;
}

int roundHalfAwayFromZero(float value) {
  return (int)(value < 0 ? std::ceil(value - 0.5f) : std::floor(value + 0.5f));
}

Sprite::Sprite(const std::vector<Image *> &images, int hotSpotAlignment)
    : images(images),
      currentImage(0),
      position(0, 0),
      hotSpot(0, 0),
      scale(1.0f, 1.0f),
      rotation(0) {
  ASSERT(images.size() >= 1);
  int w = images[0]->getWidth();
  int h = images[0]->getHeight();
  switch (hotSpotAlignment) {
    case 1:
      hotSpot = Int2(0, 0);
      break;
    case 2:
      hotSpot = Int2(w / 2, h / 2);
      break;
    case 3:
      hotSpot = Int2(w, h);
      break;
    case 4:
      hotSpot = Int2(0, h / 2);
      break;
    case 5:
      hotSpot = Int2(w, h / 2);
      break;
    default:
      FATAL("Sprite::Sprite : unknown value of hotSpotAlignment");
  }
}

void Sprite::computeCorners() {
  Int2 size = getScaledSize();
  Int2 origin = position - hotSpot;
  const Int2 unrotated[4] = {origin + size, origin + Int2(0, size.y()), origin,
                             origin + Int2(size.x(), 0)};
  for (int i = 0; i < 4; i++) {
    float dx = (float)(unrotated[i].x() - position.x());
    float dy = (float)(unrotated[i].y() - position.y());
    float angle = std::atan2(dy, dx) + rotation * 3.1415927f / 180.0f;
    float l = dx * dx + dy * dy;
    // At the hot spot itself (l = 0) the estimate still gives a length of about 1e-19.
    float length = 1.0f / fastInverseSquareRoot(l);
    corners[i] = position + Int2(roundHalfAwayFromZero(length * std::cos(angle)),
                                 roundHalfAwayFromZero(length * std::sin(angle)));
  }
}

void Sprite::draw() {
  ASSERT(currentImage >= 0 && currentImage < (int)images.size());
  // The report shows this condition exactly as written.
  // clang-format off
  ASSERT(images[currentImage]!= NULL);
  // clang-format on
  computeCorners();
  scene2D->drawTexturedPolygon(corners, images[currentImage]->getTexture());
}

void Sprite::fitInto(const Int2 &box) {
  float w = (float)images[0]->getWidth();
  float h = (float)images[0]->getHeight();
  float factor = std::fmin((float)box.y() / h, (float)box.x() / w);
  scale = Float2(factor, factor);
}

Int2 Sprite::getScaledSize() const {
  return Int2((int)((float)images[0]->getWidth() * scale.x()),
              (int)((float)images[0]->getHeight() * scale.y()));
}
