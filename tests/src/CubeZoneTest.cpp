// Zone records, visible faces with the hidden-face probes, texture scales,
// shadowed faces and the shadow overlay, and the collision tests.
#include "CubeZone.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CubeType.h"
#include "Camera.h"
#include "Colour.h"
#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "GLTestEnvironment.h"
#include "Scene3D.h"
#include "VBO.h"
#include "WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

int quadCount(const VBOSet &set) {
  size_t nbVertices = 0;
  for (const auto &entry : set.geometryByTexture)
    nbVertices += entry.second.verticesQuadVect.size();
  return static_cast<int>(nbVertices / 4);
}

// The zone test fixture: type 0 solid, type 1 not collidable; each face of a
// type has its own picture, so each quad tells its face by its texture.
class CubeZoneTest : public testing::Test {
 protected:
  CubeZoneTest() : folder(std::vector<std::string>(faceNames, faceNames + 6)) {}
  void SetUp() override {
    cubeTypeManager = new CubeTypeManager();
    testing::internal::CaptureStdout();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    cubeTypeManager->addCubeType(faceNames, false, false, false, false);
    testing::internal::GetCapturedStdout();
    shadowsEnabled = true;
  }
  void TearDown() override {
    delete cubeTypeManager;
    cubeTypeManager = NULL;
    shadowsEnabled = true;
  }
  CubeType *type(int index) { return cubeTypeManager->cubeTypes[index]; }

  WorldTestFolder folder;
};

struct PairCase {
  const char *what;
  int secondType;
  Float3 secondCenter;
  Float3 secondSize;
  int firstQuads;
  int secondQuads;
};

TEST_F(CubeZoneTest, FacesCoveredBySolidNeighboursAreLeftOut) {
  const PairCase cases[] = {
      {"two solid neighbours", 0, Float3(15, 5, 5), Float3(10, 10, 10), 5, 5},
      {"second not collidable", 1, Float3(15, 5, 5), Float3(10, 10, 10), 6, 5},
      {"lower neighbour", 0, Float3(15, 2.5f, 5), Float3(10, 5, 10), 6, 5},
      {"apart", 0, Float3(25, 5, 5), Float3(10, 10, 10), 6, 6},
  };
  for (const PairCase &c : cases) {
    std::vector<CubeZone> zones;
    zones.push_back(CubeZone(0, Float3(5, 5, 5), Float3(10, 10, 10)));
    zones.push_back(CubeZone(c.secondType, c.secondCenter, c.secondSize));
    VBOSet first, second;
    zones[0].buildGeometry(first, zones);
    zones[1].buildGeometry(second, zones);
    EXPECT_EQ(quadCount(first), c.firstQuads) << c.what;
    EXPECT_EQ(quadCount(second), c.secondQuads) << c.what;
  }
  // The face the first zone loses to a solid neighbour is its +x face.
  std::vector<CubeZone> zones;
  zones.push_back(CubeZone(0, Float3(5, 5, 5), Float3(10, 10, 10)));
  zones.push_back(CubeZone(0, Float3(15, 5, 5), Float3(10, 10, 10)));
  VBOSet set;
  zones[0].buildGeometry(set, zones);
  EXPECT_EQ(set.geometryByTexture.count(type(0)->getFaceTexture(5)), 0u);
  EXPECT_EQ(set.geometryByTexture.count(type(0)->getFaceTexture(4)), 1u);
}

TEST_F(CubeZoneTest, FacesAreMovedToTheCentreWithFlippedCoordinates) {
  std::vector<CubeZone> zones;
  zones.push_back(CubeZone(0, Float3(100, 50, 20), Float3(30, 10, 10)));
  VBOSet set;
  zones[0].buildGeometry(set, zones);
  // The top face: corners (-hx, hy, -hz), (-hx, hy, hz), (hx, hy, hz),
  // (hx, hy, -hz) around the centre, coordinates (0, rz) (0, 0) (rx, 0)
  // (rx, rz) with v turned into 1 - v.
  const TextureGeometry &top = set.geometryByTexture.at(type(0)->getFaceTexture(0));
  ASSERT_EQ(top.verticesQuadVect.size(), 4u);
  const Float3 corners[4] = {Float3(85, 55, 15), Float3(85, 55, 25), Float3(115, 55, 25),
                             Float3(115, 55, 15)};
  const Float2 coords[4] = {Float2(0, 0), Float2(0, 1), Float2(3, 1), Float2(3, 0)};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(top.verticesQuadVect[k], corners[k]) << k;
    EXPECT_EQ(top.texCoordQuadVect[k], coords[k]) << k;
  }
}

