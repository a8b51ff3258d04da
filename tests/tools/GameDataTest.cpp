// The default data generator, run as the build runs it: every file it owns is
// a valid PNG of its size, the font picture scans into the 94 glyphs, the menu
// buttons are painted on the click rectangles, cube textures and their
// shadowed versions agree with the shadow overlay, and the user's own files in
// the game folder survive a rerun byte for byte.
#include "ImageLoader.h"
#include "PngTestReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string readBytes(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path &path, const std::string &bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

fs::path makeTempFolder(const char *name) {
  std::string pattern = (fs::temp_directory_path() / (std::string(name) + "XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  EXPECT_NE(mkdtemp(buffer.data()), nullptr);
  return fs::path(buffer.data());
}

// Runs the generator as the build does; returns its exit status and its error stream.
int runGenerator(const fs::path &gameDir, std::string &errors,
                 const std::string &font = DATA_FONT_PATH) {
  fs::path errorFile = gameDir.parent_path() / (gameDir.filename().string() + ".stderr");
  std::string command = std::string("'") + GENERATOR_PATH + "' '" + gameDir.string() + "' '" +
                        font + "' 2>'" + errorFile.string() + "'";
  int status = std::system(command.c_str());
  errors = readBytes(errorFile);
  fs::remove(errorFile);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ExpectedFile {
  const char *path;
  int width;  // 0: any power of two
  int height;
  int channels;
};

const char *const cubeTextureNames[] = {"grass.png", "grass_side.png", "dirt.png",
                                        "stone.png", "sand.png",       "snow.png",
                                        "wood.png",  "brick.png",      "water.png"};

std::vector<ExpectedFile> expectedFiles() {
  std::vector<ExpectedFile> files = {
      {"default_font.png", 0, 16, 4},
      {"menus/main_menu.png", 1024, 1024, 4},
      {"menus/options_menu.png", 1024, 1024, 4},
      {"menus/menu_mouse.png", 32, 32, 4},
      {"black_semi_transparent.png", 16, 16, 4},
  };
  static std::vector<std::string> names;
  if (names.empty())
    for (const char *name : cubeTextureNames) {
      names.push_back(std::string("cube_textures/") + name);
      names.push_back(std::string("cube_shadowed_textures/") + name);
    }
  for (const std::string &name : names)
    files.push_back({name.c_str(), 64, 64, 3});
  return files;
}

bool isPowerOfTwo(int n) {
  return n >= 2 && (n & (n - 1)) == 0;
}

// One generated game folder shared by the tests that only read it.
class GameDataTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    gameDir = new fs::path(makeTempFolder("game_data_") / "game");
    std::string errors;
    status = runGenerator(*gameDir, errors);
    std::cerr << errors;
  }
  static void TearDownTestSuite() {
    fs::remove_all(gameDir->parent_path());
    delete gameDir;
    gameDir = nullptr;
  }
  void SetUp() override { ASSERT_EQ(status, 0); }

  static DecodedPng load(const std::string &name) {
    DecodedPng png;
    std::string error;
    EXPECT_TRUE(readPng((*gameDir / name).string(), png, error)) << error;
    return png;
  }

  static fs::path *gameDir;
  static int status;
};
fs::path *GameDataTest::gameDir = nullptr;
int GameDataTest::status = -1;

TEST_F(GameDataTest, EveryFileIsAPngOfItsSizeAndLayout) {
  for (const ExpectedFile &f : expectedFiles()) {
    SCOPED_TRACE(f.path);
    DecodedPng png;
    std::string error;
    ASSERT_TRUE(readPng((*gameDir / f.path).string(), png, error)) << error;
    // The game's image loader stretches any other size, which would move
    // glyph columns and menu buttons.
    EXPECT_TRUE(isPowerOfTwo(png.width)) << png.width;
    EXPECT_TRUE(isPowerOfTwo(png.height)) << png.height;
    if (f.width != 0) {
      EXPECT_EQ(png.width, f.width);
    }
    EXPECT_EQ(png.height, f.height);
    EXPECT_EQ(png.channels, f.channels);
    EXPECT_FALSE(png.isInterlaced);
  }
  // Nothing half-written is left behind.
  for (const fs::directory_entry &e : fs::recursive_directory_iterator(*gameDir))
    EXPECT_NE(e.path().extension(), ".part") << e.path();
}

// The game's own loader takes every picture as it stands: no stretching
// (which would move glyph columns and buttons), the alpha flag the game
// needs, the same pixels.
TEST_F(GameDataTest, GameLoaderKeepsEveryPictureAsItIs) {
  for (const ExpectedFile &f : expectedFiles()) {
    SCOPED_TRACE(f.path);
    DecodedPng png = load(f.path);
    int width = 0, height = 0;
    bool isAlpha = false;
    unsigned char *pixels = loadImage((*gameDir / f.path).string(), height, width, isAlpha, false);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(width, png.width);
    EXPECT_EQ(height, png.height);
    EXPECT_EQ(isAlpha, png.channels == 4);
    if (width == png.width && height == png.height && isAlpha == (png.channels == 4)) {
      EXPECT_TRUE(std::equal(png.pixels.begin(), png.pixels.end(), pixels));
    }
    delete[] pixels;
  }
}

// The game's glyph scan: a column is occupied when one of its pixels has
// non-zero alpha; each glyph's quad starts one column before its run and ends
// three after it.
struct ScannedGlyph {
  int offset;
  int width;
  int runStart;
  int runEnd;  // one past the last occupied column
};

bool columnOccupied(const DecodedPng &png, int x) {
  for (int y = 0; y < png.height; ++y)
    if (png.alpha(x, y) != 0)
      return true;
  return false;
}

std::vector<ScannedGlyph> scanGlyphs(const DecodedPng &png) {
  std::vector<ScannedGlyph> glyphs;
  int col = 0;
  while (col < png.width && !columnOccupied(png, col++)) {
  }
  for (int c = 33; c <= 126 && col < png.width; ++c) {
    ScannedGlyph g;
    g.offset = col - 2;
    g.runStart = col - 1;
    while (col < png.width && columnOccupied(png, col++)) {
    }
    g.runEnd = col - 1;
    g.width = col - g.offset + 2;
    glyphs.push_back(g);
    while (col < png.width && !columnOccupied(png, col++)) {
    }
  }
  return glyphs;
}

TEST_F(GameDataTest, FontScanFindsEveryGlyphWithCleanQuads) {
  DecodedPng png = load("default_font.png");
  ASSERT_EQ(png.channels, 4);
  std::vector<ScannedGlyph> glyphs = scanGlyphs(png);
  ASSERT_EQ(glyphs.size(), 94u);
  EXPECT_GE(glyphs.front().offset, 0);
  // An empty column after the last glyph, inside the picture.
  EXPECT_LT(glyphs.back().runEnd, png.width);
  EXPECT_FALSE(columnOccupied(png, glyphs.back().runEnd));
  // Nothing after the 94th glyph.
  for (int x = glyphs.back().runEnd; x < png.width; ++x)
    ASSERT_FALSE(columnOccupied(png, x)) << x;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const ScannedGlyph &g = glyphs[i];
    SCOPED_TRACE(std::string("glyph '") + char(33 + i) + "'");
    // The quad stays inside the picture and shows no part of a neighbour.
    ASSERT_LE(g.offset + g.width, png.width);
    for (int x = g.offset; x < g.offset + g.width; ++x)
      if (x < g.runStart || x >= g.runEnd) {
        EXPECT_FALSE(columnOccupied(png, x)) << x;
      }
    // Some of the glyph is solid enough to pass the game's alpha test.
    int strongest = 0;
    for (int x = g.runStart; x < g.runEnd; ++x)
      for (int y = 0; y < png.height; ++y)
        strongest = std::max(strongest, int(png.alpha(x, y)));
    EXPECT_GT(strongest, 128);
  }
}

