// One cubic region of the world (32 cubes, 320 world units, per axis): its
// cube zones, its script object records and its drawable geometry, built on
// first draw and dropped after any change.
#pragma once

#include <cstdio>
#include <utility>
#include <vector>

#include "BasicVector.h"
#include "CubeZone.h"
#include "CustomObject.h"

class VBOSet;
class ViewFrustum;
class WorldIndexator;

class WorldRegion {
 public:
  // The list a file operation handles, as its isObjects argument.
  static constexpr bool zoneList = false;
  static constexpr bool objectList = true;

  WorldRegion() = default;
  ~WorldRegion();
  WorldRegion(const WorldRegion &) = delete;
  WorldRegion &operator=(const WorldRegion &) = delete;

  bool hasGeometry() const { return geometry != NULL; }
  // Returns the number of vertices the dropped geometry held (0 if none).
  int dropGeometry();
  // (VBO count, vertex count) of the geometry built now; (0, 0) when it
  // was already built.
  std::pair<int, int> buildGeometry();
  // Builds the geometry if needed (its pair is the result) and draws it;
  // lighting is left off.
  std::pair<int, int> draw();
  // The same, except that the geometry's buffers are drawn only while
  // culling is off or the geometry's box is not wholly outside frustum;
  // isDrawn tells which. Building and lighting state are as for draw().
  std::pair<int, int> draw(const ViewFrustum &frustum, bool &isDrawn);

  void clear();
  bool deleteAt(const Float3 &point);
  bool deleteNearest(const Float3 &point);
  bool isCollidingPoint(const Float3 &point) const;
  bool intersectSegment(const Float3 &start, const Float3 &end, Float3 &hit) const;
  // A record that leaves the region, and whether it is the script's
  // current object (which follows it to its new place).
  struct MovedObject {
    CustomObject record;
    bool isCurrent;
  };
  // The per-frame walk: marks the region visited and its cube types used,
  // manages its objects and moves out every record that no longer lies in
  // this region (absolute region index), whoever moved it.
  void visit(const WorldIndexator &indexator, const Int3 &absoluteIndex,
             std::vector<MovedObject> &movedObjects);

  // One list of the world file: the zones, or with isObjects the objects.
  void write(FILE *fd, bool isObjects) const;
  void read(FILE *fd, bool isObjects);

  bool isEmpty() const { return zones.empty() && objects.empty(); }

  VBOSet *geometry = NULL;
  // Box of every vertex of the geometry (low above high when it has none),
  // set with each build.
  Float3 geometryLow;
  Float3 geometryHigh;
  std::vector<CubeZone> zones;
  std::vector<CustomObject> objects;
  bool visited = false;

 private:
  // Sets geometryLow and geometryHigh from the built geometry.
  void measureGeometry();
  // frustum NULL: always drawn.
  std::pair<int, int> drawGeometry(const ViewFrustum *frustum, bool &isDrawn);
};
