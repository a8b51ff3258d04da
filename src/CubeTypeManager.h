// The one ordered list of cube types. A type's identity is its index here;
// cube zones store that index. Created and destroyed by the indexed world.
#pragma once

#include <string>
#include <vector>

class CubeType;

class CubeTypeManager {
 public:
  CubeTypeManager() = default;
  ~CubeTypeManager();
  CubeTypeManager(const CubeTypeManager &) = delete;
  CubeTypeManager &operator=(const CubeTypeManager &) = delete;

  // Returns the index of the new type.
  int addCubeType(const std::string names[6], bool stretchTexture, bool divideTextureCoordinates,
                  bool randomTextureCoordinates, bool collidable);
  // Appends a type that was read from the world file (no log line).
  void appendCubeType(CubeType *type);
  void removeLastCubeType();
  void clearCubeTypes();
  // Marks the type as used.
  CubeType *getCubeType(int index);
  int getNbCubeType() const { return static_cast<int>(cubeTypes.size()); }
  void clearUsedFlags();
  // Frees the face textures of every type neither used this frame nor shown
  // in the editor.
  void freeIdleTextures();

  std::vector<CubeType *> cubeTypes;
};

extern CubeTypeManager *cubeTypeManager;
