// The six planes bounding what the projection and modelview matrices show,
// in the coordinates the modelview matrix takes (world units), and a
// conservative test of whether a box lies wholly outside them. Region drawing
// uses it to skip regions that could not put a single pixel on the screen.
#pragma once

#include "BasicVector.h"

// Regions outside the view frustum are not drawn while this is on; off draws
// every region of the view cube as before (tests compare both pictures).
extern bool isViewFrustumCullingEnabled;

class ViewFrustum {
 public:
  // Matrices column by column, as GL keeps them.
  ViewFrustum(const float projection[16], const float modelview[16]);
  // From the GL_PROJECTION and GL_MODELVIEW matrices now current.
  static ViewFrustum fromCurrentMatrices();

  // True only when the whole box lies clearly outside one of the planes (by
  // more than a tenth of a cube and more than the renderer's rounding of
  // that plane's value), so that nothing inside it survives clipping. A box with low above high on
  // some axis is empty and outside; a box that is not finite never is.
  bool isBoxOutside(const Float3 &low, const Float3 &high) const;

 private:
  // Left, right, bottom, top, near, far: (a, b, c, d) with a x + b y + c z +
  // d >= 0 inside, (a, b, c) of length 1; usable is false for a plane that
  // could not be normalised.
  double planes[6][4];
  bool isPlaneUsable[6];
  // How far outside a box must lie: marginBase + marginPerUnit x its largest
  // coordinate (world units).
  double marginBase[6] = {};
  double marginPerUnit[6] = {};
};
