// The abstract 3D object: a position and five virtual operations, the base of
// the world and of every model. Models stand at their position; callers place
// them (translate, rotate) before drawing, the operations apply no transform.
#pragma once

#include "BasicVector.h"

class Object3D {
 public:
  Object3D() = default;
  Object3D(const Object3D &) = delete;
  Object3D &operator=(const Object3D &) = delete;

  // Is the point inside something solid.
  virtual bool isCollidingPoint(const Float3 &point) {
    (void)point;
    return false;
  }
  // Does a move from `from` to `to` collide; when it does, out receives the
  // position to use instead (untouched otherwise).
  virtual bool collideSegment(const Float3 &from, const Float3 &to, Float3 &out) = 0;
  // A finer segment test giving the hit point in out.
  virtual bool intersectSegment(const Float3 &from, const Float3 &to, Float3 &out) {
    (void)from;
    (void)to;
    (void)out;
    return false;
  }
  virtual ~Object3D() = default;
  virtual void draw() = 0;

  Float3 position;  // (0, 0, 0) at construction
};
