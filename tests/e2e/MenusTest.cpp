// The main and options menus as a person uses them: Escape shows the main
// menu over the darkened world with the frame rate, clicks on the buttons
// (at the centres of their rectangles) open the options, switch settings,
// go back, resume and quit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "GameProcess.h"

namespace {

const char *const initializedLine = "================ Initialized, first draw ...";

// A button's rectangle in window pixels; a click goes to its centre.
struct Button {
  int left, top, right, bottom;
  int x() const { return (left + right) / 2; }
  int y() const { return (top + bottom) / 2; }
};

const Button resumeButton = {50, 150, 150, 215};
const Button optionsButton = {50, 250, 150, 315};
const Button quitButton = {50, 350, 150, 415};
const Button backButton = {200, 10, 270, 50};
const Button windowedButton = {50, 100, 150, 150};
const Button desktopButton = {150, 100, 250, 150};
const Button fullscreen1024Button = {50, 150, 150, 200};
// Settings rows of 50 pixels from y = 250, left half x 250 to 350.
Button settingButton(int row, bool isOn) {
  int left = isOn ? 350 : 250;
  return {left, 250 + 50 * row, left + 100, 300 + 50 * row};
}

int distance(const std::vector<int> &p, int r, int g, int b) {
  return std::abs(p[0] - r) + std::abs(p[1] - g) + std::abs(p[2] - b);
}

// The painted buttons: blue for plain ones, red for "Off"; taken a few
// pixels inside the top edge, where the label never reaches.
bool isPlainButtonAt(const Screenshot &shot, const Button &b) {
  return distance(shot.at(b.x(), b.top + 6), 76, 107, 161) < 40;
}
bool isOffButtonAt(const Screenshot &shot, const Button &b) {
  return distance(shot.at(b.x(), b.top + 6), 147, 62, 62) < 40;
}

// White text pixels in the frame rate's place (x 155 on, y 116 to 132).
int frameRatePixels(const Screenshot &shot) {
  int count = 0;
  for (int x = 155; x < 300; ++x)
    for (int y = 116; y < 133; ++y) {
      std::vector<int> p = shot.at(x, y);
      if (p[0] > 200 && p[1] > 200 && p[2] > 200)
        ++count;
    }
  return count;
}

class MenusTest : public testing::Test {
 protected:
  void start() {
    game.start();
    ASSERT_TRUE(game.waitForOutput(initializedLine))
        << game.standardOutput() << game.standardError();
    window = game.waitForWindow();
    ASSERT_NE(window, 0u);
    game.waitForSize(window, 800, 600);
    pause(1000);
  }
  // Polls the screen until the condition holds or about ten seconds pass;
  // keeps the last picture in E2E_SCREENSHOTS/name.png when that names a folder.
  template <typename Condition>
  Screenshot waitForScreen(const std::string &name, Condition isShown) {
    Screenshot shot;
    for (int attempt = 0; attempt < 50; ++attempt) {
      shot = game.screenshot(window);
      if (shot.width >= 790 && shot.height >= 590 && isShown(shot))
        break;
      pause(200);
    }
    if (const char *dir = std::getenv("E2E_SCREENSHOTS"))
      game.runTool({"import", "-window", std::to_string(window),
                    "png:" + std::string(dir) + "/" + name + ".png"});
    return shot;
  }
  void click(const Button &b) { game.click(window, b.x(), b.y()); }

