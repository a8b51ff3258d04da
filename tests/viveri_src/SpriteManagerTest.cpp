// The sprite manager: images shared by exact file name with use counts, freed
// with their last sprite and loaded afresh afterwards; the live list in
// creation order; removals of unknown sprites ignored; and the fatal report
// when sprites are left at its destruction.
#include "SpriteManager.h"

#include "DeviceManager.h"
#include "Image.h"
#include "ImageFixtures.h"
#include "Sprite.h"

#include <gtest/gtest.h>
#include <png.h>

namespace {

std::string greyPng(const std::string &name) {
  return writeTempFile(name,
                       pngBytes({4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<int>(4 * 4 * 3, 90)}));
}

TEST(SpriteManagerTest, SharesImagesByFileNameWithCounts) {
  std::string path = greyPng("shared.png");
  testing::internal::CaptureStdout();
  Sprite *first = spriteManager->createSprite(path, 1);
  Sprite *second = spriteManager->createSprite(path, 2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading image '" + path + "'\n");
  ASSERT_NE(spriteManager->findLoadedImage(path), nullptr);
  EXPECT_EQ(spriteManager->findLoadedImage(path)->nbSpritesUsingThisImage, 2);
  EXPECT_EQ(first->images[0], second->images[0]);
  EXPECT_EQ(first->images.size(), 1u);
  unsigned int texture = first->images[0]->getTexture();

  testing::internal::CaptureStdout();
  spriteManager->removeSprite(first);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(spriteManager->findLoadedImage(path)->nbSpritesUsingThisImage, 1);
  EXPECT_EQ(second->images[0]->getTexture(), texture);

  testing::internal::CaptureStdout();
  spriteManager->removeSprite(second);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Freeing image '" + path + "'\n");
  EXPECT_EQ(spriteManager->findLoadedImage(path), nullptr);

  // After it was freed, the same name loads the file again.
  testing::internal::CaptureStdout();
  Sprite *third = spriteManager->createSprite(path, 1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Loading image '" + path + "'\n");
  testing::internal::CaptureStdout();
  spriteManager->removeSprite(third);
  testing::internal::GetCapturedStdout();
}

TEST(SpriteManagerTest, NamesAreExactStrings) {
  std::string path = greyPng("exact.png");
  std::string samePictureOtherName = tempFolder() + "/./exact.png";
  testing::internal::CaptureStdout();
  Sprite *a = spriteManager->createSprite(path, 1);
  Sprite *b = spriteManager->createSprite(samePictureOtherName, 1);
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_EQ(log, "Loading image '" + path + "'\nLoading image '" + samePictureOtherName + "'\n");
  EXPECT_NE(a->images[0], b->images[0]);
  testing::internal::CaptureStdout();
  spriteManager->removeSprite(a);
  spriteManager->removeSprite(b);
  testing::internal::GetCapturedStdout();
}

TEST(SpriteManagerTest, KeepsLiveSpritesInOrderAndIgnoresUnknownOnes) {
  std::string path = greyPng("order.png");
  testing::internal::CaptureStdout();
  Sprite *a = spriteManager->createSprite(path, 1);
  Sprite *b = spriteManager->createSprite(path, 1);
  Sprite *c = spriteManager->createSprite(path, 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(spriteManager->getSprites(), (std::vector<Sprite *>{a, b, c}));

  spriteManager->removeSprite(b);
  EXPECT_EQ(spriteManager->getSprites(), (std::vector<Sprite *>{a, c}));
  EXPECT_EQ(spriteManager->findLoadedImage(path)->nbSpritesUsingThisImage, 2);
  // Removing it again, or a sprite the manager never made, changes nothing.
  spriteManager->removeSprite(b);
  spriteManager->removeSprite(nullptr);
  Sprite stranger(a->images, 1);
  spriteManager->removeSprite(&stranger);
  EXPECT_EQ(spriteManager->getSprites(), (std::vector<Sprite *>{a, c}));
  EXPECT_EQ(spriteManager->findLoadedImage(path)->nbSpritesUsingThisImage, 2);

  testing::internal::CaptureStdout();
  spriteManager->removeSprite(a);
  spriteManager->removeSprite(c);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(spriteManager->getSprites().empty());
}

TEST(SpriteManagerDeathTest, SpriteLeftAtShutdownIsFatal) {
  std::string path = greyPng("left.png");
  EXPECT_EXIT(
      {
        spriteManager->createSprite(path, 1);
        delete spriteManager;
      },
      testing::ExitedWithCode(1), "\nCondition: sprites.size\\(\\) == 0\n");
}

TEST(SpriteManagerDeathTest, MissingPictureIsFatal) {
  EXPECT_EXIT(spriteManager->createSprite("/nonexistent/sprite.png", 1), testing::ExitedWithCode(1),
              "\nMessage: loadImage: can't open '/nonexistent/sprite.png'\n");
}

}  // namespace