TEST_F(GameDataTest, FontGlyphsAreWhiteSoTheColourTintsThem) {
  DecodedPng png = load("default_font.png");
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x)
      for (int c = 0; c < 3; ++c)
        ASSERT_EQ(png.at(x, y, c), 255) << x << "," << y;
}

// The characters are in character order: shapes that differ in width or
// height keep their order.
TEST_F(GameDataTest, FontGlyphsAreInCharacterOrder) {
  DecodedPng png = load("default_font.png");
  std::vector<ScannedGlyph> glyphs = scanGlyphs(png);
  ASSERT_EQ(glyphs.size(), 94u);
  auto run = [&](char c) { return glyphs[c - 33]; };
  auto inkWidth = [&](char c) { return run(c).runEnd - run(c).runStart; };
  // Mean row of the glyph's ink, weighted by alpha.
  auto inkRow = [&](char c) {
    double sum = 0, weight = 0;
    for (int x = run(c).runStart; x < run(c).runEnd; ++x)
      for (int y = 0; y < png.height; ++y) {
        sum += y * png.alpha(x, y);
        weight += png.alpha(x, y);
      }
    return sum / weight;
  };
  const struct {
    char narrow, wide;
  } widths[] = {{'i', 'm'}, {'l', 'W'}, {'.', 'M'}, {'!', '@'}, {'|', '%'}, {'1', 'w'}};
  for (const auto &w : widths)
    EXPECT_LT(inkWidth(w.narrow), inkWidth(w.wide)) << w.narrow << " " << w.wide;
  const struct {
    char higher, lower;
  } heights[] = {{'^', '-'}, {'-', '_'}, {'\'', '.'}, {'`', ','}, {'o', 'g'}, {'~', '_'}};
  for (const auto &h : heights)
    EXPECT_LT(inkRow(h.higher), inkRow(h.lower)) << h.higher << " " << h.lower;
}

