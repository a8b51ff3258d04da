// Camera turns as quaternion products; the angle totals follow each turn.
#include "Camera.h"

#include "FatalReport.h"

Camera::Camera()
    : position(0.f, 0.f, 0.f), orientation(quaternionIdentity), pitch(0.f), heading(0.f) {}

void Camera::rotatePitch(float degrees) {
  Quaternion turn = quaternionFromAxisAngle(Float3(1.f, 0.f, 0.f), degrees * degreesToRadians);
  orientation = quaternionProduct(orientation, turn);
  pitch += degrees;
}

void Camera::rotateHeading(float degrees) {
  Quaternion turn = quaternionFromAxisAngle(Float3(0.f, 1.f, 0.f), degrees * degreesToRadians);
  orientation = quaternionProduct(turn, orientation);
  heading += degrees;
}

void Camera::setPitch(float degrees) {
  rotatePitch(-pitch);
  pitch = 0.f;
  rotatePitch(degrees);
}

void Camera::setHeading(float degrees) {
  rotateHeading(-heading);
  heading = 0.f;
  rotateHeading(degrees);
}

void Camera::setRotation(Float3 rot) {
  ASSERT(rot.z() == 0.f);
  orientation = quaternionIdentity;
  pitch = 0.f;
  heading = 0.f;
  rotatePitch(rot.x());
  rotateHeading(rot.y());
}
