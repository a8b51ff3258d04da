// One axis-aligned box filled with cubes of one cube type (a cube aggregate):
// its world-file record, its visible faces and shadow triangles poured into a
// region's VBOSet, and the point and segment collision tests.
// One cube is 10 world units; centre and size are in world units.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "BasicVector.h"

class VBOSet;
class ZoneGrid;

// Shadow overlays are added to region geometry only while this is on.
extern bool shadowsEnabled;

class CubeZone {
 public:
  CubeZone(int32_t cubeTypeIndex, const Float3 &center, const Float3 &size);
  // Reads one zone record of the world file.
  explicit CubeZone(FILE *fd);

  void write(FILE *fd) const;

  // Adds the faces no solid zone of zones covers, then the shadow overlay.
  // zones is the list of the region holding this zone (this zone included).
  // This form asks every zone of the list about every face.
  void buildGeometry(VBOSet &set, const std::vector<CubeZone> &zones);
  // The same geometry with the hidden-face question answered by a grid of
  // the region's zones; this zone is entry selfIndex of the grid's list.
  void buildGeometry(VBOSet &set, const ZoneGrid &grid, size_t selfIndex);
  // Inside the box, bounds included, and of a collidable type.
  bool isCollidingPoint(const Float3 &point) const;
  // First sampled point inside the zone walking from start towards end; only
  // segments going towards +x are walked, and never beyond their length.
  bool intersectSegment(const Float3 &start, const Float3 &end, Float3 &hit) const;

  // isCollidingPoint of all four points at once (stopping at the first
  // point outside), as the hidden-face test asks it.
  bool isSolidBoxHolding(const Float3 probes[4]) const;

  int32_t cubeTypeIndex;
  Float3 center;
  Float3 size;
  int32_t reserved = 0;
  // Shadow faces: 0 -x, 1 +x, 2 -y, 3 +y, 4 -z, 5 +z; triangles as point
  // triples relative to center.
  std::vector<Float3> shadowTrianglesForEachFace[6];
  bool isFaceInShadow[6] = {};

 private:
  // The faces the hidden-face test isHidden(probes) leaves, then the shadow
  // overlay.
  template <typename HiddenFaceTest>
  void addFaces(VBOSet &set, const HiddenFaceTest &isHidden);
};

// Shadow face of each render face (render faces 0 +y, 1 -y, 2 +z, 3 -z,
// 4 -x, 5 +x).
extern const int shadowFaceOfRenderFace[6];
