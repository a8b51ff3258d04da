// The region table: allocation, growth and shrinking, box placement, the
// editor's operations, the per-frame walk and draw around the camera, and the
// table part of the world file.
#include "WorldIndexator.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "Camera.h"
#include "Colour.h"
#include "CubeTypeManager.h"
#include "DeviceManager.h"
#include "FatalReport.h"
#include "LoadingProgressBar.h"
#include "Scene2D.h"
#include "Scene3D.h"
#include "ScriptContext.h"
#include "VBO.h"
#include "ViewFrustum.h"
#include "WorldFile.h"
#include "WorldRegion.h"

WorldIndexator *worldIndexator = NULL;

namespace {

// Region indices are kept well inside 32 bits so that differences of two
// indices never overflow; positions beyond are clamped to the limit.
const float regionIndexLimit = 1073741823.f;

int32_t floorToRegionIndex(float quotient) {
  float value = std::floor(quotient);
  if (!(value >= -regionIndexLimit))
    return -static_cast<int32_t>(regionIndexLimit);
  if (value > regionIndexLimit)
    return static_cast<int32_t>(regionIndexLimit);
  return static_cast<int32_t>(value);
}

// sx * sy * sz, or -1 when a size is negative or the product exceeds 32 bits.
int64_t regionCount(const Int3 &size) {
  int64_t count = 1;
  for (unsigned i = 0; i < 3; ++i) {
    if (size[i] < 0)
      return -1;
    count *= size[i];
    if (count > 0xFFFFFFFFLL)
      return -1;
  }
  return count;
}

const int64_t smallestRegionBytes = 16;

// Whole regions within the view distance plus one: NaN and negative distances
// give 1, huge ones the region index limit.
int32_t viewRadiusInRegions(float viewDistance, float regionSize) {
  float regions = viewDistance / regionSize;
  if (!(regions >= 0.f))
    return 1;
  if (regions >= regionIndexLimit)
    return static_cast<int32_t>(regionIndexLimit);
  return static_cast<int32_t>(regions) + 1;
}

// The table indices from center - radius to center + radius on one axis,
// clipped to the table's 0 .. size - 1.
struct ViewRange {
  int32_t first;
  int32_t last;
};

ViewRange clippedViewRange(int32_t center, int32_t radius, int32_t size) {
  int64_t first = std::max<int64_t>(int64_t(center) - radius, 0);
  int64_t last = std::min<int64_t>(int64_t(center) + radius, int64_t(size) - 1);
  return ViewRange{static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

}  // namespace

WorldIndexator::WorldIndexator(float regionSize)
    : regionSize(regionSize), tableOrigin(-1, -1, -1), tableRegionSize(2, 2, 2) {
  ASSERT(deviceManager);
  allocateTable();
}

WorldIndexator::~WorldIndexator() {
  freeTable();
}

void WorldIndexator::reset() {
  freeTable();
  tableOrigin = Int3(-1, -1, -1);
  tableRegionSize = Int3(2, 2, 2);
  allocateTable();
}

int64_t WorldIndexator::cellOf(const Int3 &posIndex) const {
  return posIndex.x() +
         static_cast<int64_t>(tableRegionSize.x()) *
             (posIndex.y() + static_cast<int64_t>(tableRegionSize.y()) * posIndex.z());
}

void WorldIndexator::allocateTable() {
  int64_t count = regionCount(tableRegionSize);
  // A table whose byte size does not fit 32 bits cannot be allocated.
  bool isSizeAllowed =
      count >= 0 && count * static_cast<int64_t>(sizeof(WorldRegion *)) <= 0xFFFFFFFFLL;
  tableRegions =
      isSizeAllowed ? new (std::nothrow) WorldRegion *[static_cast<size_t>(count)] : NULL;
  ASSERT(tableRegions != NULL);
  for (int32_t x = 0; x < tableRegionSize.x(); ++x)
    for (int32_t y = 0; y < tableRegionSize.y(); ++y)
      for (int32_t z = 0; z < tableRegionSize.z(); ++z)
        tableRegions[cellOf(Int3(x, y, z))] = new WorldRegion();
}

void WorldIndexator::freeTable() {
  if (tableRegions == NULL)
    return;
  LoadingProgressBar progressBar(LoadingProgressBar::whileFreeing);
  int64_t nbRegions = regionCount(tableRegionSize);
  int64_t n = 0;
  for (int32_t x = 0; x < tableRegionSize.x(); ++x)
    for (int32_t y = 0; y < tableRegionSize.y(); ++y)
      for (int32_t z = 0; z < tableRegionSize.z(); ++z) {
        int64_t cell = cellOf(Int3(x, y, z));
        delete tableRegions[cell];
        tableRegions[cell] = NULL;
        progressBar.regionDone(n++, nbRegions);
      }
  delete[] tableRegions;
  tableRegions = NULL;
}

Int3 WorldIndexator::regionIndexOf(const Float3 &position) const {
  Int3 absolute(floorToRegionIndex(position.x() / regionSize),
                floorToRegionIndex(position.y() / regionSize),
                floorToRegionIndex(position.z() / regionSize));
  return absolute - tableOrigin;
}

bool WorldIndexator::isInsideTable(const Int3 &posIndex) const {
  return posIndex >= Int3(0, 0, 0) && posIndex < tableRegionSize;
}

WorldRegion *WorldIndexator::getRegion(const Int3 &posIndex) const {
  // The report shows this condition exactly as written.
  // clang-format off
  ASSERT(posIndex >= Int3(0,0,0) && posIndex < tableRegionSize);
  // clang-format on
  WorldRegion *wr = tableRegions[cellOf(posIndex)];
  ASSERT(wr);
  return wr;
}

bool WorldIndexator::findRegionForBox(const Float3 &center, const Float3 &size, Int3 &posIndex) {
  Float3 half = size * 0.5f;
  Float3 lo = center - half;
  Float3 hi = center + half;
  Int3 iLo = regionIndexOf(lo);
  Int3 iHi = regionIndexOf(hi);
  Int3 result;
  bool isFound = false;
  if (iLo == iHi || size == Float3(0, 0, 0)) {
    result = iLo;
    isFound = true;
  }
  // A box may stick out of its region by up to 0.01 units.
  static const float nudges[3] = {-0.01f, 0.f, 0.01f};
  for (int pass = 0; pass < 2 && !isFound; ++pass) {
    const Float3 &corner = pass == 0 ? hi : lo;
    const Int3 &target = pass == 0 ? iLo : iHi;
    for (int a = 0; a < 3 && !isFound; ++a)
      for (int b = 0; b < 3 && !isFound; ++b)
        for (int c = 0; c < 3 && !isFound; ++c)
          if (regionIndexOf(corner + Float3(nudges[a], nudges[b], nudges[c])) == target) {
            result = target;
            isFound = true;
          }
  }
  if (!isFound)
    return false;
  if (!isInsideTable(result))
    result -= growToContain(result + tableOrigin);
  posIndex = result;
  return true;
}

Int3 WorldIndexator::growToContain(const Int3 &absoluteIndex) {
  Int3 r = absoluteIndex - tableOrigin;
  Int3 modMin, modMax;
  for (unsigned i = 0; i < 3; ++i) {
    modMax[i] = r[i] < tableRegionSize[i] ? 0 : r[i] - tableRegionSize[i] + 1;
    modMin[i] = r[i] < 0 ? r[i] : 0;
  }
  // The report shows this condition exactly as written.
  // clang-format off
  ASSERT(modMin <= Int3(0,0,0));
  // clang-format on
  resize(modMin, modMax);
  return modMin;
}

void WorldIndexator::resize(const Int3 &modMin, const Int3 &modMax) {
  WorldRegion **oldRegions = tableRegions;
  Int3 oldSize = tableRegionSize;
  tableRegionSize = tableRegionSize - modMin + modMax;
  tableOrigin = tableOrigin + modMin;
  allocateTable();
  for (int32_t i = 0; i < oldSize.x(); ++i)
    for (int32_t j = 0; j < oldSize.y(); ++j)
      for (int32_t k = 0; k < oldSize.z(); ++k) {
        int64_t oldCell =
            i + static_cast<int64_t>(oldSize.x()) * (j + static_cast<int64_t>(oldSize.y()) * k);
        WorldRegion *wr = oldRegions[oldCell];
        Int3 newIndex = Int3(i, j, k) - modMin;
        if (!isInsideTable(newIndex)) {
          // Only empty regions fall outside (the table is shrunk to content).
          delete wr;
          continue;
        }
        WorldRegion *&cell = tableRegions[cellOf(newIndex)];
        WorldRegion *wrToFree = cell;
        ASSERT(wrToFree != NULL);
        delete wrToFree;
        ASSERT(wr != NULL);
        wr->dropGeometry();
        cell = wr;
      }
  delete[] oldRegions;
}

bool WorldIndexator::addZone(const CubeZone &zone) {
  Int3 posIndex;
  if (!findRegionForBox(zone.center, zone.size, posIndex))
    return false;
  WorldRegion *region = getRegion(posIndex);
  region->dropGeometry();
  region->zones.push_back(zone);
  return true;
}

bool WorldIndexator::addObject(const CustomObject &record) {
  Int3 posIndex;
  if (!findRegionForBox(record.position, Float3(0, 0, 0), posIndex))
    return false;
  WorldRegion *region = getRegion(posIndex);
  region->dropGeometry();
  region->objects.push_back(record);
  return true;
}

bool WorldIndexator::deleteAt(const Float3 &point) {
  Int3 posIndex = regionIndexOf(point);
  if (!isInsideTable(posIndex))
    return false;
  return getRegion(posIndex)->deleteAt(point);
}

bool WorldIndexator::deleteNearest(const Float3 &point) {
  Int3 posIndex = regionIndexOf(point);
  if (!isInsideTable(posIndex))
    return false;
  return getRegion(posIndex)->deleteNearest(point);
}

void WorldIndexator::clearRegionAt(const Float3 &point) {
  Int3 posIndex = regionIndexOf(point);
  if (isInsideTable(posIndex))
    getRegion(posIndex)->clear();
}

void WorldIndexator::fitTableToContent() {
  Int3 smallest(-1, -1, -1);
  Int3 largest(0, 0, 0);
  for (int32_t i = 0; i < tableRegionSize.x(); ++i)
    for (int32_t j = 0; j < tableRegionSize.y(); ++j)
      for (int32_t k = 0; k < tableRegionSize.z(); ++k) {
        Int3 index(i, j, k);
        if (getRegion(index)->isEmpty())
          continue;
        Int3 absolute = tableOrigin + index;
        for (unsigned a = 0; a < 3; ++a) {
          if (absolute[a] < smallest[a])
            smallest[a] = absolute[a];
          if (absolute[a] > largest[a])
            largest[a] = absolute[a];
        }
      }
  resize(smallest - tableOrigin, largest - tableOrigin - tableRegionSize + Int3(1, 1, 1));
}

void WorldIndexator::dropAllGeometry() {
  int64_t nbRegions = regionCount(tableRegionSize);
  for (int64_t cell = 0; cell < nbRegions; ++cell)
    tableRegions[cell]->dropGeometry();
}

bool WorldIndexator::isCollidingPoint(const Float3 &point) const {
  Int3 posIndex = regionIndexOf(point);
  if (!isInsideTable(posIndex))
    return false;
  return getRegion(posIndex)->isCollidingPoint(point);
}

void WorldIndexator::update() {
  // The walk runs over the regions of the table as it was when the walk
  // began: a script callback may add cubes and so grow the table at its low
  // end while the walk goes on.
  Int3 startOrigin = tableOrigin;
  Int3 c = regionIndexOf(scene3D->camera->position);
  int32_t n = viewRadiusInRegions(viewDistance, regionSize);
  ViewRange rx = clippedViewRange(c.x(), n, tableRegionSize.x());
  ViewRange ry = clippedViewRange(c.y(), n, tableRegionSize.y());
  ViewRange rz = clippedViewRange(c.z(), n, tableRegionSize.z());
  std::vector<WorldRegion::MovedObject> movedObjects;
  for (int32_t x = rx.first; x <= rx.last; ++x)
    for (int32_t y = ry.first; y <= ry.last; ++y)
      for (int32_t z = rz.first; z <= rz.last; ++z) {
        Int3 absoluteIndex = Int3(x, y, z) + startOrigin;
        Int3 index = absoluteIndex - tableOrigin;
        if (isInsideTable(index))
          getRegion(index)->visit(*this, absoluteIndex, movedObjects);
      }

  for (const WorldRegion::MovedObject &moved : movedObjects) {
    Int3 posIndex;
    bool isOk = findRegionForBox(moved.record.position, Float3(0, 0, 0), posIndex);
    ASSERT(isOk);
    WorldRegion *region = getRegion(posIndex);
    region->dropGeometry();
    region->objects.push_back(moved.record);
    if (moved.isCurrent)
      scriptContext.currentObject = &region->objects.back();
  }

  int nbRemoved = 0;
  int64_t nbRegions = regionCount(tableRegionSize);
  for (int64_t cell = 0; cell < nbRegions; ++cell) {
    WorldRegion *region = tableRegions[cell];
    if (region->visited) {
      region->visited = false;
    } else if (region->dropGeometry() > 0) {
      ++nbRemoved;
    }
  }
  if (nbRemoved > 0) {
    printf("Removed %d regions\n", nbRemoved);
    fflush(stdout);
  }
}

void WorldIndexator::draw(bool showRegionBoxes) {
  // Table indices of this frame: a draw callback that adds cubes may grow
  // the table, so each index is taken relative to the origin at the start.
  Int3 startOrigin = tableOrigin;
  Int3 c = regionIndexOf(scene3D->camera->position);
  int32_t n = viewRadiusInRegions(viewDistance, regionSize);
  ViewRange rx = clippedViewRange(c.x(), n, tableRegionSize.x());
  ViewRange ry = clippedViewRange(c.y(), n, tableRegionSize.y());
  ViewRange rz = clippedViewRange(c.z(), n, tableRegionSize.z());
  glEnable(GL_TEXTURE_2D);
  glPolygonMode(GL_FRONT, GL_FILL);
  glPolygonMode(GL_BACK, GL_LINE);
  glEnable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
  // Regions are drawn under the matrices current now.
  ViewFrustum frustum = ViewFrustum::fromCurrentMatrices();
  nbRegionsDrawn = 0;
  nbRegionsCulled = 0;

  bool isOnePrepared = false;
  int nbBuilt = 0;
  int64_t nbVBOs = 0;
  int64_t nbVertices = 0;
  for (int32_t x = rx.first; x <= rx.last; ++x)
    for (int32_t y = ry.first; y <= ry.last; ++y)
      for (int32_t z = rz.first; z <= rz.last; ++z) {
        Int3 index = Int3(x, y, z) + startOrigin - tableOrigin;
        if (!isInsideTable(index))
          continue;
        WorldRegion *region = getRegion(index);
        // The shell of the view cube, in 64 bits: c +- n may leave 32 bits.
        auto isShell = [n](int32_t i, int32_t center) {
          return int64_t(i) == int64_t(center) - n || int64_t(i) == int64_t(center) + n;
        };
        bool isOnShell = isShell(x, c.x()) || isShell(y, c.y()) || isShell(z, c.z());
        if (isOnShell) {
          // Edge regions are prepared, one per frame, but never drawn.
          if (loadNewRegions && !region->hasGeometry() && !isOnePrepared) {
            std::pair<int, int> counts = region->buildGeometry();
            printf("Loaded one new region (%d VBO, %d vertices)\n", counts.first, counts.second);
            fflush(stdout);
            isOnePrepared = true;
          }
          continue;
        }
        bool isDrawn = false;
        std::pair<int, int> counts = region->draw(frustum, isDrawn);
        ++(isDrawn ? nbRegionsDrawn : nbRegionsCulled);
        if (counts.first >= 1) {
          ++nbBuilt;
          nbVBOs += counts.first;
          nbVertices += counts.second;
        }
        if (showRegionBoxes) {
          Colour previousColour = deviceManager->getCurrentColour();
          glColor4ub(255, 255, 255, 255);
          glPushMatrix();
          glLoadMatrixf(scene3D->viewMatrix);
          Float3 boxCenter = Float3(static_cast<float>(startOrigin.x() + x),
                                    static_cast<float>(startOrigin.y() + y),
                                    static_cast<float>(startOrigin.z() + z)) *
                                 regionSize +
                             Float3(regionSize, regionSize, regionSize) / 2.f;
          glTranslatef(boxCenter.x(), boxCenter.y(), boxCenter.z());
          // Untextured wireframe; drawBox restores texturing, polygon modes
          // and culling afterwards.
          const bool isInverted = false;
          scene3D->drawBox(Float3(regionSize, regionSize, regionSize), Float3(1, 1, 1), NULL,
                           isInverted);
          glPopMatrix();
          glColor4ub(previousColour.r, previousColour.g, previousColour.b, previousColour.a);
        }
      }
  if (nbBuilt > 0) {
    printf("Loaded %d regions (%lld VBO, %lld vertices)\n", nbBuilt, static_cast<long long>(nbVBOs),
           static_cast<long long>(nbVertices));
    fflush(stdout);
  }
}

void WorldIndexator::write(FILE *fd) const {
  writeInt3(fd, tableOrigin);
  writeInt3(fd, tableRegionSize);
  for (int32_t x = 0; x < tableRegionSize.x(); ++x)
    for (int32_t y = 0; y < tableRegionSize.y(); ++y)
      for (int32_t z = 0; z < tableRegionSize.z(); ++z) {
        const WorldRegion *region = getRegion(Int3(x, y, z));
        region->write(fd, WorldRegion::zoneList);
        region->write(fd, WorldRegion::objectList);
      }
}

void WorldIndexator::read(FILE *fd) {
  Int3 fileOrigin = readInt3(fd, "the table origin");
  Int3 fileSize = readInt3(fd, "the table size");

  // The file must hold every region it announces (at least 16 bytes each).
  int64_t nbFileRegions = regionCount(fileSize);
  checkCountFits(fd, nbFileRegions, smallestRegionBytes, "the table size in regions");
  // Its table starts at most at region -1 and reaches at least region 0 on
  // every axis, as every saved table does: the table then becomes exactly
  // the file's, no larger than the file can fill, and the file's region
  // (x, y, z) lands in table region (x, y, z).
  bool isTableSpanValid = true;
  for (unsigned i = 0; i < 3; ++i)
    isTableSpanValid =
        isTableSpanValid && fileOrigin[i] <= -1 && int64_t(fileOrigin[i]) + fileSize[i] >= 1;
  if (!isTableSpanValid) {
    auto shown = [](const Int3 &v) {
      return "(" + std::to_string(v.x()) + ", " + std::to_string(v.y()) + ", " +
             std::to_string(v.z()) + ")";
    };
    std::string message = "world file damaged: the table origin " + shown(fileOrigin) +
                          " and size " + shown(fileSize) +
                          " do not span regions -1 and 0 on every axis";
    ASSERT_MESSAGE(isTableSpanValid, message.c_str());
  }

  if (!(fileOrigin >= tableOrigin))
    growToContain(fileOrigin);
  if (!(fileSize <= tableRegionSize))
    growToContain(fileOrigin + fileSize - Int3(1, 1, 1));

  // Reading sets up 2D drawing for the progress bar.
  scene2D->applyProjection();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_FRONT);
  LoadingProgressBar progressBar(LoadingProgressBar::whileReading);
  int64_t n = 0;
  for (int32_t x = 0; x < fileSize.x(); ++x)
    for (int32_t y = 0; y < fileSize.y(); ++y)
      for (int32_t z = 0; z < fileSize.z(); ++z) {
        WorldRegion *region = getRegion(Int3(x, y, z));
        region->read(fd, WorldRegion::zoneList);
        region->read(fd, WorldRegion::objectList);
        progressBar.regionDone(n++, nbFileRegions);
      }
}
