// Cube type records byte for byte, the lazy face textures, the used and
// shown-in-editor marks and the manager's log lines.
#include "CubeType.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "CubeTypeManager.h"
#include "GLTestEnvironment.h"
#include "WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

std::vector<unsigned char> bytesWrittenBy(const CubeType &type) {
  FILE *file = tmpfile();
  type.write(file);
  std::vector<unsigned char> bytes(static_cast<size_t>(ftell(file)));
  rewind(file);
  EXPECT_EQ(fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  fclose(file);
  return bytes;
}

CubeType *typeReadFrom(const std::vector<unsigned char> &bytes) {
  FILE *file = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), file);
  rewind(file);
  CubeType *type = new CubeType(file);
  fclose(file);
  return type;
}

void appendName(std::vector<unsigned char> &bytes, const std::string &name) {
  unsigned int n = static_cast<unsigned int>(name.size());
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<unsigned char>(n >> (8 * i)));
  bytes.insert(bytes.end(), name.begin(), name.end());
}

class CubeTypeTest : public testing::Test {
 protected:
  CubeTypeTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void SetUp() override { cubeTypeManager = new CubeTypeManager(); }
  void TearDown() override {
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  WorldTestFolder folder;
};

TEST_F(CubeTypeTest, RecordIsWrittenByteForByte) {
  const std::string names[6] = {"a", "bc", "", "d", "e", "f.png"};
  struct Case {
    bool stretch, divide, random, collidable;
    unsigned char tail[4];
  };
  const Case cases[] = {
      {true, true, true, true, {0, 0, 0, 1}},
      {false, false, false, false, {1, 1, 1, 0}},
      {true, false, true, false, {0, 1, 0, 0}},
  };
  for (const Case &c : cases) {
    CubeType type(names, c.stretch, c.divide, c.random, c.collidable);
    std::vector<unsigned char> expected;
    for (const std::string &name : names)
      appendName(expected, name);
    expected.insert(expected.end(), c.tail, c.tail + 4);
    EXPECT_EQ(bytesWrittenBy(type), expected);
  }
}

TEST_F(CubeTypeTest, OptionBytesReadZeroAsOnAndFlagNonZeroAsCollidable) {
  struct Case {
    unsigned char tail[4];
    bool stretch, divide, random, collidable;
  };
  const Case cases[] = {
      {{0, 0, 0, 1}, true, true, true, true},
      {{2, 1, 255, 2}, false, false, false, true},
      {{1, 0, 2, 0}, false, true, false, false},
  };
  for (const Case &c : cases) {
    std::vector<unsigned char> bytes;
    for (const std::string &name : faceNames)
      appendName(bytes, name);
    bytes.insert(bytes.end(), c.tail, c.tail + 4);
    CubeType *type = typeReadFrom(bytes);
    for (int i = 0; i < 6; ++i)
      EXPECT_EQ(type->textureNames[i], faceNames[i]);
    EXPECT_EQ(type->stretchTexture, c.stretch);
    EXPECT_EQ(type->divideTextureCoordinates, c.divide);
    EXPECT_EQ(type->randomTextureCoordinates, c.random);
    EXPECT_EQ(type->collidable, c.collidable);
    EXPECT_FALSE(type->isTexturesLoaded());
    EXPECT_NE(type->textureShadow, nullptr);
    EXPECT_FALSE(type->isUsed);
    EXPECT_FALSE(type->isShownInEditor);
    delete type;
  }
}

TEST_F(CubeTypeTest, TexturesLoadOnDemandAndFreeWithTheirLogLines) {
  CubeType type(faceNames, false, false, false, true);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(type.textureFace[i], nullptr);
    EXPECT_EQ(type.textureFaceShadowed[i], nullptr);
  }
  testing::internal::CaptureStdout();
  type.freeTextures();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  type.loadTextures();
  Sprite *loaded[12];
  for (int i = 0; i < 6; ++i) {
    ASSERT_NE(type.textureFace[i], nullptr);
    ASSERT_NE(type.textureFaceShadowed[i], nullptr);
    loaded[i] = type.textureFace[i];
    loaded[6 + i] = type.textureFaceShadowed[i];
  }
  // Faces and their shadowed versions come from different pictures.
  for (int i = 0; i < 6; ++i)
    EXPECT_NE(type.getFaceTexture(i), type.getFaceShadowedTexture(i)) << "face " << i;
  EXPECT_NE(type.getFaceTexture(0), type.getFaceTexture(2));
  // Loading again keeps the same sprites.
  type.loadTextures();
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(type.textureFace[i], loaded[i]);

