// Region content, geometry building and drawing, the editor's delete
// operations, the per-frame walk and the region lists of the world file.
#include "WorldRegion.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "CubeTypeManager.h"
#include "CustomObjectTypeManager.h"
#include "ScriptContext.h"
#include "WorldIndexator.h"
#include "FatalReport.h"
#include "VBO.h"
#include "ViewFrustum.h"
#include "WorldFile.h"
#include "ZoneGrid.h"

namespace {

// A zone record with six empty face entries; an object record.
const int64_t smallestZoneRecordBytes = 32 + 6 * 4;
const int64_t objectRecordBytes = 16;

}  // namespace

WorldRegion::~WorldRegion() {
  dropGeometry();
}

int WorldRegion::dropGeometry() {
  if (geometry == NULL)
    return 0;
  int nbVertices = geometry->nbVertices;
  delete geometry;
  geometry = NULL;
  return nbVertices;
}

std::pair<int, int> WorldRegion::buildGeometry() {
  if (geometry != NULL)
    return std::make_pair(0, 0);
  VBOSet *set = new VBOSet();
  // The hidden-face questions go to a grid of the zones, built once here.
  ZoneGrid grid(zones);
  for (size_t i = 0; i < zones.size(); ++i)
    zones[i].buildGeometry(*set, grid, i);
  std::pair<int, int> counts = set->build();
  geometry = set;
  measureGeometry();
  return counts;
}

void WorldRegion::measureGeometry() {
  const float inf = std::numeric_limits<float>::infinity();
  geometryLow = Float3(inf, inf, inf);
  geometryHigh = Float3(-inf, -inf, -inf);
  bool isNumber = true;
  for (const auto &entry : geometry->geometryByTexture) {
    for (const std::vector<Float3> *vertices :
         {&entry.second.verticesQuadVect, &entry.second.verticesTriVect})
      for (const Float3 &v : *vertices)
        for (unsigned a = 0; a < 3; ++a) {
          isNumber = isNumber && !std::isnan(v[a]);
          geometryLow[a] = std::min(geometryLow[a], v[a]);
          geometryHigh[a] = std::max(geometryHigh[a], v[a]);
        }
  }
  // A box that is not finite is never culled.
  if (!isNumber)
    geometryLow = Float3(-inf, -inf, -inf);
}

std::pair<int, int> WorldRegion::draw() {
  bool isDrawn = false;
  return drawGeometry(NULL, isDrawn);
}

std::pair<int, int> WorldRegion::draw(const ViewFrustum &frustum, bool &isDrawn) {
  return drawGeometry(&frustum, isDrawn);
}

std::pair<int, int> WorldRegion::drawGeometry(const ViewFrustum *frustum, bool &isDrawn) {
  std::pair<int, int> counts = buildGeometry();
  glDisable(GL_LIGHTING);
  // Nothing of a box wholly outside the frustum would reach the screen.
  isDrawn = frustum == NULL || !isViewFrustumCullingEnabled ||
            !frustum->isBoxOutside(geometryLow, geometryHigh);
  if (isDrawn)
    geometry->draw();
  glEnable(GL_LIGHTING);
  // Script objects draw themselves, with lighting on. By index: a draw
  // callback may add cubes to this region, never objects.
  if (cotm != NULL)
    for (size_t i = 0; i < objects.size(); ++i)
      cotm->drawObject(objects[i]);
  glDisable(GL_LIGHTING);
  return counts;
}

void WorldRegion::clear() {
  zones.clear();
  objects.clear();
  dropGeometry();
}

bool WorldRegion::deleteAt(const Float3 &point) {
  dropGeometry();
  for (size_t i = 0; i < zones.size(); ++i) {
    if (zones[i].center == point) {
      zones.erase(zones.begin() + static_cast<long>(i));
      return true;
    }
  }
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i].position == point) {
      objects.erase(objects.begin() + static_cast<long>(i));
      return true;
    }
  }
  return false;
}

namespace {

// Index of the item nearest to point; on equal distances the later one wins.
template <typename Item, typename PositionOf>
size_t nearestIndex(const std::vector<Item> &items, const Float3 &point, PositionOf positionOf) {
  size_t nearest = 0;
  float nearestDistance = (positionOf(items[0]) - point).length();
  for (size_t i = 1; i < items.size(); ++i) {
    float distance = (positionOf(items[i]) - point).length();
    if (distance <= nearestDistance) {
      nearest = i;
      nearestDistance = distance;
    }
  }
  return nearest;
}

}  // namespace

