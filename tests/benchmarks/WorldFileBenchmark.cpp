// Saving and loading a large "world.dat": 42,000 one-cube zones spread over
// 5 x 2 x 5 regions, each face with a shadow triangle (about 11.4 MB). Runs with the real device,
// in a throw-away working folder; not part of the unit tests.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "GLTestEnvironment.h"
#include "IndexedWorld.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "src/WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};
const int nbZones = 42000;

IndexedWorld *world = NULL;

void BM_SaveLargeWorld(benchmark::State &state) {
  for (auto _ : state)
    world->saveWorld();
}

void BM_LoadLargeWorld(benchmark::State &state) {
  for (auto _ : state)
    world->loadWorld();
}

BENCHMARK(BM_SaveLargeWorld)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);
BENCHMARK(BM_LoadLargeWorld)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

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

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  GLTestEnvironment device;
  device.SetUp();
  {
    WorldTestFolder folder(std::vector<std::string>(faceNames, faceNames + 6));
    writeEmptyWorld();
    world = new IndexedWorld();
    world->addCubeType(faceNames, false, false, false, true);
    // 160 x 40 x 160 cube positions hold 1,024,000 places; every fifth one.
    int added = 0;
    for (int i = 0; added < nbZones; i += 5, ++added) {
      int x = i % 160, y = (i / 160) % 40, z = i / 6400;
      world->addCubeZone(Float3(10, 10, 10), Float3(x * 10.f + 5, y * 10.f + 5, z * 10.f + 5), 0);
    }
    // One shadow triangle on every face of every zone.
    int64_t nbRegions = int64_t(worldIndexator->tableRegionSize.x()) *
                        worldIndexator->tableRegionSize.y() * worldIndexator->tableRegionSize.z();
    for (int64_t cell = 0; cell < nbRegions; ++cell)
      for (CubeZone &zone : worldIndexator->tableRegions[cell]->zones)
        for (int face = 0; face < 6; ++face)
          zone.shadowTrianglesForEachFace[face] = {Float3(-5, -5, -5), Float3(5, -5, -5),
                                                   Float3(-5, -5, 5)};
    world->saveWorld();
    FILE *file = fopen("world.dat", "rb");
    if (file != NULL) {
      fseek(file, 0, SEEK_END);
      fprintf(stderr, "world.dat: %ld bytes, %d zones\n", ftell(file), nbZones);
      fclose(file);
    }
    benchmark::RunSpecifiedBenchmarks();
    delete world;
    world = NULL;
  }
  device.TearDown();
  benchmark::Shutdown();
  return 0;
}
