// Quaternion arithmetic in single precision.
#include "Quaternion.h"

#include <cmath>

Quaternion quaternionFromAxisAngle(Float3 axis, float angle) {
  axis.normalize();
  float s = std::sin(angle / 2.f);
  Quaternion q = {s * axis.x(), s * axis.y(), s * axis.z(), std::cos(angle / 2.f)};
  return q;
}

Quaternion quaternionProduct(const Quaternion &a, const Quaternion &b) {
  Quaternion r;
  r.x = a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y;
  r.y = a.w * b.y + a.y * b.w + a.z * b.x - a.x * b.z;
  r.z = a.w * b.z + a.z * b.w + a.x * b.y - a.y * b.x;
  r.w = a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z;
  return r;
}

Quaternion quaternionConjugate(const Quaternion &q) {
  Quaternion r = {-q.x, -q.y, -q.z, q.w};
  return r;
}

void quaternionToMatrix(const Quaternion &q, float matrix[16]) {
  const float x = q.x, y = q.y, z = q.z, w = q.w;
  matrix[0] = 1.f - 2.f * (y * y + z * z);
  matrix[1] = 2.f * (x * y + w * z);
  matrix[2] = 2.f * (x * z - w * y);
  matrix[3] = 0.f;
  matrix[4] = 2.f * (x * y - w * z);
  matrix[5] = 1.f - 2.f * (x * x + z * z);
  matrix[6] = 2.f * (y * z + w * x);
  matrix[7] = 0.f;
  matrix[8] = 2.f * (x * z + w * y);
  matrix[9] = 2.f * (y * z - w * x);
  matrix[10] = 1.f - 2.f * (x * x + y * y);
  matrix[11] = 0.f;
  matrix[12] = 0.f;
  matrix[13] = 0.f;
  matrix[14] = 0.f;
  matrix[15] = 1.f;
}
