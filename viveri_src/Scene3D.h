// The process-wide 3D view state: projection, the camera, eight light slots
// and fog, turned into OpenGL state before 3D drawing; camera placement
// (orbit, mouse look, easing); and the box and flat quad primitives.
// Created and destroyed by the GL manager; needs the GL context to draw.
#pragma once

#include <cstdint>

#include "BasicVector.h"

class Camera;
class GLUquadric;

class Scene3D {
 public:
  static const int nbLights = 8;

  Scene3D();
  ~Scene3D();
  Scene3D(const Scene3D &) = delete;
  Scene3D &operator=(const Scene3D &) = delete;

  // Depth test, culling, texturing, polygon modes and lighting on or off.
  void set3DState();
  // set3DState, projection, camera transform (saved in viewMatrix), lights.
  void apply3DView();
  // Puts the camera at distance from target, opposite its viewing direction,
  // then applies the view.
  void placeCameraOrbit(Float3 target, float distance);
  // Moves pitch and heading toward the targets over one frame period of
  // periodMicroseconds: 100 ms or more jumps to the target. Angles take the
  // short way round. The roll target must be 0.
  void easeCameraToward(float targetPitch, float targetHeading, float targetRoll,
                        int64_t periodMicroseconds);
  // The same over the device's last frame period.
  void easeCameraToward(float targetPitch, float targetHeading, float targetRoll);
  // One degree of turn per pixel moved since the last call, when isTurning.
  void mouseLook(Int2 position, bool isTurning);
  void applyLights();
  // Linear fog ending at distance; each colour byte ÷ 256.
  void applyFog(const unsigned char colour[4], float distance);
  // A box centred on the origin. faceTextures is six GL texture names, or
  // NULL for a wire box in the current colour. isInverted shows the inside.
  void drawBox(Float3 size, Float3 repeat, const unsigned int *faceTextures, bool isInverted);
  // 24 corners and texture coordinates, four per face: top, bottom, +z, -z,
  // -x, +x.
  static void buildBoxGeometry(Float3 halfSize, Float3 repeat, bool isRandomOffset,
                               Float3 positions[24], Float2 texCoords[24]);
  // A quad in the plane y = 0 centred on the origin; texture -1 binds nothing.
  void drawFlatQuad(Float2 size, int texture, Float2 repeat, bool isFacingDown);
  // Rotation by ax about x, then ay about y, then az about z, in degrees.
  void rotateXYZ(float ax, float ay, float az);

  float fieldOfView;
  GLUquadric *quadric;
  bool isLightingEnabled;
  Int2 lastMousePosition;
  float aspectRatio;
  float viewMatrix[16];
  float lightPosition[nbLights][4];
  bool isLightEnabled[nbLights];
  float lightRange[nbLights];
  float farPlane;
  Camera *camera;
  float fogDistance;
};

extern Scene3D *scene3D;
