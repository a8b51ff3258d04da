// Entry points of the static shadow computation: all regions of the table or
// the one under a point, each region lit by its own light, with the zones of
// its column and of the -x and -z neighbour columns as casters.
#include "CubeZoneStaticShadows.h"

#include <cstdio>

#include "WorldIndexator.h"
#include "WorldRegion.h"

void CubeZoneStaticShadows::computeAllShadows(Path path) {
  printf("Calculating shadows ... please wait ...\n");
  fflush(stdout);
  Int3 size = worldIndexator->tableRegionSize;
  if (path == PATH_FAST) {
    std::vector<Int3> regions;
    for (int x = 0; x < size.x(); ++x)
      for (int z = 0; z < size.z(); ++z)
        for (int y = 0; y < size.y(); ++y)
          regions.push_back(Int3(x, y, z));
    computeRegionsFast(regions, true);
  } else {
    for (int x = 0; x < size.x(); ++x)
      for (int z = 0; z < size.z(); ++z) {
        std::vector<CubeZone *> casters = collectShadowCasters(x, z);
        for (int y = 0; y < size.y(); ++y) {
          Float3 light = shadowLightOf(Int3(x, y, z));
          printf("Region %dx%dx%d ", x, y, z);
          fflush(stdout);
          computeRegionShadows(*worldIndexator->getRegion(Int3(x, y, z)), casters, light);
          printf("\n");
          fflush(stdout);
        }
      }
  }
  printf("... calculating shadows done.\n");
  fflush(stdout);
}

void CubeZoneStaticShadows::computeShadowsAt(const Float3 &point, Path path) {
  Int3 posIndex = worldIndexator->regionIndexOf(point);
  printf("Calculating shadows for region %dx%dx%d:\n", posIndex.x(), posIndex.y(), posIndex.z());
  fflush(stdout);
  // The editor's cursor moves freely past the table: nothing to shade there.
  if (!worldIndexator->isInsideTable(posIndex)) {
    printf("Calculating shadows done.\n");
    fflush(stdout);
    return;
  }
  if (path == PATH_FAST) {
    computeRegionsFast(std::vector<Int3>(1, posIndex), false);
  } else {
    std::vector<CubeZone *> casters = collectShadowCasters(posIndex.x(), posIndex.z());
    computeRegionShadows(*worldIndexator->getRegion(posIndex), casters, shadowLightOf(posIndex));
  }
  printf("\nCalculating shadows done.\n");
  fflush(stdout);
}

std::vector<CubeZone *> CubeZoneStaticShadows::collectShadowCasters(int x, int z) {
  std::vector<CubeZone *> casters;
  Int3 size = worldIndexator->tableRegionSize;
  for (int y = 0; y < size.y(); ++y) {
    // Only the neighbours towards the light: -x and -z, not the diagonal.
    const Int3 regions[3] = {Int3(x, y, z), Int3(x - 1, y, z), Int3(x, y, z - 1)};
    for (const Int3 &posIndex : regions) {
      if (!worldIndexator->isInsideTable(posIndex))
        continue;
      for (CubeZone &zone : worldIndexator->getRegion(posIndex)->zones)
        casters.push_back(&zone);
    }
  }
  return casters;
}

Float3 CubeZoneStaticShadows::shadowLightOf(const Int3 &posIndex) {
  float regionSize = worldIndexator->regionSize;
  Int3 absolute = worldIndexator->tableOrigin + posIndex;
  Float3 center((static_cast<float>(absolute.x()) + 0.5f) * regionSize,
                (static_cast<float>(absolute.y()) + 0.5f) * regionSize,
                (static_cast<float>(absolute.z()) + 0.5f) * regionSize);
  return center + Float3(-3000, 10000, -3000);
}
