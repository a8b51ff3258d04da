// A model use: construction loads or shares a cached model, destruction
// releases it; the last release frees the geometry, the display list and the
// materials' texture sprites.
#include "ObjModel.h"

#include "FatalReport.h"
#include "ModelCache.h"
#include "ObjGeometry.h"
#include "ObjReader.h"

#include <GL/gl.h>
#include <cstdio>

ObjModel::ObjModel(const std::string &parFilename, float scale, float weldTolerance) {
  ASSERT(parFilename != "");
  std::vector<ModelCacheElement> &cache = modelCache();
  for (size_t i = 0; i < cache.size(); ++i) {
    if (cache[i].fileName == parFilename) {
      cacheIndex = static_cast<int>(i);
      ++cache[i].nbUses;
      printf("Getting model '%s'\n", parFilename.c_str());
      fflush(stdout);
      return;
    }
  }
  printf("Loading model '%s' ... \n", parFilename.c_str());
  fflush(stdout);
  ObjModelData *model = glmReadOBJ(parFilename);
  if (scale != 1.0f)
    scaleVertices(model, scale);
  computeFacetNormals(model);
  glmVertexNormals(model, 90.0f);
  if (weldTolerance > 0.0f)
    weldVertices(model, weldTolerance);
  unsigned int displayList = glGenLists(1);
  glNewList(displayList, GL_COMPILE);
  glmDraw(model);
  glEndList();
  // The geometry stays as drawn: collideSegment reads it. (Welding it with a
  // tolerance of 1000 units to save memory would merge a whole figure into
  // one point and no segment could ever hit the model.)
  cache.push_back({model, parFilename, displayList, 1});
  cacheIndex = static_cast<int>(cache.size() - 1);
  printf("...loading model done\n");
  fflush(stdout);
}

ObjModel::~ObjModel() {
  ModelCacheElement &element = modelCache()[cacheIndex];
  --element.nbUses;
  ASSERT(element.nbUses >= 0);
  if (element.nbUses > 0) {
    printf("Ungetting model '%s'\n", element.fileName.c_str());
    fflush(stdout);
    return;
  }
  printf("Unloading model %s ...\n", element.fileName.c_str());
  glDeleteLists(element.displayList, 1);
  freeModel(element.model);
  element.model = nullptr;
  element.fileName = "";
  printf("... unloading model done\n");
  fflush(stdout);
}

void ObjModel::draw() {
  glCallList(modelCache()[cacheIndex].displayList);
}

bool ObjModel::collideSegment(const Float3 &from, const Float3 &to, Float3 &out) {
  ObjModelData *model = modelCache()[cacheIndex].model;
  ASSERT(model);
  ASSERT(model->facetnorms);
  return segmentHitsModel(*model, from, to, out);
}
