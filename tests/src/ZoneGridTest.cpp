// The region's zone grid gives the same geometry as asking every zone of the
// list about every face: over many generated regions (random boxes, packed
// cubes with holes, terrain columns, zones touching, overlapping, straddling
// by a hair, large slabs, empty and odd boxes, non-collidable and randomly
// textured types, shadows), the region's vertex lists, groups and used marks
// are the same bytes as those of the list scan.
#include "ZoneGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "CubeZone.h"
#include "GLTestEnvironment.h"
#include "RandomGenerator.h"
#include "VBO.h"
#include "WorldRegion.h"
#include "WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};
const std::string otherFaceNames[6] = {"a.png", "b.png", "c.png", "d.png", "e.png", "f.png"};

std::vector<std::string> allFaceNames() {
  std::vector<std::string> names(faceNames, faceNames + 6);
  names.insert(names.end(), otherFaceNames, otherFaceNames + 6);
  return names;
}

// Cube types: 0 solid, 1 not collidable, 2 solid with random texture
// offsets, 3 solid with stretched and divided coordinates and other pictures,
// 4 not collidable with the other pictures.
const int nbTypes = 5;

template <typename T>
bool sameBytes(const std::vector<T> &a, const std::vector<T> &b) {
  return a.size() == b.size() &&
         (a.empty() || memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

// Empty when both sets hold the same groups with byte-identical lists.
std::string differenceOf(const VBOSet &expected, const VBOSet &actual) {
  if (expected.geometryByTexture.size() != actual.geometryByTexture.size())
    return "group counts " + std::to_string(expected.geometryByTexture.size()) + " and " +
           std::to_string(actual.geometryByTexture.size());
  auto a = actual.geometryByTexture.begin();
  for (const auto &e : expected.geometryByTexture) {
    std::string group = "group of texture " + std::to_string(e.first);
    if (a->first != e.first)
      return group + " against texture " + std::to_string(a->first);
    const TextureGeometry &x = e.second, &y = a->second;
    if (!sameBytes(x.verticesQuadVect, y.verticesQuadVect))
      return group + ": quad corners (" + std::to_string(x.verticesQuadVect.size()) + " and " +
             std::to_string(y.verticesQuadVect.size()) + ")";
    if (!sameBytes(x.texCoordQuadVect, y.texCoordQuadVect))
      return group + ": quad texture coordinates";
    if (!sameBytes(x.verticesTriVect, y.verticesTriVect))
      return group + ": triangle corners";
    if (!sameBytes(x.texCoordTriVect, y.texCoordTriVect))
      return group + ": triangle texture coordinates";
    if (x.isOverlay != y.isOverlay)
      return group + ": overlay mark";
    ++a;
  }
  return "";
}

// The zones of one generated region and what kind of region it is.
struct GeneratedRegion {
  std::string what;
  std::vector<CubeZone> zones;
};

class RegionGenerator {
 public:
  explicit RegionGenerator(unsigned seed) : rng(seed) {}

  int anyInt(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
  float anyFloat(float low, float high) {
    return std::uniform_real_distribution<float>(low, high)(rng);
  }
  bool chance(double p) { return std::bernoulli_distribution(p)(rng); }
  // Mostly solid, some not collidable, some of the other options.
  int anyType() {
    const int weighted[] = {0, 0, 0, 0, 1, 2, 3, 4};
    return weighted[anyInt(0, 7)];
  }
  // Offsets around the probes' reach (0.9999 of a half cube is 0.0005 short
  // of the face corner) and the region tolerance of 0.01.
  float hair() {
    const float offsets[] = {0,       0,        0,       0.0004f,  -0.0004f,
                             0.0005f, -0.0005f, 0.0006f, -0.0006f, 0.005f,
                             -0.005f, 0.01f,    -0.01f,  0.5f,     -0.5f};
    return offsets[anyInt(0, 14)];
  }

  CubeZone cube(const Float3 &center, const Float3 &size) {
    CubeZone zone(anyType(), center, size);
    if (chance(0.2))
      addShadows(zone);
    return zone;
  }

  void addShadows(CubeZone &zone) {
    for (int face = 0; face < 6; ++face) {
      if (chance(0.2)) {
        zone.isFaceInShadow[face] = true;
        continue;
      }
      int nbTriangles = anyInt(0, 2);
      for (int k = 0; k < 3 * nbTriangles; ++k)
        zone.shadowTrianglesForEachFace[face].push_back(
            Float3(anyFloat(-5, 5), anyFloat(-5, 5), anyFloat(-5, 5)));
    }
  }

  GeneratedRegion randomBoxes() {
    GeneratedRegion region{"random boxes", {}};
    int nbZones = anyInt(1, 160);
    for (int i = 0; i < nbZones; ++i) {
      if (chance(0.5)) {
        // On the cube grid, often touching or inside one another.
        Float3 size(10.f * anyInt(1, 6), 10.f * anyInt(1, 6), 10.f * anyInt(1, 6));
        Float3 center(5.f * anyInt(0, 20) + hair(), 5.f * anyInt(0, 20) + hair(),
                      5.f * anyInt(0, 20) + hair());
        region.zones.push_back(cube(center, size));
      } else {
        Float3 size(anyFloat(0.01f, 90), anyFloat(0.01f, 90), anyFloat(0.01f, 90));
        Float3 center(anyFloat(0, 320), anyFloat(0, 320), anyFloat(0, 320));
        region.zones.push_back(cube(center, size));
      }
      // Now and then the same box twice: each hides the other's faces.
      if (chance(0.05))
        region.zones.push_back(region.zones.back());
    }
    return region;
  }

  GeneratedRegion packedCubes() {
    GeneratedRegion region{"packed cubes", {}};
    int side = anyInt(2, 7);
    float edge = chance(0.5) ? 10.f : 10.f * anyInt(1, 4);
    Float3 shift(hair(), hair(), hair());
    for (int x = 0; x < side; ++x)
      for (int y = 0; y < side; ++y)
        for (int z = 0; z < side; ++z) {
          if (chance(0.15))
            continue;
          Float3 center = Float3(x + 0.5f, y + 0.5f, z + 0.5f) * edge + shift;
          // A few cubes a hair off their place.
          if (chance(0.1))
            center += Float3(hair(), hair(), hair());
          region.zones.push_back(cube(center, Float3(edge, edge, edge)));
        }
    return region;
  }

  GeneratedRegion terrainColumns() {
    GeneratedRegion region{"terrain columns", {}};
    int side = anyInt(4, 20);
    for (int x = 0; x < side; ++x)
      for (int z = 0; z < side; ++z) {
        int height = anyInt(1, 12);
        if (chance(0.3)) {
          // Two zones stacked, touching at a cube border.
          int lower = anyInt(1, height);
          region.zones.push_back(
              cube(Float3(x * 10.f + 5, lower * 5.f, z * 10.f + 5), Float3(10, lower * 10.f, 10)));
          region.zones.push_back(
              cube(Float3(x * 10.f + 5, lower * 10.f + 25.f, z * 10.f + 5), Float3(10, 50, 10)));
        } else {
          region.zones.push_back(cube(Float3(x * 10.f + 5, height * 5.f, z * 10.f + 5),
                                      Float3(10, height * 10.f, 10)));
        }
      }
    return region;
  }

  // Slabs over the whole region (too large for the grid's cells) with cubes
  // on them, and zones reaching 0.01 beyond the region's sides.
  GeneratedRegion slabsAndBorders() {
    GeneratedRegion region{"slabs and borders", {}};
    int nbSlabs = anyInt(1, 3);
    for (int i = 0; i < nbSlabs; ++i)
      region.zones.push_back(cube(Float3(160, 10.f * i + 5, 160), Float3(320, 10, 320)));
    int nbCubes = anyInt(1, 80);
    for (int i = 0; i < nbCubes; ++i) {
      Float3 center(anyInt(0, 31) * 10.f + 5, nbSlabs * 10.f + 5 + hair(),
                    anyInt(0, 31) * 10.f + 5);
      region.zones.push_back(cube(center, Float3(10, 10, 10)));
    }
    region.zones.push_back(cube(Float3(315.005f, 5, 5), Float3(10, 10, 10)));
    region.zones.push_back(cube(Float3(-0.005f + 5, 5, 315.005f), Float3(10, 10, 10)));
    return region;
  }

  // Empty, flat and inside-out boxes among ordinary ones.
  GeneratedRegion oddBoxes() {
    GeneratedRegion region = packedCubes();
    region.what = "odd boxes";
    int nbOdd = anyInt(1, 10);
    for (int i = 0; i < nbOdd; ++i) {
      Float3 center(anyInt(0, 8) * 5.f, anyInt(0, 8) * 5.f, anyInt(0, 8) * 5.f);
      const Float3 sizes[] = {Float3(0, 0, 0), Float3(10, 0, 10), Float3(-10, 10, 10),
                              Float3(10, 10, -0.001f), Float3(0.001f, 0.001f, 0.001f)};
      region.zones.push_back(cube(center, sizes[anyInt(0, 4)]));
    }
    return region;
  }

  std::mt19937 rng;
};

class ZoneGridTest : public testing::Test {
 protected:
  ZoneGridTest() : folder(allFaceNames()) {}
  void SetUp() override {
    cubeTypeManager = new CubeTypeManager();
    testing::internal::CaptureStdout();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    cubeTypeManager->addCubeType(faceNames, false, false, false, false);
    cubeTypeManager->addCubeType(faceNames, false, false, true, true);
    cubeTypeManager->addCubeType(otherFaceNames, true, true, false, true);
    cubeTypeManager->addCubeType(otherFaceNames, false, false, false, false);
    testing::internal::GetCapturedStdout();
    shadowsEnabled = true;
  }
  void TearDown() override {
    delete cubeTypeManager;
    cubeTypeManager = NULL;
    shadowsEnabled = true;
  }

  std::vector<bool> usedMarks() const {
    std::vector<bool> marks;
    for (const CubeType *type : cubeTypeManager->cubeTypes)
      marks.push_back(type->isUsed);
    return marks;
  }

  // The random texture offsets come from the program's own sequence: the
  // seed picks how far into it both builds start.
  static void startRandomSequenceAt(unsigned seed) {
    resetRandomNumbers();
    for (unsigned i = 0; i < seed % 997; i++)
      randomNumber();
  }

  // Builds the zones the list-scan way and through a region (its grid),
  // each from the same random state and cleared used marks, and compares.
  void expectSameGeometry(const std::vector<CubeZone> &zones, unsigned seed) {
    testing::internal::CaptureStdout();
    cubeTypeManager->clearUsedFlags();
    startRandomSequenceAt(seed);
    VBOSet expected;
    std::vector<CubeZone> listZones = zones;
    for (CubeZone &zone : listZones)
      zone.buildGeometry(expected, listZones);
    std::vector<bool> expectedMarks = usedMarks();
    int expectedNextRandom = randomNumber();

    cubeTypeManager->clearUsedFlags();
    startRandomSequenceAt(seed);
    WorldRegion region;
    region.zones = zones;
    region.buildGeometry();
    std::vector<bool> actualMarks = usedMarks();
    int actualNextRandom = randomNumber();
    testing::internal::GetCapturedStdout();

    ASSERT_TRUE(region.hasGeometry());
    EXPECT_EQ(differenceOf(expected, *region.geometry), "");
    EXPECT_EQ(actualMarks, expectedMarks);
    EXPECT_EQ(actualNextRandom, expectedNextRandom);
  }

  WorldTestFolder folder;
};

TEST_F(ZoneGridTest, GeneratedRegionsGiveTheListScansGeometry) {
  RegionGenerator generator(20261211);
  int nbIndexed = 0, nbRegions = 0;
  for (int round = 0; round < 40; ++round) {
    const GeneratedRegion regions[] = {generator.randomBoxes(), generator.packedCubes(),
                                       generator.terrainColumns(), generator.slabsAndBorders(),
                                       generator.oddBoxes()};
    for (const GeneratedRegion &region : regions) {
      SCOPED_TRACE(region.what + ", round " + std::to_string(round) + ", " +
                   std::to_string(region.zones.size()) + " zones");
      shadowsEnabled = round % 4 != 3;
      expectSameGeometry(region.zones, 1000u + static_cast<unsigned>(round));
      // The grid stands for the list in every generated region.
      ZoneGrid grid(region.zones);
      nbIndexed += grid.isIndexed() ? 1 : 0;
      ++nbRegions;
      if (HasFailure())
        return;
    }
  }
  EXPECT_EQ(nbIndexed, nbRegions);
}

// The benchmark's terrain: 32 x 32 columns of one solid type.
TEST_F(ZoneGridTest, FullTerrainRegionGivesTheListScansGeometry) {
  std::vector<CubeZone> zones;
  for (int x = 0; x < 32; ++x)
    for (int z = 0; z < 32; ++z) {
      int height = 1 + static_cast<int>(8.f + 6.f * std::sin(x * 0.31f) * std::cos(z * 0.23f));
      zones.push_back(CubeZone(0, Float3(x * 10.f + 5, height * 5.f, z * 10.f + 5),
                               Float3(10, height * 10.f, 10)));
    }
  expectSameGeometry(zones, 7);
}

// Zones the grid cannot stand for leave the question to the list scan: the
// geometry is still the list scan's, byte for byte (not-a-number corners
// included).
TEST_F(ZoneGridTest, UnindexableZonesFallBackToTheListScan) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char *what;
    Float3 center;
    Float3 size;
  } cases[] = {
      {"size not a number", Float3(15, 5, 5), Float3(nan, 10, 10)},
      {"infinite size", Float3(15, 5, 5), Float3(10, inf, 10)},
      {"far beyond any region", Float3(1e31f, 5, 5), Float3(10, 10, 10)},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<CubeZone> zones;
    zones.push_back(CubeZone(0, Float3(5, 5, 5), Float3(10, 10, 10)));
    zones.push_back(CubeZone(0, c.center, c.size));
    zones.push_back(CubeZone(0, Float3(5, 15, 5), Float3(10, 10, 10)));
    EXPECT_FALSE(ZoneGrid(zones).isIndexed());
    expectSameGeometry(zones, 3);
  }
}

// A zone of a negative type index ends the build with the point test's own
// check, as the list scan does when it asks that zone.
TEST_F(ZoneGridTest, NegativeTypeIndexEndsTheBuildWithTheZonesCheck) {
  WorldRegion region;
  region.zones.push_back(CubeZone(0, Float3(5, 5, 5), Float3(10, 10, 10)));
  region.zones.push_back(CubeZone(-1, Float3(500, 5, 5), Float3(10, 10, 10)));
  EXPECT_FALSE(ZoneGrid(region.zones).isIndexed());
  EXPECT_EXIT(region.buildGeometry(), testing::ExitedWithCode(1), "Condition: id >= 0\n");
}

}  // namespace
