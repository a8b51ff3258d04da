// The OBJ reader on files written by the tests: counts and faces (fans, the
// three corner formats), texture coordinate flip, groups and materials, line
// ends and long lines, and damaged files ending in the fatal report that
// names the file and line. Material libraries here have no picture maps
// (those need the GL context: see ObjModelTest).
#include "ObjReader.h"

#include "ImageFixtures.h"
#include "ObjGeometry.h"
#include "ObjLineReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::string writeText(const std::string &name, const std::string &text) {
  return writeTempFile(name, Bytes(text.begin(), text.end()));
}

// Reads a model and frees it when the test ends.
struct ReadModel {
  explicit ReadModel(const std::string &path) {
    testing::internal::CaptureStdout();
    model = glmReadOBJ(path);
    log = testing::internal::GetCapturedStdout();
  }
  ~ReadModel() { freeModel(model); }
  ObjModelData *operator->() const { return model; }
  ObjModelData *model;
  std::string log;
};

const ModelGroup *group(const ObjModelData *model, const std::string &name) {
  for (const auto &g : model->groups)
    if (g->name == name)
      return g.get();
  return nullptr;
}

std::vector<int> corners(const ModelTriangle &t, const int ModelTriangle::*unused = nullptr) {
  (void)unused;
  return {t.vertexIndices[0], t.vertexIndices[1], t.vertexIndices[2]};
}

const char *const square =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\n"
    "vt 0.25 0.75\nvt 1 0\nvn 0 0 1\n";

