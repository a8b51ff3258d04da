// Landscape generation through the editor: the flat region, the hillsides,
// height grids (flat, two halves, one-cube columns), the random boxes and
// their settling, the height-map world of 8 x 8 regions, and the keys.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "CubeZone.h"
#include "Editor3D.h"
#include "IndexedWorld.h"
#include "KeyboardManager.h"
#include "RandomGenerator.h"
#include "World.h"
#include "WorldFixture.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

struct Zone {
  Int3 lo, hi;
  int type;
  bool operator==(const Zone &o) const { return lo == o.lo && hi == o.hi && type == o.type; }
};

std::ostream &operator<<(std::ostream &out, const Zone &z) {
  return out << z.lo << "-" << z.hi << " type " << z.type;
}

Int3 rounded(const Float3 &v) {
  return Int3(static_cast<int>(std::lround(v.x())), static_cast<int>(std::lround(v.y())),
              static_cast<int>(std::lround(v.z())));
}

// Every zone, in cubes, sorted (regions hold them in their own orders).
std::vector<Zone> allZones() {
  std::vector<Zone> zones;
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        for (const CubeZone &zone : worldIndexator->getRegion(Int3(x, y, z))->zones)
          zones.push_back({rounded((zone.center - zone.size / 2.f) / 10.f),
                           rounded((zone.center + zone.size / 2.f) / 10.f), zone.cubeTypeIndex});
  std::sort(zones.begin(), zones.end(), [](const Zone &a, const Zone &b) {
    for (unsigned axis = 0; axis < 3; ++axis) {
      if (a.lo[axis] != b.lo[axis])
        return a.lo[axis] < b.lo[axis];
      if (a.hi[axis] != b.hi[axis])
        return a.hi[axis] < b.hi[axis];
    }
    return a.type < b.type;
  });
  return zones;
}

// A grey PNG of the given size whose value at (x, y) comes from the function.
void writeGreyPng(const std::string &name, int width, int height,
                  const std::function<int(int, int)> &value) {
  FILE *file = fopen(name.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<unsigned char> row(width);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      row[x] = static_cast<unsigned char>(value(x, y));
    png_write_row(png, row.data());
  }
  png_write_end(png, NULL);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}

class Editor3DWorldGenerationTest : public WorldFixture {
 protected:
  void SetUp() override {
    createWorld();
    resetRandomNumbers();
    const std::string names[6] = {"top.png",  "top.png",  "side.png",
                                  "side.png", "side.png", "side.png"};
    world->indexedWorld.addCubeType(names, false, false, false, true);
    world->indexedWorld.addCubeType(names, false, false, false, true);
    generation().nbRandomCubes = 0;
  }
  void TearDown() override {
    for (int code = 0; code < nbKeyCodes; ++code)
      keyboardManager->isKeyDown[code] = 0;
  }

  Editor3DWorldGeneration &generation() { return world->editor.worldGeneration; }

