// The fast shadow path. It gives the reference's results bit for bit: the
// same float operations in the same order for every value that is kept, and
// only skips work whose outcome is known: casters a face cannot use (decided
// on the two coordinates every caster corner takes per axis), projected
// triangles no cell point can lie in (by the point test's own necessary
// conditions, through an index by v interval and h extent), and solid casters
// far from a removal point (through a grid). Zones only write their own
// lists, so they are computed on all cores; the console text of each zone is
// buffered and printed in the serial order.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "CubeZone.h"
#include "CubeZoneStaticShadows.h"
#include "ShadowCell.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

// Queried points stay within this distance of a face's cells.
const float faceMargin = 10.f;

bool isInsideBox(const Float3 &low, const Float3 &high, const Float3 &point) {
  for (unsigned i = 0; i < 3; ++i)
    if (low[i] > point[i] || high[i] < point[i])
      return false;
  return true;
}

bool isFiniteBox(const Float3 &low, const Float3 &high) {
  for (unsigned i = 0; i < 3; ++i)
    if (!std::isfinite(low[i]) || !std::isfinite(high[i]))
      return false;
  return true;
}

// h below which no triangle of these extents can hold a point: every
// crossing of its edges is then right of the point, so crossings come in
// pairs. Below 10^6 in magnitude a computed crossing is off by less than 0.6;
// larger triangles get no limit.
float leftLimitOf(float minH, float maxH, float minV, float maxV) {
  const float bound = 1e6f;
  if (!(std::fabs(minH) < bound && std::fabs(maxH) < bound && std::fabs(minV) < bound &&
        std::fabs(maxV) < bound))
    return -INFINITY;
  return minH - 2.f;
}

// Whether a triangle (or caster) of these extents can hold a point of a
// face with half extents a, b.
bool canReachFace(float minH, float maxH, float minV, float maxV, float a, float b) {
  return !(maxV < -b - faceMargin || minV > b + faceMargin || maxH < -a - faceMargin ||
           leftLimitOf(minH, maxH, minV, maxV) > a + faceMargin);
}

// Whether the caster's projection onto the face plane, estimated in double
// precision from the two coordinates its corners take per axis, may reach
// the face. The margin covers the float rounding of the exact projection, so
// a caster refused here would be refused by canReachFace after projecting.
bool mayReachFace(const Float3 &casterLow, const Float3 &casterHigh, float seenLow, float seenHigh,
                  const Float3 &light, const Float3 &center, int axis, int hAxis, int vAxis,
                  float plane, float a, float b) {
  double lightAxis = light[axis];
  double toLow = seenLow - lightAxis, toHigh = seenHigh - lightAxis;
  if (toLow == 0. || toHigh == 0.)
    return true;
  double s[2] = {(plane - lightAxis) / toLow, (plane - lightAxis) / toHigh};
  double low[2], high[2], magnitude = std::fabs(lightAxis) + std::fabs(static_cast<double>(plane));
  const int axes[2] = {hAxis, vAxis};
  for (int n = 0; n < 2; ++n) {
    int ax = axes[n];
    double l = light[ax], c = center[ax];
    double p[2] = {casterLow[ax], casterHigh[ax]};
    low[n] = INFINITY;
    high[n] = -INFINITY;
    for (double corner : p)
      for (double scale : s) {
        double projected = l + (corner - l) * scale - c;
        low[n] = std::min(low[n], projected);
        high[n] = std::max(high[n], projected);
      }
    magnitude += std::fabs(l) + std::fabs(c) + std::fabs(low[n]) + std::fabs(high[n]);
  }
  if (!std::isfinite(magnitude) || magnitude > 1e12)
    return true;
  double margin = 1. + 1e-4 * magnitude;
  if (high[1] + margin < -b - faceMargin || low[1] - margin > b + faceMargin ||
      high[0] + margin < -a - faceMargin)
    return false;
  bool isBounded = true;
  for (int n = 0; n < 2; ++n)
    isBounded = isBounded && std::fabs(low[n]) + margin < 1e6 && std::fabs(high[n]) + margin < 1e6;
  return !(isBounded && low[0] - margin - 2. > a + faceMargin);
}

