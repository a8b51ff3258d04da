// Rotation quaternions for the camera and the 3D view: construction from an
// axis and an angle, the product, and the OpenGL rotation matrix.
// Angles here are radians; callers convert from degrees.
#pragma once

#include "BasicVector.h"

struct Quaternion {
  float x, y, z, w;
};

const Quaternion quaternionIdentity = {0.f, 0.f, 0.f, 1.f};

// The axis is normalised first; (s·axis, cos(angle/2)) with s = sin(angle/2).
Quaternion quaternionFromAxisAngle(Float3 axis, float angle);

// a ⊗ b: applying the result rotates by b first, then by a.
Quaternion quaternionProduct(const Quaternion &a, const Quaternion &b);

// (-x, -y, -z, w): the inverse rotation of a unit quaternion.
Quaternion quaternionConjugate(const Quaternion &q);

// The 4 × 4 rotation matrix in OpenGL's column order.
void quaternionToMatrix(const Quaternion &q, float matrix[16]);
