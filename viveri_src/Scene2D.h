// The 2D scene space: origin at the top-left, y downwards, one unit per
// window pixel unless a fixed scene size is chosen. Holds the orthographic
// projection, pointer conversion and the three 2D drawing primitives.
#pragma once

#include "BasicVector.h"

class Scene2D {
 public:
  // drawRect's last argument.
  static constexpr bool outlined = false;
  static constexpr bool filled = true;

  Scene2D();

  void applyProjection();
  Int2 toScene(const Int2 &point) const;

  void drawTexturedQuad(unsigned int texture, float x, float y, float s0, float t0, float s1,
                        float t1, float width, float height);
  void drawTexturedPolygon(const Int2 corners[4], unsigned int texture);
  void drawRect(const Int2 &a, const Int2 &b, bool filled);

  Int2 windowSize;
  Int2 sceneSize;
  Float2 sceneScale;
  bool isSceneSizeFollowingWindow;
};

extern Scene2D *scene2D;
