// The editor's box operations (one region, or split at region borders), the
// cursor step of the movement keys, and the in-game cube creation that a
// script starts and the player steers with the same keys.
#include <algorithm>
#include <cmath>
#include <iostream>

#include "Camera.h"
#include "DeviceManager.h"
#include "Scene3D.h"
#include "Editor3D.h"
#include "FatalReport.h"
#include "IndexedWorld.h"
#include "KeyboardManager.h"
#include "WorldIndexator.h"

namespace {

Float3 toWorld(const Int3 &cube) {
  return Float3(static_cast<float>(cube.x()), static_cast<float>(cube.y()),
                static_cast<float>(cube.z())) *
         10.f;
}

}  // namespace

Int3 Editor3D::moveVector(int key) const {
  if (key == keyCodePageUp)
    return Int3(0, 1, 0);
  if (key == keyCodePageDown)
    return Int3(0, -1, 0);
  if (key < keyCodeRight || key > keyCodeDown)
    return Int3(0, 0, 0);
  // Rows: quadrant; columns: right, left, up, down.
  static const Int3 steps[4][4] = {
      {Int3(-1, 0, 0), Int3(1, 0, 0), Int3(0, 0, 1), Int3(0, 0, -1)},
      {Int3(0, 0, -1), Int3(0, 0, 1), Int3(-1, 0, 0), Int3(1, 0, 0)},
      {Int3(1, 0, 0), Int3(-1, 0, 0), Int3(0, 0, -1), Int3(0, 0, 1)},
      {Int3(0, 0, 1), Int3(0, 0, -1), Int3(1, 0, 0), Int3(-1, 0, 0)},
  };
  if (viewQuadrant < 0 || viewQuadrant > 3)
    ASSERT(false);
  return steps[viewQuadrant][key - keyCodeRight];
}

bool Editor3D::addBox(const Int3 &cornerA, const Int3 &cornerB, int cubeType) {
  Int3 positionMin(std::min(cornerA.x(), cornerB.x()), std::min(cornerA.y(), cornerB.y()),
                   std::min(cornerA.z(), cornerB.z()));
  Int3 positionMax(std::max(cornerA.x(), cornerB.x()), std::max(cornerA.y(), cornerB.y()),
                   std::max(cornerA.z(), cornerB.z()));
  ASSERT(positionMin.x() != positionMax.x() && positionMin.y() != positionMax.y() &&
         positionMin.z() != positionMax.z());
  Float3 size = toWorld(positionMax) - toWorld(positionMin);
  Float3 center = toWorld(positionMin) + size / 2.f;
  return indexedWorld->addCubeZone(size, center, cubeType);
}

bool Editor3D::addBoxAcrossRegions(const Int3 &cornerA, const Int3 &cornerB, int cubeType) {
  Int3 lo(std::min(cornerA.x(), cornerB.x()), std::min(cornerA.y(), cornerB.y()),
          std::min(cornerA.z(), cornerB.z()));
  Int3 hi(std::max(cornerA.x(), cornerB.x()), std::max(cornerA.y(), cornerB.y()),
          std::max(cornerA.z(), cornerB.z()));
  int n = regionCubes();
  Int3 rlo, rhi;
  for (unsigned axis = 0; axis < 3; ++axis) {
    rlo[axis] = static_cast<int>(std::floor(static_cast<float>(lo[axis]) / static_cast<float>(n)));
    rhi[axis] = static_cast<int>(std::floor(static_cast<float>(hi[axis]) / static_cast<float>(n)));
  }
  if (rlo == rhi) {
    if (addBox(hi, lo, cubeType))
      return true;
    std::cout << "Box from " << lo << " to " << hi << " could not be placed in one region"
              << std::endl;
    return false;
  }
  for (int i = rlo.x(); i <= rhi.x(); ++i)
    for (int j = rlo.y(); j <= rhi.y(); ++j)
      for (int k = rlo.z(); k <= rhi.z(); ++k) {
        Int3 region(i, j, k);
        Int3 lower, upper;
        for (unsigned axis = 0; axis < 3; ++axis) {
          lower[axis] = region[axis] == rlo[axis] ? lo[axis] : n * region[axis];
          upper[axis] = region[axis] == rhi[axis] ? hi[axis] : n * (region[axis] + 1);
        }
        if (lower.x() == upper.x() || lower.y() == upper.y() || lower.z() == upper.z())
          continue;
        if (!addBox(upper, lower, cubeType)) {
          std::cout << "Box piece from " << lower << " to " << upper
                    << " could not be placed in one region" << std::endl;
          return false;
        }
      }
  return true;
}

void Editor3D::startBuild(const Float3 &position) {
  if (isBuildingCubes)
    return;
  // Divided by 10 and truncated toward zero (float to int truncates).
  buildAnchor = Int3(static_cast<int>(position.x() / 10.f), static_cast<int>(position.y() / 10.f),
                     static_cast<int>(position.z() / 10.f));
  buildMoving = buildAnchor;
  isBuildValidated = false;
  isBuildingCubes = true;
}

bool Editor3D::manageBuild(Int3 &anchor, Int3 &moving) {
  if (!isBuildingCubes)
    return false;
  anchor = buildAnchor;
  moving = buildMoving;
  if (!isBuildValidated)
    return false;
  isBuildingCubes = false;
  return true;
}

bool Editor3D::onBuildKey(char key) {
  if (!isBuildingCubes)
    return false;
  int code = static_cast<unsigned char>(key);
  buildMoving = buildMoving + moveVector(code);
  if (code == ' ')
    isBuildValidated = true;
  return true;
}

bool Editor3D::onBuildMouse(const MouseEvent &event) {
  if (!isBuildingCubes)
    return false;
  if (event.state == 2 || event.state == 3) {
    scene3D->camera->rotatePitch(-static_cast<float>(event.y - scene3D->lastMousePosition.y()));
    scene3D->camera->rotateHeading(-static_cast<float>(event.x - scene3D->lastMousePosition.x()));
    scene3D->lastMousePosition = Int2(event.x, event.y);
  }
  return true;
}
