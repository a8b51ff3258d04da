// Static shadows: the stored flags and triangles of small scenes, the console
// lines, the mends (points outside the table, corners in the light's plane,
// faces too large to cut), the fast path against the reference on random
// worlds, the world file round trip, and a shadowed scene on screen.
#include "CubeZoneStaticShadows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <GL/gl.h>

#include "Camera.h"
#include "Colour.h"
#include "CubeType.h"
#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "IndexedWorld.h"
#include "Scene3D.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "src/ShadowTestWorld.h"
#include "src/WorldTestFolder.h"

namespace {

typedef CubeZoneStaticShadows Shadows;

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

const Shadows::Path bothPaths[2] = {Shadows::PATH_REFERENCE, Shadows::PATH_FAST};

const char *pathName(Shadows::Path path) {
  return path == Shadows::PATH_REFERENCE ? "reference" : "fast";
}

// Types 0 and 1 are collidable, type 2 is not.
class ShadowTest : public testing::Test {
 protected:
  ShadowTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void SetUp() override {
    cubeTypeManager = new CubeTypeManager();
    testing::internal::CaptureStdout();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    cubeTypeManager->addCubeType(faceNames, false, false, false, false);
    testing::internal::GetCapturedStdout();
    worldIndexator = new WorldIndexator(320.f);
  }
  void TearDown() override {
    delete worldIndexator;
    worldIndexator = NULL;
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  // Adds a zone and returns where it landed.
  CubeZone &add(const Float3 &center, const Float3 &size, int type = 0) {
    EXPECT_TRUE(worldIndexator->addZone(CubeZone(type, center, size)));
    WorldRegion *region = worldIndexator->getRegion(worldIndexator->regionIndexOf(center));
    return region->zones.back();
  }
  // The zone first added at center (pointers into the lists change as they grow).
  CubeZone &zoneAt(const Float3 &center) {
    WorldRegion *region = worldIndexator->getRegion(worldIndexator->regionIndexOf(center));
    for (CubeZone &zone : region->zones)
      if (zone.center == center)
        return zone;
    ADD_FAILURE() << "no zone";
    return region->zones.front();
  }
  std::string computeAt(const Float3 &point, Shadows::Path path) {
    testing::internal::CaptureStdout();
    Shadows::computeShadowsAt(point, path);
    return testing::internal::GetCapturedStdout();
  }
  std::string computeAll(Shadows::Path path) {
    testing::internal::CaptureStdout();
    Shadows::computeAllShadows(path);
    return testing::internal::GetCapturedStdout();
  }

  WorldTestFolder folder;
};

bool isAllFinite(const CubeZone &zone) {
  for (const std::vector<Float3> &list : zone.shadowTrianglesForEachFace)
    for (const Float3 &p : list)
      if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(p.z()))
        return false;
  return true;
}

// A cube under a cube: the lower cube's top gets the corner of the upper
// cube's shadow, from about 3 to 10 on x and z.
TEST_F(ShadowTest, CubeUnderACubeGetsEightTrianglesOnItsTop) {
  for (Shadows::Path path : bothPaths) {
    SCOPED_TRACE(pathName(path));
    worldIndexator->reset();
    add(Float3(5, 5, 5), Float3(10, 10, 10));
    add(Float3(5, 25, 5), Float3(10, 10, 10));
    EXPECT_EQ(computeAt(Float3(5, 5, 5), path),
              "Calculating shadows for region 1x1x1:\n==\nCalculating shadows done.\n");
    const CubeZone &low = zoneAt(Float3(5, 5, 5));
    const bool backFaces[6] = {false, true, true, false, false, true};
    for (int j = 0; j < 6; ++j)
      EXPECT_EQ(low.isFaceInShadow[j], backFaces[j]) << j;
    const std::vector<Float3> &top = low.shadowTrianglesForEachFace[3];
    ASSERT_EQ(top.size(), 24u);
    float lowest[2] = {5, 5};
    for (const Float3 &p : top) {
      EXPECT_EQ(p.y(), 5.f);
      EXPECT_GE(p.x(), -2.4f);
      EXPECT_LE(p.x(), 5.f);
      EXPECT_GE(p.z(), -2.4f);
      EXPECT_LE(p.z(), 5.f);
      lowest[0] = std::min(lowest[0], p.x());
      lowest[1] = std::min(lowest[1], p.z());
    }
    // The edge: the upper cube's lower corner seen from the light, to 0.1.
    Float3 light = Shadows::shadowLightOf(Int3(1, 1, 1));
    float s = (10 - light.y()) / (20 - light.y());
    float edge = light.x() + (0 - light.x()) * s - 5;
    EXPECT_NEAR(lowest[0], edge, 0.1f);
    EXPECT_NEAR(lowest[1], edge, 0.1f);
    // The quarter holding the shadow's corner: one triangle in both windings.
    EXPECT_EQ(top[0], top[5]);
    EXPECT_EQ(top[1], top[4]);
    EXPECT_EQ(top[2], top[3]);
    for (int j : {0, 4})
      EXPECT_TRUE(low.shadowTrianglesForEachFace[j].empty()) << j;
    // Nothing above the upper cube.
    for (int j = 0; j < 6; ++j)
      EXPECT_TRUE(zoneAt(Float3(5, 25, 5)).shadowTrianglesForEachFace[j].empty()) << j;
  }
}

// A taller -x neighbour crosses the top plane: no shadow from it on the top;
// its triangles on the -x face lie inside it and are removed, unless it is
// not solid.
TEST_F(ShadowTest, TallerMinusXNeighbour) {
  const struct {
    int neighbourType;
    bool isMinusXShaded;
  } cases[] = {{0, false}, {2, true}};
  for (const auto &c : cases)
    for (Shadows::Path path : bothPaths) {
      SCOPED_TRACE(pathName(path));
      SCOPED_TRACE(c.neighbourType);
      worldIndexator->reset();
      add(Float3(5, 5, 5), Float3(10, 10, 10));
      add(Float3(-5, 10, 5), Float3(10, 20, 10), c.neighbourType);
      computeAt(Float3(5, 5, 5), path);
      const CubeZone &zone = zoneAt(Float3(5, 5, 5));
      EXPECT_TRUE(zone.shadowTrianglesForEachFace[3].empty());
      EXPECT_EQ(!zone.shadowTrianglesForEachFace[0].empty(), c.isMinusXShaded);
    }
}

// A caster straddling the -x plane, the light at lower x: the face sees
// the part on the light's side; the same caster moved wholly past the
// plane away from the light casts nothing on it.
TEST_F(ShadowTest, StraddlingCasterShadesTheMinusXFace) {
  const struct {
    float casterX;
    bool isShaded;
  } cases[] = {{0, true}, {20, false}};
  for (const auto &c : cases)
    for (Shadows::Path path : bothPaths) {
      SCOPED_TRACE(pathName(path));
      SCOPED_TRACE(c.casterX);
      worldIndexator->reset();
      add(Float3(5, 5, 5), Float3(10, 10, 10));
      // Across the region border at x = 0: placed in the zone's region.
      worldIndexator->getRegion(Int3(1, 1, 1))
          ->zones.push_back(CubeZone(0, Float3(c.casterX, 15, 5), Float3(10, 6, 10)));
      computeAt(Float3(5, 5, 5), path);
      const std::vector<Float3> &face = zoneAt(Float3(5, 5, 5)).shadowTrianglesForEachFace[0];
      EXPECT_EQ(!face.empty(), c.isShaded);
      for (const Float3 &p : face) {
        EXPECT_EQ(p.x(), -5.f);
        EXPECT_LE(std::fabs(p.y()), 5.f);
        EXPECT_LE(std::fabs(p.z()), 5.f);
      }
    }
}

// A 25-unit face under a wide roof: two full cells of two triangles each,
// each cell minus 0.001 at every border; the last 5 units get none.
TEST_F(ShadowTest, TwentyFiveUnitFaceFullCells) {
  for (Shadows::Path path : bothPaths) {
    SCOPED_TRACE(pathName(path));
    worldIndexator->reset();
    add(Float3(5, 5, 5), Float3(10, 10, 10));
    WorldRegion *region = worldIndexator->getRegion(worldIndexator->regionIndexOf(Float3(5, 5, 5)));
    region->zones[0] = CubeZone(0, Float3(12.5f, 5, 5), Float3(25, 10, 10));
    region->zones.push_back(CubeZone(0, Float3(10, 40, 10), Float3(200, 10, 200)));
    computeAt(Float3(5, 5, 5), path);
    const std::vector<Float3> &top = region->zones[0].shadowTrianglesForEachFace[3];
    const float in = 0.001f;
    // Faces 0, 3 and 4 wind (a, d, b) and (a, c, d).
    auto cell = [&](float minH, float maxH) {
      Float3 a(minH + in, 5, -5 + in), b(maxH - in, 5, -5 + in), c(minH + in, 5, 5 - in),
          d(maxH - in, 5, 5 - in);
      return std::vector<Float3>{a, d, b, a, c, d};
    };
    std::vector<Float3> expected = cell(-12.5f, -2.5f);
    std::vector<Float3> second = cell(-2.5f, 7.5f);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(top, expected);
  }
}

// The two-triangle pattern's winding and 3D mapping per face, and the
// single-corner pattern.
TEST_F(ShadowTest, ShadeCellPatternsOnStoredTriangles) {
  // One triangle covering the whole cell: four corners in shadow.
  std::vector<Float2> all = {Float2(-100, -100), Float2(100, -100), Float2(0, 100)};
  struct Case {
    int face;
    Float3 first;
  };
  const float in = 0.001f, far = 10.f - 0.001f;
  const Case cases[] = {{0, Float3(7, in, in)}, {1, Float3(7, far, in)}, {2, Float3(far, 7, in)},
                        {3, Float3(in, 7, in)}, {4, Float3(in, in, 7)},  {5, Float3(far, in, 7)}};
  for (const Case &c : cases) {
    std::vector<Float3> cell;
    EXPECT_TRUE(Shadows::shadeCell(cell, 7, all, c.face, 0, 10, 0, 10));
    ASSERT_EQ(cell.size(), 6u) << c.face;
    EXPECT_EQ(cell[0], c.first) << c.face;
  }
  // Only corner a in shadow: the same triangle twice, in opposite windings.
  std::vector<Float2> corner = {Float2(-1, -1), Float2(2, -1), Float2(-1, 2)};
  std::vector<Float3> out;
  EXPECT_TRUE(Shadows::shadeCell(out, 0, corner, 3, 0, 5, 0, 5));
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0], out[5]);
  EXPECT_EQ(out[1], out[4]);
  EXPECT_EQ(out[2], out[3]);
  EXPECT_EQ(out[0], Float3(0.001f, 0, 0.001f));
  // The edge points lie on the hypotenuse h + v = 1, to 0.1.
  EXPECT_NEAR(out[1].x() + out[1].z(), 1.f, 0.1f);
  EXPECT_NEAR(out[2].x() + out[2].z(), 1.f, 0.1f);
  // No corner in shadow: nothing.
  std::vector<Float3> none;
  EXPECT_FALSE(Shadows::shadeCell(none, 0, std::vector<Float2>(), 3, 0, 10, 0, 10));
  EXPECT_TRUE(none.empty());
}

