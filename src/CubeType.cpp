// Cube type records, the lazy face textures and their log lines. Sprites come
// from the sprite manager, which shares each picture by file name.
#include "CubeType.h"

#include <cstdio>

#include "FatalReport.h"
#include "Image.h"
#include "Sprite.h"
#include "SpriteManager.h"
#include "WorldFile.h"

namespace {

const char *const faceNameFields[6] = {"the top texture name",   "the bottom texture name",
                                       "the front texture name", "the back texture name",
                                       "the left texture name",  "the right texture name"};

Sprite *createShadowSprite() {
  return spriteManager->createSprite("black_semi_transparent.png", 1);
}

int textureOfSprite(const Sprite *sprite) {
  return static_cast<int>(sprite->images[sprite->currentImage]->getTexture());
}

}  // namespace

CubeType::CubeType(const std::string names[6], bool stretchTexture, bool divideTextureCoordinates,
                   bool randomTextureCoordinates, bool collidable)
    : stretchTexture(stretchTexture),
      divideTextureCoordinates(divideTextureCoordinates),
      randomTextureCoordinates(randomTextureCoordinates),
      collidable(collidable) {
  for (int i = 0; i < 6; ++i)
    textureNames[i] = names[i];
  textureShadow = createShadowSprite();
}

CubeType::CubeType(FILE *fd) {
  for (int i = 0; i < 6; ++i) {
    int32_t length = readInt32(fd, faceNameFields[i]);
    checkCountFits(fd, length, 1, faceNameFields[i]);
    textureNames[i].assign(static_cast<size_t>(length), '\0');
    if (length > 0)
      readBytes(fd, &textureNames[i][0], static_cast<size_t>(length), faceNameFields[i]);
  }
  // An option byte of 0 means on; any other value means off.
  stretchTexture = readByte(fd, "the stretch texture option") == 0;
  divideTextureCoordinates = readByte(fd, "the divide texture coordinates option") == 0;
  randomTextureCoordinates = readByte(fd, "the random texture coordinates option") == 0;
  collidable = readByte(fd, "the collidable flag") != 0;
  textureShadow = createShadowSprite();
}

CubeType::~CubeType() {
  freeTextures();
  ASSERT(textureShadow != NULL);
  spriteManager->removeSprite(textureShadow);
}

void CubeType::write(FILE *fd) const {
  for (int i = 0; i < 6; ++i) {
    writeInt32(fd, static_cast<int32_t>(textureNames[i].size()));
    writeBytes(fd, textureNames[i].data(), textureNames[i].size());
  }
  writeByte(fd, stretchTexture ? 0 : 1);
  writeByte(fd, divideTextureCoordinates ? 0 : 1);
  writeByte(fd, randomTextureCoordinates ? 0 : 1);
  writeByte(fd, collidable ? 1 : 0);
}

void CubeType::loadTextures() {
  if (isTexturesLoaded())
    return;
  for (int i = 0; i < 6; ++i) {
    ASSERT(textureFace[i] == NULL);
    ASSERT(textureFaceShadowed[i] == NULL);
    textureFace[i] = spriteManager->createSprite("cube_textures/" + textureNames[i], 1);
    textureFaceShadowed[i] =
        spriteManager->createSprite("cube_shadowed_textures/" + textureNames[i], 1);
  }
}

void CubeType::freeTextures() {
  if (!isTexturesLoaded())
    return;
  printf("Free unused texture for CubeType ...\n");
  fflush(stdout);
  for (int i = 0; i < 6; ++i) {
    ASSERT(textureFace[i] != NULL);
    ASSERT(textureFaceShadowed[i] != NULL);
    spriteManager->removeSprite(textureFace[i]);
    textureFace[i] = NULL;
    spriteManager->removeSprite(textureFaceShadowed[i]);
    textureFaceShadowed[i] = NULL;
  }
  printf(" ... free unused texture done\n");
  fflush(stdout);
}

void CubeType::modify(const std::string names[6], bool stretchTexture,
                      bool divideTextureCoordinates, bool randomTextureCoordinates,
                      bool collidable) {
  spriteManager->removeSprite(textureShadow);
  textureShadow = NULL;
  freeTextures();
  for (int i = 0; i < 6; ++i)
    textureNames[i] = names[i];
  this->stretchTexture = stretchTexture;
  this->divideTextureCoordinates = divideTextureCoordinates;
  this->randomTextureCoordinates = randomTextureCoordinates;
  this->collidable = collidable;
  textureShadow = createShadowSprite();
  loadTextures();
}

int CubeType::getFaceTexture(int face) const {
  return textureOfSprite(textureFace[face]);
}

int CubeType::getFaceShadowedTexture(int face) const {
  return textureOfSprite(textureFaceShadowed[face]);
}

int CubeType::getShadowTexture() const {
  return textureOfSprite(textureShadow);
}
