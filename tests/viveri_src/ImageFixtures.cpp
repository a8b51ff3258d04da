// Builders of the tests' picture files; libpng and libjpeg write the PNG and
// JPEG fixtures into memory.
#include "ImageFixtures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

Bytes tgaBytes(const TgaFixture &f) {
  Bytes bytes = {(unsigned char)f.idLength,
                 (unsigned char)f.colourMapType,
                 (unsigned char)f.imageType,
                 0,
                 0,
                 (unsigned char)(f.colourMapLength & 255),
                 (unsigned char)(f.colourMapLength >> 8),
                 (unsigned char)f.colourMapEntrySize,
                 0,
                 0,
                 0,
                 0,
                 (unsigned char)(f.width & 255),
                 (unsigned char)(f.width >> 8),
                 (unsigned char)(f.height & 255),
                 (unsigned char)(f.height >> 8),
                 (unsigned char)f.pixelDepth,
                 0};
  bytes.insert(bytes.end(), f.body.begin(), f.body.end());
  return bytes;
}

namespace {

void appendToBytes(png_structp png, png_bytep data, png_size_t length) {
  Bytes *out = static_cast<Bytes *>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

int samplesPerPixel(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
      return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    default:
      return 4;
  }
}

// Packs one row of samples the way PNG stores them (big-endian, low depths MSB first).
Bytes packRow(const PngFixture &f, int row) {
  int perRow = f.width * samplesPerPixel(f.colourType);
  Bytes packed;
  if (f.bitDepth >= 8) {
    for (int i = 0; i < perRow; i++) {
      int v = f.samples[size_t(row) * perRow + i];
      if (f.bitDepth == 16)
        packed.push_back((unsigned char)(v >> 8));
      packed.push_back((unsigned char)(v & 255));
    }
    return packed;
  }
  int bitsUsed = 0;
  unsigned char current = 0;
  for (int i = 0; i < perRow; i++) {
    current = (unsigned char)(current |
                              (f.samples[size_t(row) * perRow + i] << (8 - f.bitDepth - bitsUsed)));
    bitsUsed += f.bitDepth;
    if (bitsUsed == 8) {
      packed.push_back(current);
      current = 0;
      bitsUsed = 0;
    }
  }
  if (bitsUsed != 0)
    packed.push_back(current);
  return packed;
}

}  // namespace

Bytes pngBytes(const PngFixture &f) {
  Bytes out;
  std::vector<Bytes> rows;
  for (int y = 0; y < f.height; y++)
    rows.push_back(packRow(f, y));
  std::vector<png_bytep> rowPointers;
  for (Bytes &row : rows)
    rowPointers.push_back(row.data());

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    ADD_FAILURE() << "libpng could not write the fixture";
    png_destroy_write_struct(&png, &info);
    return Bytes();
  }
  png_set_write_fn(png, &out, appendToBytes, flushNothing);
  png_set_IHDR(png, info, f.width, f.height, f.bitDepth, f.colourType,
               f.isInterlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (size_t i = 0; i + 2 < f.palette.size(); i += 3)
    palette.push_back(png_color{f.palette[i], f.palette[i + 1], f.palette[i + 2]});
  if (!palette.empty())
    png_set_PLTE(png, info, palette.data(), (int)palette.size());
  std::vector<png_byte> alphas(f.transparency.begin(), f.transparency.end());
  if (!alphas.empty())
    png_set_tRNS(png, info, alphas.data(), (int)alphas.size(), nullptr);
  if (f.transparentGrey >= 0) {
    png_color_16 grey;
    memset(&grey, 0, sizeof(grey));
    grey.gray = (png_uint_16)f.transparentGrey;
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  png_write_info(png, info);
  png_write_image(png, rowPointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes jpegBytes(int width, int height, int components, const Bytes &pixels) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char *buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char *>(pixels.data()) +
                   size_t(cinfo.next_scanline) * width * components;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  free(buffer);
  return out;
}

namespace {

// Removes this process's temporary folder when the process ends normally.
struct TempFolderRemover {
  std::string folder;
  ~TempFolderRemover() {
    if (!folder.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(folder, ignored);
    }
  }
};

TempFolderRemover remover;

}  // namespace

const std::string &tempFolder() {
  static std::string folder;
  if (folder.empty()) {
    char pattern[] = "/tmp/cubeworld-images-XXXXXX";
    char *made = mkdtemp(pattern);
    if (made == nullptr) {
      ADD_FAILURE() << "cannot create a temporary folder";
      folder = "/tmp";
    } else {
      folder = made;
      remover.folder = folder;
    }
  }
  return folder;
}

std::string writeTempFile(const std::string &name, const Bytes &bytes) {
  std::string path = tempFolder() + "/" + name;
  FILE *file = fopen(path.c_str(), "wb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot write " << path;
    return path;
  }
  if (!bytes.empty())
    fwrite(bytes.data(), 1, bytes.size(), file);
  fclose(file);
  return path;
}

Bytes readFileBytes(const std::string &path) {
  Bytes bytes;
  FILE *file = fopen(path.c_str(), "rb");
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path;
    return bytes;
  }
  int c;
  while ((c = fgetc(file)) != EOF)
    bytes.push_back((unsigned char)c);
  fclose(file);
  return bytes;
}

std::string testDataPath(const std::string &relative) {
  const char *folder = getenv("CUBEWORLD_TESTDATA_DIR");
  return std::string(folder != nullptr ? folder : "tests/data") + "/" + relative;
}
