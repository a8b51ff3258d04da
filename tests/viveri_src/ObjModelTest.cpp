// Models through the cache with a real GL context: one display list per file
// shared by every use, the console lines of loading, sharing and releasing,
// a new entry after the last release; picture maps with their "-s" scale,
// the texture coordinates compiled into the list (read back in feedback
// mode), a second library releasing the first one's pictures, and the
// segment test through a model use.
#include "ObjModel.h"

#include "ImageFixtures.h"
#include "Image.h"
#include "ModelCache.h"
#include "ObjReader.h"
#include "Sprite.h"
#include "SpriteManager.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

namespace {

// Swallows what is printed from start() until it goes out of scope; declared
// before the models of a test so their release lines are swallowed too.
struct QuietStdout {
  void start() {
    testing::internal::CaptureStdout();
    isCapturing = true;
  }
  ~QuietStdout() {
    if (isCapturing)
      testing::internal::GetCapturedStdout();
  }
  bool isCapturing = false;
};

std::string writeText(const std::string &name, const std::string &text) {
  return writeTempFile(name, Bytes(text.begin(), text.end()));
}

const char *const triangleObj = "v -0.5 -0.5 0\nv 0.5 -0.5 0\nv 0 0.5 0\nf 1 2 3\n";

TEST(ObjModelTest, OneDisplayListPerFileAndANewEntryAfterRelease) {
  QuietStdout quiet;
  std::string path = writeText("shared.obj", triangleObj);
  testing::internal::CaptureStdout();
  auto first = std::make_unique<ObjModel>(path, 1.0f, 0.0f);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Loading model '" + path + "' ... \n" +
                "glmDraw() warning: texture render mode requested with no texture coordinates "
                "defined.\n"
                "glmDraw() warning: material render mode requested with no materials defined.\n"
                "...loading model done\n");
  testing::internal::CaptureStdout();
  auto second = std::make_unique<ObjModel>(path, 1.0f, 0.0f);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Getting model '" + path + "'\n");
  ASSERT_EQ(first->cacheIndex, second->cacheIndex);
  int index = first->cacheIndex;
  ModelCacheElement &element = modelCache()[index];
  EXPECT_EQ(element.nbUses, 2);
  EXPECT_TRUE(glIsList(element.displayList));
  EXPECT_EQ(first->position, Float3(0, 0, 0));

  // Drawing calls the list: no warning again.
  testing::internal::CaptureStdout();
  first->draw();
  second->draw();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

  unsigned int list = element.displayList;
  testing::internal::CaptureStdout();
  second.reset();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ungetting model '" + path + "'\n");
  testing::internal::CaptureStdout();
  first.reset();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Unloading model " + path + " ...\n... unloading model done\n");
  EXPECT_EQ(modelCache()[index].fileName, "");
  EXPECT_EQ(modelCache()[index].model, nullptr);
  EXPECT_FALSE(glIsList(list));

  testing::internal::CaptureStdout();
  ObjModel again(path, 1.0f, 0.0f);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("Loading model '" + path + "'"),
            std::string::npos);
  EXPECT_EQ(again.cacheIndex, static_cast<int>(modelCache().size()) - 1);
  EXPECT_GT(again.cacheIndex, index);
  quiet.start();
}

// A folder below the temporary one with a small picture in it.
std::string pictureFolder(const std::string &name) {
  std::string folder = tempFolder() + "/" + name;
  mkdir(folder.c_str(), 0700);
  Bytes png = pngBytes({2, 2, PNG_COLOR_TYPE_RGB, 8, std::vector<int>(2 * 2 * 3, 200)});
  FILE *file = fopen((folder + "/tex.png").c_str(), "wb");
  fwrite(png.data(), 1, png.size(), file);
  fclose(file);
  return folder;
}

void writeFile(const std::string &path, const std::string &text) {
  FILE *file = fopen(path.c_str(), "wb");
  fwrite(text.data(), 1, text.size(), file);
  fclose(file);
}

// The texture coordinates of the corners drawn by the model's list, read
// back in feedback mode.
std::vector<float> drawnTexCoords(ObjModel &model) {
  std::vector<float> buffer(4096);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
  glRenderMode(GL_FEEDBACK);
  model.draw();
  int size = glRenderMode(GL_RENDER);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopAttrib();
  std::vector<float> texCoords;
  // Each polygon: token, count, then per vertex x y z, r g b a, s t r q.
  for (int i = 0; i < size;) {
    if (buffer[i] != GL_POLYGON_TOKEN)
      break;
    int count = static_cast<int>(buffer[i + 1]);
    for (int v = 0; v < count; ++v) {
      const float *vertex = &buffer[i + 2 + v * 11];
      texCoords.push_back(vertex[7]);
      texCoords.push_back(vertex[8]);
    }
    i += 2 + count * 11;
  }
  return texCoords;
}