// A button is on a rectangle when the pixels a press can hit look like a
// button and the pixels around it look like the menu's background.
struct ButtonRect {
  const char *name;
  int left, top, right, bottom;  // a press hits left < x < right, top < y < bottom
  bool isGridCell;               // shares borders with neighbours: the border lines are background
};

int colourDistance(const DecodedPng &png, int x, int y, int rx, int ry) {
  int d = 0;
  for (int c = 0; c < 4; ++c)
    d += std::abs(int(png.at(x, y, c)) - int(png.at(rx, ry, c)));
  return d;
}

void expectButton(const DecodedPng &png, const ButtonRect &b) {
  SCOPED_TRACE(b.name);
  // The reference background is the same row at the screen's right, where nothing is painted.
  auto isButton = [&](int x, int y) { return colourDistance(png, x, y, 780, y) > 60; };
  auto isBackground = [&](int x, int y) { return colourDistance(png, x, y, 780, y) <= 12; };
  int inset = 3;
  int cx = (b.left + b.right) / 2;
  int cy = (b.top + b.bottom) / 2;
  const int inside[][2] = {{cx, cy},
                           {b.left + inset, b.top + inset},
                           {b.right - inset, b.top + inset},
                           {b.left + inset, b.bottom - inset},
                           {b.right - inset, b.bottom - inset}};
  for (const auto &p : inside)
    EXPECT_TRUE(isButton(p[0], p[1])) << "inside at " << p[0] << "," << p[1];
  int edge = b.isGridCell ? 0 : 2;
  const int outside[][2] = {
      {b.left - edge, cy}, {b.right + edge, cy}, {cx, b.top - edge}, {cx, b.bottom + edge}};
  for (const auto &p : outside)
    EXPECT_TRUE(isBackground(p[0], p[1])) << "outside at " << p[0] << "," << p[1];
}

TEST_F(GameDataTest, MainMenuButtonsLieOnTheirRectangles) {
  DecodedPng png = load("menus/main_menu.png");
  const ButtonRect buttons[] = {
      {"resume", 50, 150, 150, 215, false},
      {"options", 50, 250, 150, 315, false},
      {"quit", 50, 350, 150, 415, false},
  };
  for (const ButtonRect &b : buttons)
    expectButton(png, b);
  // The frame rate is printed at (155, 116) over an empty background.
  for (int y = 116; y < 132; y += 3)
    for (int x = 155; x < 300; x += 5)
      EXPECT_LE(colourDistance(png, x, y, 780, y), 12) << x << "," << y;
}