TEST(ObjReaderTest, QuadFaceIsAFanAndCountsMatch) {
  std::string path = writeText("quad.obj", std::string(square) + "f 1 2 3 4\nf 1 2 3 4 5\n");
  ReadModel model(path);
  EXPECT_EQ(model->nbVertices, 5);
  EXPECT_EQ(model->nbTexCoords, 2);
  EXPECT_EQ(model->nbNormals, 1);
  ASSERT_EQ(model->nbTriangles, 5);
  EXPECT_EQ(corners(model->triangles[0]), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(corners(model->triangles[1]), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(corners(model->triangles[4]), (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(model->vertices[3 * 3 + 0], 1.0f);
  EXPECT_EQ(model->vertices[3 * 3 + 1], 1.0f);
  // "vt 0.25 0.75" is stored with its second value flipped.
  EXPECT_EQ(model->texCoords[2], 0.25f);
  EXPECT_EQ(model->texCoords[3], 0.25f);
  const ModelGroup *defaultGroup = group(model.model, "default");
  ASSERT_NE(defaultGroup, nullptr);
  EXPECT_EQ(defaultGroup->triangleIndices, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(model.log, "");
}

TEST(ObjReaderTest, CornerFormatsFillTheirIndices) {
  struct Case {
    const char *face;
    std::vector<int> vertices, texCoords, normals;
  };
  const Case cases[] = {
      {"f 1 2 3", {1, 2, 3}, {0, 0, 0}, {0, 0, 0}},
      {"f 1/2 2/1 3/2", {1, 2, 3}, {2, 1, 2}, {0, 0, 0}},
      {"f 3/1/1 2/2/1 1/1/1", {3, 2, 1}, {1, 2, 1}, {1, 1, 1}},
      {"f 1//1 2//1 4//1", {1, 2, 4}, {0, 0, 0}, {1, 1, 1}},
      {"f 1 2 3 junk", {1, 2, 3}, {0, 0, 0}, {0, 0, 0}},
  };
  for (const Case &c : cases) {
    ReadModel model(writeText("formats.obj", std::string(square) + c.face + "\n"));
    ASSERT_EQ(model->nbTriangles, 1) << c.face;
    const ModelTriangle &t = model->triangles[0];
    EXPECT_EQ(corners(t), c.vertices) << c.face;
    EXPECT_EQ((std::vector<int>{t.texCoordIndices[0], t.texCoordIndices[1], t.texCoordIndices[2]}),
              c.texCoords)
        << c.face;
    EXPECT_EQ((std::vector<int>{t.normalIndices[0], t.normalIndices[1], t.normalIndices[2]}),
              c.normals)
        << c.face;
  }
}

TEST(ObjReaderTest, GroupsKeepTheirLeadingBlankAndTakeMaterials) {
  writeText("groups.mtl",
            "newmtl red\nKd 1 0 0\nKa 0.5 0 0\nKs 0 0 1\nNs 96\n"
            "newmtl shiny\nNs 96\nNi 1.5\nKe 9 9 9\n");
  std::string path = writeText("groups.obj", std::string("mtllib groups.mtl\n") + square +
                                                 "usemtl red\nf 1 2 3\n"
                                                 "g body\nusemtl shiny\nf 1 3 4\nf 2 3 4\n"
                                                 "g  legs\nf 1 2 5\n"
                                                 "g body\nusemtl missing\nf 1 4 5\n");
  ReadModel model(path);
  EXPECT_EQ(model->materialFileName, "groups.mtl");
  ASSERT_EQ(model->nbMaterials, 3);
  EXPECT_EQ(model->materials[0].name, "default");
  EXPECT_EQ(model->materials[1].name, "red");
  EXPECT_EQ(model->materials[1].diffuse[0], 1.0f);
  EXPECT_EQ(model->materials[1].diffuse[3], 1.0f);
  EXPECT_EQ(model->materials[1].ambient[0], 0.5f);
  EXPECT_EQ(model->materials[1].specular[2], 1.0f);
  EXPECT_FLOAT_EQ(model->materials[1].shininess, 12.288f);
  EXPECT_FLOAT_EQ(model->materials[2].shininess, 1.5f / 1000.0f * 128.0f);  // Ni replaces Ns
  EXPECT_EQ(model->materials[2].diffuse[0], 0.8f);                          // the default

  // Newest group first, "default" last; names as written after the g.
  ASSERT_EQ(model->nbGroups, 3);
  EXPECT_EQ(model->groups[0]->name, "  legs");
  EXPECT_EQ(model->groups[1]->name, " body");
  EXPECT_EQ(model->groups[2]->name, "default");
  // The usemtl before the first g belongs to "default".
  EXPECT_EQ(group(model.model, "default")->materialIndex, 1);
  EXPECT_EQ(group(model.model, "default")->triangleIndices, (std::vector<int>{0}));
  // A group met again takes the current material; a missing name gives 0.
  EXPECT_EQ(group(model.model, " body")->materialIndex, 0);
  EXPECT_EQ(group(model.model, " body")->triangleIndices, (std::vector<int>{1, 2, 4}));
  EXPECT_EQ(group(model.model, "  legs")->materialIndex, 2);
  EXPECT_EQ(model.log, "glmFindMaterial():  can't find material \"missing\".\n");
}

TEST(ObjReaderTest, ASecondMaterialLibraryReplacesTheFirst) {
  writeText("first.mtl", "newmtl a\nnewmtl b\nnewmtl c\n");
  writeText("second.mtl", "newmtl b\nKd 0 1 0\n");
  ReadModel model(writeText("two.obj", std::string("mtllib first.mtl\nmtllib second.mtl\n") +
                                           square + "usemtl b\nf 1 2 3\n"));
  EXPECT_EQ(model->materialFileName, "second.mtl");
  ASSERT_EQ(model->nbMaterials, 2);
  EXPECT_EQ(model->materials[1].diffuse[1], 1.0f);
  EXPECT_EQ(group(model.model, "default")->materialIndex, 1);
}

TEST(ObjReaderTest, LineEndsAndLongLinesReadAsWritten) {
  std::string longComment = "# " + std::string(10000, 'x') + "\n";
  std::string longGroup = "g " + std::string(10000, 'v') + "\n";
  std::string longFace = "f";
  for (int i = 0; i < 2000; ++i)
    longFace += " " + std::to_string(i % 3 + 1);
  struct Case {
    const char *name;
    std::string text;
    int nbTriangles;
  };
  const Case cases[] = {
      {"CRLF", "v 0 0 0\r\nv 1 0 0\r\nv 0 1 0\r\ng top\r\nf 1 2 3\r\n", 1},
      {"no last line end", "v 0 0 0\nv 1 0 0\nv 0 1 0\ng top\nf 1 2 3", 1},
      {"long comment and group", longComment + longGroup + "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n",
       1},
      {"long face", "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + longFace + "\n", 1998},
      {"tabs and blank lines", "\n\t v\t0 0 0\n\nv 1 0 0\nv 0 1 0\n  f\t1 2 3  \n", 1},
  };
  for (const Case &c : cases) {
    ReadModel model(writeText("lines.obj", c.text));
    EXPECT_EQ(model->nbVertices, 3) << c.name;
    EXPECT_EQ(model->nbTriangles, c.nbTriangles) << c.name;
    EXPECT_EQ(model->vertices[3 * 2 + 0], 1.0f) << c.name;
  }
  // The group name keeps no line end, and the last character of a last line
  // without one stays.
  ReadModel crlf(writeText("crlf.obj", cases[0].text));
  EXPECT_NE(group(crlf.model, " top"), nullptr);
  ReadModel noEnd(writeText("noend.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\ng top"));
  EXPECT_NE(group(noEnd.model, " top"), nullptr);
  ReadModel longName(writeText("longgroup.obj", longGroup));
  EXPECT_EQ(longName->groups[0]->name, " " + std::string(10000, 'v'));
}

TEST(ObjReaderTest, CrlfMaterialLibrary) {
  writeText("crlf.mtl", "newmtl skin\r\nKd 0.5 0.25 1\r\nNs 500\r\n");
  ReadModel model(writeText(
      "crlfmtl.obj", std::string("mtllib crlf.mtl\r\n") + square + "usemtl skin\r\nf 1 2 3\r\n"));
  ASSERT_EQ(model->nbMaterials, 2);
  EXPECT_EQ(model->materials[1].name, "skin");
  EXPECT_EQ(model->materials[1].diffuse[2], 1.0f);
  EXPECT_FLOAT_EQ(model->materials[1].shininess, 64.0f);
  EXPECT_EQ(group(model.model, "default")->materialIndex, 1);
  EXPECT_EQ(model.log, "");
}

TEST(ObjReaderTest, DamagedModelsEndInTheFatalReport) {
  struct Case {
    const char *name;
    std::string text;
    std::string message;
  };
  const std::string three = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";
  const Case cases[] = {
      {"zero index", three + "f 0 1 2\n", "vertex index 0 is not between 1 and 3 in \".*\" line 6"},
      {"negative index", three + "f -1 -2 -3\n", "vertex index -1 is not between 1 and 3"},
      {"past the count", three + "f 1 2 4\n", "vertex index 4 is not between 1 and 3"},
      {"huge index", three + "f 1 2 99999999999999999999\n", "vertex index [0-9]+ is not between"},
      {"later huge corner", three + "f 1 2 3 2147483648\n", "vertex index 2147483648 is not"},
      {"texture index", three + "f 1/2 2/1 3/1\n",
       "texture coordinate index 2 is not between 1 and 1"},
      {"normal index", three + "\n\nf 1//1 2//1 3//7\n",
       "normal index 7 is not between 1 and 1 in \".*\" line 8"},
      {"no texture coordinates", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/1 2/1 3/1\n",
       "texture coordinate index 1 is not between 1 and 0"},
      {"two corners", three + "f 1 2\n", "unreadable face in \".*\" line 6"},
      {"no number", three + "f a b c\n", "unreadable face in \".*\" line 6"},
      {"mixed formats", three + "f 1/1 2 3\n", "unreadable face in \".*\" line 6"},
  };
  for (const Case &c : cases) {
    std::string path = writeText("damaged.obj", c.text);
    EXPECT_EXIT(glmReadOBJ(path), testing::ExitedWithCode(1),
                "\nMessage: glmReadOBJ\\(\\) failed: " + c.message)
        << c.name;
  }
}

TEST(ObjReaderTest, MissingFilesAndUnknownTokens) {
  EXPECT_EXIT(glmReadOBJ("/nonexistent/model.obj"), testing::ExitedWithCode(1),
              "\nCondition: file\nMessage: glmReadOBJ\\(\\) failed: can't open data "
              "file:/nonexistent/model.obj\n");
  std::string noLibrary = writeText("nolib.obj", "mtllib absent.mtl\nv 0 0 0\n");
  EXPECT_EXIT(glmReadOBJ(noLibrary), testing::ExitedWithCode(1),
              "\nCondition: file\nMessage: glmReadMTL\\(\\) failed: can't open material file "
              "\"%s\".\n");
  // The unknown token's line goes to standard output, sent to the error
  // stream here so the death test sees it.
  std::string unknown = writeText("unknown.obj", "v 0 0 0\nvx 1\n");
  EXPECT_EXIT(
      {
        dup2(STDERR_FILENO, STDOUT_FILENO);
        (void)glmReadOBJ(unknown);
      },
      testing::ExitedWithCode(1), "^glmFirstPass\\(\\): Unknown token \"vx\".\n$");
}

std::string publicModel(const char *file) {
  const char *source = getenv("CUBEWORLD_SOURCE_DIR");
  return std::string(source != nullptr ? source : ".") + "/tests/data/obj/" + file;
}

TEST(ObjReaderTest, PublicModelsReadWithTheirCounts) {
  struct Case {
    const char *file;
    int nbVertices, nbTriangles, nbMaterials, nbGroups;
  };
  const Case cases[] = {
      {"cube.obj", 8, 12, 6, 7},
      {"cube-vertex-w-component.obj", 8, 12, 6, 7},
      {"line-prim.obj", 8, 0, 6, 2},
      {"usemtl-issue-104.obj", 12, 6, 6, 1},
      {"issue-161-inconsistent-f.obj", 8, 12, 6, 2},
  };
  for (const Case &c : cases) {
    ReadModel model(publicModel(c.file));
    EXPECT_EQ(model->nbVertices, c.nbVertices) << c.file;
    EXPECT_EQ(model->nbTriangles, c.nbTriangles) << c.file;
    EXPECT_EQ(model->nbMaterials, c.nbMaterials) << c.file;
    EXPECT_EQ(model->nbGroups, c.nbGroups) << c.file;
  }
  ReadModel cube(publicModel("cube.obj"));
  EXPECT_NE(group(cube.model, " back  cube"), nullptr);
  EXPECT_EQ(cube->vertices[3 * 1 + 1], 2.0f);
  // The corner written without a texture index has none.
  ReadModel mixed(publicModel("issue-161-inconsistent-f.obj"));
  EXPECT_EQ(mixed->triangles[11].texCoordIndices[0], 0);
  EXPECT_EQ(mixed->triangles[10].texCoordIndices[0], 1);
}

TEST(ObjReaderTest, DamagedPublicModelsEndInTheFatalReport) {
  struct Case {
    const char *file;
    const char *message;
  };
  const Case cases[] = {
      {"issue-140-zero-face-idx.obj", "vertex index 0 is not between 1 and 4 in .* line 16"},
      {"invalid-relative-vertex-index.obj", "vertex index -4 is not between 1 and 0"},
      {"invalid-relative-texture-index.obj", "vertex index 1 is not between 1 and 0"},
      {"invalid-face-definition.obj", "unreadable face in .* line 15"},
      {"smoothing-group-two-squares.obj", "normal index 1 is not between 1 and 0"},
      {"test-nan.obj", "vertex index -4 is not between 1 and 76 in .* line 37"},
      // Relative (negative) indices are not supported.
      {"cornell_box.obj", "vertex index -4 is not between 1 and 76 in .* line 37"},
  };
  for (const Case &c : cases) {
    std::string path = publicModel(c.file);
    EXPECT_EXIT(glmReadOBJ(path), testing::ExitedWithCode(1),
                std::string("\nMessage: glmReadOBJ\\(\\) failed: ") + c.message)
        << c.file;
  }
}

}  // namespace
