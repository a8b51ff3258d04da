// A throw-away working folder for cube world tests: the test process moves
// into it, finds there the small face and shadow pictures the cube types load,
// and leaves it (removing it) at the end.
#pragma once

#include <string>
#include <vector>

class WorldTestFolder {
 public:
  // Writes "black_semi_transparent.png", the two water pictures and, for every name, a picture in
  // "cube_textures/" and "cube_shadowed_textures/".
  explicit WorldTestFolder(const std::vector<std::string> &textureNames);
  ~WorldTestFolder();
  WorldTestFolder(const WorldTestFolder &) = delete;
  WorldTestFolder &operator=(const WorldTestFolder &) = delete;

  std::string path;

 private:
  std::string previousFolder;
};

// A small opaque RGBA picture of the given colour.
void writeTestPng(const std::string &fileName, unsigned char r, unsigned char g, unsigned char b,
                  unsigned char a);

std::vector<unsigned char> readWholeFile(const std::string &fileName);
void writeWholeFile(const std::string &fileName, const std::vector<unsigned char> &bytes);

// Console output without the image loader's "Loading image '" and
// "Freeing image '" lines.
std::string withoutImageLog(const std::string &output);
