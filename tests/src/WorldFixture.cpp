// Files of the world fixture, written with libpng and plain stdio, and the
// quiet creation of the World.
#include "WorldFixture.h"

#include <GL/glew.h>
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "DeviceManager.h"
#include "Scene2D.h"
#include "SoundManager.h"
#include "World.h"
#include "WorldFile.h"
#include "WorldIndexator.h"

const unsigned char skyColours[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                        {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};

namespace {

const char *const skyNames[6] = {"bottom", "top", "left", "right", "front", "back"};

void writeText(const std::string &fileName, const std::string &text) {
  std::ofstream out(fileName, std::ios::binary);
  out << text;
}

// A box 20 wide, 33 high and 10 deep standing on y = 0; the player's scale
// of 0.3 makes it about 10 units tall.
const char *const figureObj =
    "mtllib figure.mtl\n"
    "v -10 0 -5\nv 10 0 -5\nv 10 33 -5\nv -10 33 -5\n"
    "v -10 0 5\nv 10 0 5\nv 10 33 5\nv -10 33 5\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "usemtl skin\n"
    "f 1/1 4/4 3/3 2/2\nf 5/1 6/2 7/3 8/4\nf 1/1 5/2 8/3 4/4\n"
    "f 2/1 3/2 7/3 6/4\nf 4/1 8/2 7/3 3/4\nf 1/1 2/2 6/3 5/4\n";

const char *const figureMtl =
    "newmtl skin\nKa 0.6 0.3 0.1\nKd 1.0 0.5 0.1\nKs 0 0 0\nmap_Kd figure.png\n";

}  // namespace

void writeEmptyWorldFile() {
  FILE *fd = fopen("world.dat", "wb");
  ASSERT_NE(fd, nullptr);
  writeBytes(fd, "WORLD", 5);
  writeInt32(fd, 1);
  writeInt32(fd, 0);
  {
    WorldIndexator emptyTable(320.f);
    emptyTable.write(fd);
  }
  fclose(fd);
}

void writeTestWav(const std::string &fileName) {
  const int nbSamples = 2205;
  std::vector<unsigned char> wav;
  auto u32 = [&wav](uint32_t v) {
    for (int i = 0; i < 4; ++i)
      wav.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  auto u16 = [&wav](uint16_t v) {
    wav.push_back(static_cast<unsigned char>(v));
    wav.push_back(static_cast<unsigned char>(v >> 8));
  };
  wav.insert(wav.end(), {'R', 'I', 'F', 'F'});
  u32(36 + nbSamples * 2);
  wav.insert(wav.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(22050);
  u32(44100);
  u16(2);
  u16(16);
  wav.insert(wav.end(), {'d', 'a', 't', 'a'});
  u32(nbSamples * 2);
  for (int i = 0; i < nbSamples; ++i)
    u16(static_cast<uint16_t>((i % 50) < 25 ? 8000 : -8000));
  writeWholeFile(fileName, wav);
}

WorldFixture::WorldFixture() : folder({"top.png", "side.png"}) {
  mkdir("skybox", 0755);
  mkdir("obj_player", 0755);
  mkdir("sound", 0755);
  for (int i = 0; i < 6; ++i)
    writeTestPng(std::string("skybox/") + skyNames[i] + ".png", skyColours[i][0], skyColours[i][1],
                 skyColours[i][2], 255);
  writeTestPng("loading.png", 90, 90, 90, 255);
  writeTestPng("obj_player/figure.png", 255, 255, 255, 255);
  writeText("obj_player/figure.mtl", figureMtl);
  for (int i = 1; i <= 5; ++i)
    writeText("obj_player/player_frame" + std::to_string(i) + ".obj", figureObj);
  writeTestWav("sound/walk.wav");
  writeTestWav("sound/jump.wav");
  writeEmptyWorldFile();
}

WorldFixture::~WorldFixture() {
  deleteWorld();
}

void WorldFixture::createWorld() {
  // OpenAL's silent output device: these tests are about the world, not
  // about running without a sound device.
  setenv("ALSOFT_DRIVERS", "null", 0);
  testing::internal::CaptureStdout();
  soundManager = new SoundManager("world_tests");
  world = new World(nullptr, soundManager);
  testing::internal::GetCapturedStdout();
}

void WorldFixture::deleteWorld() {
  testing::internal::CaptureStdout();
  delete world;
  world = nullptr;
  delete soundManager;
  soundManager = nullptr;
  testing::internal::GetCapturedStdout();
}

void WorldFixture::drawFrame() {
  deviceManager->clearScreen(colourBlack);
  world->placeCamera();
  world->draw();
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_FRONT);
  world->draw2D(0);
}

void WorldFixture::keepScreenshot(const std::string &name) {
  const char *dir = std::getenv("WORLD_TEST_SCREENSHOTS");
  if (dir == nullptr)
    return;
  const int w = windowSize.x(), h = windowSize.y();
  std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 3);
  glFinish();
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  std::string path = std::string(dir) + "/" + name + ".png";
  FILE *file = fopen(path.c_str(), "wb");
  if (file == nullptr)
    return;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = h - 1; y >= 0; --y)
    png_write_row(png, pixels.data() + static_cast<size_t>(y) * w * 3);
  png_write_end(png, NULL);
  png_destroy_write_struct(&png, &info);
  fclose(file);
}
