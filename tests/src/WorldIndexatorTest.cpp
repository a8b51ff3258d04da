// The region table: growth at both ends, region borders with their
// tolerance, shrinking to content, the editor's delete operations, and the
// per-frame walk and draw around the camera with their console lines.
#include "WorldIndexator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Camera.h"
#include "CubeType.h"
#include "CubeTypeManager.h"
#include "GLTestEnvironment.h"
#include "Scene3D.h"
#include "WorldRegion.h"
#include "WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

CubeZone cubeAt(const Float3 &center) {
  return CubeZone(0, center, Float3(10, 10, 10));
}

CustomObject objectAt(const Float3 &position) {
  CustomObject record;
  record.position = position;
  return record;
}

class WorldIndexatorTest : public testing::Test {
 protected:
  WorldIndexatorTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void SetUp() override {
    cubeTypeManager = new CubeTypeManager();
    testing::internal::CaptureStdout();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    testing::internal::GetCapturedStdout();
    worldIndexator = new WorldIndexator(320.f);
  }
  void TearDown() override {
    delete worldIndexator;
    worldIndexator = NULL;
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  WorldRegion *region(int x, int y, int z) { return worldIndexator->getRegion(Int3(x, y, z)); }

  WorldTestFolder folder;
};

TEST_F(WorldIndexatorTest, FreshTableAndRegionIndices) {
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-1, -1, -1));
  struct Case {
    Float3 position;
    Int3 posIndex;
  };
  const Case cases[] = {
      {Float3(-1, 0, 319.9f), Int3(0, 1, 1)},
      {Float3(0, 0, 0), Int3(1, 1, 1)},
      {Float3(320, -320, -320.5f), Int3(2, 0, -1)},
      {Float3(-0.001f, 640, 5), Int3(0, 3, 1)},
  };
  for (const Case &c : cases)
    EXPECT_EQ(worldIndexator->regionIndexOf(c.position), c.posIndex);
}

TEST_F(WorldIndexatorTest, TableGrowsAtBothEndsKeepingContent) {
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(5, 5, 5))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(1000, 5, 5))));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(5, 2, 2));
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-1, -1, -1));
  ASSERT_EQ(region(4, 1, 1)->zones.size(), 1u);
  EXPECT_EQ(region(4, 1, 1)->zones[0].center, Float3(1000, 5, 5));

  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(-700, 5, 5))));
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-3, -1, -1));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(7, 2, 2));
  // Old regions moved up by 2 along x.
  ASSERT_EQ(region(3, 1, 1)->zones.size(), 1u);
  EXPECT_EQ(region(3, 1, 1)->zones[0].center, Float3(5, 5, 5));
  ASSERT_EQ(region(6, 1, 1)->zones.size(), 1u);
  ASSERT_EQ(region(0, 1, 1)->zones.size(), 1u);
  EXPECT_EQ(region(0, 1, 1)->zones[0].center, Float3(-700, 5, 5));

  // Growth along every axis at once, for an object.
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(-1000, 700, -1000))));
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-4, -1, -4));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(8, 4, 5));
  EXPECT_EQ(region(0, 3, 0)->objects.size(), 1u);
  EXPECT_EQ(region(4, 1, 4)->zones.size(), 1u);
}

TEST_F(WorldIndexatorTest, BoxesFitOneRegionWithinTheTolerance) {
  struct Case {
    const char *what;
    Float3 center, size;
    bool isPlaced;
    Int3 posIndex;
  };
  const Case cases[] = {
      {"across the border", Float3(320, 5, 5), Float3(20, 10, 10), false, Int3()},
      {"0.005 beyond the high side", Float3(315.0025f, 5, 5), Float3(10.005f, 10, 10), true,
       Int3(1, 1, 1)},
      {"0.005 below the low side", Float3(4.9975f, 5, 5), Float3(10.005f, 10, 10), true,
       Int3(1, 1, 1)},
      {"0.05 beyond", Float3(315.025f, 5, 5), Float3(10.05f, 10, 10), false, Int3()},
      {"a whole region", Float3(160, 160, 160), Float3(320, 320, 320), true, Int3(1, 1, 1)},
      {"a point on the border", Float3(320, 0, 0), Float3(0, 0, 0), true, Int3(2, 1, 1)},
  };
  for (const Case &c : cases) {
    Int3 before = worldIndexator->tableRegionSize;
    Int3 posIndex(-9, -9, -9);
    EXPECT_EQ(worldIndexator->findRegionForBox(c.center, c.size, posIndex), c.isPlaced) << c.what;
    if (c.isPlaced) {
      EXPECT_EQ(posIndex, c.posIndex) << c.what;
    }
    if (!c.isPlaced) {
      EXPECT_EQ(worldIndexator->tableRegionSize, before) << c.what;
      EXPECT_FALSE(worldIndexator->addZone(CubeZone(0, c.center, c.size))) << c.what;
    }
  }
}

