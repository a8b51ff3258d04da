// Base of the device manager: creates and releases the process-wide 2D scene,
// sprite manager, 3D scene and keyboard manager, applies the OpenGL start-up
// state, and offers texture creation, current colour and screen clearing.
#pragma once

#include "Colour.h"

class GLManager {
 public:
  GLManager();
  virtual ~GLManager();

  // Called once right after the window is created.
  void applyStartupState(int width, int height);

  // A mipmapped RGB or RGBA texture from a tightly packed buffer; it stays bound.
  unsigned int createTexture(const unsigned char *pixels, int width, int height, bool hasAlpha);
  Colour getCurrentColour();
  void clearScreen(const Colour &colour);
};

// Name of the file that lists the driver's extensions at every start.
extern const char *const extensionsFileName;
