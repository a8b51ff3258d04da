// The generated "sound/walk.wav" and "sound/jump.wav" in the build's game
// folder: mono 16-bit PCM, short, clearly audible, starting and ending
// quietly (no click), and accepted by the game's own sound loading.
#include "SoundManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string gameFile(const std::string &name) {
  const char *buildDir = std::getenv("CUBEWORLD_BUILD_DIR");
  return std::string(buildDir != nullptr ? buildDir : ".") + "/game/" + name;
}

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0;
  std::vector<int> samples;
};

int little(const std::string &b, size_t at, int size) {
  int value = 0;
  for (int i = size - 1; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(b[at + i]);
  return value;
}

Wav readWav(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Wav wav;
  EXPECT_GE(b.size(), 44u) << path;
  if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) {
    ADD_FAILURE() << path << " is not a WAV file";
    return wav;
  }
  EXPECT_EQ(static_cast<size_t>(little(b, 4, 4)) + 8, b.size());
  for (size_t at = 12; at + 8 <= b.size();) {
    std::string id = b.substr(at, 4);
    size_t size = static_cast<size_t>(little(b, at + 4, 4));
    if (id == "fmt ") {
      wav.format = little(b, at + 8, 2);
      wav.channels = little(b, at + 10, 2);
      wav.rate = little(b, at + 12, 4);
      wav.bits = little(b, at + 22, 2);
    } else if (id == "data") {
      for (size_t i = at + 8; i + 1 < at + 8 + size && i + 1 < b.size(); i += 2)
        wav.samples.push_back(static_cast<int16_t>(little(b, i, 2)));
    }
    at += 8 + size + (size & 1);
  }
  return wav;
}

TEST(GameSoundsTest, FootstepAndJumpAreShortAudiblePcm) {
  struct Case {
    const char *name;
    double minSeconds, maxSeconds;
  };
  for (const Case &c : {Case{"sound/walk.wav", 0.05, 0.3}, Case{"sound/jump.wav", 0.15, 0.6}}) {
    SCOPED_TRACE(c.name);
    Wav wav = readWav(gameFile(c.name));
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.bits, 16);
    ASSERT_GT(wav.rate, 0);
    double seconds = static_cast<double>(wav.samples.size()) / wav.rate;
    EXPECT_GE(seconds, c.minSeconds);
    EXPECT_LE(seconds, c.maxSeconds);
    int peak = 0;
    for (int s : wav.samples)
      peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 8000);
    ASSERT_GT(wav.samples.size(), 200u);
    EXPECT_LT(std::abs(wav.samples.front()), 2000);
    int tail = 0;
    for (size_t i = wav.samples.size() - 50; i < wav.samples.size(); ++i)
      tail = std::max(tail, std::abs(wav.samples[i]));
    EXPECT_LT(tail, peak / 4);
  }
}

TEST(GameSoundsTest, TheGameLoadsThem) {
  setenv("ALSOFT_DRIVERS", "null", 1);
  SoundManager manager("program");
  EXPECT_FALSE(manager.isSilent());
  EXPECT_NE(manager.getSound(gameFile("sound/walk.wav")), nullptr);
  EXPECT_NE(manager.getSound(gameFile("sound/jump.wav")), nullptr);
}

}  // namespace
