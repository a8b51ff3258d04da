// Process-wide rendering objects, GL start-up state and the small GL services.
#include "GLManager.h"

#include "FatalReport.h"
#include "KeyboardManager.h"
#include "PlatformGL.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "SpriteManager.h"
#include "VBO.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <iostream>

const char *const extensionsFileName = "extensions.txt";

namespace {

// Kept open until the process ends, like the driver's own log would be.
FILE *extensionsFile = nullptr;

void writeExtensionList() {
  const GLubyte *extensions = glGetString(GL_EXTENSIONS);
  if (extensionsFile != nullptr)
    std::fclose(extensionsFile);
  extensionsFile = std::fopen(extensionsFileName, "wt");
  if (extensionsFile == nullptr) {
    // Nothing reads the list back: a read-only folder only loses the dump.
    std::cout << "Cannot write " << extensionsFileName << std::endl;
    return;
  }
  std::fprintf(extensionsFile,
               "supported:%s :", extensions ? reinterpret_cast<const char *>(extensions) : "");
  std::fflush(extensionsFile);
}

}  // namespace

GLManager::GLManager() {
  scene2D = new Scene2D();
  spriteManager = new SpriteManager();
  scene3D = new Scene3D();
  keyboardManager = new KeyboardManager();
}

GLManager::~GLManager() {
  delete spriteManager;  // requires that no sprite is left
  spriteManager = nullptr;
  delete scene2D;
  delete scene3D;  // releases its quadric and camera
  delete keyboardManager;
  scene2D = nullptr;
  scene3D = nullptr;
  keyboardManager = nullptr;
}

void GLManager::applyStartupState(int width, int height) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDisable(GL_FOG);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.1f);
  glPolygonMode(GL_BACK, GL_POINT);
  glEnable(GL_POINT_SMOOTH);
  glEnable(GL_LINE_SMOOTH);
  glEnable(GL_POLYGON_SMOOTH);
  glEnable(GL_CULL_FACE);
  writeExtensionList();
  glEnable(GL_MULTISAMPLE);
  if (platformGetProcAddress(pixelFormatEntryPoint) == nullptr)
    reportWarning("extension not available");
  initVBOSupport();
  glutReshapeWindow(width, height);
}

unsigned int GLManager::createTexture(const unsigned char *pixels, int width, int height,
                                      bool hasAlpha) {
  const unsigned char *data = pixels;
  ASSERT(data != NULL);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
  GLenum format = hasAlpha ? GL_RGBA : GL_RGB;
  int mipmapres =
      gluBuild2DMipmaps(GL_TEXTURE_2D, format, width, height, format, GL_UNSIGNED_BYTE, data);
  ASSERT(mipmapres == 0);
  return texture;
}

Colour GLManager::getCurrentColour() {
  GLfloat c[4];
  glGetFloatv(GL_CURRENT_COLOR, c);
  Colour colour;
  colour.r = static_cast<uint8_t>(c[0] * 255.0f);
  colour.g = static_cast<uint8_t>(c[1] * 255.0f);
  colour.b = static_cast<uint8_t>(c[2] * 255.0f);
  colour.a = static_cast<uint8_t>(c[3] * 255.0f);
  return colour;
}

void GLManager::clearScreen(const Colour &colour) {
  glClearColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
