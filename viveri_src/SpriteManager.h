// Creates every sprite, shares each image file among the sprites that use it
// (loaded once, freed with its last user), keeps the live sprites in creation
// order and requires at its destruction that all of them were removed.
#pragma once

#include <map>
#include <string>
#include <vector>

class Image;
class Sprite;

struct LoadedImageInfo {
  int nbSpritesUsingThisImage;
  Image *image;  // owned
};

class SpriteManager {
 public:
  SpriteManager() = default;
  ~SpriteManager();
  SpriteManager(const SpriteManager &) = delete;
  SpriteManager &operator=(const SpriteManager &) = delete;

  // A new sprite of the picture fileName (loaded unless cached); see Sprite
  // for the alignments. Owned by the manager until removeSprite.
  Sprite *createSprite(const std::string &fileName, int hotSpotAlignment);
  // Unregisters and deletes the sprite and releases its images; a sprite
  // that is not registered is ignored.
  void removeSprite(Sprite *sprite);

  const std::vector<Sprite *> &getSprites() const { return sprites; }
  // The cache entry of a file name, or null.
  const LoadedImageInfo *findLoadedImage(const std::string &fileName) const;

 private:
  std::vector<Sprite *> sprites;
  std::map<std::string, LoadedImageInfo> loadedImages;
};

extern SpriteManager *spriteManager;
