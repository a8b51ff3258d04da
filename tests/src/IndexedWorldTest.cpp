// The world file: the empty world byte for byte, save-load-save to identical
// bytes, the magic and version checks, truncated and damaged files ending in
// the fatal report, and a save that cannot complete keeping the old file.
// Failing loads are mostly checked inside the test process (a catcher takes
// the report); a few death tests show the real end with status 1.
#include "IndexedWorld.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "FatalReportCatcher.h"
#include "GLTestEnvironment.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

// Little-endian file bytes, remembering where every field ends.
struct FileBytes {
  std::vector<unsigned char> bytes;
  std::vector<size_t> fieldEnds;
  std::map<std::string, size_t> marks;

  void mark(const char *what) { marks[what] = bytes.size(); }

  void raw(const void *data, size_t size) {
    const unsigned char *p = static_cast<const unsigned char *>(data);
    bytes.insert(bytes.end(), p, p + size);
    fieldEnds.push_back(bytes.size());
  }
  void i32(int32_t v) {
    unsigned char b[4];
    for (int i = 0; i < 4; ++i)
      b[i] = static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * i));
    raw(b, 4);
  }
  void f32(float v) {
    int32_t bits;
    memcpy(&bits, &v, 4);
    i32(bits);
  }
  void byte(unsigned char v) { raw(&v, 1); }
  void name(const std::string &s) {
    i32(static_cast<int32_t>(s.size()));
    if (!s.empty())
      raw(s.data(), s.size());
  }
  void header(int nbCubeTypes) {
    raw("WORLD", 5);
    i32(1);
    mark("cube type count");
    i32(nbCubeTypes);
  }
  void cubeType() {
    mark("first name length");
    for (const std::string &n : faceNames)
      name(n);
    for (int i = 0; i < 3; ++i)
      byte(1);
    byte(1);
  }
  void table() {
    mark("origin");
    for (int i = 0; i < 3; ++i)
      i32(-1);
    mark("size");
    for (int i = 0; i < 3; ++i)
      i32(2);
  }
  void emptyList() {
    i32(0);
    i32(0);
  }
};

FileBytes emptyWorld() {
  FileBytes file;
  file.header(0);
  file.table();
  for (int region = 0; region < 8; ++region) {
    file.emptyList();
    file.emptyList();
  }
  return file;
}

// One cube type, one zone with one shadow triangle in region 0, one object
// in region 7.
FileBytes smallWorld() {
  FileBytes file;
  file.header(1);
  file.cubeType();
  file.table();
  for (int region = 0; region < 8; ++region) {
    if (region == 0) {
      file.mark("zone count");
      file.i32(1);
      file.mark("zone extra");
      file.i32(0);
      file.mark("zone centre");
      for (float v : {-5.f, -5.f, -5.f, 10.f, 10.f, 10.f})
        file.f32(v);
      file.mark("zone type");
      file.i32(0);
      file.i32(0);
      for (int face = 0; face < 6; ++face) {
        if (face != 3) {
          file.i32(face == 1 ? -1 : 0);
          continue;
        }
        file.mark("shadow face 3");
        file.i32(3);
        for (int k = 0; k < 9; ++k)
          file.f32(static_cast<float>(k % 3) - 5.f);
      }
    } else {
      file.emptyList();
    }
    if (region == 7) {
      file.mark("object count");
      file.i32(1);
      file.i32(0);
      file.mark("object position");
      for (float v : {100.f, 100.f, 100.f})
        file.f32(v);
      file.i32(4);
    } else {
      file.emptyList();
    }
  }
  return file;
}

std::vector<std::string> leftoverSaveFiles() {
  std::vector<std::string> names;
  DIR *folder = opendir(".");
  if (folder == NULL)
    return names;
  while (dirent *entry = readdir(folder))
    if (strncmp(entry->d_name, "world.dat.", 10) == 0)
      names.push_back(entry->d_name);
  closedir(folder);
  return names;
}

class IndexedWorldTest : public testing::Test {
 protected:
  IndexedWorldTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void TearDown() override {
    delete world;
    world = NULL;
  }
  // Writes world.dat and creates the world from it, quietly.
  void createWorldFrom(const std::vector<unsigned char> &bytes) {
    writeWholeFile("world.dat", bytes);
    testing::internal::CaptureStdout();
    world = new IndexedWorld();
    testing::internal::GetCapturedStdout();
  }
  std::vector<unsigned char> save() {
    testing::internal::CaptureStdout();
    world->saveWorld();
    testing::internal::GetCapturedStdout();
    return readWholeFile("world.dat");
  }

  // The report that ended loading these bytes as "world.dat" ("" when none).
  std::string loadReport(const std::vector<unsigned char> &bytes) {
    writeWholeFile("world.dat", bytes);
    testing::internal::CaptureStdout();
    // Only while loading: death tests must end for real.
    FatalReportCatcher catcher;
    std::string report = catcher.reportOf([this] { world->loadWorld(); });
    testing::internal::GetCapturedStdout();
    return report;
  }

