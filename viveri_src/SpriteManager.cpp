// The sprite registry and the image cache keyed by exact file name, with use
// counts; images are loaded through Image (not verbose).
#include "SpriteManager.h"

#include "DeviceManager.h"
#include "FatalReport.h"
#include "Image.h"
#include "Sprite.h"

#include <algorithm>

SpriteManager *spriteManager = nullptr;

SpriteManager::~SpriteManager() {
  ASSERT(sprites.size() == 0);
}

Sprite *SpriteManager::createSprite(const std::string &fileName, int hotSpotAlignment) {
  Image *image = nullptr;
  auto cached = loadedImages.find(fileName);
  if (cached != loadedImages.end()) {
    cached->second.nbSpritesUsingThisImage++;
    image = cached->second.image;
  } else {
    image = new Image(deviceManager, fileName, Image::quiet);
    loadedImages[fileName] = LoadedImageInfo{1, image};
  }
  Sprite *tmpsprite = new Sprite(std::vector<Image *>(1, image), hotSpotAlignment);
  ASSERT(tmpsprite != NULL);
  sprites.push_back(tmpsprite);
  return tmpsprite;
}

void SpriteManager::removeSprite(Sprite *sprite) {
  auto found = std::find(sprites.begin(), sprites.end(), sprite);
  if (found == sprites.end())
    return;
  sprites.erase(found);
  for (Image *image : sprite->images) {
    auto entry =
        std::find_if(loadedImages.begin(), loadedImages.end(),
                     [image](const std::pair<const std::string, LoadedImageInfo> &candidate) {
                       return candidate.second.image == image;
                     });
    if (entry == loadedImages.end())
      continue;
    LoadedImageInfo *lii = &entry->second;
    ASSERT_MESSAGE(lii->nbSpritesUsingThisImage > 0,
                   "SpriteManager::removeSprite : the sprite has no image ?");
    lii->nbSpritesUsingThisImage--;
    if (lii->nbSpritesUsingThisImage == 0) {
      delete lii->image;
      loadedImages.erase(entry);
    }
  }
  delete sprite;
}

const LoadedImageInfo *SpriteManager::findLoadedImage(const std::string &fileName) const {
  auto found = loadedImages.find(fileName);
  return found == loadedImages.end() ? nullptr : &found->second;
}
