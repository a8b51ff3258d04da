// The editor core in a real World: the cursor's keys in every quadrant, boxes
// by two space presses (split at region borders), the world file they give,
// deletes with the table fitted to what is left, objects, cube type keys,
// the wheel, and the status lines and cursor drawn.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <cstdio>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "CubeZone.h"
#include "DeviceManager.h"
#include "Editor3D.h"
#include "GLTestEnvironment.h"
#include "IndexedWorld.h"
#include "KeyboardManager.h"
#include "World.h"
#include "WorldFixture.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

const int keyF2 = 257;
const int keyF3 = 258;
const int keyDelete = 127;

using Box = std::pair<Int3, Int3>;

// Every zone of the table as (lower corner, upper corner) in cubes, with its type.
std::vector<std::pair<Box, int>> allZones() {
  std::vector<std::pair<Box, int>> zones;
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        for (const CubeZone &zone : worldIndexator->getRegion(Int3(x, y, z))->zones) {
          Float3 lo = (zone.center - zone.size / 2.f) / 10.f;
          Float3 hi = (zone.center + zone.size / 2.f) / 10.f;
          Int3 a(static_cast<int>(std::lround(lo.x())), static_cast<int>(std::lround(lo.y())),
                 static_cast<int>(std::lround(lo.z())));
          Int3 b(static_cast<int>(std::lround(hi.x())), static_cast<int>(std::lround(hi.y())),
                 static_cast<int>(std::lround(hi.z())));
          zones.push_back({{a, b}, zone.cubeTypeIndex});
        }
  return zones;
}

int nbObjects() {
  int count = 0;
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        count += static_cast<int>(worldIndexator->getRegion(Int3(x, y, z))->objects.size());
  return count;
}

class Editor3DTest : public WorldFixture {
 protected:
  void SetUp() override {
    createWorld();
    world->onKey('a', 0);
    ASSERT_TRUE(world->isEditorMode);
  }
  void TearDown() override {
    for (int code = 0; code < nbKeyCodes; ++code)
      keyboardManager->isKeyDown[code] = 0;
  }

  int addType() {
    const std::string names[6] = {"top.png",  "top.png",  "side.png",
                                  "side.png", "side.png", "side.png"};
    return world->indexedWorld.addCubeType(names, false, false, false, true);
  }

  // A key typed while the held keys are down, as the game hands it on.
  void press(int key, std::initializer_list<int> held = {}, int nbObjectTypes = 0) {
    for (int h : held)
      keyboardManager->isKeyDown[h] = 1;
    world->onKey(static_cast<char>(key & 0xFF), nbObjectTypes);
    for (int h : held)
      keyboardManager->isKeyDown[h] = 0;
  }
  void pressTimes(int key, int times) {
    for (int i = 0; i < times; ++i)
      press(key);
  }

  Editor3D &editor() { return world->editor; }
};

TEST_F(Editor3DTest, NewEditorStartsAtTheOriginThirtyUnitsAway) {
  EXPECT_EQ(editor().cursor, Int3(0, 0, 0));
  EXPECT_EQ(editor().orbitDistance, 30.f);
  EXPECT_EQ(editor().viewQuadrant, 0);
  EXPECT_FALSE(editor().isBoxStarted);
}

// The arrows after the view's quadrant; page keys whatever the quadrant.
TEST_F(Editor3DTest, CursorStepsInEveryQuadrant) {
  struct Case {
    int quadrant;
    int key;
    Int3 step;
  };
  const Case cases[] = {
      {0, keyCodeRight, Int3(-1, 0, 0)}, {0, keyCodeLeft, Int3(1, 0, 0)},
      {0, keyCodeUp, Int3(0, 0, 1)},     {0, keyCodeDown, Int3(0, 0, -1)},
      {1, keyCodeRight, Int3(0, 0, -1)}, {1, keyCodeLeft, Int3(0, 0, 1)},
      {1, keyCodeUp, Int3(-1, 0, 0)},    {1, keyCodeDown, Int3(1, 0, 0)},
      {2, keyCodeRight, Int3(1, 0, 0)},  {2, keyCodeLeft, Int3(-1, 0, 0)},
      {2, keyCodeUp, Int3(0, 0, -1)},    {2, keyCodeDown, Int3(0, 0, 1)},
      {3, keyCodeRight, Int3(0, 0, 1)},  {3, keyCodeLeft, Int3(0, 0, -1)},
      {3, keyCodeUp, Int3(1, 0, 0)},     {3, keyCodeDown, Int3(-1, 0, 0)},
      {1, keyCodePageUp, Int3(0, 1, 0)}, {3, keyCodePageDown, Int3(0, -1, 0)},
      {2, 'o', Int3(0, 0, 0)},           {0, 'm', Int3(0, 0, 0)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "quadrant " << c.quadrant << " key " << c.key);
    editor().viewQuadrant = c.quadrant;
    editor().cursor = Int3(5, 6, 7);
    press(c.key);
    EXPECT_EQ(editor().cursor, Int3(5, 6, 7) + c.step);
    // With F2 held: half a region.
    editor().cursor = Int3(5, 6, 7);
    press(c.key, {keyF2});
    EXPECT_EQ(editor().cursor, Int3(5, 6, 7) + c.step * 16);
  }
  // "i" goes back to the origin; upper-case letters act as lower-case ones.
  editor().cursor = Int3(5, 6, 7);
  press('I');
  EXPECT_EQ(editor().cursor, Int3(0, 0, 0));
}

