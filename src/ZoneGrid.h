// Answers the hidden-face question of a region's geometry build (do four
// probe points lie inside one other solid zone of the region?) through a
// uniform grid of the solid zones' boxes, built once per region build, with
// the same answers as asking every zone of the list in turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "BasicVector.h"

class CubeZone;

class ZoneGrid {
 public:
  // zones must outlive the grid and stay unchanged while it is used.
  explicit ZoneGrid(const std::vector<CubeZone> &zones);

  // True when some zone of the list other than zones[selfIndex] is of a
  // collidable type and holds all four probes, bounds included.
  bool isFaceHidden(size_t selfIndex, const Float3 probes[4]) const;

  // False when the list holds a zone the grid cannot stand for (a cube type
  // index out of range, a coordinate that is not a moderate finite number):
  // the question is then asked of every zone in list order, as the zone's
  // own test does, with its checks.
  bool isIndexed() const { return isUsable; }

 private:
  struct Box {
    float low[3];
    float high[3];
    uint32_t zoneIndex;
  };

  bool isZoneIndexable(const CubeZone &zone) const;
  void placeBoxes();
  // Cell coordinate of position p along axis a (clamped to the grid).
  int32_t cellAlong(unsigned a, float p) const;
  bool holdsAll(const Box &box, size_t selfIndex, const Float3 probes[4]) const;

  const std::vector<CubeZone> &zones;
  bool isUsable = true;
  // Boxes of the solid zones that contain something, in list order.
  std::vector<Box> boxes;
  float gridLow[3] = {};
  float gridHigh[3] = {};
  float cellsPerUnit[3] = {};
  int32_t nbCells[3] = {1, 1, 1};
  // Per cell, the boxes meeting it: cellStart[c] to cellStart[c + 1] in
  // cellBoxes (indices into boxes).
  std::vector<uint32_t> cellStart;
  std::vector<uint32_t> cellBoxes;
  // Boxes too large to list in every cell they meet; asked for every face.
  std::vector<uint32_t> largeBoxes;
};
