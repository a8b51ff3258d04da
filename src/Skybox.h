// The sky: six pictures on the inside of a box centred on the camera, drawn
// first so everything else covers it.
#pragma once

#include "BasicVector.h"

class Sprite;

class Skybox {
 public:
  // Loads the six "skybox/" pictures.
  explicit Skybox(Float3 size);
  // Returns the six sprites.
  ~Skybox();
  Skybox(const Skybox &) = delete;
  Skybox &operator=(const Skybox &) = delete;

  void draw();

  // bottom, top, left, right, front, back
  Sprite *faces[6];
  unsigned int faceTextures[6];
  Float3 size;
};

// The six pictures in face order.
extern const char *const skyboxFileNames[6];
