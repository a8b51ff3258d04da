// Type load states and the per-type script calls.
#include "CustomObjectTypeManager.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>

#include "CustomObject.h"
#include "FatalReport.h"
#include "Scene3D.h"
#include "ScriptContext.h"
#include "ScriptHost.h"

CustomObjectTypeManager *cotm = NULL;

void CustomObjectTypeManager::ensureType(int id) {
  ASSERT_MESSAGE(id >= 0 && id <= maxObjectType, "a script object type number out of range");
  if (static_cast<size_t>(id) < customObjectIsUsed.size())
    return;
  customObjectIsUsed.resize(static_cast<size_t>(id) + 1, 0);
  ASSERT(customObjectIsUsed[id] == 0);
}

void CustomObjectTypeManager::call(const char *prefix, int id) {
  snprintf(nameBuffer, sizeof nameBuffer, "%s_%d", prefix, id);
  callScriptFunction(scriptContext.currentState, nameBuffer);
}

void CustomObjectTypeManager::manageObject(CustomObject &record) {
  // Without a script there is nothing to call.
  if (scriptContext.currentState == NULL)
    return;
  ensureType(record.type);
  scriptContext.currentObject = &record;
  Float3 d = record.position - playerModelPosition();
  scriptContext.distanceToPlayer = std::sqrt(d.x() * d.x() + d.y() * d.y() + d.z() * d.z());
  int &state = customObjectIsUsed[static_cast<size_t>(record.type)];
  if (state == 0) {
    call("lua_load", record.type);
    state = 1;
  }
  state = 2;
  call("lua_manage", record.type);
}

void CustomObjectTypeManager::drawObject(const CustomObject &record) {
  if (scriptContext.currentState == NULL)
    return;
  ensureType(record.type);
  glPushMatrix();
  glLoadMatrixf(scene3D->viewMatrix);
  glTranslatef(record.position.x(), record.position.y(), record.position.z());
  if (isEditorMode)
    scene3D->drawBox(Float3(5, 5, 5), Float3(1, 1, 1), NULL, false);
  if (customObjectIsUsed[static_cast<size_t>(record.type)] == 0) {
    call("lua_load", record.type);
    customObjectIsUsed[static_cast<size_t>(record.type)] = 1;
  }
  call("lua_draw", record.type);
  glPopMatrix();
}

void CustomObjectTypeManager::endFrameMarks() {
  for (int &state : customObjectIsUsed)
    if (state == 2)
      state = 1;
}

void CustomObjectTypeManager::unloadIdleTypes() {
  // By index: a script function may not touch the array, but stay safe.
  for (size_t id = 0; id < customObjectIsUsed.size(); ++id) {
    if (customObjectIsUsed[id] == 1) {
      call("lua_unload", static_cast<int>(id));
      customObjectIsUsed[id] = 0;
    }
  }
}