struct CasterBox {
  CubeZone *zone;
  Float3 corners[8];
  // The bounds of the zone's point test.
  Float3 low, high;
  bool isCollidable;
  // A cube type index the point test would refuse.
  bool isTypeInvalid;
};

// Solid casters by the x, z cell of the ground they cover, for the removal
// of triangles inside them.
class RemovalGrid {
 public:
  void build(const std::vector<CasterBox> &boxes) {
    this->boxes = &boxes;
    double lowX = INFINITY, lowZ = INFINITY, highX = -INFINITY, highZ = -INFINITY;
    for (const CasterBox &box : boxes)
      if (isGridded(box)) {
        lowX = std::min(lowX, static_cast<double>(box.low.x()));
        lowZ = std::min(lowZ, static_cast<double>(box.low.z()));
        highX = std::max(highX, static_cast<double>(box.high.x()));
        highZ = std::max(highZ, static_cast<double>(box.high.z()));
      }
    if (!(lowX <= highX)) {
      lowX = highX = lowZ = highZ = 0.;
    }
    baseX = lowX;
    baseZ = lowZ;
    nbX = static_cast<int>(std::min(256., std::max(1., (highX - lowX) / 10.)));
    nbZ = static_cast<int>(std::min(256., std::max(1., (highZ - lowZ) / 10.)));
    scaleX = nbX / std::max(1e-9, highX - lowX);
    scaleZ = nbZ / std::max(1e-9, highZ - lowZ);
    cellStart.assign(static_cast<size_t>(nbX) * nbZ + 1, 0);
    unbounded.clear();
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<uint32_t> fill(cellStart.begin(), cellStart.end() - 1);
      if (pass == 1)
        cellItems.assign(cellStart.back(), 0);
      for (uint32_t k = 0; k < boxes.size(); ++k) {
        const CasterBox &box = boxes[k];
        if (!isGridded(box)) {
          if (pass == 0 && (box.isCollidable || box.isTypeInvalid))
            unbounded.push_back(k);
          continue;
        }
        for (int i = cellOf(box.low.x(), baseX, scaleX, nbX);
             i <= cellOf(box.high.x(), baseX, scaleX, nbX); ++i)
          for (int j = cellOf(box.low.z(), baseZ, scaleZ, nbZ);
               j <= cellOf(box.high.z(), baseZ, scaleZ, nbZ); ++j) {
            size_t cell = static_cast<size_t>(i) * nbZ + j;
            if (pass == 0)
              ++cellStart[cell + 1];
            else
              cellItems[fill[cell]++] = k;
          }
      }
      if (pass == 0)
        for (size_t c = 1; c < cellStart.size(); ++c)
          cellStart[c] += cellStart[c - 1];
    }
  }

  // Some solid caster holds all three points.
  bool isHidden(const Float3 points[3]) const {
    for (uint32_t k : unbounded)
      if (holds(k, points))
        return true;
    for (int p = 0; p < 3; ++p)
      for (unsigned i = 0; i < 3; ++i)
        if (std::isnan(points[p][i])) {
          // A NaN coordinate is inside every box: ask them all.
          for (uint32_t k = 0; k < boxes->size(); ++k)
            if (holds(k, points))
              return true;
          return false;
        }
    size_t cell = static_cast<size_t>(cellOf(points[0].x(), baseX, scaleX, nbX)) * nbZ +
                  cellOf(points[0].z(), baseZ, scaleZ, nbZ);
    for (uint32_t n = cellStart[cell]; n < cellStart[cell + 1]; ++n)
      if (holds(cellItems[n], points))
        return true;
    return false;
  }

 private:
  static bool isGridded(const CasterBox &box) {
    return box.isCollidable && !box.isTypeInvalid && isFiniteBox(box.low, box.high);
  }
  // Monotone in the coordinate, so a box holding a point covers its cell.
  static int cellOf(float coordinate, double base, double scale, int nb) {
    double cell = (static_cast<double>(coordinate) - base) * scale;
    if (!(cell >= 0.))
      return 0;
    if (cell >= nb)
      return nb - 1;
    return static_cast<int>(cell);
  }
  bool holds(uint32_t k, const Float3 points[3]) const {
    const CasterBox &box = (*boxes)[k];
    // The point test ends the program on such a type, as the reference does.
    if (box.isTypeInvalid)
      box.zone->isCollidingPoint(points[0]);
    if (!box.isCollidable)
      return false;
    return isInsideBox(box.low, box.high, points[0]) && isInsideBox(box.low, box.high, points[1]) &&
           isInsideBox(box.low, box.high, points[2]);
  }

  const std::vector<CasterBox> *boxes = NULL;
  double baseX = 0., baseZ = 0., scaleX = 1., scaleZ = 1.;
  int nbX = 1, nbZ = 1;
  std::vector<uint32_t> cellStart, cellItems, unbounded;
};

