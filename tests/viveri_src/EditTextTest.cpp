// The text field: the key table, the insertion limit, keys the font cannot
// draw, the blink, and where the cursor bar is drawn.
#include "EditText.h"

#include "DeviceManager.h"
#include "Draw2DFixture.h"
#include "Font.h"
#include "FontPicture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

// A font of the full synthetic picture, made for each test.
std::unique_ptr<Font> makeFont() {
  static std::string path = writeFontPicture("fieldfont.png", 512, 8, fullFontLayout());
  testing::internal::CaptureStdout();
  std::unique_ptr<Font> font(new Font(path));
  testing::internal::GetCapturedStdout();
  return font;
}

const unsigned char left = 29;
const unsigned char right = 28;
const unsigned char backspace = 8;
const unsigned char deleteKey = 127;
const unsigned char toStart = 11;

TEST(EditTextTest, KeyTable) {
  std::unique_ptr<Font> font = makeFont();
  struct KeyCase {
    const char *name;
    std::string presetText;
    int presetCursor;
    std::vector<unsigned char> keys;
    std::string text;
    int cursorPos;
  };
  const KeyCase cases[] = {
      {"typing", "", 0, {'a', 'b', 'c'}, "abc", 3},
      {"insert in the middle", "", 0, {'a', 'b', 'c', left, left, 'x'}, "axbc", 2},
      {"backspace", "abc", 3, {backspace}, "ab", 2},
      {"backspace in the middle", "abc", 2, {backspace}, "ac", 1},
      {"backspace at the start", "abc", 0, {backspace}, "abc", 0},
      {"delete at the cursor", "abc", 1, {deleteKey}, "ac", 1},
      {"delete at the end", "abc", 3, {deleteKey}, "abc", 3},
      {"right stops at the end", "ab", 1, {right, right, right}, "ab", 2},
      {"left stops at the start", "ab", 1, {left, left, left}, "ab", 0},
      {"to the start", "abc", 2, {toStart}, "abc", 0},
      {"space and line feed", "", 0, {' ', '\n', '~'}, " \n~", 3},
      {"no glyph: tab, return, 128, 255", "ab", 1, {9, 13, 128, 255, 0}, "ab", 1},
      {"cursor past a shortened text", "", 5, {'q'}, "q", 1},
  };
  for (const KeyCase &c : cases) {
    EditText field(Int2(0, 0), font.get());
    field.text = c.presetText;
    field.cursorPos = c.presetCursor;
    for (unsigned char key : c.keys)
      field.handleKey(key);
    EXPECT_EQ(field.text, c.text) << c.name;
    EXPECT_EQ(field.cursorPos, c.cursorPos) << c.name;
  }
}

TEST(EditTextTest, InsertionLimit) {
  std::unique_ptr<Font> font = makeFont();
  EditText field(Int2(0, 0), font.get());
  EXPECT_EQ(field.maxLength, 255);
  for (int i = 0; i < 256; i++)
    field.handleKey('a');
  EXPECT_EQ(field.text.size(), 255u);
  field.handleKey(backspace);
  field.handleKey('z');
  EXPECT_EQ(field.text.size(), 255u);
  EXPECT_EQ(field.text.back(), 'z');

  field.maxLength = 2;
  field.text = "";
  field.cursorPos = 0;
  for (unsigned char key : {'a', 'b', 'c'})
    field.handleKey(key);
  EXPECT_EQ(field.text, "ab");

  field.maxLength = -1;
  field.text = std::string(1000, 'x');
  field.cursorPos = 1000;
  field.handleKey('y');
  EXPECT_EQ(field.text.size(), 1001u);
}

class EditTextDrawTest : public Draw2DFixture {
 protected:
  // How many of the columns x0..x1 on row y are lit.
  int litColumns(int x0, int x1, int y) {
    int lit = 0;
    for (int x = x0; x <= x1; x++)
      lit += colourAt(x, y)[0] > 128;
    return lit;
  }
};

TEST_F(EditTextDrawTest, BlinksAboutEveryHalfSecond) {
  std::unique_ptr<Font> font = makeFont();
  EditText field(Int2(0, 0), font.get());
  int now = getTimeMs();
  field.lastBlinkTime = now;
  field.isCursorShown = true;
  field.draw(1.0f);
  EXPECT_TRUE(field.isCursorShown) << "no toggle within half a second";
  EXPECT_EQ(field.lastBlinkTime, now);

  field.lastBlinkTime = getTimeMs() - 600;
  field.draw(1.0f);
  EXPECT_FALSE(field.isCursorShown);
  EXPECT_GE(field.lastBlinkTime, now);
  field.draw(1.0f);
  EXPECT_FALSE(field.isCursorShown) << "at most one toggle per half second";
}

// '|' is code 124; at cursor 0 the bar's quad starts 3 units left of the
// field, and its ink one column later.
TEST_F(EditTextDrawTest, BarIsDrawnThreeUnitsLeftOfTheCursor) {
  glEnable(GL_ALPHA_TEST);
  std::unique_ptr<Font> font = makeFont();
  EditText field(Int2(300, 200), font.get());
  const GlyphColumns bar = fullFontLayout()['|' - 33];
  const int inkWidth = bar.end - bar.first;
  const int row = 200 + bar.row;  // the synthetic glyph is opaque in one row

  struct BarCase {
    std::string text;
    int cursorPos;
    bool isShown;
  };
  const BarCase cases[] = {{"", 0, true}, {"", 0, false}, {"!!", 2, true}, {"!!", 1, true}};
  for (const BarCase &c : cases) {
    deviceManager->clearScreen(colourBlack);
    field.text = c.text;
    field.cursorPos = c.cursorPos;
    field.isCursorShown = c.isShown;
    field.lastBlinkTime = getTimeMs() + 100000;  // no toggle during this draw
    field.draw(1.0f);
    int barInk = 300 + font->measureText(c.cursorPos, c.text.c_str(), 1.0f) - 3 + 1;
    EXPECT_EQ(litColumns(barInk, barInk + inkWidth - 1, row), c.isShown ? inkWidth : 0)
        << '"' << c.text << "\" cursor " << c.cursorPos;
    EXPECT_EQ(litColumns(barInk - 2, barInk - 1, row), 0)
        << '"' << c.text << "\" cursor " << c.cursorPos;
  }
}

}  // namespace
