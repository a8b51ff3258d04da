// The script's global variables: signed 32-bit integers by name, ordered by
// plain byte-wise comparison of the names. They travel in save-games right
// after the player's values as a count, then per entry the name's length,
// the name's bytes and the value (little-endian 32-bit fields).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

class GlobalVarTable {
 public:
  void clearGlobalVars() { vars.clear(); }
  void setGlobalVar(const std::string &name, int32_t value) { vars[name] = value; }
  // 0 when the name has no entry; no entry is created.
  int32_t getGlobalVar(const std::string &name) const;
  // Adds with 32-bit wrap-around, creating the entry with delta when absent.
  int32_t addToGlobalVar(const std::string &name, int32_t delta);

  // Appends the save-game block to bytes.
  void saveGlobalVars(std::string &bytes) const;
  // Reads a block into a new table. A file that ends early gives the count 0,
  // a length 0 or a value -1 where the field is missing; a negative length or
  // one beyond the bytes left is damage: false, and table is untouched.
  static bool parseGlobalVars(const unsigned char *data, size_t size, GlobalVarTable &table);

  std::map<std::string, int32_t> vars;
};

extern GlobalVarTable globalVarTable;
