// The script object types: one load state per type number, and the calls of
// each type's four script functions (lua_load_N, lua_manage_N, lua_draw_N,
// lua_unload_N) in the script's current state. Created and destroyed by the
// indexed world with the cube type manager and the world indexator.
#pragma once

#include <vector>

struct CustomObject;

class CustomObjectTypeManager {
 public:
  // Type numbers above this are refused: a damaged world file must not turn
  // into a huge allocation.
  static const int maxObjectType = 65535;

  // Grows the state array to hold id; a new type must be unloaded.
  void ensureType(int id);
  // Once per frame per managed record: becomes the current object, loads
  // its type when needed, calls lua_manage_N.
  void manageObject(CustomObject &record);
  // During the 3D pass: the record's box in editor mode and lua_draw_N,
  // drawn relative to the record's position.
  void drawObject(const CustomObject &record);
  // Every "managed this frame" becomes "loaded".
  void endFrameMarks();
  // Every type loaded but not managed this frame gets lua_unload_N.
  void unloadIdleTypes();

  // 0 not loaded, 1 loaded, 2 loaded and managed in the current frame.
  std::vector<int> customObjectIsUsed;
  // Whether the world was in editor mode when the current 3D pass started
  // drawing regions: objects then show a wireframe box.
  bool isEditorMode = false;

 private:
  void call(const char *prefix, int id);
  // Longest name: "lua_unload_" and a signed 32-bit number.
  char nameBuffer[32];
};

extern CustomObjectTypeManager *cotm;