  WorldTestFolder folder;
  IndexedWorld *world = NULL;
};

// Little-endian v at offset of bytes.
void patchInt32(std::vector<unsigned char> &bytes, size_t offset, int32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + i] = static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * i));
}

bool contains(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

TEST_F(IndexedWorldTest, EmptyWorldSavesAs165Bytes) {
  std::vector<unsigned char> expected = emptyWorld().bytes;
  ASSERT_EQ(expected.size(), 165u);
  writeWholeFile("world.dat", expected);
  testing::internal::CaptureStdout();
  world = new IndexedWorld();
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()),
            "==== Loading world from file 'world.dat'\n==== Loading world done\n");
  world->clearAllRegions();
  testing::internal::CaptureStdout();
  world->saveWorld();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "==== Saving world to file 'world.dat'\n==== World saved to file\n");
  EXPECT_EQ(readWholeFile("world.dat"), expected);
  EXPECT_TRUE(leftoverSaveFiles().empty());
}

TEST_F(IndexedWorldTest, SingletonsLiveExactlyAsLongAsTheWorld) {
  createWorldFrom(emptyWorld().bytes);
  EXPECT_NE(cubeTypeManager, nullptr);
  ASSERT_NE(worldIndexator, nullptr);
  EXPECT_EQ(worldIndexator->regionSize, 320.f);
  delete world;
  world = NULL;
  EXPECT_EQ(cubeTypeManager, nullptr);
  EXPECT_EQ(worldIndexator, nullptr);
}

TEST_F(IndexedWorldTest, SmallWorldReadsAndWritesBackTheSameBytes) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  ASSERT_EQ(world->getNbCubeType(), 1);
  EXPECT_TRUE(world->getCubeType(0)->collidable);
  EXPECT_FALSE(world->getCubeType(0)->stretchTexture);
  WorldRegion *first = worldIndexator->getRegion(Int3(0, 0, 0));
  ASSERT_EQ(first->zones.size(), 1u);
  EXPECT_TRUE(first->zones[0].isFaceInShadow[1]);
  EXPECT_EQ(first->zones[0].shadowTrianglesForEachFace[3].size(), 3u);
  WorldRegion *last = worldIndexator->getRegion(Int3(1, 1, 1));
  ASSERT_EQ(last->objects.size(), 1u);
  EXPECT_EQ(last->objects[0].type, 4);
  EXPECT_EQ(last->objects[0].localVariable1, 0.f);
  EXPECT_EQ(save(), file.bytes);
}

TEST_F(IndexedWorldTest, FullWorldSavedLoadedAndSavedAgainIsIdentical) {
  createWorldFrom(emptyWorld().bytes);
  const std::string other[6] = {"left.png", "left.png", "right.png", "right.png", "top.png", ""};
  testing::internal::CaptureStdout();
  EXPECT_EQ(world->addCubeType(faceNames, true, false, true, true), 0);
  EXPECT_EQ(world->addCubeType(other, false, true, false, false), 1);
  testing::internal::GetCapturedStdout();
  // Zones in several regions, growing the table both ways on every axis.
  EXPECT_TRUE(world->addCubeZone(Float3(10, 10, 10), Float3(5, 5, 5), 0));
  EXPECT_TRUE(world->addCubeZone(Float3(30, 10, 20), Float3(-700, 1000, 15), 1));
  EXPECT_TRUE(world->addCubeZone(Float3(10, 20, 10), Float3(2000, -900, -1500), 0));
  EXPECT_FALSE(world->addCubeZone(Float3(20, 10, 10), Float3(320, 5, 5), 0));
  world->addObject(Float3(12.5f, 7, -3), 2);
  world->addObject(Float3(-1000, 5, 5), 0);
  WorldRegion *shadowed = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5, 5, 5)));
  shadowed->zones[0].isFaceInShadow[4] = true;
  shadowed->zones[0].shadowTrianglesForEachFace[0] = {Float3(1, 2, 3), Float3(4, 5, 6),
                                                      Float3(-7.25f, 8, 9)};
  shadowed->zones[0].reserved = 12345;
  Int3 origin = worldIndexator->tableOrigin;
  Int3 size = worldIndexator->tableRegionSize;

  std::vector<unsigned char> first = save();
  testing::internal::CaptureStdout();
  world->loadWorld();
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(worldIndexator->tableOrigin, origin);
  EXPECT_EQ(worldIndexator->tableRegionSize, size);
  EXPECT_EQ(world->getNbCubeType(), 2);
  EXPECT_EQ(world->getCubeType(1)->textureNames[5], "");
  EXPECT_TRUE(world->getCubeType(0)->randomTextureCoordinates);
  std::vector<unsigned char> second = save();
  EXPECT_EQ(second, first);
  EXPECT_GT(first.size(), 165u);
}

