// What is done with a read OBJ model: scaling, facet and vertex normals,
// welding, the immediate-mode drawing compiled into its display list, the
// segment test, and freeing.
#pragma once

#include "BasicVector.h"

struct ObjModelData;

void scaleVertices(ObjModelData *model, float factor);
// One unit normal per triangle (zero for a degenerate triangle).
void computeFacetNormals(ObjModelData *model);
// Replaces the normals by smoothed ones: the triangles around a vertex whose
// facets are within angle degrees of the newest triangle's share one normal.
void glmVertexNormals(ObjModelData *model, float angle);
// Merges vertices whose coordinates all differ by less than tolerance.
void weldVertices(ObjModelData *model, float tolerance);
// Immediate-mode drawing with smooth normals, texture coordinates, materials.
void glmDraw(const ObjModelData *model);
// The first triangle that the segment from -> to crosses; out = the crossing
// point on its plane.
bool segmentHitsModel(const ObjModelData &model, const Float3 &from, const Float3 &to, Float3 &out);
// Releases the materials' sprites and frees the model.
void freeModel(ObjModelData *model);
