// Fixture pictures written with libpng into a temporary folder.
#include "WorldTestFolder.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

void writeTestPng(const std::string &fileName, unsigned char r, unsigned char g, unsigned char b,
                  unsigned char a) {
  const int size = 4;
  FILE *file = fopen(fileName.c_str(), "wb");
  ASSERT_NE(file, nullptr) << fileName;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  unsigned char row[size * 4];
  for (int x = 0; x < size; ++x) {
    row[4 * x] = r;
    row[4 * x + 1] = g;
    row[4 * x + 2] = b;
    row[4 * x + 3] = a;
  }
  for (int y = 0; y < size; ++y)
    png_write_row(png, row);
  png_write_end(png, NULL);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}

namespace {

// A death test's child ends through exit() inside the test: the folder it
// made is removed at exit, since its destructor never runs.
std::string folderToRemoveAtExit;

void removeFolder(const std::string &path) {
  if (path.rfind("/tmp/cubeworld_world_", 0) != 0)
    return;
  std::string command = "rm -rf '" + path + "'";
  if (system(command.c_str()) != 0)
    fprintf(stderr, "could not remove %s\n", path.c_str());
}

void removeFolderAtExit() {
  removeFolder(folderToRemoveAtExit);
}

}  // namespace

WorldTestFolder::WorldTestFolder(const std::vector<std::string> &textureNames) {
  char here[4096];
  if (getcwd(here, sizeof(here)) != NULL)
    previousFolder = here;
  char pattern[] = "/tmp/cubeworld_world_XXXXXX";
  char *made = mkdtemp(pattern);
  EXPECT_NE(made, nullptr);
  path = made != NULL ? made : "/tmp";
  static bool isExitHandlerSet = false;
  if (!isExitHandlerSet)
    atexit(removeFolderAtExit);
  isExitHandlerSet = true;
  folderToRemoveAtExit = path;
  EXPECT_EQ(chdir(path.c_str()), 0);
  mkdir("cube_textures", 0755);
  mkdir("cube_shadowed_textures", 0755);
  writeTestPng("black_semi_transparent.png", 0, 0, 0, 128);
  // The indexed world's water surface and layers.
  writeTestPng("water.png", 40, 90, 200, 180);
  writeTestPng("water_sub.png", 20, 60, 150, 120);
  unsigned char shade = 10;
  for (const std::string &name : textureNames) {
    writeTestPng("cube_textures/" + name, shade, 200, 100, 255);
    writeTestPng("cube_shadowed_textures/" + name, shade, 100, 50, 255);
    shade = static_cast<unsigned char>(shade + 20);
  }
}

WorldTestFolder::~WorldTestFolder() {
  if (!previousFolder.empty()) {
    EXPECT_EQ(chdir(previousFolder.c_str()), 0);
  }
  removeFolder(path);
  folderToRemoveAtExit.clear();
}

std::vector<unsigned char> readWholeFile(const std::string &fileName) {
  std::ifstream in(fileName, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>());
}

void writeWholeFile(const std::string &fileName, const std::vector<unsigned char> &bytes) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::string withoutImageLog(const std::string &output) {
  std::string kept;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    end = end == std::string::npos ? output.size() : end + 1;
    std::string line = output.substr(start, end - start);
    if (line.rfind("Loading image '", 0) != 0 && line.rfind("Freeing image '", 0) != 0)
      kept += line;
    start = end;
  }
  return kept;
}
