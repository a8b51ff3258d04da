// Save-game bytes, their checks, and the file write that never leaves a half
// file behind.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>

#include "GlobalVarTable.h"
#include "SaveGame.h"

namespace {

std::string floatBytes(float f) {
  uint32_t v;
  memcpy(&v, &f, 4);
  std::string bytes;
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return bytes;
}

std::string intBytes(int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  std::string bytes;
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return bytes;
}

std::string playerPart(float x, float y, float z, float heading, float pitch, int32_t type) {
  return floatBytes(x) + floatBytes(y) + floatBytes(z) + floatBytes(heading) + floatBytes(pitch) +
         intBytes(type);
}

TEST(SaveGameTest, BytesArePlayerPartThenVariables) {
  SaveGamePlayer player;
  player.position = Float3(1.5f, -2.f, 300.25f);
  player.heading = 45.f;
  player.pitch = -10.f;
  player.mvtType = 2;
  GlobalVarTable vars;
  vars.setGlobalVar("b", 1);
  vars.setGlobalVar("a", -7);
  std::string expected = playerPart(1.5f, -2.f, 300.25f, 45.f, -10.f, 2) + intBytes(2) +
                         intBytes(1) + "a" + intBytes(-7) + intBytes(1) + "b" + intBytes(1);
  std::string bytes = buildSaveGame(player, vars);
  EXPECT_EQ(bytes, expected);

  SaveGamePlayer read;
  GlobalVarTable readVars;
  readVars.setGlobalVar("later", 3);
  ASSERT_TRUE(parseSaveGame(bytes, read, readVars));
  EXPECT_EQ(read.position, player.position);
  EXPECT_EQ(read.heading, 45.f);
  EXPECT_EQ(read.pitch, -10.f);
  EXPECT_EQ(read.mvtType, 2);
  EXPECT_EQ(readVars.vars, vars.vars);
}

TEST(SaveGameTest, DamagedFilesChangeNothing) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  struct Case {
    const char *what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"player part cut", playerPart(1, 2, 3, 4, 5, 0).substr(0, 23)},
      {"movement type 4", playerPart(1, 2, 3, 4, 5, 4)},
      {"movement type -1", playerPart(1, 2, 3, 4, 5, -1)},
      {"position not a number", playerPart(nan, 2, 3, 4, 5, 0)},
      {"heading infinite", playerPart(1, 2, 3, inf, 5, 0)},
      {"pitch infinite", playerPart(1, 2, 3, 4, -inf, 0)},
      {"name longer than the file",
       playerPart(1, 2, 3, 4, 5, 0) + intBytes(1) + intBytes(99) + "a"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SaveGamePlayer player;
    player.position = Float3(7, 8, 9);
    GlobalVarTable vars;
    vars.setGlobalVar("kept", 1);
    EXPECT_FALSE(parseSaveGame(c.bytes, player, vars));
    EXPECT_EQ(player.position, Float3(7, 8, 9));
    EXPECT_EQ(vars.vars, (std::map<std::string, int32_t>{{"kept", 1}}));
  }
}

TEST(SaveGameTest, FileEndingAfterPlayerPartEmptiesTheTable) {
  SaveGamePlayer player;
  GlobalVarTable vars;
  vars.setGlobalVar("gone", 1);
  ASSERT_TRUE(parseSaveGame(playerPart(1, 2, 3, 4, 5, 3), player, vars));
  EXPECT_TRUE(vars.vars.empty());
  EXPECT_EQ(player.mvtType, 3);
}

class SaveGameFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/savegame_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }
  std::string folder;
};

TEST_F(SaveGameFileTest, WriteReplacesTheFileAndLeavesNoTemporary) {
  std::string name = folder + "/save.sav";
  ASSERT_TRUE(writeFileAtomically(name, "old"));
  ASSERT_TRUE(writeFileAtomically(name, std::string("new\0bytes", 9)));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(name, bytes));
  EXPECT_EQ(bytes, std::string("new\0bytes", 9));
  EXPECT_EQ(std::system(("test $(ls '" + folder + "' | wc -l) -eq 1").c_str()), 0);
}

TEST_F(SaveGameFileTest, UnwritableTargetsFailAndKeepTheOldFile) {
  std::string name = folder + "/save.sav";
  ASSERT_TRUE(writeFileAtomically(name, "old"));
  EXPECT_FALSE(writeFileAtomically(folder + "/missing/save.sav", "x"));
  EXPECT_FALSE(writeFileAtomically("", "x"));
  // A directory is not replaced by a save-game.
  ASSERT_EQ(mkdir((folder + "/dir").c_str(), 0755), 0);
  EXPECT_FALSE(writeFileAtomically(folder + "/dir", "x"));
  struct stat info;
  ASSERT_EQ(stat((folder + "/dir").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(name, bytes));
  EXPECT_EQ(bytes, "old");
  EXPECT_EQ(std::system(("test $(ls '" + folder + "' | wc -l) -eq 2").c_str()), 0);
}

TEST_F(SaveGameFileTest, DirectoriesAndMissingFilesAreNotRead) {
  std::string bytes = "unchanged";
  EXPECT_FALSE(readWholeFile(folder, bytes));
  EXPECT_FALSE(readWholeFile(folder + "/none", bytes));
  EXPECT_EQ(bytes, "unchanged");
}

}  // namespace
