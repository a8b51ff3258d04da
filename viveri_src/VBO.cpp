// Buffer-object support check, VBO upload and draw, and the VBOSet grouping.
// The entry points live in GLEW's exported variables and are fetched through
// the platform layer, so no GLEW initialisation is needed for them.
#include "VBO.h"

#include <GL/glew.h>

#include <cstdio>
#include <cstring>

#include "FatalReport.h"
#include "PlatformGL.h"

bool isVBOSupported = false;

bool isExtensionListed(const char *extensions, const char *name) {
  if (extensions == NULL || name == NULL || name[0] == '\0' || strchr(name, ' ') != NULL)
    return false;
  size_t nameLength = strlen(name);
  const char *start = extensions;
  for (;;) {
    const char *where = strstr(start, name);
    if (where == NULL)
      return false;
    const char *after = where + nameLength;
    if ((where == extensions || where[-1] == ' ') && (*after == ' ' || *after == '\0'))
      return true;
    start = after;
  }
}

void initVBOSupport() {
  initVBOSupportFromList(reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS)));
}

void initVBOSupportFromList(const char *extensions) {
  isVBOSupported = isExtensionListed(extensions, "GL_ARB_vertex_buffer_object");
  if (isVBOSupported) {
    __glewGenBuffersARB =
        reinterpret_cast<PFNGLGENBUFFERSARBPROC>(platformGetProcAddress("glGenBuffersARB"));
    __glewBindBufferARB =
        reinterpret_cast<PFNGLBINDBUFFERARBPROC>(platformGetProcAddress("glBindBufferARB"));
    __glewBufferDataARB =
        reinterpret_cast<PFNGLBUFFERDATAARBPROC>(platformGetProcAddress("glBufferDataARB"));
    __glewDeleteBuffersARB =
        reinterpret_cast<PFNGLDELETEBUFFERSARBPROC>(platformGetProcAddress("glDeleteBuffersARB"));
  } else {
    printf("!!! ERROR !!! vertex buffer objects are not supported, nothing will be displayed.\n");
    fflush(stdout);
  }
}

VBO::VBO(int nbVertices, int textureId, bool isQuads, const Float3 *vertices,
         const Float2 *texCoords) {
  if (!isVBOSupported)
    return;
  this->nbVertices = nbVertices;
  this->textureId = textureId;
  this->isQuads = isQuads;
  // The texture coordinate buffer stays bound afterwards.
  glGenBuffersARB(1, &vertexBufferId);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBufferId);
  glBufferDataARB(GL_ARRAY_BUFFER_ARB, nbVertices * 12, vertices, GL_STATIC_DRAW_ARB);
  glGenBuffersARB(1, &texCoordBufferId);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, texCoordBufferId);
  glBufferDataARB(GL_ARRAY_BUFFER_ARB, nbVertices * 8, texCoords, GL_STATIC_DRAW_ARB);
}

VBO::~VBO() {
  if (!isVBOSupported)
    return;
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBufferId);
  glDeleteBuffersARB(1, &vertexBufferId);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, texCoordBufferId);
  glDeleteBuffersARB(1, &texCoordBufferId);
}

void VBO::draw() {
  if (!isVBOSupported)
    return;
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, vertexBufferId);
  glVertexPointer(3, GL_FLOAT, 0, NULL);
  glBindBufferARB(GL_ARRAY_BUFFER_ARB, texCoordBufferId);
  glTexCoordPointer(2, GL_FLOAT, 0, NULL);
  glBindTexture(GL_TEXTURE_2D, textureId);
  glDrawArrays(isQuads ? GL_QUADS : GL_TRIANGLES, 0, nbVertices);
  // The texture coordinate buffer stays bound.
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

VBOSet::~VBOSet() {
  for (VBO *vbo : vbos)
    delete vbo;
  vbos.clear();
  geometryByTexture.clear();
}

void VBOSet::addQuad(int textureId, const Float3 vertices[4], const Float2 texCoords[4]) {
  TextureGeometry &group = geometryByTexture[textureId];
  for (int i = 0; i < 4; ++i) {
    group.verticesQuadVect.push_back(vertices[i]);
    group.texCoordQuadVect.push_back(texCoords[i]);
  }
}

void VBOSet::addTriangle(int textureId, const Float3 vertices[3], const Float2 texCoords[3]) {
  TextureGeometry &group = geometryByTexture[textureId];
  for (int i = 0; i < 3; ++i) {
    group.verticesTriVect.push_back(vertices[i]);
    group.texCoordTriVect.push_back(texCoords[i]);
  }
}

void VBOSet::markOverlay(int textureId) {
  geometryByTexture[textureId].isOverlay = true;
}

std::pair<int, int> VBOSet::build() {
  int total = 0;
  // Pass 0 takes the ordinary groups, pass 1 the overlays (shadows), so that
  // overlays darken whatever lies below them whatever their texture id.
  for (int pass = 0; pass < 2; ++pass) {
    bool isOverlayPass = pass == 1;
    for (auto &entry : geometryByTexture) {
      TextureGeometry &group = entry.second;
      if (group.isOverlay != isOverlayPass)
        continue;
      ASSERT(group.verticesQuadVect.size() == group.texCoordQuadVect.size());
      if (!group.verticesQuadVect.empty()) {
        VBO *vbo = new VBO(static_cast<int>(group.verticesQuadVect.size()), entry.first, true,
                           group.verticesQuadVect.data(), group.texCoordQuadVect.data());
        ASSERT(vbo != NULL);
        vbos.push_back(vbo);
      }
      ASSERT(group.verticesTriVect.size() == group.texCoordTriVect.size());
      if (!group.verticesTriVect.empty()) {
        VBO *vbo = new VBO(static_cast<int>(group.verticesTriVect.size()), entry.first, false,
                           group.verticesTriVect.data(), group.texCoordTriVect.data());
        ASSERT(vbo != NULL);
        vbos.push_back(vbo);
      }
      total += static_cast<int>(group.verticesQuadVect.size() + group.verticesTriVect.size());
    }
  }
  nbVertices = total;
  return std::make_pair(static_cast<int>(vbos.size()), total);
}

void VBOSet::draw() {
  for (std::vector<VBO *>::iterator it = vbos.begin(); it != vbos.end(); ++it) {
    ASSERT((*it) != NULL);
    (*it)->draw();
  }
}
