// The planes come from the rows of projection x modelview: a point is inside
// the clip volume when -w <= x, y, z <= w, that is when row 3 plus or minus
// row 0, 1 or 2 gives a value of 0 or more. Every point of a box lies on the
// negative side of a plane when the box's corner farthest along the plane's
// normal does.
#include "ViewFrustum.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

bool isViewFrustumCullingEnabled = true;

namespace {

// A tenth of a cube, plus far more than the renderer's single-precision
// rounding of a plane's value can move a point: 1e-5 is about 170 float
// epsilons of the magnitudes summed into that value. Where the projection's
// rows nearly cancel (the near plane) this margin grows large, which only
// means that plane culls little.
const double smallestMargin = 1.0;
const double relativeMargin = 1e-5;

}  // namespace

ViewFrustum::ViewFrustum(const float projection[16], const float modelview[16]) {
  double clip[4][4];  // [row][column]
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k)
        sum +=
            static_cast<double>(projection[k * 4 + r]) * static_cast<double>(modelview[c * 4 + k]);
      clip[r][c] = sum;
    }
  for (int p = 0; p < 6; ++p) {
    int row = p / 2;
    double sign = p % 2 == 0 ? 1.0 : -1.0;
    double magnitude[2] = {0.0, std::fabs(clip[3][3]) + std::fabs(clip[row][3])};
    for (int c = 0; c < 4; ++c)
      planes[p][c] = clip[3][c] + sign * clip[row][c];
    for (int c = 0; c < 3; ++c)
      magnitude[0] += std::fabs(clip[3][c]) + std::fabs(clip[row][c]);
    double length = std::sqrt(planes[p][0] * planes[p][0] + planes[p][1] * planes[p][1] +
                              planes[p][2] * planes[p][2]);
    isPlaneUsable[p] = std::isfinite(length) && length > 0.0 && std::isfinite(planes[p][3]) &&
                       std::isfinite(magnitude[0]) && std::isfinite(magnitude[1]);
    if (!isPlaneUsable[p])
      continue;
    for (int c = 0; c < 4; ++c)
      planes[p][c] /= length;
    marginPerUnit[p] = relativeMargin * magnitude[0] / length;
    marginBase[p] = smallestMargin + relativeMargin * magnitude[1] / length;
  }
}

ViewFrustum ViewFrustum::fromCurrentMatrices() {
  float projection[16], modelview[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  return ViewFrustum(projection, modelview);
}

bool ViewFrustum::isBoxOutside(const Float3 &low, const Float3 &high) const {
  double largest = 0.0;
  for (unsigned a = 0; a < 3; ++a) {
    if (!std::isfinite(low[a]) || !std::isfinite(high[a]))
      return false;
    if (low[a] > high[a])
      return true;
    largest = std::max(largest, std::max(std::fabs(static_cast<double>(low[a])),
                                         std::fabs(static_cast<double>(high[a]))));
  }
  for (int p = 0; p < 6; ++p) {
    if (!isPlaneUsable[p])
      continue;
    const double *plane = planes[p];
    double farthest = plane[3];
    for (unsigned a = 0; a < 3; ++a)
      farthest += plane[a] * (plane[a] >= 0.0 ? high[a] : low[a]);
    double margin = marginBase[p] + marginPerUnit[p] * largest;
    if (farthest < -margin)
      return true;
  }
  return false;
}