TEST_F(ShadowTest, PointInTriangleCountsCrossingsOfHalfOpenEdges) {
  const Float2 triangle[3] = {Float2(0, 0), Float2(10, 0), Float2(0, 10)};
  const struct {
    Float2 point;
    bool isInside;
  } cases[] = {
      {Float2(1, 1), true},   {Float2(5, 4.9f), true}, {Float2(5, 5.1f), false},
      {Float2(-1, 1), false}, {Float2(1, -1), false},  {Float2(0, 5), false},
      {Float2(1, 0), false},  {Float2(1, 10), false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Shadows::isPointInTriangle(c.point, triangle), c.isInside)
        << c.point.x() << "," << c.point.y();
}

TEST_F(ShadowTest, ComputingTwiceGivesTheSameData) {
  LandscapeOptions options;
  options.cellCubes = 8;
  options.maxHeightCubes = 12;
  addLandscape(7, options);
  computeAll(Shadows::PATH_FAST);
  std::vector<unsigned char> first = worldBytes();
  computeAll(Shadows::PATH_FAST);
  EXPECT_EQ(worldBytes(), first);
  computeAll(Shadows::PATH_REFERENCE);
  EXPECT_EQ(worldBytes(), first);
}

TEST_F(ShadowTest, ConsoleLinesOfAllRegions) {
  add(Float3(5, 5, 5), Float3(10, 10, 10));
  add(Float3(5, 25, 5), Float3(10, 10, 10));
  add(Float3(-5, 5, -5), Float3(10, 10, 10));
  for (Shadows::Path path : bothPaths)
    EXPECT_EQ(computeAll(path),
              "Calculating shadows ... please wait ...\n"
              "Region 0x0x0 \nRegion 0x1x0 =\nRegion 0x0x1 \nRegion 0x1x1 \n"
              "Region 1x0x0 \nRegion 1x1x0 \nRegion 1x0x1 \nRegion 1x1x1 ==\n"
              "... calculating shadows done.\n")
        << pathName(path);
}

// The editor's cursor may be anywhere: outside the table nothing happens.
TEST_F(ShadowTest, PointOutsideTheTableComputesNothing) {
  CubeZone &zone = add(Float3(5, 5, 5), Float3(10, 10, 10));
  zone.shadowTrianglesForEachFace[3] = {Float3(1, 2, 3), Float3(4, 5, 6), Float3(7, 8, 9)};
  for (Shadows::Path path : bothPaths) {
    EXPECT_EQ(computeAt(Float3(5000, 5, 5), path),
              "Calculating shadows for region 16x1x1:\nCalculating shadows done.\n");
    EXPECT_EQ(computeAt(Float3(5, -5000, 5), path),
              "Calculating shadows for region 1x-15x1:\nCalculating shadows done.\n");
  }
  EXPECT_EQ(zoneAt(Float3(5, 5, 5)).shadowTrianglesForEachFace[3].size(), 3u);
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
}

// In a world 33 regions tall the light of the lowest region lies in the
// plane of a caster's top: no infinite or NaN point, both paths alike.
TEST_F(ShadowTest, CasterCornerInTheLightsPlaneIsUnusable) {
  add(Float3(5, 5, 5), Float3(10, 10, 10));
  Float3 light = Shadows::shadowLightOf(Int3(1, 1, 1));
  ASSERT_EQ(light.y(), 10160.f);
  add(Float3(5, 10150, 5), Float3(10, 20, 10));
  add(Float3(25, 10140, 5), Float3(10, 20, 10));
  std::vector<unsigned char> results[2];
  for (int p = 0; p < 2; ++p) {
    computeAll(bothPaths[p]);
    const CubeZone &zone = zoneAt(Float3(5, 5, 5));
    EXPECT_TRUE(isAllFinite(zone));
    results[p] = worldBytes();
  }
  EXPECT_EQ(results[0], results[1]);
}

// Zone sizes come from files: faces that would need too many cells are
// skipped with a line, the others are computed.
TEST_F(ShadowTest, FacesTooLargeToCutAreSkipped) {
  const struct {
    Float3 size;
    std::string lines;
  } cases[] = {
      {Float3(1e9f, 10, 1e9f), "\nShadows skipped on face 3 of the zone at (5, 5, 5): too large\n"},
      {Float3(INFINITY, 10, 10),
       "\nShadows skipped on face 3 of the zone at (5, 5, 5): too large\n"
       "\nShadows skipped on face 4 of the zone at (5, 5, 5): too large\n"},
      {Float3(20000, 10, 10), ""},
  };
  for (const auto &c : cases)
    for (Shadows::Path path : bothPaths) {
      SCOPED_TRACE(pathName(path));
      worldIndexator->reset();
      add(Float3(5, 5, 5), Float3(10, 10, 10));
      worldIndexator->getRegion(Int3(1, 1, 1))->zones[0].size = c.size;
      EXPECT_EQ(computeAt(Float3(5, 5, 5), path), "Calculating shadows for region 1x1x1:\n=" +
                                                      c.lines + "\nCalculating shadows done.\n");
    }
}

// The fast path against the reference on random worlds: the same bytes of
// the region lists and the same console text.
TEST_F(ShadowTest, FastPathGivesTheReferenceBytesOnRandomWorlds) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE(seed);
    worldIndexator->reset();
    LandscapeOptions options;
    options.nbRegions = 2;
    options.cellCubes = 4 + seed % 5;
    options.maxHeightCubes = 3 + static_cast<int>(seed * 7 % 14);
    options.nbBoxesPerRegion = 2 + seed % 3;
    options.nbOddZonesPerRegion = seed % 3 * 2;
    addLandscape(seed, options);
    std::string referenceText = computeAll(Shadows::PATH_REFERENCE);
    std::vector<unsigned char> reference = worldBytes();
    std::string fastText = computeAll(Shadows::PATH_FAST);
    ASSERT_EQ(worldBytes(), reference);
    EXPECT_EQ(fastText, referenceText);
  }
}

