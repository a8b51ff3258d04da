// What a box of cubes looks like and whether it blocks movement: six face
// texture names (faces 0 +y, 1 -y, 2 +z, 3 -z, 4 -x, 5 +x), the three
// texture-coordinate options and the collidable flag. Face sprites are
// loaded on demand from "cube_textures/" and "cube_shadowed_textures/".
#pragma once

#include <cstdio>
#include <string>

class Sprite;

class CubeType {
 public:
  CubeType(const std::string names[6], bool stretchTexture, bool divideTextureCoordinates,
           bool randomTextureCoordinates, bool collidable);
  // Reads one cube type record of the world file.
  explicit CubeType(FILE *fd);
  ~CubeType();
  CubeType(const CubeType &) = delete;
  CubeType &operator=(const CubeType &) = delete;

  void write(FILE *fd) const;

  bool isTexturesLoaded() const { return textureFace[0] != NULL; }
  void loadTextures();
  void freeTextures();
  void modify(const std::string names[6], bool stretchTexture, bool divideTextureCoordinates,
              bool randomTextureCoordinates, bool collidable);

  // GL texture names of the current images (textures must be loaded).
  int getFaceTexture(int face) const;
  int getFaceShadowedTexture(int face) const;
  int getShadowTexture() const;

  bool isUsed = false;
  bool isShownInEditor = false;
  std::string textureNames[6];
  Sprite *textureFace[6] = {};
  Sprite *textureFaceShadowed[6] = {};
  bool stretchTexture = false;
  bool divideTextureCoordinates = false;
  bool randomTextureCoordinates = false;
  Sprite *textureShadow = NULL;
  bool collidable = false;
};
