// A loaded picture and its texture: loadImage for the pixels, the GL
// manager's createTexture for the texture, glDeleteTextures at the end.
#include "Image.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "ImageLoader.h"

#include <GL/gl.h>

#include <cstdio>

Image::Image(DeviceManager *deviceManager, const std::string &path, bool verbose)
    : pixels(nullptr),
      width(0),
      height(0),
      isAlpha(false),
      texture(0),
      deviceManager(deviceManager),
      path(path) {
  printf("Loading image '%s'\n", path.c_str());
  fflush(stdout);
  pixels = loadImage(path, height, width, isAlpha, verbose);
  ASSERT(deviceManager != NULL);
  texture = deviceManager->createTexture(pixels, width, height, isAlpha);
}

Image::~Image() {
  printf("Freeing image '%s'\n", path.c_str());
  fflush(stdout);
  freePixels();
  GLuint name = texture;
  glDeleteTextures(1, &name);
}

void Image::freePixels() {
  delete[] pixels;
  pixels = nullptr;
}