struct ColumnCasters {
  std::vector<CasterBox> boxes;
  RemovalGrid grid;
};

// Collidable flags read once, so that workers never mark types as used.
std::vector<char> collidableFlags() {
  std::vector<char> flags;
  for (CubeType *type : cubeTypeManager->cubeTypes)
    flags.push_back(type->collidable ? 1 : 0);
  return flags;
}

void buildColumn(int x, int z, const std::vector<char> &isCollidable, ColumnCasters &column) {
  std::vector<CubeZone *> casters = CubeZoneStaticShadows::collectShadowCasters(x, z);
  column.boxes.resize(casters.size());
  for (size_t k = 0; k < casters.size(); ++k) {
    CasterBox &box = column.boxes[k];
    box.zone = casters[k];
    ShadowCell::casterCorners(*box.zone, box.corners);
    Float3 half = box.zone->size * 0.5f;
    box.low = box.zone->center - half;
    box.high = box.zone->center + half;
    int id = box.zone->cubeTypeIndex;
    box.isTypeInvalid = id < 0 || id >= static_cast<int>(isCollidable.size());
    box.isCollidable = !box.isTypeInvalid && isCollidable[id];
  }
  column.grid.build(column.boxes);
}

// The casters of one region's column by the directions in which its light
// sees them along one axis: a point X has the directions
// ((X.h - L.h) / (X.a - L.a), (X.v - L.v) / (X.a - L.a)), which its
// projection onto any plane across that axis keeps. A caster can shade a face
// only if its box of directions meets the directions of the face's extended
// rectangle. Casters around the light's plane, or whose projections could get
// too large for the face test's limits, are always offered.
class DirectionIndex {
 public:
  // planeDistance and centerDistance bound, over the region's zones,
  // |plane - L.a| and |L - centre| on the two other axes.
  void build(const std::vector<CasterBox> &boxes, const Float3 &light, int axis,
             double planeDistance, double centerDistance) {
    isUsable = std::isfinite(planeDistance) && std::isfinite(centerDistance);
    always.clear();
    cellStart.clear();
    cellItems.clear();
    if (!isUsable)
      return;
    int h = axis == 0 ? 1 : 0, v = axis == 2 ? 1 : 2;
    std::vector<double> directionBoxes(boxes.size() * 4);
    std::vector<char> isIndexed(boxes.size(), 0);
    double lowest[2] = {INFINITY, INFINITY}, highest[2] = {-INFINITY, -INFINITY};
    for (size_t k = 0; k < boxes.size(); ++k) {
      double *box = &directionBoxes[4 * k];
      box[0] = box[2] = INFINITY;
      box[1] = box[3] = -INFINITY;
      bool isBelow = false, isAbove = false;
      for (const Float3 &corner : boxes[k].corners) {
        double toCorner = static_cast<double>(corner[axis]) - light[axis];
        isBelow = isBelow || !(toCorner > 0.);
        isAbove = isAbove || !(toCorner < 0.);
        double dh = (corner[h] - static_cast<double>(light[h])) / toCorner;
        double dv = (corner[v] - static_cast<double>(light[v])) / toCorner;
        box[0] = std::min(box[0], dh);
        box[1] = std::max(box[1], dh);
        box[2] = std::min(box[2], dv);
        box[3] = std::max(box[3], dv);
      }
      double largest = std::max(std::max(std::fabs(box[0]), std::fabs(box[1])),
                                std::max(std::fabs(box[2]), std::fabs(box[3])));
      if ((isBelow && isAbove) || !(largest * planeDistance + centerDistance < 5e5)) {
        always.push_back(static_cast<uint32_t>(k));
        continue;
      }
      isIndexed[k] = 1;
      lowest[0] = std::min(lowest[0], box[0]);
      highest[0] = std::max(highest[0], box[1]);
      lowest[1] = std::min(lowest[1], box[2]);
      highest[1] = std::max(highest[1], box[3]);
    }
    for (int n = 0; n < 2; ++n) {
      if (!(lowest[n] <= highest[n]))
        lowest[n] = highest[n] = 0.;
      base[n] = lowest[n];
      scale[n] = nbCells / std::max(1e-12, highest[n] - lowest[n]);
    }
    cellStart.assign(nbCells * nbCells + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
      std::vector<uint32_t> fill(cellStart.begin(), cellStart.end() - 1);
      if (pass == 1)
        cellItems.assign(cellStart.back(), 0);
      for (size_t k = 0; k < boxes.size(); ++k) {
        if (!isIndexed[k])
          continue;
        const double *box = &directionBoxes[4 * k];
        for (int i = cellOf(box[0], 0); i <= cellOf(box[1], 0); ++i)
          for (int j = cellOf(box[2], 1); j <= cellOf(box[3], 1); ++j) {
            size_t cell = static_cast<size_t>(i) * nbCells + j;
            if (pass == 0)
              ++cellStart[cell + 1];
            else
              cellItems[fill[cell]++] = static_cast<uint32_t>(k);
          }
      }
      if (pass == 0)
        for (size_t c = 1; c < cellStart.size(); ++c)
          cellStart[c] += cellStart[c - 1];
    }
  }