TEST(ObjModelTest, AmbientMapWithScaleIsLoadedFromTheModelFolder) {
  QuietStdout quiet;
  std::string folder = pictureFolder("maps");
  // map_Ka first: the later map_Kd of that material (a missing file) is skipped.
  // The second material's picture name ends in CRLF, which is not part of it.
  writeFile(folder + "/maps.mtl",
            "newmtl scaled\nmap_Ka -s 2 2 1 tex.png\nmap_Kd missing.png\n"
            "newmtl plain\r\nmap_Kd tex.png\r\n");
  writeFile(folder + "/maps.obj",
            "mtllib maps.mtl\nv -0.5 -0.5 0\nv 0.5 -0.5 0\nv 0 0.5 0\n"
            "vt 0 0\nvt 0.5 0\nvt 0.25 0.75\n"
            "g scaled\nusemtl scaled\nf 1/1 2/2 3/3\n");
  testing::internal::CaptureStdout();
  ObjModel model(folder + "/maps.obj", 1.0f, 0.0f);
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_EQ(log.find("warning"), std::string::npos) << log;
  const ObjModelData *data = modelCache()[model.cacheIndex].model;
  ASSERT_EQ(data->nbMaterials, 3);
  const ModelMaterial &scaled = data->materials[1];
  EXPECT_TRUE(scaled.hasAmbientMap);
  EXPECT_EQ(scaled.textureScale[0], 2.0f);
  EXPECT_EQ(scaled.textureScale[1], 2.0f);
  EXPECT_EQ(scaled.textureScale[2], 1.0f);
  ASSERT_NE(scaled.textureSprite, nullptr);
  EXPECT_EQ(scaled.textureSprite->images[0]->getPath(), folder + "/tex.png");
  ASSERT_NE(data->materials[2].textureSprite, nullptr);
  EXPECT_EQ(data->materials[2].textureSprite->images[0], scaled.textureSprite->images[0]);
  EXPECT_EQ(data->materials[2].textureScale[0], 1.0f);

  // Both texture coordinates doubled; v flipped on reading.
  EXPECT_EQ(drawnTexCoords(model), (std::vector<float>{0, 2, 1, 2, 0.5f, 0.5f}));
  quiet.start();
}

TEST(ObjModelTest, CornersWithoutTextureIndexAndNoLibrary) {
  QuietStdout quiet;
  // Texture coordinates without a material library use the scale (1, 1); a
  // face without texture indices sets none (the last one set stays current).
  std::string path = writeText("nolibrary.obj",
                               "v -0.5 -0.5 0\nv 0.5 -0.5 0\nv 0 0.5 0\nvt 0.5 0.5\nvt 1 1\n"
                               "f 1/1 2/2 3/1\nf 1 2 3\n");
  testing::internal::CaptureStdout();
  ObjModel model(path, 1.0f, 0.0f);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(drawnTexCoords(model),
            (std::vector<float>{0.5f, 0.5f, 1, 0, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f}));
  quiet.start();
}

TEST(ObjModelTest, SecondLibraryReleasesTheFirstOnesPictures) {
  QuietStdout quiet;
  std::string folder = pictureFolder("twolibs");
  writeFile(folder + "/first.mtl", "newmtl a\nmap_Kd tex.png\n");
  writeFile(folder + "/second.mtl", "newmtl a\nKd 1 0 0\n");
  writeFile(folder + "/two.obj",
            std::string("mtllib first.mtl\nmtllib second.mtl\n") + triangleObj);
  testing::internal::CaptureStdout();
  {
    ObjModel model(folder + "/two.obj", 1.0f, 0.0f);
    EXPECT_EQ(spriteManager->findLoadedImage(folder + "/tex.png"), nullptr);
  }
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("Loading image '" + folder + "/tex.png'"), std::string::npos) << log;
  EXPECT_NE(log.find("Freeing image '" + folder + "/tex.png'"), std::string::npos) << log;
}

TEST(ObjModelTest, ScaledBoxCollidesThroughTheCache) {
  QuietStdout quiet;
  std::string path = writeText("unitbox.obj",
                               "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 0 0 1\nv 1 0 1\nv 1 1 1\n"
                               "v 0 1 1\nf 1 4 3 2\nf 5 6 7 8\nf 1 5 8 4\nf 2 3 7 6\nf 1 2 6 5\n"
                               "f 4 8 7 3\n");
  testing::internal::CaptureStdout();
  ObjModel model(path, 10.0f, 0.0f);
  testing::internal::GetCapturedStdout();
  Float3 out;
  ASSERT_TRUE(model.collideSegment(Float3(5, 20, 5), Float3(5, 5, 5), out));
  EXPECT_NEAR(out.y(), 10.0f, 1e-4);
  EXPECT_FALSE(model.collideSegment(Float3(15, 20, 5), Float3(15, 5, 5), out));
  quiet.start();
}

TEST(ObjModelTest, EmptyNameAndBadMapOptionAreFatal) {
  QuietStdout quiet;
  EXPECT_EXIT(ObjModel model("", 1.0f, 0.0f), testing::ExitedWithCode(1),
              "\nCondition: parFilename != \"\"\n");
  std::string folder = pictureFolder("badscale");
  writeFile(folder + "/bad.mtl", "newmtl a\nmap_Kd -s 2 x 1 tex.png\n");
  writeFile(folder + "/bad.obj", std::string("mtllib bad.mtl\n") + triangleObj);
  EXPECT_EXIT(ObjModel model(folder + "/bad.obj", 1.0f, 0.0f), testing::ExitedWithCode(1),
              "\nMessage: glmReadMTL\\(\\) failed: \"-s\" needs three numbers in \".*/bad.mtl\" "
              "line 2\n");
}

}  // namespace
