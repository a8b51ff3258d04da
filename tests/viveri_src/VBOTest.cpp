// Buffer-object support detection, the VBOSet's grouping and build order,
// and drawing without the extension.
#include "VBO.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "GLTestEnvironment.h"

namespace {

struct ExtensionCase {
  const char *extensions;
  const char *name;
  bool isListed;
};

TEST(VBOTest, ExtensionIsFoundOnlyAsAWholeWord) {
  const ExtensionCase cases[] = {
      {"GL_ARB_vertex_buffer_object", "GL_ARB_vertex_buffer_object", true},
      {"GL_A GL_ARB_vertex_buffer_object GL_B", "GL_ARB_vertex_buffer_object", true},
      {"GL_A GL_ARB_vertex_buffer_object", "GL_ARB_vertex_buffer_object", true},
      {"GL_ARB_vertex_buffer_object ", "GL_ARB_vertex_buffer_object", true},
      // Longer names that contain it, before and after.
      {"GL_ARB_vertex_buffer_object_rgb32", "GL_ARB_vertex_buffer_object", false},
      {"XGL_ARB_vertex_buffer_object", "GL_ARB_vertex_buffer_object", false},
      // A partial occurrence first, then the real one.
      {"GL_ARB_vertex_buffer_objectX GL_ARB_vertex_buffer_object", "GL_ARB_vertex_buffer_object",
       true},
      {"XGL_ARB_vertex_buffer_object GL_ARB_vertex_buffer_object_2", "GL_ARB_vertex_buffer_object",
       false},
      {"", "GL_ARB_vertex_buffer_object", false},
      // A name holding a blank is never found, even where the text matches.
      {"GL_A GL_B", "GL_A GL_B", false},
      {"GL_A GL_B", "", false},
  };
  for (const ExtensionCase &c : cases)
    EXPECT_EQ(isExtensionListed(c.extensions, c.name), c.isListed)
        << "'" << c.extensions << "' / '" << c.name << "'";
}

// Restores the support flag that the GL environment found.
class VBOSetTest : public testing::Test {
 protected:
  void TearDown() override { initVBOSupport(); }

  static void addQuadOf(VBOSet &set, int texture, float x) {
    const Float3 corners[4] = {Float3(x, 0, 0), Float3(x + 1, 0, 0), Float3(x + 1, 1, 0),
                               Float3(x, 1, 0)};
    const Float2 coords[4] = {Float2(0, 0), Float2(1, 0), Float2(1, 1), Float2(0, 1)};
    set.addQuad(texture, corners, coords);
  }
  static void addTriangleOf(VBOSet &set, int texture) {
    const Float3 corners[3] = {Float3(0, 0, 0), Float3(1, 0, 0), Float3(0, 1, 0)};
    const Float2 coords[3] = {Float2(0, 0), Float2(1, 0), Float2(0, 1)};
    set.addTriangle(texture, corners, coords);
  }
};

TEST_F(VBOSetTest, MissingExtensionPrintsTheLineAndDrawsNothing) {
  testing::internal::CaptureStdout();
  initVBOSupportFromList("GL_ARB_multitexture GL_ARB_vertex_buffer_object_x");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "!!! ERROR !!! vertex buffer objects are not supported, nothing will be displayed.\n");
  EXPECT_FALSE(isVBOSupported);