  // Region generation with body type 0 and top type 1, console kept.
  std::string generate(const Int3 &center, int hillside, const std::vector<unsigned char> &grid,
                       int width, int height) {
    testing::internal::CaptureStdout();
    generation().generateRegion(center, hillside, grid.empty() ? NULL : grid.data(), 32, 0, 1,
                                width, height);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(Editor3DWorldGenerationTest, FlatRegionIsOneFloorOfTheTopType) {
  testing::internal::CaptureStdout();
  generation().generateOneRegion(Int3(0, 0, 0), 32, 0, 1, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Generate random at BasicVector<3,?(sizeof=4)> (0;0;0;) (type 0)=\n");
  std::vector<Zone> expected = {{Int3(-16, 0, -16), Int3(0, 1, 0), 1},
                                {Int3(-16, 0, 0), Int3(0, 1, 16), 1},
                                {Int3(0, 0, -16), Int3(16, 1, 0), 1},
                                {Int3(0, 0, 0), Int3(16, 1, 16), 1}};
  // One box, split at the region borders through the origin.
  EXPECT_EQ(allZones(), expected);
  EXPECT_EQ(generation().cubesPosBeg, std::vector<Int3>{Int3(-16, 0, -16)});
  EXPECT_EQ(generation().cubesPosEnd, std::vector<Int3>{Int3(16, 1, 16)});
}

TEST_F(Editor3DWorldGenerationTest, HillsidesAre32SlabsInTheirDirections) {
  struct Case {
    int hillside;
    Int3 firstBeg, firstEnd, lastBeg, lastEnd;
  };
  const Case cases[] = {
      {1, Int3(-16, -16, -16), Int3(-15, -15, 17), Int3(15, 15, -16), Int3(16, 16, 17)},
      {2, Int3(-16, 16, -16), Int3(-15, 15, 17), Int3(15, -15, -16), Int3(16, -16, 17)},
      {3, Int3(-16, -16, -16), Int3(17, -15, -15), Int3(-16, 15, 15), Int3(17, 16, 16)},
      {4, Int3(-16, 16, -16), Int3(17, 15, -15), Int3(-16, -15, 15), Int3(17, -16, 16)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "hillside " << c.hillside);
    world->indexedWorld.clearAllRegions();
    generate(Int3(0, 0, 0), c.hillside, {}, 0, 0);
    ASSERT_EQ(generation().cubesPosBeg.size(), 32u);
    EXPECT_EQ(generation().cubesPosBeg.front(), c.firstBeg);
    EXPECT_EQ(generation().cubesPosEnd.front(), c.firstEnd);
    EXPECT_EQ(generation().cubesPosBeg.back(), c.lastBeg);
    EXPECT_EQ(generation().cubesPosEnd.back(), c.lastEnd);
    // Every cube of the slabs was added, all of the top type.
    int volume = 0;
    for (const Zone &zone : allZones()) {
      Int3 d = zone.hi - zone.lo;
      volume += d.x() * d.y() * d.z();
      EXPECT_EQ(zone.type, 1);
    }
    EXPECT_EQ(volume, 32 * 33);
  }
}

TEST_F(Editor3DWorldGenerationTest, HeightGrids) {
  // All samples 5: one body box and one top box (centre inside one region).
  std::vector<unsigned char> flat(16 * 16, 5);
  generate(Int3(16, 0, 16), 0, flat, 16, 16);
  std::vector<Zone> expected = {{Int3(0, 0, 0), Int3(32, 4, 32), 0},
                                {Int3(0, 4, 0), Int3(32, 5, 32), 1}};
  EXPECT_EQ(allZones(), expected);

  // The same at ground level 5 is lifted by 5.
  world->indexedWorld.clearAllRegions();
  generate(Int3(16, 5, 16), 0, flat, 16, 16);
  expected = {{Int3(0, 5, 0), Int3(32, 9, 32), 0}, {Int3(0, 9, 0), Int3(32, 10, 32), 1}};
  EXPECT_EQ(allZones(), expected);

  // Height 1 everywhere: only the top type.
  world->indexedWorld.clearAllRegions();
  generate(Int3(16, 0, 16), 0, std::vector<unsigned char>(4, 1), 2, 2);
  expected = {{Int3(0, 0, 0), Int3(32, 1, 32), 1}};
  EXPECT_EQ(allZones(), expected);

  // Two halves along x (3 then 7): one run per column, so 4 columns along z
  // (each body + top) rather than 8 runs along x.
  world->indexedWorld.clearAllRegions();
  std::vector<unsigned char> halves(4 * 4);
  for (int k = 0; k < 4; ++k)
    for (int i = 0; i < 4; ++i)
      halves[i + k * 4] = i < 2 ? 3 : 7;
  generate(Int3(16, 0, 16), 0, halves, 4, 4);
  std::vector<Zone> zones = allZones();
  ASSERT_EQ(zones.size(), 8u);
  EXPECT_EQ(zones[0], (Zone{Int3(0, 0, 0), Int3(8, 2, 32), 0}));
  EXPECT_EQ(zones[1], (Zone{Int3(0, 2, 0), Int3(8, 3, 32), 1}));
  EXPECT_EQ(zones[7], (Zone{Int3(24, 6, 0), Int3(32, 7, 32), 1}));
  // The record: the 4 rows' runs closed by the change of value, then the 4 columns.
  EXPECT_EQ(generation().cubesPosBeg.size(), 8u);
}

TEST_F(Editor3DWorldGenerationTest, RandomBoxesRestOnTheTerrainAndRepeatFromAFreshStart) {
  generation().nbRandomCubes = 100;
  generate(Int3(16, 0, 16), 0, {}, 0, 0);
  std::vector<Zone> first = allZones();
  size_t nbRecorded = generation().cubesPosBeg.size();
  EXPECT_GT(nbRecorded, 1u);
  // Every random box stands on the floor (y >= 1) or on an earlier box.
  for (size_t n = 1; n < nbRecorded; ++n)
    EXPECT_GE(generation().cubesPosBeg[n].y(), 1) << n;
  // The same draws from a fresh sequence give the same zones.
  world->indexedWorld.clearAllRegions();
  resetRandomNumbers();
  generate(Int3(16, 0, 16), 0, {}, 0, 0);
  EXPECT_EQ(allZones(), first);
  // No random count: no number is drawn.
  generation().nbRandomCubes = 0;
  resetRandomNumbers();
  generate(Int3(16, 0, 16), 0, {}, 0, 0);
  int next = randomNumber();
  resetRandomNumbers();
  EXPECT_EQ(next, randomNumber());
}

TEST_F(Editor3DWorldGenerationTest, MissingHeightmapPrintsOneLine) {
  testing::internal::CaptureStdout();
  EXPECT_FALSE(generation().generateFromHeightmap(Int3(0, 0, 0), 32, 0, 1, 8));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Generate random full world ...\n");
  EXPECT_TRUE(allZones().empty());
}

TEST_F(Editor3DWorldGenerationTest, HeightmapWorldOf8x8Regions) {
  // 64 x 64 grey: red 40 everywhere except one step of 90 in the last
  // 8 rows; factor 2 gives heights 9 and 19.
  writeGreyPng("world_heightmap.png", 64, 64, [](int, int y) { return y >= 56 ? 90 : 40; });
  testing::internal::CaptureStdout();
  EXPECT_TRUE(generation().generateFromHeightmap(Int3(0, 0, 0), 32, 0, 1, 8));
  std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(output, "Generate random full world ...\n" + std::string(64, '=') +
                        "... Generate random full world done.\n");
  std::vector<Zone> zones = allZones();
  // Every region is one flat column (body + top): 128 zones.
  ASSERT_EQ(zones.size(), 128u);
  EXPECT_EQ(zones.front(), (Zone{Int3(-128, 0, -128), Int3(-96, 8, -96), 0}));
  EXPECT_EQ(zones.back(), (Zone{Int3(96, 18, 96), Int3(128, 19, 128), 1}));
  int tall = 0;
  for (const Zone &zone : zones)
    tall += zone.hi.y() == 19 ? 1 : 0;
  EXPECT_EQ(tall, 8);
}

TEST_F(Editor3DWorldGenerationTest, OversizedHeightmapIsRefused) {
  writeGreyPng("world_heightmap.png", 16385, 1, [](int, int) { return 0; });
  testing::internal::CaptureStdout();
  EXPECT_FALSE(generation().generateFromHeightmap(Int3(0, 0, 0), 32, 0, 1, 8));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Generate random full world ...\nHeight map 'world_heightmap.png' is 16385 x 1 "
            "pixels; at most 16384 on a side is accepted\n");
}

TEST_F(Editor3DWorldGenerationTest, GenerationKeys) {
  world->onKey('a', 0);
  auto pressG = [this](std::initializer_list<int> held) {
    for (int h : held)
      keyboardManager->isKeyDown[h] = 1;
    testing::internal::CaptureStdout();
    world->onKey('g', 0);
    std::string out = testing::internal::GetCapturedStdout();
    for (int h : held)
      keyboardManager->isKeyDown[h] = 0;
    return out;
  };
  world->editor.cursor = Int3(16, 0, 16);
  EXPECT_EQ(pressG({'3'}), "Generate random at BasicVector<3,?(sizeof=4)> (16;0;16;) (type 3)=\n");
  // Digits tested in order: 2 wins over 4.
  EXPECT_EQ(pressG({'4', '2'}),
            "Generate random at BasicVector<3,?(sizeof=4)> (16;0;16;) (type 2)=\n");
  world->indexedWorld.clearAllRegions();
  pressG({});
  // Body 0, top 1 = the current type + 1.
  EXPECT_EQ(allZones(), (std::vector<Zone>{{Int3(0, 0, 0), Int3(32, 1, 32), 1}}));
  // With the last type current the top type is the current one.
  world->indexedWorld.clearAllRegions();
  world->editor.currentCubeType = 1;
  pressG({});
  EXPECT_EQ(allZones(), (std::vector<Zone>{{Int3(0, 0, 0), Int3(32, 1, 32), 1}}));
  EXPECT_EQ(pressG({257}), "Generate random full world ...\n");
}

}  // namespace
