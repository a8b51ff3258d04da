// A script object placed in the world: where it is, which script object type
// drives it, and the two local variables its script may read and write.
// Records are owned by their region and moved between regions by value; a
// record that is destroyed or overwritten is forgotten as the script's
// current object, so that reference never outlives the record it names.
#pragma once

#include <cstdint>

#include "BasicVector.h"

struct CustomObject {
  CustomObject() = default;
  CustomObject(const CustomObject &other) = default;
  CustomObject &operator=(const CustomObject &other);
  ~CustomObject();

  Float3 position;
  int32_t type = 0;
  // Not stored in the world file: every object read from it starts at 0.
  float localVariable1 = 0.f;
  float localVariable2 = 0.f;
};
