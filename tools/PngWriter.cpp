// PNG output through libpng's simplified write interface.
#include "PngWriter.h"

#include "Picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

bool writePng(const std::string &path, const Picture &picture, bool withAlpha) {
  const std::vector<uint8_t> &rgba = picture.getPixels();
  std::vector<uint8_t> rgb;
  const void *buffer = rgba.data();
  if (!withAlpha) {
    rgb.resize(rgba.size() / 4 * 3);
    for (size_t i = 0, o = 0; i < rgba.size(); i += 4, o += 3) {
      rgb[o] = rgba[i];
      rgb[o + 1] = rgba[i + 1];
      rgb[o + 2] = rgba[i + 2];
    }
    buffer = rgb.data();
  }

  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.getWidth());
  image.height = static_cast<png_uint_32>(picture.getHeight());
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;

  const std::string partial = path + ".part";
  if (!png_image_write_to_file(&image, partial.c_str(), 0, buffer, 0, nullptr)) {
    std::fprintf(stderr, "generate_game_data: cannot write '%s': %s\n", partial.c_str(),
                 image.message);
    png_image_free(&image);
    std::remove(partial.c_str());
    return false;
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    std::fprintf(stderr, "generate_game_data: cannot rename '%s' to '%s': %s\n", partial.c_str(),
                 path.c_str(), std::strerror(errno));
    std::remove(partial.c_str());
    return false;
  }
  return true;
}
