// Key codes: characters as delivered, special keys through the mapping table,
// typed-key order and held state.
#include "KeyboardManager.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

TEST(KeyboardManagerTest, SpecialKeyTable) {
  const struct {
    int glutKey;
    int code;
  } cases[] = {
      {GLUT_KEY_F1, 256},     {GLUT_KEY_F2, 257},       {GLUT_KEY_F3, 258},  {GLUT_KEY_F4, 259},
      {GLUT_KEY_F5, 260},     {GLUT_KEY_F6, 261},       {GLUT_KEY_F7, 262},  {GLUT_KEY_F8, 263},
      {GLUT_KEY_F9, 264},     {GLUT_KEY_F10, 265},      {GLUT_KEY_F11, 266}, {GLUT_KEY_F12, 267},
      {GLUT_KEY_RIGHT, 28},   {GLUT_KEY_LEFT, 29},      {GLUT_KEY_UP, 30},   {GLUT_KEY_DOWN, 31},
      {GLUT_KEY_PAGE_UP, 33}, {GLUT_KEY_PAGE_DOWN, 34}, {GLUT_KEY_HOME, -1}, {GLUT_KEY_END, -1},
      {GLUT_KEY_INSERT, -1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.glutKey);
    KeyboardManager keys;
    keys.onSpecialDown(c.glutKey);
    if (c.code < 0) {
      EXPECT_TRUE(keys.typedKeys.empty());
      for (int i = 0; i < nbKeyCodes; ++i)
        EXPECT_EQ(keys.isKeyDown[i], 0);
      continue;
    }
    ASSERT_EQ(keys.typedKeys.size(), 1u);
    EXPECT_EQ(keys.typedKeys[0], c.code);
    EXPECT_EQ(keys.isKeyDown[c.code], 1);
    keys.onSpecialUp(c.glutKey);
    EXPECT_EQ(keys.isKeyDown[c.code], 0);
    EXPECT_EQ(keys.typedKeys.size(), 1u);
  }
}

TEST(KeyboardManagerTest, CharactersKeepCaseAndOrder) {
  KeyboardManager keys;
  keys.onCharacterDown('A');
  EXPECT_EQ(keys.isKeyDown[65], 1);
  EXPECT_EQ(keys.isKeyDown[97], 0);
  keys.onCharacterDown('x');
  keys.onCharacterDown('x');
  keys.onCharacterUp('x');
  keys.onCharacterDown(255);
  EXPECT_EQ(keys.typedKeys, (std::vector<int32_t>{65, 'x', 'x', 255}));
  EXPECT_EQ(keys.isKeyDown['x'], 0);
  EXPECT_EQ(keys.isKeyDown[255], 1);
  EXPECT_EQ(keys.isKeyDown[65], 1);
}

TEST(KeyboardManagerTest, PageUpLooksLikeExclamationMark) {
  KeyboardManager keys;
  keys.onSpecialDown(GLUT_KEY_PAGE_UP);
  keys.onCharacterDown('!');
  EXPECT_EQ(keys.typedKeys, (std::vector<int32_t>{33, 33}));
}

TEST(KeyboardManagerDeathTest, RegisteringWithoutInstanceIsFatal) {
  EXPECT_EXIT(KeyboardManager::registerCallbacks(nullptr), testing::ExitedWithCode(1),
              "Condition: this != NULL\n");
}

}  // namespace
