// The one script context.
#include "ScriptContext.h"

ScriptContext scriptContext;

void forgetCurrentObject(const CustomObject *record) {
  if (scriptContext.currentObject == record)
    scriptContext.currentObject = nullptr;
}
