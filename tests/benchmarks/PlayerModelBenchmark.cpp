// Loading the player's five generated frames the way the player does (OBJ
// and MTL read, normals, display lists, the picture), and releasing them,
// with the real device; not part of the unit tests.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

#include "Animated3DModel.h"
#include "GLTestEnvironment.h"

namespace {

void BM_LoadPlayerFrames(benchmark::State &state) {
  const char *buildDir = std::getenv("CUBEWORLD_BUILD_DIR");
  std::string folder = std::string(buildDir != nullptr ? buildDir : ".") + "/game/obj_player/";
  std::vector<std::string> files;
  for (int i = 1; i <= 5; ++i)
    files.push_back(folder + "player_frame" + std::to_string(i) + ".obj");
  // The console lines of loading go nowhere while timing.
  fflush(stdout);
  int console = dup(STDOUT_FILENO);
  int nowhere = open("/dev/null", O_WRONLY);
  dup2(nowhere, STDOUT_FILENO);
  for (auto _ : state) {
    Animated3DModel model(files, 0.3f);
    benchmark::DoNotOptimize(model.currentFrame);
  }
  fflush(stdout);
  dup2(console, STDOUT_FILENO);
  close(console);
  close(nowhere);
}
BENCHMARK(BM_LoadPlayerFrames)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  GLTestEnvironment device;
  device.SetUp();
  benchmark::RunSpecifiedBenchmarks();
  device.TearDown();
  benchmark::Shutdown();
  return 0;
}
