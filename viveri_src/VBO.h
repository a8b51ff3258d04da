// Vertex buffers for the cube world: the one-time check for the buffer-object
// extension, the VBO (positions and texture coordinates of one texture and one
// primitive kind) and the VBOSet that collects a region's faces by texture.
// Depends on GLEW's entry-point variables and the platform's GL lookup.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "BasicVector.h"

// Set once by initVBOSupport; while false no buffer GL call is ever made.
extern bool isVBOSupported;

// Called once the GL context exists: tests the extension list and fetches
// the four buffer entry points.
void initVBOSupport();
// The same from a given extension list (what the driver reported).
void initVBOSupportFromList(const char *extensions);

// Whole-word search of name in a blank-separated extension list: an
// occurrence counts only when it starts the list or follows a blank and is
// followed by a blank or the end. A name containing a blank is never found.
bool isExtensionListed(const char *extensions, const char *name);

class VBO {
 public:
  // Uploads nbVertices positions and texture coordinates (nothing at all
  // when buffer objects are unsupported).
  VBO(int nbVertices, int textureId, bool isQuads, const Float3 *vertices, const Float2 *texCoords);
  // Releases both GL buffers (when supported).
  ~VBO();
  VBO(const VBO &) = delete;
  VBO &operator=(const VBO &) = delete;

  void draw();

  unsigned int vertexBufferId = 0;
  unsigned int texCoordBufferId = 0;
  int nbVertices = 0;
  int textureId = 0;
  bool isQuads = false;
};

// Geometry collected for one texture: quads (4 corners each) and triangles
// (3 each), every position with its texture coordinate.
struct TextureGeometry {
  std::vector<Float3> verticesQuadVect;
  std::vector<Float2> texCoordQuadVect;
  std::vector<Float3> verticesTriVect;
  std::vector<Float2> texCoordTriVect;
  bool isOverlay = false;
};

// Collecting phase (addQuad, addTriangle, markOverlay), then one build, then
// draws. Rebuilding means a new VBOSet.
class VBOSet {
 public:
  VBOSet() = default;
  ~VBOSet();
  VBOSet(const VBOSet &) = delete;
  VBOSet &operator=(const VBOSet &) = delete;

  void addQuad(int textureId, const Float3 vertices[4], const Float2 texCoords[4]);
  void addTriangle(int textureId, const Float3 vertices[3], const Float2 texCoords[3]);
  // Overlay groups are drawn after every ordinary group.
  void markOverlay(int textureId);

  // Ordinary groups in ascending texture id, then overlay groups; per group
  // the quad VBO before the triangle VBO. Returns (VBO count, vertex total).
  std::pair<int, int> build();
  void draw();

  std::map<int, TextureGeometry> geometryByTexture;
  std::vector<VBO *> vbos;
  int nbVertices = 0;
};