  testing::internal::CaptureStdout();
  type.freeTextures();
  std::string log = testing::internal::GetCapturedStdout();
  // The sprite manager may log the images it frees between the two lines.
  const std::string first = "Free unused texture for CubeType ...\n";
  const std::string last = " ... free unused texture done\n";
  ASSERT_GE(log.size(), first.size() + last.size());
  EXPECT_EQ(log.substr(0, first.size()), first);
  EXPECT_EQ(log.substr(log.size() - last.size()), last);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(type.textureFace[i], nullptr);
    EXPECT_EQ(type.textureFaceShadowed[i], nullptr);
  }
}

TEST_F(CubeTypeTest, AddCubeTypeLogsAndReturnsTheIndex) {
  const std::string other[6] = {"front.png", "top.png", "top.png", "top.png", "top.png", "top.png"};
  testing::internal::CaptureStdout();
  EXPECT_EQ(cubeTypeManager->addCubeType(faceNames, false, false, false, true), 0);
  EXPECT_EQ(cubeTypeManager->addCubeType(other, true, true, true, false), 1);
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()),
            "Add cube type with top.png, etc. and collidable = 1\n"
            "Add cube type with front.png, etc. and collidable = 0\n");
  EXPECT_EQ(cubeTypeManager->getNbCubeType(), 2);
  EXPECT_EQ(cubeTypeManager->getCubeType(1)->textureNames[0], "front.png");
  cubeTypeManager->removeLastCubeType();
  EXPECT_EQ(cubeTypeManager->getNbCubeType(), 1);
}

TEST_F(CubeTypeTest, IdleTexturesAreFreedUnlessUsedOrShownInEditor) {
  testing::internal::CaptureStdout();
  for (int i = 0; i < 3; ++i)
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
  testing::internal::GetCapturedStdout();
  for (CubeType *type : cubeTypeManager->cubeTypes)
    type->loadTextures();

  // A frame: marks cleared, type 1 looked up, type 2 shown in the editor.
  cubeTypeManager->clearUsedFlags();
  for (CubeType *type : cubeTypeManager->cubeTypes)
    EXPECT_FALSE(type->isUsed);
  EXPECT_TRUE(cubeTypeManager->getCubeType(1)->isUsed);
  cubeTypeManager->cubeTypes[2]->isShownInEditor = true;
  testing::internal::CaptureStdout();
  cubeTypeManager->freeIdleTextures();
  testing::internal::GetCapturedStdout();

  EXPECT_FALSE(cubeTypeManager->cubeTypes[0]->isTexturesLoaded());
  EXPECT_TRUE(cubeTypeManager->cubeTypes[1]->isTexturesLoaded());
  EXPECT_TRUE(cubeTypeManager->cubeTypes[2]->isTexturesLoaded());
}

TEST_F(CubeTypeTest, ModifyReplacesValuesAndLoadsTheNewTextures) {
  CubeType type(faceNames, false, false, false, true);
  const std::string swapped[6] = {"right.png", "left.png",   "back.png",
                                  "front.png", "bottom.png", "top.png"};
  type.loadTextures();
  testing::internal::CaptureStdout();
  type.modify(swapped, true, true, false, false);
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(type.isTexturesLoaded());
  EXPECT_EQ(type.textureNames[5], "top.png");
  for (int i = 0; i < 6; ++i)
    EXPECT_NE(type.textureFace[i], nullptr);
  EXPECT_TRUE(type.stretchTexture);
  EXPECT_TRUE(type.divideTextureCoordinates);
  EXPECT_FALSE(type.randomTextureCoordinates);
  EXPECT_FALSE(type.collidable);
  EXPECT_NE(type.textureShadow, nullptr);
}

}  // namespace
