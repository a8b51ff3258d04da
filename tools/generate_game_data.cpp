// Writes the game's default data into a game folder:
//   generate_game_data <game folder> <TrueType font>
// Only the files this program owns are written (pictures are replaced by new
// renderings); a world, save-games or anything else a user put there is never
// touched. One function per family of assets; exit status 1 on any failure.
#include "CubeTextures.h"
#include "FontPicture.h"
#include "GameSounds.h"
#include "HeightmapPicture.h"
#include "MenuPictures.h"
#include "PlayerModel.h"
#include "ScriptGameData.h"
#include "TextRenderer.h"
#include "WorldPictures.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

struct Context {
  std::string gameDir;
  TextRenderer text;
};

bool fontFamily(Context &c) {
  return generateFontPicture(c.text, c.gameDir);
}

bool menuFamily(Context &c) {
  return generateMainMenu(c.text, c.gameDir) && generateOptionsMenu(c.text, c.gameDir) &&
         generateMenuPointer(c.gameDir);
}

bool cubeFamily(Context &c) {
  return generateShadowOverlay(c.gameDir) && generateCubeTextures(c.gameDir);
}

bool worldFamily(Context &c) {
  return generateLoadingScreen(c.text, c.gameDir) && generateWaterPictures(c.gameDir) &&
         generateSkybox(c.gameDir) && generateHeightmap(c.gameDir);
}

bool playerFamily(Context &c) {
  return generatePlayerModel(c.gameDir);
}

bool soundFamily(Context &c) {
  return generateGameSounds(c.gameDir);
}

bool scriptGameFamily(Context &c) {
  return generateScriptPictures(c.text, c.gameDir) && generateScriptModels(c.gameDir) &&
         generateScriptSounds(c.gameDir);
}

struct AssetFamily {
  const char *name;
  bool (*generate)(Context &);
};

const AssetFamily families[] = {
    {"font", fontFamily},
    {"menus", menuFamily},
    {"cube textures", cubeFamily},
    {"world pictures", worldFamily},
    {"player model", playerFamily},
    {"sounds", soundFamily},
    {"default game's pictures, models and sounds", scriptGameFamily},
};

const char *const folders[] = {"",       "menus",   "cube_textures", "cube_shadowed_textures",
                               "skybox", "sprites", "models",        "obj_player",
                               "sound"};

bool makeFolders(const std::string &gameDir) {
  for (const char *folder : folders) {
    std::filesystem::path path = std::filesystem::path(gameDir) / folder;
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error || !std::filesystem::is_directory(path)) {
      std::fprintf(stderr, "generate_game_data: cannot make the folder '%s'\n",
                   path.string().c_str());
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: generate_game_data <game folder> <TrueType font>\n");
    return 1;
  }
  Context context;
  context.gameDir = argv[1];
  if (!makeFolders(context.gameDir) || !context.text.open(argv[2]))
    return 1;
  for (const AssetFamily &family : families)
    if (!family.generate(context)) {
      std::fprintf(stderr, "generate_game_data: the %s could not be made\n", family.name);
      return 1;
    }
  return 0;
}