TEST_F(WorldIndexatorTest, FitTableToContentKeepsRegionsMinusOneAndZero) {
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(3 * 320 + 5, 5, -2 * 320 + 5))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(5000, 5, 5))));
  ASSERT_TRUE(worldIndexator->deleteAt(Float3(5000, 5, 5)));
  worldIndexator->fitTableToContent();
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-1, -1, -2));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(5, 2, 3));
  ASSERT_EQ(region(4, 1, 0)->zones.size(), 1u);

  worldIndexator->clearRegionAt(Float3(3 * 320 + 5, 5, -2 * 320 + 5));
  worldIndexator->fitTableToContent();
  EXPECT_EQ(worldIndexator->tableOrigin, Int3(-1, -1, -1));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
}

TEST_F(WorldIndexatorTest, DeleteOperations) {
  // Region (0, 0, 0): zones at distances 5 and 5 (the later one wins) and an
  // object nearer than both.
  const Float3 point(100, 100, 100);
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(105, 100, 100))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(95, 100, 100))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(150, 100, 100))));
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(101, 100, 100))));
  WorldRegion *r = region(1, 1, 1);

  ASSERT_TRUE(worldIndexator->deleteNearest(point));
  ASSERT_EQ(r->zones.size(), 2u);
  EXPECT_EQ(r->zones[0].center, Float3(105, 100, 100));
  EXPECT_EQ(r->objects.size(), 1u);

  EXPECT_FALSE(worldIndexator->deleteAt(Float3(150, 100, 100.5f)));
  EXPECT_TRUE(worldIndexator->deleteAt(Float3(150, 100, 100)));
  EXPECT_TRUE(worldIndexator->deleteAt(Float3(101, 100, 100)));
  EXPECT_TRUE(r->objects.empty());
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(200, 100, 100))));
  EXPECT_TRUE(worldIndexator->deleteNearest(point));  // the last zone
  EXPECT_TRUE(worldIndexator->deleteNearest(point));  // then the object
  EXPECT_FALSE(worldIndexator->deleteNearest(point));
  EXPECT_FALSE(worldIndexator->deleteAt(Float3(9000, 0, 0)));
  EXPECT_FALSE(worldIndexator->deleteNearest(Float3(9000, 0, 0)));
}

TEST_F(WorldIndexatorTest, PointCollisionLooksInTheRegionOfThePoint) {
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(5, 5, 5))));
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(50, 5, 5))));
  EXPECT_TRUE(worldIndexator->isCollidingPoint(Float3(10, 10, 10)));
  EXPECT_FALSE(worldIndexator->isCollidingPoint(Float3(50, 5, 5)));
  EXPECT_FALSE(worldIndexator->isCollidingPoint(Float3(-5000, 5, 5)));
}

TEST_F(WorldIndexatorTest, RegionOutsideTheTableIsFatal) {
  EXPECT_EXIT(worldIndexator->getRegion(Int3(2, 0, 0)), testing::ExitedWithCode(1),
              "Condition: posIndex >= Int3\\(0,0,0\\) && posIndex < tableRegionSize\n");
}

// Camera in absolute region (0, 0, 0), view distance 0: the view cube is
// 3 regions wide and only its centre is drawn; 7 of its 26 shell regions lie
// in the 2 x 2 x 2 table, one of them, (-1, -1, -1), holding a cube.
TEST_F(WorldIndexatorTest, DrawPreparesOneEdgeRegionPerFrame) {
  scene3D->camera->position = Float3(160, 160, 160);
  worldIndexator->viewDistance = 0.f;
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(165, 165, 165))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(-160, -160, -160))));

  std::vector<std::string> frames;
  for (int frame = 0; frame < 8; ++frame) {
    testing::internal::CaptureStdout();
    worldIndexator->draw(false);
    frames.push_back(withoutImageLog(testing::internal::GetCapturedStdout()));
  }
  EXPECT_EQ(frames[0],
            "Loaded one new region (6 VBO, 24 vertices)\n"
            "Loaded 1 regions (6 VBO, 24 vertices)\n");
  for (int frame = 1; frame < 7; ++frame)
    EXPECT_EQ(frames[frame], "Loaded one new region (0 VBO, 0 vertices)\n") << frame;
  EXPECT_EQ(frames[7], "");
  EXPECT_TRUE(region(0, 0, 0)->hasGeometry());

  // Without new regions allowed, nothing is prepared.
  worldIndexator->dropAllGeometry();
  worldIndexator->loadNewRegions = false;
  testing::internal::CaptureStdout();
  worldIndexator->draw(true);
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()),
            "Loaded 1 regions (6 VBO, 24 vertices)\n");
  EXPECT_FALSE(region(0, 0, 0)->hasGeometry());
}

