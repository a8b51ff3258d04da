// Script object records: copying into a record replaces the object it held.
#include "CustomObject.h"

#include "ScriptContext.h"

CustomObject &CustomObject::operator=(const CustomObject &other) {
  if (this != &other) {
    forgetCurrentObject(this);
    position = other.position;
    type = other.type;
    localVariable1 = other.localVariable1;
    localVariable2 = other.localVariable2;
  }
  return *this;
}

CustomObject::~CustomObject() {
  forgetCurrentObject(this);
}
