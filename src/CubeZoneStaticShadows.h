// Precomputed static shadows of the cube zones. Each region has its own point
// light far above it; the zones of the region's column and of its -x and -z
// neighbour columns cast shadows on every zone's faces, which are cut into
// cells of one cube face and refined into triangles. The results are stored in
// the zones (isFaceInShadow, shadowTrianglesForEachFace) and saved with them.
// Two paths compute them: the plain one below, kept as the reference, and an
// indexed, threaded one giving the same flags, triangles and floats bit for bit.
#pragma once

#include <ostream>
#include <vector>

#include "BasicVector.h"

class CubeZone;
class WorldRegion;

class CubeZoneStaticShadows {
 public:
  enum Path { PATH_REFERENCE, PATH_FAST };

  // Every region of the region table.
  static void computeAllShadows(Path path = PATH_FAST);
  // The region whose table index holds the world point; a point outside the
  // table computes nothing.
  static void computeShadowsAt(const Float3 &point, Path path = PATH_FAST);

  // Zones of column (x, z) and of its -x and -z neighbours, y by y.
  static std::vector<CubeZone *> collectShadowCasters(int x, int z);
  // The region's centre moved 3000 units towards -x and -z and 10000 up.
  static Float3 shadowLightOf(const Int3 &posIndex);

  // The reference path.
  static void computeRegionShadows(WorldRegion &region, const std::vector<CubeZone *> &casters,
                                   const Float3 &light);
  static void computeZoneShadows(CubeZone &zone, const std::vector<CubeZone *> &casters,
                                 const Float3 &light);

  // Cells, edges and point tests on one face; triangles are 2D point triples
  // in the face's (h, v) axes.
  static bool shadeCell(std::vector<Float3> &out, float plane, const std::vector<Float2> &triangles,
                        int face, float minH, float maxH, float minV, float maxV);
  static Float2 findShadowEdge(Float2 inside, Float2 outside, const std::vector<Float2> &triangles);
  static bool isInShadow(const Float2 &point, const std::vector<Float2> &triangles);
  static bool isPointInTriangle(const Float2 &point, const Float2 triangle[3]);

 private:
  // The fast path of the two entry points: the regions in serial order,
  // each with its "Region ..." line when isPrintingRegions.
  static void computeRegionsFast(const std::vector<Int3> &regions, bool isPrintingRegions);
};