// A landscape of 4 x 4 regions with random boxes, both paths, same bytes.
TEST_F(ShadowTest, FastPathGivesTheReferenceBytesOnALandscapeOf4x4Regions) {
  LandscapeOptions options;
  options.nbRegions = 4;
  options.cellCubes = 8;
  options.maxHeightCubes = 12;
  options.nbBoxesPerRegion = 2;
  addLandscape(2024, options);
  computeAll(Shadows::PATH_REFERENCE);
  std::vector<unsigned char> reference = worldBytes();
  size_t nbTriangles = 0;
  Int3 size = worldIndexator->tableRegionSize;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        for (const CubeZone &zone : worldIndexator->getRegion(Int3(x, y, z))->zones)
          for (const std::vector<Float3> &list : zone.shadowTrianglesForEachFace)
            nbTriangles += list.size() / 3;
  EXPECT_GT(nbTriangles, 100u);
  computeAll(Shadows::PATH_FAST);
  EXPECT_EQ(worldBytes(), reference);
}

// A whole world file: magic, version, no cube types, the empty table.
std::vector<unsigned char> emptyWorldFile() {
  std::vector<unsigned char> bytes = {'W', 'O', 'R', 'L', 'D', 1, 0, 0, 0, 0, 0, 0, 0};
  const int32_t table[6] = {-1, -1, -1, 2, 2, 2};
  for (int32_t value : table)
    for (int b = 0; b < 4; ++b)
      bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(value) >> (8 * b)));
  bytes.resize(bytes.size() + 8 * 16, 0);
  return bytes;
}