// The road of one editor action: a box from (0, 0, 0) to (40, 1, 1) crosses
// the region border at x = 32 and is saved as two zones.
TEST_F(Editor3DTest, TwoSpacePressesBuildABoxSplitAtTheRegionBorderAndSaveIt) {
  int type = addType();
  press(' ');
  pressTimes(keyCodeLeft, 40);
  press(keyCodePageUp);
  press(keyCodeUp);
  EXPECT_EQ(editor().cursor, Int3(40, 1, 1));
  press(' ');
  EXPECT_FALSE(editor().isBoxStarted);
  std::vector<std::pair<Box, int>> expected = {
      {{Int3(0, 0, 0), Int3(32, 1, 1)}, type},
      {{Int3(32, 0, 0), Int3(40, 1, 1)}, type},
  };
  EXPECT_EQ(allZones(), expected);
  press('s');
  std::vector<unsigned char> saved = readWholeFile("world.dat");

  // The same two pieces added directly give the same file.
  world->indexedWorld.clearAllRegions();
  ASSERT_TRUE(world->indexedWorld.addCubeZone(Float3(320, 10, 10), Float3(160, 5, 5), type));
  ASSERT_TRUE(world->indexedWorld.addCubeZone(Float3(80, 10, 10), Float3(360, 5, 5), type));
  world->indexedWorld.saveWorld();
  EXPECT_EQ(readWholeFile("world.dat"), saved);

  // Load (the editor's revert), save again: identical bytes.
  editor().currentCubeType = 0;
  testing::internal::CaptureStdout();
  press('l');
  press('s');
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(allZones(), expected);
  EXPECT_EQ(readWholeFile("world.dat"), saved);
}

TEST_F(Editor3DTest, SpaceBuildsOnlyBoxesWithVolume) {
  // No cube type: the space bar does nothing.
  press(' ');
  EXPECT_FALSE(editor().isBoxStarted);
  int type = addType();
  // Flat on y: nothing added, and the box is no longer started.
  press(' ');
  editor().cursor = Int3(5, 0, 5);
  press(' ');
  EXPECT_FALSE(editor().isBoxStarted);
  EXPECT_TRUE(allZones().empty());
  // One cube, corners given in either order.
  editor().cursor = Int3(1, 1, 1);
  press(' ');
  editor().cursor = Int3(0, 0, 0);
  press(' ');
  std::vector<std::pair<Box, int>> oneCube = {{{Int3(0, 0, 0), Int3(1, 1, 1)}, type}};
  EXPECT_EQ(allZones(), oneCube);
}

TEST_F(Editor3DTest, BoxAcrossEightRegionsIsCutAtEveryBorder) {
  int type = addType();
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(-2, -3, -4), Int3(30, 31, 29), type));
  std::vector<std::pair<Box, int>> zones = allZones();
  EXPECT_EQ(zones.size(), 8u);
  int volume = 0;
  for (const auto &zone : zones) {
    Int3 d = zone.first.second - zone.first.first;
    volume += d.x() * d.y() * d.z();
    for (unsigned axis = 0; axis < 3; ++axis) {
      // Each piece lies in one region.
      int lo = zone.first.first[axis], hi = zone.first.second[axis];
      EXPECT_EQ(lo < 0 ? -1 : lo / 32, hi <= 0 ? -1 : (hi - 1) / 32);
    }
  }
  EXPECT_EQ(volume, 32 * 34 * 33);
}

TEST_F(Editor3DTest, DeletesFitTheTableToWhatIsLeft) {
  int type = addType();
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(0, 0, 0), Int3(2, 2, 2), type));
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(200, 0, 0), Int3(202, 2, 2), type));
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(205, 0, 0), Int3(207, 2, 2), type));
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(8, 2, 2));
  // "d": the nearest zone of the cursor's region.
  editor().cursor = Int3(206, 1, 1);
  press('d');
  ASSERT_EQ(allZones().size(), 2u);
  EXPECT_EQ(allZones()[1].first.first, Int3(200, 0, 0));
  // F2 + "d": the whole region, and the table shrinks to the rest.
  press('d', {keyF2});
  EXPECT_EQ(allZones().size(), 1u);
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
  // F2 + Delete: everything.
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(-100, 0, 0), Int3(-98, 2, 2), type));
  press(keyDelete, {keyF2});
  EXPECT_TRUE(allZones().empty());
  EXPECT_EQ(worldIndexator->tableRegionSize, Int3(2, 2, 2));
  EXPECT_EQ(world->indexedWorld.getNbCubeType(), 1);
}

