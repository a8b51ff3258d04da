// The JPEG decoder: bottom row first, grey pictures as RGB, the library's
// trace lines, damaged files ending in the fatal report.
#include "JpegDecoder.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Decoded {
  int width = 0;
  int height = 0;
  Bytes pixels;
};

Decoded decodeJpeg(const Bytes &file) {
  Decoded result;
  FILE *stream = fmemopen(const_cast<unsigned char *>(file.data()), file.size(), "rb");
  unsigned char *pixels = loadJpeg(stream, result.width, result.height, false);
  fclose(stream);
  result.pixels.assign(pixels, pixels + size_t(result.width) * result.height * 3);
  delete[] pixels;
  return result;
}

// 16 × 16: the top 8 rows white, the bottom 8 black (whole 8 × 8 blocks, so
// quality 100 keeps them flat).
Bytes halves(int components) {
  Bytes pixels;
  for (int y = 0; y < 16; y++)
    for (int i = 0; i < 16 * components; i++)
      pixels.push_back(y < 8 ? 255 : 0);
  return jpegBytes(16, 16, components, pixels);
}

TEST(JpegDecoderTest, RowsComeBottomFirstInRgb) {
  for (int components : {3, 1}) {
    testing::internal::CaptureStdout();
    Decoded decoded = decodeJpeg(halves(components));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "chmu1\nchmu2\n");
    ASSERT_EQ(decoded.width, 16);
    ASSERT_EQ(decoded.height, 16);
    for (int y = 0; y < 16; y++) {
      for (int x = 0; x < 16; x++) {
        for (int s = 0; s < 3; s++) {
          int value = decoded.pixels[(size_t(y) * 16 + x) * 3 + s];
          // The picture's top (white) rows are the buffer's last ones.
          if (y < 8)
            EXPECT_LE(value, 4) << components << " components, row " << y << " column " << x;
          else
            EXPECT_GE(value, 251) << components << " components, row " << y << " column " << x;
        }
      }
    }
  }
}

TEST(JpegDecoderTest, GreyPublicFileHasEqualChannels) {
  Decoded grey = decodeJpeg(readFileBytes(testDataPath("jpeg/hopper_gray.jpg")));
  ASSERT_EQ(grey.width, 128);
  ASSERT_EQ(grey.height, 128);
  bool isVaried = false;
  for (size_t i = 0; i < grey.pixels.size(); i += 3) {
    ASSERT_EQ(grey.pixels[i], grey.pixels[i + 1]) << "pixel " << i / 3;
    ASSERT_EQ(grey.pixels[i], grey.pixels[i + 2]) << "pixel " << i / 3;
    isVaried = isVaried || grey.pixels[i] != grey.pixels[0];
  }
  EXPECT_TRUE(isVaried);
}

TEST(JpegDecoderTest, PublicColourFilesDecode) {
  struct SizeCase {
    const char *name;
    int width;
    int height;
  };
  const SizeCase cases[] = {{"hopper.jpg", 128, 128},
                            {"hopper_16bit_qtables.jpg", 128, 128},
                            {"rgb.jpg", 100, 100},
                            {"icc-after-SOF.jpg", 10, 10}};
  for (const SizeCase &c : cases) {
    Decoded decoded = decodeJpeg(readFileBytes(testDataPath(std::string("jpeg/") + c.name)));
    EXPECT_EQ(decoded.width, c.width) << c.name;
    EXPECT_EQ(decoded.height, c.height) << c.name;
  }
}

// A file that ends early is finished by the library with a warning, not a crash.
TEST(JpegDecoderTest, TruncatedPublicFileStillGivesItsSize) {
  testing::internal::CaptureStderr();
  Decoded decoded = decodeJpeg(readFileBytes(testDataPath("jpeg/truncated_jpeg.jpg")));
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(decoded.width, 100);
  EXPECT_EQ(decoded.height, 100);
  EXPECT_NE(errors.find("Premature end of JPEG file"), std::string::npos) << errors;
}

TEST(JpegDecoderDeathTest, LibraryErrorsEndInFatalReport) {
  struct BadCase {
    const char *name;
    Bytes file;
    const char *libraryLine;
  };
  Bytes cutHeader = halves(3);
  cutHeader.resize(40);
  const BadCase cases[] = {
      {"not a JPEG", Bytes{'h', 'e', 'l', 'l', 'o'}, "Not a JPEG file"},
      {"cut in its header", cutHeader, ""},
  };
  for (const BadCase &c : cases) {
    EXPECT_EXIT(decodeJpeg(c.file), testing::ExitedWithCode(1),
                std::string(c.libraryLine) + ".*\nMessage: loadJpeg : cannot load jpeg file \n")
        << c.name;
  }
}

}  // namespace
