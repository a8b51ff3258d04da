// The global variable table and its save-game block.
#include "GlobalVarTable.h"

#include <cstring>

GlobalVarTable globalVarTable;

namespace {

void appendInt32(std::string &bytes, int32_t value) {
  uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// False when fewer than four bytes are left.
bool readInt32(const unsigned char *data, size_t size, size_t &offset, int32_t &value) {
  if (size - offset < 4)
    return false;
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
  offset += 4;
  value = static_cast<int32_t>(v);
  return true;
}

}  // namespace

int32_t GlobalVarTable::getGlobalVar(const std::string &name) const {
  auto found = vars.find(name);
  return found == vars.end() ? 0 : found->second;
}

int32_t GlobalVarTable::addToGlobalVar(const std::string &name, int32_t delta) {
  auto found = vars.find(name);
  if (found == vars.end())
    return vars[name] = delta;
  found->second =
      static_cast<int32_t>(static_cast<uint32_t>(found->second) + static_cast<uint32_t>(delta));
  return found->second;
}

void GlobalVarTable::saveGlobalVars(std::string &bytes) const {
  appendInt32(bytes, static_cast<int32_t>(vars.size()));
  for (const auto &entry : vars) {
    appendInt32(bytes, static_cast<int32_t>(entry.first.size()));
    bytes.append(entry.first);
    appendInt32(bytes, entry.second);
  }
}

bool GlobalVarTable::parseGlobalVars(const unsigned char *data, size_t size,
                                     GlobalVarTable &table) {
  GlobalVarTable result;
  size_t offset = 0;
  int32_t count = 0;
  if (!readInt32(data, size, offset, count))
    count = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (offset == size) {
      // Every entry left of a table cut here reads as the empty name with
      // the value -1: one entry says it all.
      result.vars[std::string()] = -1;
      break;
    }
    int32_t length = 0;
    if (!readInt32(data, size, offset, length))
      length = 0;
    if (length < 0 || static_cast<size_t>(length) > size - offset)
      return false;
    std::string name(reinterpret_cast<const char *>(data + offset), static_cast<size_t>(length));
    offset += static_cast<size_t>(length);
    int32_t value = -1;
    if (!readInt32(data, size, offset, value))
      value = -1;
    result.vars[name] = value;
  }
  table.vars.swap(result.vars);
  return true;
}
