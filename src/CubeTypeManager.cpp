// The cube type list: creation with its log line, lookup with the used mark,
// and the per-frame freeing of idle face textures.
#include "CubeTypeManager.h"

#include <cstdio>

#include "CubeType.h"
#include "FatalReport.h"

CubeTypeManager *cubeTypeManager = NULL;

CubeTypeManager::~CubeTypeManager() {
  clearCubeTypes();
}

int CubeTypeManager::addCubeType(const std::string names[6], bool stretchTexture,
                                 bool divideTextureCoordinates, bool randomTextureCoordinates,
                                 bool collidable) {
  printf("Add cube type with %s, etc. and collidable = %d\n", names[0].c_str(), collidable ? 1 : 0);
  fflush(stdout);
  cubeTypes.push_back(new CubeType(names, stretchTexture, divideTextureCoordinates,
                                   randomTextureCoordinates, collidable));
  return static_cast<int>(cubeTypes.size()) - 1;
}

void CubeTypeManager::appendCubeType(CubeType *type) {
  cubeTypes.push_back(type);
}

void CubeTypeManager::removeLastCubeType() {
  if (cubeTypes.empty())
    return;
  delete cubeTypes.back();
  cubeTypes.pop_back();
}

void CubeTypeManager::clearCubeTypes() {
  for (CubeType *type : cubeTypes)
    delete type;
  cubeTypes.clear();
}

CubeType *CubeTypeManager::getCubeType(int index) {
  ASSERT(index >= 0 && index < getNbCubeType());
  CubeType *type = cubeTypes[index];
  type->isUsed = true;
  return type;
}

void CubeTypeManager::clearUsedFlags() {
  for (CubeType *type : cubeTypes)
    type->isUsed = false;
}

void CubeTypeManager::freeIdleTextures() {
  for (CubeType *type : cubeTypes)
    if (!type->isUsed && !type->isShownInEditor)
      type->freeTextures();
}
