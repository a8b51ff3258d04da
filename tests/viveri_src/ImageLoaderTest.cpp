// Image loading without stretching: the decoder chosen by the path's ending,
// TGA rows reversed, the verbose log lines, input from a data pack, and the
// fatal reports for missing files and unknown endings.
#include "ImageLoader.h"

#include "DataPack.h"
#include "DataPackBuilder.h"
#include "ImageFixtures.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <cstdlib>

namespace {

struct Loaded {
  int width = 0;
  int height = 0;
  bool isAlpha = false;
  Bytes pixels;
};

Loaded load(const std::string &path, bool verbose = false) {
  Loaded result;
  unsigned char *pixels = loadImage(path, result.height, result.width, result.isAlpha, verbose);
  result.pixels.assign(pixels,
                       pixels + size_t(result.width) * result.height * (result.isAlpha ? 4 : 3));
  delete[] pixels;
  return result;
}

// 2 × 2 fixtures: rows (red, green) then (blue, white), top first.
const Bytes topFirstRgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

Bytes pngFixture() {
  return pngBytes({2, 2, PNG_COLOR_TYPE_RGB, 8, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}});
}

// The file stores the bottom row first (B, G, R each).
Bytes tgaFixture() {
  return tgaBytes({0, 0, 2, 0, 0, 2, 2, 24, {255, 0, 0, 255, 255, 255, 0, 0, 255, 0, 255, 0}});
}

Bytes jpegFixture() {
  Bytes pixels;
  for (int y = 0; y < 16; y++)
    for (int i = 0; i < 16 * 3; i++)
      pixels.push_back(y < 8 ? 255 : 0);
  return jpegBytes(16, 16, 3, pixels);
}

// Runs in the temporary folder, so that the short relative paths the ending
// rules care about name real files.
class ImageLoaderTest : public testing::Test {
 protected:
  void SetUp() override {
    char *cwd = getcwd(nullptr, 0);
    previousFolder = cwd;
    free(cwd);
    ASSERT_EQ(chdir(tempFolder().c_str()), 0);
  }
  void TearDown() override {
    delete dataPack;
    dataPack = nullptr;
    EXPECT_EQ(chdir(previousFolder.c_str()), 0);
  }
  std::string previousFolder;
};

TEST_F(ImageLoaderTest, EndingChoosesTheDecoder) {
  struct EndingCase {
    const char *fileName;
    Bytes (*fixture)();
  };
  const EndingCase cases[] = {
      {"a.png", pngFixture},   {"a.PNG", pngFixture},   {"a.tga", tgaFixture},
      {"a.TGA", tgaFixture},   {"a.Tga", tgaFixture},   {"a.tGa", tgaFixture},
      {".tga", tgaFixture},    {"a.jpg", jpegFixture},  {"a.JPG", jpegFixture},
      {"a.jpeg", jpegFixture}, {"a.JPEG", jpegFixture}, {"x.png.tga", tgaFixture},
  };
  for (const EndingCase &c : cases) {
    writeTempFile(c.fileName, c.fixture());
    testing::internal::CaptureStdout();
    Loaded loaded = load(c.fileName);
    testing::internal::GetCapturedStdout();
    if (c.fixture == jpegFixture) {
      EXPECT_EQ(loaded.width, 16) << c.fileName;
      EXPECT_FALSE(loaded.isAlpha) << c.fileName;
    } else {
      EXPECT_EQ(loaded.pixels, topFirstRgb) << c.fileName;
    }
  }
}

TEST_F(ImageLoaderTest, TgaRowsAreReversedPngRowsAreNot) {
  // Reversing the TGA file's bottom-first rows gives the picture top first,
  // the same buffer as the PNG in file order.
  EXPECT_EQ(load(writeTempFile("rows.tga", tgaFixture())).pixels, topFirstRgb);
  EXPECT_EQ(load(writeTempFile("rows.png", pngFixture())).pixels, topFirstRgb);
  // A JPEG's top (white) decoded row ends up last.
  testing::internal::CaptureStdout();
  Loaded jpeg = load(writeTempFile("rows.jpg", jpegFixture()));
  testing::internal::GetCapturedStdout();
  EXPECT_LE(jpeg.pixels[0], 4);
  EXPECT_GE(jpeg.pixels[jpeg.pixels.size() - 1], 251);
}

