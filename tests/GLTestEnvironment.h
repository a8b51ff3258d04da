// GoogleTest environment for tests that need the real device: creates the
// DeviceManager (window, GL context, 2D and 3D scene, sprite and keyboard
// managers) once per test process with a hidden window, and destroys it.
#pragma once

#include <gtest/gtest.h>

class GLTestEnvironment : public testing::Environment {
 public:
  void SetUp() override;
  void TearDown() override;
};

// Reads back the colour of one window pixel of the back buffer, counted from
// the bottom-left as GL does, as bytes r, g, b, a.
void readBackPixel(int x, int y, unsigned char rgba[4]);
