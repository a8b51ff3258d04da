// Landscape generation for the shadow tests: smooth random heights, run
// merging along z within each region, random boxes lifted onto the ground.
#include "ShadowTestWorld.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>

#include "CubeZone.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

const int regionCubes = 32;

int floorDiv(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

struct Waves {
  float fx, fz, px, pz, gx, gz;
};

int heightAt(const Waves &w, const LandscapeOptions &options, int x, int z) {
  float field = 0.5f + 0.25f * std::sin(x * w.fx + w.px) * std::cos(z * w.gz + w.pz) +
                0.25f * std::sin(z * w.fz + w.gx * x);
  int height = 1 + static_cast<int>(field * static_cast<float>(options.maxHeightCubes - 1));
  return std::max(1, std::min(options.maxHeightCubes, height));
}

// A body of type 0 under a one-cube top of type 1, or only the top.
void addColumn(const Int3 &low, const Int3 &high, int topType) {
  if (high.y() > low.y() + 1) {
    addBoxAcrossRegions(low, Int3(high.x(), high.y() - 1, high.z()), 0);
    addBoxAcrossRegions(Int3(low.x(), high.y() - 1, low.z()), high, topType);
  } else {
    addBoxAcrossRegions(low, high, topType);
  }
}

}  // namespace

void addBoxAcrossRegions(const Int3 &low, const Int3 &high, int type) {
  for (int x = low.x(); x < high.x();) {
    int xEnd = std::min(high.x(), (floorDiv(x, regionCubes) + 1) * regionCubes);
    for (int y = low.y(); y < high.y();) {
      int yEnd = std::min(high.y(), (floorDiv(y, regionCubes) + 1) * regionCubes);
      for (int z = low.z(); z < high.z();) {
        int zEnd = std::min(high.z(), (floorDiv(z, regionCubes) + 1) * regionCubes);
        Float3 size((xEnd - x) * 10.f, (yEnd - y) * 10.f, (zEnd - z) * 10.f);
        Float3 center((x + xEnd) * 5.f, (y + yEnd) * 5.f, (z + zEnd) * 5.f);
        worldIndexator->addZone(CubeZone(type, center, size));
        z = zEnd;
      }
      y = yEnd;
    }
    x = xEnd;
  }
}

void addLandscape(unsigned seed, const LandscapeOptions &options) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> frequency(0.02f, 0.2f), phase(0.f, 6.28f);
  Waves waves = {frequency(random), frequency(random), phase(random),
                 phase(random),     frequency(random), frequency(random)};
  int cell = options.cellCubes;
  for (int rx = 0; rx < options.nbRegions; ++rx)
    for (int rz = 0; rz < options.nbRegions; ++rz) {
      // Columns along z, equal heights merged into one run.
      for (int x = rx * regionCubes; x < (rx + 1) * regionCubes; x += cell) {
        int runStart = rz * regionCubes;
        int runHeight = heightAt(waves, options, x, runStart);
        for (int z = runStart + cell; z <= (rz + 1) * regionCubes; z += cell) {
          int height = z < (rz + 1) * regionCubes ? heightAt(waves, options, x, z) : -1;
          if (height == runHeight)
            continue;
          addColumn(Int3(x, 0, runStart), Int3(x + cell, runHeight, z), 1);
          runStart = z;
          runHeight = height;
        }
      }
      std::uniform_int_distribution<int> inRegion(0, regionCubes - 1), side(1, 3), lift(0, 3),
          kind(0, 4);
      for (int n = 0; n < options.nbBoxesPerRegion; ++n) {
        int x = rx * regionCubes + inRegion(random), z = rz * regionCubes + inRegion(random);
        Int3 size(side(random), side(random), side(random));
        x = std::min(x, (rx + 1) * regionCubes - size.x());
        z = std::min(z, (rz + 1) * regionCubes - size.z());
        int ground = heightAt(waves, options, x - (x - rx * regionCubes) % cell,
                              z - (z - rz * regionCubes) % cell);
        int y = ground + lift(random);
        addBoxAcrossRegions(Int3(x, y, z), Int3(x, y, z) + size, kind(random) == 0 ? 2 : 1);
      }
      std::uniform_real_distribution<float> oddSize(2.5f, 40.f), oddPlace(0.f, 320.f);
      for (int n = 0; n < options.nbOddZonesPerRegion; ++n) {
        Float3 size(oddSize(random), oddSize(random), oddSize(random));
        Float3 center(rx * 320.f + oddPlace(random), oddPlace(random) * 0.5f,
                      rz * 320.f + oddPlace(random));
        worldIndexator->addZone(CubeZone(n % 3, center, size));
      }
    }
}

size_t countZones() {
  Int3 size = worldIndexator->tableRegionSize;
  size_t count = 0;
  for (int x = 0; x < size.x(); ++x)
    for (int y = 0; y < size.y(); ++y)
      for (int z = 0; z < size.z(); ++z)
        count += worldIndexator->getRegion(Int3(x, y, z))->zones.size();
  return count;
}

std::vector<unsigned char> worldBytes() {
  char *buffer = NULL;
  size_t length = 0;
  FILE *fd = open_memstream(&buffer, &length);
  worldIndexator->write(fd);
  fclose(fd);
  std::vector<unsigned char> bytes(buffer, buffer + length);
  free(buffer);
  return bytes;
}
