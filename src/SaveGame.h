// Save-game files: the player's 24 bytes (position, camera heading and pitch,
// movement type) and then the script's global variables, little-endian, no
// header. A save replaces the file only once it is completely on disk; a
// load reads and checks the whole file and applies all of it or nothing.
#pragma once

#include <cstdint>
#include <string>

#include "BasicVector.h"

class GlobalVarTable;
class World;

struct SaveGamePlayer {
  Float3 position;
  float heading = 0.f;
  float pitch = 0.f;
  int32_t mvtType = 0;
};

std::string buildSaveGame(const SaveGamePlayer &player, const GlobalVarTable &vars);
// False for a damaged file: fewer than 24 bytes, a movement type outside 0 to
// 3, a number that is not finite, a name length outside the bytes left.
bool parseSaveGame(const std::string &bytes, SaveGamePlayer &player, GlobalVarTable &vars);

// Through the platform's crash-safe replacement: the old file stays whole
// unless the new one is completely on disk.
bool writeFileAtomically(const std::string &name, const std::string &bytes);
// The whole content of a regular file; false for anything else.
bool readWholeFile(const std::string &name, std::string &bytes);

// The game loop's steps: the pending requests against the world's player
// and the global variable table, with their console lines.
void saveGameFile(const std::string &name, World *world);
void loadGameFile(const std::string &name, World *world);
