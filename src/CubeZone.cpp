// Zone records, face building with the hidden-face probes and the shadow
// overlay, and the collision tests. The box arrays come from the shared box
// primitive of the 3D scene.
#include "CubeZone.h"

#include <cmath>

#include "CubeType.h"
#include "CubeTypeManager.h"
#include "FatalReport.h"
#include "Scene3D.h"
#include "VBO.h"
#include "WorldFile.h"

bool shadowsEnabled = true;

const int shadowFaceOfRenderFace[6] = {3, 2, 5, 4, 0, 1};

namespace {

// Outward offsets of half a unit, per render face.
const Float3 renderFaceOffset[6] = {Float3(0, 0.5f, 0),  Float3(0, -0.5f, 0), Float3(0, 0, 0.5f),
                                    Float3(0, 0, -0.5f), Float3(-0.5f, 0, 0), Float3(0.5f, 0, 0)};

// Shadow triangles float 0.1 units off their face, per shadow face.
const Float3 shadowFaceOffset[6] = {Float3(-0.1f, 0, 0), Float3(0.1f, 0, 0),  Float3(0, -0.1f, 0),
                                    Float3(0, 0.1f, 0),  Float3(0, 0, -0.1f), Float3(0, 0, 0.1f)};

const int64_t shadowPointBytes = 12;

const char *const faceEntryFields[6] = {
    "the point count of shadow face 0", "the point count of shadow face 1",
    "the point count of shadow face 2", "the point count of shadow face 3",
    "the point count of shadow face 4", "the point count of shadow face 5"};

}  // namespace

CubeZone::CubeZone(int32_t cubeTypeIndex, const Float3 &center, const Float3 &size)
    : cubeTypeIndex(cubeTypeIndex), center(center), size(size) {}

CubeZone::CubeZone(FILE *fd) {
  center = readFloat3(fd, "a zone centre");
  size = readFloat3(fd, "a zone size");
  cubeTypeIndex = readInt32(fd, "a zone cube type index");
  reserved = readInt32(fd, "a zone reserved field");
  for (int i = 0; i < 6; ++i) {
    int32_t nbPoints = readInt32(fd, faceEntryFields[i]);
    if (nbPoints == -1) {
      isFaceInShadow[i] = true;
      continue;
    }
    isFaceInShadow[i] = false;
    // Other negative counts read as an empty list.
    if (nbPoints <= 0)
      continue;
    checkCountFits(fd, nbPoints, shadowPointBytes, faceEntryFields[i]);
    shadowTrianglesForEachFace[i].resize(static_cast<size_t>(nbPoints));
    for (int32_t k = 0; k < nbPoints; ++k)
      shadowTrianglesForEachFace[i][k] = readFloat3(fd, "a shadow triangle point");
  }
}

void CubeZone::write(FILE *fd) const {
  writeFloat3(fd, center);
  writeFloat3(fd, size);
  writeInt32(fd, cubeTypeIndex);
  writeInt32(fd, reserved);
  for (int i = 0; i < 6; ++i) {
    if (isFaceInShadow[i]) {
      writeInt32(fd, -1);
      continue;
    }
    writeInt32(fd, static_cast<int32_t>(shadowTrianglesForEachFace[i].size()));
    for (const Float3 &point : shadowTrianglesForEachFace[i])
      writeFloat3(fd, point);
  }
}

namespace {

// Inside the closed box from low to high.
bool isInside(const Float3 &low, const Float3 &high, const Float3 &point) {
  for (unsigned i = 0; i < 3; ++i)
    if (low[i] > point[i] || high[i] < point[i])
      return false;
  return true;
}

}  // namespace

bool CubeZone::isCollidingPoint(const Float3 &point) const {
  int32_t id = cubeTypeIndex;
  ASSERT(id >= 0);
  if (!cubeTypeManager->getCubeType(id)->collidable)
    return false;
  Float3 half = size * 0.5f;
  return isInside(center - half, center + half, point);
}