TEST_F(CubeZoneTest, TextureScaleFollowsTheThreeOptions) {
  struct Case {
    bool stretch, divide;
    float maxU;
  };
  const Case cases[] = {
      {false, false, 3.f}, {true, false, 1.f}, {true, true, 0.04f}, {false, true, 3.f * 0.04f}};
  for (const Case &c : cases) {
    type(0)->stretchTexture = c.stretch;
    type(0)->divideTextureCoordinates = c.divide;
    std::vector<CubeZone> zones;
    zones.push_back(CubeZone(0, Float3(15, 5, 5), Float3(30, 10, 10)));
    VBOSet set;
    zones[0].buildGeometry(set, zones);
    const TextureGeometry &top = set.geometryByTexture.at(type(0)->getFaceTexture(0));
    float maxU = 0.f;
    for (const Float2 &coord : top.texCoordQuadVect)
      maxU = std::max(maxU, coord.x());
    EXPECT_FLOAT_EQ(maxU, c.maxU) << c.stretch << c.divide;
  }
}

// Face entries (-1, 0, 3 points, 0, 0, 0): shadow face 0 (-x) in shadow,
// list 2 (-y) one triangle.
std::vector<unsigned char> shadowRecordBytes() {
  std::vector<unsigned char> bytes;
  auto put = [&bytes](const void *data) {
    const unsigned char *p = static_cast<const unsigned char *>(data);
    bytes.insert(bytes.end(), p, p + 4);
  };
  const float header[6] = {5, 5, 5, 10, 10, 10};
  for (float f : header)
    put(&f);
  const int32_t typeAndReserved[2] = {0, 77};
  for (int32_t v : typeAndReserved)
    put(&v);
  const int32_t counts[6] = {-1, 0, 3, 0, 0, 0};
  const float points[9] = {-5, -5, -5, 5, -5, -5, -5, -5, 5};
  for (int i = 0; i < 6; ++i) {
    put(&counts[i]);
    if (i == 2)
      for (float f : points)
        put(&f);
  }
  return bytes;
}

TEST_F(CubeZoneTest, ShadowRecordReadsAndWritesBackToTheSameBytes) {
  std::vector<unsigned char> bytes = shadowRecordBytes();
  FILE *in = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), in);
  rewind(in);
  CubeZone zone(in);
  EXPECT_EQ(ftell(in), static_cast<long>(bytes.size()));
  fclose(in);

  EXPECT_EQ(zone.center, Float3(5, 5, 5));
  EXPECT_EQ(zone.size, Float3(10, 10, 10));
  EXPECT_EQ(zone.reserved, 77);
  const bool inShadow[6] = {true, false, false, false, false, false};
  const size_t listSizes[6] = {0, 0, 3, 0, 0, 0};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(zone.isFaceInShadow[i], inShadow[i]) << i;
    EXPECT_EQ(zone.shadowTrianglesForEachFace[i].size(), listSizes[i]) << i;
  }

  FILE *out = tmpfile();
  zone.write(out);
  std::vector<unsigned char> written(static_cast<size_t>(ftell(out)));
  rewind(out);
  ASSERT_EQ(fread(written.data(), 1, written.size(), out), written.size());
  fclose(out);
  EXPECT_EQ(written, bytes);
}

