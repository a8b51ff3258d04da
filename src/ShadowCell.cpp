// Cells of a shadowed face: the recursive cell shading with its corner
// patterns and windings, the bisection towards a shadow edge, the point tests,
// and the pieces both shadow paths share. Everything here is pure.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "CubeZone.h"
#include "CubeZoneStaticShadows.h"
#include "FatalReport.h"
#include "ShadowCell.h"

const int occluderTriangleCorners[36] = {
    1, 7, 4, 1, 6, 7,  // -x
    0, 2, 5, 0, 5, 3,  // +x
    2, 4, 7, 2, 7, 5,  // -y
    0, 6, 1, 0, 3, 6,  // +y
    3, 5, 7, 3, 7, 6,  // -z
    0, 1, 4, 0, 4, 2,  // +z
};

namespace {

// Signs of the occluder corners q0 to q7.
const float cornerSigns[8][3] = {{1, 1, 1},   {-1, 1, 1},  {1, -1, 1},  {1, 1, -1},
                                 {-1, -1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, -1}};

const Float3 removalOffset[6] = {Float3(-0.1f, 0, 0), Float3(0.1f, 0, 0),  Float3(0, -0.1f, 0),
                                 Float3(0, 0.1f, 0),  Float3(0, 0, -0.1f), Float3(0, 0, 0.1f)};

// Cells per side and per face beyond which a face is skipped: a zone of the
// editor (at most one region, 32 cells a side) never comes near.
const double maxCellsPerSide = 65536.;
const double maxCellsPerFace = 1048576.;

// A 2D point of the face as a 3D point relative to the zone's centre.
Float3 toZonePoint(const Float2 &p, float plane, int face) {
  switch (face) {
    case 0:
    case 1:
      return Float3(plane, p.x(), p.y());
    case 2:
    case 3:
      return Float3(p.x(), plane, p.y());
    case 4:
    case 5:
      return Float3(p.x(), p.y(), plane);
  }
  ASSERT(false);
  return Float3();
}

// The cell (or quadrilateral) a, b, c, d as two triangles, wound per face.
void addTwoTriangles(std::vector<Float3> &out, float plane, int face, const Float2 &a,
                     const Float2 &b, const Float2 &c, const Float2 &d) {
  const Float2 *order[6];
  if (face == 0 || face == 3 || face == 4) {
    const Float2 *wound[6] = {&a, &d, &b, &a, &c, &d};
    std::copy(wound, wound + 6, order);
  } else if (face == 1 || face == 2 || face == 5) {
    const Float2 *wound[6] = {&b, &d, &a, &d, &c, &a};
    std::copy(wound, wound + 6, order);
  } else {
    ASSERT(false);
  }
  for (const Float2 *p : order)
    out.push_back(toZonePoint(*p, plane, face));
}

void addTriangle(std::vector<Float3> &out, float plane, int face, const Float2 &p, const Float2 &q,
                 const Float2 &r) {
  out.push_back(toZonePoint(p, plane, face));
  out.push_back(toZonePoint(q, plane, face));
  out.push_back(toZonePoint(r, plane, face));
}

bool isPointShadowed(const Float2 &point, const std::vector<Float2> &triangles) {
  return CubeZoneStaticShadows::isInShadow(point, triangles);
}

bool isPointShadowed(const Float2 &point, const ShadowFaceIndex &index) {
  return index.isInShadow(point);
}

bool isFinite(const Float3 &p) {
  return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z());
}

}  // namespace

void ShadowCell::casterCorners(const CubeZone &caster, Float3 corners[8]) {
  Float3 half = caster.size * 0.5f;
  for (int k = 0; k < 8; ++k)
    corners[k] = caster.center + Float3(cornerSigns[k][0] * half.x(), cornerSigns[k][1] * half.y(),
                                        cornerSigns[k][2] * half.z());
}

void ShadowCell::faceAxes(int face, int &axis, int &hAxis, int &vAxis) {
  axis = face / 2;
  hAxis = axis == 0 ? 1 : 0;
  vAxis = axis == 2 ? 1 : 2;
}

float ShadowCell::adjustedCoordinate(float p, float low, float high, float light, float casterLow,
                                     float casterHigh) {
  float q = p;
  if (p < high && light > high && high <= casterHigh)
    q = high;
  if (light < low && q > low && low >= casterLow)
    q = low;
  return q;
}

bool ShadowCell::isCornerAccepted(int face, float q, float low, float high, float light) {
  if (face % 2 == 0)
    return light <= q && q <= low;
  return high <= q && q <= light;
}

