// The PNG decoder: signature check, libpng read structures created for the
// installed library's own version, interlace handling, one read of the whole
// image, and the reduction of 16-bit RGBA samples to their high bytes.
#include "PngDecoder.h"

#include "FatalReport.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <new>

namespace {

// One decode at a time: the library handles and the decoded size.
png_structp pngPtr = nullptr;
png_infop infoPtr = nullptr;
int pngWidth = 0;
int pngHeight = 0;
png_byte pngColourType = 0;
png_byte pngBitDepth = 0;

// libpng failures end the program here, without the fatal report.
[[noreturn]] void abortPng(const char *text) {
  fprintf(stderr, "%s\n", text);
  fflush(stderr);
  abort();
}

bool isStoredLayout(png_byte colourType, png_byte bitDepth) {
  return (colourType == PNG_COLOR_TYPE_RGB && bitDepth == 8) ||
         (colourType == PNG_COLOR_TYPE_RGB_ALPHA && (bitDepth == 8 || bitDepth == 16));
}

// Asks libpng to hand grey, palette and 16-bit RGB pictures over as 8-bit RGB
// or RGBA; a transparency chunk of a grey or palette picture becomes alpha.
void requestConversion() {
  if (isStoredLayout(pngColourType, pngBitDepth))
    return;
  bool hasTransparency = png_get_valid(pngPtr, infoPtr, PNG_INFO_tRNS) != 0;
  if (pngColourType == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(pngPtr);
    if (hasTransparency)
      png_set_tRNS_to_alpha(pngPtr);
  } else if (pngColourType == PNG_COLOR_TYPE_GRAY || pngColourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (pngBitDepth < 8)
      png_set_expand_gray_1_2_4_to_8(pngPtr);
    if (hasTransparency && pngColourType == PNG_COLOR_TYPE_GRAY)
      png_set_tRNS_to_alpha(pngPtr);
    png_set_gray_to_rgb(pngPtr);
  }
  if (pngBitDepth == 16)
    png_set_strip_16(pngPtr);
}

// Reads the image into one buffer of height × row-bytes; returns the row size.
// No object with a destructor lives here: libpng leaves through longjmp.
unsigned char *readImage(FILE *file, size_t &rowBytes) {
  pngPtr = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (pngPtr == nullptr)
    abortPng("[read_png_file] png_create_read_struct failed");
  infoPtr = png_create_info_struct(pngPtr);
  if (infoPtr == nullptr)
    abortPng("[read_png_file] png_create_info_struct failed");
  if (setjmp(png_jmpbuf(pngPtr)))
    abortPng("[read_png_file] Error during init_io");

  png_init_io(pngPtr, file);
  png_set_sig_bytes(pngPtr, 8);
  png_read_info(pngPtr, infoPtr);
  pngWidth = (int)png_get_image_width(pngPtr, infoPtr);
  pngHeight = (int)png_get_image_height(pngPtr, infoPtr);
  pngColourType = png_get_color_type(pngPtr, infoPtr);
  pngBitDepth = png_get_bit_depth(pngPtr, infoPtr);
  requestConversion();
  png_set_interlace_handling(pngPtr);
  png_read_update_info(pngPtr, infoPtr);

  if (setjmp(png_jmpbuf(pngPtr)))
    abortPng("[read_png_file] Error during read_image");
  rowBytes = png_get_rowbytes(pngPtr, infoPtr);
  unsigned char *buffer = new (std::nothrow) unsigned char[size_t(pngHeight) * rowBytes];
  png_bytep *rowPointers = new (std::nothrow) png_bytep[pngHeight];
  if (buffer == nullptr || rowPointers == nullptr)
    FATAL("loadPng : not enough memory for the image");
  for (int i = 0; i < pngHeight; i++)
    rowPointers[i] = buffer + size_t(i) * rowBytes;
  png_read_image(pngPtr, rowPointers);
  delete[] rowPointers;
  png_destroy_read_struct(&pngPtr, &infoPtr, nullptr);
  return buffer;
}

}  // namespace

unsigned char *loadPng(FILE *file, int &width, int &height, bool &isAlpha, bool verbose) {
  if (verbose) {
    printf("(png)");
    fflush(stdout);
  }
  unsigned char signature[8] = {0};
  if (fread(signature, 1, 8, file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
    abortPng("[read_png_file] File is not recognized as a PNG file");

  size_t rowBytes = 0;
  unsigned char *buffer = readImage(file, rowBytes);
  size_t bytesPerPixel = rowBytes / size_t(pngWidth);
  if (bytesPerPixel == 8) {
    // 16-bit RGBA: keep the most significant (first) byte of each sample.
    size_t count = size_t(pngWidth) * pngHeight * 4;
    unsigned char *reduced = new (std::nothrow) unsigned char[count];
    if (reduced == nullptr)
      FATAL("loadPng : not enough memory for the image");
    for (size_t i = 0; i < count; i++)
      reduced[i] = buffer[2 * i];
    delete[] buffer;
    buffer = reduced;
    bytesPerPixel = 4;
  }
  if (bytesPerPixel != 3 && bytesPerPixel != 4)
    FATAL("loadPng : unexpected pixel layout after conversion");
  width = pngWidth;
  height = pngHeight;
  isAlpha = bytesPerPixel == 4;
  return buffer;
}
