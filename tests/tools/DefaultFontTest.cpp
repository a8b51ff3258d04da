// The generated "default_font.png" read by the game's own font: all 94
// printable characters from '!' to '~' get a glyph, in order, and nothing else.
#include "Font.h"

#include "GLTestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(DefaultFontTest, ScanFindsEveryPrintableCharacter) {
  const char *buildDir = std::getenv("CUBEWORLD_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr);
  Font font(std::string(buildDir) + "/game/default_font.png");
  int previousEnd = -1;
  for (int c = '!'; c <= '~'; ++c) {
    SCOPED_TRACE(static_cast<char>(c));
    EXPECT_TRUE(font.hasGlyph(c));
    EXPECT_GT(font.glyphWidth[c], 0);
    // Glyphs follow each other from left to right; a glyph's quad may reach
    // up to where the next one's begins, never into it.
    EXPECT_GE(font.glyphOffset[c], previousEnd);
    previousEnd = font.glyphOffset[c] + font.glyphWidth[c];
  }
  for (int c : {1, 9, 127, 128, 200, 255})
    EXPECT_FALSE(font.hasGlyph(c)) << c;
  EXPECT_TRUE(font.hasGlyph(' '));
  // A proportional font: 'i' is narrower than 'W'.
  EXPECT_LT(font.glyphWidth['i'], font.glyphWidth['W']);
  EXPECT_GT(font.measureText(-1, "Cube world", 1.0f), font.measureText(-1, "Cube", 1.0f));
}

}  // namespace
