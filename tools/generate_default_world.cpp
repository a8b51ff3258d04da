// Writes the default "world.dat" into a game folder, only when none is there:
//   generate_default_world <game folder>
// The world is made through the game's own indexed world and saved by it, in
// a private folder beside the game folder's files, then linked into place;
// a world.dat that appeared meanwhile is never replaced. The game's world
// code needs the window system (textures, the device), so this runs with an
// X display (the build gives it a private one). Exit status 1 on failure.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "DeviceManager.h"
#include "IndexedWorld.h"
#include "WorldFile.h"
#include "WorldIndexator.h"

namespace {

// Pictures the world loads at once: the cube types' shadow overlay and the water.
const char *const picturesNeeded[] = {"black_semi_transparent.png", "water.png", "water_sub.png"};

enum CubeTypeIndex { grassType, stoneType, brickType, sandType, woodType };

struct CubeTypeRecipe {
  const char *top;
  const char *bottom;
  const char *side;
};

// In the order of CubeTypeIndex. Faces: top, bottom, +z, -z, -x, +x.
const CubeTypeRecipe cubeTypeRecipes[] = {
    {"grass.png", "dirt.png", "grass_side.png"}, {"stone.png", "stone.png", "stone.png"},
    {"brick.png", "brick.png", "brick.png"},     {"sand.png", "sand.png", "sand.png"},
    {"wood.png", "wood.png", "wood.png"},
};

// A box from its lowest to its highest corner, world units (one cube is 10).
struct Box {
  float x0, y0, z0, x1, y1, z1;
  CubeTypeIndex type;
};

// The ground's top is y = 0, the border of regions -1 and 0, where the
// player stands at (0, 0, 0). The pool's floor is at -20, below the water,
// which rises and falls between -8 and -2. Steps of one and two cubes can be
// jumped on (a jump lifts the feet about 26 units), the brick wall of five
// cubes cannot; the wooden roof on its pillars stops a jump.
const Box defaultWorld[] = {
    // Ground: four regions around the origin, 3 cubes thick.
    {-320, -30, -320, 0, 0, 0, grassType},
    {-320, -30, 0, 0, 0, 320, grassType},
    {0, -30, 0, 320, 0, 320, grassType},
    // The fourth region's ground around the pool (x 40..120, z -120..-40).
    {0, -30, -320, 40, 0, 0, grassType},
    {120, -30, -320, 320, 0, 0, grassType},
    {40, -30, -320, 120, 0, -120, grassType},
    {40, -30, -40, 120, 0, 0, grassType},
    {40, -30, -120, 120, -20, -40, sandType},
    // Stone steps up to a platform, ahead of the start (-z is ahead).
    {-60, 0, -80, -20, 10, -60, stoneType},
    {-60, 0, -100, -20, 20, -80, stoneType},
    {-60, 0, -120, -20, 30, -100, stoneType},
    {-100, 0, -160, -20, 30, -120, stoneType},
    // A brick wall too high to jump.
    {-200, 0, -60, -120, 50, -50, brickType},
    // A wooden roof two cubes up on four pillars, behind the start.
    {140, 0, 20, 150, 20, 30, woodType},
    {190, 0, 20, 200, 20, 30, woodType},
    {140, 0, 70, 150, 20, 80, woodType},
    {190, 0, 70, 200, 20, 80, woodType},
    {140, 20, 20, 200, 30, 80, woodType},
};

// Script objects of the default game script: coins (type 0) and lanterns
// (type 1), standing on the ground, the platform, the pool's floor and under
// the roof.
struct ScriptObject {
  float x, y, z;
  int type;
};

const ScriptObject defaultObjects[] = {
    {-30, 0, -30, 0},   {30, 0, -30, 0},    {0, 0, -60, 0},   {-40, 10, -70, 0},
    {-40, 30, -140, 0}, {-80, 30, -140, 0}, {170, 0, 50, 0},  {80, -20, -80, 0},
    {-160, 0, -100, 0}, {-20, 0, 20, 1},    {130, 0, -20, 1}, {-110, 30, -150, 1},
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

bool buildDefaultWorld() {
  IndexedWorld world;
  for (const CubeTypeRecipe &recipe : cubeTypeRecipes) {
    const std::string names[6] = {recipe.top,  recipe.bottom, recipe.side,
                                  recipe.side, recipe.side,   recipe.side};
    world.addCubeType(names, false, false, false, true);
  }
  for (const Box &box : defaultWorld) {
    Float3 low(box.x0, box.y0, box.z0), high(box.x1, box.y1, box.z1);
    if (!world.addCubeZone(high - low, (low + high) * 0.5f, box.type))
      return fail("a box of the default world does not fit one region");
  }
  for (const ScriptObject &object : defaultObjects)
    world.addObject(Float3(object.x, object.y, object.z), object.type);
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
