// The real game on its generated default data: the world, player and skybox
// start lines, a frame that shows the sky above the ground, a start without
// any sound device, and a jump heard in the sound captured by OpenAL's file
// output.
#include <gtest/gtest.h>

#include "GameProcess.h"

#include <chrono>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

const char *const initializedLine = "================ Initialized, first draw ...";

// Index of the first line that starts with prefix, or -1.
int lineStarting(const std::vector<std::string> &lines, const std::string &prefix) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind(prefix, 0) == 0)
      return static_cast<int>(i);
  return -1;
}

unsigned long startAndWait(GameProcess &game) {
  game.start();
  EXPECT_TRUE(game.waitForOutput(initializedLine)) << game.standardOutput() << game.standardError();
  unsigned long window = game.waitForWindow();
  EXPECT_NE(window, 0u) << "no game window";
  // The default game script shows its title until the space bar is held.
  // The pointer goes to the window's centre first: the player turns the
  // camera by the pointer's distance from the centre.
  game.runTool({"xdotool", "mousemove", "--window", std::to_string(window), "400", "300"});
  game.runTool({"xdotool", "windowfocus", "--sync", std::to_string(window)});
  game.runTool({"xdotool", "keydown", "space"});
  pause(400);
  game.runTool({"xdotool", "keyup", "space"});
  // The first frames: the player lands on the ground.
  pause(1000);
  return window;
}

void quitThroughMainMenu(GameProcess &game, unsigned long window) {
  game.key(window, "Escape");
  game.key(window, "q");
  EXPECT_EQ(game.waitForExit(), 0) << game.standardError();
}

// The 16-bit samples of a WAV file's data chunk.
std::vector<int16_t> samplesOf(const std::string &wav) {
  std::vector<int16_t> samples;
  size_t at = 12;
  while (at + 8 <= wav.size()) {
    std::string id = wav.substr(at, 4);
    uint32_t size = 0;
    for (int i = 0; i < 4; ++i)
      size |= static_cast<uint32_t>(static_cast<unsigned char>(wav[at + 4 + i])) << (8 * i);
    at += 8;
    if (id == "data") {
      // A capture whose length was never filled in runs to the file's end.
      size_t end = size == 0 || at + size > wav.size() ? wav.size() : at + size;
      for (size_t i = at; i + 1 < end; i += 2)
        samples.push_back(static_cast<int16_t>(static_cast<unsigned char>(wav[i]) |
                                               (static_cast<unsigned char>(wav[i + 1]) << 8)));
      break;
    }
    at += size + (size & 1);
  }
  return samples;
}

TEST(WorldStartTest, StartsOnTheDefaultWorldSilentlyWithoutASoundDevice) {
  GameProcess game;
  // No OpenAL output at all: the test server has no sound card.
  game.setEnvironment("ALSOFT_DRIVERS", "");
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);

  // The sky above the horizon (below the two help lines at the top), the
  // ground below the player. The first frames build the regions' geometry;
  // a slow machine shows them later.
  Screenshot shot;
  std::vector<int> sky;
  for (int attempt = 0; attempt < 40; ++attempt) {
    shot = game.screenshot(window);
    sky = shot.at(400, 70);
    if (sky.size() == 3 && sky[2] > 150)
      break;
    pause(500);
  }
  ASSERT_GE(shot.width, 790);
  ASSERT_EQ(sky.size(), 3u);
  EXPECT_GT(sky[2], 150) << "sky " << testing::PrintToString(sky);
  EXPECT_GT(sky[2], sky[0]) << "sky " << testing::PrintToString(sky);
  std::vector<int> ground = shot.at(400, 560);
  EXPECT_FALSE(ground[2] > 150 && ground[2] > ground[0] + 40)
      << "ground " << testing::PrintToString(ground);
  quitThroughMainMenu(game, window);

  std::vector<std::string> lines = game.outputLines();
  const std::vector<std::string> milestones = {"==== Loading world from file 'world.dat'",
                                               "==== Loading world done",
                                               "==== Loading player",
                                               "==== Player loaded",
                                               "==== Loading skybox",
                                               "==== Skybox loaded",
                                               initializedLine};
  int previous = -1;
  for (const std::string &milestone : milestones) {
    int at = lineStarting(lines, milestone);
    EXPECT_GT(at, previous) << milestone << "\n" << game.standardOutput();
    previous = at;
  }
  int noSound = lineStarting(lines, "No sound device");
  EXPECT_GE(noSound, 0) << game.standardOutput();
  EXPECT_LT(noSound, lineStarting(lines, "==== Loading player"));
  EXPECT_EQ(game.standardError().find("ERROR : "), std::string::npos) << game.standardError();
}

TEST(WorldStartTest, AJumpIsHeardInTheCapturedSound) {
  GameProcess game;
  const std::string capture = game.workingFolder() + "/../capture.wav";
  const std::string conf = game.workingFolder() + "/../alsoft.conf";
  std::ofstream(conf) << "[general]\nsample-type=int16\nchannels=mono\n[wave]\nfile=" << capture
                      << "\n";
  game.setEnvironment("ALSOFT_DRIVERS", "wave");
  game.setEnvironment("ALSOFT_CONF", conf);
  unsigned long window = startAndWait(game);
  ASSERT_NE(window, 0u);
  EXPECT_EQ(lineStarting(game.outputLines(), "No sound device"), -1) << game.standardOutput();

  // Held for some frames, so the player's update sees the key down.
  game.focus(window);
  game.runTool({"xdotool", "keydown", "space"});
  pause(400);
  game.runTool({"xdotool", "keyup", "space"});
  pause(800);
  quitThroughMainMenu(game, window);

  std::vector<int16_t> samples = samplesOf(readWhole(capture));
  ASSERT_FALSE(samples.empty()) << "nothing captured in " << capture;
  int loud = 0;
  for (int16_t s : samples)
    if (s > 1000 || s < -1000)
      ++loud;
  EXPECT_GT(loud, 100) << samples.size() << " samples captured";
}

}  // namespace