// A floor under a cube, in a whole indexed world: saved and loaded, and
// drawn.
class ShadowWorldTest : public testing::Test {
 protected:
  ShadowWorldTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void SetUp() override {
    writeWholeFile("world.dat", emptyWorldFile());
    testing::internal::CaptureStdout();
    world = new IndexedWorld();
    world->addCubeType(faceNames, false, false, false, true);
    EXPECT_TRUE(world->addCubeZone(Float3(90, 10, 90), Float3(45, 5, 45), 0));
    EXPECT_TRUE(world->addCubeZone(Float3(10, 10, 10), Float3(45, 35, 45), 0));
    CubeZoneStaticShadows::computeAllShadows();
    testing::internal::GetCapturedStdout();
  }
  void TearDown() override {
    delete world;
    world = NULL;
    scene3D->camera->setRotation(Float3(0, 0, 0));
    scene3D->camera->position = Float3(0, 0, 0);
  }
  std::vector<unsigned char> save() {
    testing::internal::CaptureStdout();
    world->saveWorld();
    testing::internal::GetCapturedStdout();
    return readWholeFile("world.dat");
  }
  const CubeZone &floorZone() { return worldIndexator->getRegion(Int3(1, 1, 1))->zones[0]; }

  WorldTestFolder folder;
  IndexedWorld *world = NULL;
};