TEST_F(CubeZoneTest, ShadowedFaceAndOverlayTriangles) {
  std::vector<unsigned char> bytes = shadowRecordBytes();
  FILE *in = tmpfile();
  fwrite(bytes.data(), 1, bytes.size(), in);
  rewind(in);
  std::vector<CubeZone> zones;
  zones.push_back(CubeZone(in));
  fclose(in);

  VBOSet set;
  zones[0].buildGeometry(set, zones);
  CubeType *t = type(0);
  // Render face 4 (-x) is shadow face 0: the shadowed picture; the others
  // keep their own.
  for (int f = 0; f < 6; ++f) {
    int expected = f == 4 ? t->getFaceShadowedTexture(f) : t->getFaceTexture(f);
    ASSERT_EQ(set.geometryByTexture.count(expected), 1u) << "face " << f;
    EXPECT_EQ(set.geometryByTexture.at(expected).verticesQuadVect.size(), 4u) << "face " << f;
  }
  EXPECT_EQ(set.geometryByTexture.count(t->getFaceTexture(4)), 0u);

  const TextureGeometry &shadow = set.geometryByTexture.at(t->getShadowTexture());
  EXPECT_TRUE(shadow.isOverlay);
  ASSERT_EQ(shadow.verticesTriVect.size(), 3u);
  // Centre + 0.1 towards -y + the stored point.
  const Float3 base = Float3(5, 5, 5) + Float3(0, -0.1f, 0);
  EXPECT_EQ(shadow.verticesTriVect[0], base + Float3(-5, -5, -5));
  EXPECT_EQ(shadow.verticesTriVect[1], base + Float3(5, -5, -5));
  EXPECT_EQ(shadow.verticesTriVect[2], base + Float3(-5, -5, 5));
  EXPECT_NEAR(shadow.verticesTriVect[1].y(), -0.1f, 1e-5f);
  EXPECT_EQ(shadow.texCoordTriVect[1], Float2(1, 0));
  EXPECT_EQ(shadow.texCoordTriVect[2], Float2(0, 1));

  shadowsEnabled = false;
  VBOSet withoutShadows;
  zones[0].buildGeometry(withoutShadows, zones);
  EXPECT_EQ(withoutShadows.geometryByTexture.count(t->getShadowTexture()), 0u);
}

TEST_F(CubeZoneTest, PointCollisionIncludesTheBoundsOfSolidZones) {
  struct Case {
    int type;
    Float3 point;
    bool isColliding;
  };
  const Case cases[] = {
      {0, Float3(5, 5, 5), true},        {0, Float3(10, 5, 5), true},
      {0, Float3(0, 0, 0), true},        {0, Float3(10.001f, 5, 5), false},
      {0, Float3(5, -0.001f, 5), false}, {0, Float3(5, 5, 11), false},
      {1, Float3(5, 5, 5), false},
  };
  for (const Case &c : cases) {
    CubeZone zone(c.type, Float3(5, 5, 5), Float3(10, 10, 10));
    type(c.type)->isUsed = false;
    EXPECT_EQ(zone.isCollidingPoint(c.point), c.isColliding)
        << c.point.x() << " " << c.point.y() << " " << c.point.z();
    EXPECT_TRUE(type(c.type)->isUsed);
  }
}

TEST_F(CubeZoneTest, SegmentWalkFindsTheFirstPointInsideOnlyTowardsPlusX) {
  struct Case {
    int type;
    Float3 start, end;
    bool isHit;
    Float3 hit;
  };
  const Case cases[] = {
      {0, Float3(0, 5, 5), Float3(20, 5, 5), true, Float3(10, 5, 5)},
      {0, Float3(20, 5, 5), Float3(0, 5, 5), false, Float3()},
      {0, Float3(0, 5, 5), Float3(0, 5, 20), false, Float3()},
      {1, Float3(0, 5, 5), Float3(20, 5, 5), false, Float3()},
      // Missing the zone, or stopping short of it, ends the walk.
      {0, Float3(0, 50, 5), Float3(20, 50, 5), false, Float3()},
      {0, Float3(0, 5, 5), Float3(8, 5, 5), false, Float3()},
      // Non-finite ends give no walk at all.
      {0, Float3(0, 5, 5), Float3(INFINITY, 5, 5), false, Float3()},
      {0, Float3(0, 5, NAN), Float3(20, 5, 5), false, Float3()},
  };
  for (const Case &c : cases) {
    CubeZone zone(c.type, Float3(15, 5, 5), Float3(10, 10, 10));
    Float3 hit(-1, -1, -1);
    EXPECT_EQ(zone.intersectSegment(c.start, c.end, hit), c.isHit)
        << c.start.x() << "->" << c.end.x();
    if (c.isHit) {
      EXPECT_EQ(hit, c.hit);
    }
  }
}