TEST_F(GameDataTest, OptionsMenuButtonsLieOnTheirRectangles) {
  DecodedPng png = load("menus/options_menu.png");
  std::vector<ButtonRect> buttons = {{"back", 200, 10, 270, 50, false}};
  const char *displayNames[] = {"windowed 800x600", "desktop",   "640x480",  "800x600",
                                "1024x768",         "1280x1024", "1280x800", "1920x1200"};
  for (int i = 0; i < 8; ++i) {
    int left = 50 + 100 * (i % 4);
    int top = 100 + 50 * (i / 4);
    buttons.push_back({displayNames[i], left, top, left + 100, top + 50, true});
  }
  const char *settingNames[] = {"view distance", "shadows", "reverse mouse", "water layers",
                                "load regions"};
  for (int row = 0; row < 5; ++row)
    for (int half = 0; half < 2; ++half) {
      int left = 250 + 100 * half;
      int top = 250 + 50 * row;
      buttons.push_back({settingNames[row], left, top, left + 100, top + 50, true});
    }
  for (const ButtonRect &b : buttons)
    expectButton(png, b);
}

TEST_F(GameDataTest, MenuPicturesAreTransparentOutsideTheScreen) {
  for (const char *name : {"menus/main_menu.png", "menus/options_menu.png"}) {
    SCOPED_TRACE(name);
    DecodedPng png = load(name);
    // The screen itself is covered.
    EXPECT_GT(png.alpha(400, 300), 200);
    EXPECT_GT(png.alpha(799, 599), 200);
    const int outside[][2] = {{800, 0}, {800, 599}, {0, 600}, {799, 600}, {1023, 1023}};
    for (const auto &p : outside)
      EXPECT_EQ(png.alpha(p[0], p[1]), 0) << p[0] << "," << p[1];
  }
}

TEST_F(GameDataTest, PointerTipIsTheTopLeftPixel) {
  DecodedPng png = load("menus/menu_mouse.png");
  EXPECT_EQ(png.alpha(0, 0), 255);
  // An arrow: a sharp tip, a body below and to the right of it, empty far corners.
  int tipRow = 0;
  for (int x = 0; x < png.width; ++x)
    tipRow += png.alpha(x, 0) != 0;
  EXPECT_LE(tipRow, 2);
  EXPECT_EQ(png.alpha(4, 8), 255);
  EXPECT_EQ(png.alpha(31, 0), 0);
  EXPECT_EQ(png.alpha(0, 31), 0);
  EXPECT_EQ(png.alpha(31, 31), 0);
}

TEST_F(GameDataTest, ShadowOverlayIsUniformSemiTransparentBlack) {
  DecodedPng png = load("black_semi_transparent.png");
  uint8_t a = png.alpha(0, 0);
  // Visible through the game's alpha test (alpha above 0.1), yet see-through.
  EXPECT_GT(a, 26);
  EXPECT_LT(a, 255);
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x) {
      EXPECT_EQ(png.at(x, y, 0), 0);
      EXPECT_EQ(png.at(x, y, 1), 0);
      EXPECT_EQ(png.at(x, y, 2), 0);
      EXPECT_EQ(png.alpha(x, y), a);
    }
}

// A face in shadow shows its shadowed texture; the shadowed part of a lit face
// shows the texture under the overlay. Both must look the same.
TEST_F(GameDataTest, ShadowedTexturesMatchTheOverlay) {
  double keep = (255 - load("black_semi_transparent.png").alpha(0, 0)) / 255.0;
  for (const char *name : cubeTextureNames) {
    SCOPED_TRACE(name);
    DecodedPng lit = load(std::string("cube_textures/") + name);
    DecodedPng dark = load(std::string("cube_shadowed_textures/") + name);
    ASSERT_EQ(lit.pixels.size(), dark.pixels.size());
    for (size_t i = 0; i < lit.pixels.size(); ++i)
      ASSERT_NEAR(dark.pixels[i], lit.pixels[i] * keep, 1.0) << "byte " << i;
  }
}

double luminance(const DecodedPng &png, int x, int y) {
  return 0.299 * png.at(x, y, 0) + 0.587 * png.at(x, y, 1) + 0.114 * png.at(x, y, 2);
}