TEST_F(IndexedWorldTest, SavingMarksEveryCubeTypeUsed) {
  createWorldFrom(smallWorld().bytes);
  cubeTypeManager->clearUsedFlags();
  save();
  EXPECT_TRUE(cubeTypeManager->cubeTypes[0]->isUsed);
}

struct BadHeaderCase {
  std::vector<unsigned char> bytes;
  const char *report;
};

TEST_F(IndexedWorldTest, MagicAndVersionChecks) {
  createWorldFrom(emptyWorld().bytes);
  auto withHeader = [](const char *magic, size_t magicSize, int32_t version) {
    FileBytes file = emptyWorld();
    memcpy(file.bytes.data(), magic, magicSize);
    for (int i = 0; i < 4; ++i)
      file.bytes[5 + i] = static_cast<unsigned char>(version >> (8 * i));
    return file.bytes;
  };
  const char *magicReport = "Condition: std::string(buf) == std::string(\"WORLD\")\n";
  const BadHeaderCase cases[] = {
      {withHeader("WORLD", 5, 2), "Condition: versionFile == 1\n"},
      {withHeader("WORLD", 5, -1), "Condition: versionFile == 1\n"},
      {withHeader("WORL\0", 5, 1), magicReport},
      {withHeader("ABCD\0", 5, 1), magicReport},
      {withHeader("world", 5, 1), magicReport},
      {std::vector<unsigned char>{'W', 'O', 'R'}, magicReport},
      {std::vector<unsigned char>{'W', 'O', 'R', 'L', 'D', 1}, "Condition: versionFile == 1\n"},
  };
  for (const BadHeaderCase &c : cases)
    EXPECT_TRUE(contains(loadReport(c.bytes), c.report)) << c.report;
  unlink("world.dat");
  EXPECT_EXIT(world->loadWorld(), testing::ExitedWithCode(1), "Condition: fd != NULL\n");
}

TEST_F(IndexedWorldTest, FileCutAtAnyFieldBoundaryEndsInTheFatalReport) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  // Cuts inside the magic and the version fail those checks; the tests above
  // show them. Every later cut names what it was reading.
  for (size_t end : file.fieldEnds) {
    if (end < 9 || end == file.bytes.size())
      continue;
    std::vector<unsigned char> cut(file.bytes.begin(), file.bytes.begin() + static_cast<long>(end));
    std::string report = loadReport(cut);
    EXPECT_TRUE(contains(report, "Message: world file truncated or unreadable while reading") ||
                contains(report, "Message: world file damaged: "))
        << "cut after " << end << " bytes: " << report;
  }
  // The file is whole again: it loads.
  EXPECT_EQ(loadReport(file.bytes), "");
}

// The real end of a failed load: the report on the error stream, status 1.
TEST_F(IndexedWorldTest, CutFileEndsTheProcessWithStatusOne) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  file.bytes.resize(file.marks.at("size") + 6);
  writeWholeFile("world.dat", file.bytes);
  EXPECT_EXIT(
      world->loadWorld(), testing::ExitedWithCode(1),
      "ERROR : .*\nMessage: world file truncated or unreadable while reading the table size\n");
}

TEST_F(IndexedWorldTest, DamagedCountsAndLengthsEndInTheFatalReport) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  struct Case {
    const char *field;
    int32_t value;
    const char *what;
  };
  const Case cases[] = {
      {"cube type count", 0x7fffffff, "damaged: the number of cube types"},
      {"cube type count", -3, "damaged: the number of cube types"},
      {"first name length", 0x7ffffff0, "damaged: the top texture name"},
      {"size", 100000, "damaged: the table size in regions"},
      {"size", -2, "damaged: the table size in regions"},
      {"zone count", 0x40000000, "damaged: a zone count"},
      {"zone count", -1, "damaged: a zone count"},
      {"zone extra", 0x7fffffff, "damaged: a zone list extra byte count"},
      {"shadow face 3", 0x10000000, "damaged: the point count of shadow face 3"},
      {"object count", 2, "damaged: an object count"},
      {"zone type", 1, "damaged: a zone cube type index of 1 is outside the 1 cube types"},
      {"zone type", -1, "damaged: a zone cube type index of -1 is outside the 1 cube types"},
  };
  for (const Case &c : cases) {
    std::vector<unsigned char> damaged = file.bytes;
    patchInt32(damaged, file.marks.at(c.field), c.value);
    std::string report = loadReport(damaged);
    EXPECT_TRUE(contains(report, std::string("Message: world file ") + c.what))
        << c.field << " = " << c.value << ": " << report;
  }
  // Bytes after the last region: a damaged size would have stopped the
  // reader early, and the next save would drop what follows.
  std::vector<unsigned char> longer = file.bytes;
  longer.resize(longer.size() + 7, 0);
  EXPECT_TRUE(
      contains(loadReport(longer), "Message: world file damaged: 7 bytes after the last region\n"));
}

