// The data pack's lookup contract: exact, case-sensitive names, the shared
// stream at the entry's first data byte with its size, nothing for a missing
// name; and packs whose table points outside the file are refused.
#include "DataPack.h"

#include "DataPackBuilder.h"
#include "ImageFixtures.h"

#include <gtest/gtest.h>

namespace {

Bytes readEntry(FILE *stream, int size) {
  Bytes data(size_t(size), 0);
  if (size > 0) {
    EXPECT_EQ(fread(data.data(), 1, data.size(), stream), data.size());
  }
  return data;
}

TEST(DataPackTest, LooksUpEntriesByExactName) {
  DataPackBuilder builder;
  builder.add("menus/main_menu.png", {1, 2, 3});
  builder.add("a", {});
  builder.add("sound/walk.wav", {9, 8, 7, 6, 5});
  DataPack pack(writeTempFile("lookup.pack", builder.build()));

  struct LookupCase {
    const char *name;
    bool isFound;
    Bytes data;
  };
  const LookupCase cases[] = {
      {"menus/main_menu.png", true, {1, 2, 3}},
      {"sound/walk.wav", true, {9, 8, 7, 6, 5}},
      {"a", true, {}},
      {"Menus/main_menu.png", false, {}},
      {"MENUS/MAIN_MENU.PNG", false, {}},
      {"main_menu.png", false, {}},
      {"menus/main_menu.png ", false, {}},
      {"", false, {}},
  };
  FILE *shared = nullptr;
  for (const LookupCase &c : cases) {
    int size = -12345;
    FILE *stream = pack.openEntry(c.name, size);
    if (!c.isFound) {
      EXPECT_EQ(stream, nullptr) << c.name;
      EXPECT_EQ(size, -12345) << c.name << ": size must stay untouched";
      continue;
    }
    ASSERT_NE(stream, nullptr) << c.name;
    if (shared == nullptr)
      shared = stream;
    EXPECT_EQ(stream, shared) << c.name << ": every lookup hands the same stream";
    EXPECT_EQ(size, (int)c.data.size()) << c.name;
    EXPECT_EQ(readEntry(stream, size), c.data) << c.name;
  }
}

TEST(DataPackTest, RepeatedLookupReturnsToTheFirstDataByte) {
  DataPackBuilder builder;
  builder.add("x.tga", {10, 20, 30, 40});
  DataPack pack(writeTempFile("repeat.pack", builder.build()));
  int firstSize = 0;
  FILE *first = pack.openEntry("x.tga", firstSize);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(fgetc(first), 10);
  EXPECT_EQ(fgetc(first), 20);
  int secondSize = 0;
  FILE *second = pack.openEntry("x.tga", secondSize);
  EXPECT_EQ(second, first);
  EXPECT_EQ(secondSize, firstSize);
  EXPECT_EQ(readEntry(second, secondSize), (Bytes{10, 20, 30, 40}));
}

TEST(DataPackDeathTest, DamagedPacksAreRefused) {
  DataPackBuilder builder;
  builder.add("entry", {1, 2, 3, 4});
  Bytes good = builder.build();
  Bytes cutData(good.begin(), good.end() - 1);
  Bytes badOffset = good;
  badOffset[8 + 4 + 5] = 200;  // the record offset's low byte
  Bytes cutTable(good.begin(), good.begin() + 10);
  Bytes hugeName = good;
  hugeName[8 + 3] = 0x7f;  // a name length beyond the file
  Bytes negativeSize = good;
  negativeSize[good.size() - 5] = 0xff;  // the size's high byte

  struct DamagedCase {
    const char *name;
    Bytes file;
    const char *message;
  };
  const DamagedCase cases[] = {
      {"wrong magic", Bytes{'V', 'D', 'P', 'X', 0, 0, 0, 0}, "' is not a data pack"},
      {"data cut", cutData, "DataPack : entry 'entry' lies outside '"},
      {"offset past the end", badOffset, "DataPack : entry 'entry' lies outside '"},
      {"table cut", cutTable, "DataPack : unexpected end of '"},
      {"name past the end", hugeName, "DataPack : unexpected end of '"},
      {"negative size", negativeSize, "DataPack : entry 'entry' lies outside '"},
  };
  for (const DamagedCase &c : cases) {
    std::string path = writeTempFile("damaged.pack", c.file);
    EXPECT_EXIT(DataPack pack(path), testing::ExitedWithCode(1),
                std::string("\nMessage: .*") + c.message)
        << c.name;
  }
  EXPECT_EXIT(DataPack pack("/nonexistent/none.pack"), testing::ExitedWithCode(1),
              "\nMessage: DataPack : can't open '/nonexistent/none.pack'\n");
}

}  // namespace
