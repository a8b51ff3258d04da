// The process-wide list of loaded models shared by file name: each entry owns
// a model's geometry and display list and counts its uses. Entries are
// appended and never removed; a released entry keeps its place with an empty
// file name, and a later load of the file appends a new entry.
#pragma once

#include <string>
#include <vector>

struct ObjModelData;

struct ModelCacheElement {
  ObjModelData *model;   // owned; null once released
  std::string fileName;  // the key; empty once released
  unsigned int displayList;
  int nbUses;
};

// The cache, in load order (destroyed at program exit).
std::vector<ModelCacheElement> &modelCache();
