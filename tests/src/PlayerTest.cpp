// The player part of a save-game: its 24 bytes, byte for byte, and reading
// files cut short.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "Player.h"

namespace {

std::vector<unsigned char> contentsOf(FILE *file) {
  std::vector<unsigned char> bytes;
  rewind(file);
  int c;
  while ((c = fgetc(file)) != EOF)
    bytes.push_back(static_cast<unsigned char>(c));
  return bytes;
}

TEST(PlayerStateTest, WritesTwentyFourLittleEndianBytes) {
  FILE *file = tmpfile();
  ASSERT_NE(file, nullptr);
  PlayerState state;
  state.position = Float3(1.f, -2.f, 0.5f);
  state.heading = 90.f;
  state.pitch = -10.f;
  state.mvtType = MVT_TYPE_FLY;
  EXPECT_TRUE(writePlayerState(file, state));
  const std::vector<unsigned char> expected = {
      0x00, 0x00, 0x80, 0x3f,  // 1.0
      0x00, 0x00, 0x00, 0xc0,  // -2.0
      0x00, 0x00, 0x00, 0x3f,  // 0.5
      0x00, 0x00, 0xb4, 0x42,  // 90.0
      0x00, 0x00, 0x20, 0xc1,  // -10.0
      0x02, 0x00, 0x00, 0x00,  // fly
  };
  EXPECT_EQ(contentsOf(file), expected);

  rewind(file);
  PlayerState read;
  EXPECT_EQ(readPlayerState(file, read), 4);
  EXPECT_EQ(read.position, state.position);
  EXPECT_EQ(read.heading, 90.f);
  EXPECT_EQ(read.pitch, -10.f);
  EXPECT_EQ(read.mvtType, MVT_TYPE_FLY);
  fclose(file);
}

TEST(PlayerStateTest, AShortFileReadsTheWholeFieldsThereAre) {
  PlayerState full;
  full.position = Float3(3.f, 4.f, 5.f);
  full.heading = 12.f;
  full.pitch = 34.f;
  full.mvtType = MVT_TYPE_CAR;
  FILE *source = tmpfile();
  ASSERT_NE(source, nullptr);
  writePlayerState(source, full);
  std::vector<unsigned char> bytes = contentsOf(source);
  fclose(source);

  // Cut lengths and how many fields survive them.
  const std::pair<size_t, int> cuts[] = {{0, 0},  {11, 0}, {12, 1}, {15, 1},
                                         {16, 2}, {20, 3}, {23, 3}, {24, 4}};
  for (const auto &cut : cuts) {
    SCOPED_TRACE(testing::Message() << cut.first << " bytes");
    FILE *file = tmpfile();
    ASSERT_NE(file, nullptr);
    fwrite(bytes.data(), 1, cut.first, file);
    rewind(file);
    PlayerState read;
    EXPECT_EQ(readPlayerState(file, read), cut.second);
    if (cut.second >= 1) {
      EXPECT_EQ(read.position, full.position);
    }
    fclose(file);
  }
}

}  // namespace