  // Calls visit(k) for the casters whose directions may meet the box
  // [low0, high0] x [low1, high1] (some more than once), or for all of them
  // when the index cannot tell.
  template <class Visit>
  void forEach(size_t nbBoxes, double low0, double high0, double low1, double high1,
               Visit visit) const {
    if (!isUsable || !(low0 <= high0) || !(low1 <= high1)) {
      for (size_t k = 0; k < nbBoxes; ++k)
        visit(static_cast<uint32_t>(k));
      return;
    }
    for (uint32_t k : always)
      visit(k);
    for (int i = cellOf(low0, 0); i <= cellOf(high0, 0); ++i)
      for (int j = cellOf(low1, 1); j <= cellOf(high1, 1); ++j) {
        size_t cell = static_cast<size_t>(i) * nbCells + j;
        for (uint32_t n = cellStart[cell]; n < cellStart[cell + 1]; ++n)
          visit(cellItems[n]);
      }
  }

 private:
  static const int nbCells = 64;
  // Monotone in the direction, so a box meeting another shares a cell.
  int cellOf(double direction, int n) const {
    double cell = (direction - base[n]) * scale[n];
    if (!(cell >= 0.))
      return 0;
    if (cell >= nbCells)
      return nbCells - 1;
    return static_cast<int>(cell);
  }

  bool isUsable = false;
  double base[2] = {0., 0.}, scale[2] = {1., 1.};
  std::vector<uint32_t> always, cellStart, cellItems;
};

