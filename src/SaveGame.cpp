// Save-game bytes, their checks, and the crash-safe file write.
#include "SaveGame.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Camera.h"
#include "FatalReport.h"
#include "GlobalVarTable.h"
#include "PlatformFile.h"
#include "Player.h"
#include "Scene3D.h"
#include "World.h"

namespace {

const size_t playerBytes = 24;

void appendUint32(std::string &bytes, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void appendFloat(std::string &bytes, float value) {
  uint32_t v;
  memcpy(&v, &value, 4);
  appendUint32(bytes, v);
}

uint32_t readUint32(const std::string &bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
  return v;
}

float readFloat(const std::string &bytes, size_t offset) {
  uint32_t v = readUint32(bytes, offset);
  float value;
  memcpy(&value, &v, 4);
  return value;
}


}  // namespace

std::string buildSaveGame(const SaveGamePlayer &player, const GlobalVarTable &vars) {
  std::string bytes;
  appendFloat(bytes, player.position.x());
  appendFloat(bytes, player.position.y());
  appendFloat(bytes, player.position.z());
  appendFloat(bytes, player.heading);
  appendFloat(bytes, player.pitch);
  appendUint32(bytes, static_cast<uint32_t>(player.mvtType));
  vars.saveGlobalVars(bytes);
  return bytes;
}

bool parseSaveGame(const std::string &bytes, SaveGamePlayer &player, GlobalVarTable &vars) {
  if (bytes.size() < playerBytes)
    return false;
  SaveGamePlayer read;
  read.position = Float3(readFloat(bytes, 0), readFloat(bytes, 4), readFloat(bytes, 8));
  read.heading = readFloat(bytes, 12);
  read.pitch = readFloat(bytes, 16);
  read.mvtType = static_cast<int32_t>(readUint32(bytes, 20));
  float numbers[5] = {read.position.x(), read.position.y(), read.position.z(), read.heading,
                      read.pitch};
  for (float number : numbers)
    if (!std::isfinite(number))
      return false;
  if (read.mvtType < 0 || read.mvtType > 3)
    return false;
  GlobalVarTable table;
  const unsigned char *rest = reinterpret_cast<const unsigned char *>(bytes.data()) + playerBytes;
  if (!GlobalVarTable::parseGlobalVars(rest, bytes.size() - playerBytes, table))
    return false;
  player = read;
  vars.vars.swap(table.vars);
  return true;
}

bool writeFileAtomically(const std::string &name, const std::string &bytes) {
  if (name.empty())
    return false;
  std::vector<unsigned char> content(bytes.begin(), bytes.end());
  return replaceFileSafely(name, content) != FileReplaceResult::previousKept;
}

bool readWholeFile(const std::string &name, std::string &bytes) {
  int fd = open(name.c_str(), O_RDONLY);
  if (fd < 0)
    return false;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return false;
  }
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      close(fd);
      return false;
    }
    if (n == 0)
      break;
    content.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  bytes.swap(content);
  return true;
}

void saveGameFile(const std::string &name, World *world) {
  printf("Saving game into file %s\n", name.c_str());
  fflush(stdout);
  SaveGamePlayer player;
  player.position = world->player->getPosition();
  player.heading = scene3D->camera->heading;
  player.pitch = scene3D->camera->pitch;
  player.mvtType = world->player->mvtType;
  if (!writeFileAtomically(name, buildSaveGame(player, globalVarTable))) {
    printf("Cannot write the save-game file %s: %s; nothing was saved\n", name.c_str(),
           strerror(errno));
    fflush(stdout);
  }
}

void loadGameFile(const std::string &name, World *world) {
  std::string bytes;
  // A name that cannot be opened (or is not a file) is dropped silently.
  if (!fileExists(name) || !readWholeFile(name, bytes))
    return;
  printf("Loading game from file %s\n", name.c_str());
  fflush(stdout);
  SaveGamePlayer player;
  if (!parseSaveGame(bytes, player, globalVarTable)) {
    printf("The save-game file %s is damaged; nothing was loaded\n", name.c_str());
    fflush(stdout);
    return;
  }
  world->player->setPosition(player.position);
  scene3D->camera->setHeading(player.heading);
  scene3D->camera->setPitch(player.pitch);
  // The speeds keep their values.
  world->player->mvtType = player.mvtType;
}