bool ShadowCell::projectCorner(const Float3 &q, const Float3 &light, int axis, float plane,
                               const Float3 &center, Float3 &projected) {
  float toCorner = q[axis] - light[axis];
  if (toCorner == 0.f)
    return false;
  float s = (plane - light[axis]) / toCorner;
  projected = (light + (q - light) * s) - center;
  return isFinite(projected);
}

void ShadowCell::toFacePoints(const std::vector<Float3> &points, int face,
                              std::vector<Float2> &out) {
  int axis, hAxis, vAxis;
  faceAxes(face, axis, hAxis, vAxis);
  out.clear();
  out.reserve(points.size());
  for (const Float3 &p : points)
    out.push_back(Float2(p[hAxis], p[vAxis]));
}

bool ShadowCell::isCellCountBounded(float a, float b) {
  if (!std::isfinite(a) || !std::isfinite(b))
    return false;
  // Cells along one side: the w = -a + 5, -a + 15, ... below a.
  double nbH = a > 2.5f ? std::ceil((2. * a - 5.) / 10.) : 0.;
  double nbV = b > 2.5f ? std::ceil((2. * b - 5.) / 10.) : 0.;
  return nbH <= maxCellsPerSide && nbV <= maxCellsPerSide && nbH * nbV <= maxCellsPerFace;
}

std::string ShadowCell::skippedFaceLine(const CubeZone &zone, int face) {
  char line[200];
  snprintf(line, sizeof line,
           "\nShadows skipped on face %d of the zone at (%g, %g, %g): too large\n", face,
           static_cast<double>(zone.center.x()), static_cast<double>(zone.center.y()),
           static_cast<double>(zone.center.z()));
  return line;
}

Float3 ShadowCell::removalPoint(const Float3 &center, const Float3 &point, int face) {
  return center + point + removalOffset[face];
}

template <class Triangles>
void ShadowCell::shadeFace(std::vector<Float3> &out, float plane, const Triangles &triangles,
                           int face, float a, float b) {
  for (float w = -a + 5; w < a; w += 10)
    for (float t = -b + 5; t < b; t += 10)
      shadeCell(out, plane, triangles, face, w - 5, (w > a - 5 ? a : w + 5), t - 5,
                (t > b - 5 ? b : t + 5));
}

template <class Triangles>
bool ShadowCell::shadeCell(std::vector<Float3> &out, float plane, const Triangles &triangles,
                           int face, float minHoriz, float maxHoriz, float minVert, float maxVert) {
  ASSERT(minHoriz < maxHoriz && minVert < maxVert);
  const float inset = 0.001f;
  Float2 a(minHoriz + inset, minVert + inset);
  Float2 b(maxHoriz - inset, minVert + inset);
  Float2 c(minHoriz + inset, maxVert - inset);
  Float2 d(maxHoriz - inset, maxVert - inset);
  bool isSmall = maxHoriz - minHoriz < 10 || maxVert - minVert < 10;
  bool isTiny = maxHoriz - minHoriz < 1 || maxVert - minVert < 1;

  bool isAIn = isPointShadowed(a, triangles);
  bool isBIn = isPointShadowed(b, triangles);
  bool isCIn = isPointShadowed(c, triangles);
  bool isDIn = isPointShadowed(d, triangles);
  int nbPointsInside = isAIn + isBIn + isCIn + isDIn;
  if (nbPointsInside == 0)
    return false;

  if (nbPointsInside == 4 || (isSmall && (nbPointsInside != 3 || isTiny))) {
    if (nbPointsInside >= 3 || (isAIn && isDIn) || (isBIn && isCIn)) {
      addTwoTriangles(out, plane, face, a, b, c, d);
    } else if (nbPointsInside == 2) {
      // One shadowed edge: the two lit corners move to the shadow's edge.
      if (isAIn && isBIn) {
        c = findShadowEdge(a, c, triangles);
        d = findShadowEdge(b, d, triangles);
      } else if (isCIn && isDIn) {
        a = findShadowEdge(c, a, triangles);
        b = findShadowEdge(d, b, triangles);
      } else if (isAIn && isCIn) {
        b = findShadowEdge(a, b, triangles);
        d = findShadowEdge(c, d, triangles);
      } else {
        a = findShadowEdge(b, a, triangles);
        c = findShadowEdge(d, c, triangles);
      }
      addTwoTriangles(out, plane, face, a, b, c, d);
    } else if (isAIn) {
      Float2 cEdge = findShadowEdge(a, c, triangles);
      Float2 bEdge = findShadowEdge(a, b, triangles);
      addTriangle(out, plane, face, a, cEdge, bEdge);
      addTriangle(out, plane, face, bEdge, cEdge, a);
    } else if (isBIn) {
      Float2 aEdge = findShadowEdge(b, a, triangles);
      Float2 dEdge = findShadowEdge(b, d, triangles);
      addTriangle(out, plane, face, aEdge, dEdge, b);
      addTriangle(out, plane, face, b, dEdge, aEdge);
    } else if (isCIn) {
      Float2 aEdge = findShadowEdge(c, a, triangles);
      Float2 dEdge = findShadowEdge(c, d, triangles);
      addTriangle(out, plane, face, aEdge, c, dEdge);
      addTriangle(out, plane, face, dEdge, c, aEdge);
    } else if (isDIn) {
      Float2 bEdge = findShadowEdge(d, b, triangles);
      Float2 cEdge = findShadowEdge(d, c, triangles);
      addTriangle(out, plane, face, bEdge, cEdge, d);
      addTriangle(out, plane, face, d, cEdge, bEdge);
    } else {
      ASSERT(nbPointsInside != 1);
    }
    return true;
  }

  float midHoriz = (minHoriz + maxHoriz) / 2;
  float midVert = (minVert + maxVert) / 2;
  bool isLowLowDone = shadeCell(out, plane, triangles, face, minHoriz, midHoriz, minVert, midVert);
  bool isHighLowDone = shadeCell(out, plane, triangles, face, midHoriz, maxHoriz, minVert, midVert);
  bool isLowHighDone = shadeCell(out, plane, triangles, face, minHoriz, midHoriz, midVert, maxVert);
  bool isHighHighDone =
      shadeCell(out, plane, triangles, face, midHoriz, maxHoriz, midVert, maxVert);
  return isLowLowDone && isHighLowDone && isLowHighDone && isHighHighDone;
}

