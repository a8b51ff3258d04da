// The landscape of 8 x 8 regions from a height map (the game folder's
// "world_heightmap.png", path given as the first argument, default options:
// up to 50 random boxes, 2 cubes per sample, height factor 2): generating it,
// then saving and loading the world without and with shadows. Runs with the
// real device in a throw-away working folder; prints the best of three
// wall times; not part of the unit tests.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CubeZoneStaticShadows.h"
#include "Editor3D.h"
#include "GLTestEnvironment.h"
#include "IndexedWorld.h"
#include "RandomGenerator.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "src/WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

IndexedWorld *world = NULL;
Editor3D *editor = NULL;

void generate() {
  world->clearAllRegions();
  resetRandomNumbers();
  editor->worldGeneration.generateFromHeightmap(Int3(0, -13, 0), 32, 0, 1, 8);
}

// Milliseconds of wall time of one call, the best of `runs`.
template <typename F>
double bestMs(int runs, F &&work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto begin = std::chrono::steady_clock::now();
    work();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    best = std::min(best, took.count());
  }
  return best;
}

// The empty world: header, no cube types, a 2 x 2 x 2 table of empty lists.
void writeEmptyWorld() {
  std::vector<unsigned char> bytes = {'W', 'O', 'R', 'L', 'D', 1, 0, 0, 0, 0, 0, 0, 0};
  for (int i = 0; i < 3; ++i)
    bytes.insert(bytes.end(), {0xff, 0xff, 0xff, 0xff});
  for (int i = 0; i < 3; ++i)
    bytes.insert(bytes.end(), {2, 0, 0, 0});
  bytes.resize(bytes.size() + 8 * 16, 0);
  writeWholeFile("world.dat", bytes);
}

void printWorldSize(const char *what) {
  int64_t zones = 0;
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int64_t cell = 0; cell < int64_t(size.x()) * size.y() * size.z(); ++cell)
    zones += static_cast<int64_t>(worldIndexator->tableRegions[cell]->zones.size());
  std::error_code error;
  auto bytes = std::filesystem::file_size("world.dat", error);
  fprintf(stderr, "%s: world.dat %llu bytes, %lld zones\n", what,
          static_cast<unsigned long long>(bytes), static_cast<long long>(zones));
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: world_generation_benchmark <world_heightmap.png>\n");
    return 1;
  }
  std::string heightmap = std::filesystem::absolute(argv[1]).string();
  GLTestEnvironment device;
  device.SetUp();
  {
    WorldTestFolder folder(std::vector<std::string>(faceNames, faceNames + 6));
    std::filesystem::copy_file(heightmap, "world_heightmap.png");
    writeEmptyWorld();
    world = new IndexedWorld();
    world->addCubeType(faceNames, false, false, false, true);
    world->addCubeType(faceNames, false, false, false, true);
    editor = new Editor3D(NULL, world);
    double generation = bestMs(3, generate);
    world->saveWorld();
    printWorldSize("without shadows");
    double save = bestMs(3, [] { world->saveWorld(); });
    double load = bestMs(3, [] { world->loadWorld(); });
    fprintf(stderr, "generate %.0f ms, save %.0f ms, load %.0f ms\n", generation, save, load);
    double shadows = bestMs(1, [] { CubeZoneStaticShadows::computeAllShadows(); });
    double saveShadows = bestMs(3, [] { world->saveWorld(); });
    double loadShadows = bestMs(3, [] { world->loadWorld(); });
    printWorldSize("with shadows");
    fprintf(stderr, "shadows %.0f ms, save %.0f ms, load %.0f ms\n", shadows, saveShadows,
            loadShadows);
    delete editor;
    delete world;
    world = NULL;
  }
  device.TearDown();
  return 0;
}
