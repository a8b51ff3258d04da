// An archive of named asset files read through one shared stream. When the
// process-wide pack is set, the image and sound loaders take every file from
// it instead of the file system.
//
// File layout, little-endian: "VDPK", a 4-byte entry count, then per entry a
// 4-byte name length, the name's bytes and the 4-byte offset of its record;
// a record is a 4-byte signed data size followed by the data.
#pragma once

#include <cstdio>
#include <map>
#include <string>

class DataPack {
 public:
  // Opens the pack and reads its table; a missing or damaged pack is fatal.
  explicit DataPack(const std::string &path);
  ~DataPack();
  DataPack(const DataPack &) = delete;
  DataPack &operator=(const DataPack &) = delete;

  // The pack's stream positioned at the first data byte of the entry named
  // exactly name, with its data size in size; nullptr (size untouched) when
  // there is no such entry. The stream stays the pack's: read the entry fully
  // before the next lookup, never close it.
  FILE *openEntry(const std::string &name, int &size);

 private:
  FILE *file;
  std::map<std::string, unsigned int> entries;
};

// The current pack; null unless one was opened.
extern DataPack *dataPack;
