// The shadow computation as plainly as it can be written: every caster
// projected corner by corner onto every face plane, every cell tested against
// every projected triangle, every result triangle tested against every caster.
// The fast path must give exactly what this gives.
#include <cstdio>

#include "CubeZone.h"
#include "CubeZoneStaticShadows.h"
#include "FatalReport.h"
#include "ShadowCell.h"
#include "WorldRegion.h"

void CubeZoneStaticShadows::computeRegionShadows(WorldRegion &region,
                                                 const std::vector<CubeZone *> &casters,
                                                 const Float3 &light) {
  region.dropGeometry();
  for (CubeZone &zone : region.zones) {
    printf("=");
    fflush(stdout);
    computeZoneShadows(zone, casters, light);
  }
}

void CubeZoneStaticShadows::computeZoneShadows(CubeZone &zone,
                                               const std::vector<CubeZone *> &casters,
                                               const Float3 &light) {
  Float3 half = zone.size * 0.5f;
  Float3 min = zone.center - half;
  Float3 max = zone.center + half;
  for (int j = 0; j < 6; ++j)
    zone.shadowTrianglesForEachFace[j].clear();

  // Faces the light is not strictly beyond are back faces.
  zone.isFaceInShadow[0] = light.x() >= min.x();
  zone.isFaceInShadow[1] = light.x() <= max.x();
  zone.isFaceInShadow[2] = light.y() >= min.y();
  zone.isFaceInShadow[3] = light.y() <= max.y();
  zone.isFaceInShadow[4] = light.z() >= min.z();
  zone.isFaceInShadow[5] = light.z() <= max.z();

  // Per face, the triangles of every caster projected onto its plane.
  std::vector<Float3> shadowTrianglesForEachFace[6];
  for (CubeZone *caster : casters) {
    if (caster == &zone)
      continue;
    Float3 q[8];
    ShadowCell::casterCorners(*caster, q);
    Float3 casterLow = q[7], casterHigh = q[0];
    std::vector<Float3> tmpShadowTrianglesForEachFace[6];
    bool isUsable[6] = {true, true, true, true, true, true};
    for (const Float3 &p : q) {
      for (int i = 0; i < 6; ++i) {
        int axis = i / 2;
        // x and z faces see the corner with their straddling adjustments.
        Float3 seen = p;
        if (axis != 1)
          seen[axis] = ShadowCell::adjustedCoordinate(p[axis], min[axis], max[axis], light[axis],
                                                      casterLow[axis], casterHigh[axis]);
        if (!ShadowCell::isCornerAccepted(i, seen[axis], min[axis], max[axis], light[axis]))
          isUsable[i] = false;
        float plane = i % 2 == 0 ? min[axis] : max[axis];
        Float3 projected;
        if (!ShadowCell::projectCorner(seen, light, axis, plane, zone.center, projected))
          isUsable[i] = false;
        tmpShadowTrianglesForEachFace[i].push_back(projected);
      }
    }
    for (int i = 0; i < 6; ++i) {
      // clang-format off
      ASSERT(tmpShadowTrianglesForEachFace[i].size()==8);
      // clang-format on
      if (!isUsable[i])
        continue;
      for (int k = 0; k < 36; ++k)
        shadowTrianglesForEachFace[i].push_back(
            tmpShadowTrianglesForEachFace[i][occluderTriangleCorners[k]]);
    }
  }
  ASSERT(shadowTrianglesForEachFace[0].size() % 6 == 0);

  for (int j = 0; j < 6; ++j) {
    if (zone.isFaceInShadow[j])
      continue;
    const std::vector<Float3> &triangleVectorTmp = shadowTrianglesForEachFace[j];
    ASSERT(triangleVectorTmp.size() % 6 == 0);
    std::vector<Float3> triangleVectorTmp2 = triangleVectorTmp;
    ASSERT(triangleVectorTmp2.size() % 3 == 0);
    std::vector<Float2> triangles;
    ShadowCell::toFacePoints(triangleVectorTmp2, j, triangles);
    int axis, hAxis, vAxis;
    ShadowCell::faceAxes(j, axis, hAxis, vAxis);
    float plane = j % 2 == 0 ? -half[axis] : half[axis];
    if (!ShadowCell::isCellCountBounded(half[hAxis], half[vAxis])) {
      printf("%s", ShadowCell::skippedFaceLine(zone, j).c_str());
      fflush(stdout);
      continue;
    }
    ShadowCell::shadeFace(zone.shadowTrianglesForEachFace[j], plane, triangles, j, half[hAxis],
                          half[vAxis]);
  }

  // Triangles that would lie inside a solid caster are removed.
  for (int j = 0; j < 6; ++j) {
    std::vector<Float3> &list = zone.shadowTrianglesForEachFace[j];
    std::vector<Float3> kept;
    for (size_t k = 0; k + 2 < list.size(); k += 3) {
      Float3 p0 = ShadowCell::removalPoint(zone.center, list[k], j);
      Float3 p1 = ShadowCell::removalPoint(zone.center, list[k + 1], j);
      Float3 p2 = ShadowCell::removalPoint(zone.center, list[k + 2], j);
      bool isHidden = false;
      for (CubeZone *caster : casters)
        if (caster->isCollidingPoint(p0) && caster->isCollidingPoint(p1) &&
            caster->isCollidingPoint(p2)) {
          isHidden = true;
          break;
        }
      if (!isHidden)
        kept.insert(kept.end(), list.begin() + k, list.begin() + k + 3);
    }
    list = kept;
  }
}