// Beyond about 1.7e7 units a unit step no longer moves the point: the walk of
// a very long segment that misses the zone still ends.
TEST_F(CubeZoneTest, SegmentWalkEndsWhereStepsStopMovingThePoint) {
  CubeZone zone(0, Float3(4e7f, 5, 5), Float3(10, 10, 10));
  Float3 hit(-1, -1, -1);
  EXPECT_FALSE(zone.intersectSegment(Float3(0, 5, 5), Float3(1e8f, 5, 5), hit));
  EXPECT_EQ(hit, Float3(-1, -1, -1));
}

TEST_F(CubeZoneTest, NegativeTypeIndexEndsInTheFatalReport) {
  CubeZone zone(-1, Float3(5, 5, 5), Float3(10, 10, 10));
  EXPECT_EXIT(zone.isCollidingPoint(Float3(5, 5, 5)), testing::ExitedWithCode(1),
              "Condition: id >= 0\n");
}

}  // namespace

// A zone drawn through its vertex buffers shows each face's own picture to a
// camera looking at that face.
class CubeZoneDrawTest : public CubeZoneTest {
 protected:
  void SetUp() override {
    // Each face picture gets its own colour before the textures load.
    const unsigned char colours[6][3] = {{0, 200, 0},   {120, 60, 0},  {0, 0, 220},
                                         {200, 200, 0}, {200, 0, 200}, {0, 200, 200}};
    for (int face = 0; face < 6; ++face)
      writeTestPng("cube_textures/" + faceNames[face], colours[face][0], colours[face][1],
                   colours[face][2], 255);
    CubeZoneTest::SetUp();
    glDisable(GL_BLEND);
    glDisable(GL_MULTISAMPLE);
    glDisable(GL_POLYGON_SMOOTH);
  }
  void TearDown() override {
    glEnable(GL_BLEND);
    glEnable(GL_MULTISAMPLE);
    glEnable(GL_POLYGON_SMOOTH);
    scene3D->camera->setRotation(Float3(0, 0, 0));
    scene3D->camera->position = Float3(0, 0, 0);
    CubeZoneTest::TearDown();
  }
};

TEST_F(CubeZoneDrawTest, EachFaceShowsItsPicture) {
  const struct {
    const char *what;
    Float3 cameraPosition;
    float pitch, heading;
    unsigned char r, g, b;
  } cases[] = {
      {"front (+z)", Float3(0, 0, 40), 0, 0, 0, 0, 220},
      {"back (-z)", Float3(0, 0, -40), 0, 180, 200, 200, 0},
      {"right (+x)", Float3(40, 0, 0), 0, 90, 0, 200, 200},
      {"left (-x)", Float3(-40, 0, 0), 0, -90, 200, 0, 200},
      {"top", Float3(0, 40, 0), -90, 0, 0, 200, 0},
      {"bottom", Float3(0, -40, 0), 90, 0, 120, 60, 0},
  };
  std::vector<CubeZone> zones;
  zones.push_back(CubeZone(0, Float3(0, 0, 0), Float3(10, 10, 10)));
  VBOSet set;
  testing::internal::CaptureStdout();
  zones[0].buildGeometry(set, zones);
  testing::internal::GetCapturedStdout();
  set.build();
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    scene3D->camera->setRotation(Float3(c.pitch, c.heading, 0));
    scene3D->camera->position = c.cameraPosition;
    glColor4f(1, 1, 1, 1);
    deviceManager->clearScreen(colourBlack);
    scene3D->apply3DView();
    set.draw();
    unsigned char pixel[4];
    readBackPixel(400, 300, pixel);
    EXPECT_NEAR(pixel[0], c.r, 8);
    EXPECT_NEAR(pixel[1], c.g, 8);
    EXPECT_NEAR(pixel[2], c.b, 8);
    // The zone is 10 units wide at 35 units: the window's corner stays empty.
    readBackPixel(5, 5, pixel);
    EXPECT_EQ(pixel[0] + pixel[1] + pixel[2], 0);
  }
}
