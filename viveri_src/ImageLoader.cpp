// Image loading: input from the file system or the data pack, the decoder
// chosen by the path's ending, TGA rows reversed, and the stretch to powers of
// two with GLU. Decoders: PngDecoder, JpegDecoder, TgaDecoder.
#include "ImageLoader.h"

#include "DataPack.h"
#include "FatalReport.h"
#include "JpegDecoder.h"
#include "PngDecoder.h"
#include "TgaDecoder.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

enum class ImageFormat { jpeg, png, tga, unknown };

bool endsWith(const std::string &path, const char *ending) {
  size_t length = strlen(ending);
  return path.size() >= length && path.compare(path.size() - length, length, ending) == 0;
}

// JPEG and PNG endings count in all lower or all upper case only; TGA in any mix.
ImageFormat chooseFormat(const std::string &path) {
  if ((path.size() >= 5 && (endsWith(path, ".jpg") || endsWith(path, ".JPG"))) ||
      (path.size() >= 6 && (endsWith(path, ".jpeg") || endsWith(path, ".JPEG"))))
    return ImageFormat::jpeg;
  if (path.size() > 4 && (endsWith(path, ".png") || endsWith(path, ".PNG")))
    return ImageFormat::png;
  if (path.size() >= 4) {
    std::string ending = path.substr(path.size() - 4);
    for (char &c : ending)
      c = (char)toupper((unsigned char)c);
    if (ending == ".TGA")
      return ImageFormat::tga;
  }
  return ImageFormat::unknown;
}

unsigned char *newPixels(size_t count) {
  unsigned char *pixels = new (std::nothrow) unsigned char[count];
  if (pixels == nullptr)
    FATAL("loadImage : not enough memory for the image");
  return pixels;
}

// TGA rows are handed on in the reverse of the file's order.
unsigned char *reverseRows(unsigned char *pixels, int width, int height, int bytesPerPixel) {
  size_t rowBytes = size_t(width) * bytesPerPixel;
  unsigned char *reversed = newPixels(rowBytes * height);
  for (int i = 0; i < height; i++)
    memcpy(reversed + size_t(i) * rowBytes, pixels + size_t(height - 1 - i) * rowBytes, rowBytes);
  delete[] pixels;
  return reversed;
}

// Our buffers are tightly packed, so GLU must not pad rows to 4 bytes; the
// caller's pixel store alignment is restored afterwards.
unsigned char *stretch(unsigned char *pixels, int width, int height, int newWidth, int newHeight,
                       bool isAlpha) {
  const int bytesPerPixel = isAlpha ? 4 : 3;
  unsigned char *stretched = newPixels(size_t(newWidth) * newHeight * bytesPerPixel);
  GLint packAlignment = 4;
  GLint unpackAlignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  GLint scaleres = gluScaleImage(isAlpha ? GL_RGBA : GL_RGB, width, height, GL_UNSIGNED_BYTE,
                                 pixels, newWidth, newHeight, GL_UNSIGNED_BYTE, stretched);
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
  ASSERT(scaleres == 0);
  delete[] pixels;
  return stretched;
}

}  // namespace

int powerOfTwoAtLeast(int size) {
  int power = 2;
  while (power < size)
    power *= 2;
  return power;
}

unsigned char *loadImage(const std::string &path, int &height, int &width, bool &isAlpha,
                         bool verbose) {
  if (verbose) {
    printf("Loading image '%s%s ...", path.c_str(), dataPack != nullptr ? "' from data pack" : "'");
    fflush(stdout);
  }

  FILE *file = nullptr;
  if (dataPack != nullptr) {
    int size = 0;
    file = dataPack->openEntry(path, size);
    if (file == nullptr)
      FATAL(("loadImage: can't find " + path + " in data pack").c_str());
  } else {
    file = fopen(path.c_str(), "rb");
    if (file == nullptr)
      FATAL(("loadImage: can't open '" + path + "'").c_str());
  }

  unsigned char *pixels = nullptr;
  int decodedWidth = 0;
  int decodedHeight = 0;
  bool decodedAlpha = false;
  switch (chooseFormat(path)) {
    case ImageFormat::jpeg:
      pixels = loadJpeg(file, decodedWidth, decodedHeight, verbose);
      break;
    case ImageFormat::png:
      pixels = loadPng(file, decodedWidth, decodedHeight, decodedAlpha, verbose);
      break;
    case ImageFormat::tga:
      pixels = loadTga(file, decodedWidth, decodedHeight, decodedAlpha);
      if (pixels == nullptr)
        FATAL(("loadImage : no image decoded from " + path).c_str());
      if (verbose) {
        printf("(tga)");
        fflush(stdout);
      }
      pixels = reverseRows(pixels, decodedWidth, decodedHeight, decodedAlpha ? 4 : 3);
      break;
    case ImageFormat::unknown:
      FATAL(("loadImage : File format not recognised" + path).c_str());
  }
  if (dataPack == nullptr)
    fclose(file);

  int newWidth = powerOfTwoAtLeast(decodedWidth);
  int newHeight = powerOfTwoAtLeast(decodedHeight);
  bool isStretched = newWidth != decodedWidth || newHeight != decodedHeight;
  if (isStretched)
    pixels = stretch(pixels, decodedWidth, decodedHeight, newWidth, newHeight, decodedAlpha);

  width = newWidth;
  height = newHeight;
  isAlpha = decodedAlpha;
  if (verbose) {
    if (isStretched)
      printf(" (image was streched) ");
    printf("... done (width=%d height=%d isAlpha=%d)\n", width, height, isAlpha ? 1 : 0);
    fflush(stdout);
  }
  return pixels;
}