bool WorldRegion::deleteNearest(const Float3 &point) {
  dropGeometry();
  // A zone is deleted before any object, whatever their distances.
  if (!zones.empty()) {
    size_t nearest = nearestIndex(zones, point, [](const CubeZone &z) { return z.center; });
    zones.erase(zones.begin() + static_cast<long>(nearest));
    return true;
  }
  if (!objects.empty()) {
    size_t nearest = nearestIndex(objects, point, [](const CustomObject &o) { return o.position; });
    objects.erase(objects.begin() + static_cast<long>(nearest));
    return true;
  }
  return false;
}

bool WorldRegion::isCollidingPoint(const Float3 &point) const {
  for (const CubeZone &zone : zones)
    if (zone.isCollidingPoint(point))
      return true;
  return false;
}

bool WorldRegion::intersectSegment(const Float3 &start, const Float3 &end, Float3 &hit) const {
  for (const CubeZone &zone : zones)
    if (zone.intersectSegment(start, end, hit))
      return true;
  return false;
}

void WorldRegion::visit(const WorldIndexator &indexator, const Int3 &absoluteIndex,
                        std::vector<MovedObject> &movedObjects) {
  visited = true;
  int nbCubeTypes = cubeTypeManager->getNbCubeType();
  for (const CubeZone &zone : zones)
    if (zone.cubeTypeIndex >= 0 && zone.cubeTypeIndex < nbCubeTypes)
      cubeTypeManager->getCubeType(zone.cubeTypeIndex);

  size_t i = 0;
  while (i < objects.size()) {
    Float3 previousPosition = objects[i].position;
    if (cotm != NULL)
      cotm->manageObject(objects[i]);
    // A record moved now, or earlier from a draw callback or the script's
    // frame function, leaves for the region of its position.
    bool isMoved =
        objects[i].position != previousPosition ||
        indexator.regionIndexOf(objects[i].position) + indexator.tableOrigin != absoluteIndex;
    if (isMoved) {
      dropGeometry();
      movedObjects.push_back(MovedObject{objects[i], scriptContext.currentObject == &objects[i]});
      objects.erase(objects.begin() + static_cast<long>(i));
      continue;
    }
    ++i;
  }
}

void WorldRegion::write(FILE *fd, bool isObjects) const {
  writeInt32(fd, static_cast<int32_t>(isObjects ? objects.size() : zones.size()));
  writeInt32(fd, 0);  // extra byte count
  if (isObjects) {
    for (const CustomObject &object : objects) {
      writeFloat3(fd, object.position);
      writeInt32(fd, object.type);
    }
  } else {
    for (const CubeZone &zone : zones)
      zone.write(fd);
  }
}

void WorldRegion::read(FILE *fd, bool isObjects) {
  dropGeometry();
  const char *countField = isObjects ? "an object count" : "a zone count";
  const char *extraField =
      isObjects ? "an object list extra byte count" : "a zone list extra byte count";
  int32_t nbItems = readInt32(fd, countField);
  int32_t nbExtraBytes = readInt32(fd, extraField);
  checkCountFits(fd, nbItems, isObjects ? objectRecordBytes : smallestZoneRecordBytes, countField);
  if (isObjects) {
    objects.reserve(objects.size() + static_cast<size_t>(nbItems));
    for (int32_t i = 0; i < nbItems; ++i) {
      CustomObject object;
      object.position = readFloat3(fd, "an object position");
      object.type = readInt32(fd, "an object type");
      objects.push_back(object);
    }
  } else {
    zones.reserve(zones.size() + static_cast<size_t>(nbItems));
    for (int32_t i = 0; i < nbItems; ++i) {
      zones.push_back(CubeZone(fd));
      // A zone must name one of the cube types read before the regions.
      int32_t index = zones.back().cubeTypeIndex;
      bool isCubeTypeKnown = index >= 0 && index < cubeTypeManager->getNbCubeType();
      if (!isCubeTypeKnown) {
        std::string message = "world file damaged: a zone cube type index of " +
                              std::to_string(index) + " is outside the " +
                              std::to_string(cubeTypeManager->getNbCubeType()) + " cube types";
        ASSERT_MESSAGE(isCubeTypeKnown, message.c_str());
      }
    }
  }
  // Extra bytes carry nothing this program reads; they are skipped.
  checkCountFits(fd, nbExtraBytes, 1, extraField);
  unsigned char skipped[256];
  for (int32_t left = nbExtraBytes; left > 0;) {
    int32_t chunk = left < 256 ? left : 256;
    readBytes(fd, skipped, static_cast<size_t>(chunk), "the extra bytes of a list");
    left -= chunk;
  }
}
