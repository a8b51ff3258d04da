// The editor driven through the real game with X key events: the road of one
// editor action (a box from (0, 0, 0) to (40, 1, 1) split at the region
// border and saved), the saved world reloaded by a new game and saved again
// to the same bytes, and the generated default landscape seen from the
// editor camera.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "GameProcess.h"

namespace {

const char *const initializedLine = "================ Initialized, first draw ...";

// A zone record's first bytes: centre and size (floats), type (int32).
std::string zoneRecord(float cx, float cy, float cz, float sx, float sy, float sz, int type) {
  float values[6] = {cx, cy, cz, sx, sy, sz};
  std::string bytes(28, '\0');
  std::memcpy(&bytes[0], values, 24);
  std::memcpy(&bytes[24], &type, 4);
  return bytes;
}

int countOf(const std::string &text, const std::string &part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class EditorTest : public testing::Test {
 protected:
  void start(GameProcess &game) {
    game.start();
    ASSERT_TRUE(game.waitForOutput(initializedLine))
        << game.standardOutput() << game.standardError();
    window = game.waitForWindow();
    ASSERT_NE(window, 0u);
    pause(1500);
    // Past the title picture, into the world, then editor mode.
    press(game, {"space"});
    pause(800);
    press(game, {"a"});
    pause(300);
  }
  // Keys typed one after the other.
  void press(GameProcess &game, const std::vector<std::string> &keys) {
    game.focus(window);
    std::vector<std::string> command = {"xdotool", "key", "--delay", "40"};
    command.insert(command.end(), keys.begin(), keys.end());
    game.runTool(command);
    pause(200);
  }
  void quit(GameProcess &game) {
    press(game, {"Escape"});
    press(game, {"q"});
    EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
  }

  unsigned long window = 0;
};

TEST_F(EditorTest, BoxAcrossTheRegionBorderIsSavedAndReloadedToTheSameBytes) {
  std::string saved;
  {
    GameProcess game;
    start(game);
    // F2 + Delete: the landscape's cubes and objects gone, its types kept.
    // F2 is held over several frames (the landscape's first frames are slow
    // in the test build), as a person holds it.
    game.focus(window);
    game.runTool({"xdotool", "keydown", "F2"});
    pause(3000);
    game.runTool({"xdotool", "key", "Delete"});
    pause(3000);
    game.runTool({"xdotool", "keyup", "F2"});
    pause(500);
    std::vector<std::string> road = {"space"};
    for (int i = 0; i < 40; ++i)
      road.push_back("Left");
    road.insert(road.end(), {"Prior", "Up", "space", "s"});
    press(game, road);
    ASSERT_TRUE(game.waitForOutput("==== World saved to file")) << game.standardOutput();
    saved = readWhole(game.workingFolder() + "/world.dat");
    quit(game);
  }
  // The two pieces: cubes 0 to 32 and 32 to 40 along x, one cube on y and z,
  // of type 0, and no other zone (their shadow counts are all 0).
  std::string first = zoneRecord(160, 5, 5, 320, 10, 10, 0) + std::string(4 + 24, '\0');
  std::string second = zoneRecord(360, 5, 5, 80, 10, 10, 0) + std::string(4 + 24, '\0');
  EXPECT_EQ(countOf(saved, first), 1);
  EXPECT_EQ(countOf(saved, second), 1);
  // Six cube types and a small table: nothing of the landscape is left.
  EXPECT_LT(saved.size(), 20000u);

  // A new game loads it; "s" writes the same bytes.
  GameProcess game;
  std::ofstream(game.workingFolder() + "/world.dat", std::ios::binary | std::ios::trunc) << saved;
  start(game);
  press(game, {"s"});
  ASSERT_TRUE(game.waitForOutput("==== World saved to file")) << game.standardOutput();
  EXPECT_EQ(readWhole(game.workingFolder() + "/world.dat"), saved);
  quit(game);
}

TEST_F(EditorTest, DefaultLandscapeSeenFromTheEditorCamera) {
  GameProcess game;
  start(game);
  // Farther out (wheel down), then a look: ground, sky and the red cursor.
  game.wheel(window, 400, 300, -8);
  // The landscape's first frames are slow in the test build: looks are
  // taken until the ground and the sky show, for up to 30 seconds.
  int sky = 0, ground = 0;
  for (int attempt = 0; attempt < 30 && (sky <= 100 || ground <= 100); ++attempt) {
    pause(1000);
    Screenshot shot = game.screenshot(window);
    sky = 0;
    ground = 0;
    for (int y = 0; y < 600; y += 10)
      for (int x = 0; x < 800; x += 10) {
        std::vector<int> p = shot.at(x, y);
        if (p[2] > 150 && p[2] > p[0])
          ++sky;
        else if (p[1] > p[2])
          ++ground;
      }
  }
  EXPECT_GT(sky, 100);
  EXPECT_GT(ground, 100);
  quit(game);
}

}  // namespace
