// The bitmap font on synthetic pictures: the glyph scan (margins, every row
// looked at, pictures with too few glyphs or a glyph at an edge), the pen
// positions of printText, measureText, and a real rendering of a glyph.
#include "Font.h"

#include "DeviceManager.h"
#include "Draw2DFixture.h"
#include "FontPicture.h"
#include "Image.h"

#include <GL/gl.h>

#include <gtest/gtest.h>
#include <png.h>

#include <memory>

namespace {

std::unique_ptr<Font> quietFont(const std::string &path) {
  testing::internal::CaptureStdout();
  std::unique_ptr<Font> font(new Font(path));
  testing::internal::GetCapturedStdout();
  return font;
}

std::unique_ptr<Font> fullFont() {
  static std::string path = writeFontPicture("font.png", 512, 8, fullFontLayout());
  return quietFont(path);
}

TEST(FontTest, ScanGivesEachGlyphAMarginOfOneBeforeAndThreeAfter) {
  std::unique_ptr<Font> font = fullFont();
  // The first glyph occupies columns 3 and 4, the second starts at column 8.
  EXPECT_EQ(font->glyphOffset[33], 2);
  EXPECT_EQ(font->glyphWidth[33], 6);
  EXPECT_EQ(font->glyphOffset[34], 7);
  std::vector<GlyphColumns> layout = fullFontLayout();
  for (int c = 33; c <= 126; c++) {
    const GlyphColumns &g = layout[c - 33];
    EXPECT_EQ(font->glyphOffset[c], g.first - 1) << "code " << c;
    EXPECT_EQ(font->glyphWidth[c], g.end - g.first + 4) << "code " << c;
    EXPECT_TRUE(font->hasGlyph(c)) << "code " << c;
  }
  for (int c : {0, 9, 13, 31, 127, 128, 200, 255}) {
    EXPECT_EQ(font->glyphOffset[c], -1) << "code " << c;
    EXPECT_EQ(font->glyphWidth[c], -1) << "code " << c;
    EXPECT_FALSE(font->hasGlyph(c)) << "code " << c;
  }
  EXPECT_TRUE(font->hasGlyph(' '));
  EXPECT_TRUE(font->hasGlyph('\n'));
  EXPECT_EQ(font->spaceWidth, 16);
  EXPECT_EQ(font->image->getPixels(), nullptr) << "the pixels are released after the scan";
  EXPECT_EQ(font->image->getHeight(), 8);
}

// Broken pictures never make the scan read outside them; what they lack has no glyph.
TEST(FontTest, ScanStaysInsideBrokenPictures) {
  struct BrokenCase {
    const char *name;
    int width;
    std::vector<GlyphColumns> glyphs;
    int lastGlyph;  // the last code that receives a glyph, 32 for none
    int lastWidth;
  };
  const BrokenCase cases[] = {
      {"empty", 64, {}, 32, 0},
      {"three glyphs", 64, {{2, 4, -1}, {10, 11, 3}, {20, 23, 0}}, 35, 7},
      // The last glyph touches the right edge: the column past it counts as empty.
      {"glyph at the right edge", 32, {{4, 6, -1}, {29, 32, -1}}, 34, 7},
      // A glyph at column 0: its offset is -1, yet it is a glyph.
      {"glyph at column 0", 32, {{0, 2, -1}}, 33, 6},
      {"one wide block", 16, {{0, 16, -1}}, 33, 20},
  };
  for (const BrokenCase &c : cases) {
    std::unique_ptr<Font> font = quietFont(writeFontPicture("broken.png", c.width, 4, c.glyphs));
    for (int code = 33; code <= 126; code++)
      EXPECT_EQ(font->hasGlyph(code), code <= c.lastGlyph) << c.name << ", code " << code;
    if (c.lastGlyph >= 33) {
      EXPECT_EQ(font->glyphWidth[c.lastGlyph], c.lastWidth) << c.name;
    }
  }
}

TEST(FontDeathTest, PictureWithoutAlphaIsFatal) {
  std::string path = writeTempFile(
      "rgbfont.png", pngBytes({4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<int>(4 * 4 * 3, 255)}));
  EXPECT_EXIT(quietFont(path), testing::ExitedWithCode(1),
              "\nCondition: image->getIsAlpha\\(\\)\n");
  std::unique_ptr<Font> font = fullFont();
  EXPECT_EXIT(font->printText(Float2(1, 1), nullptr, 0, 0), testing::ExitedWithCode(1),
              "\nCondition: text != NULL\n");
}

TEST(FontTest, PenPositions) {
  std::unique_ptr<Font> font = fullFont();
  const int a = font->glyphWidth['A'];
  const int b = font->glyphWidth['B'];
  const int c = font->glyphWidth['c'];
  const int d = font->glyphWidth['d'];
  struct PenCase {
    const char *text;
    Float2 scale;
    Int2 pen;
  };
  const PenCase cases[] = {
      {"", Float2(1, 1), Int2(10, 20)},
      {"A B", Float2(1, 1), Int2(10 + a + 16 + b, 20)},
      {"ab\ncd", Float2(1, 1), Int2(10 + c + d, 28)},
      {"A\tB\x7f\x80\xff", Float2(1, 1), Int2(10 + a + b, 20)},
      {"A B", Float2(2, 2), Int2(10 + 2 * a + 32 + 2 * b, 20)},
      {"\n\n", Float2(2, 2), Int2(10, 20 + 32)},
      // Each advance is truncated on its own.
      {"AA", Float2(1.3f, 1.3f), Int2(10 + 2 * int(1.3f * a), 20)},
      {"x\n", Float2(1, 1.5f), Int2(10, 32)},
  };
  for (const PenCase &pc : cases)
    EXPECT_EQ(font->printText(pc.scale, pc.text, 10, 20), pc.pen) << '"' << pc.text << '"';
}

TEST(FontTest, MeasureText) {
  std::unique_ptr<Font> font = fullFont();
  auto w = [&](char ch) { return font->glyphWidth[(unsigned char)ch]; };
  struct MeasureCase {
    int length;
    const char *text;
    float scaleX;
    int width;
  };
  const MeasureCase cases[] = {
      {-1, "", 1, 0},
      {-1, "ab\nabc", 1, w('a') + w('b') + w('c')},
      {-1, "abc\nab", 1, w('a') + w('b') + w('c')},
      {2, "abc", 1, w('a') + w('b')},
      {0, "abc", 1, 0},
      {-1, "a b", 1, w('a') + 16 + w('b')},
      {-1, "a\tb", 1, w('a') + w('b')},
      {-1, " ", 1.5f, 24},
      {-1, "aa", 1.3f, 2 * int(1.3f * w('a'))},
      {10, "ab", 1, w('a') + w('b')},
  };
  for (const MeasureCase &mc : cases)
    EXPECT_EQ(font->measureText(mc.length, mc.text, mc.scaleX), mc.width)
        << '"' << mc.text << '"' << mc.length;
}

class FontDrawTest : public Draw2DFixture {};

// Glyph '!' (columns 3-4, opaque in every row) drawn at scale 4 from (100, 200):
// its quad starts one column early, so the ink covers x 104 to 111.
TEST_F(FontDrawTest, GlyphInkLandsInItsColumns) {
  std::vector<GlyphColumns> layout = fullFontLayout();
  layout[0].row = -1;
  std::unique_ptr<Font> font = quietFont(writeFontPicture("inkfont.png", 512, 8, layout));
  glEnable(GL_ALPHA_TEST);
  font->printText(Float2(4, 4), "!", 100, 200);
  EXPECT_GT(colourAt(106, 210)[0], 200);
  EXPECT_GT(colourAt(109, 225)[0], 200);
  EXPECT_LT(colourAt(101, 210)[0], 50) << "the margin column is transparent";
  EXPECT_LT(colourAt(118, 210)[0], 50) << "the columns after the glyph are transparent";
  EXPECT_LT(colourAt(106, 236)[0], 50) << "below the line height";
}

}  // namespace
