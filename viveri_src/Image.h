// One loaded picture: its 8-bit RGB or RGBA pixels (power-of-two size) and the
// GL texture made from them. Owned by whoever loads it (sprite manager, font,
// landscape generator); destruction frees the pixels and deletes the texture.
#pragma once

#include <string>

class DeviceManager;

class Image {
 public:
  // The constructor's last argument: whether the load is logged in detail.
  static constexpr bool quiet = false;
  static constexpr bool verbose = true;

  // Loads the file (see loadImage) and creates its texture; logs the load.
  Image(DeviceManager *deviceManager, const std::string &path, bool verbose);
  ~Image();
  Image(const Image &) = delete;
  Image &operator=(const Image &) = delete;

  bool getIsAlpha() const { return isAlpha; }
  int getWidth() const { return width; }
  int getHeight() const { return height; }
  // Null once freePixels has run.
  const unsigned char *getPixels() const { return pixels; }
  unsigned int getTexture() const { return texture; }
  const std::string &getPath() const { return path; }

  // Releases the pixel buffer; the texture stays.
  void freePixels();

 private:
  unsigned char *pixels;
  int width;
  int height;
  bool isAlpha;
  unsigned int texture;
  DeviceManager *deviceManager;
  std::string path;
};