// The casters of a region's column as its light sees them.
struct RegionCasters {
  const ColumnCasters *column;
  Float3 light;
  DirectionIndex directions[3];
};

void buildRegionCasters(const std::vector<CubeZone> &zones, RegionCasters &region) {
  const Float3 &light = region.light;
  for (int axis = 0; axis < 3; ++axis) {
    double planeDistance = 0., centerDistance = 0.;
    for (const CubeZone &zone : zones) {
      Float3 half = zone.size * 0.5f;
      Float3 min = zone.center - half, max = zone.center + half;
      planeDistance =
          std::max(planeDistance, std::fabs(static_cast<double>(min[axis]) - light[axis]));
      planeDistance =
          std::max(planeDistance, std::fabs(static_cast<double>(max[axis]) - light[axis]));
      for (int other = 0; other < 3; ++other)
        if (other != axis)
          centerDistance = std::max(
              centerDistance, std::fabs(static_cast<double>(zone.center[other]) - light[other]));
      if (!std::isfinite(planeDistance) || !std::isfinite(centerDistance))
        planeDistance = INFINITY;
    }
    region.directions[axis].build(region.column->boxes, light, axis, planeDistance, centerDistance);
  }
}

// What one worker reuses from zone to zone.
struct Scratch {
  std::vector<Float2> triangles[6];
  ShadowFaceIndex index;
  // Which casters a face has seen: the face's stamp.
  std::vector<uint32_t> marks;
  uint32_t stamp = 0;
};

