// The game script end to end: the default game (title, world, keys, save
// and load, a clean end) and scripts that fail, each ending with status 1
// and its message on the error stream.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "GameProcess.h"

namespace {

const char *const initializedLine = "================ Initialized, first draw ...";

// The player's position in a save-game.
std::vector<float> savedPosition(const std::string &bytes) {
  std::vector<float> position(3, NAN);
  if (bytes.size() >= 12)
    for (int i = 0; i < 3; ++i)
      std::memcpy(&position[i], bytes.data() + 4 * i, 4);
  return position;
}

int countOf(const std::string &text, const std::string &part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

class ScriptGameTest : public testing::Test {
 protected:
  // The pointer rests on the window's centre, where the mouse look turns
  // nothing, and the window has the keyboard.
  void focus() {
    std::string id = std::to_string(window);
    game.runTool({"xdotool", "mousemove", "--window", id, "400", "300"});
    game.runTool({"xdotool", "windowfocus", "--sync", id});
  }
  // Scripts read held keys: a key is held over several frames.
  void hold(const std::string &key, int ms = 400) {
    focus();
    game.runTool({"xdotool", "keydown", key});
    pause(ms);
    game.runTool({"xdotool", "keyup", key});
    pause(300);
  }
  void start() {
    game.start();
    ASSERT_TRUE(game.waitForOutput(initializedLine))
        << game.standardOutput() << game.standardError();
    window = game.waitForWindow();
    ASSERT_NE(window, 0u);
    pause(1500);
  }
  std::string saveFile() const { return game.workingFolder() + "/quicksave.sav"; }

  GameProcess game;
  unsigned long window = 0;
};

TEST_F(ScriptGameTest, DefaultGamePlaysSavesLoadsAndEnds) {
  start();
  EXPECT_NE(game.standardOutput().find("Loading script 'world.lua' ... done."), std::string::npos);
  EXPECT_NE(game.standardOutput().find("lua print: Cube Coins ready"), std::string::npos);
  // The title picture: its green ground strip across the window.
  Screenshot title = game.screenshot(window);
  std::vector<int> strip = title.at(400, 450);
  EXPECT_LT(std::abs(strip[0] - 40) + std::abs(strip[1] - 110) + std::abs(strip[2] - 40), 40)
      << testing::PrintToString(strip);

  hold("space");
  pause(1000);
  // The world: sky above, the help line at the top left, no title strip.
  Screenshot world = game.screenshot(window);
  std::vector<int> sky = world.at(400, 80);
  EXPECT_GT(sky[2], 150) << testing::PrintToString(sky);
  std::vector<int> below = world.at(400, 450);
  EXPECT_FALSE(below == strip) << testing::PrintToString(below);
  int textPixels = 0;
  for (int x = 10; x < 300; ++x)
    for (int y = 8; y < 30; ++y)
      if (world.at(x, y)[0] > 240 && world.at(x, y)[1] > 240 && world.at(x, y)[2] > 240)
        ++textPixels;
  EXPECT_GT(textPixels, 50);

  hold("k");
  ASSERT_TRUE(game.waitForOutput("Saving game into file quicksave.sav")) << game.standardOutput();
  pause(300);
  std::string first = readWhole(saveFile());
  ASSERT_GE(first.size(), 28u);
  // Forward for a while: the player moves.
  hold("e", 1500);
  hold("k");
  pause(300);
  EXPECT_EQ(countOf(game.standardOutput(), "Saving game into file quicksave.sav"), 2);
  std::string second = readWhole(saveFile());
  ASSERT_GE(second.size(), 28u);
  EXPECT_NE(savedPosition(first), savedPosition(second));

  // The first save back in place, loaded, and saved again: the same player.
  std::ofstream(saveFile(), std::ios::binary | std::ios::trunc) << first;
  hold("l");
  ASSERT_TRUE(game.waitForOutput("Loading game from file quicksave.sav")) << game.standardOutput();
  hold("k");
  pause(300);
  std::string third = readWhole(saveFile());
  std::vector<float> restored = savedPosition(third), expected = savedPosition(first);
  for (int i = 0; i < 3; ++i)
    EXPECT_NEAR(restored[i], expected[i], 0.5f) << i;
  EXPECT_EQ(third.substr(12, 16), first.substr(12, 16))
      << "camera angles, movement type, variables";

  focus();
  game.runTool({"xdotool", "key", "Escape"});
  pause(200);
  game.runTool({"xdotool", "key", "q"});
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
  std::string out = game.standardOutput();
  // Everything the script loaded is freed at the end.
  EXPECT_NE(out.find("Freeing image 'sprites/title.png'"), std::string::npos);
  EXPECT_EQ(countOf(out, "Loading model 'models/coin.obj'"),
            countOf(out, "Unloading model models/coin.obj"));
}

struct FailingScript {
  const char *what;
  const char *script;
  const char *message;
};

const FailingScript failingScripts[] = {
    {"syntax error", "function lua_loop(\n",
     "Message: lua ('in file world.lua'): world.lua:2: <name> or '...' expected near '<eof>'\n"},
    {"missing callback", "function lua_loop() end\n",
     "Message: lua ('calling function lua_onInitGame'): attempt to call a nil value\n"},
    {"error in lua_loop",
     "function lua_getNbObjects() return 0 end\nfunction lua_onInitGame() end\n"
     "function lua_loop() local t = nil\n t.x = 1 end\n"
     "function lua_load_0() end function lua_manage_0() end function lua_draw_0() end\n"
     "function lua_load_1() end function lua_manage_1() end function lua_draw_1() end\n",
     "Message: lua ('calling function lua_loop'): world.lua:4: attempt to index local 't' (a nil "
     "value)\n"},
    {"wrong argument count", "function lua_onInitGame() drawText(\"x\") end\n",
     "Condition: argc == 3\n"},
    {"getKey of nothing", "function lua_onInitGame() getKey(\"\") end\n",
     "Condition: chars.size() == 1\n"},
    {"assert(0.4)", "assert(0.4)\n",
     "Condition: lua_tointeger(lua, 1)\nMessage: An assert condition into lua script was false.\n"},
};

TEST(ScriptFailureTest, FailingScriptsEndWithStatusOneAndTheirMessage) {
  for (const FailingScript &c : failingScripts) {
    SCOPED_TRACE(c.what);
    GameProcess game;
    std::ofstream(game.workingFolder() + "/world.lua", std::ios::trunc) << c.script;
    game.start();
    EXPECT_EQ(game.waitForExit(), 1);
    EXPECT_NE(game.standardError().find(c.message), std::string::npos) << game.standardError();
  }
}

}  // namespace

namespace {

// A save asked for by the script's last callback, after the frame loop has
// ended, is still written.
TEST(ScriptSaveAtEndTest, SaveAskedForAtScriptShutdownIsWritten) {
  GameProcess game;
  std::ofstream(game.workingFolder() + "/world.lua", std::ios::trunc)
      << "function lua_getNbObjects() return 2 end\n"
         "function lua_onInitGame() end\n"
         "function lua_loop() end\n"
         "function lua_onUninitGame() saveGame(\"at_end.sav\") end\n"
         "function lua_load_0() end function lua_manage_0() end\n"
         "function lua_draw_0() end function lua_unload_0() end\n"
         "function lua_load_1() end function lua_manage_1() end\n"
         "function lua_draw_1() end function lua_unload_1() end\n";
  game.start();
  unsigned long window = game.waitForWindow();
  ASSERT_NE(window, 0u) << game.standardError();
  game.key(window, "Escape");
  game.key(window, "q");
  ASSERT_EQ(game.waitForExit(), 0) << game.standardError();
  // The player's part alone is 24 bytes.
  std::string saved = readWhole(game.workingFolder() + "/at_end.sav");
  EXPECT_GE(saved.size(), 24u) << game.standardOutput();
}

}  // namespace
