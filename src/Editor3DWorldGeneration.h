// Landscape generation for the editor: one flat region, one staircase
// hillside region (four orientations), or a block of n x n regions whose
// heights come from "world_heightmap.png". A grid of heights becomes as few
// boxes as runs of equal height allow; then a random number of extra boxes
// is scattered and lifted until they rest on what was already built. Every
// column is one top cube of the top type over a body of the body type.
#pragma once

#include <vector>

#include "BasicVector.h"

class Editor3D;

class Editor3DWorldGeneration {
 public:
  explicit Editor3DWorldGeneration(Editor3D *editor);

  // The region generator: center is the region's ground centre in cubes,
  // hillside 0 to 4, heights a width x height grid (sample (i, k) at
  // i + k * width, i along x) or NULL, rangeGeneration the region edge in cubes.
  bool generateRegion(const Int3 &center, int hillside, const unsigned char *heights,
                      int rangeGeneration, int bodyType, int topType, int width, int height);
  // One flat (hillside 0) or hillside region at the cursor.
  void generateOneRegion(const Int3 &cursor, int regionCubes, int bodyType, int topType,
                         int hillside);
  // n x n regions (8 or 32) from the height map, starting n/2 regions
  // before the cursor on x and z; false when the height map is missing or
  // refused.
  bool generateFromHeightmap(const Int3 &cursor, int regionCubes, int bodyType, int topType, int n);

  // Options, for the run only: the bound of the extra random boxes (0 to
  // 1000), cubes per height sample (1, 2, 4 or 8), height factor (1, 2, 4).
  int nbRandomCubes = 50;
  int heightmapAccuracy = 2;
  int heightFactor = 2;

  // Corner pairs already added by the current region's generation, in the
  // order they were given (not sorted per axis).
  std::vector<Int3> cubesPosBeg;
  std::vector<Int3> cubesPosEnd;

 private:
  void record(const Int3 &first, const Int3 &second);
  // A body of bodyType under a one-cube top of topType (only the top when
  // the column is one cube high).
  void addColumn(const Int3 &lower, const Int3 &upper);
  void addTop(const Int3 &first, const Int3 &second);
  void generateTerrain(const Int3 &center, int hillside, const unsigned char *heights,
                       int rangeGeneration, int width, int height);
  void mergeRuns(const Int3 &center, const unsigned char *heights, int rangeGeneration, int width,
                 int height);
  void addRandomBoxes(const Int3 &center, int hillside, int rangeGeneration);

  Editor3D *editor;
  int bodyType = 0;
  int topType = 0;
};