TEST_F(Editor3DTest, ObjectsOnlyOfTypesTheScriptHas) {
  editor().cursor = Int3(3, 4, 5);
  testing::internal::CaptureStdout();
  press('x', {}, 0);
  std::string output = testing::internal::GetCapturedStdout();
  EXPECT_EQ(nbObjects(), 0);
  EXPECT_EQ(output, "No script object type 0 to place\n");
  press('x', {}, 2);
  EXPECT_EQ(nbObjects(), 1);
  const Int3 index = worldIndexator->regionIndexOf(Float3(30, 40, 50));
  ASSERT_TRUE(worldIndexator->isInsideTable(index));
  EXPECT_EQ(worldIndexator->getRegion(index)->objects[0].position, Float3(30, 40, 50));
  // Page Up / Down with "t" held choose among the script's types only.
  press(keyCodePageUp, {'t'}, 2);
  press(keyCodePageUp, {'T'}, 2);
  EXPECT_EQ(editor().currentObjectType, 1);
  press(keyCodePageDown, {'t'}, 2);
  press(keyCodePageDown, {'t'}, 2);
  EXPECT_EQ(editor().currentObjectType, 0);
  EXPECT_EQ(editor().cursor, Int3(3, 4, 5));
}

TEST_F(Editor3DTest, CubeTypeKeys) {
  // "r" with no type stays at 0.
  press('r');
  EXPECT_EQ(editor().currentCubeType, 0);
  addType();
  addType();
  int last = addType();
  // "r" alone: the type before the last, nothing removed.
  press('r');
  EXPECT_EQ(editor().currentCubeType, 1);
  EXPECT_EQ(world->indexedWorld.getNbCubeType(), 3);
  // F3 + Page Up / Down stay within the types.
  press(keyCodePageUp, {keyF3});
  press(keyCodePageUp, {keyF3});
  EXPECT_EQ(editor().currentCubeType, 2);
  press(keyCodePageDown, {keyF3});
  EXPECT_EQ(editor().currentCubeType, 1);
  // F3 + "r" refuses to remove a type that zones use.
  ASSERT_TRUE(editor().addBoxAcrossRegions(Int3(0, 0, 0), Int3(1, 1, 1), last));
  testing::internal::CaptureStdout();
  press('r', {keyF3});
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Cube type 3 is still used by cubes of the world; not removed\n");
  EXPECT_EQ(world->indexedWorld.getNbCubeType(), 3);
  press(keyDelete, {keyF2});
  testing::internal::CaptureStdout();
  press('r', {keyF3});
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(world->indexedWorld.getNbCubeType(), 2);
  EXPECT_EQ(editor().currentCubeType, 1);
}

TEST_F(Editor3DTest, KeysAboveCode127AreNotLetters) {
  // 8-bit keys: no negative code reaches a table or a C library function.
  for (int key = 128; key < 256; ++key)
    press(key);
  EXPECT_EQ(editor().cursor, Int3(0, 0, 0));
}

TEST_F(Editor3DTest, WheelKeepsTheDistanceBetweenZeroAnd300) {
  MouseEvent wheelUp{10, 10, 3, mouseStatePressed};
  MouseEvent wheelDown{10, 10, 4, mouseStatePressed};
  for (int i = 0; i < 5; ++i)
    editor().onMouse(wheelUp, 0);
  EXPECT_EQ(editor().orbitDistance, 0.f);
  for (int i = 0; i < 30; ++i)
    editor().onMouse(wheelDown, 0);
  EXPECT_EQ(editor().orbitDistance, 300.f);
  // A release moves nothing.
  editor().onMouse(MouseEvent{10, 10, 3, mouseStateReleased}, 0);
  EXPECT_EQ(editor().orbitDistance, 300.f);
}

TEST_F(Editor3DTest, LoadWithoutAWorldFileIsOnlyReported) {
  std::remove("world.dat");
  testing::internal::CaptureStdout();
  press('l');
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "No 'world.dat' to load\n");
}

// The cursor marker is drawn in red in front of the camera; the status
// lines show "0 / 0" when nothing exists.
TEST_F(Editor3DTest, CursorMarkerAndBoxPreviewAreDrawnInRed) {
  addType();
  editor().orbitDistance = 30.f;
  for (int i = 0; i < 3; ++i)
    drawFrame();
  keepScreenshot("editor_cursor");
  // Some red pixels near the centre of the window (the marker's edges).
  auto countRed = [] {
    std::vector<unsigned char> rgba(200 * 200 * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(300, 200, 200, 200, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int red = 0;
    for (size_t p = 0; p < rgba.size(); p += 4)
      if (rgba[p] > 200 && rgba[p + 1] < 60 && rgba[p + 2] < 60)
        ++red;
    return red;
  };
  int markerOnly = countRed();
  EXPECT_GT(markerOnly, 0);
  // A started box adds its wire box and second marker.
  press(' ');
  editor().cursor = Int3(1, 1, 1);
  for (int i = 0; i < 2; ++i)
    drawFrame();
  keepScreenshot("editor_box_preview");
  EXPECT_GT(countRed(), markerOnly);
}

}  // namespace
