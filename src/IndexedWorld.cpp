// World singletons in their creation and destruction order, and the world
// file: magic "WORLD", version 1, the cube types, then the region table.
#include "IndexedWorld.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "CustomObjectTypeManager.h"
#include "CubeZone.h"
#include "CustomObject.h"
#include "FatalReport.h"
#include "LittleEndian.h"
#include "PlatformFile.h"
#include "Scene3D.h"
#include "Water.h"
#include "WorldFile.h"
#include "WorldIndexator.h"

const char *const worldFileName = "world.dat";

namespace {

// Six empty names and four option bytes.
const int64_t smallestCubeTypeRecordBytes = 6 * 4 + 4;

// Closes the world file being loaded, also when a check leaves early.
struct WorldFileCloser {
  void operator()(FILE *fd) const {
    stopReadingWorldFile();
    fclose(fd);
  }
};

}  // namespace

IndexedWorld::IndexedWorld() {
  ASSERT(cotm == NULL && cubeTypeManager == NULL && worldIndexator == NULL);
  waterEnabled = true;
  cotm = new CustomObjectTypeManager();
  cubeTypeManager = new CubeTypeManager();
  worldIndexator = new WorldIndexator(320.f);
  loadWorld();
  water = new Water(10.f);
}

IndexedWorld::~IndexedWorld() {
  ASSERT(cotm != NULL && cubeTypeManager != NULL && worldIndexator != NULL);
  delete water;
  water = NULL;
  delete worldIndexator;
  worldIndexator = NULL;
  delete cubeTypeManager;
  cubeTypeManager = NULL;
  delete cotm;
  cotm = NULL;
}

void IndexedWorld::saveWorld() {
  printf("==== Saving world to file '%s'\n", worldFileName);
  fflush(stdout);

  // The bytes go to a new file beside "world.dat", which replaces it only
  // once everything is written and on disk.
  FileReplaceResult result = replaceFileSafely(worldFileName, [](FILE *fd) {
    writeBytes(fd, "WORLD", 5);
    writeInt32(fd, 1);
    writeInt32(fd, cubeTypeManager->getNbCubeType());
    for (CubeType *type : cubeTypeManager->cubeTypes) {
      type->isUsed = true;
      type->write(fd);
    }
    worldIndexator->write(fd);
  });
  bool isWorldFileWritten = result != FileReplaceResult::previousKept;
  ASSERT_MESSAGE(isWorldFileWritten,
                 "the world could not be written completely; the previous world.dat is kept");
  if (result == FileReplaceResult::replacedFolderNotSynced)
    printf("==== The folder of '%s' could not be synced to disk\n", worldFileName);
  printf("==== World saved to file\n");
  fflush(stdout);
}

void IndexedWorld::loadWorld() {
  printf("==== Loading world from file '%s'\n", worldFileName);
  fflush(stdout);
  std::unique_ptr<FILE, WorldFileCloser> file(fopen(worldFileName, "rb"));
  FILE *fd = file.get();
  ASSERT(fd != NULL);

  // A file shorter than the magic or the version fails these two checks.
  char buf[6] = {0, 0, 0, 0, 0, 0};
  size_t nbMagicBytes = fread(buf, 1, 5, fd);
  (void)nbMagicBytes;
  ASSERT(std::string(buf) == std::string("WORLD"));
  int32_t versionFile = -1;
  unsigned char versionBytes[4];
  if (fread(versionBytes, 1, 4, fd) == 4)
    versionFile = static_cast<int32_t>(littleEndian32(versionBytes));
  ASSERT(versionFile == 1);

  startReadingWorldFile(fd);
  cubeTypeManager->clearCubeTypes();
  int32_t nbCubeTypes = readInt32(fd, "the number of cube types");
  checkCountFits(fd, nbCubeTypes, smallestCubeTypeRecordBytes, "the number of cube types");
  for (int32_t i = 0; i < nbCubeTypes; ++i)
    cubeTypeManager->appendCubeType(new CubeType(fd));

  worldIndexator->reset();
  worldIndexator->read(fd);
  // Bytes after the last region mean a damaged size field made the reader
  // stop early: the zones behind would be lost at the next save.
  int64_t nbBytesAfterLastRegion = bytesLeftInFile(fd);
  if (nbBytesAfterLastRegion != 0) {
    std::string message = "world file damaged: " + std::to_string(nbBytesAfterLastRegion) +
                          " bytes after the last region";
    ASSERT_MESSAGE(nbBytesAfterLastRegion == 0, message.c_str());
  }
  file.reset();
  printf("==== Loading world done\n");
  fflush(stdout);
}

void IndexedWorld::clearAllRegions() {
  worldIndexator->reset();
}

bool IndexedWorld::addCubeZone(const Float3 &size, const Float3 &center, int cubeTypeIndex) {
  return worldIndexator->addZone(CubeZone(cubeTypeIndex, center, size));
}

void IndexedWorld::addObject(const Float3 &position, int type) {
  CustomObject record;
  record.position = position;
  record.type = type;
  bool res = worldIndexator->addObject(record);
  ASSERT(res);
}

int IndexedWorld::addCubeType(const std::string names[6], bool stretchTexture,
                              bool divideTextureCoordinates, bool randomTextureCoordinates,
                              bool collidable) {
  return cubeTypeManager->addCubeType(names, stretchTexture, divideTextureCoordinates,
                                      randomTextureCoordinates, collidable);
}

CubeType *IndexedWorld::getCubeType(int index) {
  return cubeTypeManager->getCubeType(index);
}

int IndexedWorld::getNbCubeType() const {
  return cubeTypeManager->getNbCubeType();
}

void IndexedWorld::drawWater(float low, float high) {
  if (!waterEnabled)
    return;
  water->extent = 2.f * high;
  water->extentMin = 2.f * low;
  water->nbRepeats = std::trunc((2.f * high - 2.f * low) / water->tileSize);
  water->update(*scene3D->camera);
  water->draw();
}