  GLint boundBefore = -1;
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  VBOSet set;
  addQuadOf(set, 7, 0);
  addTriangleOf(set, 7);
  std::pair<int, int> counts = set.build();
  EXPECT_EQ(counts, std::make_pair(2, 7));
  ASSERT_EQ(set.vbos.size(), 2u);
  // No buffer was generated or bound for them.
  EXPECT_EQ(set.vbos[0]->vertexBufferId, 0u);
  EXPECT_EQ(set.vbos[1]->texCoordBufferId, 0u);
  glGetError();
  set.draw();
  glGetIntegerv(GL_ARRAY_BUFFER_BINDING_ARB, &boundBefore);
  EXPECT_EQ(boundBefore, 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(VBOSetTest, SupportedExtensionFetchesTheEntryPointsSilently) {
  testing::internal::CaptureStdout();
  initVBOSupportFromList("GL_A GL_ARB_vertex_buffer_object");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(isVBOSupported);
  EXPECT_NE(__glewGenBuffersARB, nullptr);
  EXPECT_NE(__glewBindBufferARB, nullptr);
  EXPECT_NE(__glewBufferDataARB, nullptr);
  EXPECT_NE(__glewDeleteBuffersARB, nullptr);
}

struct BuiltVBO {
  int textureId;
  bool isQuads;
  int nbVertices;
};

TEST_F(VBOSetTest, BuildOrdersGroupsOverlaysLastAndQuadsFirst) {
  ASSERT_TRUE(isVBOSupported) << "the test context has buffer objects";
  VBOSet set;
  // Overlay 1 has a lower id than every ordinary group; 5 has only
  // triangles; 9 has both kinds, given triangles first; 3 is marked but
  // empty; two quads of texture 9 come from different places.
  addTriangleOf(set, 1);
  set.markOverlay(1);
  addTriangleOf(set, 9);
  addQuadOf(set, 9, 0);
  addQuadOf(set, 9, 5);
  addTriangleOf(set, 5);
  addTriangleOf(set, 5);
  set.markOverlay(3);
  addQuadOf(set, 2, 0);
  set.markOverlay(2);
  set.markOverlay(2);

  std::pair<int, int> counts = set.build();
  const BuiltVBO expected[] = {
      {5, false, 6}, {9, true, 8}, {9, false, 3}, {1, false, 3}, {2, true, 4},
  };
  EXPECT_EQ(counts, std::make_pair(5, 24));
  EXPECT_EQ(set.nbVertices, 24);
  ASSERT_EQ(set.vbos.size(), sizeof(expected) / sizeof(expected[0]));
  for (size_t i = 0; i < set.vbos.size(); ++i) {
    EXPECT_EQ(set.vbos[i]->textureId, expected[i].textureId) << "VBO " << i;
    EXPECT_EQ(set.vbos[i]->isQuads, expected[i].isQuads) << "VBO " << i;
    EXPECT_EQ(set.vbos[i]->nbVertices, expected[i].nbVertices) << "VBO " << i;
    EXPECT_NE(set.vbos[i]->vertexBufferId, 0u);
    EXPECT_NE(set.vbos[i]->texCoordBufferId, set.vbos[i]->vertexBufferId);
  }
}

TEST_F(VBOSetTest, UploadedBuffersHoldTheCollectedCornersInOrder) {
  ASSERT_TRUE(isVBOSupported);
  VBOSet set;
  addQuadOf(set, 4, 10);
  addQuadOf(set, 4, 20);
  set.build();
  ASSERT_EQ(set.vbos.size(), 1u);
  float positions[8 * 3] = {};
  float coords[8 * 2] = {};
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, set.vbos[0]->vertexBufferId);
  glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, sizeof(positions), positions);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, set.vbos[0]->texCoordBufferId);
  glGetBufferSubDataARB(GL_ARRAY_BUFFER_ARB, 0, sizeof(coords), coords);
  const float expectedX[8] = {10, 11, 11, 10, 20, 21, 21, 20};
  const float expectedV[8] = {0, 0, 1, 1, 0, 0, 1, 1};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(positions[3 * i], expectedX[i]) << i;
    EXPECT_EQ(coords[2 * i + 1], expectedV[i]) << i;
  }
}

TEST_F(VBOSetTest, EmptySetBuildsNothing) {
  VBOSet set;
  set.markOverlay(3);
  EXPECT_EQ(set.build(), std::make_pair(0, 0));
  EXPECT_TRUE(set.vbos.empty());
  set.draw();
}

}  // namespace
