// The PNG decoder: the three layouts read as stored, every other layout
// converted to 8-bit RGB or RGBA, interlaced files equal to plain ones, and
// the aborts with their exact error lines for files libpng refuses.
#include "PngDecoder.h"

#include "ImageFixtures.h"

#include <gtest/gtest.h>

#include <ostream>
#include <png.h>

#include <csignal>
#include <cstdio>

namespace {

struct Decoded {
  int width = 0;
  int height = 0;
  bool isAlpha = false;
  Bytes pixels;
};

Decoded decodePng(const Bytes &file) {
  Decoded result;
  FILE *stream = fmemopen(const_cast<unsigned char *>(file.data()), file.size(), "rb");
  unsigned char *pixels = loadPng(stream, result.width, result.height, result.isAlpha, false);
  fclose(stream);
  result.pixels.assign(pixels,
                       pixels + size_t(result.width) * result.height * (result.isAlpha ? 4 : 3));
  delete[] pixels;
  return result;
}

struct PngCase {
  const char *name;
  PngFixture fixture;
  bool isAlpha;
  Bytes expected;
};
// Cases print as their name in test listings.
void PrintTo(const PngCase &c, std::ostream *os) {
  *os << c.name;
}

class PngLayoutTest : public testing::TestWithParam<PngCase> {};

TEST_P(PngLayoutTest, DecodesToEightBitRows) {
  const PngCase &c = GetParam();
  Decoded decoded = decodePng(pngBytes(c.fixture));
  EXPECT_EQ(decoded.width, c.fixture.width);
  EXPECT_EQ(decoded.height, c.fixture.height);
  EXPECT_EQ(decoded.isAlpha, c.isAlpha);
  EXPECT_EQ(decoded.pixels, c.expected);
}

// 2 × 2 pictures unless said otherwise, rows top first.
INSTANTIATE_TEST_SUITE_P(
    Layouts, PngLayoutTest,
    testing::Values(
        PngCase{"rgb8",
                {2, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                false,
                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        PngCase{"rgba8",
                {2, 1, PNG_COLOR_TYPE_RGBA, 8, {1, 2, 3, 4, 250, 251, 252, 253}},
                true,
                {1, 2, 3, 4, 250, 251, 252, 253}},
        // Every sample of every row keeps its high byte.
        PngCase{"rgba16",
                {2,
                 2,
                 PNG_COLOR_TYPE_RGBA,
                 16,
                 {0x0102, 0x0304, 0x0506, 0x0708, 0x090a, 0x0b0c, 0x0d0e, 0x0f10, 0x1112, 0x1314,
                  0x1516, 0x1718, 0xfffe, 0x80ff, 0x0001, 0x7f80}},
                true,
                {0x01, 0x03, 0x05, 0x07, 0x09, 0x0b, 0x0d, 0x0f, 0x11, 0x13, 0x15, 0x17, 0xff, 0x80,
                 0x00, 0x7f}},
        PngCase{"rgb8Interlaced",
                {3,
                 3,
                 PNG_COLOR_TYPE_RGB,
                 8,
                 {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                  15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27},
                 {},
                 {},
                 -1,
                 true},
                false,
                {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27}},
        PngCase{"rgb16",
                {2, 1, PNG_COLOR_TYPE_RGB, 16, {0x1234, 0x5678, 0x9abc, 0xdef0, 0x0fff, 0xff00}},
                false,
                {0x12, 0x56, 0x9a, 0xde, 0x0f, 0xff}},
        PngCase{"grey8", {2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 200}}, false, {7, 7, 7, 200, 200, 200}},
        PngCase{"grey16",
                {2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x1234, 0xff01}},
                false,
                {0x12, 0x12, 0x12, 0xff, 0xff, 0xff}},
        PngCase{"grey1",
                {3, 1, PNG_COLOR_TYPE_GRAY, 1, {1, 0, 1}},
                false,
                {255, 255, 255, 0, 0, 0, 255, 255, 255}},
        PngCase{"grey2",
                {4, 1, PNG_COLOR_TYPE_GRAY, 2, {0, 1, 2, 3}},
                false,
                {0, 0, 0, 85, 85, 85, 170, 170, 170, 255, 255, 255}},
        PngCase{
            "grey4", {2, 1, PNG_COLOR_TYPE_GRAY, 4, {1, 15}}, false, {17, 17, 17, 255, 255, 255}},
        PngCase{"greyTransparent",
                {2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 9}, {}, {}, 9},
                true,
                {7, 7, 7, 255, 9, 9, 9, 0}},
        PngCase{"greyAlpha8",
                {2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {10, 20, 30, 40}},
                true,
                {10, 10, 10, 20, 30, 30, 30, 40}},
        PngCase{"greyAlpha16",
                {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0xab01, 0xcd02}},
                true,
                {0xab, 0xab, 0xab, 0xcd}},
        PngCase{"palette8",
                {3, 1, PNG_COLOR_TYPE_PALETTE, 8, {2, 0, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                false,
                {7, 8, 9, 1, 2, 3, 4, 5, 6}},
        PngCase{"palette2",
                {3, 1, PNG_COLOR_TYPE_PALETTE, 2, {2, 0, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                false,
                {7, 8, 9, 1, 2, 3, 4, 5, 6}},
        PngCase{"paletteTransparent",
                {2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0}, {1, 2, 3, 4, 5, 6}, {0}},
                true,
                {4, 5, 6, 255, 1, 2, 3, 0}}),
    [](const testing::TestParamInfo<PngCase> &info) { return std::string(info.param.name); });

// The public suite's interlaced files hold the same pictures as the plain ones.
TEST(PngDecoderTest, InterlacedSuiteFilesEqualPlainOnes) {
  struct SuitePair {
    const char *name;
    bool isAlpha;
  };
  const SuitePair pairs[] = {{"0g01", false}, {"0g02", false}, {"0g04", false}, {"0g08", false},
                             {"0g16", false}, {"2c08", false}, {"2c16", false}, {"3p01", false},
                             {"3p02", false}, {"3p04", false}, {"3p08", false}, {"4a08", true},
                             {"4a16", true},  {"6a08", true},  {"6a16", true}};
  for (const SuitePair &pair : pairs) {
    Decoded plain =
        decodePng(readFileBytes(testDataPath(std::string("pngsuite/basn") + pair.name + ".png")));
    Decoded interlaced =
        decodePng(readFileBytes(testDataPath(std::string("pngsuite/basi") + pair.name + ".png")));
    EXPECT_EQ(plain.width, 32) << pair.name;
    EXPECT_EQ(plain.height, 32) << pair.name;
    EXPECT_EQ(plain.isAlpha, pair.isAlpha) << pair.name;
    EXPECT_EQ(interlaced.isAlpha, pair.isAlpha) << pair.name;
    EXPECT_TRUE(plain.pixels == interlaced.pixels) << pair.name;
  }
}

// A public suite file, or the built fixture when suiteName is null.
struct RefusedCase {
  const char *name;
  const char *suiteName;
  Bytes (*build)();
  const char *errorLine;
};
// Cases print as their name in test listings.
void PrintTo(const RefusedCase &c, std::ostream *os) {
  *os << c.name;
}

// A valid picture cut inside its image data.
Bytes cutPng() {
  std::vector<int> samples;
  for (int i = 0; i < 64 * 64 * 3; i++)
    samples.push_back((i * 7919) % 251);
  Bytes file = pngBytes({64, 64, PNG_COLOR_TYPE_RGB, 8, samples});
  file.resize(file.size() / 2);
  return file;
}

Bytes shortFile() {
  return Bytes{0x89, 'P', 'N'};
}

class PngRefusedDeathTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(PngRefusedDeathTest, AbortsWithItsLine) {
  const RefusedCase &c = GetParam();
  Bytes file = c.suiteName != nullptr
                   ? readFileBytes(testDataPath(std::string("pngsuite/") + c.suiteName))
                   : c.build();
  EXPECT_EXIT(decodePng(file), testing::KilledBySignal(SIGABRT),
              std::string("\\") + c.errorLine + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, PngRefusedDeathTest,
    testing::Values(
        RefusedCase{"badSignature", "xs1n0g01.png", nullptr,
                    "[read_png_file] File is not recognized as a PNG file"},
        RefusedCase{"addedCarriageReturn", "xcrn0g04.png", nullptr,
                    "[read_png_file] File is not recognized as a PNG file"},
        RefusedCase{"shorterThanSignature", nullptr, shortFile,
                    "[read_png_file] File is not recognized as a PNG file"},
        RefusedCase{"colourType1", "xc1n0g08.png", nullptr, "[read_png_file] Error during init_io"},
        RefusedCase{"bitDepth0", "xd0n2c08.png", nullptr, "[read_png_file] Error during init_io"},
        RefusedCase{"headerChecksum", "xhdn0g08.png", nullptr,
                    "[read_png_file] Error during init_io"},
        RefusedCase{"dataChecksum", "xcsn0g01.png", nullptr,
                    "[read_png_file] Error during read_image"},
        RefusedCase{"cutInsideData", nullptr, cutPng, "[read_png_file] Error during read_image"}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

}  // namespace