// The four probes of one face at once: one type lookup for all of them.
bool CubeZone::isSolidBoxHolding(const Float3 probes[4]) const {
  int32_t id = cubeTypeIndex;
  ASSERT(id >= 0);
  if (!cubeTypeManager->getCubeType(id)->collidable)
    return false;
  Float3 half = size * 0.5f;
  Float3 low = center - half, high = center + half;
  for (int k = 0; k < 4; ++k)
    if (!isInside(low, high, probes[k]))
      return false;
  return true;
}

bool CubeZone::intersectSegment(const Float3 &start, const Float3 &end, Float3 &hit) const {
  if (!cubeTypeManager->getCubeType(cubeTypeIndex)->collidable)
    return false;
  Float3 d = end - start;
  d.normalize();
  if (!(end.x() > start.x()))
    return false;
  // The walk advances one unit per step and gives up once it has gone
  // further than the segment is long, or once a step no longer moves the
  // point (far from the origin a unit is below the float resolution).
  float segmentLength = (end - start).length();
  if (!std::isfinite(segmentLength))
    return false;
  Float3 p = start;
  for (int64_t nbSteps = 1; !isCollidingPoint(p); ++nbSteps) {
    Float3 next = p + d;
    if (static_cast<double>(nbSteps) > segmentLength || next == p)
      return false;
    p = next;
  }
  hit = p;
  return true;
}

void CubeZone::buildGeometry(VBOSet &set, const std::vector<CubeZone> &zones) {
  CubeType *type = cubeTypeManager->getCubeType(cubeTypeIndex);
  Float3 scale = size / 10.f;
  if (type->stretchTexture)
    scale = Float3(1, 1, 1);
  if (type->divideTextureCoordinates)
    scale = scale * 0.04f;

  Float3 corners[24];
  Float2 texCoords[24];
  Scene3D::buildBoxGeometry(size * 0.5f, scale, type->randomTextureCoordinates, corners, texCoords);

  type->loadTextures();
  for (int f = 0; f < 6; ++f) {
    Float3 *faceCorners = corners + 4 * f;
    Float2 *faceTexCoords = texCoords + 4 * f;
    for (int k = 0; k < 4; ++k) {
      faceCorners[k] += center;
      faceTexCoords[k].y() = 1.f - faceTexCoords[k].y();
    }
    type->loadTextures();
    int texture = isFaceInShadow[shadowFaceOfRenderFace[f]] ? type->getFaceShadowedTexture(f)
                                                            : type->getFaceTexture(f);

    // A face is hidden when all four probes, just outside its corners,
    // lie inside one other solid zone (the point test of that zone, with
    // the probes computed once per face).
    Float3 probes[4];
    for (int k = 0; k < 4; ++k)
      probes[k] = center + ((faceCorners[k] + renderFaceOffset[f]) - center) * 0.9999f;
    bool isHidden = false;
    for (const CubeZone &other : zones) {
      if (&other == this)
        continue;
      if (other.isSolidBoxHolding(probes)) {
        isHidden = true;
        break;
      }
    }
    if (!isHidden)
      set.addQuad(texture, faceCorners, faceTexCoords);
  }

  if (!shadowsEnabled || cubeTypeIndex >= cubeTypeManager->getNbCubeType())
    return;
  type = cubeTypeManager->getCubeType(cubeTypeIndex);
  type->loadTextures();
  int shadowTexture = type->getShadowTexture();
  static const Float2 shadowTexCoords[3] = {Float2(0, 0), Float2(1, 0), Float2(0, 1)};
  for (int i = 0; i < 6; ++i) {
    const std::vector<Float3> &points = shadowTrianglesForEachFace[i];
    Float3 base = center + shadowFaceOffset[i];
    for (size_t k = 0; k + 2 < points.size(); k += 3) {
      Float3 triangle[3] = {base + points[k], base + points[k + 1], base + points[k + 2]};
      set.addTriangle(shadowTexture, triangle, shadowTexCoords);
    }
  }
  set.markOverlay(shadowTexture);
}
