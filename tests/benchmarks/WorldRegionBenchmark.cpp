// Building the geometry of one region: 1,000 cubes on a grid (most faces
// hidden by neighbours) and a generated terrain of 32 x 32 columns, through the
// region's zone grid and (the runs with grid:0) by asking every zone of the
// list about every face. Runs with the real device and buffers; not part of
// the unit tests.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "VBO.h"
#include "GLTestEnvironment.h"
#include "WorldRegion.h"
#include "src/WorldTestFolder.h"

namespace {

const std::string faceNames[6] = {"top.png",  "bottom.png", "front.png",
                                  "back.png", "left.png",   "right.png"};

// state.range(0): 1 through the region's grid, 0 by the list scan.
void buildRegion(benchmark::State &state, WorldRegion &region) {
  int nbVertices = 0;
  for (auto _ : state) {
    region.dropGeometry();
    if (state.range(0) == 1) {
      nbVertices = region.buildGeometry().second;
    } else {
      VBOSet set;
      for (CubeZone &zone : region.zones)
        zone.buildGeometry(set, region.zones);
      nbVertices = set.build().second;
    }
  }
  state.counters["vertices"] = nbVertices;
  state.counters["zones"] = static_cast<double>(region.zones.size());
}

// 10 x 10 x 10 cubes of one cube (10 units) each, packed together.
void BM_RegionOf1000Zones(benchmark::State &state) {
  WorldRegion region;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 10; ++y)
      for (int z = 0; z < 10; ++z)
        region.zones.push_back(
            CubeZone(0, Float3(x * 10.f + 5, y * 10.f + 5, z * 10.f + 5), Float3(10, 10, 10)));
  buildRegion(state, region);
}

// One column per cube of the region's ground, heights from a smooth field.
void BM_RegionOfGeneratedTerrain(benchmark::State &state) {
  WorldRegion region;
  for (int x = 0; x < 32; ++x)
    for (int z = 0; z < 32; ++z) {
      int height = 1 + static_cast<int>(8.f + 6.f * std::sin(x * 0.31f) * std::cos(z * 0.23f));
      region.zones.push_back(CubeZone(0, Float3(x * 10.f + 5, height * 5.f, z * 10.f + 5),
                                      Float3(10, height * 10.f, 10)));
    }
  buildRegion(state, region);
}

BENCHMARK(BM_RegionOf1000Zones)->ArgName("grid")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegionOfGeneratedTerrain)
    ->ArgName("grid")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  GLTestEnvironment device;
  device.SetUp();
  {
    WorldTestFolder folder(std::vector<std::string>(faceNames, faceNames + 6));
    cubeTypeManager = new CubeTypeManager();
    cubeTypeManager->addCubeType(faceNames, false, false, false, true);
    benchmark::RunSpecifiedBenchmarks();
    delete cubeTypeManager;
    cubeTypeManager = NULL;
  }
  device.TearDown();
  benchmark::Shutdown();
  return 0;
}
