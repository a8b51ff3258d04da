// Landscapes for the shadow tests and benchmarks, added to worldIndexator:
// columns of cubes over a block of regions, with heights from a few random
// waves and runs of equal height merged along z, each column a body of type 0
// under a top cube of type 1, plus random boxes resting on the ground (of
// type 1, or of the non-collidable type 2) and, on request, zones of odd
// sizes. One cube is 10 units; a region is 32 cubes.
#pragma once

#include <cstdio>
#include <vector>

#include "BasicVector.h"

struct LandscapeOptions {
  // A block of nbRegions x nbRegions regions from absolute region (0, 0, 0).
  int nbRegions = 2;
  // Column width along x and z, in cubes.
  int cellCubes = 4;
  // Columns are 1 to this many cubes tall.
  int maxHeightCubes = 20;
  int nbBoxesPerRegion = 4;
  // Zones of any size from 2.5 to 40 units, not on the cube grid.
  int nbOddZonesPerRegion = 0;
};

void addLandscape(unsigned seed, const LandscapeOptions &options);
// The box between cube corners low and high, cut at region borders.
void addBoxAcrossRegions(const Int3 &low, const Int3 &high, int type);
size_t countZones();
// The region lists as the world file holds them.
std::vector<unsigned char> worldBytes();
