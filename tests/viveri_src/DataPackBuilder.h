// Writes data pack files for the tests: named entries laid out as the pack
// reads them (magic, count, names with record offsets, then size-and-data records).
#pragma once

#include "ImageFixtures.h"

#include <string>
#include <utility>
#include <vector>

class DataPackBuilder {
 public:
  void add(const std::string &name, const Bytes &data);
  Bytes build() const;

 private:
  std::vector<std::pair<std::string, Bytes>> entries;
};
