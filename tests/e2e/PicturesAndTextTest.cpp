// The game with its generated default data: the font and the menu pictures
// load at start and are freed at the end in order; text drawn with the
// generated font shows on screen;
// a missing font ends the start with the fatal report.
#include <gtest/gtest.h>

#include "GameProcess.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

std::vector<std::string> linesStartingWith(const std::vector<std::string> &lines,
                                           const std::string &prefix) {
  std::vector<std::string> found;
  for (const std::string &line : lines)
    if (line.compare(0, prefix.size(), prefix) == 0)
      found.push_back(line);
  return found;
}

bool isDark(const std::vector<int> &rgb) {
  return rgb[0] < 40 && rgb[1] < 40 && rgb[2] < 40;
}

TEST(PicturesAndTextTest, GameLoadsAndFreesItsPicturesInOrder) {
  GameProcess game;
  game.start();
  ASSERT_TRUE(game.waitForOutput("================ Initialized, first draw ..."))
      << game.standardOutput() << game.standardError();
  unsigned long window = game.waitForWindow();
  ASSERT_NE(window, 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  game.key(window, "Escape");
  game.key(window, "q");
  ASSERT_EQ(game.waitForExit(), 0) << game.standardError();

  // The font and the menu pictures; the world's own come between them.
  std::vector<std::string> lines;
  for (const std::string &line : game.outputLines())
    if (line.find("'default_font.png'") != std::string::npos ||
        line.find("'menus/") != std::string::npos)
      lines.push_back(line);
  std::vector<std::string> freed = linesStartingWith(game.outputLines(), "Freeing image '");
  ASSERT_FALSE(freed.empty());
  EXPECT_EQ(freed.back(), "Freeing image 'default_font.png'");
  EXPECT_EQ(linesStartingWith(lines, "Loading image '"),
            (std::vector<std::string>{
                "Loading image 'default_font.png'", "Loading image 'menus/main_menu.png'",
                "Loading image 'menus/options_menu.png'", "Loading image 'menus/menu_mouse.png'"}));
  EXPECT_EQ(linesStartingWith(lines, "Freeing image '"),
            (std::vector<std::string>{
                "Freeing image 'menus/main_menu.png'", "Freeing image 'menus/options_menu.png'",
                "Freeing image 'menus/menu_mouse.png'", "Freeing image 'default_font.png'"}));
  EXPECT_EQ(game.standardError().find("ERROR : "), std::string::npos) << game.standardError();
}

TEST(PicturesAndTextTest, TextDrawnWithTheGeneratedFontShows) {
  GameProcess game;
  game.startProgram(TEXT_DRAWING_PATH, {}, false);
  ASSERT_TRUE(game.waitForOutput("text drawn")) << game.standardOutput() << game.standardError();
  unsigned long window = game.waitForWindow();
  ASSERT_NE(window, 0u);
  // The start-up size request settles within the first frames.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  Screenshot shot = game.screenshot(window);
  // Without a window manager the window sits at (-1, -1) behind its 1-pixel
  // border, so the capture may lose one edge column and row.
  ASSERT_GE(shot.width, 799);
  ASSERT_GE(shot.height, 599);

  // The line starts at (20, 20) and is one glyph row (16 pixels) high.
  int litInLine = 0, litElsewhere = 0, firstLitColumn = -1, lastLitColumn = -1;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      bool isLit = !isDark(shot.at(x, y));
      bool inLine = y >= 18 && y < 40 && x >= 18;
      if (isLit && inLine) {
        ++litInLine;
        if (firstLitColumn < 0 || x < firstLitColumn)
          firstLitColumn = x;
        lastLitColumn = std::max(lastLitColumn, x);
      } else if (isLit) {
        ++litElsewhere;
      }
    }
  EXPECT_GT(litInLine, 200);
  EXPECT_EQ(litElsewhere, 0);
  EXPECT_LE(firstLitColumn, 24);
  EXPECT_GT(lastLitColumn, 150);  // twenty characters make a long line

  std::FILE *stop = std::fopen((game.workingFolder() + "/stop").c_str(), "w");
  ASSERT_NE(stop, nullptr);
  std::fclose(stop);
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
}

TEST(PicturesAndTextTest, MissingFontEndsTheStartWithTheReport) {
  GameProcess game;
  ASSERT_EQ(std::remove((game.workingFolder() + "/default_font.png").c_str()), 0);
  game.start();
  EXPECT_EQ(game.waitForExit(), 1);
  EXPECT_NE(game.standardError().find("ERROR : The program aborted unexpectedly."),
            std::string::npos);
  EXPECT_NE(game.standardError().find("Message: loadImage: can't open 'default_font.png'"),
            std::string::npos)
      << game.standardError();
}

}  // namespace