void computeZoneFast(CubeZone &zone, const RegionCasters &region, Scratch &scratch,
                     std::string &text) {
  const Float3 &light = region.light;
  Float3 half = zone.size * 0.5f;
  Float3 min = zone.center - half;
  Float3 max = zone.center + half;
  for (int j = 0; j < 6; ++j)
    zone.shadowTrianglesForEachFace[j].clear();
  zone.isFaceInShadow[0] = light.x() >= min.x();
  zone.isFaceInShadow[1] = light.x() <= max.x();
  zone.isFaceInShadow[2] = light.y() >= min.y();
  zone.isFaceInShadow[3] = light.y() <= max.y();
  zone.isFaceInShadow[4] = light.z() >= min.z();
  zone.isFaceInShadow[5] = light.z() <= max.z();

  int faces[6], nbFaces = 0;
  for (int j = 0; j < 6; ++j)
    if (!zone.isFaceInShadow[j]) {
      faces[nbFaces++] = j;
      scratch.triangles[j].clear();
    }

  const std::vector<CasterBox> &boxes = region.column->boxes;
  if (scratch.marks.size() < boxes.size())
    scratch.marks.resize(boxes.size(), 0);
  for (int n = 0; n < nbFaces; ++n) {
    int i = faces[n];
    int axis, hAxis, vAxis;
    ShadowCell::faceAxes(i, axis, hAxis, vAxis);
    float plane = i % 2 == 0 ? min[axis] : max[axis];
    // The directions of the face's rectangle, extended as the face test
    // allows and by the rounding of the projections.
    double toPlane = static_cast<double>(plane) - light[axis];
    double slack = 1. + 1e-6 * (std::fabs(static_cast<double>(light[hAxis])) +
                                std::fabs(static_cast<double>(light[vAxis])) +
                                std::fabs(static_cast<double>(zone.center[hAxis])) +
                                std::fabs(static_cast<double>(zone.center[vAxis])));
    double hLow = zone.center[hAxis] - static_cast<double>(half[hAxis]) - faceMargin - slack;
    double hHigh = zone.center[hAxis] + static_cast<double>(half[hAxis]) + faceMargin + 2. + slack;
    double vLow = zone.center[vAxis] - static_cast<double>(half[vAxis]) - faceMargin - slack;
    double vHigh = zone.center[vAxis] + static_cast<double>(half[vAxis]) + faceMargin + slack;
    double d0[2] = {(hLow - light[hAxis]) / toPlane, (hHigh - light[hAxis]) / toPlane};
    double d1[2] = {(vLow - light[vAxis]) / toPlane, (vHigh - light[vAxis]) / toPlane};
    double low0 = std::min(d0[0], d0[1]), high0 = std::max(d0[0], d0[1]);
    double low1 = std::min(d1[0], d1[1]), high1 = std::max(d1[0], d1[1]);
    low0 -= 1e-9 * (1. + std::fabs(low0));
    high0 += 1e-9 * (1. + std::fabs(high0));
    low1 -= 1e-9 * (1. + std::fabs(low1));
    high1 += 1e-9 * (1. + std::fabs(high1));
    if (toPlane == 0.)
      low0 = high0 = NAN;
    uint32_t stamp = ++scratch.stamp;
    region.directions[axis].forEach(boxes.size(), low0, high0, low1, high1, [&](uint32_t k) {
      if (scratch.marks[k] == stamp)
        return;
      scratch.marks[k] = stamp;
      const CasterBox &caster = boxes[k];
      if (caster.zone == &zone)
        return;
      const Float3 &casterLow = caster.corners[7];
      const Float3 &casterHigh = caster.corners[0];
      // Every corner takes one of two coordinates on the face's axis.
      float seenLow = casterLow[axis], seenHigh = casterHigh[axis];
      if (axis != 1) {
        seenLow = ShadowCell::adjustedCoordinate(seenLow, min[axis], max[axis], light[axis],
                                                 casterLow[axis], casterHigh[axis]);
        seenHigh = ShadowCell::adjustedCoordinate(seenHigh, min[axis], max[axis], light[axis],
                                                  casterLow[axis], casterHigh[axis]);
      }
      if (!ShadowCell::isCornerAccepted(i, seenLow, min[axis], max[axis], light[axis]) ||
          !ShadowCell::isCornerAccepted(i, seenHigh, min[axis], max[axis], light[axis]))
        return;
      if (!mayReachFace(casterLow, casterHigh, seenLow, seenHigh, light, zone.center, axis, hAxis,
                        vAxis, plane, half[hAxis], half[vAxis]))
        return;
      Float2 projected[8];
      bool isUsable = true;
      for (int k2 = 0; k2 < 8 && isUsable; ++k2) {
        Float3 seen = caster.corners[k2];
        if (axis != 1)
          seen[axis] = ShadowCell::adjustedCoordinate(seen[axis], min[axis], max[axis], light[axis],
                                                      casterLow[axis], casterHigh[axis]);
        Float3 point;
        isUsable = ShadowCell::projectCorner(seen, light, axis, plane, zone.center, point);
        projected[k2] = Float2(point[hAxis], point[vAxis]);
      }
      if (!isUsable)
        return;
      float minH = projected[0].x(), maxH = minH, minV = projected[0].y(), maxV = minV;
      for (int k2 = 1; k2 < 8; ++k2) {
        minH = std::min(minH, projected[k2].x());
        maxH = std::max(maxH, projected[k2].x());
        minV = std::min(minV, projected[k2].y());
        maxV = std::max(maxV, projected[k2].y());
      }
      if (!canReachFace(minH, maxH, minV, maxV, half[hAxis], half[vAxis]))
        return;
      for (int c = 0; c < 36; ++c)
        scratch.triangles[i].push_back(projected[occluderTriangleCorners[c]]);
    });
  }

  for (int n = 0; n < nbFaces; ++n) {
    int j = faces[n];
    int axis, hAxis, vAxis;
    ShadowCell::faceAxes(j, axis, hAxis, vAxis);
    float plane = j % 2 == 0 ? -half[axis] : half[axis];
    if (!ShadowCell::isCellCountBounded(half[hAxis], half[vAxis])) {
      text += ShadowCell::skippedFaceLine(zone, j);
      continue;
    }
    scratch.index.build(scratch.triangles[j], half[hAxis], half[vAxis]);
    ShadowCell::shadeFace(zone.shadowTrianglesForEachFace[j], plane, scratch.index, j, half[hAxis],
                          half[vAxis]);
  }

  for (int j = 0; j < 6; ++j) {
    std::vector<Float3> &list = zone.shadowTrianglesForEachFace[j];
    size_t nbKept = 0;
    for (size_t k = 0; k + 2 < list.size(); k += 3) {
      Float3 points[3] = {ShadowCell::removalPoint(zone.center, list[k], j),
                          ShadowCell::removalPoint(zone.center, list[k + 1], j),
                          ShadowCell::removalPoint(zone.center, list[k + 2], j)};
      if (region.column->grid.isHidden(points))
        continue;
      for (int p = 0; p < 3; ++p)
        list[nbKept++] = list[k + p];
    }
    list.resize(nbKept);
  }
}

