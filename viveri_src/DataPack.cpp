// The data pack: its table is read and checked once at opening (every record
// must lie inside the file), lookups only seek and read the record's size.
#include "DataPack.h"

#include "FatalReport.h"
#include "LittleEndian.h"
#include "PlatformFile.h"

#include <cstdint>

DataPack *dataPack = nullptr;

namespace {

const char packMagic[4] = {'V', 'D', 'P', 'K'};

// The table's count and lengths are never trusted beyond what the file holds.
uint32_t readUint32(FILE *file, const std::string &path) {
  unsigned char bytes[4];
  if (fread(bytes, 1, 4, file) != 4)
    FATAL(("DataPack : unexpected end of '" + path + "'").c_str());
  return littleEndian32(bytes);
}

}  // namespace

DataPack::DataPack(const std::string &path) {
  file = fopen(path.c_str(), "rb");
  if (file == nullptr)
    FATAL(("DataPack : can't open '" + path + "'").c_str());
  int64_t fileSizeSigned = platformFileSize(file);
  if (fileSizeSigned < 0)
    FATAL(("DataPack : can't seek in '" + path + "'").c_str());
  uint64_t fileSize = uint64_t(fileSizeSigned);

  char magic[4] = {0, 0, 0, 0};
  if (fread(magic, 1, 4, file) != 4 || std::string(magic, 4) != std::string(packMagic, 4))
    FATAL(("DataPack : '" + path + "' is not a data pack").c_str());
  uint32_t count = readUint32(file, path);
  for (uint32_t i = 0; i < count; i++) {
    uint32_t nameLength = readUint32(file, path);
    long here = ftell(file);
    if (here < 0 || uint64_t(here) + nameLength > fileSize)
      FATAL(("DataPack : unexpected end of '" + path + "'").c_str());
    std::string name(nameLength, '\0');
    if (nameLength != 0 && fread(&name[0], 1, nameLength, file) != nameLength)
      FATAL(("DataPack : unexpected end of '" + path + "'").c_str());
    uint32_t offset = readUint32(file, path);
    if (!entries.emplace(name, offset).second)
      FATAL(("DataPack : entry '" + name + "' twice in '" + path + "'").c_str());
  }

  // Every record's size and data must lie inside the file.
  for (const auto &entry : entries) {
    if (uint64_t(entry.second) + 4 > fileSize || fseek(file, long(entry.second), SEEK_SET) != 0)
      FATAL(("DataPack : entry '" + entry.first + "' lies outside '" + path + "'").c_str());
    int32_t size = int32_t(readUint32(file, path));
    if (size < 0 || uint64_t(entry.second) + 4 + uint64_t(size) > fileSize)
      FATAL(("DataPack : entry '" + entry.first + "' lies outside '" + path + "'").c_str());
  }
}

DataPack::~DataPack() {
  fclose(file);
}

FILE *DataPack::openEntry(const std::string &name, int &size) {
  auto found = entries.find(name);
  if (found == entries.end())
    return nullptr;
  if (fseek(file, long(found->second), SEEK_SET) != 0)
    FATAL("DataPack::openEntry : can't seek to the entry");
  int32_t stored = 0;
  unsigned char bytes[4];
  if (fread(bytes, 1, 4, file) != 4)
    FATAL("DataPack::openEntry : can't read the entry size");
  stored = int32_t(littleEndian32(bytes));
  size = stored;
  return file;
}