// The table must start at most at region -1 and reach region 0 on every
// axis: anything else would put every zone one region off.
TEST_F(IndexedWorldTest, TableNotSpanningRegionsMinusOneAndZeroIsRefused) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  struct Case {
    int axis;
    int32_t origin;
    int32_t size;
    const char *shown;
  };
  const Case cases[] = {
      {0, 0, 2, "the table origin (0, -1, -1) and size (2, 2, 2)"},
      {1, 1, 2, "the table origin (-1, 1, -1) and size (2, 2, 2)"},
      {2, -2, 2, "the table origin (-1, -1, -2) and size (2, 2, 2)"},
      {0, -2000000000, 2, "the table origin (-2000000000, -1, -1) and size (2, 2, 2)"},
      {1, -1, 1, "the table origin (-1, -1, -1) and size (2, 1, 2)"},
  };
  for (const Case &c : cases) {
    std::vector<unsigned char> damaged = file.bytes;
    patchInt32(damaged, file.marks.at("origin") + 4 * c.axis, c.origin);
    patchInt32(damaged, file.marks.at("size") + 4 * c.axis, c.size);
    std::string report = loadReport(damaged);
    EXPECT_TRUE(contains(report, std::string("Message: world file damaged: ") + c.shown +
                                     " do not span regions -1 and 0 on every axis\n"))
        << c.shown << ": " << report;
  }
}

// The table a file makes us build is no larger than its bytes could fill:
// a 250 KB file cannot ask for a million regions.
TEST_F(IndexedWorldTest, TableSizeIsBoundedByTheFile) {
  FileBytes file = emptyWorld();
  createWorldFrom(file.bytes);
  std::vector<unsigned char> big = file.bytes;
  big.resize(250000, 0);
  // Far from region 0 with a small size: a table of a million regions
  // reaching back to region 0 would be needed.
  std::vector<unsigned char> far = big;
  patchInt32(far, file.marks.at("origin"), -249000);
  EXPECT_TRUE(contains(loadReport(far),
                       "Message: world file damaged: the table origin (-249000, "
                       "-1, -1) and size (2, 2, 2) do not span regions -1 and 0"));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
  // More regions than 16 bytes each could hold.
  std::vector<unsigned char> wide = big;
  patchInt32(wide, file.marks.at("origin"), -500);
  patchInt32(wide, file.marks.at("size"), 1000);
  patchInt32(wide, file.marks.at("size") + 4, 1000);
  EXPECT_TRUE(contains(loadReport(wide),
                       "Message: world file damaged: the table size in regions of 2000000 does "
                       "not fit in the 249963 bytes left\n"));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
}

// Floats that are not finite numbers are refused where they are read.
TEST_F(IndexedWorldTest, NonFiniteFloatsAreRefused) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  struct Case {
    const char *mark;
    size_t offset;
    float value;
    const char *what;
  };
  const Case cases[] = {
      {"zone centre", 0, NAN, "a zone centre"},
      {"zone centre", 16, INFINITY, "a zone size"},
      {"shadow face 3", 4 + 12, -INFINITY, "a shadow triangle point"},
      {"object position", 8, NAN, "an object position"},
  };
  for (const Case &c : cases) {
    std::vector<unsigned char> damaged = file.bytes;
    int32_t bits;
    memcpy(&bits, &c.value, 4);
    patchInt32(damaged, file.marks.at(c.mark) + c.offset, bits);
    std::string report = loadReport(damaged);
    EXPECT_TRUE(contains(report, std::string("Message: world file damaged: ") + c.what +
                                     " is not a finite number\n"))
        << c.what << ": " << report;
  }
}

TEST_F(IndexedWorldTest, SaveThatCannotCompleteKeepsThePreviousFile) {
  FileBytes file = smallWorld();
  createWorldFrom(file.bytes);
  for (int i = 0; i < 500; ++i)
    world->addObject(Float3(static_cast<float>(i), 1, 1), 1);
  // Files may not grow beyond 4000 bytes: the new world (over 8000) cannot
  // be written, while the report still fits the captured error stream.
  EXPECT_EXIT(
      {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit;
        limit.rlim_cur = 4000;
        limit.rlim_max = 4000;
        setrlimit(RLIMIT_FSIZE, &limit);
        world->saveWorld();
      },
      testing::ExitedWithCode(1),
      "Message: the world could not be written completely; the previous world.dat is kept");
  EXPECT_EQ(readWholeFile("world.dat"), file.bytes);
  EXPECT_TRUE(leftoverSaveFiles().empty());
}

}  // namespace
