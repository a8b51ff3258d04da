// Writes the default "world.dat" into a game folder, only when none is there:
//   generate_default_world <game folder>
// The world is made through the game's own indexed world and saved by it, in
// a private folder beside the game folder's files, then linked into place;
// a world.dat that appeared meanwhile is never replaced. The game's world
// code needs the window system (textures, the device), so this runs with an
// X display (the build gives it a private one). Exit status 1 on failure.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "CubeZone.h"
#include "CubeZoneStaticShadows.h"
#include "DeviceManager.h"
#include "Editor3D.h"
#include "HeightmapPicture.h"
#include "IndexedWorld.h"
#include "WorldFile.h"
#include "WorldIndexator.h"
#include "WorldRegion.h"

namespace {

// Pictures the world loads at once (the cube types' shadow overlay and the
// water), and the height map the landscape is generated from.
const char *const picturesNeeded[] = {"black_semi_transparent.png", "water.png", "water_sub.png",
                                      "world_heightmap.png"};

// The landscape's body type comes just before its top type: the editor's
// generation uses the current type and the next one.
enum CubeTypeIndex { dirtType, grassType, brickType, sandType, woodType, stoneType };

struct CubeTypeRecipe {
  const char *top;
  const char *bottom;
  const char *side;
};

// In the order of CubeTypeIndex. Faces: top, bottom, +z, -z, -x, +x. The
// default script builds with type 2 (brick).
const CubeTypeRecipe cubeTypeRecipes[] = {
    {"dirt.png", "dirt.png", "dirt.png"},    {"grass.png", "dirt.png", "grass_side.png"},
    {"brick.png", "brick.png", "brick.png"}, {"sand.png", "sand.png", "sand.png"},
    {"wood.png", "wood.png", "wood.png"},    {"stone.png", "stone.png", "stone.png"},
};

// The landscape: 8 x 8 regions from the height map around the origin, lowered
// so that the plateau in the middle, where the player starts at (0, 0, 0),
// has its top at y = 0. Heights are red x factor / 10 + 1 cubes.
const int heightFactor = 2;
const int plateauRed = 50;
const Int3 generationCursor(0, -(plateauRed *heightFactor / 10 + 1), 0);

// Script objects of the default game script: coins (type 0) and lanterns
// (type 1), at these x and z (world units), each set on the ground found there.
struct ScriptObject {
  float x, z;
  int type;
};

const ScriptObject defaultObjects[] = {
    {-30, -30, 0}, {30, -30, 0}, {0, -60, 0},     {-40, -70, 0}, {-40, -140, 0}, {-80, -140, 0},
    {170, 50, 0},  {80, -80, 0}, {-160, -100, 0}, {-20, 20, 1},  {130, -20, 1},  {-110, -150, 1},
};

bool fail(const std::string &message) {
  std::fprintf(stderr, "generate_default_world: %s\n", message.c_str());
  return false;
}

// An empty world (no cube types, the smallest region table), so that the
// indexed world has a file to start from.
bool writeEmptyWorld() {
  FILE *fd = fopen(worldFileName, "wb");
  if (fd == NULL)
    return fail("cannot write the empty world");
  writeBytes(fd, "WORLD", 5);
  writeInt32(fd, 1);
  writeInt32(fd, 0);
  {
    WorldIndexator emptyTable(320.f);
    emptyTable.write(fd);
  }
  bool isWritten = ferror(fd) == 0;
  return fclose(fd) == 0 && isWritten ? true : fail("cannot write the empty world");
}

// The top of the ground at (x, z), world units: the first solid point met
// coming down from above the highest hill.
float groundHeightAt(float x, float z) {
  for (float y = 1200.f; y > -1200.f; y -= 10.f)
    if (worldIndexator->isCollidingPoint(Float3(x, y - 5.f, z)))
      return y;
  return 0.f;
}

// Random boxes that landed on the plateau where the player starts are taken
// away, so that the player does not start inside one.
void clearStartArea() {
  const float reach = 40.f;
  const Int3 &size = worldIndexator->tableRegionSize;
  for (int64_t cell = 0; cell < int64_t(size.x()) * size.y() * size.z(); ++cell) {
    std::vector<CubeZone> &zones = worldIndexator->tableRegions[cell]->zones;
    zones.erase(std::remove_if(zones.begin(), zones.end(),
                               [reach](const CubeZone &zone) {
                                 Float3 low = zone.center - zone.size / 2.f;
                                 Float3 high = zone.center + zone.size / 2.f;
                                 return low.y() > -0.5f && low.x() < reach && high.x() > -reach &&
                                        low.z() < reach && high.z() > -reach;
                               }),
                zones.end());
  }
  worldIndexator->dropAllGeometry();
}

bool buildDefaultWorld() {
  IndexedWorld world;
  for (const CubeTypeRecipe &recipe : cubeTypeRecipes) {
    const std::string names[6] = {recipe.top,  recipe.bottom, recipe.side,
                                  recipe.side, recipe.side,   recipe.side};
    world.addCubeType(names, false, false, false, true);
  }
  // The editor's own operations: generation from the height map, then shadows.
  Editor3D editor(NULL, &world);
  editor.worldGeneration.heightFactor = heightFactor;
  if (!editor.worldGeneration.generateFromHeightmap(generationCursor, Editor3D::regionCubes(),
                                                    dirtType, grassType, 8))
    return fail("the landscape could not be generated from world_heightmap.png");
  clearStartArea();
  for (const ScriptObject &object : defaultObjects)
    world.addObject(Float3(object.x, groundHeightAt(object.x, object.z), object.z), object.type);
  CubeZoneStaticShadows::computeAllShadows();
  world.saveWorld();
  return true;
}

bool makeWorldIn(const std::string &gameDir, const std::string &workDir) {
  for (const char *picture : picturesNeeded) {
    std::error_code error;
    std::filesystem::copy_file(std::filesystem::path(gameDir) / picture,
                               std::filesystem::path(workDir) / picture, error);
    if (error)
      return fail(std::string("missing picture ") + picture + " in " + gameDir);
  }
  if (chdir(workDir.c_str()) != 0)
    return fail("cannot enter " + workDir);
  DeviceManager::create("generate_default_world", "", 320, 240, false);
  bool isMade = writeEmptyWorld() && buildDefaultWorld();
  delete deviceManager;
  deviceManager = NULL;
  return isMade;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: generate_default_world <game folder>\n");
    return 1;
  }
  std::string gameDir = std::filesystem::absolute(argv[1]).string();
  std::string target = gameDir + "/" + worldFileName;
  struct stat existing;
  if (lstat(target.c_str(), &existing) == 0)
    return 0;

  std::string pattern = gameDir + "/.default_world.XXXXXX";
  if (mkdtemp(&pattern[0]) == NULL) {
    fail("cannot make a folder in " + gameDir);
    return 1;
  }
  const std::string workDir = pattern;
  bool isMade = makeWorldIn(gameDir, workDir);
  // link() never replaces: a world.dat made meanwhile stays.
  if (isMade && link((workDir + "/" + worldFileName).c_str(), target.c_str()) != 0 &&
      errno != EEXIST)
    isMade = fail("cannot place " + target + ": " + std::strerror(errno));
  std::error_code error;
  std::filesystem::remove_all(workDir, error);
  return isMade ? 0 : 1;
}
