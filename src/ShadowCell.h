// What the reference and the fast shadow paths share, so that both do the
// same float operations in the same order: caster corners and their
// projection onto a face plane, the reduction to a face's 2D axes, the cells
// of a face, and the removal points. Also the fast path's triangle index,
// whose point test skips only triangles that cannot hold the point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BasicVector.h"

class CubeZone;

// Occluder corner indices of the twelve triangles, faces -x, +x, -y, +y, -z, +z.
extern const int occluderTriangleCorners[36];

// A face's triangles with an index by v interval and h extent.
class ShadowFaceIndex {
 public:
  // Keeps the triangles that a point within 10 units of the face
  // (half extents a along h, b along v) can lie in.
  void build(const std::vector<Float2> &triangles, float a, float b);
  bool isInShadow(const Float2 &point) const;

 private:
  struct Entry {
    float maxH, minV, maxV;
    // Below this h no triangle edge can be crossed an odd number of times.
    float leftLimit;
    Float2 corners[3];
  };
  int bucketOf(float v) const;
  // Made on demand by the point test.
  void buildBuckets() const;

  std::vector<Entry> entries;
  float faceB = 0.f;
  mutable bool isBucketed = false;
  mutable int nbQueries = 0;
  // Entry indices per bucket of v.
  mutable std::vector<uint32_t> bucketStart;
  mutable std::vector<uint32_t> bucketEntries;
  mutable double base = 0.;
  mutable double scale = 1.;
  mutable int nbBuckets = 1;
};

class ShadowCell {
 public:
  // The occluder's corners q0 to q7: centre plus (+-hx, +-hy, +-hz).
  static void casterCorners(const CubeZone &caster, Float3 corners[8]);
  // Plane axis of a shadow face (0 x, 1 y, 2 z) and its two in-plane axes.
  static void faceAxes(int face, int &axis, int &hAxis, int &vAxis);
  // The corner coordinate an x or z face uses: the two straddling
  // adjustments; a y face uses the coordinate unchanged.
  static float adjustedCoordinate(float p, float low, float high, float light, float casterLow,
                                  float casterHigh);
  // Whether the face accepts a corner at (adjusted) coordinate q on its axis.
  static bool isCornerAccepted(int face, float q, float low, float high, float light);
  // Projection of q from the light onto the plane axis = plane, relative to
  // center; false for a corner in the light's own plane or a result that is
  // not finite (the face is then unusable for that caster).
  static bool projectCorner(const Float3 &q, const Float3 &light, int axis, float plane,
                            const Float3 &center, Float3 &projected);
  // The face's two in-plane coordinates of every point.
  static void toFacePoints(const std::vector<Float3> &points, int face, std::vector<Float2> &out);
  // False for a face whose cells could not be walked (sizes from a file).
  static bool isCellCountBounded(float a, float b);
  static std::string skippedFaceLine(const CubeZone &zone, int face);
  // Centre + point + 0.1 along the face's outward axis.
  static Float3 removalPoint(const Float3 &center, const Float3 &point, int face);

  // The cells of one face (half extents a, b) shaded into out.
  template <class Triangles>
  static void shadeFace(std::vector<Float3> &out, float plane, const Triangles &triangles, int face,
                        float a, float b);
  template <class Triangles>
  static bool shadeCell(std::vector<Float3> &out, float plane, const Triangles &triangles, int face,
                        float minH, float maxH, float minV, float maxV);
  template <class Triangles>
  static Float2 findShadowEdge(Float2 inside, Float2 outside, const Triangles &triangles);
};
