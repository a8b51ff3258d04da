// The viewer: position in world units and a rotation from camera to world,
// changed only by pitch turns (about the camera's own x axis) and heading
// turns (about the world's y axis), so the camera never rolls. The pitch and
// heading totals are plain sums in degrees, never wrapped.
#pragma once

#include "BasicVector.h"
#include "Quaternion.h"

class Camera {
 public:
  Camera();

  // Pitch turns multiply on the camera side, heading turns on the world side.
  void rotatePitch(float degrees);
  void rotateHeading(float degrees);
  // Undo the total of one angle, then turn to the new value; the other
  // angle is kept.
  void setPitch(float degrees);
  void setHeading(float degrees);
  // Pitch rot.x then heading rot.y from the identity; rot.z must be 0.
  void setRotation(Float3 rot);

  Float3 position;
  Quaternion orientation;
  float pitch;
  float heading;
};
