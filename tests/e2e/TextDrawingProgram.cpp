// Test helper: opens the device, loads the default font and draws one line of
// text every frame on black, until a file named "stop" appears in the working
// folder; then shuts down in order and exits 0. Prints "text drawn" once the
// text has been on screen for a few frames.
#include "DeviceManager.h"
#include "Font.h"
#include "Scene2D.h"

#include <GL/gl.h>

#include <cstdio>
#include <iostream>

int main(int, char **argv) {
  DeviceManager::create(argv[0], "", 800, 600, false);
  Font *font = new Font("default_font.png");
  for (int frame = 0;; ++frame) {
    deviceManager->nextFrame();
    deviceManager->clearScreen(colourBlack);
    scene2D->applyProjection();
    // 2D drawing: y grows downwards, so both windings are filled and kept.
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColor4f(1, 1, 1, 1);
    font->printText(Float2(1, 1), "Cube world 0123 {ok}", 20, 20);
    if (frame == 10)
      std::cout << "text drawn" << std::endl;
    if (frame > 10 && frame % 10 == 0) {
      FILE *stop = std::fopen("stop", "r");
      if (stop != nullptr) {
        std::fclose(stop);
        break;
      }
    }
  }
  delete font;
  delete deviceManager;
  deviceManager = nullptr;
  return 0;
}
