// The growable 3D table of world regions (320 world units each): finds the
// region of a position or box, grows and shrinks the table, performs the
// editor's add and delete operations, walks and draws the regions around the
// camera every frame, and reads and writes the regions of the world file.
#pragma once

#include <cstdint>
#include <cstdio>

#include "BasicVector.h"
#include "CubeZone.h"
#include "CustomObject.h"

class WorldRegion;

class WorldIndexator {
 public:
  explicit WorldIndexator(float regionSize);
  ~WorldIndexator();
  WorldIndexator(const WorldIndexator &) = delete;
  WorldIndexator &operator=(const WorldIndexator &) = delete;

  // Empty table of 2 x 2 x 2 regions from absolute region (-1, -1, -1).
  void reset();

  // Table index of the region holding position (may lie outside the table).
  Int3 regionIndexOf(const Float3 &position) const;
  bool isInsideTable(const Int3 &posIndex) const;
  WorldRegion *getRegion(const Int3 &posIndex) const;
  // False when the box does not fit one region (it may stick out by 0.01);
  // otherwise grows the table if needed and gives the region's table index.
  bool findRegionForBox(const Float3 &center, const Float3 &size, Int3 &posIndex);

  bool addZone(const CubeZone &zone);
  bool addObject(const CustomObject &record);
  bool deleteAt(const Float3 &point);
  bool deleteNearest(const Float3 &point);
  void clearRegionAt(const Float3 &point);
  // Shrinks (or grows) the table to the occupied regions plus absolute
  // regions -1 and 0 on every axis.
  void fitTableToContent();
  void dropAllGeometry();
  bool isCollidingPoint(const Float3 &point) const;

  // Once per frame each, around the camera.
  void update();
  void draw(bool showRegionBoxes);

  void write(FILE *fd) const;
  // The caller has reset the table.
  void read(FILE *fd);

  float regionSize;
  Int3 tableOrigin;
  Int3 tableRegionSize;
  WorldRegion **tableRegions = NULL;
  float viewDistance = 0.f;
  bool loadNewRegions = true;
  // Inner regions of the last draw whose geometry was drawn, and whose
  // geometry lay outside the view frustum (built all the same, not drawn).
  int nbRegionsDrawn = 0;
  int nbRegionsCulled = 0;

 private:
  int64_t cellOf(const Int3 &posIndex) const;
  void allocateTable();
  // Destroys every region (showing the progress bar) and the array.
  void freeTable();
  // Returns the shift applied to table indices.
  Int3 growToContain(const Int3 &absoluteIndex);
  void resize(const Int3 &modMin, const Int3 &modMax);
};

extern WorldIndexator *worldIndexator;
