// Integer conversions of script numbers and the table of handed-out handles.
#include "ScriptArgs.h"

#include <cmath>
#include <unordered_map>

#include "FatalReport.h"

extern "C" {
#include <lua.h>
}

namespace {

int32_t saturate(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 2147483647.0)
    return INT32_MAX;
  if (value <= -2147483648.0)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}

std::unordered_map<void *, HandleKind> &handles() {
  static std::unordered_map<void *, HandleKind> table;
  return table;
}

}  // namespace

int32_t truncToInt32(double value) {
  return saturate(std::trunc(value));
}

int32_t nearestToInt32(double value) {
  // The default rounding mode rounds halves to the even neighbour.
  return saturate(std::nearbyint(value));
}

int32_t argTrunc(lua_State *lua, int index) {
  return truncToInt32(lua_tonumber(lua, index));
}

int32_t argNearest(lua_State *lua, int index) {
  return nearestToInt32(lua_tonumber(lua, index));
}

float argFloat(lua_State *lua, int index) {
  return static_cast<float>(lua_tonumber(lua, index));
}

void addHandle(void *handle, HandleKind kind) {
  handles()[handle] = kind;
}

void removeHandle(void *handle, HandleKind kind) {
  checkHandle(handle, kind);
  handles().erase(handle);
}

bool isHandleOf(void *handle, HandleKind kind) {
  auto found = handles().find(handle);
  return found != handles().end() && found->second == kind;
}

void checkHandle(void *handle, HandleKind kind) {
  ASSERT_MESSAGE(isHandleOf(handle, kind),
                 "the script handed over a handle that it does not hold (never loaded, already "
                 "unloaded, or of another kind)");
}

int countHandles(HandleKind kind) {
  int count = 0;
  for (const auto &entry : handles())
    if (entry.second == kind)
      ++count;
  return count;
}

void *firstHandle(HandleKind kind) {
  for (const auto &entry : handles())
    if (entry.second == kind)
      return entry.first;
  return nullptr;
}