struct ZoneWork {
  CubeZone *zone;
  const RegionCasters *region;
};

}  // namespace

void ShadowFaceIndex::build(const std::vector<Float2> &triangles, float a, float b) {
  entries.clear();
  for (size_t k = 0; k + 2 < triangles.size(); k += 3) {
    Entry entry;
    float minH = triangles[k].x(), minV = triangles[k].y();
    entry.maxH = minH;
    entry.maxV = minV;
    for (int p = 0; p < 3; ++p) {
      const Float2 &corner = triangles[k + p];
      entry.corners[p] = corner;
      minH = std::min(minH, corner.x());
      entry.maxH = std::max(entry.maxH, corner.x());
      minV = std::min(minV, corner.y());
      entry.maxV = std::max(entry.maxV, corner.y());
    }
    entry.minV = minV;
    entry.leftLimit = leftLimitOf(minH, entry.maxH, minV, entry.maxV);
    // A point on no edge's v interval, or right of every edge, is outside.
    if (!(minV < entry.maxV) || !canReachFace(minH, entry.maxH, minV, entry.maxV, a, b))
      continue;
    entries.push_back(entry);
  }
  isBucketed = false;
  nbQueries = 0;
  faceB = b;
}

void ShadowFaceIndex::buildBuckets() const {
  isBucketed = true;
  float b = faceB;
  double low = -static_cast<double>(b) - faceMargin, high = static_cast<double>(b) + faceMargin;
  nbBuckets = static_cast<int>(std::min(64., std::max(1., (high - low) / 2.)));
  base = low;
  scale = nbBuckets / (high - low);
  bucketStart.assign(nbBuckets + 1, 0);
  for (const Entry &entry : entries)
    for (int k = bucketOf(entry.minV); k <= bucketOf(entry.maxV); ++k)
      ++bucketStart[k + 1];
  for (int k = 1; k <= nbBuckets; ++k)
    bucketStart[k] += bucketStart[k - 1];
  bucketEntries.resize(bucketStart[nbBuckets]);
  std::vector<uint32_t> fill(bucketStart.begin(), bucketStart.end() - 1);
  for (uint32_t n = 0; n < entries.size(); ++n)
    for (int k = bucketOf(entries[n].minV); k <= bucketOf(entries[n].maxV); ++k)
      bucketEntries[fill[k]++] = n;
}

int ShadowFaceIndex::bucketOf(float v) const {
  double bucket = (static_cast<double>(v) - base) * scale;
  if (!(bucket >= 0.))
    return 0;
  if (bucket >= nbBuckets)
    return nbBuckets - 1;
  return static_cast<int>(bucket);
}

