// libpng reading for the tests. The jump target holds no C++ objects with
// destructors: everything is prepared before setjmp and kept in plain storage.
#include "PngTestReader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace {

struct ReadState {
  FILE *file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_bytep *rows = nullptr;
};

// Returns 0 on success, or a code naming the step that failed.
int decode(ReadState &s, DecodedPng &out) {
  unsigned char signature[8];
  if (std::fread(signature, 1, 8, s.file) != 8 || png_sig_cmp(signature, 0, 8) != 0)
    return 1;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!s.png)
    return 2;
  s.info = png_create_info_struct(s.png);
  if (!s.info)
    return 2;
  if (setjmp(png_jmpbuf(s.png)))
    return 3;
  png_init_io(s.png, s.file);
  png_set_sig_bytes(s.png, 8);
  png_read_info(s.png, s.info);
  out.width = static_cast<int>(png_get_image_width(s.png, s.info));
  out.height = static_cast<int>(png_get_image_height(s.png, s.info));
  out.bitDepth = png_get_bit_depth(s.png, s.info);
  out.colourType = png_get_color_type(s.png, s.info);
  out.isInterlaced = png_get_interlace_type(s.png, s.info) != PNG_INTERLACE_NONE;
  if (out.bitDepth != 8 ||
      (out.colourType != PNG_COLOR_TYPE_RGB && out.colourType != PNG_COLOR_TYPE_RGBA))
    return 4;
  out.channels = out.colourType == PNG_COLOR_TYPE_RGBA ? 4 : 3;
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  if (png_get_rowbytes(s.png, s.info) != static_cast<size_t>(out.width) * out.channels)
    return 4;
  out.pixels.assign(static_cast<size_t>(out.width) * out.height * out.channels, 0);
  s.rows = static_cast<png_bytep *>(png_malloc(s.png, sizeof(png_bytep) * out.height));
  for (int y = 0; y < out.height; ++y)
    s.rows[y] = &out.pixels[static_cast<size_t>(y) * out.width * out.channels];
  png_read_image(s.png, s.rows);
  png_read_end(s.png, nullptr);
  return 0;
}

}  // namespace

bool readPng(const std::string &path, DecodedPng &png, std::string &error) {
  ReadState state;
  state.file = std::fopen(path.c_str(), "rb");
  if (!state.file) {
    error = "cannot open " + path;
    return false;
  }
  int result = decode(state, png);
  if (state.rows)
    png_free(state.png, state.rows);
  if (state.png)
    png_destroy_read_struct(&state.png, state.info ? &state.info : nullptr, nullptr);
  std::fclose(state.file);
  const char *reasons[] = {"", "not a PNG signature", "libpng could not start",
                           "libpng reported an error", "not 8-bit RGB or RGBA"};
  if (result != 0)
    error = path + ": " + reasons[result];
  return result == 0;
}
