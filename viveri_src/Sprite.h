// A textured rectangle in 2D scene coordinates: a shared image placed with
// its hot spot at a position, at a scale. Created and destroyed only by the
// sprite manager, which shares the images by file name.
#pragma once

#include "BasicVector.h"

#include <vector>

class Image;

class Sprite {
 public:
  // hotSpotAlignment: 1 top-left, 2 centre, 3 bottom-right, 4 middle of the
  // left edge, 5 middle of the right edge (of the first image).
  Sprite(const std::vector<Image *> &images, int hotSpotAlignment);

  void draw();
  // A uniform scale that fits the scaled picture inside box.
  void fitInto(const Int2 &box);
  Int2 getScaledSize() const;

  // The drawn quadrilateral: Q0 bottom-right, Q1 bottom-left, Q2 top-left,
  // Q3 top-right (unrotated), turned about position by rotation degrees.
  void computeCorners();

  std::vector<Image *> images;  // shared, owned by the sprite manager
  int currentImage;
  Int2 position;
  Int2 hotSpot;
  Float2 scale;
  float rotation;
  Int2 corners[4];
};

// 1 / sqrt(l) by the bit-pattern estimate and one Newton step.
float fastInverseSquareRoot(float l);
// Rounds halves away from zero.
int roundHalfAwayFromZero(float value);