TEST_F(ShadowWorldTest, FileRoundTripKeepsTheShadows) {
  CubeZone before = floorZone();
  ASSERT_FALSE(before.shadowTrianglesForEachFace[3].empty());
  std::vector<unsigned char> first = save();
  testing::internal::CaptureStdout();
  world->loadWorld();
  testing::internal::GetCapturedStdout();
  const CubeZone &after = floorZone();
  for (int j = 0; j < 6; ++j) {
    EXPECT_EQ(after.isFaceInShadow[j], before.isFaceInShadow[j]) << j;
    EXPECT_EQ(after.shadowTrianglesForEachFace[j], before.shadowTrianglesForEachFace[j]) << j;
  }
  EXPECT_EQ(save(), first);
  // The reference computes the same file.
  testing::internal::CaptureStdout();
  CubeZoneStaticShadows::computeAllShadows(CubeZoneStaticShadows::PATH_REFERENCE);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(save(), first);
}

// Looking down, the floor's top is darkened by the overlay inside the cube's
// shadow only; the cube's +x face, turned away from the light, shows its
// shadowed picture.
TEST_F(ShadowWorldTest, ShadowedSceneOnScreen) {
  const struct {
    const char *what;
    Float3 cameraPosition;
    float pitch, heading;
    unsigned char r, g, b;
  } cases[] = {
      // The top picture (10, 200, 100) under half-transparent black.
      {"floor in the shadow", Float3(54, 100, 54), -90, 0, 5, 100, 50},
      {"floor in the light", Float3(20, 100, 20), -90, 0, 10, 200, 100},
      // The shadowed right picture.
      {"back face", Float3(80, 35, 45), 0, 90, 110, 100, 50},
  };
  WorldRegion *region = worldIndexator->getRegion(Int3(1, 1, 1));
  testing::internal::CaptureStdout();
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    scene3D->camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene3D->camera->position = c.cameraPosition;
    glColor4f(1, 1, 1, 1);
    deviceManager->clearScreen(colourBlack);
    scene3D->apply3DView();
    region->draw();
    unsigned char pixel[4];
    readBackPixel(400, 300, pixel);
    EXPECT_NEAR(pixel[0], c.r, 12);
    EXPECT_NEAR(pixel[1], c.g, 12);
    EXPECT_NEAR(pixel[2], c.b, 12);
  }
  testing::internal::GetCapturedStdout();
}

}  // namespace
