// The shared GL context of the GL test programs.
#include "GLTestEnvironment.h"

#include "DeviceManager.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

void GLTestEnvironment::SetUp() {
  DeviceManager::create("gl_tests", "", 800, 600, false);
  // One frame lets the window system settle the window's size and mapping.
  deviceManager->nextFrame();
}

void GLTestEnvironment::TearDown() {
  delete deviceManager;
  deviceManager = nullptr;
}

void readBackPixel(int x, int y, unsigned char rgba[4]) {
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}
