// The real program from start to end: start-up console lines, the extension
// dump, ending through the main menu, windowed and full-screen start, window
// resizing and the warning box of a fatal report.
#include <gtest/gtest.h>

#include "GameProcess.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const char *const initializingLine = "================ Initializing ...";
const char *const initializedLine = "================ Initialized, first draw ...";

std::string readWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Polls until the window has this size or the time is up; returns the last geometry.
WindowGeometry waitForSize(GameProcess &game, unsigned long window, int width, int height) {
  WindowGeometry g;
  for (int i = 0; i < 100; ++i) {
    g = game.geometry(window);
    if (g.width == width && g.height == height)
      break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return g;
}

// Starts the game and waits until its first frame is under way.
unsigned long startAndWait(GameProcess &game, const std::vector<std::string> &arguments = {}) {
  game.start(arguments);
  EXPECT_TRUE(game.waitForOutput(initializedLine)) << game.standardOutput() << game.standardError();
  unsigned long window = game.waitForWindow();
  EXPECT_NE(window, 0u) << "no game window";
  // The first frames apply the window requests of the start (size, full
  // screen); input and resizes sent before them could be undone.
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  return window;
}

void quitThroughMainMenu(GameProcess &game, unsigned long window) {
  game.key(window, "Escape");
  game.key(window, "q");
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
}

TEST(GameStartTest, StartupLinesInOrderThenEscapeAndQEnd) {
  GameProcess game;
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);
  quitThroughMainMenu(game, window);

  // The milestones of the start, in order, from the first line on.
  std::vector<std::string> lines = game.outputLines();
  const std::vector<std::string> milestones = {initializingLine, "==== Reload script file",
                                               "==== Script file reloaded", initializedLine};
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), initializingLine);
  size_t next = 0;
  for (const std::string &line : lines)
    if (next < milestones.size() && line == milestones[next])
      ++next;
  EXPECT_EQ(next, milestones.size()) << game.standardOutput();
  EXPECT_EQ(game.standardError().find("ERROR : "), std::string::npos) << game.standardError();
}

TEST(GameStartTest, ExtensionListIsWrittenAtStart) {
  GameProcess game;
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);
  quitThroughMainMenu(game, window);

  std::string text = readWhole(game.workingFolder() + "/extensions.txt");
  const std::string head = "supported:", tail = " :";
  ASSERT_GE(text.size(), head.size() + tail.size()) << text;
  EXPECT_EQ(text.substr(0, head.size()), head);
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  // Every GL driver offers some extension; the list names them with GL_ prefixes.
  EXPECT_NE(text.find("GL_"), std::string::npos) << text;
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

struct StartCase {
  std::vector<std::string> arguments;
  WindowGeometry expected;
};

TEST(GameStartTest, WindowedOrFullscreenFromTheSecondArgument) {
  // The test server's screen is 1280 x 1024.
  const StartCase cases[] = {
      {{}, {0, 0, 800, 600}},
      {{"--fullscreen"}, {0, 0, 1280, 1024}},
      {{"--FULLSCREEN"}, {0, 0, 800, 600}},
      {{"x", "--fullscreen"}, {0, 0, 800, 600}},
  };
  for (const StartCase &c : cases) {
    std::string shown;
    for (const std::string &a : c.arguments)
      shown += " " + a;
    SCOPED_TRACE("arguments:" + shown);
    GameProcess game;
    unsigned long window = startAndWait(game, c.arguments);
    ASSERT_NE(window, 0u);
    WindowGeometry g = waitForSize(game, window, c.expected.width, c.expected.height);
    EXPECT_EQ(g.width, c.expected.width);
    EXPECT_EQ(g.height, c.expected.height);
    // Full screen moves the window to the screen's corner; its border of
    // one pixel may stay visible there.
    if (c.expected.width == 1280) {
      EXPECT_TRUE(g.x == 0 || g.x == 1) << g.x;
      EXPECT_TRUE(g.y == 0 || g.y == 1) << g.y;
    }
    quitThroughMainMenu(game, window);
  }
}

TEST(GameStartTest, ResizingTheWindowRescales) {
  GameProcess game;
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);
  game.resize(window, 1024, 768);
  EXPECT_TRUE(game.waitForOutput("Rescaling to (1024,768)\n")) << game.standardOutput();
  WindowGeometry g = waitForSize(game, window, 1024, 768);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);
  quitThroughMainMenu(game, window);
}

}  // namespace

namespace {

// A failed check shows the "Problem" box and waits; OK (the button or the
// Return key) ends the process with status 1 and the report on the error stream.
TEST(FatalReportBoxTest, FailedCheckWaitsForTheBoxThenExitsWithOne) {
  const bool isClosedByClick[] = {false, true};
  for (bool isClick : isClosedByClick) {
    SCOPED_TRACE(isClick ? "closed by a click on OK" : "closed by Return");
    GameProcess game;
    game.startProgram(FAILING_CHECK_PATH, {}, true);
    unsigned long box = game.waitForWindow("Problem");
    ASSERT_NE(box, 0u) << game.standardOutput() << game.standardError();
    EXPECT_TRUE(game.waitForOutput("first device created\n"));

    // The process waits for the box: nothing on the error stream yet.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(game.isRunning());
    EXPECT_EQ(game.standardError().find("ERROR : "), std::string::npos);

    // A real rendering of the box: white ground, the gold warning sign.
    Screenshot shot = game.screenshot(box);
    ASSERT_GT(shot.width, 100);
    EXPECT_EQ(shot.at(4, shot.height - 4), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(shot.at(26, 50), (std::vector<int>{255, 215, 0}));

    if (isClick) {
      // The OK button sits centred at the bottom, 16 pixels above the edge.
      WindowGeometry g = game.geometry(box);
      game.click(box, g.width / 2, g.height - 16 - 13);
    } else {
      game.key(box, "Return");
    }
    EXPECT_EQ(game.waitForExit(), 1);
    std::string errors = game.standardError();
    EXPECT_EQ(errors.find("ERROR : The program aborted unexpectedly."), 0u) << errors;
    EXPECT_NE(errors.find("\nCondition: deviceManager == NULL\n"), std::string::npos) << errors;
    EXPECT_EQ(game.standardOutput().find("second device created"), std::string::npos);
  }
}

}  // namespace