// Textures repeat across cube faces: the step across the wrap-around edge is
// no larger than the steps between neighbouring columns (rows) inside the picture.
TEST_F(GameDataTest, CubeTexturesHaveDetailAndTileWithoutSeams) {
  for (const char *name : cubeTextureNames) {
    SCOPED_TRACE(name);
    DecodedPng png = load(std::string("cube_textures/") + name);
    int n = png.width;
    double mean = 0, square = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x) {
        double l = luminance(png, x, y);
        mean += l;
        square += l * l;
      }
    mean /= n * n;
    EXPECT_GT(std::sqrt(square / (n * n) - mean * mean), 4.0) << "a flat texture";

    auto columnStep = [&](int a, int b) {
      double s = 0;
      for (int y = 0; y < n; ++y)
        s += std::abs(luminance(png, a, y) - luminance(png, b, y));
      return s / n;
    };
    auto rowStep = [&](int a, int b) {
      double s = 0;
      for (int x = 0; x < n; ++x)
        s += std::abs(luminance(png, x, a) - luminance(png, x, b));
      return s / n;
    };
    // The wrap-around step looks like one of the picture's own steps
    // (a noise that does not repeat jumps further at its edge than anywhere inside).
    double largestColumnStep = 0, largestRowStep = 0;
    for (int i = 0; i + 1 < n; ++i) {
      largestColumnStep = std::max(largestColumnStep, columnStep(i, i + 1));
      largestRowStep = std::max(largestRowStep, rowStep(i, i + 1));
    }
    EXPECT_LE(columnStep(n - 1, 0), largestColumnStep * 1.1);
    // The grass side is grass above dirt; side by side it tiles, but not vertically.
    if (std::string(name) != "grass_side.png") {
      EXPECT_LE(rowStep(n - 1, 0), largestRowStep * 1.1);
    }
  }
}

TEST(GameDataRerunTest, UserFilesSurviveAndOwnFilesAreRemadeTheSame) {
  fs::path root = makeTempFolder("game_data_rerun_");
  fs::path game = root / "game";
  std::string world;
  for (int i = 0; i < 4096; ++i)
    world.push_back(char((i * 37 + 11) & 0xff));
  const struct {
    const char *path;
    std::string bytes;
  } userFiles[] = {
      {"world.dat", world},
      {"savegame1.sav", std::string("\x01\x02\x00\x03 a save", 11)},
      {"world.lua", "function lua_loop() end\n"},
      {"cube_textures/my_rock.png", "not even a picture"},
      {"extensions.txt", "supported:GL_ARB_vertex_buffer_object :"},
  };
  for (const auto &f : userFiles)
    writeBytes(game / f.path, f.bytes);

  std::string errors;
  ASSERT_EQ(runGenerator(game, errors), 0) << errors;
  std::vector<std::string> firstRun;
  for (const ExpectedFile &f : expectedFiles())
    firstRun.push_back(readBytes(game / f.path));
  ASSERT_EQ(runGenerator(game, errors), 0) << errors;

  for (const auto &f : userFiles)
    EXPECT_EQ(readBytes(game / f.path), f.bytes) << f.path;
  std::vector<ExpectedFile> files = expectedFiles();
  for (size_t i = 0; i < files.size(); ++i)
    EXPECT_EQ(readBytes(game / files[i].path), firstRun[i]) << files[i].path;
  fs::remove_all(root);
}

TEST(GameDataFailureTest, UnusableGameFolderOrFontFailsTheRun) {
  fs::path root = makeTempFolder("game_data_fail_");
  std::string errors;

  // The game folder's name is taken by a file: nothing is written over it.
  fs::path taken = root / "game";
  writeBytes(taken, "a file, not a folder");
  EXPECT_EQ(runGenerator(taken, errors), 1);
  EXPECT_NE(errors.find("cannot make the folder"), std::string::npos) << errors;
  EXPECT_EQ(readBytes(taken), "a file, not a folder");

  fs::path game = root / "other";
  writeBytes(game / "world.dat", "my world");
  EXPECT_EQ(runGenerator(game, errors, (root / "missing.ttf").string()), 1);
  EXPECT_NE(errors.find("cannot read the font"), std::string::npos) << errors;
  EXPECT_EQ(readBytes(game / "world.dat"), "my world");
  fs::remove_all(root);
}

// The build itself runs the generator into its own game folder.
TEST(GameDataBuildTest, BuildFolderHoldsTheGeneratedData) {
  const char *buildDir = std::getenv("CUBEWORLD_BUILD_DIR");
  ASSERT_NE(buildDir, nullptr);
  for (const ExpectedFile &f : expectedFiles())
    EXPECT_TRUE(fs::is_regular_file(fs::path(buildDir) / "game" / f.path)) << f.path;
}

}  // namespace
