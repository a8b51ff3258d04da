// The TGA decoder on hand-made files: every supported type and depth, packets
// that cross rows, skipped ID and colour map, files with no image, and damaged
// files that must end in the fatal report without touching memory outside a
// buffer; then GIMP's files against the PNGs beside them.
#include "TgaDecoder.h"

#include "ImageFixtures.h"
#include "PngDecoder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>

namespace {

struct Decoded {
  bool hasImage = false;
  int width = 0;
  int height = 0;
  bool isAlpha = false;
  Bytes pixels;
};

Decoded decodeTga(const Bytes &file) {
  Decoded result;
  FILE *stream = fmemopen(const_cast<unsigned char *>(file.data()), file.size(), "rb");
  unsigned char *pixels = loadTga(stream, result.width, result.height, result.isAlpha);
  fclose(stream);
  if (pixels != nullptr) {
    result.hasImage = true;
    result.pixels.assign(pixels,
                         pixels + size_t(result.width) * result.height * (result.isAlpha ? 4 : 3));
    delete[] pixels;
  }
  return result;
}

// A 3-entry colour map stored B, G, R.
const Bytes colourMap = {1, 2, 3, 10, 20, 30, 100, 110, 120};

Bytes join(const Bytes &a, const Bytes &b) {
  Bytes joined = a;
  joined.insert(joined.end(), b.begin(), b.end());
  return joined;
}

struct TgaCase {
  const char *name;
  TgaFixture fixture;
  int width;
  int height;
  bool isAlpha;
  Bytes expected;  // in the file's row order
};
// Cases print as their name in test listings.
void PrintTo(const TgaCase &c, std::ostream *os) {
  *os << c.name;
}

class TgaDecodeTest : public testing::TestWithParam<TgaCase> {};

TEST_P(TgaDecodeTest, DecodesToFileOrderPixels) {
  const TgaCase &c = GetParam();
  Decoded decoded = decodeTga(tgaBytes(c.fixture));
  ASSERT_TRUE(decoded.hasImage);
  EXPECT_EQ(decoded.width, c.width);
  EXPECT_EQ(decoded.height, c.height);
  EXPECT_EQ(decoded.isAlpha, c.isAlpha);
  EXPECT_EQ(decoded.pixels, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, TgaDecodeTest,
    testing::Values(
        TgaCase{"mappedRaw",
                {0, 1, 1, 3, 24, 2, 2, 8, join(colourMap, {2, 0, 1, 1})},
                2,
                2,
                false,
                {120, 110, 100, 3, 2, 1, 30, 20, 10, 30, 20, 10}},
        // 0x82: one index written 3 times, crossing into the second row; then a raw packet.
        TgaCase{"mappedRunLength",
                {0, 1, 9, 3, 24, 2, 2, 8, join(colourMap, {0x82, 1, 0x00, 2})},
                2,
                2,
                false,
                {30, 20, 10, 30, 20, 10, 30, 20, 10, 120, 110, 100}},
        // 31 + 256 × 124: R 248, G 0, B 248; the top bit is ignored.
        TgaCase{"trueColour16Raw",
                {0, 0, 2, 0, 0, 2, 1, 16, {31, 124, 0xe0, 0x83}},
                2,
                1,
                false,
                {248, 0, 248, 0, 248, 0}},
        TgaCase{"trueColour24Raw",
                {0, 0, 2, 0, 0, 1, 2, 24, {1, 2, 3, 4, 5, 6}},
                1,
                2,
                false,
                {3, 2, 1, 6, 5, 4}},
        TgaCase{"trueColour32Raw",
                {0, 0, 2, 0, 0, 2, 1, 32, {1, 2, 3, 4, 5, 6, 7, 8}},
                2,
                1,
                true,
                {3, 2, 1, 4, 7, 6, 5, 8}},
        TgaCase{"trueColour16RunLength",
                {0, 0, 10, 0, 0, 2, 2, 16, {0x81, 31, 124, 0x01, 0x00, 0x7c, 0xe0, 0x03}},
                2,
                2,
                false,
                {248, 0, 248, 248, 0, 248, 248, 0, 0, 0, 248, 0}},
        // 0x83 and one colour: four equal pixels, two rows of two.
        TgaCase{"trueColour24RunLength",
                {0, 0, 10, 0, 0, 2, 2, 24, {0x83, 9, 8, 7}},
                2,
                2,
                false,
                {7, 8, 9, 7, 8, 9, 7, 8, 9, 7, 8, 9}},
        TgaCase{
            "trueColour32RunLengthCrossingRows",
            {0, 0, 10, 0, 0, 3, 2, 32, {0x01, 1, 2, 3, 4, 5, 6, 7, 8, 0x83, 9, 10, 11, 12}},
            3,
            2,
            true,
            {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 11, 10, 9, 12, 11, 10, 9, 12, 11, 10, 9, 12}},
        TgaCase{
            "greyRaw", {0, 0, 3, 0, 0, 2, 1, 8, {7, 200}}, 2, 1, false, {7, 7, 7, 200, 200, 200}},
        TgaCase{"greyAlphaRunLength",
                {0, 0, 11, 0, 0, 3, 1, 16, {0x81, 50, 60, 0x00, 70, 80}},
                3,
                1,
                true,
                {50, 50, 50, 60, 50, 50, 50, 60, 70, 70, 70, 80}},
        // An ID of 3 bytes and a colour map on a true-colour picture are skipped.
        TgaCase{"idAndUnusedMapSkipped",
                {3, 1, 2, 2, 16, 1, 1, 24, {'a', 'b', 'c', 9, 9, 9, 9, 1, 2, 3}},
                1,
                1,
                false,
                {3, 2, 1}}),
    [](const testing::TestParamInfo<TgaCase> &info) { return std::string(info.param.name); });

TEST(TgaDecoderTest, FilesWithoutAnImageYieldNone) {
  struct NoImageCase {
    const char *name;
    TgaFixture fixture;
    const char *errorLine;
  };
  const NoImageCase cases[] = {
      {"type 0", {0, 0, 0, 0, 0, 2, 2, 24, {}}, ""},
      {"unknown type", {0, 0, 5, 0, 0, 2, 2, 24, {1, 2, 3}}, "error: unknown TGA image type 5!\n"},
      {"compressed type 32",
       {0, 0, 32, 0, 0, 2, 2, 24, {1, 2, 3}},
       "error: unknown TGA image type 32!\n"},
      {"true colour at 8 bits",
       {0, 0, 2, 0, 0, 1, 1, 8, {1}},
       "error: unsupported TGA pixel depth 8 for image type 2!\n"},
      {"grey at 24 bits",
       {0, 0, 3, 0, 0, 1, 1, 24, {1, 2, 3}},
       "error: unsupported TGA pixel depth 24 for image type 3!\n"},
      {"16-bit indices",
       {0, 1, 1, 3, 24, 1, 1, 16, join(colourMap, {0, 0})},
       "error: unsupported TGA pixel depth 16 for image type 1!\n"},
      {"zero width", {0, 0, 2, 0, 0, 0, 4, 24, {}}, ""},
  };
  for (const NoImageCase &c : cases) {
    testing::internal::CaptureStderr();
    Decoded decoded = decodeTga(tgaBytes(c.fixture));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errorLine) << c.name;
    EXPECT_FALSE(decoded.hasImage) << c.name;
  }
}

struct DamagedCase {
  const char *name;
  TgaFixture fixture;
  const char *message;
};
// Cases print as their name in test listings.
void PrintTo(const DamagedCase &c, std::ostream *os) {
  *os << c.name;
}

class TgaDamagedDeathTest : public testing::TestWithParam<DamagedCase> {};

TEST_P(TgaDamagedDeathTest, EndsInFatalReport) {
  const DamagedCase &c = GetParam();
  Bytes file = tgaBytes(c.fixture);
  EXPECT_EXIT(decodeTga(file), testing::ExitedWithCode(1),
              std::string("\nMessage: ") + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Files, TgaDamagedDeathTest,
    testing::Values(DamagedCase{"rawPixelsCut",
                                {0, 0, 2, 0, 0, 2, 2, 24, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
                                "loadTga : unexpected end of file"},
                    DamagedCase{"runLengthPacketsCut",
                                {0, 0, 10, 0, 0, 2, 2, 24, {0x80, 1, 2, 3, 0x80, 4, 5}},
                                "loadTga : unexpected end of file"},
                    // A huge picture announced by a few bytes fails before any allocation.
                    DamagedCase{"hugeHeaderTinyFile",
                                {0, 0, 2, 0, 0, 65535, 65535, 32, {1, 2, 3, 4}},
                                "loadTga : unexpected end of file"},
                    DamagedCase{"pixelsMissing",
                                {0, 0, 2, 0, 0, 2, 2, 24, {}},
                                "loadTga : unexpected end of file"},
                    DamagedCase{"idCut",
                                {200, 0, 2, 0, 0, 1, 1, 24, {1, 2, 3}},
                                "loadTga : unexpected end of file"},
                    DamagedCase{"colourMapCut",
                                {0, 1, 1, 200, 24, 1, 1, 8, {1, 2, 3, 0}},
                                "loadTga : unexpected end of file"},
                    DamagedCase{"indexPastMap",
                                {0, 1, 1, 3, 24, 2, 1, 8, join(colourMap, {2, 3})},
                                "loadTga : colour index beyond the colour map"},
                    DamagedCase{"runLengthIndexPastMap",
                                {0, 1, 9, 3, 24, 2, 1, 8, join(colourMap, {0x81, 200})},
                                "loadTga : colour index beyond the colour map"},
                    DamagedCase{"mappedWithoutMap",
                                {0, 0, 1, 0, 0, 1, 1, 8, {0}},
                                "loadTga : colour index beyond the colour map"},
                    DamagedCase{"mapEntries16Bits",
                                {0, 1, 1, 2, 16, 1, 1, 8, {1, 2, 3, 4, 0}},
                                "loadTga : colour map entries must be 3 bytes"},
                    DamagedCase{"mapEntries32Bits",
                                {0, 1, 9, 1, 32, 1, 1, 8, {1, 2, 3, 4, 0x80, 0}},
                                "loadTga : colour map entries must be 3 bytes"},
                    // Three pixels, then a packet of two: one past the buffer's end.
                    DamagedCase{"repeatPacketPastEnd",
                                {0, 0, 10, 0, 0, 2, 2, 24, {0x82, 1, 2, 3, 0x81, 4, 5, 6}},
                                "loadTga : run-length packet beyond the image end"},
                    DamagedCase{"rawPacketPastEnd",
                                {0, 0, 11, 0, 0, 2, 1, 8, {0x02, 1, 2, 3}},
                                "loadTga : run-length packet beyond the image end"}),
    [](const testing::TestParamInfo<DamagedCase> &info) { return std::string(info.param.name); });

// GIMP's 200 × 32 files against the PNG beside each: a bottom-left file holds
// the PNG's rows reversed, a top-left one the same rows (the origin bit is not read).
TEST(TgaDecoderTest, PublicFilesMatchTheirPngs) {
  const char *modes[] = {"l", "la", "p", "rgb", "rgba"};
  for (const char *mode : modes) {
    std::string base = testDataPath(std::string("tga/200x32_") + mode);
    FILE *pngFile = fopen((base + ".png").c_str(), "rb");
    ASSERT_NE(pngFile, nullptr) << base;
    int pngWidth = 0, pngHeight = 0;
    bool pngAlpha = false;
    unsigned char *png = loadPng(pngFile, pngWidth, pngHeight, pngAlpha, false);
    fclose(pngFile);
    size_t rowBytes = size_t(pngWidth) * (pngAlpha ? 4 : 3);
    Bytes topFirst(png, png + rowBytes * pngHeight);
    delete[] png;
    Bytes bottomFirst;
    for (int y = pngHeight - 1; y >= 0; y--)
      bottomFirst.insert(bottomFirst.end(), topFirst.begin() + y * rowBytes,
                         topFirst.begin() + (y + 1) * rowBytes);

    for (const char *variant : {"_bl_raw", "_bl_rle", "_tl_raw", "_tl_rle"}) {
      Decoded decoded = decodeTga(readFileBytes(base + variant + ".tga"));
      ASSERT_TRUE(decoded.hasImage) << mode << variant;
      EXPECT_EQ(decoded.width, 200);
      EXPECT_EQ(decoded.height, 32);
      EXPECT_EQ(decoded.isAlpha, pngAlpha) << mode << variant;
      bool isBottomLeft = variant[1] == 'b';
      EXPECT_TRUE(decoded.pixels == (isBottomLeft ? bottomFirst : topFirst)) << mode << variant;
    }
  }
}

TEST(TgaDecoderDeathTest, CutHeaderEndsInFatalReport) {
  Bytes file = tgaBytes({0, 0, 2, 0, 0, 1, 1, 24, {1, 2, 3}});
  for (size_t length : {size_t(1), size_t(12), size_t(17)}) {
    Bytes cut(file.begin(), file.begin() + length);
    EXPECT_EXIT(decodeTga(cut), testing::ExitedWithCode(1),
                "\nMessage: loadTga : unexpected end of file\n")
        << length << " bytes";
  }
}

TEST(TgaDecoderDeathTest, PublicDamagedFilesEndInFatalReport) {
  Bytes file = readFileBytes(testDataPath("tga/cross_scan_line_truncated.tga"));
  EXPECT_EXIT(decodeTga(file), testing::ExitedWithCode(1),
              "\nMessage: loadTga : unexpected end of file\n");
  Bytes mapped16 = readFileBytes(testDataPath("tga/p_16.tga"));
  EXPECT_EXIT(decodeTga(mapped16), testing::ExitedWithCode(1),
              "\nMessage: loadTga : colour map entries must be 3 bytes\n");
}

}  // namespace
