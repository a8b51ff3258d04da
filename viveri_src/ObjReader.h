// The OBJ and MTL reader: a model's geometry, materials and groups read in two
// passes over the file (count, then fill) that share one tokenizer. Arrays are
// indexed from 1 as in the file. The geometry operations are in ObjGeometry.h.
#pragma once

#include "BasicVector.h"

#include <memory>
#include <string>
#include <vector>

class ObjLineReader;
class Sprite;

// A float array that is "absent" while empty, so checks read as the model's
// own ("model->facetnorms").
struct FloatArray : std::vector<float> {
  using std::vector<float>::vector;
  explicit operator bool() const { return !empty(); }
};

struct ModelTriangle {
  int vertexIndices[3] = {0, 0, 0};
  int normalIndices[3] = {0, 0, 0};
  int texCoordIndices[3] = {0, 0, 0};  // 0: the corner has no texture coordinate
  int facetIndex = 0;
};

struct ModelMaterial {
  std::string name;
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float shininess = 65.0f;
  Sprite *textureSprite = nullptr;  // owned use of a sprite manager sprite
  float textureScale[3] = {1.0f, 1.0f, 1.0f};
  bool hasAmbientMap = false;
};

struct ModelGroup {
  std::string name;  // the rest of the g line, its leading blank included
  int nbTriangles = 0;
  std::vector<int> triangleIndices;
  int materialIndex = 0;
};

struct ObjModelData {
  std::string fileName;
  std::string materialFileName;  // empty: no mtllib line
  int nbVertices = 0;
  FloatArray vertices;  // 3 per vertex, from index 1
  int nbNormals = 0;
  FloatArray normals;  // 3 per normal, from index 1; empty when none
  int nbTexCoords = 0;
  FloatArray texCoords;  // 2 per coordinate, from index 1; empty when none
  int nbFacetNormals = 0;
  FloatArray facetnorms;  // 3 per facet normal, from index 1
  int nbTriangles = 0;
  std::vector<ModelTriangle> triangles;  // from index 0
  int nbMaterials = 0;
  std::vector<ModelMaterial> materials;  // from index 0, "default" first; empty without a library
  int nbGroups = 0;
  std::vector<std::unique_ptr<ModelGroup>> groups;  // newest first, "default" last
  Float3 position;                                  // kept, not used
};

// Reads the OBJ file (and its material library); a missing or damaged file is
// fatal, naming the file (and the line for a bad face).
ObjModelData *glmReadOBJ(const std::string &path);
// Counts vertices, normals, texture coordinates, triangles and each group's
// triangles, and reads the material library.
void glmFirstPass(ObjModelData *model, ObjLineReader &reader);
// Fills what the first pass counted; face indices are checked against the counts.
void secondPass(ObjModelData *model, ObjLineReader &reader);
void glmReadMTL(const std::string &materialFileName, ObjModelData *model);
// The first material named exactly name, else a console line and 0.
int glmFindMaterial(const ObjModelData *model, const std::string &name);
// Releases the materials' texture sprites and empties the material list.
void releaseMaterials(ObjModelData *model);