TEST_F(WorldIndexatorTest, UpdateMarksTypesAndDropsRegionsOutOfView) {
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(165, 165, 165))));
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(-160, -160, -160))));
  worldIndexator->viewDistance = 0.f;
  scene3D->camera->position = Float3(160, 160, 160);
  testing::internal::CaptureStdout();
  worldIndexator->draw(false);
  testing::internal::GetCapturedStdout();

  cubeTypeManager->clearUsedFlags();
  testing::internal::CaptureStdout();
  worldIndexator->update();
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()), "");
  EXPECT_TRUE(cubeTypeManager->cubeTypes[0]->isUsed);
  EXPECT_TRUE(region(1, 1, 1)->hasGeometry());

  // Far away, every region leaves the view; two had vertices.
  scene3D->camera->position = Float3(5000, 5000, 5000);
  cubeTypeManager->clearUsedFlags();
  testing::internal::CaptureStdout();
  worldIndexator->update();
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()), "Removed 2 regions\n");
  EXPECT_FALSE(cubeTypeManager->cubeTypes[0]->isUsed);
  EXPECT_FALSE(region(1, 1, 1)->hasGeometry());
  EXPECT_FALSE(region(0, 0, 0)->hasGeometry());
}

TEST_F(WorldIndexatorTest, ViewCubeOfViewDistance1500IsElevenRegionsWide) {
  // A table covering absolute regions -6 to 5 on every axis, a cube in each
  // region along the x line through the camera's region.
  for (int x = -6; x <= 5; ++x)
    ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(x * 320.f + 5, 5, 5))));
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(-6 * 320.f, -6 * 320.f, -6 * 320.f))));
  ASSERT_TRUE(worldIndexator->addObject(objectAt(Float3(5 * 320.f, 5 * 320.f, 5 * 320.f))));
  scene3D->camera->position = Float3(5, 5, 5);
  worldIndexator->viewDistance = 1500.f;
  worldIndexator->loadNewRegions = false;
  testing::internal::CaptureStdout();
  worldIndexator->draw(false);
  // Drawn: regions -4 to 4 along x, nine regions of 6 VBOs each.
  EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()),
            "Loaded 9 regions (54 VBO, 216 vertices)\n");
  Int3 origin = worldIndexator->tableOrigin;
  for (int x = -6; x <= 5; ++x)
    EXPECT_EQ(region(x - origin.x(), -origin.y(), -origin.z())->hasGeometry(), x >= -4 && x <= 4)
        << x;
}

// Unusable view distances and far camera positions: the view-cube walks stay
// on the table and end at once (a distance that is not a number counts as 0).
TEST_F(WorldIndexatorTest, ViewCubeOfAnyDistanceStaysOnTheTable) {
  ASSERT_TRUE(worldIndexator->addZone(cubeAt(Float3(165, 165, 165))));
  worldIndexator->loadNewRegions = false;
  struct Case {
    float viewDistance;
    Float3 camera;
    bool isDrawn;
  };
  const Case cases[] = {
      {NAN, Float3(160, 160, 160), true},           {-10.f, Float3(160, 160, 160), true},
      {1e30f, Float3(160, 160, 160), true},         {INFINITY, Float3(160, 160, 160), true},
      {1e30f, Float3(1e30f, -1e30f, 1e30f), false}, {INFINITY, Float3(NAN, NAN, NAN), false},
  };
  for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
    const Case &c = cases[i];
    worldIndexator->dropAllGeometry();
    worldIndexator->viewDistance = c.viewDistance;
    scene3D->camera->position = c.camera;
    testing::internal::CaptureStdout();
    worldIndexator->draw(false);
    worldIndexator->update();
    EXPECT_EQ(withoutImageLog(testing::internal::GetCapturedStdout()),
              c.isDrawn ? "Loaded 1 regions (6 VBO, 24 vertices)\n" : "")
        << "case " << i;
    EXPECT_EQ(region(1, 1, 1)->hasGeometry(), c.isDrawn) << "case " << i;
  }
}

}  // namespace
