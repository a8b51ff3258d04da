// Geometry of read models: facet normals (zero for degenerate triangles),
// smoothed vertex normals, welding, scaling, and the segment test against a
// box model (hits, misses, parallel segments, the truncated distances).
#include "ObjGeometry.h"

#include "ImageFixtures.h"
#include "ObjReader.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

ObjModelData *readText(const std::string &name, const std::string &text) {
  testing::internal::CaptureStdout();
  ObjModelData *model = glmReadOBJ(writeTempFile(name, Bytes(text.begin(), text.end())));
  testing::internal::GetCapturedStdout();
  return model;
}

// A closed box from (0, 0, 0) to (10, 10, 10), faces wound outwards.
const char *const boxObj =
    "v 0 0 0\nv 10 0 0\nv 10 10 0\nv 0 10 0\nv 0 0 10\nv 10 0 10\nv 10 10 10\nv 0 10 10\n"
    "f 1 4 3 2\nf 5 6 7 8\nf 1 5 8 4\nf 2 3 7 6\nf 1 2 6 5\nf 4 8 7 3\n";

struct BoxModel : testing::Test {
  void SetUp() override {
    model = readText("box.obj", boxObj);
    computeFacetNormals(model);
    testing::internal::CaptureStderr();
    glmVertexNormals(model, 90.0f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
  void TearDown() override { freeModel(model); }
  Float3 facet(int i) const {
    return Float3(model->facetnorms[3 * i], model->facetnorms[3 * i + 1],
                  model->facetnorms[3 * i + 2]);
  }
  ObjModelData *model = nullptr;
};

TEST_F(BoxModel, FacetNormalsPointOutwards) {
  ASSERT_EQ(model->nbFacetNormals, 12);
  EXPECT_EQ(facet(1), Float3(0, 0, -1));  // first face: z = 0
  EXPECT_EQ(facet(3), Float3(0, 0, 1));
  EXPECT_EQ(facet(5), Float3(-1, 0, 0));
  EXPECT_EQ(facet(7), Float3(1, 0, 0));
  EXPECT_EQ(facet(9), Float3(0, -1, 0));
  EXPECT_EQ(facet(11), Float3(0, 1, 0));
  EXPECT_EQ(model->triangles[4].facetIndex, 5);
}

TEST_F(BoxModel, NormalsAreSharedOnlyWithinAFace) {
  // At 90 degrees the faces meeting at a corner are not averaged; the two
  // triangles of one face share one normal.
  for (const ModelTriangle &t : model->triangles) {
    Float3 expected(model->facetnorms[3 * t.facetIndex], model->facetnorms[3 * t.facetIndex + 1],
                    model->facetnorms[3 * t.facetIndex + 2]);
    for (int j = 0; j < 3; ++j) {
      int n = t.normalIndices[j];
      ASSERT_GE(n, 1);
      ASSERT_LE(n, model->nbNormals);
      EXPECT_EQ(Float3(model->normals[3 * n], model->normals[3 * n + 1], model->normals[3 * n + 2]),
                expected);
    }
  }
  // At vertex 1 the newest triangle (9, face y = 0) and its face partner 8
  // share one averaged normal; the older faces' triangles each get their own.
  EXPECT_EQ(model->triangles[8].normalIndices[0], model->triangles[9].normalIndices[0]);
  EXPECT_NE(model->triangles[0].normalIndices[0], model->triangles[1].normalIndices[0]);
}

TEST_F(BoxModel, SegmentsAgainstTheBox) {
  struct Case {
    const char *name;
    Float3 from, to;
    bool isHit;
    Float3 hit;
  };
  const Case cases[] = {
      {"down through the top", {5, 20, 5}, {5, 5, 5}, true, {5, 10, 5}},
      {"sideways through x = 10", {20, 5, 4}, {5, 5, 4}, true, {10, 5, 4}},
      {"beside the box", {20, 20, 20}, {15, 5, 15}, false, {}},
      {"stops short", {5, 30, 5}, {5, 12, 5}, false, {}},
      {"parallel above the top", {-5, 15, 5}, {25, 15, 5}, false, {}},
      {"within a unit of the plane", {5, 10.5f, 5}, {6, 10.5f, 5}, false, {}},
  };
  for (const Case &c : cases) {
    Float3 out(-1, -1, -1);
    bool isHit = segmentHitsModel(*model, c.from, c.to, out);
    EXPECT_EQ(isHit, c.isHit) << c.name;
    if (c.isHit) {
      EXPECT_NEAR(out.x(), c.hit.x(), 1e-4) << c.name;
      EXPECT_NEAR(out.y(), c.hit.y(), 1e-4) << c.name;
      EXPECT_NEAR(out.z(), c.hit.z(), 1e-4) << c.name;
    } else {
      EXPECT_EQ(out, Float3(-1, -1, -1)) << c.name;
    }
  }
}

TEST(ObjGeometryTest, DegenerateTrianglesGetZeroNormalsAndNeverHit) {
  // Triangle 1: two equal corners; triangle 2: three corners on one line.
  ObjModelData *model = readText("flat.obj",
                                 "v 0 0 0\nv 0 0 0\nv 5 0 0\nv 10 0 0\n"
                                 "f 1 2 3\nf 1 3 4\n");
  computeFacetNormals(model);
  glmVertexNormals(model, 90.0f);
  for (float value : model->facetnorms)
    EXPECT_EQ(value, 0.0f);
  for (float value : model->normals)
    EXPECT_FALSE(std::isnan(value));
  Float3 out;
  EXPECT_FALSE(segmentHitsModel(*model, Float3(2, 5, 0), Float3(2, -5, 0), out));
  freeModel(model);
}

TEST(ObjGeometryTest, SmoothingJoinsFacetsWithinTheAngle) {
  // Two triangles meeting at a shallow fold share the averaged normal at the
  // fold's corners; an unused vertex is reported on the error stream.
  ObjModelData *model = readText("fold.obj",
                                 "v 0 0 0\nv 1 0 0\nv 0 0 -1\nv 0 0.2 1\nv 7 7 7\n"
                                 "f 1 2 3\nf 1 4 2\n");
  computeFacetNormals(model);
  testing::internal::CaptureStderr();
  glmVertexNormals(model, 90.0f);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "glmVertexNormals(): vertex w/o a triangle\n");
  const ModelTriangle &a = model->triangles[0];
  const ModelTriangle &b = model->triangles[1];
  EXPECT_EQ(a.normalIndices[0], b.normalIndices[0]);
  int shared = a.normalIndices[0];
  Float3 n(model->normals[3 * shared], model->normals[3 * shared + 1],
           model->normals[3 * shared + 2]);
  EXPECT_NEAR(std::sqrt(n.x() * n.x() + n.y() * n.y() + n.z() * n.z()), 1.0f, 1e-5);
  EXPECT_GT(n.y(), 0.9f);
  // Vertex 3 belongs to triangle 0 only, vertex 4 to triangle 1 only: 4 normals in all.
  EXPECT_EQ(model->nbNormals, 4);
  freeModel(model);
}

TEST(ObjGeometryTest, WeldingAndScaling) {
  ObjModelData *model = readText("weld.obj",
                                 "v 0 0 0\nv 1 0 0\nv 0.05 0 0\nv 0 1 0\nv 1.04 0 0\n"
                                 "f 3 5 4\n");
  scaleVertices(model, 2.0f);
  EXPECT_EQ(model->vertices[3 * 2], 2.0f);
  weldVertices(model, 0.2f);
  EXPECT_EQ(model->nbVertices, 3);
  EXPECT_EQ(model->triangles[0].vertexIndices[0], 1);  // 0.1 welded to 0
  EXPECT_EQ(model->triangles[0].vertexIndices[1], 2);  // 2.08 welded to 2
  EXPECT_EQ(model->triangles[0].vertexIndices[2], 3);
  // Strictly less than the tolerance.
  weldVertices(model, 2.0f);
  EXPECT_EQ(model->nbVertices, 3);
  freeModel(model);
}

}  // namespace
