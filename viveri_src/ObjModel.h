// One use of a cached OBJ model: constructing it loads the file (or shares
// the loaded one), drawing calls the model's display list, destroying it
// releases the use. Collisions test a segment against the model's triangles.
#pragma once

#include "Object3D.h"

#include <string>

class ObjModel : public Object3D {
 public:
  // Every caller passes the weld tolerance 0 (no welding before drawing).
  ObjModel(const std::string &parFilename, float scale, float weldTolerance);
  ~ObjModel() override;

  // Calls the display list; the caller has placed the model.
  void draw() override;
  // The first triangle the segment crosses; out = the crossing point.
  bool collideSegment(const Float3 &from, const Float3 &to, Float3 &out) override;

  int cacheIndex;  // index of the model's entry in the model cache
};