template <class Triangles>
Float2 ShadowCell::findShadowEdge(Float2 inside, Float2 outside, const Triangles &triangles) {
  const float precision = 0.1f;
  for (;;) {
    Float2 middle = (inside + outside) / 2.f;
    if (std::fabs(inside.x() - outside.x()) < precision &&
        std::fabs(inside.y() - outside.y()) < precision)
      return middle;
    if (isPointShadowed(middle, triangles))
      inside = middle;
    else
      outside = middle;
  }
}

template void ShadowCell::shadeFace(std::vector<Float3> &, float, const std::vector<Float2> &, int,
                                    float, float);
template void ShadowCell::shadeFace(std::vector<Float3> &, float, const ShadowFaceIndex &, int,
                                    float, float);
template bool ShadowCell::shadeCell(std::vector<Float3> &, float, const std::vector<Float2> &, int,
                                    float, float, float, float);
template Float2 ShadowCell::findShadowEdge(Float2, Float2, const std::vector<Float2> &);

bool CubeZoneStaticShadows::shadeCell(std::vector<Float3> &out, float plane,
                                      const std::vector<Float2> &triangles, int face, float minH,
                                      float maxH, float minV, float maxV) {
  return ShadowCell::shadeCell(out, plane, triangles, face, minH, maxH, minV, maxV);
}

Float2 CubeZoneStaticShadows::findShadowEdge(Float2 inside, Float2 outside,
                                             const std::vector<Float2> &triangles) {
  return ShadowCell::findShadowEdge(inside, outside, triangles);
}

bool CubeZoneStaticShadows::isInShadow(const Float2 &point, const std::vector<Float2> &triangles) {
  for (size_t k = 0; k + 2 < triangles.size(); k += 3)
    if (isPointInTriangle(point, &triangles[k]))
      return true;
  return false;
}

bool CubeZoneStaticShadows::isPointInTriangle(const Float2 &point, const Float2 triangle[3]) {
  float h = point.x(), v = point.y();
  int nbCrossings = 0;
  for (int k = 0; k < 3; ++k) {
    float eh = triangle[k].x(), ev = triangle[k].y();
    float fh = triangle[(k + 1) % 3].x(), fv = triangle[(k + 1) % 3].y();
    if (ev == fv)
      continue;
    if (std::min(ev, fv) < v && v <= std::max(ev, fv) && h <= std::max(eh, fh) &&
        (eh == fh || h <= eh + (v - ev) * (fh - eh) / (fv - ev)))
      ++nbCrossings;
  }
  return nbCrossings % 2 == 1;
}