TEST_F(ImageLoaderTest, VerboseLogLines) {
  std::vector<int> rgba(64 * 64 * 4, 200);
  std::string png = writeTempFile("big.png", pngBytes({64, 64, PNG_COLOR_TYPE_RGBA, 8, rgba}));
  std::string tga = writeTempFile("small.tga", tgaFixture());
  std::string jpg = writeTempFile("small.jpg", jpegFixture());
  struct LogCase {
    std::string path;
    bool verbose;
    std::string log;
  };
  const LogCase cases[] = {
      {png, true, "Loading image '" + png + "' ...(png)... done (width=64 height=64 isAlpha=1)\n"},
      {tga, true, "Loading image '" + tga + "' ...(tga)... done (width=2 height=2 isAlpha=0)\n"},
      {jpg, true,
       "Loading image '" + jpg +
           "' ...(jpeg)chmu1\nchmu2\n... done (width=16 height=16 isAlpha=0)\n"},
      {png, false, ""},
      {tga, false, ""},
      {jpg, false, "chmu1\nchmu2\n"},
  };
  for (const LogCase &c : cases) {
    testing::internal::CaptureStdout();
    load(c.path, c.verbose);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.log);
  }
}

TEST_F(ImageLoaderTest, LoadsFromTheDataPack) {
  DataPackBuilder builder;
  builder.add("pictures/a.png", pngFixture());
  builder.add("pictures/a.tga", tgaFixture());
  builder.add("pictures/a.jpg", jpegFixture());
  dataPack = new DataPack(writeTempFile("images.pack", builder.build()));

  // Twice each, in turns: every load repositions the shared stream.
  for (int round = 0; round < 2; round++) {
    EXPECT_EQ(load("pictures/a.png").pixels, topFirstRgb);
    EXPECT_EQ(load("pictures/a.tga").pixels, topFirstRgb);
    testing::internal::CaptureStdout();
    Loaded jpeg = load("pictures/a.jpg");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(jpeg.width, 16);
  }
  testing::internal::CaptureStdout();
  load("pictures/a.tga", true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Loading image 'pictures/a.tga' from data pack ...(tga)... done (width=2 height=2 "
            "isAlpha=0)\n");
}

TEST_F(ImageLoaderTest, AlsoLoadsPublicFiles) {
  struct PublicCase {
    const char *path;
    int width;
    int height;
    bool isAlpha;
  };
  const PublicCase cases[] = {{"pngsuite/basn6a16.png", 32, 32, true},
                              {"pngsuite/basn3p08.png", 32, 32, false},
                              {"jpeg/hopper.jpg", 128, 128, false},
                              {"tga/la.tga", 64, 64, true}};
  for (const PublicCase &c : cases) {
    testing::internal::CaptureStdout();
    Loaded loaded = load(testDataPath(c.path));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(loaded.width, c.width) << c.path;
    EXPECT_EQ(loaded.height, c.height) << c.path;
    EXPECT_EQ(loaded.isAlpha, c.isAlpha) << c.path;
  }
}

using ImageLoaderDeathTest = ImageLoaderTest;

TEST_F(ImageLoaderDeathTest, UnknownEndingsAreFatal) {
  const char *fileNames[] = {"a.Png", "a.pNG", "a.Jpg", "a.jPEG", "a.Jpeg",     ".png",
                             ".jpg",  ".jpeg", "a.bmp", "tga",    "a.tga.png2", "a.jpg "};
  for (const char *fileName : fileNames) {
    writeTempFile(fileName, pngFixture());
    EXPECT_EXIT(load(fileName), testing::ExitedWithCode(1),
                std::string("\nMessage: loadImage : File format not recognised") + fileName + "\n")
        << fileName;
  }
}

TEST_F(ImageLoaderDeathTest, MissingInputIsFatal) {
  EXPECT_EXIT(load("/nonexistent/picture.png"), testing::ExitedWithCode(1),
              "\nMessage: loadImage: can't open '/nonexistent/picture.png'\n");
  DataPackBuilder builder;
  builder.add("a.png", pngFixture());
  std::string packPath = writeTempFile("missing.pack", builder.build());
  for (const char *name : {"b.png", "A.png", "./a.png"}) {
    EXPECT_EXIT(
        {
          dataPack = new DataPack(packPath);
          load(name);
        },
        testing::ExitedWithCode(1),
        std::string("\nMessage: loadImage: can't find ") + name + " in data pack\n")
        << name;
  }
}

TEST_F(ImageLoaderDeathTest, TgaWithoutImageIsFatal) {
  writeTempFile("empty.tga", tgaBytes({0, 0, 0, 0, 0, 2, 2, 24, {}}));
  EXPECT_EXIT(load("empty.tga"), testing::ExitedWithCode(1),
              "\nMessage: loadImage : no image decoded from empty.tga\n");
  writeTempFile("unknown.tga", tgaBytes({0, 0, 7, 0, 0, 2, 2, 24, {}}));
  EXPECT_EXIT(load("unknown.tga"), testing::ExitedWithCode(1),
              "error: unknown TGA image type 7!\n.*\nMessage: loadImage : no image decoded from "
              "unknown.tga\n");
}

}  // namespace
