// The container of all persistent world content: creates and destroys the
// world singletons (cube types, region table), loads "world.dat" when it is
// created, saves and reloads it on request and offers the editor its add
// operations.
#pragma once

#include <string>

#include "BasicVector.h"

class CubeType;
class Water;

// The world file, in the working directory.
extern const char *const worldFileName;

class IndexedWorld {
 public:
  IndexedWorld();
  ~IndexedWorld();
  IndexedWorld(const IndexedWorld &) = delete;
  IndexedWorld &operator=(const IndexedWorld &) = delete;

  // The previous file stays intact until the new one is complete on disk.
  void saveWorld();
  void loadWorld();
  // Every zone and object gone; cube types kept.
  void clearAllRegions();
  // False when the box does not fit one region.
  bool addCubeZone(const Float3 &size, const Float3 &center, int cubeTypeIndex);
  void addObject(const Float3 &position, int type);

  int addCubeType(const std::string names[6], bool stretchTexture, bool divideTextureCoordinates,
                  bool randomTextureCoordinates, bool collidable);
  CubeType *getCubeType(int index);
  int getNbCubeType() const;

  void drawWater(float low, float high);

  // The water surface, tile size 10; drawn only while waterEnabled.
  Water *water = NULL;
  bool waterEnabled = true;
};