  GameProcess game;
  unsigned long window = 0;
};

TEST_F(MenusTest, EscapeThenClicksThroughBothMenusAndQuit) {
  start();
  Screenshot playing = game.screenshot(window);
  ASSERT_GE(playing.width, 790);
  EXPECT_FALSE(isPlainButtonAt(playing, resumeButton));

  game.key(window, "Escape");
  Screenshot mainMenu = waitForScreen("main_menu", [](const Screenshot &s) {
    return isPlainButtonAt(s, resumeButton) && frameRatePixels(s) > 20;
  });
  EXPECT_TRUE(isPlainButtonAt(mainMenu, resumeButton));
  EXPECT_TRUE(isPlainButtonAt(mainMenu, optionsButton));
  EXPECT_TRUE(isPlainButtonAt(mainMenu, quitButton));
  EXPECT_GT(frameRatePixels(mainMenu), 20) << "the frame rate text";

  click(optionsButton);
  Screenshot options = waitForScreen("options_menu", [](const Screenshot &s) {
    return isPlainButtonAt(s, backButton) && isOffButtonAt(s, settingButton(1, false));
  });
  EXPECT_TRUE(isPlainButtonAt(options, backButton));
  EXPECT_TRUE(isPlainButtonAt(options, windowedButton));
  for (int row = 1; row < 5; ++row)
    EXPECT_TRUE(isOffButtonAt(options, settingButton(row, false))) << row;
  EXPECT_FALSE(isPlainButtonAt(options, optionsButton)) << "the main menu's picture is gone";

  // Reverse mouse off, then on; back to a window (the game has never been
  // full screen, so it acts).
  click(settingButton(2, false));
  EXPECT_TRUE(game.waitForOutput("isReverseMouseYCamera: 0\n", 10000)) << game.standardOutput();
  click(settingButton(2, true));
  EXPECT_TRUE(game.waitForOutput("isReverseMouseYCamera: 1\n", 10000)) << game.standardOutput();
  click(windowedButton);
  EXPECT_TRUE(game.waitForOutput("Set to windowed mode 800x600\n", 10000)) << game.standardOutput();

  click(backButton);
  Screenshot back = waitForScreen(
      "main_menu_again", [](const Screenshot &s) { return isPlainButtonAt(s, resumeButton); });
  EXPECT_TRUE(isPlainButtonAt(back, resumeButton));

  click(resumeButton);
  Screenshot resumed = waitForScreen(
      "resumed", [](const Screenshot &s) { return !isPlainButtonAt(s, resumeButton); });
  EXPECT_FALSE(isPlainButtonAt(resumed, resumeButton));
  EXPECT_TRUE(game.isRunning());

  game.key(window, "Escape");
  waitForScreen("main_menu_to_quit",
                [](const Screenshot &s) { return isPlainButtonAt(s, quitButton); });
  click(quitButton);
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
}

int countOf(const std::string &text, const std::string &part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

// The display rows on the game's own X server (1280 x 1024): back to a
// window while never full screen, the desktop mode covering the screen,
// the windowed choice then doing nothing, a full-screen size.
TEST_F(MenusTest, DisplayRowsSwitchTheWindow) {
  start();
  game.key(window, "Escape");
  waitForScreen("display_main_menu",
                [](const Screenshot &s) { return isPlainButtonAt(s, optionsButton); });
  click(optionsButton);
  waitForScreen("display_options",
                [](const Screenshot &s) { return isPlainButtonAt(s, backButton); });

  click(windowedButton);
  EXPECT_TRUE(game.waitForOutput("Set to windowed mode 800x600\n", 10000)) << game.standardOutput();
  EXPECT_EQ(game.waitForSize(window, 800, 600).width, 800);

  click(desktopButton);
  WindowGeometry covering = game.waitForSize(window, 1280, 1024);
  EXPECT_EQ(covering.width, 1280);
  EXPECT_EQ(covering.height, 1024);

  click(windowedButton);
  click(fullscreen1024Button);
  EXPECT_TRUE(game.waitForOutput("Set to fullscreen mode 1024x768\n", 10000))
      << game.standardOutput();
  WindowGeometry sized = game.waitForSize(window, 1024, 768);
  EXPECT_EQ(sized.width, 1024);
  EXPECT_EQ(sized.height, 768);
  EXPECT_EQ(countOf(game.standardOutput(), "Set to windowed mode"), 1)
      << "the windowed choice acts only before any full-screen choice";
  // Any key goes back to the main menu, where "q" ends the game.
  game.key(window, "x");
  game.key(window, "q");
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
}

}  // namespace
