// A working folder with everything a World loads: cube face pictures, the
// loading screen, water, six plain-coloured sky pictures, a box-shaped
// player figure in five frames with its material, the two sounds, and an
// empty "world.dat". Creates and deletes the World quietly.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WorldTestFolder.h"

class SoundManager;
class World;

// The colours of the sky pictures in face order: bottom, top, left (-z),
// right (+z), front (+x), back (-x).
extern const unsigned char skyColours[6][3];

class WorldFixture : public testing::Test {
 protected:
  WorldFixture();
  ~WorldFixture() override;

  void createWorld();
  void deleteWorld();
  // One frame as the game draws it: cleared screen, camera, 3D pass, 2D pass.
  void drawFrame();
  // Writes the back buffer to dir/name.png when WORLD_TEST_SCREENSHOTS names
  // a folder; for looking at the renderings.
  void keepScreenshot(const std::string &name);

  WorldTestFolder folder;
  SoundManager *soundManager = nullptr;
  World *world = nullptr;
};

// An empty world file in the working folder.
void writeEmptyWorldFile();
void writeTestWav(const std::string &fileName);
