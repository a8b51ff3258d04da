// Argument conversions and handle checks shared by the script bindings.
// Both integer conversions are defined for every number: NaN gives 0 and
// values beyond the 32-bit range saturate, so range checks see the real size.
#pragma once

#include <cstdint>

struct lua_State;

// Truncation toward zero.
int32_t truncToInt32(double value);
// Round to nearest, ties to even.
int32_t nearestToInt32(double value);

// The conversions applied to the argument at a stack index (lua_tonumber
// first: a string holding a number converts, anything else is 0).
int32_t argTrunc(lua_State *lua, int index);
int32_t argNearest(lua_State *lua, int index);
float argFloat(lua_State *lua, int index);

// The kinds of engine objects the script holds as bare pointers.
enum HandleKind { HANDLE_SOUND, HANDLE_MODEL, HANDLE_SPRITE };

// Every handle handed to the script is recorded with its kind until the
// script unloads it; a pointer that was never handed out, was unloaded, or
// is of another kind ends in the fatal report.
void addHandle(void *handle, HandleKind kind);
void removeHandle(void *handle, HandleKind kind);
bool isHandleOf(void *handle, HandleKind kind);
void checkHandle(void *handle, HandleKind kind);
// The handles of one kind still held by the script.
int countHandles(HandleKind kind);
void *firstHandle(HandleKind kind);
