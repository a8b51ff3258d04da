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

WindowGeometry waitForSize(GameProcess &game, unsigned long window, int width, int height) {
  return game.waitForSize(window, width, height);
}

// Starts the game and waits until its window has the size the start asks for
// (full screen is applied by the first frame). Keys and pointer moves sent
// from then on wait in the X queue for the frames.
unsigned long startAndWait(GameProcess &game, const std::vector<std::string> &arguments = {},
                           int width = 800, int height = 600) {
  game.start(arguments);
  EXPECT_TRUE(game.waitForOutput(initializedLine)) << game.standardOutput() << game.standardError();
  unsigned long window = game.waitForWindow();
  EXPECT_NE(window, 0u) << "no game window";
  game.waitForSize(window, width, height);
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
    unsigned long window = startAndWait(game, c.arguments, c.expected.width, c.expected.height);
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
  // The first frame applies the start's own size request, which undoes a
  // resize sent before it (no line then): the resize is sent again until
  // the frames take it.
  bool isRescaled = false;
  for (int attempt = 0; attempt < 6 && !isRescaled; ++attempt) {
    game.resize(window, 1024, 768);
    isRescaled = game.waitForOutput("Rescaling to (1024,768)\n", 5000);
  }
  EXPECT_TRUE(isRescaled) << game.standardOutput();
  WindowGeometry g = waitForSize(game, window, 1024, 768);
  EXPECT_EQ(g.width, 1024);
  EXPECT_EQ(g.height, 768);
  quitThroughMainMenu(game, window);
}

bool isWhite(const std::vector<int> &rgb) {
  return rgb[0] > 230 && rgb[1] > 230 && rgb[2] > 230;
}

// The pointer's white body, 3 pixels right and 10 down from its tip, on any
// pixel next to that spot (the capture may lose the window's first column
// and row).
bool isPointerBodyAt(const Screenshot &shot, int tipX, int tipY) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (isWhite(shot.at(tipX + 3 + dx, tipY + 10 + dy)))
        return true;
  return false;
}

// Over the main menu the program draws its own pointer where the mouse is;
// in the game (no menu) it draws none.
TEST(GameStartTest, PointerIsDrawnOverTheMainMenu) {
  GameProcess game;
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);
  const int tipX = 300, tipY = 200;
  std::string id = std::to_string(window);
  game.runTool(
      {"xdotool", "mousemove", "--window", id, std::to_string(tipX), std::to_string(tipY)});
  Screenshot inGame = game.screenshot(window);
  ASSERT_GT(inGame.width, tipX + 10);
  EXPECT_FALSE(isPointerBodyAt(inGame, tipX, tipY));

  game.key(window, "Escape");
  game.runTool(
      {"xdotool", "mousemove", "--window", id, std::to_string(tipX), std::to_string(tipY)});
  // Frames follow the pointer: poll the screen until it shows up.
  Screenshot overMenu;
  bool isShown = false;
  for (int attempt = 0; attempt < 50 && !isShown; ++attempt) {
    overMenu = game.screenshot(window);
    isShown = isPointerBodyAt(overMenu, tipX, tipY);
  }
  EXPECT_TRUE(isShown);
  // Only there: the spot 60 pixels below the tip is not white.
  EXPECT_FALSE(isWhite(overMenu.at(tipX + 3, tipY + 70)));

  game.key(window, "q");
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
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