bool ShadowFaceIndex::isInShadow(const Float2 &point) const {
  float h = point.x(), v = point.y();
  // A face asked only a few times is scanned whole; the buckets pay off
  // beyond.
  if (!isBucketed && ++nbQueries > 32)
    buildBuckets();
  if (!isBucketed) {
    for (const Entry &entry : entries)
      if (entry.maxH >= h && entry.minV < v && v <= entry.maxV && !(h < entry.leftLimit) &&
          CubeZoneStaticShadows::isPointInTriangle(point, entry.corners))
        return true;
    return false;
  }
  int k = bucketOf(v);
  for (uint32_t n = bucketStart[k]; n < bucketStart[k + 1]; ++n) {
    const Entry &entry = entries[bucketEntries[n]];
    if (entry.maxH < h)
      continue;
    // A crossed edge needs min v < v <= max v and h <= its largest h.
    if (!(entry.minV < v && v <= entry.maxV) || h < entry.leftLimit)
      continue;
    if (CubeZoneStaticShadows::isPointInTriangle(point, entry.corners))
      return true;
  }
  return false;
}

void CubeZoneStaticShadows::computeRegionsFast(const std::vector<Int3> &regions,
                                               bool isPrintingRegions) {
  std::vector<char> isCollidable = collidableFlags();

  // Casters of every column met, in the order met.
  Int3 size = worldIndexator->tableRegionSize;
  std::vector<int> columnOf(static_cast<size_t>(size.x()) * size.z(), -1);
  std::vector<std::unique_ptr<ColumnCasters>> columns;
  std::vector<std::unique_ptr<RegionCasters>> regionCasters;
  std::vector<ZoneWork> work;
  std::vector<size_t> regionEnd;
  for (const Int3 &posIndex : regions) {
    int &column = columnOf[static_cast<size_t>(posIndex.x()) * size.z() + posIndex.z()];
    if (column < 0) {
      column = static_cast<int>(columns.size());
      columns.emplace_back(new ColumnCasters());
      buildColumn(posIndex.x(), posIndex.z(), isCollidable, *columns.back());
    }
    std::vector<CubeZone> &zones = worldIndexator->getRegion(posIndex)->zones;
    if (!zones.empty()) {
      regionCasters.emplace_back(new RegionCasters());
      RegionCasters &casters = *regionCasters.back();
      casters.column = columns[column].get();
      casters.light = shadowLightOf(posIndex);
      buildRegionCasters(zones, casters);
    }
    for (CubeZone &zone : zones)
      work.push_back(ZoneWork{&zone, regionCasters.back().get()});
    regionEnd.push_back(work.size());
  }

  std::unique_ptr<std::atomic<bool>[]> isDone(new std::atomic<bool>[work.size()]);
  for (size_t k = 0; k < work.size(); ++k)
    isDone[k] = false;
  std::vector<std::string> texts(work.size());
  std::atomic<size_t> next(0);
  std::mutex mutex;
  std::condition_variable zoneDone;
  auto worker = [&]() {
    Scratch scratch;
    for (size_t k = next++; k < work.size(); k = next++) {
      texts[k] = "=";
      computeZoneFast(*work[k].zone, *work[k].region, scratch, texts[k]);
      std::lock_guard<std::mutex> lock(mutex);
      isDone[k] = true;
      zoneDone.notify_one();
    }
  };
  unsigned nbThreads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < nbThreads; ++t)
    pool.emplace_back(worker);

  // The console shows the serial order while the pool works ahead.
  size_t k = 0;
  for (size_t r = 0; r < regions.size(); ++r) {
    const Int3 &posIndex = regions[r];
    if (isPrintingRegions) {
      printf("Region %dx%dx%d ", posIndex.x(), posIndex.y(), posIndex.z());
      fflush(stdout);
    }
    worldIndexator->getRegion(posIndex)->dropGeometry();
    for (; k < regionEnd[r]; ++k) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        zoneDone.wait(lock, [&]() { return isDone[k].load(); });
      }
      printf("%s", texts[k].c_str());
      fflush(stdout);
    }
    if (isPrintingRegions) {
      printf("\n");
      fflush(stdout);
    }
  }
  for (std::thread &thread : pool)
    thread.join();
}
