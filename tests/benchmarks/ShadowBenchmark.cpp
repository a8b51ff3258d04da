// Static shadow computation, the reference against the fast path: a landscape
// of 4 x 4 regions with random boxes (both paths, their saved bytes compared),
// and a height-map world of 8 x 8 regions, columns up to 103 cubes tall, with
// the fast path on the whole world and both paths on one of its regions (to
// project the reference's time). Runs with the real device; not part of the
// unit tests.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CubeTypeManager.h"
#include "CubeZoneStaticShadows.h"
#include "GLTestEnvironment.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"
#include "src/ShadowTestWorld.h"
#include "src/WorldTestFolder.h"

namespace {

typedef CubeZoneStaticShadows Shadows;

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

std::vector<unsigned char> bytesOfPath[2];

// The progress lines go to /dev/null while timing.
class QuietConsole {
 public:
  QuietConsole() {
    fflush(stdout);
    saved = dup(1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    close(null);
  }
  ~QuietConsole() {
    fflush(stdout);
    dup2(saved, 1);
    close(saved);
  }

 private:
  int saved;
};

void makeWorld(const LandscapeOptions &options, unsigned seed) {
  worldIndexator->reset();
  addLandscape(seed, options);
}

LandscapeOptions landscape4x4() {
  LandscapeOptions options;
  options.nbRegions = 4;
  options.cellCubes = 2;
  options.maxHeightCubes = 40;
  options.nbBoxesPerRegion = 30;
  return options;
}

// Height-map terrain as the editor builds it: one-cube columns merged into
// runs along z, each a body under a top cube, cut at region borders.
LandscapeOptions heightMap8x8() {
  LandscapeOptions options;
  options.nbRegions = 8;
  options.cellCubes = 1;
  options.maxHeightCubes = 103;
  options.nbBoxesPerRegion = 20;
  return options;
}

void BM_Landscape4x4(benchmark::State &state) {
  Shadows::Path path = static_cast<Shadows::Path>(state.range(0));
  makeWorld(landscape4x4(), 4);
  for (auto _ : state) {
    QuietConsole quiet;
    Shadows::computeAllShadows(path);
  }
  state.counters["zones"] = static_cast<double>(countZones());
  bytesOfPath[path] = worldBytes();
}

void BM_HeightMap8x8Fast(benchmark::State &state) {
  makeWorld(heightMap8x8(), 8);
  for (auto _ : state) {
    QuietConsole quiet;
    Shadows::computeAllShadows(Shadows::PATH_FAST);
  }
  state.counters["zones"] = static_cast<double>(countZones());
  Int3 size = worldIndexator->tableRegionSize;
  state.counters["regions"] = size.x() * size.y() * size.z();
}

// One ground region in the middle of the height-map world.
void BM_HeightMap8x8OneRegion(benchmark::State &state) {
  Shadows::Path path = static_cast<Shadows::Path>(state.range(0));
  makeWorld(heightMap8x8(), 8);
  Float3 point(4 * 320 + 5, 5, 4 * 320 + 5);
  for (auto _ : state) {
    QuietConsole quiet;
    Shadows::computeShadowsAt(point, path);
  }
  Int3 posIndex = worldIndexator->regionIndexOf(point);
  state.counters["zones"] = static_cast<double>(worldIndexator->getRegion(posIndex)->zones.size());
  state.counters["casters"] =
      static_cast<double>(Shadows::collectShadowCasters(posIndex.x(), posIndex.z()).size());
}

BENCHMARK(BM_Landscape4x4)
    ->Arg(Shadows::PATH_REFERENCE)
    ->Arg(Shadows::PATH_FAST)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_HeightMap8x8OneRegion)
    ->Arg(Shadows::PATH_REFERENCE)
    ->Arg(Shadows::PATH_FAST)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
BENCHMARK(BM_HeightMap8x8Fast)
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  GLTestEnvironment device;
  device.SetUp();
  int status = 0;
  {
    WorldTestFolder folder(std::vector<std::string>(faceNames, faceNames + 6));
    cubeTypeManager = new CubeTypeManager();
    {
      QuietConsole quiet;
      cubeTypeManager->addCubeType(faceNames, false, false, false, true);
      cubeTypeManager->addCubeType(faceNames, false, false, false, true);
      cubeTypeManager->addCubeType(faceNames, false, false, false, false);
    }
    worldIndexator = new WorldIndexator(320.f);
    benchmark::RunSpecifiedBenchmarks();
    if (!bytesOfPath[0].empty() && !bytesOfPath[1].empty()) {
      bool isSame = bytesOfPath[0] == bytesOfPath[1];
      printf("4 x 4 landscape: %zu bytes of regions, reference and fast %s\n",
             bytesOfPath[0].size(), isSame ? "identical" : "DIFFERENT");
      status = isSame ? 0 : 1;
    }
    delete worldIndexator;
    worldIndexator = NULL;
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  device.TearDown();
  benchmark::Shutdown();
  return status;
}
